#include "chart/editor/grafmovavefuncedit.h"

#include "chart/editor/editorbuild.h"
#include "platform/rtl/format.h"
#include "platform/rtl/mathutils.h"
#include "platform/rtl/strutils.h"

using namespace editorbuild;

ZV_CLASS_IMPL_NOPROPS(TMovAveFuncEditor, TBaseFunctionEditor)

TMovAveFuncEditor::TMovAveFuncEditor(TComponent* AOwner) : TBaseFunctionEditor(AOwner) {
  // The designed texts are no change of the user's.
  FLoading = true;
  Edit1 = Make<TEdit>(this, this, "Edit1", 80, 8, 50, 21);
  Label1 = MakeLabel(this, this, "Label1", 8, 12, "&Period:", Edit1);
  Edit1->OnChange = [this](TObject* s) { Edit1Change(s); };
  UpDown1 = Make<TUpDown>(this, this, "UpDown1", Edit1->Left() + Edit1->Width(), Edit1->Top(), 15, Edit1->Height());
  UpDown1->SetMin(1);
  UpDown1->SetMax(32767);
  UpDown1->SetThousands(false);
  UpDown1->SetAssociate(Edit1);
  CBStyle = Make<TComboFlat>(this, this, "CBStyle", 80, 36, 130, 21);
  CBStyle->SetStyle(csDropDownList);
  for (const char* s : {"Normal", "Weighted", "Weighted by Index"}) CBStyle->Items()->Add(s);
  Label2 = MakeLabel(this, this, "Label2", 8, 40, "&Average:", CBStyle);
  CBStyle->OnChange = [this](TObject* s) { CBStyleChange(s); };
  FLoading = false;
}

void TMovAveFuncEditor::LoadFunction() {
  TBaseFunctionEditor::LoadFunction();
  TMovingAverageFunction* f = Function();
  if (!f) return;
  UpDown1->SetPosition(static_cast<int>(Round(f->Period())));
  CBStyle->SetItemIndex(f->Weighted() ? 1 : f->WeightedIndex() ? 2 : 0);

}

void TMovAveFuncEditor::ApplyChanges() {
  TBaseFunctionEditor::ApplyChanges();
  TMovingAverageFunction* f = Function();
  if (!f) return;
  f->SetPeriod(UpDown1->Position());
  f->SetWeighted(CBStyle->ItemIndex() == 1);
  f->SetWeightedIndex(CBStyle->ItemIndex() == 2);
}

void TMovAveFuncEditor::Edit1Change(TObject*) {
  if (!FLoading) MarkChanged();
}

void TMovAveFuncEditor::CBStyleChange(TObject*) {
  if (!FLoading) MarkChanged();
}

void RegisterMovAveFuncEditorClasses() { RegisterClasses({&TMovAveFuncEditor::StaticClass()}); }
