// The axis object and its scale: range (automatic, logarithmic, inverted),
// placement on the chart rectangle, and the conversions between values and
// pixels everything else relies on.
#include <algorithm>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#include <cmath>

#include "chart/core/grafconst.h"
#include "chart/core/grengine.h"
#include "platform/rtl/datetime.h"
#include "platform/rtl/mathutils.h"
#include "platform/ui/streaming.h"

namespace {

// Rounds to the nearest integer, halves to even (the rounding mode in force).
inline int RoundPixel(double v) { return static_cast<int>(std::nearbyint(v)); }

TCustomAxisPanel* ChartOf(TCollection* Collection) {
  return Collection ? dynamic_cast<TCustomAxisPanel*>(Collection->GetOwner()) : nullptr;
}

// A custom axis joins the collection; the six standard axes stay outside it.
TCollection* CollectionToJoin(TCollection* Collection) {
  TCustomAxisPanel* chart = ChartOf(Collection);
  return chart && chart->AxesList() && chart->AxesList()->Count() >= 6 ? Collection : nullptr;
}

template <class T>
void StoreAndRepaint(TCustomAxisPanel* Chart, T& Field, T Value) {
  if (Field == Value) return;
  Field = Value;
  if (Chart) Chart->Invalidate();
}

}  // namespace

// ---- Title and pen ---------------------------------------------------------------------------

ZV_CLASS_IMPL(TChartAxisTitle, TGrafCustomShape)

void TChartAxisTitle::DeclareProperties(TClassInfo& c) {
  using T = TChartAxisTitle;
  c.Integer<T>("Angle", &T::Angle, &T::SetAngle).WithStored([](TObject* o) {
    auto* t = static_cast<T*>(o);
    return t->Angle() != t->DefaultAngle;
  });
  c.String<T>("Caption", &T::Caption, &T::SetCaption);
  c.Object<T, TGrafFont>("Font", &T::Font, &T::SetFont);
  c.Boolean<T>("Visible", &T::Visible, &T::SetVisible, true);
}

TChartAxisTitle::TChartAxisTitle(TCustomGrafPanel* Panel) : TGrafCustomShape(Panel) {}

void TChartAxisTitle::SetAngle(int Value) {
  const int v = ((Value % 360) + 360) % 360;
  if (ParentPanel()) ParentPanel()->ChangeInteger(FAngle, v);
  else FAngle = v;
}

void TChartAxisTitle::SetCaption(const std::string& Value) {
  if (ParentPanel()) ParentPanel()->ChangeString(FCaption, Value);
  else FCaption = Value;
}

void TChartAxisTitle::Assign(TPersistent* Source) {
  if (auto* other = dynamic_cast<TChartAxisTitle*>(Source)) {
    FAngle = other->FAngle;
    FCaption = other->FCaption;
  }
  TGrafCustomShape::Assign(Source);
}

TChartAxisPen::TChartAxisPen(TNotifyEvent OnChange) : TChartPen(std::move(OnChange)) {
  RegisterEngineAttributeClasses();
  SetWidth(2);
}

void TChartAxisPen::Assign(const TGraphicsObject* Source) {
  if (auto* other = dynamic_cast<const TChartAxisPen*>(Source)) FLineMode = other->FLineMode;
  TChartPen::Assign(Source);
}

void TChartAxisPen::SetLineMode(TPenLineMode Value) {
  if (FLineMode == Value) return;
  FLineMode = Value;
  Changed();
}

// ---- The axis ---------------------------------------------------------------------------------

ZV_CLASS_IMPL(TChartAxis, TCollectionItem)

