// The layer's grid: geometry from default sizes plus changed ones, painting
// only the cells in view, the 0..127 scroll bars, keys, mouse and wheel.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <utility>

#include "platform/ui/forms.h"
#include "platform/ui/editctrls.h"
#include "platform/ui/grids.h"
#include "platform/ui/menuloop.h"
#include "support/gui/guitest.h"

using namespace guitest;

namespace {

// Counts the cells it is asked to draw.
class TCountingGrid : public TStringGrid {
public:
  explicit TCountingGrid(TComponent* owner) : TStringGrid(owner) {}
  std::vector<std::pair<int, int>> Drawn;
  std::vector<TGridDrawState> States;
  using TCustomGrid::ScrollIntoView;

protected:
  void DrawCell(int ACol, int ARow, TRect ARect, TGridDrawState AState) override {
    Drawn.emplace_back(ACol, ARow);
    States.push_back(AState);
    TStringGrid::DrawCell(ACol, ARow, ARect, AState);
  }
};

// Four columns of 50 and rows of 20 with 1-pixel lines: one fixed row and
// five scrolling rows fill the 126 pixels; the vertical bar takes 16.
struct GridFixture : ::testing::Test {
  TForm* Form = nullptr;
  TCountingGrid* Grid = nullptr;
  void SetUp() override {
    Form = new TForm(nullptr);
    Form->SetBounds(0, 0, 400, 300);
    Grid = new TCountingGrid(Form);
    Grid->SetParent(Form);
    Grid->SetScrollBars(ssVertical);
    Grid->SetColCount(4);
    Grid->SetDefaultColWidth(50);
    Grid->SetDefaultRowHeight(20);
    Grid->SetBounds(0, 0, 4 * 51 + 16, 21 + 5 * 21);
  }
  void TearDown() override {
    delete Form;
    ProcessEvents();
  }
  void Paint() {
    Grid->Drawn.clear();
    Grid->States.clear();
    Grid->Repaint();
  }
  std::tuple<int, int, int> Where() const { return {Grid->Col(), Grid->Row(), Grid->TopRow()}; }
};

}  // namespace

TEST_F(GridFixture, MillionRowsScrolledToTheEndDrawOnlyTheVisibleCells) {
  Grid->SetRowCount(1000000);
  ASSERT_TRUE(Grid->ScrollBarVisible(SB_VERT));
  EXPECT_FALSE(Grid->ScrollBarVisible(SB_HORZ));
  EXPECT_EQ(Grid->ClientWidth(), 4 * 51);
  Grid->SetRow(999999);
  EXPECT_EQ(Grid->TopRow(), 999995);
  EXPECT_EQ(Grid->MaxTopRow(), 999995);
  EXPECT_EQ(Grid->VisibleRowCount(), 5);
  EXPECT_EQ(Grid->ScrollPos(SB_VERT), 127);
  Paint();
  std::set<std::pair<int, int>> expected;
  for (int c = 0; c < 4; ++c)
    for (int r : {0, 999995, 999996, 999997, 999998, 999999}) expected.insert({c, r});
  EXPECT_EQ(Grid->Drawn.size(), expected.size());
  const std::set<std::pair<int, int>> drawn(Grid->Drawn.begin(), Grid->Drawn.end());
  EXPECT_EQ(drawn, expected);
  // The current cell is focused (and not selected without goDrawFocusSelected); fixed cells say so.
  for (size_t i = 0; i < Grid->Drawn.size(); ++i) {
    const auto [c, r] = Grid->Drawn[i];
    const TGridDrawState s = Grid->States[i];
    EXPECT_EQ(s.Contains(gdFixed), c == 0 || r == 0);
    EXPECT_EQ(s.Contains(gdFocused), c == 1 && r == 999999);
    EXPECT_FALSE(s.Contains(gdSelected));
  }
}

