// The program's own work at start, close and Quick Start against the
// engine's cycles for the same example, all measured in this one program:
//   Engine/xray-cw        the engine alone through its binding (start, the
//                         model's cycles, finish with update), no window
//   Process/StartAndQuit  the program started with no file and closed
//   Process/QuickStart    the program started on the example: it opens it,
//                         runs Quick Start and closes
//   Window/QuickStart     the Quick Start command alone, in this process
//   Window/StartAndQuit   the main window made, shown and closed (settings
//                         read and written), in this process
// The Process cases report own_ms: the Quick Start's wall time less the
// start-and-quit's and the engine's, and own_per_engine: that over the
// engine's time (the goal: at most 2); the same in processor time
// (own_cpu_ms, own_cpu_per_engine). Window/QuickStart reports the wall-time
// ratio for the command alone.
// Run from build/bin (the program and the engine are found beside it):
//   QT_QPA_PLATFORM=offscreen ./bench_program
#include <benchmark/benchmark.h>

#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/mainplatform.h"
#include "app/mainwindow.h"
#include "app/texteditor.h"
#include "app/workfolder.h"
#include "model/global.h"
#include "model/refine.h"
#include "model/rietclass.h"
#include "platform/rtl/fileutils.h"
#include "platform/rtl/registry.h"
#include "support/dialogresponder.h"
#include "support/gui/guitest.h"
#include "support/tempdir.h"

extern char** environ;

namespace {

using TClock = std::chrono::steady_clock;

double Seconds(TClock::time_point t0) { return std::chrono::duration<double>(TClock::now() - t0).count(); }

// This process's processor time (user and system), in seconds.
double CpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + 1e-9 * static_cast<double>(t.tv_nsec);
}

const std::string kExample = "xray-cw";

// A folder of this run with a copy of the example in it.
struct TRunFolder {
  TTempDir Dir;
  TRunFolder() {
    for (const char* ext : {".inp", ".dat"})
      CopyFile(std::string(ZELVORA_EXAMPLES) + kExample + ext, Dir.File(kExample + ext), false);
  }
  std::string Input() const { return Dir.File(kExample + ".inp"); }
};

// The medians the Process cases compare, filled as the cases run: wall
// time, and processor time (less disturbed by other work on the machine,
// but blind to waits for the disk).
double gEngineSeconds = 0, gEngineCpu = 0;
double gStartQuitSeconds = 0, gStartQuitCpu = 0;

double Median(std::vector<double> v) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

// The engine alone: what REFINEFILE does, without a window.
void EngineAlone(benchmark::State& state) {
  TDialogResponder quiet;
  TRunFolder folder;
  std::vector<double> times, cpu;
  int cycles = 0;
  for (auto _ : state) {
    state.PauseTiming();
    TRietveld model;
    model.ReadInputFile(folder.Input());
    TRefine refine;
    refine.Messages = false;
    refine.IDSZ = IDSZ;
    refine.IRS = IRS;
    refine.BaseName = WithoutExtension(folder.Input());
    refine.DataFileName = refine.BaseName;
    refine.Model = &model;
    state.ResumeTiming();
    const auto t0 = TClock::now();
    const double c0 = CpuSeconds();
    refine.StartRefinement();
    while (refine.LastError == 0 && refine.CycleCount() < model.Cycles) {
      refine.RunCycle();
      if (refine.State() == 4) break;
    }
    if (refine.LastError == 0) refine.FinishRefinement(true);
    times.push_back(Seconds(t0));
    cpu.push_back(CpuSeconds() - c0);
    cycles = refine.CycleCount();
  }
  gEngineSeconds = Median(times);
  gEngineCpu = Median(cpu);
  state.counters["cycles"] = cycles;
  state.counters["engine_ms"] = 1000 * gEngineSeconds;
  state.counters["engine_cpu_ms"] = 1000 * gEngineCpu;
}

// Runs the program with the arguments in its own settings folder; its wall
// time (and in *cpu its processor time), or a negative number when it did
// not end well.
double RunProgram(const std::vector<std::string>& args, const std::string& configFolder, double* cpu = nullptr) {
  std::vector<std::string> env;
  for (char** e = environ; *e; ++e) {
    const std::string entry = *e;
    if (entry.rfind("ZELVORA_CONFIG_HOME=", 0) != 0 && entry.rfind("ZELVORA_QUIT_AFTER_START=", 0) != 0)
      env.push_back(entry);
  }
  env.push_back("ZELVORA_CONFIG_HOME=" + configFolder);
  env.push_back("ZELVORA_QUIT_AFTER_START=1");
  const std::string program = zv_mainplatform::ProgramFolderPath() + "zelvora";
  std::vector<char*> argv{const_cast<char*>(program.c_str())};
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  std::vector<char*> envp;
  for (std::string& e : env) envp.push_back(e.data());
  envp.push_back(nullptr);
  const auto t0 = TClock::now();
  pid_t pid = 0;
  if (posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv.data(), envp.data()) != 0) return -1;
  int status = 0;
  struct rusage usage {};
  if (wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) return -1;
  const double wall = Seconds(t0);
  if (cpu)
    *cpu = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           1e-6 * static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec);
  return wall;
}

