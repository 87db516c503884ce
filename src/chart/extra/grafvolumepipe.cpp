// The volume pipe series.
#include "chart/extra/grafvolumepipe.h"

#include <algorithm>
#include <cmath>

#include "chart/core/chart.h"
#include "chart/core/grafconst.h"
#include "chart/core/grafutils.h"

namespace {

int Nearest(double v) {
  if (!(std::fabs(v) < 2147483647.0)) return 0;
  return static_cast<int>(std::nearbyint(v));
}

}  // namespace

ZV_CLASS_IMPL(TVolumePipeSeries, TChartSeries)

void TVolumePipeSeries::DeclareProperties(TClassInfo& c) {
  using S = TVolumePipeSeries;
  c.Object<S, TChartBrush>("Brush", &S::Brush, &S::SetBrush);
  c.Integer<S>("ConePercent", &S::ConePercent, &S::SetConePercent, 30);
  c.Object<S, TGrafGradient>("Gradient", &S::Gradient, &S::SetGradient);
  c.Object<S, TChartPen>("LinesPen", &S::LinesPen, &S::SetLinesPen);
  c.Object<S, TChartPen>("Pen", &S::Pen, [](S* s, TChartPen* p) { s->SetPen(p); });
}

TVolumePipeSeries::TVolumePipeSeries(TComponent* AOwner) : TChartSeries(AOwner) {
  auto repaint = [this](TObject*) { RequestRedraw(); };
  FGradient = std::make_unique<TGrafGradient>(repaint);
  FGradient->SetVisible(true);
  FGradient->SetMidColor(clWhite);
  FLinesPen = NewPen();
  FColorEachPoint = true;
  CalcVisibleRange = false;
}

TVolumePipeSeries::~TVolumePipeSeries() {
  if (FParentChart) TChartSeries::SetParentChart(nullptr);
}

void TVolumePipeSeries::PrepareChartDraw() {
  TChartSeries::PrepareChartDraw();
  if (Active() && FVertAxisInUse) FVertAxisInUse->SetVisible(false);
}

void TVolumePipeSeries::ComputeOutline(const TRect& R) {
  const double h = (R.Bottom - R.Top) * (FConePercent / 2) * 0.01;
  Corners[0] = Point(R.Left + 2, R.Top + 2);
  Corners[1] = Point(R.Right - 2, Nearest(R.Top + h));
  Corners[2] = Point(R.Right - 2, Nearest(R.Bottom - h));
  Corners[3] = Point(R.Left + 2, R.Bottom - 2);
  LeftHeight = Corners[3].Y - Corners[0].Y;
  RightHeight = Corners[2].Y - Corners[1].Y;
  PipeWidth = Corners[1].X - Corners[0].X;
  PipeArea = Nearest(PipeWidth * (LeftHeight + RightHeight) * 0.5);
}

int TVolumePipeSeries::SliceBoundary(int Index) {
  double sum = 0, total = 0;
  for (int i = 0; i < PointCount(); ++i) {
    const double v = YValues()->GetValue(i);
    total += std::fabs(v);
    if (i <= Index) sum += v;
  }
  if (total == 0 || !std::isfinite(total)) return 0;
  const double area = PipeArea * (sum / total * 100) * 0.01;
  const double hl = LeftHeight, w = PipeWidth, d = LeftHeight - RightHeight;
  // A straight pipe (equal heights) divides its area linearly.
  if (d == 0) return hl == 0 ? 0 : Nearest(area / hl);
  const double disc = std::max(0.0, hl * hl * w * w - 2 * d * area * w);
  return Nearest((hl * w - std::sqrt(disc)) / d);
}

