#include "chart/series/grafglcanvas.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <list>

#include "chart/core/grafprocs.h"
#include "platform/gfx/colors.h"
#include "platform/gfx/glcontext.h"

namespace {

constexpr GLenum GL_POINTS = 0, GL_LINES = 1, GL_LINE_LOOP = 2, GL_LINE_STRIP = 3, GL_TRIANGLE_FAN = 6,
                 GL_QUADS = 7, GL_QUAD_STRIP = 8, GL_POLYGON = 9;
constexpr GLenum GL_AUTO_NORMAL = 0x0D80, GL_NORMALIZE = 0x0BA1, GL_DEPTH_TEST = 0x0B71, GL_LESS = 0x0201,
                 GL_LINE_STIPPLE = 0x0B24, GL_COLOR_MATERIAL = 0x0B57, GL_FRONT_AND_BACK = 0x0408,
                 GL_AMBIENT_AND_DIFFUSE = 0x1602, GL_POLYGON_OFFSET_FILL = 0x8037, GL_CULL_FACE = 0x0B44,
                 GL_DITHER = 0x0BD0, GL_PERSPECTIVE_CORRECTION_HINT = 0x0C50, GL_POINT_SMOOTH_HINT = 0x0C51,
                 GL_LINE_SMOOTH_HINT = 0x0C52, GL_POLYGON_SMOOTH_HINT = 0x0C53, GL_NICEST = 0x1102,
                 GL_LIGHT_MODEL_LOCAL_VIEWER = 0x0B51, GL_LIGHT_MODEL_TWO_SIDE = 0x0B52,
                 GL_LIGHT_MODEL_AMBIENT = 0x0B53, GL_AMBIENT = 0x1200, GL_DIFFUSE = 0x1201, GL_SPECULAR = 0x1202,
                 GL_POSITION = 0x1203, GL_SPOT_DIRECTION = 0x1204, GL_SPOT_CUTOFF = 0x1206, GL_SHININESS = 0x1601,
                 GL_MODELVIEW = 0x1700, GL_PROJECTION = 0x1701, GL_COLOR_BUFFER_BIT = 0x4000,
                 GL_DEPTH_BUFFER_BIT = 0x0100, GL_FLAT = 0x1D00, GL_SMOOTH = 0x1D01, GL_LIGHTING = 0x0B50,
                 GL_LIGHT0 = 0x4000, GL_LIGHT1 = 0x4001, GL_LIGHT2 = 0x4002, GL_POINT_SMOOTH = 0x0B10,
                 GL_LINE_SMOOTH = 0x0B20, GL_POLYGON_SMOOTH = 0x0B41, GL_BLEND = 0x0BE2, GL_SRC_ALPHA = 0x0302,
                 GL_ONE_MINUS_SRC_ALPHA = 0x0303, GL_TEXTURE_2D = 0x0DE1, GL_TEXTURE_ENV = 0x2300,
                 GL_TEXTURE_ENV_MODE = 0x2200, GL_MODULATE = 0x2100, GL_UNPACK_ALIGNMENT = 0x0CF5,
                 GL_TEXTURE_MAG_FILTER = 0x2800, GL_TEXTURE_MIN_FILTER = 0x2801, GL_TEXTURE_WRAP_S = 0x2802,
                 GL_TEXTURE_WRAP_T = 0x2803, GL_CLAMP = 0x2900, GL_REPEAT = 0x2901, GL_NEAREST = 0x2600,
                 GL_RGBA = 0x1908, GL_UNSIGNED_BYTE = 0x1401, GL_MAX_TEXTURE_SIZE = 0x0D33,
                 GL_TEXTURE_GEN_S = 0x0C60, GL_TEXTURE_GEN_T = 0x0C61, GL_VIEWPORT = 0x0BA2,
                 GL_MODELVIEW_MATRIX = 0x0BA6, GL_PROJECTION_MATRIX = 0x0BA7, GL_POINT = 0x1B00, GL_LINE = 0x1B01,
                 GL_FILL = 0x1B02, GL_CCW = 0x0901;
constexpr GLenum GLU_SMOOTH = 100000, GLU_FLAT = 100001, GLU_LINE = 100011, GLU_FILL = 100012,
                 GLU_OUTSIDE = 100020, GLU_INSIDE = 100021;

int RoundI(double v) { return static_cast<int>(std::lround(v)); }

using TV3 = std::array<double, 3>;

// ---- Texture cache ----

struct TTextureEntry {
  const TBitmap* Key = nullptr;
  int Width = 0;
  int Height = 0;
  std::vector<uint8_t> Texels;
  GLuint Name = 0;
};
std::vector<TTextureEntry> gTextures;

bool PowerOfTwo(int v) { return v > 0 && (v & (v - 1)) == 0; }

}  // namespace

