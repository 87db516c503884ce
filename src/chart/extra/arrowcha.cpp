// The arrow series.
#include "chart/extra/arrowcha.h"

#include <algorithm>
#include <cmath>

#include "chart/core/chart.h"
#include "chart/core/grafconst.h"
#include "chart/core/grafutils.h"

namespace {

int Nearest(double v) { return static_cast<int>(std::nearbyint(v)); }

}  // namespace

ZV_CLASS_IMPL(TArrowSeries, TPointSeries)

void TArrowSeries::DeclareProperties(TClassInfo& c) {
  using S = TArrowSeries;
  c.Integer<S>("ArrowPercent", &S::ArrowPercent, &S::SetArrowPercent, 50);
  c.Object<S, TChartValueList>("EndXValues", &S::EndXValues, &S::SetEndXValues);
  c.Object<S, TChartValueList>("EndYValues", &S::EndYValues, &S::SetEndYValues);
  c.Object<S, TChartValueList>("StartXValues", &S::StartXValues, &S::SetStartXValues);
  c.Object<S, TChartValueList>("StartYValues", &S::StartYValues, &S::SetStartYValues);
}

TArrowSeries::TArrowSeries(TComponent* AOwner) : TPointSeries(AOwner) {
  FEndXValues = new TChartValueList(this, GrafMsgEndX);
  FEndXValues->SetDefaultDateTime(true);
  FEndYValues = new TChartValueList(this, GrafMsgEndY);
  XValues()->SetDefaultDateTime(true);
  CalcVisibleRange = false;
  FPointer->SetInflateMargins(false);
  FMarks->Pen()->SetVisible(false);
  FMarks->SetTransparent(true);
}

int TArrowSeries::AddArrowPoint(double X0, double Y0, double X1, double Y1, const std::string& Label, TColor Color) {
  FEndXValues->TempValue = X1;
  FEndYValues->TempValue = Y1;
  return AddXYPoint(X0, Y0, Label, Color);
}

TPoint TArrowSeries::ArrowEnd(int Index) {
  return Point(HorizPixelOf(FEndXValues->GetValue(Index)), VertPixelOf(FEndYValues->GetValue(Index)));
}

void TArrowSeries::DrawPoint(int Index) {
  if (!FParentChart) return;
  const TColor c = PointColor(Index);
  if (c == clNone) return;
  TCanvas3D* canvas = FParentChart->PanelCanvas();
  const bool is3D = FParentChart->View3D();
  if (is3D) {
    FPointer->SetupCanvas(canvas, c);
  } else {
    TChartPen* pen = FPointer->Pen();
    if (pen->Visible()) canvas->ApplyPenWithColor(pen, c);
    else canvas->CanvasPen()->SetStyle(psClear);
  }
  canvas->Arrow(is3D, ArrowStart(Index), ArrowEnd(Index), ArrowWidth(), ArrowHeight(), MiddleZ, FArrowPercent);
}

double TArrowSeries::LargestX() {
  const double v = TPointSeries::LargestX();
  return PointCount() > 0 ? std::max(v, FEndXValues->MaxValue()) : v;
}

double TArrowSeries::SmallestX() {
  const double v = TPointSeries::SmallestX();
  return PointCount() > 0 ? std::min(v, FEndXValues->MinValue()) : v;
}

double TArrowSeries::LargestY() {
  const double v = TPointSeries::LargestY();
  return PointCount() > 0 ? std::max(v, FEndYValues->MaxValue()) : v;
}

double TArrowSeries::SmallestY() {
  const double v = TPointSeries::SmallestY();
  return PointCount() > 0 ? std::min(v, FEndYValues->MinValue()) : v;
}

int TArrowSeries::IndexAtPoint(int X, int Y) {
  const TPoint m = Point(X, Y);
  for (int i = 0; i < PointCount(); ++i)
    if (PointNearSegmentPoints(m, ArrowStart(i), ArrowEnd(i), Pen()->Width())) return i;
  return -1;
}

void TArrowSeries::GenerateRandomPoints(int Count, bool) {
  double x0, step, y0, span, firstY;
  PrepareSampleRange(Count, x0, step, y0, span, firstY);
  const int w = std::max(1, Nearest(Count * step));
  const int d = std::max(1, Nearest(span));
  for (int i = 0; i < Count; ++i) {
    const double sx = x0 + RandomInteger(w), sy = y0 + RandomInteger(d);
    const double ex = sx + RandomInteger(w), ey = sy + RandomInteger(d);
    AddArrowPoint(sx, sy, ex, ey, "", clDefault);
  }
}

void TArrowSeries::SetupGalleryPreview(bool Enabled) {
  TPointSeries::SetupGalleryPreview(Enabled);
  LoadDemoData(3);
  SetArrowWidth(12);
  SetArrowHeight(12);
  if (!Enabled) SetSeriesColor(clSilver);
}

bool TArrowSeries::AcceptsSeriesAsSource(TChartSeries* Series) {
  return dynamic_cast<TArrowSeries*>(Series) != nullptr && TPointSeries::AcceptsSeriesAsSource(Series);
}
