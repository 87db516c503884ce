// Text on the GL canvas: glyph display lists from the font's outlines.
#include <cmath>
#include <deque>

#include "chart/core/grafattrs.h"
#include "chart/series/grafglcanvas.h"
#include "platform/gfx/glyphoutline.h"

namespace {

constexpr GLenum GL_LINE_LOOP = 2, GL_QUAD_STRIP = 8, GL_COMPILE = 0x1300, GL_CULL_FACE = 0x0B44, GL_CCW = 0x0901,
                 GL_UNSIGNED_BYTE = 0x1401;
constexpr GLenum GLU_TESS_BEGIN = 100100, GLU_TESS_VERTEX = 100101, GLU_TESS_END = 100102,
                 GLU_TESS_COMBINE = 100105;

int RoundI(double v) { return static_cast<int>(std::lround(v)); }

// Vertices made by the tessellator where contours cross; live for one glyph.
std::deque<std::array<double, 3>>* gCombined = nullptr;

void TessBegin(GLenum mode) { GL.glBegin(mode); }
void TessEnd() { GL.glEnd(); }
void TessVertex(void* data) {
  const double* v = static_cast<const double*>(data);
  GL.glVertex3d(v[0], v[1], v[2]);
}
void TessCombine(const double coords[3], void*[4], const float[4], void** out) {
  gCombined->push_back({coords[0], coords[1], coords[2]});
  *out = gCombined->back().data();
}

// The glyph's face at depth z, filled through the tessellator.
void TessellatedFace(GLUtesselator* tess, const TGlyphOutline& glyph, double z, int normalZ) {
  std::deque<std::array<double, 3>> points, combined;
  gCombined = &combined;
  GL.glNormal3i(0, 0, normalZ);
  GL.gluTessNormal(tess, 0, 0, normalZ);
  GL.gluTessBeginPolygon(tess, nullptr);
  for (const auto& contour : glyph.Contours) {
    GL.gluTessBeginContour(tess);
    for (const auto& p : contour) {
      points.push_back({p.X, p.Y, z});
      GL.gluTessVertex(tess, points.back().data(), points.back().data());
    }
    GL.gluTessEndContour(tess);
  }
  GL.gluTessEndPolygon(tess);
  gCombined = nullptr;
}

}  // namespace

std::string Utf8ToLatin1(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size();) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c < 0x80) {
      out += static_cast<char>(c);
      ++i;
      continue;
    }
    int extra = c >= 0xF0 && c < 0xF8 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : -1;
    unsigned code = extra == 3 ? c & 0x07 : extra == 2 ? c & 0x0F : c & 0x1F;
    bool ok = extra > 0;
    for (int k = 1; ok && k <= extra; ++k) {
      if (i + k >= text.size()) {
        ok = false;
        break;
      }
      const unsigned char d = static_cast<unsigned char>(text[i + k]);
      if ((d & 0xC0) != 0x80) ok = false;
      else code = (code << 6) | (d & 0x3F);
    }
    out += ok && code < 256 ? static_cast<char>(code) : '?';
    i += ok ? static_cast<size_t>(extra) + 1 : 1;
  }
  return out;
}

int TGLCanvas::FontWeight() const {
  return FCanvasFont && FCanvasFont->Style().Contains(fsBold) ? 700 : 400;
}

int TGLCanvas::FontIndex() {
  const std::string name = FCanvasFont ? FCanvasFont->Name() : std::string();
  const TFontStyles style = FCanvasFont ? FCanvasFont->Style() : TFontStyles();
  const int weight = FontWeight();
  for (size_t i = 0; i < FFonts.size(); ++i)
    if (FFonts[i].Name == name && FFonts[i].Weight == weight && FFonts[i].Style == style) {
      FFonts[i].LastUse = ++FFontClock;
      return static_cast<int>(i);
    }
  int index = static_cast<int>(FFonts.size());
  if (index < MaxGLFonts) {
    FFonts.push_back({});
    FFonts.back().Base = static_cast<GLuint>((index + 1) * 1000);
  } else {
    // Full: the least recently used font gives its lists up.
    index = 0;
    for (int i = 1; i < MaxGLFonts; ++i)
      if (FFonts[i].LastUse < FFonts[index].LastUse) index = i;
    if (GL.glIsList(FFonts[index].Base)) GL.glDeleteLists(FFonts[index].Base, GlyphListCount);
  }
  TFontEntry& e = FFonts[static_cast<size_t>(index)];
  e.Name = name;
  e.Weight = weight;
  e.Style = style;
  e.LastUse = ++FFontClock;
  try {
    BuildFontLists(index);
  } catch (...) {
    // Not counted: the next text tries the font again.
    if (GL.glIsList(e.Base)) GL.glDeleteLists(e.Base, GlyphListCount);
    FFonts.erase(FFonts.begin() + index);
    throw;
  }
  return index;
}

