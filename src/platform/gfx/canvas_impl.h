// The insides of the canvas and of raster pictures, shared by the .cpp files
// of the drawing layer (Qt types; never included by other subsystems).
#pragma once

#include <functional>

#include <QGlyphRun>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRegion>
#include <QTransform>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/gfx/bitmap.h"
#include "platform/gfx/graphics.h"

struct TRegionData {
  QRegion Region;
};

// A region row by row over the rows of a device (inclusive pixel
// coordinates), for loops that test many pixels: QRegion::contains scans the
// rectangles, and the clip of a slanted polygon has one rectangle per row.
// Here a pixel's row is found by index; its outer edges decide, and only a
// row of several spans needs a look at them.
class TRegionRows {
public:
  struct TSpan {
    int Left, Right;
  };
  struct TRow {
    int Left, Right;  // the first span's left, the last one's right (none: 0, -1)
    int First, Last;  // spans [First, Last), left to right, disjoint and not touching
  };

  // The rows 0 .. height - 1 of the region.
  TRegionRows(const QRegion& region, int height);

  int Height() const { return FHeight; }
  bool Empty() const { return FRows.empty(); }
  bool Single() const { return FSingle; }  // one rectangle: the bounds say it all
  int Left() const { return FLeft; }
  int Top() const { return FTop; }
  int Right() const { return FRight; }
  int Bottom() const { return FBottom; }
  const TRow& Row(int y) const { return FRows[static_cast<size_t>(y - FTop)]; }  // Top() <= y <= Bottom()
  // [l, r] lies in one span of the row.
  bool InSpans(const TRow& row, int l, int r) const;
  // Every pixel of [l, r] x [t, b] is in the region (t, b in Top() .. Bottom()).
  bool ContainsRect(int l, int t, int r, int b) const;

private:
  std::vector<TRow> FRows;  // rows FTop .. FBottom
  std::vector<TSpan> FSpans;
  int FHeight = 0;
  int FLeft = 0, FTop = 0, FRight = -1, FBottom = -1;
  bool FSingle = false;
};

// Pixels of a raster picture. Img holds the pixels in the storage format of
// Format; while a canvas paints, indexed and monochrome pictures are held as
// RGB32 and converted back when their rows are asked for.
struct TRasterData {
  QImage Img;
  TPixelFormat Format = pfDevice;
  TCanvas* Canvas = nullptr;       // the bitmap's canvas, when it has one
  std::vector<uint8_t> Packed4;    // pf4bit rows as ScanLine hands them out
  bool Packed4Valid = false;

  static QImage::Format StorageFormat(TPixelFormat f);
  // Before a canvas paints: a format QPainter and the rasteriser can draw on.
  QImage* PaintImage();
  // Before rows are read or written: the storage format again.
  void EnsureStorage();
  void FlushCanvas();
  void Resize(int w, int h);
};

// One recorded state of a metafile canvas.
struct TMetaState {
  TPenHandle Pen;
  int PenMode = 0;
  TColor BrushColor = clWhite;
  TBrushStyle BrushStyle = bsSolid;
  std::shared_ptr<QImage> BrushPattern;
  bool BrushPatternMono = false;
  std::string FontName;
  int FontHeight = 0;
  uint32_t FontStyle = 0;
  TFontCharset FontCharset = DEFAULT_CHARSET;
  int FontOrientation = 0;
  TFontQuality FontQuality = fqDefault;
  TFontPitch FontPitch = fpDefault;
  TColor BkColor = clWhite;
  int BkMode = OPAQUE;
  TColor TextColor = clBlack;
  unsigned TextAlign = 0;
  int Rop2 = R2_COPYPEN;
  int PolyFill = ALTERNATE;
  int CharExtra = 0;
  int ArcDir = AD_COUNTERCLOCKWISE;
  int MapMode = MM_TEXT;
  TPoint WinOrg, VpOrg;
  TSize WinExt{1, 1}, VpExt{1, 1};
  bool HasClip = false;
  QRegion Clip;
  bool operator==(const TMetaState& o) const;
};

