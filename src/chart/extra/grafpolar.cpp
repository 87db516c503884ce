// Polar, radar and polar bar series: points by angle and radius, the circle
// with its radius circles, spokes and angle labels, the radius scales drawn
// as axes along the radii, filled sectors and the hit test.
#include "chart/extra/grafpolar.h"

#include <algorithm>
#include <cmath>

#include "chart/core/chart.h"
#include "chart/core/grafconst.h"
#include "chart/core/grafutils.h"
#include "platform/rtl/format.h"
#include "platform/rtl/strutils.h"

std::string PolarDegreeSymbol = "\xC2\xB0";

namespace {

int Nearest(double v) { return static_cast<int>(std::nearbyint(v)); }

constexpr double kDegree = M_PI / 180.0;

// More spokes or circles than this are not drawn (a tiny increment).
constexpr double kMaxGridLines = 10000;

// Runs a drawing with the canvas pen hidden, then puts the pen back.
template <class F>
void WithoutPen(TCanvas3D* Canvas, F draw) {
  TPen saved;
  saved.Assign(Canvas->CanvasPen());
  Canvas->CanvasPen()->SetStyle(psClear);
  draw();
  Canvas->CanvasPen()->Assign(&saved);
}

bool InsideTriangle(TPoint P, TPoint A, TPoint B, TPoint C) {
  const TPoint tri[3] = {A, B, C};
  return PointInsidePolygon(P, tri, 2);
}

}  // namespace

// ============================================================================
// TCustomPolarSeries

ZV_CLASS_IMPL(TCustomPolarSeries, TCircledSeries)

void TCustomPolarSeries::DeclareProperties(TClassInfo& c) {
  using S = TCustomPolarSeries;
  c.Object<S, TChartBrush>("Brush", &S::Brush, &S::SetBrush);
  c.Integer<S>("CircleBackColor", [](S* s) { return static_cast<int>(s->CircleBackColor()); },
               [](S* s, int v) { s->SetCircleBackColor(static_cast<TColor>(v)); }, static_cast<int>(clDefault))
      .WithIdents(&ColorIdents());
  c.Object<S, TGrafGradient>("CircleGradient", &S::CircleGradient, &S::SetCircleGradient);
  c.Boolean<S>("CircleLabels", &S::CircleLabels, &S::SetCircleLabels, false);
  c.Object<S, TGrafFont>("CircleLabelsFont", &S::CircleLabelsFont, &S::SetCircleLabelsFont);
  c.Boolean<S>("CircleLabelsRotated", &S::CircleLabelsRotated, &S::SetCircleLabelsRotated, false);
  c.Object<S, TChartPen>("CirclePen", &S::CirclePen, &S::SetCirclePen);
  c.Boolean<S>("CloseCircle", &S::CloseCircle, &S::SetCloseCircle, true);
  c.Integer<S>("LabelsMargin", &S::LabelsMargin, &S::SetLabelsMargin, 3);
  c.Object<S, TChartPen>("Pen", &S::Pen, [](S* s, TChartPen* p) { s->SetPen(p); });
  c.Object<S, TSeriesPointer>("Pointer", &S::Pointer, &S::SetPointer);
  c.Float<S>("RadiusIncrement", ftDouble, &S::RadiusIncrement, &S::SetRadiusIncrement, 0.0L);
  c.Object<S, TChartValueList>("RadiusValues", &S::RadiusValues, &S::SetRadiusValues).WithStored([](TObject* o) {
    TChartValueList* l = static_cast<S*>(o)->RadiusValues();
    return l->Name() != GrafMsgRadius || l->DateTime() || l->Order() != loNone || !l->ValueSource().empty();
  });
  c.Integer<S>("Transparency", &S::Transparency, &S::SetTransparency, 0);
  c.Method<S, TOnGetPointerStyle>("OnGetPointerStyle", [](S* s) { return s->OnGetPointerStyle; },
                                  [](S* s, const TOnGetPointerStyle& e) { s->OnGetPointerStyle = e; });
}

