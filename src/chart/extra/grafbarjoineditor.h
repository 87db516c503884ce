// The editor of the bar-join series: the bar series editor with a pen
// button for the join lines.
#pragma once

#include "chart/editor/grafbaredit.h"

class TBarJoinEditor : public TBarSeriesEditor {
  ZV_CLASS(TBarJoinEditor)
public:
  explicit TBarJoinEditor(TComponent* AOwner);

protected:
  void FormShow(TObject* Sender) override;

  TButtonPen* BJoin;
};
