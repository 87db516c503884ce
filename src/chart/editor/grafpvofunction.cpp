#include "chart/editor/grafpvofunction.h"

#include "chart/editor/editorbuild.h"
#include "platform/rtl/format.h"
#include "platform/rtl/mathutils.h"
#include "platform/rtl/strutils.h"

using namespace editorbuild;

ZV_CLASS_IMPL_NOPROPS(TPVOFuncEditor, TBaseFunctionEditor)

TPVOFuncEditor::TPVOFuncEditor(TComponent* AOwner) : TBaseFunctionEditor(AOwner) {
  // The designed texts are no change of the user's.
  FLoading = true;
  EPeriod = Make<TEdit>(this, this, "EPeriod", 80, 8, 50, 21);
  Label1 = MakeLabel(this, this, "Label1", 8, 12, "&Period 1:", EPeriod);
  EPeriod->OnChange = [this](TObject* s) { EPeriodChange(s); };
  UDPeriod = Make<TUpDown>(this, this, "UDPeriod", EPeriod->Left() + EPeriod->Width(), EPeriod->Top(), 15, EPeriod->Height());
  UDPeriod->SetMin(1);
  UDPeriod->SetMax(10000);
  UDPeriod->SetThousands(false);
  UDPeriod->SetAssociate(EPeriod);
  UDPeriod->SetPosition(12);
  Edit1 = Make<TEdit>(this, this, "Edit1", 80, 36, 50, 21);
  Label2 = MakeLabel(this, this, "Label2", 8, 40, "P&eriod 2:", Edit1);
  Edit1->OnChange = [this](TObject* s) { Edit1Change(s); };
  UDPeriod2 = Make<TUpDown>(this, this, "UDPeriod2", Edit1->Left() + Edit1->Width(), Edit1->Top(), 15, Edit1->Height());
  UDPeriod2->SetMin(1);
  UDPeriod2->SetMax(10000);
  UDPeriod2->SetThousands(false);
  UDPeriod2->SetAssociate(Edit1);
  UDPeriod2->SetPosition(26);
  CBPercent = Make<TCheckBox>(this, this, "CBPercent", 8, 66, 160, 17, "Pe&rcentage");
  CBPercent->OnClick = [this](TObject* s) { CBPercentClick(s); };
  CBPercent->SetChecked(true);
  FLoading = false;
}

void TPVOFuncEditor::LoadFunction() {
  TBaseFunctionEditor::LoadFunction();
  TPVOFunction* f = Function();
  if (!f) return;
  UDPeriod->SetPosition(static_cast<int>(Round(f->Period())));
  UDPeriod2->SetPosition(f->Period2());
  CBPercent->SetChecked(f->Percentage());

}

void TPVOFuncEditor::ApplyChanges() {
  TBaseFunctionEditor::ApplyChanges();
  TPVOFunction* f = Function();
  if (!f) return;
  f->SetPeriod(UDPeriod->Position());
  f->SetPeriod2(UDPeriod2->Position());
  f->SetPercentage(CBPercent->Checked());
}

void TPVOFuncEditor::EPeriodChange(TObject*) {
  if (!FLoading) MarkChanged();
}

void TPVOFuncEditor::Edit1Change(TObject*) {
  if (!FLoading) MarkChanged();
}

void TPVOFuncEditor::CBPercentClick(TObject*) {
  if (!FLoading) MarkChanged();
}

void RegisterPVOFuncEditorClasses() { RegisterClasses({&TPVOFuncEditor::StaticClass()}); }
