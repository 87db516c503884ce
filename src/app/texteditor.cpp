#include "app/texteditor.h"

#include "app/mainlink.h"
#include "app/workfolder.h"
#include "model/brkapart.h"
#include "model/datafiles.h"
#include "model/global.h"
#include "model/plotdata.h"
#include "model/refine.h"
#include "model/rietclass.h"
#include "platform/dialogs.h"
#include "platform/gfx/printer.h"
#include "platform/rtl/fileutils.h"
#include "platform/rtl/format.h"
#include "platform/rtl/strutils.h"

namespace {

TTBItem* ActionItem(TComponent* owner, TAction* action) {
  auto* item = new TTBItem(owner);
  item->SetAction(action);
  return item;
}

TTBCustomItem* Separator(TComponent* owner) { return new TTBSeparatorItem(owner); }

void AddItems(TTBCustomItem* parent, std::initializer_list<TTBCustomItem*> items) {
  for (TTBCustomItem* item : items) parent->Add(item);
}

TTBToolbar* NewToolbar(TComponent* owner, const std::string& name, const std::string& caption, TTBDock* dock,
                       int row) {
  auto* bar = new TTBToolbar(owner);
  bar->SetName(name);
  bar->SetText(caption);
  bar->SetDockRow(row);
  bar->SetCurrentDock(dock);
  return bar;
}

const char* const kEditFormKey = "Software\\Zelvora\\Configuration\\EditForm";

std::string GeneralNumber(double v) { return FloatToStrF(v, ffGeneral, 4, 2); }

// The line group of the engine input file that holds line L (1-based), when
// line 2 says N - 1 in columns 1-3.
int InputLineGroup(int N, int L) {
  int group = 0;
  if (L == 1) group = 1;
  if (L >= 2 && L <= N + 1) group = 2;
  if (L == N + 2) group = 3;
  if (L >= N + 3 && L <= 2 * N + 2) group = 4;
  if (L == 2 * N + 3) group = 5;
  return group;
}

}  // namespace

bool ReadModelSafely(const std::string& fileName) {
  try {
    TRietveld trial;
    if (!trial.ReadInputFile(fileName)) return false;
  } catch (const Exception& e) {
    ShowMessage(e.Message());
    return false;
  }
  if (!Model) Model = new TRietveld();
  // The file read cleanly once; its notes are not shown a second time.
  TDialogHandler previous = SetDialogHandler([](const TDialogRequest& r) {
    TDialogAnswer a;
    a.Result = r.DefaultResult;
    return a;
  });
  bool loaded = false;
  try {
    loaded = Model->ReadInputFile(fileName);
  } catch (...) {
    SetDialogHandler(previous);
    throw;
  }
  SetDialogHandler(previous);
  return loaded;
}

ZV_CLASS_IMPL_NOPROPS(TEditForm, TForm)

TAction* TEditForm::MakeAction(const std::string& caption, const std::string& hint,
                               void (TEditForm::*handler)(TObject*)) {
  auto* a = new TAction(this);
  a->SetCaption(caption);
  a->SetHint(hint);
  if (handler) a->SetOnExecute([this, handler](TObject* s) { (this->*handler)(s); });
  return a;
}

