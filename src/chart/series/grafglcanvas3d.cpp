// The solid and depth-placed operations of the GL canvas.
#include <algorithm>
#include <cmath>

#include "chart/series/grafglcanvas.h"

namespace {

constexpr GLenum GL_LINES = 1, GL_LINE_LOOP = 2, GL_LINE_STRIP = 3, GL_TRIANGLE_FAN = 6, GL_QUADS = 7,
                 GL_QUAD_STRIP = 8, GL_POLYGON = 9, GL_CULL_FACE = 0x0B44, GL_FRONT_AND_BACK = 0x0408,
                 GL_POINT = 0x1B00, GL_LINE = 0x1B01, GL_FILL = 0x1B02;
constexpr GLenum GLU_LINE = 100011, GLU_FILL = 100012, GLU_OUTSIDE = 100020, GLU_INSIDE = 100021;

int RoundI(double v) { return static_cast<int>(std::lround(v)); }

}  // namespace

void TGLCanvas::MoveTo3D(int x, int y, int z) {
  FPenX = x;
  FPenY = y;
  FPenZ = z;
}

void TGLCanvas::LineTo3D(int x, int y, int z) {
  if (FLive && PenVisible()) {
    ApplyCanvasPen();
    GL.glBegin(GL_LINES);
    GL.glVertex3i(FPenX, -FPenY, -FPenZ);
    GL.glVertex3i(x, -y, -z);
    GL.glEnd();
    Check("LineTo3D");
  }
  MoveTo3D(x, y, z);
}

void TGLCanvas::HorizontalLine3D(int left, int right, int y, int z) {
  MoveTo3D(left, y, z);
  LineTo3D(right, y, z);
}

void TGLCanvas::VerticalLine3D(int x, int top, int bottom, int z) {
  MoveTo3D(x, top, z);
  LineTo3D(x, bottom, z);
}

void TGLCanvas::DepthLine3D(int x, int y, int z0, int z1) {
  MoveTo3D(x, y, z0);
  LineTo3D(x, y, z1);
}

void TGLCanvas::LineAtDepth(int x0, int y0, int x1, int y1, int z) {
  MoveTo3D(x0, y0, z);
  LineTo3D(x1, y1, z);
}

void TGLCanvas::OutlineLoop(std::span<const std::array<double, 3>> points) {
  if (!PenVisible()) return;
  ApplyCanvasPen();
  GL.glBegin(GL_LINE_LOOP);
  for (const auto& p : points) Vertex(p[0], p[1], p[2]);
  GL.glEnd();
}

// Fill (brush colour, optional brush texture) and outline of the same corners.
void TGLCanvas::FillThenOutline(GLenum mode, std::span<const std::array<double, 3>> points,
                                std::array<float, 3> normal, bool texture, bool outlineFirst) {
  if (outlineFirst) OutlineLoop(points);
  if (BrushVisible()) {
    SetColor(FCanvasBrush->Color());
    if (texture) EnableBrushTexture();
    GL.glBegin(mode);
    GL.glNormal3f(normal[0], normal[1], normal[2]);
    for (const auto& p : points) Vertex(p[0], p[1], p[2]);
    GL.glEnd();
    if (texture) DisableBrushTexture();
  }
  if (!outlineFirst) OutlineLoop(points);
}

