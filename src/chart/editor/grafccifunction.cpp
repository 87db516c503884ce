#include "chart/editor/grafccifunction.h"

#include "chart/editor/editorbuild.h"
#include "platform/rtl/format.h"
#include "platform/rtl/mathutils.h"
#include "platform/rtl/strutils.h"

using namespace editorbuild;

ZV_CLASS_IMPL_NOPROPS(TCCIFuncEditor, TBaseFunctionEditor)

TCCIFuncEditor::TCCIFuncEditor(TComponent* AOwner) : TBaseFunctionEditor(AOwner) {
  // The designed texts are no change of the user's.
  FLoading = true;
  EConst = Make<TEdit>(this, this, "EConst", 80, 8, 70, 21);
  Label1 = MakeLabel(this, this, "Label1", 8, 12, "&Constant:", EConst);
  EConst->OnChange = [this](TObject* s) { EConstChange(s); };
  EConst->SetText(FloatToStr(0.015));
  EPeriod = Make<TEdit>(this, this, "EPeriod", 80, 36, 50, 21);
  Label2 = MakeLabel(this, this, "Label2", 8, 40, "&Period:", EPeriod);
  EPeriod->OnChange = [this](TObject* s) { EPeriodChange(s); };
  UDPeriod = Make<TUpDown>(this, this, "UDPeriod", EPeriod->Left() + EPeriod->Width(), EPeriod->Top(), 15, EPeriod->Height());
  UDPeriod->SetMin(1);
  UDPeriod->SetMax(10000);
  UDPeriod->SetThousands(false);
  UDPeriod->SetAssociate(EPeriod);
  UDPeriod->SetPosition(20);
  FLoading = false;
}

void TCCIFuncEditor::LoadFunction() {
  TBaseFunctionEditor::LoadFunction();
  TCCIFunction* f = Function();
  if (!f) return;
  EConst->SetText(FloatToStr(f->Constant()));
  UDPeriod->SetPosition(static_cast<int>(Round(f->Period())));

}

void TCCIFuncEditor::ApplyChanges() {
  TBaseFunctionEditor::ApplyChanges();
  TCCIFunction* f = Function();
  if (!f) return;
  f->SetConstant(StrToFloatDef(EConst->Text(), f->Constant()));
  f->SetPeriod(UDPeriod->Position());
}

void TCCIFuncEditor::EConstChange(TObject*) {
  if (!FLoading) MarkChanged();
}

void TCCIFuncEditor::EPeriodChange(TObject*) {
  if (!FLoading) MarkChanged();
}

void RegisterCCIFuncEditorClasses() { RegisterClasses({&TCCIFuncEditor::StaticClass()}); }
