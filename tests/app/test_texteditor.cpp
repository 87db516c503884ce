#include "app/texteditor.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/workfolder.h"
#include "fakeengine.h"
#include "model/global.h"
#include "model/plotdata.h"
#include "model/refine.h"
#include "model/rietclass.h"
#include "platform/rtl/fileutils.h"
#include "platform/rtl/registry.h"
#include "support/dialogresponder.h"
#include "support/gui/guitest.h"
#include "support/tempdir.h"

namespace {

// An input file the model reads: one histogram, one phase with one atom.
std::string WriteInput(const std::string& file, const std::string& title) {
  TRietveld m;
  m.Title = title;
  m.NewHistogram();
  m.NewPhase()->AddAtom(TAtom());
  m.Parameters.AddParameter(1, 0, 0, 14, 11);
  EXPECT_TRUE(m.WriteInputFile(file));
  return file;
}

class EditFormTest : public ::testing::Test {
protected:
  void SetUp() override {
    guitest::EnsureGui();
    savedDir = GetCurrentDir();
    ASSERT_TRUE(SetCurrentDir(dir.Path()));
    InputFileName.clear();
    RunMode = rmIdle;
    Refinement = new TRefine();
    Refinement->LibraryName = fake.Name();
    form = new TEditForm(nullptr);
    form->Views.PlotHistogram = [this] { return plotTag; };
    form->Views.ShowPlot = [this](TPlotData& data, int h, const std::string& caption) {
      plots.push_back(h);
      plotCaption = caption;
      plotPoints = data.PointCount();
      if (onCycle) onCycle();
    };
    form->Views.ShowWatch = [this] { ++watches; };
  }
  void TearDown() override {
    delete form;
    delete Refinement;
    Refinement = nullptr;
    delete Model;
    Model = nullptr;
    delete RefinePlotData;
    RefinePlotData = nullptr;
    InputFileName.clear();
    LastActiveControl = nullptr;
    SetCurrentDir(savedDir);
  }
  // The model loaded from a fresh input file, edited in the window (mode 0).
  std::string LoadModel(const std::string& name = "run.inp") {
    const std::string file = WriteInput(dir.File(name), "Edited");
    Model = new TRietveld();
    EXPECT_TRUE(Model->ReadInputFile(file));
    InputFileName = file;
    RunMode = rmManualEdit;
    form->EditModelInput();
    return file;
  }

