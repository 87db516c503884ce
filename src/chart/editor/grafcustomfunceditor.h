// The custom function editor: where the points an event computes start,
// their step and their number.
#pragma once

#include "platform/ui/forms.h"
#include "platform/ui/stdctrls.h"
#include "chart/series/graffunci.h"

class TCustomFunctionEditor : public TForm {
  ZV_CLASS(TCustomFunctionEditor)
public:
  explicit TCustomFunctionEditor(TComponent* AOwner);

protected:
  virtual void FormShow(TObject* Sender);
  virtual void FormCloseQuery(TObject* Sender, bool& CanClose);
  virtual void EStartChange(TObject* Sender);

  TLabel* Label1;
  TEdit* EStart;
  TLabel* Label2;
  TEdit* EStep;
  TLabel* Label3;
  TEdit* ENum;

  TCustomGrafFunction* FFunction = nullptr;
  bool FLoading = false;
};

void RegisterCustomFunctionEditorClasses();
