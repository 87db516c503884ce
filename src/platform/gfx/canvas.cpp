// The canvas: the graphics device's drawing semantics on top of QPainter,
// with its own rasteriser for one-pixel lines (exact end points, styles
// counted in device pixels, raster operations bit by bit).
#include <QFontMetrics>
#include <QPainterPathStroker>
#include <QPolygonF>
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <numbers>

#include "platform/gfx/canvas_impl.h"
#include "platform/gfx/qt_private.h"
#include "platform/rtl/mathutils.h"

namespace {

inline uint32_t Rop2(int rop, uint32_t p, uint32_t d) {
  switch (rop) {
    case R2_BLACK: return 0;
    case R2_WHITE: return 0xFFFFFF;
    case R2_NOP: return d;
    case R2_NOT: return ~d;
    case R2_NOTCOPYPEN: return ~p;
    case R2_MERGEPENNOT: return p | ~d;
    case R2_MASKPENNOT: return p & ~d;
    case R2_MERGENOTPEN: return ~p | d;
    case R2_MASKNOTPEN: return ~p & d;
    case R2_MERGEPEN: return p | d;
    case R2_NOTMERGEPEN: return ~(p | d);
    case R2_MASKPEN: return p & d;
    case R2_NOTMASKPEN: return ~(p & d);
    case R2_XORPEN: return p ^ d;
    case R2_NOTXORPEN: return ~(p ^ d);
    default: return p;
  }
}

// A ternary raster operation from its truth table (bits 16..23 of the code).
inline uint32_t Rop3(uint32_t rop, uint32_t p, uint32_t s, uint32_t d) {
  uint32_t idx = (rop >> 16) & 0xFF, r = 0;
  for (int k = 0; k < 8; ++k)
    if ((idx >> k) & 1) r |= ((k & 4) ? p : ~p) & ((k & 2) ? s : ~s) & ((k & 1) ? d : ~d);
  return r;
}

bool Is32(QImage::Format f) {
  return f == QImage::Format_RGB32 || f == QImage::Format_ARGB32 || f == QImage::Format_ARGB32_Premultiplied;
}

QPainter::CompositionMode CompositionFor(int rop) {
  switch (rop) {
    case R2_BLACK: return QPainter::RasterOp_ClearDestination;
    case R2_WHITE: return QPainter::RasterOp_SetDestination;
    case R2_NOT: return QPainter::RasterOp_NotDestination;
    case R2_NOTCOPYPEN: return QPainter::RasterOp_NotSource;
    case R2_MERGEPENNOT: return QPainter::RasterOp_SourceOrNotDestination;
    case R2_MASKPENNOT: return QPainter::RasterOp_SourceAndNotDestination;
    case R2_MERGENOTPEN: return QPainter::RasterOp_NotSourceOrDestination;
    case R2_MASKNOTPEN: return QPainter::RasterOp_NotSourceAndDestination;
    case R2_MERGEPEN: return QPainter::RasterOp_SourceOrDestination;
    case R2_NOTMERGEPEN: return QPainter::RasterOp_NotSourceAndNotDestination;
    case R2_MASKPEN: return QPainter::RasterOp_SourceAndDestination;
    case R2_NOTMASKPEN: return QPainter::RasterOp_NotSourceOrNotDestination;
    case R2_XORPEN: return QPainter::RasterOp_SourceXorDestination;
    case R2_NOTXORPEN: return QPainter::RasterOp_NotSourceXorDestination;
    default: return QPainter::CompositionMode_SourceOver;
  }
}

// Pixel patterns of the cosmetic pen styles (on, off, on, off, ...).
std::vector<int> CosmeticPattern(const TPen& pen) {
  switch (pen.Style()) {
    case psDash: return {18, 6};
    case psDot: return {3, 3};
    case psDashDot: return {9, 6, 3, 6};
    case psDashDotDot: return {9, 3, 3, 3, 3, 3};
    case psAlternate: return {1, 1};
    case psUserStyle: {
      std::vector<int> p;
      int carry = 0;
      const auto& u = pen.UserStyle();
      for (size_t i = 0; i < u.size(); ++i) {
        int v = static_cast<int>(u[i]) - carry;
        carry = 0;
        if (i % 2 == 0 && v <= 0) {  // a zero-length dash is one pixel; the gap pays for it
          v = 1;
          carry = 1;
        }
        p.push_back(std::max(v, i % 2 ? 0 : 1));
      }
      if (carry && !p.empty() && p.size() % 2 == 0) p.back() = std::max(0, p.back() - carry);
      if (p.size() % 2) p.push_back(0);
      bool anyOff = false;
      for (size_t i = 1; i < p.size(); i += 2) anyOff |= p[i] > 0;
      if (!anyOff) return {};
      return p;
    }
    default: return {};
  }
}

double TrueToParametric(double deg, double rx, double ry) {
  if (rx <= 0 || ry <= 0) return deg;
  double a = deg * std::numbers::pi / 180.0;
  double t = std::atan2(std::sin(a) / ry, std::cos(a) / rx);
  return t * 180.0 / std::numbers::pi;
}

// Angle (degrees, counter-clockwise, y pointing down) of a point seen from the centre.
double RadialAngle(double cx, double cy, int x, int y) {
  double a = std::atan2(-(y - cy), x - cx) * 180.0 / std::numbers::pi;
  if (a < 0) a += 360.0;
  return a;
}

enum TArcKind { akArc, akChord, akPie };

QPainterPath ArcPath(const QRectF& box, double startDeg, double sweepDeg, TArcKind kind) {
  QPainterPath p;
  double rx = box.width() / 2, ry = box.height() / 2;
  double s = TrueToParametric(startDeg, rx, ry);
  double e = TrueToParametric(startDeg + sweepDeg, rx, ry);
  double sweep = e - s;
  if (sweepDeg > 0) { while (sweep <= 0) sweep += 360; while (sweep > 360) sweep -= 360; }
  else { while (sweep >= 0) sweep -= 360; while (sweep < -360) sweep += 360; }
  if (std::abs(sweepDeg) >= 360) sweep = sweepDeg > 0 ? 360 : -360;
  if (kind == akPie) {
    p.moveTo(box.center());
    p.arcTo(box, s, sweep);
    p.closeSubpath();
  } else {
    p.arcMoveTo(box, s);
    p.arcTo(box, s, sweep);
    if (kind == akChord) p.closeSubpath();
  }
  return p;
}

QString Q(const std::string& s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

}  // namespace

QImage GfxHatchPattern(TBrushStyle style, QRgb fore, QRgb back, bool opaque) {
  QImage img(8, 8, QImage::Format_ARGB32);
  QRgb bg = opaque ? back : 0;
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) {
      bool on = false;
      switch (style) {
        case bsHorizontal: on = y == 7; break;
        case bsVertical: on = x == 7; break;
        case bsFDiagonal: on = x == y; break;
        case bsBDiagonal: on = x + y == 7; break;
        case bsCross: on = x == 7 || y == 7; break;
        case bsDiagCross: on = x == y || x + y == 7; break;
        default: break;
      }
      img.setPixel(x, y, on ? (fore | 0xFF000000u) : bg);
    }
  return img;
}

// ============================================================================
// TCanvasImpl

TCanvasImpl::TCanvasImpl(TCanvas* owner) : Owner(owner) {}
TCanvasImpl::~TCanvasImpl() { EndPainter(); }

QImage* TCanvasImpl::Image() {
  if (Kind != ckRaster) return nullptr;
  if (Bitmap) return Bitmap->PaintImage();
  if (ExtImage && OnSurfaceUse) OnSurfaceUse();
  return ExtImage;
}

void TCanvasImpl::EndPainter() {
  if (OwnPainter && OwnPainter->isActive()) OwnPainter->end();
  PainterStateValid = false;
}

QPainter* TCanvasImpl::Painter() {
  QPainter* p = nullptr;
  if (Kind == ckRaster) {
    QImage* img = Image();
    if (!img || img->isNull()) return nullptr;
    if (!OwnPainter) OwnPainter = std::make_unique<QPainter>();
    if (!OwnPainter->isActive()) {
      if (!OwnPainter->begin(img)) return nullptr;
      PainterStateValid = false;
    }
    p = OwnPainter.get();
  } else if (Kind == ckPrinter) {
    p = ExtPainter;
    if (!p || !p->isActive()) return nullptr;
  } else {
    return nullptr;
  }
  if (!PainterStateValid) {
    ApplyPainterState(p);
    PainterStateValid = true;
  }
  return p;
}

void TCanvasImpl::ApplyPainterState(QPainter* p) {
  p->setRenderHint(QPainter::Antialiasing, false);
  p->setRenderHint(QPainter::SmoothPixmapTransform, false);
  p->resetTransform();
  // Clipping is removed with NoClip, never with setClipping(false): the raster
  // engine keeps a disabled clip around, and a later multi-rectangle region
  // is written into it without enabling it again, so it would not clip.
  if (S.HasClip) p->setClipRegion(S.Clip, Qt::ReplaceClip);
  else p->setClipRegion(QRegion(), Qt::NoClip);
  p->setTransform(Xf);
}

void TCanvasImpl::SetComposition(QPainter* p, int rop) {
  if (Kind == ckRaster) p->setCompositionMode(CompositionFor(rop));
  else p->setCompositionMode(QPainter::CompositionMode_SourceOver);
}

void TCanvasImpl::UpdateTransform() {
  double sx = 1, sy = 1;
  switch (S.MapMode) {
    case MM_ANISOTROPIC:
    case MM_ISOTROPIC:
      sx = S.WinExt.cx ? static_cast<double>(S.VpExt.cx) / S.WinExt.cx : 1;
      sy = S.WinExt.cy ? static_cast<double>(S.VpExt.cy) / S.WinExt.cy : 1;
      if (S.MapMode == MM_ISOTROPIC) {
        double m = std::min(std::abs(sx), std::abs(sy));
        sx = sx < 0 ? -m : m;
        sy = sy < 0 ? -m : m;
      }
      break;
    case MM_LOMETRIC: sx = Dpi / 254.0; sy = -sx; break;
    case MM_HIMETRIC: sx = Dpi / 2540.0; sy = -sx; break;
    case MM_LOENGLISH: sx = Dpi / 100.0; sy = -sx; break;
    case MM_HIENGLISH: sx = Dpi / 1000.0; sy = -sx; break;
    case MM_TWIPS: sx = Dpi / 1440.0; sy = -sx; break;
    default: break;
  }
  Xf = QTransform(sx, 0, 0, sy, S.VpOrg.X - S.WinOrg.X * sx, S.VpOrg.Y - S.WinOrg.Y * sy) * Outer;
  XfIdentity = Xf.isIdentity();
  XfTranslateOnly = Xf.type() <= QTransform::TxTranslate;
  PainterStateValid = false;
  BrushValid = false;
}

QPointF TCanvasImpl::Map(double x, double y) const { return Xf.map(QPointF(x, y)); }

TPoint TCanvasImpl::MapPt(int x, int y) const {
  if (XfIdentity) return {x, y};
  if (XfTranslateOnly) return {x + static_cast<int>(std::lround(Xf.dx())), y + static_cast<int>(std::lround(Xf.dy()))};
  QPointF p = Xf.map(QPointF(x, y));
  return {static_cast<int>(std::lround(p.x())), static_cast<int>(std::lround(p.y()))};
}

TPoint TCanvasImpl::UnmapPt(int x, int y) const {
  QPointF p = Xf.inverted().map(QPointF(x, y));
  return {static_cast<int>(std::lround(p.x())), static_cast<int>(std::lround(p.y()))};
}

void TCanvasImpl::RealizePen() {
  if (PenValid) return;
  const TPen& pen = *Owner->Pen();
  RP = TRealPen();
  RP.Null = pen.Style() == psClear;
  RP.Ref = ColorToRGB(pen.Color());
  RP.Color = qRgb(GetRValue(RP.Ref), GetGValue(RP.Ref), GetBValue(RP.Ref));
  int w = pen.Width();
  RP.InsideFrame = pen.Style() == psInsideFrame;
  if (pen.Geometric()) {
    RP.Cosmetic = w <= 1;
  } else {
    RP.Cosmetic = w <= 1;
  }
  RP.Width = std::max(1, w);
  if (RP.Cosmetic) {
    if (!RP.InsideFrame) RP.Pattern = CosmeticPattern(pen);
    QPen qp(QColor(RP.Color), 0);
    qp.setCosmetic(true);
    qp.setCapStyle(Qt::FlatCap);
    if (!RP.Pattern.empty()) {
      QList<qreal> d;
      for (int v : RP.Pattern) d << std::max(v, 0);
      qp.setDashPattern(d);
    }
    RP.QtPen = qp;
  } else {
    QPen qp(QColor(RP.Color), RP.Width);
    Qt::PenCapStyle cap = Qt::RoundCap;
    Qt::PenJoinStyle join = Qt::RoundJoin;
    if (pen.Geometric()) {
      cap = pen.EndCap() == PS_ENDCAP_SQUARE ? Qt::SquareCap : pen.EndCap() == PS_ENDCAP_FLAT ? Qt::FlatCap : Qt::RoundCap;
      join = pen.Join() == PS_JOIN_BEVEL ? Qt::BevelJoin : pen.Join() == PS_JOIN_MITER ? Qt::MiterJoin : Qt::RoundJoin;
      switch (pen.Style()) {
        case psDash: qp.setStyle(Qt::DashLine); break;
        case psDot: qp.setStyle(Qt::DotLine); break;
        case psDashDot: qp.setStyle(Qt::DashDotLine); break;
        case psDashDotDot: qp.setStyle(Qt::DashDotDotLine); break;
        case psUserStyle: {
          QList<qreal> d;
          for (uint32_t v : pen.UserStyle()) d << static_cast<qreal>(v) / RP.Width;
          if (d.size() % 2) d << 0;
          if (!d.isEmpty()) qp.setDashPattern(d);
          break;
        }
        default: break;
      }
    }
    qp.setCapStyle(cap);
    qp.setJoinStyle(join);
    RP.QtPen = qp;
  }
  PenValid = true;
}