enum TMetaOp {
  moLineTo, moRectangle, moEllipse, moRoundRect, moArc, moChord, moPie, moPolyline, moPolygon, moPolyPolygon,
  moPolyBezier, moFillRect, moFrameRect, moFocusRect, moPixel, moText, moImage, moPatBlt, moGradient, moPath,
  moAlphaImage
};

struct TMetaRecord {
  TMetaOp Op;
  std::vector<int> A;         // integer arguments
  std::vector<TPoint> Pts;    // points (logical)
  std::vector<int> Counts;    // polygon counts; for moPath: per figure count, negative = closed
  std::string Text;
  std::shared_ptr<const TMetaState> State;
  std::shared_ptr<QImage> Image;
  TPoint Pos;                 // pen position before the operation
};

struct TMetafileData {
  std::vector<TMetaRecord> Records;
  int Width = 0, Height = 0;
  // A metafile read from a file: its bytes (written back as they were) and
  // their drawing as SVG (emfreader.cpp).
  std::shared_ptr<const std::string> Emf;
  std::shared_ptr<const QByteArray> Svg;
};
// Reads an enhanced metafile's bytes into data (records cleared); raises
// EInvalidGraphic for anything else.
void GfxReadEmf(TStream& stream, TMetafileData& data);
// Draws a metafile that was read into the rectangle of the canvas.
void GfxDrawReadMetafile(const TMetafileData& data, TCanvas* canvas, const TRect& rect);

// A font as the canvases measure it: its metrics, and an id that names it in
// the table of text widths (textcache.cpp). Equal fonts share one face.
struct TFontFace {
  uint64_t Id = 0;
  QFont Font;
  int Ascent = 0, Descent = 0, Leading = 0;
};
std::shared_ptr<const TFontFace> GfxFontFace(const QFont& font);
// The advance of a text in the face's font, measured once and kept.
int GfxTextWidth(const TFontFace& face, const std::string& text);
// Texts longer than this are measured and shaped each time.
constexpr std::size_t GfxMaxKeptTextBytes = 256;
// The glyphs of a text shaped once for a device and kept: drawn at (x, y -
// Ascent) they give the pixels QPainter::drawText gives at (x, y) on that
// device, for a font without lines (underline, strike-out) and a painter
// that only moves (drawText places glyphs otherwise when turning or
// scaling). False when the text is not kept (yet): draw it with drawText.
struct TTextGlyphs {
  QList<QGlyphRun> Runs;
  qreal Ascent = 0;
};
bool GfxTextGlyphs(const TFontFace& face, const std::string& text, QPaintDevice* device, Qt::LayoutDirection direction,
                   TTextGlyphs& glyphs);

struct TSavedDC {
  TPen Pen;
  TBrush Brush;
  TFont Font;
};

struct TCanvasImpl {
  explicit TCanvasImpl(TCanvas* owner);
  ~TCanvasImpl();

  TCanvas* Owner;
  // ---- Target ----
  TCanvasKind Kind = ckNone;
  QImage* ExtImage = nullptr;       // an image owned by someone else
  TRasterData* Bitmap = nullptr;    // or a bitmap's pixels
  QPaintDevice* Device = nullptr;   // printer / pdf
  QPainter* ExtPainter = nullptr;   // the printer's painter
  TMetafileData* Recorder = nullptr;
  int Dpi = ScreenPixelsPerInch;
  int RecWidth = 0, RecHeight = 0;

  std::unique_ptr<QPainter> OwnPainter;
  // Called whenever a caller's image (a window's surface) is reached for
  // drawing or reading: the window then shows its surface again.
  std::function<void()> OnSurfaceUse;

