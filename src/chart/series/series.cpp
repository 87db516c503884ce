// The line and point series base: per-point segments (flat lines, stairs,
// 3D ribbons), pointers drawn after the segments that touch them, the
// shadow and outline passes, stacking, hit tests, margins, marks and the
// legend symbol. The area fill itself is in series_area.cpp.
#include "chart/series/series.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "chart/core/chart.h"
#include "chart/core/grafconst.h"
#include "chart/core/grafutils.h"

const TEnumInfo& CustomSeriesStackEnumInfo() {
  static const TEnumInfo info{"TCustomSeriesStack", {"cssNone", "cssOverlap", "cssStack", "cssStack100"}, 0};
  return info;
}

const TEnumInfo& MultiAreaEnumInfo() {
  static const TEnumInfo info{"TMultiArea", {"maNone", "maStacked", "maStacked100"}, 0};
  return info;
}

namespace {

// Changes made to the series while it draws (shadow and outline passes)
// must not ask the chart for another repaint.
class TNoRepaint {
public:
  explicit TNoRepaint(TCustomAxisPanel* Chart) : FChart(Chart) {
    if (FChart) {
      FOld = FChart->RepaintOnChange;
      FChart->RepaintOnChange = false;
    }
  }
  ~TNoRepaint() {
    if (FChart) FChart->RepaintOnChange = FOld;
  }
  TNoRepaint(const TNoRepaint&) = delete;
  TNoRepaint& operator=(const TNoRepaint&) = delete;

private:
  TCustomAxisPanel* FChart;
  bool FOld = true;
};

}  // namespace

// ============================================================================
// TCustomLineSeries

ZV_CLASS_IMPL_NOPROPS(TCustomLineSeries, TChartSeries)

TCustomLineSeries::TCustomLineSeries(TComponent* AOwner) : TChartSeries(AOwner) {}

// ============================================================================
// TCustomSeries

ZV_CLASS_IMPL_NOPROPS(TCustomSeries, TCustomLineSeries)

TCustomSeries::TCustomSeries(TComponent* AOwner) : TCustomLineSeries(AOwner) {
  IncludePointAfterRange = true;
  auto repaint = [this](TObject*) { RequestRedraw(); };
  FPointer = std::make_unique<TSeriesPointer>(this);
  FAreaLinesPen = NewPen();
  FOutLine = std::make_unique<TChartHiddenPen>(repaint);
  FShadow = std::make_unique<TGrafShadow>(repaint);
  FAreaBrush = std::make_unique<TChartBrush>(repaint);
  FAreaBrush->SetColor(clDefault);
  FGradient = std::make_unique<TGrafGradient>(repaint);
}

TCustomSeries::~TCustomSeries() {
  // The chart's series list must not keep a half-destroyed series.
  if (FParentChart) TChartSeries::SetParentChart(nullptr);
}

void TCustomSeries::SetParentChart(TCustomAxisPanel* Value) {
  TChartSeries::SetParentChart(Value);
  FPointer->AttachToPanel(Value);
}

void TCustomSeries::SetTransparency(int Value) {
  Value = std::clamp(Value, 0, 100);
  ChangeInteger(FTransparency, Value);
}

void TCustomSeries::Assign(TPersistent* Source) {
  if (auto* s = dynamic_cast<TCustomSeries*>(Source)) {
    FClickableLine = s->FClickableLine;
    FAreaBrush->Assign(s->FAreaBrush.get());
    FAreaColor = s->FAreaColor;
    FAreaLinesPen->Assign(s->FAreaLinesPen.get());
    FColorEachLine = s->FColorEachLine;
    FDark3D = s->FDark3D;
    FDrawArea = s->FDrawArea;
    FDrawLine = s->FDrawLine;
    FInvertedStairs = s->FInvertedStairs;
    FLineHeight = s->FLineHeight;
    FPointer->Assign(s->FPointer.get());
    FStacked = s->FStacked;
    FStairs = s->FStairs;
    FOutLine->Assign(s->FOutLine.get());
    FShadow->Assign(s->FShadow.get());
    FTransparency = s->FTransparency;
    FGradient->Assign(s->FGradient.get());
  }
  TChartSeries::Assign(Source);
}

