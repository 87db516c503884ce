// The main window's commands: which are enabled when, files opened by their
// kind, the save and open questions, saving after an import, the user menu,
// and Quick Start refining a file in the Manual Edit window.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <functional>
#include <set>

#include "app/histogramwindow.h"
#include "app/samplewindow.h"
#include "app/texteditor.h"
#include "app/macrowindow.h"
#include "app/refinewindow.h"
#include "chart/series/series.h"
#include "model/brkapart.h"
#include "app/workfolder.h"
#include "platform/dialogs.h"
#include "platform/rtl/fileutils.h"
#include "mainwindowtest.h"
#include "support/dialogresponder.h"
#include "support/tempdir.h"
#include "platform/ui/clipboard.h"
#include "platform/ui/queuedcall.h"
#include "platform/ui/richedit.h"
#include "toolbar/tbitem.h"
#include "toolbar/tbtoolbar.h"
#include "toolbar/tbview.h"

using namespace mainwindowtest;

namespace {

using TNames = std::set<std::string>;

const TNames kModelWindows = {"actGeneral", "actPhases", "actHistograms", "actSample", "actConstraints"};
const TNames kViews = {"actViewOutput", "actViewBVS", "actViewDist"};

TNames Union(std::initializer_list<TNames> sets) {
  TNames r;
  for (const TNames& s : sets) r.insert(s.begin(), s.end());
  return r;
}

TEST(MainCommandsEnabling, ByModelRunModeAndEngineState) {
  const TNames fileCommands = {"actSave", "actSaveAS", "actClose", "actViewInput", "actViewFourier",
                               "actparameters"};
  struct TCase {
    bool Loaded;
    int RunMode;
    TNames Enabled;  // with no engine binding
  };
  const TCase cases[] = {
      {false, rmManualEdit, {"actNew", "actManualEdit"}},
      {false, rmMacro, {"actNew", "actBasic"}},
      {false, rmRefinementWindow, {"actRefine"}},
      {false, rmIdle, {"actNew", "actBasic", "actManualEdit", "actRefine", "actQuickStart"}},
      // Manual edit and macros: Parameters stays, the model windows go.
      {true, rmManualEdit, Union({fileCommands, kViews, {"actNew", "actManualEdit"}})},
      {true, rmMacro, Union({fileCommands, kViews, {"actNew", "actBasic"}})},
      // The refinement window: no Close, no New.
      {true, rmRefinementWindow,
       Union({kModelWindows, kViews, {"actSave", "actSaveAS", "actViewInput", "actViewFourier", "actparameters",
                                      "actRefine"}})},
      {true, rmIdle,
       Union({kModelWindows, fileCommands, kViews,
              {"actNew", "actBasic", "actManualEdit", "actRefine", "actQuickStart"}})},
  };
  for (const TCase& c : cases) {
    for (int state = -1; state <= 5; ++state) {
      TNames expected = c.Enabled;
      // An open run (new, started, cycle done, busy) keeps its result files shut.
      if (state == 0 || state == 2 || state == 3 || state == 5)
        for (const std::string& v : kViews) expected.erase(v);
      EXPECT_EQ(EnabledMainCommands(c.Loaded, c.RunMode, state), expected)
          << "loaded " << c.Loaded << " run mode " << c.RunMode << " engine state " << state;
    }
  }
}

class MainCommandsTest : public MainWindowTest {
protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    for (const char* name : {"xray-cw.inp", "xray-cw.dat"})
      ASSERT_TRUE(CopyFile(Examples() + name, Dir.File(name), false)) << name;
    Input = Dir.File("xray-cw.inp");
  }
  TNames EnabledActions() const {
    TNames r;
    for (TAction* a : Form->SwitchedCommands())
      if (a->Enabled()) r.insert(a->Name());
    return r;
  }
  TTempDir Dir;
  std::string Input;
};

// Every file the program opens by kind is judged before it is read: a
// folder, a pipe or a device is named for what it is without waiting, and a
// file far larger than any of its kind is refused naming the limit (the
// 2 GB files here are sparse: they take no disk).
TEST_F(MainCommandsTest, FilesThatAreNoneOrTooLargeAreRefusedBeforeTheyAreRead) {
  ASSERT_EQ(::mkfifo(Dir.File("pipe.inp").c_str(), 0600), 0);
  ASSERT_EQ(::mkfifo(Dir.File("pipe.dwb").c_str(), 0600), 0);
  ASSERT_EQ(::symlink("/dev/zero", Dir.File("zero.inp").c_str()), 0);
  auto sparse = [&](const std::string& name) {
    const std::string file = Dir.Write(name, "");
    EXPECT_EQ(::truncate(file.c_str(), off_t{2} << 30), 0);
    return file;
  };
  const struct {
    std::string File;
    std::string Says;
  } cases[] = {
      {Dir.File("pipe.inp"), "it is not a regular file."},
      {Dir.File("pipe.dwb"), "it is not a regular file."},
      {Dir.File("zero.inp"), "it is not a regular file."},
      {ForceDirectories(Dir.File("x.dat")) ? Dir.File("x.dat") : "", "it is a folder."},
      {ForceDirectories(Dir.File("x.xy")) ? Dir.File("x.xy") : "", "it is a folder."},
      {ForceDirectories(Dir.File("x.gs")) ? Dir.File("x.gs") : "", "it is a folder."},
      {ForceDirectories(Dir.File("x.cpi")) ? Dir.File("x.cpi") : "", "it is a folder."},
      {sparse("big.inp"), "it holds 2 GB, more than the 16 MB an input file may have."},
      {sparse("big.exp"), "it holds 2 GB, more than the 64 MB an imported file may have."},
      {sparse("big.dat"), "it holds 2 GB, more than the 256 MB a data file may have."},
  };
  Create();
  TDialogResponder dialogs;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.File);
    const std::size_t before = dialogs.Count();
    Form->ProcessFile(c.File);
    ASSERT_EQ(dialogs.Count(), before + 1);
    EXPECT_NE(dialogs.Last().Text.find(c.Says), std::string::npos) << dialogs.Last().Text;
    EXPECT_FALSE(Model->Loaded);
  }
}

