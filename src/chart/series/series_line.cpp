// The concrete line, horizontal line and point series: their defaults,
// copying, published properties and gallery sub-styles.
#include "chart/core/grafconst.h"
#include "chart/series/series.h"

namespace {

// What line and point series publish in common.
template <class S>
void DeclareCommon(TClassInfo& c) {
  c.Boolean<S>("ClickableLine", &S::ClickableLine, &S::SetClickableLine, true);
  c.Object<S, TSeriesPointer>("Pointer", &S::Pointer, &S::SetPointer);
  c.Enum<S>("Stacked", CustomSeriesStackEnumInfo(), &S::Stacked, &S::SetStacked, cssNone);
  c.template Method<S, TOnGetPointerStyle>(
      "OnGetPointerStyle", [](S* s) { return s->OnGetPointerStyle; },
      [](S* s, const TOnGetPointerStyle& e) { s->OnGetPointerStyle = e; });
}

}  // namespace

// ============================================================================
// TLineSeries

ZV_CLASS_IMPL(TLineSeries, TCustomSeries)

void TLineSeries::DeclareProperties(TClassInfo& c) {
  using S = TLineSeries;
  DeclareCommon<S>(c);
  c.Boolean<S>("ColorEachLine", &S::ColorEachLine, &S::SetColorEachLine, true);
  c.Object<S, TGrafShadow>("Shadow", &S::Shadow, &S::SetShadow);
  c.Boolean<S>("Dark3D", &S::Dark3D, &S::SetDark3D, true);
  c.Boolean<S>("InvertedStairs", &S::InvertedStairs, &S::SetInvertedStairs, false);
  c.Enum<S>("LineBrush", BrushStyleEnumInfo(), &S::LineBrush, &S::SetLineBrush, bsSolid);
  c.Integer<S>("LineHeight", &S::LineHeight, &S::SetLineHeight, 0);
  c.Object<S, TChartPen>("LinePen", &S::LinePen, &S::SetLinePen);
  c.Object<S, TChartPen>("OutLine", &S::OutLine, &S::SetOutLine);
  c.Boolean<S>("Stairs", &S::Stairs, &S::SetStairs, false);
}

TLineSeries::TLineSeries(TComponent* AOwner) : TCustomSeries(AOwner) {
  FDrawLine = true;
  SinglePointResults = false;
  FPointer->SetVisible(false);
  FPointer->VisibleDefault = false;
}

void TLineSeries::Assign(TPersistent* Source) {
  TCustomSeries::Assign(Source);
  if (!(Source && Source->InheritsFrom(ClassType()))) FPointer->SetVisible(false);
  FDrawArea = false;
  FDrawLine = true;
}

void TLineSeries::EnumGalleryStyles(const std::function<void(const std::string&)>& Proc) {
  TCustomSeries::EnumGalleryStyles(Proc);
  for (const std::string& t : {GrafMsgStairs, GrafMsgPoints, GrafMsgHeight, GrafMsgHollow, GrafMsgColors, GrafMsgMarks,
                        GrafMsgNoBorder, GrafMsgOutline})
    Proc(t);
}

void TLineSeries::ApplyGalleryStyle(TChartSeries* Series, int Index) {
  auto* s = dynamic_cast<TLineSeries*>(Series);
  if (!s) return;
  switch (Index) {
    case 1: s->SetStairs(true); break;
    case 2: s->Pointer()->SetVisible(true); break;
    case 3: s->SetLineHeight(5); break;
    case 4: s->SetLineBrush(bsClear); break;
    case 5: s->SetColorEachPoint(true); break;
    case 6: s->Marks()->SetVisible(true); break;
    case 7: s->LinePen()->SetVisible(false); break;
    case 8: s->OutLine()->SetVisible(true); break;
    default: break;
  }
}

void TLineSeries::AdjustLegendCanvas(int, TColor&, TBrushStyle& BrushStyle) {
  if (FParentChart) FParentChart->PanelCanvas()->ApplyPen(LinePen());
  BrushStyle = LineBrush();
}

// ============================================================================
// THorizLineSeries

ZV_CLASS_IMPL_NOPROPS(THorizLineSeries, TLineSeries)

THorizLineSeries::THorizLineSeries(TComponent* AOwner) : TLineSeries(AOwner) {
  SetHorizontalOrientation();
  CalcVisibleRange = false;
  XValues()->SetOrder(loNone);
  YValues()->SetOrder(loAscending);
}

