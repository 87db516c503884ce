// Line and point series: segments, null points, the entry at the plot's
// edge, stairs, pointers, hit tests, stacking, the outline pass, legend
// symbols, defaults and copying, and the point stream.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "chart/series/series.h"
#include "platform/rtl/streams.h"
#include "seriestest.h"

namespace {

constexpr TColor kLine = clRed;

struct TLineScene {
  explicit TLineScene(int n = 0) {
    series = new TLineSeries(&chart);
    series->SetParentChart(&chart);
    series->SetSeriesColor(kLine);
    for (int i = 0; i < n; ++i) series->AddXYPoint(i, i % 2 ? 3 : 1);
  }
  std::vector<TCanvasCall> Segments() { return chart.CallsWithPen("LineFromTo", kLine); }
  TSeriesTestChart chart;
  TLineSeries* series;
};

TEST(LineSeries, NullPointsAreNeverJoined) {
  // Three points with the middle one null: no segment, but both other pointers.
  {
    TLineScene s(3);
    s.series->SetPointColor(1, clNone);
    s.series->Pointer()->SetVisible(true);
    s.series->Pointer()->SetStyle(psCircle);
    s.chart.Pass();
    EXPECT_TRUE(s.Segments().empty());
    const auto pointers = s.chart.Rec->CallsOf("Ellipse", 0);
    ASSERT_EQ(pointers.size(), 2u);
    EXPECT_EQ(pointers[0].Arg(0), s.series->PointXPixel(0) - 4);
    EXPECT_EQ(pointers[1].Arg(0), s.series->PointXPixel(2) - 4);
  }
  // A lone null point gets no pointer either.
  {
    TLineScene s;
    s.series->AddXYPoint(1, 1, "", clNone);
    s.series->Pointer()->SetVisible(true);
    s.series->Pointer()->SetStyle(psCircle);
    s.chart.Pass();
    EXPECT_EQ(s.chart.Rec->Count("Ellipse", 0), 0);
  }
  // Four points with the second null: only the segment from point 3 to point 4.
  {
    TLineScene s(4);
    s.series->SetPointColor(1, clNone);
    s.chart.Pass();
    const auto seg = s.Segments();
    ASSERT_EQ(seg.size(), 1u);
    EXPECT_EQ(CallArgs(seg[0]), (std::vector<int>{s.series->PointXPixel(2), s.series->PointYPixel(2),
                                                  s.series->PointXPixel(3), s.series->PointYPixel(3)}));
  }
}

TEST(LineSeries, PointsOnOnePixelDrawNoSegment) {
  TLineScene s;
  s.series->AddXYPoint(0, 0);
  s.series->AddXYPoint(1e-9, 1e-9);
  s.series->AddXYPoint(10, 10);
  s.chart.Pass();
  const auto seg = s.Segments();
  ASSERT_EQ(seg.size(), 1u);
  EXPECT_NE(seg[0].Arg(0), seg[0].Arg(2));
}

TEST(LineSeries, ZoomedLineEntersAtTheInterpolatedEdgeHeight) {
  struct TCase {
    bool Log;
    bool Stairs;
  };
  for (const TCase c : {TCase{false, false}, TCase{true, false}, TCase{false, true}}) {
    SCOPED_TRACE(std::string(c.Log ? "log" : "linear") + (c.Stairs ? " stairs" : ""));
    TLineScene s;
    for (int i = 0; i < 10; ++i) s.series->AddXYPoint(i, std::pow(2.0, i));
    s.series->SetStairs(c.Stairs);
    s.chart.LeftAxis()->SetLogarithmic(c.Log);
    s.chart.BottomAxis()->SetRange(4.5, 9);
    s.chart.Pass();
    ASSERT_EQ(s.series->FirstVisible, 5);
    const int edge = s.chart.ChartArea.Left;
    const double xEdge = s.chart.BottomAxis()->PixelToValue(edge);
    int expectY;
    if (c.Stairs) expectY = s.series->PointYPixel(4);
    else if (c.Log) expectY = s.chart.LeftAxis()->ValueToPixelY(std::pow(2.0, xEdge));  // exact in log space
    else expectY = s.chart.LeftAxis()->ValueToPixelY(16 + (xEdge - 4) * 16);
    const auto draws = c.Stairs ? s.chart.CallsWithPen("MovePenTo", kLine) : s.Segments();
    ASSERT_FALSE(draws.empty());
    EXPECT_EQ(draws[0].Arg(0), edge);
    EXPECT_EQ(draws[0].Arg(1), expectY);
  }
}

TEST(LineSeries, StairsRunAcrossThenUpOrUpThenAcross) {
  for (bool inverted : {false, true}) {
    TLineScene s;
    s.series->AddXYPoint(0, 0);
    s.series->AddXYPoint(10, 10);
    s.series->SetStairs(true);
    s.series->SetInvertedStairs(inverted);
    s.chart.Pass();
    const int x0 = s.series->PointXPixel(0), y0 = s.series->PointYPixel(0);
    const int x1 = s.series->PointXPixel(1), y1 = s.series->PointYPixel(1);
    const auto lines = s.chart.CallsWithPen("LineTo", kLine, 0);
    ASSERT_EQ(lines.size(), 2u);
    if (!inverted) EXPECT_EQ(CallArgs(lines[0]), (std::vector<int>{x1, y0}));
    else EXPECT_EQ(CallArgs(lines[0]), (std::vector<int>{x0, y1}));
    EXPECT_EQ(CallArgs(lines[1]), (std::vector<int>{x1, y1}));

    // Either stroke is hit and answers the step's first point; the corner the
    // other way round is off the line.
    const int mx = (x0 + x1) / 2, my = (y0 + y1) / 2;
    if (!inverted) {
      EXPECT_EQ(s.series->IndexAtPoint(mx, y0), 0);
      EXPECT_EQ(s.series->IndexAtPoint(x1, my), 0);
      EXPECT_EQ(s.series->IndexAtPoint(x0, y1), -1);
    } else {
      EXPECT_EQ(s.series->IndexAtPoint(x0, my), 0);
      EXPECT_EQ(s.series->IndexAtPoint(mx, y1), 0);
      EXPECT_EQ(s.series->IndexAtPoint(x1, y0), -1);
    }
  }
}

TEST(LineSeries, PointerHitIsStrictlyInsideTheHalfSize) {
  TSeriesTestChart chart;
  auto* s = new TPointSeries(&chart);
  s->SetParentChart(&chart);
  s->AddXYPoint(0, 0);
  s->AddXYPoint(10, 10);
  int clicked = -1;
  s->OnClickPointer = [&](TCustomSeries*, int index, int, int) { clicked = index; };
  chart.Pass();
  const int x = s->PointXPixel(1), y = s->PointYPixel(1);
  EXPECT_EQ(s->IndexAtPoint(x + 3, y - 3), 1);
  EXPECT_EQ(clicked, 1);
  EXPECT_EQ(s->IndexAtPoint(x + 4, y), -1);
  // A point drawn as nothing is hit only on its pixel.
  s->Pointer()->SetStyle(psNothing);
  EXPECT_EQ(s->IndexAtPoint(x + 1, y), -1);
  EXPECT_EQ(s->IndexAtPoint(x, y), 1);
}

TEST(LineSeries, IndexAtPointAnswersAValidIndexOrMinusOne) {
  // Clicks all over a chart whose series have pointers, lines, stairs, areas
  // and a zoomed range never answer an index outside the points.
  TSeriesTestChart chart;
  auto* line = new TLineSeries(&chart);
  auto* points = new TPointSeries(&chart);
  auto* area = new TAreaSeries(&chart);
  auto* fast = new TFastLineSeries(&chart);
  std::mt19937 random(7);
  std::uniform_real_distribution<double> value(0, 100);
  for (TChartSeries* s : std::initializer_list<TChartSeries*>{line, points, area, fast}) {
    s->SetParentChart(&chart);
    for (int i = 0; i < 60; ++i) s->AddXYPoint(i, value(random));
  }
  line->Pointer()->SetVisible(true);
  line->SetStairs(true);
  chart.BottomAxis()->SetRange(10.5, 40.5);
  chart.Pass();
  for (TChartSeries* s : std::initializer_list<TChartSeries*>{line, points, area, fast}) {
    int hits = 0;
    for (int x = -5; x < chart.Width() + 5; x += 3)
      for (int y = -5; y < chart.Height() + 5; y += 3) {
        const int i = s->IndexAtPoint(x, y);
        ASSERT_TRUE(i == -1 || (i >= 0 && i < s->PointCount())) << s->ClassName() << " " << i;
        hits += i >= 0;
      }
    EXPECT_GT(hits, 0) << s->ClassName();
  }
}

TEST(LineSeries, StackedSeriesDrawAtTheSum) {
  TSeriesTestChart chart;
  auto* a = new TLineSeries(&chart);
  auto* b = new TLineSeries(&chart);
  auto* p = new TPointSeries(&chart);
  for (TChartSeries* s : std::initializer_list<TChartSeries*>{a, b, p}) s->SetParentChart(&chart);
  for (int i = 0; i < 3; ++i) {
    a->AddXYPoint(i, i == 2 ? -2 : 5);
    b->AddXYPoint(i, i == 2 ? -3 : 1 + i);
    p->AddXYPoint(i, 1);
  }
  a->SetStacked(cssStack);
  // One class family follows; the point series is no line series.
  EXPECT_EQ(b->Stacked(), cssStack);
  EXPECT_EQ(p->Stacked(), cssNone);
  chart.Pass();
  TChartAxis* left = chart.LeftAxis();
  EXPECT_EQ(b->PointYPixel(0), left->ValueToPixelY(6));
  EXPECT_EQ(b->PointYPixel(1), left->ValueToPixelY(7));
  // A negative value stacks only on the negative values below it.
  EXPECT_EQ(b->PointYPixel(2), left->ValueToPixelY(-5));
  EXPECT_DOUBLE_EQ(b->LargestY(), 7);
  EXPECT_DOUBLE_EQ(b->SmallestY(), -5);

  a->SetStacked(cssStack100);
  chart.Pass();
  EXPECT_DOUBLE_EQ(left->Minimum(), 0);
  EXPECT_DOUBLE_EQ(left->Maximum(), 100);
  EXPECT_EQ(a->PointYPixel(0), left->ValueToPixelY(5 * 100.0 / 6));
  EXPECT_EQ(b->PointYPixel(0), left->ValueToPixelY(100));
}

TEST(LineSeries, OutlinePassDrawsAWiderPenUnderTheLine) {
  TLineScene s(3);
  s.series->LinePen()->SetWidth(2);
  s.series->OutLine()->SetVisible(true);
  s.series->OutLine()->SetColor(clBlue);
  s.series->OutLine()->SetWidth(1);
  s.chart.Pass();
  const auto under = s.chart.CallsWithPen("LineFromTo", clBlue);
  const auto over = s.Segments();
  ASSERT_EQ(under.size(), 2u);
  ASSERT_EQ(over.size(), 2u);
  EXPECT_EQ(under[0].PenWidth, 6);
  EXPECT_EQ(over[0].PenWidth, 2);
  // The outline is drawn first, and the series keeps its own pen and colour
  // (also when its line pen has another colour than the series).
  EXPECT_LT(&under.back() - &under.front(), 2);
  EXPECT_EQ(s.series->LinePen()->Width(), 2);
  EXPECT_EQ(s.series->SeriesColor(), kLine);
}

TEST(LineSeries, ShadowPassIsOffsetAndRestoresTheAxes) {
  TLineScene s(2);
  s.series->Shadow()->SetColor(clGray);
  s.series->Shadow()->SetHorizSize(3);
  s.series->Shadow()->SetVertSize(2);
  s.chart.Pass();
  const auto shadow = s.chart.CallsWithPen("LineFromTo", clGray);
  const auto line = s.Segments();
  ASSERT_EQ(shadow.size(), 1u);
  ASSERT_EQ(line.size(), 1u);
  EXPECT_EQ(shadow[0].Arg(0), line[0].Arg(0) + 3);
  EXPECT_EQ(shadow[0].Arg(1), line[0].Arg(1) + 2);
  EXPECT_EQ(s.series->PointXPixel(0), line[0].Arg(0));
}

TEST(LineSeries, LegendSymbolsLimitThePointer) {
  TSeriesTestChart chart;
  auto* line = new TLineSeries(&chart);
  auto* points = new TPointSeries(&chart);
  for (TCustomSeries* s : {static_cast<TCustomSeries*>(line), static_cast<TCustomSeries*>(points)}) {
    s->SetParentChart(&chart);
    s->Pointer()->SetStyle(psCircle);
    s->Pointer()->SetHorizSize(20);
    s->Pointer()->SetVertSize(20);
  }
  line->Pointer()->SetVisible(true);
  const TRect r = Rect(10, 10, 40, 22);  // 30 x 12
  chart.Rec->Clear();
  line->PaintLegendSymbol(-1, r);
  ASSERT_EQ(chart.Rec->Count("HorizontalLine", 0), 1);
  auto e = chart.Rec->CallsOf("Ellipse", 0);
  ASSERT_EQ(e.size(), 1u);
  EXPECT_EQ(CallArgs(e[0]), (std::vector<int>{25 - 10, 16 - 4, 25 + 10, 16 + 4}));
  chart.Rec->Clear();
  points->PaintLegendSymbol(-1, r);
  EXPECT_EQ(chart.Rec->Count("HorizontalLine", 0), 0);
  e = chart.Rec->CallsOf("Ellipse", 0);
  ASSERT_EQ(e.size(), 1u);
  EXPECT_EQ(CallArgs(e[0]), (std::vector<int>{25 - 16, 16 - 7, 25 + 16, 16 + 7}));
}

TEST(LineSeries, DefaultsAndCopying) {
  TSeriesTestChart chart;
  TPointSeries points(nullptr);
  EXPECT_TRUE(points.Pointer()->Visible());
  EXPECT_EQ(points.Pointer()->Style(), psRectangle);
  EXPECT_EQ(points.Pointer()->HorizSize(), 4);
  EXPECT_FALSE(points.DrawLine());
  EXPECT_FALSE(points.ClickableLine());
  EXPECT_EQ(points.EditorFormClassName(), "TSeriesPointerEditor");
  TLineSeries line(nullptr);
  EXPECT_TRUE(line.DrawLine());
  EXPECT_FALSE(line.Pointer()->Visible());
  EXPECT_EQ(line.EditorFormClassName(), "TCustomSeriesEditor");

  points.AddXYPoint(1, 2);
  points.SetStairs(true);
  line.Assign(&points);
  EXPECT_FALSE(line.Pointer()->Visible());
  EXPECT_TRUE(line.DrawLine());
  EXPECT_TRUE(line.Stairs());
  EXPECT_EQ(line.PointCount(), 1);

  std::vector<std::string> styles;
  line.EnumGalleryStyles([&](const std::string& t) { styles.push_back(t); });
  EXPECT_EQ(styles, (std::vector<std::string>{"Normal", "Stairs", "Points", "Height", "Hollow", "Colors", "Marks",
                                              "No Border", "Outline"}));
  styles.clear();
  points.EnumGalleryStyles([&](const std::string& t) { styles.push_back(t); });
  EXPECT_EQ(styles.size(), 13u);
  EXPECT_EQ(styles[9], "Circle");
  points.ApplyGalleryStyle(&points, 9);
  EXPECT_EQ(points.Pointer()->Style(), psCircle);
  EXPECT_EQ(points.Pointer()->HorizSize(), 8);
}

TEST(LineSeries, HorizontalLineMarkSitsAwayFromItsBaseline) {
  // The baseline is the horizontal axis' start: its right end when inverted,
  // so every point lies left of it and its mark goes to the left.
  for (bool inverted : {false, true}) {
    TSeriesTestChart chart;
    auto* s = new THorizLineSeries(&chart);
    s->SetParentChart(&chart);
    s->AddXYPoint(5, 0);
    s->AddXYPoint(5.5, 1);
    s->AddXYPoint(6, 2);
    s->Marks()->Callout()->SetLength(8);
    chart.BottomAxis()->SetInverted(inverted);
    chart.Pass();
    TSeriesMarkPosition p;
    const int x = s->PointXPixel(1), y = s->PointYPixel(1);
    p.ArrowTo = p.ArrowFrom = Point(x, y);
    p.Width = 20;
    p.Height = 10;
    p.LeftTop = Point(x - 10, y - 11);
    s->DrawPointMark(1, "a", p);
    if (inverted) {
      EXPECT_LE(p.LeftTop.X + p.Width, x - 8) << "left of the point";
      EXPECT_EQ(p.ArrowTo.X, x - 8 - 20);
    } else {
      EXPECT_GE(p.LeftTop.X, x + 8) << "right of the point";
      EXPECT_EQ(p.ArrowTo.X, x + 8);
    }
  }
}

TEST(LineSeries, PointsTravelInTheDataStreamWhichRefusesDamage) {
  TPointSeries source(nullptr);
  source.AddXYPoint(1.5, 2.25, "a", clRed);
  source.AddXYPoint(3, -4);
  TMemoryStream stream;
  source.SavePointData(&stream);
  TPointSeries copy(nullptr);
  stream.SetPosition(0);
  copy.LoadPointData(&stream);
  ASSERT_EQ(copy.PointCount(), 2);
  EXPECT_DOUBLE_EQ(copy.XValues()->GetValue(0), 1.5);
  EXPECT_DOUBLE_EQ(copy.YValues()->GetValue(1), -4);
  EXPECT_EQ(copy.PointLabel(0), "a");
  EXPECT_EQ(copy.RawPointColor(0), clRed);

  // Truncated, or a count far beyond the bytes: refused, the points stay.
  TMemoryStream full;
  source.SavePointData(&full);
  const auto bytes = full.Size();
  for (int64_t keep : {int64_t{3}, bytes - 1}) {
    TMemoryStream cut;
    full.SetPosition(0);
    cut.CopyFrom(full, keep);
    cut.SetPosition(0);
    EXPECT_ANY_THROW(copy.LoadPointData(&cut));
    EXPECT_EQ(copy.PointCount(), 2);
  }
  TMemoryStream huge;
  huge.WriteByte(0);
  huge.WriteInteger(0x7FFFFFFF);
  huge.SetPosition(0);
  EXPECT_ANY_THROW(copy.LoadPointData(&huge));
  EXPECT_EQ(copy.PointCount(), 2);
}

}  // namespace

