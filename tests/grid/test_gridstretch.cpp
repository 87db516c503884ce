// Stretching a column over the client width, scaling columns with the grid,
// and sizing columns and rows to their contents.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "grid/plusgrid.h"
#include "platform/ui/forms.h"
#include "support/gui/guitest.h"

namespace {

// Reports width changes the way the layer does after a mouse sizing.
class ReportingGrid : public TPlusStringGrid {
public:
  using TPlusStringGrid::TPlusStringGrid;
  using TPlusStringGrid::ColWidthsChanged;
};

class GridStretch : public ::testing::Test {
protected:
  void SetUp() override {
    guitest::EnsureGui();
    Form = std::make_unique<TForm>(nullptr);
    Form->SetBounds(0, 0, 800, 600);
    Grid = new ReportingGrid(Form.get());
    Grid->SetParent(Form.get());
    Grid->SetScrollBars(ssNone);
    Grid->SetBounds(0, 0, 300, 200);
  }
  void TearDown() override {
    Form.reset();
    guitest::ProcessEvents();
  }
  void Columns(int n, int width) {
    Grid->SetColCount(n);
    for (int c = 0; c < n; ++c) Grid->SetColWidths(c, width);
  }
  std::vector<int> Widths() const {
    std::vector<int> w;
    for (int c = 0; c < Grid->ColCount(); ++c) w.push_back(Grid->ColWidths(c));
    return w;
  }
  std::unique_ptr<TForm> Form;
  ReportingGrid* Grid = nullptr;
};

TEST_F(GridStretch, StretchedColumnFillsTheClientLessTheOthers) {
  struct Case {
    int cols, stretchColumn;
    std::vector<int> expected;
  } cases[] = {
      {3, -1, {64, 64, 171}},  // 300 - 128 - 1
      {3, 1, {64, 171, 64}},
      {1, -1, {300}},          // a single column gets exactly the client width
  };
  for (const Case& c : cases) {
    Grid->ColumnSize()->SetStretch(false);
    Grid->SetFixedCols(0);
    Columns(c.cols, 64);
    ASSERT_EQ(Grid->ClientWidth(), 300);
    Grid->ColumnSize()->SetStretchColumn(c.stretchColumn);
    Grid->ColumnSize()->SetStretch(true);
    EXPECT_EQ(Widths(), c.expected) << c.cols << " columns, stretching " << c.stretchColumn;
  }
}

TEST_F(GridStretch, ResizeAndCountChangeStretchAgain) {
  Columns(3, 64);
  Grid->ColumnSize()->SetStretch(true);
  ASSERT_EQ(Grid->ColWidths(2), 171);
  Grid->SetBounds(0, 0, 400, 200);
  EXPECT_EQ(Grid->ColWidths(2), 271);
  Grid->SetColCount(2);
  EXPECT_EQ(Widths(), (std::vector<int>{64, 335}));
}

TEST_F(GridStretch, OnceStretchedEveryReportedWidthChangeStretchesAgain) {
  Columns(3, 64);
  Grid->SetColWidths(0, 100);
  Grid->ColWidthsChanged();
  EXPECT_EQ(Widths(), (std::vector<int>{100, 64, 64})) << "never stretched";
  EXPECT_TRUE(Grid->ColumnSized());
  Grid->ColumnSize()->SetStretch(true);
  ASSERT_TRUE(Grid->Stretched());
  Grid->SetColWidths(1, 30);
  Grid->ColWidthsChanged();
  EXPECT_EQ(Widths(), (std::vector<int>{100, 30, 169}));
  Grid->ColumnSize()->SetStretchColumn(7);  // columns removed from under it: the last one
  Grid->SetColWidths(0, 50);
  EXPECT_NO_THROW(Grid->ColWidthsChanged());
  EXPECT_EQ(Grid->ColWidths(2), 219);
}

TEST_F(GridStretch, OtherColumnsTooWideGiveTheDefaultWidthUnlessScrolled) {
  Grid->SetDefaultColWidth(64);
  Columns(6, 100);
  Grid->ColumnSize()->SetStretch(true);
  EXPECT_EQ(Grid->ColWidths(5), 64) << "not scrolled: the default width";
  Grid->SetLeftCol(3);
  ASSERT_NE(Grid->LeftCol(), Grid->FixedCols());
  Grid->SetColWidths(5, 90);
  Grid->StretchCol(5);
  EXPECT_EQ(Grid->ColWidths(5), 90) << "scrolled to the right: kept";
}

TEST_F(GridStretch, OnlyAnExplicitCallRaisesForAColumnOutOfRange) {
  Columns(3, 64);
  Grid->ColumnSize()->SetStretch(true);
  try {
    Grid->StretchCol(3);
    FAIL() << "no exception";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "Stretch column index out of range");
  }
  EXPECT_EQ(Widths(), (std::vector<int>{64, 64, 171})) << "the failed call changed nothing";

