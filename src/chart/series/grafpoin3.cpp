// 3D point and bubble series.
#include "chart/series/grafpoin3.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "chart/core/chart.h"
#include "chart/core/grafconst.h"

ZV_CLASS_IMPL(TPoint3DSeries, TCustom3DSeries)

void TPoint3DSeries::DeclareProperties(TClassInfo& c) {
  using S = TPoint3DSeries;
  c.Object<S, TChartPen>("BaseLine", &S::BaseLine, &S::SetBaseLine);
  c.Float<S>("DepthSize", ftDouble, &S::DepthSize, &S::SetDepthSize, 0.0L);
  c.Object<S, TChartPen>("LinePen", &S::LinePen, &S::SetLinePen);
  c.Object<S, TSeriesPointer>("Pointer", &S::Pointer, &S::SetPointer);
  c.Method<S, TPoint3DClickPointerEvent>(
      "OnClickPointer", [](S* s) { return s->OnClickPointer; },
      [](S* s, const TPoint3DClickPointerEvent& e) { s->OnClickPointer = e; });
  c.Method<S, TPoint3DGetPointerStyle>(
      "OnGetPointerStyle", [](S* s) { return s->OnGetPointerStyle; },
      [](S* s, const TPoint3DGetPointerStyle& e) { s->OnGetPointerStyle = e; });
}

TPoint3DSeries::TPoint3DSeries(TComponent* AOwner) : TCustom3DSeries(AOwner) {
  FPointer = std::make_unique<TSeriesPointer>(this);
  FBaseLine = std::make_unique<TChartHiddenPen>([this](TObject*) { RequestRedraw(); });
}

TPoint3DSeries::~TPoint3DSeries() {
  if (FParentChart) TChartSeries::SetParentChart(nullptr);
}

void TPoint3DSeries::SetParentChart(TCustomAxisPanel* Value) {
  TCustom3DSeries::SetParentChart(Value);
  FPointer->AttachToPanel(Value);
}

int TPoint3DSeries::DepthHalfSize(int) {
  if (!FParentChart) return 0;
  return FParentChart->DepthAxis()->SizeToPixels(FDepthSize) / 2;
}

void TPoint3DSeries::CalcZPositions(int Index) {
  MiddleZ = ZPixel(Index);
  const int half = std::max(1, DepthHalfSize(Index));
  StartZ = MiddleZ - half;
  EndZ = MiddleZ + half;
}

void TPoint3DSeries::DrawPoint(int Index) {
  if (!FParentChart) return;
  if (Index == FirstDrawnIndex()) FHasPrevious = false;
  const TColor color = PointColor(Index);
  if (static_cast<uint32_t>(color) >= static_cast<uint32_t>(clNone)) return;  // a null point
  CalcZPositions(Index);
  const int x = PointXPixel(Index), y = PointYPixel(Index);
  TCanvas3D* canvas = FParentChart->PanelCanvas();
  if (FPointer->Visible()) {
    FPointer->SetupCanvas(canvas, color);
    const TSeriesPointerStyle style = OnGetPointerStyle ? OnGetPointerStyle(this, Index) : FPointer->Style();
    FPointer->DrawShapeAt(canvas, FParentChart->View3D(), x, y, FPointer->HorizSize(), FPointer->VertSize(), color,
                          style);
  }
  const int bottom = GetVertAxis()->EndPixel;
  if (FBaseLine->Visible() && y + FPointer->VertSize() < bottom) {
    const int z = ZPixel(Index);
    canvas->ApplyPenWithColor(FBaseLine.get(), FBaseLine->Color());
    canvas->MoveTo3D(x, y + FPointer->VertSize(), z);
    canvas->LineTo3D(x, bottom, z);
  }
  // Linked from the last point drawn (a null point in between is passed over).
  if (FHasPrevious && Pen()->Visible()) {
    canvas->ApplyPenWithColor(Pen(), Pen()->Color());
    canvas->SetBackgroundMode(TRANSPARENT);
    canvas->MoveTo3D(FPrevX, FPrevY, FPrevZ);
    canvas->LineTo3D(x, y, MiddleZ);
  }
  FHasPrevious = true;
  FPrevX = x;
  FPrevY = y;
  FPrevZ = MiddleZ;
}