void TGLCanvas::Cube(int left, int right, int top, int bottom, int z0, int z1, bool) {
  if (!FLive) return;
  if (left > right) std::swap(left, right);
  if (top > bottom) std::swap(top, bottom);
  if (z0 > z1) std::swap(z0, z1);
  GL.glEnable(GL_CULL_FACE);
  struct TCorner {
    int x, y, z;
    float s, t;
  };
  struct TFace {
    float nx, ny, nz;
    TCorner c[4];
  };
  const TFace faces[6] = {
      {0, 0, 1, {{left, bottom, z0, 1, 0}, {right, bottom, z0, 1, 1}, {right, top, z0, 0, 1}, {left, top, z0, 0, 0}}},
      {-1, 0, 0, {{left, top, z1, 0, 0}, {left, bottom, z1, 0, 1}, {left, bottom, z0, 1, 1}, {left, top, z0, 1, 0}}},
      {0, 0, -1, {{right, top, z1, 0, 0}, {right, bottom, z1, 0, 1}, {left, bottom, z1, 1, 1}, {left, top, z1, 1, 0}}},
      {1, 0, 0, {{right, bottom, z0, 0, 0}, {right, bottom, z1, 0, 1}, {right, top, z1, 1, 1}, {right, top, z0, 1, 0}}},
      {0, 1, 0, {{left, top, z1, 0, 0}, {left, top, z0, 0, 1}, {right, top, z0, 1, 1}, {right, top, z1, 1, 0}}},
      {0, -1, 0,
       {{right, bottom, z0, 0, 0}, {left, bottom, z0, 0, 1}, {left, bottom, z1, 1, 1}, {right, bottom, z1, 1, 0}}}};
  if (BrushVisible()) {
    SetColor(FCanvasBrush->Color());
    EnableBrushTexture();
    GL.glBegin(GL_QUADS);
    for (const TFace& f : faces) {
      GL.glNormal3f(f.nx, f.ny, f.nz);
      for (const TCorner& c : f.c) {
        GL.glTexCoord2f(c.s, c.t);
        GL.glVertex3i(c.x, -c.y, -c.z);
      }
    }
    GL.glEnd();
    DisableBrushTexture();
  }
  if (PenVisible()) {
    ApplyCanvasPen();
    auto loop = [](std::initializer_list<std::array<int, 3>> pts) {
      GL.glBegin(GL_LINE_LOOP);
      for (const auto& p : pts) GL.glVertex3i(p[0], -p[1], -p[2]);
      GL.glEnd();
    };
    loop({{left, bottom, z0}, {right, bottom, z0}, {right, top, z0}, {left, top, z0}});
    loop({{left, bottom, z1}, {right, bottom, z1}, {right, top, z1}, {left, top, z1}});
    loop({{right, bottom, z0}, {right, bottom, z1}, {right, top, z1}, {right, top, z0}});
    loop({{left, bottom, z0}, {left, bottom, z1}, {left, top, z1}, {left, top, z0}});
    loop({{left, top, z0}, {right, top, z0}, {right, top, z1}, {left, top, z1}});
  }
  GL.glDisable(GL_CULL_FACE);
  Check("Cube");
}

void TGLCanvas::Pyramid(bool vertical, int left, int top, int right, int bottom, int z0, int z1, bool) {
  if (!FLive) return;
  GL.glPushMatrix();
  GL.glEnable(GL_CULL_FACE);
  if (vertical) {
    if (left > right) std::swap(left, right);
    if (top > bottom) GL.glDisable(GL_CULL_FACE);
  } else {
    if (top > bottom) std::swap(top, bottom);
    if (left > right) GL.glDisable(GL_CULL_FACE);
  }
  if (z0 > z1) std::swap(z0, z1);
  GL.glTranslatef(static_cast<float>(left), static_cast<float>(-bottom), static_cast<float>(-z0));
  if (!vertical) GL.glRotatef(90, 0, 0, 1);
  const int w = vertical ? right - left : bottom - top;
  const int h = vertical ? top - bottom : right - left;
  const int d = z1 - z0;
  const float apex[3] = {w / 2.0f, static_cast<float>(-h), -d / 2.0f};
  if (BrushVisible()) {
    SetColor(FCanvasBrush->Color());
    GL.glBegin(GL_TRIANGLE_FAN);
    GL.glNormal3f(apex[0], apex[1], apex[2]);
    GL.glVertex3d(apex[0], apex[1], apex[2]);
    GL.glNormal3i(0, 0, 1);
    GL.glVertex3i(0, 0, 0);
    GL.glNormal3i(1, 0, 1);
    GL.glVertex3i(w, 0, 0);
    GL.glNormal3i(1, 0, -1);
    GL.glVertex3i(w, 0, -d);
    GL.glNormal3i(0, 0, -1);
    GL.glVertex3i(0, 0, -d);
    GL.glVertex3i(0, 0, 0);
    GL.glEnd();
    RectangleY(0, 0, w, 0, d);
  }
  GL.glDisable(GL_CULL_FACE);
  if (PenVisible()) {
    ApplyCanvasPen();
    GL.glBegin(GL_LINE_LOOP);
    GL.glVertex3i(0, 0, 0);
    GL.glVertex3i(w, 0, 0);
    GL.glVertex3i(w, 0, -d);
    GL.glVertex3i(0, 0, -d);
    GL.glEnd();
    for (int x : {0, w}) {
      GL.glBegin(GL_LINE_STRIP);
      GL.glVertex3i(x, 0, 0);
      GL.glVertex3d(apex[0], apex[1], apex[2]);
      GL.glVertex3i(x, 0, -d);
      GL.glEnd();
    }
  }
  GL.glPopMatrix();
  Check("Pyramid");
}