void TCanvasImpl::RealizeBrush() {
  if (BrushValid) return;
  const TBrush& b = *Owner->Brush();
  RB = TRealBrush();
  RB.Ref = ColorToRGB(S.DCBrushColor ? *S.DCBrushColor : b.Color());
  QRgb c = qRgb(GetRValue(RB.Ref), GetGValue(RB.Ref), GetBValue(RB.Ref));
  if (b.Bitmap()) {
    QImage pat = GfxBitmapImage(b.Bitmap()).copy();
    if (b.Bitmap()->PixelFormat() == pf1bit) {
      QImage mono = pat.convertToFormat(QImage::Format_Mono, QList<QRgb>{qRgb(0, 0, 0), qRgb(255, 255, 255)}, Qt::ThresholdDither);
      QImage out(mono.width(), mono.height(), QImage::Format_ARGB32);
      QRgb fg = GfxRgb(S.TextColor), bg = GfxRgb(S.BkColor);
      for (int y = 0; y < mono.height(); ++y)
        for (int x = 0; x < mono.width(); ++x) out.setPixel(x, y, mono.pixelIndex(x, y) ? bg : fg);
      pat = out;
    } else {
      pat = pat.convertToFormat(QImage::Format_ARGB32);
    }
    RB.Solid = false;
    RB.QtBrush = QBrush(pat);
  } else if (b.Style() == bsClear) {
    RB.Null = true;
  } else if (b.Style() == bsSolid) {
    RB.QtBrush = QBrush(QColor(c));
  } else {
    RB.Solid = false;
    RB.QtBrush = QBrush(GfxHatchPattern(b.Style(), c, GfxRgb(S.BkColor), S.BkMode == OPAQUE));
  }
  if (!RB.Solid) {
    // patterns are aligned to device pixels, whatever the mapping
    RB.QtBrush.setTransform(QTransform::fromTranslate(S.BrushOrg.X, S.BrushOrg.Y) * Xf.inverted());
  }
  BrushValid = true;
}

void TCanvasImpl::RealizeFont() {
  if (FontValid) return;
  EnsureQtApplication();
  // Cells and labels change the font's colour far more often than its face.
  const TFont& f = *Owner->Font();
  TFontRequest request{f.Name(), f.Height(), f.Style(), f.Pitch(), f.Quality(), S.CharExtra};
  if (!Face || !(request == RealizedRequest)) {
    QtFont = GfxMakeQFont(f);
    if (S.CharExtra) QtFont.setLetterSpacing(QFont::AbsoluteSpacing, S.CharExtra);
    if (!Face || !(Face->Font == QtFont)) Face = GfxFontFace(QtFont);
    RealizedRequest = std::move(request);
  }
  FontValid = true;
}

int TCanvasImpl::TextWidth(const std::string& text) {
  RealizeFont();
  const int natural = GfxTextWidth(*Face, text);
  const double k = TextXScale();
  return k == 1 ? natural : static_cast<int>(std::lround(natural / k));
}

double TCanvasImpl::TextXScale() const {
  if (Xf.type() > QTransform::TxScale) return 1;
  const double ax = std::abs(Xf.m11()), ay = std::abs(Xf.m22());
  if (ax <= 0 || ay <= 0 || std::abs(ax - ay) <= 1e-9 * ay) return 1;
  return ax / ay;
}

const TRegionRows& TCanvasImpl::ClipRows(int height) const {
  // Asked for every line drawn: while the cached region shares the clip's
  // data (same rectangles in memory) there is nothing to compare or copy.
  const bool shared = ClipRowsOf.begin() == S.Clip.begin() && ClipRowsOf.rectCount() == S.Clip.rectCount();
  if (!ClipRowsCache || ClipRowsCache->Height() != height || (!shared && !(ClipRowsOf == S.Clip)))
    ClipRowsCache.emplace(S.Clip, height);
  if (!shared) ClipRowsOf = S.Clip;  // shares the data, so that the next test is quick
  return *ClipRowsCache;
}

TPixelClip::TPixelClip(const TCanvasImpl& canvas, const QImage* img)
    : FRight(img->width() - 1), FBottom(img->height() - 1) {
  if (!canvas.S.HasClip) return;
  const TRegionRows& rows = canvas.ClipRows(img->height());
  if (rows.Empty()) {
    FRight = FLeft - 1;
    FBottom = FTop - 1;
    return;
  }
  FLeft = std::max(FLeft, rows.Left());
  FTop = std::max(FTop, rows.Top());
  FRight = std::min(FRight, rows.Right());
  FBottom = std::min(FBottom, rows.Bottom());
  if (!rows.Single()) FRows = &rows;
}

bool TCanvasImpl::PixelVisible(int x, int y, const QImage* img) const { return TPixelClip(*this, img).Visible(x, y); }

void TCanvasImpl::PlotPixel(QImage* img, int x, int y, QRgb color, int rop) {
  if (Is32(img->format())) {
    QRgb* px = reinterpret_cast<QRgb*>(img->scanLine(y)) + x;
    uint32_t p = color & 0xFFFFFF, d = *px & 0xFFFFFF;
    // Premultiplied pixels cannot keep colour under no alpha: what a pen
    // touches there turns opaque, as on a surface without alpha.
    const bool opaque = img->format() != QImage::Format_ARGB32 || rop == R2_COPYPEN;
    uint32_t a = opaque ? 0xFF000000u : (*px & 0xFF000000u);
    *px = (Rop2(rop, p, d) & 0xFFFFFF) | a;
  } else {
    QRgb d = img->pixel(x, y);
    img->setPixel(x, y, (Rop2(rop, color & 0xFFFFFF, d & 0xFFFFFF) & 0xFFFFFF) | 0xFF000000u);
  }
}

namespace {

// floor(a / b) and ceil(a / b) for b > 0.
long long FloorDiv(long long a, long long b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }
long long CeilDiv(long long a, long long b) { return -FloorDiv(-a, b); }

// The pixels of a one-pixel line from (x0, y0) towards (x1, y1), the end
// point left out: Bresenham's steps 0 .. n - 1 along the longer side, of
// which Clip keeps those inside a rectangle. Step i moves ceil((i * minor -
// n / 2) / n) pixels along the shorter side, so that the walk can start
// anywhere with the same pixels. (A line longer than 2^31 pixels, whose
// products would overflow, is walked whole.)
class TLineSteps {
public:
  TLineSteps(int x0, int y0, int x1, int y1) {
    const long long dx = std::abs(static_cast<long long>(x1) - x0), dy = std::abs(static_cast<long long>(y1) - y0);
    FXMajor = dx >= dy;
    FN = std::max(dx, dy);
    FM = std::min(dx, dy);
    FA0 = FXMajor ? x0 : y0;
    FB0 = FXMajor ? y0 : x0;
    FSa = (FXMajor ? x1 > x0 : y1 > y0) ? 1 : -1;
    FSb = (FXMajor ? y1 > y0 : x1 > x0) ? 1 : -1;
    First = 0;
    Last = FN - 1;
  }
  long long Steps() const { return FN; }
  bool Empty() const { return First > Last; }
  bool Huge() const { return FN > INT_MAX; }
  // Keeps the steps whose pixels lie in [l, r] x [t, b].
  void Clip(int l, int t, int r, int b) {
    if (Huge()) return;
    const long long amin = FXMajor ? l : t, amax = FXMajor ? r : b;
    const long long bmin = FXMajor ? t : l, bmax = FXMajor ? b : r;
    if (FSa > 0) {
      First = std::max(First, amin - FA0);
      Last = std::min(Last, amax - FA0);
    } else {
      First = std::max(First, FA0 - amax);
      Last = std::min(Last, FA0 - amin);
    }
    // steps along the shorter side: at least lo, at most hi
    const long long lo = FSb > 0 ? bmin - FB0 : FB0 - bmax, hi = FSb > 0 ? bmax - FB0 : FB0 - bmin;
    const long long h = FN / 2;
    if (FM == 0) {
      if (lo > 0 || hi < 0) Last = First - 1;
    } else {
      First = std::max(First, CeilDiv(lo * FN + h - FN + 1, FM));
      Last = std::min(Last, FloorDiv(hi * FN + h, FM));
    }
  }
  TPoint At(long long i) const {
    const long long a = FA0 + FSa * i, b = FB0 + FSb * Minor(i);
    return FXMajor ? TPoint{static_cast<int>(a), static_cast<int>(b)} : TPoint{static_cast<int>(b), static_cast<int>(a)};
  }
  // f(x, y) for the steps First .. Last.
  template <class F>
  void Walk(F&& f) const {
    if (Empty()) return;
    const long long k = Minor(First);
    int a = static_cast<int>(FA0 + FSa * First), b = static_cast<int>(FB0 + FSb * k);
    long long err = FN / 2 - First * FM + k * FN;
    const long long n = FN, m = FM;
    const int sa = FSa, sb = FSb;
    for (long long i = First; i <= Last; ++i) {
      if (FXMajor) f(a, b);
      else f(b, a);
      a += sa;
      err -= m;
      if (err < 0) {
        b += sb;
        err += n;
      }
    }
  }
  long long First, Last;

private:
  long long Minor(long long i) const { return FloorDiv(i * FM - FN / 2 + FN - 1, FN); }
  bool FXMajor;
  long long FN, FM, FA0, FB0;
  int FSa, FSb;
};

// Where a cosmetic pen is in its on/off pattern, pixel by pixel (the runs
// may include empty ones; their sum is not zero).
class TPatternWalk {
public:
  TPatternWalk(const std::vector<int>& runs, int phase) : FRuns(runs.data()), FCount(runs.size()), FLeft(-phase) {
    // Pixels left in the run: the phase walked off the first runs.
    while (FLeft + FRuns[FRun] <= 0) {
      FLeft += FRuns[FRun];
      Next();
    }
    FLeft += FRuns[FRun];
  }
  bool On() const { return FRun % 2 == 0; }
  void Step() {
    if (--FLeft > 0) return;
    do {
      Next();
      FLeft = FRuns[FRun];
    } while (FLeft <= 0);
  }

private:
  void Next() {
    if (++FRun == FCount) FRun = 0;
  }
  const int* FRuns;
  size_t FCount;
  int FLeft;
  size_t FRun = 0;
};

}  // namespace

void TCanvasImpl::RasterLine(int x0, int y0, int x1, int y1) {
  QImage* img = Image();
  if (!img || img->isNull()) return;
  TLineSteps line(x0, y0, x1, y1);
  if (line.Empty()) return;
  // The pattern runs on over pixels that are clipped away.
  int period = 0;
  for (int v : RP.Pattern) period += v;
  const int phase = period > 0 ? PatternPos % period : 0;
  if (period > 0) PatternPos = static_cast<int>((phase + line.Steps()) % period);

  TPixelClip clip(*this, img);
  line.Clip(clip.Left(), clip.Top(), clip.Right(), clip.Bottom());
  if (line.Empty()) return;
  // The pixels left lie in the box of the first and the last one: no test
  // per pixel when the clip holds that box.
  bool whole = false;
  if (!line.Huge()) {
    const TPoint p = line.At(line.First), q = line.At(line.Last);
    whole = clip.Holds(std::min(p.X, q.X), std::min(p.Y, q.Y), std::max(p.X, q.X), std::max(p.Y, q.Y));
  }
  const int rop = S.Rop2;
  if (period == 0 && rop == R2_COPYPEN && Is32(img->format())) {
    uchar* bits = img->bits();
    const qsizetype bpl = img->bytesPerLine();
    const QRgb v = RP.Color | 0xFF000000u;
    auto put = [&](int x, int y) { reinterpret_cast<QRgb*>(bits + y * bpl)[x] = v; };
    if (whole) {
      line.Walk(put);
    } else {
      line.Walk([&](int x, int y) {
        if (clip.Visible(x, y)) put(x, y);
      });
    }
    return;
  }
  const QRgb pc = RP.Color;
  // PlotPixel with the image's format and rows looked up once per line
  // (dotted grid lines are drawn pixel by pixel).
  const bool direct = Is32(img->format());
  uchar* bits = direct ? img->bits() : nullptr;
  const qsizetype bpl = img->bytesPerLine();
  const bool opaque = img->format() != QImage::Format_ARGB32 || rop == R2_COPYPEN;
  const bool copy = direct && opaque && rop == R2_COPYPEN;
  auto plot = [&](int x, int y, QRgb color) {
    if (copy) {
      reinterpret_cast<QRgb*>(bits + y * bpl)[x] = color | 0xFF000000u;
      return;
    }
    if (!direct) {
      PlotPixel(img, x, y, color, rop);
      return;
    }
    QRgb* px = reinterpret_cast<QRgb*>(bits + y * bpl) + x;
    const uint32_t a = opaque ? 0xFF000000u : (*px & 0xFF000000u);
    *px = (Rop2(rop, color & 0xFFFFFF, *px & 0xFFFFFF) & 0xFFFFFF) | a;
  };
  if (period == 0) {
    line.Walk([&](int x, int y) {
      if (whole || clip.Visible(x, y)) plot(x, y, pc);
    });
    return;
  }
  const bool opaqueGaps = S.BkMode == OPAQUE;
  const QRgb bc = GfxRgb(S.BkColor);
  TPatternWalk pattern(RP.Pattern, static_cast<int>((phase + line.First) % period));
  if (copy && whole) {
    // Dotted grid lines: the pixels stored straight, no test per pixel.
    const QRgb on = pc | 0xFF000000u, off = bc | 0xFF000000u;
    line.Walk([&](int x, int y) {
      QRgb* px = reinterpret_cast<QRgb*>(bits + y * bpl) + x;
      if (pattern.On()) *px = on;
      else if (opaqueGaps) *px = off;
      pattern.Step();
    });
    return;
  }
  line.Walk([&](int x, int y) {
    const bool on = pattern.On();
    pattern.Step();
    if ((on || opaqueGaps) && (whole || clip.Visible(x, y))) plot(x, y, on ? pc : bc);
  });
}

void TCanvasImpl::CosmeticPolyline(const std::vector<TPoint>& logical, bool closed) {
  if (logical.size() < 2 || RopSkips()) return;
  if (Kind == ckRaster) {
    std::vector<TPoint> d(logical.size());
    for (size_t i = 0; i < logical.size(); ++i) d[i] = MapPt(logical[i].X, logical[i].Y);
    for (size_t i = 0; i + 1 < d.size(); ++i) RasterLine(d[i].X, d[i].Y, d[i + 1].X, d[i + 1].Y);
    if (closed) RasterLine(d.back().X, d.back().Y, d.front().X, d.front().Y);
    return;
  }
  QPainter* p = Painter();
  if (!p) return;
  QPolygonF poly;
  for (const TPoint& pt : logical) poly << QPointF(pt.X, pt.Y);
  if (closed) poly << poly.front();
  p->setPen(RP.QtPen);
  p->setBrush(Qt::NoBrush);
  p->setBackgroundMode(S.BkMode == OPAQUE ? Qt::OpaqueMode : Qt::TransparentMode);
  p->setBackground(QColor(GfxRgb(S.BkColor)));
  SetComposition(p, S.Rop2);
  p->drawPolyline(poly);
}

