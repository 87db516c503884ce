// The chart editor window: where it opens and what it remembers, help, the
// tabs it hides and the page it starts on, tree mode, and the editor and
// previewer components that open it.
#include <gtest/gtest.h>

#include <memory>

#include "chart/core/golden.h"
#include "chart/core/grafutils.h"
#include "chart/editor/editchar.h"
#include "chart/editor/editortest.h"
#include "chart/editor/grafedit.h"
#include "chart/editor/grafchartgrid.h"
#include "chart/editor/grafediseri.h"
#include "chart/editor/grafedittools.h"
#include "chart/editor/graflisb.h"
#include "chart/editor/grafprevi.h"
#include "chart/editor/grafstore.h"
#include "chart/editor/grexport.h"
#include "platform/rtl/registry.h"
#include "platform/ui/forms.h"
#include "support/gui/guitest.h"
#include "support/tempdir.h"

namespace {

const char* const kPlaceValues[] = {"Left", "Top", "Width", "Height", "TreeWidth", "TreeMode",
                                    "RememberPosition", "RememberSize"};

class EditorWindow : public ::testing::Test {
protected:
  void SetUp() override {
    editortest::EnsureEditor();
    ClearPlace();
    chart = std::make_unique<TChart>(nullptr);
    chart->SetName("Edited");
    editortest::AddLine(*chart, "First", {1, 2, 3});
    editortest::AddLine(*chart, "Second", {3, 2, 1});
  }
  void TearDown() override { ClearPlace(); }
  static void ClearPlace() {
    TRegistry reg;
    if (!reg.OpenKey(EditorOptionsKey, true)) return;
    for (const char* v : kPlaceValues) reg.DeleteValue(v);
  }
  static void Store(const char* Name, int Value) {
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(EditorOptionsKey, true));
    reg.WriteInteger(Name, Value);
  }
  static bool Stored(const char* Name) {
    TRegistry reg(KEY_READ);
    return reg.OpenKeyReadOnly(EditorOptionsKey) && reg.ValueExists(Name);
  }
  // Opens the editor through the library's door; the action runs while it is up.
  void Edit(const std::function<void(TChartEditForm*)>& Action, int Page = cetMain) {
    guitest::TModalResponder answer;
    answer.Do([&](TCustomForm* f) {
      Action(static_cast<TChartEditForm*>(f));
      return mrCancel;
    });
    EditChartAtPage(nullptr, chart.get(), Page);
    EXPECT_EQ(answer.Count(), 1);
  }
  std::unique_ptr<TChart> chart;
};

TEST_F(EditorWindow, OpensAtTheDesignedSizeOnTheChartTab) {
  Edit([&](TChartEditForm* f) {
    EXPECT_EQ(f->Width(), 414);
    EXPECT_EQ(f->Height(), 347 + GetSystemMetrics(SM_CYSIZE) - 18);
    EXPECT_EQ(f->Caption(), "Editing Edited");
    EXPECT_EQ(f->EditedChart(), chart.get());
    EXPECT_EQ(f->MainPage->ActivePage(), f->TabChart);
    EXPECT_EQ(f->SubPage->ActivePage(), f->TabSeriesList);
    EXPECT_TRUE(f->MainPage->Enabled());
    EXPECT_TRUE(f->BAddSeries->Enabled());
    EXPECT_FALSE(f->Tree->Visible());
    EXPECT_FALSE(f->BAddGroup->Visible());
  });
}

// On a denser screen the designed size grows with the dots per inch; the
// caption bar's part does not.
TEST_F(EditorWindow, OpensScaledToTheScreensDotsPerInch) {
  struct Case {
    int Ppi, Width, Height;
  };
  for (const Case c : {Case{96, 414, 347}, Case{120, 517, 433}, Case{144, 621, 520}}) {
    ClearPlace();  // the size remembered at the last closing would come back
    SetScreenPixelsPerInch(c.Ppi);
    Edit([&](TChartEditForm* f) {
      EXPECT_EQ(f->Width(), c.Width) << c.Ppi;
      EXPECT_EQ(f->Height(), c.Height + GetSystemMetrics(SM_CYSIZE) - 18) << c.Ppi;
    });
  }
  SetScreenPixelsPerInch(0);
}

