// Triangulated surface: the plane triangulation (counts, orientation,
// coverage of the hull), the paint that never changes the series, the
// triangle and point hit tests, the cache and the large-input limit.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "chart/series/graftrisurface.h"
#include "seriestest.h"

namespace {

double Orient(const std::vector<double>& X, const std::vector<double>& Z, int a, int b, int c) {
  return (X[b] - X[a]) * (Z[c] - Z[a]) - (Z[b] - Z[a]) * (X[c] - X[a]);
}

TEST(TriangulatePlane, CountsOfSmallCases) {
  struct Case {
    const char* name;
    std::vector<double> x, z;
    size_t triangles, hull;
  };
  const Case cases[] = {
      {"unit square", {0, 1, 1, 0}, {0, 0, 1, 1}, 2, 4},
      {"triangle", {0, 2, 1}, {0, 0, 1}, 1, 3},
      {"three collinear", {0, 1, 2}, {0, 1, 2}, 0, 0},
      {"two points", {0, 1}, {0, 1}, 0, 0},
      {"duplicate left out", {0, 1, 0, 1, 0}, {0, 0, 1, 1, 0}, 2, 4},
      {"collinear before the third point", {0, 1, 2, 3, 1.5}, {0, 0, 0, 0, 1}, 3, 5},
      {"centre point", {0, 2, 2, 0, 1}, {0, 0, 2, 2, 1}, 4, 4},
  };
  for (const Case& c : cases) {
    const TPlaneTriangulation t = TriangulatePlane(c.x, c.z, true);
    EXPECT_EQ(t.Triangles.size(), c.triangles) << c.name;
    EXPECT_EQ(t.Hull.size(), c.hull) << c.name;
    for (const auto& q : t.Triangles) EXPECT_GT(Orient(c.x, c.z, q[0], q[1], q[2]), 0) << c.name;
  }
}

// Random points: every triangle counter-clockwise, areas adding up to the
// hull's, Euler's count 2n - h - 2, and no point inside another's
// circumcircle by more than rounding (the exchanges reach the Delaunay set).
TEST(TriangulatePlane, RandomCloudIsAValidDelaunayTriangulation) {
  std::mt19937 gen(7);
  std::uniform_real_distribution<double> d(0, 100);
  for (int n : {4, 10, 60, 300}) {
    std::vector<double> x(static_cast<size_t>(n)), z(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
      x[static_cast<size_t>(i)] = d(gen);
      z[static_cast<size_t>(i)] = d(gen);
    }
    const TPlaneTriangulation t = TriangulatePlane(x, z, true);
    double area = 0;
    for (const auto& q : t.Triangles) {
      const double a = Orient(x, z, q[0], q[1], q[2]);
      EXPECT_GT(a, 0);
      area += a;
    }
    double hullArea = 0;
    for (const auto& e : t.Hull) hullArea += x[e[1]] * z[e[2]] - x[e[2]] * z[e[1]];
    EXPECT_NEAR(area, hullArea, 1e-6 * hullArea) << n;
    EXPECT_EQ(t.Triangles.size(), 2 * static_cast<size_t>(n) - t.Hull.size() - 2) << n;
    for (const auto& e : t.Hull) {
      ASSERT_GE(e[0], 0);
      const auto& q = t.Triangles[static_cast<size_t>(e[0])];
      EXPECT_TRUE(std::count(q.begin(), q.end(), e[1]) && std::count(q.begin(), q.end(), e[2]));
    }
    for (const auto& q : t.Triangles) {
      const double ax = x[q[0]], az = z[q[0]], bx = x[q[1]], bz = z[q[1]], cx = x[q[2]], cz = z[q[2]];
      const double dd = 2 * (ax * (bz - cz) + bx * (cz - az) + cx * (az - bz));
      const double ux = ((ax * ax + az * az) * (bz - cz) + (bx * bx + bz * bz) * (cz - az) + (cx * cx + cz * cz) * (az - bz)) / dd;
      const double uz = ((ax * ax + az * az) * (cx - bx) + (bx * bx + bz * bz) * (ax - cx) + (cx * cx + cz * cz) * (bx - ax)) / dd;
      const double r2 = (ax - ux) * (ax - ux) + (az - uz) * (az - uz);
      for (int p = 0; p < n; ++p)
        EXPECT_GE((x[p] - ux) * (x[p] - ux) + (z[p] - uz) * (z[p] - uz), r2 * (1 - 1e-9)) << n;
    }
  }
}

struct TTriScene {
  TTriScene() {
    series = new TTriSurfaceSeries(&chart);
    series->SetParentChart(&chart);
  }
  void Square() {
    series->AddPoint3D(0, 1, 0);
    series->AddPoint3D(1, 2, 0);
    series->AddPoint3D(1, 3, 1);
    series->AddPoint3D(0, 4, 1);
  }
  TSeriesTestChart chart;
  TTriSurfaceSeries* series;
};

TEST(TriSurface, PaintLeavesTheSeriesAsItWas) {
  TTriScene s;
  s.Square();
  s.series->AddPoint3D(0, 9, 0);  // coincides in X and Z with point 0
  s.chart.Pass();
  EXPECT_EQ(s.series->TriangleCount(), 2);
  EXPECT_EQ(s.series->Hull().size(), 4u);
  ASSERT_EQ(s.series->PointCount(), 5);
  const double ys[] = {1, 2, 3, 4, 9};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(s.series->YValues()->GetValue(i), ys[i]);
  EXPECT_EQ(s.series->XValues()->GetValue(4), 0);
  EXPECT_EQ(s.series->ZValues()->GetValue(4), 0);
  // Flat chart, solid brush: depth-sorted polygons, one per triangle.
  EXPECT_EQ(s.chart.Rec->Count("Polygon", 0), 2);
}

TEST(TriSurface, LargestZIsDrawnFirstAndHitsAnswerTriangleAndPoint) {
  TTriScene s;
  // Two triangles apart in Z: the second (Z up to 5) lies behind.
  s.series->AddPoint3D(0, 0, 0);
  s.series->AddPoint3D(10, 0, 0);
  s.series->AddPoint3D(0, 10, 1);
  s.series->AddPoint3D(10, 10, 5);
  s.series->Pen()->SetVisible(false);
  s.chart.Pass();
  ASSERT_EQ(s.series->TriangleCount(), 2);
  const std::vector<TCanvasCall> polys = s.chart.Rec->CallsOf("Polygon", 0);
  ASSERT_EQ(polys.size(), 2u);
  // The first drawn holds point 3 (Z 5).
  const TPoint p3{s.series->PointXPixel(3), s.series->PointYPixel(3)};
  EXPECT_NE(std::find(polys[0].Points.begin(), polys[0].Points.end(), p3), polys[0].Points.end());
  // Near point 1's corner: inside one triangle; the point answer is its nearest vertex.
  const int px = s.series->PointXPixel(1) - 3, py = s.series->PointYPixel(1) - 3;
  const int tri = s.series->TriangleAtPoint(px, py);
  ASSERT_GE(tri, 1);
  ASSERT_LE(tri, 2);
  EXPECT_EQ(s.series->IndexAtPoint(px, py), 1);
  // Outside every triangle.
  EXPECT_EQ(s.series->TriangleAtPoint(s.series->PointXPixel(1) + 50, s.series->PointYPixel(1) + 50), -1);
  EXPECT_EQ(s.series->IndexAtPoint(s.series->PointXPixel(1) + 50, s.series->PointYPixel(1) + 50), -1);
}

TEST(TriSurface, DirectPathBorderAndTooFewPoints) {
  TTriScene s;
  s.Square();
  s.series->SetHideTriangles(false);
  s.series->Border()->SetVisible(true);
  s.series->Border()->SetColor(clRed);
  s.chart.Pass();
  EXPECT_EQ(s.chart.Rec->Count("Triangle3D", 0), 2);
  EXPECT_EQ(s.chart.CallsWithPen("LineTo3D", clRed).size(), 4u);
  // Hits now test projected triangles in numbering order.
  const int cx = (s.series->PointXPixel(0) + s.series->PointXPixel(2)) / 2;
  const int cy = (s.series->PointYPixel(0) + s.series->PointYPixel(2)) / 2 + 1;
  EXPECT_GE(s.series->TriangleAtPoint(cx, cy), 1);
  // Two points: nothing drawn, nothing hit.
  s.series->RemoveAllPoints();
  s.series->AddPoint3D(0, 0, 0);
  s.series->AddPoint3D(1, 1, 1);
  s.chart.Pass();
  EXPECT_EQ(s.chart.Rec->Count("Triangle3D", 0), 0);
  EXPECT_EQ(s.chart.CallsWithPen("LineTo3D", clRed).size(), 0u);
  EXPECT_EQ(s.series->IndexAtPoint(cx, cy), -1);
}

TEST(TriSurface, ChangedDataIsTriangulatedAgain) {
  TTriScene s;
  s.series->AddPoint3D(0, 0, 0);
  s.series->AddPoint3D(1, 0, 0);
  s.series->AddPoint3D(2, 0, 0);
  s.chart.Pass();
  EXPECT_EQ(s.series->TriangleCount(), 0);  // collinear
  s.series->ZValues()->SetValue(2, 3);
  s.chart.Pass();
  EXPECT_EQ(s.series->TriangleCount(), 1);
  s.series->AddPoint3D(0, 0, 3);
  s.chart.Pass();
  EXPECT_EQ(s.series->TriangleCount(), 2);
}

TEST(TriSurface, AboveTheLimitDrawsNoTrianglesAndReportsOnce) {
  TTriScene s;
  int reports = 0;
  s.series->OnTooManyPoints = [&](TCustomTriSurfaceSeries*, int n) {
    ++reports;
    EXPECT_EQ(n, TCustomTriSurfaceSeries::MaxTriangulatedPoints + 1);
  };
  for (int i = 0; i <= TCustomTriSurfaceSeries::MaxTriangulatedPoints; ++i) s.series->AddPoint3D(i % 150, i % 7, i / 150);
  s.chart.Pass();
  s.chart.Pass();
  EXPECT_EQ(reports, 1);
  EXPECT_EQ(s.series->TriangleCount(), 0);
  EXPECT_EQ(s.chart.Rec->Count("Polygon", 0), 0);
}

TEST(TriSurface, SamplesAndRegistration) {
  TTriScene s;
  std::mt19937 gen(3);
  s.series->SampleRandom = [&](int range) { return static_cast<int>(gen() % static_cast<unsigned>(range)); };
  s.series->GenerateRandomPoints(2, false);
  ASSERT_EQ(s.series->PointCount(), 3);
  for (int i = 0; i < 3; ++i) {
    const double x = s.series->XValues()->GetValue(i), z = s.series->ZValues()->GetValue(i);
    EXPECT_TRUE(x >= 0 && x < 1 && z >= 0 && z < 1);
    EXPECT_DOUBLE_EQ(s.series->YValues()->GetValue(i), std::exp(z) * std::exp(z) * std::cos(z * x));
  }
  RegisterTriSurfaceSeriesTypes();
  TGrafSeriesType* t = SeriesTypeRegistry()->EntryForClass(&TTriSurfaceSeries::StaticClass());
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(*t->Description, "Triangle Surf.");
  EXPECT_EQ(*t->GalleryPage, "3D");
}

}  // namespace

namespace {

TEST(TriSurface, TransparentTrianglesAreAllDrawn) {
  for (bool hide : {true, false}) {
    TTriScene s;
    s.Square();
    s.series->SetTransparency(40);
    s.series->SetHideTriangles(hide);
    s.chart.Pass();
    EXPECT_EQ(s.chart.Rec->Count(hide ? "Polygon" : "Triangle3D", 0), 2) << hide;
    EXPECT_EQ(s.series->PointCount(), 4);
  }
}

}  // namespace