TEST_F(MainCommandsTest, UpdateFormAppliesTheEnabledSetAndTheCaption) {
  Create();
  Form->UpdateForm();
  EXPECT_EQ(EnabledActions(), EnabledMainCommands(false, rmIdle, -1));
  EXPECT_EQ(Form->Text(), "Zelvora");
  TDialogResponder dialogs;
  Form->ProcessFile(Input);
  ASSERT_TRUE(Model->Loaded) << (dialogs.Count() ? dialogs.Last().Text : "");
  EXPECT_EQ(Form->Text(), "Zelvora: " + Input);
  RunMode = rmManualEdit;
  Refinement = new TRefine();
  Form->UpdateForm();
  EXPECT_EQ(EnabledActions(), EnabledMainCommands(true, rmManualEdit, 0));
  EXPECT_TRUE(Form->actparameters->Enabled());
  EXPECT_FALSE(Form->actGeneral->Enabled());
  // Commands outside the table stay enabled.
  EXPECT_TRUE(Form->actopen->Enabled());
  EXPECT_TRUE(Form->actExit->Enabled());
  EXPECT_FALSE(Form->HelpContents1->Visible());
}

TEST_F(MainCommandsTest, FilesOpenByTheirKind) {
  Create();
  TDialogResponder dialogs;

  Form->ProcessFile(Input);
  EXPECT_TRUE(Model->Loaded);
  EXPECT_EQ(InputFileName, Input);
  ASSERT_FALSE(Form->RecentFiles().empty());
  EXPECT_EQ(Form->RecentFiles().front(), Input);
  EXPECT_EQ(dialogs.Count(), 0u);

  // A data file: the model and input name stay, the data plot window shows,
  // and a second open reuses window and data.
  const std::string xy = Dir.Write("pattern.xy", "title\n10.0 5.0\n10.5 7.0\n11.0 6.0\n");
  Form->ProcessFile(xy);
  ASSERT_NE(DataPlotWindow, nullptr);
  TPlotForm* window = DataPlotWindow;
  TPlotData* data = LoadedData;
  EXPECT_TRUE(window->Visible());
  EXPECT_EQ(window->Tag(), 1);
  EXPECT_EQ(LoadedData->PointCount(), 3);
  EXPECT_EQ(InputFileName, Input);
  EXPECT_EQ(DataFileName, xy);
  Form->ProcessFile(xy);
  EXPECT_EQ(DataPlotWindow, window);
  EXPECT_EQ(LoadedData, data);
  EXPECT_EQ(dialogs.Count(), 0u);

  // An unknown kind changes nothing.
  Form->ProcessFile(Dir.Write("notes.foo", "x"));
  ASSERT_EQ(dialogs.Count(), 1u);
  EXPECT_EQ(dialogs.Last().Text, "Unknown File type. Please check the file extension.");
  EXPECT_EQ(InputFileName, Input);
  EXPECT_TRUE(Model->Loaded);
}

TEST_F(MainCommandsTest, DamagedFilesAreReportedAndLoseNothing) {
  Create();
  TDialogResponder dialogs;
  Form->ProcessFile(Input);
  const std::string title = Model->Title;
  const int histograms = Model->HistogramCount();

  struct TCase {
    const char* Name;
    const char* Text;
  };
  const TCase cases[] = {
      {"broken.inp", "A title\n  x  y  z\n"},
      {"broken.pcr", "COMM nothing here\n"},
      {"broken.xy", "title\n1e999 5\n"},
  };
  for (const TCase& c : cases) {
    dialogs.Clear();
    Form->ProcessFile(Dir.Write(c.Name, c.Text));
    EXPECT_GE(dialogs.Count(), 1u) << c.Name;
    EXPECT_TRUE(Model->Loaded) << c.Name;
    EXPECT_EQ(Model->Title, title) << c.Name;
    EXPECT_EQ(Model->HistogramCount(), histograms) << c.Name;
    EXPECT_EQ(InputFileName, Input) << c.Name;
  }
  // The refused pattern opened no plot window.
  EXPECT_EQ(DataPlotWindow, nullptr);
}

TEST_F(MainCommandsTest, SaveAfterAnImportAsksForANameAndLeavesTheImportedFile) {
  Create();
  TDialogResponder dialogs;
  Form->ProcessFile(Input);
  // As an import leaves it: the input name is the other program's file.
  const std::string imported = Dir.Write("phase.pcr", "the other program's file\n");
  InputFileName = imported;
  ModelChanged = true;

  std::string offered;
  {
    guitest::TCommonDialogResponder files;
    files.Do([&](TCommonDialog* d) {
      auto* save = dynamic_cast<TSaveDialog*>(d);
      offered = save->FileName;
      save->FileName = Dir.File("saved.inp");
      return true;
    });
    Form->actSave->Execute();
    EXPECT_EQ(files.Count(), 1);
  }
  EXPECT_EQ(offered, Dir.File("phase.inp"));
  EXPECT_EQ(TTempDir::Read(imported), "the other program's file\n");
  EXPECT_TRUE(FileExists(Dir.File("saved.inp")));
  EXPECT_EQ(InputFileName, Dir.File("saved.inp"));
  EXPECT_FALSE(ModelChanged);

  // A name of another kind is refused; one without an extension gets ".inp".
  InputFileName = imported;
  ModelChanged = true;
  dialogs.Clear();
  {
    guitest::TCommonDialogResponder files;
    files.Do([&](TCommonDialog* d) {
      dynamic_cast<TSaveDialog*>(d)->FileName = imported;
      return true;
    });
    Form->actSave->Execute();
  }
  EXPECT_EQ(TTempDir::Read(imported), "the other program's file\n");
  ASSERT_EQ(dialogs.Count(), 1u);
  EXPECT_NE(dialogs.Last().Text.find("was not written"), std::string::npos);
  EXPECT_TRUE(ModelChanged);
  EXPECT_EQ(InputFileName, imported);
  {
    guitest::TCommonDialogResponder files;
    files.Do([&](TCommonDialog* d) {
      dynamic_cast<TSaveDialog*>(d)->FileName = Dir.File("plain");
      return true;
    });
    Form->actSaveAS->Execute();
  }
  EXPECT_EQ(InputFileName, Dir.File("plain.inp"));
  EXPECT_TRUE(FileExists(Dir.File("plain.inp")));

  // A cancelled save dialog keeps the change and the name.
  InputFileName = imported;
  ModelChanged = true;
  {
    guitest::TCommonDialogResponder files;
    files.Do([](TCommonDialog*) { return false; });
    Form->actSave->Execute();
  }
  EXPECT_TRUE(ModelChanged);
  EXPECT_EQ(InputFileName, imported);

  // An input file is saved in place without a question.
  InputFileName = Input;
  ModelChanged = true;
  {
    guitest::TCommonDialogResponder files;
    Form->actSave->Execute();
    EXPECT_EQ(files.Count(), 0);
  }
  EXPECT_FALSE(ModelChanged);
}

