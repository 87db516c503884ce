// The candle series editor: style, width, open and close ticks, 3D look,
// border and high-low pens ("Options"); colour style, up and down colours
// and gradients ("Colors").
#pragma once

#include "chart/editor/grafedigrad.h"
#include "chart/editor/grafpendlg.h"
#include "chart/series/grafcandle.h"
#include "platform/ui/pages.h"
#include "platform/ui/radio.h"

class TCandleEditor : public TForm {
  ZV_CLASS(TCandleEditor)
public:
  explicit TCandleEditor(TComponent* AOwner);

protected:
  virtual void FormCreate(TObject* Sender);
  virtual void FormShow(TObject* Sender);
  virtual void RGStyleClick(TObject* Sender);
  virtual void SEWidthChange(TObject* Sender);
  virtual void CBShowOpenClick(TObject* Sender);
  virtual void CBShowCloseClick(TObject* Sender);
  virtual void CBDraw3DClick(TObject* Sender);
  virtual void CBDark3DClick(TObject* Sender);
  virtual void CBColorStyleChange(TObject* Sender);
  void ApplyStyleRules();

  TPageControl* PageControl1;
  TTabSheet* TabOptions;
  TTabSheet* TabColors;
  TRadioGroup* RGStyle;
  TLabel* Label1;
  TEdit* SEWidth;
  TUpDown* UDWidth;
  TCheckBox* CBShowOpen;
  TCheckBox* CBShowClose;
  TCheckBox* CBDraw3D;
  TCheckBox* CBDark3D;
  TButtonPen* Button1;
  TButtonPen* BHighLow;
  TLabel* Label2;
  TComboFlat* CBColorStyle;
  TButtonColor* BUpColor;
  TButtonColor* BDownColor;
  TButtonGradient* BUpGradient;
  TButtonGradient* BDownGradient;

  TCandleSeries* Series = nullptr;
  bool FLoading = false;
};

void RegisterCandleEditorClasses();