void TGLCanvas::TruncatedPyramid(const TRect& r, int z0, int z1, int truncX, int truncZ) {
  const int ix = (r.Right - r.Left - 2 * truncX) / 2;
  const int iz = (std::abs(z0 - z1) - 2 * truncZ) / 2;
  const int l = r.Left, t = r.Top, rr = r.Right, b = r.Bottom;
  auto quad = [this](std::array<TPoint3D, 4> q) { Polygon3D(q); };
  quad({{{l, b, z0}, {rr, b, z0}, {rr, b, z1}, {l, b, z1}}});
  quad({{{l, b, z1}, {rr, b, z1}, {rr - ix, t, z1 - iz}, {l + ix, t, z1 - iz}}});
  quad({{{l, b, z0}, {l, b, z1}, {l + ix, t, z1 - iz}, {l + ix, t, z0 + iz}}});
  quad({{{rr, b, z0}, {rr, b, z1}, {rr - ix, t, z1 - iz}, {rr - ix, t, z0 + iz}}});
  quad({{{l, b, z0}, {rr, b, z0}, {rr - ix, t, z0 + iz}, {l + ix, t, z0 + iz}}});
}

void TGLCanvas::DrawConeOrCylinder(bool vertical, int left, int top, int right, int bottom, int z0, int z1,
                                   int conePercent) {
  GL.glPushMatrix();
  const int depthRadius = std::abs(z0 - z1) / 2;
  bool flipped = false;
  if (left > right) std::swap(left, right), flipped = true;
  if (top > bottom) std::swap(top, bottom), flipped = true;
  if (z0 > z1) std::swap(z0, z1);
  int radius = 0, length = 0;
  const float zc = static_cast<float>(-((z0 + z1) / 2));
  if (vertical) {
    radius = std::min(depthRadius, (right - left) / 2);
    GL.glTranslatef(static_cast<float>((left + right) / 2), static_cast<float>(flipped ? -bottom : -top), zc);
    GL.glRotatef(flipped ? 270.f : 90.f, 1, 0, 0);
    length = bottom - top;
  } else {
    radius = std::min(depthRadius, (bottom - top) / 2);
    GL.glTranslatef(static_cast<float>(flipped ? left : right), static_cast<float>(-((top + bottom) / 2)), zc);
    GL.glRotatef(flipped ? 90.f : 270.f, 0, 1, 0);
    length = right - left;
  }
  const int tip = conePercent == 100 ? radius : RoundI(conePercent * 0.01 * radius);
  const int slices = std::max(3, std::min(CylinderSideCount, 6 * radius));
  GLUquadric* q = Quadric();
  if (BrushVisible()) {
    GL.glEnable(GL_CULL_FACE);
    SetColor(FCanvasBrush->Color());
    EnableBrushTexture();
    GL.gluCylinder(q, tip, radius, length, slices, 6);
    DisableBrushTexture();
    if (conePercent == 100) {
      GL.gluQuadricOrientation(q, GLU_INSIDE);
      GL.gluDisk(q, 0, tip, slices, 6);
      GL.gluQuadricOrientation(q, GLU_OUTSIDE);
      GL.glPushMatrix();
      GL.glTranslated(0, 0, length);
      GL.gluDisk(q, 0, tip, slices, 6);
      GL.glPopMatrix();
    }
    GL.glDisable(GL_CULL_FACE);
  }
  if (PenVisible()) {
    ApplyCanvasPen();
    GL.gluQuadricDrawStyle(q, GLU_LINE);
    GL.gluCylinder(q, tip + 0.5, radius + 0.5, length + 0.5, slices, 6);
    GL.gluQuadricDrawStyle(q, GLU_FILL);
  }
  GL.glPopMatrix();
}

void TGLCanvas::Cylinder(bool vertical, int left, int top, int right, int bottom, int z0, int z1, bool) {
  if (!FLive) return;
  DrawConeOrCylinder(vertical, left, top, right, bottom, z0, z1, 100);
  Check("Cylinder");
}

void TGLCanvas::Cone(bool vertical, int left, int top, int right, int bottom, int z0, int z1, bool,
                     int conePercent) {
  if (!FLive) return;
  DrawConeOrCylinder(vertical, left, top, right, bottom, z0, z1, conePercent);
  Check("Cone");
}

