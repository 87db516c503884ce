// Scroll-bar styles, scroll hints and synchronous scrolling from the scroll
// messages, and scrolling while something is dragged over the grid, its
// timer fired by hand.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "grid/plusgrid.h"
#include "platform/ui/extctrls.h"
#include "platform/ui/forms.h"
#include "support/gui/guitest.h"

namespace {

class GridScroll : public ::testing::Test {
protected:
  void SetUp() override {
    guitest::EnsureGui();
    Form = new TForm(nullptr);
    Form->SetBounds(0, 0, 600, 400);
    Grid = new TPlusStringGrid(Form);
    Grid->SetParent(Form);
    Grid->SetColCount(20);
    Grid->SetRowCount(40);
    Grid->SetBounds(0, 0, 400, 250);
  }
  void TearDown() override {
    delete Form;
    guitest::ProcessEvents();
  }
  void Scroll(unsigned msg, int code, int pos) { Grid->Perform(msg, MAKEWPARAM(code, pos), 0); }
  TForm* Form = nullptr;
  TPlusStringGrid* Grid = nullptr;
};

TEST_F(GridScroll, DragHeldNearTheTopScrollsUpAfterTheInitialThenEachRepeatDelay) {
  Grid->DragScrollOptions()->SetActive(true);
  Grid->SetTopRow(4);
  Grid->DragScrollOver(200, 10, dsDragEnter);
  TTimer* t = Grid->DragScrollTimer();
  ASSERT_NE(t, nullptr);
  EXPECT_TRUE(t->Active());
  EXPECT_EQ(t->Interval(), 1000u);
  std::vector<int> tops;
  for (int i = 0; i < 4; ++i) {
    guitest::FireTimer(t);
    tops.push_back(Grid->TopRow());
    EXPECT_EQ(t->Interval(), 250u);
  }
  EXPECT_EQ(tops, (std::vector<int>{3, 2, 1, 1})) << "stops at FixedRows";
  // Moving inside the margin waits the initial delay again.
  Grid->DragScrollOver(210, 12, dsDragMove);
  EXPECT_EQ(Grid->DragScrollTimer(), t);
  EXPECT_EQ(t->Interval(), 1000u);
  // Out of the margins, and leaving, free the timer.
  Grid->DragScrollOver(200, 120, dsDragMove);
  EXPECT_EQ(Grid->DragScrollTimer(), nullptr);
  Grid->DragScrollOver(200, 10, dsDragMove);
  ASSERT_NE(Grid->DragScrollTimer(), nullptr);
  Grid->DragScrollOver(200, 10, dsDragLeave);
  EXPECT_EQ(Grid->DragScrollTimer(), nullptr);
}

TEST_F(GridScroll, MarginsGiveTheDirections) {
  Grid->DragScrollOptions()->SetActive(true);
  struct Case {
    int x, y;
    TDragScrollDirection dirs;
  } cases[] = {
      {200, 49, {dsdUp}},         {200, 201, {dsdDown}},        {200, 200, {}},
      {49, 120, {dsdLeft}},       {351, 120, {dsdRight}},       {10, 240, {dsdDown, dsdLeft}},
  };
  for (const Case& c : cases) {
    Grid->DragScrollOver(c.x, c.y, dsDragMove);
    EXPECT_EQ(Grid->DragScrollDirections(), c.dirs) << c.x << ", " << c.y;
    EXPECT_EQ(Grid->DragScrollTimer() != nullptr, !c.dirs.Empty());
  }
}

TEST_F(GridScroll, TheHandlerVetoesOrNarrowsEachStep) {
  Grid->DragScrollOptions()->SetActive(true);
  Grid->SetTopRow(5);
  Grid->SetLeftCol(5);
  bool allow = false;
  Grid->OnDragScroll = [&](TObject*, int, int, TDragScrollDirection& dir, bool& canScroll) {
    canScroll = allow;
    dir.Exclude(dsdUp);
  };
  Grid->DragScrollOver(10, 10, dsDragEnter);  // up and left
  TTimer* t = Grid->DragScrollTimer();
  guitest::FireTimer(t);
  EXPECT_EQ(Grid->TopRow(), 5);
  EXPECT_EQ(Grid->LeftCol(), 5);
  EXPECT_TRUE(t->Active()) << "a veto keeps the timer running";
  allow = true;
  guitest::FireTimer(t);
  EXPECT_EQ(Grid->TopRow(), 5) << "the upward step was taken out";
  EXPECT_EQ(Grid->LeftCol(), 4);
  // Switched off: the next tick stops the timer, the next drag-over frees it.
  Grid->DragScrollOptions()->SetActive(false);
  guitest::FireTimer(t);
  EXPECT_FALSE(t->Active());
  Grid->DragScrollOver(10, 10, dsDragMove);
  EXPECT_EQ(Grid->DragScrollTimer(), nullptr);
}

TEST_F(GridScroll, DragScrollOptionsCopyFromTheirOwnClassOnly) {
  TDragScrollOptions a;
  a.SetActive(true);
  a.Delays()->SetInitialDelay(300);
  a.Margins()->SetLeftMargin(7);
  Grid->SetDragScrollOptions(&a);
  EXPECT_TRUE(Grid->DragScrollOptions()->Active());
  EXPECT_EQ(Grid->DragScrollOptions()->Delays()->InitialDelay(), 300);
  EXPECT_EQ(Grid->DragScrollOptions()->Delays()->RepeatDelay(), 250);
  EXPECT_EQ(Grid->DragScrollOptions()->Margins()->LeftMargin(), 7);
  TDragScrollMargins m;
  Grid->DragScrollOptions()->Assign(&m);
  EXPECT_EQ(Grid->DragScrollOptions()->Margins()->LeftMargin(), 7);
}

TEST_F(GridScroll, ThumbTrackShowsTheScrollHintWhichTheHandlerMayReplace) {
  Grid->SetFixedCols(2);
  Grid->SetScrollHints(shHorizontal);
  Scroll(WM_HSCROLL, SB_THUMBTRACK, 0);
  EXPECT_TRUE(Grid->ScrollHintShowing());
  EXPECT_EQ(Grid->ScrollHintCaption(), "Col : 2");
  Scroll(WM_HSCROLL, SB_ENDSCROLL, 0);
  EXPECT_FALSE(Grid->ScrollHintShowing());
  Scroll(WM_VSCROLL, SB_THUMBTRACK, 0);
  EXPECT_FALSE(Grid->ScrollHintShowing()) << "no vertical hints asked for";

  Grid->SetScrollHints(shBoth);
  int asked = -1;
  Grid->OnScrollHint = [&](TObject*, int ARow, std::string& text) {
    asked = ARow;
    text = "Phase " + std::to_string(ARow);
  };
  Scroll(WM_VSCROLL, SB_THUMBTRACK, 127);
  const int last = Grid->RowCount() - Grid->VisibleRowCount();
  EXPECT_EQ(asked, last);
  EXPECT_EQ(Grid->ScrollHintCaption(), "Phase " + std::to_string(last));
}

TEST_F(GridScroll, ScrollSynchFollowsTheThumbWhileDragged) {
  Scroll(WM_VSCROLL, SB_THUMBTRACK, 127);
  EXPECT_EQ(Grid->TopRow(), 1) << "without ScrollSynch the thumb is followed at its release";
  Grid->SetScrollSynch(true);
  Scroll(WM_VSCROLL, SB_THUMBTRACK, 127);
  EXPECT_EQ(Grid->TopRow(), Grid->MaxTopRow());
  Scroll(WM_HSCROLL, SB_THUMBTRACK, 127);
  EXPECT_EQ(Grid->LeftCol(), Grid->MaxLeftCol());
  Scroll(WM_HSCROLL, SB_THUMBTRACK, 0);
  EXPECT_EQ(Grid->LeftCol(), Grid->FixedCols());
}

TEST_F(GridScroll, FlatBarsTakeTheScrollColourAndWidthAndNormalOnesComeBack) {
  Form->Show();
  const int system = Grid->Width() - Grid->ClientWidth();
  // A point of the vertical bar's track, between the thumb (at the top) and
  // the lower arrow.
  auto track = [&] { return guitest::ShownPixel(Grid, Grid->ClientWidth() + Grid->BarThickness(SB_VERT) / 2,
                                                 Grid->ClientHeight() - Grid->BarThickness(SB_VERT) - 12); };
  Grid->SetScrollColor(clRed);  // kept for when the bars turn flat
  Grid->SetScrollWidth(24);
  EXPECT_EQ(Grid->ClientWidth(), 400 - system);
  EXPECT_NE(track(), clRed);
  struct TCase {
    TScrollType Type;
    int Style;
  };
  for (TCase c : {TCase{ssFlat, FSB_FLAT_MODE}, TCase{ssEncarta, FSB_ENCARTA_MODE}}) {
    Grid->SetScrollType(c.Type);
    EXPECT_TRUE(Grid->FlatScrollInitialised());
    EXPECT_EQ(Grid->FlatBarStyle(SB_VERT), c.Style);
    EXPECT_EQ(Grid->FlatBarStyle(SB_HORZ), c.Style);
    EXPECT_EQ(Grid->ClientWidth(), 400 - 24);
    EXPECT_EQ(Grid->ClientHeight(), 250 - 24);
    EXPECT_EQ(track(), clRed) << c.Type;
  }
  Grid->SetScrollColor(clNone);  // leaves the bars' colour as it was
  EXPECT_EQ(track(), clRed);
  Grid->SetScrollColor(clLime);
  EXPECT_EQ(track(), clLime);
  Grid->SetScrollWidth(30);
  EXPECT_EQ(Grid->ClientWidth(), 400 - 30);

  Grid->SetScrollType(ssNormal);
  EXPECT_FALSE(Grid->FlatScrollInitialised());
  EXPECT_EQ(Grid->ClientWidth(), 400 - system);
  EXPECT_NE(track(), clLime);
  Scroll(WM_HSCROLL, SB_THUMBPOSITION, 127);
  EXPECT_EQ(Grid->LeftCol(), Grid->MaxLeftCol());
}

TEST_F(GridScroll, AlwaysShownBarsAreDisabledWhileEverythingFits) {
  Grid->SetColCount(3);
  Grid->SetRowCount(4);
  ASSERT_FALSE(Grid->ScrollBarVisible(SB_VERT));
  Grid->SetScrollBarAlways(saVert);
  EXPECT_TRUE(Grid->ScrollBarVisible(SB_VERT));
  EXPECT_FALSE(Grid->ScrollBarEnabled(SB_VERT));
  EXPECT_FALSE(Grid->ScrollBarVisible(SB_HORZ));
  EXPECT_EQ(Grid->ClientWidth(), 400 - GetSystemMetrics(SM_CXVSCROLL)) << "the kept bar takes its room";
  Grid->SetRowCount(40);
  EXPECT_TRUE(Grid->ScrollBarVisible(SB_VERT));
  EXPECT_TRUE(Grid->ScrollBarEnabled(SB_VERT)) << "enabled once the rows do not fit";
  Grid->SetRowCount(4);
  EXPECT_FALSE(Grid->ScrollBarEnabled(SB_VERT));
  Grid->SetScrollBarAlways(saHorz);
  EXPECT_FALSE(Grid->ScrollBarVisible(SB_VERT));
  EXPECT_TRUE(Grid->ScrollBarVisible(SB_HORZ));
  EXPECT_FALSE(Grid->ScrollBarEnabled(SB_HORZ));
  Grid->SetScrollBarAlways(saNone);
  EXPECT_FALSE(Grid->ScrollBarVisible(SB_VERT));
  EXPECT_FALSE(Grid->ScrollBarVisible(SB_HORZ));
  // A grid without the bar keeps none.
  Grid->SetScrollBars(ssHorizontal);
  Grid->SetScrollBarAlways(saBoth);
  EXPECT_FALSE(Grid->ScrollBarVisible(SB_VERT));
  EXPECT_TRUE(Grid->ScrollBarVisible(SB_HORZ));
}

TEST_F(GridScroll, CellControlsFollowTheirCellsAndHideOutOfView) {
  auto* edit = new TPanel(Form);
  edit->SetParent(Grid);
  Grid->ControlList()->Add(2, 3, edit);
  Grid->RepositionCellControls();
  const TRect r = Grid->CellRect(2, 3);
  EXPECT_TRUE(edit->Visible());
  EXPECT_EQ(edit->BoundsRect(), r);
  Grid->SetTopRow(10);
  EXPECT_FALSE(edit->Visible()) << "scrolled out of view";
  Grid->SetTopRow(2);
  EXPECT_TRUE(edit->Visible());
  EXPECT_EQ(edit->BoundsRect(), Grid->CellRect(2, 3));
  Grid->SetLeftCol(8);
  EXPECT_FALSE(edit->Visible());
}

TEST_F(GridScroll, ProportionalThumbsShowTheShareInView) {
  for (int c = 0; c < Grid->ColCount(); ++c) Grid->SetColWidths(c, 64);
  EXPECT_EQ(Grid->ScrollPage(SB_HORZ), 0);
  Grid->SetScrollProportional(true);
  // Shown 400 - 66 of 1 + 19 * 65 pixels: E = 0.2702, max = Trunc(127.27 / 0.7298) = 174.
  EXPECT_EQ(Grid->ScrollPage(SB_HORZ), 174 - 126);
  Grid->SetColCount(10);
  EXPECT_EQ(Grid->ScrollPage(SB_HORZ), static_cast<int>((334.0f / 586 + 127) / (1 - 334.0f / 586)) - 126);
  const int page = Grid->ScrollPage(SB_HORZ);
  Grid->SetColCount(4);  // everything fits: the thumb is left alone
  EXPECT_EQ(Grid->ScrollPage(SB_HORZ), page);
  EXPECT_GT(Grid->ScrollPage(SB_VERT), 0);
  Grid->SetScrollProportional(false);
  EXPECT_EQ(Grid->ScrollPage(SB_HORZ), 0);
  EXPECT_EQ(Grid->ScrollPage(SB_VERT), 0);
}

TEST(GridFlatThumb, MapsOntoTheTrackAndKeepsAPositionWithNoTrack) {
  struct Case {
    int pos, visible, cols, expected;
  } cases[] = {
      {0, 5, 20, 0},
      {48, 5, 20, 64},    // P = 32: 48 * 127 / 96 = 63.5, to even
      {96, 5, 20, 127},
      {60, 20, 20, 60},   // P = 128: no track, kept
      {60, 40, 20, 60},   // more visible than there are
      {60, 5, 0, 60},
  };
  for (const Case& c : cases)
    EXPECT_EQ(TPlusStringGrid::FlatThumbPosition(c.pos, c.visible, c.cols), c.expected)
        << c.pos << " " << c.visible << "/" << c.cols;
}

}  // namespace