namespace {

TEST(LineSeries3D, RibbonsAndStairBandsBetweenTheSeriesDepths) {
  for (bool stairs : {false, true}) {
    TSeriesTestChart chart;
    chart.SetView3D(true);
    auto* s = new TLineSeries(&chart);
    s->SetParentChart(&chart);
    s->SetSeriesColor(clRed);
    s->SetStairs(stairs);
    s->AddXYPoint(0, 0);
    s->AddXYPoint(10, 10);
    chart.Pass();
    const int x0 = s->PointXPixel(0), y0 = s->PointYPixel(0), x1 = s->PointXPixel(1), y1 = s->PointYPixel(1);
    if (!stairs) {
      const auto planes = chart.Rec->CallsOf("Plane3D", 0);
      ASSERT_EQ(planes.size(), 1u);
      EXPECT_EQ(CallArgs(planes[0]), (std::vector<int>{x0, y0, x1, y1, s->StartZ, s->EndZ}));
    } else {
      // Across at the old height, then the riser in the darker brush.
      // (The chart's own bands are drawn in other colours.)
      auto ofSeries = [&](const char* op) {
        std::vector<TCanvasCall> r;
        for (const TCanvasCall& c : chart.Rec->CallsOf(op, 0))
          if (c.BrushColor == clRed || c.BrushColor == ColorDarker(clRed, 64)) r.push_back(c);
        return r;
      };
      const auto across = ofSeries("RectangleY");
      const auto up = ofSeries("RectangleZ");
      ASSERT_EQ(across.size(), 1u);
      ASSERT_EQ(up.size(), 1u);
      EXPECT_EQ(CallArgs(across[0]), (std::vector<int>{x0, y0, x1, s->StartZ, s->EndZ}));
      EXPECT_EQ(CallArgs(up[0]), (std::vector<int>{x1, y1, y0, s->StartZ, s->EndZ}));
      EXPECT_EQ(across[0].BrushColor, clRed);
      EXPECT_EQ(up[0].BrushColor, ColorDarker(clRed, 64));
    }
  }
}

TEST(LineSeries3D, FastLineDrawsAtItsMiddleDepth) {
  TSeriesTestChart chart;
  chart.SetView3D(true);
  auto* s = new TFastLineSeries(&chart);
  s->SetParentChart(&chart);
  for (int i = 0; i < 5; ++i) s->AddXYPoint(i, i * i);
  chart.Pass();
  const auto lines = chart.Rec->CallsOf("LineTo3D", 0);
  ASSERT_EQ(lines.size(), 4u);
  for (const TCanvasCall& c : lines) EXPECT_EQ(c.Arg(2), s->MiddleZ);
  EXPECT_EQ(chart.Rec->Count("LineTo", 0), 0);
}

}  // namespace
