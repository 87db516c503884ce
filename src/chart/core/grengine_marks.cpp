// Series marks: the labelled boxes next to points, their texts, places,
// stored positions, items, symbol and callout, overlap rule and hit test.
#include <cmath>

#include "chart/core/grafconst.h"
#include "chart/core/grafhtml.h"
#include "chart/core/grengine.h"
#include "platform/rtl/format.h"
#include "platform/rtl/mathutils.h"
#include "platform/ui/streaming.h"

namespace {
std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::string cur;
  for (char c : text) {
    if (c == LineSeparator) {
      lines.push_back(cur);
      cur.clear();
    } else if (c != '\n') {
      cur += c;
    }
  }
  lines.push_back(cur);
  return lines;
}
}  // namespace

// ---- Positions ------------------------------------------------------------------------------

void TSeriesMarkPosition::CopyPositionFrom(const TSeriesMarkPosition& Other) {
  ArrowFrom = Other.ArrowFrom;
  ArrowTo = Other.ArrowTo;
  LeftTop = Other.LeftTop;
  Height = Other.Height;
  Width = Other.Width;
}

TSeriesMarkPosition* TSeriesMarksPositions::PositionAt(int Index) const {
  if (Index < 0 || Index >= Count()) return nullptr;
  return FItems[static_cast<size_t>(Index)].get();
}

TSeriesMarkPosition* TSeriesMarksPositions::EnsureAt(int Index) {
  if (Index >= Count()) FItems.resize(static_cast<size_t>(Index) + 1);
  auto& p = FItems[static_cast<size_t>(Index)];
  if (!p) p = std::make_unique<TSeriesMarkPosition>();
  return p.get();
}

void TSeriesMarksPositions::StoreCustom(int Index, const TSeriesMarkPosition& Position) {
  TSeriesMarkPosition* p = EnsureAt(Index);
  p->Custom = true;
  p->CopyPositionFrom(Position);
}

bool TSeriesMarksPositions::HasCustom() const {
  for (const auto& p : FItems)
    if (p && p->Custom) return true;
  return false;
}

void TSeriesMarksPositions::Delete(int Index) {
  if (Index >= 0 && Index < Count()) FItems.erase(FItems.begin() + Index);
}

void TSeriesMarksPositions::DeleteRange(int Index, int Number) {
  if (Index >= Count()) return;
  const int last = std::min(Count(), Index + Number);
  FItems.erase(FItems.begin() + Index, FItems.begin() + last);
}

void TSeriesMarksPositions::Exchange(int A, int B) {
  const int n = std::max(A, B);
  if (n >= Count()) FItems.resize(static_cast<size_t>(n) + 1);
  std::swap(FItems[static_cast<size_t>(A)], FItems[static_cast<size_t>(B)]);
}

// ---- Items ------------------------------------------------------------------------------------

ZV_CLASS_IMPL(TMarksItem, TGrafCustomShape)

void TMarksItem::DeclareProperties(TClassInfo& c) {
  using I = TMarksItem;
  c.Enum<I>("Bevel", BevelCutEnumInfo(), &I::Bevel, &I::SetBevel, bvNone);
  c.Integer<I>("BevelWidth", &I::BevelWidth, &I::SetBevelWidth, 2);
  c.Integer<I>("Color", &I::Color, &I::SetColor, clInfoBk).WithIdents(&ColorIdents());
  c.Object<I, TGrafFont>("Font", &I::Font, &I::SetFont);
  c.Object<I, TGrafGradient>("Gradient", &I::Gradient, [](I* i, TGrafGradient* g) { i->SetGradient(g); })
      .WithStored([](TObject* o) { return static_cast<I*>(o)->HasGradient(); });
  c.Object<I, TGrafShadow>("Shadow", &I::Shadow, &I::SetShadow);
  c.Enum<I>("ShapeStyle", ChartObjectShapeStyleEnumInfo(), &I::ShapeStyle, &I::SetShapeStyle, fosRectangle);
  c.Object<I, TStringList>("Text", &I::Text, &I::SetText)
      .WithStored([](TObject* o) { return static_cast<I*>(o)->HasText(); });
  c.Integer<I>("Transparency", &I::Transparency, &I::SetTransparency, 0);
  c.Boolean<I>("Transparent", &I::Transparent, &I::SetTransparent, false);
}

