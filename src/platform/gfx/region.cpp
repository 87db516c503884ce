// Regions: sets of device pixels built from rectangles, ellipses and polygons.
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPolygon>
#include <algorithm>
#include <cmath>

#include "platform/gfx/canvas_impl.h"
#include "platform/gfx/qt_private.h"

TRegion::TRegion() : FData(std::make_unique<TRegionData>()) {}
TRegion::TRegion(const TRegion& other) : FData(std::make_unique<TRegionData>(*other.FData)) {}
TRegion& TRegion::operator=(const TRegion& other) {
  *FData = *other.FData;
  return *this;
}
TRegion::~TRegion() = default;

bool TRegion::IsEmpty() const { return FData->Region.isEmpty(); }
TRect TRegion::BoundingBox() const {
  QRect r = FData->Region.boundingRect();
  if (r.isEmpty()) return {};
  return {r.left(), r.top(), r.right() + 1, r.bottom() + 1};
}
bool TRegion::Contains(int x, int y) const { return FData->Region.contains(QPoint(x, y)); }
std::vector<TRect> TRegion::Rects() const {
  std::vector<TRect> out;
  for (const QRect& r : FData->Region) out.push_back({r.left(), r.top(), r.right() + 1, r.bottom() + 1});
  return out;
}
int TRegion::Kind() const {
  if (FData->Region.isEmpty()) return NULLREGION;
  return FData->Region.rectCount() == 1 ? SIMPLEREGION : COMPLEXREGION;
}
bool TRegion::operator==(const TRegion& other) const { return FData->Region == other.FData->Region; }

// ---- Rows ----

TRegionRows::TRegionRows(const QRegion& region, int height) : FHeight(height) {
  struct TBox {
    int L, T, R, B;
  };
  std::vector<TBox> boxes;
  boxes.reserve(static_cast<size_t>(region.rectCount()));
  for (const QRect& r : region) {
    const int t = std::max(r.top(), 0), b = std::min(r.bottom(), height - 1);
    if (!r.isEmpty() && t <= b) boxes.push_back({r.left(), t, r.right(), b});
  }
  if (boxes.empty()) return;
  FSingle = region.rectCount() == 1;
  // Bands between consecutive top and bottom edges (this does not rely on
  // the rectangles coming sorted or banded); rows of one band share spans.
  std::vector<int> edges;
  edges.reserve(boxes.size() * 2);
  for (const TBox& b : boxes) {
    edges.push_back(b.T);
    edges.push_back(b.B + 1);
  }
  std::sort(edges.begin(), edges.end());
  edges.erase(std::unique(edges.begin(), edges.end()), edges.end());
  std::sort(boxes.begin(), boxes.end(), [](const TBox& a, const TBox& b) { return a.T < b.T; });
  FTop = edges.front();
  FBottom = edges.back() - 1;
  FRows.assign(static_cast<size_t>(FBottom - FTop + 1), {0, -1, 0, 0});
  std::vector<const TBox*> active;
  std::vector<TSpan> row;
  size_t next = 0;
  TRow last{0, -1, 0, 0};
  for (size_t i = 0; i + 1 < edges.size(); ++i) {
    const int top = edges[i], bottom = edges[i + 1] - 1;
    while (next < boxes.size() && boxes[next].T <= top) active.push_back(&boxes[next++]);
    std::erase_if(active, [top](const TBox* b) { return b->B < top; });
    if (active.empty()) continue;
    row.clear();
    for (const TBox* b : active) row.push_back({b->L, b->R});
    std::sort(row.begin(), row.end(), [](const TSpan& a, const TSpan& b) { return a.Left < b.Left; });
    size_t w = 0;
    for (size_t k = 1; k < row.size(); ++k) {
      if (row[k].Left <= row[w].Right + 1) row[w].Right = std::max(row[w].Right, row[k].Right);
      else row[++w] = row[k];
    }
    row.resize(w + 1);
    const bool same = static_cast<size_t>(last.Last - last.First) == row.size() &&
                      std::equal(row.begin(), row.end(), FSpans.begin() + last.First,
                                 [](const TSpan& a, const TSpan& b) { return a.Left == b.Left && a.Right == b.Right; });
    if (!same) {
      last = {row.front().Left, row.back().Right, static_cast<int>(FSpans.size()), static_cast<int>(FSpans.size() + row.size())};
      FSpans.insert(FSpans.end(), row.begin(), row.end());
    }
    for (int y = top; y <= bottom; ++y) FRows[static_cast<size_t>(y - FTop)] = last;
  }
  FLeft = FSpans.front().Left;
  FRight = FSpans.front().Right;
  for (const TSpan& sp : FSpans) {
    FLeft = std::min(FLeft, sp.Left);
    FRight = std::max(FRight, sp.Right);
  }
}

bool TRegionRows::InSpans(const TRow& row, int l, int r) const {
  const TSpan *first = FSpans.data() + row.First, *last = FSpans.data() + row.Last;
  auto it = std::upper_bound(first, last, l, [](int v, const TSpan& s) { return v < s.Left; });
  return it != first && r <= (it - 1)->Right;
}

bool TRegionRows::ContainsRect(int l, int t, int r, int b) const {
  for (int y = t; y <= b; ++y) {
    const TRow& row = Row(y);
    if (l < row.Left || r > row.Right || (row.Last - row.First > 1 && !InSpans(row, l, r))) return false;
  }
  return true;
}

