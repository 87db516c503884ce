// The elementary chart functions.
#include "chart/series/graffunci.h"

#include <algorithm>

#include "chart/core/chart.h"
#include "chart/core/grafconst.h"

namespace {

// The source's value list the function reads; nil when the parent names a
// list the source does not have.
TChartValueList* ValuesOf(TGrafFunction* F, TChartSeries* S) { return S ? F->SourceValueList(S) : nullptr; }

bool HasPoint(TChartValueList* V, int Index) { return V && Index >= 0 && V->Count() > Index; }

TChartSeries* SourceAt(TCustomSeriesList* Sources, int I) { return Sources->ItemAt(I); }

// The range a ComputeValue call names, clipped to the list: -1 is every point.
bool RangeOf(TChartValueList* V, int& First, int& Last) {
  if (!V) return false;
  if (First == -1) {
    First = 0;
    Last = V->Count() - 1;
  }
  First = std::max(First, 0);
  Last = std::min(Last, V->Count() - 1);
  return Last >= First;
}

}  // namespace

// ============================================================================

ZV_CLASS_IMPL_NOPROPS(TAddGrafFunction, TGrafFunction)

double TAddGrafFunction::ComputeValue(TChartSeries* Source, int First, int Last) {
  TChartValueList* v = ValuesOf(this, Source);
  if (!v) return 0;
  if (First == -1) return v->Total();
  if (!RangeOf(v, First, Last)) return 0;
  double sum = 0;
  for (int i = First; i <= Last; ++i) sum += v->GetValue(i);
  return sum;
}

double TAddGrafFunction::ComputeValueMany(TCustomSeriesList* Sources, int Index) {
  double sum = 0;
  for (int s = 0; s < Sources->Count(); ++s) {
    TChartValueList* v = ValuesOf(this, SourceAt(Sources, s));
    if (HasPoint(v, Index)) sum += v->GetValue(Index);
  }
  return sum;
}

ZV_CLASS_IMPL_NOPROPS(TManySeriesGrafFunction, TGrafFunction)

double TManySeriesGrafFunction::ComputeValueMany(TCustomSeriesList* Sources, int Index) {
  bool started = false;
  double result = 0;
  for (int s = 0; s < Sources->Count(); ++s) {
    TChartValueList* v = ValuesOf(this, SourceAt(Sources, s));
    if (!HasPoint(v, Index)) continue;
    if (!started) {
      result = v->GetValue(Index);
      started = true;
    } else {
      result = CombineValues(result, v->GetValue(Index));
    }
  }
  return result;
}

ZV_CLASS_IMPL_NOPROPS(TSubtractGrafFunction, TManySeriesGrafFunction)
ZV_CLASS_IMPL_NOPROPS(TMultiplyGrafFunction, TManySeriesGrafFunction)
ZV_CLASS_IMPL_NOPROPS(TDivideGrafFunction, TManySeriesGrafFunction)

// ---- Extremes -------------------------------------------------------------

namespace {

double ExtremeOfRange(TGrafFunction* F, TChartSeries* Source, int First, int Last, bool Largest) {
  TChartValueList* v = ValuesOf(F, Source);
  if (!v || v->Count() == 0) return 0;
  if (First == -1) return Largest ? v->MaxValue() : v->MinValue();
  if (!RangeOf(v, First, Last)) return 0;
  double r = v->GetValue(First);
  for (int i = First + 1; i <= Last; ++i) r = Largest ? std::max(r, v->GetValue(i)) : std::min(r, v->GetValue(i));
  return r;
}

// Starts from the first source that has a point (none: 0).
double ExtremeOfSources(TGrafFunction* F, TCustomSeriesList* Sources, int Index, bool Largest) {
  bool started = false;
  double r = 0;
  for (int s = 0; s < Sources->Count(); ++s) {
    TChartValueList* v = ValuesOf(F, SourceAt(Sources, s));
    if (!HasPoint(v, Index)) continue;
    const double x = v->GetValue(Index);
    if (!started || (Largest ? x > r : x < r)) r = x;
    started = true;
  }
  return r;
}

}  // namespace

ZV_CLASS_IMPL_NOPROPS(THighGrafFunction, TGrafFunction)

double THighGrafFunction::ComputeValue(TChartSeries* Source, int First, int Last) {
  return ExtremeOfRange(this, Source, First, Last, true);
}
double THighGrafFunction::ComputeValueMany(TCustomSeriesList* Sources, int Index) {
  return ExtremeOfSources(this, Sources, Index, true);
}

ZV_CLASS_IMPL_NOPROPS(TLowGrafFunction, TGrafFunction)

double TLowGrafFunction::ComputeValue(TChartSeries* Source, int First, int Last) {
  return ExtremeOfRange(this, Source, First, Last, false);
}
double TLowGrafFunction::ComputeValueMany(TCustomSeriesList* Sources, int Index) {
  return ExtremeOfSources(this, Sources, Index, false);
}

