#include "app/refinewindow.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <stdexcept>
#include <vector>

#include "app/mainlink.h"
#include "app/popupmenus.h"
#include "toolbar/tbpopupmenu.h"
#include "app/patternplot.h"
#include "app/watchwindow.h"
#include "model/brkapart.h"
#include "model/global.h"
#include "model/plotdata.h"
#include "model/refine.h"
#include "model/rietclass.h"
#include "platform/rtl/dynlib.h"
#include "platform/rtl/fileutils.h"
#include "platform/rtl/format.h"
#include "platform/rtl/registry.h"
#include "support/dialogresponder.h"
#include "support/gui/guitest.h"
#include "support/gui/queuedinput.h"
#include "support/tempdir.h"

namespace {

// The binding's test engine, kept mapped so that its settings survive the
// binding's reloading.
class TFakeEngine {
public:
  TFakeEngine() {
    FHandle = LoadLibrary(Name);
    if (!FHandle) throw std::runtime_error(std::string("cannot load ") + Name);
    FSet = reinterpret_cast<void (*)(const char*, double)>(GetProcAddress(FHandle, "fake_set"));
    FGet = reinterpret_cast<double (*)(const char*)>(GetProcAddress(FHandle, "fake_get"));
    FText = reinterpret_cast<void (*)(const char*, char*, int)>(GetProcAddress(FHandle, "fake_text"));
    reinterpret_cast<void (*)()>(GetProcAddress(FHandle, "fake_reset"))();
  }
  ~TFakeEngine() { FreeLibrary(FHandle); }
  void Set(const char* key, double value) { FSet(key, value); }
  double Get(const char* key) { return FGet(key); }
  std::string Text(const char* key) {
    std::vector<char> buffer(1024);
    FText(key, buffer.data(), static_cast<int>(buffer.size()));
    return buffer.data();
  }
  static constexpr const char* Name = "zvfake_engine.dll";

private:
  HMODULE FHandle = nullptr;
  void (*FSet)(const char*, double) = nullptr;
  double (*FGet)(const char*) = nullptr;
  void (*FText)(const char*, char*, int) = nullptr;
};

// A window whose engine cycle can be watched and interrupted.
class TTestRefineForm : public TRefineForm {
public:
  using TRefineForm::TRefineForm;
  std::function<void()> DuringCycle;

protected:
  void RunEngineCycle() override {
    if (DuringCycle) DuringCycle();
    TRefineForm::RunEngineCycle();
  }
};

// Two histograms, one phase with an atom, two refined parameters.
void FillModel(TRietveld& model) {
  model.Title = "Window test";
  model.NewHistogram();
  model.NewHistogram();
  TPhase* phase = model.NewPhase();
  phase->AddAtom(TAtom());
  model.Parameters.AddParameter(1, 0, 0, 14, 11);
  model.Parameters.AddParameter(0, 1, 1, 1, 21);
}

class RefineWindowTest : public ::testing::Test {
protected:
  void SetUp() override {
    Model = new TRietveld();
    FillModel(*Model);
    Model->Loaded = true;
    Refinement = new TRefine();
    Refinement->LibraryName = TFakeEngine::Name;
    InputFileName = Dir.File("run.inp");
    DataFileName.clear();
    TempRefine = true;
    StepOnStart = false;
    RunOptions = {};
    RunMode = rmIdle;
    // Each test starts from the designed tool-window layout.
    TRegistry reg;
    reg.DeleteKey("\\Software\\Zelvora\\Toolbars");
    Form = std::make_unique<TTestRefineForm>(nullptr);
    Form->Show();
  }
  void TearDown() override {
    Form.reset();
    delete FormWatch;
    delete RefinePlotData;
    RefinePlotData = nullptr;
    delete Refinement;
    Refinement = nullptr;
    delete Model;
    Model = nullptr;
    InputFileName.clear();
    DataFileName.clear();
    LastActiveControl = nullptr;
  }
  void Steps(int n) { Form->SpinEditStep->SetValue(n); }