TEST_F(GridFixture, GeometryFollowsChangedSizesBothWays) {
  Grid->SetRowCount(50);
  Grid->SetColWidths(2, 80);
  Grid->SetRowHeights(3, 40);
  EXPECT_EQ(Grid->ColWidths(2), 80);
  EXPECT_EQ(Grid->ColWidths(1), 50);
  struct {
    int c, r;
    TRect rect;
  } rects[] = {
      {0, 0, Rect(0, 0, 50, 20)},      {1, 1, Rect(51, 21, 101, 41)},
      {2, 1, Rect(102, 21, 182, 41)},  {3, 1, Rect(183, 21, 204, 41)},  // cut at the client edge
      {1, 3, Rect(51, 63, 101, 103)},  {1, 4, Rect(51, 104, 101, 124)},
      {1, 6, TRect{}},                 // below the view
  };
  for (const auto& t : rects) EXPECT_EQ(Grid->CellRect(t.c, t.r), t.rect) << t.c << "," << t.r;
  struct {
    int x, y, c, r;
  } hits[] = {
      {10, 10, 0, 0},   {50, 10, 0, 0},  // the grid line belongs to the cell before it
      {51, 10, 1, 0},   {182, 30, 2, 1}, {183, 30, 3, 1}, {10, 103, 0, 3},
      {10, 104, 0, 4},  {203, 125, 3, 5}, {204, 30, -1, -1},  // under the scroll bar
  };
  for (const auto& t : hits) {
    int c = 0, r = 0;
    Grid->MouseToCell(t.x, t.y, c, r);
    EXPECT_EQ(std::make_pair(c, r), std::make_pair(t.c, t.r)) << t.x << "," << t.y;
  }
  // Scrolled: the fixed row stays, row 3 follows it.
  Grid->SetTopRow(3);
  EXPECT_EQ(Grid->CellRect(1, 3), Rect(51, 21, 101, 61));
  EXPECT_EQ(Grid->CellRect(1, 2), TRect{});
  EXPECT_EQ(Grid->MouseCoord(60, 62).Y, 4);
  EXPECT_EQ(Grid->VisibleRowCount(), 4);  // 41 + 3 * 21 fit in 105
}

TEST_F(GridFixture, ScrollBarMapsTopRowToZeroThrough127) {
  Grid->SetRowCount(1001);  // rows 1..1000 scroll, the last top row is 996
  ASSERT_EQ(Grid->MaxTopRow(), 996);
  auto scroll = [&](int code, int pos = 0) { Grid->Perform(WM_VSCROLL, MAKEWPARAM(code, pos), 0); };
  scroll(SB_LINEDOWN);
  EXPECT_EQ(Grid->TopRow(), 2);
  scroll(SB_PAGEDOWN);
  EXPECT_EQ(Grid->TopRow(), 7);
  scroll(SB_PAGEUP);
  scroll(SB_LINEUP);
  scroll(SB_LINEUP);
  EXPECT_EQ(Grid->TopRow(), 1);
  EXPECT_EQ(Grid->ScrollPos(SB_VERT), 0);
  scroll(SB_THUMBPOSITION, 64);
  EXPECT_EQ(Grid->TopRow(), 1 + 64 * 995 / 127);
  EXPECT_EQ(Grid->ScrollPos(SB_VERT), (Grid->TopRow() - 1) * 127 / 995);
  // Dragging the thumb scrolls only with goThumbTracking.
  const int before = Grid->TopRow();
  scroll(SB_THUMBTRACK, 10);
  EXPECT_EQ(Grid->TopRow(), before);
  Grid->SetOptions(Grid->Options() + TGridOptions{goThumbTracking});
  scroll(SB_THUMBTRACK, 10);
  EXPECT_EQ(Grid->TopRow(), 1 + 10 * 995 / 127);
  scroll(SB_BOTTOM);
  EXPECT_EQ(Grid->TopRow(), 996);
  EXPECT_EQ(Grid->ScrollPos(SB_VERT), 127);
  scroll(SB_LINEDOWN);
  EXPECT_EQ(Grid->TopRow(), 996);
  scroll(SB_TOP);
  EXPECT_EQ(Grid->TopRow(), 1);
}

