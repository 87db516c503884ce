#include "model/plotdata.h"

#include <algorithm>
#include <new>

#include "model/rietclass.h"

namespace {

const char* const DefaultTitle = "UnInitialized Data structure";

// Frees a vector's block (clear alone keeps it).
template <typename T>
void Forget(std::vector<T>& v) {
  std::vector<T>().swap(v);
}

}  // namespace

TData::TData() : FTitle(DefaultTitle) {}

TData::~TData() = default;

void TData::Allocate(int n) {
  bool ok = n >= 0;
  if (ok) {
    try {
      FX.resize(static_cast<std::size_t>(n));
      FY.resize(static_cast<std::size_t>(n));
      FThird.resize(static_cast<std::size_t>(n));
    } catch (const std::bad_alloc&) {
      ok = false;
    }
  }
  if (ok) {
    FAllocated = true;
    FCapacity = n;
  } else {
    Forget(FX);
    Forget(FY);
    Forget(FThird);
    FAllocated = false;
    FCapacity = 0;
    FStatus = 0;
  }
}

void TData::Release() {
  if (!FAllocated) return;
  Forget(FX);
  Forget(FY);
  Forget(FThird);
  FAllocated = false;
  FCapacity = 0;
}

void TData::Empty() {
  Release();
  FStatus = 0;
  FPointCount = 0;
  FTitle = DefaultTitle;
  FStart = 0;
  FStep = 1.0f;
  FStop = 0;
}

namespace {

// Extreme of the first `count` values (clamped to the array); 0 when none.
// A value replaces the one so far only when it compares better, so a NaN
// never does (one in front stays). A plot asks for all four on every cycle
// of a run: four running extremes, each over every fourth value, keep the
// processor from waiting on one chain of comparisons, and give the same
// extreme.
template <bool Largest>
float Extreme(std::span<const float> values, int count) {
  std::size_t n = std::min(values.size(), static_cast<std::size_t>(std::max(count, 0)));
  if (n == 0) return 0;
  auto better = [](float so, float v) { return Largest ? std::max(so, v) : std::min(so, v); };
  float r[4] = {values[0], values[0], values[0], values[0]};
  std::size_t i = 1;
  for (; i + 4 <= n; i += 4)
    for (int k = 0; k < 4; ++k) r[k] = better(r[k], values[i + k]);
  for (; i < n; ++i) r[0] = better(r[0], values[i]);
  return better(better(r[0], r[1]), better(r[2], r[3]));
}

}  // namespace

float TData::MinX() const { return Extreme<false>(X(), FPointCount); }
float TData::MaxX() const { return Extreme<true>(X(), FPointCount); }
float TData::MinY() const { return Extreme<false>(Y(), FPointCount); }
float TData::MaxY() const { return Extreme<true>(Y(), FPointCount); }

void TPlotData::SetHistogramRef(THistogram* histogram) {
  FHistogramRef = histogram;
  FHistogramAlive = histogram ? histogram->Lifetime.Watch() : std::weak_ptr<const void>();
  // Cleared, the pattern keeps the instrument it was drawn with.
  if (histogram) FInstrument = {true, histogram->Job, histogram->Zero, histogram->Wavelength1, histogram->Wavelength2};
}

TPlotData::TInstrument TPlotData::Instrument() const {
  if (const THistogram* h = HistogramRef()) return {true, h->Job, h->Zero, h->Wavelength1, h->Wavelength2};
  return FInstrument;
}

void TPlotData::Allocate(int n, int m) {
  TData::Allocate(n);
  if (Capacity() <= 0) {
    // No points (or no memory for them): no plot either.
    Release();
    SetStatus(0);
    return;
  }
  bool ok = m >= 0;
  if (ok) {
    try {
      FCalculated.resize(static_cast<std::size_t>(n));
      FMarkerPositions.resize(static_cast<std::size_t>(m));
      FMarkerCodes.resize(static_cast<std::size_t>(m));
    } catch (const std::bad_alloc&) {
      ok = false;
    }
  }
  if (ok) {
    FPlotAllocated = true;
    FMarkerCapacity = m;
  } else {
    Forget(FCalculated);
    Forget(FMarkerPositions);
    Forget(FMarkerCodes);
    FPlotAllocated = false;
    FMarkerCapacity = 0;
    SetStatus(2);
  }
}

void TPlotData::Release() {
  if (!FPlotAllocated) return;
  Forget(FCalculated);
  Forget(FMarkerPositions);
  Forget(FMarkerCodes);
  FPlotAllocated = false;
  FMarkerCapacity = 0;
  FMarkerCount = 0;
}

const int32_t* TPlotData::MarkerCode(int i) const {
  if (!FPlotAllocated || i < 1 || i > FMarkerCount || i > FMarkerCapacity) return nullptr;
  return &FMarkerCodes[static_cast<std::size_t>(i - 1)];
}

// Truncating division and remainder, as the codes were packed.
int TPlotData::MarkerPhase(int i) const {
  const int32_t* code = MarkerCode(i);
  return code ? *code / (1 << 26) : 0;
}

int TPlotData::MarkerH(int i) const {
  const int32_t* code = MarkerCode(i);
  return code ? (*code / (1 << 16)) % 256 - 128 : 0;
}

int TPlotData::MarkerK(int i) const {
  const int32_t* code = MarkerCode(i);
  return code ? (*code / (1 << 8)) % 256 - 128 : 0;
}

int TPlotData::MarkerL(int i) const {
  const int32_t* code = MarkerCode(i);
  return code ? *code % 256 - 128 : 0;
}
