// The fast line series: one pen per pass, positions straight from the axes,
// no per-point colours, pointers or depth, points sharing a pixel skipped.
#include <algorithm>
#include <vector>

#include "chart/core/grafconst.h"
#include "chart/core/grafutils.h"
#include "chart/series/series.h"

ZV_CLASS_IMPL(TFastLineSeries, TCustomLineSeries)

void TFastLineSeries::DeclareProperties(TClassInfo& c) {
  using S = TFastLineSeries;
  c.Boolean<S>("AutoRepaint", &S::AutoRepaint, &S::SetAutoRepaint, true);
  c.Boolean<S>("DrawAllPoints", &S::DrawAllPoints, &S::SetDrawAllPoints, true);
  c.Boolean<S>("IgnoreNulls", &S::IgnoreNulls, &S::SetIgnoreNulls, true);
  c.Boolean<S>("InvertedStairs", &S::InvertedStairs, &S::SetInvertedStairs, false);
  c.Boolean<S>("Stairs", &S::Stairs, &S::SetStairs, false);
  c.Object<S, TChartPen>("LinePen", &S::LinePen, &S::SetLinePen);
}

TFastLineSeries::TFastLineSeries(TComponent* AOwner) : TCustomLineSeries(AOwner) {
  SinglePointResults = false;
  IncludePointAfterRange = true;
}

void TFastLineSeries::Assign(TPersistent* Source) {
  if (auto* s = dynamic_cast<TFastLineSeries*>(Source)) {
    FAutoRepaint = s->FAutoRepaint;
    FDrawAllPoints = s->FDrawAllPoints;
    FIgnoreNulls = s->FIgnoreNulls;
    FInvertedStairs = s->FInvertedStairs;
    FStairs = s->FStairs;
  }
  TCustomLineSeries::Assign(Source);
}

void TFastLineSeries::SetSeriesColor(TColor Value) {
  TCustomLineSeries::SetSeriesColor(Value);
  Pen()->SetColor(Value);
}

void TFastLineSeries::SetPen(TChartPen* Value) {
  TCustomLineSeries::SetPen(Value);
  SetSeriesColor(Pen()->Color());
}

void TFastLineSeries::EnumGalleryStyles(const std::function<void(const std::string&)>& Proc) {
  TCustomLineSeries::EnumGalleryStyles(Proc);
  for (const std::string& t : {GrafMsgMarks, GrafMsgDotted, GrafMsgStairs}) Proc(t);
}

void TFastLineSeries::ApplyGalleryStyle(TChartSeries* Series, int Index) {
  auto* s = dynamic_cast<TFastLineSeries*>(Series);
  if (!s) return;
  switch (Index) {
    case 1: s->Marks()->SetVisible(true); break;
    case 2: s->LinePen()->SetSmallDots(true); break;
    case 3: s->SetStairs(true); break;
    default: break;
  }
}

namespace {
// Half the pen beyond the line, at least one pixel.
int PenMargin(int W) { return W - (W - 2) / 2; }
}  // namespace

void TFastLineSeries::GetHorizMargins(int& Left, int& Right) {
  TCustomLineSeries::GetHorizMargins(Left, Right);
  const int w = PenMargin(Pen()->Width());
  Left += w;
  Right += w;
}

void TFastLineSeries::GetVertMargins(int& Top, int& Bottom) {
  TCustomLineSeries::GetVertMargins(Top, Bottom);
  const int w = PenMargin(Pen()->Width());
  Top += w;
  Bottom += w;
}

void TFastLineSeries::PreparePen() {
  TCanvas3D* canvas = FParentChart->PanelCanvas();
  canvas->ApplyPen(Pen());
  canvas->CanvasBrush()->SetStyle(bsClear);
  canvas->SetBackgroundMode(TRANSPARENT);
}

void TFastLineSeries::AdjustLegendCanvas(int, TColor&, TBrushStyle&) {
  if (FParentChart) PreparePen();
}

void TFastLineSeries::PaintLegendSymbol(int, const TRect& R) {
  if (!FParentChart) return;
  FParentChart->PanelCanvas()->HorizontalLine(R.Left, R.Right, (R.Top + R.Bottom) / 2);
}

