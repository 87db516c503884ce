// The smoothing function editor: interpolation and the factor of points.
#pragma once

#include "chart/editor/grafbasefuncedit.h"
#include "chart/series/grafspline.h"
#include "platform/ui/ranges.h"
#include "platform/ui/stdctrls.h"

class TSmoothFuncEditor : public TBaseFunctionEditor {
  ZV_CLASS(TSmoothFuncEditor)
public:
  explicit TSmoothFuncEditor(TComponent* AOwner);

  void ApplyChanges() override;
  void LoadFunction() override;

protected:
  virtual void CBInterpClick(TObject* Sender);
  virtual void Edit1Change(TObject* Sender);

  TCheckBox* CBInterp;
  TLabel* Label1;
  TEdit* Edit1;
  TUpDown* UpDown1;

  TSmoothingFunction* Function() const { return dynamic_cast<TSmoothingFunction*>(TheFunction); }
};

void RegisterSmoothFuncEditorClasses();
