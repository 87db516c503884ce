// Funnel, pyramid, volume pipe, donut and Bezier series: segment colours and
// fills, layers, slice areas, the donut's hole and the curve segments.
#include <gtest/gtest.h>

#include <cmath>
#include <numeric>
#include <vector>

#include "chart/extra/grafbezie.h"
#include "chart/extra/grafdonut.h"
#include "chart/extra/graffunnel.h"
#include "chart/extra/grafpyramid.h"
#include "chart/extra/grafvolumepipe.h"
#include "extratest.h"

namespace {

// The area of a simple polygon (shoelace).
double Area(const std::vector<TPoint>& p) {
  double a = 0;
  for (size_t i = 0; i < p.size(); ++i) {
    const TPoint& u = p[i];
    const TPoint& v = p[(i + 1) % p.size()];
    a += static_cast<double>(u.X) * v.Y - static_cast<double>(v.X) * u.Y;
  }
  return std::fabs(a) / 2;
}

}  // namespace

// ---- Funnel ------------------------------------------------------------------------------------

TEST(FunnelSeries, ColoursByHowFarTheOpportunityFallsShort) {
  struct Case {
    double quote, opportunity, limit;
    TColor colour;
  };
  const Case cases[] = {{100, 75, 30, clYellow}, {100, 65, 30, clRed},   {100, 100, 30, clGreen},
                        {100, 120, 30, clGreen}, {0, 10, 30, clRed},     {100, 65, 40, clYellow}};
  for (const Case& c : cases) {
    TFunnelSeries f(nullptr);
    f.SetDifferenceLimit(c.limit);
    f.AddFunnelSegment(c.quote, c.opportunity);
    EXPECT_EQ(f.RatioColor(f.Ratio(0)), c.colour) << c.quote << " " << c.opportunity << " " << c.limit;
  }
}

TEST(FunnelSeries, SegmentsStandInDescendingQuotesAndFillToTheirShare) {
  TExtraScene<TFunnelSeries> s;
  s.series->AddFunnelSegment(10, 10, "small");
  s.series->AddFunnelSegment(30, 15, "big");
  s.series->AddFunnelSegment(20, 20, "middle");
  EXPECT_EQ(s.series->PointLabel(0), "big");
  EXPECT_EQ(s.series->PointLabel(2), "small");
  EXPECT_DOUBLE_EQ(s.series->XValues()->GetValue(2), 2);
  s.chart.Pass();
  EXPECT_TRUE(!s.chart.LeftAxis()->Visible()) << "the funnel hides its vertical axis";
  std::vector<TPoint> full, half;
  s.series->SegmentPolygon(1, full);  // 20 of 20
  s.series->SegmentPolygon(0, half);  // 15 of 30
  EXPECT_EQ(full.size(), 4u);
  // The half-full segment is filled to half its left height.
  const int bottom = half.back().Y;
  const int top = s.chart.LeftAxis()->ValueToPixel(s.series->Top);
  EXPECT_NEAR(half.front().Y, bottom + (top - bottom) / 2.0, 1);
}

TEST(FunnelSeries, EqualQuotesFillTheWholeWidthToTheLevel) {
  TExtraScene<TFunnelSeries> s;
  for (double o : {25.0, 50.0, 100.0}) s.series->AddFunnelSegment(100, o);
  s.chart.Pass();
  EXPECT_DOUBLE_EQ(s.series->Slope, 0);
  for (int i = 0; i < 3; ++i) {
    std::vector<TPoint> p;
    s.series->SegmentPolygon(i, p);
    ASSERT_EQ(p.size(), 4u);
    EXPECT_EQ(p[0].X, s.chart.BottomAxis()->ValueToPixel(i - 0.5));
    EXPECT_EQ(p[1].X, s.chart.BottomAxis()->ValueToPixel(i + 0.5)) << "the full width";
    EXPECT_EQ(p[0].Y, p[1].Y);
  }
}

TEST(FunnelSeries, LegendRowsAndMarkTexts) {
  TFunnelSeries f(nullptr);
  f.AddFunnelSegment(200, 50);
  EXPECT_EQ(f.LegendEntryCount(), 3);
  EXPECT_EQ(f.ComposeLegendText(0, ltsPlain), "Exceeds quota");
  EXPECT_EQ(f.ComposeLegendText(1, ltsPlain), "30.00 % within quota");
  EXPECT_EQ(f.ComposeLegendText(2, ltsPlain), "30.00 % or more below quota");
  EXPECT_EQ(f.LegendSymbolColor(1), clYellow);
  EXPECT_EQ(f.BuildMarkText(0), "25.00 %");
}

// ---- Pyramid -----------------------------------------------------------------------------------

