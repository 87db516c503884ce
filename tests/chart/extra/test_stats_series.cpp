// Box plots (statistics, outliers, the box), error whiskers with and
// without bars, and the high-low band.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <vector>

#include "chart/extra/errorbar.h"
#include "chart/extra/grafboxplot.h"
#include "extratest.h"

// ---- Box plot ----------------------------------------------------------------------------------

TEST(BoxPlotStatistics, QuartilesFencesAndWhiskers) {
  struct Case {
    std::vector<double> samples;
    double median, lower, upper, lowerInner, upperInner, upperOuter, lowerWhisker, upperWhisker;
  };
  const Case cases[] = {
      {{1, 2, 3, 4, 5, 6, 7, 8, 9}, 5, 2.75, 7.25, -4, 14, 20.75, 1, 9},
      {{1, 2, 3, 4, 100}, 3, 1.75, 28, -37.625, 67.375, 106.75, 1, 4},
      // The same samples in another order give the same statistics.
      {{100, 4, 1, 3, 2}, 3, 1.75, 28, -37.625, 67.375, 106.75, 1, 4},
      {{2, 4, 6, 8}, 5, 3, 7, -3, 13, 19, 2, 8},
  };
  for (const Case& c : cases) {
    TBoxSeries box(nullptr);
    for (double v : c.samples) box.AddSingleValue(v);
    box.RecalcStats();
    SCOPED_TRACE(testing::Message() << c.samples.size() << " samples from " << c.samples.front());
    EXPECT_DOUBLE_EQ(box.Median, c.median);
    EXPECT_DOUBLE_EQ(box.LowerQuartile, c.lower);
    EXPECT_DOUBLE_EQ(box.UpperQuartile, c.upper);
    EXPECT_DOUBLE_EQ(box.LowerInnerFence, c.lowerInner);
    EXPECT_DOUBLE_EQ(box.UpperInnerFence, c.upperInner);
    EXPECT_DOUBLE_EQ(box.UpperOuterFence, c.upperOuter);
    EXPECT_DOUBLE_EQ(box.LowerWhiskerEnd, c.lowerWhisker);
    EXPECT_DOUBLE_EQ(box.UpperWhiskerEnd, c.upperWhisker);
  }
}

TEST(BoxPlotStatistics, FewerThanThreeSamplesHaveOnlyTheirMedianAndNoBox) {
  TExtraScene<TBoxSeries> s;
  s.series->AddSingleValue(4);
  s.series->AddSingleValue(10);
  s.series->MildOut()->SetVisible(true);
  s.series->MedianPen()->SetColor(clFuchsia);
  s.chart.Pass();
  EXPECT_DOUBLE_EQ(s.series->Median, 7);
  EXPECT_DOUBLE_EQ(s.series->LowerQuartile, 7);
  EXPECT_DOUBLE_EQ(s.series->UpperWhiskerEnd, 7);
  EXPECT_FALSE(s.series->HasBox());
  EXPECT_TRUE(CallsInPen(s.chart.Rec, "LineFromTo", clFuchsia).empty()) << "no median line";
  EXPECT_EQ(s.chart.Rec->Count("Ellipse", 0), 2) << "each sample shown";
}

TEST(BoxPlot, OutliersAreMarkedMildOrExtremeAndFenceSamplesNot) {
  TExtraScene<TBoxSeries> s;
  // Quartiles 1.75 and 28: inner fences -37.625 and 67.375, outer -77 and 106.75.
  for (double v : {1.0, 2.0, 3.0, 4.0, 100.0}) s.series->AddSingleValue(v);
  s.series->MildOut()->SetStyle(psCircle);
  s.series->ExtrOut()->SetStyle(psStar);
  s.chart.Pass();
  EXPECT_EQ(s.chart.Rec->Count("Ellipse", 0), 1) << "100 is a mild outlier";
  const int y = s.chart.LeftAxis()->ValueToPixel(100);
  const auto ellipses = s.chart.Rec->CallsOf("Ellipse", 0);
  EXPECT_EQ((ellipses[0].Arg(1) + ellipses[0].Arg(3)) / 2, y);
  // Beyond the outer fence a sample is extreme; on an inner fence it is no
  // outlier and the whisker reaches it. Samples 1..9 and one more: the
  // quartiles are 3 and 8, the fences 15.5 and 23.
  struct Case {
    double last;
    int mild, extreme;
    double whisker;
  };
  const Case cases[] = {{100, 0, 1, 9}, {20, 1, 0, 9}, {15.5, 0, 0, 15.5}};
  for (const Case& c : cases) {
    TExtraScene<TBoxSeries> t;
    for (int v = 1; v <= 9; ++v) t.series->AddSingleValue(v);
    t.series->AddSingleValue(c.last);
    t.series->MildOut()->SetStyle(psCircle);
    t.series->ExtrOut()->SetStyle(psDiamond);
    t.chart.Pass();
    EXPECT_DOUBLE_EQ(t.series->UpperInnerFence, 15.5);
    EXPECT_EQ(t.chart.Rec->Count("Ellipse", 0), c.mild) << c.last;
    EXPECT_EQ(t.chart.Rec->Count("Polygon", 0), c.extreme) << c.last;
    EXPECT_DOUBLE_EQ(t.series->UpperWhiskerEnd, c.whisker) << c.last;
  }
}

