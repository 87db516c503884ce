// The cell store: records per cell, merged cells, the text accessors and
// their display events, the grid's own paint pass, keys over merged areas,
// and the undo recorder.
#include "grid/support/basegrid.h"

#include <gtest/gtest.h>

#include <map>

#include "grid/support/plusutil.h"
#include "platform/ui/forms.h"
#include "support/gui/guitest.h"

using namespace guitest;

namespace {

int gLiveObjects = 0;
struct TCounted : TObject {
  TCounted() { ++gLiveObjects; }
  ~TCounted() override { --gLiveObjects; }
};
struct TCountedGraphic : TCellGraphic {
  TCountedGraphic() { ++gLiveObjects; }
  ~TCountedGraphic() override { --gLiveObjects; }
};

// Records what the paint pass asks of the hooks.
class TProbeGrid : public TBaseGrid {
public:
  explicit TProbeGrid(TComponent* owner) : TBaseGrid(owner) {}
  std::map<std::pair<int, int>, int> TextDraws;
  std::map<std::pair<int, int>, TRect> TextRects;
  TColor GradientTo = clNone;
  TAlignment DefaultAlignment = taLeftJustify;
  using TCustomGrid::FocusCell;

  void DrawCellText(TCanvas* c, int ACol, int ARow, TRect R, TGridDrawState S) override {
    ++TextDraws[{ACol, ARow}];
    TextRects[{ACol, ARow}] = R;
    TBaseGrid::DrawCellText(c, ACol, ARow, R, S);
  }
  void GetCellFormat(int, int, TCellGradientDirection& Direction, bool&, bool&, bool&, TFont*, TBrush*,
                     TColor& AColorTo, bool, bool, bool, TGridDrawState&) override {
    if (GradientTo != clNone) {
      AColorTo = GradientTo;
      Direction = GradientVertical;
    }
  }
  void GetCellDefaults(int ACol, int ARow, TCellGradientDirection& D, bool& W, TVAlignment& V, TAlignment& A,
                       TColor& To, TFont* F, TBrush* B) override {
    TBaseGrid::GetCellDefaults(ACol, ARow, D, W, V, A, To, F, B);
    A = DefaultAlignment;
  }
};

struct BaseGridFixture : ::testing::Test {
  TForm* Form = nullptr;
  TProbeGrid* Grid = nullptr;
  void SetUp() override {
    gLiveObjects = 0;
    Form = new TForm(nullptr);
    Form->SetBounds(0, 0, 400, 300);
    Grid = new TProbeGrid(Form);
    Grid->SetParent(Form);
    Grid->SetScrollBars(ssNone);
    Grid->SetColCount(5);
    Grid->SetRowCount(10);
    Grid->SetDefaultColWidth(40);
    Grid->SetDefaultRowHeight(20);
    Grid->SetBounds(0, 0, 200, 120);  // 5 columns, 6 rows in view
    Grid->SetColor(clWhite);
  }
  void TearDown() override {
    delete Form;
    ProcessEvents();
    EXPECT_EQ(gLiveObjects, 0) << "the grid frees the records and graphics it owns";
  }
  void Paint() {
    Grid->TextDraws.clear();
    Grid->Repaint();
  }
  TColor Pixel(int x, int y) { return Grid->Canvas()->Pixels(x, y); }
  static TColor RGB(TColor c) { return static_cast<TColor>(ColorToRGB(c)); }
};

}  // namespace

