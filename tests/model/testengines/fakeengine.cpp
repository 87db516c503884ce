// A stand-in engine for the binding's tests: every entry answers from
// settings the test makes through fake_set and records what it was given for
// fake_get and fake_text. Built three times: complete, without the version
// entry and without the cycle entry. Its state lives as long as the library
// stays mapped, so a test keeps its own handle while the binding reloads it.
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <string>

#include "zudezez_api.h"

#define FAKE_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

std::map<std::string, double>& Settings() {
  static std::map<std::string, double> settings;
  return settings;
}

std::map<std::string, double>& Counters() {
  static std::map<std::string, double> counters;
  return counters;
}

std::map<std::string, std::string>& Texts() {
  static std::map<std::string, std::string> texts;
  return texts;
}

double Setting(const std::string& key, double fallback) {
  auto it = Settings().find(key);
  return it == Settings().end() ? fallback : it->second;
}

void Count(const std::string& key) { Counters()[key] += 1; }
void Note(const std::string& key, double value) { Counters()[key] = value; }

// Records a name buffer: the name up to the NUL, and whether the buffer is
// the name, a NUL and blanks to the end.
void NoteBuffer(const std::string& key, const char* buffer) {
  std::size_t n = 0;
  while (n < ZD_NAME_BUFFER && buffer[n] != '\0') ++n;
  Texts()[key] = std::string(buffer, n);
  bool wellFormed = n < ZD_NAME_BUFFER;
  for (std::size_t i = n + 1; wellFormed && i < ZD_NAME_BUFFER; ++i) wellFormed = buffer[i] == ' ';
  Note(key + "WellFormed", wellFormed ? 1 : 0);
}

}  // namespace

FAKE_EXPORT void fake_reset() {
  Settings().clear();
  Counters().clear();
  Texts().clear();
}

FAKE_EXPORT void fake_set(const char* key, double value) { Settings()[key] = value; }

FAKE_EXPORT double fake_get(const char* key) {
  auto it = Counters().find(key);
  return it == Counters().end() ? 0 : it->second;
}

// The text recorded under the key, copied into a buffer of `size` bytes.
FAKE_EXPORT void fake_text(const char* key, char* buffer, int size) {
  std::string text = Texts()[key];
  std::snprintf(buffer, static_cast<std::size_t>(size), "%s", text.c_str());
}

