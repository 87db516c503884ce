// 3D view options and the device canvas's projection.
#include <gtest/gtest.h>

#include <cmath>

#include "chart/core/grcanvas.h"
#include "chart/core/recordingcanvas.h"
#include "platform/ui/controls.h"

namespace {

// A control that counts its invalidations.
class TCountingControl : public TControl {
public:
  TCountingControl() : TControl(nullptr) {}
  void Invalidate() override { ++Invalidations; }
  int Invalidations = 0;
};

TEST(View3DOptions, DefaultsAndStreamedDefaults) {
  TView3DOptions o(nullptr);
  EXPECT_EQ(o.Elevation(), 345);
  EXPECT_EQ(o.Rotation(), 345);
  EXPECT_EQ(o.FontZoom(), 100);
  EXPECT_EQ(o.HorizOffset(), 0);
  EXPECT_TRUE(o.Orthogonal());
  EXPECT_EQ(o.OrthoAngle(), 45);
  EXPECT_EQ(o.Perspective(), 15);
  EXPECT_EQ(o.Tilt(), 0);
  EXPECT_EQ(o.VertOffset(), 0);
  EXPECT_EQ(o.Zoom(), 100);
  EXPECT_TRUE(o.ZoomText());
  for (const TPropInfo* p : o.ClassType()->Properties())
    EXPECT_TRUE(IsDefaultPropertyValue(&o, *p)) << p->Name;
}

TEST(View3DOptions, SettersInvalidateOnlyOnRealChanges) {
  TCountingControl panel;
  TView3DOptions o(&panel);
  struct TCase {
    const char* Name;
    std::function<void()> Same, Changed;
  };
  const TCase cases[] = {
      {"FontZoom", [&] { o.SetFontZoom(o.FontZoom()); }, [&] { o.SetFontZoom(120); }},
      {"Perspective", [&] { o.SetPerspective(o.Perspective()); }, [&] { o.SetPerspective(30); }},
      {"Tilt", [&] { o.SetTilt(o.Tilt()); }, [&] { o.SetTilt(10); }},
      {"OrthoAngle", [&] { o.SetOrthoAngle(o.OrthoAngle()); }, [&] { o.SetOrthoAngle(60); }},
      {"Orthogonal", [&] { o.SetOrthogonal(o.Orthogonal()); }, [&] { o.SetOrthogonal(false); }},
      {"ZoomText", [&] { o.SetZoomText(o.ZoomText()); }, [&] { o.SetZoomText(false); }},
      {"Elevation", [&] { o.SetElevation(o.Elevation()); }, [&] { o.SetElevation(300); }},
      {"RotationFloat", [&] { o.SetRotationFloat(o.RotationFloat()); }, [&] { o.SetRotationFloat(12.5); }},
      {"HorizOffset", [&] { o.SetHorizOffset(o.HorizOffset()); }, [&] { o.SetHorizOffset(7); }},
      {"VertOffset", [&] { o.SetVertOffset(o.VertOffset()); }, [&] { o.SetVertOffset(-7); }},
      {"Zoom", [&] { o.SetZoom(o.Zoom()); }, [&] { o.SetZoom(150); }},
  };
  for (const TCase& c : cases) {
    panel.Invalidations = 0;
    c.Same();
    EXPECT_EQ(panel.Invalidations, 0) << c.Name;
    c.Changed();
    EXPECT_EQ(panel.Invalidations, 1) << c.Name;
  }
}

TEST(View3DOptions, EventsAndFloatAngles) {
  TView3DOptions o(nullptr);
  std::vector<std::pair<int, int>> zooms;  // (new value, value still stored)
  o.ZoomChangeEvent = [&](int z) { zooms.push_back({z, o.Zoom()}); };
  std::vector<bool> offsets;
  o.OffsetChangeEvent = [&](bool h) { offsets.push_back(h); };
  o.SetZoom(150);
  o.SetZoom(150);
  ASSERT_EQ(zooms.size(), 1u);
  EXPECT_EQ(zooms[0], std::make_pair(150, 100));
  EXPECT_EQ(o.Zoom(), 150);
  o.SetHorizOffset(3);
  o.SetVertOffset(4);
  o.SetVertOffset(4);
  EXPECT_EQ(offsets, (std::vector<bool>{true, false}));

  o.SetElevationFloat(345.4);
  EXPECT_EQ(o.Elevation(), 345);
  EXPECT_DOUBLE_EQ(o.ElevationFloat(), 345.4);
  o.SetRotationFloat(12.5);  // halves go to the even neighbour
  EXPECT_EQ(o.Rotation(), 12);
}

TEST(View3DOptions, AssignCopiesOptionsButNotEventsOrPanel) {
  TCountingControl panel;
  TView3DOptions a(nullptr), b(&panel);
  a.SetRotationFloat(10.25);
  a.SetElevation(20);
  a.SetZoom(80);
  a.SetOrthogonal(false);
  a.SetPerspective(0);
  a.SetTilt(5);
  a.SetZoomText(false);
  int events = 0;
  a.ZoomChangeEvent = [&](int) { ++events; };
  b.Assign(&a);
  EXPECT_DOUBLE_EQ(b.RotationFloat(), 10.25);
  EXPECT_EQ(b.Elevation(), 20);
  EXPECT_EQ(b.Zoom(), 80);
  EXPECT_FALSE(b.Orthogonal());
  EXPECT_EQ(b.Perspective(), 0);
  EXPECT_EQ(b.Tilt(), 5);
  EXPECT_FALSE(b.ZoomText());
  EXPECT_FALSE(b.ZoomChangeEvent);
  EXPECT_EQ(b.Parent(), &panel);
  EXPECT_EQ(panel.Invalidations, 0);
}

TEST(View3DOptions, OrthoRatio) {
  TView3DOptions o(nullptr);
  EXPECT_NEAR(o.OrthoRatio(), 1.0, 1e-12);
  o.SetOrthoAngle(30);
  EXPECT_NEAR(o.OrthoRatio(), std::tan(M_PI / 6), 1e-12);
  o.SetOrthoAngle(150);  // mirrored to 30
  EXPECT_NEAR(o.OrthoRatio(), std::tan(M_PI / 6), 1e-12);
  o.SetOrthogonal(false);
  EXPECT_EQ(o.OrthoRatio(), 1.0);
}

// ---- Projection ----

class ProjectionTest : public ::testing::Test {
protected:
  // Chart rectangle (0, 0, 200, 100) and depth 40: centre (100, 50, 20).
  void Start(bool is3D = true) { Canvas.StartPass(&Options, is3D, Rect(0, 0, 200, 100), 40); }
  TView3DOptions Options{nullptr};
  TRecordingCanvas Canvas;
};

TEST_F(ProjectionTest, OrthogonalDefaultMovesDepthRightAndUp) {
  Start();
  const TPoint3D points[] = {{0, 0, 0}, {10, 20, 5}, {150, 80, 40}, {-30, 7, 100}, {100, 50, -12}};
  for (const TPoint3D& p : points) {
    TPoint s = Canvas.ProjectXYZ(p.X, p.Y, p.Z);
    EXPECT_EQ(s, Point(p.X + p.Z, p.Y - p.Z)) << p.X << "," << p.Y << "," << p.Z;
    int x = s.X, y = s.Y;
    Canvas.UnprojectPoint(x, y, p.Z);
    EXPECT_EQ(Point(x, y), Point(p.X, p.Y));
  }
}

TEST_F(ProjectionTest, OrthogonalAnglesZoomAndOffsets) {
  struct TCase {
    int Angle, Zoom, HOffset, VOffset;
    double ObliqueX, ObliqueY;
    TPoint3D In;
    TPoint Out;
  };
  const TCase cases[] = {
      // 90 degrees: cos < 0.01, so the depth goes straight up (no infinite tangent).
      {90, 100, 0, 0, 1, 1, {10, 10, 5}, {15, 5}},
      // 135: mirrored to 45 with the depth going left.
      {135, 100, 0, 0, -1, 1, {10, 10, 5}, {5, 5}},
      // Zoom 200 scales around the centre (100, 50); offsets shift the image.
      {45, 200, 0, 0, 1, 1, {110, 60, 0}, {120, 70}},
      {45, 100, 7, -3, 1, 1, {10, 10, 0}, {17, 7}},
      // Zoom 0: every point collapses onto the (offset) centre.
      {45, 0, 4, 6, 1, 1, {10, 10, 30}, {104, 56}},
  };
  for (const TCase& c : cases) {
    Options.SetOrthoAngle(c.Angle);
    Options.SetZoom(c.Zoom);
    Options.SetHorizOffset(c.HOffset);
    Options.SetVertOffset(c.VOffset);
    Start();
    EXPECT_EQ(Canvas.ObliqueX(), c.ObliqueX) << c.Angle;
    EXPECT_NEAR(Canvas.ObliqueY(), c.ObliqueY, 1e-9) << c.Angle;
    EXPECT_EQ(Canvas.ProjectXYZ(c.In.X, c.In.Y, c.In.Z), c.Out) << c.Angle << " zoom " << c.Zoom;
  }
  // With zoom 0 the inverse does nothing.
  int x = 104, y = 56;
  Canvas.UnprojectPoint(x, y, 30);
  EXPECT_EQ(Point(x, y), Point(104, 56));
}

TEST_F(ProjectionTest, FlatPassIsIdentity) {
  Options.SetZoom(300);
  Start(false);
  EXPECT_EQ(Canvas.ProjectXYZ(13, 17, 50), Point(13, 17));
  int x = 13, y = 17;
  Canvas.UnprojectPoint(x, y, 50);
  EXPECT_EQ(Point(x, y), Point(13, 17));
}

TEST_F(ProjectionTest, RotatedWithoutAnglesIsScaledFlatImage) {
  Options.SetOrthogonal(false);
  Options.SetRotation(0);
  Options.SetElevation(0);
  Options.SetPerspective(0);
  Options.SetZoom(50);
  Start();
  EXPECT_FALSE(Canvas.PerspectiveOn());
  // u = x', v = y', scaled by 0.5 around (100, 50) whatever the depth.
  EXPECT_EQ(Canvas.ProjectXYZ(140, 70, 0), Point(120, 60));
  EXPECT_EQ(Canvas.ProjectXYZ(140, 70, 33), Point(120, 60));
  EXPECT_EQ(Canvas.ProjectXYZ(60, 20, 5), Point(80, 35));
}

// Unprojection is the exact inverse of rotation, elevation and tilt.
TEST_F(ProjectionTest, RotatedProjectionFollowsFormulaAndUnprojects) {
  struct TCase {
    double Rotation, Elevation;
    int Tilt;
  };
  const TCase cases[] = {{345, 345, 0}, {30, 10, 0}, {300, 350, 0}, {20, 15, 10}, {340, 20, -25}};
  for (const TCase& c : cases) {
    Options.SetOrthogonal(false);
    Options.SetPerspective(0);
    Options.SetRotationFloat(c.Rotation);
    Options.SetElevationFloat(c.Elevation);
    Options.SetTilt(c.Tilt);
    Start();
    const double r = -c.Rotation * M_PI / 180, e = -c.Elevation * M_PI / 180;
    const TPoint3D points[] = {{10, 20, 0}, {150, 80, 40}, {100, 50, 20}, {60, 90, 5}};
    for (const TPoint3D& p : points) {
      const double xp = p.X - 100, yp = p.Y - 50, zp = p.Z - 20;
      const double t1 = zp * std::cos(r) - xp * std::sin(r);
      const double u = xp * std::cos(r) + zp * std::sin(r);
      const double v = yp * std::cos(e) - std::sin(e) * t1;
      const double t = c.Tilt * M_PI / 180;
      const double sx = std::cos(t) * u - std::sin(t) * v, sy = std::cos(t) * v + std::sin(t) * u;
      TPoint s = Canvas.ProjectXYZ(p.X, p.Y, p.Z);
      EXPECT_EQ(s, Point(static_cast<int>(std::nearbyint(sx + 100)), static_cast<int>(std::nearbyint(sy + 50))))
          << c.Rotation << "/" << c.Elevation << "/" << c.Tilt;
      int x = s.X, y = s.Y;
      Canvas.UnprojectPoint(x, y, p.Z);
      EXPECT_NEAR(x, p.X, 2) << c.Rotation << "/" << c.Elevation;
      EXPECT_NEAR(y, p.Y, 2) << c.Rotation << "/" << c.Elevation;
    }
  }
}

TEST_F(ProjectionTest, PerspectiveShrinksFarPoints) {
  Options.SetOrthogonal(false);
  Options.SetRotation(0);
  Options.SetElevation(0);
  Options.SetPerspective(50);
  Start();
  ASSERT_TRUE(Canvas.PerspectiveOn());
  EXPECT_DOUBLE_EQ(Canvas.PerspectiveScale(), 50 * 1.0 / 150 / 200);
  TPoint near = Canvas.ProjectXYZ(180, 50, 0), far = Canvas.ProjectXYZ(180, 50, 40);
  EXPECT_GT(near.X, far.X);
  EXPECT_GT(far.X, 100);
}

TEST_F(ProjectionTest, SetupProjectionCentresAndShift) {
  Canvas.CenterShift() = {2.5, -1.5, 3.5};
  Options.SetHorizOffset(10);
  Options.SetVertOffset(20);
  Canvas.StartPass(&Options, true, Rect(11, 21, 100, 60), 9);
  // (11 + 100) div 2 = 55, +2 (2.5 to even); (21 + 60) div 2 = 40, -2; 9 * 0.5 + 3.5 = 8.
  EXPECT_EQ(Canvas.CenterX(), 57);
  EXPECT_EQ(Canvas.CenterY(), 38);
  EXPECT_EQ(Canvas.CenterZ(), 8);
  EXPECT_EQ(Canvas.ScreenCenterX(), 67);
  EXPECT_EQ(Canvas.ScreenCenterY(), 58);
}

TEST_F(ProjectionTest, SuspendRotationNests) {
  Start();
  ASSERT_EQ(Canvas.ProjectXYZ(10, 10, 5), Point(15, 5));
  Canvas.SuspendRotation();
  Canvas.SuspendRotation();
  EXPECT_EQ(Canvas.ProjectXYZ(10, 10, 5), Point(10, 10));
  Canvas.ResumeRotation();
  EXPECT_EQ(Canvas.ProjectXYZ(10, 10, 5), Point(10, 10));
  Canvas.ResumeRotation();
  EXPECT_EQ(Canvas.ProjectXYZ(10, 10, 5), Point(15, 5));
  // An unbalanced resume does not switch rotation off again.
  Canvas.ResumeRotation();
  EXPECT_EQ(Canvas.ProjectXYZ(10, 10, 5), Point(15, 5));
}

TEST_F(ProjectionTest, ProjectedRectangleForms) {
  Start();
  const TRect r = Rect(10, 20, 30, 40);
  EXPECT_EQ(Canvas.ProjectRectAtDepth(r, 5), Rect(15, 15, 35, 35));
  TFourPoints q = Canvas.ProjectRectToQuad(r, 5);
  EXPECT_EQ(q[0], Point(15, 15));
  EXPECT_EQ(q[1], Point(35, 15));
  EXPECT_EQ(q[2], Point(35, 35));
  EXPECT_EQ(q[3], Point(15, 35));
  EXPECT_EQ(Canvas.ProjectedRectBounds(r, 5), Rect(15, 15, 36, 36));
}

}  // namespace
