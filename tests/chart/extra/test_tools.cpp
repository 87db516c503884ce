// The further chart tools driven by synthesised mouse events on offscreen
// charts (timers fired by hand): the legend scroll bar's clicks, repeats and
// room in the legend, the lighting's darkening, the selector's picking and
// dragging, the extra legend, the series band's polygon and timing, the pie
// tool's slices, the gantt tool's bars, the grid transpose and the page
// number's text.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "chart/core/chart.h"
#include "chart/editor/grafstore.h"
#include "chart/extra/extraregister.h"
#include "chart/extra/ganttch.h"
#include "chart/extra/grafextralegendtool.h"
#include "chart/extra/grafgantttool.h"
#include "chart/extra/graflegendscrollbar.h"
#include "chart/extra/graflighting.h"
#include "chart/extra/grafpagenumtool.h"
#include "chart/extra/grafpietool.h"
#include "chart/extra/grafselectortool.h"
#include "chart/extra/grafseriesbandtool.h"
#include "chart/extra/graftransposetool.h"
#include "chart/series/grafsurfa.h"
#include "chart/series/graftools.h"
#include "chart/series/series.h"
#include "chart/series/series_pie.h"
#include "chart/series/seriestest.h"
#include "platform/rtl/streams.h"
#include "support/gui/guitest.h"

using namespace guitest;

namespace {

// A flat chart (recording canvas) with one line series of Count points and
// its legend shown, neither zooming nor panning on a drag.
struct TToolScene {
  explicit TToolScene(int Count, bool Legend = true) {
    RegisterExtraToolTypes();
    chart.Legend()->SetVisible(Legend);
    chart.Zoom()->SetAllow(false);
    chart.SetAllowPanning(pmNone);
    series = new TLineSeries(&chart);
    series->SetParentChart(&chart);
    for (int i = 0; i < Count; ++i) series->AddXYPoint(i, i * 2);
  }
  template <class T>
  T* Add() {
    auto* t = new T(&chart);
    chart.Tools()->AddTool(t);
    return t;
  }
  TSeriesTestChart chart;
  TLineSeries* series;
};

TPoint Centre(const TRect& r) { return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2}; }

}  // namespace

// ---- Legend scroll bar ---------------------------------------------------------------------------

TEST(LegendScrollBar, HeldArrowScrollsOnceThenAfter250msThenEvery50msUntilReleased) {
  TToolScene s(60);
  auto* bar = s.Add<TLegendScrollBar>();
  int scrolled = 0;
  bar->OnScrolled = [&](TObject*) { ++scrolled; };
  s.chart.Pass();
  ASSERT_GT(bar->GetTotal(), bar->GetPageSize());
  ASSERT_EQ(bar->GetPosition(), 0);
  EXPECT_TRUE(bar->Horizontal() == false);  // the legend stacks at the right

  const TPoint p = Centre(bar->SecondButtonRect());
  MouseDown(&s.chart, mbLeft, p.X, p.Y);
  EXPECT_EQ(bar->GetPosition(), 1);
  EXPECT_EQ(s.chart.Legend()->FirstValue(), 1);
  TTimer* timer = bar->RepeatTimer();
  ASSERT_NE(timer, nullptr);
  EXPECT_TRUE(timer->Enabled());
  EXPECT_EQ(timer->Interval(), 250u);
  for (int tick = 1; tick <= 3; ++tick) {
    s.chart.Pass();
    FireTimer(timer);
    EXPECT_EQ(bar->GetPosition(), 1 + tick);
    EXPECT_EQ(timer->Interval(), 50u);
  }
  MouseUp(&s.chart, mbLeft, p.X, p.Y);
  EXPECT_FALSE(timer->Enabled());
  EXPECT_EQ(scrolled, 4);
}

TEST(LegendScrollBar, ArrowsStopAtTheEndsAndTheBarTrackPagesByAQuarter) {
  TToolScene s(60);
  auto* bar = s.Add<TLegendScrollBar>();
  bar->SetAutoRepeat(false);
  int scrolled = 0;
  bar->OnScrolled = [&](TObject*) { ++scrolled; };
  s.chart.Pass();
  const int page = bar->GetPageSize();

  // The first arrow at position 0 changes nothing, not even an event.
  const TPoint up = Centre(bar->FirstButtonRect());
  Click(&s.chart, up.X, up.Y);
  EXPECT_EQ(bar->GetPosition(), 0);
  EXPECT_EQ(scrolled, 0);
  EXPECT_EQ(bar->RepeatTimer(), nullptr);

  // A press on the track below the thumb moves a quarter page.
  const TRect track = bar->TrackRect();
  Click(&s.chart, Centre(track).X, track.Bottom - 2);
  EXPECT_EQ(bar->GetPosition(), page / 4);

  // At the last position the second arrow sets that position again.
  const int last = bar->GetTotal() - page;
  bar->SetPosition(last);
  s.chart.Pass();
  scrolled = 0;
  const TPoint down = Centre(bar->SecondButtonRect());
  Click(&s.chart, down.X, down.Y);
  EXPECT_EQ(bar->GetPosition(), last);
  EXPECT_EQ(scrolled, 1);
}

