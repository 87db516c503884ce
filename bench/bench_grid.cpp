// Painting the visible area of the layer's string grid and of the grid
// component built on it: a grid of 100 rows against one of 1,000,000 rows
// scrolled to the middle and to the end. The cost should follow the visible
// area (goal: within 1.2x of the 100-row grid).
#include <benchmark/benchmark.h>

#include <memory>

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

}  // namespace

BENCHMARK(BM_PlusGridPaint100Rows);
BENCHMARK(BM_PlusGridPaintMillionRowsMiddle);
BENCHMARK(BM_PlusGridPaintMillionRowsEnd);
BENCHMARK(BM_Paint100Rows);
BENCHMARK(BM_PaintMillionRowsMiddle);
BENCHMARK(BM_PaintMillionRowsEnd);
