// The drawing layer: pens, brushes, fonts, regions and the canvas.
//
// TCanvas keeps the graphics device's semantics on every surface it draws on
// (bitmaps, the retained surfaces of controls, printer pages, metafiles):
//  - rectangles, ellipses, round rectangles, pies and chords leave their right
//    and bottom edges unpainted; with a clear pen their fill is one pixel
//    smaller in each direction;
//  - a line leaves its end point unpainted (so a one-pixel line of no length
//    draws nothing, while a wide pen leaves the dot of its round or square
//    caps); polygons fill in alternate mode unless SetPolyFillMode(WINDING);
//  - one-pixel pens are cosmetic: their dots and dashes are counted in device
//    pixels whatever the mapping mode; the background colour fills the gaps
//    of styled lines and of hatches while the background mode is OPAQUE;
//  - the pen mode (or SetROP2) combines pen and brush with the surface
//    bit by bit (not-xor drawn twice restores the surface);
//  - regions, clip regions and bit-block copies are in device pixels, all
//    other coordinates are logical (mapping modes).
// Nothing is antialiased unless a font asks for it (fqAntialiased).
//
// Device-level calls keep the platform's names as methods:
// Canvas->SetTextAlign(TA_BASELINE | TA_CENTER), Canvas->SelectClipRgn(rgn), ...
// Related headers: geometry.h (TPoint/TRect), colors.h (TColor),
// bitmap.h (TGraphic, TBitmap, TPicture), metafile.h, printer.h.
#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "platform/gfx/colors.h"
#include "platform/gfx/geometry.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/lists.h"

class TGraphic;
class TBitmap;
class TCanvas;
struct TCanvasImpl;

ZV_DECLARE_EXCEPTION(EInvalidGraphic, Exception)
ZV_DECLARE_EXCEPTION(EInvalidGraphicOperation, Exception)
ZV_DECLARE_EXCEPTION(EOutOfResources, Exception)

// ---- Device constants (the platform's numbering) ----------------------------

// Pen styles, end caps, joins and types of ExtCreatePen.
constexpr unsigned PS_SOLID = 0, PS_DASH = 1, PS_DOT = 2, PS_DASHDOT = 3, PS_DASHDOTDOT = 4, PS_NULL = 5,
                   PS_INSIDEFRAME = 6, PS_USERSTYLE = 7, PS_ALTERNATE = 8, PS_STYLE_MASK = 0x0F,
                   PS_ENDCAP_ROUND = 0x000, PS_ENDCAP_SQUARE = 0x100, PS_ENDCAP_FLAT = 0x200,
                   PS_ENDCAP_MASK = 0xF00, PS_JOIN_ROUND = 0x0000, PS_JOIN_BEVEL = 0x1000,
                   PS_JOIN_MITER = 0x2000, PS_JOIN_MASK = 0xF000, PS_COSMETIC = 0x00000,
                   PS_GEOMETRIC = 0x10000, PS_TYPE_MASK = 0xF0000;
// Brush styles and hatches of a logical brush.
constexpr unsigned BS_SOLID = 0, BS_NULL = 1, BS_HOLLOW = 1, BS_HATCHED = 2;
constexpr unsigned HS_HORIZONTAL = 0, HS_VERTICAL = 1, HS_FDIAGONAL = 2, HS_BDIAGONAL = 3, HS_CROSS = 4,
                   HS_DIAGCROSS = 5;
// Binary raster operations (SetROP2).
constexpr int R2_BLACK = 1, R2_NOTMERGEPEN = 2, R2_MASKNOTPEN = 3, R2_NOTCOPYPEN = 4, R2_MASKPENNOT = 5,
              R2_NOT = 6, R2_XORPEN = 7, R2_NOTMASKPEN = 8, R2_MASKPEN = 9, R2_NOTXORPEN = 10, R2_NOP = 11,
              R2_MERGENOTPEN = 12, R2_COPYPEN = 13, R2_MERGEPENNOT = 14, R2_MERGEPEN = 15, R2_WHITE = 16;
