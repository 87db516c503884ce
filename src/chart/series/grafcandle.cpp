// Financial series and functions.
#include "chart/series/grafcandle.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "chart/core/chart.h"
#include "chart/core/grafconst.h"
#include "chart/core/grafutils.h"
#include "platform/rtl/datetime.h"
#include "platform/rtl/format.h"
#include "platform/rtl/mathutils.h"

// ============================================================================
// OHLC series

ZV_CLASS_IMPL(TOHLCSeries, TCustomSeries)

void TOHLCSeries::DeclareProperties(TClassInfo& c) {
  using S = TOHLCSeries;
  c.Object<S, TChartValueList>("CloseValues", &S::CloseValues, &S::SetCloseValues);
  c.Object<S, TChartValueList>("DateValues", &S::DateValues, &S::SetDateValues);
  c.Object<S, TChartValueList>("HighValues", &S::HighValues, &S::SetHighValues);
  c.Object<S, TChartValueList>("LowValues", &S::LowValues, &S::SetLowValues);
  c.Object<S, TChartValueList>("OpenValues", &S::OpenValues, &S::SetOpenValues);
}

TOHLCSeries::TOHLCSeries(TComponent* AOwner) : TCustomSeries(AOwner) {
  FXValues->SetName("Date");
  FXValues->SetDefaultDateTime(true);
  FYValues->SetName("Close");
  FHighValues = new TChartValueList(this, "High");
  FLowValues = new TChartValueList(this, "Low");
  FOpenValues = new TChartValueList(this, "Open");
}

int TOHLCSeries::AddOHLCPoint(double Date, double Open, double High, double Low, double Close) {
  FHighValues->TempValue = High;
  FLowValues->TempValue = Low;
  FOpenValues->TempValue = Open;
  return AddXYPoint(Date, Close, "", clDefault);
}

double TOHLCSeries::LargestY() {
  if (PointCount() == 0) return TCustomSeries::LargestY();
  return std::max({FYValues->MaxValue(), FHighValues->MaxValue(), FLowValues->MaxValue(), FOpenValues->MaxValue()});
}

double TOHLCSeries::SmallestY() {
  if (PointCount() == 0) return TCustomSeries::SmallestY();
  return std::min({FYValues->MinValue(), FHighValues->MinValue(), FLowValues->MinValue(), FOpenValues->MinValue()});
}

void TOHLCSeries::GenerateRandomPoints(int Count, bool) {
  double minX, stepX, minY, span, firstY;
  PrepareSampleRange(Count, minX, stepX, minY, span, firstY);
  double open = minY + RandomInteger(std::max(1, static_cast<int>(span)));
  double date = minX;
  for (int i = 0; i < Count; ++i) {
    if (i > 0) open += RandomInteger(10) - 5;
    const double close = open + RandomInteger(std::max(1, static_cast<int>(span / 25))) - span / 50;
    const double gap = static_cast<double>(Round(3 * std::fabs(close - open) / 10));
    const int spread = std::max(1, static_cast<int>(span / 400));
    const double high = std::max(open, close) + gap + RandomInteger(spread);
    const double low = std::min(open, close) - gap - RandomInteger(spread);
    AddOHLCPoint(date, open, high, low, close);
    open = close;
    date += stepX;
  }
}

// ============================================================================
// Candles

const TEnumInfo& CandleStyleEnumInfo() {
  static const TEnumInfo info{"TCandleStyle", {"csCandleStick", "csCandleBar", "csOpenClose", "csLine"}, 0};
  return info;
}

const TEnumInfo& CandleColorStyleEnumInfo() {
  static const TEnumInfo info{"TCandleColorStyle", {"cssRelativeToOpen", "cssRelativeToClose"}, 0};
  return info;
}

ZV_CLASS_IMPL(TCandleSeries, TOHLCSeries)

void TCandleSeries::DeclareProperties(TClassInfo& c) {
  using S = TCandleSeries;
  c.Enum<S>("CandleStyle", CandleStyleEnumInfo(), &S::CandleStyle, &S::SetCandleStyle, csCandleStick);
  c.Integer<S>("CandleWidth", &S::CandleWidth, &S::SetCandleWidth, 4);
  c.Enum<S>("ColorStyle", CandleColorStyleEnumInfo(), &S::ColorStyle, &S::SetColorStyle, cssRelativeToOpen);
  c.Boolean<S>("Dark3D", &S::CandleDark3D, &S::SetCandleDark3D, true);
  c.Boolean<S>("Draw3D", &S::CandleDraw3D, &S::SetCandleDraw3D, false);
  c.Integer<S>("DownCloseColor", &S::DownCloseColor, &S::SetDownCloseColor, clRed);
  c.Object<S, TGrafGradient>("DownCloseGradient", &S::DownCloseGradient, &S::SetDownCloseGradient);
  c.Object<S, TChartPen>("HighLowPen", &S::HighLowPen, &S::SetHighLowPen);
  c.Object<S, TChartPen>("Pen", &S::CandlePen, &S::SetCandlePen);
  c.Boolean<S>("ShowCloseTick", &S::ShowCloseTick, &S::SetShowCloseTick, true);
  c.Boolean<S>("ShowOpenTick", &S::ShowOpenTick, &S::SetShowOpenTick, true);
  c.Integer<S>("UpCloseColor", &S::UpCloseColor, &S::SetUpCloseColor, clWhite);
  c.Object<S, TGrafGradient>("UpCloseGradient", &S::UpCloseGradient, &S::SetUpCloseGradient);
}

TCandleSeries::TCandleSeries(TComponent* AOwner) : TOHLCSeries(AOwner) {
  auto repaint = [this](TObject*) { RequestRedraw(); };
  FUpGradient = std::make_unique<TGrafGradient>(repaint);
  FDownGradient = std::make_unique<TGrafGradient>(repaint);
  FHighLowPen = std::make_unique<TChartPen>(repaint);
  FHighLowPen->SetColor(clDefault);
  FUpGradient->SetStartColor(clWhite);
  FDownGradient->SetStartColor(clRed);
  FPointer->SetDraw3D(false);
  FPointer->SetVisible(true);
}

TCandleSeries::~TCandleSeries() = default;

void TCandleSeries::Assign(TPersistent* Source) {
  if (auto* c = dynamic_cast<TCandleSeries*>(Source)) {
    FCandleWidth = c->FCandleWidth;
    FCandleStyle = c->FCandleStyle;
    FColorStyle = c->FColorStyle;
    FUpGradient->Assign(c->FUpGradient.get());
    FDownGradient->Assign(c->FDownGradient.get());
    FHighLowPen->Assign(c->FHighLowPen.get());
    FShowOpenTick = c->FShowOpenTick;
    FShowCloseTick = c->FShowCloseTick;
  }
  TOHLCSeries::Assign(Source);
}

