#include "chart/extra/grafpietooledit.h"

#include "chart/core/grafconst.h"
#include "chart/editor/editorbuild.h"
#include "chart/extra/grafpietool.h"
#include "chart/series/series_pie.h"

using namespace editorbuild;

ZV_CLASS_IMPL_NOPROPS(TPieToolEditor, TForm)

TPieToolEditor::TPieToolEditor(TComponent* AOwner) : TForm(AOwner) {
  SetClientWidth(260);
  SetClientHeight(140);
  CBPieSeries = Make<TComboBox>(this, this, "CBPieSeries", 80, 8, 150, 21);
  CBPieSeries->SetStyle(csDropDownList);
  Label1 = MakeLabel(this, this, "Label1", 8, 12, "&Pie Series:", CBPieSeries);
  RGStyle = Make<TRadioGroup>(this, this, "RGStyle", 8, 40, 180, 45);
  RGStyle->SetCaption("&Style:");
  RGStyle->SetColumns(2);
  for (const char* s : {"Focus", "Explode"}) RGStyle->Items()->Add(s);
  BPen = Make<TButtonPen>(this, this, "BPen", 8, 96, 89, 25, "&Border...");
  CBPieSeries->OnChange = [this](TObject*) {
    const int i = CBPieSeries->ItemIndex();
    if (FTool && !FLoading && i >= 0) FTool->SetSeries(dynamic_cast<TChartSeries*>(CBPieSeries->Items()->Objects(i)));
  };
  RGStyle->OnClick = [this](TObject*) {
    if (FTool && !FLoading) FTool->SetStyle(RGStyle->ItemIndex() == 1 ? ptExplode : ptFocus);
  };
  OnShow = [this](TObject*) { FormShow(); };
}

void TPieToolEditor::FormShow() {
  FTool = dynamic_cast<TPieTool*>(reinterpret_cast<TObject*>(Tag()));
  if (!FTool) return;
  FLoading = true;
  CBPieSeries->Items()->Clear();
  if (TCustomAxisPanel* chart = FTool->ParentChart())
    for (TChartSeries* s : *chart->SeriesList())
      if (dynamic_cast<TPieSeries*>(s))
        CBPieSeries->Items()->AddObject(s->Title().empty() ? s->Name() : s->Title(), s);
  CBPieSeries->SetEnabled(CBPieSeries->Items()->Count() > 0);
  CBPieSeries->SetItemIndex(CBPieSeries->Items()->IndexOfObject(FTool->Series()));
  RGStyle->SetItemIndex(FTool->Style() == ptExplode ? 1 : 0);
  BPen->LinkPen(FTool->Pen());
  Label1->SetCaption(GrafMsgGalleryPie);
  FLoading = false;
}