TEST_F(BaseGridFixture, MergedCellsShareTheBaseTextAndSplitRestoresEachCell) {
  Grid->SetCellText(1, 1, "base");
  Grid->SetCellText(2, 2, "own");
  Grid->SetDisplRowCount(Grid->RowCount());
  std::vector<std::pair<int, int>> asked;
  Grid->OnGetDisplText = [&](TObject*, int c, int r, std::string& v) {
    asked.emplace_back(c, r);
    v = "[" + v + "]";
  };
  Grid->MergeCells(1, 1, 2, 2);
  EXPECT_EQ(Grid->GetCellText(2, 2), "[base]");
  EXPECT_EQ(asked, (std::vector<std::pair<int, int>>{{1, 1}}));
  EXPECT_EQ(Grid->GetCellRaw(2, 2), "own");  // kept, ignored while covered
  // The record layout: spans on the base, offsets back on the covered cells.
  EXPECT_TRUE(Grid->IsBaseCell(1, 1));
  EXPECT_FALSE(Grid->IsBaseCell(2, 1));
  EXPECT_EQ(Grid->GetCellProperties(1, 1)->CellSpanX(), 1);
  EXPECT_EQ(Grid->GetCellProperties(2, 2)->CellSpanX(), 1);
  EXPECT_EQ(Grid->GetCellProperties(1, 2)->CellSpanX(), 0);
  EXPECT_EQ(Grid->GetBaseCell(2, 2), Point(1, 1));
  EXPECT_EQ(Grid->GetCellSpan(2, 1), Point(1, 1));
  EXPECT_TRUE(Grid->IsMergedCell(1, 1));
  EXPECT_TRUE(Grid->IsCoveredCell(2, 2));
  EXPECT_FALSE(Grid->IsCoveredCell(1, 1));
  EXPECT_TRUE(Grid->IsHorzMerged(1, 2));
  EXPECT_TRUE(Grid->IsVertMerged(2, 1));
  EXPECT_FALSE(Grid->IsMergedCell(3, 3));
  // Writing a covered cell writes the base.
  Grid->OnGetDisplText = nullptr;
  Grid->SetCellText(2, 1, "area");
  EXPECT_EQ(Grid->GetCellRaw(1, 1), "area");
  EXPECT_EQ(Grid->GetCellText(1, 2), "area");

  Grid->SplitCells(2, 2);
  EXPECT_EQ(Grid->GetCellText(1, 1), "area");
  EXPECT_EQ(Grid->GetCellText(2, 2), "own");
  EXPECT_EQ(Grid->GetCellText(2, 1), "");
  for (int c = 1; c <= 2; ++c)
    for (int r = 1; r <= 2; ++r) {
      EXPECT_TRUE(Grid->IsBaseCell(c, r));
      EXPECT_EQ(Grid->GetCellSpan(c, r), Point(0, 0));
    }
  // A one-cell area has spans (0, 0) and is not merged.
  Grid->MergeCells(2, 3, 1, 1);
  EXPECT_EQ(Grid->GetCellProperties(2, 3)->CellSpanX(), 0);
  EXPECT_FALSE(Grid->IsMergedCell(2, 3));
  // Splitting a cell in no area keeps its data and gives it a record.
  Grid->SetCellText(4, 4, "alone");
  Grid->SplitCells(4, 4);
  EXPECT_TRUE(Grid->HasCellProperties(4, 4));
  EXPECT_EQ(Grid->GetCellText(4, 4), "alone");
}

TEST_F(BaseGridFixture, DisplayEventsOnlyBelowDisplRowCountAndWithTheBaseCell) {
  int plain = 0;
  Grid->OnGetDisplText = [&](TObject*, int, int, std::string&) { ++plain; };
  Grid->SetCellText(1, 1, "abc");
  EXPECT_EQ(Grid->GetCellText(1, 1), "abc");
  EXPECT_EQ(plain, 0) << "a bare grid has DisplRowCount 0";
  Grid->SetDisplRowCount(5);
  Grid->GetCellText(1, 4);
  Grid->GetCellText(1, 5);
  EXPECT_EQ(plain, 1);
  Grid->OnGetDisplText = nullptr;
  // The wide event gets the decoded text; the result comes back in the wide form.
  std::pair<int, int> where{-1, -1};
  Grid->OnGetDisplWideText = [&](TObject*, int c, int r, std::u16string& v) {
    where = {c, r};
    v += u'\u20AC';
  };
  Grid->MergeCells(1, 1, 2, 1);
  EXPECT_EQ(Grid->GetCellText(2, 1), EncodeWideCellText(u"abc\u20AC"));
  EXPECT_EQ(where, std::make_pair(1, 1));
  Grid->SetCellRaw(3, 3, EncodeWideCellText(u"\u03A9"));
  EXPECT_EQ(Grid->GetCellText(3, 3), EncodeWideCellText(u"\u03A9\u20AC"));
}

