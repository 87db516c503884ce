// The selector tool's editor: handle outline and colour, handle size,
// dragging and chart resizing.
#pragma once

#include "chart/core/grafeditctrls.h"
#include "chart/editor/grafpendlg.h"
#include "platform/ui/forms.h"
#include "platform/ui/ranges.h"
#include "platform/ui/stdctrls.h"

class TSelectorTool;

class TSelectorToolEditor : public TForm {
  ZV_CLASS(TSelectorToolEditor)
public:
  explicit TSelectorToolEditor(TComponent* AOwner);
  TSelectorTool* Tool() const { return FTool; }

  TButtonPen* ButtonPen1;
  TButtonColor* ButtonColor1;
  TLabel* Label1;
  TEdit* Edit1;
  TUpDown* UDSize;
  TCheckBox* CBAllowDrag;
  TCheckBox* CBResizeChart;

private:
  void FormShow();
  TSelectorTool* FTool = nullptr;
  bool FLoading = false;
};