TEditForm::TEditForm(TComponent* AOwner) : TForm(AOwner) {
  SetBounds(0, 0, 559, 453);
  SetPosition(poDefaultPosOnly);
  // Its controls and toolbar buttons show their hints while the program shows hints.
  SetShowHint(true);

  StatusBar1 = new TPanel(this);
  StatusBar1->SetParent(this);
  StatusBar1->SetHeight(19);
  StatusBar1->SetAlign(alBottom);
  StatusBar1->SetBevelOuter(bvNone);
  // Made from left to right: among panels aligned to the left the earlier
  // one is outermost.
  const int widths[3] = {100, 100, 50};
  for (int i = 0; i < 3; ++i) {
    auto* p = new TPanel(this);
    p->SetParent(StatusBar1);
    p->SetWidth(widths[i]);
    p->SetAlign(i == 2 ? alClient : alLeft);
    p->SetBevelOuter(bvLowered);
    p->SetAlignment(taLeftJustify);
    FPanels[i] = p;
  }
  FPanels[0]->SetText("Line:");
  FPanels[1]->SetText("Column:");
  FPanels[2]->SetText("Status:");

  RichEdit1 = new TRichEdit(this);
  RichEdit1->SetParent(this);
  RichEdit1->SetAlign(alClient);
  RichEdit1->SetScrollBars(ssBoth);
  RichEdit1->SetWordWrap(false);
  RichEdit1->SetWantTabs(true);
  // The engine's files are laid out in columns: they read in a fixed-pitch
  // font until another is chosen.
  RichEdit1->Font()->SetName("Courier New");
  RichEdit1->Font()->SetPitch(fpFixed);
  RichEdit1->OnKeyUp = [this](TObject*, uint16_t&, TShiftState) { ShowPosition(); };
  RichEdit1->OnMouseDown = [this](TObject*, TMouseButton, TShiftState, int, int) {
    FMouseDownInText = true;
    ShowPosition();
  };
  RichEdit1->OnSelectionChange = [this](TObject*) {
    if (FMouseDownInText) ShowPosition();
  };
  RichEdit1->OnMouseUp = [this](TObject*, TMouseButton, TShiftState, int, int) { FMouseDownInText = false; };

  SearchAndReplace1 = new TSearchAndReplace(this);
  SearchAndReplace1->SetMemo(RichEdit1);
  SearchAndReplace1->SetNotFound("\"%s\" was not found in text");
  SearchAndReplace1->OnMoved = [this](TObject*) { ShowPosition(); };
  FontDialog1 = new TFontDialog(this);
  FontDialog1->Options = {fdFixedPitchOnly, fdNoStyleSel};
  OpenDialog1 = new TOpenDialog(this);
  SaveDialog1 = new TSaveDialog(this);
  PrintDialog1 = new TPrintDialog(this);

  actOpen = MakeAction("&Open", "", &TEditForm::actOpenExecute);
  actSave = MakeAction("&Save", "", &TEditForm::actSaveExecute);
  actSaveAS = MakeAction("Save &As", "", &TEditForm::actSaveASExecute);
  actPrint = MakeAction("&Print", "", &TEditForm::actPrintExecute);
  actReload = MakeAction("&Reload", "", &TEditForm::actReloadExecute);
  actExit = MakeAction("&Exit", "", &TEditForm::actExitExecute);
  EditUndo1 = MakeAction("&Undo", "", nullptr);
  EditUndo1->SetOnExecute([this](TObject*) { RichEdit1->Undo(); });
  EditUndo1->SetShortCut(ShortCut(VK_BACK, {ssAlt}));
  EditCut1 = MakeAction("Cu&t", "", nullptr);
  EditCut1->SetOnExecute([this](TObject*) { RichEdit1->CutToClipboard(); });
  EditCut1->SetShortCut(ShortCut('X', {ssCtrl}));
  EditCopy1 = MakeAction("&Copy", "", nullptr);
  EditCopy1->SetOnExecute([this](TObject*) { RichEdit1->CopyToClipboard(); });
  EditCopy1->SetShortCut(ShortCut('C', {ssCtrl}));
  EditPaste1 = MakeAction("&Paste", "", nullptr);
  EditPaste1->SetOnExecute([this](TObject*) { RichEdit1->PasteFromClipboard(); });
  EditPaste1->SetShortCut(ShortCut('V', {ssCtrl}));
  EditFind1 = MakeAction("&Find", "", nullptr);
  EditFind1->SetOnExecute([this](TObject*) { SearchAndReplace1->Find(); });
  EditReplace1 = MakeAction("&Replace", "", nullptr);
  EditReplace1->SetOnExecute([this](TObject*) { SearchAndReplace1->Replace(); });
  actShowHints = MakeAction("&Show Hints", "", nullptr);
  actShowHints->SetAutoCheck(true);
  actShowHints->SetChecked(true);
  actRefine = MakeAction("&Refine", "Start Refine", &TEditForm::actRefineExecute);
  actStop = MakeAction("&Stop", "Stop refine", &TEditForm::actStopExecute);
  actUpdate = MakeAction("&Update", "", &TEditForm::actUpdateExecute);
  actPlot = MakeAction("&Plot", "", nullptr);
  actPlot->SetAutoCheck(true);
  actWatch = MakeAction("&Watch", "", nullptr);
  actWatch->SetAutoCheck(true);
  actFont = MakeAction("Font", "Change Font", &TEditForm::actFontExecute);

  CreateToolbars();

  // The selection stays visible while another window has the focus.
  RichEdit1->SetHideSelection(false);

  OnShow = [this](TObject* s) { FormShow(s); };
  OnCloseQuery = [this](TObject* s, bool& c) { FormCloseQuery(s, c); };
  OnClose = [this](TObject* s, TCloseAction& a) { FormClose(s, a); };
  OnDeactivate = [this](TObject* s) { FormDeactivate(s); };

  // Made after the window's own show and close handlers, which it chains.
  FormPosSaverEditForm = new TFormPosSaver(this);
  FormPosSaverEditForm->SetUseRegistry(true);
  FormPosSaverEditForm->SetRegRootKey(_CURRENT_USER);
  FormPosSaverEditForm->SetRegKey(kEditFormKey);
}