TEST_F(EditorWindow, RestoresAndClampsTheRememberedPlace) {
  Store("Left", 999999);
  Store("Top", 20);
  Store("Width", 50);
  Store("Height", 60);
  Edit([&](TChartEditForm* f) {
    EXPECT_EQ(f->Width(), 100);
    EXPECT_EQ(f->Height(), 100);
    EXPECT_EQ(f->Left() + f->Width(), Screen->Width());  // pulled back onto the screen
    EXPECT_EQ(f->Top(), 20);
  });
  ClearPlace();
  Store("Left", -40);
  Store("Top", -5);
  Edit([&](TChartEditForm* f) {
    EXPECT_EQ(f->Left(), 0);
    EXPECT_EQ(f->Top(), 0);
  });
}

TEST_F(EditorWindow, WritesWidthAndHeightOnlyWhenTheyDifferFromTheDesign) {
  Edit([&](TChartEditForm* f) { f->SetHeight(347); });
  EXPECT_TRUE(Stored("Left"));
  EXPECT_TRUE(Stored("Top"));
  EXPECT_FALSE(Stored("Width"));
  EXPECT_FALSE(Stored("Height"));
  EXPECT_FALSE(Stored("TreeWidth"));
  Edit([&](TChartEditForm* f) { f->SetWidth(500); });
  TRegistry reg(KEY_READ);
  ASSERT_TRUE(reg.OpenKeyReadOnly(EditorOptionsKey));
  EXPECT_EQ(reg.ReadInteger("Width"), 500);
}

TEST_F(EditorWindow, HiddenTabsAndTheStartPage) {
  TChartEditor editor(nullptr);
  editor.SetChart(chart.get());
  struct TCase {
    TChartEditorHiddenTabs Hidden;
    TChartEditorTab Start;
    TChartEditorTab Expected;  // a SubPage index, or cetPrintPreview for the Print tab
  };
  const TCase cases[] = {
      {{}, cetGeneral, cetGeneral},
      // A hidden start tab moves on to the next visible one, else back.
      {{cetAxis, cetTitles}, cetAxis, cetLegend},
      {{cetPanel, cetPaging, cetWalls, cet3D}, cetPanel, cetLegend},
      // Every chart tab hidden: the Chart tab goes too, and the start moves
      // to the first visible of Data, Tools, Export, Print.
      {{cetMain, cetGeneral, cetAxis, cetTitles, cetLegend, cetPanel, cetPaging, cetWalls, cet3D, cetSeriesData,
        cetTools, cetExport},
       cetAxis,
       cetPrintPreview},
  };
  for (const TCase& c : cases) {
    editor.HideTabs = c.Hidden;
    editor.DefaultTab = c.Start;
    editor.OnShow = [&](TObject* Sender) {
      auto* f = static_cast<TChartEditForm*>(Sender);
      f->OnShow = [f, c, prev = f->OnShow](TObject* s) {
        prev(s);
        if (c.Expected == cetPrintPreview) {
          EXPECT_FALSE(f->TabChart->TabVisible());
          EXPECT_EQ(f->MainPage->ActivePage(), f->TabPrint);
          ASSERT_NE(f->PreviewPage(), nullptr);
          EXPECT_FALSE(f->PreviewPage()->GBMargins->Visible());
          EXPECT_FALSE(f->PreviewPage()->PanelClose->Visible());
          EXPECT_EQ(f->PreviewPage()->GrafPreviewPanel1->Panel(), f->EditedChart());
        } else {
          EXPECT_EQ(f->SubPage->ActivePage()->PageIndex(), int(c.Expected)) << int(c.Start);
          EXPECT_EQ(f->StartPage, int(c.Expected));
        }
      };
    };
    guitest::TModalResponder answer;
    answer.Answer(mrCancel);
    editor.ShowEditor();
    EXPECT_EQ(answer.Count(), 1);
  }
}