void TGLCanvas::SphereAt(double x, double y, double z, double radius) {
  GL.glPushMatrix();
  GL.glTranslatef(static_cast<float>(x), static_cast<float>(-y), static_cast<float>(-z));
  GLUquadric* q = Quadric();
  if (BrushVisible()) {
    SetColor(FCanvasBrush->Color());
    GL.glEnable(GL_CULL_FACE);
    EnableBrushTexture();
    GL.gluSphere(q, radius, 32, 32);
    DisableBrushTexture();
    GL.glDisable(GL_CULL_FACE);
  }
  if (PenVisible()) {
    ApplyCanvasPen();
    GL.gluQuadricDrawStyle(q, GLU_LINE);
    GL.gluSphere(q, radius, 32, 32);
    GL.gluQuadricDrawStyle(q, GLU_FILL);
  }
  GL.glPopMatrix();
}

void TGLCanvas::Sphere(int x, int y, int z, double radius) {
  if (!FLive) return;
  SphereAt(x, y, z, radius);
  Check("Sphere");
}

void TGLCanvas::Pie3D(int xCenter, int yCenter, int xRadius, int yRadius, int z0, int z1, double startAngle,
                      double endAngle, bool, bool drawSides, int donutPercent, TCustomGrafGradient*) {
  if (!FLive) return;
  GL.glPushMatrix();
  GL.glTranslatef(static_cast<float>(xCenter), static_cast<float>(-yCenter), 0);
  GL.glRotatef(180, 1, 0, 0);
  const double step = (endAngle - startAngle) / 16;
  // Outer rim and, for a donut, the inner rim at the hole's share of the radii.
  const double hole = std::clamp(donutPercent, 0, 100) * 0.01;
  std::array<std::array<int, 2>, 17> outer{}, inner{};
  for (int i = 0; i <= 16; ++i) {
    const double a = startAngle + M_PI / 2 + i * step;
    outer[i] = {static_cast<int>(std::sin(a) * xRadius), static_cast<int>(std::cos(a) * yRadius)};
    inner[i] = {static_cast<int>(std::sin(a) * xRadius * hole), static_cast<int>(std::cos(a) * yRadius * hole)};
  }
  const bool brush = BrushVisible();
  auto fillColour = [&] {
    SetColor(FCanvasBrush->Color());
  };
  if (drawSides && brush && z0 != z1) {
    fillColour();
    for (int end : {0, 16}) {
      GL.glBegin(GL_QUADS);
      GL.glNormal3i(0, 1, 0);
      GL.glVertex3i(inner[end][0], -z1, -inner[end][1]);
      GL.glVertex3i(outer[end][0], -z1, -outer[end][1]);
      GL.glVertex3i(outer[end][0], -z0, -outer[end][1]);
      GL.glVertex3i(inner[end][0], -z0, -inner[end][1]);
      GL.glEnd();
    }
  }
  GL.glEnable(GL_CULL_FACE);
  if (brush) {
    fillColour();
    EnableBrushTexture();
    GL.glBegin(GL_QUAD_STRIP);
    GL.glNormal3i(0, 1, 0);
    for (const auto& p : outer) {
      GL.glVertex3i(p[0], -z1, -p[1]);
      GL.glVertex3i(p[0], -z0, -p[1]);
    }
    GL.glEnd();
    DisableBrushTexture();
  }
  if (PenVisible()) {
    ApplyCanvasPen();
    GL.glBegin(GL_LINES);
    GL.glVertex3i(outer[0][0], -z0, -outer[0][1]);
    GL.glVertex3i(outer[0][0], -z1, -outer[0][1]);
    GL.glEnd();
  }
  const bool same = z0 == z1;
  for (int face = 0; face < 2; ++face) {
    const int zf = face == 0 ? z1 : z0;
    const bool ascending = face == 0 || same;
    auto rimIndex = [&](int k) { return ascending ? k : 16 - k; };
    if (PenVisible()) {
      ApplyCanvasPen();
      GL.glBegin(GL_LINE_LOOP);
      if (hole > 0) {
        for (int k = 0; k <= 16; ++k) GL.glVertex3i(outer[k][0], -zf, -outer[k][1]);
        for (int k = 16; k >= 0; --k) GL.glVertex3i(inner[k][0], -zf, -inner[k][1]);
      } else {
        GL.glVertex3i(0, -zf, 0);
        for (int k = 0; k <= 16; ++k) GL.glVertex3i(outer[rimIndex(k)][0], -zf, -outer[rimIndex(k)][1]);
      }
      GL.glEnd();
    }
    if (brush) {
      fillColour();
      if (hole > 0) {
        GL.glBegin(GL_QUAD_STRIP);
        GL.glNormal3i(0, face == 0 ? -1 : 1, 0);
        for (int k = 0; k <= 16; ++k) {
          const int i = rimIndex(k);
          GL.glVertex3i(outer[i][0], -zf, -outer[i][1]);
          GL.glVertex3i(inner[i][0], -zf, -inner[i][1]);
        }
      } else {
        GL.glBegin(GL_TRIANGLE_FAN);
        GL.glNormal3i(0, face == 0 ? -1 : 1, 0);
        GL.glVertex3i(0, -zf, 0);
        for (int k = 0; k <= 16; ++k) GL.glVertex3i(outer[rimIndex(k)][0], -zf, -outer[rimIndex(k)][1]);
      }
      GL.glEnd();
    }
  }
  GL.glDisable(GL_CULL_FACE);
  GL.glPopMatrix();
  Check("Pie3D");
}

