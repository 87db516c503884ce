// Step histograms.
#include "chart/series/grafhisto.h"

#include <algorithm>

#include "chart/core/chart.h"
#include "chart/core/grafconst.h"

ZV_CLASS_IMPL(THistogramSeries, TCustomLineSeries)

void THistogramSeries::DeclareProperties(TClassInfo& c) {
  using S = THistogramSeries;
  c.Object<S, TChartBrush>("Brush", &S::HistogramBrush, &S::SetHistogramBrush);
  c.Object<S, TChartHiddenPen>("LinesPen", &S::LinesPen, &S::SetLinesPen);
  c.Object<S, TChartPen>("Pen", &S::HistogramPen, &S::SetHistogramPen);
  c.Integer<S>("Transparency", &S::Transparency, &S::SetTransparency, 0);
}

THistogramSeries::THistogramSeries(TComponent* AOwner) : TCustomLineSeries(AOwner) {
  FLinesPen = std::make_unique<TChartHiddenPen>([this](TObject*) { RequestRedraw(); });
}

THistogramSeries::~THistogramSeries() = default;

void THistogramSeries::Assign(TPersistent* Source) {
  if (auto* h = dynamic_cast<THistogramSeries*>(Source)) {
    Pen()->Assign(h->Pen());
    FLinesPen->Assign(h->FLinesPen.get());
    Brush()->Assign(h->Brush());
    FTransparency = h->FTransparency;
  }
  TCustomLineSeries::Assign(Source);
}

int THistogramSeries::HalfWidth() {
  const int bars = FParentChart && FParentChart->MaxPointsPerPage() > 0 ? FParentChart->MaxPointsPerPage()
                                                                         : PointCount();
  TChartAxis* axis = IsVertical() ? GetHorizAxis() : GetVertAxis();
  if (bars == 0 || !axis) return 0;
  return (axis->AxisLength / bars) / 2;
}

void THistogramSeries::GetHorizMargins(int& Left, int& Right) {
  TCustomLineSeries::GetHorizMargins(Left, Right);
  const int pen = Pen()->Visible() ? Pen()->Width() : 0;
  if (IsVertical()) {
    const int h = HalfWidth();
    Left += h;
    Right += h + pen;
  } else {
    Right += pen;
  }
}

void THistogramSeries::GetVertMargins(int& Top, int& Bottom) {
  TCustomLineSeries::GetVertMargins(Top, Bottom);
  const int pen = Pen()->Visible() ? Pen()->Width() : 0;
  if (IsVertical()) {
    Top += pen;
  } else {
    const int h = HalfWidth();
    Top += h + pen;
    Bottom += h;
  }
}

void THistogramSeries::FindVisibleRange() {
  TCustomLineSeries::FindVisibleRange();
  // One more bar at each side, so the bars at the edges connect.
  if (FirstVisible > 0) --FirstVisible;
  if (LastVisible >= 0 && LastVisible < PointCount() - 1) ++LastVisible;
}

TRect THistogramSeries::BarBounds(int Index) {
  const int bars = FParentChart && FParentChart->MaxPointsPerPage() > 0 ? FParentChart->MaxPointsPerPage()
                                                                         : PointCount();
  if (bars == 0) return TRect(0, 0, 0, 0);
  const int h = HalfWidth();
  const int x = PointXPixel(Index);
  TRect r;
  if (Index == FirstDrawnIndex()) {
    r.Left = x - h + 1;
    r.Right = x + h + 1;
    if (!DrawsAscending()) std::swap(r.Left, r.Right);
  } else {
    r.Left = FPreviousEdge;
    r.Right = DrawsAscending() ? x + h + 1 : x - h - 1;
  }
  FPreviousEdge = r.Right - 1;
  r.Top = PointYPixel(Index);
  TChartAxis* axis = GetVertAxis();
  r.Bottom = axis->Inverted() ? axis->StartPixel : axis->EndPixel;
  return r;
}