void TCandleSeries::SetCandleStyle(TCandleStyle Value) {
  if (FCandleStyle == Value) return;
  FCandleStyle = Value;
  FPointer->SetVisible(Value != csLine);
  RequestRedraw();
}

void TCandleSeries::SetColorStyle(TCandleColorStyle Value) {
  if (FColorStyle == Value) return;
  FColorStyle = Value;
  RequestRedraw();
}

TCandleSeries::TCandleGeometry TCandleSeries::CandleGeometry(int Index) {
  TCandleGeometry g;
  g.X = HorizPixelOf(FXValues->GetValue(Index));
  g.YOpen = VertPixelOf(FOpenValues->GetValue(Index));
  g.YHigh = VertPixelOf(FHighValues->GetValue(Index));
  g.YLow = VertPixelOf(FLowValues->GetValue(Index));
  g.YClose = VertPixelOf(FYValues->GetValue(Index));
  g.Left = FCandleWidth / 2;
  g.Right = FCandleWidth - g.Left;
  return g;
}

bool TCandleSeries::CandleRising(int Index) {
  // Walks back over equal closes instead of recursing: an undecided point
  // takes the choice of the one before it.
  bool relativeToOpen = FColorStyle == cssRelativeToOpen;
  for (int i = Index; i >= 0; --i) {
    const double close = FYValues->GetValue(i);
    if (relativeToOpen || i == 0) {
      const double open = FOpenValues->GetValue(i);
      if (close > open) return true;
      if (close < open) return false;
      if (i == 0) return true;
    }
    const double previous = FYValues->GetValue(i - 1);
    if (close > previous) return true;
    if (close < previous) return false;
    relativeToOpen = FColorStyle == cssRelativeToOpen;
  }
  return true;
}

TColor TCandleSeries::CandleColor(int Index) {
  const TColor c = PointColor(Index);
  if (c != SeriesColor()) return c;
  return CandleGradient(Index)->StartColor();
}

void TCandleSeries::DrawPoint(int Index) {
  if (!FParentChart) return;
  TCanvas3D* canvas = FParentChart->PanelCanvas();
  const bool is3D = FParentChart->View3D();
  if (OnGetPointerStyle) OnGetPointerStyle(this, Index);
  const TCandleGeometry g = CandleGeometry(Index);
  const TColor color = CandleColor(Index);
  TChartPen* pen = FPointer->Pen();
  if (FCandleStyle == csLine) {
    if (Index != FirstDrawnIndex() && !PointIsNull(Index)) {
      canvas->ApplyPenWithColor(Pen(), color);
      canvas->SetBackgroundMode(TRANSPARENT);
      if (is3D) canvas->LineAtDepth(FPrevLineX, FPrevLineY, g.X, g.YClose, MiddleZ);
      else canvas->LineFromTo(FPrevLineX, FPrevLineY, g.X, g.YClose);
    }
    FPrevLineX = g.X;
    FPrevLineY = g.YClose;
    return;
  }
  if (FCandleStyle == csCandleBar) {
    canvas->ApplyPenWithColor(pen, color);
    canvas->SetBackgroundMode(TRANSPARENT);
    if (is3D) {
      canvas->VerticalLine3D(g.X, g.YLow, g.YHigh, MiddleZ);
      if (FShowOpenTick) canvas->HorizontalLine3D(g.X, g.X - g.Left - 1, g.YOpen, MiddleZ);
      if (FShowCloseTick) canvas->HorizontalLine3D(g.X, g.X + g.Right + 1, g.YClose, MiddleZ);
    } else {
      canvas->VerticalLine(g.X, g.YLow, g.YHigh);
      if (FShowOpenTick) canvas->HorizontalLine(g.X, g.X - g.Left - 1, g.YOpen);
      if (FShowCloseTick) canvas->HorizontalLine(g.X, g.X + g.Right + 1, g.YClose);
    }
    return;
  }
  // Candle stick or open-close box.
  const TColor wick = FHighLowPen->Color() == clDefault ? pen->Color() : FHighLowPen->Color();
  auto wickPen = [&] {
    canvas->ApplyPenWithColor(FHighLowPen.get(), wick);
    canvas->SetBackgroundMode(TRANSPARENT);
  };
  TGrafGradient* gradient = CandleGradient(Index);
  auto bodyPen = [&](TColor outline) {
    if (pen->Visible()) canvas->ApplyPenWithColor(pen, outline);
    else canvas->CanvasPen()->SetStyle(psClear);
    canvas->CanvasBrush()->SetStyle(bsSolid);
    canvas->CanvasBrush()->SetColor(color);
  };
  int top = std::min(g.YOpen, g.YClose), bottom = std::max(g.YOpen, g.YClose);
  if (is3D && FPointer->Draw3D()) {
    if (FCandleStyle == csCandleStick) {
      wickPen();
      canvas->VerticalLine3D(g.X, bottom, g.YLow, MiddleZ);
    }
    bodyPen(g.YOpen == g.YClose ? color : pen->Color());
    const TRect body(g.X - g.Left, top, g.X + g.Right, bottom);
    canvas->CubeOfRect(body, StartZ, EndZ, FPointer->Dark3D());
    if (gradient->Visible()) gradient->DrawInRect(canvas, canvas->ProjectRectAtDepth(body, StartZ));
    if (FCandleStyle == csCandleStick) {
      wickPen();
      canvas->VerticalLine3D(g.X, top, g.YHigh, MiddleZ);
    }
    return;
  }
  if (FCandleStyle == csCandleStick) {
    wickPen();
    if (is3D) canvas->VerticalLine3D(g.X, g.YLow, g.YHigh, MiddleZ);
    else canvas->VerticalLine(g.X, g.YLow, g.YHigh);
  }
  int yClose = g.YClose;
  if (g.YOpen == yClose) --yClose;  // at least one pixel high
  top = std::min(g.YOpen, yClose);
  bottom = std::max(g.YOpen, yClose);
  bodyPen(pen->Color());
  if (is3D) {
    const TRect body(g.X - g.Left, top, g.X + g.Right, bottom);
    if (gradient->Visible()) gradient->DrawInRect(canvas, canvas->ProjectRectAtDepth(body, MiddleZ));
    canvas->RectangleWithZ(body, MiddleZ);
  } else {
    if (!pen->Visible()) --top;
    const TRect body(g.X - g.Left, top, g.X + g.Right + 1, bottom);
    if (gradient->Visible()) {
      gradient->DrawInRect(canvas, body);
      canvas->CanvasBrush()->SetStyle(bsClear);
    }
    canvas->RectangleOfRect(body);
  }
}

double TCandleSeries::LargestY() {
  if (FCandleStyle == csLine) return FYValues->MaxValue();
  return TOHLCSeries::LargestY();
}

double TCandleSeries::SmallestY() {
  if (FCandleStyle == csLine) return FYValues->MinValue();
  return TOHLCSeries::SmallestY();
}

