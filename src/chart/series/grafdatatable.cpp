// The data table tool and its legend column.
#include "chart/series/grafdatatable.h"

#include <algorithm>

#include "chart/core/grafconst.h"
#include "platform/rtl/datetime.h"
#include "platform/rtl/format.h"

// ---- Legend -------------------------------------------------------------------------------------

ZV_CLASS_IMPL(TTableLegend, TGrafCustomShape)

void TTableLegend::DeclareProperties(TClassInfo& c) {
  using T = TTableLegend;
  c.Boolean<T>("FontSeriesColor", &T::FontSeriesColor, &T::SetFontSeriesColor, false);
  c.Boolean<T>("OtherSide", &T::OtherSide, &T::SetOtherSide, false);
  c.Object<T, TLegendSymbol>("Symbol", &T::Symbol, &T::SetSymbol);
}

TTableLegend::TTableLegend(TCustomGrafPanel* Panel) : TGrafCustomShape(Panel) {
  FSymbol = std::make_unique<TLegendSymbol>(nullptr);
  FSymbol->ItemHeight = [this] { return FSymbol->Width(); };
  SetTransparentByDefault(true);
  SetTransparent(true);
}

TTableLegend::~TTableLegend() = default;

void TTableLegend::Assign(TPersistent* Source) {
  TGrafCustomShape::Assign(Source);
  if (auto* l = dynamic_cast<TTableLegend*>(Source)) {
    FFontSeriesColor = l->FFontSeriesColor;
    FSymbol->Assign(l->FSymbol.get());
  }
}

void TTableLegend::SetFontSeriesColor(bool Value) {
  if (FFontSeriesColor == Value) return;
  FFontSeriesColor = Value;
  Repaint();
}

void TTableLegend::SetOtherSide(bool Value) {
  if (FOtherSide == Value) return;
  FOtherSide = Value;
  Repaint();
}

void TTableLegend::SetParent(TCustomGrafPanel* Panel) { AttachToPanel(Panel); }

// ---- Tool ---------------------------------------------------------------------------------------

ZV_CLASS_IMPL(TDataTableTool, TGrafCustomTool)

void TDataTableTool::DeclareProperties(TClassInfo& c) {
  using T = TDataTableTool;
  c.Boolean<T>("AutoPosition", &T::AutoPosition, &T::SetAutoPosition, true);
  c.Object<T, TChartBrush>("Brush", &T::Brush, &T::SetBrush);
  c.Boolean<T>("ClipText", &T::ClipText, &T::SetClipText, true);
  c.Object<T, TChartPen>("ColumnPen", &T::ColumnPen, &T::SetColumnPen);
  c.Object<T, TGrafFont>("Font", &T::Font, &T::SetFont);
  c.Boolean<T>("Inverted", &T::Inverted, &T::SetInverted, false);
  c.Integer<T>("Left", &T::Left, &T::SetLeft, 0);
  c.Object<T, TTableLegend>("Legend", &T::Legend, &T::SetLegend);
  c.Object<T, TChartPen>("RowPen", &T::RowPen, &T::SetRowPen);
  c.Integer<T>("Top", &T::Top, &T::SetTop, 0);
}

TDataTableTool::TDataTableTool(TComponent* AOwner) : TGrafCustomTool(AOwner) {
  TNotifyEvent change = [this](TObject* Sender) { PartChanged(Sender); };
  FColumnPen = std::make_unique<TChartPen>(change);
  FFont = std::make_unique<TGrafFont>(change);
  FLegend = std::make_unique<TTableLegend>(nullptr);
}

TDataTableTool::~TDataTableTool() {
  if (FParentChart) SetParentChart(nullptr);
}

std::string TDataTableTool::ToolTypeName() const { return GrafMsgExDataTable; }

void TDataTableTool::SetParentChart(TCustomAxisPanel* Value) {
  if (FParentChart && !FParentChart->ComponentState().Contains(csDestroying))
    FParentChart->AxesList()->AxisSizeCallback = nullptr;
  TGrafCustomTool::SetParentChart(Value);
  if (ComponentState().Contains(csDestroying) && !Value) return;
  FLegend->SetParent(Value);
  if (Value) {
    Value->AxesList()->AxisSizeCallback = [this](TChartAxis* Axis, int Size) { return AxisSpace(Axis, Size); };
    Value->Invalidate();
  }
}

