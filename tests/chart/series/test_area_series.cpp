// Area series: the fill toward the axis edge or an origin value, the
// gradient continued from segment to segment, stacking, stairs tops,
// transparency and the legend symbol.
#include <gtest/gtest.h>

#include "chart/series/series.h"
#include "seriestest.h"

namespace {

struct TAreaScene {
  explicit TAreaScene(std::initializer_list<double> values) {
    series = new TAreaSeries(&chart);
    series->SetParentChart(&chart);
    series->SetSeriesColor(clRed);
    int i = 0;
    for (double v : values) series->AddXYPoint(i++, v);
  }
  TSeriesTestChart chart;
  TAreaSeries* series;
};

TEST(AreaSeries, OriginFillGoesTowardTheOriginFromBothSides) {
  TAreaScene s({0, 10, 2, 8});
  s.series->SetUseYOrigin(true);
  s.series->SetYOrigin(5);
  s.chart.Pass();
  const int origin = s.chart.LeftAxis()->ValueToPixelY(5);
  const auto fills = s.chart.Rec->CallsOf("Polygon", 0);
  ASSERT_EQ(fills.size(), 3u);
  for (size_t k = 0; k < fills.size(); ++k) {
    const auto& q = fills[k].Points;
    ASSERT_EQ(q.size(), 4u);
    const int i = static_cast<int>(k) + 1;
    // Corners: previous bottom, previous point, point, bottom.
    EXPECT_EQ(q[0], Point(s.series->PointXPixel(i - 1), origin));
    EXPECT_EQ(q[1], Point(s.series->PointXPixel(i - 1), s.series->PointYPixel(i - 1)));
    EXPECT_EQ(q[2], Point(s.series->PointXPixel(i), s.series->PointYPixel(i)));
    EXPECT_EQ(q[3], Point(s.series->PointXPixel(i), origin));
  }
  EXPECT_LT(fills[0].Points[2].Y, origin);  // 10 lies above 5
  EXPECT_GT(fills[1].Points[2].Y, origin);  // 2 lies below it

  // The automatic range takes the origin in even when every value lies above it.
  TAreaScene high({6, 10});
  high.series->SetUseYOrigin(true);
  high.series->SetYOrigin(5);
  high.chart.Pass();
  EXPECT_LE(high.chart.LeftAxis()->Minimum(), 5);
  EXPECT_DOUBLE_EQ(high.series->SmallestY(), 5);
}

TEST(AreaSeries, GradientContinuesFromSegmentToSegment) {
  TAreaScene s({1, 9, 4, 6});
  s.series->Gradient()->SetVisible(true);
  s.chart.Pass();
  const auto clips = s.chart.Rec->CallsOf("ClipToPolygon", 0);
  const auto fills = s.chart.Rec->CallsOf("GradientFill", 1);
  ASSERT_EQ(clips.size(), 3u);
  ASSERT_EQ(fills.size(), 3u);
  const int top = s.chart.LeftAxis()->ValueToPixelY(9), bottom = s.chart.LeftAxis()->ValueToPixelY(1);
  for (size_t k = 0; k < fills.size(); ++k) {
    // Each segment is clipped to its own band, and every fill spans the whole value range.
    EXPECT_EQ(clips[k].Points.size(), 4u);
    EXPECT_EQ(fills[k].Arg(0), s.series->PointXPixel(static_cast<int>(k)));
    EXPECT_EQ(fills[k].Arg(1), top);
    EXPECT_EQ(fills[k].Arg(3), bottom);
  }
  EXPECT_EQ(s.chart.Rec->Count("RemoveClipRegion", 0), s.chart.Rec->Count("ClipToPolygon", 0) + 1);
}

TEST(AreaSeries, StackedAreasFillFromTheSeriesBelow) {
  TSeriesTestChart chart;
  auto* a = new TAreaSeries(&chart);
  auto* b = new TAreaSeries(&chart);
  auto* line = new TLineSeries(&chart);
  for (TChartSeries* s : std::initializer_list<TChartSeries*>{a, b, line}) s->SetParentChart(&chart);
  for (int i = 0; i < 3; ++i) {
    a->AddXYPoint(i, 2);
    b->AddXYPoint(i, 3);
    line->AddXYPoint(i, 1);
  }
  b->SetMultiArea(maStacked);
  EXPECT_EQ(a->MultiArea(), maStacked);
  EXPECT_EQ(line->Stacked(), cssNone);
  chart.Pass();
  EXPECT_EQ(b->AreaBottomPixel(1), chart.LeftAxis()->ValueToPixelY(2));
  EXPECT_EQ(b->PointYPixel(1), chart.LeftAxis()->ValueToPixelY(5));
  a->SetMultiArea(maNone);
  EXPECT_EQ(b->Stacked(), cssNone);
  // Overlap reads as no stacking.
  a->SetStacked(cssOverlap);
  EXPECT_EQ(b->MultiArea(), maNone);
}

TEST(AreaSeries, StairTopsAreDrawnOnlyWhenTheAreaLinesAreHidden) {
  for (bool areaLines : {true, false}) {
    TAreaScene s({1, 3, 2});
    s.series->SetStairs(true);
    s.series->LinePen()->SetColor(clBlue);
    s.series->AreaLinesPen()->SetVisible(areaLines);
    s.chart.Pass();
    EXPECT_EQ(s.chart.CallsWithPen("LineFromTo", clBlue, 1).size(), areaLines ? 0u : 4u);
    EXPECT_EQ(s.chart.Rec->Count("Rectangle", 0) >= 2, true);
  }
}

TEST(AreaSeries, TransparencyBlendsEachSegment) {
  for (int t : {0, 50}) {
    TAreaScene s({1, 3, 2});
    s.series->SetTransparency(t);
    s.chart.Pass();
    EXPECT_EQ(s.chart.Rec->Count("BeginBlending", 0), t ? 2 : 0);
    EXPECT_EQ(s.chart.Rec->Count("EndBlending", 0), t ? 2 : 0);
  }
}

TEST(AreaSeries, GradientLegendSymbolIsTheGradientOnly) {
  TAreaScene s({1, 2});
  s.series->Gradient()->SetVisible(true);
  s.chart.Rec->Clear();
  s.series->PaintLegendSymbol(-1, Rect(0, 0, 20, 10));
  EXPECT_EQ(s.chart.Rec->Count("GradientFill", 0), 1);
  EXPECT_EQ(s.chart.Rec->Count("Rectangle", 0), 0);
}

TEST(AreaSeries, DefaultsGalleryAndCopying) {
  TAreaSeries area(nullptr);
  EXPECT_TRUE(area.DrawArea());
  EXPECT_FALSE(area.DrawLine());
  EXPECT_FALSE(area.Pointer()->Visible());
  EXPECT_EQ(area.EditorFormClassName(), "TAreaSeriesEditor");
  std::vector<std::string> styles;
  area.EnumGalleryStyles([&](const std::string& t) { styles.push_back(t); });
  EXPECT_EQ(styles, (std::vector<std::string>{"Normal", "Stairs", "Marks", "Colors", "Hollow", "No Lines", "Stack",
                                              "Stack 100%", "Points", "Gradient"}));
  TAreaSeries other(nullptr);
  other.SetUseYOrigin(true);
  other.SetYOrigin(2.5);
  area.Assign(&other);
  EXPECT_TRUE(area.DrawLine());
  EXPECT_TRUE(area.UseYOrigin());
  EXPECT_DOUBLE_EQ(area.YOrigin(), 2.5);
  THorizAreaSeries horiz(nullptr);
  EXPECT_FALSE(horiz.IsVertical());
  EXPECT_EQ(horiz.DefaultSampleCount(), 10);
  EXPECT_EQ(horiz.Gradient()->Direction(), gdRightLeft);
}

}  // namespace
