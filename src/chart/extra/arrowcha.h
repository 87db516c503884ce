// The arrow series: one arrow per point from a start (X0, Y0) to an end
// (X1, Y1), all in axis units; the head size comes from the pointer.
#pragma once

#include <string>

#include "chart/series/series.h"

class TArrowSeries : public TPointSeries {
  ZV_CLASS(TArrowSeries)
public:
  explicit TArrowSeries(TComponent* AOwner = nullptr);

  std::string EditorFormClassName() const override { return "TArrowSeriesEditor"; }
  void DrawPoint(int Index) override;
  double LargestX() override;
  double LargestY() override;
  double SmallestX() override;
  double SmallestY() override;
  int IndexAtPoint(int X, int Y) override;
  bool OffersPointerStyles() override { return false; }
  void GenerateRandomPoints(int Count, bool MainValuesOnly) override;
  void SetupGalleryPreview(bool Enabled) override;
  bool AcceptsSeriesAsSource(TChartSeries* Series) override;

  int AddArrowPoint(double X0, double Y0, double X1, double Y1, const std::string& Label = "",
                    TColor Color = clDefault);

  int ArrowHeight() const { return FPointer->VertSize(); }
  void SetArrowHeight(int Value) { FPointer->SetVertSize(Value); }
  int ArrowWidth() const { return FPointer->HorizSize(); }
  void SetArrowWidth(int Value) { FPointer->SetHorizSize(Value); }
  int ArrowPercent() const { return FArrowPercent; }
  void SetArrowPercent(int Value) { ChangeInteger(FArrowPercent, Value); }
  TChartValueList* EndXValues() const { return FEndXValues; }
  void SetEndXValues(TChartValueList* Value) { ReplaceValueList(FEndXValues, Value); }
  TChartValueList* EndYValues() const { return FEndYValues; }
  void SetEndYValues(TChartValueList* Value) { ReplaceValueList(FEndYValues, Value); }
  TChartValueList* StartXValues() const { return XValues(); }
  void SetStartXValues(TChartValueList* Value) { SetXValues(Value); }
  TChartValueList* StartYValues() const { return YValues(); }
  void SetStartYValues(TChartValueList* Value) { SetYValues(Value); }

  // Start and end of the arrow of a point, in pixels.
  TPoint ArrowStart(int Index) { return Point(PointXPixel(Index), PointYPixel(Index)); }
  TPoint ArrowEnd(int Index);

private:
  TChartValueList* FEndXValues;
  TChartValueList* FEndYValues;
  int FArrowPercent = 50;
};