TEST_F(EditorWindow, TheGeneralPageIsMadeOnItsFirstShowing) {
  Edit(
      [&](TChartEditForm* f) {
        TForm* page = f->ChartPage(1);
        ASSERT_NE(page, nullptr);
        EXPECT_EQ(page->Parent(), f->TabGeneral);
        EXPECT_EQ(page->ClassName(), "TFormGrafGeneral");
        f->SubPage->SetActivePage(f->TabSeriesList);
        f->SubPageChange(f->SubPage);
        f->SubPage->SetActivePage(f->TabGeneral);
        f->SubPageChange(f->SubPage);
        EXPECT_EQ(f->ChartPage(1), page);  // made once
      },
      cetGeneral);
}

TEST_F(EditorWindow, HelpOnlyWithTheOptionAndInstalledHelp) {
  TTempDir dir;
  {
    TRegistry reg;
    reg.SetRootKey(HKEY_LOCAL_MACHINE);
    ASSERT_TRUE(reg.OpenKey("SOFTWARE\\Microsoft\\Windows\\Help", true));
    reg.WriteString("GrafUser7.hlp", dir.Path());
  }
  TChartEditor editor(nullptr);
  editor.SetChart(chart.get());
  for (bool help : {true, false}) {
    editor.Options = help ? DefaultEditorOptions : DefaultEditorOptions - TChartEditorOptions{ceHelp};
    bool shown = false, icon = false;
    editor.OnShow = [&](TObject* f) {
      auto* form = static_cast<TChartEditForm*>(f);
      shown = form->ButtonHelp->Visible();
      icon = form->BorderIcons().Contains(biHelp);
    };
    guitest::TModalResponder answer;
    answer.Answer(mrCancel);
    editor.ShowEditor();
    EXPECT_EQ(shown, help);
    EXPECT_EQ(icon, help);
  }
  {
    TRegistry reg;
    reg.SetRootKey(HKEY_LOCAL_MACHINE);
    if (reg.OpenKey("SOFTWARE\\Microsoft\\Windows\\Help", false)) reg.DeleteValue("GrafUser7.hlp");
  }
  // No help installed: no button even with the option.
  editor.Options = DefaultEditorOptions;
  bool shown = true;
  editor.OnShow = [&](TObject* f) { shown = static_cast<TChartEditForm*>(f)->ButtonHelp->Visible(); };
  guitest::TModalResponder answer;
  answer.Answer(mrCancel);
  editor.ShowEditor();
  EXPECT_FALSE(shown);
}

TEST_F(EditorWindow, TheEditorComponentFollowsItsChartAndSeries) {
  TChart other(nullptr);
  TLineSeries* elsewhere = editortest::AddLine(other, "Elsewhere", {1});
  TChartEditor editor(nullptr);
  editor.SetChart(chart.get());
  editor.SetSeries(elsewhere);  // a series of another chart brings its chart
  EXPECT_EQ(editor.Chart(), &other);
  editor.SetChart(chart.get());  // and another chart drops the series
  EXPECT_EQ(editor.Series(), nullptr);
  editor.SetSeries(chart->SeriesAt(0));
  chart.reset();  // destroying the chart clears both
  EXPECT_EQ(editor.Chart(), nullptr);
  EXPECT_EQ(editor.Series(), nullptr);
  editor.ShowEditor();  // without a chart: nothing, and no window
}

