// The engine's two costly steps: the calculated pattern of a 5,000-point
// histogram with about 500 reflections, and one least-squares cycle with 25
// refined parameters.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <string>

#include "core/engine.h"
#include "core/messagetrap.h"
#include "core/synthesis.h"
#include "model/rietclass.h"

namespace {

// A monoclinic phase of six atoms on general positions, Cu K-alpha from 10
// to 75 degrees in 5,000 steps.
void BuildModel(TRietveld& model) {
  model.Title = "Benchmark: monoclinic phase, 5000 points";
  THistogram* h = model.NewHistogram();
  h->Wavelength1 = 1.540562f;
  h->Wavelength2 = 1.54439f;
  h->Ratio = 0.5f;
  h->Start = 10;
  h->Step = 0.013f;
  h->Stop = 10 + 4999 * 0.013f;
  h->Background.Coefficients[0] = 80;
  TPhase* p = model.NewPhase();
  p->SpaceGroup = "P 21/C";
  p->A = 10.1f;
  p->B = 12.2f;
  p->C = 8.05f;
  p->Beta = 101.5f;
  p->Scale = 1e-3f;
  const char* types[6] = {"FE  ", "O   ", "O   ", "C   ", "N   ", "O   "};
  for (int i = 0; i < 6; ++i) {
    TAtom a;
    a.Label = a.AtomType = types[i];
    a.X = 0.11f + 0.13f * i;
    a.Y = 0.07f + 0.11f * i;
    a.Z = 0.19f + 0.09f * i;
    a.B = 0.8f;
    p->AddAtom(a);
  }
  TSample* s = model.FindSample(1, 1);
  s->U = 0.01f;
  s->V = -0.005f;
  s->W = 0.004f;
  s->Gam0 = 0.4f;
}

void Refine(TRietveld& model) {
  TParameterList& list = model.Parameters;
  list.SetRefined(1, 0, 0, 1, true);
  for (int t = 2; t <= 7; ++t) list.SetRefined(1, 0, 0, t, true);
  list.SetRefined(0, 1, 0, 1, true);
  for (int t : {6, 7, 8, 10}) list.SetRefined(0, 1, 0, t, true);
  for (int t : {3, 4, 5, 15}) list.SetRefined(1, 1, 0, t, true);
  for (int a = 1; a <= 6; ++a) list.SetRefined(0, 1, a, 4, true);
  for (int t = 1; t <= 3; ++t) list.SetRefined(0, 1, 1, t, true);
  list.Renumber();
}

// A started engine on the model's own calculated pattern with noise.
struct TFixture {
  std::string Folder;
  std::unique_ptr<TZdEngine> Engine;
  TFixture() {
    Folder = (std::filesystem::temp_directory_path() / "zelvora-bench-engine").string();
    std::filesystem::create_directories(Folder);
    TRietveld model;
    BuildModel(model);
    Refine(model);
    std::vector<double> x, y;
    CalculatedPattern(model, 1, x, y);
    WriteDatFile(Folder + "/data.dat", "benchmark", 10, 0.013, PoissonCounts(y, 1));
    model.Phase(1)->A += 0.002f;
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

void BM_CalculatedPattern(benchmark::State& state) {
  TFixture f;
  if (!f.Engine) {
    state.SkipWithError("engine did not start");
    return;
  }
  TPattern& pattern = f.Engine->Pattern();
  TPhase& phase = *f.Engine->Model().Phase(1);
  for (auto _ : state) {
    phase.Atom(1)->X += 1e-6f;  // new structure factors every time
    pattern.Calculate();
    benchmark::DoNotOptimize(pattern.Data(1).Calculated.data());
  }
  state.counters["points"] = static_cast<double>(pattern.Data(1).X.size());
  state.counters["reflections"] = static_cast<double>(pattern.Views(1)[0].Reflections.size());
}
BENCHMARK(BM_CalculatedPattern)->Unit(benchmark::kMillisecond);

void BM_LeastSquaresCycle(benchmark::State& state) {
  TFixture f;
  if (!f.Engine) {
    state.SkipWithError("engine did not start");
    return;
  }
  int cycle = 0;
  for (auto _ : state) {
    int converged = 0;
    f.Engine->Iterate(1, ++cycle, converged);
  }
  state.counters["parameters"] = f.Engine->Refinement().VariableCount();
}
BENCHMARK(BM_LeastSquaresCycle)->Unit(benchmark::kMillisecond);

}  // namespace
