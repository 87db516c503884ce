// The format editor ("Numeric Format"): builds a number, date-time or
// geographic format from check boxes and counters, and reads an existing
// format back into them. The series editor (value and percent formats) and
// the axis page (label format) open it.
#pragma once

#include <string>

#include "chart/core/grafeditctrls.h"
#include "platform/ui/extctrls.h"
#include "platform/ui/forms.h"
#include "platform/ui/radio.h"
#include "platform/ui/ranges.h"
#include "platform/ui/stdctrls.h"

class TFormatEditor : public TForm {
  ZV_CLASS(TFormatEditor)
public:
  explicit TFormatEditor(TComponent* AOwner);

  // Shows the editor modally on the format (the date-time choice only when
  // allowed); the built format after OK, the given one after Cancel.
  static std::string EditFormat(TComponent* Owner, const std::string& Format, bool AllowDateTime);

  // The format shown (set before showing).
  std::string TheFormat;
  // The format the controls describe now.
  std::string BuildFormat() const;
  void AllowDateTime(bool Allow);

protected:
  virtual void FormCreate(TObject* Sender);
  virtual void FormShow(TObject* Sender);
  // The radio buttons and the thousands and currency boxes.
  virtual void SharedClick(TObject* Sender);
  virtual void RBIntegerClick(TObject* Sender);
  virtual void CBPercentClick(TObject* Sender);
  virtual void CBDateChange(TObject* Sender);
  virtual void CBCustomChange(TObject* Sender);
  virtual void CBGeoChange(TObject* Sender);
  // Checks a radio button with the handlers quiet.
  void CheckSilently(TRadioButton* Button);
  void FocusIfShowing(TWinControl* Control);

  TRadioButton* RBInteger;
  TLabel* Label1;
  TEdit* Edit1;
  TUpDown* UpDown1;
  TCheckBox* CBFixedDecimals;
  TLabel* Label2;
  TEdit* Edit2;
  TUpDown* UpDown2;
  TCheckBox* CBPercent;
  TCheckBox* CBThousands;
  TCheckBox* CBCurrency;
  TRadioButton* RBDate;
  TComboFlat* CBDate;
  TRadioButton* RBCustom;
  TComboFlat* CBCustom;
  TRadioButton* RBGeo;
  TComboFlat* CBGeo;
  TPanel* PanelOK;
  TButton* Button1;
  TButton* Button2;

  bool FDate = false;
  bool FGeo = false;
  bool FLoading = false;
};

void RegisterFormatEditorClasses();
