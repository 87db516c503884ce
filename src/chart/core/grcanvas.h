// The chart canvas: every chart part draws through these interfaces, never
// straight onto the platform.
//  - TGrafCanvas: device state, pen/brush/font selection, blending, 2D
//    primitives, text and clipping.
//  - TCanvas3D: adds the 3D projection, the drawing pass and 3D primitives.
//  - TGrafCanvas3D: the implementation on the platform's 2D device, drawing
//    into an off-screen buffer by default; 3D is a projection of flat polygons.
// The virtual operations are declared in their fixed slot order; the OpenGL
// canvas of the series library implements the same interface.
//
// Coordinates are integer pixels, Z a depth in pixels, angles in degrees
// unless stated. Clips nest: each clip operation pushes the previous clip
// region on a stack of the canvas and RemoveClipRegion pops it.
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "chart/core/grafattrs.h"
#include "chart/core/grafprocs.h"
#include "chart/core/view3d.h"
#include "platform/gfx/bitmap.h"
#include "platform/gfx/graphics.h"

struct TPoint3D {
  int X = 0;
  int Y = 0;
  int Z = 0;
  constexpr bool operator==(const TPoint3D&) const = default;
};
inline TPoint3D MakePoint3D(int x, int y, int z) { return {x, y, z}; }

struct TFloatPoint {
  double X = 0;
  double Y = 0;
};

struct TCenterShift {
  double X = 0;
  double Y = 0;
  double Z = 0;
};

using TFourPoints = std::array<TPoint, 4>;

enum TGrafCanvasSurfaceStyle { tcsSolid, tcsWire, tcsDot };

// Hands the surface grid cell (x, z) to a canvas that draws surfaces: its
// four corners and their colours; false skips the cell.
using TGrafSurfaceCellProc =
    std::function<bool(int x, int z, std::array<TPoint3D, 4>& corners, std::array<TColor, 4>& colors)>;

class TGrafCanvas;
// The HTML-subset text renderer installed by the chart text unit;
// TextOutMaybeHtml falls back to TextOut while none is installed.
using THtmlTextOutProc = void (*)(TGrafCanvas* canvas, int x, int y, const std::string& text);
extern THtmlTextOutProc HtmlSubsetTextOutProc;

// ---------------------------------------------------------------------------

class TGrafCanvas : public TObject {
public:
  TGrafCanvas();
  ~TGrafCanvas() override;
  TGrafCanvas(const TGrafCanvas&) = delete;
  TGrafCanvas& operator=(const TGrafCanvas&) = delete;
  std::string ClassName() const override { return "TGrafCanvas"; }

