// The gauge series: the dial (ticks, labels, minor ticks, arc) and the hand.
#include "chart/extra/grafgauges.h"

#include <algorithm>
#include <cmath>

#include "chart/core/chart.h"
#include "chart/core/grafprocs.h"
#include "chart/core/grafutils.h"
#include "platform/rtl/format.h"
#include "platform/rtl/mathutils.h"

namespace {

int Nearest(double v) { return static_cast<int>(std::nearbyint(v)); }

constexpr double kDegree = M_PI / 180.0;

// A dial draws at most this many ticks (a tiny increment).
constexpr int kMaxTicks = 10000;

}  // namespace

const TEnumInfo& HandStyleEnumInfo() {
  static const TEnumInfo info{"THandStyle", {"hsLine", "hsTriangle"}, 0};
  return info;
}

ZV_CLASS_IMPL(TGaugeSeries, TCircledSeries)

void TGaugeSeries::DeclareProperties(TClassInfo& c) {
  using S = TGaugeSeries;
  c.Object<S, TSeriesPointer>("Center", &S::Center, &S::SetCenter);
  c.Object<S, TGrafGradient>("CircleGradient", &S::CircleGradient, &S::SetCircleGradient);
  c.Object<S, TSeriesPointer>("EndPoint", &S::EndPoint, &S::SetEndPoint);
  c.Boolean<S>("FullRepaint", &S::FullRepaint, &S::SetFullRepaint, false);
  c.Integer<S>("HandDistance", &S::HandDistance, &S::SetHandDistance, 30);
  c.Enum<S>("HandStyle", HandStyleEnumInfo(), &S::HandStyle, &S::SetHandStyle, hsLine);
  c.Boolean<S>("LabelsInside", &S::LabelsInside, &S::SetLabelsInside, true);
  c.Float<S>("Maximum", ftDouble, &S::Maximum, &S::SetMaximum, 100.0L);
  c.Float<S>("Minimum", ftDouble, &S::Minimum, &S::SetMinimum, 0.0L);
  c.Integer<S>("MinorTickDistance", &S::MinorTickDistance, &S::SetMinorTickDistance, 0);
  c.Object<S, TChartPen>("Pen", &S::Pen, [](S* s, TChartPen* p) { s->SetPen(p); });
  c.Integer<S>("RotationAngle", &S::RotationAngle, &S::SetRotationAngle, 135);
  c.Float<S>("TotalAngle", ftDouble, &S::TotalAngle, &S::SetTotalAngle, 90.0L);
  c.Float<S>("Value", ftDouble, &S::Value, &S::SetValue, 0.0L);
  c.Method<S, TNotifyEvent>("OnChange", [](S* s) { return s->OnChange; },
                            [](S* s, const TNotifyEvent& e) { s->OnChange = e; });
}

TGaugeSeries::TGaugeSeries(TComponent* AOwner) : TCircledSeries(AOwner) {
  FCenter = std::make_unique<TSeriesPointer>(this);
  FCenter->Brush()->SetStyle(bsSolid);
  FCenter->Brush()->SetColor(clBlack);
  FCenter->SetStyle(psCircle);
  FCenter->StoreHorizSize(8);
  FCenter->StoreVertSize(8);
  FCenter->Gradient()->SetVisible(true);
  FEndPoint = std::make_unique<TSeriesPointer>(this);
  FEndPoint->Brush()->SetStyle(bsSolid);
  FEndPoint->Brush()->SetColor(clWhite);
  FEndPoint->SetStyle(psCircle);
  FEndPoint->StoreHorizSize(3);
  FEndPoint->StoreVertSize(3);
  FEndPoint->SetVisible(false);
  FEndPoint->VisibleDefault = false;
  FCircled = true;
  SetRotationAngle(135);
  FShowInLegend = false;
  AddXYPoint(0, 0, "", clDefault);
}

TGaugeSeries::~TGaugeSeries() {
  if (FParentChart) {
    SwitchChart3D(true);
    TChartSeries::SetParentChart(nullptr);
  }
}