bool TGLCanvas::TextureRepeat = true;

int CachedTextureCount() { return static_cast<int>(gTextures.size()); }

void ClearTextureCache() {
  for (TTextureEntry& e : gTextures)
    if (e.Name && GL.glDeleteTextures) GL.glDeleteTextures(1, &e.Name);
  gTextures.clear();
}

// ---- Construction and context ----

TGLCanvas::TGLCanvas() = default;

TGLCanvas::~TGLCanvas() { DestroyContext(); }

void TGLCanvas::DestroyContext() {
  // The lists go with the context; the quadric is GLU's own memory (the
  // libraries may be gone already at program end).
  FFonts.clear();
  if (FQuadric && GL.gluDeleteQuadric) GL.gluDeleteQuadric(FQuadric);
  FQuadric = nullptr;
  if (FContext) FContext->DoneCurrent();
  FContext.reset();
  FLive = false;
}

GLUquadric* TGLCanvas::Quadric() {
  if (!FQuadric) FQuadric = GL.gluNewQuadric();
  return FQuadric;
}

void TGLCanvas::SetBufferedDisplay(bool value) {
  FBufferedDisplay = value;
  FAttached = nullptr;
  if (FLive) {
    DeleteFont();
    ClearTextureCache();
  }
}

bool TGLCanvas::CheckGLError() {
  LastError = static_cast<int>(GL.glGetError());
  return LastError == 0;
}

void TGLCanvas::Check(const std::string& label) {
  if (!CheckGLError()) Fail(label);
}

void TGLCanvas::Fail(const std::string& label) {
  if (!FErrorReported) {
    std::fprintf(stderr, "Chart: OpenGL error %d in %s\n", LastError, label.c_str());
    FErrorReported = true;
  }
  throw EGLCanvasError(label);
}

void TGLCanvas::InvalidateView() {
  if (FOptions3D) FOptions3D->InvalidateParent();
}

TRect TGLCanvas::PrepareDrawing(TCanvas* target, TView3DOptions* options, TColor panelColor, bool is3D,
                                const TRect& rect) {
  FPassBounds = rect;
  FWidth = rect.Right - rect.Left;
  FHeight = rect.Bottom - rect.Top;
  if (options) FFontZoomPercent = options->FontZoom();
  FLive = false;
  // A pass that ended in an error may have left matrices pushed: start
  // again on a fresh context.
  if (FPassOpen) FAttached = nullptr;
  FPassOpen = false;
  if (target != FAttached || options != FAttachedOptions || !FContext) {
    FAttached = target;
    FAttachedOptions = options;
    FOptions3D = options;
    DestroyContext();
    FContext = CreateGLRenderingContext(std::max(1, FWidth), std::max(1, FHeight));
    if (!FContext) {
      if (!FReported) {
        std::fprintf(stderr, "Chart: no OpenGL context (%s); the chart is not drawn through OpenGL\n",
                     LastGLContextError().c_str());
        FReported = true;
      }
      FAttached = nullptr;  // try again next pass
      AttachCanvas(target);
      return rect;
    }
    if (!FContext->MakeCurrent()) {
      DestroyContext();
      AttachCanvas(target);
      return rect;
    }
    FLive = true;
    Check("ActivateContext");
    GL.glEnable(GL_AUTO_NORMAL);
    Check("AutoNormal");
    GL.glEnable(GL_NORMALIZE);
    Check("EnableNormalize");
    GL.glEnable(GL_DEPTH_TEST);
    Check("EnableDepth");
    GL.glDepthFunc(GL_LESS);
    Check("DepthFunc");
    GL.glEnable(GL_LINE_STIPPLE);
    Check("EnableLineStipple");
    GL.glEnable(GL_COLOR_MATERIAL);
    Check("EnableColorMaterial");
    GL.glColorMaterial(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE);
    Check("ColorMaterial");
    SetMaterial();
    GL.glEnable(GL_POLYGON_OFFSET_FILL);
    GL.glPolygonOffset(0.5f, 1.0f);
    Check("PolygonOffset");
    GL.glDisable(GL_CULL_FACE);
    GL.glEnable(GL_DITHER);
    Check("Dither");
    GL.glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    GL.glHint(GL_LINE_SMOOTH_HINT, GL_NICEST);
    GL.glHint(GL_POINT_SMOOTH_HINT, GL_NICEST);
    GL.glHint(GL_POLYGON_SMOOTH_HINT, GL_NICEST);
    GL.glLightModelf(GL_LIGHT_MODEL_TWO_SIDE, 0);
    GL.glLightModelf(GL_LIGHT_MODEL_LOCAL_VIEWER, 0);
    Check("LightModel");
  } else {
    FOptions3D = options;
    if (!FContext->Resize(std::max(1, FWidth), std::max(1, FHeight)) || !FContext->MakeCurrent()) {
      AttachCanvas(target);
      return rect;
    }
    FLive = true;
  }
  FPassOpen = FLive;
  FPenX = FPenY = 0;
  FIs3D = is3D;
  AttachCanvas(target);
  ClearColor = panelColor;
  return rect;
}

