// The device canvas: pens, brushes and fonts, text, clipping, buffering and
// the 2D primitives.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "chart/core/grcanvas.h"
#include "chart/core/recordingcanvas.h"

namespace {

using Strings = std::vector<std::string>;

// ---- Pens, brushes, fonts ----

TEST(CanvasPen, ChartPensBecomeDevicePens) {
  struct TCase {
    const char* Name;
    std::function<void(TChartPen&)> Setup;
    bool Monochrome;
    std::function<void(TPen*)> Check;
  };
  const TCase cases[] = {
      {"invisible", [](TChartPen& p) { p.SetVisible(false); }, false,
       [](TPen* c) { EXPECT_EQ(c->Style(), psClear); }},
      {"one pixel", [](TChartPen&) {}, false,
       [](TPen* c) {
         EXPECT_EQ(c->Color(), clRed);
         EXPECT_FALSE(c->Geometric());
         EXPECT_EQ(c->Style(), psSolid);
       }},
      {"monochrome", [](TChartPen&) {}, true, [](TPen* c) { EXPECT_EQ(c->Color(), clBlack); }},
      {"alternate dots", [](TChartPen& p) { p.SetSmallDots(true); }, false,
       [](TPen* c) {
         EXPECT_EQ(c->Style(), psAlternate);
         EXPECT_EQ(c->Color(), clRed);
       }},
      {"spaced dots", [](TChartPen& p) {
         p.SetSmallDots(true);
         p.SetSmallSpace(2);
       }, false,
       [](TPen* c) {
         EXPECT_EQ(c->Style(), psUserStyle);
         EXPECT_EQ(c->UserStyle(), (std::vector<uint32_t>{0, 3}));
       }},
      {"wide round", [](TChartPen& p) { p.SetWidth(3); }, false,
       [](TPen* c) {
         EXPECT_TRUE(c->Geometric());
         EXPECT_EQ(c->Width(), 3);
         EXPECT_EQ(c->EndCap(), PS_ENDCAP_ROUND);
         EXPECT_EQ(c->Join(), PS_JOIN_ROUND);
       }},
      {"wide square", [](TChartPen& p) {
         p.SetWidth(3);
         p.SetEndStyle(esSquare);
         p.SetStyle(psDash);
       }, false,
       [](TPen* c) {
         EXPECT_EQ(c->EndCap(), PS_ENDCAP_SQUARE);
         EXPECT_EQ(c->Join(), PS_JOIN_BEVEL);
         EXPECT_EQ(c->Style(), psDash);
       }},
      {"wide flat", [](TChartPen& p) {
         p.SetWidth(4);
         p.SetEndStyle(esFlat);
       }, false,
       [](TPen* c) {
         EXPECT_EQ(c->EndCap(), PS_ENDCAP_FLAT);
         EXPECT_EQ(c->Join(), PS_JOIN_MITER);
         EXPECT_EQ(c->Color(), clRed);
       }},
  };
  for (const TCase& k : cases) {
    SCOPED_TRACE(k.Name);
    TRecordingCanvas canvas;
    canvas.SetMonochrome(k.Monochrome);
    TChartPen pen;
    pen.SetColor(clBlue);
    k.Setup(pen);
    canvas.ApplyPenWithColor(&pen, clRed);
    k.Check(canvas.CanvasPen());
  }
  // Without extended pens a wide chart pen is a plain pen.
  UseExtendedPens = false;
  TRecordingCanvas canvas;
  TChartPen pen;
  pen.SetWidth(3);
  canvas.ApplyPen(&pen);
  EXPECT_FALSE(canvas.CanvasPen()->Geometric());
  EXPECT_EQ(canvas.CanvasPen()->Width(), 3);
  UseExtendedPens = true;
}

TEST(CanvasBrush, BackgroundModeAndPatterns) {
  TRecordingCanvas canvas;
  TChartBrush brush;
  brush.SetStyle(bsCross);
  canvas.ApplyBrush(&brush, clRed, clNone);
  EXPECT_EQ(canvas.GetBackgroundMode(), TRANSPARENT);
  EXPECT_EQ(canvas.CanvasBrush()->Color(), clRed);
  EXPECT_EQ(canvas.CanvasBrush()->Style(), bsCross);

  canvas.ApplyBrush(&brush, clRed, clYellow);
  EXPECT_EQ(canvas.GetBackgroundMode(), OPAQUE);
  EXPECT_EQ(canvas.GetBackgroundColor(), clYellow);

  canvas.SetMonochrome(true);
  canvas.ApplyBrush(&brush, clRed, clNone);
  EXPECT_EQ(canvas.CanvasBrush()->Color(), clWhite);
  canvas.SetMonochrome(false);

  // A picture becomes the pattern, coloured by the fore and back colours.
  TBitmap pattern(8, 8, pf1bit);
  brush.Image()->SetGraphic(&pattern);
  canvas.ApplyBrush(&brush, clLime, clNavy);
  ASSERT_NE(canvas.CanvasBrush()->Bitmap(), nullptr);
  EXPECT_EQ(canvas.CanvasBrush()->Bitmap()->Width(), 8);
  EXPECT_EQ(canvas.BoundCanvas()->GetTextColor(), clLime);
  EXPECT_EQ(canvas.GetBackgroundMode(), OPAQUE);
  EXPECT_EQ(canvas.GetBackgroundColor(), clNavy);

  // Back to a plain brush: the pattern goes.
  TChartBrush plain;
  plain.SetColor(clGreen);
  canvas.ApplyBrush(&plain, clGreen, clNone);
  EXPECT_EQ(canvas.CanvasBrush()->Bitmap(), nullptr);
  EXPECT_EQ(canvas.CanvasBrush()->Style(), bsSolid);
}

TEST(CanvasFont, ZoomMonochromeSpacingAndCurrentFont) {
  TRecordingCanvas canvas;
  TGrafFont font;
  font.SetColor(clRed);
  font.SetInterCharSize(2);
  canvas.SetFontZoomPercent(150);
  canvas.ApplyFont(&font);
  EXPECT_EQ(canvas.CanvasFont()->Size(), 12);
  EXPECT_EQ(canvas.CanvasFont()->Color(), clRed);
  EXPECT_EQ(canvas.BoundCanvas()->GetTextCharacterExtra(), 2);
  EXPECT_EQ(canvas.CurrentFont(), &font);
  EXPECT_EQ(font.LastCanvas(), &canvas);
  EXPECT_EQ(font.Size(), 8);  // the chart's font keeps its own size

  canvas.SetFontZoomPercent(100);
  canvas.SetMonochrome(true);
  canvas.ApplyFont(&font);
  EXPECT_EQ(canvas.CanvasFont()->Size(), 8);
  EXPECT_EQ(canvas.CanvasFont()->Color(), clBlack);
}

TEST(CanvasFont, TextSizesMakeRoomForTheShadow) {
  TRecordingCanvas canvas;
  TGrafFont font;
  canvas.ApplyFont(&font);
  const TSize plain = canvas.BoundCanvas()->TextExtent("Chart");
  EXPECT_EQ(canvas.TextWidth("Chart"), plain.cx);  // no shadow object yet
  EXPECT_EQ(canvas.TextHeight("Chart"), plain.cy);
  font.Shadow()->SetHorizSize(-3);
  font.Shadow()->SetVertSize(2);
  EXPECT_EQ(canvas.TextWidth("Chart"), plain.cx + 3);
  EXPECT_EQ(canvas.TextHeight("Chart"), plain.cy + 2);
  EXPECT_EQ(canvas.FontHeight(), canvas.BoundCanvas()->TextExtent("W").cy + 2);
  EXPECT_EQ(canvas.WideTextWidth(L"Chart"), plain.cx + 3);
}

TEST(CanvasState, ResetStateAndShading) {
  TRecordingCanvas canvas;
  canvas.CanvasPen()->SetColor(clRed);
  canvas.CanvasPen()->SetWidth(4);
  canvas.CanvasBrush()->SetStyle(bsCross);
  canvas.SetTextAlignment(TA_RIGHT);
  TGrafFont font;
  canvas.ApplyFont(&font);
  canvas.ResetState();
  EXPECT_EQ(canvas.CanvasPen()->Color(), clBlack);
  EXPECT_EQ(canvas.CanvasPen()->Width(), 1);
  EXPECT_EQ(canvas.CanvasBrush()->Color(), clWhite);
  EXPECT_EQ(canvas.CanvasBrush()->Style(), bsSolid);
  EXPECT_EQ(canvas.CanvasFont()->Name(), "Arial");
  EXPECT_EQ(canvas.CanvasFont()->Size(), 8);
  EXPECT_EQ(canvas.CurrentFont(), nullptr);
  EXPECT_EQ(canvas.GetBackgroundMode(), TRANSPARENT);
  EXPECT_EQ(canvas.GetTextAlignment(), 0u);

  canvas.ShadeFillColor(0x808080, 0x40);
  EXPECT_EQ(canvas.CanvasBrush()->Color(), 0x404040);
  canvas.CanvasBrush()->SetStyle(bsDiagCross);
  canvas.ShadeFillColor(0x808080, 0x20);
  EXPECT_EQ(canvas.GetBackgroundColor(), 0x606060);
}

// ---- Frames and text ----

TEST(CanvasDrawing, Frame3DDrawsItsWidthAndInsetsTheRectangle) {
  TRecordingCanvas canvas(20, 20);
  TRect r = Rect(0, 0, 10, 10);
  canvas.DrawFrame3D(r, clRed, clBlue, 2);
  EXPECT_EQ(r, Rect(2, 2, 8, 8));
  for (int x : {0, 1}) EXPECT_EQ(canvas.SurfacePixel(x, 5), clRed) << x;
  for (int x : {8, 9}) EXPECT_EQ(canvas.SurfacePixel(x, 5), clBlue) << x;
  EXPECT_EQ(canvas.SurfacePixel(2, 5), clWhite);
  EXPECT_EQ(canvas.SurfacePixel(10, 5), clWhite);
  EXPECT_EQ(canvas.SurfacePixel(5, 9), clBlue);
  EXPECT_EQ(canvas.Count("Polyline", 1), 4);
}

TEST(CanvasDrawing, TextBoundsFollowTheAlignment) {
  TRecordingCanvas canvas;
  const int w = canvas.TextWidth("abc"), h = canvas.TextHeight("abc");
  struct TCase {
    unsigned Align;
    TRect Expected;
  };
  const TCase cases[] = {
      {TA_LEFT, Rect(50, 20, 50 + w, 20 + h)},
      {TA_RIGHT, Rect(50 - w, 20, 50, 20 + h)},
      {TA_CENTER, Rect(50 - w / 2, 20, 50 + w / 2, 20 + h)},
      {TA_CENTER | TA_BOTTOM, Rect(50 - w / 2, 20, 50 + w / 2, 20 + h)},
  };
  for (const TCase& c : cases) {
    canvas.SetTextAlignment(c.Align);
    EXPECT_EQ(TextBoundsAt(&canvas, 50, 20, "abc"), c.Expected) << c.Align;
  }
}

// Draws the text as the device would, for comparison.
void Reference(TBitmap& b, int x, int y, const std::string& text, TColor color, const TFont& font) {
  TCanvas* c = b.Canvas();
  c->Font()->Assign(&font);
  c->SetBkMode(TRANSPARENT);
  c->SetTextColor(color);
  c->TextOut(x, y, text);
}

bool SameImage(TBitmap& a, TBitmap& b) {
  for (int y = 0; y < a.Height(); ++y)
    for (int x = 0; x < a.Width(); ++x)
      if (ColorToRGB(a.Canvas()->Pixels(x, y)) != ColorToRGB(b.Canvas()->Pixels(x, y))) return false;
  return true;
}

TEST(CanvasText, ShadowOffsetsMoveShadowOrText) {
  struct TCase {
    int H, V;
    TPoint ShadowAt, TextAt;
  };
  const TCase cases[] = {
      {-2, 3, {20, 23}, {22, 20}},
      {2, -3, {22, 20}, {20, 23}},
      {3, 4, {23, 24}, {20, 20}},
  };
  for (const TCase& c : cases) {
    TRecordingCanvas canvas(120, 60);
    canvas.SetBackgroundMode(TRANSPARENT);
    TGrafFont font;
    font.SetSize(14);
    font.SetColor(clRed);
    font.Shadow()->SetColor(clGray);
    font.Shadow()->SetHorizSize(c.H);
    font.Shadow()->SetVertSize(c.V);
    canvas.ApplyFont(&font);
    canvas.TextOut(20, 20, "Wg");

    TBitmap expected(120, 60);
    Reference(expected, c.ShadowAt.X, c.ShadowAt.Y, "Wg", clGray, *canvas.CanvasFont());
    Reference(expected, c.TextAt.X, c.TextAt.Y, "Wg", clRed, *canvas.CanvasFont());
    EXPECT_TRUE(SameImage(*canvas.Surface(), expected)) << c.H << "," << c.V;
  }
}

TEST(CanvasText, TransparentShadowIsBlended) {
  TRecordingCanvas canvas(120, 60);
  TGrafFont font;
  font.Shadow()->SetUniformSize(2);
  font.Shadow()->SetTransparency(60);
  canvas.ApplyFont(&font);
  canvas.TextOut(10, 10, "abc");
  const auto blends = canvas.CallsOf("BeginBlending");
  ASSERT_EQ(blends.size(), 1u);
  const TRect bounds = TextBoundsAt(&canvas, 12, 12, "abc");
  EXPECT_EQ(blends[0].ToString(), "BeginBlending(" + std::to_string(bounds.Left) + "," + std::to_string(bounds.Top) +
                                      "," + std::to_string(bounds.Right) + "," + std::to_string(bounds.Bottom) +
                                      ",60)");
  EXPECT_EQ(canvas.Count("EndBlending"), 1);
}

TEST(CanvasText, OutlineAndGradientEffects) {
  // A big bold "I": the middle of its stem tells fill from outline.
  auto draw = [](TColor fontColor, bool outline, bool gradient) {
    auto canvas = std::make_unique<TRecordingCanvas>(100, 100);
    TGrafFont font;
    font.SetSize(60);
    font.SetName("Arial");
    font.SetStyle({fsBold});
    font.SetColor(fontColor);
    if (outline) {
      font.OutLine()->SetVisible(true);
      font.OutLine()->SetColor(clBlue);
    }
    if (gradient) {
      font.Gradient()->SetVisible(true);
      font.Gradient()->SetStartColor(clLime);
      font.Gradient()->SetEndColor(clLime);
    }
    canvas->ApplyFont(&font);
    canvas->TextOut(20, 0, "I");
    return canvas;
  };
  auto stemCentre = [](TRecordingCanvas& c) {
    // The stem's middle: scan the middle row for the first and last non-white pixel.
    int first = -1, last = -1;
    for (int x = 0; x < 100; ++x)
      if (c.SurfacePixel(x, 45) != clWhite) {
        if (first < 0) first = x;
        last = x;
      }
    return first < 0 ? TPoint{-1, -1} : TPoint{(first + last) / 2, 45};
  };
  auto filled = draw(clRed, true, false);
  TPoint p = stemCentre(*filled);
  ASSERT_GE(p.X, 0);
  EXPECT_EQ(filled->SurfacePixel(p.X, p.Y), clRed);

  auto hollow = draw(clNone, true, false);  // only the outline
  p = stemCentre(*hollow);
  ASSERT_GE(p.X, 0);
  EXPECT_EQ(hollow->SurfacePixel(p.X, p.Y), clWhite);
  int blue = 0;
  for (int x = 0; x < 100; ++x) blue += hollow->SurfacePixel(x, 45) == clBlue;
  EXPECT_GE(blue, 2);

  auto gradient = draw(clRed, false, true);
  p = stemCentre(*gradient);
  ASSERT_GE(p.X, 0);
  EXPECT_EQ(gradient->SurfacePixel(p.X, p.Y), clLime);
  EXPECT_EQ(gradient->ClipDepth(), 0);
  EXPECT_FALSE(gradient->BoundCanvas()->HasClip());
}

TEST(CanvasText, RotateLabelWrapsTheAngleAndRestoresTheFont) {
  auto draw = [](double angle) {
    auto canvas = std::make_unique<TRecordingCanvas>(80, 80);
    canvas->RotateLabel(40, 60, "Axis", angle);
    return canvas;
  };
  auto a = draw(450), b = draw(90);
  EXPECT_TRUE(SameImage(*a->Surface(), *b->Surface()));
  EXPECT_EQ(a->CanvasFont()->Orientation(), 0);
  EXPECT_EQ(a->CanvasBrush()->Style(), bsClear);  // stays clear afterwards
  // The nested TextOut ran with the rotated font.
  auto nested = a->CallsOf("TextOut");
  ASSERT_EQ(nested.size(), 1u);
  EXPECT_EQ(nested[0].Depth, 1);
  // Whole turns come off at once, however many; an angle without a value
  // draws upright.
  EXPECT_TRUE(SameImage(*draw(720)->Surface(), *draw(360)->Surface()));
  EXPECT_TRUE(SameImage(*draw(INFINITY)->Surface(), *draw(0)->Surface()));
  EXPECT_TRUE(SameImage(*draw(NAN)->Surface(), *draw(0)->Surface()));
  auto huge = draw(1e300);
  EXPECT_EQ(huge->CallsOf("TextOut").size(), 1u);
  EXPECT_EQ(huge->CanvasFont()->Orientation(), 0);
}

TEST(CanvasText, HtmlGoesThroughTheInstalledRenderer) {
  TRecordingCanvas canvas;
  const THtmlTextOutProc saved = HtmlSubsetTextOutProc;
  HtmlSubsetTextOutProc = nullptr;
  canvas.TextOutMaybeHtml(1, 2, true, "<b>x</b>");
  EXPECT_EQ(canvas.Log(0), (Strings{"TextOut(1,2,\"<b>x</b>\")"}));
  static std::string seen;
  HtmlSubsetTextOutProc = [](TGrafCanvas*, int, int, const std::string& t) { seen = t; };
  canvas.Clear();
  canvas.TextOutMaybeHtml(1, 2, true, "<b>y</b>");
  EXPECT_EQ(seen, "<b>y</b>");
  EXPECT_TRUE(canvas.Calls.empty());
  canvas.TextOutMaybeHtml(1, 2, false, "<b>z</b>");
  EXPECT_EQ(canvas.Log(0), (Strings{"TextOut(1,2,\"<b>z</b>\")"}));
  HtmlSubsetTextOutProc = saved;
}

// ---- Clipping ----

TEST(CanvasClip, ClipsNestAndRemovalsUnwind) {
  TRecordingCanvas canvas(50, 50);
  TCanvas* dc = canvas.BoundCanvas();
  canvas.ClipToRect(Rect(0, 0, 30, 30));
  canvas.ClipToRect(Rect(10, 10, 40, 40));
  TRect box;
  dc->GetClipBox(box);
  EXPECT_EQ(box, Rect(10, 10, 30, 30));
  canvas.RemoveClipRegion();
  dc->GetClipBox(box);
  EXPECT_EQ(box, Rect(0, 0, 30, 30));  // the first clip is in force again
  canvas.RemoveClipRegion();
  EXPECT_FALSE(dc->HasClip());
  canvas.RemoveClipRegion();  // one removal too many removes all clipping, quietly
  EXPECT_FALSE(dc->HasClip());
  EXPECT_EQ(canvas.ClipDepth(), 0);

  // A clip set before the canvas's own ones comes back after them.
  HRGN outer = CreateRectRgn(5, 5, 45, 45);
  dc->SelectClipRgn(outer);
  DeleteObject(outer);
  canvas.ClipToRoundRect(Rect(0, 0, 20, 20), 4);
  canvas.RemoveClipRegion();
  dc->GetClipBox(box);
  EXPECT_EQ(box, Rect(5, 5, 45, 45));
}

TEST(CanvasClip, EllipseCutOutAndPolygons) {
  TRecordingCanvas canvas(60, 60);
  canvas.ClipToRect(Rect(0, 0, 60, 60));
  canvas.ClipToEllipse(Rect(20, 20, 40, 40), true);  // a hole, not a new level
  EXPECT_EQ(canvas.ClipDepth(), 1);
  canvas.CanvasBrush()->SetColor(clRed);
  canvas.FillRect(Rect(0, 0, 60, 60));
  EXPECT_EQ(canvas.SurfacePixel(30, 30), clWhite);
  EXPECT_EQ(canvas.SurfacePixel(5, 5), clRed);
  canvas.RemoveClipRegion();

  // Polygon clips convert to device pixels without touching the caller's points.
  canvas.BoundCanvas()->SetWindowOrgEx(-10, 0);
  std::vector<TPoint> tri = {{0, 0}, {20, 0}, {0, 20}};
  canvas.ClipToPolygon(tri);
  EXPECT_EQ(tri[1], Point(20, 0));
  TRect box;
  canvas.BoundCanvas()->GetClipBox(box);  // logical
  EXPECT_EQ(box.Left, 0);
  canvas.BoundCanvas()->SetWindowOrgEx(0, 0);
  canvas.BoundCanvas()->GetClipBox(box);
  EXPECT_EQ(box.Left, 10);
  canvas.RemoveClipRegion();
}

TEST(CanvasClip, PlainCanvasClipsNestToo) {
  TBitmap b(40, 40);
  TCanvas* c = b.Canvas();
  ClipCanvasToRect(c, Rect(0, 0, 20, 20));
  ClipCanvasToRect(c, Rect(10, 10, 30, 30));
  RestoreClipRegion(c);
  TRect box;
  c->GetClipBox(box);
  EXPECT_EQ(box, Rect(0, 0, 20, 20));
  RestoreClipRegion(c);
  EXPECT_FALSE(c->HasClip());
}

TEST(CanvasClip, ConvexHull) {
  TPointArray square = {{0, 0}, {10, 0}, {10, 10}, {0, 10}, {5, 5}};
  ASSERT_TRUE(TGrafCanvas::ReduceToConvexHull(square));
  ASSERT_EQ(square.size(), 4u);
  EXPECT_EQ(square.back(), Point(10, 0));  // the pivot: smallest y, largest x
  std::sort(square.begin(), square.end(), [](TPoint a, TPoint b) { return a.X != b.X ? a.X < b.X : a.Y < b.Y; });
  EXPECT_EQ(square, (TPointArray{{0, 0}, {0, 10}, {10, 0}, {10, 10}}));

  TPointArray three = {{3, 3}, {1, 1}, {5, 0}};
  EXPECT_TRUE(TGrafCanvas::ReduceToConvexHull(three));
  EXPECT_EQ(three, (TPointArray{{3, 3}, {1, 1}, {5, 0}}));
  TPointArray two = {{0, 0}, {1, 1}};
  EXPECT_FALSE(TGrafCanvas::ReduceToConvexHull(two));
}

// ---- Buffering and passes ----

TEST(CanvasBuffer, PassesDrawIntoTheBufferAndRepaintFromIt) {
  TBitmap window(60, 40);
  TGrafCanvas3D canvas;
  canvas.AttachCanvas(window.Canvas());
  EXPECT_TRUE(canvas.GetBufferedDisplay());
  EXPECT_FALSE(canvas.RepaintFromBuffer());  // dirty right after construction

  TRect r = canvas.PrepareDrawing(window.Canvas(), nullptr, clWhite, false, Rect(10, 5, 50, 35));
  EXPECT_EQ(r, Rect(0, 0, 40, 30));
  ASSERT_NE(canvas.BufferBitmap(), nullptr);
  EXPECT_EQ(canvas.BoundCanvas(), canvas.BufferBitmap()->Canvas());
  canvas.CanvasBrush()->SetColor(clRed);
  canvas.FillRect(r);
  EXPECT_EQ(ColorToRGB(window.Canvas()->Pixels(20, 20)), 0xFFFFFFu);  // not shown yet
  canvas.FinishDrawing(window.Canvas(), window.Canvas(), Rect(10, 5, 50, 35));
  EXPECT_FALSE(canvas.BufferDirty());
  EXPECT_EQ(canvas.BoundCanvas(), window.Canvas());
  EXPECT_EQ(ColorToRGB(window.Canvas()->Pixels(10, 5)), ColorToRGB(clRed));
  EXPECT_EQ(ColorToRGB(window.Canvas()->Pixels(9, 5)), 0xFFFFFFu);

  window.Canvas()->Brush()->SetColor(clWhite);
  window.Canvas()->FillRect(Rect(0, 0, 60, 40));
  EXPECT_TRUE(canvas.RepaintFromBuffer());
  EXPECT_EQ(ColorToRGB(window.Canvas()->Pixels(0, 0)), ColorToRGB(clRed));
  canvas.MarkDirty();
  EXPECT_FALSE(canvas.RepaintFromBuffer());
}

TEST(CanvasBuffer, SwitchingBufferingOff) {
  TBitmap window(20, 20);
  TGrafCanvas3D canvas;
  canvas.PrepareDrawing(window.Canvas(), nullptr, clWhite, false, Rect(0, 0, 20, 20));
  canvas.FinishDrawing(window.Canvas(), window.Canvas(), Rect(0, 0, 20, 20));
  ASSERT_FALSE(canvas.BufferDirty());

  canvas.SetKeepBuffer(true);
  canvas.SetBufferedDisplay(false);
  EXPECT_NE(canvas.BufferBitmap(), nullptr);
  EXPECT_FALSE(canvas.BufferDirty());
  TRect r = canvas.PrepareDrawing(window.Canvas(), nullptr, clWhite, false, Rect(2, 2, 18, 18));
  EXPECT_EQ(r, Rect(2, 2, 18, 18));  // unbuffered: drawn straight on the target
  EXPECT_EQ(canvas.BoundCanvas(), window.Canvas());
  canvas.SetBufferedDisplay(true);
  canvas.SetKeepBuffer(false);
  EXPECT_EQ(canvas.BoundCanvas(), canvas.BufferBitmap()->Canvas());

  canvas.SetBufferedDisplay(false);
  EXPECT_EQ(canvas.BufferBitmap(), nullptr);
  EXPECT_TRUE(canvas.BufferDirty());

  TGrafCanvas3D mono;
  mono.PrepareDrawing(window.Canvas(), nullptr, clWhite, false, Rect(0, 0, 20, 20));
  mono.FinishDrawing(window.Canvas(), window.Canvas(), Rect(0, 0, 20, 20));
  mono.SetMonochrome(true);
  EXPECT_TRUE(mono.BufferDirty());
}

// ---- 2D primitives ----

TEST(CanvasDrawing, DonutLeavesTheHoleEmpty) {
  TRecordingCanvas canvas(100, 100);
  canvas.CanvasBrush()->SetColor(clRed);
  canvas.Donut(50, 50, 40, 40, 0, M_PI, 50);
  EXPECT_EQ(canvas.SurfacePixel(50, 20), clRed);    // in the ring, upper half
  EXPECT_EQ(canvas.SurfacePixel(50, 45), clWhite);  // in the hole
  EXPECT_EQ(canvas.SurfacePixel(50, 80), clWhite);  // lower half not covered
}

TEST(CanvasDrawing, FarCoordinatesAreClippedBeforeTheDevice) {
  TRecordingCanvas canvas(100, 50);
  canvas.CanvasPen()->SetColor(clRed);
  canvas.LineFromTo(-200000000, 5, 200000000, 5);
  EXPECT_EQ(canvas.SurfacePixel(0, 5), clRed);
  EXPECT_EQ(canvas.SurfacePixel(99, 5), clRed);
  canvas.HorizontalLine(2000000000, -2000000000, 7);
  EXPECT_EQ(canvas.SurfacePixel(50, 7), clRed);
  canvas.MovePenTo(50, -100000000);
  canvas.LineTo(50, 100000000);
  EXPECT_EQ(canvas.SurfacePixel(50, 0), clRed);
  EXPECT_EQ(canvas.SurfacePixel(50, 49), clRed);
  EXPECT_EQ(canvas.BoundCanvas()->PenPos(), Point(50, 100000000));
  // A diagonal clipped at the limit keeps its direction where it is visible.
  canvas.LineFromTo(-100000000, -100000000, 100000000, 100000000);
  EXPECT_EQ(canvas.SurfacePixel(20, 20), clRed);

  canvas.CanvasBrush()->SetColor(clBlue);
  canvas.CanvasPen()->SetStyle(psClear);
  const TPoint far[] = {{10, 20}, {300000000, 20}, {300000000, 30}, {10, 30}};
  canvas.Polygon(far);
  EXPECT_EQ(canvas.SurfacePixel(11, 25), clBlue);
  EXPECT_EQ(canvas.SurfacePixel(99, 25), clBlue);
  EXPECT_EQ(canvas.SurfacePixel(5, 25), clWhite);
  canvas.Rectangle(-900000000, 40, 900000000, 45);
  EXPECT_EQ(canvas.SurfacePixel(0, 41), clBlue);
  canvas.CanvasPen()->SetStyle(psSolid);
  const TPoint path[] = {{0, 48}, {50, 48}, {100000000, 48}};
  canvas.Polyline(path);
  EXPECT_EQ(canvas.SurfacePixel(99, 48), clRed);
}

}  // namespace
