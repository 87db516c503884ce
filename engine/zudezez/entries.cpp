// The entry points of the engine library. One engine run lives in a global
// context; every entry checks it, so calls out of order get error numbers or
// empty results, never a crash, and no exception leaves the library.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "core/engine.h"
#include "zudezez_api.h"

namespace {

std::unique_ptr<TZdEngine> gEngine;
constexpr float EngineVersion = 7.20f;

// The name in a file-name buffer: up to the first NUL (or the buffer's end), trailing blanks dropped.
std::string BufferName(const char* buffer) {
  if (buffer == nullptr) return {};
  std::size_t n = 0;
  while (n < ZD_NAME_BUFFER && buffer[n] != '\0') ++n;
  std::string name(buffer, n);
  while (!name.empty() && name.back() == ' ') name.pop_back();
  return name;
}

bool Ready() { return gEngine && gEngine->Started(); }

}  // namespace

extern "C" {

void startprog(int32_t* histogramCount, int32_t* idsz, int32_t* irs, int32_t* nipoi, char* inputFile, char* dataFile,
               char* outputFile, char* baseName, int32_t* error) {
  (void)idsz;  // storage is sized from the data, so the limits are not needed
  (void)irs;
  (void)nipoi;
  if (error == nullptr) return;
  try {
    gEngine = std::make_unique<TZdEngine>();
    *error = gEngine->Start(histogramCount != nullptr ? *histogramCount : 0, BufferName(inputFile),
                            BufferName(dataFile), BufferName(outputFile), BufferName(baseName));
    if (*error != 0) gEngine->Abandon();
  } catch (...) {
    *error = zeInternal;
  }
}

void closeprog(int32_t* histogramCount, int32_t* update, int32_t* error) {
  (void)histogramCount;
  if (error == nullptr) return;
  try {
    *error = Ready() ? gEngine->Close(update != nullptr && *update == 1) : zeInternal;
  } catch (...) {
    *error = zeInternal;
  }
}

void iteration(int32_t* histogramCount, int32_t* cycle, int32_t* converged, int32_t* error) {
  if (error == nullptr) return;
  try {
    if (!Ready() || histogramCount == nullptr || cycle == nullptr || converged == nullptr) {
      *error = zeInternal;
      return;
    }
    int done = *converged;
    *error = gEngine->Iterate(*histogramCount, *cycle, done);
    *converged = done;
  } catch (...) {
    *error = zeUnstable;
  }
}

void getinfo(int32_t* histogram, float* rp, float* rwp, float* chi2, float* fifth, float* array1, float* array2,
             float* array3) {
  float a = 0, b = 0, c = 0, d = 0;
  try {
    for (float* arr : {array1, array2, array3})
      if (arr != nullptr) std::memset(arr, 0, sizeof(float) * ZD_INFO_ARRAY);
    if (Ready() && histogram != nullptr) gEngine->Info(*histogram, a, b, c, d, array1, array2, array3);
  } catch (...) {
    a = b = c = d = 0;
  }
  if (rp != nullptr) *rp = a;
  if (rwp != nullptr) *rwp = b;
  if (chi2 != nullptr) *chi2 = c;
  if (fifth != nullptr) *fifth = d;
}

void getstatus(float* percent) {
  if (percent != nullptr) *percent = gEngine ? gEngine->Progress() : 0.0f;
}

void putinfo(int32_t* histogram, int32_t* kind, float* values) {
  (void)histogram;
  (void)kind;
  (void)values;
}

void getplot(int32_t* histogram, int32_t* idle, int32_t* status, float* x, float* observed, float* calculated,
             int32_t* markerCodes, float* markerPositions) {
  (void)idle;
  int32_t result = 1;
  try {
    if (Ready() && histogram != nullptr &&
        gEngine->Plot(*histogram, x, observed, calculated, reinterpret_cast<int*>(markerCodes), markerPositions))
      result = 0;
  } catch (...) {
    result = zeInternal;
  }
  if (status != nullptr) *status = result;
}

void getrdf(float* values, float* range, int32_t* phase, int32_t* kind, int32_t* status) {
  int32_t result = 1;
  try {
    if (Ready() && values != nullptr && range != nullptr && kind != nullptr)
      result = gEngine->Rdf(values, *range, phase != nullptr ? *phase : 1, *kind);
  } catch (...) {
    result = zeInternal;
  }
  if (status != nullptr) *status = result;
}

void getplotinfo(int32_t* histogram, int32_t* pointCount, int32_t* markerCount, float* start, float* step) {
  int points = 0, markers = 0;
  float first = 0, spacing = 0;
  try {
    if (Ready() && histogram != nullptr) gEngine->PlotInfo(*histogram, points, markers, first, spacing);
  } catch (...) {
    points = markers = 0;
  }
  if (pointCount != nullptr) *pointCount = points;
  if (markerCount != nullptr) *markerCount = markers;
  if (start != nullptr) *start = first;
  if (step != nullptr) *step = spacing;
}

void quickclose(void) {
  if (gEngine) gEngine->Abandon();
}

void closemem(int32_t* status) {
  gEngine.reset();
  if (status != nullptr) *status = 0;
}

void getpar(int32_t* histogram, int32_t* phase, int32_t* atom, int32_t* type, float* value, float* esd,
            int32_t* status) {
  float v = 0, e = 0;
  int32_t result = zeInternal;
  try {
    if (Ready() && histogram != nullptr && phase != nullptr && atom != nullptr && type != nullptr)
      result = gEngine->GetParameter(*histogram, *phase, *atom, *type, v, e);
  } catch (...) {
    result = zeInternal;
  }
  if (value != nullptr) *value = v;
  if (esd != nullptr) *esd = e;
  if (status != nullptr) *status = result;
}

void getpar2(int32_t* number, float* value, float* esd, int32_t* status) {
  float v = 0, e = 0;
  int32_t result = zeInternal;
  try {
    // The binding passes trunc(code / 10), negative for a negative code; the
    // variable is the same.
    if (Ready() && number != nullptr && *number != INT32_MIN)
      result = gEngine->GetParameterByNumber(std::abs(*number), v, e);
  } catch (...) {
    result = zeInternal;
  }
  if (value != nullptr) *value = v;
  if (esd != nullptr) *esd = e;
  if (status != nullptr) *status = result;
}

void getverdll(float* version) {
  if (version != nullptr) *version = EngineVersion;
}

void setpar(int32_t* histogram, int32_t* phase, int32_t* atom, int32_t* type, float* value, int32_t* status) {
  int32_t result = zeInternal;
  try {
    if (Ready() && histogram != nullptr && phase != nullptr && atom != nullptr && type != nullptr && value != nullptr)
      result = gEngine->SetParameter(*histogram, *phase, *atom, *type, *value);
  } catch (...) {
    result = zeInternal;
  }
  if (status != nullptr) *status = result;
}

void getfour(int32_t* histogram, int32_t* phase, int32_t* axis, int32_t* kind, int32_t* busy, float* minimum,
             float* maximum, float* map, int32_t* status) {
  (void)busy;
  float lo = 0, hi = 0;
  int32_t result = zeInternal;
  try {
    if (Ready() && histogram != nullptr && phase != nullptr && axis != nullptr && kind != nullptr && map != nullptr)
      result = gEngine->Fourier(*histogram, *phase, *axis, *kind, lo, hi, map);
  } catch (...) {
    result = zeInternal;
  }
  if (minimum != nullptr) *minimum = lo;
  if (maximum != nullptr) *maximum = hi;
  if (status != nullptr) *status = result;
}

}  // extern "C"
