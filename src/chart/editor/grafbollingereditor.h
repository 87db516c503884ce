// The Bollinger bands editor: period, exponential average, deviation and the band pens.
#pragma once

#include "chart/editor/grafbasefuncedit.h"
#include "chart/series/grafstats.h"
#include "platform/ui/ranges.h"
#include "platform/ui/stdctrls.h"
#include "chart/editor/grafpendlg.h"

class TBollingerFuncEditor : public TBaseFunctionEditor {
  ZV_CLASS(TBollingerFuncEditor)
public:
  explicit TBollingerFuncEditor(TComponent* AOwner);

  void ApplyChanges() override;
  void LoadFunction() override;

protected:
  virtual void ENumChange(TObject* Sender);
  virtual void CheckBox1Click(TObject* Sender);
  virtual void Edit1Change(TObject* Sender);

  TLabel* Label1;
  TEdit* ENum;
  TUpDown* UpDown1;
  TCheckBox* CheckBox1;
  TLabel* Label2;
  TEdit* Edit1;
  TButtonPen* ButtonPen1;
  TButtonPen* ButtonPen2;

  TBollingerFunction* Function() const { return dynamic_cast<TBollingerFunction*>(TheFunction); }
};

void RegisterBollingerFuncEditorClasses();