void TGLCanvas::SetMaterial() {
  const float one[4] = {1, 1, 1, 1};
  GL.glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, one);
  GL.glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, one);
  GL.glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, one);
  if (!CheckGLError()) Fail("Material " + std::to_string(LastError));
}

double TGLCanvas::PerspectiveFactor() const {
  if (FIs3D && FOptions3D && !FOptions3D->Orthogonal()) return std::max(6, FOptions3D->Perspective()) * 0.01;
  return 1.0;
}

double TGLCanvas::ZoomFactor() const {
  const int zoom = FOptions3D ? FOptions3D->Zoom() : 100;
  return 2.0 * std::max(1, zoom) * PerspectiveFactor();
}

void TGLCanvas::SetupProjection(int depth, const TRect& chartRect) {
  FCenterX = (chartRect.Left + chartRect.Right) / 2;
  FCenterY = (chartRect.Top + chartRect.Bottom) / 2;
  FDepth = depth;
  if (!FLive) return;
  GL.glViewport(0, 0, FWidth, FHeight);
  if (!CheckGLError()) Fail("ViewPort " + std::to_string(LastError));
  InitProjection();
  SetPolygonMode(DrawStyle);
  InitModelView();
}

void TGLCanvas::InitProjection() {
  GL.glMatrixMode(GL_PROJECTION);
  Check("Projection");
  GL.glLoadIdentity();
  Check("ProjectionInit");
  const double D = RoundI((FDepth + 1) * 400.0);
  double f = 100.0 / ZoomFactor();
  const double w = FWidth, h = std::max(1, FHeight);
  if (FIs3D && FOptions3D && !FOptions3D->Orthogonal()) {
    GL.glEnable(GL_DEPTH_TEST);
    f = std::max(f, 1.0);
    GL.gluPerspective(std::max(6, FOptions3D->Perspective()) * 0.5, w / h, 10.1, 0.5 * f * D);
    Check("Perspective");
  } else {
    GL.glOrtho(-f * w / 2, f * w / 2, -f * h / 2, f * h / 2, -0.1, 2 * f * D);
    Check("Orthogonal");
    GL.glDisable(GL_DEPTH_TEST);
  }
}

void TGLCanvas::InitModelView() {
  const TColorRef c = ColorToRGB(ClearColor);
  GL.glClearColor(GetRValue(c) / 255.0f, GetGValue(c) / 255.0f, GetBValue(c) / 255.0f, 1);
  Check("ClearColor");
  GL.glDisable(GL_DITHER);
  GL.glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  Check("Clear");
  GL.glEnable(GL_DITHER);
  GL.glMatrixMode(GL_MODELVIEW);
  Check("ModelView");
  GL.glLoadIdentity();
  Check("ModelInit");
  const int hOff = FOptions3D ? FOptions3D->HorizOffset() : 0, vOff = FOptions3D ? FOptions3D->VertOffset() : 0;
  GL.glTranslatef(static_cast<float>(hOff), static_cast<float>(-vOff), static_cast<float>(-80000 / ZoomFactor()));
  GL.glShadeModel(ShadeQuality ? GL_SMOOTH : GL_FLAT);
  Check("ShadeModel");
  if (FIs3D && FOptions3D) {
    GL.glRotatef(static_cast<float>(FOptions3D->Tilt()), 0, 0, 1);
    GL.glRotatef(static_cast<float>(-FOptions3D->ElevationFloat()), 1, 0, 0);
    GL.glRotatef(static_cast<float>(FOptions3D->RotationFloat()), 0, 1, 0);
  }
  GL.glTranslatef(static_cast<float>(-FCenterX + FCenterShift.X), static_cast<float>(FCenterY + FCenterShift.Y),
                  static_cast<float>(FDepth * 0.5 + FCenterShift.Z));
  Check("Rotations");
  GL.gluQuadricNormals(Quadric(), ShadeQuality ? GLU_SMOOTH : GLU_FLAT);
  Check("QuadricNormals");
  // Kept for hit tests outside the pass.
  GL.glGetIntegerv(GL_VIEWPORT, FViewport.data());
  GL.glGetDoublev(GL_MODELVIEW_MATRIX, FModelView.data());
  GL.glGetDoublev(GL_PROJECTION_MATRIX, FProjection.data());
  if (OnInit) OnInit(this);
  Check("Init");
}

