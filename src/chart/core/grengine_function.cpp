// The function base: a series computed from its sources, whole, by periods
// of points or of X range, or over a moving window.
#include <cmath>

#include "chart/core/grafconst.h"
#include "chart/core/grengine.h"
#include "platform/rtl/mathutils.h"

ZV_CLASS_IMPL(TGrafFunction, TComponent)

void TGrafFunction::DeclareProperties(TClassInfo& c) {
  using F = TGrafFunction;
  c.Float<F>("Period", ftDouble, &F::Period, &F::SetPeriod);
  c.Enum<F>("PeriodAlign", FunctionPeriodAlignEnumInfo(), &F::PeriodAlign, &F::SetPeriodAlign, paCenter);
  c.Enum<F>("PeriodStyle", FunctionPeriodStyleEnumInfo(), &F::PeriodStyle, &F::SetPeriodStyle, psNumPoints);
}

TGrafFunction::TGrafFunction(TComponent* AOwner) : TComponent(AOwner) { EngineUnitStartup(); }

TGrafFunction::~TGrafFunction() {
  if (FParent) {
    TChartSeries* parent = FParent;
    FParent = nullptr;
    parent->ForgetFunction(this);
  }
}

void TGrafFunction::SetPeriod(double Value) {
  if (std::isnan(Value) || Value < 0) throw ChartException(GrafMsgFunctionPeriodShouldBe0);
  if (FPeriod == Value) return;
  FPeriod = Value;
  Recompute();
}

void TGrafFunction::SetPeriodStyle(TFunctionPeriodStyle Value) {
  if (FPeriodStyle == Value) return;
  FPeriodStyle = Value;
  Recompute();
}

void TGrafFunction::SetPeriodAlign(TFunctionPeriodAlign Value) {
  if (FPeriodAlign == Value) return;
  FPeriodAlign = Value;
  Recompute();
}

void TGrafFunction::Recompute() {
  if (!FUpdating && FParent) FParent->RefreshFromSource();
}

void TGrafFunction::ResumeRecalc() {
  if (!FUpdating) return;
  FUpdating = false;
  Recompute();
}

void TGrafFunction::AttachToSeries(TChartSeries* Series) {
  if (FParent == Series) return;
  if (FParent) {
    TChartSeries* old = FParent;
    FParent = nullptr;
    old->ForgetFunction(this);
  }
  if (Series) Series->AssignFunction(this);
}

TChartValueList* TGrafFunction::SourceValueList(TChartSeries* Source) {
  if (FParent && !FParent->MainList()->ValueSource().empty())
    return Source->ValueListByName(FParent->MainList()->ValueSource());
  return Source->MainList();
}

void TGrafFunction::AddResultPoint(bool Vertical, double Value, double Position) {
  if (!FParent) return;
  if (Vertical) FParent->AddXYPoint(Position, Value, "", clDefault);
  else FParent->AddXYPoint(Value, Position, "", clDefault);
}

void TGrafFunction::Assign(TPersistent* Source) {
  if (auto* other = dynamic_cast<TGrafFunction*>(Source)) {
    FPeriod = other->FPeriod;
    FPeriodStyle = other->FPeriodStyle;
    FPeriodAlign = other->FPeriodAlign;
  }
}

TComponent* TGrafFunction::GetParentComponent() const { return FParent; }

void TGrafFunction::SetParentComponent(TComponent* Value) {
  if (auto* series = dynamic_cast<TChartSeries*>(Value)) AttachToSeries(series);
}

void TGrafFunction::SetupGalleryPreview(TCustomAxisPanel* Chart) {
  if (!Chart) return;
  for (TChartSeries* s : *Chart->SeriesList()) s->SetupGalleryPreview(true);
}

void TGrafFunction::ComputePeriodPoint(TChartSeries* Source, int First, int Last, double Position) {
  const double value = ComputeValue(Source, First, Last);
  AddResultPoint(Source->IsVertical(), value, Position);
}

void TGrafFunction::ComputeFrom(TChartSeries* Source) {
  if (FUpdating || !Source || !FParent) return;
  if (FParent->DataSources()->Count() > 1) {
    ComputeMany(Source);
  } else if (Source->PointCount() > 0) {
    RunCalculation(Source, Source->OtherList());
  }
}

