// The base of every function's options editor: it binds the function, and
// when the hosting source page applies, it creates the function if needed,
// stores the controls into it and attaches it to the series.
#pragma once

#include "chart/core/grengine.h"
#include "platform/rtl/stringlist.h"
#include "platform/ui/forms.h"

class TGrafFuncEditor;

class TBaseFunctionEditor : public TForm {
  ZV_CLASS(TBaseFunctionEditor)
public:
  explicit TBaseFunctionEditor(TComponent* AOwner);

  // ---- New virtual operations, in slot order ----
  // Stores the controls into the function; nothing here.
  virtual void ApplyChanges() {}
  // Loads the function into the controls; nothing here.
  virtual void LoadFunction() {}

  TGrafFunction* TheFunction = nullptr;
  // Enables the hosting page's Apply button.
  void MarkChanged();
  // The series of the function's chart that the editor lists.
  void FillSeriesList(TStrings* List);
  // The source page that hosts the editor (its owner), or nil.
  TGrafFuncEditor* HostPage() const;

protected:
  virtual void FormShow(TObject* Sender);
  // The apply step; closing is always allowed.
  virtual void FormCloseQuery(TObject* Sender, bool& CanClose);

  bool FLoading = false;
};

void RegisterBaseFunctionEditorClasses();