// Ternary raster operations (BitBlt, StretchBlt, PatBlt, CopyMode).
constexpr uint32_t SRCCOPY = 0x00CC0020, SRCPAINT = 0x00EE0086, SRCAND = 0x008800C6, SRCINVERT = 0x00660046,
                   SRCERASE = 0x00440328, NOTSRCCOPY = 0x00330008, NOTSRCERASE = 0x001100A6,
                   MERGECOPY = 0x00C000CA, MERGEPAINT = 0x00BB0226, PATCOPY = 0x00F00021, PATPAINT = 0x00FB0A09,
                   PATINVERT = 0x005A0049, DSTINVERT = 0x00550009, BLACKNESS = 0x00000042,
                   WHITENESS = 0x00FF0062;
// Background modes, polygon fill modes.
constexpr int TRANSPARENT = 1, OPAQUE = 2;
constexpr int ALTERNATE = 1, WINDING = 2;
// Text alignment (SetTextAlign).
constexpr unsigned TA_NOUPDATECP = 0, TA_UPDATECP = 1, TA_LEFT = 0, TA_RIGHT = 2, TA_CENTER = 6, TA_TOP = 0,
                   TA_BOTTOM = 8, TA_BASELINE = 24, TA_RTLREADING = 256;
// ExtTextOut options.
constexpr unsigned ETO_OPAQUE = 2, ETO_CLIPPED = 4;
// DrawText flags.
constexpr unsigned DT_TOP = 0x0, DT_LEFT = 0x0, DT_CENTER = 0x1, DT_RIGHT = 0x2, DT_VCENTER = 0x4,
                   DT_BOTTOM = 0x8, DT_WORDBREAK = 0x10, DT_SINGLELINE = 0x20, DT_EXPANDTABS = 0x40,
                   DT_TABSTOP = 0x80, DT_NOCLIP = 0x100, DT_EXTERNALLEADING = 0x200, DT_CALCRECT = 0x400,
                   DT_NOPREFIX = 0x800, DT_INTERNAL = 0x1000, DT_EDITCONTROL = 0x2000,
                   DT_PATH_ELLIPSIS = 0x4000, DT_END_ELLIPSIS = 0x8000, DT_MODIFYSTRING = 0x10000,
                   DT_RTLREADING = 0x20000, DT_WORD_ELLIPSIS = 0x40000,
                   // "&" markers are removed and their underline not drawn. DrawText
                   // never draws the underline itself; callers that show accelerators
                   // (menus) draw it when this flag is absent.
                   DT_HIDEPREFIX = 0x100000;
// Mapping modes.
constexpr int MM_TEXT = 1, MM_LOMETRIC = 2, MM_HIMETRIC = 3, MM_LOENGLISH = 4, MM_HIENGLISH = 5, MM_TWIPS = 6,
              MM_ISOTROPIC = 7, MM_ANISOTROPIC = 8;
// Region combination modes and region kinds.
constexpr int RGN_AND = 1, RGN_OR = 2, RGN_XOR = 3, RGN_DIFF = 4, RGN_COPY = 5;
constexpr int RGN_ERROR = 0, NULLREGION = 1, SIMPLEREGION = 2, COMPLEXREGION = 3;
// Arc direction.
constexpr int AD_COUNTERCLOCKWISE = 1, AD_CLOCKWISE = 2;
// Device capabilities (GetDeviceCaps).
constexpr int HORZSIZE = 4, VERTSIZE = 6, HORZRES = 8, VERTRES = 10, BITSPIXEL = 12, PLANES = 14,
              NUMCOLORS = 24, TECHNOLOGY = 2, LOGPIXELSX = 88, LOGPIXELSY = 90, PHYSICALWIDTH = 110,
              PHYSICALHEIGHT = 111, PHYSICALOFFSETX = 112, PHYSICALOFFSETY = 113;
constexpr int DT_RASDISPLAY = 1, DT_RASPRINTER = 2, DT_METAFILE = 5;
// Gradient fill modes.
constexpr unsigned GRADIENT_FILL_RECT_H = 0, GRADIENT_FILL_RECT_V = 1;
// AlphaBlend.
constexpr uint8_t AC_SRC_OVER = 0, AC_SRC_ALPHA = 1;
// Character sets.
constexpr uint8_t ANSI_CHARSET = 0, DEFAULT_CHARSET = 1, SYMBOL_CHARSET = 2, OEM_CHARSET = 255;
// ReadPixel outside the surface or the clip.
constexpr TColor CLR_INVALID = static_cast<TColor>(0xFFFFFFFF);