void TGLCanvas::Donut(int xCenter, int yCenter, int xRadius, int yRadius, double startAngle, double endAngle,
                      double donutPercent) {
  Pie3D(xCenter, yCenter, xRadius, yRadius, 0, 0, startAngle, endAngle, true, true, RoundI(donutPercent), nullptr);
  if (FLive) Check("Donut");
}

void TGLCanvas::Plane3D(TPoint a, TPoint b, int z0, int z1) {
  if (!FLive) return;
  const std::array<std::array<double, 3>, 4> p{
      {{double(a.X), double(a.Y), double(z0)}, {double(b.X), double(b.Y), double(z0)},
       {double(b.X), double(b.Y), double(z1)}, {double(a.X), double(a.Y), double(z1)}}};
  FillThenOutline(GL_QUADS, p, {0, 1, 0}, false, false);
  Check("Plane3D");
}

void TGLCanvas::PlaneWithZ(TPoint p1, TPoint p2, TPoint p3, TPoint p4, int z) {
  if (!FLive) return;
  const std::array<std::array<double, 3>, 4> p{{{double(p1.X), double(p1.Y), double(z)},
                                                {double(p2.X), double(p2.Y), double(z)},
                                                {double(p3.X), double(p3.Y), double(z)},
                                                {double(p4.X), double(p4.Y), double(z)}}};
  FillThenOutline(GL_QUADS, p, {0, 0, 1}, false, true);
  Check("PlaneWithZ");
}

void TGLCanvas::PlaneFour3D(const TFourPoints& q, int z0, int z1) {
  if (!FLive) return;
  const std::array<std::array<double, 3>, 4> p{{{double(q[0].X), double(q[0].Y), double(z0)},
                                                {double(q[1].X), double(q[1].Y), double(z0)},
                                                {double(q[2].X), double(q[2].Y), double(z1)},
                                                {double(q[3].X), double(q[3].Y), double(z1)}}};
  const double ax = q[0].X - q[2].X, ay = q[0].Y - q[2].Y, dz = z0 - z1;
  const double bx = q[3].X - q[2].X, by = q[3].Y - q[2].Y;
  const std::array<float, 3> n{static_cast<float>(-dz * by), static_cast<float>(dz * bx),
                               static_cast<float>(ay * bx - ax * by)};
  FillThenOutline(GL_QUADS, p, n, true, true);
  Check("PlaneFour3D");
}

void TGLCanvas::Polygon3D(std::span<const TPoint3D> points) {
  if (!FLive || points.empty()) return;
  auto run = [&](GLenum mode) {
    GL.glBegin(mode);
    for (const TPoint3D& p : points) {
      GL.glNormal3i(p.X, p.Y, -p.Z);
      GL.glTexCoord3i(p.X, p.Y, p.Z);
      GL.glVertex3i(p.X, -p.Y, -p.Z);
    }
    GL.glEnd();
  };
  if (BrushVisible()) {
    SetColor(FCanvasBrush->Color());
    EnableBrushTexture();
    run(GL_POLYGON);
    DisableBrushTexture();
  }
  if (PenVisible()) {
    ApplyCanvasPen();
    run(GL_LINE_LOOP);
  }
  Check("Polygon3D");
}