TEST_F(GridFixture, ScrollBarsShowOnlyWhenLinesDoNotFit) {
  Grid->SetRowCount(6);
  Grid->SetScrollBars(ssBoth);
  EXPECT_FALSE(Grid->ScrollBarVisible(SB_VERT));
  EXPECT_FALSE(Grid->ScrollBarVisible(SB_HORZ));
  EXPECT_EQ(Grid->ClientRect(), Rect(0, 0, 220, 126));
  Grid->SetRowCount(7);
  EXPECT_TRUE(Grid->ScrollBarVisible(SB_VERT));
  EXPECT_FALSE(Grid->ScrollBarVisible(SB_HORZ));
  Grid->SetColCount(5);  // 5 * 51 > 204
  EXPECT_TRUE(Grid->ScrollBarVisible(SB_HORZ));
  EXPECT_EQ(Grid->ClientRect(), Rect(0, 0, 204, 110));
  Grid->SetScrollBars(ssNone);
  EXPECT_EQ(Grid->ClientRect(), Rect(0, 0, 220, 126));
  // A scrolled view that grows to fit all rows comes back to the top.
  Grid->SetRowCount(20);
  Grid->SetTopRow(15);
  EXPECT_EQ(Grid->TopRow(), 15);
  Grid->SetHeight(21 * 20 + 40);
  EXPECT_EQ(Grid->TopRow(), 1);
}

TEST_F(GridFixture, KeysMoveTheCurrentCellAndScroll) {
  Grid->SetRowCount(100);
  Form->Show();
  struct {
    uint16_t key;
    TShiftState shift;
    int col, row, top;
  } steps[] = {
      {VK_DOWN, {}, 1, 2, 1},           {VK_END, {}, 3, 2, 1},
      {VK_RIGHT, {}, 3, 2, 1},          {VK_HOME, {}, 1, 2, 1},
      {VK_LEFT, {}, 1, 2, 1},           {VK_PRIOR, {}, 1, 1, 1},
      {VK_NEXT, {}, 1, 6, 6},           {VK_NEXT, {}, 1, 11, 11},
      {VK_UP, {}, 1, 10, 10},           {VK_DOWN, {ssCtrl}, 1, 10, 11},   // scrolls, cell stays
      {VK_NEXT, {ssCtrl}, 1, 15, 11},   {VK_PRIOR, {ssCtrl}, 1, 11, 11},
      {VK_END, {ssCtrl}, 3, 99, 95},    {VK_DOWN, {}, 3, 99, 95},
      {VK_HOME, {ssCtrl}, 1, 1, 1},     {VK_UP, {}, 1, 1, 1},
      {VK_TAB, {}, 1, 1, 1},            // goTabs is off: Tab leaves the grid alone
  };
  for (const auto& s : steps) {
    Key(Grid, s.key, "", s.shift);
    EXPECT_EQ(Where(), std::make_tuple(s.col, s.row, s.top)) << "key " << s.key;
  }
  Grid->SetOptions(Grid->Options() + TGridOptions{goTabs});
  Grid->SetCol(3);
  Key(Grid, VK_TAB);
  EXPECT_EQ(Where(), std::make_tuple(1, 2, 1));
  Key(Grid, VK_TAB, "", {ssShift});
  EXPECT_EQ(Where(), std::make_tuple(3, 1, 1));
}

TEST_F(GridFixture, ShiftExtendsTheSelectionAndRowSelectTakesWholeRows) {
  Grid->SetRowCount(100);
  Form->Show();
  Key(Grid, VK_DOWN, "", {ssShift});
  Key(Grid, VK_RIGHT, "", {ssShift});
  EXPECT_EQ(Grid->Selection(), (TGridRect{1, 1, 2, 2}));
  Key(Grid, VK_UP, "", {ssShift});
  EXPECT_EQ(Grid->Selection(), (TGridRect{1, 1, 2, 1}));
  Key(Grid, VK_DOWN);
  EXPECT_EQ(Grid->Selection(), (TGridRect{2, 2, 2, 2}));
  // Without goRangeSelect Shift only moves.
  Grid->SetOptions(Grid->Options() - TGridOptions{goRangeSelect});
  Key(Grid, VK_DOWN, "", {ssShift});
  EXPECT_EQ(Grid->Selection(), (TGridRect{2, 3, 2, 3}));
  Grid->SetOptions(Grid->Options() + TGridOptions{goRowSelect, goRangeSelect});
  EXPECT_EQ(Grid->Selection(), (TGridRect{1, 3, 3, 3}));
  Key(Grid, VK_DOWN, "", {ssShift});
  EXPECT_EQ(Grid->Selection(), (TGridRect{1, 3, 3, 4}));
  Paint();
  int selected = 0;
  for (const TGridDrawState& s : Grid->States) selected += s.Contains(gdSelected);
  EXPECT_EQ(selected, 6);  // two rows of three scrolling cells, the current one included
}

