// The device canvas's projection and 3D primitives: every solid projects its
// corners and draws flat polygons, ordered and culled so that nearer faces
// cover farther ones, with darkened sides for a shaded look.
#include <algorithm>
#include <cmath>
#include <cstdint>

#include "chart/core/grcanvas.h"

namespace {

int RoundInt(long double v) {
  if (!(v == v)) return 0;
  if (v > 2147483647.0L) return 2147483647;
  if (v < -2147483648.0L) return -2147483647 - 1;
  return static_cast<int>(std::nearbyint(static_cast<double>(v)));
}

constexpr long double kDegToRad = 3.14159265358979323846264338327950288L / 180.0L;

// (Q3.X - Q2.X) * (Q1.Y - Q2.Y) - (Q1.X - Q2.X) * (Q3.Y - Q2.Y)
int64_t QuadTest(const TFourPoints& q) {
  return static_cast<int64_t>(q[3].X - q[2].X) * (q[1].Y - q[2].Y) -
         static_cast<int64_t>(q[1].X - q[2].X) * (q[3].Y - q[2].Y);
}

}  // namespace

// ---------------------------------------------------------------------------
// Projection

void TGrafCanvas3D::UpdateRotationTerms() {
  if (FOrthogonalPass) return;
  long double e = 0, r = 0, t = 0;
  if (FOptions3D) {
    e = -FOptions3D->ElevationFloat();
    r = -FOptions3D->RotationFloat();
    t = FOptions3D->Tilt();
  }
  FPerspectiveOn = false;
  FPerspectiveScale = 0;
  FSinE = std::sin(e * kDegToRad);
  FCosE = std::cos(e * kDegToRad);
  FSinR = std::sin(r * kDegToRad);
  FCosR = std::cos(r * kDegToRad);
  FTiltOn = t != 0;
  FSinT = std::sin(t * kDegToRad);
  FCosT = std::cos(t * kDegToRad);
}

void TGrafCanvas3D::SetupProjection(int depth, const TRect& rect) {
  FCenterX = (rect.Left + rect.Right) / 2 + RoundInt(FCenterShift.X);
  FCenterY = (rect.Top + rect.Bottom) / 2 + RoundInt(FCenterShift.Y);
  FCenterZ = RoundInt(depth * 0.5 + FCenterShift.Z);
  FScreenCenterX = FCenterX;
  FScreenCenterY = FCenterY;
  if (FOptions3D) {
    FScreenCenterX += FOptions3D->HorizOffset();
    FScreenCenterY += FOptions3D->VertOffset();
    UpdatePerspectiveFactor(rect);
  }
}

void TGrafCanvas3D::UpdatePerspectiveFactor(const TRect& rect) {
  const int perspective = FOptions3D ? FOptions3D->Perspective() : 0;
  FPerspectiveOn = perspective > 0;
  if (FPerspectiveOn) {
    int w = rect.Right - rect.Left;
    if (w <= 0) w = 1;
    FPerspectiveScale = perspective * FZoomScale / 150.0 / w;
  }
}

void TGrafCanvas3D::ProjectInPlace(int& x, int& y, int z) {
  // A pass drawn flat, or rotation switched off, maps every point to itself.
  if (!FIs3DPass) return;
  if (FOrthogonalPass) {
    const double px = ((x - FCenterX) + z * FObliqueX) * FZoomScale + FScreenCenterX;
    const double py = ((y - FCenterY) - z * FObliqueY) * FZoomScale + FScreenCenterY;
    x = RoundInt(px);
    y = RoundInt(py);
    return;
  }
  const long double xp = x - FCenterX, yp = y - FCenterY, zp = z - FCenterZ;
  const long double t1 = zp * FCosR - xp * FSinR;
  long double s = FZoomScale;
  if (FPerspectiveOn) s = FZoomScale / ((FCosE * t1 + yp * FSinE) * FPerspectiveScale + 1);
  const long double u = xp * FCosR + zp * FSinR;
  const long double v = yp * FCosE - FSinE * t1;
  if (FTiltOn) {
    x = RoundInt((FCosT * u - FSinT * v) * s + FScreenCenterX);
    y = RoundInt((FCosT * v + FSinT * u) * s + FScreenCenterY);
  } else {
    x = RoundInt(u * s + FScreenCenterX);
    y = RoundInt(v * s + FScreenCenterY);
  }
}

