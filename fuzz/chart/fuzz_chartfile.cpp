// Mutation driver of the chart file reader (ReadChartStream).
//
// Targets:
//   binary  chart files in the binary form (header, component stream, and
//           in some seeds the series' points after the component, as older
//           files have them), read with trailing data
//   text    chart files in the text form
// Rules: only the layer's exceptions come out; a refused file leaves the
// chart that read it with its series and points and repainting again; a
// chart that was read writes a file that reads back with the same series.
#include <memory>
#include <string>
#include <vector>

#include "../platform/fuzzdriver.h"
#include "chart/editor/grafeditreg.h"
#include "chart/editor/grafstore.h"
#include "chart/series/graffunci.h"
#include "chart/series/graftools.h"
#include "chart/series/series.h"
#include "chart/series/series_bar.h"
#include "platform/rtl/streams.h"

void EnsureQtApplication();  // the drawing layer's Qt start-up

namespace {

std::string Bytes(TMemoryStream& m) {
  return std::string(reinterpret_cast<const char*>(m.Memory()), static_cast<size_t>(m.Size()));
}

std::string Written(TChart& chart, bool withData, bool asText) {
  TMemoryStream m;
  WriteChartStream(&chart, m, withData, asText);
  return Bytes(m);
}

// Charts with what files hold: series of several kinds with points, labels
// and colours, a function with its source, tools, axis and title settings.
std::vector<std::unique_ptr<TChart>> SeedCharts() {
  std::vector<std::unique_ptr<TChart>> charts;
  charts.push_back(std::make_unique<TChart>(nullptr));

  auto c = std::make_unique<TChart>(nullptr);
  c->Title()->Text()->Add("Seed");
  c->LeftAxis()->SetAutomatic(false);
  c->LeftAxis()->SetMinimum(-2);
  c->LeftAxis()->SetMaximum(8.5);
  auto* line = new TLineSeries(c.get());
  line->SetName("Series1");
  line->SetParentChart(c.get());
  line->SetTitle("Line");
  line->AddXYPoint(0.5, 1, "one", clRed);
  line->AddXYPoint(1.5, 4, "");
  line->AddXYPoint(2.5, 2, "three");
  auto* bar = new TBarSeries(c.get());
  bar->SetName("Series2");
  bar->SetParentChart(c.get());
  for (double v : {3.0, 1.0, 4.0, 1.0, 5.0}) bar->AddSingleValue(v);
  auto* average = new TLineSeries(c.get());
  average->SetName("Series3");
  average->SetParentChart(c.get());
  CreateSeriesFunction(average, &TAverageGrafFunction::StaticClass());
  average->SetDataSource(bar);
  auto* cursor = new TCursorTool(c.get());
  cursor->SetSeries(line);
  c->Tools()->AddTool(cursor);
  auto* note = new TAnnotationTool(c.get());
  note->SetText("A note");
  c->Tools()->AddTool(note);
  charts.push_back(std::move(c));

  auto fast = std::make_unique<TChart>(nullptr);
  auto* f = new TFastLineSeries(fast.get());
  f->SetParentChart(fast.get());
  for (int i = 0; i < 50; ++i) f->AddXYPoint(i * 0.1, i % 7);
  charts.push_back(std::move(fast));
  return charts;
}

std::vector<std::string> Seeds(bool asText) {
  std::vector<std::string> seeds;
  for (auto& chart : SeedCharts()) {
    seeds.push_back(Written(*chart, true, asText));
    if (!asText) {
      // The older layout: the chart without points, then every series' points.
      std::string older = Written(*chart, false, false);
      for (TChartSeries* s : *chart->SeriesList()) {
        TMemoryStream m;
        s->SavePointData(&m);
        older += Bytes(m);
      }
      seeds.push_back(older);
    }
  }
  return seeds;
}

void Run(const std::string& bytes) {
  fuzzdriver::ExpectLayerErrors([&] {
    TChart chart(nullptr);
    chart.SetName("Reader");
    auto* own = new TLineSeries(&chart);
    own->SetParentChart(&chart);
    own->AddXYPoint(1, 2);
    own->AddXYPoint(3, 4);
    TMemoryStream in;
    if (!bytes.empty()) in.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    in.SetPosition(0);
    try {
      ReadChartStream(&chart, in, true);
    } catch (const Exception&) {
      if (!chart.RepaintOnChange) fuzzdriver::Fault("a refused file left the chart without repainting");
      if (chart.Name() != "Reader") fuzzdriver::Fault("a refused file renamed the chart");
      // Refused before the chart lost anything, or part way through the
      // points that older files carry after the chart.
      throw;
    }
    if (!chart.RepaintOnChange) fuzzdriver::Fault("a read chart does not repaint");
    if (chart.Name() != "Reader") fuzzdriver::Fault("the chart took the stored name");
    // Small enough charts go round once more.
    long long points = 0;
    for (TChartSeries* s : *chart.SeriesList()) points += s->PointCount();
    if (points > 100000) return;
    const std::string again = Written(chart, true, false);
    TChart back(nullptr);
    TMemoryStream m;
    m.WriteBuffer(again.data(), static_cast<int64_t>(again.size()));
    m.SetPosition(0);
    ReadChartStream(&back, m);
    if (back.NumberOfSeries() != chart.NumberOfSeries()) fuzzdriver::Fault("the chart does not read back");
  });
}

// A refused file must leave the chart's series as they were when the
// stream itself is damaged (checked on the component stream alone).
void RunKeeps(const std::string& bytes) {
  fuzzdriver::ExpectLayerErrors([&] {
    TChart chart(nullptr);
    auto* own = new TLineSeries(&chart);
    own->SetParentChart(&chart);
    own->AddXYPoint(1, 2);
    TMemoryStream in;
    if (!bytes.empty()) in.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    in.SetPosition(0);
    try {
      ReadChartStream(&chart, in, false);
    } catch (const Exception&) {
      if (chart.NumberOfSeries() != 1 || chart.SeriesAt(0) != own || own->PointCount() != 1)
        fuzzdriver::Fault("a refused file changed the chart's series");
      throw;
    }
  });
}

}  // namespace

int main(int argc, char** argv) {
  EnsureQtApplication();
  RegisterChartEditorUnits();
  std::vector<fuzzdriver::TTarget> targets;
  const std::vector<std::string> binaryWords{
      std::string("\x60\x30\x57\x01", 4), "TPF0", std::string("\xF1", 1), std::string("\x00\x00\x00\x80", 4),
      std::string("\xFF\xFF\xFF\x7F", 4), std::string("\x0A\xFF\xFF\x00\x00", 5), std::string("\x0E\x01", 2),
      "\x0BTLineSeries", "\x04" "Data", "\x0ETChartSeries"};
  const std::vector<std::string> textWords{"object ", "end\n", "inherited ", " = (", ")\n", " = {", "}\n", "<", ">",
                                           "item\n", "Data = {FF}", " = 'x'#0#$FFFF", "TLineSeries",
                                           "TFastLineSeries", "Series1", "1E4932", "-2147483648"};
  const std::vector<std::string> binarySeeds = Seeds(false);
  targets.push_back({"binary", binarySeeds, Run, binaryWords});
  targets.push_back({"text", Seeds(true), Run, textWords});
  targets.push_back({"keeps", binarySeeds, RunKeeps, binaryWords});
  return fuzzdriver::Main(argc, argv, "fuzz-chartfile", targets);
}