  TTempDir dir;
  std::string savedDir;
  TDialogResponder dialogs;
  apptest::TFakeEngine fake;
  TEditForm* form = nullptr;
  int plotTag = 0;
  std::vector<int> plots;
  std::string plotCaption;
  int plotPoints = -1;
  int watches = 0;
  std::function<void()> onCycle;
};

TEST_F(EditFormTest, ModesSetCaptionCommandsAndProcessMenu) {
  struct Case {
    uint8_t mode;
    const char* caption;
    bool process, refine, stop, update, open, reload, saveAs;
    bool takesInputName;
  } cases[] = {
      {0, "Refine: in.inp", true, true, false, false, true, true, true, true},
      {1, "before", false, false, false, false, true, false, true, false},
      {2, "Refining: in.inp", true, false, true, false, false, true, true, true},
      {3, "before", false, false, false, false, false, false, false, false},
      {4, "Refined: in.inp", true, true, false, true, true, true, true, false},
  };
  InputFileName = "in.inp";
  for (const Case& c : cases) {
    form->SetText("before");
    form->SetFileName("other.txt");
    for (TAction* a : {form->actRefine, form->actStop, form->actUpdate}) a->SetEnabled(true);
    form->SetMode(c.mode);
    form->UpdateForm();
    SCOPED_TRACE(int(c.mode));
    EXPECT_EQ(form->Text(), c.caption);
    EXPECT_EQ(form->ProcessMenuVisible(), c.process);
    EXPECT_EQ(form->TBProcess1->Visible(), c.process);
    EXPECT_EQ(form->TBRefineToolbar->Visible(), c.process);
    EXPECT_EQ(form->TBPopupRefineToolbar->Visible(), c.process);
    EXPECT_EQ(form->TBItemSave->Enabled(), c.saveAs);
    for (TAction* a : {form->actRefine, form->actStop, form->actUpdate, form->actPlot})
      EXPECT_EQ(a->Visible(), c.process);
    if (c.mode != 3) {  // in mode 3 they are hidden and keep their state
      EXPECT_EQ(form->actRefine->Enabled(), c.refine);
      EXPECT_EQ(form->actStop->Enabled(), c.stop);
      EXPECT_EQ(form->actUpdate->Enabled(), c.update);
    }
    EXPECT_EQ(form->actOpen->Enabled(), c.open);
    EXPECT_EQ(form->actReload->Enabled(), c.reload);
    EXPECT_EQ(form->actSaveAS->Enabled(), c.saveAs);
    EXPECT_EQ(form->SaveButtonEnabled(), c.saveAs);
    EXPECT_EQ(form->FileName(), c.takesInputName ? "in.inp" : "other.txt");
  }
}

TEST_F(EditFormTest, MenusAndDockPopup) {
  std::vector<std::string> top;
  for (int i = 0; i < form->TBToolbar1->Items()->Count(); ++i) top.push_back(form->TBToolbar1->Items()->Items(i)->Caption());
  EXPECT_EQ(top, (std::vector<std::string>{"&File", "&Edit", "&Process"}));
  EXPECT_TRUE(form->TBToolbar1->MenuBar());
  EXPECT_EQ(form->TBMenuToolbar->Text(), "Edit Menu Toolbar");
  // Show Hints is ticked at start and its menu item toggles it.
  EXPECT_TRUE(form->TBShowHints->Checked());
  form->TBShowHints->Click();
  EXPECT_FALSE(form->actShowHints->Checked());
  EXPECT_FALSE(form->TBShowHints->Checked());
  // The dock pop-up hides and shows the toolbars; a hidden refine toolbar
  // stays hidden through a mode change.
  InputFileName = "in.inp";
  form->SetMode(TEditForm::emEditInput);
  form->UpdateForm();
  form->TBPopupRefineToolbar->Click();
  EXPECT_FALSE(form->TBRefineToolbar->Visible());
  form->UpdateForm();
  EXPECT_FALSE(form->TBRefineToolbar->Visible());
  form->TBPopupRefineToolbar->Click();
  EXPECT_TRUE(form->TBRefineToolbar->Visible());
  form->TBPopupMenuToolbar->Click();
  EXPECT_FALSE(form->TBMenuToolbar->Visible());
  EXPECT_FALSE(form->TBPopupMenuToolbar->Checked());
  // The Save button saves.
  form->RichEdit1->SetText("saved text");
  form->SetFileName(dir.File("button.txt"));
  form->SetMode(TEditForm::emPlainText);
  form->UpdateForm();
  form->TBItemSave->Click();
  EXPECT_EQ(TTempDir::Read(dir.File("button.txt")), "saved text");
}

TEST_F(EditFormTest, InputLineHintFollowsTheLineGroups) {
  // Line 2 says 2 in columns 1-3, so N = 3.
  std::string text = "title\r\n  2\r\n";
  for (int i = 3; i <= 10; ++i) text += "line " + std::to_string(i) + "\r\n";
  form->RichEdit1->SetText(text);
  RunMode = rmManualEdit;
  const std::string hint[] = {"", "Title", "nhist, nphase, ...", "Control Options,...", "Wavelengths,ratio,...",
                              "Ncycle,damping,thetas,..."};
  const int group[] = {1, 2, 2, 2, 3, 4, 4, 4, 5, 0};
  int start = 0;
  const std::u16string wide = form->RichEdit1->WideText();
  for (int line = 1; line <= 10; ++line) {
    form->RichEdit1->SetSel(start + 1, 0);
    form->ShowPosition();
    EXPECT_EQ(form->StatusText(0), "Line: " + std::to_string(line));
    EXPECT_EQ(form->StatusText(1), "Col: 2");
    EXPECT_EQ(form->StatusText(2), hint[group[line - 1]]) << "line " << line;
    start = static_cast<int>(wide.find(u'\n', start)) + 1;
  }
  // Without hints, or outside manual edit, the panel is left alone.
  form->RichEdit1->SetSel(0, 0);
  form->actShowHints->Execute();
  EXPECT_FALSE(form->actShowHints->Checked());
  form->ShowPosition();
  EXPECT_EQ(form->StatusText(2), "");
}

TEST_F(EditFormTest, KeysInTheTextShowTheCaretPosition) {
  form->Show();
  form->RichEdit1->SetText("ab\r\ncd");
  form->RichEdit1->SetSel(4, 0);
  guitest::Key(form->RichEdit1, VK_RIGHT);
  EXPECT_EQ(form->StatusText(0), "Line: 2");
  EXPECT_EQ(form->StatusText(1), "Col: 3");
}

// The widget places the caret only after the press is handled; the read-out
// still shows where the click put it, not where the caret was before.
TEST_F(EditFormTest, AClickInTheTextShowsTheCaretWhereTheClickPutIt) {
  form->Show();
  form->RichEdit1->SetText("ab\r\ncd\r\nef");
  form->RichEdit1->SetSel(0, 0);
  // Below the last line: the caret goes to the end of the text.
  guitest::Click(form->RichEdit1, form->RichEdit1->ClientWidth() / 2, form->RichEdit1->ClientHeight() - 40);
  ASSERT_EQ(form->RichEdit1->CaretPos().Y, 2);
  EXPECT_EQ(form->StatusText(0), "Line: 3");
  EXPECT_EQ(form->StatusText(1), "Col: 3");
  // The caret moved by the program afterwards leaves the read-out alone.
  form->RichEdit1->SetSel(0, 0);
  EXPECT_EQ(form->StatusText(0), "Line: 3");
}

// Find and Replace move the caret to the match: the read-out follows.
TEST_F(EditFormTest, FindAndReplaceMoveTheLineAndColumnReadOut) {
  form->Show();
  form->RichEdit1->SetText("cell a\r\nthe cell b\r\ncell");
  form->RichEdit1->SetSel(0, 0);
  guitest::TCommonDialogResponder shown;
  shown.Do([](TCommonDialog*) { return true; });
  form->EditFind1->Execute();
  TFindDialog* find = form->SearchAndReplace1->FindDialog();
  find->FindText = "cell";
  find->Options = {frDown};
  find->FindNextPressed();
  find->FindNextPressed();
  EXPECT_EQ(form->StatusText(0), "Line: 2");
  EXPECT_EQ(form->StatusText(1), "Col: " + std::to_string(form->RichEdit1->CaretPos().X + 1));
  EXPECT_GT(form->RichEdit1->CaretPos().X, 3);
  find->CloseDialog();
  form->EditReplace1->Execute();
  TReplaceDialog* replace = form->SearchAndReplace1->ReplaceDialog();
  replace->FindText = "cell";
  replace->ReplaceText = "x";
  replace->Options = {frDown};
  // From the top: a press finds the first match; each further press
  // replaces the match and moves on to the next.
  form->RichEdit1->SetSel(0, 0);
  form->ShowPosition();
  for (const char* line : {"Line: 1", "Line: 2", "Line: 3"}) {
    replace->ReplacePressed(false);
    EXPECT_EQ(form->StatusText(0), line);
  }
  EXPECT_EQ(form->RichEdit1->Lines()[1], "the x b");
}

TEST_F(EditFormTest, StatusPanelsReadLineColumnStatusFromTheLeft) {
  form->Show();
  std::vector<std::pair<int, std::string>> panels;
  for (int i = 0; i < form->StatusBar1->ControlCount(); ++i) {
    auto* p = dynamic_cast<TPanel*>(form->StatusBar1->Controls(i));
    ASSERT_NE(p, nullptr);
    panels.emplace_back(p->Left(), p->Caption());
  }
  std::sort(panels.begin(), panels.end());
  ASSERT_EQ(panels.size(), 3u);
  EXPECT_EQ(panels[0], std::make_pair(0, std::string("Line:")));
  EXPECT_EQ(panels[1], std::make_pair(100, std::string("Col:")));
  EXPECT_EQ(panels[2].first, 200);
}

TEST_F(EditFormTest, FontComesFromAFixedPitchDialog) {
  // Column-laid files line up before any font is chosen.
  EXPECT_EQ(form->RichEdit1->DefAttributes()->Pitch(), fpFixed);
  EXPECT_EQ(MapFontFamily(form->RichEdit1->DefAttributes()->Name()), "Liberation Mono");
  guitest::TCommonDialogResponder fonts;
  fonts.Do([](TCommonDialog* d) {
    auto* f = static_cast<TFontDialog*>(d);
    EXPECT_TRUE(f->Options.Contains(fdFixedPitchOnly));
    EXPECT_TRUE(f->Options.Contains(fdNoStyleSel));
    f->Font()->SetName("Courier New");
    f->Font()->SetSize(12);
    return true;
  });
  fonts.Do([](TCommonDialog* d) {
    static_cast<TFontDialog*>(d)->Font()->SetSize(30);
    return false;
  });
  form->actFont->Execute();
  form->actFont->Execute();
  EXPECT_EQ(form->RichEdit1->DefAttributes()->Name(), "Courier New");
  EXPECT_EQ(form->RichEdit1->DefAttributes()->Size(), 12);
}

TEST_F(EditFormTest, OpenByFileKind) {
  const std::string out = dir.Write("run.out", "engine output\r\n");
  const std::string dat = dir.Write("run.dat", "1 2 3\r\n");
  guitest::TCommonDialogResponder files;
  files.Do([&](TCommonDialog* d) {
    static_cast<TOpenDialog*>(d)->FileName = out;
    return true;
  });
  files.Do([&](TCommonDialog* d) {
    static_cast<TOpenDialog*>(d)->FileName = dat;
    return true;
  });
  RunMode = rmManualEdit;
  form->actOpen->Execute();
  EXPECT_EQ(form->Text(), "Viewing/Editing: " + out);
  EXPECT_FALSE(form->ProcessMenuVisible());
  EXPECT_EQ(form->Mode(), TEditForm::emPlainText);
  EXPECT_EQ(RunMode, rmIdle);
  EXPECT_EQ(form->FileName(), out);
  EXPECT_EQ(form->RichEdit1->Text(), "engine output\r\n");

  form->actOpen->Execute();
  EXPECT_EQ(form->RichEdit1->Text(), "engine output\r\n");  // a data file is not loaded
  EXPECT_EQ(form->FileName(), out);
  EXPECT_EQ(dialogs.Count(), 0u);
}

TEST_F(EditFormTest, OpenInputEditsTheModelAndSavingItReadsItAgain) {
  const std::string file = WriteInput(dir.File("other.inp"), "Other");
  guitest::TCommonDialogResponder files;
  files.Do([&](TCommonDialog* d) {
    static_cast<TOpenDialog*>(d)->FileName = file;
    return true;
  });
  form->actOpen->Execute();
  ASSERT_NE(Model, nullptr);
  EXPECT_EQ(Model->Title, "Other");
  EXPECT_EQ(InputFileName, file);
  EXPECT_EQ(RunMode, rmManualEdit);
  EXPECT_EQ(form->Mode(), TEditForm::emEditInput);
  EXPECT_EQ(form->Text(), "Refine: " + file);
  EXPECT_EQ(form->FileName(), file);
  // Saved in mode 0, the edited title reaches the model.
  std::string text = form->RichEdit1->Text();
  text.replace(0, 5, "Renamed");
  form->RichEdit1->SetText(text);
  form->actSave->Execute();
  EXPECT_EQ(Model->Title, "Renamed");
  EXPECT_EQ(dialogs.Count(), 0u);
}

TEST_F(EditFormTest, OpenInputTheModelCannotReadKeepsTheModel) {
  const std::string good = LoadModel();
  const std::string bad = dir.Write("bad.inp", "title\r\nnot a count\r\n");
  guitest::TCommonDialogResponder files;
  files.Do([&](TCommonDialog* d) {
    static_cast<TOpenDialog*>(d)->FileName = bad;
    return true;
  });
  form->actOpen->Execute();
  EXPECT_GE(dialogs.Count(), 1u);  // the reader's message
  ASSERT_NE(Model, nullptr);
  EXPECT_TRUE(Model->Loaded);
  EXPECT_EQ(Model->Title, "Edited");
  EXPECT_EQ(InputFileName, good);
  EXPECT_EQ(form->Mode(), TEditForm::emPlainText);
  EXPECT_EQ(form->Text(), "Viewing/Editing: " + bad);
}

TEST_F(EditFormTest, SaveQuestionAnswers) {
  const std::string target = dir.Write("target.txt", "old contents");
  struct Case {
    int answer;        // to "Save the file?"
    bool dialogOk;     // the save dialog
    int overwrite;     // to "OK to overwrite"
    bool canContinue;
    const char* onDisk;
  } cases[] = {
      {mrCancel, false, 0, false, "old contents"},
      {mrNo, false, 0, true, "old contents"},
      {mrYes, false, 0, false, "old contents"},
      {mrYes, true, mrNo, false, "old contents"},  // No to overwriting counts as Cancel
      {mrYes, true, mrYes, true, "new text"},
  };
  for (const Case& c : cases) {
    dir.Write("target.txt", "old contents");
    form->SetMode(TEditForm::emPlainText);
    form->RichEdit1->SetText("new text");
    form->RichEdit1->SetModified(true);
    TDialogResponder answers;
    answers.Answer(c.answer);
    if (c.overwrite) answers.Answer(c.overwrite);
    guitest::TCommonDialogResponder saveDialog;
    saveDialog.Do([&](TCommonDialog* d) {
      static_cast<TSaveDialog*>(d)->FileName = target;
      return c.dialogOk;
    });
    bool canContinue = !c.canContinue;
    form->SaveOpenFiles(canContinue);
    SCOPED_TRACE(c.answer);
    EXPECT_EQ(canContinue, c.canContinue);
    EXPECT_EQ(answers.Requests().front().Text, "Save the file?");
    if (c.overwrite) {
      EXPECT_EQ(answers.Last().Text, "OK to overwrite " + target);
    }
    EXPECT_EQ(TTempDir::Read(target), c.onDisk);
    EXPECT_EQ(form->RichEdit1->Modified(), std::string(c.onDisk) != "new text");
  }
  // Unmodified text asks nothing.
  form->RichEdit1->SetModified(false);
  TDialogResponder none;
  bool canContinue = false;
  form->SaveOpenFiles(canContinue);
  EXPECT_TRUE(canContinue);
  EXPECT_EQ(none.Count(), 0u);
}

TEST_F(EditFormTest, ManualRefineConvergesAndFinishesWithUpdate) {
  const std::string input = LoadModel();
  ASSERT_EQ(form->Mode(), TEditForm::emEditInput);
  EXPECT_EQ(form->Text(), "Refine: " + input);
  fake.Set("convergeAt", 3);
  fake.Set("chi2", 1.23456);
  form->actRefine->Execute();
  EXPECT_EQ(fake.Get("iterations"), 3);
  EXPECT_EQ(fake.Get("closes"), 1);
  EXPECT_EQ(fake.Get("lastUpdate"), 1);
  EXPECT_EQ(form->Mode(), TEditForm::emRefined);
  EXPECT_EQ(form->Text(), "Refined: " + input);
  EXPECT_EQ(form->StatusText(2), "Status: 3     Rp = 11    Rwp = 21  Chi^2 = 1.235");
  // Plot and Watch unticked: only the status line.
  EXPECT_TRUE(plots.empty());
  EXPECT_EQ(watches, 0);
  // The work file is in the work folder, never the current one; the engine
  // works beside the input file.
  EXPECT_TRUE(FileExists(AppWorkFile("manual.inp")));
  EXPECT_FALSE(FileExists(dir.File("manual.inp")));
  EXPECT_EQ(fake.Text("base"), dir.File("run"));
  EXPECT_EQ(dialogs.Count(), 0u);
}

TEST_F(EditFormTest, PlotAndWatchPerCycleAndStopEndsTheRunAfterItsCycle) {
  const std::string input = LoadModel();
  form->actPlot->Execute();
  form->actWatch->Execute();
  plotTag = 7;  // beyond the histograms: histogram 1 is shown
  fake.Set("points", 4);
  onCycle = [this] {
    if (plots.size() == 2) form->actStop->Execute();
  };
  form->actRefine->Execute();
  EXPECT_EQ(fake.Get("iterations"), 2);
  EXPECT_EQ(plots, (std::vector<int>{1, 1}));
  EXPECT_EQ(plotCaption, input);
  EXPECT_EQ(plotPoints, 4);
  EXPECT_EQ(watches, 2);
  EXPECT_EQ(fake.Get("lastUpdate"), 1);  // no engine error: finished with update
  EXPECT_EQ(form->Mode(), TEditForm::emRefined);
}

TEST_F(EditFormTest, EngineErrorEndsTheRunWithoutUpdate) {
  LoadModel();
  form->actPlot->Execute();
  onCycle = [this] { fake.Set("iterationError", 5); };
  form->actRefine->Execute();
  EXPECT_EQ(fake.Get("iterations"), 2);
  EXPECT_EQ(fake.Get("lastUpdate"), 0);
  EXPECT_EQ(plots.size(), 1u);
  EXPECT_EQ(form->Mode(), TEditForm::emRefined);
}

TEST_F(EditFormTest, FailedStartRunsNoCycle) {
  LoadModel();
  fake.Set("startError", 5);
  form->actRefine->Execute();
  EXPECT_EQ(fake.Get("starts"), 1);
  EXPECT_EQ(fake.Get("iterations"), 0);
  EXPECT_EQ(form->Mode(), TEditForm::emRefined);
}

TEST_F(EditFormTest, BrokenManualInputLeavesModelAndEditor) {
  LoadModel();
  form->RichEdit1->SetText("title only\r\nbroken\r\n");
  form->actRefine->Execute();
  EXPECT_GE(dialogs.Count(), 1u);
  EXPECT_TRUE(Model->Loaded);
  EXPECT_EQ(Model->Title, "Edited");
  EXPECT_EQ(fake.Get("starts"), 0);
  EXPECT_EQ(form->Mode(), TEditForm::emEditInput);
  EXPECT_EQ(form->RichEdit1->Text(), "title only\r\nbroken\r\n");
}

TEST_F(EditFormTest, FolderWithADotKeepsItsNameInTheEngineNames) {
  ASSERT_TRUE(ForceDirectories(dir.File("data.v2")));
  LoadModel("data.v2/run");  // no extension at all
  fake.Set("convergeAt", 1);
  form->actRefine->Execute();
  EXPECT_EQ(fake.Text("base"), dir.File("data.v2/run"));
  EXPECT_EQ(fake.Text("data"), dir.File("data.v2/run"));
}

TEST_F(EditFormTest, UpdateTakesTheEnginesFileIntoTheInputFile) {
  const std::string input = LoadModel();
  fake.Set("convergeAt", 1);
  form->actRefine->Execute();
  ASSERT_TRUE(form->actUpdate->Enabled());
  const std::string upd = TTempDir::Read(dir.File("run.upd"));
  ASSERT_FALSE(upd.empty());
  dir.Write("run.inp", "replaced by the update");
  form->actUpdate->Execute();
  EXPECT_EQ(TTempDir::Read(input), upd);
  EXPECT_EQ(form->Mode(), TEditForm::emEditInput);
  EXPECT_EQ(form->Text(), "Refine: " + input);
}

TEST_F(EditFormTest, UpdateAfterARunWithoutUpdatedFileLeavesTheInput) {
  const std::string input = LoadModel();
  dir.Write("run.upd", "an older run's file");
  const std::string before = TTempDir::Read(input);
  form->actPlot->Execute();
  onCycle = [this] { fake.Set("iterationError", 5); };
  form->actRefine->Execute();
  ASSERT_EQ(form->Mode(), TEditForm::emRefined);
  form->actUpdate->Execute();
  EXPECT_EQ(TTempDir::Read(input), before);
  EXPECT_EQ(dialogs.Last().Text, "No updated input file from the last refinement.");
}

TEST_F(EditFormTest, ARunEndedMeanwhileStepsNoFurther) {
  LoadModel();
  form->actPlot->Execute();
  onCycle = [] { Refinement->FinishRefinement(false); };  // as a script's ENDRIETVELD would
  form->actRefine->Execute();
  EXPECT_EQ(fake.Get("iterations"), 1);
  EXPECT_EQ(fake.Get("closes"), 1);
  EXPECT_EQ(form->Mode(), TEditForm::emRefined);
}

TEST_F(EditFormTest, PlaceIsKeptAndClosingEndsManualEdit) {
  const char* key = "Software\\Zelvora\\Configuration\\EditForm";
  {
    TRegistry reg;
    reg.DeleteKey(std::string("\\") + key);
  }
  form->Show();
  EXPECT_EQ(form->StatusText(0), "Line:");
  form->SetBounds(21, 32, 500, 300);
  RunMode = rmManualEdit;
  LastActiveControl = form->RichEdit1;
  form->Close();
  EXPECT_EQ(RunMode, rmIdle);
  EXPECT_EQ(LastActiveControl, nullptr);
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKeyReadOnly(key));
  EXPECT_EQ(reg.ReadInteger("Top"), 32);
  EXPECT_EQ(reg.ReadInteger("Left"), 21);
}