int TCandleSeries::IndexAtPoint(int X, int Y) {
  if (FirstVisible < 0 || !FParentChart) return -1;
  TPoint p{X, Y};
  FParentChart->PanelCanvas()->UnprojectPoint(p.X, p.Y, StartZ);
  for (int i = FirstVisible; i <= LastVisible && i < PointCount(); ++i) {
    const TCandleGeometry g = CandleGeometry(i);
    switch (FCandleStyle) {
      case csLine:
        if (i > FirstVisible) {
          const TCandleGeometry prev = CandleGeometry(i - 1);
          if (PointOnSegment(p, TPoint{prev.X, prev.YClose}, TPoint{g.X, g.YClose})) return i;
        }
        break;
      case csCandleBar:
        if (PointOnSegmentCoords(p, g.X, g.YLow, g.X, g.YHigh)) return i;
        if (FShowOpenTick && PointOnSegmentCoords(p, g.X - g.Left - 1, g.YOpen, g.X, g.YOpen)) return i;
        if (FShowCloseTick && PointOnSegmentCoords(p, g.X, g.YClose, g.X + g.Right + 1, g.YClose)) return i;
        break;
      default:
        if (FCandleStyle == csCandleStick && PointOnSegmentCoords(p, g.X, g.YLow, g.X, g.YHigh)) return i;
        if (TRect(g.X - g.Left, std::min(g.YOpen, g.YClose), g.X + g.Right + 1, std::max(g.YOpen, g.YClose) + 1)
                .Contains(p))
          return i;
        break;
    }
  }
  return -1;
}

void TCandleSeries::EnumGalleryStyles(const std::function<void(const std::string&)>& Proc) {
  TOHLCSeries::EnumGalleryStyles(Proc);
  for (const char* s : {"Bar", "No Open", "No Close", "No Border", "Line"}) Proc(s);
}

void TCandleSeries::ApplyGalleryStyle(TChartSeries* Series, int Index) {
  auto* c = dynamic_cast<TCandleSeries*>(Series);
  if (!c) return;
  switch (Index) {
    case 0: c->SetCandleStyle(csCandleBar); break;
    case 1:
      c->SetCandleStyle(csCandleBar);
      c->CandlePen()->SetVisible(true);
      c->SetShowOpenTick(false);
      break;
    case 2:
      c->SetCandleStyle(csCandleBar);
      c->CandlePen()->SetVisible(true);
      c->SetShowCloseTick(false);
      break;
    case 3:
      c->SetCandleStyle(csCandleStick);
      c->CandlePen()->SetVisible(false);
      break;
    case 4: c->SetCandleStyle(csLine); break;
    default: break;
  }
}

void TCandleSeries::SetupGalleryPreview(bool Enabled) {
  TOHLCSeries::SetupGalleryPreview(Enabled);
  RemoveAllPoints();
  GenerateRandomPoints(4, false);
  if (Enabled) {
    SetUpCloseColor(clBlue);
  } else {
    SetUpCloseColor(TColor(12632256));
    SetDownCloseColor(TColor(8421504));
    CandlePen()->SetColor(TColor(8421504));
  }
  CandlePen()->SetWidth(2);
  SetCandleWidth(12);
}

// ============================================================================
// Big candles

ZV_CLASS_IMPL(TBigCandleSeries, TCandleSeries)

void TBigCandleSeries::DeclareProperties(TClassInfo& c) {
  using S = TBigCandleSeries;
  c.Integer<S>("HorizGap", &S::HorizGap, &S::SetHorizGap);
  c.Integer<S>("VertGap", &S::VertGap, &S::SetVertGap);
}

TBigCandleSeries::TBigCandleSeries(TComponent* AOwner) : TCandleSeries(AOwner) {
  FMarks->SetVisible(true);
  FMarks->SetArrowLength(0);
}

void TBigCandleSeries::DrawPointMark(int Index, const std::string&, TSeriesMarkPosition& Position) {
  const int w = Position.Width, h = Position.Height, left = Position.LeftTop.X;
  const int gap = FHorizGap + w / 2;
  auto draw = [&](int x, int y, double value) {
    TSeriesMarkPosition p;
    p.CopyPositionFrom(Position);
    p.LeftTop = TPoint{x, y};
    TCustomSeries::DrawPointMark(Index, FormatFloat(ValueFormat(), value), p);
  };
  draw(left - gap, VertPixelOf(FOpenValues->GetValue(Index)) - h / 2, FOpenValues->GetValue(Index));
  draw(left + gap, VertPixelOf(FYValues->GetValue(Index)) - h / 2, FYValues->GetValue(Index));
  draw(left + gap, VertPixelOf(FHighValues->GetValue(Index)) - (h + FVertGap), FHighValues->GetValue(Index));
  draw(left + gap, VertPixelOf(FLowValues->GetValue(Index)) + FVertGap, FLowValues->GetValue(Index));
}

// ============================================================================
// Volume

ZV_CLASS_IMPL(TVolumeSeries, TCustomSeries)

void TVolumeSeries::DeclareProperties(TClassInfo& c) {
  using S = TVolumeSeries;
  c.Object<S, TChartPen>("LinePen", [](S* s) { return s->Pen(); }, [](S* s, TChartPen* p) { s->Pen()->Assign(p); });
  c.Boolean<S>("UseYOrigin", &S::UseYOrigin, &S::SetUseYOrigin, false);
  c.Object<S, TChartValueList>("VolumeValues", &S::VolumeValues, &S::SetVolumeValues);
  c.Float<S>("YOrigin", ftDouble, &S::YOrigin, &S::SetYOrigin, 0.0L);
}

TVolumeSeries::TVolumeSeries(TComponent* AOwner) : TCustomSeries(AOwner) {
  FDrawArea = false;
  FPointer->SetVisible(false);
  FClickableLine = false;
  IncludePointAfterRange = false;
}

void TVolumeSeries::Assign(TPersistent* Source) {
  if (auto* v = dynamic_cast<TVolumeSeries*>(Source)) {
    FUseYOrigin = v->FUseYOrigin;
    FYOrigin = v->FYOrigin;
  }
  TCustomSeries::Assign(Source);
}

void TVolumeSeries::SetSeriesColor(TColor Value) {
  TCustomSeries::SetSeriesColor(Value);
  Pen()->SetColor(Value);
}

int TVolumeSeries::BasePixel() {
  TChartAxis* axis = GetVertAxis();
  if (FUseYOrigin) return VertPixelOf(FYOrigin);
  return axis->Inverted() ? axis->StartPixel : axis->EndPixel;
}

void TVolumeSeries::DrawPoint(int Index) {
  if (!FParentChart) return;
  TCanvas3D* canvas = FParentChart->PanelCanvas();
  const TColor c = PointColor(Index);
  if (Index == FirstDrawnIndex()) PenSelections = 0;
  if (Index == FirstDrawnIndex() || c != FLastColor) {
    canvas->ApplyPenWithColor(Pen(), c);
    canvas->SetBackgroundMode(TRANSPARENT);
    FLastColor = c;
    ++PenSelections;
  }
  const int x = PointXPixel(Index), y = PointYPixel(Index), base = BasePixel();
  if (FParentChart->View3D()) canvas->VerticalLine3D(x, base, y, MiddleZ);
  else canvas->VerticalLine(x, base, y);
}