void TDataTableTool::HandleChartEvent(int Code) {
  TGrafCustomTool::HandleChartEvent(Code);
  if (Code == cteAfterDraw && FParentChart) PaintTable();
}

bool TDataTableTool::Listed(TChartSeries* S) const {
  if (!S->Active()) return false;
  for (TChartValueList* l : *S->ValuesList())
    if (l->Name() == "Z") return false;
  return true;
}

int TDataTableTool::TableSeriesCount() {
  int n = 0;
  for (TChartSeries* s : *FParentChart->SeriesList())
    if (Listed(s)) ++n;
  return n;
}

int TDataTableTool::MaxPointCount() {
  int n = 0;
  for (TChartSeries* s : *FParentChart->SeriesList())
    if (Listed(s)) n = std::max(n, s->PointCount());
  return n;
}

TChartAxis* TDataTableTool::TableAxis() {
  for (TChartSeries* s : *FParentChart->SeriesList())
    if (Listed(s)) return s->IsVertical() ? s->GetHorizAxis() : s->GetVertAxis();
  return nullptr;
}

bool TDataTableTool::HorizontalTable() {
  TChartAxis* a = TableAxis();
  return a && a->Horizontal();
}

int TDataTableTool::CellSize() {
  TCanvas3D* canvas = FParentChart->PanelCanvas();
  canvas->ApplyFont(FFont.get());
  return HorizontalTable() ? canvas->TextHeight("W") : canvas->TextWidth("#.###");
}

int TDataTableTool::TableSize() {
  TCanvas3D* canvas = FParentChart->PanelCanvas();
  canvas->ApplyFont(FFont.get());
  const int n = TableSeriesCount();
  return HorizontalTable() ? canvas->TextHeight("W") * n + 10 : canvas->TextWidth("#.###") * n + 16;
}

void TDataTableTool::LegendWidth(int& W, int& SymbolW) {
  TCanvas3D* canvas = FParentChart->PanelCanvas();
  canvas->ApplyFont(FLegend->Font());
  int tw = 0;
  for (TChartSeries* s : *FParentChart->SeriesList())
    if (Listed(s)) tw = std::max(tw, canvas->TextWidth(SeriesDisplayName(s)));
  tw += canvas->TextHeight("W");
  SymbolW = FLegend->Symbol()->EffectiveWidth(tw);
  W = tw + SymbolW;
}

int TDataTableTool::AxisSpace(TChartAxis* Axis, int Size) {
  if (!Active() || !FParentChart || Axis->IsDepthAxis() || !FAutoPosition || TableSeriesCount() == 0) return Size;
  TChartAxis* table = TableAxis();
  if (Axis == table) return Size + TableSize();
  if (!FLegend->Visible()) return Size;
  int w, sw;
  LegendWidth(w, sw);
  const TRect& cr = FParentChart->ChartArea;
  const TRect& bounds = FParentChart->DrawBounds;
  if (table->Horizontal()) {
    if (Axis->Horizontal()) return Size;
    if (!Axis->OtherSide() && !FLegend->OtherSide()) return std::max(Size, w);
    if (Axis->OtherSide() && FLegend->OtherSide()) return std::max(Size, w + cr.Right - bounds.Right);
    return Size;
  }
  if (!Axis->Horizontal()) return Size;
  if (Axis->OtherSide() && !FLegend->OtherSide()) return std::max(Size, w);
  if (!Axis->OtherSide() && FLegend->OtherSide()) return std::max(Size, w + cr.Bottom - bounds.Bottom);
  return Size;
}

void TDataTableTool::PlaceTable() {
  TChartAxis* axis = TableAxis();
  const bool h = axis->Horizontal();
  if (FAutoPosition) {
    FBase = axis->AxisLinePos;
    FOffset = 0;
    if (axis->OtherSide() && FParentChart->View3D()) {
      const int width = FParentChart->SeriesWidth3D;
      FBase += h ? -width : width;
      FOffset = h ? width : -width;
    }
    if (h) {
      SetTop(FBase);
      SetLeft(0);
    } else {
      SetLeft(FBase);
      SetTop(0);
    }
  } else {
    FBase = h ? FTop : FLeft;
    FOffset = h ? FLeft : FTop;
  }
}

