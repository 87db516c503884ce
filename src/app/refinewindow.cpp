#include "app/refinewindow.h"

#include <algorithm>
#include <chrono>

#include "app/mainlink.h"
#include "app/popupmenus.h"
#include "app/positionsaver.h"
#include "app/patternplot.h"
#include "app/watchwindow.h"
#include "model/brkapart.h"
#include "model/datafiles.h"
#include "model/global.h"
#include "model/plotdata.h"
#include "model/refine.h"
#include "model/rietclass.h"
#include "platform/dialogs.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/fileutils.h"
#include "platform/rtl/format.h"
#include "toolbar/tbitem.h"
#include "toolbar/tblayoutstore.h"
#include "toolbar/tbpopupmenu.h"

TRefineForm* RefineForm = nullptr;

// While a run can go on, the windows it updates are repainted at most once
// in this many milliseconds: about 30 frames a second, as often as anyone
// can follow the changing figures, where a small pattern's cycles would
// otherwise repaint the plot, the watch list and this window hundreds of
// times a second and spend most of the run drawing. A repaint held back is
// done when its time is up; the run's end paints at once what still waits.
// The plot's data follow at the same pace.
int TRefineForm::RunPaintInterval = 33;

static double NowMs() {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

ZV_CLASS_IMPL_NOPROPS(TRefineForm, TForm)

namespace {

TTBToolWindow* ToolWindow(TRefineForm* form, TTBDock* dock, const char* name, const char* caption, int width,
                          int height, int row, bool resizable) {
  auto* w = new TTBToolWindow(form);
  w->SetName(name);
  w->SetCaption(caption);
  w->SetClientAreaSize(width, height);
  w->SetResizable(resizable);
  w->SetDockRow(row);
  w->SetCurrentDock(dock);
  return w;
}

TLabel* NewLabel(TComponent* owner, TWinControl* parent, const std::string& text, int x, int y) {
  auto* l = new TLabel(owner);
  l->SetParent(parent);
  l->SetCaption(text);
  l->SetLeft(x);
  l->SetTop(y);
  return l;
}

TButton* NewButton(TComponent* owner, TWinControl* parent, const std::string& text, const std::string& hint, int x,
                   int y, int w) {
  auto* b = new TButton(owner);
  b->SetParent(parent);
  b->SetCaption(text);
  b->SetHint(hint);
  b->SetBounds(x, y, w, 23);
  return b;
}

TCheckBox* NewCheck(TComponent* owner, TWinControl* parent, const std::string& text, const std::string& hint, int x,
                    int y) {
  auto* c = new TCheckBox(owner);
  c->SetParent(parent);
  c->SetCaption(text);
  c->SetHint(hint);
  c->SetBounds(x, y, 130, 17);
  return c;
}

}  // namespace

TRefineForm::TRefineForm(TComponent* AOwner) : TForm(AOwner) {
  SetName("RefineForm");
  SetCaption("Refine");
  // Its controls and toolbar buttons show their hints while the program shows hints.
  SetShowHint(true);
  SetClientWidth(358);
  SetClientHeight(234);
  SetKeyPreview(true);
  SetBorderIcons({biSystemMenu, biMinimize, biHelp});

  TBDockRefine = new TTBDock(this);
  TBDockRefine->SetName("TBDockRefine");
  TBDockRefine->SetParent(this);
  // Client widths leave room for each docked frame and drag handle (10
  // pixels): the rows, the third with two windows, fit the 358-pixel form.
  TBToolWindowInput =
      ToolWindow(this, TBDockRefine, "TBToolWindowInput", "Input File input", 348, 26, 0, true);
  NewLabel(this, TBToolWindowInput, "Input:", 4, 6);
  EditInput = new TEdit(this);
  EditInput->SetParent(TBToolWindowInput);
  EditInput->SetBounds(44, 3, 240, 21);
  ButtonInput = NewButton(this, TBToolWindowInput, "Open", "", 288, 2, 44);
  ButtonInputDrop = NewButton(this, TBToolWindowInput, "v", "", 332, 2, 16);
  RecentMenu = NewItemPopupMenu(this, [this](TObject* s) { RecentMenuPopup(s); });
  ButtonInputDrop->OnClick = [this](TObject*) {
    const TPoint p = ButtonInput->ClientToScreen(Point(0, ButtonInput->Height()));
    PopupMenuAt(RecentMenu, p.X, p.Y);
  };
  TBToolWindowData = ToolWindow(this, TBDockRefine, "TBToolWindowData", "Data file input", 348, 26, 1, true);
  NewLabel(this, TBToolWindowData, "Data: ", 4, 6);
  EditData = new TEdit(this);
  EditData->SetParent(TBToolWindowData);
  EditData->SetBounds(44, 3, 240, 21);
  ButtonData = NewButton(this, TBToolWindowData, "...", "", 288, 2, 30);

  TBToolWindowRefineControl = ToolWindow(this, TBDockRefine, "TBToolWindowRefineControl", "Refinement Control", 134,
                                         140, 2, false);
  ButtonStart = NewButton(this, TBToolWindowRefineControl, "&Start", "Push to start refinement (hotkey=F2)", 4, 4, 66);
  ButtonStep = NewButton(this, TBToolWindowRefineControl, "S&tep", "Push to step through refinement (hotkey=F3)", 4,
                         30, 66);
  ButtonStop = NewButton(this, TBToolWindowRefineControl, "Stop", "", 4, 30, 66);
  ButtonStop->SetVisible(false);
  ButtonFinish =
      NewButton(this, TBToolWindowRefineControl, "&Finish", "Push to finish refinement (hotkey=F4)", 4, 56, 66);
  SpinEditStep = new TSpinEdit(this);
  SpinEditStep->SetParent(TBToolWindowRefineControl);
  SpinEditStep->SetBounds(76, 31, 50, 21);
  SpinEditStep->SetMaxValue(99);
  SpinEditStep->SetValue(1);
  SpinEditStep->SetEditorEnabled(false);
  SpinEditStep->SetHint("Enter number of steps for step refinement");
  CheckBoxAutoUpdate = NewCheck(this, TBToolWindowRefineControl, "&Update",
                                "Check to update values at the end of the refinement", 4, 84);
  CheckBoxWatch = NewCheck(this, TBToolWindowRefineControl, "&Watch Values",
                           "Check to see refinement parameters during the refinement", 4, 102);
  CheckBoxPlot = NewCheck(this, TBToolWindowRefineControl, "Dynamic &Plotting", "Check for plotting", 4, 120);

  TBToolWindowStatus = ToolWindow(this, TBDockRefine, "TBToolWindowStatus", "Status", 204, 140, 2, false);
  NewLabel(this, TBToolWindowStatus, "# of Histograms:", 4, 4);
  LabelHist = NewLabel(this, TBToolWindowStatus, "0", 100, 4);
  LabelHist->SetHint("Number of histograms in refinement");
  NewLabel(this, TBToolWindowStatus, "Cycle:", 4, 20);
  LabelCycle = NewLabel(this, TBToolWindowStatus, "0", 100, 20);
  LabelCycle->SetHint("Number of current refinement cycle");
  NewLabel(this, TBToolWindowStatus, "Progress:", 4, 36);
  ProgressBar1 = new TProgressBar(this);
  ProgressBar1->SetParent(TBToolWindowStatus);
  ProgressBar1->SetBounds(60, 38, 130, 14);
  ProgressBar1->SetHint("Progress of current refinement");
  NewLabel(this, TBToolWindowStatus, "Rp:", 30, 56);
  NewLabel(this, TBToolWindowStatus, "Rwp:", 70, 56);
  NewLabel(this, TBToolWindowStatus, "c2:", 110, 56);
  CreateFactorGrid(TBToolWindowStatus);
  LoadToolbarPositionsFromRegistry(this, HKEY_CURRENT_USER, "Software\\Zelvora\\Toolbars");

  // The plot follows a fast run at the pace of its repaints: fetching and
  // storing every point of the pattern on each cycle would be done mostly
  // for pictures nobody sees.
  FReplotTimer = new TTimer(this);
  FReplotTimer->SetEnabled(false);
  FReplotTimer->SetOnTimer([this](TObject*) { ReplotHeld(); });

  Timer1 = new TTimer(this);
  Timer1->SetInterval(1000);
  Timer1->SetEnabled(false);
  Timer1->SetOnTimer([this](TObject* s) { Timer1Timer(s); });
  OpenDialog1 = new TOpenDialog(this);

  TBPopupMenu1 = NewDockPopupMenu(this, [this](TObject* s) { TBPopupMenu1Popup(s); });
  TBItem1 = AddPopupItem(TBPopupMenu1, "Input box", [this](TObject*) { ToggleToolWindow(TBToolWindowInput); });
  TBItem2 = AddPopupItem(TBPopupMenu1, "Data box", [this](TObject*) { ToggleToolWindow(TBToolWindowData); });
  TBItem3 = AddPopupItem(TBPopupMenu1, "Refinement control",
                         [this](TObject*) { ToggleToolWindow(TBToolWindowRefineControl); });
  TBItem4 = AddPopupItem(TBPopupMenu1, "Status box", [this](TObject*) { ToggleToolWindow(TBToolWindowStatus); });
  TBDockRefine->SetPopupMenu(TBPopupMenu1);

  ButtonStart->OnClick = [this](TObject* s) { ButtonStartClick(s); };
  ButtonStep->OnClick = [this](TObject* s) { ButtonStepClick(s); };
  ButtonStop->OnClick = [this](TObject* s) { ButtonStopClick(s); };
  ButtonFinish->OnClick = [this](TObject* s) { ButtonFinishClick(s); };
  ButtonInput->OnClick = [this](TObject* s) { ButtonInputClick(s); };
  ButtonData->OnClick = [this](TObject* s) { ButtonDataClick(s); };
  CheckBoxPlot->OnClick = [this](TObject* s) { CheckBoxPlotClick(s); };
  CheckBoxWatch->OnClick = [this](TObject* s) { CheckBoxWatchClick(s); };
  OnShow = [this](TObject* s) { FormShow(s); };
  OnActivate = [this](TObject* s) { FormActivate(s); };
  OnDeactivate = [this](TObject* s) { FormDeactivate(s); };
  OnCloseQuery = [this](TObject* s, bool& c) { FormCloseQuery(s, c); };
  OnClose = [this](TObject* s, TCloseAction& a) { FormClose(s, a); };
  OnKeyUp = [this](TObject* s, uint16_t& k, TShiftState sh) { FormKeyUp(s, k, sh); };

  // Laid out for 96 pixels per inch (the factor columns start wider at 120).
  ScaleToScreen();
  // FormCreate: the toolbar layout is restored here once the tool windows can float.
}

TRefineForm::~TRefineForm() {
  try {
    SaveToolbarPositionsToRegistry(this, HKEY_CURRENT_USER, "Software\\Zelvora\\Toolbars");
  } catch (const Exception&) {
    // A settings store that cannot be written loses the layout, nothing else.
  }
  if (RefineForm == this) RefineForm = nullptr;
  if (RefinePlotWindow && RefinePlotWindow->Owner() == this) RefinePlotWindow = nullptr;
  PaceRepaints(false);
}

void TRefineForm::PaceRepaints(bool On) {
  if (On == FPacing || !Application) return;
  FPacing = On;
  // A replot still held back is done where the run ends (ReplotHeld), before
  // this; anywhere else it is moot.
  if (!On && FReplotTimer) FReplotTimer->SetEnabled(false);
  Application->SetPaintInterval(On ? RunPaintInterval : 0);
}

void TRefineForm::ReplotCycle() {
  const double since = NowMs() - FReplotEnd;
  if (FPacing && since < RunPaintInterval) {
    if (!FReplotTimer->Enabled()) {
      FReplotTimer->SetInterval(static_cast<unsigned>(std::max(1.0, RunPaintInterval - since)));
      FReplotTimer->SetEnabled(true);
    }
    return;
  }
  FReplotTimer->SetEnabled(false);
  Replot();
  FReplotEnd = NowMs();
}

void TRefineForm::ReplotHeld() {
  if (!FReplotTimer || !FReplotTimer->Enabled()) return;
  FReplotTimer->SetEnabled(false);
  if (CheckBoxPlot->Checked()) Replot();
  FReplotEnd = NowMs();
}

void TRefineForm::ProcessMessages() {
  if (Application) Application->ProcessMessages();
}

std::string TRefineForm::WithoutExtension(const std::string& FileName) {
  // Only the name part's extension goes: a folder with a dot keeps its name.
  return ChangeFileExt(FileName, "");
}

void TRefineForm::UpdateAutoUpdateBox() {
  if (!Model) return;
  // The control flag that asks the engine for an updated input file.
  const bool canUpdate = Model->ControlFlag5 != 0;
  CheckBoxAutoUpdate->SetEnabled(canUpdate);
  if (!canUpdate) CheckBoxAutoUpdate->SetChecked(false);
}

// state | boxes     | Start | Step | Finish | Step or Stop
//   0   | enabled   |  on   | off  |  off   | Step    ready to start
//   1   | disabled  |  on   | on   |  on    | Step    started
//   2   | disabled  |  off  | off  |  off   | Stop    a cycle is running
//   3   | unchanged |  on   | on   |  on    | Step    steps done, more possible
//   4   | enabled   |  off  | off  |  off   | Step    no input, or starting / finishing
//   5   | disabled  |  off  | off  |  off   | Step
//   6   | enabled   |  on   | off  |  on    | Step    converged or stopped
void TRefineForm::UpdateStatus(int State) {
  struct Row {
    int Boxes;  // 1 enabled, 0 disabled, -1 unchanged
    bool Start, Step, Finish, Stop;
  };
  static const Row rows[] = {{1, true, false, false, false},  {0, true, true, true, false},
                             {0, false, false, false, true},  {-1, true, true, true, false},
                             {1, false, false, false, false}, {0, false, false, false, false},
                             {1, true, false, true, false}};
  if (State < 0 || State > 6) return;
  FStatus = State;
  const Row& r = rows[State];
  if (r.Boxes >= 0)
    for (TControl* c : std::initializer_list<TControl*>{EditInput, ButtonInput, ButtonInputDrop, EditData, ButtonData})
      c->SetEnabled(r.Boxes == 1);
  ButtonStart->SetEnabled(r.Start);
  ButtonStep->SetEnabled(r.Step);
  ButtonFinish->SetEnabled(r.Finish);
  ButtonStep->SetVisible(!r.Stop);
  ButtonStop->SetVisible(r.Stop);
  UpdateAutoUpdateBox();
  ProcessMessages();
}

void TRefineForm::CheckForm() {
  EditData->SetText(DataFileName);
  EditInput->SetText(InputFileName);
  UpdateStatus(TrimText(EditInput->Text()).empty() ? 4 : 0);
  MainUpdateForm();
}

void TRefineForm::FormShow(TObject*) {
  // First shown beside the main window, not over it.
  if (!FShownBefore) PlaceBesideOpener(this);
  FShownBefore = true;
  FFinished = true;
  CheckBoxPlot->SetChecked(RunOptions.RDPlot);
  CheckBoxWatch->SetChecked(RunOptions.RDWatch);
  CheckBoxAutoUpdate->SetChecked(true);
  RunMode = rmRefinementWindow;
  if (!Refinement) Refinement = new TRefine();
  Refinement->IDSZ = IDSZ;
  Refinement->IRS = IRS;
  Refinement->NIPOI = NIPOI;
  if (!Model) Model = new TRietveld();
  EditData->SetText(DataFileName);
  EditInput->SetText(InputFileName);
  CheckForm();
  SetFactorFirstColumnWidth(25);
  MainUpdateForm();
}

void TRefineForm::ButtonStartClick(TObject*) {
  TProgramBusy busy;
  if (!Refinement || !Model) return;
  FStepped = false;
  PaceRepaints(false);
  if (!FFinished) Refinement->QuickClose();
  Refinement->Model = Model;
  // No data file chosen: the model's own, beside its input file, as Quick
  // Start and the macros take it (never a stray "temp.dat").
  if (DataFileName.empty()) {
    DataFileName = DataFileForInput(InputFileName, Model->ReadFormat);
    EditData->SetText(DataFileName);
  }
  Refinement->DataFileName = WithoutExtension(DataFileName.empty() ? InputFileName : DataFileName);
  Refinement->BaseName = TempRefine ? std::string() : WithoutExtension(InputFileName);
  UpdateStatus(4);
  Refinement->RunInputFile = InputFileName;
  Refinement->DataFileAdvice = "Pick the data file with the \"...\" button.";
  Refinement->StartRefinement();
  Refinement->DataFileAdvice.clear();
  FFinished = false;
  UpdateStatus(Refinement->State() == 2 ? 1 : 0);
  if (Refinement->LastError == reUnstable) return;
  const int n = Model->HistogramCount();
  LabelHist->SetCaption(std::to_string(n));
  LabelCycle->SetCaption("0");
  ResetFactorGrid(n);
  if (CheckBoxPlot->Checked()) Replot();
  if (StepOnStart && Refinement->State() == 2) ButtonStepClick(this);
}

void TRefineForm::RunEngineCycle() { Refinement->RunCycle(); }

void TRefineForm::ButtonStepClick(TObject*) {
  TProgramBusy busy;
  if (!Refinement || !Model) return;
  FRemaining = TextToInt(SpinEditStep->Text());
  if (FRemaining <= 0) return;
  PaceRepaints(true);
  bool done = false;
  while (!done) {
    Timer1->SetEnabled(true);
    UpdateStatus(2);
    FInCycle = true;
    RunEngineCycle();
    FInCycle = false;
    FFinished = false;
    Timer1->SetEnabled(false);
    FStepped = true;
    if (Refinement->State() == 4) {
      UpdateStatus(6);
      break;
    }
    ProgressBar1->SetPosition(100);
    if (Refinement->LastError == 0) {
      const int n = Model->HistogramCount();
      for (int h = 1; h <= n; ++h) {
        // One engine call gives all three (asking for each recomputes them).
        float rp, rwp, chi2;
        Refinement->GetAgreement(h, rp, rwp, chi2);
        SetFactorRow(h, rp, rwp, chi2);
        ProcessMessages();
      }
      LabelCycle->SetCaption(std::to_string(Refinement->CycleCount()));
      if (CheckBoxPlot->Checked()) ReplotCycle();
      if (CheckBoxWatch->Checked()) UpdateWatch();
    } else {
      done = true;
    }
    if (!done) {
      if (BusyEndRequested()) FRemaining = 0;  // the program closes after the cycle
      --FRemaining;
      done = FRemaining <= 0;
    }
    if (done) UpdateStatus(FRemaining > 0 ? 6 : 3);
  }
  if (Refinement->State() == 1) UpdateStatus(0);
  Timer1->SetEnabled(false);
  // Steps can follow only in state 3; otherwise the run is over.
  if (FStatus != 3) {
    ReplotHeld();
    PaceRepaints(false);
  }
  if (FCloseAfterCycle) {
    FCloseAfterCycle = false;
    Close();
  }
}

void TRefineForm::ButtonStopClick(TObject*) { FRemaining = 0; }

void TRefineForm::ButtonFinishClick(TObject*) {
  TProgramBusy busy;
  if (!Refinement) return;
  ReplotHeld();  // the last cycle's pattern, while the engine still has it
  if (FStepped) {
    UpdateStatus(4);
    const bool update = CheckBoxAutoUpdate->Checked();
    // The binding sets its last error only on failure.
    Refinement->LastError = 0;
    Refinement->FinishRefinement(update);
    if (Refinement->State() == 1) {
      UpdateStatus(0);
      // The model is written back only from an updated model this close
      // wrote and that was read whole: a stale, missing or damaged one must
      // not replace the user's input file.
      const std::string updated = Refinement->BaseName + ".upd";
      if (update && Refinement->Model && Refinement->LastError == 0 && FileExists(updated)) {
        bool read = false;
        try {
          read = Refinement->Model->ReadInputFile(updated);
        } catch (const Exception& e) {
          ShowMessage(e.Message());
        }
        if (read && !InputFileName.empty()) {
          try {
            Refinement->Model->WriteInputFile(InputFileName);
          } catch (const Exception& e) {
            ShowMessage(e.Message());
          }
        }
        if (RefinePlotData) RefinePlotData->SetHistogramRef(Refinement->Model->Histogram(1));
      }
    }
    UpdateStatus(0);
  } else {
    Refinement->QuickClose();
    UpdateStatus(0);
  }
  ProgressBar1->SetPosition(0);
  FFinished = true;
  PaceRepaints(false);
}

void TRefineForm::Timer1Timer(TObject*) {
  if (Refinement) ProgressBar1->SetPosition(Refinement->GetProgress());
}

void TRefineForm::Replot() {
  TProgramBusy busy;
  if (!Refinement || Refinement->State() == 0 || Refinement->State() == 1 || !Refinement->Model) return;
  if (!RefinePlotData) RefinePlotData = new TPlotData();
  ProcessMessages();
  if (!RefinePlotWindow) RefinePlotWindow = new TPlotForm(this);
  int h = static_cast<int>(RefinePlotWindow->Tag());
  if (h < 1 || h > Refinement->Model->HistogramCount()) h = 1;
  RefinePlotWindow->SetTag(h);
  RefinePlotData->SetHistogramRef(Refinement->Model->Histogram(h));
  Refinement->GetPlot(*RefinePlotData, h);
  RefinePlotWindow->PlotData = RefinePlotData;
  // The caption names the model shown, whichever window plotted before.
  RefinePlotWindow->SetText(Refinement->RunInputFile.empty() ? std::string("Plot") : Refinement->RunInputFile);
  RefinePlotWindow->Plot();
  RefinePlotWindow->Show();
}

void TRefineForm::UpdateWatch() {
  if (!Refinement || !Refinement->Model) return;
  if (!FormWatch) FormWatch = new TFormWatch(Application);
  const TRietveld& model = *Refinement->Model;
  const int n = model.RefinedCount();
  FormWatch->SetParameterCount(n);
  FormWatch->SetWidth(FormWatch->GridWidth() + 3);
  FormWatch->Show();
  // Before its first cycle the engine has no values to show (it would say 0).
  const bool values = Refinement->IsLoaded() && Refinement->CycleCount() > 0;
  for (int i = 1; i <= n; ++i) {
    const TParameter& p = *model.Parameters.Refined[static_cast<size_t>(i - 1)];
    if (!values) {
      FormWatch->SetParameterName(i, model.RefinedParameterName(i));
      continue;
    }
    FormWatch->SetParameterRow(i, model.RefinedParameterName(i),
                               Refinement->GetParameterValue(p.Histogram, p.Phase, p.Atom, p.ParamType),
                               Refinement->GetParameterError(p.Histogram, p.Phase, p.Atom, p.ParamType));
  }
}

void TRefineForm::CheckBoxPlotClick(TObject*) {
  if (!Refinement) return;
  if (CheckBoxPlot->Checked())
    Replot();
  else if (RefinePlotWindow)
    RefinePlotWindow->Close();
}

void TRefineForm::CheckBoxWatchClick(TObject*) {
  if (!Refinement) return;
  if (CheckBoxWatch->Checked() && Refinement->State() != 0)
    UpdateWatch();
  else if (FormWatch && FormWatch->Visible())
    FormWatch->Close();
}

void TRefineForm::ButtonInputClick(TObject*) {
  OpenDialog1->InitialDir = InputFileName.empty() && DataFileName.empty() ? StartUpDirectory : std::string();
  OpenDialog1->FileName = InputFileName;
  OpenDialog1->Filter = "Input Files (*.inp)|*.inp";
  if (!OpenDialog1->Execute()) return;
  if (!Model) Model = new TRietveld();
  EditInput->SetText(OpenDialog1->FileName);
  InputFileName = OpenDialog1->FileName;
  bool read = false;
  try {
    read = Model->ReadInputFile(InputFileName);
  } catch (const Exception& e) {
    ShowMessage(e.Message());
  }
  if (read) {
    DataFileFollowsModel(InputFileName, Model->ReadFormat);
    EditData->SetText(DataFileName);
  }
  if (Model->Loaded && MainWindowLink().AddRecentFile) MainWindowLink().AddRecentFile(InputFileName);
  if (RefinePlotData) RefinePlotData->SetHistogramRef(nullptr);
  CheckForm();
}

void TRefineForm::ButtonDataClick(TObject*) {
  if (InputFileName.empty() && DataFileName.empty())
    OpenDialog1->InitialDir = StartUpDirectory;
  else if (DataFileName.empty())
    OpenDialog1->InitialDir = ExtractFilePath(InputFileName);
  else
    OpenDialog1->InitialDir.clear();
  OpenDialog1->FileName = DataFileName;
  OpenDialog1->Filter =
      "All Data Files (*.dat,*.gs,*.xy,*.cpi)|*.dat;*.gs;*.xy;*.cpi|KORV Data files (*.dat)|*.dat|GSAS Data files "
      "(*.gs)|*.gs|XY Data files (*.xy)|*.xy|CPI Data files (*.cpi)|*.cpi";
  if (!OpenDialog1->Execute()) return;
  EditData->SetText(OpenDialog1->FileName);
  DataFileName = TrimText(EditData->Text());
  if (Model) {
    int& format = Model->ReadFormat;
    switch (GetFileKind(DataFileName)) {
      case 4:
        if (format < 0 || format > 2) format = 0;
        break;
      case 7: format = 3; break;
      case 9:
        if (format != 4 && format != 5) format = 4;
        break;
      case 10: format = 6; break;
      default: break;
    }
  }
  CheckForm();
}

void TRefineForm::FormKeyUp(TObject*, uint16_t& Key, TShiftState) {
  // A key does what its button does only while the button can be pressed,
  // so F2 never restarts the engine under a running cycle.
  switch (Key) {
    case VK_ESCAPE: Close(); break;
    case VK_F2:
      if (ButtonStart->Enabled()) ButtonStartClick(this);
      break;
    case VK_F3:
      if (ButtonStep->Enabled() && ButtonStep->Visible()) ButtonStepClick(this);
      break;
    case VK_F4:
      if (ButtonFinish->Enabled()) ButtonFinishClick(this);
      break;
    default: break;
  }
}

void TRefineForm::TBPopupMenu1Popup(TObject*) {
  TBItem1->SetChecked(TBToolWindowInput->Visible());
  TBItem2->SetChecked(TBToolWindowData->Visible());
  TBItem3->SetChecked(TBToolWindowRefineControl->Visible());
  TBItem4->SetChecked(TBToolWindowStatus->Visible());
}

void TRefineForm::RecentMenuPopup(TObject*) {
  RecentMenu->Items()->Clear();
  if (!MainWindowLink().RecentFiles) return;
  for (const std::string& file : MainWindowLink().RecentFiles())
    AddPopupItem(RecentMenu, file, [file](TObject*) {
      if (MainWindowLink().OpenRecentFile) MainWindowLink().OpenRecentFile(file);
    });
}

void TRefineForm::ToggleToolWindow(TTBToolWindow* Window) { Window->SetVisible(!Window->Visible()); }

void TRefineForm::FormActivate(TObject*) { UpdateAutoUpdateBox(); }

void TRefineForm::FormDeactivate(TObject*) {
  if (Visible()) LastActiveControl = ActiveControl();
}

void TRefineForm::FormCloseQuery(TObject*, bool& CanClose) {
  // The binding must not be closed under the running cycle: the steps end
  // with it and the window closes then.
  if (FInCycle) {
    FRemaining = 0;
    FCloseAfterCycle = true;
    CanClose = false;
  }
}

void TRefineForm::FormClose(TObject*, TCloseAction& Action) {
  ReplotHeld();
  if (!FFinished && Refinement) {
    Refinement->QuickClose();
    FFinished = true;
  }
  RunMode = rmIdle;
  PaceRepaints(false);
  MainUpdateForm();
  if (FormWatch) FormWatch->Hide();
  LastActiveControl = nullptr;
  Action = caHide;
}
