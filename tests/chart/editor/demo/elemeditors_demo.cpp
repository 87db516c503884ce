// The editor form of one series type on a real display, to look at (not a
// test): the argument is the series class ("TLineSeries", "TContourSeries",
// ...); its editor form is embedded as the series page embeds it, and the
// tabs it adds stand beside it. With ZELVORA_DEMO_SHOT=<file.png> a picture
// of the screen is saved after a moment and the program quits.
#include <cstdlib>
#include <string>

#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QTimer>

#include "chart/core/chart.h"
#include "chart/editor/grafeditreg.h"
#include "chart/editor/grafpendlg.h"
#include "chart/series/series.h"

int main(int argc, char** argv) {
  Application->Initialize();
  RegisterChartEditorUnits();
  const std::string what = argc > 1 ? argv[1] : "TLineSeries";
  TForm* host = nullptr;
  Application->CreateForm(host);
  host->SetCaption("Element editor demo: " + what);
  host->SetBounds(40, 40, 900, 520);
  auto* chart = new TChart(host);
  chart->SetParent(host);
  chart->SetBounds(10, 10, 380, 260);
  TClass cls = GetClass(what);
  auto* series = cls ? dynamic_cast<TChartSeries*>(CreateComponentOfClass(cls, host)) : nullptr;
  if (!series) return 1;
  series->SetName("Demo");
  series->SetParentChart(chart);
  series->LoadDemoData(12);
  auto* sheet = new TPanel(host);
  sheet->SetParent(host);
  sheet->SetBounds(400, 10, 480, 300);
  host->Show();
  if (TClass editor = GetClass(series->EditorFormClassName()))
    if (auto* form = dynamic_cast<TCustomForm*>(CreateComponentOfClass(editor, host))) {
      form->SetAlign(alClient);
      EmbedEditorForm(form, sheet, series);
    }
  if (const char* shot = std::getenv("ZELVORA_DEMO_SHOT"))
    QTimer::singleShot(1500, [file = std::string(shot)] {
      QGuiApplication::primaryScreen()->grabWindow(0).save(QString::fromStdString(file));
      std::exit(0);
    });
  Application->Run();
  return 0;
}