int TPoint3DSeries::IndexAtPoint(int X, int Y) {
  const int base = TCustom3DSeries::IndexAtPoint(X, Y);
  if (base >= 0 || !FPointer->Visible()) return base;
  for (int i = 0; i < PointCount(); ++i) {
    int x = X, y = Y;
    if (FParentChart) FParentChart->PanelCanvas()->UnprojectPoint(x, y, ZPixel(i));
    if (std::abs(PointXPixel(i) - x) < FPointer->HorizSize() && std::abs(PointYPixel(i) - y) < FPointer->VertSize()) {
      if (OnClickPointer) OnClickPointer(this, i, X, Y);
      return i;
    }
  }
  return -1;
}

void TPoint3DSeries::GetHorizMargins(int& Left, int& Right) {
  TCustom3DSeries::GetHorizMargins(Left, Right);
  FPointer->WidenHorizMargins(Left, Right);
}

void TPoint3DSeries::GetVertMargins(int& Top, int& Bottom) {
  TCustom3DSeries::GetVertMargins(Top, Bottom);
  FPointer->WidenVertMargins(Top, Bottom);
}

double TPoint3DSeries::LargestZ() { return FZValues->MaxValue() + FDepthSize; }

void TPoint3DSeries::PaintLegendSymbol(int Row, const TRect& R) {
  if (FPointer->Visible()) {
    const TColor color = Row == -1 ? SeriesColor() : PointColor(Row);
    DrawLegendPointer(FPointer.get(), color, R, Pen()->Visible());
  } else {
    TCustom3DSeries::PaintLegendSymbol(Row, R);
  }
}

void TPoint3DSeries::DrawPointMark(int Index, const std::string& Text, TSeriesMarkPosition& Position) {
  CalcZPositions(Index);
  FMarks->ApplyCalloutLength(Position);
  TCustom3DSeries::DrawPointMark(Index, Text, Position);
}

void TPoint3DSeries::EnumGalleryStyles(const std::function<void(const std::string&)>& Proc) {
  TCustom3DSeries::EnumGalleryStyles(Proc);
  for (const std::string& t : {GrafMsgExNoPoint, GrafMsgExLines, GrafMsgExNoLine, GrafMsgColors, GrafMsgMarks,
                               GrafMsgHollow, GrafMsgNoBorder})
    Proc(t);
  if (HasPointerStyleGallery())
    for (const std::string& t : {GrafMsgPoint2D, GrafMsgTriangle, GrafMsgStar, GrafMsgCircle, GrafMsgDownTri,
                                 GrafMsgCross, GrafMsgDiamond})
      Proc(t);
}

void TPoint3DSeries::ApplyGalleryStyle(TChartSeries* Series, int Index) {
  auto* s = dynamic_cast<TPoint3DSeries*>(Series);
  if (!s) return;
  TSeriesPointer* p = s->Pointer();
  switch (Index) {
    case 1: p->SetVisible(false); break;
    case 2: s->BaseLine()->SetVisible(true); break;
    case 3: s->Pen()->SetVisible(false); break;
    case 4: s->SetColorEachPoint(true); break;
    case 5: s->Marks()->SetVisible(true); break;
    case 6: p->Brush()->SetStyle(bsClear); break;
    case 7: p->Pen()->SetVisible(false); break;
    case 8: p->SetDraw3D(false); break;
    case 9: p->SetStyle(psTriangle); break;
    case 10: p->SetStyle(psStar); break;
    case 11: p->SetStyle(psCircle); break;
    case 12: p->SetStyle(psDownTriangle); break;
    case 13: p->SetStyle(psCross); break;
    case 14: p->SetStyle(psDiamond); break;
    default: TCustom3DSeries::ApplyGalleryStyle(Series, Index); break;
  }
}

void TPoint3DSeries::GenerateRandomPoints(int Count, bool) {
  for (int i = 0; i < Count; ++i) AddPoint3D(NextRandom(100), NextRandom(100), NextRandom(100));
}

void TPoint3DSeries::SetupGalleryPreview(bool Enabled) {
  TCustom3DSeries::SetupGalleryPreview(Enabled);
  Pen()->SetColor(static_cast<TColor>(0x800000));
  if (FParentChart) FParentChart->View3DOptions()->SetZoom(60);
}

void TPoint3DSeries::Assign(TPersistent* Source) {
  if (auto* s = dynamic_cast<TPoint3DSeries*>(Source)) {
    FPointer->Assign(s->FPointer.get());
    FDepthSize = s->FDepthSize;
    FBaseLine->Assign(s->FBaseLine.get());
  }
  TCustom3DSeries::Assign(Source);
}

