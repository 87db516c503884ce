#include "core/engine.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <locale>
#include <map>
#include <tuple>
#include <sstream>

#include "core/fourier.h"
#include "core/limits.h"
#include "core/messagetrap.h"
#include "core/observed.h"
#include "core/report.h"
#include "platform/rtl/fileutils.h"
#include "zudezez_api.h"

TZdEngine::TZdEngine() = default;
TZdEngine::~TZdEngine() = default;

int TZdEngine::Start(int histogramCount, const std::string& inputFile, const std::string& dataName,
                     const std::string& outputFile, const std::string& baseName) {
  FStarted = FRunning = false;
  FKeptMarkers.reset();
  FProgress = 0;
  FCycles = 0;
  FProblem.clear();
  FOutputFile = outputFile;
  FBaseName = baseName;
  FRefinement.reset();
  FPattern.reset();
  FModel = std::make_unique<TRietveld>();

  if (inputFile.empty() || !FileExists(inputFile)) return zeInputFile;
  try {
    TMessageTrap trap;
    if (!FModel->ReadInputFile(inputFile)) {
      FProblem = trap.Messages.empty() ? std::string() : trap.Messages.front();
      return zeReadInput;
    }
  } catch (...) {
    return zeInputFile;
  }
  if (FModel->HistogramCount() < 1) return zeReadInput;
  if (histogramCount != FModel->HistogramCount()) return zeHistogramRange;
  // Limits first: nothing is allocated or searched for an input that asks too much.
  if (int e = CheckModelLimits(*FModel, FProblem); e != zeNone) return e;

  // A new run replaces the listing; it grows by appending from here on.
  if (outputFile.empty() || !SaveFile(outputFile, std::string())) return zeOutputFile;

  FPattern = std::make_unique<TPattern>(*FModel);
  std::size_t points = 0;
  for (int h = 1; h <= FModel->HistogramCount(); ++h) {
    THistogramData data;
    if (int e = LoadHistogramData(*FModel, dataName, h, data); e != zeNone) return e;
    // Counted as they come: many large data files must not all be held first.
    points += data.X.size();
    if (points > MaxPointsTotal) return zeTooManyPoints;
    FPattern->SetData(h, std::move(data));
  }
  if (int e = FPattern->Prepare(); e != zeNone) return e;
  if (int e = CheckStructureWork(*FPattern, FProblem); e != zeNone) return e;
  if (int e = CheckProfileWork(*FPattern, FProblem); e != zeNone) return e;
  if (FPattern->HasLeBailPhase()) {
    if (FModel->RecycleLeBail != 0) {
      if (int e = ReadLeBail(); e != zeNone) return e;
    } else {
      FPattern->ExtractLeBail(5);
    }
  }
  if (int e = FPattern->Calculate(); e != zeNone) return e;
  FPattern->UpdateWeights();
  FRefinement = std::make_unique<TRefinement>(*FPattern);
  if (int e = FRefinement->Build(); e != zeNone) return e;
  if (int e = FRefinement->SolveScales(); e != zeNone) return e;

  std::ostringstream listing;
  WriteListingStart(listing, *FPattern, *FRefinement);
  if (!AppendListing(listing.str())) return zeOutputFile;
  if (!WriteBonds()) return zeBondFile;
  FStarted = FRunning = true;
  return zeNone;
}

int TZdEngine::Iterate(int histogramCount, int cycle, int& converged) {
  FKeptMarkers.reset();
  if (!FStarted || !FRunning) return zeInternal;
  if (histogramCount != FModel->HistogramCount()) return zeHistogramRange;
  // Values the last cycle shifted out of their ranges stop the run before they are used.
  if (int e = CheckModelLimits(*FModel, FProblem); e != zeNone) return e;
  FProgress = 0;
  // The shifts of the last cycle may have made the peaks absurdly wide.
  if (int e = CheckProfileWork(*FPattern, FProblem); e != zeNone) {
    AppendListing("\nCycle " + std::to_string(cycle) + " refused: " + FProblem + "\n");
    return e;
  }
  bool done = false;
  const int error = FRefinement->Cycle(done, [this](double percent) { FProgress = static_cast<float>(percent); });
  FProgress = 100;
  FProblem = FRefinement->Problem();
  if (error != zeNone) {
    AppendListing("\nCycle " + std::to_string(cycle) + " failed (error " + std::to_string(error) + ")" +
                  (FProblem.empty() ? std::string() : ": " + FProblem) + "\n");
    return error;
  }
  FCycles = cycle;
  for (int h = 1; h <= FPattern->HistogramCount(); ++h) {
    const TAgreement a = FPattern->Agreement(h, FRefinement->VariableCount());
    if (!std::isfinite(a.Rp) || !std::isfinite(a.Rwp) || !std::isfinite(a.Chi2)) return zeUnstable;
  }
  if (done) converged = 1;
  std::ostringstream listing;
  WriteListingCycle(listing, *FPattern, *FRefinement, cycle, done);
  AppendListing(listing.str());
  return zeNone;
}

