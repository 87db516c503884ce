// The grid transpose tool's editor: the 3D grid series and "Transpose now".
#pragma once

#include "chart/core/grafeditctrls.h"
#include "platform/ui/forms.h"
#include "platform/ui/stdctrls.h"

class TGridTransposeTool;

class TGridTransposeToolEdit : public TForm {
  ZV_CLASS(TGridTransposeToolEdit)
public:
  explicit TGridTransposeToolEdit(TComponent* AOwner);
  TGridTransposeTool* Tool() const { return FTool; }

  TLabel* Label1;
  TComboFlat* CBSeries;
  TButton* BTranspose;

private:
  void FormShow();
  TGridTransposeTool* FTool = nullptr;
};
