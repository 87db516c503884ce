// The main window's commands: enabling, file opening by kind, saving,
// import and export, the engine's drivers and the views of its files, the
// clipboard and print commands on the last active control, the user menu.
#include <charconv>
#include <memory>
#include <set>

#include "app/texteditor.h"
#include "app/newinputwizard.h"
#include "app/mainlink.h"
#include "app/launcher.h"
#include "app/macrowindow.h"
#include "app/refinewindow.h"
#include "app/mainwindow.h"
#include "app/updatewindow.h"
#include "app/patternplot.h"
#include "app/macroplot.h"
#include "app/histogramwindow.h"
#include "app/samplewindow.h"
#include "app/phaseswindow.h"
#include "app/workfolder.h"
#include "app/aboutbox.h"
#include "app/fourierwindow.h"
#include "app/preferences.h"
#include "app/rdfwindow.h"
#include "chart/core/chart.h"
#include "chart/series/series.h"
#include "model/datafiles.h"
#include "model/directmethods.h"
#include "model/dwbsimport.h"
#include "model/fullprofimport.h"
#include "model/global.h"
#include "model/gsasimport.h"
#include "model/plotdata.h"
#include "model/refine.h"
#include "model/rietclass.h"
#include "model/shelx.h"
#include "platform/dialogs.h"
#include "platform/rtl/fileutils.h"
#include "platform/rtl/textfile.h"
#include "platform/rtl/strutils.h"
#include "platform/ui/clipboard.h"
#include "platform/ui/richedit.h"
#include "platform/ui/stdctrls.h"
#include "toolbar/tbitem.h"
#include "toolbar/tbmru.h"
#include "toolbar/tbtoolbar.h"

namespace {

const char* const kOpenFilter =
    "KORV Input File (*.inp)|*.inp|KORV Data File (*.dat)|*.dat|GSAS Data File (*.gs)|*.gs|GSAS Experiment File "
    "(*.exp)|*.exp|DWBS Input File (*.dwb)|*.dwb|Fullprof Input File (*.pcr)|*.pcr|XY Data files (*.xy)|*.xy|CPI "
    "Data files (*.cpi)|*.cpi";

bool ModelLoaded() { return Model && Model->Loaded; }

// Answers every dialog with its default while it lives: a file read a second
// time does not show its notes again.
class TQuietDialogs {
public:
  TQuietDialogs()
      : FPrevious(SetDialogHandler([](const TDialogRequest& r) {
          TDialogAnswer a;
          a.Result = r.DefaultResult;
          return a;
        })) {}
  ~TQuietDialogs() { SetDialogHandler(FPrevious); }

private:
  TDialogHandler FPrevious;
};

// The macro plot window as PLOT draws into it.
class TGraphTarget : public TMacroPlotTarget {
public:
  int Tag() const override { return FormGraph ? static_cast<int>(FormGraph->Tag()) : 0; }
  void SetTag(int tag) override {
    if (FormGraph) FormGraph->SetTag(tag);
  }
  void AddPointSeries() override {
    if (!FormGraph) return;
    auto* series = new TPointSeries(FormGraph);
    series->SetParentChart(FormGraph->Chart1);
  }
  void ShowWindow() override {
    if (FormGraph) FormGraph->Show();
  }
  void ClearSeries(int index) override {
    if (TChartSeries* s = SeriesAt(index)) s->RemoveAllPoints();
  }
  void AddPoint(int series, double x, double y, TColor color) override {
    if (TChartSeries* s = SeriesAt(series)) s->AddXYPoint(x, y, "", color);
  }

private:
  static TChartSeries* SeriesAt(int index) {
    if (!FormGraph || index < 0 || index >= FormGraph->Chart1->SeriesList()->Count()) return nullptr;
    return FormGraph->Chart1->SeriesAt(index);
  }
};

}  // namespace

