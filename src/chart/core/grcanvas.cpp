// The canvas interfaces' shared operations and the device canvas: state,
// drawing pass, 2D primitives, text, clipping and gradient fills. The 3D
// primitives and the projection are in grcanvas3d.cpp.
#include "chart/core/grcanvas.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "platform/rtl/mathutils.h"

THtmlTextOutProc HtmlSubsetTextOutProc = nullptr;

namespace {

int RoundInt(double v) {
  if (!(v == v)) return 0;
  if (v > 2147483647.0) return 2147483647;
  if (v < -2147483648.0) return -2147483647 - 1;
  return static_cast<int>(std::nearbyint(v));
}

std::string WideToUtf8(const std::wstring& text) {
  std::string out;
  for (wchar_t wc : text) {
    auto c = static_cast<uint32_t>(wc);
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (c >> 18));
      out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

// ---- Keeping coordinates inside what the surface can handle ----

constexpr double kLimit = GrafPixelLimit;

bool InRange(int x, int y) { return x >= -GrafPixelLimit && x <= GrafPixelLimit && y >= -GrafPixelLimit && y <= GrafPixelLimit; }

bool AllInRange(std::span<const TPoint> points) {
  for (const TPoint& p : points)
    if (!InRange(p.X, p.Y)) return false;
  return true;
}

// Liang-Barsky against the square [-limit, limit]; false when nothing is left.
bool ClipSegment(double& x0, double& y0, double& x1, double& y1) {
  double t0 = 0, t1 = 1;
  const double dx = x1 - x0, dy = y1 - y0;
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {x0 + kLimit, kLimit - x0, y0 + kLimit, kLimit - y0};
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0) {
      if (q[i] < 0) return false;
      continue;
    }
    const double r = q[i] / p[i];
    if (p[i] < 0) {
      if (r > t1) return false;
      t0 = std::max(t0, r);
    } else {
      if (r < t0) return false;
      t1 = std::min(t1, r);
    }
  }
  const double nx0 = x0 + t0 * dx, ny0 = y0 + t0 * dy;
  x1 = x0 + t1 * dx;
  y1 = y0 + t1 * dy;
  x0 = nx0;
  y0 = ny0;
  return true;
}

// Sutherland-Hodgman against the square [-limit, limit].
TPointArray ClipPolygonToLimit(std::span<const TPoint> points) {
  struct TP {
    double X, Y;
  };
  std::vector<TP> poly;
  poly.reserve(points.size());
  for (const TPoint& p : points) poly.push_back({static_cast<double>(p.X), static_cast<double>(p.Y)});
  for (int edge = 0; edge < 4 && !poly.empty(); ++edge) {
    auto inside = [edge](const TP& p) {
      switch (edge) {
        case 0: return p.X >= -kLimit;
        case 1: return p.X <= kLimit;
        case 2: return p.Y >= -kLimit;
        default: return p.Y <= kLimit;
      }
    };
    auto cross = [edge](const TP& a, const TP& b) {
      const double bound = (edge == 0 || edge == 2) ? -kLimit : kLimit;
      if (edge < 2) {
        const double t = (bound - a.X) / (b.X - a.X);
        return TP{bound, a.Y + t * (b.Y - a.Y)};
      }
      const double t = (bound - a.Y) / (b.Y - a.Y);
      return TP{a.X + t * (b.X - a.X), bound};
    };
    std::vector<TP> out;
    for (size_t i = 0; i < poly.size(); ++i) {
      const TP& cur = poly[i];
      const TP& prev = poly[(i + poly.size() - 1) % poly.size()];
      const bool ci = inside(cur), pi = inside(prev);
      if (ci) {
        if (!pi) out.push_back(cross(prev, cur));
        out.push_back(cur);
      } else if (pi) {
        out.push_back(cross(prev, cur));
      }
    }
    poly = std::move(out);
  }
  TPointArray result;
  result.reserve(poly.size());
  for (const TP& p : poly) result.push_back({RoundInt(p.X), RoundInt(p.Y)});
  return result;
}

int ClampCoord(int v) { return std::clamp(v, -GrafPixelLimit - 1, GrafPixelLimit + 1); }

// Draws a line on the device, clipped to the pixel limit when it reaches
// beyond it; the pen position ends at (x1, y1) either way.
void DeviceLine(TCanvas* c, int x0, int y0, int x1, int y1) {
  if (InRange(x0, y0) && InRange(x1, y1)) {
    c->MoveTo(x0, y0);
    c->LineTo(x1, y1);
    return;
  }
  double ax = x0, ay = y0, bx = x1, by = y1;
  if (ClipSegment(ax, ay, bx, by)) {
    c->MoveTo(RoundInt(ax), RoundInt(ay));
    c->LineTo(RoundInt(bx), RoundInt(by));
  }
  c->MoveTo(x1, y1);
}

void DevicePolygon(TCanvas* c, std::span<const TPoint> points) {
  if (AllInRange(points)) {
    c->Polygon(points.data(), static_cast<int>(points.size()));
    return;
  }
  TPointArray clipped = ClipPolygonToLimit(points);
  if (clipped.size() >= 3) c->Polygon(clipped);
}

// Library-wide stack of clips set on plain platform canvases.
struct TPlainClip {
  TCanvas* Canvas;
  std::optional<TRegion> Saved;
};
std::vector<TPlainClip>& PlainClips() {
  static std::vector<TPlainClip> clips;
  return clips;
}

}  // namespace

// ---------------------------------------------------------------------------
// Clips on plain platform canvases

void ClipCanvasToRect(TCanvas* canvas, const TRect& rect) {
  if (!canvas) return;
  TPoint a = canvas->LPtoDP(rect.TopLeft()), b = canvas->LPtoDP(rect.BottomRight());
  TRegion current;
  std::optional<TRegion> saved;
  if (canvas->GetClipRgn(&current) == 1) saved = current;
  HRGN r = CreateRectRgn(a.X, a.Y, b.X, b.Y);
  if (saved) canvas->ExtSelectClipRgn(r, RGN_AND);
  else canvas->SelectClipRgn(r);
  DeleteObject(r);
  PlainClips().push_back({canvas, std::move(saved)});
}

