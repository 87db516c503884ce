// The nearest-point tool's editor: series, the marker's pen, fill, size
// and shape, the line to the mouse, and full repaints.
#pragma once

#include "chart/editor/grafpendlg.h"
#include "chart/editor/graftoolseriesedit.h"
#include "platform/ui/ranges.h"

class TNearestTool;

class TNearestToolEdit : public TSeriesToolEditor {
  ZV_CLASS(TNearestToolEdit)
public:
  explicit TNearestToolEdit(TComponent* AOwner);
  TNearestTool* Nearest() const;

  TButtonPen* BPen;
  TButton* Button1;
  TButtonPen* BLine;
  TLabel* Label2;
  TEdit* Edit1;
  TUpDown* UDSize;
  TLabel* Label3;
  TComboFlat* CBStyle;
  TCheckBox* CBFull;

protected:
  void FormShow(TObject* Sender) override;

private:
  bool Writing() const { return Nearest() && !FLoading; }
  bool FLoading = true;
};
