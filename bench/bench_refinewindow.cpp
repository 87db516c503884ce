// The refinement window's own work in a cycle against the engine's cycle,
// both measured in the same run: each iteration is one Step of ten cycles
// (a run as it is watched) with Dynamic Plotting and Watch Values ticked,
// through the stand-in engine. The counters give the engine's and the
// window's milliseconds per cycle and the window's share of the engine's
// time (the goal: at most 0.2). The "step1" runs click Step for every
// cycle, so each cycle also pays for the click's button changes.
// Run from build/bin (the engine library is found next to the program):
//   QT_QPA_PLATFORM=offscreen ./bench_refinewindow
#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "app/refinewindow.h"
#include "app/patternplot.h"
#include "app/watchwindow.h"
#include "core/synthesis.h"
#include "model/global.h"
#include "model/plotdata.h"
#include "model/refine.h"
#include "model/rietclass.h"
#include "platform/rtl/fileutils.h"
#include "support/dialogresponder.h"
#include "support/gui/guitest.h"
#include "support/tempdir.h"

namespace {

using TClock = std::chrono::steady_clock;

class TTimedRefineForm : public TRefineForm {
public:
  using TRefineForm::TRefineForm;
  double EngineSeconds = 0;

protected:
  void RunEngineCycle() override {
    const auto t0 = TClock::now();
    TRefineForm::RunEngineCycle();
    EngineSeconds += std::chrono::duration<double>(TClock::now() - t0).count();
  }
};

// Moves the first phase away from the values the data were made with.
void Perturb(TRietveld& model) {
  TPhase* p = model.Phase(1);
  p->A *= 1.0008f;
  p->B *= 1.0008f;
  p->C *= 1.0008f;
  p->Scale *= 1.15f;
}

// The example's first histogram on a grid of about 1e5 points, with data
// made by the engine from the example itself.
bool MakeFinePattern(const std::string& folder, const std::string& name) {
  TDialogResponder quiet;
  TRietveld model;
  if (!model.ReadInputFile(std::string(ZELVORA_EXAMPLES) + name + ".inp")) return false;
  THistogram* h = model.Histogram(1);
  h->Step = (h->Stop - h->Start) / 100000.0f;
  std::vector<double> x, y;
  if (CalculatedPattern(model, 1, x, y) != 0) return false;
  const std::string input = folder + name + "-fine.inp";
  if (!WriteDatFile(folder + name + "-fine.dat", model.Title, h->Start, h->Step, PoissonCounts(y, 7))) return false;
  return model.WriteInputFile(input);
}

void RefineWindowCycle(benchmark::State& state, const std::string& inputFile, const std::string& dataFile,
                       int stepCycles) {
  guitest::EnsureGui();
  TDialogResponder quiet;
  TTempDir dir;
  const std::string input = dir.File("run.inp");
  CopyFile(inputFile, input, false);
  Model = new TRietveld();
  Model->ReadInputFile(input);
  Perturb(*Model);
  // Steady cycles: no convergence ends the run between iterations.
  Model->EPS = 0.001f;
  Model->Cycles = 9999;
  InputFileName = input;
  DataFileName = dataFile;
  TempRefine = true;
  RunOptions = {};
  RunOptions.RDPlot = RunOptions.RDWatch = true;
  double engine = 0, total = 0;
  int cycles = 0;
  {
    TTimedRefineForm form(nullptr);
    form.Show();
    form.SpinEditStep->SetValue(1);
    for (auto _ : state) {
      state.PauseTiming();
      if (form.Status() != 1 && form.Status() != 3) {
        form.ButtonStartClick(nullptr);
        if (Refinement->State() != 2) {
          state.SkipWithError("the engine did not start");
          break;
        }
        // The first cycle of a run lays the plot out; the ones measured follow it.
        form.SpinEditStep->SetValue(1);
        form.ButtonStepClick(nullptr);
        form.SpinEditStep->SetValue(stepCycles);
      }
      form.EngineSeconds = 0;
      const int before = Refinement->CycleCount();
      state.ResumeTiming();
      const auto t0 = TClock::now();
      form.ButtonStepClick(nullptr);
      total += std::chrono::duration<double>(TClock::now() - t0).count();
      engine += form.EngineSeconds;
      cycles += Refinement->CycleCount() - before;
    }
    if (RefinePlotWindow) state.counters["points"] = RefinePlotWindow->PointSeries1->Count();
    form.ButtonFinishClick(nullptr);
  }
  if (cycles > 0) {
    state.counters["engine_ms"] = 1000 * engine / cycles;
    state.counters["window_ms"] = 1000 * (total - engine) / cycles;
    state.counters["window_share"] = engine > 0 ? (total - engine) / engine : 0;
  }
  delete FormWatch;
  delete RefinePlotData;
  RefinePlotData = nullptr;
  delete Refinement;
  Refinement = nullptr;
  delete Model;
  Model = nullptr;
}

constexpr int kStepCycles = 10;

void Register() {
  for (const char* name : {"xray-cw", "corundum", "two-phase"}) {
    const std::string base = std::string(ZELVORA_EXAMPLES) + name;
    for (const int step : {kStepCycles, 1})
      benchmark::RegisterBenchmark(
          (std::string("RefineWindowCycle/") + name + (step == 1 ? "/step1" : "")).c_str(),
          [base, step](benchmark::State& s) { RefineWindowCycle(s, base + ".inp", base + ".dat", step); })
          ->Unit(benchmark::kMillisecond);
  }
  const std::string tof = std::string(ZELVORA_EXAMPLES) + "tof";
  benchmark::RegisterBenchmark(
      "RefineWindowCycle/tof", [tof](benchmark::State& s) { RefineWindowCycle(s, tof + ".inp", tof + ".gs", 2); })
      ->Unit(benchmark::kMillisecond)
      ->Iterations(10);
  static TTempDir fine;
  benchmark::RegisterBenchmark("RefineWindowCycle/xray-cw-1e5-points", [](benchmark::State& s) {
    if (!MakeFinePattern(fine.Path(), "xray-cw")) {
      s.SkipWithError("cannot make the fine pattern");
      return;
    }
    RefineWindowCycle(s, fine.File("xray-cw-fine.inp"), fine.File("xray-cw-fine.dat"), 2);
  })->Unit(benchmark::kMillisecond)->Iterations(5);
}

const bool registered = (Register(), true);

}  // namespace