void TFormZelvora::SetUpViews() {
  FViews.PlotHistogram = [] { return RefinePlotWindow ? static_cast<int>(RefinePlotWindow->Tag()) : 0; };
  FViews.ShowPlot = [this](TPlotData& data, int histogram, const std::string& caption) {
    if (!RefinePlotWindow) RefinePlotWindow = new TPlotForm(ManualEditWindow ? static_cast<TComponent*>(ManualEditWindow) : this);
    RefinePlotWindow->SetTag(histogram);
    RefinePlotWindow->PlotData = &data;
    if (!caption.empty()) RefinePlotWindow->SetText(caption);
    RefinePlotWindow->Plot();
    RefinePlotWindow->Show();
  };
  FViews.ShowWatch = [] {
    if (RefineForm) RefineForm->UpdateWatch();
  };
  FPlotTarget = std::make_unique<TGraphTarget>();
  FHooks.AddUserMenu = [this](const std::string& m, const std::string& i, const std::string& s) {
    AddUserMenu(m, i, s);
  };
  FHooks.ClearUserMenu = [this] { ClearUserMenu(); };
  FHooks.ExFileNoWait = ExFileNoWait;
  FHooks.ExFileWait = ExFileWait;
  FHooks.Views = &FViews;
  FHooks.Plot = FPlotTarget.get();
}

void TFormZelvora::LinkMacroWindow() {
  if (!FormMacro) return;
  TMacroHooks& h = FormMacro->Hooks();
  h.AddUserMenu = FHooks.AddUserMenu;
  h.ClearUserMenu = FHooks.ClearUserMenu;
  h.ExFileNoWait = ExFileNoWait;
  h.ExFileWait = ExFileWait;
  h.Views = &FViews;
  h.Plot = FPlotTarget.get();
}

// ---- Enabling --------------------------------------------------------------

std::set<std::string> EnabledMainCommands(bool loaded, int runMode, int engineState) {
  std::set<std::string> on{"actNew"};
  if (loaded) {
    on.insert({"actGeneral", "actPhases", "actHistograms", "actSample", "actConstraints", "actparameters",
               "actViewInput", "actViewDist", "actViewOutput", "actViewBVS", "actSaveAS", "actSave",
               "actViewFourier", "actClose"});
  }
  // Manual edit and macros own the model: only Parameters stays.
  if (runMode < rmRefinementWindow)
    for (const char* n : {"actGeneral", "actHistograms", "actPhases", "actConstraints", "actSample"}) on.erase(n);
  switch (runMode) {
    case rmManualEdit: on.insert("actManualEdit"); break;
    case rmMacro: on.insert("actBasic"); break;
    case rmRefinementWindow:
      on.insert("actRefine");
      on.erase("actClose");
      on.erase("actNew");
      break;
    case rmIdle: on.insert({"actBasic", "actManualEdit", "actRefine", "actQuickStart"}); break;
    default: break;
  }
  // The engine's result files are read only while no run is open.
  if (engineState == 0 || engineState == 2 || engineState == 3 || engineState == 5)
    for (const char* n : {"actViewBVS", "actViewOutput", "actViewDist"}) on.erase(n);
  return on;
}

std::vector<TAction*> TFormZelvora::SwitchedCommands() const {
  return {actGeneral,   actPhases,    actHistograms,  actSample,     actConstraints, actparameters, actViewInput,
          actViewDist,  actViewOutput, actViewBVS,    actViewFourier, actQuickStart, actSaveAS,     actSave,
          actClose,     actNew,       actBasic,       actManualEdit, actRefine};
}

void TFormZelvora::UpdateForm() {
  SetText(InputFileName.empty() ? std::string("Zelvora") : "Zelvora: " + InputFileName);
  const std::set<std::string> on =
      EnabledMainCommands(ModelLoaded(), RunMode, Refinement ? Refinement->State() : -1);
  for (TAction* a : SwitchedCommands()) a->SetEnabled(on.count(a->Name()) > 0);
}

// ---- Files -----------------------------------------------------------------

void TFormZelvora::ImportModel(const std::string& fileName, bool (*importer)(TRietveld&, const std::string&)) {
  // A file the importer cannot read leaves the model the user had.
  bool ok = false;
  try {
    TRietveld trial;
    ok = importer(trial, fileName);
  } catch (const Exception& e) {
    ShowMessage(e.Message());
    return;
  }
  if (!ok) return;
  InputFileName = fileName;
  if (!Model) Model = new TRietveld();
  TQuietDialogs quiet;
  try {
    importer(*Model, fileName);
  } catch (const Exception&) {
    // Read cleanly a moment ago; a file changed since is reported by the next open.
  }
  DataFileFollowsModel(fileName, Model->ReadFormat);
}

