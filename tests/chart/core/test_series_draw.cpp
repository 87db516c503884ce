// What the paint cycle asks of a series: visible range, drawing direction,
// axes, legend symbols, gallery preview and the mouse over points.
#include <gtest/gtest.h>

#include "chart/core/testseries.h"

namespace {

struct TRangeScene {
  TRangeScene() {
    chart = std::make_unique<TTestChart>(nullptr, 400, 250);
    chart->SetView3D(false);
    series = new TTestSeries(chart.get());
    series->SetName("S");
    series->SetParentChart(chart.get());
    for (int i = 0; i < 10; ++i) series->AddXYPoint(i, i);
    chart->BottomAxis()->SetRange(2.5, 6.5);
    chart->Pass();
  }
  std::unique_ptr<TTestChart> chart;
  TTestSeries* series;
};

TEST(SeriesDrawing, VisibleRangeFollowsTheAxis) {
  TRangeScene s;
  s.series->FindVisibleRange();
  EXPECT_EQ(s.series->FirstVisible, 3);
  EXPECT_EQ(s.series->LastVisible, 6);
  s.series->IncludePointAfterRange = true;
  s.series->FindVisibleRange();
  EXPECT_EQ(s.series->LastVisible, 7);
  s.series->XValues()->SetOrder(loNone);
  s.series->FindVisibleRange();
  EXPECT_EQ(s.series->FirstVisible, 0);
  EXPECT_EQ(s.series->LastVisible, 9);
  s.series->XValues()->SetOrder(loAscending);
  s.series->CalcVisibleRange = false;
  s.series->FindVisibleRange();
  EXPECT_EQ(s.series->LastVisible, 9);
  s.series->RemoveAllPoints();
  EXPECT_EQ(s.series->FirstVisible, -1);
}

TEST(SeriesDrawing, InvertedAxisDrawsDescending) {
  TRangeScene s;
  TTestSeries::DrawnLog().clear();
  s.chart->Pass();
  EXPECT_EQ(TTestSeries::DrawnLog(), (std::vector<std::string>{"S:3", "S:4", "S:5", "S:6"}));
  s.chart->BottomAxis()->SetInverted(true);
  TTestSeries::DrawnLog().clear();
  s.chart->Pass();
  EXPECT_EQ(TTestSeries::DrawnLog(), (std::vector<std::string>{"S:6", "S:5", "S:4", "S:3"}));
}

TEST(SeriesDrawing, AxesInUseAndValuesForAxes) {
  TTestChart chart;
  auto* s = new TTestSeries(&chart);
  s->SetParentChart(&chart);
  EXPECT_EQ(s->GetHorizAxis(), chart.BottomAxis());
  EXPECT_EQ(s->ValuesForAxis(chart.BottomAxis()), s->XValues());
  EXPECT_EQ(s->ValuesForAxis(chart.LeftAxis()), s->YValues());
  EXPECT_EQ(s->ValuesForAxis(chart.TopAxis()), nullptr);
  s->SetHorizAxis(aTopAxis);
  EXPECT_EQ(s->GetHorizAxis(), chart.TopAxis());
  s->SetHorizAxis(aBothHorizAxis);
  EXPECT_TRUE(s->IsOnAxis(chart.TopAxis()));
  EXPECT_TRUE(s->IsOnAxis(chart.BottomAxis()));
  s->AxisLess = true;
  EXPECT_FALSE(s->IsOnAxis(chart.BottomAxis()));
  std::vector<std::string> styles;
  s->EnumGalleryStyles([&](const std::string& name) { styles.push_back(name); });
  EXPECT_EQ(styles, std::vector<std::string>{"Normal"});
}

TEST(SeriesDrawing, LegendItemsInThePointColour) {
  TTestChart chart;
  auto* s = new TTestSeries(&chart);
  s->SetParentChart(&chart);
  s->AddXYPoint(0, 1, "", clRed);
  s->AddXYPoint(1, 2, "", clNone);
  chart.Rec->Clear();
  s->PaintLegendItem(0, Rect(10, 10, 30, 20));
  ASSERT_EQ(chart.Rec->Count("Rectangle", 0), 1);
  EXPECT_EQ(chart.Rec->CallsOf("Rectangle", 0)[0].BrushColor, clRed);
  chart.Rec->Clear();
  s->PaintLegendItem(1, Rect(10, 10, 30, 20));  // a null point draws nothing
  EXPECT_EQ(chart.Rec->Count("Rectangle", 0), 0);
  s->SetColorEachPoint(true);
  s->PaintLegendItem(-1, Rect(10, 10, 30, 20));
  EXPECT_EQ(chart.Rec->Count("Rectangle", 0), 0);
  EXPECT_TRUE(chart.RepaintOnChange);  // restored
}

TEST(SeriesDrawing, GalleryPreview) {
  TTestChart chart;
  auto* a = new TTestSeries(&chart);
  auto* b = new TTestSeries(&chart);
  a->SetParentChart(&chart);
  b->SetParentChart(&chart);
  RandomSampleDataAtRunTime = false;
  a->SetupGalleryPreview(true);
  b->SetupGalleryPreview(false);
  EXPECT_EQ(a->PointCount(), 4);
  EXPECT_FALSE(a->Marks()->Visible());
  EXPECT_EQ(a->Marks()->DrawEvery(), 2);
  EXPECT_EQ(a->Marks()->Callout()->Length(), 4);
  EXPECT_EQ(a->SeriesColor(), chart.PaletteColor(0));
  EXPECT_EQ(b->SeriesColor(), clSilver);
}

TEST(SeriesDrawing, MouseOverPointsSetsTheCursorAndFiresEnterAndLeave) {
  TRangeScene s;
  int enters = 0, leaves = 0;
  s.series->OnMouseEnter = [&](TObject*) { ++enters; };
  s.series->OnMouseLeave = [&](TObject*) { ++leaves; };
  s.series->SetCursor(crHandPoint);
  const int x = s.series->PointXPixel(4), y = s.series->PointYPixel(4);
  EXPECT_TRUE(s.chart->CheckMouseOverSeries(x, y));
  EXPECT_TRUE(s.chart->CheckMouseOverSeries(x + 1, y));
  EXPECT_EQ(enters, 1);
  EXPECT_EQ(s.chart->Cursor(), crHandPoint);
  EXPECT_FALSE(s.chart->CheckMouseOverSeries(2, 2));
  EXPECT_EQ(leaves, 1);
}

}  // namespace