  // ---- Virtual operations, in slot order ----
  virtual TColor GetBackgroundColor() = 0;
  virtual int GetBackgroundMode() = 0;  // TRANSPARENT (1) or OPAQUE (2)
  virtual TCanvas* GetDrawingDC() = 0;
  virtual bool GetMonochrome() = 0;
  virtual TColor ReadPixel(int x, int y) = 0;
  // True for a canvas with its own rendering pipeline: callers then skip
  // device-only paths and set GradientDepth before gradients.
  virtual bool RendersWithoutGdi() = 0;
  virtual unsigned GetTextAlignment() = 0;
  virtual bool GetBufferedDisplay() = 0;
  virtual void SetBackgroundColor(TColor color) = 0;
  virtual void SetBackgroundMode(int mode) = 0;
  virtual void SetMonochrome(bool value) = 0;
  virtual void WritePixel(int x, int y, TColor color) = 0;
  virtual void SetTextAlignment(unsigned flags) = 0;
  virtual void SetBufferedDisplay(bool value) = 0;
  virtual void ApplyPenWithColor(TPen* pen, TColor color);
  // Captures the rectangle; EndBlending mixes it back and frees it.
  virtual std::unique_ptr<TGrafBlend> BeginBlending(const TRect& rect, TGrafTransparency transparency);
  virtual void EndBlending(std::unique_ptr<TGrafBlend> blend);
  virtual void Arc2D(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) = 0;
  // Flat ring sector; angles in radians.
  virtual void Donut(int xCenter, int yCenter, int xRadius, int yRadius, double startAngle, double endAngle,
                     double donutPercent) = 0;
  virtual void DrawGraphic(int x, int y, TGraphic* graphic) = 0;
  virtual void Ellipse(int x1, int y1, int x2, int y2) = 0;
  virtual void FillRect(const TRect& rect) = 0;
  // Bevel frame; the rectangle comes back inset by width.
  virtual void DrawFrame3D(TRect& rect, TColor topLeft, TColor bottomRight, int width);
  virtual void LineTo(int x, int y) = 0;
  virtual void MovePenTo(int x, int y) = 0;
  virtual void Pie2D(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) = 0;
  virtual void Rectangle(int x0, int y0, int x1, int y1) = 0;
  virtual void RoundRect(int x0, int y0, int x1, int y1, int cornerWidth, int cornerHeight) = 0;
  // Nil draws nothing.
  virtual void StretchDraw(const TRect& rect, TGraphic* graphic) = 0;
  // Under the current alignment, with the current font's shadow, outline and gradient.
  virtual void TextOut(int x, int y, const std::string& text) = 0;
  // Text sizes include the current font's shadow offsets.
  virtual int TextWidth(const std::string& text);
  virtual int TextHeight(const std::string& text);
  virtual int WideTextWidth(const std::wstring& text);
  virtual int WideTextHeight(const std::wstring& text);
  virtual void ClipToRect(const TRect& rect) = 0;
  virtual void ClipToRoundRect(const TRect& rect, int cornerSize);
  // cutOut: removes the ellipse from the current clip (xor) without pushing.
  virtual void ClipToEllipse(const TRect& rect, bool cutOut);
  virtual void ClipToPolygon(std::span<const TPoint> points);
  virtual void HorizontalLine(int x0, int x1, int y) = 0;
  virtual void VerticalLine(int x, int y0, int y1) = 0;
  virtual void EraseBackground(const TRect& rect) = 0;
  virtual void GradientFill(const TRect& rect, TColor startColor, TColor endColor, TGradientDirection direction,
                            int balance) = 0;
  virtual void MarkDirty() = 0;
  virtual void LineFromTo(int x0, int y0, int x1, int y1) = 0;
  virtual void Polyline(std::span<const TPoint> points) = 0;
  virtual void Polygon(std::span<const TPoint> points) = 0;
  // Angle in degrees counter-clockwise.
  virtual void RotateLabel(int x, int y, const std::string& text, double angle) = 0;
  // Restores the clip that the last clip operation replaced.
  virtual void RemoveClipRegion() = 0;

  // ---- Non-virtual operations ----
  // Binds a platform canvas and caches its pen, font and brush. A new
  // device starts with an empty clip stack.
  void AttachCanvas(TCanvas* canvas);
  void ResetState();
  void ApplyPen(TPen* pen) { ApplyPenWithColor(pen, pen->Color()); }
  // back = clNone: transparent background mode.
  void ApplyBrush(TBrush* brush, TColor foreColor, TColor backColor = clNone);
  void ApplyFont(TGrafFont* font);
  // ColorDarker(color, amount) as brush colour (solid) or background colour (patterns).
  void ShadeFillColor(TColor color, int amount);
  int FontHeight() { return TextHeight("W"); }
  void RectangleOfRect(const TRect& r) { Rectangle(r.Left, r.Top, r.Right, r.Bottom); }
  void EllipseOfRect(const TRect& r) { Ellipse(r.Left, r.Top, r.Right, r.Bottom); }
  void RoundRectOfRect(const TRect& r, int cornerWidth, int cornerHeight) {
    RoundRect(r.Left, r.Top, r.Right, r.Bottom, cornerWidth, cornerHeight);
  }
  void TextOutMaybeHtml(int x, int y, bool html, const std::string& text);
  TSize WideTextExtent(const std::wstring& text);
  // Replaces the points by their convex hull (pivot last); false for fewer than 3.
  static bool ReduceToConvexHull(TPointArray& points);

