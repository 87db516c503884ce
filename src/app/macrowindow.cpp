#include "app/macrowindow.h"

#include <malloc.h>

#include <chrono>

#include "app/mainlink.h"
#include "basic/sbtypes.h"
#include "model/datafiles.h"
#include "model/global.h"
#include "platform/dialogs.h"
#include "platform/gfx/printer.h"
#include "platform/rtl/textfile.h"
#include "platform/ui/shortcuts.h"

namespace {

const char* const kMacroFormKey = "Software\\Zelvora\\Configuration\\MacroForm";
const char* const kMacroCaption = "Reruzare Rurid";

TTBItem* ActionItem(TComponent* owner, TAction* action) {
  auto* item = new TTBItem(owner);
  item->SetAction(action);
  return item;
}

TTBCustomItem* Separator(TComponent* owner) { return new TTBSeparatorItem(owner); }

void AddItems(TTBCustomItem* parent, std::initializer_list<TTBCustomItem*> items) {
  for (TTBCustomItem* item : items) parent->Add(item);
}

// A run's program and values go when it ends, and the memory they took goes
// back to the system.
void FreeRun(TSBasic& basic) {
  basic.Clear();
  ::malloc_trim(0);
}

// Lets the windows work while a script runs; the program's close, asked for
// meanwhile, stops the script.
void PollWindows(TSBasic& basic) {
  if (Application) Application->ProcessMessages();
  if (BusyEndRequested()) basic.Stop();
}

// The message of an error a host function raised, as the interpreter
// reports its own.
void ReportRaised(TSBasic& basic, const std::string& message) {
  if (TSBMessageSink* panel = basic.Message_Panel()) panel->SetCaption(basic.Headline() + ": " + message);
}

}  // namespace

ZV_CLASS_IMPL_NOPROPS(TFormMacro, TForm)

TAction* TFormMacro::MakeAction(const std::string& caption, const std::string& hint,
                                void (TFormMacro::*handler)(TObject*)) {
  auto* a = new TAction(this);
  a->SetCaption(caption);
  a->SetHint(hint);
  if (handler) a->SetOnExecute([this, handler](TObject* s) { (this->*handler)(s); });
  return a;
}