void TGLCanvas::PolygonWithZ(std::span<const TPoint> points, int z) {
  if (!FLive || points.empty()) return;
  std::vector<std::array<double, 3>> p;
  for (const TPoint& q : points) p.push_back({double(q.X), double(q.Y), double(z)});
  FillThenOutline(GL_POLYGON, p, {0, 0, 1}, true, false);
  Check("PolygonWithZ");
}

void TGLCanvas::PolylineWithZ(std::span<const TPoint> points, int z) {
  if (!FLive || points.empty() || !PenVisible()) return;
  ApplyCanvasPen();
  GL.glBegin(GL_LINE_STRIP);
  for (const TPoint& p : points) GL.glVertex3i(p.X, -p.Y, -z);
  GL.glEnd();
  Check("PolylineWithZ");
}

void TGLCanvas::TriangleAtDepth(TPoint p1, TPoint p2, TPoint p3, int z) {
  const TPoint p[3] = {p1, p2, p3};
  PolygonWithZ(p, z);
}

void TGLCanvas::Triangle3D(const std::array<TPoint3D, 3>& points, const std::array<TColor, 3>& colors) {
  if (!FLive) return;
  if (BrushVisible()) {
    GL.glBegin(GL_POLYGON);
    GL.glNormal3i(0, 0, 1);
    for (size_t i = 0; i < 3; ++i) {
      SetColor(colors[i]);
      GL.glVertex3i(points[i].X, -points[i].Y, -points[i].Z);
    }
    GL.glEnd();
  }
  if (PenVisible()) {
    ApplyCanvasPen();
    GL.glBegin(GL_LINE_LOOP);
    for (const TPoint3D& p : points) GL.glVertex3i(p.X, -p.Y, -p.Z);
    GL.glEnd();
  }
  Check("Triangle3D");
}

void TGLCanvas::RectangleWithZ(const TRect& r, int z) {
  if (!FLive) return;
  const std::array<std::array<double, 3>, 4> p{{{double(r.Left), double(r.Top), double(z)},
                                                {double(r.Right), double(r.Top), double(z)},
                                                {double(r.Right), double(r.Bottom), double(z)},
                                                {double(r.Left), double(r.Bottom), double(z)}}};
  OutlineLoop(p);
  if (BrushVisible()) {
    SetColor(FCanvasBrush->Color());
    EnableBrushTexture();
    GL.glBegin(GL_QUADS);
    GL.glNormal3i(0, 0, 1);
    GL.glTexCoord2f(0, 1);
    GL.glVertex3i(r.Left, -r.Top, -z);
    GL.glTexCoord2f(1, 1);
    GL.glVertex3i(r.Left, -r.Bottom, -z);
    GL.glTexCoord2f(1, 0);
    GL.glVertex3i(r.Right, -r.Bottom, -z);
    GL.glTexCoord2f(0, 0);
    GL.glVertex3i(r.Right, -r.Top, -z);
    GL.glEnd();
    DisableBrushTexture();
  }
  Check("RectangleWithZ");
}

void TGLCanvas::RectangleY(int left, int top, int right, int z0, int z1) {
  if (!FLive) return;
  if (BrushVisible()) {
    SetColor(FCanvasBrush->Color());
    EnableBrushTexture();
    GL.glBegin(GL_QUADS);
    GL.glNormal3i(0, 1, 0);
    GL.glVertex3i(left, -top, -z1);
    GL.glVertex3i(right, -top, -z1);
    GL.glVertex3i(right, -top, -z0);
    GL.glVertex3i(left, -top, -z0);
    GL.glEnd();
    DisableBrushTexture();
  }
  const std::array<std::array<double, 3>, 4> p{{{double(left), double(top), double(z0)},
                                                {double(right), double(top), double(z0)},
                                                {double(right), double(top), double(z1)},
                                                {double(left), double(top), double(z1)}}};
  OutlineLoop(p);
  Check("RectangleY");
}