TMarksItem::TMarksItem(TCustomGrafPanel* Panel) : TGrafCustomShape(Panel) { SetColor(clInfoBk); }

TMarksItem::~TMarksItem() = default;

TStringList* TMarksItem::Text() {
  if (!FText) {
    FText = std::make_unique<TStringList>();
    FText->OnChange = [this](TObject*) { Repaint(); };
  }
  return FText.get();
}

void TMarksItem::SetText(TStringList* Value) {
  if (Value) Text()->Assign(*Value);
  else if (FText) FText->Clear();
}

TMarksItem* TMarksItems::ItemAt(int Index) {
  if (Index < 0) return nullptr;
  if (Index >= Count()) FItems.resize(static_cast<size_t>(Index) + 1);
  auto& item = FItems[static_cast<size_t>(Index)];
  if (!item) {
    item = std::make_unique<TMarksItem>(FMarks ? FMarks->ParentPanel() : nullptr);
    if (item->Shadow()) {
      item->Shadow()->SetColor(clGray);
      item->Shadow()->SetUniformSize(1);
      item->Shadow()->ColorDefault = clGray;
      item->Shadow()->SizeDefault = 1;
    }
  }
  return item.get();
}

TMarksItem* TMarksItems::Peek(int Index) const {
  if (Index < 0 || Index >= Count()) return nullptr;
  return FItems[static_cast<size_t>(Index)].get();
}

void TMarksItems::Clear() {
  FItems.clear();
  if (FMarks && FMarks->ParentPanel()) FMarks->ParentPanel()->Invalidate();
}

void TMarksItems::Delete(int Index) {
  if (Index >= 0 && Index < Count()) FItems.erase(FItems.begin() + Index);
}

void TMarksItems::Exchange(int A, int B) {
  const int n = std::max(A, B);
  if (n >= Count()) FItems.resize(static_cast<size_t>(n) + 1);
  std::swap(FItems[static_cast<size_t>(A)], FItems[static_cast<size_t>(B)]);
}

// ---- Symbol and gradient ------------------------------------------------------------------------

ZV_CLASS_IMPL(TSeriesMarksSymbol, TGrafCustomShape)

void TSeriesMarksSymbol::DeclareProperties(TClassInfo& c) {
  using S = TSeriesMarksSymbol;
  c.Boolean<S>("Visible", &S::Visible, &S::SetVisible, false);
  c.Boolean<S>("Transparent", &S::Transparent, &S::SetTransparent, false);
  c.Object<S, TGrafShadow>("Shadow", &S::Shadow, &S::SetShadow);
  c.Object<S, TChartPen>("Pen", &S::Pen, &S::SetPen);
}

TSeriesMarksSymbol::TSeriesMarksSymbol(TCustomGrafPanel* Panel) : TGrafCustomShape(Panel) {
  FVisible = false;
  SetShadowDefaults(Shadow());
}

void TSeriesMarksSymbol::SetShadowDefaults(TGrafShadow* AShadow) {
  TGrafCustomShape::SetShadowDefaults(AShadow);
  if (!AShadow) return;
  AShadow->SetUniformSize(1);
  AShadow->SizeDefault = 1;
}

ZV_CLASS_IMPL(TSeriesMarksGradient, TGrafGradient)

void TSeriesMarksGradient::DeclareProperties(TClassInfo& c) {
  using G = TSeriesMarksGradient;
  c.Enum<G>("Direction", GradientDirectionEnumInfo(), &G::Direction, &G::SetDirection, gdRightLeft);
  c.Integer<G>("EndColor", &G::EndColor, &G::SetEndColor, clWhite).WithIdents(&ColorIdents());
  c.Integer<G>("StartColor", &G::StartColor, &G::SetStartColor, clSilver).WithIdents(&ColorIdents());
}

TSeriesMarksGradient::TSeriesMarksGradient(TNotifyEvent OnChange) : TGrafGradient(std::move(OnChange)) {
  SetDirection(gdRightLeft);
  SetEndColor(clWhite);
  SetStartColor(clSilver);
}

// ---- Marks ---------------------------------------------------------------------------------------

ZV_CLASS_IMPL(TSeriesMarks, TGrafCustomShape)

