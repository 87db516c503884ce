// The draw-line tool's editor: which mouse button draws, the lines' pen,
// whether drawing and selecting are allowed, and the click tolerance.
#pragma once

#include "chart/editor/grafpendlg.h"
#include "chart/editor/graftoolseriesedit.h"
#include "platform/ui/ranges.h"

class TDrawLineTool;

class TDrawLineEdit : public TSeriesToolEditor {
  ZV_CLASS(TDrawLineEdit)
public:
  explicit TDrawLineEdit(TComponent* AOwner);
  TDrawLineTool* DrawLine() const;

  TLabel* Label11;
  TComboFlat* CBButton;
  TButtonPen* BPen;
  TCheckBox* CBEnable;
  TCheckBox* CBSelect;
  TCheckBox* CBSelectNew;
  TLabel* Label2;
  TEdit* EPixels;
  TUpDown* UDClick;
  TLabel* Label3;

protected:
  void FormShow(TObject* Sender) override;

private:
  bool Writing() const { return DrawLine() && !FLoading; }
  bool FLoading = true;
};
