// The percentage volume oscillator editor: its two periods and the percentage form.
#pragma once

#include "chart/editor/grafbasefuncedit.h"
#include "chart/series/grafcandle.h"
#include "platform/ui/ranges.h"
#include "platform/ui/stdctrls.h"

class TPVOFuncEditor : public TBaseFunctionEditor {
  ZV_CLASS(TPVOFuncEditor)
public:
  explicit TPVOFuncEditor(TComponent* AOwner);

  void ApplyChanges() override;
  void LoadFunction() override;

protected:
  virtual void EPeriodChange(TObject* Sender);
  virtual void Edit1Change(TObject* Sender);
  virtual void CBPercentClick(TObject* Sender);

  TLabel* Label1;
  TEdit* EPeriod;
  TUpDown* UDPeriod;
  TLabel* Label2;
  TEdit* Edit1;
  TUpDown* UDPeriod2;
  TCheckBox* CBPercent;

  TPVOFunction* Function() const { return dynamic_cast<TPVOFunction*>(TheFunction); }
};

void RegisterPVOFuncEditorClasses();