void TGLCanvas::RectangleZ(int x, int top, int bottom, int z0, int z1) {
  if (!FLive) return;
  const std::array<std::array<double, 3>, 4> p{{{double(x), double(top), double(z0)},
                                                {double(x), double(bottom), double(z0)},
                                                {double(x), double(bottom), double(z1)},
                                                {double(x), double(top), double(z1)}}};
  OutlineLoop(p);
  if (BrushVisible()) {
    SetColor(FCanvasBrush->Color());
    EnableBrushTexture();
    GL.glBegin(GL_QUADS);
    GL.glNormal3i(1, 0, 0);
    const float st[4][2] = {{0, 1}, {1, 1}, {1, 0}, {0, 0}};
    for (int i = 0; i < 4; ++i) {
      GL.glTexCoord2f(st[i][0], st[i][1]);
      Vertex(p[i][0], p[i][1], p[i][2]);
    }
    GL.glEnd();
    DisableBrushTexture();
  }
  Check("RectangleZ");
}

void TGLCanvas::Arrow(bool filled, TPoint from, TPoint to, int headWidth, int headHeight, int z, double percent) {
  if (!FLive) return;
  Check("BeforeArrow");
  const double dx = to.X - from.X, dy = from.Y - to.Y;
  const double length = std::sqrt(dx * dx + dy * dy);
  if (length == 0) {
    Check("Arrow");
    return;
  }
  const double head = std::min<double>(RoundI(length), headHeight);
  const double s = dy / length, c = dx / length;
  auto u = [&](TPoint p) { return p.X * c - p.Y * s; };
  const double v = to.X * s + to.Y * c;
  auto back = [&](double uu, double vv) { return TPoint{RoundI(uu * c + vv * s), RoundI(-uu * s + vv * c)}; };
  const TPoint first = back(u(to) - head, v - headWidth / 2.0), second = back(u(to) - head, v + headWidth / 2.0);
  if (filled) {
    const double w = headWidth * percent * 0.005;
    const TPoint shaft[4] = {back(u(from), v + w), back(u(from), v - w), back(u(to) - head, v - w),
                             back(u(to) - head, v + w)};
    PolygonWithZ(shaft, z);
    const TPoint tip[3] = {first, to, second};
    PolygonWithZ(tip, z);
  } else {
    MoveTo3D(from.X, from.Y, z);
    LineTo3D(to.X, to.Y, z);
    LineTo3D(second.X, second.Y, z);
    MoveTo3D(to.X, to.Y, z);
    LineTo3D(first.X, first.Y, z);
  }
  Check("Arrow");
}

void TGLCanvas::SetPolygonMode(TGrafCanvasSurfaceStyle style) {
  if (!FLive) return;
  GL.glPolygonMode(GL_FRONT_AND_BACK, style == tcsWire ? GL_LINE : style == tcsDot ? GL_POINT : GL_FILL);
}

void TGLCanvas::SurfaceStrips(bool sameBrush, int numX, int numZ, const TGrafSurfaceCellProc& getCell) {
  constexpr TColor kNone = 0x1FFFFFFF;
  for (int x = 2; x <= numX; ++x) {
    GL.glBegin(GL_QUAD_STRIP);
    GL.glNormal3i(0, 1, 0);
    for (int z = numZ - 1; z >= 0; --z) {
      std::array<TPoint3D, 4> corners{};
      std::array<TColor, 4> colors{kNone, kNone, kNone, kNone};
      if (getCell(x, z + 1, corners, colors)) {
        if (!sameBrush && colors[0] != kNone) SetColor(colors[0]);
        GL.glVertex3i(corners[0].X, -corners[0].Y, -corners[0].Z);
        if (!sameBrush && colors[1] != kNone) SetColor(colors[1]);
        GL.glVertex3i(corners[1].X, -corners[1].Y, -corners[1].Z);
      } else {
        // A gap: the strip starts again after it.
        GL.glEnd();
        GL.glBegin(GL_QUAD_STRIP);
        GL.glNormal3i(0, -1, 0);
      }
    }
    GL.glEnd();
  }
}

void TGLCanvas::Surface3D(TGrafCanvasSurfaceStyle style, bool sameBrush, int numX, int numZ,
                          const TGrafSurfaceCellProc& getCell) {
  if (!FLive) return;
  ApplyCanvasPen();
  if ((style == tcsSolid || !sameBrush) && FCanvasBrush) SetColor(FCanvasBrush->Color());
  if (DrawStyle == tcsSolid) SetPolygonMode(style);
  SurfaceStrips(sameBrush, numX, numZ, getCell);
  if (PenVisible() && style == tcsSolid) {
    GL.glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
    SetColor(FCanvasPen->Color());
    SurfaceStrips(true, numX, numZ, getCell);
  }
  SetPolygonMode(DrawStyle);
  Check("Surface3D");
}