void TGLCanvas::DisableRotation() {
  if (!FLive) return;
  GL.glMatrixMode(GL_PROJECTION);
  GL.glPushMatrix();
  GL.glLoadIdentity();
  GL.glOrtho(0, FWidth + 1, 0, FHeight + 1, 0.1, -400);
  Check("Orthogonal");
  GL.glMatrixMode(GL_MODELVIEW);
  GL.glPushMatrix();
  GL.glLoadIdentity();
  if (FIs3D) {
    GL.glDisable(GL_DEPTH_TEST);
    GL.glDisable(GL_LIGHTING);
  }
  FCenterX = (FPassBounds.Left + FPassBounds.Right) / 2;
  FCenterY = (FPassBounds.Top + FPassBounds.Bottom) / 2;
  GL.glTranslatef(0, static_cast<float>(FHeight), 0);
  Check("DisableRotation");
}

void TGLCanvas::EnableRotation() {
  if (!FLive) return;
  GL.glMatrixMode(GL_PROJECTION);
  GL.glPopMatrix();
  GL.glMatrixMode(GL_MODELVIEW);
  GL.glPopMatrix();
  Check("EnableRotation");
  if (FIs3D) {
    GL.glEnable(GL_DEPTH_TEST);
    GL.glEnable(GL_LIGHTING);
  }
}

void TGLCanvas::FinishDrawing(TCanvas* target, TCanvas* rebind, const TRect& rect) {
  if (FLive) {
    GL.glFlush();
    Check("Flush");
    FContext->SwapBuffers();
    TBitmap image;
    if (target && FContext->ReadPixels(image)) target->Draw(rect.Left, rect.Top, &image);
  }
  FLive = false;
  FPassOpen = false;
  AttachCanvas(rebind);
}

TPoint TGLCanvas::ProjectToWindow(double x, double y, double z) {
  if (!GL.gluProject) return {RoundI(x), RoundI(y)};
  double wx = 0, wy = 0, wz = 0;
  GL.gluProject(x, -y, -z, FModelView.data(), FProjection.data(), FViewport.data(), &wx, &wy, &wz);
  return {RoundI(wx), FHeight - RoundI(wy)};
}

void TGLCanvas::UnprojectPoint(int& x, int& y, int z) {
  if (!GL.gluUnProject) return;
  // The ray under the window pixel, cut with the plane GL z = -depth.
  const double wx = x, wy = FHeight - y;
  TV3 a{}, b{};
  if (!GL.gluUnProject(wx, wy, 0, FModelView.data(), FProjection.data(), FViewport.data(), &a[0], &a[1], &a[2]) ||
      !GL.gluUnProject(wx, wy, 1, FModelView.data(), FProjection.data(), FViewport.data(), &b[0], &b[1], &b[2]))
    return;
  const double dz = b[2] - a[2];
  const double t = std::abs(dz) < 1e-12 ? 0 : (-z - a[2]) / dz;
  x = RoundI(a[0] + t * (b[0] - a[0]));
  y = RoundI(-(a[1] + t * (b[1] - a[1])));
}

// ---- Colours, pens, textures ----

void TGLCanvas::SetColor(TColor color) {
  const TColorRef c = ColorToRGB(color);
  const float v[4] = {GetRValue(c) / 255.0f, GetGValue(c) / 255.0f, GetBValue(c) / 255.0f, Alpha};
  GL.glColor4fv(v);
}

bool TGLCanvas::PenVisible() const { return FCanvasPen && FCanvasPen->Style() != psClear; }
bool TGLCanvas::BrushVisible() const { return FCanvasBrush && FCanvasBrush->Style() != bsClear; }
TBitmap* TGLCanvas::BrushBitmap() const { return FCanvasBrush ? FCanvasBrush->Bitmap() : nullptr; }