void TFormZelvora::ProcessFile(const std::string& fileName) {
  // A folder, a pipe or a device given a file's name is named for what it
  // is (a missing file is left to the reader of its kind to report).
  try {
    CheckRegularFile(fileName);
  } catch (const EFileKind& e) {
    ShowMessage(e.Message());
    return;
  } catch (const Exception&) {
  }
  const int kind = GetFileKind(fileName);
  switch (kind) {
    case 0:
      if (ReadModelSafely(fileName)) {
        InputFileName = fileName;
        DataFileFollowsModel(fileName, Model->ReadFormat);
        TBMRUList1->AddFile(fileName);
      }
      break;
    case 1: ImportModel(fileName, &ImportFullprof); break;
    case 2: ImportModel(fileName, &ImportDWBS); break;
    case 3: ImportModel(fileName, &ImportGSAS); break;
    case 8: ImportModel(fileName, &ImportShelx); break;
    case 4:
    case 7:
    case 9:
    case 10: {
      if (!LoadedData) LoadedData = new TPlotData();
      LoadedData->ReadDataFile(fileName, 1, kind);
      // A file the reader refused (it said why) is not plotted.
      if (LoadedData->Status() != 2) break;
      DataFileName = fileName;
      if (!DataPlotWindow) DataPlotWindow = new TPlotForm(this);
      DataPlotWindow->SetTag(1);
      DataPlotWindow->PlotData = LoadedData;
      DataPlotWindow->Plot();
      DataPlotWindow->Show();
      break;
    }
    default: ShowMessage("Unknown File type. Please check the file extension."); break;
  }
  UpdateForm();
}

bool TFormZelvora::QuerySaveModel() {
  if (!ModelChanged) return true;
  switch (MessageDlg("Save Input File?", mtConfirmation, {mbYes, mbNo, mbCancel})) {
    case mrYes:
      SaveInputFile();
      // A save that did not happen keeps the window and the model.
      return !ModelChanged;
    case mrNo: return true;
    default: return false;
  }
}

bool TFormZelvora::OpenFile() {
  if (!QuerySaveModel()) return false;
  if (InputFileName.empty() && DataFileName.empty()) OpenDialog1->InitialDir = StartUpDirectory;
  OpenDialog1->Filter = kOpenFilter;
  OpenDialog1->DefaultExt = "inp";
  bool opened = false;
  if (OpenDialog1->Execute()) {
    const std::string file = OpenDialog1->FileName;
    OpenDialog1->InitialDir = ExtractFilePath(file);
    ProcessFile(file);
    // Only a model read from the file is unchanged; a data file, a file the
    // reader refused or a cancelled dialog leave the model's changes marked.
    if (InputFileName == file && ModelLoaded()) opened = true;
    const int kind = GetFileKind(file);
    if (RefineForm) {
      if (IsDataFile(file)) {
        RefineForm->EditData->SetText(file);
        RefineForm->CheckForm();
      } else if (kind == 0) {
        RefineForm->EditInput->SetText(file);
        RefineForm->CheckForm();
      }
    }
  }
  UpdateForm();
  if (opened) ModelChanged = false;
  return true;
}

void TFormZelvora::OpenAFile(const std::string& filter) {
  if (OpenDialog1->InitialDir.empty()) OpenDialog1->InitialDir = StartUpDirectory;
  OpenDialog1->Filter = filter;
  OpenDialog1->DefaultExt = "inp";
  if (OpenDialog1->Execute()) ProcessFile(OpenDialog1->FileName);
  if (!OpenDialog1->FileName.empty()) OpenDialog1->InitialDir = ExtractFilePath(OpenDialog1->FileName);
  UpdateForm();
}

bool TFormZelvora::WriteModel(const std::string& fileName) {
  try {
    return Model->WriteInputFile(fileName);
  } catch (const Exception& e) {
    ShowMessage(e.Message());
    return false;
  }
}

void TFormZelvora::SaveInputFile() { actSaveExecute(this); }

void TFormZelvora::actSaveExecute(TObject*) {
  if (!Model) return;
  // An imported file is never overwritten with an input file of another
  // format: Save then asks for a name.
  if (InputFileName.empty() || GetFileKind(InputFileName) != 0) {
    SaveAs();
    return;
  }
  if (WriteModel(InputFileName)) ModelChanged = false;
}

