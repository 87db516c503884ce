// Wind rose labels and the clock: its hands for a time given through
// OnGetTime, its dial numerals, the chart's axes while it is on the chart
// and the timer that repaints it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "chart/extra/grafrose.h"
#include "extratest.h"
#include "platform/rtl/datetime.h"
#include "platform/ui/extctrls.h"

TEST(WindRose, CompassLabelsEveryFifteenDegreesMirroredOnRequest) {
  struct Case {
    bool mirror;
    double angle;
    const char* text;
  };
  const Case cases[] = {{false, 0, "N"},     {false, 360, "N"},  {false, 90, "W"},    {false, 15, "NNNW"},
                        {false, 135, "SW"},  {false, 270, "E"},  {false, 345, "NNNE"}, {false, 10, ""},
                        {false, 44.6, "NW"}, {true, 90, "E"},    {true, 30, "NNE"},    {true, 0, "N"}};
  TWindRoseSeries rose(nullptr);
  for (const Case& c : cases) {
    rose.SetMirrorLabels(c.mirror);
    EXPECT_EQ(rose.CircleLabelText(0, c.angle), c.text) << c.angle << (c.mirror ? " mirrored" : "");
  }
}

TEST(WindRose, AnIncrementOf10LabelsOnlyMultiplesOf30) {
  TExtraScene<TWindRoseSeries> s;
  s.series->AddXYPoint(0, 1);
  s.series->AddXYPoint(200, 5);
  s.series->SetAngleIncrement(10);
  s.chart.SetAxisVisible(false);
  s.chart.Pass();
  std::vector<std::string> labels;
  for (const TCanvasCall& c : s.chart.Rec->CallsOf("TextOut3D", 0))
    if (!c.Text.empty()) labels.push_back(c.Text);
  EXPECT_EQ(labels, (std::vector<std::string>{"N", "NNW", "NWW", "W", "SWW", "SSW", "S", "SSE", "SEE", "E", "NEE",
                                              "NNE"}));
  // North stands at the top.
  const TCanvasCall north = s.chart.Rec->CallsOf("TextOut3D", 0).front();
  EXPECT_EQ(north.Arg(0), s.series->RingCenterX);
  EXPECT_LT(north.Arg(1), s.series->RingCenterY - s.series->RadiusY);
}

namespace {

// The arrows of one paint of a clock showing the given time: hour, minute.
std::vector<TCanvasCall> HandsAt(TExtraScene<TClockSeries>& s, int Hour, int Minute) {
  s.series->OnGetTime = [=](TClockSeries*, TDateTime& t) { t = EncodeDate(2024, 5, 17) + EncodeTime(Hour, Minute, 0, 0); };
  s.chart.Pass();
  return s.chart.Rec->CallsOf("Arrow", 0);
}

}  // namespace

TEST(ClockSeries, HandsFollowTheTimeGivenByOnGetTime) {
  TExtraScene<TClockSeries> s;
  struct Case {
    int hour, minute;
    double hourAngle, minuteAngle;  // on screen, counter-clockwise from the right
  };
  // 03:00: the hour hand right, the minute hand up; 15:30: the hour hand
  // halfway between the 3 and the 4, the minute hand down.
  const Case cases[] = {{3, 0, 0, 90}, {15, 30, 345, 270}, {0, 0, 90, 90}, {9, 15, 172.5, 0}};
  for (const Case& c : cases) {
    const auto arrows = HandsAt(s, c.hour, c.minute);
    ASSERT_EQ(arrows.size(), 2u);
    const int cx = s.series->RingCenterX, cy = s.series->RingCenterY;
    for (const TCanvasCall& a : arrows) {
      EXPECT_EQ(a.Arg(0), 1) << "filled";
      EXPECT_EQ(a.Arg(1), cx);
      EXPECT_EQ(a.Arg(2), cy);
    }
    SCOPED_TRACE(testing::Message() << c.hour << ":" << c.minute);
    EXPECT_NEAR(ScreenAngle(cx, cy, arrows[0].Arg(3), arrows[0].Arg(4)), c.hourAngle, 1);
    EXPECT_NEAR(ScreenAngle(cx, cy, arrows[1].Arg(3), arrows[1].Arg(4)), c.minuteAngle, 1);
    // The hour hand is the shorter one.
    EXPECT_LT(std::hypot(arrows[0].Arg(3) - cx, arrows[0].Arg(4) - cy),
              std::hypot(arrows[1].Arg(3) - cx, arrows[1].Arg(4) - cy));
  }
}

TEST(ClockSeries, DialNumeralsRomanOrDecimalWithTwelveAtTheTop) {
  struct Case {
    TClockSeriesStyle style;
    double angle;
    const char* text;
  };
  const Case cases[] = {{cssRoman, 0, "XII"}, {cssRoman, 270, "III"}, {cssRoman, 30, "XI"},
                        {cssDecimal, 0, "12"}, {cssDecimal, 90, "9"},  {cssDecimal, 330, "1"}};
  TClockSeries clock(nullptr);
  for (const Case& c : cases) {
    clock.SetStyle(c.style);
    EXPECT_EQ(clock.CircleLabelText(0, c.angle), c.text) << c.angle;
  }
}

TEST(ClockSeries, TakesTheChartsAxesAndGivesThemBack) {
  TSeriesTestChart chart;
  ASSERT_TRUE(chart.AxisVisible());
  {
    auto* clock = new TClockSeries(&chart);
    clock->SetParentChart(&chart);
    EXPECT_FALSE(chart.AxisVisible());
    EXPECT_DOUBLE_EQ(clock->AngleIncrement(), 30);
    clock->SetParentChart(nullptr);
    EXPECT_TRUE(chart.AxisVisible());
    delete clock;
  }
  chart.SetAxisVisible(false);
  auto* clock = new TClockSeries(&chart);
  clock->SetParentChart(&chart);
  delete clock;
  EXPECT_FALSE(chart.AxisVisible());
}

TEST(ClockSeries, ItsTimerRepaintsTheChartOnce) {
  TExtraScene<TClockSeries> s;
  ASSERT_TRUE(s.series->Timer());
  EXPECT_EQ(s.series->Timer()->Interval(), 1000u);
  EXPECT_TRUE(s.series->Timer()->Enabled());
  s.chart.Pass();
  const int before = s.chart.Rec->Count("Arrow", 0);
  s.series->Timer()->Timer();
  EXPECT_TRUE(s.series->Timer()->Enabled());
  // One row in the legend: the time in the long time format.
  s.series->OnGetTime = [](TClockSeries*, TDateTime& t) { t = EncodeTime(15, 30, 5, 0); };
  EXPECT_EQ(s.series->LegendEntryCount(), 1);
  EXPECT_EQ(s.series->ComposeLegendText(0, ltsPlain), "15:30:05");
  EXPECT_EQ(before, 2);
}
