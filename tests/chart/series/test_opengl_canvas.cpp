// The OpenGL canvas against a recording stand-in GL: the calls it makes,
// their order and arguments, and the labels of the errors it reports.
#include <charconv>
#include <cstring>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "chart/series/grafglcanvas.h"
#include "glshim.h"
#include "platform/gfx/bitmap.h"

namespace {

// A canvas in a pass on the stand-in GL, bound to a bitmap's canvas.
struct TShimCanvas {
  explicit TShimCanvas(bool is3D = false, int w = 400, int h = 300) : target(w, h) {
    glshim::Install();
    canvas.PrepareDrawing(target.Canvas(), &options, clWhite, is3D, Rect(0, 0, w, h));
    glshim::Log.clear();
  }
  ~TShimCanvas() {
    ClearTextureCache();
    UnloadOpenGLLibraries();
  }
  TBitmap target;
  TView3DOptions options{nullptr};
  TGLCanvas canvas;
};

bool Before(const std::string& a, const std::string& b) {
  const auto& log = glshim::Log;
  auto ia = std::find_if(log.begin(), log.end(), [&](const std::string& s) { return s.rfind(a, 0) == 0; });
  auto ib = std::find_if(log.begin(), log.end(), [&](const std::string& s) { return s.rfind(b, 0) == 0; });
  return ia != log.end() && ib != log.end() && ia < ib;
}

TEST(GLBinding, VersionTextIsReadLeniently) {
  struct Case {
    const char* text;
    int major, minor;
  };
  const Case cases[] = {{"1.1.0", 1, 1},         {"1.2.1 Mesa 22", 1, 2}, {"4.5 (Compatibility Profile)", 4, 5},
                        {"2.0", 2, 0},           {"garbage", 0, 0},       {"", 0, 0},
                        {".5", 0, 0},            {"3.x", 3, 0},           {"GLU1.3", 1, 3}};
  for (const Case& c : cases) {
    const TGLVersion v = ParseGLVersion(c.text);
    EXPECT_EQ(v.Major, c.major) << c.text;
    EXPECT_EQ(v.Minor, c.minor) << c.text;
  }
}

TEST(GLBinding, VersionFlagsCompareMajorAndMinorTogether) {
  struct Case {
    const char* text;
    bool gl10, gl11, gl12;
  };
  // 2.0 is newer than 1.1 although its minor number is 0.
  const Case cases[] = {{"1.0", true, false, false}, {"1.1.0", true, true, false}, {"1.2.1 vendor", true, true, true},
                        {"2.0", true, true, true},   {"nonsense", false, false, false}};
  for (const Case& c : cases) {
    glshim::Install();
    glshim::Version = c.text;
    ReadOpenGLImplementationInfo();
    EXPECT_EQ(OpenGLImplementationInfo.GL_1_0, c.gl10) << c.text;
    EXPECT_EQ(OpenGLImplementationInfo.GL_1_1, c.gl11) << c.text;
    EXPECT_EQ(OpenGLImplementationInfo.GL_1_2, c.gl12) << c.text;
    EXPECT_TRUE(OpenGLImplementationInfo.HasExtension("GL_EXT_texture_object"));
  }
  UnloadOpenGLLibraries();
}

TEST(GLBinding, PairLackingAnEntryOrALibraryIsNotLoadable) {
  UnloadOpenGLLibraries();
  // The maths library loads but offers no GLU entry point.
  EXPECT_FALSE(LoadOpenGLLibraryPair("libGL.so.1", "libm.so.6"));
  EXPECT_FALSE(OpenGLLibrariesLoaded());
  EXPECT_EQ(GL.glBegin, nullptr);
  SetOpenGLLibraryNames("libzv_no_such_gl.so", "libzv_no_such_glu.so");
  EXPECT_FALSE(LoadOpenGLLibraries());
  EXPECT_EQ(CreateGLRenderingContext(10, 10), nullptr);
  SetOpenGLLibraryNames("", "");
  ASSERT_TRUE(LoadOpenGLLibraries());
  EXPECT_NE(GL.glBegin, nullptr);
  EXPECT_NE(GL.gluSphere, nullptr);
  UnloadOpenGLLibraries();
  EXPECT_EQ(GL.glBegin, nullptr);
}

TEST(GLCanvas, PassSetsFixedStateThenProjectionThenModelView) {
  glshim::Install();
  TBitmap target(400, 300);
  TView3DOptions options(nullptr);
  TGLCanvas canvas;
  int inits = 0;
  canvas.OnInit = [&](TGLCanvas*) { ++inits; };
  canvas.PrepareDrawing(target.Canvas(), &options, clWhite, false, Rect(0, 0, 400, 300));
  EXPECT_TRUE(canvas.Live());
  EXPECT_TRUE(Before("glEnable(3456)", "glMaterialfv"));  // GL_AUTO_NORMAL first
  EXPECT_TRUE(Before("glColorMaterial(1032,5634)", "glPolygonOffset(0.5,1)"));
  canvas.SetupProjection(10, Rect(0, 0, 400, 300));
  EXPECT_TRUE(Before("glViewport(0,0,400,300)", "glMatrixMode(5889)"));
  EXPECT_TRUE(Before("glMatrixMode(5889)", "glOrtho"));
  EXPECT_TRUE(Before("glOrtho", "glClear("));
  EXPECT_TRUE(Before("glClear(", "glMatrixMode(5888)"));
  EXPECT_EQ(inits, 1);
  canvas.FinishDrawing(target.Canvas(), nullptr, Rect(0, 0, 400, 300));
  // A second pass on the same target keeps the context: no fixed state again.
  glshim::Log.clear();
  canvas.PrepareDrawing(target.Canvas(), &options, clWhite, false, Rect(0, 0, 400, 300));
  EXPECT_FALSE(glshim::Called("glColorMaterial"));
  canvas.FinishDrawing(target.Canvas(), nullptr, Rect(0, 0, 400, 300));
  EXPECT_TRUE(glshim::Called("glFlush"));
  UnloadOpenGLLibraries();
}

TEST(GLCanvas, ProjectionFactorsAndFieldOfView) {
  // Orthogonal at zoom 100: factor 200, f 0.5, a quarter of the viewport each side.
  TShimCanvas s(true);
  s.options.SetOrthogonal(true);
  s.options.SetZoom(100);
  EXPECT_DOUBLE_EQ(s.canvas.ZoomFactor(), 200);
  s.canvas.SetupProjection(0, Rect(0, 0, 400, 300));
  ASSERT_EQ(glshim::CallsOf("glOrtho").size(), 1u);
  EXPECT_EQ(glshim::CallsOf("glOrtho")[0], "glOrtho(-100,100,-75,75,-0.1,400)");
  EXPECT_TRUE(glshim::Called("glDisable(2929)"));  // flat and orthogonal: painter's order
  struct Case {
    int perspective, zoom;
    double fovy, factor;
  };
  const Case cases[] = {{0, 100, 3, 12}, {5, 100, 3, 12}, {20, 100, 10, 40}, {20, 0, 10, 0.4}};
  for (const Case& c : cases) {
    s.options.SetOrthogonal(false);
    s.options.SetPerspective(c.perspective);
    s.options.SetZoom(c.zoom);
    glshim::Log.clear();
    s.canvas.SetupProjection(0, Rect(0, 0, 400, 300));
    EXPECT_DOUBLE_EQ(s.canvas.ZoomFactor(), c.factor) << c.perspective << " " << c.zoom;
    ASSERT_EQ(glshim::CallsOf("gluPerspective").size(), 1u);
    EXPECT_EQ(glshim::CallsOf("gluPerspective")[0].substr(0, 16 + std::to_string(int(c.fovy)).size()),
              "gluPerspective(" + std::to_string(int(c.fovy)) + ",")
        << c.perspective;
  }
}

TEST(GLCanvas, ProjectXYZFlipsTheRowAndIgnoresDepth) {
  TShimCanvas s(false, 400, 300);
  EXPECT_EQ(s.canvas.ProjectXYZ(10, 20, 500), (TPoint{10, 280}));
}

TEST(GLCanvas, ErrorsCarryTheLabelOfTheFailingGroup) {
  struct Case {
    const char* failingEntry;
    GLenum error;
    std::function<void(TGLCanvas&)> op;
    const char* label;
  };
  const std::array<float, 4> gray{0.5f, 0.5f, 0.5f, 1};
  const Case cases[] = {
      {"glViewport", 1281, [](TGLCanvas& c) { c.SetupProjection(0, Rect(0, 0, 10, 10)); }, "ViewPort 1281"},
      {"glMaterialfv", 1280, [](TGLCanvas& c) { c.SetMaterial(); }, "Material 1280"},
      {"glEnd", 1282, [](TGLCanvas& c) { c.FillRect(Rect(0, 0, 5, 5)); }, "FillRect 1282"},
      {"glLightfv", 1280,
       [gray](TGLCanvas& c) { c.SetLight(0x4001, gray, 180, false, {0, 0, 0}, {0, 0, 0}); }, "LightAmbient 16385"},
      {"glMateriali", 1280, [](TGLCanvas& c) { c.SetShininess(0.5); }, "Shininess"},
      {"glEnd", 1280,
       [](TGLCanvas& c) {
         c.CanvasPen()->SetStyle(psClear);
         c.Cube(0, 10, 0, 10, 0, 10, false);
       },
       "Cube"},
      {"glEnd", 1280, [](TGLCanvas& c) { c.LineTo(5, 5); }, "LineTo"},
  };
  for (const Case& c : cases) {
    TShimCanvas s;
    glshim::FailAfter = c.failingEntry;
    glshim::Error = c.error;
    try {
      c.op(s.canvas);
      ADD_FAILURE() << "no error for " << c.label;
    } catch (const EGLCanvasError& e) {
      EXPECT_EQ(e.Message(), c.label);
    }
  }
}

TEST(GLCanvas, PensStippleAndAClearPenDrawsNoLine) {
  struct Case {
    TPenStyle style;
    const char* stipple;  // nullptr: stippling off
  };
  const Case cases[] = {{psSolid, nullptr},
                        {psDash, "glLineStipple(1,255)"},
                        {psDot, "glLineStipple(1,21845)"},
                        {psDashDot, "glLineStipple(1,22015)"},
                        {psDashDotDot, "glLineStipple(1,7239)"}};
  for (const Case& c : cases) {
    TShimCanvas s;
    s.canvas.CanvasPen()->SetStyle(c.style);
    s.canvas.LineTo(10, 10);
    if (c.stipple) EXPECT_EQ(glshim::CallsOf("glLineStipple").at(0), c.stipple);
    else EXPECT_TRUE(glshim::Called("glDisable(2852)"));
    EXPECT_EQ(glshim::CallsOf("glBegin(1)").size(), 1u);
  }
  TShimCanvas s;
  s.canvas.CanvasPen()->SetStyle(psClear);
  s.canvas.LineTo(10, 10);
  const TPoint pts[] = {{0, 0}, {5, 5}, {9, 1}};
  s.canvas.Polyline(pts);
  s.canvas.LineTo3D(1, 2, 3);
  s.canvas.CanvasBrush()->SetStyle(bsClear);
  s.canvas.Rectangle(0, 0, 5, 5);
  EXPECT_FALSE(glshim::Called("glBegin")) << glshim::Log.size();
  // The pen still moves (last to the 3D line's end).
  s.canvas.CanvasPen()->SetStyle(psSolid);
  s.canvas.LineTo(20, 20);
  EXPECT_EQ(glshim::CallsOf("glVertex2i").at(0), "glVertex2i(1,-2)");
}

TEST(GLCanvas, PolylineOfNoPointsLeavesThePen) {
  TShimCanvas s;
  s.canvas.MovePenTo(7, 8);
  s.canvas.Polyline({});
  s.canvas.LineTo(9, 9);
  EXPECT_EQ(glshim::CallsOf("glVertex2i").at(0), "glVertex2i(7,-8)");
}

TEST(GLCanvas, GradientCornersByDirection) {
  struct Case {
    TGradientDirection dir;
    const char* topLeft;  // first colour sent
    int vertices;
  };
  // Start red, end blue.
  const Case cases[] = {{gdTopBottom, "glColor4fv(0,0,1,1)", 4},
                        {gdBottomTop, "glColor4fv(1,0,0,1)", 4},
                        {gdLeftRight, "glColor4fv(0,0,1,1)", 4},
                        {gdRightLeft, "glColor4fv(1,0,0,1)", 4},
                        {gdDiagonalDown, "glColor4fv(1,0,0,1)", 4},
                        {gdRadial, nullptr, 0},
                        {gdFromCenter, nullptr, 0}};
  for (const Case& c : cases) {
    TShimCanvas s;
    s.canvas.GradientFill(Rect(0, 0, 10, 10), clRed, clBlue, c.dir, 50);
    EXPECT_EQ(static_cast<int>(glshim::CallsOf("glVertex3i").size()), c.vertices) << c.dir;
    if (c.topLeft) EXPECT_EQ(glshim::CallsOf("glColor4fv").at(0), c.topLeft) << c.dir;
  }
  TShimCanvas s;
  s.canvas.GradientFill(Rect(0, 0, 10, 10), clRed, clBlue, gdFromTopLeft, 50);
  EXPECT_EQ(glshim::CallsOf("glColor4fv").at(1), "glColor4fv(0.5,0,0.5,1)");  // the mid colour
}

TEST(GLCanvas, TexturesPerBitmapOnACopyAndClearedWithTheirNames) {
  TShimCanvas s;
  TBitmap good(64, 32, pf24bit), odd(100, 100);
  EXPECT_NE(s.canvas.BitmapTexture(&good), 0u);
  EXPECT_EQ(good.PixelFormat(), pf24bit);  // the caller's bitmap is not converted
  EXPECT_EQ(s.canvas.BitmapTexture(&odd), 0u);
  EXPECT_EQ(s.canvas.BitmapTexture(&good), s.canvas.BitmapTexture(&good));  // made once
  EXPECT_EQ(glshim::CallsOf("glTexImage2D").size(), 1u);
  EXPECT_EQ(glshim::CallsOf("glTexImage2D")[0].substr(0, 30), "glTexImage2D(3553,0,6408,64,32");
  // A bitmap resized is a new texture, not the old texels.
  good.SetSize(32, 32);
  EXPECT_NE(s.canvas.BitmapTexture(&good), 0u);
  EXPECT_EQ(glshim::CallsOf("glTexImage2D").size(), 2u);
  // Twenty entries fill the cache; the next bitmap gets none until it is cleared.
  std::vector<std::unique_ptr<TBitmap>> more;
  while (CachedTextureCount() < MaxCachedTextures) {
    more.push_back(std::make_unique<TBitmap>(8, 8));
    ASSERT_NE(s.canvas.BitmapTexture(more.back().get()), 0u);
  }
  TBitmap last(16, 16);
  EXPECT_EQ(s.canvas.BitmapTexture(&last), 0u);
  glshim::Log.clear();
  ClearTextureCache();
  EXPECT_EQ(glshim::CallsOf("glDeleteTextures").size(), static_cast<size_t>(MaxCachedTextures));
  EXPECT_NE(s.canvas.BitmapTexture(&last), 0u);
}

TEST(GLCanvas, LightsAmbientAndShininess) {
  TShimCanvas s;
  s.canvas.SetAmbientLight(8);
  EXPECT_EQ(glshim::CallsOf("glLightModelfv").at(0), "glLightModelfv(2899,0.08,0.08,0.08,1)");
  glshim::Log.clear();
  s.canvas.SetAmbientLight(0);
  EXPECT_EQ(glshim::CallsOf("glLightModelfv").at(0), "glLightModelfv(2899,0,0,0,1)");
  EXPECT_EQ(glshim::CallsOf("glDisable(2896)").size(), 2u);  // lighting off again at the end
  glshim::Log.clear();
  s.canvas.SetLight(0x4000, {0.5f, 0.5f, 0.5f, 1}, 30, false, {1, 2, 3}, {-100, -100, -100});
  EXPECT_TRUE(glshim::Called("glLightfv(16384,4611,-100,100,100,1)"));  // position
  EXPECT_TRUE(glshim::Called("glLightfv(16384,4612,0,0,1,0)"));         // default direction
  EXPECT_TRUE(glshim::Called("glLightf(16384,4614,30)"));
  for (auto [value, exponent] : {std::pair{0.5, 64}, {1.0, 128}, {0.0, 0}}) {
    glshim::Log.clear();
    s.canvas.SetShininess(value);
    EXPECT_EQ(glshim::CallsOf("glMateriali").at(0), "glMateriali(1032,5633," + std::to_string(exponent) + ")");
  }
}

TEST(GLCanvas, BlendingSetsAlphaAndKeepsBlendUnderAntialias) {
  TShimCanvas s;
  s.canvas.BeginBlending(TRect(), 70);
  EXPECT_FLOAT_EQ(s.canvas.Alpha, 0.3f);
  EXPECT_TRUE(glshim::Called("glEnable(3042)"));
  s.canvas.EndBlending(nullptr);
  EXPECT_FLOAT_EQ(s.canvas.Alpha, 1.0f);
  EXPECT_TRUE(glshim::Called("glDisable(3042)"));
  glshim::Log.clear();
  s.canvas.BeginBlending(TRect(), 0);
  EXPECT_FALSE(glshim::Called("glEnable(3042)"));
  s.canvas.SetAntialias(true);
  glshim::Log.clear();
  s.canvas.EndBlending(nullptr);
  EXPECT_FALSE(glshim::Called("glDisable(3042)"));
}

TEST(GLCanvas, WithoutAContextNoGLCallIsMade) {
  glshim::Install();
  glshim::ContextsAvailable = false;
  TBitmap target(100, 100);
  TView3DOptions options(nullptr);
  {
    TGLCanvas canvas;
    EXPECT_EQ(canvas.PrepareDrawing(target.Canvas(), &options, clWhite, true, Rect(0, 0, 100, 100)),
              Rect(0, 0, 100, 100));
    EXPECT_FALSE(canvas.Live());
    canvas.SetupProjection(10, Rect(0, 0, 100, 100));
    canvas.Rectangle(0, 0, 10, 10);
    canvas.Cube(0, 10, 0, 10, 0, 10, false);
    canvas.LineTo(4, 4);
    canvas.Sphere(5, 5, 5, 3);
    canvas.SetAmbientLight(8);
    canvas.DisableRotation();
    canvas.EnableRotation();
    canvas.FinishDrawing(target.Canvas(), nullptr, Rect(0, 0, 100, 100));
  }
  EXPECT_TRUE(glshim::Log.empty()) << glshim::Log.front();
  UnloadOpenGLLibraries();
}

TEST(GLCanvas, SurfaceStripsRestartAfterAGap) {
  TShimCanvas s;
  // Row 2 of three is missing: each column strip breaks there.
  s.canvas.Surface3D(tcsSolid, true, 2, 3, [](int, int z, std::array<TPoint3D, 4>& c, std::array<TColor, 4>&) {
    c[0] = {0, z, z};
    c[1] = {10, z, z};
    return z != 2;
  });
  // Solid with a visible pen: the strips again as a wire grid.
  EXPECT_EQ(glshim::CallsOf("glBegin(8)").size(), 4u);
  EXPECT_EQ(glshim::CallsOf("glNormal3i(0,-1,0)").size(), 2u);
  EXPECT_EQ(glshim::CallsOf("glVertex3i").size(), 8u);
}

}  // namespace