void TEditForm::CreateToolbars() {
  TBDockTop = new TTBDock(this);
  TBDockTop->SetName("TBDockTop");
  TBDockTop->SetParent(this);

  TBToolbar1 = new TTBToolbar(this);
  TBToolbar1->SetName("TBToolbar1");
  TBToolbar1->SetText("Edit File Toolbar");
  TBToolbar1->SetMenuBar(true);
  auto* file = new TTBSubmenuItem(this);
  file->SetCaption("&File");
  AddItems(file, {ActionItem(this, actOpen), ActionItem(this, actSave), ActionItem(this, actSaveAS), Separator(this),
                  ActionItem(this, actPrint), Separator(this), ActionItem(this, actReload), Separator(this),
                  ActionItem(this, actExit)});
  auto* edit = new TTBSubmenuItem(this);
  edit->SetCaption("&Edit");
  TBShowHints = ActionItem(this, actShowHints);
  AddItems(edit, {ActionItem(this, EditUndo1), Separator(this), ActionItem(this, EditCut1),
                  ActionItem(this, EditCopy1), ActionItem(this, EditPaste1), Separator(this),
                  ActionItem(this, actFont), Separator(this), ActionItem(this, EditFind1),
                  ActionItem(this, EditReplace1), Separator(this), TBShowHints});
  TBProcess1 = new TTBSubmenuItem(this);
  TBProcess1->SetCaption("&Process");
  AddItems(TBProcess1, {ActionItem(this, actRefine), ActionItem(this, actStop), ActionItem(this, actUpdate),
                        Separator(this), ActionItem(this, actPlot), ActionItem(this, actWatch)});
  AddItems(TBToolbar1->Items(), {file, edit, TBProcess1});
  TBToolbar1->SetCurrentDock(TBDockTop);

  TBMenuToolbar = NewToolbar(this, "TBMenuToolbar", "Edit Menu Toolbar", TBDockTop, 1);
  // The Save button follows Save As (it is enabled where a save is possible).
  TBItemSave = new TTBItem(this);
  TBItemSave->SetCaption(actSave->Caption());
  TBItemSave->SetOnClick([this](TObject*) { actSave->Execute(); });
  AddItems(TBMenuToolbar->Items(),
           {ActionItem(this, actOpen), TBItemSave, ActionItem(this, actExit), ActionItem(this, actReload),
            Separator(this), ActionItem(this, actPrint), Separator(this), ActionItem(this, EditCut1),
            ActionItem(this, EditCopy1), ActionItem(this, EditPaste1), Separator(this), ActionItem(this, EditUndo1),
            ActionItem(this, EditFind1), ActionItem(this, EditReplace1)});
  TBRefineToolbar = NewToolbar(this, "TBRefineToolbar", "Edit Refine Toolbar", TBDockTop, 1);
  AddItems(TBRefineToolbar->Items(), {ActionItem(this, actRefine), ActionItem(this, actStop)});

  TBDockPopup = new TTBPopupMenu(this);
  TBPopupMenuToolbar = new TTBItem(this);
  TBPopupMenuToolbar->SetCaption("Menu Toolbar");
  TBPopupMenuToolbar->SetChecked(true);
  TBPopupMenuToolbar->SetOnClick([this](TObject*) {
    TBMenuToolbar->SetVisible(!TBMenuToolbar->Visible());
    TBPopupMenuToolbar->SetChecked(TBMenuToolbar->Visible());
  });
  TBPopupRefineToolbar = new TTBItem(this);
  TBPopupRefineToolbar->SetCaption("Refine Toolbar");
  TBPopupRefineToolbar->SetChecked(true);
  TBPopupRefineToolbar->SetOnClick([this](TObject*) {
    TBRefineToolbar->SetVisible(!TBRefineToolbar->Visible());
    TBPopupRefineToolbar->SetChecked(TBRefineToolbar->Visible());
  });
  AddItems(TBDockPopup->Items(), {TBPopupMenuToolbar, TBPopupRefineToolbar});
  TBDockTop->SetPopupMenu(TBDockPopup);
}