void TGrafCanvas3D::ProjectFloatPoint(TPoint& point, int z, double y, double x) {
  if (!FIs3DPass) return;
  if (FOrthogonalPass) {
    point.X = RoundInt(((x - FCenterX) + z * FObliqueX) * FZoomScale + FScreenCenterX);
    point.Y = RoundInt(((y - FCenterY) - z * FObliqueY) * FZoomScale + FScreenCenterY);
    return;
  }
  const long double xp = x - FCenterX, yp = y - FCenterY, zp = z - FCenterZ;
  const long double t1 = zp * FCosR - xp * FSinR;
  long double s = FZoomScale;
  if (FPerspectiveOn) s = FZoomScale / ((FCosE * t1 + yp * FSinE) * FPerspectiveScale + 1);
  const long double u = xp * FCosR + zp * FSinR;
  const long double v = yp * FCosE - FSinE * t1;
  point.X = RoundInt((FCosT * u - FSinT * v) * s + FScreenCenterX);
  point.Y = RoundInt((FCosT * v + FSinT * u) * s + FScreenCenterY);
}

TPoint TGrafCanvas3D::ProjectXYZ(int x, int y, int z) {
  ProjectInPlace(x, y, z);
  return {x, y};
}

void TGrafCanvas3D::UnprojectPoint(int& x, int& y, int z) {
  if (FZoomScale == 0) return;
  const double k = 1.0 / FZoomScale;
  if (FIs3DPass && FOrthogonalPass) {
    x = RoundInt(k * (x - FScreenCenterX) - z * FObliqueX) + FCenterX;
    y = RoundInt(k * (y - FScreenCenterY) + z * FObliqueY) + FCenterY;
    return;
  }
  if (!FIs3DPass) return;
  // The exact inverse of rotation, elevation and tilt (perspective is not inverted).
  if (std::fabs(static_cast<double>(FCosR)) < 1e-5 || std::fabs(static_cast<double>(FCosE)) < 1e-5) return;
  const long double a = k * (x - FScreenCenterX), b = k * (y - FScreenCenterY);
  const long double u = FTiltOn ? FCosT * a + FSinT * b : a;
  const long double v = FTiltOn ? FCosT * b - FSinT * a : b;
  const long double zp = z - FCenterZ;
  const long double xp = (u - zp * FSinR) / FCosR;
  const long double yp = (v + FSinE * (zp * FCosR - xp * FSinR)) / FCosE;
  x = RoundInt(xp) + FCenterX;
  y = RoundInt(yp) + FCenterY;
}

void TGrafCanvas3D::DisableRotation() {
  FSaved3D = FIs3DPass;
  FIs3DPass = false;
}

void TGrafCanvas3D::EnableRotation() { FIs3DPass = FSaved3D; }

// ---------------------------------------------------------------------------
// Simple 3D operations

TColor TGrafCanvas3D::ReadPixel3D(int x, int y, int z) {
  ProjectInPlace(x, y, z);
  return ReadPixel(x, y);
}

void TGrafCanvas3D::WritePixel3D(int x, int y, int z, TColor color) {
  ProjectInPlace(x, y, z);
  const int w = FCanvasPen->Width();
  if (w <= 1) {
    WritePixel(x, y, color);
    return;
  }
  // A zero-length line of a wide pen: a dot of the pen's width and colour
  // shaped by its end cap (the device draws nothing for zero-length lines).
  if (FCanvasPen->Style() == psClear || (FCanvasPen->Geometric() && FCanvasPen->EndCap() == PS_ENDCAP_FLAT)) return;
  TCanvas* c = FBoundCanvas;
  TBrush savedBrush;
  savedBrush.Assign(c->Brush());
  TPen savedPen;
  savedPen.Assign(c->Pen());
  c->Brush()->SetColor(savedPen.Color());
  c->Brush()->SetStyle(bsSolid);
  c->Pen()->SetStyle(psClear);
  const int a = x - w / 2, b = y - w / 2;
  if (savedPen.Geometric() && savedPen.EndCap() == PS_ENDCAP_SQUARE) c->FillRect(Rect(a, b, a + w, b + w));
  else c->Ellipse(a, b, a + w + 1, b + w + 1);
  c->Pen()->Assign(&savedPen);
  c->Brush()->Assign(&savedBrush);
}

