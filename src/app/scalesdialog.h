// The modal dialog that sets where the pattern plot puts its reflection
// markers and difference line (the four PlotScales numbers).
#pragma once

#include "platform/ui/forms.h"
#include "platform/ui/spinedit.h"
#include "platform/ui/stdctrls.h"

class TFormSetScales : public TForm {
  ZV_CLASS(TFormSetScales)
public:
  explicit TFormSetScales(TComponent* AOwner);

  TSpinEdit* sehklmarkerspos;
  TSpinEdit* sehklmarkerheight;
  TSpinEdit* sedifferencepos;
  TSpinEdit* seHKLseparation;
  TButton* btOK;
  TButton* btCancel;

  // Loads the four values from PlotScales.
  void FormShow(TObject* Sender);
  // Stores them (OK only).
  void btOKClick(TObject* Sender);
};

extern TFormSetScales* FormSetScales;
