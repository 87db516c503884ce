// The circled series base and the pie series: circle geometry, slice angles,
// grouping of small slices, several pies on a chart, 2D and 3D slices,
// marks outside the slices and the slice hit test.
#include "chart/series/series_pie.h"

#include <algorithm>
#include <cmath>
#include <numeric>

#include "chart/core/grafconst.h"
#include "chart/core/grafprocs.h"
#include "chart/core/grafutils.h"

namespace {

int Nearest(double v) { return static_cast<int>(std::nearbyint(v)); }

bool ChartGoingAway(TCustomAxisPanel* Chart) {
  return Chart && Chart->ComponentState().Contains(csDestroying);
}

}  // namespace

const TEnumInfo& MultiPieEnumInfo() {
  static const TEnumInfo info{"TMultiPie", {"mpAutomatic", "mpDisabled"}, 0};
  return info;
}

const TEnumInfo& PieOtherStyleEnumInfo() {
  static const TEnumInfo info{"TPieOtherStyle", {"poNone", "poBelowPercent", "poBelowValue"}, 0};
  return info;
}

// ============================================================================
// TCircledSeries

ZV_CLASS_IMPL(TCircledSeries, TChartSeries)

void TCircledSeries::DeclareProperties(TClassInfo& c) {
  using S = TCircledSeries;
  c.Boolean<S>("Circled", &S::Circled, &S::SetCircled, false);
  c.Integer<S>("CustomXRadius", &S::CustomXRadius, &S::SetCustomXRadius, 0);
  c.Integer<S>("CustomYRadius", &S::CustomYRadius, &S::SetCustomYRadius, 0);
}

TCircledSeries::TCircledSeries(TComponent* AOwner) : TChartSeries(AOwner) {
  CalcVisibleRange = false;
  XValues()->SetName(GrafMsgAngle);
  FCircleGradient = std::make_unique<TGrafGradient>([this](TObject*) { RequestRedraw(); });
}

TCircledSeries::~TCircledSeries() {
  if (FParentChart) {
    SwitchChart3D(true);
    TChartSeries::SetParentChart(nullptr);
  }
}

void TCircledSeries::Assign(TPersistent* Source) {
  if (auto* s = dynamic_cast<TCircledSeries*>(Source)) {
    FCircled = s->FCircled;
    SetRotationAngle(s->FRotationAngle);
    FCustomXRadius = s->FCustomXRadius;
    FCustomYRadius = s->FCustomYRadius;
    FCircleBackColor = s->FCircleBackColor;
    FCircleGradient->Assign(s->FCircleGradient.get());
  }
  TChartSeries::Assign(Source);
}

void TCircledSeries::SetCircled(bool Value) {
  ChangeBool(FCircled, Value);
  if (!FParentChart) return;
  for (TChartSeries* s : *FParentChart->SeriesList()) {
    auto* c = dynamic_cast<TCircledSeries*>(s);
    if (!c || !InheritsFrom(c->ClassType())) continue;
    c->FCircled = Value;
    if (!c->ComponentState().Contains(csLoading)) c->FCustomXRadius = c->FCustomYRadius = 0;
  }
}

void TCircledSeries::SetCustomXRadius(int Value) {
  ChangeInteger(FCustomXRadius, Value);
  PropagateRadius();
}

void TCircledSeries::SetCustomYRadius(int Value) {
  ChangeInteger(FCustomYRadius, Value);
  PropagateRadius();
}

void TCircledSeries::PropagateRadius() {
  if (!FParentChart) return;
  for (TChartSeries* s : *FParentChart->SeriesList()) {
    auto* c = dynamic_cast<TCircledSeries*>(s);
    if (!c || !InheritsFrom(c->ClassType())) continue;
    c->FCustomXRadius = FCustomXRadius;
    c->FCustomYRadius = FCustomYRadius;
  }
}

void TCircledSeries::SetRotationAngle(int Value) {
  ChangeInteger(FRotationAngle, ((Value % 360) + 360) % 360);
  RotationRadians = FRotationAngle * M_PI / 180.0;
}

TPoint TCircledSeries::PointOnCircle(double Angle, double XRadius, double YRadius) const {
  const double a = Angle + RotationRadians;
  return Point(RingCenterX + Nearest(std::cos(a) * XRadius), RingCenterY - Nearest(std::sin(a) * YRadius));
}

double TCircledSeries::AngleOfPoint(int X, int Y) const {
  double a;
  if (X == RingCenterX) a = Y <= RingCenterY ? M_PI / 2 : -M_PI / 2;
  else if (RadiusX == 0 || RadiusY == 0) a = 0;
  else a = std::atan2(static_cast<double>(RingCenterY - Y) / RadiusY, static_cast<double>(X - RingCenterX) / RadiusX);
  if (a < 0) a += 2 * M_PI;
  a -= RotationRadians;
  if (a < 0) a += 2 * M_PI;
  return a;
}

TColor TCircledSeries::EffectiveBackColor() const {
  TColor c = FCircleBackColor;
  if (c != clDefault || !FParentChart) return c;
  if (FParentChart->IsPrinting) return clWhite;
  if (auto* chart = dynamic_cast<TCustomChart*>(FParentChart))
    if (!chart->BackWall()->Transparent()) c = chart->BackWall()->Color();
  return c == clDefault ? FParentChart->Color() : c;
}

void TCircledSeries::AdjustLegendCanvas(int, TColor& BackColor, TBrushStyle&) { BackColor = EffectiveBackColor(); }

