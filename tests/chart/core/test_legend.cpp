// The legend: what it lists, paging, check boxes and radio buttons, layouts,
// the row under a point, and the legend texts series compose.
#include <gtest/gtest.h>

#include "chart/core/testseries.h"

namespace {

TTestSeries* AddSeries(TCustomChart& chart, const std::string& name, int points, double start = 0) {
  auto* s = new TTestSeries(&chart);
  s->SetName(name);
  s->SetTitle(name);
  s->SetParentChart(&chart);
  for (int i = 0; i < points; ++i) s->AddXYPoint(start + i, 10 + i);
  return s;
}

std::vector<std::string> LegendTexts(TTestChart& chart) {
  std::vector<std::string> texts;
  const TRect legend = chart.Legend()->ShapeBox;
  for (const TCanvasCall& c : chart.Rec->CallsAt(0))
    if (c.Op == "TextOut" && c.Args.size() >= 2 && c.Arg(0) >= legend.Left && c.Arg(0) <= legend.Right &&
        c.Arg(1) >= legend.Top && c.Arg(1) <= legend.Bottom)
      texts.push_back(c.Text);
  return texts;
}

TEST(Legend, ListsValuesForOneActiveSeriesAndSeriesForSeveral) {
  TTestChart chart(nullptr, 500, 300);
  auto* a = AddSeries(chart, "Alpha", 3);
  chart.Pass();
  EXPECT_EQ(chart.Legend()->ResolvedStyle, lsValues);
  EXPECT_EQ(chart.Legend()->TotalRows, 3);
  EXPECT_EQ(LegendTexts(chart), (std::vector<std::string>{"10", "11", "12"}));
  AddSeries(chart, "Beta", 2);
  chart.Rec->Clear();
  chart.Pass();
  EXPECT_EQ(chart.Legend()->ResolvedStyle, lsSeries);
  EXPECT_EQ(LegendTexts(chart), (std::vector<std::string>{"Alpha", "Beta"}));
  a->SetActive(false);
  chart.Rec->Clear();
  chart.Pass();
  EXPECT_EQ(chart.Legend()->ResolvedStyle, lsValues);
  EXPECT_EQ(LegendTexts(chart), (std::vector<std::string>{"10", "11"}));
}

TEST(Legend, ValueRowsInTwoColumns) {
  TTestChart chart(nullptr, 500, 300);
  auto* s = AddSeries(chart, "S", 0);
  s->AddXYPoint(0, 5, "Jan");
  s->AddXYPoint(1, 7, "");
  chart.Pass();
  std::vector<TCanvasCall> calls;
  for (const TCanvasCall& c : chart.Rec->CallsOf("TextOut", 0))
    if (c.Text == "5" || c.Text == "Jan" || c.Text == "7") calls.push_back(c);
  ASSERT_EQ(calls.size(), 3u);
  EXPECT_EQ(calls[0].Text, "5");
  EXPECT_EQ(calls[0].TextAlign & TA_RIGHT, TA_RIGHT);  // the value column is right-aligned
  EXPECT_EQ(calls[1].Text, "Jan");
  EXPECT_EQ(calls[1].TextAlign & TA_CENTER, 0u);  // the label column is left-aligned
  EXPECT_GT(calls[1].Arg(0), calls[0].Arg(0));
  EXPECT_EQ(calls[0].Arg(0), calls[2].Arg(0));  // right edges line up
}

TEST(Legend, FirstValueMustNotBeNegative) {
  TTestChart chart;
  try {
    chart.Legend()->SetFirstValue(-1);
    FAIL();
  } catch (const LegendException& e) {
    EXPECT_STREQ(e.what(), "First Legend Value must be > 0");
  }
  chart.Legend()->SetFirstValue(0);
  EXPECT_EQ(chart.Legend()->FirstValue(), 0);
}

TEST(Legend, PagedValuesListOnlyTheCurrentPage) {
  TTestChart chart(nullptr, 500, 400);
  AddSeries(chart, "S", 25);
  chart.SetMaxPointsPerPage(10);
  EXPECT_EQ(chart.PageCount(), 3);
  chart.SetPage(3);
  chart.Pass();
  EXPECT_EQ(chart.Legend()->FirstValue(), 20);
  EXPECT_EQ(chart.Legend()->LastRow, 24);
  EXPECT_EQ(LegendTexts(chart), (std::vector<std::string>{"30", "31", "32", "33", "34"}));
  chart.Legend()->SetCurrentPage(false);
  chart.Legend()->SetFirstValue(0);
  chart.Rec->Clear();
  chart.Pass();
  EXPECT_EQ(chart.Legend()->FirstValue(), 0);
  EXPECT_EQ(LegendTexts(chart).front(), "10");
}

TEST(Legend, VerticalAndHorizontalLayoutsListWhatFits) {
  TTestChart chart(nullptr, 400, 160);
  AddSeries(chart, "S", 40);
  chart.Pass();
  TCustomChartLegend* legend = chart.Legend();
  EXPECT_EQ(legend->TotalRows, 40);
  EXPECT_LT(legend->LastRow - legend->FirstValue() + 1, 40);
  EXPECT_EQ(static_cast<int>(LegendTexts(chart).size()), legend->LastRow - legend->FirstValue() + 1);
  legend->SetAlignment(laBottom);
  legend->SetMaxNumRows(2);
  chart.Rec->Clear();
  chart.Pass();
  EXPECT_GT(legend->Columns, 1);
  EXPECT_EQ(legend->Rows, 2);
  EXPECT_EQ(legend->LastRow + 1, legend->Columns * 2);
}

TEST(Legend, EachRowShowsItsOwnTextWhenStartingLater) {
  TTestChart chart(nullptr, 500, 200);
  auto* s = AddSeries(chart, "S", 12);
  chart.Legend()->SetAlignment(laBottom);
  chart.Legend()->SetFirstValue(5);
  chart.Pass();
  TCustomChartLegend* legend = chart.Legend();
  ASSERT_GE(legend->LastRow, 5);
  for (int row = legend->FirstValue(); row <= legend->LastRow; ++row) {
    TLegendItem* item = legend->Items()->ItemAt(row - legend->FirstValue());
    EXPECT_EQ(item->Text(), std::to_string(10 + row)) << row;
    EXPECT_LT(item->SymbolRect.Right, item->Left + 1) << row;  // symbol left of the right-aligned text end
  }
  (void)s;
}

TEST(Legend, CheckBoxesToggleAndRadioButtonsSelectOne) {
  TTestChart chart(nullptr, 500, 300);
  auto* a = AddSeries(chart, "A", 2);
  auto* b = AddSeries(chart, "B", 2);
  auto* c = AddSeries(chart, "C", 2);
  TCustomChartLegend* legend = chart.Legend();
  legend->SetCheckBoxes(true);
  chart.Pass();
  EXPECT_TRUE(legend->CheckBoxesShown());
  EXPECT_TRUE(legend->HandleRowClick(0, 0, 1));
  EXPECT_FALSE(b->Active());
  EXPECT_TRUE(legend->HandleRowClick(0, 0, 1));
  EXPECT_TRUE(b->Active());
  legend->SetCheckBoxesStyle(cbsRadio);  // only the first active one stays
  EXPECT_TRUE(a->Active());
  EXPECT_FALSE(b->Active());
  EXPECT_FALSE(c->Active());
  legend->HandleRowClick(0, 0, 2);
  EXPECT_FALSE(a->Active());
  EXPECT_FALSE(b->Active());
  EXPECT_TRUE(c->Active());
  // Explicit value style: no check boxes, no toggling.
  legend->SetLegendStyle(lsValues);
  EXPECT_FALSE(legend->CheckBoxesShown());
  EXPECT_FALSE(legend->HandleRowClick(0, 0, 0));
  EXPECT_TRUE(c->Active());
}

TEST(Legend, RowAtPointInBothLayouts) {
  TTestChart chart(nullptr, 500, 300);
  AddSeries(chart, "A", 2);
  AddSeries(chart, "B", 2);
  AddSeries(chart, "C", 2);
  chart.Pass();
  TCustomChartLegend* legend = chart.Legend();
  const int h = legend->ItemHeight();
  const int top = legend->FirstRowTop();
  const int x = (legend->ShapeBox.Left + legend->ShapeBox.Right) / 2;
  EXPECT_EQ(legend->RowAtPoint(x, top + 2), 0);
  EXPECT_EQ(legend->RowAtPoint(x, top + h + 3), 1);
  EXPECT_EQ(legend->RowAtPoint(x, legend->ShapeBox.Bottom), -1);  // below the last row
  EXPECT_EQ(legend->RowAtPoint(legend->ShapeBox.Left - 5, top + 2), -1);
  legend->SetInverted(true);
  EXPECT_EQ(legend->RowAtPoint(x, top + 2), 2);
  legend->SetInverted(false);
  legend->SetAlignment(laBottom);
  chart.Pass();
  ASSERT_EQ(legend->Rows, 1);
  const int colW = legend->ShapeBox.Width() / legend->Columns;
  const int y = legend->FirstRowTop() + 3;
  EXPECT_EQ(legend->RowAtPoint(legend->ShapeBox.Left + colW + colW / 2, y), 1);
  EXPECT_EQ(legend->RowAtPoint(legend->ShapeBox.Left + 3, legend->ShapeBox.Bottom), -1);
}

TEST(Legend, TakesItsRoomOffTheChartRectangle) {
  TTestChart chart(nullptr, 500, 300);
  AddSeries(chart, "A", 3);
  chart.Pass();
  const int withLegend = chart.ChartArea.Right;
  EXPECT_LT(withLegend, chart.Legend()->ShapeBox.Left);
  chart.Legend()->SetResizeChart(false);
  chart.Pass();
  EXPECT_GT(chart.ChartArea.Right, withLegend);
  chart.Legend()->SetVisible(false);
  chart.Pass();
  EXPECT_FALSE(chart.Legend()->IsShown());
}

TEST(LegendTexts, ComposedByStyle) {
  TTestSeries s;
  s.AddXYPoint(1, 0, "");
  s.AddXYPoint(2, 0, "b");
  const char sep = LegendColumnSeparator;
  struct Case {
    TLegendTextStyle style;
    int index;
    std::string text;
  };
  const Case cases[] = {
      {ltsPlain, 1, "b"},
      {ltsLeftValue, 1, std::string("0") + sep + "b"},
      {ltsRightValue, 0, "0"},
      {ltsRightValue, 1, std::string("b") + sep + "0"},
      {ltsPercent, 0, "100 %"},  // all values 0
      {ltsXValue, 1, "2"},
      {ltsXAndValue, 1, std::string("2") + sep + "0"},
  };
  for (const Case& c : cases) EXPECT_EQ(s.ComposeLegendText(c.index, c.style), c.text) << c.style;
  s.YValues()->SetValue(0, 1);
  s.YValues()->SetValue(1, 3);
  EXPECT_EQ(s.ComposeLegendText(1, ltsRightPercent), std::string("b") + sep + "75 %");
}

TEST(LegendTexts, GetLegendTextEventHasTheLastWord) {
  TTestChart chart(nullptr, 500, 300);
  AddSeries(chart, "A", 2);
  chart.OnGetLegendText = [](TCustomAxisPanel*, TLegendStyle style, int index, std::string& text) {
    if (style == lsValues) text = "row" + std::to_string(index);
  };
  chart.Pass();
  EXPECT_EQ(LegendTexts(chart), (std::vector<std::string>{"row0", "row1"}));
}

}  // namespace