void TCustomSeries::SetStacked(TCustomSeriesStack Value) {
  if (Value == FStacked) return;
  FStacked = Value;
  if (FParentChart) {
    for (TChartSeries* s : *FParentChart->SeriesList())
      if (auto* c = dynamic_cast<TCustomSeries*>(s); c && c != this && c->ClassType()->InheritsFrom(ClassType()))
        c->FStacked = Value;
  }
  RequestRedraw();
}

TColor TCustomSeries::AreaColorFor(TColor Color) const {
  return (FColorEachPoint || FAreaColor == clDefault) ? Color : FAreaColor;
}

TSeriesPointerStyle TCustomSeries::PointerStyleAt(int Index) {
  return OnGetPointerStyle ? OnGetPointerStyle(this, Index) : FPointer->Style();
}

int TCustomSeries::MarkOffset() {
  TMarksCallout* c = FMarks->Callout();
  return c->Length() + c->Distance();
}

// ---- Stacking ----------------------------------------------------------------------------------

double TCustomSeries::StackedSumAt(int Index, bool All) {
  if (!FParentChart) return 0;
  const bool positive = MainValueAt(Index) >= 0;
  double sum = 0;
  for (TChartSeries* s : *FParentChart->SeriesList()) {
    if (!All && s == this) break;
    if (!s->Active() || !ClassCompatible(s) || s->PointCount() <= Index) continue;
    const double v = s->StartValueAt(Index);
    if (positive ? v > 0 : v < 0) sum += v;
  }
  return sum;
}

int TCustomSeries::StackedPixel(int Index, double Value) {
  TChartAxis* axis = ValueAxis();
  if (!axis) return 0;
  if (FStacked == cssStack) return std::min(ValueAxisPixelOf(StackedSumAt(Index, false) + Value), axis->EndPixel);
  const double total = StackedSumAt(Index, true);
  if (total == 0) return axis->EndPixel;
  return ValueAxisPixelOf((StackedSumAt(Index, false) + Value) * 100.0 / total);
}

int TCustomSeries::PointYPixel(int Index) {
  if (FVertical && IsStacked()) return StackedPixel(Index, YValueAt(Index));
  return TChartSeries::PointYPixel(Index);
}

int TCustomSeries::PointXPixel(int Index) {
  if (!FVertical && IsStacked()) return StackedPixel(Index, XValueAt(Index));
  return TChartSeries::PointXPixel(Index);
}

void TCustomSeries::AssignZOrder() {
  if (FStacked == cssNone || !FParentChart || FZOrder >= 0) {
    TChartSeries::AssignZOrder();
    return;
  }
  // Stacked series share the slot of the series before them.
  if (FParentChart->View3D()) {
    if (FParentChart->MaxZOrder < 0) FParentChart->MaxZOrder = 0;
    AutoZOrder = FParentChart->MaxZOrder;
  } else {
    AutoZOrder = 0;
  }
}

double TCustomSeries::LargestY() {
  if (!FVertical) return TChartSeries::LargestY();
  if (FStacked == cssStack100) return 100;
  double result = TChartSeries::LargestY();
  if (FStacked == cssStack)
    for (int i = 0; i < PointCount(); ++i) result = std::max(result, StackedSumAt(i, false) + YValueAt(i));
  return result;
}

double TCustomSeries::SmallestY() {
  if (FVertical && FStacked == cssStack100) return 0;
  double result = TChartSeries::SmallestY();
  if (FVertical && FStacked == cssStack)
    for (int i = 0; i < PointCount(); ++i) result = std::min(result, StackedSumAt(i, false) + YValueAt(i));
  return result;
}

double TCustomSeries::LargestX() {
  if (FVertical) return TChartSeries::LargestX();
  if (FStacked == cssStack100) return 100;
  double result = TChartSeries::LargestX();
  if (FStacked == cssStack)
    for (int i = 0; i < PointCount(); ++i) result = std::max(result, StackedSumAt(i, false) + XValueAt(i));
  return result;
}

double TCustomSeries::SmallestX() {
  if (!FVertical && FStacked == cssStack100) return 0;
  return TChartSeries::SmallestX();
}

