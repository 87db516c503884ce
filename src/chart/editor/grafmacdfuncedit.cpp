#include "chart/editor/grafmacdfuncedit.h"

#include "chart/editor/editorbuild.h"
#include "platform/rtl/format.h"
#include "platform/rtl/mathutils.h"
#include "platform/rtl/strutils.h"

using namespace editorbuild;

ZV_CLASS_IMPL_NOPROPS(TMACDFuncEditor, TBaseFunctionEditor)

TMACDFuncEditor::TMACDFuncEditor(TComponent* AOwner) : TBaseFunctionEditor(AOwner) {
  // The designed texts are no change of the user's.
  FLoading = true;
  ENum = Make<TEdit>(this, this, "ENum", 80, 8, 50, 21);
  Label1 = MakeLabel(this, this, "Label1", 8, 12, "Period &1:", ENum);
  ENum->OnChange = [this](TObject* s) { ENumChange(s); };
  UpDown1 = Make<TUpDown>(this, this, "UpDown1", ENum->Left() + ENum->Width(), ENum->Top(), 15, ENum->Height());
  UpDown1->SetMin(0);
  UpDown1->SetMax(30000);
  UpDown1->SetThousands(false);
  UpDown1->SetAssociate(ENum);
  Edit1 = Make<TEdit>(this, this, "Edit1", 80, 36, 50, 21);
  Label2 = MakeLabel(this, this, "Label2", 8, 40, "Period &2:", Edit1);
  Edit1->OnChange = [this](TObject* s) { Edit1Change(s); };
  UpDown2 = Make<TUpDown>(this, this, "UpDown2", Edit1->Left() + Edit1->Width(), Edit1->Top(), 15, Edit1->Height());
  UpDown2->SetMin(0);
  UpDown2->SetMax(30000);
  UpDown2->SetThousands(false);
  UpDown2->SetAssociate(Edit1);
  Edit2 = Make<TEdit>(this, this, "Edit2", 80, 64, 50, 21);
  Label3 = MakeLabel(this, this, "Label3", 8, 68, "Period &3:", Edit2);
  Edit2->OnChange = [this](TObject* s) { Edit2Change(s); };
  UpDown3 = Make<TUpDown>(this, this, "UpDown3", Edit2->Left() + Edit2->Width(), Edit2->Top(), 15, Edit2->Height());
  UpDown3->SetMin(0);
  UpDown3->SetMax(30000);
  UpDown3->SetThousands(false);
  UpDown3->SetAssociate(Edit2);
  BHistogram = Make<TButtonPen>(this, this, "BHistogram", 170, 8, 90, 25, "&Histogram...");
  BMACD = Make<TButtonPen>(this, this, "BMACD", 170, 38, 90, 25, "&MACD...");
  BMACDExp = Make<TButtonPen>(this, this, "BMACDExp", 170, 68, 90, 25, "&Exp. Line...");
  FLoading = false;
}

void TMACDFuncEditor::LoadFunction() {
  TBaseFunctionEditor::LoadFunction();
  TMACDFunction* f = Function();
  if (!f) return;
  UpDown1->SetPosition(static_cast<int>(Round(f->Period())));
  UpDown2->SetPosition(static_cast<int>(Round(f->Period2())));
  UpDown3->SetPosition(f->Period3());
  BHistogram->LinkPen(f->HistogramPen());
  BMACD->LinkPen(f->MACDPen());
  BMACDExp->LinkPen(f->MACDExpPen());

}

void TMACDFuncEditor::ApplyChanges() {
  TBaseFunctionEditor::ApplyChanges();
  TMACDFunction* f = Function();
  if (!f) return;
  f->SetPeriod(UpDown1->Position());
  f->SetPeriod2(UpDown2->Position());
  f->SetPeriod3(UpDown3->Position());
}

void TMACDFuncEditor::ENumChange(TObject*) {
  if (!FLoading) MarkChanged();
}

void TMACDFuncEditor::Edit1Change(TObject*) {
  if (!FLoading) MarkChanged();
}

void TMACDFuncEditor::Edit2Change(TObject*) {
  if (!FLoading) MarkChanged();
}

void RegisterMACDFuncEditorClasses() { RegisterClasses({&TMACDFuncEditor::StaticClass()}); }
