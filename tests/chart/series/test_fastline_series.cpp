// Fast line series: points sharing a pixel column, null points, the entry
// from the point before the visible range, pen and colour kept together,
// live adding without repaint, the hit test, margins, and a picture equal
// to drawing every segment.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <random>

#include "chart/series/series.h"
#include "platform/gfx/bitmap.h"
#include "seriestest.h"

namespace {

constexpr TColor kLine = clRed;

struct TFastScene {
  explicit TFastScene(int width = 400, int height = 300) : chart(width, height) {
    series = new TFastLineSeries(&chart);
    series->SetParentChart(&chart);
    series->SetSeriesColor(kLine);
  }
  std::vector<TCanvasCall> Lines() { return chart.CallsWithPen("LineTo", kLine); }
  TSeriesTestChart chart;
  TFastLineSeries* series;
};

TEST(FastLineSeries, DrawAllPointsOffDrawsOneSegmentPerColumn) {
  TFastScene s(560, 300);
  std::mt19937 random(3);
  std::uniform_real_distribution<double> noise(-1, 1);
  for (int i = 0; i < 10000; ++i) s.series->AddXYPoint(i, std::sin(i * 0.01) + noise(random));
  s.series->SetDrawAllPoints(false);
  s.chart.Pass();
  const int plotWidth = s.chart.ChartArea.Right - s.chart.ChartArea.Left;
  ASSERT_LE(plotWidth, 500);
  const auto lines = s.Lines();
  EXPECT_LE(lines.size(), 501u);
  EXPECT_GT(lines.size(), 400u);
  for (size_t k = 1; k < lines.size(); ++k) ASSERT_NE(lines[k].Arg(0), lines[k - 1].Arg(0));
  // With every point drawn, a point on the previous pixel is still never drawn twice.
  s.series->SetDrawAllPoints(true);
  s.chart.Pass();
  const auto all = s.Lines();
  EXPECT_GT(all.size(), lines.size());
  for (size_t k = 1; k < all.size(); ++k)
    ASSERT_FALSE(all[k].Arg(0) == all[k - 1].Arg(0) && all[k].Arg(1) == all[k - 1].Arg(1));
}

// The series' picture against the plain drawing of every segment whose
// pixel differs, line by line with the same pen and clip. Fill adds the
// points and sets the axis range.
void ExpectSameAsEverySegment(const std::string& name, const std::function<void(TFastScene&)>& fill) {
  SCOPED_TRACE(name);
  TFastScene s(500, 300);
  fill(s);
  const int points = s.series->PointCount();
  s.chart.Pass();
  TBitmap drawn;
  drawn.Assign(s.chart.Rec->Surface());
  const int firstVisible = s.series->FirstVisible, lastVisible = s.series->LastVisible;

  s.series->LinePen()->SetVisible(false);
  s.chart.Pass();
  TCanvas* c = s.chart.Rec->Surface()->Canvas();
  // The flat chart clips its series to the inside of the plot's frame.
  const TRect& area = s.chart.ChartArea;
  ClipCanvasToRect(c, Rect(area.Left + 1, area.Top + 1, area.Right, area.Bottom));
  c->Pen()->SetColor(kLine);
  c->Pen()->SetWidth(1);
  c->Pen()->SetStyle(psSolid);
  const int first = std::max(0, firstVisible - 1);
  int px = s.series->PointXPixel(first), py = s.series->PointYPixel(first);
  c->MoveTo(px, py);
  for (int i = first + 1; i <= lastVisible; ++i) {
    const int x = s.series->PointXPixel(i), yy = s.series->PointYPixel(i);
    if (x == px && yy == py) continue;
    c->LineTo(x, yy);
    px = x;
    py = yy;
  }
  RestoreClipRegion(c);
  int differing = 0;
  for (int yy = 0; yy < drawn.Height(); ++yy)
    for (int x = 0; x < drawn.Width(); ++x) differing += drawn.Canvas()->Pixels(x, yy) != c->Pixels(x, yy);
  EXPECT_EQ(differing, 0);
  EXPECT_LT(s.chart.Rec->Count("LineTo", 0), points);
}

// A random walk of n points; the line leaves the plot on both sides.
std::function<void(TFastScene&)> Walk(int n, unsigned seed, double spread) {
  return [=](TFastScene& s) {
    std::mt19937 random(seed);
    std::normal_distribution<double> noise(0, spread);
    double y = 0;
    for (int i = 0; i < n; ++i) {
      y += noise(random);
      s.series->AddXYPoint(i * 0.5, y);
    }
    s.chart.BottomAxis()->SetRange(n * 0.05, n * 0.45);
  };
}

TEST(FastLineSeries, PictureEqualsDrawingEverySegment) {
  ExpectSameAsEverySegment("few points: mostly one per column", Walk(200, 1, 3));
  ExpectSameAsEverySegment("long runs in each column", Walk(20000, 2, 1));
  ExpectSameAsEverySegment("runs of repeated pixels", Walk(20000, 3, 0.02));
  ExpectSameAsEverySegment("runs leaving the plot at top and bottom", Walk(50000, 4, 10));
  // Columns of thousands of points: plateaus entered at one level, then at a
  // higher one and a middle one, changing exactly where a column's rows are
  // taken in a new block; and the same with noise.
  for (bool noisy : {false, true})
    ExpectSameAsEverySegment(noisy ? "noisy columns" : "plateaus", [noisy](TFastScene& s) {
      constexpr int kPerColumn = 8194;
      std::mt19937 random(5);
      std::uniform_int_distribution<int> jitter(-2, 2);
      for (int c = 0; c < 14; ++c)
        for (int k = 0; k < kPerColumn; ++k) {
          const double level = c * 5 % 17 + (k == 0 ? 0 : k < 4097 ? 9 : 3);
          s.series->AddXYPoint(c, level + (noisy ? jitter(random) * 0.3 : 0));
        }
      s.chart.BottomAxis()->SetRange(1, 12);
    });
  // A powder pattern: sharp peaks over a flat background, a thousand and
  // more points a column, the columns' rows taken from their extremes; the
  // same upside down, on a logarithmic scale (row by row), and with NaNs
  // among the values (row by row in their columns).
  auto powder = [](int n, const std::function<void(TFastScene&)>& axes, int nanEvery) {
    return [=](TFastScene& s) {
      std::mt19937 random(9);
      std::uniform_real_distribution<double> noise(-1, 1);
      for (int i = 0; i < n; ++i) {
        const double x = 10 + 120.0 * i / n;
        double y = 100 + 20 * noise(random);
        for (double at : {23.1, 40.7, 41.0, 77.5, 101.2}) y += 3000 / (1 + 400 * (x - at) * (x - at));
        s.series->AddXYPoint(x, nanEvery > 0 && i % nanEvery == nanEvery / 2 ? std::nan("") : y);
      }
      axes(s);
    };
  };
  ExpectSameAsEverySegment("powder pattern", powder(100000, [](TFastScene&) {}, 0));
  ExpectSameAsEverySegment("powder pattern, inverted axis",
                           powder(40000, [](TFastScene& s) { s.chart.LeftAxis()->SetInverted(true); }, 0));
  ExpectSameAsEverySegment("powder pattern, logarithmic axis",
                           powder(40000, [](TFastScene& s) { s.chart.LeftAxis()->SetLogarithmic(true); }, 0));
  ExpectSameAsEverySegment("powder pattern with NaNs", powder(40000, [](TFastScene&) {}, 1009));
  ExpectSameAsEverySegment("powder pattern zoomed into one peak", powder(40000, [](TFastScene& s) {
    s.chart.BottomAxis()->SetRange(40.5, 41.2);
    s.chart.LeftAxis()->SetRange(500, 2500);
  }, 0));
}

TEST(FastLineSeries, NullPointBreaksTheLineOnlyWithIgnoreNullsOff) {
  for (bool ignore : {true, false}) {
    TFastScene s;
    for (int i = 0; i < 5; ++i) s.series->AddXYPoint(i, i % 2);
    s.series->SetPointColor(2, clNone);
    s.series->SetIgnoreNulls(ignore);
    s.chart.Pass();
    const auto lines = s.Lines();
    const auto moves = s.chart.CallsWithPen("MovePenTo", kLine);
    if (ignore) {
      EXPECT_EQ(lines.size(), 4u);
    } else {
      // Stops at point 1, moves to the null point 2, restarts toward point 3.
      ASSERT_EQ(lines.size(), 3u);
      ASSERT_EQ(moves.size(), 2u);
      EXPECT_EQ(CallArgs(moves[1]), (std::vector<int>{s.series->PointXPixel(2), s.series->PointYPixel(2)}));
      EXPECT_EQ(CallArgs(lines[1]), (std::vector<int>{s.series->PointXPixel(3), s.series->PointYPixel(3)}));
    }
  }
}

TEST(FastLineSeries, ScrolledPassStartsAtThePointBefore) {
  for (bool drawAll : {true, false}) {
    TFastScene s;
    for (int i = 0; i < 20; ++i) s.series->AddXYPoint(i, i * i);
    s.series->SetDrawAllPoints(drawAll);
    s.chart.BottomAxis()->SetRange(6.5, 15);
    s.chart.Pass();
    ASSERT_EQ(s.series->FirstVisible, 7);
    const auto moves = s.chart.CallsWithPen("MovePenTo", kLine);
    ASSERT_FALSE(moves.empty());
    EXPECT_EQ(CallArgs(moves[0]), (std::vector<int>{s.series->PointXPixel(6), s.series->PointYPixel(6)}));
    EXPECT_EQ(CallArgs(s.Lines().at(0)), (std::vector<int>{s.series->PointXPixel(7), s.series->PointYPixel(7)}));
  }
}

TEST(FastLineSeries, SeriesColourAndLinePenAgree) {
  TFastLineSeries s(nullptr);
  s.SetSeriesColor(clGreen);
  EXPECT_EQ(s.LinePen()->Color(), clGreen);
  TChartPen pen;
  pen.SetColor(clNavy);
  pen.SetWidth(3);
  s.SetLinePen(&pen);
  EXPECT_EQ(s.SeriesColor(), clNavy);
  EXPECT_EQ(s.LinePen()->Width(), 3);
}

TEST(FastLineSeries, MarginsFollowThePenWidth) {
  for (auto [width, margin] : {std::pair{1, 1}, {2, 2}, {3, 3}, {4, 3}, {6, 4}}) {
    TFastLineSeries s(nullptr);
    s.LinePen()->SetWidth(width);
    int a = 0, b = 0;
    s.GetHorizMargins(a, b);
    EXPECT_EQ(a, margin) << width;
    EXPECT_EQ(b, margin) << width;
    s.GetVertMargins(a, b);
    EXPECT_EQ(a, margin) << width;
  }
}

TEST(FastLineSeries, AutoRepaintOffDrawsTheNewSegmentAndStillFeedsDependents) {
  TFastScene s;
  for (int i = 0; i < 5; ++i) s.series->AddXYPoint(i, i);
  auto* copy = new TLineSeries(&s.chart);
  copy->SetParentChart(&s.chart);
  copy->SetDataSource(s.series);
  ASSERT_EQ(copy->PointCount(), 5);
  s.chart.Pass();
  s.series->SetAutoRepaint(false);
  int afterAdd = 0;
  s.series->OnAfterAdd = [&](TChartSeries*, int) { ++afterAdd; };
  s.chart.Rec->Clear();
  s.series->AddXYPoint(5, 3);
  // One segment straight onto the canvas, from point 4 to the new point.
  const auto lines = s.Lines();
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(CallArgs(lines[0]), (std::vector<int>{s.series->PointXPixel(5), s.series->PointYPixel(5)}));
  EXPECT_EQ(afterAdd, 0);
  EXPECT_EQ(copy->PointCount(), 6);
  EXPECT_DOUBLE_EQ(copy->YValues()->GetValue(5), 3);
  // Without a chart nothing is drawn, and the dependents still hear of it.
  s.series->SetParentChart(nullptr);
  s.series->AddXYPoint(6, 1);
  EXPECT_EQ(copy->PointCount(), 7);
}

TEST(FastLineSeries, HitTestFollowsTheStraightSegments) {
  TFastScene s;
  s.series->AddXYPoint(0, 0);
  s.series->AddXYPoint(10, 10);
  s.series->AddXYPoint(20, 0);
  s.series->SetStairs(true);
  s.chart.Pass();
  const int x0 = s.series->PointXPixel(0), y0 = s.series->PointYPixel(0);
  const int x1 = s.series->PointXPixel(1), y1 = s.series->PointYPixel(1);
  EXPECT_EQ(s.series->IndexAtPoint(x1, y1), 1);
  EXPECT_EQ(s.series->IndexAtPoint((x0 + x1) / 2, (y0 + y1) / 2), 0);
  // The stair corner lies off the straight segment.
  EXPECT_EQ(s.series->IndexAtPoint(x1, y0), -1);
  EXPECT_EQ(s.series->EditorFormClassName(), "TFastLineSeriesEditor");
}

}  // namespace
