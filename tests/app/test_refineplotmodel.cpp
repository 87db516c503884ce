// The refinement plot after its model is re-read or closed: every road that
// replaces or frees the model's histograms leaves the open plot window with
// no histogram of the old model, so that a click, a move, the pop-up menu,
// an excluded region or a repaint never reach freed memory (the sanitizer
// build shows that), and an edit lands in no histogram of the new model.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "app/macrowindow.h"
#include "app/refinewindow.h"
#include "app/texteditor.h"
#include "mainwindowtest.h"
#include "platform/gfx/bitmap.h"
#include "platform/rtl/fileutils.h"
#include "support/dialogresponder.h"
#include "support/gui/guitest.h"
#include "support/tempdir.h"

using namespace mainwindowtest;

namespace {

class RefinePlotModelTest : public MainWindowTest {
protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    for (const char* name : {"xray-cw.inp", "xray-cw.dat"})
      ASSERT_TRUE(CopyFile(Examples() + name, Dir.File(name), false)) << name;
    const char* source = std::getenv("ZELVORA_SOURCE_DIR");
    ASSERT_TRUE(CopyFile(std::string(source ? source : "../..") + "/tests/model/import/quartz.dwb",
                         Dir.File("quartz.dwb"), false));
    Input = Dir.File("xray-cw.inp");
    Here = GetCurrentDir();
    ASSERT_TRUE(SetCurrentDir(Dir.Path()));
    ResetMacroState();
  }
  void TearDown() override {
    SetCurrentDir(Here);
    MainWindowTest::TearDown();
  }

  // A fresh program that has refined the example one cycle from the
  // refinement window with Dynamic Plotting: the plot window shows
  // histogram 1 of the model.
  void RefineUntilThePlotShows() {
    Create();
    RefineForm = new TRefineForm(nullptr);
    FormMacro = new TFormMacro(nullptr);
    Form->LinkMacroWindow();
    TempRefine = true;
    AssignDatafile = true;
    RunOptions.RDPlot = true;
    Form->ProcessFile(Input);
    ASSERT_TRUE(Model && Model->Loaded);
    Form->actRefine->Execute();
    RefineForm->ButtonStartClick(nullptr);
    ASSERT_EQ(Refinement->State(), 2) << (Dialogs.Count() ? Dialogs.Last().Text : "");
    RefineForm->SpinEditStep->SetValue(1);
    RefineForm->ButtonStepClick(nullptr);
    ASSERT_NE(RefinePlotWindow, nullptr);
    ASSERT_EQ(RefinePlotData->HistogramRef(), Model->Histogram(1));
  }

  void RunMacro(const std::string& source) {
    FormMacro->MemoSource->SetText(source);
    FormMacro->actRun->Execute();
    EXPECT_EQ(FormMacro->Panel1->Text(), "") << source;
  }

  // Whether the histogram belongs to the model the program has now.
  static bool OfTheModel(const THistogram* h) {
    if (!Model) return false;
    for (int i = 1; i <= Model->HistogramCount(); ++i)
      if (Model->Histogram(i) == h) return true;
    return false;
  }

  // Clicks, moves, the pop-up menu, an excluded region, background points,
  // d spacings and repaints on the open plot window.
  void DrivePlot(const std::string& road) {
    TPlotForm* plot = RefinePlotWindow;
    ASSERT_NE(plot, nullptr) << road;
    THistogram* ref = RefinePlotData->HistogramRef();
    EXPECT_TRUE(ref == nullptr || OfTheModel(ref)) << road << ": the plot still holds the old model's histogram";
    std::vector<int> regions, points;
    for (int i = 1; Model && i <= Model->HistogramCount(); ++i) {
      regions.push_back(Model->Histogram(i)->Excluded.Count());
      points.push_back(Model->Histogram(i)->Background.PointCount());
    }
    TChart* chart = plot->Chart1;
    const int w = chart->Width(), h = chart->Height();
    guitest::MouseMove(chart, w / 3, h / 2);
    guitest::Click(chart, w / 3, h / 2);
    plot->PopupMenu1Popup(nullptr);
    plot->InsertExcluded1Click(nullptr);
    guitest::Click(chart, w / 3, h / 2);
    guitest::MouseMove(chart, w / 2, h / 2);
    guitest::Click(chart, w / 2, h / 2);
    plot->InsertBackground1Click(nullptr);
    guitest::Click(chart, w / 2, h / 3);
    plot->InsertBackground1Click(nullptr);
    // In d spacings the pattern still shows, whatever became of the model.
    plot->actSetd->Execute();
    EXPECT_GT(plot->PointSeries1->Count(), 0) << road;
    TBitmap picture;
    EXPECT_TRUE(guitest::ControlPicture(chart, picture)) << road;
    plot->actSetd->Execute();
    EXPECT_TRUE(guitest::ControlPicture(chart, picture)) << road;
    EXPECT_EQ(Dialogs.Count(), DialogsBefore) << road << ": " << (Dialogs.Count() ? Dialogs.Last().Text : "");
    // An edit went to the histogram the plot holds, if any, never elsewhere.
    for (int i = 1; Model && i <= Model->HistogramCount(); ++i) {
      if (Model->Histogram(i) == RefinePlotData->HistogramRef()) continue;
      EXPECT_EQ(Model->Histogram(i)->Excluded.Count(), regions[static_cast<size_t>(i - 1)]) << road;
      EXPECT_EQ(Model->Histogram(i)->Background.PointCount(), points[static_cast<size_t>(i - 1)]) << road;
    }
  }

  void EndProgram() {
    delete RefineForm;
    RefineForm = nullptr;
    Close();
    delete FormMacro;
    FormMacro = nullptr;
    Form.reset();
    Closed = false;
    ResetProgramState();
  }

  TTempDir Dir;
  TDialogResponder Dialogs;
  size_t DialogsBefore = 0;
  std::string Input, Here;
};

TEST_F(RefinePlotModelTest, EveryRoadThatReplacesTheModelLeavesThePlotNoFreedHistogram) {
  struct TRoad {
    const char* Name;
    std::function<void()> Go;
  };
  const std::string dir = IncludeTrailingPathDelimiter(Dir.Path());
  const TRoad roads[] = {
      {"the main window's Open", [&] { Form->ProcessFile(Input); }},
      {"the main window's Close",
       [&] {
         RefineForm->Close();
         Form->actClose->Execute();
         ASSERT_EQ(Model, nullptr);
       }},
      {"an import", [&] { Form->ProcessFile(dir + "quartz.dwb"); }},
      {"the text editor's Open",
       [&] {
         RefineForm->Close();
         Form->actManualEdit->Execute();
         ASSERT_NE(Form->ManualEditWindow, nullptr);
         guitest::TCommonDialogResponder files;
         files.Do([&](TCommonDialog* d) {
           dynamic_cast<TOpenDialog*>(d)->FileName = Input;
           return true;
         });
         Form->ManualEditWindow->actOpen->Execute();
       }},
      {"OPENRIETVELD", [&] { RunMacro("R = OPENRIETVELD(\"" + dir + "xray-cw\")"); }},
      {"REFINEFILE", [&] { RunMacro("R = REFINEFILE(\"" + dir + "xray-cw\")"); }},
      {"UPDATE after Finish",
       [&] {
         RefineForm->ButtonFinishClick(nullptr);
         RunMacro("R = UPDATE()");
       }},
  };
  for (const TRoad& road : roads) {
    RefineUntilThePlotShows();
    if (HasFatalFailure()) return;
    road.Go();
    DialogsBefore = Dialogs.Count();
    DrivePlot(road.Name);
    EndProgram();
  }
}

}  // namespace