void TSeriesMarks::DeclareProperties(TClassInfo& c) {
  using M = TSeriesMarks;
  c.Integer<M>("Angle", &M::Angle, &M::SetAngle, 0);
  c.Object<M, TChartPen>("Arrow", [](M* m) -> TChartPen* { return m->Arrow(); }, &M::SetArrow)
      .WithStored([](TObject* o) { return static_cast<M*>(o)->HasCallout(); });
  c.Integer<M>("ArrowLength", &M::ArrowLength, &M::SetArrowLength).WithStored([](TObject*) { return false; });
  c.Object<M, TMarksCallout>("Callout", &M::Callout, &M::SetCallout)
      .WithStored([](TObject* o) { return static_cast<M*>(o)->HasCallout(); });
  c.Integer<M>("BackColor", &M::BackColor, &M::SetBackColor, clInfoBk).WithIdents(&ColorIdents());
  c.Enum<M>("Bevel", BevelCutEnumInfo(), &M::Bevel, &M::SetBevel, bvNone);
  c.Integer<M>("BevelWidth", &M::BevelWidth, &M::SetBevelWidth, 2);
  c.Object<M, TChartBrush>("Brush", &M::Brush, &M::SetBrush);
  c.Boolean<M>("Clip", &M::Clip, &M::SetClip, false);
  c.Integer<M>("Color", &M::Color, &M::SetColor, clInfoBk).WithIdents(&ColorIdents());
  c.Integer<M>("DrawEvery", &M::DrawEvery, &M::SetDrawEvery, 1);
  c.Object<M, TGrafFont>("Font", &M::Font, &M::SetFont);
  c.Object<M, TChartPen>("Frame", &M::Pen, &M::SetPen);
  c.Object<M, TGrafGradient>("Gradient", &M::Gradient, [](M* m, TGrafGradient* g) { m->SetGradient(g); })
      .WithStored([](TObject* o) { return static_cast<M*>(o)->HasGradient(); });
  c.Boolean<M>("MultiLine", &M::MultiLine, &M::SetMultiLine, false);
  c.Object<M, TGrafShadow>("Shadow", &M::Shadow, &M::SetShadow);
  c.Enum<M>("ShapeStyle", ChartObjectShapeStyleEnumInfo(), &M::ShapeStyle, &M::SetShapeStyle, fosRectangle);
  c.Enum<M>("Style", SeriesMarksStyleEnumInfo(), &M::Style, &M::SetStyle, smsLabel);
  c.Object<M, TSeriesMarksSymbol>("Symbol", &M::Symbol, &M::SetSymbol)
      .WithStored([](TObject* o) { return static_cast<M*>(o)->HasSymbol(); });
  c.Integer<M>("Transparency", &M::Transparency, &M::SetTransparency, 0);
  c.Boolean<M>("Transparent", &M::Transparent, &M::SetTransparent, false);
  c.Boolean<M>("Visible", &M::Visible, &M::SetVisible, false);
}

TSeriesMarks::TSeriesMarks(TChartSeries* Series)
    : TGrafCustomShape(Series ? Series->ParentChart() : nullptr), FSeries(Series) {
  FVisible = false;
  SetShadowDefaults(Shadow());
  SetColor(clInfoBk);
  SetBevelWidth(2);
  FItems = std::make_unique<TMarksItems>(this);
  FPositions = std::make_unique<TSeriesMarksPositions>();
}

TSeriesMarks::~TSeriesMarks() = default;

std::unique_ptr<TGrafGradient> TSeriesMarks::CreateGradient() { return std::make_unique<TSeriesMarksGradient>(); }

void TSeriesMarks::SetShadowDefaults(TGrafShadow* AShadow) {
  if (!AShadow) return;
  AShadow->SetColor(clGray);
  AShadow->SetUniformSize(1);
  AShadow->ColorDefault = clGray;
  AShadow->SizeDefault = 1;
}

TCustomAxisPanel* TSeriesMarks::ParentChart() const {
  if (FSeries && FSeries->ParentChart()) return FSeries->ParentChart();
  return dynamic_cast<TCustomAxisPanel*>(ParentPanel());
}

void TSeriesMarks::SetParent(TCustomGrafPanel* Chart) {
  AttachToPanel(Chart);
  if (FCallout) FCallout->AttachToPanel(Chart);
  if (FSymbol) FSymbol->AttachToPanel(Chart);
  for (auto& item : FItems->FItems)
    if (item) item->AttachToPanel(Chart);
}

void TSeriesMarks::SetAngle(int Value) {
  if (FSeries) FSeries->ChangeInteger(FAngle, Value);
  else FAngle = Value;
}