TEST(BoxPlot, TheBoxSpansTheQuartilesAtItsPositionAndCustomValuesStay) {
  TExtraScene<TBoxSeries> s;
  for (int v = 1; v <= 9; ++v) s.series->AddSingleValue(v);
  s.series->SetPosition(2);
  s.series->MedianPen()->SetColor(clFuchsia);
  s.chart.Pass();
  EXPECT_DOUBLE_EQ(s.series->SmallestX(), 2);
  const int c = s.chart.BottomAxis()->ValueToPixel(2);
  const auto median = CallsInPen(s.chart.Rec, "LineFromTo", clFuchsia);
  ASSERT_EQ(median.size(), 1u);
  EXPECT_EQ(CallArgs(median[0]), (std::vector<int>{c - 15, s.chart.LeftAxis()->ValueToPixel(5), c + 15,
                                                    s.chart.LeftAxis()->ValueToPixel(5)}));
  s.series->SetUseCustomValues(true);
  s.series->AddSingleValue(1000);
  s.chart.Pass();
  EXPECT_DOUBLE_EQ(s.series->Median, 5) << "custom statistics are kept";
  // The horizontal box runs along the horizontal axis.
  TExtraScene<THorizBoxSeries> h;
  for (int v = 1; v <= 9; ++v) h.series->AddSingleValue(v);
  h.series->MedianPen()->SetColor(clFuchsia);
  h.chart.Pass();
  const auto hm = CallsInPen(h.chart.Rec, "LineFromTo", clFuchsia);
  ASSERT_EQ(hm.size(), 1u);
  EXPECT_EQ(hm[0].Arg(0), h.chart.BottomAxis()->ValueToPixel(5));
  EXPECT_EQ(hm[0].Arg(0), hm[0].Arg(2));
}

// ---- Error bars --------------------------------------------------------------------------------

TEST(ErrorSeries, WhiskersFollowTheErrorAndTheStyle) {
  TExtraScene<TErrorSeries> s;
  s.series->SetSeriesColor(clFuchsia);
  s.series->AddErrorBar(0, 10, 2);
  s.series->AddErrorBar(1, 20, 0);   // no whisker
  s.series->AddErrorBar(2, 30, -4);  // drawn as 4, the range widened by -4
  EXPECT_DOUBLE_EQ(s.series->LargestY(), 26);
  EXPECT_DOUBLE_EQ(s.series->SmallestY(), 8);
  s.chart.Pass();
  // Top and bottom: a line and a cap each, for two points.
  const auto lines = CallsInPen(s.chart.Rec, "LineFromTo", clFuchsia);
  ASSERT_EQ(lines.size(), 8u);
  TChartAxis* v = s.chart.LeftAxis();
  const int y = v->ValueToPixel(30), d = v->SizeToPixels(4);
  EXPECT_EQ(lines[4].Arg(1), y);
  EXPECT_EQ(lines[4].Arg(3), y - d);
  s.series->SetErrorStyle(essLeft);
  s.chart.Pass();
  const auto left = CallsInPen(s.chart.Rec, "LineFromTo", clFuchsia);
  ASSERT_EQ(left.size(), 4u);
  EXPECT_EQ(left[0].Arg(1), left[0].Arg(3)) << "horizontal";
  EXPECT_LT(left[0].Arg(2), left[0].Arg(0)) << "to the left";
}

