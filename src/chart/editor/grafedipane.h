// The chart editor's "Panel" page ("Panel Editor"): the chart panel's
// background colour and picture, borders and bevels, gradient and shadow.
#pragma once

#include "chart/core/grafpanel.h"
#include "chart/editor/grafedigrad.h"
#include "chart/editor/grafpendlg.h"
#include "chart/editor/grafshadoweditor.h"
#include "platform/ui/pages.h"
#include "platform/ui/radio.h"
#include "platform/ui/ranges.h"

class TFormGrafPanel : public TForm {
  ZV_CLASS(TFormGrafPanel)
public:
  explicit TFormGrafPanel(TComponent* AOwner) : TFormGrafPanel(AOwner, nullptr) {}
  TFormGrafPanel(TComponent* AOwner, TCustomGrafPanelExtended* Panel);

  TCustomGrafPanelExtended* EditedChart = nullptr;
  TGrafGradientEditor* GradientEditor = nullptr;

protected:
  virtual void FormCreate(TObject* Sender);
  virtual void FormShow(TObject* Sender);
  virtual void BPanelColorClick(TObject* Sender);
  virtual void CBColorDefClick(TObject* Sender);
  virtual void RGBitmapClick(TObject* Sender);
  virtual void BBrowseImageClick(TObject* Sender);
  virtual void CBImageInsideClick(TObject* Sender);
  virtual void CBTranspClick(TObject* Sender);
  virtual void ELeftChange(TObject* Sender);
  virtual void ETopChange(TObject* Sender);
  virtual void SEPanelBorChange(TObject* Sender);
  virtual void SEPanelWiChange(TObject* Sender);
  virtual void ERoundChange(TObject* Sender);
  virtual void CBInnerChange(TObject* Sender);
  virtual void CBOuterChange(TObject* Sender);
  void EnableImageControls();
  void RefreshColorDefault();
  bool Quiet() const { return FLoading || !EditedChart; }
  bool HasPicture() const { return EditedChart && EditedChart->BackImageAssigned(); }

  TPageControl* PageControl1;
  TTabSheet* TabBack;
  TTabSheet* TabBorders;
  TTabSheet* TabGradient;
  TTabSheet* TabShadow;
  TButtonColor* BPanelColor;
  TCheckBox* CBColorDef;
  TGroupBox* GroupBox1;
  TRadioGroup* RGBitmap;
  TButton* BBrowseImage;
  TCheckBox* CBImageInside;
  TCheckBox* CBTransp;
  TEdit* ELeft;
  TUpDown* UDLeft;
  TEdit* ETop;
  TUpDown* UDTop;
  TEdit* SEPanelBor;
  TUpDown* UDPanelBor;
  TEdit* SEPanelWi;
  TUpDown* UDPanelWi;
  TEdit* ERound;
  TUpDown* UDRound;
  TComboFlat* CBInner;
  TComboFlat* CBOuter;
  TButtonPen* BBorder;
  TGrafShadowEditor* FShadowEditor = nullptr;
  bool FLoading = true;
  bool FColorGuard = false;
};

void RegisterPanelPageClasses();
