// The device canvas's 3D primitives: points, faces, order, culling, shading.
#include <gtest/gtest.h>

#include <cmath>

#include "chart/core/grcanvas.h"
#include "chart/core/recordingcanvas.h"

namespace {

using Strings = std::vector<std::string>;

// Default orthogonal view: (x, y, z) -> (x + z, y - z). Chart rectangle
// (0, 0, 200, 100), depth 40.
class Canvas3DTest : public ::testing::Test {
protected:
  void SetUp() override { Start(); }
  void Start(bool is3D = true) {
    Canvas.StartPass(&Options, is3D, Rect(0, 0, 200, 100), 40);
    Canvas.Clear();
  }
  std::vector<TCanvasCall> Faces(const char* op = "DrawStoredQuad") { return Canvas.CallsOf(op); }
  TView3DOptions Options{nullptr};
  TRecordingCanvas Canvas;
};

TEST_F(Canvas3DTest, SimpleOperationsProjectEveryPoint) {
  struct TCase {
    std::function<void()> Draw;
    std::string Expected;  // the innermost drawing call
    const char* Op;
  };
  const TPoint tri[] = {{0, 0}, {10, 0}, {0, 10}};
  const TPoint3D tri3[] = {{0, 0, 0}, {10, 0, 5}, {0, 10, 10}};
  const TCase cases[] = {
      {[&] { Canvas.RectangleWithZ(Rect(10, 20, 30, 40), 5); }, "DrawStoredQuad[(15,15),(35,15),(35,35),(15,35)]",
       "DrawStoredQuad"},
      {[&] { Canvas.RectangleY(10, 20, 30, 0, 5); }, "DrawStoredQuad[(10,20),(30,20),(35,15),(15,15)]",
       "DrawStoredQuad"},
      {[&] { Canvas.RectangleZ(10, 20, 30, 0, 5); }, "DrawStoredQuad[(10,20),(15,15),(15,25),(10,30)]",
       "DrawStoredQuad"},
      {[&] { Canvas.Plane3D({1, 2}, {3, 4}, 0, 10); }, "DrawStoredQuad[(1,2),(3,4),(13,-6),(11,-8)]", "DrawStoredQuad"},
      {[&] { Canvas.PlaneWithZ({1, 2}, {3, 4}, {5, 6}, {7, 8}, 1); }, "DrawStoredQuad[(2,1),(4,3),(6,5),(8,7)]",
       "DrawStoredQuad"},
      {[&] { Canvas.PlaneFour3D({TPoint{1, 2}, TPoint{3, 4}, TPoint{5, 6}, TPoint{7, 8}}, 0, 2); },
       "DrawStoredQuad[(1,2),(3,4),(7,4),(9,6)]", "DrawStoredQuad"},
      {[&] { Canvas.PolygonWithZ(tri, 3); }, "Polygon[(3,-3),(13,-3),(3,7)]", "Polygon"},
      {[&] { Canvas.PolylineWithZ(tri, 3); }, "Polyline[(3,-3),(13,-3),(3,7)]", "Polyline"},
      {[&] { Canvas.Polygon3D(tri3); }, "Polygon[(0,0),(15,-5),(10,0)]", "Polygon"},
      {[&] { Canvas.TriangleAtDepth({0, 0}, {10, 0}, {0, 10}, 1); }, "Polygon[(1,-1),(11,-1),(1,9)]", "Polygon"},
      {[&] { Canvas.HorizontalLine3D(10, 30, 20, 5); }, "LineFromTo(15,15,35,15)", "LineFromTo"},
      {[&] { Canvas.VerticalLine3D(10, 20, 30, 5); }, "LineFromTo(15,15,15,25)", "LineFromTo"},
      {[&] { Canvas.DepthLine3D(10, 20, 0, 5); }, "LineFromTo(10,20,15,15)", "LineFromTo"},
      {[&] { Canvas.LineAtDepth(1, 2, 3, 4, 2); }, "LineFromTo(3,0,5,2)", "LineFromTo"},
      {[&] { Canvas.MoveTo3D(1, 2, 3); }, "MovePenTo(4,-1)", "MovePenTo"},
      {[&] { Canvas.LineTo3D(1, 2, 3); }, "LineTo(4,-1)", "LineTo"},
      {[&] { Canvas.Sphere(50, 50, 0, 2.5); }, "EllipseWithZ(48,48,52,52,0)", "EllipseWithZ"},  // 2.5 -> 2
      {[&] { Canvas.RotateLabel3D(10, 20, 5, "x", 30); }, "RotateLabel(15,15,30,\"x\")", "RotateLabel"},
  };
  for (const TCase& c : cases) {
    Canvas.Clear();
    c.Draw();
    auto calls = Canvas.CallsOf(c.Op);
    ASSERT_FALSE(calls.empty()) << c.Expected;
    EXPECT_EQ(calls.back().ToString(), c.Expected);
  }
}

TEST_F(Canvas3DTest, PixelsAtDepth) {
  Canvas.WritePixel3D(10, 20, 5, clRed);
  EXPECT_EQ(Canvas.SurfacePixel(15, 15), clRed);
  EXPECT_EQ(Canvas.ReadPixel3D(10, 20, 5), clRed);
  // A wider pen draws a dot in its own colour and width.
  TChartPen pen;
  pen.SetWidth(5);
  Canvas.ApplyPenWithColor(&pen, clBlue);
  Canvas.WritePixel3D(40, 40, 0, clRed);
  EXPECT_EQ(Canvas.SurfacePixel(41, 40), clBlue);
  EXPECT_EQ(Canvas.SurfacePixel(40, 41), clBlue);
  EXPECT_EQ(Canvas.SurfacePixel(40, 45), clWhite);
  EXPECT_EQ(Canvas.CanvasBrush()->Color(), clWhite);  // the fill is left alone
}

TEST_F(Canvas3DTest, CubeFromTheFrontDrawsFrontRightAndTop) {
  Canvas.CanvasBrush()->SetColor(0xC08040);
  Canvas.Cube(10, 20, 10, 20, 0, 10, true);
  auto faces = Faces();
  ASSERT_EQ(faces.size(), 3u);
  EXPECT_EQ(faces[0].ToString(), "DrawStoredQuad[(10,10),(20,10),(20,20),(10,20)]");  // front
  EXPECT_EQ(faces[1].ToString(), "DrawStoredQuad[(20,10),(30,0),(30,10),(20,20)]");   // right
  EXPECT_EQ(faces[2].ToString(), "DrawStoredQuad[(10,10),(20,10),(30,0),(20,0)]");    // top
  EXPECT_EQ(faces[0].BrushColor, 0xC08040);
  EXPECT_EQ(faces[1].BrushColor, ColorDarker(0xC08040, DarkSideAmount));
  EXPECT_EQ(faces[2].BrushColor, ColorDarker(0xC08040, DarkTopAmount));
  EXPECT_EQ(Canvas.CanvasBrush()->Color(), 0xC08040);  // the base colour comes back

  // Without dark sides every face keeps the base colour.
  Canvas.Clear();
  Canvas.Cube(10, 20, 10, 20, 0, 10, false);
  for (const TCanvasCall& f : Faces()) EXPECT_EQ(f.BrushColor, 0xC08040);
}

TEST_F(Canvas3DTest, CubeWithClearBrushOrReversedSides) {
  Canvas.CanvasBrush()->SetStyle(bsClear);
  Canvas.Cube(10, 20, 10, 20, 0, 10, true);
  auto faces = Faces();
  ASSERT_EQ(faces.size(), 5u);  // front, right, left, top, bottom; never the back
  EXPECT_EQ(faces[0].ToString(), "DrawStoredQuad[(10,10),(20,10),(20,20),(10,20)]");
  EXPECT_EQ(faces[2].ToString(), "DrawStoredQuad[(10,10),(20,0),(20,10),(10,20)]");
  EXPECT_EQ(faces[4].ToString(), "DrawStoredQuad[(10,20),(20,10),(30,10),(20,20)]");

  // Left and right swapped: the front fails its test and the back is drawn instead.
  Canvas.Clear();
  Canvas.CanvasBrush()->SetStyle(bsSolid);
  Canvas.Cube(20, 10, 10, 20, 0, 10, false);
  faces = Faces();
  ASSERT_FALSE(faces.empty());
  EXPECT_EQ(faces[0].ToString(), "DrawStoredQuad[(30,0),(20,0),(20,10),(30,10)]");
}

TEST_F(Canvas3DTest, ConesAndCylinders) {
  auto polygons = [&] {
    Strings r;
    for (const TCanvasCall& c : Canvas.CallsOf("Polygon")) r.push_back(c.ToString() + " " + c.StateString());
    return r;
  };
  Canvas.Cylinder(true, 10, 10, 50, 60, 0, 20, true);
  const Strings cylinder = polygons();
  Canvas.Clear();
  Canvas.Cone(true, 10, 10, 50, 60, 0, 20, true, 100);
  EXPECT_EQ(polygons(), cylinder);  // a cone at 100 % is a cylinder

  Canvas.Clear();
  Canvas.Cone(true, 10, 10, 50, 60, 0, 20, false, 0);
  auto polys = Canvas.CallsOf("Polygon");
  ASSERT_FALSE(polys.empty());
  // The cap (last) degenerates to the apex: every ring point is the same.
  const TCanvasCall& cap = polys.back();
  ASSERT_EQ(cap.Points.size(), static_cast<size_t>(CylinderSides));
  for (const TPoint& p : cap.Points) EXPECT_EQ(p, cap.Points[0]);
  EXPECT_EQ(cap.Points[0], Point(40, 0));  // (30, 10) at depth 10
  // Side faces never exceed the sides of the ring.
  EXPECT_LE(polys.size(), static_cast<size_t>(CylinderSides) + 1);

  // Shaded faces darken by 8 per face index; the cap by 64.
  Canvas.Clear();
  Canvas.CanvasBrush()->SetColor(0x808080);
  Canvas.Cylinder(false, 10, 10, 60, 40, 0, 20, true);
  polys = Canvas.CallsOf("Polygon");
  ASSERT_GE(polys.size(), 2u);
  EXPECT_EQ(polys.back().BrushColor, ColorDarker(0x808080, DarkTopAmount));
  for (size_t i = 0; i + 1 < polys.size(); ++i)
    EXPECT_EQ(GetRValue(ColorToRGB(polys[i].BrushColor)) % 8, 0u) << i;
}

TEST_F(Canvas3DTest, Pyramids) {
  Canvas.Pyramid(true, 10, 10, 30, 40, 0, 20, false);
  auto polys = Canvas.CallsOf("Polygon", 1);
  ASSERT_FALSE(polys.empty());
  // The front triangle first, apex at the middle of the top at half depth.
  EXPECT_EQ(polys[0].ToString(), "Polygon[(10,40),(30,0),(30,40)]");
  // A degenerate pyramid draws at most its base.
  Canvas.Clear();
  Canvas.Pyramid(true, 10, 20, 30, 20, 0, 20, false);
  EXPECT_EQ(Canvas.Count("Polygon", 1), 0);
  EXPECT_LE(Canvas.Count("RectangleY"), 1);

  Canvas.Clear();
  Canvas.Pyramid(false, 10, 10, 40, 30, 0, 20, false);
  polys = Canvas.CallsOf("Polygon", 1);
  ASSERT_FALSE(polys.empty());
  EXPECT_EQ(polys[0].ToString(), "Polygon[(10,10),(50,10),(10,30)]");
}

TEST_F(Canvas3DTest, TruncatedPyramidDrawsItsCapsFirstAndLast) {
  Canvas.TruncatedPyramid(Rect(10, 10, 50, 60), 0, 20, 5, 4);
  const Strings log = Canvas.Log(0);
  ASSERT_EQ(log.size(), 1u);
  auto top = Canvas.CallsOf("RectangleY");
  ASSERT_EQ(top.size(), 2u);
  // Bottom below top: the base (y = 60) first, the top (y = 10) last.
  EXPECT_EQ(top[0].ToString(), "RectangleY(10,60,50,0,20)");
  EXPECT_EQ(top[1].ToString(), "RectangleY(25,10,35,6,14)");
  const Strings nested = Canvas.Log(1);
  EXPECT_EQ(nested[1], "RectangleY(10,60,50,0,20)");
  EXPECT_EQ(nested.back(), "RectangleY(25,10,35,6,14)");
  EXPECT_GE(Canvas.Count("PlaneFour3D") + Canvas.Count("DrawStoredQuad", 1), 1);

  // No top half width: no top cap.
  Canvas.Clear();
  Canvas.TruncatedPyramid(Rect(10, 10, 50, 60), 0, 20, 0, 4);
  EXPECT_EQ(Canvas.Count("RectangleY"), 1);
}

TEST_F(Canvas3DTest, PieSlicesResolutionAndDonuts) {
  struct TCase {
    double Degrees;
    int Percent;
    size_t LidPoints;
  };
  // Lid: the inner start point, then the arc (94 segments at most); a donut
  // adds the inner arc back.
  const TCase cases[] = {{360, 0, 97}, {1, 0, 3}, {90, 0, 1 + 47}, {90, 50, 1 + 47 + 47}};
  for (const TCase& c : cases) {
    Canvas.Clear();
    Canvas.CanvasBrush()->SetColor(0x80C0FF);
    Canvas.Pie3D(100, 50, 40, 30, 0, 10, 0, c.Degrees * M_PI / 180, true, true, c.Percent, nullptr);
    auto polys = Canvas.CallsOf("Polygon");
    // The lid is the polygon drawn in the base colour after the walls and sides.
    const TCanvasCall* lid = nullptr;
    for (const TCanvasCall& p : polys)
      if (p.BrushColor == 0x80C0FF && p.Points.size() == c.LidPoints) lid = &p;
    ASSERT_NE(lid, nullptr) << c.Degrees << " " << c.Percent << "\n" << Canvas.Dump();
    if (c.Percent == 0) {
      EXPECT_EQ(lid->Points[0], Canvas.ProjectXYZ(100, 50, 10));  // the centre
      // No inner wall (two points an arc step).
      const size_t steps = c.LidPoints - 1;
      if (steps > 2) {
        for (const TCanvasCall& p : polys) EXPECT_NE(p.Points.size(), 2 * steps);
      }
    } else {
      // The donut's inner wall comes first, shaded by 32.
      EXPECT_EQ(polys[0].BrushColor, ColorDarker(0x80C0FF, 32));
    }
    EXPECT_EQ(Canvas.CanvasBrush()->Color(), 0x80C0FF);
  }
}

TEST_F(Canvas3DTest, PieWithGradientClipsToTheLid) {
  TGrafGradient g;
  g.SetStartColor(clRed);
  g.SetEndColor(clBlue);
  Canvas.Pie3D(100, 50, 40, 30, 0, 10, 0, M_PI / 2, false, false, 0, &g);
  EXPECT_GE(Canvas.Count("ClipToPolygon"), 1);
  EXPECT_EQ(Canvas.Count("ClipToPolygon"), Canvas.Count("RemoveClipRegion"));
  EXPECT_EQ(Canvas.ClipDepth(), 0);
  // Outlined afterwards with a clear brush.
  auto outlines = Canvas.CallsOf("Polygon");
  ASSERT_FALSE(outlines.empty());
  EXPECT_EQ(outlines.back().BrushStyle, bsClear);
}

TEST_F(Canvas3DTest, Arrows) {
  Start(false);
  // Filled, pointing right: shaft half-width 10 * 50 * 0.005 = 2.5.
  Canvas.Arrow(true, {10, 50}, {60, 50}, 10, 8, 0, 50);
  auto polys = Canvas.CallsOf("Polygon");
  ASSERT_EQ(polys.size(), 1u);
  EXPECT_EQ(polys[0].ToString(), "Polygon[(10,52),(10,48),(52,48),(52,45),(60,50),(52,55),(52,52)]");

  // A head longer than the arrow puts its base at the tail.
  Canvas.Clear();
  Canvas.Arrow(true, {10, 50}, {20, 50}, 10, 30, 0, 50);
  polys = Canvas.CallsOf("Polygon");
  ASSERT_EQ(polys.size(), 1u);
  EXPECT_EQ(polys[0].Points[2].X, 10);
  EXPECT_EQ(polys[0].Points[1], polys[0].Points[2]);

  Canvas.Clear();
  Canvas.Arrow(false, {10, 50}, {10, 10}, 10, 8, 0, 50);
  EXPECT_EQ(Canvas.Log(1), (Strings{"Arrow(0,10,50,10,10,10,8,0,50)", "LineFromTo(10,50,10,10)",
                                    "LineFromTo(10,10,15,18)", "LineFromTo(10,10,5,18)"}));
  Canvas.Clear();
  Canvas.Arrow(true, {10, 10}, {10, 10}, 10, 8, 0, 50);
  EXPECT_EQ(Canvas.Calls.size(), 1u);  // a zero-length arrow draws nothing
}

TEST_F(Canvas3DTest, EllipsesInEachKindOfPass) {
  Canvas.EllipseWithZ(10, 20, 30, 40, 5);
  EXPECT_EQ(Canvas.Log(1), (Strings{"EllipseWithZ(10,20,30,40,5)", "Ellipse(15,15,35,35)"}));

  Start(false);
  Canvas.EllipseWithZ(10, 20, 30, 40, 5);
  EXPECT_EQ(Canvas.Log(1), (Strings{"EllipseWithZ(10,20,30,40,5)", "Ellipse(10,20,31,41)"}));

  Options.SetOrthogonal(false);
  Options.SetPerspective(0);
  Start(true);
  Canvas.EllipseWithZ(10, 20, 30, 40, 5);
  EXPECT_EQ(Canvas.Count("Polygon"), 63);   // a fan of triangles
  EXPECT_EQ(Canvas.Count("Polyline"), 1);   // then the outline
  auto fan = Canvas.CallsOf("Polygon");
  EXPECT_EQ(fan[0].PenStyle, psClear);
  auto outline = Canvas.CallsOf("Polyline");
  EXPECT_EQ(outline[0].Points.size(), 64u);
  EXPECT_EQ(outline[0].Points.front(), outline[0].Points.back());
  EXPECT_EQ(Canvas.CanvasPen()->Style(), psSolid);
}

TEST_F(Canvas3DTest, TextAtDepthFollowsTheZoom) {
  Options.SetZoom(150);
  Start();
  TGrafFont font;
  Canvas.ApplyFont(&font);
  Canvas.TextOut3D(100, 50, 0, "abc");
  auto text = Canvas.CallsOf("TextOut");
  ASSERT_EQ(text.size(), 1u);
  EXPECT_EQ(text[0].FontSize, 12);
  EXPECT_EQ(text[0].ToString(), "TextOut(100,50,\"abc\")");
  EXPECT_EQ(Canvas.CanvasFont()->Size(), 8);

  Options.SetZoomText(false);
  Start();
  Canvas.TextOut3D(100, 50, 0, "abc");
  EXPECT_EQ(Canvas.CallsOf("TextOut")[0].FontSize, 8);
}

TEST_F(Canvas3DTest, TrianglesTakeTheirFirstColour) {
  Canvas.Triangle3D({TPoint3D{0, 0, 0}, TPoint3D{10, 0, 0}, TPoint3D{0, 10, 0}}, {clRed, clLime, clBlue});
  EXPECT_EQ(Canvas.CallsOf("Polygon")[0].BrushColor, clRed);
  Canvas.Clear();
  Canvas.CanvasBrush()->SetStyle(bsClear);
  Canvas.Triangle3D({TPoint3D{0, 0, 0}, TPoint3D{10, 0, 0}, TPoint3D{0, 10, 0}}, {clLime, clLime, clBlue});
  EXPECT_EQ(Canvas.CallsOf("Polygon")[0].BrushStyle, bsClear);
}

TEST_F(Canvas3DTest, GraphicsAtDepthBecomeOneQuadAPixel) {
  TBitmap b(2, 2);
  b.Canvas()->SetPixels(0, 0, clRed);
  b.Canvas()->SetPixels(1, 0, clLime);
  b.Canvas()->SetPixels(0, 1, clBlue);
  b.Canvas()->SetPixels(1, 1, clBlack);
  Canvas.DrawGraphicAtDepth(Rect(10, 10, 30, 30), &b, 5);
  auto quads = Canvas.CallsOf("PlaneWithZ");
  ASSERT_EQ(quads.size(), 4u);
  EXPECT_EQ(quads[0].ToString(), "PlaneWithZ(10,10,20,10,20,20,10,20,5)");
  EXPECT_EQ(quads[0].BrushColor, clRed);
  EXPECT_EQ(quads[1].BrushColor, clLime);
  EXPECT_EQ(quads[2].BrushColor, clBlue);
  EXPECT_EQ(quads[3].ToString(), "PlaneWithZ(20,20,30,20,30,30,20,30,5)");
  EXPECT_EQ(quads[0].PenStyle, psClear);
  EXPECT_EQ(Canvas.SurfacePixel(17, 7), clRed);

  // The pixels are plain colours whatever brush the caller had selected (a
  // picture pattern here), and that brush comes back afterwards.
  TChartBrush patterned;
  TBitmap green(4, 4);
  green.Canvas()->Brush()->SetColor(clGreen);
  green.Canvas()->FillRect(Rect(0, 0, 4, 4));
  patterned.Image()->SetGraphic(&green);
  Canvas.ApplyBrush(&patterned, clBlack, clWhite);
  ASSERT_NE(Canvas.CanvasBrush()->Bitmap(), nullptr);
  Canvas.DrawGraphicAtDepth(Rect(100, 60, 120, 80), &b, 0);
  EXPECT_EQ(Canvas.SurfacePixel(104, 64), clRed);
  EXPECT_EQ(Canvas.SurfacePixel(114, 74), clBlack);
  EXPECT_NE(Canvas.CanvasBrush()->Bitmap(), nullptr);
}

TEST_F(Canvas3DTest, ClipCube) {
  Start(false);
  Canvas.ClipCube(Rect(10, 10, 50, 40), 0, 20);
  EXPECT_EQ(Canvas.Log(1), (Strings{"ClipCube(10,10,50,40,0,20)", "ClipToRect(11,11,50,39)"}));
  Canvas.RemoveClipRegion();

  Start(true);
  Canvas.ClipCube(Rect(10, 10, 50, 40), 0, 20);
  auto hull = Canvas.CallsOf("ClipToPolygon");
  ASSERT_EQ(hull.size(), 1u);
  // The box's outline: six corners of the projected box.
  EXPECT_EQ(hull[0].Points.size(), 6u);
  TRect box;
  Canvas.BoundCanvas()->GetClipBox(box);
  EXPECT_EQ(box, Rect(10, -10, 70, 40));
  Canvas.RemoveClipRegion();
}

}  // namespace