TEST(LegendScrollBar, DraggingTheThumbScrollsByTheTrackRatio) {
  TToolScene s(60);
  auto* bar = s.Add<TLegendScrollBar>();
  s.chart.Pass();
  const TRect thumb = bar->ThumbRect();
  const TRect track = bar->TrackRect();
  const TPoint p = Centre(thumb);
  const int dy = 30;
  MouseDown(&s.chart, mbLeft, p.X, p.Y);
  MouseMove(&s.chart, p.X, p.Y + dy);
  MouseUp(&s.chart, mbLeft, p.X, p.Y + dy);
  const double expected = static_cast<double>(bar->GetTotal()) * dy / track.Height();
  EXPECT_NEAR(bar->GetPosition(), expected, 1.0);
}

TEST(LegendScrollBar, ReservesRoomOnlyWhileTheBarIsShown) {
  auto legendWidth = [](int Count, bool WithBar, TGrafScrollBarDrawStyle Style) {
    TToolScene s(Count);
    if (WithBar) s.Add<TLegendScrollBar>()->SetDrawStyle(Style);
    s.chart.Pass();
    s.chart.Pass();
    return s.chart.Legend()->ShapeBox.Width();
  };
  const int plain = legendWidth(5, false, dsAlways);
  // dsAlways: the bar shows with everything fitting, and takes Size + 1.
  EXPECT_EQ(legendWidth(5, true, dsAlways), plain + 18 + 1);
  // dsWhenNeeded with every item shown: no bar, no room.
  EXPECT_EQ(legendWidth(5, true, dsWhenNeeded), plain);
  // Too many items: needed.
  EXPECT_GT(legendWidth(60, true, dsWhenNeeded), legendWidth(60, false, dsAlways));

  // A hidden legend: no bar, and the mouse finds none.
  TToolScene hidden(60, false);
  auto* bar = hidden.Add<TLegendScrollBar>();
  hidden.chart.Pass();
  TRect r;
  EXPECT_FALSE(bar->CalcBounds(r));
  EXPECT_TRUE(bar->BarBounds().IsEmpty());
}

TEST(LegendScrollBar, PagesThroughAPagedChartAndKeepsAMinimumThumb) {
  TToolScene s(45);
  s.chart.SetMaxPointsPerPage(10);
  auto* bar = s.Add<TLegendScrollBar>();
  s.chart.Pass();
  EXPECT_EQ(bar->GetTotal(), 5);
  EXPECT_EQ(bar->GetPageSize(), 1);
  const TPoint p = Centre(bar->SecondButtonRect());
  Click(&s.chart, p.X, p.Y);
  EXPECT_EQ(s.chart.Page(), 2);
  EXPECT_EQ(bar->GetPosition(), 1);

  TToolScene many(3000);
  auto* big = many.Add<TLegendScrollBar>();
  many.chart.Pass();
  // A page of ~20 rows in 3000 is under a pixel: the thumb keeps its minimum.
  EXPECT_EQ(big->ThumbEnd() - big->ThumbStart(), big->MinThumbSize() + 1);
}

// ---- Lighting ------------------------------------------------------------------------------------

namespace {
std::unique_ptr<TBitmap> GreyBitmap(int W, int H, uint8_t V) {
  auto b = std::make_unique<TBitmap>(W, H, pf24bit);
  for (int y = 0; y < H; ++y) {
    uint8_t* row = b->ScanLine(y);
    for (int x = 0; x < 3 * W; ++x) row[x] = V;
  }
  return b;
}
int Byte(TBitmap& b, int x, int y) { return b.ScanLine(y)[3 * x]; }
}  // namespace

