#include "chart/extra/grafpyramidedit.h"

#include "chart/editor/editorbuild.h"
#include "chart/editor/grafbrushdlg.h"
#include "chart/editor/grafpoedi.h"
#include "chart/extra/grafpyramid.h"

using namespace editorbuild;

ZV_CLASS_IMPL_NOPROPS(TPyramidSeriesEditor, TForm)

TPyramidSeriesEditor::TPyramidSeriesEditor(TComponent* AOwner) : TForm(AOwner) {
  SetClientWidth(240);
  SetClientHeight(100);
  BPen = Make<TButtonPen>(this, this, "BPen", 8, 8, 85, 25, "&Border...");
  Button1 = Make<TButton>(this, this, "Button1", 8, 40, 85, 25, "&Pattern...");
  CBColorEach = Make<TCheckBox>(this, this, "CBColorEach", 108, 12, 110, 17, "Color &Each");
  BColor = Make<TButtonColor>(this, this, "BColor", 108, 40, 85, 25, "&Color...");
  Edit1 = Make<TEdit>(this, this, "Edit1", 60, 72, 33, 21);
  UDSize = Make<TUpDown>(this, this, "UDSize", 93, 72, 15, 21);
  UDSize->SetMin(0);
  UDSize->SetMax(100);
  UDSize->SetIncrement(5);
  UDSize->SetAssociate(Edit1);
  UDSize->SetPosition(50);
  Label1 = MakeLabel(this, this, "Label1", 8, 76, "&Size %:", Edit1);

  Button1->OnClick = [this](TObject* s) { Button1Click(s); };
  CBColorEach->OnClick = [this](TObject* s) { CBColorEachClick(s); };
  Edit1->OnChange = [this](TObject* s) { Edit1Change(s); };
  OnShow = [this](TObject* s) { FormShow(s); };
  FormCreate(this);
}

void TPyramidSeriesEditor::FormCreate(TObject*) { SetAlign(alClient); }

void TPyramidSeriesEditor::EnableColor() { BColor->SetEnabled(!CBColorEach->Checked()); }

void TPyramidSeriesEditor::FormShow(TObject*) {
  Pyramid = dynamic_cast<TPyramidSeries*>(reinterpret_cast<TObject*>(Tag()));
  if (!Pyramid) return;
  FLoading = true;
  BPen->LinkPen(Pyramid->Pen());
  LinkSeriesColorButton(BColor, Pyramid);
  UDSize->SetPosition(Pyramid->SizePercent());
  CBColorEach->SetChecked(Pyramid->ColorEachPoint());
  EnableColor();
  FLoading = false;
}

void TPyramidSeriesEditor::Button1Click(TObject*) {
  if (Pyramid) RunBrushDialog(this, Pyramid->Brush());
}

void TPyramidSeriesEditor::CBColorEachClick(TObject*) {
  if (FLoading || !Pyramid) return;
  Pyramid->SetColorEachPoint(CBColorEach->Checked());
  EnableColor();
}

void TPyramidSeriesEditor::Edit1Change(TObject*) {
  if (!FLoading && Pyramid && FormShowing(this)) Pyramid->SetSizePercent(UDSize->Position());
}