namespace {

TEST(GLCanvas, AnotherTargetGetsItsOwnContext) {
  glshim::Install();
  TBitmap window(200, 100), exported(200, 100);
  TView3DOptions options(nullptr);
  TGLCanvas canvas;
  auto pass = [&](TBitmap& target) {
    glshim::Log.clear();
    canvas.PrepareDrawing(target.Canvas(), &options, clWhite, false, Rect(0, 0, 200, 100));
    canvas.FinishDrawing(target.Canvas(), nullptr, Rect(0, 0, 200, 100));
    return glshim::Called("glColorMaterial");  // the fixed state of a new context
  };
  EXPECT_TRUE(pass(window));
  EXPECT_FALSE(pass(window));
  EXPECT_TRUE(pass(exported));
  EXPECT_TRUE(pass(window));
  UnloadOpenGLLibraries();
}

TEST(GLCanvas, RotatedLabelTurnsAboutItsAnchorAtItsDepth) {
  TShimCanvas s;
  s.canvas.RotateLabel3D(30, 40, 7, "up", 90);
  const auto t = glshim::CallsOf("glTranslatef");
  ASSERT_GE(t.size(), 3u);
  EXPECT_EQ(t[0], "glTranslatef(30,-40,0)");
  EXPECT_EQ(glshim::CallsOf("glRotatef").at(0), "glRotatef(90,0,0,1)");
  EXPECT_EQ(t[1], "glTranslatef(-30,40,-7)");
  EXPECT_EQ(glshim::Log.back(), "glPopMatrix()");
}

}  // namespace

