// Error, error bar and high-low series.
#include "chart/extra/errorbar.h"

#include <algorithm>
#include <cmath>

#include "chart/core/chart.h"
#include "chart/core/grafconst.h"
#include "chart/core/grafutils.h"

namespace {

int Nearest(double v) { return static_cast<int>(std::nearbyint(v)); }

bool Horizontal(TErrorSeriesStyle s) { return s == essLeft || s == essRight || s == essLeftRight; }

}  // namespace

const TEnumInfo& ErrorSeriesStyleEnumInfo() {
  static const TEnumInfo info{
      "TErrorSeriesStyle", {"essLeft", "essRight", "essLeftRight", "essTop", "essBottom", "essTopBottom"}, 0};
  return info;
}

const TEnumInfo& ErrorWidthUnitsEnumInfo() {
  static const TEnumInfo info{"TErrorWidthUnits", {"ewuPercent", "ewuPixels"}, 0};
  return info;
}

// ============================================================================
// TCustomErrorSeries

ZV_CLASS_IMPL(TCustomErrorSeries, TBarSeries)

void TCustomErrorSeries::DeclareProperties(TClassInfo& c) {
  using S = TCustomErrorSeries;
  c.Object<S, TChartPen>("ErrorPen", &S::ErrorPen, &S::SetErrorPen);
  c.Object<S, TChartValueList>("ErrorValues", &S::ErrorValues, &S::SetErrorValues);
  c.Integer<S>("ErrorWidth", &S::ErrorWidth, &S::SetErrorWidth, 100);
  c.Enum<S>("ErrorWidthUnits", ErrorWidthUnitsEnumInfo(), &S::ErrorWidthUnits, &S::SetErrorWidthUnits, ewuPercent);
}

TCustomErrorSeries::TCustomErrorSeries(TComponent* AOwner, bool DrawBars) : TBarSeries(AOwner), FDrawBars(DrawBars) {
  FErrorPen = NewPen();
  FErrorValues = new TChartValueList(this, GrafMsgExStdError);
  FMarks->SetVisible(false);
}

int TCustomErrorSeries::AddErrorBar(double X, double Y, double Error, const std::string& Label, TColor Color) {
  FErrorValues->TempValue = Error;
  return AddXYPoint(X, Y, Label, Color);
}

void TCustomErrorSeries::SetErrorPen(TChartPen* Value) {
  FErrorPen->Assign(Value);
  if (!FDrawBars) SetSeriesColor(FErrorPen->Color());
}

void TCustomErrorSeries::SetErrorStyle(TErrorSeriesStyle Value) {
  if (FErrorStyle == Value) return;
  FErrorStyle = Value;
  RequestRedraw();
}

void TCustomErrorSeries::SetErrorWidthUnits(TErrorWidthUnits Value) {
  if (FErrorWidthUnits == Value) return;
  FErrorWidthUnits = Value;
  RequestRedraw();
}

void TCustomErrorSeries::SetSeriesColor(TColor Value) {
  TBarSeries::SetSeriesColor(Value);
  if (!FDrawBars) FErrorPen->SetColor(Value);
}

double TCustomErrorSeries::LargestY() {
  double result = TBarSeries::LargestY();
  for (int i = 0; i < PointCount(); ++i) {
    const double y = YValueAt(i), e = FErrorValues->GetValue(i);
    if (!FDrawBars) result = i == 0 ? y + e : std::max(result, y + e);
    else if (y >= 0) result = std::max(result, y + e);
  }
  return result;
}

double TCustomErrorSeries::SmallestY() {
  double result = TBarSeries::SmallestY();
  for (int i = 0; i < PointCount(); ++i) {
    const double y = YValueAt(i), e = FErrorValues->GetValue(i);
    if (!FDrawBars) result = i == 0 ? y - e : std::min(result, y - e);
    else if (y < 0) result = std::min(result, y - e);
  }
  return result;
}

void TCustomErrorSeries::GetHorizMargins(int& Left, int& Right) {
  TBarSeries::GetHorizMargins(Left, Right);
  const int w = FErrorPen->Width();
  if (FErrorStyle == essLeft || FErrorStyle == essLeftRight) Left = std::max(Left, w);
  if (FErrorStyle == essRight || FErrorStyle == essLeftRight) Right = std::max(Right, w);
}

