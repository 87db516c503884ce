// The chart data grid on a series of 10^6 points: one repaint with the view
// at the first rows, in the middle and at the last rows. A paint touches the
// visible rows only, so the goal is the end within 1.2x of the start (the
// baseline, BM_PaintStart). The PaintedRows counter shows how many data rows
// one paint drew. BM_ScrollThrough pages the view down through the series,
// one repaint a page.
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "chart/core/chart.h"
#include "chart/editor/grafchartgrid.h"
#include "chart/series/series.h"
#include "platform/gfx/qt_private.h"

namespace {

constexpr int kPoints = 1000000;

struct TFixture {
  std::unique_ptr<TChart> Chart;
  TLineSeries* Series = nullptr;
  std::unique_ptr<TChartGrid> Grid;
};

TFixture& Fixture() {
  static TFixture f = [] {
    EnsureQtApplication();
    TFixture r;
    r.Chart = std::make_unique<TChart>(nullptr);
    r.Series = new TLineSeries(r.Chart.get());
    r.Series->SetParentChart(r.Chart.get());
    std::vector<double> x(kPoints), y(kPoints);
    for (int i = 0; i < kPoints; ++i) {
      x[static_cast<size_t>(i)] = i;
      y[static_cast<size_t>(i)] = 1000 + (i % 1000) * 0.5;
    }
    r.Series->AddArray(x.data(), y.data(), kPoints);
    r.Grid = std::make_unique<TChartGrid>(nullptr);
    r.Grid->SetBounds(0, 0, 600, 400);
    r.Grid->SetShowColors(true);
    r.Grid->SetSeries(r.Series);
    return r;
  }();
  return f;
}

void Paint(benchmark::State& state, bool end, bool middle) {
  TFixture& f = Fixture();
  const int first = f.Grid->FixedRows();
  f.Grid->SetTopRow(end ? f.Grid->MaxTopRow() : middle ? first + kPoints / 2 : first);
  for (auto _ : state) {
    f.Grid->Repaint();
    benchmark::ClobberMemory();
  }
  state.counters["TopRow"] = f.Grid->TopRow();
  state.counters["PaintedRows"] = f.Grid->PaintedDataRows();
}

void BM_PaintStart(benchmark::State& state) { Paint(state, false, false); }
void BM_PaintMiddle(benchmark::State& state) { Paint(state, false, true); }
void BM_PaintEnd(benchmark::State& state) { Paint(state, true, false); }

void BM_ScrollThrough(benchmark::State& state) {
  TFixture& f = Fixture();
  const int first = f.Grid->FixedRows();
  const int page = f.Grid->VisibleRowCount();
  // Big steps, so one pass reaches the end of the series.
  const int step = kPoints / 1000;
  int top = first;
  for (auto _ : state) {
    top += step;
    if (top > f.Grid->MaxTopRow()) top = first;
    f.Grid->SetTopRow(top);
    f.Grid->Repaint();
    benchmark::ClobberMemory();
  }
  state.counters["PageRows"] = page;
  state.counters["PaintedRows"] = f.Grid->PaintedDataRows();
}

BENCHMARK(BM_PaintStart);
BENCHMARK(BM_PaintMiddle);
BENCHMARK(BM_PaintEnd);
BENCHMARK(BM_ScrollThrough);

}  // namespace
