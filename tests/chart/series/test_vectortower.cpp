// Vector and tower series: sample vectors, lines and arrow heads, ranges
// over both ends; tower geometry, origin, drawing order, styles and hits.
#include <gtest/gtest.h>

#include "chart/core/grafprocs.h"
#include "chart/series/grafvectortower.h"
#include "seriestest.h"

namespace {

TEST(Vector3D, SampleVectorsStartAtTheFormula) {
  TVector3DSeries s;
  s.GenerateRandomPoints(250, false);
  ASSERT_EQ(s.PointCount(), 250);
  EXPECT_DOUBLE_EQ(s.XValues()->GetValue(0), 0);
  EXPECT_DOUBLE_EQ(s.YValues()->GetValue(0), 0);
  EXPECT_DOUBLE_EQ(s.ZValues()->GetValue(0), 1);
  EXPECT_DOUBLE_EQ(s.EndXValues()->GetValue(0), 0);
  EXPECT_DOUBLE_EQ(s.EndYValues()->GetValue(0), 0);
  EXPECT_DOUBLE_EQ(s.EndZValues()->GetValue(0), 1);
  EXPECT_EQ(s.EndYValues()->Count(), 250);
  // Ranges cover both ends.
  TVector3DSeries t;
  t.AddVector(1, 2, 3, -4, 10, 0.5);
  EXPECT_EQ(t.SmallestX(), -4);
  EXPECT_EQ(t.LargestY(), 10);
  EXPECT_EQ(t.SmallestZ(), 0.5);
  EXPECT_EQ(t.LargestZ(), 3);
}

TEST(Vector3D, LinesAndArrowHeads) {
  TSeriesTestChart chart;
  auto* s = new TVector3DSeries(&chart);
  s->SetParentChart(&chart);
  s->SetUseColorRange(false);
  s->AddVector(1, 1, 0, 1, 5, 0, "", clRed);  // straight up
  s->AddVector(2, 1, 0, 3, 2, 0, "", clBlue);
  s->EndArrow()->SetVisible(false);
  chart.Pass();
  EXPECT_EQ(chart.CallsWithPen("LineTo3D", clRed).size(), 1u);
  EXPECT_EQ(chart.CallsWithPen("MoveTo3D", clBlue).size(), 1u);
  // The end head in the point's colour: the vertical one symmetric about its line.
  s->EndArrow()->SetVisible(true);
  s->SetArrowWidth(6);
  s->SetArrowHeight(3);
  chart.Pass();
  const std::vector<TCanvasCall> moves = chart.CallsWithPen("MoveTo3D", clRed);
  const std::vector<TCanvasCall> lines = chart.CallsWithPen("LineTo3D", clRed);
  ASSERT_EQ(moves.size(), 2u);
  ASSERT_EQ(lines.size(), 3u);
  const int ex = s->GetHorizAxis()->ValueToPixelX(1), ey = s->GetVertAxis()->ValueToPixelY(5);
  EXPECT_EQ(lines[1].Arg(0), ex);
  EXPECT_EQ(lines[1].Arg(1), ey);
  EXPECT_EQ(moves[1].Arg(0) - ex, -(lines[2].Arg(0) - ex));
  EXPECT_EQ(moves[1].Arg(1), lines[2].Arg(1));
  EXPECT_EQ(moves[1].Arg(1), ey + 6);  // behind the tip, down the line
  EXPECT_EQ(std::abs(moves[1].Arg(0) - ex), 3);
  // A coloured arrow pen keeps its colour.
  s->StartArrow()->SetVisible(true);
  s->StartArrow()->SetColor(clGreen);
  chart.Pass();
  EXPECT_EQ(chart.CallsWithPen("LineTo3D", clGreen).size(), 4u);
}

struct TTowerScene {
  TTowerScene() {
    chart.SetView3D(true);
    series = new TTowerSeries(&chart);
    series->SetParentChart(&chart);
    series->SetUseColorRange(false);
    series->Pen()->SetColor(clRed);
  }
  void Grid(int nx, int nz) {
    for (int z = 1; z <= nz; ++z)
      for (int x = 1; x <= nx; ++x) series->AddPoint3D(x, x * 10 + z, z);
  }
  TSeriesTestChart chart;
  TTowerSeries* series;
};

TEST(Tower, HalfWidthTowersAndTheirRange) {
  TTowerScene s;
  s.series->SetPercentWidth(50);
  s.Grid(3, 1);
  s.chart.Pass();
  TChartAxis* h = s.series->GetHorizAxis();
  EXPECT_EQ(h->Minimum(), 0.5);
  EXPECT_EQ(h->Maximum(), 3.5);
  const std::vector<TCanvasCall> cubes = s.chart.CallsWithPen("Cube", clRed);
  ASSERT_EQ(cubes.size(), 3u);
  // Cube(left, right, top, bottom, front, back, dark)
  EXPECT_EQ(cubes[0].Arg(0), h->ValueToPixelX(0.75));
  EXPECT_EQ(cubes[0].Arg(1), h->ValueToPixelX(1.25));
  EXPECT_EQ(cubes[2].Arg(0), h->ValueToPixelX(2.75));
}

TEST(Tower, OriginAboveTheValueDrawsDownwardAndLastColumnLast) {
  TTowerScene s;
  s.Grid(3, 2);
  s.series->SetUseOrigin(true);
  s.series->SetOrigin(100);
  s.chart.Pass();
  const std::vector<TCanvasCall> cubes = s.chart.CallsWithPen("Cube", clRed);
  ASSERT_EQ(cubes.size(), 6u);
  TChartAxis* v = s.series->GetVertAxis();
  // Top at the origin, bottom at the value.
  EXPECT_EQ(cubes[0].Arg(2), v->ValueToPixelY(100));
  // Column 3's two towers come last.
  for (size_t i = 4; i < 6; ++i) EXPECT_EQ(cubes[i].Arg(1), s.series->GetHorizAxis()->ValueToPixelX(3.5));
  EXPECT_EQ(std::max(cubes[4].Arg(3), cubes[5].Arg(3)), s.series->PointYPixel(2));
  // Without origin the towers stand on the smallest value.
  s.series->SetUseOrigin(false);
  s.chart.Pass();
  EXPECT_EQ(s.chart.CallsWithPen("Cube", clRed)[0].Arg(3), v->ValueToPixelY(11));
}

TEST(Tower, StylesAndHits) {
  struct Case {
    TTowerStyle style;
    const char* op;
  };
  const Case cases[] = {{tsRectangle, "RectangleWithZ"}, {tsCover, "RectangleY"}, {tsCylinder, "Cylinder"},
                        {tsArrow, "Arrow"},              {tsCone, "Cone"},        {tsPyramid, "Pyramid"},
                        {tsSlantCube, "Cylinder"}};
  for (const Case& c : cases) {
    TTowerScene s;
    s.Grid(2, 2);
    s.series->SetTowerStyle(c.style);
    CylinderSideCount = 12;
    s.chart.Pass();
    EXPECT_EQ(s.chart.CallsWithPen(c.op, clRed).size(), 4u) << c.op;
    EXPECT_EQ(CylinderSideCount, 12) << c.op;
    // Only covers are hit.
    const int p = 3;
    const int x = s.series->GetHorizAxis()->ValueToPixelX(2);
    const int y = s.series->PointYPixel(p);
    const TPoint at = s.chart.PanelCanvas()->ProjectXYZ(x, y, s.series->ZPixel(p));
    EXPECT_EQ(s.series->IndexAtPoint(at.X, at.Y), c.style == tsCover ? p : -1) << c.op;
  }
}

TEST(Tower, RegisteredOnTheThreeDPage) {
  RegisterGridSeriesTypes();
  const std::pair<TClass, const char*> types[] = {{&TVector3DSeries::StaticClass(), "Vector 3D"},
                                                  {&TTowerSeries::StaticClass(), "Tower"}};
  for (auto [cls, text] : types) {
    TGrafSeriesType* t = SeriesTypeRegistry()->EntryForClass(cls);
    ASSERT_NE(t, nullptr) << text;
    EXPECT_EQ(*t->Description, text);
    EXPECT_EQ(*t->GalleryPage, "3D");
  }
}

}  // namespace

namespace {

// See-through towers and triangles are still all drawn, each blended over
// the picture behind it.
TEST(Tower, TransparentTowersAndTrianglesAreAllDrawn) {
  TTowerScene s;
  s.Grid(2, 2);
  s.series->SetTransparency(50);
  s.chart.Pass();
  EXPECT_EQ(s.chart.CallsWithPen("Cube", clRed).size(), 4u);
  for (TTowerStyle style : {tsCover, tsCylinder}) {
    s.series->SetTowerStyle(style);
    s.chart.Pass();
    EXPECT_EQ(s.chart.CallsWithPen(style == tsCover ? "RectangleY" : "Cylinder", clRed).size(), 4u);
  }
}

}  // namespace