TEST_F(MainCommandsTest, OpenAndCloseAskToSaveAChangedModel) {
  Create();
  TDialogResponder dialogs;
  Form->ProcessFile(Input);
  const std::string other = Dir.File("other.inp");
  ASSERT_TRUE(CopyFile(Input, other, false));

  // Cancel: no open dialog, the model and its change stay.
  ModelChanged = true;
  {
    guitest::TCommonDialogResponder files;
    dialogs.Clear();
    dialogs.Answer(mrCancel);
    Form->actopen->Execute();
    EXPECT_EQ(files.Count(), 0);
  }
  ASSERT_EQ(dialogs.Count(), 1u);
  EXPECT_EQ(dialogs.Last().Text, "Save Input File?");
  EXPECT_EQ(dialogs.Last().Buttons, (TMsgDlgButtons{mbYes, mbNo, mbCancel}));
  EXPECT_TRUE(ModelChanged);
  EXPECT_EQ(InputFileName, Input);

  // Yes: saved first (the file is rewritten), then the other file opens.
  Model->Title = "Changed title";
  {
    guitest::TCommonDialogResponder files;
    files.Do([&](TCommonDialog* d) {
      dynamic_cast<TOpenDialog*>(d)->FileName = other;
      return true;
    });
    dialogs.Clear();
    dialogs.Answer(mrYes);
    Form->actopen->Execute();
    EXPECT_EQ(files.Count(), 1);
  }
  EXPECT_NE(TTempDir::Read(Input).find("Changed title"), std::string::npos);
  EXPECT_EQ(InputFileName, other);
  EXPECT_FALSE(ModelChanged);

  // Close: Cancel keeps the model, No drops it.
  ModelChanged = true;
  dialogs.Clear();
  dialogs.Answer(mrCancel);
  Form->actClose->Execute();
  ASSERT_NE(Model, nullptr);
  EXPECT_EQ(InputFileName, other);
  dialogs.Answer(mrNo);
  Form->actClose->Execute();
  EXPECT_EQ(Model, nullptr);
  EXPECT_TRUE(InputFileName.empty());
  EXPECT_FALSE(Form->actClose->Enabled());

  // Closing the program asks the same way.
  Model = new TRietveld();
  ModelChanged = true;
  dialogs.Clear();
  dialogs.Answer(mrCancel);
  bool canClose = true;
  Form->FormCloseQuery(Form.get(), canClose);
  EXPECT_FALSE(canClose);
  dialogs.Answer(mrNo);
  Form->FormCloseQuery(Form.get(), canClose);
  EXPECT_TRUE(canClose);
}

TEST_F(MainCommandsTest, UserMenuEntries) {
  Create();
  TTBCustomItem* bar = Form->TBToolbarMenu->Items();
  const int menus = bar->Count();
  auto caption = [&](int i) { return bar->Items(i)->Caption(); };

  Form->AddUserMenu(" Tools ", "", "");
  ASSERT_EQ(bar->Count(), menus + 1);
  EXPECT_EQ(caption(menus - 1), "Tools");
  EXPECT_EQ(caption(menus), "&Help");
  EXPECT_EQ(UserMenuItems[1].MenuCaption, "Tools");

  Form->AddUserMenu("Tools", "Run", "run.rib");
  TTBCustomItem* tools = bar->Items(menus - 1);
  ASSERT_EQ(tools->Count(), 1);
  EXPECT_EQ(tools->Items(0)->Caption(), "Run");
  EXPECT_EQ(tools->Items(0)->Tag(), 2);

  // The search compares captions less their first "&" with the text as given.
  Form->AddUserMenu("&Tools", "X", "x.rib");
  ASSERT_EQ(bar->Count(), menus + 2);
  EXPECT_EQ(caption(menus), "X");
  EXPECT_EQ(tools->Count(), 1);
  Form->AddUserMenu("File", "-", "");
  EXPECT_EQ(dynamic_cast<TTBSeparatorItem*>(bar->Items(0)->Items(bar->Items(0)->Count() - 1)) != nullptr, true);
  EXPECT_EQ(UserMenuCount, 4);

  for (int i = UserMenuCount; i < MaxUserMenuItems; ++i) Form->AddUserMenu("Tools", "Item", "");
  EXPECT_EQ(UserMenuCount, 100);
  Form->AddUserMenu("Tools", "One too many", "");
  EXPECT_EQ(UserMenuCount, 100);

  const int fileItems = bar->Items(0)->Count();
  Form->ClearUserMenu();
  EXPECT_EQ(UserMenuCount, 0);
  EXPECT_EQ(bar->Count(), menus);
  EXPECT_EQ(bar->Items(0)->Count(), fileItems - 1);
  Form->AddUserMenu("Tools", "Again", "");
  EXPECT_EQ(UserMenuCount, 1);
  EXPECT_EQ(UserMenuItems[1].ItemCaption, "Again");
}

