// The floating footer: showing it turns the last row into the footer row,
// footer cells calculated from the column above (with hidden rows too), the
// template preview, and the panel's painting and clicks.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "grid/plusgrid.h"
#include "platform/ui/forms.h"
#include "support/gui/guitest.h"
#include "support/testlocale.h"

namespace {

class FooterFixture : public ::testing::Test {
protected:
  void SetUp() override {
    Form = new TForm(nullptr);
    Form->SetBounds(0, 0, 500, 300);
    Grid = new TPlusStringGrid(Form);
    Grid->SetParent(Form);
    Grid->SetScrollBars(ssNone);
    Grid->SetColCount(4);
    Grid->SetRowCount(5);  // fixed row, three data rows, the footer row
    Grid->SetBounds(0, 0, 400, 200);
    Grid->SetColor(clWhite);
    Grid->SetLook(glStandard);
    for (int r = 1; r <= 3; ++r) Grid->SetCells(1, r, std::to_string(r));
  }
  void TearDown() override {
    delete Form;
    guitest::ProcessEvents();
  }
  void ShowFooter(TFooterStyle style = fsFixedLastRow) {
    Grid->FloatingFooter()->SetFooterStyle(style);
    Grid->FloatingFooter()->SetVisible(true);
  }
  // The footer kind of a column's footer cell, as a test sets it.
  void SetKind(int col, int kind) { Grid->GetCellProperties(col, Grid->RowCount() - 1)->SetFooterCalc(kind); }
  std::string Footer(int col) { return Grid->GetCellText(col, Grid->RowCount() - 1); }
  static TColor RGB(TColor c) { return static_cast<TColor>(ColorToRGB(c)); }
  TForm* Form = nullptr;
  TPlusStringGrid* Grid = nullptr;
};

TEST_F(FooterFixture, ShowingMakesTheLastRowTheFooterRow) {
  Grid->SetCells(2, 4, "hidden text");
  ShowFooter();
  EXPECT_EQ(Grid->FixedFooters(), 1);
  EXPECT_TRUE(Grid->FloatingFooterRow());
  ASSERT_TRUE(Grid->HasFooterPanel());
  EXPECT_TRUE(Grid->FooterPanel()->Visible());
  EXPECT_EQ(Grid->FooterPanel()->Height(), Grid->DefaultRowHeight());
  Grid->Repaint();
  const TRect r = Grid->GetCellRect(2, 4);
  for (int y = r.Top; y < r.Bottom - 1; ++y)
    for (int x = r.Left; x < r.Right - 1; ++x)
      ASSERT_EQ(Grid->Canvas()->Pixels(x, y), RGB(clWhite)) << "the grid leaves the footer row empty";

  Grid->FloatingFooter()->SetFooterStyle(fsColumnPreview);
  EXPECT_FALSE(Grid->FloatingFooterRow());
  Grid->FloatingFooter()->SetVisible(false);
  EXPECT_EQ(Grid->FixedFooters(), 0);
  EXPECT_FALSE(Grid->FooterPanel()->Visible());

  Grid->SetDefaultRowHeight(30);
  ShowFooter();
  EXPECT_EQ(Grid->FooterPanel()->Height(), 30) << "the footer keeps the default row height";
}

TEST_F(FooterFixture, CalculationKindsOverTheColumnAbove) {
  TScopedLocale comma;
  ShowFooter();
  struct Case {
    int kind;
    const char* shown;
  };
  const Case cases[] = {{1, "6.00"}, {2, "2.00"}, {3, "3.00"}, {4, "1.00"}, {5, "3.00"}, {0, ""}};
  for (const Case& c : cases) {
    Grid->SetCells(1, 4, "old");
    SetKind(1, c.kind);
    Grid->CalcFooter(-1);
    EXPECT_EQ(Footer(1), c.shown) << "kind " << c.kind;
  }
  // Kind 6 and cells without a record are left alone; a text that is no
  // number is skipped, and the minimum starts from the first number.
  Grid->SetCells(1, 4, "keep");
  SetKind(1, 6);
  Grid->SetCells(2, 4, "mine");
  Grid->SetCells(3, 1, "1.2.3");
  Grid->SetCells(3, 2, "5");
  Grid->SetCells(3, 3, "3");
  SetKind(3, 4);
  Grid->CalcFooter(-1);
  EXPECT_EQ(Footer(1), "keep");
  EXPECT_EQ(Footer(2), "mine");
  EXPECT_EQ(Footer(3), "3.00");
  SetKind(3, 2);
  Grid->CalcFooter(3);
  EXPECT_EQ(Footer(3), "2.67") << "the average divides by every row of the range";

  // Custom kind through OnCalcFooter; without a handler the cell empties.
  SetKind(2, 7);
  Grid->FloatingFooter()->OnCalcFooter = [](TObject*, int col, int row, std::string& v) {
    v = "c" + std::to_string(col) + "r" + std::to_string(row);
  };
  Grid->CalcFooter(2);
  EXPECT_EQ(Footer(2), "c2r4");
  Grid->FloatingFooter()->OnCalcFooter = nullptr;
  Grid->CalcFooter(2);
  EXPECT_EQ(Footer(2), "");

  // Only the totals row calculates.
  Grid->SetCells(1, 4, "still");
  SetKind(1, 1);
  Grid->FloatingFooter()->SetFooterStyle(fsColumnPreview);
  Grid->CalcFooter(-1);
  EXPECT_EQ(Footer(1), "still");
}

TEST_F(FooterFixture, HiddenRowsCountWhenAsked) {
  Grid->SetRowCount(6);
  Grid->SetCells(1, 4, "10");
  ShowFooter();
  SetKind(1, 1);
  SetKind(2, 3);
  SetKind(3, 7);
  int askedRow = -1;
  Grid->FloatingFooter()->OnCalcFooter = [&](TObject*, int, int row, std::string&) { askedRow = row; };
  Grid->HideRows(2, 3);  // values 2 and 3
  Grid->CalcFooter(-1);
  EXPECT_EQ(Footer(1), "11.00");
  EXPECT_EQ(Footer(2), "2.00");
  Grid->FloatingFooter()->SetCalculateHiddenRows(true);
  Grid->CalcFooter(-1);
  EXPECT_EQ(Footer(1), "16.00") << "hidden values counted, the footer's own text not";
  EXPECT_EQ(Footer(2), "4.00");
  EXPECT_EQ(askedRow, Grid->RowCount() + 1);
  Grid->UnHideRow(2);
  Grid->CalcFooter(1);
  EXPECT_EQ(Footer(1), "16.00") << "one hidden row: still real rows, not the footer row";
}

TEST_F(FooterFixture, TemplateTagsTakeTheCurrentRowsCells) {
  Grid->SetCells(1, 2, "Fe");
  Grid->SetCells(2, 2, "0.25");
  Grid->SetRow(2);
  TFooterPanel* p = Grid->FooterPanel();
  struct Case {
    const char* tmpl;
    const char* expanded;
  };
  const Case cases[] = {{"Atom <#1> at <#2>.", "Atom Fe at 0.25."},
                        {"<#x>left", "left"},
                        {"<#9> none", " none"},
                        {"a <#1> b <#2 no end", "a Fe b <#2 no end"},
                        {"plain", "plain"}};
  for (const Case& c : cases) EXPECT_EQ(p->ExpandTemplate(c.tmpl), c.expanded) << c.tmpl;
}

TEST_F(FooterFixture, PanelPaintsTheTotalsRowUnderItsColumns) {
  ShowFooter();
  SetKind(1, 1);
  Grid->CalcFooter(-1);
  Grid->FloatingFooter()->SetColor(clAqua);
  Grid->FloatingFooter()->SetBorderColor(clRed);
  Grid->GetCellProperties(3, 4)->SetBrushColor(clYellow);
  TFooterPanel* p = Grid->FooterPanel();
  p->Repaint();
  TCanvas* c = p->Canvas();
  const int h = p->ClientHeight();
  const TRect col1 = Grid->GetCellRect(1, 0), col2 = Grid->GetCellRect(2, 0), col3 = Grid->GetCellRect(3, 0);
  EXPECT_EQ(c->Pixels(col1.Left + 1, 0), RGB(clRed)) << "border line along the top";
  EXPECT_EQ(c->Pixels(col2.Right - 3, h - 3), RGB(clAqua)) << "footer colour";
  EXPECT_EQ(c->Pixels(col3.Left + 3, h - 3), RGB(clYellow)) << "the footer cell's own colour";
  bool ink = false;
  for (int x = col1.Left; x < col1.Right - 1; ++x)
    for (int y = 2; y < h - 1; ++y) ink |= c->Pixels(x, y) == RGB(clBlack);
  EXPECT_TRUE(ink) << "the total is drawn in its column";
  const int contentRight = col3.Right + Grid->GridLineWidth();
  ASSERT_LT(contentRight, p->ClientWidth() - 2);
  EXPECT_EQ(c->Pixels(p->ClientWidth() - 2, h - 3), RGB(clWhite)) << "beyond the columns: the grid's colour";
  for (const TRect& col : {col1, col2})
    EXPECT_EQ(c->Pixels(col.Right - 1, h - 3), RGB(clGray)) << "column separator where the grid draws its line";

  // A click reports the footer row and the column under the mouse.
  std::vector<std::pair<int, int>> clicks;
  Grid->OnClickCell = [&](TObject*, int r, int col) { clicks.emplace_back(r, col); };
  guitest::Click(p, col1.Left + 5, 5);
  ASSERT_EQ(clicks.size(), 1u);
  EXPECT_EQ(clicks[0], std::make_pair(4, 1));
  EXPECT_EQ(p->ColumnsTo(col3.Right + 40, true), -1);
  EXPECT_EQ(p->ColumnsTo(0, true), 0);
}

TEST_F(FooterFixture, HintFollowsTheColumnUnderTheMouse) {
  ShowFooter();
  TFooterPanel* p = Grid->FooterPanel();
  std::vector<int> asked;
  Grid->OnGridHint = [&](TObject*, int r, int col, std::string& h) {
    asked.push_back(col);
    EXPECT_EQ(r, Grid->RowCount() - 1);
    h = "total of " + std::to_string(col);
  };
  const TRect col2 = Grid->GetCellRect(2, 0);
  guitest::MouseMove(p, col2.Left + 5, 5);
  EXPECT_TRUE(asked.empty()) << "no hints unless the footer shows them";
  Grid->FloatingFooter()->SetShowHint(true);
  EXPECT_TRUE(p->ShowHint());
  guitest::MouseMove(p, col2.Left + 5, 5);
  EXPECT_EQ(p->HintColumn(), 2);
  EXPECT_EQ(p->Hint(), "total of 2");
  guitest::MouseMove(p, col2.Left + 9, 5);
  EXPECT_EQ(asked.size(), 1u) << "the same column asks once";
  guitest::MouseLeave(p);
  EXPECT_EQ(p->HintColumn(), -1);
}

}  // namespace
