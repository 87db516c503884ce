// The series page on a chart holding one series of a further type, to look
// at on a real display (not a test): argument 1 is the series class, argument
// 2 the caption of the tab to bring forward ("Format" by default). With
// ZELVORA_DEMO_SHOT=<file.png> the screen is saved after a moment and the
// program quits.
#include <cstdlib>
#include <string>

#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QTimer>

#include "chart/core/chart.h"
#include "chart/editor/grafediseri.h"
#include "chart/editor/grafeditreg.h"
#include "chart/editor/graflisb.h"
#include "chart/editor/grafpendlg.h"
#include "chart/extra/extraregister.h"

int main(int argc, char** argv) {
  Application->Initialize();
  RegisterChartEditorUnits();
  RegisterExtraSeriesTypes();
  const std::string what = argc > 1 ? argv[1] : "TBubbleSeries";
  const std::string tab = argc > 2 ? argv[2] : "Format";
  TForm* host = nullptr;
  Application->CreateForm(host);
  host->SetCaption("Series editor demo: " + what);
  host->SetBounds(40, 40, 900, 520);
  auto* chart = new TChart(host);
  chart->SetParent(host);
  chart->SetBounds(10, 10, 380, 260);
  TClass cls = GetClass(what);
  auto* series = cls ? dynamic_cast<TChartSeries*>(CreateComponentOfClass(cls, host)) : nullptr;
  if (!series) return 1;
  series->SetName("Demo");
  series->SetParentChart(chart);
  series->LoadDemoData();
  auto* sheet = new TPanel(host);
  sheet->SetParent(host);
  sheet->SetBounds(400, 10, 480, 360);
  auto* page = new TFormGrafSeries(host);
  auto* list = new TChartListBox(host);
  list->SetParent(host);
  list->SetBounds(10, 280, 300, 200);
  list->OtherItems = page->CBSeries->Items();
  page->SeriesListBox = list;
  list->SetChart(chart);
  EmbedEditorForm(page, sheet, nullptr);
  page->CurrentSeries = series;
  page->SelectCurrentSeries();
  for (int i = 0; i < page->PageSeries->PageCount(); ++i)
    if (page->PageSeries->Pages(i)->Caption() == tab) page->PageSeries->SetActivePage(page->PageSeries->Pages(i));
  host->Show();
  if (const char* shot = std::getenv("ZELVORA_DEMO_SHOT"))
    QTimer::singleShot(1500, [file = std::string(shot)] {
      QGuiApplication::primaryScreen()->grabWindow(0).save(QString::fromStdString(file));
      std::exit(0);
    });
  Application->Run();
  return 0;
}