void TChartAxis::DeclareProperties(TClassInfo& c) {
  using A = TChartAxis;
  auto notAutoMin = [](TObject* o) {
    auto* a = static_cast<A*>(o);
    return !a->Automatic() && !a->AutomaticMinimum();
  };
  auto notAutoMax = [](TObject* o) {
    auto* a = static_cast<A*>(o);
    return !a->Automatic() && !a->AutomaticMaximum();
  };
  auto custom = [](TObject* o) { return static_cast<A*>(o)->IsCustomAxis(); };
  c.Boolean<A>("Automatic", &A::Automatic, &A::SetAutomatic, true);
  c.Boolean<A>("AutomaticMaximum", &A::AutomaticMaximum, &A::SetAutomaticMaximum, true);
  c.Boolean<A>("AutomaticMinimum", &A::AutomaticMinimum, &A::SetAutomaticMinimum, true);
  c.Object<A, TChartPen>("Axis", &A::Axis, &A::SetAxis);
  c.String<A>("AxisValuesFormat", &A::AxisValuesFormat, &A::SetAxisValuesFormat)
      .WithStored([](TObject* o) { return static_cast<A*>(o)->AxisValuesFormat() != GrafMsgDefaultValueFormat; });
  c.String<A>("DateTimeFormat", &A::DateTimeFormat, &A::SetDateTimeFormat);
  c.Float<A>("EndPosition", ftDouble, &A::EndPosition, &A::SetEndPosition, 100.0L);
  c.Boolean<A>("ExactDateTime", &A::ExactDateTime, &A::SetExactDateTime, true);
  c.Object<A, TChartPen>("Grid", &A::Grid, &A::SetGrid);
  c.Boolean<A>("GridCentered", &A::GridCentered, &A::SetGridCentered, false);
  c.Boolean<A>("Horizontal", &A::Horizontal, &A::SetHorizontal, false).WithStored(custom);
  c.Float<A>("Increment", ftDouble, &A::Increment, &A::SetIncrement);
  c.Boolean<A>("Inverted", &A::Inverted, &A::SetInverted, false);
  c.Boolean<A>("Labels", &A::Labels, &A::SetLabels, true);
  c.Enum<A>("LabelsAlign", AxisLabelAlignEnumInfo(), &A::LabelsAlign, &A::SetLabelsAlign, alDefault);
  c.Boolean<A>("LabelsAlternate", &A::LabelsAlternate, &A::SetLabelsAlternate, false);
  c.Integer<A>("LabelsAngle", &A::LabelsAngle, &A::SetLabelsAngle, 0);
  c.Boolean<A>("LabelsExponent", &A::LabelsExponent, &A::SetLabelsExponent, false);
  c.Object<A, TGrafFont>("LabelsFont", &A::LabelsFont, &A::SetLabelsFont);
  c.Boolean<A>("LabelsMultiLine", &A::LabelsMultiLine, &A::SetLabelsMultiLine, false);
  c.Boolean<A>("LabelsOnAxis", &A::LabelsOnAxis, &A::SetLabelsOnAxis, true);
  c.Integer<A>("LabelsSeparation", &A::LabelsSeparation, &A::SetLabelsSeparation, 10);
  c.Integer<A>("LabelsSize", &A::LabelsSize, &A::SetLabelsSize, 0);
  c.Enum<A>("LabelStyle", AxisLabelStyleEnumInfo(), &A::LabelStyle, &A::SetLabelStyle, talAuto);
  c.Boolean<A>("Logarithmic", &A::Logarithmic, &A::SetLogarithmic, false);
  c.Float<A>("LogarithmicBase", ftDouble, &A::LogarithmicBase, &A::SetLogarithmicBase, 10.0L);
  c.Float<A>("Maximum", ftDouble, &A::Maximum, &A::SetMaximum).WithStored(notAutoMax);
  c.Integer<A>("MaximumOffset", &A::MaximumOffset, &A::SetMaximumOffset, 0);
  c.Float<A>("Minimum", ftDouble, &A::Minimum, &A::SetMinimum).WithStored(notAutoMin);
  c.Integer<A>("MinimumOffset", &A::MinimumOffset, &A::SetMinimumOffset, 0);
  c.Object<A, TChartPen>("MinorGrid", &A::MinorGrid, &A::SetMinorGrid);
  c.Integer<A>("MinorTickCount", &A::MinorTickCount, &A::SetMinorTickCount, 3);
  c.Integer<A>("MinorTickLength", &A::MinorTickLength, &A::SetMinorTickLength, 2);
  c.Object<A, TChartPen>("MinorTicks", &A::MinorTicks, &A::SetMinorTicks);
  c.Boolean<A>("OtherSide", &A::OtherSide, &A::SetOtherSide, false).WithStored(custom);
  c.Float<A>("PositionPercent", ftDouble, &A::PositionPercent, &A::SetPositionPercent, 0.0L);
  c.Enum<A>("PositionUnits", GrafUnitsEnumInfo(), &A::PositionUnits, &A::SetPositionUnits, muPercent);
  c.Boolean<A>("RoundFirstLabel", &A::RoundFirstLabel, &A::SetRoundFirstLabel, true);
  c.Float<A>("StartPosition", ftDouble, &A::StartPosition, &A::SetStartPosition, 0.0L);
  c.Integer<A>("TickInnerLength", &A::TickInnerLength, &A::SetTickInnerLength, 0);
  c.Integer<A>("TickLength", &A::TickLength, &A::SetTickLength, 4);
  c.Boolean<A>("TickOnLabelsOnly", &A::TickOnLabelsOnly, &A::SetTickOnLabelsOnly, true);
  c.Object<A, TChartPen>("Ticks", &A::Ticks, &A::SetTicks);
  c.Object<A, TChartPen>("TicksInner", &A::TicksInner, &A::SetTicksInner);
  c.Object<A, TChartAxisTitle>("Title", &A::Title, &A::SetTitle);
  c.Integer<A>("TitleSize", &A::TitleSize, &A::SetTitleSize, 0);
  c.Boolean<A>("Visible", &A::Visible, &A::SetVisible, true);
  c.Float<A>("ZPosition", ftDouble, &A::ZPosition, &A::SetZPosition).WithStored([](TObject* o) {
    auto* a = static_cast<A*>(o);
    if (a->IsDepthAxis()) return false;
    if (a->OtherSide()) return a->ZPosition() != 100;
    return a->ZPosition() > 0.011;
  });
  c.Method<A, TAxisDrawLabelEvent>("OnDrawLabel", [](A* a) { return a->OnDrawLabel; },
                                   [](A* a, const TAxisDrawLabelEvent& e) { a->OnDrawLabel = e; });
}

