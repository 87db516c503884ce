// What shadows, gradients and blends draw.
#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "chart/core/grcanvas.h"
#include "platform/gfx/metafile.h"
#include "chart/core/recordingcanvas.h"

namespace {

using Strings = std::vector<std::string>;

class ShadowTest : public ::testing::Test {
protected:
  void SetUp() override {
    Canvas.StartPass(&Options, true, Rect(0, 0, 200, 100), 0);
    Canvas.Clear();
  }
  TView3DOptions Options{nullptr};
  TRecordingCanvas Canvas;
  TGrafShadow Shadow;
  const TRect Box = Rect(10, 10, 50, 30);
};

TEST_F(ShadowTest, NoColourOrNoSizeDrawsNothing) {
  struct TCase {
    TColor Color;
    int H, V;
  };
  for (const TCase& c : {TCase{clNone, 3, 3}, TCase{clSilver, 0, 0}}) {
    Shadow.SetColor(c.Color);
    Shadow.SetHorizSize(c.H);
    Shadow.SetVertSize(c.V);
    Shadow.SetTransparency(40);
    Canvas.Clear();
    EXPECT_FALSE(Shadow.BeginShadowDrawing(&Canvas, Box, 0));
    Shadow.DrawRectShadow(&Canvas, Box);
    Shadow.DrawEllipseShadow(&Canvas, Box);
    EXPECT_TRUE(Canvas.Calls.empty()) << Canvas.Dump();
  }
}

TEST_F(ShadowTest, SolidRectangleShadows) {
  struct TCase {
    int H, V;
    bool Flat;
    Strings Expected;
  };
  const TCase cases[] = {
      // Sizes (1, 1) are too small to smooth: two solid rectangles.
      {1, 1, false, {"RectangleWithZ(11,30,51,31,0)", "RectangleWithZ(50,11,51,31,0)"}},
      {1, 1, true, {"Rectangle(11,30,51,32)", "Rectangle(50,11,52,32)"}},
      // Negative sizes put the strips on the top and left and never smooth.
      {-2, -3, true, {"Rectangle(8,11,48,7)", "Rectangle(11,7,8,28)"}},
  };
  for (const TCase& c : cases) {
    Shadow.SetHorizSize(c.H);
    Shadow.SetVertSize(c.V);
    if (c.Flat) Canvas.SuspendRotation();
    Canvas.Clear();
    Shadow.DrawRectShadow(&Canvas, Box);
    EXPECT_EQ(Canvas.Log(0), c.Expected);
    if (c.Flat) Canvas.ResumeRotation();
    for (const TCanvasCall& call : Canvas.CallsAt(0)) {
      EXPECT_EQ(call.BrushColor, clSilver);
      EXPECT_EQ(call.BrushStyle, bsSolid);
      EXPECT_EQ(call.PenStyle, psClear);
    }
  }
}

TEST_F(ShadowTest, SmoothRectangleShadowFadesTowardsWhite) {
  Shadow.SetHorizSize(3);
  Shadow.SetVertSize(2);
  Canvas.SuspendRotation();
  Canvas.Clear();
  Shadow.DrawRectShadow(&Canvas, Box);
  const Strings log = Canvas.Log(0);
  auto calls = Canvas.CallsAt(0);
  Canvas.ResumeRotation();
  // Silver averages 192: steps round(63 / 2) = 32 (half to even) and round(63 / 3) = 21.
  const Strings expected = {"HorizontalLine(13,51,30)", "HorizontalLine(13,52,31)",   "VerticalLine(50,12,29)",
                            "WritePixel(49,28,%C1)",    "VerticalLine(51,12,30)",     "WritePixel(50,29,%C2)",
                            "VerticalLine(52,12,31)",   "WritePixel(51,30,%C3)"};
  const TColor h1 = clSilver, h2 = ColorBrighter(clSilver, 21), h3 = ColorBrighter(h2, 21);
  Strings want = expected;
  auto subst = [](std::string s, const char* key, TColor c) {
    return s.replace(s.find(key), 3, std::to_string(c));
  };
  want[3] = subst(want[3], "%C1", h1);
  want[5] = subst(want[5], "%C2", h2);
  want[7] = subst(want[7], "%C3", h3);
  EXPECT_EQ(log, want);
  EXPECT_EQ(calls[0].PenColor, clSilver);
  EXPECT_EQ(calls[1].PenColor, ColorBrighter(clSilver, 32));
  EXPECT_EQ(calls[2].PenColor, clSilver);
  EXPECT_EQ(calls[4].PenColor, h2);
  EXPECT_EQ(calls[0].PenStyle, psSolid);

  // Not suspended, the same lines are drawn at the depth.
  Canvas.Clear();
  Shadow.DrawRectShadowAtDepth(&Canvas, Box, 7);
  EXPECT_EQ(Canvas.Log(0)[0], "HorizontalLine3D(13,51,30,7)");
  EXPECT_EQ(Canvas.Log(0)[3], "WritePixel3D(49,28,7," + std::to_string(h1) + ")");
}

TEST_F(ShadowTest, TransparentShadowIsBlendedOverItsProjectedBounds) {
  Shadow.SetUniformSize(3);
  Shadow.SetSmooth(false);
  Shadow.SetTransparency(50);
  Shadow.DrawRectShadowAtDepth(&Canvas, Box, 4);
  const Strings log = Canvas.Log(0);
  ASSERT_EQ(log.size(), 4u);
  // The box moved by (3, 3) at depth 4 projects 4 right and 4 up; bounds are exclusive.
  EXPECT_EQ(log[0], "BeginBlending(17,9,58,30,50)");
  EXPECT_EQ(log[3], "EndBlending()");
}

TEST_F(ShadowTest, EllipseShadows) {
  Shadow.SetHorizSize(4);
  Shadow.SetVertSize(2);
  Shadow.SetSmooth(false);
  Shadow.DrawEllipseShadow(&Canvas, Box, 0);
  EXPECT_EQ(Canvas.Log(0), (Strings{"EllipseWithZ(14,12,54,32,0)"}));

  Canvas.Clear();
  Shadow.SetSmooth(true);
  Shadow.DrawEllipseShadow(&Canvas, Box, 0);
  const Strings log = Canvas.Log(0);
  ASSERT_GE(log.size(), 3u);
  EXPECT_EQ(log.front(), "ClipToEllipse(14,12,54,32,0)");
  EXPECT_EQ(log.back(), "RemoveClipRegion()");
  // Radial rings from a dark centre to a light rim.
  auto rings = Canvas.CallsOf("Ellipse");
  ASSERT_FALSE(rings.empty());
  EXPECT_EQ(rings.back().BrushColor, ColorDarker(clSilver, 128));
  EXPECT_EQ(Canvas.ClipDepth(), 0);
}

// ---- Gradients into shapes ----

class GradientTest : public ::testing::Test {
protected:
  TRecordingCanvas Canvas{60, 120};
  TGrafGradient Gradient;
  static constexpr TColor Start = 0x0000FF, Mid = 0x00FF00, End = 0xFF0000;
};

TEST_F(GradientTest, MiddleColourSplitsIntoHalves) {
  Gradient.SetStartColor(Start);
  Gradient.SetEndColor(End);
  Gradient.SetMidColor(Mid);
  struct TCase {
    TGradientDirection Direction;
    Strings Expected;
  };
  const std::string s = std::to_string(Start), m = std::to_string(Mid), e = std::to_string(End);
  const TCase cases[] = {
      {gdTopBottom, {"GradientFill(0,0,10,50," + m + "," + e + ",0,50)", "GradientFill(0,50,10,100," + s + "," + m + ",0,50)"}},
      {gdBottomTop, {"GradientFill(0,0,10,50," + s + "," + m + ",1,50)", "GradientFill(0,50,10,100," + m + "," + e + ",1,50)"}},
      {gdLeftRight, {"GradientFill(0,0,5,100," + m + "," + e + ",2,50)", "GradientFill(5,0,10,100," + s + "," + m + ",2,50)"}},
      {gdRightLeft, {"GradientFill(0,0,5,100," + s + "," + m + ",3,50)", "GradientFill(5,0,10,100," + m + "," + e + ",3,50)"}},
      {gdFromCenter, {"GradientFill(0,0,10,100," + s + "," + e + ",4,50)"}},
      {gdDiagonalUp, {"GradientFill(0,0,10,100," + s + "," + e + ",8,50)"}},
  };
  for (const TCase& c : cases) {
    Gradient.SetDirection(c.Direction);
    Canvas.Clear();
    Gradient.DrawInRect(&Canvas, Rect(0, 0, 10, 100));
    EXPECT_EQ(Canvas.Log(0), c.Expected) << c.Direction;
  }
}

TEST_F(GradientTest, RoundedCornersClipAndMonochromeGreys) {
  Gradient.SetStartColor(0x0000FF);  // red: grey 85
  Gradient.SetEndColor(0xFFFFFF);
  Gradient.SetBalance(70);
  Canvas.SetMonochrome(true);
  Canvas.Clear();
  Gradient.DrawInRect(&Canvas, Rect(0, 0, 20, 20), 6);
  EXPECT_EQ(Canvas.Log(0), (Strings{"ClipToRoundRect(0,0,20,20,6)",
                                    "GradientFill(0,0,20,20," + std::to_string(0x555555) + "," +
                                        std::to_string(0xFFFFFF) + ",0,70)",
                                    "RemoveClipRegion()"}));
  Canvas.SetMonochrome(false);
}

TEST_F(GradientTest, RadialRingsFromOutsideIn) {
  struct TCase {
    TRect Box;
    size_t Rings;
    std::string First, Last;
  };
  const TCase cases[] = {
      // Centre (0 + 1 + 5, 0 + 1 + 5); n = 10 rings of growth 0.5.
      {Rect(0, 0, 10, 10), 11, "Ellipse(1,1,11,11)", "Ellipse(6,6,6,6)"},
      // Odd width: n = 11 - 1 = 10.
      {Rect(0, 0, 11, 10), 11, "Ellipse(2,1,12,11)", "Ellipse(6,6,6,6)"},
  };
  Gradient.SetStartColor(clBlack);
  Gradient.SetEndColor(clWhite);
  for (const TCase& c : cases) {
    Canvas.Clear();
    Gradient.DrawRadial(&Canvas, c.Box);
    auto rings = Canvas.CallsOf("Ellipse");
    ASSERT_EQ(rings.size(), c.Rings);
    EXPECT_EQ(rings.front().ToString(), c.First);
    EXPECT_EQ(rings.back().ToString(), c.Last);
    EXPECT_EQ(rings.back().BrushColor, clBlack);
    EXPECT_EQ(rings.front().PenStyle, psClear);
    const Strings log = Canvas.Log(0);
    EXPECT_EQ(log.front(), "ClipToRect(" + std::to_string(c.Box.Left) + ",0," + std::to_string(c.Box.Right) + ",10)");
    EXPECT_EQ(log[1], "FillRect(" + std::to_string(c.Box.Left) + ",0," + std::to_string(c.Box.Right) + ",10)");
    EXPECT_EQ(log.back(), "RemoveClipRegion()");
  }
  // The pen style and brush colour come back.
  EXPECT_EQ(Canvas.CanvasPen()->Style(), psSolid);
  EXPECT_EQ(Canvas.CanvasBrush()->Color(), clWhite);
  // An empty rectangle draws no rings and does not fail.
  Canvas.Clear();
  EXPECT_NO_THROW(Gradient.DrawRadial(&Canvas, Rect(5, 5, 5, 5)));
  EXPECT_EQ(Canvas.Count("Ellipse"), 0);
  // A ring's colour is the start colour plus the nearest integer of its share,
  // halves to even: ring 5 of 10 from 1 to 2 (and 3 to 4) adds round(0.5) = 0.
  Gradient.SetStartColor(static_cast<TColor>(RGB(1, 3, 0)));
  Gradient.SetEndColor(static_cast<TColor>(RGB(2, 4, 0)));
  Canvas.Clear();
  Gradient.DrawRadial(&Canvas, Rect(0, 0, 10, 10));
  const auto rings = Canvas.CallsOf("Ellipse");
  ASSERT_EQ(rings.size(), 11u);  // k = 10 down to 0
  EXPECT_EQ(rings[5].BrushColor, static_cast<TColor>(RGB(1, 3, 0)));
  EXPECT_EQ(rings[4].BrushColor, static_cast<TColor>(RGB(2, 4, 0)));  // k = 6: round(0.6) = 1
}

TEST_F(GradientTest, PolygonAndQuadClipToTheirOutline) {
  TView3DOptions options(nullptr);
  Canvas.StartPass(&options, true, Rect(0, 0, 60, 120), 0);
  Canvas.Clear();
  const TPoint tri[] = {{10, 10}, {30, 10}, {20, 40}};
  Gradient.DrawInPolygon(&Canvas, tri, true, 5);
  Strings log = Canvas.Log(0);
  ASSERT_EQ(log.size(), 3u);
  EXPECT_EQ(log[0], "ClipToPolygon[(15,5),(35,5),(25,35)]");
  EXPECT_EQ(log[1].substr(0, 23), "GradientFill(15,5,35,35");
  EXPECT_EQ(log[2], "RemoveClipRegion()");

  Canvas.Clear();
  Gradient.DrawInQuad(&Canvas, {TPoint{0, 0}, TPoint{9, 0}, TPoint{9, 4}, TPoint{0, 4}});
  log = Canvas.Log(0);
  EXPECT_EQ(log[1].substr(0, 22), "GradientFill(0,0,10,5,");
}

// ---- Gradient fills on the device ----

TColor At(TRecordingCanvas& c, int x, int y) { return c.SurfacePixel(x, y); }
int Grey(TColor c) { return GetRValue(ColorToRGB(c)); }

TEST_F(GradientTest, VerticalBandsAreAtMost256AndStartAtTheBottom) {
  TRecordingCanvas c(10, 300);
  c.GradientFill(Rect(0, 0, 10, 300), clBlack, clWhite, gdTopBottom, 50);
  std::set<TColor> rows;
  for (int y = 0; y < 300; ++y) rows.insert(At(c, 5, y));
  EXPECT_EQ(rows.size(), 256u);
  EXPECT_EQ(At(c, 5, 299), clBlack);  // the start colour at the bottom edge
  EXPECT_EQ(At(c, 5, 0), clWhite);    // the last step is exactly the end colour

  // One pixel high: no band at all.
  TRecordingCanvas flat(10, 3);
  flat.GradientFill(Rect(0, 1, 10, 2), clRed, clBlue, gdTopBottom, 50);
  EXPECT_EQ(At(flat, 5, 1), clWhite);
}

TEST_F(GradientTest, EveryDirectionPutsItsColoursWhereTheyBelong) {
  struct TCase {
    TGradientDirection Direction;
    TPoint StartAt, EndAt;
  };
  // 40 x 30, black to white: the start colour's corner is dark, the end's light.
  const TCase cases[] = {
      {gdTopBottom, {20, 29}, {20, 0}},     {gdBottomTop, {20, 0}, {20, 29}},
      {gdLeftRight, {39, 15}, {0, 15}},     {gdRightLeft, {0, 15}, {39, 15}},
      {gdFromCenter, {20, 15}, {0, 0}},     {gdFromTopLeft, {39, 29}, {0, 0}},
      {gdFromBottomLeft, {39, 0}, {0, 29}}, {gdRadial, {20, 15}, {0, 0}},
      {gdDiagonalUp, {0, 29}, {39, 0}},     {gdDiagonalDown, {0, 0}, {39, 29}},
  };
  for (const TCase& k : cases) {
    TRecordingCanvas c(40, 30);
    c.CanvasBrush()->SetColor(clRed);
    c.GradientFill(Rect(0, 0, 40, 30), clBlack, clWhite, k.Direction, 50);
    EXPECT_LT(Grey(At(c, k.StartAt.X, k.StartAt.Y)), 40) << k.Direction;
    EXPECT_GT(Grey(At(c, k.EndAt.X, k.EndAt.Y)), 215) << k.Direction;
    EXPECT_EQ(c.CanvasBrush()->Color(), clRed) << k.Direction;  // the caller's brush comes back
  }
}

TEST_F(GradientTest, BalanceMovesTheColourChange) {
  TRecordingCanvas linear(4, 256), heavy(4, 256);
  linear.GradientFill(Rect(0, 0, 4, 256), clBlack, clWhite, gdTopBottom, 50);
  heavy.GradientFill(Rect(0, 0, 4, 256), clBlack, clWhite, gdTopBottom, 100);
  // Band k (from the bottom) of 256: linear k, balance 100 round(255 * ((k + 1) / 256)^2).
  for (int k : {0, 64, 128, 200, 255}) {
    const int y = 255 - k;
    EXPECT_EQ(Grey(At(linear, 1, y)), k);
    EXPECT_EQ(Grey(At(heavy, 1, y)), static_cast<int>(std::nearbyint(255 * std::pow((k + 1) / 256.0, 2.0))));
  }
}

// ---- Blending ----

class BlendTest : public ::testing::Test {
protected:
  void Paint(TRecordingCanvas& c, TColor background) {
    c.CanvasBrush()->SetColor(background);
    c.CanvasPen()->SetStyle(psClear);
    c.FillRect(Rect(0, 0, 40, 40));
  }
  void Translucent(TRecordingCanvas& c, int transparency) {
    auto blend = c.BeginBlending(Rect(10, 10, 30, 30), transparency);
    c.CanvasBrush()->SetColor(clBlue);
    c.FillRect(Rect(0, 0, 40, 40));
    c.EndBlending(std::move(blend));
  }
};

TEST_F(BlendTest, TransparencyMixesTheBackgroundBack) {
  struct TCase {
    int Transparency;
    TColor Inside;
  };
  // Alpha 255 - round((100 - T) * 2.55) of the red background over the blue
  // drawing; a transparency beyond 0..100 mixes as its nearest end.
  const TCase cases[] = {{100, clRed}, {0, clBlue}, {150, clRed}, {-20, clBlue}};
  const bool saved = CanAlphaBlend;
  for (bool platform : {true, false}) {
    CanAlphaBlend = platform;
    for (const TCase& k : cases) {
      TRecordingCanvas c(40, 40);
      Paint(c, clRed);
      Translucent(c, k.Transparency);
      EXPECT_EQ(c.SurfacePixel(20, 20), k.Inside) << k.Transparency << (platform ? " platform" : " per pixel");
      EXPECT_EQ(c.SurfacePixel(5, 5), clBlue);  // outside the captured rectangle
    }
  }
  CanAlphaBlend = saved;
  TRecordingCanvas c(40, 40);
  Paint(c, clRed);
  Translucent(c, 50);
  const TColorRef mid = ColorToRGB(c.SurfacePixel(20, 20));
  EXPECT_NEAR(GetRValue(mid), 127, 2);
  EXPECT_NEAR(GetBValue(mid), 128, 2);
}

TEST_F(BlendTest, PerPixelPathFollowsTheReferenceFormula) {
  const bool saved = CanAlphaBlend;
  CanAlphaBlend = false;
  TBitmap background(3, 1, pf24bit), drawing(5, 2, pf24bit);
  background.Canvas()->SetPixels(0, 0, static_cast<TColor>(RGB(200, 100, 0)));
  background.Canvas()->SetPixels(1, 0, clBlack);
  background.Canvas()->SetPixels(2, 0, clBlack);
  drawing.Canvas()->Brush()->SetColor(clWhite);
  drawing.Canvas()->FillRect(Rect(0, 0, 5, 2));
  drawing.Canvas()->SetPixels(1, 0, static_cast<TColor>(RGB(0, 50, 255)));
  // Keep 30 % of the drawing: d + 70 * (s - d) / 100, truncated.
  BlendBitmaps(&background, &drawing, -4, 0, 30);  // negative offsets count as 0
  const TColorRef p0 = ColorToRGB(drawing.Canvas()->Pixels(0, 0));
  // Pure white first loses one level of red: 254 + 70 * (200 - 254) / 100 = 217.
  EXPECT_EQ(GetRValue(p0), 217);
  EXPECT_EQ(GetGValue(p0), 255 + 70 * (100 - 255) / 100);
  EXPECT_EQ(GetBValue(p0), 255 + 70 * (0 - 255) / 100);
  const TColorRef p1 = ColorToRGB(drawing.Canvas()->Pixels(1, 0));
  EXPECT_EQ(GetRValue(p1), 0);
  EXPECT_EQ(GetGValue(p1), 50 + 70 * (0 - 50) / 100);
  EXPECT_EQ(ColorToRGB(drawing.Canvas()->Pixels(3, 0)), 0xFFFFFFu);  // beyond the source
  EXPECT_EQ(ColorToRGB(drawing.Canvas()->Pixels(0, 1)), 0xFFFFFFu);
  CanAlphaBlend = saved;
}

TEST_F(BlendTest, EmptyCapturesAndMetafilesDoNothing) {
  TRecordingCanvas c(40, 40);
  Paint(c, clRed);
  TGrafBlend outside(&c, Rect(50, 50, 60, 60));  // clamped to the pass bounds: empty
  EXPECT_FALSE(outside.Valid());
  outside.ApplyTransparency(100);
  EXPECT_EQ(c.SurfacePixel(39, 39), clRed);

  c.SetDrawingToMetafile(true);
  Translucent(c, 100);
  EXPECT_EQ(c.SurfacePixel(20, 20), clBlue);
  c.SetDrawingToMetafile(false);

  // Straight onto a metafile canvas: nothing to capture, the drawing is kept.
  {
    TMetafile mf;
    {
      TMetafileCanvas mc(&mf);
      TGrafCanvas3D onto;
      onto.SetBufferedDisplay(false);
      onto.PrepareDrawing(&mc, nullptr, clWhite, false, Rect(0, 0, 40, 40));
      auto blend = onto.BeginBlending(Rect(10, 10, 30, 30), 50);
      EXPECT_FALSE(blend->Valid());
      onto.CanvasBrush()->SetColor(clBlue);
      onto.FillRect(Rect(0, 0, 40, 40));
      onto.EndBlending(std::move(blend));
    }
    EXPECT_GE(mf.RecordCount(), 1);
  }

  // A degenerate rectangle still captures one pixel.
  TGrafBlend line(&c, Rect(5, 5, 5, 9));
  EXPECT_TRUE(line.Valid());
  EXPECT_EQ(line.Rect(), Rect(5, 5, 6, 9));
}

TEST_F(BlendTest, BufferedPassBlendsInTheBuffer) {
  TBitmap target(40, 40);
  TGrafCanvas3D c;
  TRect r = c.PrepareDrawing(target.Canvas(), nullptr, clWhite, false, Rect(0, 0, 40, 40));
  EXPECT_EQ(r, Rect(0, 0, 40, 40));
  c.CanvasBrush()->SetColor(clRed);
  c.FillRect(r);
  auto blend = c.BeginBlending(Rect(10, 10, 30, 30), 100);
  c.CanvasBrush()->SetColor(clBlue);
  c.FillRect(r);
  c.EndBlending(std::move(blend));
  c.FinishDrawing(target.Canvas(), target.Canvas(), Rect(0, 0, 40, 40));
  EXPECT_EQ(ColorToRGB(target.Canvas()->Pixels(20, 20)), ColorToRGB(clRed));
  EXPECT_EQ(ColorToRGB(target.Canvas()->Pixels(5, 5)), ColorToRGB(clBlue));
}

}  // namespace
