// The lighting tool's editor: light point, style, factor and mouse following.
#pragma once

#include "chart/core/grafeditctrls.h"
#include "platform/ui/forms.h"
#include "platform/ui/ranges.h"
#include "platform/ui/stdctrls.h"

class TLightTool;

class TLightToolEditor : public TForm {
  ZV_CLASS(TLightToolEditor)
public:
  explicit TLightToolEditor(TComponent* AOwner);
  TLightTool* Tool() const { return FTool; }

  TLabel* Label1;
  TTrackBar* TBLeft;
  TLabel* Label2;
  TTrackBar* TBTop;
  TLabel* Label3;
  TComboFlat* CBStyle;
  TLabel* Label4;
  TTrackBar* TBFactor;
  TCheckBox* CheckBox2;

private:
  void FormShow();
  TLightTool* FTool = nullptr;
  bool FLoading = true;
};