std::string TEditForm::StatusText(int panel) const {
  return panel >= 0 && panel < 3 ? FPanels[panel]->Text() : std::string();
}

void TEditForm::SetStatus(int panel, const std::string& text) { FPanels[panel]->SetText(text); }

void TEditForm::UpdateForm() {
  actSaveAS->SetEnabled(true);
  const bool processShown = FMode == emEditInput || FMode == emRefining || FMode == emRefined;
  switch (FMode) {
    case emEditInput:
      SetText("Refine: " + InputFileName);
      actRefine->SetEnabled(true);
      actStop->SetEnabled(false);
      actUpdate->SetEnabled(false);
      actOpen->SetEnabled(true);
      actReload->SetEnabled(true);
      FFileName = InputFileName;
      break;
    case emPlainText:
      actRefine->SetEnabled(false);
      actStop->SetEnabled(false);
      actUpdate->SetEnabled(false);
      actOpen->SetEnabled(true);
      actReload->SetEnabled(false);
      break;
    case emRefining:
      SetText("Refining: " + InputFileName);
      actRefine->SetEnabled(false);
      actStop->SetEnabled(true);
      actUpdate->SetEnabled(false);
      // Another file opened under a running refinement would take the
      // run's results when it ends.
      actOpen->SetEnabled(false);
      actReload->SetEnabled(true);
      FFileName = InputFileName;
      break;
    case emViewing:
      actOpen->SetEnabled(false);
      actReload->SetEnabled(false);
      actSaveAS->SetEnabled(false);
      break;
    case emRefined:
      SetText("Refined: " + InputFileName);
      actRefine->SetEnabled(true);
      actStop->SetEnabled(false);
      actUpdate->SetEnabled(true);
      actOpen->SetEnabled(true);
      actReload->SetEnabled(true);
      break;
    default: break;
  }
  FProcessVisible = processShown;
  for (TAction* a : {actRefine, actStop, actUpdate, actPlot}) a->SetVisible(processShown);
  TBProcess1->SetVisible(processShown);
  TBRefineToolbar->SetVisible(processShown && TBPopupRefineToolbar->Checked());
  TBPopupRefineToolbar->SetVisible(processShown);
  FSaveButtonEnabled = actSaveAS->Enabled();
  TBItemSave->SetEnabled(FSaveButtonEnabled);
}

void TEditForm::ShowPosition() {
  const TPoint caret = RichEdit1->CaretPos();
  SetStatus(0, "Line: " + std::to_string(caret.Y + 1));
  SetStatus(1, "Col: " + std::to_string(caret.X + 1));
  if (!actShowHints->Checked() || RunMode != rmManualEdit) return;
  const std::vector<std::string> lines = RichEdit1->Lines();
  if (lines.size() <= 2) return;
  const int N = ColumnsToInt(lines[1], 1, 3) + 1;
  SetStatus(2, InputLineHint(InputLineGroup(N, caret.Y + 1), caret.X + 1));
}

void TEditForm::FormShow(TObject*) {
  RichEdit1->SetModified(false);
  UpdateForm();
  SetStatus(0, "Line:");
  SetStatus(1, "Col:");
  SetStatus(2, "");
}

void TEditForm::FormCloseQuery(TObject*, bool& CanClose) {
  if (FMode == emRefining) {
    // The run ends after its cycle; the window closes then.
    FStop = true;
    FStoppedByUser = true;
    FCloseAfterRun = true;
    CanClose = false;
    return;
  }
  SaveOpenFiles(CanClose);
}

void TEditForm::FormClose(TObject*, TCloseAction&) {
  LastActiveControl = nullptr;
  RunMode = rmIdle;
}

// A window that closes is deactivated after its close handler: it leaves
// no control behind then.
void TEditForm::FormDeactivate(TObject*) {
  if (Visible()) LastActiveControl = RichEdit1;
}

bool TEditForm::LoadFile(const std::string& fileName) {
  try {
    RichEdit1->LoadFromFile(fileName);
  } catch (const Exception& e) {
    ShowMessage(e.Message());
    return false;
  }
  FFileName = fileName;
  return true;
}

void TEditForm::EditModelInput() {
  FMode = emPlainText;
  SetText("Manual Edit/Refine");
  if (Model && Model->Loaded) {
    const std::string work = AppWorkFile("tempedit.inp");
    bool written = false;
    try {
      written = Model->WriteInputFile(work);
    } catch (const Exception& e) {
      ShowMessage(e.Message());
    }
    if (written && LoadFile(work)) FMode = emEditInput;
  }
  UpdateForm();
}

