// Polar, radar and polar bar series: where points land on linear and
// logarithmic radius axes, the radar's spokes and labels, the grid's radius
// circles (and when there are none), one background for series of a class,
// closing the circle and the hit test.
#include <gtest/gtest.h>

#include <cmath>

#include "chart/extra/grafpolar.h"
#include "extratest.h"

namespace {

double Distance(TPoint a, TPoint b) { return std::hypot(a.X - b.X, a.Y - b.Y); }

}  // namespace

TEST(PolarGeometry, PointsLieOnTheirAngleAtTheirShareOfTheRadius) {
  struct Case {
    bool logarithmic;
    bool inverted;
    double radius;
    double share;  // of the circle's radius; 0 is the centre
  };
  // The axis runs from 10 (smallest radius) to 1000.
  const Case cases[] = {
      {false, false, 10, 0},       {false, false, 1000, 1},    {false, false, 505, 0.5},
      {true, false, 10, 0},        {true, false, 1000, 1},     {true, false, 100, 0.5},
      {false, true, 1000, 0},      {false, true, 10, 1},       {true, true, 1000, 0},
  };
  for (const Case& c : cases) {
    TExtraScene<TPolarSeries> s;
    s.series->SetCircled(true);
    s.series->AddXYPoint(0, 10);
    s.series->AddXYPoint(30, 1000);
    const int probe = s.series->AddXYPoint(60, c.radius);
    s.chart.LeftAxis()->SetLogarithmic(c.logarithmic);
    s.chart.LeftAxis()->SetInverted(c.inverted);
    s.chart.Pass();
    const TPoint centre = Point(s.series->RingCenterX, s.series->RingCenterY);
    const TPoint p = s.series->PolarPosition(probe);
    SCOPED_TRACE(testing::Message() << "log " << c.logarithmic << " inverted " << c.inverted << " r " << c.radius);
    EXPECT_NEAR(Distance(p, centre), c.share * s.series->RadiusX, 1.5);
    if (c.share > 0) EXPECT_NEAR(ScreenAngle(centre.X, centre.Y, p.X, p.Y), 60, 1);
  }
}

TEST(PolarGeometry, RadiiBelowTheMinimumOrOnAFlatAxisLieAtTheCentre) {
  TExtraScene<TPolarSeries> s;
  s.series->AddXYPoint(45, 5);
  s.series->AddXYPoint(90, 50);
  s.chart.LeftAxis()->SetRange(20, 100);
  s.chart.Pass();
  const TPoint centre = Point(s.series->RingCenterX, s.series->RingCenterY);
  EXPECT_EQ(s.series->PolarPosition(0), centre);  // below the minimum
  EXPECT_NE(s.series->PolarPosition(1), centre);

  // A range of zero: every point at the centre, no radius circle.
  TExtraScene<TPolarSeries> flat;
  flat.series->AddXYPoint(45, 7);
  flat.series->AddXYPoint(90, 7);
  flat.chart.Pass();
  const TPoint c2 = Point(flat.series->RingCenterX, flat.series->RingCenterY);
  EXPECT_EQ(flat.series->PolarPosition(0), c2);
  EXPECT_EQ(flat.series->PolarPosition(1), c2);
  EXPECT_EQ(flat.chart.Rec->Count("EllipseWithZ", 0), 1) << "only the outer circle";
}

TEST(PolarGrid, RadiusCirclesFollowTheLabelStepUpToTenThousand) {
  struct Case {
    double increment;
    int circles;  // besides the outer circle
  };
  // The axis runs 0..100; with labels on the axis the circles sit at each
  // step from the maximum down to the minimum (the minimum's has no size).
  const Case cases[] = {{25, 5}, {10, 11}, {0.01, 0}};
  for (const Case& c : cases) {
    TExtraScene<TPolarSeries> s;
    s.series->AddXYPoint(0, 0);
    s.series->AddXYPoint(90, 100);
    s.chart.LeftAxis()->SetIncrement(c.increment);
    s.chart.LeftAxis()->SetLabelsSeparation(0);
    s.chart.Pass();
    EXPECT_EQ(s.chart.Rec->Count("EllipseWithZ", 0), 1 + c.circles) << c.increment;
  }
}

