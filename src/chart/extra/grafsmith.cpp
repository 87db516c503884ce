// The Smith chart series: the reflection mapping, the grid of constant
// resistance and reactance, the points and their hit test.
#include "chart/extra/grafsmith.h"

#include <cmath>

#include "chart/core/chart.h"
#include "chart/core/grafconst.h"
#include "chart/core/grafutils.h"
#include "platform/rtl/format.h"

namespace {

int Nearest(double v) { return static_cast<int>(std::nearbyint(v)); }

const double kReactances[] = {0, 0.1, 0.3, 0.5, 0.8, 1, 1.5, 2, 3, 5, 7, 10};
const double kResistances[] = {0, 0.2, 0.5, 1, 2, 5, 10};

}  // namespace

ZV_CLASS_IMPL(TSmithSeries, TCircledSeries)

void TSmithSeries::DeclareProperties(TClassInfo& c) {
  using S = TSmithSeries;
  c.Object<S, TChartPen>("CCirclePen", &S::CCirclePen, &S::SetCCirclePen);
  c.Integer<S>("CircleBackColor", [](S* s) { return static_cast<int>(s->CircleBackColor()); },
               [](S* s, int v) { s->SetCircleBackColor(static_cast<TColor>(v)); }, static_cast<int>(clDefault))
      .WithIdents(&ColorIdents());
  c.Object<S, TGrafGradient>("CircleGradient", &S::CircleGradient, &S::SetCircleGradient);
  c.Object<S, TChartPen>("CirclePen", &S::CirclePen, &S::SetCirclePen);
  c.Boolean<S>("CLabels", &S::CLabels, &S::SetCLabels, std::nullopt);
  c.Object<S, TGrafFont>("CLabelsFont", &S::CLabelsFont, &S::SetCLabelsFont);
  c.String<S>("ImagSymbol", &S::ImagSymbol, &S::SetImagSymbol, std::string("i"));
  c.Object<S, TChartPen>("Pen", &S::Pen, [](S* s, TChartPen* p) { s->SetPen(p); });
  c.Object<S, TSeriesPointer>("Pointer", &S::Pointer, &S::SetPointer);
  c.Object<S, TChartPen>("RCirclePen", &S::RCirclePen, &S::SetRCirclePen);
  c.Object<S, TChartValueList>("ReactanceValues", &S::ReactanceValues, &S::SetReactanceValues);
  c.Object<S, TChartValueList>("ResistanceValues", &S::ResistanceValues, &S::SetResistanceValues);
  c.Boolean<S>("RLabels", &S::RLabels, &S::SetRLabels, std::nullopt);
  c.Object<S, TGrafFont>("RLabelsFont", &S::RLabelsFont, &S::SetRLabelsFont);
  c.Method<S, TOnGetPointerStyle>("OnGetPointerStyle", [](S* s) { return s->OnGetPointerStyle; },
                                  [](S* s, const TOnGetPointerStyle& e) { s->OnGetPointerStyle = e; });
}

TSmithSeries::TSmithSeries(TComponent* AOwner) : TCircledSeries(AOwner) {
  FCirclePen = NewPen();
  FPointer = std::make_unique<TSeriesPointer>(this);
  XValues()->SetName(GrafMsgExResistance);
  XValues()->SetOrder(loNone);
  YValues()->SetName(GrafMsgExReactance);
}

TSmithSeries::~TSmithSeries() {
  if (FParentChart) {
    SwitchChart3D(true);
    TChartSeries::SetParentChart(nullptr);
  }
}

void TSmithSeries::SetParentChart(TCustomAxisPanel* Value) {
  TCircledSeries::SetParentChart(Value);
  FPointer->AttachToPanel(Value);
  if (FParentChart && ComponentState().Contains(csDesigning)) FParentChart->SetView3D(false);
}

// ---- Properties lent by the axes -----------------------------------------------------------------

