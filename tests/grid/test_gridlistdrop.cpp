// Dragging within the program onto the grid: items of a list box dropped on
// a grid through the class library's drag events (the grid asks OnDragOver
// with its client point and gets OnDragDrop), a refused drag, and a drag
// started from the grid itself onto another cell.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "grid/plusgrid.h"
#include "platform/ui/lists.h"
#include "support/gui/guitest.h"

using namespace guitest;

namespace {

class ListDropFixture : public ::testing::Test {
protected:
  void SetUp() override {
    Form = new TForm(nullptr);
    Form->SetBounds(0, 0, 600, 400);
    List = new TListBox(Form);
    List->SetParent(Form);
    List->SetBounds(0, 0, 150, 200);
    for (const char* s : {"Zero", "Scale", "a", "b"}) List->Items()->Add(s);
    List->SetDragMode(dmAutomatic);
    Grid = new TPlusStringGrid(Form);
    Grid->SetParent(Form);
    Grid->SetBounds(200, 0, 300, 200);
    Grid->SetColCount(2);
    Grid->SetRowCount(1);
    Grid->SetFixedCols(0);
    Grid->SetCells(0, 0, "Parameter");
  }
  void TearDown() override {
    delete Form;
    ProcessEvents();
  }
  TPoint ItemAt(int i) {
    const TRect r = List->ItemRect(i);
    return Point(20, (r.Top + r.Bottom) / 2);
  }
  void DragItem(int i, int x, int y) {
    const TPoint p = ItemAt(i);
    MouseDown(List, mbLeft, p.X, p.Y);
    MouseMove(List, p.X + 10, p.Y);
    MouseMove(Grid, x, y);
    MouseUp(Grid, mbLeft, x, y);
  }
  TForm* Form = nullptr;
  TListBox* List = nullptr;
  TPlusStringGrid* Grid = nullptr;
};

}  // namespace

TEST_F(ListDropFixture, ListItemsDropOnTheGridWhereItAccepts) {
  std::vector<std::string> log;
  bool accept = true;
  Grid->OnDragOver = [&](TObject* s, TObject* source, int x, int y, TDragState state, bool& allow) {
    EXPECT_EQ(s, Grid);
    int c = -1, r = -1;
    Grid->MouseToCell(x, y, c, r);
    if (state == dsDragEnter) log.push_back("over " + std::to_string(c) + "," + std::to_string(r));
    allow = accept && dynamic_cast<TListBox*>(source) != nullptr;
  };
  Grid->OnDragDrop = [&](TObject*, TObject* source, int, int) {
    auto* lb = static_cast<TListBox*>(source);
    const int row = Grid->RowCount();
    Grid->SetRowCount(row + 1);
    Grid->SetCells(0, row, lb->Items()->Get(lb->ItemIndex()));
    log.push_back("drop");
  };
  Form->Show();
  const TRect cell = Grid->CellRect(1, 0);
  DragItem(1, (cell.Left + cell.Right) / 2, (cell.Top + cell.Bottom) / 2);
  EXPECT_EQ(log, (std::vector<std::string>{"over 1,0", "drop"}));
  ASSERT_EQ(Grid->RowCount(), 2);
  EXPECT_EQ(Grid->Cells(0, 1), "Scale");
  EXPECT_EQ(List->Count(), 4) << "the item stays in its list";

  log.clear();
  accept = false;
  DragItem(3, 20, 10);
  EXPECT_EQ(log, (std::vector<std::string>{"over 0,0"}));
  EXPECT_EQ(Grid->RowCount(), 2);
}

TEST_F(ListDropFixture, SeveralSelectedItemsDropAtOnce) {
  List->SetMultiSelect(true);
  Grid->OnDragOver = [](TObject*, TObject*, int, int, TDragState, bool& allow) { allow = true; };
  Grid->OnDragDrop = [&](TObject*, TObject*, int, int) {
    for (int i = 0; i < List->Count(); ++i)
      if (List->Selected(i)) {
        const int row = Grid->RowCount();
        Grid->SetRowCount(row + 1);
        Grid->SetCells(0, row, List->Items()->Get(i));
        Grid->SetCells(1, row, "1.0");
      }
    for (int i = List->Count() - 1; i >= 0; --i)
      if (List->Selected(i)) List->Items()->Delete(i);
  };
  Form->Show();
  const TPoint a = ItemAt(2), b = ItemAt(3);
  Click(List, a.X, a.Y);
  MouseDown(List, mbLeft, b.X, b.Y, {ssCtrl});
  MouseMove(List, b.X + 10, b.Y, {ssCtrl});
  MouseMove(Grid, 20, 10, {ssCtrl});
  MouseUp(Grid, mbLeft, 20, 10, {ssCtrl});
  ASSERT_EQ(Grid->RowCount(), 3);
  EXPECT_EQ(Grid->Cells(0, 1), "a");
  EXPECT_EQ(Grid->Cells(0, 2), "b");
  EXPECT_EQ(List->Items()->Text(), "Zero\nScale\n");
}

TEST_F(ListDropFixture, AGridDragsOneCellOntoAnother) {
  Grid->SetRowCount(4);
  int fromCol = -1, fromRow = -1;
  Grid->OnMouseDown = [&](TObject*, TMouseButton b, TShiftState, int x, int y) {
    Grid->MouseToCell(x, y, fromCol, fromRow);
    if (b == mbLeft && fromCol == 1) Grid->BeginDrag(false);
  };
  Grid->OnDragOver = [&](TObject*, TObject* source, int x, int y, TDragState, bool& allow) {
    int c = -1, r = -1;
    Grid->MouseToCell(x, y, c, r);
    allow = source == Grid && c == 1;
  };
  std::string dropped;
  Grid->OnDragDrop = [&](TObject*, TObject*, int x, int y) {
    int c = -1, r = -1;
    Grid->MouseToCell(x, y, c, r);
    dropped = std::to_string(fromRow) + "->" + std::to_string(r);
  };
  Form->Show();
  const TRect from = Grid->CellRect(1, 1), to = Grid->CellRect(1, 3);
  MouseDown(Grid, mbLeft, from.Left + 5, from.Top + 5);
  MouseMove(Grid, from.Left + 5, from.Top + 15);
  MouseMove(Grid, to.Left + 5, to.Top + 5);
  MouseUp(Grid, mbLeft, to.Left + 5, to.Top + 5);
  EXPECT_EQ(dropped, "1->3");
}