  TTempDir Dir;
  TDialogResponder Dialogs;
  TFakeEngine Fake;
  std::unique_ptr<TTestRefineForm> Form;
};

struct TButtons {
  bool Start, Step, Finish, Stop, Boxes;
};

TButtons ButtonsOf(TRefineForm& f) {
  return {f.ButtonStart->Enabled(), f.ButtonStep->Enabled() && f.ButtonStep->Visible(), f.ButtonFinish->Enabled(),
          f.ButtonStop->Visible(), f.EditInput->Enabled()};
}

void ExpectButtons(TRefineForm& f, TButtons want, const std::string& what) {
  const TButtons got = ButtonsOf(f);
  EXPECT_EQ(got.Start, want.Start) << what;
  EXPECT_EQ(got.Step, want.Step) << what;
  EXPECT_EQ(got.Finish, want.Finish) << what;
  EXPECT_EQ(got.Stop, want.Stop) << what;
  EXPECT_EQ(got.Boxes, want.Boxes) << what;
}

TEST_F(RefineWindowTest, ShowingSetsTheRunModeTheBoxesAndTheReadyState) {
  EXPECT_EQ(RunMode, rmRefinementWindow);
  EXPECT_EQ(Form->EditInput->Text(), InputFileName);
  EXPECT_EQ(Form->Status(), 0);
  EXPECT_TRUE(Form->CheckBoxAutoUpdate->Checked());
  ExpectButtons(*Form, {true, false, false, false, true}, "ready");
  InputFileName = "  ";
  Form->CheckForm();
  EXPECT_EQ(Form->Status(), 4);
  ExpectButtons(*Form, {false, false, false, false, true}, "no input file");
}

TEST_F(RefineWindowTest, StartPassesTheWorkNamesAndFillsOneRowPerHistogram) {
  TempRefine = false;
  InputFileName = Dir.File("data.v2/run.inp");
  ForceDirectories(Dir.File("data.v2"));
  Form->ButtonStartClick(nullptr);
  EXPECT_EQ(Refinement->State(), 2);
  EXPECT_EQ(Form->Status(), 1);
  ExpectButtons(*Form, {true, true, true, false, false}, "started");
  // Without a data file of its own beside the input the model's data name is
  // the input's (never a stray "temp"); the engine gets the names without
  // extension, and a folder with a dot keeps its name.
  EXPECT_EQ(DataFileName, "");
  EXPECT_EQ(Fake.Text("data"), Dir.File("data.v2/run"));
  EXPECT_EQ(Fake.Text("base"), Dir.File("data.v2/run"));
  EXPECT_EQ(Form->LabelHist->Caption(), "2");
  EXPECT_EQ(Form->LabelCycle->Caption(), "0");
  EXPECT_EQ(Form->FactorRowCount(), 2);
  EXPECT_EQ(Form->FactorGridHeight(), 2 * 17 + 4);
}

TEST_F(RefineWindowTest, WithoutExtensionDropsOnlyTheNamePartsExtension) {
  const std::pair<const char*, const char*> cases[] = {{"temp.dat", "temp"},
                                                       {"/home/u/.local/run.inp", "/home/u/.local/run"},
                                                       {"data.v2/run", "data.v2/run"},
                                                       {"a/b.c.inp", "a/b.c"},
                                                       {"", ""}};
  for (const auto& [in, out] : cases) EXPECT_EQ(TRefineForm::WithoutExtension(in), out) << in;
}

TEST_F(RefineWindowTest, StepFillsTheGridWithTheBindingsFactors) {
  Form->ButtonStartClick(nullptr);
  Fake.Set("chi2", 1.23456);
  Steps(1);
  Form->ButtonStepClick(nullptr);
  EXPECT_EQ(Form->Status(), 3);
  ExpectButtons(*Form, {true, true, true, false, false}, "steps done");
  for (int h = 1; h <= 2; ++h) {
    EXPECT_EQ(Form->FactorCell(0, h - 1), Format("%3d", {h}));
    EXPECT_EQ(Form->FactorCell(1, h - 1), Format("%8.3f", {10.0 + h}));
    EXPECT_EQ(Form->FactorCell(2, h - 1), Format("%8.3f", {20.0 + h}));
    EXPECT_EQ(Form->FactorCell(3, h - 1), "   1.235");
  }
  EXPECT_EQ(Form->LabelCycle->Caption(), "1");
  EXPECT_EQ(Form->ProgressBar1->Position(), 100);
  EXPECT_FALSE(Form->Timer1->Enabled());
}

TEST_F(RefineWindowTest, ConvergingInTheFirstOfThreeCyclesEndsInStateSix) {
  Fake.Set("convergeAt", 1);
  Form->ButtonStartClick(nullptr);
  Steps(3);
  Form->ButtonStepClick(nullptr);
  EXPECT_EQ(Fake.Get("iterations"), 1);
  EXPECT_EQ(Form->Status(), 6);
  ExpectButtons(*Form, {true, false, true, false, true}, "converged");
}

TEST_F(RefineWindowTest, StopDuringTheSecondOfFiveCyclesEndsAfterItInStateThree) {
  Form->ButtonStartClick(nullptr);
  Steps(5);
  int stopVisibleDuringCycle = 0;
  Form->DuringCycle = [&] {
    stopVisibleDuringCycle += Form->ButtonStop->Visible();
    if (Fake.Get("iterations") == 1) Form->ButtonStop->Click();
  };
  Form->ButtonStepClick(nullptr);
  EXPECT_EQ(Fake.Get("iterations"), 2);
  EXPECT_EQ(stopVisibleDuringCycle, 2);
  EXPECT_EQ(Form->Status(), 3);
  EXPECT_EQ(Form->LabelCycle->Caption(), "2");
}

TEST_F(RefineWindowTest, AFailedCycleEndsTheStepsWithoutTouchingTheGrid) {
  Form->ButtonStartClick(nullptr);
  Fake.Set("iterationError", 7);
  Steps(4);
  Form->ButtonStepClick(nullptr);
  EXPECT_EQ(Fake.Get("iterations"), 1);
  EXPECT_EQ(Form->FactorCell(1, 0), "");
  EXPECT_EQ(Form->Status(), 0);
  EXPECT_GE(Dialogs.Count(), 1u);
}

// The run's repaints are paced from its first step while more steps can
// follow; every way the run ends paints at once again.
TEST_F(RefineWindowTest, RepaintsArePacedOnlyWhileTheRunCanGoOn) {
  struct TCase {
    const char* End;
    std::function<void()> Do;
  };
  const TCase ends[] = {
      {"finish", [&] { Form->ButtonFinishClick(nullptr); }},
      {"close", [&] { Form->Close(); }},
      {"converge", [&] { Fake.Set("convergeAt", 2); Form->ButtonStepClick(nullptr); }},
      {"fail", [&] { Fake.Set("iterationError", 7); Form->ButtonStepClick(nullptr); }},
      {"start again", [&] { Form->ButtonStartClick(nullptr); }},
  };
  for (const TCase& c : ends) {
    SCOPED_TRACE(c.End);
    Fake.Set("convergeAt", 0);
    Fake.Set("iterationError", 0);
    Form->Show();
    Form->ButtonStartClick(nullptr);
    EXPECT_FALSE(Form->PacesRepaints());
    Steps(1);
    Form->ButtonStepClick(nullptr);
    ASSERT_EQ(Form->Status(), 3);
    EXPECT_TRUE(Form->PacesRepaints());
    EXPECT_GT(Application->PaintInterval(), 0);
    EXPECT_LE(Application->PaintInterval(), 1000 / 30 + 1);  // never slower than 30 frames a second
    c.Do();
    EXPECT_FALSE(Form->PacesRepaints());
    EXPECT_EQ(Application->PaintInterval(), 0);
  }
}

// While paced, the plot takes a cycle's pattern at most once an interval;
// one held back is taken when its time is up, and the run's end shows the
// last cycle's.
TEST_F(RefineWindowTest, APacedRunReplotsAtMostOnceAnIntervalAndEndsOnTheLastCycle) {
  struct TLongPace {
    int Saved = TRefineForm::RunPaintInterval;
    TLongPace() { TRefineForm::RunPaintInterval = 600000; }  // no step here takes that long
    ~TLongPace() { TRefineForm::RunPaintInterval = Saved; }
  } pace;
  auto shownStart = [&] { return RefinePlotWindow->PointSeries1->XValues()->GetValue(0); };
  Form->CheckBoxPlot->SetChecked(true);
  Form->ButtonStartClick(nullptr);
  Steps(1);
  Fake.Set("start", 20);
  Form->ButtonStepClick(nullptr);  // the first of the run: at once
  ASSERT_TRUE(RefinePlotWindow);
  EXPECT_EQ(shownStart(), 20);
  Fake.Set("start", 30);
  Form->ButtonStepClick(nullptr);
  EXPECT_EQ(shownStart(), 20);  // held
  guitest::FireTimers();
  EXPECT_EQ(shownStart(), 30);
  Fake.Set("start", 40);
  Form->ButtonStepClick(nullptr);
  Form->ButtonStepClick(nullptr);
  EXPECT_EQ(shownStart(), 30);
  Form->ButtonFinishClick(nullptr);
  EXPECT_EQ(shownStart(), 40);
  EXPECT_EQ(RefinePlotData->X()[0], 40);
}

TEST_F(RefineWindowTest, AStepCountOfZeroRunsNothing) {
  Form->ButtonStartClick(nullptr);
  Steps(0);
  Form->ButtonStepClick(nullptr);
  EXPECT_EQ(Fake.Get("iterations"), 0);
  EXPECT_EQ(Form->Status(), 1);
}

TEST_F(RefineWindowTest, FinishWithoutStepAbortsTheRunAndNeverReadsTheUpdatedModel) {
  WriteFileAtomic(InputFileName, "the user's input\n");
  Form->ButtonStartClick(nullptr);
  Model->Title = "Changed in memory";
  Form->ButtonFinishClick(nullptr);
  EXPECT_EQ(Fake.Get("quickcloses"), 1);
  EXPECT_EQ(Fake.Get("closes"), 0);
  EXPECT_EQ(Model->Title, "Changed in memory");
  EXPECT_EQ(TTempDir::Read(InputFileName), "the user's input\n");
  EXPECT_EQ(Form->Status(), 0);
  EXPECT_TRUE(Form->Finished());
}

TEST_F(RefineWindowTest, FinishWithUpdateReadsTheUpdatedModelAndRewritesTheInputFile) {
  Form->ButtonStartClick(nullptr);
  Steps(1);
  Form->ButtonStepClick(nullptr);
  // The fake engine's updated model is the work input it was started on.
  Model->Title = "Changed in memory";
  RefinePlotData = new TPlotData();
  Form->ButtonFinishClick(nullptr);
  EXPECT_EQ(Fake.Get("closes"), 1);
  EXPECT_EQ(Fake.Get("lastUpdate"), 1);
  EXPECT_TRUE(FileExists(Refinement->BaseName + ".upd"));
  EXPECT_EQ(Model->Title, "Window test");
  EXPECT_EQ(TTempDir::Read(InputFileName), Model->InputFileText());
  EXPECT_EQ(RefinePlotData->HistogramRef(), Model->Histogram(1));
  EXPECT_EQ(Form->Status(), 0);
}

TEST_F(RefineWindowTest, FinishWithoutUpdateLeavesModelAndInputFileAlone) {
  WriteFileAtomic(InputFileName, "the user's input\n");
  Form->ButtonStartClick(nullptr);
  Steps(1);
  Form->ButtonStepClick(nullptr);
  Form->CheckBoxAutoUpdate->SetChecked(false);
  Model->Title = "Changed in memory";
  Form->ButtonFinishClick(nullptr);
  EXPECT_EQ(Fake.Get("lastUpdate"), 0);
  EXPECT_EQ(Model->Title, "Changed in memory");
  EXPECT_EQ(TTempDir::Read(InputFileName), "the user's input\n");
}

TEST_F(RefineWindowTest, AnUpdatedModelThatIsMissingOrStaleNeverReplacesTheInputFile) {
  WriteFileAtomic(InputFileName, "the user's input\n");
  Form->ButtonStartClick(nullptr);
  Steps(1);
  Form->ButtonStepClick(nullptr);
  // The engine fails to close: an updated model left by an earlier run is not read.
  WriteFileAtomic(Refinement->BaseName + ".upd", "stale\n");
  Fake.Set("closeError", 5);
  Model->Title = "Changed in memory";
  Form->ButtonFinishClick(nullptr);
  EXPECT_GE(Dialogs.Count(), 1u);
  EXPECT_EQ(Model->Title, "Changed in memory");
  EXPECT_EQ(TTempDir::Read(InputFileName), "the user's input\n");
  DeleteFile(Refinement->BaseName + ".upd");

  // A folder where the updated model should be is no model either.
  Fake.Set("closeError", 0);
  Form->ButtonStartClick(nullptr);
  Form->ButtonStepClick(nullptr);
  ForceDirectories(Refinement->BaseName + ".upd");
  Form->ButtonFinishClick(nullptr);
  EXPECT_EQ(Model->Title, "Changed in memory");
  EXPECT_EQ(TTempDir::Read(InputFileName), "the user's input\n");
  RemoveDir(Refinement->BaseName + ".upd");
}

TEST_F(RefineWindowTest, UpdateBoxFollowsTheModelsUpdateFlag) {
  Model->ControlFlag5 = 0;
  Form->CheckBoxAutoUpdate->SetChecked(true);
  Form->UpdateStatus(0);
  EXPECT_FALSE(Form->CheckBoxAutoUpdate->Enabled());
  EXPECT_FALSE(Form->CheckBoxAutoUpdate->Checked());
  Model->ControlFlag5 = 1;
  Form->UpdateStatus(0);
  EXPECT_TRUE(Form->CheckBoxAutoUpdate->Enabled());
}

TEST_F(RefineWindowTest, AFailedStartLeavesTheReadyState) {
  Fake.Set("startError", 3);
  Form->ButtonStartClick(nullptr);
  EXPECT_EQ(Refinement->State(), 1);
  EXPECT_EQ(Form->Status(), 0);
  EXPECT_GE(Dialogs.Count(), 1u);
}

TEST_F(RefineWindowTest, ClosingDuringACycleWaitsForItAndThenAbortsTheRun) {
  Form->ButtonStartClick(nullptr);
  Steps(5);
  double quickClosesInCycle = -1;
  Form->DuringCycle = [&] {
    if (Fake.Get("iterations") == 1) {
      Form->Close();
      quickClosesInCycle = Fake.Get("quickcloses");
      EXPECT_TRUE(Form->Visible());
    }
  };
  Form->ButtonStepClick(nullptr);
  EXPECT_EQ(quickClosesInCycle, 0);
  EXPECT_EQ(Fake.Get("iterations"), 2);
  EXPECT_FALSE(Form->Visible());
  EXPECT_EQ(Fake.Get("quickcloses"), 1);
  EXPECT_EQ(RunMode, rmIdle);
}

TEST_F(RefineWindowTest, KeysActOnlyWhileTheirButtonsCan) {
  uint16_t key = VK_F3;
  Form->FormKeyUp(Form.get(), key, {});
  EXPECT_EQ(Fake.Get("iterations"), 0);
  key = VK_F2;
  Form->FormKeyUp(Form.get(), key, {});
  EXPECT_EQ(Refinement->State(), 2);
  // While a cycle runs, F2 does not restart the engine under it.
  Steps(1);
  Form->DuringCycle = [&] {
    uint16_t again = VK_F2;
    Form->FormKeyUp(Form.get(), again, {});
  };
  key = VK_F3;
  Form->FormKeyUp(Form.get(), key, {});
  EXPECT_EQ(Fake.Get("starts"), 1);
  EXPECT_EQ(Fake.Get("iterations"), 1);
  key = VK_F4;
  Form->FormKeyUp(Form.get(), key, {});
  EXPECT_EQ(Fake.Get("closes"), 1);
  key = VK_ESCAPE;
  Form->FormKeyUp(Form.get(), key, {});
  EXPECT_FALSE(Form->Visible());
}

TEST_F(RefineWindowTest, ReplotShowsHistogramOneForATagBeyondTheModel) {
  Form->ButtonStartClick(nullptr);
  RefinePlotWindow = new TPlotForm(Form.get());
  RefinePlotWindow->SetTag(3);
  Form->CheckBoxPlot->SetChecked(true);
  EXPECT_EQ(RefinePlotWindow->Tag(), 1);
  EXPECT_EQ(Fake.Get("plotHistogram"), 1);
  EXPECT_TRUE(RefinePlotWindow->Visible());
  EXPECT_EQ(RefinePlotWindow->PlotData, RefinePlotData);
  EXPECT_EQ(RefinePlotData->HistogramRef(), Model->Histogram(1));
  Form->CheckBoxPlot->SetChecked(false);
  EXPECT_FALSE(RefinePlotWindow->Visible());
}

TEST_F(RefineWindowTest, WatchedValuesFollowEachCycle) {
  Form->ButtonStartClick(nullptr);
  Form->CheckBoxWatch->SetChecked(true);
  ASSERT_NE(FormWatch, nullptr);
  // Before the first cycle the engine has no values: the parameters are
  // listed without any, not with zeros.
  ASSERT_EQ(FormWatch->RowCount(), 3);
  for (int row = 1; row <= 2; ++row) {
    EXPECT_EQ(FormWatch->CellText(0, row), Model->RefinedParameterName(row));
    for (int col : {1, 2, 4}) EXPECT_EQ(FormWatch->CellText(col, row), "") << col << ", " << row;
  }
  Fake.Set("parValue", 2.5);
  Fake.Set("parEsd", 0.125);
  Steps(1);
  Form->ButtonStepClick(nullptr);
  EXPECT_TRUE(FormWatch->Visible());
  ASSERT_EQ(FormWatch->RowCount(), 3);
  EXPECT_EQ(FormWatch->CellText(0, 1), Model->RefinedParameterName(1));
  const TParameter& p = *Model->Parameters.Refined[1];
  EXPECT_EQ(FormWatch->CellText(1, 2), "2.5");
  EXPECT_EQ(FormWatch->CellText(2, 2),
            TFormWatch::ValueText(Refinement->GetParameterError(p.Histogram, p.Phase, p.Atom, p.ParamType)));
  // Before the cycle the column held no value.
  EXPECT_EQ(FormWatch->CellText(4, 2), "");
  Steps(1);
  Form->ButtonStepClick(nullptr);
  EXPECT_EQ(FormWatch->CellText(4, 2), "2.5");
  Form->Close();
  EXPECT_FALSE(FormWatch->Visible());
}

// The watch and plot windows, shown the first time with no place saved,
// come up beside the refinement window, not over its buttons.
TEST_F(RefineWindowTest, TheWatchAndPlotWindowsOpenBesideTheWindow) {
  TRegistry reg;
  for (const char* key : {"WatchForm", "PlotForm"}) reg.DeleteKey(std::string("\\Software\\Zelvora\\Configuration\\") + key);
  reg.CloseKey();
  delete FormWatch;
  Form->Show();
  Form->ButtonStartClick(nullptr);
  Form->CheckBoxPlot->SetChecked(true);
  Form->Show();
  Form->CheckBoxWatch->SetChecked(true);
  ASSERT_NE(RefinePlotWindow, nullptr);
  ASSERT_NE(FormWatch, nullptr);
  const TRect refine = Form->BoundsRect();
  for (TCustomForm* w : std::initializer_list<TCustomForm*>{RefinePlotWindow, FormWatch}) {
    const TRect r = w->BoundsRect();
    EXPECT_FALSE(r.Left < refine.Right && refine.Left < r.Right && r.Top < refine.Bottom && refine.Top < r.Bottom)
        << w->Text();
  }
}

TEST_F(RefineWindowTest, ToolWindowsToggleFromTheDockMenu) {
  Form->TBPopupMenu1Popup(nullptr);
  EXPECT_TRUE(Form->TBItem2->Checked());
  Form->TBItem2->Click();
  EXPECT_FALSE(Form->TBToolWindowData->Visible());
  Form->TBPopupMenu1Popup(nullptr);
  EXPECT_FALSE(Form->TBItem2->Checked());
  EXPECT_TRUE(Form->TBItem4->Checked());
}

TEST_F(RefineWindowTest, RightClickOnADockedToolWindowsFrameOpensTheDockMenu) {
  // Down to "Data box" and choose it.
  guitest::PostKey(Form.get(), VK_DOWN);
  guitest::PostKey(Form.get(), VK_DOWN);
  guitest::PostKey(Form.get(), VK_RETURN);
  guitest::MouseDown(Form->TBToolWindowInput, mbRight, 3, 10);
  guitest::MouseUp(Form->TBToolWindowInput, mbRight, 3, 10);
  guitest::ProcessEvents();
  EXPECT_FALSE(Form->TBToolWindowData->Visible());
}

// The stand-in engine refines the bundled example for a few cycles.
TEST(RefineWindowEndToEnd, StandInEngineLowersRwpAndThePlotHoldsEveryDataPoint) {
  TTempDir dir;
  const char* source = std::getenv("ZELVORA_SOURCE_DIR");
  const std::string examples = std::string(source ? source : "../..") + "/examples/";
  for (const char* name : {"xray-cw.inp", "xray-cw.dat"})
    ASSERT_TRUE(CopyFile(examples + name, dir.File(name), false)) << name;
  TDialogResponder dialogs;
  Model = new TRietveld();
  InputFileName = dir.File("xray-cw.inp");
  DataFileName = dir.File("xray-cw.dat");
  ASSERT_TRUE(Model->ReadInputFile(InputFileName));
  // Moved away from the values the data were made with, so there is something to refine.
  Model->Phase(1)->A = Model->Phase(1)->B = Model->Phase(1)->C = 3.803f;
  Model->Phase(1)->Scale *= 1.2f;
  TempRefine = true;
  StepOnStart = false;
  RunOptions = {};
  RunOptions.RDPlot = true;
  {
    TRefineForm form(nullptr);
    form.Show();
    form.ButtonStartClick(nullptr);
    ASSERT_EQ(Refinement->State(), 2) << (dialogs.Count() ? dialogs.Last().Text : "");
    std::vector<double> rwp;
    form.SpinEditStep->SetValue(1);
    for (int i = 0; i < 3; ++i) {
      form.ButtonStepClick(nullptr);
      rwp.push_back(TextToReal(form.FactorCell(2, 0)));
    }
    EXPECT_LT(rwp.back(), rwp.front());
    TPlotData data;
    data.ReadDataFile(DataFileName, 1, 4);
    ASSERT_NE(RefinePlotWindow, nullptr);
    EXPECT_EQ(RefinePlotWindow->PointSeries1->Count(), data.PointCount());
    EXPECT_EQ(RefinePlotWindow->Series1->Count(), data.PointCount());
    EXPECT_EQ(RefinePlotWindow->Series2->Count(), data.PointCount());
    EXPECT_GT(RefinePlotWindow->HKLMarkers->Count(), 0);
    form.ButtonFinishClick(nullptr);
    EXPECT_EQ(Refinement->State(), 1);
  }
  delete RefinePlotData;
  RefinePlotData = nullptr;
  delete Refinement;
  Refinement = nullptr;
  delete Model;
  Model = nullptr;
  InputFileName.clear();
  DataFileName.clear();
}

}  // namespace

