// The commodity channel index editor: its constant and period.
#pragma once

#include "chart/editor/grafbasefuncedit.h"
#include "chart/series/grafcandle.h"
#include "platform/ui/ranges.h"
#include "platform/ui/stdctrls.h"

class TCCIFuncEditor : public TBaseFunctionEditor {
  ZV_CLASS(TCCIFuncEditor)
public:
  explicit TCCIFuncEditor(TComponent* AOwner);

  void ApplyChanges() override;
  void LoadFunction() override;

protected:
  virtual void EConstChange(TObject* Sender);
  virtual void EPeriodChange(TObject* Sender);

  TLabel* Label1;
  TEdit* EConst;
  TLabel* Label2;
  TEdit* EPeriod;
  TUpDown* UDPeriod;

  TCCIFunction* Function() const { return dynamic_cast<TCCIFunction*>(TheFunction); }
};

void RegisterCCIFuncEditorClasses();