// ---- Small set template for the class library's set types ------------------

template <typename E>
class TGfxSet {
public:
  constexpr TGfxSet() = default;
  constexpr TGfxSet(std::initializer_list<E> items) {
    for (E e : items) FBits |= 1u << static_cast<unsigned>(e);
  }
  constexpr bool Contains(E e) const { return (FBits >> static_cast<unsigned>(e)) & 1u; }
  constexpr TGfxSet& Include(E e) { FBits |= 1u << static_cast<unsigned>(e); return *this; }
  constexpr TGfxSet& Exclude(E e) { FBits &= ~(1u << static_cast<unsigned>(e)); return *this; }
  constexpr bool Empty() const { return FBits == 0; }
  constexpr uint32_t Bits() const { return FBits; }
  static constexpr TGfxSet FromBits(uint32_t bits) { TGfxSet s; s.FBits = bits; return s; }
  constexpr bool operator==(const TGfxSet&) const = default;

private:
  uint32_t FBits = 0;
};

// ---- Graphics objects -------------------------------------------------------

// Base of pens, brushes and fonts: tells its owner about every real change.
class TGraphicsObject : public TObject {
public:
  std::string ClassName() const override { return "TGraphicsObject"; }
  // Copies another object of the same class; raises EConvertError
  // "Cannot assign a <source class> to a <this class>" for any other.
  virtual void Assign(const TGraphicsObject* source);
  TNotifyEvent OnChange;

protected:
  void Changed();
  [[noreturn]] void AssignError(const TGraphicsObject* source) const;
};

enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame, psUserStyle, psAlternate };
enum TPenMode {
  pmBlack, pmWhite, pmNop, pmNot, pmCopy, pmNotCopy, pmMergePenNot, pmMaskPenNot, pmMergeNotPen, pmMaskNotPen,
  pmMerge, pmNotMerge, pmMask, pmNotMask, pmXor, pmNotXor
};
// The R2_* code of a pen mode.
int PenModeToROP2(TPenMode mode);

// A logical brush as ExtCreatePen takes it.
struct TLogBrush {
  unsigned lbStyle = BS_SOLID;
  TColor lbColor = clBlack;
  unsigned lbHatch = 0;
};

// A pen as the device knows it; Canvas->Pen()->SetHandle(ExtCreatePen(...))
// selects an extended pen (geometric width with caps and joins, or a
// user-styled or alternate-pixel cosmetic pen).
struct TPenHandle {
  unsigned Style = PS_SOLID;  // PS_ style | end cap | join | type
  int Width = 1;
  TColor Color = clBlack;
  std::vector<uint32_t> UserStyle;  // dash and gap lengths of PS_USERSTYLE
  bool operator==(const TPenHandle&) const = default;
};
TPenHandle CreatePen(unsigned style, int width, TColor color);
TPenHandle ExtCreatePen(unsigned style, int width, const TLogBrush& brush, std::vector<uint32_t> userStyle = {});

class TPen : public TGraphicsObject {
public:
  TPen() = default;
  std::string ClassName() const override { return "TPen"; }
  void Assign(const TGraphicsObject* source) override;

  TColor Color() const { return FColor; }
  void SetColor(TColor value);
  // Width in logical units; 0 and 1 are the one-pixel cosmetic pen.
  int Width() const { return FWidth; }
  void SetWidth(int value);
  TPenStyle Style() const { return FStyle; }
  void SetStyle(TPenStyle value);
  TPenMode Mode() const { return FMode; }
  void SetMode(TPenMode value);

  // The device pen: setting it takes over style, width and colour and the
  // extended attributes (type, cap, join, user style).
  TPenHandle Handle() const;
  void SetHandle(const TPenHandle& handle);
  bool Geometric() const { return FGeometric; }
  unsigned EndCap() const { return FEndCap; }  // PS_ENDCAP_*
  unsigned Join() const { return FJoin; }      // PS_JOIN_*
  const std::vector<uint32_t>& UserStyle() const { return FUserStyle; }

private:
  TColor FColor = clBlack;
  int FWidth = 1;
  TPenStyle FStyle = psSolid;
  TPenMode FMode = pmCopy;
  bool FGeometric = false;
  unsigned FEndCap = PS_ENDCAP_ROUND;
  unsigned FJoin = PS_JOIN_ROUND;
  std::vector<uint32_t> FUserStyle;
};