  // ---- State ----
  TCanvas* BoundCanvas() const { return FBoundCanvas; }
  TPen* CanvasPen() const { return FCanvasPen; }
  TBrush* CanvasBrush() const { return FCanvasBrush; }
  TFont* CanvasFont() const { return FCanvasFont; }
  bool DrawingToMetafile() const { return FDrawingToMetafile; }
  void SetDrawingToMetafile(bool value) { FDrawingToMetafile = value; }
  TGrafTransparency BlendTransparency() const { return FBlendTransparency; }
  const TRect& PassBounds() const { return FPassBounds; }
  void SetPassBounds(const TRect& r) { FPassBounds = r; }
  TGrafFont* CurrentFont() const { return FCurrentFont; }
  double FontZoomPercent() const { return FFontZoomPercent; }
  void SetFontZoomPercent(double value) { FFontZoomPercent = value; }
  // Number of clips pushed and not yet removed.
  int ClipDepth() const { return static_cast<int>(FClipStack.size()); }

protected:
  // Saves the device's current clip on the stack and intersects it with
  // region (device pixels). Frees region.
  void CaptureClipRegion(HRGN region);
  // Pops the stack into the device clip; an empty stack removes clipping.
  void RestoreClipRegion();
  // Logical to device coordinates of the bound canvas.
  TRect RectToDevice(const TRect& r) const;
  void ClearClipStack() { FClipStack.clear(); }
  // The font a device text call uses now (bound font).
  TSize PlainTextExtent(const std::string& text);

  TCanvas* FBoundCanvas = nullptr;
  TFont* FCanvasFont = nullptr;
  TPen* FCanvasPen = nullptr;
  TBrush* FCanvasBrush = nullptr;
  bool FDrawingToMetafile = false;
  TGrafTransparency FBlendTransparency = 0;
  TRect FPassBounds;
  TGrafFont* FCurrentFont = nullptr;
  double FFontZoomPercent = 100.0;

private:
  std::vector<std::optional<TRegion>> FClipStack;  // nullopt: there was no clip
};

// ---------------------------------------------------------------------------

class TCanvas3D : public TGrafCanvas {
public:
  TCanvas3D();
  std::string ClassName() const override { return "TCanvas3D"; }

  // ---- Virtual operations, in slot order after TGrafCanvas ----
  virtual TColor ReadPixel3D(int x, int y, int z) = 0;
  virtual bool FullRotationSupported() = 0;
  virtual void WritePixel3D(int x, int y, int z, TColor color) = 0;
  virtual void UnprojectPoint(int& x, int& y, int z) = 0;
  virtual TPoint ProjectXYZ(int x, int y, int z) = 0;
  // Starts a pass; returns the rectangle to draw in.
  virtual TRect PrepareDrawing(TCanvas* target, TView3DOptions* options, TColor panelColor, bool is3D,
                               const TRect& rect) = 0;
  virtual void InheritSettings(TCanvas3D* other);
  virtual void SetupProjection(int depth, const TRect& chartRect) = 0;
  // Ends a pass (shows the buffer) and rebinds the canvas.
  virtual void FinishDrawing(TCanvas* target, TCanvas* rebind, const TRect& rect) = 0;
  // False: the buffer is stale and a full pass is needed.
  virtual bool RepaintFromBuffer() = 0;
  virtual void Arrow(bool filled, TPoint from, TPoint to, int headWidth, int headHeight, int z,
                     double arrowPercent) = 0;
  virtual void ClipCube(const TRect& rect, int z0, int z1) = 0;
  virtual void Cone(bool vertical, int left, int top, int right, int bottom, int z0, int z1, bool darkSides,
                    int conePercent) = 0;
  virtual void Cube(int left, int right, int top, int bottom, int z0, int z1, bool darkSides) = 0;
  virtual void Cylinder(bool vertical, int left, int top, int right, int bottom, int z0, int z1,
                        bool darkSides) = 0;
  virtual void DisableRotation() {}
  virtual void EllipseWithZ(int x1, int y1, int x2, int y2, int z) = 0;
  virtual void EnableRotation() {}
  virtual void HorizontalLine3D(int left, int right, int y, int z) = 0;
  virtual void VerticalLine3D(int x, int top, int bottom, int z) = 0;
  virtual void DepthLine3D(int x, int y, int z0, int z1) = 0;
  virtual void SuspendRotation();
  virtual void ResumeRotation();
  virtual void LineAtDepth(int x0, int y0, int x1, int y1, int z) = 0;
  virtual void MoveTo3D(int x, int y, int z) = 0;
  virtual void LineTo3D(int x, int y, int z) = 0;
  // Angles in radians.
  virtual void Pie3D(int xCenter, int yCenter, int xRadius, int yRadius, int z0, int z1, double startAngle,
                     double endAngle, bool darkSides, bool drawSides, int donutPercent,
                     TCustomGrafGradient* gradient) = 0;
  virtual void Plane3D(TPoint p1, TPoint p2, int z0, int z1) = 0;
  virtual void PlaneWithZ(TPoint p1, TPoint p2, TPoint p3, TPoint p4, int z) = 0;
  virtual void PlaneFour3D(const TFourPoints& points, int z0, int z1) = 0;
  virtual void Polygon3D(std::span<const TPoint3D> points) = 0;
  virtual void PolygonWithZ(std::span<const TPoint> points, int z) = 0;
  virtual void PolylineWithZ(std::span<const TPoint> points, int z) = 0;
  virtual void Pyramid(bool vertical, int left, int top, int right, int bottom, int z0, int z1,
                       bool darkSides) = 0;
  virtual void TruncatedPyramid(const TRect& rect, int z0, int z1, int topHalfWidth, int topHalfDepth) = 0;
  virtual void RectangleWithZ(const TRect& rect, int z) = 0;
  virtual void RectangleY(int left, int y, int right, int z0, int z1) = 0;
  virtual void RectangleZ(int x, int top, int bottom, int z0, int z1) = 0;
  virtual void RotateLabel3D(int x, int y, int z, const std::string& text, double angle) = 0;
  virtual void Sphere(int x, int y, int z, double radius) = 0;
  virtual void Surface3D(TGrafCanvasSurfaceStyle style, bool sameBrush, int numX, int numZ,
                         const TGrafSurfaceCellProc& getCell) = 0;
  virtual void TextOut3D(int x, int y, int z, const std::string& text) = 0;
  virtual void Triangle3D(const std::array<TPoint3D, 3>& points, const std::array<TColor, 3>& colors) = 0;
  virtual void TriangleAtDepth(TPoint p1, TPoint p2, TPoint p3, int z) = 0;

