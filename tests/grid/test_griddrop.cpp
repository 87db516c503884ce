// Drops on the grid, called as the plain functions they are: text pasted at
// the cell under the point (with rows inserted first when asked), rich text,
// a grid column, what a drag of the selection carries and what a finished
// move leaves behind.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "grid/plusgrid.h"
#include "grid/support/plusobj.h"
#include "platform/ui/dragdrop.h"
#include "support/gui/guitest.h"
#include "support/tempdir.h"

namespace {

class DropFixture : public ::testing::Test {
protected:
  void SetUp() override {
    Form = new TForm(nullptr);
    Form->SetBounds(0, 0, 600, 400);
    Grid = new TPlusStringGrid(Form);
    Grid->SetParent(Form);
    Grid->SetBounds(0, 0, 560, 300);
    Grid->SetColCount(5);
    Grid->SetRowCount(7);
    TGridOptions o = Grid->Options();
    o.Include(goEditing);
    Grid->SetOptions(o);
    for (int r = 1; r < 7; ++r) Grid->SetCells(0, r, "row" + std::to_string(r));
    Grid->OnOleDropped = [this](TObject*, TGridRect R) { Dropped.push_back(R); };
  }
  void TearDown() override {
    delete Form;
    guitest::ProcessEvents();
  }
  // The middle of a cell.
  TPoint At(int c, int r) {
    const TRect R = Grid->CellRect(c, r);
    return TPoint{(R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2};
  }
  std::vector<std::string> Column(int c) {
    std::vector<std::string> v;
    for (int r = 0; r < Grid->RowCount(); ++r) v.push_back(Grid->Cells(c, r));
    return v;
  }
  bool AnyArrowShows() {
    for (int d = 0; d < 4; ++d)
      if (Grid->ArrowWindow(d) && Grid->ArrowWindow(d)->Visible()) return true;
    return false;
  }
  TForm* Form = nullptr;
  TPlusStringGrid* Grid = nullptr;
  std::vector<TGridRect> Dropped;
};

TEST_F(DropFixture, TextDropInsertsRowsAndSelectsTheBlock) {
  Grid->DragDropSettings()->SetOleInsertRows(true);
  Grid->OleDropText(At(2, 3), "a\tb\r\nc\td");
  EXPECT_EQ(Grid->RowCount(), 9);
  EXPECT_EQ(Grid->Cells(2, 3), "a");
  EXPECT_EQ(Grid->Cells(3, 3), "b");
  EXPECT_EQ(Grid->Cells(2, 4), "c");
  EXPECT_EQ(Grid->Cells(3, 4), "d");
  EXPECT_EQ(Grid->Cells(0, 3), "") << "two new rows at row 3";
  EXPECT_EQ(Grid->Cells(0, 5), "row3");
  EXPECT_EQ(Grid->Cells(0, 8), "row6");
  const TGridRect block{2, 3, 3, 4};
  EXPECT_EQ(Grid->Selection(), block);
  ASSERT_EQ(Dropped.size(), 1u);
  EXPECT_EQ(Dropped[0], block);
  EXPECT_FALSE(AnyArrowShows());
}

TEST_F(DropFixture, TextDropWithoutInsertingOverwrites) {
  Grid->OleDropText(At(1, 5), "x\ty\r\n");
  EXPECT_EQ(Grid->RowCount(), 7);
  EXPECT_EQ(Grid->Cells(1, 5), "x");
  EXPECT_EQ(Grid->Cells(2, 5), "y");
  EXPECT_EQ(Grid->Cells(0, 5), "row5");
  EXPECT_EQ(Grid->Selection(), (TGridRect{1, 5, 2, 5})) << "the closing line break makes no row";

  // Text from a spreadsheet ends with a line break: one row inserted per line.
  Grid->DragDropSettings()->SetOleInsertRows(true);
  Grid->OleDropText(At(1, 2), "1\t2\r\n");
  EXPECT_EQ(Grid->RowCount(), 8);
  EXPECT_EQ(Grid->Cells(0, 3), "row2");
  EXPECT_EQ(Grid->Selection(), (TGridRect{1, 2, 2, 2}));
}

TEST_F(DropFixture, RefusedOrImpossibleDropsLeaveTheGridAsItWas) {
  Grid->DragDropSettings()->SetOleInsertRows(true);
  const std::vector<std::string> before = Column(0);
  const TGridRect sel = Grid->Selection();

  // Refused by the application.
  std::vector<std::string> offered;
  Grid->OnOleDrop = [&](TObject*, int, int, const std::string& data, bool& Allow) {
    offered.push_back(data);
    Allow = false;
  };
  Grid->OleDropText(At(2, 3), "p\tq");
  EXPECT_EQ(offered, std::vector<std::string>{"p\tq"});
  EXPECT_EQ(Column(0), before);
  EXPECT_EQ(Grid->Cells(2, 3), "");
  EXPECT_EQ(Dropped.size(), 1u) << "the clean-up still reports";
  Grid->OnOleDrop = nullptr;

  // A grid that takes no edits pastes nothing and keeps no inserted rows.
  TGridOptions o = Grid->Options();
  o.Exclude(goEditing);
  Grid->SetOptions(o);
  Grid->OleDropText(At(2, 3), "p\tq\r\nr\ts");
  EXPECT_EQ(Grid->RowCount(), 7);
  EXPECT_EQ(Column(0), before);
  EXPECT_EQ(Grid->Selection(), sel);

  // Outside the cells.
  o.Include(goEditing);
  Grid->SetOptions(o);
  Grid->OleDropText(TPoint{Grid->ClientWidth() - 1, Grid->ClientHeight() - 1}, "p");
  EXPECT_EQ(Grid->RowCount(), 7);
}

TEST_F(DropFixture, RowSelectDropsStartAtTheFirstColumn) {
  TGridOptions o = Grid->Options();
  o.Include(goRowSelect);
  Grid->SetOptions(o);
  Grid->OleDropText(At(3, 2), "m\tn");
  EXPECT_EQ(Grid->Cells(1, 2), "m") << "FixedCols, not the column under the point";
  EXPECT_EQ(Grid->Cells(2, 2), "n");
  Grid->DragDropSettings()->SetOleEntireRows(true);
  Grid->OleDropText(At(3, 4), "k\tl");
  EXPECT_EQ(Grid->Cells(0, 4), "k") << "whole rows from column 0";
  EXPECT_EQ(Grid->Cells(1, 4), "l");
}

TEST_F(DropFixture, DragOverAllowsByFormatAndPlace) {
  struct Case {
    const char* what;
    int col, row, formats;
    bool allowed;
  };
  const Case cases[] = {
      {"text on a normal cell", 2, 2, 1, true},
      {"text on the header", 2, 0, 1, false},
      {"file on a normal cell", 1, 3, 2, true},
      {"column on the header", 2, 0, 4, true},
      {"column on a normal row", 2, 2, 4, false},
      {"column on a fixed column", 0, 0, 4, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Grid->OleDragOver(At(c.col, c.row), c.formats), c.allowed) << c.what;
    EXPECT_EQ(AnyArrowShows(), c.allowed) << c.what << ": arrows follow the answer";
  }
  int asked = 0;
  Grid->OnOleDragOver = [&](TObject*, int ARow, int ACol, bool& Allow) {
    EXPECT_EQ(ARow, 2);
    EXPECT_EQ(ACol, 3);
    ++asked;
    Allow = false;
  };
  EXPECT_FALSE(Grid->OleDragOver(At(3, 2), 1));
  EXPECT_EQ(asked, 1);
  Grid->OleDragLeave();
  EXPECT_FALSE(AnyArrowShows());
}

TEST_F(DropFixture, DragOverTheRowBelowTheViewScrolls) {
  Grid->SetRowCount(100);
  const int top = Grid->TopRow();
  const int below = top + Grid->VisibleRowCount();
  const TRect r = Grid->CellRect(1, below - 1);
  // The partly shown row just under the last whole one.
  Grid->OleDragOver(TPoint{r.Left + 5, r.Bottom + 3}, 1);
  EXPECT_EQ(Grid->TopRow(), top + 1);
}

TEST_F(DropFixture, PayloadGoesToOneHandler) {
  std::vector<std::string> log;
  Grid->OnOleDropCol = [&](TObject*, int, int, int DropCol) { log.push_back("col" + std::to_string(DropCol)); };
  Grid->OnOleDrop = [&](TObject*, int, int, const std::string& data, bool&) { log.push_back(data); };
  TDragPayload both;
  both.Text = "plain";
  both.RichText = "{\\rtf1 rich}";
  both.GridColumn = 3;
  Grid->OleDropPayload(At(2, 0), both);
  EXPECT_EQ(log, std::vector<std::string>{"col3"}) << "a column is delivered alone";

  log.clear();
  both.GridColumn.reset();
  Grid->OleDropPayload(At(2, 2), both);
  EXPECT_EQ(log, std::vector<std::string>{"plain"}) << "text unless rich text is switched on";
  EXPECT_EQ(Grid->Cells(2, 2), "plain");

  // Switched on in one grid, every grid prefers rich text.
  TPlusStringGrid other(nullptr);
  other.DragDropSettings()->SetOleDropRTF(true);
  log.clear();
  Grid->OleDropPayload(At(2, 3), both);
  EXPECT_EQ(log, std::vector<std::string>{"{\\rtf1 rich}"});
  EXPECT_EQ(Grid->Cells(2, 3), "{\\rtf1 rich}");
  other.DragDropSettings()->SetOleDropRTF(false);
  EXPECT_FALSE(TPlusStringGrid::OleRichTextEnabled());
}

TEST_F(DropFixture, SelectionAsText) {
  Grid->SetCells(1, 2, "a");
  Grid->SetCells(2, 2, "b");
  Grid->SetCells(1, 3, "{\\rtf1\\ansi rich}");
  Grid->SetCells(2, 3, "d");
  Grid->SetSelection(TGridRect{1, 2, 2, 3});
  EXPECT_EQ(Grid->GetSelectionAsText(), "a\tb\r\nrich\td");

  Grid->MouseActions()->SetDisjunctRowSelect(true);
  Grid->SetRowSelect(1, true);
  Grid->SetRowSelect(3, true);
  Grid->SetCells(1, 1, "x");
  EXPECT_EQ(Grid->GetSelectionAsText(), "x\t\r\nrich\td") << "the marked rows, in the selection's columns";
}

TEST_F(DropFixture, FinishedMoveClearsOrRemovesTheSource) {
  std::vector<int> stops;
  Grid->OnOleDragStop = [&](TObject*, int Effect) { stops.push_back(Effect); };
  auto fill = [&] {
    for (int r = 1; r < Grid->RowCount(); ++r)
      for (int c = 1; c < 5; ++c) Grid->SetCells(c, r, std::to_string(c) + std::to_string(r));
  };
  fill();
  Grid->SetDragSourceRect(TGridRect{1, 2, 2, 3});
  Grid->OleDragFinished(DROPEFFECT_COPY);
  EXPECT_EQ(Grid->Cells(1, 2), "12") << "a copy leaves the source";
  Grid->OleDragFinished(DROPEFFECT_MOVE);
  EXPECT_EQ(Grid->Cells(1, 2), "");
  EXPECT_EQ(Grid->Cells(2, 3), "");
  EXPECT_EQ(Grid->Cells(3, 3), "33");

  fill();
  Grid->DragDropSettings()->SetOleCopyAlways(true);
  Grid->OleDragFinished(DROPEFFECT_MOVE);
  EXPECT_EQ(Grid->Cells(1, 2), "12") << "OleCopyAlways keeps the source";

  TGridOptions o = Grid->Options();
  o.Include(goRowSelect);
  Grid->SetOptions(o);
  Grid->DragDropSettings()->SetOleRemoveRows(true);
  Grid->OleDragFinished(DROPEFFECT_MOVE);
  EXPECT_EQ(Grid->RowCount(), 5);
  EXPECT_EQ(Grid->Cells(0, 2), "row4") << "the dragged rows are gone";
  EXPECT_EQ(stops, (std::vector<int>{DROPEFFECT_COPY, DROPEFFECT_MOVE, DROPEFFECT_MOVE, DROPEFFECT_MOVE}));
}

TEST_F(DropFixture, MovingRowsDownWithinTheGrid) {
  // Rows 1..2 dragged and dropped at row 5 of the same row-select grid.
  TGridOptions o = Grid->Options();
  o.Include(goRowSelect);
  Grid->SetOptions(o);
  Grid->DragDropSettings()->SetOleInsertRows(true);
  Grid->DragDropSettings()->SetOleRemoveRows(true);
  Grid->DragDropSettings()->SetOleEntireRows(true);
  Grid->SetSelection(TGridRect{0, 1, 4, 2});
  Grid->SetDragSourceRect(Grid->Selection());
  const std::string text = Grid->GetSelectionAsText();
  Grid->OleDropText(At(1, 5), text);
  Grid->OleDragFinished(DROPEFFECT_MOVE);
  EXPECT_EQ(Column(0), (std::vector<std::string>{"", "row3", "row4", "row1", "row2", "row5", "row6"}));

  // And up: rows 5..6 to row 1; the inserted rows push the source down first.
  Grid->SetSelection(TGridRect{0, 5, 4, 6});
  Grid->SetDragSourceRect(Grid->Selection());
  Grid->OleDropText(At(1, 1), Grid->GetSelectionAsText());
  Grid->OleDragFinished(DROPEFFECT_MOVE);
  EXPECT_EQ(Column(0), (std::vector<std::string>{"", "row5", "row6", "row3", "row4", "row1", "row2"}));
}

TEST(GridDrop, FilesAreKnownByTheirExtension) {
  struct Case {
    const char* name;
    TPlusStringGrid::TDroppedFileKind kind;
  };
  const Case cases[] = {
      {"/tmp/data.csv", TPlusStringGrid::dfDelimited},  {"/tmp/DATA.CSV", TPlusStringGrid::dfDelimited},
      {"/tmp/book.xlsx", TPlusStringGrid::dfWorkbook},  {"/tmp/Book.Xls", TPlusStringGrid::dfWorkbook},
      {"/tmp/data.csv.bak", TPlusStringGrid::dfNone},   {"/tmp/x.csv/readme", TPlusStringGrid::dfNone},
      {"/tmp/xls", TPlusStringGrid::dfNone},            {"/tmp/notes.txt", TPlusStringGrid::dfNone},
      {"C:\\data\\v.CsV", TPlusStringGrid::dfDelimited},
  };
  for (const Case& c : cases) EXPECT_EQ(TPlusStringGrid::DroppedFileKind(c.name), c.kind) << c.name;
}

TEST_F(DropFixture, DroppedFilesLoadByKind) {
  TTempDir dir;
  const std::string csv = dir.Write("data.csv", "h1;h2\r\n1;2\r\n3;4\r\n");
  const std::string bak = dir.Write("data.csv.bak", "h1;h2\r\nx;y\r\n");
  std::vector<std::string> offered;
  Grid->OnOleDropFile = [&](TObject*, int, int, const std::string& FileName, bool&) { offered.push_back(FileName); };

  // Two files at once: nothing at all.
  Grid->OleDropFiles(At(1, 1), {csv, bak});
  EXPECT_TRUE(offered.empty());
  EXPECT_EQ(Grid->Cells(0, 1), "row1");

  Grid->OleDropFiles(At(1, 1), {bak});
  EXPECT_EQ(offered, std::vector<std::string>{bak});
  EXPECT_EQ(Grid->Cells(0, 1), "row1") << "data.csv.bak is no delimited text";

  Grid->OleDropFiles(At(1, 1), {csv});
  EXPECT_NE(Grid->Cells(0, 1), "row1") << "the .csv file loaded";

  // A workbook written by the grid comes back through a drop.
  TPlusStringGrid source(nullptr);
  source.SetColCount(3);
  source.SetRowCount(3);
  source.SetCells(1, 1, "Fe");
  source.SetCells(2, 2, "O");
  const std::string book = dir.File("book.xlsx");
  source.SaveExcelFile(book, true);
  Grid->OleDropFiles(At(1, 1), {book});
  auto holds = [&](const std::string& t) {
    for (int r = 0; r < Grid->RowCount(); ++r)
      for (int c = 0; c < Grid->ColCount(); ++c)
        if (Grid->Cells(c, r) == t) return true;
    return false;
  };
  EXPECT_TRUE(holds("Fe") && holds("O")) << "book.xlsx loaded as a workbook";

  // The application may refuse a file.
  Grid->SetCells(1, 1, "kept");
  Grid->OnOleDropFile = [](TObject*, int, int, const std::string&, bool& Allow) { Allow = false; };
  Grid->OleDropFiles(At(1, 1), {book});
  EXPECT_EQ(Grid->Cells(1, 1), "kept");
}

TEST_F(DropFixture, UnreadableDroppedFileIsReportedAndLosesNothing) {
  TTempDir dir;
  const std::string broken = dir.Write("broken.xlsx", "this is no workbook");
  const std::string binary = dir.Write("binary.csv", std::string("a;b\0c", 5));
  Grid->SetCells(1, 1, "kept");
  const int rows = Grid->RowCount();
  for (const std::string& f : {broken, binary, dir.File("missing.csv")}) {
    EXPECT_THROW(Grid->OleDropFiles(At(1, 1), {f}), EPlusGridError) << f;
    EXPECT_EQ(Grid->Cells(1, 1), "kept") << f;
    EXPECT_EQ(Grid->Cells(0, 3), "row3") << f;
    EXPECT_EQ(Grid->RowCount(), rows) << f;
  }
}

TEST_F(DropFixture, MovingDisjointRowsUpKeepsTheirMarks) {
  TGridOptions o = Grid->Options();
  o.Include(goRowSelect);
  Grid->SetOptions(o);
  Grid->MouseActions()->SetDisjunctRowSelect(true);
  Grid->DragDropSettings()->SetOleInsertRows(true);
  Grid->DragDropSettings()->SetOleRemoveRows(true);
  Grid->DragDropSettings()->SetOleEntireRows(true);
  Grid->SetRowSelect(4, true);
  Grid->SetRowSelect(6, true);
  Grid->SetDragSourceRect(TGridRect{0, 4, 4, 6});
  const std::string text = Grid->GetSelectionAsText();
  Grid->OleDropText(At(1, 1), text);
  EXPECT_TRUE(Grid->GetRowSelect(6));
  EXPECT_TRUE(Grid->GetRowSelect(8));
  EXPECT_FALSE(Grid->GetRowSelect(1)) << "the dropped rows come in unmarked";
  Grid->OleDragFinished(DROPEFFECT_MOVE);
  EXPECT_EQ(Column(0), (std::vector<std::string>{"", "row4", "row6", "row1", "row2", "row3", "row5"}));
}

TEST_F(DropFixture, DropTargetFollowsTheSetting) {
  Grid->HandleNeeded();
  EXPECT_FALSE(Grid->IsOleDropTarget());
  Grid->DragDropSettings()->SetOleDropTarget(true);
  EXPECT_TRUE(Grid->IsOleDropTarget());
  EXPECT_TRUE(IsDropTarget(Grid));
  Grid->DragDropSettings()->SetOleDropTarget(false);
  EXPECT_FALSE(IsDropTarget(Grid));
  TDragDropSettings copy;
  copy.Assign(Grid->DragDropSettings());
  EXPECT_TRUE(copy.OleAcceptText());
}


TEST_F(DropFixture, ADragOfTheSelectionStartsOnceTheMouseMovedFourPixels) {
  Grid->DragDropSettings()->SetOleDropSource(true);
  TGridOptions o = Grid->Options();
  Grid->SetOptions(o.Exclude(goEditing));
  Grid->SetCells(1, 1, "a");
  Grid->SetCells(2, 1, "b");
  Grid->SetCells(1, 2, "c");
  Grid->SetCells(2, 2, "d");
  Grid->SetSelection(TGridRect{1, 1, 2, 2});
  std::vector<std::string> log;
  int answer = DROPEFFECT_MOVE;
  TDragLoopHandler previous = SetDragLoopHandler([&](TWinControl*, const TDragPayload& Data, int) {
    log.push_back("drag " + Data.Text.value_or("?"));
    return answer;
  });
  Grid->OnOleDrag = [&](TObject*, int ARow, int ACol, const std::string& Data, bool&) {
    log.push_back("ask " + std::to_string(ACol) + "," + std::to_string(ARow) + " " + Data);
  };
  Grid->OnOleDragStart = [&](TObject*, int, int) { log.push_back("start"); };
  Grid->OnOleDragStop = [&](TObject*, int Effect) { log.push_back("stop " + std::to_string(Effect)); };
  const TPoint p = At(2, 2);
  guitest::MouseDown(Grid, mbLeft, p.X, p.Y);
  EXPECT_TRUE(Grid->OleDragPending());
  guitest::MouseMove(Grid, p.X + 3, p.Y, {ssLeft});
  EXPECT_TRUE(log.empty()) << "3 pixels are no drag";
  guitest::MouseMove(Grid, p.X + 4, p.Y, {ssLeft});
  EXPECT_EQ(log, (std::vector<std::string>{"ask 2,2 d", "start", "drag a\tb\r\nc\td", "stop 2"}));
  EXPECT_FALSE(Grid->OleDragPending());
  EXPECT_EQ(Grid->Cells(1, 1), "") << "a move takes the cells";
  EXPECT_EQ(Grid->Cells(2, 2), "");
  guitest::MouseUp(Grid, mbLeft, p.X + 4, p.Y);

  // A press on the selection without a drag selects the cell pressed.
  Grid->SetSelection(TGridRect{1, 1, 2, 2});
  log.clear();
  guitest::Click(Grid, p.X, p.Y);
  EXPECT_TRUE(log.empty());
  EXPECT_EQ(Grid->Selection(), (TGridRect{2, 2, 2, 2}));

  // Refused: the gesture selects instead.
  Grid->SetSelection(TGridRect{1, 1, 1, 1});
  Grid->OnOleDrag = [](TObject*, int, int, const std::string&, bool& Allow) { Allow = false; };
  const TPoint s = At(1, 1);
  guitest::MouseDown(Grid, mbLeft, s.X, s.Y);
  const TPoint t = At(3, 3);
  guitest::MouseMove(Grid, t.X, t.Y, {ssLeft});
  guitest::MouseUp(Grid, mbLeft, t.X, t.Y);
  EXPECT_TRUE(log.empty());
  EXPECT_EQ(Grid->Selection(), (TGridRect{1, 1, 3, 3}));
  SetDragLoopHandler(previous);
}

TEST_F(DropFixture, AMoveOfTheSelectionTakesTheCellsOnlyWhenTheDropTookThem) {
  // The grid drags its selection and takes drops; the drag loop brings the
  // drag to cell 3,4 of the grid itself as the window system does.
  Grid->DragDropSettings()->SetOleDropSource(true);
  Grid->DragDropSettings()->SetOleDropTarget(true);
  Grid->SetOptions(Grid->Options().Exclude(goEditing));
  Form->Show();
  guitest::ProcessEvents();
  ASSERT_TRUE(IsDropTarget(Grid));
  const TPoint to = At(3, 4);
  TDragLoopHandler previous = SetDragLoopHandler([&](TWinControl*, const TDragPayload& Data, int Effects) {
    return guitest::DragAndDrop(Grid, Data, to.X, to.Y, Effects);
  });
  auto dragFrom = [&](TPoint p) {
    guitest::MouseDown(Grid, mbLeft, p.X, p.Y);
    guitest::MouseMove(Grid, p.X + 6, p.Y, {ssLeft});
    guitest::MouseUp(Grid, mbLeft, p.X + 6, p.Y);
  };
  struct Case {
    bool pastes;        // the grid takes pasted text although it does not edit
    const char* what;
  };
  for (const Case& k : {Case{false, "a grid that takes no paste keeps its cells"},
                        Case{true, "the cells move to the drop"}}) {
    SCOPED_TRACE(k.what);
    Grid->Navigation()->SetAllowClipboardAlways(k.pastes);
    Grid->SetCells(1, 1, "a");
    Grid->SetCells(2, 1, "b");
    Grid->SetCells(3, 4, "");
    Grid->SetCells(4, 4, "");
    Grid->SetSelection(TGridRect{1, 1, 2, 1});
    dragFrom(At(1, 1));
    EXPECT_EQ(Grid->Cells(1, 1), k.pastes ? "" : "a");
    EXPECT_EQ(Grid->Cells(2, 1), k.pastes ? "" : "b");
    EXPECT_EQ(Grid->Cells(3, 4), k.pastes ? "a" : "");
    EXPECT_EQ(Grid->Cells(4, 4), k.pastes ? "b" : "");
  }
  // A drop the application refuses takes nothing either.
  Grid->SetCells(1, 1, "a");
  Grid->SetSelection(TGridRect{1, 1, 1, 1});
  Grid->OnOleDrop = [](TObject*, int, int, const std::string&, bool& Allow) { Allow = false; };
  dragFrom(At(1, 1));
  EXPECT_EQ(Grid->Cells(1, 1), "a");
  SetDragLoopHandler(previous);
}

TEST_F(DropFixture, AHeaderDragCarriesTheColumnWithItsButton) {
  Grid->DragDropSettings()->SetOleDropSource(true);
  Grid->DragDropSettings()->SetOleColumnDragDrop(true);
  Grid->SetEnhRowColMove(false);
  TGridOptions o = Grid->Options();
  Grid->SetOptions(o.Exclude(goEditing));
  Grid->SetCells(3, 0, "Head");
  bool buttonShown = false;
  std::optional<int> column;
  TDragLoopHandler previous = SetDragLoopHandler([&](TWinControl*, const TDragPayload& Data, int) {
    column = Data.GridColumn;
    buttonShown = Grid->MoveButton() && Grid->MoveButton()->Visible() && Grid->MoveButton()->Caption() == "Head";
    return DROPEFFECT_COPY;
  });
  const TPoint p = At(3, 0);
  guitest::MouseDown(Grid, mbLeft, p.X, p.Y);
  guitest::MouseMove(Grid, p.X, p.Y + 6, {ssLeft});
  ASSERT_TRUE(column.has_value());
  EXPECT_EQ(*column, 3);
  EXPECT_TRUE(buttonShown) << "the header travels with the mouse";
  EXPECT_FALSE(Grid->MoveButton()->Visible()) << "and goes when the drag ends";
  guitest::MouseUp(Grid, mbLeft, p.X, p.Y + 6);
  SetDragLoopHandler(previous);
}

}  // namespace