void TCircledSeries::FitRingBounds() {
  TRect& r = RingBounds;
  if ((r.Right - r.Left) % 2 != 0) --r.Right;
  if ((r.Bottom - r.Top) % 2 != 0) --r.Bottom;
  if (r.Right - r.Left < 4) r.Right = r.Left + 4;
  if (r.Bottom - r.Top < 4) r.Bottom = r.Top + 4;
  RingWidth = r.Right - r.Left;
  RingHeight = r.Bottom - r.Top;
  RectMidPoint(r, RingCenterX, RingCenterY);
}

void TCircledSeries::ApplyRadii() {
  if (FCustomXRadius != 0) {
    RadiusX = FCustomXRadius;
    RingWidth = 2 * FCustomXRadius;
  } else {
    RadiusX = RingWidth / 2;
  }
  if (FCustomYRadius != 0) {
    RadiusY = FCustomYRadius;
    RingHeight = 2 * FCustomYRadius;
  } else {
    RadiusY = RingHeight / 2;
  }
  RingBounds = Rect(RingCenterX - RadiusX, RingCenterY - RadiusY, RingCenterX + RadiusX, RingCenterY + RadiusY);
}

void TCircledSeries::ReserveMarksRoom() {
  TCanvas3D* canvas = FParentChart->PanelCanvas();
  int l = FMarks->Callout()->Length();
  if (FMarks->Pen()->Visible()) l += 2 * FMarks->Pen()->Width();
  canvas->ApplyFont(FMarks->Font());
  const int h = canvas->FontHeight();
  int widest = 0;
  for (TChartSeries* s : *FParentChart->SeriesList())
    if (s->Active()) widest = std::max(widest, s->WidestVisibleMark());
  const int side = canvas->TextWidth("W") + widest + l;
  RingBounds = Rect(RingBounds.Left + side, RingBounds.Top + l + h, RingBounds.Right - side, RingBounds.Bottom - l - h);
  FitRingBounds();
}

void TCircledSeries::AdoptOtherCircle() {
  if (!FParentChart) return;
  const auto& list = *FParentChart->SeriesList();
  bool after = false;
  for (TChartSeries* s : list) {
    if (s == this) {
      after = true;
      continue;
    }
    auto* c = dynamic_cast<TCircledSeries*>(s);
    if (!c || !c->Active() || !ClassCompatible(c) || !c->Marks()->Visible()) continue;
    if (after) c->BeginDrawValues();
    RingBounds = c->RingBounds;
    FitRingBounds();
    ApplyRadii();
    return;
  }
}

void TCircledSeries::MakeCircular() {
  // Device pixels are square here: a circle is as wide as it is high.
  const double ratio = 1.0;
  ApplyRadii();
  const int c = Nearest(RadiusY * ratio);
  if (RadiusX > c) {
    const int d = RadiusX - c;
    RingBounds.Left += d;
    RingBounds.Right -= d;
  } else {
    const int d = RadiusY - Nearest(RadiusX / ratio);
    RingBounds.Top += d;
    RingBounds.Bottom -= d;
  }
  FitRingBounds();
}

void TCircledSeries::BeginDrawValues() {
  TChartSeries::BeginDrawValues();
  if (!FParentChart) return;
  RingBounds = FParentChart->ChartArea;
  FitRingBounds();
  if (FMarks->Visible()) ReserveMarksRoom();
  else AdoptOtherCircle();
  if (FCircled) MakeCircular();
  ApplyRadii();
}

void TCircledSeries::PaintCircleBackground() {
  if (!FParentChart || !FCircleGradient->Visible()) return;
  const bool is3D = FParentChart->View3D();
  if (is3D && !FParentChart->View3DOptions()->Orthogonal()) return;
  TCanvas3D* canvas = FParentChart->PanelCanvas();
  TRect r = Bounds(RingCenterX + 1 - RingWidth / 2, RingCenterY + 1 - RingHeight / 2, RingWidth, RingHeight);
  if (is3D) r = canvas->ProjectRectAtDepth(r, EndZ);
  canvas->ClipToEllipse(r, false);
  FCircleGradient->DrawInRect(canvas, r);
  canvas->RemoveClipRegion();
}

void TCircledSeries::SwitchChart3D(bool Restore) {
  if (!FParentChart || ChartGoingAway(FParentChart) || FParentChart->PanelCanvas()->RendersWithoutGdi() ||
      !FParentChart->View3DOptions())
    return;
  if (!Restore) {
    if (!FSavedView3D) {
      FSavedView3D = std::make_unique<TView3DOptions>(nullptr);
      FSavedView3D->Assign(FParentChart->View3DOptions());
      AdjustChart3D();
    }
  } else {
    RestoreChart3D();
  }
}

void TCircledSeries::RestoreChart3D() {
  if (!FSavedView3D) return;
  if (FParentChart && FParentChart->View3DOptions()) FParentChart->View3DOptions()->Assign(FSavedView3D.get());
  FSavedView3D.reset();
}

void TCircledSeries::SetParentChart(TCustomAxisPanel* Value) {
  if (Value == FParentChart) {
    TChartSeries::SetParentChart(Value);
    return;
  }
  if (FParentChart) SwitchChart3D(true);
  TChartSeries::SetParentChart(Value);
  if (FParentChart && FActive) SwitchChart3D(false);
}