TEST_F(BaseGridFixture, RecordsTakeTheirDefaultsAndTheGridOwnsThem) {
  Grid->Font()->SetName("Arial");
  Grid->Font()->SetSize(11);
  Grid->SetWordWrap(false);
  Grid->DefaultAlignment = taCenter;
  TCellProperties* p = Grid->GetCellProperties(2, 3);
  EXPECT_EQ(p, Grid->GetCellProperties(2, 3));
  EXPECT_EQ(p->OwnerGrid(), Grid);
  EXPECT_EQ(p->OwnerCol(), 2);
  EXPECT_EQ(p->OwnerRow(), 3);
  EXPECT_EQ(p->FontName(), "Arial");
  EXPECT_EQ(p->FontSize(), 11);
  EXPECT_EQ(p->BrushColor(), clWhite);
  EXPECT_EQ(p->BrushColorTo(), clNone);
  EXPECT_FALSE(p->WordWrap());
  EXPECT_EQ(p->Alignment(), taCenter);
  EXPECT_EQ(p->VAlignment(), vtaTop);
  EXPECT_TRUE(p->IsBaseCell());
  EXPECT_EQ(p->CellSpanX(), -1);
  EXPECT_EQ(p->Editor(), edNormal);
  EXPECT_EQ(Grid->GetCellText(2, 3), "") << "a record does not give the cell a text";

  // Graphics and objects: replaced ones are freed, the rest go with the grid.
  Grid->SetCellGraphic(0, 5, new TCountedGraphic);
  EXPECT_NE(Grid->GetCellGraphic(0, 5), nullptr);
  EXPECT_EQ(Grid->GetCellText(0, 5), "");
  Grid->SetCellGraphic(0, 5, new TCountedGraphic);
  EXPECT_EQ(gLiveObjects, 1);
  Grid->ReplaceCellObject(4, 4, new TCounted);
  Grid->ReplaceCellObject(4, 4, new TCounted);
  EXPECT_EQ(gLiveObjects, 2);
  Grid->SetCellObject(4, 5, new TCounted);
  Grid->SetCellObject(3, 5, new TCounted);
  Grid->FreeCellObjects(3, 5, 5, 4);
  EXPECT_EQ(gLiveObjects, 2);
  EXPECT_EQ(Grid->GetCellObject(4, 5), nullptr);
  // Rows and columns a smaller count drops take their records with them.
  Grid->SetCellObject(1, 9, new TCounted);
  Grid->GetCellProperties(4, 1);
  Grid->SetRowCount(9);
  Grid->SetColCount(4);
  EXPECT_EQ(gLiveObjects, 1);  // the graphic in (0, 5) remains
  Grid->SetRowCount(10);
  EXPECT_FALSE(Grid->HasCellProperties(1, 9));
}

TEST_F(BaseGridFixture, ResetsDetachRecordsAndClearTexts) {
  Grid->SetCellText(1, 1, "base");
  Grid->MergeCells(1, 1, 2, 1);
  TCellProperties* base = Grid->GetCellProperties(1, 1);
  TCellProperties* covered = Grid->GetCellProperties(2, 1);
  // A reset of a covered cell clears the area's text, then detaches its record.
  Grid->ResetCell(2, 1);
  EXPECT_EQ(Grid->GetCellRaw(1, 1), "");
  EXPECT_FALSE(Grid->HasCellProperties(2, 1));
  delete covered;  // detached records belong to the caller
  Grid->SetCellText(3, 2, "x");
  Grid->ResetCol(1);
  EXPECT_FALSE(Grid->HasCellProperties(1, 1));
  delete base;
  Grid->ResetRow(2);
  EXPECT_EQ(Grid->GetCellRaw(3, 2), "");
}