  // ---- Device state ----
  struct TState {
    TColor BkColor = clWhite;
    int BkMode = OPAQUE;
    TColor TextColor = clBlack;
    unsigned TextAlign = 0;
    int Rop2 = R2_COPYPEN;
    int PolyFill = ALTERNATE;
    int CharExtra = 0;
    int ArcDir = AD_COUNTERCLOCKWISE;
    int MapMode = MM_TEXT;
    TPoint WinOrg, VpOrg;
    TSize WinExt{1, 1}, VpExt{1, 1};
    bool HasClip = false;
    QRegion Clip;  // device pixels
    TPoint BrushOrg;
    TPoint Pos;    // logical
    std::optional<TColor> DCBrushColor;
  } S;
  struct TSaved {
    TState State;
    std::unique_ptr<TSavedDC> Objects;
  };
  std::vector<TSaved> SaveStack;
  QTransform Outer;   // extra placement (metafile replay)
  QTransform Xf;      // logical -> device
  bool XfIdentity = true;
  bool XfTranslateOnly = true;

  // ---- Path ----
  bool PathOpen = false;
  bool PathDone = false;
  QPainterPath Path;  // logical

  // ---- Realised objects ----
  bool PenValid = false, BrushValid = false, FontValid = false, PainterStateValid = false;
  struct TRealPen {
    bool Null = true;
    bool Cosmetic = true;   // one device pixel
    bool InsideFrame = false;
    QRgb Color = 0;
    TColorRef Ref = 0;
    std::vector<int> Pattern;  // on/off runs in pixels for cosmetic styled pens
    QPen QtPen;
    double Width = 1;
  } RP;
  struct TRealBrush {
    bool Null = false;
    bool Solid = true;
    TColorRef Ref = 0xFFFFFF;
    QBrush QtBrush;
  } RB;
  QFont QtFont;
  std::shared_ptr<const TFontFace> Face;  // of QtFont
  // What QtFont was made from.
  struct TFontRequest {
    std::string Name;
    int Height = 0;
    TFontStyles Style;
    TFontPitch Pitch = fpDefault;
    TFontQuality Quality = fqDefault;
    int CharExtra = 0;
    bool operator==(const TFontRequest&) const = default;
  } RealizedRequest;
  int PatternPos = 0;  // position in the cosmetic pen's style

  // ---- Helpers ----
  bool IsRaster() const { return Kind == ckRaster; }
  QImage* Image();  // the raster image (prepared for painting), or nil
  QPainter* Painter();  // an open painter on the device, or nil
  void EndPainter();
  void Invalidate() { PainterStateValid = false; }
  void UpdateTransform();
  QPointF Map(double x, double y) const;
  TPoint MapPt(int x, int y) const;
  TPoint UnmapPt(int x, int y) const;
  void RealizePen();
  void RealizeBrush();
  void RealizeFont();
  int TextWidth(const std::string& text);  // in the realised font
  // Under a mapping that scales x and y apart (a chart stretched to a page),
  // text keeps its shape, as the window system draws it: its height follows
  // the vertical scale and its width the same scale, so a logical x unit
  // holds this many of the text's own units (1 otherwise).
  double TextXScale() const;
  void ApplyPainterState(QPainter* p);  // clip + transform
  void SetComposition(QPainter* p, int rop);
  bool RopSkips() const { return S.Rop2 == R2_NOP; }

  // The clip row by row over height rows, made again when S.Clip or the
  // height changes. S.Clip is compared by value with the copy kept here,
  // which shares its data: one pointer test while the clip stays, however it
  // was set or restored.
  const TRegionRows& ClipRows(int height) const;
  mutable QRegion ClipRowsOf;
  mutable std::optional<TRegionRows> ClipRowsCache;

  // Raster primitives in device pixels.
  void PlotPixel(QImage* img, int x, int y, QRgb color, int rop);
  bool PixelVisible(int x, int y, const QImage* img) const;
  void RasterLine(int x0, int y0, int x1, int y1);
  // Cosmetic pen outline along logical points (end point excluded per segment).
  void CosmeticPolyline(const std::vector<TPoint>& logical, bool closed);

