// Sorting the string grid: sort styles, blanks, further columns, indexed and
// node-wise sorts, the header click cycle with the unsorted order, and what
// moves with a row and what stays.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "grid/plusgrid.h"
#include "support/gui/guitest.h"

namespace {

using Strings = std::vector<std::string>;

// One fixed row; column 1 gets Values from row 1 on, column 2 "r1", "r2", ...
std::unique_ptr<TPlusStringGrid> GridWith(const Strings& Values) {
  auto g = std::make_unique<TPlusStringGrid>(nullptr);
  g->SetColCount(4);
  g->SetRowCount(static_cast<int>(Values.size()) + 1);
  g->SetCells(1, 0, "head");
  for (size_t i = 0; i < Values.size(); ++i) {
    g->SetCells(1, static_cast<int>(i) + 1, Values[i]);
    g->SetCells(2, static_cast<int>(i) + 1, "r" + std::to_string(i + 1));
  }
  g->SortSettings()->SetColumn(1);
  return g;
}

Strings Col(TPlusStringGrid& g, int c, int from = 1) {
  Strings v;
  for (int r = from; r < g.RowCount(); ++r) v.push_back(g.Cells(c, r));
  return v;
}

struct TClickGrid : TPlusStringGrid {
  using TPlusStringGrid::TPlusStringGrid;
  using TPlusStringGrid::MouseDown;
  using TPlusStringGrid::MouseUp;
};

TEST(GridSort, StylesOrderTheColumn) {
  struct Case {
    const char* Name;
    bool AutoFormat;
    TSortStyle Style;  // ssAutomatic: no OnGetFormat
    Strings In, Out;
  };
  const std::vector<Case> cases = {
      {"numbers with AutoFormat", true, ssAutomatic, {"10", "9", "100"}, {"9", "10", "100"}},
      {"numbers as text", false, ssAutomatic, {"10", "9", "100"}, {"10", "100", "9"}},
      {"empty counts as 0", true, ssNumeric, {"5", "", "-2"}, {"-2", "", "5"}},
      {"year first is text", true, ssAutomatic, {"2021/01/05", "2020/12/31", "abc"}, {"2020/12/31", "2021/01/05", "abc"}},
      {"day first dates", true, ssAutomatic, {"02/01/2020", "01/02/2019", "31/12/2019"},
       {"01/02/2019", "31/12/2019", "02/01/2020"}},
      {"refused dates sort as 0", true, ssShortDateEU, {"02/01/2020", "31/02/2020", "01/13/2020", "01/01/2020"},
       {"31/02/2020", "01/13/2020", "01/01/2020", "02/01/2020"}},
      {"US dates", true, ssShortDateUS, {"12/01/2020", "01/12/2020"}, {"01/12/2020", "12/01/2020"}},
      {"thousands under financial", true, ssFinancial, {"1,200", "900", "1,100.5"}, {"900", "1,100.5", "1,200"}},
      {"no case", true, ssAlphaNoCase, {"b", "B", "a"}, {"a", "B", "b"}},
      {"case", true, ssAlphaCase, {"b", "B", "a"}, {"B", "a", "b"}},
      {"html tags out", true, ssHTML, {"<b>z</b>", "y", "<i>x</i>"}, {"<i>x</i>", "y", "<b>z</b>"}},
      {"alphanumeric both numbers", true, ssAlphaNumeric, {"10", "9"}, {"9", "10"}},
      {"alphanumeric mixed", true, ssAlphaNumeric, {"9", "10a"}, {"10a", "9"}},
      {"times", true, ssAutomatic, {"12:30", "9:15", "10:00"}, {"9:15", "10:00", "12:30"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    auto g = GridWith(c.In);
    g->SortSettings()->SetAutoFormat(c.AutoFormat);
    if (c.Style != ssAutomatic)
      g->OnGetFormat = [&](TObject*, int ACol, TSortStyle& s, std::string&, std::string&) {
        if (ACol == 1) s = c.Style;
      };
    EXPECT_NO_THROW(g->QSort());
    EXPECT_EQ(Col(*g, 1), c.Out);
    EXPECT_EQ(g->Cells(1, 0), "head") << "the fixed row never moves";
  }
}

TEST(GridSort, PrefixAndSuffixAreTakenOff) {
  auto g = GridWith({"$ 30 kg", "$ 4 kg", "$ 200 kg"});
  g->OnGetFormat = [](TObject*, int, TSortStyle& s, std::string& pre, std::string& suf) {
    s = ssNumeric;
    pre = "$";
    suf = "kg";
  };
  g->QSort();
  EXPECT_EQ(Col(*g, 1), (Strings{"$ 4 kg", "$ 30 kg", "$ 200 kg"}));
}

TEST(GridSort, DescendingAndBlanks) {
  auto g = GridWith({"b", "", "c", "a", ""});
  g->SortSettings()->SetDirection(sdDescending);
  g->QSort();
  EXPECT_EQ(Col(*g, 1), (Strings{"c", "b", "a", "", ""})) << "the empty text is smallest";

  for (TSortDirection d : {sdAscending, sdDescending}) {
    SCOPED_TRACE(d == sdAscending ? "ascending" : "descending");
    auto h = GridWith({"b", "", "c", "a", ""});
    h->SortSettings()->SetIgnoreBlanks(true);
    h->SortSettings()->SetBlankPos(blLast);
    h->SortSettings()->SetDirection(d);
    h->QSort();
    Strings want = d == sdAscending ? Strings{"a", "b", "c", "", ""} : Strings{"c", "b", "a", "", ""};
    EXPECT_EQ(Col(*h, 1), want);
  }
}

TEST(GridSort, EqualCellsFallToTheNextColumnsWithFull) {
  auto g = GridWith({"x", "x", "a", "x"});
  g->SetCells(2, 1, "3");
  g->SetCells(2, 2, "1");
  g->SetCells(2, 4, "2");
  g->QSort();
  EXPECT_EQ(Col(*g, 2), (Strings{"r3", "1", "2", "3"}));
}

TEST(GridSort, RowsCarryTheirRecordsAndHeights) {
  auto g = GridWith({"c", "a", "b"});
  g->AddCellCheckBox(3, 1, true, false);
  g->GetCellProperties(2, 2)->SetBrushColor(clRed);
  g->SetRowHeights(3, 40);
  g->QSort();
  EXPECT_EQ(Col(*g, 1), (Strings{"a", "b", "c"}));
  bool state = false;
  EXPECT_TRUE(g->GetCellCheckState(3, 3, state));
  EXPECT_TRUE(state);
  EXPECT_EQ(g->GetCellColor(2, 1), clRed);
  EXPECT_EQ(g->GetCellProperties(2, 1)->OwnerRow(), 1);
  EXPECT_EQ(g->RowHeights(2), 40);
  EXPECT_EQ(g->RowCount(), 4) << "the scratch rows are gone";
}

TEST(GridSort, FootersFixedColumnAndSingleColumnStay) {
  auto g = GridWith({"c", "a", "b", "FOOT"});
  g->SetFixedFooters(1);
  for (int r = 1; r <= 3; ++r) g->SetCells(0, r, std::to_string(r));
  g->SortSettings()->SetNormalCellsOnly(true);
  g->QSort();
  EXPECT_EQ(Col(*g, 1), (Strings{"a", "b", "c", "FOOT"}));
  EXPECT_EQ(Col(*g, 0), (Strings{"1", "2", "3", ""})) << "row numbers stay";
  EXPECT_EQ(Col(*g, 2), (Strings{"r2", "r3", "r1", "r4"}));

  auto s = GridWith({"c", "a", "b"});
  s->SortSettings()->SetSingleColumn(true);
  s->QSort();
  EXPECT_EQ(Col(*s, 1), (Strings{"a", "b", "c"}));
  EXPECT_EQ(Col(*s, 2), (Strings{"r1", "r2", "r3"}));
}

TEST(GridSort, IndexedSort) {
  auto g = GridWith({"b", "a", "b", "a"});
  g->SetCells(3, 1, "1");
  g->SetCells(3, 2, "5");
  g->SetCells(3, 3, "7");
  g->SetCells(3, 4, "2");
  try {
    g->QSortIndexed();
    ADD_FAILURE() << "an empty index list raises";
  } catch (const EPlusGridError& e) {
    EXPECT_STREQ(e.what(), "No indexes specified for indexed sort");
  }
  EXPECT_EQ(Col(*g, 1), (Strings{"b", "a", "b", "a"}));

  g->SortIndexes()->AddIndex(1, true);
  g->SortIndexes()->AddIndex(3, false);
  g->QSortIndexed();
  EXPECT_EQ(Col(*g, 1), (Strings{"a", "a", "b", "b"}));
  EXPECT_EQ(Col(*g, 3), (Strings{"5", "2", "7", "1"}));

  g->SortSettings()->SetFull(false);
  g->SortIndexes()->Clear();
  g->SortIndexes()->AddIndex(3, true);
  g->QSortIndexed();
  EXPECT_EQ(Col(*g, 3), (Strings{"1", "2", "5", "7"}));
}

TEST(GridSort, ClickCycleWithUndoSortAndTheMouse) {
  TClickGrid g(nullptr);
  g.SetBounds(0, 0, 400, 300);
  g.SetColCount(3);
  g.SetRowCount(5);
  const Strings in{"b", "d", "a", "c"};
  for (int r = 1; r <= 4; ++r) g.SetCells(1, r, in[r - 1]);
  g.SortSettings()->SetShow(true);
  g.SortSettings()->SetUndoSort(true);
  g.SortSettings()->SetColumn(-1);
  std::vector<int> clicked;
  g.OnClickSort = [&](TObject*, int c) { clicked.push_back(c); };
  auto click = [&] {
    TRect r = g.CellRect(1, 0);
    g.MouseDown(mbLeft, TShiftState{ssLeft}, r.Left + 5, r.Top + 5);
    g.MouseUp(mbLeft, TShiftState{}, r.Left + 5, r.Top + 5);
  };
  click();
  EXPECT_EQ(Col(g, 1), (Strings{"a", "b", "c", "d"}));
  click();
  EXPECT_EQ(Col(g, 1), (Strings{"d", "c", "b", "a"}));
  click();
  EXPECT_EQ(Col(g, 1), in);
  EXPECT_EQ(g.SortSettings()->Column(), -1);
  EXPECT_EQ(clicked, (std::vector<int>{1, 1, -1}));

  g.OnCanSort = [](TObject*, int, bool& Do) { Do = false; };
  click();
  EXPECT_EQ(Col(g, 1), in) << "a refused click sorts nothing";
}

TEST(GridSort, NoSortColumnMovesNothing) {
  for (int col : {-1, 4, 99}) {
    auto g = GridWith({"b", "a"});
    g->SortSettings()->SetColumn(col);
    g->SortSettings()->SetSingleColumn(true);
    EXPECT_NO_THROW(g->QSort());
    EXPECT_EQ(Col(*g, 1), (Strings{"b", "a"}));
  }
}

TEST(GridSort, UnSortAfterSeveralSorts) {
  auto g = GridWith({"3", "1", "2", "5", "4"});
  g->QSort();
  g->SortSettings()->SetColumn(2);
  g->SortSettings()->SetDirection(sdDescending);
  g->QSort();
  g->UnSort();
  EXPECT_EQ(Col(*g, 1), (Strings{"3", "1", "2", "5", "4"}));
}

TEST(GridSort, ARaisingCompareEndsTheSortCleanly) {
  auto g = GridWith({"c", "a", "b"});
  g->GetCellProperties(1, 2)->SetBrushColor(clRed);
  g->OnGetFormat = [](TObject*, int, TSortStyle& s, std::string&, std::string&) { s = ssCustom; };
  g->OnCustomCompare = [](TObject*, const std::string&, const std::string&, int&) {
    throw std::runtime_error("handler failed");
  };
  EXPECT_THROW(g->QSort(), std::runtime_error);
  EXPECT_EQ(g->RowCount(), 4);
  EXPECT_EQ(g->UpdateCount(), 0);
  EXPECT_EQ(g->GetCellColor(1, 2), clRed);
  g->OnCustomCompare = [](TObject*, const std::string& a, const std::string& b, int& res) {
    res = a < b ? -1 : a > b ? 1 : 0;
  };
  g->QSort();
  EXPECT_EQ(Col(*g, 1), (Strings{"a", "b", "c"}));
}

TEST(GridSort, CheckBoxesAndRowUpdate) {
  auto g = GridWith({"", "", ""});
  g->AddCellCheckBox(1, 1, true, false);
  g->AddCellCheckBox(1, 2, false, false);
  g->AddCellCheckBox(1, 3, true, false);
  g->SetRow(1);
  int oldRow = -1, newRow = -1;
  g->OnRowUpdate = [&](TObject*, int o, int n) { oldRow = o, newRow = n; };
  g->QSort();
  EXPECT_EQ(Col(*g, 2), (Strings{"r2", "r1", "r3"})) << "unchecked first";
  EXPECT_EQ(oldRow, 1);
  EXPECT_EQ(newRow, 2) << "the current row's data moved to row 2";
  EXPECT_EQ(g->Row(), 1);
}

TEST(GridSort, SortRowSetting) {
  auto g = GridWith({"a"});
  EXPECT_NO_THROW(g->SortSettings()->SetRow(1));
  try {
    g->SortSettings()->SetRow(2);
    ADD_FAILURE();
  } catch (const Exception& e) {
    EXPECT_STREQ(e.what(), "Sort row should be smaller than number of fixed rows");
  }
  EXPECT_EQ(g->SortSettings()->Row(), 1);
}

TEST(GridSort, GroupSortStaysInsideExpandedNodes) {
  auto g = GridWith({"N1", "c", "a", "b", "N2", "z", "y"});
  g->AddNode(1, 4);
  g->AddNode(5, 3);
  g->QSortGroup();
  EXPECT_EQ(Col(*g, 1), (Strings{"N1", "a", "b", "c", "N2", "y", "z"}));
}

TEST(GridSort, AutoColumnMergeRebuildsRunsAfterAClick) {
  auto g = GridWith({"b", "a", "b", "a"});
  g->SetCells(3, 1, "k");
  g->SortSettings()->SetAutoColumnMerge(true);
  g->SortSettings()->SetColumn(-1);
  g->MergedColumns()->AddValue(1);
  g->SortColumnClick(1, TShiftState{});
  EXPECT_EQ(Col(*g, 1), (Strings{"a", "a", "b", "b"}));
  EXPECT_EQ(g->GetCellSpan(1, 1).Y, 1);
  EXPECT_EQ(g->GetCellSpan(1, 3).Y, 1);
  g->SortColumnClick(1, TShiftState{});
  EXPECT_EQ(g->GetCellText(1, 1), "b");
  EXPECT_EQ(g->GetCellSpan(1, 1).Y, 1) << "split before the sort, merged again after";
}

}  // namespace
