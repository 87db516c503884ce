// The Smith chart (the reflection mapping, its grid and who draws it) and
// the gauge (value angles, range changes, ticks, and the hand drawn in
// place without a full repaint).
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "chart/extra/grafgauges.h"
#include "chart/extra/grafsmith.h"
#include "extratest.h"
#include "platform/ui/forms.h"
#include "support/gui/guitest.h"

using guitest::ProcessEvents;
using guitest::SurfacePixel;

// ---- Smith -------------------------------------------------------------------------------------

TEST(SmithMapping, ImpedancesLandOnTheirReflectionCoefficient) {
  TExtraScene<TSmithSeries> s;
  s.series->SetCircled(true);
  s.series->AddXYPoint(1, 1);
  s.chart.Pass();
  const int cx = s.series->RingCenterX, cy = s.series->RingCenterY;
  const int rx = s.series->RadiusX, ry = s.series->RadiusY;
  ASSERT_GT(rx, 50);
  struct Case {
    double r, x;
    int dx, dy;  // from the centre
  };
  const Case cases[] = {
      {1, 0, 0, 0},        // matched: the centre
      {0, 1, 0, -ry},      // pure reactance +1: top
      {0, -1, 0, ry},      // -1: bottom
      {0, 0, -rx, 0},      // short circuit: left edge
      {3, 0, static_cast<int>(std::nearbyint(rx * 0.5)), 0},  // (3 - 1) / (3 + 1) = 0.5
  };
  for (const Case& c : cases) {
    const TPoint p = s.series->ImpedancePoint(c.r, c.x);
    EXPECT_EQ(p.X - cx, c.dx) << c.r << " " << c.x;
    EXPECT_EQ(p.Y - cy, c.dy) << c.r << " " << c.x;
  }
  const TPoint open = s.series->ImpedancePoint(1e6, 0);
  EXPECT_GE(open.X, cx + rx - 1);  // a very large resistance: the right edge
}

TEST(SmithGrid, ArcsAndCirclesBehindTheSeriesOnlyFromTheFirstSeries) {
  TExtraScene<TSmithSeries> s;
  s.series->AddXYPoint(0.5, 0.5);
  s.chart.LeftAxis()->Grid()->SetColor(clFuchsia);
  s.chart.BottomAxis()->Grid()->SetColor(clLime);
  s.chart.Pass();
  // Twelve reactances (the straight one included) and seven resistances.
  EXPECT_EQ(CallsInPen(s.chart.Rec, "Arc2D", clFuchsia).size(), 2u * 11);
  EXPECT_EQ(CallsInPen(s.chart.Rec, "HorizontalLine3D", clFuchsia).size(), 1u);
  EXPECT_EQ(CallsInPen(s.chart.Rec, "EllipseWithZ", clLime).size(), 7u);
  // Labels of the arcs end in the imaginary symbol.
  int imaginary = 0;
  for (const TCanvasCall& c : s.chart.Rec->CallsOf("TextOut3D", 0)) imaginary += c.Text.back() == 'i';
  EXPECT_EQ(imaginary, 23);

  s.chart.SetAxisBehind(false);
  s.chart.Pass();
  EXPECT_EQ(s.chart.Rec->Count("Arc2D", 0), 0);
  EXPECT_EQ(s.chart.Rec->Count("EllipseWithZ", 0), 1) << "the outer circle only";

  s.chart.SetAxisBehind(true);
  auto* second = new TSmithSeries(&s.chart);
  second->SetParentChart(&s.chart);
  second->AddXYPoint(2, -1);
  second->CirclePen()->SetColor(clAqua);
  s.chart.Pass();
  EXPECT_TRUE(CallsInPen(s.chart.Rec, "EllipseWithZ", clAqua).empty());
  EXPECT_EQ(CallsInPen(s.chart.Rec, "EllipseWithZ", clLime).size(), 7u);
}

TEST(SmithSeries, PropertiesLentByTheAxesWriteThrough) {
  TExtraScene<TSmithSeries> s;
  s.series->SetCLabels(false);
  EXPECT_FALSE(s.chart.LeftAxis()->Labels());
  s.series->SetRLabels(false);
  EXPECT_FALSE(s.chart.BottomAxis()->Labels());
  TChartPen pen;
  pen.SetColor(clNavy);
  s.series->SetRCirclePen(&pen);
  EXPECT_EQ(s.chart.BottomAxis()->Grid()->Color(), clNavy);
  // Without a chart: the series' own pen and labels on.
  TSmithSeries alone(nullptr);
  EXPECT_EQ(alone.CCirclePen(), alone.Pen());
  EXPECT_TRUE(alone.CLabels());
}

// ---- Gauge -------------------------------------------------------------------------------------

TEST(GaugeGeometry, ValueAnglesSpanTheTotalAngleFromTheRotation) {
  struct Case {
    double minimum, maximum, total, value, angle;
  };
  const Case cases[] = {
      {0, 100, 90, 0, 405},    {0, 100, 90, 100, 495}, {0, 100, 90, 50, 450},
      {0, 100, 270, 0, 225},   {-50, 50, 180, 0, 405},
  };
  for (const Case& c : cases) {
    TGaugeSeries g(nullptr);
    g.SetMaximum(c.maximum);
    g.SetMinimum(c.minimum);
    g.SetTotalAngle(c.total);
    EXPECT_DOUBLE_EQ(g.ValueAngle(c.value), c.angle) << c.value;
  }
}

