// Painting the visible area of the layer's string grid and of the grid
// component built on it: a grid of 100 rows against one of 1,000,000 rows
// scrolled to the middle and to the end. The cost should follow the visible
// area (goal: within 1.2x of the 100-row grid). Then sorting the grid and
// loading delimited text into it, against the least a reader of the same
// file does (goal: the grid within 2x of it at 10^5 and 10^6 lines).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <charconv>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "grid/plusgrid.h"
#include "platform/gfx/qt_private.h"
#include "platform/ui/grids.h"

namespace {

std::unique_ptr<TStringGrid> MakeGrid(int rows, int top) {
  EnsureQtApplication();
  auto g = std::make_unique<TStringGrid>(nullptr);
  g->SetColCount(8);
  g->SetRowCount(rows);
  g->SetBounds(0, 0, 600, 400);
  // A few changed sizes, as a real grid has.
  g->SetColWidths(2, 120);
  g->SetRowHeights(3, 40);
  g->SetRowHeights(rows / 2, 30);
  for (int r = 0; r < rows; r += rows / 100)
    for (int c = 0; c < 8; ++c) g->SetCells(c, r, "cell");
  g->SetTopRow(top);
  for (int r = g->TopRow(); r < g->TopRow() + 20 && r < rows; ++r)
    for (int c = 0; c < 8; ++c) g->SetCells(c, r, "visible");
  return g;
}

void Paint(benchmark::State& state, int rows, int top) {
  auto g = MakeGrid(rows, top);
  for (auto _ : state) {
    g->Repaint();
    benchmark::ClobberMemory();
  }
  state.counters["TopRow"] = g->TopRow();
}

void BM_Paint100Rows(benchmark::State& state) { Paint(state, 100, 50); }
void BM_PaintMillionRowsMiddle(benchmark::State& state) { Paint(state, 1000000, 500000); }
void BM_PaintMillionRowsEnd(benchmark::State& state) { Paint(state, 1000000, 1000000); }

// The string grid's own pipeline over the same visible area: bands, a check
// box and a coloured cell per visible row, texts in every visible cell.
std::unique_ptr<TPlusStringGrid> MakePlusGrid(int rows, int top) {
  EnsureQtApplication();
  auto g = std::make_unique<TPlusStringGrid>(nullptr);
  g->SetColCount(8);
  g->SetRowCount(rows);
  g->SetBounds(0, 0, 600, 400);
  g->Bands()->SetActive(true);
  g->SetColWidths(2, 120);
  g->SetTopRow(top);
  for (int r = g->TopRow(); r < g->TopRow() + 20 && r < rows; ++r) {
    for (int c = 0; c < 8; ++c) g->SetCells(c, r, "visible");
    g->AddCellCheckBox(1, r, r % 2 == 0, false);
    g->GetCellProperties(3, r)->SetBrushColor(clYellow);
  }
  return g;
}

void PaintPlus(benchmark::State& state, int rows, int top) {
  auto g = MakePlusGrid(rows, top);
  for (auto _ : state) {
    g->Repaint();
    benchmark::ClobberMemory();
  }
  state.counters["TopRow"] = g->TopRow();
}

void BM_PlusGridPaint100Rows(benchmark::State& state) { PaintPlus(state, 100, 50); }
void BM_PlusGridPaintMillionRowsMiddle(benchmark::State& state) { PaintPlus(state, 1000000, 500000); }
void BM_PlusGridPaintMillionRowsEnd(benchmark::State& state) { PaintPlus(state, 1000000, 1000000); }

// Sorting the string grid on one numeric column of random values; twice the
// rows should take about twice the time (n log n, no quadratic step).
void SortRows(benchmark::State& state) {
  EnsureQtApplication();
  const int rows = static_cast<int>(state.range(0));
  TPlusStringGrid g(nullptr);
  g.SetColCount(4);
  g.SetRowCount(rows + 1);
  std::mt19937 rng(7);
  std::vector<std::string> values(rows);
  for (auto& v : values) v = std::to_string(rng() % 1000000);
  g.SortSettings()->SetColumn(1);
  for (auto _ : state) {
    state.PauseTiming();
    for (int r = 0; r < rows; ++r) {
      g.SetCells(1, r + 1, values[r]);
      g.SetCells(2, r + 1, "row");
    }
    state.ResumeTiming();
    g.QSort();
  }
  state.SetItemsProcessed(state.iterations() * rows);
}

// A delimited file of that many lines (three fields each), written once
// into the temporary folder and removed with the object.
struct TCsvFile {
  std::string Name;
  explicit TCsvFile(int lines) {
    Name = (std::filesystem::temp_directory_path() /
            ("zv_bench_" + std::to_string(::getpid()) + "_" + std::to_string(lines) + ".csv"))
               .string();
    std::string text;
    for (int i = 0; i < lines; ++i) text += std::to_string(i) + ";Fe" + std::to_string(i % 7) + ";0.125\n";
    std::ofstream(Name, std::ios::binary) << text;
  }
  ~TCsvFile() { std::filesystem::remove(Name); }
};

// Loading the file into the grid.
void LoadCSV(benchmark::State& state) {
  EnsureQtApplication();
  const int lines = static_cast<int>(state.range(0));
  const TCsvFile file(lines);
  const std::string& name = file.Name;
  for (auto _ : state) {
    TPlusStringGrid g(nullptr);
    g.LoadFromCSV(name);
    benchmark::DoNotOptimize(g.RowCount());
  }
  state.SetItemsProcessed(state.iterations() * lines);
}

// The baseline: the whole file read at once, lines and fields found with
// memchr, every field parsed with from_chars into one vector of numbers
// (NaN where a field is no number); with texts, each field also kept as a
// string in one vector, as a grid of texts must keep it.
template <bool Texts>
void ReadAndSplitCSV(benchmark::State& state) {
  const int lines = static_cast<int>(state.range(0));
  const TCsvFile file(lines);
  std::vector<double> values;
  std::vector<std::string> texts;
  for (auto _ : state) {
    texts = std::vector<std::string>();
    std::ifstream in(file.Name, std::ios::binary | std::ios::ate);
    std::string bytes(static_cast<size_t>(in.tellg()), '\0');
    in.seekg(0);
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    values.clear();
    const char* p = bytes.data();
    const char* end = p + bytes.size();
    while (p < end) {
      const char* eol = static_cast<const char*>(std::memchr(p, '\n', static_cast<size_t>(end - p)));
      if (!eol) eol = end;
      while (p < eol) {
        const char* d = static_cast<const char*>(std::memchr(p, ';', static_cast<size_t>(eol - p)));
        if (!d) d = eol;
        double v = NAN;
        std::from_chars(p, d, v);
        values.push_back(v);
        if constexpr (Texts) texts.emplace_back(p, d);
        p = d + 1;
      }
      p = eol + 1;
    }
    benchmark::DoNotOptimize(values.data());
  }
  state.counters["fields"] = static_cast<double>(values.size());
  state.SetItemsProcessed(state.iterations() * lines);
}

}  // namespace

BENCHMARK(BM_PlusGridPaint100Rows);
BENCHMARK(BM_PlusGridPaintMillionRowsMiddle);
BENCHMARK(BM_PlusGridPaintMillionRowsEnd);
BENCHMARK(BM_Paint100Rows);
BENCHMARK(BM_PaintMillionRowsMiddle);
BENCHMARK(BM_PaintMillionRowsEnd);
BENCHMARK(LoadCSV)->Arg(100000)->Arg(200000)->Arg(400000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(ReadAndSplitCSV<false>)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(ReadAndSplitCSV<true>)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(SortRows)->Arg(100000)->Arg(200000)->Unit(benchmark::kMillisecond);
