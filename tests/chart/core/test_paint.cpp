// The paint cycle: tool events, depth slots and 3D depth, the order series
// and their points are painted in, clipping.
#include <gtest/gtest.h>

#include "chart/core/testseries.h"

namespace {

TTestSeries* AddSeries(TCustomChart& chart, const std::string& name, std::vector<std::pair<double, double>> points) {
  auto* s = new TTestSeries(&chart);
  s->SetName(name);
  s->SetParentChart(&chart);
  for (auto [x, y] : points) s->AddXYPoint(x, y);
  return s;
}

TEST(PaintCycle, ToolEventsInBothAxisOrders) {
  struct Case {
    bool behind;
    std::vector<int> events;
  };
  const Case cases[] = {{true, {2, 3, 1, 4, 0}}, {false, {2, 1, 4, 3, 0}}};
  for (const Case& c : cases) {
    TTestChart chart;
    auto* tool = new TRecordingTool(&chart);
    chart.Tools()->AddTool(tool);
    chart.SetAxisBehind(c.behind);
    chart.Pass();
    EXPECT_EQ(tool->ChartEvents, c.events) << c.behind;
  }
}

TEST(PaintCycle, InactiveToolsHearNothing) {
  TTestChart chart;
  auto* tool = new TRecordingTool(&chart);
  chart.Tools()->AddTool(tool);
  tool->SetActive(false);
  chart.Pass();
  EXPECT_TRUE(tool->ChartEvents.empty());
}

TEST(PaintCycle, DepthSlotsIn2DAnd3D) {
  TTestChart chart;
  auto* a = AddSeries(chart, "A", {{0, 1}});
  auto* b = AddSeries(chart, "B", {{0, 2}});
  chart.SetView3D(false);
  chart.Pass();
  EXPECT_EQ(a->AutoZOrder, 0);
  EXPECT_EQ(b->AutoZOrder, 0);
  EXPECT_EQ(chart.DepthWidth(), 0);
  EXPECT_EQ(chart.DepthHeight(), 0);
  chart.SetView3D(true);
  chart.Pass();
  EXPECT_EQ(chart.MaxZOrder, 1);
  // Slots 0 and 1 in list order, then reversed so the list's first stands apart.
  EXPECT_EQ(a->AutoZOrder, 1);
  EXPECT_EQ(b->AutoZOrder, 0);
  EXPECT_EQ(a->StartZ, chart.SeriesWidth3D);
  EXPECT_EQ(b->EndZ, chart.SeriesWidth3D);
  EXPECT_EQ(chart.DepthWidth(), 2 * chart.SeriesWidth3D);
  chart.DepthAxis()->SetInverted(true);
  chart.Pass();
  EXPECT_EQ(a->AutoZOrder, 0);  // left unreversed
  EXPECT_EQ(b->AutoZOrder, 1);
}

TEST(PaintCycle, ThreeDDepthFromThePercent) {
  TTestChart chart;
  chart.ChartArea = Rect(0, 0, 400, 200);
  chart.NormalizeChartRect();
  chart.MaxZOrder = 0;
  chart.Compute3DDepth();
  EXPECT_EQ(chart.SeriesWidth3D, 6);
  EXPECT_EQ(chart.DepthWidth(), 6);
  EXPECT_EQ(chart.SeriesHeight3D, 6);
  chart.View3DOptions()->SetOrthogonal(false);
  chart.Compute3DDepth();
  EXPECT_EQ(chart.SeriesWidth3D, 12);
  chart.SetView3D(false);
  chart.SetChart3DPercent(80);
  chart.Compute3DDepth();
  EXPECT_EQ(chart.DepthWidth(), 0);
  EXPECT_THROW(chart.SetChart3DPercent(0), Exception);
  EXPECT_THROW(chart.SetChart3DPercent(101), Exception);
  EXPECT_EQ(chart.Chart3DPercent(), 80);
}

TEST(PaintCycle, DepthPositionsOfASeries) {
  TTestChart chart;
  auto* s = AddSeries(chart, "S", {});
  chart.SeriesWidth3D = 10;
  s->AutoZOrder = 2;
  s->PlaceInDepth();
  EXPECT_EQ(s->StartZ, 20);
  EXPECT_EQ(s->EndZ, 30);
  EXPECT_EQ(s->MiddleZ, 25);
  EXPECT_EQ(s->Marks()->ZPosition, 25);
  s->SetDepth(4);
  s->PlaceInDepth();
  EXPECT_EQ(s->EndZ, 24);
}

TEST(PaintCycle, SeriesSharingADepthSlotAreInterleavedPointByPoint) {
  TTestChart chart;
  auto* a = AddSeries(chart, "A", {{0, 1}, {1, 2}, {2, 3}});
  auto* b = AddSeries(chart, "B", {{0, 4}, {1, 5}, {2, 6}});
  a->SetZOrder(0);
  b->SetZOrder(0);
  for (TTestSeries* s : {a, b}) {
    s->Marks()->SetVisible(true);
    s->OnGetMarkText = [](TChartSeries* sender, int i, std::string&) {
      TTestSeries::DrawnLog().push_back("mark " + sender->Name() + ":" + std::to_string(i));
    };
  }
  TTestSeries::DrawnLog().clear();
  chart.Pass();
  const std::vector<std::string> expected = {"A:0", "B:0", "A:1", "B:1", "A:2", "B:2",
                                             "mark A:0", "mark A:1", "mark A:2", "mark B:0", "mark B:1", "mark B:2"};
  EXPECT_EQ(TTestSeries::DrawnLog(), expected);
  // In 2D each series is painted on its own.
  chart.SetView3D(false);
  TTestSeries::DrawnLog().clear();
  chart.Pass();
  EXPECT_EQ(TTestSeries::DrawnLog().front(), "A:0");
  EXPECT_EQ(TTestSeries::DrawnLog()[3], "mark A:0");
  EXPECT_EQ(TTestSeries::DrawnLog()[6], "B:0");
}

TEST(PaintCycle, InvertedDepthAxisReversesTheSeriesOrder) {
  TTestChart chart;
  AddSeries(chart, "A", {{0, 1}});
  AddSeries(chart, "B", {{0, 2}});
  TTestSeries::DrawnLog().clear();
  chart.Pass();
  EXPECT_EQ(TTestSeries::DrawnLog(), (std::vector<std::string>{"A:0", "B:0"}));
  chart.DepthAxis()->SetInverted(true);
  TTestSeries::DrawnLog().clear();
  chart.Pass();
  EXPECT_EQ(TTestSeries::DrawnLog(), (std::vector<std::string>{"B:0", "A:0"}));
}

TEST(PaintCycle, ClippingOfPointsAndMarks) {
  TTestChart chart;
  chart.SetView3D(false);
  auto* s = AddSeries(chart, "S", {{0, 1}, {1, 2}});
  chart.Pass();
  EXPECT_EQ(chart.Rec->Count("ClipCube", 0), 1);
  chart.SetClipPoints(false);
  chart.Rec->Clear();
  chart.Pass();
  EXPECT_EQ(chart.Rec->Count("ClipCube", 0), 0);
  s->Marks()->SetVisible(true);
  s->Marks()->SetClip(true);
  chart.Rec->Clear();
  chart.Pass();
  EXPECT_EQ(chart.Rec->Count("ClipCube", 0), 1);
  EXPECT_EQ(chart.Rec->Count("RemoveClipRegion", 0), 1);
}

TEST(PaintCycle, NoActiveSeriesStillDrawsWallsAndAxes) {
  TTestChart chart;
  chart.SetView3D(false);
  auto* s = AddSeries(chart, "S", {{0, 1}});
  s->SetActive(false);
  chart.Pass();
  EXPECT_TRUE(chart.BottomAxis()->ShownNow);
  EXPECT_TRUE(chart.LeftAxis()->ShownNow);
  EXPECT_FALSE(chart.DepthAxis()->ShownNow);
  EXPECT_GT(chart.Rec->Count("Rectangle", 0), 0);  // the back wall
}

TEST(PaintCycle, AxisLessSeriesHidesTheAxesAndWalls) {
  TTestChart chart;
  auto* pie = AddSeries(chart, "P", {{0, 1}});
  pie->AxisLess = true;
  AddSeries(chart, "S", {{0, 1}});
  chart.Pass();
  EXPECT_FALSE(chart.BottomAxis()->ShownNow);
  EXPECT_FALSE(chart.LeftAxis()->ShownNow);
  EXPECT_FALSE(chart.SeriesUseAxes() == false);  // one active series still uses axes
  pie->SetActive(true);
  chart.SeriesList()->ItemAt(1)->SetActive(false);
  chart.Rec->Clear();
  chart.Pass();
  EXPECT_FALSE(chart.SeriesUseAxes());
  EXPECT_EQ(chart.Rec->Count("RectangleY", 0), 0);  // no bottom wall
  EXPECT_EQ(chart.Rec->Count("RectangleZ", 0), 0);  // no left wall
}

}  // namespace

namespace {

TEST(PaintCycle, RotatedViewsPaintEachWallOnceBeforeOrAfterTheSeries) {
  for (int rotation : {0, 20, 90, 180, 200, 300, 345}) {
    TTestChart chart;
    chart.View3DOptions()->SetOrthogonal(false);
    chart.View3DOptions()->SetRotation(rotation);
    chart.View3DOptions()->SetElevation(340);
    chart.Walls()->Right()->SetVisible(true);
    chart.Walls()->Back()->SetTransparent(false);
    AddSeries(chart, "S", {{0, 1}, {1, 3}})->Pointer()->SetDraw3D(false);
    chart.Pass();
    int left = 0, right = 0;
    for (const TCanvasCall& c : chart.Rec->CallsOf("RectangleZ", 0)) {
      if (c.Arg(0) == chart.ChartArea.Left) ++left;
      if (c.Arg(0) == chart.ChartArea.Right) ++right;
    }
    EXPECT_EQ(left, 1) << rotation;
    EXPECT_EQ(right, 1) << rotation;
    EXPECT_EQ(chart.Rec->Count("RectangleWithZ", 0) - 2 /* the two points */, 1) << rotation;  // back wall
  }
}

}  // namespace
