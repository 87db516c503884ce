// The OpenGL switch of a chart on the recording GL: which canvas the panel
// gets, with which settings, and the lights set up at every model view.
#include <gtest/gtest.h>

#include <algorithm>

#include "chart/core/chart.h"
#include "chart/series/grafopengl.h"
#include "glshim.h"
#include "platform/gfx/bitmap.h"

namespace {

struct TShimChart {
  TShimChart() {
    glshim::Install();
    chart.SetBounds(0, 0, 300, 200);
    chart.SetView3D(true);
  }
  ~TShimChart() {
    gl.reset();
    UnloadOpenGLLibraries();
  }
  void Paint() {
    glshim::Log.clear();
    chart.DrawOnCanvas(image.Canvas(), Rect(0, 0, 300, 200));
  }
  TChart chart{nullptr};
  std::unique_ptr<TGrafOpenGL> gl = std::make_unique<TGrafOpenGL>(nullptr);
  TBitmap image{300, 200};
};

TEST(GLComponent, ActiveWithoutPanelWaitsThenInstallsWithItsSettings) {
  TShimChart s;
  s.gl->SetActive(true);
  s.gl->SetFontOutlines(true);
  s.gl->SetDrawStyle(tcsWire);
  s.gl->SetShadeQuality(false);
  s.gl->SetFontExtrusion(3);
  EXPECT_EQ(dynamic_cast<TGLCanvas*>(s.chart.PanelCanvas()), nullptr);
  s.gl->SetGrafPanel(&s.chart);
  EXPECT_EQ(s.chart.GLComponent, s.gl.get());
  TGLCanvas* canvas = s.gl->Canvas();
  ASSERT_NE(canvas, nullptr);
  EXPECT_EQ(canvas->FontMode, 1);
  EXPECT_EQ(canvas->DrawStyle, tcsWire);
  EXPECT_FALSE(canvas->ShadeQuality);
  EXPECT_EQ(canvas->FontExtrusion, 3);
  // The wire style turns every polygon into lines.
  s.Paint();
  EXPECT_TRUE(glshim::Called("glPolygonMode(1032,6913)"));
  // Destroying the switch gives the panel its raster canvas back.
  s.gl.reset();
  EXPECT_EQ(s.chart.GLComponent, nullptr);
  EXPECT_NE(dynamic_cast<TGrafCanvas3D*>(s.chart.PanelCanvas()), nullptr);
}

TEST(GLComponent, LightsAreSetUpAtEveryModelView) {
  TShimChart s;
  s.gl->SetGrafPanel(&s.chart);
  s.gl->SetActive(true);
  s.gl->Light1()->SetVisible(false);
  s.gl->Light2()->SetVisible(true);
  s.gl->Light2()->SetColor(clRed);
  s.gl->Light2()->SetFixedPosition(true);
  s.Paint();
  EXPECT_TRUE(glshim::Called("glLightModelfv(2899,0.08,0.08,0.08,1)"));
  EXPECT_TRUE(glshim::Called("glEnable(16384)"));         // Light
  EXPECT_TRUE(glshim::Called("glDisable(16385)"));        // Light1, invisible
  EXPECT_TRUE(glshim::Called("glLightfv(16386,4608,1,0,0,1)"));  // Light2's colour as its ambient term
  EXPECT_TRUE(glshim::Called("glMateriali(1032,5633,64)"));
  // The fixed light is placed in the flat pixel frame.
  const auto& log = glshim::Log;
  auto at = [&](const std::string& prefix) {
    return std::find_if(log.begin(), log.end(), [&](const std::string& e) { return e.rfind(prefix, 0) == 0; });
  };
  auto light2 = at("glLightfv(16386,4611");
  ASSERT_NE(light2, log.end());
  auto push = std::find(std::make_reverse_iterator(light2), log.rend(), "glPushMatrix()");
  ASSERT_NE(push, log.rend());
  // Ambient 0 with every light invisible: lighting stays off after the set-up.
  s.gl->SetAmbientLight(0);
  s.gl->Light()->SetVisible(false);
  s.gl->Light2()->SetVisible(false);
  s.Paint();
  auto ambient = at("glLightModelfv(2899,0,0,0,1)");
  ASSERT_NE(ambient, log.end());
  EXPECT_NE(std::find(ambient, log.end(), std::string("glDisable(2896)")), log.end());
  for (const char* light : {"glEnable(16384)", "glEnable(16385)", "glEnable(16386)"})
    EXPECT_EQ(std::find(ambient, log.end(), std::string(light)), log.end()) << light;
}

TEST(GLComponent, PanelRemovedClearsTheLink) {
  TShimChart s;
  auto chart = std::make_unique<TChart>(nullptr);
  s.gl->SetActive(true);
  s.gl->SetGrafPanel(chart.get());
  ASSERT_NE(dynamic_cast<TGLCanvas*>(chart->PanelCanvas()), nullptr);
  chart.reset();
  EXPECT_EQ(s.gl->GrafPanel(), nullptr);
  EXPECT_FALSE(s.gl->Active());
}

}  // namespace

namespace {

struct TPaintableChart : TChart {
  TPaintableChart() : TChart(nullptr) {}
  using TChart::Paint;
};

TEST(GLComponent, AFailedGLPaintStaysInThePaintAndTheNextStartsAfresh) {
  glshim::Install();
  {
    TPaintableChart chart;
    chart.SetBounds(0, 0, 200, 100);
    TGrafOpenGL gl(nullptr);
    gl.SetGrafPanel(&chart);
    gl.SetActive(true);
    ASSERT_NE(chart.ControlCanvas(), nullptr);
    glshim::FailAfter = "glViewport";
    glshim::Error = 1281;
    EXPECT_NO_THROW(chart.Paint());
    // Drawn elsewhere the error reaches the caller with its label.
    glshim::Error = 1281;
    TBitmap image(200, 100);
    try {
      chart.DrawOnCanvas(image.Canvas(), Rect(0, 0, 200, 100));
      ADD_FAILURE() << "no error";
    } catch (const EGLCanvasError& e) {
      EXPECT_EQ(e.Message(), "ViewPort 1281");
    }
    // The failed pass left GL state behind: the next one makes a new context.
    glshim::FailAfter.clear();
    glshim::Log.clear();
    chart.DrawOnCanvas(image.Canvas(), Rect(0, 0, 200, 100));
    EXPECT_TRUE(glshim::Called("glColorMaterial"));
    gl.SetGrafPanel(nullptr);
  }
  UnloadOpenGLLibraries();
}

}  // namespace

namespace {

TEST(GLComponent, ChangingTheTextStyleRebuildsTheGlyphs) {
  TShimChart s;
  s.chart.Title()->Text()->SetText("T");
  s.gl->SetGrafPanel(&s.chart);
  s.gl->SetActive(true);
  s.Paint();
  ASSERT_GT(s.gl->Canvas()->FontCount(), 0);
  EXPECT_TRUE(glshim::Called("gluTessBeginPolygon"));  // filled glyphs
  s.gl->SetFontOutlines(true);
  EXPECT_EQ(s.gl->Canvas()->FontCount(), 0);
  s.Paint();
  EXPECT_TRUE(glshim::Called("glNewList"));  // built again, as outlines
  EXPECT_FALSE(glshim::Called("gluTessBeginPolygon"));
}

}  // namespace
