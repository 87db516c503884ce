// A uniform cubic B-spline through 2D control points, approximating or
// interpolating them, and the chart function that replaces its source by a
// smooth curve through the source's points.
#pragma once

#include <vector>

#include "chart/core/grengine.h"

struct TSplinePoint {
  double X = 0;
  double Y = 0;
  bool operator==(const TSplinePoint&) const = default;
};

class TBSpline {
public:
  TBSpline() { Reset(); }

  // Points are numbered from 1.
  void AddPoint(double X, double Y);
  TSplinePoint GetPoint(int Index) const { return FPoints.at(static_cast<size_t>(Index - 1)); }
  void SetPoint(int Index, TSplinePoint P);
  // The first and last point are never knuckles, whatever is stored.
  bool GetKnuckle(int Index) const { return FKnuckles.at(static_cast<size_t>(Index - 1)); }
  void SetKnuckle(int Index, bool Value);
  int NoPoints() const { return static_cast<int>(FPoints.size()); }
  bool Interpolated() const { return FInterpolated; }
  void SetInterpolated(bool Value);
  int Fragments() const { return FFragments; }
  // At most 600.
  void SetFragments(int Value);
  int VertexCount();
  // The curve at parameter T in 0..1; (0, 0) with fewer than 2 points.
  TSplinePoint ValueAt(double T);
  void Reset();

  static constexpr int MaxFragments = 600;

private:
  void Invalidate();
  void Rebuild();
  // Solves the interpolation system (tridiagonal: the elimination touches
  // nothing else) for one coordinate.
  void SolveControl(const std::vector<double>& Sub, const std::vector<double>& Diag,
                    const std::vector<double>& Super, bool ForX);

  std::vector<TSplinePoint> FPoints;
  std::vector<bool> FKnuckles;
  int FFragments = 100;
  bool FInterpolated = false;
  bool FBuilt = false;
  // Vertices 1..NoVertices with the phantom ends at 0 and NoVertices + 1.
  std::vector<TSplinePoint> FVertices;
  int FNoVertices = 0;
};

class TSmoothingFunction : public TGrafFunction {
  ZV_CLASS(TSmoothingFunction)
public:
  explicit TSmoothingFunction(TComponent* AOwner = nullptr);
  std::string EditorFormClassName() const override { return "TSmoothFuncEditor"; }
  void ComputeFrom(TChartSeries* Source) override;

  bool Interpolate() const { return FInterpolate; }
  void SetInterpolate(bool Value);
  int Factor() const { return FFactor; }
  // Values below 1 become 1.
  void SetFactor(int Value);

private:
  bool FInterpolate = true;
  int FFactor = 4;
};

void RegisterSmoothingFunctionType();
void UnregisterSmoothingFunctionType();
