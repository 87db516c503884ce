// Bubble, arrow, gantt and shape series: their value ranges, the shapes
// they draw and where they are hit.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "chart/extra/arrowcha.h"
#include "chart/extra/bubblech.h"
#include "chart/extra/ganttch.h"
#include "chart/extra/grafshape.h"
#include "extratest.h"
#include "platform/ui/streaming.h"

// ---- Bubble ------------------------------------------------------------------------------------

TEST(BubbleSeries, RadiiWidenTheAxisAndSizeThePointers) {
  TExtraScene<TBubbleSeries> s;
  s.series->AddBubblePoint(1, 10, 5);
  s.series->AddBubblePoint(2, 20, 0);
  s.series->AddBubblePoint(3, 30, -4);
  EXPECT_GE(s.series->LargestY(), 15);
  EXPECT_LE(s.series->SmallestY(), 5);
  s.chart.Pass();
  TChartAxis* v = s.chart.LeftAxis();
  s.series->PreparePointer(0);
  EXPECT_EQ(s.series->Pointer()->VertSize(), v->SizeToPixels(5));
  EXPECT_EQ(s.series->Pointer()->HorizSize(), s.series->Pointer()->VertSize()) << "squared";
  for (int i : {1, 2}) {
    s.series->PreparePointer(i);
    EXPECT_EQ(s.series->Pointer()->VertSize(), 0) << i;
  }
  // Not squared: the horizontal size follows the horizontal axis' scale.
  s.series->SetSquared(false);
  s.chart.Pass();
  s.series->PreparePointer(0);
  EXPECT_EQ(s.series->Pointer()->HorizSize(), s.chart.BottomAxis()->SizeToPixels(5));
  EXPECT_NE(s.series->Pointer()->HorizSize(), s.series->Pointer()->VertSize());
}

TEST(BubbleSeries, HitsFollowThePointersShape) {
  TExtraScene<TBubbleSeries> s;
  s.series->AddBubblePoint(0, 0, 1);
  s.series->AddBubblePoint(5, 50, 20);
  s.series->AddBubblePoint(10, 100, 1);
  s.chart.Pass();
  s.series->PreparePointer(1);
  const int px = s.series->PointXPixel(1), py = s.series->PointYPixel(1);
  const int r = s.series->Pointer()->VertSize();
  ASSERT_GT(r, 10);
  const int d = static_cast<int>(r * 0.8);  // inside the box's corner, outside the circle
  struct Case {
    TSeriesPointerStyle style;
    int dx, dy;
    bool hit;
  };
  const Case cases[] = {{psCircle, 0, r - 1, true},  {psCircle, d, d, false},   {psRectangle, d, d, true},
                        {psTriangle, 0, -r + 2, true}, {psTriangle, d, -d, false}, {psDownTriangle, 0, r - 2, true},
                        {psDiamond, d, d, false},      {psNothing, 0, 0, false}};
  for (const Case& c : cases) {
    s.series->Pointer()->SetStyle(c.style);
    EXPECT_EQ(s.series->PointerHit(1, px, py, px + c.dx, py + c.dy), c.hit) << c.style << " " << c.dx << "," << c.dy;
  }
}

TEST(BubbleSeries, OnlyAnotherBubbleSeriesIsASource) {
  TSeriesTestChart chart;
  TBubbleSeries bubble(nullptr), other(nullptr);
  TLineSeries line(nullptr);
  EXPECT_TRUE(bubble.AcceptsAsSource(&other));
  EXPECT_FALSE(bubble.AcceptsAsSource(&line));
  EXPECT_FALSE(bubble.AcceptsAsSource(&bubble));
}

// ---- Arrow -------------------------------------------------------------------------------------

TEST(ArrowSeries, EndsWidenTheAxesAndArrowsAreFilledOnlyIn3D) {
  TExtraScene<TArrowSeries> s;
  s.series->AddArrowPoint(1, 1, 20, -5, "", clRed);
  s.series->AddArrowPoint(2, 2, 3, 3, "", clBlue);
  EXPECT_DOUBLE_EQ(s.series->LargestX(), 20);
  EXPECT_DOUBLE_EQ(s.series->SmallestY(), -5);
  s.chart.Pass();
  auto arrows = s.chart.Rec->CallsOf("Arrow", 0);
  ASSERT_EQ(arrows.size(), 2u);
  EXPECT_EQ(arrows[0].Arg(0), 0) << "an outline in 2D";
  EXPECT_EQ(arrows[0].PenColor, clRed);
  EXPECT_EQ(arrows[0].Arg(3), s.chart.BottomAxis()->ValueToPixel(20));
  EXPECT_EQ(arrows[0].Arg(8), 50) << "head percent";
  s.chart.SetView3D(true);
  s.chart.Pass();
  arrows = s.chart.Rec->CallsOf("Arrow", 0);
  ASSERT_EQ(arrows.size(), 2u);
  EXPECT_EQ(arrows[1].Arg(0), 1) << "filled in 3D";
  EXPECT_EQ(arrows[1].BrushColor, clBlue);
}