void TGLCanvas::SetPen(TPen* pen) {
  if (!pen) return;
  if (pen->Style() == psSolid || pen->Style() == psInsideFrame) {
    GL.glDisable(GL_LINE_STIPPLE);
  } else {
    GL.glEnable(GL_LINE_STIPPLE);
    unsigned short pattern = 0x1C47;
    if (pen->Style() == psDash) pattern = 0x00FF;
    else if (pen->Style() == psDot) pattern = 0x5555;
    else if (pen->Style() == psDashDot) pattern = 0x55FF;
    GL.glLineStipple(1, pattern);
  }
  GL.glLineWidth(static_cast<float>(std::max(1, pen->Width())));
  SetColor(pen->Color());
  Check("SetPen");
}

GLuint TGLCanvas::BitmapTexture(TBitmap* bitmap) {
  if (!bitmap) return 0;
  const int w = bitmap->Width(), h = bitmap->Height();
  for (const TTextureEntry& e : gTextures)
    if (e.Key == bitmap && e.Width == w && e.Height == h) return e.Name;
  if (CachedTextureCount() >= MaxCachedTextures) return 0;
  GLint maxSize = 0;
  GL.glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSize);
  if (w > maxSize || h > maxSize || !PowerOfTwo(w) || !PowerOfTwo(h)) return 0;
  TTextureEntry e;
  e.Key = bitmap;
  e.Width = w;
  e.Height = h;
  // The caller's bitmap keeps its format: the texels come from a copy.
  TBitmap copy;
  copy.Assign(bitmap);
  copy.SetPixelFormat(pf32bit);
  e.Texels.resize(static_cast<size_t>(w) * h * 4);
  for (int y = 0; y < h; ++y) {
    const uint8_t* row = copy.ScanLine(y);
    for (int x = 0; x < w; ++x) {
      uint8_t* t = &e.Texels[(static_cast<size_t>(y) * w + x) * 4];
      t[0] = row[4 * x + 2];
      t[1] = row[4 * x + 1];
      t[2] = row[4 * x];
      t[3] = 255;
    }
  }
  GL.glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
  GL.glGenTextures(1, &e.Name);
  Check("GenTextures");
  gTextures.push_back(std::move(e));
  TTextureEntry& entry = gTextures.back();
  GL.glBindTexture(GL_TEXTURE_2D, entry.Name);
  Check("BindTexture");
  GL.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, TextureRepeat ? GL_REPEAT : GL_CLAMP);
  Check("TexParam1");
  GL.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, TextureRepeat ? GL_REPEAT : GL_CLAMP);
  Check("TexParam2");
  GL.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  Check("TexParam3");
  GL.glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  Check("TexParam4");
  GL.glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, w, h, 0, GL_RGBA, GL_UNSIGNED_BYTE, entry.Texels.data());
  Check("TextImage2D");
  return entry.Name;
}

bool TGLCanvas::EnableTexture(TBitmap* bitmap) {
  if (!bitmap) return true;
  const GLuint texture = BitmapTexture(bitmap);
  if (!texture) return false;
  GL.glEnable(GL_TEXTURE_2D);
  GL.glBindTexture(GL_TEXTURE_2D, texture);
  Check("BindTexture");
  GL.gluQuadricTexture(Quadric(), 1);
  Check("gluQuadricTexture");
  FQuadricTextured = true;
  GL.glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
  return true;
}

void TGLCanvas::DisableTexture(TBitmap* bitmap) {
  if (!bitmap) return;
  if (FQuadricTextured) {
    GL.gluQuadricTexture(Quadric(), 0);
    Check("gluQuadricTexture");
    FQuadricTextured = false;
  }
  GL.glDisable(GL_TEXTURE_2D);
}

void TGLCanvas::TexturedQuad(const TRect& r) {
  GL.glBegin(GL_QUADS);
  GL.glNormal3i(0, 0, 1);
  GL.glTexCoord2f(0, 0);
  GL.glVertex2i(r.Left, -r.Top);
  GL.glTexCoord2f(0, 1);
  GL.glVertex2i(r.Left, -r.Bottom);
  GL.glTexCoord2f(1, 1);
  GL.glVertex2i(r.Right, -r.Bottom);
  GL.glTexCoord2f(1, 0);
  GL.glVertex2i(r.Right, -r.Top);
  GL.glEnd();
}

// ---- Flat primitives ----

void TGLCanvas::WritePixel(int x, int y, TColor color) {
  if (!FLive || !PenVisible()) return;
  GL.glBegin(GL_POINTS);
  SetColor(color);
  GL.glVertex2i(x, -y);
  GL.glEnd();
  Check("Pixel");
}

