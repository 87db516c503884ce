#include "model/plotdata.h"

#include <algorithm>
#include <new>

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
template <typename Better>
float Extreme(std::span<const float> values, int count, Better better) {
  std::size_t n = std::min(values.size(), static_cast<std::size_t>(std::max(count, 0)));
  if (n == 0) return 0;
  float result = values[0];
  for (std::size_t i = 1; i < n; ++i)
    if (better(values[i], result)) result = values[i];
  return result;
}

bool Less(float a, float b) { return a < b; }
bool Greater(float a, float b) { return a > b; }

}  // namespace

float TData::MinX() const { return Extreme(X(), FPointCount, Less); }
float TData::MaxX() const { return Extreme(X(), FPointCount, Greater); }
float TData::MinY() const { return Extreme(Y(), FPointCount, Less); }
float TData::MaxY() const { return Extreme(Y(), FPointCount, Greater); }

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
