// Speed of the macro interpreter: a long loop of arithmetic and string work,
// a recursive function, and the compile of a program of some size. When
// yabasic is installed, the same loop and the same recursion run in it from
// here as the yardstick (its times include its start-up, measured on its own
// as BM_YabasicStartUp); the printed results must agree.
#include <benchmark/benchmark.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "basic/sbasic.h"
#include "basic/sbhost.h"

namespace {

// The loop: X and N are reals as in yabasic, where every number is one. The
// variables keep their values from one run to the next, so the run sets them.
const char* const LoopProgram =
    "INTEGER I\n"
    "DOUBLE X, N\n"
    "STRING S\n"
    "N = 0\n"
    "X = 0\n"
    "FOR I = 1 TO 1000000\n"
    "  X = X + I * 0.5 - N / 3\n"
    "  N = N + 1\n"
    "  S = \"abc\" + \"def\"\n"
    "NEXT I\n"
    "SHOW(X)\n"
    "SHOW(N)\n"
    "SHOWS(S)";

const char* const LoopYabasic =
    "n = 0\n"
    "x = 0\n"
    "for i = 1 to 1000000\n"
    "  x = x + i * 0.5 - n / 3\n"
    "  n = n + 1\n"
    "  s$ = \"abc\" + \"def\"\n"
    "next i\n"
    "print x\n"
    "print n\n"
    "print s$\n";

const char* const FibProgram =
    "FUNCTION FIB(N AS INTEGER) AS INTEGER\n"
    " IF N < 2 THEN\n"
    "  FIB = N\n"
    " ELSE\n"
    "  FIB = FIB(N - 1) + FIB(N - 2)\n"
    " END IF\n"
    "END FUNCTION\n"
    "SHOW(FIB(25))";

const char* const FibYabasic =
    "sub fib(n)\n"
    "  if n < 2 then return n endif\n"
    "  return fib(n - 1) + fib(n - 2)\n"
    "end sub\n"
    "print fib(25)\n";

// A number as yabasic prints it: whole numbers in full, others with six
// significant digits in the shortest form.
std::string Printed(double x) {
  char buf[64];
  std::snprintf(buf, sizeof buf, x == std::floor(x) && std::fabs(x) < 1e15 ? "%.0f" : "%g", x);
  return buf;
}

// An interpreter whose SHOW and SHOWS collect what the program prints.
class TBenchMacro {
public:
  explicit TBenchMacro(const char* program) : FMemo(program) {
    FBasic.AddFunction("SHOW", [this](TSBCodeList& l, TSBResultCell&) { Output += Printed(GetArgDouble(l, 0)) + "\n"; },
                       '1', 1);
    FBasic.AddFunction("SHOWS", [this](TSBCodeList& l, TSBResultCell&) { Output += GetArgString(l, 0) + "\n"; }, '1',
                       1);
    FBasic.SetSource_Memo(&FMemo);
    FBasic.SetMax_Count(2000000);
    Compiled = FBasic.Compile() == 0;
  }
  bool Run() {
    Output.clear();
    return FBasic.Run() == 0;
  }