// ---- Drawing -----------------------------------------------------------------------------------

void TCustomSeries::DrawVisiblePoints() {
  TCustomAxisPanel* chart = FParentChart;
  if (chart && FShadow->LargerSize() != 0) {
    TNoRepaint guard(chart);
    const TColor oldColor = FColor;
    const bool pointerVisible = FPointer->Visible();
    FColor = FShadow->Color();
    FPointer->SetVisible(false);
    TChartAxis* h = GetHorizAxis();
    TChartAxis* v = GetVertAxis();
    auto shift = [&](int dx, int dy) {
      if (h) {
        h->StartPixel += dx;
        h->EndPixel += dx;
      }
      if (v) {
        v->StartPixel += dy;
        v->EndPixel += dy;
      }
    };
    shift(FShadow->HorizSize(), FShadow->VertSize());
    try {
      TChartSeries::DrawVisiblePoints();
    } catch (...) {
      shift(-FShadow->HorizSize(), -FShadow->VertSize());
      FPointer->SetVisible(pointerVisible);
      FColor = oldColor;
      throw;
    }
    shift(-FShadow->HorizSize(), -FShadow->VertSize());
    FPointer->SetVisible(pointerVisible);
    FColor = oldColor;
  }
  if (chart && FOutLine->Visible()) {
    TNoRepaint guard(chart);
    TChartPen saved;
    saved.Assign(Pen());
    const TColor oldColor = FColor;
    Pen()->Assign(FOutLine.get());
    FColor = FOutLine->Color();
    Pen()->SetWidth(2 * saved.Width() + FOutLine->Width() + 1);
    try {
      TChartSeries::DrawVisiblePoints();
    } catch (...) {
      Pen()->Assign(&saved);
      FColor = oldColor;
      throw;
    }
    Pen()->Assign(&saved);
    // The series keeps its own colour (taking the pen's would recolour a
    // series whose pen differs, for good, at every repaint).
    FColor = oldColor;
  }
  if (DrawPointersOnly()) return;
  TChartSeries::DrawVisiblePoints();
}

// Points without lines, in one colour and one shape: the pass draws each
// pointer straight from the axes' pixels, the canvas set up once. Every
// shape is the same and covers what lies beneath, so a pixel ends in the
// colour of the last shape over it; drawing only the last shape at each
// position, in the order of those last shapes, leaves the same picture.
bool TCustomSeries::DrawPointersOnly() {
  TCustomAxisPanel* chart = FParentChart;
  const TClass own = ClassType();
  if (own != &TPointSeries::StaticClass() && own != &TLineSeries::StaticClass()) return false;
  if (!chart || chart->View3D() || FDrawLine || FDrawArea || !FPointer->Visible() || OnGetPointerStyle ||
      FColorEachPoint || HasColorList() || IsStacked() || FPointer->Transparency() != 0 ||
      FPointer->Gradient()->Visible() || FPointer->Pen()->Mode() != pmCopy || FirstVisible < 0 || LastVisible < 0)
    return false;
  TChartAxis* h = GetHorizAxis();
  TChartAxis* v = GetVertAxis();
  TCanvas3D* canvas = chart->PanelCanvas();
  if (!h || !v || canvas->RendersWithoutGdi()) return false;
  const TSeriesPointerStyle style = FPointer->Style();
  const TColor color = GetSeriesColor();
  FPointer->SetupCanvas(canvas, color);
  if (canvas->CanvasBrush()->Style() != bsSolid && canvas->CanvasBrush()->Style() != bsClear) return false;

  const double* xs = FXValues->Values().data();
  const double* ys = FYValues->Values().data();
  const bool ascending = DrawsAscending();
  const int n = LastVisible - FirstVisible + 1;
  // The axes map the visible run in one pass each (as ValueToPixel would).
  std::vector<int> px(static_cast<size_t>(n)), py(static_cast<size_t>(n));
  h->ValuesToPixels(xs + FirstVisible, n, px.data());
  v->ValuesToPixels(ys + FirstVisible, n, py.data());
  std::vector<TPoint> at(static_cast<size_t>(n));
  for (int k = 0; k < n; ++k) {
    const size_t i = static_cast<size_t>(ascending ? k : n - 1 - k);
    at[static_cast<size_t>(k)] = Point(px[i], py[i]);
  }
  // The last shape at each pixel of the chart (for charts of a sensible
  // size); the map is left all -1 again for the next pass.
  static std::vector<int> lastAt;
  const int width = chart->Width(), height = chart->Height();
  const bool mapped = width > 0 && height > 0 && static_cast<int64_t>(width) * height <= (int64_t{1} << 23);
  if (mapped && lastAt.size() < static_cast<size_t>(width) * static_cast<size_t>(height))
    lastAt.assign(static_cast<size_t>(width) * static_cast<size_t>(height), -1);
  auto cell = [&](TPoint p) -> int* {
    if (!mapped || p.X < 0 || p.Y < 0 || p.X >= width || p.Y >= height) return nullptr;
    return &lastAt[static_cast<size_t>(p.Y) * static_cast<size_t>(width) + static_cast<size_t>(p.X)];
  };
  for (int k = 0; k < n; ++k)
    if (int* c = cell(at[static_cast<size_t>(k)])) *c = k;
  const int hs = FPointer->HorizSize(), vs = FPointer->VertSize();
  for (int k = 0; k < n; ++k) {
    const TPoint p = at[static_cast<size_t>(k)];
    if (int* c = cell(p)) {
      if (*c != k) continue;
      *c = -1;
    } else if (k > 0 && p == at[static_cast<size_t>(k) - 1]) {
      continue;  // the same shape again, right after itself
    }
    FPointer->DrawShapeAt(canvas, false, p.X, p.Y, hs, vs, color, style);
  }
  PrevColor = color;
  if (n > 0) {
    PrevX = at.back().X;
    PrevY = at.back().Y;
  }
  return true;
}