void ProcessRun(benchmark::State& state, bool quickStart) {
  TRunFolder folder;
  const std::string config = folder.Dir.Path() + "config";
  // A settings store as a program that ran before leaves it.
  RunProgram({}, config);
  std::vector<double> times, cpus;
  for (auto _ : state) {
    double cpu = 0;
    const double t = RunProgram(quickStart ? std::vector<std::string>{folder.Input()} : std::vector<std::string>{},
                                config, &cpu);
    if (t < 0) {
      state.SkipWithError("the program did not end well");
      return;
    }
    state.SetIterationTime(t);
    times.push_back(t);
    cpus.push_back(cpu);
  }
  const double median = Median(times), medianCpu = Median(cpus);
  state.counters["cpu_ms"] = 1000 * medianCpu;
  if (!quickStart) {
    gStartQuitSeconds = median;
    gStartQuitCpu = medianCpu;
    return;
  }
  if (gEngineSeconds > 0 && gStartQuitSeconds > 0) {
    const double own = median - gStartQuitSeconds - gEngineSeconds;
    state.counters["own_ms"] = 1000 * own;
    state.counters["own_per_engine"] = own / gEngineSeconds;
    const double ownCpu = medianCpu - gStartQuitCpu - gEngineCpu;
    state.counters["own_cpu_ms"] = 1000 * ownCpu;
    state.counters["own_cpu_per_engine"] = ownCpu / gEngineCpu;
  }
}

void PrepareWindowState() {
  guitest::EnsureGui();
  InputFileName.clear();
  DataFileName.clear();
  ModelChanged = false;
  RunMode = rmIdle;
  RunOptions = {};
  SetProgramArguments({});
}

void FreeWindowState() {
  delete Refinement;
  Refinement = nullptr;
}

void WindowStartAndQuit(benchmark::State& state) {
  PrepareWindowState();
  TDialogResponder quiet;
  for (auto _ : state) {
    auto form = std::make_unique<TFormZelvora>(nullptr);
    form->DoCreate();
    form->Show();
    TCloseAction action = caHide;
    form->FormClose(form.get(), action);
    form.reset();
    TRegistry::FlushAll();
  }
  FreeWindowState();
}

void WindowQuickStart(benchmark::State& state) {
  PrepareWindowState();
  TDialogResponder quiet;
  TRunFolder folder;
  std::vector<double> times;
  for (auto _ : state) {
    state.PauseTiming();
    auto form = std::make_unique<TFormZelvora>(nullptr);
    form->DoCreate();
    form->Show();
    form->ProcessFile(folder.Input());
    state.ResumeTiming();
    const auto t0 = TClock::now();
    form->actQuickStart->Execute();
    times.push_back(Seconds(t0));
    state.PauseTiming();
    TCloseAction action = caHide;
    form->FormClose(form.get(), action);
    form.reset();
    FreeWindowState();
    state.ResumeTiming();
  }
  if (gEngineSeconds > 0) {
    const double own = Median(times) - gEngineSeconds;
    state.counters["own_ms"] = 1000 * own;
    state.counters["own_per_engine"] = own / gEngineSeconds;
  }
}

void Register() {
  // The settings of the in-process cases go to a folder of this run.
  static TTempDir settings;
  ::setenv("ZELVORA_CONFIG_HOME", settings.Path().c_str(), 1);
  benchmark::RegisterBenchmark("Engine/xray-cw", EngineAlone)->Unit(benchmark::kMillisecond)->Iterations(30);
  benchmark::RegisterBenchmark("Process/StartAndQuit", [](benchmark::State& s) { ProcessRun(s, false); })
      ->Unit(benchmark::kMillisecond)
      ->UseManualTime()
      ->Iterations(15);
  benchmark::RegisterBenchmark("Process/QuickStart", [](benchmark::State& s) { ProcessRun(s, true); })
      ->Unit(benchmark::kMillisecond)
      ->UseManualTime()
      ->Iterations(15);
  benchmark::RegisterBenchmark("Window/StartAndQuit", WindowStartAndQuit)->Unit(benchmark::kMillisecond)->Iterations(15);
  benchmark::RegisterBenchmark("Window/QuickStart", WindowQuickStart)->Unit(benchmark::kMillisecond)->Iterations(15);
}

const bool registered = (Register(), true);

}  // namespace
