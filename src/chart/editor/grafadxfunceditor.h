// The ADX function editor: its period and the pens of its up and down lines.
#pragma once

#include "chart/editor/grafpendlg.h"
#include "chart/series/grafcandle.h"
#include "platform/ui/forms.h"
#include "platform/ui/ranges.h"

class TADXFuncEditor : public TForm {
  ZV_CLASS(TADXFuncEditor)
public:
  explicit TADXFuncEditor(TComponent* AOwner);

protected:
  virtual void FormShow(TObject* Sender);
  virtual void FormCloseQuery(TObject* Sender, bool& CanClose);
  virtual void EPeriodChange(TObject* Sender);

  TLabel* Label1;
  TEdit* EPeriod;
  TUpDown* UDPeriod;
  TButtonPen* BUp;
  TButtonPen* BDown;

  TADXFunction* FFunction = nullptr;
  bool FLoading = false;
};

void RegisterADXFuncEditorClasses();
