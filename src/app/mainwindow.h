// The main window: a strip of a menu bar and two toolbars from which every
// other window is opened. Its creation reads the program's settings from the
// registry stand-in (the instrument presets and the recent files with them)
// and sets up what every other window relies on; its close writes them back.
// The commands (file opening by type, saving, the model windows, the three
// ways to drive the engine, the views of the engine's files, the user menu)
// are in maincommands.cpp.
#pragma once

#include <array>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "app/macrofunctions.h"
#include "app/refineviews.h"
#include "model/global.h"
#include "platform/ui/actions.h"
#include "platform/ui/commondialogs.h"
#include "platform/ui/forms.h"

class TTBDock;
class TTBToolbar;
class TTBPopupMenu;
class TTBMRUList;
class TTBItem;
class TTBCustomItem;
class TTBSubmenuItem;
class TFormPosSaver;
class TExFile;
class TFileCopy;
class TMainScript;
class TEditForm;
class TRegistryBatch;

// The program's arguments after the program name (the main block sets them).
void SetProgramArguments(const std::vector<std::string>& args);
const std::vector<std::string>& ProgramArguments();

// The settings under HKEY_CURRENT_USER "Software\Zelvora" as the main window
// reads them at creation: every program-wide variable of the table, the
// instrument presets, and the recent files (most recent first, at most
// NumberRecent, trimmed, empty ones skipped). Writes Version 1 and the
// database paths when they are missing. Hints is the "Show Hints" tick.
struct TSettingValue {
  std::string Section, Ident, Text;
};
struct TMainSettings {
  bool Hints = true;
  std::vector<std::string> RecentFiles;
  // From ReadConfiguration: every value WriteConfiguration writes, with the
  // text the store held for it then (where it held none, the text the values
  // read give).
  std::vector<TSettingValue> Values;
};
TMainSettings ReadConfiguration();
// Writes them back in the order of the main window's close. With asRead
// (what ReadConfiguration gave at start) only the values that differ from
// it, or that the store lacks, are written, and recent files opened in this
// run are merged into the list as stored now: an instance that closed
// meanwhile loses neither its values nor its recent files.
void WriteConfiguration(const TMainSettings& settings, const TMainSettings* asRead = nullptr);
// The recent-file list to store: the files that went to the top of `now`
// since `atStart` was read, then the stored ones not among them, at most
// count.
std::vector<std::string> MergeRecentFiles(const std::vector<std::string>& now, const std::vector<std::string>& atStart,
                                          const std::vector<std::string>& stored, int count);
// The preset that replaces preset 1 when no title was stored for it.
TInstrument BuiltInInstrument();
// The default folder of phases.db and atoms.db: Zelvora in the user's XDG data folder.
std::string DefaultDatabaseFolder();

// The commands UpdateForm switches that are enabled for a loaded model or
// not, a RunMode and the engine binding's state (-1 while there is none),
// by their action names. Every other command is always enabled.
std::set<std::string> EnabledMainCommands(bool loaded, int runMode, int engineState);

class TFormZelvora : public TForm {
  ZV_CLASS(TFormZelvora)
public:
  explicit TFormZelvora(TComponent* AOwner);
  ~TFormZelvora() override;

  // Enables and disables the commands from the model and RunMode.
  void UpdateForm();
  // Opens a file by its kind.
  void ProcessFile(const std::string& fileName);
  // The File Open dialog (with the save question for a changed model first);
  // false when that question was cancelled.
  bool OpenFile();
  // An open dialog with the filter whose file goes to ProcessFile.
  void OpenAFile(const std::string& filter);
  // Save, and ModelChanged cleared when the file was written.
  void SaveInputFile();
  // The "Save Input File?" question for a changed model: false when the
  // user cancelled or a Yes did not save.
  bool QuerySaveModel();