  // ---- Non-virtual operations ----
  TRect ProjectRectAtDepth(const TRect& rect, int z);  // both corners projected
  TPoint ProjectPoint3D(const TPoint3D& p) { return ProjectXYZ(p.X, p.Y, p.Z); }
  TPoint ProjectPointAtDepth(TPoint p, int z) { return ProjectXYZ(p.X, p.Y, z); }
  // Left-top, right-top, right-bottom, left-bottom.
  TFourPoints ProjectRectToQuad(const TRect& rect, int z);
  // Exclusive bounds of the four projected corners.
  TRect ProjectedRectBounds(const TRect& rect, int z);
  void CubeOfRect(const TRect& r, int z0, int z1, bool darkSides) {
    Cube(r.Left, r.Right, r.Top, r.Bottom, z0, z1, darkSides);
  }
  void LinePointsAtDepth(TPoint from, TPoint to, int z) { LineAtDepth(from.X, from.Y, to.X, to.Y, z); }
  void MoveToPoint3D(const TPoint3D& p) { MoveTo3D(p.X, p.Y, p.Z); }
  void LineToPoint3D(const TPoint3D& p) { LineTo3D(p.X, p.Y, p.Z); }
  void PlaneWithZOfQuad(const TFourPoints& p, int z) { PlaneWithZ(p[0], p[1], p[2], p[3], z); }
  void DefaultArrow(bool filled, TPoint from, TPoint to, int headWidth, int headHeight, int z) {
    Arrow(filled, from, to, headWidth, headHeight, z, 50);
  }
  // Each pixel of the graphic as a filled quadrilateral at depth z.
  void DrawGraphicAtDepth(const TRect& rect, TGraphic* graphic, int z);