TEST_F(EditFormTest, ClosingDuringTheRunClosesAfterTheCycle) {
  LoadModel();
  form->Show();
  form->actPlot->Execute();
  onCycle = [this] { form->Close(); };
  form->actRefine->Execute();
  EXPECT_EQ(fake.Get("iterations"), 1);
  EXPECT_FALSE(form->Visible());
  EXPECT_EQ(RunMode, rmIdle);
}

}  // namespace

#include <cstdlib>
#include <filesystem>

#include "platform/rtl/dynlib.h"

namespace {

// The editor's refinement against the project's own engine, on a copy of an
// example in a folder whose name has a dot.
TEST_F(EditFormTest, RefinesAnExampleWithTheStandInEngine) {
  HMODULE engine = LoadLibrary("zudezez.dll");
  if (engine == nullptr) GTEST_SKIP() << "the engine library is not built";
  FreeLibrary(engine);
  const char* source = std::getenv("ZELVORA_SOURCE_DIR");
  if (source == nullptr) GTEST_SKIP() << "ZELVORA_SOURCE_DIR is not set (ctest sets it)";
  const std::string examples = std::string(source) + "/examples/";
  ASSERT_TRUE(ForceDirectories(dir.File("data.v2")));
  const std::string input = dir.File("data.v2/xray-cw.inp");
  std::filesystem::copy_file(examples + "xray-cw.inp", input);
  std::filesystem::copy_file(examples + "xray-cw.dat", dir.File("data.v2/xray-cw.dat"));
  Model = new TRietveld();
  ASSERT_TRUE(Model->ReadInputFile(input));
  InputFileName = input;
  RunMode = rmManualEdit;
  delete Refinement;
  Refinement = nullptr;  // the editor makes its own binding, on the stand-in engine
  form->EditModelInput();
  ASSERT_EQ(form->Mode(), TEditForm::emEditInput);
  form->actPlot->Execute();
  std::vector<int> points;
  form->Views.ShowPlot = [&](TPlotData& data, int, const std::string&) { points.push_back(data.PointCount()); };
  form->actRefine->Execute();
  for (const std::string& t : dialogs.Texts()) ADD_FAILURE() << t;
  EXPECT_EQ(form->Mode(), TEditForm::emRefined);
  EXPECT_EQ(form->Text(), "Refined: " + input);
  EXPECT_EQ(form->StatusText(2).rfind("Status: ", 0), 0u) << form->StatusText(2);
  ASSERT_FALSE(points.empty());
  EXPECT_GT(points.back(), 100);
  EXPECT_TRUE(FileExists(dir.File("data.v2/xray-cw.out")));
  EXPECT_TRUE(FileExists(dir.File("data.v2/xray-cw.upd")));
  form->actUpdate->Execute();
  EXPECT_EQ(TTempDir::Read(input), TTempDir::Read(dir.File("data.v2/xray-cw.upd")));
}

}  // namespace