TEST_F(BaseGridFixture, CellRectsAreValidOutOfViewAndAreasJoinThem) {
  Grid->SetColWidths(2, 60);
  Grid->SetRowHeights(4, 30);
  EXPECT_EQ(Grid->GetCellRect(0, 0), Rect(0, 0, 40, 20));
  EXPECT_EQ(Grid->GetCellRect(3, 4), Rect(140, 80, 180, 110));
  Grid->SetTopRow(3);
  EXPECT_EQ(Grid->GetCellRect(1, 1), Rect(40, -20, 80, 0));  // scrolled away
  EXPECT_EQ(Grid->GetCellRect(1, 0), Rect(40, 0, 80, 20));   // fixed rows stay
  Grid->MergeCells(1, 1, 2, 4);
  EXPECT_EQ(Grid->GetMergedCellRect(2, 3), Rect(40, -20, 140, 70));
  EXPECT_EQ(Grid->GetMergedCellSize(1, 2), Point(100, 90));
  Grid->SetTopRow(1);
  EXPECT_EQ(Grid->GetMergedCellRect(1, 1), Rect(40, 20, 140, 110));
  EXPECT_EQ(Grid->GetMergedCellRect(4, 1), Rect(180, 20, 220, 40));  // widened past the view
  Grid->MergeCells(3, 2, 1, 3);
  EXPECT_TRUE(Grid->RowsShareMergedCells(2, 4));  // both in column 1's and column 3's areas
  EXPECT_TRUE(Grid->RowsShareMergedCells(1, 2));  // column 3 does not hold row 1 in an area
  Grid->MergeCells(4, 5, 1, 2);
  Grid->MergeCells(4, 7, 1, 2);
  EXPECT_TRUE(Grid->RowsShareMergedCells(5, 6));
  EXPECT_FALSE(Grid->RowsShareMergedCells(6, 7)) << "two areas of column 4";
  EXPECT_FALSE(Grid->RowsShareMergedCells(8, 9)) << "no column merges both";
}

TEST_F(BaseGridFixture, AnAreaScrolledPastItsBaseIsPaintedOncePerPass) {
  Grid->SetCellText(1, 1, "area");
  Grid->MergeCells(1, 1, 2, 4);
  Grid->SetTopRow(3);  // rows 3 and 4 of the area show, its base row does not
  Paint();
  EXPECT_EQ(Grid->TextDraws[std::make_pair(1, 1)], 1);
  EXPECT_EQ(Grid->TextDraws.count(std::make_pair(2, 3)), 0u);
  const int pass = Grid->PaintPass();
  Paint();
  EXPECT_EQ(Grid->PaintPass(), pass + 1);
  EXPECT_EQ(Grid->TextDraws[std::make_pair(1, 1)], 1);
  // The area is drawn from its full rectangle, inset by the line width, and
  // clipped below the fixed row.
  EXPECT_EQ(Grid->TextRects[std::make_pair(1, 1)], Rect(41, -19, 119, 59));
  EXPECT_EQ(Pixel(60, 10), RGB(clBtnFace));
}