void TVolumePipeSeries::DrawVisiblePoints() {
  if (!FParentChart) return;
  TCanvas3D* canvas = FParentChart->PanelCanvas();
  const bool is3D = FParentChart->View3D();
  canvas->CanvasBrush()->SetStyle(bsClear);
  if (FConePercent > 100) FConePercent = 100;
  TRect r = FParentChart->ChartArea;
  if (FMarks->Visible() && FirstVisible >= 0) {
    canvas->ApplyFont(FMarks->Font());
    const int h = canvas->TextHeight("W");
    int tallest = 0;
    for (int i = FirstVisible; i <= LastVisible; ++i) {
      const std::string text = BuildMarkText(i);
      const int lines = static_cast<int>(std::count(text.begin(), text.end(), LineSeparator)) + 1;
      tallest = std::max(tallest, h * lines);
    }
    r.Top += tallest;
  }
  ComputeOutline(r);
  Slices.assign(static_cast<size_t>(PointCount()), {});
  int prevX = Corners[0].X, prevDrop = 0;
  if (PipeWidth != 0) {
    for (int i = 0; i < PointCount(); ++i) {
      if (PointIsNull(i)) continue;
      const int boundary = SliceBoundary(i);
      const int x = Corners[0].X + boundary;
      const int drop = Nearest(static_cast<double>(boundary) / PipeWidth * (Corners[1].Y - Corners[0].Y));
      std::vector<TPoint>& slice = Slices[static_cast<size_t>(i)];
      slice = {Point(x, Corners[3].Y - drop), Point(x, Corners[0].Y + drop), Point(prevX, Corners[0].Y + prevDrop),
               Point(prevX, Corners[3].Y - prevDrop)};
      if (FLinesPen->Visible()) canvas->ApplyPen(FLinesPen.get());
      else canvas->CanvasPen()->SetStyle(psClear);
      const TColor c = PointColor(i);
      if (FGradient->Visible()) {
        FGradient->SetStartColor(c);
        FGradient->SetEndColor(c);
        FGradient->DrawInPolygon(canvas, slice, is3D, StartZ);
        canvas->CanvasBrush()->SetStyle(bsClear);
      } else {
        canvas->ApplyBrush(Brush(), c, Brush()->Color());
      }
      if (is3D) canvas->PolygonWithZ(slice, StartZ);
      else canvas->Polygon(slice);
      prevX = x;
      prevDrop = drop;
    }
  }
  if (Pen()->Visible()) {
    canvas->CanvasBrush()->SetStyle(bsClear);
    canvas->ApplyPen(Pen());
    if (is3D) canvas->PolygonWithZ(Corners, StartZ);
    else canvas->Polygon(Corners);
  }
}

void TVolumePipeSeries::DrawPointMark(int Index, const std::string& Text, TSeriesMarkPosition& Position) {
  if (Index >= 0 && Index < static_cast<int>(Slices.size()) && !Slices[static_cast<size_t>(Index)].empty() &&
      FParentChart) {
    const auto& s = Slices[static_cast<size_t>(Index)];
    const int x = (s[0].X + s[2].X) / 2, top = FParentChart->ChartArea.Top;
    Position.LeftTop = Point(x - Position.Width / 2, top);
    Position.ArrowFrom = Position.ArrowTo = Point(x, top + Position.Height);
  }
  TChartSeries::DrawPointMark(Index, Text, Position);
}

int TVolumePipeSeries::IndexAtPoint(int X, int Y) {
  const int base = TChartSeries::IndexAtPoint(X, Y);
  if (base >= 0 || FirstVisible < 0) return base;
  for (int i = FirstVisible; i <= LastVisible && i < static_cast<int>(Slices.size()); ++i) {
    const auto& s = Slices[static_cast<size_t>(i)];
    if (!s.empty() && PointInsidePolygon(Point(X, Y), s)) return i;
  }
  return -1;
}

void TVolumePipeSeries::GenerateRandomPoints(int Count, bool) {
  static const std::string* const labels[] = {&GrafMsgCars, &GrafMsgPhones, &GrafMsgTables, &GrafMsgMonitors,
                                              &GrafMsgLamps};
  for (int i = 0; i < Count; ++i) AddSingleValue(RandomInteger(1000) + 1, *labels[i % 5]);
}
