// The pie tool's editor: the pie series, the style and the focus outline.
#pragma once

#include "chart/editor/grafpendlg.h"
#include "platform/ui/forms.h"
#include "platform/ui/radio.h"
#include "platform/ui/stdctrls.h"

class TPieTool;

class TPieToolEditor : public TForm {
  ZV_CLASS(TPieToolEditor)
public:
  explicit TPieToolEditor(TComponent* AOwner);
  TPieTool* Tool() const { return FTool; }

  TLabel* Label1;
  TComboBox* CBPieSeries;
  TRadioGroup* RGStyle;
  TButtonPen* BPen;

private:
  void FormShow();
  TPieTool* FTool = nullptr;
  bool FLoading = false;
};
