#include "chart/extra/grafseriesbandtooledit.h"

#include "chart/editor/editorbuild.h"
#include "chart/editor/grafbrushdlg.h"
#include "chart/extra/grafseriesbandtool.h"

using namespace editorbuild;

ZV_CLASS_IMPL_NOPROPS(TSeriesBandToolEdit, TSeriesToolEditor)

TSeriesBandToolEdit::TSeriesBandToolEdit(TComponent* AOwner) : TSeriesToolEditor(AOwner) {
  SetClientWidth(300);
  SetClientHeight(190);
  CBSeries2 = Make<TComboFlat>(this, this, "CBSeries2", 64, 36, 145, 21);
  CBSeries2->SetStyle(csDropDownList);
  Label2 = MakeLabel(this, this, "Label2", 8, 40, "S&eries 2:", CBSeries2);
  Button1 = Make<TButton>(this, this, "Button1", 8, 68, 89, 25, "&Brush...");
  CBDrawBehindSeries = Make<TCheckBox>(this, this, "CBDrawBehindSeries", 112, 72, 170, 17, "&Draw Behind Series");
  BPen = Make<TButtonPen>(this, this, "BPen", 8, 100, 89, 25, "&Pen...");
  BGradient = Make<TButtonGradient>(this, this, "BGradient", 112, 100, 89, 25, "&Gradient...");
  ETransp = Make<TEdit>(this, this, "ETransp", 96, 136, 33, 21);
  ETransp->SetText("0");
  UDTransp = Make<TUpDown>(this, this, "UDTransp", 129, 136, 15, 21);
  UDTransp->SetMin(0);
  UDTransp->SetMax(100);
  UDTransp->SetAssociate(ETransp);
  Label4 = MakeLabel(this, this, "Label4", 8, 140, "&Transparency:", ETransp);

  CBSeries2->OnChange = [this](TObject*) {
    const int i = CBSeries2->ItemIndex();
    if (Band() && !FLoading) Band()->SetSeries2(i < 0 ? nullptr : dynamic_cast<TChartSeries*>(CBSeries2->Items()->Objects(i)));
  };
  Button1->OnClick = [this](TObject*) {
    if (Band()) RunBrushDialog(this, Band()->Brush());
  };
  CBDrawBehindSeries->OnClick = [this](TObject*) {
    if (Band() && !FLoading) Band()->SetDrawBehindSeries(CBDrawBehindSeries->Checked());
  };
  ETransp->OnChange = [this](TObject*) {
    if (Band() && !FLoading && FormShowing(this)) Band()->SetTransparency(UDTransp->Position());
  };
}

TSeriesBandTool* TSeriesBandToolEdit::Band() const { return dynamic_cast<TSeriesBandTool*>(FTool); }

void TSeriesBandToolEdit::FormShow(TObject* Sender) {
  TSeriesToolEditor::FormShow(Sender);
  TSeriesBandTool* band = Band();
  if (!band) return;
  FLoading = true;
  CBSeries2->Items()->Clear();
  FillSeriesCombo(CBSeries2, band->Series2(), band->ParentChart());
  CBDrawBehindSeries->SetChecked(band->DrawBehindSeries());
  BPen->LinkPen(band->Pen());
  BGradient->LinkGradient(band->Gradient());
  UDTransp->SetPosition(band->Transparency());
  FLoading = false;
}
