// The on-balance volume editor: the volume series it reads.
#pragma once

#include "chart/editor/grafbasefuncedit.h"
#include "chart/series/grafcandle.h"
#include "platform/ui/ranges.h"
#include "platform/ui/stdctrls.h"
#include "chart/core/grafeditctrls.h"

class TOBVFuncEditor : public TBaseFunctionEditor {
  ZV_CLASS(TOBVFuncEditor)
public:
  explicit TOBVFuncEditor(TComponent* AOwner);

  void ApplyChanges() override;
  void LoadFunction() override;

protected:
  virtual void CBVolumeChange(TObject* Sender);

  TLabel* Label1;
  TComboFlat* CBVolume;

  TOBVFunction* Function() const { return dynamic_cast<TOBVFunction*>(TheFunction); }
};

void RegisterOBVFuncEditorClasses();