TEST(PolarGrid, SpokesEveryAngleIncrementAndNoneForATinyOne) {
  struct Case {
    double increment;
    int spokes;
  };
  const Case cases[] = {{90, 4}, {30, 12}, {0, 36}, {1e-6, 0}};
  for (const Case& c : cases) {
    TExtraScene<TPolarSeries> s;
    s.series->AddXYPoint(0, 1);
    s.series->AddXYPoint(90, 2);
    s.chart.LeftAxis()->Grid()->SetVisible(false);
    s.chart.BottomAxis()->Grid()->SetColor(clFuchsia);
    s.series->SetAngleIncrement(c.increment);
    s.chart.Pass();
    EXPECT_EQ(CallsInPen(s.chart.Rec, "LineAtDepth", clFuchsia).size(), static_cast<size_t>(c.spokes))
        << c.increment;
  }
}

TEST(RadarSeries, FivePointsMakeFiveSpokesFromTheTopLabelledByThePoints) {
  TExtraScene<TRadarSeries> s;
  double value = 10;
  for (const char* label : {"Cars", "Phones", "Tables", "Monitors", ""}) s.series->AddSingleValue(value++, label);
  s.series->SetCircled(true);
  s.series->SetCircleLabels(true);
  s.chart.SetAxisVisible(false);
  s.chart.LeftAxis()->SetRange(0, 20);
  s.chart.BottomAxis()->Grid()->SetColor(clFuchsia);
  s.chart.Pass();
  ASSERT_EQ(s.series->SpokeCount, 5);
  EXPECT_DOUBLE_EQ(s.series->AngleIncrement(), 72);
  const int cx = s.series->RingCenterX, cy = s.series->RingCenterY;
  std::vector<double> angles;
  for (const TCanvasCall& c : CallsInPen(s.chart.Rec, "LineAtDepth", clFuchsia)) {
    EXPECT_EQ(c.Arg(0), cx);
    EXPECT_EQ(c.Arg(1), cy);
    angles.push_back(ScreenAngle(cx, cy, c.Arg(2), c.Arg(3)));
  }
  const double expected[] = {90, 162, 234, 306, 18};
  ASSERT_EQ(angles.size(), 5u);
  for (size_t i = 0; i < 5; ++i) EXPECT_NEAR(angles[i], expected[i], 0.7) << i;
  // The first point stands at the top.
  const TPoint first = s.series->PolarPosition(0);
  EXPECT_EQ(first.X, cx);
  EXPECT_LT(first.Y, cy);
  // Labels: the point labels, the number where a label is empty.
  std::vector<std::string> texts;
  for (const TCanvasCall& c : s.chart.Rec->CallsOf("TextOut3D", 0)) texts.push_back(c.Text);
  EXPECT_EQ(texts, (std::vector<std::string>{"Cars", "Phones", "Tables", "Monitors", "4"}));
}

TEST(PolarLabels, DegreesCountCounterClockwiseOrClockwiseAndNeverReach360) {
  struct Case {
    bool clockwise;
    double angle;
    const char* text;
  };
  const Case cases[] = {{false, 0, "0\xC2\xB0"},   {false, 90, "90\xC2\xB0"},   {true, 90, "270\xC2\xB0"},
                        {true, 0, "0\xC2\xB0"},    {false, 22.5, "22.5\xC2\xB0"}};
  TPolarSeries s(nullptr);
  for (const Case& c : cases) {
    s.SetClockWiseLabels(c.clockwise);
    EXPECT_EQ(s.CircleLabelText(0, c.angle), c.text);
  }
}

TEST(PolarSeries, OnlyTheFirstSeriesOfAClassDrawsTheBackground) {
  TExtraScene<TPolarSeries> s;
  auto* second = new TPolarSeries(&s.chart);
  second->SetParentChart(&s.chart);
  for (TCustomPolarSeries* p : {static_cast<TCustomPolarSeries*>(s.series), static_cast<TCustomPolarSeries*>(second)}) {
    p->AddXYPoint(0, 1);
    p->AddXYPoint(120, 2);
  }
  s.series->CirclePen()->SetColor(clFuchsia);
  second->CirclePen()->SetColor(clLime);
  s.chart.Pass();
  EXPECT_EQ(CallsInPen(s.chart.Rec, "EllipseWithZ", clFuchsia).size(), 1u);
  EXPECT_TRUE(CallsInPen(s.chart.Rec, "EllipseWithZ", clLime).empty());
  // With the axes in front, the grid comes after the last series' points.
  s.chart.SetAxisBehind(false);
  s.chart.BottomAxis()->Grid()->SetColor(clAqua);
  s.chart.Pass();
  const auto log = s.chart.Rec->CallsAt(0);
  int lastPoint = -1, firstSpoke = -1;
  for (int i = 0; i < static_cast<int>(log.size()); ++i) {
    if (log[i].Op == "LineTo3D") lastPoint = i;
    if (log[i].Op == "LineAtDepth" && log[i].PenColor == clAqua && firstSpoke < 0) firstSpoke = i;
  }
  ASSERT_GE(firstSpoke, 0);
  EXPECT_GT(firstSpoke, lastPoint);
}

