// Surface and water fall series: which cells are drawn, in which order,
// with which colour, asserted on the recording canvas's log; the hit test.
#include <gtest/gtest.h>

#include "chart/core/grafutils.h"
#include "chart/series/grafsurfa.h"
#include "seriestest.h"

namespace {

template <class S = TSurfaceSeries>
struct TSurfaceScene {
  TSurfaceScene(int nx, int nz, const std::function<double(int, int)>& y, bool view3D = true) {
    chart.SetView3D(view3D);
    series = new S(&chart);
    series->SetParentChart(&chart);
    for (int z = 1; z <= nz; ++z)
      for (int x = 1; x <= nx; ++x) series->AddPoint3D(x, y(x, z), z);
  }
  std::vector<TCanvasCall> Calls(const std::string& op) { return chart.Rec->CallsOf(op, 0); }
  TSeriesTestChart chart;
  S* series;
};

double Slope(int x, int z) { return x + 2.0 * z; }

TEST(Surface, OneCellPerFourCornersInBothColumnOrders) {
  struct Case {
    int nx, nz;
    size_t cells;
  };
  const Case cases[] = {{2, 2, 1}, {1, 5, 0}, {5, 1, 0}, {3, 4, 6}};
  for (bool inverted : {false, true})
    for (const Case& c : cases) {
      TSurfaceScene<> s(c.nx, c.nz, Slope);
      s.series->GetHorizAxis()->SetInverted(inverted);
      s.chart.Pass();
      EXPECT_EQ(s.Calls("PlaneFour3D").size(), c.cells) << c.nx << " x " << c.nz << " inverted " << inverted;
    }
}

TEST(Surface, CellsRunFromTheBackToTheViewer) {
  TSurfaceScene<> s(3, 4, Slope);
  s.chart.Pass();
  std::vector<TCanvasCall> cells = s.Calls("PlaneFour3D");
  ASSERT_EQ(cells.size(), 6u);
  const int nearest = s.series->ZPixel(0);  // row 1
  const int farthest = s.series->ZPixel(11);  // row 4
  ASSERT_LT(nearest, farthest);
  // Default view: the last cell drawn touches row 1, the first row 4.
  auto touches = [](const TCanvasCall& c, int z) { return c.Arg(0) == z || c.Arg(1) == z; };
  EXPECT_TRUE(touches(cells.back(), nearest));
  EXPECT_TRUE(touches(cells.front(), farthest));
  // Turned round, the order reverses.
  s.chart.View3DOptions()->SetOrthogonal(false);
  s.chart.View3DOptions()->SetRotation(180);
  s.chart.Pass();
  cells = s.Calls("PlaneFour3D");
  ASSERT_EQ(cells.size(), 6u);
  EXPECT_TRUE(touches(cells.back(), s.series->ZPixel(11)));
  EXPECT_TRUE(touches(cells.front(), s.series->ZPixel(0)));
}

TEST(Surface, CellColourFromItsCornerSmoothPaletteAndNulls) {
  // Colour range over Y 0..10: corner values 0, 0, 10, 10.
  TSurfaceScene<> s(2, 2, [](int, int z) { return z == 1 ? 0.0 : 10.0; });
  s.chart.Pass();
  ASSERT_EQ(s.Calls("PlaneFour3D").size(), 1u);
  const TColor corner = s.Calls("PlaneFour3D")[0].BrushColor;
  EXPECT_TRUE(corner == 0xFFFFFF || corner == 0x800000) << std::hex << corner;
  s.series->SetSmoothPalette(true);
  s.chart.Pass();
  EXPECT_EQ(s.Calls("PlaneFour3D")[0].BrushColor, s.series->ColorOfValue(5));
  // A cell whose colour corner is null is skipped, its neighbours drawn.
  TSurfaceScene<> t(4, 2, Slope);
  t.chart.Pass();
  ASSERT_EQ(t.Calls("PlaneFour3D").size(), 3u);
  for (int i = 0; i < t.series->PointCount(); ++i) {
    t.series->SetPointColor(i, clNone);
    t.chart.Pass();
    const size_t drawn = t.Calls("PlaneFour3D").size();
    t.series->SetPointColor(i, clDefault);
    if (drawn == 2) return;  // this point is the colour corner of exactly one cell
  }
  FAIL() << "no null point removed exactly one cell";
}

TEST(Surface, FrameStylesAndDots) {
  TSurfaceScene<> s(3, 3, Slope);
  s.series->Pen()->SetVisible(false);
  s.series->SetDotFrame(true);
  s.series->SetWireFrame(true);
  EXPECT_FALSE(s.series->DotFrame());
  EXPECT_TRUE(s.series->Pen()->Visible());
  s.series->SetDotFrame(true);
  EXPECT_FALSE(s.series->WireFrame());
  s.chart.Pass();
  EXPECT_EQ(s.Calls("PlaneFour3D").size(), 0u);
  EXPECT_EQ(s.Calls("WritePixel3D").size(), 4u * 4u);  // four corners of each of four cells
}

TEST(Surface, IndexAtPointAnswersTheNearerOfOverlappingCells) {
  // One column pair, three rows: the front row stands high, so the front
  // cell's slope covers the flat back cell on the screen.
  TSurfaceScene<> s(2, 3, [](int, int z) { return z == 1 ? 100.0 : 0.0; });
  s.chart.Pass();
  TCanvas3D* canvas = s.chart.PanelCanvas();
  auto quad = [&](int a, int b, int c, int d) {
    auto p = [&](int i) {
      return canvas->ProjectXYZ(s.series->GetHorizAxis()->ValueToPixelX(s.series->XValueAt(i)),
                                s.series->GetVertAxis()->ValueToPixelY(s.series->YValueAt(i)), s.series->ZPixel(i));
    };
    return std::vector<TPoint>{p(a), p(b), p(c), p(d)};
  };
  const std::vector<TPoint> front = quad(0, 1, 3, 2), back = quad(2, 3, 5, 4);
  // The middle of the back cell lies in both.
  TPoint mid{(back[0].X + back[1].X + back[2].X + back[3].X) / 4, (back[0].Y + back[1].Y + back[2].Y + back[3].Y) / 4};
  ASSERT_TRUE(PointInsidePolygon(mid, back));
  ASSERT_TRUE(PointInsidePolygon(mid, front));
  const int hit = s.series->IndexAtPoint(mid.X, mid.Y);
  // Cells are drawn from row 3 towards row 1, each answered by its corner
  // in the row drawn from: the front cell (rows 2..1) by a row-2 point, the
  // back cell (rows 3..2) by a row-3 point.
  ASSERT_GE(hit, 0);
  EXPECT_EQ(s.series->ZValueAt(hit), 2);
  EXPECT_EQ(s.series->IndexAtPoint(-500, -500), -1);
  TSurfaceScene<> empty(0, 0, Slope);
  EXPECT_EQ(empty.series->IndexAtPoint(10, 10), -1);
}

TEST(Surface, WaterFallHangsOneCurtainPerNeighbouringPair) {
  TSurfaceScene<TWaterFallSeries> s(4, 1, Slope);
  s.series->WaterLines()->SetColor(clRed);
  s.chart.Pass();
  EXPECT_EQ(s.Calls("PlaneWithZ").size(), 3u);
  const std::vector<TCanvasCall> lines = s.chart.CallsWithPen("VerticalLine3D", clRed);
  EXPECT_EQ(lines.size(), 6u);
  const int bottom = s.series->GetVertAxis()->EndPixel;
  for (const TCanvasCall& c : lines) EXPECT_EQ(c.Arg(2), bottom);
  for (const TCanvasCall& c : s.Calls("PlaneWithZ")) {
    EXPECT_EQ(c.Arg(5), bottom);  // feet at the bottom of the vertical axis
    EXPECT_EQ(c.Arg(7), bottom);
  }
  s.series->WaterLines()->SetVisible(false);
  s.chart.Pass();
  EXPECT_EQ(s.chart.CallsWithPen("VerticalLine3D", clRed).size(), 0u);
}

TEST(Surface, FastBrushIsStoredAndDrawsThePlainColour) {
  TSurfaceScene<> s(2, 2, Slope);
  s.chart.Pass();
  const TColor plain = s.Calls("PlaneFour3D")[0].BrushColor;
  s.series->SetFastBrush(true);
  EXPECT_TRUE(s.series->FastBrush());
  s.chart.Pass();
  EXPECT_EQ(s.Calls("PlaneFour3D")[0].BrushColor, plain);
}

TEST(Surface, TransparentCellsAreBlendedOneByOne) {
  TSurfaceScene<> s(3, 3, Slope);
  s.series->SetTransparency(50);
  s.chart.Pass();
  // Each cell: its projected quadrilateral as a polygon, blended on its own.
  EXPECT_EQ(s.Calls("PlaneFour3D").size(), 0u);
  size_t polygons = 0;
  for (const TCanvasCall& c : s.Calls("Polygon")) polygons += c.Points.size() == 4 && c.BrushColor != clWhite;
  EXPECT_EQ(polygons, 4u);
}

TEST(Surface, SideWallsHangDownToTheLowestValue) {
  TSurfaceScene<> s(3, 3, Slope);
  s.chart.Pass();
  const size_t cells = s.Calls("PlaneFour3D").size();
  s.series->SideBrush()->SetStyle(bsSolid);
  s.series->SideBrush()->SetColor(clYellow);
  EXPECT_TRUE(s.series->HasSides());
  s.chart.Pass();
  std::vector<TCanvasCall> walls;
  for (const TCanvasCall& c : s.Calls("PlaneFour3D"))
    if (c.BrushColor == clYellow) walls.push_back(c);
  // Two walls along Z and two along X, two segments each.
  EXPECT_EQ(walls.size(), 8u);
  EXPECT_EQ(s.Calls("PlaneFour3D").size(), cells + 8);
  const int base = s.series->GetVertAxis()->ValueToPixelY(s.series->YValues()->MinValue());
  for (const TCanvasCall& w : walls) {
    EXPECT_EQ(w.Points[1].Y, base);
    EXPECT_EQ(w.Points[2].Y, base);
  }
}

TEST(Surface, CellCallbackForACanvasThatDrawsTheWholeSurface) {
  TSurfaceScene<> s(3, 2, Slope);
  s.chart.Pass();
  std::array<TPoint3D, 4> corners{};
  std::array<TColor, 4> colours{};
  // Column 0 holds no points.
  EXPECT_FALSE(s.series->SurfaceCellCallback(1, 1, corners, colours));
  // (x - 1, z) and (x, z): points 3 and 4 of the second row.
  ASSERT_TRUE(s.series->SurfaceCellCallback(2, 2, corners, colours));
  EXPECT_EQ(s.series->C0, 3);
  EXPECT_EQ(s.series->C1, 4);
  for (int k = 0; k < 2; ++k) {
    const int i = 3 + k;
    EXPECT_EQ(corners[static_cast<size_t>(k)].X, s.series->GetHorizAxis()->ValueToPixelX(s.series->XValueAt(i)));
    EXPECT_EQ(corners[static_cast<size_t>(k)].Y, s.series->GetVertAxis()->ValueToPixelY(s.series->YValueAt(i)));
    EXPECT_EQ(corners[static_cast<size_t>(k)].Z, s.series->ZPixel(i));
    EXPECT_EQ(colours[static_cast<size_t>(k)], s.series->PointColor(i));
  }
  EXPECT_FALSE(s.series->SurfaceCellCallback(4, 1, corners, colours));
}

TEST(Surface, RegisteredOnTheThreeDPage) {
  RegisterGridSeriesTypes();
  for (TClass c : {&TSurfaceSeries::StaticClass(), &TWaterFallSeries::StaticClass()}) {
    TGrafSeriesType* t = SeriesTypeRegistry()->EntryForClass(c);
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(*t->GalleryPage, "3D");
  }
  EXPECT_EQ(*SeriesTypeRegistry()->EntryForClass(&TSurfaceSeries::StaticClass())->Description, "Surface");
}

TEST(Surface, RefusedGridDrawsNothing) {
  TSurfaceScene<> s(2, 2, Slope);
  s.series->AddPoint3D(1e9, 0, 1);
  int reports = 0;
  s.series->OnGridRefused = [&](TCustom3DGridSeries*, int64_t) { ++reports; };
  s.chart.Pass();
  s.chart.Pass();
  EXPECT_EQ(s.Calls("PlaneFour3D").size(), 0u);
  EXPECT_EQ(reports, 1);
  EXPECT_EQ(s.series->IndexAtPoint(100, 100), -1);
}

}  // namespace