// The program closed while Quick Start goes on (its Exit command chosen
// between the steps, which let messages through) frees the editor; Quick
// Start leaves its remaining steps out instead of using it. Found by random
// input on the windows.
TEST_F(MainCommandsTest, AProgramClosedDuringQuickStartEndsIt) {
  Create();
  TDialogResponder dialogs;
  Form->Show();
  Form->ProcessFile(Input);
  ASSERT_TRUE(Model->Loaded);
  RunOptions.QSUpdate = true;
  int waits = 0;
  std::function<void()> closeOnceEditing = [&] {
    if (Form->ManualEditWindow) Close();
    else if (++waits < 10000) QueueCall(closeOnceEditing);
  };
  QueueCall(closeOnceEditing);
  Form->actQuickStart->Execute();
  EXPECT_TRUE(Closed);
  EXPECT_EQ(Form->ManualEditWindow, nullptr);
}

TEST_F(MainCommandsTest, QuickStartRefinesTheFileInTheManualEditWindow) {
  const std::string here = GetCurrentDir();
  Create();
  TDialogResponder dialogs;
  Form->Show();
  Form->ProcessFile(Input);
  ASSERT_TRUE(Model->Loaded);
  Form->actQuickStart->Execute();
  ASSERT_NE(Form->ManualEditWindow, nullptr);
  EXPECT_EQ(Form->ManualEditWindow->Text(), "Refined: " + Input)
      << (dialogs.Count() ? dialogs.Last().Text : "");
  EXPECT_EQ(RunMode, rmManualEdit);
  // The engine's files go beside the input, the work files to the work folder.
  EXPECT_TRUE(FileExists(Dir.File("xray-cw.out")));
  EXPECT_TRUE(FileExists(AppWorkFile("tempedit.inp")));
  EXPECT_EQ(AppWorkFolder(), WorkFolder);
  EXPECT_FALSE(FileExists(IncludeTrailingPathDelimiter(here) + "tempedit.inp"));
  EXPECT_FALSE(FileExists(IncludeTrailingPathDelimiter(here) + "manual.inp"));
  // Manual edit leaves Parameters and the views; the engine's run is over.
  EXPECT_TRUE(Form->actparameters->Enabled());
  EXPECT_TRUE(Form->actViewOutput->Enabled());
  Form->actViewOutput->Execute();
  ASSERT_NE(Form->OutputViewWindow, nullptr);
  EXPECT_EQ(Form->OutputViewWindow->Text(), "View Output: " + Dir.File("xray-cw.out"));
  Form->actViewInput->Execute();
  ASSERT_NE(Form->InputViewWindow, nullptr);
  EXPECT_EQ(Form->InputViewWindow->Text(), "View Inputfile");
  EXPECT_EQ(Form->InputViewWindow->Mode(), TEditForm::emViewing);
  EXPECT_TRUE(FileExists(AppWorkFile("temp.inp")));
  EXPECT_FALSE(FileExists(IncludeTrailingPathDelimiter(here) + "temp.inp"));
}

// The road of a refinement: File Open, Refine, Start, a few Steps with the
// stand-in engine; Rwp falls and the pattern plot holds every data point.
TEST_F(MainCommandsTest, FileOpenThenTheRefinementWindowRefinesWithTheStandInEngine) {
  Create();
  TDialogResponder dialogs;
  RefineForm = new TRefineForm(nullptr);
  TempRefine = true;
  StepOnStart = false;
  RunOptions.RDPlot = true;
  // The data file beside the input is taken with it.
  AssignDatafile = true;
  {
    guitest::TCommonDialogResponder files;
    files.Do([&](TCommonDialog* d) {
      dynamic_cast<TOpenDialog*>(d)->FileName = Input;
      return true;
    });
    Form->actopen->Execute();
  }
  ASSERT_TRUE(Model && Model->Loaded);
  EXPECT_EQ(RefineForm->EditInput->Text(), Input);
  EXPECT_EQ(DataFileName, Dir.File("xray-cw.dat"));
  // Moved away from the values the pattern was made with, so there is something to refine.
  Model->Phase(1)->A = Model->Phase(1)->B = Model->Phase(1)->C = 3.803f;
  Model->Phase(1)->Scale *= 1.2f;

  Form->actRefine->Execute();
  EXPECT_EQ(RunMode, rmRefinementWindow);
  EXPECT_TRUE(RefineForm->Visible());
  Form->UpdateForm();
  EXPECT_FALSE(Form->actClose->Enabled());
  EXPECT_FALSE(Form->actNew->Enabled());
  EXPECT_TRUE(Form->actGeneral->Enabled());

  RefineForm->ButtonStartClick(nullptr);
  ASSERT_NE(Refinement, nullptr);
  ASSERT_EQ(Refinement->State(), 2) << (dialogs.Count() ? dialogs.Last().Text : "");
  Form->UpdateForm();
  EXPECT_FALSE(Form->actViewOutput->Enabled());
  RefineForm->SpinEditStep->SetValue(1);
  std::vector<double> rwp;
  for (int i = 0; i < 3; ++i) {
    RefineForm->ButtonStepClick(nullptr);
    rwp.push_back(TextToReal(RefineForm->FactorCell(2, 0)));
  }
  EXPECT_LT(rwp.back(), rwp.front());
  TPlotData data;
  data.ReadDataFile(Dir.File("xray-cw.dat"), 1, 4);
  ASSERT_NE(RefinePlotWindow, nullptr);
  EXPECT_EQ(RefinePlotWindow->PointSeries1->Count(), data.PointCount());
  EXPECT_EQ(RefinePlotWindow->Series1->Count(), data.PointCount());
  EXPECT_EQ(RefinePlotWindow->Series2->Count(), data.PointCount());
  RefineForm->ButtonFinishClick(nullptr);
  Form->UpdateForm();
  EXPECT_TRUE(Form->actViewOutput->Enabled());
  delete RefineForm;
  RefineForm = nullptr;
}