TChartAxis::TChartAxis(TCollection* Collection) : TCollectionItem(CollectionToJoin(Collection)) {
  Init(ChartOf(Collection));
}

TChartAxis::TChartAxis(TCustomAxisPanel* Chart, bool) : TCollectionItem(nullptr) { Init(Chart); }

void TChartAxis::Init(TCustomAxisPanel* Chart) {
  EngineUnitStartup();
  FParentChart = Chart;
  ChooseMappingFunctions();
  LabelSeries = std::make_unique<TCustomSeriesList>(Chart);
  FLabelItems = std::make_unique<TAxisItems>(this);
  TNotifyEvent change;
  if (Chart) change = [Chart](TObject* Sender) { Chart->HandleChange(Sender); };
  FAxisPen = std::make_unique<TChartAxisPen>(change);
  FTitle = std::make_unique<TChartAxisTitle>(Chart);
  FGrid = std::make_unique<TAxisGridPen>(change);
  FMinorGrid = std::make_unique<TChartHiddenPen>(change);
  FMinorTicks = std::make_unique<TDarkGrayPen>(change);
  FTicks = std::make_unique<TDarkGrayPen>(change);
  FTicksInner = std::make_unique<TDarkGrayPen>(change);
  FAxisValuesFormat = GrafMsgDefaultValueFormat;
  if (Chart && Chart->AxesList()) Chart->AxesList()->Add(this);
}

TChartAxis::~TChartAxis() {
  FAxisPen.reset();
  FTitle.reset();
  FLabelItems.reset();
  if (FParentChart) {
    for (TChartSeries* s : *FParentChart->SeriesList()) {
      if (s->CustomHorizAxis() == this) s->SetCustomHorizAxis(nullptr);
      if (s->CustomVertAxis() == this) s->SetCustomVertAxis(nullptr);
    }
    if (FParentChart->AxesList()) FParentChart->AxesList()->Remove(this);
  }
  LabelSeries.reset();
  TickPositions.clear();
}

TCanvas3D* TChartAxis::Canvas() const { return FParentChart ? FParentChart->PanelCanvas() : nullptr; }

void TChartAxis::Changed() {
  if (FParentChart) FParentChart->Invalidate();
}

std::string TChartAxis::DisplayName() const {
  if (!FTitle->Caption().empty()) return FTitle->Caption();
  return TCollectionItem::DisplayName();
}

// ---- Setters ------------------------------------------------------------------------------------

void TChartAxis::SetAutomatic(bool Value) {
  StoreAndRepaint(FParentChart, FAutomatic, Value);
  if (!FParentChart || !FParentChart->ComponentState().Contains(csLoading)) {
    FAutomaticMinimum = Value;
    FAutomaticMaximum = Value;
  }
}

void TChartAxis::SetAutomaticMinimum(bool Value) {
  StoreAndRepaint(FParentChart, FAutomaticMinimum, Value);
  if (!Value) FAutomatic = false;
  else if (FAutomaticMaximum) FAutomatic = true;
}

void TChartAxis::SetAutomaticMaximum(bool Value) {
  StoreAndRepaint(FParentChart, FAutomaticMaximum, Value);
  if (!Value) FAutomatic = false;
  else if (FAutomaticMinimum) FAutomatic = true;
}

namespace {
bool ChartIsReading(TCustomAxisPanel* Chart) {
  return Chart && (Chart->ComponentState().Contains(csReading) || Chart->ComponentState().Contains(csLoading));
}
}  // namespace

void TChartAxis::SetMinimum(double Value) {
  if (!ChartIsReading(FParentChart) && Value > FMaximum) throw AxisException(GrafMsgAxisMinimumValueMustBeMaximum);
  if (FParentChart) FParentChart->ChangeDouble(FMinimum, Value);
  else FMinimum = Value;
}

void TChartAxis::SetMaximum(double Value) {
  if (!ChartIsReading(FParentChart) && Value < FMinimum) throw AxisException(GrafMsgAxisMaximumValueMustBeMinimum);
  if (FParentChart) FParentChart->ChangeDouble(FMaximum, Value);
  else FMaximum = Value;
}

void TChartAxis::SetRange(double AMin, double AMax) {
  FAutomatic = FAutomaticMinimum = FAutomaticMaximum = false;
  double lo = std::min(AMin, AMax), hi = std::max(AMin, AMax);
  if (hi - lo < 1e-10) hi = lo + 1e-10;
  FMinimum = lo;
  FMaximum = hi;
  Changed();
  if (FParentChart && FParentChart->CustomAxes()) FParentChart->CustomAxes()->CopyScalesFromMaster(this);
}

