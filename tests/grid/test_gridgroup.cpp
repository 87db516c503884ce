// Grouping on a column: header nodes over runs of equal values, summary
// rows, merged headers, the grouped column taken out and put back exactly,
// sub-groups, and the row colour setters.
#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

#include "grid/plusgrid.h"
#include "support/gui/guitest.h"

namespace {

using Snapshot = std::vector<std::vector<std::string>>;

Snapshot Take(TPlusStringGrid& g) {
  Snapshot s(g.RowCount());
  for (int r = 0; r < g.RowCount(); ++r)
    for (int c = 0; c < g.ColCount(); ++c) s[r].push_back(g.GetCellRaw(c, r));
  return s;
}

// One fixed row and column; column 2 holds the group values, the others
// tell the rows apart.
std::unique_ptr<TPlusStringGrid> Table(const std::vector<std::string>& Values, int GroupCol = 2) {
  auto g = std::make_unique<TPlusStringGrid>(nullptr);
  g->SetColCount(4);
  g->SetRowCount(static_cast<int>(Values.size()) + 1);
  for (int c = 0; c < 4; ++c) g->SetCells(c, 0, "H" + std::to_string(c));
  for (size_t i = 0; i < Values.size(); ++i) {
    const int r = static_cast<int>(i) + 1;
    for (int c = 0; c < 4; ++c) g->SetCells(c, r, c == GroupCol ? Values[i] : "c" + std::to_string(c) + "r" + std::to_string(r));
  }
  g->SetColWidths(GroupCol, 77);
  return g;
}

TEST(GridGroup, GroupAndUnGroupRestoreEveryCell) {
  for (bool summary : {false, true}) {
    SCOPED_TRACE(summary ? "with summary rows" : "without summary rows");
    auto g = Table({"A", "A", "B", "B", "C"});
    const Snapshot before = Take(*g);
    g->Grouping()->SetSummary(summary);
    EXPECT_EQ(g->GroupColumn(), -1);
    g->Group(2);
    EXPECT_EQ(g->GroupColumn(), 2);
    EXPECT_EQ(g->ColCount(), 3);
    std::vector<int> headers, spans, summaries;
    std::vector<std::string> texts;
    for (int r = 1; r < g->RowCount(); ++r) {
      if (g->IsNode(r)) {
        headers.push_back(r);
        spans.push_back(g->GetNodeSpan(r));
        texts.push_back(g->Cells(1, r));
      }
      if (g->IsSummary(r)) summaries.push_back(r);
    }
    EXPECT_EQ(spans, (std::vector<int>{3, 3, 2}));
    EXPECT_EQ(texts, (std::vector<std::string>{"A", "B", "C"}));
    if (summary) {
      EXPECT_EQ(headers, (std::vector<int>{1, 5, 9}));
      EXPECT_EQ(summaries, (std::vector<int>{4, 8, 11}));
    } else {
      EXPECT_EQ(headers, (std::vector<int>{1, 4, 7}));
      EXPECT_TRUE(summaries.empty());
    }
    EXPECT_EQ(g->Cells(2, 2), "c3r1") << "the group column is out of view";
    EXPECT_EQ(g->Row(), 1);
    EXPECT_FALSE(g->HasCellProperties(2, 1)) << "clNone colours give headers no records of their own";

    g->ContractNode(g->RealRowIndex(1));
    g->UnGroup();
    EXPECT_EQ(Take(*g), before);
    EXPECT_EQ(g->ColWidths(2), 77);
    EXPECT_FALSE(g->HasNodes());
    EXPECT_EQ(g->GroupColumn(), -1);
    g->UnGroup();
    EXPECT_EQ(Take(*g), before) << "a second UnGroup does nothing";
  }
}

TEST(GridGroup, StoredTextsComeBackUnderADisplayEvent) {
  auto g = Table({"a", "A", "a"});
  g->SortSettings()->SetAutoSortForGrouping(false);
  g->OnGetDisplText = [](TObject*, int, int, std::string& v) {
    for (char& c : v) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  };
  const Snapshot before = Take(*g);
  g->Group(2);
  int headers = 0;
  for (int r = 1; r < g->RowCount(); ++r) headers += g->IsNode(r);
  EXPECT_EQ(headers, 3) << "a and A are different values";
  g->UnGroup();
  EXPECT_EQ(Take(*g), before);
}

TEST(GridGroup, HeaderTextOnColumnOneAndGroupingOnColumnZero) {
  auto g = Table({"x", "y", "x"}, 1);
  const Snapshot before = Take(*g);
  g->Group(1);
  EXPECT_EQ(g->Cells(1, 1), "x") << "the header text ends in column 1";
  EXPECT_EQ(g->GetNodeSpan(1), 3);
  g->UnGroup();
  // The group sort put the x rows together; values still match their rows.
  for (int r = 1; r < g->RowCount(); ++r) {
    const std::string row = g->Cells(0, r);
    const int orig = row.back() - '0';
    EXPECT_EQ(g->Cells(1, r), before[orig][1]);
  }

  auto z = Table({"p", "p", "q"}, 0);
  z->SetFixedCols(0);
  const Snapshot zb = Take(*z);
  z->Group(0);
  EXPECT_EQ(z->GroupColumn(), 0);
  z->UnGroup();
  EXPECT_EQ(Take(*z), zb) << "a grouping on column 0 is undone too";
}

TEST(GridGroup, ColoursAndMergedHeaders) {
  auto g = Table({"A", "B"});
  const Snapshot before = Take(*g);
  g->Grouping()->SetHeaderColor(clRed);
  g->Grouping()->SetMergeHeader(true);
  g->Group(2);
  EXPECT_EQ(g->GetCellSpan(1, 1).X, 1) << "header merged from column 1 to the last";
  EXPECT_EQ(g->GetCellColor(1, 1), clRed);
  g->UnGroup();
  EXPECT_EQ(Take(*g), before);

  auto h = Table({"A", "B"});
  h->Grouping()->SetHeaderColor(clBlue);
  h->Group(2);
  EXPECT_EQ(h->GetCellColor(2, 1), clBlue);
  EXPECT_EQ(h->GetCellColor(2, 2), clNone);
}

TEST(GridGroup, ResettingARowColourKeepsTheRest) {
  auto g = Table({"A"});
  g->AddCellCheckBox(1, 1, true, false);
  g->GetCellProperties(3, 1)->SetReadOnly(true);
  g->SetRowColor(1, clRed);
  g->SetRowFontColor(1, clBlue);
  g->SetRowColor(1, clNone);
  EXPECT_EQ(g->GetCellColor(1, 1), clNone);
  EXPECT_EQ(g->GetCellProperties(1, 1)->FontColor(), clBlue);
  EXPECT_EQ(g->GetCellType(1, 1), ctCheckBox);
  EXPECT_TRUE(g->IsCellReadOnly(3, 1));
}

TEST(GridGroup, SubGroupInsideGroups) {
  auto g = Table({"A", "A", "A", "B"});
  const Snapshot before = Take(*g);
  for (int r = 1; r <= 4; ++r) g->SetCells(1, r, std::string(1, "kkmn"[r - 1]));
  const Snapshot withKeys = Take(*g);
  g->Group(2);
  g->SubGroup(1);
  std::vector<std::string> subs;
  for (int r = 1; r < g->RowCount(); ++r)
    if (g->IsNode(r) && g->GetNodeLevel(r) == 2) subs.push_back(g->Cells(2, r));
  EXPECT_EQ(subs, (std::vector<std::string>{"k", "m", "n"}));
  EXPECT_EQ(g->GetNodeSpan(1), 6) << "the A group grew by its two sub-headers";
  g->UnSubGroup(1);
  EXPECT_EQ(g->GetNodeSpan(1), 4);
  g->UnGroup();
  Snapshot after = Take(*g);
  EXPECT_EQ(after, withKeys);
  (void)before;
}

}  // namespace