// The pixels [l, r) x [t, b) in a solid brush, written straight into an
// opaque image: the pixels the painter would fill for that rectangle (small
// boxes such as series pointers are drawn by the thousand). False when the
// painter must do it.
bool TCanvasImpl::FillSolidRect(int l, int t, int r, int b) {
  if (Kind != ckRaster || S.Rop2 != R2_COPYPEN || !XfTranslateOnly) return false;
  RealizeBrush();
  if (RB.Null) return true;
  if (!RB.Solid) return false;
  QImage* img = Image();
  if (!img || img->format() != QImage::Format_RGB32) return false;
  const TPoint a = MapPt(l, t), c = MapPt(r, b);
  const TPixelClip clip(*this, img);
  const int x0 = std::max(a.X, clip.Left()), x1 = std::min(c.X - 1, clip.Right());
  const int y0 = std::max(a.Y, clip.Top()), y1 = std::min(c.Y - 1, clip.Bottom());
  if (x0 > x1 || y0 > y1) return true;
  const bool whole = clip.Holds(x0, y0, x1, y1);
  const QRgb v = RB.QtBrush.color().rgb() | 0xFF000000u;
  uchar* bits = img->bits();
  const qsizetype bpl = img->bytesPerLine();
  for (int y = y0; y <= y1; ++y) {
    QRgb* row = reinterpret_cast<QRgb*>(bits + y * bpl);
    for (int x = x0; x <= x1; ++x)
      if (whole || clip.Visible(x, y)) row[x] = v;
  }
  return true;
}

// The border pixels of [l, r) x [t, b) in a plain one-pixel pen: what the
// four lines of the closed outline cover (each line leaves out its end, the
// next one starts there).
bool TCanvasImpl::FrameSolidRect(int l, int t, int r, int b) {
  if (Kind != ckRaster || S.Rop2 != R2_COPYPEN || !XfTranslateOnly) return false;
  RealizePen();
  if (RP.Null || !RP.Cosmetic || !RP.Pattern.empty()) return false;
  QImage* img = Image();
  if (!img || img->format() != QImage::Format_RGB32) return false;
  const TPoint a = MapPt(l, t), c = MapPt(r, b);
  const int L = a.X, T = a.Y, R = c.X - 1, B = c.Y - 1;
  if (L == R && T == B) return true;  // four lines of no length
  const TPixelClip clip(*this, img);
  const bool whole = clip.Holds(L, T, R, B);
  const QRgb v = RP.Color | 0xFF000000u;
  uchar* bits = img->bits();
  const qsizetype bpl = img->bytesPerLine();
  auto put = [&](int x, int y) {
    if (whole || clip.Visible(x, y)) reinterpret_cast<QRgb*>(bits + y * bpl)[x] = v;
  };
  for (int x = L; x <= R; ++x) {
    put(x, T);
    if (B != T) put(x, B);
  }
  for (int y = T + 1; y < B; ++y) {
    put(L, y);
    if (R != L) put(R, y);
  }
  return true;
}

// FillSolidRect of the inside and FrameSolidRect of the border in one go
// (one clip lookup for the two): the box a series pointer usually is.
bool TCanvasImpl::SolidBox(int l, int t, int r, int b) {
  if (Kind != ckRaster || S.Rop2 != R2_COPYPEN || !XfTranslateOnly) return false;
  RealizePen();
  RealizeBrush();
  if (RP.Null || !RP.Cosmetic || !RP.Pattern.empty() || (!RB.Null && !RB.Solid)) return false;
  QImage* img = Image();
  if (!img || img->format() != QImage::Format_RGB32) return false;
  const TPoint a = MapPt(l, t), c = MapPt(r, b);
  const int L = a.X, T = a.Y, R = c.X - 1, B = c.Y - 1;
  if (L == R && T == B) return true;  // no inside, and four lines of no length
  const TPixelClip clip(*this, img);
  const bool whole = clip.Holds(L, T, R, B);
  uchar* bits = img->bits();
  const qsizetype bpl = img->bytesPerLine();
  auto put = [&](int x, int y, QRgb v) {
    if (whole || clip.Visible(x, y)) reinterpret_cast<QRgb*>(bits + y * bpl)[x] = v;
  };
  if (!RB.Null && R - L > 1 && B - T > 1) {
    const QRgb fill = RB.QtBrush.color().rgb() | 0xFF000000u;
    const int x0 = std::max(L + 1, clip.Left()), x1 = std::min(R - 1, clip.Right());
    const int y0 = std::max(T + 1, clip.Top()), y1 = std::min(B - 1, clip.Bottom());
    for (int y = y0; y <= y1; ++y)
      for (int x = x0; x <= x1; ++x) put(x, y, fill);
  }
  const QRgb pen = RP.Color | 0xFF000000u;
  for (int x = L; x <= R; ++x) {
    put(x, T, pen);
    if (B != T) put(x, B, pen);
  }
  for (int y = T + 1; y < B; ++y) {
    put(L, y, pen);
    if (R != L) put(R, y, pen);
  }
  return true;
}

void TCanvasImpl::FillShape(const QPainterPath& path) {
  RealizeBrush();
  if (RB.Null || RopSkips()) return;
  QPainter* p = Painter();
  if (!p) return;
  SetComposition(p, S.Rop2);
  p->fillPath(path, RB.QtBrush);
}

void TCanvasImpl::StrokeShape(const QPainterPath& path) {
  RealizePen();
  if (RP.Null || RopSkips()) return;
  QPainter* p = Painter();
  if (!p) return;
  p->setPen(RP.QtPen);
  p->setBrush(Qt::NoBrush);
  p->setBackgroundMode(S.BkMode == OPAQUE ? Qt::OpaqueMode : Qt::TransparentMode);
  p->setBackground(QColor(GfxRgb(S.BkColor)));
  SetComposition(p, S.Rop2);
  p->drawPath(path);
}

void TCanvasImpl::WideDot(int x, int y) {
  RealizePen();
  if (RP.Null || RP.Cosmetic || RopSkips()) return;
  const Qt::PenCapStyle cap = RP.QtPen.capStyle();
  if (cap == Qt::FlatCap) return;
  QPainter* p = Painter();
  if (!p) return;
  // An odd width centres the dot on the pixel, an even one on its top-left
  // corner, so that the dot is as many pixels across as the pen is wide.
  const double r = RP.Width / 2.0;
  const double c = (static_cast<int>(RP.Width) % 2) ? 0.5 : 0.0;
  QPainterPath dot;
  if (cap == Qt::SquareCap) dot.addRect(QRectF(x + c - r, y + c - r, RP.Width, RP.Width));
  else dot.addEllipse(QPointF(x + c, y + c), r, r);
  SetComposition(p, S.Rop2);
  p->fillPath(dot, QColor(RP.Color));
}

void TCanvasImpl::Begin() {
  if (Owner->OnChanging) Owner->OnChanging(Owner);
}
void TCanvasImpl::End() {
  if (Owner->OnChange) Owner->OnChange(Owner);
}

// ============================================================================
// TCanvas

TCanvas::TCanvas()
    : FPen(std::make_unique<TPen>()), FBrush(std::make_unique<TBrush>()), FFont(std::make_unique<TFont>()),
      FImpl(std::make_unique<TCanvasImpl>(this)) {
  FPen->OnChange = [this](TObject*) {
    FImpl->PenValid = false;
    FImpl->PatternPos = 0;
    FImpl->S.Rop2 = PenModeToROP2(FPen->Mode());
  };
  FBrush->OnChange = [this](TObject*) {
    FImpl->BrushValid = false;
    FImpl->S.DCBrushColor.reset();
    if (FBrush->Style() == bsSolid && !FBrush->Bitmap()) {
      FImpl->S.BkColor = FBrush->Color();
      FImpl->S.BkMode = OPAQUE;
    } else {
      FImpl->S.BkMode = TRANSPARENT;
    }
  };
  FFont->OnChange = [this](TObject*) {
    FImpl->FontValid = false;
    FImpl->S.TextColor = FFont->Color();
    FImpl->BrushValid = false;
  };
  FImpl->S.TextColor = FFont->Color();
  FImpl->UpdateTransform();
}

TCanvas::~TCanvas() = default;

TCanvasKind TCanvas::Kind() const { return FImpl->Kind; }

int TCanvas::DeviceWidth() const {
  auto& I = *FImpl;
  if (I.Kind == ckRaster) { QImage* img = I.Image(); return img ? img->width() : 0; }
  if (I.Kind == ckPrinter && I.Device) return I.Device->width();
  if (I.Kind == ckMetafile) return I.RecWidth;
  return 0;
}

int TCanvas::DeviceHeight() const {
  auto& I = *FImpl;
  if (I.Kind == ckRaster) { QImage* img = I.Image(); return img ? img->height() : 0; }
  if (I.Kind == ckPrinter && I.Device) return I.Device->height();
  if (I.Kind == ckMetafile) return I.RecHeight;
  return 0;
}

int TCanvas::GetDeviceCaps(int index) const {
  auto& I = *FImpl;
  int w = DeviceWidth(), h = DeviceHeight();
  switch (index) {
    case HORZRES: return w;
    case VERTRES: return h;
    case LOGPIXELSX: case LOGPIXELSY: return I.Dpi;
    case HORZSIZE: return static_cast<int>(std::lround(w * 25.4 / I.Dpi));
    case VERTSIZE: return static_cast<int>(std::lround(h * 25.4 / I.Dpi));
    case BITSPIXEL: return 32;
    case PLANES: return 1;
    case NUMCOLORS: return -1;
    case TECHNOLOGY: return I.Kind == ckPrinter ? DT_RASPRINTER : I.Kind == ckMetafile ? DT_METAFILE : DT_RASDISPLAY;
    case PHYSICALWIDTH: return w;
    case PHYSICALHEIGHT: return h;
    default: return 0;
  }
}

TPoint TCanvas::PenPos() const { return FImpl->S.Pos; }

TRect TCanvas::ClipRect() const {
  TRect r;
  GetClipBox(r);
  return r;
}

void TCanvas::Refresh() {
  FImpl->PenValid = FImpl->BrushValid = FImpl->FontValid = false;
}

// ---- Lines ----

void TCanvas::MoveTo(int x, int y) {
  auto& I = *FImpl;
  I.S.Pos = {x, y};
  I.PatternPos = 0;
  if (I.PathOpen) I.Path.moveTo(x, y);
}

void TCanvas::LineTo(int x, int y) {
  auto& I = *FImpl;
  TPoint from = I.S.Pos;
  I.S.Pos = {x, y};
  if (I.PathOpen) {
    if (I.Path.elementCount() == 0) I.Path.moveTo(from.X, from.Y);
    I.Path.lineTo(x, y);
    return;
  }
  if (I.Recorder) {
    I.Record(moLineTo, {x, y}, {from});
    return;
  }
  I.Begin();
  I.RealizePen();
  if (!I.RP.Null) {
    if (I.RP.Cosmetic) {
      if (I.Kind == ckRaster) {
        if (!I.RopSkips()) {
          TPoint a = I.MapPt(from.X, from.Y), b = I.MapPt(x, y);
          I.RasterLine(a.X, a.Y, b.X, b.Y);
        }
      } else {
        I.CosmeticPolyline({from, {x, y}}, false);
      }
    } else if (from == TPoint{x, y}) {
      I.WideDot(x, y);  // the rasteriser would drop a stroke of no length
    } else {
      QPainterPath p;
      p.moveTo(from.X + 0.5, from.Y + 0.5);
      p.lineTo(x + 0.5, y + 0.5);
      I.StrokeShape(p);
    }
  }
  I.End();
}

// ---- Shapes ----

namespace {

enum TBoxKind { bkRect, bkEllipse, bkRoundRect, bkChord, bkPie, bkArc };

struct TBoxArgs {
  int CornerW = 0, CornerH = 0;
  double Start = 0, Sweep = 360;
};

QPainterPath BoxPath(TBoxKind kind, const QRectF& box, const TBoxArgs& a) {
  QPainterPath p;
  switch (kind) {
    case bkRect: p.addRect(box); break;
    case bkEllipse: p.addEllipse(box); break;
    case bkRoundRect: p.addRoundedRect(box, std::abs(a.CornerW) / 2.0, std::abs(a.CornerH) / 2.0); break;
    case bkChord: p = ArcPath(box, a.Start, a.Sweep, akChord); break;
    case bkPie: p = ArcPath(box, a.Start, a.Sweep, akPie); break;
    case bkArc: p = ArcPath(box, a.Start, a.Sweep, akArc); break;
  }
  return p;
}

void Normalize(int& l, int& t, int& r, int& b) {
  if (r < l) std::swap(l, r);
  if (b < t) std::swap(t, b);
}

TBoxArgs RadialArgs(TCanvasImpl& I, int l, int t, int r, int b, int x3, int y3, int x4, int y4) {
  double cx = (l + r) / 2.0, cy = (t + b) / 2.0;
  double s = RadialAngle(cx, cy, x3, y3), e = RadialAngle(cx, cy, x4, y4);
  TBoxArgs a;
  a.Start = s;
  if (I.S.ArcDir == AD_CLOCKWISE) {
    double sw = s - e;
    while (sw <= 0) sw += 360;
    a.Sweep = -sw;
  } else {
    double sw = e - s;
    while (sw <= 0) sw += 360;
    a.Sweep = sw;
  }
  return a;
}

void DrawBox(TCanvasImpl& I, TBoxKind kind, int l, int t, int r, int b, const TBoxArgs& a) {
  Normalize(l, t, r, b);
  if (r == l || b == t) return;
  I.RealizePen();
  if (kind == bkArc) {
    if (I.RP.Null) return;
    I.StrokeShape(BoxPath(kind, QRectF(l + 0.5, t + 0.5, r - l - 1, b - t - 1), a));
    return;
  }
  if (I.RP.Null) {
    if (kind != bkRect || !I.FillSolidRect(l, t, r - 1, b - 1))
      I.FillShape(BoxPath(kind, QRectF(l, t, r - l - 1, b - t - 1), a));
  } else if (I.RP.Cosmetic) {
    if (kind == bkRect) {
      if (I.SolidBox(l, t, r, b)) return;
      if (r - l > 2 && b - t > 2 && !I.FillSolidRect(l + 1, t + 1, r - 1, b - 1))
        I.FillShape(BoxPath(kind, QRectF(l + 1, t + 1, r - l - 2, b - t - 2), a));
      if (!I.FrameSolidRect(l, t, r, b)) I.CosmeticPolyline({{l, t}, {r - 1, t}, {r - 1, b - 1}, {l, b - 1}}, true);
    } else {
      QPainterPath path = BoxPath(kind, QRectF(l + 0.5, t + 0.5, r - l - 1, b - t - 1), a);
      I.FillShape(path);
      I.StrokeShape(path);
    }
  } else {
    QRectF box(l + 0.5, t + 0.5, r - l - 1, b - t - 1);
    if (I.RP.InsideFrame) {
      double k = std::min({I.RP.Width / 2.0 - 0.5, box.width() / 2, box.height() / 2});
      box.adjust(k, k, -k, -k);
    }
    QPainterPath path = BoxPath(kind, box, a);
    I.FillShape(path);
    I.StrokeShape(path);
  }
}

}  // namespace