TEST_F(EditorWindow, TheEditorComponentClosesTheWindowAndRestoresRepainting) {
  TChartEditor editor(nullptr);
  editor.SetChart(chart.get());
  editor.AutoRepaint = false;
  editor.SetTitle("Own title");
  bool repaintWhileOpen = true;
  std::string caption;
  int closed = 0;
  editor.OnShow = [&](TObject* f) { caption = static_cast<TChartEditForm*>(f)->Caption(); };
  editor.OnClose = [&](TObject*) { ++closed; };
  guitest::TModalResponder answer;
  answer.Do([&](TCustomForm*) {
    repaintWhileOpen = chart->RepaintOnChange;
    return mrCancel;
  });
  editor.ShowEditor();
  EXPECT_EQ(caption, "Own title");
  EXPECT_FALSE(repaintWhileOpen);
  EXPECT_TRUE(chart->RepaintOnChange);
  EXPECT_EQ(closed, 1);
  EXPECT_TRUE(chart->MouseCancelled);  // the opening click goes no further
}

TEST_F(EditorWindow, ThePreviewerSwitchesProportionalPrintingOffOnlyWithoutTheOption) {
  TChartPreviewer previewer(nullptr);
  previewer.SetChart(chart.get());
  chart->SetPrintProportional(true);
  bool allowMove = false;
  previewer.OnShow = [&](TObject* f) {
    allowMove = static_cast<TChartPreview*>(f)->GrafPreviewPanel1->AllowMove();
  };
  guitest::TModalResponder answer;
  answer.Answer(mrOk).Answer(mrOk);
  previewer.ShowEditor();
  EXPECT_TRUE(chart->PrintProportional());
  EXPECT_TRUE(allowMove);
  EXPECT_EQ(previewer.PreviewForm, nullptr);
  previewer.Options = DefaultPreviewOptions - TChartPreviewOptions{cpoProportional, cpoMoveChart};
  previewer.ShowEditor();
  EXPECT_FALSE(chart->PrintProportional());
  EXPECT_FALSE(allowMove);
  chart->SetPrintProportional(true);
  EXPECT_TRUE(chart->PrintProportional());
}

TEST_F(EditorWindow, TreeModeStartsWithTheSeriesNodeCollapsedFromElevenSeries) {
  for (int n : {2, 11}) {
    while (chart->NumberOfSeries() < n) editortest::AddLine(*chart, "More", {1});
    TChartEditor editor(nullptr);
    editor.SetChart(chart.get());
    editor.TreeView = true;
    TTreeNode* series = nullptr;
    bool expanded = false, chartExpanded = false;
    int seriesChildren = 0;
    std::vector<std::string> axisNodes;
    editor.OnShow = [&](TObject* Sender) {
      auto* f = static_cast<TChartEditForm*>(Sender);
      f->OnShow = [f, prev = f->OnShow, &series, &expanded, &chartExpanded, &seriesChildren, &axisNodes](TObject* s) {
        prev(s);
        series = f->SeriesNode;
        ASSERT_NE(series, nullptr);
        expanded = series->Expanded();
        seriesChildren = series->Count();
        TTreeNode* chartNode = series->GetNextSibling();
        ASSERT_NE(chartNode, nullptr);
        EXPECT_EQ(chartNode->Text(), "Chart");
        chartExpanded = chartNode->Expanded();
        EXPECT_TRUE(series->Selected());
        EXPECT_FALSE(f->MainPage->Visible());
        EXPECT_EQ(f->Width(), f->Tree->Width() + f->PageWidth + f->TreeSplitter->Width());
        // In-place edits of node texts are refused.
        bool allow = true;
        f->TreeEditing(f->Tree, series, allow);
        EXPECT_FALSE(allow);
      };
    };
    guitest::TModalResponder answer;
    answer.Answer(mrCancel);
    editor.ShowEditor();
    EXPECT_EQ(expanded, n < 11) << n;
    EXPECT_EQ(seriesChildren, n);
    EXPECT_TRUE(chartExpanded);
  }
}

