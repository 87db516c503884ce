// The bubble series: a point series whose points carry a radius in units of
// the vertical axis, drawn as pointers sized by that radius.
#pragma once

#include <string>

#include "chart/series/series.h"

class TBubbleSeries : public TPointSeries {
  ZV_CLASS(TBubbleSeries)
public:
  explicit TBubbleSeries(TComponent* AOwner = nullptr);

  void Assign(TPersistent* Source) override;
  std::string EditorFormClassName() const override { return "TBubbleSeriesEditor"; }
  void PaintLegendSymbol(int Row, const TRect& R) override;
  void DrawPoint(int Index) override;
  double LargestY() override;
  double LargestZ() override;
  double SmallestY() override;
  double SmallestZ() override;
  bool PointerHit(int Index, int PX, int PY, int X, int Y) override;
  TGrafGradient* GetGradient() override { return FPointer->Gradient(); }
  void PreparePointer(int Index) override;
  void GenerateRandomPoints(int Count, bool MainValuesOnly) override;
  void SetupGalleryPreview(bool Enabled) override;
  bool AcceptsSeriesAsSource(TChartSeries* Series) override;
  int DefaultSampleCount() override { return 8; }

  int AddBubblePoint(double X, double Y, double Radius, const std::string& Label = "", TColor Color = clDefault);

  TChartValueList* RadiusValues() const { return FRadiusValues; }
  void SetRadiusValues(TChartValueList* Value) { ReplaceValueList(FRadiusValues, Value); }
  bool Squared() const { return FSquared; }
  void SetSquared(bool Value) { ChangeBool(FSquared, Value); }

private:
  bool PointerDraws3D() const;
  TChartValueList* FRadiusValues;
  bool FSquared = true;
};