TCustomPolarSeries::TCustomPolarSeries(TComponent* AOwner) : TCircledSeries(AOwner) {
  auto repaint = [this](TObject*) { RequestRedraw(); };
  FCircleLabelsFont = std::make_unique<TGrafFont>(repaint);
  FCirclePen = NewPen();
  FPointer = std::make_unique<TSeriesPointer>(this);
  YValues()->SetName(GrafMsgRadius);
  // Lines follow the point colours until a colour of their own is chosen.
  Pen()->SetColor(clDefault);
  Brush()->SetStyle(bsClear);
}

TCustomPolarSeries::~TCustomPolarSeries() {
  if (FParentChart) {
    SwitchChart3D(true);
    TChartSeries::SetParentChart(nullptr);
  }
}

void TCustomPolarSeries::Assign(TPersistent* Source) {
  if (auto* s = dynamic_cast<TCustomPolarSeries*>(Source)) {
    FCircleLabels = s->FCircleLabels;
    FCircleLabelsFont->Assign(s->FCircleLabelsFont.get());
    FCircleLabelsInside = s->FCircleLabelsInside;
    FCircleLabelsRotated = s->FCircleLabelsRotated;
    FCirclePen->Assign(s->FCirclePen.get());
    FLabelsMargin = s->FLabelsMargin;
    FClockWiseLabels = s->FClockWiseLabels;
    FCloseCircle = s->FCloseCircle;
    FPointer->Assign(s->FPointer.get());
    FTransparency = s->FTransparency;
  }
  TCircledSeries::Assign(Source);
}

void TCustomPolarSeries::SetParentChart(TCustomAxisPanel* Value) {
  TCircledSeries::SetParentChart(Value);
  FPointer->AttachToPanel(Value);
  if (FParentChart && ComponentState().Contains(csDesigning)) FParentChart->SetView3D(false);
}

void TCustomPolarSeries::SetTransparency(int Value) { ChangeInteger(FTransparency, std::clamp(Value, 0, 100)); }

double TCustomPolarSeries::AngleIncrement() const {
  if (FParentChart && FHorizAxisInUse && FHorizAxisInUse->Increment() != 0) return FHorizAxisInUse->Increment();
  return 10;
}

void TCustomPolarSeries::SetAngleIncrement(double Value) {
  if (FParentChart && FHorizAxisInUse) FHorizAxisInUse->SetIncrement(Value);
}

double TCustomPolarSeries::RadiusIncrement() const {
  return FParentChart && FVertAxisInUse ? FVertAxisInUse->Increment() : 0;
}

void TCustomPolarSeries::SetRadiusIncrement(double Value) {
  if (FParentChart && FVertAxisInUse) FVertAxisInUse->SetIncrement(Value);
}

void TCustomPolarSeries::SetSeriesColor(TColor Value) {
  TCircledSeries::SetSeriesColor(Value);
  if (Brush()->Style() == bsClear) Pen()->SetColor(Value);
}

// ---- Gallery -----------------------------------------------------------------------------------

void TCustomPolarSeries::EnumGalleryStyles(const std::function<void(const std::string&)>& Proc) {
  TCircledSeries::EnumGalleryStyles(Proc);
  for (const std::string& t : {GrafMsgExNoPoint, GrafMsgExNoLine, GrafMsgFilled, GrafMsgExLabels, GrafMsgNoBorder,
                               GrafMsgExNoCircle})
    Proc(t);
}

void TCustomPolarSeries::ApplyGalleryStyle(TChartSeries* Series, int Index) {
  auto* s = dynamic_cast<TCustomPolarSeries*>(Series);
  if (!s) return;
  switch (Index) {
    case 1: s->Pointer()->SetVisible(false); break;
    case 2: s->Pen()->SetVisible(false); break;
    case 3: s->Brush()->SetStyle(bsSolid); break;
    case 4: s->SetCircleLabels(true); break;
    case 5: s->Pointer()->Pen()->SetVisible(false); break;
    case 6: s->CirclePen()->SetVisible(false); break;
    default: TCircledSeries::ApplyGalleryStyle(Series, Index); break;
  }
}

