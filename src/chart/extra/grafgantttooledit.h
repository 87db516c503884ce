// The gantt tool's editor: the gantt series (others are not offered), the
// resize tolerance, what may be done and the two cursors.
#pragma once

#include "chart/editor/graftoolseriesedit.h"
#include "platform/ui/ranges.h"

class TGanttTool;

class TGanttToolEditor : public TSeriesToolEditor {
  ZV_CLASS(TGanttToolEditor)
public:
  explicit TGanttToolEditor(TComponent* AOwner);
  TGanttTool* Gantt() const;

  TLabel* Label2;
  TEdit* Edit1;
  TUpDown* UpDown1;
  TCheckBox* CBAllowDrag;
  TCheckBox* CBAllowResize;
  TLabel* Label3;
  TComboFlat* CBCursorDrag;
  TLabel* Label4;
  TComboFlat* CBCursorResize;

protected:
  void FormShow(TObject* Sender) override;

private:
  bool FLoading = true;
};