// The window opens on the series list with the first series selected, and
// the series buttons follow the options and the series' style.
TEST_F(EditorWindow, OpensOnTheSeriesListWithTheFirstSeriesSelected) {
  Edit([&](TChartEditForm* f) {
    EXPECT_EQ(f->SubPage->ActivePage(), f->TabSeriesList);
    ASSERT_EQ(f->LBSeries->Items()->Count(), 2);
    EXPECT_EQ(f->LBSeries->ItemIndex(), 0);
    EXPECT_EQ(f->LBSeries->SelectedSeries(), chart->SeriesAt(0));
    for (TButton* b : {f->BAddSeries, f->BDeleteSeries, f->BRenameSeries, f->BCloneSeries, f->BChangeTypeSeries})
      EXPECT_TRUE(b->Enabled()) << b->Caption();
    EXPECT_FALSE(f->BMoveUP->Enabled());  // the first series
    EXPECT_TRUE(f->BMoveDown->Enabled());
  });
  // Options and styles that forbid them, a table of cases.
  struct TCase {
    TChartEditorOptions Options;
    TChartSeriesStyle Style;
    bool Add, Delete, Title, Clone, Change;
  };
  const TCase cases[] = {
      {{ceDelete, ceChange, ceTitle, ceHelp}, {}, false, true, true, false, true},  // the pattern plot's
      {DefaultEditorOptions, {csfUndeletable}, true, false, true, true, true},
      {DefaultEditorOptions, {csfTemplate}, true, false, true, false, true},
      {DefaultEditorOptions, {csfNoClone, csfFixedType}, true, true, true, false, false},
  };
  for (const TCase& c : cases) {
    chart->SeriesAt(0)->SetStyle(c.Style);
    TChartEditor editor(nullptr);
    editor.SetChart(chart.get());
    editor.Options = c.Options;
    bool add = false, del = false, title = false, clone = false, change = false;
    editor.OnShow = [&](TObject* Sender) {
      auto* f = static_cast<TChartEditForm*>(Sender);
      f->OnShow = [&, f, prev = f->OnShow](TObject* s) {
        prev(s);
        add = f->BAddSeries->Enabled();
        del = f->BDeleteSeries->Enabled();
        title = f->BRenameSeries->Enabled();
        clone = f->BCloneSeries->Enabled();
        change = f->BChangeTypeSeries->Enabled();
      };
    };
    guitest::TModalResponder answer;
    answer.Answer(mrCancel);
    editor.ShowEditor();
    EXPECT_EQ(add, c.Add);
    EXPECT_EQ(del, c.Delete);
    EXPECT_EQ(title, c.Title);
    EXPECT_EQ(clone, c.Clone);
    EXPECT_EQ(change, c.Change);
  }
  chart->SeriesAt(0)->SetStyle({});
}

TEST_F(EditorWindow, AChartWithoutSeriesOffersOnlyAdd) {
  while (chart->NumberOfSeries() > 0) delete chart->SeriesAt(0);
  Edit([&](TChartEditForm* f) {
    EXPECT_TRUE(f->BAddSeries->Enabled());
    for (TButton* b : {f->BDeleteSeries, f->BRenameSeries, f->BCloneSeries, f->BChangeTypeSeries})
      EXPECT_FALSE(b->Enabled()) << b->Caption();
    f->MainPage->SetActivePage(f->TabData);
    f->MainPageChange(f->MainPage);
    EXPECT_FALSE(f->SBGrid3D->Enabled());
  });
}