TEST(LightTool, DarkensByDistanceInEitherStyle) {
  TLightTool tool;
  tool.SetLeft(5);
  tool.SetTop(5);
  auto source = GreyBitmap(10, 10, 200);
  TBitmap dest;
  struct Row {
    TLightStyle Style;
    int Factor;
    int Centre;  // byte at the light point
    int Corner;  // byte at (0, 0)
  };
  // 10 x 10: e = 100 / sqrt(200) = 7.07; at the light point d = 0.
  const Row rows[] = {
      {lsLinear, 10, 200, 200 - 100},    // o = e * 0.1 * 20 * d, d = 7.07 -> 100
      {lsSpotLight, 10, 200 - 5, 0},     // o = 0.1 * ((d + 1) * e)^2: 5 at the point, 326 at the corner
      {lsLinear, 100, 200, 0},           // o = 1000 at the corner: black
      {lsLinear, 0, 200, 200},           // nothing
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(testing::Message() << r.Style << " " << r.Factor);
    tool.SetStyle(r.Style);
    tool.SetFactor(r.Factor);
    tool.DarkenBitmap(source.get(), &dest);
    EXPECT_EQ(Byte(dest, 5, 5), r.Centre);
    EXPECT_EQ(Byte(dest, 0, 0), r.Corner);
  }
}

TEST(LightTool, EveryPixelMatchesTheFormulaWhereverTheLightIs) {
  // A picture of varied bytes, darkened pixel by pixel by the formula.
  const int W = 37, H = 23;
  auto source = std::make_unique<TBitmap>(W, H, pf24bit);
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < 3 * W; ++x) source->ScanLine(y)[x] = static_cast<uint8_t>((x * 37 + y * 91) % 256);
  struct Row {
    TLightStyle Style;
    int Factor, Left, Top;
  };
  const Row rows[] = {{lsLinear, 10, 18, 11}, {lsSpotLight, 10, 3, 20}, {lsLinear, 35, -15, 40},
                      {lsSpotLight, 60, 60, -8}, {lsLinear, 100, 0, 0},   {lsSpotLight, 3, 36, 22}};
  const double e = 100.0 / std::sqrt(double(W * W + H * H));
  for (const Row& r : rows) {
    SCOPED_TRACE(testing::Message() << r.Style << " " << r.Factor << " " << r.Left << "," << r.Top);
    TLightTool tool;
    tool.SetStyle(r.Style);
    tool.SetFactor(r.Factor);
    tool.SetLeft(r.Left);
    tool.SetTop(r.Top);
    for (TPixelFormat format : {pf24bit, pfDevice}) {
      TBitmap picture;
      picture.Assign(source.get());
      picture.SetPixelFormat(format);
      const int bpp = format == pf24bit ? 3 : 4;
      TBitmap dest;
      tool.DarkenBitmap(&picture, &dest);
      int wrong = 0;
      for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
          const double d = std::sqrt(double((y - r.Top) * (y - r.Top) + (x - r.Left) * (x - r.Left)));
          const double f = r.Factor * 0.01 * (r.Style == lsLinear ? 20 : 1);
          const double o = std::nearbyint(r.Style == lsSpotLight ? f * ((d + 1) * e) * ((d + 1) * e) : e * f * d);
          for (int b = 0; b < 3; ++b) {
            const int v = picture.ScanLine(y)[x * bpp + b];
            const int want = o < 1 ? v : o < 255 ? (o >= v ? 0 : v - int(o)) : 0;
            wrong += dest.ScanLine(y)[x * bpp + b] != want;
          }
        }
      EXPECT_EQ(wrong, 0) << format;
    }
  }
  // A light point far away makes no long work of it.
  TLightTool far;
  far.SetLeft(2000000000);
  far.SetTop(-2000000000);
  TBitmap dest;
  far.DarkenBitmap(source.get(), &dest);
  EXPECT_EQ(dest.ScanLine(0)[0], 0);
}

TEST(LightTool, FactorZeroLeavesTheChartPictureAndTheLightSitsAtTheChartsOwnCentre) {
  RegisterExtraToolTypes();
  TChart chart(nullptr);
  chart.SetBounds(50, 40, 200, 150);  // placed away from its parent's corner
  auto* line = new TLineSeries(&chart);
  line->SetParentChart(&chart);
  for (int i = 0; i < 10; ++i) line->AddXYPoint(i, i * i);
  const TRect r = Rect(0, 0, 200, 150);
  auto plain = chart.RenderBitmap(clWhite, r, pf24bit);

  auto* light = new TLightTool(&chart);
  chart.Tools()->AddTool(light);
  EXPECT_EQ(light->LightPoint(), Point(100, 75));
  light->SetFactor(0);
  auto unlit = chart.RenderBitmap(clWhite, r, pf24bit);
  int differing = 0;
  for (int y = 0; y < 150; ++y)
    for (int x = 0; x < 200; ++x) differing += plain->Canvas()->Pixels(x, y) != unlit->Canvas()->Pixels(x, y);
  EXPECT_EQ(differing, 0);

  light->SetFactor(50);
  auto lit = chart.RenderBitmap(clWhite, r, pf24bit);
  EXPECT_EQ(lit->Canvas()->Pixels(100, 75), plain->Canvas()->Pixels(100, 75));
  EXPECT_NE(lit->Canvas()->Pixels(2, 2), plain->Canvas()->Pixels(2, 2));
}