void TGrafCanvas3D::MoveTo3D(int x, int y, int z) {
  ProjectInPlace(x, y, z);
  MovePenTo(x, y);
}

void TGrafCanvas3D::LineTo3D(int x, int y, int z) {
  ProjectInPlace(x, y, z);
  LineTo(x, y);
}

void TGrafCanvas3D::LineAtDepth(int x0, int y0, int x1, int y1, int z) {
  ProjectInPlace(x0, y0, z);
  ProjectInPlace(x1, y1, z);
  LineFromTo(x0, y0, x1, y1);
}

void TGrafCanvas3D::HorizontalLine3D(int left, int right, int y, int z) { LineAtDepth(left, y, right, y, z); }
void TGrafCanvas3D::VerticalLine3D(int x, int top, int bottom, int z) { LineAtDepth(x, top, x, bottom, z); }

void TGrafCanvas3D::DepthLine3D(int x, int y, int z0, int z1) {
  TPoint a = ProjectXYZ(x, y, z0), b = ProjectXYZ(x, y, z1);
  LineFromTo(a.X, a.Y, b.X, b.Y);
}

void TGrafCanvas3D::DrawStoredQuad() {
  Polygon(StoredQuad);
}

void TGrafCanvas3D::RectangleWithZ(const TRect& rect, int z) {
  StoredQuad = ProjectRectToQuad(rect, z);
  DrawStoredQuad();
}

void TGrafCanvas3D::RectangleY(int left, int y, int right, int z0, int z1) {
  StoredQuad = {ProjectXYZ(left, y, z0), ProjectXYZ(right, y, z0), ProjectXYZ(right, y, z1), ProjectXYZ(left, y, z1)};
  DrawStoredQuad();
}

void TGrafCanvas3D::RectangleZ(int x, int top, int bottom, int z0, int z1) {
  StoredQuad = {ProjectXYZ(x, top, z0), ProjectXYZ(x, top, z1), ProjectXYZ(x, bottom, z1),
                ProjectXYZ(x, bottom, z0)};
  DrawStoredQuad();
}

void TGrafCanvas3D::Plane3D(TPoint p1, TPoint p2, int z0, int z1) {
  StoredQuad = {ProjectPointAtDepth(p1, z0), ProjectPointAtDepth(p2, z0), ProjectPointAtDepth(p2, z1),
                ProjectPointAtDepth(p1, z1)};
  DrawStoredQuad();
}

void TGrafCanvas3D::PlaneWithZ(TPoint p1, TPoint p2, TPoint p3, TPoint p4, int z) {
  StoredQuad = {ProjectPointAtDepth(p1, z), ProjectPointAtDepth(p2, z), ProjectPointAtDepth(p3, z),
                ProjectPointAtDepth(p4, z)};
  DrawStoredQuad();
}

void TGrafCanvas3D::PlaneFour3D(const TFourPoints& points, int z0, int z1) {
  for (int i = 0; i < 4; ++i) {
    StoredQuad[i] = points[i];
    ProjectFloatPoint(StoredQuad[i], i < 2 ? z0 : z1, points[i].Y, points[i].X);
  }
  DrawStoredQuad();
}

void TGrafCanvas3D::Polygon3D(std::span<const TPoint3D> points) {
  TPointArray p(points.size());
  for (size_t i = 0; i < points.size(); ++i) p[i] = ProjectPoint3D(points[i]);
  Polygon(p);
}

void TGrafCanvas3D::PolygonWithZ(std::span<const TPoint> points, int z) {
  TPointArray p(points.size());
  for (size_t i = 0; i < points.size(); ++i) p[i] = ProjectPointAtDepth(points[i], z);
  Polygon(p);
}

void TGrafCanvas3D::PolylineWithZ(std::span<const TPoint> points, int z) {
  TPointArray p(points.size());
  for (size_t i = 0; i < points.size(); ++i) p[i] = ProjectPointAtDepth(points[i], z);
  Polyline(p);
}

void TGrafCanvas3D::Triangle3D(const std::array<TPoint3D, 3>& points, const std::array<TColor, 3>& colors) {
  if (FCanvasBrush->Style() != bsClear) FCanvasBrush->SetColor(colors[0]);
  const TPoint p[3] = {ProjectPoint3D(points[0]), ProjectPoint3D(points[1]), ProjectPoint3D(points[2])};
  Polygon(p);
}

