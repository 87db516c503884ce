// Rectangles written straight into 32-bit pixels must be the rectangles the
// painter draws: the same boxes on 24-bit pixels (drawn by the painter) give
// the same picture, with or without a clip region and a moved origin.
#include <gtest/gtest.h>

#include <random>

#include "gfx_test_util.h"

namespace {

void DrawBoxes(TCanvas* c, unsigned seed, bool clip, bool moved) {
  if (moved) c->SetWindowOrgEx(-7, 5);
  if (clip) {
    HRGN r = CreateEllipticRgn(10, 5, 110, 85);
    c->SelectClipRgn(r);
    DeleteObject(r);
  }
  std::mt19937 random(seed);
  std::uniform_int_distribution<int> pos(-15, 125), size(1, 14), colour(0, 0xFFFFFF), kind(0, 3);
  for (int k = 0; k < 300; ++k) {
    const int x = pos(random), y = pos(random);
    const int w = size(random), h = size(random);
    c->Pen()->SetColor(static_cast<TColor>(colour(random)));
    c->Brush()->SetColor(static_cast<TColor>(colour(random)));
    switch (kind(random)) {
      case 0: c->Pen()->SetStyle(psClear); break;
      case 1: c->Brush()->SetStyle(bsClear); break;
      default: break;
    }
    c->Rectangle(x, y, x + w, y + h);
    c->Pen()->SetStyle(psSolid);
    c->Brush()->SetStyle(bsSolid);
  }
}

TEST(GfxDirectRaster, RectanglesMatchThePainter) {
  for (bool clip : {false, true})
    for (bool moved : {false, true}) {
      TBitmap direct(120, 90), painted(120, 90);
      painted.SetPixelFormat(pf24bit);
      DrawBoxes(direct.Canvas(), 5, clip, moved);
      DrawBoxes(painted.Canvas(), 5, clip, moved);
      int differing = 0;
      for (int y = 0; y < 90; ++y)
        for (int x = 0; x < 120; ++x) differing += direct.Canvas()->Pixels(x, y) != painted.Canvas()->Pixels(x, y);
      EXPECT_EQ(differing, 0) << "clip " << clip << " moved " << moved;
    }
}

}  // namespace

namespace {

// A plain copy of a whole region lands pixel for pixel, whether its rows are
// copied directly (all visible) or by the painter (partly clipped).
TEST(GfxDirectRaster, PlainCopiesKeepEveryPixel) {
  TBitmap source(60, 40);
  std::mt19937 random(9);
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 60; ++x) source.Canvas()->SetPixels(x, y, static_cast<TColor>(random() & 0xFFFFFF));
  for (bool clip : {false, true}) {
    TBitmap target(80, 60);
    if (clip) {
      HRGN r = CreateRectRgn(0, 0, 40, 60);
      target.Canvas()->SelectClipRgn(r);
      DeleteObject(r);
    }
    target.Canvas()->BitBlt(10, 5, 50, 30, source.Canvas(), 3, 4, SRCCOPY);
    for (int y = 0; y < 30; ++y)
      for (int x = 0; x < 50; ++x) {
        const TColor want = clip && x + 10 >= 40 ? clWhite : source.Canvas()->Pixels(x + 3, y + 4);
        ASSERT_EQ(At(target, x + 10, y + 5), want) << x << "," << y << " clip " << clip;
      }
  }
}

}  // namespace

namespace {

// Measured widths are kept per font: a changed font measures afresh.
TEST(GfxDirectRaster, TextWidthsFollowTheFont) {
  TBitmap b(10, 10);
  TCanvas* c = b.Canvas();
  c->Font()->SetSize(8);
  const int small = c->TextWidth("WWW 1,234.5");
  c->Font()->SetSize(20);
  const int large = c->TextWidth("WWW 1,234.5");
  EXPECT_GT(large, small);
  c->Font()->SetStyle({fsBold});
  EXPECT_GE(c->TextWidth("WWW 1,234.5"), large);
  c->Font()->SetStyle({});
  c->Font()->SetSize(8);
  EXPECT_EQ(c->TextWidth("WWW 1,234.5"), small);
  EXPECT_LT(c->TextWidth("W"), small);
  EXPECT_EQ(c->TextExtent("W").cy, c->TextHeight("WWW"));
}

}  // namespace
