// Keys on the string grid: the Tab walk, the advance after Enter (bounded on
// a grid without editable cells), row insertion, check boxes by Space,
// refused keys and the incremental goto text with the grid's timer.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "grid/plusgrid.h"
#include "platform/ui/editctrls.h"
#include "platform/ui/forms.h"
#include "platform/ui/menuloop.h"
#include "support/gui/guitest.h"

using namespace guitest;

namespace {

struct KeyGrid : ::testing::Test {
  TForm* Form = nullptr;
  TPlusStringGrid* Grid = nullptr;
  void SetUp() override {
    EnsureGui();
    Form = new TForm(nullptr);
    Form->SetBounds(0, 0, 500, 300);
    Grid = new TPlusStringGrid(Form);
    Grid->SetParent(Form);
    Grid->SetBounds(0, 0, 400, 200);
    Grid->SetColCount(4);
    Grid->SetRowCount(5);
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
};

TEST_F(KeyGrid, TabWalksOverReadOnlyCellsAndWrapsToTheFirstNormalCell) {
  Option(goEditing);
  Option(goTabs);
  Grid->GetCellProperties(2, 1)->SetReadOnly(true);
  Key(Grid, VK_TAB, "\t");
  EXPECT_EQ(Cell(), std::make_pair(3, 1)) << "column 2 is read-only";
  Key(Grid, VK_TAB, "\t");
  EXPECT_EQ(Cell(), std::make_pair(1, 2)) << "on to the next row";
  Key(Grid, VK_TAB, "\t", {ssShift});
  EXPECT_EQ(Cell(), std::make_pair(3, 1));

  Grid->SetRow(4);
  Grid->SetCol(3);
  Key(Grid, VK_TAB, "\t");
  EXPECT_EQ(Cell(), std::make_pair(1, 1)) << "the last cell wraps to the first normal cell";
}

TEST_F(KeyGrid, WithoutEditableCellsTheWalksKeepTheCurrentCellAndReturn) {
  Option(goEditing);
  Option(goTabs);
  Grid->OnCanEditCell = [](TObject*, int, int, bool& can) { can = false; };
  Grid->SetCol(2);
  Grid->SetRow(3);
  // Moving onto a cell that cannot be edited switched goEditing off.
  EXPECT_FALSE(Grid->Options().Contains(goEditing));
  Option(goEditing);
  Grid->Navigation()->SetAdvanceOnEnter(true);
  Grid->AdvanceFromCell(2, 3, false, false, true, false, false);
  EXPECT_EQ(Cell(), std::make_pair(2, 3));
  Grid->TabToCell(false);
  EXPECT_EQ(Cell(), std::make_pair(2, 3));
  std::vector<uint16_t> keys;
  Grid->OnKeyDown = [&](TObject*, uint16_t& k, TShiftState) { keys.push_back(k); };
  Key(Grid, VK_RETURN, "\r");
  EXPECT_EQ(Cell(), std::make_pair(2, 3));
  EXPECT_FALSE(Grid->EditorShown());
  EXPECT_EQ(keys, (std::vector<uint16_t>{VK_RETURN})) << "a refused key still reaches OnKeyDown";
}

TEST_F(KeyGrid, EnterWithAdvanceOnEnterMovesToTheNextEditableCell) {
  Option(goEditing);
  Grid->Navigation()->SetAdvanceOnEnter(true);
  Grid->GetCellProperties(2, 1)->SetReadOnly(true);
  std::vector<std::string> log;
  Grid->OnAutoAdvance = [&](TObject*, int oldRow, int oldCol, int& newRow, int& newCol, bool&) {
    log.push_back(std::to_string(oldCol) + "," + std::to_string(oldRow) + ">" + std::to_string(newCol) + "," +
                  std::to_string(newRow));
  };
  TypeText(Grid, "a");
  ASSERT_TRUE(Grid->EditorShown());
  Key(Grid->InplaceEditor(), VK_RETURN, "\r");
  EXPECT_EQ(Grid->Cells(1, 1), "a");
  EXPECT_EQ(Cell(), std::make_pair(3, 1));
  EXPECT_EQ(log, (std::vector<std::string>{"1,1>3,1"}));

  // On the last cell the move wraps to the first normal cell.
  Grid->Navigation()->SetAdvanceOnEnter(true);
  Grid->AdvanceFromCell(3, 4, false, false, true, false, true);
  EXPECT_EQ(Cell(), std::make_pair(1, 1));
}

TEST_F(KeyGrid, InsertAfterTheCurrentRowAndDelete) {
  Grid->Navigation()->SetAllowInsertRow(true);
  Grid->Navigation()->SetInsertPosition(pInsertAfter);
  Grid->Navigation()->SetAllowDeleteRow(true);
  for (int r = 1; r < 5; ++r) Grid->SetCells(1, r, "r" + std::to_string(r));
  std::vector<int> inserted, deleted;
  Grid->OnAutoInsertRow = [&](TObject*, int r) { inserted.push_back(r); };
  Grid->OnAutoDeleteRow = [&](TObject*, int r) { deleted.push_back(r); };
  Grid->SetRow(3);
  Key(Grid, VK_INSERT);
  EXPECT_EQ(inserted, (std::vector<int>{4}));
  EXPECT_EQ(Grid->Row(), 4) << "the new row becomes current";
  EXPECT_EQ(Grid->RowCount(), 6);
  EXPECT_EQ(Grid->Cells(1, 4), "");
  EXPECT_EQ(Grid->Cells(1, 5), "r4");

  Grid->OnCanInsertRow = [](TObject*, int, bool& can) { can = false; };
  Key(Grid, VK_INSERT);
  EXPECT_EQ(inserted.size(), 1u) << "refused";

  Grid->OnCanDeleteRow = [](TObject*, int r, bool& can) { can = r != 1; };
  Key(Grid, VK_DELETE);
  EXPECT_EQ(deleted, (std::vector<int>{4}));
  EXPECT_EQ(Grid->Cells(1, 4), "r4");
  Grid->SetRow(1);
  Key(Grid, VK_DELETE);
  EXPECT_EQ(deleted.size(), 1u);
}

TEST_F(KeyGrid, SpaceTogglesACheckBoxOnlyWhereTheGridEdits) {
  Grid->AddCellCheckBox(1, 1, false, false);
  std::vector<bool> clicks;
  Grid->OnCheckBoxClick = [&](TObject*, int c, int r, bool state) {
    EXPECT_EQ(c, 1);
    EXPECT_EQ(r, 1);
    clicks.push_back(state);
  };
  bool state = true;
  Key(Grid, VK_SPACE, " ");
  Grid->GetCellCheckState(1, 1, state);
  EXPECT_FALSE(state) << "goEditing off: no toggle";
  EXPECT_TRUE(clicks.empty());

  Option(goEditing);
  Key(Grid, VK_SPACE, " ");
  Grid->GetCellCheckState(1, 1, state);
  EXPECT_TRUE(state);
  Key(Grid, VK_SPACE, " ");
  EXPECT_EQ(clicks, (std::vector<bool>{true, false}));
  EXPECT_FALSE(Grid->EditorShown()) << "the space typed no text";
  EXPECT_EQ(Grid->Cells(1, 1), "");
}

TEST_F(KeyGrid, EnterAndSpaceClickAButtonCell) {
  Option(goEditing);
  TCellGraphic* g = Grid->CreateCellGraphic(1, 1);
  g->CellType = ctButton;
  int clicks = 0;
  Grid->OnButtonClick = [&](TObject*, int, int) { ++clicks; };
  Key(Grid, VK_RETURN, "\r");
  Key(Grid, VK_SPACE, " ");
  EXPECT_EQ(clicks, 2);
  EXPECT_FALSE(Grid->EditorShown());
}

TEST_F(KeyGrid, TypingWithRangeSelectAndEditStartsAnEditWithoutGoEditing) {
  Grid->MouseActions()->SetRangeSelectAndEdit(true);
  Grid->SetCells(1, 1, "old");
  TypeText(Grid, "n");
  ASSERT_TRUE(Grid->EditorShown());
  EXPECT_TRUE(Grid->Options().Contains(goEditing));
  EXPECT_EQ(Grid->InplaceEditor()->Text(), "n");
  Key(Grid->InplaceEditor(), VK_RETURN, "\r");
  EXPECT_EQ(Grid->Cells(1, 1), "n");
}

TEST_F(KeyGrid, TheIncrementalGotoTextExpiresOnTheFourthTick) {
  Grid->Navigation()->SetAutoGotoWhenSorted(true);
  Grid->Navigation()->SetAutoGotoIncremental(true);
  const char* names[] = {"apple", "banana", "bandit", "cherry"};
  for (int r = 1; r < 5; ++r) Grid->SetCells(1, r, names[r - 1]);
  ASSERT_FALSE(RunningWindowTimers().empty()) << "the grid runs its timer from its window's creation";
  TypeText(Grid, "ban");
  EXPECT_EQ(Grid->GotoText(), "ban");
  EXPECT_EQ(Grid->Row(), 2);
  TypeText(Grid, "d");
  EXPECT_EQ(Grid->Row(), 3);
  for (int tick = 1; tick <= 3; ++tick) {
    FireWindowTimers();
    EXPECT_EQ(Grid->GotoText(), "band") << "tick " << tick;
  }
  FireWindowTimers();
  EXPECT_EQ(Grid->GotoText(), "");
  TypeText(Grid, "c");
  EXPECT_EQ(Grid->Row(), 4) << "a new search starts";
  Key(Grid, VK_UP);
  EXPECT_EQ(Grid->GotoText(), "") << "navigation keys clear it";
}

TEST_F(KeyGrid, F2OnAReadOnlyCellIsRefusedButReachesOnKeyDown) {
  Option(goEditing);
  Grid->GetCellProperties(1, 1)->SetReadOnly(true);
  std::vector<uint16_t> keys;
  Grid->OnKeyDown = [&](TObject*, uint16_t& k, TShiftState) { keys.push_back(k); };
  Key(Grid, VK_F2);
  EXPECT_FALSE(Grid->EditorShown());
  EXPECT_EQ(keys, (std::vector<uint16_t>{VK_F2}));
  TypeText(Grid, "x");
  EXPECT_FALSE(Grid->EditorShown()) << "typing opens no editor on it either";
  EXPECT_EQ(Grid->Cells(1, 1), "");
}

TEST_F(KeyGrid, HomeAndEndGoToTheFirstAndLastRowWhenAskedTo) {
  Grid->SetRowCount(10);
  Grid->Navigation()->SetHomeEndKey(heFirstLastRow);
  Grid->SetRow(7);
  Grid->SetCol(2);
  std::vector<uint16_t> keys;
  Grid->OnKeyDown = [&](TObject*, uint16_t& k, TShiftState) { keys.push_back(k); };
  Key(Grid, VK_HOME, "", {ssShift});
  EXPECT_EQ(Grid->Selection(), (TGridRect{1, 1, 3, 7})) << "rows 1 to 7 over all normal columns";
  EXPECT_EQ(keys, (std::vector<uint16_t>{VK_HOME})) << "fired once, by the grid";
  Grid->SetRow(5);
  Grid->SetCol(2);
  Key(Grid, VK_HOME);
  EXPECT_EQ(Grid->Row(), 1);
  EXPECT_EQ(Grid->Col(), 2);
  Key(Grid, VK_END);
  EXPECT_EQ(Grid->Row(), 9);
  Grid->SetFixedFooters(1);
  Key(Grid, VK_END);
  EXPECT_EQ(Grid->Row(), 8) << "the footer row is no normal row";
}

TEST_F(KeyGrid, ArrowsJumpOverFixedCellsOrStay) {
  Grid->SetColCount(6);
  Grid->OnIsFixedCell = [](TObject*, int, int c, bool& fixed) { fixed = fixed || c == 2 || c >= 4; };
  Key(Grid, VK_RIGHT);
  EXPECT_EQ(Grid->Col(), 3) << "over column 2";
  Key(Grid, VK_RIGHT);
  EXPECT_EQ(Grid->Col(), 3) << "only fixed cells to the right: the platform does not move either";
  Key(Grid, VK_LEFT);
  EXPECT_EQ(Grid->Col(), 1);
}

TEST_F(KeyGrid, DownOnTheLastRowAppendsOneWhenAllowed) {
  Grid->Navigation()->SetAppendOnArrowDown(true);
  std::vector<int> added;
  Grid->OnAutoAddRow = [&](TObject*, int r) { added.push_back(r); };
  Grid->SetRow(4);
  Key(Grid, VK_DOWN);
  EXPECT_EQ(Grid->RowCount(), 6);
  EXPECT_EQ(Grid->Row(), 5) << "Down then moves into the new row";
  EXPECT_EQ(added, (std::vector<int>{4}));
  Grid->OnCanAddRow = [](TObject*, bool& can) { can = false; };
  Key(Grid, VK_DOWN);
  EXPECT_EQ(Grid->RowCount(), 6);
}

// Ctrl+A selects every normal cell where ranges or rows are selected, and
// tells the grid's select-all hook unless it marks the rows one by one.
struct SelectAllGrid : TPlusStringGrid {
  using TPlusStringGrid::TPlusStringGrid;
  std::vector<TGridRect> Notified;
  void SelectAllNotify(TGridRect& NewSelection) override { Notified.push_back(NewSelection); }
};

TEST(KeyGridSelectAll, CtrlASelectsAllAndTellsTheHook) {
  EnsureGui();
  struct Case {
    bool RangeSelect, RowSelect, Disjunct;
    bool Selects, Notifies;
  };
  const Case cases[] = {
      {true, false, false, true, true},
      {false, true, false, true, true},
      {true, false, true, true, false},  // rows marked instead
      {false, false, false, false, false},
  };
  for (const Case& c : cases) {
    TForm form(nullptr);
    form.SetBounds(0, 0, 500, 300);
    auto* g = new SelectAllGrid(&form);
    g->SetParent(&form);
    g->SetBounds(0, 0, 400, 200);
    g->SetColCount(4);
    g->SetRowCount(5);
    TGridOptions o = g->Options();
    o = c.RangeSelect ? o.Include(goRangeSelect) : o.Exclude(goRangeSelect);
    o = c.RowSelect ? o.Include(goRowSelect) : o.Exclude(goRowSelect);
    g->SetOptions(o);
    g->MouseActions()->SetDisjunctRowSelect(c.Disjunct);
    form.Show();
    g->SetFocus();
    ProcessEvents();
    Key(g, 'A', "\x01", {ssCtrl});
    const TGridRect all{1, 1, 3, 4};
    EXPECT_EQ(g->Selection() == all, c.Selects) << c.RangeSelect << c.RowSelect << c.Disjunct;
    ASSERT_EQ(g->Notified.size(), c.Notifies ? 1u : 0u) << c.RangeSelect << c.RowSelect << c.Disjunct;
    if (c.Notifies) EXPECT_TRUE(g->Notified[0] == all);
  }
}

}  // namespace