void RestoreClipRegion(TCanvas* canvas) {
  if (!canvas) return;
  auto& clips = PlainClips();
  for (auto it = clips.rbegin(); it != clips.rend(); ++it) {
    if (it->Canvas != canvas) continue;
    if (it->Saved) canvas->SelectClipRgn(&*it->Saved);
    else canvas->SelectClipRgn(nullptr);
    clips.erase(std::next(it).base());
    return;
  }
  canvas->SelectClipRgn(nullptr);
}

// ---------------------------------------------------------------------------
// TGrafCanvas

namespace {
// Drawing through a canvas that is bound to nothing does nothing.
TCanvas* NullCanvas() {
  static TCanvas canvas;
  return &canvas;
}
}  // namespace

TGrafCanvas::TGrafCanvas() { AttachCanvas(nullptr); }
TGrafCanvas::~TGrafCanvas() = default;

void TGrafCanvas::AttachCanvas(TCanvas* canvas) {
  if (!canvas) canvas = NullCanvas();
  if (canvas != FBoundCanvas) FClipStack.clear();
  FBoundCanvas = canvas;
  FCanvasPen = canvas->Pen();
  FCanvasFont = canvas->Font();
  FCanvasBrush = canvas->Brush();
}

void TGrafCanvas::ResetState() {
  FCanvasPen->SetColor(clBlack);
  FCanvasPen->SetWidth(1);
  FCanvasPen->SetStyle(psSolid);
  FCanvasBrush->SetColor(clWhite);
  FCanvasBrush->SetStyle(bsSolid);
  FCanvasFont->SetColor(clBlack);
  FCanvasFont->SetStyle({});
  FCanvasFont->SetCharset(DEFAULT_CHARSET);
  FCanvasFont->SetName(DefaultFontName.empty() ? "Arial" : DefaultFontName);
  FCanvasFont->SetSize(DefaultFontSize > 0 ? DefaultFontSize : 8);
  FBlendTransparency = 0;
  FCurrentFont = nullptr;
  SetBackgroundColor(clWhite);
  SetBackgroundMode(TRANSPARENT);
  SetTextAlignment(TA_LEFT | TA_TOP);
}

void TGrafCanvas::ApplyPenWithColor(TPen* pen, TColor color) {
  if (GetMonochrome()) color = clBlack;
  auto* chartPen = dynamic_cast<TChartPen*>(pen);
  if (chartPen && !chartPen->Visible()) {
    FCanvasPen->SetStyle(psClear);
    return;
  }
  if (chartPen && UseExtendedPens && !RendersWithoutGdi()) {
    if (chartPen->SmallDots()) {
      TLogBrush lb{BS_SOLID, static_cast<TColor>(ColorToRGB(color)), 0};
      TPenHandle h = chartPen->SmallSpace() <= 0
                         ? ExtCreatePen(PS_COSMETIC | PS_ALTERNATE, 1, lb)
                         : ExtCreatePen(PS_GEOMETRIC | PS_USERSTYLE | PS_ENDCAP_ROUND, 1, lb,
                                        {0u, static_cast<uint32_t>(chartPen->SmallSpace() + 1)});
      FCanvasPen->SetHandle(h);
      FCanvasPen->SetMode(chartPen->Mode());
      return;
    }
    FCanvasPen->Assign(chartPen);
    if (chartPen->Width() < 2) {
      if (FCanvasPen->Color() != color) FCanvasPen->SetColor(color);
      return;
    }
    FCanvasPen->SetColor(color);
    static const unsigned styles[] = {PS_SOLID, PS_DASH, PS_DOT, PS_DASHDOT, PS_DASHDOTDOT,
                                      PS_NULL,  PS_INSIDEFRAME, PS_SOLID, PS_SOLID};
    unsigned capJoin = PS_ENDCAP_ROUND | PS_JOIN_ROUND;
    if (chartPen->EndStyle() == esSquare) capJoin = PS_ENDCAP_SQUARE | PS_JOIN_BEVEL;
    else if (chartPen->EndStyle() == esFlat) capJoin = PS_ENDCAP_FLAT | PS_JOIN_MITER;
    TLogBrush lb{BS_SOLID, static_cast<TColor>(ColorToRGB(color)), 0};
    FCanvasPen->SetHandle(ExtCreatePen(PS_GEOMETRIC | styles[chartPen->Style()] | capJoin, chartPen->Width(), lb));
    FBoundCanvas->SetROP2(PenModeToROP2(chartPen->Mode()));
    return;
  }
  FCanvasPen->Assign(pen);
  FCanvasPen->SetColor(color);
}

void TGrafCanvas::ApplyBrush(TBrush* brush, TColor foreColor, TColor backColor) {
  if (GetMonochrome()) foreColor = clWhite;
  TBitmap* pattern = nullptr;
  std::unique_ptr<TBitmap> converted;
  if (auto* cb = dynamic_cast<TChartBrush*>(brush); cb && cb->HasImage() && cb->Image()->Graphic()) {
    TGraphic* g = cb->Image()->Graphic();
    pattern = dynamic_cast<TBitmap*>(g);
    if (!pattern && !g->Empty()) {
      converted = std::make_unique<TBitmap>();
      converted->Assign(g);
      pattern = converted.get();
    }
  } else if (brush->Bitmap()) {
    pattern = brush->Bitmap();
  }
  if (pattern && !pattern->Empty()) {
    FCanvasBrush->SetStyle(bsClear);
    FCanvasBrush->SetBitmap(pattern);
    FBoundCanvas->SetTextColor(static_cast<TColor>(ColorToRGB(foreColor)));
    SetBackgroundMode(OPAQUE);
    SetBackgroundColor(backColor);
    return;
  }
  if (FCanvasBrush->Bitmap()) FCanvasBrush->SetBitmap(nullptr);
  if (FCanvasBrush->Color() != foreColor) FCanvasBrush->SetColor(foreColor);
  if (FCanvasBrush->Style() != brush->Style()) FCanvasBrush->SetStyle(brush->Style());
  if (backColor == clNone) {
    SetBackgroundMode(TRANSPARENT);
  } else {
    SetBackgroundMode(OPAQUE);
    SetBackgroundColor(backColor);
  }
}

