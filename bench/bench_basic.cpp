// Speed of the macro interpreter: a long loop of arithmetic and string work,
// and the compile of a program of some size.
#include <benchmark/benchmark.h>

#include <string>

#include "basic/sbasic.h"

namespace {

const char* const LoopProgram =
    "INTEGER I, N\n"
    "DOUBLE X\n"
    "STRING S\n"
    "FOR I = 1 TO 1000000\n"
    "  X = X + I * 0.5 - N / 3\n"
    "  N = N + 1\n"
    "  S = \"abc\" + \"def\"\n"
    "NEXT I";

// A loop of 1,000,000 iterations with arithmetic and a string operation.
void BM_MillionIterations(benchmark::State& state) {
  TSBasic basic;
  TSBStringsSource memo(LoopProgram);
  basic.SetSource_Memo(&memo);
  basic.SetMax_Count(2000000);
  if (basic.Compile() != 0) {
    state.SkipWithError("the program does not compile");
    return;
  }
  for (auto _ : state) {
    if (basic.Run() != 0) state.SkipWithError("the run failed");
  }
  state.SetItemsProcessed(state.iterations() * 1000000);
}
BENCHMARK(BM_MillionIterations)->Unit(benchmark::kMillisecond);

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

}  // namespace