void TCircledSeries::SetActive(bool Value) {
  TChartSeries::SetActive(Value);
  SwitchChart3D(!Value);
}

// ============================================================================
// Slice lists, other slice, shadow

int TSliceValueList::ItemValue(int Index) const {
  return Index >= 0 && Index < Count() ? FItems[static_cast<size_t>(Index)] : 0;
}

void TSliceValueList::SetItemValue(int Index, int Value) {
  if (Index < 0) return;
  if (Index >= Count()) FItems.resize(static_cast<size_t>(Index) + 1, 0);
  int& item = FItems[static_cast<size_t>(Index)];
  if (item == Value) return;
  item = Value;
  if (FPie) FPie->RequestRedraw();
}

void TSliceValueList::Delete(int Index) {
  if (Index >= 0 && Index < Count()) FItems.erase(FItems.begin() + Index);
}

void TSliceValueList::Exchange(int A, int B, int PointCount) {
  if (FItems.empty()) return;
  if (Count() < PointCount) FItems.resize(static_cast<size_t>(PointCount), 0);
  if (A < Count() && B < Count()) std::swap(FItems[static_cast<size_t>(A)], FItems[static_cast<size_t>(B)]);
}

ZV_CLASS_IMPL(TPieOtherSlice, TPersistent)

void TPieOtherSlice::DeclareProperties(TClassInfo& c) {
  using S = TPieOtherSlice;
  c.Integer<S>("Color", [](S* s) { return static_cast<int>(s->Color()); },
               [](S* s, int v) { s->SetColor(static_cast<TColor>(v)); }, static_cast<int>(clDefault))
      .WithIdents(&ColorIdents());
  c.Enum<S>("Style", PieOtherStyleEnumInfo(), &S::Style, &S::SetStyle, poNone);
  c.String<S>("Text", &S::Text, &S::SetText, "");
  c.Float<S>("Value", ftDouble, &S::Value, &S::SetValue, 0.0L);
}

TPieOtherSlice::TPieOtherSlice(TPieSeries* Pie) : FPie(Pie) {}
TPieOtherSlice::~TPieOtherSlice() = default;

void TPieOtherSlice::Changed() {
  if (FPie) FPie->RequestRedraw();
}

void TPieOtherSlice::Assign(TPersistent* Source) {
  auto* s = dynamic_cast<TPieOtherSlice*>(Source);
  if (!s) {
    TPersistent::Assign(Source);
    return;
  }
  FColor = s->FColor;
  if (s->FLegend) SetLegend(s->FLegend.get());
  else FLegend.reset();
  FStyle = s->FStyle;
  FText = s->FText;
  FValue = s->FValue;
  Changed();
}

void TPieOtherSlice::SetColor(TColor Value) {
  if (FColor == Value) return;
  FColor = Value;
  Changed();
}

void TPieOtherSlice::SetStyle(TPieOtherStyle Value) {
  if (FStyle == Value) return;
  FStyle = Value;
  Changed();
}

void TPieOtherSlice::SetText(const std::string& Value) {
  if (FText == Value) return;
  FText = Value;
  Changed();
}

void TPieOtherSlice::SetValue(double Value) {
  if (FValue == Value) return;
  FValue = Value;
  Changed();
}

std::string TPieOtherSlice::GetText() const { return FText.empty() ? GrafMsgOther : FText; }

TChartLegend* TPieOtherSlice::Legend() {
  if (!FLegend) {
    auto* chart = FPie ? dynamic_cast<TCustomChart*>(FPie->ParentChart()) : nullptr;
    FLegend = std::make_unique<TChartLegend>(chart);
    FLegend->SetVisible(false);
    if (FPie) FLegend->UseSeries(FPie);
  }
  return FLegend.get();
}

void TPieOtherSlice::SetLegend(TChartLegend* Value) {
  if (!Value) {
    FLegend.reset();
    return;
  }
  Legend()->Assign(Value);
  if (FPie) FLegend->UseSeries(FPie);
}

void TPieOtherSlice::MoveLegendTo(TCustomAxisPanel* Chart) {
  if (!FLegend) return;
  auto moved = std::make_unique<TChartLegend>(dynamic_cast<TCustomChart*>(Chart));
  moved->Assign(FLegend.get());
  FLegend = std::move(moved);
  if (FPie) FLegend->UseSeries(FPie);
}

ZV_CLASS_IMPL_NOPROPS(TPieShadow, TGrafShadow)

TPieShadow::TPieShadow(TNotifyEvent OnChange) : TGrafShadow(std::move(OnChange)) { SetColor(static_cast<TColor>(10526880)); }

// ============================================================================
// TPieSeries

ZV_CLASS_IMPL(TPieSeries, TCircledSeries)

