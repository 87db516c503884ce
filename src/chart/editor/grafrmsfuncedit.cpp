#include "chart/editor/grafrmsfuncedit.h"

#include "chart/editor/editorbuild.h"
#include "platform/rtl/format.h"
#include "platform/rtl/mathutils.h"
#include "platform/rtl/strutils.h"

using namespace editorbuild;

ZV_CLASS_IMPL_NOPROPS(TRMSFuncEditor, TGrafFunctionEditor)

TRMSFuncEditor::TRMSFuncEditor(TComponent* AOwner) : TGrafFunctionEditor(AOwner) {
  // The designed texts are no change of the user's.
  FLoading = true;
  CBComplete = Make<TCheckBox>(this, this, "CBComplete", 8, 100, 160, 17, "C&omplete R.M.S.");
  CBComplete->OnClick = [this](TObject* s) { CBCompleteClick(s); };
  FLoading = false;
}

void TRMSFuncEditor::LoadFunction() {
  TGrafFunctionEditor::LoadFunction();
  TRMSFunction* f = Function();
  if (!f) return;
  CBComplete->SetChecked(f->Complete());

}

void TRMSFuncEditor::ApplyChanges() {
  TGrafFunctionEditor::ApplyChanges();
  TRMSFunction* f = Function();
  if (!f) return;
  f->SetComplete(CBComplete->Checked());
}

void TRMSFuncEditor::CBCompleteClick(TObject*) {
  if (!FLoading) MarkChanged();
}

void RegisterRMSFuncEditorClasses() { RegisterClasses({&TRMSFuncEditor::StaticClass()}); }