void TVolumeSeries::PaintLegendSymbol(int, const TRect& R) {
  if (!FParentChart) return;
  TCanvas3D* canvas = FParentChart->PanelCanvas();
  canvas->ApplyPenWithColor(Pen(), SeriesColor());
  const int y = (R.Top + R.Bottom) / 2;
  canvas->HorizontalLine(R.Left, R.Right, y);
}

int TVolumeSeries::IndexAtPoint(int X, int Y) {
  if (FirstVisible < 0 || !FParentChart) return -1;
  const int base = BasePixel();
  for (int i = FirstVisible; i <= LastVisible && i < PointCount(); ++i) {
    const int x = PointXPixel(i);
    if (PointNearSegmentPoints(TPoint{X, Y}, TPoint{x, base}, TPoint{x, PointYPixel(i)}, Pen()->Width() - 1))
      return i;
  }
  return -1;
}

void TVolumeSeries::EnumGalleryStyles(const std::function<void(const std::string&)>& Proc) {
  TCustomSeries::EnumGalleryStyles(Proc);
  for (const char* s : {"Dotted", "Colors", "Origin"}) Proc(s);
}

void TVolumeSeries::ApplyGalleryStyle(TChartSeries* Series, int Index) {
  auto* v = dynamic_cast<TVolumeSeries*>(Series);
  if (!v) return;
  switch (Index) {
    case 0: v->Pen()->SetSmallDots(true); break;
    case 1: v->SetColorEachPoint(true); break;
    case 2: v->SetUseYOrigin(true); break;
    default: break;
  }
}

void TVolumeSeries::GenerateRandomPoints(int Count, bool) {
  double minX, stepX, minY, span, firstY;
  PrepareSampleRange(Count, minX, stepX, minY, span, firstY);
  for (int i = 0; i < Count; ++i)
    AddXYPoint(minX + i * stepX, RandomInteger(std::max(1, static_cast<int>(span) / 15)), "", clDefault);
}

// ============================================================================
// Point and figure

ZV_CLASS_IMPL(TPointFigureSeries, TOHLCSeries)

void TPointFigureSeries::DeclareProperties(TClassInfo& c) {
  using S = TPointFigureSeries;
  c.Float<S>("BoxSize", ftDouble, &S::BoxSize, &S::SetBoxSize, 1.0L);
  c.Object<S, TSeriesPointer>("DownSymbol", &S::DownSymbol, &S::SetDownSymbol);
  c.Float<S>("ReversalAmount", ftDouble, &S::ReversalAmount, &S::SetReversalAmount, 3.0L);
  c.Object<S, TSeriesPointer>("UpSymbol", &S::UpSymbol, &S::SetUpSymbol);
}

TPointFigureSeries::TPointFigureSeries(TComponent* AOwner) : TOHLCSeries(AOwner) {
  FUp = std::make_unique<TSeriesPointer>(this);
  FUp->SetStyle(psDiagCross);
  FUp->SetBrushColor(TColor(32768));
  FDown = std::make_unique<TSeriesPointer>(this);
  FDown->SetStyle(psCircle);
  FDown->SetBrushColor(clRed);
  FXValues->SetDefaultDateTime(false);
}

TPointFigureSeries::~TPointFigureSeries() = default;

void TPointFigureSeries::SetParentChart(TCustomAxisPanel* Value) {
  TOHLCSeries::SetParentChart(Value);
  if (!FDestroyingSeries) {
    FUp->AttachToPanel(Value);
    FDown->AttachToPanel(Value);
  }
}

TColor TPointFigureSeries::LegendSymbolColor(int Row) {
  return Row == 1 ? FDown->BrushColor() : FUp->BrushColor();
}

std::string TPointFigureSeries::ComposeLegendText(int Index, TLegendTextStyle) { return Index == 1 ? "Down" : "Up"; }

void TPointFigureSeries::DrawBoxes(TSeriesPointer* Symbol, int Column, double From, double To, bool Draw,
                                   const std::function<void(int, double, bool)>& Boxes) {
  if (!(FBoxSize > 0)) return;
  TCanvas3D* canvas = Draw && FParentChart ? FParentChart->PanelCanvas() : nullptr;
  const int x = canvas ? HorizPixelOf(Column) : 0;
  // Bounded: a box is drawn for every BoxSize of the span only.
  for (double v = From; v <= To; v += FBoxSize) {
    if (Boxes) Boxes(Column, v, Symbol == FUp.get());
    if (canvas) {
      const TColor color = Symbol->BrushColor();
      Symbol->SetupCanvas(canvas, color);
      Symbol->DrawShapeAt(canvas, FParentChart->View3D(), x, VertPixelOf(v), Symbol->HorizSize(),
                          Symbol->VertSize(), color, Symbol->Style());
    }
  }
}

int TPointFigureSeries::BuildColumns(bool Draw, const std::function<void(int, double, bool)>& Boxes) {
  if (PointCount() == 0) return 0;
  const double r = FReversalAmount * FBoxSize;
  double low = FLowValues->GetValue(0), high = FHighValues->GetValue(0);
  int column = 0;
  bool rising = false;
  DrawBoxes(FDown.get(), 0, low, high, Draw, Boxes);
  for (int i = 1; i < PointCount(); ++i) {
    const double hi = FHighValues->GetValue(i), lo = FLowValues->GetValue(i);
    if (!rising) {
      if (lo <= low - FBoxSize) {
        DrawBoxes(FDown.get(), column, lo, low - FBoxSize, Draw, Boxes);
        low = lo;
      } else if (hi >= low + r) {
        ++column;
        rising = true;
        DrawBoxes(FUp.get(), column, low + FBoxSize, hi, Draw, Boxes);
        high = hi;
      }
    } else {
      if (hi >= high + FBoxSize) {
        DrawBoxes(FUp.get(), column, high + FBoxSize, hi, Draw, Boxes);
        high = hi;
      } else if (lo <= high - r) {
        ++column;
        rising = false;
        DrawBoxes(FDown.get(), column, lo, high - FBoxSize, Draw, Boxes);
        low = lo;
      }
    }
  }
  return column + 1;
}

void TPointFigureSeries::DrawVisiblePoints() { BuildColumns(true); }

void TPointFigureSeries::SetupGalleryPreview(bool Enabled) {
  TOHLCSeries::SetupGalleryPreview(Enabled);
  if (!Enabled) {
    for (TSeriesPointer* s : {FUp.get(), FDown.get()}) {
      s->SetBrushColor(TColor(12632256));
      s->Pen()->SetColor(TColor(8421504));
    }
  }
}