int TZdEngine::Close(bool update) {
  FKeptMarkers.reset();
  if (!FStarted) return zeInternal;
  FRunning = false;
  // Every file is attempted; a failure is reported after the rest is written.
  std::ostringstream listing;
  WriteListingEnd(listing, *FPattern, *FRefinement);
  bool written = AppendListing(listing.str());
  written = WriteBonds() && written;
  if (FPattern->HasLeBailPhase()) written = WriteLeBail() && written;
  if (update) {
    try {
      TMessageTrap trap;
      if (!FModel->WriteInputFile(FBaseName + ".upd")) return zeOutputFile;
      // The writer renumbered the codes; the run's variables keep their numbers.
    } catch (...) {
      return zeOutputFile;
    }
  }
  return written ? zeNone : zeCloseFiles;
}

bool TZdEngine::AppendListing(const std::string& text) {
  std::ofstream out(FOutputFile, std::ios::app);
  out << text;
  out.flush();
  return static_cast<bool>(out);
}

bool TZdEngine::SaveFile(const std::string& fileName, const std::string& text) {
  try {
    WriteFileAtomic(fileName, text);
  } catch (const Exception& e) {
    FProblem = e.Message();
    return false;
  }
  return true;
}

// Each file appears whole or keeps what it held; a listing that was cut says so.
bool TZdEngine::WriteBonds() {
  std::ostringstream dst, ang;
  const std::string distancesCut = WriteDistances(dst, *FPattern, FModel->Rmin, FModel->Rmax);
  const std::string anglesCut = WriteAngles(ang, *FPattern, FModel->Rmin, FModel->Rmax);
  if (!distancesCut.empty()) AppendListing("\nDistance listing cut: " + distancesCut + "\n");
  if (!anglesCut.empty()) AppendListing("\nAngle listing cut: " + anglesCut + "\n");
  const bool distances = SaveFile(FBaseName + ".dst", dst.str());
  return SaveFile(FBaseName + ".ang", ang.str()) && distances;
}

// Le Bail intensities: one line per reflection, "histogram phase h k l |F|^2".
int TZdEngine::ReadLeBail() {
  std::ifstream in(FBaseName + ".lbl");
  if (!in) return zeNoLeBailFile;
  // Reflections by histogram, phase and indices: a long file costs one look-up a line.
  std::map<std::tuple<int, int, TMiller>, std::vector<TReflection*>> index;
  for (int h = 1; h <= FPattern->HistogramCount(); ++h)
    for (TPhaseView& view : FPattern->Views(h))
      for (TReflection& r : view.Reflections) index[{h, view.Phase, r.Hkl}].push_back(&r);
  std::string line;
  int read = 0;
  while (std::getline(in, line)) {
    std::istringstream s(line);
    s.imbue(std::locale::classic());  // a point, whatever the desktop's locale
    int h, p;
    TMiller hkl;
    double f2;
    if (!(s >> h >> p >> hkl[0] >> hkl[1] >> hkl[2] >> f2)) {
      if (line.find_first_not_of(" \t\r") == std::string::npos) continue;
      return zeLeBailFile;
    }
    if (h < 1 || h > FPattern->HistogramCount() || p < 1 || p > FModel->PhaseCount() || !(f2 >= 0)) return zeLeBailFile;
    const auto found = index.find({h, p, hkl});
    if (found == index.end()) continue;
    for (TReflection* r : found->second) {
      r->F2 = f2;
      ++read;
    }
  }
  return read > 0 ? zeNone : zeLeBailFile;
}