enum TBrushStyle { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross };

class TBrush : public TGraphicsObject {
public:
  TBrush();
  ~TBrush() override;
  std::string ClassName() const override { return "TBrush"; }
  void Assign(const TGraphicsObject* source) override;

  TColor Color() const { return FColor; }
  // Setting a colour makes a clear brush solid, as the class library does.
  void SetColor(TColor value);
  TBrushStyle Style() const { return FStyle; }
  void SetStyle(TBrushStyle value);
  // Pattern bitmap (8 x 8 is the usual size). The brush keeps its own copy;
  // nil removes it. A one-bit bitmap paints its 0 bits in the device text
  // colour and its 1 bits in the background colour; other bitmaps paint
  // their own pixels.
  TBitmap* Bitmap() const { return FBitmap.get(); }
  void SetBitmap(const TBitmap* value);

private:
  TColor FColor = clWhite;
  TBrushStyle FStyle = bsSolid;
  std::unique_ptr<TBitmap> FBitmap;
};

enum TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = TGfxSet<TFontStyle>;
enum TFontPitch { fpDefault, fpVariable, fpFixed };
enum TFontQuality { fqDefault, fqDraft, fqProof, fqNonAntialiased, fqAntialiased, fqClearType, fqClearTypeNatural };
using TFontCharset = uint8_t;

// The pixels per inch that screen fonts and bitmaps use: fixed, so text
// metrics are the same on every machine.
constexpr int ScreenPixelsPerInch = 96;

class TFont : public TGraphicsObject {
public:
  TFont();
  std::string ClassName() const override { return "TFont"; }
  // Copies name, height, style, colour, charset, pitch, orientation and
  // quality; between different pixels per inch the size in points is kept.
  void Assign(const TGraphicsObject* source) override;

  const std::string& Name() const { return FName; }
  void SetName(const std::string& value);
  // Size in points: -MulDiv(Height, 72, PixelsPerInch) (a positive height,
  // the cell height, converts with the same rule).
  int Size() const;
  void SetSize(int value);
  // Height in pixels: negative = character height, positive = cell height.
  int Height() const { return FHeight; }
  void SetHeight(int value);
  // Changing the resolution keeps the size in points and recomputes the height.
  int PixelsPerInch() const { return FPixelsPerInch; }
  void SetPixelsPerInch(int value);
  TFontStyles Style() const { return FStyle; }
  void SetStyle(TFontStyles value);
  TColor Color() const { return FColor; }
  void SetColor(TColor value);
  TFontCharset Charset() const { return FCharset; }
  void SetCharset(TFontCharset value);
  TFontPitch Pitch() const { return FPitch; }
  void SetPitch(TFontPitch value);
  // Escapement of the text line, tenths of a degree counter-clockwise.
  int Orientation() const { return FOrientation; }
  void SetOrientation(int value);
  TFontQuality Quality() const { return FQuality; }
  void SetQuality(TFontQuality value);

private:
  std::string FName = "MS Sans Serif";
  int FHeight = -11;
  int FPixelsPerInch = ScreenPixelsPerInch;
  TFontStyles FStyle;
  TColor FColor = clWindowText;
  TFontCharset FCharset = DEFAULT_CHARSET;
  TFontPitch FPitch = fpDefault;
  int FOrientation = 0;
  TFontQuality FQuality = fqDefault;
};

// The family a font name is drawn with (metric-compatible substitutes:
// Arial, MS Sans Serif, Tahoma ... -> Liberation Sans; Times New Roman ->
// Liberation Serif; Courier New -> Liberation Mono; unknown -> DejaVu Sans).
std::string MapFontFamily(const std::string& name);

// ---- Regions ---------------------------------------------------------------

struct TRegionData;

// A set of device pixels. HRGN handles are TRegion objects made by the
// Create*Rgn functions and freed with DeleteObject.
class TRegion {
public:
  TRegion();
  TRegion(const TRegion& other);
  TRegion& operator=(const TRegion& other);
  ~TRegion();