TEST(ErrorBarSeries, BarsWithWhiskersAwayFromTheOriginAndCapWidths) {
  TExtraScene<TErrorBarSeries> s;
  s.series->ErrorPen()->SetColor(clFuchsia);
  s.series->SetSeriesColor(clLime);
  s.series->AddErrorBar(0, 10, 2);
  s.series->AddErrorBar(1, -10, 2);
  s.series->AddErrorBar(2, 5, 0);
  s.chart.Pass();
  int bars = 0;
  for (const TCanvasCall& c : s.chart.Rec->CallsOf("Rectangle", 0)) bars += c.BrushColor == clLime;
  EXPECT_EQ(bars, 3) << "every bar, error or not";
  const auto lines = CallsInPen(s.chart.Rec, "LineFromTo", clFuchsia);
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_LT(lines[0].Arg(3), lines[0].Arg(1)) << "a bar above the origin: up";
  EXPECT_GT(lines[2].Arg(3), lines[2].Arg(1)) << "below the origin: down";
  struct Case {
    int width;
    TErrorWidthUnits units;
    bool barWide;
    int pixels;
  };
  const Case cases[] = {{0, ewuPercent, true, 0}, {100, ewuPercent, true, 0}, {50, ewuPercent, false, 0},
                        {6, ewuPixels, false, 6}};
  for (const Case& c : cases) {
    s.series->SetErrorWidth(c.width);
    s.series->SetErrorWidthUnits(c.units);
    s.chart.Pass();
    const auto cap = CallsInPen(s.chart.Rec, "LineFromTo", clFuchsia)[1];
    const int bar = s.series->CurrentBarRect.Right - s.series->CurrentBarRect.Left;
    const int expected = c.barWide ? bar : (c.pixels ? c.pixels : static_cast<int>(std::nearbyint(bar * 0.5)));
    EXPECT_NEAR(cap.Arg(2) - cap.Arg(0), expected, 1) << c.width << " " << c.units;
  }
}

// A stored cap width or error far beyond the chart (a damaged file) draws
// whiskers held to the axis pixel range instead of overflowing their ends.
TEST(ErrorSeries, HugeCapWidthsAndErrorsStayInThePixelRange) {
  TExtraScene<TErrorSeries> s;
  s.series->SetSeriesColor(clFuchsia);
  s.series->SetErrorStyle(essLeftRight);
  s.series->AddErrorBar(0, 10, 2);
  s.series->AddErrorBar(1, 20, 1e300);
  struct Case {
    int width;
    TErrorWidthUnits units;
  };
  for (const Case& c : {Case{2147483647, ewuPixels}, Case{2147483647, ewuPercent}, Case{-2147483647, ewuPercent}}) {
    SCOPED_TRACE(c.width);
    s.series->SetErrorWidth(c.width);
    s.series->SetErrorWidthUnits(c.units);
    s.chart.Pass();
    const auto lines = CallsInPen(s.chart.Rec, "LineFromTo", clFuchsia);
    ASSERT_EQ(lines.size(), 8u);
    for (const TCanvasCall& line : lines)
      for (int arg = 0; arg < 4; ++arg) EXPECT_LE(std::abs(line.Arg(arg)), 2 * AxisPixelLimit);
  }
}

// ---- High-low ----------------------------------------------------------------------------------

TEST(HighLowSeries, BandsBetweenNeighboursSkippingNulls) {
  TExtraScene<THighLowSeries> s;
  s.series->HighPen()->SetColor(clFuchsia);
  s.series->AddHighLow(0, 10, 5);
  s.chart.Pass();
  EXPECT_TRUE(CallsInPen(s.chart.Rec, "LineFromTo", clFuchsia).empty()) << "one point draws nothing";
  s.series->AddHighLow(1, 12, 6);
  s.series->AddHighLow(2, 14, 4);
  s.series->AddHighLow(3, 11, 3);
  s.series->HighBrush()->SetStyle(bsSolid);
  s.chart.Pass();
  EXPECT_EQ(CallsInPen(s.chart.Rec, "LineFromTo", clFuchsia).size(), 3u);
  EXPECT_EQ(s.chart.Rec->Count("Polygon", 0), 3);
  EXPECT_DOUBLE_EQ(s.series->LargestY(), 14);
  EXPECT_DOUBLE_EQ(s.series->SmallestY(), 3);
  s.series->SetPointColor(2, clNone);
  s.chart.Pass();
  EXPECT_EQ(CallsInPen(s.chart.Rec, "LineFromTo", clFuchsia).size(), 1u) << "both bands of the null point go";
  EXPECT_EQ(s.chart.Rec->Count("Polygon", 0), 1);
  // A point between two of the band's corners is in it.
  const int x = (s.series->PointXPixel(0) + s.series->PointXPixel(1)) / 2;
  const int y = s.chart.LeftAxis()->ValueToPixel(8);
  EXPECT_EQ(s.series->IndexAtPoint(x, y), 1);
  EXPECT_EQ(s.series->IndexAtPoint(x, s.chart.LeftAxis()->ValueToPixel(13)), -1);
}
