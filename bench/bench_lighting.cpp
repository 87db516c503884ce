// The lighting tool on a 1000 x 600 chart against the chart's own repaint,
// in the same program: a line chart of 1,000 points with title, axes and
// legend painted into a bitmap, without the tool, with it (linear and spot
// light), and the tool's darkening of a picture of that size alone.
#include <benchmark/benchmark.h>

#include <cmath>

#include "chart/core/chart.h"
#include "chart/extra/graflighting.h"
#include "chart/series/series.h"
#include "platform/gfx/bitmap.h"

namespace {

constexpr int kWidth = 1000, kHeight = 600;

void PaintChart(benchmark::State& state, bool lit, TLightStyle style) {
  TChart chart(nullptr);
  chart.SetBounds(0, 0, kWidth, kHeight);
  chart.SetView3D(false);
  chart.Title()->Text()->Add("Lighting");
  auto* series = new TLineSeries(&chart);
  series->SetName("Pattern");
  for (int i = 0; i < 1000; ++i) series->AddXYPoint(i * 0.1, 1000 + 800 * std::sin(i * 0.02));
  series->SetParentChart(&chart);
  if (lit) {
    auto* light = new TLightTool(&chart);
    light->SetStyle(style);
    chart.Tools()->AddTool(light);
  }
  TBitmap target(kWidth, kHeight);
  const TRect all = Rect(0, 0, kWidth, kHeight);
  for (auto _ : state) {
    chart.DrawOnCanvas(target.Canvas(), all);
    benchmark::ClobberMemory();
  }
}

void BM_ChartRepaint(benchmark::State& state) { PaintChart(state, false, lsLinear); }
void BM_ChartRepaintLitLinear(benchmark::State& state) { PaintChart(state, true, lsLinear); }
void BM_ChartRepaintLitSpot(benchmark::State& state) { PaintChart(state, true, lsSpotLight); }

void BM_DarkenPicture(benchmark::State& state) {
  TBitmap source(kWidth, kHeight), dest(kWidth, kHeight);
  TLightTool tool;
  tool.SetLeft(kWidth / 2);
  tool.SetTop(kHeight / 2);
  for (auto _ : state) {
    tool.DarkenBitmap(&source, &dest);
    benchmark::ClobberMemory();
  }
}

BENCHMARK(BM_ChartRepaint)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ChartRepaintLitLinear)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ChartRepaintLitSpot)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DarkenPicture)->Unit(benchmark::kMillisecond);

}  // namespace