void TGLCanvas::BuildFontLists(int index) {
  const GLuint base = FFonts.at(static_cast<size_t>(index)).Base;
  TFont font;
  if (FCanvasFont) font.Assign(FCanvasFont);
  GLUtesselator* tess = FontMode == 1 ? nullptr : GL.gluNewTess();
  if (tess) {
    GL.gluTessCallback(tess, GLU_TESS_BEGIN, reinterpret_cast<GLUcallback>(&TessBegin));
    GL.gluTessCallback(tess, GLU_TESS_VERTEX, reinterpret_cast<GLUcallback>(&TessVertex));
    GL.gluTessCallback(tess, GLU_TESS_END, reinterpret_cast<GLUcallback>(&TessEnd));
    GL.gluTessCallback(tess, GLU_TESS_COMBINE, reinterpret_cast<GLUcallback>(&TessCombine));
  }
  const double depth = std::max(0, FontExtrusion);
  for (int code = 32; code < 256; ++code) {
    const TGlyphOutline glyph = GlyphOutline(font, static_cast<unsigned char>(code));
    GL.glNewList(base + static_cast<GLuint>(code - 32), GL_COMPILE);
    if (FontMode == 1 || !tess) {
      for (double z : depth > 0 ? std::vector<double>{0, -depth} : std::vector<double>{0}) {
        for (const auto& contour : glyph.Contours) {
          GL.glBegin(GL_LINE_LOOP);
          for (const auto& p : contour) GL.glVertex3d(p.X, p.Y, z);
          GL.glEnd();
        }
      }
    } else {
      TessellatedFace(tess, glyph, 0, 1);
      if (depth > 0) {
        TessellatedFace(tess, glyph, -depth, -1);
        for (const auto& contour : glyph.Contours) {
          GL.glBegin(GL_QUAD_STRIP);
          for (size_t k = 0; k <= contour.size(); ++k) {
            const auto& p = contour[k % contour.size()];
            const auto& q = contour[(k + 1) % contour.size()];
            GL.glNormal3f(static_cast<float>(q.Y - p.Y), static_cast<float>(p.X - q.X), 0);
            GL.glVertex3d(p.X, p.Y, 0);
            GL.glVertex3d(p.X, p.Y, -depth);
          }
          GL.glEnd();
        }
      }
    }
    GL.glTranslated(glyph.Advance, 0, 0);
    GL.glEndList();
  }
  if (tess) GL.gluDeleteTess(tess);
  if (!CheckGLError()) Fail("UseFontOutlines: " + std::to_string(LastError));
}

void TGLCanvas::DeleteFont() {
  if (FLive)
    for (const TFontEntry& e : FFonts)
      if (GL.glIsList(e.Base)) {
        GL.glDeleteLists(e.Base, GlyphListCount);
        if (!CheckGLError()) Fail("DeleteFont " + std::to_string(LastError));
      }
  FFonts.clear();
}

void TGLCanvas::TextOut3D(int x, int y, int z, const std::string& text) {
  if (!FLive || !FBoundCanvas) return;
  const std::string bytes = Utf8ToLatin1(text);
  if (bytes.empty()) return;
  const int index = FontIndex();
  const TSize extent = FBoundCanvas->TextExtent(text);
  const int length = static_cast<int>(bytes.size());
  unsigned align = FTextAlign;
  if (align >= 8) align -= 8;
  else y += RoundI(0.7 * extent.cy);
  if (align == 6) x -= RoundI(0.55 * extent.cx);
  else if (align == 2) x -= extent.cx + length / 2;
  if (FontExtrusion > 0) GL.glEnable(GL_CULL_FACE);
  const double size = FCanvasFont ? FCanvasFont->Size() : 8;
  GL.glPushMatrix();
  GL.glTranslatef(static_cast<float>(x + 1), static_cast<float>(-y - 2), static_cast<float>(2 - z));
  GL.glScalef(static_cast<float>(1.57 * size), static_cast<float>(1.75 * size), 1);
  GL.glNormal3i(0, 0, -1);
  GL.glListBase(FontBase(index) - 32);
  if (FCurrentFont && FCurrentFont->HasShadow()) {
    TGrafShadow* shadow = FCurrentFont->Shadow();
    if (shadow->HorizSize() != 0 || shadow->VertSize() != 0) {
      GL.glPushMatrix();
      GL.glTranslatef(static_cast<float>(0.03 * shadow->HorizSize()), static_cast<float>(-0.03 * shadow->VertSize()),
                      -0.1f);
      SetColor(shadow->Color());
      GL.glCallLists(length, GL_UNSIGNED_BYTE, bytes.data());
      GL.glPopMatrix();
    }
  }
  SetColor(FCanvasFont ? FCanvasFont->Color() : clBlack);
  GL.glCallLists(length, GL_UNSIGNED_BYTE, bytes.data());
  GL.glPopMatrix();
  Check("TextOut3D");
  if (FontExtrusion > 0) {
    GL.glDisable(GL_CULL_FACE);
    GL.glFrontFace(GL_CCW);
    Check("FrontFace");
  }
}

void TGLCanvas::RotateLabel3D(int x, int y, int z, const std::string& text, double angle) {
  if (!FLive) return;
  GL.glPushMatrix();
  GL.glTranslatef(static_cast<float>(x), static_cast<float>(-y), 0);
  GL.glRotatef(static_cast<float>(angle), 0, 0, 1);
  GL.glTranslatef(static_cast<float>(-x), static_cast<float>(y), static_cast<float>(-z));
  TextOut(x, y, text);
  GL.glPopMatrix();
  Check("RotateLabel3D");
}