bool TFormZelvora::SaveAs() {
  if (!Model) return false;
  SaveDialog1->Filter = "Input Files (*.inp)|*.inp";
  SaveDialog1->DefaultExt = "inp";
  // A new model has no name to offer.
  SaveDialog1->FileName = InputFileName.empty()                ? std::string()
                          : GetFileKind(InputFileName) == 0 ? InputFileName
                                                            : ChangeFileExt(InputFileName, ".inp");
  bool saved = false;
  if (SaveDialog1->Execute()) {
    std::string file = SaveDialog1->FileName;
    if (ExtractFileExt(file).empty()) file += ".inp";
    if (GetFileKind(file) != 0) {
      // Another program's file or a data file is never replaced by an input file.
      ShowMessage("Input files are saved with the extension .inp: " + file + " was not written.");
    } else if (WriteModel(file)) {
      saved = true;
      InputFileName = file;
      ModelChanged = false;
      if (AssignDatafile) {
        const std::string data = DataFileForInput(file, Model->ReadFormat);
        if (!data.empty()) DataFileName = data;
      }
    }
  }
  UpdateForm();
  return saved;
}

void TFormZelvora::actSaveASExecute(TObject*) { SaveAs(); }

void TFormZelvora::actopenExecute(TObject*) { OpenFile(); }

void TFormZelvora::actNewExecute(TObject*) {
  // A script or a refinement running now holds the model the wizard resets.
  if (ProgramBusy()) {
    ShowMessage("The model is in use by a running refinement or macro; start a new one when that has ended.");
    return;
  }
  if (!FormNewInput || !QuerySaveModel()) return;
  if (FormNewInput->ShowModal() != mrOk) return;
  UpdateForm();
  SaveAs();
}

void TFormZelvora::actCloseExecute(TObject*) {
  // A script or a refinement running now holds the model.
  if (ProgramBusy()) {
    ShowMessage("The model is in use by a running refinement or macro; close it when that has ended.");
    return;
  }
  if (!QuerySaveModel()) return;
  delete Model;
  Model = nullptr;
  if (Refinement) Refinement->Model = nullptr;
  InputFileName.clear();
  if (DataPlotWindow) DataPlotWindow->Close();
  UpdateForm();
  actClose->SetEnabled(false);
}

void TFormZelvora::actImportGSASExecute(TObject*) { OpenAFile("GSAS Experiment File (*.exp)|*.exp"); }
void TFormZelvora::actImportDWBSExecute(TObject*) { OpenAFile("DWBS Files (*.dwb)|*.dwb"); }
void TFormZelvora::actImportFULLExecute(TObject*) { OpenAFile("Fullprof Files (*.pcr)|*.pcr"); }
void TFormZelvora::actImportShelxExecute(TObject*) { OpenAFile("Shelxs Files (*.ins)|*.ins"); }

void TFormZelvora::ExportModel(const std::string& filter, const std::string& extension,
                               bool (*exporter)(TRietveld&, const std::string&)) {
  SaveDialog1->Filter = filter;
  SaveDialog1->DefaultExt = extension;
  SaveDialog1->FileName.clear();
  if (Model && !InputFileName.empty() && SaveDialog1->Execute()) {
    try {
      exporter(*Model, SaveDialog1->FileName);
    } catch (const Exception& e) {
      ShowMessage(e.Message());
    }
  }
  UpdateForm();
}

void TFormZelvora::actExportShelxExecute(TObject*) {
  ExportModel("Shelxs Files (*.ins)|*.ins", "ins", &ExportShelx);
}

void TFormZelvora::actExportSirExecute(TObject*) {
  ExportModel("SIRPOW97 Files (*.exp)|*.exp", "exp", &ExportSir);
}

void TFormZelvora::TBMRUList1Click(TObject*, const std::string& fileName) {
  if (ModelLoaded() && ModelChanged &&
      MessageDlg("Save Current Input File?", mtConfirmation, {mbYes, mbNo}) == mrYes)
    SaveInputFile();
  ProcessFile(fileName);
  if (RefineForm && RefineForm->Visible()) RefineForm->CheckForm();
  if (InputFileName == fileName && ModelLoaded()) ModelChanged = false;
}

void TFormZelvora::actExitExecute(TObject*) { Close(); }

void TFormZelvora::actNotYetExecute(TObject*) { ShowMessage("Not available yet."); }