void TGaugeSeries::SetParentChart(TCustomAxisPanel* Value) {
  TCircledSeries::SetParentChart(Value);
  if (!ComponentState().Contains(csDestroying)) {
    FCenter->AttachToPanel(Value);
    FEndPoint->AttachToPanel(Value);
  }
  if (!FParentChart) return;
  if (auto* chart = dynamic_cast<TCustomChart*>(FParentChart)) {
    chart->Walls()->SetVisible(false);
    if (chart->Frame()) chart->Frame()->SetVisible(false);
  }
  FParentChart->SetView3D(false);
  if (FVertAxisInUse) {
    FVertAxisInUse->SetTickLength(14);
    FVertAxisInUse->SetMinorTickLength(6);
  }
}

// ---- Value and range ---------------------------------------------------------------------------

double TGaugeSeries::Value() {
  if (PointCount() == 0) AddXYPoint(0, 0, "", clDefault);
  return YValues()->GetValue(0);
}

void TGaugeSeries::SetValue(double Value) {
  if (this->Value() == Value) return;
  const bool drawn = !FFullRepaint && FParentChart && RadiusX > 0 && Pen()->Visible();
  if (drawn) DrawHand();
  YValues()->StoreValue(0, Value);
  if (drawn) DrawHand();
  else if (FFullRepaint) RequestRedraw();
  if (OnChange) OnChange(this);
}

void TGaugeSeries::SetMaximum(double Value) {
  FMaximum = Value;
  SetValue(std::min(this->Value(), FMaximum));
  RequestRedraw();
}

void TGaugeSeries::SetMinimum(double Value) {
  FMinimum = Value;
  SetValue(std::max(this->Value(), FMinimum));
  RequestRedraw();
}

void TGaugeSeries::SetHandStyle(THandStyle Value) {
  if (FHandStyle == Value) return;
  FHandStyle = Value;
  RequestRedraw();
}

void TGaugeSeries::PointAdded(TChartSeries* Sender, int Index) {
  if (Index > 0 && Index < PointCount()) YValues()->StoreValue(0, MainValueAt(Index));
  TCircledSeries::PointAdded(Sender, Index);
}

// ---- Geometry ----------------------------------------------------------------------------------

double TGaugeSeries::ValueAngle(double Value) const {
  const double d = FMaximum - FMinimum;
  return 360 - (FTotalAngle - FTotalAngle * (Value - FMinimum) / d) + FRotationAngle;
}

TPoint TGaugeSeries::DialPoint(double Angle, double RX, double RY) const {
  return Point(RingCenterX - Nearest(std::cos(Angle) * RX), RingCenterY - Nearest(std::sin(Angle) * RY));
}

int TGaugeSeries::MarkerSize(TSeriesPointer* Marker) const {
  if (!Marker->Visible()) return 0;
  return 2 * Marker->VertSize() + (Marker->Pen()->Visible() ? Marker->Pen()->Width() : 0);
}

void TGaugeSeries::HandPoints(TPoint& Start, TPoint& Tip) {
  const TPoint centre = Point(RingCenterX, RingCenterY);
  const double a = FMaximum == FMinimum ? 90 : ValueAngle(Value());
  Tip = DialPoint(a * kDegree, RadiusX, RadiusY);
  const int shorten = MarkerSize(FEndPoint.get()) + FHandDistance;
  if (shorten > 0 && Tip != centre) Tip = PointShortOfEnd(centre, Tip, shorten);
  Start = centre;
  if (FCenter->Visible() && FCenter->Style() == psCircle && Tip != centre)
    Start = PointShortOfEnd(Tip, centre, MarkerSize(FCenter.get()) / 2.0);
}

// ---- Drawing -----------------------------------------------------------------------------------