void TGLCanvas::WritePixel3D(int x, int y, int z, TColor color) {
  if (!FLive || !PenVisible()) return;
  GL.glBegin(GL_POINTS);
  SetColor(color);
  GL.glVertex3i(x, -y, -z);
  GL.glEnd();
  Check("Pixel3D");
}

void TGLCanvas::Arc2D(int, int, int, int, int, int, int, int) {
  if (!FLive) return;
  Check("Arc");
}

void TGLCanvas::DrawGraphic(int x, int y, TGraphic* graphic) {
  if (!graphic) return;
  StretchDraw({x, y, x + graphic->Width(), y + graphic->Height()}, graphic);
}

void TGLCanvas::Ellipse(int x1, int y1, int x2, int y2) {
  EllipseWithZ(x1, y1, x2, y2, 0);
  if (FLive) Check("Ellipse");
}

void TGLCanvas::FillRect(const TRect& rect) {
  if (!FLive || !BrushVisible()) return;
  SetColor(FCanvasBrush->Color());
  EnableBrushTexture();
  TexturedQuad(rect);
  DisableBrushTexture();
  if (!CheckGLError()) Fail("FillRect " + std::to_string(LastError));
}

void TGLCanvas::MovePenTo(int x, int y) {
  FPenX = x;
  FPenY = y;
}

void TGLCanvas::LineTo(int x, int y) {
  // A clear pen draws no line, as on the raster canvas.
  if (FLive && PenVisible()) {
    ApplyCanvasPen();
    GL.glBegin(GL_LINES);
    GL.glVertex2i(FPenX, -FPenY);
    GL.glVertex2i(x, -y);
    GL.glEnd();
    Check("LineTo");
  }
  FPenX = x;
  FPenY = y;
}

void TGLCanvas::HorizontalLine(int x0, int x1, int y) {
  MovePenTo(x0, y);
  LineTo(x1, y);
}

void TGLCanvas::VerticalLine(int x, int y0, int y1) {
  MovePenTo(x, y0);
  LineTo(x, y1);
}

void TGLCanvas::LineFromTo(int x0, int y0, int x1, int y1) {
  MovePenTo(x0, y0);
  LineTo(x1, y1);
}

void TGLCanvas::Rectangle(int x0, int y0, int x1, int y1) {
  if (!FLive) return;
  if (BrushVisible()) FillRect({x0, y0, x1, y1});
  if (PenVisible()) {
    ApplyCanvasPen();
    GL.glBegin(GL_LINE_LOOP);
    GL.glVertex2i(x0, -y0);
    GL.glVertex2i(x1, -y0);
    GL.glVertex2i(x1, -y1);
    GL.glVertex2i(x0, -y1);
    GL.glEnd();
  }
  Check("Rectangle");
}

void TGLCanvas::RoundRect(int x0, int y0, int x1, int y1, int, int) {
  Rectangle(x0, y0, x1, y1);
  if (FLive) Check("RoundRect");
}

void TGLCanvas::StretchDraw(const TRect& rect, TGraphic* graphic) {
  if (!FLive || !graphic) return;
  TBitmap* bitmap = dynamic_cast<TBitmap*>(graphic);
  std::unique_ptr<TBitmap> temporary;
  if (!bitmap) {
    temporary = std::make_unique<TBitmap>(graphic->Width(), graphic->Height());
    temporary->Canvas()->Draw(0, 0, graphic);
    bitmap = temporary.get();
  }
  const bool saved = TextureRepeat;
  TextureRepeat = false;
  bool textured = false;
  try {
    textured = EnableTexture(bitmap);
  } catch (...) {
    TextureRepeat = saved;
    throw;
  }
  TextureRepeat = saved;
  if (textured) {
    GL.glDisable(GL_TEXTURE_GEN_S);
    GL.glDisable(GL_TEXTURE_GEN_T);
    GL.glColor3f(1, 1, 1);
    TexturedQuad(rect);
    DisableTexture(bitmap);
  }
  // A temporary copy's texture would outlive its key: drop the entry.
  if (temporary) {
    auto it = std::find_if(gTextures.begin(), gTextures.end(),
                           [&](const TTextureEntry& e) { return e.Key == temporary.get(); });
    if (it != gTextures.end()) {
      GL.glDeleteTextures(1, &it->Name);
      gTextures.erase(it);
    }
  }
  Check("StretchDraw");
}