void TGrafCanvas::ApplyFont(TGrafFont* font) {
  if (!font) return;
  font->SetPixelsPerInch(FCanvasFont->PixelsPerInch());
  FCanvasFont->Assign(font);
  if (FFontZoomPercent != 100.0) FCanvasFont->SetSize(RoundInt(FCanvasFont->Size() * FFontZoomPercent * 0.01));
  if (GetMonochrome()) FCanvasFont->SetColor(clBlack);
  if (FBoundCanvas->GetTextCharacterExtra() != font->InterCharSize())
    FBoundCanvas->SetTextCharacterExtra(font->InterCharSize());
  FCurrentFont = font;
  font->SetLastCanvas(this);
}

void TGrafCanvas::ShadeFillColor(TColor color, int amount) {
  TColor c = ColorDarker(color, amount);
  if (FCanvasBrush->Style() == bsSolid && !FCanvasBrush->Bitmap()) FCanvasBrush->SetColor(c);
  else SetBackgroundColor(c);
}

void TGrafCanvas::TextOutMaybeHtml(int x, int y, bool html, const std::string& text) {
  if (html && HtmlSubsetTextOutProc) HtmlSubsetTextOutProc(this, x, y, text);
  else TextOut(x, y, text);
}

TSize TGrafCanvas::PlainTextExtent(const std::string& text) { return FBoundCanvas->TextExtent(text); }

int TGrafCanvas::TextWidth(const std::string& text) {
  int w = PlainTextExtent(text).cx;
  if (FCurrentFont && FCurrentFont->HasShadow()) w += std::abs(FCurrentFont->Shadow()->HorizSize());
  return w;
}

int TGrafCanvas::TextHeight(const std::string& text) {
  int h = PlainTextExtent(text).cy;
  if (FCurrentFont && FCurrentFont->HasShadow()) h += std::abs(FCurrentFont->Shadow()->VertSize());
  return h;
}

int TGrafCanvas::WideTextWidth(const std::wstring& text) { return TextWidth(WideToUtf8(text)); }
int TGrafCanvas::WideTextHeight(const std::wstring& text) { return TextHeight(WideToUtf8(text)); }
TSize TGrafCanvas::WideTextExtent(const std::wstring& text) { return PlainTextExtent(WideToUtf8(text)); }

std::unique_ptr<TGrafBlend> TGrafCanvas::BeginBlending(const TRect& rect, TGrafTransparency transparency) {
  FBlendTransparency = transparency;
  return std::make_unique<TGrafBlend>(this, rect);
}

void TGrafCanvas::EndBlending(std::unique_ptr<TGrafBlend> blend) {
  if (blend) blend->ApplyTransparency(FBlendTransparency);
}

void TGrafCanvas::DrawFrame3D(TRect& rect, TColor topLeft, TColor bottomRight, int width) {
  FCanvasPen->SetWidth(1);
  FCanvasPen->SetStyle(psSolid);
  --rect.Bottom;
  --rect.Right;
  for (int i = 0; i < width; ++i) {
    FCanvasPen->SetColor(topLeft);
    const TPoint a[3] = {{rect.Left, rect.Bottom}, {rect.Left, rect.Top}, {rect.Right, rect.Top}};
    Polyline(a);
    FCanvasPen->SetColor(bottomRight);
    const TPoint b[3] = {{rect.Right, rect.Top}, {rect.Right, rect.Bottom}, {rect.Left - 1, rect.Bottom}};
    Polyline(b);
    InflateRect(rect, -1, -1);
  }
  ++rect.Bottom;
  ++rect.Right;
}

TRect TGrafCanvas::RectToDevice(const TRect& r) const {
  TPoint a = FBoundCanvas->LPtoDP(r.TopLeft()), b = FBoundCanvas->LPtoDP(r.BottomRight());
  return {a.X, a.Y, b.X, b.Y};
}

void TGrafCanvas::CaptureClipRegion(HRGN region) {
  if (!region) return;
  TRegion current;
  std::optional<TRegion> saved;
  if (FBoundCanvas->GetClipRgn(&current) == 1) saved = current;
  if (saved) FBoundCanvas->ExtSelectClipRgn(region, RGN_AND);
  else FBoundCanvas->SelectClipRgn(region);
  DeleteObject(region);
  FClipStack.push_back(std::move(saved));
}

void TGrafCanvas::RestoreClipRegion() {
  if (FClipStack.empty()) {
    FBoundCanvas->SelectClipRgn(nullptr);
    return;
  }
  std::optional<TRegion> saved = std::move(FClipStack.back());
  FClipStack.pop_back();
  if (saved) FBoundCanvas->SelectClipRgn(&*saved);
  else FBoundCanvas->SelectClipRgn(nullptr);
}

void TGrafCanvas::ClipToRoundRect(const TRect& rect, int cornerSize) {
  TRect d = RectToDevice(rect);
  CaptureClipRegion(CreateRoundRectRgn(d.Left, d.Top, d.Right, d.Bottom, cornerSize, cornerSize));
}

