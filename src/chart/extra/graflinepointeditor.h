// The editor of the line-point series: the pointer editor with a pen button
// for the drop lines.
#pragma once

#include "chart/editor/grafpoedi.h"

class TLinePointEditor : public TSeriesPointerEditor {
  ZV_CLASS(TLinePointEditor)
public:
  explicit TLinePointEditor(TComponent* AOwner);

protected:
  void FormShow(TObject* Sender) override;

  TButtonPen* BLines;
};
