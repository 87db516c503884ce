// Hints of cells, the grid's HTML hint window and the balloon tip: what a
// cell's hint says and where it shows, long balloon texts cut, and exactly
// one balloon window however often balloons are switched.
#include <gtest/gtest.h>

#include <string>

#include "grid/plusgrid.h"
#include "support/gui/guitest.h"

namespace {

class HintFixture : public ::testing::Test {
protected:
  void SetUp() override {
    Form = new TForm(nullptr);
    Form->SetBounds(0, 0, 600, 400);
    Grid = new TPlusStringGrid(Form);
    Grid->SetParent(Form);
    Grid->SetBounds(0, 0, 560, 300);
    Grid->SetColCount(4);
    Grid->SetRowCount(6);
  }
  void TearDown() override {
    delete Form;
    guitest::ProcessEvents();
  }
  // The hint at a point inside the cell; Info.HintPos comes back in client coordinates.
  std::string HintAt(int c, int r, THintInfo& Info) {
    const TRect R = Grid->CellRect(c, r);
    Info = THintInfo{};
    Info.CursorPos = TPoint{R.Left + 4, R.Top + 6};
    std::string s;
    Grid->FillHintInfo(s, Info);
    Info.HintPos = Grid->ScreenToClient(Info.HintPos);
    return s;
  }
  TForm* Form = nullptr;
  TPlusStringGrid* Grid = nullptr;
};

TEST_F(HintFixture, CellHintsByTheSettings) {
  const std::string longText = "a text far wider than its narrow column";
  Grid->SetCells(1, 1, "fits");
  Grid->SetCells(2, 2, longText);
  Grid->SetCells(1, 3, "<B>bold</B> text");
  Grid->SetCells(1, 0, "header");
  const TPoint need = Grid->GetCellTextSize(2, 2, false);
  Grid->SetColWidths(2, need.X - 10);
  THintInfo info;

  Grid->SetHintShowLargeText(true);
  EXPECT_EQ(HintAt(1, 1, info), "") << "a text that fits has no hint";
  EXPECT_EQ(HintAt(2, 2, info), longText);
  const TRect cell = Grid->CellRect(2, 2);
  EXPECT_EQ(info.HintPos, (TPoint{cell.Left, cell.Top})) << "placed at the cell's top-left";
  EXPECT_EQ(info.HintColor, clInfoBk);

  Grid->SetHintShowLargeText(false);
  Grid->SetHintShowCells(true);
  Grid->SetHintColor(clYellow);
  EXPECT_EQ(HintAt(1, 1, info), "fits");
  EXPECT_EQ(info.HintColor, clYellow);
  EXPECT_EQ(HintAt(1, 0, info), "") << "fixed cells are no normal cells";
  const TRect header = Grid->CellRect(1, 0);
  EXPECT_EQ(info.HintPos, (TPoint{header.Left, header.Bottom + 6}));
  EXPECT_EQ(HintAt(1, 3, info), "bold text");
  Grid->SetHTMLHint(true);
  EXPECT_EQ(HintAt(1, 3, info), "<B>bold</B> text");

  // The events have the last word; the rich hint gets the text as its notes.
  Grid->OnGridHint = [](TObject*, int ARow, int ACol, std::string& hint) {
    hint += " @" + std::to_string(ACol) + "," + std::to_string(ARow);
  };
  int office = 0;
  Grid->OnOfficeHint = [&](TObject*, int, int, TPlusHintInfo* h) {
    ++office;
    ASSERT_EQ(h->Notes()->Count(), 1);
    EXPECT_EQ(h->Notes()->Strings(0), "fits @1,1");
  };
  EXPECT_EQ(HintAt(1, 1, info), "fits @1,1");
  EXPECT_EQ(office, 1);

  // Outside the cells: no hint at all.
  info = THintInfo{};
  info.CursorPos = TPoint{Grid->ClientWidth() - 2, Grid->ClientHeight() - 2};
  std::string s = "stale";
  Grid->FillHintInfo(s, info);
  EXPECT_EQ(s, "");
}

TEST_F(HintFixture, CommentsAndAnchors) {
  TCellGraphic* g = Grid->CreateCellGraphic(2, 1);
  g->CellType = ctComment;
  g->CellText = "a note";
  THintInfo info;
  EXPECT_EQ(HintAt(2, 1, info), "a note");
  const TRect cell = Grid->CellRect(2, 1);
  EXPECT_EQ(info.HintPos, (TPoint{cell.Right, cell.Top})) << "a comment shows at the top-right corner";

  Grid->SetCells(1, 2, "<A href=\"http://example.org/\">link</A> <I>x</I>");
  EXPECT_EQ(HintAt(1, 2, info), "") << "AnchorHint is off";
  Grid->SetAnchorHint(true);
  std::string seen;
  Grid->OnAnchorHint = [&](TObject*, int, int, std::string& Anchor) { seen = Anchor; };
  EXPECT_EQ(HintAt(1, 2, info), "http://example.org/") << "an anchor without its own title shows itself";
  EXPECT_EQ(seen, "http://example.org/");
}

TEST_F(HintFixture, HtmlHintWindowStaysOnTheMonitor) {
  THTMLHintWindow* w = Grid->HTMLHintWindow();
  const TRect mon = THintWindow::MonitorRectAt(TPoint{0, 0});
  ASSERT_GT(mon.Width(), 200);
  const std::string text = "<B>Width</B>: 123 pixels";
  const TRect need = w->CalcHintRect(200, text);
  EXPECT_GT(need.Right, 0);
  EXPECT_EQ(need.Left, 0);

  w->ActivateHint(TRect(20, 30, 40, 40), text);
  EXPECT_TRUE(w->Visible());
  EXPECT_EQ(w->Width(), w->TextWidth() + 16);
  EXPECT_EQ(w->Height(), w->TextHeight() + 4);
  EXPECT_EQ(w->Left(), 20);
  EXPECT_EQ(w->Top(), 30);

  // Wider than what is left of the monitor: moved left to end 2 pixels inside.
  w->ActivateHint(TRect(mon.Right - 10, mon.Bottom - 5, mon.Right, mon.Bottom), text);
  EXPECT_EQ(w->Left() + w->Width(), mon.Right - 2);
  EXPECT_EQ(w->Top() + w->Height(), mon.Bottom - 2);
  w->ReleaseHandle();
  EXPECT_FALSE(w->Visible());
}

TEST_F(HintFixture, BalloonWindowExistsExactlyWhileEnabled) {
  const int before = TBalloonHint::InstanceCount();
  EXPECT_EQ(Grid->BalloonWindow(), nullptr);
  Grid->Balloon()->SetEnable(true);
  EXPECT_EQ(TBalloonHint::InstanceCount(), before + 1);
  Grid->Balloon()->SetEnable(false);
  EXPECT_EQ(TBalloonHint::InstanceCount(), before);
  EXPECT_EQ(Grid->BalloonWindow(), nullptr);
  Grid->ShowCellBalloon(1, 1);  // nothing to show with balloons off
  Grid->Balloon()->SetEnable(true);
  Grid->Balloon()->SetEnable(true);
  EXPECT_EQ(TBalloonHint::InstanceCount(), before + 1) << "off and on again: exactly one balloon window";

  TBalloonSettings copy;
  copy.SetTransparency(100);
  copy.SetEnable(true);
  Grid->SetBalloon(&copy);
  EXPECT_EQ(Grid->Balloon()->Transparency(), 0) << "Transparency is not copied";
  EXPECT_EQ(TBalloonHint::InstanceCount(), before + 1);

  delete Form;
  Form = nullptr;
  EXPECT_EQ(TBalloonHint::InstanceCount(), before) << "the grid takes its balloon with it";
}

TEST_F(HintFixture, BalloonShowsTheCellsTextCut) {
  Grid->Balloon()->SetEnable(true);
  Grid->Balloon()->SetBackgroundColor(clAqua);
  const std::string text(2000, 'x');
  Grid->SetCells(1, 1, text);
  Grid->ShowCellBalloon(1, 1);
  TBalloonHint* b = Grid->BalloonWindow();
  ASSERT_NE(b, nullptr);
  EXPECT_TRUE(b->Visible());
  EXPECT_EQ(b->Text(), std::string(1021, 'x') + "...");
  EXPECT_EQ(b->BackgroundColor(), clAqua);
  EXPECT_EQ(b->TextColor(), clNone) << "clNone keeps the system's colour";
  EXPECT_EQ(Grid->BalloonCol(), 1);
  EXPECT_EQ(Grid->BalloonRow(), 1);

  // The mouse moves to another cell: the tip goes and asks again.
  Grid->PopBalloon();
  EXPECT_FALSE(b->Visible());
  Grid->OnCellBalloon = [](TObject*, int, int, std::string& ATitle, std::string& AText, int& AIcon) {
    ATitle = "Atom";
    AText = "Fe at 0.5";
    AIcon = biWarning;
  };
  Grid->ShowCellBalloon(2, 3);
  EXPECT_EQ(b->Title(), "Atom");
  EXPECT_EQ(b->Text(), "Fe at 0.5");
  EXPECT_EQ(b->Icon(), biWarning);
  Grid->PopBalloon();
  Grid->ShowCellBalloon(9, 9);
  EXPECT_FALSE(b->Visible()) << "outside the cells there is no balloon";
}


TEST_F(HintFixture, RestingOnACellShowsItsBalloonAndLeavingItPopsIt) {
  const int before = TBalloonHint::InstanceCount();
  Grid->Balloon()->SetEnable(true);
  Grid->SetCells(1, 1, std::string(2000, 'x'));
  Grid->SetCells(2, 2, "Fe 0.5 0.5 0.5");
  auto at = [&](int c, int r) {
    const TRect R = Grid->CellRect(c, r);
    return TPoint{R.Left + 5, R.Top + 5};
  };
  const TPoint p = at(1, 1);
  guitest::MouseMove(Grid, p.X, p.Y);
  TBalloonHint* b = Grid->BalloonWindow();
  ASSERT_NE(b, nullptr);
  EXPECT_FALSE(b->Visible()) << "not before the mouse has rested";
  guitest::MouseMove(Grid, p.X + 2, p.Y);
  guitest::FireTimers();
  EXPECT_TRUE(b->Visible());
  EXPECT_EQ(b->Text(), std::string(1021, 'x') + "...");
  EXPECT_EQ(TBalloonHint::InstanceCount(), before + 1) << "exactly one balloon window";
  EXPECT_EQ(Grid->BalloonCol(), 1);
  EXPECT_EQ(Grid->BalloonRow(), 1);
  guitest::MouseMove(Grid, p.X + 4, p.Y + 1);
  EXPECT_TRUE(b->Visible()) << "moving inside the cell keeps it";

  const TPoint q = at(2, 2);
  guitest::MouseMove(Grid, q.X, q.Y);
  EXPECT_FALSE(b->Visible()) << "another cell pops it";
  EXPECT_EQ(Grid->BalloonCol(), -1);
  guitest::FireTimers();
  EXPECT_TRUE(b->Visible());
  EXPECT_EQ(b->Text(), "Fe 0.5 0.5 0.5");
  EXPECT_EQ(TBalloonHint::InstanceCount(), before + 1);
  guitest::FireTimers();
  EXPECT_FALSE(b->Visible()) << "it hides after a while";
  guitest::FireTimers();
  EXPECT_FALSE(b->Visible()) << "and stays hidden while the mouse stays";

  // An empty cell has no balloon; leaving the grid stops the wait.
  guitest::MouseMove(Grid, at(3, 3).X, at(3, 3).Y);
  guitest::FireTimers();
  EXPECT_FALSE(b->Visible());
  guitest::MouseMove(Grid, p.X, p.Y);
  guitest::MouseLeave(Grid);
  guitest::FireTimers();
  EXPECT_FALSE(b->Visible());

  Grid->Balloon()->SetEnable(false);
  guitest::MouseMove(Grid, q.X, q.Y);
  guitest::FireTimers();
  EXPECT_EQ(Grid->BalloonWindow(), nullptr);
  EXPECT_EQ(TBalloonHint::InstanceCount(), before);
}

TEST_F(HintFixture, RestingTheMouseOnACellShowsItsHintAndTheNextCellsAfterAnotherRest) {
  Form->Show();
  Grid->SetShowHint(true);
  Grid->SetHintShowCells(true);
  Grid->SetCells(1, 1, "first");
  Grid->SetCells(2, 2, "second");
  const TRect R = Grid->CellRect(1, 1), S = Grid->CellRect(2, 2);
  guitest::MouseMove(Grid, R.Left + 4, R.Top + 4);
  guitest::FireTimers();
  EXPECT_EQ(Application->CurrentHintText(), "first");
  guitest::MouseMove(Grid, R.Left + 8, R.Top + 5);
  EXPECT_EQ(Application->CurrentHintText(), "first") << "moving inside the cell keeps the hint";
  guitest::MouseMove(Grid, S.Left + 4, S.Top + 4);
  EXPECT_EQ(Application->CurrentHintText(), "");
  guitest::FireTimers();
  EXPECT_EQ(Application->CurrentHintText(), "second");
  Application->CancelHint();
  Form->Hide();
}

TEST_F(HintFixture, TheApplicationsHintAsksTheGridForTheCellUnderTheMouse) {
  Form->Show();
  Grid->SetShowHint(true);
  Grid->SetHintShowCells(true);
  Grid->SetCells(1, 1, "<B>bold</B> text");
  Grid->SetCells(2, 2, "second");
  const TRect R = Grid->CellRect(1, 1);
  Application->ActivateHint(Grid->ClientToScreen(TPoint{R.Left + 4, R.Top + 4}));
  EXPECT_EQ(Application->CurrentHintText(), "bold text");
  EXPECT_EQ(Grid->HintCell(), (TPoint{1, 1}));
  // The mouse moves on to another cell: that hint is over.
  const TRect S = Grid->CellRect(2, 2);
  guitest::MouseMove(Grid, S.Left + 4, S.Top + 4);
  EXPECT_EQ(Application->CurrentHintText(), "");
  EXPECT_EQ(Grid->HintCell(), (TPoint{-1, -1}));
  Form->Hide();
}

TEST_F(HintFixture, DraggingAThumbShowsTheScrollHint) {
  Grid->SetColCount(40);
  Grid->SetScrollHints(shHorizontal);
  Grid->OnScrollHint = [](TObject*, int N, std::string& Text) { Text += N == 1 ? " (first)" : ""; };
  Grid->Perform(WM_HSCROLL, MAKEWPARAM(SB_THUMBTRACK, 0), 0);
  THTMLHintWindow* w = Grid->HTMLHintWindow();
  EXPECT_TRUE(w->Visible());
  EXPECT_EQ(w->Text(), "Col : 1 (first)");
  EXPECT_TRUE(Grid->ScrollHintShowing());
  Grid->Perform(WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 0), 0);
  EXPECT_EQ(w->Text(), "Col : 1 (first)") << "no vertical hints asked for";
  Grid->Perform(WM_HSCROLL, MAKEWPARAM(SB_ENDSCROLL, 0), 0);
  EXPECT_FALSE(w->Visible());
  EXPECT_FALSE(Grid->ScrollHintShowing());
}

}  // namespace