void TGrafCanvas::ClipToEllipse(const TRect& rect, bool cutOut) {
  TRect d = RectToDevice(rect);
  HRGN r = CreateEllipticRgn(d.Left, d.Top, d.Right, d.Bottom);
  if (!cutOut) {
    CaptureClipRegion(r);
    return;
  }
  if (FBoundCanvas->HasClip()) {
    FBoundCanvas->ExtSelectClipRgn(r, RGN_XOR);
  } else {
    // Without a clip the whole surface is the clip; cut the ellipse out of it.
    HRGN all = CreateRectRgn(-GrafPixelLimit, -GrafPixelLimit, GrafPixelLimit, GrafPixelLimit);
    CombineRgn(all, all, r, RGN_XOR);
    FBoundCanvas->SelectClipRgn(all);
    DeleteObject(all);
  }
  DeleteObject(r);
}

void TGrafCanvas::ClipToPolygon(std::span<const TPoint> points) {
  // The caller's points stay in logical units (callers go on using them).
  TPointArray device(points.begin(), points.end());
  FBoundCanvas->LPtoDP(device.data(), static_cast<int>(device.size()));
  CaptureClipRegion(CreatePolygonRgn(device, ALTERNATE));
}

bool TGrafCanvas::ReduceToConvexHull(TPointArray& points) {
  const int n = static_cast<int>(points.size());
  if (n == 3) return true;
  if (n < 3) return false;
  int pivotIndex = -1;
  int minY = 10000000, maxX = 0;
  for (int i = 0; i < n; ++i) {
    const TPoint& p = points[i];
    if (p.Y < minY || (p.Y == minY && pivotIndex >= 0 && p.X > maxX)) {
      pivotIndex = i;
      minY = p.Y;
      maxX = p.X;
    }
  }
  if (pivotIndex < 0) return false;
  const TPoint pivot = points[pivotIndex];
  points[pivotIndex] = points[n - 1];
  points.pop_back();

  std::vector<float> keys(points.size());
  for (size_t i = 0; i < points.size(); ++i) {
    const double d = VectorLength(pivot.X - points[i].X, pivot.Y - points[i].Y);
    keys[i] = d == 0 ? 0.0f : static_cast<float>((pivot.X - points[i].X) / d);
  }
  // Quicksort with the middle element as partition value.
  std::function<void(int, int)> sort = [&](int lo, int hi) {
    int i = lo, j = hi;
    const float mid = keys[(lo + hi) / 2];
    do {
      while (keys[i] < mid) ++i;
      while (keys[j] > mid) --j;
      if (i <= j) {
        std::swap(keys[i], keys[j]);
        std::swap(points[i], points[j]);
        ++i;
        --j;
      }
    } while (i <= j);
    if (lo < j) sort(lo, j);
    if (i < hi) sort(i, hi);
  };
  if (points.size() > 1) sort(0, static_cast<int>(points.size()) - 1);

  int i = 1;
  while (i < static_cast<int>(points.size()) - 1) {
    bool convex = true;
    if (i > 0) {
      const TPoint& prev = points[i - 1];
      const TPoint& cur = points[i];
      const TPoint& next = i + 1 < static_cast<int>(points.size()) ? points[i + 1] : pivot;
      convex = static_cast<int64_t>(prev.X - cur.X) * (next.Y - cur.Y) -
                   static_cast<int64_t>(next.X - cur.X) * (prev.Y - cur.Y) <
               0;
    }
    if (convex) {
      ++i;
    } else {
      points.erase(points.begin() + i);
      i = std::max(i - 1, 0);
    }
  }
  points.push_back(pivot);
  return true;
}

// ---------------------------------------------------------------------------
// TCanvas3D

TCanvas3D::TCanvas3D() = default;

void TCanvas3D::InheritSettings(TCanvas3D* other) {
  if (other) SetMonochrome(other->GetMonochrome());
}

void TCanvas3D::SuspendRotation() {
  if (FRotationSuspendCount == 0) DisableRotation();
  ++FRotationSuspendCount;
}

void TCanvas3D::ResumeRotation() {
  if (FRotationSuspendCount <= 0) return;
  if (--FRotationSuspendCount == 0) EnableRotation();
}

TRect TCanvas3D::ProjectRectAtDepth(const TRect& rect, int z) {
  TPoint a = ProjectXYZ(rect.Left, rect.Top, z), b = ProjectXYZ(rect.Right, rect.Bottom, z);
  return {a.X, a.Y, b.X, b.Y};
}

TFourPoints TCanvas3D::ProjectRectToQuad(const TRect& rect, int z) {
  return {ProjectXYZ(rect.Left, rect.Top, z), ProjectXYZ(rect.Right, rect.Top, z),
          ProjectXYZ(rect.Right, rect.Bottom, z), ProjectXYZ(rect.Left, rect.Bottom, z)};
}

TRect TCanvas3D::ProjectedRectBounds(const TRect& rect, int z) {
  TFourPoints q = ProjectRectToQuad(rect, z);
  return ExclusiveBoundsOfPoints(q.data(), 4);
}