TEST_F(BaseGridFixture, PaintPassColoursLinesFooterAndActiveRow) {
  Paint();
  // Grid lines inside the cell at its right and bottom edges.
  EXPECT_EQ(Pixel(79, 30), RGB(0xC0C0C0));
  EXPECT_EQ(Pixel(60, 39), RGB(0xC0C0C0));
  EXPECT_EQ(Pixel(60, 30), RGB(clWhite));
  EXPECT_EQ(Pixel(39, 10), RGB(clGray));  // fixed cells: grey lines
  Grid->SetGridLineColor(clRed);
  Grid->SetGridLineWidth(0);
  Paint();
  EXPECT_EQ(Pixel(79, 30), RGB(clWhite)) << "no lines at width 0";
  EXPECT_EQ(Grid->TextRects[std::make_pair(1, 1)], Rect(40, 20, 80, 40)) << "and no inset";
  Grid->SetGridLineWidth(3);
  Paint();
  EXPECT_EQ(Pixel(77, 30), RGB(clRed));
  EXPECT_EQ(Pixel(76, 30), RGB(clWhite));
  EXPECT_EQ(Grid->TextRects[std::make_pair(1, 1)], Rect(43, 23, 77, 37));

  // The active row's other cells take ActiveRowColor; the current cell does not.
  Grid->SetActiveRowShow(true);
  Grid->SetActiveRowColor(clYellow);
  Grid->SetRow(2);
  Paint();
  EXPECT_EQ(Pixel(100, 50), RGB(clYellow));
  EXPECT_EQ(Pixel(60, 50), RGB(clWhite));
  EXPECT_EQ(Pixel(100, 30), RGB(clWhite));

  // A gradient from the brush colour to the end colour.
  Grid->SetActiveRowShow(false);
  Grid->GradientTo = clBlack;
  Paint();
  EXPECT_EQ(Pixel(60, 20), RGB(clWhite));
  const int top = Pixel(60, 22) & 0xFF, middle = Pixel(60, 30) & 0xFF, bottom = Pixel(60, 35) & 0xFF;  // the 3-pixel line starts at 37
  EXPECT_GT(top, middle);
  EXPECT_GT(middle, bottom);
  EXPECT_LT(bottom, 0x50);

  // The floating footer covers the last row with the grid's colour.
  Grid->GradientTo = clNone;
  Grid->SetRowCount(6);
  Grid->SetCellText(1, 5, "hidden");
  Grid->SetColor(clAqua);
  Grid->SetFloatingFooterRow(true);
  Paint();
  EXPECT_EQ(Grid->TextDraws.count(std::make_pair(1, 5)), 0u);
  EXPECT_EQ(Pixel(79, 117), RGB(clAqua));
}

TEST_F(BaseGridFixture, KeysTreatAnAreaAsOneCell) {
  Grid->MergeCells(1, 1, 2, 3);
  Form->Show();
  Grid->FocusCell(1, 1, true);
  Key(Grid, VK_RIGHT);
  EXPECT_EQ(Grid->Col(), 3);
  Key(Grid, VK_LEFT);
  EXPECT_EQ(std::make_pair(Grid->Col(), Grid->Row()), std::make_pair(1, 1));
  Key(Grid, VK_DOWN);
  EXPECT_EQ(std::make_pair(Grid->Col(), Grid->Row()), std::make_pair(1, 4));
  Key(Grid, VK_UP);
  EXPECT_EQ(std::make_pair(Grid->Col(), Grid->Row()), std::make_pair(1, 1)) << "back onto the base";
  // From a covered cell that was made current directly.
  Grid->FocusCell(2, 3, true);
  Key(Grid, VK_LEFT);
  EXPECT_EQ(Grid->Col(), 1);
  EXPECT_EQ(Grid->Row(), 1);
  Grid->FocusCell(2, 3, true);
  Key(Grid, VK_UP);
  EXPECT_EQ(std::make_pair(Grid->Col(), Grid->Row()), std::make_pair(1, 1));
  // The wheel lands on base cells too.
  Grid->FocusCell(1, 4, true);
  Wheel(Grid, 1, 50, 50);
  EXPECT_EQ(std::make_pair(Grid->Col(), Grid->Row()), std::make_pair(1, 1));
}