// ============================================================================
// TBubble3DSeries

ZV_CLASS_IMPL(TBubble3DSeries, TPoint3DSeries)

void TBubble3DSeries::DeclareProperties(TClassInfo& c) {
  using S = TBubble3DSeries;
  c.Object<S, TChartValueList>("RadiusValues", &S::RadiusValues, &S::SetRadiusValues);
  c.Boolean<S>("ColorEachPoint", &S::ColorEachPointValue, &S::SetColorEachPointValue, true);
}

TBubble3DSeries::TBubble3DSeries(TComponent* AOwner) : TPoint3DSeries(AOwner) {
  FRadiusValues = new TChartValueList(this, "Radius");
  FPointer->SizeAdjustable = false;
  FPointer->SetStyle(psCircle);
  FColorEachPoint = true;
  Pen()->SetVisible(false);
}

int TBubble3DSeries::AddBubble(double X, double Y, double Z, double Radius, const std::string& Label, TColor Color) {
  FRadiusValues->TempValue = Radius;
  return AddLabeledPoint3D(X, Y, Z, Label, Color);
}

void TBubble3DSeries::DrawPoint(int Index) {
  if (FParentChart) {
    const int r = GetVertAxis()->SizeToPixels(FRadiusValues->GetValue(Index));
    FPointer->StoreHorizSize(r);
    FPointer->StoreVertSize(r);
  }
  TPoint3DSeries::DrawPoint(Index);
}

int TBubble3DSeries::DepthHalfSize(int Index) {
  if (!FParentChart) return 0;
  return FParentChart->DepthAxis()->SizeToPixels(FRadiusValues->GetValue(Index));
}

void TBubble3DSeries::CalcZPositions(int Index) {
  if (FPointer->Draw3D() && FParentChart && FParentChart->PanelCanvas()->RendersWithoutGdi()) {
    TPoint3DSeries::CalcZPositions(Index);
    return;
  }
  StartZ = ZPixel(Index);
  const int r = std::max(1, DepthHalfSize(Index));
  MiddleZ = StartZ + r;
  EndZ = MiddleZ + r;
}

double TBubble3DSeries::ExtremeWithRadius(TChartValueList* List, bool Largest, double Start) {
  double r = Start;
  for (int i = 0; i < PointCount(); ++i) {
    const double v = List->GetValue(i), radius = FRadiusValues->GetValue(i);
    r = Largest ? std::max(r, v + radius) : std::min(r, v - radius);
  }
  return r;
}

double TBubble3DSeries::LargestY() { return ExtremeWithRadius(FYValues, true, TPoint3DSeries::LargestY()); }
double TBubble3DSeries::SmallestY() { return ExtremeWithRadius(FYValues, false, TPoint3DSeries::SmallestY()); }
double TBubble3DSeries::LargestZ() { return ExtremeWithRadius(FZValues, true, TPoint3DSeries::LargestZ()); }
double TBubble3DSeries::SmallestZ() { return ExtremeWithRadius(FZValues, false, TCustom3DSeries::SmallestZ()); }

void TBubble3DSeries::GenerateRandomPoints(int Count, bool) {
  double minX, stepX, minY, spanY, firstY;
  PrepareSampleRange(Count, minX, stepX, minY, spanY, firstY);
  const int span = std::max(1, static_cast<int>(std::nearbyint(spanY)));
  double x = minX;
  for (int i = 0; i < Count; ++i) {
    const double radius = std::nearbyint(spanY / (NextRandom(15) + 10)) + spanY / 15;
    AddBubble(x, NextRandom(span), NextRandom(200), radius, "", clDefault);
    x += stepX;
  }
}

void TBubble3DSeries::SetupGalleryPreview(bool Enabled) {
  TPoint3DSeries::SetupGalleryPreview(Enabled);
  FPointer->Gradient()->SetVisible(true);
}

void RegisterPoint3DSeriesTypes() {
  static const bool done = [] {
    RegisterSeriesType(&TPoint3DSeries::StaticClass(), &GrafMsgExPoint3D, &GrafMsgEx3D, 1);
    RegisterSeriesType(&TBubble3DSeries::StaticClass(), &GrafMsgExBubble3D, &GrafMsgEx3D, 1);
    return true;
  }();
  (void)done;
}

void UnregisterPoint3DSeriesTypes() {
  UnregisterSeriesTypes({&TPoint3DSeries::StaticClass(), &TBubble3DSeries::StaticClass()});
}