namespace {

TEST_F(RefineWindowTest, DataButtonSetsTheDataFormatByTheFilesKind) {
  struct Case {
    const char* File;
    int Before, After;
  } cases[] = {{"a.dat", 2, 2}, {"a.dat", 5, 0}, {"a.gs", 0, 3}, {"a.xy", 5, 5},
               {"a.xy", 1, 4},  {"a.cpi", 0, 6}, {"a.txt", 2, 2}};
  for (const Case& c : cases) {
    Model->ReadFormat = c.Before;
    guitest::TCommonDialogResponder answers;
    answers.Do([&](TCommonDialog* d) {
      dynamic_cast<TOpenDialog*>(d)->FileName = Dir.File(c.File) + "  ";
      return true;
    });
    Form->ButtonDataClick(nullptr);
    EXPECT_EQ(Model->ReadFormat, c.After) << c.File << " from " << c.Before;
    EXPECT_EQ(DataFileName, Dir.File(c.File));
  }
  // A cancelled dialog changes nothing.
  guitest::TCommonDialogResponder cancel;
  cancel.Do([](TCommonDialog*) { return false; });
  Form->ButtonDataClick(nullptr);
  EXPECT_EQ(DataFileName, Dir.File("a.txt"));
}

TEST_F(RefineWindowTest, DataDialogStartsInTheInputFilesFolderWhenOnlyTheDataNameIsEmpty) {
  StartUpDirectory = "/start/";
  std::string initial;
  guitest::TCommonDialogResponder answers;
  answers.Do([&](TCommonDialog* d) {
    initial = dynamic_cast<TOpenDialog*>(d)->InitialDir;
    return false;
  });
  answers.Do([&](TCommonDialog* d) {
    initial = dynamic_cast<TOpenDialog*>(d)->InitialDir;
    return false;
  });
  Form->ButtonDataClick(nullptr);
  EXPECT_EQ(initial, Dir.Path());
  InputFileName.clear();
  Form->ButtonDataClick(nullptr);
  EXPECT_EQ(initial, "/start/");
  StartUpDirectory.clear();
}

TEST_F(RefineWindowTest, InputButtonLoadsTheModelFindsItsDataAndTopsTheRecentList) {
  TRietveld written;
  FillModel(written);
  written.Title = "From the dialog";
  ASSERT_TRUE(written.WriteInputFile(Dir.File("other.inp")));
  WriteFileAtomic(Dir.File("other.DAT"), "data\n");
  AssignDatafile = true;
  std::vector<std::string> recent;
  MainWindowLink().AddRecentFile = [&](const std::string& f) { recent.push_back(f); };
  RefinePlotData = new TPlotData();
  RefinePlotData->SetHistogramRef(Model->Histogram(1));
  guitest::TCommonDialogResponder answers;
  answers.Do([&](TCommonDialog* d) {
    auto* open = dynamic_cast<TOpenDialog*>(d);
    EXPECT_EQ(open->Filter, "Input Files (*.inp)|*.inp");
    EXPECT_EQ(open->FileName, InputFileName);
    open->FileName = Dir.File("other.inp");
    return true;
  });
  Form->ButtonInputClick(nullptr);
  MainWindowLink().AddRecentFile = nullptr;
  AssignDatafile = false;
  EXPECT_EQ(Model->Title, "From the dialog");
  EXPECT_EQ(InputFileName, Dir.File("other.inp"));
  EXPECT_EQ(DataFileName, Dir.File("other.DAT"));
  EXPECT_EQ(Form->EditData->Text(), DataFileName);
  EXPECT_EQ(recent, std::vector<std::string>{Dir.File("other.inp")});
  EXPECT_EQ(RefinePlotData->HistogramRef(), nullptr);
  EXPECT_EQ(Form->Status(), 0);
}

TEST_F(RefineWindowTest, APlotOfTheEngineBeforeTheFirstCycleHasNoDifferenceLine) {
  Form->ButtonStartClick(nullptr);
  Fake.Set("points", 4);
  Form->CheckBoxPlot->SetChecked(true);
  ASSERT_NE(RefinePlotWindow, nullptr);
  EXPECT_EQ(RefinePlotWindow->PointSeries1->Count(), 4);
  EXPECT_EQ(RefinePlotWindow->Series2->Count(), 0);
  EXPECT_EQ(RefinePlotWindow->ComboBoxHist->Items()->Count(), 2);
  Steps(1);
  Form->ButtonStepClick(nullptr);
  EXPECT_EQ(RefinePlotWindow->Series2->Count(), 4);
  // The histogram combo fetches the other histogram's pattern.
  RefinePlotWindow->ComboBoxHist->SetItemIndex(1);
  RefinePlotWindow->ComboBoxHistChange(nullptr);
  EXPECT_EQ(Fake.Get("plotHistogram"), 2);
  EXPECT_EQ(RefinePlotWindow->Tag(), 2);
  EXPECT_EQ(RefinePlotData->HistogramRef(), Model->Histogram(2));
  EXPECT_EQ(RefinePlotWindow->ComboBoxHist->ItemIndex(), 1);
  // A calculation histogram has no difference either.
  Model->Histogram(2)->Job = jobXrayCalc;
  RefinePlotWindow->Plot();
  EXPECT_EQ(RefinePlotWindow->Series2->Count(), 0);
}

}  // namespace

