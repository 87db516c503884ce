// The histograms window: per histogram its data kind, range and step,
// wavelengths (or diffractometer constants or detector angle), zero, ratio,
// polarisation, corrections, peak base width, weighting, background model
// with its terms or points, and excluded regions, with the vary boxes that
// make them refined parameters. Created once at start-up, shown by the main
// window's Histograms command. The page's values reach the model only when
// the page is saved (OK, a confirmed tab change or close).
#pragma once

#include <array>
#include <memory>
#include <string>

#include "platform/ui/forms.h"
#include "platform/ui/pages.h"
#include "platform/ui/spinedit.h"
#include "platform/ui/stdctrls.h"

class THistogram;
class TPlusStringGrid;
class TTBPopupMenu;
class TTBItem;
class TTBSubmenuItem;

class THistogramForm : public TForm {
  ZV_CLASS(THistogramForm)
public:
  explicit THistogramForm(TComponent* AOwner);
  ~THistogramForm() override;

  // Page routines.
  void UpdateForm();
  void UpdateHistogram();
  // Page to model; false, with the model untouched, when a value is refused.
  bool SaveHistogram();
  void Setcomboboxes(int Kind);
  int Getcomboboxes() const;
  void DeleteHistogram(int n);
  bool Dirty() const { return FDirty; }
  // The histogram shown (1-based).
  int Shown() const { return TabControl1->TabIndex() + 1; }

  TTabControl* TabControl1;
  TComboBox* cbType;
  TComboBox* cbCalc;
  TEdit* HistogramSCaleEdit;
  TCheckBox* HistogramScaleCheckBox;
  TEdit* ThetaMinEdit;
  TEdit* ThetaMaxEdit;
  TEdit* ThetaStepEdit;
  TLabel* LabelWave1;
  TEdit* Wave1Edit;
  TCheckBox* CheckBoxWave1;
  TLabel* LabelWave2;
  TEdit* Wave2Edit;
  TCheckBox* CheckBoxWave2;
  TEdit* ZeroEdit;
  TCheckBox* CheckBoxZero;
  TLabel* LabelRatio;
  TEdit* RatioEdit;
  TEdit* BWEdit;
  TEdit* EditWEIDS;
  TLabel* LabelPol;
  TEdit* PolEdit;
  TLabel* LabelDisplacement;
  TEdit* edSampleDisplacement;
  TCheckBox* cbSampleDisplacement;
  TCheckBox* CheckBoxIllumination;
  TComboBox* BackgroundComboBox;
  TLabel* LabelOffset;
  TEdit* edOffset;
  TComboBox* cbBackTerms;
  TPlusStringGrid* BackGrid;
  TLabel* LabelCycles;
  TSpinEdit* seNCycles;
  TLabel* LabelSteps;
  TSpinEdit* seNStep;
  TPlusStringGrid* IntBackGrid;
  TPlusStringGrid* ExcludedGrid;
  TButton* ButtonOK;
  TButton* ButtonCancel;
  TButton* ButtonHelp;
  TButton* ButtonSpec;
  TButton* ButtonForm;
  TTBPopupMenu* PopupMenu1;
  TTBItem* Cut1;
  TTBItem* Copy1;
  TTBItem* Paste1;
  TTBItem* NewHistogram1;
  TTBItem* DeleteHistogram1;
  TTBSubmenuItem* UseInstrument1;

  // Handlers.
  void FormShow(TObject* Sender);
  void FormCloseQuery(TObject* Sender, bool& CanClose);
  void TabControl1Changing(TObject* Sender, bool& AllowChange);
  void TabControl1Change(TObject* Sender);
  void cbTypeChange(TObject* Sender);
  void BackgroundComboBoxChange(TObject* Sender);
  void cbBackTermsChange(TObject* Sender);
  void DirtyHistogram(TObject* Sender);
  void ButtonOKClick(TObject* Sender);
  void ButtonCancelClick(TObject* Sender);
  void ButtonSpecClick(TObject* Sender);
  void ButtonFormClick(TObject* Sender);
  void UseInstrumentClick(int Preset);
  void PopupMenu1Popup(TObject* Sender);
  void NewHistogram1Click(TObject* Sender);
  void DeleteHistogram1Click(TObject* Sender);
  void Cut1Click(TObject* Sender);
  void Copy1Click(TObject* Sender);
  void Paste1Click(TObject* Sender);

  // The background kind codes of BackgroundComboBox's items.
  static int BackgroundCode(int Item);
  static int BackgroundItem(int Code);

private:
  bool FPlaced = false;  // shown beside its opener once
  void FormDeactivate(TObject* Sender);
  void FormClose(TObject* Sender, TCloseAction& Action);
  void FormKeyUp(TObject* Sender, uint16_t& Key, TShiftState Shift);
  // Grid rows and labels for n terms of the chosen background.
  void LayoutBackGrid(int Code, int Terms);
  void FillBackGrid(THistogram* H, int Code, int Terms, int Precision);
  void FillPointsGrid(THistogram* H);
  void ShowBackgroundControls(int Code);
  int Terms() const;
  // Asks "Keep Changes?" for a dirty page: true when the page may be left.
  bool LeavePage(bool AskAlways);

  bool FDirty = false;
  bool FLoading = false;
  int FRowHeight = 16;
  std::unique_ptr<THistogram> FClipboard;
  int FClipboardBackgroundItem = 0;
};

extern THistogramForm* HistogramForm;
