// Value lists: the growable arrays of one coordinate of a series' points,
// with ordered insertion and lazily cached statistics.
#include <cmath>

#include "chart/core/grengine.h"
#include "platform/dialogs.h"
#include "platform/ui/streaming.h"

ZV_CLASS_IMPL(TChartValueList, TPersistent)

void TChartValueList::DeclareProperties(TClassInfo& c) {
  using L = TChartValueList;
  c.Boolean<L>("DateTime", &L::DateTime, &L::SetDateTime, std::nullopt)
      .WithStored([](TObject* o) {
        auto* l = static_cast<L*>(o);
        return l->DateTime() != l->DefaultDateTime();
      });
  c.String<L>("Name", &L::Name, &L::SetName);
  c.Enum<L>("Order", ChartListOrderEnumInfo(), &L::Order, &L::SetOrder);
  c.String<L>("ValueSource", &L::ValueSource, &L::SetValueSource);
}

TChartValueList::TChartValueList(TChartSeries* Owner, const std::string& Name) : FName(Name), FOwner(Owner) {
  if (FOwner) FOwner->ValuesList()->Add(this);
  ClearValues();
}

TChartValueList::~TChartValueList() { ClearValues(); }

void TChartValueList::Grow() { FValues.resize(FValues.size() + static_cast<size_t>(std::max(1, ValueListGrowStep))); }

void TChartValueList::ReserveValues(int Extra) {
  if (Extra > 0) FValues.reserve(static_cast<size_t>(FCount) + static_cast<size_t>(Extra) + std::max(1, ValueListGrowStep));
}

int TChartValueList::AddValue(double Value) {
  TempValue = Value;
  return AddTempValue();
}

void TChartValueList::AppendValues(const double* Values, int Count) {
  if (Count <= 0) return;
  const size_t need = static_cast<size_t>(FCount) + static_cast<size_t>(Count);
  size_t capacity = FValues.size();
  if (need > capacity) {
    const size_t step = static_cast<size_t>(std::max(1, ValueListGrowStep));
    capacity += (need - capacity + step - 1) / step * step;
  }
  // The values written once: the storage cut to the count, extended by the
  // new values, then padded to the capacity.
  FValues.reserve(capacity);
  FValues.resize(static_cast<size_t>(FCount));
  FValues.insert(FValues.end(), Values, Values + Count);
  FValues.resize(capacity);
  FCount += Count;
  FStatsStale = true;
}

void TChartValueList::ClearValues() {
  FCount = 0;
  TChartValues().swap(FValues);
  FStatsStale = true;
}

void TChartValueList::InsertValueAt(int Index, double Value) {
  if (FCount >= static_cast<int>(FValues.size())) Grow();
  double* v = FValues.data();
  for (int i = FCount; i > Index; --i) v[i] = v[i - 1];
  v[Index] = Value;
  ++FCount;
  FStatsStale = true;
}

void TChartValueList::DeleteValueAt(int Index) {
  double* v = FValues.data();
  for (int i = Index; i < FCount - 1; ++i) v[i] = v[i + 1];
  --FCount;
  FStatsStale = true;
}

int TChartValueList::AddTempValue() {
  const int n = FCount;
  const double v = TempValue;
  int pos;
  if (FOrder == loNone || n == 0 || (FOrder == loAscending && v >= FValues[n - 1]) ||
      (FOrder == loDescending && v <= FValues[n - 1])) {
    if (n >= static_cast<int>(FValues.size())) Grow();
    pos = n;
    FValues[pos] = v;
  } else {
    int a = n - 1;
    if (FOrder == loAscending) {
      while (a >= 0 && FValues[a] > v) --a;
    } else {
      while (a >= 0 && FValues[a] < v) --a;
    }
    pos = a + 1;
    if (n >= static_cast<int>(FValues.size())) Grow();
    double* d = FValues.data();
    for (int i = n; i > pos; --i) d[i] = d[i - 1];
    d[pos] = v;
  }
  ++FCount;
  FStatsStale = true;
  return pos;
}

void TChartValueList::SetValue(int Index, double Value) {
  FValues[static_cast<size_t>(Index)] = Value;
  FStatsStale = true;
  if (FOwner) FOwner->NotifyDependentSeries(scModified, Index);
}

int TChartValueList::IndexOfValue(double Value) const { return IndexOfValueInRange(0, FCount - 1, Value); }

int TChartValueList::IndexOfValueInRange(int First, int Last, double Value) const {
  for (int i = std::max(First, 0); i <= Last && i < FCount; ++i)
    if (FValues[i] == Value) return i;
  return -1;
}

void TChartValueList::RecalcStats() {
  if (!FStatsStale) return;
  // In locals: stores to the members could be the values being read.
  double lo = 0, hi = 0;
  if (FCount > 0) {
    const double* v = FValues.data();
    lo = hi = v[0];
    for (int i = 1; i < FCount; ++i) {
      if (!(v[i] >= lo)) lo = v[i];
      else if (v[i] > hi) hi = v[i];
    }
  }
  FMinValue = lo;
  FMaxValue = hi;
  FStatsStale = false;
  FTotalsStale = true;
}

