#include "chart/editor/grafaxisincr.h"

#include <cmath>
#include <memory>

#include "chart/core/grafutils.h"
#include "chart/editor/editorbuild.h"
#include "platform/rtl/datetime.h"
#include "platform/rtl/format.h"
#include "platform/rtl/formatsettings.h"
#include "platform/rtl/strutils.h"

using namespace editorbuild;

namespace {
const char* const kSteps[DateTimeStepCount] = {
    "One Microsecond", "One Millisecond", "One Second",    "Five Seconds",   "Ten Seconds",  "Fifteen Seconds",
    "Thirty Seconds",  "One Minute",      "Five Minutes",  "Ten Minutes",    "Fifteen Minutes", "Thirty Minutes",
    "One Hour",        "Two Hours",       "Six Hours",     "Twelve Hours",   "One Day",      "Two Days",
    "Three Days",      "One Week",        "Half Month",    "One Month",      "Two Months",   "Three Months",
    "Four Months",     "Six Months",      "One Year"};
}  // namespace

std::string DateTimeIncrementText(double Increment) {
  if (Increment <= 0) return FormatDateTime(FormatSettings.LongTimeFormat, DateTimeStep[dtOneSecond]);
  if (Increment >= 1) {
    const double days = std::trunc(Increment);
    std::string text = FloatToStr(days);
    const double fraction = Increment - days;
    if (fraction > 0) text += " " + FormatDateTime(FormatSettings.LongTimeFormat, fraction);
    return text;
  }
  return FormatDateTime(FormatSettings.LongTimeFormat, Increment);
}

ZV_CLASS_IMPL_NOPROPS(TAxisIncrement, TForm)

TAxisIncrement::TAxisIncrement(TComponent* AOwner) : TForm(AOwner) {
  SetCaption("Axis Increment");
  SetClientWidth(327);
  SetClientHeight(114);
  SetPosition(poScreenCenter);
  RadioGroup1 = Make<TRadioGroup>(this, this, "RadioGroup1", 8, 4, 90, 64, "Increment:");
  RadioGroup1->Items()->Add("&Standard:");
  RadioGroup1->Items()->Add("&Custom:");
  CBSteps = Make<TComboFlat>(this, this, "CBSteps", 104, 18, 130, 21);
  CBSteps->SetDropDownCount(18);
  for (const char* s : kSteps) CBSteps->Items()->Add(s);
  ECustom = Make<TEdit>(this, this, "ECustom", 170, 78, 90, 21);
  ECustom->SetShowHint(true);
  Label1 = MakeLabel(this, this, "Label1", 104, 82, "&Increment:", ECustom);
  CBExact = Make<TCheckBox>(this, this, "CBExact", 104, 46, 120, 17, "&Exact Date Time");
  BOk = Make<TButton>(this, this, "BOk", 244, 8, 75, 25, "OK");
  BOk->SetDefault(true);
  BCancel = MakeCancelButton(this, this, "BCancel", 244, 40);
  SetActiveControl(BOk);

  RadioGroup1->OnClick = [this](TObject* s) { RadioGroup1Click(s); };
  CBExact->OnClick = [this](TObject* s) { CBExactClick(s); };
  CBSteps->OnChange = [this](TObject* s) { CBStepsChange(s); };
  BOk->OnClick = [this](TObject* s) { BOkClick(s); };
  OnShow = [this](TObject* s) { FormShow(s); };
  FormCreate(this);
}

void TAxisIncrement::FormCreate(TObject*) { SetBorderStyle(bsDialog); }

std::string TAxisIncrement::StepText(int Index) const {
  return Index >= 0 && Index < CBSteps->Items()->Count() ? CBSteps->Items()->Strings(Index) : std::string();
}

void TAxisIncrement::FillCustom() { ECustom->SetText(DateTimeIncrementText(Increment)); }