bool TEditForm::SaveText(const std::string& fileName) {
  RichEdit1->SetPlainText(true);
  try {
    RichEdit1->SaveToFile(fileName);
  } catch (const Exception& e) {
    ShowMessage(e.Message());
    return false;
  }
  RichEdit1->SetModified(false);
  return true;
}

bool TEditForm::ConfirmOverwrite(const std::string& fileName) {
  if (!FileExists(fileName)) return true;
  return MessageDlg(Format("OK to overwrite %s", {fileName}), mtConfirmation, {mbYes, mbNo}) == mrYes;
}

void TEditForm::ModelTakesSavedFile(const std::string& fileName) {
  if (FMode != emEditInput) return;
  if (ReadModelSafely(fileName)) InputFileName = fileName;
  SetText("Refine: " + fileName);
}

void TEditForm::SaveOpenFiles(bool& CanContinue) {
  CanContinue = true;
  if (!RichEdit1->Modified()) return;
  const int answer = MessageDlg("Save the file?", mtConfirmation, {mbYes, mbNo, mbCancel});
  if (answer == mrCancel || answer == mrNone) {
    CanContinue = false;
    return;
  }
  if (answer == mrNo) return;
  SaveDialog1->FileName = FFileName;
  if (!SaveDialog1->Execute()) {
    CanContinue = false;
    return;
  }
  const std::string file = SaveDialog1->FileName;
  // A save that did not happen lets nothing go on that would drop the text.
  if (!ConfirmOverwrite(file) || !SaveText(file)) {
    CanContinue = false;
    return;
  }
  ModelTakesSavedFile(file);
  // The text now lives in that file (in mode 0 it is also the input file).
  FFileName = file;
}

void TEditForm::actOpenExecute(TObject*) {
  bool canContinue = true;
  SaveOpenFiles(canContinue);
  if (!canContinue) return;
  OpenDialog1->Filter = "KORV Files (*.inp,*.out,*.dst)|*.inp;*.out;*.dst";
  OpenDialog1->DefaultExt = "inp";
  if (!OpenDialog1->Execute()) return;
  const std::string file = OpenDialog1->FileName;
  const int kind = GetFileKind(file);
  if (kind == 0) {
    if (!LoadFile(file)) return;
    // A file the model cannot read is edited as plain text, so that the
    // model and the input file name stay together.
    if (ReadModelSafely(file)) {
      InputFileName = file;
      DataFileFollowsModel(file, Model->ReadFormat);
      FMode = emEditInput;
      RunMode = rmManualEdit;
    } else {
      FMode = emPlainText;
      SetText("Viewing/Editing: " + file);
    }
    UpdateForm();
  } else if (kind == 11) {
    if (!LoadFile(file)) return;
    FMode = emPlainText;
    RunMode = rmIdle;
    SetText("Viewing/Editing: " + file);
    UpdateForm();
    FFileName = file;
  }
  RichEdit1->SetModified(false);
}

void TEditForm::actSaveExecute(TObject*) {
  if (FFileName.empty()) return;
  if (!SaveText(FFileName)) return;
  ModelTakesSavedFile(FFileName);
}

void TEditForm::actSaveASExecute(TObject*) {
  std::string caption = Text();
  const size_t colon = caption.find(": ");
  if (colon != std::string::npos) caption = caption.substr(colon + 2);
  const std::string proposed = ExtractFileName(caption);
  const std::string ext = ExtractFileExt(proposed);
  SaveDialog1->FileName = proposed;
  SaveDialog1->Filter = "Current file type (*" + ext + ")|*" + ext + "|All files (*.*)|*.*";
  if (!SaveDialog1->Execute()) return;
  const std::string file = SaveDialog1->FileName;
  if (!ConfirmOverwrite(file)) return;
  if (!SaveText(file)) return;
  ModelTakesSavedFile(file);
  FFileName = file;
}

void TEditForm::actPrintExecute(TObject*) {
  if (!PrintDialog1->Execute()) return;
  try {
    for (int i = 0; i < std::max(1, PrintDialog1->Copies); ++i) RichEdit1->Print(FFileName);
  } catch (const Exception& e) {
    ShowMessage(e.Message());
    return;
  }
  SayWherePrinted();
}

void TEditForm::actReloadExecute(TObject*) {
  if (Trim(FFileName).empty()) return;
  LoadFile(FFileName);
}