void TCustomErrorSeries::GetVertMargins(int& Top, int& Bottom) {
  TBarSeries::GetVertMargins(Top, Bottom);
  const int w = FErrorPen->Width();
  if (FErrorStyle == essTop || FErrorStyle == essTopBottom) Top = std::max(Top, w);
  if (FErrorStyle == essBottom || FErrorStyle == essTopBottom) Bottom = std::max(Bottom, w);
}

void TCustomErrorSeries::DrawWhiskers(int X, int Y, int Length, int CapWidth, bool Is3D) {
  TCanvas3D* canvas = FParentChart->PanelCanvas();
  const int half = CapWidth / 2;
  auto line = [&](int x0, int y0, int x1, int y1) {
    if (Is3D) canvas->LineAtDepth(x0, y0, x1, y1, MiddleZ);
    else canvas->LineFromTo(x0, y0, x1, y1);
  };
  auto horizontal = [&](int t) {
    line(X, Y, t, Y);
    line(t, Y - half, t, Y + half);
  };
  auto vertical = [&](int t) {
    line(X, Y, X, t);
    line(X - half, t, X + half, t);
  };
  switch (FErrorStyle) {
    case essLeft: horizontal(X - Length); break;
    case essRight: horizontal(X + Length); break;
    case essLeftRight:
      horizontal(X - Length);
      horizontal(X + Length);
      break;
    case essTop: vertical(Y - Length); break;
    case essBottom: vertical(Y + Length); break;
    case essTopBottom:
      vertical(Y - Length);
      vertical(Y + Length);
      break;
  }
}

void TCustomErrorSeries::PaintBarShape(int Index, int Top, int Bottom) {
  if (FDrawBars) TBarSeries::PaintBarShape(Index, Top, Bottom);
  const double error = FErrorValues->GetValue(Index);
  if (!FErrorPen->Visible() || error == 0) return;
  TCanvas3D* canvas = FParentChart->PanelCanvas();
  const int left = CurrentBarRect.Left, right = CurrentBarRect.Right;
  const int barWidth = right - left;
  // Cap and length are held to the axis pixel range: a stored width or
  // error far beyond the chart must not overflow the whisker's end points.
  int cap;
  if (FErrorWidth == 0) cap = barWidth;
  else if (FErrorWidthUnits == ewuPixels) cap = ClampAxisPixel(FErrorWidth);
  else cap = ClampAxisPixel(static_cast<double>(FErrorWidth) * barWidth * 0.01);
  const int x = (left + right) / 2;
  const int y = VertPixelOf(FMultiBar == mbStacked100 ? 100 : YValueAt(Index));
  TChartAxis* axis = Horizontal(FErrorStyle) ? FHorizAxisInUse : FVertAxisInUse;
  int length = axis ? ClampAxisPixel(axis->SizeToPixels(std::fabs(error))) : 0;
  if (FDrawBars && YValueAt(Index) < FYOrigin) length = -length;
  canvas->ApplyPenWithColor(FErrorPen.get(), FDrawBars ? FErrorPen->Color() : PointColor(Index));
  canvas->SetBackgroundMode(TRANSPARENT);
  DrawWhiskers(x, y, length, cap, FParentChart->View3D());
}