void TGrafFunction::ComputeMany(TChartSeries* Source) {
  TCustomSeriesList sources;
  TChartSeries* reference = Source;
  for (int i = 0; i < FParent->DataSources()->Count(); ++i) {
    auto* s = dynamic_cast<TChartSeries*>(FParent->DataSources()->Items(i));
    if (!s) continue;
    sources.Add(s);
    if (s->PointCount() > reference->PointCount()) reference = s;
  }
  for (int i = 0; i < reference->PointCount(); ++i) {
    double x = reference->OtherList()->GetValue(i);
    double y = ComputeValueMany(&sources, i);
    if (!reference->IsVertical()) std::swap(x, y);
    FParent->AddXYPoint(x, y, reference->PointLabel(i), clDefault);
  }
}

void TGrafFunction::RunCalculation(TChartSeries* Source, TChartValueList* Other) {
  if (FPeriod != 0) ComputeByPeriods(Source, Other);
  else ComputeWhole(Source, Other);
}

void TGrafFunction::ComputeWhole(TChartSeries* Source, TChartValueList* Other) {
  const double v = ComputeValue(Source, -1, -1);
  const double lo = Other->MinValue(), hi = Other->MaxValue();
  if (!FParent->SinglePointResults) {
    AddResultPoint(Source->IsVertical(), v, lo);
    AddResultPoint(Source->IsVertical(), v, hi);
  } else {
    AddResultPoint(FParent->IsVertical(), v, lo + (hi - lo) / 2);
  }
}

void TGrafFunction::ComputeByPeriods(TChartSeries* Source, TChartValueList* Other) {
  const int n = Other->Count();
  if (n == 0) return;
  const bool vertical = Source->IsVertical();
  // A period that rounds below one point still takes one point; one longer
  // than the source (however long) leaves a short period, which adds nothing.
  const int points = static_cast<int>(std::max<int64_t>(1, Round(std::min(FPeriod, n + 1.0))));
  const int stepIndex = NearestDateTimeStepIndex(FPeriod);
  TChartAxis* axis = FParent->GetHorizAxis();
  int e = 0;
  double r = Other->GetValue(0);
  while (e <= n - 1) {
    int last;
    double startValue, endValue;
    double rangeEnd = 0;
    if (FPeriodStyle == psNumPoints) {
      last = e + points - 1;
      startValue = Other->GetValue(e);
      endValue = last < n ? Other->GetValue(last) : 0;
    } else {
      rangeEnd = r;
      if (axis) axis->StepByIncrement(true, rangeEnd, stepIndex, FPeriod);
      else rangeEnd += FPeriod;
      // A period below the resolution of X still moves on.
      if (!(rangeEnd > r)) rangeEnd = std::nextafter(r, INFINITY);
      startValue = r;
      endValue = rangeEnd - FPeriod / 1000;
      last = e;
      while (last + 1 < n && Other->GetValue(last + 1) < rangeEnd) ++last;
      r = rangeEnd;
    }
    if (last >= n) break;
    double position;
    switch (FPeriodAlign) {
      case paFirst: position = startValue; break;
      case paLast: position = endValue; break;
      default: position = (startValue + endValue) / 2; break;
    }
    if (FPeriodStyle == psNumPoints || Other->GetValue(e) < rangeEnd) {
      ComputePeriodPoint(Source, e, last, position);
      e = last + 1;
    } else {
      AddResultPoint(vertical, 0, position);
    }
  }
}

ZV_CLASS_IMPL_NOPROPS(TGrafMovingFunction, TGrafFunction)

TGrafMovingFunction::TGrafMovingFunction(TComponent* AOwner) : TGrafFunction(AOwner) {
  StorePeriod(1);
  SingleSource = true;
}

void TGrafMovingFunction::RunCalculation(TChartSeries* Source, TChartValueList* Other) {
  const int n = Other->Count();
  const int p = static_cast<int>(std::max<int64_t>(1, Round(std::min(Period(), n + 1.0))));
  for (int i = p - 1; i < n; ++i) {
    const double v = ComputeValue(Source, i - p + 1, i);
    AddResultPoint(Source->IsVertical(), v, Other->GetValue(i));
  }
}
