#include "chart/editor/grafedipage.h"

#include "chart/core/grafconst.h"
#include "chart/core/pagenumclass.h"
#include "chart/core/grafutils.h"
#include "chart/editor/editorbuild.h"
#include "platform/rtl/format.h"

using namespace editorbuild;

ZV_CLASS_IMPL_NOPROPS(TFormGrafPage, TForm)

TFormGrafPage::TFormGrafPage(TComponent* AOwner, TCustomChart* Chart) : TForm(AOwner) {
  SetClientWidth(300);
  SetClientHeight(180);
  SEPointsPerPage = Make<TEdit>(this, this, "SEPointsPerPage", 100, 8, 50, 21);
  UDPointsPerPage = Make<TUpDown>(this, this, "UDPointsPerPage", 150, 8, 15, 21);
  UDPointsPerPage->SetMin(0);
  UDPointsPerPage->SetMax(32000);
  UDPointsPerPage->SetThousands(false);
  UDPointsPerPage->SetAssociate(SEPointsPerPage);
  UDPointsPerPage->SetPosition(0);
  Label1 = MakeLabel(this, this, "Label1", 8, 12, "P&oints per Page:", SEPointsPerPage);
  CBScaleLast = Make<TCheckBox>(this, this, "CBScaleLast", 8, 38, 160, 17, "&Scale Last Page");
  CBPageLegend = Make<TCheckBox>(this, this, "CBPageLegend", 8, 58, 160, 17, "&Current page Legend");
  CBPageNum = Make<TCheckBox>(this, this, "CBPageNum", 8, 78, 160, 17, "Show &Page Number");
  ChartPageNavigator1 = Make<TChartPageNavigator>(this, this, "ChartPageNavigator1", 8, 104, 160, 25);
  ChartPageNavigator1->SetChart(Chart);
  LabelPages = MakeLabel(this, this, "LabelPages", 8, 136, "");

  SEPointsPerPage->OnChange = [this](TObject* s) { SEPointsPerPageChange(s); };
  CBScaleLast->OnClick = [this](TObject* s) { CBScaleLastClick(s); };
  CBPageLegend->OnClick = [this](TObject* s) { CBPageLegendClick(s); };
  CBPageNum->OnClick = [this](TObject* s) { CBPageNumClick(s); };
  ChartPageNavigator1->OnButtonClicked = [this](TObject* s, int i) { ChartPageNavigator1ButtonClicked(s, i); };
  OnShow = [this](TObject* s) { FormShow(s); };
}

TGrafCustomTool* TFormGrafPage::PageNumTool() const {
  if (!Chart() || !PageNumToolClass) return nullptr;
  for (TGrafCustomTool* t : *Chart()->Tools())
    if (t->ClassType()->InheritsFrom(PageNumToolClass)) return t;
  return nullptr;
}

void TFormGrafPage::RefreshPageLabel() {
  if (Chart()) LabelPages->SetCaption(Format(GrafMsgPageDOfD, {Chart()->Page(), Chart()->PageCount()}));
}

void TFormGrafPage::FormShow(TObject*) {
  TCustomChart* chart = Chart();
  if (!chart) return;
  FFilling = true;
  UDPointsPerPage->SetPosition(chart->MaxPointsPerPage());
  CBScaleLast->SetChecked(chart->ScaleLastPage());
  CBPageLegend->SetChecked(chart->Legend()->CurrentPage());
  RefreshPageLabel();
  CBPageNum->SetVisible(PageNumToolClass != nullptr);
  TGrafCustomTool* tool = PageNumTool();
  CBPageNum->SetChecked(tool && tool->Active());
  FFilling = false;
}

void TFormGrafPage::SEPointsPerPageChange(TObject*) {
  if (FFilling || !Chart() || !FormShowing(this)) return;
  // An empty box switches paging off.
  Chart()->SetMaxPointsPerPage(SEPointsPerPage->Text().empty() ? 0 : UDPointsPerPage->Position());
  RefreshPageLabel();
}

void TFormGrafPage::CBScaleLastClick(TObject*) {
  if (!FFilling && Chart()) Chart()->SetScaleLastPage(CBScaleLast->Checked());
}

void TFormGrafPage::CBPageLegendClick(TObject*) {
  if (!FFilling && Chart()) Chart()->Legend()->SetCurrentPage(CBPageLegend->Checked());
}

void TFormGrafPage::CBPageNumClick(TObject*) {
  if (FFilling || !Chart() || !PageNumToolClass) return;
  TGrafCustomTool* tool = PageNumTool();
  if (!tool) {
    TComponent* owner = Chart()->Owner() ? Chart()->Owner() : Chart();
    tool = dynamic_cast<TGrafCustomTool*>(CreateComponentOfClass(PageNumToolClass, owner));
    if (!tool) return;
    tool->SetName(UniqueComponentName(owner, "ChartTool"));
    Chart()->Tools()->AddTool(tool);
  }
  tool->SetActive(CBPageNum->Checked());
}

void TFormGrafPage::ChartPageNavigator1ButtonClicked(TObject*, int) { RefreshPageLabel(); }

void RegisterPagingPageClasses() { RegisterClasses({&TFormGrafPage::StaticClass()}); }