bool TZdEngine::WriteLeBail() {
  std::ostringstream out;
  out.imbue(std::locale::classic());
  out.precision(10);
  for (int h = 1; h <= FPattern->HistogramCount(); ++h)
    for (const TPhaseView& view : FPattern->Views(h)) {
      if (FModel->Phase(view.Phase)->CalcMethod == 0) continue;
      for (const TReflection& r : view.Reflections)
        out << h << ' ' << view.Phase << ' ' << r.Hkl[0] << ' ' << r.Hkl[1] << ' ' << r.Hkl[2] << ' ' << r.F2 << '\n';
    }
  return SaveFile(FBaseName + ".lbl", out.str());
}

bool TZdEngine::Info(int h, float& rp, float& rwp, float& chi2, float& rexp, float* rBragg, float* rF, float* fraction) {
  rp = rwp = chi2 = rexp = 0;
  if (!FStarted || h < 1 || h > FPattern->HistogramCount()) return false;
  const TAgreement a = FPattern->Agreement(h, FRefinement->VariableCount());
  rp = static_cast<float>(a.Rp);
  rwp = static_cast<float>(a.Rwp);
  chi2 = static_cast<float>(a.Chi2);
  rexp = static_cast<float>(a.Rexp);
  // Per phase: R-Bragg and R-F from the partitioned intensities, and the
  // weight fraction S Z M V / sum (Hill and Howard), Z M being the cell's mass.
  double massSum = 0;
  std::vector<double> mass;
  for (const TPhaseView& view : FPattern->Views(h)) {
    const TPhase& phase = *FModel->Phase(view.Phase);
    double cellMass = 0;
    // N x M atoms of each kind in the cell (see AtomContribution).
    const int order = FPattern->Group(view.Phase).Order();
    for (int a2 = 0; a2 < phase.AtomCount() && a2 < static_cast<int>(view.Scatterers.size()); ++a2)
      cellMass += view.Scatterers[static_cast<std::size_t>(a2)].Mass * phase.Atom(a2 + 1)->N * order;
    const double m = phase.Scale * cellMass * FPattern->Cell(view.Phase).Volume();
    mass.push_back(m);
    massSum += m;
  }
  const auto& views = FPattern->Views(h);
  for (std::size_t i = 0; i < views.size() && i < ZD_INFO_ARRAY; ++i) {
    const TPhaseView& view = views[i];
    double bragg = 0, braggDen = 0, rf = 0, rfDen = 0;
    if (!FPattern->Data(h).Calculation) {
      const std::vector<double> obs = FPattern->ObservedF2(h, view);
      for (std::size_t k = 0; k < view.Reflections.size(); ++k) {
        const TReflection& r = view.Reflections[k];
        if (!InMeasuredRange(*FPattern, h, FPattern->MarkerPosition(h, view, r))) continue;
        bragg += r.Multiplicity * std::fabs(obs[k] - r.F2);
        braggDen += r.Multiplicity * obs[k];
        rf += r.Multiplicity * std::fabs(std::sqrt(obs[k]) - std::sqrt(r.F2));
        rfDen += r.Multiplicity * std::sqrt(obs[k]);
      }
    }
    if (rBragg != nullptr) rBragg[i] = braggDen > 0 ? static_cast<float>(100 * bragg / braggDen) : 0.0f;
    if (rF != nullptr) rF[i] = rfDen > 0 ? static_cast<float>(100 * rf / rfDen) : 0.0f;
    if (fraction != nullptr) fraction[i] = massSum > 0 ? static_cast<float>(100 * mass[i] / massSum) : 0.0f;
  }
  return true;
}

std::vector<TZdEngine::TMarker> TZdEngine::Markers(int h) const {
  std::vector<TMarker> list;
  const THistogramData& data = FPattern->Data(h);
  if (data.X.empty()) return list;
  for (const TPhaseView& view : FPattern->Views(h)) {
    if (view.Phase > 31) continue;
    for (const TReflection& r : view.Reflections) {
      const double x = FPattern->MarkerPosition(h, view, r);
      if (!std::isfinite(x) || x < data.X.front() || x > data.X.back()) continue;
      bool fits = true;
      for (int i = 0; i < 3; ++i) fits = fits && r.Hkl[i] >= -128 && r.Hkl[i] <= 127;
      if (!fits) continue;
      list.push_back({ZD_MARKER_CODE(view.Phase, r.Hkl[0], r.Hkl[1], r.Hkl[2]), static_cast<float>(x)});
    }
  }
  return list;
}