void TSeriesMarks::SetDrawEvery(int Value) {
  if (FSeries) FSeries->ChangeInteger(FDrawEvery, Value);
  else FDrawEvery = Value;
}

void TSeriesMarks::SetMultiLine(bool Value) {
  if (FSeries) FSeries->ChangeBool(FMultiLine, Value);
  else FMultiLine = Value;
}

void TSeriesMarks::SetClip(bool Value) {
  if (FSeries) FSeries->ChangeBool(FClip, Value);
  else FClip = Value;
}

void TSeriesMarks::SetStyle(TSeriesMarksStyle Value) {
  if (FStyle == Value) return;
  FStyle = Value;
  if (FSeries) FSeries->RequestRedraw();
}

TMarksCallout* TSeriesMarks::Callout() {
  if (!FCallout) {
    FCallout = std::make_unique<TMarksCallout>(FSeries);
    FCallout->AttachToPanel(ParentPanel());
  }
  return FCallout.get();
}

void TSeriesMarks::SetCallout(TMarksCallout* Value) {
  if (!Value) {
    FCallout.reset();
    Repaint();
  } else if (Value != FCallout.get()) {
    Callout()->Assign(Value);
  }
}

TSeriesMarksSymbol* TSeriesMarks::Symbol() {
  if (!FSymbol) FSymbol = std::make_unique<TSeriesMarksSymbol>(ParentPanel());
  return FSymbol.get();
}

void TSeriesMarks::SetSymbol(TSeriesMarksSymbol* Value) {
  if (!Value) {
    FSymbol.reset();
    Repaint();
  } else if (Value != FSymbol.get()) {
    Symbol()->Assign(Value);
  }
}

void TSeriesMarks::Assign(TPersistent* Source) {
  if (auto* other = dynamic_cast<TSeriesMarks*>(Source)) {
    if (other == this) return;
    FAngle = other->FAngle;
    if (other->FCallout) Callout()->Assign(other->FCallout.get());
    else FCallout.reset();
    FClip = other->FClip;
    FDrawEvery = other->FDrawEvery;
    FStyle = other->FStyle;
    FMultiLine = other->FMultiLine;
    if (other->FSymbol) Symbol()->Assign(other->FSymbol.get());
    else FSymbol.reset();
    FItems->FItems.clear();
    for (int i = 0; i < other->FItems->Count(); ++i)
      if (TMarksItem* item = other->FItems->Peek(i)) FItems->ItemAt(i)->Assign(item);
  }
  TGrafCustomShape::Assign(Source);
}

TGrafCustomShape* TSeriesMarks::ItemOfPoint(int Index) {
  if (Index >= 0 && Index < FItems->Count()) return FItems->ItemAt(Index);
  return this;
}

void TSeriesMarks::Clear() {
  FPositions->Clear();
  if (!FItems->ItemsLoaded) FItems->FItems.clear();
}

void TSeriesMarks::ClearCustomPositions() {
  for (int i = 0; i < FPositions->Count(); ++i)
    if (TSeriesMarkPosition* p = FPositions->PositionAt(i)) p->Custom = false;
  if (FSeries) FSeries->RequestRedraw();
}

TPoint TSeriesMarks::FlattenPosition(TPoint ArrowTo, TPoint LeftTop) {
  TCustomAxisPanel* chart = ParentChart();
  if (!chart || !chart->View3D() || chart->PanelCanvas()->FullRotationSupported()) return LeftTop;
  const TPoint p = chart->PanelCanvas()->ProjectXYZ(ArrowTo.X, ArrowTo.Y, ZPosition);
  return {LeftTop.X + p.X - ArrowTo.X, LeftTop.Y + p.Y - ArrowTo.Y};
}

int TSeriesMarks::WidestLineWidth(int Index) {
  TCustomAxisPanel* chart = ParentChart();
  if (!chart || !FSeries) return 0;
  int widest = 0;
  for (const std::string& line : SplitLines(FSeries->BuildMarkText(Index)))
    widest = std::max(widest, chart->PanelCanvas()->TextWidth(line));
  return widest;
}