  // Drawing through QPainter (logical coordinates).
  void FillShape(const QPainterPath& path);     // brush only
  void StrokeShape(const QPainterPath& path);   // pen only (non-cosmetic or curved)
  // The cap a wide pen leaves for a line of no length at logical (x, y): a
  // disc or square of the pen's width; nothing for flat caps.
  void WideDot(int x, int y);
  void FillAndStroke(const QPainterPath& fill, const QPainterPath& outline, const std::vector<TPoint>* cosmeticPoly,
                     bool closed);
  bool FillSolidRect(int l, int t, int r, int b);
  bool FrameSolidRect(int l, int t, int r, int b);
  bool SolidBox(int l, int t, int r, int b);
  bool CopyRowsDirectly(const QImage& src, const QRect& srcRect, const TRect& d, uint32_t rop, int constAlpha,
                        bool srcAlpha);
  void BlitImage(const QImage& src, const QRect& srcRect, const TRect& destLogical, uint32_t rop,
                 int constAlpha = -1, bool srcAlpha = false);
  void DrawTextRun(int x, int y, unsigned options, const TRect* rect, const std::string& text, const int* dx);
  // The text may be drawn from kept glyphs (GfxTextGlyphs) with this painter.
  bool KeepsGlyphs(const QPainter* p, const std::string& text) const;

  // Recording.
  void Record(TMetaOp op, std::vector<int> a, std::vector<TPoint> pts = {}, std::vector<int> counts = {},
              std::string text = {}, std::shared_ptr<QImage> image = {});
  std::shared_ptr<const TMetaState> LastState;
  std::shared_ptr<const TMetaState> Snapshot();
  void ApplyMetaState(const TMetaState& st);

  void Begin();   // fires OnChanging
  void End();     // fires OnChange
};

// The device pixels a raster canvas may paint (inside the image and the
// clip), for loops over many pixels: set up once, then a few comparisons a
// pixel.
class TPixelClip {
public:
  TPixelClip(const TCanvasImpl& canvas, const QImage* img);
  bool Visible(int x, int y) const {
    if (x < FLeft || x > FRight || y < FTop || y > FBottom) return false;
    if (!FRows) return true;
    const TRegionRows::TRow& row = FRows->Row(y);
    if (x < row.Left || x > row.Right) return false;
    return row.Last - row.First == 1 || FRows->InSpans(row, x, x);
  }
  // The box of the visible pixels (empty: Left() > Right()).
  int Left() const { return FLeft; }
  int Top() const { return FTop; }
  int Right() const { return FRight; }
  int Bottom() const { return FBottom; }
  // Every pixel of [l, r] x [t, b] is visible.
  bool Holds(int l, int t, int r, int b) const {
    return l >= FLeft && r <= FRight && t >= FTop && b <= FBottom && (!FRows || FRows->ContainsRect(l, t, r, b));
  }

private:
  const TRegionRows* FRows = nullptr;  // nil when the bounds decide alone
  int FLeft = 0, FTop = 0, FRight = -1, FBottom = -1;
};

// Binds a canvas to a target (the cpp files of bitmaps, metafiles and printer use these).
void GfxBindRaster(TCanvas* canvas, TRasterData* bitmap);
void GfxBindDevice(TCanvas* canvas, QPaintDevice* device, QPainter* painter, int dpi);
void GfxBindRecorder(TCanvas* canvas, TMetafileData* data, int width, int height);
void GfxUnbind(TCanvas* canvas);
// Replays a recording onto a canvas, placed into rect (logical coordinates of the target).
void GfxReplay(const TMetafileData& data, TCanvas* target, const TRect& rect);
// The device's colour order from a TColor.
inline QRgb GfxRgb(TColor c) {
  TColorRef r = ColorToRGB(c);
  return qRgb(GetRValue(r), GetGValue(r), GetBValue(r));
}
// The device pixels whose centres lie inside a path.
QRegion GfxPathRegion(const QPainterPath& path);
QImage GfxHatchPattern(TBrushStyle style, QRgb fore, QRgb back, bool opaque);