void TPieSeries::DeclareProperties(TClassInfo& c) {
  using S = TPieSeries;
  c.Integer<S>("AngleSize", &S::AngleSize, &S::SetAngleSize, 360);
  c.Boolean<S>("AutoMarkPosition", &S::AutoMarkPosition, &S::SetAutoMarkPosition, true);
  c.Integer<S>("CircleBackColor", [](S* s) { return static_cast<int>(s->CircleBackColor()); },
               [](S* s, int v) { s->SetCircleBackColor(static_cast<TColor>(v)); }, static_cast<int>(clDefault))
      .WithIdents(&ColorIdents());
  c.Boolean<S>("Dark3D", &S::Dark3D, &S::SetDark3D, true);
  c.Integer<S>("DarkPen", &S::DarkPen, &S::SetDarkPen, 0);
  c.Integer<S>("ExplodeBiggest", &S::ExplodeBiggest, &S::SetExplodeBiggest, 0);
  c.Object<S, TGrafGradient>("Gradient", &S::Gradient, &S::SetGradient);
  c.Enum<S>("MultiPie", MultiPieEnumInfo(), &S::MultiPie, &S::SetMultiPie, mpAutomatic);
  c.Object<S, TPieOtherSlice>("OtherSlice", &S::OtherSlice, &S::SetOtherSlice);
  c.Object<S, TChartPen>("PiePen", &S::PiePen, &S::SetPiePen);
  c.Integer<S>("RotationAngle", &S::RotationAngle, &S::SetRotationAngle, 0);
  c.Object<S, TGrafShadow>("Shadow", [](S* s) -> TGrafShadow* { return s->Shadow(); }, &S::SetShadow);
  c.Boolean<S>("UsePatterns", &S::UsePatterns, &S::SetUsePatterns, false);
}

TPieSeries::TPieSeries(TComponent* AOwner) : TCircledSeries(AOwner) {
  auto repaint = [this](TObject*) { RequestRedraw(); };
  FOtherSlice = std::make_unique<TPieOtherSlice>(this);
  FShadow = std::make_unique<TPieShadow>(repaint);
  XValues()->SetName("");
  YValues()->SetName(GrafMsgPie);
  FMarks->SetVisible(true);
  FMarks->Callout()->SetLength(8);
  FMarks->Callout()->LengthDefault = 8;
  FColorEachPoint = true;
  SingleColor = false;
  XValuesMeaningful = false;
  FCircleGradient->SetStartColor(clWhite);
  FCircleGradient->SetDirection(gdRadial);
}

TPieSeries::~TPieSeries() {
  if (FParentChart) {
    SwitchChart3D(true);
    TChartSeries::SetParentChart(nullptr);
  }
}

void TPieSeries::Assign(TPersistent* Source) {
  if (auto* s = dynamic_cast<TPieSeries*>(Source)) {
    FAngleSize = s->FAngleSize;
    FAutoMarkPosition = s->FAutoMarkPosition;
    FDark3D = s->FDark3D;
    FDarkPen = s->FDarkPen;
    FExplodeBiggest = s->FExplodeBiggest;
    FExplodePercents.Items() = s->FExplodePercents.Items();
    FRaisePercents.Items() = s->FRaisePercents.Items();
    FUsePatterns = s->FUsePatterns;
    FOtherSlice->Assign(s->FOtherSlice.get());
    FShadow->Assign(s->FShadow.get());
  }
  TCircledSeries::Assign(Source);
  FColorEachPoint = true;
}

void TPieSeries::SetParentChart(TCustomAxisPanel* Value) {
  TCircledSeries::SetParentChart(Value);
  if (!ComponentState().Contains(csDestroying)) FOtherSlice->MoveLegendTo(Value);
}

void TPieSeries::SetExplodeBiggest(int Value) {
  ChangeInteger(FExplodeBiggest, Value);
  ExplodeBiggestSlice();
}

void TPieSeries::SetMultiPie(TMultiPie Value) {
  if (FMultiPie == Value) return;
  FMultiPie = Value;
  RequestRedraw();
}

void TPieSeries::AdjustChart3D() {
  TView3DOptions* v = FParentChart->View3DOptions();
  v->SetOrthogonal(false);
  v->SetRotation(360);
  v->SetElevation(315);
  v->SetPerspective(0);
  v->SetTilt(0);
}

// ---- Points and slice lists ------------------------------------------------------------

void TPieSeries::RemoveOtherPoint() {
  for (int i = 0; i < PointCount(); ++i)
    if (XValues()->GetValue(i) == OtherSliceX) {
      RemovePoint(i);
      return;
    }
}

void TPieSeries::RemovePoint(int Index) {
  TCircledSeries::RemovePoint(Index);
  FExplodePercents.Delete(Index);
  FRaisePercents.Delete(Index);
  FSliceArcs.clear();
}

void TPieSeries::ExchangePoints(int A, int B) {
  TCircledSeries::ExchangePoints(A, B);
  FExplodePercents.Exchange(A, B, PointCount());
  FRaisePercents.Exchange(A, B, PointCount());
  FSliceArcs.clear();
}

void TPieSeries::EmptyAllLists() {
  TCircledSeries::EmptyAllLists();
  FExplodePercents.Clear();
  FRaisePercents.Clear();
}

void TPieSeries::RemoveAllPoints() {
  TCircledSeries::RemoveAllPoints();
  FSliceArcs.clear();
}

void TPieSeries::SavePointData(TStream* Stream) {
  RemoveOtherPoint();
  TCircledSeries::SavePointData(Stream);
}

void TPieSeries::ResortIfOrdered() {
  XValues()->SetOrder(loAscending);
  RequestRedraw();
}

void TPieSeries::GenerateRandomPoints(int Count, bool) {
  static const std::string* const labels[] = {&GrafMsgCars,  &GrafMsgPhones, &GrafMsgTables, &GrafMsgMonitors,
                                              &GrafMsgLamps, &GrafMsgKeyboards, &GrafMsgBikes, &GrafMsgChairs};
  for (int i = 0; i < Count; ++i) AddSingleValue(RandomInteger(1000) + 1, *labels[i % 8], clDefault);
}

// ---- Grouping, angles, layout ----------------------------------------------------------

