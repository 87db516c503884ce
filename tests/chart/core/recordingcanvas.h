// A chart canvas that logs every drawing call: the operation, its arguments
// and the pen, brush and font state when the call began. It is the device
// canvas underneath, so calls are also drawn (onto its own surface bitmap
// unless a pass binds another canvas) and calls that an operation makes on
// the canvas itself are logged too, one level deeper (Depth > 0): a Cube
// logs "Cube" at depth 0 and its faces as "DrawStoredQuad" at depth 1.
//
// Queries (Get..., ReadPixel, TextWidth, ProjectXYZ, ...) are not logged
// unless LogQueries is set. Buffered display is off, so a pass draws
// straight onto the target canvas it is given.
#pragma once

#include <climits>
#include <string>
#include <vector>

#include "chart/core/grcanvas.h"

struct TCanvasCall {
  std::string Op;
  std::vector<double> Args;     // numbers in argument order (colours as their value)
  std::vector<TPoint> Points;   // point-list arguments; StoredQuad for DrawStoredQuad
  std::vector<TPoint3D> Points3D;
  std::string Text;             // text argument
  int Depth = 0;                // 0: called from outside the canvas

  // State when the call began.
  TColor PenColor = clBlack;
  int PenWidth = 1;
  TPenStyle PenStyle = psSolid;
  TPenMode PenMode = pmCopy;
  TColor BrushColor = clWhite;
  TBrushStyle BrushStyle = bsSolid;
  bool BrushPattern = false;
  std::string FontName;
  int FontSize = 0;
  TColor FontColor = clBlack;
  TFontStyles FontStyle;
  TColor BackColor = clWhite;
  int BackMode = TRANSPARENT;
  unsigned TextAlign = 0;

  int Arg(size_t i) const { return static_cast<int>(Args.at(i)); }
  // "Rectangle(1,2,3,4)", "Polygon[(0,0),(5,0),(5,5)]", "TextOut(3,4,\"abc\")".
  std::string ToString() const;
  // "pen=$000000,1,psSolid brush=$FFFFFF,bsSolid font=Arial,8,$000000".
  std::string StateString() const;
};

class TRecordingCanvas : public TGrafCanvas3D {
public:
  // The surface is a white bitmap of that size; the canvas is bound to it.
  explicit TRecordingCanvas(int width = 400, int height = 300);
  ~TRecordingCanvas() override;
  std::string ClassName() const override { return "TRecordingCanvas"; }

  std::vector<TCanvasCall> Calls;
  bool LogQueries = false;

  void Clear() { Calls.clear(); }
  // Calls up to a depth (0: only those made from outside).
  std::vector<TCanvasCall> CallsAt(int maxDepth = 0) const;
  std::vector<TCanvasCall> CallsOf(const std::string& op, int maxDepth = INT_MAX) const;
  int Count(const std::string& op, int maxDepth = INT_MAX) const;
  // ToString of the calls up to a depth, one a line.
  std::vector<std::string> Log(int maxDepth = 0) const;
  std::string Dump(int maxDepth = INT_MAX) const;

  TBitmap* Surface() { return &FSurface; }
  // The surface's pixel whatever the clip (-1 outside the surface).
  TColor SurfacePixel(int x, int y);
  // Binds the surface again (after a pass bound something else).
  void BindSurface();
  // A pass over the whole surface with the given view, then the projection
  // for a chart rectangle and depth.
  void StartPass(TView3DOptions* options, bool is3D, const TRect& chartRect, int depth);