int TDataTableTool::RowPosition(int N) {
  const int count = FParentChart->NumberOfSeries();
  int k = 0;
  if (FInverted) {
    for (int i = count - 1; i >= N + 1; --i)
      if (i >= 0 && i < count && Listed(FParentChart->SeriesAt(i))) ++k;
  } else {
    for (int i = 0; i <= N - 1; ++i)
      if (i < count && Listed(FParentChart->SeriesAt(i))) ++k;
  }
  TChartAxis* axis = TableAxis();
  int d = FCell * (k + 1) + 10;
  if (axis->OtherSide()) d = -d;
  return axis->Horizontal() ? FBase + d : FBase - d;
}

int TDataTableTool::RowOfSeries(int N) {
  TChartAxis* axis = TableAxis();
  const bool other = axis->OtherSide();
  if (axis->Horizontal()) return !other ? N : (FInverted ? N - 1 : N + 1);
  return other ? N : (FInverted ? N - 1 : N + 1);
}

void TDataTableTool::PaintColumnLine(int P) {
  const int count = FParentChart->NumberOfSeries();
  TChartAxis* axis = TableAxis();
  const int far = RowPosition(FInverted ? -1 : count);
  const int near = FAutoPosition ? FBase : RowPosition(FInverted ? count : -1);
  TCanvas3D* canvas = FParentChart->PanelCanvas();
  if (axis->Horizontal()) canvas->VerticalLine(P + FOffset, near, axis->OtherSide() ? far - 1 : far + 1);
  else canvas->HorizontalLine(near, far, P + FOffset);
}

void TDataTableTool::PaintCell(int Tick, int Index, int N) {
  TChartSeries* s = FParentChart->SeriesAt(N);
  if (!Listed(s) || Index < 0 || Index >= s->PointCount() || s->PointIsNull(Index)) return;
  const double v = s->MainValueAt(Index);
  const std::string text = s->MainList()->DateTime() ? FormatDateTime(DefaultDateTimeFormatFor(v), v)
                                                     : FormatFloat(s->ValueFormat(), v);
  TCanvas3D* canvas = FParentChart->PanelCanvas();
  canvas->ApplyFont(FFont.get());
  canvas->SetBackgroundMode(TRANSPARENT);
  const int y = RowPosition(RowOfSeries(N));
  if (HorizontalTable()) {
    canvas->SetTextAlignment(TA_CENTER);
    canvas->TextOut(Tick + FOffset, y, text);
  } else {
    // Value cells of a vertical table start 4 pixels right of their row line.
    canvas->SetTextAlignment(TA_LEFT);
    canvas->TextOut(y + 4, Tick + FOffset - canvas->TextHeight("W") / 2, text);
  }
}

void TDataTableTool::PaintLegendRow(int N, int A, int B, int W, int SW) {
  TChartSeries* s = FParentChart->SeriesAt(N);
  if (!Listed(s)) return;
  TCanvas3D* canvas = FParentChart->PanelCanvas();
  TLegendSymbol* symbol = FLegend->Symbol();
  const std::string title = SeriesDisplayName(s);
  const int y = RowPosition(RowOfSeries(N));
  canvas->ApplyFont(FLegend->Font());
  canvas->SetTextAlignment(TA_LEFT);
  canvas->SetBackgroundMode(TRANSPARENT);
  int x = A + 4;
  if (symbol->Visible() && symbol->Position() == spLeft) x += SW + 4;
  if (FLegend->FontSeriesColor()) canvas->CanvasFont()->SetColor(s->GetSeriesColor());
  TRect box;
  if (HorizontalTable()) {
    canvas->TextOut(x, y, title);
    box = symbol->Position() == spRight ? TRect{A + W - SW - 4, y + 4, A + W - 4, y + 12}
                                        : TRect{A + 4, y + 4, A + SW + 4, y + 12};
  } else {
    if (symbol->Visible() && symbol->Position() == spRight) canvas->RotateLabel(y + 4, B + W - 4, title, 90);
    else canvas->RotateLabel(y + 4, B + W - SW - 8, title, 90);
    box = symbol->Position() == spRight ? TRect{y + 6, B + 4, y + SW + 6, B + SW + 4}
                                        : TRect{y + 6, B + W - 4, y + 18, B + W - SW - 4};
  }
  if (!symbol->Visible()) return;
  if (symbol->Gradient()->Visible()) {
    symbol->Gradient()->SetEndColor(s->GetSeriesColor());
    symbol->Gradient()->DrawInRect(canvas, box);
  } else {
    s->PaintLegendItem(-1, box);
  }
}