void TPieSeries::PrepareChartDraw() {
  TCircledSeries::PrepareChartDraw();
  std::unique_ptr<TSeriesMarkPosition> kept;
  for (int i = 0; i < PointCount(); ++i)
    if (XValues()->GetValue(i) == OtherSliceX) {
      TSeriesMarkPosition* p = FMarks->Positions()->PositionAt(i);
      if (p && p->Custom) {
        kept = std::make_unique<TSeriesMarkPosition>();
        kept->CopyPositionFrom(*p);
        kept->Custom = true;
      }
      break;
    }
  if (YValues()->Order() != loNone) YValues()->SortByOrder();
  RemoveOtherPoint();
  XValues()->FillWithIndices();
  FSliceArcs.clear();
  const double total = YValues()->TotalAbs();
  if (FOtherSlice->Style() == poNone || !(total > 0)) return;
  double sum = 0;
  bool grouped = false;
  for (int i = 0; i < PointCount(); ++i) {
    double v = std::fabs(YValues()->GetValue(i));
    if (FOtherSlice->Style() == poBelowPercent) v = v * 100 / total;
    if (v < FOtherSlice->Value()) {
      XValues()->StoreValue(i, -1);
      sum += std::fabs(YValues()->GetValue(i));
      grouped = true;
    }
  }
  if (!grouped) return;
  const int index = AddXYPoint(OtherSliceX, sum, FOtherSlice->GetText(), FOtherSlice->Color());
  // Percentages stay those of the real slices: the other slice is not counted twice.
  YValues()->OverrideTotalAbs(total);
  if (kept && index >= 0) FMarks->Positions()->StoreCustom(index, *kept);
}

void TPieSeries::FindVisibleRange() {
  if (FOtherSlice->Style() == poNone) {
    int first = -1, last = -1;
    PageIndexRange(first, last);
    if (first >= 0 && last >= first) {
      FirstVisible = first;
      LastVisible = std::min(last, PointCount() - 1);
      if (FirstVisible <= LastVisible) return;
    }
  }
  TCircledSeries::FindVisibleRange();
}

void TPieSeries::ComputeSliceArcs() {
  const double a = AngleSizeRadians();
  const int n = PointCount();
  FSliceArcs.assign(static_cast<size_t>(n), TPieAngle{});
  if (n == 0) return;
  const bool grouping = FOtherSlice->Style() != poNone;
  double total = 0;
  if (grouping || FirstVisible < 0) {
    total = YValues()->TotalAbs();
  } else {
    for (int i = FirstVisible; i <= LastVisible && i < n; ++i) total += std::fabs(YValues()->GetValue(i));
  }
  if (FirstVisible < 0) return;
  double running = 0, prevEnd = 0;
  for (int j = FirstVisible; j <= LastVisible && j < n; ++j) {
    TPieAngle& s = FSliceArcs[static_cast<size_t>(j)];
    s.StartAngle = j == FirstVisible ? 0 : prevEnd;
    if (total == 0) {
      s.EndAngle = a;
    } else {
      if (!IsGroupedSlice(j)) running += std::fabs(YValues()->GetValue(j));
      s.EndAngle = running == total ? a : running * a / total;
    }
    s.EndAngle = std::min(s.EndAngle, s.StartAngle + a);
    s.MidAngle = (s.StartAngle + s.EndAngle) / 2;
    prevEnd = s.EndAngle;
  }
}

void TPieSeries::EnsureSliceArcs() {
  if (static_cast<int>(FSliceArcs.size()) != PointCount()) ComputeSliceArcs();
}

int TPieSeries::CompatibleCount() {
  int n = 0;
  if (FParentChart)
    for (TChartSeries* s : *FParentChart->SeriesList())
      if (s->Active() && ClassCompatible(s)) ++n;
  return n;
}

void TPieSeries::BeginDrawValues() {
  if (!FParentChart) {
    TCircledSeries::BeginDrawValues();
    return;
  }
  SavedChartRect = FParentChart->ChartArea;
  FChartRectSaved = true;
  const int n = CompatibleCount();
  if (FMultiPie == mpAutomatic && n >= 2) {
    int k = 0;
    for (TChartSeries* s : *FParentChart->SeriesList()) {
      if (s == this) break;
      if (s->Active() && ClassCompatible(s)) ++k;
    }
    const TRect& r = SavedChartRect;
    const int columns = std::max(1, Nearest(std::sqrt(n)));
    const int rows = std::max(1, Nearest(std::sqrt(n) + 0.5));
    const int rowHeight = (r.Bottom - r.Top) / rows, cellWidth = (r.Right - r.Left) / columns;
    const int col = k % columns, row = k / columns;
    const TRect cell = Bounds(r.Left + col * cellWidth, r.Top + row * rowHeight, cellWidth, rowHeight);
    FParentChart->ChartArea = FParentChart->PanelCanvas()->ProjectRectAtDepth(cell, 0);
  }
  TCircledSeries::BeginDrawValues();
}

void TPieSeries::EndDrawValues() {
  if (FParentChart && FChartRectSaved) FParentChart->ChartArea = SavedChartRect;
  FChartRectSaved = false;
  TCircledSeries::EndDrawValues();
}

