// The text editor window: a rich edit for the engine's text files (the
// model's input file, the output, summary and distance files of a run, any
// other text file), with search and replace, printing, and, while it edits
// the model's input file, a refinement run straight from the edited text
// with the pattern plot and the watch list shown per cycle.
//
// The main window creates one per purpose, sets Mode (0 editing the model's
// input, 1 plain text, 3 viewing) and calls UpdateForm before showing it.
// Commands are actions; the menus and toolbars bind to them.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "app/positionsaver.h"
#include "app/refineviews.h"
#include "app/searchreplace.h"
#include "platform/ui/actions.h"
#include "platform/ui/commondialogs.h"
#include "platform/ui/extctrls.h"
#include "platform/ui/forms.h"
#include "platform/ui/richedit.h"
#include "toolbar/tbdock.h"
#include "toolbar/tbitem.h"
#include "toolbar/tbpopupmenu.h"
#include "toolbar/tbtoolbar.h"

class TEditForm : public TForm {
  ZV_CLASS(TEditForm)
public:
  // Editor modes.
  static constexpr uint8_t emEditInput = 0, emPlainText = 1, emRefining = 2, emViewing = 3, emRefined = 4;

  explicit TEditForm(TComponent* AOwner);

  uint8_t Mode() const { return FMode; }
  void SetMode(uint8_t v) { FMode = v; }
  // The file that Save, Reload and Print use.
  const std::string& FileName() const { return FFileName; }
  void SetFileName(const std::string& v) { FFileName = v; }

  // Applies the mode to the caption, the commands and the Process menu.
  void UpdateForm();
  // The caret's line and column, and the input-line hint.
  void ShowPosition();
  // The save question before closing or opening; false when the user
  // cancelled or the text could not be saved.
  void SaveOpenFiles(bool& CanContinue);
  // Refresh the plot and watch windows during a manual refinement.
  void PlotForm();
  void WatchForm();

  // Writes the model to the work file "tempedit.inp" and edits it (mode 0);
  // with no model loaded, mode 1 and nothing loaded. The caption becomes
  // "Manual Edit/Refine" first.
  void EditModelInput();
  // Loads a file into the editor and makes it the file name; false, after a
  // message, when it cannot be read (the text is left as it was).
  bool LoadFile(const std::string& fileName);

  // The status bar: 0 line, 1 column, 2 refine status or input-line hint.
  std::string StatusText(int panel) const;
  // Whether the Process menu (and with it the refine toolbar and its dock
  // pop-up item) is shown, and the toolbar's Save button enabled.
  bool ProcessMenuVisible() const { return FProcessVisible; }
  bool SaveButtonEnabled() const { return FSaveButtonEnabled; }

  // Where the refinement's plot and watch go.
  TRefineViews Views;

  TTBDock* TBDockTop;
  TTBToolbar* TBToolbar1;      // the menu bar
  TTBToolbar* TBMenuToolbar;
  TTBToolbar* TBRefineToolbar;
  TTBSubmenuItem* TBProcess1;
  TTBItem* TBShowHints;
  TTBItem* TBItemSave;
  TTBPopupMenu* TBDockPopup;
  TTBItem* TBPopupMenuToolbar;
  TTBItem* TBPopupRefineToolbar;
  TRichEdit* RichEdit1;
  TPanel* StatusBar1;
  TSearchAndReplace* SearchAndReplace1;
  TFontDialog* FontDialog1;
  TOpenDialog* OpenDialog1;
  TSaveDialog* SaveDialog1;
  TPrintDialog* PrintDialog1;
  TFormPosSaver* FormPosSaverEditForm;

  TAction* actOpen;
  TAction* actSave;
  TAction* actSaveAS;
  TAction* actPrint;
  TAction* actReload;
  TAction* actExit;
  TAction* EditUndo1;
  TAction* EditCut1;
  TAction* EditCopy1;
  TAction* EditPaste1;
  TAction* EditFind1;
  TAction* EditReplace1;
  TAction* actShowHints;
  TAction* actRefine;
  TAction* actStop;
  TAction* actUpdate;
  TAction* actPlot;
  TAction* actWatch;
  TAction* actFont;

  // The commands' handlers (the actions run them).
  void actOpenExecute(TObject* Sender);
  void actSaveExecute(TObject* Sender);
  void actSaveASExecute(TObject* Sender);
  void actPrintExecute(TObject* Sender);
  void actReloadExecute(TObject* Sender);
  void actExitExecute(TObject* Sender);
  void actRefineExecute(TObject* Sender);
  void actStopExecute(TObject* Sender);
  void actUpdateExecute(TObject* Sender);
  void actFontExecute(TObject* Sender);

private:
  void CreateToolbars();
  TAction* MakeAction(const std::string& caption, const std::string& hint, void (TEditForm::*handler)(TObject*));
  void SetStatus(int panel, const std::string& text);
  void FormShow(TObject* Sender);
  void FormCloseQuery(TObject* Sender, bool& CanClose);
  void FormClose(TObject* Sender, TCloseAction& Action);
  void FormDeactivate(TObject* Sender);
  // Saves the text; false, after a message, when it was not written.
  bool SaveText(const std::string& fileName);
  // Asks "OK to overwrite %s" for an existing file; true to go on.
  bool ConfirmOverwrite(const std::string& fileName);
  // After a save in mode 0: the model reads the saved file.
  void ModelTakesSavedFile(const std::string& fileName);
  void ShowCycleStatus();

  uint8_t FMode = emPlainText;
  std::string FFileName;
  std::array<TPanel*, 3> FPanels{};
  bool FProcessVisible = false;
  bool FSaveButtonEnabled = true;
  bool FStop = false;
  bool FStoppedByUser = false;
  bool FCloseAfterRun = false;
  // A press in the text: the widget places the caret after the press is
  // handled, so the read-out follows the caret until the button is released.
  bool FMouseDownInText = false;
  // The updated input file the last run finished with; empty when it
  // ended without one.
  std::string FUpdateFile;
};

// Reads an input file into Model (created when missing) only when it can be
// read: the file is tried on a model of its own first, so a file with errors
// leaves the model as it was (the reader reports the errors). True when
// Model holds the file.
bool ReadModelSafely(const std::string& fileName);