void TCustomPolarSeries::GenerateRandomPoints(int Count, bool) {
  for (int i = 1; i <= Count; ++i) AddXYPoint(360.0 / Count * i, RandomInteger(1000) + 1);
}

void TCustomPolarSeries::SetupGalleryPreview(bool Enabled) {
  TCircledSeries::SetupGalleryPreview(Enabled);
  SetCircled(true);
  if (!FParentChart) return;
  if (FHorizAxisInUse) FHorizAxisInUse->SetIncrement(90);
  FParentChart->SetChart3DPercent(5);
  FParentChart->RightAxis()->SetLabels(false);
  FParentChart->TopAxis()->SetLabels(false);
  TView3DOptions* v = FParentChart->View3DOptions();
  v->SetOrthogonal(false);
  v->SetElevation(360);
  v->SetZoom(90);
}

// ---- Geometry ----------------------------------------------------------------------------------

TPoint TCustomPolarSeries::PolarPosition(int Index) {
  const TPoint centre = Point(RingCenterX, RingCenterY);
  TChartAxis* v = FVertAxisInUse;
  if (!v) return centre;
  const double lo = v->Minimum(), hi = v->Maximum();
  const bool inverted = v->Inverted();
  const double value = YValueAt(Index);
  const double offset = inverted ? hi - value : value - lo;
  const double range = hi - lo;
  if (!(range != 0) || !(offset >= 0) || (v->Logarithmic() && offset == 0)) return centre;
  double rx, ry;
  if (!v->Logarithmic()) {
    rx = RadiusX * offset / range;
    ry = RadiusY * offset / range;
  } else {
    if (!(hi > 0) || !(value > 0)) return centre;
    const double l1 = std::log(hi), l0 = lo > 0 ? std::log(lo) : 0;
    if (l1 == l0) return centre;
    const double lv = std::log(value);
    const double sx = RadiusX / (l1 - l0), sy = RadiusY / (l1 - l0);
    rx = Nearest(inverted ? sx * (l1 - lv) : sx * (lv - l0));
    ry = Nearest(inverted ? sy * (l1 - lv) : sy * (lv - l0));
  }
  const double a = XValueAt(Index) * kDegree;
  if (!std::isfinite(a)) return centre;
  return PointOnCircle(a, rx, ry);
}

int TCustomPolarSeries::PointXPixel(int Index) { return PolarPosition(Index).X; }
int TCustomPolarSeries::PointYPixel(int Index) { return PolarPosition(Index).Y; }

bool TCustomPolarSeries::FirstOfItsClass() const {
  if (!FParentChart) return true;
  for (TChartSeries* s : *FParentChart->SeriesList()) {
    if (s == this) return true;
    if (s->Active() && s->InheritsFrom(ClassType())) return false;
  }
  return true;
}

bool TCustomPolarSeries::LastOfItsClass() const {
  if (!FParentChart) return true;
  bool after = false;
  for (TChartSeries* s : *FParentChart->SeriesList()) {
    if (s == this) {
      after = true;
      continue;
    }
    if (after && s->InheritsFrom(ClassType())) return false;
  }
  return true;
}

bool TCustomPolarSeries::AxesBehindSeries() const {
  if (!FParentChart) return true;
  bool behind = FParentChart->AxisBehind();
  if (FParentChart->View3D() && !FParentChart->View3DOptions()->Orthogonal() &&
      FParentChart->BackPlaneHidden(FParentChart->DepthWidth()))
    behind = !behind;
  return behind;
}

// ---- Drawing -----------------------------------------------------------------------------------

void TCustomPolarSeries::DrawPolarCircle(int HalfWidth, int HalfHeight, int Z) {
  TCanvas3D* canvas = FParentChart->PanelCanvas();
  const int cx = RingCenterX, cy = RingCenterY;
  if (SpokeCount <= 0) {
    canvas->EllipseWithZ(cx - HalfWidth, cy - HalfHeight, cx + HalfWidth, cy + HalfHeight, Z);
    return;
  }
  const double step = AngleIncrement() * kDegree;
  TPoint prev = PointOnCircle(0, HalfWidth, HalfHeight);
  canvas->MoveTo3D(prev.X, prev.Y, Z);
  for (int k = 0; k <= SpokeCount; ++k) {
    const TPoint p = PointOnCircle(k * step, HalfWidth, HalfHeight);
    if (canvas->CanvasBrush()->Style() != bsClear) {
      WithoutPen(canvas, [&] { canvas->TriangleAtDepth(Point(cx, cy), prev, p, Z); });
      canvas->MoveTo3D(prev.X, prev.Y, Z);
    }
    canvas->LineTo3D(p.X, p.Y, Z);
    prev = p;
  }
}

