// The OpenGL canvas on Mesa's software renderer through an off-screen EGL
// context: the probe that fixed-function GL is offered, charts drawn through
// it, the projection's inverse, and the component's switch and fallback.
// A machine set up from scripts/packages.txt has Mesa: no context is a fault.
#include <gtest/gtest.h>

#include <cmath>

#include "chart/core/chart.h"
#include "chart/series/grafopengl.h"
#include "chart/series/grafpoin3.h"
#include "chart/series/grafsurfa.h"
#include "platform/gfx/bitmap.h"
#include "platform/gfx/glcontext.h"
#include "platform/ui/streaming.h"

namespace {

constexpr GLenum kQuads = 7, kColorBuffer = 0x4000;

TEST(GLMesa, ProbeOffersFixedFunctionGL) {
  UnloadOpenGLLibraries();
  ASSERT_TRUE(LoadOpenGLLibraries());
  std::unique_ptr<TGLContext> rc = CreateGLRenderingContext(16, 8);
  ASSERT_NE(rc, nullptr) << LastGLContextError();
  ASSERT_TRUE(rc->MakeCurrent());
  EXPECT_TRUE(OpenGLImplementationInfo.GL_1_1);
  // Left half green on red, in immediate mode.
  GL.glClearColor(1, 0, 0, 1);
  GL.glClear(kColorBuffer);
  GL.glBegin(kQuads);
  GL.glColor3f(0, 1, 0);
  GL.glVertex3d(-1, -1, 0);
  GL.glVertex3d(0, -1, 0);
  GL.glVertex3d(0, 1, 0);
  GL.glVertex3d(-1, 1, 0);
  GL.glEnd();
  EXPECT_EQ(GL.glGetError(), 0u);
  TBitmap image;
  ASSERT_TRUE(rc->ReadPixels(image));
  ASSERT_EQ(image.Width(), 16);
  ASSERT_EQ(image.Height(), 8);
  EXPECT_EQ(image.Canvas()->Pixels(2, 2), clLime);
  EXPECT_EQ(image.Canvas()->Pixels(13, 5), clRed);
}

// A 3D chart with a point cloud and a surface, drawn through the GL canvas.
struct TGLScene {
  TGLScene() {
    chart.SetBounds(0, 0, 400, 300);
    chart.SetView3D(true);
    chart.Legend()->SetVisible(false);
    chart.SetColor(clWhite);
    TView3DOptions* v = chart.View3DOptions();
    v->SetOrthogonal(false);
    v->SetElevation(340);
    v->SetRotation(330);
    v->SetPerspective(20);
    v->SetZoom(80);
    auto* cloud = new TPoint3DSeries(&chart);
    cloud->SetParentChart(&chart);
    for (int i = 0; i < 60; ++i)
      cloud->AddLabeledPoint3D(std::sin(i * 0.7) * 5 + 5, std::cos(i * 0.3) * 5 + 5, (i % 10) + 1, "", clRed);
    auto* surface = new TSurfaceSeries(&chart);
    surface->SetParentChart(&chart);
    for (int z = 1; z <= 8; ++z)
      for (int x = 1; x <= 8; ++x) surface->AddPoint3D(x, std::sin(x * 0.8) * std::cos(z * 0.6) * 4 + 5, z);
    gl.SetActive(true);
    gl.SetGrafPanel(&chart);
  }
  ~TGLScene() { gl.SetGrafPanel(nullptr); }
  // Plot-area pixels that differ from the clear colour.
  int Render() {
    image.SetSize(400, 300);
    image.Canvas()->Brush()->SetColor(clBlack);
    image.Canvas()->FillRect(Rect(0, 0, 400, 300));
    chart.DrawOnCanvas(image.Canvas(), Rect(0, 0, 400, 300));
    const TRect& r = chart.ChartArea;
    int n = 0;
    for (int y = r.Top + 2; y < r.Bottom - 2; ++y)
      for (int x = r.Left + 2; x < r.Right - 2; ++x) n += image.Canvas()->Pixels(x, y) != clWhite;
    return n;
  }
  TChart chart{nullptr};
  TGrafOpenGL gl{nullptr};
  TBitmap image;
};

TEST(GLMesa, ChartWithCloudAndSurfaceIsDrawnThroughGL) {
  SetOpenGLLibraryNames("", "");
  TGLScene s;
  ASSERT_FALSE(s.gl.FellBack()) << LastGLContextError();
  TGLCanvas* canvas = s.gl.Canvas();
  ASSERT_NE(canvas, nullptr);
  const int drawn = s.Render();
  EXPECT_TRUE(canvas->HasContext());
  // The picture came back from GL: the target's black is covered by the
  // clear colour, and the series cover a good part of the plot.
  EXPECT_EQ(s.image.Canvas()->Pixels(1, 1), clWhite);
  const TRect& r = s.chart.ChartArea;
  EXPECT_GT(drawn, (r.Right - r.Left) * (r.Bottom - r.Top) / 50) << drawn;
  // A second paint reuses the context and draws the same.
  EXPECT_EQ(s.Render(), drawn);
}

TEST(GLMesa, UnprojectPointInvertsTheProjection) {
  TGLScene s;
  ASSERT_NE(s.gl.Canvas(), nullptr);
  s.Render();
  TGLCanvas* canvas = s.gl.Canvas();
  const TPoint3D points[] = {{120, 80, 0}, {200, 150, 40}, {300, 200, 100}, {150, 220, 10}};
  for (const TPoint3D& p : points) {
    const TPoint w = canvas->ProjectToWindow(p.X, p.Y, p.Z);
    int x = w.X, y = w.Y;
    canvas->UnprojectPoint(x, y, p.Z);
    EXPECT_NEAR(x, p.X, 2) << p.X << "," << p.Y << "," << p.Z;
    EXPECT_NEAR(y, p.Y, 2) << p.X << "," << p.Y << "," << p.Z;
  }
}

TEST(GLMesa, SwitchingOffReinstallsTheRasterCanvas) {
  TGLScene s;
  ASSERT_NE(dynamic_cast<TGLCanvas*>(s.chart.PanelCanvas()), nullptr);
  s.gl.SetActive(false);
  EXPECT_NE(dynamic_cast<TGrafCanvas3D*>(s.chart.PanelCanvas()), nullptr);
  EXPECT_GT(s.Render(), 0);
  s.gl.SetActive(true);
  EXPECT_NE(dynamic_cast<TGLCanvas*>(s.chart.PanelCanvas()), nullptr);
}

TEST(GLMesa, WithoutAnyGLLibraryTheChartStillPaints) {
  UnloadOpenGLLibraries();
  SetOpenGLLibraryNames("libzv_no_such_gl.so", "libzv_no_such_glu.so");
  {
    TGLScene s;
    EXPECT_TRUE(s.gl.FellBack());
    EXPECT_NE(dynamic_cast<TGrafCanvas3D*>(s.chart.PanelCanvas()), nullptr);
    int drawn = 0;
    EXPECT_NO_THROW(drawn = s.Render());
    EXPECT_GT(drawn, 0);
  }
  SetOpenGLLibraryNames("", "");
}

TEST(GLMesa, LightColoursSurviveSaveAndLoad) {
  for (TColor color : {TColor(0x808080), TColor(0xC0C0C0), TColor(clRed), TColor(clBlack)}) {
    TGrafOpenGL a(nullptr), b(nullptr);
    a.SetName("GL1");
    a.Light1()->SetColor(color);
    a.Light()->Position()->SetXYZ(1, 2, 3);
    a.SetShininess(0.25);
    const std::string text = ComponentToText(&a);
    TextToComponent(text, &b);
    EXPECT_EQ(b.Light1()->Color(), color) << text;
    EXPECT_TRUE(b.Light()->Visible());
    EXPECT_FALSE(b.Light1()->Visible());
    EXPECT_DOUBLE_EQ(b.Light()->Position()->Y(), 2);
    EXPECT_DOUBLE_EQ(b.Shininess(), 0.25);
  }
}

}  // namespace
