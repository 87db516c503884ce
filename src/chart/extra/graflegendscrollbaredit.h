// The scroll bar tool's editor: border, thumb, back and arrow fills, bevel,
// auto-repeat, size, initial delay, back colour and gradient.
#pragma once

#include "chart/core/grafeditctrls.h"
#include "chart/editor/grafedigrad.h"
#include "chart/editor/grafpendlg.h"
#include "platform/ui/forms.h"
#include "platform/ui/ranges.h"
#include "platform/ui/stdctrls.h"

class TGrafScrollBar;

class TScrollbarEditor : public TForm {
  ZV_CLASS(TScrollbarEditor)
public:
  explicit TScrollbarEditor(TComponent* AOwner);
  TGrafScrollBar* Tool() const { return FTool; }

  TButtonPen* ButtonPen1;
  TButton* Button1;
  TButton* Button2;
  TButton* Button3;
  TLabel* Label1;
  TComboFlat* ComboBox1;
  TCheckBox* CBAuto;
  TLabel* Label2;
  TEdit* Edit1;
  TUpDown* UpDown1;
  TLabel* Label3;
  TEdit* Edit2;
  TUpDown* UpDown2;
  TButtonColor* ButtonColor1;
  TButtonGradient* BGradient;

private:
  void FormShow();
  TGrafScrollBar* FTool = nullptr;
  bool FLoading = false;
};