int TCustomSeries::InterpolatedYPixel(int PrevIndex, double XValue, int Index) {
  const double x0 = XValueAt(PrevIndex), x1 = XValueAt(Index);
  if (x1 == x0) return PointYPixel(PrevIndex);
  const double y0 = YValueAt(PrevIndex), y1 = YValueAt(Index);
  TChartAxis* v = GetVertAxis();
  double y;
  if (v && v->Logarithmic() && y0 > 0 && y1 > 0) {
    y = std::exp(std::log(y0) + (std::log(y1) - std::log(y0)) * (XValue - x0) / (x1 - x0));
  } else {
    y = y0 + (XValue - x0) * (y1 - y0) / (x1 - x0);
  }
  return VertPixelOf(y);
}

void TCustomSeries::DrawPoint(int Index) {
  TCustomAxisPanel* chart = FParentChart;
  if (!chart) return;
  TCanvas3D* canvas = chart->PanelCanvas();
  const TColor c = PointColor(Index);
  const int x = PointXPixel(Index), y = PointYPixel(Index);
  if (canvas->CanvasPen()->Color() != clBlack) canvas->CanvasPen()->SetColor(clBlack);
  if (canvas->CanvasBrush()->Color() != c) canvas->CanvasBrush()->SetColor(c);
  if (PrevColor == clNone) {
    PrevX = x;
    PrevY = y;
  }
  CurBottom = AreaBottomPixel(Index);
  const bool ascending = DrawsAscending();
  const bool last = Index == (ascending ? LastVisible : FirstVisible);
  if (Index == (ascending ? FirstVisible : LastVisible)) {
    if (FDark3D) {
      DepthSlope = chart->SeriesWidth3D == 0
                       ? 1
                       : std::abs(static_cast<double>(chart->SeriesHeight3D) / chart->SeriesWidth3D);
    }
    if (Index == FirstVisible && Index > 0) {
      // A point before the range: the line enters from the plot's edge.
      if (FDrawArea) {
        PrevX = PointXPixel(Index - 1);
        PrevY = PointYPixel(Index - 1);
        PrevBottom = AreaBottomPixel(Index - 1);
      } else {
        TChartAxis* h = GetHorizAxis();
        PrevX = (h && h->Inverted()) ? chart->ChartArea.Right : chart->ChartArea.Left;
        PrevY = FStairs || !h ? PointYPixel(Index - 1) : InterpolatedYPixel(Index - 1, h->PixelToValue(PrevX), Index);
      }
      if (!PointIsNull(Index - 1)) {
        FPrevIndex = Index - 1;
        DrawSegment(Index, x, y, c, last, false);
      }
    }
    if (last && FPointer->Visible() && c != clNone) PaintPointer(x, y, Index, c);
    if (canvas->RendersWithoutGdi() && FDrawArea && chart->View3D()) canvas->RectangleZ(x, y, CurBottom, StartZ, EndZ);
  } else {
    DrawSegment(Index, x, y, c, last, true);
  }
  PrevX = x;
  PrevY = y;
  PrevBottom = CurBottom;
  PrevColor = c;
  FPrevIndex = Index;
}