void TGaugeSeries::DrawHand() {
  if (!FParentChart) return;
  TCanvas3D* canvas = FParentChart->PanelCanvas();
  const TPenMode mode = FFullRepaint ? pmCopy : pmNotXor;
  TPoint start, tip;
  HandPoints(start, tip);
  canvas->ApplyPen(Pen());
  canvas->CanvasPen()->SetMode(mode);
  if (FHandStyle == hsLine) {
    canvas->LineFromTo(start.X, start.Y, tip.X, tip.Y);
  } else {
    const double t = std::atan2(static_cast<double>(tip.Y - start.Y), static_cast<double>(tip.X - start.X)) + M_PI / 2;
    const TPoint a = Point(start.X - Nearest(std::cos(t) * 4), start.Y - Nearest(std::sin(t) * 4));
    const TPoint b = Point(start.X - Nearest(std::cos(t + M_PI) * 4), start.Y - Nearest(std::sin(t + M_PI) * 4));
    canvas->CanvasBrush()->SetStyle(bsSolid);
    canvas->CanvasBrush()->SetColor(Pen()->Color());
    const TPoint tri[3] = {tip, a, b};
    canvas->Polygon(tri);
  }
  if (FEndPoint->Visible()) {
    FEndPoint->SetupCanvas(canvas, FEndPoint->BrushColor());
    canvas->CanvasPen()->SetMode(mode);
    if (!FFullRepaint) canvas->CanvasBrush()->SetStyle(bsClear);
    const TPoint centre = Point(RingCenterX, RingCenterY);
    const TPoint at = tip == centre ? tip : PointShortOfEnd(centre, tip, -MarkerSize(FEndPoint.get()) / 2.0);
    FEndPoint->DrawShapeAt(canvas, false, at.X, at.Y, FEndPoint->HorizSize(), FEndPoint->VertSize(),
                           FEndPoint->BrushColor(), FEndPoint->Style());
  }
  canvas->CanvasPen()->SetMode(pmCopy);
}

void TGaugeSeries::DrawTicksAndLabels(double Increment) {
  TChartAxis* axis = FVertAxisInUse;
  const bool ticks = axis->Ticks()->Visible();
  const bool labels = axis->Labels();
  if (!ticks && !labels) return;
  if (FMaximum == FMinimum) return;
  TCanvas3D* canvas = FParentChart->PanelCanvas();
  canvas->ApplyFont(axis->LabelsFont());
  canvas->ApplyPen(axis->Ticks());
  canvas->SetBackgroundMode(TRANSPARENT);
  canvas->SetTextAlignment(TA_LEFT);
  const int h = canvas->TextHeight("W");
  const int len = axis->TickLength();
  const bool fullCircle = FTotalAngle >= 360;
  double v = FMinimum;
  for (int n = 0; n < kMaxTicks && (fullCircle ? v < FMaximum : v <= FMaximum); ++n, v += Increment) {
    const double a = ValueAngle(v) * kDegree;
    TPoint p1 = DialPoint(a, RadiusX - len, RadiusY - len);
    if (ticks) {
      const TPoint p2 = DialPoint(a, RadiusX, RadiusY);
      canvas->LineFromTo(p1.X, p1.Y, p2.X, p2.Y);
    }
    if (!labels) continue;
    const std::string text = FormatFloat(FValueFormat, v);
    const int w = canvas->TextWidth(text);
    if (!FLabelsInside) p1 = DialPoint(a, RadiusX + h, RadiusY + h);
    p1.X -= Nearest(w * 0.5);
    if (FLabelsInside) {
      double deg = std::fmod(a / kDegree, 360.0);
      if (deg < 0) deg += 360;
      p1.X += Nearest(w * 0.5 * std::cos(deg * kDegree));
      if (deg > 180 && deg < 360) p1.Y += Nearest(h * std::sin(deg * kDegree));
    }
    canvas->TextOut(p1.X, p1.Y, text);
  }
}

void TGaugeSeries::DrawMinorTicks(double Increment) {
  TChartAxis* axis = FVertAxisInUse;
  const int n = axis->MinorTickCount();
  if (!axis->MinorTicks()->Visible() || n <= 0 || FMaximum == FMinimum) return;
  TCanvas3D* canvas = FParentChart->PanelCanvas();
  canvas->ApplyPen(axis->MinorTicks());
  const int inner = axis->MinorTickLength() + FMinorTickDistance;
  const double step = Increment / (n + 1);
  int drawn = 0;
  auto after = [&](double v) {
    for (int k = 1; k <= n && drawn < kMaxTicks; ++k, ++drawn) {
      const double m = v + step * k;
      if (m > FMaximum) break;
      const double a = ValueAngle(m) * kDegree;
      const TPoint p1 = DialPoint(a, RadiusX - inner, RadiusY - inner);
      const TPoint p2 = DialPoint(a, RadiusX - FMinorTickDistance, RadiusY - FMinorTickDistance);
      canvas->LineFromTo(p1.X, p1.Y, p2.X, p2.Y);
    }
  };
  double v = FMinimum;
  for (int count = 0; FMaximum - Increment >= v && count < kMaxTicks; ++count) {
    after(v);
    v += Increment;
  }
  if (v < FMaximum) after(v);
}

