// The pyramid series.
#include "chart/extra/grafpyramid.h"

#include <algorithm>
#include <cmath>

#include "chart/core/chart.h"

namespace {

int Nearest(double v) { return static_cast<int>(std::nearbyint(v)); }

}  // namespace

ZV_CLASS_IMPL(TPyramidSeries, TChartSeries)

void TPyramidSeries::DeclareProperties(TClassInfo& c) {
  using S = TPyramidSeries;
  c.Object<S, TChartBrush>("Brush", &S::Brush, &S::SetBrush);
  c.Object<S, TChartPen>("Pen", &S::Pen, [](S* s, TChartPen* p) { s->SetPen(p); });
  c.Integer<S>("SizePercent", &S::SizePercent, &S::SetSizePercent, 50);
}

TPyramidSeries::TPyramidSeries(TComponent* AOwner) : TChartSeries(AOwner) {
  FColorEachPoint = true;
  CalcVisibleRange = false;
}

TPyramidSeries::~TPyramidSeries() {
  if (FParentChart) TChartSeries::SetParentChart(nullptr);
}

void TPyramidSeries::GetHorizMargins(int& Left, int& Right) {
  Left = 20;
  Right = 20;
}

double TPyramidSeries::LargestX() {
  return FParentChart ? std::max(0, FParentChart->SeriesList()->IndexOf(this)) : 0;
}

bool TPyramidSeries::DrawsAscending() { return !(FVertAxisInUse && FVertAxisInUse->Inverted()); }

bool TPyramidSeries::LayerGeometry(int Index, TLayer& Layer) {
  double total = 0, below = 0;
  for (int i = 0; i < PointCount(); ++i) {
    total += YValues()->GetValue(i);
    if (i < Index) below += YValues()->GetValue(i);
  }
  // A pyramid of nothing has no layers.
  if (total == 0 || !std::isfinite(total) || !FHorizAxisInUse) return false;
  const double value = YValues()->GetValue(Index);
  const int depth = EndZ - StartZ;
  const int w = Nearest(FHorizAxisInUse->AxisLength * FSizePercent * 0.005);
  const int c = HorizPixelOf(LargestX());
  const double b = 100 - below * 100 / total;
  Layer.BottomHalfWidth = Nearest(w * b * 0.01);
  Layer.BottomDepthInset = 100 - b > 0 ? Nearest((100 - b) * depth * 0.005) : 0;
  const double t = 100 - (below + value) * 100 / total;
  Layer.TopHalfWidth = Nearest(w * t * 0.01);
  Layer.TopHalfDepth = t >= 100 ? 0 : Nearest(t * depth * 0.005);
  Layer.Rect = Rect(c - Layer.BottomHalfWidth, VertPixelOf(below + value), c + Layer.BottomHalfWidth, VertPixelOf(below));
  return true;
}

void TPyramidSeries::DrawPoint(int Index) {
  if (!FParentChart || PointIsNull(Index)) return;
  TLayer layer;
  if (!LayerGeometry(Index, layer)) return;
  TCanvas3D* canvas = FParentChart->PanelCanvas();
  canvas->ApplyBrush(Brush(), PointColor(Index), Brush()->Color());
  if (Pen()->Visible()) canvas->ApplyPen(Pen());
  else canvas->CanvasPen()->SetStyle(psClear);
  canvas->TruncatedPyramid(layer.Rect, StartZ + layer.BottomDepthInset, EndZ - layer.BottomDepthInset,
                           layer.TopHalfWidth, layer.TopHalfDepth);
}

void TPyramidSeries::DrawPointMark(int Index, const std::string& Text, TSeriesMarkPosition& Position) {
  double sum = 0;
  for (int i = 0; i <= Index && i < PointCount(); ++i) sum += YValues()->GetValue(i);
  Position.LeftTop.Y = VertPixelOf(sum);
  TChartSeries::DrawPointMark(Index, Text, Position);
}

int TPyramidSeries::IndexAtPoint(int X, int Y) {
  TLayer layer;
  for (int i = 0; i < PointCount(); ++i) {
    if (PointIsNull(i) || !LayerGeometry(i, layer)) continue;
    const TRect r = NormalizeRect(layer.Rect);
    if (X >= r.Left && X <= r.Right && Y >= r.Top && Y <= r.Bottom) return i;
  }
  return -1;
}
