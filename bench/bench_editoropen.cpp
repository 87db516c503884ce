// Opening the chart editor on the pattern plot of a 10^5-point refinement
// and closing it, against one repaint of that plot, in the same run. Each
// iteration repaints the plot once and opens and closes the editor once
// (the window made, shown on its series list, painted, closed and freed);
// the counters give both in milliseconds and their ratio (the goal: at
// most 5).
//   QT_QPA_PLATFORM=offscreen ./bench_editoropen
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <cmath>
#include <memory>

#include "app/patternplot.h"
#include "chart/editor/editchar.h"
#include "chart/editor/grafeditreg.h"
#include "model/global.h"
#include "model/plotdata.h"
#include "platform/gfx/bitmap.h"
#include "support/gui/guitest.h"
#include "support/tempdir.h"

namespace {

using TClock = std::chrono::steady_clock;

// A refinement's pattern: observed and calculated curves of a few dozen
// peaks on a background, with reflection markers.
void FillPattern(TPlotData& data, int points) {
  const int markers = 200;
  data.Allocate(points, markers);
  data.SetPointCount(points);
  for (int i = 0; i < points; ++i) {
    const double x = 5 + 115.0 * i / points;
    double y = 100 + 20 * std::sin(x / 7);
    for (int p = 0; p < 40; ++p) {
      const double c = 10 + p * 2.7, d = (x - c) / 0.08;
      y += 2000.0 / (1 + p % 5) * std::exp(-d * d / 2);
    }
    data.X()[i] = static_cast<float>(x);
    data.Y()[i] = static_cast<float>(y * (1 + 0.02 * std::sin(i * 12.9898)));
    data.Calculated()[i] = static_cast<float>(y);
  }
  for (int m = 0; m < markers; ++m) {
    data.MarkerPositions()[m] = static_cast<float>(10 + m * 0.55);
    data.MarkerCodes()[m] = (1 << 26) + (129 << 16) + (128 << 8) + 128;
  }
  data.SetMarkerCount(markers);
  data.SetStatus(4);
  data.SetHistogram(1);
  data.SetTitle("Benchmark pattern");
}

void EditorOpenAgainstRepaint(benchmark::State& state) {
  // The editor remembers its place: in a folder of this run, not the user's settings.
  TTempDir settings;
  setenv("ZELVORA_CONFIG_HOME", settings.Path().c_str(), 1);
  guitest::EnsureGui();
  RegisterChartEditorUnits();
  TPlotData data;
  FillPattern(data, static_cast<int>(state.range(0)));
  auto form = std::make_unique<TPlotForm>(nullptr);
  form->PlotData = &data;
  form->SetTag(1);
  form->SetBounds(0, 0, 900, 600);
  form->Plot();
  TChart* chart = form->Chart1;
  TBitmap image(chart->Width(), chart->Height(), pf24bit);
  const TRect r = Rect(0, 0, chart->Width(), chart->Height());
  chart->DrawOnCanvas(image.Canvas(), r);  // the first drawing lays the chart out

  guitest::TModalResponder answers;
  double repaint = 0, editor = 0;
  for (auto _ : state) {
    auto t0 = TClock::now();
    chart->DrawOnCanvas(image.Canvas(), r);
    repaint += std::chrono::duration<double>(TClock::now() - t0).count();

    answers.Do([](TCustomForm* f) {
      TBitmap shown;
      guitest::ControlPicture(f, shown);  // the window as it first paints
      return mrCancel;
    });
    t0 = TClock::now();
    EditChartWindow(nullptr, chart);
    editor += std::chrono::duration<double>(TClock::now() - t0).count();
  }
  const double n = static_cast<double>(state.iterations());
  state.counters["repaint_ms"] = 1000 * repaint / n;
  state.counters["editor_ms"] = 1000 * editor / n;
  state.counters["ratio"] = repaint > 0 ? editor / repaint : 0;
}

}  // namespace

BENCHMARK(EditorOpenAgainstRepaint)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(10);