void TFastLineSeries::DrawPointMark(int Index, const std::string& Text, TSeriesMarkPosition& Position) {
  FMarks->ApplyCalloutLength(Position);
  TCustomLineSeries::DrawPointMark(Index, Text, Position);
}

void TFastLineSeries::PointPixels(int Index, int& X, int& Y) {
  X = FHorizAxisInUse ? FHorizAxisInUse->ValueToPixelX(FXValues->GetValue(Index)) : 0;
  Y = FVertAxisInUse ? FVertAxisInUse->ValueToPixelY(FYValues->GetValue(Index)) : 0;
}

void TFastLineSeries::MovePenTo(int X, int Y) {
  TCanvas3D* canvas = FParentChart->PanelCanvas();
  if (FPass3D) canvas->MoveTo3D(X, Y, MiddleZ);
  else canvas->MovePenTo(X, Y);
}

void TFastLineSeries::LineTo(int X, int Y) {
  TCanvas3D* canvas = FParentChart->PanelCanvas();
  if (FPass3D) canvas->LineTo3D(X, Y, MiddleZ);
  else canvas->LineTo(X, Y);
}

void TFastLineSeries::DrawPoint(int Index) {
  int x, y;
  PointPixels(Index, x, y);
  if (x == PrevX && (!FDrawAllPoints || y == PrevY)) return;
  if (FIgnoreNulls || !PointIsNull(Index)) {
    if (FStairs) {
      if (FInvertedStairs) LineTo(PrevX, y);
      else LineTo(x, PrevY);
    }
    LineTo(x, y);
  } else {
    MovePenTo(x, y);
  }
  PrevX = x;
  PrevY = y;
}

void TFastLineSeries::DrawVisiblePoints() {
  if (!FParentChart || FirstVisible < 0 || LastVisible < 0) return;
  FPass3D = FParentChart->View3D();
  PreparePen();
  const int first = FirstVisible;
  PointPixels(first > 0 ? first - 1 : first, PrevX, PrevY);
  MovePenTo(PrevX, PrevY);
  // Runs in one pixel column may be drawn as the span they cover when that
  // gives the same pixels: a plain solid one-pixel pen, flat, no stairs, no
  // line breaks at nulls, and a plain bitmap (a recorded picture or a print
  // may be scaled when played).
  TCanvas3D* canvas = FParentChart->PanelCanvas();
  TPen* pen = canvas->CanvasPen();
  const bool columnwise = FDrawAllPoints && !FPass3D && !FStairs && (FIgnoreNulls || !HasColorList()) &&
                          pen->Style() == psSolid && pen->Width() <= 1 && pen->Mode() == pmCopy &&
                          !canvas->RendersWithoutGdi() && !canvas->DrawingToMetafile() &&
                          !FParentChart->IsPrinting;
  const int from = first > 0 ? first : first + 1;
  if (columnwise) {
    DrawRunsColumnwise(from, LastVisible);
    return;
  }
  for (int i = from; i <= LastVisible; ++i) DrawPoint(i);
}

