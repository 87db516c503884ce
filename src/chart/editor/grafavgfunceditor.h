// The average function editor: the period options and whether null values count.
#pragma once

#include "chart/editor/grafediperi.h"
#include "chart/series/graffunci.h"
#include "platform/ui/ranges.h"
#include "platform/ui/stdctrls.h"

class TAverageFuncEditor : public TGrafFunctionEditor {
  ZV_CLASS(TAverageFuncEditor)
public:
  explicit TAverageFuncEditor(TComponent* AOwner);

  void ApplyChanges() override;
  void LoadFunction() override;

protected:
  virtual void CBNullsClick(TObject* Sender);

  TCheckBox* CBNulls;

  TAverageGrafFunction* Function() const { return dynamic_cast<TAverageGrafFunction*>(TheFunction); }
};

void RegisterAverageFuncEditorClasses();
