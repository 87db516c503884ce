// The drag-marks tool's editor: the series whose marks may be dragged
// ("(all)" for every series) and a button that puts dragged marks back.
#pragma once

#include "chart/editor/graftoolseriesedit.h"

class TDragMarksToolEditor : public TSeriesToolEditor {
  ZV_CLASS(TDragMarksToolEditor)
public:
  explicit TDragMarksToolEditor(TComponent* AOwner);

  TButton* Button1;

protected:
  void FormShow(TObject* Sender) override;
};