TEST(LightTool, FollowsTheMouseOnlyWhenAsked) {
  TToolScene s(5);
  auto* light = s.Add<TLightTool>();
  MouseMove(&s.chart, 30, 40);
  EXPECT_EQ(light->Left(), -1);
  light->SetFollowMouse(true);
  MouseMove(&s.chart, 30, 40);
  EXPECT_EQ(light->LightPoint(), Point(30, 40));
}

// ---- Selector ------------------------------------------------------------------------------------

TEST(SelectorTool, ALegendDragOfOneOrTwoPixelsDoesNotMoveItThenEveryPixelCounts) {
  TToolScene s(5);
  auto* sel = s.Add<TSelectorTool>();
  int dragged = 0;
  sel->OnDragged = [&](TObject*) { ++dragged; };
  s.chart.Pass();
  TCustomChartLegend* legend = s.chart.Legend();
  const TRect box = legend->ShapeBox;
  const TPoint p = Centre(box);
  MouseDown(&s.chart, mbLeft, p.X, p.Y);
  ASSERT_EQ(sel->SelectedShape(), legend);
  EXPECT_TRUE(sel->Dragging());
  MouseMove(&s.chart, p.X + 1, p.Y);
  MouseMove(&s.chart, p.X + 2, p.Y + 2);
  EXPECT_EQ(legend->ShapeBox.Left, box.Left);
  EXPECT_EQ(legend->ShapeBox.Top, box.Top);
  EXPECT_FALSE(legend->CustomPosition());
  MouseMove(&s.chart, p.X + 3, p.Y + 2);
  EXPECT_EQ(legend->ShapeBox.Left, box.Left + 3);
  EXPECT_TRUE(legend->CustomPosition());
  MouseMove(&s.chart, p.X + 4, p.Y + 3);  // once moved, one pixel moves it
  EXPECT_EQ(legend->ShapeBox.Left, box.Left + 4);
  EXPECT_EQ(legend->ShapeBox.Top, box.Top + 3);
  MouseUp(&s.chart, mbLeft, p.X + 4, p.Y + 3);
  EXPECT_EQ(dragged, 1);
  EXPECT_FALSE(sel->Dragging());
}

TEST(SelectorTool, EmptySpaceSelectsTheChartWithFourHandlesInsideItsEdges) {
  TToolScene s(5, false);
  auto* sel = s.Add<TSelectorTool>();
  int selected = 0;
  sel->OnSelected = [&](TObject*) { ++selected; };
  s.chart.Pass();
  Click(&s.chart, 2, s.chart.Height() - 2);
  EXPECT_EQ(selected, 1);
  EXPECT_EQ(sel->Part().Part, cpNone);
  EXPECT_EQ(sel->SelectedShape(), nullptr);
  EXPECT_FALSE(sel->Dragging());
  s.chart.Pass();
  const int h = sel->HandleSize(), W = s.chart.Width(), H = s.chart.Height();
  const std::vector<TPoint> expected{{h, h}, {W - h, h}, {h, H - h}, {W - h, H - h}};
  EXPECT_EQ(sel->HandleCentres(), expected);
}

TEST(SelectorTool, AnAnnotationOverTheLegendWinsAndTheChartResizesFromItsCorner) {
  TToolScene s(5);
  s.chart.Pass();
  const TPoint p = Centre(s.chart.Legend()->ShapeBox);
  auto* note = s.Add<TAnnotationTool>();
  note->SetText("over");
  note->Shape()->SetCustomPosition(true);
  note->SetLeft(p.X - 10);
  note->SetTop(p.Y - 5);
  auto* sel = s.Add<TSelectorTool>();
  s.chart.Pass();
  Click(&s.chart, p.X, p.Y);
  EXPECT_EQ(sel->Annotation(), note);
  EXPECT_EQ(sel->SelectedShape(), note->Shape());

  sel->SetAllowResizeChart(true);
  int resizing = 0, resized = 0;
  sel->OnResizing = [&](TObject*) { ++resizing; };
  sel->OnResized = [&](TObject*) { ++resized; };
  const int W = s.chart.Width(), H = s.chart.Height();
  MouseDown(&s.chart, mbLeft, W - 3, H - 3);
  EXPECT_TRUE(sel->Resizing());
  MouseMove(&s.chart, W - 50, H - 30);
  EXPECT_EQ(s.chart.Width(), W - 50);
  EXPECT_EQ(s.chart.Height(), H - 30);
  EXPECT_EQ(resized, 0);
  MouseUp(&s.chart, mbLeft, W - 50, H - 30);
  EXPECT_EQ(resizing, 1);
  EXPECT_EQ(resized, 1);
}

