// Wind rose and clock series.
#include "chart/extra/grafrose.h"

#include <cmath>

#include "chart/core/chart.h"
#include "platform/ui/streaming.h"
#include "platform/rtl/formatsettings.h"
#include "platform/rtl/strutils.h"
#include "platform/ui/extctrls.h"

namespace {

int Nearest(double v) { return static_cast<int>(std::nearbyint(v)); }

constexpr double kDegree = M_PI / 180.0;

}  // namespace

std::vector<std::string>& ClockRomanNumerals() {
  static std::vector<std::string> numerals;
  return numerals;
}

const TEnumInfo& ClockSeriesStyleEnumInfo() {
  static const TEnumInfo info{"TClockSeriesStyle", {"cssDecimal", "cssRoman"}, 0};
  return info;
}

// ============================================================================
// TCustom2DPolarSeries

ZV_CLASS_IMPL_NOPROPS(TCustom2DPolarSeries, TCustomPolarSeries)

void TCustom2DPolarSeries::ApplyGallery3D(bool Value) {
  TCustomPolarSeries::ApplyGallery3D(Value);
  if (FParentChart) FParentChart->SetView3D(false);
}

void TCustom2DPolarSeries::SetupGalleryPreview(bool Enabled) {
  TCustomPolarSeries::SetupGalleryPreview(Enabled);
  FCircleLabelsFont->SetSize(6);
  FPointer->SetHorizSize(2);
  FPointer->SetVertSize(2);
}

// ============================================================================
// TWindRoseSeries

ZV_CLASS_IMPL(TWindRoseSeries, TCustom2DPolarSeries)

void TWindRoseSeries::DeclareProperties(TClassInfo& c) {
  using S = TWindRoseSeries;
  c.Float<S>("AngleIncrement", ftDouble, &S::AngleIncrement, &S::SetAngleIncrement, 0.0L);
  c.Object<S, TChartValueList>("AngleValues", &S::AngleValues, &S::SetAngleValues);
  c.Boolean<S>("CircleLabelsInside", &S::CircleLabelsInside, &S::SetCircleLabelsInside, false);
  c.Boolean<S>("MirrorLabels", &S::MirrorLabels, &S::SetMirrorLabels, false);
  c.Integer<S>("RotationAngle", &S::RotationAngle, &S::SetRotationAngle, 90);
}

TWindRoseSeries::TWindRoseSeries(TComponent* AOwner) : TCustom2DPolarSeries(AOwner) {
  FCircleLabels = true;
  SetRotationAngle(90);
}

std::string TWindRoseSeries::CircleLabelText(int, double Angle) {
  static const char* const names[24] = {"N",   "NNNW", "NNW", "NW",   "NWW", "NWWW", "W",   "SWWW",
                                        "SWW", "SW",   "SSW", "SSSW", "S",   "SSSE", "SSE", "SE",
                                        "SEE", "SEEE", "E",   "NEEE", "NEE", "NE",   "NNE", "NNNE"};
  const double a = FMirrorLabels ? 360 - Angle : Angle;
  if (!std::isfinite(a)) return "";
  const int degrees = Nearest(a);
  if (degrees == 360) return names[0];
  if (degrees < 0 || degrees > 360 || degrees % 15 != 0) return "";
  return names[degrees / 15];
}

void TWindRoseSeries::SetupGalleryPreview(bool Enabled) {
  TCustom2DPolarSeries::SetupGalleryPreview(Enabled);
  SetAngleIncrement(45);
}

// ============================================================================
// TClockSeries

ZV_CLASS_IMPL(TClockSeries, TCustom2DPolarSeries)

void TClockSeries::DeclareProperties(TClassInfo& c) {
  using S = TClockSeries;
  c.Boolean<S>("CircleLabelsInside", &S::CircleLabelsInside, &S::SetCircleLabelsInside, false);
  c.Object<S, TChartPen>("PenHours", &S::PenHours, &S::SetPenHours);
  c.Object<S, TChartPen>("PenMinutes", &S::PenMinutes, &S::SetPenMinutes);
  c.Object<S, TChartPen>("PenSeconds", &S::PenSeconds, &S::SetPenSeconds);
  c.Integer<S>("RotationAngle", &S::RotationAngle, &S::SetRotationAngle, 90);
  c.Enum<S>("Style", ClockSeriesStyleEnumInfo(), &S::Style, &S::SetStyle, cssRoman);
  c.Method<S, TClockSeriesGetTimeEvent>("OnGetTime", [](S* s) { return s->OnGetTime; },
                                        [](S* s, const TClockSeriesGetTimeEvent& e) { s->OnGetTime = e; });
}

TClockSeries::TClockSeries(TComponent* AOwner) : TCustom2DPolarSeries(AOwner) {
  FPointer->SetVisible(false);
  FPointer->VisibleDefault = false;
  Brush()->SetStyle(bsSolid);
  FCircleLabels = true;
  SetRotationAngle(90);
  FCircled = true;
  AddSingleValue(0, "", clDefault);
  FPenHours = NewPen();
  FPenMinutes = NewPen();
  FPenSeconds = NewPen();
  FTimer = std::make_unique<TTimer>(nullptr);
  FTimer->SetInterval(1000);
  FTimer->SetOnTimer([this](TObject*) {
    FTimer->SetEnabled(false);
    RequestRedraw();
    FTimer->SetEnabled(true);
  });
}

