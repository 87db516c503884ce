// The moving average function editor: period and weighting.
#pragma once

#include "chart/editor/grafbasefuncedit.h"
#include "chart/series/grafstats.h"
#include "platform/ui/ranges.h"
#include "platform/ui/stdctrls.h"
#include "chart/core/grafeditctrls.h"

class TMovAveFuncEditor : public TBaseFunctionEditor {
  ZV_CLASS(TMovAveFuncEditor)
public:
  explicit TMovAveFuncEditor(TComponent* AOwner);

  void ApplyChanges() override;
  void LoadFunction() override;

protected:
  virtual void Edit1Change(TObject* Sender);
  virtual void CBStyleChange(TObject* Sender);

  TLabel* Label1;
  TEdit* Edit1;
  TUpDown* UpDown1;
  TLabel* Label2;
  TComboFlat* CBStyle;

  TMovingAverageFunction* Function() const { return dynamic_cast<TMovingAverageFunction*>(TheFunction); }
};

void RegisterMovAveFuncEditorClasses();
