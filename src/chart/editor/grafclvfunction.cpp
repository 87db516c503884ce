#include "chart/editor/grafclvfunction.h"

#include "chart/editor/editorbuild.h"
#include "platform/rtl/format.h"
#include "platform/rtl/mathutils.h"
#include "platform/rtl/strutils.h"

using namespace editorbuild;

ZV_CLASS_IMPL_NOPROPS(TCLVFuncEditor, TBaseFunctionEditor)

TCLVFuncEditor::TCLVFuncEditor(TComponent* AOwner) : TBaseFunctionEditor(AOwner) {
  // The designed texts are no change of the user's.
  FLoading = true;
  CBVolume = Make<TComboFlat>(this, this, "CBVolume", 100, 8, 150, 21);
  CBVolume->SetStyle(csDropDownList);
  Label1 = MakeLabel(this, this, "Label1", 8, 12, "&Volume series:", CBVolume);
  CBVolume->OnChange = [this](TObject* s) { CBVolumeChange(s); };
  CBAccumulate = Make<TCheckBox>(this, this, "CBAccumulate", 8, 40, 160, 17, "&Accumulate");
  CBAccumulate->OnClick = [this](TObject* s) { CBAccumulateClick(s); };
  FLoading = false;
}

void TCLVFuncEditor::LoadFunction() {
  TBaseFunctionEditor::LoadFunction();
  TCLVFunction* f = Function();
  if (!f) return;
  CBVolume->Items()->Clear();
  FillSeriesList(CBVolume->Items());
  CBVolume->Items()->InsertObject(0, "(none)", nullptr);
  const int own = CBVolume->Items()->IndexOfObject(f->ParentSeries());
  if (own > 0) CBVolume->Items()->Delete(own);
  CBVolume->SetItemIndex(f->Volume() ? CBVolume->Items()->IndexOfObject(f->Volume()) : 0);
  CBAccumulate->SetChecked(f->Accumulate());

}

void TCLVFuncEditor::ApplyChanges() {
  TBaseFunctionEditor::ApplyChanges();
  TCLVFunction* f = Function();
  if (!f) return;
  const int i = CBVolume->ItemIndex();
  f->SetVolume(i < 0 ? nullptr : dynamic_cast<TChartSeries*>(CBVolume->Items()->Objects(i)));
  f->SetAccumulate(CBAccumulate->Checked());
}

void TCLVFuncEditor::CBVolumeChange(TObject*) {
  if (!FLoading) MarkChanged();
}

void TCLVFuncEditor::CBAccumulateClick(TObject*) {
  if (!FLoading) MarkChanged();
}

void RegisterCLVFuncEditorClasses() { RegisterClasses({&TCLVFuncEditor::StaticClass()}); }