void TGLCanvas::GradientFill(const TRect& r, TColor startColor, TColor endColor, TGradientDirection direction,
                             int) {
  if (!FLive) return;
  Check("Before GradientFill");
  auto rgba = [this](TColor c) {
    const TColorRef v = ColorToRGB(c);
    return std::array<float, 4>{GetRValue(v) / 255.0f, GetGValue(v) / 255.0f, GetBValue(v) / 255.0f, 1.0f};
  };
  const auto s = rgba(startColor), e = rgba(endColor);
  const std::array<float, 4> m{(s[0] + e[0]) / 2, (s[1] + e[1]) / 2, (s[2] + e[2]) / 2, 1.0f};
  const std::array<float, 4>* corners[4] = {};  // top-left, top-right, bottom-right, bottom-left
  switch (direction) {
    case gdTopBottom: corners[0] = &e, corners[1] = &e, corners[2] = &s, corners[3] = &s; break;
    case gdBottomTop: corners[0] = &s, corners[1] = &s, corners[2] = &e, corners[3] = &e; break;
    case gdLeftRight: corners[0] = &e, corners[1] = &s, corners[2] = &s, corners[3] = &e; break;
    case gdRightLeft: corners[0] = &s, corners[1] = &e, corners[2] = &e, corners[3] = &s; break;
    case gdFromTopLeft:
    case gdDiagonalUp: corners[0] = &e, corners[1] = &m, corners[2] = &s, corners[3] = &m; break;
    case gdFromBottomLeft:
    case gdDiagonalDown: corners[0] = &s, corners[1] = &m, corners[2] = &e, corners[3] = &m; break;
    default: break;
  }
  GL.glBegin(GL_QUADS);
  GL.glNormal3i(0, 0, 1);
  if (corners[0]) {
    const int z = -GradientDepth();
    const TPoint p[4] = {{r.Left, r.Top}, {r.Right, r.Top}, {r.Right, r.Bottom}, {r.Left, r.Bottom}};
    for (int i = 0; i < 4; ++i) {
      std::array<float, 4> c = *corners[i];
      c[3] = Alpha;
      GL.glColor4fv(c.data());
      GL.glVertex3i(p[i].X, -p[i].Y, z);
    }
  }
  GL.glEnd();
  Check("GradientFill");
}

void TGLCanvas::Polyline(std::span<const TPoint> points) {
  if (points.empty()) return;
  if (FLive && PenVisible()) {
    ApplyCanvasPen();
    GL.glBegin(GL_LINE_STRIP);
    for (const TPoint& p : points) GL.glVertex2i(p.X, -p.Y);
    GL.glEnd();
    Check("Polyline");
  }
  FPenX = points.front().X;
  FPenY = points.front().Y;
}

void TGLCanvas::Polygon(std::span<const TPoint> points) {
  PolygonWithZ(points, 0);
  if (FLive) Check("Polygon");
}

void TGLCanvas::EllipseWithZ(int x1, int y1, int x2, int y2, int z) {
  if (!FLive) return;
  const int cx = (x1 + x2) / 2, cy = (y1 + y2) / 2, rx = (x2 - x1) / 2, ry = (y2 - y1) / 2;
  auto rim = [&](int i) {
    const double a = i * M_PI / 16;
    GL.glVertex3d(cx + std::sin(a) * rx, -(cy - std::cos(a) * ry), -z);
  };
  if (PenVisible()) {
    ApplyCanvasPen();
    GL.glBegin(GL_LINE_LOOP);
    for (int i = 0; i < 96; ++i) rim(i);
    GL.glEnd();
  }
  if (BrushVisible()) {
    GL.glBegin(GL_TRIANGLE_FAN);
    SetColor(FCanvasBrush->Color());
    GL.glNormal3i(0, 0, 1);
    GL.glVertex3i(cx, -cy, -z);
    for (int i = 0; i <= 90; ++i) rim(i);
    GL.glEnd();
  }
  Check("EllipseWithZ");
}

void TGLCanvas::Pie2D(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
  if (!FLive) return;
  double start = 0, end = 0;
  PieAnglesFromRadials(x1, y1, x2, y2, x3, y3, x4, y4, start, end);
  if (end <= start) end += 360;  // equal radials: the whole ellipse, as on the raster canvas
  const int cx = RoundI((x1 + x2) * 0.5), cy = RoundI((y1 + y2) * 0.5);
  const double rx = cx - x1, ry = cy - y1;
  // The elliptic sector in the box, as the raster canvas draws it.
  std::vector<TPoint> p;
  p.push_back({cx, cy});
  for (int i = 0; i < 63; ++i) {
    const double a = (start + (end - start) * i / 62.0) * M_PI / 180;
    p.push_back({RoundI(cx + std::cos(a) * rx), RoundI(cy - std::sin(a) * ry)});
  }
  Polygon(p);
  Check("Pie");
}