TEST(ArrowSeries, AHitNeedsThePensWidth) {
  TExtraScene<TArrowSeries> s;
  s.series->AddArrowPoint(0, 0, 10, 0);
  s.series->AddArrowPoint(0, 10, 10, 10);
  s.chart.Pass();
  const TPoint a = s.series->ArrowStart(0), b = s.series->ArrowEnd(0);
  const int mx = (a.X + b.X) / 2;
  EXPECT_EQ(s.series->IndexAtPoint(mx, a.Y + 1), 0);
  EXPECT_EQ(s.series->IndexAtPoint(mx, a.Y + 3), -1);
  s.series->Pen()->SetWidth(4);
  EXPECT_EQ(s.series->IndexAtPoint(mx, a.Y + 3), 0);
}

// ---- Gantt -------------------------------------------------------------------------------------

TEST(GanttSeries, ConnectorsRunToTheFollowerWhenItExists) {
  TExtraScene<TGanttSeries> s;
  s.series->ConnectingPen()->SetColor(clFuchsia);
  const int a = s.series->AddGanttTask(10, 20, 0);
  const int b = s.series->AddGanttTask(30, 40, 2);
  EXPECT_EQ(s.series->NextTask()->GetValue(a), -1);
  EXPECT_EQ(s.series->NextTask()->GetValue(b), -1);
  EXPECT_DOUBLE_EQ(s.series->LargestX(), 40) << "the latest end";
  struct Case {
    double next;
    size_t lines;
  };
  const Case cases[] = {{1, 3}, {2, 0}, {-1, 0}, {-5, 0}};
  for (const Case& c : cases) {
    s.series->NextTask()->SetValue(a, c.next);
    s.chart.Pass();
    const auto lines = CallsInPen(s.chart.Rec, "LineTo3D", clFuchsia);
    ASSERT_EQ(lines.size(), c.lines) << c.next;
    if (c.lines == 0) continue;
    const int x1 = s.chart.BottomAxis()->ValueToPixel(20), x2 = s.series->PointXPixel(b);
    const int y = s.series->PointYPixel(a), y2 = s.series->PointYPixel(b);
    const int m = x1 + (x2 - x1) / 2;
    EXPECT_EQ(CallArgs(lines[0]), (std::vector<int>{m, y, s.series->MiddleZ}));
    EXPECT_EQ(CallArgs(lines[1]), (std::vector<int>{m, y2, s.series->MiddleZ}));
    EXPECT_EQ(CallArgs(lines[2]), (std::vector<int>{x2, y2, s.series->MiddleZ}));
  }
}

TEST(GanttSeries, TasksHitOnTheirBarAndKeepTheirFollowersWhenStored) {
  RegisterClasses({&TChart::StaticClass(), &TGanttSeries::StaticClass()});
  TChart chart(nullptr);
  chart.SetName("Chart1");
  auto* g = new TGanttSeries(&chart);
  g->SetName("Gantt1");
  g->SetParentChart(&chart);
  g->AddGanttTask(1, 5, 0, "one");
  g->AddGanttTask(6, 9, 1, "two");
  g->AddXYPoint(10, 2);  // any path leaves the new task without follower
  EXPECT_EQ(g->NextTask()->GetValue(2), -1);
  g->NextTask()->SetValue(0, 1);
  g->ForceSaveData = true;
  TChart back(nullptr);
  TextToComponent(ComponentToText(&chart), &back);
  ASSERT_EQ(back.NumberOfSeries(), 1);
  auto* r = dynamic_cast<TGanttSeries*>(back.SeriesAt(0));
  ASSERT_TRUE(r);
  ASSERT_EQ(r->PointCount(), 3);
  EXPECT_EQ(r->NextTask()->GetValue(0), 1);
  EXPECT_DOUBLE_EQ(r->EndValues()->GetValue(1), 9);

  chart.SetBounds(0, 0, 400, 300);
  chart.RenderBitmap(clWhite, Rect(0, 0, 400, 300), pf24bit);
  const int x0 = g->PointXPixel(0), x1 = chart.BottomAxis()->ValueToPixel(5), y = g->PointYPixel(0);
  EXPECT_TRUE(g->PointerHit(0, 0, 0, (x0 + x1) / 2, y + g->Pointer()->VertSize() - 1));
  EXPECT_FALSE(g->PointerHit(0, 0, 0, (x0 + x1) / 2, y + g->Pointer()->VertSize()));
  EXPECT_FALSE(g->PointerHit(0, 0, 0, x1 + 1, y));
}

// ---- Shape -------------------------------------------------------------------------------------

TEST(ChartShape, DrawsOnlyWithTwoCornersInsideTheChart) {
  TExtraScene<TChartShape> s;
  s.series->SetStyle(chasRectangle);
  s.series->Pen()->SetColor(clFuchsia);
  s.chart.BottomAxis()->SetRange(0, 100);
  s.chart.LeftAxis()->SetRange(0, 100);
  s.chart.Pass();
  EXPECT_EQ(CallsInPen(s.chart.Rec, "Rectangle", clFuchsia).size(), 1u);
  s.series->SetX0(200);
  s.series->SetX1(300);
  s.chart.Pass();
  EXPECT_TRUE(CallsInPen(s.chart.Rec, "Rectangle", clFuchsia).empty()) << "outside the chart";
  s.series->SetX0(10);
  s.series->SetX1(20);
  s.series->AddXYPoint(50, 50);
  s.chart.Pass();
  EXPECT_TRUE(CallsInPen(s.chart.Rec, "Rectangle", clFuchsia).empty()) << "three points";
}