namespace {

TEST_F(RefineWindowTest, StepOnStartStepsAtOnceUnlessTheStartFailed) {
  StepOnStart = true;
  Form->ButtonStartClick(nullptr);
  EXPECT_EQ(Fake.Get("iterations"), 1);
  EXPECT_EQ(Form->LabelCycle->Caption(), "1");

  // A failed start does not step; an exception inside the engine (200)
  // leaves the labels as they were.
  struct Case {
    int Error;
    const char* Hist;
  } cases[] = {{3, "2"}, {reUnstable, "stale"}};
  for (const Case& c : cases) {
    Form->LabelHist->SetCaption("stale");
    Fake.Set("startError", c.Error);
    Form->ButtonStartClick(nullptr);
    EXPECT_EQ(Fake.Get("iterations"), 1) << c.Error;
    EXPECT_EQ(Form->LabelHist->Caption(), c.Hist) << c.Error;
    EXPECT_EQ(Form->Status(), 0) << c.Error;
  }
  StepOnStart = false;
}

}  // namespace

namespace {

TEST_F(RefineWindowTest, ToolWindowsSitInTheirRowsAndTheirLayoutIsKept) {
  EXPECT_EQ(Form->TBToolWindowInput->CurrentDock(), Form->TBDockRefine);
  EXPECT_EQ(Form->TBToolWindowInput->DockRow, 0);
  EXPECT_EQ(Form->TBToolWindowData->DockRow, 1);
  EXPECT_EQ(Form->TBToolWindowRefineControl->DockRow, 2);
  EXPECT_EQ(Form->TBToolWindowStatus->DockRow, 2);
  EXPECT_FALSE(Form->TBToolWindowStatus->Resizable());
  EXPECT_EQ(Form->ButtonStart->Parent(), Form->TBToolWindowRefineControl);
  // A hidden tool window stays hidden in the next window made.
  Form->TBItem2->Click();
  Form.reset();
  Form = std::make_unique<TTestRefineForm>(nullptr);
  EXPECT_FALSE(Form->TBToolWindowData->Visible());
  EXPECT_TRUE(Form->TBToolWindowInput->Visible());
  Form->TBItem2->Click();
  EXPECT_TRUE(Form->TBToolWindowData->Visible());
}

}  // namespace

