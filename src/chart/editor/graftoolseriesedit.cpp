#include "chart/editor/graftoolseriesedit.h"

#include "chart/editor/editorbuild.h"

using namespace editorbuild;

ZV_CLASS_IMPL_NOPROPS(TSeriesToolEditor, TForm)

TSeriesToolEditor::TSeriesToolEditor(TComponent* AOwner) : TForm(AOwner) {
  SetClientWidth(233);
  SetClientHeight(172);
  SetBorderIcons({biSystemMenu});
  CBSeries = Make<TComboFlat>(this, this, "CBSeries", 64, 8, 145, 21);
  CBSeries->SetStyle(csDropDownList);
  Label1 = MakeLabel(this, this, "Label1", 8, 12, "&Series:", CBSeries);
  Label1->SetAlignment(taRightJustify);
  CBSeries->OnChange = [this](TObject* s) { CBSeriesChange(s); };
  OnShow = [this](TObject* s) { FormShow(s); };
  FormCreate(this);
}

void TSeriesToolEditor::FormCreate(TObject*) { SetAlign(alClient); }

void TSeriesToolEditor::FillSeriesCombo(TComboBox* Combo, TChartSeries* Series, TCustomAxisPanel* Chart) {
  if (Chart) {
    FillSeriesNameList(Combo->Items(), Chart->SeriesList(), true);
    Combo->SetEnabled(Chart->SeriesList()->Count() > 0);
  }
  Combo->Items()->InsertObject(0, "(none)", nullptr);
  Combo->SetItemIndex(Series ? Combo->Items()->IndexOfObject(Series) : 0);
}

void TSeriesToolEditor::FormShow(TObject*) {
  FTool = dynamic_cast<TGrafCustomToolSeries*>(reinterpret_cast<TObject*>(Tag()));
  if (FTool) FillSeriesCombo(CBSeries, FTool->Series(), FTool->ParentChart());
}

void TSeriesToolEditor::CBSeriesChange(TObject*) {
  if (!FTool) return;
  const int i = CBSeries->ItemIndex();
  FTool->SetSeries(i < 0 ? nullptr : dynamic_cast<TChartSeries*>(CBSeries->Items()->Objects(i)));
}

void RegisterSeriesToolEditorClasses() { RegisterClasses({&TSeriesToolEditor::StaticClass()}); }