TEST_F(GridFixture, SelectCellCanRefuseAMove) {
  Grid->SetRowCount(10);
  Form->Show();
  std::vector<std::pair<int, int>> asked;
  Grid->OnSelectCell = [&](TObject*, int c, int r, bool& can) {
    asked.emplace_back(c, r);
    can = r != 3;
  };
  int topChanges = 0;
  Grid->OnTopLeftChanged = [&](TObject*) { ++topChanges; };
  Key(Grid, VK_DOWN);
  Key(Grid, VK_DOWN);
  EXPECT_EQ(Where(), std::make_tuple(1, 2, 1));
  EXPECT_EQ(asked, (std::vector<std::pair<int, int>>{{1, 2}, {1, 3}}));
  Grid->SetRow(9);
  EXPECT_EQ(Grid->TopRow(), 5);
  EXPECT_EQ(topChanges, 1);
}

TEST_F(GridFixture, MouseSelectsCellsAndTheWheelMovesTheRow) {
  Grid->SetRowCount(100);
  Form->Show();
  Click(Grid, 110, 70);  // column 2, row 3
  EXPECT_EQ(Where(), std::make_tuple(2, 3, 1));
  EXPECT_EQ(Grid->GridState(), gsNormal);
  Click(Grid, 10, 70);  // a fixed cell does not move the current cell
  EXPECT_EQ(Where(), std::make_tuple(2, 3, 1));
  MouseDown(Grid, mbLeft, 60, 30, {ssShift});
  EXPECT_EQ(Grid->GridState(), gsSelecting);
  MouseUp(Grid, mbLeft, 60, 30, {ssShift});
  EXPECT_EQ(Grid->Selection(), (TGridRect{1, 1, 2, 3}));
  Drag(Grid, 60, 30, 160, 100);
  EXPECT_EQ(Grid->Selection(), (TGridRect{1, 1, 3, 4}));
  EXPECT_EQ(Where(), std::make_tuple(3, 4, 1));
  Wheel(Grid, -3, 60, 60);
  EXPECT_EQ(Where(), std::make_tuple(3, 7, 3));
  Wheel(Grid, 1, 60, 60);
  EXPECT_EQ(Where(), std::make_tuple(3, 6, 3));
}

TEST_F(GridFixture, StringGridStoresOnlyWhatItHoldsAndFollowsTheCounts) {
  Grid->SetRowCount(1000000);
  Grid->SetCells(3, 999999, "last");
  Grid->SetCells(0, 0, "corner");
  TObject marker;
  Grid->SetObjects(2, 5, &marker);
  EXPECT_EQ(Grid->Cells(3, 999999), "last");
  EXPECT_EQ(Grid->Cells(2, 999999), "");
  EXPECT_EQ(Grid->Objects(2, 5), &marker);
  EXPECT_EQ(Grid->Objects(3, 5), nullptr);
  EXPECT_THROW(Grid->SetCells(4, 0, "x"), EInvalidOperation);
  EXPECT_THROW(Grid->SetCells(0, 1000000, "x"), EInvalidOperation);
  EXPECT_EQ(Grid->Cells(4, 0), "");  // reading out of range gives the empty text
  Grid->SetColCount(3);
  Grid->SetRowCount(10);
  EXPECT_EQ(Grid->Cells(0, 0), "corner");
  Grid->SetColCount(4);
  Grid->SetRowCount(1000000);
  EXPECT_EQ(Grid->Cells(3, 999999), "") << "a dropped row comes back empty";
  EXPECT_EQ(Grid->Objects(2, 5), &marker);
}