TEST(ChartShape, CornersInPixelsAxisUnitsOrFromAnAxisOrigin) {
  TExtraScene<TChartShape> s;
  s.chart.BottomAxis()->SetRange(0, 100);
  s.chart.LeftAxis()->SetRange(0, 100);
  s.series->SetX0(10);
  s.series->SetY0(80);
  s.series->SetX1(50);
  s.series->SetY1(20);
  s.chart.Pass();
  TChartAxis* h = s.chart.BottomAxis();
  TChartAxis* v = s.chart.LeftAxis();
  s.series->SetXYStyle(xysAxisOrigin);
  EXPECT_EQ(s.series->ShapeBounds(), Rect(h->ValueToPixel(10), v->ValueToPixel(80), h->ValueToPixel(10) + 50,
                                          v->ValueToPixel(80) + 20));
  s.series->SetXYStyle(xysPixels);
  EXPECT_EQ(s.series->ShapeBounds(), Rect(10, 80, 50, 20));
  EXPECT_EQ(s.series->NormalizedBounds(), Rect(10, 20, 50, 80));
  EXPECT_FALSE(s.series->HasAxes());
  // A line from bottom-left to top-right keeps its direction.
  s.series->SetStyle(chasLine);
  s.series->Pen()->SetColor(clFuchsia);
  s.series->SetXYStyle(xysAxis);
  s.chart.Pass();
  const auto lines = CallsInPen(s.chart.Rec, "LineFromTo", clFuchsia);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(CallArgs(lines[0]), (std::vector<int>{h->ValueToPixel(10), v->ValueToPixel(80), h->ValueToPixel(50),
                                                   v->ValueToPixel(20)}));
}

// Corners far off the chart (a damaged file) are held to the axis pixel
// range instead of overflowing, and the shape still draws.
TEST(ChartShape, CornersFarOffTheChartStayInThePixelRange) {
  TExtraScene<TChartShape> s;
  s.series->SetX0(10);
  s.series->SetY0(20);
  s.series->SetX1(1e300);
  s.series->SetY1(-3e9);
  for (TChartShapeXYStyle style : {xysPixels, xysAxisOrigin}) {
    SCOPED_TRACE(style);
    s.series->SetXYStyle(style);
    const TRect r = s.series->ShapeBounds();
    EXPECT_EQ(r.Right, AxisPixelLimit);
    EXPECT_EQ(r.Bottom, -AxisPixelLimit);
    EXPECT_NO_THROW(s.chart.Pass());
  }
}

TEST(ChartShape, TextInTheBrushColourSwitchesToBlackOrWhite) {
  struct Case {
    TColor brush, font, drawn;
  };
  const Case cases[] = {{clBlack, clBlack, clWhite}, {clRed, clRed, clBlack}, {clRed, clBlue, clBlue}};
  for (const Case& c : cases) {
    TExtraScene<TChartShape> s;
    s.series->SetStyle(chasRectangle);
    s.series->SetSeriesColor(c.brush);
    s.series->Font()->SetColor(c.font);
    s.series->Text()->Add("abc");
    s.chart.Pass();
    std::vector<TCanvasCall> texts;
    for (const TCanvasCall& t : s.chart.Rec->CallsOf("TextOut3D", 0))
      if (t.Text == "abc") texts.push_back(t);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].FontColor, c.drawn);
    EXPECT_EQ(s.series->Font()->Color(), c.font) << "the shape's own font is kept";
  }
}

TEST(ChartShape, HitTestsFollowTheStyle) {
  TExtraScene<TChartShape> s;
  s.series->SetXYStyle(xysPixels);
  s.series->SetX0(100);
  s.series->SetY0(100);
  s.series->SetX1(200);
  s.series->SetY1(160);
  struct Case {
    TChartShapeStyle style;
    int x, y;
    bool hit;
  };
  const Case cases[] = {{chasRectangle, 101, 101, true},  {chasRectangle, 200, 160, true},
                        {chasCircle, 101, 101, false},    {chasCircle, 150, 130, true},
                        {chasTriangle, 105, 105, false},  {chasTriangle, 150, 105, true},
                        {chasInvertTriangle, 150, 155, true}, {chasInvertTriangle, 105, 155, false},
                        {chasLine, 150, 130, true},       {chasLine, 150, 140, false},
                        {chasVertLine, 150, 110, true},   {chasHorizLine, 150, 130, true},
                        {chasDiamond, 102, 102, false},   {chasCube, 102, 102, true}};
  for (const Case& c : cases) {
    s.series->SetStyle(c.style);
    EXPECT_EQ(s.series->IndexAtPoint(c.x, c.y), c.hit ? 0 : -1) << c.style << " at " << c.x << "," << c.y;
  }
}