TEST(UndoRedo, KeepsAtMostMaxLevelChangesOldestFirst) {
  struct {
    int maxLevel, changes, kept;
  } cases[] = {{0, 5, 5}, {1, 4, 1}, {3, 3, 3}, {3, 4, 3}};
  for (const auto& c : cases) {
    TPlusGridUndoRedo undo(nullptr);
    undo.SetMaxLevel(c.maxLevel);
    for (int i = 0; i < c.changes; ++i) undo.AddChange(i, 10 + i, "old" + std::to_string(i), "new" + std::to_string(i));
    EXPECT_EQ(undo.Items()->Count(), c.kept) << c.maxLevel;
    EXPECT_EQ(undo.Level(), c.kept);
    const TUndoRedoItem* first = undo.Items()->Item(0);
    const int dropped = c.changes - c.kept;
    EXPECT_EQ(first->Col(), dropped);
    EXPECT_EQ(first->Row(), 10 + dropped);
    EXPECT_EQ(first->OrigValue(), "old" + std::to_string(dropped));
    EXPECT_EQ(first->Value(), "new" + std::to_string(dropped));
  }
}

TEST(UndoRedo, LinkedGridAndRecorderForgetEachOtherWhenFreed) {
  TForm form(nullptr);
  auto* grid = new TBaseGrid(&form);
  auto* undo = new TPlusGridUndoRedo(&form);
  grid->SetUndoRedo(undo);
  EXPECT_EQ(undo->Grid(), grid);
  delete undo;
  EXPECT_EQ(grid->UndoRedo(), nullptr);
  undo = new TPlusGridUndoRedo(&form);
  grid->SetUndoRedo(undo);
  delete grid;
  EXPECT_EQ(undo->Grid(), nullptr);
}

TEST(BaseGridClasses, PublishTheirPropertiesInOrderWithDefaults) {
  std::vector<std::string> names;
  for (const TPropInfo* p : TCellProperties::StaticClass().Properties()) names.push_back(p->Name);
  EXPECT_EQ(names, (std::vector<std::string>{"IsBaseCell", "CellSpanX", "CellSpanY", "OwnerCol", "OwnerRow",
                                             "Alignment", "BorderColor", "BorderWidth", "BrushColor", "BrushColorTo",
                                             "BrushStyle", "CellObject", "FontColor", "FontName", "FontSize",
                                             "FontStyle", "Editor", "GradientDirection", "ReadOnly", "VAlignment",
                                             "WordWrap", "NodeLevel", "Control"}));
  struct {
    const char* name;
    int64_t def;
  } defaults[] = {{"ActiveRowShow", 0},        {"ActiveRowColor", clInfoBk}, {"DefaultDrawing", 0},
                  {"GridLineWidth", 1},        {"GridLineColor", 0xC0C0C0}};
  for (const auto& d : defaults) {
    const TPropInfo* p = TBaseGrid::StaticClass().FindProperty(d.name);
    ASSERT_NE(p, nullptr) << d.name;
    EXPECT_EQ(p->Default, d.def) << d.name;
  }
  EXPECT_NE(TBaseGrid::StaticClass().FindProperty("OnGetDisplWideText"), nullptr);
  EXPECT_NE(TBaseGrid::StaticClass().FindProperty("UndoRedo"), nullptr);
  EXPECT_NE(TPlusGridUndoRedo::StaticClass().FindProperty("MaxLevel"), nullptr);
  std::vector<std::string> item;
  for (const TPropInfo* p : TUndoRedoItem::StaticClass().Properties()) item.push_back(p->Name);
  EXPECT_EQ(item, (std::vector<std::string>{"Value", "OrigValue", "Col", "Row"}));
  // A fresh grid holds the published defaults and draws its own lines.
  TBaseGrid grid(nullptr);
  EXPECT_FALSE(grid.DefaultDrawing());
  EXPECT_EQ(grid.TCustomGrid::GridLineWidth(), 0);
  EXPECT_TRUE(grid.Options().Contains(goDrawFocusSelected));
}
