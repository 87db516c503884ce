// Circled and pie series: circle geometry, grouping of small slices into an
// "Other" slice, slice angles, several pies on one chart, the slices drawn,
// explode lists, hit tests, marks, the standard registration and a reviewed
// picture of a 3D pie.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "chart/core/golden.h"
#include "chart/core/grafconst.h"
#include "chart/core/grafprocs.h"
#include "chart/series/series.h"
#include "chart/series/series_bar.h"
#include "chart/series/series_pie.h"
#include "platform/gfx/bitmap.h"
#include "platform/gfx/colors.h"
#include "platform/rtl/mathutils.h"
#include "platform/ui/streaming.h"
#include "seriestest.h"
#include "support/testlocale.h"

namespace {

struct TPieScene {
  explicit TPieScene(std::initializer_list<double> values, int Width = 400, int Height = 300) : chart(Width, Height) {
    pie = Add(values);
  }
  TPieSeries* Add(std::initializer_list<double> values) {
    auto* p = new TPieSeries(&chart);
    p->SetParentChart(&chart);
    p->Marks()->SetVisible(false);
    for (double v : values) p->AddSingleValue(v);
    return p;
  }
  TSeriesTestChart chart;
  TPieSeries* pie;
};

// ---- Circle geometry ---------------------------------------------------------------------

TEST(CircledSeries, RingBoundsAreEvenAndAtLeastFourPixels) {
  struct Case {
    TRect in;
    int width, height;
  };
  const Case cases[] = {{Rect(0, 0, 101, 3), 100, 4}, {Rect(10, 10, 60, 40), 50, 30}, {Rect(0, 0, 1, 1), 4, 4}};
  TPieScene s({1});
  for (const Case& c : cases) {
    s.pie->RingBounds = c.in;
    s.pie->FitRingBounds();
    EXPECT_EQ(s.pie->RingWidth, c.width);
    EXPECT_EQ(s.pie->RingHeight, c.height);
    EXPECT_EQ(s.pie->RingCenterX, c.in.Left + c.width / 2);
  }
}

TEST(CircledSeries, AnglesAndPointsOnTheCircleAreInverse) {
  TPieScene s({1});
  TPieSeries* p = s.pie;
  p->SetRotationAngle(450);
  EXPECT_EQ(p->RotationAngle(), 90);
  p->SetRotationAngle(0);
  p->RingCenterX = 100;
  p->RingCenterY = 100;
  p->RadiusX = p->RadiusY = 50;
  EXPECT_EQ(p->PointOnCircle(0, 50, 50), Point(150, 100));
  EXPECT_EQ(p->PointOnCircle(M_PI / 2, 50, 50), Point(100, 50));  // counter-clockwise, y down
  EXPECT_NEAR(p->AngleOfPoint(100, 50), M_PI / 2, 1e-9);
  EXPECT_NEAR(p->AngleOfPoint(100, 150), 3 * M_PI / 2, 1e-9);
  EXPECT_NEAR(p->AngleOfPoint(50, 100), M_PI, 1e-9);
  p->SetRotationAngle(90);
  EXPECT_EQ(p->PointOnCircle(0, 50, 50), Point(100, 50));
  EXPECT_NEAR(p->AngleOfPoint(100, 50), 0, 1e-9);
}

TEST(CircledSeries, CircledAndCustomRadiiActOnEveryPieOfTheChart) {
  TPieScene s({1, 2});
  TPieSeries* other = s.Add({3});
  s.pie->SetMultiPie(mpDisabled);
  other->SetMultiPie(mpDisabled);
  s.pie->SetCustomXRadius(80);
  EXPECT_EQ(other->CustomXRadius(), 80);
  s.chart.Pass();
  EXPECT_EQ(other->RadiusX, 80);
  s.pie->SetCircled(true);
  EXPECT_TRUE(other->Circled());
  EXPECT_EQ(other->CustomXRadius(), 0);
  s.chart.Pass();
  EXPECT_EQ(s.pie->RadiusX, s.pie->RadiusY);
}

TEST(CircledSeries, RemovingThePieGivesTheChartItsViewBack) {
  TSeriesTestChart chart;
  chart.View3DOptions()->SetOrthogonal(true);
  chart.View3DOptions()->SetElevation(345);
  auto* pie = new TPieSeries(&chart);
  pie->SetParentChart(&chart);
  EXPECT_FALSE(chart.View3DOptions()->Orthogonal());
  EXPECT_EQ(chart.View3DOptions()->Elevation(), 315);
  pie->SetParentChart(nullptr);
  EXPECT_TRUE(chart.View3DOptions()->Orthogonal());
  EXPECT_EQ(chart.View3DOptions()->Elevation(), 345);
  delete pie;
}

// ---- Grouping and angles -----------------------------------------------------------------

TEST(PieGrouping, SmallSlicesBecomeOneOtherSlice) {
  RegisterClasses({&TChart::StaticClass()});
  RegisterStandardSeries();
  TPieScene s({50, 30, 10, 6, 4});
  s.chart.SetName("Chart1");
  s.pie->SetName("Pie1");
  s.pie->OtherSlice()->SetStyle(poBelowPercent);
  s.pie->OtherSlice()->SetValue(8);
  s.chart.Pass();
  TPieSeries* p = s.pie;
  ASSERT_EQ(p->PointCount(), 6);
  EXPECT_DOUBLE_EQ(p->YValues()->GetValue(5), 10);
  EXPECT_EQ(p->PointLabel(5), "Other");
  EXPECT_TRUE(p->IsGroupedSlice(3));
  EXPECT_TRUE(p->IsGroupedSlice(4));
  // The legend rows: 50, 30, 10 and "Other".
  ASSERT_EQ(p->LegendEntryCount(), 4);
  std::vector<int> rows;
  for (int r = 0; r < 4; ++r) rows.push_back(p->MapValueIndex(r));
  EXPECT_EQ(rows, (std::vector<int>{0, 1, 2, 5}));
  // Percentages of 100, not 110.
  EXPECT_DOUBLE_EQ(p->YValues()->TotalAbs(), 100);
  EXPECT_EQ(p->PercentMarkText(0, false), "50 %");
  // The grouped slices have no width; the other slice takes their angle.
  const auto& arcs = p->SliceArcs();
  EXPECT_DOUBLE_EQ(arcs[3].EndAngle, arcs[3].StartAngle);
  EXPECT_NEAR(arcs[5].EndAngle - arcs[5].StartAngle, 2 * M_PI * 0.1, 1e-9);
  EXPECT_DOUBLE_EQ(arcs[5].EndAngle, 2 * M_PI);

  // The other slice's own legend lists the grouped slices.
  p->DrawingLegend = p->OtherSlice()->Legend();
  EXPECT_EQ(p->LegendEntryCount(), 2);
  EXPECT_EQ(p->MapValueIndex(0), 3);
  EXPECT_EQ(p->MapValueIndex(1), 4);
  p->DrawingLegend = nullptr;
  EXPECT_FALSE(p->OtherSlice()->Legend()->Visible());

  // A repaint regroups from scratch: still one other slice.
  s.chart.Pass();
  EXPECT_EQ(p->PointCount(), 6);

  // The stored points leave the other slice out.
  const std::string text = ComponentToText(&s.chart);
  TChart loaded(nullptr);
  TextToComponent(text, &loaded);
  ASSERT_EQ(loaded.NumberOfSeries(), 1);
  EXPECT_EQ(loaded.SeriesAt(0)->PointCount(), 5) << text;
}

TEST(PieAngles, SlicesShareTheAngleSizeByAbsoluteValue) {
  struct Case {
    const char* name;
    std::vector<double> values;
    int angleSize;
    std::vector<double> endsDegrees;
  };
  const Case cases[] = {
      {"whole pie", {1, 1, 2}, 360, {90, 180, 360}},
      {"semi pie", {1, 1, 2}, 180, {45, 90, 180}},
      {"negative values count by size", {-1, 3}, 360, {90, 360}},
      {"all zero: the first slice covers the angle", {0, 0, 0}, 360, {360, 360, 360}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TPieScene s({});
    for (double v : c.values) s.pie->AddSingleValue(v);
    s.pie->SetAngleSize(c.angleSize);
    s.chart.Pass();
    const auto& arcs = s.pie->SliceArcs();
    ASSERT_EQ(arcs.size(), c.values.size());
    for (size_t i = 0; i < arcs.size(); ++i) EXPECT_NEAR(arcs[i].EndAngle * 180 / M_PI, c.endsDegrees[i], 1e-9) << i;
    if (c.values[0] == 0) EXPECT_DOUBLE_EQ(arcs[1].EndAngle - arcs[1].StartAngle, 0);
  }
}

TEST(PieLayout, SeveralPiesShareTheChartInAGrid) {
  struct Case {
    int pies, columns, rows;
  };
  for (const Case& c : {Case{2, 1, 2}, Case{3, 2, 2}, Case{4, 2, 2}, Case{5, 2, 3}, Case{6, 2, 3}}) {
    SCOPED_TRACE(c.pies);
    TPieScene s({1, 2}, 600, 600);
    std::vector<TPieSeries*> pies{s.pie};
    for (int k = 1; k < c.pies; ++k) pies.push_back(s.Add({1, 2}));
    s.chart.Pass();
    const TRect area = s.chart.ChartArea;
    const int cw = area.Width() / c.columns, rh = area.Height() / c.rows;
    for (int k = 0; k < c.pies; ++k) {
      const int col = k % c.columns, row = k / c.columns;
      EXPECT_NEAR(pies[k]->RingCenterX, area.Left + col * cw + cw / 2, 1) << k;
      EXPECT_NEAR(pies[k]->RingCenterY, area.Top + row * rh + rh / 2, 1) << k;
      EXPECT_LE(pies[k]->RadiusX, cw / 2);
    }
  }
  // Disabled: every pie takes the whole chart.
  TPieScene s({1, 2});
  TPieSeries* b = s.Add({3});
  s.pie->SetMultiPie(mpDisabled);
  b->SetMultiPie(mpDisabled);
  s.chart.Pass();
  EXPECT_EQ(s.pie->RingBounds, b->RingBounds);
}

// ---- Drawing -----------------------------------------------------------------------------

TEST(PieDrawing, SectorsJoinAndATinySliceLeavesNoGap) {
  // 180, 0.1 and 179.9 degrees on a pie of radius 50.
  TPieScene s({1800, 1, 1799});
  s.pie->SetCustomXRadius(50);
  s.pie->SetCustomYRadius(50);
  s.chart.Pass();
  const auto sectors = s.chart.Rec->CallsOf("Pie2D", 0);
  ASSERT_EQ(sectors.size(), 2u);
  const TPoint end0 = Point(sectors[0].Arg(6), sectors[0].Arg(7));
  const TPoint start1 = Point(sectors[1].Arg(4), sectors[1].Arg(5));
  EXPECT_EQ(start1, end0);
  EXPECT_EQ(Point(sectors[1].Arg(6), sectors[1].Arg(7)), Point(sectors[0].Arg(4), sectors[0].Arg(5)));
  EXPECT_EQ(sectors[0].Arg(2) - sectors[0].Arg(0), 100);

  // One point: a full disc.
  TPieScene one({5});
  one.chart.Pass();
  EXPECT_EQ(one.chart.Rec->Count("Pie2D", 0), 1);
}

TEST(PieDrawing, ExplodeListsFollowDeletedAndExchangedPoints) {
  TPieScene s({1, 2, 3, 4, 5});
  s.pie->ExplodePercents()->SetItemValue(2, 20);
  s.pie->ExplodePercents()->SetItemValue(3, 30);
  s.pie->RemovePoint(2);
  EXPECT_EQ(s.pie->ExplodePercents()->ItemValue(2), 30);
  EXPECT_EQ(s.pie->ExplodePercents()->ItemValue(3), 0);
  s.pie->ExchangePoints(0, 2);
  EXPECT_EQ(s.pie->ExplodePercents()->ItemValue(0), 30);
  EXPECT_EQ(s.pie->ExplodePercents()->ItemValue(9), 0);  // beyond the list
}

TEST(PieDrawing, ExplodedSliceShrinksThePieAndClicksFindSlices) {
  TPieScene s({1, 1, 1, 1});
  s.chart.Pass();
  const int plainWidth = s.pie->RingWidth;
  s.pie->ExplodePercents()->SetItemValue(0, 30);
  s.chart.Pass();
  // The slice's offset on the full circle (middle at 45 degrees), half of it taken off each side.
  const int dx = static_cast<int>(std::nearbyint(std::cos(M_PI / 4) * (plainWidth / 2) * 0.3));
  EXPECT_NEAR(s.pie->RingWidth, plainWidth - 2 * (dx / 2), 1);

  TPieSeries* p = s.pie;
  // Middle of each wedge (the first slice moved out by its offset).
  for (int i = 0; i < 4; ++i) {
    const double a = (i + 0.5) * M_PI / 2;
    int ex = 0, ey = 0;
    p->ExplodeOffset(i, ex, ey);
    const TPoint at = p->PointOnCircle(a, p->RadiusX * 0.6, p->RadiusY * 0.6);
    EXPECT_EQ(p->IndexAtPoint(at.X + ex, at.Y - ey), i);
  }
  // Between the exploded slice and the body: nothing.
  const TPoint gap = p->PointOnCircle(M_PI / 4, 3, 3);
  EXPECT_EQ(p->IndexAtPoint(gap.X, gap.Y), -1);
}

TEST(PieDrawing, ThreeDSlicesRiseAndPartialDonutsShowTheirEnds) {
  TPieScene s({10, 20, 30, 40});
  s.chart.SetView3D(true);
  s.pie->RaisePercents()->SetItemValue(1, 50);
  s.pie->RaisePercents()->SetItemValue(3, 0);
  s.chart.Pass();
  const auto slices = s.chart.Rec->CallsOf("Pie3D", 0);
  ASSERT_EQ(slices.size(), 4u);
  const int z0 = s.pie->StartZ, z1 = s.pie->EndZ;
  ASSERT_GT(z1 - z0, 4);
  // Args: centre, radii, z0, z1, start, end, dark, all sides, donut.
  int raised = 0;
  for (const TCanvasCall& c : slices) {
    EXPECT_EQ(c.Arg(4), z0);
    const double start = c.Args[6];
    const bool second = std::abs(start - 2 * M_PI * 0.1) < 1e-9;
    if (second) {
      EXPECT_NEAR(c.Arg(5), z0 + (z1 - z0) / 2.0, 1);
      ++raised;
    } else if (std::abs(start - 2 * M_PI * 0.6) < 1e-9) {
      EXPECT_EQ(c.Arg(5), z0);  // height entry 0: flat
    }
    EXPECT_EQ(c.Args[9], 1);  // raised slices show all their sides
  }
  EXPECT_EQ(raised, 1);

  // A partial donut without raised slices: only its first and last slice get their sides.
  TPieScene d({1, 1, 1});
  d.chart.SetView3D(true);
  d.pie->SetAngleSize(270);
  d.pie->SetDonutPercent(50);
  d.chart.Pass();
  const auto donut = d.chart.Rec->CallsOf("Pie3D", 0);
  ASSERT_EQ(donut.size(), 3u);
  for (const TCanvasCall& c : donut) {
    const bool middle = std::abs(c.Args[6] - M_PI / 2) < 1e-9;
    EXPECT_EQ(c.Args[9], middle ? 0 : 1) << c.Args[6];
    EXPECT_EQ(c.Arg(10), 50);
  }
}

TEST(PieDrawing, ExplodeBiggestTakesTheFirstOfEqualSlices) {
  TPieScene s({10, 40, 40, 5});
  s.pie->SetExplodeBiggest(30);
  EXPECT_EQ(s.pie->ExplodePercents()->ItemValue(1), 30);
  EXPECT_EQ(s.pie->ExplodePercents()->ItemValue(2), 0);
}

TEST(PieDrawing, PatternsDarkPensAndTheSeriesLegendRow) {
  TPieScene s({1, 2, 3});
  s.pie->SetUsePatterns(true);
  s.pie->SetDarkPen(55);
  s.pie->SetPointColor(1, static_cast<TColor>(RGB(200, 100, 50)));
  s.chart.Pass();
  const auto sectors = s.chart.Rec->CallsOf("Pie2D", 0);
  ASSERT_EQ(sectors.size(), 3u);
  EXPECT_EQ(sectors[0].BrushStyle, bsHorizontal);
  EXPECT_EQ(sectors[1].BrushStyle, bsVertical);
  EXPECT_EQ(sectors[2].BrushStyle, bsFDiagonal);
  EXPECT_EQ(sectors[1].PenColor, ColorDarker(static_cast<TColor>(RGB(200, 100, 50)), 200));
  EXPECT_EQ(s.pie->Brush()->Style(), bsSolid);  // drawing leaves the stored brush alone
  // The whole series as a legend row (-1) takes the series colour.
  s.pie->SetColorEachPoint(false);
  s.pie->Gradient()->SetVisible(true);
  s.chart.Rec->Clear();
  s.pie->PaintLegendItem(-1, Rect(0, 0, 20, 10));
  EXPECT_GT(s.chart.Rec->Count("Rectangle", 0), 0);
}

TEST(PieMarks, MarksSitOutsideTheirSlice) {
  TPieScene s({1, 1});
  s.pie->SetRotationAngle(45);  // slice 0 middle at 135 degrees: upper left
  s.pie->Marks()->SetVisible(true);
  s.pie->Marks()->SetStyle(smsValue);
  s.chart.Pass();
  const auto texts = s.chart.Rec->CallsOf("TextOut", 0);
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_LT(texts[0].Arg(0), s.pie->RingCenterX - s.pie->RadiusX / 2);
  EXPECT_LT(texts[0].Arg(1), s.pie->RingCenterY);
  EXPECT_GT(texts[1].Arg(0), s.pie->RingCenterX);
  EXPECT_GT(texts[1].Arg(1), s.pie->RingCenterY);
}

TEST(PieGolden, ThreeDPieWithAnExplodedSlice) {
  TChart chart(nullptr);
  chart.SetBounds(0, 0, 360, 260);
  chart.SetColor(clWhite);
  chart.Legend()->SetVisible(false);
  chart.SetView3D(true);
  auto* pie = new TPieSeries(&chart);
  pie->SetParentChart(&chart);
  const double v[] = {40, 25, 15, 12, 8};
  for (double x : v) pie->AddSingleValue(x);
  pie->ExplodePercents()->SetItemValue(1, 20);
  pie->Marks()->SetStyle(smsPercent);
  TBitmap image(chart.Width(), chart.Height());
  chart.DrawOnCanvas(image.Canvas(), Rect(0, 0, chart.Width(), chart.Height()));
  ExpectMatchesGolden(image, "series/pie_3d.png");
}

TEST(StandardSeries, BarAndPieSettingsSurviveStoringUnderAnyLocale) {
  RegisterClasses({&TChart::StaticClass()});
  RegisterStandardSeries();
  auto stored = [] {
    TChart chart(nullptr);
    chart.SetName("Chart1");
    auto* bar = new TBarSeries(&chart);
    auto* hbar = new THorizBarSeries(&chart);
    auto* pie = new TPieSeries(&chart);
    bar->SetName("Bar1");
    hbar->SetName("HBar1");
    pie->SetName("Pie1");
    for (TChartSeries* x : std::initializer_list<TChartSeries*>{bar, hbar, pie}) x->SetParentChart(&chart);
    bar->AddXYPoint(0, 1.5);
    bar->SetMultiBar(mbStacked100);
    bar->SetBarStyle(bsCone);
    bar->SetStackGroup(2);
    bar->SetYOrigin(0.25);
    bar->SetCustomBarWidth(9);
    bar->Gradient()->SetRelative(true);
    hbar->SetCustomBarHeight(7);
    pie->AddSingleValue(2.5);
    pie->SetAngleSize(180);
    pie->OtherSlice()->SetStyle(poBelowValue);
    pie->OtherSlice()->SetValue(1.5);
    pie->SetRotationAngle(30);
    return ComponentToText(&chart);
  };
  const std::string text = stored();
  {
    TScopedLocale comma;
    ASSERT_TRUE(comma.Active());
    EXPECT_EQ(stored(), text);
  }
  TChart loaded(nullptr);
  TextToComponent(text, &loaded);
  ASSERT_EQ(loaded.NumberOfSeries(), 3);
  auto* bar = dynamic_cast<TBarSeries*>(loaded.SeriesAt(0));
  auto* hbar = dynamic_cast<THorizBarSeries*>(loaded.SeriesAt(1));
  auto* pie = dynamic_cast<TPieSeries*>(loaded.SeriesAt(2));
  ASSERT_TRUE(bar && hbar && pie) << text;
  EXPECT_EQ(bar->MultiBar(), mbStacked100);
  EXPECT_EQ(bar->BarStyle(), bsCone);
  EXPECT_EQ(bar->StackGroup(), 2);
  EXPECT_DOUBLE_EQ(bar->YOrigin(), 0.25);
  EXPECT_EQ(bar->CustomBarWidth(), 9);
  EXPECT_TRUE(bar->Gradient()->Relative());
  EXPECT_EQ(hbar->CustomBarHeight(), 7);
  EXPECT_EQ(pie->AngleSize(), 180);
  EXPECT_EQ(pie->OtherSlice()->Style(), poBelowValue);
  EXPECT_DOUBLE_EQ(pie->OtherSlice()->Value(), 1.5);
  EXPECT_EQ(pie->RotationAngle(), 30);
  ASSERT_EQ(pie->PointCount(), 1);
  EXPECT_DOUBLE_EQ(pie->YValues()->GetValue(0), 2.5);
  ASSERT_EQ(bar->PointCount(), 1);
  EXPECT_DOUBLE_EQ(bar->YValues()->GetValue(0), 1.5);
}

// ---- Registration ------------------------------------------------------------------------

TEST(StandardSeries, StandardGalleryPageListsTheNineTypes) {
  RegisterStandardSeries();
  RegisterStandardSeries();  // a second call registers nothing more
  struct Entry {
    TClass cls;
    std::string text;
    int count;
  };
  std::vector<Entry> found;
  TGrafSeriesTypes* reg = SeriesTypeRegistry();
  for (int i = 0; i < reg->Count(); ++i) {
    TGrafSeriesType* t = reg->TypeAt(i);
    if (t->SeriesClass && !t->FunctionClass && t->GalleryPage && *t->GalleryPage == "Standard")
      found.push_back({t->SeriesClass, *t->Description, t->GallerySeriesCount});
  }
  const Entry expected[] = {
      {&TLineSeries::StaticClass(), "Line", 2},          {&TBarSeries::StaticClass(), "Bar", 2},
      {&THorizBarSeries::StaticClass(), "Horizontal\rBar", 2}, {&TAreaSeries::StaticClass(), "Area", 2},
      {&TPointSeries::StaticClass(), "Point", 2},        {&TPieSeries::StaticClass(), "Pie", 1},
      {&TFastLineSeries::StaticClass(), "Fast Line", 2}, {&THorizLineSeries::StaticClass(), "Horizontal\rLine", 1},
      {&THorizAreaSeries::StaticClass(), "Horizontal\rArea", 1},
  };
  ASSERT_EQ(found.size(), std::size(expected));
  for (size_t i = 0; i < found.size(); ++i) {
    EXPECT_EQ(found[i].cls, expected[i].cls) << i;
    EXPECT_EQ(found[i].text, expected[i].text) << i;
    EXPECT_EQ(found[i].count, expected[i].count) << i;
  }
  // Streaming finds the classes by name.
  EXPECT_NE(FindClass("TPieSeries"), nullptr);
  EXPECT_NE(FindClass("THorizBarSeries"), nullptr);
}

TEST(StandardSeries, PieSamplesComeFromTheSeededGenerator) {
  TPieScene a({}), b({});
  RandSeed = 1234;
  a.pie->GenerateRandomPoints(8, false);
  RandSeed = 1234;
  b.pie->GenerateRandomPoints(8, false);
  ASSERT_EQ(a.pie->PointCount(), 8);
  for (int i = 0; i < 8; ++i) {
    EXPECT_EQ(a.pie->YValues()->GetValue(i), b.pie->YValues()->GetValue(i));
    EXPECT_GE(a.pie->YValues()->GetValue(i), 1);
    EXPECT_LE(a.pie->YValues()->GetValue(i), 1000);
  }
  EXPECT_EQ(a.pie->PointLabel(0), "Cars");
  EXPECT_EQ(a.pie->PointLabel(7), "Chairs");
}

}  // namespace