void TChartAxis::RestoreScale(bool Auto, bool AutoMin, bool AutoMax, double AMin, double AMax) {
  FAutomatic = Auto;
  FAutomaticMinimum = AutoMin;
  FAutomaticMaximum = AutoMax;
  FMinimum = AMin;
  FMaximum = AMax;
  Changed();
}

void TChartAxis::SetIncrement(double Value) {
  if (Value < 0) throw AxisException(GrafMsgAxisIncrementMustBe0);
  if (IsDateTimeAxis) (void)DateTimeToStr(Value);
  if (FParentChart) FParentChart->ChangeDouble(FIncrement, Value);
  else FIncrement = Value;
}

void TChartAxis::SetLogarithmic(bool Value) {
  if (Value == FLogarithmic) return;
  if (Value) {
    if (IsDateTimeAxis || ShowsDateTime()) throw AxisException(GrafMsgDateTimeAxisCannotBeLogarithmic);
    UpdateMinMax();
    if (WorkMinimum < 0 || WorkMaximum < 0) throw AxisException(GrafMsgLogarithmicAxisMinAndMaxValuesShouldBe0);
  }
  FLogarithmic = Value;
  Changed();
  ChooseMappingFunctions();
  RecalcRange();
}

void TChartAxis::SetLogarithmicBase(double Value) {
  if (!(Value > 0) || Value == 1) throw AxisException(GrafMsgAxisLogarithmicBaseShouldBe1And0);
  if (FParentChart) FParentChart->ChangeDouble(FLogarithmicBase, Value);
  else FLogarithmicBase = Value;
}

void TChartAxis::SetLabelsSeparation(int Value) {
  if (Value < 0) throw AxisException(GrafMsgLabelsSeparationMustBeGreaterThan0);
  StoreAndRepaint(FParentChart, FLabelsSeparation, Value);
}

void TChartAxis::SetHorizontal(bool Value) {
  StoreAndRepaint(FParentChart, FHorizontal, Value);
  ChooseMappingFunctions();
}

void TChartAxis::SetInverted(bool Value) { StoreAndRepaint(FParentChart, FInverted, Value); }

void TChartAxis::SetZPosition(double Value) {
  const double v = Value == 0 ? 0.01 : Value;
  if (FParentChart) FParentChart->ChangeDouble(FZPosition, v);
  else FZPosition = v;
}

void TChartAxis::SetLabelsAngle(int Value) { StoreAndRepaint(FParentChart, FLabelsAngle, ((Value % 360) + 360) % 360); }

void TChartAxis::SetMaximumOffset(int Value) { StoreAndRepaint(FParentChart, FMaximumOffset, Value); }
void TChartAxis::SetMinimumOffset(int Value) { StoreAndRepaint(FParentChart, FMinimumOffset, Value); }
void TChartAxis::SetTitleSize(int Value) { StoreAndRepaint(FParentChart, FTitleSize, Value); }
void TChartAxis::SetLabelsAlign(TAxisLabelAlign Value) { StoreAndRepaint(FParentChart, FLabelsAlign, Value); }
void TChartAxis::SetLabelsAlternate(bool Value) { StoreAndRepaint(FParentChart, FLabelsAlternate, Value); }
void TChartAxis::SetLabelsOnAxis(bool Value) { StoreAndRepaint(FParentChart, FLabelsOnAxis, Value); }
void TChartAxis::SetLabelsSize(int Value) { StoreAndRepaint(FParentChart, FLabelsSize, Value); }
void TChartAxis::SetLabelStyle(TAxisLabelStyle Value) { StoreAndRepaint(FParentChart, FLabelStyle, Value); }
void TChartAxis::SetLabelsExponent(bool Value) { StoreAndRepaint(FParentChart, FLabelsExponent, Value); }
void TChartAxis::SetLabelsMultiLine(bool Value) { StoreAndRepaint(FParentChart, FLabelsMultiLine, Value); }
void TChartAxis::SetAxisValuesFormat(const std::string& Value) { StoreAndRepaint(FParentChart, FAxisValuesFormat, Value); }
void TChartAxis::SetDateTimeFormat(const std::string& Value) { StoreAndRepaint(FParentChart, FDateTimeFormat, Value); }
void TChartAxis::SetExactDateTime(bool Value) { StoreAndRepaint(FParentChart, FExactDateTime, Value); }
void TChartAxis::SetRoundFirstLabel(bool Value) { StoreAndRepaint(FParentChart, FRoundFirstLabel, Value); }
void TChartAxis::SetMinorTickCount(int Value) { StoreAndRepaint(FParentChart, FMinorTickCount, Value); }
void TChartAxis::SetMinorTickLength(int Value) { StoreAndRepaint(FParentChart, FMinorTickLength, Value); }
void TChartAxis::SetTickInnerLength(int Value) { StoreAndRepaint(FParentChart, FTickInnerLength, Value); }
void TChartAxis::SetTickLength(int Value) { StoreAndRepaint(FParentChart, FTickLength, Value); }
void TChartAxis::SetTickOnLabelsOnly(bool Value) { StoreAndRepaint(FParentChart, FTickOnLabelsOnly, Value); }
void TChartAxis::SetOtherSide(bool Value) { StoreAndRepaint(FParentChart, FOtherSide, Value); }
void TChartAxis::SetVisible(bool Value) { StoreAndRepaint(FParentChart, FVisible, Value); }
void TChartAxis::SetPositionUnits(TGrafUnits Value) { StoreAndRepaint(FParentChart, FPositionUnits, Value); }