TEST(SelectorTool, ASeriesOfAThousandPointsShowsAboutTwentyHandles) {
  TToolScene s(1000, false);
  auto* sel = s.Add<TSelectorTool>();
  s.chart.Pass();
  // A press on a point of the line selects the series.
  const int i = 500;
  Click(&s.chart, s.series->PointXPixel(i), s.series->PointYPixel(i));
  ASSERT_EQ(sel->Part().Part, cpSeries);
  s.chart.Pass();
  EXPECT_EQ(sel->HandleCentres().size(), 21u);  // every 49th of 0..999
}

// ---- Extra legend ----------------------------------------------------------------------------------

TEST(ExtraLegendTool, ListsTheValuesOfItsSeriesOnlyWithASeriesAndWhileVisible) {
  TToolScene s(6, false);
  auto texts = [&] {
    s.chart.Pass();
    return s.chart.Rec->CallsOf("TextOut", 0).size();
  };
  const size_t plain = texts();
  auto* extra = s.Add<TExtraLegendTool>();
  TChartLegend* legend = extra->Legend();
  EXPECT_EQ(legend->LegendStyle(), lsValues);
  EXPECT_TRUE(legend->CustomPosition());
  EXPECT_EQ(texts(), plain);  // no series: nothing
  extra->SetSeries(s.series);
  EXPECT_GE(texts(), plain + 6);  // one row per value
  legend->SetVisible(false);
  EXPECT_EQ(texts(), plain);
  EXPECT_EQ(legend->Series(), s.series);  // hidden, it still follows the series
}

// ---- Series band -----------------------------------------------------------------------------------

TEST(SeriesBandTool, FillsOnePolygonOfBothVisibleRangesOncePerPaintBehindTheSeries) {
  TToolScene s(5, false);
  auto* upper = new TLineSeries(&s.chart);
  upper->SetParentChart(&s.chart);
  for (int i = 0; i < 8; ++i) upper->AddXYPoint(i * 0.5, 20 + i);
  auto* band = s.Add<TSeriesBandTool>();
  band->Brush()->SetColor(clYellow);
  band->SetSeries(s.series);
  s.chart.Pass();
  EXPECT_TRUE(band->Polygon().empty());  // one series: nothing
  band->SetSeries2(upper);
  s.chart.Pass();
  ASSERT_EQ(band->Polygon().size(), 5u + 8u);
  EXPECT_EQ(band->Polygon().front(), Point(s.series->PointXPixel(0), s.series->PointYPixel(0)));
  EXPECT_EQ(band->Polygon().back(), Point(upper->PointXPixel(0), upper->PointYPixel(0)));
  size_t fills = 0;
  for (const TCanvasCall& c : s.chart.Rec->CallsOf("Polygon", 0)) fills += c.BrushColor == clYellow;
  EXPECT_EQ(fills, 1u);
  // Behind: the band comes before the first line segment of either series.
  const auto& calls = s.chart.Rec->Calls;
  size_t bandAt = calls.size(), firstLine = calls.size();
  for (size_t k = 0; k < calls.size(); ++k) {
    if (calls[k].Op == "Polygon" && calls[k].BrushColor == clYellow && bandAt == calls.size()) bandAt = k;
    if ((calls[k].PenColor == s.series->SeriesColor() || calls[k].PenColor == upper->SeriesColor()) &&
        (calls[k].Op == "LineTo" || calls[k].Op == "LineTo3D" || calls[k].Op == "Polyline") && firstLine == calls.size())
      firstLine = k;
  }
  EXPECT_LT(bandAt, firstLine);

  band->SetDrawBehindSeries(false);
  s.chart.Pass();
  fills = 0;
  for (const TCanvasCall& c : s.chart.Rec->CallsOf("Polygon", 0)) fills += c.BrushColor == clYellow;
  EXPECT_EQ(fills, 1u);
}

