// The engine library through its entry points, loaded as the program loads it.
#include <gtest/gtest.h>

#include <dlfcn.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>
#include <vector>

#include "core/fourier.h"
#include "enginetest.h"
#include "model/plotdata.h"
#include "platform/rtl/fileutils.h"
#include "support/testlocale.h"
#include "zudezez_api.h"

namespace {

// The loaded library and its entries.
class TLibrary {
public:
  TLibrary() {
    char self[4096] = {};
    const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    std::string folder(self, n > 0 ? static_cast<std::size_t>(n) : 0);
    folder = folder.substr(0, folder.rfind('/') + 1);
    FHandle = dlopen((folder + "libzudezez.so").c_str(), RTLD_NOW | RTLD_LOCAL);
    if (FHandle == nullptr) return;
    Bind(StartProg, "startprog");
    Bind(CloseProg, "closeprog");
    Bind(Iteration, "iteration");
    Bind(GetInfo, "getinfo");
    Bind(GetStatus, "getstatus");
    Bind(PutInfo, "putinfo");
    Bind(GetPlot, "getplot");
    Bind(GetRdf, "getrdf");
    Bind(GetPlotInfo, "getplotinfo");
    Bind(QuickClose, "quickclose");
    Bind(CloseMem, "closemem");
    Bind(GetPar, "getpar");
    Bind(GetPar2, "getpar2");
    Bind(GetVerDll, "getverdll");
    Bind(SetPar, "setpar");
    Bind(GetFour, "getfour");
  }
  ~TLibrary() {
    if (CloseMem != nullptr) {
      int32_t status = 0;
      CloseMem(&status);
    }
    if (FHandle != nullptr) dlclose(FHandle);
  }
  bool Complete() const { return FHandle != nullptr && FMissing == 0; }

  // Starts a run; the four names go in blank-padded 250-character buffers.
  int Start(int histograms, const std::string& input, const std::string& data, const std::string& output,
            const std::string& base) {
    int32_t count = histograms, idsz = 10000, irs = 4000, nipoi = 1500, error = -1;
    std::string buffers[4] = {input, data, output, base};
    for (std::string& b : buffers) {
      b.push_back('\0');
      b.resize(ZD_NAME_BUFFER, ' ');
    }
    StartProg(&count, &idsz, &irs, &nipoi, buffers[0].data(), buffers[1].data(), buffers[2].data(),
              buffers[3].data(), &error);
    return error;
  }
  int Cycle(int histograms, int cycle, int& converged) {
    int32_t count = histograms, number = cycle, conv = converged, error = -1;
    Iteration(&count, &number, &conv, &error);
    converged = conv;
    return error;
  }

  TZdStartProg StartProg = nullptr;
  TZdCloseProg CloseProg = nullptr;
  TZdIteration Iteration = nullptr;
  TZdGetInfo GetInfo = nullptr;
  TZdGetStatus GetStatus = nullptr;
  TZdPutInfo PutInfo = nullptr;
  TZdGetPlot GetPlot = nullptr;
  TZdGetRdf GetRdf = nullptr;
  TZdGetPlotInfo GetPlotInfo = nullptr;
  TZdQuickClose QuickClose = nullptr;
  TZdCloseMem CloseMem = nullptr;
  TZdGetPar GetPar = nullptr;
  TZdGetPar2 GetPar2 = nullptr;
  TZdGetVerDll GetVerDll = nullptr;
  TZdSetPar SetPar = nullptr;
  TZdGetFour GetFour = nullptr;

private:
  template <class F>
  void Bind(F& entry, const char* name) {
    entry = reinterpret_cast<F>(dlsym(FHandle, name));
    if (entry == nullptr) ++FMissing;
  }
  void* FHandle = nullptr;
  int FMissing = 0;
};

// An example model with its synthetic data in a private folder.
struct TCase {
  TTempDir Dir;
  std::string Input, Data;
  explicit TCase(const std::string& example, void (*change)(TRietveld&) = nullptr) {
    TRietveld model;
    EXPECT_TRUE(ReadModel(model, ExampleFile(example)));
    Data = WriteSyntheticData(model, Dir, 9);
    if (change != nullptr) change(model);
    Input = Dir.File("work.inp");
    TMessageTrap trap;
    EXPECT_TRUE(model.WriteInputFile(Input));
  }
};

}  // namespace