// The first Start of an example opened as a new user opens it: its own data
// file is found beside it. A data file opened before, for another model, is
// not taken; a missing one is named in the message with where to pick one.
TEST_F(MainCommandsTest, TheRefinementWindowStartsOnTheModelsOwnDataFile) {
  Create();
  TDialogResponder dialogs;
  RefineForm = new TRefineForm(nullptr);
  ASSERT_TRUE(CopyFile(Examples() + "tof.gs", Dir.File("tof.gs"), false));
  const std::string data = Dir.File("xray-cw.dat");
  struct TCase {
    const char* What;
    const char* OpenedFirst;  // a data file opened before the model, or none
  };
  for (const TCase& c : {TCase{"the example alone", nullptr}, TCase{"after another model's data", "tof.gs"}}) {
    if (c.OpenedFirst) Form->ProcessFile(Dir.File(c.OpenedFirst));
    Form->ProcessFile(Input);
    ASSERT_TRUE(Model && Model->Loaded) << c.What;
    Form->actRefine->Execute();
    RefineForm->ButtonStartClick(nullptr);
    EXPECT_EQ(dialogs.Count(), 0u) << c.What << ": " << (dialogs.Count() ? dialogs.Last().Text : "");
    EXPECT_EQ(Refinement->State(), 2) << c.What;
    EXPECT_EQ(DataFileName, data) << c.What;
    EXPECT_EQ(RefineForm->EditData->Text(), data) << c.What;
    RefineForm->SpinEditStep->SetValue(1);
    RefineForm->ButtonStepClick(nullptr);
    RefineForm->ButtonFinishClick(nullptr);
    EXPECT_EQ(dialogs.Count(), 0u) << c.What << ": " << (dialogs.Count() ? dialogs.Last().Text : "");
    RefineForm->Close();
  }

  // Without its data file the start fails with one message that names the
  // file looked for and the button that picks another.
  ASSERT_TRUE(DeleteFile(data));
  Form->ProcessFile(Input);
  Form->actRefine->Execute();
  RefineForm->ButtonStartClick(nullptr);
  ASSERT_EQ(dialogs.Count(), 1u);
  EXPECT_NE(dialogs.Last().Text.find(data), std::string::npos) << dialogs.Last().Text;
  EXPECT_NE(dialogs.Last().Text.find("\"...\""), std::string::npos) << dialogs.Last().Text;
  EXPECT_EQ(RefineForm->Status(), 0);
  RefineForm->Close();
  delete RefineForm;
  RefineForm = nullptr;
}

// After one model was refined and another opened, the plot's caption and
// the views of the engine's files name the model they show: the other
// model's files are never shown as this one's, and a view with no file of
// this model says so.
TEST_F(MainCommandsTest, ThePlotAndTheViewsNameTheModelTheyShow) {
  Create();
  TDialogResponder dialogs;
  RefineForm = new TRefineForm(nullptr);
  FormMacro = new TFormMacro(nullptr);
  Form->LinkMacroWindow();
  for (const char* name : {"two-phase.inp", "two-phase.dat"})
    ASSERT_TRUE(CopyFile(Examples() + name, Dir.File(name), false)) << name;
  const std::string two = Dir.File("two-phase.inp");
  RunOptions.QSPlot = true;
  RunOptions.RDPlot = true;
  TempRefine = true;

  Form->ProcessFile(two);
  Form->actQuickStart->Execute();
  ASSERT_NE(RefinePlotWindow, nullptr);
  EXPECT_EQ(RefinePlotWindow->Text(), two);
  Form->actViewBVS->Execute();
  EXPECT_EQ(Form->ResultViewWindow->Text(), "View Bonds: " + Dir.File("two-phase.dst"));
  Form->ManualEditWindow->Close();

  Form->ProcessFile(Input);
  ASSERT_TRUE(Model && Model->Loaded);
  struct TView {
    TAction* Command;
    TEditForm** Window;
    const char* Empty;
  };
  const TView views[] = {{Form->actViewBVS, &Form->ResultViewWindow, "View Bond Valence"},
                         {Form->actViewDist, &Form->ResultViewWindow, "View Distance/Angles"},
                         {Form->actViewOutput, &Form->OutputViewWindow, "View File"}};
  for (const TView& v : views) {
    v.Command->Execute();
    ASSERT_NE(*v.Window, nullptr) << v.Empty;
    EXPECT_EQ((*v.Window)->Text(), v.Empty);
    const std::string shown = (*v.Window)->RichEdit1->Text();
    EXPECT_EQ(shown.find("two-phase"), std::string::npos) << v.Empty << ": " << shown;
    EXPECT_NE(shown.find("xray-cw.inp"), std::string::npos) << v.Empty << ": " << shown;
  }

  Form->actRefine->Execute();
  RefineForm->ButtonStartClick(nullptr);
  EXPECT_EQ(RefinePlotWindow->Text(), Input);
  RefineForm->SpinEditStep->SetValue(1);
  RefineForm->ButtonStepClick(nullptr);
  RefineForm->ButtonFinishClick(nullptr);
  const std::string base = Refinement->BaseName;
  Form->actViewBVS->Execute();
  EXPECT_EQ(Form->ResultViewWindow->Text(), "View Bonds: " + base + ".dst");
  Form->actViewDist->Execute();
  EXPECT_EQ(Form->ResultViewWindow->Text(), "View Distance/Angles: " + base + ".ang");
  RefineForm->Close();

  // A macro's plot names the file the macro opened.
  FormMacro->MemoSource->SetText("R = OPENRIETVELD(\"" + two + "\")\r\nR = STARTRIETVELD()\r\nR = PLOTRIETVELD(1)");
  FormMacro->actRun->Execute();
  EXPECT_EQ(FormMacro->Panel1->Text(), "");
  EXPECT_EQ(RefinePlotWindow->Text(), two);
  EXPECT_EQ(dialogs.Count(), 0u) << dialogs.Last().Text;
  delete RefineForm;
  RefineForm = nullptr;
  delete FormMacro;
  FormMacro = nullptr;
}