void TEditForm::actExitExecute(TObject*) {
  Close();
  RunMode = rmIdle;
}

void TEditForm::actFontExecute(TObject*) {
  FontDialog1->SetFont(RichEdit1->DefAttributes());
  if (FontDialog1->Execute()) RichEdit1->SetDefAttributes(FontDialog1->Font());
}

void TEditForm::ShowCycleStatus() {
  SetStatus(2, "Status: " + std::to_string(Refinement->CycleCount()) + "     Rp = " +
                   GeneralNumber(Refinement->GetRp(1)) + "    Rwp = " + GeneralNumber(Refinement->GetRwp(1)) +
                   "  Chi^2 = " + GeneralNumber(Refinement->GetChi2(1)));
}

void TEditForm::actRefineExecute(TObject*) {
  FStoppedByUser = false;
  UpdateForm();
  RichEdit1->SetPlainText(true);
  const std::string manual = AppWorkFile("manual.inp");
  try {
    RichEdit1->SaveToFile(manual);
  } catch (const Exception& e) {
    ShowMessage(e.Message());
    return;
  }
  FStop = false;
  FUpdateFile.clear();
  TProgramBusy busy;
  if (!Refinement) Refinement = new TRefine();
  Refinement->IDSZ = IDSZ;
  Refinement->IRS = IRS;
  Refinement->NIPOI = NIPOI;
  if (!ReadModelSafely(manual)) return;

  FMode = emRefining;
  // Only the extension of the file-name part goes: a folder with a dot
  // keeps its name.
  Refinement->BaseName = WithoutExtension(InputFileName);
  Refinement->RunInputFile = InputFileName;
  Refinement->Model = Model;
  Refinement->DataFileName = WithoutExtension(InputFileName);
  Refinement->StartRefinement();
  UpdateForm();

  // Cycles only follow a start that left no error: the engine has no run
  // to step otherwise.
  if (Refinement->LastError == 0 && Refinement->State() == 2) {
    while (!FStop && !BusyEndRequested() && Refinement->CycleCount() < Model->Cycles) {
      // A script run while messages were processed may have ended or
      // restarted the engine's run; no cycle is stepped on that.
      if (Refinement->State() != 2 && Refinement->State() != 3) break;
      Refinement->RunCycle();
      if (FStop || Refinement->LastError == 0) {
        ShowCycleStatus();
        if (actPlot->Checked()) PlotForm();
        if (actWatch->Checked()) WatchForm();
        if (Application) Application->ProcessMessages();
      } else {
        FStop = true;
      }
      if (Refinement->State() == 4) FStop = true;
    }
    if (Refinement->LastError == 0 && Refinement->State() >= 2 && Refinement->State() <= 4) {
      Refinement->FinishRefinement(true);
      if (Refinement->LastError == 0) FUpdateFile = Refinement->BaseName + ".upd";
    }
  }
  FMode = emRefined;
  UpdateForm();
  if (FCloseAfterRun) {
    FCloseAfterRun = false;
    Close();
  }
}

void TEditForm::actStopExecute(TObject*) {
  FStop = true;
  FStoppedByUser = true;
}

void TEditForm::actUpdateExecute(TObject*) {
  // Only the file the last run wrote replaces the input: an older one left
  // beside it would undo the edits made since.
  if (FUpdateFile.empty()) {
    ShowMessage("No updated input file from the last refinement.");
    return;
  }
  RichEdit1->SetPlainText(true);
  if (!LoadFile(FUpdateFile)) return;
  if (!InputFileName.empty() && !SaveText(InputFileName)) return;
  FFileName = InputFileName;
  FMode = emEditInput;
  UpdateForm();
}

void TEditForm::PlotForm() {
  if (!Refinement || !Model) return;
  if (!RefinePlotData) RefinePlotData = new TPlotData();
  if (Application) Application->ProcessMessages();
  const int tag = Views.PlotHistogram ? Views.PlotHistogram() : 0;
  const int histogram = tag >= 1 && tag <= Model->HistogramCount() ? tag : 1;
  Refinement->GetPlot(*RefinePlotData, histogram);
  RefinePlotData->SetHistogramRef(Model->HistogramCount() >= histogram ? Model->Histogram(histogram) : nullptr);
  if (Views.ShowPlot) Views.ShowPlot(*RefinePlotData, histogram, InputFileName);
}

void TEditForm::WatchForm() {
  if (Views.ShowWatch) Views.ShowWatch();
}