TEST(Entries, CallsOutOfOrderGiveErrorsNotCrashes) {
  TLibrary lib;
  ASSERT_TRUE(lib.Complete());
  float version = 0;
  lib.GetVerDll(&version);
  EXPECT_GE(version, ZD_MIN_VERSION);

  int converged = 0;
  EXPECT_NE(lib.Cycle(1, 1, converged), 0);
  int32_t h = 1, update = 1, error = 0, points = -1, markers = -1, status = 0;
  float start = -1, step = -1, value = -1, esd = -1, lo = 0, hi = 0, percent = -1;
  lib.CloseProg(&h, &update, &error);
  EXPECT_NE(error, 0);
  lib.GetPlotInfo(&h, &points, &markers, &start, &step);
  EXPECT_EQ(points, 0);
  EXPECT_EQ(markers, 0);
  float rp = -1, rwp = -1, chi2 = -1, fifth = -1;
  std::vector<float> a1(ZD_INFO_ARRAY, -1), a2(ZD_INFO_ARRAY, -1), a3(ZD_INFO_ARRAY, -1);
  lib.GetInfo(&h, &rp, &rwp, &chi2, &fifth, a1.data(), a2.data(), a3.data());
  EXPECT_EQ(rp, 0);
  EXPECT_EQ(a3[ZD_INFO_ARRAY - 1], 0);
  int32_t p = 1, a = 0, t = 6;
  lib.GetPar(&h, &p, &a, &t, &value, &esd, &status);
  EXPECT_NE(status, 0);
  EXPECT_EQ(value, 0);
  lib.SetPar(&h, &p, &a, &t, &value, &status);
  EXPECT_NE(status, 0);
  std::vector<float> map(64 * 64 * 64);
  int32_t axis = 3, kind = 0, busy = 0;
  lib.GetFour(&h, &p, &axis, &kind, &busy, &lo, &hi, map.data(), &status);
  EXPECT_NE(status, 0);
  std::vector<float> rdf(ZD_RDF_POINTS);
  float range = 10;
  lib.GetRdf(rdf.data(), &range, &p, &kind, &status);
  EXPECT_NE(status, 0);
  lib.GetStatus(&percent);
  EXPECT_EQ(percent, 0);
  lib.QuickClose();
  lib.CloseMem(&status);
  EXPECT_EQ(status, 0);
}

TEST(Entries, StartErrors) {
  TLibrary lib;
  ASSERT_TRUE(lib.Complete());
  struct Case {
    const char* what;
    void (*change)(TRietveld&);
    int histograms;
    bool dropData;
    int error;
  };
  const Case cases[] = {
      {"no data file", nullptr, 1, true, 6},
      {"histogram count", nullptr, 2, false, 10},
      {"space group", [](TRietveld& m) { m.Phase(1)->SpaceGroup = "Q 7 Z"; }, 1, false, 51},
      {"scattering type", [](TRietveld& m) { m.Phase(1)->Atom(1)->AtomType = "XX  "; }, 1, false, 50},
      {"no reflections", [](TRietveld& m) { m.Phase(1)->A = m.Phase(1)->B = m.Phase(1)->C = 0.5f; }, 1, false, 52},
      {"orientation axis", [](TRietveld& m) {
         TSample* s = m.FindSample(1, 1);
         s->PO = 0.8f;
         s->POH = s->POK = s->POL = 0;
       }, 1, false, 53},
      {"job and profile", [](TRietveld& m) { m.Histogram(1)->Profile = 7; }, 1, false, 45},
  };
  for (const Case& c : cases) {
    TCase run("xray-cw.inp", c.change);
    const std::string data = c.dropData ? run.Dir.File("missing") : run.Data;
    EXPECT_EQ(lib.Start(c.histograms, run.Input, data, run.Dir.File("w.out"), run.Dir.File("w")), c.error) << c.what;
    int converged = 0;
    EXPECT_NE(lib.Cycle(1, 1, converged), 0) << c.what;  // a failed start leaves nothing to cycle
  }
  TTempDir dir;
  EXPECT_EQ(lib.Start(1, dir.File("none.inp"), dir.File("d"), dir.File("w.out"), dir.File("w")), 1);
  TCase run("xray-cw.inp");
  EXPECT_EQ(lib.Start(1, run.Input, run.Data, run.Dir.File("no/such/folder/w.out"), run.Dir.File("w")), 2);
  // A file that is no input file.
  const std::string junk = dir.Write("junk.inp", "title\nnot a histogram line\n");
  EXPECT_EQ(lib.Start(1, junk, run.Data, dir.File("w.out"), dir.File("w")), 34);
}

