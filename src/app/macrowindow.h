// The macro window: the editor and runner of macro scripts (".rib" files), a
// source memo above an output memo that takes the script's WRITE lines, with
// file, edit, print and Run commands; and the main window's script runner,
// which runs the start-up script and the user-menu scripts.
#pragma once

#include <chrono>
#include <memory>
#include <string>

#include "app/filecopier.h"
#include "app/macrofunctions.h"
#include "app/positionsaver.h"
#include "basic/sbasic.h"
#include "platform/ui/actions.h"
#include "platform/ui/commondialogs.h"
#include "platform/ui/extctrls.h"
#include "platform/ui/forms.h"
#include "platform/ui/richedit.h"
#include "platform/ui/splitter.h"
#include "toolbar/tbdock.h"
#include "toolbar/tbitem.h"
#include "toolbar/tbpopupmenu.h"
#include "toolbar/tbtoolbar.h"

// The lines of a memo as the interpreter's source text.
class TMemoSource : public TSBTextSource {
public:
  explicit TMemoSource(TMemo* memo) : FMemo(memo) {}
  std::vector<std::string> GetLines() const override { return FMemo->Lines(); }

private:
  TMemo* FMemo;
};

// A panel as the interpreter's message panel.
class TPanelMessages : public TSBMessageSink {
public:
  explicit TPanelMessages(TPanel* panel) : FPanel(panel) {}
  void SetCaption(const std::string& caption) override { FPanel->SetText(caption); }
  std::string Caption() const override { return FPanel->Text(); }

private:
  TPanel* FPanel;
};

class TFormMacro : public TForm {
  ZV_CLASS(TFormMacro)
public:
  explicit TFormMacro(TComponent* AOwner);
  ~TFormMacro() override;

  // The save question: false when the user cancelled or the source could
  // not be saved.
  void QueryClose(bool& CanClose);
  // "Line: " + the caret line in the status panel.
  void ShowPosition();

  // The file shown in the source memo (empty after New).
  const std::string& MacroFileName() const { return FMacroFileName; }
  // The functions' window side; the main window adds the user menu, the
  // launchers and the plot windows.
  TMacroHooks& Hooks() { return FHooks; }
  TSBasic& SBasic1() { return *FBasic; }

  TTBDock* TBDockTop;
  TTBDock* TBDockBottom;
  TTBToolbar* MenuToolbar;
  TTBToolbar* TBMainToolbar;
  TTBPopupMenu* TBDockPopup;
  TTBItem* TBPopupMainToolbar;
  TMemo* MemoSource;
  TSplitter* Splitter1;
  TMemo* MemoWrite;
  TPanel* Panel2;
  TPanel* Panel1;
  TOpenDialog* OpenDialog1;
  TSaveDialog* SaveDialog1;
  TPrintDialog* PrintDialog1;
  TFileCopy* FileCopy1;
  TFormPosSaver* FormPosSaverMacroForm;

  TAction* actNew;
  TAction* actOpen;
  TAction* actSave;
  TAction* actSaveAS;
  TAction* actPrint;
  TAction* actExit;
  TAction* EditCut1;
  TAction* EditCopy1;
  TAction* EditPaste1;
  TAction* actClear;
  TAction* actRun;
  TAction* HelpContents1;

  void actNewExecute(TObject* Sender);
  void actOpenExecute(TObject* Sender);
  void actSaveExecute(TObject* Sender);
  void actSaveASExecute(TObject* Sender);
  void actPrintExecute(TObject* Sender);
  void actExitExecute(TObject* Sender);
  void actClearExecute(TObject* Sender);
  void actRunExecute(TObject* Sender);

private:
  void CreateToolbars();
  TAction* MakeAction(const std::string& caption, const std::string& hint, void (TFormMacro::*handler)(TObject*));
  // The memo that is the active control, found by its name; nil otherwise.
  TMemo* ActiveMemo() const;
  // Saves the source; false, after a message, when it was not written.
  bool SaveSource(const std::string& fileName);
  // Save, or Save As without a name; true when the source was written.
  bool SaveOrSaveAs();
  bool SaveAs();
  // The WRITE lines not yet in the output memo: past the first thousand they
  // go in by the hundred, so that a long output costs no more than its
  // length a few times over.
  void FlushOutput();
  std::vector<std::string> FPendingOutput;
  int FShownLines = 0;
  std::chrono::steady_clock::time_point FLastFlush;

  std::string FMacroFileName;
  // The window was closed while a script ran: it closes when the run ends.
  bool FCloseAfterRun = false;
  std::unique_ptr<TSBasic> FBasic;
  std::unique_ptr<TMemoSource> FSource;
  std::unique_ptr<TPanelMessages> FMessages;
  TMacroHooks FHooks;
};

// The main window's interpreter (SBasicMacro): it has no source memo and no
// message panel and reports only that a script was not found or did not
// compile.
class TMainScript {
public:
  TMainScript();
  ~TMainScript();
  TMainScript(const TMainScript&) = delete;
  TMainScript& operator=(const TMainScript&) = delete;

  // Registers the host functions; the hooks must outlive the runs.
  void SetUpScript(TMacroHooks& hooks);
  // Runs a script file.
  void RunScript(const std::string& fileName);
  TSBasic& SBasicMacro() { return *FBasic; }

private:
  std::unique_ptr<TSBasic> FBasic;
};
