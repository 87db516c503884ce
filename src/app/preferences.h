// The preferences dialog: file and start-up options, the start-up and
// library macros with a syntax test, the database paths, the twenty
// instrument presets, the defaults of the refinement window and of Quick
// Start, the update mirror and the engine's memory limits. It edits the
// program-wide settings and, on OK, writes its part of them to the settings
// store; the presets and the data-file option go there when the main window
// closes.
#pragma once

#include <array>
#include <memory>
#include <string>

#include "platform/ui/commondialogs.h"
#include "platform/ui/extctrls.h"
#include "platform/ui/forms.h"
#include "platform/ui/pages.h"
#include "platform/ui/radio.h"
#include "platform/ui/richedit.h"
#include "platform/ui/spinedit.h"
#include "platform/ui/stdctrls.h"

class TSBasic;
class TPanelMessages;

// The labels of the update mirrors, "Not Available" last.
std::array<std::string, 6> UpdateSiteLabels();

class TOptionsDlg : public TForm {
  ZV_CLASS(TOptionsDlg)
public:
  explicit TOptionsDlg(TComponent* AOwner);
  ~TOptionsDlg() override;

  void FormShow(TObject* Sender);
  void OKBtnClick(TObject* Sender);
  void FormClose(TObject* Sender, TCloseAction& Action);
  void FormDeactivate(TObject* Sender);
  void seInstrumentNumberChange(TObject* Sender);
  void BackAveSEChange(TObject* Sender);
  void cbProfileChange(TObject* Sender);
  void cbUpdateSiteChange(TObject* Sender);
  void cbMacroChange(TObject* Sender);
  void btSaveClick(TObject* Sender);
  void btTestClick(TObject* Sender);
  void btBrowseClick(TObject* Sender);
  void Button1Click(TObject* Sender);
  void Button2Click(TObject* Sender);
  void Button3Click(TObject* Sender);

  // The preset shown (0 before the first showing) and the macro entry shown
  // (0 start-up, 1 library).
  int InstrumentShown() const { return FInstrument; }
  int MacroShown() const { return FMacro; }
  // Shows preset n in the Instruments page; stores the edits into preset n.
  void DisplayInstrument(int n);
  void StoreInstrument(int n);
  // Saves the memo to the macro file (asking for a name when there is none);
  // false when nothing was written.
  bool SaveMacro();

  TPageControl* PageControl1;
  TTabSheet* TabGeneral;
  TTabSheet* TabMacros;
  TTabSheet* TabDatabase;
  TTabSheet* TabInstruments;
  TTabSheet* TabRunOptions;
  TTabSheet* TabInternet;
  TTabSheet* TabMemory;
  TPanel* Panel1;
  TButton* OKBtn;
  TButton* CancelBtn;
  TButton* HelpBtn;

  TCheckBox* TempRefineCheckBox;
  TCheckBox* cbdatafileassign;
  TSpinEdit* seRecent;
  TEdit* edStartUpdir;
  TButton* Button2;
  TSpinEdit* BackAveSE;
  TCheckBox* cbAccept;

  TComboBox* cbMacro;
  TEdit* edMacroFile;
  TButton* btBrowse;
  TMemo* MemoScript;
  TButton* btSave;
  TButton* btTest;
  TPanel* Panel3;

  TEdit* Editatom;
  TButton* Button1;
  TEdit* Editphase;
  TButton* Button3;

  TSpinEdit* seInstrumentNumber;
  TEdit* edTitle;
  TComboBox* cbRadiation;
  TEdit* edWave1;
  TEdit* edWave2;
  TEdit* edRatio;
  TEdit* edPol;
  TEdit* edZero;
  TComboBox* cbProfile;
  TEdit* edU;
  TEdit* edV;
  TEdit* edW;
  TEdit* edGamma;
  TEdit* edASym1;
  TEdit* edASym2;
  TEdit* edStart;
  TEdit* edStep;
  TEdit* edStop;

  TCheckBox* StepStartCheckBox;
  TCheckBox* cbRDPlot;
  TCheckBox* cbRDWatch;
  TCheckBox* cbRDUpdate;
  TCheckBox* cbRDOnTop;
  TCheckBox* cbQSPlot;
  TCheckBox* cbQSWatch;
  TCheckBox* cbQSUpdate;

  TComboBox* cbUpdateSite;
  TEdit* edFTPSite;
  TEdit* edFTPDir;

  TSpinEdit* SpinEditIDSZ;
  TSpinEdit* SpinEditIRS;
  TSpinEdit* SpinEditNIPOI;

  TOpenDialog* OpenDialog1;
  TSaveDialog* SaveDialog1;

private:
  TTabSheet* NewPage(const std::string& caption);
  TLabel* NewLabel(TWinControl* parent, const std::string& caption, int left, int top);
  TEdit* NewEdit(TWinControl* parent, const std::string& caption, int left, int top, int width = 90);
  TCheckBox* NewCheck(TWinControl* parent, const std::string& caption, int left, int top, int width = 180);
  TSpinEdit* NewSpin(TWinControl* parent, const std::string& caption, int left, int top, int min, int max,
                     int step);
  TButton* NewButton(TWinControl* parent, const std::string& caption, int left, int top);
  // Loads the macro entry's file into the memo, or its placeholder line.
  void LoadMacro(int entry);
  bool BrowseDatabase(TEdit* edit, const std::string& fileName);

  int FInstrument = 0;
  int FMacro = 0;
  std::array<std::string, 2> FMacroNames;
  bool FSwitching = false;
  std::unique_ptr<TPanelMessages> FTestMessages;
  std::unique_ptr<TSBasic> FOwnBasic;
};

extern TOptionsDlg* OptionsDlg;