void TCanvas3D::DrawGraphicAtDepth(const TRect& rect, TGraphic* graphic, int z) {
  if (!graphic || graphic->Empty()) return;
  // A transparent picture leaves its keyed pixels out, as when drawn flat.
  auto* raster = dynamic_cast<TRasterGraphic*>(graphic);
  const bool keyed = raster && raster->Transparent();
  const TColorRef key = keyed ? ColorToRGB(raster->TransparentColor()) & 0xFFFFFF : 0;
  TBitmap bitmap;
  bitmap.Assign(graphic);
  bitmap.SetPixelFormat(pf24bit);
  const int w = bitmap.Width(), h = bitmap.Height();
  if (w <= 0 || h <= 0) return;
  const TPenStyle savedPen = CanvasPen()->Style();
  TBrush savedBrush;
  savedBrush.Assign(CanvasBrush());
  CanvasPen()->SetStyle(psClear);
  // Plain colour fills, whatever pattern or style the caller's brush had.
  CanvasBrush()->SetStyle(bsSolid);
  const int dx = rect.Right - rect.Left, dy = rect.Bottom - rect.Top;
  for (int r = 0; r < h; ++r) {
    const uint8_t* row = bitmap.ScanLine(r);
    const int y0 = rect.Top + RoundInt(static_cast<double>(r) * dy / h);
    const int y1 = rect.Top + RoundInt(static_cast<double>(r + 1) * dy / h);
    for (int k = 0; k < w; ++k) {
      const int x0 = rect.Left + RoundInt(static_cast<double>(k) * dx / w);
      const int x1 = rect.Left + RoundInt(static_cast<double>(k + 1) * dx / w);
      const uint8_t* p = row + 3 * k;
      if (keyed && RGB(p[2], p[1], p[0]) == key) continue;
      CanvasBrush()->SetColor(static_cast<TColor>(RGB(p[2], p[1], p[0])));
      PlaneWithZ({x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}, z);
    }
  }
  CanvasPen()->SetStyle(savedPen);
  CanvasBrush()->Assign(&savedBrush);
}

// ---------------------------------------------------------------------------
// TGrafCanvas3D: state and pass

TGrafCanvas3D::TGrafCanvas3D() { FFontZoomPercent = 100.0; }

TGrafCanvas3D::~TGrafCanvas3D() { FreeBufferBitmap(); }

TColor TGrafCanvas3D::GetBackgroundColor() { return FBoundCanvas->GetBkColor(); }
int TGrafCanvas3D::GetBackgroundMode() { return FBoundCanvas->GetBkMode(); }
TColor TGrafCanvas3D::ReadPixel(int x, int y) { return FBoundCanvas->ReadPixel(x, y); }
unsigned TGrafCanvas3D::GetTextAlignment() { return FBoundCanvas->GetTextAlign(); }

void TGrafCanvas3D::SetBackgroundColor(TColor color) {
  FBoundCanvas->SetBkColor(static_cast<TColor>(ColorToRGB(color)));
}

void TGrafCanvas3D::SetBackgroundMode(int mode) { FBoundCanvas->SetBkMode(mode); }

void TGrafCanvas3D::SetMonochrome(bool value) {
  if (FMonochromeOn == value) return;
  FMonochromeOn = value;
  FBufferDirty = true;
  if (FOptions3D) FOptions3D->InvalidateParent();
}

void TGrafCanvas3D::WritePixel(int x, int y, TColor color) {
  FBoundCanvas->WritePixel(x, y, static_cast<TColor>(ColorToRGB(color)));
}

void TGrafCanvas3D::SetTextAlignment(unsigned flags) { FBoundCanvas->SetTextAlign(flags); }

void TGrafCanvas3D::SetBufferedDisplay(bool value) {
  if (FBufferOn == value) return;
  FBufferOn = value;
  if (!value) {
    if (FBufferBitmap && !FKeepBuffer) {
      TCanvas* bufferCanvas = FBufferBitmap->HasCanvas() ? FBufferBitmap->Canvas() : nullptr;
      if (bufferCanvas && bufferCanvas == FBoundCanvas) AttachCanvas(nullptr);
      FreeBufferBitmap();
      FBufferDirty = true;
    }
  } else if (FBufferBitmap) {
    AttachCanvas(FBufferBitmap->Canvas());
  }
}

void TGrafCanvas3D::FreeBufferBitmap() {
  if (!FBufferBitmap) return;
  if (FBufferBitmap->HasCanvas() && FBufferBitmap->Canvas() == FBoundCanvas) AttachCanvas(nullptr);
  FBufferBitmap.reset();
}

void TGrafCanvas3D::CopyBufferTo(int x, int y, TCanvas* target) {
  if (!FBufferBitmap || !target) return;
  target->BitBlt(x, y, FBufferBitmap->Width(), FBufferBitmap->Height(), FBufferBitmap->Canvas(), 0, 0, SRCCOPY);
}

TRect TGrafCanvas3D::PrepareDrawing(TCanvas* target, TView3DOptions* options, TColor, bool is3D, const TRect& rect) {
  FPassBounds = rect;
  FOptions3D = options;
  if (options) FFontZoomPercent = options->FontZoom();
  FIs3DPass = is3D;
  FOrthogonalPass = false;
  FZoomScale = 1.0;
  if (FIs3DPass) {
    if (options) {
      FOrthogonalPass = options->Orthogonal();
      if (FOrthogonalPass) {
        double a = options->OrthoAngle();
        if (a > 90) {
          FObliqueX = -1;
          a = 180 - a;
        } else {
          FObliqueX = 1;
        }
        const double rad = a * M_PI / 180.0;
        FObliqueY = std::cos(rad) < 0.01 ? 1.0 : std::tan(rad);
      }
      FZoomScale = options->Zoom() * 0.01;
      FTextFollowsZoom = options->ZoomText();
    }
    UpdateRotationTerms();
  }
  if (FBufferOn) {
    const int w = rect.Right - rect.Left, h = rect.Bottom - rect.Top;
    if (!FBufferBitmap) FBufferBitmap = std::make_unique<TBitmap>();
    FBufferBitmap->SetSize(std::max(w, 0), std::max(h, 0));
    TCanvas* c = FBufferBitmap->Canvas();
    c->OnChange = nullptr;
    c->OnChanging = nullptr;
    c->SelectClipRgn(nullptr);  // the buffer is ours: no clip left over from an earlier pass
    AttachCanvas(c);
    return {0, 0, w, h};
  }
  AttachCanvas(target);
  return rect;
}

void TGrafCanvas3D::FinishDrawing(TCanvas* target, TCanvas* rebind, const TRect& rect) {
  if (FBufferOn && FBufferBitmap) {
    CopyBufferTo(rect.Left, rect.Top, target);
    FBufferDirty = false;
  }
  AttachCanvas(rebind);
}