TEST(GaugeSeries, RangeChangesPullTheValueAlong) {
  TGaugeSeries g(nullptr);
  int changes = 0;
  g.OnChange = [&](TObject*) { ++changes; };
  g.SetValue(60);
  EXPECT_EQ(changes, 1);
  g.SetValue(60);  // the same value: no change, nothing drawn
  EXPECT_EQ(changes, 1);
  g.SetMaximum(40);
  EXPECT_DOUBLE_EQ(g.Value(), 40);
  g.SetMinimum(45);
  EXPECT_DOUBLE_EQ(g.Value(), 45);
  // An emptied gauge gets its point back when read.
  g.RemoveAllPoints();
  EXPECT_DOUBLE_EQ(g.Value(), 0);
  EXPECT_EQ(g.PointCount(), 1);
}

TEST(GaugeDial, TicksLabelsAndTheFlatDial) {
  struct Case {
    double minimum, maximum, total, increment;
    int labels;
  };
  const Case cases[] = {
      {0, 100, 90, 10, 11},
      {0, 100, 360, 10, 10},  // a full circle does not label its end twice
      {0, 100, 90, 0, 11},    // no increment counts as 10
      {0, 100, 90, -5, 11},   // nor does a negative one
      {50, 50, 90, 10, 0},    // a flat dial: no ticks, no labels
  };
  for (const Case& c : cases) {
    TExtraScene<TGaugeSeries> s;
    s.series->SetMaximum(c.maximum);
    s.series->SetMinimum(c.minimum);
    s.series->SetTotalAngle(c.total);
    s.chart.LeftAxis()->SetIncrement(std::max(0.0, c.increment));
    if (c.increment < 0) s.chart.LeftAxis()->Increment();
    s.chart.LeftAxis()->Ticks()->SetColor(clFuchsia);
    s.chart.Pass();
    SCOPED_TRACE(testing::Message() << c.minimum << ".." << c.maximum << " total " << c.total);
    EXPECT_EQ(s.chart.Rec->Count("TextOut", 0), c.labels);
    EXPECT_EQ(CallsInPen(s.chart.Rec, "LineFromTo", clFuchsia).size(), static_cast<size_t>(c.labels));
  }
}

TEST(GaugeDial, AFlatDialPointsTheHandStraightUp) {
  TExtraScene<TGaugeSeries> s;
  s.series->SetMinimum(10);
  s.series->SetMaximum(10);
  s.series->SetHandDistance(0);
  s.series->Center()->SetVisible(false);
  s.chart.Pass();
  TPoint start, tip;
  s.series->HandPoints(start, tip);
  EXPECT_EQ(start.X, s.series->RingCenterX);
  EXPECT_EQ(tip.X, s.series->RingCenterX);
  EXPECT_EQ(tip.Y, s.series->RingCenterY - s.series->RadiusY);
  // The hand is hit within two pixels of its line.
  EXPECT_EQ(s.series->IndexAtPoint(tip.X + 2, (tip.Y + start.Y) / 2), 0);
  EXPECT_EQ(s.series->IndexAtPoint(tip.X + 4, (tip.Y + start.Y) / 2), -1);
}

TEST(GaugeHand, ValueChangesWithoutFullRepaintLeaveOneHand) {
  auto form = std::make_unique<TForm>(nullptr);
  form->SetBounds(0, 0, 360, 300);
  auto* chart = new TChart(form.get());
  chart->SetParent(form.get());
  chart->SetBounds(0, 0, 320, 260);
  auto* gauge = new TGaugeSeries(chart);
  gauge->SetParentChart(chart);
  gauge->Pen()->SetColor(clRed);
  gauge->Pen()->SetWidth(1);
  gauge->SetValue(20);
  int renders = 0;
  chart->OnAfterDraw = [&](TObject*) { ++renders; };
  form->Show();
  ProcessEvents();
  SurfacePixel(chart, 0, 0);
  const int before = renders;
  ASSERT_GE(before, 1);
  auto picture = [&] {
    std::vector<TColor> p;
    for (int y = 0; y < chart->Height(); ++y)
      for (int x = 0; x < chart->Width(); ++x) p.push_back(SurfacePixel(chart, x, y));
    return p;
  };
  auto differing = [](const std::vector<TColor>& a, const std::vector<TColor>& b) {
    int n = 0;
    for (size_t i = 0; i < a.size(); ++i) n += a[i] != b[i];
    return n;
  };
  const auto at20 = picture();
  gauge->SetValue(50);
  gauge->SetValue(80);
  const auto moved = picture();
  EXPECT_EQ(renders, before) << "only the hand was drawn";
  EXPECT_GT(differing(at20, moved), 20);
  // A whole drawing at 80 shows the same picture: the old hands are gone.
  chart->Invalidate();
  ProcessEvents();
  SurfacePixel(chart, 0, 0);
  EXPECT_GT(renders, before);
  EXPECT_LE(differing(picture(), moved), 2);
  form.reset();
  ProcessEvents();
}