TEST(SeriesBandTool, TakesOverTheSeriesDrawEventsAndEmptiesThemWhenLettingGo) {
  TToolScene s(5, false);
  int own = 0;
  s.series->BeforeDrawValues = [&](TObject*) { ++own; };
  s.series->AfterDrawValues = [&](TObject*) { ++own; };
  auto* band = s.Add<TSeriesBandTool>();
  band->SetSeries(s.series);
  s.chart.Pass();
  EXPECT_EQ(own, 0);
  EXPECT_TRUE(s.series->BeforeDrawValues);
  band->SetSeries(nullptr);
  EXPECT_FALSE(s.series->BeforeDrawValues);
  EXPECT_FALSE(s.series->AfterDrawValues);

  // A freed border series is forgotten.
  auto* other = new TLineSeries(&s.chart);
  other->SetParentChart(&s.chart);
  band->SetSeries2(other);
  delete other;
  EXPECT_EQ(band->Series2(), nullptr);
  s.chart.Pass();
}

// ---- Pie -------------------------------------------------------------------------------------------

namespace {
struct TPieScene {
  TPieScene() : chart(300, 300) {
    RegisterExtraToolTypes();
    chart.Zoom()->SetAllow(false);
    chart.SetAllowPanning(pmNone);
    pie = new TPieSeries(&chart);
    pie->SetParentChart(&chart);
    for (double v : {1.0, 2.0, 3.0, 4.0}) pie->AddSingleValue(v);
    tool = new TPieTool(&chart);
    chart.Tools()->AddTool(tool);
    tool->SetSeries(pie);
    tool->StepDelay = 0;
    chart.Pass();
  }
  // A point inside slice k, away from its edges.
  TPoint PointIn(int k) {
    TPoint best{-1, -1};
    int bestCount = -1;
    for (int y = 10; y < chart.Height() - 10; y += 4)
      for (int x = 10; x < chart.Width() - 10; x += 4) {
        if (pie->SliceAtPoint(x, y, false) != k) continue;
        int count = 0;
        for (int dy = -8; dy <= 8; dy += 4)
          for (int dx = -8; dx <= 8; dx += 4) count += pie->SliceAtPoint(x + dx, y + dy, false) == k;
        if (count > bestCount) {
          bestCount = count;
          best = {x, y};
        }
      }
    return best;
  }
  TSeriesTestChart chart;
  TPieSeries* pie;
  TPieTool* tool;
};
}  // namespace

TEST(PieTool, ExplodesTheSliceUnderTheMouseAndTakesItBackWhenLeaving) {
  TPieScene s;
  s.tool->SetStyle(ptExplode);
  const TPoint a = s.PointIn(0), b = s.PointIn(2);
  MouseMove(&s.chart, a.X, a.Y);
  EXPECT_EQ(s.tool->Slice(), 0);
  EXPECT_EQ(s.pie->ExplodePercents()->ItemValue(0), 40);
  MouseMove(&s.chart, b.X, b.Y);  // straight onto another slice
  EXPECT_EQ(s.tool->Slice(), 2);
  EXPECT_EQ(s.pie->ExplodePercents()->ItemValue(0), 0);
  EXPECT_EQ(s.pie->ExplodePercents()->ItemValue(2), 40);
  MouseMove(&s.chart, 1, 1);  // off the pie
  EXPECT_EQ(s.tool->Slice(), -1);
  EXPECT_EQ(s.pie->ExplodePercents()->ItemValue(2), 0);
}

TEST(PieTool, FocusOutlinesInThePenColourUnlessTheSliceHasIt) {
  struct Row {
    TColor Pen;
    bool SliceOfPenColour;
    TColor Drawn;
  };
  const Row rows[] = {{clRed, false, clRed}, {clRed, true, clBlack}, {clBlack, true, clWhite}};
  for (const Row& r : rows) {
    SCOPED_TRACE(testing::Message() << r.Pen << " " << r.SliceOfPenColour);
    TPieScene s;
    s.pie->SetPointColor(1, r.SliceOfPenColour ? r.Pen : clLime);
    s.chart.Pass();
    s.tool->Pen()->SetColor(r.Pen);
    const TPoint p = s.PointIn(1);
    s.chart.Rec->Clear();
    MouseMove(&s.chart, p.X, p.Y);
    const auto pies = s.chart.Rec->CallsOf("Pie2D", 0);
    ASSERT_EQ(pies.size(), 1u);
    EXPECT_EQ(pies[0].PenColor, r.Drawn);
    EXPECT_EQ(pies[0].PenWidth, 4);
    EXPECT_EQ(pies[0].BrushStyle, bsClear);
  }
}

TEST(PieTool, IgnoresASeriesThatIsNoPie) {
  TToolScene s(5, false);
  auto* tool = s.Add<TPieTool>();
  tool->SetSeries(s.series);
  s.chart.Pass();
  s.chart.Rec->Clear();
  MouseMove(&s.chart, s.series->PointXPixel(2), s.series->PointYPixel(2));
  EXPECT_EQ(tool->Slice(), -1);
  EXPECT_EQ(s.chart.Rec->Calls.size(), 0u);
}

