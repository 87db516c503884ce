// The drag-point tool editor: the tool's series and the directions a point
// may be dragged in.
#pragma once

#include "chart/editor/graftoolseriesedit.h"
#include "platform/ui/radio.h"

class TDragPointToolEdit : public TSeriesToolEditor {
  ZV_CLASS(TDragPointToolEdit)
public:
  explicit TDragPointToolEdit(TComponent* AOwner);

protected:
  void FormShow(TObject* Sender) override;
  virtual void RGStyleClick(TObject* Sender);

  TRadioGroup* RGStyle;
  bool FLoading = false;
};

void RegisterDragPointEditorClasses();