TFormMacro::TFormMacro(TComponent* AOwner) : TForm(AOwner), FBasic(std::make_unique<TSBasic>()) {
  SetBounds(0, 0, 605, 409);
  SetPosition(poDefaultPosOnly);
  SetText(kMacroCaption);
  // Its controls and toolbar buttons show their hints while the program shows hints.
  SetShowHint(true);

  // The top dock comes first: among controls aligned to one edge the earlier
  // one is outermost, and the menu bar belongs above the source memo.
  TBDockTop = new TTBDock(this);
  TBDockTop->SetName("TBDockTop");
  TBDockTop->SetParent(this);

  Panel2 = new TPanel(this);
  Panel2->SetParent(this);
  Panel2->SetHeight(19);
  Panel2->SetAlign(alBottom);
  Panel2->SetAlignment(taLeftJustify);
  Panel1 = new TPanel(this);
  Panel1->SetParent(Panel2);
  Panel1->SetWidth(400);
  Panel1->SetAlign(alRight);
  MemoSource = new TMemo(this);
  MemoSource->SetName("MemoSource");
  MemoSource->SetParent(this);
  MemoSource->SetHeight(150);
  MemoSource->SetAlign(alTop);
  MemoSource->SetScrollBars(ssBoth);
  MemoSource->SetWordWrap(false);
  MemoSource->OnKeyUp = [this](TObject*, uint16_t&, TShiftState) { ShowPosition(); };
  MemoSource->OnMouseDown = [this](TObject*, TMouseButton, TShiftState, int, int) { ShowPosition(); };
  Splitter1 = new TSplitter(this);
  Splitter1->SetName("Splitter1");
  Splitter1->SetTop(MemoSource->Top() + MemoSource->Height());
  Splitter1->SetParent(this);
  MemoWrite = new TMemo(this);
  MemoWrite->SetName("MemoWrite");
  MemoWrite->SetParent(this);
  MemoWrite->SetAlign(alClient);
  MemoWrite->SetScrollBars(ssBoth);
  MemoWrite->SetWordWrap(false);

  const std::string filter = "Reruzare Rurid files (*.rib)|*.rib|";
  OpenDialog1 = new TOpenDialog(this);
  OpenDialog1->DefaultExt = "mac";
  OpenDialog1->Filter = filter + "All files (*.*)|*.*";
  SaveDialog1 = new TSaveDialog(this);
  SaveDialog1->DefaultExt = "mac";
  SaveDialog1->Filter = filter + "Any file (*.*)|*.*";
  PrintDialog1 = new TPrintDialog(this);
  FileCopy1 = new TFileCopy(this);

  actNew = MakeAction("&New", "New Vorazadar macro", &TFormMacro::actNewExecute);
  actOpen = MakeAction("&Open", "Opens a file", &TFormMacro::actOpenExecute);
  actSave = MakeAction("&Save", "Saves a file", &TFormMacro::actSaveExecute);
  actSaveAS = MakeAction("Save &As", "Saves a file", &TFormMacro::actSaveASExecute);
  actPrint = MakeAction("&Print", "Prints the Source and Output windows", &TFormMacro::actPrintExecute);
  actExit = MakeAction("E&xit", "Exits", &TFormMacro::actExitExecute);
  EditCut1 = MakeAction("Cu&t", "", nullptr);
  EditCut1->SetShortCut(ShortCut('X', {ssCtrl}));
  EditCut1->SetOnExecute([this](TObject*) {
    if (TMemo* m = ActiveMemo()) m->CutToClipboard();
  });
  EditCopy1 = MakeAction("&Copy", "", nullptr);
  EditCopy1->SetShortCut(ShortCut('C', {ssCtrl}));
  EditCopy1->SetOnExecute([this](TObject*) {
    if (TMemo* m = ActiveMemo()) m->CopyToClipboard();
  });
  EditPaste1 = MakeAction("&Paste", "", nullptr);
  EditPaste1->SetShortCut(ShortCut('V', {ssCtrl}));
  EditPaste1->SetOnExecute([this](TObject*) {
    if (TMemo* m = ActiveMemo()) m->PasteFromClipboard();
  });
  actClear = MakeAction("Clear", "Clears the Source and Output windows", &TFormMacro::actClearExecute);
  actRun = MakeAction("&Run", "Runs the Vorazadar macro", &TFormMacro::actRunExecute);
  HelpContents1 = MakeAction("&Help Topics", "", nullptr);
  HelpContents1->SetVisible(false);  // no help file is installed

  CreateToolbars();

  FSource = std::make_unique<TMemoSource>(MemoSource);
  FMessages = std::make_unique<TPanelMessages>(Panel1);
  FBasic->SetHeadline("Error");
  FBasic->SetMax_Count(100000);
  FBasic->SetMax_Dimension(10000);
  FBasic->SetSource_Memo(FSource.get());
  FBasic->SetMessage_Panel(FMessages.get());
  FBasic->SetOnPoll([this] { PollWindows(*FBasic); });
  // Esc stops a running script before its next statement.
  SetKeyPreview(true);
  OnKeyDown = [this](TObject*, uint16_t& Key, TShiftState) {
    if (Key == VK_ESCAPE && FBasic->Busy()) {
      FBasic->Stop();
      Key = 0;
    }
  };

  FHooks.WriteLine = [this](const std::string& line) {
    FPendingOutput.push_back(line);
    // The first lines show at once; a long output goes in by the hundred
    // and at least a few times a second.
    const auto now = std::chrono::steady_clock::now();
    if (FShownLines < 1000 || FPendingOutput.size() >= 500 || now - FLastFlush > std::chrono::milliseconds(250))
      FlushOutput();
  };
  FHooks.ClearOutput = [this] {
    FPendingOutput.clear();
    FShownLines = 0;
    MemoWrite->Clear();
  };
  FHooks.OpenDialog = OpenDialog1;
  FHooks.SaveDialog = SaveDialog1;
  FHooks.FileCopy = FileCopy1;
  RegisterMacroFunctions(*FBasic, FHooks, mhMacroWindow);
  FMacroFileName.clear();

  OnShow = [](TObject*) { RunMode = rmMacro; };
  OnClose = [](TObject*, TCloseAction&) {
    LastActiveControl = nullptr;
    RunMode = rmIdle;
  };
  OnCloseQuery = [this](TObject*, bool& CanClose) {
    // A running script is stopped first; the close comes again after it.
    if (FBasic->Busy()) {
      FBasic->Stop();
      FCloseAfterRun = true;
      CanClose = false;
      return;
    }
    QueryClose(CanClose);
  };
  // A window that closes is deactivated after its close handler: it leaves
  // no control behind then.
  OnDeactivate = [this](TObject*) {
    if (Visible()) LastActiveControl = ActiveControl();
  };

  // Made after the window's own show and close handlers, which it chains.
  FormPosSaverMacroForm = new TFormPosSaver(this);
  FormPosSaverMacroForm->SetUseRegistry(true);
  FormPosSaverMacroForm->SetRegRootKey(_CURRENT_USER);
  FormPosSaverMacroForm->SetRegKey(kMacroFormKey);
}