  // ---- State ----
  TView3DOptions* Options3D() const { return FOptions3D; }
  // Forgets the options (the panel re-creating its window); the next pass sets them again.
  void ClearOptions3D() { FOptions3D = nullptr; }
  int RotationSuspendCount() const { return FRotationSuspendCount; }
  bool OrthogonalPass() const { return FOrthogonalPass; }
  // Tools drawing between passes after they changed the view (rotation box).
  void SetOrthogonalPass(bool value) { FOrthogonalPass = value; }
  int CenterX() const { return FCenterX; }
  int CenterY() const { return FCenterY; }
  int CenterZ() const { return FCenterZ; }
  int GradientDepth() const { return FGradientDepth; }
  void SetGradientDepth(int value) { FGradientDepth = value; }
  TCenterShift& CenterShift() { return FCenterShift; }

protected:
  TView3DOptions* FOptions3D = nullptr;
  int FRotationSuspendCount = 0;
  bool FOrthogonalPass = false;
  int FCenterX = 0;
  int FCenterY = 0;
  int FCenterZ = 0;
  int FGradientDepth = 0;
  TCenterShift FCenterShift;
};

// ---------------------------------------------------------------------------

class TGrafCanvas3D : public TCanvas3D {
public:
  TGrafCanvas3D();
  ~TGrafCanvas3D() override;
  std::string ClassName() const override { return "TGrafCanvas3D"; }

  // ---- TGrafCanvas ----
  TColor GetBackgroundColor() override;
  int GetBackgroundMode() override;
  TCanvas* GetDrawingDC() override { return FBoundCanvas; }
  bool GetMonochrome() override { return FMonochromeOn; }
  TColor ReadPixel(int x, int y) override;
  bool RendersWithoutGdi() override { return false; }
  unsigned GetTextAlignment() override;
  bool GetBufferedDisplay() override { return FBufferOn; }
  void SetBackgroundColor(TColor color) override;
  void SetBackgroundMode(int mode) override;
  void SetMonochrome(bool value) override;
  void WritePixel(int x, int y, TColor color) override;
  void SetTextAlignment(unsigned flags) override;
  void SetBufferedDisplay(bool value) override;
  void Arc2D(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) override;
  void Donut(int xCenter, int yCenter, int xRadius, int yRadius, double startAngle, double endAngle,
             double donutPercent) override;
  void DrawGraphic(int x, int y, TGraphic* graphic) override;
  void Ellipse(int x1, int y1, int x2, int y2) override;
  void FillRect(const TRect& rect) override;
  void LineTo(int x, int y) override;
  void MovePenTo(int x, int y) override;
  void Pie2D(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) override;
  void Rectangle(int x0, int y0, int x1, int y1) override;
  void RoundRect(int x0, int y0, int x1, int y1, int cornerWidth, int cornerHeight) override;
  void StretchDraw(const TRect& rect, TGraphic* graphic) override;
  void TextOut(int x, int y, const std::string& text) override;
  void ClipToRect(const TRect& rect) override;
  void HorizontalLine(int x0, int x1, int y) override;
  void VerticalLine(int x, int y0, int y1) override;
  void EraseBackground(const TRect& rect) override { FillRect(rect); }
  void GradientFill(const TRect& rect, TColor startColor, TColor endColor, TGradientDirection direction,
                    int balance) override;
  void MarkDirty() override { FBufferDirty = true; }
  void LineFromTo(int x0, int y0, int x1, int y1) override;
  void Polyline(std::span<const TPoint> points) override;
  void Polygon(std::span<const TPoint> points) override;
  void RotateLabel(int x, int y, const std::string& text, double angle) override;
  void RemoveClipRegion() override { RestoreClipRegion(); }

  // ---- TCanvas3D ----
  TColor ReadPixel3D(int x, int y, int z) override;
  bool FullRotationSupported() override { return false; }
  void WritePixel3D(int x, int y, int z, TColor color) override;
  void UnprojectPoint(int& x, int& y, int z) override;
  TPoint ProjectXYZ(int x, int y, int z) override;
  TRect PrepareDrawing(TCanvas* target, TView3DOptions* options, TColor panelColor, bool is3D,
                       const TRect& rect) override;
  void SetupProjection(int depth, const TRect& chartRect) override;
  void FinishDrawing(TCanvas* target, TCanvas* rebind, const TRect& rect) override;
  bool RepaintFromBuffer() override;
  void Arrow(bool filled, TPoint from, TPoint to, int headWidth, int headHeight, int z,
             double arrowPercent) override;
  void ClipCube(const TRect& rect, int z0, int z1) override;
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
  void PolylineWithZ(std::span<const TPoint> points, int z) override;
  void Pyramid(bool vertical, int left, int top, int right, int bottom, int z0, int z1, bool darkSides) override;
  void TruncatedPyramid(const TRect& rect, int z0, int z1, int topHalfWidth, int topHalfDepth) override;
  void RectangleWithZ(const TRect& rect, int z) override;
  void RectangleY(int left, int y, int right, int z0, int z1) override;
  void RectangleZ(int x, int top, int bottom, int z0, int z1) override;
  void RotateLabel3D(int x, int y, int z, const std::string& text, double angle) override;
  void Sphere(int x, int y, int z, double radius) override;
  void Surface3D(TGrafCanvasSurfaceStyle, bool, int, int, const TGrafSurfaceCellProc&) override {}
  void TextOut3D(int x, int y, int z, const std::string& text) override;
  void Triangle3D(const std::array<TPoint3D, 3>& points, const std::array<TColor, 3>& colors) override;
  void TriangleAtDepth(TPoint p1, TPoint p2, TPoint p3, int z) override;

