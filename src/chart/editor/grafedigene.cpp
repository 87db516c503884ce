#include "chart/editor/grafedigene.h"

#include "platform/ui/commondialogs.h"

// ---- The page navigator ------------------------------------------------------------

ZV_CLASS_IMPL(TChartPageNavigator, TCustomGrafNavigator)

void TChartPageNavigator::DeclareProperties(TClassInfo& c) {
  c.Object<TChartPageNavigator, TCustomChart>("Chart", &TChartPageNavigator::Chart, &TChartPageNavigator::SetChart);
}

void TChartPageNavigator::SetPanel(TCustomGrafPanel* Panel) {
  TCustomGrafNavigator::SetPanel(dynamic_cast<TCustomAxisPanel*>(Panel));
}

void TChartPageNavigator::BtnClick(int Index) {
  if (TCustomAxisPanel* chart = AxisPanel()) {
    const int page = chart->Page();
    switch (Index) {
      case nbFirst:
        if (page > 1) chart->SetPage(1);
        break;
      case nbPrior:
        if (page > 1) chart->SetPage(page - 1);
        break;
      case nbNext:
        if (page < chart->PageCount()) chart->SetPage(page + 1);
        break;
      case nbLast:
        if (page < chart->PageCount()) chart->SetPage(chart->PageCount());
        break;
      default: break;
    }
  }
  EnableButtons();
  TCustomGrafNavigator::BtnClick(Index);
}

void TChartPageNavigator::EnableButtons() {
  TCustomAxisPanel* chart = AxisPanel();
  const int page = chart ? chart->Page() : 1;
  const int count = chart ? chart->PageCount() : 1;
  Buttons(nbFirst)->SetEnabled(chart && page > 1);
  Buttons(nbPrior)->SetEnabled(chart && page > 1);
  Buttons(nbNext)->SetEnabled(chart && page < count);
  Buttons(nbLast)->SetEnabled(chart && page < count);
}

void TChartPageNavigator::ChartEvent(TGrafEvent* Event) {
  if (dynamic_cast<TChartChangePage*>(Event)) {
    EnableButtons();
  } else if (auto* e = dynamic_cast<TGrafSeriesEvent*>(Event); e && e->Event == seDataChanged) {
    EnableButtons();
  }
}

int TChartPageNavigator::PageCount() {
  TCustomAxisPanel* chart = AxisPanel();
  return chart ? chart->PageCount() : 1;
}

void TChartPageNavigator::PrintPages() {
  TCustomAxisPanel* chart = AxisPanel();
  if (!chart) return;
  const int count = chart->PageCount();
  if (count < 2) {
    chart->PrintPages(1, 1);
    return;
  }
  TPrintDialog dialog(this);
  dialog.FromPage = dialog.MinPage = 1;
  dialog.ToPage = dialog.MaxPage = count;
  dialog.Options.Include(poPageNums);
  dialog.PrintRange = prPageNums;
  if (dialog.Execute()) chart->PrintPages(dialog.FromPage, dialog.ToPage);
}

void RegisterGeneralPageClasses() { RegisterClasses({&TChartPageNavigator::StaticClass()}); }