void TCustomPolarSeries::PaintCircleBackground() {
  if (SpokeCount <= 0) {
    TCircledSeries::PaintCircleBackground();
    return;
  }
  if (!FParentChart || !FCircleGradient->Visible()) return;
  TCanvas3D* canvas = FParentChart->PanelCanvas();
  const double step = AngleIncrement() * kDegree;
  std::vector<TPoint> points;
  for (int k = 0; k < SpokeCount; ++k) {
    TPoint p = PointOnCircle(k * step, RadiusX, RadiusY);
    if (FParentChart->View3D()) p = canvas->ProjectPointAtDepth(p, FParentChart->DepthWidth());
    points.push_back(p);
  }
  if (points.size() < 3) return;
  canvas->ClipToPolygon(points);
  FCircleGradient->DrawInRect(canvas, ExclusiveBoundsOfPoints(points.data(), static_cast<int>(points.size())));
  canvas->RemoveClipRegion();
}

void TCustomPolarSeries::BeginDrawValues() {
  const bool first = FirstOfItsClass();
  if (FParentChart && first && FCircleLabels && !FCircleLabelsInside) {
    TCanvas3D* canvas = FParentChart->PanelCanvas();
    canvas->ApplyFont(FCircleLabelsFont.get());
    const int h = canvas->TextHeight("W") + 2;
    const int w = canvas->TextWidth("360");
    TRect& r = FParentChart->ChartArea;
    r = Rect(r.Left + w, r.Top + h, r.Right - w, r.Bottom - h);
    FParentChart->NormalizeChartRect();
  }
  TCircledSeries::BeginDrawValues();
  if (!FParentChart || !first) return;
  TCanvas3D* canvas = FParentChart->PanelCanvas();
  const bool is3D = FParentChart->View3D();
  if (HasBackColor()) {
    canvas->CanvasBrush()->SetStyle(bsSolid);
    canvas->CanvasBrush()->SetColor(EffectiveBackColor());
  } else {
    canvas->CanvasBrush()->SetStyle(bsClear);
  }
  if (FParentChart->BackImageAssigned() && FParentChart->BackImageInside() &&
      (!is3D || FParentChart->View3DOptions()->Orthogonal())) {
    TRect r = Bounds(RingCenterX + 1 - RingWidth / 2, RingCenterY + 1 - RingHeight / 2, RingWidth, RingHeight);
    if (is3D) r = canvas->ProjectRectAtDepth(r, FParentChart->DepthWidth());
    canvas->ClipToEllipse(r, false);
    FParentChart->DrawBackImage(r, 0);
    canvas->RemoveClipRegion();
  }
  if (FCirclePen->Visible()) canvas->ApplyPen(FCirclePen.get());
  else canvas->CanvasPen()->SetStyle(psClear);
  DrawPolarCircle(RingWidth / 2, RingHeight / 2, EndZ);
  if (FCircleGradient->Visible()) PaintCircleBackground();
  if (AxesBehindSeries()) DrawPolarGrid();
}

void TCustomPolarSeries::EndDrawValues() {
  if (FParentChart && !AxesBehindSeries() && LastOfItsClass()) DrawPolarGrid();
  TCircledSeries::EndDrawValues();
}

void TCustomPolarSeries::DrawVisiblePoints() {
  TCircledSeries::DrawVisiblePoints();
  if (!FParentChart || !FPointer->Visible() || FirstVisible < 0) return;
  TCanvas3D* canvas = FParentChart->PanelCanvas();
  for (int i = FirstVisible; i <= LastVisible; ++i) {
    const TColor c = PointColor(i);
    if (c == clNone) continue;
    const TPoint p = PolarPosition(i);
    FPointer->SetupCanvas(canvas, c);
    FPointer->DrawStyled(p.X, p.Y, PointerStyleAt(i), c);
  }
}