// ============================================================================
// Compression

const TEnumInfo& CompressionPeriodEnumInfo() {
  static const TEnumInfo info{"TCompressionPeriod",
                              {"ocDay", "ocWeek", "ocMonth", "ocBiMonth", "ocQuarter", "ocYear", "ocSecond",
                               "ocTenSecond", "ocMinute", "ocTwoMinutes", "ocFiveMinutes", "ocTenMinutes",
                               "ocFifteenMinutes", "ocTwentyMinutes", "ocHalfHour", "ocHour", "ocTwoHours",
                               "ocThreeHour", "ocSixHour", "ocTwelveHour"},
                              0};
  return info;
}

ZV_CLASS_IMPL(TCompressFunction, TGrafFunction)

void TCompressFunction::DeclareProperties(TClassInfo& c) {
  using F = TCompressFunction;
  c.Enum<F>("Compress", CompressionPeriodEnumInfo(), &F::Compress, &F::SetCompress, ocWeek);
  c.Method<F, TCompressGetDate>(
      "OnGetDate", [](F* f) { return f->OnGetDate; }, [](F* f, const TCompressGetDate& e) { f->OnGetDate = e; });
}

TCompressFunction::TCompressFunction(TComponent* AOwner) : TGrafFunction(AOwner) {
  PeriodUsable = false;
  SingleSource = true;
  HideSourceList = true;
}

void TCompressFunction::SetCompress(TCompressionPeriod Value) {
  if (FCompress == Value) return;
  FCompress = Value;
  Recompute();
}

int64_t TCompressFunction::GroupKey(double Date, TCompressionPeriod Period) {
  int year, month, day, hour, minute, second, msec;
  DecodeDate(Date, year, month, day);
  DecodeTime(Date, hour, minute, second, msec);
  const int64_t months = static_cast<int64_t>(year) * 12 + (month - 1);
  const int64_t days = static_cast<int64_t>(std::floor(Date));
  const int64_t hours = days * 24 + hour;
  const int64_t minutes = hours * 60 + minute;
  const int64_t seconds = minutes * 60 + second;
  switch (Period) {
    case ocDay: return days;
    case ocWeek: {
      // The Monday starting the week: days since a Monday, less the weekday.
      const int weekday = (DayOfWeek(Date) + 5) % 7;  // Monday 0 .. Sunday 6
      return days - weekday;
    }
    case ocMonth: return months;
    case ocBiMonth: return year * 6LL + (month - 1) / 2;
    case ocQuarter: return year * 4LL + (month - 1) / 3;
    case ocYear: return year;
    case ocSecond: return seconds;
    case ocTenSecond: return minutes * 6 + second / 10;
    case ocMinute: return minutes;
    case ocTwoMinutes: return hours * 30 + minute / 2;
    case ocFiveMinutes: return hours * 12 + minute / 5;
    case ocTenMinutes: return hours * 6 + minute / 10;
    case ocFifteenMinutes: return hours * 4 + minute / 15;
    case ocTwentyMinutes: return hours * 3 + minute / 20;
    case ocHalfHour: return hours * 2 + minute / 30;
    case ocHour: return hours;
    case ocTwoHours: return days * 12 + hour / 2;
    case ocThreeHour: return days * 8 + hour / 3;
    case ocSixHour: return days * 4 + hour / 6;
    case ocTwelveHour: return days * 2 + hour / 12;
  }
  return days;
}

void TCompressFunction::ComputeFrom(TChartSeries* Source) {
  auto* parent = dynamic_cast<TOHLCSeries*>(ParentSeries());
  if (!parent || !Source) return;
  parent->RemoveAllPoints();
  TChartValueList* v = SourceValueList(Source);
  auto* ohlc = dynamic_cast<TOHLCSeries*>(Source);
  const int p = static_cast<int>(Round(Period()));
  int64_t previous = 0;
  for (int i = 0; i < Source->PointCount(); ++i) {
    const double stored = Source->OtherList()->GetValue(i);
    double date = stored;
    bool start;
    if (p != 0) {
      start = i % p == 0;
    } else {
      if (OnGetDate) OnGetDate(this, Source, i, date);
      const int64_t key = GroupKey(date, FCompress);
      start = i == 0 || key != previous;
      previous = key;
    }
    const double value = v ? v->GetValue(i) : 0;
    const double open = ohlc ? ohlc->OpenValues()->GetValue(i) : value;
    const double high = ohlc ? ohlc->HighValues()->GetValue(i) : value;
    const double low = ohlc ? ohlc->LowValues()->GetValue(i) : value;
    const double close = ohlc ? ohlc->CloseValues()->GetValue(i) : value;
    if (start) {
      const int at = parent->AddOHLCPoint(date, open, high, low, close);
      parent->SetPointLabel(at, Source->PointLabel(i));
    } else {
      // Dates only grow within a group, so the group's point stays last.
      const int last = parent->PointCount() - 1;
      parent->CloseValues()->StoreValue(last, close);
      parent->DateValues()->StoreValue(last, stored);
      if (high > parent->HighValues()->GetValue(last)) parent->HighValues()->StoreValue(last, high);
      if (low < parent->LowValues()->GetValue(last)) parent->LowValues()->StoreValue(last, low);
      parent->SetPointLabel(last, Source->PointLabel(i));
    }
  }
}

void TCompressFunction::SetupGalleryPreview(TCustomAxisPanel* Chart) {
  if (!Chart) return;
  Chart->DestroySeriesOfClass(nullptr);
  TChartSeries* s = CreateChartSeries(Chart, Chart, &TCandleSeries::StaticClass(), &TCompressFunction::StaticClass());
  if (s) s->SetupGalleryPreview(true);
}

// ============================================================================
// Stochastic and RSI

ZV_CLASS_IMPL_NOPROPS(TStochasticFunction, TGrafMovingFunction)

TStochasticFunction::TStochasticFunction(TComponent* AOwner) : TGrafMovingFunction(AOwner) { HideSourceList = true; }

double TStochasticFunction::ComputeValue(TChartSeries* Source, int First, int Last) {
  TChartValueList* v = SourceValueList(Source);
  if (!v || First < 0 || Last >= v->Count()) return 0;
  TChartValueList* lows = Source->ValueListByName("Low");
  TChartValueList* highs = Source->ValueListByName("High");
  if (!lows) lows = Source->MainList();
  if (!highs) highs = Source->MainList();
  double lowest = lows->GetValue(First), highest = highs->GetValue(First);
  for (int k = First + 1; k <= Last; ++k) {
    lowest = std::min(lowest, lows->GetValue(k));
    highest = std::max(highest, highs->GetValue(k));
  }
  return highest == lowest ? 0 : (v->GetValue(Last) - lowest) / (highest - lowest) * 100;
}

const TEnumInfo& RSIStyleEnumInfo() {
  static const TEnumInfo info{"TRSIStyle", {"rsiOpenClose", "rsiClose"}, 0};
  return info;
}

