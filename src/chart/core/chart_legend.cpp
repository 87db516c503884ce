// The legend: series or values with symbols and two text columns, laid out
// in one column or several, paged with the chart, with check boxes or radio
// buttons for series, and the row under a point.
#include <algorithm>
#include <cmath>

#include "chart/core/chart.h"
#include "chart/core/grafconst.h"
#include "chart/core/grafhtml.h"
#include "platform/rtl/mathutils.h"
#include "platform/ui/streaming.h"

const TEnumInfo& LegendAlignmentEnumInfo() {
  static const TEnumInfo info{"TLegendAlignment", {"laLeft", "laRight", "laTop", "laBottom"}, 0};
  return info;
}

const TEnumInfo& LegendStyleEnumInfo() {
  static const TEnumInfo info{"TLegendStyle", {"lsAuto", "lsSeries", "lsValues", "lsLastValues"}, 0};
  return info;
}

const TEnumInfo& CheckBoxesStyleEnumInfo() {
  static const TEnumInfo info{"TCheckBoxesStyle", {"cbsCheck", "cbsRadio"}, 0};
  return info;
}

const TEnumInfo& LegendSymbolPositionEnumInfo() {
  static const TEnumInfo info{"TLegendSymbolPosition", {"spLeft", "spRight"}, 0};
  return info;
}

const TEnumInfo& LegendSymbolSizeEnumInfo() {
  static const TEnumInfo info{"TLegendSymbolSize", {"lcsPercent", "lcsPixels"}, 0};
  return info;
}

// ---- Gradient, symbol, items, title ------------------------------------------------------

ZV_CLASS_IMPL(TChartLegendGradient, TGrafGradient)

void TChartLegendGradient::DeclareProperties(TClassInfo& c) {
  using G = TChartLegendGradient;
  c.Enum<G>("Direction", GradientDirectionEnumInfo(), &G::Direction, &G::SetDirection, gdRightLeft);
  c.Integer<G>("EndColor", &G::EndColor, &G::SetEndColor, clWhite).WithIdents(&ColorIdents());
  c.Integer<G>("StartColor", &G::StartColor, &G::SetStartColor, clSilver).WithIdents(&ColorIdents());
}

TChartLegendGradient::TChartLegendGradient(TNotifyEvent OnChange) : TGrafGradient(std::move(OnChange)) {
  SetDirection(gdRightLeft);
  SetEndColor(clWhite);
  SetStartColor(clSilver);
}

ZV_CLASS_IMPL(TLegendSymbol, TPersistent)

void TLegendSymbol::DeclareProperties(TClassInfo& c) {
  using S = TLegendSymbol;
  c.Boolean<S>("Continuous", &S::Continuous, &S::SetContinuous, false);
  c.Boolean<S>("DefaultPen", &S::DefaultPen, &S::SetDefaultPen, true);
  c.Object<S, TGrafGradient>("Gradient", &S::Gradient, [](S* s, TGrafGradient* g) { s->SetGradient(g); });
  c.Object<S, TChartPen>("Pen", &S::Pen, &S::SetPen);
  c.Enum<S>("Position", LegendSymbolPositionEnumInfo(), &S::Position, &S::SetPosition, spLeft);
  c.Boolean<S>("Squared", &S::Squared, &S::SetSquared, false);
  c.Boolean<S>("Visible", &S::Visible, &S::SetVisible, true);
  c.Integer<S>("Width", &S::Width, &S::SetWidth, 20);
  c.Enum<S>("WidthUnits", LegendSymbolSizeEnumInfo(), &S::WidthUnits, &S::SetWidthUnits, lcsPercent);
}

TLegendSymbol::TLegendSymbol(TCustomChartLegend* Legend) : FLegend(Legend) {
  FPen = std::make_unique<TChartPen>([this](TObject*) { Changed(); });
  FGradient = std::make_unique<TGrafGradient>([this](TObject*) { Changed(); });
}

TLegendSymbol::~TLegendSymbol() = default;

void TLegendSymbol::Changed() {
  if (FLegend && FLegend->ParentPanel()) FLegend->ParentPanel()->Invalidate();
}

void TLegendSymbol::Assign(TPersistent* Source) {
  if (auto* other = dynamic_cast<TLegendSymbol*>(Source)) {
    FContinuous = other->FContinuous;
    FDefaultPen = other->FDefaultPen;
    FGradient->Assign(other->FGradient.get());
    FPen->Assign(other->FPen.get());
    FPosition = other->FPosition;
    FSquared = other->FSquared;
    FVisible = other->FVisible;
    FWidth = other->FWidth;
    FWidthUnits = other->FWidthUnits;
    return;
  }
  TPersistent::Assign(Source);
}

#define ZV_SYMBOL_SETTER(Name, Type, Field) \
  void TLegendSymbol::Set##Name(Type Value) { \
    if (Field == Value) return;              \
    Field = Value;                           \
    Changed();                               \
  }
ZV_SYMBOL_SETTER(Continuous, bool, FContinuous)
ZV_SYMBOL_SETTER(DefaultPen, bool, FDefaultPen)
ZV_SYMBOL_SETTER(Position, TLegendSymbolPosition, FPosition)
ZV_SYMBOL_SETTER(Squared, bool, FSquared)
ZV_SYMBOL_SETTER(Visible, bool, FVisible)
ZV_SYMBOL_SETTER(Width, int, FWidth)
ZV_SYMBOL_SETTER(WidthUnits, TLegendSymbolSize, FWidthUnits)
#undef ZV_SYMBOL_SETTER