void TGaugeSeries::DrawAxisArc() {
  TChartAxis* axis = FVertAxisInUse;
  if (!axis->Axis()->Visible()) return;
  TCanvas3D* canvas = FParentChart->PanelCanvas();
  canvas->ApplyPen(axis->Axis());
  TRect r = FParentChart->ChartArea;
  if (FCircled) {
    const int cx = (r.Left + r.Right) / 2, cy = (r.Top + r.Bottom) / 2;
    const int half = std::min(r.Right - r.Left, r.Bottom - r.Top) / 2;
    r = Rect(cx - half, cy - half, cx + half, cy + half);
  }
  const int cx = (r.Left + r.Right) / 2, cy = (r.Top + r.Bottom) / 2;
  auto direction = [&](double degrees) {
    const double t = degrees * kDegree;
    return Point(cx - Nearest(std::cos(t) * 1000), cy - Nearest(std::sin(t) * 1000));
  };
  const TPoint from = direction(FRotationAngle), to = direction(360 - FTotalAngle + FRotationAngle);
  canvas->CanvasBrush()->SetStyle(bsClear);
  canvas->Arc2D(r.Left + 1, r.Top + 1, r.Right, r.Bottom, from.X, from.Y, to.X, to.Y);
}

void TGaugeSeries::DrawVisiblePoints() {
  if (!FParentChart || !FVertAxisInUse) return;
  TCanvas3D* canvas = FParentChart->PanelCanvas();
  double increment = FVertAxisInUse->Increment();
  // An increment at or below zero counts as 10 (an endless dial otherwise).
  if (!(increment > 0)) increment = 10;
  if (FCircleGradient->Visible()) PaintCircleBackground();
  if (FCenter->Visible()) {
    FCenter->SetupCanvas(canvas, FCenter->BrushColor());
    FCenter->DrawShapeAt(canvas, false, RingCenterX, RingCenterY, FCenter->HorizSize(), FCenter->VertSize(),
                         FCenter->BrushColor(), FCenter->Style());
  }
  DrawTicksAndLabels(increment);
  DrawMinorTicks(increment);
  DrawAxisArc();
  if (Pen()->Visible()) DrawHand();
}

int TGaugeSeries::IndexAtPoint(int X, int Y) {
  if (!FParentChart) return -1;
  FParentChart->PanelCanvas()->UnprojectPoint(X, Y, MiddleZ);
  TPoint start, tip;
  HandPoints(start, tip);
  return PointNearSegmentPoints(Point(X, Y), start, tip, 2) ? 0 : -1;
}

// ---- Gallery -----------------------------------------------------------------------------------

void TGaugeSeries::ApplyGallery3D(bool Value) {
  TCircledSeries::ApplyGallery3D(Value);
  if (FParentChart) FParentChart->SetView3D(false);
  SetCircled(true);
}

void TGaugeSeries::GenerateRandomPoints(int, bool) { SetValue(FMinimum + Random() * (FMaximum - FMinimum)); }

void TGaugeSeries::SetupGalleryPreview(bool Enabled) {
  TCircledSeries::SetupGalleryPreview(Enabled);
  if (FVertAxisInUse) {
    FVertAxisInUse->SetMinorTickCount(1);
    FVertAxisInUse->SetTickLength(4);
    FVertAxisInUse->SetMinorTickLength(2);
    FVertAxisInUse->SetIncrement(25);
  }
  SetHandDistance(3);
  FCenter->SetHorizSize(2);
  FCenter->SetVertSize(2);
  SetFullRepaint(true);
  Pen()->SetColor(Enabled ? clBlue : clGray);
}
