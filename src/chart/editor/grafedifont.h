// The chart font editor ("GrafFont Editor"): colour, font, inter-character
// spacing, outline pen, outline gradient, gradient and shadow of a chart
// font, edited in place; mostly a page of bigger editors.
#pragma once

#include "chart/core/grafattrs.h"
#include "chart/editor/grafedigrad.h"
#include "chart/editor/grafpendlg.h"
#include "platform/ui/graphicctrls.h"

class TGrafFontEditor : public TForm {
  ZV_CLASS(TGrafFontEditor)
public:
  explicit TGrafFontEditor(TComponent* AOwner);

  void BindFont(TGrafFont* Font);
  TGrafFont* Font() const { return FFont; }

protected:
  virtual void FormShow(TObject* Sender);
  virtual void BFontClick(TObject* Sender);
  virtual void SHTextMouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
  virtual void Edit2Change(TObject* Sender);
  virtual void BShadowClick(TObject* Sender);
  virtual void CBOutGradClick(TObject* Sender);

  TShape* SHText;
  TButton* Button3;
  TLabel* Label2;
  TEdit* Edit2;
  TUpDown* UDInter;
  TButtonPen* BOutline;
  TCheckBox* CBOutGrad;
  TButtonGradient* BGradient;
  TButton* BShadow;

  TGrafFont* FFont = nullptr;
};

// The editor embedded in a tab sheet, owned by the sheet's owner.
TGrafFontEditor* EmbedFontEditor(TWinControl* Sheet);

void RegisterFontEditorClasses();
