#include "chart/extra/graftransposetooledit.h"

#include "chart/editor/editorbuild.h"
#include "chart/extra/graftransposetool.h"
#include "chart/series/grafsurfa.h"

using namespace editorbuild;

ZV_CLASS_IMPL_NOPROPS(TGridTransposeToolEdit, TForm)

TGridTransposeToolEdit::TGridTransposeToolEdit(TComponent* AOwner) : TForm(AOwner) {
  SetClientWidth(260);
  SetClientHeight(90);
  CBSeries = Make<TComboFlat>(this, this, "CBSeries", 104, 8, 145, 21);
  CBSeries->SetStyle(csDropDownList);
  Label1 = MakeLabel(this, this, "Label1", 8, 12, "&Grid 3D Series:", CBSeries);
  BTranspose = Make<TButton>(this, this, "BTranspose", 104, 40, 105, 25, "&Transpose now");
  BTranspose->SetEnabled(false);
  CBSeries->OnChange = [this](TObject*) {
    const int i = CBSeries->ItemIndex();
    if (!FTool || i < 0) return;
    FTool->SetSeries(dynamic_cast<TCustom3DGridSeries*>(CBSeries->Items()->Objects(i)));
    BTranspose->SetEnabled(true);
  };
  BTranspose->OnClick = [this](TObject*) {
    if (FTool) FTool->Transpose();
  };
  OnShow = [this](TObject*) { FormShow(); };
}

void TGridTransposeToolEdit::FormShow() {
  FTool = dynamic_cast<TGridTransposeTool*>(reinterpret_cast<TObject*>(Tag()));
  if (!FTool || !FTool->ParentChart()) return;
  CBSeries->Items()->Clear();
  for (TChartSeries* s : *FTool->ParentChart()->SeriesList())
    if (dynamic_cast<TCustom3DGridSeries*>(s)) CBSeries->Items()->AddObject(s->Title().empty() ? s->Name() : s->Title(), s);
  CBSeries->SetItemIndex(CBSeries->Items()->IndexOfObject(FTool->Series()));
  BTranspose->SetEnabled(CBSeries->ItemIndex() >= 0);
}
