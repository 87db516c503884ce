// The shadow editor: sizes, transparency, colour and smoothing of a chart
// shadow, edited in place; a page of bigger editors or a small dialog.
#pragma once

#include "chart/core/grafattrs.h"
#include "chart/core/grafeditctrls.h"
#include "platform/ui/forms.h"
#include "platform/ui/ranges.h"
#include "platform/ui/stdctrls.h"

class TGrafShadowEditor : public TForm {
  ZV_CLASS(TGrafShadowEditor)
public:
  explicit TGrafShadowEditor(TComponent* AOwner);

  // Stores the shadow and loads the controls from it.
  void BindShadow(TGrafShadow* Shadow);
  TGrafShadow* Shadow() const { return FShadow; }
  // The OK button shows only when the editor runs as a dialog.
  void ShowOkButton(bool Show);

protected:
  virtual void FormCreate(TObject* Sender);
  virtual void FormShow(TObject* Sender);
  virtual void Edit1Change(TObject* Sender);
  virtual void EVertSizeChange(TObject* Sender);
  virtual void EShadowTranspChange(TObject* Sender);
  virtual void CBSmoothClick(TObject* Sender);
  virtual void BOKClick(TObject* Sender);
  bool CanEdit() const { return !FLoading && FShadow; }

  TLabel* Label1;
  TEdit* Edit1;
  TUpDown* UDShadowSize;
  TLabel* Label5;
  TEdit* EVertSize;
  TUpDown* UDShaVert;
  TLabel* LTransp;
  TEdit* EShadowTransp;
  TUpDown* UDShadowTransp;
  TButtonColor* BShadowColor;
  TCheckBox* CBSmooth;
  TButton* BOK;

  TGrafShadow* FShadow = nullptr;
  bool FLoading = false;
};

// The editor as a dialog on the shadow (changes apply at once).
void RunShadowEditor(TComponent* Owner, TGrafShadow* Shadow);
// The editor embedded in a tab sheet, owned by the sheet's owner.
TGrafShadowEditor* EmbedShadowEditor(TWinControl* Sheet);

void RegisterShadowEditorClasses();