void TFormZelvora::actHistogramsExecute(TObject*) {
  if (HistogramForm) HistogramForm->Show();
}

void TFormZelvora::actSampleExecute(TObject*) {
  if (!FormSample || !Model || !Model->Histogram(1)) return;
  FormSample->ShowFor(*Model->Histogram(1));
}

void TFormZelvora::actUpdateExecute(TObject*) {
  try {
    TFormUpdate form(this);
    form.cbSites->SetItemIndex(UpdateSite);
    form.ShowModal();
  } catch (const Exception& e) {
    // Something in the update is broken: the command stays off for this run.
    actUpdate->SetEnabled(false);
    ShowMessage(e.Message());
  }
}

void TFormZelvora::actPreferencesExecute(TObject*) {
  if (OptionsDlg && !OptionsDlg->Visible()) OptionsDlg->ShowModal();
}

void TFormZelvora::actAboutExecute(TObject*) {
  if (AboutBox && !AboutBox->Visible()) AboutBox->ShowModal();
}

void TFormZelvora::actViewFourierExecute(TObject*) {
  auto fourier = std::make_unique<TFormPlotFourier>(this);
  fourier->ShowModal();
}

void TFormZelvora::actViewRDFExecute(TObject*) {
  if (ModelLoaded() && Refinement && FormRDF) {
    FormRDF->FillPhases(Model->PhaseCount());
    FormRDF->Show();
  }
  ScreenCursor().SetCursor(crDefault);
}

// ---- The last active control ----------------------------------------------

namespace {

// The control when it still shows in its window.
TControl* ActiveTarget() {
  TControl* c = LastActiveControl;
  if (!c) return nullptr;
  TComponent* owner = c->Owner();
  auto* form = dynamic_cast<TCustomForm*>(owner);
  if (form && !form->Visible()) return nullptr;
  return c;
}

void FocusControl(TControl* c) {
  if (auto* w = dynamic_cast<TWinControl*>(c); w && w->CanFocus()) w->SetFocus();
}

}  // namespace

void TFormZelvora::actPrintExecute(TObject*) {
  TControl* c = ActiveTarget();
  if (auto* chart = dynamic_cast<TCustomGrafPanel*>(c)) {
    chart->PrintRectAsDocument(chart->CalcPrintRect());
    SayWherePrinted();
    FocusControl(chart);
  } else if (auto* rich = dynamic_cast<TRichEdit*>(c)) {
    rich->Print("Zelvora");
    SayWherePrinted();
    FocusControl(rich);
  }
}

void TFormZelvora::actPrintPreviewExecute(TObject*) {
  if (auto* chart = dynamic_cast<TCustomGrafPanel*>(ActiveTarget())) FocusControl(chart);
}

void TFormZelvora::actPageSetupExecute(TObject*) { PrinterSetupDialog1->Execute(); }

void TFormZelvora::EditUndo1Execute(TObject*) {
  if (auto* memo = dynamic_cast<TMemo*>(ActiveTarget())) memo->Undo();
}

void TFormZelvora::EditCut1Execute(TObject*) {
  TControl* c = ActiveTarget();
  if (auto* memo = dynamic_cast<TMemo*>(c)) {
    memo->CutToClipboard();
    FocusControl(memo);
  } else if (auto* edit = dynamic_cast<TEdit*>(c)) {
    if (!edit->SelText().empty()) {
      Clipboard()->SetAsText(edit->SelText());
      if (!edit->ReadOnly()) edit->SetSelText("");
    }
    FocusControl(edit);
  } else if (auto* chart = dynamic_cast<TCustomGrafPanel*>(c)) {
    chart->CopyBitmapToClipboard();
    FocusControl(chart);
  }
}

void TFormZelvora::EditCopy1Execute(TObject*) {
  TControl* c = ActiveTarget();
  if (auto* memo = dynamic_cast<TMemo*>(c)) {
    memo->CopyToClipboard();
    FocusControl(memo);
  } else if (auto* edit = dynamic_cast<TEdit*>(c)) {
    if (!edit->SelText().empty()) Clipboard()->SetAsText(edit->SelText());
    FocusControl(edit);
  } else if (auto* chart = dynamic_cast<TCustomGrafPanel*>(c)) {
    chart->CopyBitmapToClipboard();
    FocusControl(chart);
  }
}

