// The engine's two costly steps on a lead-sulphate-size problem: the
// calculated pattern (P n m a, five atoms, Cu K-alpha 1 and 2, 10-160 degrees
// in steps of 0.025, about 6,000 points and 390 reflections at each
// wavelength) and one least-squares cycle with 33 refined variables. The
// cycle benchmark also reports its cost in pattern calculations measured in
// the same run, which is the figure that matters (it does not depend on the
// machine or on its load). Argument 4: Howard's asymmetry (profile 4), 33
// variables; argument 6: Finger-Cox-Jephcoat's (profile 6, S/L and H/L) with
// 40 variables, the displacement, the orientation, the third mixing term and
// two occupancies added (goal: a cycle within 4 pattern calculations).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "core/engine.h"
#include "core/messagetrap.h"
#include "core/pattern.h"
#include "core/refinement.h"
#include "core/synthesis.h"
#include "model/rietclass.h"

namespace {

void BuildModel(TRietveld& model, int profile) {
  model.Title = "Benchmark: PbSO4, Cu K-alpha 1 and 2";
  THistogram* h = model.NewHistogram();
  h->Profile = profile;
  h->Wavelength1 = 1.540562f;
  h->Wavelength2 = 1.54439f;
  h->Ratio = 0.5f;
  h->Start = 10;
  h->Step = 0.025f;
  h->Stop = 160;
  h->Background.Coefficients[0] = 120;
  h->Background.Coefficients[1] = -30;
  h->Background.Coefficients[2] = 12;
  TPhase* p = model.NewPhase();
  p->SpaceGroup = "P N M A";
  p->A = 8.478f;
  p->B = 5.398f;
  p->C = 6.958f;
  p->Alpha = p->Beta = p->Gamma = 90;
  p->Scale = 2e-4f;
  struct TSite {
    const char* Type;
    float X, Y, Z, B;
  };
  const TSite sites[5] = {{"PB  ", 0.1879f, 0.25f, 0.1670f, 1.4f},
                          {"S   ", 0.0654f, 0.25f, 0.6845f, 0.5f},
                          {"O   ", 0.9083f, 0.25f, 0.5953f, 1.9f},
                          {"O   ", 0.1935f, 0.25f, 0.5432f, 1.4f},
                          {"O   ", 0.0810f, 0.0272f, 0.8086f, 1.3f}};
  for (const TSite& s : sites) {
    TAtom a;
    a.Label = a.AtomType = s.Type;
    a.X = s.X;
    a.Y = s.Y;
    a.Z = s.Z;
    a.B = s.B;
    a.N = s.Y == 0.25f ? 0.5f : 1.0f;  // the mirror's 4-fold sites of the 8-fold group
    p->AddAtom(a);
  }
  TSample* s = model.FindSample(1, 1);
  s->U = 0.02f;
  s->V = -0.01f;
  s->W = 0.01f;
  s->Gam0 = 0.4f;
  s->Gam1 = 0.002f;
  s->Asym1 = 0.02f;
  if (profile == 6) {
    s->Asym1 = 0.025f;  // S/L
    s->Asym2 = 0.02f;   // H/L
    s->Gam2 = 1e-5f;
    s->PO = 1.05f;
    s->POH = 0;
    s->POK = 0;
    s->POL = 1;
    h->HasDisplacement = 1;
    h->Displacement = 0.01f;
  }
}

// 33 variables: zero and six background terms; scale and the three cell
// lengths; U, V, W, two mixing terms and the asymmetry; x, z, B of the four
// atoms on the mirror and x, y, z, B of the general one.
void Refine(TRietveld& model, int profile) {
  TParameterList& list = model.Parameters;
  if (profile == 6) {
    // H/L, the third mixing term, the orientation, the displacement, and
    // the occupancies of S and the general O.
    for (int t : {20, 17, 12}) list.SetRefined(1, 1, 0, t, true);
    list.SetRefined(1, 0, 0, 29, true);
    list.SetRefined(0, 1, 2, 5, true);
    list.SetRefined(0, 1, 5, 5, true);
  }
  for (int t = 1; t <= 7; ++t) list.SetRefined(1, 0, 0, t, true);
  for (int t : {1, 6, 7, 8}) list.SetRefined(0, 1, 0, t, true);
  for (int t : {3, 4, 5, 14, 15, 16}) list.SetRefined(1, 1, 0, t, true);
  for (int a = 1; a <= 4; ++a)
    for (int t : {1, 3, 4}) list.SetRefined(0, 1, a, t, true);
  for (int t : {1, 2, 3, 4}) list.SetRefined(0, 1, 5, t, true);
  list.Renumber();
}

// A started engine on the model's own calculated pattern with noise, the
// cell and two coordinates a little off.
struct TFixture {
  std::string Folder;
  std::unique_ptr<TZdEngine> Engine;
  explicit TFixture(int profile) {
    // A folder of its own: two fixtures (or two runs of the program) may be alive at once.
    static int count = 0;
    Folder = (std::filesystem::temp_directory_path() /
              ("zelvora-bench-engine-" + std::to_string(::getpid()) + "-" + std::to_string(++count)))
                 .string();
    std::filesystem::create_directories(Folder);
    TRietveld model;
    BuildModel(model, profile);
    Refine(model, profile);
    std::vector<double> x, y;
    CalculatedPattern(model, 1, x, y);
    WriteDatFile(Folder + "/data.dat", "benchmark", 10, 0.025, PoissonCounts(y, 1));
    model.Phase(1)->A += 0.002f;
    model.Phase(1)->Atom(3)->X += 0.003f;
    model.Phase(1)->Atom(5)->Z -= 0.002f;
    {
      TMessageTrap trap;
      model.WriteInputFile(Folder + "/bench.inp");
    }
    Engine = std::make_unique<TZdEngine>();
    const int error = Engine->Start(1, Folder + "/bench.inp", Folder + "/data", Folder + "/bench.out", Folder + "/bench");
    if (error != 0) Engine.reset();
  }
  ~TFixture() { std::filesystem::remove_all(Folder); }
};

// One pattern calculation with new structure factors (an atom moved), in seconds.
double PatternSeconds(TZdEngine& engine) {
  TPattern& pattern = engine.Pattern();
  TAtom& atom = *engine.Model().Phase(1)->Atom(1);
  std::vector<double> times;
  for (int i = 0; i < 41; ++i) {
    atom.X += (i % 2 == 0 ? 1e-6f : -1e-6f);
    const auto start = std::chrono::steady_clock::now();
    pattern.Calculate();
    times.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  }
  std::nth_element(times.begin(), times.begin() + 20, times.end());
  return times[20];
}

void BM_CalculatedPattern(benchmark::State& state) {
  TFixture f(static_cast<int>(state.range(0)));
  if (!f.Engine) {
    state.SkipWithError("engine did not start");
    return;
  }
  TPattern& pattern = f.Engine->Pattern();
  TPhase& phase = *f.Engine->Model().Phase(1);
  int i = 0;
  for (auto _ : state) {
    phase.Atom(1)->X += (++i % 2 == 0 ? 1e-6f : -1e-6f);  // new structure factors every time
    pattern.Calculate();
    benchmark::DoNotOptimize(pattern.Data(1).Calculated.data());
  }
  state.counters["points"] = static_cast<double>(pattern.Data(1).X.size());
  state.counters["reflections"] = static_cast<double>(pattern.Views(1)[0].Reflections.size());
}
BENCHMARK(BM_CalculatedPattern)->Arg(4)->Arg(6)->Unit(benchmark::kMillisecond);

// The cycle, and the same run's pattern calculation: "patterns_per_cycle"
// is the goal measure (at most 4). The pattern is timed on an engine of its
// own that has never been asked for derivatives, as BM_CalculatedPattern
// times it: once derivatives are asked for, every calculation also keeps
// what they need, which makes it slower and the ratio look better than it
// is. A cycle takes the derivatives of its accepted trial from the cycle
// before; so each step times a run of RunCycles consecutive cycles, as a
// refinement runs them, and between two runs the values move and the
// pattern is calculated again, so that the first cycle of each run starts
// from scratch.
constexpr int RunCycles = 8;
void BM_LeastSquaresCycle(benchmark::State& state) {
  TFixture f(static_cast<int>(state.range(0))), plain(static_cast<int>(state.range(0)));
  if (!f.Engine || !plain.Engine) {
    state.SkipWithError("engine did not start");
    return;
  }
  int cycle = 0;
  std::vector<double> cycles, patterns;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < RunCycles; ++i) {
      int converged = 0;
      f.Engine->Iterate(1, ++cycle, converged);
    }
    cycles.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() / RunCycles);
    state.PauseTiming();
    patterns.push_back(PatternSeconds(*plain.Engine));
    TAtom& atom = *f.Engine->Model().Phase(1)->Atom(1);
    atom.X += (cycle / RunCycles % 2 == 0 ? 1e-6f : -1e-6f);
    f.Engine->Pattern().Calculate();
    state.ResumeTiming();
  }
  auto median = [](std::vector<double> v) {
    std::nth_element(v.begin(), v.begin() + v.size() / 2, v.end());
    return v[v.size() / 2];
  };
  state.counters["parameters"] = f.Engine->Refinement().VariableCount();
  if (!cycles.empty()) {
    state.counters["cycle_ms"] = 1e3 * median(cycles);
    state.counters["pattern_ms"] = 1e3 * median(patterns);
    state.counters["patterns_per_cycle"] = median(cycles) / median(patterns);
  }
}
BENCHMARK(BM_LeastSquaresCycle)->Arg(4)->Arg(6)->Unit(benchmark::kMillisecond);