TEST(PolarSeries, TheCircleClosesOnPointZero) {
  TExtraScene<TPolarSeries> s;
  s.series->Pointer()->SetVisible(false);
  s.series->SetSeriesColor(clRed);
  for (double a : {0.0, 90.0, 180.0}) s.series->AddXYPoint(a, 10);
  s.chart.LeftAxis()->SetRange(0, 20);
  s.chart.Pass();
  const auto lines = CallsInPen(s.chart.Rec, "LineTo3D", clRed);
  ASSERT_EQ(lines.size(), 3u);
  const TPoint first = s.series->PolarPosition(0);
  EXPECT_EQ(lines.back().Arg(0), first.X);
  EXPECT_EQ(lines.back().Arg(1), first.Y);
  s.series->SetCloseCircle(false);
  s.chart.Pass();
  EXPECT_EQ(CallsInPen(s.chart.Rec, "LineTo3D", clRed).size(), 2u);
}

TEST(PolarBarSeries, EachPointIsALineFromTheCentre) {
  TExtraScene<TPolarBarSeries> s;
  s.series->SetCircled(true);
  s.series->SetSeriesColor(clRed);
  s.series->AddXYPoint(0, 0);
  s.series->AddXYPoint(45, 5);
  s.series->AddXYPoint(135, 10);
  s.chart.Pass();
  const auto bars = CallsInPen(s.chart.Rec, "LineAtDepth", clRed);
  ASSERT_EQ(bars.size(), 3u);
  for (const TCanvasCall& c : bars) {
    EXPECT_EQ(c.Arg(0), s.series->RingCenterX);
    EXPECT_EQ(c.Arg(1), s.series->RingCenterY);
  }
  EXPECT_NEAR(ScreenAngle(bars[2].Arg(0), bars[2].Arg(1), bars[2].Arg(2), bars[2].Arg(3)), 135, 1);
}

TEST(PolarSeries, HitsPointersSegmentsAndFilledSectors) {
  TExtraScene<TPolarSeries> s;
  s.series->SetCircled(true);
  s.series->AddXYPoint(0, 0);
  s.series->AddXYPoint(0, 10);
  s.series->AddXYPoint(90, 10);
  s.series->AddXYPoint(180, 10);
  s.chart.Pass();
  const TPoint p1 = s.series->PolarPosition(1), p2 = s.series->PolarPosition(2);
  const int cx = s.series->RingCenterX, cy = s.series->RingCenterY;
  EXPECT_EQ(s.series->IndexAtPoint(p2.X + 2, p2.Y - 1), 2);                          // on the pointer
  EXPECT_EQ(s.series->IndexAtPoint((p1.X + p2.X) / 2, (p1.Y + p2.Y) / 2), 1);        // on the segment 1-2
  const TPoint inside = Point((cx + p1.X + p2.X) / 3, (cy + p1.Y + p2.Y) / 3);
  EXPECT_EQ(s.series->IndexAtPoint(inside.X, inside.Y), -1);                           // clear brush
  s.series->Brush()->SetStyle(bsSolid);
  s.chart.Pass();
  EXPECT_EQ(s.series->IndexAtPoint(inside.X, inside.Y), 1);
}

TEST(PolarGrid, RadiusRangesNearTheSmallestNumbersStillDraw) {
  // The radius scales' label step cannot grow below the normal numbers.
  TExtraScene<TPolarSeries> s;
  s.series->AddXYPoint(0, 1.82e-307);
  s.series->AddXYPoint(90, 1.8383e-307);
  s.chart.Pass();
  EXPECT_GT(s.chart.Rec->Count("EllipseWithZ", 0), 0);
}
