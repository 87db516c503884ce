// The chart editor's "General" page (zoom, scrolling, margins, cursor, print
// preview) and the navigator that pages a chart.
#pragma once

#include "chart/core/chart.h"
#include "chart/editor/grafnavigator.h"
#include "chart/editor/grafpendlg.h"
#include "platform/ui/pages.h"
#include "platform/ui/radio.h"

// Pages a chart: first, previous, next and last page; prints page ranges.
class TChartPageNavigator : public TCustomGrafNavigator {
  ZV_CLASS(TChartPageNavigator)
public:
  explicit TChartPageNavigator(TComponent* AOwner) : TCustomGrafNavigator(AOwner) {}

  TCustomChart* Chart() const { return dynamic_cast<TCustomChart*>(Panel()); }
  void SetChart(TCustomChart* Value) { SetPanel(Value); }

  // Only axis panels; anything else unbinds.
  void SetPanel(TCustomGrafPanel* Panel) override;
  void BtnClick(int Index) override;
  void EnableButtons() override;
  void ChartEvent(TGrafEvent* Event) override;
  int PageCount() override;
  // One page prints at once; more ask for a range in the print dialog.
  void PrintPages() override;

private:
  TCustomAxisPanel* AxisPanel() const { return dynamic_cast<TCustomAxisPanel*>(Panel()); }
};

// The chart editor's "General" page: zoom, scrolling, margins and cursor of
// the chart, and the print preview.
class TFormGrafGeneral : public TForm {
  ZV_CLASS(TFormGrafGeneral)
public:
  explicit TFormGrafGeneral(TComponent* AOwner) : TFormGrafGeneral(AOwner, nullptr) {}
  TFormGrafGeneral(TComponent* AOwner, TCustomChart* Chart);

  TCustomChart* TheChart = nullptr;

protected:
  virtual void FormCreate(TObject* Sender);
  virtual void FormShow(TObject* Sender);
  virtual void CBAllowZoomClick(TObject* Sender);
  virtual void CBAnimatedZoomClick(TObject* Sender);
  virtual void SEAniZoomStepsChange(TObject* Sender);
  virtual void EMinPixChange(TObject* Sender);
  virtual void CBDirChange(TObject* Sender);
  virtual void CBZoomMouseChange(TObject* Sender);
  virtual void CBUpLeftClick(TObject* Sender);
  virtual void BZoomColorClick(TObject* Sender);
  virtual void RGPanningClick(TObject* Sender);
  virtual void CBScrollMouseChange(TObject* Sender);
  virtual void CBMarUnitsChange(TObject* Sender);
  virtual void CBCursorChange(TObject* Sender);
  virtual void BPrintClick(TObject* Sender);
  // A margin edit changed: Side 0 left, 1 top, 2 right, 3 bottom.
  virtual void MarginChange(int Side);
  void EnableZoom();
  void SetMarginRanges();

  TPageControl* PageControl1;
  TTabSheet* TabZoom;
  TTabSheet* TabScroll;
  TCheckBox* CBAllowZoom;
  TCheckBox* CBAnimatedZoom;
  TLabel* LSteps;
  TEdit* SEAniZoomSteps;
  TUpDown* UDAniZoomSteps;
  TButtonPen* BZoomPen;
  TButton* BZoomColor;
  TLabel* Label1;
  TEdit* EMinPix;
  TUpDown* UDMinPix;
  TLabel* Label2;
  TComboFlat* CBDir;
  TLabel* Label3;
  TComboFlat* CBZoomMouse;
  TCheckBox* CBUpLeft;
  TRadioGroup* RGPanning;
  TLabel* Label4;
  TComboFlat* CBScrollMouse;
  TGroupBox* GBMargins;
  TEdit* SETopMa;
  TUpDown* UDTopMa;
  TEdit* SELeftMa;
  TUpDown* UDLeftMa;
  TEdit* SEBotMa;
  TUpDown* UDBotMa;
  TEdit* SERightMa;
  TUpDown* UDRightMa;
  TLabel* Label5;
  TComboFlat* CBMarUnits;
  TLabel* Label6;
  TComboFlat* CBCursor;
  TButton* BPrint;
};

// The print preview of a chart panel, run modally; the panel is repainted
// afterwards whatever happens.
void ShowChartPrintPreview(TComponent* Owner, TCustomGrafPanel* Panel);

void RegisterGeneralPageClasses();