TSeriesPointerStyle TCustomPolarSeries::PointerStyleAt(int Index) {
  return OnGetPointerStyle ? OnGetPointerStyle(this, Index) : FPointer->Style();
}

void TCustomPolarSeries::PrepareLinePen(int Index) {
  TCanvas3D* canvas = FParentChart->PanelCanvas();
  if (Pen()->Visible()) {
    TColor c;
    if (Index == -1) c = GetSeriesColor();
    else c = Pen()->Color() == clDefault ? PointColor(Index) : Pen()->Color();
    canvas->ApplyPenWithColor(Pen(), c);
  } else {
    canvas->CanvasPen()->SetStyle(psClear);
  }
  canvas->SetBackgroundMode(TRANSPARENT);
}

void TCustomPolarSeries::DrawPoint(int Index) {
  if (!FParentChart) return;
  const TPoint p = PolarPosition(Index);
  PrepareLinePen(Index);
  DrawPolarSegment(Index, p.X, p.Y);
  LastPosition = p;
}

void TCustomPolarSeries::FillSector(int Index, TPoint From, TPoint To) {
  if (Brush()->Style() == bsClear) return;
  TCanvas3D* canvas = FParentChart->PanelCanvas();
  canvas->ApplyBrush(Brush(), PointColor(Index));
  const TPoint centre = Point(RingCenterX, RingCenterY);
  std::unique_ptr<TGrafBlend> blend;
  if (FTransparency > 0) {
    const TPoint pts[3] = {canvas->ProjectPointAtDepth(From, StartZ), canvas->ProjectPointAtDepth(To, StartZ),
                           canvas->ProjectPointAtDepth(centre, StartZ)};
    blend = canvas->BeginBlending(ExclusiveBoundsOfPoints(pts, 3), FTransparency);
  }
  WithoutPen(canvas, [&] { canvas->TriangleAtDepth(From, To, centre, StartZ); });
  if (blend) canvas->EndBlending(std::move(blend));
  PrepareLinePen(Index);
}

void TCustomPolarSeries::DrawPolarSegment(int ValueIndex, int X, int Y) {
  TCanvas3D* canvas = FParentChart->PanelCanvas();
  const TPoint p = Point(X, Y);
  if (ValueIndex == FirstVisible) {
    canvas->MoveTo3D(X, Y, StartZ);
  } else if (p != LastPosition) {
    FillSector(ValueIndex, LastPosition, p);
    canvas->MoveTo3D(LastPosition.X, LastPosition.Y, StartZ);
    canvas->LineTo3D(X, Y, StartZ);
  }
  if (ValueIndex == LastVisible && FCloseCircle && PointCount() > 0) {
    if (FColorEachPoint && Brush()->Style() != bsClear && Pen()->Visible())
      canvas->CanvasPen()->SetColor(PointColor(0));
    const TPoint q = PolarPosition(0);
    FillSector(ValueIndex, p, q);
    if (FColorEachPoint && Brush()->Style() != bsClear && Pen()->Visible())
      canvas->CanvasPen()->SetColor(PointColor(0));
    canvas->MoveTo3D(X, Y, StartZ);
    canvas->LineTo3D(q.X, q.Y, StartZ);
  }
}

// ---- Grid --------------------------------------------------------------------------------------

