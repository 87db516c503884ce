// The root mean square and standard deviation editor: the period options and the complete form.
#pragma once

#include "chart/editor/grafediperi.h"
#include "chart/series/grafstats.h"
#include "platform/ui/ranges.h"
#include "platform/ui/stdctrls.h"

class TRMSFuncEditor : public TGrafFunctionEditor {
  ZV_CLASS(TRMSFuncEditor)
public:
  explicit TRMSFuncEditor(TComponent* AOwner);

  void ApplyChanges() override;
  void LoadFunction() override;

protected:
  virtual void CBCompleteClick(TObject* Sender);

  TCheckBox* CBComplete;

  TRMSFunction* Function() const { return dynamic_cast<TRMSFunction*>(TheFunction); }
};

void RegisterRMSFuncEditorClasses();