void THorizLineSeries::DrawPointMark(int Index, const std::string& Text, TSeriesMarkPosition& Position) {
  TMarksCallout* c = FMarks->Callout();
  int l = c->Length() + c->Distance();
  const bool leftOfBase = PointXPixel(Index) < AreaBottomPixel(Index);
  if (leftOfBase) l = -l - Position.Width;
  Position.LeftTop.X += l + Position.Width / 2;
  Position.LeftTop.Y += Position.Height / 2;
  Position.ArrowTo.X += l;
  Position.ArrowFrom.X += leftOfBase ? -c->Distance() : c->Distance();
  TCustomSeries::DrawPointMark(Index, Text, Position);
}

int THorizLineSeries::MarkOffset() { return WidestVisibleMark(); }

// ============================================================================
// TPointSeries

ZV_CLASS_IMPL(TPointSeries, TCustomSeries)

void TPointSeries::DeclareProperties(TClassInfo& c) {
  using S = TPointSeries;
  DeclareCommon<S>(c);
  c.Integer<S>("Transparency", &S::Transparency, [](S* s, int v) { s->SetTransparency(v); }, 0);
  c.Method<S, TSeriesClickPointerEvent>("OnClickPointer", [](S* s) { return s->OnClickPointer; },
                                        [](S* s, const TSeriesClickPointerEvent& e) { s->OnClickPointer = e; });
}

TPointSeries::TPointSeries(TComponent* AOwner) : TCustomSeries(AOwner) {
  ApplyPointDefaults();
  FMarks->Callout()->SetLength(0);
  FMarks->Callout()->LengthDefault = 0;
}

void TPointSeries::ApplyPointDefaults() {
  FPointer->SetVisible(true);
  FDrawArea = false;
  FDrawLine = false;
  FClickableLine = false;
}

void TPointSeries::Assign(TPersistent* Source) {
  TCustomSeries::Assign(Source);
  ApplyPointDefaults();
}

void TPointSeries::SetColorEachPoint(bool Value) {
  TCustomSeries::SetColorEachPoint(Value);
  if (Value) FPointer->SetBrushColor(clDefault);
}

void TPointSeries::EnumGalleryStyles(const std::function<void(const std::string&)>& Proc) {
  TCustomSeries::EnumGalleryStyles(Proc);
  for (const std::string& t : {GrafMsgColors, GrafMsgMarks, GrafMsgHollow, GrafMsgNoBorder, GrafMsgGradient}) Proc(t);
  if (!OffersPointerStyles()) return;
  for (const std::string& t : {GrafMsgPoint2D, GrafMsgTriangle, GrafMsgStar, GrafMsgCircle, GrafMsgDownTri, GrafMsgCross,
                        GrafMsgDiamond})
    Proc(t);
}

void TPointSeries::ApplyGalleryStyle(TChartSeries* Series, int Index) {
  auto* s = dynamic_cast<TPointSeries*>(Series);
  if (!s) return;
  if (Index >= 6 && !OffersPointerStyles()) return;
  TSeriesPointer* p = s->Pointer();
  switch (Index) {
    case 1: s->SetColorEachPoint(true); break;
    case 2: s->Marks()->SetVisible(true); break;
    case 3: p->Brush()->SetStyle(bsClear); break;
    case 4: p->Pen()->SetVisible(false); break;
    case 5: p->Gradient()->SetVisible(true); break;
    case 6: p->SetDraw3D(false); break;
    case 7: p->SetStyle(psTriangle); break;
    case 8: p->SetStyle(psStar); break;
    case 9:
      p->SetStyle(psCircle);
      p->SetHorizSize(8);
      p->SetVertSize(8);
      break;
    case 10: p->SetStyle(psDownTriangle); break;
    case 11: p->SetStyle(psCross); break;
    case 12: p->SetStyle(psDiamond); break;
    default: break;
  }
}

void TPointSeries::SetupGalleryPreview(bool Enabled) {
  TCustomSeries::SetupGalleryPreview(Enabled);
  const int size = FParentChart && FParentChart->Width() < 50 ? 4 : 6;
  FPointer->SetHorizSize(size);
  FPointer->SetVertSize(size);
  if (FParentChart && FParentChart->NumberOfSeries() > 1 && FParentChart->SeriesAt(1) == this)
    FPointer->SetStyle(psTriangle);
}
