// The chart file's cost against raw file streams. Goal: writing a chart with
// a 10^6-point fast line series to a chart file and reading it back into a
// fresh chart (BM_ChartFileRoundTrip) takes at most 3 x writing and reading
// the same 2 x 10^6 doubles through the layer's file streams
// (BM_DoublesRoundTrip). Both save the file the way a file for the user is
// saved (atomically, flushed to disk); BM_DoublesRoundTripUnflushed shows the
// baseline without the flush, BM_ChartStreamRoundTrip the chart file's part
// without the file.
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <vector>

#include "chart/editor/grafeditreg.h"
#include "chart/editor/grafstore.h"
#include "chart/series/series.h"
#include "platform/rtl/fileutils.h"
#include "platform/rtl/streams.h"
#include "platform/rtl/sysinfo.h"

namespace {

constexpr int kPoints = 1000000;

double XAt(int i) { return i * 0.01; }
double YAt(int i) { return 1000 + 800 * std::sin(i * 0.002) * std::cos(i * 0.0003); }

std::string BenchFile(const char* name) { return WorkFolder() + name; }

void ChartSetUp(TChart& chart) {
  RegisterChartEditorUnits();
  auto* series = new TFastLineSeries(&chart);
  series->SetParentChart(&chart);
  series->SuspendUpdates();
  for (int i = 0; i < kPoints; ++i) series->AddXYPoint(XAt(i), YAt(i));
  series->ResumeUpdates();
}

void CheckRead(benchmark::State& state, TChart& fresh) {
  if (fresh.NumberOfSeries() != 1 || fresh.SeriesAt(0)->PointCount() != kPoints)
    state.SkipWithError("the chart read back differs");
}

void BM_ChartFileRoundTrip(benchmark::State& state) {
  TChart chart(nullptr);
  ChartSetUp(chart);
  const std::string file = BenchFile("bench.grf");
  for (auto _ : state) {
    WriteChartFile(&chart, file);
    TChart fresh(nullptr);
    TMemoryStream in;
    in.LoadFromFile(file);
    ReadChartStream(&fresh, in);
    CheckRead(state, fresh);
  }
  state.SetBytesProcessed(state.iterations() * int64_t(kPoints) * 16);
}

void BM_ChartStreamRoundTrip(benchmark::State& state) {
  TChart chart(nullptr);
  ChartSetUp(chart);
  for (auto _ : state) {
    TMemoryStream stream;
    WriteChartStream(&chart, stream);
    stream.SetPosition(0);
    TChart fresh(nullptr);
    ReadChartStream(&fresh, stream);
    CheckRead(state, fresh);
  }
}

// The two halves of the chart stream's round trip.
void BM_ChartStreamWrite(benchmark::State& state) {
  TChart chart(nullptr);
  ChartSetUp(chart);
  for (auto _ : state) {
    TMemoryStream stream;
    WriteChartStream(&chart, stream);
    benchmark::DoNotOptimize(stream.Memory());
  }
}

void BM_ChartStreamRead(benchmark::State& state) {
  TChart chart(nullptr);
  ChartSetUp(chart);
  TMemoryStream stream;
  WriteChartStream(&chart, stream);
  for (auto _ : state) {
    stream.SetPosition(0);
    TChart fresh(nullptr);
    ReadChartStream(&fresh, stream);
    CheckRead(state, fresh);
  }
}

void DoublesRoundTrip(benchmark::State& state, bool flushed) {
  std::vector<double> values(2 * size_t(kPoints));
  for (int i = 0; i < kPoints; ++i) values[2 * size_t(i)] = XAt(i), values[2 * size_t(i) + 1] = YAt(i);
  std::vector<double> back(values.size());
  const std::string file = BenchFile("bench.bin");
  const int64_t bytes = int64_t(values.size() * sizeof(double));
  for (auto _ : state) {
    if (flushed) {
      TMemoryStream out;
      out.WriteBuffer(values.data(), bytes);
      out.SaveToFile(file);
    } else {
      TFileStream out(file, fmCreate);
      out.WriteBuffer(values.data(), bytes);
    }
    TFileStream in(file, fmOpenRead);
    in.ReadBuffer(back.data(), bytes);
    benchmark::DoNotOptimize(back.data());
  }
  if (back != values) state.SkipWithError("the doubles read back differ");
  state.SetBytesProcessed(state.iterations() * bytes);
}

void BM_DoublesRoundTrip(benchmark::State& state) { DoublesRoundTrip(state, true); }
void BM_DoublesRoundTripUnflushed(benchmark::State& state) { DoublesRoundTrip(state, false); }

BENCHMARK(BM_ChartFileRoundTrip)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_DoublesRoundTrip)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_ChartStreamRoundTrip)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_DoublesRoundTripUnflushed)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_ChartStreamWrite)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_ChartStreamRead)->Unit(benchmark::kMillisecond)->MinTime(2);

}  // namespace