TChartPen* TSmithSeries::CCirclePen() const { return FVertAxisInUse ? FVertAxisInUse->Grid() : Pen(); }
void TSmithSeries::SetCCirclePen(TChartPen* Value) {
  if (FVertAxisInUse) FVertAxisInUse->Grid()->Assign(Value);
}
TChartPen* TSmithSeries::RCirclePen() const { return FHorizAxisInUse ? FHorizAxisInUse->Grid() : Pen(); }
void TSmithSeries::SetRCirclePen(TChartPen* Value) {
  if (FHorizAxisInUse) FHorizAxisInUse->Grid()->Assign(Value);
}
bool TSmithSeries::CLabels() const { return FVertAxisInUse ? FVertAxisInUse->Labels() : true; }
void TSmithSeries::SetCLabels(bool Value) {
  if (FVertAxisInUse) FVertAxisInUse->SetLabels(Value);
}
bool TSmithSeries::RLabels() const { return FHorizAxisInUse ? FHorizAxisInUse->Labels() : true; }
void TSmithSeries::SetRLabels(bool Value) {
  if (FHorizAxisInUse) FHorizAxisInUse->SetLabels(Value);
}
TGrafFont* TSmithSeries::CLabelsFont() const {
  return FVertAxisInUse ? FVertAxisInUse->LabelsFont() : FMarks->Font();
}
void TSmithSeries::SetCLabelsFont(TGrafFont* Value) {
  if (FVertAxisInUse) FVertAxisInUse->SetLabelsFont(Value);
}
TGrafFont* TSmithSeries::RLabelsFont() const {
  return FHorizAxisInUse ? FHorizAxisInUse->LabelsFont() : FMarks->Font();
}
void TSmithSeries::SetRLabelsFont(TGrafFont* Value) {
  if (FHorizAxisInUse) FHorizAxisInUse->SetLabelsFont(Value);
}

// ---- Geometry ----------------------------------------------------------------------------------

TPoint TSmithSeries::ImpedancePoint(double Resistance, double Reactance) const {
  const double e = Resistance * Resistance + Reactance * Reactance;
  const double k = 1 / (e + 2 * Resistance + 1);
  return Point(ClampAxisPixel(RadiusX * (e - 1) * k) + RingCenterX,
               RingCenterY - ClampAxisPixel(RadiusY * 2 * Reactance * k));
}

int TSmithSeries::PointXPixel(int Index) { return ImpedancePoint(XValueAt(Index), YValueAt(Index)).X; }
int TSmithSeries::PointYPixel(int Index) { return ImpedancePoint(XValueAt(Index), YValueAt(Index)).Y; }

bool TSmithSeries::FirstOfItsClass() const {
  if (!FParentChart) return true;
  for (TChartSeries* s : *FParentChart->SeriesList()) {
    if (s == this) return true;
    if (s->Active() && s->InheritsFrom(ClassType())) return false;
  }
  return true;
}

// ---- Grid --------------------------------------------------------------------------------------

void TSmithSeries::DrawResistanceCircle(double Resistance, bool Labels) {
  if (Resistance == -1) return;
  TCanvas3D* canvas = FParentChart->PanelCanvas();
  const int right = RingCenterX + RadiusX, cy = RingCenterY;
  const double b = 1 / (Resistance + 1);
  const int w = Nearest(RadiusX * b) * 2;
  const int h = Nearest(b * RadiusY);
  canvas->EllipseWithZ(right - w, cy - h, right, cy + h, MiddleZ);
  if (Labels && FHorizAxisInUse && FHorizAxisInUse->Visible()) {
    canvas->ApplyFont(RLabelsFont());
    canvas->SetBackgroundMode(TRANSPARENT);
    canvas->SetTextAlignment(TA_CENTER);
    canvas->TextOut3D(right - w, cy, EndZ, FloatToStr(Resistance));
  }
}