ZV_CLASS_IMPL(TRSIFunction, TGrafMovingFunction)

void TRSIFunction::DeclareProperties(TClassInfo& c) {
  using F = TRSIFunction;
  c.Enum<F>("Style", RSIStyleEnumInfo(), &F::Style, &F::SetStyle, rsiOpenClose);
}

TRSIFunction::TRSIFunction(TComponent* AOwner) : TGrafMovingFunction(AOwner) { HideSourceList = true; }

void TRSIFunction::SetStyle(TRSIStyle Value) {
  if (FStyle == Value) return;
  FStyle = Value;
  Recompute();
}

double TRSIFunction::ComputeValue(TChartSeries* Source, int First, int Last) {
  TChartValueList* closes = Source->ValueListByName("Close");
  TChartValueList* opens = Source->ValueListByName("Open");
  if (!closes || !opens || First < 0 || Last >= closes->Count()) return 0;
  double up = 0, down = 0;
  if (FStyle == rsiOpenClose) {
    // The close values themselves, as the indicator is defined here.
    for (int k = First; k <= Last; ++k) {
      if (opens->GetValue(k) > closes->GetValue(k)) down += closes->GetValue(k);
      else up += closes->GetValue(k);
    }
  } else {
    for (int k = First + 1; k <= Last; ++k) {
      const double d = closes->GetValue(k) - closes->GetValue(k - 1);
      if (d >= 0) up += d;
      else down -= d;
    }
  }
  const int n = Last - First + 1;
  up /= n;
  down /= n;
  if (down == 0) return 100;
  return std::clamp(100 - 100 / (std::fabs(up / down) + 1), 0.0, 100.0);
}

// ============================================================================
// ADX

ZV_CLASS_IMPL(TADXFunction, TGrafFunction)

void TADXFunction::DeclareProperties(TClassInfo& c) {
  using F = TADXFunction;
  c.Object<F, TChartPen>("DownLinePen", &F::DownLinePen, &F::SetDownLinePen);
  c.Object<F, TChartPen>("UpLinePen", &F::UpLinePen, &F::SetUpLinePen);
}

TADXFunction::TADXFunction(TComponent* AOwner) : TGrafFunction(AOwner) {
  StorePeriod(14);
  SingleSource = true;
  HideSourceList = true;
  auto* up = new TFastLineSeries(nullptr);
  up->SetSeriesColor(TColor(32768));
  auto* down = new TFastLineSeries(nullptr);
  down->SetSeriesColor(clRed);
  FUp = std::make_unique<THiddenSeriesLink>(up);
  FDown = std::make_unique<THiddenSeriesLink>(down);
}

TADXFunction::~TADXFunction() = default;

void TADXFunction::SetUpLinePen(TChartPen* Value) {
  if (Value && UpLine()) UpLine()->Pen()->Assign(Value);
}
void TADXFunction::SetDownLinePen(TChartPen* Value) {
  if (Value && DownLine()) DownLine()->Pen()->Assign(Value);
}

void TADXFunction::ComputeFrom(TChartSeries* Source) {
  TChartSeries* parent = ParentSeries();
  if (!parent || !Source || Period() < 2) return;
  TChartSeries* up = UpLine();
  TChartSeries* down = DownLine();
  parent->RemoveAllPoints();
  for (TChartSeries* s : {up, down}) {
    if (!s) continue;
    s->RemoveAllPoints();
    PlaceBesideParent(parent, s);
  }
  const int n = Source->PointCount();
  const int p = static_cast<int>(Round(Period()));
  if (2 * Period() > n) return;
  TChartValueList* high = Source->ValueListByName("High");
  TChartValueList* low = Source->ValueListByName("Low");
  TChartValueList* close = Source->ValueListByName("Close");
  TChartValueList* xs = Source->OtherList();
  if (!high || !low || !close) return;
  std::vector<double> tr(n, 0), pdm(n, 0), mdm(n, 0);
  for (int i = 1; i < n; ++i) {
    tr[i] = std::max({high->GetValue(i) - low->GetValue(i), std::fabs(high->GetValue(i) - close->GetValue(i - 1)),
                      std::fabs(low->GetValue(i) - close->GetValue(i - 1))});
    const double u = high->GetValue(i) - high->GetValue(i - 1);
    const double d = low->GetValue(i - 1) - low->GetValue(i);
    pdm[i] = d >= u ? 0 : std::max(u, 0.0);
    mdm[i] = u >= d ? 0 : std::max(d, 0.0);
  }
  std::vector<double> pdi, mdi;
  double str = 0, spdm = 0, smdm = 0;
  for (int i = 1; i <= p; ++i) {
    str += tr[i];
    spdm += pdm[i];
    smdm += mdm[i];
  }
  for (int i = p; i < n; ++i) {
    if (i > p) {
      str = str - str / Period() + tr[i];
      spdm = spdm - spdm / Period() + pdm[i];
      smdm = smdm - smdm / Period() + mdm[i];
    }
    const double plus = str == 0 ? 0 : spdm / str * 100;
    const double minus = str == 0 ? 0 : smdm / str * 100;
    pdi.push_back(plus);
    mdi.push_back(minus);
    if (up) up->AddXYPoint(xs->GetValue(i), plus, "", clDefault);
    if (down) down->AddXYPoint(xs->GetValue(i), minus, "", clDefault);
  }
  auto dx = [&](int k) {
    const double a = pdi[k - p], b = mdi[k - p];
    return a + b == 0 ? 0 : std::fabs(a - b) * 100 / (a + b);
  };
  double adx = 0;
  for (int k = p; k <= 2 * p - 2; ++k) adx += dx(k);
  adx /= Period() - 1;
  for (int j = 2 * p - 2; j < n; ++j) {
    if (j > 2 * p - 2) adx = (dx(j) + (Period() - 1) * adx) / Period();
    parent->AddXYPoint(xs->GetValue(j), adx, "", clDefault);
  }
}

// ============================================================================
// MACD

ZV_CLASS_IMPL(TMACDFunction, TGrafMovingFunction)

void TMACDFunction::DeclareProperties(TClassInfo& c) {
  using F = TMACDFunction;
  c.Object<F, TChartPen>("HistogramPen", &F::HistogramPen, &F::SetHistogramPen);
  c.Object<F, TChartPen>("MACDExpPen", &F::MACDExpPen, &F::SetMACDExpPen);
  c.Object<F, TChartPen>("MACDPen", &F::MACDPen, &F::SetMACDPen);
  c.Float<F>("Period2", ftDouble, &F::Period2, &F::SetPeriod2, 12.0L);
  c.Integer<F>("Period3", &F::Period3, &F::SetPeriod3, 9);
}