bool TGrafCanvas3D::RepaintFromBuffer() {
  if (FBufferDirty || !FBufferBitmap) return false;
  CopyBufferTo(0, 0, FBoundCanvas);
  return true;
}

// ---------------------------------------------------------------------------
// TGrafCanvas3D: 2D primitives

void TGrafCanvas3D::Arc2D(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
  FBoundCanvas->Arc(x1, y1, x2, y2, x3, y3, x4, y4);
}

void TGrafCanvas3D::Pie2D(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
  FBoundCanvas->Pie(x1, y1, x2, y2, x3, y3, x4, y4);
}

void TGrafCanvas3D::Ellipse(int x1, int y1, int x2, int y2) { FBoundCanvas->Ellipse(x1, y1, x2, y2); }

void TGrafCanvas3D::FillRect(const TRect& rect) {
  FBoundCanvas->FillRect(
      {ClampCoord(rect.Left), ClampCoord(rect.Top), ClampCoord(rect.Right), ClampCoord(rect.Bottom)});
}

void TGrafCanvas3D::Rectangle(int x0, int y0, int x1, int y1) {
  FBoundCanvas->Rectangle(ClampCoord(x0), ClampCoord(y0), ClampCoord(x1), ClampCoord(y1));
}

void TGrafCanvas3D::RoundRect(int x0, int y0, int x1, int y1, int cornerWidth, int cornerHeight) {
  FBoundCanvas->RoundRect(x0, y0, x1, y1, cornerWidth, cornerHeight);
}

void TGrafCanvas3D::MovePenTo(int x, int y) { FBoundCanvas->MoveTo(x, y); }

void TGrafCanvas3D::LineTo(int x, int y) {
  TPoint from = FBoundCanvas->PenPos();
  if (InRange(from.X, from.Y) && InRange(x, y)) FBoundCanvas->LineTo(x, y);
  else DeviceLine(FBoundCanvas, from.X, from.Y, x, y);
}

void TGrafCanvas3D::LineFromTo(int x0, int y0, int x1, int y1) { DeviceLine(FBoundCanvas, x0, y0, x1, y1); }
void TGrafCanvas3D::HorizontalLine(int x0, int x1, int y) { DeviceLine(FBoundCanvas, x0, y, x1, y); }
void TGrafCanvas3D::VerticalLine(int x, int y0, int y1) { DeviceLine(FBoundCanvas, x, y0, x, y1); }

void TGrafCanvas3D::Polyline(std::span<const TPoint> points) {
  if (points.empty()) return;
  if (AllInRange(points)) {
    FBoundCanvas->Polyline(points.data(), static_cast<int>(points.size()));
    return;
  }
  for (size_t i = 1; i < points.size(); ++i)
    DeviceLine(FBoundCanvas, points[i - 1].X, points[i - 1].Y, points[i].X, points[i].Y);
}

void TGrafCanvas3D::Polygon(std::span<const TPoint> points) {
  if (points.empty()) return;
  DevicePolygon(FBoundCanvas, points);
}

void TGrafCanvas3D::DrawGraphic(int x, int y, TGraphic* graphic) {
  if (!graphic || graphic->Empty()) return;
  FBoundCanvas->Draw(x, y, graphic);
}

void TGrafCanvas3D::StretchDraw(const TRect& rect, TGraphic* graphic) {
  if (!graphic) return;
  FBoundCanvas->StretchDraw(rect, graphic);
}

void TGrafCanvas3D::Donut(int xc, int yc, int xr, int yr, double startAngle, double endAngle, double percent) {
  auto outer = [&](double a) { return TPoint{xc + RoundInt(xr * std::cos(a)), yc - RoundInt(yr * std::sin(a))}; };
  const double rxi = xr * percent * 0.01, ryi = yr * percent * 0.01;
  auto inner = [&](double a) { return TPoint{xc + RoundInt(rxi * std::cos(a)), yc - RoundInt(ryi * std::sin(a))}; };
  const TPoint ps = outer(startAngle), pe = outer(endAngle);
  const TPoint qs = inner(startAngle), qe = inner(endAngle);
  TCanvas* c = FBoundCanvas;
  c->BeginPath();
  c->MoveTo(ps.X, ps.Y);
  c->ArcTo(xc - xr, yc - yr, xc + xr, yc + yr, ps.X, ps.Y, pe.X, pe.Y);
  c->LineTo(qe.X, qe.Y);
  if (!(qe == qs)) {
    const int irx = RoundInt(rxi), iry = RoundInt(ryi);
    c->SetArcDirection(AD_CLOCKWISE);
    c->ArcTo(xc - irx, yc - iry, xc + irx, yc + iry, qe.X, qe.Y, qs.X, qs.Y);
    c->SetArcDirection(AD_COUNTERCLOCKWISE);
  }
  c->LineTo(ps.X, ps.Y);
  c->EndPath();
  c->StrokeAndFillPath();
}

// ---------------------------------------------------------------------------
// Text

TRect TextBoundsAt(TGrafCanvas* canvas, int x, int y, const std::string& text) {
  const int w = canvas->TextWidth(text), h = canvas->TextHeight(text);
  unsigned a = canvas->GetTextAlignment();
  if (a > 7) a -= 8;
  TRect r;
  if (a == TA_RIGHT) {
    r.Left = x - w;
    r.Right = x;
  } else if (a == TA_CENTER) {
    r.Left = x - w / 2;
    r.Right = x + w / 2;
  } else {
    r.Left = x;
    r.Right = x + w;
  }
  r.Top = y;
  r.Bottom = y + h;
  return r;
}