  // The user menu that the macro functions ADDMENU and CLEARMENU build.
  void AddUserMenu(const std::string& menu, const std::string& item, const std::string& script);
  void ClearUserMenu();
  void UserItemClick(TObject* Sender);
  // The toolbar item of user-menu entry n (1-based), nil when none.
  TTBCustomItem* UserMenuToolbarItem(int n) const { return FUserItems.at(static_cast<size_t>(n - 1)); }
  // The recent files, most recent first.
  std::vector<std::string> RecentFiles() const;
  void AddRecentFile(const std::string& fileName);
  void TBMRUList1Click(TObject* Sender, const std::string& fileName);

  // The windows this one opens and keeps (nil until first needed).
  TEditForm* ManualEditWindow = nullptr;
  TEditForm* ResultViewWindow = nullptr;
  TEditForm* InputViewWindow = nullptr;
  TEditForm* OutputViewWindow = nullptr;

  TTBDock* TBDockZelvora;
  TTBToolbar* TBToolbarMenu;
  TTBToolbar* TBToolbarMain;
  TTBToolbar* TBToolbarRietveld;
  TTBPopupMenu* TBPopupMenu1;
  TTBItem* TBMaintoolbar;
  TTBItem* TBRietveldtoolbar;
  TTBMRUList* TBMRUList1;
  TExFile* ExFileNoWait;
  TExFile* ExFileWait;
  TFileCopy* FileCopy1;
  TOpenDialog* OpenDialog1;
  TSaveDialog* SaveDialog1;
  TPrintDialog* PrintDialog1;
  TPrinterSetupDialog* PrinterSetupDialog1;
  TFormPosSaver* FormPosSaverZelvora;
  TMainScript* SBasicMacro() const { return FScript.get(); }
  TMacroHooks& MacroHooks() { return FHooks; }
  TRefineViews& Views() { return FViews; }

  TAction* actNew;
  TAction* actopen;
  TAction* actSave;
  TAction* actSaveAS;
  TAction* actClose;
  TAction* actImportGSAS;
  TAction* actImportDWBS;
  TAction* actImportFULL;
  TAction* actImportShelx;
  TAction* actExportShelx;
  TAction* actExportSir;
  TAction* actPreferences;
  TAction* actPrint;
  TAction* actPrintPreview;
  TAction* actPageSetup;
  TAction* actExit;
  TAction* EditUndo1;
  TAction* EditRedo1;
  TAction* EditCut1;
  TAction* EditCopy1;
  TAction* EditPaste1;
  TAction* actGeneral;
  TAction* actPhases;
  TAction* actHistograms;
  TAction* actSample;
  TAction* actConstraints;
  TAction* actparameters;
  TAction* actRefine;
  TAction* actManualEdit;
  TAction* actBasic;
  TAction* actQuickStart;
  TAction* actViewInput;
  TAction* actViewOutput;
  TAction* actViewBVS;
  TAction* actViewDist;
  TAction* actViewFourier;
  TAction* actViewRDF;
  TAction* HelpContents1;
  TAction* actShowHints;
  TAction* actUpdate;
  TAction* actAbout;
  TAction* actScript;

