// Row nodes: levels, contracting and expanding (nested, one at a time, up to
// the next node), parents, rows inserted and removed inside nodes, and the
// glyph click with its events.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "grid/plusgrid.h"
#include "support/gui/guitest.h"

namespace {

using Strings = std::vector<std::string>;

// One fixed row; column 1 holds "r<row>".
std::unique_ptr<TPlusStringGrid> Labelled(int rows) {
  auto g = std::make_unique<TPlusStringGrid>(nullptr);
  g->SetColCount(3);
  g->SetRowCount(rows);
  for (int r = 0; r < rows; ++r) g->SetCells(1, r, "r" + std::to_string(r));
  return g;
}

Strings Shown(TPlusStringGrid& g) {
  Strings v;
  for (int r = 1; r < g.RowCount(); ++r) v.push_back(g.Cells(1, r));
  return v;
}

int Level(TPlusStringGrid& g, int r) {
  return g.HasCellProperties(0, r) ? g.GetCellProperties(0, r)->NodeLevel() : 0;
}

struct TClickGrid : TPlusStringGrid {
  using TPlusStringGrid::TPlusStringGrid;
  using TPlusStringGrid::MouseDown;
};

TEST(GridNodes, AddNodeSetsLevelsAndLeavesColumnZero) {
  auto g = Labelled(8);
  g->SetCol(0);
  EXPECT_FALSE(g->HasNodes());
  g->AddNode(2, 3);
  EXPECT_TRUE(g->HasNodes());
  EXPECT_EQ(g->Col(), 1);
  EXPECT_EQ((std::vector<int>{Level(*g, 1), Level(*g, 2), Level(*g, 3), Level(*g, 4), Level(*g, 5)}),
            (std::vector<int>{0, 1, 1, 1, 0}));
  EXPECT_TRUE(g->IsNode(2));
  EXPECT_FALSE(g->IsNode(-1));
  EXPECT_EQ(g->GetNodeSpan(2), 3);
  EXPECT_EQ(g->GetNodeSpan(3), -1);
  EXPECT_EQ(g->GetNodeLevel(3), -1);
  EXPECT_EQ(g->GetTreeLineKind(2), 0);
  EXPECT_EQ(g->GetTreeLineKind(3), 2);
  EXPECT_EQ(g->GetTreeLineKind(4), 1);
  g->RemoveNode(2);
  EXPECT_FALSE(g->HasNodes());
  EXPECT_EQ(Level(*g, 3), 0);
}

TEST(GridNodes, ContractingANestedBlockAndExpandingItAgain) {
  auto g = Labelled(10);
  g->AddNode(1, 6);  // r1 .. r6
  g->AddNode(3, 3);  // r3 .. r5, nested
  EXPECT_EQ(g->GetParentNode(4), 3);
  EXPECT_EQ(g->GetParentNode(3), 1);
  EXPECT_EQ(g->GetParentNode(1), 1) << "a top-level node is its own answer";
  EXPECT_EQ(g->GetParentNode(8), -1);

  g->ContractNode(3);
  EXPECT_TRUE(g->GetNodeState(3));
  EXPECT_EQ(Shown(*g), (Strings{"r1", "r2", "r3", "r6", "r7", "r8", "r9"}));
  g->ContractNode(1);
  EXPECT_EQ(Shown(*g), (Strings{"r1", "r7", "r8", "r9"}));
  g->ExpandNode(1);
  EXPECT_EQ(Shown(*g), (Strings{"r1", "r2", "r3", "r4", "r5", "r6", "r7", "r8", "r9"}));
  EXPECT_FALSE(g->GetNodeState(3)) << "the nested node reads expanded";

  g->ContractAll();
  EXPECT_EQ(Shown(*g), (Strings{"r1", "r7", "r8", "r9"}));
  g->ExpandAll();
  EXPECT_EQ(g->RowCount(), 10);
  g->RemoveAllNodes();
  EXPECT_FALSE(g->HasNodes());
  for (int r = 0; r < 10; ++r) EXPECT_EQ(Level(*g, r), 0);
}

TEST(GridNodes, ExpandOneAndSpanZero) {
  auto g = Labelled(9);
  g->AddNode(1, 3);
  g->AddNode(4, 0);  // up to the next node
  g->AddNode(7, 2);
  g->ContractNode(4);
  EXPECT_EQ(Shown(*g), (Strings{"r1", "r2", "r3", "r4", "r7", "r8"}));
  g->ExpandNode(4);
  g->CellNode()->SetExpandOne(true);
  g->ContractNode(1);
  g->ExpandNode(1);
  EXPECT_FALSE(g->GetNodeState(1));
  EXPECT_EQ(Shown(*g), (Strings{"r1", "r2", "r3", "r4", "r7"}))
      << "the other expanded nodes were contracted";
}

TEST(GridNodes, ChildRowsInsideTwoLevels) {
  auto g = Labelled(9);
  g->AddNode(1, 5);  // r1 .. r5
  g->AddNode(2, 3);  // r2 .. r4
  g->ContractNode(7);  // not a node: nothing
  g->InsertChildRow(3, 0);
  EXPECT_EQ(g->GetNodeSpan(1), 6);
  EXPECT_EQ(g->GetNodeSpan(2), 4);
  EXPECT_EQ(Level(*g, 3), 2);
  EXPECT_EQ(g->Cells(1, 3), "");
  EXPECT_EQ(g->Cells(1, 4), "r3");

  g->DeleteChildRow(3);
  EXPECT_EQ(g->GetNodeSpan(1), 5);
  EXPECT_EQ(g->GetNodeSpan(2), 3);
  EXPECT_EQ(Shown(*g), (Strings{"r1", "r2", "r3", "r4", "r5", "r6", "r7", "r8"}));
}

TEST(GridNodes, RowsOutsideNodesKeepHiddenRowsInPlace) {
  auto g = Labelled(8);
  g->AddNode(1, 3);
  g->ContractNode(1);
  g->InsertRowAt(5);
  g->ExpandNode(1);
  EXPECT_EQ(Shown(*g), (Strings{"r1", "r2", "r3", "r4", "", "r5", "r6", "r7"}));
  g->ContractNode(1);
  g->DeleteRowAt(5);
  g->ExpandNode(1);
  EXPECT_EQ(Shown(*g), (Strings{"r1", "r2", "r3", "r4", "r5", "r6", "r7"}));
}

TEST(GridNodes, FilteringAContractedGridKeepsTheRowOrder) {
  auto g = Labelled(8);
  for (int r = 1; r < 8; ++r) g->SetCells(2, r, r % 2 ? "odd" : "even");
  g->AddNode(2, 3);
  g->ContractNode(2);
  TFilterData* f = g->Filter()->Add();
  f->SetColumn(2);
  f->SetCondition("odd");
  g->SetFilterActive(true);
  g->SetFilterActive(false);
  g->ExpandNode(2);
  EXPECT_EQ(Shown(*g), (Strings{"r1", "r2", "r3", "r4", "r5", "r6", "r7"}));
}

TEST(GridNodes, AutomaticRowsAndClearingGoThroughTheNodes) {
  auto g = Labelled(8);
  g->AddNode(1, 3);  // r1 .. r3
  g->AutoInsertRow(2);
  EXPECT_EQ(g->GetNodeSpan(1), 4) << "inside a node: a child row";
  EXPECT_EQ(Level(*g, 2), 1);
  g->AutoInsertRow(6);
  EXPECT_EQ(g->GetNodeSpan(1), 4) << "outside every node: a plain row";
  EXPECT_EQ(Level(*g, 6), 0);
  g->AutoDeleteRow(2);
  EXPECT_EQ(g->GetNodeSpan(1), 3);
  g->AutoDeleteRow(5);
  EXPECT_EQ(Shown(*g), (Strings{"r1", "r2", "r3", "r4", "r5", "r6", "r7"}));

  g->ContractNode(1);
  g->ClearAll();
  EXPECT_FALSE(g->HasNodes());
  EXPECT_EQ(g->RowCount(), 8) << "the contracted rows came back before clearing";
  EXPECT_EQ(g->Cells(1, 3), "");
}

TEST(GridNodes, GlyphClickWithEvents) {
  TClickGrid g(nullptr);
  g.SetBounds(0, 0, 300, 300);
  g.SetColCount(3);
  g.SetRowCount(6);
  g.AddNode(1, 3);
  std::vector<std::string> log;
  bool allow = true;
  g.OnBeforeContractNode = [&](TObject*, int r, int real, bool& a) {
    log.push_back("before " + std::to_string(r) + "," + std::to_string(real));
    a = allow;
  };
  g.OnContractNode = [&](TObject*, int r, int) { log.push_back("contract " + std::to_string(r)); };
  g.OnExpandNode = [&](TObject*, int r, int) { log.push_back("expand " + std::to_string(r)); };
  TRect cell = g.CellRect(0, 1);
  const int x = cell.Left + g.CellNode()->NodeIndent() / 2;
  allow = false;
  g.MouseDown(mbLeft, TShiftState{ssLeft}, x, cell.Top + 3);
  EXPECT_FALSE(g.GetNodeState(1));
  allow = true;
  g.MouseDown(mbLeft, TShiftState{ssLeft}, x, cell.Top + 3);
  EXPECT_TRUE(g.GetNodeState(1));
  EXPECT_EQ(g.RowCount(), 4);
  g.MouseDown(mbLeft, TShiftState{ssLeft}, x, cell.Top + 3);
  EXPECT_EQ(g.RowCount(), 6);
  EXPECT_EQ(log, (std::vector<std::string>{"before 1,1", "before 1,1", "contract 1", "expand 1"}));
}

}  // namespace
