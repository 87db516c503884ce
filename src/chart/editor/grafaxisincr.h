// The axis increment dialog ("Axis Increment"): a number, or for date-time
// axes a standard step ("One Hour", "One Month" ...) or a free value of days
// and a time of day; and the text that shows an increment.
#pragma once

#include <string>

#include "chart/core/grafeditctrls.h"
#include "platform/ui/forms.h"
#include "platform/ui/radio.h"
#include "platform/ui/stdctrls.h"

class TAxisIncrement : public TForm {
  ZV_CLASS(TAxisIncrement)
public:
  explicit TAxisIncrement(TComponent* AOwner);

  // Set before showing; read after OK.
  bool IsDateTime = false;
  bool ExactDateTime = false;
  double Increment = 0;  // in days on date-time axes
  int StepIndex = 27;    // the standard step, 27 for none

  // The name of a standard step.
  std::string StepText(int Index) const;

protected:
  virtual void FormCreate(TObject* Sender);
  virtual void FormShow(TObject* Sender);
  virtual void RadioGroup1Click(TObject* Sender);
  virtual void CBExactClick(TObject* Sender);
  virtual void CBStepsChange(TObject* Sender);
  virtual void BOkClick(TObject* Sender);
  void FillCustom();

  TRadioGroup* RadioGroup1;
  TComboFlat* CBSteps;
  TLabel* Label1;
  TEdit* ECustom;
  TCheckBox* CBExact;
  TButton* BOk;
  TButton* BCancel;
};

// A date-time increment as text: a second for 0 or less; whole days and,
// with a fraction, a blank and the time of day; below a day the time.
std::string DateTimeIncrementText(double Increment);
// The text that shows an axis increment: the step's name for an exact
// date-time increment that is a standard step, else the date-time text; on
// number axes the number in the axis' format, or its full decimal text
// when that does not read back as the same value.
std::string AxisIncrementText(TComponent* Owner, bool IsDateTime, bool ExactDateTime, double Increment,
                              const std::string& NumberFormat);
// The name of a standard date-time step ("One Second" ...).
std::string StepName(int Index);

void RegisterAxisIncrementClasses();