void TCustomPolarSeries::DrawPolarGrid() {
  TCustomAxisPanel* chart = FParentChart;
  if (!chart) return;
  TCanvas3D* canvas = chart->PanelCanvas();
  chart->FireBeforeDrawAxes();
  auto gridPen = [&](TChartAxis* axis) {
    TColor c = axis->Grid()->Color();
    if (c == clDefault) c = clGray;
    canvas->ApplyPenWithColor(axis->Grid(), c);
    canvas->CanvasBrush()->SetStyle(bsClear);
    canvas->SetBackgroundMode(TRANSPARENT);
  };
  if (TChartAxis* h = FHorizAxisInUse; h && (h->Grid()->Visible() || FCircleLabels)) {
    double inc = h->Increment();
    if (!(inc > 0)) inc = 10;
    if (360 / inc <= kMaxGridLines) {
      int k = 0;
      for (double a = 0; a < 360 - 1e-12; a += inc, ++k) {
        if (FCircleLabels) DrawAngleLabel(k, a);
        if (h->Grid()->Visible()) {
          gridPen(h);
          const TPoint p = PointOnCircle(a * kDegree, RadiusX, RadiusY);
          canvas->LineAtDepth(RingCenterX, RingCenterY, p.X, p.Y, EndZ);
        }
      }
    }
  }
  if (TChartAxis* v = FVertAxisInUse; v && v->Grid()->Visible()) {
    const double inc = v->ComputeLabelStep();
    const double lo = v->Minimum(), hi = v->Maximum();
    // A flat radius axis has no circles (each would be a dot at the centre).
    if (inc > 0 && hi != lo && std::isfinite(lo) && std::isfinite(hi) && std::fabs(hi / inc) < 2147483647.0 &&
        std::fabs((hi - lo) / inc) < kMaxGridLines) {
      gridPen(v);
      auto circle = [&](double value) {
        int w = 0, hh = 0;
        if (hi != lo) {
          w = Nearest(RadiusX * (value - lo) / (hi - lo));
          hh = Nearest(RadiusY * (value - lo) / (hi - lo));
        }
        canvas->CanvasBrush()->SetStyle(bsClear);
        DrawPolarCircle(w, hh, EndZ);
      };
      double value = v->RoundFirstLabel() ? std::trunc(hi / inc) * inc : hi;
      if (v->LabelsOnAxis()) {
        while (value > hi) value -= inc;
        while (value >= lo) {
          circle(value);
          value -= inc;
        }
      } else {
        while (value >= hi) value -= inc;
        while (value > lo) {
          circle(value);
          value -= inc;
        }
      }
    }
  }
  if (chart->AxisVisible()) DrawRadiusScales();
}

void TCustomPolarSeries::DrawRadiusScales() {
  TCustomAxisPanel* chart = FParentChart;
  TChartAxis* v = FVertAxisInUse;
  if (!v) return;
  const double lo = v->Minimum(), hi = v->Maximum(), inc = v->Increment();
  const int cx = RingCenterX, cy = RingCenterY;
  auto copyLog = [&](TChartAxis* axis) {
    if (axis->Logarithmic() == v->Logarithmic()) return;
    try {
      axis->SetLogarithmic(v->Logarithmic());
    } catch (const AxisException&) {
      // The scale keeps its own flag when it cannot take the radius axis' one.
    }
  };
  auto draw = [&](TChartAxis* axis, int start, int end, int line, int outward) {
    const int labels = line + outward * axis->TicksAreaWidth();
    axis->DrawCustomRange(lo, hi, inc, start, end, line, labels, labels, false);
  };
  if (TChartAxis* r = chart->RightAxis(); r->Visible() && r != v) {
    copyLog(r);
    if (SpokeCount > 0) r->StoreInverted(v->Inverted());
    draw(r, cy - RadiusY, cy, cx, 1);
  }
  if (SpokeCount > 0) return;
  // The left and top scales run towards the centre: they are drawn turned
  // round and get their own inversion back (the left axis may be the radius
  // axis itself).
  auto drawTurned = [&](TChartAxis* axis, int start, int end, int line) {
    copyLog(axis);
    const bool old = axis->Inverted();
    axis->StoreInverted(!v->Inverted());
    try {
      draw(axis, start, end, line, -1);
    } catch (...) {
      axis->StoreInverted(old);
      throw;
    }
    axis->StoreInverted(old);
  };
  if (TChartAxis* l = chart->LeftAxis(); l->Visible()) drawTurned(l, cy, cy + RadiusY, cx);
  if (TChartAxis* t = chart->TopAxis(); t->Visible()) drawTurned(t, cx - RadiusX, cx, cy);
  if (TChartAxis* b = chart->BottomAxis(); b->Visible()) {
    copyLog(b);
    draw(b, cx, cx + RadiusX, cy, 1);
  }
}

