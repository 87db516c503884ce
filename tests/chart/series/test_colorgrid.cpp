// Colour grid: cell edges and axis ranges, the cell image (transparent only
// where a cell is missing or null, row 1 at the bottom), irregular cells,
// grid lines, the hit tests and pictures loaded as grids.
#include <gtest/gtest.h>

#include "chart/series/grafcolorgrid.h"
#include "platform/gfx/bitmap.h"
#include "seriestest.h"

namespace {

struct TGridScene {
  TGridScene() {
    series = new TColorGridSeries(&chart);
    series->SetParentChart(&chart);
    series->Pen()->SetVisible(false);
    series->SetUseColorRange(false);
  }
  // The plot's background where the series is not: a pass without it.
  TColor Background(int X, int Y) {
    series->SetActive(false);
    chart.Pass();
    const TColor c = chart.Rec->SurfacePixel(X, Y);
    series->SetActive(true);
    chart.Pass();
    return c;
  }
  // Columns 1..nx, rows 1..nz; colour of a cell from the callback (clDefault: skip).
  void Fill(int nx, int nz, const std::function<TColor(int, int)>& color) {
    for (int z = 1; z <= nz; ++z)
      for (int x = 1; x <= nx; ++x) {
        const TColor c = color(x, z);
        if (c != clDefault) series->AddLabeledPoint3D(x, x + z, z, "", c);
      }
  }
  TSeriesTestChart chart;
  TColorGridSeries* series;
};

TEST(ColorGrid, AxesCoverTheCells) {
  struct Case {
    bool centred, irregular;
    double x0, x1, z0, z1;
  };
  const Case cases[] = {
      {false, false, 1, 4, 1, 3},
      {true, false, 0.5, 3.5, 0.5, 2.5},
      {false, true, 1, 3, 1, 2},
      {true, true, 0.5, 3.5, 0.5, 2.5},
  };
  for (const Case& c : cases) {
    TGridScene s;
    s.series->SetCenteredPoints(c.centred);
    s.series->SetIrregularGrid(c.irregular);
    s.Fill(3, 2, [](int, int) { return clRed; });
    s.chart.Pass();
    TChartAxis* h = s.series->GetHorizAxis();
    TChartAxis* v = s.series->GetVertAxis();
    EXPECT_EQ(h->Minimum(), c.x0) << c.centred << c.irregular;
    EXPECT_EQ(h->Maximum(), c.x1) << c.centred << c.irregular;
    EXPECT_EQ(v->Minimum(), c.z0) << c.centred << c.irregular;
    EXPECT_EQ(v->Maximum(), c.z1) << c.centred << c.irregular;
  }
}

TEST(ColorGrid, OnlyMissingAndNullCellsAreTransparentAndRowOneIsAtTheBottom) {
  TGridScene s;
  // Row 1: red, missing, white; row 2: blue, null, green.
  s.Fill(3, 2, [](int x, int z) -> TColor {
    if (z == 1) return x == 1 ? clRed : x == 2 ? clDefault : clWhite;
    return x == 1 ? clBlue : x == 2 ? clNone : clLime;
  });
  s.chart.Pass();
  const std::vector<TCanvasCall> draws = s.chart.Rec->CallsOf("StretchDraw", 0);
  ASSERT_EQ(draws.size(), 1u);
  TChartAxis* h = s.series->GetHorizAxis();
  TChartAxis* v = s.series->GetVertAxis();
  // Normalised: from X 1 to 4 and from Z 3 (top) to Z 1 (bottom).
  // The image's size follows the rectangle.
  EXPECT_EQ(CallArgs(draws[0]), (std::vector<int>{h->ValueToPixel(1), v->ValueToPixel(3), h->ValueToPixel(4),
                                                  v->ValueToPixel(1), 3, 2}));
  TBitmap* b = s.series->CellBitmap();
  ASSERT_EQ(b->Width(), 3);
  ASSERT_EQ(b->Height(), 2);
  EXPECT_EQ(b->PixelFormat(), pf32bit);
  // Image row 0 is grid row 2 (the top).
  const uint8_t* top = b->ScanLine(0);
  const uint8_t* bottom = b->ScanLine(1);
  const int alphaTop[] = {255, 0, 255}, alphaBottom[] = {255, 0, 255};
  for (int x = 0; x < 3; ++x) {
    EXPECT_EQ(top[4 * x + 3], alphaTop[x]) << x;
    EXPECT_EQ(bottom[4 * x + 3], alphaBottom[x]) << x;
  }
  EXPECT_EQ(bottom[2], 0xFF);  // red, stored blue-green-red
  EXPECT_EQ(bottom[0], 0x00);
  EXPECT_EQ(top[0], 0xFF);  // blue
  // On the picture: the white cell is drawn, the missing and null ones show the wall.
  auto centre = [&](double x, double z) { return s.chart.Rec->SurfacePixel(h->ValueToPixel(x), v->ValueToPixel(z)); };
  const TColor back = s.Background(h->ValueToPixel(2.5), v->ValueToPixel(1.5));
  EXPECT_NE(back, clWhite);
  EXPECT_EQ(centre(2.5, 1.5), back);
  EXPECT_EQ(centre(3.5, 1.5), clWhite);
  EXPECT_EQ(centre(2.5, 2.5), back);
  EXPECT_EQ(centre(1.5, 1.5), clRed);
  EXPECT_EQ(centre(1.5, 2.5), clBlue);
  EXPECT_EQ(centre(3.5, 2.5), clLime);
}

TEST(ColorGrid, NegativeCoordinatesDrawOverTheirOwnCells) {
  TGridScene s;
  for (int x = -3; x <= -1; ++x) s.series->AddLabeledPoint3D(x, 0, 0, "", clRed);
  s.chart.Pass();
  const std::vector<TCanvasCall> draws = s.chart.Rec->CallsOf("StretchDraw", 0);
  ASSERT_EQ(draws.size(), 1u);
  TChartAxis* h = s.series->GetHorizAxis();
  EXPECT_EQ(draws[0].Arg(0), h->ValueToPixel(-3));
  EXPECT_EQ(draws[0].Arg(2), h->ValueToPixel(0));
}

TEST(ColorGrid, IrregularCellsSpanToTheNextColumnAndRow) {
  TGridScene s;
  s.series->SetIrregularGrid(true);
  const double xs[] = {0, 1, 5}, zs[] = {0, 2};
  for (double z : zs)
    for (double x : xs) s.series->AddLabeledPoint3D(x, 0, z, "", x == 1 ? clBlue : clRed);
  s.chart.Pass();
  const std::vector<TCanvasCall> rects = s.chart.Rec->CallsOf("RectangleWithZ", 0);
  ASSERT_EQ(rects.size(), 2u);
  TChartAxis* h = s.series->GetHorizAxis();
  TChartAxis* v = s.series->GetVertAxis();
  EXPECT_EQ(rects[1].Arg(0), h->ValueToPixel(1));
  EXPECT_EQ(rects[1].Arg(2), h->ValueToPixel(5));
  EXPECT_EQ(rects[1].Arg(1), v->ValueToPixel(0));
  EXPECT_EQ(rects[1].Arg(3), v->ValueToPixel(2));
  EXPECT_EQ(rects[1].BrushColor, clBlue);
  // Hits go by the grid index: the wide cell answers its lower-left point.
  EXPECT_EQ(s.series->IndexAtPoint(h->ValueToPixel(4), v->ValueToPixel(1)), 1);
  EXPECT_EQ(s.series->IndexAtPoint(h->ValueToPixel(0.5), v->ValueToPixel(1)), 0);
  EXPECT_EQ(s.series->IndexAtPoint(h->ValueToPixel(6), v->ValueToPixel(1)), -1);
}

TEST(ColorGrid, RegularHitTest) {
  TGridScene s;
  s.Fill(3, 2, [](int x, int z) { return x == 2 && z == 2 ? clDefault : clRed; });
  s.chart.Pass();
  TChartAxis* h = s.series->GetHorizAxis();
  TChartAxis* v = s.series->GetVertAxis();
  struct Case {
    double x, z;
    int index;
  };
  const Case cases[] = {{1.5, 1.5, 0}, {3.9, 1.1, 2}, {1.2, 2.5, 3}, {2.5, 2.5, -1}, {3.5, 2.5, 4}};
  for (const Case& c : cases) EXPECT_EQ(s.series->IndexAtPoint(h->ValueToPixel(c.x), v->ValueToPixel(c.z)), c.index);
  EXPECT_EQ(s.series->IndexAtPoint(h->ValueToPixel(1) - 2, v->ValueToPixel(1.5)), -1);  // just left of the first cell
}

TEST(ColorGrid, GridLinesEverySecondRowAndFrame) {
  TGridScene s;
  s.series->Pen()->SetVisible(true);
  s.series->Pen()->SetColor(clGreen);
  s.series->SetZGridEvery(2);
  s.series->SetXGridEvery(5);
  s.series->Frame()->SetVisible(true);
  s.series->Frame()->SetColor(clFuchsia);
  s.Fill(2, 5, [](int, int) { return clRed; });
  s.chart.Pass();
  const std::vector<TCanvasCall> lines = s.chart.CallsWithPen("HorizontalLine", clGreen);
  ASSERT_EQ(lines.size(), 2u);
  TChartAxis* v = s.series->GetVertAxis();
  EXPECT_EQ(lines[0].Arg(2), v->ValueToPixel(3));
  EXPECT_EQ(lines[1].Arg(2), v->ValueToPixel(5));
  EXPECT_EQ(s.chart.CallsWithPen("VerticalLine", clGreen).size(), 0u);
  EXPECT_EQ(s.chart.CallsWithPen("RectangleWithZ", clFuchsia).size(), 1u);
}

TEST(ColorGrid, LoadBitmapGivesOnePointPerPixel) {
  TGridScene s;
  TPicture picture;
  TBitmap* bmp = picture.Bitmap();
  bmp->SetPixelFormat(pf24bit);
  bmp->SetSize(4, 3);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 4; ++x) bmp->Canvas()->SetPixels(x, y, static_cast<TColor>(RGB(10 * x, 20 * y, 7)));
  s.series->LoadBitmap(&picture);
  ASSERT_EQ(s.series->PointCount(), 12);
  EXPECT_TRUE(s.series->CenteredPoints());
  EXPECT_EQ(s.series->NumXValues(), 4);
  EXPECT_EQ(s.series->NumZValues(), 3);
  for (int i = 0; i < 12; ++i) {
    const int x = static_cast<int>(s.series->XValues()->GetValue(i)) - 1;
    const int z = static_cast<int>(s.series->ZValues()->GetValue(i)) - 1;
    ASSERT_TRUE(x >= 0 && x < 4 && z >= 0 && z < 3);
    const TColor c = static_cast<TColor>(RGB(10 * x, 20 * z, 7));
    EXPECT_EQ(s.series->YValues()->GetValue(i), static_cast<double>(c));
    EXPECT_EQ(s.series->PointColor(i), c);
  }
  EXPECT_EQ(s.series->XValues()->GetValue(0), 1);
  EXPECT_EQ(s.series->ZValues()->GetValue(1), 2);  // column by column
}

}  // namespace

