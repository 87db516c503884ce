// A surface through scattered points: the points are triangulated in the
// X-Z plane and each triangle is drawn at its points' X, Y, Z positions.
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <vector>

#include "chart/series/grafsurfa.h"

class TCustomTriSurfaceSeries : public TCustom3DPaletteSeries {
  ZV_CLASS(TCustomTriSurfaceSeries)
public:
  // Vertices are series point indexes; numbering of triangles starts at 1.
  struct TTriangle {
    std::array<int, 3> P{};
  };
  struct THullEdge {
    int Triangle = 0;
    int A = 0;
    int B = 0;
  };

  explicit TCustomTriSurfaceSeries(TComponent* AOwner = nullptr);
  ~TCustomTriSurfaceSeries() override;

  void Assign(TPersistent* Source) override;
  std::string EditorFormClassName() const override { return "TTriSurfaceSeriesEditor"; }
  void EnumGalleryStyles(const std::function<void(const std::string&)>& Proc) override;
  void BeginDrawValues() override;
  void DrawVisiblePoints() override;
  void DrawPointMark(int Index, const std::string& Text, TSeriesMarkPosition& Position) override;
  void ApplyGalleryStyle(TChartSeries* Series, int Index) override;
  void RemoveAllPoints() override;
  // The vertex nearest to the point of the triangle under (X, Y), or -1.
  int IndexAtPoint(int X, int Y) override;
  void GenerateRandomPoints(int Count, bool MainValuesOnly) override;
  int DefaultSampleCount() override { return 100; }
  void SetupGalleryPreview(bool Enabled) override;

  // Above this many points the quadratic steps would stall a paint: the
  // series then draws no triangles and tells OnTooManyPoints once.
  static constexpr int MaxTriangulatedPoints = 20000;
  std::function<void(TCustomTriSurfaceSeries* Sender, int Count)> OnTooManyPoints;

  // Rebuilds the triangles unless the X and Z values are those of the last
  // build. Works on a private copy: the series' points are never touched.
  void Triangulate();
  // The number (from 1) of the triangle under the screen point, or -1.
  int TriangleAtPoint(int X, int Y);
  const std::vector<TTriangle>& Triangles() const { return FTriangles; }
  int TriangleCount() const { return static_cast<int>(FTriangles.size()); }
  const std::vector<THullEdge>& Hull() const { return FHull; }
  bool Triangulated() const { return FTriangulated; }

  bool HideTriangles() const { return FHideTriangles; }
  void SetHideTriangles(bool Value) { ChangeBool(FHideTriangles, Value); }
  int Transparency() const { return FTransparency; }
  void SetTransparency(int Value) { ChangeInteger(FTransparency, std::clamp(Value, 0, 100)); }
  // Offered on every platform here; drawn with the plain brush colour.
  bool FastBrush() const { return FFastBrush; }
  void SetFastBrush(bool Value) { FFastBrush = Value; }
  TChartHiddenPen* Border() const { return FBorder.get(); }
  void SetBorder(TChartPen* Value) { FBorder->Assign(Value); }
  bool ImproveTriangles() const { return FImproveTriangles; }
  void SetImproveTriangles(bool Value) {
    FImproveTriangles = Value;
    FTriangulated = false;
  }

  // Random integers below a range for sample points; the core's generator
  // unless a caller (a test) puts a seeded one here.
  std::function<int(int Range)> SampleRandom;

protected:
  struct TSortedTriangle {
    int Number = 0;
    TColor Color = 0;
    std::array<TPoint, 3> Screen{};
    double Key = 0;
  };
  int NextRandom(int Range) { return SampleRandom ? SampleRandom(Range) : RandomInteger(Range); }
  std::array<TPoint3D, 3> TrianglePixels(const TTriangle& T);
  void DrawTrianglesDirect();
  void BuildSortedTriangles();
  void DrawSortedTriangles();
  void DrawBorder();

  bool FHideTriangles = true;
  int FTransparency = 0;
  bool FFastBrush = false;
  bool FImproveTriangles = true;
  std::unique_ptr<TChartHiddenPen> FBorder;

  std::vector<TTriangle> FTriangles;
  std::vector<THullEdge> FHull;
  bool FTriangulated = false;
  // The X and Z values of the last build, point by point.
  std::vector<double> FBuiltXZ;
  bool FTooManyReported = false;
  bool FSkipped = false;
  // The depth-sorted list of the last sorted paint, in drawing order.
  std::vector<TSortedTriangle> FSorted;
  bool FSortedValid = false;
  std::unique_ptr<TGrafBlend> FBlend;
};

class TTriSurfaceSeries : public TCustomTriSurfaceSeries {
  ZV_CLASS(TTriSurfaceSeries)
public:
  explicit TTriSurfaceSeries(TComponent* AOwner = nullptr) : TCustomTriSurfaceSeries(AOwner) {}
};

// A triangulation of points in a plane, kept apart from the series so that
// it can be tested and reused on plain coordinates. Coinciding points after
// the first are left out; all-collinear input gives no triangle.
struct TPlaneTriangulation {
  std::vector<std::array<int, 3>> Triangles;  // indexes into the input, counter-clockwise
  std::vector<std::array<int, 3>> Hull;       // (triangle from 0, first point, second point)
};
// Points are numbered as given; Order lists the input indexes in the order
// that decides which of two coinciding points is kept (empty: as given).
TPlaneTriangulation TriangulatePlane(const std::vector<double>& X, const std::vector<double>& Z, bool Improve,
                                     const std::vector<int>& Order = {});

void RegisterTriSurfaceSeriesTypes();
void UnregisterTriSurfaceSeriesTypes();