TEST(PyramidSeries, LayersStackTheirSharesUpToAnApex) {
  TExtraScene<TPyramidSeries> s;
  for (double v : {50.0, 30.0, 20.0}) s.series->AddSingleValue(v);
  s.chart.Pass();
  TChartAxis* v = s.chart.LeftAxis();
  const int w = static_cast<int>(std::nearbyint(s.chart.BottomAxis()->AxisLength * 0.5 * 0.5));
  struct Row {
    double from, to;
    int bottomHalf, topHalf;
  };
  const Row rows[] = {{0, 50, w, static_cast<int>(std::nearbyint(w * 0.5))},
                      {50, 80, static_cast<int>(std::nearbyint(w * 0.5)), static_cast<int>(std::nearbyint(w * 0.2))},
                      {80, 100, static_cast<int>(std::nearbyint(w * 0.2)), 0}};
  for (int i = 0; i < 3; ++i) {
    TPyramidSeries::TLayer layer;
    ASSERT_TRUE(s.series->LayerGeometry(i, layer));
    EXPECT_EQ(layer.Rect.Bottom, v->ValueToPixel(rows[i].from)) << i;
    EXPECT_EQ(layer.Rect.Top, v->ValueToPixel(rows[i].to)) << i;
    EXPECT_EQ(layer.BottomHalfWidth, rows[i].bottomHalf) << i;
    EXPECT_EQ(layer.TopHalfWidth, rows[i].topHalf) << i;
  }
  EXPECT_EQ(s.chart.Rec->Count("TruncatedPyramid", 0), 3);
  // SizePercent 100: the base as wide as the horizontal axis.
  s.series->SetSizePercent(100);
  TPyramidSeries::TLayer base;
  s.series->LayerGeometry(0, base);
  EXPECT_NEAR(base.Rect.Right - base.Rect.Left, s.chart.BottomAxis()->AxisLength, 1);
}

TEST(PyramidSeries, NullLayersCountButAreNotDrawnAndANothingPyramidIsEmpty) {
  TExtraScene<TPyramidSeries> s;
  s.series->AddSingleValue(50);
  s.series->AddSingleValue(30);
  s.series->SetPointColor(1, clNone);
  s.series->AddSingleValue(20);
  s.chart.Pass();
  EXPECT_EQ(s.chart.Rec->Count("TruncatedPyramid", 0), 2);
  TPyramidSeries::TLayer top;
  s.series->LayerGeometry(2, top);
  EXPECT_EQ(top.Rect.Bottom, s.chart.LeftAxis()->ValueToPixel(80)) << "the null layer's value still counts";
  TPyramidSeries::TLayer hidden;
  s.series->LayerGeometry(1, hidden);
  const TRect n = NormalizeRect(hidden.Rect);
  EXPECT_NE(s.series->IndexAtPoint((n.Left + n.Right) / 2, (n.Top + n.Bottom) / 2), 1);

  TExtraScene<TPyramidSeries> zero;
  zero.series->AddSingleValue(5);
  zero.series->AddSingleValue(-5);
  zero.chart.Pass();
  EXPECT_EQ(zero.chart.Rec->Count("TruncatedPyramid", 0), 0);
  EXPECT_EQ(zero.series->IndexAtPoint(zero.chart.ChartAreaCenterX, zero.chart.ChartAreaCenterY), -1);
}

// ---- Volume pipe -------------------------------------------------------------------------------

TEST(VolumePipe, SlicesTakeTheirShareOfTheArea) {
  struct Case {
    int cone;
    std::vector<double> values;
  };
  const Case cases[] = {{30, {1, 1}}, {0, {1, 1}}, {60, {1, 2, 3}}, {30, {5}}};
  for (const Case& c : cases) {
    TExtraScene<TVolumePipeSeries> s;
    s.series->Gradient()->SetVisible(false);
    for (double v : c.values) s.series->AddSingleValue(v);
    s.series->SetConePercent(c.cone);
    s.chart.Pass();
    const double total = std::accumulate(c.values.begin(), c.values.end(), 0.0);
    const double area = s.series->PipeArea;
    SCOPED_TRACE(testing::Message() << "cone " << c.cone << " values " << c.values.size());
    for (size_t i = 0; i < c.values.size(); ++i)
      EXPECT_NEAR(Area(s.series->Slices[i]), area * c.values[i] / total, area * 0.02 + 2 * s.series->LeftHeight);
  }
}

TEST(VolumePipe, TheLeftSliceOfTwoEqualOnesIsNarrower) {
  TExtraScene<TVolumePipeSeries> s;
  s.series->AddSingleValue(1);
  s.series->AddSingleValue(1);
  s.chart.Pass();
  const auto& left = s.series->Slices[0];
  const auto& right = s.series->Slices[1];
  EXPECT_LT(left[0].X - left[2].X, right[0].X - right[2].X);
  // Cone 0: the right end is 4 pixels taller, only the left corners sit 2 in.
  s.series->SetConePercent(0);
  s.chart.Pass();
  EXPECT_EQ(s.series->RightHeight - s.series->LeftHeight, 4);
  // A straight pipe (equal heights at both ends) is split linearly.
  s.series->SetConePercent(4);
  s.series->ComputeOutline(Rect(0, 0, 200, 104));
  ASSERT_EQ(s.series->LeftHeight, s.series->RightHeight);
  EXPECT_EQ(s.series->SliceBoundary(0), s.series->PipeWidth / 2);
  EXPECT_EQ(s.series->SliceBoundary(1), s.series->PipeWidth);
}