TClockSeries::~TClockSeries() {
  FTimer.reset();
  if (FParentChart) {
    FParentChart->SetAxisVisible(FOldAxesVisible);
    SwitchChart3D(true);
    TChartSeries::SetParentChart(nullptr);
  }
}

void TClockSeries::Assign(TPersistent* Source) {
  if (auto* s = dynamic_cast<TClockSeries*>(Source)) {
    FPenHours->Assign(s->FPenHours.get());
    FPenMinutes->Assign(s->FPenMinutes.get());
    FPenSeconds->Assign(s->FPenSeconds.get());
    FStyle = s->FStyle;
  }
  TCustom2DPolarSeries::Assign(Source);
}

void TClockSeries::SetStyle(TClockSeriesStyle Value) {
  if (FStyle == Value) return;
  FStyle = Value;
  RequestRedraw();
}

void TClockSeries::SetParentChart(TCustomAxisPanel* Value) {
  if (Value == FParentChart) {
    TCustom2DPolarSeries::SetParentChart(Value);
    return;
  }
  if (FParentChart && !FParentChart->ComponentState().Contains(csDestroying))
    FParentChart->SetAxisVisible(FOldAxesVisible);
  TCustom2DPolarSeries::SetParentChart(Value);
  if (!FParentChart) return;
  SetAngleIncrement(30);
  FOldAxesVisible = FParentChart->AxisVisible();
  FParentChart->SetAxisVisible(false);
}

TDateTime TClockSeries::ClockTime() {
  TDateTime t = Now();
  if (OnGetTime) OnGetTime(this, t);
  return t;
}

TPoint TClockSeries::HandPoint(double Angle, double Factor) const {
  return PointOnCircle(Angle * kDegree, Factor * RadiusX / 2, Factor * RadiusY / 2);
}

void TClockSeries::BeginDrawValues() {
  if (!FParentChart || FTransparency <= 0) {
    TCustom2DPolarSeries::BeginDrawValues();
    return;
  }
  TCanvas3D* canvas = FParentChart->PanelCanvas();
  auto blend = canvas->BeginBlending(FParentChart->ChartArea, FTransparency);
  try {
    TCustom2DPolarSeries::BeginDrawValues();
  } catch (...) {
    canvas->EndBlending(std::move(blend));
    throw;
  }
  canvas->EndBlending(std::move(blend));
}

void TClockSeries::DrawVisiblePoints() {
  if (!FParentChart) return;
  TCanvas3D* canvas = FParentChart->PanelCanvas();
  int hours, minutes, seconds, msec;
  DecodeTime(ClockTime(), hours, minutes, seconds, msec);
  canvas->ApplyBrush(Brush(), GetSeriesColor(), Brush()->Color());
  const TPoint centre = Point(RingCenterX, RingCenterY);
  if (FPenHours->Visible()) {
    canvas->ApplyPen(FPenHours.get());
    const double a = 360 - (hours * 60 + minutes) * 360.0 / 720;
    canvas->DefaultArrow(true, centre, HandPoint(a, 1.3), 20, 14, EndZ);
  }
  if (FPenMinutes->Visible()) {
    canvas->ApplyPen(FPenMinutes.get());
    const double a = 360 - minutes * 360.0 / 60;
    canvas->DefaultArrow(true, centre, HandPoint(a, 1.7), 16, 10, EndZ);
  }
  const double a = 360 - (seconds + msec / 1000.0) * 360.0 / 60;
  const TPoint tip = HandPoint(a, 1.8);
  if (FPenSeconds->Visible()) {
    canvas->ApplyPen(FPenSeconds.get());
    canvas->LinePointsAtDepth(centre, tip, EndZ);
  }
  if (FPointer->Visible()) {
    FPointer->SetupCanvas(canvas, FPointer->BrushColor());
    FPointer->DrawStyled(tip.X, tip.Y, FPointer->Style(), FPointer->BrushColor());
  }
}

std::string TClockSeries::ComposeLegendText(int, TLegendTextStyle) {
  return FormatDateTime(FormatSettings.LongTimeFormat, ClockTime());
}

std::string TClockSeries::CircleLabelText(int, double Angle) {
  const double h = (360 - Angle) / 30;
  if (!std::isfinite(h)) return "";
  int n = Nearest(h);
  if (FStyle == cssRoman) {
    std::vector<std::string>& roman = ClockRomanNumerals();
    if (roman.empty()) roman = {"I", "II", "III", "IV", "V", "VI", "VII", "VIII", "IX", "X", "XI", "XII"};
    if (n == 0) n = 12;
    if (n < 1 || n > 12) return "";
    return roman[static_cast<size_t>(n - 1)];
  }
  return IntToStr(n);
}

void TClockSeries::DefineProperties(TFiler* Filer) {
  Filer->DefineProperty(
      "Style",
      [this](TReader* r) {
        if (r->NextValue() != vaIdent) {
          TCustomChartSeries::SetStyle(TChartSeriesStyle::FromBits(static_cast<uint64_t>(r->ReadInteger()) & 0x3F));
          return;
        }
        int64_t v;
        if (!ClockSeriesStyleEnumInfo().ValueOf(r->ReadIdent(), v) || v < 0) throw EReadError("Invalid property value");
        SetStyle(static_cast<TClockSeriesStyle>(v));
      },
      nullptr, false);
  TCustom2DPolarSeries::DefineProperties(Filer);
}
