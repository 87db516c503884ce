// The cursor tool's editor: series, pen, which lines, snapping and mouse
// following, the series' Z and the click tolerance.
#pragma once

#include "chart/editor/grafpendlg.h"
#include "chart/editor/graftoolseriesedit.h"
#include "platform/ui/ranges.h"

class TCursorTool;

class TCursorToolEditor : public TSeriesToolEditor {
  ZV_CLASS(TCursorToolEditor)
public:
  explicit TCursorToolEditor(TComponent* AOwner);
  TCursorTool* Cursor() const;

  TButtonPen* BPen;
  TLabel* Label2;
  TComboFlat* CBStyle;
  TCheckBox* CBSnap;
  TCheckBox* CBFollow;
  TCheckBox* CBZ;
  TLabel* Label3;
  TEdit* EPixels;
  TUpDown* UDClick;
  TLabel* Label4;

protected:
  void FormShow(TObject* Sender) override;
  void CBSeriesChange(TObject* Sender) override;

private:
  // Snapping needs a series; the series' Z goes with snapping.
  void EnableSnap();
  bool Writing() const { return Cursor() && !FLoading; }
  bool FLoading = true;
};
