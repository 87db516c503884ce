// The chart editor window on one series of the further types, on a real
// display, to look at (not a test): the argument is the series class
// ("TPolarSeries", "TGaugeSeries", ...), the second (optional) the series
// page's tab to show first ("Format", "Circled", ...). With
// ZELVORA_DEMO_SHOT=<file.png> a picture of the screen is saved after a
// moment and the program quits.
#include <cstdlib>
#include <string>

#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QTimer>

#include "chart/core/chart.h"
#include "chart/editor/grafedit.h"
#include "chart/editor/grafeditreg.h"
#include "chart/extra/extraregister.h"
#include "chart/series/series.h"

int main(int argc, char** argv) {
  Application->Initialize();
  RegisterChartEditorUnits();
  RegisterExtraSeriesTypes();
  const std::string what = argc > 1 ? argv[1] : "TPolarSeries";
  TForm* host = nullptr;
  Application->CreateForm(host);
  host->SetCaption("Series editor demo: " + what);
  host->SetBounds(20, 20, 420, 320);
  auto* chart = new TChart(host);
  chart->SetParent(host);
  chart->SetAlign(alClient);
  TClass cls = GetClass(what);
  auto* series = cls ? dynamic_cast<TChartSeries*>(CreateComponentOfClass(cls, host)) : nullptr;
  if (!series) return 1;
  series->SetName("Demo");
  series->SetParentChart(chart);
  series->LoadDemoData();
  host->Show();
  if (const char* shot = std::getenv("ZELVORA_DEMO_SHOT"))
    QTimer::singleShot(1500, [file = std::string(shot)] {
      QGuiApplication::primaryScreen()->grabWindow(0).save(QString::fromStdString(file));
      std::exit(0);
    });
  auto* editor = new TChartEditor(host);
  editor->SetSeries(series);
  editor->ShowEditor();
  return 0;
}