namespace {

TEST_F(RefineWindowTest, ToolWindowsFitTheFormWithControlAndStatusSideBySide) {
  // The docked frames and drag handles count: a row too long for the form
  // would wrap the Status box below the form's bottom edge.
  EXPECT_EQ(Form->TBToolWindowStatus->ComputedRow, 2);
  EXPECT_EQ(Form->TBToolWindowRefineControl->ComputedRow, 2);
  const TRect client = Form->ClientRect();
  for (TTBToolWindow* w : {Form->TBToolWindowInput, Form->TBToolWindowData, Form->TBToolWindowRefineControl,
                           Form->TBToolWindowStatus}) {
    const TPoint tl = Form->ScreenToClient(w->ClientToScreen(Point(0, 0)));
    EXPECT_GE(tl.X, client.Left) << w->Name();
    EXPECT_GE(tl.Y, client.Top) << w->Name();
    EXPECT_LE(tl.X + w->Width(), client.Right) << w->Name();
    EXPECT_LE(tl.Y + w->Height(), client.Bottom) << w->Name();
    // What each tool window holds lies inside its client area (the
    // children count from its corner).
    const TRect inner = w->ClientRect();
    for (int i = 0; i < w->ControlCount(); ++i) {
      const TRect b = w->Controls(i)->BoundsRect();
      EXPECT_GE(b.Left, 0) << w->Name() << " " << i;
      EXPECT_GE(b.Top, 0) << w->Name() << " " << i;
      EXPECT_LE(b.Right, inner.Width()) << w->Name() << " " << i;
      EXPECT_LE(b.Bottom, inner.Height()) << w->Name() << " " << i;
    }
  }
}

TEST_F(RefineWindowTest, OpensDropDownListsTheMainWindowsRecentFiles) {
  std::vector<std::string> opened;
  MainWindowLink().RecentFiles = [] { return std::vector<std::string>{"/a/one.inp", "/b/two.inp"}; };
  MainWindowLink().OpenRecentFile = [&](const std::string& f) { opened.push_back(f); };
  FirePopupEvent(Form->RecentMenu);
  FirePopupEvent(Form->RecentMenu);
  ASSERT_EQ(PopupItemCount(Form->RecentMenu), 2);
  Form->RecentMenu->Items()->Items(1)->Click();
  EXPECT_EQ(opened, std::vector<std::string>{"/b/two.inp"});
  MainWindowLink().RecentFiles = nullptr;
  MainWindowLink().OpenRecentFile = nullptr;
  FirePopupEvent(Form->RecentMenu);
  EXPECT_EQ(PopupItemCount(Form->RecentMenu), 0);
  // The list goes with the boxes while a run is open.
  Form->ButtonStartClick(nullptr);
  EXPECT_FALSE(Form->ButtonInputDrop->Enabled());
}

}  // namespace

