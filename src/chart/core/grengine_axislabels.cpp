// Where an axis' labels go and what they say: the label increment, the label
// style, the label texts, the widest label and the room beside the chart.
#include <cmath>

#include "chart/core/grafconst.h"
#include "chart/core/grengine.h"
#include "platform/rtl/datetime.h"
#include "platform/rtl/format.h"
#include "platform/rtl/mathutils.h"

namespace {
constexpr double kMinValueStep = 1e-12;

inline bool RunsAlongAxis(bool Horizontal, int Angle) {
  return Horizontal ? (Angle == 0 || Angle == 180) : (Angle == 90 || Angle == 270);
}
}  // namespace

int TChartAxis::TextLineCount(const std::string& Text) {
  if (Text.empty()) return 0;
  int n = 0;
  for (char c : Text)
    if (c == LineSeparator) ++n;
  if (Text.back() != LineSeparator) ++n;
  return n;
}

double TChartAxis::NextNiceStep(double X) {
  if (!std::isfinite(X) || X <= 0) return 1;
  if (X >= 10) return 10 * NextNiceStep(X / 10);
  if (X < 1) return NextNiceStep(X * 10) / 10;
  if (X < 2) return 2;
  if (X < 5) return 5;
  return 10;
}

int TChartAxis::FontHeight() {
  TCanvas3D* canvas = Canvas();
  return canvas ? canvas->TextHeight("W") : 0;
}

std::string TChartAxis::LabelTextFor(double Value, bool WithEvent) {
  const bool old = FDetachLabelEvent;
  FDetachLabelEvent = !WithEvent;
  std::string text;
  try {
    text = FormatLabelValue(Value);
  } catch (...) {
    FDetachLabelEvent = old;
    throw;
  }
  FDetachLabelEvent = old;
  return text;
}

std::string TChartAxis::FormatLabelValue(double Value) {
  std::string text;
  if (!IsDateTimeAxis) {
    text = FormatFloat(FAxisValuesFormat, Value);
  } else if (Value >= 0) {
    const std::string format = FDateTimeFormat.empty() ? DefaultDateTimeFormatFor(WorkRange) : FDateTimeFormat;
    text = FormatDateTime(format, Value);
  }
  if (!FDetachLabelEvent && FParentChart && FParentChart->OnGetAxisLabel)
    FParentChart->OnGetAxisLabel(this, nullptr, -1, text);
  if (FLabelsMultiLine)
    for (char& c : text)
      if (c == ' ') c = LineSeparator;
  return text;
}

int TChartAxis::LabelExtent(double Value) {
  if (!FParentChart) return 0;
  int lines = 0;
  const int width = FParentChart->WidestLineWidth(FormatLabelValue(Value), lines);
  const bool across = FHorizontal ? (FLabelsAngle == 90 || FLabelsAngle == 270)
                                  : (FLabelsAngle == 0 || FLabelsAngle == 180);
  return across ? FontHeight() * lines : width;
}

double TChartAxis::ComputeLabelStep() {
  if (TCanvas3D* canvas = Canvas()) canvas->ApplyFont(LabelsFont());
  int s = std::max(LabelExtent(WorkMinimum), LabelExtent(WorkMaximum));
  if (FIncrement == 0) {
    s = std::max(s, LabelExtent((WorkMinimum + WorkMaximum) * 0.5));
  } else {
    s = std::max(s, LabelExtent(WorkMinimum + FIncrement));
    s = std::max(s, LabelExtent(WorkMaximum - FIncrement));
  }
  int n = 1;
  if (s > 0) {
    const int gap = FLabelsSeparation > 0 ? static_cast<int>(Round(FLabelsSeparation * 0.01 * s)) : 0;
    n = static_cast<int>(Round(static_cast<double>(AxisLength) / (s + gap)));
  }
  double step = LabelStepForCount(n);
  if (FLabelsAlternate) step = FLogarithmic ? step / FLogarithmicBase : step * 0.5;
  return step;
}

