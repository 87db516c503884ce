// The shape series' editor: style, colours, pen, pattern, gradient, text
// and its alignment ("Style"); the corners and their units ("Position");
// the text's font ("Text").
#pragma once

#include "chart/core/grafeditctrls.h"
#include "chart/editor/grafedifont.h"
#include "chart/editor/grafedigrad.h"
#include "chart/editor/grafpendlg.h"
#include "platform/ui/forms.h"
#include "platform/ui/pages.h"
#include "platform/ui/radio.h"
#include "platform/ui/richedit.h"
#include "platform/ui/stdctrls.h"

class TChartShape;

class TChartShapeEditor : public TForm {
  ZV_CLASS(TChartShapeEditor)
public:
  explicit TChartShapeEditor(TComponent* AOwner);

  TGrafFontEditor* FontEditor() const { return FFontEditor; }

protected:
  virtual void FormCreate(TObject* Sender);
  virtual void FormShow(TObject* Sender);
  virtual void CBStyleChange(TObject* Sender);
  virtual void BShapeBrushClick(TObject* Sender);
  virtual void CBTransClick(TObject* Sender);
  virtual void MemoTextChange(TObject* Sender);
  virtual void RGAlignClick(TObject* Sender);
  virtual void RGVertAlignClick(TObject* Sender);
  virtual void CBRoundClick(TObject* Sender);
  virtual void CornerChange(TObject* Sender);
  virtual void CBUnitsChange(TObject* Sender);

  TPageControl* PageControl1;
  TTabSheet* TabStyle;
  TTabSheet* TabPosition;
  TTabSheet* TabFont;
  TLabel* Label1;
  TComboFlat* CBStyle;
  TButtonColor* BShapeColor;
  TButtonPen* BShapePen;
  TButton* BShapeBrush;
  TCheckBox* CBTrans;
  TButtonGradient* BGradient;
  TLabel* Label2;
  TMemo* MemoText;
  TRadioGroup* RGAlign;
  TRadioGroup* RGVertAlign;
  TCheckBox* CBRound;
  TLabel* Label3;
  TEdit* SEX0;
  TLabel* Label4;
  TEdit* SEY0;
  TLabel* Label5;
  TEdit* SEX1;
  TLabel* Label6;
  TEdit* SEY1;
  TLabel* Label7;
  TComboFlat* CBUnits;

  TChartShape* Shape = nullptr;
  TGrafFontEditor* FFontEditor = nullptr;
  bool FLoading = false;
};
