// The chart data grid: its columns and rows, editing cells with the keys
// (null points, Esc, the empty last row, refused texts), deleting rows, the
// XYZ matrix and the navigator bound to it.
#include <gtest/gtest.h>

#include <memory>

#include "chart/editor/grafchartgrid.h"
#include "chart/series/grafpoin3.h"
#include "dialogtest.h"
#include "platform/ui/clipboard.h"
#include "platform/ui/editctrls.h"
#include "platform/ui/messages.h"
#include "support/dialogresponder.h"
#include "support/gui/guitest.h"

namespace {

using editortest::AddLine;

class ChartGridTest : public dialogtest::EditorDialogTest {
protected:
  void SetUp() override {
    EditorDialogTest::SetUp();
    Form = std::make_unique<TForm>(nullptr);
    Form->SetBounds(40, 40, 500, 400);
    Chart = new TChart(Form.get());
    Chart->SetParent(Form.get());
    Chart->SetBounds(0, 0, 10, 10);
    Grid = new TChartGrid(Form.get());
    Grid->SetParent(Form.get());
    Grid->SetBounds(0, 20, 480, 300);
    Form->Show();
  }
  void TearDown() override {
    Form.reset();
    EditorDialogTest::TearDown();
  }
  // Types a text into cell (col, row) and leaves it with Enter.
  void TypeInto(int col, int row, const std::string& text) {
    Grid->SetCol(col);
    Grid->SetRow(row);
    Grid->SetFocus();
    guitest::Key(Grid, VK_F2);
    ASSERT_TRUE(Grid->EditorShown());
    Grid->InplaceEditor()->SetText(text);
    guitest::Key(Grid->InplaceEditor(), VK_RETURN, "\r");
  }
  std::unique_ptr<TForm> Form;
  TChart* Chart = nullptr;
  TChartGrid* Grid = nullptr;
};

TEST_F(ChartGridTest, ColumnsAndRowsFollowWhatIsShown) {
  // Nothing bound: the index column and one data row.
  EXPECT_EQ(Grid->ColCount(), 1);
  EXPECT_EQ(Grid->RowCount(), 3);
  EXPECT_EQ(Grid->FixedRows(), 2);
  // A chart without series: the labels column, then the colours column too.
  Grid->SetChart(Chart);
  EXPECT_EQ(Grid->ColCount(), 2);
  Grid->SetShowColors(true);
  EXPECT_EQ(Grid->ColCount(), 3);
  EXPECT_EQ(Grid->ColWidths(1), 40);
  Grid->SetShowColors(false);

  AddLine(*Chart, "A", {1, 2, 3});
  auto* b = AddLine(*Chart, "B", {4, 5, 6, 7, 8});
  // The series came with their points added after them.
  b->NotifyDataChanged();
  // Index, labels, then the Y lists only: X holds 0, 1, 2 ...
  EXPECT_EQ(Grid->ColCount(), 4);
  EXPECT_EQ(Grid->RowCount(), 2 + 5);
  EXPECT_EQ(Grid->CellText(0, 1), "#");
  EXPECT_EQ(Grid->CellText(1, 1), "Text");
  EXPECT_EQ(Grid->CellText(2, 1), "Y");
  EXPECT_EQ(Grid->CellText(2, 0), "A");
  EXPECT_EQ(Grid->CellText(0, 6), "4");
  EXPECT_EQ(Grid->CellText(3, 6), "8");
  EXPECT_EQ(Grid->CellText(2, 6), "");  // beyond A's points

  // One X value off the sequence shows that series' X column.
  b->XValues()->SetValue(4, 10.5);
  Grid->RecalcLayout();
  EXPECT_EQ(Grid->ColCount(), 5);
  EXPECT_EQ(Grid->CellText(3, 1), "X");
  EXPECT_EQ(Grid->CellText(3, 6), "10.5");
  Grid->SetShowXValues(cgsYes);
  EXPECT_EQ(Grid->ColCount(), 6);
  Grid->SetShowXValues(cgsNo);
  EXPECT_EQ(Grid->ColCount(), 4);

  // One header row: "#" moves up and the data start at row 1.
  Grid->SetSecondHeaderRow(false);
  EXPECT_EQ(Grid->FixedRows(), 1);
  EXPECT_EQ(Grid->CellText(0, 0), "#");
  EXPECT_EQ(Grid->CellText(3, 1), "4");
}

TEST_F(ChartGridTest, ShowXFlagsHoldAsManySeriesAsTheChartHas) {
  // More series than any fixed table would hold; the last with its own X.
  constexpr int n = 1200;
  TLineSeries* last = nullptr;
  for (int i = 0; i < n; ++i) last = AddLine(*Chart, "S", {1});
  last->XValues()->SetValue(0, 5);
  Grid->SetShowLabels(false);
  Grid->SetChart(Chart);
  EXPECT_EQ(Grid->ColCount(), 1 + n + 1);
  EXPECT_TRUE(Grid->SeriesShowsX(n - 1));
  EXPECT_FALSE(Grid->SeriesShowsX(n - 2));
  EXPECT_FALSE(Grid->SeriesShowsX(n));
  EXPECT_EQ(Grid->CellText(n, 2), "5");
  EXPECT_EQ(Grid->CellText(n + 1, 2), "1");
}

TEST_F(ChartGridTest, TypedValuesGoIntoTheSeries) {
  auto* a = AddLine(*Chart, "A", {1, 2});
  AddLine(*Chart, "B", {4, 5, 6, 7, 8});
  Grid->SetShowColors(true);
  Grid->SetChart(Chart);
  int edits = 0;
  Grid->OnSetEditText = [&](TObject*, int, int, const std::string&) { ++edits; };
  // Beyond A's points: null points fill the gap, the typed one is real.
  TypeInto(3, 2 + 4, "7.25");
  ASSERT_EQ(a->Count(), 5);
  EXPECT_TRUE(a->PointIsNull(2));
  EXPECT_TRUE(a->PointIsNull(3));
  EXPECT_FALSE(a->PointIsNull(4));
  EXPECT_DOUBLE_EQ(a->YValues()->GetValue(4), 7.25);
  EXPECT_TRUE(a->ManualData);
  EXPECT_GE(edits, 1);

  // Clearing a cell and leaving it makes a null point, shown in the grid colour.
  TypeInto(3, 2 + 1, "");
  EXPECT_TRUE(a->PointIsNull(1));
  Grid->Repaint();
  const TRect colours = Grid->CellRect(1, 2 + 1);
  EXPECT_EQ(guitest::SurfacePixel(Grid, colours.Left + 5, colours.Top + 5), ColorToRGB(Grid->Color()));
  // A value typed into a null point makes it real again.
  TypeInto(3, 2 + 1, "3");
  EXPECT_FALSE(a->PointIsNull(1));

  // Labels go to every series shown.
  TypeInto(2, 2 + 0, "first");
  EXPECT_EQ(a->PointLabel(0), "first");
  EXPECT_EQ(Grid->CellText(2, 2), "first");
}

TEST_F(ChartGridTest, EscRestoresTheOldValueAndLeavesANewRowNull) {
  auto* a = AddLine(*Chart, "A", {1, 2, 3});
  Grid->SetSeries(a);
  Grid->SetFocus();
  Grid->SetCol(2);
  Grid->SetRow(2 + 1);
  guitest::Key(Grid, VK_F2);
  Grid->InplaceEditor()->SetText("99");
  guitest::Key(Grid->InplaceEditor(), VK_ESCAPE);
  EXPECT_FALSE(Grid->EditorMode());
  EXPECT_DOUBLE_EQ(a->YValues()->GetValue(1), 2);
  EXPECT_FALSE(a->PointIsNull(1));

  // Down on the last row appends a null point; Esc there keeps it null.
  Grid->SetRow(Grid->RowCount() - 1);
  guitest::Key(Grid, VK_DOWN);
  ASSERT_EQ(a->Count(), 4);
  EXPECT_EQ(Grid->Row(), Grid->RowCount() - 1);
  guitest::Key(Grid, VK_F2);
  Grid->InplaceEditor()->SetText("5");
  guitest::Key(Grid->InplaceEditor(), VK_ESCAPE);
  ASSERT_EQ(a->Count(), 4);
  EXPECT_TRUE(a->PointIsNull(3));
  // Up from that empty last row takes the row and its point away again.
  guitest::Key(Grid, VK_UP);
  EXPECT_EQ(a->Count(), 3);
  EXPECT_EQ(Grid->RowCount(), 2 + 3);
  // A last row that holds a value stays.
  guitest::Key(Grid, VK_UP);
  EXPECT_EQ(a->Count(), 3);
  EXPECT_EQ(Grid->Row(), 2 + 1);
}

TEST_F(ChartGridTest, ATextThatIsNoNumberIsRefusedWithAMessage) {
  auto* a = AddLine(*Chart, "A", {1, 2, 3});
  Grid->SetSeries(a);
  TDialogResponder answers;
  TypeInto(2, 2 + 1, "abc");
  ASSERT_EQ(answers.Count(), 1u);
  EXPECT_EQ(answers.Last().Text, "'abc' is not a valid floating point value");
  EXPECT_EQ(answers.Last().DlgType, mtError);
  EXPECT_EQ(a->Count(), 3);
  EXPECT_DOUBLE_EQ(a->YValues()->GetValue(1), 2);
  EXPECT_FALSE(a->PointIsNull(1));
  // Beyond the points nothing is appended for a refused text.
  Grid->SetRow(Grid->RowCount() - 1);
  guitest::Key(Grid, VK_DOWN);
  const int count = a->Count();
  TypeInto(2, Grid->RowCount() - 1, "1,2,3");
  EXPECT_EQ(a->Count(), count);
  EXPECT_EQ(answers.Count(), 2u);

  // Pasted text goes through the same check.
  Clipboard()->SetAsText("x7");
  Grid->SetCol(2);
  Grid->SetRow(2);
  guitest::Key(Grid, VK_F2);
  guitest::Key(Grid->InplaceEditor(), 'V', "", {ssCtrl});
  EXPECT_EQ(Grid->InplaceEditor()->Text(), "x7");
  guitest::Key(Grid->InplaceEditor(), VK_DOWN);
  EXPECT_EQ(answers.Count(), 3u);
  EXPECT_DOUBLE_EQ(a->YValues()->GetValue(0), 1);

  // A value the cell shows but cannot read back (thousands separators) is
  // left alone without a word.
  a->YValues()->SetValue(0, 12345);
  TypeInto(2, 2, Grid->CellText(2, 2));
  EXPECT_EQ(Grid->CellText(2, 2), "12,345");
  EXPECT_EQ(answers.Count(), 3u);
  EXPECT_DOUBLE_EQ(a->YValues()->GetValue(0), 12345);
}

TEST_F(ChartGridTest, RowsAreAppendedAndDeleted) {
  auto* a = AddLine(*Chart, "A", {10, 20, 30, 40});
  auto* b = AddLine(*Chart, "B", {1, 2});
  Grid->SetChart(Chart);
  // Insert: a null point at X = count in every series.
  guitest::Key(Grid, VK_INSERT);
  ASSERT_EQ(a->Count(), 5);
  ASSERT_EQ(b->Count(), 3);
  EXPECT_TRUE(a->PointIsNull(4));
  EXPECT_DOUBLE_EQ(b->XValues()->GetValue(2), 2);
  EXPECT_EQ(Grid->Row(), Grid->RowCount() - 1);

  // Deleting row 1 of series without an X column renumbers X from 0.
  Grid->SetRow(2 + 1);
  Grid->DeleteRow();
  ASSERT_EQ(a->Count(), 4);
  ASSERT_EQ(b->Count(), 2);
  for (int i = 0; i < 4; ++i) EXPECT_DOUBLE_EQ(a->XValues()->GetValue(i), i);
  EXPECT_DOUBLE_EQ(a->YValues()->GetValue(1), 30);
  EXPECT_DOUBLE_EQ(b->XValues()->GetValue(1), 1);

  // With the X column shown the X values stay as they are.
  Grid->SetShowXValues(cgsYes);
  Grid->SetRow(2);
  Grid->DeleteRow();
  EXPECT_DOUBLE_EQ(a->XValues()->GetValue(0), 1);
}

TEST_F(ChartGridTest, XYZModeShowsTheSeriesAsAMatrix) {
  auto* s = new TPoint3DSeries(Chart);
  s->SetParentChart(Chart);
  s->SetTitle("Surface");
  // X 1..3 across, Z 1..2 down.
  for (int z = 1; z <= 2; ++z)
    for (int x = 1; x <= 3; ++x) s->AddPoint3D(x, 10 * z + x, z);
  Grid->SetShowColors(true);
  Grid->SetChart(Chart);
  Grid->SetGrid3D(true);
  EXPECT_EQ(Grid->ColCount(), 4);
  EXPECT_EQ(Grid->RowCount(), 4);
  EXPECT_FALSE(Grid->ShowLabels());
  EXPECT_FALSE(Grid->ShowColors());
  EXPECT_EQ(Grid->CellText(3, 2), "13");
  EXPECT_EQ(Grid->CellText(1, 3), "21");
  EXPECT_EQ(Grid->CellText(0, 3), "2");
  EXPECT_EQ(Grid->CellText(2, 1), "2");
  EXPECT_EQ(Grid->CellText(1, 0), "Surface");
  TypeInto(2, 3, "-4");
  EXPECT_DOUBLE_EQ(s->YValues()->GetValue(4), -4);
}

TEST_F(ChartGridTest, TheGridFollowsTheChart) {
  auto* a = AddLine(*Chart, "A", {1});
  Grid->SetChart(Chart);
  EXPECT_EQ(Grid->ColCount(), 3);
  auto* b = AddLine(*Chart, "B", {1, 2, 3});
  EXPECT_EQ(Grid->ColCount(), 4);
  b->AddSingleValue(4);
  b->NotifyDataChanged();
  EXPECT_EQ(Grid->RowCount(), 2 + 4);
  delete b;
  EXPECT_EQ(Grid->ColCount(), 3);
  EXPECT_EQ(Grid->RowCount(), 2 + 1);
  // A grid bound to one series forgets it when it goes, and the chart too.
  Grid->SetSeries(a);
  EXPECT_EQ(Grid->Chart(), nullptr);
  delete a;
  EXPECT_EQ(Grid->Series(), nullptr);
  EXPECT_EQ(Grid->ColCount(), 1);
  Grid->SetChart(Chart);
  delete Chart;
  Chart = nullptr;
  EXPECT_EQ(Grid->Chart(), nullptr);
}

TEST_F(ChartGridTest, TheNavigatorMovesAndEditsThroughTheGrid) {
  auto* a = AddLine(*Chart, "A", {1, 2, 3});
  Grid->SetChart(Chart);
  auto* nav = new TChartGridNavigator(Form.get());
  nav->SetParent(Form.get());
  nav->SetGrid(Grid);
  Grid->SetCol(2);
  Grid->SetRow(2);
  nav->EnableButtons();
  struct TState {
    TGrafNavigateBtn Button;
    bool Enabled;
  };
  auto expect = [&](std::initializer_list<TState> states, const char* when) {
    for (const TState& s : states) EXPECT_EQ(nav->Buttons(s.Button)->Enabled(), s.Enabled) << when << " " << s.Button;
  };
  expect({{nbFirst, false}, {nbPrior, false}, {nbNext, true}, {nbLast, true}, {nbInsert, true}, {nbDelete, true},
          {nbEdit, true}, {nbPost, false}, {nbCancel, false}},
         "first row");
  nav->Buttons(nbLast)->Click();
  EXPECT_EQ(Grid->Row(), 4);
  expect({{nbFirst, true}, {nbNext, false}}, "last row");
  nav->Buttons(nbEdit)->Click();
  EXPECT_TRUE(Grid->EditorMode());
  expect({{nbPost, true}, {nbCancel, true}, {nbInsert, false}}, "editing");
  Grid->InplaceEditor()->SetText("8");
  nav->Buttons(nbPost)->Click();
  EXPECT_DOUBLE_EQ(a->YValues()->GetValue(2), 8);
  expect({{nbPost, false}, {nbInsert, true}}, "posted");
  // An edit begun by typing and ended with Enter keeps the buttons in step.
  Grid->SetFocus();
  guitest::Key(Grid, '5', "5");
  ASSERT_TRUE(Grid->EditorShown());
  expect({{nbPost, true}, {nbCancel, true}}, "typing");
  guitest::Key(Grid->InplaceEditor(), VK_RETURN, "\r");
  expect({{nbPost, false}, {nbCancel, false}, {nbInsert, true}}, "entered");
  EXPECT_DOUBLE_EQ(a->YValues()->GetValue(2), 5);
  nav->Buttons(nbDelete)->Click();
  EXPECT_EQ(a->Count(), 2);
  // Freeing the grid leaves the navigator without one.
  delete Grid;
  Grid = nullptr;
  EXPECT_EQ(nav->Grid(), nullptr);
  expect({{nbInsert, false}, {nbNext, false}}, "no grid");
}

}  // namespace
