// The bubble series' editor: the pointer editor with the bubbles'
// transparency; a bubble is always drawn, so its "Visible" box is hidden.
#pragma once

#include "chart/editor/grafpoedi.h"

class TBubbleSeriesEditor : public TSeriesPointerEditor {
  ZV_CLASS(TBubbleSeriesEditor)
public:
  explicit TBubbleSeriesEditor(TComponent* AOwner);

protected:
  void FormShow(TObject* Sender) override;
  virtual void Edit1Change(TObject* Sender);

  TLabel* Label4;
  TEdit* Edit1;
  TUpDown* UDTransp;
};
