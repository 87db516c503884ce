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
  // Column 1 holds c, a, d, b and a click on the header row sorts.
  void SortableColumn() {
    Grid->SortSettings()->SetShow(true);
    const char* texts[] = {"c", "a", "d", "b"};
    for (int r = 1; r < 5; ++r) Grid->SetCells(1, r, texts[r - 1]);
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

TEST_F(MouseGrid, AButtonReleasedOutsideEveryCellComesUpWithoutAClick) {
  Option(goEditing);
  AddButton(2, 3);
  int clicks = 0;
  Grid->OnButtonClick = [&](TObject*, int, int) { ++clicks; };
  const TRect last = Grid->CellRect(3, 4);
  ASSERT_LT(last.Right + 20, Grid->ClientWidth()) << "room beside the cells";
  ASSERT_LT(last.Bottom + 20, Grid->ClientHeight());
  const struct {
    const char* where;
    int x, y;
  } cases[] = {{"right of the last column", last.Right + 20, 30},
               {"below the last row", 30, last.Bottom + 20},
               {"beyond the grid", Grid->ClientWidth() + 40, -30}};
  const TPoint p = Inside(2, 3);
  for (const auto& c : cases) {
    MouseDown(Grid, mbLeft, p.X, p.Y);
    ASSERT_TRUE(Grid->GetCellGraphic(2, 3)->CellBoolean) << c.where;
    MouseUp(Grid, mbLeft, c.x, c.y);
    EXPECT_EQ(clicks, 0) << c.where;
    EXPECT_FALSE(Grid->GetCellGraphic(2, 3)->CellBoolean) << c.where << ": drawn up";
    EXPECT_EQ(GetCaptureControl(), nullptr) << c.where;
    EXPECT_TRUE(Grid->Options().Contains(goEditing)) << c.where;
  }
  // The next release on the button is a click of its own press only.
  MouseUp(Grid, mbLeft, p.X, p.Y);
  EXPECT_EQ(clicks, 0) << "a release without a press clicks nothing";
  Click(Grid, p.X, p.Y);
  EXPECT_EQ(clicks, 1);
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
  SortableColumn();
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


TEST_F(MouseGrid, ADoubleClickOnAHeaderBorderSizesTheColumnToItsContents) {
  Option(goColSizing);
  Grid->SortSettings()->SetShow(true);
  std::vector<std::string> log;
  Grid->OnEndColumnSize = [&](TObject*, int c) { log.push_back("end " + std::to_string(c)); };
  Grid->OnDblClick = [&](TObject*) { log.push_back("dblclick"); };
  struct Case {
    const char* what;
    int x;
    int sized;  // -1: none
  };
  const TRect h1 = Grid->CellRect(1, 0), h2 = Grid->CellRect(2, 0);
  const Case cases[] = {
      {"right border of the empty column 2", h2.Right, 2},
      {"just inside its right border", h2.Right - 3, 2},
      {"left border of column 2 sizes column 1", h2.Left + 1, 1},
      {"left border of the first normal column", h1.Left + 2, -1},
  };
  for (const Case& c : cases) {
    for (int col = 1; col < 4; ++col) Grid->SetColWidths(col, 64);
    for (int r = 1; r < 5; ++r) Grid->SetCells(3, r, std::string(1, static_cast<char>('e' - r)));
    log.clear();
    DblClick(Grid, c.x, 5);
    const std::vector<std::string> want =
        c.sized >= 0 ? std::vector<std::string>{"end " + std::to_string(c.sized)} : std::vector<std::string>{"dblclick"};
    EXPECT_EQ(log, want) << c.what;
    if (c.sized >= 0) EXPECT_EQ(Grid->ColWidths(c.sized), 10) << c.what << ": an empty column";
    EXPECT_EQ(Grid->Cells(3, 1), "d") << c.what << ": a double click on a border sorts nothing";
  }
  // A refusal sizes nothing.
  Grid->OnColumnSize = [](TObject*, int, bool& Allow) { Allow = false; };
  DblClick(Grid, Grid->CellRect(2, 0).Right, 5);
  EXPECT_EQ(Grid->ColWidths(2), 64);
  // A column with text: as wide as the text and the margins.
  Grid->OnColumnSize = nullptr;
  Grid->SetCells(3, 0, "A wide header text");
  const int before = Grid->ColWidths(3);
  DblClick(Grid, Grid->CellRect(3, 0).Right - 1, 5);
  EXPECT_GT(Grid->ColWidths(3), before);
  EXPECT_GT(Grid->ColWidths(3), Grid->Canvas()->TextWidth("A wide header text"));
}

TEST_F(MouseGrid, ADoubleClickBesideTheLastColumnSizesItAndTheNextHeaderClickStillSorts) {
  Option(goColSizing);
  SortableColumn();
  const int right = Grid->CellRect(3, 0).Right;
  ASSERT_LT(right + 2, Grid->ClientWidth());
  // Just right of the last column: no cell under the mouse, yet its border.
  DblClick(Grid, right + 2, 5);
  EXPECT_EQ(Grid->ColWidths(3), 10) << "the empty last column";
  EXPECT_EQ(Grid->Cells(1, 1), "c");
  const TPoint h = Inside(1, 0);
  Click(Grid, h.X, h.Y);
  EXPECT_EQ(Grid->Cells(1, 1), "a") << "the double click's sizing is over with its own release";
  EXPECT_EQ(Grid->Cells(1, 4), "d");
}

TEST_F(MouseGrid, SizingOneColumnWithTheMouseSizesAllAlike) {
  Option(goColSizing);
  Grid->MouseActions()->SetAllColumnSize(true);
  for (int c = 1; c < 4; ++c) Grid->SetColWidths(c, 40);
  Grid->SetColWidths(3, 60);
  std::vector<int> ended;
  Grid->OnEndColumnSize = [&](TObject*, int c) { ended.push_back(c); };
  const int border = Grid->CellRect(1, 0).Right;
  MouseDown(Grid, mbLeft, border, 5);
  MouseMove(Grid, border + 20, 5, {ssLeft});
  MouseUp(Grid, mbLeft, border + 20, 5);
  EXPECT_EQ(Grid->ColWidths(1), 60);
  EXPECT_EQ(Grid->ColWidths(2), 60) << "every other column in the same ratio";
  EXPECT_EQ(Grid->ColWidths(3), 90);
  EXPECT_EQ(ended, std::vector<int>{1});
}

TEST_F(MouseGrid, ClicksOnTheHeadersSelectWholeRowsColumnsOrTheGrid) {
  Grid->SetRowCount(30);
  Grid->SetColCount(12);
  Grid->MouseActions()->SetColSelect(true);
  Grid->MouseActions()->SetRowSelect(true);
  Grid->MouseActions()->SetAllSelect(true);
  std::vector<TGridRect> changes;
  Grid->OnSelectionChanged = [&](TObject*, int l, int t, int r, int b) { changes.push_back(TGridRect{l, t, r, b}); };
  auto press = [&](int c, int r, TShiftState s = {}) {
    const TPoint p = Inside(c, r);
    MouseMove(Grid, p.X, p.Y);
    MouseDown(Grid, mbLeft, p.X, p.Y, s);
  };
  press(2, 0);
  EXPECT_EQ(Grid->Selection(), (TGridRect{2, 1, 2, 29}));
  EXPECT_EQ(Grid->TopRow(), 1) << "the view stays";
  EXPECT_EQ(Grid->LeftCol(), 1);
  const TPoint to = Inside(3, 0);
  MouseMove(Grid, to.X, to.Y, {ssLeft});
  EXPECT_EQ(Grid->Selection(), (TGridRect{2, 1, 3, 29})) << "dragging along the header";
  MouseUp(Grid, mbLeft, to.X, to.Y);
  EXPECT_EQ(Grid->PointerMode(), TPlusStringGrid::pmNone) << "the release ends the drag";
  const TPoint away = Inside(3, 4);
  MouseMove(Grid, away.X, away.Y, {});
  EXPECT_EQ(Grid->Selection(), (TGridRect{2, 1, 3, 29}));

  press(0, 3);
  MouseUp(Grid, mbLeft, Inside(0, 3).X, Inside(0, 3).Y);
  EXPECT_EQ(Grid->Selection(), (TGridRect{1, 3, 11, 3}));
  press(0, 5, {ssShift});
  MouseUp(Grid, mbLeft, Inside(0, 5).X, Inside(0, 5).Y);
  EXPECT_EQ(Grid->Selection(), (TGridRect{1, 3, 11, 5})) << "Shift extends from the top";
  EXPECT_EQ(Grid->LeftCol(), 1);

  press(0, 0);
  MouseUp(Grid, mbLeft, Inside(0, 0).X, Inside(0, 0).Y);
  EXPECT_EQ(Grid->Selection(), (TGridRect{1, 1, 11, 29}));
  ASSERT_FALSE(changes.empty());
  EXPECT_EQ(changes.back(), (TGridRect{1, 1, 11, 29})) << "each new selection is reported";

  // Without range selection the headers select nothing.
  Option(goRangeSelect, false);
  Grid->SetSelection(TGridRect{2, 2, 2, 2});
  press(3, 0);
  MouseUp(Grid, mbLeft, Inside(3, 0).X, Inside(3, 0).Y);
  EXPECT_EQ(Grid->Selection(), (TGridRect{2, 2, 2, 2}));
}

TEST_F(MouseGrid, AFixedColumnIsSizedByDraggingItsBorderAnywhere) {
  Grid->MouseActions()->SetSizeFixedCol(true);
  std::vector<std::string> log;
  Grid->OnEndColumnSize = [&](TObject*, int c) { log.push_back("end " + std::to_string(c)); };
  Grid->OnUpdateColumnSize = [&](TObject*, int c, int& w) {
    log.push_back("update " + std::to_string(c) + " " + std::to_string(w));
    w += 1;
  };
  const int border = Grid->ColWidths(0) + Grid->GridLineWidth();
  const int y = Inside(1, 3).Y;
  MouseMove(Grid, border - 1, y);
  MouseDown(Grid, mbLeft, border - 1, y);
  EXPECT_TRUE(Grid->FixedLineSizing());
  MouseMove(Grid, 100, y, {ssLeft});
  EXPECT_EQ(Grid->FixedSizingLinePos(), 100);
  MouseUp(Grid, mbLeft, 100, y);
  EXPECT_FALSE(Grid->FixedLineSizing());
  EXPECT_EQ(Grid->ColWidths(0), 100) << "99 to the guide line, one more from the application";
  EXPECT_EQ(log, (std::vector<std::string>{"end 0", "update 0 99"}));
  EXPECT_EQ(Grid->Col(), 1) << "the press selected nothing";
}

TEST_F(MouseGrid, AFixedRowIsSizedByDraggingItsBorder) {
  Grid->MouseActions()->SetSizeFixedRow(true);
  std::vector<int> ended;
  Grid->OnEndRowSize = [&](TObject*, int r) { ended.push_back(r); };
  const int border = Grid->RowHeights(0) + Grid->GridLineWidth();
  const int x = Inside(2, 0).X;
  MouseMove(Grid, x, border - 1);
  ASSERT_TRUE(Grid->FixedRowSizingOffered());
  MouseDown(Grid, mbLeft, x, border - 1);
  EXPECT_TRUE(Grid->FixedLineSizing());
  MouseMove(Grid, x, 60, {ssLeft});
  EXPECT_EQ(Grid->FixedSizingLinePos(), 60);
  EXPECT_EQ(Grid->RowHeights(0), border - 1) << "nothing sized before the release";
  MouseUp(Grid, mbLeft, x, 60);
  EXPECT_FALSE(Grid->FixedLineSizing());
  EXPECT_EQ(Grid->RowHeights(0), 59) << "the row ends at the guide line";
  EXPECT_EQ(ended, std::vector<int>{0});
  EXPECT_EQ(Grid->Row(), 1) << "the press selected nothing";
  EXPECT_EQ(Grid->Col(), 1);
}

TEST_F(MouseGrid, DraggingFromARowHeaderSelectsTheRowsPassedAndScrollsAtTheBottom) {
  Grid->SetRowCount(30);
  Grid->MouseActions()->SetRowSelect(true);
  const TPoint from = Inside(0, 3);
  MouseMove(Grid, from.X, from.Y);
  MouseDown(Grid, mbLeft, from.X, from.Y);
  EXPECT_EQ(Grid->Selection(), (TGridRect{1, 3, 3, 3}));
  const TPoint down = Inside(0, 5);
  MouseMove(Grid, down.X, down.Y, {ssLeft});
  EXPECT_EQ(Grid->Selection(), (TGridRect{1, 3, 3, 5}));
  const TPoint up = Inside(0, 2);
  MouseMove(Grid, up.X, up.Y, {ssLeft});
  EXPECT_EQ(Grid->Selection(), (TGridRect{1, 2, 3, 3})) << "from the row pressed, either way";
  const int top = Grid->TopRow();
  MouseMove(Grid, from.X, Grid->ClientHeight() - 2, {ssLeft});
  EXPECT_EQ(Grid->TopRow(), top + 1) << "at the bottom edge the rows scroll on";
  EXPECT_EQ(Grid->Selection().Top, 3);
  MouseUp(Grid, mbLeft, from.X, Grid->ClientHeight() - 2);
  const TGridRect kept = Grid->Selection();
  MouseMove(Grid, down.X, down.Y);
  EXPECT_EQ(Grid->Selection(), kept) << "the release ends the drag";
  EXPECT_EQ(Grid->TopRow(), top + 1);
}

TEST_F(MouseGrid, SizingAHeaderIsNoClickThatSortsAndMayBeRefused) {
  Option(goColSizing);
  SortableColumn();
  const int border = Grid->CellRect(1, 0).Right;
  MouseDown(Grid, mbLeft, border, 5);
  MouseMove(Grid, border + 30, 5, {ssLeft});
  MouseUp(Grid, mbLeft, border + 30, 5);
  EXPECT_EQ(Grid->ColWidths(1), 94);
  EXPECT_EQ(Grid->Cells(1, 1), "c") << "a sizing does not sort";
  // Let go beyond the grid: the sizing is cancelled.
  const int border2 = Grid->CellRect(1, 0).Right;
  MouseDown(Grid, mbLeft, border2, 5);
  MouseMove(Grid, Grid->ClientWidth() + 20, 5, {ssLeft});
  MouseUp(Grid, mbLeft, Grid->ClientWidth() + 20, 5);
  EXPECT_EQ(Grid->ColWidths(1), 94);
  // The application refuses sizing column 1.
  Grid->OnColumnSize = [](TObject*, int c, bool& Allow) { Allow = c != 1; };
  MouseDown(Grid, mbLeft, border2, 5);
  EXPECT_NE(Grid->GridState(), gsColSizing);
  MouseMove(Grid, border2 + 30, 5, {ssLeft});
  MouseUp(Grid, mbLeft, border2 + 30, 5);
  EXPECT_EQ(Grid->ColWidths(1), 94);
  EXPECT_EQ(Grid->Cells(1, 1), "c");
}

TEST_F(MouseGrid, HeaderCellsEditedByAClickWhereAsked) {
  Option(goColSizing);
  Grid->SetCells(2, 0, "Head");
  Grid->SetCells(0, 3, "Side");
  Grid->MouseActions()->SetFixedRowsEdit(fceLeftClick);
  Grid->MouseActions()->SetFixedColsEdit(fceRightClick);
  const TRect h = Grid->CellRect(2, 0);
  Click(Grid, h.Right - 2, h.Top + 5);
  EXPECT_TRUE(Grid->FixedCellEditor() == nullptr || !Grid->FixedCellEditor()->Visible())
      << "next to a border the click sizes";
  Click(Grid, h.Left + 10, h.Top + 10);
  ASSERT_NE(Grid->FixedCellEditor(), nullptr);
  EXPECT_TRUE(Grid->FixedCellEditor()->Visible());
  EXPECT_EQ(Grid->FixedCellEditor()->Text(), "Head");
  EXPECT_TRUE(Grid->FixedCellEditor()->FinishEdit());
  const TPoint s = Inside(0, 3);
  Click(Grid, s.X, s.Y);
  EXPECT_FALSE(Grid->FixedCellEditor()->Visible()) << "a left click does not edit the fixed column";
  Click(Grid, s.X, s.Y, mbRight);
  EXPECT_TRUE(Grid->FixedCellEditor()->Visible());
  EXPECT_EQ(Grid->FixedCellEditor()->Text(), "Side");
}

TEST_F(MouseGrid, TheSelectionResizerFillsTheCellsItIsDraggedOver) {
  Option(goEditing);
  Grid->Navigation()->SetAllowSmartClipboard(true);
  Grid->SetSelectionRectangle(true);
  Grid->SetSelectionResizer(true);
  Grid->SetCells(1, 1, "7");
  Grid->SetSelection(TGridRect{1, 1, 1, 1});
  std::vector<std::string> log;
  auto text = [](const TGridRect& r) {
    return std::to_string(r.Left) + "," + std::to_string(r.Top) + "-" + std::to_string(r.Right) + "," +
           std::to_string(r.Bottom);
  };
  Grid->OnSelectionResize = [&](TObject*, TGridRect o, TGridRect n) { log.push_back("resize " + text(o) + " " + text(n)); };
  Grid->OnSelectionResized = [&](TObject*, TGridRect o, TGridRect n) { log.push_back("resized " + text(o) + " " + text(n)); };
  const TRect r = Grid->CellRect(1, 1);
  MouseMove(Grid, r.Right - 2, r.Bottom - 2);
  ASSERT_EQ(Grid->PointerMode(), TPlusStringGrid::pmSelectionResize);
  MouseDown(Grid, mbLeft, r.Right - 2, r.Bottom - 2);
  EXPECT_TRUE(Grid->Filling());
  const TPoint to = Inside(1, 3);
  MouseMove(Grid, to.X, to.Y, {ssLeft});
  EXPECT_EQ(Grid->Selection(), (TGridRect{1, 1, 1, 3}));
  MouseUp(Grid, mbLeft, to.X, to.Y);
  EXPECT_FALSE(Grid->Filling());
  EXPECT_EQ(Grid->Cells(1, 2), "7");
  EXPECT_EQ(Grid->Cells(1, 3), "7");
  EXPECT_EQ(Grid->Cells(1, 4), "");
  EXPECT_EQ(log, (std::vector<std::string>{"resize 1,1-1,1 1,1-1,3", "resized 1,1-1,1 1,1-1,3"}));
}

TEST_F(MouseGrid, ANodeClickMovesTheCurrentRowWhenAsked) {
  Grid->SetRowCount(8);
  Grid->AddNode(2, 3);
  Grid->MouseActions()->SetMoveRowOnNodeClick(true);
  const TRect r = Grid->CellRect(0, 2);
  const int x = (Grid->GetNodeLevel(2) - 1) * Grid->CellNode()->NodeIndent() + 2;
  ASSERT_TRUE(Grid->IsOnNodeButton(2, x));
  bool refuse = true;
  Grid->OnBeforeContractNode = [&](TObject*, int, int, bool& Allow) { Allow = !refuse; };
  Click(Grid, x, r.Top + 5);
  EXPECT_FALSE(Grid->GetNodeState(2)) << "refused: still expanded";
  EXPECT_EQ(Grid->Row(), 2) << "the row becomes current all the same";
  refuse = false;
  Click(Grid, x, r.Top + 5);
  EXPECT_TRUE(Grid->GetNodeState(2));
  EXPECT_EQ(Grid->RowCount(), 6);
}

TEST_F(MouseGrid, CellsJoinTheDisjunctCellSelectionAtTheRelease) {
  Grid->MouseActions()->SetDisjunctCellSelect(true);
  auto click = [&](int c, int r, TShiftState s) {
    const TPoint p = Inside(c, r);
    MouseDown(Grid, mbLeft, p.X, p.Y, s);
    MouseUp(Grid, mbLeft, p.X, p.Y, s);
  };
  click(2, 2, {});
  click(3, 3, {ssCtrl});
  EXPECT_TRUE(Grid->IsCellDisjunctSelected(2, 2));
  EXPECT_TRUE(Grid->IsCellDisjunctSelected(3, 3));
  click(2, 2, {ssCtrl});
  EXPECT_FALSE(Grid->IsCellDisjunctSelected(2, 2)) << "Ctrl toggles";
  click(1, 1, {});
  EXPECT_TRUE(Grid->IsCellDisjunctSelected(1, 1));
  EXPECT_FALSE(Grid->IsCellDisjunctSelected(3, 3)) << "a plain click starts anew";
  EXPECT_EQ(Grid->SelectedCells().size(), 1u);
}

TEST_F(MouseGrid, WithRangeSelectAndEditAClickOnTheCurrentCellEditsAndADragSelects) {
  Grid->MouseActions()->SetRangeSelectAndEdit(true);
  Grid->SetCells(2, 2, "x");
  const TPoint p = Inside(2, 2);
  Click(Grid, p.X, p.Y);
  EXPECT_FALSE(Grid->EditorShown()) << "the first click makes the cell current";
  Click(Grid, p.X, p.Y);
  ASSERT_TRUE(Grid->EditorShown()) << "a click on the current cell edits it";
  EXPECT_EQ(Grid->InplaceEditor()->Text(), "x");
  const TPoint a = Inside(1, 1), b = Inside(3, 3);
  Drag(Grid, a.X, a.Y, b.X, b.Y);
  EXPECT_FALSE(Grid->EditorShown());
  EXPECT_FALSE(Grid->Options().Contains(goEditing));
  EXPECT_EQ(Grid->Selection(), (TGridRect{1, 1, 3, 3})) << "a drag selects a range";
}

TEST_F(MouseGrid, BordersThatAPressWouldSizeShowTheSplitCursors) {
  const TRect h = Grid->CellRect(2, 0), s = Grid->CellRect(0, 2);
  MouseMove(Grid, h.Right - 1, h.Top + 5);
  EXPECT_EQ(Grid->Cursor(), crDefault) << "no sizing without goColSizing";
  Option(goColSizing);
  Option(goRowSizing);
  struct Case {
    int x, y;
    TCursor cursor;
  } cases[] = {{h.Right - 1, h.Top + 5, crHSplit},        {h.Left, h.Top + 5, crHSplit},
               {(h.Left + h.Right) / 2, h.Top + 5, crDefault}, {h.Right - 1, Inside(2, 2).Y, crDefault},
               {s.Left + 5, s.Bottom, crVSplit},           {s.Left + 5, (s.Top + s.Bottom) / 2, crDefault}};
  for (const Case& c : cases) {
    MouseMove(Grid, c.x, c.y);
    EXPECT_EQ(Grid->Cursor(), c.cursor) << c.x << ", " << c.y;
  }
}

}  // namespace
