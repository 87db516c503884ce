// Repainting long curves: a fast line series of powder-like data (40 sharp
// peaks on a slow background, 10^5, 10^6 and 10^7 points) and the pattern
// plot (100,000 observed points and the calculated and difference curves),
// each as a whole chart painted into a 1000 x 600 bitmap, and filling the
// series from arrays. Baselines in the same program on the same data: the
// least work a correct line plot can do (bare QPainter drawing the data
// reduced to one min/max vertical segment per pixel column, reading every
// point once per repaint) and, where it is installed, QCustomPlot's
// replot() and setData() (a benchmark-only dependency). Goals: fast line
// repaint within 1.5x the min/max limit and 0.8x QCustomPlot's replot;
// filling within 1.0x QCustomPlot's setData; the pattern plot within 3x the
// limit of 3 x 10^5 points.
#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <memory>
#include <utility>
#include <vector>

#include "chart/core/chart.h"
#include "chart/series/patterndata.h"
#include "chart/series/series.h"
#include "platform/gfx/bitmap.h"
#include "platform/gfx/qt_private.h"

#ifdef ZV_HAVE_QCUSTOMPLOT
#include <qcustomplot.h>
#endif

namespace {

constexpr int kWidth = 1000, kHeight = 600;

struct TCurve {
  std::vector<double> X, Y;
};

// A powder pattern: 10 to 130 degrees, a slowly falling background and 40
// sharp peaks (pseudo-Voigt, FWHM 0.05 to 0.15 degrees, heights up to 20
// times the background) with counting noise.
TCurve MakePowder(int n) {
  TCurve c;
  c.X.resize(static_cast<size_t>(n));
  c.Y.resize(static_cast<size_t>(n));
  uint32_t state = 7;
  auto uniform = [&state] {
    state = state * 1664525u + 1013904223u;
    return (state >> 8) / 16777216.0;
  };
  struct TPeak {
    double At, Fwhm, Height;
  };
  std::vector<TPeak> peaks;
  for (int k = 0; k < 40; ++k) peaks.push_back({12 + 116 * uniform(), 0.05 + 0.1 * uniform(), 200 + 4000 * uniform() * uniform()});
  for (int i = 0; i < n; ++i) {
    const double x = 10 + 120.0 * i / std::max(1, n - 1);
    double y = 150 + 300 * std::exp(-(x - 10) / 25);
    for (const TPeak& p : peaks) {
      const double d = (x - p.At) / p.Fwhm;
      if (std::fabs(d) > 40) continue;
      y += p.Height * (0.5 / (1 + 4 * d * d) + 0.5 * std::exp(-2.772589 * d * d));
    }
    // Counting noise of about sqrt(y), from a sum of uniforms.
    const double noise = (uniform() + uniform() + uniform() - 1.5) * 2;
    c.X[static_cast<size_t>(i)] = x;
    c.Y[static_cast<size_t>(i)] = y + noise * std::sqrt(y);
  }
  return c;
}

// The curves are made once per size: the largest takes seconds.
const TCurve& Powder(int n) {
  static std::vector<std::pair<int, std::unique_ptr<TCurve>>> made;
  for (auto& [size, curve] : made)
    if (size == n) return *curve;
  made.emplace_back(n, std::make_unique<TCurve>(MakePowder(n)));
  return *made.back().second;
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
  const TCurve& c = Powder(n);
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
  const TCurve& c = Powder(n);
  QImage image(kWidth, kHeight, QImage::Format_RGB32);
  std::vector<int> lo(kWidth), hi(kWidth);
  const auto [yLow, yHigh] = std::minmax_element(c.Y.begin(), c.Y.end());
  const double x0 = 10, xScale = (kWidth - 1) / 120.0, y0 = *yLow, yScale = (kHeight - 1) / (*yHigh - *yLow);
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

// Filling a fast line series from two arrays of n points: AddArray, and one
// point at a time between SuspendUpdates and ResumeUpdates.
void BM_FastLineFill(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const TCurve& c = Powder(n);
  TChart chart(nullptr);
  chart.SetBounds(0, 0, kWidth, kHeight);
  for (auto _ : state) {
    auto* s = new TFastLineSeries(&chart);
    s->SetParentChart(&chart);
    s->AddArray(c.X.data(), c.Y.data(), n);
    benchmark::DoNotOptimize(s->PointCount());
    state.PauseTiming();
    delete s;
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * n);
}

void BM_FastLineFillPointByPoint(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const TCurve& c = Powder(n);
  TChart chart(nullptr);
  chart.SetBounds(0, 0, kWidth, kHeight);
  for (auto _ : state) {
    auto* s = new TFastLineSeries(&chart);
    s->SetParentChart(&chart);
    Fill(s, c.X, c.Y);
    benchmark::DoNotOptimize(s->PointCount());
    state.PauseTiming();
    delete s;
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * n);
}

#ifdef ZV_HAVE_QCUSTOMPLOT
// QCustomPlot set up for speed as its documentation advises for large data:
// no antialiasing, fast polylines, adaptive sampling (its default); one
// graph of the same data and range, replotted into its own buffers.
struct TQcpPlot {
  QCustomPlot Plot;
  QCPGraph* Graph;
  TQcpPlot() {
    Plot.resize(kWidth, kHeight);
    Plot.setNotAntialiasedElements(QCP::aeAll);
    Plot.setPlottingHints(QCP::phFastPolylines | QCP::phCacheLabels);
    Graph = Plot.addGraph();
    Graph->setPen(QPen(Qt::red, 0));
    Graph->setAdaptiveSampling(true);
  }
  void SetData(const TCurve& c) {
    const QVector<double> x(c.X.begin(), c.X.end()), y(c.Y.begin(), c.Y.end());
    Graph->setData(x, y);
  }
};

void BM_QCustomPlotReplot(benchmark::State& state) {
  EnsureQtApplication();
  const int n = static_cast<int>(state.range(0));
  TQcpPlot q;
  q.SetData(Powder(n));
  q.Plot.rescaleAxes();
  q.Plot.replot();
  for (auto _ : state) {
    q.Plot.replot();
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * n);
}

// setData from the same two arrays (copied into the vectors it takes).
void BM_QCustomPlotSetData(benchmark::State& state) {
  EnsureQtApplication();
  const int n = static_cast<int>(state.range(0));
  const TCurve& c = Powder(n);
  for (auto _ : state) {
    state.PauseTiming();
    auto q = std::make_unique<TQcpPlot>();
    state.ResumeTiming();
    q->SetData(c);
    benchmark::DoNotOptimize(q->Graph->dataCount());
    state.PauseTiming();
    q.reset();
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(BM_QCustomPlotReplot)->Arg(100000)->Arg(1000000)->Arg(10000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QCustomPlotSetData)->Arg(100000)->Arg(1000000)->Arg(10000000)->Unit(benchmark::kMillisecond);
#endif

// Two points: the chart's frame alone (background, axes, labels, grid, copy to the target).
BENCHMARK(BM_FastLineRepaint)->Arg(2)->Arg(100000)->Arg(1000000)->Arg(10000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MinMaxBaseline)->Arg(100000)->Arg(300000)->Arg(1000000)->Arg(10000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FastLineFill)->Arg(100000)->Arg(1000000)->Arg(10000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FastLineFillPointByPoint)->Arg(100000)->Arg(1000000)->Arg(10000000)->Unit(benchmark::kMillisecond);
// Observed points as the point series draws them by default (outlined squares
// of half size 4, psRectangle) and as small crosses (psCross).
BENCHMARK(BM_PatternPlotRepaint)->Arg(psCross)->Arg(psRectangle)->Unit(benchmark::kMillisecond);

}  // namespace