void THistogramSeries::DrawPoint(int Index) {
  if (!FParentChart) return;
  TCanvas3D* canvas = FParentChart->PanelCanvas();
  const bool is3D = FParentChart->View3D();
  const bool vertical = IsVertical();
  TRect r = BarBounds(Index);
  canvas->CanvasPen()->SetStyle(psClear);
  if (Brush()->Style() != bsClear) {
    canvas->ApplyBrush(Brush(), PointColor(Index));
    TRect fill = r;
    if (vertical && GetVertAxis()->Inverted()) ++fill.Top;
    TRect normal(std::min(fill.Left, fill.Right), std::min(fill.Top, fill.Bottom), std::max(fill.Left, fill.Right),
                 std::max(fill.Top, fill.Bottom));
    std::unique_ptr<TGrafBlend> blend;
    if (FTransparency > 0)
      blend = canvas->BeginBlending(is3D ? canvas->ProjectRectAtDepth(normal, MiddleZ) : normal, FTransparency);
    if (is3D) {
      TRect z = normal;
      --z.Right;
      canvas->RectangleWithZ(z, MiddleZ);
    } else {
      canvas->FillRect(normal);
    }
    if (blend) canvas->EndBlending(std::move(blend));
  }
  const bool first = Index == FirstDrawnIndex();
  const bool last = Index == (DrawsAscending() ? LastVisible : FirstVisible);
  auto line = [&](int x0, int y0, int x1, int y1) {
    if (!vertical) {
      std::swap(x0, y0);
      std::swap(x1, y1);
    }
    if (is3D) canvas->LineAtDepth(x0, y0, x1, y1, MiddleZ);
    else canvas->LineFromTo(x0, y0, x1, y1);
  };
  // Along the position axis (a) and the value axis (v) of the bar.
  const int a0 = vertical ? r.Left : r.Bottom, a1 = vertical ? r.Right : r.Top;
  const int vTop = vertical ? r.Top : r.Right, vBase = vertical ? r.Bottom : r.Left;
  if (Pen()->Visible()) {
    canvas->ApplyPenWithColor(Pen(), Pen()->Color());
    canvas->SetBackgroundMode(TRANSPARENT);
    if (first) line(a0, vBase, a0, vTop);
    else if (Index > 0) line(a0, vTop, a0, vertical ? PointYPixel(Index - 1) : PointXPixel(Index - 1));
    line(a0, vTop, a1 + (vertical ? -1 : 1), vTop);
    if (last) line(a1 + (vertical ? -1 : 1), vTop, a1 + (vertical ? -1 : 1), vBase);
  }
  if (FLinesPen->Visible() && Index >= 1 && !first) {
    canvas->ApplyPenWithColor(FLinesPen.get(), FLinesPen->Color());
    const int previous = vertical ? PointYPixel(Index - 1) : PointXPixel(Index - 1);
    const bool inverted = (vertical ? GetVertAxis() : GetHorizAxis())->Inverted();
    int end = vertical ? (inverted ? std::min(vTop, previous) : std::max(vTop, previous))
                       : (inverted ? std::max(vTop, previous) : std::min(vTop, previous));
    if (!Pen()->Visible()) end += (vertical ? -1 : 1) * (inverted ? -1 : 1);
    line(a0, vBase, a0, end);
  }
}

int THistogramSeries::IndexAtPoint(int X, int Y) {
  if (FirstVisible < 0 || !FParentChart) return -1;
  int x = X, y = Y;
  FParentChart->PanelCanvas()->UnprojectPoint(x, y, MiddleZ);
  const int first = FirstDrawnIndex();
  const int step = DrawsAscending() ? 1 : -1;
  const int end = DrawsAscending() ? LastVisible : FirstVisible;
  for (int i = first;; i += step) {
    const TRect r = BarBounds(i);
    const TRect n(std::min(r.Left, r.Right), std::min(r.Top, r.Bottom), std::max(r.Left, r.Right),
                  std::max(r.Top, r.Bottom));
    if (n.Contains(TPoint{x, y})) return i;
    if (i == end) break;
  }
  return -1;
}

void THistogramSeries::EnumGalleryStyles(const std::function<void(const std::string&)>& Proc) {
  TCustomLineSeries::EnumGalleryStyles(Proc);
  for (const char* s : {"Hollow", "No Border", "Lines", "Transparency"}) Proc(s);
}

void THistogramSeries::ApplyGalleryStyle(TChartSeries* Series, int Index) {
  auto* h = dynamic_cast<THistogramSeries*>(Series);
  if (!h) return;
  switch (Index) {
    case 0: h->Brush()->SetStyle(bsClear); break;
    case 1: h->Pen()->SetVisible(false); break;
    case 2: h->LinesPen()->SetVisible(true); break;
    case 3: h->SetTransparency(30); break;
    default: break;
  }
}

ZV_CLASS_IMPL_NOPROPS(THorizHistogramSeries, THistogramSeries)

THorizHistogramSeries::THorizHistogramSeries(TComponent* AOwner) : THistogramSeries(AOwner) {
  SetHorizontalOrientation();
  FXValues->SetOrder(loNone);
  FYValues->SetOrder(loAscending);
}

TRect THorizHistogramSeries::BarBounds(int Index) {
  const int bars = FParentChart && FParentChart->MaxPointsPerPage() > 0 ? FParentChart->MaxPointsPerPage()
                                                                         : PointCount();
  if (bars == 0) return TRect(0, 0, 0, 0);
  const int h = HalfWidth();
  const int y = PointYPixel(Index);
  TRect r;
  if (Index == FirstDrawnIndex()) {
    r.Top = y - h + 1;
    r.Bottom = y + h + 1;
  } else {
    r.Bottom = FPreviousEdge;
    r.Top = y - h;
  }
  FPreviousEdge = r.Top + 1;
  r.Right = PointXPixel(Index) + 1;
  TChartAxis* axis = GetHorizAxis();
  r.Left = axis->Inverted() ? axis->EndPixel : axis->StartPixel;
  return r;
}

void RegisterHistogramSeriesTypes() {
  static const bool done = [] {
    RegisterSeriesType(&THistogramSeries::StaticClass(), &GrafMsgExHistogram, &GrafMsgExStats, 1);
    RegisterSeriesType(&THorizHistogramSeries::StaticClass(), &GrafMsgExHorizontalHistogram, &GrafMsgExStats, 1);
    return true;
  }();
  (void)done;
}

void UnregisterHistogramSeriesTypes() {
  UnregisterSeriesTypes({&THistogramSeries::StaticClass(), &THorizHistogramSeries::StaticClass()});
}