  // ---- TGrafCanvas ----
  TColor GetBackgroundColor() override;
  int GetBackgroundMode() override;
  TCanvas* GetDrawingDC() override;
  bool GetMonochrome() override;
  TColor ReadPixel(int x, int y) override;
  bool RendersWithoutGdi() override;
  unsigned GetTextAlignment() override;
  bool GetBufferedDisplay() override;
  void SetBackgroundColor(TColor color) override;
  void SetBackgroundMode(int mode) override;
  void SetMonochrome(bool value) override;
  void WritePixel(int x, int y, TColor color) override;
  void SetTextAlignment(unsigned flags) override;
  void SetBufferedDisplay(bool value) override;
  void ApplyPenWithColor(TPen* pen, TColor color) override;
  std::unique_ptr<TGrafBlend> BeginBlending(const TRect& rect, TGrafTransparency transparency) override;
  void EndBlending(std::unique_ptr<TGrafBlend> blend) override;
  void Arc2D(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) override;
  void Donut(int xCenter, int yCenter, int xRadius, int yRadius, double startAngle, double endAngle,
             double donutPercent) override;
  void DrawGraphic(int x, int y, TGraphic* graphic) override;
  void Ellipse(int x1, int y1, int x2, int y2) override;
  void FillRect(const TRect& rect) override;
  void DrawFrame3D(TRect& rect, TColor topLeft, TColor bottomRight, int width) override;
  void LineTo(int x, int y) override;
  void MovePenTo(int x, int y) override;
  void Pie2D(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) override;
  void Rectangle(int x0, int y0, int x1, int y1) override;
  void RoundRect(int x0, int y0, int x1, int y1, int cornerWidth, int cornerHeight) override;
  void StretchDraw(const TRect& rect, TGraphic* graphic) override;
  void TextOut(int x, int y, const std::string& text) override;
  int TextWidth(const std::string& text) override;
  int TextHeight(const std::string& text) override;
  int WideTextWidth(const std::wstring& text) override;
  int WideTextHeight(const std::wstring& text) override;
  void ClipToRect(const TRect& rect) override;
  void ClipToRoundRect(const TRect& rect, int cornerSize) override;
  void ClipToEllipse(const TRect& rect, bool cutOut) override;
  void ClipToPolygon(std::span<const TPoint> points) override;
  void HorizontalLine(int x0, int x1, int y) override;
  void VerticalLine(int x, int y0, int y1) override;
  void EraseBackground(const TRect& rect) override;
  void GradientFill(const TRect& rect, TColor startColor, TColor endColor, TGradientDirection direction,
                    int balance) override;
  void MarkDirty() override;
  void LineFromTo(int x0, int y0, int x1, int y1) override;
  void Polyline(std::span<const TPoint> points) override;
  void Polygon(std::span<const TPoint> points) override;
  void RotateLabel(int x, int y, const std::string& text, double angle) override;
  void RemoveClipRegion() override;

  // ---- TCanvas3D ----
  TColor ReadPixel3D(int x, int y, int z) override;
  bool FullRotationSupported() override;
  void WritePixel3D(int x, int y, int z, TColor color) override;
  void UnprojectPoint(int& x, int& y, int z) override;
  TPoint ProjectXYZ(int x, int y, int z) override;
  TRect PrepareDrawing(TCanvas* target, TView3DOptions* options, TColor panelColor, bool is3D,
                       const TRect& rect) override;
  void InheritSettings(TCanvas3D* other) override;
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
  void SuspendRotation() override;
  void ResumeRotation() override;
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
  void Surface3D(TGrafCanvasSurfaceStyle style, bool sameBrush, int numX, int numZ,
                 const TGrafSurfaceCellProc& getCell) override;
  void TextOut3D(int x, int y, int z, const std::string& text) override;
  void Triangle3D(const std::array<TPoint3D, 3>& points, const std::array<TColor, 3>& colors) override;
  void TriangleAtDepth(TPoint p1, TPoint p2, TPoint p3, int z) override;

  // ---- TGrafCanvas3D ----
  void DrawStoredQuad() override;
  void FreeBufferBitmap() override;
  void CopyBufferTo(int x, int y, TCanvas* target) override;

private:
  // Logs a call and keeps the nesting depth while it runs.
  class TScope {
  public:
    TScope(TRecordingCanvas* owner, bool query, std::string op, std::vector<double> args = {},
           std::vector<TPoint> points = {}, std::string text = {});
    ~TScope();
    TCanvasCall* Call() { return FIndex >= 0 ? &FOwner->Calls[static_cast<size_t>(FIndex)] : nullptr; }

  private:
    TRecordingCanvas* FOwner;
    long FIndex = -1;
  };
  friend class TScope;
  TBitmap FSurface;
  int FDepth = 0;
};