  // ---- New virtual operations ----
  // Device polygon through the four points of StoredQuad.
  virtual void DrawStoredQuad();
  virtual void FreeBufferBitmap();
  // Copies the whole buffer to the target at (x, y).
  virtual void CopyBufferTo(int x, int y, TCanvas* target);

  // ---- Projection (non-virtual) ----
  void ProjectInPlace(int& x, int& y, int z);
  // Real chart coordinates; leaves the point unchanged when not 3D.
  void ProjectFloatPoint(TPoint& point, int z, double y, double x);
  void ProjectPointInPlace(TPoint& p, int z) { ProjectInPlace(p.X, p.Y, z); }
  void UpdatePerspectiveFactor(const TRect& rect);
  void UpdateRotationTerms();

  // ---- State ----
  TFourPoints StoredQuad;
  TBitmap* BufferBitmap() const { return FBufferBitmap.get(); }
  bool BufferDirty() const { return FBufferDirty; }
  bool KeepBuffer() const { return FKeepBuffer; }
  void SetKeepBuffer(bool value) { FKeepBuffer = value; }
  bool Is3DPass() const { return FIs3DPass; }
  bool TextFollowsZoom() const { return FTextFollowsZoom; }
  double ZoomScale() const { return FZoomScale; }
  int ScreenCenterX() const { return FScreenCenterX; }
  int ScreenCenterY() const { return FScreenCenterY; }
  double ObliqueX() const { return FObliqueX; }
  double ObliqueY() const { return FObliqueY; }
  bool PerspectiveOn() const { return FPerspectiveOn; }
  double PerspectiveScale() const { return FPerspectiveScale; }

private:
  void DiagonalFill(const TRect& r, TColor c0, TColor c1, bool down, int balance);
  void TextEffects(int x, int y, const std::string& text);
  void ShadeIfDark(bool dark, TColor base, int amount);
  TColor BaseColor();
  void ConeRing(bool vertical, int l, int t, int r, int b, int z0, int z1, int percent, std::vector<TPoint>& top,
                std::vector<TPoint>& base);

  int FScreenCenterX = 0;
  int FScreenCenterY = 0;
  long double FSinE = 0, FCosE = 0, FSinR = 0, FCosR = 0, FSinT = 0, FCosT = 0;
  bool FSaved3D = false;
  std::unique_ptr<TBitmap> FBufferBitmap;
  bool FBufferDirty = true;
  bool FMonochromeOn = false;
  bool FPerspectiveOn = false;
  bool FTiltOn = false;
  double FObliqueX = 0, FObliqueY = 0, FPerspectiveScale = 0, FZoomScale = 0;
  bool FTextFollowsZoom = true;
  bool FBufferOn = true;
  bool FIs3DPass = false;
  bool FKeepBuffer = false;
};

// The rectangle a text occupies at (x, y) under the canvas's alignment,
// shadow included.
TRect TextBoundsAt(TGrafCanvas* canvas, int x, int y, const std::string& text);

// Clips on a plain platform canvas: ClipCanvasToRect saves the canvas's clip
// and intersects it with the rectangle; RestoreClipRegion puts back the clip
// the last ClipCanvasToRect of that canvas saved (without one it removes all
// clipping).
void ClipCanvasToRect(TCanvas* canvas, const TRect& rect);
void RestoreClipRegion(TCanvas* canvas);