void TCanvas::Rectangle(int x1, int y1, int x2, int y2) {
  auto& I = *FImpl;
  if (I.PathOpen) {
    Normalize(x1, y1, x2, y2);
    I.Path.addRect(QRectF(x1, y1, x2 - x1 - 1, y2 - y1 - 1));
    return;
  }
  if (I.Recorder) return I.Record(moRectangle, {x1, y1, x2, y2});
  I.Begin();
  DrawBox(I, bkRect, x1, y1, x2, y2, {});
  I.End();
}

void TCanvas::Ellipse(int x1, int y1, int x2, int y2) {
  auto& I = *FImpl;
  if (I.PathOpen) {
    Normalize(x1, y1, x2, y2);
    I.Path.addEllipse(QRectF(x1, y1, x2 - x1 - 1, y2 - y1 - 1));
    return;
  }
  if (I.Recorder) return I.Record(moEllipse, {x1, y1, x2, y2});
  I.Begin();
  DrawBox(I, bkEllipse, x1, y1, x2, y2, {});
  I.End();
}

void TCanvas::RoundRect(int x1, int y1, int x2, int y2, int cw, int ch) {
  auto& I = *FImpl;
  TBoxArgs a;
  a.CornerW = cw;
  a.CornerH = ch;
  if (I.PathOpen) {
    Normalize(x1, y1, x2, y2);
    I.Path.addPath(BoxPath(bkRoundRect, QRectF(x1, y1, x2 - x1 - 1, y2 - y1 - 1), a));
    return;
  }
  if (I.Recorder) return I.Record(moRoundRect, {x1, y1, x2, y2, cw, ch});
  I.Begin();
  DrawBox(I, bkRoundRect, x1, y1, x2, y2, a);
  I.End();
}

void TCanvas::Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
  auto& I = *FImpl;
  TBoxArgs a = RadialArgs(I, x1, y1, x2, y2, x3, y3, x4, y4);
  if (I.PathOpen) {
    Normalize(x1, y1, x2, y2);
    I.Path.addPath(BoxPath(bkArc, QRectF(x1, y1, x2 - x1 - 1, y2 - y1 - 1), a));
    return;
  }
  if (I.Recorder) return I.Record(moArc, {x1, y1, x2, y2, x3, y3, x4, y4});
  I.Begin();
  DrawBox(I, bkArc, x1, y1, x2, y2, a);
  I.End();
}

void TCanvas::Chord(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
  auto& I = *FImpl;
  TBoxArgs a = RadialArgs(I, x1, y1, x2, y2, x3, y3, x4, y4);
  if (I.PathOpen) {
    Normalize(x1, y1, x2, y2);
    I.Path.addPath(BoxPath(bkChord, QRectF(x1, y1, x2 - x1 - 1, y2 - y1 - 1), a));
    return;
  }
  if (I.Recorder) return I.Record(moChord, {x1, y1, x2, y2, x3, y3, x4, y4});
  I.Begin();
  DrawBox(I, bkChord, x1, y1, x2, y2, a);
  I.End();
}

void TCanvas::Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
  auto& I = *FImpl;
  TBoxArgs a = RadialArgs(I, x1, y1, x2, y2, x3, y3, x4, y4);
  if (I.PathOpen) {
    Normalize(x1, y1, x2, y2);
    I.Path.addPath(BoxPath(bkPie, QRectF(x1, y1, x2 - x1 - 1, y2 - y1 - 1), a));
    return;
  }
  if (I.Recorder) return I.Record(moPie, {x1, y1, x2, y2, x3, y3, x4, y4});
  I.Begin();
  DrawBox(I, bkPie, x1, y1, x2, y2, a);
  I.End();
}

namespace {
QPointF EllipsePoint(const QRectF& box, double trueDeg) {
  double rx = box.width() / 2, ry = box.height() / 2;
  double t = TrueToParametric(trueDeg, rx, ry) * std::numbers::pi / 180.0;
  return {box.center().x() + rx * std::cos(t), box.center().y() - ry * std::sin(t)};
}
}  // namespace

void TCanvas::ArcTo(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
  auto& I = *FImpl;
  TBoxArgs a = RadialArgs(I, x1, y1, x2, y2, x3, y3, x4, y4);
  Normalize(x1, y1, x2, y2);
  QRectF box(x1, y1, x2 - x1 - 1, y2 - y1 - 1);
  QPointF s = EllipsePoint(box, a.Start), e = EllipsePoint(box, a.Start + a.Sweep);
  TPoint sp{static_cast<int>(std::lround(s.x())), static_cast<int>(std::lround(s.y()))};
  LineTo(sp.X, sp.Y);
  if (I.PathOpen) {
    I.Path.addPath(BoxPath(bkArc, box, a));
  } else {
    Arc(x1, y1, x2, y2, x3, y3, x4, y4);
  }
  I.S.Pos = {static_cast<int>(std::lround(e.x())), static_cast<int>(std::lround(e.y()))};
}

void TCanvas::AngleArc(int x, int y, unsigned radius, float startAngle, float sweepAngle) {
  double r = radius;
  double a0 = startAngle * std::numbers::pi / 180.0, a1 = (startAngle + sweepAngle) * std::numbers::pi / 180.0;
  int sx = static_cast<int>(std::lround(x + r * std::cos(a0))), sy = static_cast<int>(std::lround(y - r * std::sin(a0)));
  int ex = static_cast<int>(std::lround(x + r * std::cos(a1))), ey = static_cast<int>(std::lround(y - r * std::sin(a1)));
  auto& I = *FImpl;
  LineTo(sx, sy);
  if (sweepAngle != 0) {
    int saved = I.S.ArcDir;
    I.S.ArcDir = sweepAngle > 0 ? AD_COUNTERCLOCKWISE : AD_CLOCKWISE;
    int R = static_cast<int>(radius);
    if (I.PathOpen) {
      QRectF box(x - R, y - R, 2 * R, 2 * R);
      TBoxArgs a;
      a.Start = startAngle;
      a.Sweep = sweepAngle;
      I.Path.addPath(BoxPath(bkArc, box, a));
    } else {
      Arc(x - R, y - R, x + R + 1, y + R + 1, sx, sy, ex, ey);
    }
    I.S.ArcDir = saved;
  }
  I.S.Pos = {ex, ey};
}

// ---- Poly shapes ----

void TCanvas::Polyline(const std::vector<TPoint>& points) { Polyline(points.data(), static_cast<int>(points.size())); }

void TCanvas::Polyline(const TPoint* points, int count) {
  auto& I = *FImpl;
  if (!points || count < 1) return;
  if (I.PathOpen) {
    I.Path.moveTo(points[0].X, points[0].Y);
    for (int i = 1; i < count; ++i) I.Path.lineTo(points[i].X, points[i].Y);
    return;
  }
  if (count < 2) return;
  if (I.Recorder) return I.Record(moPolyline, {}, std::vector<TPoint>(points, points + count));
  I.Begin();
  I.RealizePen();
  if (!I.RP.Null) {
    if (I.RP.Cosmetic) {
      I.PatternPos = 0;
      I.CosmeticPolyline(std::vector<TPoint>(points, points + count), false);
    } else if (std::all_of(points + 1, points + count, [&](const TPoint& q) { return q == points[0]; })) {
      I.WideDot(points[0].X, points[0].Y);
    } else {
      QPainterPath p;
      p.moveTo(points[0].X + 0.5, points[0].Y + 0.5);
      for (int i = 1; i < count; ++i) p.lineTo(points[i].X + 0.5, points[i].Y + 0.5);
      I.StrokeShape(p);
    }
  }
  I.End();
}

void TCanvas::PolylineTo(const TPoint* points, int count) {
  if (!points || count < 1) return;
  for (int i = 0; i < count; ++i) LineTo(points[i].X, points[i].Y);
}

void TCanvas::Polygon(const std::vector<TPoint>& points) { Polygon(points.data(), static_cast<int>(points.size())); }

void TCanvas::Polygon(const TPoint* points, int count) {
  int c = count;
  PolyPolygon(points, &c, 1);
}

void TCanvas::PolyPolygon(const TPoint* points, const int* counts, int polygons) {
  auto& I = *FImpl;
  if (!points || !counts || polygons < 1) return;
  int total = 0;
  for (int k = 0; k < polygons; ++k) total += std::max(0, counts[k]);
  if (I.PathOpen) {
    const TPoint* p = points;
    for (int k = 0; k < polygons; ++k) {
      if (counts[k] > 0) {
        I.Path.moveTo(p[0].X, p[0].Y);
        for (int i = 1; i < counts[k]; ++i) I.Path.lineTo(p[i].X, p[i].Y);
        I.Path.closeSubpath();
      }
      p += std::max(0, counts[k]);
    }
    return;
  }
  if (I.Recorder)
    return I.Record(polygons == 1 ? moPolygon : moPolyPolygon, {}, std::vector<TPoint>(points, points + total),
                    std::vector<int>(counts, counts + polygons));
  I.Begin();
  QPainterPath fill;
  fill.setFillRule(I.S.PolyFill == WINDING ? Qt::WindingFill : Qt::OddEvenFill);
  const TPoint* p = points;
  for (int k = 0; k < polygons; ++k) {
    if (counts[k] >= 2) {
      QPolygonF poly;
      for (int i = 0; i < counts[k]; ++i) poly << QPointF(p[i].X, p[i].Y);
      poly << poly.front();
      fill.addPolygon(poly);
    }
    p += std::max(0, counts[k]);
  }
  I.FillShape(fill);
  I.RealizePen();
  if (!I.RP.Null) {
    p = points;
    for (int k = 0; k < polygons; ++k) {
      if (counts[k] >= 2) {
        if (I.RP.Cosmetic) {
          I.PatternPos = 0;
          I.CosmeticPolyline(std::vector<TPoint>(p, p + counts[k]), true);
        } else {
          QPainterPath o;
          o.moveTo(p[0].X + 0.5, p[0].Y + 0.5);
          for (int i = 1; i < counts[k]; ++i) o.lineTo(p[i].X + 0.5, p[i].Y + 0.5);
          o.closeSubpath();
          I.StrokeShape(o);
        }
      }
      p += std::max(0, counts[k]);
    }
  }
  I.End();
}

void TCanvas::PolyBezier(const std::vector<TPoint>& points) { PolyBezier(points.data(), static_cast<int>(points.size())); }

void TCanvas::PolyBezier(const TPoint* points, int count) {
  auto& I = *FImpl;
  if (!points || count < 4 || (count - 1) % 3) return;
  if (I.PathOpen) {
    I.Path.moveTo(points[0].X, points[0].Y);
    for (int i = 1; i + 2 < count; i += 3)
      I.Path.cubicTo(points[i].X, points[i].Y, points[i + 1].X, points[i + 1].Y, points[i + 2].X, points[i + 2].Y);
    return;
  }
  if (I.Recorder) return I.Record(moPolyBezier, {}, std::vector<TPoint>(points, points + count));
  I.Begin();
  I.RealizePen();
  double o = I.RP.Cosmetic ? 0 : 0.5;
  QPainterPath p;
  p.moveTo(points[0].X + o, points[0].Y + o);
  for (int i = 1; i + 2 < count; i += 3)
    p.cubicTo(points[i].X + o, points[i].Y + o, points[i + 1].X + o, points[i + 1].Y + o, points[i + 2].X + o,
              points[i + 2].Y + o);
  I.StrokeShape(p);
  I.End();
}

void TCanvas::PolyBezierTo(const TPoint* points, int count) {
  auto& I = *FImpl;
  if (!points || count < 3 || count % 3) return;
  std::vector<TPoint> all;
  all.push_back(I.S.Pos);
  all.insert(all.end(), points, points + count);
  if (I.PathOpen) {
    if (I.Path.elementCount() == 0) I.Path.moveTo(I.S.Pos.X, I.S.Pos.Y);
    for (int i = 0; i + 2 < count; i += 3)
      I.Path.cubicTo(points[i].X, points[i].Y, points[i + 1].X, points[i + 1].Y, points[i + 2].X, points[i + 2].Y);
  } else {
    PolyBezier(all);
  }
  I.S.Pos = points[count - 1];
}

// ---- Fills ----

void TCanvas::FillRect(const TRect& r) {
  auto& I = *FImpl;
  if (r.IsEmpty()) return;
  if (I.Recorder) return I.Record(moFillRect, {r.Left, r.Top, r.Right, r.Bottom});
  I.Begin();
  I.RealizeBrush();
  if (!I.RB.Null) {
    if (QPainter* p = I.Painter()) {
      p->setCompositionMode(QPainter::CompositionMode_SourceOver);
      QPainterPath path;
      path.addRect(QRectF(r.Left, r.Top, r.Width(), r.Height()));
      p->fillPath(path, I.RB.QtBrush);
    }
  }
  I.End();
}

void TCanvas::FrameRect(const TRect& r) {
  auto& I = *FImpl;
  if (r.IsEmpty()) return;
  if (I.Recorder) return I.Record(moFrameRect, {r.Left, r.Top, r.Right, r.Bottom});
  I.Begin();
  I.RealizeBrush();
  if (!I.RB.Null) {
    if (QPainter* p = I.Painter()) {
      p->setCompositionMode(QPainter::CompositionMode_SourceOver);
      QPainterPath path;
      path.addRect(QRectF(r.Left, r.Top, r.Width(), r.Height()));
      if (r.Width() > 2 && r.Height() > 2) path.addRect(QRectF(r.Left + 1, r.Top + 1, r.Width() - 2, r.Height() - 2));
      path.setFillRule(Qt::OddEvenFill);
      p->fillPath(path, I.RB.QtBrush);
    }
  }
  I.End();
}

void TCanvas::DrawFocusRect(const TRect& r) {
  auto& I = *FImpl;
  if (r.IsEmpty()) return;
  if (I.Recorder) return I.Record(moFocusRect, {r.Left, r.Top, r.Right, r.Bottom});
  QImage* img = I.Image();
  if (!img) return;
  I.Begin();
  TPoint a = I.MapPt(r.Left, r.Top), b = I.MapPt(r.Right, r.Bottom);
  int l = std::min(a.X, b.X), rr = std::max(a.X, b.X) - 1, t = std::min(a.Y, b.Y), bb = std::max(a.Y, b.Y) - 1;
  TPixelClip clip(I, img);
  auto flip = [&](int x, int y) {
    if (((x + y) & 1) == 0 && clip.Visible(x, y)) I.PlotPixel(img, x, y, 0, R2_NOT);
  };
  for (int x = l; x <= rr; ++x) {
    flip(x, t);
    if (bb != t) flip(x, bb);
  }
  for (int y = t + 1; y < bb; ++y) {
    flip(l, y);
    if (rr != l) flip(rr, y);
  }
  I.End();
}

