// The MACD function editor: its three periods and the pens of its lines.
#pragma once

#include "chart/editor/grafbasefuncedit.h"
#include "chart/series/grafcandle.h"
#include "platform/ui/ranges.h"
#include "platform/ui/stdctrls.h"
#include "chart/editor/grafpendlg.h"

class TMACDFuncEditor : public TBaseFunctionEditor {
  ZV_CLASS(TMACDFuncEditor)
public:
  explicit TMACDFuncEditor(TComponent* AOwner);

  void ApplyChanges() override;
  void LoadFunction() override;

protected:
  virtual void ENumChange(TObject* Sender);
  virtual void Edit1Change(TObject* Sender);
  virtual void Edit2Change(TObject* Sender);

  TLabel* Label1;
  TEdit* ENum;
  TUpDown* UpDown1;
  TLabel* Label2;
  TEdit* Edit1;
  TUpDown* UpDown2;
  TLabel* Label3;
  TEdit* Edit2;
  TUpDown* UpDown3;
  TButtonPen* BHistogram;
  TButtonPen* BMACD;
  TButtonPen* BMACDExp;

  TMACDFunction* Function() const { return dynamic_cast<TMACDFunction*>(TheFunction); }
};

void RegisterMACDFuncEditorClasses();