void TSeriesMarks::ApplyCustomPosition(int Index, TSeriesMarkPosition& Position) {
  TSeriesMarkPosition* stored = FPositions->EnsureAt(Index);
  if (!stored->Custom) {
    stored->CopyPositionFrom(Position);
    stored->ArrowFix = Position.ArrowFix;
    return;
  }
  const TPoint ownFrom = Position.ArrowFrom;
  Position.CopyPositionFrom(*stored);
  if (Position.ArrowFix) Position.ArrowFrom = ownFrom;
}

void TSeriesMarks::ApplyCalloutLength(TSeriesMarkPosition& Position) {
  if (FCallout) FCallout->ExtendToCalloutLength(Position);
}

TRect TSeriesMarks::OverlapRect(const TSeriesMarkPosition& P) {
  TRect r = P.ToRect();
  if (Pen()->Visible()) {
    r.Right += Pen()->Width();
    r.Bottom += Pen()->Width();
  }
  if (TGrafShadow* s = Shadow()) {
    if (s->HorizSize() > 0) r.Right += s->HorizSize();
    else r.Left += s->HorizSize();
    if (s->VertSize() > 0) r.Bottom += s->VertSize();
    else r.Top += s->VertSize();
  }
  const TPoint lt = FlattenPosition(P.ArrowTo, r.TopLeft());
  OffsetRect(r, lt.X - r.Left, lt.Y - r.Top);
  return r;
}

void TSeriesMarks::AvoidOverlap(int First, int Current, TSeriesMarkPosition& Position) {
  const TRect r = OverlapRect(Position);
  for (int i = First; i < Current; ++i) {
    TSeriesMarkPosition* other = FPositions->PositionAt(i);
    if (!other) continue;
    const TRect s = OverlapRect(*other);
    TRect common;
    if (!IntersectRect(common, r, s)) continue;
    const int d = s.Top > r.Top ? r.Bottom - s.Top : r.Top - s.Bottom;
    Position.LeftTop.Y -= d;
    Position.ArrowTo.Y -= d;
  }
}

int TSeriesMarks::MarkAtPoint(int X, int Y) {
  const int every = std::max(1, FDrawEvery);
  for (int i = FPositions->Count() - 1; i >= 0; --i) {
    if (i % every != 0) continue;
    TSeriesMarkPosition* p = FPositions->PositionAt(i);
    if (!p) continue;
    const TPoint lt = FlattenPosition(p->ArrowTo, p->LeftTop);
    const TRect box = Bounds(lt.X, lt.Y, p->Width, p->Height);
    if (FAngle > 0) {
      const auto corners = RotatedCorners(box, FAngle % 360);
      if (PointInsidePolygon(Point(X, Y), corners.data(), 3)) return i;
    } else if (X >= box.Left && X <= box.Right && Y >= box.Top && Y <= box.Bottom) {
      return i;
    }
  }
  return -1;
}

