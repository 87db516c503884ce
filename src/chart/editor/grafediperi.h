// The options editor of functions calculated over periods: all points,
// every number of points or every range of X, aligned at the first, centre
// or last point.
#pragma once

#include "chart/core/grafeditctrls.h"
#include "chart/editor/grafbasefuncedit.h"
#include "platform/ui/stdctrls.h"

class TGrafFunctionEditor : public TBaseFunctionEditor {
  ZV_CLASS(TGrafFunctionEditor)
public:
  explicit TGrafFunctionEditor(TComponent* AOwner);

  void ApplyChanges() override;
  void LoadFunction() override;

  enum TStyleItem { siAllPoints, siNumberOfPoints, siRange };

protected:
  virtual void CBStyleChange(TObject* Sender);
  virtual void ENumChange(TObject* Sender);
  virtual void CBAlignChange(TObject* Sender);
  virtual void BChangeClick(TObject* Sender);
  void EnableControls();

  TLabel* Label2;
  TComboFlat* CBStyle;
  TLabel* Label3;
  TEdit* ENum;
  TButton* BChange;
  TLabel* Label1;
  TComboFlat* CBAlign;
};

void RegisterPeriodFunctionEditorClasses();
