#include "chart/editor/grafbollingereditor.h"

#include "chart/editor/editorbuild.h"
#include "platform/rtl/format.h"
#include "platform/rtl/mathutils.h"
#include "platform/rtl/strutils.h"

using namespace editorbuild;

ZV_CLASS_IMPL_NOPROPS(TBollingerFuncEditor, TBaseFunctionEditor)

TBollingerFuncEditor::TBollingerFuncEditor(TComponent* AOwner) : TBaseFunctionEditor(AOwner) {
  // The designed texts are no change of the user's.
  FLoading = true;
  ENum = Make<TEdit>(this, this, "ENum", 80, 8, 50, 21);
  Label1 = MakeLabel(this, this, "Label1", 8, 12, "&Period:", ENum);
  ENum->OnChange = [this](TObject* s) { ENumChange(s); };
  UpDown1 = Make<TUpDown>(this, this, "UpDown1", ENum->Left() + ENum->Width(), ENum->Top(), 15, ENum->Height());
  UpDown1->SetMin(0);
  UpDown1->SetMax(30000);
  UpDown1->SetThousands(false);
  UpDown1->SetAssociate(ENum);
  CheckBox1 = Make<TCheckBox>(this, this, "CheckBox1", 8, 36, 160, 17, "&Exponential");
  CheckBox1->OnClick = [this](TObject* s) { CheckBox1Click(s); };
  Edit1 = Make<TEdit>(this, this, "Edit1", 80, 60, 70, 21);
  Label2 = MakeLabel(this, this, "Label2", 8, 64, "&Deviation:", Edit1);
  Edit1->OnChange = [this](TObject* s) { Edit1Change(s); };
  ButtonPen1 = Make<TButtonPen>(this, this, "ButtonPen1", 170, 8, 90, 25, "&Upper...");
  ButtonPen2 = Make<TButtonPen>(this, this, "ButtonPen2", 170, 38, 90, 25, "&Lower...");
  FLoading = false;
}

void TBollingerFuncEditor::LoadFunction() {
  TBaseFunctionEditor::LoadFunction();
  TBollingerFunction* f = Function();
  if (!f) return;
  UpDown1->SetPosition(static_cast<int>(Round(f->Period())));
  CheckBox1->SetChecked(f->Exponential());
  Edit1->SetText(FloatToStr(f->Deviation()));
  ButtonPen1->LinkPen(f->UpperBandPen());
  ButtonPen2->LinkPen(f->LowBandPen());

}

void TBollingerFuncEditor::ApplyChanges() {
  TBaseFunctionEditor::ApplyChanges();
  TBollingerFunction* f = Function();
  if (!f) return;
  f->SetPeriod(UpDown1->Position());
  f->SetExponential(CheckBox1->Checked());
  f->SetDeviation(StrToFloat(Edit1->Text()));
}

void TBollingerFuncEditor::ENumChange(TObject*) {
  if (!FLoading) MarkChanged();
}

void TBollingerFuncEditor::CheckBox1Click(TObject*) {
  if (!FLoading) MarkChanged();
}

void TBollingerFuncEditor::Edit1Change(TObject*) {
  if (!FLoading) MarkChanged();
}

void RegisterBollingerFuncEditorClasses() { RegisterClasses({&TBollingerFuncEditor::StaticClass()}); }
