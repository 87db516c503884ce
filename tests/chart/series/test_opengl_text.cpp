// Text on the GL canvas: placement by alignment, the glyph-list cache per
// font, extrusion and shadows (on the recording GL), and glyphs that show
// under Mesa.
#include <gtest/gtest.h>

#include <cmath>

#include "chart/core/chart.h"
#include "chart/series/grafglcanvas.h"
#include "chart/series/grafopengl.h"
#include "glshim.h"
#include "platform/gfx/bitmap.h"

namespace {

struct TTextCanvas {
  TTextCanvas() : target(400, 300) {
    glshim::Install();
    canvas.PrepareDrawing(target.Canvas(), &options, clWhite, false, Rect(0, 0, 400, 300));
    canvas.CanvasFont()->SetName("DejaVu Sans");
    canvas.CanvasFont()->SetSize(10);
    glshim::Log.clear();
  }
  ~TTextCanvas() { UnloadOpenGLLibraries(); }
  // The translation that places the text (the first glTranslatef).
  std::string Placement() { return glshim::CallsOf("glTranslatef").at(0); }
  TBitmap target;
  TView3DOptions options{nullptr};
  TGLCanvas canvas;
};

std::string Translate(int x, int y, int z) {
  return "glTranslatef(" + std::to_string(x) + "," + std::to_string(y) + "," + std::to_string(z) + ")";
}

TEST(GLText, AlignmentMovesTheAnchor) {
  TTextCanvas s;
  const std::string text = "Hello";
  const TSize e = s.target.Canvas()->TextExtent(text);
  struct Case {
    unsigned align;
    int dx, dy;
  };
  const Case cases[] = {{0, 0, static_cast<int>(std::lround(0.7 * e.cy))},
                        {6, -static_cast<int>(std::lround(0.55 * e.cx)), static_cast<int>(std::lround(0.7 * e.cy))},
                        {2 + 8, -(e.cx + 5 / 2), 0},
                        {8, 0, 0}};
  for (const Case& c : cases) {
    s.canvas.SetTextAlignment(c.align);
    glshim::Log.clear();
    s.canvas.TextOut(100, 50, text);
    // The glyph lists of the first text come first; the placement follows them.
    const auto translations = glshim::CallsOf("glTranslatef");
    ASSERT_FALSE(translations.empty());
    EXPECT_EQ(translations.back(), Translate(100 + c.dx + 1, -(50 + c.dy) - 2, 2)) << c.align;
    EXPECT_EQ(glshim::CallsOf("glCallLists").at(0), "glCallLists(5,5121,p)");
  }
}

TEST(GLText, OneEntryPerFaceAndStyleLeastRecentlyUsedGivesWay) {
  TTextCanvas s;
  s.canvas.TextOut(0, 0, "a");
  s.canvas.CanvasFont()->SetStyle(TFontStyles{fsUnderline});
  s.canvas.TextOut(0, 0, "a");
  ASSERT_EQ(s.canvas.FontCount(), 2);
  EXPECT_EQ(s.canvas.FontBase(0), 1000u);
  EXPECT_EQ(s.canvas.FontBase(1), 2000u);
  // The same font again builds nothing.
  glshim::Log.clear();
  s.canvas.TextOut(0, 0, "b");
  EXPECT_FALSE(glshim::Called("glNewList"));
  // Ten fonts fill the cache; using the first again makes the second the
  // one that gives way to an eleventh.
  s.canvas.CanvasFont()->SetStyle(TFontStyles{});
  for (int size = 0; s.canvas.FontCount() < TGLCanvas::MaxGLFonts; ++size) {
    s.canvas.CanvasFont()->SetName("Font" + std::to_string(size));
    s.canvas.TextOut(0, 0, "a");
  }
  s.canvas.CanvasFont()->SetName("DejaVu Sans");
  s.canvas.TextOut(0, 0, "a");  // entry 0, used last
  glshim::Log.clear();
  s.canvas.CanvasFont()->SetName("Eleventh");
  s.canvas.TextOut(0, 0, "a");
  EXPECT_EQ(s.canvas.FontCount(), TGLCanvas::MaxGLFonts);
  EXPECT_EQ(glshim::CallsOf("glDeleteLists").at(0), "glDeleteLists(2000,225)");
  EXPECT_EQ(glshim::CallsOf("glListBase").back(), "glListBase(1968)");
  glshim::Log.clear();
  s.canvas.DeleteFont();
  EXPECT_EQ(glshim::CallsOf("glDeleteLists").size(), static_cast<size_t>(TGLCanvas::MaxGLFonts));
  EXPECT_EQ(s.canvas.FontCount(), 0);
}

TEST(GLText, ExtrusionCullsWhileDrawingAndShadowDrawsTwice) {
  for (int extrusion : {0, 5}) {
    TTextCanvas s;
    s.canvas.FontExtrusion = extrusion;
    s.canvas.TextOut(0, 0, "x");
    EXPECT_EQ(glshim::Called("glEnable(2884)"), extrusion > 0) << extrusion;
    EXPECT_EQ(glshim::Called("glFrontFace(2305)"), extrusion > 0) << extrusion;
  }
  for (int shadowSize : {0, 2}) {
    TTextCanvas s;
    TGrafFont font(nullptr);
    font.Shadow()->SetHorizSize(shadowSize);
    font.Shadow()->SetVertSize(shadowSize);
    s.canvas.ApplyFont(&font);
    s.canvas.TextOut(0, 0, "x");
    EXPECT_EQ(glshim::CallsOf("glCallLists").size(), shadowSize ? 2u : 1u);
    if (shadowSize) EXPECT_TRUE(glshim::Called("glTranslatef(0.06,-0.06,-0.1)"));
  }
}

TEST(GLText, TextGoesToLatin1) {
  struct Case {
    const char* utf8;
    const char* latin1;
  };
  const Case cases[] = {{"abc", "abc"},      {"\xC3\xA9t\xC3\xA9", "\xE9t\xE9"}, {"\xE2\x82\xAC 5", "? 5"},
                        {"\xC3", "?"},        {"a\xC3(", "a?("},                {"\xF0\x9F\x98\x80!", "?!"},
                        {"\xC2\xB0", "\xB0"}, {"", ""}};
  for (const Case& c : cases) EXPECT_EQ(Utf8ToLatin1(c.utf8), c.latin1) << c.utf8;
}

TEST(GLText, TitleGlyphsShowUnderMesa) {
  SetOpenGLLibraryNames("", "");
  UnloadOpenGLLibraries();
  TChart chart(nullptr);
  chart.SetBounds(0, 0, 300, 200);
  chart.SetColor(clWhite);
  chart.Legend()->SetVisible(false);
  chart.Title()->Text()->SetText("MMMMMMMM");
  chart.Title()->Font()->SetColor(clBlack);
  chart.Title()->Font()->SetSize(14);
  TGrafOpenGL gl(nullptr);
  gl.SetActive(true);
  gl.SetGrafPanel(&chart);
  ASSERT_NE(gl.Canvas(), nullptr) << "no GL";
  TBitmap image(300, 200);
  chart.DrawOnCanvas(image.Canvas(), Rect(0, 0, 300, 200));
  EXPECT_GT(gl.Canvas()->FontCount(), 0);
  int dark = 0;
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 300; ++x) {
      const TColorRef c = ColorToRGB(image.Canvas()->Pixels(x, y));
      dark += GetRValue(c) < 128 && GetGValue(c) < 128 && GetBValue(c) < 128;
    }
  EXPECT_GT(dark, 40);
  gl.SetGrafPanel(nullptr);
}

}  // namespace