  // An explicit StretchColumn that columns were removed from under: the
  // automatic paths stretch the last column instead of raising.
  Grid->ColumnSize()->SetStretch(false);
  Columns(6, 40);
  Grid->ColumnSize()->SetStretchColumn(4);
  Grid->ColumnSize()->SetStretch(true);
  EXPECT_EQ(Grid->ColWidths(4), 300 - 5 * 40 - 1);
  EXPECT_NO_THROW(Grid->RemoveCols(2, 3));
  ASSERT_EQ(Grid->ColCount(), 3);
  EXPECT_NO_THROW(Grid->SetBounds(0, 0, 320, 200));
  EXPECT_EQ(Grid->ColWidths(2), 320 - Grid->ColWidths(0) - Grid->ColWidths(1) - 1);
  EXPECT_NO_THROW(Form->SetBounds(0, 0, 700, 500));
  EXPECT_NO_THROW(Grid->SetColCount(2));
  EXPECT_EQ(Grid->ColWidths(1), 320 - Grid->ColWidths(0) - 1);
}

TEST_F(GridStretch, SynchWithGridScalesEveryColumnWithTheClient) {
  Columns(3, 50);
  Grid->SetColWidths(1, 75);
  Grid->ColumnSize()->SetSynchWithGrid(true);
  Grid->SetBounds(0, 0, 450, 200);
  EXPECT_EQ(Widths(), (std::vector<int>{75, 112, 75})) << "112.5 rounds to even";
}

TEST_F(GridStretch, EmptyColumnAutoSizesToItsMarginsAndGridLines) {
  Columns(4, 64);
  Grid->AutoSizeCol(2);
  EXPECT_EQ(Grid->ColWidths(2), 10);
  Grid->SetColWidthLimits(10, 0);
  Grid->SetAutoSize(true);
  EXPECT_EQ(Widths(), (std::vector<int>{64, 20, 20, 20})) << "fixed column untouched, 10 extra each";
}

TEST_F(GridStretch, AutoSizeGrowsWithTextAndHonoursLimitsAndTheHook) {
  Columns(3, 64);
  Grid->SetCells(1, 1, "short");
  Grid->SetCells(1, 3, "a much longer text than the others");
  Grid->AutoSizeCol(1);
  const int fitted = Grid->ColWidths(1);
  EXPECT_GT(fitted, 100);
  Grid->SetColWidths(1, fitted + 40);
  Grid->SizeColToContent(1, true);
  EXPECT_EQ(Grid->ColWidths(1), fitted + 40) << "grow only: a wider column stays";
  Grid->SetColWidthLimits(20, 80);
  Grid->AutoSizeCol(1);
  EXPECT_EQ(Grid->ColWidths(1), 80);
  std::vector<int> asked;
  Grid->OnUpdateColumnSize = [&](TObject*, int ACol, int& W) {
    asked.push_back(ACol);
    W = 33;
  };
  Grid->SetColWidthLimits(0, 0);
  Grid->AutoSizeCol(1);
  EXPECT_EQ(asked, std::vector<int>{1});
  EXPECT_EQ(Grid->ColWidths(1), 33);
}

TEST_F(GridStretch, RowHeightsFromContentsAndFromLines) {
  Grid->SetCells(1, 2, "one\ntwo\nthree");
  Grid->SetGridWordWrap(true);
  Grid->AutoSizeRow(2);
  const int three = Grid->RowHeights(2);
  Grid->SetCells(1, 2, "one");
  Grid->AutoSizeRow(2);
  EXPECT_LT(Grid->RowHeights(2), three);

  TCanvas* c = Grid->Canvas();
  c->Font()->Assign(Grid->Font());
  const int h = c->TextHeight("gh");
  Grid->SetRowHeightByLines(3, 3, 4);
  EXPECT_EQ(Grid->RowHeights(3), 4 + 3 * (h + h / 8));
  Grid->SetRowHeightLimits(0, 30);
  Grid->SetRowHeightByLines(3, 3, 4);
  EXPECT_EQ(Grid->RowHeights(3), 30);
}

}  // namespace