void TAxisIncrement::FormShow(TObject*) {
  CBExact->SetVisible(IsDateTime);
  CBExact->SetEnabled(RadioGroup1->ItemIndex() == 0);
  CBExact->SetChecked(ExactDateTime);
  if (IsDateTime) {
    ECustom->SetHint("Enter [Number of Days] [hh:nn:ss]");
    FillCustom();
    if (ExactDateTime && StepIndex >= 0 && StepIndex < DateTimeStepCount) {
      RadioGroup1->SetItemIndex(0);
      CBSteps->SetItemIndex(StepIndex);
      ECustom->SetText("");
      ECustom->SetEnabled(false);
      if (CBSteps->CanFocus()) CBSteps->SetFocus();
    } else {
      RadioGroup1->SetItemIndex(1);
      CBSteps->SetItemIndex(-1);
    }
  } else {
    CBSteps->Hide();
    RadioGroup1->Hide();
    RadioGroup1->SetItemIndex(1);
    ECustom->SetHint("");
    ECustom->SetText(FloatToStr(Increment));
    ECustom->SetTop(BOk->Top());
    Label1->SetTop(ECustom->Top() + 4);
    if (ECustom->CanFocus()) ECustom->SetFocus();
  }
}

void TAxisIncrement::RadioGroup1Click(TObject*) {
  if (RadioGroup1->ItemIndex() == 0) {
    ECustom->SetEnabled(false);
    CBExact->SetChecked(true);
    ExactDateTime = true;
    CBExact->SetEnabled(true);
    CBSteps->SetEnabled(true);
    if (StepIndex < 0 || StepIndex >= DateTimeStepCount) StepIndex = 0;
    CBSteps->SetItemIndex(StepIndex);
    if (CBSteps->CanFocus()) CBSteps->SetFocus();
  } else {
    ECustom->SetEnabled(true);
    CBExact->SetChecked(false);
    ExactDateTime = false;
    CBExact->SetEnabled(false);
    CBSteps->SetEnabled(false);
    if (IsDateTime) FillCustom();
    if (ECustom->CanFocus()) ECustom->SetFocus();
  }
}

void TAxisIncrement::CBExactClick(TObject*) {
  ExactDateTime = CBExact->Checked();
  if (!ExactDateTime && RadioGroup1->ItemIndex() != 1) {
    RadioGroup1->SetItemIndex(1);
    ECustom->SetEnabled(true);
    FillCustom();
    if (ECustom->CanFocus()) ECustom->SetFocus();
  }
}

void TAxisIncrement::CBStepsChange(TObject*) { StepIndex = CBSteps->ItemIndex(); }

void TAxisIncrement::BOkClick(TObject*) {
  try {
    const std::string text = Trim(ECustom->Text());
    if (!IsDateTime) {
      Increment = StrToFloat(text);
    } else if (RadioGroup1->ItemIndex() == 1) {
      const size_t blank = text.find(' ');
      if (blank != std::string::npos) {
        Increment = StrToFloat(text.substr(0, blank)) + StrToTime(Trim(text.substr(blank + 1)));
      } else {
        double days;
        Increment = TryStrToFloat(text, days) ? days : StrToTime(text);
      }
    } else {
      const int step = CBSteps->ItemIndex();
      if (step >= 0 && step < DateTimeStepCount) Increment = DateTimeStep[step];
    }
  } catch (const std::exception& e) {
    ShowMessage(Format("Incorrect value. Reason: %s", {std::string(e.what())}));
    return;
  }
  SetModalResult(mrOk);
}

std::string StepName(int Index) {
  TAxisIncrement names(nullptr);
  return names.StepText(Index);
}

std::string AxisIncrementText(TComponent* Owner, bool IsDateTime, bool ExactDateTime, double Increment,
                              const std::string& NumberFormat) {
  if (IsDateTime) {
    if (ExactDateTime) {
      const int step = NearestDateTimeStepIndex(Increment);
      if (step != dtNone) {
        TAxisIncrement names(Owner);
        return names.StepText(step);
      }
    }
    return DateTimeIncrementText(Increment);
  }
  const std::string text = FormatFloat(NumberFormat, Increment);
  double back;
  if (TryStrToFloat(text, back) && back == Increment) return text;
  return FloatToStr(Increment);
}

void RegisterAxisIncrementClasses() { RegisterClasses({&TAxisIncrement::StaticClass()}); }