TColor TCanvas::ReadPixel(int x, int y) const {
  auto& I = *FImpl;
  QImage* img = I.Image();
  if (!img) return CLR_INVALID;
  TPoint d = I.MapPt(x, y);
  if (!I.PixelVisible(d.X, d.Y, img)) return CLR_INVALID;
  QRgb c = img->pixel(d.X, d.Y);
  return static_cast<TColor>(RGB(qRed(c), qGreen(c), qBlue(c)));
}

TColor TCanvas::WritePixel(int x, int y, TColor color) {
  auto& I = *FImpl;
  if (I.Recorder) {
    I.Record(moPixel, {x, y, color});
    return static_cast<TColor>(ColorToRGB(color));
  }
  QImage* img = I.Image();
  if (!img) {
    if (QPainter* p = I.Painter()) {
      p->setCompositionMode(QPainter::CompositionMode_SourceOver);
      p->fillRect(QRectF(x, y, 1, 1), QColor(GfxRgb(color)));
    }
    return static_cast<TColor>(ColorToRGB(color));
  }
  I.Begin();
  TPoint d = I.MapPt(x, y);
  if (I.PixelVisible(d.X, d.Y, img)) I.PlotPixel(img, d.X, d.Y, GfxRgb(color), R2_COPYPEN);
  I.End();
  return static_cast<TColor>(ColorToRGB(color));
}

void TCanvas::FloodFill(int x, int y, TColor color, bool surface) {
  auto& I = *FImpl;
  QImage* img = I.Image();
  if (!img || I.Recorder) return;
  TPoint d = I.MapPt(x, y);
  if (!I.PixelVisible(d.X, d.Y, img)) return;
  I.RealizeBrush();
  if (I.RB.Null) return;
  I.Begin();
  QRgb key = GfxRgb(color) & 0xFFFFFF;
  const int W = img->width(), H = img->height();
  std::vector<uint8_t> mask(static_cast<size_t>(W) * H, 0);
  auto match = [&](int px, int py) {
    QRgb c = img->pixel(px, py) & 0xFFFFFF;
    return surface ? c == key : c != key;
  };
  TPixelClip clip(I, img);
  std::vector<TPoint> stack{d};
  while (!stack.empty()) {
    TPoint p = stack.back();
    stack.pop_back();
    if (p.X < 0 || p.Y < 0 || p.X >= W || p.Y >= H) continue;
    uint8_t& m = mask[static_cast<size_t>(p.Y) * W + p.X];
    if (m || !match(p.X, p.Y) || !clip.Visible(p.X, p.Y)) continue;
    m = 1;
    stack.push_back({p.X + 1, p.Y});
    stack.push_back({p.X - 1, p.Y});
    stack.push_back({p.X, p.Y + 1});
    stack.push_back({p.X, p.Y - 1});
  }
  std::vector<QRect> rects;
  for (int py = 0; py < H; ++py) {
    int run = -1;
    for (int px = 0; px <= W; ++px) {
      bool in = px < W && mask[static_cast<size_t>(py) * W + px];
      if (in && run < 0) run = px;
      if (!in && run >= 0) { rects.emplace_back(run, py, px - run, 1); run = -1; }
    }
  }
  if (!rects.empty()) {
    QRegion rgn;
    rgn.setRects(rects.data(), static_cast<int>(rects.size()));
    if (QPainter* p = I.Painter()) {
      p->save();
      p->resetTransform();
      p->setClipRegion(rgn, Qt::IntersectClip);
      p->setCompositionMode(QPainter::CompositionMode_SourceOver);
      QBrush br = I.RB.QtBrush;
      br.setTransform(QTransform::fromTranslate(I.S.BrushOrg.X, I.S.BrushOrg.Y));
      p->fillRect(rgn.boundingRect(), br);
      p->restore();
    }
  }
  I.End();
}

// ---- Text ----

void TCanvasImpl::DrawTextRun(int x, int y, unsigned options, const TRect* rect, const std::string& text,
                              const int* dx) {
  RealizeFont();
  const TFontFace& face = *Face;
  QString qs = Q(text);
  int w = 0;
  if (dx) {
    for (qsizetype i = 0; i < qs.size(); ++i) w += dx[i];
  } else {
    w = TextWidth(text);
  }
  TPoint ref{x, y};
  if (S.TextAlign & TA_UPDATECP) ref = S.Pos;
  unsigned h = S.TextAlign & TA_CENTER;
  double x0 = h == TA_CENTER ? -w / 2 : h == TA_RIGHT ? -w : 0;
  unsigned v = S.TextAlign & TA_BASELINE;
  double base = v == TA_BASELINE ? 0 : v == TA_BOTTOM ? -face.Descent : face.Ascent;
  if (S.TextAlign & TA_UPDATECP) {
    if (h == TA_LEFT) S.Pos.X += w;
    else if (h == TA_RIGHT) S.Pos.X -= w;
  }
  QPainter* p = Painter();
  if (!p) return;
  p->save();
  p->setCompositionMode(QPainter::CompositionMode_SourceOver);
  if (rect && (options & (ETO_OPAQUE | ETO_CLIPPED))) {
    QRectF rr(rect->Left, rect->Top, rect->Width(), rect->Height());
    if (options & ETO_OPAQUE) p->fillRect(rr, QColor(GfxRgb(S.BkColor)));
    if (options & ETO_CLIPPED) p->setClipRect(rr, Qt::IntersectClip);
  }
  // Scaled apart in x and y, the text is drawn at the vertical scale in both
  // (widths and offsets along the line go into its own units).
  const double k = TextXScale();
  if (k != 1) {
    const QPointF at = p->transform().map(QPointF(ref.X, ref.Y));
    const QTransform t = p->transform();
    p->setTransform(QTransform(t.m11() / k, 0, 0, t.m22(), at.x(), at.y()));
    x0 *= k;
    w = static_cast<int>(std::lround(w * k));
  } else {
    p->translate(ref.X, ref.Y);
  }
  int esc = Owner->Font()->Orientation();
  if (esc) p->rotate(-esc / 10.0);
  if (S.BkMode == OPAQUE && !text.empty())
    p->fillRect(QRectF(x0, base - face.Ascent, w, face.Ascent + face.Descent), QColor(GfxRgb(S.BkColor)));
  p->setFont(QtFont);
  p->setPen(QColor(GfxRgb(S.TextColor)));
  p->setBackgroundMode(Qt::TransparentMode);
  if (dx) {
    double cx = x0;
    for (qsizetype i = 0; i < qs.size(); ++i) {
      p->drawText(QPointF(cx, base), QString(qs[i]));
      cx += dx[i] * k;
    }
  } else if (TTextGlyphs glyphs;
             KeepsGlyphs(p, text) && GfxTextGlyphs(face, text, p->device(), p->layoutDirection(), glyphs)) {
    for (const QGlyphRun& run : glyphs.Runs) p->drawGlyphRun(QPointF(x0, base - glyphs.Ascent), run);
  } else {
    p->drawText(QPointF(x0, base), qs);
  }
  p->restore();
  PainterStateValid = false;
  ApplyPainterState(p);
  PainterStateValid = true;
}

bool TCanvasImpl::KeepsGlyphs(const QPainter* p, const std::string& text) const {
  if (p->device()->devType() != QInternal::Image || p->transform().type() > QTransform::TxTranslate) return false;
  if (QtFont.underline() || QtFont.strikeOut() || QtFont.overline()) return false;
  // Line and paragraph breaks are drawText's own business.
  return std::none_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; });
}

bool TCanvas::ExtTextOut(int x, int y, unsigned options, const TRect* rect, const std::string& text, const int* dx) {
  auto& I = *FImpl;
  if (I.PathOpen) {
    const int w = I.TextWidth(text);
    const TFontFace& face = *I.Face;
    unsigned h = I.S.TextAlign & TA_CENTER, v = I.S.TextAlign & TA_BASELINE;
    double x0 = x + (h == TA_CENTER ? -w / 2 : h == TA_RIGHT ? -w : 0);
    double b = y + (v == TA_BASELINE ? 0 : v == TA_BOTTOM ? -face.Descent : face.Ascent);
    I.Path.addText(QPointF(x0, b), I.QtFont, Q(text));
    return true;
  }
  if (I.Recorder) {
    std::vector<int> a{x, y, static_cast<int>(options), rect ? 1 : 0};
    if (rect) a.insert(a.end(), {rect->Left, rect->Top, rect->Right, rect->Bottom});
    std::vector<int> adv;
    if (dx) adv.assign(dx, dx + Q(text).size());
    I.Record(moText, a, {}, adv, text);
    if (I.S.TextAlign & TA_UPDATECP) I.S.Pos.X += TextExtent(text).cx;
    return true;
  }
  I.Begin();
  I.DrawTextRun(x, y, options, rect, text, dx);
  I.End();
  return true;
}

void TCanvas::TextOut(int x, int y, const std::string& text) {
  ExtTextOut(x, y, 0, nullptr, text);
  if (!(FImpl->S.TextAlign & TA_UPDATECP)) FImpl->S.Pos = {x + TextWidth(text), y};
}

void TCanvas::TextRect(const TRect& r, int x, int y, const std::string& text) {
  ExtTextOut(x, y, FImpl->S.BkMode == OPAQUE ? (ETO_CLIPPED | ETO_OPAQUE) : ETO_CLIPPED, &r, text);
}

TSize TCanvas::GetTextExtentPoint(const std::string& text) {
  auto& I = *FImpl;
  const int width = I.TextWidth(text);
  return {width, I.Face->Ascent + I.Face->Descent};
}

TSize TCanvas::TextExtent(const std::string& text) { return GetTextExtentPoint(text); }

bool TCanvas::GetTextMetrics(TTextMetric& tm) {
  auto& I = *FImpl;
  I.RealizeFont();
  QFontMetrics fm(I.QtFont);
  tm = TTextMetric();
  tm.tmAscent = fm.ascent();
  tm.tmDescent = fm.descent();
  tm.tmHeight = tm.tmAscent + tm.tmDescent;
  int em = I.QtFont.pixelSize() > 0 ? I.QtFont.pixelSize() : tm.tmHeight;
  tm.tmInternalLeading = std::max(0, tm.tmHeight - em);
  tm.tmExternalLeading = std::max(0, fm.leading());
  tm.tmAveCharWidth = fm.averageCharWidth();
  tm.tmMaxCharWidth = fm.maxWidth();
  TFontStyles st = Font()->Style();
  tm.tmWeight = st.Contains(fsBold) ? 700 : 400;
  tm.tmItalic = st.Contains(fsItalic);
  tm.tmUnderlined = st.Contains(fsUnderline);
  tm.tmStruckOut = st.Contains(fsStrikeOut);
  tm.tmCharSet = Font()->Charset();
  return true;
}

namespace {

// Removes '&' prefixes ("&&" stays one '&').
std::string StripPrefix(const std::string& s) {
  std::string out;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '&') {
      if (i + 1 < s.size() && s[i + 1] == '&') { out += '&'; ++i; }
      continue;
    }
    out += s[i];
  }
  return out;
}

std::string ExpandTabs(const std::string& s) {
  std::string out;
  for (char c : s) {
    if (c == '\t') {
      do out += ' '; while (out.size() % 8);
    } else {
      out += c;
    }
  }
  return out;
}

}  // namespace

int TCanvas::DrawText(const std::string& text, TRect& rect, unsigned format) {
  auto& I = *FImpl;
  I.RealizeFont();
  const std::shared_ptr<const TFontFace> face = I.Face;
  auto width = [&](const std::string& s) { return GfxTextWidth(*face, s); };
  std::string t = format & DT_NOPREFIX ? text : StripPrefix(text);
  if (format & DT_EXPANDTABS) t = ExpandTabs(t);
  std::vector<std::string> lines;
  if (format & DT_SINGLELINE) {
    for (char& c : t) if (c == '\r' || c == '\n') c = ' ';
    lines.push_back(t);
  } else {
    std::string cur;
    for (size_t i = 0; i < t.size(); ++i) {
      if (t[i] == '\r' || t[i] == '\n') {
        lines.push_back(cur);
        cur.clear();
        if (t[i] == '\r' && i + 1 < t.size() && t[i + 1] == '\n') ++i;
      } else {
        cur += t[i];
      }
    }
    lines.push_back(cur);
  }
  const int maxW = rect.Width();
  if ((format & DT_WORDBREAK) && !(format & DT_SINGLELINE)) {
    std::vector<std::string> wrapped;
    for (const std::string& line : lines) {
      std::string cur;
      size_t i = 0;
      while (i <= line.size()) {
        size_t j = line.find(' ', i);
        if (j == std::string::npos) j = line.size();
        std::string word = line.substr(i, j - i);
        std::string trial = cur.empty() ? word : cur + " " + word;
        if (!cur.empty() && width(trial) > maxW) {
          wrapped.push_back(cur);
          cur = word;
        } else {
          cur = trial;
        }
        i = j + 1;
      }
      wrapped.push_back(cur);
    }
    lines = wrapped;
  }
  if (format & (DT_END_ELLIPSIS | DT_PATH_ELLIPSIS | DT_WORD_ELLIPSIS)) {
    for (std::string& line : lines) {
      if (width(line) <= maxW) continue;
      std::string s = line;
      while (!s.empty() && width(s + "...") > maxW) {
        size_t k = s.size() - 1;
        while (k > 0 && (static_cast<unsigned char>(s[k]) & 0xC0) == 0x80) --k;  // keep UTF-8 characters whole
        s.erase(k);
      }
      line = s + "...";
    }
  }
  int lh = face->Ascent + face->Descent + ((format & DT_EXTERNALLEADING) ? std::max(0, face->Leading) : 0);
  int total = lh * static_cast<int>(lines.size());
  int maxLine = 0;
  for (const std::string& l : lines) maxLine = std::max(maxLine, width(l));
  if (format & DT_CALCRECT) {
    rect.Right = rect.Left + maxLine;
    rect.Bottom = rect.Top + total;
    return total;
  }
  int top = rect.Top;
  if (format & DT_SINGLELINE) {
    if (format & DT_VCENTER) top = rect.Top + (rect.Height() - lh) / 2;
    else if (format & DT_BOTTOM) top = rect.Bottom - lh;
  }
  unsigned savedAlign = SetTextAlign(TA_LEFT | TA_TOP);
  for (size_t k = 0; k < lines.size(); ++k) {
    int w = width(lines[k]);
    int x = rect.Left;
    if (format & DT_CENTER) x = rect.Left + (rect.Width() - w) / 2;
    else if (format & DT_RIGHT) x = rect.Right - w;
    int y = top + static_cast<int>(k) * lh;
    if (format & DT_NOCLIP) ExtTextOut(x, y, 0, nullptr, lines[k]);
    else ExtTextOut(x, y, ETO_CLIPPED, &rect, lines[k]);
  }
  SetTextAlign(savedAlign);
  if (format & DT_VCENTER && format & DT_SINGLELINE) return top - rect.Top + lh;
  return total;
}