TEST(Entries, ARunFromStartToUpdatedModel) {
  TLibrary lib;
  ASSERT_TRUE(lib.Complete());
  TCase run("xray-cw.inp", [](TRietveld& m) { m.Phase(1)->A = m.Phase(1)->B = m.Phase(1)->C = 3.801f; });
  const std::string base = run.Dir.File("work");
  ASSERT_EQ(lib.Start(1, run.Input, run.Data, base + ".out", base), 0);
  int converged = 0, cycles = 0;
  while (!converged && cycles < 15) ASSERT_EQ(lib.Cycle(1, ++cycles, converged), 0);
  EXPECT_EQ(converged, 1);
  float percent = 0;
  lib.GetStatus(&percent);
  EXPECT_EQ(percent, 100);

  int32_t h = 1;
  float rp = 0, rwp = 0, chi2 = 0, rexp = 0;
  std::vector<float> rBragg(ZD_INFO_ARRAY), rF(ZD_INFO_ARRAY), fraction(ZD_INFO_ARRAY);
  lib.GetInfo(&h, &rp, &rwp, &chi2, &rexp, rBragg.data(), rF.data(), fraction.data());
  EXPECT_GT(rp, 0);
  EXPECT_GT(rwp, rexp * 0.9);
  EXPECT_NEAR(chi2, (rwp / rexp) * (rwp / rexp), 0.01 * chi2);
  EXPECT_GT(rBragg[0], 0);
  EXPECT_NEAR(fraction[0], 100, 1e-3);  // one phase

  // The plot as the binding fetches it, markers decoded as the plot data does.
  int32_t points = 0, markers = 0;
  float start = 0, step = 0;
  lib.GetPlotInfo(&h, &points, &markers, &start, &step);
  EXPECT_EQ(points, 4001);
  EXPECT_NEAR(start, 10, 1e-5);
  EXPECT_NEAR(step, 0.02, 1e-6);
  TPlotData plot;
  plot.AllocatePlot(points, markers);
  plot.SetMarkerCount(markers);
  int32_t idle = 0, status = -1;
  lib.GetPlot(&h, &idle, &status, plot.X().data(), plot.Y().data(), plot.Calculated().data(),
              plot.MarkerCodes().data(), plot.MarkerPositions().data());
  EXPECT_EQ(status, 0);
  EXPECT_NEAR(plot.X()[4000], 90, 1e-4);
  ASSERT_GT(markers, 10);
  // The first marker is (1 0 0) of phase 1 at the Bragg angle of d = a (a = 3.8).
  EXPECT_EQ(plot.MarkerPhase(1), 1);
  EXPECT_EQ(std::abs(plot.MarkerH(1)) + std::abs(plot.MarkerK(1)) + std::abs(plot.MarkerL(1)), 1);
  EXPECT_NEAR(plot.MarkerPositions()[0], 2 * std::asin(1.540562 / (2 * 3.8)) * 180 / Pi, 0.01);
  double residual = 0, total = 0;
  for (int i = 0; i < points; ++i) {
    residual += std::fabs(plot.Y()[i] - plot.Calculated()[i]);
    total += plot.Y()[i];
  }
  EXPECT_NEAR(100 * residual / total, rp, 0.5);

  // Parameters by address and by number; setpar changes what getpar reads.
  int32_t p = 1, a = 0, t = 6, ps = -1;
  float value = 0, esd = 0;
  lib.GetPar(&(h = 0), &p, &a, &t, &value, &esd, &ps);
  EXPECT_EQ(ps, 0);
  EXPECT_NEAR(value, 3.8, 3 * esd + 1e-5);
  EXPECT_GT(esd, 0);
  const float refinedA = value;
  int32_t number = 12;  // the cell's code in the example
  float v2 = 0, e2 = 0;
  lib.GetPar2(&number, &v2, &e2, &ps);
  EXPECT_EQ(ps, 0);
  EXPECT_EQ(v2, refinedA);
  EXPECT_EQ(e2, esd);
  number = -12;  // what the binding asks for a negatively coded parameter
  v2 = e2 = 0;
  lib.GetPar2(&number, &v2, &e2, &ps);
  EXPECT_EQ(ps, 0);
  EXPECT_EQ(v2, refinedA);
  EXPECT_EQ(e2, esd);
  number = 99;
  lib.GetPar2(&number, &v2, &e2, &ps);
  EXPECT_NE(ps, 0);
  h = 1, p = 1, t = 6;  // a phase value read through a sample address
  lib.GetPar(&h, &p, &a, &t, &value, &esd, &ps);
  EXPECT_EQ(ps, 0);
  EXPECT_EQ(value, refinedA);
  h = 1, p = 0, t = 1;
  float zero = 0.05f;
  lib.SetPar(&h, &p, &a, &t, &zero, &ps);
  EXPECT_EQ(ps, 0);
  lib.GetPar(&h, &p, &a, &t, &value, &esd, &ps);
  EXPECT_FLOAT_EQ(value, 0.05f);
  t = 99;
  lib.SetPar(&h, &p, &a, &t, &zero, &ps);
  EXPECT_NE(ps, 0);

  // The radial distribution is answered while the run is open: value j of g(R)
  // is the curve at R = (j + 1) range / 1000. Nothing lies closer than Ti-O at
  // a / 2 = 1.90 Angstrom, where the first peak stands; Sr-O follows at
  // a / sqrt 2 = 2.69 Angstrom. The 1 / R^2 of g moves a maximum of width
  // sigma (here about 0.14 Angstrom) 2 sigma^2 / R = 0.02 Angstrom inwards.
  std::vector<float> rdf(ZD_RDF_POINTS);
  float range = 10;
  int32_t kind = 1;
  p = 1;
  lib.GetRdf(rdf.data(), &range, &p, &kind, &ps);
  EXPECT_EQ(ps, 0);
  auto at = [&](std::size_t j) { return 0.01 * double(j + 1); };
  std::vector<double> peaks;
  for (std::size_t j = 1; j + 1 < 400 && peaks.size() < 2; ++j)
    if (rdf[j] > 1 && rdf[j] >= rdf[j - 1] && rdf[j] > rdf[j + 1]) peaks.push_back(at(j));
  ASSERT_EQ(peaks.size(), 2u);
  EXPECT_NEAR(peaks[0], 1.90 - 0.02, 0.015);
  EXPECT_NEAR(peaks[1], 2.69 - 0.015, 0.015);
  const double height = rdf[static_cast<std::size_t>(std::lround(peaks[0] * 100)) - 1];
  for (std::size_t j = 0; at(j) < 1.4; ++j) EXPECT_LT(std::fabs(rdf[j]), 0.01 * height) << "R = " << at(j);

  // Finishing with update writes the refined model, which reads back.
  int32_t update = 1, error = -1;
  h = 1;
  lib.CloseProg(&h, &update, &error);
  EXPECT_EQ(error, 0);
  TRietveld back;
  ASSERT_TRUE(ReadModel(back, base + ".upd"));
  EXPECT_NEAR(back.Phase(1)->A, refinedA, 1e-4);
  EXPECT_NEAR(back.Histogram(1)->Zero, 0.05, 1e-6);
  EXPECT_EQ(back.RefinedCount(), 13);
  for (const char* ext : {".out", ".dst", ".ang"}) EXPECT_GT(FileSize(base + ext), 0) << ext;
  const std::string distances = TTempDir::Read(base + ".dst");
  EXPECT_NE(distances.find("1.90"), std::string::npos) << distances;  // Ti-O = a / 2
  // Results stay readable after the finish, for the plot window.
  lib.GetPlotInfo(&h, &points, &markers, &start, &step);
  EXPECT_EQ(points, 4001);
  lib.Cycle(1, 99, converged);
}