void TChartAxis::SetStartPosition(double Value) {
  if (FParentChart) FParentChart->ChangeDouble(FStartPosition, Value);
  else FStartPosition = Value;
}

void TChartAxis::SetEndPosition(double Value) {
  if (FParentChart) FParentChart->ChangeDouble(FEndPosition, Value);
  else FEndPosition = Value;
}

void TChartAxis::SetPositionPercent(double Value) {
  if (FParentChart) FParentChart->ChangeDouble(FPositionPercent, Value);
  else FPositionPercent = Value;
}

bool TChartAxis::Labels() const { return FLabelItems->Format()->Visible(); }
void TChartAxis::SetLabels(bool Value) { FLabelItems->Format()->SetVisible(Value); }
TGrafFont* TChartAxis::LabelsFont() const { return FLabelItems->Format()->Font(); }
void TChartAxis::SetLabelsFont(TGrafFont* Value) { FLabelItems->Format()->SetFont(Value); }

// ---- Mapping ------------------------------------------------------------------------------------

void TChartAxis::ChooseMappingFunctions() {
  if (RunsAlongDepth) {
    FPosX = FPosY = &TChartAxis::DepthPos;
  } else if (FLogarithmic) {
    FPosX = &TChartAxis::LogXPos;
    FPosY = &TChartAxis::LogYPos;
  } else if (FParentChart && FParentChart->AxesList() && FParentChart->AxesList()->FastCalc) {
    FPosX = &TChartAxis::FastLinearXPos;
    FPosY = &TChartAxis::FastLinearYPos;
  } else {
    FPosX = &TChartAxis::LinearXPos;
    FPosY = &TChartAxis::LinearYPos;
  }
  FLinearMap = FPosX == &TChartAxis::LinearXPos;
}

namespace {
inline int ClampPixel(double p) { return ClampAxisPixel(p); }
inline int ToIntPixel(double d) {
  if (!(d == d)) return 0;
  return static_cast<int>(std::nearbyint(std::clamp(d, -2147483647.0, 2147483647.0)));
}
}  // namespace

void TChartAxis::ValuesToPixels(const double* Values, int Count, int* Pixels) const {
  if (!FLinearMap) {
    for (int i = 0; i < Count; ++i) Pixels[i] = ValueToPixel(Values[i]);
    return;
  }
  if (RangeIsZero) {
    std::fill(Pixels, Pixels + Count, CenterPixel);
    return;
  }
  // ClampAxisPixel of StartPixel + d or EndPixel - d, spelt out for a loop.
  const bool fromEnd = FHorizontal ? FInverted : !FInverted;
  const double base = fromEnd ? EndPixel : StartPixel, sign = fromEnd ? -1.0 : 1.0;
  const double wmin = WorkMinimum, ppu = PixelsPerUnit, limit = AxisPixelLimit;
  constexpr double kRound = 6755399441055744.0;
  int i = 0;
#if defined(__SSE2__)
  // Two values at a time, in the same operations as below (a plot maps its
  // whole pattern, every series on both axes, on each paint).
  const __m128d vBase = _mm_set1_pd(base), vSign = _mm_set1_pd(sign), vMin = _mm_set1_pd(wmin),
                vPpu = _mm_set1_pd(ppu), vHi = _mm_set1_pd(limit), vLo = _mm_set1_pd(-limit),
                vRound = _mm_set1_pd(kRound);
  for (; i + 2 <= Count; i += 2) {
    __m128d p = _mm_add_pd(vBase, _mm_mul_pd(vSign, _mm_mul_pd(_mm_sub_pd(_mm_loadu_pd(Values + i), vMin), vPpu)));
    p = _mm_andnot_pd(_mm_cmpunord_pd(p, p), p);  // NaN: 0
    p = _mm_min_pd(_mm_max_pd(p, vLo), vHi);
    p = _mm_sub_pd(_mm_add_pd(p, vRound), vRound);
    _mm_storel_epi64(reinterpret_cast<__m128i*>(Pixels + i), _mm_cvttpd_epi32(p));
  }
#endif
  for (; i < Count; ++i) {
    // base - d equals base + (-d) exactly, so one expression serves both ends.
    double p = base + sign * ((Values[i] - wmin) * ppu);
    p = p == p ? p : 0.0;
    p = p < -limit ? -limit : (p > limit ? limit : p);
    Pixels[i] = static_cast<int>((p + kRound) - kRound);
  }
}