TMACDFunction::TMACDFunction(TComponent* AOwner) : TGrafMovingFunction(AOwner) {
  StorePeriod(26);
  auto* signal = new TFastLineSeries(nullptr);
  signal->SetSeriesColor(TColor(32768));
  auto* histogram = new TVolumeSeries(nullptr);
  histogram->SetSeriesColor(clRed);
  histogram->SetUseYOrigin(true);
  histogram->SetYOrigin(0);
  FSignal = std::make_unique<THiddenSeriesLink>(signal);
  FHistogram = std::make_unique<THiddenSeriesLink>(histogram);
}

TMACDFunction::~TMACDFunction() = default;

void TMACDFunction::SetPeriod2(double Value) {
  if (FPeriod2 == Value) return;
  FPeriod2 = Value < 1 ? 1 : Value;
  Recompute();
}

void TMACDFunction::SetPeriod3(int Value) {
  if (Value < 0) throw ChartException(GrafMsgExPeriodMustBe0);
  if (FPeriod3 == Value) return;
  FPeriod3 = Value;
  Recompute();
}

void TMACDFunction::SetMACDPen(TChartPen* Value) {
  if (Value && ParentSeries()) ParentSeries()->Pen()->Assign(Value);
}
void TMACDFunction::SetMACDExpPen(TChartPen* Value) {
  if (Value && SignalLine()) SignalLine()->Pen()->Assign(Value);
}
void TMACDFunction::SetHistogramPen(TChartPen* Value) {
  if (Value && Histogram()) Histogram()->Pen()->Assign(Value);
}

void TMACDFunction::SeriesCleared() {
  if (SignalLine()) SignalLine()->RemoveAllPoints();
  if (Histogram()) Histogram()->RemoveAllPoints();
}

void TMACDFunction::ComputeFrom(TChartSeries* Source) {
  TChartSeries* parent = ParentSeries();
  if (!parent || !Source) return;
  parent->RemoveAllPoints();
  TChartValueList* v = SourceValueList(Source);
  const int n = v ? v->Count() : 0;
  if (n > 1) {
    std::vector<double> values(n);
    for (int i = 0; i < n; ++i) values[i] = v->GetValue(i);
    const std::vector<double> fast = ExpMovingAverage(values, FPeriod2);
    const std::vector<double> slow = ExpMovingAverage(values, Period());
    for (int i = 0; i < n && i < static_cast<int>(fast.size()) && i < static_cast<int>(slow.size()); ++i)
      parent->AddXYPoint(Source->OtherList()->GetValue(i), fast[i] - slow[i], "", clDefault);
  }
  if (parent->SeriesColor() == clWhite) parent->SetSeriesColor(clBlue);
  // The signal line: the exponential average of the MACD line.
  TChartSeries* signal = SignalLine();
  std::vector<double> macd(parent->PointCount());
  for (int i = 0; i < parent->PointCount(); ++i) macd[i] = parent->YValueAt(i);
  const std::vector<double> smooth = ExpMovingAverage(macd, FPeriod3);
  if (signal) {
    PlaceBesideParent(parent, signal);
    signal->RemoveAllPoints();
    for (size_t i = 0; i < smooth.size(); ++i) signal->AddXYPoint(parent->XValueAt(static_cast<int>(i)), smooth[i]);
  }
  TVolumeSeries* histogram = Histogram();
  if (histogram && histogram->Active()) {
    PlaceBesideParent(parent, histogram);
    histogram->SuspendUpdates();
    histogram->RemoveAllPoints();
    for (size_t i = 0; i < smooth.size(); ++i)
      histogram->AddXYPoint(parent->XValueAt(static_cast<int>(i)), macd[i] - smooth[i]);
    histogram->ResumeUpdates();
  }
}

// ============================================================================
// Volume oscillator, CCI, OBV, CLV

ZV_CLASS_IMPL(TPVOFunction, TGrafFunction)

void TPVOFunction::DeclareProperties(TClassInfo& c) {
  using F = TPVOFunction;
  c.Boolean<F>("Percentage", &F::Percentage, &F::SetPercentage, true);
  c.Integer<F>("Period2", &F::Period2, &F::SetPeriod2, 26);
}

TPVOFunction::TPVOFunction(TComponent* AOwner) : TGrafFunction(AOwner) {
  StorePeriod(12);
  PeriodUsable = false;
  SingleSource = true;
  HideSourceList = true;
}

void TPVOFunction::SetPercentage(bool Value) {
  FPercentage = Value;
  Recompute();
}

void TPVOFunction::SetPeriod2(int Value) {
  FPeriod2 = Value;
  Recompute();
}

void TPVOFunction::ComputeFrom(TChartSeries* Source) {
  TChartSeries* parent = ParentSeries();
  if (!parent || !Source) return;
  parent->RemoveAllPoints();
  TChartValueList* v = SourceValueList(Source);
  if (!(Period() > 0) || !v || v->Count() < 2) return;
  std::vector<double> values(v->Count());
  for (int i = 0; i < v->Count(); ++i) values[i] = v->GetValue(i);
  const std::vector<double> fast = ExpMovingAverage(values, Period());
  const std::vector<double> slow = ExpMovingAverage(values, FPeriod2);
  for (size_t i = 0; i < values.size() && i < fast.size() && i < slow.size(); ++i) {
    const double f = fast[i], s = slow[i];
    // Relative to the fast average, as the oscillator is defined here.
    const double r = FPercentage ? (f == 0 ? s : (f - s) / f) : f - s;
    parent->AddXYPoint(Source->OtherList()->GetValue(static_cast<int>(i)), r * 100, "", clDefault);
  }
}

ZV_CLASS_IMPL(TCCIFunction, TGrafFunction)

void TCCIFunction::DeclareProperties(TClassInfo& c) {
  using F = TCCIFunction;
  c.Float<F>("Constant", ftDouble, &F::Constant, &F::SetConstant, 0.015L);
}

TCCIFunction::TCCIFunction(TComponent* AOwner) : TGrafFunction(AOwner) {
  StorePeriod(20);
  SingleSource = true;
  HideSourceList = true;
}

void TCCIFunction::SetConstant(double Value) {
  if (FConstant == Value) return;
  FConstant = Value;
  Recompute();
}

void TCCIFunction::ComputeFrom(TChartSeries* Source) {
  TChartSeries* parent = ParentSeries();
  if (!parent || !Source) return;
  parent->RemoveAllPoints();
  const int n = Source->PointCount();
  const int p = static_cast<int>(Round(Period()));
  TChartValueList* close = Source->ValueListByName("Close");
  TChartValueList* high = Source->ValueListByName("High");
  TChartValueList* low = Source->ValueListByName("Low");
  if (p < 1 || n < p || !close || !high || !low) return;
  std::vector<double> tp(n), mean(n - p + 1);
  for (int i = 0; i < n; ++i) tp[i] = (close->GetValue(i) + high->GetValue(i) + low->GetValue(i)) / 3;
  for (int k = p - 1; k < n; ++k) {
    double s = 0;
    for (int a = k - p + 1; a <= k; ++a) s += tp[a];
    mean[k - p + 1] = s / p;
  }
  const double c = FConstant == 0 ? 1 : FConstant;
  for (int i = p - 1; i < n; ++i) {
    const double m = mean[i - p + 1];
    double d = 0;
    for (int a = i - p + 1; a <= i; ++a) d += std::fabs(m - tp[a]) / p;
    if (d != 0) parent->AddXYPoint(Source->OtherList()->GetValue(i), (tp[i] - m) / (d * c), "", clDefault);
  }
}