void TFormZelvora::EditPaste1Execute(TObject*) {
  TControl* c = ActiveTarget();
  if (auto* memo = dynamic_cast<TMemo*>(c)) {
    memo->PasteFromClipboard();
    FocusControl(memo);
  } else if (auto* edit = dynamic_cast<TEdit*>(c)) {
    // Only text goes into an edit box; anything else is nothing to paste.
    if (!edit->ReadOnly() && Clipboard()->HasFormat(CF_TEXT)) edit->SetSelText(Clipboard()->AsText());
    FocusControl(edit);
  }
}

// ---- The engine's drivers --------------------------------------------------

void TFormZelvora::actRefineExecute(TObject*) {
  RunMode = rmRefinementWindow;
  UpdateForm();
  if (!RefineForm) return;
  RefineForm->SetFormStyle(RunOptions.RDOnTop ? fsStayOnTop : fsNormal);
  RefineForm->Show();
}

void TFormZelvora::actPhasesExecute(TObject*) {
  if (PhaseForm) PhaseForm->Show();
}

void TFormZelvora::actBasicExecute(TObject*) {
  RunMode = rmMacro;
  UpdateForm();
  if (FormMacro) FormMacro->Show();
}

void TFormZelvora::actManualEditExecute(TObject*) {
  RunMode = rmManualEdit;
  UpdateForm();
  if (!ManualEditWindow) {
    ManualEditWindow = new TEditForm(this);
    ManualEditWindow->Views = FViews;
  }
  ManualEditWindow->Show();
  ManualEditWindow->SetMode(TEditForm::emPlainText);
  // Writes the model to the work file and edits it (the editor's caption and
  // commands follow its mode).
  ManualEditWindow->EditModelInput();
  UpdateForm();
  ManualEditWindow->actOpen->SetEnabled(true);
}

void TFormZelvora::actQuickStartExecute(TObject*) {
  if (InputFileName.empty()) OpenAFile("Input File (*.inp)|*.inp");
  if (InputFileName.empty()) return;
  // Messages go through between the steps: a close of the program on the
  // way (its Exit command during the refinement) frees the editor, and the
  // steps after it are left out.
  auto closed = [this] { return FClosing || !ManualEditWindow; };
  ProcessPending();
  if (FClosing) return;
  actManualEditExecute(this);
  ManualEditWindow->actPlot->SetChecked(RunOptions.QSPlot);
  ManualEditWindow->actWatch->SetChecked(RunOptions.QSWatch);
  ProcessPending();
  if (closed()) return;
  ManualEditWindow->actRefine->Execute();
  ProcessPending();
  if (closed()) return;
  if (RunOptions.QSUpdate) ManualEditWindow->actUpdate->Execute();
}

TEditForm* TFormZelvora::ViewWindow(TEditForm*& window, const std::string& emptyCaption) {
  if (!window) {
    window = new TEditForm(this);
    window->Views = FViews;
  }
  window->SetText(emptyCaption);
  return window;
}

void TFormZelvora::actViewInputExecute(TObject*) {
  TEditForm* w = ViewWindow(InputViewWindow, "View Inputfile");
  if (Model) {
    const std::string work = AppWorkFile("temp.inp");
    if (WriteModel(work) && w->LoadFile(work)) {
      w->SetMode(TEditForm::emViewing);
      w->SetFileName(work);
    }
  }
  w->SetText("View Inputfile");
  w->UpdateForm();
  w->Show();
}

void TFormZelvora::ShowEngineFile(TEditForm*& window, const std::string& emptyCaption, const std::string& extension,
                                  const std::string& captionPrefix, const std::string& what) {
  TEditForm* w = ViewWindow(window, emptyCaption);
  w->SetMode(TEditForm::emPlainText);
  // Only the files of a run of the model open now: another model's, left
  // from an earlier run, are not this one's.
  const bool ofThisModel = Refinement && !Refinement->RunInputFile.empty() && Refinement->RunInputFile == InputFileName;
  const std::string base = ofThisModel ? Refinement->BaseName : std::string();
  const std::string file = base.empty() ? std::string() : base + extension;
  if (!file.empty() && FileReadable(file) && w->LoadFile(file)) {
    w->SetMode(TEditForm::emViewing);
    w->SetText(captionPrefix + file);
  } else {
    w->RichEdit1->SetText("There is no " + what + " of " +
                          (InputFileName.empty() ? std::string("this model") : InputFileName) +
                          " yet: a refinement writes it.");
    w->RichEdit1->SetModified(false);
  }
  w->SetFileName(file);
  w->UpdateForm();
  w->Show();
}