namespace {

TEST(GLSolids, UnsortedCubeIsTheSortedCube) {
  TShimCanvas a, b;
  a.canvas.Cube(10, 50, 20, 80, 5, 30, false);
  const auto sorted = glshim::Log;
  glshim::Log.clear();
  b.canvas.Cube(50, 10, 80, 20, 30, 5, false);
  EXPECT_EQ(glshim::Log, sorted);
  EXPECT_EQ(glshim::CallsOf("glEnable(2884)").size(), 1u);
  EXPECT_EQ(glshim::CallsOf("glVertex3i").size(), 24u + 20u);  // six faces, five outlines
}

TEST(GLSolids, QuadricSlicesAndEndDisks) {
  const int saved = CylinderSideCount;
  CylinderSideCount = 16;
  struct Case {
    int width;        // radius = width / 2
    int percent;      // 100: a cylinder
    const char* cylinder;
    size_t disks;
  };
  const Case cases[] = {{2, 100, "gluCylinder(p,1,1,40,6,6)", 2},
                        {40, 100, "gluCylinder(p,20,20,40,16,6)", 2},
                        {40, 0, "gluCylinder(p,0,20,40,16,6)", 0},
                        {40, 50, "gluCylinder(p,10,20,40,16,6)", 0}};
  for (const Case& c : cases) {
    TShimCanvas s;
    s.canvas.CanvasPen()->SetStyle(psClear);
    if (c.percent == 100) s.canvas.Cylinder(true, 0, 0, c.width, 40, 0, 100, false);
    else s.canvas.Cone(true, 0, 0, c.width, 40, 0, 100, false, c.percent);
    EXPECT_EQ(glshim::CallsOf("gluCylinder").at(0), c.cylinder) << c.width << " " << c.percent;
    EXPECT_EQ(glshim::CallsOf("gluDisk").size(), c.disks);
  }
  // The bar series' temporary side count is honoured.
  CylinderSideCount = 4;
  TShimCanvas s;
  s.canvas.CanvasPen()->SetStyle(psClear);
  s.canvas.Cylinder(true, 0, 0, 40, 40, 0, 100, false);
  EXPECT_EQ(glshim::CallsOf("gluCylinder").at(0), "gluCylinder(p,20,20,40,4,6)");
  CylinderSideCount = saved;
  glshim::Log.clear();
  s.canvas.Sphere(5, 5, 5, 3);
  EXPECT_EQ(glshim::CallsOf("gluSphere").at(0), "gluSphere(p,3,32,32)");
}

TEST(GLSolids, DownwardPyramidDrawsWithoutCulling) {
  TShimCanvas up, down;
  up.canvas.Pyramid(true, 0, 0, 20, 40, 0, 10, false);
  const auto upLog = glshim::Log;
  glshim::Log.clear();
  down.canvas.Pyramid(true, 0, 40, 20, 0, 0, 10, false);
  // Pointing down: culling goes off before anything is drawn.
  auto firstBegin = std::find_if(glshim::Log.begin(), glshim::Log.end(),
                                 [](const std::string& e) { return e.rfind("glBegin", 0) == 0; });
  EXPECT_NE(std::find(glshim::Log.begin(), firstBegin, std::string("glDisable(2884)")), firstBegin);
  auto upBegin = std::find_if(upLog.begin(), upLog.end(), [](const std::string& e) { return e.rfind("glBegin", 0) == 0; });
  EXPECT_EQ(std::find(upLog.begin(), upBegin, std::string("glDisable(2884)")), upBegin);
}

TEST(GLSolids, ArrowOfNoLengthDrawsNothingAndWireSurfaceHasOnePass) {
  TShimCanvas s;
  s.canvas.Arrow(true, {5, 5}, {5, 5}, 10, 10, 0, 50);
  EXPECT_FALSE(glshim::Called("glBegin"));
  auto cell = [](int, int z, std::array<TPoint3D, 4>& c, std::array<TColor, 4>&) {
    c[0] = {0, z, z};
    c[1] = {10, z, z};
    return true;
  };
  glshim::Log.clear();
  s.canvas.Surface3D(tcsWire, true, 3, 3, cell);
  EXPECT_EQ(glshim::CallsOf("glBegin(8)").size(), 2u);
  glshim::Log.clear();
  s.canvas.Surface3D(tcsSolid, true, 1, 3, cell);
  EXPECT_FALSE(glshim::Called("glBegin"));
}

}  // namespace

