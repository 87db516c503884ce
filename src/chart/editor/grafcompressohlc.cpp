#include "chart/editor/grafcompressohlc.h"

#include "chart/editor/editorbuild.h"
#include "platform/rtl/mathutils.h"

using namespace editorbuild;

ZV_CLASS_IMPL_NOPROPS(TCompressFuncEditor, TBaseFunctionEditor)

TCompressFuncEditor::TCompressFuncEditor(TComponent* AOwner) : TBaseFunctionEditor(AOwner) {
  FLoading = true;
  RadioDate = Make<TRadioButton>(this, this, "RadioDate", 8, 10, 120, 17, "&Date period:");
  RadioDate->SetChecked(true);
  CBDatePeriod = Make<TComboFlat>(this, this, "CBDatePeriod", 140, 8, 140, 21);
  CBDatePeriod->SetStyle(csDropDownList);
  for (const char* s : {"Daily (none)", "Weekly", "Monthly", "Bi-Monthly", "Quarterly", "Yearly"})
    CBDatePeriod->Items()->Add(s);
  RadioTime = Make<TRadioButton>(this, this, "RadioTime", 8, 40, 120, 17, "&Time period:");
  CBTimePeriod = Make<TComboFlat>(this, this, "CBTimePeriod", 140, 38, 140, 21);
  CBTimePeriod->SetStyle(csDropDownList);
  for (const char* s : {"Second", "TenSecond", "Minute", "TwoMinutes", "FiveMinutes", "TenMinutes", "FifteenMinutes",
                        "TwentyMinutes", "HalfHour", "Hour", "TwoHours", "ThreeHour", "SixHour", "TwelveHour"})
    CBTimePeriod->Items()->Add(s);
  RadioPoints = Make<TRadioButton>(this, this, "RadioPoints", 8, 70, 130, 17, "&Number of points:");
  ENum = Make<TEdit>(this, this, "ENum", 140, 68, 60, 21);
  UpDown1 = Make<TUpDown>(this, this, "UpDown1", 200, 68, 15, 21);
  UpDown1->SetMin(0);
  UpDown1->SetMax(32767);
  UpDown1->SetThousands(false);
  UpDown1->SetAssociate(ENum);
  UpDown1->SetPosition(1);
  RadioDate->OnClick = [this](TObject* s) { RadioDateClick(s); };
  RadioTime->OnClick = [this](TObject* s) { RadioTimeClick(s); };
  RadioPoints->OnClick = [this](TObject* s) { RadioPointsClick(s); };
  CBDatePeriod->OnChange = [this](TObject* s) { CBDatePeriodChange(s); };
  CBTimePeriod->OnChange = [this](TObject* s) { CBTimePeriodChange(s); };
  ENum->OnClick = [this](TObject* s) { ENumClick(s); };
  ENum->OnChange = [this](TObject* s) { ENumChange(s); };
  FLoading = false;
}

void TCompressFuncEditor::LoadFunction() {
  TBaseFunctionEditor::LoadFunction();
  TCompressFunction* f = Function();
  if (!f) return;
  CBDatePeriod->SetItemIndex(0);
  CBTimePeriod->SetItemIndex(0);
  if (Round(f->Period()) != 0) {
    UpDown1->SetPosition(static_cast<int>(Round(f->Period())));
    RadioPoints->SetChecked(true);
  } else if (f->Compress() > ocYear) {
    CBTimePeriod->SetItemIndex(f->Compress() - 6);
    RadioTime->SetChecked(true);
  } else {
    CBDatePeriod->SetItemIndex(f->Compress());
    RadioDate->SetChecked(true);
  }
}

void TCompressFuncEditor::ApplyChanges() {
  TBaseFunctionEditor::ApplyChanges();
  TCompressFunction* f = Function();
  if (!f) return;
  const int compress = RadioDate->Checked() ? CBDatePeriod->ItemIndex() : CBTimePeriod->ItemIndex() + 6;
  f->SetCompress(static_cast<TCompressionPeriod>(std::max(0, compress)));
  f->SetPeriod(UpDown1->Position());
}

void TCompressFuncEditor::RadioDateClick(TObject*) {
  if (FLoading || !RadioDate->Checked()) return;
  UpDown1->SetPosition(0);
  if (CBDatePeriod->CanFocus()) CBDatePeriod->SetFocus();
  MarkChanged();
}

void TCompressFuncEditor::RadioTimeClick(TObject*) {
  if (FLoading || !RadioTime->Checked()) return;
  UpDown1->SetPosition(0);
  if (CBTimePeriod->CanFocus()) CBTimePeriod->SetFocus();
  MarkChanged();
}

void TCompressFuncEditor::RadioPointsClick(TObject*) {
  if (FLoading || !RadioPoints->Checked()) return;
  if (ENum->CanFocus()) ENum->SetFocus();
  MarkChanged();
}

void TCompressFuncEditor::CBDatePeriodChange(TObject*) {
  if (FLoading) return;
  RadioDate->SetChecked(true);
  MarkChanged();
}

void TCompressFuncEditor::CBTimePeriodChange(TObject*) {
  if (FLoading) return;
  RadioTime->SetChecked(true);
  MarkChanged();
}

void TCompressFuncEditor::ENumClick(TObject*) {
  if (FLoading) return;
  RadioPoints->SetChecked(true);
  MarkChanged();
}

void TCompressFuncEditor::ENumChange(TObject*) {
  if (!FLoading) MarkChanged();
}

void RegisterCompressFuncEditorClasses() { RegisterClasses({&TCompressFuncEditor::StaticClass()}); }
