#include "chart/editor/editchar.h"

#include <memory>

TChartEditForm* CreateChartEditor(TCustomGrafPanel* Chart) {
  auto* form = new TChartEditForm(Application);
  form->SetEditedChart(dynamic_cast<TCustomChart*>(Chart));
  form->ApplyHelpSettings();
  return form;
}

void EditChartAtPage(TComponent*, TCustomGrafPanel* Chart, int Page) {
  std::unique_ptr<TChartEditForm> form(CreateChartEditor(Chart));
  form->StartPage = Page;
  form->ShowModal();
}

void EditChartWindow(TComponent* Owner, TCustomGrafPanel* Chart) { EditChartAtPage(Owner, Chart, cetMain); }
