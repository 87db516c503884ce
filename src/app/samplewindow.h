// The sample window: for one histogram and one phase at a time, the
// histogram's profile function and absorption, and the values of the
// (histogram, phase) sample: instrumental peak width, Lorentzian or mixing
// terms, asymmetry, time-of-flight terms, preferred orientation, absorption,
// extinction, anisotropic broadening and the broadening model, each with its
// vary box. "Plot FWHM" sends the width values to the peak width window.
// Created once at start-up, shown by the main window's Sample command. The
// page's values, the broadening model included, reach the model only when
// the page is saved.
#pragma once

#include <array>
#include <string>

#include "platform/ui/forms.h"
#include "platform/ui/pages.h"
#include "platform/ui/radio.h"
#include "platform/ui/stdctrls.h"

class THistogram;
class TSample;
class TPlusStringGrid;
class TTBPopupMenu;
class TTBSubmenuItem;

class TFormSample : public TForm {
  ZV_CLASS(TFormSample)
public:
  explicit TFormSample(TComponent* AOwner);
  ~TFormSample() override;

  // What the main window's Sample command does: the profile and absorption
  // combos from histogram 1, then the window shows.
  void ShowFor(const THistogram& First);

  void UpdateForm();
  void UpdateSample();
  // Page to model; false, the model untouched, when a value is refused.
  bool SaveSample();
  void SetShape();
  bool Dirty() const { return FDirty; }
  int ShownHistogram() const { return TabControlSampleHist->TabIndex() + 1; }
  int ShownPhase() const { return TabControlSamplePhase->TabIndex() + 1; }

  TTabControl* TabControlSampleHist;
  TTabControl* TabControlSamplePhase;
  TComboBox* ProfileComboBox;
  TEdit* AbsorptionEdit;
  TComboBox* ComboBoxAbsorption;
  TGroupBox* GroupPeakShape;
  TLabel* LabelU;
  TLabel* LabelV;
  TLabel* LabelW;
  TEdit* UEdit;
  TEdit* VEdit;
  TEdit* WEdit;
  TCheckBox* UCheckBox;
  TCheckBox* VCheckBox;
  TCheckBox* WCheckBox;
  TLabel* LabelL1;
  TLabel* LabelL2;
  TLabel* LabelL3;
  TEdit* L1Edit;
  TEdit* L2Edit;
  TEdit* L3Edit;
  TCheckBox* L1CheckBox;
  TCheckBox* L2CheckBox;
  TCheckBox* L3CheckBox;
  TLabel* LabelAsym1;
  TEdit* Asym1Edit;
  TCheckBox* Asym1CheckBox;
  TLabel* LabelAsym2;
  TEdit* Asym2Edit;
  TCheckBox* Asym2CheckBox;
  std::array<TLabel*, 4> TOFLabels{};
  TEdit* a0Edit;
  TEdit* a1edit;
  TEdit* b0edit;
  TEdit* b1edit;
  TCheckBox* CheckBoxa0;
  TCheckBox* CheckBoxa1;
  TCheckBox* CheckBoxb0;
  TCheckBox* CheckBoxb1;
  TGroupBox* GroupPO;
  TComboBox* cbPO;
  TEdit* POEdit;
  TCheckBox* POCheckBox;
  TEdit* POHEdit;
  TEdit* POKEdit;
  TEdit* POLEdit;
  TGroupBox* GroupAbsorption;
  TLabel* LabelR;
  TEdit* REdit;
  TCheckBox* RCheckBox;
  TLabel* LabelPore;
  TEdit* PoreEdit;
  TCheckBox* PoreCheckBox;
  TLabel* LabelRough;
  TEdit* RoughEdit;
  TCheckBox* RoughCheckBox;
  TGroupBox* GroupExtinction;
  TEdit* ExtEdit;
  TCheckBox* ExtCheckBox;
  TComboBox* cbBroadening;
  TGroupBox* GroupSampleDependant;
  TEdit* UanisoEdit;
  TCheckBox* UanisoCheckBox;
  TEdit* UHEdit;
  TEdit* UKEdit;
  TEdit* ULEdit;
  TGroupBox* GroupDislocation;
  TPlusStringGrid* sgDislocation;
  std::array<TEdit*, 6> ProbEdits{};        // edProbG1, edProbL1, edProbG2, edProbL2, edProbG3, edProbL3
  std::array<TCheckBox*, 6> ProbChecks{};   // cbProbG1 .. cbProbL3 (types 28 .. 33)
  TButton* Button1;  // OK
  TButton* Button2;  // Cancel
  TButton* Button3;  // Help
  TButton* Button4;  // Plot FWHM
  TTBPopupMenu* PopupMenu1;
  TTBSubmenuItem* UseInstrument1;
  TTBSubmenuItem* UsePhase1;

  void FormShow(TObject* Sender);
  void FormCloseQuery(TObject* Sender, bool& CanClose);
  void TabChanging(bool HistogramRow, bool& AllowChange);
  void TabChange(bool HistogramRow);
  void ProfileComboBoxChange(TObject* Sender);
  void ComboBoxAbsorptionChange(TObject* Sender);
  void cbBroadeningChange(TObject* Sender);
  void DirtySample(TObject* Sender);
  void Button1Click(TObject* Sender);
  void Button4Click(TObject* Sender);
  void PopupMenu1Popup(TObject* Sender);
  void UseInstrumentClick(int Preset);
  void UsePhaseClick(int Phase);

private:
  bool FPlaced = false;  // shown beside its opener once
  // The values of a sample into the page (no vary states).
  void ShowValues(const TSample& S);
  void ShowBroadening(int Model, const TSample& S);
  bool LeavePage(bool AskAlways);

  bool FDirty = false;
  bool FLoading = false;
};

extern TFormSample* FormSample;
