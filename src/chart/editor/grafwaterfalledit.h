// The waterfall series editor: the surface editor with the waterfall's own
// lines pen.
#pragma once

#include "chart/editor/grafsurfedit.h"

class TWaterFallEditor : public TSurfaceSeriesEditor {
  ZV_CLASS(TWaterFallEditor)
public:
  explicit TWaterFallEditor(TComponent* AOwner);

protected:
  void FormShow(TObject* Sender) override;

  TButtonPen* BLines;
};

void RegisterWaterFallEditorClasses();
