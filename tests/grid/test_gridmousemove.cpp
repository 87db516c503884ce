// Mouse movement over the grid, the wheel, Ctrl+wheel zoom and panning with
// the middle button, driven by input through the window system.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "grid/plusgrid.h"
#include "grid/support/plusobj.h"
#include "platform/ui/forms.h"
#include "platform/ui/menuloop.h"
#include "support/gui/guitest.h"

namespace {

class WheelRecorder : public TPlusStringGrid {
public:
  using TPlusStringGrid::TPlusStringGrid;
  void WheelScrolled(int Delta) override { Scrolled.push_back(Delta); }
  std::vector<int> Scrolled;
};

class GridMouseMove : public ::testing::Test {
protected:
  void SetUp() override {
    guitest::EnsureGui();
    Form = new TForm(nullptr);
    Form->SetBounds(0, 0, 600, 400);
    Grid = new WheelRecorder(Form);
    Grid->SetParent(Form);
    Grid->SetColCount(5);
    Grid->SetRowCount(30);
    Grid->SetBounds(0, 0, 400, 250);
    Grid->SetLook(glStandard);
    Grid->SetWheelLines(3);
  }
  void TearDown() override {
    delete Form;
    guitest::ProcessEvents();
  }
  // The point inside a cell, 5 pixels from its top-left corner.
  TPoint In(int col, int row) const {
    const TRect r = Grid->CellRect(col, row);
    return TPoint{r.Left + 5, r.Top + 5};
  }
  TForm* Form = nullptr;
  WheelRecorder* Grid = nullptr;
};

TEST_F(GridMouseMove, WheelMovesTheIncrementThenThePlatformStepOneMore) {
  struct Case {
    int increment, notches, from, expected;
    std::vector<int> scrolled;
  } cases[] = {
      {2, -1, 5, 8, {2}},   // towards the user: 5 + 2, then one more
      {0, -1, 5, 9, {}},    // the system's 3 lines, then one more; no report
      {2, 1, 8, 5, {-2}},   // away from the user
      {2, -1, 28, 29, {1}}, // stops at the last row
  };
  for (const Case& c : cases) {
    Grid->MouseActions()->SetWheelIncrement(c.increment);
    Grid->SetCurrentRow(c.from);
    Grid->Scrolled.clear();
    const TPoint p = In(2, Grid->Row());
    guitest::Wheel(Grid, c.notches, p.X, p.Y);
    EXPECT_EQ(Grid->Row(), c.expected) << "increment " << c.increment << " from " << c.from;
    EXPECT_EQ(Grid->Scrolled, c.scrolled);
  }
}

TEST_F(GridMouseMove, WheelDoesNothingWithFixedRowAlwaysAndOneRow) {
  int platformSteps = 0;
  Grid->OnMouseWheelDown = [&](TObject*, TShiftState, TPoint, bool&) { ++platformSteps; };
  Grid->SetFixedRowAlways(true);
  Grid->SetRowCount(1);
  int changes = 0;
  Grid->OnSelectionChanged = [&](TObject*, int, int, int, int) { ++changes; };
  guitest::Wheel(Grid, -1, 50, 10);
  EXPECT_EQ(platformSteps, 0) << "the message goes no further";
  EXPECT_EQ(changes, 0);
  Grid->SetRowCount(4);
  guitest::Wheel(Grid, -1, 50, 10);
  EXPECT_EQ(platformSteps, 1);
}

TEST_F(GridMouseMove, WheelSwitchedOffMovesNothingButStillReports) {
  int reported = 0;
  Grid->OnMouseWheelDown = [&](TObject*, TShiftState, TPoint, bool&) { ++reported; };
  Grid->SetEnableWheel(false);
  Grid->MouseActions()->SetWheelIncrement(2);
  Grid->SetCurrentRow(5);
  guitest::Wheel(Grid, -1, 50, 50);
  EXPECT_EQ(Grid->Row(), 5);
  EXPECT_EQ(Grid->TopRow(), 1);
  EXPECT_EQ(reported, 1);
  EXPECT_TRUE(Grid->Scrolled.empty());
}

TEST_F(GridMouseMove, CtrlWheelZoomsThreeNotchesEachWayAtMost) {
  Grid->SetCurrentRow(5);
  const int width = Grid->ColWidths(1), height = Grid->RowHeights(1);
  std::vector<int> totals;
  for (int i = 0; i < 4; ++i) {
    guitest::Wheel(Grid, -1, 50, 50, TShiftState{ssCtrl});
    totals.push_back(Grid->ZoomTotal());
  }
  EXPECT_EQ(totals, (std::vector<int>{3, 6, 9, 9}));
  EXPECT_EQ(Grid->ColWidths(1), width + 9);
  EXPECT_EQ(Grid->RowHeights(1), height + 9);
  EXPECT_EQ(Grid->Row(), 5) << "zooming moves no row";
  totals.clear();
  for (int i = 0; i < 8; ++i) {
    guitest::Wheel(Grid, 1, 50, 50, TShiftState{ssCtrl});
    totals.push_back(Grid->ZoomTotal());
  }
  EXPECT_EQ(totals.back(), -9);
  EXPECT_EQ(Grid->ColWidths(1), width - 9);
  Grid->SetIntelliZoom(false);
  guitest::Wheel(Grid, 1, 50, 50, TShiftState{ssCtrl});
  EXPECT_EQ(Grid->ZoomTotal(), -9);
}

TEST_F(GridMouseMove, ScrollWheelActionMovesTheViewNotTheCell) {
  Grid->MouseActions()->SetWheelAction(waScroll);
  Grid->SetCurrentRow(2);
  guitest::Wheel(Grid, -1, 50, 50);
  EXPECT_EQ(Grid->TopRow(), 4);
  EXPECT_EQ(Grid->Row(), 2);
  guitest::Wheel(Grid, 1, 50, 50);
  EXPECT_EQ(Grid->TopRow(), 1);
}

TEST_F(GridMouseMove, FixedColumnBorderOfferedWithinTwoPixels) {
  Grid->MouseActions()->SetSizeFixedCol(true);
  const int border = Grid->ColWidths(0) + Grid->GridLineWidth();
  struct Case {
    int x;
    bool offered;
  } cases[] = {{border - 3, false}, {border - 2, true}, {border, true}, {border + 2, true}, {border + 3, false}};
  for (const Case& c : cases) {
    guitest::MouseMove(Grid, c.x, In(1, 3).Y);
    EXPECT_EQ(Grid->FixedColSizingOffered(), c.offered) << "x " << c.x;
    EXPECT_EQ(Grid->FixedColSizingIndex(), c.offered ? 0 : -1);
    EXPECT_EQ(Grid->Cursor(), c.offered ? crHSplit : crDefault);
  }
  std::vector<int> asked;
  Grid->OnColumnSize = [&](TObject*, int ACol, bool& Allow) {
    asked.push_back(ACol);
    Allow = false;
  };
  guitest::MouseMove(Grid, border - 1, In(1, 3).Y);
  EXPECT_EQ(asked, std::vector<int>{0});
  EXPECT_FALSE(Grid->FixedColSizingOffered()) << "refused by the application";
  Grid->OnColumnSize = nullptr;
  Grid->MouseActions()->SetSizeFixedCol(false);
  guitest::MouseMove(Grid, border - 1, In(1, 3).Y);
  EXPECT_EQ(Grid->FixedColSizingIndex(), 0) << "the border is still noted";
  EXPECT_FALSE(Grid->FixedColSizingOffered());

  // Fixed rows likewise, along y.
  Grid->MouseActions()->SetSizeFixedRow(true);
  const int bottom = Grid->RowHeights(0) + Grid->GridLineWidth();
  guitest::MouseMove(Grid, In(2, 0).X, bottom - 2);
  EXPECT_TRUE(Grid->FixedRowSizingOffered());
  EXPECT_EQ(Grid->Cursor(), crVSplit);
  guitest::MouseMove(Grid, In(2, 0).X, bottom - 3);
  EXPECT_FALSE(Grid->FixedRowSizingOffered());
}

TEST_F(GridMouseMove, SizingAFixedColumnDrawsItsGuideLineAndSetsTheWidth) {
  Grid->MouseActions()->SetSizeFixedCol(true);
  const int border = Grid->ColWidths(0) + Grid->GridLineWidth();
  guitest::MouseMove(Grid, border - 1, In(1, 3).Y);
  Grid->BeginFixedLineSizing(true);
  ASSERT_TRUE(Grid->FixedLineSizing());
  guitest::MouseMove(Grid, 120, In(1, 3).Y, TShiftState{ssLeft});
  EXPECT_EQ(Grid->FixedSizingLinePos(), 120);
  guitest::ProcessEvents();
  EXPECT_EQ(Grid->ColWidths(0), border - 1) << "nothing sized before the end";
  Grid->EndFixedLineSizing(true);
  EXPECT_EQ(Grid->ColWidths(0), 119);
  EXPECT_EQ(Grid->FixedSizingLinePos(), -1);
}

TEST_F(GridMouseMove, ListViewLookTracksTheHotCellUntilTheMouseLeaves) {
  Grid->SetLook(glListView);
  guitest::MouseMove(Grid, In(2, 0).X, In(2, 0).Y);
  EXPECT_EQ(Grid->HotCell(), (TPoint{2, 0}));
  guitest::MouseMove(Grid, In(3, 2).X, In(3, 2).Y);
  EXPECT_EQ(Grid->HotCell(), (TPoint{3, 2}));
  guitest::MouseLeave(Grid);
  EXPECT_EQ(Grid->HotCell(), (TPoint{-1, -1}));
}

TEST_F(GridMouseMove, UrlCellsShowTheHandAndLeavingThemRestoresTheUserCursor) {
  Grid->SetCursor(crCross);
  Grid->SetCells(1, 2, "http://example.org/a");
  Grid->SetCells(2, 2, "plain");
  guitest::MouseMove(Grid, In(1, 2).X, In(1, 2).Y);
  EXPECT_EQ(Grid->Cursor(), crCross) << "URLShow off";
  Grid->SetURLShow(true);
  guitest::MouseMove(Grid, In(1, 2).X + 1, In(1, 2).Y);
  EXPECT_EQ(Grid->Cursor(), crHandPoint);
  guitest::MouseMove(Grid, In(2, 2).X, In(2, 2).Y);
  EXPECT_EQ(Grid->Cursor(), crCross);
}

TEST_F(GridMouseMove, AnchorsAreEnteredAndLeftOnceEach) {
  Grid->SetColWidths(1, 200);
  Grid->SetCells(1, 2, "<a href=\"CELL://R5C2\">go to the fifth row</a>");
  std::vector<std::string> events;
  Grid->OnAnchorEnter = [&](TObject*, int ARow, int ACol, const std::string& a) {
    events.push_back("enter " + std::to_string(ACol) + "," + std::to_string(ARow) + " " + a);
  };
  Grid->OnAnchorExit = [&](TObject*, int, int, const std::string& a) { events.push_back("exit [" + a + "]"); };
  const TRect r = Grid->CellRect(1, 2);
  guitest::MouseMove(Grid, r.Left + 12, r.Top + 9);
  guitest::MouseMove(Grid, r.Left + 20, r.Top + 9);
  EXPECT_EQ(Grid->Cursor(), crHandPoint);
  EXPECT_EQ(Grid->LastAnchor(), "CELL://R5C2");
  guitest::MouseMove(Grid, r.Left + 190, r.Top + 9);
  EXPECT_EQ(Grid->Cursor(), crDefault);
  EXPECT_EQ(events, (std::vector<std::string>{"enter 1,2 CELL://R5C2", "exit []"}));
}

TEST_F(GridMouseMove, DraggingDownTheRowHeadersSelectsWholeRows) {
  Grid->MouseActions()->SetRowSelect(true);
  guitest::MouseMove(Grid, In(0, 3).X, In(0, 3).Y);
  EXPECT_EQ(Grid->PointerMode(), TPlusStringGrid::pmRowSelect);
  Grid->BeginLineDragSelect(-1, 3);
  guitest::MouseMove(Grid, In(0, 6).X, In(0, 6).Y, TShiftState{ssLeft});
  EXPECT_EQ(Grid->Selection(), (TGridRect{1, 3, 4, 6}));
  guitest::MouseMove(Grid, In(0, 2).X, In(0, 2).Y, TShiftState{ssLeft});
  EXPECT_EQ(Grid->Selection(), (TGridRect{1, 2, 4, 3}));
  Grid->EndLineDragSelect();

  Grid->MouseActions()->SetColSelect(true);
  guitest::MouseMove(Grid, In(2, 0).X + 10, In(2, 0).Y);
  EXPECT_EQ(Grid->PointerMode(), TPlusStringGrid::pmColSelect);
  Grid->BeginLineDragSelect(2, -1);
  guitest::MouseMove(Grid, In(4, 0).X, In(4, 0).Y, TShiftState{ssLeft});
  EXPECT_EQ(Grid->Selection(), (TGridRect{2, 1, 4, 29}));
  Grid->EndLineDragSelect();
  guitest::MouseMove(Grid, In(2, 5).X, In(2, 5).Y);
  EXPECT_EQ(Grid->PointerMode(), TPlusStringGrid::pmNone);
}

TEST_F(GridMouseMove, TheSelectionsCornerIsItsResizeHandle) {
  Grid->SetSelection(TGridRect{1, 2, 2, 4});
  const TRect r = Grid->CellRect(2, 4);
  guitest::MouseMove(Grid, r.Right - 3, r.Bottom - 3);
  EXPECT_EQ(Grid->PointerMode(), TPlusStringGrid::pmNone) << "no resizer";
  Grid->SetSelectionRectangle(true);
  Grid->SetSelectionResizer(true);
  struct Case {
    int dx, dy;
    bool handle;
  } cases[] = {{-1, -1, true}, {-6, -6, true}, {-7, -1, false}, {-1, -7, false}};
  for (const Case& c : cases) {
    guitest::MouseMove(Grid, r.Right + c.dx, r.Bottom + c.dy);
    EXPECT_EQ(Grid->PointerMode() == TPlusStringGrid::pmSelectionResize, c.handle) << c.dx << ", " << c.dy;
  }
}

TEST_F(GridMouseMove, MiddleButtonPansOutsideTheDeadZoneUntilAnotherPress) {
  Grid->SetCurrentRow(5);
  guitest::MouseDown(Grid, mbMiddle, 100, 100);
  ASSERT_TRUE(Grid->Panning());
  EXPECT_EQ(Grid->PanOrigin(), (TPoint{100, 100}));
  const auto timers = RunningWindowTimers();
  EXPECT_TRUE(std::any_of(timers.begin(), timers.end(), [](const TWindowTimer& t) {
    return t.Id == TPlusStringGrid::kPanTimerId && t.Interval == 10;
  }));
  FireWindowTimers();  // the tick steps towards wherever the pointer is
  EXPECT_TRUE(Grid->Panning());
  Grid->SetCurrentRow(5);
  Grid->PanStep(TPoint{100, 105});
  EXPECT_EQ(Grid->Row(), 5) << "5 pixels below rests";
  Grid->PanStep(TPoint{100, 106});
  Grid->PanStep(TPoint{100, 106});
  EXPECT_EQ(Grid->Row(), 7) << "one row a tick";
  const int col = Grid->Col();
  Grid->PanStep(TPoint{300, 100});
  EXPECT_EQ(Grid->Col(), col) << "vertical panning leaves the column";
  guitest::MouseDown(Grid, mbLeft, 100, 100);
  EXPECT_FALSE(Grid->Panning());
  const auto after = RunningWindowTimers();
  EXPECT_FALSE(std::any_of(after.begin(), after.end(),
                           [](const TWindowTimer& t) { return t.Id == TPlusStringGrid::kPanTimerId; }));
  guitest::MouseUp(Grid, mbLeft, 100, 100);

  Grid->SetIntelliPan(ipHorizontal);
  guitest::MouseDown(Grid, mbMiddle, 100, 100);
  ASSERT_TRUE(Grid->Panning());
  const int row = Grid->Row();
  Grid->PanStep(TPoint{120, 150});
  EXPECT_EQ(Grid->Row(), row);
  EXPECT_EQ(Grid->Col(), std::min(col + 1, Grid->ColCount() - 1));
  guitest::Key(Grid, VK_ESCAPE);
  EXPECT_FALSE(Grid->Panning());
  Grid->SetIntelliPan(ipNone);
  guitest::MouseDown(Grid, mbMiddle, 100, 100);
  EXPECT_FALSE(Grid->Panning());
  guitest::MouseUp(Grid, mbMiddle, 100, 100);
}


TEST_F(GridMouseMove, DraggingAColumnHeaderShowsItsButtonAndTheDropArrows) {
  TGridOptions o = Grid->Options();
  Grid->SetOptions(o.Include(goColMoving));
  for (int c = 1; c < 5; ++c) Grid->SetCells(c, 0, "H" + std::to_string(c));
  Grid->SetCells(1, 2, "one");
  Grid->SortSettings()->SetColumn(3);
  Grid->SetCol(1);
  const TPoint from = In(1, 0);
  guitest::MouseMove(Grid, from.X, from.Y);
  guitest::MouseDown(Grid, mbLeft, from.X, from.Y);
  ASSERT_EQ(Grid->GridState(), gsColMoving);
  EXPECT_TRUE(Grid->MoveButton() == nullptr || !Grid->MoveButton()->Visible()) << "nothing before the mouse moves";
  const TPoint to = In(3, 0);
  guitest::MouseMove(Grid, to.X + 10, to.Y + 2, TShiftState{ssLeft});
  TPopupButton* button = Grid->MoveButton();
  ASSERT_NE(button, nullptr);
  EXPECT_TRUE(button->Visible());
  EXPECT_EQ(button->Caption(), "H1");
  EXPECT_EQ(button->Width(), Grid->ColWidths(1));
  EXPECT_EQ(button->Height(), Grid->RowHeights(0));
  EXPECT_EQ(button->Left(), to.X + 10 - 5) << "held where it was grabbed";
  ASSERT_NE(Grid->ArrowWindow(0), nullptr);
  EXPECT_TRUE(Grid->ArrowWindow(0)->Visible());
  EXPECT_TRUE(Grid->ArrowWindow(1)->Visible());
  const int border = Grid->CellRect(3, 0).Right;
  EXPECT_EQ(Grid->ArrowWindow(0)->Left(), border - 5) << "at the right border of a column right of the moving one";
  EXPECT_FALSE(Grid->ArrowWindow(2)->Visible());
  EXPECT_EQ(Screen->Cursor(), crDrag);

  guitest::MouseUp(Grid, mbLeft, to.X + 10, to.Y + 2);
  EXPECT_FALSE(button->Visible());
  EXPECT_FALSE(Grid->ArrowWindow(0)->Visible());
  EXPECT_EQ(Screen->Cursor(), crDefault);
  EXPECT_EQ(Grid->GridState(), gsNormal);
  EXPECT_EQ(Grid->Cells(3, 0), "H1");
  EXPECT_EQ(Grid->Cells(3, 2), "one");
  EXPECT_EQ(Grid->Cells(1, 0), "H2");
  EXPECT_EQ(Grid->Col(), 3) << "the current cell goes with its column";
  EXPECT_EQ(Grid->SortSettings()->Column(), 2) << "the sorted column shifted left";
  ASSERT_EQ(Grid->ColumnOrder()->Count(), 5);
  EXPECT_EQ(Grid->ColumnOrder()->GetCommaText(), "0,2,3,1,4");

  // The application refuses moving column 2: the move ends.
  Grid->OnColumnMove = [](TObject*, int ACol, bool& Allow) { Allow = ACol != 2; };
  const TPoint p2 = In(2, 0);
  guitest::MouseDown(Grid, mbLeft, p2.X, p2.Y);
  guitest::MouseMove(Grid, In(4, 0).X, p2.Y, TShiftState{ssLeft});
  EXPECT_EQ(Grid->GridState(), gsNormal);
  EXPECT_FALSE(button->Visible());
  guitest::MouseUp(Grid, mbLeft, In(4, 0).X, p2.Y);
  EXPECT_EQ(Grid->Cells(2, 0), "H3");
}

TEST_F(GridMouseMove, DraggingARowHeaderMovesTheRowWithArrowsAtItsDropBorder) {
  TGridOptions o = Grid->Options();
  Grid->SetOptions(o.Include(goRowMoving));
  for (int r = 1; r < 8; ++r) Grid->SetCells(0, r, "R" + std::to_string(r));
  const TPoint from = In(0, 5);
  guitest::MouseDown(Grid, mbLeft, from.X, from.Y);
  ASSERT_EQ(Grid->GridState(), gsRowMoving);
  const TPoint to = In(0, 2);
  guitest::MouseMove(Grid, to.X, to.Y + 3, TShiftState{ssLeft});
  ASSERT_NE(Grid->MoveButton(), nullptr);
  EXPECT_EQ(Grid->MoveButton()->Caption(), "R5");
  EXPECT_TRUE(Grid->ArrowWindow(2)->Visible());
  EXPECT_TRUE(Grid->ArrowWindow(3)->Visible());
  EXPECT_FALSE(Grid->ArrowWindow(0)->Visible());
  const TRect t = Grid->CellRect(0, 2);
  EXPECT_EQ(Grid->ArrowWindow(3)->Top(), t.Top - 5) << "the top border of a row above the moving one";
  // No context menu while moving.
  bool menu = false;
  Grid->OnContextPopup = [&](TObject*, TPoint, bool&) { menu = true; };
  guitest::MouseDown(Grid, mbRight, to.X, to.Y + 3);
  guitest::MouseUp(Grid, mbRight, to.X, to.Y + 3);
  EXPECT_FALSE(menu);
  guitest::MouseUp(Grid, mbLeft, to.X, to.Y + 3);
  EXPECT_EQ(Grid->Cells(0, 2), "R5");
  EXPECT_EQ(Grid->Cells(0, 3), "R2");
  EXPECT_EQ(Grid->Cells(0, 5), "R4");
  EXPECT_FALSE(Grid->ArrowWindow(2)->Visible());
}

TEST_F(GridMouseMove, TheSizeHintShowsTheWidthTheColumnWillGet) {
  TGridOptions o = Grid->Options();
  Grid->SetOptions(o.Include(goColSizing));
  const int border = Grid->CellRect(2, 0).Right;
  guitest::MouseDown(Grid, mbLeft, border - 1, 5);
  guitest::MouseMove(Grid, border + 20, 5, TShiftState{ssLeft});
  EXPECT_FALSE(Grid->SizeHintShowing()) << "HintShowSizing is off";
  guitest::MouseUp(Grid, mbLeft, border + 20, 5);
  const int width = Grid->ColWidths(2);

  Grid->SetHintShowSizing(true);
  Grid->SetHintColor(clAqua);
  const int border2 = Grid->CellRect(2, 0).Right;
  guitest::MouseDown(Grid, mbLeft, border2 + 1, 5);
  guitest::MouseMove(Grid, border2 + 13, 5, TShiftState{ssLeft});
  ASSERT_TRUE(Grid->SizeHintShowing());
  THTMLHintWindow* w = Grid->HTMLHintWindow();
  EXPECT_TRUE(w->Visible());
  EXPECT_EQ(w->Text(), "cw=<b>" + std::to_string(width + 12) + "</b>");
  EXPECT_EQ(w->Color(), clAqua);
  EXPECT_EQ(TPoint(w->Left(), w->Top()), Grid->ClientToScreen(TPoint{Grid->CellRect(2, 0).Left, 0}));
  guitest::MouseUp(Grid, mbLeft, border2 + 13, 5);
  EXPECT_EQ(Grid->ColWidths(2), width + 12) << "the width the hint said";
  EXPECT_FALSE(w->Visible());
  EXPECT_FALSE(Grid->SizeHintShowing());

  // A fixed column's guide line: its x.
  Grid->MouseActions()->SetSizeFixedCol(true);
  const int fixedBorder = Grid->ColWidths(0) + Grid->GridLineWidth();
  guitest::MouseMove(Grid, fixedBorder, In(1, 3).Y);
  guitest::MouseDown(Grid, mbLeft, fixedBorder, In(1, 3).Y);
  guitest::MouseMove(Grid, 90, In(1, 3).Y, TShiftState{ssLeft});
  EXPECT_EQ(w->Text(), "cw=<b>90</b>");
  guitest::MouseUp(Grid, mbLeft, 90, In(1, 3).Y);
  EXPECT_FALSE(w->Visible());
}

TEST_F(GridMouseMove, SizingARowHintsTheHeightItWillGet) {
  TGridOptions o = Grid->Options();
  Grid->SetOptions(o.Include(goRowSizing));
  Grid->SetHintShowSizing(true);
  THTMLHintWindow* w = Grid->HTMLHintWindow();
  const int x = In(0, 3).X;
  const int border = Grid->CellRect(0, 3).Bottom;
  const int height = Grid->RowHeights(3);
  guitest::MouseDown(Grid, mbLeft, x, border);
  ASSERT_EQ(Grid->GridState(), gsRowSizing);
  guitest::MouseMove(Grid, x, border + 9, TShiftState{ssLeft});
  EXPECT_TRUE(w->Visible());
  EXPECT_EQ(w->Text(), "rh=<b>" + std::to_string(height + 9) + "</b>");
  EXPECT_EQ(TPoint(w->Left(), w->Top()), Grid->ClientToScreen(TPoint{0, Grid->CellRect(0, 3).Top}));
  guitest::MouseUp(Grid, mbLeft, x, border + 9);
  EXPECT_EQ(Grid->RowHeights(3), height + 9) << "the height the hint said";
  EXPECT_FALSE(w->Visible());

  // A fixed row's guide line: its y.
  Grid->MouseActions()->SetSizeFixedRow(true);
  const int fixedBorder = Grid->RowHeights(0) + Grid->GridLineWidth();
  const int cx = In(2, 0).X;
  guitest::MouseMove(Grid, cx, fixedBorder);
  guitest::MouseDown(Grid, mbLeft, cx, fixedBorder);
  guitest::MouseMove(Grid, cx, 40, TShiftState{ssLeft});
  EXPECT_EQ(w->Text(), "rh=<b>40</b>");
  guitest::MouseUp(Grid, mbLeft, cx, 40);
  EXPECT_FALSE(w->Visible());
  EXPECT_EQ(Grid->RowHeights(0), 39);
}

}  // namespace