void TGrafCanvas3D::TextOut(int x, int y, const std::string& text) {
  TGrafFont* f = FCurrentFont;
  if (f && f->HasShadow() && (f->Shadow()->HorizSize() != 0 || f->Shadow()->VertSize() != 0)) {
    TGrafShadow* s = f->Shadow();
    const int h = s->HorizSize(), v = s->VertSize();
    int sx = x, sy = y;
    if (h > 0) sx = x + h;
    else if (h < 0) x -= h;
    if (v > 0) sy = y + v;
    else if (v < 0) y -= v;
    std::unique_ptr<TGrafBlend> blend;
    if (s->Transparency() > 0) blend = BeginBlending(TextBoundsAt(this, sx, sy, text), s->Transparency());
    FBoundCanvas->SetTextColor(static_cast<TColor>(ColorToRGB(s->Color())));
    FBoundCanvas->TextOut(sx, sy, text);
    if (blend) EndBlending(std::move(blend));
  }
  FBoundCanvas->SetTextColor(static_cast<TColor>(ColorToRGB(FCanvasFont->Color())));
  if (f && ((f->HasOutLine() && f->OutLine()->Visible()) || (f->HasGradient() && f->Gradient()->Visible()))) {
    TextEffects(x, y, text);
    return;
  }
  FBoundCanvas->TextOut(x, y, text);
}

void TGrafCanvas3D::TextEffects(int x, int y, const std::string& text) {
  TGrafFont* f = FCurrentFont;
  const bool outline = f->HasOutLine() && f->OutLine()->Visible();
  const bool gradient = f->HasGradient() && f->Gradient()->Visible();
  TCanvas* c = FBoundCanvas;
  if (outline) ApplyPenWithColor(f->OutLine(), f->OutLine()->Color());
  else FCanvasPen->SetStyle(psClear);
  const TColor fontColor = FCanvasFont->Color();
  FCanvasBrush->SetColor(fontColor);
  FCanvasBrush->SetStyle(bsSolid);
  SetBackgroundMode(TRANSPARENT);
  c->BeginPath();
  c->TextOut(x, y, text);
  c->EndPath();
  if (gradient) {
    TGrafFontGradient* g = f->Gradient();
    if (g->Outline()) c->WidenPath();
    // The text path becomes the clip, saved and removed like any clip.
    if (HRGN path = c->PathToRegion()) {
      CaptureClipRegion(path);
      try {
        g->DrawInRect(this, TextBoundsAt(this, x, y, text), 0);
      } catch (...) {
        RemoveClipRegion();
        throw;
      }
      RemoveClipRegion();
    }
    if (g->Outline()) return;
    if (outline) {
      c->BeginPath();
      c->TextOut(x, y, text);
      c->EndPath();
      FCanvasBrush->SetStyle(bsClear);
    }
  }
  if (!outline) return;
  if (fontColor == clNone) c->StrokePath();
  else c->StrokeAndFillPath();
}

void TGrafCanvas3D::RotateLabel(int x, int y, const std::string& text, double angle) {
  // Above 360 the angle comes down by whole turns into (0, 360]; at once, so
  // a huge angle takes no time, and an angle with no value draws upright.
  if (!std::isfinite(angle)) angle = 0;
  else if (angle > 360) {
    angle = std::fmod(angle, 360.0);
    if (angle == 0) angle = 360;
  }
  FCanvasBrush->SetStyle(bsClear);
  TFont saved;
  saved.Assign(FCanvasFont);
  FCanvasFont->SetOrientation(RoundInt(angle * 10));
  FCanvasFont->SetQuality(FontOutputQuality);
  if (FTextFollowsZoom && FZoomScale != 1.0) {
    const int s = std::max(1, RoundInt(FCanvasFont->Size() * FZoomScale));
    FCanvasFont->SetHeight(-RoundInt(s * FCanvasFont->PixelsPerInch() / 72.0));
  }
  try {
    TextOut(x, y, text);
  } catch (...) {
    FCanvasFont->Assign(&saved);
    throw;
  }
  FCanvasFont->Assign(&saved);
}

// ---------------------------------------------------------------------------
// Clipping

void TGrafCanvas3D::ClipToRect(const TRect& rect) {
  TRect d = RectToDevice(rect);
  CaptureClipRegion(CreateRectRgn(d.Left, d.Top, d.Right, d.Bottom));
}

void TGrafCanvas3D::ClipCube(const TRect& rect, int z0, int z1) {
  if (!FIs3DPass) {
    ClipToRect({rect.Left + 1, rect.Top + 1, rect.Right, rect.Bottom - 1});
    return;
  }
  const int L = rect.Left, T = rect.Top, R = rect.Right, B = rect.Bottom;
  TPointArray p = {ProjectXYZ(L, B, z0), ProjectXYZ(L, B, z1), ProjectXYZ(L, T, z1), ProjectXYZ(R, T, z1),
                   ProjectXYZ(R, T, z0), ProjectXYZ(R, B, z0), ProjectXYZ(L, T, z0), ProjectXYZ(R, B, z1)};
  ReduceToConvexHull(p);
  ClipToPolygon(p);
}

// ---------------------------------------------------------------------------
// Gradient fill

namespace {

TColor StepColour(TColorRef c0, TColorRef c1, int k, int n, int balance) {
  if (balance == 50) {
    auto mix = [k, n](int a, int b) { return a + k * (b - a) / n; };
    return static_cast<TColor>(
        RGB(mix(GetRValue(c0), GetRValue(c1)), mix(GetGValue(c0), GetGValue(c1)), mix(GetBValue(c0), GetBValue(c1))));
  }
  return BalanceCurve(static_cast<TColor>(c0), static_cast<TColor>(c1), k, n, balance);
}

}  // namespace