void TSeriesMarks::PaintMarkAt(int Index, TColor Color, TSeriesMarkPosition& Position, const std::string& Text) {
  TCustomAxisPanel* chart = ParentChart();
  if (!chart) return;
  TCanvas3D* canvas = chart->PanelCanvas();
  ApplyCustomPosition(Index, Position);
  TGrafCustomShape* shape = ItemOfPoint(Index);
  if (FCallout && (FCallout->Visible() || FCallout->Arrow()->Visible()))
    FCallout->PaintArrow(Color, Position.ArrowFrom, ZPosition, Position.ArrowTo);
  if (shape->Transparent()) {
    canvas->CanvasBrush()->SetStyle(bsClear);
    canvas->SetBackgroundMode(TRANSPARENT);
  } else {
    canvas->ApplyBrush(shape->Brush(), shape->Color(), shape->Brush()->Color());
  }
  canvas->ApplyPen(shape->Pen());
  Position.LeftTop = FlattenPosition(Position.ArrowTo, Position.LeftTop);
  TRect box = Bounds(Position.LeftTop.X, Position.LeftTop.Y, Position.Width, Position.Height);
  const int angle = ((FAngle % 360) + 360) % 360;
  shape->PaintRotated(box, angle, ZPosition + 1);
  const int h = canvas->TextHeight("W");
  const bool withSymbol = FSymbol && FSymbol->IsPaintable();
  if (withSymbol) {
    FSymbol->SetColor(Color);
    FSymbol->SetTransparent(false);
    FSymbol->ShapeBox = Rect(box.Left + 4, box.Top + 3, box.Left + h - 1, box.Top + h - 2);
    FSymbol->PaintRotated(FSymbol->ShapeBox, angle, ZPosition + 1);
  }
  canvas->CanvasBrush()->SetStyle(bsClear);
  canvas->SetBackgroundMode(TRANSPARENT);
  canvas->SetTextAlignment(TA_CENTER | TA_TOP);
  box.Left += 2;
  if (withSymbol) box.Left += (FSymbol->ShapeBox.Right - FSymbol->ShapeBox.Left) + 4;
  const int xc = (box.Left + box.Right) / 2;
  const int yc = (box.Top + box.Bottom) / 2;
  const bool full = canvas->FullRotationSupported();
  if (shape->TextFormat() == ttfHtml) {
    canvas->TextOutMaybeHtml(xc, box.Top, true, Text);
  } else {
    const std::vector<std::string> lines = SplitLines(Text);
    const int penOffset = shape->Pen()->Visible() ? shape->Pen()->Width() : 0;
    for (size_t k = 0; k < lines.size(); ++k) {
      const int kh = static_cast<int>(k) * h;
      if (angle == 0) {
        const int y = box.Top + kh + penOffset;
        if (full) canvas->TextOut3D(xc, y, ZPosition, lines[k]);
        else canvas->TextOut(xc, y, lines[k]);
      } else {
        const double a = angle * M_PI / 180;
        const int e = kh + yc - box.Bottom;
        const int x = xc + static_cast<int>(Round(std::sin(a) * e)) + (angle == 90 ? 1 : 0);
        const int y = yc + static_cast<int>(Round(std::cos(a) * e));
        if (full) canvas->RotateLabel3D(x, y, ZPosition, lines[k], angle);
        else canvas->RotateLabel(x, y, lines[k], angle);
      }
    }
  }
  canvas->SetTextAlignment(TA_LEFT | TA_TOP);
}

// ---- Item streaming ---------------------------------------------------------------------------

void TSeriesMarks::WriteItems(TStream* Stream) {
  Stream->WriteInteger(FItems->Count());
  TWriter writer(Stream);
  for (int i = 0; i < FItems->Count(); ++i) {
    writer.WriteListBegin();
    if (TMarksItem* item = FItems->Peek(i)) writer.WriteProperties(item);
    writer.WriteListEnd();
  }
}

void TSeriesMarks::ReadItems(TStream* Stream) {
  const int n = Stream->ReadInteger();
  if (n < 0) throw EReadError("Invalid mark items");
  FItems->FItems.clear();
  FItems->ItemsLoaded = n > 0;
  TReader reader(Stream);
  for (int i = 0; i < n; ++i) {
    reader.ReadListBegin();
    if (reader.EndOfList()) {
      reader.ReadListEnd();
      if (i >= FItems->Count()) FItems->FItems.resize(static_cast<size_t>(i) + 1);
      continue;
    }
    TMarksItem* item = FItems->ItemAt(i);
    while (!reader.EndOfList()) reader.ReadProperty(item);
    reader.ReadListEnd();
  }
}

void TSeriesMarks::DefineProperties(TFiler* Filer) {
  TGrafCustomShape::DefineProperties(Filer);
  Filer->DefineBinaryProperty(
      "Items", [this](TStream* s) { ReadItems(s); }, [this](TStream* s) { WriteItems(s); }, FItems->Count() > 0);
}

// ---- Texts and drawing of a series' marks -------------------------------------------------------

std::string TChartSeries::PercentMarkText(int Index, bool WithTotal) {
  const double total = FMainList->TotalAbs();
  const double percent = total == 0 ? 100.0 : std::fabs(MainValueAt(Index)) * 100 / total;
  const std::string p = FormatFloat(FPercentFormat, percent);
  if (!WithTotal) return p;
  const std::string t = FormatFloat(FValueFormat, total);
  return Format(FMarks->MultiLine() ? GrafMsgValueOfTotalTwoLines : GrafMsgValueOfTotal, {p, t});
}