// ---- Device state ----

int TCanvas::SetBkMode(int mode) {
  int old = FImpl->S.BkMode;
  if (mode == OPAQUE || mode == TRANSPARENT) {
    FImpl->S.BkMode = mode;
    FImpl->BrushValid = false;
  }
  return old;
}
int TCanvas::GetBkMode() const { return FImpl->S.BkMode; }
TColor TCanvas::SetBkColor(TColor color) {
  TColor old = FImpl->S.BkColor;
  FImpl->S.BkColor = static_cast<TColor>(ColorToRGB(color));
  FImpl->BrushValid = false;
  return old;
}
TColor TCanvas::GetBkColor() const { return FImpl->S.BkColor; }
TColor TCanvas::SetTextColor(TColor color) {
  TColor old = FImpl->S.TextColor;
  FImpl->S.TextColor = static_cast<TColor>(ColorToRGB(color));
  FImpl->BrushValid = false;
  return old;
}
TColor TCanvas::GetTextColor() const { return FImpl->S.TextColor; }
unsigned TCanvas::SetTextAlign(unsigned flags) {
  unsigned old = FImpl->S.TextAlign;
  FImpl->S.TextAlign = flags;
  return old;
}
unsigned TCanvas::GetTextAlign() const { return FImpl->S.TextAlign; }
int TCanvas::SetROP2(int rop) {
  int old = FImpl->S.Rop2;
  if (rop >= R2_BLACK && rop <= R2_WHITE) FImpl->S.Rop2 = rop;
  return old;
}
int TCanvas::GetROP2() const { return FImpl->S.Rop2; }
int TCanvas::SetPolyFillMode(int mode) {
  int old = FImpl->S.PolyFill;
  if (mode == ALTERNATE || mode == WINDING) FImpl->S.PolyFill = mode;
  return old;
}
int TCanvas::GetPolyFillMode() const { return FImpl->S.PolyFill; }
int TCanvas::SetTextCharacterExtra(int extra) {
  int old = FImpl->S.CharExtra;
  FImpl->S.CharExtra = extra;
  FImpl->FontValid = false;
  return old;
}
int TCanvas::GetTextCharacterExtra() const { return FImpl->S.CharExtra; }
int TCanvas::SetArcDirection(int direction) {
  int old = FImpl->S.ArcDir;
  if (direction == AD_CLOCKWISE || direction == AD_COUNTERCLOCKWISE) FImpl->S.ArcDir = direction;
  return old;
}
int TCanvas::GetArcDirection() const { return FImpl->S.ArcDir; }
TPoint TCanvas::SetBrushOrg(int x, int y) {
  TPoint old = FImpl->S.BrushOrg;
  FImpl->S.BrushOrg = {x, y};
  FImpl->BrushValid = false;
  return old;
}
TColor TCanvas::SetDCBrushColor(TColor color) {
  TColor old = FImpl->S.DCBrushColor ? *FImpl->S.DCBrushColor : FBrush->Color();
  FImpl->S.DCBrushColor = color;
  FImpl->BrushValid = false;
  if (FImpl->Recorder) {
    // a recording keeps plain brush changes
    auto saved = FBrush->OnChange;
    FBrush->OnChange = nullptr;
    FBrush->SetColor(color);
    FBrush->SetStyle(bsSolid);
    FBrush->OnChange = saved;
    FImpl->S.DCBrushColor.reset();
  }
  return old;
}
TColor TCanvas::SetDCPenColor(TColor color) {
  TColor old = FPen->Color();
  auto saved = FPen->OnChange;
  FPen->OnChange = nullptr;
  FPen->SetColor(color);
  FPen->OnChange = saved;
  FImpl->PenValid = false;
  return old;
}

int TCanvas::SaveDC() {
  auto& I = *FImpl;
  TCanvasImpl::TSaved s;
  s.State = I.S;
  s.Objects = std::make_unique<TSavedDC>();
  s.Objects->Pen.Assign(FPen.get());
  s.Objects->Brush.Assign(FBrush.get());
  s.Objects->Font.Assign(FFont.get());
  I.SaveStack.push_back(std::move(s));
  return static_cast<int>(I.SaveStack.size());
}

bool TCanvas::RestoreDC(int savedDC) {
  auto& I = *FImpl;
  int n = static_cast<int>(I.SaveStack.size());
  int idx = savedDC < 0 ? n + savedDC : savedDC - 1;
  if (idx < 0 || idx >= n) return false;
  TCanvasImpl::TSaved s = std::move(I.SaveStack[idx]);
  I.SaveStack.resize(idx);
  FPen->Assign(&s.Objects->Pen);
  FBrush->Assign(&s.Objects->Brush);
  FFont->Assign(&s.Objects->Font);
  I.S = s.State;
  I.PenValid = I.BrushValid = I.FontValid = false;
  I.UpdateTransform();
  return true;
}

// ---- Clipping ----

namespace {
QRect DeviceBounds(TCanvasImpl& I) {
  return QRect(0, 0, std::max(0, I.Owner->DeviceWidth()), std::max(0, I.Owner->DeviceHeight()));
}
int KindOf(const TCanvasImpl& I) {
  if (!I.S.HasClip) return SIMPLEREGION;
  if (I.S.Clip.isEmpty()) return NULLREGION;
  return I.S.Clip.rectCount() == 1 ? SIMPLEREGION : COMPLEXREGION;
}
QRect DeviceRect(TCanvasImpl& I, int l, int t, int r, int b) {
  QPointF a = I.Map(l, t), c = I.Map(r, b);
  int x0 = static_cast<int>(std::lround(std::min(a.x(), c.x()))), x1 = static_cast<int>(std::lround(std::max(a.x(), c.x())));
  int y0 = static_cast<int>(std::lround(std::min(a.y(), c.y()))), y1 = static_cast<int>(std::lround(std::max(a.y(), c.y())));
  return QRect(x0, y0, x1 - x0, y1 - y0);
}
void SetClip(TCanvasImpl& I, bool has, const QRegion& r) {
  I.S.HasClip = has;
  I.S.Clip = has ? r : QRegion();
  I.PainterStateValid = false;
}
void CombineClip(TCanvasImpl& I, const QRegion& r, int mode) {
  QRegion cur = I.S.HasClip ? I.S.Clip : QRegion(DeviceBounds(I));
  switch (mode) {
    case RGN_AND: SetClip(I, true, cur.intersected(r)); break;
    case RGN_OR: SetClip(I, true, cur.united(r)); break;
    case RGN_XOR: SetClip(I, true, cur.xored(r)); break;
    case RGN_DIFF: SetClip(I, true, cur.subtracted(r)); break;
    default: SetClip(I, true, r); break;
  }
}
}  // namespace

int TCanvas::SelectClipRgn(HRGN rgn) {
  auto& I = *FImpl;
  if (!rgn) SetClip(I, false, {});
  else SetClip(I, true, rgn->Data()->Region);
  return KindOf(I);
}

int TCanvas::ExtSelectClipRgn(HRGN rgn, int mode) {
  auto& I = *FImpl;
  if (!rgn) {
    if (mode != RGN_COPY) return RGN_ERROR;
    SetClip(I, false, {});
    return KindOf(I);
  }
  CombineClip(I, rgn->Data()->Region, mode);
  return KindOf(I);
}

int TCanvas::GetClipRgn(HRGN rgn) const {
  auto& I = *FImpl;
  if (!I.S.HasClip) return 0;
  if (rgn) rgn->Data()->Region = I.S.Clip;
  return 1;
}

bool TCanvas::HasClip() const { return FImpl->S.HasClip; }

int TCanvas::IntersectClipRect(int left, int top, int right, int bottom) {
  auto& I = *FImpl;
  CombineClip(I, QRegion(DeviceRect(I, left, top, right, bottom)), RGN_AND);
  return KindOf(I);
}

int TCanvas::ExcludeClipRect(int left, int top, int right, int bottom) {
  auto& I = *FImpl;
  CombineClip(I, QRegion(DeviceRect(I, left, top, right, bottom)), RGN_DIFF);
  return KindOf(I);
}

int TCanvas::GetClipBox(TRect& rect) const {
  auto& I = *FImpl;
  QRect b = I.S.HasClip ? I.S.Clip.boundingRect() : DeviceBounds(I);
  if (b.isEmpty()) {
    rect = {};
    return NULLREGION;
  }
  TPoint a = I.UnmapPt(b.left(), b.top()), c = I.UnmapPt(b.right() + 1, b.bottom() + 1);
  rect = {std::min(a.X, c.X), std::min(a.Y, c.Y), std::max(a.X, c.X), std::max(a.Y, c.Y)};
  return KindOf(I);
}

// ---- Paths ----

bool TCanvas::BeginPath() {
  auto& I = *FImpl;
  I.PathOpen = true;
  I.PathDone = false;
  I.Path = QPainterPath();
  return true;
}
bool TCanvas::EndPath() {
  auto& I = *FImpl;
  if (!I.PathOpen) return false;
  I.PathOpen = false;
  I.PathDone = true;
  return true;
}
bool TCanvas::AbortPath() {
  auto& I = *FImpl;
  I.PathOpen = I.PathDone = false;
  I.Path = QPainterPath();
  return true;
}
bool TCanvas::CloseFigure() {
  auto& I = *FImpl;
  if (!I.PathOpen) return false;
  I.Path.closeSubpath();
  return true;
}
bool TCanvas::InPath() const { return FImpl->PathOpen; }

namespace {
bool UsePath(TCanvasImpl& I, int mode) {  // 1 stroke, 2 fill, 3 both
  if (!I.PathDone) return false;
  QPainterPath path = I.Path;
  I.Path = QPainterPath();
  I.PathDone = false;
  if (I.Recorder) {
    std::vector<TPoint> pts;
    std::vector<int> counts;
    for (const QPolygonF& poly : path.toSubpathPolygons()) {
      bool closed = poly.size() > 2 && poly.front() == poly.back();
      int n = 0;
      for (qsizetype i = 0; i < poly.size() - (closed ? 1 : 0); ++i, ++n)
        pts.push_back({static_cast<int>(std::lround(poly[i].x())), static_cast<int>(std::lround(poly[i].y()))});
      counts.push_back(closed ? -n : n);
    }
    I.Record(moPath, {mode, static_cast<int>(path.fillRule())}, pts, counts);
    return true;
  }
  I.Begin();
  if (mode & 2) {
    QPainterPath f = path;
    f.setFillRule(I.S.PolyFill == WINDING ? Qt::WindingFill : Qt::OddEvenFill);
    if (path.fillRule() == Qt::WindingFill) f.setFillRule(Qt::WindingFill);
    I.FillShape(f);
  }
  if (mode & 1) {
    I.RealizePen();
    if (!I.RP.Null) {
      if (I.RP.Cosmetic && I.Kind == ckRaster) {
        for (const QPolygonF& poly : path.toSubpathPolygons()) {
          std::vector<TPoint> pts;
          for (const QPointF& q : poly) pts.push_back({static_cast<int>(std::lround(q.x())), static_cast<int>(std::lround(q.y()))});
          bool closed = pts.size() > 2 && pts.front() == pts.back();
          if (closed) pts.pop_back();
          I.PatternPos = 0;
          I.CosmeticPolyline(pts, closed);
        }
      } else {
        I.StrokeShape(path.translated(I.RP.Cosmetic ? 0 : 0.5, I.RP.Cosmetic ? 0 : 0.5));
      }
    }
  }
  I.End();
  return true;
}
}  // namespace

bool TCanvas::StrokePath() { return UsePath(*FImpl, 1); }
bool TCanvas::FillPath() { return UsePath(*FImpl, 2); }
bool TCanvas::StrokeAndFillPath() { return UsePath(*FImpl, 3); }

bool TCanvas::WidenPath() {
  auto& I = *FImpl;
  if (!I.PathDone) return false;
  I.RealizePen();
  QPainterPathStroker st;
  st.setWidth(std::max(1.0, I.RP.Width));
  st.setCapStyle(I.RP.QtPen.capStyle());
  st.setJoinStyle(I.RP.QtPen.joinStyle());
  QPainterPath w = st.createStroke(I.Path);
  w.setFillRule(Qt::WindingFill);
  I.Path = w.simplified();
  I.Path.setFillRule(Qt::WindingFill);
  return true;
}

bool TCanvas::FlattenPath() {
  auto& I = *FImpl;
  if (!I.PathDone) return false;
  QPainterPath flat;
  for (const QPolygonF& poly : I.Path.toSubpathPolygons()) flat.addPolygon(poly);
  I.Path = flat;
  return true;
}

bool TCanvas::SelectClipPath(int mode) {
  auto& I = *FImpl;
  if (!I.PathDone) return false;
  QPainterPath dev = I.Xf.map(I.Path);
  dev.setFillRule(I.Path.fillRule() == Qt::WindingFill || I.S.PolyFill == WINDING ? Qt::WindingFill : Qt::OddEvenFill);
  I.Path = QPainterPath();
  I.PathDone = false;
  CombineClip(I, GfxPathRegion(dev), mode);
  return true;
}

HRGN TCanvas::PathToRegion() {
  auto& I = *FImpl;
  if (!I.PathDone) return nullptr;
  QPainterPath dev = I.Xf.map(I.Path);
  dev.setFillRule(I.S.PolyFill == WINDING ? Qt::WindingFill : Qt::OddEvenFill);
  I.Path = QPainterPath();
  I.PathDone = false;
  auto* r = new TRegion();
  r->Data()->Region = GfxPathRegion(dev);
  return r;
}

// ---- Coordinates ----