double TChartAxis::LabelStepForCount(int Count) {
  if (Count < 1) return IsDateTimeAxis ? DateTimeStep[dtOneMicroSecond] : kMinValueStep;
  return IsDateTimeAxis ? DateTimeStepFor(Count) : ValueStepFor(Count);
}

double TChartAxis::DateTimeStepFor(int Count) {
  const double micro = DateTimeStep[dtOneMicroSecond];
  double step = FIncrement > micro ? FIncrement : micro;
  const double range = std::fabs(WorkRange);
  if (range / step > 1000000) step = range / 1000000;
  while (std::isfinite(step) && step > 0 && Round(range / step) > Count) {
    if (step >= DateTimeStep[dtOneYear]) step *= 2;
    else if (step >= DateTimeStep[dtOneSecond]) step = NextDateTimeStepValue(step);
    else step = NextNiceStep(step);
  }
  return std::max(step, micro);
}

bool TChartAxis::SomeSeriesHasFewPoints(int Count) {
  if (!FParentChart) return false;
  for (TChartSeries* s : *FParentChart->SeriesList())
    if (s->Active() && s->IsVertical() == FHorizontal && s->IsOnAxis(this) && s->PointCount() <= Count) return true;
  return false;
}

double TChartAxis::ValueStepFor(int Count) {
  double step;
  if (FIncrement > 0) {
    step = FIncrement;
  } else if (WorkRange == 0) {
    step = 1.0;
  } else {
    step = std::fabs(WorkRange) / (Count + 1);
    if (FLogarithmic && FLogarithmicBase > 0 && FLogarithmicBase != 1)
      step = std::pow(FLogarithmicBase, static_cast<double>(Round(LogN(FLogarithmicBase, step))));
    if (WorkRange >= 1 && SomeSeriesHasFewPoints(Count)) step = std::max(step, 1.0);
  }
  if (FLabelsSeparation > 0 && step > 0) {
    // A base below one would shrink the step: grow by nice steps then.
    auto grow = [this](double x) {
      return FLogarithmic && FLogarithmicBase > 1 ? x * FLogarithmicBase : NextNiceStep(x);
    };
    int64_t k = Count + 1;
    bool stuck = false;
    do {
      const double c = WorkRange / step;
      if (std::fabs(c) < 2147483647.0) k = Round(c);
      if (!(std::fabs(c) < 2147483647.0) || k > Count) {
        // Steps of a range near the smallest numbers may not grow at all.
        const double grown = grow(step);
        stuck = !(grown > step);
        step = stuck ? std::fabs(WorkRange) : grown;
      }
    } while (!(stuck || k <= Count || step > WorkRange || std::isinf(step)));
  }
  if (std::isinf(step)) return WorkRange;
  return std::max(step, kMinValueStep);
}

TAxisLabelStyle TChartAxis::EffectiveLabelStyle() {
  return FLabelStyle == talAuto ? ResolveLabelStyle() : FLabelStyle;
}

TAxisLabelStyle TChartAxis::ResolveLabelStyle() {
  if (!FParentChart) return talNone;
  bool any = false;
  for (TChartSeries* s : *FParentChart->SeriesList()) {
    if (!s->Active() || !s->IsOnAxis(this)) continue;
    any = true;
    if (!s->OwnDepth && s->IsVertical() == FHorizontal) {
      for (int i = 0; i < s->Labels()->Count(); ++i)
        if (!s->PointLabel(i).empty()) return talText;
    }
  }
  return any ? talValue : talNone;
}

