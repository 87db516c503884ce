// The chart canvas drawn through OpenGL: the whole paint cycle of a panel
// (walls, axes, series, text) becomes GL primitives, lit and depth-tested,
// and the panel's 3D options become the GL projection and model view.
//
// Chart pixels have x to the right, y down and z into the screen; the chart
// point (x, y, z) is the GL vertex (x, -y, -z), flat drawing the vertex
// (x, -y) at depth 0. The picture is drawn off-screen and copied onto the
// target canvas when the pass finishes. No GL call is made without a
// current context: a pass that could not get one draws nothing.
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "chart/core/grcanvas.h"
#include "chart/series/opengl2.h"
#include "platform/rtl/exceptions.h"

#include "platform/gfx/glcontext.h"

// A GL call group reported an error; the message names the group.
class EGLCanvasError : public Exception {
public:
  using Exception::Exception;
};

// Textures of bitmaps, shared by every GL canvas: at most 20, keyed by the
// bitmap's identity and size; each holds its own texel copy.
constexpr int MaxCachedTextures = 20;
int CachedTextureCount();
// Frees the texel copies and deletes the texture names (while the context
// that made them is current).
void ClearTextureCache();

class TGLCanvas : public TCanvas3D {
public:
  TGLCanvas();
  ~TGLCanvas() override;
  std::string ClassName() const override { return "TGLCanvas"; }

  // ---- TGrafCanvas ----
  TColor GetBackgroundColor() override { return 0xFFFFFF; }
  int GetBackgroundMode() override { return FBackgroundMode; }
  TCanvas* GetDrawingDC() override { return FBoundCanvas; }
  bool GetMonochrome() override { return false; }
  TColor ReadPixel(int, int) override { return 0xFFFFFF; }
  bool RendersWithoutGdi() override { return true; }
  unsigned GetTextAlignment() override { return FTextAlign; }
  bool GetBufferedDisplay() override { return FBufferedDisplay; }
  void SetBackgroundColor(TColor color) override { ClearColor = color; }
  void SetBackgroundMode(int mode) override { FBackgroundMode = mode; }
  void SetMonochrome(bool) override {}
  void WritePixel(int x, int y, TColor color) override;
  void SetTextAlignment(unsigned flags) override { FTextAlign = flags; }
  void SetBufferedDisplay(bool value) override;
  std::unique_ptr<TGrafBlend> BeginBlending(const TRect& rect, TGrafTransparency transparency) override;
  void EndBlending(std::unique_ptr<TGrafBlend> blend) override;
  void Arc2D(int, int, int, int, int, int, int, int) override;
  void Donut(int xCenter, int yCenter, int xRadius, int yRadius, double startAngle, double endAngle,
             double donutPercent) override;
  void DrawGraphic(int x, int y, TGraphic* graphic) override;
  void Ellipse(int x1, int y1, int x2, int y2) override;
  void FillRect(const TRect& rect) override;
  void LineTo(int x, int y) override;
  void MovePenTo(int x, int y) override;
  void Pie2D(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) override;
  void Rectangle(int x0, int y0, int x1, int y1) override;
  void RoundRect(int x0, int y0, int x1, int y1, int, int) override;
  void StretchDraw(const TRect& rect, TGraphic* graphic) override;
  void TextOut(int x, int y, const std::string& text) override;
  void ClipToRect(const TRect&) override {}
  void HorizontalLine(int x0, int x1, int y) override;
  void VerticalLine(int x, int y0, int y1) override;
  void EraseBackground(const TRect&) override {}
  void GradientFill(const TRect& rect, TColor startColor, TColor endColor, TGradientDirection direction,
                    int balance) override;
  void MarkDirty() override {}
  void LineFromTo(int x0, int y0, int x1, int y1) override;
  void Polyline(std::span<const TPoint> points) override;
  void Polygon(std::span<const TPoint> points) override;
  void RotateLabel(int x, int y, const std::string& text, double angle) override;
  void RemoveClipRegion() override {}

