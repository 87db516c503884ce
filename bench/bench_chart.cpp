// A whole chart painted into a 1000 x 600 bitmap: 100,000 points of the test
// point series (a small symbol at each point), in 2D and in 3D, with axes,
// walls, a title and the legend.
#include <benchmark/benchmark.h>

#include <cmath>

#include "chart/core/testseries.h"
#include "platform/gfx/bitmap.h"

namespace {

constexpr int kPoints = 100000, kWidth = 1000, kHeight = 600;

void PaintChart(benchmark::State& state, bool is3D, bool clip = true) {
  TChart chart(nullptr);
  chart.SetBounds(0, 0, kWidth, kHeight);
  chart.SetView3D(is3D);
  chart.SetClipPoints(clip);
  chart.Title()->Text()->Add("100,000 points");
  chart.Legend()->SetLegendStyle(lsSeries);
  auto* series = new TTestSeries(&chart);
  series->SetName("Pattern");
  series->Pointer()->StoreHorizSize(1);
  series->Pointer()->StoreVertSize(1);
  series->SuspendUpdates();
  for (int i = 0; i < kPoints; ++i) series->AddXYPoint(i * 0.01, 1000 + 800 * std::sin(i * 0.002) * std::cos(i * 0.0003));
  series->ResumeUpdates();
  series->SetParentChart(&chart);
  TBitmap target(kWidth, kHeight);
  const TRect all = Rect(0, 0, kWidth, kHeight);
  for (auto _ : state) {
    chart.DrawOnCanvas(target.Canvas(), all);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * kPoints);
}

void BM_PaintChart2D(benchmark::State& state) { PaintChart(state, false); }
void BM_PaintChart3D(benchmark::State& state) { PaintChart(state, true); }
// The same without clipping the points to the 3D box of the chart rectangle.
void BM_PaintChart3DUnclipped(benchmark::State& state) { PaintChart(state, true, false); }

BENCHMARK(BM_PaintChart2D)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PaintChart3D)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PaintChart3DUnclipped)->Unit(benchmark::kMillisecond);

}  // namespace