void TPieSeries::ExplodeBiggestSlice() {
  if (FExplodeBiggest <= 0 || PointCount() == 0) return;
  int index = -1;
  if (FParentChart && FParentChart->MaxPointsPerPage() > 0 && FirstVisible >= 0) {
    for (int i = FirstVisible; i <= LastVisible && i < PointCount(); ++i)
      if (index < 0 || YValues()->GetValue(i) > YValues()->GetValue(index)) index = i;
  } else {
    const double m = YValues()->MaxValue();
    for (int i = 0; i < PointCount() && index < 0; ++i)
      if (YValues()->GetValue(i) == m) index = i;
  }
  if (index >= 0) FExplodePercents.SetItemValue(index, FExplodeBiggest);
}

// ---- Legend ----------------------------------------------------------------------------

int TPieSeries::LegendEntryCount() {
  int grouped = 0;
  for (int i = 0; i < PointCount(); ++i)
    if (IsGroupedSlice(i)) ++grouped;
  const bool other = DrawingLegend && FOtherSlice->HasLegend() && DrawingLegend == FOtherSlice->Legend();
  return other ? grouped : PointCount() - grouped;
}

int TPieSeries::MapValueIndex(int Row) {
  const bool other = DrawingLegend && FOtherSlice->HasLegend() && DrawingLegend == FOtherSlice->Legend();
  int k = 0;
  for (int i = 0; i < PointCount(); ++i)
    if (IsGroupedSlice(i) == other && k++ == Row) return i;
  return Row;
}

TBrushStyle TPieSeries::SliceBrushStyle(int Index) {
  const bool mono = FParentChart && FParentChart->Monochrome();
  if (FUsePatterns || (mono && Index != -1)) return static_cast<TBrushStyle>((std::max(Index, 0) % 6) + 2);
  return bsSolid;
}

TColor TPieSeries::SliceColor(int Index) {
  // Row -1 of a legend stands for the whole series.
  return Index >= 0 && Index < PointCount() ? PointColor(Index) : GetSeriesColor();
}

void TPieSeries::PrepareSlicePen(int Index) {
  TCanvas3D* canvas = FParentChart->PanelCanvas();
  if (FDarkPen <= 0) canvas->ApplyPen(Pen());
  else canvas->ApplyPenWithColor(Pen(), ColorDarker(SliceColor(Index), 255 - FDarkPen));
}

void TPieSeries::AdjustLegendCanvas(int Row, TColor& BackColor, TBrushStyle& BrushStyle) {
  TCircledSeries::AdjustLegendCanvas(Row, BackColor, BrushStyle);
  if (FParentChart) PrepareSlicePen(Row);
  BrushStyle = SliceBrushStyle(Row);
}

void TPieSeries::PaintLegendSymbol(int Row, const TRect& R) {
  if (!FParentChart) return;
  const TColor c = FParentChart->Monochrome() ? clBlack : SliceColor(Row);
  if (FCircleGradient->Visible() && c != clNone) {
    TCanvas3D* canvas = FParentChart->PanelCanvas();
    FCircleGradient->SetEndColor(c);
    FCircleGradient->DrawInRect(canvas, R);
    PrepareSlicePen(Row);
    canvas->CanvasBrush()->SetStyle(bsClear);
    canvas->RectangleOfRect(R);
    return;
  }
  TCircledSeries::PaintLegendSymbol(Row, R);
}

// ---- Axes ------------------------------------------------------------------------------

double TPieSeries::LargestX() { return GetHorizAxis() ? GetHorizAxis()->Maximum() : 0; }
double TPieSeries::LargestY() { return GetVertAxis() ? GetVertAxis()->Maximum() : 0; }
double TPieSeries::SmallestX() { return GetHorizAxis() ? GetHorizAxis()->Minimum() : 0; }
double TPieSeries::SmallestY() { return GetVertAxis() ? GetVertAxis()->Minimum() : 0; }

int TPieSeries::PointXPixel(int Index) {
  return XValues()->GetValue(Index) == OtherSliceX ? 0 : TCircledSeries::PointXPixel(Index);
}

// ---- Drawing ---------------------------------------------------------------------------

void TPieSeries::ExplodeOffset(int Index, int& DX, int& DY) {
  DX = DY = 0;
  const int e = FExplodePercents.ItemValue(Index);
  if (!DrawAllSides || FExplodePercents.Count() == 0 || e <= 0) return;
  EnsureSliceArcs();
  if (Index >= static_cast<int>(FSliceArcs.size())) return;
  double a = FSliceArcs[static_cast<size_t>(Index)].MidAngle;
  if (FParentChart && FParentChart->PanelCanvas()->RendersWithoutGdi()) a += AngleSizeRadians() / 4 + M_PI;
  a += RotationRadians;
  DX = Nearest(std::cos(a) * RadiusX * e / 100.0);
  DY = Nearest(std::sin(a) * RadiusY * e / 100.0);
}

void TPieSeries::ExplodedRadii(int Index, int& RX, int& RY) {
  const double f = 1 + FExplodePercents.ItemValue(Index) / 100.0;
  RX = Nearest(RadiusX * f);
  RY = Nearest(RadiusY * f);
}

int TPieSeries::SliceTopDepth(int Index) {
  if (Index >= FRaisePercents.Count()) return EndZ;
  return StartZ + Nearest(FRaisePercents.ItemValue(Index) * (EndZ - StartZ) * 0.01);
}

double TPieSeries::SliceDepthDistance(int Index) {
  const double a = AngleSizeRadians();
  double m = FSliceArcs[static_cast<size_t>(Index)].MidAngle + RotationRadians;
  if (m > a) m -= a;
  const double q = a / 4;
  double d = m <= q ? q - m : m - q;
  if (d > M_PI) d = a - d;
  return d;
}

