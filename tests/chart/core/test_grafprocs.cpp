// The canvas unit's routines: geometry, colours, resampling, start-up.
#include <gtest/gtest.h>

#include <cmath>

#include "chart/core/grafconst.h"
#include "chart/core/grafprocs.h"

namespace {

TEST(CanvasColours, DarkerAndBrighterClampPerComponent) {
  struct TCase {
    TColor In;
    int Amount;
    TColor Darker, Brighter;
  };
  const TCase cases[] = {
      {0x404040, 128, 0x000000, 0xC0C0C0},
      {0xF0F0F0, 32, 0xD0D0D0, 0xFFFFFF},
      {0x102030, 0x20, 0x000010, 0x304050},  // red 0x30, green 0x20, blue 0x10
      {0x808080, 0, 0x808080, 0x808080},
      {clWhite, 255, clBlack, clWhite},
  };
  for (const TCase& c : cases) {
    EXPECT_EQ(ColorDarker(c.In, c.Amount), c.Darker) << std::hex << c.In;
    EXPECT_EQ(ColorBrighter(c.In, c.Amount), c.Brighter) << std::hex << c.In;
  }
  // System colours are converted to their RGB value first.
  EXPECT_EQ(ColorDarker(clBtnFace, 0), static_cast<TColor>(ColorToRGB(clBtnFace)));
  uint8_t b, g, r;
  SplitColorRgb(0x123456, b, g, r);
  EXPECT_EQ(b, 0x12);
  EXPECT_EQ(g, 0x34);
  EXPECT_EQ(r, 0x56);
}

TEST(CanvasGeometry, BoundsNormalisingAndFacing) {
  const TPoint one[] = {{5, 7}};
  EXPECT_EQ(BoundsOfPoints(one, 0), Rect(5, 7, 5, 7));
  EXPECT_EQ(BoundsOfPoints(one, -1), Rect(0, 0, 0, 0));
  const TPoint tri[] = {{5, 7}, {-2, 9}, {4, -1}};
  EXPECT_EQ(BoundsOfPoints(tri, 2), Rect(-2, -1, 5, 9));
  EXPECT_EQ(ExclusiveBoundsOfPoints(tri, 3), Rect(-2, -1, 6, 10));
  EXPECT_EQ(NormalizeRect(Rect(10, 20, 1, 2)), Rect(1, 2, 10, 20));
  int x, y;
  RectMidPoint(Rect(-3, -3, 0, 0), x, y);  // halvings truncate towards zero
  EXPECT_EQ(Point(x, y), Point(-1, -1));
  // (p0 - p1) x (p2 - p1) < 0: on a y-down screen a clockwise turn faces away.
  EXPECT_TRUE(PointsFaceAway({0, 0}, {10, 0}, {10, 10}));
  EXPECT_FALSE(PointsFaceAway({10, 10}, {10, 0}, {0, 0}));
  EXPECT_FALSE(PointsFaceAway({0, 0}, {5, 5}, {10, 10}));  // collinear
  EXPECT_FALSE(PolygonFacesAway(tri, 2));
}

TEST(CanvasGeometry, PointShortOfEnd) {
  struct TCase {
    TPoint P0, P1;
    double Distance;
    TPoint Expected;
  };
  const TCase cases[] = {
      {{0, 0}, {0, 10}, 3, {0, 7}},
      {{0, 10}, {0, 0}, 3, {0, 3}},
      {{0, 0}, {10, 0}, 4, {6, 0}},
      {{10, 0}, {0, 0}, 4, {4, 0}},  // back towards p0 whatever the direction
      {{0, 0}, {30, 40}, 5, {27, 36}},
      {{30, 40}, {0, 0}, 5, {3, 4}},
  };
  for (const TCase& c : cases) EXPECT_EQ(PointShortOfEnd(c.P0, c.P1, c.Distance), c.Expected);
  EXPECT_DOUBLE_EQ(VectorLength(3, 4), 5);
}

TEST(CanvasGeometry, PieAnglesFromRadials) {
  struct TCase {
    int X3, Y3, X4, Y4;
    double Start, End;
  };
  // Box (0, 0, 100, 100): centre (50, 50).
  const TCase cases[] = {
      {100, 50, 90, 50, 0, 360},   // both on the positive x axis
      {100, 50, 50, 0, 0, 90},     // y points down: up is 90 degrees
      {50, 100, 100, 50, 270, 360},
      {0, 50, 50, 100, 180, 270},
  };
  for (const TCase& c : cases) {
    double s, e;
    PieAnglesFromRadials(0, 0, 100, 100, c.X3, c.Y3, c.X4, c.Y4, s, e);
    EXPECT_NEAR(s, c.Start, 1e-9);
    EXPECT_NEAR(e, c.End, 1e-9);
  }
}

// ---- Resampling ----

void Fill(TBitmap& b, TColor c) {
  b.Canvas()->Brush()->SetColor(c);
  b.Canvas()->FillRect(Rect(0, 0, b.Width(), b.Height()));
}

TColor PixelOf(TBitmap& b, int x, int y) { return static_cast<TColor>(ColorToRGB(b.Canvas()->Pixels(x, y))); }

TEST(SmoothStretch, RefusesTinyBitmapsAndIgnoresNil) {
  TBitmap thin(1, 100), square(2, 2), tiny(1, 1);
  try {
    SmoothStretch(&thin, &square);
    FAIL() << "no error for a 1 x 100 source";
  } catch (const ESmoothStretch& e) {
    EXPECT_STREQ(e.what(), "SmoothStretch: Source bitmap too small");
  }
  Fill(square, clRed);
  try {
    SmoothStretch(&square, &tiny);
    FAIL() << "no error for a 1 x 1 destination";
  } catch (const ESmoothStretch& e) {
    EXPECT_STREQ(e.what(), "SmoothStretch: Destination bitmap too small");
  }
  EXPECT_EQ(square.PixelFormat(), pfDevice);  // nothing was changed
  EXPECT_NO_THROW(SmoothStretch(nullptr, &square));
  EXPECT_NO_THROW(SmoothStretch(&square, nullptr));
}

TEST(SmoothStretch, TwoByTwoOntoThreeByThreeKeepsTheCorners) {
  TBitmap src(2, 2), dst(3, 3);
  src.Canvas()->Pixels(0, 0);
  src.Canvas()->SetPixels(0, 0, 0x0000FF);
  src.Canvas()->SetPixels(1, 0, 0x00FF00);
  src.Canvas()->SetPixels(0, 1, 0xFF0000);
  src.Canvas()->SetPixels(1, 1, 0x808080);
  SmoothStretch(&src, &dst);
  EXPECT_EQ(dst.PixelFormat(), pf24bit);
  // The scale is exactly 2: every other destination pixel sits on a source pixel.
  EXPECT_EQ(PixelOf(dst, 0, 0), 0x0000FF);
  EXPECT_EQ(PixelOf(dst, 2, 0), 0x00FF00);
  EXPECT_EQ(PixelOf(dst, 0, 2), 0xFF0000);
  EXPECT_EQ(PixelOf(dst, 2, 2), 0x808080);
}

// The filter weights are not normalised, so a flat colour may drift by a
// few levels (rounded fixed-point weights, two passes); it must never wrap.
TEST(SmoothStretch, UniformImagesStayUniformAndBrightOnesDoNotWrap) {
  struct TCase {
    int SW, SH, DW, DH, Quality;
    TColor Colour;
  };
  const TCase cases[] = {
      {4, 4, 9, 7, 0, 0x406080}, {9, 7, 4, 4, 0, 0x406080}, {5, 5, 12, 3, 1, 0x406080},
      {3, 3, 10, 10, 0, clWhite},  // Lanczos overshoot above 255 is clamped, not wrapped
      {10, 10, 3, 3, 0, clBlack},
  };
  for (const TCase& c : cases) {
    TBitmap src(c.SW, c.SH), dst(c.DW, c.DH);
    Fill(src, c.Colour);
    SmoothStretchQuality(&src, &dst, c.Quality);
    for (int y = 0; y < c.DH; ++y)
      for (int x = 0; x < c.DW; ++x) {
        TColorRef got = ColorToRGB(PixelOf(dst, x, y)), want = ColorToRGB(c.Colour);
        ASSERT_NEAR(GetRValue(got), GetRValue(want), 5) << c.SW << "x" << c.SH << " -> " << x << "," << y;
        ASSERT_NEAR(GetGValue(got), GetGValue(want), 5);
        ASSERT_NEAR(GetBValue(got), GetBValue(want), 5);
      }
  }
}

TEST(SmoothStretch, TriangleFilterAveragesBetweenSourcePixels) {
  TBitmap src(2, 2), dst(3, 2);
  Fill(src, clBlack);
  src.Canvas()->SetPixels(1, 0, clWhite);
  src.Canvas()->SetPixels(1, 1, clWhite);
  SmoothStretchQuality(&src, &dst, 1);
  EXPECT_EQ(PixelOf(dst, 0, 0), clBlack);
  EXPECT_EQ(PixelOf(dst, 2, 0), clWhite);
  // Weights 512 and 512: 255 * 512 >> 10 = 127.
  EXPECT_EQ(PixelOf(dst, 1, 0), 0x7F7F7F);
}

TEST(SmoothStretch, WeightFunctions) {
  EXPECT_FLOAT_EQ(Lanczos3Weight(0), 1.0f);
  EXPECT_FLOAT_EQ(Lanczos3Weight(3), 0.0f);
  EXPECT_FLOAT_EQ(Lanczos3Weight(-4.5f), 0.0f);
  EXPECT_NEAR(Lanczos3Weight(1), 0.0f, 1e-6);
  EXPECT_NEAR(Lanczos3Weight(0.5f), 0.6079f, 1e-3);
  EXPECT_FLOAT_EQ(TriangleWeight(0.25f), 0.75f);
  EXPECT_FLOAT_EQ(TriangleWeight(-1.0f), 0.0f);
}

TEST(CanvasUnit, StartUpFillsTheDefaults) {
  GrafCanvasUnitStartup();
  EXPECT_TRUE(UseExtendedPens);
  EXPECT_TRUE(CanAlphaBlend);
  EXPECT_EQ(DefaultFontName, "Arial");
  EXPECT_EQ(DefaultFontSize, 8);
  EXPECT_EQ(GrafMsgLine, "Line");
  EXPECT_EQ(LoadLibrarySafely("no-such-library-anywhere.dll"), nullptr);
}

}  // namespace