void TSmithSeries::DrawReactanceLabel(int X, int Y, double Value) {
  if (!FVertAxisInUse || !FVertAxisInUse->Visible() || !CLabels()) return;
  TCanvas3D* canvas = FParentChart->PanelCanvas();
  canvas->ApplyFont(CLabelsFont());
  const std::string text = FloatToStr(Value) + FImagSymbol;
  double a = AngleOfPoint(X, Y) * 180 / M_PI;
  // Exact compass directions come out of the arithmetic a hair off.
  if (std::fabs(a - std::nearbyint(a)) < 1e-9) a = std::nearbyint(a);
  if (a >= 360) a -= 360;
  const int h = canvas->TextHeight("W");
  if (a == 0 || a == 180) Y -= h / 2;
  else if (a > 0 && a < 180) Y -= h;
  unsigned align;
  if (a == 90 || a == 270) align = TA_CENTER;
  else if (a <= 90 || a >= 270) align = TA_LEFT;
  else align = TA_RIGHT;
  if (a == 0) X += canvas->TextWidth("0") / 2;
  else if (a == 180) X -= canvas->TextWidth("0") / 2;
  canvas->SetTextAlignment(align);
  canvas->SetBackgroundMode(TRANSPARENT);
  canvas->TextOut3D(X, Y, EndZ, text);
}

void TSmithSeries::DrawReactanceArc(double Reactance, bool Labels) {
  TCanvas3D* canvas = FParentChart->PanelCanvas();
  const int left = RingCenterX - RadiusX, right = RingCenterX + RadiusX, cy = RingCenterY;
  TPen pen;
  pen.Assign(canvas->CanvasPen());
  auto label = [&](TPoint p, double value) {
    if (!Labels) return;
    DrawReactanceLabel(p.X, p.Y, value);
    canvas->CanvasPen()->Assign(&pen);
  };
  if (Reactance == 0) {
    canvas->HorizontalLine3D(left, right, cy, MiddleZ);
    label(Point(left, cy), 0);
    return;
  }
  const double c = 1 / Reactance;
  const int h = Nearest(RadiusY * c);
  const int w = Nearest(c * RadiusX);
  const bool flat = !FParentChart->View3D() || FParentChart->View3DOptions()->Orthogonal();
  auto arc = [&](TRect box, TPoint from, TPoint to) {
    if (FParentChart->View3D()) {
      box = canvas->ProjectRectAtDepth(box, MiddleZ);
      from = canvas->ProjectPointAtDepth(from, MiddleZ);
      to = canvas->ProjectPointAtDepth(to, MiddleZ);
    }
    canvas->Arc2D(box.Left, box.Top, box.Right, box.Bottom, from.X, from.Y, to.X, to.Y);
  };
  const TPoint p0 = ImpedancePoint(0, Reactance);
  const TPoint p100 = ImpedancePoint(100, Reactance);
  label(p0, Reactance);
  if (flat) arc(Rect(right - w, cy - 2 * h, right + w, cy), p0, p100);
  const TPoint n0 = ImpedancePoint(0, -Reactance);
  if (flat) arc(Rect(right - w, cy, right + w, cy + 2 * h), p100, n0);
  label(n0, -Reactance);
}

// ---- Drawing -----------------------------------------------------------------------------------

void TSmithSeries::BeginDrawValues() {
  const bool first = FirstOfItsClass();
  if (FParentChart && first && CLabels()) {
    TCanvas3D* canvas = FParentChart->PanelCanvas();
    const int h = canvas->TextHeight("W") + 2;
    const int w = canvas->TextWidth("360");
    TRect& r = FParentChart->ChartArea;
    r = Rect(r.Left + w, r.Top + h, r.Right - w, r.Bottom - h);
    FParentChart->NormalizeChartRect();
  }
  TCircledSeries::BeginDrawValues();
  if (!FParentChart || !first) return;
  TCanvas3D* canvas = FParentChart->PanelCanvas();
  if (HasBackColor()) {
    canvas->CanvasBrush()->SetStyle(bsSolid);
    canvas->CanvasBrush()->SetColor(EffectiveBackColor());
  } else {
    canvas->CanvasBrush()->SetStyle(bsClear);
  }
  if (FCirclePen->Visible()) canvas->ApplyPen(FCirclePen.get());
  else canvas->CanvasPen()->SetStyle(psClear);
  canvas->EllipseWithZ(RingCenterX - RingWidth / 2, RingCenterY - RingHeight / 2, RingCenterX + RingWidth / 2,
                       RingCenterY + RingHeight / 2, EndZ);
  if (FCircleGradient->Visible()) PaintCircleBackground();
  if (!FParentChart->AxisVisible() || !FParentChart->AxisBehind()) return;
  canvas->CanvasBrush()->SetStyle(bsClear);
  canvas->SetBackgroundMode(TRANSPARENT);
  if (FVertAxisInUse && FVertAxisInUse->Visible()) {
    for (double x : kReactances) {
      TChartPen* pen = CCirclePen();
      if (pen->Visible()) canvas->ApplyPen(pen);
      else canvas->CanvasPen()->SetStyle(psClear);
      DrawReactanceArc(x, CLabels());
    }
  }
  if (FHorizAxisInUse && FHorizAxisInUse->Visible()) {
    for (double r : kResistances) {
      TChartPen* pen = RCirclePen();
      if (pen->Visible()) canvas->ApplyPen(pen);
      else canvas->CanvasPen()->SetStyle(psClear);
      canvas->CanvasBrush()->SetStyle(bsClear);
      DrawResistanceCircle(r, RLabels());
    }
  }
}