  void actNewExecute(TObject* Sender);
  void actopenExecute(TObject* Sender);
  void actSaveExecute(TObject* Sender);
  void actSaveASExecute(TObject* Sender);
  void actCloseExecute(TObject* Sender);
  void actImportGSASExecute(TObject* Sender);
  void actImportDWBSExecute(TObject* Sender);
  void actImportFULLExecute(TObject* Sender);
  void actImportShelxExecute(TObject* Sender);
  void actExportShelxExecute(TObject* Sender);
  void actExportSirExecute(TObject* Sender);
  void actPrintExecute(TObject* Sender);
  void actPrintPreviewExecute(TObject* Sender);
  void actPageSetupExecute(TObject* Sender);
  void actExitExecute(TObject* Sender);
  void EditUndo1Execute(TObject* Sender);
  void EditCut1Execute(TObject* Sender);
  void EditCopy1Execute(TObject* Sender);
  void EditPaste1Execute(TObject* Sender);
  void actRefineExecute(TObject* Sender);
  void actHistogramsExecute(TObject* Sender);
  void actSampleExecute(TObject* Sender);
  void actPhasesExecute(TObject* Sender);
  void actManualEditExecute(TObject* Sender);
  void actBasicExecute(TObject* Sender);
  void actQuickStartExecute(TObject* Sender);
  void actViewInputExecute(TObject* Sender);
  void actViewOutputExecute(TObject* Sender);
  void actViewBVSExecute(TObject* Sender);
  void actViewDistExecute(TObject* Sender);
  void actShowHintsExecute(TObject* Sender);
  void actNotYetExecute(TObject* Sender);
  // Opens the update window on the stored mirror.
  void actUpdateExecute(TObject* Sender);
  void actPreferencesExecute(TObject* Sender);
  void actAboutExecute(TObject* Sender);
  void actViewFourierExecute(TObject* Sender);
  void actViewRDFExecute(TObject* Sender);
  // Runs the script of user-menu entry k, k being the sender's name from its
  // seventh character on.
  void actScriptExecute(TObject* Sender);

  void FormCreate(TObject* Sender);
  void FormShow(TObject* Sender);
  void FormActivate(TObject* Sender);
  void FormCloseQuery(TObject* Sender, bool& CanClose);
  void FormClose(TObject* Sender, TCloseAction& Action);
  void FormDestroy(TObject* Sender);
  void TBDockZelvoraResize(TObject* Sender);
  void TBPopupMenu1Popup(TObject* Sender);

  // Gives the macro window the main window's user menu, launchers and plot
  // windows.
  void LinkMacroWindow();

  // The actions UpdateForm switches.
  std::vector<TAction*> SwitchedCommands() const;

  // Whether the first activation with a command-line file has happened.
  bool FirstActivationDone() const { return FFirstActivation; }

private:
  TAction* MakeAction(const std::string& name, const std::string& caption, const std::string& hint,
                      void (TFormZelvora::*handler)(TObject*));
  void BuildMenus();
  // Writes the model to a file; true when it was written.
  bool WriteModel(const std::string& fileName);
  // Runs the save dialog; true when the model was written.
  bool SaveAs();
  // An importer run on a model of its own first, so a file it cannot read
  // leaves the model as it was.
  void ImportModel(const std::string& fileName, bool (*importer)(TRietveld&, const std::string&));
  TEditForm* ViewWindow(TEditForm*& window, const std::string& emptyCaption);
  // A view of a file of the engine's last run of this model; what names the
  // kind of file where there is none yet.
  void ShowEngineFile(TEditForm*& window, const std::string& emptyCaption, const std::string& extension,
                      const std::string& captionPrefix, const std::string& what);
  void ExportModel(const std::string& filter, const std::string& extension,
                   bool (*exporter)(TRietveld&, const std::string&));
  void ProcessPending();
  void SetUpViews();

  bool FFirstActivation = false;
  bool FShown = false;
  // The settings as read at creation, so that the close writes only changes.
  std::unique_ptr<TMainSettings> FSettingsAsRead;
  // From the accepted close to the window's end: the close writes each
  // settings file once.
  std::unique_ptr<TRegistryBatch> FClosing;
  bool FQuitQueued = false;
  std::unique_ptr<TMainScript> FScript;
  TMacroHooks FHooks;
  TRefineViews FViews;
  std::unique_ptr<TMacroPlotTarget> FPlotTarget;
  std::vector<TTBCustomItem*> FUserItems;
  TTBSubmenuItem* FHelpMenu = nullptr;
};

extern TFormZelvora* FormZelvora;
class TFormMacro;
// The macro window of the start-up list.
extern TFormMacro* FormMacro;

// The main block: creates the start-up windows in their order on the
// application, runs the message loop and returns the exit code.
int RunZelvora(int argc, char** argv);