TEST_F(GridFixture, DefaultDrawingPaintsFixedSelectedAndGridLines) {
  Grid->SetRowCount(10);
  Grid->SetColor(clWhite);
  Grid->SetFixedColor(clBtnFace);
  Grid->SetSelection(TGridRect{1, 1, 2, 2});
  Paint();
  TCanvas* c = Grid->Canvas();
  EXPECT_EQ(c->Pixels(25, 10), static_cast<TColor>(ColorToRGB(clBtnFace)));
  EXPECT_EQ(c->Pixels(50, 10), static_cast<TColor>(ColorToRGB(clBlack)));      // fixed grid line
  EXPECT_EQ(c->Pixels(160, 30), static_cast<TColor>(ColorToRGB(clWhite)));     // column 3, not selected
  EXPECT_EQ(c->Pixels(101, 30), static_cast<TColor>(ColorToRGB(clSilver)));    // line after column 1
  EXPECT_EQ(c->Pixels(70, 50), static_cast<TColor>(ColorToRGB(clHighlight)));   // (1, 2) is selected
  EXPECT_EQ(c->Pixels(120, 50), static_cast<TColor>(ColorToRGB(clWhite)));      // (2, 2) is current: focused, not selected
}

// A grid shows its cells in the scroll area's viewport: what changes them must
// reach the display through the window system's own paint, not only when a
// test asks for the surface.
TEST_F(GridFixture, ChangedCellsAndInvalidateRepaintTheShownGrid) {
  Form->Show();
  ProcessEvents();
  ASSERT_FALSE(Grid->Drawn.empty());  // shown once
  Grid->Drawn.clear();
  Grid->SetCells(1, 1, "Rwp");
  ProcessEvents();
  EXPECT_NE(std::find(Grid->Drawn.begin(), Grid->Drawn.end(), std::make_pair(1, 1)), Grid->Drawn.end());
  Grid->Drawn.clear();
  Grid->Invalidate();
  ProcessEvents();
  EXPECT_FALSE(Grid->Drawn.empty());
}

TEST(GridAxis, OffsetsAndHitsAcrossChangedAndEmptyLines) {
  TGridAxis axis;
  axis.Count = 1000000;
  axis.DefaultSize = 10;
  axis.SetSize(3, 0);  // a hidden line
  axis.SetSize(5, 30);
  axis.SetSize(999998, 20);
  axis.SetSize(7, 10);  // back to the default: not kept
  EXPECT_EQ(axis.Changed.size(), 3u);
  struct {
    int from, to;
    int64_t extent;
  } extents[] = {{0, 0, 0}, {0, 3, 33}, {0, 4, 34}, {0, 6, 76}, {4, 6, 42}, {6, 1000000, 999994LL * 11 + 10}};
  for (const auto& e : extents) EXPECT_EQ(axis.Extent(e.from, e.to, 1), e.extent) << e.from << ".." << e.to;
  struct {
    int from;
    int64_t d;
    int line;
  } hits[] = {{0, 0, 0},  {0, 32, 2}, {0, 33, 3},  {0, 44, 4}, {0, 45, 5}, {0, 75, 5},
              {0, 76, 6}, {4, 0, 4},  {4, 11, 5},  {999999, 10, 999999}, {999999, 11, 1000000}};
  for (const auto& h : hits) EXPECT_EQ(axis.LineAt(h.from, h.d, 1), h.line) << h.from << "+" << h.d;
  axis.Count = 6;
  axis.Trim();
  EXPECT_EQ(axis.Changed.size(), 2u);
}

namespace {

// Records when CanEditShow is asked and can refuse.
class TEditingGrid : public TStringGrid {
public:
  explicit TEditingGrid(TComponent* owner) : TStringGrid(owner) {}
  int Asked = 0;
  bool Allow = true;
  std::vector<std::string> Stored;
  std::vector<std::pair<int, int>> Moves;
  int WidthsChanged = 0;