void TSmithSeries::DrawPoint(int Index) {
  if (!FParentChart) return;
  TCanvas3D* canvas = FParentChart->PanelCanvas();
  const TPoint p = ImpedancePoint(XValueAt(Index), YValueAt(Index));
  if (Pen()->Visible()) canvas->ApplyPenWithColor(Pen(), Index == -1 ? GetSeriesColor() : PointColor(Index));
  else canvas->CanvasPen()->SetStyle(psClear);
  canvas->SetBackgroundMode(TRANSPARENT);
  if (Index == FirstVisible) canvas->MoveTo3D(p.X, p.Y, StartZ);
  else if (p != LastPosition) canvas->LineTo3D(p.X, p.Y, StartZ);
  LastPosition = p;
}

void TSmithSeries::DrawVisiblePoints() {
  TCircledSeries::DrawVisiblePoints();
  if (!FParentChart || !FPointer->Visible() || FirstVisible < 0) return;
  TCanvas3D* canvas = FParentChart->PanelCanvas();
  for (int i = FirstVisible; i <= LastVisible; ++i) {
    const TColor c = PointColor(i);
    if (c == clNone) continue;
    const TPoint p = ImpedancePoint(XValueAt(i), YValueAt(i));
    FPointer->SetupCanvas(canvas, c);
    FPointer->DrawStyled(p.X, p.Y, OnGetPointerStyle ? OnGetPointerStyle(this, i) : FPointer->Style(), c);
  }
}

int TSmithSeries::IndexAtPoint(int X, int Y) {
  if (FParentChart) FParentChart->PanelCanvas()->UnprojectPoint(X, Y, StartZ);
  const int base = TCircledSeries::IndexAtPoint(X, Y);
  if (base >= 0 || !FPointer->Visible() || FirstVisible < 0) return base;
  for (int i = FirstVisible; i <= LastVisible; ++i) {
    const TPoint p = ImpedancePoint(XValueAt(i), YValueAt(i));
    if (std::abs(p.X - X) < FPointer->HorizSize() && std::abs(p.Y - Y) < FPointer->VertSize()) return i;
  }
  return -1;
}

void TSmithSeries::GenerateRandomPoints(int Count, bool) {
  for (int i = 0; i < Count; ++i)
    AddXYPoint(i * 6.5 / Count, ((i > 0 ? RandomInteger(i) : 0) + 3.8) / Count, "", clDefault);
}

void TSmithSeries::SetupGalleryPreview(bool Enabled) {
  TCircledSeries::SetupGalleryPreview(Enabled);
  if (!FParentChart) return;
  FParentChart->SetChart3DPercent(5);
  FParentChart->RightAxis()->SetLabels(false);
  FParentChart->TopAxis()->SetLabels(false);
  TView3DOptions* v = FParentChart->View3DOptions();
  v->SetOrthogonal(false);
  v->SetElevation(360);
  v->SetZoom(90);
}