void TGrafCanvas3D::TriangleAtDepth(TPoint p1, TPoint p2, TPoint p3, int z) {
  const TPoint p[3] = {ProjectPointAtDepth(p1, z), ProjectPointAtDepth(p2, z), ProjectPointAtDepth(p3, z)};
  Polygon(p);
}

void TGrafCanvas3D::Sphere(int x, int y, int z, double radius) {
  const int r = RoundInt(radius);
  EllipseWithZ(x - r, y - r, x + r, y + r, z);
}

void TGrafCanvas3D::TextOut3D(int x, int y, int z, const std::string& text) {
  ProjectInPlace(x, y, z);
  if (!FTextFollowsZoom || FZoomScale == 1.0) {
    TextOut(x, y, text);
    return;
  }
  const int size = FCanvasFont->Size();
  const int s = std::max(1, RoundInt(size * FZoomScale));
  if (s == size) {
    TextOut(x, y, text);
    return;
  }
  const int savedHeight = FCanvasFont->Height();
  FCanvasFont->SetHeight(-RoundInt(s * FCanvasFont->PixelsPerInch() / 72.0));
  try {
    TextOut(x, y, text);
  } catch (...) {
    FCanvasFont->SetHeight(savedHeight);
    throw;
  }
  FCanvasFont->SetHeight(savedHeight);
}

void TGrafCanvas3D::RotateLabel3D(int x, int y, int z, const std::string& text, double angle) {
  ProjectInPlace(x, y, z);
  RotateLabel(x, y, text, angle);
}

void TGrafCanvas3D::EllipseWithZ(int x1, int y1, int x2, int y2, int z) {
  if (FIs3DPass && FOrthogonalPass) {
    TPoint a = ProjectXYZ(x1, y1, z), b = ProjectXYZ(x2, y2, z);
    Ellipse(a.X, a.Y, b.X, b.Y);
    return;
  }
  if (!FIs3DPass) {
    Ellipse(x1, y1, x2 + 1, y2 + 1);
    return;
  }
  const int cx = (x1 + x2) / 2, cy = (y1 + y2) / 2;
  const int rx = (x2 - x1) / 2, ry = (y2 - y1) / 2;
  TPointArray p(64);
  p[0] = ProjectXYZ(cx, y2, z);
  for (int i = 1; i < 64; ++i) {
    const double t = i * 2.0 * M_PI / 63.0;
    const double px = cx + rx * std::sin(t), py = cy + ry * std::cos(t);
    p[i] = {RoundInt(px), RoundInt(py)};
    ProjectFloatPoint(p[i], z, py, px);
  }
  if (FCanvasBrush->Style() != bsClear) {
    const TPenStyle saved = FCanvasPen->Style();
    FCanvasPen->SetStyle(psClear);
    const TPoint c = ProjectXYZ(cx, cy, z);
    for (int k = 0; k < 63; ++k) {
      const TPoint tri[3] = {c, p[k], p[k + 1]};
      Polygon(tri);
    }
    FCanvasPen->SetStyle(saved);
  }
  if (FCanvasPen->Style() != psClear) Polyline(p);
}

// ---------------------------------------------------------------------------
// Solids

TColor TGrafCanvas3D::BaseColor() {
  return FCanvasBrush->Style() == bsSolid && !FCanvasBrush->Bitmap() ? FCanvasBrush->Color() : GetBackgroundColor();
}

void TGrafCanvas3D::ShadeIfDark(bool dark, TColor base, int amount) {
  if (dark) ShadeFillColor(base, amount);
}

namespace {

// Puts the fill colour back to a solid's base colour.
void RestoreFill(TGrafCanvas3D* c, TColor base) {
  if (c->CanvasBrush()->Style() == bsSolid && !c->CanvasBrush()->Bitmap()) {
    if (c->CanvasBrush()->Color() != base) c->CanvasBrush()->SetColor(base);
  } else {
    c->SetBackgroundColor(base);
  }
}

}  // namespace

