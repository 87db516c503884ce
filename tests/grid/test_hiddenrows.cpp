// Hidden rows, the display and real index mappings, and the row filter.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "grid/plusgrid.h"
#include "support/gui/guitest.h"

namespace {

// A grid whose column 1 holds "r<real row>" in every row.
std::unique_ptr<TPlusStringGrid> LabelledGrid(int rows) {
  auto g = std::make_unique<TPlusStringGrid>(nullptr);
  g->SetColCount(3);
  g->SetRowCount(rows);
  for (int r = 0; r < rows; ++r) g->SetCells(1, r, "r" + std::to_string(r));
  return g;
}

std::vector<std::string> Column(TPlusStringGrid& g, int c) {
  std::vector<std::string> v;
  for (int r = 0; r < g.RowCount(); ++r) v.push_back(g.Cells(c, r));
  return v;
}

TEST(PlusGridHidden, MappingsWithoutHiddenRowsAreIdentity) {
  auto g = LabelledGrid(8);
  for (int i = 0; i < 8; ++i) {
    EXPECT_EQ(g->RealRowIndex(i), i);
    EXPECT_EQ(g->DisplRowIndex(i), i);
    EXPECT_EQ(g->RealColIndex(i), i);
    EXPECT_EQ(g->DisplColIndex(i), i);
  }
  EXPECT_EQ(g->GetAllColCount(), 3);
  EXPECT_FALSE(g->IsHiddenColumn(1));
  EXPECT_FALSE(g->IsHiddenColumn(600));
}

TEST(PlusGridHidden, DisplayAndRealIndexTable) {
  auto g = LabelledGrid(8);
  g->HideRows(2, 3);
  EXPECT_EQ(g->RowCount(), 6);
  EXPECT_EQ(g->NumHiddenRows(), 2);
  struct Case {
    int displ, real;
  };
  for (const Case& c : {Case{0, 0}, Case{1, 1}, Case{2, 4}, Case{3, 5}, Case{5, 7}}) {
    EXPECT_EQ(g->RealRowIndex(c.displ), c.real) << c.displ;
    EXPECT_EQ(g->DisplRowIndex(c.real), c.displ) << c.real;
    EXPECT_EQ(g->Cells(1, c.displ), "r" + std::to_string(c.real));
  }
  // A hidden row maps to the place where it would show.
  EXPECT_EQ(g->DisplRowIndex(3), 2);
  EXPECT_TRUE(g->IsHiddenRow(2));
  EXPECT_FALSE(g->IsHiddenRow(4));
  EXPECT_EQ(g->GetAllCellText(1, 3), "r3");
  EXPECT_EQ(g->GetAllCellText(1, 5), "r5");
}

TEST(PlusGridHidden, HidingAroundAHiddenRowAndShowingAll) {
  auto g = LabelledGrid(10);
  g->SetRowHeights(5, 33);
  g->GetCellProperties(2, 7)->SetBrushColor(clRed);
  g->HideRow(6);
  g->HideRows(5, 7);
  EXPECT_EQ(g->NumHiddenRows(), 3);
  std::vector<int> idx;
  for (int i = 0; i < g->NumHiddenRows(); ++i)
    idx.push_back(static_cast<TGridItem*>(g->HiddenRowList()->Items(i))->Idx());
  EXPECT_EQ(idx, (std::vector<int>{5, 6, 7}));
  auto* item5 = static_cast<TGridItem*>(g->HiddenRowList()->Items(0));
  EXPECT_EQ(item5->Items()->Strings(1), "r5");
  EXPECT_EQ(item5->Height(), 33);
  EXPECT_EQ(g->Cells(1, 5), "r8");
  g->HideRows(5, 7);
  EXPECT_EQ(g->NumHiddenRows(), 3) << "all hidden already: nothing happens";

  g->UnHideRowsAll();
  EXPECT_EQ(g->NumHiddenRows(), 0);
  EXPECT_EQ(Column(*g, 1), (std::vector<std::string>{"r0", "r1", "r2", "r3", "r4", "r5", "r6", "r7", "r8", "r9"}));
  EXPECT_EQ(g->RowHeights(5), 33);
  EXPECT_EQ(g->GetCellProperties(2, 7)->BrushColor(), clRed);
  EXPECT_EQ(g->GetCellProperties(2, 7)->OwnerRow(), 7);
}

TEST(PlusGridHidden, UnHideRowsPutsBackARangeInOrder) {
  auto g = LabelledGrid(10);
  g->HideRows(3, 6);
  g->UnHideRows(2, 4);
  EXPECT_EQ(g->NumHiddenRows(), 4) << "the first row of the range must be hidden";
  g->UnHideRows(3, 5);
  EXPECT_EQ(g->NumHiddenRows(), 1);
  EXPECT_TRUE(g->IsHiddenRow(6));
  EXPECT_EQ(Column(*g, 1), (std::vector<std::string>{"r0", "r1", "r2", "r3", "r4", "r5", "r7", "r8", "r9"}));
  g->UnHideRow(6);
  EXPECT_EQ(g->RowCount(), 10);
  EXPECT_EQ(g->Cells(1, 6), "r6");
}

TEST(PlusGridHidden, FloatOfAHiddenRowIsRead) {
  auto g = LabelledGrid(6);
  g->SetCells(2, 3, "4.5");
  g->HideRow(3);
  EXPECT_DOUBLE_EQ(g->GetCellFloatAll(2, 3), 4.5);
}

// ---------------------------------------------------------------------------
// Filter

std::unique_ptr<TPlusStringGrid> ValueGrid() {
  auto g = std::make_unique<TPlusStringGrid>(nullptr);
  g->SetColCount(3);
  const char* names[] = {"name", "alpha", "beta", "gamma", "N/A", "delta"};
  const char* values[] = {"value", "5", "15", "25", "35", "45"};
  g->SetRowCount(6);
  for (int r = 0; r < 6; ++r) {
    g->SetCells(1, r, names[r]);
    g->SetCells(2, r, values[r]);
  }
  return g;
}

TFilterData* AddCondition(TPlusStringGrid& g, int col, const std::string& cond, TFilterOperation op = foSHORT) {
  TFilterData* f = g.Filter()->Add();
  f->SetColumn(col);
  f->SetCondition(cond);
  f->SetOperation(op);
  return f;
}

TEST(PlusGridFilter, EmptyFilterHidesNothing) {
  auto g = ValueGrid();
  g->SetFilterActive(true);
  EXPECT_EQ(g->RowCount(), 6);
  EXPECT_EQ(g->NumHiddenRows(), 0);
}

TEST(PlusGridFilter, OperationsCombineConditions) {
  struct Case {
    const char* name;
    TFilterOperation second;
    const char* cond1;
    const char* cond2;
    std::vector<std::string> shown;
  };
  const Case cases[] = {
      // A row failing a foSHORT condition is out whatever follows.
      {"short then or", foOR, ">10", "alpha", {"beta", "gamma", "N/A", "delta"}},
      {"and", foAND, ">10", "<40", {"beta", "gamma", "N/A"}},
      {"xor", foXOR, "<30", ">20", {"alpha", "beta", "N/A", "delta"}},
      {"none", foNONE, ">10", "<20", {"alpha", "beta"}},
  };
  for (const Case& c : cases) {
    auto g = ValueGrid();
    TFilterData* f1 = AddCondition(*g, 2, c.cond1, c.second == foSHORT || c.second == foOR ? foSHORT : foNONE);
    (void)f1;
    AddCondition(*g, c.second == foOR ? 1 : 2, c.cond2, c.second);
    g->SetFilterActive(true);
    std::vector<std::string> shown;
    for (int r = 1; r < g->RowCount(); ++r) shown.push_back(g->Cells(1, r));
    EXPECT_EQ(shown, c.shown) << c.name;
  }
}

TEST(PlusGridFilter, PrefixSuffixAndCase) {
  auto g = ValueGrid();
  g->SetCells(2, 2, "15 mm");
  TFilterData* f = AddCondition(*g, 1, "A");
  f->SetPrefix("N/");
  EXPECT_TRUE(g->MatchFilter(4)) << "N/A is tested as A";
  f->SetPrefix("");
  f->SetCondition("ALPHA");
  EXPECT_FALSE(g->MatchFilter(1));
  f->SetCaseSensitive(false);
  EXPECT_TRUE(g->MatchFilter(1));
  f->SetColumn(2);
  f->SetCondition("15");
  f->SetSuffix(" mm");
  EXPECT_TRUE(g->MatchFilter(2));
}

TEST(PlusGridFilter, FilterOffRestoresRowsHiddenBefore) {
  auto g = ValueGrid();
  g->HideRow(2);  // as a collapsed node would
  AddCondition(*g, 2, "<30");
  std::vector<int> progress;
  g->OnFilterProgress = [&](TObject*, int16_t p) { progress.push_back(p); };
  g->SetFilterActive(true);
  std::vector<std::string> shown;
  for (int r = 0; r < g->RowCount(); ++r) shown.push_back(g->Cells(1, r));
  EXPECT_EQ(shown, (std::vector<std::string>{"name", "alpha", "gamma"}));
  ASSERT_FALSE(progress.empty());
  EXPECT_EQ(progress.back(), 100);
  EXPECT_EQ(progress.size(), 5u) << "after each of the four rows and once at the end";
  std::vector<int> idx;
  for (int i = 0; i < g->NumHiddenRows(); ++i)
    idx.push_back(static_cast<TGridItem*>(g->HiddenRowList()->Items(i))->Idx());
  EXPECT_EQ(idx, (std::vector<int>{2, 4, 5})) << "failing rows are recorded at their real index";

  g->SetFilterActive(false);
  EXPECT_EQ(Column(*g, 1), (std::vector<std::string>{"name", "alpha", "beta", "gamma", "N/A", "delta"}));
  EXPECT_EQ(g->FixedRows(), 1);
}

TEST(PlusGridFilter, DataChoosesTheTextTested) {
  auto g = ValueGrid();
  g->SetCells(1, 1, "<b>bold</b>");
  g->OnGetDisplText = [](TObject*, int ACol, int ARow, std::string& v) {
    if (ACol == 1 && ARow == 2) v = "shown";
  };
  TFilterData* f = AddCondition(*g, 1, "bold");
  struct Case {
    TFilterCells data;
    int row;
    const char* cond;
    bool match;
  };
  const Case cases[] = {
      {fcStripHTML, 1, "bold", true}, {fcVirtual, 1, "bold", false}, {fcNormal, 1, "<b>bold</b>", true},
      {fcVirtual, 2, "shown", true},  {fcNormal, 2, "beta", true},   {fcNormal, 2, "shown", false},
      {fcCalculated, 2, "shown", true},
  };
  for (const Case& c : cases) {
    f->SetData(c.data);
    f->SetCondition(c.cond);
    EXPECT_EQ(g->MatchFilter(c.row), c.match) << c.data << " " << c.cond;
  }
}

TEST(PlusGridFilter, WideTextCellsAreMatchedAsText) {
  auto g = ValueGrid();
  g->SetWideCell(1, 3, u"gamma\u00e9");
  TFilterData* f = AddCondition(*g, 1, "gamma*");
  (void)f;
  EXPECT_TRUE(g->MatchFilter(3));
}

}  // namespace