// A one-pixel line leaves out its end pixel, so the segments joining points
// y0, y1 .. yk of one column cover the span of y0 .. y(k-1) plus the pixels
// from y(k-1) toward yk: one vertical line covers the same.
void TFastLineSeries::DrawRunsColumnwise(int First, int Last) {
  TCanvas3D* canvas = FParentChart->PanelCanvas();
  const double* xs = FXValues->Values().data();
  const double* ys = FYValues->Values().data();
  TChartAxis* h = FHorizAxisInUse;
  TChartAxis* v = FVertAxisInUse;
  auto column = [&](int k) { return h ? h->ValueToPixelX(xs[k]) : 0; };
  auto row = [&](int k) { return v ? v->ValueToPixelY(ys[k]) : 0; };
  // With ascending X the columns are monotonic in the index, so the end of a
  // column's points is found by galloping instead of converting every X.
  const bool ordered = FXValues->Order() == loAscending;
  auto columnEnd = [&](int k, int x) {
    if (!ordered) {
      while (k < Last && column(k + 1) == x) ++k;
      return k;
    }
    int inside = k, outside = Last + 1;
    for (int step = 1;; step *= 2) {
      const int probe = k + step;
      if (probe > Last) break;
      if (column(probe) != x) {
        outside = probe;
        break;
      }
      inside = probe;
      if (step > (Last - k) / 2) break;
    }
    while (outside - inside > 1) {
      const int mid = inside + (outside - inside) / 2;
      if (column(mid) == x) inside = mid;
      else outside = mid;
    }
    return inside;
  };
  std::vector<int>& rows = FRows;
  int px = PrevX, py = PrevY;
  int i = First;
  while (i <= Last) {
    const int x = column(i);
    const int end = columnEnd(i, x);
    int k = i;
    if (x != px) {
      py = row(k++);
      canvas->LineTo(x, py);
      px = x;
    }
    i = end + 1;
    if (k > end) continue;
    // The rest of the column's points, from the pen at py: the last one's
    // row, and the span of py and the rows before the run of repeats of
    // the last row that ends the column (repeats draw nothing).
    auto rowOf = [&](int q) {
      int r = 0;
      if (v) v->ValuesToPixels(ys + q, 1, &r);
      return r;
    };
    const int cur = rowOf(end);
    int t = end;
    while (t > k && rowOf(t - 1) == cur) --t;
    int lo = py, hi = py;
    int spanLo = 0, spanHi = 0;
    if (t > k && v && v->PixelSpanOf(ys + k, t - k, spanLo, spanHi)) {
      lo = std::min(lo, spanLo);
      hi = std::max(hi, spanHi);
    } else {
      constexpr int kBlock = 4096;
      for (int from = k; from < t; from += kBlock) {
        const int m = std::min(kBlock, t - from);
        rows.resize(static_cast<size_t>(m));
        if (v) v->ValuesToPixels(ys + from, m, rows.data());
        else std::fill(rows.begin(), rows.end(), 0);
        for (const int r : rows) {
          lo = std::min(lo, r);
          hi = std::max(hi, r);
        }
      }
    }
    if (cur == py && lo == hi) continue;
    // Segments from py through those rows to cur cover lo..hi and, when
    // cur lies outside, the pixels up to cur but not cur itself: one
    // vertical line, then the pen where the segments would have left it.
    const int top = cur < lo ? cur + 1 : lo, bottom = cur > hi ? cur - 1 : hi;
    canvas->MovePenTo(x, top);
    canvas->LineTo(x, bottom + 1);
    canvas->MovePenTo(x, cur);
    py = cur;
  }
  PrevX = px;
  PrevY = py;
}

void TFastLineSeries::PointAdded(TChartSeries* Sender, int Index) {
  if (FAutoRepaint) {
    TCustomLineSeries::PointAdded(Sender, Index);
    return;
  }
  // Dependents still hear of the point, so values computed from this series
  // never go stale.
  NotifyDependentSeries(scAdded, Index);
  if (!FParentChart || !FHorizAxisInUse || !FVertAxisInUse) return;
  TCanvas3D* canvas = FParentChart->PanelCanvas();
  if (!canvas || !canvas->BoundCanvas()) return;
  FPass3D = FParentChart->View3D();
  PointPixels(Index > 0 ? Index - 1 : 0, PrevX, PrevY);
  canvas->ApplyPen(Pen());
  MovePenTo(PrevX, PrevY);
  DrawPoint(Index);
}

int TFastLineSeries::IndexAtPoint(int X, int Y) {
  if (FirstVisible < 0 || LastVisible < 0) return -1;
  if (FParentChart) FParentChart->PanelCanvas()->UnprojectPoint(X, Y, MiddleZ);
  const TPoint p = Point(X, Y);
  const int last = std::min(LastVisible, PointCount() - 1);
  int prevX = 0, prevY = 0;
  for (int i = FirstVisible; i <= last; ++i) {
    const int px = PointXPixel(i), py = PointYPixel(i);
    if (px == X && py == Y) return i;
    if (i > FirstVisible && PointOnSegmentCoords(p, prevX, prevY, px, py)) return i - 1;
    prevX = px;
    prevY = py;
  }
  return -1;
}
