// Rows and columns inserted, removed and cleared with their records,
// graphics, heights, marks and hidden rows; and the grid's event hooks
// (automatic rows, saved and loaded texts, balloon texts).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "grid/plusgrid.h"
#include "support/gui/guitest.h"

namespace {

int gFreed = 0;

// Graphic content that counts its own release.
struct TCountedContent : TObject {
  ~TCountedContent() override { ++gFreed; }
};

// A grid whose column 1 holds "r<row>" in every row.
std::unique_ptr<TPlusStringGrid> LabelledGrid(int rows, int cols = 4) {
  auto g = std::make_unique<TPlusStringGrid>(nullptr);
  g->SetColCount(cols);
  g->SetRowCount(rows);
  for (int r = 0; r < rows; ++r) g->SetCells(1, r, "r" + std::to_string(r));
  return g;
}

std::vector<std::string> Column(TPlusStringGrid& g, int c) {
  std::vector<std::string> v;
  for (int r = 0; r < g.RowCount(); ++r) v.push_back(g.Cells(c, r));
  return v;
}

// A graphic in the cell that owns a counted content.
void AddCountedGraphic(TPlusStringGrid& g, int c, int r) {
  TCellGraphic* gr = g.CreateCellGraphic(c, r);
  gr->CellType = ctBitmap;
  gr->CellCreated = true;
  gr->CellContent = new TCountedContent();
}

struct TChangeLog {
  std::vector<TRect> Rects;
  void Attach(TPlusStringGrid& g) {
    g.OnCellsChanged = [this](TObject*, TRect R) { Rects.push_back(R); };
  }
};

TEST(GridRows, InsertMovesTextsRecordsAndHeightsWithTheirRows) {
  auto g = LabelledGrid(6);
  g->GetCellProperties(2, 3)->SetBrushColor(clRed);
  g->SetRowHeights(3, 40);
  TChangeLog log;
  log.Attach(*g);

  g->InsertRows(2, 2);

  EXPECT_EQ(g->RowCount(), 8);
  EXPECT_EQ(Column(*g, 1), (std::vector<std::string>{"r0", "r1", "", "", "r2", "r3", "r4", "r5"}));
  EXPECT_EQ(g->GetCellProperties(2, 5)->BrushColor(), clRed);
  EXPECT_EQ(g->GetCellProperties(2, 5)->OwnerRow(), 5);
  EXPECT_EQ(g->RowHeights(5), 40);
  for (int r : {2, 3}) {
    EXPECT_EQ(g->RowHeights(r), g->DefaultRowHeight());
    EXPECT_FALSE(g->HasCellProperties(2, r));
  }
  ASSERT_EQ(log.Rects.size(), 1u);
  EXPECT_EQ(log.Rects[0], TRect(0, 2, 3, 4));

  // At RowCount the rows are appended.
  g->InsertRows(g->RowCount(), 1);
  EXPECT_EQ(g->RowCount(), 9);
  EXPECT_EQ(g->Cells(1, 7), "r5");
  EXPECT_EQ(g->Cells(1, 8), "");
}

TEST(GridRows, RemoveFreesTheRemovedRowsRecordsOnly) {
  auto g = LabelledGrid(8);
  gFreed = 0;
  AddCountedGraphic(*g, 2, 3);
  AddCountedGraphic(*g, 2, 5);
  g->GetCellProperties(3, 6)->SetFontColor(clBlue);

  g->RemoveRows(3, 2);

  EXPECT_EQ(gFreed, 1);
  EXPECT_EQ(g->RowCount(), 6);
  EXPECT_EQ(Column(*g, 1), (std::vector<std::string>{"r0", "r1", "r2", "r5", "r6", "r7"}));
  EXPECT_EQ(g->GetCellType(2, 3), ctBitmap) << "row 5's graphic moved up with its row";
  EXPECT_EQ(g->GetCellProperties(3, 4)->FontColor(), clBlue);
  g.reset();
  EXPECT_EQ(gFreed, 2);
}

TEST(GridRows, GrowingAndShrinkingLeaksNothing) {
  gFreed = 0;
  {
    auto g = LabelledGrid(10);
    g->SetRowCount(100);
    for (int r = 0; r < 100; ++r) AddCountedGraphic(*g, 2, r);
    g->RemoveRows(50, 20);
    EXPECT_EQ(gFreed, 20);
    g->SetRowCount(5);
    EXPECT_EQ(gFreed, 95);
  }
  EXPECT_EQ(gFreed, 100);
}

TEST(GridRows, CurrentRowAfterRemoval) {
  struct Case {
    int current, from, count, expectRow;
    bool hidden;
  };
  // 1 fixed row, rows 1..6 normal, row 7 a fixed footer.
  const Case cases[] = {
      {3, 3, 1, 3, false},  // the removed current row's index stays current
      {2, 4, 2, 2, false},  // a row above the removed ones keeps its place
      {6, 5, 2, 4, false},  // the last normal rows go: the previous normal row
      {3, 1, 6, -1, true},  // all normal rows go: the selection is hidden
  };
  for (const Case& c : cases) {
    auto g = LabelledGrid(8);
    g->SetFixedFooters(1);
    g->SetRow(c.current);
    g->RemoveRows(c.from, c.count);
    EXPECT_EQ(g->SelectionHidden(), c.hidden) << c.from << "+" << c.count;
    if (!c.hidden) EXPECT_EQ(g->Row(), c.expectRow) << c.from << "+" << c.count;
  }
  // Every row removed: the layer's one row remains, empty.
  auto g = LabelledGrid(5);
  g->RemoveRows(0, 5);
  EXPECT_EQ(g->RowCount(), 1);
  EXPECT_EQ(g->Cells(1, 0), "");
}

TEST(GridRows, HiddenRowsKeepTheirPlaceAcrossInsertAndRemove) {
  auto g = LabelledGrid(8);
  g->HideRow(5);  // display rows: r0 r1 r2 r3 r4 r6 r7
  g->RemoveRows(1, 2);
  EXPECT_EQ(static_cast<TGridItem*>(g->HiddenRowList()->Items(0))->Idx(), 3);
  g->InsertRows(1, 1);
  g->SetCells(1, 1, "new");
  EXPECT_EQ(static_cast<TGridItem*>(g->HiddenRowList()->Items(0))->Idx(), 4);
  g->UnHideRowsAll();
  EXPECT_EQ(Column(*g, 1), (std::vector<std::string>{"r0", "new", "r3", "r4", "r5", "r6", "r7"}));
}

TEST(GridRows, ModifiedAndDisjunctMarksFollowTheirRows) {
  auto g = LabelledGrid(8);
  g->ShowModified()->SetEnabled(true);
  g->SetRowModified(4, true);
  g->InsertRows(2, 1);
  EXPECT_TRUE(g->GetRowModified(5));
  EXPECT_FALSE(g->GetRowModified(4));
  g->RemoveRows(1, 2);
  EXPECT_TRUE(g->GetRowModified(3));

  auto h = LabelledGrid(8);
  h->MouseActions()->SetDisjunctRowSelect(true);
  h->SetRowSelect(2, true);
  h->SetRowSelect(5, true);
  h->SetRowSelect(6, true);
  h->RemoveRows(3, 1);
  EXPECT_TRUE(h->GetRowSelect(2));
  EXPECT_TRUE(h->GetRowSelect(4));
  EXPECT_TRUE(h->GetRowSelect(5));
  EXPECT_FALSE(h->GetRowSelect(3));
  h->RemoveSelectedRows();
  EXPECT_EQ(Column(*h, 1), (std::vector<std::string>{"r0", "r1", "r4", "r7"}));
}

TEST(GridRows, RemoveSelectedRowsOfTheSelectionRectangle) {
  auto g = LabelledGrid(8);
  g->SetSelection(TGridRect{1, 2, 2, 4});
  g->RemoveSelectedRows();
  EXPECT_EQ(Column(*g, 1), (std::vector<std::string>{"r0", "r1", "r5", "r6", "r7"}));
}

TEST(GridRows, RemoveRowsShiftedAndUnreleased) {
  auto g = LabelledGrid(6);
  gFreed = 0;
  AddCountedGraphic(*g, 2, 2);
  g->SetRowHeights(3, 33);
  g->RemoveRowsShifted(2, 1);
  EXPECT_EQ(gFreed, 1);
  EXPECT_EQ(Column(*g, 1), (std::vector<std::string>{"r0", "r1", "r3", "r4", "r5"}));
  EXPECT_EQ(g->RowHeights(2), 33);

  // Unreleased: the caller keeps the record; heights stay where they were.
  auto* kept = g->GetCellProperties(3, 1);
  kept->SetBrushColor(clLime);
  g->RemoveRowsUnreleased(1, 1);
  EXPECT_EQ(Column(*g, 1), (std::vector<std::string>{"r0", "r3", "r4", "r5"}));
  EXPECT_EQ(g->RowHeights(2), 33);
  EXPECT_FALSE(g->HasCellProperties(3, 1));
  delete kept;
}

TEST(GridCols, RemoveFreesGraphicsAndInsertAddsShownDefaultColumns) {
  auto g = LabelledGrid(4, 5);
  for (int c = 0; c < 5; ++c) g->SetCells(c, 0, "c" + std::to_string(c));
  g->SetColWidths(3, 99);
  gFreed = 0;
  AddCountedGraphic(*g, 2, 1);
  g->GetCellProperties(3, 1)->SetBrushColor(clRed);
  TChangeLog log;
  log.Attach(*g);

  g->RemoveCols(1, 2);
  EXPECT_EQ(gFreed, 1);
  EXPECT_EQ(g->ColCount(), 3);
  EXPECT_EQ(g->Cells(1, 0), "c3");
  EXPECT_EQ(g->Cells(2, 0), "c4");
  EXPECT_EQ(g->ColWidths(1), 99);
  EXPECT_EQ(g->GetCellProperties(1, 1)->BrushColor(), clRed);
  EXPECT_EQ(g->GetCellProperties(1, 1)->OwnerCol(), 1);
  ASSERT_FALSE(log.Rects.empty());
  EXPECT_EQ(log.Rects.back(), TRect(1, 0, 3, 3));

  log.Rects.clear();
  g->InsertCols(1, 2);
  EXPECT_EQ(g->ColCount(), 5);
  EXPECT_EQ((std::vector<std::string>{g->Cells(0, 0), g->Cells(1, 0), g->Cells(2, 0), g->Cells(3, 0)}),
            (std::vector<std::string>{"c0", "", "", "c3"}));
  EXPECT_EQ(g->ColWidths(3), 99);
  for (int c : {1, 2}) {
    EXPECT_EQ(g->ColWidths(c), g->DefaultColWidth());
    EXPECT_FALSE(g->IsHiddenColumn(c));
    EXPECT_FALSE(g->HasCellProperties(c, 1));
  }
  EXPECT_EQ(g->GetCellProperties(3, 1)->BrushColor(), clRed);
  EXPECT_TRUE(log.Rects.empty()) << "inserting columns reports no change";
}

TEST(GridCols, ColumnOrderIsFilledOnlyWhenEmpty) {
  auto g = LabelledGrid(3, 4);
  g->InitColumnOrder();
  ASSERT_EQ(g->ColumnOrder()->Count(), 4);
  EXPECT_EQ(g->ColumnOrder()->GetItem(3), 3);
  g->ColumnOrder()->SetItem(0, 2);
  g->SetColCount(6);
  g->InitColumnOrder();
  EXPECT_EQ(g->ColumnOrder()->Count(), 4);
  EXPECT_EQ(g->ColumnOrder()->GetItem(0), 2);
}

TEST(GridClear, ClearRectDissolvesMergesAndClearsTexts) {
  auto g = LabelledGrid(6);
  g->MergeCells(1, 1, 2, 2);
  g->SetCells(1, 1, "merged");
  g->GetCellProperties(1, 1)->SetBrushColor(clYellow);
  TChangeLog log;
  log.Attach(*g);

  g->ClearRect(1, 1, 2, 2);
  EXPECT_FALSE(g->IsMergedCell(1, 1));
  for (int c : {1, 2})
    for (int r : {1, 2}) {
      EXPECT_FALSE(g->HasCellProperties(c, r));
      EXPECT_EQ(g->Cells(c, r), "");
    }
  EXPECT_EQ(g->Cells(1, 3), "r3");
  ASSERT_EQ(log.Rects.size(), 1u);
  EXPECT_EQ(log.Rects[0], TRect(1, 1, 2, 2));

  // Outside the grid nothing happens and nothing raises.
  EXPECT_NO_THROW(g->ClearRows(50, 3));
  EXPECT_NO_THROW(g->RemoveRows(50, 3));
  EXPECT_NO_THROW(g->RemoveCols(50, 3));
  EXPECT_EQ(g->RowCount(), 6);
}

TEST(GridClear, ClearAllFreesEveryRecord) {
  auto g = LabelledGrid(5);
  gFreed = 0;
  AddCountedGraphic(*g, 0, 0);
  AddCountedGraphic(*g, 3, 4);
  g->ClearAll();
  EXPECT_EQ(gFreed, 2);
  for (int r = 0; r < 5; ++r) EXPECT_EQ(g->Cells(1, r), "");
}

TEST(GridRows, AddRowKeepsAFloatingFooterLast) {
  auto g = LabelledGrid(4);
  g->SetCells(1, 3, "total");
  g->FloatingFooter()->SetVisible(true);
  g->AddRow();
  EXPECT_EQ(g->RowCount(), 5);
  EXPECT_EQ(g->Cells(1, 4), "total");
  EXPECT_EQ(g->Cells(1, 3), "");

  auto h = LabelledGrid(4);
  h->AddRow();
  EXPECT_EQ(h->Cells(1, 3), "r3");
  EXPECT_EQ(h->Cells(1, 4), "");
}

// ---------------------------------------------------------------------------
// Event hooks

TEST(GridHooks, AutomaticRowsFireTheirEvents) {
  auto g = LabelledGrid(3);
  std::vector<std::string> events;
  g->OnAutoInsertRow = [&](TObject*, int r) { events.push_back("ins" + std::to_string(r)); };
  g->OnAutoDeleteRow = [&](TObject*, int r) { events.push_back("del" + std::to_string(r)); };
  g->AutoInsertRow(1);
  EXPECT_EQ(Column(*g, 1), (std::vector<std::string>{"r0", "", "r1", "r2"}));
  g->AutoDeleteRow(1);
  g->AutoDeleteRow(1);
  EXPECT_EQ(Column(*g, 1), (std::vector<std::string>{"r0", "r2"}));
  // The only normal row is emptied, not removed, while FixedRowAlways is off.
  g->AutoDeleteRow(1);
  EXPECT_EQ(g->RowCount(), 2);
  EXPECT_EQ(g->Cells(1, 1), "");
  EXPECT_EQ(events, (std::vector<std::string>{"ins1", "del1", "del1", "del1"}));

  auto h = LabelledGrid(2);
  h->SetFixedRowAlways(true);
  h->AutoDeleteRow(1);
  EXPECT_EQ(h->RowCount(), 1);
}

TEST(GridHooks, SavedTextOfCells) {
  auto g = LabelledGrid(4);
  g->AddCellCheckBox(2, 1, true, false);
  g->AddCellCheckBox(2, 2, false, false);
  g->SetCells(3, 1, "<b>bold</b> text");
  EXPECT_EQ(g->SaveCellText(2, 1), "Y");
  EXPECT_EQ(g->SaveCellText(2, 2), "N");
  g->OnGetCheckTrue = [](TObject*, int, int, std::string& v) { v = "yes"; };
  EXPECT_EQ(g->SaveCellText(2, 1), "yes");
  EXPECT_EQ(g->SaveCellText(3, 1), "<b>bold</b> text");
  g->SetSaveKeepHTML(false);
  EXPECT_EQ(g->SaveCellText(3, 1), "bold text");

  // Shown text is formatted; the stored one is not.
  g->SetCells(1, 3, "2.5");
  g->OnGetFloatFormat = [](TObject*, int, int, bool& isFloat, std::string& f) {
    isFloat = true;
    f = "%.3f";
  };
  EXPECT_EQ(g->SaveCellText(1, 3), "2.500");
  g->SetSaveShownText(false);
  EXPECT_EQ(g->SaveCellText(1, 3), "2.5");
  g->OnSaveCell = [](TObject*, int, int, std::string& v) { v = "[" + v + "]"; };
  EXPECT_EQ(g->SaveCellText(1, 3), "[2.5]");
}

TEST(GridHooks, LoadedTextPassesOnLoadCellAndIsStoredRaw) {
  auto g = LabelledGrid(4);
  int shown = 0;
  g->OnGetDisplText = [&](TObject*, int, int, std::string&) { ++shown; };
  g->OnLoadCell = [](TObject*, int, int, std::string& v) { v += "!"; };
  g->LoadCellText(2, 2, "x");
  EXPECT_EQ(g->GetCellRaw(2, 2), "x!");
  EXPECT_EQ(shown, 0);
}

TEST(GridHooks, BalloonTexts) {
  auto g = LabelledGrid(4);
  std::string title, text;
  int icon = 0;
  struct Case {
    std::string cell, expect;
  };
  const std::string long2000(2000, 'a');
  const Case cases[] = {
      {"\r\n\tsecond\tline", "second line"},
      {long2000, std::string(1021, 'a') + "..."},
      {std::string(1024, 'b'), std::string(1024, 'b')},
      {"<b>bold</b>", "bold"},
      {"{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 rich \\b text\\b0\\par}", "rich text"},
  };
  for (const Case& c : cases) {
    g->SetCells(2, 1, c.cell);
    g->GetBalloonText(2, 1, title, text, icon);
    EXPECT_EQ(text, c.expect) << c.cell.substr(0, 20);
    EXPECT_EQ(title, " ");
    EXPECT_EQ(icon, 1);
  }
  EXPECT_EQ(g->BalloonCol(), 2);
  EXPECT_EQ(g->BalloonRow(), 1);

  // The handler's own text is cut like any other, and so is a long title.
  g->OnCellBalloon = [](TObject*, int, int, std::string& t, std::string& s, int& i) {
    t = std::string(150, 't');
    s = std::string(5000, 'z');
    i = 3;
  };
  g->GetBalloonText(2, 1, title, text, icon);
  EXPECT_EQ(text, std::string(1021, 'z') + "...");
  EXPECT_EQ(title, std::string(97, 't') + "...");
  EXPECT_EQ(icon, 3);

  g->OnCellBalloon = nullptr;
  g->GetBalloonText(-1, -1, title, text, icon);
  EXPECT_EQ(text, "");
}

}  // namespace
