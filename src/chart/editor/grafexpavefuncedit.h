// The exponential average function editor: its weight.
#pragma once

#include "chart/editor/grafbasefuncedit.h"
#include "chart/series/grafstats.h"
#include "platform/ui/ranges.h"
#include "platform/ui/stdctrls.h"

class TExpAveFuncEditor : public TBaseFunctionEditor {
  ZV_CLASS(TExpAveFuncEditor)
public:
  explicit TExpAveFuncEditor(TComponent* AOwner);

  void ApplyChanges() override;
  void LoadFunction() override;

protected:
  virtual void Edit1Change(TObject* Sender);

  TLabel* Label1;
  TEdit* Edit1;

  TExpAverageFunction* Function() const { return dynamic_cast<TExpAverageFunction*>(TheFunction); }
};

void RegisterExpAveFuncEditorClasses();