  bool Compiled = false;
  std::string Output;

private:
  TSBasic FBasic;
  TSBStringsSource FMemo;
};

std::string Yabasic() {
  for (const char* dir : {"/usr/bin/", "/usr/local/bin/", "/bin/"}) {
    std::string path = std::string(dir) + "yabasic";
    if (::access(path.c_str(), X_OK) == 0) return path;
  }
  return {};
}

// The program in a private file, run by yabasic; its printed output.
class TYabasicRun {
public:
  explicit TYabasicRun(const std::string& program) {
    char name[] = "/tmp/zvbench-XXXXXX";
    const int fd = ::mkstemp(name);
    if (fd < 0) return;
    FFile = name;
    const bool written = ::write(fd, program.data(), program.size()) == static_cast<ssize_t>(program.size());
    ::close(fd);
    if (!written) FFile.clear();
  }
  ~TYabasicRun() {
    if (!FFile.empty()) std::remove(FFile.c_str());
  }
  bool Ok() const { return !FFile.empty(); }
  std::string Run() const {
    std::string command = Yabasic() + " " + FFile;
    std::FILE* p = ::popen(command.c_str(), "r");
    if (!p) return {};
    std::string out;
    char buf[256];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
    if (::pclose(p) != 0) return {};
    return out;
  }

private:
  std::string FFile;
};

void RunMacro(benchmark::State& state, const char* program, const char* yabasic) {
  TBenchMacro macro(program);
  if (!macro.Compiled) {
    state.SkipWithError("the program does not compile");
    return;
  }
  for (auto _ : state)
    if (!macro.Run()) state.SkipWithError("the run failed");
  // The same printed results as the yardstick, when it is there.
  if (!Yabasic().empty()) {
    TYabasicRun y(yabasic);
    if (y.Ok() && y.Run() != macro.Output) state.SkipWithError(("output differs: " + macro.Output).c_str());
  }
}

void RunYabasic(benchmark::State& state, const char* program, const char* check) {
  if (Yabasic().empty()) {
    state.SkipWithError("yabasic is not installed");
    return;
  }
  TYabasicRun y(program);
  std::string out;
  for (auto _ : state) out = y.Run();
  if (check && out.empty()) state.SkipWithError("yabasic failed");
}

// A loop of 1,000,000 iterations with arithmetic and a string operation.
void BM_MillionIterations(benchmark::State& state) {
  RunMacro(state, LoopProgram, LoopYabasic);
  state.SetItemsProcessed(state.iterations() * 1000000);
}
BENCHMARK(BM_MillionIterations)->Unit(benchmark::kMillisecond);

void BM_YabasicMillionIterations(benchmark::State& state) { RunYabasic(state, LoopYabasic, LoopYabasic); }
BENCHMARK(BM_YabasicMillionIterations)->Unit(benchmark::kMillisecond)->UseRealTime();

// fib(25): 242,785 calls.
void BM_RecursiveFib25(benchmark::State& state) { RunMacro(state, FibProgram, FibYabasic); }
BENCHMARK(BM_RecursiveFib25)->Unit(benchmark::kMillisecond);

void BM_YabasicRecursiveFib25(benchmark::State& state) { RunYabasic(state, FibYabasic, FibYabasic); }
BENCHMARK(BM_YabasicRecursiveFib25)->Unit(benchmark::kMillisecond)->UseRealTime();

// What the yabasic times include besides the work: starting it.
void BM_YabasicStartUp(benchmark::State& state) { RunYabasic(state, "x = 1\n", nullptr); }
BENCHMARK(BM_YabasicStartUp)->Unit(benchmark::kMillisecond)->UseRealTime();

// A program of 2000 statements in 200 functions.
void BM_Compile(benchmark::State& state) {
  std::string program;
  for (int f = 0; f < 200; ++f) {
    program += "FUNCTION F" + std::to_string(f) + "(A AS INTEGER, BYREF B AS DOUBLE) AS DOUBLE\n";
    program += " INTEGER I\n FOR I = 1 TO A\n  B = B + I * 2.5\n  IF B > 100 THEN\n   B = B / 2\n";
    program += "  END IF\n NEXT I\n F" + std::to_string(f) + " = B\nEND FUNCTION\n";
  }
  program += "DOUBLE D\nOUT(F0(3, D))\n";
  TSBasic basic;
  basic.AddFunction("OUT", [](TSBCodeList&, TSBResultCell&) {}, '1', 1);
  TSBStringsSource memo(program);
  basic.SetSource_Memo(&memo);
  for (auto _ : state) {
    if (basic.Compile() != 0) state.SkipWithError("the program does not compile");
  }
}
BENCHMARK(BM_Compile)->Unit(benchmark::kMillisecond);

// A program of n labelled statements and n GOTOs to them (the labels of a
// generated macro), compiled: the time per label must not grow with n. The
// 100,000-label case reports its time per label over the 10,000-label
// case's (per_label_vs_10k; a compile time linear in the labels gives about 1).
double gSecondsPerLabel10k = 0;
void BM_CompileLabels(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  std::string program = "INTEGER I\nGOTO L0\n";
  for (int i = 0; i < n; ++i)
    program += "L" + std::to_string(i) + ": I = I + 1\nIF I > 1000000 THEN\nGOTO L" + std::to_string((i * 7919) % n) +
               "\nEND IF\n";
  TSBasic basic;
  TSBStringsSource memo(program);
  basic.SetSource_Memo(&memo);
  // Once untimed: the first touch of fresh memory is slow on these machines
  // and would be counted for the larger case only.
  basic.Compile();
  double seconds = 0;
  for (auto _ : state) {
    const auto t0 = std::chrono::steady_clock::now();
    if (basic.Compile() != 0) state.SkipWithError("the program does not compile");
    seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  }
  const double perLabel = seconds / static_cast<double>(state.iterations()) / n;
  state.counters["us_per_label"] = 1e6 * perLabel;
  if (n == 10000) gSecondsPerLabel10k = perLabel;
  if (n == 100000 && gSecondsPerLabel10k > 0) state.counters["per_label_vs_10k"] = perLabel / gSecondsPerLabel10k;
}
BENCHMARK(BM_CompileLabels)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->MinTime(5);

}  // namespace