bool TChartAxis::PixelSpanOf(const double* Values, int Count, int& Lo, int& Hi) const {
  if (!FLinearMap || Count <= 0) return false;
  // The linear scale maps a larger value to a pixel on the same side every
  // time (rounding and the clamp keep the order), so the extremes of the
  // values give the extremes of the pixels; a NaN (pixel 0) would not.
  double lo = Values[0], hi = Values[0];
  int i = 0;
  bool nan = false;
#if defined(__SSE2__)
  if (Count >= 4) {
    __m128d mn0 = _mm_loadu_pd(Values), mn1 = _mm_loadu_pd(Values + 2), mx0 = mn0, mx1 = mn1;
    __m128d bad = _mm_or_pd(_mm_cmpunord_pd(mn0, mn0), _mm_cmpunord_pd(mn1, mn1));
    for (i = 4; i + 4 <= Count; i += 4) {
      const __m128d a = _mm_loadu_pd(Values + i), b = _mm_loadu_pd(Values + i + 2);
      mn0 = _mm_min_pd(mn0, a);
      mx0 = _mm_max_pd(mx0, a);
      mn1 = _mm_min_pd(mn1, b);
      mx1 = _mm_max_pd(mx1, b);
      bad = _mm_or_pd(bad, _mm_or_pd(_mm_cmpunord_pd(a, a), _mm_cmpunord_pd(b, b)));
    }
    nan = _mm_movemask_pd(bad) != 0;
    const __m128d mn = _mm_min_pd(mn0, mn1), mx = _mm_max_pd(mx0, mx1);
    double m[2], x[2];
    _mm_storeu_pd(m, mn);
    _mm_storeu_pd(x, mx);
    lo = std::min(m[0], m[1]);
    hi = std::max(x[0], x[1]);
  }
#endif
  for (; i < Count; ++i) {
    const double v = Values[i];
    nan |= v != v;
    lo = v < lo ? v : lo;
    hi = v > hi ? v : hi;
  }
  if (nan) return false;
  const double ends[2] = {lo, hi};
  int pixels[2];
  ValuesToPixels(ends, 2, pixels);
  Lo = std::min(pixels[0], pixels[1]);
  Hi = std::max(pixels[0], pixels[1]);
  return true;
}

int TChartAxis::LinearXPos(double Value) const {
  if (RangeIsZero) return CenterPixel;
  const double d = (Value - WorkMinimum) * PixelsPerUnit;
  return ClampPixel(FInverted ? EndPixel - d : StartPixel + d);
}

int TChartAxis::LinearYPos(double Value) const {
  if (RangeIsZero) return CenterPixel;
  const double d = (Value - WorkMinimum) * PixelsPerUnit;
  return ClampPixel(FInverted ? StartPixel + d : EndPixel - d);
}

int TChartAxis::FastLinearXPos(double Value) const {
  if (RangeIsZero) return CenterPixel;
  const int d = ToIntPixel((Value - WorkMinimum) * PixelsPerUnit);
  return FInverted ? EndPixel - d : StartPixel + d;
}

int TChartAxis::FastLinearYPos(double Value) const {
  if (RangeIsZero) return CenterPixel;
  const int d = ToIntPixel((Value - WorkMinimum) * PixelsPerUnit);
  return FInverted ? StartPixel + d : EndPixel - d;
}

int TChartAxis::LogXPos(double Value) const {
  if (LnRange == 0) return CenterPixel;
  if (Value <= 0) return FInverted ? EndPixel : StartPixel;
  if (FInverted) return ToIntPixel((LnMaximum - std::log(Value)) * PixelsPerLnUnit) + StartPixel;
  return ToIntPixel((std::log(Value) - LnMinimum) * PixelsPerLnUnit) + StartPixel;
}

int TChartAxis::LogYPos(double Value) const {
  if (LnRange == 0) return CenterPixel;
  if (Value <= 0) return FInverted ? StartPixel : EndPixel;
  if (FInverted) return EndPixel - ToIntPixel((LnMaximum - std::log(Value)) * PixelsPerLnUnit);
  return EndPixel - ToIntPixel((std::log(Value) - LnMinimum) * PixelsPerLnUnit);
}

int TChartAxis::DepthPos(double Value) const {
  if (RangeIsZero) return CenterPixel;
  if (FInverted) return ToIntPixel(PixelsPerUnit * (WorkMaximum - Value));
  return ToIntPixel((Value - WorkMinimum) * PixelsPerUnit);
}

double TChartAxis::StartValue() const {
  const bool minFirst = FHorizontal != FInverted;
  return minFirst ? WorkMinimum : WorkMaximum;
}

double TChartAxis::EndValue() const {
  const bool minFirst = FHorizontal != FInverted;
  return minFirst ? WorkMaximum : WorkMinimum;
}

