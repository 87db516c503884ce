#include "chart/editor/grafavgfunceditor.h"

#include "chart/editor/editorbuild.h"
#include "platform/rtl/format.h"
#include "platform/rtl/mathutils.h"
#include "platform/rtl/strutils.h"

using namespace editorbuild;

ZV_CLASS_IMPL_NOPROPS(TAverageFuncEditor, TGrafFunctionEditor)

TAverageFuncEditor::TAverageFuncEditor(TComponent* AOwner) : TGrafFunctionEditor(AOwner) {
  // The designed texts are no change of the user's.
  FLoading = true;
  CBNulls = Make<TCheckBox>(this, this, "CBNulls", 8, 100, 160, 17, "&Include Null values");
  CBNulls->OnClick = [this](TObject* s) { CBNullsClick(s); };
  FLoading = false;
}

void TAverageFuncEditor::LoadFunction() {
  TGrafFunctionEditor::LoadFunction();
  TAverageGrafFunction* f = Function();
  if (!f) return;
  CBNulls->SetChecked(f->IncludeNulls());

}

void TAverageFuncEditor::ApplyChanges() {
  TGrafFunctionEditor::ApplyChanges();
  TAverageGrafFunction* f = Function();
  if (!f) return;
  f->SetIncludeNulls(CBNulls->Checked());
}

void TAverageFuncEditor::CBNullsClick(TObject*) {
  if (!FLoading) MarkChanged();
}

void RegisterAverageFuncEditorClasses() { RegisterClasses({&TAverageFuncEditor::StaticClass()}); }
