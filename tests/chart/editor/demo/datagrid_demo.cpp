// The data grid with its navigator, the series list box, the series page
// and the tools page on a real display, to look at (not a test). The
// argument names what to show: grid (the default), listbox, series, tools.
// With ZELVORA_DEMO_SHOT=<file.png> a picture of the screen is saved after a
// moment and the program quits.
#include <cstdlib>
#include <string>

#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QTimer>

#include "chart/editor/grafchartgrid.h"
#include "chart/editor/grafediseri.h"
#include "chart/editor/grafedittools.h"
#include "chart/editor/grafeditreg.h"
#include "chart/editor/graflisb.h"
#include "chart/series/graftools.h"
#include "chart/series/series.h"

int main(int argc, char** argv) {
  Application->Initialize();
  RegisterChartEditorUnits();
  const std::string what = argc > 1 ? argv[1] : "grid";
  TForm* host = nullptr;
  Application->CreateForm(host);
  host->SetCaption("Chart editor demo: " + what);
  host->SetBounds(40, 40, 760, 480);
  auto* chart = new TChart(host);
  chart->SetParent(host);
  chart->SetBounds(10, 10, 300, 200);
  for (const char* title : {"Observed", "Calculated", "Difference", "Background"}) {
    auto* s = new TLineSeries(host);
    s->SetName(std::string(title));
    s->SetTitle(title);
    s->SetParentChart(chart);
    for (int i = 0; i < 30; ++i) s->AddSingleValue((i * 7 % 11) + title[0] % 5);
  }
  chart->SeriesAt(1)->XValues()->SetValue(3, 3.5);
  if (what == "listbox") {
    auto* list = new TChartListBox(host);
    list->SetParent(host);
    list->SetBounds(320, 10, 300, 200);
    list->SetChart(chart);
  } else if (what == "series" || what == "tools") {
    auto* sheet = new TPanel(host);
    sheet->SetParent(host);
    sheet->SetBounds(320, 10, 420, 320);
    if (what == "series") {
      auto* page = new TFormGrafSeries(host);
      auto* list = new TChartListBox(host);
      list->SetParent(host);
      list->SetBounds(10, 220, 300, 200);
      list->OtherItems = page->CBSeries->Items();
      page->SeriesListBox = list;
      list->SetChart(chart);
      EmbedEditorForm(page, sheet, nullptr);
      page->CurrentSeries = chart->SeriesAt(0);
      page->SelectCurrentSeries();
    } else {
      for (TClass c : {&TCursorTool::StaticClass(), &TAnnotationTool::StaticClass()}) {
        auto* t = dynamic_cast<TGrafCustomTool*>(CreateComponentOfClass(c, host));
        t->SetParentChart(chart);
      }
      auto* page = new TFormGrafTools(host);
      EmbedEditorForm(page, sheet, chart);
    }
  } else {
    auto* grid = new TChartGrid(host);
    grid->SetParent(host);
    grid->SetBounds(320, 10, 420, 300);
    grid->SetShowColors(true);
    grid->SetChart(chart);
    auto* nav = new TChartGridNavigator(host);
    nav->SetParent(host);
    nav->SetBounds(320, 312, 420, 25);
    nav->SetGrid(grid);
  }
  host->Show();
  if (const char* shot = std::getenv("ZELVORA_DEMO_SHOT")) {
    QTimer::singleShot(1500, [file = std::string(shot)] {
      QGuiApplication::primaryScreen()->grabWindow(0).save(QString::fromStdString(file));
      std::exit(0);
    });
  }
  Application->Run();
  return 0;
}