double TChartAxis::PixelToValue(int Pixel) const {
  if (FLogarithmic) {
    if (Pixel == StartPixel) return StartValue();
    if (Pixel == EndPixel) return EndValue();
    if (LnRange == 0 || AxisLength == 0) return WorkMinimum;
    const double c = (FInverted ? EndPixel - Pixel : Pixel - StartPixel) * LnRange / AxisLength;
    return FHorizontal ? std::exp(LnMinimum + c) : std::exp(LnMaximum - c);
  }
  if (AxisLength < 1) return 0.0;
  const double a = static_cast<double>(FInverted ? EndPixel - Pixel : Pixel - StartPixel) * WorkRange / AxisLength;
  return FHorizontal ? WorkMinimum + a : WorkMaximum - a;
}

int TChartAxis::SizeToPixels(double Span) const {
  if (Span <= 0) return 0;
  if (FLogarithmic) return LnRange != 0 ? ToIntPixel(std::log(Span) * PixelsPerLnUnit) : 0;
  return WorkRange != 0 ? ToIntPixel(Span * PixelsPerUnit) : 0;
}

// ---- Range and positions -------------------------------------------------------------------------

void TChartAxis::ComputeAutoMinMax(double& AMin, double& AMax) {
  if (!FParentChart) return;
  if (FAutomatic || FAutomaticMaximum) AMax = FParentChart->AxisValueExtreme(this, false, FHorizontal);
  if (FAutomatic || FAutomaticMinimum) AMin = FParentChart->AxisValueExtreme(this, true, FHorizontal);
}

void TChartAxis::UpdateMinMax() {
  ComputeAutoMinMax(FMinimum, FMaximum);
  WorkMinimum = FMinimum;
  WorkMaximum = FMaximum;
  RecalcRange();
}

void TChartAxis::RecalcRange() {
  WorkRange = WorkMaximum - WorkMinimum;
  RangeIsZero = WorkRange == 0;
  PixelsPerUnit = RangeIsZero ? 0 : AxisLength / WorkRange;
  if (FLogarithmic) {
    LnMinimum = WorkMinimum > 0 ? std::log(WorkMinimum) : 0;
    LnMaximum = WorkMaximum > 0 ? std::log(WorkMaximum) : 0;
    LnRange = LnMaximum - LnMinimum;
    PixelsPerLnUnit = LnRange != 0 ? AxisLength / LnRange : 0;
  }
  DepthPixel = DepthPixelOf();
}

void TChartAxis::ComputeEndPixels() {
  int origin = 0, size = 0;
  if (FParentChart) {
    if (RunsAlongDepth) {
      origin = 0;
      size = FParentChart->DepthExtentX;
    } else if (FHorizontal) {
      origin = FParentChart->ChartArea.Left;
      size = FParentChart->ChartAreaWidth;
    } else {
      origin = FParentChart->ChartArea.Top;
      size = FParentChart->ChartAreaHeight;
    }
  }
  StartPixel = origin + RoundPixel(size * 0.01 * FStartPosition);
  EndPixel = origin + RoundPixel(size * 0.01 * FEndPosition);
  RecalcSizeAndCenter();
}

void TChartAxis::RecalcSizeAndCenter() {
  AxisLength = EndPixel - StartPixel;
  CenterPixel = (StartPixel + EndPixel) / 2;
  RecalcRange();
}

void TChartAxis::ReserveEndInsets(const TRect& Insets) {
  const int oldStart = StartPixel, oldEnd = EndPixel;
  if (FHorizontal) {
    StartPixel += Insets.Left;
    EndPixel -= Insets.Right;
  } else {
    StartPixel += Insets.Top;
    EndPixel -= Insets.Bottom;
  }
  AxisLength = EndPixel - StartPixel;
  const double atStart = PixelToValue(oldStart);
  const double atEnd = PixelToValue(oldEnd);
  ComputeEndPixels();
  WorkMaximum = atEnd;
  WorkMinimum = atStart;
  if (WorkMinimum > WorkMaximum) std::swap(WorkMinimum, WorkMaximum);
  RecalcRange();
}

int TChartAxis::ShiftByPosition(int Pos, const TRect& R) const {
  if (FPositionPercent == 0) return Pos;
  const int size = FHorizontal ? R.Height() : R.Width();
  int a = FPositionUnits == muPixels ? RoundPixel(FPositionPercent) : RoundPixel(FPositionPercent * 0.01 * size);
  if (FOtherSide) a = -a;
  return FHorizontal ? Pos - a : Pos + a;
}

int TChartAxis::EdgeOfRect(const TRect& R) const {
  if (FHorizontal) return FOtherSide ? R.Top : R.Bottom;
  return FOtherSide ? R.Right : R.Left;
}

void TChartAxis::ShiftRange(bool Check, double Delta) {
  if (Delta == 0) return;
  if (Check && FParentChart) {
    if (Delta > 0 && !(FParentChart->AxisValueExtreme(this, false, FHorizontal) > FMaximum)) return;
    if (Delta < 0 && !(FParentChart->AxisValueExtreme(this, true, FHorizontal) < FMinimum)) return;
  }
  FAutomatic = FAutomaticMinimum = FAutomaticMaximum = false;
  FMaximum += Delta;
  FMinimum += Delta;
  Changed();
}

