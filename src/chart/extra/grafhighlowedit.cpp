#include "chart/extra/grafhighlowedit.h"

#include "chart/editor/editorbuild.h"
#include "chart/editor/grafbrushdlg.h"
#include "chart/editor/grafpoedi.h"
#include "chart/extra/errorbar.h"

using namespace editorbuild;

ZV_CLASS_IMPL_NOPROPS(THighLowEditor, TForm)

THighLowEditor::THighLowEditor(TComponent* AOwner) : TForm(AOwner) {
  SetClientWidth(300);
  SetClientHeight(130);
  BPen = Make<TButtonPen>(this, this, "BPen", 8, 8, 89, 25, "&Lines...");
  BHighPen = Make<TButtonPen>(this, this, "BHighPen", 8, 40, 89, 25, "&High...");
  BLowPen = Make<TButtonPen>(this, this, "BLowPen", 8, 72, 89, 25, "L&ow...");
  BBrush = Make<TButton>(this, this, "BBrush", 104, 40, 89, 25, "&Pattern...");
  BLowBrush = Make<TButton>(this, this, "BLowBrush", 104, 72, 89, 25, "P&attern...");
  CBColorEach = Make<TCheckBox>(this, this, "CBColorEach", 104, 12, 100, 17, "Colo&r Each");
  BColor = Make<TButtonColor>(this, this, "BColor", 204, 8, 89, 25, "&Color...");
  Edit1 = Make<TEdit>(this, this, "Edit1", 88, 104, 33, 21);
  Edit1->SetText("0");
  UDTransp = Make<TUpDown>(this, this, "UDTransp", 121, 104, 15, 21);
  UDTransp->SetMin(0);
  UDTransp->SetMax(100);
  UDTransp->SetIncrement(5);
  UDTransp->SetPosition(0);
  UDTransp->SetAssociate(Edit1);
  Label1 = MakeLabel(this, this, "Label1", 8, 108, "&Transparency:", Edit1);

  BBrush->OnClick = [this](TObject* s) { BBrushClick(s); };
  BLowBrush->OnClick = [this](TObject* s) { BLowBrushClick(s); };
  CBColorEach->OnClick = [this](TObject* s) { CBColorEachClick(s); };
  Edit1->OnChange = [this](TObject* s) { Edit1Change(s); };
  OnShow = [this](TObject* s) { FormShow(s); };
  SetAlign(alClient);
}

void THighLowEditor::FormShow(TObject*) {
  Series = dynamic_cast<THighLowSeries*>(reinterpret_cast<TObject*>(Tag()));
  if (!Series) return;
  FLoading = true;
  BPen->LinkPen(Series->Pen());
  BHighPen->LinkPen(Series->HighPen());
  BLowPen->LinkPen(Series->LowPen());
  CBColorEach->SetChecked(Series->ColorEachPoint());
  LinkSeriesColorButton(BColor, Series);
  UDTransp->SetPosition(Series->Transparency());
  FLoading = false;
}

void THighLowEditor::BBrushClick(TObject*) {
  if (Series) RunBrushDialog(this, Series->HighBrush());
}

void THighLowEditor::BLowBrushClick(TObject*) {
  if (Series) RunBrushDialog(this, Series->LowBrush());
}

void THighLowEditor::CBColorEachClick(TObject*) {
  if (!FLoading && Series) Series->SetColorEachPoint(CBColorEach->Checked());
}

void THighLowEditor::Edit1Change(TObject*) {
  if (!FLoading && Series && FormShowing(this)) Series->SetTransparency(UDTransp->Position());
}
