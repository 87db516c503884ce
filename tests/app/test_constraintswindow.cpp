// The constraints window: constraints built by dragging list items onto the
// two columns, the drag rules that keep rows paired, OK rebuilding the
// refinement set (written as the golden input file) and Cancel leaving it,
// Delete Constraint keeping the removed members refined, and a ratio that is
// no number refused.
#include "app/constraintswindow.h"

#include <memory>

#include "app/popupmenus.h"
#include "modeleditortest.h"
#include "toolbar/tbitem.h"
#include "toolbar/tbpopupmenu.h"

using namespace modeleditortest;
using namespace guitest;

namespace {

class ConstraintsWindowTest : public ModelEditorTest {
protected:
  void Open() {
    Form = std::make_unique<TConstraintForm>(nullptr);
    Form->Show();
  }
  TPoint ItemAt(TListBox* list, int i) {
    const TRect r = list->ItemRect(i);
    return Point(20, (r.Top + r.Bottom) / 2);
  }
  // Presses item i (with the keys) and drags it onto the grid.
  void DragOnto(TListBox* list, int i, TStringGrid* grid, TShiftState keys = {}) {
    const TPoint p = ItemAt(list, i);
    MouseDown(list, mbLeft, p.X, p.Y, keys);
    MouseMove(list, p.X + 10, p.Y, keys);
    MouseMove(grid, 30, 10, keys);
    MouseUp(grid, mbLeft, 30, 10, keys);
  }
  void Select(TListBox* list, int i, TShiftState keys = {}) {
    const TPoint p = ItemAt(list, i);
    MouseDown(list, mbLeft, p.X, p.Y, keys);
    MouseUp(list, mbLeft, p.X, p.Y, keys);
  }
  // One first member (B of Sr1) and three second members (B of Ti1, B of
  // O1, the phase scale) dragged together.
  void TieThreeToOne() {
    TListBox* phase = Form->ListBoxPhase;
    ASSERT_EQ(phase->Items()->Get(0), "P  1: B (Sr1 )");
    DragOnto(phase, 0, Form->StringGrid1);
    Select(phase, 1);
    Select(phase, 2, {ssCtrl});
    DragOnto(phase, 3, Form->StringGrid2, {ssCtrl});
  }
  void Press(TButton* b) { Click(b, 5, 5); }
  std::unique_ptr<TConstraintForm> Form;
};

TEST_F(ConstraintsWindowTest, ThreeItemsDroppedAfterOneFirstMemberMakeThreeConstraints) {
  Load("xray-cw.inp");
  const std::string before = Written();
  const int refined = Model->RefinedCount();
  ASSERT_EQ(refined, 13);
  ASSERT_EQ(Model->ConstraintCount(), 0);

  Open();
  EXPECT_EQ(Form->Labelvar->Caption(), "13");
  EXPECT_EQ(Form->ListBoxGlobal->Count() + Form->ListBoxPhase->Count() + Form->ListBoxSample->Count(), 13);
  TieThreeToOne();
  ASSERT_EQ(Form->StringGrid1->RowCount(), 4);
  ASSERT_EQ(Form->StringGrid2->RowCount(), 4);
  const char* seconds[3] = {"P  1: B (Ti1 )", "P  1: B (O1  )", "P  1: Phase Scale"};
  for (int row = 1; row <= 3; ++row) {
    EXPECT_EQ(Form->StringGrid1->Cells(0, row), "P  1: B (Sr1 )");
    EXPECT_EQ(Form->StringGrid2->Cells(0, row), seconds[row - 1]);
    EXPECT_EQ(Form->StringGrid2->Cells(1, row), "1.0");
  }
  EXPECT_EQ(Form->ListBoxPhase->Items()->Text(), "P  1: B (Sr1 )\nP  1: a\n") << "the second members leave the list";
  EXPECT_FALSE(Form->ListBoxPhase->MultiSelect());
  EXPECT_TRUE(ModelChanged);
  Press(Form->ButtonCancel);
  EXPECT_EQ(Written(), before) << "Cancel leaves the model";
  EXPECT_EQ(Model->ConstraintCount(), 0);

  Open();
  EXPECT_EQ(Form->StringGrid1->RowCount(), 1) << "the window shows the model again";
  TieThreeToOne();
  Form->StringGrid2->SetCells(1, 2, "0.5");
  Press(Form->ButtonOK);
  EXPECT_FALSE(Form->Visible());
  EXPECT_EQ(Model->ConstraintCount(), 3);
  EXPECT_EQ(Model->RefinedCount(), refined - 3);
  EXPECT_FLOAT_EQ(Model->Parameters.Constraints[1]->Second.Multiplier, 0.5f);
  ExpectMatchesInputGolden(Written(), "constraints_window.inp");
}

TEST_F(ConstraintsWindowTest, DragsThatWouldBreakThePairsAreRefused) {
  Load("xray-cw.inp");
  Open();
  TListBox* global = Form->ListBoxGlobal;
  DragOnto(global, 0, Form->StringGrid2);
  EXPECT_EQ(Form->SecondRows(), 0) << "no second member before a first";
  DragOnto(global, 0, Form->StringGrid1);
  DragOnto(global, 1, Form->StringGrid1);
  EXPECT_EQ(Form->FirstRows(), 1) << "no second first member while one waits";
  EXPECT_EQ(global->Count(), 4) << "a first member stays in its list";
  // A first member without a second is dropped on OK (the set is rebuilt
  // in the lists' order, every parameter still refined).
  Press(Form->ButtonOK);
  EXPECT_EQ(Model->ConstraintCount(), 0);
  EXPECT_EQ(Model->RefinedCount(), 13);
  EXPECT_TRUE(Model->IsRefined(1, 0, 0, 1));
}

TEST_F(ConstraintsWindowTest, DeletedConstraintsLeaveTheirMembersRefined) {
  Load("xray-cw.inp");
  // An existing constraint: V tied to U.
  TParameter u(1, 1, 0, 3, 1), v(1, 1, 0, 4, 1);
  Model->Parameters.AddConstraint(u, v);
  ASSERT_EQ(Model->ConstraintCount(), 1);
  Open();
  EXPECT_EQ(Form->ListBoxSample->Items()->IndexOf("H  1: P  1: V"), 3) << "a second member is listed";
  // A new constraint of two rows below it.
  TListBox* global = Form->ListBoxGlobal;
  DragOnto(global, 1, Form->StringGrid1);
  Select(global, 2);
  DragOnto(global, 3, Form->StringGrid2, {ssCtrl});
  ASSERT_EQ(Form->FirstRows(), 3);
  EXPECT_EQ(global->Count(), 2);

  FirePopupEvent(Form->PopupMenu1);
  EXPECT_TRUE(Form->DeleteConstraint1->Enabled());
  // Rows 1 (the existing constraint) and 3 (Background 2 tied to Background 0).
  for (int row : {3, 1}) {
    const TRect cell = Form->StringGrid1->CellRect(0, row);
    Click(Form->StringGrid1, cell.Left + 5, cell.Top + 5);
    EXPECT_EQ(Form->StringGrid2->Selection().Top, row) << "both columns select the row";
    Form->DeleteConstraint1->Click();
  }
  ASSERT_EQ(Form->FirstRows(), 1);
  EXPECT_EQ(Form->StringGrid2->Cells(0, 1), "H  1: Background 1");
  EXPECT_EQ(global->Items()->Text(), "H  1: Zero\nH  1: Background 0\nH  1: Background 2\n")
      << "the removed second member is back, once";
  EXPECT_EQ(Form->ListBoxSample->Count(), 4) << "V was listed already";
  Press(Form->ButtonOK);
  EXPECT_EQ(Model->ConstraintCount(), 1);
  EXPECT_EQ(Model->RefinedCount(), 12);
  for (int t : {3, 4}) EXPECT_TRUE(Model->IsRefined(1, 1, 0, t)) << "U and V stay refined";
  EXPECT_TRUE(Model->IsRefined(1, 0, 0, 4)) << "Background 2 stays refined";
  EXPECT_GE(Model->Parameters.IndexOfAddress(1, 0, 0, 4), 0) << "on its own";
}

TEST_F(ConstraintsWindowTest, ARatioThatIsNoNumberIsRefused) {
  Load("xray-cw.inp");
  const std::string before = Written();
  Open();
  DragOnto(Form->ListBoxSample, 0, Form->StringGrid1);
  DragOnto(Form->ListBoxSample, 1, Form->StringGrid2);
  Form->StringGrid2->SetCells(1, 1, "1.0a");
  Press(Form->ButtonOK);
  ASSERT_EQ(Dialogs.Count(), 1u);
  EXPECT_EQ(Dialogs.Last().Text, "\"1.0a\" in /Value of constraint 1 is not a number.");
  EXPECT_TRUE(Form->Visible());
  EXPECT_EQ(Written(), before);
  // A ratio of 0 would fix the member: it counts as 1.
  Form->StringGrid2->SetCells(1, 1, "0");
  Press(Form->ButtonOK);
  ASSERT_EQ(Model->ConstraintCount(), 1);
  EXPECT_FLOAT_EQ(Model->Parameters.Constraints[0]->Second.Multiplier, 1.0f);
}

}  // namespace
