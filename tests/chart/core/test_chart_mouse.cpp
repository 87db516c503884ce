// Mouse input on an offscreen chart through the window system: zooming by a
// dragged rectangle, undoing it, panning, the wheel, clicks on points and
// tools that take the mouse first.
#include <gtest/gtest.h>

#include "chart/core/testseries.h"
#include "support/gui/guitest.h"

namespace {

struct TMouseChart {
  TMouseChart() {
    chart = std::make_unique<TTestChart>(nullptr, 400, 300);
    chart->SetView3D(false);
    chart->Legend()->SetVisible(false);
    series = new TTestSeries(chart.get());
    series->SetName("S");
    series->SetParentChart(chart.get());
    for (int i = 0; i <= 10; ++i) series->AddXYPoint(i, i * 10);
    chart->Pass();
  }
  TPoint Middle() const { return {chart->ChartAreaCenterX - 40, chart->ChartAreaCenterY - 40}; }
  std::unique_ptr<TTestChart> chart;
  TTestSeries* series;
};

void DragBy(TControl* c, TMouseButton button, TPoint from, int dx, int dy) {
  guitest::MouseDown(c, button, from.X, from.Y);
  guitest::MouseMove(c, from.X + dx / 2, from.Y + dy / 2);
  guitest::MouseMove(c, from.X + dx, from.Y + dy);
  guitest::MouseUp(c, button, from.X + dx, from.Y + dy);
}

TEST(ChartMouse, ADragLongerThanTheMinimumZooms) {
  TMouseChart m;
  TChartAxis* bottom = m.chart->BottomAxis();
  const TPoint p = m.Middle();
  DragBy(m.chart.get(), mbLeft, p, 16, 16);  // exactly the minimum: nothing
  EXPECT_FALSE(m.chart->ZoomedIn);
  EXPECT_TRUE(bottom->Automatic());
  int zooms = 0;
  m.chart->OnZoom = [&](TObject*) { ++zooms; };
  const double lo = bottom->PixelToValue(p.X), hi = bottom->PixelToValue(p.X + 17);
  DragBy(m.chart.get(), mbLeft, p, 17, 17);
  EXPECT_TRUE(m.chart->ZoomedIn);
  EXPECT_EQ(zooms, 1);
  EXPECT_FALSE(bottom->Automatic());
  EXPECT_NEAR(bottom->Minimum(), lo, 1e-9);
  EXPECT_NEAR(bottom->Maximum(), hi, 1e-9);
  EXPECT_FALSE(m.chart->Zoom()->Active);
}

TEST(ChartMouse, ADragToTheLeftUndoesZoomsToTheFirstSavedScales) {
  TMouseChart m;
  TChartAxis* left = m.chart->LeftAxis();
  const double autoMax = left->Maximum();
  DragBy(m.chart.get(), mbLeft, m.Middle(), 40, 40);
  m.chart->Pass();
  DragBy(m.chart.get(), mbLeft, m.Middle(), 30, 30);  // a second zoom saves nothing new
  m.chart->Pass();
  EXPECT_FALSE(left->Automatic());
  int undos = 0;
  m.chart->OnUndoZoom = [&](TObject*) { ++undos; };
  DragBy(m.chart.get(), mbLeft, m.Middle(), -40, -40);
  EXPECT_EQ(undos, 1);
  EXPECT_FALSE(m.chart->ZoomedIn);
  EXPECT_TRUE(left->Automatic());
  EXPECT_TRUE(m.chart->ScalesRestored());
  m.chart->Pass();
  EXPECT_EQ(left->Maximum(), autoMax);
}

TEST(ChartMouse, RightButtonPansOnlyTheAllowedAxes) {
  TMouseChart m;
  TChartAxis* bottom = m.chart->BottomAxis();
  TChartAxis* left = m.chart->LeftAxis();
  m.chart->SetAllowPanning(pmHorizontal);
  const double bottomMin = bottom->Minimum(), leftMin = left->Minimum();
  const double perPixel = (bottom->WorkMaximum - bottom->WorkMinimum) / bottom->AxisLength;
  int scrolls = 0;
  m.chart->OnScroll = [&](TObject*) { ++scrolls; };
  DragBy(m.chart.get(), mbRight, m.Middle(), 20, 20);
  EXPECT_GT(scrolls, 0);
  EXPECT_NEAR(bottom->Minimum(), bottomMin - 20 * perPixel, 1e-9);
  EXPECT_EQ(left->Minimum(), leftMin);
  EXPECT_TRUE(left->Automatic());
  EXPECT_FALSE(m.chart->PanningState.Active);
  // A handler may refuse an axis.
  m.chart->Pass();
  m.chart->SetAllowPanning(pmBoth);
  m.chart->OnAllowScroll = [&](TChartAxis* axis, double&, double&, bool& allow) { allow = axis != left; };
  const double before = left->Minimum();
  DragBy(m.chart.get(), mbRight, m.Middle(), 0, 25);
  EXPECT_EQ(left->Minimum(), before);
  // An allowed direction counts as a scroll even when every axis refuses.
  m.chart->Pass();
  m.chart->SetAllowPanning(pmVertical);
  m.chart->OnAllowScroll = [&](TChartAxis*, double&, double&, bool& allow) { allow = false; };
  scrolls = 0;
  DragBy(m.chart.get(), mbRight, m.Middle(), 0, 25);
  EXPECT_EQ(left->Minimum(), before);
  EXPECT_GT(scrolls, 0);
}

TEST(ChartMouse, WheelShiftsVerticalAxesByThreePercent) {
  TMouseChart m;
  TChartAxis* left = m.chart->LeftAxis();
  const double lo = left->Minimum(), hi = left->Maximum();
  const double bottomLo = m.chart->BottomAxis()->Minimum();
  const TPoint p = m.Middle();
  guitest::Wheel(m.chart.get(), -1, p.X, p.Y);  // towards the user: wheel down
  EXPECT_NEAR(left->Minimum(), lo + 0.03 * (hi - lo), 1e-9);
  EXPECT_NEAR(left->Maximum(), hi + 0.03 * (hi - lo), 1e-9);
  EXPECT_EQ(m.chart->BottomAxis()->Minimum(), bottomLo);
  guitest::Wheel(m.chart.get(), 1, p.X, p.Y);
  EXPECT_NEAR(left->Minimum(), lo, 1e-9);
  WheelScrollsAxes = false;
  guitest::Wheel(m.chart.get(), 1, p.X, p.Y);
  WheelScrollsAxes = true;
  EXPECT_NEAR(left->Minimum(), lo, 1e-9);
}

TEST(ChartMouse, AClickOnAPointFiresTheSeriesClick) {
  TMouseChart m;
  int clicked = -1;
  TChartSeries* clickedSeries = nullptr;
  m.chart->OnClickSeries = [&](TCustomChart*, TChartSeries* s, int index, TMouseButton, TShiftState, int, int) {
    clickedSeries = s;
    clicked = index;
  };
  const int x = m.series->PointXPixel(4), y = m.series->PointYPixel(4);
  guitest::Click(m.chart.get(), x, y);
  EXPECT_EQ(clickedSeries, m.series);
  EXPECT_EQ(clicked, 4);
  EXPECT_FALSE(m.chart->Zoom()->Active);  // the click event handled the press
  int seriesClicks = 0;
  m.chart->OnClickSeries = nullptr;
  m.series->OnClick = [&](TChartSeries*, int index, TMouseButton, TShiftState, int, int) { seriesClicks += index; };
  guitest::Click(m.chart.get(), m.series->PointXPixel(2), m.series->PointYPixel(2));
  EXPECT_EQ(seriesClicks, 2);
}

TEST(ChartMouse, BackgroundClickOutsideTheChartRectangle) {
  TMouseChart m;
  int background = 0;
  m.chart->OnClickBackground = [&](TCustomChart*, TMouseButton, TShiftState, int, int) { ++background; };
  TChartClickedPart part;
  m.chart->PartAtPoint(Point(2, 2), part);
  EXPECT_EQ(part.Part, cpNone);
  guitest::Click(m.chart.get(), 2, 2);
  EXPECT_EQ(background, 1);
  m.chart->PartAtPoint(m.Middle(), part);
  EXPECT_EQ(part.Part, cpChartRect);
}

TEST(ChartMouse, ToolsSeeTheMouseFirstAndMayCancelIt) {
  TMouseChart m;
  auto* first = new TRecordingTool(m.chart.get());
  auto* second = new TRecordingTool(m.chart.get());
  m.chart->Tools()->AddTool(first);
  m.chart->Tools()->AddTool(second);
  first->CancelOnDown = true;
  int background = 0;
  m.chart->OnClickBackground = [&](TCustomChart*, TMouseButton, TShiftState, int, int) { ++background; };
  const TPoint p = m.Middle();
  guitest::MouseDown(m.chart.get(), mbLeft, p.X, p.Y);
  EXPECT_EQ(first->MouseKinds, std::vector<int>{cmeDown});
  EXPECT_TRUE(second->MouseKinds.empty());
  EXPECT_EQ(background, 0);
  EXPECT_FALSE(m.chart->Zoom()->Active);
  guitest::MouseUp(m.chart.get(), mbLeft, p.X, p.Y);
  first->CancelOnDown = false;
  // A background-click handler that leaves the cancel flag set handles the
  // press; without one the press starts a zoom.
  guitest::MouseDown(m.chart.get(), mbLeft, p.X, p.Y);
  EXPECT_EQ(background, 1);
  EXPECT_FALSE(m.chart->Zoom()->Active);
  guitest::MouseUp(m.chart.get(), mbLeft, p.X, p.Y);
  m.chart->OnClickBackground = nullptr;
  guitest::MouseDown(m.chart.get(), mbLeft, p.X, p.Y);
  EXPECT_EQ(second->MouseKinds.back(), cmeDown);
  EXPECT_TRUE(m.chart->Zoom()->Active);
  guitest::MouseUp(m.chart.get(), mbLeft, p.X, p.Y);
  m.chart->Perform(CM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(first->ChartEvents.back(), cteMouseLeave);
}

TEST(ChartMouse, AxisLessChartsNeverZoomOrPan) {
  TMouseChart m;
  m.series->AxisLess = true;
  m.chart->Pass();
  const TPoint p = m.Middle();
  guitest::MouseDown(m.chart.get(), mbLeft, p.X, p.Y);
  EXPECT_FALSE(m.chart->Zoom()->Active);
  guitest::MouseUp(m.chart.get(), mbLeft, p.X, p.Y);
  guitest::MouseDown(m.chart.get(), mbRight, p.X, p.Y);
  EXPECT_FALSE(m.chart->PanningState.Active);
  guitest::MouseUp(m.chart.get(), mbRight, p.X, p.Y);
}

}  // namespace