// Every chart tab, the series page, the data, tools and print tabs render
// without an exception, each page made once and bound to the chart.
TEST_F(EditorWindow, EveryTabRendersItsPage) {
  Edit([&](TChartEditForm* f) {
    TBitmap shown;
    for (int i = 1; i < f->SubPage->PageCount(); ++i) {
      f->SubPage->SetActivePage(f->SubPage->Pages(i));
      f->SubPageChange(f->SubPage);
      ASSERT_NE(f->ChartPage(i), nullptr) << f->SubPage->Pages(i)->Caption();
      EXPECT_EQ(f->ChartPage(i)->Parent(), f->SubPage->Pages(i));
      EXPECT_NO_THROW(guitest::ControlPicture(f, shown)) << f->SubPage->Pages(i)->Caption();
    }
    for (TTabSheet* t : {f->TabSeries, f->TabData, f->TabTools, f->TabExport, f->TabPrint}) {
      bool allow = true;
      f->MainPageChanging(f->MainPage, allow);
      ASSERT_TRUE(allow);
      f->MainPage->SetActivePage(t);
      f->MainPageChange(f->MainPage);
      EXPECT_NO_THROW(guitest::ControlPicture(f, shown)) << t->Caption();
    }
    ASSERT_NE(f->SeriesPage, nullptr);
    EXPECT_EQ(f->SeriesPage->CurrentSeries, chart->SeriesAt(0));
    EXPECT_EQ(f->SeriesPage->SeriesListBox, f->LBSeries);
    EXPECT_EQ(f->LBSeries->OtherItems, f->SeriesPage->CBSeries->Items());
    ASSERT_NE(f->ToolsPage(), nullptr);
    EXPECT_EQ(f->ToolsPage()->Chart(), chart.get());
    ASSERT_NE(f->ExportPage(), nullptr);
    EXPECT_EQ(f->ExportPage()->Panel(), chart.get());
  });
}

// The export tab holds the export dialog, made once, without its Close
// button; every showing clears the file size, hides "Native" as the hidden
// tabs say and enables the buttons; an export from the tab writes its file.
TEST_F(EditorWindow, TheExportTabEmbedsTheExportDialog) {
  TChartEditor editor(nullptr);
  editor.SetChart(chart.get());
  TTempDir dir;
  const std::string file = dir.File("edited.grf");
  struct TCase {
    TChartEditorHiddenTabs Hidden;
    bool NativeShown;
  } cases[] = {{{}, true}, {{cetExportNative}, false}};
  for (const TCase& c : cases) {
    editor.HideTabs = c.Hidden;
    editor.DefaultTab = cetExport;
    editor.OnShow = [&](TObject* Sender) {
      auto* f = static_cast<TChartEditForm*>(Sender);
      f->OnShow = [&, f, c, prev = f->OnShow](TObject* s) {
        prev(s);
        EXPECT_TRUE(f->TabExport->TabVisible());
        EXPECT_EQ(f->MainPage->ActivePage(), f->TabExport);
        TGrafExportForm* page = f->ExportPage();
        ASSERT_NE(page, nullptr);
        EXPECT_EQ(page->Parent(), f->TabExport);
        EXPECT_EQ(page->Align(), alClient);
        EXPECT_EQ(page->BorderStyle(), bsNone);
        EXPECT_FALSE(page->BClose->Visible());
        EXPECT_EQ(page->Panel(), chart.get());
        EXPECT_EQ(page->TabNative->TabVisible(), c.NativeShown);
        EXPECT_TRUE(page->BCopy->Enabled());  // the picture page
        EXPECT_TRUE(page->BSave->Enabled());
        TBitmap shown;
        EXPECT_NO_THROW(guitest::ControlPicture(f, shown));

        // Leave and come back: the same dialog, the file size cleared, the
        // buttons for the page it is on.
        page->PageControl1->SetActivePage(page->TabData);
        page->RGText->SetItemIndex(3);
        page->EnableButtons();
        ASSERT_FALSE(page->BCopy->Enabled());  // "Excel"
        page->CBFileSize->SetChecked(true);
        f->MainPage->SetActivePage(f->TabData);
        f->MainPageChange(f->MainPage);
        chart->SetBounds(0, 0, 300, 200);
        f->MainPage->SetActivePage(f->TabExport);
        f->MainPageChange(f->MainPage);
        EXPECT_EQ(f->ExportPage(), page);
        EXPECT_FALSE(page->CBFileSize->Checked());
        EXPECT_EQ(page->LabelSize->Caption(), "?");
        EXPECT_EQ(page->UDWidth->Position(), 300);  // the chart's size now
        EXPECT_EQ(page->PageControl1->ActivePage(), page->TabData);
        EXPECT_TRUE(page->BCopy->Enabled());  // a new showing starts on "Text"...
        EXPECT_EQ(page->RGText->ItemIndex(), 0);
        EXPECT_TRUE(page->BSave->Enabled());
        if (!c.NativeShown) return;
        // ... and the native page saves the chart as a chart file.
        page->PageControl1->SetActivePage(page->TabNative);
        page->EnableButtons();
        guitest::TCommonDialogResponder files;
        files.Do([&](TCommonDialog* d) {
          static_cast<TSaveDialog*>(d)->FileName = file;
          return true;
        });
        page->BSave->Click();
      };
    };
    guitest::TModalResponder answer;
    answer.Answer(mrCancel);
    editor.ShowEditor();
    EXPECT_EQ(answer.Count(), 1);
  }
  // Read back: the two series came through.
  TChart loaded(nullptr);
  TStringStream in(TTempDir::Read(file));
  ReadChartStream(&loaded, in);
  ASSERT_EQ(loaded.NumberOfSeries(), 2);
  EXPECT_EQ(loaded.SeriesAt(1)->PointCount(), 3);
}

