// Cell graphics of the string grid: check boxes (own state, data texts, the
// row check box), radio groups, buttons, hit tests and rotated text origins.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "grid/plusgrid.h"
#include "platform/rtl/stringlist.h"
#include "support/gui/guitest.h"

namespace {

struct TRecordingUndo : TPlusGridUndoRedo {
  using TPlusGridUndoRedo::TPlusGridUndoRedo;
  std::vector<std::tuple<int, int, std::string, std::string>> Changes;
  void AddChange(int c, int r, const std::string& a, const std::string& b) override {
    Changes.emplace_back(c, r, a, b);
  }
};

std::unique_ptr<TPlusStringGrid> NewGrid() {
  auto g = std::make_unique<TPlusStringGrid>(nullptr);
  g->SetColCount(4);
  g->SetRowCount(6);
  return g;
}

TEST(GridCheckBoxes, OwnStateAndStateUntouchedWithoutGraphic) {
  auto g = NewGrid();
  bool state = true;
  EXPECT_FALSE(g->GetCellCheckState(1, 1, state));
  EXPECT_TRUE(state) << "no graphic leaves State alone";
  EXPECT_FALSE(g->SetCellCheckState(1, 1, true));

  g->AddCellCheckBox(1, 1, false, false);
  EXPECT_EQ(g->GetCellType(1, 1), ctCheckBox);
  EXPECT_EQ(g->GetCellGraphic(1, 1)->CellHAlign, haBeforeText);
  EXPECT_TRUE(g->GetCellCheckState(1, 1, state));
  EXPECT_FALSE(state);
  EXPECT_TRUE(g->SetCellCheckState(1, 1, true));
  EXPECT_TRUE(g->GetCellCheckState(1, 1, state));
  EXPECT_TRUE(state);
  EXPECT_EQ(g->GetCellText(1, 1), "") << "own state never touches the text";

  g->SetVAlignment(vtaBottom);
  g->AddCellCheckBox(2, 1, true, false);
  EXPECT_EQ(g->GetCellGraphic(2, 1)->CellVAlign, vaBottom);
  EXPECT_FALSE(g->RemoveCellGraphicOfType(2, 1, ctRadio));
  EXPECT_TRUE(g->RemoveCellGraphicOfType(2, 1, ctCheckBox));
  EXPECT_FALSE(g->RemoveCellGraphic(2, 1));
  EXPECT_EQ(g->GetCellType(2, 1), ctEmpty);
}

TEST(GridCheckBoxes, DataCheckBoxesLiveInTheText) {
  auto g = NewGrid();
  g->AddCellCheckBox(1, 1, false, true);
  EXPECT_TRUE(g->SetCellCheckState(1, 1, true));
  EXPECT_EQ(g->GetCellText(1, 1), "Y");
  EXPECT_TRUE(g->SetCellCheckState(1, 1, false));
  EXPECT_EQ(g->GetCellText(1, 1), "N");

  bool state = true;
  g->SetCellText(1, 1, "maybe");
  EXPECT_TRUE(g->GetCellCheckState(1, 1, state));
  EXPECT_FALSE(state) << "neither text reads false";
  EXPECT_TRUE(g->ToggleCheck(1, 1, false));
  EXPECT_EQ(g->GetCellText(1, 1), "Y") << "and toggles to true";

  g->OnGetCheckTrue = [](TObject*, int, int, std::string& v) { v = "yes"; };
  EXPECT_TRUE(g->GetCellCheckState(1, 1, state));
  EXPECT_FALSE(state) << "another check-true text changes the reading, not the cell";
  EXPECT_EQ(g->GetCellText(1, 1), "Y");

  g->CheckAll(1);
  EXPECT_EQ(g->GetCellText(1, 1), "yes");
  EXPECT_EQ(g->GetCellText(1, 2), "") << "rows without a check box untouched";
}

TEST(GridCheckBoxes, ToggleAsksTheEditHookAndRecordsTheTexts) {
  auto g = NewGrid();
  TRecordingUndo undo(nullptr);
  g->SetUndoRedo(&undo);
  g->AddCellCheckBox(1, 1, false, false);
  g->AddCellCheckBox(2, 1, false, true);
  g->SetCellText(2, 1, "other");
  g->GetCellProperties(3, 1)->SetReadOnly(true);
  g->AddCellCheckBox(3, 1, false, false);

  EXPECT_TRUE(g->ToggleCheck(1, 1, true));
  EXPECT_TRUE(g->ToggleCheck(2, 1, true));
  EXPECT_FALSE(g->ToggleCheck(3, 1, true)) << "read-only cell";
  EXPECT_FALSE(g->ToggleCheck(0, 3, true)) << "no check box";
  using C = std::tuple<int, int, std::string, std::string>;
  EXPECT_EQ(undo.Changes, (std::vector<C>{C{1, 1, "N", "Y"}, C{2, 1, "other", "Y"}}));

  g->ControlLook()->SetCheckAlwaysActive(true);
  EXPECT_TRUE(g->ToggleCheck(3, 1, true));
  bool state = false;
  g->GetCellCheckState(3, 1, state);
  EXPECT_TRUE(state);
  g->SetUndoRedo(nullptr);
}

TEST(GridCheckBoxes, RowCheckBoxFollowsTheRowSelection) {
  auto g = NewGrid();
  EXPECT_EQ(g->GetCellType(0, 2), ctEmpty);
  g->MouseActions()->SetHotmailRowSelect(true);
  g->MouseActions()->SetDisjunctRowSelect(true);
  EXPECT_EQ(g->GetCellType(0, 2), ctRowCheckBox);
  EXPECT_EQ(g->GetCellType(1, 2), ctEmpty);
  bool state = true;
  EXPECT_TRUE(g->GetCellCheckState(0, 2, state));
  EXPECT_FALSE(state);
  EXPECT_TRUE(g->SetCellCheckState(0, 2, true));
  EXPECT_TRUE(g->GetRowSelect(2));
  EXPECT_TRUE(g->GetCellGraphic(0, 2)->CellBoolean);
  EXPECT_FALSE(g->GetCellGraphic(0, 3)->CellBoolean);
  EXPECT_TRUE(g->HasCheckBox(0, 4));
  EXPECT_THROW(g->GetCellCheckState(0, 99, state), EPlusGridError);
}

TEST(GridRadio, CyclesByIndexOrByText) {
  auto g = NewGrid();
  auto make = [&](int col, int index) {
    TCellGraphic* r = g->CreateCellGraphic(col, 1);
    r->CellType = ctRadio;
    auto* list = new TStringList();
    list->Add("a");
    list->Add("b");
    list->Add("c");
    r->CellContent = list;
    r->CellCreated = true;
    r->CellIndex = index;
    return r;
  };
  TCellGraphic* byText = make(1, -1);
  g->SetCellText(1, 1, "b");
  std::vector<std::string> seen;
  for (int i = 0; i < 2; ++i) {
    g->ToggleRadio(1, 1, false);
    seen.push_back(g->GetCellText(1, 1));
  }
  EXPECT_EQ(seen, (std::vector<std::string>{"c", "a"}));
  EXPECT_LT(byText->CellIndex, 0) << "a text-following group stays so";

  make(2, 0);
  std::vector<int> idx;
  for (int i = 0; i < 4; ++i) {
    g->ToggleRadio(2, 1, false);
    int k = -5;
    EXPECT_TRUE(g->GetRadioIdx(2, 1, k));
    idx.push_back(k);
  }
  EXPECT_EQ(idx, (std::vector<int>{1, 2, 0, 1}));
  EXPECT_TRUE(g->IsRadio(2, 1));
  EXPECT_TRUE(g->HasCellControl(2, 1));
  ASSERT_NE(g->GetRadioStrings(2, 1), nullptr);
  EXPECT_EQ(g->GetRadioStrings(2, 1)->Count(), 3);

  g->GetCellProperties(2, 1)->SetReadOnly(true);
  g->ToggleRadio(2, 1, true);
  int k = -5;
  g->GetRadioIdx(2, 1, k);
  EXPECT_EQ(k, 1) << "the edit hook refuses a read-only group";
}

TEST(GridButtons, RectangleFromOffsetSizeAndFullAlignments) {
  auto g = NewGrid();
  TCellGraphic* b = g->CreateCellGraphic(2, 2);
  b->CellType = ctButton;
  b->CellIndex = 30 | 12 << 16;
  b->CellValue = 5 + 3 * 65536;
  const TRect cell = g->CellRect(2, 2);
  TRect r{};
  g->GetButtonRect(2, 2, r);
  EXPECT_EQ(r.Left, cell.Left + 5);
  EXPECT_EQ(r.Top, cell.Top + 3);
  EXPECT_EQ(r.Right, cell.Left + 35);
  EXPECT_EQ(r.Bottom, cell.Top + 15);
  b->CellHAlign = haFull;
  b->CellVAlign = vaFull;
  g->GetButtonRect(2, 2, r);
  EXPECT_EQ(r.Left, cell.Left);
  EXPECT_EQ(r.Right, cell.Right);
  EXPECT_EQ(r.Top, cell.Top);
  EXPECT_EQ(r.Bottom, cell.Bottom);
  g->SetButtonDown(2, 2, true);
  EXPECT_TRUE(b->CellBoolean);
  EXPECT_TRUE(g->IsButtonCell(2, 2));
  EXPECT_FALSE(g->HasCellControl(1, 1));
  TRect untouched = Rect(1, 2, 3, 4);
  g->GetButtonRect(1, 1, untouched);
  EXPECT_EQ(untouched.Right, 3);
}

TEST(GridCheckBoxes, HitTestPlacesTheSquareByAlignment) {
  auto g = NewGrid();
  g->AddCellCheckBox(1, 1, false, false);
  const TRect r = g->CellRect(1, 1);
  EXPECT_TRUE(g->IsInCheckBox(1, 1, r.Right - 1, r.Bottom - 1)) << "imprecise: anywhere in the cell";
  EXPECT_FALSE(g->IsInCheckBox(2, 1, r.Left, r.Top));
  g->MouseActions()->SetPreciseCheckBoxCheck(true);
  const int c = g->ControlLook()->CheckSize();
  struct Case {
    int x, y;
    bool in;
  };
  const Case left[] = {{r.Left + 2, r.Top + 2, true},
                       {r.Left + 1, r.Top + 2, false},
                       {r.Left + 2 + c - 1, r.Top + 2 + c - 1, true},
                       {r.Left + 2 + c, r.Top + 2, false}};
  for (const Case& k : left) EXPECT_EQ(g->IsInCheckBox(1, 1, k.x, k.y), k.in) << k.x - r.Left << "," << k.y - r.Top;
  g->GetCellProperties(1, 1)->SetAlignment(taRightJustify);
  EXPECT_TRUE(g->IsInCheckBox(1, 1, r.Right - c - 2, r.Top + 2));
  EXPECT_FALSE(g->IsInCheckBox(1, 1, r.Left + 2, r.Top + 2));
}

TEST(GridRotated, OriginByQuadrantAndAlignment) {
  auto g = NewGrid();
  TRect r = Rect(10, 20, 110, 80);
  g->CalcRotatedTextOrigin(r, 0, "abc", taLeftJustify, vtaTop);
  EXPECT_EQ(r.Left, 12);
  EXPECT_EQ(r.Top, 22);
  const TSize sz = g->Canvas()->TextExtent("abcw");
  r = Rect(10, 20, 110, 80);
  g->CalcRotatedTextOrigin(r, 90, "abc", taLeftJustify, vtaBottom);
  EXPECT_EQ(r.Left, 12);
  EXPECT_EQ(r.Top, 78) << "bottom minus |cos 90 * cy| = 0";
  r = Rect(10, 20, 110, 80);
  g->CalcRotatedTextOrigin(r, 90, "abc", taLeftJustify, vtaTop);
  EXPECT_EQ(r.Top, 22 + sz.cx);
  r = Rect(10, 20, 110, 80);
  g->CalcRotatedTextOrigin(r, 180, "abc", taRightJustify, vtaTop);
  EXPECT_EQ(r.Left, 108);
  EXPECT_EQ(r.Top, 22 + sz.cy);
}

TEST(GridGraphics, CommentAndErrorRange) {
  auto g = NewGrid();
  std::string comment = "keep";
  EXPECT_FALSE(g->GetCellComment(1, 1, comment));
  EXPECT_EQ(comment, "keep");
  TCellGraphic* c = g->CreateCellGraphic(1, 1);
  c->CellType = ctComment;
  c->CellText = "note";
  c->CellErrFrom = 3;
  c->CellErrLen = 2;
  EXPECT_TRUE(g->GetCellComment(1, 1, comment));
  EXPECT_EQ(comment, "note");
  int from = -1, len = -1;
  g->GetCellErrorRange(1, 1, from, len);
  EXPECT_EQ(from, 3);
  EXPECT_EQ(len, 2);
  g->GetCellErrorRange(2, 2, from, len);
  EXPECT_EQ(from, 0);
  EXPECT_EQ(len, 0);
}

}  // namespace
