// The bar 3D series: bars that start at an offset of their own instead of a
// common origin.
#pragma once

#include <string>

#include "chart/series/series_bar.h"

class TBar3DSeries : public TBarSeries {
  ZV_CLASS(TBar3DSeries)
public:
  explicit TBar3DSeries(TComponent* AOwner = nullptr);

  double StackedStart(int Index, bool All) override;
  // The bar's end: its offset plus its value.
  int PointYPixel(int Index) override;
  double LargestY() override;
  double SmallestY() override;
  bool OffersStackStyles() override { return false; }
  void GenerateRandomPoints(int Count, bool MainValuesOnly) override;

  int AddBar3D(double X, double Y, double Offset, const std::string& Label = "", TColor Color = clDefault);

  TChartValueList* OffsetValues() const { return FOffsetValues; }
  void SetOffsetValues(TChartValueList* Value) { ReplaceValueList(FOffsetValues, Value); }

private:
  TChartValueList* FOffsetValues;
};
