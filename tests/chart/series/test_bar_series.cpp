// Bar series: the layout of several bar series on one chart (slots, widths,
// side positions, stack groups), stacked starts, the bar rectangles drawn,
// depth, hit tests, the relative gradient and a reviewed picture.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "chart/core/golden.h"
#include "chart/series/series_bar.h"
#include "platform/gfx/bitmap.h"
#include "platform/gfx/colors.h"
#include "platform/rtl/mathutils.h"
#include "seriestest.h"

namespace {

struct TBarScene {
  explicit TBarScene(int Width = 400, int Height = 300) : chart(Width, Height) {}
  template <class T = TBarSeries>
  T* Add(std::initializer_list<double> values, TColor color = clRed) {
    auto* s = new T(&chart);
    s->SetParentChart(&chart);
    s->SetSeriesColor(color);
    s->Marks()->SetVisible(false);
    int i = 0;
    for (double v : values) {
      if constexpr (std::is_same_v<T, THorizBarSeries>) s->AddXYPoint(v, i++);
      else s->AddXYPoint(i++, v);
    }
    return s;
  }
  TBarSeries* AddCount(int n, TColor color = clRed) {
    auto* s = Add({}, color);
    for (int i = 0; i < n; ++i) s->AddXYPoint(i, 1 + i % 4);
    return s;
  }
  // The series' bar rectangles of the last pass, in drawing order.
  std::vector<TRect> Bars(TColor color) {
    std::vector<TRect> r;
    for (const TCanvasCall& c : chart.Rec->CallsOf("Rectangle", 0))
      if (c.BrushColor == color) r.push_back(Rect(c.Arg(0), c.Arg(1), c.Arg(2), c.Arg(3)));
    return r;
  }
  TSeriesTestChart chart;
};

// ---- Layout -----------------------------------------------------------------------------

TEST(BarLayout, SlotsPositionsAndGroupsFollowTheMultiBarMode) {
  struct Case {
    const char* name;
    TMultiBar mode;
    std::vector<int> groups;  // one series each
    bool sideMargins;
    int slots, sideBySide;
    std::vector<int> positions, pointsBefore;
  };
  const Case cases[] = {
      {"side", mbSide, {0, 0, 0}, true, 11, 3, {1, 2, 3}, {0, 10, 20}},
      {"side without margins", mbSide, {0, 0, 0}, false, 10, 3, {1, 2, 3}, {0, 10, 20}},
      {"stacked, two groups", mbStacked, {0, 1}, true, 11, 2, {1, 2}, {0, 10}},
      {"stacked, one group", mbStacked, {0, 0}, true, 11, 1, {1, 1}, {0, 10}},
      {"stacked 100, groups 5 7 5", mbStacked100, {5, 7, 5}, true, 11, 2, {1, 2, 1}, {0, 10, 20}},
      {"none", mbNone, {0, 0}, true, 11, 1, {1, 1}, {0, 10}},
      {"side all", mbSideAll, {0, 0}, true, 11, 2, {1, 2}, {0, 10}},
      {"self stack", mbSelfStack, {0, 0}, true, 1, 1, {1, 1}, {0, 10}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TBarScene s;
    std::vector<TBarSeries*> bars;
    for (int g : c.groups) {
      bars.push_back(s.AddCount(10));
      bars.back()->SetStackGroup(g);
    }
    bars[0]->SetMultiBar(c.mode);
    bars[0]->SetSideMargins(c.sideMargins);
    for (size_t k = 0; k < bars.size(); ++k) {
      bars[k]->PrepareChartDraw();
      EXPECT_EQ(bars[k]->MultiBar(), c.mode);
      EXPECT_EQ(bars[k]->SlotPointCount, c.slots);
      EXPECT_EQ(bars[k]->SideBySideCount, c.sideBySide);
      EXPECT_EQ(bars[k]->SidePosition, c.positions[k]);
      EXPECT_EQ(bars[k]->PointsBefore, c.pointsBefore[k]);
    }
  }
}

TEST(BarLayout, BarWidthFromTheSlotAndThePercent) {
  struct Case {
    const char* name;
    int series, axisPixels, percent, custom;
    int width;
  };
  // 10 points with side margins: 11 slots.
  const Case cases[] = {
      {"three side by side on 600 pixels", 3, 600, 70, 0, 12},  // slot 54, nearest(37.8) = 38, div 3
      {"odd width 13 becomes 14", 1, 204, 70, 0, 14},           // slot 18, nearest(12.6) = 13
      {"custom width 13 stays", 1, 204, 70, 13, 13},
      {"even width stays", 1, 220, 50, 0, 10},                  // slot 20
      {"slot of 0 pixels", 1, 5, 70, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TBarScene s;
    std::vector<TBarSeries*> bars;
    for (int k = 0; k < c.series; ++k) bars.push_back(s.AddCount(10));
    TBarSeries* b = bars.back();
    b->SetBarWidthPercent(c.percent);
    b->SetCustomBarWidth(c.custom);
    b->PrepareChartDraw();
    s.chart.BottomAxis()->AxisLength = c.axisPixels;
    b->ComputeBarWidth();
    EXPECT_EQ(b->BarWidthPixels, c.width);
  }
}

TEST(BarLayout, SideBySideBarsSitLeftToRightAroundTheirCategory) {
  TBarScene s;
  TBarSeries* a = s.AddCount(10, clRed);
  TBarSeries* b = s.AddCount(10, clBlue);
  TBarSeries* c = s.AddCount(10, clGreen);
  s.chart.Pass();
  const int w = a->BarWidthPixels;
  ASSERT_GT(w, 0);
  EXPECT_EQ(b->BarWidthPixels, w);
  const auto ra = s.Bars(clRed), rb = s.Bars(clBlue), rc = s.Bars(clGreen);
  ASSERT_EQ(ra.size(), 10u);
  ASSERT_EQ(rb.size(), 10u);
  ASSERT_EQ(rc.size(), 10u);
  for (int i = 0; i < 10; ++i) {
    const int centre = s.chart.BottomAxis()->ValueToPixel(i);
    EXPECT_EQ(ra[i].Left, centre - 3 * w / 2);
    EXPECT_EQ(rb[i].Left, centre - w / 2);
    EXPECT_EQ(rc[i].Left, centre + w / 2);
    EXPECT_EQ(ra[i].Right, ra[i].Left + w + 1);
    // Each bar runs from the value down to the origin 0.
    EXPECT_EQ(rb[i].Top, s.chart.LeftAxis()->ValueToPixel(b->YValues()->GetValue(i)));
    EXPECT_EQ(rb[i].Bottom, s.chart.LeftAxis()->ValueToPixel(0));
  }
  (void)c;
}

TEST(BarLayout, MultiBarAndSideMarginsAreSharedByCompatibleSeries) {
  TBarScene s;
  TBarSeries* a = s.AddCount(3);
  TBarSeries* b = s.AddCount(3);
  b->SetMultiBar(mbStacked);
  EXPECT_EQ(a->MultiBar(), mbStacked);
  a->SetSideMargins(false);
  EXPECT_FALSE(b->SideMargins());
  TBarSeries* late = s.AddCount(3);  // takes them from the first one
  EXPECT_EQ(late->MultiBar(), mbStacked);
  EXPECT_FALSE(late->SideMargins());
}

TEST(BarLayout, FullWidthBarsTouchTheirNeighbours) {
  TBarScene s;
  TBarSeries* a = s.Add({3, 5, 2, 4});
  a->SetBarWidthPercent(100);
  a->BarPen()->SetWidth(2);
  s.chart.Pass();
  auto bars = s.Bars(clRed);
  ASSERT_EQ(bars.size(), 4u);
  for (size_t i = 0; i + 1 < bars.size(); ++i) EXPECT_EQ(bars[i].Right, bars[i + 1].Left) << i;
  EXPECT_EQ(bars[3].Right, bars[3].Left + a->BarWidthPixels + 1 - 1);

  // Without a pen the bars grow by a pixel to the right and at the bottom.
  a->BarPen()->SetVisible(false);
  s.chart.Pass();
  const auto hidden = s.Bars(clRed);
  ASSERT_EQ(hidden.size(), 4u);
  for (size_t i = 0; i + 1 < hidden.size(); ++i) EXPECT_EQ(hidden[i].Right, hidden[i + 1].Left + 2) << i;
  EXPECT_EQ(hidden[0].Bottom, bars[0].Bottom + 1);
}

// ---- Stacking ----------------------------------------------------------------------------

TEST(BarStacking, NegativeValuesStackOnTheNegativesBelow) {
  TBarScene s;
  TBarSeries* a = s.Add({5, -3}, clRed);
  TBarSeries* b = s.Add({4, -2}, clBlue);
  TBarSeries* c = s.Add({1, -1}, clGreen);
  a->SetMultiBar(mbStacked);
  for (TBarSeries* x : {a, b, c}) x->PrepareChartDraw();
  EXPECT_DOUBLE_EQ(b->StackedStart(0, false), 5);
  EXPECT_DOUBLE_EQ(b->StackedStart(1, false), -3);
  EXPECT_DOUBLE_EQ(c->StackedStart(1, false), -5);
  EXPECT_DOUBLE_EQ(c->StackedStart(0, false), 9);
  EXPECT_DOUBLE_EQ(c->StackedStart(1, true), -6);
  EXPECT_DOUBLE_EQ(c->LargestY(), 10);
  EXPECT_DOUBLE_EQ(c->SmallestY(), -6);

  s.chart.Pass();
  const TChartAxis* v = s.chart.LeftAxis();
  const auto blue = s.Bars(clBlue);
  ASSERT_EQ(blue.size(), 2u);
  // Drawn top to bottom: from -3 (the red bar's end) down to -5.
  EXPECT_EQ(blue[1].Top, v->ValueToPixel(-3));
  EXPECT_EQ(blue[1].Bottom, v->ValueToPixel(-5));
  EXPECT_EQ(blue[0].Top, v->ValueToPixel(9));
  EXPECT_EQ(blue[0].Bottom, v->ValueToPixel(5));
}

TEST(BarStacking, AllZeroCategoryUnderStacked100DrawsNoBar) {
  TBarScene s;
  TBarSeries* a = s.Add({0, 3}, clRed);
  TBarSeries* b = s.Add({0, 1}, clBlue);
  a->SetMultiBar(mbStacked100);
  s.chart.Pass();
  const TChartAxis* v = s.chart.LeftAxis();
  const auto red = s.Bars(clRed), blue = s.Bars(clBlue);
  // Only category 1 has bars: 75 % and the 25 % above it.
  ASSERT_EQ(red.size(), 1u);
  ASSERT_EQ(blue.size(), 1u);
  EXPECT_EQ(red[0].Top, v->ValueToPixel(75));
  EXPECT_EQ(red[0].Bottom, v->ValueToPixel(0));
  EXPECT_EQ(blue[0].Top, v->ValueToPixel(100));
  EXPECT_EQ(blue[0].Bottom, v->ValueToPixel(75));
  // Where a zero total is asked about, its pixels are those of the value 0.
  EXPECT_EQ(b->PointYPixel(0), v->ValueToPixel(0));
  EXPECT_EQ(b->BarStartPixel(0), v->ValueToPixel(0));
}

// ---- Depth, hit test, gradient -----------------------------------------------------------

TEST(BarDepth, DepthPercentNarrowsTheSlotAroundItsMiddle) {
  struct Case {
    int percent;
    double fraction;
  };
  for (const Case& c : {Case{100, 1.0}, Case{50, 0.5}, Case{0, 1.0}}) {
    SCOPED_TRACE(c.percent);
    TBarScene s;
    s.chart.SetView3D(true);
    s.chart.SetChart3DPercent(60);
    TBarSeries* a = s.Add({3, 5});
    a->SetDepthPercent(c.percent);
    s.chart.Pass();
    const int full = s.chart.SeriesWidth3D;
    ASSERT_GT(full, 10);
    EXPECT_NEAR(a->EndZ - a->StartZ, full * c.fraction, 1);
    EXPECT_NEAR((a->StartZ + a->EndZ) / 2.0, full / 2.0, 1);
  }
}

TEST(BarHitTest, EllipseBarsMissOutsideTheirEllipse) {
  TBarScene s;
  TBarSeries* a = s.Add({10, 10});
  a->SetBarWidthPercent(90);
  s.chart.Pass();
  const int l = a->PointXPixel(0), w = a->BarWidthPixels;
  const int t = a->PointYPixel(0), b = a->BarStartPixel(0);
  ASSERT_GT(w, 20);
  const TPoint centre = Point(l + w / 2, (t + b) / 2), corner = Point(l + 2, t + 2), outside = Point(l - 5, t + 5);
  struct Case {
    TBarStyle style;
    TPoint at;
    int expected;
  };
  const Case cases[] = {
      {bsRectangle, centre, 0}, {bsRectangle, corner, 0}, {bsRectangle, outside, -1},
      {bsEllipse, centre, 0},   {bsEllipse, corner, -1},  {bsPyramid, corner, -1},
      {bsPyramid, Point(l + w / 2, b - 2), 0},
  };
  for (const Case& c : cases) {
    a->SetBarStyle(c.style);
    EXPECT_EQ(a->IndexAtPoint(c.at.X, c.at.Y), c.expected) << c.style << " at " << c.at.X << "," << c.at.Y;
  }
}

TEST(BarGradient, RelativeEndColourScalesWithTheValue) {
  TBarScene s;
  TBarSeries* a = s.Add({0, 5, 10, -4});
  a->Gradient()->SetRelative(true);
  a->Gradient()->SetStartColor(clWhite);
  a->CurrentBarColor = static_cast<TColor>(RGB(0, 0, 200));
  auto end = [&](int i) {
    a->SetGradientColors(i);
    return ColorToRGB(a->Gradient()->EndColor());
  };
  EXPECT_EQ(end(2), RGB(0, 0, 200));        // the largest value: the bar colour
  EXPECT_EQ(end(0), RGB(255, 255, 255));    // at the origin: the start colour
  EXPECT_EQ(end(1), RGB(127, 127, 227));    // half way: 255 + nearest(-127.5), 255 + nearest(-27.5)
  EXPECT_EQ(end(3), RGB(255, 255, 255));    // below the origin: held at the start colour

  // Nothing above the origin: every bar takes the full colour.
  TBarScene flat;
  TBarSeries* f = flat.Add({0, 0});
  f->Gradient()->SetRelative(true);
  f->CurrentBarColor = clRed;
  f->SetGradientColors(1);
  EXPECT_EQ(ColorToRGB(f->Gradient()->EndColor()), ColorToRGB(clRed));
}

TEST(BarTickLines, LinesCrossTheBarOnlyBetweenItsEnds) {
  TBarScene s;
  TBarSeries* a = s.Add({25, 40});
  a->TickLines()->SetVisible(true);
  a->TickLines()->SetColor(clLime);
  s.chart.LeftAxis()->SetRange(0, 40);
  s.chart.LeftAxis()->SetIncrement(10);
  s.chart.Pass();
  std::vector<int> ys;
  for (const TCanvasCall& c : s.chart.Rec->CallsOf("HorizontalLine3D", 0))
    if (c.PenColor == clLime) ys.push_back(c.Arg(2));
  const TChartAxis* v = s.chart.LeftAxis();
  // Bar 0 (0..25) at 10 and 20; bar 1 (0..40) at 10, 20 and 30 (not at its ends).
  std::sort(ys.begin(), ys.end());
  std::vector<int> expected{v->ValueToPixel(10), v->ValueToPixel(20), v->ValueToPixel(10), v->ValueToPixel(20),
                            v->ValueToPixel(30)};
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(ys, expected);
}

TEST(BarDrawing, NullPointsAndThinBars) {
  TBarScene s;
  TBarSeries* a = s.Add({25, 40, 30});
  a->TickLines()->SetVisible(true);
  a->TickLines()->SetColor(clLime);
  a->SetPointColor(1, clNone);
  s.chart.LeftAxis()->SetRange(0, 40);
  s.chart.LeftAxis()->SetIncrement(10);
  s.chart.Pass();
  EXPECT_EQ(s.Bars(clRed).size(), 2u);
  int ticks = 0;
  for (const TCanvasCall& c : s.chart.Rec->CallsOf("HorizontalLine3D", 0)) ticks += c.PenColor == clLime;
  EXPECT_EQ(ticks, 4);  // 10, 20 across bar 0 and bar 2; none for the null bar

  // A bar narrower than its 2-pixel pen is its outline in the fill colour.
  TCanvas3D* canvas = s.chart.PanelCanvas();
  a->BarPen()->SetWidth(2);
  a->PrepareBarCanvas(clBlue);
  s.chart.Rec->Clear();
  a->PaintBarRect(10, 10, 11, 50);
  const auto thin = s.chart.Rec->CallsOf("Rectangle", 0);
  ASSERT_EQ(thin.size(), 1u);
  EXPECT_EQ(thin[0].PenColor, clBlue);
  EXPECT_EQ(thin[0].BrushStyle, bsClear);
  // A bar of no height is a line in the fill colour, then its rectangle.
  a->PrepareBarCanvas(clBlue);
  s.chart.Rec->Clear();
  a->PaintBarRect(10, 30, 30, 30);
  ASSERT_EQ(s.chart.Rec->Count("LineFromTo", 0), 1);
  EXPECT_EQ(s.chart.Rec->CallsOf("LineFromTo", 0)[0].PenColor, clBlue);
  (void)canvas;
}

TEST(BarStacking, SelfStackedPointsFormOneColumnAtTheSeriesIndex) {
  TBarScene s;
  s.Add({1, 1}, clBlue);
  TBarSeries* a = s.Add({2, 3, 4}, clRed);
  a->SetMultiBar(mbSelfStack);
  s.chart.Pass();
  EXPECT_DOUBLE_EQ(a->SmallestX(), 1);
  EXPECT_DOUBLE_EQ(a->LargestX(), 1);
  EXPECT_DOUBLE_EQ(a->LargestY(), 9);
  const auto bars = s.Bars(clRed);
  ASSERT_EQ(bars.size(), 3u);
  const TChartAxis* v = s.chart.LeftAxis();
  const double ends[] = {0, 2, 5, 9};
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(bars[i].Left, bars[0].Left);
    EXPECT_EQ(bars[i].Top, v->ValueToPixel(ends[i + 1]));
    EXPECT_EQ(bars[i].Bottom, v->ValueToPixel(ends[i]));
  }
  EXPECT_EQ(bars[0].Left, s.chart.BottomAxis()->ValueToPixel(1) - a->BarWidthPixels / 2);
}

TEST(BarGallery, SubStylesAndTheSecondSeriesOfStackStyles) {
  TBarScene s;
  TBarSeries* a = s.Add({1, 2});
  std::vector<std::string> names;
  a->EnumGalleryStyles([&](const std::string& t) { names.push_back(t); });
  EXPECT_EQ(names, (std::vector<std::string>{"Normal", "Colors", "Pyramid", "Ellipse", "Inv. Pyramid", "Gradient",
                                             "Stack", "Stack 100%", "Self Stacked", "Sides", "Side All"}));
  RandSeed = 99;
  a->ApplyGalleryStyle(a, 7);
  ASSERT_EQ(s.chart.NumberOfSeries(), 2);
  auto* second = dynamic_cast<TBarSeries*>(s.chart.SeriesAt(1));
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(second->PointCount(), 2);
  EXPECT_EQ(a->PointCount(), 2);
  EXPECT_EQ(second->MultiBar(), mbStacked100);
  EXPECT_EQ(a->MultiBar(), mbStacked100);
  EXPECT_FALSE(second->Marks()->Visible());
  EXPECT_FALSE(a->Marks()->Visible());

  // Samples come from the seeded generator: the same seed, the same bars.
  TBarScene x, y;
  TBarSeries* bx = x.Add({});
  TBarSeries* by = y.Add({});
  RandSeed = 4321;
  bx->GenerateRandomPoints(6, false);
  RandSeed = 4321;
  by->GenerateRandomPoints(6, false);
  ASSERT_EQ(bx->PointCount(), 6);
  for (int i = 0; i < 6; ++i) {
    EXPECT_DOUBLE_EQ(bx->YValues()->GetValue(i), by->YValues()->GetValue(i));
    EXPECT_DOUBLE_EQ(bx->XValues()->GetValue(i), i);
  }
}

// ---- Horizontal bars and marks -----------------------------------------------------------

TEST(HorizBars, BarsRunFromTheLeftOriginAlongTheValueAxis) {
  TBarScene s;
  THorizBarSeries* h = s.Add<THorizBarSeries>({4, -2, 6});
  s.chart.Pass();
  const auto bars = s.Bars(clRed);
  ASSERT_EQ(bars.size(), 3u);
  const TChartAxis* x = s.chart.BottomAxis();
  for (int i = 0; i < 3; ++i) {
    const TRect& r = bars[static_cast<size_t>(i)];
    EXPECT_EQ(std::min(r.Left, r.Right), std::min(x->ValueToPixel(0), x->ValueToPixel(h->XValues()->GetValue(i))));
    EXPECT_EQ(r.Top, h->PointYPixel(i));
    EXPECT_EQ(r.Bottom, r.Top + h->BarWidthPixels - 1);
  }
  EXPECT_EQ(h->IndexAtPoint(x->ValueToPixel(5), h->PointYPixel(2) + 2), 2);
  EXPECT_EQ(h->IndexAtPoint(x->ValueToPixel(5), h->PointYPixel(0) + 2), -1);
}

TEST(HorizBars, FullHeightBarsTouchTheirNeighbours) {
  TBarScene s;
  THorizBarSeries* h = s.Add<THorizBarSeries>({3, 5, 2, 4});
  h->SetBarWidthPercent(100);
  h->BarPen()->SetWidth(2);
  s.chart.Pass();
  const auto bars = s.Bars(clRed);
  ASSERT_EQ(bars.size(), 4u);
  // Categories run upward: each bar reaches down to the top of the one below.
  EXPECT_EQ(bars[0].Bottom, bars[0].Top + h->BarWidthPixels - 2);
  for (size_t i = 1; i < bars.size(); ++i) EXPECT_EQ(bars[i].Bottom, bars[i - 1].Top) << i;
}

TEST(BarMarks, MarkOfANegativeBarGoesBelowItsEnd) {
  TBarScene s;
  TBarSeries* a = s.Add({6, -6});
  a->Marks()->SetVisible(true);
  s.chart.Pass();
  const auto texts = s.chart.Rec->CallsOf("TextOut", 0);
  ASSERT_EQ(texts.size(), 2u);
  const TChartAxis* v = s.chart.LeftAxis();
  EXPECT_LT(texts[0].Arg(1), v->ValueToPixel(6));
  EXPECT_GT(texts[1].Arg(1), v->ValueToPixel(-6));
}

// ---- Picture -----------------------------------------------------------------------------

TEST(BarGolden, StackedAndGradientBars) {
  TChart chart(nullptr);
  chart.SetBounds(0, 0, 360, 240);
  chart.SetColor(clWhite);
  chart.SetView3D(false);
  chart.Legend()->SetVisible(false);
  const double a[] = {30, 45, 20, 55, 40}, b[] = {15, 10, 25, 12, 30};
  auto* s1 = new TBarSeries(&chart);
  auto* s2 = new TBarSeries(&chart);
  s1->SetParentChart(&chart);
  s2->SetParentChart(&chart);
  s1->SetSeriesColor(static_cast<TColor>(RGB(40, 90, 200)));
  s2->SetSeriesColor(static_cast<TColor>(RGB(220, 120, 30)));
  for (int i = 0; i < 5; ++i) {
    s1->AddXYPoint(i, a[i]);
    s2->AddXYPoint(i, b[i]);
  }
  s1->SetMultiBar(mbStacked);
  s2->SetBarStyle(bsRectGradient);
  s1->Marks()->SetVisible(false);
  TBitmap image(chart.Width(), chart.Height());
  chart.DrawOnCanvas(image.Canvas(), Rect(0, 0, chart.Width(), chart.Height()));
  ExpectMatchesGolden(image, "series/bars_stacked.png");
}

}  // namespace
