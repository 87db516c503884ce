// The volume pipe: the points as consecutive slices of one horizontal pipe
// narrowing from left to right, each slice's area its value's share.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "chart/core/grengine.h"

class TVolumePipeSeries : public TChartSeries {
  ZV_CLASS(TVolumePipeSeries)
public:
  explicit TVolumePipeSeries(TComponent* AOwner = nullptr);
  ~TVolumePipeSeries() override;

  std::string EditorFormClassName() const override { return "TVolumePipeSeriesEditor"; }
  void PrepareChartDraw() override;
  void DrawVisiblePoints() override;
  void DrawPointMark(int Index, const std::string& Text, TSeriesMarkPosition& Position) override;
  void DrawPoint(int) override {}
  int IndexAtPoint(int X, int Y) override;
  bool HasAxes() override { return false; }
  void GenerateRandomPoints(int Count, bool MainValuesOnly) override;
  int DefaultSampleCount() override { return 5; }

  int ConePercent() const { return FConePercent; }
  void SetConePercent(int Value) { ChangeInteger(FConePercent, Value); }
  TGrafGradient* Gradient() const { return FGradient.get(); }
  void SetGradient(TGrafGradient* Value) { FGradient->Assign(Value); }
  TChartPen* LinesPen() const { return FLinesPen.get(); }
  void SetLinesPen(TChartPen* Value) { FLinesPen->Assign(Value); }

  // The outline corners P0 (left top) .. P3 (left bottom) of the last paint.
  TPoint Corners[4];
  int LeftHeight = 0;
  int RightHeight = 0;
  int PipeWidth = 0;
  int PipeArea = 0;
  // The x offset from the left edge where the area up to the values of
  // points 0..Index reaches their share of the whole.
  int SliceBoundary(int Index);
  // The slice polygons of the last paint, by point (empty for none).
  std::vector<std::vector<TPoint>> Slices;
  // Computes the outline from a rectangle (the chart's, less the marks).
  void ComputeOutline(const TRect& R);

private:
  int FConePercent = 30;
  std::unique_ptr<TGrafGradient> FGradient;
  std::unique_ptr<TChartPen> FLinesPen;
};