namespace {

TEST_F(RefineWindowTest, TheProgressTimerRunsOnlyAroundACycle) {
  Form->ButtonStartClick(nullptr);
  Fake.Set("percent", 40);
  bool timerDuringCycle = false;
  Form->DuringCycle = [&] {
    timerDuringCycle = Form->Timer1->Enabled();
    guitest::FireTimer(Form->Timer1);
    EXPECT_EQ(Form->ProgressBar1->Position(), 40);
  };
  Steps(1);
  Form->ButtonStepClick(nullptr);
  EXPECT_TRUE(timerDuringCycle);
  EXPECT_FALSE(Form->Timer1->Enabled());
  EXPECT_EQ(Form->Timer1->Interval(), 1000u);
  EXPECT_EQ(Form->ProgressBar1->Position(), 100);
  Form->ButtonFinishClick(nullptr);
  EXPECT_EQ(Form->ProgressBar1->Position(), 0);
}

}  // namespace

namespace {

TEST_F(RefineWindowTest, KeysReachTheWindowFromItsControls) {
  Form->SpinEditStep->SetFocus();
  guitest::Key(Form->SpinEditStep, VK_F2);
  EXPECT_EQ(Refinement->State(), 2);
  guitest::Key(Form->SpinEditStep, VK_ESCAPE);
  EXPECT_FALSE(Form->Visible());
  EXPECT_EQ(Fake.Get("quickcloses"), 1);
}

}  // namespace
