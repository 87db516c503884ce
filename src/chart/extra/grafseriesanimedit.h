// The series animation tool's editor: steps, where the values start, how
// often to draw, looping, and a button that runs or stops the animation.
#pragma once

#include "chart/editor/graftoolseriesedit.h"
#include "platform/ui/ranges.h"

class TSeriesAnimationTool;

class TSeriesAnimToolEditor : public TSeriesToolEditor {
  ZV_CLASS(TSeriesAnimToolEditor)
public:
  explicit TSeriesAnimToolEditor(TComponent* AOwner);
  TSeriesAnimationTool* Anim() const;

  TLabel* Label2;
  TScrollBar* SBSteps;
  TLabel* Label3;
  TCheckBox* CBStartMin;
  TLabel* Label4;
  TEdit* EStart;
  TLabel* Label5;
  TEdit* Edit1;
  TUpDown* UpDown1;
  TLabel* Label6;
  TComboFlat* ComboFlat1;
  TButton* Button1;

protected:
  void FormShow(TObject* Sender) override;
  void CBSeriesChange(TObject* Sender) override;
  void Button1Click(TObject* Sender);

private:
  bool Writing() const { return Anim() && !FLoading; }
  bool FLoading = true;
};
