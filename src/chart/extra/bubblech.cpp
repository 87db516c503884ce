// The bubble series.
#include "chart/extra/bubblech.h"

#include <algorithm>
#include <cmath>

#include "chart/core/chart.h"
#include "chart/core/grafconst.h"
#include "chart/core/grafutils.h"

namespace {

int Nearest(double v) { return static_cast<int>(std::nearbyint(v)); }

}  // namespace

ZV_CLASS_IMPL(TBubbleSeries, TPointSeries)

void TBubbleSeries::DeclareProperties(TClassInfo& c) {
  using S = TBubbleSeries;
  c.Object<S, TChartValueList>("RadiusValues", &S::RadiusValues, &S::SetRadiusValues);
  c.Boolean<S>("Squared", &S::Squared, &S::SetSquared, true);
}

TBubbleSeries::TBubbleSeries(TComponent* AOwner) : TPointSeries(AOwner) {
  FRadiusValues = new TChartValueList(this, GrafMsgRadius);
  FPointer->SetInflateMargins(false);
  FPointer->SetStyle(psCircle);
  FPointer->SizeAdjustable = false;
  FMarks->Pen()->SetVisible(false);
  FMarks->SetTransparent(true);
  FColorEachPoint = true;
}

void TBubbleSeries::Assign(TPersistent* Source) {
  if (auto* s = dynamic_cast<TBubbleSeries*>(Source)) FSquared = s->FSquared;
  TPointSeries::Assign(Source);
}

int TBubbleSeries::AddBubblePoint(double X, double Y, double Radius, const std::string& Label, TColor Color) {
  FRadiusValues->TempValue = Radius;
  return AddXYPoint(X, Y, Label, Color);
}

void TBubbleSeries::PreparePointer(int Index) {
  const double r = FRadiusValues->GetValue(Index);
  const int v = FVertAxisInUse ? FVertAxisInUse->SizeToPixels(r) : 0;
  const int h = FSquared ? v : (FHorizAxisInUse ? FHorizAxisInUse->SizeToPixels(r) : 0);
  FPointer->StoreVertSize(v);
  FPointer->StoreHorizSize(h);
}

void TBubbleSeries::DrawPoint(int Index) {
  if (!FParentChart || !FPointer->Visible()) return;
  const TColor c = PointColor(Index);
  if (c == clNone) return;
  PreparePointer(Index);
  PaintPointer(PointXPixel(Index), PointYPixel(Index), Index, c);
}

void TBubbleSeries::PaintLegendSymbol(int Row, const TRect& R) {
  const int side = std::min(R.Right - R.Left, R.Bottom - R.Top);
  FPointer->StoreHorizSize(side);
  FPointer->StoreVertSize(side);
  TPointSeries::PaintLegendSymbol(Row, R);
}

double TBubbleSeries::LargestY() {
  double result = TPointSeries::LargestY();
  for (int i = 0; i < PointCount(); ++i) result = std::max(result, YValueAt(i) + FRadiusValues->GetValue(i));
  return result;
}

double TBubbleSeries::SmallestY() {
  double result = TPointSeries::SmallestY();
  for (int i = 0; i < PointCount(); ++i) result = std::min(result, YValueAt(i) - FRadiusValues->GetValue(i));
  return result;
}

bool TBubbleSeries::PointerDraws3D() const {
  return FPointer->Draw3D() && FParentChart && FParentChart->View3D();
}

double TBubbleSeries::LargestZ() {
  if (PointerDraws3D() && PointCount() > 0) return FRadiusValues->MaxValue();
  return TPointSeries::LargestZ();
}

double TBubbleSeries::SmallestZ() {
  if (PointerDraws3D() && PointCount() > 0) return -FRadiusValues->MaxValue();
  return TPointSeries::SmallestZ();
}

bool TBubbleSeries::PointerHit(int Index, int PX, int PY, int X, int Y) {
  PreparePointer(Index);
  const int h = FPointer->HorizSize(), v = FPointer->VertSize();
  const TPoint m = Point(X, Y);
  const TSeriesPointerStyle style = PointerStyleAt(Index);
  switch (style) {
    case psCircle: return PointInsideEllipse(m, PX - h, PY - v, PX + h, PY + v);
    case psTriangle: return PointInsideUprightTriangle(m, PX - h, PX + h, PY + v, PY - v);
    case psDownTriangle: return PointInsideUprightTriangle(m, PX - h, PX + h, PY - v, PY + v);
    case psDiamond: {
      const TPoint diamond[4] = {{PX, PY - v}, {PX + h, PY}, {PX, PY + v}, {PX - h, PY}};
      return PointInsidePolygon(m, diamond, 3);
    }
    case psLeftTriangle: return PointInsideSidewaysTriangle(m, PY - v, PY + v, PX + h, PX - h);
    case psRightTriangle: return PointInsideSidewaysTriangle(m, PY - v, PY + v, PX - h, PX + h);
    case psNothing: return false;
    default: return std::abs(X - PX) < h && std::abs(Y - PY) < v;
  }
}

void TBubbleSeries::GenerateRandomPoints(int Count, bool) {
  double x, step, minY, span, firstY;
  PrepareSampleRange(Count, x, step, minY, span, firstY);
  const int range = std::max(1, Nearest(span));
  for (int i = 0; i < Count; ++i) {
    const double y = RandomInteger(range);
    const double radius = Nearest(span / (RandomInteger(15) + 10)) + span / 15;
    AddBubblePoint(x, y, radius, "", clDefault);
    x += step;
  }
}

void TBubbleSeries::SetupGalleryPreview(bool Enabled) {
  TPointSeries::SetupGalleryPreview(Enabled);
  FPointer->Gradient()->SetVisible(true);
}

bool TBubbleSeries::AcceptsSeriesAsSource(TChartSeries* Series) {
  return dynamic_cast<TBubbleSeries*>(Series) != nullptr && TPointSeries::AcceptsSeriesAsSource(Series);
}
