// Reading and writing a large model: 10 histograms, 20 phases of 200 atoms,
// every atom position and displacement refined and the displacements of each
// phase constrained to its first atom. The file goes to a private temporary
// folder that is removed at exit.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "model/rietclass.h"
#include "platform/dialogs.h"

namespace {

class TBenchFolder {
public:
  TBenchFolder() {
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/zvbench-XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (mkdtemp(buffer.data())) FPath = std::string(buffer.data()) + "/";
  }
  ~TBenchFolder() {
    std::error_code ec;
    if (!FPath.empty()) std::filesystem::remove_all(FPath, ec);
  }
  const std::string& Path() const { return FPath; }

private:
  std::string FPath;
};

TBenchFolder& Folder() {
  static TBenchFolder folder;
  return folder;
}

void BuildLargeModel(TRietveld& m, int histograms, int phases, int atoms) {
  for (int h = 0; h < histograms; ++h) {
    THistogram* hist = m.NewHistogram();
    hist->Job = h % 2 == 0 ? jobXrayData : jobTOFData;
    hist->Profile = h % 2 == 0 ? 4 : profJorgensenTOF;
    hist->HasDisplacement = 1;
    for (int i = 0; i < 20; ++i) hist->Excluded.AddRegion(10.0f * i, 10.0f * i + 1);
    m.Parameters.SetRefined(h + 1, 0, 0, 1, true);
    m.Parameters.SetRefined(h + 1, 0, 0, 2, true);
  }
  for (int p = 1; p <= phases; ++p) {
    TPhase* ph = m.NewPhase();
    ph->Title = "Phase " + std::to_string(p);
    for (int a = 1; a <= atoms; ++a) {
      TAtom atom;
      atom.Label = "A" + std::to_string(a % 1000);
      atom.X = 0.001f * static_cast<float>(a);
      atom.Y = 0.5f - 0.001f * static_cast<float>(a);
      atom.Z = 0.25f;
      ph->AddAtom(atom);
      for (int t = 1; t <= 3; ++t) m.Parameters.SetRefined(0, p, a, t, true);
    }
    m.Parameters.SetRefined(0, p, 0, 1, true);
    m.Parameters.SetRefined(0, p, 1, 4, true);
  }
  for (int p = 1; p <= phases; ++p)
    for (int a = 2; a <= atoms; ++a) {
      TParameter first(0, p, 1, 4, 1), second(0, p, a, 4, 1);
      m.Parameters.AddConstraint(first, second);
    }
}

std::string LargeModelFile() {
  static std::string name;
  if (name.empty()) {
    TRietveld m;
    BuildLargeModel(m, 10, 20, 200);
    name = Folder().Path() + "large.inp";
    m.WriteInputFile(name);
  }
  return name;
}

void BM_ComposeLargeModel(benchmark::State& state) {
  TRietveld m;
  BuildLargeModel(m, 10, 20, 200);
  std::size_t bytes = 0;
  for (auto _ : state) {
    std::string text = m.InputFileText();
    bytes = text.size();
    benchmark::DoNotOptimize(text.data());
  }
  state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_ComposeLargeModel)->Unit(benchmark::kMillisecond);

void BM_WriteLargeModel(benchmark::State& state) {
  TRietveld m;
  BuildLargeModel(m, 10, 20, 200);
  const std::string name = Folder().Path() + "write.inp";
  for (auto _ : state) benchmark::DoNotOptimize(m.WriteInputFile(name));
}
BENCHMARK(BM_WriteLargeModel)->Unit(benchmark::kMillisecond);

void BM_ReadLargeModel(benchmark::State& state) {
  const std::string name = LargeModelFile();
  for (auto _ : state) {
    TRietveld m;
    if (!m.ReadInputFile(name)) state.SkipWithError("the model did not read");
    benchmark::DoNotOptimize(m.RefinedCount());
  }
}
BENCHMARK(BM_ReadLargeModel)->Unit(benchmark::kMillisecond);

}  // namespace
