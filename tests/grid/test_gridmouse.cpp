// Mouse buttons on the string grid: check boxes, button cells, the header
// click that sorts, the mouse capture, edits started by clicks and the
// fixed-cell editor.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "grid/plusgrid.h"
#include "grid/plusgrid_editor.h"
#include "platform/ui/editctrls.h"
#include "platform/rtl/stringlist.h"
#include "platform/ui/forms.h"
#include "support/gui/guitest.h"

using namespace guitest;

namespace {

struct MouseGrid : ::testing::Test {
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
  TPoint Inside(int c, int r) const {
    const TRect R = Grid->CellRect(c, r);
    return {R.Left + 5, R.Top + 5};
  }
  // A push button over the whole of a cell.
  void AddButton(int c, int r) {
    TCellGraphic* g = Grid->CreateCellGraphic(c, r);
    g->CellType = ctButton;
    g->CellHAlign = haFull;
    g->CellVAlign = vaFull;
  }
};

TEST_F(MouseGrid, AClickOnACheckBoxTogglesItAndReportsTheState) {
  Option(goEditing);
  Grid->AddCellCheckBox(2, 2, false, false);
  std::vector<bool> clicks, ups;
  Grid->OnCheckBoxClick = [&](TObject*, int, int, bool s) { clicks.push_back(s); };
  Grid->OnCheckBoxMouseUp = [&](TObject*, int, int, bool s) { ups.push_back(s); };
  const TPoint p = Inside(2, 2);
  Click(Grid, p.X, p.Y);
  bool state = false;
  Grid->GetCellCheckState(2, 2, state);
  EXPECT_TRUE(state);
  EXPECT_EQ(Grid->Col(), 2);
  EXPECT_EQ(Grid->Row(), 2);
  EXPECT_FALSE(Grid->EditorShown()) << "a check box opens no editor";
  Click(Grid, p.X, p.Y);
  EXPECT_EQ(clicks, (std::vector<bool>{true, false}));
  EXPECT_EQ(ups, (std::vector<bool>{true, false}));

  Option(goEditing, false);
  Click(Grid, p.X, p.Y);
  Grid->GetCellCheckState(2, 2, state);
  EXPECT_FALSE(state) << "a grid that does not edit leaves it";
}

TEST_F(MouseGrid, AButtonClicksOnlyWhenReleasedOnItselfAndAlwaysComesUp) {
  Option(goEditing);
  AddButton(2, 3);
  int clicks = 0;
  Grid->OnButtonClick = [&](TObject*, int c, int r) {
    EXPECT_EQ(c, 2);
    EXPECT_EQ(r, 3);
    ++clicks;
  };
  const TPoint p = Inside(2, 3);
  MouseDown(Grid, mbLeft, p.X, p.Y);
  EXPECT_TRUE(Grid->GetCellGraphic(2, 3)->CellBoolean) << "drawn pressed";
  EXPECT_EQ(GetCaptureControl(), Grid);
  const TPoint away = Inside(1, 1);
  MouseUp(Grid, mbLeft, away.X, away.Y);
  EXPECT_EQ(clicks, 0);
  EXPECT_FALSE(Grid->GetCellGraphic(2, 3)->CellBoolean) << "drawn up again";
  EXPECT_EQ(GetCaptureControl(), nullptr);
  MouseUp(Grid, mbLeft, -50, -50);
  EXPECT_EQ(clicks, 0);

  Click(Grid, p.X, p.Y);
  EXPECT_EQ(clicks, 1);
  EXPECT_TRUE(Grid->Options().Contains(goEditing)) << "editing is back after the click";
  EXPECT_EQ(GetCaptureControl(), nullptr);
}

TEST_F(MouseGrid, AFixedCellAsButtonIsPressedAndClicksWhenReleasedOnItself) {
  Option(goEditing);
  Grid->SetFixedAsButtons(true);
  std::vector<std::string> clicks;
  Grid->OnButtonClick = [&](TObject*, int c, int r) { clicks.push_back(std::to_string(c) + "," + std::to_string(r)); };
  const TPoint h = Inside(0, 2);
  MouseDown(Grid, mbLeft, h.X, h.Y);
  EXPECT_TRUE(Grid->FixedButtonDown());
  const TPoint away = Inside(2, 3);
  MouseUp(Grid, mbLeft, away.X, away.Y);
  EXPECT_FALSE(Grid->FixedButtonDown()) << "up again";
  EXPECT_TRUE(clicks.empty());
  Click(Grid, h.X, h.Y);
  EXPECT_EQ(clicks, (std::vector<std::string>{"0,2"}));
  EXPECT_EQ(GetCaptureControl(), nullptr);
}

TEST_F(MouseGrid, EveryLeftReleaseFreesTheMouse) {
  const TPoint p = Inside(1, 2);
  MouseDown(Grid, mbLeft, p.X, p.Y);
  MouseUp(Grid, mbLeft, 1000, 1000);
  EXPECT_EQ(GetCaptureControl(), nullptr);
  MouseDown(Grid, mbLeft, -3, -3);
  MouseUp(Grid, mbLeft, -3, -3);
  EXPECT_EQ(GetCaptureControl(), nullptr);
}

TEST_F(MouseGrid, AHeaderClickSortsThroughTheEditingPress) {
  Option(goEditing);
  Grid->SortSettings()->SetShow(true);
  const char* texts[] = {"c", "a", "d", "b"};
  for (int r = 1; r < 5; ++r) Grid->SetCells(1, r, texts[r - 1]);
  const TPoint h = Inside(1, 0);
  Click(Grid, h.X, h.Y);
  EXPECT_EQ(Grid->Cells(1, 1), "a");
  EXPECT_EQ(Grid->Cells(1, 4), "d");
  EXPECT_FALSE(Grid->EditorShown());
}

TEST_F(MouseGrid, ClicksStartEditsOnTheCurrentCellOrAtOnceWithDirectEdit) {
  Option(goEditing);
  Grid->SetCells(2, 2, "txt");
  const TPoint p = Inside(2, 2);
  std::vector<std::string> clicked;
  Grid->OnClickCell = [&](TObject*, int r, int c) { clicked.push_back(std::to_string(c) + "," + std::to_string(r)); };
  Click(Grid, p.X, p.Y);
  EXPECT_FALSE(Grid->EditorShown());
  Click(Grid, p.X, p.Y);
  EXPECT_TRUE(Grid->EditorShown()) << "the second click, on the current cell, edits";
  EXPECT_EQ(Grid->InplaceEditor()->Text(), "txt");
  EXPECT_EQ(clicked, (std::vector<std::string>{"2,2", "2,2"}));

  Key(Grid->InplaceEditor(), VK_ESCAPE, "\x1b");
  Grid->MouseActions()->SetDirectEdit(true);
  const TPoint q = Inside(3, 3);
  Click(Grid, q.X, q.Y);
  EXPECT_TRUE(Grid->EditorShown()) << "DirectEdit opens on the first click";
  EXPECT_EQ(Grid->Col(), 3);

  bool allow = false;
  Grid->OnCanClickCell = [&](TObject*, int, int, bool& a) { a = allow; };
  const TPoint o = Inside(1, 1);
  Click(Grid, o.X, o.Y);
  EXPECT_EQ(Grid->Col(), 3) << "a refused click does nothing";
}

TEST_F(MouseGrid, WithCaretPositioningTheCaretGoesWhereTheClickWas) {
  Option(goEditing);
  Grid->SetColWidths(2, 200);
  Grid->SetCells(2, 2, "abcdefghijklmnop");
  Grid->MouseActions()->SetCaretPositioning(true);
  const TRect r = Grid->CellRect(2, 2);
  const TPoint far{r.Right - 4, r.Top + 5};
  Click(Grid, far.X, far.Y);
  const TPoint screen = Grid->ClientToScreen(far);
  SetCursorPos(screen.X, screen.Y);
  TPoint at{};
  GetCursorPos(at);
  if (at.X != screen.X) GTEST_SKIP() << "this window system does not move the pointer";
  Click(Grid, far.X, far.Y);
  ASSERT_TRUE(Grid->EditorShown());
  EXPECT_EQ(Grid->InplaceEditor()->SelLength(), 0);
  EXPECT_EQ(Grid->InplaceEditor()->SelStart(), 16) << "after the last character, under the mouse";
  EXPECT_FALSE(Grid->CaretToMouse());
}

TEST_F(MouseGrid, TheFixedCellEditorOpensWhenTheCanEditHookAllowsIt) {
  Grid->MouseActions()->SetFixedRowsEdit(fceDblClick);
  Grid->SetCells(2, 0, "Head");
  const TPoint h = Inside(2, 0);
  DblClick(Grid, h.X, h.Y);
  TGridTransEdit* e = Grid->FixedCellEditor();
  ASSERT_NE(e, nullptr);
  EXPECT_TRUE(e->Visible()) << "no handler: the hook's true opens it";
  EXPECT_EQ(e->Text(), "Head");
  EXPECT_EQ(e->Col(), 2);
  EXPECT_EQ(e->Row(), 0);

  int done = 0;
  Grid->OnEditingDone = [&](TObject*) { ++done; };
  e->SetText("New");
  EXPECT_TRUE(e->FinishEdit());
  EXPECT_EQ(Grid->Cells(2, 0), "New");
  EXPECT_EQ(done, 1);
  EXPECT_FALSE(e->Visible());

  Grid->OnCanEditCell = [](TObject*, int, int, bool& can) { can = false; };
  Grid->ShowFixedCellEditor(2, 0);
  EXPECT_FALSE(e->Visible()) << "a handler that refuses keeps it closed";
}

TEST_F(MouseGrid, AClickOnAnotherCellValidatesTheOpenEditOnce) {
  Option(goEditing);
  std::vector<std::string> log;
  Grid->OnCellValidate = [&](TObject*, int c, int r, std::string& v, bool&) {
    log.push_back(std::to_string(c) + "," + std::to_string(r) + "=" + v);
  };
  Grid->OnEditingDone = [&](TObject*) { log.push_back("done"); };
  TypeText(Grid, "a");
  ASSERT_TRUE(Grid->EditorShown());
  TypeText(Grid->InplaceEditor(), "b");
  const TPoint p = Inside(3, 3);
  Click(Grid, p.X, p.Y);
  EXPECT_EQ(Grid->Col(), 3);
  EXPECT_EQ(Grid->Row(), 3);
  EXPECT_FALSE(Grid->EditorShown());
  EXPECT_EQ(Grid->Cells(1, 1), "ab");
  // The editor's loss of the focus to the grid reports the end of the edit;
  // the move to the clicked cell then validates it.
  EXPECT_EQ(log, (std::vector<std::string>{"done", "1,1=ab"}));
}

TEST_F(MouseGrid, ARadioClickChoosesTheOptionUnderTheMouse) {
  Option(goEditing);
  Grid->SetRowHeights(2, 90);
  TCellGraphic* g = Grid->CreateCellGraphic(2, 2);
  auto* options = new TStringList;
  options->Add("one");
  options->Add("two");
  options->Add("three");
  g->CellType = ctRadio;
  g->CellContent = options;
  g->CellCreated = true;
  g->CellIndex = -1;
  std::vector<int> chosen;
  Grid->OnRadioClick = [&](TObject*, int, int, int k) { chosen.push_back(k); };
  Grid->Canvas()->SetFont(Grid->Font());
  const int line = std::max(Grid->ControlLook()->ControlStyle() > csFlat ? 16 : Grid->ControlLook()->RadioSize(),
                            Grid->Canvas()->TextHeight("gh"));
  const TRect R = Grid->CellRect(2, 2);
  Click(Grid, R.Left + 5, R.Top + line + line / 2);
  EXPECT_EQ(Grid->Cells(2, 2), "two");
  Click(Grid, R.Left + 5, R.Top + line);
  EXPECT_EQ(Grid->Cells(2, 2), "two") << "a point on a boundary chooses nothing";
  Click(Grid, R.Left + 5, R.Top + 2);
  EXPECT_EQ(Grid->Cells(2, 2), "one");
  EXPECT_EQ(chosen, (std::vector<int>{1, 0}));
  EXPECT_EQ(Grid->Col(), 2);
  EXPECT_EQ(Grid->Row(), 2);
}

TEST_F(MouseGrid, DisjointRowsFollowClicksWithAndWithoutCtrl) {
  Grid->MouseActions()->SetDisjunctRowSelect(true);
  auto marked = [&] {
    std::vector<int> rows;
    for (int r = 1; r < Grid->RowCount(); ++r)
      if (Grid->GetRowSelect(r)) rows.push_back(r);
    return rows;
  };
  auto click = [&](int r, TShiftState s) {
    const TPoint p = Inside(2, r);
    MouseDown(Grid, mbLeft, p.X, p.Y, s);
    MouseUp(Grid, mbLeft, p.X, p.Y, s);
  };
  click(2, {});
  EXPECT_EQ(marked(), (std::vector<int>{2}));
  click(4, {ssCtrl});
  EXPECT_EQ(marked(), (std::vector<int>{2, 4}));
  click(2, {ssCtrl});
  EXPECT_EQ(marked(), (std::vector<int>{4})) << "Ctrl on a marked row unmarks it";
  click(3, {});
  EXPECT_EQ(marked(), (std::vector<int>{3}));
}

TEST_F(MouseGrid, ARightClickReportsTheCellAndSelectsItWhenAsked) {
  std::vector<std::string> clicks;
  Grid->OnRightClickCell = [&](TObject*, int r, int c) { clicks.push_back(std::to_string(c) + "," + std::to_string(r)); };
  const TPoint p = Inside(3, 2);
  Click(Grid, p.X, p.Y, mbRight);
  EXPECT_EQ(Grid->Col(), 1) << "without SelectOnRightClick the cell stays";
  Grid->MouseActions()->SetSelectOnRightClick(true);
  Click(Grid, p.X, p.Y, mbRight);
  EXPECT_EQ(Grid->Col(), 3);
  EXPECT_EQ(Grid->Row(), 2);
  EXPECT_EQ(clicks, (std::vector<std::string>{"3,2", "3,2"}));
}

}  // namespace