void TGrafCanvas3D::Cube(int left, int right, int top, int bottom, int z0, int z1, bool darkSides) {
  const TColor base = BaseColor();
  const bool clear = FCanvasBrush->Style() == bsClear;
  const int L = left, R = right, T = top, B = bottom;

  StoredQuad = {ProjectXYZ(L, T, z0), ProjectXYZ(R, T, z0), ProjectXYZ(R, B, z0), ProjectXYZ(L, B, z0)};
  if (clear || QuadTest(StoredQuad) > 0) {
    DrawStoredQuad();
  } else {
    StoredQuad = {ProjectXYZ(L, T, z1), ProjectXYZ(R, T, z1), ProjectXYZ(R, B, z1), ProjectXYZ(L, B, z1)};
    DrawStoredQuad();
  }

  StoredQuad = {ProjectXYZ(R, T, z0), ProjectXYZ(R, T, z1), ProjectXYZ(R, B, z1), ProjectXYZ(R, B, z0)};
  if (clear || QuadTest(StoredQuad) > 0) {
    ShadeIfDark(darkSides, base, DarkSideAmount);
    DrawStoredQuad();
  }

  StoredQuad = {ProjectXYZ(L, T, z0), ProjectXYZ(L, T, z1), ProjectXYZ(L, B, z1), ProjectXYZ(L, B, z0)};
  {
    const TFourPoints& q = StoredQuad;
    const int64_t t = static_cast<int64_t>(q[3].X - q[0].X) * (q[1].Y - q[0].Y) -
                      static_cast<int64_t>(q[1].X - q[0].X) * (q[3].Y - q[0].Y);
    if (clear || t > 0) {
      ShadeIfDark(darkSides, base, DarkSideAmount);
      DrawStoredQuad();
    }
  }

  StoredQuad = {ProjectXYZ(L, T, z0), ProjectXYZ(R, T, z0), ProjectXYZ(R, T, z1), ProjectXYZ(L, T, z1)};
  {
    const TFourPoints& q = StoredQuad;
    const int64_t t = static_cast<int64_t>(q[2].Y - q[1].Y) * (q[0].X - q[1].X) -
                      static_cast<int64_t>(q[2].X - q[1].X) * (q[0].Y - q[1].Y);
    if (clear || t > 0) {
      ShadeIfDark(darkSides, base, DarkTopAmount);
      DrawStoredQuad();
    }
  }

  StoredQuad = {ProjectXYZ(L, B, z0), ProjectXYZ(L, B, z1), ProjectXYZ(R, B, z1), ProjectXYZ(R, B, z0)};
  if (clear || QuadTest(StoredQuad) < 0) {
    ShadeIfDark(darkSides, base, DarkTopAmount);
    DrawStoredQuad();
  }
  if (darkSides) RestoreFill(this, base);
}

void TGrafCanvas3D::ConeRing(bool vertical, int l, int t, int r, int b, int z0, int z1, int percent,
                             std::vector<TPoint>& top, std::vector<TPoint>& base) {
  const int n = std::max(3, CylinderSideCount);
  const double step = 2.0 * M_PI / n;
  const int zr = (z1 - z0) / 2, zc = (z0 + z1) / 2;
  top.assign(n, {});
  base.assign(n, {});
  if (vertical) {
    const int xr = (r - l) / 2, xc = (r + l) / 2;
    const int xrTop = RoundInt(xr * percent * 0.01), zrTop = RoundInt(zr * percent * 0.01);
    for (int i = 1; i <= n; ++i) {
      const double a = (i - 4) * step;
      base[i - 1] = ProjectXYZ(xc + RoundInt(std::sin(a) * xr), b, zc - RoundInt(std::cos(a) * zr));
      top[i - 1] = ProjectXYZ(xc + RoundInt(std::sin(a) * xrTop), t, zc - RoundInt(std::cos(a) * zrTop));
    }
  } else {
    const int yr = (b - t) / 2, yc = (b + t) / 2;
    const int yrTop = RoundInt(yr * percent * 0.01), zrTop = RoundInt(zr * percent * 0.01);
    for (int i = 1; i <= n; ++i) {
      const double a = (i - 5) * step;
      base[i - 1] = ProjectXYZ(l, yc + RoundInt(std::sin(a) * yr), zc - RoundInt(std::cos(a) * zr));
      top[i - 1] = ProjectXYZ(r, yc + RoundInt(std::sin(a) * yrTop), zc - RoundInt(std::cos(a) * zrTop));
    }
  }
}

