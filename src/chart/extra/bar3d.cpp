// The bar 3D series.
#include "chart/extra/bar3d.h"

#include <algorithm>
#include <cmath>

#include "chart/core/grafconst.h"

ZV_CLASS_IMPL(TBar3DSeries, TBarSeries)

void TBar3DSeries::DeclareProperties(TClassInfo& c) {
  using S = TBar3DSeries;
  c.Object<S, TChartValueList>("OffsetValues", &S::OffsetValues, &S::SetOffsetValues);
}

TBar3DSeries::TBar3DSeries(TComponent* AOwner) : TBarSeries(AOwner) {
  FOffsetValues = new TChartValueList(this, GrafMsgExOffset);
}

int TBar3DSeries::AddBar3D(double X, double Y, double Offset, const std::string& Label, TColor Color) {
  FOffsetValues->TempValue = Offset;
  return AddXYPoint(X, Y, Label, Color);
}

double TBar3DSeries::StackedStart(int Index, bool) { return FOffsetValues->GetValue(Index); }

int TBar3DSeries::PointYPixel(int Index) {
  if (FMultiBar == mbNone || FMultiBar == mbSide || FMultiBar == mbSideAll)
    return ValueAxisPixelOf(FOffsetValues->GetValue(Index) + MainValueAt(Index));
  return TBarSeries::PointYPixel(Index);
}

// The bars span from their offset to offset plus value: the range covers
// both ends of every bar (the offsets alone would cut the tops off).
double TBar3DSeries::LargestY() {
  double r = TBarSeries::LargestY();
  if (FMultiBar != mbNone && FMultiBar != mbSide) return r;
  for (int i = 0; i < PointCount(); ++i) {
    const double o = FOffsetValues->GetValue(i);
    r = std::max({r, o, o + YValueAt(i)});
  }
  return r;
}

double TBar3DSeries::SmallestY() {
  double r = TBarSeries::SmallestY();
  if (FMultiBar != mbNone && FMultiBar != mbSide) return r;
  for (int i = 0; i < PointCount(); ++i) {
    const double o = FOffsetValues->GetValue(i);
    r = std::min({r, o, o + YValueAt(i)});
  }
  return r;
}

void TBar3DSeries::GenerateRandomPoints(int Count, bool) {
  double x, step, minY, span, firstY;
  PrepareSampleRange(Count, x, step, minY, span, firstY);
  const int range = std::max(1, static_cast<int>(std::nearbyint(span)));
  for (int i = 0; i < Count; ++i) {
    AddBar3D(x, std::abs(RandomInteger(range)) + 10, std::fabs(span / (RandomInteger(5) + 1)), "", clDefault);
    x += step;
  }
}