ZV_CLASS_IMPL(TVolumeReadingFunction, TGrafFunction)

void TVolumeReadingFunction::DeclareProperties(TClassInfo& c) {
  using F = TVolumeReadingFunction;
  c.Object<F, TChartSeries>("Volume", &F::Volume, &F::SetVolume);
}

TVolumeReadingFunction::TVolumeReadingFunction(TComponent* AOwner) : TGrafFunction(AOwner) {
  StorePeriod(1);
  PeriodUsable = false;
  SingleSource = true;
  HideSourceList = true;
}

TVolumeReadingFunction::~TVolumeReadingFunction() {
  if (FVolume) FVolume->RemoveFreeNotification(this);
}

void TVolumeReadingFunction::SetVolume(TChartSeries* Value) {
  if (FVolume == Value) return;
  if (FVolume) FVolume->RemoveFreeNotification(this);
  FVolume = Value;
  if (FVolume) FVolume->FreeNotification(this);
  Recompute();
}

void TVolumeReadingFunction::Notification(TComponent* AComponent, TOperation Operation) {
  TGrafFunction::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FVolume) {
    FVolume = nullptr;
    Recompute();
  }
}

TOHLCSeries* TVolumeReadingFunction::AsOHLC(TChartSeries* Source) {
  auto* s = dynamic_cast<TOHLCSeries*>(Source);
  if (!s) throw EInvalidCast("Invalid class typecast");
  return s;
}

ZV_CLASS_IMPL_NOPROPS(TOBVFunction, TVolumeReadingFunction)

void TOBVFunction::ComputeFrom(TChartSeries* Source) {
  TChartSeries* parent = ParentSeries();
  if (!parent || !Source) return;
  parent->RemoveAllPoints();
  if (!FVolume) return;
  TOHLCSeries* s = AsOHLC(Source);
  for (int i = 0; i < s->PointCount() && i < FVolume->PointCount(); ++i) {
    const double v = FVolume->MainList()->GetValue(i);
    double r = v;
    if (i > 0) {
      const double last = parent->MainList()->LastValue();
      r = s->CloseValues()->GetValue(i) > s->OpenValues()->GetValue(i) ? last + v : last - v;
    }
    parent->AddXYPoint(s->DateValues()->GetValue(i), r, "", clDefault);
  }
}

ZV_CLASS_IMPL(TCLVFunction, TVolumeReadingFunction)

void TCLVFunction::DeclareProperties(TClassInfo& c) {
  using F = TCLVFunction;
  c.Boolean<F>("Accumulate", &F::Accumulate, &F::SetAccumulate, true);
}

void TCLVFunction::SetAccumulate(bool Value) {
  if (FAccumulate == Value) return;
  FAccumulate = Value;
  Recompute();
}

void TCLVFunction::ComputeFrom(TChartSeries* Source) {
  TChartSeries* parent = ParentSeries();
  if (!parent || !Source) return;
  parent->RemoveAllPoints();
  TOHLCSeries* s = AsOHLC(Source);
  for (int i = 0; i < s->PointCount(); ++i) {
    const double h = s->HighValues()->GetValue(i), l = s->LowValues()->GetValue(i), c = s->CloseValues()->GetValue(i);
    double clv = h == l ? 1 : ((c - l) - (h - c)) / (h - l);
    if (FVolume && FVolume->PointCount() > i) clv *= FVolume->MainList()->GetValue(i);
    if (FAccumulate && i > 0) clv += parent->MainList()->LastValue();
    parent->AddXYPoint(s->DateValues()->GetValue(i), clv, "", clDefault);
  }
}

// ============================================================================

void RegisterFinancialTypes() {
  static const bool done = [] {
    RegisterStatisticsFunctionTypes();
    RegisterClasses({&TOHLCSeries::StaticClass()});
    RegisterSeriesType(&TCandleSeries::StaticClass(), &GrafMsgExCandle, &GrafMsgExFinancial, 1);
    RegisterSeriesType(&TVolumeSeries::StaticClass(), &GrafMsgExVolume, &GrafMsgExFinancial, 1);
    RegisterSeriesType(&TBigCandleSeries::StaticClass(), &GrafMsgExBigCandle, &GrafMsgExOther, 1);
    RegisterSeriesType(&TPointFigureSeries::StaticClass(), &GrafMsgExPointFigure, &GrafMsgExFinancial, 1);
    RegisterFunctionType(&TCompressFunction::StaticClass(), &GrafMsgExCompression, &GrafMsgExFinancial, 1);
    RegisterFunctionType(&TStochasticFunction::StaticClass(), &GrafMsgExStochastic, &GrafMsgExFinancial, 1);
    RegisterFunctionType(&TRSIFunction::StaticClass(), &GrafMsgExRSI, &GrafMsgExFinancial, 1);
    RegisterFunctionType(&TADXFunction::StaticClass(), &GrafMsgExADX, &GrafMsgExFinancial, 1);
    RegisterFunctionType(&TMACDFunction::StaticClass(), &GrafMsgExMACD, &GrafMsgExFinancial, 1);
    RegisterFunctionType(&TPVOFunction::StaticClass(), &GrafMsgExVolumeOscillator, &GrafMsgExFinancial, 1);
    RegisterFunctionType(&TCCIFunction::StaticClass(), &GrafMsgExCommodityChannelIndex, &GrafMsgExFinancial, 1);
    RegisterFunctionType(&TOBVFunction::StaticClass(), &GrafMsgExOnBalanceVolume, &GrafMsgExFinancial, 1);
    RegisterFunctionType(&TCLVFunction::StaticClass(), &GrafMsgExCloseLocationValue, &GrafMsgExFinancial, 1);
    return true;
  }();
  (void)done;
}

void UnregisterFinancialTypes() {
  UnregisterSeriesTypes({&TCandleSeries::StaticClass(), &TVolumeSeries::StaticClass(),
                         &TBigCandleSeries::StaticClass(), &TPointFigureSeries::StaticClass()});
  UnregisterFunctionTypes({&TCompressFunction::StaticClass(), &TStochasticFunction::StaticClass(),
                           &TRSIFunction::StaticClass(), &TADXFunction::StaticClass(), &TMACDFunction::StaticClass(),
                           &TPVOFunction::StaticClass(), &TCCIFunction::StaticClass(), &TOBVFunction::StaticClass(),
                           &TCLVFunction::StaticClass()});
}