int TChartAxis::DepthPixelOf() const {
  if (!FParentChart) return 0;
  const int size = RunsAlongDepth ? FParentChart->ChartAreaHeight : FParentChart->DepthExtentX;
  return RoundPixel(FZPosition * 0.01 * size);
}

unsigned TChartAxis::DepthAxisAlignment() const { return FOtherSide ? TA_LEFT : TA_RIGHT; }

int TChartAxis::DepthAxisLinePos() const {
  if (!FParentChart) return 0;
  return FOtherSide ? FParentChart->ChartArea.Bottom - DepthPixel : FParentChart->ChartArea.Top + DepthPixel;
}

bool TChartAxis::IsCustomAxis() const {
  return FParentChart && FParentChart->AxesList() && FParentChart->AxesList()->IndexOf(this) > 5;
}

bool TChartAxis::ShowsDateTime() {
  if (!FParentChart) return false;
  for (TChartSeries* s : *FParentChart->SeriesList()) {
    if (!s->Active()) continue;
    if (TChartValueList* list = s->ValuesForAxis(this)) return list->DateTime();
  }
  return false;
}

void TChartAxis::Assign(TPersistent* Source) {
  auto* a = dynamic_cast<TChartAxis*>(Source);
  if (!a) {
    TCollectionItem::Assign(Source);
    return;
  }
  if (a == this) return;
  FAxisPen->Assign(a->FAxisPen.get());
  FLabelItems->CopyItemsFrom(a->FLabelItems.get());
  FLabelsAlign = a->FLabelsAlign;
  FLabelsAlternate = a->FLabelsAlternate;
  FLabelsAngle = a->FLabelsAngle;
  FLabelsExponent = a->FLabelsExponent;
  FLabelsMultiLine = a->FLabelsMultiLine;
  FLabelsSeparation = a->FLabelsSeparation;
  FLabelsSize = a->FLabelsSize;
  FLabelStyle = a->FLabelStyle;
  FLabelsOnAxis = a->FLabelsOnAxis;
  FTicks->Assign(a->FTicks.get());
  FTicksInner->Assign(a->FTicksInner.get());
  FTitleSize = a->FTitleSize;
  FGrid->Assign(a->FGrid.get());
  FMinorTicks->Assign(a->FMinorTicks.get());
  FMinorGrid->Assign(a->FMinorGrid.get());
  FTickLength = a->FTickLength;
  FMinorTickLength = a->FMinorTickLength;
  FMinorTickCount = a->FMinorTickCount;
  FTickInnerLength = a->FTickInnerLength;
  FAxisValuesFormat = a->FAxisValuesFormat;
  FIncrement = a->FIncrement;
  FMaximum = a->FMaximum;
  FMaximumOffset = a->FMaximumOffset;
  FMinimum = a->FMinimum;
  FMinimumOffset = a->FMinimumOffset;
  FAutomatic = a->FAutomatic;
  FAutomaticMinimum = a->FAutomaticMinimum;
  FAutomaticMaximum = a->FAutomaticMaximum;
  FTitle->Assign(a->FTitle.get());
  FDateTimeFormat = a->FDateTimeFormat;
  FLogarithmic = a->FLogarithmic;
  FLogarithmicBase = a->FLogarithmicBase;
  FInverted = a->FInverted;
  FExactDateTime = a->FExactDateTime;
  FRoundFirstLabel = a->FRoundFirstLabel;
  FTickOnLabelsOnly = a->FTickOnLabelsOnly;
  RunsAlongDepth = a->RunsAlongDepth;
  FStartPosition = a->FStartPosition;
  FEndPosition = a->FEndPosition;
  FPositionPercent = a->FPositionPercent;
  FPositionUnits = a->FPositionUnits;
  FVisible = a->FVisible;
  FHorizontal = a->FHorizontal;
  FOtherSide = a->FOtherSide;
  ChooseMappingFunctions();
}

// ---- Depth axes ------------------------------------------------------------------------------------

ZV_CLASS_IMPL_NOPROPS(TChartDepthAxis, TChartAxis)

TChartDepthAxis::TChartDepthAxis(TCollection* Collection) : TChartAxis(Collection) {}

TAxisLabelStyle TChartDepthAxis::ResolveLabelStyle() {
  if (!ParentChart()) return talText;
  for (TChartSeries* s : *ParentChart()->SeriesList()) {
    if (!s->Active()) continue;
    if (s->OwnDepth || s->LargestZ() != s->SmallestZ()) return talValue;
  }
  return talText;
}

void TChartDepthAxis::SetInverted(bool Value) {
  TChartAxis::SetInverted(Value);
  TCustomAxisPanel* chart = ParentChart();
  if (!chart) return;
  TChartAxis* other = this == chart->DepthAxis() ? static_cast<TChartAxis*>(chart->DepthTopAxis())
                                                 : static_cast<TChartAxis*>(chart->DepthAxis());
  if (other && other != this) other->StoreInverted(Value);
}