void TCustomSeries::PrepareLinePen(TCanvas3D* Canvas, TColor Color) {
  if (Canvas->GetMonochrome()) Color = clWhite;
  if (FParentChart && FParentChart->View3D()) {
    TChartBrush* b = Brush();
    if (b->HasImage() && b->Image()->Graphic()) Canvas->ApplyBrush(b, Color);
    else {
      Canvas->CanvasBrush()->SetStyle(b->Style());
      Canvas->CanvasBrush()->SetColor(Color);
    }
    Canvas->ApplyPen(Pen());
  } else {
    Canvas->CanvasBrush()->SetStyle(bsClear);
    Canvas->ApplyPenWithColor(Pen(), Color);
  }
}

void TCustomSeries::DrawSegment(int Index, int X, int Y, TColor Color, bool Last, bool Pointers) {
  TCustomAxisPanel* chart = FParentChart;
  TCanvas3D* canvas = chart->PanelCanvas();
  const bool is3D = chart->View3D();
  if ((X != PrevX || Y != PrevY) && Color != clNone) {
    const int z0 = StartZ, z1 = EndZ;
    if (is3D && (FDrawArea || FDrawLine)) {
      canvas->ApplyPen(Pen());
      const TColor f = (FColorEachLine || FDrawArea) ? AreaColorFor(Color) : GetSeriesColor();
      TChartBrush* b = Brush();
      const bool picture = b->HasImage() && b->Image()->Graphic();
      auto fill = [&](TColor col) {
        if (picture) {
          canvas->ApplyBrush(b, col);
        } else {
          canvas->CanvasBrush()->SetStyle(b->Style());
          canvas->CanvasBrush()->SetColor(col);
        }
      };
      fill(f);
      auto dark = [&](auto draw) {
        if (FDark3D) fill(ColorDarker(f, 64));
        draw();
        if (FDark3D) fill(f);
      };
      if (FStairs) {
        if (FVertical) {
          if (!FInvertedStairs) {
            canvas->RectangleY(PrevX, PrevY, X, z0, z1);
            dark([&] { canvas->RectangleZ(X, Y, PrevY, z0, z1); });
          } else {
            dark([&] { canvas->RectangleZ(PrevX, PrevY, Y, z0, z1); });
            canvas->RectangleY(X, Y, PrevX, z0, z1);
          }
        } else if (!FInvertedStairs) {
          canvas->RectangleZ(PrevX, PrevY, Y, z0, z1);
          dark([&] { canvas->RectangleY(PrevX, Y, X, z0, z1); });
        } else {
          dark([&] { canvas->RectangleY(X, Y, PrevX, z0, z1); });
          canvas->RectangleZ(X, PrevY, Y, z0, z1);
        }
      } else {
        int y = Y, prevY = PrevY;
        if (FLineHeight > 0 && !FDrawArea) {
          canvas->PlaneWithZ(Point(X, y), Point(PrevX, prevY), Point(PrevX, prevY + FLineHeight),
                             Point(X, y + FLineHeight), z0);
          if (Last) canvas->RectangleZ(X, y, y + FLineHeight, z0, z1);
        }
        if (FDark3D && !canvas->RendersWithoutGdi() && X != PrevX && DepthSlope != 0 &&
            static_cast<double>(prevY - y) / (X - PrevX) > DepthSlope) {
          fill(ColorDarker(f, 64));
          if (FLineHeight > 0 && !FDrawArea) {
            y += FLineHeight;
            prevY += FLineHeight;
          }
        }
        if (canvas->GetMonochrome()) canvas->CanvasBrush()->SetColor(clWhite);
        canvas->Plane3D(Point(PrevX, prevY), Point(X, y), z0, z1);
        fill(f);
      }
    }
    if (FDrawArea) {
      const TColor f = AreaColorFor(Color);
      canvas->CanvasBrush()->SetColor(f);
      if (FAreaLinesPen->Color() != clDefault && FAreaLinesPen->Visible()) canvas->ApplyPen(FAreaLinesPen.get());
      else canvas->ApplyPenWithColor(FAreaLinesPen.get(), Color);
      DrawAreaSegment(X, Y, f, Last);
    } else if (!is3D && FDrawLine) {
      PrepareLinePen(canvas, (FColorEachPoint && FColorEachLine) ? Color : GetSeriesColor());
      if (FStairs) {
        canvas->MovePenTo(PrevX, PrevY);
        if (FInvertedStairs) canvas->LineTo(PrevX, Y);
        else canvas->LineTo(X, PrevY);
        canvas->LineTo(X, Y);
      } else {
        canvas->LineFromTo(PrevX, PrevY, X, Y);
      }
    }
  }
  if (Pointers && FPointer->Visible()) {
    if (PrevColor != clNone) PaintPointer(PrevX, PrevY, FPrevIndex, PrevColor);
    if (Last && Color != clNone) PaintPointer(X, Y, Index, Color);
  }
}