// The pattern with its derivatives with respect to the 33 variables as a
// cycle takes them (the atoms' as reflection profiles), the bulk of a cycle
// (an atom moved every time, as the cycle's shifts move them all).
void BM_PatternWithDerivatives(benchmark::State& state) {
  TFixture f(static_cast<int>(state.range(0)));
  if (!f.Engine) {
    state.SkipWithError("engine did not start");
    return;
  }
  std::vector<TDerivativeColumn> columns;
  for (const TVariable& v : f.Engine->Refinement().Variables()) {
    TDerivativeColumn& c = columns.emplace_back();
    for (const TMember& m : v.Members) c.push_back({m.H, m.P, m.A, m.T, m.Multiplier});
  }
  TPattern& pattern = f.Engine->Pattern();
  TAtom& atom = *f.Engine->Model().Phase(1)->Atom(1);
  int i = 0;
  for (auto _ : state) {
    atom.X += (++i % 2 == 0 ? 1e-6f : -1e-6f);
    pattern.CalculateDerivatives(columns, true);
    benchmark::DoNotOptimize(pattern.Data(1).Derivatives.data());
  }
  state.counters["columns"] = static_cast<double>(columns.size());
}
BENCHMARK(BM_PatternWithDerivatives)->Arg(4)->Arg(6)->Unit(benchmark::kMillisecond);

}  // namespace