void TChartValueList::RecalcTotals() {
  RecalcStats();
  if (!FTotalsStale) return;
  double total = 0, totalAbs = 0;
  if (FCount > 0) {
    const double* v = FValues.data();
    total = v[0];
    totalAbs = std::fabs(v[0]);
    for (int i = 1; i < FCount; ++i) {
      total += v[i];
      totalAbs += std::fabs(v[i]);
    }
  }
  FTotal = total;
  FTotalAbs = totalAbs;
  FTotalsStale = false;
}

double TChartValueList::MaxValue() { RecalcStats(); return FMaxValue; }
double TChartValueList::MinValue() { RecalcStats(); return FMinValue; }
double TChartValueList::Total() { RecalcTotals(); return FTotal; }
double TChartValueList::TotalAbs() { RecalcTotals(); return FTotalAbs; }
double TChartValueList::ValueRange() { RecalcStats(); return FMaxValue - FMinValue; }

int TChartValueList::GetCount() const {
  if (FCount > static_cast<int>(FValues.size()))
    throw EAssertionFailed("ValueList Count (" + std::to_string(FCount) + ") greater than array length (" +
                           std::to_string(FValues.size()) + ").");
  return FCount;
}

void TChartValueList::SetCount(int Value) {
  if (Value < 0) throw EAssertionFailed("ValueList Count must be greater than zero.");
  // A count beyond the storage would expose entries that were never stored.
  if (Value > static_cast<int>(FValues.size()))
    throw EAssertionFailed("ValueList Count (" + std::to_string(Value) + ") greater than array length (" +
                           std::to_string(FValues.size()) + ").");
  FCount = Value;
  FStatsStale = true;
}

void TChartValueList::DeleteRange(int First, int Number) {
  if (First < 0 || First + Number - 1 >= FCount)
    throw EAssertionFailed("Quantity of data to delete must be less than Count.");
  if (Number <= 0) return;
  double* v = FValues.data();
  for (int i = First + Number; i < FCount; ++i) v[i - Number] = v[i];
  FCount -= Number;
  FStatsStale = true;
}

void TChartValueList::Exchange(int A, int B) {
  std::swap(FValues[static_cast<size_t>(A)], FValues[static_cast<size_t>(B)]);
  FStatsStale = true;
  if (FOwner) FOwner->NotifyDependentSeries(scModified, A);
}

int TChartValueList::CompareValues(int A, int B) const {
  const double a = FValues[static_cast<size_t>(A)], b = FValues[static_cast<size_t>(B)];
  int r = a < b ? -1 : (a > b ? 1 : 0);
  return FOrder == loDescending ? -r : r;
}

void TChartValueList::SortByOrder() {
  if (FOrder == loNone || !FOwner) return;
  SortWithCallbacks(0, FCount - 1, [this](int a, int b) { return CompareValues(a, b); },
                    [this](int a, int b) { FOwner->ExchangePoints(a, b); });
}

void TChartValueList::FillWithIndices() {
  for (int i = 0; i < FCount; ++i) FValues[i] = i;
  FStatsStale = true;
  if (FOwner) FOwner->NotifyDependentSeries(scModified, 0);
}

void TChartValueList::RotateValues() {
  if (FCount < 2) return;
  const double first = FValues[0];
  for (int i = 0; i < FCount - 1; ++i) FValues[i] = FValues[i + 1];
  FValues[FCount - 1] = first;
}

void TChartValueList::SetDateTime(bool Value) {
  if (FOwner) FOwner->ChangeBool(FDateTime, Value);
  else FDateTime = Value;
}

void TChartValueList::SetValueSource(const std::string& Value) {
  if (FValueSource == Value) return;
  FValueSource = Value;
  if (FOwner) FOwner->RefreshFromSource();
}

void TChartValueList::Assign(TPersistent* Source) {
  if (auto* other = dynamic_cast<TChartValueList*>(Source)) {
    FOrder = other->FOrder;
    FDateTime = other->FDateTime;
    FValueSource = other->FValueSource;
  }
}

void TChartValueList::ReadMultiplier(TReader* Reader) {
  const double m = static_cast<double>(Reader->ReadFloat());
  if (m != 1)
    MessageBox(std::string("Error: Multiplier property is obsolete.") + "\r" +
                   "Modify GrafDefs.inc (enable Multiplier) and recompile.",
               "", MB_OK | MB_ICONERROR | MB_TASKMODAL);
}

void TChartValueList::DefineProperties(TFiler* Filer) {
  TPersistent::DefineProperties(Filer);
  Filer->DefineProperty("Multiplier", [this](TReader* r) { ReadMultiplier(r); }, nullptr, false);
}

// ---- The lists of a series -------------------------------------------------------

TChartValueLists::~TChartValueLists() { Clear(); }

int TChartValueLists::IndexOf(const TChartValueList* List) const {
  for (size_t i = 0; i < FItems.size(); ++i)
    if (FItems[i] == List) return static_cast<int>(i);
  return -1;
}

void TChartValueLists::Clear() {
  std::vector<TChartValueList*> items;
  items.swap(FItems);
  for (TChartValueList* l : items) delete l;
}