void TGrafCanvas3D::Cone(bool vertical, int left, int top, int right, int bottom, int z0, int z1, bool darkSides,
                         int conePercent) {
  const TColor base = BaseColor();
  std::vector<TPoint> A, Bs;
  ConeRing(vertical, left, top, right, bottom, z0, z1, conePercent, A, Bs);
  const int n = std::max(3, CylinderSideCount);
  for (int i = 2; i <= n; ++i) {
    const int k = i - 2;
    if (!PointsFaceAway(A[i - 2], Bs[i - 2], Bs[i - 1])) {
      ShadeIfDark(darkSides, base, 8 * k);
      const TPoint face[4] = {A[i - 2], Bs[i - 2], Bs[i - 1], A[i - 1]};
      Polygon(face);
    }
  }
  if (!PointsFaceAway(A[n - 1], Bs[n - 1], Bs[0])) {
    const TPoint face[4] = {A[n - 1], Bs[n - 1], Bs[0], A[0]};
    Polygon(face);
  }
  ShadeIfDark(darkSides, base, DarkTopAmount);
  if (vertical) {
    Polygon(A);
  } else {
    const TPoint p0 = ProjectXYZ(0, 0, 0), p1 = ProjectXYZ(0, 10, 0), p2 = ProjectXYZ(0, 10, 10);
    if (PointsFaceAway(p0, p1, p2)) Polygon(Bs);
    else Polygon(A);
  }
  if (darkSides) RestoreFill(this, base);
}

void TGrafCanvas3D::Cylinder(bool vertical, int left, int top, int right, int bottom, int z0, int z1,
                             bool darkSides) {
  Cone(vertical, left, top, right, bottom, z0, z1, darkSides, 100);
}

void TGrafCanvas3D::Pyramid(bool vertical, int left, int top, int right, int bottom, int z0, int z1,
                            bool darkSides) {
  const TColor base = BaseColor();
  const int L = left, T = top, R = right, B = bottom;
  if (vertical) {
    const bool up = T < B;
    const TPoint b1 = ProjectXYZ(L, B, z0), b2 = ProjectXYZ(R, B, z0), b3 = ProjectXYZ(L, B, z1),
                 b4 = ProjectXYZ(R, B, z1);
    if (T != B) {
      const TPoint A = ProjectXYZ((L + R) / 2, T, (z0 + z1) / 2);
      const TPoint front[3] = {b1, A, b2};
      Polygon(front);
      if (PointsFaceAway(b1, A, b3) != up) {
        const TPoint p[3] = {b1, A, b3};
        Polygon(p);
      }
      ShadeIfDark(darkSides, base, DarkSideAmount);
      if (PointsFaceAway(b2, A, b4) == up) {
        const TPoint p[3] = {b2, A, b4};
        Polygon(p);
      }
      if (up && PointsFaceAway(A, b3, b4)) {
        const TPoint p[3] = {A, b3, b4};
        Polygon(p);
      }
    }
    if (PointsFaceAway(b1, b2, b3) == up) {
      ShadeIfDark(darkSides, base, DarkTopAmount);
      RectangleY(L, B, R, z0, z1);
    }
  } else {
    const bool up = L < R;
    const TPoint c1 = ProjectXYZ(L, T, z0), c2 = ProjectXYZ(L, B, z0), c3 = ProjectXYZ(L, T, z1),
                 c4 = ProjectXYZ(L, B, z1);
    if (L != R) {
      const TPoint A = ProjectXYZ(R, (T + B) / 2, (z0 + z1) / 2);
      const TPoint front[3] = {c1, A, c2};
      Polygon(front);
      if (PointsFaceAway(c3, A, c4) != up) {
        const TPoint p[3] = {c3, A, c4};
        Polygon(p);
      }
      ShadeIfDark(darkSides, base, DarkTopAmount);
      if (PointsFaceAway(c1, A, c3) != up) {
        const TPoint p[3] = {c1, A, c3};
        Polygon(p);
      }
      if (PointsFaceAway(c4, A, c2) != up) {
        const TPoint p[3] = {c4, A, c2};
        Polygon(p);
      }
    }
    if (PointsFaceAway(c1, c2, c3) != (L >= R)) {
      ShadeIfDark(darkSides, base, DarkSideAmount);
      RectangleZ(L, T, B, z0, z1);
    }
  }
  if (darkSides) RestoreFill(this, base);
}