  void SetEditText(int ACol, int ARow, const std::string& Value) override {
    Stored.push_back(std::to_string(ACol) + "," + std::to_string(ARow) + "=" + Value);
    TStringGrid::SetEditText(ACol, ARow, Value);
  }

protected:
  bool CanEditShow() override {
    ++Asked;
    return Allow && TStringGrid::CanEditShow();
  }
  void ColumnMoved(int From, int To) override {
    Moves.emplace_back(From, To);
    TStringGrid::ColumnMoved(From, To);
  }
  void ColWidthsChanged() override { ++WidthsChanged; }
};

struct EditFixture : ::testing::Test {
  TForm* Form = nullptr;
  TEditingGrid* Grid = nullptr;
  void SetUp() override {
    EnsureGui();
    Form = new TForm(nullptr);
    Form->SetBounds(0, 0, 400, 300);
    Grid = new TEditingGrid(Form);
    Grid->SetParent(Form);
    Grid->SetColCount(4);
    Grid->SetRowCount(5);
    Grid->SetDefaultColWidth(50);
    Grid->SetDefaultRowHeight(20);
    Grid->SetBounds(0, 0, 300, 200);
    Form->Show();
    Grid->SetFocus();
    ProcessEvents();
  }
  void TearDown() override {
    delete Form;
    ProcessEvents();
  }
  void Enable() { Add(goEditing); }
  void Add(TGridOption o) {
    TGridOptions v = Grid->Options();
    Grid->SetOptions(v.Include(o));
  }
};

}  // namespace

TEST_F(EditFixture, TypingOpensTheEditorWithTheCharacterAndEnterHandsTheTextBack) {
  Grid->SetCells(1, 1, "old");
  TypeText(Grid, "x");
  EXPECT_FALSE(Grid->EditorMode()) << "no editor without goEditing";
  EXPECT_EQ(Grid->Asked, 0);

  Enable();
  TypeText(Grid, "a");
  ASSERT_TRUE(Grid->EditorShown());
  EXPECT_EQ(Grid->Asked, 1);
  TypeText(Grid->InplaceEditor(), "b");
  EXPECT_EQ(Grid->InplaceEditor()->Text(), "ab") << "the first character replaced the selected old text";
  EXPECT_TRUE(Grid->InplaceEditor()->Focused());
  EXPECT_EQ(Grid->Cells(1, 1), "old") << "nothing stored while typing";

  Key(Grid->InplaceEditor(), VK_RETURN, "\r");
  EXPECT_FALSE(Grid->EditorMode());
  EXPECT_FALSE(Grid->InplaceEditor()->Visible());
  EXPECT_EQ(Grid->Cells(1, 1), "ab");
  EXPECT_EQ(Grid->Stored, (std::vector<std::string>{"1,1=ab"}));
  EXPECT_TRUE(Grid->Focused()) << "the grid takes the focus back";

  Key(Grid, VK_RETURN, "\r");
  EXPECT_TRUE(Grid->EditorShown()) << "Enter on the grid opens the editor again";
  EXPECT_EQ(Grid->InplaceEditor()->Text(), "ab");
}

TEST_F(EditFixture, CanEditShowDecidesAndARefusalLeavesEditorModeOff) {
  Enable();
  Grid->Allow = false;
  Key(Grid, VK_F2);
  EXPECT_EQ(Grid->Asked, 1);
  EXPECT_FALSE(Grid->EditorMode());
  EXPECT_EQ(Grid->InplaceEditor(), nullptr) << "not even made";

  Grid->Allow = true;
  Add(goRowSelect);
  Key(Grid, VK_F2);
  EXPECT_FALSE(Grid->EditorMode()) << "row selection never edits";
}