extern "C" {

void startprog(int32_t* histogramCount, int32_t* idsz, int32_t* irs, int32_t* nipoi, char* inputFile,
               char* dataFile, char* outputFile, char* baseName, int32_t* error) {
  Count("starts");
  Note("histogramCount", *histogramCount);
  Note("idsz", *idsz);
  Note("irs", *irs);
  Note("nipoi", *nipoi);
  NoteBuffer("input", inputFile);
  NoteBuffer("data", dataFile);
  NoteBuffer("output", outputFile);
  NoteBuffer("base", baseName);
  std::ifstream in(Texts()["input"]);
  Note("inputExists", in.good() ? 1 : 0);
  *error = static_cast<int32_t>(Setting("startError", 0));
}

void closeprog(int32_t* histogramCount, int32_t* update, int32_t* error) {
  Count("closes");
  Note("closeHistogramCount", *histogramCount);
  Note("lastUpdate", *update);
  *error = static_cast<int32_t>(Setting("closeError", 0));
  if (*error == 0 && *update == 1) {
    // The refined model goes back as "<base>.upd"; here the input unchanged.
    std::ifstream in(Texts()["input"], std::ios::binary);
    std::ofstream out(Texts()["base"] + ".upd", std::ios::binary);
    out << in.rdbuf();
  }
}

#ifndef FAKE_WITHOUT_ITERATION
void iteration(int32_t* histogramCount, int32_t* cycle, int32_t* converged, int32_t* error) {
  Count("iterations");
  Note("lastCycle", *cycle);
  Note("iterationHistogramCount", *histogramCount);
  *error = static_cast<int32_t>(Setting("iterationError", 0));
  double convergeAt = Setting("convergeAt", 0);
  if (convergeAt > 0 && *cycle >= convergeAt) *converged = 1;
}
#endif

void getinfo(int32_t* histogram, float* rp, float* rwp, float* chi2, float* fifth, float* array1, float* array2,
             float* array3) {
  Count("infos");
  *rp = static_cast<float>(Setting("rp", 10.0 + *histogram));
  *rwp = static_cast<float>(Setting("rwp", 20.0 + *histogram));
  *chi2 = static_cast<float>(Setting("chi2", 1.5));
  *fifth = 0;
  for (int i = 0; i < ZD_INFO_ARRAY; ++i) array1[i] = array2[i] = array3[i] = 0;
}

void getstatus(float* percent) { *percent = static_cast<float>(Setting("percent", 0)); }

void putinfo(int32_t*, int32_t*, float*) { Count("putinfos"); }

void getplot(int32_t* histogram, int32_t* idle, int32_t* status, float* x, float* observed, float* calculated,
             int32_t* markerCodes, float* markerPositions) {
  Note("plotHistogram", *histogram);
  Note("plotIdle", *idle);
  *status = 0;
  // An engine may fill fewer points than it announced.
  const int points = static_cast<int>(Setting("written", Setting("points", 5)));
  const int markers = static_cast<int>(Setting("markers", 2));
  const float start = static_cast<float>(Setting("start", 10.0));
  // The x values may be spaced otherwise than getplotinfo says.
  const float step = static_cast<float>(Setting("xstep", Setting("step", 0.5)));
  for (int i = 0; i < points; ++i) {
    x[i] = start + static_cast<float>(i) * step;
    observed[i] = 100.0f + static_cast<float>(i);
    calculated[i] = 90.0f + static_cast<float>(i);
  }
  for (int i = 0; i < markers; ++i) {
    markerCodes[i] = ZD_MARKER_CODE(i + 1, 1, -2, 3 + i);
    markerPositions[i] = start + static_cast<float>(i);
  }
}

void getrdf(float* values, float* range, int32_t* phase, int32_t* kind, int32_t* status) {
  Note("rdfPhase", *phase);
  Note("rdfKind", *kind);
  Note("rdfRange", *range);
  for (int i = 0; i < ZD_RDF_POINTS; ++i) values[i] = static_cast<float>(i + 1);
  *status = static_cast<int32_t>(Setting("rdfStatus", 0));
}

void getplotinfo(int32_t* histogram, int32_t* pointCount, int32_t* markerCount, float* start, float* step) {
  Note("plotInfoHistogram", *histogram);
  *pointCount = static_cast<int32_t>(Setting("points", 5));
  *markerCount = static_cast<int32_t>(Setting("markers", 2));
  *start = static_cast<float>(Setting("start", 10.0));
  *step = static_cast<float>(Setting("step", 0.5));
}

void quickclose(void) { Count("quickcloses"); }

void closemem(int32_t* status) {
  Count("closemems");
  *status = static_cast<int32_t>(Setting("closememStatus", 0));
}

void getpar(int32_t* histogram, int32_t* phase, int32_t* atom, int32_t* type, float* value, float* esd,
            int32_t* status) {
  Count("getpars");
  Note("parAddress", *histogram * 1000000 + *phase * 10000 + *atom * 100 + *type);
  *value = static_cast<float>(Setting("parValue", 1.25));
  *esd = static_cast<float>(Setting("parEsd", 0.05));
  *status = static_cast<int32_t>(Setting("parStatus", 0));
}

void getpar2(int32_t* number, float* value, float* esd, int32_t* status) {
  Count("getpar2s");
  Note("par2Number", *number);
  *value = static_cast<float>(Setting("par2Value", 2.5));
  *esd = static_cast<float>(Setting("par2Esd", 0.25));
  *status = static_cast<int32_t>(Setting("par2Status", 0));
}

#ifndef FAKE_WITHOUT_VERSION
void getverdll(float* version) { *version = static_cast<float>(Setting("version", 7.19)); }
#endif

void setpar(int32_t* histogram, int32_t* phase, int32_t* atom, int32_t* type, float* value, int32_t* status) {
  Note("setAddress", *histogram * 1000000 + *phase * 10000 + *atom * 100 + *type);
  Note("setValue", *value);
  *status = static_cast<int32_t>(Setting("setStatus", 0));
}

#ifndef FAKE_WITHOUT_FOURIER
// An exact map: value (s + j + k - 3) / 189 of the way from -10 to 10 at
// slice s, row j, column k (1-based), the range given as -10 and 10.
// "fourStatus" refuses the map; "fourNaN" 1 makes every value NaN, 2 only
// the first; "fourBadRange" gives a NaN range.
void getfour(int32_t* histogram, int32_t* phase, int32_t* axis, int32_t* kind, int32_t* busy, float* minimum,
             float* maximum, float* map, int32_t* status) {
  Count("fours");
  Note("fourHistogram", *histogram);
  Note("fourPhase", *phase);
  Note("fourAxis", *axis);
  Note("fourKind", *kind);
  Note("fourBusy", *busy);
  const int n = ZD_FOURIER_GRID;
  const int nan = static_cast<int>(Setting("fourNaN", 0));
  for (int s = 0; s < n; ++s)
    for (int j = 0; j < n; ++j)
      for (int k = 0; k < n; ++k)
        map[(s * n + j) * n + k] = -10.0f + 20.0f * static_cast<float>(s + j + k) / (3.0f * (n - 1));
  if (nan == 1)
    for (int i = 0; i < n * n * n; ++i) map[i] = std::nanf("");
  if (nan == 2) map[0] = std::nanf("");
  *minimum = -10;
  *maximum = 10;
  if (Setting("fourBadRange", 0) != 0) *minimum = *maximum = std::nanf("");
  *status = static_cast<int32_t>(Setting("fourStatus", 0));
}
#endif

}  // extern "C"