  bool IsEmpty() const;
  TRect BoundingBox() const;
  bool Contains(int x, int y) const;
  std::vector<TRect> Rects() const;  // disjoint rectangles covering the region
  int Kind() const;                  // NULLREGION, SIMPLEREGION or COMPLEXREGION
  bool operator==(const TRegion& other) const;

  TRegionData* Data() const { return FData.get(); }

private:
  std::unique_ptr<TRegionData> FData;
};
using HRGN = TRegion*;

HRGN CreateRectRgn(int left, int top, int right, int bottom);
HRGN CreateRectRgnIndirect(const TRect& rect);
HRGN CreateEllipticRgn(int left, int top, int right, int bottom);
HRGN CreateEllipticRgnIndirect(const TRect& rect);
HRGN CreateRoundRectRgn(int left, int top, int right, int bottom, int widthEllipse, int heightEllipse);
HRGN CreatePolygonRgn(const TPoint* points, int count, int fillMode);
HRGN CreatePolygonRgn(const std::vector<TPoint>& points, int fillMode);
// dest := src1 <mode> src2 (src2 unused by RGN_COPY); returns the kind of the result.
int CombineRgn(HRGN dest, HRGN src1, HRGN src2, int mode);
int OffsetRgn(HRGN rgn, int dx, int dy);
int GetRgnBox(HRGN rgn, TRect& box);
bool PtInRegion(HRGN rgn, int x, int y);
bool RectInRegion(HRGN rgn, const TRect& rect);
bool EqualRgn(HRGN a, HRGN b);
bool SetRectRgn(HRGN rgn, int left, int top, int right, int bottom);
void DeleteObject(HRGN rgn);

// ---- Canvas ----------------------------------------------------------------

struct TTextMetric {
  int tmHeight = 0, tmAscent = 0, tmDescent = 0, tmInternalLeading = 0, tmExternalLeading = 0;
  int tmAveCharWidth = 0, tmMaxCharWidth = 0, tmWeight = 400;
  bool tmItalic = false, tmUnderlined = false, tmStruckOut = false;
  uint8_t tmCharSet = DEFAULT_CHARSET;
};

struct TTriVertex {
  int x = 0, y = 0;
  uint16_t Red = 0, Green = 0, Blue = 0, Alpha = 0;  // 16-bit channels, as the device takes them
};
struct TGradientRect {
  unsigned UpperLeft = 0, LowerRight = 1;  // indexes into the vertex array
};

struct TBlendFunction {
  uint8_t BlendOp = AC_SRC_OVER;
  uint8_t BlendFlags = 0;
  uint8_t SourceConstantAlpha = 255;
  uint8_t AlphaFormat = 0;  // AC_SRC_ALPHA: use the source's per-pixel alpha too
};

using TCopyMode = uint32_t;
constexpr TCopyMode cmBlackness = BLACKNESS, cmDstInvert = DSTINVERT, cmMergeCopy = MERGECOPY,
                    cmMergePaint = MERGEPAINT, cmNotSrcCopy = NOTSRCCOPY, cmNotSrcErase = NOTSRCERASE,
                    cmPatCopy = PATCOPY, cmPatInvert = PATINVERT, cmPatPaint = PATPAINT, cmSrcAnd = SRCAND,
                    cmSrcCopy = SRCCOPY, cmSrcErase = SRCERASE, cmSrcInvert = SRCINVERT, cmSrcPaint = SRCPAINT,
                    cmWhiteness = WHITENESS;

enum TCanvasKind { ckNone, ckRaster, ckPrinter, ckMetafile };

class TCanvas : public TObject {
public:
  // A canvas bound to nothing: drawing does nothing until the owner binds a
  // surface (TBitmap, TMetafileCanvas, the printer and the window layer do).
  TCanvas();
  ~TCanvas() override;
  TCanvas(const TCanvas&) = delete;
  TCanvas& operator=(const TCanvas&) = delete;
  std::string ClassName() const override { return "TCanvas"; }

  TCanvasKind Kind() const;
  bool HandleAllocated() const { return Kind() != ckNone; }
  // Size of the surface in device pixels.
  int DeviceWidth() const;
  int DeviceHeight() const;
  int GetDeviceCaps(int index) const;

