// Flat members of the polar family: the wind rose, whose angle labels are
// compass directions, and the analogue clock, which draws hour, minute and
// second hands for the current time and repaints itself every second.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "chart/extra/grafpolar.h"
#include "platform/rtl/datetime.h"

class TTimer;

// Keeps the chart flat in the gallery.
class TCustom2DPolarSeries : public TCustomPolarSeries {
  ZV_CLASS(TCustom2DPolarSeries)
public:
  explicit TCustom2DPolarSeries(TComponent* AOwner) : TCustomPolarSeries(AOwner) {}
  void ApplyGallery3D(bool Value) override;
  void SetupGalleryPreview(bool Enabled) override;
};

class TWindRoseSeries : public TCustom2DPolarSeries {
  ZV_CLASS(TWindRoseSeries)
public:
  explicit TWindRoseSeries(TComponent* AOwner = nullptr);
  std::string EditorFormClassName() const override { return "TWindRoseEditor"; }
  std::string CircleLabelText(int LabelIndex, double Angle) override;
  void SetupGalleryPreview(bool Enabled) override;

  bool MirrorLabels() const { return FMirrorLabels; }
  void SetMirrorLabels(bool Value) { ChangeBool(FMirrorLabels, Value); }

private:
  bool FMirrorLabels = false;
};

enum TClockSeriesStyle { cssDecimal, cssRoman };
const TEnumInfo& ClockSeriesStyleEnumInfo();

class TClockSeries;
using TClockSeriesGetTimeEvent = std::function<void(TClockSeries* Sender, TDateTime& Time)>;

class TClockSeries : public TCustom2DPolarSeries {
  ZV_CLASS(TClockSeries)
public:
  explicit TClockSeries(TComponent* AOwner = nullptr);
  ~TClockSeries() override;

  void Assign(TPersistent* Source) override;
  std::string EditorFormClassName() const override { return "TClockEditor"; }
  void SetParentChart(TCustomAxisPanel* Value) override;
  void BeginDrawValues() override;
  void DrawVisiblePoints() override;
  int LegendEntryCount() override { return 1; }
  TColor LegendSymbolColor(int) override { return clNone; }
  std::string ComposeLegendText(int Index, TLegendTextStyle Style) override;
  std::string CircleLabelText(int LabelIndex, double Angle) override;
  int DefaultSampleCount() override { return 1; }
  // The series' stored style flags share the name "Style" with the
  // clock's style: a stored identifier is the clock's, a number the flags.
  void DefineProperties(TFiler* Filer) override;

  TChartPen* PenHours() const { return FPenHours.get(); }
  void SetPenHours(TChartPen* Value) { FPenHours->Assign(Value); }
  TChartPen* PenMinutes() const { return FPenMinutes.get(); }
  void SetPenMinutes(TChartPen* Value) { FPenMinutes->Assign(Value); }
  TChartPen* PenSeconds() const { return FPenSeconds.get(); }
  void SetPenSeconds(TChartPen* Value) { FPenSeconds->Assign(Value); }
  TClockSeriesStyle Style() const { return FStyle; }
  void SetStyle(TClockSeriesStyle Value);
  TClockSeriesGetTimeEvent OnGetTime;

  // The time shown: now, as OnGetTime may change it.
  TDateTime ClockTime();
  // The end of a hand: the point on the circle at Factor half radii, at
  // Angle degrees (the rotation added).
  TPoint HandPoint(double Angle, double Factor) const;
  // The timer that repaints the clock once a second.
  TTimer* Timer() const { return FTimer.get(); }

private:
  std::unique_ptr<TChartPen> FPenHours;
  std::unique_ptr<TChartPen> FPenMinutes;
  std::unique_ptr<TChartPen> FPenSeconds;
  TClockSeriesStyle FStyle = cssRoman;
  bool FOldAxesVisible = true;
  std::unique_ptr<TTimer> FTimer;
};

// The dial's Roman numerals I .. XII; emptied by UnregisterExtraSeriesTypes.
std::vector<std::string>& ClockRomanNumerals();