int TCanvas::SetMapMode(int mode) {
  auto& I = *FImpl;
  int old = I.S.MapMode;
  if (mode < MM_TEXT || mode > MM_ANISOTROPIC) return 0;
  I.S.MapMode = mode;
  if (mode == MM_TEXT) { I.S.WinExt = I.S.VpExt = {1, 1}; }
  I.UpdateTransform();
  return old;
}
int TCanvas::GetMapMode() const { return FImpl->S.MapMode; }
TPoint TCanvas::SetWindowOrgEx(int x, int y) {
  TPoint old = FImpl->S.WinOrg;
  FImpl->S.WinOrg = {x, y};
  FImpl->UpdateTransform();
  return old;
}
TPoint TCanvas::SetViewportOrgEx(int x, int y) {
  TPoint old = FImpl->S.VpOrg;
  FImpl->S.VpOrg = {x, y};
  FImpl->UpdateTransform();
  return old;
}
TSize TCanvas::SetWindowExtEx(int x, int y) {
  TSize old = FImpl->S.WinExt;
  if (x == 0 || y == 0) return old;
  if (FImpl->S.MapMode == MM_ANISOTROPIC || FImpl->S.MapMode == MM_ISOTROPIC) {
    FImpl->S.WinExt = {x, y};
    FImpl->UpdateTransform();
  }
  return old;
}
TSize TCanvas::SetViewportExtEx(int x, int y) {
  TSize old = FImpl->S.VpExt;
  if (x == 0 || y == 0) return old;
  if (FImpl->S.MapMode == MM_ANISOTROPIC || FImpl->S.MapMode == MM_ISOTROPIC) {
    FImpl->S.VpExt = {x, y};
    FImpl->UpdateTransform();
  }
  return old;
}
TPoint TCanvas::GetWindowOrgEx() const { return FImpl->S.WinOrg; }
TPoint TCanvas::GetViewportOrgEx() const { return FImpl->S.VpOrg; }
TSize TCanvas::GetWindowExtEx() const { return FImpl->S.WinExt; }
TSize TCanvas::GetViewportExtEx() const { return FImpl->S.VpExt; }
TPoint TCanvas::OffsetWindowOrgEx(int dx, int dy) {
  TPoint o = FImpl->S.WinOrg;
  return SetWindowOrgEx(o.X + dx, o.Y + dy);
}
TPoint TCanvas::OffsetViewportOrgEx(int dx, int dy) {
  TPoint o = FImpl->S.VpOrg;
  return SetViewportOrgEx(o.X + dx, o.Y + dy);
}
void TCanvas::LPtoDP(TPoint* points, int count) const {
  for (int i = 0; i < count; ++i) points[i] = FImpl->MapPt(points[i].X, points[i].Y);
}
void TCanvas::DPtoLP(TPoint* points, int count) const {
  for (int i = 0; i < count; ++i) points[i] = FImpl->UnmapPt(points[i].X, points[i].Y);
}

// ---- Bit-block transfers ----

namespace {
// The device rectangle of a logical rectangle; mirrored when the mapping or
// the signs of the sizes turn it round.
struct TDevRect {
  QRect R;
  bool MirrorX = false, MirrorY = false;
};
TDevRect MapRect(TCanvasImpl& I, int x, int y, int w, int h) {
  QPointF a = I.Map(x, y), b = I.Map(x + w, y + h);
  TDevRect d;
  int x0 = static_cast<int>(std::lround(a.x())), x1 = static_cast<int>(std::lround(b.x()));
  int y0 = static_cast<int>(std::lround(a.y())), y1 = static_cast<int>(std::lround(b.y()));
  d.MirrorX = x1 < x0;
  d.MirrorY = y1 < y0;
  d.R = QRect(std::min(x0, x1), std::min(y0, y1), std::abs(x1 - x0), std::abs(y1 - y0));
  return d;
}

// Pixels of a canvas's surface (raster canvases only).
const QImage* SourceImage(TCanvas* c) { return c ? c->Impl()->Image() : nullptr; }

QImage CopyRegion(const QImage& src, const QRect& r) {
  QImage out(r.size(), QImage::Format_ARGB32);
  out.fill(0xFF000000u);
  QImage s = src.format() == QImage::Format_ARGB32 ? src : src.convertToFormat(QImage::Format_ARGB32);
  QRect in = r.intersected(s.rect());
  for (int y = in.top(); y <= in.bottom(); ++y) {
    const QRgb* sp = reinterpret_cast<const QRgb*>(s.constScanLine(y));
    QRgb* dp = reinterpret_cast<QRgb*>(out.scanLine(y - r.top()));
    for (int x = in.left(); x <= in.right(); ++x) dp[x - r.left()] = sp[x];
  }
  return out;
}
}  // namespace

// A plain copy between opaque images of one size whose destination is all
// visible is the source's rows as they are: no intermediate images (a chart
// pass ends with such a copy of its whole buffer).
bool TCanvasImpl::CopyRowsDirectly(const QImage& src, const QRect& srcRect, const TRect& d, uint32_t rop,
                                   int constAlpha, bool srcAlpha) {
  if (Recorder || constAlpha >= 0 || srcAlpha || (rop & 0x00FF0000u) != (SRCCOPY & 0x00FF0000u)) return false;
  if (d.Width() <= 0 || d.Height() <= 0 || src.format() != QImage::Format_RGB32) return false;
  QImage* img = Image();
  if (!img || img->format() != QImage::Format_RGB32 || img->constBits() == src.constBits()) return false;
  const TDevRect dr = MapRect(*this, d.Left, d.Top, d.Width(), d.Height());
  if (dr.MirrorX || dr.MirrorY || dr.R.size() != srcRect.size() || !src.rect().contains(srcRect) ||
      !img->rect().contains(dr.R))
    return false;
  const TPixelClip clip(*this, img);
  if (!clip.Holds(dr.R.left(), dr.R.top(), dr.R.right(), dr.R.bottom())) return false;
  const size_t bytes = static_cast<size_t>(dr.R.width()) * 4;
  for (int y = 0; y < dr.R.height(); ++y)
    std::memcpy(img->scanLine(dr.R.top() + y) + static_cast<size_t>(dr.R.left()) * 4,
                src.constScanLine(srcRect.top() + y) + static_cast<size_t>(srcRect.left()) * 4, bytes);
  return true;
}

void TCanvasImpl::BlitImage(const QImage& src, const QRect& srcRect, const TRect& d, uint32_t rop, int constAlpha,
                            bool srcAlpha) {
  if (d.Width() == 0 || d.Height() == 0) return;
  if (CopyRowsDirectly(src, srcRect, d, rop, constAlpha, srcAlpha)) return;
  QImage part = CopyRegion(src, srcRect);
  if (Recorder) {
    Record(constAlpha >= 0 ? moAlphaImage : moImage,
           {d.Left, d.Top, d.Right, d.Bottom, static_cast<int>(rop), constAlpha, srcAlpha ? 1 : 0}, {}, {}, {},
           std::make_shared<QImage>(part));
    return;
  }
  TDevRect dr = MapRect(*this, d.Left, d.Top, d.Width(), d.Height());
  if (dr.R.isEmpty()) return;
  bool mx = dr.MirrorX != (d.Width() < 0), my = dr.MirrorY != (d.Height() < 0);
  if (mx || my) part = part.mirrored(mx, my);
  if (part.size() != dr.R.size())
    part = part.scaled(dr.R.size(), Qt::IgnoreAspectRatio, Qt::FastTransformation);
  QImage* img = Image();
  uint32_t code = rop & 0x00FF0000u;
  bool plainCopy = code == (SRCCOPY & 0x00FF0000u);
  if (!img || plainCopy || constAlpha >= 0 || srcAlpha) {
    QPainter* p = Painter();
    if (!p) return;
    p->save();
    p->resetTransform();
    if (constAlpha >= 0 || srcAlpha) {
      p->setCompositionMode(QPainter::CompositionMode_SourceOver);
      if (constAlpha >= 0) p->setOpacity(constAlpha / 255.0);
      if (!srcAlpha) {
        part = part.convertToFormat(QImage::Format_RGB32);
      } else {
        part.reinterpretAsFormat(QImage::Format_ARGB32_Premultiplied);
      }
    } else {
      p->setCompositionMode(QPainter::CompositionMode_Source);
      if (img && img->format() == QImage::Format_RGB32) part = part.convertToFormat(QImage::Format_RGB32);
    }
    p->drawImage(dr.R.topLeft(), part);
    p->restore();
    PainterStateValid = false;
    return;
  }
  // Any other raster operation, bit by bit: pattern (the brush), source, destination.
  RealizeBrush();
  QImage pat;
  if (!RB.Null && !RB.Solid) pat = RB.QtBrush.textureImage().convertToFormat(QImage::Format_ARGB32);
  uint32_t solid = RB.Null ? 0 : (RB.Ref & 0xFF) << 16 | (RB.Ref & 0xFF00) | (RB.Ref >> 16 & 0xFF);
  TPixelClip clip(*this, img);
  for (int y = 0; y < dr.R.height(); ++y) {
    int dy = dr.R.top() + y;
    const QRgb* sp = reinterpret_cast<const QRgb*>(part.constScanLine(y));
    for (int x = 0; x < dr.R.width(); ++x) {
      int dx = dr.R.left() + x;
      if (!clip.Visible(dx, dy)) continue;
      uint32_t pv = solid;
      if (!pat.isNull()) pv = pat.pixel(((dx - S.BrushOrg.X) % pat.width() + pat.width()) % pat.width(),
                                         ((dy - S.BrushOrg.Y) % pat.height() + pat.height()) % pat.height());
      QRgb dv = img->pixel(dx, dy);
      uint32_t r = Rop3(rop, pv & 0xFFFFFF, sp[x] & 0xFFFFFF, dv & 0xFFFFFF) & 0xFFFFFF;
      img->setPixel(dx, dy, r | 0xFF000000u);
    }
  }
}

bool TCanvas::BitBlt(int x, int y, int width, int height, TCanvas* source, int sx, int sy, uint32_t rop) {
  return StretchBlt(x, y, width, height, source, sx, sy, width, height, rop);
}

bool TCanvas::StretchBlt(int x, int y, int width, int height, TCanvas* source, int sx, int sy, int sw, int sh,
                         uint32_t rop) {
  auto& I = *FImpl;
  uint32_t idx = (rop >> 16) & 0xFF;
  bool needsSource = ((idx >> 2) & 0x33) != (idx & 0x33);
  QImage empty;
  QRect srcRect;
  const QImage* src = nullptr;
  if (needsSource) {
    src = SourceImage(source);
    if (!src) return false;
    TDevRect sr = MapRect(*source->Impl(), sx, sy, sw, sh);
    srcRect = sr.R;
    if (sr.MirrorX || sr.MirrorY) {
      QImage part = CopyRegion(*src, srcRect).mirrored(sr.MirrorX, sr.MirrorY);
      I.Begin();
      I.BlitImage(part, part.rect(), {x, y, x + width, y + height}, rop);
      I.End();
      return true;
    }
  } else {
    empty = QImage(std::max(1, std::abs(width)), std::max(1, std::abs(height)), QImage::Format_ARGB32);
    empty.fill(0xFF000000u);
    src = &empty;
    srcRect = empty.rect();
  }
  I.Begin();
  I.BlitImage(*src, srcRect, {x, y, x + width, y + height}, rop);
  I.End();
  return true;
}

bool TCanvas::PatBlt(int x, int y, int width, int height, uint32_t rop) {
  return StretchBlt(x, y, width, height, nullptr, 0, 0, width, height, rop);
}

bool TCanvas::AlphaBlend(int x, int y, int width, int height, TCanvas* source, int sx, int sy, int sw, int sh,
                         TBlendFunction blend) {
  auto& I = *FImpl;
  const QImage* src = SourceImage(source);
  if (!src || width <= 0 || height <= 0 || sw <= 0 || sh <= 0) return false;
  TDevRect sr = MapRect(*source->Impl(), sx, sy, sw, sh);
  I.Begin();
  I.BlitImage(*src, sr.R, {x, y, x + width, y + height}, SRCCOPY, blend.SourceConstantAlpha,
              (blend.AlphaFormat & AC_SRC_ALPHA) != 0);
  I.End();
  return true;
}

bool TCanvas::GradientFill(const TTriVertex* v, int vertexCount, const TGradientRect* rects, int rectCount,
                           unsigned mode) {
  auto& I = *FImpl;
  if (!v || !rects || (mode != GRADIENT_FILL_RECT_H && mode != GRADIENT_FILL_RECT_V)) return false;
  for (int k = 0; k < rectCount; ++k) {
    if (rects[k].UpperLeft >= static_cast<unsigned>(vertexCount) || rects[k].LowerRight >= static_cast<unsigned>(vertexCount))
      return false;
  }
  if (I.Recorder) {
    std::vector<int> a{static_cast<int>(mode)};
    for (int k = 0; k < rectCount; ++k) {
      for (const TTriVertex* p : {&v[rects[k].UpperLeft], &v[rects[k].LowerRight]})
        a.insert(a.end(), {p->x, p->y, p->Red, p->Green, p->Blue, p->Alpha});
    }
    I.Record(moGradient, a);
    return true;
  }
  QPainter* p = I.Painter();
  if (!p) return false;
  I.Begin();
  p->save();
  p->resetTransform();
  p->setCompositionMode(QPainter::CompositionMode_SourceOver);
  for (int k = 0; k < rectCount; ++k) {
    const TTriVertex& a = v[rects[k].UpperLeft];
    const TTriVertex& b = v[rects[k].LowerRight];
    TDevRect dr = MapRect(I, a.x, a.y, b.x - a.x, b.y - a.y);
    bool horiz = mode == GRADIENT_FILL_RECT_H;
    bool flip = horiz ? (dr.MirrorX != (b.x < a.x)) : (dr.MirrorY != (b.y < a.y));
    const TTriVertex& c0 = flip ? b : a;
    const TTriVertex& c1 = flip ? a : b;
    int n = horiz ? dr.R.width() : dr.R.height();
    for (int i = 0; i < n; ++i) {
      auto mix = [&](uint16_t s, uint16_t e) {
        long long val = s + (static_cast<long long>(e) - s) * i / std::max(1, n);
        return static_cast<int>(val >> 8);
      };
      QColor col(mix(c0.Red, c1.Red), mix(c0.Green, c1.Green), mix(c0.Blue, c1.Blue));
      if (horiz) p->fillRect(QRect(dr.R.left() + i, dr.R.top(), 1, dr.R.height()), col);
      else p->fillRect(QRect(dr.R.left(), dr.R.top() + i, dr.R.width(), 1), col);
    }
  }
  p->restore();
  I.PainterStateValid = false;
  I.End();
  return true;
}

void TCanvas::Draw(int x, int y, TGraphic* graphic) {
  if (!graphic || graphic->Empty()) return;
  graphic->Draw(this, {x, y, x + graphic->Width(), y + graphic->Height()});
}

void TCanvas::StretchDraw(const TRect& r, TGraphic* graphic) {
  if (!graphic || graphic->Empty()) return;
  graphic->Draw(this, r);
}

void TCanvas::CopyRect(const TRect& dest, TCanvas* source, const TRect& sourceRect) {
  StretchBlt(dest.Left, dest.Top, dest.Width(), dest.Height(), source, sourceRect.Left, sourceRect.Top,
             sourceRect.Width(), sourceRect.Height(), FCopyMode);
}