int TChartAxis::WidestLabelWidth() {
  TCanvas3D* canvas = Canvas();
  if (!canvas || !FParentChart) return 0;
  if (FLabelItems->Count() > 0) {
    int widest = 0;
    for (int i = 0; i < FLabelItems->Count(); ++i) {
      TAxisItem* item = FLabelItems->ItemAt(i);
      canvas->ApplyFont(item->Font());
      const std::string text = item->Text().empty() ? FormatLabelValue(item->Value()) : item->Text();
      int lines = 0;
      widest = std::max(widest, FParentChart->WidestLineWidth(text, lines));
    }
    canvas->ApplyFont(LabelsFont());
    return widest;
  }
  switch (EffectiveLabelStyle()) {
    case talValue: {
      double first = WorkMinimum, last = WorkMaximum;
      if ((IsDateTimeAxis && FExactDateTime) || FRoundFirstLabel) {
        const double step = ComputeLabelStep();
        if (step > 0 && std::isfinite(WorkMinimum / step) && std::fabs(WorkMinimum / step) < 9e18 &&
            std::fabs(WorkMaximum / step) < 9e18) {
          first = static_cast<double>(Trunc(WorkMinimum / step)) * step;
          last = static_cast<double>(Trunc(WorkMaximum / step)) * step;
        }
      }
      int lines = 0;
      const int a = FParentChart->WidestLineWidth(LabelTextFor(first, false), lines);
      const int b = FParentChart->WidestLineWidth(LabelTextFor(last, false), lines);
      return canvas->TextWidth(" ") + std::max(a, b);
    }
    case talMark: return FParentChart->WidestSeriesMark();
    case talText: return FParentChart->WidestLabelWidth();
    default: return 0;
  }
}

int TChartAxis::LabelsAreaWidth() {
  int result = FLabelsSize;
  if (result == 0) {
    TCanvas3D* canvas = Canvas();
    if (canvas) canvas->ApplyFont(LabelsFont());
    result = RunsAlongAxis(FHorizontal, FLabelsAngle) ? FontHeight() : WidestLabelWidth();
  }
  return FLabelsAlternate ? 2 * result : result;
}

int TChartAxis::TicksAreaWidth() const {
  int result = 0;
  if (FAxisPen->Visible()) result += FAxisPen->Width() + 1;
  if (FTicks->Visible()) result += FTickLength;
  if (FMinorTicks->Visible()) result = std::max(result, FMinorTickLength);
  return result;
}

void TChartAxis::FitIntoRect(TRect& R, bool Inflate) {
  IsDateTimeAxis = ShowsDateTime();
  // Outward: up for a top axis, down for a bottom one, left / right for the sides.
  auto outward = [this](int pos, int by) {
    if (FHorizontal) return FOtherSide ? pos - by : pos + by;
    return FOtherSide ? pos + by : pos - by;
  };
  auto shrink = [this, &R](int by) {
    if (FHorizontal) {
      if (FOtherSide) R.Top += by;
      else R.Bottom -= by;
    } else {
      if (FOtherSide) R.Right -= by;
      else R.Left += by;
    }
    return EdgeOfRect(R);
  };
  if (!Inflate) {
    AxisLinePos = ShiftByPosition(EdgeOfRect(R), R);
    LabelsPos = outward(AxisLinePos, TicksAreaWidth());
    TitlePos = outward(LabelsPos, LabelsAreaWidth());
    return;
  }
  if (RunsAlongDepth) {
    TitlePos = FOtherSide ? R.Right : R.Left;
  } else if (FTitle->Visible() && !FTitle->Caption().empty()) {
    int size = FTitleSize;
    if (size == 0) {
      if (TCanvas3D* canvas = Canvas()) {
        canvas->ApplyFont(FTitle->Font());
        size = RunsAlongAxis(FHorizontal, FTitle->Angle()) ? canvas->TextHeight("W")
                                                              : canvas->TextWidth(FTitle->Caption());
      }
    }
    TitlePos = shrink(size);
  }
  if (Labels()) {
    int size = LabelsAreaWidth();
    if (FParentChart && FParentChart->AxesList()->AxisSizeCallback)
      size = FParentChart->AxesList()->AxisSizeCallback(this, size);
    LabelsPos = shrink(size);
  }
  const int rest = (FParentChart ? FParentChart->WallThickness(this) : 0) + TicksAreaWidth();
  if (rest > 0) shrink(rest);
  TitlePos = ShiftByPosition(TitlePos, R);
  LabelsPos = ShiftByPosition(LabelsPos, R);
}