void TFormZelvora::actViewOutputExecute(TObject*) {
  ShowEngineFile(OutputViewWindow, "View File", ".out", "View Output: ", "output file");
}

void TFormZelvora::actViewBVSExecute(TObject*) {
  ShowEngineFile(ResultViewWindow, "View Bond Valence", ".dst", "View Bonds: ", "bond valence and summary file");
}

void TFormZelvora::actViewDistExecute(TObject*) {
  ShowEngineFile(ResultViewWindow, "View Distance/Angles", ".ang", "View Distance/Angles: ", "distance and angle file");
}

// ---- The user menu ---------------------------------------------------------

void TFormZelvora::AddUserMenu(const std::string& menuText, const std::string& itemText,
                               const std::string& scriptText) {
  if (UserMenuCount >= MaxUserMenuItems) return;
  const std::string menu = Trim(menuText), item = Trim(itemText), script = Trim(scriptText);
  const int n = ++UserMenuCount;
  TUserMenuItem& e = UserMenuItems[n];
  e.MenuCaption = menu;
  e.ItemCaption = item;
  e.MacroFile = script;
  e.MenuTag = 0;  // the kind: 0 item, 1 separator, 2 menu
  FUserItems[static_cast<size_t>(n - 1)] = nullptr;

  TTBCustomItem* bar = TBToolbarMenu->Items();
  TTBCustomItem* found = nullptr;
  for (int i = 0; i < bar->Count(); ++i) {
    std::string caption = bar->Items(i)->Caption();
    if (const auto amp = caption.find('&'); amp != std::string::npos) caption.erase(amp, 1);
    if (caption == menu) found = bar->Items(i);
  }
  const int beforeLast = bar->Count() > 0 ? bar->Count() - 1 : 0;
  if (item.empty()) {
    if (found) return;
    auto* sub = new TTBSubmenuItem(this);
    sub->SetCaption(menu);
    bar->Insert(beforeLast, sub);
    e.MenuTag = 2;
    FUserItems[static_cast<size_t>(n - 1)] = sub;
  } else if (item != "-") {
    auto* it = new TTBItem(this);
    it->SetCaption(item);
    it->SetTag(n);
    if (!script.empty()) it->SetOnClick([this](TObject* s) { UserItemClick(s); });
    if (found)
      found->Add(it);
    else
      bar->Insert(beforeLast, it);
    FUserItems[static_cast<size_t>(n - 1)] = it;
  } else {
    auto* sep = new TTBSeparatorItem(this);
    (found ? found : bar)->Add(sep);
    e.MenuTag = 1;
    FUserItems[static_cast<size_t>(n - 1)] = sep;
  }
}

void TFormZelvora::ClearUserMenu() {
  // Items inside a new submenu go before the submenu.
  for (int pass = 0; pass < 2; ++pass) {
    for (int n = 1; n <= UserMenuCount; ++n) {
      TTBCustomItem*& item = FUserItems[static_cast<size_t>(n - 1)];
      const bool submenu = UserMenuItems[n].MenuTag == 2;
      if (!item || submenu != (pass == 1)) continue;
      delete item;
      item = nullptr;
    }
  }
  UserMenuCount = 0;
}

void TFormZelvora::actScriptExecute(TObject* Sender) {
  auto* component = dynamic_cast<TComponent*>(Sender);
  if (!component || component->Name().size() <= 6) return;
  int k = 0;
  const std::string digits = component->Name().substr(6);
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), k);
  if (error != std::errc() || end != digits.data() + digits.size() || k < 1 || k > UserMenuCount) return;
  FScript->RunScript(UserMenuItems[k].MacroFile);
  CloseMacroTextFile();
}

void TFormZelvora::UserItemClick(TObject* Sender) {
  auto* item = dynamic_cast<TTBCustomItem*>(Sender);
  if (!item) return;
  const int n = static_cast<int>(item->Tag());
  if (n < 1 || n > UserMenuCount) return;
  FScript->RunScript(UserMenuItems[n].MacroFile);
  CloseMacroTextFile();
}