TEST(VolumePipe, ANullPointHasNoSliceAndTheNextStartsWhereTheLastEnded) {
  TExtraScene<TVolumePipeSeries> s;
  s.series->AddSingleValue(1);
  s.series->AddSingleValue(1);
  s.series->SetPointColor(1, clNone);
  s.series->AddSingleValue(1);
  s.chart.Pass();
  EXPECT_TRUE(s.series->Slices[1].empty());
  EXPECT_EQ(s.series->Slices[2][2].X, s.series->Slices[0][0].X);
}

// ---- Donut -------------------------------------------------------------------------------------

TEST(DonutSeries, KeepsAHoleWhenCopyingAPie) {
  TPieSeries pie(nullptr);
  pie.AddSingleValue(3);
  TDonutSeries donut(nullptr);
  EXPECT_EQ(donut.DonutPercent(), 50);
  donut.Assign(&pie);
  EXPECT_EQ(donut.DonutPercent(), 50);
  TDonutSeries other(nullptr);
  other.SetDonutPercent(30);
  donut.Assign(&other);
  EXPECT_EQ(donut.DonutPercent(), 30);
  other.SetDonutPercent(0);
  donut.Assign(&other);
  EXPECT_EQ(donut.DonutPercent(), 50);
}

// ---- Bezier ------------------------------------------------------------------------------------

TEST(BezierSeries, SegmentsEndOnTheirPointsOfEachStyle) {
  struct Case {
    TBezierStyle style;
    int points;
    int pieces;  // straight pieces of the curve
  };
  // bsBezier3 with 4 points draws only the segment ending at point 2.
  const Case cases[] = {{bsBezier3, 4, 32}, {bsBezier3, 5, 64}, {bsBezier4, 4, 32}, {bsBezier4, 6, 32},
                        {bsBezier3, 2, 0},  {bsWindows, 2, 0}};
  for (const Case& c : cases) {
    TExtraScene<TBezierSeries> s;
    s.chart.SetView3D(true);  // the curves are computed in 3D
    s.series->SetBezierStyle(c.style);
    s.series->SetSeriesColor(clFuchsia);
    for (int i = 0; i < c.points; ++i) s.series->AddXYPoint(i, i % 2 ? 10 : 0);
    s.chart.Pass();
    EXPECT_EQ(CallsInPen(s.chart.Rec, "LineTo3D", clFuchsia).size(), static_cast<size_t>(c.pieces))
        << c.style << " with " << c.points;
  }
  TBezierSeries b(nullptr);
  std::vector<TPoint> p{{0, 0}, {10, 20}, {20, 0}, {30, 30}};
  const auto seg = b.CurveSegment(p, 3, 2);
  ASSERT_EQ(seg.size(), 32u);
  EXPECT_EQ(seg.back(), Point(20, 0));
  EXPECT_EQ(seg[15], Point(10, 10)) << "t = 1/2 of the quadratic";
  EXPECT_TRUE(b.CurveSegment(p, 3, 4).empty());
}

TEST(BezierSeries, NumBezierPointsBelowTwoIsRefused) {
  TBezierSeries b(nullptr);
  try {
    b.SetNumBezierPoints(1);
    FAIL() << "no exception";
  } catch (const ChartException& e) {
    EXPECT_STREQ(e.what(), "Number of Bezier points should be > 1");
  }
  EXPECT_EQ(b.NumBezierPoints(), 32);
  b.SetNumBezierPoints(2);
  std::vector<TPoint> p{{0, 0}, {10, 20}, {20, 0}};
  EXPECT_EQ(b.CurveSegment(p, 3, 2).size(), 2u);
}

TEST(BezierSeries, TheWindowsStyleIn2DDrawsTheCubicCurveThroughThePoints) {
  TExtraScene<TBezierSeries> s;
  s.series->Pointer()->SetVisible(false);
  s.series->SetSeriesColor(clRed);
  for (int i = 0; i < 4; ++i) s.series->AddXYPoint(i, i == 1 || i == 2 ? 10 : 0);
  s.chart.Pass();
  // From point 0 the poly-Bezier-to takes points 0, 1 and 2 as two control
  // points and an end: half way (t = 1/2) the curve is at x 5/8 and y 5.
  const int x = s.chart.BottomAxis()->ValueToPixel(0.625);
  const int y = s.chart.LeftAxis()->ValueToPixel(5);
  bool red = false;
  for (int dy = -2; dy <= 2; ++dy) red |= s.chart.Rec->SurfacePixel(x, y + dy) == clRed;
  EXPECT_TRUE(red);
}