TEST_F(EditFixture, MovingHandsTheTextOverBeforeTheMoveAndHidesOrFollows) {
  Enable();
  Grid->SetCells(2, 1, "two");
  std::vector<std::string> atSelect;
  // The stored text is already there when the move is asked about.
  Grid->OnSelectCell = [&](TObject*, int, int, bool&) { atSelect.push_back(Grid->Cells(1, 1)); };
  TypeText(Grid, "q");
  Key(Grid->InplaceEditor(), VK_TAB, "\t");  // no goTabs: the grid ignores it
  Key(Grid->InplaceEditor(), VK_DOWN);
  EXPECT_EQ(atSelect, (std::vector<std::string>{"q"}));
  EXPECT_EQ(Grid->Row(), 2);
  EXPECT_FALSE(Grid->EditorShown());

  Add(goAlwaysShowEditor);
  Key(Grid, VK_F2);
  ASSERT_TRUE(Grid->EditorShown());
  Key(Grid->InplaceEditor(), VK_UP);
  EXPECT_TRUE(Grid->EditorShown()) << "goAlwaysShowEditor refills on the new cell";
  EXPECT_EQ(Grid->InplaceEditor()->Text(), "q");
}

TEST_F(EditFixture, LeftAndRightLeaveTheEditorOnlyAtTheEndsOfTheText) {
  Enable();
  Grid->SetCells(2, 1, "x");
  Key(Grid, VK_F2);
  Key(Grid->InplaceEditor(), VK_RIGHT);
  EXPECT_EQ(Grid->Col(), 1) << "without goAlwaysShowEditor the keys stay in the text";
  Key(Grid->InplaceEditor(), VK_ESCAPE, "\x1b");
  Add(goAlwaysShowEditor);
  Grid->SetCells(1, 1, "abc");
  Key(Grid, VK_F2);
  auto* e = Grid->InplaceEditor();
  e->SetSelStart(1);
  e->SetSelLength(0);
  Key(e, VK_RIGHT);
  EXPECT_EQ(Grid->Col(), 1) << "inside the text the caret moves";
  e->SetSelStart(3);
  e->SetSelLength(0);
  Key(e, VK_RIGHT);
  EXPECT_EQ(Grid->Col(), 2);
}

TEST_F(EditFixture, EscapePutsTheCellTextBackAndAClickOnTheCurrentCellEdits) {
  Enable();
  Grid->SetCells(1, 1, "keep");
  TypeText(Grid, "zz");
  Key(Grid->InplaceEditor(), VK_ESCAPE, "\x1b");
  EXPECT_FALSE(Grid->EditorShown());
  EXPECT_EQ(Grid->Cells(1, 1), "keep");

  const TRect r = Grid->CellRect(2, 2);
  Click(Grid, r.Left + 5, r.Top + 5);
  EXPECT_FALSE(Grid->EditorMode()) << "the first click selects";
  Click(Grid, r.Left + 5, r.Top + 5);
  EXPECT_TRUE(Grid->EditorShown()) << "a click on the current cell edits";
  EXPECT_EQ(Grid->InplaceEditor()->Left(), r.Left);
  EXPECT_EQ(Grid->InplaceEditor()->Top(), r.Top);
}

TEST_F(EditFixture, ColumnsAreSizedAndMovedWithTheMouse) {
  Add(goColSizing);
  Add(goColMoving);
  Grid->SetCells(1, 0, "A");
  Grid->SetCells(1, 2, "a2");
  Grid->SetCells(3, 2, "c2");
  Grid->SetColWidths(1, 40);
  EXPECT_EQ(Grid->WidthsChanged, 1) << "every width change is reported";
  Grid->WidthsChanged = 0;
  // Column 1 ends at 51 + 40.
  MouseDown(Grid, mbLeft, 91, 5);
  EXPECT_EQ(Grid->GridState(), gsColSizing);
  MouseMove(Grid, 120, 5, {ssLeft});
  EXPECT_EQ(Grid->SizingPos(), 120);
  MouseUp(Grid, mbLeft, 120, 5);
  EXPECT_EQ(Grid->GridState(), gsNormal);
  EXPECT_EQ(Grid->ColWidths(1), 69);
  EXPECT_EQ(Grid->WidthsChanged, 1);

  // Drag column 1's header onto column 3.
  const TRect h3 = Grid->CellRect(3, 0);
  MouseDown(Grid, mbLeft, 60, 5);
  EXPECT_EQ(Grid->GridState(), gsColMoving);
  MouseMove(Grid, h3.Left + 10, 5, {ssLeft});
  EXPECT_EQ(Grid->MoveTarget(), 3);
  MouseUp(Grid, mbLeft, h3.Left + 10, 5);
  EXPECT_EQ(Grid->Moves, (std::vector<std::pair<int, int>>{{1, 3}}));
  EXPECT_EQ(Grid->Cells(3, 0), "A");
  EXPECT_EQ(Grid->Cells(3, 2), "a2");
  EXPECT_EQ(Grid->Cells(2, 2), "c2");
  EXPECT_EQ(Grid->ColWidths(3), 69) << "the width travels with the column";
  EXPECT_EQ(Grid->ColWidths(1), 50);
}