// ---- Gantt -----------------------------------------------------------------------------------------

namespace {
struct TGanttScene {
  TGanttScene() {
    RegisterExtraToolTypes();
    chart.Zoom()->SetAllow(false);
    chart.SetAllowPanning(pmNone);
    gantt = new TGanttSeries(&chart);
    gantt->SetParentChart(&chart);
    gantt->AddGanttTask(10, 20, 1);
    gantt->AddGanttTask(30, 40, 2);
    gantt->XValues()->SetOrder(loNone);
    chart.BottomAxis()->SetRange(0, 60);
    tool = new TGanttTool(&chart);
    chart.Tools()->AddTool(tool);
    tool->SetSeries(gantt);
    chart.Pass();
  }
  int X(double v) { return gantt->HorizPixelOf(v); }
  int Row(double y) { return gantt->VertPixelOf(y); }
  TSeriesTestChart chart;
  TGanttSeries* gantt;
  TGanttTool* tool;
};
}  // namespace

TEST(GanttTool, AStartDraggedPastItsEndLeavesABarOfZeroLengthNeverAReversedOne) {
  TGanttScene s;
  const int i = 0, y = s.Row(1);
  // Within MinPixels of the start, though also inside the bar: the start is taken.
  MouseDown(&s.chart, mbLeft, s.X(10) + 2, y);
  EXPECT_EQ(s.tool->GrabbedBar(), i);
  EXPECT_EQ(s.tool->GrabbedPart(), pbStart);
  MouseMove(&s.chart, s.X(25), y);
  EXPECT_EQ(s.gantt->StartValues()->GetValue(i), 20);
  EXPECT_EQ(s.gantt->EndValues()->GetValue(i), 20);
  MouseUp(&s.chart, mbLeft, s.X(25), y);
  EXPECT_EQ(s.tool->GrabbedBar(), -1);

  // The end dragged before the start stops at it.
  MouseDown(&s.chart, mbLeft, s.X(40) - 1, s.Row(2));
  EXPECT_EQ(s.tool->GrabbedPart(), pbEnd);
  MouseMove(&s.chart, s.X(5), s.Row(2));
  EXPECT_EQ(s.gantt->EndValues()->GetValue(1), s.gantt->StartValues()->GetValue(1));
  MouseUp(&s.chart, mbLeft, s.X(5), s.Row(2));
}

TEST(GanttTool, AWholeBarMovesWhenResizingIsOffAndHoverSetsTheCursors) {
  TGanttScene s;
  std::vector<int> dragged;
  s.tool->OnDragBar = [&](TGanttTool*, int Bar) { dragged.push_back(Bar); };
  s.tool->SetAllowResize(false);
  const int y = s.Row(2);
  MouseDown(&s.chart, mbLeft, s.X(40) - 1, y);  // on the end
  EXPECT_EQ(s.tool->GrabbedPart(), pbAll);
  const double before = s.gantt->EndValues()->GetValue(1) - s.gantt->StartValues()->GetValue(1);
  MouseMove(&s.chart, s.X(40) + 40, y);
  MouseUp(&s.chart, mbLeft, s.X(40) + 40, y);
  EXPECT_GT(s.gantt->StartValues()->GetValue(1), 30);
  EXPECT_DOUBLE_EQ(s.gantt->EndValues()->GetValue(1) - s.gantt->StartValues()->GetValue(1), before);
  EXPECT_EQ(dragged, std::vector<int>{1});

  s.tool->SetAllowResize(true);
  s.chart.Pass();
  MouseMove(&s.chart, s.X(10) - 2, s.Row(1));  // near the start, outside the bar
  EXPECT_EQ(s.chart.Cursor(), crSizeWE);
  MouseMove(&s.chart, s.X(15), s.Row(1));
  EXPECT_EQ(s.chart.Cursor(), crHandPoint);
}

TEST(GanttTool, IgnoresTheMouseWithASeriesThatIsNoGantt) {
  TToolScene s(5, false);
  auto* tool = s.Add<TGanttTool>();
  tool->SetSeries(s.series);
  s.chart.Pass();
  const int x = s.series->PointXPixel(2), y = s.series->PointYPixel(2);
  MouseDown(&s.chart, mbLeft, x, y);
  MouseMove(&s.chart, x + 20, y);
  MouseUp(&s.chart, mbLeft, x + 20, y);
  EXPECT_EQ(tool->GrabbedBar(), -1);
  EXPECT_EQ(s.series->XValues()->GetValue(2), 2);
}