// ---- Average --------------------------------------------------------------

ZV_CLASS_IMPL(TAverageGrafFunction, TGrafFunction)

void TAverageGrafFunction::DeclareProperties(TClassInfo& c) {
  using F = TAverageGrafFunction;
  c.Boolean<F>("IncludeNulls", &F::IncludeNulls, &F::SetIncludeNulls, true);
}

void TAverageGrafFunction::SetIncludeNulls(bool Value) {
  if (FIncludeNulls == Value) return;
  FIncludeNulls = Value;
  Recompute();
}

double TAverageGrafFunction::ComputeValue(TChartSeries* Source, int First, int Last) {
  TChartValueList* v = ValuesOf(this, Source);
  if (!v || v->Count() == 0) return 0;
  if (First == -1 && FIncludeNulls) return v->Total() / v->Count();
  if (!RangeOf(v, First, Last)) return 0;
  double sum = 0;
  int counted = 0;
  for (int i = First; i <= Last; ++i) {
    if (!FIncludeNulls && Source->PointIsNull(i)) continue;
    sum += v->GetValue(i);
    ++counted;
  }
  return counted ? sum / counted : 0;
}

double TAverageGrafFunction::ComputeValueMany(TCustomSeriesList* Sources, int Index) {
  double sum = 0;
  int counted = 0;
  for (int s = 0; s < Sources->Count(); ++s) {
    TChartSeries* src = SourceAt(Sources, s);
    TChartValueList* v = ValuesOf(this, src);
    if (!HasPoint(v, Index)) continue;
    if (!FIncludeNulls && src->PointIsNull(Index)) continue;
    sum += v->GetValue(Index);
    ++counted;
  }
  return counted ? sum / counted : 0;
}

// ---- y = f(x) -------------------------------------------------------------

ZV_CLASS_IMPL(TCustomGrafFunction, TGrafFunction)

void TCustomGrafFunction::DeclareProperties(TClassInfo& c) {
  using F = TCustomGrafFunction;
  c.Integer<F>("NumPoints", &F::NumPoints, &F::SetNumPoints);
  c.Float<F>("StartX", ftDouble, &F::StartX, &F::SetStartX, 0.0L);
  c.Method<F, TCalculateEvent>(
      "OnCalculate", [](F* f) { return f->OnCalculate; }, [](F* f, const TCalculateEvent& e) { f->OnCalculate = e; });
}

TCustomGrafFunction::TCustomGrafFunction(TComponent* AOwner) : TGrafFunction(AOwner) {
  StorePeriod(1);
  NoSourceRequired = true;
}

void TCustomGrafFunction::ComputeFrom(TChartSeries*) {
  TChartSeries* parent = ParentSeries();
  if (!OnCalculate || !parent) return;
  parent->RemoveAllPoints();
  double x = FStartX;
  for (int i = 0; i < FNumPoints; ++i) {
    double y = 0;
    OnCalculate(this, x, y);
    if (parent->IsVertical()) parent->AddXYPoint(x, y, "", clDefault);
    else parent->AddXYPoint(y, x, "", clDefault);
    x += Period();
  }
}

// ---- Sorted functions -----------------------------------------------------

ZV_CLASS_IMPL(TCustomSortedFunction, TGrafFunction)

void TCustomSortedFunction::DeclareProperties(TClassInfo&) {}

void TCustomSortedFunction::SetIncludeNulls(bool Value) {
  if (FIncludeNulls == Value) return;
  FIncludeNulls = Value;
  Recompute();
}

double TCustomSortedFunction::ResultOfSorted() {
  if (Sorted.empty()) return 0;
  std::sort(Sorted.begin(), Sorted.end());
  const double r = SortedResult();
  Sorted.clear();
  Sorted.shrink_to_fit();
  return r;
}

double TCustomSortedFunction::ComputeValue(TChartSeries* Source, int First, int Last) {
  if (!Source) return 0;
  TChartValueList* v = Source->MainList();
  if (First == -1) First = 0;
  if (Last == -1) Last = Source->PointCount() - 1;
  Last = std::min(Last, v->Count() - 1);
  if (Last < First) return 0;
  Sorted.clear();
  Sorted.reserve(static_cast<size_t>(Last - First + 1));
  for (int p = First; p <= Last; ++p)
    if (FIncludeNulls || !Source->PointIsNull(p)) Sorted.push_back(v->GetValue(p));
  return ResultOfSorted();
}

double TCustomSortedFunction::ComputeValueMany(TCustomSeriesList* Sources, int Index) {
  Sorted.clear();
  for (int s = 0; s < Sources->Count(); ++s) {
    TChartSeries* src = SourceAt(Sources, s);
    if (!src || Index < 0 || Index >= src->MainList()->Count()) continue;
    if (!FIncludeNulls && src->PointIsNull(Index)) continue;
    Sorted.push_back(src->MainList()->GetValue(Index));
  }
  return ResultOfSorted();
}

