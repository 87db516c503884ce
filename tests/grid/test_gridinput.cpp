// The string grid driven end to end by real input: keys and typed text,
// focus changes, the grid's timer, form resizes and the search footer's
// controls, each reaching what it has to call.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "grid/plusgrid.h"
#include "grid/support/plusobj.h"
#include "platform/ui/forms.h"
#include "platform/ui/menuloop.h"
#include "platform/ui/stdctrls.h"
#include "support/gui/guitest.h"

using namespace guitest;

namespace {

struct InputGrid : ::testing::Test {
  TForm* Form = nullptr;
  TPlusStringGrid* Grid = nullptr;
  TEdit* Other = nullptr;
  void SetUp() override {
    EnsureGui();
    Form = new TForm(nullptr);
    Form->SetBounds(0, 0, 600, 400);
    Grid = new TPlusStringGrid(Form);
    Grid->SetParent(Form);
    Grid->SetBounds(0, 0, 500, 300);
    Grid->SetColCount(4);
    Grid->SetRowCount(5);
    Other = new TEdit(Form);
    Other->SetParent(Form);
    Other->SetBounds(0, 320, 100, 24);
    Form->Show();
    Grid->SetFocus();
    ProcessEvents();
  }
  void TearDown() override {
    delete Form;
    ProcessEvents();
  }
  void Option(TGridOption o, bool on = true) {
    TGridOptions v = Grid->Options();
    Grid->SetOptions(on ? v.Include(o) : v.Exclude(o));
  }
  std::pair<int, int> Cell() const { return {Grid->Col(), Grid->Row()}; }
  // The lowest pixel row of the current cell that shows.
  int CurrentBottom() const { return Grid->CellRect(Grid->Col(), Grid->Row()).Bottom; }
};

// ---- editing and moving by keys

TEST_F(InputGrid, AFloatTypedAndEnteredIsValidatedOnceStoredAndMovedOn) {
  Option(goEditing);
  Grid->Navigation()->SetAdvanceOnEnter(true);
  Grid->OnGetEditorType = [](TObject*, int, int, TEditorType& e) { e = edFloat; };
  std::vector<std::string> validated;
  int changed = 0;
  Grid->OnCellValidate = [&](TObject*, int, int, std::string& v, bool&) { validated.push_back(v); };
  Grid->OnCellsChanged = [&](TObject*, TRect) { ++changed; };
  TypeText(Grid, "1");
  ASSERT_TRUE(Grid->EditorShown());
  TypeText(Grid->InplaceEditor(), ".5");
  Key(Grid->InplaceEditor(), VK_RETURN, "\r");
  ProcessEvents();
  EXPECT_EQ(validated, (std::vector<std::string>{"1.5"}));
  EXPECT_EQ(changed, 1);
  EXPECT_DOUBLE_EQ(Grid->GetCellFloat(1, 1), 1.5);
  EXPECT_EQ(Cell(), std::make_pair(2, 1));
}

TEST_F(InputGrid, EnterOnAGridLeftWithoutEditableCellsKeepsTheCell) {
  Option(goEditing);
  Grid->Navigation()->SetAdvanceOnEnter(true);
  bool editable = true;
  Grid->OnCanEditCell = [&](TObject*, int, int, bool& can) { can = editable; };
  Grid->SetCol(2);
  Grid->SetRow(2);
  TypeText(Grid, "x");
  ASSERT_TRUE(Grid->EditorShown());
  editable = false;
  Key(Grid->InplaceEditor(), VK_RETURN, "\r");
  ProcessEvents();
  EXPECT_EQ(Cell(), std::make_pair(2, 2));
  EXPECT_EQ(Grid->Cells(2, 2), "x");
}

TEST_F(InputGrid, TabPastTheLastCellWrapsAndCanHandTheFocusOn) {
  Option(goTabs);
  Grid->SetCol(3);
  Grid->SetRow(4);
  Key(Grid, VK_TAB, "\t");
  EXPECT_EQ(Cell(), std::make_pair(1, 1)) << "the first normal cell";
  EXPECT_TRUE(Grid->Focused());

  Grid->Navigation()->SetTabToNextAtEnd(true);
  Grid->SetCol(3);
  Grid->SetRow(4);
  Key(Grid, VK_TAB, "\t");
  ProcessEvents();
  EXPECT_EQ(Cell(), std::make_pair(1, 1));
  EXPECT_TRUE(Other->Focused()) << "the parent moved the focus to the next control";
}

TEST_F(InputGrid, TabMovesThroughTheCellChange) {
  Option(goEditing);
  Option(goTabs);
  Grid->GetCellProperties(2, 1)->SetReadOnly(true);
  std::vector<int> rows;
  Grid->OnRowUpdate = [&](TObject*, int, int r) { rows.push_back(r); };
  Grid->SetCol(2);
  ASSERT_FALSE(Grid->Options().Contains(goEditing)) << "a read-only cell switches editing off";
  Key(Grid, VK_TAB, "\t");
  EXPECT_EQ(Cell(), std::make_pair(3, 1));
  EXPECT_TRUE(Grid->Options().Contains(goEditing)) << "and the next editable cell on again";
  TypeText(Grid, "x");
  EXPECT_TRUE(Grid->EditorShown());
  Key(Grid->InplaceEditor(), VK_TAB, "\t");
  EXPECT_EQ(Cell(), std::make_pair(1, 2));
  EXPECT_EQ(Grid->Cells(3, 1), "x");
  EXPECT_EQ(rows, (std::vector<int>{1, 2})) << "the wrap to the next row is reported";

  Grid->OnCellChanging = [](TObject*, int, int, int, int, bool& allow) { allow = false; };
  Key(Grid, VK_TAB, "\t");
  EXPECT_EQ(Cell(), std::make_pair(1, 2)) << "a refused move leaves the cell";
}

TEST_F(InputGrid, HomeAndEndGoThroughTheCellChange) {
  Grid->Navigation()->SetHomeEndKey(heFirstLastRow);
  std::vector<std::pair<int, int>> moves;
  Grid->OnRowChanging = [&](TObject*, int from, int to, bool&) { moves.emplace_back(from, to); };
  std::vector<int> rows;
  Grid->OnRowUpdate = [&](TObject*, int, int r) { rows.push_back(r); };
  Grid->SetRow(3);
  Key(Grid, VK_END);
  Key(Grid, VK_HOME);
  EXPECT_EQ(Grid->Row(), 1);
  EXPECT_EQ(moves, (std::vector<std::pair<int, int>>{{1, 3}, {3, 4}, {4, 1}}));
  EXPECT_EQ(rows, (std::vector<int>{3, 4, 1}));
}

TEST_F(InputGrid, OnKeyDownSeesTheGridsOwnKeysAndMayVetoThem) {
  Grid->Navigation()->SetAllowDeleteRow(true);
  Grid->Navigation()->SetAllowInsertRow(true);
  Grid->Navigation()->SetAllowClipboardShortCuts(true);
  std::vector<uint16_t> keys;
  bool veto = true;
  Grid->OnKeyDown = [&](TObject*, uint16_t& k, TShiftState) {
    keys.push_back(k);
    if (veto) k = 0;
  };
  int copies = 0;
  Grid->OnClipboardCopy = [&](TObject*, bool& allow) {
    ++copies;
    allow = false;
  };
  int inserted = 0, deleted = 0;
  Grid->OnAutoInsertRow = [&](TObject*, int) { ++inserted; };
  Grid->OnAutoDeleteRow = [&](TObject*, int) { ++deleted; };
  Key(Grid, VK_DELETE);
  Key(Grid, VK_INSERT);
  Key(Grid, 'C', "c", {ssCtrl});
  Key(Grid, 'A', "a", {ssCtrl});
  EXPECT_EQ(keys, (std::vector<uint16_t>{VK_DELETE, VK_INSERT, 'C', 'A'}));
  EXPECT_EQ(Grid->RowCount(), 5);
  EXPECT_EQ(inserted + deleted + copies, 0) << "vetoed keys do nothing";

  veto = false;
  Key(Grid, VK_INSERT);
  Key(Grid, VK_DELETE);
  Key(Grid, 'C', "c", {ssCtrl});
  EXPECT_EQ(inserted, 1);
  EXPECT_EQ(deleted, 1);
  EXPECT_EQ(copies, 1);
}

TEST_F(InputGrid, DeletingTheLastRowAboveAFloatingFooterStaysOffTheFooterRow) {
  Grid->SetRowCount(6);
  Grid->FloatingFooter()->SetVisible(true);
  Grid->Navigation()->SetAllowDeleteRow(true);
  Grid->SetRow(4);
  Key(Grid, VK_DELETE);
  EXPECT_EQ(Grid->RowCount(), 5);
  EXPECT_EQ(Grid->Row(), 3) << "the new last normal row";
}

TEST_F(InputGrid, GotoTypingSearchesTheColumnTheGridIsSortedOn) {
  Grid->Navigation()->SetAutoGotoWhenSorted(true);
  const char* names[] = {"apple", "banana", "bandit", "cherry"};
  for (int r = 1; r < 5; ++r) {
    Grid->SetCells(1, r, names[4 - r]);
    Grid->SetCells(2, r, names[r - 1]);
  }
  Grid->SortSettings()->SetShow(true);
  Grid->SortSettings()->SetColumn(2);
  TypeText(Grid, "c");
  EXPECT_EQ(Grid->Row(), 4);
  TypeText(Grid, "a");
  EXPECT_EQ(Grid->Row(), 1);

  Grid->SortSettings()->SetIndexShow(true);
  Grid->SortIndexes()->AddIndex(1, true);
  TypeText(Grid, "c");
  EXPECT_EQ(Grid->Row(), 1) << "the first column of the sort index";
  TypeText(Grid, "a");
  EXPECT_EQ(Grid->Row(), 4);
}

TEST_F(InputGrid, F2OnACellWithAFormControlOpensTheControlsEditor) {
  Option(goEditing);
  Grid->SetDefaultColWidth(120);
  Grid->SetCells(1, 1, "<CONTROL TYPE=\"EDIT\" ID=\"e1\" VALUE=\"one\" WIDTH=\"50\">");
  Key(Grid, VK_F2);
  ASSERT_TRUE(Grid->ControlEditOpen());
  EXPECT_EQ(Grid->ControlID(), "e1");
  EXPECT_EQ(Grid->ControlEdit()->Text(), "one");
  EXPECT_FALSE(Grid->EditorShown()) << "not the default editor";
  Other->SetFocus();
  ProcessEvents();
  EXPECT_FALSE(Grid->ControlEditOpen());

  // Markup cells are edited by clicking their controls.
  Grid->SetCells(1, 1, "<CONTROL TYPE=\"EDIT\" ID=\"e1\" VALUE=\"one\" WIDTH=\"50\"> <I>x</I>");
  Grid->SetFocus();
  Key(Grid, VK_F2);
  EXPECT_FALSE(Grid->ControlEditOpen());
  EXPECT_FALSE(Grid->EditorShown());
}

TEST_F(InputGrid, DisjointColumnAndCellMarksFollowSpace) {
  Grid->MouseActions()->SetDisjunctColSelect(true);
  Grid->SetCol(2);
  Key(Grid, VK_SPACE, " ");
  EXPECT_TRUE(Grid->GetColSelect(2));
  Key(Grid, VK_SPACE, " ");
  EXPECT_FALSE(Grid->GetColSelect(2));

  Grid->MouseActions()->SetDisjunctColSelect(false);
  Grid->MouseActions()->SetDisjunctCellSelect(true);
  Grid->SetCol(1);
  Key(Grid, VK_RIGHT, "", {ssShift});
  ASSERT_EQ(Grid->Selection(), (TGridRect{1, 1, 2, 1}));
  Key(Grid, VK_SPACE, " ");
  // Cells as row * 65536 + column: the current cell, then the rest of the selection.
  EXPECT_EQ(Grid->SelectedCells(), (std::vector<uint32_t>{65536u + 2u, 65536u + 1u}));
}

// ---- focus

TEST_F(InputGrid, TheGridIsEnteredAndLeftWithItsEditorsAsOneControl) {
  Option(goEditing);
  std::vector<std::string> log;
  Grid->OnEnter = [&](TObject*) { log.push_back("enter"); };
  Grid->OnExit = [&](TObject*) { log.push_back("exit"); };
  TypeText(Grid, "x");
  ASSERT_TRUE(Grid->EditorShown());
  Key(Grid->InplaceEditor(), VK_RETURN, "\r");
  TypeText(Grid, "y");
  ASSERT_TRUE(Grid->EditorShown());
  EXPECT_TRUE(log.empty()) << "the editor coming and going is no exit";
  Other->SetFocus();
  ProcessEvents();
  EXPECT_EQ(log, (std::vector<std::string>{"exit"})) << "leaving from the editor leaves the grid";
  EXPECT_EQ(Grid->Cells(1, 1), "y");
  Grid->SetFocus();
  ProcessEvents();
  EXPECT_EQ(log, (std::vector<std::string>{"exit", "enter"}));
}

TEST_F(InputGrid, WithAlwaysEditEscapeClosesTheEditorForGood) {
  Option(goEditing);
  Grid->Navigation()->SetAlwaysEdit(true);
  Grid->SetCells(1, 1, "old");
  TypeText(Grid, "x");
  ASSERT_TRUE(Grid->EditorShown());
  Key(Grid->InplaceEditor(), VK_ESCAPE, "\x1b");
  ProcessEvents();
  EXPECT_FALSE(Grid->EditorShown()) << "the focus came back from the editor itself";
  EXPECT_EQ(Grid->Cells(1, 1), "old");
  Other->SetFocus();
  Grid->SetFocus();
  ProcessEvents();
  EXPECT_TRUE(Grid->EditorShown()) << "from another control the editor reopens";
}

TEST_F(InputGrid, LosingTheFocusReleasesAHeldEmbeddedButton) {
  Grid->SetDefaultColWidth(120);
  Grid->SetCells(2, 2, "<CONTROL TYPE=\"BUTTON\" ID=\"b\" VALUE=\"Go\" WIDTH=\"40\"> <I>x</I>");
  const TRect r = Grid->CellRect(2, 2);
  // Pressed as the button press over the cell's text presses it.
  ASSERT_TRUE(Grid->ClickCellLink(2, 2, r.Left + 4, r.Top + 6));
  ASSERT_TRUE(Grid->ControlButtonPressed());
  Other->SetFocus();
  ProcessEvents();
  EXPECT_FALSE(Grid->ControlButtonPressed());
}

TEST_F(InputGrid, AnOwnControlEditorFollowsTheWidthsOfTheColumns) {
  Option(goEditing);
  Grid->OnGetEditorType = [](TObject*, int, int, TEditorType& e) { e = edSpinEdit; };
  Grid->SetCol(2);
  Key(Grid, VK_F2);
  TWinControl* spin = Grid->ActiveEditorControl();
  ASSERT_NE(spin, nullptr);
  ASSERT_TRUE(spin->Visible());
  auto covers = [&] {
    const TRect c = Grid->CellRect(2, 1);
    EXPECT_EQ(spin->Left(), c.Left);
    EXPECT_EQ(spin->Width(), c.Right - c.Left - 1);
  };
  Grid->SetColWidths(2, 150);
  covers();
  Grid->SetColWidths(1, 30);
  covers();
  EXPECT_TRUE(spin->Visible()) << "the edit stays open";
}

// ---- painting under the redraw lock

TEST_F(InputGrid, NothingPaintsUnderTheRedrawLock) {
  const TRect r = Grid->CellRect(2, 2);
  const int x = (r.Left + r.Right) / 2, y = (r.Top + r.Bottom) / 2;
  ASSERT_NE(SurfacePixel(Grid, x, y), clRed);
  Grid->LockRedraw();
  Grid->GetCellProperties(2, 2)->SetBrushColor(clRed);
  Grid->SetBounds(0, 0, 480, 290);  // a resize asks for a paint
  ProcessEvents();
  EXPECT_NE(SurfacePixel(Grid, x, y), clRed);
  Grid->UnlockRedraw();
  ProcessEvents();
  EXPECT_EQ(SurfacePixel(Grid, x, y), clRed);
}

// ---- the panels at the bottom

TEST_F(InputGrid, TheCurrentRowStaysAboveTheSearchFooter) {
  Grid->SetRowCount(30);
  Grid->SearchFooter()->SetVisible(true);
  ProcessEvents();
  const int panelTop = Grid->SearchPanel()->Top();
  ASSERT_EQ(panelTop, Grid->ClientHeight() - 32);
  for (int i = 0; i < 29; ++i) {
    Key(Grid, VK_DOWN);
    ASSERT_LE(CurrentBottom(), panelTop) << "row " << Grid->Row();
  }
  EXPECT_EQ(Grid->Row(), 29);
  Key(Grid, VK_HOME, "", {ssCtrl});
  Key(Grid, VK_NEXT);
  EXPECT_LE(CurrentBottom(), panelTop);
  Key(Grid, VK_END, "", {ssCtrl});
  EXPECT_LE(CurrentBottom(), panelTop);

  // Scrolled to the end with the bar, the last row shows above the panel.
  Key(Grid, VK_HOME, "", {ssCtrl});
  Grid->Perform(WM_VSCROLL, MAKEWPARAM(SB_BOTTOM, 0), 0);
  Grid->Perform(WM_VSCROLL, MAKEWPARAM(SB_ENDSCROLL, 0), 0);
  EXPECT_LE(Grid->CellRect(1, 29).Bottom, panelTop);
  EXPECT_GT(Grid->CellRect(1, 29).Bottom, 0);

  // A found row near the end is shown above the panel too.
  Grid->SetCells(2, 28, "needle");
  Key(Grid, VK_HOME, "", {ssCtrl});
  TypeText(Grid->SearchPanel()->SearchEdit(), "needle");
  EXPECT_EQ(Cell(), std::make_pair(2, 28));
  EXPECT_LE(CurrentBottom(), panelTop);

  const int shown = Grid->VisibleRowCount();
  Click(Grid->SearchPanel()->CloseButton(), 5, 5);
  EXPECT_GT(Grid->VisibleRowCount(), shown) << "closed, the rows take the whole client";
}

TEST_F(InputGrid, TheCurrentRowStaysAboveAFloatingFooterThatShowsTheLastRow) {
  Grid->SetRowCount(30);
  Grid->FloatingFooter()->SetVisible(true);
  ProcessEvents();
  const int panelTop = Grid->FooterPanel()->Top();
  for (int i = 0; i < 30; ++i) {
    Key(Grid, VK_DOWN);
    ASSERT_LE(CurrentBottom(), panelTop + 2) << "row " << Grid->Row();
  }
  EXPECT_EQ(Grid->Row(), 28) << "the footer row never becomes current";
}

TEST_F(InputGrid, SearchFooterTypedIntoAndClicked) {
  Grid->SetCells(1, 1, "xAB");
  Grid->SetCells(1, 2, "ab");
  Grid->SearchFooter()->SetVisible(true);
  ProcessEvents();
  TSearchPanel* p = Grid->SearchPanel();
  ASSERT_TRUE(p->Visible());
  TypeText(p->SearchEdit(), "ab");
  EXPECT_EQ(Grid->LastFoundCell(), (TPoint{1, 1})) << "case-insensitive";
  EXPECT_EQ(Cell(), std::make_pair(1, 1));
  Click(p->MatchCaseBox(), 5, 5);
  ASSERT_TRUE(p->MatchCaseBox()->Checked());
  Key(p->SearchEdit(), VK_BACK, "\b");
  TypeText(p->SearchEdit(), "b");
  EXPECT_EQ(Grid->LastFoundCell(), (TPoint{1, 2})) << "with match case";
  EXPECT_EQ(Cell(), std::make_pair(1, 2));

  // The buttons search case-insensitively and go through nothing once.
  Click(p->FindNextButton(), 10, 10);
  EXPECT_EQ(Grid->LastFoundCell(), (TPoint{-1, -1}));
  Click(p->FindNextButton(), 10, 10);
  EXPECT_EQ(Grid->LastFoundCell(), (TPoint{1, 1}));
  Click(p->FindNextButton(), 10, 10);
  EXPECT_EQ(Grid->LastFoundCell(), (TPoint{1, 2}));

  Click(p->HighlightButton(), 10, 10);
  EXPECT_TRUE(Grid->HasHighlights());
  Click(p->CloseButton(), 5, 5);
  EXPECT_FALSE(Grid->SearchFooter()->Visible());
  EXPECT_FALSE(p->Visible());
  EXPECT_EQ(Grid->Cells(1, 1), "xAB");
  EXPECT_EQ(Grid->Cells(1, 2), "ab");
  EXPECT_FALSE(Grid->HasHighlights()) << "a closed footer leaves no highlights";
  EXPECT_FALSE(p->HighlightButton()->Down());
}

// ---- stretching with the form

struct StretchForm : InputGrid {
  void Columns(int n, int width) {
    Grid->SetColCount(n);
    for (int c = 0; c < n; ++c) Grid->SetColWidths(c, width);
  }
  void ClientWidth(int w) {
    Form->SetClientWidth(w);
    ProcessEvents();
  }
};

TEST_F(StretchForm, TheLastColumnFillsTheClientThroughFormResizes) {
  Grid->SetScrollBars(ssNone);
  Columns(3, 64);
  Grid->SetAlign(alClient);
  Grid->ColumnSize()->SetStretch(true);
  ClientWidth(300);
  ASSERT_EQ(Grid->ClientWidth(), 300);
  EXPECT_EQ(Grid->ColWidths(2), 171);
  ClientWidth(400);
  EXPECT_EQ(Grid->ColWidths(2), 271);
  ClientWidth(300);
  EXPECT_EQ(Grid->ColWidths(2), 171);
  // Any width change stretches again.
  Grid->SetColWidths(0, 100);
  EXPECT_EQ(Grid->ColWidths(2), 135);
}

TEST_F(StretchForm, AStretchedGridShowsNoHorizontalBar) {
  Columns(3, 64);
  Grid->SetAlign(alClient);
  Grid->ColumnSize()->SetStretch(true);
  ClientWidth(300);
  EXPECT_FALSE(Grid->ScrollBarVisible(SB_HORZ));
  EXPECT_EQ(Grid->ColWidths(2), Grid->ClientWidth() - 129);
  Grid->SetColWidths(1, 90);
  EXPECT_FALSE(Grid->ScrollBarVisible(SB_HORZ));
}

TEST_F(StretchForm, ColumnsRemovedPastAnExplicitStretchColumnStretchTheLast) {
  Grid->SetScrollBars(ssNone);
  Columns(5, 40);
  Grid->SetAlign(alClient);
  Grid->ColumnSize()->SetStretchColumn(4);
  Grid->ColumnSize()->SetStretch(true);
  ClientWidth(300);
  EXPECT_EQ(Grid->ColWidths(4), 300 - 160 - 1);
  EXPECT_NO_THROW(Grid->SetColCount(3));
  EXPECT_NO_THROW(ClientWidth(350));
  EXPECT_EQ(Grid->ColWidths(2), 350 - 80 - 1);
}

}  // namespace