int TLegendSymbol::EffectiveWidth(int W) const {
  if (!FVisible) return 0;
  if (FSquared) return (ItemHeight ? ItemHeight() : 0) - 5;
  if (FWidthUnits == lcsPixels) return FWidth;
  return static_cast<int>(Round(W * FWidth * 0.01));
}

void DrawLegendPointer(TSeriesPointer* Pointer, TColor Color, const TRect& R, bool LineVisible) {
  TChartSeries* series = Pointer->Series();
  TCustomAxisPanel* panel = series ? series->ParentChart() : nullptr;
  if (!panel) return;
  TCanvas3D* canvas = panel->PanelCanvas();
  Pointer->SetupCanvas(canvas, Color);
  auto* chart = dynamic_cast<TCustomChart*>(panel);
  if (chart && !chart->Legend()->Symbol()->DefaultPen()) {
    TChartPen* pen = chart->Legend()->Symbol()->Pen();
    canvas->ApplyPen(pen);
    LineVisible = pen->Visible();
  }
  const int w = R.Right - R.Left, h = R.Bottom - R.Top;
  const int maxH = LineVisible ? w / 3 : w / 2 + 1, maxV = LineVisible ? h / 3 : h / 2 + 1;
  const int hs = std::min(Pointer->HorizSize(), maxH), vs = std::min(Pointer->VertSize(), maxV);
  Pointer->DrawShapeAt(canvas, false, (R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2, hs, vs, Color,
                       Pointer->Style());
}

void TLegendSymbol::PaintSymbolBox(TColor Color, const TRect& R) {
  if (!FLegend || !FLegend->ParentPanel()) return;
  TCanvas3D* canvas = FLegend->ParentPanel()->PanelCanvas();
  canvas->ApplyPen(FPen.get());
  if (FGradient->Visible()) {
    FGradient->SetEndColor(Color);
    FGradient->DrawInRect(canvas, R);
    canvas->CanvasBrush()->SetStyle(bsClear);
  } else {
    canvas->CanvasBrush()->SetStyle(bsSolid);
    canvas->CanvasBrush()->SetColor(clWhite);
  }
  if (FPen->Visible()) canvas->Rectangle(R.Left, R.Top, R.Right, R.Bottom);
}

ZV_CLASS_IMPL(TLegendItem, TPersistent)

void TLegendItem::DeclareProperties(TClassInfo& c) {
  using I = TLegendItem;
  c.String<I>("Text", &I::Text, &I::SetText);
}

void TLegendItem::SetText(const std::string& Value) {
  if (FText == Value) return;
  FText = Value;
  if (FLegend) {
    FLegend->Items()->Custom = true;
    if (FLegend->ParentPanel()) FLegend->ParentPanel()->Invalidate();
  }
}

TLegendItem* TLegendItems::ItemAt(int Index) {
  if (Index < 0) return nullptr;
  if (Index >= Count()) FItems.resize(static_cast<size_t>(Index) + 1);
  auto& item = FItems[static_cast<size_t>(Index)];
  if (!item) item = std::make_unique<TLegendItem>(FLegend);
  return item.get();
}

void TLegendItems::Clear() {
  FItems.clear();
  if (FLegend && FLegend->ParentPanel()) FLegend->ParentPanel()->Invalidate();
}

ZV_CLASS_IMPL(TLegendTitle, TGrafShape)

void TLegendTitle::DeclareProperties(TClassInfo& c) {
  using T = TLegendTitle;
  c.Object<T, TStringList>("Text", &T::Text, &T::SetText);
  c.Enum<T>("TextAlignment", AlignmentEnumInfo(), &T::TextAlignment, &T::SetTextAlignment, taLeftJustify);
  c.Enum<T>("TextFormat", TextFormatEnumInfo(), &T::TextFormat, &T::SetTextFormat, ttfNormal);
  c.Boolean<T>("Transparent", &T::Transparent, &T::SetTransparent, true);
}

TLegendTitle::TLegendTitle(TCustomGrafPanel* Panel) : TGrafShape(Panel) {
  SetShadowDefaults(Shadow());
  SetTransparentByDefault(true);
  SetTransparent(true);
  Font()->SetStyle({fsBold});
  Font()->DefaultStyle = {fsBold};
  FText = std::make_unique<TStringList>();
  FText->OnChange = [this](TObject*) { Repaint(); };
}

void TLegendTitle::SetShadowDefaults(TGrafShadow* AShadow) {
  if (!AShadow) return;
  AShadow->SetColor(clSilver);
  AShadow->SetUniformSize(2);
  AShadow->ColorDefault = clSilver;
  AShadow->SizeDefault = 2;
}

void TLegendTitle::Assign(TPersistent* Source) {
  if (auto* other = dynamic_cast<TLegendTitle*>(Source)) {
    FText->Assign(*other->FText);
    FTextAlignment = other->FTextAlignment;
  }
  TGrafShape::Assign(Source);
}

void TLegendTitle::SetText(TStringList* Value) {
  if (Value) FText->Assign(*Value);
  else FText->Clear();
  Repaint();
}

void TLegendTitle::SetTextAlignment(TAlignment Value) {
  if (FTextAlignment == Value) return;
  FTextAlignment = Value;
  Repaint();
}

int TLegendTitle::TotalWidth() {
  if (!ParentPanel()) return 0;
  TCanvas3D* canvas = ParentPanel()->PanelCanvas();
  canvas->ApplyFont(Font());
  int widest = 0;
  for (int i = 0; i < FText->Count(); ++i) widest = std::max(widest, canvas->TextWidth(FText->Strings(i)));
  int w = widest + canvas->TextWidth("W");
  if (!Transparent()) {
    if (Pen()->Visible()) w += 2 * Pen()->Width();
    if (Shadow()) w += Shadow()->HorizSize();
  }
  return w;
}

int TLegendTitle::TotalHeight() {
  if (!ParentPanel()) return 0;
  TCanvas3D* canvas = ParentPanel()->PanelCanvas();
  canvas->ApplyFont(Font());
  int h = FText->Count() * canvas->TextHeight("W");
  if (!Transparent()) {
    h += 2;
    if (Pen()->Visible()) h += 2 * Pen()->Width();
  }
  return h;
}

void TLegendTitle::DrawText(const TRect& R) {
  if (!ParentPanel()) return;
  TCanvas3D* canvas = ParentPanel()->PanelCanvas();
  canvas->ApplyFont(Font());
  canvas->SetBackgroundMode(TRANSPARENT);
  canvas->SetTextAlignment(TA_LEFT | TA_TOP);
  const int h = canvas->TextHeight("W"), m = canvas->TextWidth("W");
  if (TextFormat() == ttfHtml) {
    std::string all;
    for (int i = 0; i < FText->Count(); ++i) all += (i ? "\r\n" : "") + FText->Strings(i);
    canvas->TextOutMaybeHtml(R.Left + m / 2, R.Top + 1, true, all);
    return;
  }
  for (int i = 0; i < FText->Count(); ++i) {
    const std::string line = FText->Strings(i);
    const int lw = canvas->TextWidth(line);
    int x = R.Left + m / 2;
    if (FTextAlignment == taRightJustify) x = R.Right - lw - m / 2;
    else if (FTextAlignment == taCenter) x = (R.Left + R.Right) / 2 - lw / 2;
    canvas->TextOut(x, R.Top + 1 + i * h, line);
  }
}

// ---- The legend -----------------------------------------------------------------------------

ZV_CLASS_IMPL_NOPROPS(TCustomChartLegend, TGrafCustomShapePosition)

TCustomChartLegend::TCustomChartLegend(TCustomChart* Chart) : TGrafCustomShapePosition(Chart) {
  FSymbol = std::make_unique<TLegendSymbol>(this);
  FSymbol->ItemHeight = [this] { return ItemHeight(); };
  FDividingLines = std::make_unique<TChartHiddenPen>([this](TObject*) { Repaint(); });
  FTitle = std::make_unique<TLegendTitle>(Chart);
  FItems = std::make_unique<TLegendItems>(this);
}

TCustomChartLegend::~TCustomChartLegend() {
  FItems.reset();
  FTitle.reset();
  FSymbol.reset();
  FDividingLines.reset();
}

std::unique_ptr<TGrafGradient> TCustomChartLegend::CreateGradient() { return std::make_unique<TChartLegendGradient>(); }

TCustomChart* TCustomChartLegend::Chart() const { return dynamic_cast<TCustomChart*>(ParentPanel()); }

void TCustomChartLegend::Assign(TPersistent* Source) {
  if (auto* o = dynamic_cast<TCustomChartLegend*>(Source)) {
    FAlignment = o->FAlignment;
    FCheckBoxes = o->FCheckBoxes;
    FCheckBoxesStyle = o->FCheckBoxesStyle;
    FCurrentPage = o->FCurrentPage;
    FDividingLines->Assign(o->FDividingLines.get());
    FFirstValue = o->FFirstValue;
    FFontSeriesColor = o->FFontSeriesColor;
    FHorizMargin = o->FHorizMargin;
    FInverted = o->FInverted;
    FLeftPercent = o->FLeftPercent;
    FLegendStyle = o->FLegendStyle;
    FMaxNumRows = o->FMaxNumRows;
    FPositionUnits = o->FPositionUnits;
    FResizeChart = o->FResizeChart;
    FSymbol->Assign(o->FSymbol.get());
    FTextStyle = o->FTextStyle;
    FTitle->Assign(o->FTitle.get());
    FTopPos = o->FTopPos;
    FTopPercent = o->FTopPercent;
    FVertMargin = o->FVertMargin;
    FVertSpacing = o->FVertSpacing;
    FCustomPosition = o->FCustomPosition;
    if (FCustomPosition) ShapeBox = o->ShapeBox;
  }
  TGrafCustomShapePosition::Assign(Source);
}

namespace {
template <class T>
void StoreRepaint(TCustomChartLegend* Legend, T& Field, T Value) {
  if (Field == Value) return;
  Field = Value;
  if (Legend->ParentPanel()) Legend->ParentPanel()->Invalidate();
}
}  // namespace

void TCustomChartLegend::SetAlignment(TLegendAlignment Value) { StoreRepaint(this, FAlignment, Value); }
void TCustomChartLegend::SetCheckBoxes(bool Value) { StoreRepaint(this, FCheckBoxes, Value); }
void TCustomChartLegend::SetCurrentPage(bool Value) { StoreRepaint(this, FCurrentPage, Value); }
void TCustomChartLegend::SetFontSeriesColor(bool Value) { StoreRepaint(this, FFontSeriesColor, Value); }
void TCustomChartLegend::SetHorizMargin(int Value) { StoreRepaint(this, FHorizMargin, Value); }
void TCustomChartLegend::SetInverted(bool Value) { StoreRepaint(this, FInverted, Value); }
void TCustomChartLegend::SetLeftPercent(int Value) { StoreRepaint(this, FLeftPercent, Value); }
void TCustomChartLegend::SetMaxNumRows(int Value) { StoreRepaint(this, FMaxNumRows, Value); }
void TCustomChartLegend::SetPositionUnits(TGrafUnits Value) { StoreRepaint(this, FPositionUnits, Value); }
void TCustomChartLegend::SetResizeChart(bool Value) { StoreRepaint(this, FResizeChart, Value); }
void TCustomChartLegend::SetTextStyle(TLegendTextStyle Value) { StoreRepaint(this, FTextStyle, Value); }
void TCustomChartLegend::SetTopPos(int Value) { StoreRepaint(this, FTopPos, Value); }
void TCustomChartLegend::SetTopPercent(int Value) { StoreRepaint(this, FTopPercent, Value); }
void TCustomChartLegend::SetVertMargin(int Value) { StoreRepaint(this, FVertMargin, Value); }
void TCustomChartLegend::SetVertSpacing(int Value) { StoreRepaint(this, FVertSpacing, Value); }

void TCustomChartLegend::SetFirstValue(int Value) {
  if (Value < 0) throw LegendException(GrafMsgFirstLegendValueMustBe0);
  StoreRepaint(this, FFirstValue, Value);
}

void TCustomChartLegend::SetLegendStyle(TLegendStyle Value) {
  FLegendStyle = Value;
  ResolvedStyle = ResolveLegendStyle();
  Repaint();
}

void TCustomChartLegend::SetCheckBoxesStyle(TCheckBoxesStyle Value) {
  if (FCheckBoxesStyle == Value) return;
  FCheckBoxesStyle = Value;
  TCustomChart* chart = Chart();
  if (Value == cbsRadio && chart) {
    bool first = true;
    std::vector<TChartSeries*> items(chart->SeriesList()->begin(), chart->SeriesList()->end());
    for (TChartSeries* s : items) {
      if (!s->ShowInLegend() || !s->Active()) continue;
      if (first) first = false;
      else s->SetActive(false);
    }
  }
  Repaint();
}

void TCustomChartLegend::UseSeries(TChartSeries* Value) {
  FSeries = Value;
  Repaint();
}

bool TCustomChartLegend::IsShown() const {
  TCustomChart* chart = Chart();
  return Visible() && (CheckBoxesShown() || (chart && chart->ActiveSeriesCount() > 0));
}

TLegendStyle TCustomChartLegend::ResolveLegendStyle() const {
  if (FLegendStyle != lsAuto) return FLegendStyle;
  TCustomChart* chart = Chart();
  return (FCheckBoxes || (chart && chart->ActiveSeriesCount() > 1)) ? lsSeries : lsValues;
}

bool TCustomChartLegend::CheckBoxesShown() const { return FCheckBoxes && ResolveLegendStyle() != lsValues; }

TChartSeries* TCustomChartLegend::LegendSeries() const {
  if (FSeries) return FSeries;
  TCustomChart* chart = Chart();
  if (!chart) return nullptr;
  TChartSeries* firstActive = chart->FirstActiveSeries();
  if (firstActive && firstActive->ShowInLegend()) return firstActive;
  for (TChartSeries* s : *chart->SeriesList())
    if (s->Active() && s->ShowInLegend()) return s;
  return firstActive;
}

std::string TCustomChartLegend::ValueText(TChartSeries* Series, int Index) {
  if (!Series || Index == -1) return "";
  std::string text = Series->ComposeLegendText(Index, FTextStyle);
  for (char& c : text)
    if (c == LineSeparator) c = ' ';
  return text;
}

std::string TCustomChartLegend::RowText(int Row) {
  TCustomChart* chart = Chart();
  if (!chart) return "";
  switch (ResolveLegendStyle()) {
    case lsSeries: return chart->LegendSeriesTitle(Row, !FCheckBoxes);
    case lsValues: return chart->ValueLegendText(LegendSeries(), Row);
    case lsLastValues: {
      TChartSeries* s = chart->LegendSeriesAt(Row, !FCheckBoxes);
      return s ? chart->ValueLegendText(s, s->LegendEntryCount() - 1) : "";
    }
    default: return "";
  }
}

int TCustomChartLegend::HookedSize(int Size) {
  if (SizeHook) SizeHook(this, Size);
  return Size;
}

int TCustomChartLegend::ItemHeight() {
  TCustomChart* chart = Chart();
  if (!chart) return 0;
  TCanvas3D* canvas = chart->PanelCanvas();
  canvas->ApplyFont(Font());
  int h = canvas->TextHeight("W");
  if (CheckBoxesShown() && h <= 16) h = 17;
  h += FVertSpacing;
  if (StacksVertically() && FDividingLines->Visible()) h += FDividingLines->Width();
  return h;
}

int TCustomChartLegend::FirstRowTop() {
  int top = ShapeBox.Top;
  if (TitleDrawn) {
    top += FTitle->TotalHeight() + 2;
    if (!FTitle->Transparent() && FTitle->Shadow()) top += std::abs(FTitle->Shadow()->VertSize());
  }
  return top;
}

void TCustomChartLegend::BuildRowTexts(int First, int Last) {
  TCustomChart* chart = Chart();
  FRowTexts.clear();
  FRowTextsFirst = First;
  for (int row = First; row <= Last; ++row) {
    const std::string text = chart->LegendRowText(this, row);
    const size_t sep = text.find(LegendColumnSeparator);
    if (sep == std::string::npos) FRowTexts.push_back({text, ""});
    else FRowTexts.push_back({text.substr(0, sep), text.substr(sep + 1)});
  }
}

void TCustomChartLegend::MeasureColumns() {
  TCanvas3D* canvas = Chart()->PanelCanvas();
  canvas->ApplyFont(Font());
  if (AutoColumnWidths) {
    ColumnWidths[0] = ColumnWidths[1] = 0;
    for (size_t k = 0; k < FRowTexts.size(); ++k)
      for (int col = 0; col < 2; ++col) {
        std::string text = FRowTexts[k][static_cast<size_t>(col)];
        if (col == 0 && FItems->Custom && static_cast<int>(k) < FItems->Count()) text = FItems->ItemAt(static_cast<int>(k))->Text();
        const int w = TextFormat() == ttfHtml ? HtmlSubsetExtent(canvas, text).cx : canvas->TextWidth(text);
        ColumnWidths[col] = std::max(ColumnWidths[col], w);
      }
  }
  const int space = canvas->TextWidth(" ");
  FTextWidth = ColumnWidths[0] + ColumnWidths[1] + 2 * space - 1;
}

namespace {
bool RightAlignedColumn(TLegendTextStyle Style, int Column) {
  if (Column == 0)
    return Style == ltsLeftValue || Style == ltsLeftPercent || Style == ltsXValue || Style == ltsValue ||
           Style == ltsPercent || Style == ltsXAndValue || Style == ltsXAndPercent;
  return Style == ltsRightValue || Style == ltsRightPercent || Style == ltsXAndValue || Style == ltsXAndPercent;
}
}  // namespace

void TCustomChartLegend::PaintLegend() {
  TCustomChart* chart = Chart();
  if (!chart) return;
  TCanvas3D* canvas = chart->PanelCanvas();
  ResolvedStyle = ResolveLegendStyle();
  const bool seriesStyle = ResolvedStyle != lsValues;
  const bool cb = CheckBoxesShown();
  int fw = Pen()->Visible() ? Pen()->Width() : 0;
  if (Bevel() != bvNone) fw = BevelWidth();

  if (FCustomPosition && FPositionUnits == muPercent) {
    const int w = ShapeBox.Width(), h = ShapeBox.Height();
    ShapeBox.Left = static_cast<int>(Round(FLeftPercent * chart->Width() * 0.01));
    ShapeBox.Top = static_cast<int>(Round(FTopPercent * chart->Height() * 0.01));
    ShapeBox.Right = ShapeBox.Left + w;
    ShapeBox.Bottom = ShapeBox.Top + h;
  }
  const int perPage = chart->MaxPointsPerPage();
  if (ResolvedStyle == lsValues && FCurrentPage && perPage > 0) FFirstValue = (chart->Page() - 1) * perPage;
  else if (perPage > 0 && ResolvedStyle != lsValues) FFirstValue = 0;

  int total = 0;
  if (seriesStyle) {
    for (TChartSeries* s : *chart->SeriesList())
      if (s->ShowInLegend() && (FCheckBoxes || s->Active())) ++total;
  } else {
    TChartSeries* s = LegendSeries();
    total = s && s->ShowInLegend() ? s->LegendEntryCount() : 0;
  }
  total = std::max(0, total - FFirstValue);
  if (perPage > 0) total = std::min(total, perPage);
  TotalRows = total;

  chart->LegendColor = Color();
  canvas->ApplyFont(Font());
  const int itemH = ItemHeight();
  TitleDrawn = FTitle->Visible() && FTitle->Text()->Count() > 0 && !FTitle->Text()->Text().empty();
  const int titleH = TitleDrawn ? FTitle->TotalHeight() : 0;
  const int titleW = TitleDrawn ? FTitle->TotalWidth() : 0;
  canvas->ApplyFont(Font());
  const int space = canvas->TextWidth(" ");
  const TRect area = chart->ChartArea;
  int sw = 0;

  if (StacksVertically()) {
    if (!FCustomPosition) {
      const int h = ShapeBox.Height();
      ShapeBox.Top = area.Top + static_cast<int>(Round(FTopPos * area.Height() * 0.01));
      ShapeBox.Bottom = ShapeBox.Top + h;
    }
    const int firstTop = FirstRowTop();
    int rows = firstTop >= area.Bottom ? 0 : (area.Height() + area.Top - 2 * fw - firstTop) / std::max(itemH, 1);
    rows = std::max(0, std::min(rows, total));
    Columns = 1;
    Rows = rows;
    LastRow = FFirstValue + std::min(total, rows) - 1;
    BuildRowTexts(FFirstValue, LastRow);
    MeasureColumns();
  } else {
    LastRow = FFirstValue + total - 1;
    BuildRowTexts(FFirstValue, LastRow);
    MeasureColumns();
    sw = FSymbol->EffectiveWidth(FTextWidth);
    if (!FCustomPosition) {
      const int h = ShapeBox.Height();
      if (FAlignment == laBottom) {
        const int shadow = chart->Shadow() ? chart->Shadow()->VertSize() : 0;
        ShapeBox.Bottom = area.Bottom - HookedSize(shadow + fw + 1);
        ShapeBox.Top = ShapeBox.Bottom - h;
      } else {
        ShapeBox.Top = area.Top + fw + 1;
        ShapeBox.Bottom = ShapeBox.Top + h;
      }
    }
    const int itemW = sw + FTextWidth + 8 + (cb ? 27 : 0);
    Columns = area.Right <= 8 || itemW <= 0 ? 0 : (area.Width() - 2 * fw - 8) / itemW;
    Columns = std::max(0, std::min(Columns, total));
    Rows = Columns > 0 ? std::min((total + Columns - 1) / Columns, FMaxNumRows) : 0;
    LastRow = FFirstValue + std::min(total, Columns * Rows) - 1;
    if (static_cast<int>(FRowTexts.size()) > LastRow - FFirstValue + 1)
      FRowTexts.resize(static_cast<size_t>(std::max(0, LastRow - FFirstValue + 1)));
  }
  if (LastRow < FFirstValue) return;

  // Height.
  const int m = static_cast<int>(Round(itemH * 0.1));
  int height = itemH * Rows + 2 + 2 * m;
  if (TitleDrawn) {
    height += titleH + 2;
    if (!FTitle->Transparent() && FTitle->Shadow()) height += std::abs(FTitle->Shadow()->VertSize());
  }
  if (FAlignment == laBottom && !FCustomPosition) ShapeBox.Top = ShapeBox.Bottom - height;
  else ShapeBox.Bottom = ShapeBox.Top + height;

  // Placement.
  const int tw = FTextWidth;
  if (StacksVertically()) {
    sw = FSymbol->EffectiveWidth(tw + 10);
    int w = HookedSize(tw + 10 + sw);
    if (TitleDrawn) w = std::max(w, titleW);
    if (FAlignment == laLeft || FCustomPosition) {
      if (!FCustomPosition) ShapeBox.Left = area.Left + fw + 1;
    } else {
      const int shadow = Shadow() ? Shadow()->HorizSize() : 0;
      const int right = area.Right - shadow - fw - 1;
      ShapeBox.Left = right - w - (cb ? 15 : 0);
    }
    FCheckBoxX = ShapeBox.Left + 4;
    FContentLeft = cb ? ShapeBox.Left + 15 : ShapeBox.Left;
    ShapeBox.Right = FContentLeft + w;
  } else {
    int b = Columns * (tw + sw) + 6 * (Columns - 1) + 16;
    if (cb) b += 13 * Columns + 8;
    if (TitleDrawn) b = std::max(b, titleW);
    const int half = std::min(b, area.Width()) / 2;
    if (!FCustomPosition)
      ShapeBox.Left = static_cast<int>(Round(FTopPos * (area.Width() - 2 * half) * 0.01)) + chart->ChartAreaCenterX - half;
    ShapeBox.Right = ShapeBox.Left + 2 * half;
    FCheckBoxX = ShapeBox.Left + 4;
    FContentLeft = cb ? ShapeBox.Left + 15 : ShapeBox.Left;
  }
  SymbolWidth = sw;
  int symbolX, textX;
  if (FSymbol->Position() == spLeft) {
    symbolX = FContentLeft + 6;
    textX = FContentLeft + 6 + sw + 4;
  } else {
    textX = FContentLeft + 6;
    symbolX = FContentLeft + 6 + tw;
  }
  if (chart->OnGetLegendRect) chart->OnGetLegendRect(chart, ShapeBox);

  PaintRotated(ShapeBox, 0, 0);
  if (TitleDrawn) {
    TRect tr = ShapeBox;
    InflateRect(tr, -2, -2);
    tr.Bottom = tr.Top + titleH;
    if (TGrafShadow* s = FTitle->Shadow()) {
      if (s->HorizSize() < 1) tr.Left += std::abs(s->HorizSize());
      else tr.Right -= s->HorizSize();
      if (s->VertSize() < 0) OffsetRect(tr, 0, std::abs(s->VertSize()));
    }
    FTitle->ShapeBox = tr;
    FTitle->PaintRotated(tr, 0, 0);
    FTitle->DrawText(tr);
  }
  canvas->ApplyFont(Font());

  // Rows.
  if (!FItems->Custom) {
    const bool old = chart->RepaintOnChange;
    chart->RepaintOnChange = false;
    FItems->Clear();
    chart->RepaintOnChange = old;
  }
  const int firstTop = FirstRowTop();
  const bool html = TextFormat() == ttfHtml;
  const int listed = LastRow - FFirstValue + 1;
  for (int k = 0; k < listed; ++k) {
    const int row = FInverted ? LastRow - k : FFirstValue + k;
    const int o = k;
    if (o >= total) continue;
    canvas->CanvasBrush()->SetColor(chart->LegendColor);
    canvas->CanvasBrush()->SetStyle(bsClear);
    chart->LegendPen = FSymbol->DefaultPen() ? nullptr : FSymbol->Pen();
    const int line = StacksVertically() ? o : o / std::max(Columns, 1);
    const int shift = StacksVertically() ? 0 : (o % std::max(Columns, 1)) * (tw + sw + 6 + (cb ? 15 : 0));
    int y = firstTop + m + 1 + line * itemH + FVertSpacing / 2;
    int tx = textX + shift, sx = symbolX + shift;
    if (chart->OnGetLegendPos) chart->OnGetLegendPos(chart, row, tx, y, sx);
    TChartSeries* rowSeries = nullptr;
    if (ResolvedStyle == lsValues) rowSeries = LegendSeries();
    else if (cb) rowSeries = chart->LegendSeriesAt(row, false);
    else rowSeries = chart->ActiveLegendSeriesAt(row);
    canvas->ApplyFont(Font());
    if (FFontSeriesColor && rowSeries) {
      const TColor c = ResolvedStyle == lsValues ? rowSeries->LegendSymbolColor(row) : rowSeries->SeriesColor();
      canvas->CanvasFont()->SetColor(c);
    }
    TLegendItem* item = FItems->ItemAt(o);
    const std::array<std::string, 2>& texts = FRowTexts[static_cast<size_t>(row - FRowTextsFirst)];
    int x = tx;
    const int ty = cb ? y + 1 : y;
    for (int col = 0; col < 2; ++col) {
      const bool right = ResolvedStyle != lsSeries && RightAlignedColumn(FTextStyle, col);
      std::string text = texts[static_cast<size_t>(col)];
      int drawX = right ? x + ColumnWidths[col] : x;
      int drawY = ty;
      unsigned align = right ? TA_RIGHT : TA_LEFT;
      if (col == 0) {
        if (FItems->Custom) {
          text = item->Text();
          drawX = item->Left;
          drawY = item->Top;
          align = item->Align;
        } else {
          item->Left = drawX;
          item->Top = drawY;
          item->StoreText(text);
          item->Align = align;
        }
      }
      if (!text.empty()) {
        canvas->SetTextAlignment(align);
        canvas->TextOutMaybeHtml(drawX, drawY, html, text);
      }
      x += ColumnWidths[col] + space;
    }
    canvas->SetTextAlignment(TA_LEFT);
    TRect sr;
    if (FItems->Custom) {
      sr = item->SymbolRect;
    } else {
      const bool continuous = FSymbol->Continuous();
      sr.Left = sx;
      sr.Right = sx + sw;
      sr.Top = (continuous && o > 0) ? y : y + 2;
      sr.Bottom = (continuous && o < listed - 1) ? y + itemH + 1 : y + itemH + 1 - (FVertSpacing + 3);
      item->SymbolRect = sr;
    }
    if (ResolvedStyle == lsValues) {
      if (rowSeries) {
        if (sw > 0) rowSeries->PaintLegendItem(rowSeries->MapValueIndex(row), sr);
      } else {
        FSymbol->PaintSymbolBox(clWhite, sr);
      }
    } else {
      if (cb && rowSeries) {
        const int cy = y + (itemH - FVertSpacing - 11) / 2 - 1;
        DrawCheckBoxAt(FCheckBoxX + shift, cy, canvas->GetDrawingDC(), rowSeries->Active(), chart->LegendColor,
                       FCheckBoxesStyle == cbsCheck);
      }
      if (rowSeries && sw > 0) rowSeries->PaintLegendItem(-1, sr);
    }
    if (FSymbol->OnDraw) FSymbol->OnDraw(FSymbol.get(), rowSeries, row, sr);
    if (o > 0 && FDividingLines->Visible()) {
      canvas->SetBackgroundMode(TRANSPARENT);
      canvas->ApplyPen(FDividingLines.get());
      if (StacksVertically()) {
        const int ly = y - FVertSpacing / 2;
        canvas->HorizontalLine(ShapeBox.Left, ShapeBox.Right, ly);
      } else {
        canvas->VerticalLine(ShapeBox.Left + shift + 2, ShapeBox.Top, ShapeBox.Bottom);
      }
    }
  }
  chart->LegendPen = nullptr;

  // The room.
  if (!chart->ChartAreaFixed && FResizeChart && !FCustomPosition) {
    TRect& r = chart->ChartArea;
    const int chartShadow = chart->Shadow() ? chart->Shadow()->VertSize() : 0;
    switch (FAlignment) {
      case laLeft: r.Left = ShapeBox.Right; break;
      case laRight: r.Right = ShapeBox.Left; break;
      case laTop: r.Top = ShapeBox.Bottom + chartShadow; break;
      case laBottom: r.Bottom = ShapeBox.Top; break;
    }
    if (StacksVertically()) {
      const int margin = FHorizMargin != 0 ? FHorizMargin : 3 * chart->ChartAreaWidth / 100;
      if (FAlignment == laLeft) r.Left += margin;
      else r.Right -= margin;
    } else {
      const int margin = FVertMargin != 0 ? FVertMargin : 4 * chart->ChartAreaHeight / 100;
      if (FAlignment == laTop) r.Top += margin;
      else r.Bottom -= margin;
    }
    chart->NormalizeChartRect();
  }
}

int TCustomChartLegend::RowAtPoint(int X, int Y) {
  TRect r = ShapeBox;
  r.Right -= HookedSize(0);
  if (X < r.Left || X > r.Right || Y < r.Top || Y > r.Bottom) return -1;
  const int h = ItemHeight();
  const int firstTop = FirstRowTop();
  int hit = -1;
  for (int a = 0; a < Rows; ++a) {
    const int top = firstTop + a * h + 1;
    if (Y >= top && Y <= top + h) {
      hit = FInverted ? Rows - a - 1 : a;
      break;
    }
  }
  if (hit < 0) return -1;
  if (StacksVertically()) return hit + FFirstValue;
  if (Columns <= 0) return -1;
  const int colW = ShapeBox.Width() / Columns;
  int column = -1;
  for (int c = 0; c < Columns; ++c) {
    const int left = ShapeBox.Left + c * colW + 1;
    if (X >= left && X <= left + colW) column = c;
  }
  if (column < 0) return -1;
  int index;
  if (!FInverted) {
    index = hit * Columns + column;
  } else {
    index = hit * Columns + Columns - column - 1;
    const int listed = LastRow - FFirstValue + 1;
    const int k = listed % Columns;
    if (k > 0) index -= Columns - k;
  }
  if (index < 0 || index > TotalRows - 1) return -1;
  return index + FFirstValue;
}

bool TCustomChartLegend::HandleRowClick(int, int, int Row) {
  if (!CheckBoxesShown() || Row == -1) return false;
  TCustomChart* chart = Chart();
  if (!chart) return false;
  if (FCheckBoxesStyle == cbsRadio) {
    for (int i = 0;; ++i) {
      TChartSeries* s = chart->LegendSeriesAt(i, false);
      if (!s) break;
      s->SetActive(i == Row);
    }
  } else if (TChartSeries* s = chart->LegendSeriesAt(Row, false)) {
    s->SetActive(!s->Active());
  }
  return true;
}

ZV_CLASS_IMPL(TChartLegend, TCustomChartLegend)

void TChartLegend::DeclareProperties(TClassInfo& c) {
  using L = TChartLegend;
  c.Enum<L>("Alignment", LegendAlignmentEnumInfo(), &L::Alignment, &L::SetAlignment, laRight);
  c.Enum<L>("Bevel", BevelCutEnumInfo(), &L::Bevel, &L::SetBevel, bvNone);
  c.Integer<L>("BevelWidth", &L::BevelWidth, &L::SetBevelWidth, 2);
  c.Object<L, TChartBrush>("Brush", &L::Brush, &L::SetBrush);
  c.Boolean<L>("CheckBoxes", &L::CheckBoxes, &L::SetCheckBoxes, false);
  c.Enum<L>("CheckBoxesStyle", CheckBoxesStyleEnumInfo(), &L::CheckBoxesStyle, &L::SetCheckBoxesStyle, cbsCheck);
  c.Integer<L>("Color", &L::Color, &L::SetColor, clWhite).WithIdents(&ColorIdents());
  c.Integer<L>("ColorWidth", &L::ColorWidth, &L::SetColorWidth, 20);
  c.Boolean<L>("CurrentPage", &L::CurrentPage, &L::SetCurrentPage, true);
  c.Object<L, TChartPen>("DividingLines", &L::DividingLines, &L::SetDividingLines);
  c.Integer<L>("FirstValue", &L::FirstValue, &L::SetFirstValue, 0);
  c.Object<L, TGrafFont>("Font", &L::Font, &L::SetFont);
  c.Boolean<L>("FontSeriesColor", &L::FontSeriesColor, &L::SetFontSeriesColor, false);
  c.Object<L, TChartPen>("Frame", &L::Pen, &L::SetPen);
  c.Object<L, TGrafGradient>("Gradient", &L::Gradient, [](L* l, TGrafGradient* g) { l->SetGradient(g); })
      .WithStored([](TObject* o) { return static_cast<L*>(o)->HasGradient(); });
  c.Integer<L>("HorizMargin", &L::HorizMargin, &L::SetHorizMargin, 0);
  c.Boolean<L>("Inverted", &L::Inverted, &L::SetInverted, false);
  c.Integer<L>("LeftPercent", &L::LeftPercent, &L::SetLeftPercent, 0);
  c.Enum<L>("LegendStyle", LegendStyleEnumInfo(), &L::LegendStyle, &L::SetLegendStyle, lsAuto);
  c.Integer<L>("MaxNumRows", &L::MaxNumRows, &L::SetMaxNumRows, 10);
  c.Enum<L>("PositionUnits", GrafUnitsEnumInfo(), &L::PositionUnits, &L::SetPositionUnits, muPixels);
  c.Boolean<L>("ResizeChart", &L::ResizeChart, &L::SetResizeChart, true);
  c.Object<L, TGrafShadow>("Shadow", &L::Shadow, &L::SetShadow);
  c.Enum<L>("ShapeStyle", ChartObjectShapeStyleEnumInfo(), &L::ShapeStyle, &L::SetShapeStyle, fosRectangle);
  c.Object<L, TLegendSymbol>("Symbol", &L::Symbol, &L::SetSymbol);
  c.Enum<L>("TextStyle", LegendTextStyleEnumInfo(), &L::TextStyle, &L::SetTextStyle, ltsLeftValue);
  c.Object<L, TLegendTitle>("Title", &L::Title, &L::SetTitle);
  c.Integer<L>("TopPos", &L::TopPos, &L::SetTopPos, 10);
  c.Integer<L>("TopPercent", &L::TopPercent, &L::SetTopPercent, 0);
  c.Integer<L>("Transparency", &L::Transparency, &L::SetTransparency, 0);
  c.Boolean<L>("Transparent", &L::Transparent, &L::SetTransparent, false);
  c.Integer<L>("VertMargin", &L::VertMargin, &L::SetVertMargin, 0);
  c.Integer<L>("VertSpacing", &L::VertSpacing, &L::SetVertSpacing, 0);
  c.Boolean<L>("Visible", &L::Visible, &L::SetVisible, true);
}
