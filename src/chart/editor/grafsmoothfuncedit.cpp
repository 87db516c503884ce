#include "chart/editor/grafsmoothfuncedit.h"

#include "chart/editor/editorbuild.h"
#include "platform/rtl/format.h"
#include "platform/rtl/mathutils.h"
#include "platform/rtl/strutils.h"

using namespace editorbuild;

ZV_CLASS_IMPL_NOPROPS(TSmoothFuncEditor, TBaseFunctionEditor)

TSmoothFuncEditor::TSmoothFuncEditor(TComponent* AOwner) : TBaseFunctionEditor(AOwner) {
  // The designed texts are no change of the user's.
  FLoading = true;
  CBInterp = Make<TCheckBox>(this, this, "CBInterp", 8, 8, 160, 17, "&Interpolate");
  CBInterp->OnClick = [this](TObject* s) { CBInterpClick(s); };
  Edit1 = Make<TEdit>(this, this, "Edit1", 80, 34, 50, 21);
  Label1 = MakeLabel(this, this, "Label1", 8, 38, "&Factor:", Edit1);
  Edit1->OnChange = [this](TObject* s) { Edit1Change(s); };
  UpDown1 = Make<TUpDown>(this, this, "UpDown1", Edit1->Left() + Edit1->Width(), Edit1->Top(), 15, Edit1->Height());
  UpDown1->SetMin(1);
  UpDown1->SetMax(1000);
  UpDown1->SetThousands(false);
  UpDown1->SetAssociate(Edit1);
  FLoading = false;
}

void TSmoothFuncEditor::LoadFunction() {
  TBaseFunctionEditor::LoadFunction();
  TSmoothingFunction* f = Function();
  if (!f) return;
  CBInterp->SetChecked(f->Interpolate());
  UpDown1->SetPosition(f->Factor());

}

void TSmoothFuncEditor::ApplyChanges() {
  TBaseFunctionEditor::ApplyChanges();
  TSmoothingFunction* f = Function();
  if (!f) return;
  f->SetInterpolate(CBInterp->Checked());
  f->SetFactor(UpDown1->Position());
}

void TSmoothFuncEditor::CBInterpClick(TObject*) {
  if (!FLoading) MarkChanged();
}

void TSmoothFuncEditor::Edit1Change(TObject*) {
  if (!FLoading) MarkChanged();
}

void RegisterSmoothFuncEditorClasses() { RegisterClasses({&TSmoothFuncEditor::StaticClass()}); }
