// Finding text in cells: the walk and its options, the search footer's
// typing, buttons and highlight toggle, and highlights that the painter shows
// without touching the cells.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "grid/plusgrid.h"
#include "grid/support/plusobj.h"
#include "platform/ui/stdctrls.h"
#include "support/gui/guitest.h"

namespace {

class FindFixture : public ::testing::Test {
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
  // Shows the footer and types Text into its box.
  void Type(const std::string& Text) {
    Grid->SearchFooter()->SetVisible(true);
    Grid->SearchPanel()->SearchEdit()->SetText(Text);
  }
  std::vector<std::string> AllTexts() {
    std::vector<std::string> v;
    for (int r = 0; r < Grid->RowCount(); ++r)
      for (int c = 0; c < Grid->ColCount(); ++c) v.push_back(Grid->Cells(c, r));
    return v;
  }
  TPoint Current() const { return TPoint{Grid->Col(), Grid->Row()}; }
  TForm* Form = nullptr;
  TPlusStringGrid* Grid = nullptr;
};

TEST_F(FindFixture, RestingTheMouseOnAFooterButtonShowsItsHint) {
  Form->Show();
  Type("ab");
  guitest::ProcessEvents();
  TPlusGridButton* next = Grid->SearchPanel()->FindNextButton();
  guitest::MouseMove(next, 10, 10);
  guitest::FireTimers();
  EXPECT_EQ(Application->CurrentHintText(), Grid->SearchFooter()->HintFindNext());
  Application->CancelHint();
}

TEST_F(FindFixture, TheFooterStaysAboveAScrollBarThatComesAndGoes) {
  Form->Show();
  Type("");
  TSearchPanel* p = Grid->SearchPanel();
  auto bottom = [&] { return p->Top() + p->Height(); };
  ASSERT_EQ(bottom(), Grid->ClientHeight());
  const int high = Grid->ClientHeight();
  // Wide columns bring the horizontal bar: the footer moves up over it.
  Grid->SetColWidths(1, 700);
  ASSERT_LT(Grid->ClientHeight(), high) << "the bar takes room from the client";
  EXPECT_EQ(bottom(), Grid->ClientHeight());
  EXPECT_EQ(p->Width(), Grid->ClientWidth());
  Grid->SetColWidths(1, 64);
  EXPECT_EQ(Grid->ClientHeight(), high);
  EXPECT_EQ(bottom(), high);
}

TEST_F(FindFixture, TypingFindsCaseInsensitivelyUnlessMatchCaseIsTicked) {
  Grid->SetCells(1, 1, "xAB");
  Grid->SetCells(1, 2, "ab");
  Type("ab");
  EXPECT_EQ(Grid->LastFoundCell(), (TPoint{1, 1}));
  EXPECT_EQ(Current(), (TPoint{1, 1}));
  EXPECT_EQ(Grid->SearchPanel()->SearchEdit()->Color(), clWindow);

  Grid->SearchPanel()->MatchCaseBox()->SetChecked(true);
  Grid->SearchPanel()->SearchEdit()->SetText("");
  Type("ab");
  EXPECT_EQ(Grid->LastFoundCell(), (TPoint{1, 2}));
  EXPECT_EQ(Current(), (TPoint{1, 2}));

  Type("zz");
  EXPECT_EQ(Grid->LastFoundCell(), (TPoint{-1, -1}));
  EXPECT_EQ(Grid->SearchPanel()->SearchEdit()->Color(), clRed) << "a text not found turns the box red";
  EXPECT_EQ(Current(), (TPoint{1, 2})) << "a failed search leaves the current cell";
}

TEST_F(FindFixture, ButtonsWalkColumnsAndWrapThroughNothingOnce) {
  Grid->SetCells(1, 3, "needle");
  Grid->SetCells(2, 1, "NEEDLE");
  Type("needle");
  // The buttons ignore the match-case box: "NEEDLE" is found all the same.
  Grid->SearchPanel()->MatchCaseBox()->SetChecked(true);
  Grid->SearchFooter()->SetAutoSearch(false);
  const std::vector<TPoint> next = {{1, 3}, {2, 1}, {-1, -1}, {1, 3}, {2, 1}};
  for (size_t i = 0; i < next.size(); ++i) {
    Grid->SearchFooterFindNext();
    EXPECT_EQ(Grid->LastFoundCell(), next[i]) << "press " << i;
  }
  Grid->SearchFooterFindPrev();
  EXPECT_EQ(Grid->LastFoundCell(), (TPoint{1, 3}));
  Grid->SearchFooterFindPrev();
  EXPECT_EQ(Grid->LastFoundCell(), (TPoint{-1, -1}));
  Grid->SearchFooterFindPrev();
  EXPECT_EQ(Grid->LastFoundCell(), (TPoint{2, 1})) << "after nothing, backwards starts at the last cell";

  // A new text in the box starts the buttons over when AutoSearch is off.
  Grid->SetCells(3, 5, "other");
  Grid->SearchPanel()->SearchEdit()->SetText("other");
  Grid->SearchFooterFindNext();
  EXPECT_EQ(Grid->LastFoundCell(), (TPoint{3, 5}));
}

TEST_F(FindFixture, WalkOptions) {
  // 4 x 6 grid, one fixed row and column; normal cells (1..3, 1..5).
  Grid->SetCells(0, 2, "key");    // fixed column
  Grid->SetCells(2, 1, "Key one");
  Grid->SetCells(1, 4, "a key");
  Grid->SetCells(3, 2, "<b>k</b>ey");
  Grid->SetCells(2, 5, "key");
  Grid->SetRow(4);
  Grid->SetCol(3);
  struct Case {
    const char* what;
    std::string text;
    TFindParams options;
    TPoint start, found;
  };
  const Case cases[] = {
      {"columns top to bottom", "key", {}, {-1, -1}, {1, 4}},
      {"rows left to right", "key", {fnRowByRow}, {-1, -1}, {2, 1}},
      {"match case", "Key", {fnMatchCase}, {-1, -1}, {2, 1}},
      {"match case misses", "KEY", {fnMatchCase}, {-1, -1}, {-1, -1}},
      {"at start", "key", {fnAtStart}, {-1, -1}, {2, 1}},
      {"whole cell", "key", {fnWholeCell}, {-1, -1}, {2, 5}},
      {"tags stripped", "key", {fnStripTags, fnWholeCell}, {-1, -1}, {2, 5}},
      {"tags stripped, row walk", "key", {fnStripTags, fnWholeCell, fnRowByRow}, {-1, -1}, {3, 2}},
      {"fixed cells included", "key", {fnIncludeFixed, fnWholeCell}, {-1, -1}, {0, 2}},
      {"backwards from nothing", "key", {fnBackward}, {-1, -1}, {2, 5}},
      {"after a start cell", "key", {}, {1, 4}, {2, 1}},
      {"after the start, next column", "key", {}, {1, 5}, {2, 1}},
      {"before a start cell", "key", {fnBackward}, {2, 1}, {1, 4}},
      {"no wrap past the end", "key", {}, {2, 5}, {-1, -1}},
      {"start beyond both ranges wraps", "key", {}, {9, 9}, {1, 4}},
      {"current row only", "key", {fnCurrentRowOnly}, {-1, -1}, {1, 4}},
      {"current column only", "key", {fnCurrentColOnly}, {-1, -1}, {-1, -1}},
      {"condition", "k*", {fnConditionMatch}, {-1, -1}, {2, 1}},
      {"two quotes: first empty cell", "\"\"", {}, {-1, -1}, {1, 1}},
      {"empty text finds nothing", "", {}, {-1, -1}, {-1, -1}},
      {"no preset column set", "key", {fnPresetCol}, {-1, -1}, {-1, -1}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Grid->FindCellFrom(c.start, c.text, c.options), c.found) << c.what;
    EXPECT_EQ(Current(), (TPoint{3, 4})) << c.what << ": without GotoFound the current cell stays";
  }
}

TEST_F(FindFixture, SearchColumnLimitsTypingAndOutOfRangeIsIgnored) {
  Grid->SetCells(1, 1, "x");
  Grid->SetCells(2, 3, "x");
  Grid->SearchFooter()->SetSearchColumn(2);
  Type("x");
  EXPECT_EQ(Grid->LastFoundCell(), (TPoint{2, 3}));
  Grid->SearchFooter()->SetSearchColumn(4);  // = ColCount
  Grid->SearchPanel()->SearchEdit()->SetText("");
  Type("x");
  EXPECT_EQ(Grid->LastFoundCell(), (TPoint{1, 1}));
}

TEST_F(FindFixture, DisjunctRowSelectMarksTheFoundRowOnly) {
  Grid->MouseActions()->SetDisjunctRowSelect(true);
  Grid->SetRowSelect(1, true);
  Grid->SetRowSelect(2, true);
  Grid->SetCells(2, 4, "here");
  const TPoint before = Current();
  EXPECT_EQ(Grid->FindCellFrom({-1, -1}, "here", {fnGotoFound}), (TPoint{2, 4}));
  EXPECT_EQ(Current(), before);
  EXPECT_EQ(Grid->RowSelectCount(), 1);
  EXPECT_TRUE(Grid->GetRowSelect(4));
}

TEST_F(FindFixture, FoundCellOutOfViewIsScrolledIn) {
  Grid->SetRowCount(200);
  Grid->SetCells(3, 150, "far");
  Type("far");
  EXPECT_EQ(Current(), (TPoint{3, 150}));
  EXPECT_LE(Grid->TopRow(), 150);
  EXPECT_GE(Grid->TopRow() + Grid->VisibleRowCount(), 150);
}

TEST_F(FindFixture, HighlightsArePaintedWithoutChangingCells) {
  Grid->SetCells(1, 1, "a<b> & cab");
  Grid->SetCells(2, 2, "nothing");
  Grid->SetCells(3, 3, "<B>cAbc</B>");
  const std::vector<std::string> before = AllTexts();
  Type("ab");
  Grid->SearchPanel()->HighlightButton()->SetDown(true);
  Grid->SearchFooterHighlight();
  EXPECT_TRUE(Grid->HasHighlights());
  EXPECT_EQ(AllTexts(), before);

  auto shown = [&](int c, int r, TCellTextKind& kind) {
    kind = GetCellTextKind(Grid->Cells(c, r), true);
    return Grid->PaintHighlightedText(c, r, Grid->Cells(c, r), kind);
  };
  TCellTextKind kind;
  // A plain text becomes markup with its own brackets kept as text.
  EXPECT_EQ(shown(1, 1, kind), "a&lt;b&gt; &amp; c<hi>ab</hi>");
  EXPECT_EQ(kind, ckHTML);
  EXPECT_EQ(shown(2, 2, kind), "nothing");
  EXPECT_EQ(kind, ckPlain) << "a cell without a match is drawn as before";
  EXPECT_EQ(shown(3, 3, kind), "<B>c<hi>Ab</hi>c</B>");

  // Typing re-highlights the new text; a text not found clears them.
  Grid->SearchPanel()->SearchEdit()->SetText("no");
  EXPECT_EQ(shown(2, 2, kind), "<hi>no</hi>thing");
  EXPECT_EQ(shown(1, 1, kind), "a<b> & cab");
  Grid->SearchPanel()->SearchEdit()->SetText("zzz");
  EXPECT_FALSE(Grid->HasHighlights());

  Grid->SearchPanel()->SearchEdit()->SetText("ab");
  Grid->SearchFooterClose();
  EXPECT_FALSE(Grid->SearchPanel()->Visible());
  EXPECT_EQ(AllTexts(), before) << "cell texts are unchanged after highlighting and closing";
  // Found texts stay searchable as typed: nothing was written into the cells.
  EXPECT_EQ(Grid->FindCellFrom({-1, -1}, "& cab", {}), (TPoint{1, 1}));
}

TEST_F(FindFixture, HighlightShowsInThePaintedCell) {
  Grid->SetLook(glStandard);
  Grid->SetColor(clWhite);
  Grid->SetColWidths(1, 120);
  Grid->SetCells(1, 2, "xxxxxxxx");
  Grid->SetCells(1, 3, "xxxxxxxx");
  auto pixels = [&](int r) {
    Grid->Repaint();
    const TRect R = Grid->GetCellRect(1, r);
    std::vector<TColor> v;
    for (int y = R.Top + 1; y < R.Bottom - 1; ++y)
      for (int x = R.Left + 1; x < R.Right - 1; ++x) v.push_back(Grid->Canvas()->Pixels(x, y));
    return v;
  };
  const auto plain = pixels(2);
  ASSERT_EQ(pixels(3), plain);
  Grid->HilightInCells("xxx", "hi", 1, 2, 1, 2, false);
  EXPECT_NE(pixels(2), plain) << "the highlight shows";
  EXPECT_EQ(pixels(3), plain) << "only inside its cells";
  Grid->UnHilightInCells("hi", 0, 0, 3, 5);
  EXPECT_EQ(pixels(2), plain);
}

TEST_F(FindFixture, UnhighlightingPartOfTheGridKeepsTheRest) {
  for (int r = 1; r < 6; ++r)
    for (int c = 1; c < 4; ++c) Grid->SetCells(c, r, "ab");
  Grid->HilightInGrid(false, false, "ab");
  Grid->HilightInGrid(false, false, "ab");  // twice marks once
  Grid->UnHilightInCells("HI", 2, 2, 2, 3);
  auto lit = [&](int c, int r) {
    TCellTextKind k = ckPlain;
    return Grid->PaintHighlightedText(c, r, "ab", k) == "<hi>ab</hi>";
  };
  for (int r = 1; r < 6; ++r)
    for (int c = 1; c < 4; ++c) EXPECT_EQ(lit(c, r), !(c == 2 && (r == 2 || r == 3))) << c << "," << r;
  EXPECT_FALSE(lit(0, 0)) << "fixed cells are not highlighted";
  Grid->UnHilightInGrid(false);
  EXPECT_FALSE(Grid->HasHighlights());
}

TEST_F(FindFixture, FooterSettingsReachThePanel) {
  TSearchFooter* f = Grid->SearchFooter();
  EXPECT_FALSE(Grid->HasSearchPanel()) << "made when the footer first shows";
  f->SetVisible(true);
  TSearchPanel* p = Grid->SearchPanel();
  EXPECT_TRUE(p->Visible());
  EXPECT_EQ(p->Height(), 32);
  EXPECT_FALSE(p->FindNextButton()->Enabled()) << "the buttons wait for a text";
  p->SearchEdit()->SetText("a");
  EXPECT_TRUE(p->FindNextButton()->Enabled());
  EXPECT_TRUE(p->HighlightButton()->Enabled());
  p->SearchEdit()->SetText("");
  EXPECT_FALSE(p->FindPrevButton()->Enabled());

  EXPECT_EQ(p->MatchCaseBox()->Left(), 425);
  f->SetShowHighLight(false);
  EXPECT_FALSE(p->HighlightButton()->Visible());
  EXPECT_EQ(p->MatchCaseBox()->Left(), 330);

  f->SetFindNextCaption("Weiter");
  f->SetHintFindPrev("");
  EXPECT_EQ(p->FindNextButton()->Caption(), "Weiter");
  EXPECT_FALSE(p->FindPrevButton()->ShowHint()) << "an empty hint is not shown";

  TSearchFooter copy;
  copy.Assign(f);
  EXPECT_EQ(copy.FindNextCaption(), "Weiter");
  EXPECT_TRUE(copy.Visible());
  copy.SetAutoSearch(false);
  f->Assign(&copy);
  EXPECT_TRUE(f->AutoSearch()) << "AutoSearch is not copied";

  f->SetVisible(false);
  EXPECT_FALSE(p->Visible());
  EXPECT_EQ(p->Height(), 0);
}

// Records the progress reports of a search.
struct TProgressGrid : TPlusStringGrid {
  using TPlusStringGrid::TPlusStringGrid;
  std::vector<std::pair<int, int>> Reports;
  void NotifyProgress(int Kind, int Position) override { Reports.emplace_back(Kind, Position); }
};

TEST(GridFind, SearchReportsProgressPerVisitedCell) {
  TProgressGrid g(nullptr);
  g.SetColCount(3);
  g.SetRowCount(3);
  g.SetCells(2, 1, "x");
  EXPECT_EQ(g.SearchCells({-1, -1}, "x", {}), (TPoint{2, 1}));
  const std::vector<std::pair<int, int>> found = {{0, -1}, {1, 1}, {1, 2}, {1, 1}, {4, -1}};
  EXPECT_EQ(g.Reports, found);
  g.Reports.clear();
  EXPECT_EQ(g.SearchCells({-1, -1}, "y", {fnRowByRow}), (TPoint{-1, -1}));
  ASSERT_FALSE(g.Reports.empty());
  EXPECT_EQ(g.Reports.back(), (std::pair<int, int>{2, -1}));
  EXPECT_EQ(g.Reports.size(), 6u);

}

}  // namespace