void TCustomErrorSeries::PaintLegendSymbol(int Row, const TRect& R) {
  if (!FParentChart) return;
  TCanvas3D* canvas = FParentChart->PanelCanvas();
  const TColor c = (FDrawBars || Row == -1) ? FErrorPen->Color() : LegendSymbolColor(Row);
  if (FErrorPen->Visible()) canvas->ApplyPenWithColor(FErrorPen.get(), c);
  else canvas->CanvasPen()->SetStyle(psClear);
  DrawWhiskers((R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2, (R.Bottom - R.Top) / 2 - 1, R.Right - R.Left, false);
}

void TCustomErrorSeries::GenerateRandomPoints(int Count, bool) {
  double x, step, minY, span, firstY;
  PrepareSampleRange(Count, x, step, minY, span, firstY);
  const int range = std::max(1, Nearest(span));
  for (int i = 0; i < Count; ++i) {
    AddErrorBar(x, RandomInteger(range), span / (RandomInteger(4) + 20), "", clDefault);
    x += step;
  }
}

void TCustomErrorSeries::SetupGalleryPreview(bool Enabled) {
  TBarSeries::SetupGalleryPreview(Enabled);
  TColor c = clSilver;
  if (Enabled && FParentChart) c = FParentChart->PaletteColor(std::max(0, FParentChart->SeriesList()->IndexOf(this)));
  FErrorPen->SetColor(c);
  SetSeriesColor(c);
  if (FDrawBars) FErrorPen->SetWidth(2);
}

// ============================================================================
// TErrorSeries, TErrorBarSeries

ZV_CLASS_IMPL(TErrorSeries, TCustomErrorSeries)

void TErrorSeries::DeclareProperties(TClassInfo& c) {
  using S = TErrorSeries;
  c.Enum<S>("ErrorStyle", ErrorSeriesStyleEnumInfo(), &S::ErrorStyle, &S::SetErrorStyle, essTopBottom);
}

ZV_CLASS_IMPL_NOPROPS(TErrorBarSeries, TCustomErrorSeries)

TErrorBarSeries::TErrorBarSeries(TComponent* AOwner) : TCustomErrorSeries(AOwner, true) { SetErrorStyle(essTop); }

// ============================================================================
// THighLowSeries

ZV_CLASS_IMPL(THighLowSeries, TChartSeries)

void THighLowSeries::DeclareProperties(TClassInfo& c) {
  using S = THighLowSeries;
  c.Object<S, TChartBrush>("HighBrush", &S::HighBrush, &S::SetHighBrush);
  c.Object<S, TChartPen>("HighPen", &S::HighPen, &S::SetHighPen);
  c.Object<S, TChartValueList>("HighValues", &S::HighValues, &S::SetHighValues);
  c.Object<S, TChartBrush>("LowBrush", &S::LowBrush, &S::SetLowBrush);
  c.Object<S, TChartPen>("LowPen", &S::LowPen, &S::SetLowPen);
  c.Object<S, TChartValueList>("LowValues", &S::LowValues, &S::SetLowValues);
  c.Object<S, TChartPen>("Pen", &S::Pen, [](S* s, TChartPen* p) { s->SetPen(p); });
  c.Integer<S>("Transparency", &S::Transparency, &S::SetTransparency, 0);
}

THighLowSeries::THighLowSeries(TComponent* AOwner) : TChartSeries(AOwner) {
  FLowValues = new TChartValueList(this, GrafMsgExLow);
  FHighPen = NewPen();
  FLowPen = NewPen();
  FLowBrush = std::make_unique<TChartBrush>([this](TObject*) { RequestRedraw(); });
  Brush()->SetStyle(bsClear);
  FLowBrush->SetStyle(bsClear);
  Pen()->SetColor(clDefault);
  CalcVisibleRange = false;
}

THighLowSeries::~THighLowSeries() {
  if (FParentChart) TChartSeries::SetParentChart(nullptr);
}

int THighLowSeries::AddHighLow(double X, double High, double Low) {
  FLowValues->TempValue = Low;
  return AddXYPoint(X, High, "", clDefault);
}

double THighLowSeries::LargestY() {
  if (PointCount() == 0) return TChartSeries::LargestY();
  return std::max(YValues()->MaxValue(), FLowValues->MaxValue());
}

double THighLowSeries::SmallestY() {
  if (PointCount() == 0) return TChartSeries::SmallestY();
  return std::min(YValues()->MinValue(), FLowValues->MinValue());
}

void THighLowSeries::DrawVisiblePoints() {
  FPrevIndex = -1;
  TChartSeries::DrawVisiblePoints();
}

void THighLowSeries::DrawPoint(int Index) {
  if (!FParentChart) return;
  TCanvas3D* canvas = FParentChart->PanelCanvas();
  const bool is3D = FParentChart->View3D();
  const int x = PointXPixel(Index);
  const int high = PointYPixel(Index);
  const int low = VertPixelOf(FLowValues->GetValue(Index));
  const int prev = FPrevIndex;
  if (prev >= 0) {
    const bool nulls = PointIsNull(Index) || PointIsNull(prev);
    if (!nulls) {
      TChartBrush* brush = YValueAt(Index) > FLowValues->GetValue(Index) ? Brush() : FLowBrush.get();
      if (brush->Style() != bsClear) {
        canvas->ApplyBrush(brush, PointColor(prev), brush->Color());
        canvas->CanvasPen()->SetStyle(psClear);
        const TPoint quad[4] = {Point(FPrevX, FPrevHigh), Point(FPrevX, FPrevLow), Point(x, low), Point(x, high)};
        std::unique_ptr<TGrafBlend> blend;
        if (FTransparency > 0) {
          TPoint projected[4];
          for (int k = 0; k < 4; ++k) projected[k] = canvas->ProjectPointAtDepth(quad[k], MiddleZ);
          blend = canvas->BeginBlending(ExclusiveBoundsOfPoints(projected, 4), FTransparency);
        }
        if (is3D) canvas->PolygonWithZ(quad, MiddleZ);
        else canvas->Polygon(quad);
        if (blend) canvas->EndBlending(std::move(blend));
      }
      auto line = [&](TChartPen* pen, int y0, int y1) {
        if (!pen->Visible()) return;
        canvas->ApplyPen(pen);
        if (is3D) canvas->LineAtDepth(FPrevX, y0, x, y1, MiddleZ);
        else canvas->LineFromTo(FPrevX, y0, x, y1);
      };
      line(FHighPen.get(), FPrevHigh, high);
      line(FLowPen.get(), FPrevLow, low);
    }
    if (Pen()->Visible()) {
      auto vertical = [&](int px, int h, int l, int index) {
        canvas->ApplyPenWithColor(Pen(), Pen()->Color() == clDefault ? PointColor(index) : Pen()->Color());
        if (is3D) canvas->LineAtDepth(px, h, px, l, MiddleZ);
        else canvas->LineFromTo(px, h, px, l);
      };
      if (!PointIsNull(prev)) vertical(FPrevX, FPrevHigh, FPrevLow, prev);
      const int lastDrawn = DrawsAscending() ? LastVisible : FirstVisible;
      if (Index == lastDrawn && !PointIsNull(Index)) vertical(x, high, low, Index);
    }
  }
  FPrevX = x;
  FPrevHigh = high;
  FPrevLow = low;
  FPrevIndex = Index;
}

int THighLowSeries::IndexAtPoint(int X, int Y) {
  if (!FParentChart || FirstVisible < 0) return -1;
  TCanvas3D* canvas = FParentChart->PanelCanvas();
  TPoint prevHigh, prevLow;
  for (int i = FirstVisible; i <= LastVisible; ++i) {
    const int x = PointXPixel(i);
    const TPoint high = canvas->ProjectPointAtDepth(Point(x, PointYPixel(i)), MiddleZ);
    const TPoint low = canvas->ProjectPointAtDepth(Point(x, VertPixelOf(FLowValues->GetValue(i))), MiddleZ);
    if (i > FirstVisible) {
      const TPoint quad[4] = {prevHigh, prevLow, low, high};
      if (PointInsidePolygon(Point(X, Y), quad, 3)) return i;
    }
    prevHigh = high;
    prevLow = low;
  }
  return -1;
}

void THighLowSeries::EnumGalleryStyles(const std::function<void(const std::string&)>& Proc) {
  TChartSeries::EnumGalleryStyles(Proc);
  for (const std::string& t : {GrafMsgFilled, GrafMsgNoLines, GrafMsgExNoHigh, GrafMsgExNoLow}) Proc(t);
}

void THighLowSeries::ApplyGalleryStyle(TChartSeries* Series, int Index) {
  auto* s = dynamic_cast<THighLowSeries*>(Series);
  if (!s) return;
  switch (Index) {
    case 1: s->HighBrush()->SetStyle(bsSolid); break;
    case 2: s->Pen()->SetVisible(false); break;
    case 3: s->HighPen()->SetVisible(false); break;
    case 4: s->LowPen()->SetVisible(false); break;
    default: break;
  }
}

void THighLowSeries::GenerateRandomPoints(int Count, bool) {
  double x, step, minY, span, y;
  PrepareSampleRange(Count, x, step, minY, span, y);
  const int fifth = std::max(1, Nearest(span / 5));
  for (int i = 0; i < Count; ++i) {
    const double high = y + RandomInteger(fifth) - span / 10;
    const double low = high - RandomInteger(fifth);
    AddHighLow(x, high, low);
    y = high;
    x += step;
  }
}

bool THighLowSeries::AcceptsSeriesAsSource(TChartSeries* Series) {
  return dynamic_cast<THighLowSeries*>(Series) != nullptr && TChartSeries::AcceptsSeriesAsSource(Series);
}