void TGrafCanvas3D::TruncatedPyramid(const TRect& rect, int z0, int z1, int tx, int tz) {
  const int L = rect.Left, T = rect.Top, R = rect.Right, B = rect.Bottom;
  const int mx = (L + R) / 2, mz = (z0 + z1) / 2;
  auto baseCap = [&] { RectangleY(L, B, R, z0, z1); };
  auto topCap = [&] {
    if (tx != 0) RectangleY(mx - tx, T, mx + tx, mz - tz, mz + tz);
  };
  auto depthFace = [&](int zt, int zb) {
    const TFourPoints pts = {TPoint{mx - tx, T}, TPoint{mx + tx, T}, TPoint{R, B}, TPoint{L, B}};
    TFourPoints q;
    for (int i = 0; i < 4; ++i) {
      q[i] = pts[i];
      ProjectFloatPoint(q[i], i < 2 ? zt : zb, pts[i].Y, pts[i].X);
    }
    const bool f = PointsFaceAway(q[1], q[2], q[3]);
    const bool cond = (zt < zb && zt >= 1 && T < B) || (zt > zb && B < T);
    if (cond ? !f : f) PlaneFour3D(pts, zt, zb);
  };
  auto sideFace = [&](int xt, int xb) {
    const TFourPoints q = {ProjectXYZ(xt, T, mz - tz), ProjectXYZ(xt, T, mz + tz), ProjectXYZ(xb, B, z1),
                           ProjectXYZ(xb, B, z0)};
    const bool f = PointsFaceAway(q[3], q[2], q[1]);
    const bool cond = (xt < xb && T < B) || (xb < xt && B < T);
    if (cond ? !f : f) {
      StoredQuad = q;
      DrawStoredQuad();
    }
  };
  const bool baseFirst = B > T;
  if (baseFirst) baseCap();
  else topCap();
  depthFace(mz + tz, z1);
  if (tx != 0 || z0 != z1) {
    sideFace(mx - tx, L);
    depthFace(mz - tz, z0);
    sideFace(mx + tx, R);
  }
  if (baseFirst) topCap();
  else baseCap();
}

// ---------------------------------------------------------------------------
// Pies

