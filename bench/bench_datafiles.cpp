// Reading a large observed pattern. The file is generated once into a private
// temporary folder and removed at exit; nothing large is kept in the tree.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "model/plotdata.h"
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

// A two-column pattern of n points: 2-theta from 5 degrees and counts.
std::string XyFile(int n) {
  std::string name = Folder().Path() + "pattern-" + std::to_string(n) + ".xy";
  if (std::filesystem::exists(name)) return name;
  std::FILE* f = std::fopen(name.c_str(), "w");
  if (!f) return name;
  std::fprintf(f, "Synthetic pattern of %d points\n", n);
  for (int i = 0; i < n; ++i) std::fprintf(f, "%.5f %d\n", 5.0 + 0.0001 * i, 100 + (i * 7919) % 5000);
  std::fclose(f);
  return name;
}

void BM_ReadXY(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  std::string name = XyFile(n);
  // Messages would go to standard error; a benchmark run must not produce any.
  SetDialogHandler([](const TDialogRequest& r) {
    std::fprintf(stderr, "unexpected message: %s\n", r.Text.c_str());
    return TDialogAnswer{};
  });
  TData data;
  for (auto _ : state) {
    data.ReadXY(name);
    benchmark::DoNotOptimize(data.PointCount());
  }
  if (data.PointCount() != n) state.SkipWithError("wrong point count");
  state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(BM_ReadXY)->Arg(1000000)->Unit(benchmark::kMillisecond);

// The yardstick for BM_ReadXY: the same file read whole and its two columns
// converted by a bare std::from_chars loop into the same three arrays.
void BM_FromCharsBaseline(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  std::string name = XyFile(n);
  std::vector<float> x, y, third;
  int count = 0;
  for (auto _ : state) {
    std::string text;
    if (std::FILE* f = std::fopen(name.c_str(), "rb")) {
      std::fseek(f, 0, SEEK_END);
      text.resize(static_cast<std::size_t>(std::ftell(f)));
      std::fseek(f, 0, SEEK_SET);
      text.resize(std::fread(text.data(), 1, text.size(), f));
      std::fclose(f);
    }
    x.assign(static_cast<std::size_t>(n), 0.0f);
    y.assign(static_cast<std::size_t>(n), 0.0f);
    third.assign(static_cast<std::size_t>(n), 0.0f);
    const char* p = text.data();
    const char* end = p + text.size();
    p = std::find(p, end, '\n');  // the title
    count = 0;
    while (p < end && count < n) {
      while (p < end && static_cast<unsigned char>(*p) <= ' ') ++p;
      double a = 0, b = 0;
      auto r1 = std::from_chars(p, end, a);
      p = r1.ptr;
      while (p < end && *p == ' ') ++p;
      auto r2 = std::from_chars(p, end, b);
      if (r1.ec != std::errc() || r2.ec != std::errc()) break;
      p = r2.ptr;
      x[static_cast<std::size_t>(count)] = static_cast<float>(a);
      y[static_cast<std::size_t>(count)] = static_cast<float>(b);
      third[static_cast<std::size_t>(count)] = 1.0f;
      ++count;
    }
    benchmark::DoNotOptimize(x.data());
    benchmark::DoNotOptimize(y.data());
  }
  if (count != n) state.SkipWithError("wrong point count");
  state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(BM_FromCharsBaseline)->Arg(1000000)->Unit(benchmark::kMillisecond);

}  // namespace