std::string TChartSeries::BuildMarkText(int Index) {
  std::string text;
  TMarksItem* item = FMarks->Items()->Peek(Index);
  if (item && item->HasText()) {
    for (int i = 0; i < item->Text()->Count(); ++i) text += item->Text()->Strings(i) + "\r\n";
    if (text.size() >= 2) text.erase(text.size() - 2);
  } else {
    const std::string sep = FMarks->MultiLine() ? std::string(1, LineSeparator) : std::string(" ");
    auto value = [&] { return FormatFloat(FValueFormat, MainValueAt(Index)); };
    auto labelOrValue = [&] {
      std::string l = PointLabel(Index);
      return l.empty() ? value() : l;
    };
    auto xText = [&] {
      const double x = FOtherList->GetValue(Index);
      return FHorizAxisInUse ? FHorizAxisInUse->FormatLabelValue(x) : FormatFloat(FValueFormat, x);
    };
    switch (FMarks->Style()) {
      case smsValue: text = value(); break;
      case smsPercent: text = PercentMarkText(Index, false); break;
      case smsLabel: text = labelOrValue(); break;
      case smsLabelPercent: text = labelOrValue() + sep + PercentMarkText(Index, false); break;
      case smsLabelValue: text = labelOrValue() + sep + value(); break;
      case smsLegend:
        text = FParentChart ? FParentChart->ValueLegendText(this, Index) : "";
        if (!FMarks->MultiLine())
          for (char& c : text)
            if (c == LegendColumnSeparator) c = ' ';
        break;
      case smsPercentTotal: text = PercentMarkText(Index, true); break;
      case smsLabelPercentTotal: text = labelOrValue() + sep + PercentMarkText(Index, true); break;
      case smsXValue: text = xText(); break;
      case smsXY: text = xText() + sep + value(); break;
    }
  }
  if (OnGetMarkText) OnGetMarkText(this, Index, text);
  return text;
}

void TChartSeries::DrawPointMark(int Index, const std::string& Text, TSeriesMarkPosition& Position) {
  FMarks->PaintMarkAt(Index, PointColor(Index), Position, Text);
}

void TChartSeries::DrawVisibleMarks() {
  if (!FParentChart || FirstVisible < 0) return;
  TCanvas3D* canvas = FParentChart->PanelCanvas();
  TView3DOptions* view = FParentChart->View3DOptions();
  const bool zoomText = FParentChart->View3D() && !canvas->FullRotationSupported() && view->ZoomText() &&
                        view->Zoom() != 100;
  const int every = std::max(1, FMarks->DrawEvery());
  TSeriesMarkPosition position;
  for (int i = FirstVisible; i <= LastVisible; ++i) {
    if (i % every != 0 || PointIsNull(i)) continue;
    TGrafCustomShape* item = FMarks->ItemOfPoint(i);
    if (!item->Visible()) continue;
    const std::string text = BuildMarkText(i);
    if (text.empty()) continue;
    canvas->ApplyFont(item->Font());
    if (zoomText) {
      TFont* f = canvas->CanvasFont();
      f->SetSize(std::max(1, static_cast<int>(Round(f->Size() * view->Zoom() / 100.0))));
    }
    int w = 0, h = 0;
    const int hw = canvas->TextHeight("W");
    if (item->TextFormat() == ttfHtml) {
      const TSize size = HtmlSubsetExtent(canvas, text);
      w = size.cx;
      h = size.cy;
    } else {
      const std::vector<std::string> lines = SplitLines(text);
      for (const std::string& line : lines) w = std::max(w, canvas->TextWidth(line));
      h = static_cast<int>(lines.size()) * hw;
    }
    w += canvas->TextWidth("W");
    if (FMarks->HasSymbol() && FMarks->Symbol()->IsPaintable()) w += hw - 4;
    canvas->ApplyPen(item->Pen());
    if (item->Pen()->Visible()) {
      w += 2 * item->Pen()->Width();
      h += 2 * item->Pen()->Width();
    } else {
      ++w;
      ++h;
    }
    position.ArrowFix = false;
    position.Custom = false;
    position.ArrowTo = position.ArrowFrom = Point(PointXPixel(i), PointYPixel(i));
    position.Width = w;
    position.Height = h;
    position.LeftTop = Point(position.ArrowTo.X - w / 2, position.ArrowTo.Y - h + 1);
    if (FMarks->HasSymbol()) {
      TSeriesMarksSymbol* symbol = FMarks->Symbol();
      symbol->ShapeBox.Top = position.ArrowTo.Y - h + 3;
      symbol->ShapeBox.Left = position.LeftTop.X + 2;
      symbol->ShapeBox.Right = symbol->ShapeBox.Left + hw;
      symbol->ShapeBox.Bottom = symbol->ShapeBox.Top + hw;
    }
    DrawPointMark(i, text, position);
  }
}