  // ---- The class library's canvas ----
  TPen* Pen() const { return FPen.get(); }
  TBrush* Brush() const { return FBrush.get(); }
  TFont* Font() const { return FFont.get(); }
  void SetPen(const TPen* value) { FPen->Assign(value); }
  void SetBrush(const TBrush* value) { FBrush->Assign(value); }
  void SetFont(const TFont* value) { FFont->Assign(value); }
  TPoint PenPos() const;
  void SetPenPos(TPoint p) { MoveTo(p.X, p.Y); }
  TCopyMode CopyMode() const { return FCopyMode; }
  void SetCopyMode(TCopyMode value) { FCopyMode = value; }
  // The clip box in logical coordinates (the whole surface without a clip).
  TRect ClipRect() const;
  void Lock() {}
  void Unlock() {}
  void Refresh();  // reselects pen, brush and font into the device
  TNotifyEvent OnChange;
  TNotifyEvent OnChanging;

  void MoveTo(int x, int y);
  void LineTo(int x, int y);
  void Rectangle(int x1, int y1, int x2, int y2);
  void Rectangle(const TRect& r) { Rectangle(r.Left, r.Top, r.Right, r.Bottom); }
  void Ellipse(int x1, int y1, int x2, int y2);
  void Ellipse(const TRect& r) { Ellipse(r.Left, r.Top, r.Right, r.Bottom); }
  void RoundRect(int x1, int y1, int x2, int y2, int cornerWidth, int cornerHeight);
  // Bounding box, then the radial start and end points, counter-clockwise
  // (unless SetArcDirection(AD_CLOCKWISE)).
  void Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
  void ArcTo(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
  void AngleArc(int x, int y, unsigned radius, float startAngle, float sweepAngle);
  void Chord(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
  void Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4);
  void Polyline(const std::vector<TPoint>& points);
  void Polyline(const TPoint* points, int count);
  void PolylineTo(const TPoint* points, int count);
  void Polygon(const std::vector<TPoint>& points);
  void Polygon(const TPoint* points, int count);
  void PolyPolygon(const TPoint* points, const int* counts, int polygons);
  void PolyBezier(const std::vector<TPoint>& points);  // 1 + 3n points
  void PolyBezier(const TPoint* points, int count);
  void PolyBezierTo(const TPoint* points, int count);  // 3n points from the pen position
  void FillRect(const TRect& r);
  void FrameRect(const TRect& r);  // one-pixel frame in the brush
  void DrawFocusRect(const TRect& r);  // dotted frame, xor: drawing it twice removes it
  TColor Pixels(int x, int y) const { return ReadPixel(x, y); }
  void SetPixels(int x, int y, TColor color) { WritePixel(x, y, color); }
  TColor ReadPixel(int x, int y) const;        // GetPixel: CLR_INVALID outside the surface or clip
  TColor WritePixel(int x, int y, TColor color);  // SetPixel: returns the colour set
  void TextOut(int x, int y, const std::string& text);
  void TextRect(const TRect& r, int x, int y, const std::string& text);
  TSize TextExtent(const std::string& text);
  int TextWidth(const std::string& text) { return TextExtent(text).cx; }
  int TextHeight(const std::string& text) { return TextExtent(text).cy; }
  void Draw(int x, int y, TGraphic* graphic);
  void StretchDraw(const TRect& r, TGraphic* graphic);
  // Copies a rectangle of another canvas (or this one) under CopyMode.
  void CopyRect(const TRect& dest, TCanvas* source, const TRect& sourceRect);
  void FloodFill(int x, int y, TColor color, bool surface);  // fsBorder when surface is false

  // ---- Device state ----
  int SetBkMode(int mode);  // returns the previous mode
  int GetBkMode() const;
  TColor SetBkColor(TColor color);
  TColor GetBkColor() const;
  TColor SetTextColor(TColor color);
  TColor GetTextColor() const;
  unsigned SetTextAlign(unsigned flags);
  unsigned GetTextAlign() const;
  int SetROP2(int rop);
  int GetROP2() const;
  int SetPolyFillMode(int mode);
  int GetPolyFillMode() const;
  int SetTextCharacterExtra(int extra);
  int GetTextCharacterExtra() const;
  int SetArcDirection(int direction);
  int GetArcDirection() const;
  TPoint SetBrushOrg(int x, int y);
  // The stock DC brush and pen: change the colour of the selected brush or
  // pen without a change notification (fast banded fills).
  TColor SetDCBrushColor(TColor color);
  TColor SetDCPenColor(TColor color);
  int SaveDC();
  bool RestoreDC(int savedDC);  // a negative value counts back from the last save

  // ---- Text ----
  bool GetTextMetrics(TTextMetric& tm);
  TSize GetTextExtentPoint(const std::string& text);
  // Text in the device text colour at (x, y) under the text alignment;
  // options ETO_OPAQUE (fill rect with the background colour) and
  // ETO_CLIPPED (clip to rect); dx gives per-character advances.
  bool ExtTextOut(int x, int y, unsigned options, const TRect* rect, const std::string& text,
                  const int* dx = nullptr);
  // Formats text in a rectangle; returns the height of the text. DT_CALCRECT
  // only measures and sets rect's Right and Bottom.
  int DrawText(const std::string& text, TRect& rect, unsigned format);

  // ---- Clipping (device coordinates for regions) ----
  // A copy of the region becomes the clip; nil removes clipping.
  int SelectClipRgn(HRGN rgn);
  int ExtSelectClipRgn(HRGN rgn, int mode);
  // 1 and a copy of the clip in rgn when there is one; 0 when there is none.
  int GetClipRgn(HRGN rgn) const;
  int IntersectClipRect(int left, int top, int right, int bottom);  // logical
  int ExcludeClipRect(int left, int top, int right, int bottom);    // logical
  int GetClipBox(TRect& rect) const;                                 // logical
  bool HasClip() const;

  // ---- Paths ----
  bool BeginPath();
  bool EndPath();
  bool AbortPath();
  bool CloseFigure();
  bool StrokePath();
  bool FillPath();
  bool StrokeAndFillPath();
  bool WidenPath();
  bool FlattenPath();
  bool SelectClipPath(int mode);
  HRGN PathToRegion();  // caller frees it with DeleteObject; nil without a path
  bool InPath() const;

  // ---- Coordinates ----
  int SetMapMode(int mode);
  int GetMapMode() const;
  TPoint SetWindowOrgEx(int x, int y);
  TPoint SetViewportOrgEx(int x, int y);
  TSize SetWindowExtEx(int x, int y);
  TSize SetViewportExtEx(int x, int y);
  TPoint GetWindowOrgEx() const;
  TPoint GetViewportOrgEx() const;
  TSize GetWindowExtEx() const;
  TSize GetViewportExtEx() const;
  TPoint OffsetWindowOrgEx(int dx, int dy);
  TPoint OffsetViewportOrgEx(int dx, int dy);
  void LPtoDP(TPoint* points, int count) const;
  void DPtoLP(TPoint* points, int count) const;
  TPoint LPtoDP(TPoint p) const { LPtoDP(&p, 1); return p; }
  TPoint DPtoLP(TPoint p) const { DPtoLP(&p, 1); return p; }

  // ---- Bit-block transfers and fills ----
  bool BitBlt(int x, int y, int width, int height, TCanvas* source, int sx, int sy, uint32_t rop);
  bool StretchBlt(int x, int y, int width, int height, TCanvas* source, int sx, int sy, int sw, int sh,
                  uint32_t rop);
  bool PatBlt(int x, int y, int width, int height, uint32_t rop);
  bool GradientFill(const TTriVertex* vertices, int vertexCount, const TGradientRect* rects, int rectCount,
                    unsigned mode);
  bool AlphaBlend(int x, int y, int width, int height, TCanvas* source, int sx, int sy, int sw, int sh,
                  TBlendFunction blend);

  TCanvasImpl* Impl() const { return FImpl.get(); }

private:
  friend struct TCanvasImpl;
  std::unique_ptr<TPen> FPen;
  std::unique_ptr<TBrush> FBrush;
  std::unique_ptr<TFont> FFont;
  TCopyMode FCopyMode = cmSrcCopy;
  std::unique_ptr<TCanvasImpl> FImpl;
};