// With the temporary-folder option on, the refinement window's listing goes
// to the per-user run folder under the cache folder, which the program's end
// leaves in place.
TEST_F(MainCommandsTest, TheRefinementWindowsListingOutlivesTheProgram) {
  Create();
  TDialogResponder dialogs;
  RefineForm = new TRefineForm(nullptr);
  TempRefine = true;
  Form->ProcessFile(Input);
  Form->actRefine->Execute();
  RefineForm->ButtonStartClick(nullptr);
  RefineForm->SpinEditStep->SetValue(1);
  RefineForm->ButtonStepClick(nullptr);
  RefineForm->ButtonFinishClick(nullptr);
  ASSERT_EQ(dialogs.Count(), 0u) << dialogs.Last().Text;
  const std::string base = Refinement->BaseName;
  const char* cache = std::getenv("XDG_CACHE_HOME");
  ASSERT_TRUE(cache && *cache);
  EXPECT_EQ(base.rfind(IncludeTrailingPathDelimiter(cache) + "Zelvora/", 0), 0u) << base;
  RefineForm->Close();
  delete RefineForm;
  RefineForm = nullptr;
  Close();
  EXPECT_EQ(Refinement, nullptr);
  EXPECT_TRUE(FileExists(base + ".out")) << base;
}

TEST_F(MainCommandsTest, ARecentFileAsksToSaveWithYesAndNoOnly) {
  Create();
  TDialogResponder dialogs;
  Form->ProcessFile(Input);
  const std::string other = Dir.File("other.inp");
  ASSERT_TRUE(CopyFile(Input, other, false));
  Model->Title = "Changed title";
  ModelChanged = true;
  dialogs.Answer(mrYes);
  Form->TBMRUList1Click(nullptr, other);
  ASSERT_EQ(dialogs.Count(), 1u);
  EXPECT_EQ(dialogs.Last().Text, "Save Current Input File?");
  EXPECT_EQ(dialogs.Last().Buttons, (TMsgDlgButtons{mbYes, mbNo}));
  EXPECT_NE(TTempDir::Read(Input).find("Changed title"), std::string::npos);
  EXPECT_EQ(InputFileName, other);
  EXPECT_EQ(Form->RecentFiles().front(), other);
  EXPECT_FALSE(ModelChanged);
}

TEST_F(MainCommandsTest, TheCommandLineFileOpensAtFirstShowingAndIsRefinedAtFirstActivation) {
  TDialogResponder dialogs;
  // Two arguments: nothing is opened or refined.
  SetProgramArguments({Input, "second"});
  Create();
  Form->Show();
  EXPECT_FALSE(Model->Loaded);
  EXPECT_EQ(Form->ManualEditWindow, nullptr);
  Close();
  Form.reset();

  Closed = false;
  SetProgramArguments({Input});
  Create();
  Form->Show();
  EXPECT_TRUE(Form->FirstActivationDone());
  ASSERT_TRUE(Model && Model->Loaded);
  ASSERT_NE(Form->ManualEditWindow, nullptr);
  EXPECT_EQ(Form->ManualEditWindow->Text(), "Refined: " + Input)
      << (dialogs.Count() ? dialogs.Last().Text : "");
  // Later activations refine nothing again.
  Form->FormActivate(Form.get());
  EXPECT_EQ(Form->ManualEditWindow->Text(), "Refined: " + Input);
}

// The first activation's work runs once even when an activation comes in
// while it processes messages (a busy display activates the window again):
// Quick Start asks for a file once, not twice on top of itself.
TEST_F(MainCommandsTest, TheFirstActivationsWorkRunsOnceWhenActivationReenters) {
  TDialogResponder dialogs;
  // A file that does not load: Quick Start then asks for one.
  SetProgramArguments({Dir.File("missing.inp")});
  Create();
  guitest::TCommonDialogResponder files;
  files.Do([](TCommonDialog*) { return false; }).Do([](TCommonDialog*) { return false; });
  QueueCall([this] { Form->FormActivate(Form.get()); });
  Form->FormActivate(Form.get());
  guitest::ProcessEvents();
  EXPECT_TRUE(Form->FirstActivationDone());
  EXPECT_EQ(files.Count(), 1);
}

TEST_F(MainCommandsTest, TheStartUpScriptRunsOnTheMainWindowsInterpreter) {
  TDialogResponder dialogs;
  const std::string script = Dir.Write("start.rib", "ADDMENU(\"Tools\", \"\", \"\")\nADDMENU(\"Tools\", \"Go\", \"go.rib\")\n");
  {
    TRegIniFile ini("Software\\Zelvora");
    ini.WriteString("Configuration\\VoraZadar", "StartUpScript", script);
  }
  Create();
  Form->Show();
  EXPECT_EQ(dialogs.Count(), 0u) << (dialogs.Count() ? dialogs.Last().Text : "");
  ASSERT_EQ(UserMenuCount, 2);
  TTBCustomItem* tools = Form->UserMenuToolbarItem(1);
  ASSERT_NE(tools, nullptr);
  ASSERT_EQ(tools->Count(), 1);
  EXPECT_EQ(tools->Items(0)->Caption(), "Go");
  // The item's script is run when it is clicked; a missing one is reported.
  tools->Items(0)->Click();
  ASSERT_EQ(dialogs.Count(), 1u);
  EXPECT_EQ(dialogs.Last().Text, "VoraZadar script go.rib not found.");
  // The script action finds the entry by its sender's name from the seventh character on.
  TTBItem sender(nullptr);
  sender.SetName("TBItem2");
  Form->actScript->OnExecute()(&sender);
  EXPECT_EQ(dialogs.Count(), 2u);
  sender.SetName("TBItem3");
  Form->actScript->OnExecute()(&sender);
  EXPECT_EQ(dialogs.Count(), 2u);
  Close();
  EXPECT_EQ(UserMenuCount, 0);
}