// ---- Recording and replay ----

bool TMetaState::operator==(const TMetaState& o) const {
  return Pen == o.Pen && PenMode == o.PenMode && BrushColor == o.BrushColor && BrushStyle == o.BrushStyle &&
         BrushPattern == o.BrushPattern && FontName == o.FontName && FontHeight == o.FontHeight &&
         FontStyle == o.FontStyle && FontCharset == o.FontCharset && FontOrientation == o.FontOrientation &&
         FontQuality == o.FontQuality && FontPitch == o.FontPitch && BkColor == o.BkColor && BkMode == o.BkMode &&
         TextColor == o.TextColor && TextAlign == o.TextAlign && Rop2 == o.Rop2 && PolyFill == o.PolyFill &&
         CharExtra == o.CharExtra && ArcDir == o.ArcDir && MapMode == o.MapMode && WinOrg == o.WinOrg &&
         VpOrg == o.VpOrg && WinExt == o.WinExt && VpExt == o.VpExt && HasClip == o.HasClip && Clip == o.Clip;
}

std::shared_ptr<const TMetaState> TCanvasImpl::Snapshot() {
  auto st = std::make_shared<TMetaState>();
  const TPen& pen = *Owner->Pen();
  const TBrush& br = *Owner->Brush();
  const TFont& f = *Owner->Font();
  st->Pen = pen.Handle();
  st->PenMode = pen.Mode();
  st->BrushColor = S.DCBrushColor ? *S.DCBrushColor : br.Color();
  st->BrushStyle = br.Style();
  if (br.Bitmap()) {
    if (LastState && LastState->BrushPattern && *LastState->BrushPattern == GfxBitmapImage(br.Bitmap()))
      st->BrushPattern = LastState->BrushPattern;
    else
      st->BrushPattern = std::make_shared<QImage>(GfxBitmapImage(br.Bitmap()).copy());
    st->BrushPatternMono = br.Bitmap()->PixelFormat() == pf1bit;
  }
  st->FontName = f.Name();
  st->FontHeight = f.Height();
  st->FontStyle = f.Style().Bits();
  st->FontCharset = f.Charset();
  st->FontOrientation = f.Orientation();
  st->FontQuality = f.Quality();
  st->FontPitch = f.Pitch();
  st->BkColor = S.BkColor;
  st->BkMode = S.BkMode;
  st->TextColor = S.TextColor;
  st->TextAlign = S.TextAlign;
  st->Rop2 = S.Rop2;
  st->PolyFill = S.PolyFill;
  st->CharExtra = S.CharExtra;
  st->ArcDir = S.ArcDir;
  st->MapMode = S.MapMode;
  st->WinOrg = S.WinOrg;
  st->VpOrg = S.VpOrg;
  st->WinExt = S.WinExt;
  st->VpExt = S.VpExt;
  st->HasClip = S.HasClip;
  st->Clip = S.Clip;
  if (LastState && *LastState == *st) return LastState;
  LastState = st;
  return st;
}

void TCanvasImpl::Record(TMetaOp op, std::vector<int> a, std::vector<TPoint> pts, std::vector<int> counts,
                         std::string text, std::shared_ptr<QImage> image) {
  if (!Recorder) return;
  TMetaRecord r;
  r.Op = op;
  r.A = std::move(a);
  r.Pts = std::move(pts);
  r.Counts = std::move(counts);
  r.Text = std::move(text);
  r.Image = std::move(image);
  r.State = Snapshot();
  r.Pos = S.Pos;
  Recorder->Records.push_back(std::move(r));
}

void TCanvasImpl::ApplyMetaState(const TMetaState& st) {
  TCanvas& c = *Owner;
  c.Pen()->SetHandle(st.Pen);
  c.Pen()->SetMode(static_cast<TPenMode>(st.PenMode));
  if (st.BrushPattern) {
    TBitmap bmp;
    GfxSetBitmapImage(&bmp, *st.BrushPattern);
    if (st.BrushPatternMono) bmp.SetPixelFormat(pf1bit);
    c.Brush()->SetBitmap(&bmp);
  } else {
    c.Brush()->SetBitmap(nullptr);
    c.Brush()->SetColor(st.BrushColor);
    c.Brush()->SetStyle(st.BrushStyle);
  }
  TFont& f = *c.Font();
  f.SetName(st.FontName);
  f.SetHeight(st.FontHeight);
  f.SetStyle(TFontStyles::FromBits(st.FontStyle));
  f.SetCharset(st.FontCharset);
  f.SetOrientation(st.FontOrientation);
  f.SetQuality(st.FontQuality);
  f.SetPitch(st.FontPitch);
  S.BkColor = st.BkColor;
  S.BkMode = st.BkMode;
  S.TextColor = st.TextColor;
  S.TextAlign = st.TextAlign;
  S.Rop2 = st.Rop2;
  S.PolyFill = st.PolyFill;
  S.CharExtra = st.CharExtra;
  S.ArcDir = st.ArcDir;
  S.MapMode = st.MapMode;
  S.WinOrg = st.WinOrg;
  S.VpOrg = st.VpOrg;
  S.WinExt = st.WinExt;
  S.VpExt = st.VpExt;
  PenValid = BrushValid = FontValid = false;
  UpdateTransform();
}

void GfxReplay(const TMetafileData& data, TCanvas* target, const TRect& rect) {
  if (!target || data.Records.empty()) return;
  TCanvasImpl& I = *target->Impl();
  int saved = target->SaveDC();
  QTransform oldOuter = I.Outer;
  bool baseHas = I.S.HasClip;
  QRegion base = I.S.Clip;
  QPointF d0 = I.Map(rect.Left, rect.Top), d1 = I.Map(rect.Right, rect.Bottom);
  double sx = data.Width > 0 ? (d1.x() - d0.x()) / data.Width : 1.0;
  double sy = data.Height > 0 ? (d1.y() - d0.y()) / data.Height : 1.0;
  I.Outer = QTransform(sx, 0, 0, sy, d0.x(), d0.y());
  const TMetaState* applied = nullptr;
  for (const TMetaRecord& r : data.Records) {
    if (r.State.get() != applied) {
      I.ApplyMetaState(*r.State);
      QRegion clip = r.State->HasClip ? I.Outer.map(r.State->Clip) : QRegion();
      if (r.State->HasClip && baseHas) clip = clip.intersected(base);
      else if (!r.State->HasClip) clip = base;
      I.S.HasClip = r.State->HasClip || baseHas;
      I.S.Clip = clip;
      I.PainterStateValid = false;
      applied = r.State.get();
    }
    const auto& a = r.A;
    switch (r.Op) {
      case moLineTo: target->MoveTo(r.Pts[0].X, r.Pts[0].Y); target->LineTo(a[0], a[1]); break;
      case moRectangle: target->Rectangle(a[0], a[1], a[2], a[3]); break;
      case moEllipse: target->Ellipse(a[0], a[1], a[2], a[3]); break;
      case moRoundRect: target->RoundRect(a[0], a[1], a[2], a[3], a[4], a[5]); break;
      case moArc: target->Arc(a[0], a[1], a[2], a[3], a[4], a[5], a[6], a[7]); break;
      case moChord: target->Chord(a[0], a[1], a[2], a[3], a[4], a[5], a[6], a[7]); break;
      case moPie: target->Pie(a[0], a[1], a[2], a[3], a[4], a[5], a[6], a[7]); break;
      case moPolyline: target->Polyline(r.Pts); break;
      case moPolygon:
      case moPolyPolygon:
        target->PolyPolygon(r.Pts.data(), r.Counts.data(), static_cast<int>(r.Counts.size()));
        break;
      case moPolyBezier: target->PolyBezier(r.Pts); break;
      case moPatBlt: break;
      case moFillRect: target->FillRect({a[0], a[1], a[2], a[3]}); break;
      case moFrameRect: target->FrameRect({a[0], a[1], a[2], a[3]}); break;
      case moFocusRect: target->DrawFocusRect({a[0], a[1], a[2], a[3]}); break;
      case moPixel: target->WritePixel(a[0], a[1], a[2]); break;
      case moText: {
        TRect rc;
        if (a[3]) rc = {a[4], a[5], a[6], a[7]};
        I.S.Pos = r.Pos;
        target->ExtTextOut(a[0], a[1], static_cast<unsigned>(a[2]), a[3] ? &rc : nullptr, r.Text,
                           r.Counts.empty() ? nullptr : r.Counts.data());
        break;
      }
      case moImage:
      case moAlphaImage:
        I.BlitImage(*r.Image, r.Image->rect(), {a[0], a[1], a[2], a[3]}, static_cast<uint32_t>(a[4]), a[5], a[6] != 0);
        break;
      case moGradient: {
        std::vector<TTriVertex> v;
        std::vector<TGradientRect> rects;
        for (size_t i = 1; i + 5 < a.size(); i += 6) {
          TTriVertex t;
          t.x = a[i];
          t.y = a[i + 1];
          t.Red = static_cast<uint16_t>(a[i + 2]);
          t.Green = static_cast<uint16_t>(a[i + 3]);
          t.Blue = static_cast<uint16_t>(a[i + 4]);
          t.Alpha = static_cast<uint16_t>(a[i + 5]);
          v.push_back(t);
        }
        for (unsigned k = 0; k + 1 < v.size(); k += 2) rects.push_back({k, k + 1});
        target->GradientFill(v.data(), static_cast<int>(v.size()), rects.data(), static_cast<int>(rects.size()),
                             static_cast<unsigned>(a[0]));
        break;
      }
      case moPath: {
        target->BeginPath();
        size_t k = 0;
        for (int c : r.Counts) {
          int n = std::abs(c);
          if (n > 0) {
            target->MoveTo(r.Pts[k].X, r.Pts[k].Y);
            for (int i = 1; i < n; ++i) target->LineTo(r.Pts[k + i].X, r.Pts[k + i].Y);
            if (c < 0) target->CloseFigure();
          }
          k += n;
        }
        target->EndPath();
        if (a[0] == 1) target->StrokePath();
        else if (a[0] == 2) target->FillPath();
        else target->StrokeAndFillPath();
        break;
      }
    }
  }
  I.Outer = oldOuter;
  target->RestoreDC(saved);
  I.UpdateTransform();
}

// ---- Binding ----

void GfxBindRaster(TCanvas* canvas, TRasterData* bitmap) {
  TCanvasImpl& I = *canvas->Impl();
  I.EndPainter();
  I.Kind = ckRaster;
  I.Bitmap = bitmap;
  I.ExtImage = nullptr;
  I.Device = nullptr;
  I.ExtPainter = nullptr;
  I.Recorder = nullptr;
  I.Dpi = ScreenPixelsPerInch;
  I.PainterStateValid = false;
}

void GfxBindDevice(TCanvas* canvas, QPaintDevice* device, QPainter* painter, int dpi) {
  TCanvasImpl& I = *canvas->Impl();
  I.EndPainter();
  I.Kind = device ? ckPrinter : ckNone;
  I.Bitmap = nullptr;
  I.ExtImage = nullptr;
  I.Device = device;
  I.ExtPainter = painter;
  I.Recorder = nullptr;
  I.Dpi = dpi;
  I.PainterStateValid = false;
  canvas->Font()->SetPixelsPerInch(dpi);
  I.UpdateTransform();
}

void GfxBindRecorder(TCanvas* canvas, TMetafileData* data, int width, int height) {
  TCanvasImpl& I = *canvas->Impl();
  I.EndPainter();
  I.Kind = data ? ckMetafile : ckNone;
  I.Bitmap = nullptr;
  I.ExtImage = nullptr;
  I.Device = nullptr;
  I.ExtPainter = nullptr;
  I.Recorder = data;
  I.RecWidth = width;
  I.RecHeight = height;
  I.Dpi = ScreenPixelsPerInch;
  I.LastState.reset();
}

void GfxUnbind(TCanvas* canvas) {
  TCanvasImpl& I = *canvas->Impl();
  I.EndPainter();
  I.Kind = ckNone;
  I.Bitmap = nullptr;
  I.ExtImage = nullptr;
  I.Device = nullptr;
  I.ExtPainter = nullptr;
  I.Recorder = nullptr;
}

void GfxBindCanvasToImage(TCanvas* canvas, QImage* image) {
  TCanvasImpl& I = *canvas->Impl();
  I.EndPainter();
  I.Kind = image ? ckRaster : ckNone;
  I.Bitmap = nullptr;
  I.ExtImage = image;
  I.Device = nullptr;
  I.ExtPainter = nullptr;
  I.Recorder = nullptr;
  I.Dpi = ScreenPixelsPerInch;
  I.PainterStateValid = false;
}

void GfxUnbindCanvas(TCanvas* canvas) { GfxUnbind(canvas); }

void GfxSetSurfaceUseHook(TCanvas* canvas, std::function<void()> hook) {
  canvas->Impl()->OnSurfaceUse = std::move(hook);
}

QImage* GfxCanvasImage(TCanvas* canvas) { return canvas ? canvas->Impl()->Image() : nullptr; }

void GfxFlushCanvas(TCanvas* canvas) {
  if (canvas) canvas->Impl()->EndPainter();
}

void GfxPaintWithQt(TCanvas* canvas, const TRect& bounds,
                    const std::function<void(QPainter& painter, double unitsPerPixel)>& paint) {
  if (!canvas || bounds.IsEmpty()) return;
  TCanvasImpl& I = *canvas->Impl();
  EnsureQtApplication();
  if (I.Recorder) {
    // Recorded as a picture of the bounds; a picture too large to hold is
    // left out.
    constexpr int64_t MaxPixels = 16 * 1024 * 1024;
    if (static_cast<int64_t>(bounds.Width()) * bounds.Height() > MaxPixels) return;
    QImage img(bounds.Width(), bounds.Height(), QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    {
      QPainter p(&img);
      p.translate(-bounds.Left, -bounds.Top);
      paint(p, 1.0);
    }
    I.Begin();
    I.BlitImage(img, img.rect(), bounds, SRCCOPY, 255, true);
    I.End();
    return;
  }
  QPainter* p = I.Painter();
  if (!p) return;
  // Device pixels to a logical unit, and to a pixel at 96 dpi.
  const double devicePerLogical = std::max(1e-9, std::sqrt(std::abs(I.Xf.determinant())));
  const double units = I.Dpi / static_cast<double>(ScreenPixelsPerInch) / devicePerLogical;
  I.Begin();
  p->save();
  p->setCompositionMode(QPainter::CompositionMode_SourceOver);
  p->setClipRect(QRect(bounds.Left, bounds.Top, bounds.Width(), bounds.Height()), Qt::IntersectClip);
  paint(*p, units);
  p->restore();
  I.PainterStateValid = false;
  I.End();
}