  // ---- TCanvas3D ----
  TColor ReadPixel3D(int, int, int) override { return 0xFFFFFF; }
  bool FullRotationSupported() override { return true; }
  void WritePixel3D(int x, int y, int z, TColor color) override;
  // Window pixel -> chart point at depth z (the inverse of the GL projection).
  void UnprojectPoint(int& x, int& y, int z) override;
  TPoint ProjectXYZ(int x, int y, int) override { return {x, FHeight - y}; }
  TRect PrepareDrawing(TCanvas* target, TView3DOptions* options, TColor panelColor, bool is3D,
                       const TRect& rect) override;
  void SetupProjection(int depth, const TRect& chartRect) override;
  void FinishDrawing(TCanvas* target, TCanvas* rebind, const TRect& rect) override;
  bool RepaintFromBuffer() override { return false; }
  void Arrow(bool filled, TPoint from, TPoint to, int headWidth, int headHeight, int z,
             double arrowPercent) override;
  void ClipCube(const TRect&, int, int) override {}
  void Cone(bool vertical, int left, int top, int right, int bottom, int z0, int z1, bool darkSides,
            int conePercent) override;
  void Cube(int left, int right, int top, int bottom, int z0, int z1, bool darkSides) override;
  void Cylinder(bool vertical, int left, int top, int right, int bottom, int z0, int z1, bool darkSides) override;
  void DisableRotation() override;
  void EllipseWithZ(int x1, int y1, int x2, int y2, int z) override;
  void EnableRotation() override;
  void HorizontalLine3D(int left, int right, int y, int z) override;
  void VerticalLine3D(int x, int top, int bottom, int z) override;
  void DepthLine3D(int x, int y, int z0, int z1) override;
  void LineAtDepth(int x0, int y0, int x1, int y1, int z) override;
  void MoveTo3D(int x, int y, int z) override;
  void LineTo3D(int x, int y, int z) override;
  void Pie3D(int xCenter, int yCenter, int xRadius, int yRadius, int z0, int z1, double startAngle, double endAngle,
             bool darkSides, bool drawSides, int donutPercent, TCustomGrafGradient* gradient) override;
  void Plane3D(TPoint p1, TPoint p2, int z0, int z1) override;
  void PlaneWithZ(TPoint p1, TPoint p2, TPoint p3, TPoint p4, int z) override;
  void PlaneFour3D(const TFourPoints& points, int z0, int z1) override;
  void Polygon3D(std::span<const TPoint3D> points) override;
  void PolygonWithZ(std::span<const TPoint> points, int z) override;
  // An open line strip at depth z.
  void PolylineWithZ(std::span<const TPoint> points, int z) override;
  void Pyramid(bool vertical, int left, int top, int right, int bottom, int z0, int z1, bool darkSides) override;
  void TruncatedPyramid(const TRect& rect, int z0, int z1, int truncX, int truncZ) override;
  void RectangleWithZ(const TRect& rect, int z) override;
  void RectangleY(int left, int top, int right, int z0, int z1) override;
  void RectangleZ(int x, int top, int bottom, int z0, int z1) override;
  void RotateLabel3D(int x, int y, int z, const std::string& text, double angle) override;
  void Sphere(int x, int y, int z, double radius) override;
  void Surface3D(TGrafCanvasSurfaceStyle style, bool sameBrush, int numX, int numZ,
                 const TGrafSurfaceCellProc& getCell) override;
  void TextOut3D(int x, int y, int z, const std::string& text) override;
  void Triangle3D(const std::array<TPoint3D, 3>& points, const std::array<TColor, 3>& colors) override;
  void TriangleAtDepth(TPoint p1, TPoint p2, TPoint p3, int z) override;

  // ---- GL canvas ----
  void SetColor(TColor color);
  void SetPen(TPen* pen);
  void ApplyCanvasPen() { SetPen(FCanvasPen); }
  bool EnableTexture(TBitmap* bitmap);
  void DisableTexture(TBitmap* bitmap);
  void EnableBrushTexture() { EnableTexture(BrushBitmap()); }
  void DisableBrushTexture() { DisableTexture(BrushBitmap()); }
  // The texture of the bitmap (made on first use), 0 when it cannot be one:
  // not a power of two, larger than the GL allows, or the cache full.
  GLuint BitmapTexture(TBitmap* bitmap);
  void TexturedQuad(const TRect& r);
  void SetPolygonMode(TGrafCanvasSurfaceStyle style);
  void DrawConeOrCylinder(bool vertical, int left, int top, int right, int bottom, int z0, int z1, int conePercent);
  void SphereAt(double x, double y, double z, double radius);
  void SetMaterial();
  // Reads glGetError into LastError; true when there was none.
  bool CheckGLError();
  // Raises EGLCanvasError with the label when the last GL group failed
  // (the first failure of a canvas is also reported on the error output).
  void Check(const std::string& label);
  [[noreturn]] void Fail(const std::string& label);
  TPoint ProjectToWindow(double x, double y, double z);
  void InvalidateView();
  double ZoomFactor() const;
  double PerspectiveFactor() const;

