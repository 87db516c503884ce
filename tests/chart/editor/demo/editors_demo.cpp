// The chart editor's dialogs and pages on a real display, to look at (not a
// test). The argument names the form: pen, brush, gradient, shadow, font,
// symbol, shape, format, increment, source, general, gallery, navigator,
// and the chart-wide pages axis, legend, 3d, paging, walls, titles, panel.
// With ZELVORA_DEMO_SHOT=<file.png> a picture of the screen is saved after a
// moment and the program quits.
#include <cstdlib>
#include <string>

#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QTimer>

#include "chart/editor/grafaxisincr.h"
#include "chart/editor/grafbrushdlg.h"
#include "chart/editor/grafcustomshapeeditor.h"
#include "chart/editor/grafedi3d.h"
#include "chart/editor/grafediaxis.h"
#include "chart/editor/grafedigene.h"
#include "chart/editor/grafedilege.h"
#include "chart/editor/grafedipage.h"
#include "chart/editor/grafedipane.h"
#include "chart/editor/grafedititl.h"
#include "chart/editor/grafediwall.h"
#include "chart/editor/grafeditreg.h"
#include "chart/editor/grafformatting.h"
#include "chart/editor/graffuncedit.h"
#include "chart/editor/grafgally.h"
#include "chart/editor/grafsymboleditor.h"
#include "chart/series/series.h"

namespace {

void ShotAndQuit() {
  const char* shot = std::getenv("ZELVORA_DEMO_SHOT");
  if (!shot) return;
  QTimer::singleShot(1500, [file = std::string(shot)] {
    QGuiApplication::primaryScreen()->grabWindow(0).save(QString::fromStdString(file));
    std::exit(0);
  });
}

TChart* DemoChart(TForm* Form) {
  auto* chart = new TChart(Form);
  chart->SetParent(Form);
  chart->SetBounds(10, 10, 300, 200);
  for (const char* title : {"Observed", "Calculated"}) {
    auto* s = new TLineSeries(Form);
    s->SetName(std::string(title));
    s->SetTitle(title);
    s->SetParentChart(chart);
    for (int i = 0; i < 20; ++i) s->AddSingleValue((i * 7 % 11) + (title[0] == 'O' ? 0 : 2));
  }
  return chart;
}

}  // namespace

int main(int argc, char** argv) {
  Application->Initialize();
  RegisterChartEditorUnits();
  const std::string what = argc > 1 ? argv[1] : "gallery";
  TForm* host = nullptr;
  Application->CreateForm(host);
  host->SetCaption("Chart editor demo: " + what);
  host->SetBounds(40, 40, 700, 480);
  TChart* chart = DemoChart(host);
  auto* sheet = new TPanel(host);
  sheet->SetParent(host);
  sheet->SetBounds(320, 10, 370, 300);
  host->Show();
  ShotAndQuit();

  static TChartPen pen;
  static TChartBrush brush;
  static TGrafGradient gradient;
  gradient.SetVisible(true);
  if (what == "pen") {
    pen.SetWidth(3);
    pen.SetColor(clRed);
    auto* button = new TButtonPen(host);
    button->SetParent(host);
    button->SetBounds(10, 220, 90, 25);
    button->SetCaption("&Border...");
    button->LinkPen(&pen);
    button->Click();
  } else if (what == "brush") {
    RunBrushDialog(host, &brush);
  } else if (what == "gradient") {
    RunGradientEditor(host, &gradient, false, false);
  } else if (what == "shadow") {
    RunShadowEditor(host, chart->Title()->Shadow());
  } else if (what == "font") {
    auto* f = new TGrafFontEditor(host);
    EmbedFormInSheet(f, sheet);
    f->BindFont(chart->Title()->Font());
  } else if (what == "symbol") {
    auto* f = new TSymbolEditor(host);
    EmbedFormInSheetWithTag(f, sheet, chart->Legend()->Symbol());
  } else if (what == "shape") {
    TFormGrafShape::CreateShapeEditor(host, chart->Legend(), sheet)->BindShape(chart->Legend());
  } else if (what == "format") {
    TFormatEditor::EditFormat(host, "#,##0.00", true);
  } else if (what == "increment") {
    TAxisIncrement dialog(host);
    dialog.IsDateTime = true;
    dialog.Increment = 1.5;
    dialog.ShowModal();
  } else if (what == "source") {
    auto* page = new TGrafFuncEditor(host);
    EmbedFormInSheetWithTag(page, sheet, chart->SeriesAt(1));
  } else if (what == "general") {
    EmbedFormInSheet(new TFormGrafGeneral(host, chart), sheet);
  } else if (what == "axis" || what == "legend" || what == "3d" || what == "paging" || what == "walls" ||
             what == "titles" || what == "panel") {
    // The chart-wide pages of the editor window.
    sheet->SetBounds(320, 10, 420, 280);
    host->SetWidth(760);
    TForm* page = nullptr;
    if (what == "axis") page = new TFormGrafAxis(host, chart->LeftAxis());
    else if (what == "legend") page = TFormGrafLegend::CreateForLegend(host, chart->Legend());
    else if (what == "3d") page = new TFormGraf3D(host, chart);
    else if (what == "paging") page = new TFormGrafPage(host, chart);
    else if (what == "walls") page = new TFormGrafWall(host, chart->LeftWall());
    else if (what == "titles") page = new TFormGrafTitle(host, chart->Title(), chart);
    else page = new TFormGrafPanel(host, chart);
    EmbedFormInSheet(page, sheet);
  } else if (what == "navigator") {
    chart->SetMaxPointsPerPage(5);
    auto* nav = new TChartPageNavigator(host);
    nav->SetParent(host);
    nav->SetBounds(10, 220, 245, 25);
    nav->SetChart(chart);
  } else {
    int sub = -1;
    CreateSeriesFromGallery(host, nullptr, chart, true, false, sub);
  }
  Application->Run();
  return 0;
}