namespace {

TEST(GLCanvas, PieSectorSpansItsRadials) {
  struct Case {
    TPoint start, end;
    double sweep;  // degrees between the first and last rim point
  };
  // Box 0..100: centre (50, 50); east is 0 degrees, north 90.
  const Case cases[] = {{{100, 50}, {50, 0}, 90}, {{50, 0}, {100, 50}, 270}, {{0, 50}, {0, 50}, 360}};
  for (const Case& c : cases) {
    TShimCanvas s;
    s.canvas.CanvasPen()->SetStyle(psClear);
    s.canvas.Pie2D(0, 0, 100, 100, c.start.X, c.start.Y, c.end.X, c.end.Y);
    const auto v = glshim::CallsOf("glVertex3d");
    ASSERT_EQ(v.size(), 64u);  // the centre and 63 rim points
    auto point = [](const std::string& call) {
      // The log writes numbers with a point whatever the locale; read them the same way.
      double x = 0, y = 0;
      const char* p = call.c_str() + std::strlen("glVertex3d(");
      const char* end = call.c_str() + call.size();
      p = std::from_chars(p, end, x).ptr + 1;
      std::from_chars(p, end, y);
      return std::pair{x - 50, y + 50};
    };
    auto [x1, y1] = point(v[1]);
    auto [x2, y2] = point(v[63]);
    double a1 = std::atan2(y1, x1) * 180 / M_PI, a2 = std::atan2(y2, x2) * 180 / M_PI;
    double sweep = std::fmod(a2 - a1 + 720, 360);
    if (c.sweep == 360) EXPECT_NEAR(sweep, 0, 1.5);
    else EXPECT_NEAR(sweep, c.sweep, 1.5) << c.start.X << "," << c.start.Y;
    EXPECT_NEAR(std::hypot(x1, y1), 50, 1);
  }
}

}  // namespace
