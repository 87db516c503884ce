// Repainting long curves: a fast line series of 10^6 and 10^7 points, and
// the pattern plot (100,000 observed points and the calculated and
// difference curves), each as a whole chart painted into a 1000 x 600
// bitmap. The baseline in the same program is the least work a correct line
// plot can do: bare QPainter drawing the same data reduced to one min/max
// vertical segment per pixel column, reading every point once per repaint.
// Goals: fast line within 1.5x the baseline of its point count, the pattern
// plot within 3x the baseline of 3 x 10^5 points.
#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <vector>

#include "chart/core/chart.h"
#include "chart/series/patterndata.h"
#include "chart/series/series.h"
#include "platform/gfx/bitmap.h"

namespace {

constexpr int kWidth = 1000, kHeight = 600;

struct TCurve {
  std::vector<double> X, Y;
};

// A noisy curve with peaks: consecutive points wander inside their column.
TCurve MakeCurve(int n) {
  TCurve c;
  c.X.resize(static_cast<size_t>(n));
  c.Y.resize(static_cast<size_t>(n));
  uint32_t state = 99;
  for (int i = 0; i < n; ++i) {
    const double x = 10 + 70.0 * i / n;
    state = state * 1664525u + 1013904223u;
    const double noise = ((state >> 16) % 2001 - 1000.0) / 1000.0;
    c.X[static_cast<size_t>(i)] = x;
    c.Y[static_cast<size_t>(i)] = 200 + 150 * std::sin(x) + 600 * std::exp(-(x - 40) * (x - 40)) + 20 * noise;
  }
  return c;
}

void Fill(TChartSeries* s, const std::vector<double>& x, const std::vector<double>& y) {
  s->SuspendUpdates();
  for (size_t i = 0; i < x.size(); ++i) s->AddXYPoint(x[i], y[i]);
  s->ResumeUpdates();
}

void RepaintLoop(benchmark::State& state, TChart& chart, int64_t points) {
  TBitmap target(kWidth, kHeight);
  const TRect all = Rect(0, 0, kWidth, kHeight);
  chart.DrawOnCanvas(target.Canvas(), all);
  for (auto _ : state) {
    chart.DrawOnCanvas(target.Canvas(), all);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * points);
}

void BM_FastLineRepaint(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const TCurve c = MakeCurve(n);
  TChart chart(nullptr);
  chart.SetBounds(0, 0, kWidth, kHeight);
  chart.SetView3D(false);
  auto* s = new TFastLineSeries(&chart);
  s->SetParentChart(&chart);
  Fill(s, c.X, c.Y);
  RepaintLoop(state, chart, n);
}

void BM_PatternPlotRepaint(benchmark::State& state) {
  const std::vector<TPatternPoint> pattern = MakePattern(100000);
  std::vector<double> x, obs, calc, diff;
  for (const TPatternPoint& p : pattern) {
    x.push_back(p.X);
    obs.push_back(p.Observed);
    calc.push_back(p.Calculated);
    diff.push_back(p.Difference);
  }
  TChart chart(nullptr);
  chart.SetBounds(0, 0, kWidth, kHeight);
  chart.SetView3D(false);
  auto* observed = new TPointSeries(&chart);
  auto* calculated = new TFastLineSeries(&chart);
  auto* difference = new TFastLineSeries(&chart);
  if (state.range(0) == psCross) {
    observed->Pointer()->SetStyle(psCross);
    observed->Pointer()->SetHorizSize(2);
    observed->Pointer()->SetVertSize(2);
  }
  for (TChartSeries* s : std::initializer_list<TChartSeries*>{observed, calculated, difference}) s->SetParentChart(&chart);
  Fill(observed, x, obs);
  Fill(calculated, x, calc);
  Fill(difference, x, diff);
  RepaintLoop(state, chart, 300000);
}

// The baseline: per pixel column the smallest and largest row of its points,
// then one vertical line per column.
void BM_MinMaxBaseline(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const TCurve c = MakeCurve(n);
  QImage image(kWidth, kHeight, QImage::Format_RGB32);
  std::vector<int> lo(kWidth), hi(kWidth);
  const double x0 = 10, xScale = (kWidth - 1) / 70.0, y0 = -100, yScale = (kHeight - 1) / 1100.0;
  for (auto _ : state) {
    image.fill(Qt::white);
    std::fill(lo.begin(), lo.end(), kHeight);
    std::fill(hi.begin(), hi.end(), -1);
    const double* xs = c.X.data();
    const double* ys = c.Y.data();
    for (int i = 0; i < n; ++i) {
      const int col = std::clamp(static_cast<int>((xs[i] - x0) * xScale), 0, kWidth - 1);
      const int row = std::clamp(static_cast<int>((ys[i] - y0) * yScale), 0, kHeight - 1);
      lo[static_cast<size_t>(col)] = std::min(lo[static_cast<size_t>(col)], row);
      hi[static_cast<size_t>(col)] = std::max(hi[static_cast<size_t>(col)], row);
    }
    QPainter painter(&image);
    painter.setPen(QPen(Qt::red, 0));
    for (int col = 0; col < kWidth; ++col)
      if (hi[static_cast<size_t>(col)] >= 0)
        painter.drawLine(col, kHeight - 1 - lo[static_cast<size_t>(col)], col, kHeight - 1 - hi[static_cast<size_t>(col)]);
    painter.end();
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * n);
}

// Two points: the chart's frame alone (background, axes, labels, grid, copy to the target).
BENCHMARK(BM_FastLineRepaint)->Arg(2)->Arg(1000000)->Arg(10000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MinMaxBaseline)->Arg(300000)->Arg(1000000)->Arg(10000000)->Unit(benchmark::kMillisecond);
// Observed points as the point series draws them by default (outlined squares
// of half size 4, psRectangle) and as small crosses (psCross).
BENCHMARK(BM_PatternPlotRepaint)->Arg(psCross)->Arg(psRectangle)->Unit(benchmark::kMillisecond);

}  // namespace