  // Text: one display list per Latin-1 code, built from the font's glyph
  // outlines once per font and context; at most MaxGLFonts fonts, the least
  // recently used giving way.
  static constexpr int MaxGLFonts = 10;
  static constexpr int GlyphListCount = 225;  // codes 32..256
  int FontIndex();
  int FontWeight() const;
  void BuildFontLists(int index);
  void DeleteFont();
  int FontCount() const { return static_cast<int>(FFonts.size()); }
  GLuint FontBase(int index) const { return FFonts.at(static_cast<size_t>(index)).Base; }

  // Lights, shininess, antialiasing.
  void SetAmbientLight(int percent);
  void SetLight(GLenum light, const std::array<float, 4>& color, double spotDegrees, bool useDirection,
                const std::array<double, 3>& direction, const std::array<double, 3>& position);
  void SetShininess(double value);
  void SetAntialias(bool on);

  // Whether a context is made and current for this pass (GL may be called).
  bool Live() const { return FLive; }
  bool HasContext() const { return FContext != nullptr; }
  void DestroyContext();
  // Projection and model view as the last SetupProjection left them.
  const std::array<double, 16>& ModelViewMatrix() const { return FModelView; }
  const std::array<double, 16>& ProjectionMatrix() const { return FProjection; }
  GLUquadric* Quadric();

  TColor ClearColor = 0;
  TGrafCanvasSurfaceStyle DrawStyle = tcsSolid;
  int FontExtrusion = 0;
  int FontMode = 0;  // 0 outline polygons, 1 outline lines
  bool ShadeQuality = false;
  bool Antialias = false;
  float Alpha = 1.0f;
  int LastError = 0;
  // Fired at the end of every model-view set-up (lights are placed here).
  std::function<void(TGLCanvas*)> OnInit;
  // The texture-repeat switch (GL_REPEAT or GL_CLAMP wrapping).
  static bool TextureRepeat;

private:
  TBitmap* BrushBitmap() const;
  bool PenVisible() const;
  bool BrushVisible() const;
  void Vertex(double x, double y, double z) { GL.glVertex3d(x, -y, -z); }
  void InitProjection();
  void InitModelView();
  void Fill(const TPoint& normal3, int);
  void OutlineLoop(std::span<const std::array<double, 3>> points);
  void FillThenOutline(GLenum mode, std::span<const std::array<double, 3>> points, std::array<float, 3> normal,
                       bool texture, bool outlineFirst);
  void SurfaceStrips(bool sameBrush, int numX, int numZ, const TGrafSurfaceCellProc& getCell);

  std::unique_ptr<TGLContext> FContext;
  TCanvas* FAttached = nullptr;
  TView3DOptions* FAttachedOptions = nullptr;
  bool FLive = false;
  bool FIs3D = false;
  int FBackgroundMode = 1;
  unsigned FTextAlign = 0;
  bool FBufferedDisplay = true;
  int FDepth = 0;
  int FWidth = 0;
  int FHeight = 0;
  int FPenX = 0, FPenY = 0, FPenZ = 0;
  GLUquadric* FQuadric = nullptr;
  bool FQuadricTextured = false;
  std::array<double, 16> FModelView{};
  std::array<double, 16> FProjection{};
  std::array<int, 4> FViewport{};
  bool FReported = false;
  bool FErrorReported = false;
  bool FPassOpen = false;
  struct TFontEntry {
    GLuint Base = 0;
    std::string Name;
    int Weight = 400;
    TFontStyles Style;
    uint64_t LastUse = 0;
  };
  std::vector<TFontEntry> FFonts;
  uint64_t FFontClock = 0;
};

// UTF-8 text as Latin-1 bytes; characters beyond Latin-1 (and broken
// sequences) become "?".
std::string Utf8ToLatin1(const std::string& text);