void TCustomPolarSeries::DrawAngleLabel(int LabelIndex, double Angle) {
  TCanvas3D* canvas = FParentChart->PanelCanvas();
  if (Angle >= 360) Angle -= 360;
  const std::string text = CircleLabelText(LabelIndex, Angle);
  canvas->ApplyFont(FCircleLabelsFont.get());
  canvas->SetBackgroundMode(TRANSPARENT);
  const int h = canvas->TextHeight("W");
  double rx = RadiusX, ry = RadiusY;
  int margin;
  if (FCircleLabelsInside) {
    margin = -FLabelsMargin;
    rx -= canvas->TextWidth("   ");
    ry -= h;
  } else {
    margin = FLabelsMargin;
  }
  rx += Nearest(rx * margin / 100.0);
  ry += Nearest(ry * margin / 100.0);
  TPoint p = PointOnCircle(Angle * kDegree, rx, ry);
  double g = Angle + FRotationAngle;
  if (FCircleLabelsRotated) {
    const int s = (g <= 90 || g >= 270) ? -1 : 1;
    p.X += s * Nearest(std::sin(g * kDegree) * h / 2);
    p.Y += s * Nearest(std::cos(g * kDegree) * h / 2);
    if (g >= 360) g -= 360;
    double textAngle = g;
    if (g <= 90 || g >= 270) {
      canvas->SetTextAlignment(TA_LEFT);
    } else {
      canvas->SetTextAlignment(TA_RIGHT);
      textAngle = g + 180;
    }
    canvas->RotateLabel3D(p.X, p.Y, EndZ, text, textAngle);
  } else {
    while (g >= 360) g -= 360;
    if (g == 0 || g == 180) p.Y -= h / 2;
    else if (g > 0 && g < 180) p.Y -= h;
    unsigned align;
    if (g == 90 || g == 270) align = TA_CENTER;
    else if (g <= 90 || g >= 270) align = FCircleLabelsInside ? TA_RIGHT : TA_LEFT;
    else align = FCircleLabelsInside ? TA_LEFT : TA_RIGHT;
    canvas->SetTextAlignment(align);
    if (g == 0) p.X += canvas->TextWidth("0") / 2;
    else if (g == 180) p.X -= canvas->TextWidth("0") / 2;
    canvas->TextOut3D(p.X, p.Y, EndZ, text);
  }
}

std::string TCustomPolarSeries::CircleLabelText(int, double Angle) {
  double a = FClockWiseLabels ? 360 - Angle : Angle;
  if (a == 360) a = 0;
  return FloatToStr(a) + PolarDegreeSymbol;
}

// ---- Legend, marks, hit test -------------------------------------------------------------------

void TCustomPolarSeries::PaintLegendSymbol(int Row, const TRect& R) {
  if (!FParentChart) return;
  const bool line = Pen()->Visible();
  if (line) {
    PrepareLinePen(Row);
    FParentChart->PanelCanvas()->HorizontalLine(R.Left, R.Right, (R.Top + R.Bottom) / 2);
  }
  if (FPointer->Visible()) {
    const TColor c = Row == -1 ? GetSeriesColor() : PointColor(Row);
    DrawLegendPointer(FPointer.get(), c, R, line);
  } else if (!line) {
    TCircledSeries::PaintLegendSymbol(Row, R);
  }
}

void TCustomPolarSeries::DrawPointMark(int Index, const std::string& Text, TSeriesMarkPosition& Position) {
  FMarks->ApplyCalloutLength(Position);
  TCircledSeries::DrawPointMark(Index, Text, Position);
}

bool TCustomPolarSeries::SegmentOrSectorHit(TPoint Mouse, TPoint Prev, TPoint Cur) const {
  const TPoint centre = Point(RingCenterX, RingCenterY);
  if (Brush()->Style() != bsClear && InsideTriangle(Mouse, centre, Cur, Prev)) return true;
  return Pen()->Visible() && PointOnSegment(Mouse, Prev, Cur);
}