// The caller reads the curve from the second element of its array on and
// plots element i at R = i range / 1000, so value j of the entry must be the
// curve at R = (j + 1) range / 1000.
TEST(Entries, RadialDistributionStartsOneStepOut) {
  TLibrary lib;
  ASSERT_TRUE(lib.Complete());
  TCase run("xray-cw.inp");
  ASSERT_EQ(lib.Start(1, run.Input, run.Data, run.Dir.File("w.out"), run.Dir.File("w")), 0);
  TZdEngine engine;  // the same run in process, for the curves at known R
  ASSERT_EQ(engine.Start(1, run.Input, run.Data, run.Dir.File("e.out"), run.Dir.File("e")), 0);
  for (int32_t kind = 1; kind <= 5; ++kind) {
    std::vector<float> atR(ZD_RDF_POINTS);  // atR[i]: the curve at R = 0.01 i
    ASSERT_EQ(ComputeRdf(engine.Pattern(), 1, kind, 10.0, ZD_RDF_POINTS, atR.data()), 0);
    std::vector<float> values(ZD_RDF_POINTS, -1);
    float range = 10;
    int32_t phase = 1, k = kind, status = -1;
    lib.GetRdf(values.data(), &range, &phase, &k, &status);
    ASSERT_EQ(status, 0) << kind;
    // Beyond 9 Angstrom pairs past the 10 Angstrom cut-off start to count.
    double deviation = 0, stepChange = 0;
    for (int j = 0; j + 1 < 900; ++j) {
      deviation = std::max(deviation, std::fabs(double(values[j]) - atR[j + 1]) / (1 + std::fabs(atR[j + 1])));
      stepChange = std::max(stepChange, std::fabs(double(atR[j]) - atR[j + 1]) / (1 + std::fabs(atR[j + 1])));
    }
    EXPECT_LT(deviation, 1e-4) << kind;
    EXPECT_GT(stepChange, 1e-2) << kind;  // one step out would show
  }
}