const QRegion& GfxRegion(const TRegion& region) { return region.Data()->Region; }
void GfxSetRegion(TRegion& region, const QRegion& pixels) { region.Data()->Region = pixels; }

namespace {
QRect HalfOpen(int l, int t, int r, int b) {
  if (r < l) std::swap(l, r);
  if (b < t) std::swap(t, b);
  return QRect(l, t, r - l, b - t);
}
HRGN Make(const QRegion& r) {
  auto* rgn = new TRegion();
  rgn->Data()->Region = r;
  return rgn;
}
// The pixels whose centres lie inside a path (the fill rule of the device).
QRegion PathRegion(const QPainterPath& path) {
  QRectF b = path.boundingRect();
  if (b.isEmpty()) return QRegion();
  int x0 = static_cast<int>(std::floor(b.left())), y0 = static_cast<int>(std::floor(b.top()));
  int w = static_cast<int>(std::ceil(b.right())) - x0 + 1, h = static_cast<int>(std::ceil(b.bottom())) - y0 + 1;
  QImage img(w, h, QImage::Format_ARGB32_Premultiplied);
  img.fill(0);
  {
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.translate(-x0, -y0);
    p.fillPath(path, QColor(0, 0, 0));
  }
  std::vector<QRect> rects;
  for (int y = 0; y < h; ++y) {
    const QRgb* row = reinterpret_cast<const QRgb*>(img.constScanLine(y));
    int run = -1;
    for (int x = 0; x <= w; ++x) {
      bool in = x < w && qAlpha(row[x]) != 0;
      if (in && run < 0) run = x;
      if (!in && run >= 0) {
        rects.emplace_back(x0 + run, y0 + y, x - run, 1);
        run = -1;
      }
    }
  }
  QRegion out;
  if (!rects.empty()) out.setRects(rects.data(), static_cast<int>(rects.size()));
  return out;
}
}  // namespace

QRegion GfxPathRegion(const QPainterPath& path) { return PathRegion(path); }

HRGN CreateRectRgn(int left, int top, int right, int bottom) { return Make(QRegion(HalfOpen(left, top, right, bottom))); }
HRGN CreateRectRgnIndirect(const TRect& r) { return CreateRectRgn(r.Left, r.Top, r.Right, r.Bottom); }
HRGN CreateEllipticRgn(int left, int top, int right, int bottom) {
  QRect r = HalfOpen(left, top, right, bottom);
  if (r.isEmpty()) return Make(QRegion());
  QPainterPath p;
  p.addEllipse(QRectF(r));
  return Make(PathRegion(p));
}
HRGN CreateEllipticRgnIndirect(const TRect& r) { return CreateEllipticRgn(r.Left, r.Top, r.Right, r.Bottom); }
HRGN CreateRoundRectRgn(int left, int top, int right, int bottom, int w, int h) {
  QRect r = HalfOpen(left, top, right, bottom);
  if (r.isEmpty()) return Make(QRegion());
  QPainterPath p;
  p.addRoundedRect(QRectF(r), std::abs(w) / 2.0, std::abs(h) / 2.0);
  return Make(PathRegion(p));
}
HRGN CreatePolygonRgn(const TPoint* points, int count, int fillMode) {
  if (!points || count < 3) return Make(QRegion());
  QPolygonF poly;
  for (int i = 0; i < count; ++i) poly << QPointF(points[i].X, points[i].Y);
  QPainterPath p;
  p.addPolygon(poly);
  p.closeSubpath();
  p.setFillRule(fillMode == WINDING ? Qt::WindingFill : Qt::OddEvenFill);
  return Make(PathRegion(p));
}
HRGN CreatePolygonRgn(const std::vector<TPoint>& points, int fillMode) {
  return CreatePolygonRgn(points.data(), static_cast<int>(points.size()), fillMode);
}

int CombineRgn(HRGN dest, HRGN src1, HRGN src2, int mode) {
  if (!dest || !src1 || (mode != RGN_COPY && !src2)) return RGN_ERROR;
  const QRegion& a = src1->Data()->Region;
  QRegion r;
  switch (mode) {
    case RGN_AND: r = a.intersected(src2->Data()->Region); break;
    case RGN_OR: r = a.united(src2->Data()->Region); break;
    case RGN_XOR: r = a.xored(src2->Data()->Region); break;
    case RGN_DIFF: r = a.subtracted(src2->Data()->Region); break;
    case RGN_COPY: r = a; break;
    default: return RGN_ERROR;
  }
  dest->Data()->Region = r;
  return dest->Kind();
}

int OffsetRgn(HRGN rgn, int dx, int dy) {
  if (!rgn) return RGN_ERROR;
  rgn->Data()->Region.translate(dx, dy);
  return rgn->Kind();
}
int GetRgnBox(HRGN rgn, TRect& box) {
  if (!rgn) return RGN_ERROR;
  box = rgn->BoundingBox();
  return rgn->Kind();
}
bool PtInRegion(HRGN rgn, int x, int y) { return rgn && rgn->Contains(x, y); }
bool RectInRegion(HRGN rgn, const TRect& r) {
  return rgn && rgn->Data()->Region.intersects(HalfOpen(r.Left, r.Top, r.Right, r.Bottom));
}
bool EqualRgn(HRGN a, HRGN b) { return a && b && *a == *b; }
bool SetRectRgn(HRGN rgn, int left, int top, int right, int bottom) {
  if (!rgn) return false;
  rgn->Data()->Region = QRegion(HalfOpen(left, top, right, bottom));
  return true;
}
void DeleteObject(HRGN rgn) { delete rgn; }