// With Show Hints ticked, a toolbar button and a control of the refinement
// window show their hints once the mouse rests on them for the pause; the
// next button of the same toolbar shows its own.
TEST_F(MainCommandsTest, ToolbarButtonsAndControlsShowTheirHints) {
  Create();
  RefineForm = new TRefineForm(nullptr);
  Form->Show();
  guitest::ProcessEvents();
  ASSERT_TRUE(Form->actShowHints->Checked());
  TTBToolbar* bar = Form->TBToolbarRietveld;
  auto hover = [](TControl* c, const TRect& r) {
    guitest::MouseMove(c, r.Left + 3, r.Top + 3);
    guitest::MouseMove(c, r.Left + 4, r.Top + 4);
    guitest::FireTimers();
    return Application->CurrentHintText();
  };
  for (int i : {7, 8}) {
    TTBCustomItem* item = bar->Items()->Items(i);
    TTBItemViewer* v = bar->View()->Find(item);
    ASSERT_NE(v, nullptr);
    EXPECT_EQ(hover(bar, v->BoundsRect), item->Hint()) << item->Caption();
    EXPECT_FALSE(item->Hint().empty());
  }
  Form->actRefine->Execute();
  guitest::ProcessEvents();
  // Shown the first time, the refinement window comes beside the main window.
  const TRect main = Form->BoundsRect(), refine = RefineForm->BoundsRect();
  EXPECT_FALSE(main.Left < refine.Right && refine.Left < main.Right && main.Top < refine.Bottom &&
               refine.Top < main.Bottom);
  EXPECT_EQ(hover(RefineForm->ButtonStart, RefineForm->ButtonStart->ClientRect()),
            "Push to start refinement (hotkey=F2)");
  // Unticked, nothing shows.
  Form->actShowHints->Execute();
  EXPECT_EQ(hover(RefineForm->ButtonFinish, RefineForm->ButtonFinish->ClientRect()), "");
  Form->actShowHints->Execute();
  RefineForm->Close();
  delete RefineForm;
  RefineForm = nullptr;
}

TEST_F(MainCommandsTest, TheWindowKeepsToItsToolbarsWhichTheDockMenuShowsAndHides) {
  Create();
  Form->Show();
  guitest::ProcessEvents();
  const int dock = Form->TBDockZelvora->Height();
  EXPECT_GT(dock, 0);
  EXPECT_EQ(Form->Height(), 27 + dock + 10);

  Form->TBPopupMenu1Popup(nullptr);
  EXPECT_TRUE(Form->TBMaintoolbar->Checked());
  EXPECT_TRUE(Form->TBRietveldtoolbar->Checked());
  Form->TBRietveldtoolbar->Click();
  EXPECT_FALSE(Form->TBToolbarRietveld->Visible());
  guitest::ProcessEvents();
  // The dock lost a row and the window follows it.
  EXPECT_LT(Form->TBDockZelvora->Height(), dock);
  EXPECT_EQ(Form->Height(), 27 + Form->TBDockZelvora->Height() + 10);
  Form->TBPopupMenu1Popup(nullptr);
  EXPECT_FALSE(Form->TBRietveldtoolbar->Checked());
  EXPECT_TRUE(Form->TBMaintoolbar->Checked());
}

TEST_F(MainCommandsTest, EditCommandsActOnTheLastActiveControlWhileItsWindowShows) {
  Create();
  TForm other(nullptr);
  auto* rich = new TRichEdit(&other);
  rich->SetParent(&other);
  rich->SetText("ab");
  other.Show();
  LastActiveControl = rich;
  Clipboard()->SetAsText("XY");

  rich->SetSelStart(1);
  Form->EditPaste1->Execute();
  EXPECT_EQ(rich->Text(), "aXYb");
  rich->SetSel(0, 1);
  Form->EditCut1->Execute();
  EXPECT_EQ(rich->Text(), "XYb");
  EXPECT_EQ(Clipboard()->AsText(), "a");
  Form->EditUndo1->Execute();
  EXPECT_EQ(rich->Text(), "aXYb");

  // A hidden window's control is left alone.
  other.Hide();
  Form->EditPaste1->Execute();
  EXPECT_EQ(rich->Text(), "aXYb");
  LastActiveControl = nullptr;
  Form->EditPaste1->Execute();
  Form->EditUndo1->Execute();
  Form->actPrint->Execute();
}

// A window freed while one of its controls was the last active one (a
// model window closed for good, the sample window of a test) leaves no
// pointer to that control behind for the edit commands or other windows.
TEST_F(MainCommandsTest, AFreedLastActiveControlIsForgotten) {
  Create();
  auto other = std::make_unique<TForm>(nullptr);
  auto* edit = new TEdit(other.get());
  edit->SetParent(other.get());
  auto* memo = new TMemo(other.get());
  memo->SetParent(other.get());
  other->Show();
  LastActiveControl = edit;
  LastActiveControl = memo;  // the first one is no longer watched
  delete edit;
  EXPECT_EQ(static_cast<TControl*>(LastActiveControl), memo);
  other.reset();
  EXPECT_EQ(static_cast<TControl*>(LastActiveControl), nullptr);
  Form->EditPaste1->Execute();
}

// Paste takes text only; an emptied clipboard pastes nothing into any kind
// of control, and an edit box takes cut, copy and paste like the others.
TEST_F(MainCommandsTest, PasteOnTheLastActiveControlTakesTextOnly) {
  Create();
  TForm other(nullptr);
  auto* memo = new TMemo(&other);
  auto* rich = new TRichEdit(&other);
  auto* edit = new TEdit(&other);
  for (TWinControl* c : std::initializer_list<TWinControl*>{memo, rich, edit}) c->SetParent(&other);
  other.Show();
  struct TTarget {
    const char* What;
    TWinControl* Control;
    std::function<void(int)> Caret;
  };
  const TTarget targets[] = {
      {"memo", memo, [&](int at) { memo->SetSelStart(at); }},
      {"rich edit", rich, [&](int at) { rich->SetSelStart(at); }},
      {"edit box", edit, [&](int at) { edit->SetSelStart(at); }},
  };
  for (const TTarget& t : targets) {
    LastActiveControl = t.Control;
    t.Control->SetText("ab");
    t.Caret(1);
    Clipboard()->Open();
    Clipboard()->Clear();
    Clipboard()->Close();
    Form->EditPaste1->Execute();
    EXPECT_EQ(t.Control->Text(), "ab") << t.What;
    Clipboard()->SetAsText("XY");
    Form->EditPaste1->Execute();
    EXPECT_EQ(t.Control->Text(), "aXYb") << t.What;
  }
  edit->SetSelStart(0);
  edit->SetSelLength(1);
  Form->EditCut1->Execute();
  EXPECT_EQ(edit->Text(), "XYb");
  EXPECT_EQ(Clipboard()->AsText(), "a");
  edit->SetSelStart(0);
  edit->SetSelLength(2);
  Form->EditCopy1->Execute();
  EXPECT_EQ(Clipboard()->AsText(), "XY");
  LastActiveControl = nullptr;
}

