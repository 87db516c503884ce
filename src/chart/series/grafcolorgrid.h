// The colour grid series: a grid series shown flat, X along the horizontal
// axis and Z along the vertical one, each cell in its point's colour.
#pragma once

#include <memory>

#include "chart/series/grafsurfa.h"

class TBitmap;
class TPicture;

class TColorGridSeries : public TCustom3DGridSeries {
  ZV_CLASS(TColorGridSeries)
public:
  explicit TColorGridSeries(TComponent* AOwner = nullptr);
  ~TColorGridSeries() override;

  void Assign(TPersistent* Source) override;
  std::string EditorFormClassName() const override { return "TColorGridEditor"; }
  void EnumGalleryStyles(const std::function<void(const std::string&)>& Proc) override;
  void DrawVisiblePoints() override;
  void DrawPointMark(int Index, const std::string& Text, TSeriesMarkPosition& Position) override;
  void ApplyGalleryStyle(TChartSeries* Series, int Index) override;
  double LargestX() override;
  double LargestY() override { return LargestZ(); }
  double LargestZ() override;
  double SmallestX() override;
  double SmallestY() override { return SmallestZ(); }
  double SmallestZ() override;
  int IndexAtPoint(int X, int Y) override;
  void ApplyGallery3D(bool Value) override;
  void SetupGalleryPreview(bool Enabled) override;

  // One point per pixel: X the column from 1, Z the row from 1 (top row
  // first), Y and the colour the pixel's colour. A picture of more pixels
  // than a grid may hold raises EInvalidGraphic and changes nothing.
  void LoadBitmap(TPicture* Picture);

  // Cell edges in value units.
  double LowEdge(double V) const { return FCenteredPoints ? V - 0.5 : V; }
  double HighEdge(double V) const;

  // The cell image of the last paint of a regular grid: 32 bits with alpha,
  // only missing and null cells transparent, row 1 at the bottom.
  TBitmap* CellBitmap() const { return FBitmap.get(); }

  bool CenteredPoints() const { return FCenteredPoints; }
  void SetCenteredPoints(bool Value) { ChangeBool(FCenteredPoints, Value); }
  int XGridEvery() const { return FXGridEvery; }
  void SetXGridEvery(int Value) { ChangeInteger(FXGridEvery, std::max(1, Value)); }
  int ZGridEvery() const { return FZGridEvery; }
  void SetZGridEvery(int Value) { ChangeInteger(FZGridEvery, std::max(1, Value)); }
  bool SmoothBitmap() const { return FSmoothBitmap; }
  void SetSmoothBitmap(bool Value) { ChangeBool(FSmoothBitmap, Value); }
  TChartHiddenPen* Frame() const { return FFrame.get(); }
  void SetFrame(TChartPen* Value) { FFrame->Assign(Value); }

protected:
  // Value extents of the visible cells: false when nothing is visible.
  bool VisibleExtent(double& X0, double& X1, double& Z0, double& Z1);
  TRect ValueRectPixels(double X0, double X1, double Z0, double Z1);
  void DrawRegularGrid(double X0, double X1, double Z0, double Z1);
  void DrawIrregularGrid();
  void DrawGridLines(const TRect& R);
  void DrawBitmapAt(const TRect& R, TBitmap* Bitmap);
  double GridSmallest(TChartValueList* List);

  bool FCenteredPoints = false;
  int FXGridEvery = 1;
  int FZGridEvery = 1;
  bool FSmoothBitmap = false;
  std::unique_ptr<TChartHiddenPen> FFrame;
  std::unique_ptr<TBitmap> FBitmap;
};