void TGrafCanvas3D::GradientFill(const TRect& rect, TColor startColor, TColor endColor, TGradientDirection direction,
                                 int balance) {
  const TRect r = NormalizeRect(rect);
  if (direction == gdRadial) {
    TCustomGrafGradient g;
    g.SetDirection(gdRadial);
    g.SetStartColor(startColor);
    g.SetEndColor(endColor);
    g.DrawInRect(this, r, 0);
    return;
  }
  TColor first = startColor, second = endColor;
  if (direction != gdTopBottom && direction != gdLeftRight && direction != gdDiagonalUp &&
      direction != gdDiagonalDown)
    std::swap(first, second);
  const TColorRef c0 = ColorToRGB(first), c1 = ColorToRGB(second);

  if (direction == gdDiagonalUp || direction == gdDiagonalDown) {
    DiagonalFill(r, static_cast<TColor>(c0), static_cast<TColor>(c1), direction == gdDiagonalDown, balance);
    return;
  }

  // Bands are filled with copies of a solid brush; the caller's brush and
  // background state come back afterwards.
  TBrush savedBrush;
  savedBrush.Assign(FCanvasBrush);
  const TColor savedBk = FBoundCanvas->GetBkColor();
  const int savedMode = FBoundCanvas->GetBkMode();
  TCanvas* c = FBoundCanvas;
  bool started = false;
  TColor current = clNone;
  auto fill = [&](TColor colour, int l, int t, int rr, int b) {
    if (!started || colour != current) {
      c->Brush()->SetStyle(bsSolid);
      c->Brush()->SetColor(colour);
      current = colour;
      started = true;
    }
    c->FillRect({l, t, rr, b});
  };
  try {
    const int L = r.Left, T = r.Top, R = r.Right, B = r.Bottom;
    const int W = R - L, H = B - T;
    switch (direction) {
      case gdTopBottom:
      case gdBottomTop:
      case gdLeftRight:
      case gdRightLeft: {
        const bool vertical = direction == gdTopBottom || direction == gdBottomTop;
        const int a = vertical ? H : W;
        const int m = std::min(a, 256);
        const int n = m - 1;
        if (n <= 0) break;
        for (int k = 0; k < m; ++k) {
          const int from = static_cast<int>(static_cast<int64_t>(a) * k / m);
          const int to = static_cast<int>(static_cast<int64_t>(a) * (k + 1) / m);
          const TColor colour = StepColour(c0, c1, k, n, balance);
          if (vertical) fill(colour, L, B - to, R, B - from);
          else fill(colour, R - to, T, R - from, B);
        }
        break;
      }
      case gdFromCenter: {
        const int n = std::max(W / 2 + H / 2, 1);
        int b = 0, cc = 0;
        for (;;) {
          const TColor colour = StepColour(c0, c1, std::min(b + cc, n), n, balance);
          const int rows = H - 2 * b, cols = W - 2 * cc;
          if (rows > 0) {
            fill(colour, L + cc, T + b, L + cc + 1, T + b + rows);
            fill(colour, R - cc - 1, T + b, R - cc, T + b + rows);
          }
          if (cols > 0) {
            fill(colour, L + cc, T + b, L + cc + cols, T + b + 1);
            fill(colour, L + cc, B - b - 1, L + cc + cols, B - b);
          }
          bool grew = false;
          if (b < H / 2) {
            ++b;
            grew = true;
          }
          if (cc < W / 2) {
            ++cc;
            grew = true;
          }
          if (!grew) break;
        }
        break;
      }
      case gdFromTopLeft:
      case gdFromBottomLeft: {
        const bool top = direction == gdFromTopLeft;
        const int n = std::max(W + H, 1);
        int i = 0, j = 0;
        int y = top ? T : B;
        while (j < H || i < W) {
          const TColor colour = StepColour(c0, c1, std::min(i + j, n), n, balance);
          if (top) fill(colour, L + i, T, L + i + 1, y);
          else fill(colour, L + i, y, L + i + 1, B);
          if (j < H) {
            ++j;
            if (top) {
              fill(colour, L, y, L + i + 1, y + 1);
              if (y < B) ++y;
            } else {
              fill(colour, L, y - 1, L + i + 1, y);
              if (y > T) --y;
            }
          }
          if (i < W) ++i;
        }
        break;
      }
      default:
        break;
    }
  } catch (...) {
    c->Brush()->Assign(&savedBrush);
    c->SetBkColor(savedBk);
    c->SetBkMode(savedMode);
    throw;
  }
  c->Brush()->Assign(&savedBrush);
  c->SetBkColor(savedBk);
  c->SetBkMode(savedMode);
}

void TGrafCanvas3D::DiagonalFill(const TRect& rect, TColor c0, TColor c1, bool down, int balance) {
  TCanvas* c = FBoundCanvas;
  TPen savedPen;
  savedPen.Assign(c->Pen());
  c->Pen()->SetWidth(1);
  c->Pen()->SetStyle(psSolid);
  c->Pen()->SetMode(pmCopy);
  // Lines leave out their end point, so each sweep starts one row outside
  // the rectangle (below it going up, above it going down): every pixel of
  // the rectangle is covered and none outside.
  const int L = rect.Left, R = rect.Right;
  const int T = down ? rect.Top - 1 : rect.Top;
  const int B = down ? rect.Bottom - 1 : rect.Bottom;
  const int W = R - L, H = B - T;
  const int N = W + H;
  const int n = std::clamp(N - 1, 1, 255);
  TPoint first{L, down ? T : B}, second = first;
  for (int k = 0; k < N; ++k) {
    c->Pen()->SetColor(StepColour(ColorToRGB(c0), ColorToRGB(c1), static_cast<int>(static_cast<int64_t>(n) * k / N),
                                  n, balance));
    if (down) {
      if (second.X < R) ++second.X;
      else if (second.Y < B) ++second.Y;
      if (first.Y < B) ++first.Y;
      else if (first.X < R) ++first.X;
    }
    c->MoveTo(first.X, first.Y);
    c->LineTo(second.X, second.Y);
    if (!down) {
      if (second.X < R) ++second.X;
      else if (second.Y > T) --second.Y;
      if (first.Y > T) --first.Y;
      else if (first.X < R) ++first.X;
    }
  }
  c->Pen()->Assign(&savedPen);
}
