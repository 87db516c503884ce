// Integer points, rectangles and sizes of the drawing layer, with the class
// library's helper constructors. Rectangles are half-open: Right and Bottom
// lie one past the last pixel, as the graphics device counts them.
#pragma once

#include <algorithm>

struct TPoint {
  int X = 0;
  int Y = 0;
  constexpr bool operator==(const TPoint&) const = default;
};

struct TSize {
  int cx = 0;
  int cy = 0;
  constexpr bool operator==(const TSize&) const = default;
};

struct TRect {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;

  constexpr int Width() const { return Right - Left; }
  constexpr int Height() const { return Bottom - Top; }
  constexpr TPoint TopLeft() const { return {Left, Top}; }
  constexpr TPoint BottomRight() const { return {Right, Bottom}; }
  constexpr bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
  constexpr bool Contains(TPoint p) const { return p.X >= Left && p.X < Right && p.Y >= Top && p.Y < Bottom; }
  constexpr bool operator==(const TRect&) const = default;
};

constexpr TPoint Point(int x, int y) { return {x, y}; }
constexpr TRect Rect(int left, int top, int right, int bottom) { return {left, top, right, bottom}; }
constexpr TRect Bounds(int left, int top, int width, int height) { return {left, top, left + width, top + height}; }
constexpr TSize Size(int cx, int cy) { return {cx, cy}; }

inline bool PtInRect(const TRect& r, TPoint p) { return r.Contains(p); }
inline void OffsetRect(TRect& r, int dx, int dy) { r.Left += dx; r.Right += dx; r.Top += dy; r.Bottom += dy; }
inline void InflateRect(TRect& r, int dx, int dy) { r.Left -= dx; r.Right += dx; r.Top -= dy; r.Bottom += dy; }
// Both return false (and an empty result) when nothing is left.
inline bool IntersectRect(TRect& dst, const TRect& a, const TRect& b) {
  dst = {std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right), std::min(a.Bottom, b.Bottom)};
  if (dst.IsEmpty()) { dst = {}; return false; }
  return true;
}
inline bool UnionRect(TRect& dst, const TRect& a, const TRect& b) {
  if (a.IsEmpty()) dst = b;
  else if (b.IsEmpty()) dst = a;
  else dst = {std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right), std::max(a.Bottom, b.Bottom)};
  return !dst.IsEmpty();
}