void TPieSeries::DrawVisiblePoints() {
  if (!FParentChart || FirstVisible < 0) return;
  if (FExplodeBiggest > 0) ExplodeBiggestSlice();
  EnsureSliceArcs();
  int most = -1, mostValue = 0;
  for (int i = FirstVisible; i <= LastVisible; ++i) {
    const int e = FExplodePercents.ItemValue(i);
    if (e > mostValue) {
      mostValue = e;
      most = i;
    }
  }
  DrawAllSides = most >= 0 || FRaisePercents.Count() > 0;
  if (most >= 0) {
    int dx, dy;
    ExplodeOffset(most, dx, dy);
    RingBounds = Rect(RingBounds.Left + std::abs(dx) / 2, RingBounds.Top + std::abs(dy) / 2,
                      RingBounds.Right - std::abs(dx) / 2, RingBounds.Bottom - std::abs(dy) / 2);
    FitRingBounds();
    ApplyRadii();
  }
  const TPoint start = PointOnCircle(0, RadiusX, RadiusY);
  ArcStartX = start.X;
  ArcStartY = start.Y;
  TCanvas3D* canvas = FParentChart->PanelCanvas();
  FShadow->DrawEllipseShadow(canvas, RingBounds, EndZ - 10);

  const bool is3D = FParentChart->View3D();
  const bool plain = !is3D || (most < 0 && FRaisePercents.Count() == 0 && FDonutPercent <= 0) ||
                     canvas->RendersWithoutGdi();
  if (plain) {
    TCircledSeries::DrawVisiblePoints();
  } else {
    std::vector<int> order(static_cast<size_t>(LastVisible - FirstVisible + 1));
    std::iota(order.begin(), order.end(), FirstVisible);
    std::stable_sort(order.begin(), order.end(),
                     [this](int a, int b) { return SliceDepthDistance(a) < SliceDepthDistance(b); });
    // A partial donut shows the open ends of its first and last slices.
    const bool ends = !DrawAllSides && FDonutPercent > 0 && FAngleSize != 360;
    for (int i : order) {
      const bool endSlice = ends && (i == FirstVisible || i == LastVisible);
      if (endSlice) DrawAllSides = true;
      DrawPoint(i);
      if (endSlice) DrawAllSides = false;
    }
  }
  if (FOtherSlice->HasLegend() && FOtherSlice->Legend()->Visible()) {
    DrawingLegend = FOtherSlice->Legend();
    try {
      FOtherSlice->Legend()->PaintLegend();
    } catch (...) {
      DrawingLegend = nullptr;
      throw;
    }
    DrawingLegend = nullptr;
  }
}

void TPieSeries::DrawPoint(int Index) {
  if (RingWidth < 5 || RingHeight < 5 || IsGroupedSlice(Index)) return;
  TCanvas3D* canvas = FParentChart->PanelCanvas();
  const TBrushStyle kept = Brush()->Style();
  const bool oldRepaint = FParentChart->RepaintOnChange;
  FParentChart->RepaintOnChange = false;
  Brush()->SetStyle(SliceBrushStyle(Index));
  const TColor c = FParentChart->Monochrome() ? clBlack : PointColor(Index);
  if (c == clNone) {
    canvas->CanvasBrush()->SetStyle(bsClear);
  } else {
    FParentChart->ApplyBrushColors(c, Brush(), EffectiveBackColor());
    if (FCircleGradient->Visible()) FCircleGradient->SetEndColor(c);
  }
  Brush()->SetStyle(kept);
  FParentChart->RepaintOnChange = oldRepaint;
  PrepareSlicePen(Index);
  PaintSlice(Index);
}

void TPieSeries::StartArcBeforeSlice(int Index) {
  EnsureSliceArcs();
  if (FSliceArcs.empty()) return;
  const int previous = Index > 0 ? Index - 1 : static_cast<int>(FSliceArcs.size()) - 1;
  const TPoint p = PointOnCircle(FSliceArcs[static_cast<size_t>(previous)].EndAngle, RadiusX, RadiusY);
  ArcStartX = p.X;
  ArcStartY = p.Y;
}

void TPieSeries::PaintSlice(int Index) {
  TCanvas3D* canvas = FParentChart->PanelCanvas();
  int dx, dy;
  ExplodeOffset(Index, dx, dy);
  const TPieAngle& arc = FSliceArcs[static_cast<size_t>(Index)];
  const double s = arc.StartAngle, e = arc.EndAngle;
  if (FParentChart->View3D()) {
    canvas->Pie3D(RingCenterX + dx, RingCenterY - dy, RadiusX, RadiusY, StartZ, SliceTopDepth(Index),
                  s + RotationRadians, e + RotationRadians, FDark3D, DrawAllSides, FDonutPercent,
                  FCircleGradient->Visible() ? FCircleGradient.get() : nullptr);
  } else if (FDonutPercent <= 0) {
    const TPoint end = PointOnCircle(e, RadiusX, RadiusY);
    if (end.X != ArcStartX || end.Y != ArcStartY || PointCount() == 1 || e - s > 1) {
      canvas->Pie2D(RingBounds.Left + dx, RingBounds.Top - dy, RingBounds.Right + dx, RingBounds.Bottom - dy,
                    ArcStartX + dx, ArcStartY - dy, end.X + dx, end.Y - dy);
      ArcStartX = end.X;
      ArcStartY = end.Y;
    }
  } else {
    canvas->Donut(RingCenterX + dx, RingCenterY - dy, RadiusX, RadiusY, s + RotationRadians, e + RotationRadians,
                  FDonutPercent);
  }
}