void TDataTableTool::PaintLegend(int A, int B) {
  TCanvas3D* canvas = FParentChart->PanelCanvas();
  canvas->ApplyFont(FLegend->Font());
  canvas->SetTextAlignment(TA_LEFT);
  int w, sw;
  LegendWidth(w, sw);
  const int count = FParentChart->NumberOfSeries();
  const int r0 = RowPosition(-1), r1 = RowPosition(count);
  canvas->ApplyPen(HorizontalTable() ? FColumnPen.get() : Pen());
  if (HorizontalTable()) canvas->VerticalLine(FLegend->OtherSide() ? B : A, r0, r1);
  else canvas->HorizontalLine(r0, r1, FLegend->OtherSide() ? B + w : B);
  if (FInverted) {
    for (int n = count - 1; n >= 0; --n) PaintLegendRow(n, A, B, w, sw);
  } else {
    for (int n = 0; n < count; ++n) PaintLegendRow(n, A, B, w, sw);
  }
}

void TDataTableTool::PaintTable() {
  if (TableSeriesCount() == 0) return;
  TCanvas3D* canvas = FParentChart->PanelCanvas();
  TChartAxis* axis = TableAxis();
  const bool h = axis->Horizontal();
  FCell = CellSize();
  canvas->ApplyFont(FFont.get());
  if (h) canvas->SetTextAlignment(TA_CENTER);
  canvas->SetBackgroundMode(TRANSPARENT);
  const int maxCount = MaxPointCount();
  PlaceTable();
  const std::vector<int> t = axis->TickPositions;
  const int col = static_cast<int>(t.size());
  bool inOrder = false;
  if (col >= 2) {
    inOrder = h ? t[0] < t[1] : !(t[0] < t[1]);
    if (axis->Inverted()) inOrder = !inOrder;
  }
  const int count = FParentChart->NumberOfSeries();
  for (int i = 0; i <= col - 2; ++i) {
    canvas->ApplyPen(h ? FColumnPen.get() : Pen());
    PaintColumnLine((t[static_cast<size_t>(i)] + t[static_cast<size_t>(i) + 1]) / 2);
    for (int n = 0; n < count; ++n) PaintCell(t[static_cast<size_t>(i)], inOrder ? i : maxCount - 1 - i, n);
  }
  if (col >= 1)
    for (int n = 0; n < count; ++n) PaintCell(t.back(), inOrder ? maxCount - 1 : maxCount - col, n);
  int a, b;
  canvas->ApplyPen(h ? FColumnPen.get() : Pen());
  if (col == 0) {
    a = axis->StartPixel;
    b = axis->EndPixel;
  } else if (col == 1) {
    a = h ? axis->StartPixel : axis->EndPixel;
    b = h ? axis->EndPixel : axis->StartPixel;
    PaintColumnLine(a);
    PaintColumnLine(b);
  } else {
    a = t[static_cast<size_t>(col) - 1] - (t[static_cast<size_t>(col) - 2] - t[static_cast<size_t>(col) - 1]) / 2;
    a = h ? std::max(a, axis->StartPixel) : std::min(a, axis->EndPixel);
    b = t[0] + (t[0] - t[1]) / 2;
    b = h ? std::min(b, axis->EndPixel) : std::max(b, axis->StartPixel);
    PaintColumnLine(a);
    PaintColumnLine(b);
  }
  a += FOffset;
  b += FOffset;
  if (FLegend->Visible()) {
    if (inOrder) std::swap(a, b);
    if (axis->Inverted()) std::swap(a, b);
    int w, sw;
    LegendWidth(w, sw);
    if (h) a -= w;
    else b -= w;
    int e = 0;
    if (FLegend->OtherSide()) {
      if (h) {
        e = a;
        a = b;
        b += w;
      } else {
        e = b;
        b = a;
        a -= w;
      }
    }
    PaintLegend(a, b);
    if (FLegend->OtherSide()) {
      if (h) {
        a = e + w;
      } else {
        a = b + w;
        b = e + w;
      }
    }
  }
  canvas->ApplyPen(h ? Pen() : FColumnPen.get());
  for (int n = -1; n <= count; ++n) {
    const int p = RowPosition(n);
    if (h) canvas->HorizontalLine(a, b, p);
    else canvas->VerticalLine(p, a, b);
  }
}