void TGrafCanvas3D::Pie3D(int xc, int yc, int xr, int yr, int z0, int z1, double startAngle, double endAngle,
                          bool darkSides, bool drawSides, int donutPercent, TCustomGrafGradient* gradient) {
  const double spanDeg = std::fabs(endAngle - startAngle) * 180.0 / M_PI;
  const int N = std::min(RoundInt(spanDeg / 2), 94);
  const int P = N + 2;
  const double step = (endAngle - startAngle) / (P - 1);
  auto angle = [&](int k) { return startAngle + (k - 1) * step; };  // k = 1..P

  auto outer = [&](int k, int z) {
    const double a = angle(k);
    const double x = xc + xr * std::cos(a), y = yc - yr * std::sin(a);
    TPoint p{RoundInt(x), RoundInt(y)};
    ProjectFloatPoint(p, z, y, x);
    return p;
  };
  const double rxi = donutPercent * xr * 0.01, ryi = donutPercent * yr * 0.01;
  auto inner = [&](int k, int z) {
    if (donutPercent <= 0) return ProjectXYZ(xc, yc, z);
    const double a = angle(k);
    const double x = xc + rxi * std::cos(a);
    const double y = yc - RoundInt(ryi * std::sin(a));
    TPoint p{RoundInt(x), RoundInt(y)};
    ProjectFloatPoint(p, z, y, x);
    return p;
  };

  std::vector<TPoint> lid(P + 1), bottom(P + 1);  // 1-based
  for (int k = 1; k <= P; ++k) {
    lid[k] = outer(k, z1);
    bottom[k] = outer(k, z0);
  }
  const TColor base = BaseColor();

  auto drawArea = [&](const TPointArray& poly) {
    if (!gradient) {
      Polygon(poly);
      return;
    }
    ClipToPolygon(poly);
    try {
      gradient->DrawInRect(this, ExclusiveBoundsOfPoints(poly.data(), static_cast<int>(poly.size())), 0);
    } catch (...) {
      RemoveClipRegion();
      throw;
    }
    RemoveClipRegion();
    if (FCanvasPen->Style() != psClear) {
      const TBrushStyle saved = FCanvasBrush->Style();
      FCanvasBrush->SetStyle(bsClear);
      Polygon(poly);
      FCanvasBrush->SetStyle(saved);
    }
  };

  if (donutPercent > 0) {
    TPointArray wall;
    wall.push_back(inner(1, z1));
    for (int k = P; k >= 2; --k) wall.push_back(inner(k, z1));
    wall.push_back(inner(1, z0));
    for (int k = 2; k <= P; ++k) wall.push_back(inner(k, z0));
    ShadeIfDark(darkSides, base, 32);
    Polygon(wall);
  }

  if (drawSides) {
    if (lid[P].X < FScreenCenterX) {
      ShadeIfDark(darkSides, base, 32);
      const TPoint side[4] = {inner(P, z1), lid[P], bottom[P], inner(P, z0)};
      Polygon(side);
    }
    if (lid[1].X > FScreenCenterX) {
      ShadeIfDark(darkSides, base, 32);
      const TPoint side[4] = {inner(1, z1), lid[1], bottom[1], inner(1, z0)};
      Polygon(side);
    }
  }

  RestoreFill(this, base);
  {
    TPointArray top;
    top.push_back(inner(1, z1));
    for (int k = 1; k <= P; ++k) top.push_back(lid[k]);
    if (donutPercent > 0)
      for (int k = P; k >= 1; --k) top.push_back(inner(k, z1));
    drawArea(top);
  }

  // The outer wall shows where the lid's arc runs to the right.
  auto wallFrom = [&](int i0, int i1) {
    TPointArray w;
    for (int k = i0; k <= i1; ++k) w.push_back(lid[k]);
    for (int k = i1; k >= i0; --k) w.push_back(bottom[k]);
    ShadeIfDark(darkSides, base, 32);
    drawArea(w);
  };
  int k = 2;
  while (k <= P && !(lid[k].X > lid[k - 1].X)) ++k;
  if (k <= P) {
    const int i0 = k - 1;
    int i1 = 0;
    // The wall ends at the first point where the arc turns back, the last
    // point included: an arc that turns only there still gets its wall.
    for (int j = k + 1; j <= P; ++j)
      if (lid[j].X < lid[j - 1].X) {
        i1 = j;
        break;
      }
    if (i1 == 0) i1 = P;
    wallFrom(i0, i1);
    if (i1 != P && lid[P].X > lid[P - 1].X) {
      int s = P - 1;
      while (s > 1 && lid[s].X > lid[s - 1].X) --s;
      if (s > 1) wallFrom(s, P);
    }
  }
  RestoreFill(this, base);
}

// ---------------------------------------------------------------------------
// Arrows

void TGrafCanvas3D::Arrow(bool filled, TPoint from, TPoint to, int headWidth, int headHeight, int z,
                          double arrowPercent) {
  const double dx = to.X - from.X, dy = from.Y - to.Y;
  const double d = std::sqrt(dx * dx + dy * dy);
  if (d == 0) return;
  const double sn = dy / d, cs = dx / d;
  auto u = [&](TPoint p) { return p.X * cs - p.Y * sn; };
  auto v = [&](TPoint p) { return p.X * sn + p.Y * cs; };
  auto back = [&](double uu, double vv) {
    return ProjectXYZ(RoundInt(uu * cs + vv * sn), RoundInt(-uu * sn + vv * cs), z);
  };
  const double l = std::min<double>(RoundInt(d), headHeight);
  const double uTo = u(to), vTo = v(to);
  const double u0 = uTo - l;
  const TPoint hl = back(u0, vTo - headWidth / 2.0);
  const TPoint hr = back(u0, vTo + headWidth / 2.0);
  const TPoint tip = ProjectPointAtDepth(to, z);
  if (!filled) {
    const TPoint tail = ProjectPointAtDepth(from, z);
    LineFromTo(tail.X, tail.Y, tip.X, tip.Y);
    LineFromTo(tip.X, tip.Y, hr.X, hr.Y);
    LineFromTo(tip.X, tip.Y, hl.X, hl.Y);
    return;
  }
  const double o = headWidth * arrowPercent * 0.005;
  const double uFrom = u(from);
  const TPoint poly[7] = {back(uFrom, vTo + o), back(uFrom, vTo - o), back(u0, vTo - o), hl, tip, hr,
                          back(u0, vTo + o)};
  Polygon(poly);
}