TEST_F(MainCommandsTest, TheMacroWindowBuildsTheMainWindowsUserMenu) {
  Create();
  TDialogResponder dialogs;
  FormMacro = new TFormMacro(nullptr);
  Form->LinkMacroWindow();
  Form->actBasic->Execute();
  EXPECT_EQ(RunMode, rmMacro);
  EXPECT_TRUE(FormMacro->Visible());
  FormMacro->MemoSource->SetText("A = ADDMENU(\"Tools\", \"\", \"\")\r\nA = ADDMENU(\"Tools\", \"Go\", \"go.rib\")");
  FormMacro->actRun->Execute();
  EXPECT_EQ(FormMacro->Panel1->Text(), "");
  ASSERT_EQ(UserMenuCount, 2);
  ASSERT_NE(Form->UserMenuToolbarItem(1), nullptr);
  EXPECT_EQ(Form->UserMenuToolbarItem(1)->Caption(), "Tools");
  FormMacro->MemoSource->SetText("A = CLEARMENU()");
  FormMacro->actRun->Execute();
  EXPECT_EQ(UserMenuCount, 0);
  delete FormMacro;
  FormMacro = nullptr;
}

// Closing the program or the model while a script or a manual refinement
// processes messages must not free what they hold: the script ends at its
// next call, the refinement after its cycle, and the program closes then.
TEST_F(MainCommandsTest, ClosingDuringAScriptOrARefinementWaitsForItsEnd) {
  const std::string here = GetCurrentDir();
  ASSERT_TRUE(SetCurrentDir(Dir.Path()));
  Create();
  TDialogResponder dialogs;
  FormMacro = new TFormMacro(nullptr);
  Form->LinkMacroWindow();
  Form->Show();
  Form->actBasic->Execute();
  FormMacro->MemoSource->SetText(
      "R = OPENRIETVELD(\"xray-cw\")\r\nR = STARTRIETVELD()\r\nFOR I = 1 TO 5\r\n"
      "R = PLOTRIETVELD(1)\r\nWRITE(I)\r\nNEXT I");
  QueueCall([this] { Form->Close(); });
  FormMacro->actRun->Execute();
  EXPECT_TRUE(FormMacro->MemoWrite->Lines().empty());
  EXPECT_EQ(FormMacro->Panel1->Text(), "Error: The macro was stopped: the program is closing.");
  ASSERT_NE(Model, nullptr);
  guitest::ProcessEvents();
  EXPECT_EQ(Model, nullptr);
  EXPECT_EQ(Refinement, nullptr);
  Closed = true;
  delete FormMacro;
  FormMacro = nullptr;

  // A new program: the model's Close command during a manual refinement is
  // refused, the program's close waits for the running cycle.
  Form.reset();
  Closed = false;
  ResetProgramState();
  Create();
  Form->Show();
  Form->ProcessFile(Input);
  ASSERT_TRUE(Model && Model->Loaded);
  Form->actManualEdit->Execute();
  TEditForm* editor = Form->ManualEditWindow;
  ASSERT_NE(editor, nullptr);
  const size_t before = dialogs.Count();
  QueueCall([this] { Form->actClose->Execute(); });
  editor->actRefine->Execute();
  ASSERT_EQ(dialogs.Count(), before + 1);
  EXPECT_NE(dialogs.Last().Text.find("in use"), std::string::npos) << dialogs.Last().Text;
  ASSERT_NE(Model, nullptr);
  EXPECT_TRUE(Model->Loaded);
  EXPECT_EQ(editor->Text(), "Refined: " + Input);

  QueueCall([this] { Form->Close(); });
  editor->actRefine->Execute();
  ASSERT_NE(Model, nullptr);
  guitest::ProcessEvents();
  EXPECT_EQ(Model, nullptr);
  EXPECT_EQ(Form->ManualEditWindow, nullptr);
  Closed = true;
  SetCurrentDir(here);
}

}  // namespace

namespace {

// The Histograms and Sample commands open their windows, the sample window
// with histogram 1's profile and absorption.
TEST_F(MainCommandsTest, HistogramsAndSampleOpenTheirWindows) {
  Create();
  HistogramForm = new THistogramForm(nullptr);
  FormSample = new TFormSample(nullptr);
  TDialogResponder dialogs;
  Form->ProcessFile(Input);
  ASSERT_TRUE(Model->Loaded);
  Model->Histogram(1)->Profile = 6;
  Model->Histogram(1)->AbsorptionModel = 1;
  Form->actHistograms->Execute();
  EXPECT_TRUE(HistogramForm->Visible());
  Form->actSample->Execute();
  EXPECT_TRUE(FormSample->Visible());
  EXPECT_EQ(FormSample->ProfileComboBox->ItemIndex(), 5);
  EXPECT_EQ(FormSample->ComboBoxAbsorption->ItemIndex(), 1);
  EXPECT_EQ(FormSample->LabelR->Caption(), "Absor. P:");
  EXPECT_FALSE(dialogs.Saw("Not available yet."));
  delete HistogramForm;
  delete FormSample;
}

}  // namespace
