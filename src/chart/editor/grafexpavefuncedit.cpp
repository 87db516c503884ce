#include "chart/editor/grafexpavefuncedit.h"

#include "chart/editor/editorbuild.h"
#include "platform/rtl/format.h"
#include "platform/rtl/mathutils.h"
#include "platform/rtl/strutils.h"

using namespace editorbuild;

ZV_CLASS_IMPL_NOPROPS(TExpAveFuncEditor, TBaseFunctionEditor)

TExpAveFuncEditor::TExpAveFuncEditor(TComponent* AOwner) : TBaseFunctionEditor(AOwner) {
  // The designed texts are no change of the user's.
  FLoading = true;
  Edit1 = Make<TEdit>(this, this, "Edit1", 80, 8, 70, 21);
  Label1 = MakeLabel(this, this, "Label1", 8, 12, "&Weight:", Edit1);
  Edit1->OnChange = [this](TObject* s) { Edit1Change(s); };
  Edit1->SetText("0.2");
  FLoading = false;
}

void TExpAveFuncEditor::LoadFunction() {
  TBaseFunctionEditor::LoadFunction();
  TExpAverageFunction* f = Function();
  if (!f) return;
  Edit1->SetText(FloatToStr(f->Weight()));

}

void TExpAveFuncEditor::ApplyChanges() {
  TBaseFunctionEditor::ApplyChanges();
  TExpAverageFunction* f = Function();
  if (!f) return;
  f->SetWeight(StrToFloat(Edit1->Text()));
}

void TExpAveFuncEditor::Edit1Change(TObject*) {
  if (!FLoading) MarkChanged();
}

void RegisterExpAveFuncEditorClasses() { RegisterClasses({&TExpAveFuncEditor::StaticClass()}); }