// ---- Text ----

void TGLCanvas::TextOut(int x, int y, const std::string& text) { TextOut3D(x, y, 0, text); }

void TGLCanvas::RotateLabel(int x, int y, const std::string& text, double angle) {
  RotateLabel3D(x, y, 0, text, angle);
}


// ---- Lights, shininess, antialiasing, blending ----

void TGLCanvas::SetAmbientLight(int percent) {
  if (!FLive) return;
  for (GLenum cap : {GL_LIGHTING, GL_LIGHT0, GL_LIGHT1, GL_LIGHT2}) GL.glDisable(cap);
  Check("DisableLight");
  if (percent > 0) {
    GL.glEnable(GL_LIGHTING);
    Check("EnableLight");
    const float p = percent * 0.01f;
    const float ambient[4] = {p, p, p, 1};
    GL.glLightModelfv(GL_LIGHT_MODEL_AMBIENT, ambient);
    Check("LightModel");
  } else {
    GL.glEnable(GL_LIGHTING);
    const float black[4] = {0, 0, 0, 1};
    GL.glLightModelfv(GL_LIGHT_MODEL_AMBIENT, black);
    Check("LightModel");
    GL.glDisable(GL_LIGHTING);
    Check("DisableLightModel");
  }
}

void TGLCanvas::SetLight(GLenum light, const std::array<float, 4>& color, double spotDegrees, bool useDirection,
                         const std::array<double, 3>& direction, const std::array<double, 3>& position) {
  if (!FLive) return;
  const std::string n = " " + std::to_string(light);
  GL.glEnable(GL_LIGHTING);
  GL.glEnable(light);
  Check("EnableLight" + n);
  GL.glLightfv(light, GL_AMBIENT, color.data());
  Check("LightAmbient" + n);
  const float white[4] = {0.99f, 0.99f, 0.99f, 1};
  GL.glLightfv(light, GL_DIFFUSE, white);
  Check("LightDiffuse" + n);
  GL.glLightfv(light, GL_SPECULAR, white);
  Check("LightSpecular" + n);
  const float pos[4] = {static_cast<float>(position[0]), static_cast<float>(-position[1]),
                        static_cast<float>(-position[2]), 1};
  GL.glLightfv(light, GL_POSITION, pos);
  Check("LightPosition" + n);
  const float dir[4] = {useDirection ? static_cast<float>(direction[0]) : 0.f,
                        useDirection ? static_cast<float>(-direction[1]) : 0.f,
                        useDirection ? static_cast<float>(-direction[2]) : 1.f, 0};
  GL.glLightfv(light, GL_SPOT_DIRECTION, dir);
  Check("LightDirection" + n);
  GL.glLightf(light, GL_SPOT_CUTOFF, static_cast<float>(spotDegrees));
  Check("LightSpot" + n);
}

void TGLCanvas::SetShininess(double value) {
  if (!FLive) return;
  GL.glMateriali(GL_FRONT_AND_BACK, GL_SHININESS, RoundI(value * 128));
  Check("Shininess");
}

void TGLCanvas::SetAntialias(bool on) {
  Antialias = on;
  if (!FLive) return;
  if (on) {
    GL.glEnable(GL_POINT_SMOOTH);
    GL.glEnable(GL_LINE_SMOOTH);
    GL.glDisable(GL_DEPTH_TEST);
    GL.glEnable(GL_BLEND);
    GL.glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  } else {
    GL.glDisable(GL_POLYGON_SMOOTH);
    GL.glDisable(GL_POINT_SMOOTH);
    GL.glDisable(GL_LINE_SMOOTH);
    GL.glDisable(GL_BLEND);
  }
}

std::unique_ptr<TGrafBlend> TGLCanvas::BeginBlending(const TRect&, TGrafTransparency transparency) {
  if (FLive && transparency > 0) {
    GL.glEnable(GL_BLEND);
    GL.glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  }
  Alpha = static_cast<float>((100 - transparency) * 0.01);
  return nullptr;
}

void TGLCanvas::EndBlending(std::unique_ptr<TGrafBlend>) {
  Alpha = 1;
  if (FLive && !Antialias) GL.glDisable(GL_BLEND);
}