int TCustomPolarSeries::IndexAtPoint(int X, int Y) {
  const int base = TCircledSeries::IndexAtPoint(X, Y);
  if (base >= 0 || FirstVisible < 0 || LastVisible < 0) return base;
  if (FParentChart) FParentChart->PanelCanvas()->UnprojectPoint(X, Y, StartZ);
  const TPoint mouse = Point(X, Y);
  TPoint prev = Point(0, 0);
  const bool pointer = FPointer->Visible();
  for (int i = FirstVisible; i <= LastVisible; ++i) {
    const TPoint p = PolarPosition(i);
    if (p == mouse) return i;
    if (pointer && PointerStyleAt(i) != psNothing && std::abs(p.X - X) < FPointer->HorizSize() &&
        std::abs(p.Y - Y) < FPointer->VertSize())
      return i;
    if (i != FirstVisible && SegmentOrSectorHit(mouse, prev, p)) return i - 1;
    prev = p;
  }
  if (FCloseCircle && FirstVisible < LastVisible && SegmentOrSectorHit(mouse, prev, PolarPosition(FirstVisible)))
    return LastVisible;
  return -1;
}

// ============================================================================
// Polar, polar bar

ZV_CLASS_IMPL(TPolarSeries, TCustomPolarSeries)

void TPolarSeries::DeclareProperties(TClassInfo& c) {
  using S = TPolarSeries;
  c.Float<S>("AngleIncrement", ftDouble, &S::AngleIncrement, &S::SetAngleIncrement, 0.0L);
  c.Object<S, TChartValueList>("AngleValues", &S::AngleValues, &S::SetAngleValues);
  c.Boolean<S>("CircleLabelsInside", &S::CircleLabelsInside, &S::SetCircleLabelsInside, false);
  c.Boolean<S>("ClockWiseLabels", &S::ClockWiseLabels, &S::SetClockWiseLabels, false);
  c.Integer<S>("RotationAngle", &S::RotationAngle, &S::SetRotationAngle, 0);
}

ZV_CLASS_IMPL_NOPROPS(TPolarBarSeries, TPolarSeries)

void TPolarBarSeries::DrawPolarSegment(int ValueIndex, int X, int Y) {
  if (PointIsNull(ValueIndex)) return;
  TCanvas3D* canvas = FParentChart->PanelCanvas();
  if (Pen()->Visible()) {
    canvas->ApplyPenWithColor(Pen(), PointColor(ValueIndex));
    canvas->LineAtDepth(RingCenterX, RingCenterY, X, Y, StartZ);
  }
}

// ============================================================================
// Radar

ZV_CLASS_IMPL_NOPROPS(TRadarSeries, TCustomPolarSeries)

void TRadarSeries::PrepareChartDraw() {
  TCustomPolarSeries::PrepareChartDraw();
  SetRotationAngle(90);
  SpokeCount = FParentChart ? FParentChart->LargestPointCount() : 0;
  if (SpokeCount > 0) SetAngleIncrement(360.0 / SpokeCount);
}

double TRadarSeries::XValueAt(int Index) {
  if (SpokeCount <= 0) return 0;
  if (FClockWiseLabels) Index = PointCount() - Index - 1;
  return 360.0 / SpokeCount * Index;
}

std::string TRadarSeries::CircleLabelText(int LabelIndex, double) {
  const int index = FClockWiseLabels ? PointCount() - LabelIndex - 1 : LabelIndex;
  const std::string label = PointLabel(index);
  return label.empty() ? IntToStr(LabelIndex) : label;
}

void TRadarSeries::GenerateRandomPoints(int Count, bool) {
  static const std::string* const labels[] = {&GrafMsgCars, &GrafMsgPhones, &GrafMsgTables, &GrafMsgMonitors,
                                              &GrafMsgLamps};
  for (int i = 0; i < Count; ++i) AddSingleValue(RandomInteger(1000), *labels[i % 5]);
}

void TRadarSeries::SetupGalleryPreview(bool Enabled) {
  TCustomPolarSeries::SetupGalleryPreview(Enabled);
  LoadDemoData(DefaultSampleCount());
}