void TFormMacro::CreateToolbars() {
  // Made after the status panel, which stays the bottom-most.
  TBDockBottom = new TTBDock(this);
  TBDockBottom->SetName("TBDockBottom");
  TBDockBottom->SetPosition(dpBottom);
  TBDockBottom->SetParent(this);

  MenuToolbar = new TTBToolbar(this);
  MenuToolbar->SetName("MenuToolbar");
  MenuToolbar->SetText("Macro Menu toolbar");
  MenuToolbar->SetMenuBar(true);
  auto* file = new TTBSubmenuItem(this);
  file->SetCaption("&File");
  AddItems(file, {ActionItem(this, actNew), ActionItem(this, actOpen), ActionItem(this, actSave),
                  ActionItem(this, actSaveAS), Separator(this), ActionItem(this, actPrint), Separator(this),
                  ActionItem(this, actExit)});
  auto* edit = new TTBSubmenuItem(this);
  edit->SetCaption("&Edit");
  AddItems(edit, {ActionItem(this, EditCut1), ActionItem(this, EditCopy1), ActionItem(this, EditPaste1),
                  Separator(this), ActionItem(this, actClear)});
  auto* help = new TTBSubmenuItem(this);
  help->SetCaption("&Help");
  AddItems(help, {ActionItem(this, HelpContents1)});
  help->SetVisible(false);  // it holds only Help Topics, hidden while no help is installed
  AddItems(MenuToolbar->Items(), {file, edit, ActionItem(this, actRun), help});
  MenuToolbar->SetCurrentDock(TBDockTop);

  TBMainToolbar = new TTBToolbar(this);
  TBMainToolbar->SetName("TBMainToolbar");
  TBMainToolbar->SetText("Macro Main toolbar");
  TBMainToolbar->SetDockRow(1);
  AddItems(TBMainToolbar->Items(), {ActionItem(this, actNew), ActionItem(this, actOpen), ActionItem(this, actSave),
                                    ActionItem(this, actPrint), Separator(this), ActionItem(this, actRun)});
  TBMainToolbar->SetCurrentDock(TBDockTop);

  TBDockPopup = new TTBPopupMenu(this);
  TBPopupMainToolbar = new TTBItem(this);
  TBPopupMainToolbar->SetCaption("Main Toolbar");
  TBPopupMainToolbar->SetChecked(true);
  TBPopupMainToolbar->SetOnClick([this](TObject*) {
    TBMainToolbar->SetVisible(!TBMainToolbar->Visible());
    TBPopupMainToolbar->SetChecked(TBMainToolbar->Visible());
  });
  TBDockPopup->Items()->Add(TBPopupMainToolbar);
  TBDockTop->SetPopupMenu(TBDockPopup);
}

TFormMacro::~TFormMacro() {
  // The interpreter keeps pointers to the memo source and the panel adapter.
  FBasic->SetSource_Memo(nullptr);
  FBasic->SetMessage_Panel(nullptr);
}

void TFormMacro::FlushOutput() {
  FShownLines += static_cast<int>(FPendingOutput.size());
  MemoWrite->AddLines(FPendingOutput);
  FPendingOutput.clear();
  FLastFlush = std::chrono::steady_clock::now();
}

TMemo* TFormMacro::ActiveMemo() const {
  TWinControl* c = ActiveControl();
  if (!c || (c->Name() != "MemoSource" && c->Name() != "MemoWrite")) return nullptr;
  return dynamic_cast<TMemo*>(c);
}

void TFormMacro::ShowPosition() { Panel2->SetText("Line: " + std::to_string(MemoSource->CaretPos().Y + 1)); }

bool TFormMacro::SaveSource(const std::string& fileName) {
  try {
    MemoSource->SaveToFile(fileName);
  } catch (const Exception& e) {
    ShowMessage(e.Message());
    return false;
  }
  MemoSource->SetModified(false);
  return true;
}

bool TFormMacro::SaveAs() {
  SaveDialog1->FileName = FMacroFileName;
  if (!SaveDialog1->Execute()) return false;
  const std::string file = SaveDialog1->FileName;
  if (!SaveSource(file)) return false;
  FMacroFileName = file;
  SetText(std::string(kMacroCaption) + ": " + file);
  return true;
}

bool TFormMacro::SaveOrSaveAs() { return FMacroFileName.empty() ? SaveAs() : SaveSource(FMacroFileName); }

void TFormMacro::QueryClose(bool& CanClose) {
  CanClose = true;
  if (!MemoSource->Modified()) return;
  const int answer = MessageDlg("Save VoraZadar File?", mtConfirmation, {mbYes, mbNo, mbCancel});
  if (answer == mrNo) return;
  // A save that did not happen keeps the window and the text.
  CanClose = answer == mrYes && SaveOrSaveAs();
}

