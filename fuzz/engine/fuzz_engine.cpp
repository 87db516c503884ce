// Mutation driver of the refinement engine: damaged input files through the
// model's reader and the engine's start, first cycle, radial distribution,
// map and close, as the program calls them.
//
// One target per example model (its data file stays whole). Rules besides
// the sanitizers' own: no exception leaves the engine's calls, and no call
// takes longer than --limit seconds (5 by default). At the end it prints the
// longest call, the start results and the peak memory.
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "../platform/fuzzdriver.h"
#include "core/engine.h"
#include "core/messagetrap.h"
#include "model/rietclass.h"
#include "platform/rtl/fileutils.h"
#include "zudezez_api.h"

namespace {

using fuzzdriver::Fault;

std::string Examples() {
  const char* root = std::getenv("ZELVORA_SOURCE_DIR");
  return std::string(root != nullptr ? root : ".") + "/examples/";
}

std::string Folder() {
  static std::string folder = [] {
    char name[] = "/tmp/zv-fuzz-engine-XXXXXX";
    const char* made = mkdtemp(name);
    if (made == nullptr) {
      std::perror("mkdtemp");
      std::exit(2);
    }
    return std::string(made) + "/";
  }();
  return folder;
}

double Limit = 5;
double Longest = 0;
std::string LongestCall;
std::map<int, long long> StartResults;
long long Cycles = 0;

// Runs one engine call, timed; an exception out of it is a fault.
template <class F>
void Call(const char* what, F body) {
  const auto start = std::chrono::steady_clock::now();
  try {
    body();
  } catch (const std::exception& e) {
    Fault(std::string(what) + ": an exception escaped: " + e.what());
  } catch (...) {
    Fault(std::string(what) + ": an exception escaped");
  }
  const double took = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  if (took > Longest) {
    Longest = took;
    LongestCall = what;
  }
  if (took > Limit) Fault(std::string(what) + " took " + std::to_string(took) + " s");
}

void Run(const std::string& input, const std::string& data) {
  const std::string folder = Folder();
  const std::string inputFile = folder + "work.inp";
  WriteFileAtomic(inputFile, input);
  // The histogram count the binding would pass: the model's own.
  int histograms = 0;
  Call("read", [&] {
    TRietveld model;
    TMessageTrap trap;
    try {
      if (model.ReadInputFile(inputFile)) histograms = model.HistogramCount();
    } catch (const Exception&) {
    }
  });
  if (histograms < 1) return;
  TZdEngine engine;
  int error = -1;
  Call("start", [&] { error = engine.Start(histograms, inputFile, data, folder + "w.out", folder + "w"); });
  ++StartResults[error];
  if (error != 0) return;
  int converged = 0;
  Call("cycle", [&] { error = engine.Iterate(histograms, 1, converged); });
  ++Cycles;
  std::vector<float> values(ZD_RDF_POINTS);
  Call("rdf", [&] { engine.Rdf(values.data(), 10, 1, 5); });
  std::vector<float> map(ZD_FOURIER_GRID * ZD_FOURIER_GRID * ZD_FOURIER_GRID);
  float lo = 0, hi = 0;
  Call("map", [&] { engine.Fourier(1, 1, 3, 1, lo, hi, map.data()); });
  Call("close", [&] { engine.Close(true); });
}

fuzzdriver::TTarget Target(const std::string& name, const std::string& data) {
  fuzzdriver::TTarget t;
  t.Name = name;
  t.Seeds = {fuzzdriver::ReadWholeFile((Examples() + name + ".inp").c_str())};
  if (t.Seeds.front().empty()) {
    std::fprintf(stderr, "no example %s (set ZELVORA_SOURCE_DIR)\n", name.c_str());
    std::exit(2);
  }
  const std::string dataName = Examples() + data;
  t.Run = [dataName](const std::string& input) { Run(input, dataName); };
  // Values that once hung the engine or overflowed a conversion, in the widths of the file's fields.
  t.Dictionary = {" 1.0E+38", "380.0000", "1.00E-30", " 1.0E+30", "-1.0E+30", "9999.999", "  0.0001", " 1.0E-06",
                  "  1.0E38", "179.9990", " 60.0000", "119.9999", "   0.001", "    2   ", "   2", "   5", "   7",
                  "P 1", "F M -3 M", "I A -3 D", "  100.000", "1000.000", " 0.00000", "-0.00001"};
  return t;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<char*> args;
  for (int i = 0; i < argc; ++i) {
    if (std::string(argv[i]) == "--limit" && i + 1 < argc) {
      Limit = std::atof(argv[++i]);
      continue;
    }
    args.push_back(argv[i]);
  }
  std::vector<fuzzdriver::TTarget> targets = {Target("xray-cw", "xray-cw"), Target("corundum", "corundum"),
                                              Target("two-phase", "two-phase"), Target("tof", "tof")};
  const int status = fuzzdriver::Main(static_cast<int>(args.size()), args.data(), "fuzz_engine", targets);
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  std::printf("longest call %.3f s (%s); %lld cycles; peak memory %ld MB\nstart results:", Longest,
              LongestCall.c_str(), Cycles, usage.ru_maxrss / 1024);
  for (const auto& [code, count] : StartResults) std::printf(" %d:%lld", code, count);
  std::printf("\n");
  std::error_code ignored;
  std::filesystem::remove_all(Folder(), ignored);
  return status;
}