bool TZdEngine::PlotInfo(int h, int& points, int& markers, float& start, float& step) const {
  points = markers = 0;
  start = 0;
  step = 0;
  if (!FStarted || h < 1 || h > FPattern->HistogramCount()) return false;
  const THistogramData& data = FPattern->Data(h);
  points = static_cast<int>(data.X.size());
  FKeptMarkers = TKeptMarkers{h, Markers(h)};
  markers = static_cast<int>(FKeptMarkers->Markers.size());
  if (points > 0) start = static_cast<float>(data.X.front());
  if (points > 1) step = static_cast<float>((data.X.back() - data.X.front()) / (points - 1));
  return true;
}

bool TZdEngine::Plot(int h, float* x, float* observed, float* calculated, int* codes, float* positions) const {
  if (!FStarted || h < 1 || h > FPattern->HistogramCount()) return false;
  const THistogramData& data = FPattern->Data(h);
  for (std::size_t i = 0; i < data.X.size(); ++i) {
    if (x != nullptr) x[i] = static_cast<float>(data.X[i]);
    if (observed != nullptr) observed[i] = static_cast<float>(data.Observed[i]);
    if (calculated != nullptr) calculated[i] = static_cast<float>(data.Calculated[i]);
  }
  std::vector<TMarker> markers;
  if (FKeptMarkers && FKeptMarkers->Histogram == h) markers = std::move(FKeptMarkers->Markers);
  else markers = Markers(h);
  FKeptMarkers.reset();
  for (std::size_t i = 0; i < markers.size(); ++i) {
    if (codes != nullptr) codes[i] = markers[i].Code;
    if (positions != nullptr) positions[i] = markers[i].Position;
  }
  return true;
}

int TZdEngine::GetParameter(int h, int p, int a, int t, float& value, float& esd) {
  value = esd = 0;
  if (!FStarted) return zeInternal;
  const float* v = ValueAddress(*FModel, h, p, a, t, true);
  if (v == nullptr) return 1;
  value = *v;
  double e = 0;
  // A phase value read through a sample address has the phase's error.
  if (!FRefinement->AddressEsd(h, p, a, t, e) && h > 0 && p > 0 && p != ScatterPhase && a == 0)
    FRefinement->AddressEsd(0, p, 0, t, e);
  esd = static_cast<float>(e);
  return 0;
}

int TZdEngine::GetParameterByNumber(int number, float& value, float& esd) const {
  value = esd = 0;
  if (!FStarted) return zeInternal;
  const TVariable* v = FRefinement->VariableByNumber(number);
  if (v == nullptr) return 1;
  value = *v->Members.front().Value;
  esd = static_cast<float>(v->Esd * std::fabs(v->Members.front().Multiplier));
  return 0;
}

int TZdEngine::SetParameter(int h, int p, int a, int t, float value) {
  FKeptMarkers.reset();
  if (!FStarted) return zeInternal;
  if (!std::isfinite(value)) return 1;
  float* v = ValueAddress(*FModel, h, p, a, t);
  if (v == nullptr) return 1;
  const float previous = *v;
  *v = value;
  std::string problem;
  if (CheckProfileWork(*FPattern, problem) != zeNone) {
    *v = previous;  // a value that would make every calculation hang is not taken
    return 1;
  }
  if (FPattern->Calculate() != zeNone) return 1;
  return 0;
}

int TZdEngine::Rdf(float* values, float range, int phase, int kind) const {
  if (!FStarted) return zeInternal;
  // The caller hands the entry its array from the second element on and
  // plots element i at R = (i - 1) range / 1000, so the first value written
  // is the one at R = range / 1000 and the last the one at R = range.
  constexpr int points = ZD_RDF_POINTS + 1;
  std::vector<float> curve(points);
  const int status =
      ComputeRdf(*FPattern, std::max(1, phase), kind, double(range) * points / ZD_RDF_POINTS, points, curve.data());
  if (status == 0) std::copy(curve.begin() + 1, curve.end(), values);
  return status;
}

int TZdEngine::Fourier(int h, int p, int axis, int kind, float& minimum, float& maximum, float* map) {
  FKeptMarkers.reset();
  minimum = maximum = 0;
  if (!FStarted) return zeInternal;
  std::vector<float> grid;
  const int status = ComputeMap(*FPattern, h, p, axis, kind, grid, minimum, maximum);
  if (status == 0 && map != nullptr) std::copy(grid.begin(), grid.end(), map);
  return status;
}
