// The print preview dialog: printer choice and set-up, orientation, margins
// in percent, proportional margins, print detail, smoothing, and an optional
// page navigator, around the preview panel. It edits the previewed panel's
// own print settings, so what is set here is what the panel prints with.
#pragma once

#include "chart/core/grafeditctrls.h"
#include "chart/editor/grafnavigator.h"
#include "chart/editor/grafpreviewpanel.h"
#include "platform/ui/commondialogs.h"
#include "platform/ui/extctrls.h"
#include "platform/ui/forms.h"
#include "platform/ui/radio.h"
#include "platform/ui/ranges.h"
#include "platform/ui/stdctrls.h"

class TChartPreview : public TForm {
  ZV_CLASS(TChartPreview)
public:
  explicit TChartPreview(TComponent* AOwner);
  ~TChartPreview() override;

  // The page navigator's class; the dialog makes one at showing when set.
  TClass PageNavigatorClass = nullptr;
  TCustomGrafNavigator* PageNavigator() const { return FNavigator; }
  // The margins at opening, which Reset brings back.
  const TRect& OldMargins() const { return FOldMargins; }

  TPanel* PanelTop = nullptr;
  TLabel* Label1 = nullptr;
  TComboFlat* CBPrinters = nullptr;
  TButton* BSetupPrinter = nullptr;
  TButton* BPrint = nullptr;
  TPanel* PanelClose = nullptr;
  TButton* BClose = nullptr;
  TPanel* PanelLeft = nullptr;
  TRadioGroup* Orientation = nullptr;
  TGroupBox* GBMargins = nullptr;
  TEdit* SELeftMa = nullptr;
  TEdit* SETopMa = nullptr;
  TEdit* SERightMa = nullptr;
  TEdit* SEBotMa = nullptr;
  TUpDown* UDLeftMa = nullptr;
  TUpDown* UDTopMa = nullptr;
  TUpDown* UDRightMa = nullptr;
  TUpDown* UDBotMa = nullptr;
  TButton* BReset = nullptr;
  TGroupBox* ChangeDetailGroup = nullptr;
  TTrackBar* Resolution = nullptr;
  TLabel* LMore = nullptr;
  TLabel* LNormal = nullptr;
  TCheckBox* ShowMargins = nullptr;
  TCheckBox* CBProp = nullptr;
  TCheckBox* CheckBox1 = nullptr;
  TGrafPreviewPanel* GrafPreviewPanel1 = nullptr;
  TPrinterSetupDialog* PrinterSetupDialog1 = nullptr;

protected:
  virtual void FormShow(TObject* Sender);
  virtual void CBPrintersChange(TObject* Sender);
  virtual void BSetupPrinterClick(TObject* Sender);
  virtual void BPrintClick(TObject* Sender);
  virtual void OrientationClick(TObject* Sender);
  virtual void BResetClick(TObject* Sender);
  virtual void ResolutionChange(TObject* Sender);
  virtual void ShowMarginsClick(TObject* Sender);
  virtual void CBPropClick(TObject* Sender);
  virtual void CheckBox1Click(TObject* Sender);
  virtual void GrafPreviewPanel1ChangeMargins(TObject* Sender, bool DisableProportional, const TRect& NewMargins);
  // A margin edit changed: Side 0 left, 1 top, 2 right, 3 bottom.
  virtual void MarginChange(int Side);
  void Resize() override;

private:
  TCustomGrafPanel* Previewed() const { return GrafPreviewPanel1->Panel(); }
  void FillPrinters();
  void ShowOrientation();
  // Recomputes proportional margins when the panel keeps them so, shows
  // the margins and repaints.
  void ChangedPrinter();
  void ShowMarginsOf(const TRect& Margins);
  void ResizePrinterCombo();

  bool FUpdating = true;
  bool FShowing = false;
  TRect FOldMargins;
  TCustomGrafNavigator* FNavigator = nullptr;
};

void RegisterPrintPreviewClasses();