// A run on a desktop with a decimal comma writes the same bytes as under "C":
// the data and input files, the listing ("cell 3.80000 ..."), the distances,
// the angles and the updated model.
TEST(Entries, FilesOfARunIgnoreTheDesktopsLocale) {
  const char* files[] = {"data.dat", "work.inp", "work.out", "work.dst", "work.ang", "work.upd"};
  auto run = [&](std::vector<std::string>& texts) {
    TLibrary lib;
    ASSERT_TRUE(lib.Complete());
    TCase c("xray-cw.inp", [](TRietveld& m) { m.Phase(1)->A = m.Phase(1)->B = m.Phase(1)->C = 3.801f; });
    const std::string base = c.Dir.File("work");
    ASSERT_EQ(lib.Start(1, c.Input, c.Data, base + ".out", base), 0);
    int converged = 0;
    for (int cycle = 1; cycle <= 3; ++cycle) ASSERT_EQ(lib.Cycle(1, cycle, converged), 0);
    int32_t h = 1, update = 1, error = -1;
    lib.CloseProg(&h, &update, &error);
    ASSERT_EQ(error, 0);
    for (const char* f : files) {
      std::string text = TTempDir::Read(c.Dir.File(f));
      for (std::size_t at; (at = text.find(c.Dir.Path())) != std::string::npos;) text.replace(at, c.Dir.Path().size(), "<dir>/");
      texts.push_back(text);
    }
  };
  std::vector<std::string> inC, inDe;
  run(inC);
  ASSERT_EQ(inC.size(), std::size(files));
  ASSERT_NE(inC[2].find("cell 3.8"), std::string::npos) << inC[2];
  {
    TScopedLocale comma;
    ASSERT_TRUE(comma.Active());
    run(inDe);
  }
  ASSERT_EQ(inDe.size(), inC.size());
  for (std::size_t i = 0; i < inC.size(); ++i) {
    EXPECT_FALSE(inC[i].empty()) << files[i];
    EXPECT_EQ(inDe[i], inC[i]) << files[i];
  }
}

// The binding asks for the plot's sizes and then for the plot; the markers
// the first call found serve the second only while the run is unchanged:
// a value set in between moves them.
TEST(Entries, MarkersOfAPlotFollowAChangeMadeAfterItsSizesWereAskedFor) {
  TLibrary lib;
  ASSERT_TRUE(lib.Complete());
  TCase run("xray-cw.inp");
  const std::string base = run.Dir.File("work");
  ASSERT_EQ(lib.Start(1, run.Input, run.Data, base + ".out", base), 0);
  auto positions = [&](bool setZeroBetween) {
    int32_t h = 1, points = 0, markers = 0, idle = 0, status = -1;
    float start = 0, step = 0;
    lib.GetPlotInfo(&h, &points, &markers, &start, &step);
    if (setZeroBetween) {
      int32_t sh = 1, p = 0, a = 0, t = 1, ps = -1;
      float zero = 0.05f;
      lib.SetPar(&sh, &p, &a, &t, &zero, &ps);
      EXPECT_EQ(ps, 0);
    }
    TPlotData plot;
    plot.AllocatePlot(points, markers);
    lib.GetPlot(&h, &idle, &status, plot.X().data(), plot.Y().data(), plot.Calculated().data(),
                plot.MarkerCodes().data(), plot.MarkerPositions().data());
    EXPECT_EQ(status, 0);
    return std::vector<float>(plot.MarkerPositions().begin(), plot.MarkerPositions().end());
  };
  const std::vector<float> before = positions(false);
  ASSERT_FALSE(before.empty());
  EXPECT_EQ(positions(false), before);  // asked again: the same
  const std::vector<float> moved = positions(true);
  ASSERT_EQ(moved.size(), before.size());
  EXPECT_GT(std::fabs(moved[0] - before[0]), 0.01);
  EXPECT_EQ(positions(false), moved);  // what a fresh look finds
}