void TCustomSeries::PaintPointer(int X, int Y, int Index, TColor Color) {
  if (!FParentChart) return;
  FPointer->SetupCanvas(FParentChart->PanelCanvas(), Color);
  FPointer->DrawStyled(X, Y, PointerStyleAt(Index), Color);
}

// ---- Hit test ----------------------------------------------------------------------------------

bool TCustomSeries::PointerHit(int Index, int PX, int PY, int X, int Y) {
  PreparePointer(Index);
  return PointerStyleAt(Index) != psNothing && std::abs(PX - X) < FPointer->HorizSize() &&
         std::abs(PY - Y) < FPointer->VertSize();
}

bool TCustomSeries::SegmentHit(int PX, int PY, int PrevPX, int PrevPY, int X, int Y) {
  const TPoint p = Point(X, Y);
  if (FParentChart && FParentChart->View3D()) {
    const int w = FParentChart->SeriesWidth3D, h = FParentChart->SeriesHeight3D;
    const TPoint quad[4] = {Point(PX, PY), Point(PX + w, PY - h), Point(PrevPX + w, PrevPY - h), Point(PrevPX, PrevPY)};
    return PointInsidePolygon(p, quad, 3);
  }
  if (!FStairs) return PointOnSegmentCoords(p, PrevPX, PrevPY, PX, PY);
  if (!FInvertedStairs)
    return PointOnSegmentCoords(p, PrevPX, PrevPY, PX, PrevPY) || PointOnSegmentCoords(p, PX, PrevPY, PX, PY);
  return PointOnSegmentCoords(p, PrevPX, PrevPY, PrevPX, PY) || PointOnSegmentCoords(p, PrevPX, PY, PX, PY);
}