ZV_CLASS_IMPL(TMedianGrafFunction, TCustomSortedFunction)

void TMedianGrafFunction::DeclareProperties(TClassInfo& c) {
  using F = TMedianGrafFunction;
  c.Boolean<F>("IncludeNulls", &F::IncludeNulls, &F::SetIncludeNulls, true);
}

double TMedianGrafFunction::SortedResult() {
  const size_t n = Sorted.size();
  if (n % 2 == 1) return Sorted[n / 2];
  return (Sorted[n / 2 - 1] + Sorted[n / 2]) / 2;
}

ZV_CLASS_IMPL(TModeGrafFunction, TCustomSortedFunction)

void TModeGrafFunction::DeclareProperties(TClassInfo& c) {
  using F = TModeGrafFunction;
  c.Boolean<F>("IncludeNulls", &F::IncludeNulls, &F::SetIncludeNulls, true);
}

double TModeGrafFunction::SortedResult() {
  double result = Sorted[0];
  size_t longest = 0;
  size_t i = 0;
  while (i < Sorted.size()) {
    size_t j = i + 1;
    while (j < Sorted.size() && Sorted[j] == Sorted[i]) ++j;
    if (j - i > longest) {
      longest = j - i;
      result = Sorted[i];
    }
    i = j;
  }
  return result;
}

// ---- Cumulative and count -------------------------------------------------

ZV_CLASS_IMPL(TCumulative, TGrafFunction)

void TCumulative::DeclareProperties(TClassInfo&) {}

TCumulative::TCumulative(TComponent* AOwner) : TGrafFunction(AOwner) { StorePeriod(1); }

double TCumulative::ComputeValue(TChartSeries* Source, int First, int) {
  TChartSeries* parent = ParentSeries();
  double previous = 0;
  if (First >= 1 && parent && parent->MainList()->Count() > 0) previous = parent->MainList()->LastValue();
  if (First < 0) return previous;
  TChartValueList* v = ValuesOf(this, Source);
  return HasPoint(v, First) ? v->GetValue(First) + previous : previous;
}

double TCumulative::ComputeValueMany(TCustomSeriesList* Sources, int Index) {
  TChartSeries* parent = ParentSeries();
  double r = 0;
  if (Index > 0 && parent && parent->MainList()->Count() >= Index) r = parent->MainList()->GetValue(Index - 1);
  for (int s = 0; s < Sources->Count(); ++s) {
    TChartValueList* v = ValuesOf(this, SourceAt(Sources, s));
    if (HasPoint(v, Index)) r += v->GetValue(Index);
  }
  return r;
}

ZV_CLASS_IMPL_NOPROPS(TCountGrafFunction, TGrafFunction)

double TCountGrafFunction::ComputeValue(TChartSeries* Source, int First, int Last) {
  if (First == -1) {
    TChartValueList* v = ValuesOf(this, Source);
    return v ? v->Count() : 0;
  }
  return Last - First + 1;
}

double TCountGrafFunction::ComputeValueMany(TCustomSeriesList* Sources, int Index) {
  int n = 0;
  for (int s = 0; s < Sources->Count(); ++s) n += HasPoint(ValuesOf(this, SourceAt(Sources, s)), Index);
  return n;
}

// ============================================================================

void RegisterBasicFunctionTypes() {
  static const bool done = [] {
    RegisterStandardFunctionType(&TAddGrafFunction::StaticClass(), &GrafMsgAdd);
    RegisterStandardFunctionType(&TSubtractGrafFunction::StaticClass(), &GrafMsgSubtract);
    RegisterStandardFunctionType(&TMultiplyGrafFunction::StaticClass(), &GrafMsgMultiply);
    RegisterStandardFunctionType(&TDivideGrafFunction::StaticClass(), &GrafMsgDivide);
    RegisterStandardFunctionType(&THighGrafFunction::StaticClass(), &GrafMsgHigh);
    RegisterStandardFunctionType(&TLowGrafFunction::StaticClass(), &GrafMsgLow);
    RegisterStandardFunctionType(&TAverageGrafFunction::StaticClass(), &GrafMsgAverage);
    RegisterStandardFunctionType(&TCustomGrafFunction::StaticClass(), &GrafMsgYFX);
    RegisterStandardFunctionType(&TMedianGrafFunction::StaticClass(), &GrafMsgMedian);
    RegisterStandardFunctionType(&TModeGrafFunction::StaticClass(), &GrafMsgMode);
    RegisterFunctionType(&TCumulative::StaticClass(), &GrafMsgExCumulative, &GrafMsgExtended, 2);
    RegisterStandardFunctionType(&TCountGrafFunction::StaticClass(), &GrafMsgExCount);
    return true;
  }();
  (void)done;
}

void UnregisterBasicFunctionTypes() {
  UnregisterFunctionTypes({&TCumulative::StaticClass(), &TCountGrafFunction::StaticClass()});
}
