// The rotate tool's editor: inverted dragging, what a drag turns, which
// mouse button turns, and the outline's pen.
#pragma once

#include "chart/core/grafeditctrls.h"
#include "chart/editor/grafpendlg.h"
#include "platform/ui/forms.h"
#include "platform/ui/stdctrls.h"

class TRotateTool;

class TRotateToolEditor : public TForm {
  ZV_CLASS(TRotateToolEditor)
public:
  explicit TRotateToolEditor(TComponent* AOwner);
  TRotateTool* Tool() const { return FTool; }

  TCheckBox* CBInverted;
  TLabel* Label1;
  TComboFlat* CBStyle;
  TLabel* Label2;
  TComboFlat* CBButton;
  TButtonPen* BOutline;

  // The combo lists Left, Middle, Right: not the buttons' own order.
  static TMouseButton ButtonOfItem(int Item);
  static int ItemOfButton(TMouseButton Button);

private:
  void FormShow();
  bool Writing() const { return FTool && !FLoading; }
  TRotateTool* FTool = nullptr;
  bool FLoading = true;
};