namespace {

TEST(ColorGrid, SmoothImageKeepsMissingCellsTransparent) {
  TGridScene s;
  s.series->SetSmoothBitmap(true);
  s.Fill(3, 3, [](int x, int z) { return x == 2 && z == 2 ? clDefault : clRed; });
  s.chart.Pass();
  const std::vector<TCanvasCall> draws = s.chart.Rec->CallsOf("StretchDraw", 0);
  ASSERT_EQ(draws.size(), 1u);
  // The resampled image has the rectangle's size.
  EXPECT_EQ(draws[0].Arg(4), draws[0].Arg(2) - draws[0].Arg(0));
  TChartAxis* h = s.series->GetHorizAxis();
  TChartAxis* v = s.series->GetVertAxis();
  const int x = h->ValueToPixel(2.5), y = v->ValueToPixel(2.5);
  const TColor back = s.Background(x, y);
  EXPECT_NE(back, clWhite);
  EXPECT_EQ(s.chart.Rec->SurfacePixel(x, y), back);
  const TColor red = s.chart.Rec->SurfacePixel(h->ValueToPixel(1.5), v->ValueToPixel(1.5));
  EXPECT_GT(GetRValue(red), 200);  // resampled: near red
  EXPECT_LT(GetGValue(red), 64);
}

TEST(ColorGrid, RegisteredOnTheThreeDPage) {
  RegisterGridSeriesTypes();
  TGrafSeriesType* t = SeriesTypeRegistry()->EntryForClass(&TColorGridSeries::StaticClass());
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(*t->Description, "Color Grid");
  EXPECT_EQ(*t->GalleryPage, "3D");
}

}  // namespace

namespace {

TEST(ColorGrid, RotatedViewPaintsCellsAtDepthLeavingMissingOnesOut) {
  TGridScene s;
  s.chart.SetView3D(true);
  s.chart.View3DOptions()->SetOrthogonal(false);
  s.chart.View3DOptions()->SetRotation(340);
  s.Fill(3, 2, [](int x, int z) { return x == 2 && z == 1 ? clDefault : (z == 1 ? clWhite : clRed); });
  s.chart.Pass();
  std::vector<TCanvasCall> cells;
  for (const TCanvasCall& c : s.chart.Rec->CallsOf("PlaneWithZ"))
    if (c.Args.back() == s.series->MiddleZ) cells.push_back(c);
  ASSERT_EQ(cells.size(), 5u);  // the white cells are drawn, the missing one is not
  for (const TCanvasCall& c : cells) EXPECT_TRUE(c.BrushColor == clRed || c.BrushColor == clWhite);
}

}  // namespace
