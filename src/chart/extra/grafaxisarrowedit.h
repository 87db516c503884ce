// The axis arrow tool's editor: fill, length, which ends carry arrows, how
// far a click scrolls, and the head's size and width.
#pragma once

#include "chart/extra/grafaxistooledit.h"
#include "platform/ui/ranges.h"

class TAxisArrowTool;

class TAxisArrowToolEditor : public TAxisToolEditor {
  ZV_CLASS(TAxisArrowToolEditor)
public:
  explicit TAxisArrowToolEditor(TComponent* AOwner);
  TAxisArrowTool* Arrow() const;

  TButton* Button1;
  TLabel* LL;
  TEdit* ELength;
  TUpDown* UDLength;
  TLabel* Label2;
  TComboFlat* CBPos;
  TLabel* Label3;
  TEdit* Edit1;
  TUpDown* UDScroll;
  TLabel* Label4;
  TCheckBox* CBInv;
  TLabel* Label5;
  TEdit* ESize;
  TUpDown* UDSize;
  TLabel* Label6;
  TLabel* Label7;
  TEdit* EWidth;
  TUpDown* UDWidth;

protected:
  void FormShow(TObject* Sender) override;

private:
  bool Writing() const;
  bool FLoading = true;
};
