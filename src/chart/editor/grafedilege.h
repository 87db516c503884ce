// The legend page: style, position, symbols and title of one legend (the
// chart's, a pie's other-slice legend or an extra legend tool's), with the
// legend's and its title's shape editors joining its tabs.
#pragma once

#include "chart/core/chart.h"
#include "chart/editor/grafcustomshapeeditor.h"
#include "chart/editor/grafpendlg.h"
#include "chart/editor/grafsymboleditor.h"
#include "platform/ui/pages.h"
#include "platform/ui/radio.h"
#include "platform/ui/richedit.h"

class TFormGrafLegend : public TForm {
  ZV_CLASS(TFormGrafLegend)
public:
  explicit TFormGrafLegend(TComponent* AOwner);
  static TFormGrafLegend* CreateForLegend(TComponent* AOwner, TCustomChartLegend* Legend);
  // Binds the legend and embeds the two shape editors.
  void BindLegend(TCustomChartLegend* Legend);

  TCustomChartLegend* EditedLegend = nullptr;
  bool Filling = true;
  TFormGrafShape* LegendShapeEditor = nullptr;
  TFormGrafShape* TitleShapeEditor = nullptr;

protected:
  virtual void FormCreate(TObject* Sender);
  virtual void FormShow(TObject* Sender);
  virtual void CBShowClick(TObject* Sender);
  virtual void CBInvertedClick(TObject* Sender);
  virtual void CBLegendStyleChange(TObject* Sender);
  virtual void CBLegStyleChange(TObject* Sender);
  virtual void EVertSpacingChange(TObject* Sender);
  virtual void CBFontColorClick(TObject* Sender);
  virtual void CBCheckBoxesChange(TObject* Sender);
  virtual void CBResizeChartClick(TObject* Sender);
  virtual void SETopPosChange(TObject* Sender);
  virtual void SEMarginChange(TObject* Sender);
  virtual void RGPositionClick(TObject* Sender);
  virtual void CBCustPosClick(TObject* Sender);
  virtual void ECustLeftChange(TObject* Sender);
  virtual void ECustTopChange(TObject* Sender);
  virtual void CBPosPercentClick(TObject* Sender);
  virtual void MemoTextChange(TObject* Sender);
  virtual void CBTextAlignChange(TObject* Sender);
  virtual void CBTitleVisibleClick(TObject* Sender);
  void FillCustomPosition();
  void EnableCustomPosition();
  bool Quiet() const { return Filling || !EditedLegend; }

  TPageControl* PageControl1;
  TTabSheet* TabSheet1;
  TTabSheet* TabSheet3;
  TTabSheet* TabSymbol;
  TTabSheet* TabTitle;
  TPageControl* PageControl2;
  TTabSheet* TabSheet4;
  TCheckBox* CBShow;
  TCheckBox* CBInverted;
  TComboFlat* CBLegendStyle;
  TComboFlat* CBLegStyle;
  TButtonPen* BDivLines;
  TEdit* EVertSpacing;
  TUpDown* UDVertSpacing;
  TCheckBox* CBFontColor;
  TComboFlat* CBCheckBoxes;
  TCheckBox* CBResizeChart;
  TEdit* SETopPos;
  TUpDown* UDTopPos;
  TEdit* SEMargin;
  TUpDown* UDMargin;
  TRadioGroup* RGPosition;
  TGroupBox* GBCustom;
  TCheckBox* CBCustPos;
  TEdit* ECustLeft;
  TUpDown* UDLeft;
  TEdit* ECustTop;
  TUpDown* UDTop;
  TCheckBox* CBPosPercent;
  TMemo* MemoText;
  TComboFlat* CBTextAlign;
  TCheckBox* CBTitleVisible;
  TSymbolEditor* FSymbolEditor = nullptr;
};

void RegisterLegendPageClasses();