void TFormMacro::actNewExecute(TObject*) {
  bool canGo = true;
  if (MemoSource->Modified()) QueryClose(canGo);
  if (!canGo) return;
  MemoSource->Clear();
  MemoWrite->Clear();
  FMacroFileName.clear();
}

void TFormMacro::actOpenExecute(TObject*) {
  // The source in the memo is not dropped without the save question.
  bool canGo = true;
  QueryClose(canGo);
  if (!canGo) return;
  if (!OpenDialog1->Execute()) return;
  const std::string file = OpenDialog1->FileName;
  try {
    CheckFileSize(file, MaxMacroFileSize, "a macro");
    MemoSource->LoadFromFile(file);
  } catch (const Exception& e) {
    ShowMessage(e.Message());
    return;
  }
  FMacroFileName = file;
  SetText(std::string(kMacroCaption) + ": " + file);
}

void TFormMacro::actSaveExecute(TObject*) { SaveOrSaveAs(); }

void TFormMacro::actSaveASExecute(TObject*) { SaveAs(); }

void TFormMacro::actPrintExecute(TObject*) {
  if (!PrintDialog1->Execute()) return;
  try {
    TPrinterText out;
    out.SetFont(MemoSource->Font());
    out.Open(FMacroFileName.empty() ? std::string(kMacroCaption) : FMacroFileName);
    out.WriteLn("********* Basic Source Listing *********");
    for (const std::string& line : MemoSource->Lines()) out.WriteLn(line);
    out.SetFont(MemoWrite->Font());
    out.WriteLn("************ Output Listing ************");
    for (const std::string& line : MemoWrite->Lines()) out.WriteLn(line);
    out.Close();
  } catch (const Exception& e) {
    ShowMessage(e.Message());
    return;
  }
  SayWherePrinted();
}

void TFormMacro::actExitExecute(TObject*) { Close(); }

void TFormMacro::actClearExecute(TObject*) {
  MemoSource->Clear();
  MemoWrite->Clear();
}

void TFormMacro::actRunExecute(TObject*) {
  // Run pressed again while a script's host call processes messages: the
  // running script and what it has written stay.
  if (FBasic->Busy()) {
    ReportRaised(*FBasic, "The macro interpreter is already running");
    return;
  }
  FPendingOutput.clear();
  FShownLines = 0;
  MemoWrite->Clear();
  Panel2->SetText("");
  Panel1->SetText("");
  if (!LibraryScript.empty()) FBasic->SetSource_Library(CutText(LibraryScript));
  FBasic->SetSource_Memo(FSource.get());
  {
    TProgramBusy busy;
    try {
      // A library file that cannot be read raises in the compile.
      if (FBasic->Compile() == 0) FBasic->Run();
    } catch (const Exception& e) {
      ReportRaised(*FBasic, e.Message());
    }
    FlushOutput();
    CloseMacroTextFile();
    FreeRun(*FBasic);
  }
  if (FCloseAfterRun) {
    FCloseAfterRun = false;
    Close();
  }
}

TMainScript::TMainScript() : FBasic(std::make_unique<TSBasic>()) {
  FBasic->SetOnPoll([this] { PollWindows(*FBasic); });
}
TMainScript::~TMainScript() = default;

void TMainScript::SetUpScript(TMacroHooks& hooks) { RegisterMacroFunctions(*FBasic, hooks, mhMainWindow); }

void TMainScript::RunScript(const std::string& fileName) {
  if (fileName.empty()) return;
  // A folder, a pipe or a device is named for what it is, without waiting.
  try {
    CheckRegularFile(fileName);
  } catch (const EFileKind& e) {
    ShowMessage(e.Message());
    return;
  } catch (const Exception&) {
  }
  if (!FileReadable(fileName)) {
    ShowMessage("VoraZadar script " + fileName + " not found.");
    return;
  }
  FBasic->SetSource_Library(CutText(LibraryScript));
  FBasic->SetSource_File(CutText(fileName));
  int compiled = -1;
  try {
    compiled = FBasic->Compile();
  } catch (const Exception&) {
    compiled = -1;  // the library file could not be read
  }
  if (compiled != 0) {
    ShowMessage("Error processing VoraZadar file.");
    return;
  }
  TProgramBusy busy;
  if (Application) Application->ProcessMessages();
  try {
    // No panel shows the run's error: it comes as a message, in the words
    // the macro window's panel uses.
    if (!BusyEndRequested() && FBasic->Run() > 0) ShowMessage(FBasic->Code().ErrorReport());
  } catch (const EAbort&) {
    // Ended for the program's close: nothing to report.
  } catch (const Exception& e) {
    ShowMessage(e.Message());
  }
  CloseMacroTextFile();
  FreeRun(*FBasic);
}
