// The close location value editor: the volume series it reads and accumulation.
#pragma once

#include "chart/editor/grafbasefuncedit.h"
#include "chart/series/grafcandle.h"
#include "platform/ui/ranges.h"
#include "platform/ui/stdctrls.h"
#include "chart/core/grafeditctrls.h"

class TCLVFuncEditor : public TBaseFunctionEditor {
  ZV_CLASS(TCLVFuncEditor)
public:
  explicit TCLVFuncEditor(TComponent* AOwner);

  void ApplyChanges() override;
  void LoadFunction() override;

protected:
  virtual void CBVolumeChange(TObject* Sender);
  virtual void CBAccumulateClick(TObject* Sender);

  TLabel* Label1;
  TComboFlat* CBVolume;
  TCheckBox* CBAccumulate;

  TCLVFunction* Function() const { return dynamic_cast<TCLVFunction*>(TheFunction); }
};

void RegisterCLVFuncEditorClasses();