// Double-clicking a series opens its page; deleting the only series empties
// the series page.
TEST_F(EditorWindow, DeletingTheOnlySeriesClearsTheSeriesPage) {
  delete chart->SeriesAt(1);
  Edit([&](TChartEditForm* f) {
    f->LBSeriesEditSeries(f->LBSeries, 0);
    EXPECT_EQ(f->MainPage->ActivePage(), f->TabSeries);
    ASSERT_NE(f->SeriesPage, nullptr);
    EXPECT_EQ(f->SeriesPage->CurrentSeries, chart->SeriesAt(0));
    f->MainPage->SetActivePage(f->TabChart);
    f->LBSeries->AskDelete = false;
    f->BDeleteSeries->Click();
    EXPECT_EQ(chart->NumberOfSeries(), 0);
    EXPECT_EQ(f->SeriesPage->CurrentSeries, nullptr);
    EXPECT_EQ(f->SeriesPage->SeriesEditorForm(), nullptr);
    EXPECT_FALSE(f->BDeleteSeries->Enabled());
  });
}

// The data tab's speed buttons switch the grid; the popup offers colour
// items only on a series' cell.
TEST_F(EditorWindow, TheDataTabsSwitches) {
  Edit([&](TChartEditForm* f) {
    f->MainPage->SetActivePage(f->TabData);
    f->MainPageChange(f->MainPage);
    EXPECT_FALSE(f->SBGridX->Down());  // X values 0, 1, 2
    EXPECT_FALSE(f->SBGrid3D->Enabled());
    f->SBGridText->SetDown(true);
    f->SBGridText->Click();
    EXPECT_TRUE(f->ChartGrid1->ShowLabels());
    f->SBGridX->SetDown(true);
    f->SBGridX->Click();
    EXPECT_EQ(f->ChartGrid1->ShowXValues(), cgsYes);
    f->SBGridX->SetDown(false);
    f->SBGridX->Click();
    EXPECT_EQ(f->ChartGrid1->ShowXValues(), cgsNo);
  });
}

// The reviewed picture of the window in tab mode on its series list.
TEST_F(EditorWindow, TheWindowInTabMode) {
  chart->SeriesAt(0)->SetSeriesColor(clRed);
  chart->SeriesAt(1)->SetSeriesColor(clBlue);
  Edit([&](TChartEditForm* f) {
    f->SetBounds(0, 0, 414, 347);
    TBitmap shown;
    ASSERT_TRUE(guitest::ControlPicture(f, shown));
    shown.SetPixelFormat(pf24bit);
    ExpectMatchesGoldenIn("tests/chart/editor/golden", shown, "editor_window.png");
  });
}

}  // namespace