void TPieSeries::DrawPointMark(int Index, const std::string& Text, TSeriesMarkPosition& Position) {
  if (IsGroupedSlice(Index)) return;
  int rx, ry;
  ExplodedRadii(Index, rx, ry);
  EnsureSliceArcs();
  double a = FSliceArcs[static_cast<size_t>(Index)].MidAngle;
  if (FParentChart->PanelCanvas()->RendersWithoutGdi()) {
    FMarks->ZPosition = StartZ;
    a += 3 * M_PI / 2;
  } else {
    FMarks->ZPosition = SliceTopDepth(Index);
  }
  TMarksCallout* c = FMarks->Callout();
  const int l = c->Length(), d = c->Distance();
  Position.ArrowFix = true;
  Position.ArrowTo = PointOnCircle(a, rx + l + d, ry + l + d);
  Position.ArrowFrom = PointOnCircle(a, rx + d, ry + d);
  Position.LeftTop.X = Position.ArrowTo.X > RingCenterX ? Position.ArrowTo.X : Position.ArrowTo.X - Position.Width;
  Position.LeftTop.Y = Position.ArrowTo.Y > RingCenterY ? Position.ArrowTo.Y : Position.ArrowTo.Y - Position.Height;
  if (FAutoMarkPosition) FMarks->AvoidOverlap(FirstVisible, Index, Position);
  TCircledSeries::DrawPointMark(Index, Text, Position);
}

int TPieSeries::SliceAtPoint(int X, int Y, bool WithExplode) {
  if (FSliceArcs.empty() || !FParentChart) return -1;
  TCanvas3D* canvas = FParentChart->PanelCanvas();
  const int n = std::min(PointCount(), static_cast<int>(FSliceArcs.size()));
  for (int i = 0; i < n; ++i) {
    if (IsGroupedSlice(i)) continue;
    const TPieAngle& arc = FSliceArcs[static_cast<size_t>(i)];
    int dx = 0, dy = 0;
    if (WithExplode) ExplodeOffset(i, dx, dy);
    std::vector<TPoint> poly;
    poly.reserve(32);
    auto add = [&](TPoint p) { poly.push_back(canvas->ProjectXYZ(p.X + dx, p.Y - dy, EndZ)); };
    add(PointOnCircle(arc.StartAngle, RadiusX, RadiusY));
    add(Point(RingCenterX, RingCenterY));
    const double step = (arc.EndAngle - arc.StartAngle) / 30;
    for (int k = 0; k < 30; ++k) add(PointOnCircle(arc.EndAngle - k * step, RadiusX, RadiusY));
    if (arc.EndAngle > arc.StartAngle && PointInsidePolygon(Point(X, Y), poly)) return i;
  }
  return -1;
}

int TPieSeries::IndexAtPoint(int X, int Y) {
  const int base = TCircledSeries::IndexAtPoint(X, Y);
  return base >= 0 ? base : SliceAtPoint(X, Y, true);
}

// ---- Gallery ---------------------------------------------------------------------------

void TPieSeries::EnumGalleryStyles(const std::function<void(const std::string&)>& Proc) {
  TCircledSeries::EnumGalleryStyles(Proc);
  for (const std::string& t : {GrafMsgPatterns, GrafMsgExploded, GrafMsgShadow, GrafMsgMarks, GrafMsgSemiPie,
                               GrafMsgNoBorder, GrafMsgDarkBorder})
    Proc(t);
}

void TPieSeries::ApplyGalleryStyle(TChartSeries* Series, int Index) {
  auto* s = dynamic_cast<TPieSeries*>(Series);
  if (!s) return;
  switch (Index) {
    case 1: s->SetUsePatterns(true); break;
    case 2: s->SetExplodeBiggest(30); break;
    case 3:
      s->Shadow()->SetHorizSize(10);
      s->Shadow()->SetVertSize(10);
      break;
    case 4:
      s->Marks()->SetVisible(true);
      s->RemoveAllPoints();
      s->AddSingleValue(30, "A");
      s->AddSingleValue(72, "B");
      break;
    case 5: s->SetAngleSize(180); break;
    case 6: s->PiePen()->SetVisible(false); break;
    case 7: s->SetDarkPen(32); break;
    default: break;
  }
}

static void ApplyPieView(TCustomAxisPanel* Chart) {
  if (!Chart) return;
  TView3DOptions* v = Chart->View3DOptions();
  v->SetOrthogonal(false);
  v->SetRotation(0);
  v->SetElevation(305);
}

void TPieSeries::SetupGalleryPreview(bool Enabled) {
  TCircledSeries::SetupGalleryPreview(Enabled);
  LoadDemoData(8);
  if (FParentChart) FParentChart->SetChart3DPercent(75);
  FMarks->Callout()->SetLength(0);
  FMarks->SetDrawEvery(1);
  FCircleGradient->SetVisible(true);
  ApplyPieView(FParentChart);
  SetColorEachPoint(Enabled);
}

void TPieSeries::ApplyGallery3D(bool Value) {
  TCircledSeries::ApplyGallery3D(Value);
  ApplyPieView(FParentChart);
  SetCircled(!Value);
}