TEST_F(EditFixture, SizingKeepsTheOffsetAtWhichTheBorderWasGrabbed) {
  Add(goColSizing);
  Add(goRowSizing);
  Grid->SetColWidths(1, 40);
  Grid->WidthsChanged = 0;
  // Column 1 ends at 91; a press 2 pixels inside the border and no move.
  MouseDown(Grid, mbLeft, 89, 5);
  ASSERT_EQ(Grid->GridState(), gsColSizing);
  EXPECT_EQ(Grid->SizingPos(), 91) << "the line starts on the border";
  MouseUp(Grid, mbLeft, 89, 5);
  EXPECT_EQ(Grid->ColWidths(1), 40) << "a click sizes nothing";
  EXPECT_EQ(Grid->WidthsChanged, 1) << "the release still reports the width";
  MouseDown(Grid, mbLeft, 93, 5);
  MouseMove(Grid, 103, 5, {ssLeft});
  EXPECT_EQ(Grid->SizingPos(), 101);
  MouseUp(Grid, mbLeft, 103, 5);
  EXPECT_EQ(Grid->ColWidths(1), 50);
  // Rows likewise.
  const int bottom = Grid->CellRect(0, 1).Bottom;
  MouseDown(Grid, mbLeft, 5, bottom - 1);
  ASSERT_EQ(Grid->GridState(), gsRowSizing);
  MouseUp(Grid, mbLeft, 5, bottom - 1);
  EXPECT_EQ(Grid->RowHeights(1), Grid->DefaultRowHeight());
}

TEST_F(EditFixture, TheCurrentCellStaysWithItsLineWhenLinesMove) {
  Grid->SetCells(2, 3, "here");
  Grid->SetCol(2);
  Grid->SetRow(3);
  Grid->MoveColumn(1, 3);
  EXPECT_EQ(Grid->Col(), 1) << "the columns after the moved one shift left";
  Grid->MoveColumn(3, 1);
  EXPECT_EQ(Grid->Col(), 2);
  Grid->MoveRow(4, 1);
  EXPECT_EQ(Grid->Row(), 4) << "the rows from the target on shift down";
  EXPECT_EQ(Grid->Cells(Grid->Col(), Grid->Row()), "here");
  Grid->MoveRow(4, 2);
  EXPECT_EQ(Grid->Row(), 2);
  EXPECT_EQ(Grid->Selection(), (TGridRect{2, 2, 2, 2})) << "the selection moves along";
}

TEST_F(EditFixture, TheMoveTimerScrollsWhileTheMouseIsBeyondTheCells) {
  Add(goRowMoving);
  Grid->SetRowCount(40);
  Grid->SetCells(0, 1, "first");
  MouseDown(Grid, mbLeft, 5, 25);
  ASSERT_EQ(Grid->GridState(), gsRowMoving);
  MouseMove(Grid, 5, 400, {ssLeft});
  ASSERT_FALSE(RunningWindowTimers().empty());
  const int top = Grid->TopRow();
  FireWindowTimers();
  FireWindowTimers();
  EXPECT_EQ(Grid->TopRow(), top + 2);
  const int target = Grid->MoveTarget();
  EXPECT_GT(target, 2);
  MouseUp(Grid, mbLeft, 5, 400);
  EXPECT_TRUE(RunningWindowTimers().empty()) << "the release stops the timer";
  EXPECT_EQ(Grid->Cells(0, target), "first");
  EXPECT_EQ(Grid->Cells(0, 1), "");
}