// ---- Grid transpose ----------------------------------------------------------------------------------

TEST(GridTransposeTool, TransposingTwiceRestoresXAndZ) {
  TSeriesTestChart chart;
  auto* grid = new TSurfaceSeries(&chart);
  grid->SetParentChart(&chart);
  for (int x = 0; x < 3; ++x)
    for (int z = 0; z < 2; ++z) grid->AddPoint3D(x, 10 * x + z, 5 + z);
  auto* tool = new TGridTransposeTool(&chart);
  chart.Tools()->AddTool(tool);
  auto values = [&] {
    std::vector<std::array<double, 3>> v;
    for (int i = 0; i < grid->PointCount(); ++i)
      v.push_back({grid->XValues()->GetValue(i), grid->YValues()->GetValue(i), grid->ZValueAt(i)});
    return v;
  };
  const auto before = values();
  tool->Transpose();  // no series: unchanged
  EXPECT_EQ(values(), before);
  tool->SetSeries(grid);
  tool->SetActive(false);
  tool->Transpose();
  EXPECT_EQ(values(), before);
  tool->SetActive(true);
  tool->Transpose();
  const auto once = values();
  ASSERT_EQ(once.size(), before.size());
  for (size_t i = 0; i < once.size(); ++i) {
    EXPECT_EQ(once[i][0], before[i][2]);
    EXPECT_EQ(once[i][1], before[i][1]);
    EXPECT_EQ(once[i][2], before[i][0]);
  }
  tool->Transpose();
  EXPECT_EQ(values(), before);

  grid->RemoveAllPoints();
  tool->Transpose();
  EXPECT_EQ(grid->PointCount(), 0);
  // A freed series is forgotten: "Transpose now" then does nothing.
  delete grid;
  EXPECT_EQ(tool->Series(), nullptr);
  tool->Transpose();
}

// ---- Page number ---------------------------------------------------------------------------------

TEST(PageNumTool, AFreshToolShowsPageAndCountOfAPagedChart) {
  TToolScene s(45, false);
  s.chart.SetMaxPointsPerPage(10);
  s.chart.SetPage(2);
  auto* tool = s.Add<TPageNumTool>();
  EXPECT_EQ(tool->Format(), "Page %d of %d");
  EXPECT_EQ(tool->GetText(), "Page 2 of 5");
  s.chart.Pass();
  bool shown = false;
  for (const TCanvasCall& c : s.chart.Rec->CallsOf("TextOut", 0)) shown |= c.Text == "Page 2 of 5";
  EXPECT_TRUE(shown);
}

TEST(PageNumTool, OnlyTwoNumbersAndPercentSignsAreSubstituted) {
  struct Row {
    const char* Format;
    const char* Shown;
  };
  const Row rows[] = {
      {"Page %d of %d", "Page 3 of 7"},
      {"No placeholders", "No placeholders"},
      {"%d%% done", "3% done"},
      {"%s %n %x %d/%d %d", "%s %n %x 3/7 %d"},  // a chart file's stray specifiers stay text
      {"%", "%"},
      {"50%", "50%"},
  };
  for (const Row& r : rows) EXPECT_EQ(FormatPageNumber(r.Format, 3, 7), r.Shown) << r.Format;
}

TEST(PageNumTool, TheDefaultFormatIsNotStoredAndAnotherOneComesBack) {
  RegisterClasses({&TChart::StaticClass()});
  RegisterExtraToolTypes();
  RegisterStandardSeries();
  auto text = [](TChart& chart) {
    TMemoryStream m;
    WriteChartStream(&chart, m, true, true);
    return std::string(reinterpret_cast<const char*>(m.Memory()), static_cast<size_t>(m.Size()));
  };
  TChart chart(nullptr);
  chart.SetName("Chart1");
  auto* tool = new TPageNumTool(&chart);
  tool->SetName("ChartTool1");
  chart.Tools()->AddTool(tool);
  EXPECT_EQ(text(chart).find("Format"), std::string::npos);
  tool->SetFormat("%d / %d");
  const std::string stored = text(chart);
  EXPECT_NE(stored.find("Format"), std::string::npos);
  TChart back(nullptr);
  TMemoryStream m;
  m.WriteBuffer(stored.data(), static_cast<int64_t>(stored.size()));
  m.SetPosition(0);
  ReadChartStream(&back, m);
  ASSERT_EQ(back.Tools()->Count(), 1);
  auto* read = dynamic_cast<TPageNumTool*>(back.Tools()->ToolAt(0));
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(read->Format(), "%d / %d");
}