int TCustomSeries::IndexAtPoint(int X, int Y) {
  if (FParentChart) FParentChart->PanelCanvas()->UnprojectPoint(X, Y, StartZ);
  const int base = TChartSeries::IndexAtPoint(X, Y);
  if (base >= 0 && base < PointCount()) return base;
  if (FirstVisible < 0 || LastVisible < 0) return -1;
  const int n = PointCount();
  int start = FClickableLine ? std::max(0, FirstVisible - 1) : FirstVisible;
  const int end = std::min(LastVisible, n - 1);
  int prevX = 0, prevY = 0, prevBottom = 0;
  for (int i = start; i <= end; ++i) {
    const int px = PointXPixel(i), py = PointYPixel(i);
    if (FPointer->Visible() && PointerHit(i, px, py, X, Y)) {
      if (OnClickPointer) OnClickPointer(this, i, X, Y);
      return i;
    }
    if (px == X && py == Y) return i;
    const int bottom = FDrawArea ? AreaBottomPixel(i) : 0;
    if (i > start && FClickableLine) {
      if (SegmentHit(px, py, prevX, prevY, X, Y)) return i - 1;
      if (FDrawArea) {
        TPoint quad[4];
        if (FVertical) {
          quad[0] = Point(prevX, prevY);
          quad[1] = Point(px, py);
          quad[2] = Point(px, bottom);
          quad[3] = Point(prevX, prevBottom);
        } else {
          quad[0] = Point(prevX, prevY);
          quad[1] = Point(px, py);
          quad[2] = Point(bottom, py);
          quad[3] = Point(prevBottom, prevY);
        }
        if (PointInsidePolygon(Point(X, Y), quad, 3)) return i - 1;
      }
    }
    prevX = px;
    prevY = py;
    prevBottom = bottom;
  }
  return -1;
}

// ---- Margins, marks and legend -----------------------------------------------------------------

void TCustomSeries::WidenMargins(bool Horizontal, int& A, int& B) {
  if (Horizontal) FPointer->WidenHorizMargins(A, B);
  else FPointer->WidenVertMargins(A, B);
  if (FDrawLine) {
    if (FStairs) {
      A = std::max(A, Pen()->Width());
      B = std::max(B, Pen()->Width());
    }
    if (FOutLine->Visible()) {
      A = std::max(A, FOutLine->Width());
      B = std::max(B, FOutLine->Width());
    }
  }
  // Marks sit above (vertical series) or to the right (horizontal series).
  if (FMarks->Visible() && Horizontal != FVertical) {
    if (Horizontal) B = std::max(B, MarkOffset());
    else A = std::max(A, MarkOffset());
  }
}

void TCustomSeries::GetHorizMargins(int& Left, int& Right) {
  TChartSeries::GetHorizMargins(Left, Right);
  WidenMargins(true, Left, Right);
}

void TCustomSeries::GetVertMargins(int& Top, int& Bottom) {
  TChartSeries::GetVertMargins(Top, Bottom);
  WidenMargins(false, Top, Bottom);
  if (FLineHeight > 0 && !FDrawArea && FParentChart && FParentChart->View3D()) Bottom = std::max(Bottom, FLineHeight);
}

void TCustomSeries::DrawPointMark(int Index, const std::string& Text, TSeriesMarkPosition& Position) {
  FMarks->ZPosition = StartZ;
  if (FVertical) FMarks->ApplyCalloutLength(Position);
  TChartSeries::DrawPointMark(Index, Text, Position);
}

void TCustomSeries::DrawLegendLine(TColor Color, const TRect& R) {
  TCanvas3D* canvas = FParentChart->PanelCanvas();
  auto* chart = dynamic_cast<TCustomChart*>(FParentChart);
  if (!chart || chart->Legend()->Symbol()->DefaultPen()) PrepareLinePen(canvas, Color);
  if (FParentChart->View3D()) {
    canvas->RectangleOfRect(R);
  } else {
    const int mid = (R.Top + R.Bottom) / 2;
    canvas->HorizontalLine(R.Left, R.Right, mid);
  }
}

void TCustomSeries::PaintLegendSymbol(int Row, const TRect& R) {
  if (!FParentChart) return;
  const TColor color = Row == -1 ? GetSeriesColor() : LegendSymbolColor(Row);
  if (FPointer->Visible()) {
    if (FDrawLine) {
      // The line under the pointer is flat.
      TCanvas3D* canvas = FParentChart->PanelCanvas();
      auto* chart = dynamic_cast<TCustomChart*>(FParentChart);
      if (!chart || chart->Legend()->Symbol()->DefaultPen()) PrepareLinePen(canvas, color);
      canvas->HorizontalLine(R.Left, R.Right, (R.Top + R.Bottom) / 2);
    }
    DrawLegendPointer(FPointer.get(), color, R, FDrawLine);
  } else if (!FDrawLine || FDrawArea) {
    TChartSeries::PaintLegendSymbol(Row, R);
  } else {
    DrawLegendLine(color, R);
  }
}
