// The chart editor's "Titles" page: the chart's title, subtitle, sub-footer
// and footer, one at a time: text, visibility, alignment, custom position,
// and the shape editor's tabs for frame, fill, font and so on.
#pragma once

#include "chart/core/chart.h"
#include "chart/editor/grafcustomshapeeditor.h"
#include "platform/ui/pages.h"
#include "platform/ui/ranges.h"
#include "platform/ui/richedit.h"

class TFormGrafTitle : public TForm {
  ZV_CLASS(TFormGrafTitle)
public:
  explicit TFormGrafTitle(TComponent* AOwner) : TFormGrafTitle(AOwner, nullptr, nullptr) {}
  TFormGrafTitle(TComponent* AOwner, TChartTitle* Title, TCustomChart* Chart);

  TCustomChart* EditedChart = nullptr;
  TChartTitle* CurrentTitle = nullptr;
  TFormGrafShape* TitleShapeEditor = nullptr;
  bool Filling = true;
  bool FillingText = false;

protected:
  virtual void FormCreate(TObject* Sender);
  virtual void FormShow(TObject* Sender);
  virtual void CBTitlesChange(TObject* Sender);
  virtual void MTextChange(TObject* Sender);
  virtual void CBVisibleClick(TObject* Sender);
  virtual void CBAdjustClick(TObject* Sender);
  virtual void CBAlignChange(TObject* Sender);
  virtual void CBCustPosClick(TObject* Sender);
  virtual void ECustLeftChange(TObject* Sender);
  virtual void ECustTopChange(TObject* Sender);
  void FillTitle();
  void EnableCustomPosition();

  TPanel* Panel1;
  TComboFlat* CBTitles;
  TPageControl* PageControlTitle;
  TTabSheet* TabSheet1;
  TTabSheet* TabSheet2;
  TMemo* MText;
  TCheckBox* CBVisible;
  TCheckBox* CBAdjust;
  TComboFlat* CBAlign;
  TCheckBox* CBCustPos;
  TEdit* ECustLeft;
  TUpDown* UDLeft;
  TEdit* ECustTop;
  TUpDown* UDTop;
  // Set while the page itself writes into the controls.
  bool FLoading = false;
};

void RegisterTitlePageClasses();
