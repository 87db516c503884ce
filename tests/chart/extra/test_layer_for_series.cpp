// What the further series rely on of the drawing layer: arcs drawn
// counter-clockwise between two radial directions, poly-Bezier-to from the
// pen position, clipping to an ellipse and a polygon, the chart's back
// buffer read as 24-bit pixels, and the system colours and cursors named.
#include <gtest/gtest.h>

#include <memory>

#include "chart/core/chart.h"
#include "chart/extra/grafpolar.h"
#include "platform/dialogs.h"
#include "platform/gfx/bitmap.h"
#include "platform/gfx/colors.h"
#include "platform/gfx/graphics.h"

namespace {

std::unique_ptr<TBitmap> WhiteBitmap(int W, int H) {
  auto b = std::make_unique<TBitmap>(W, H);
  b->Canvas()->Brush()->SetColor(clWhite);
  b->Canvas()->FillRect(Rect(0, 0, W, H));
  b->Canvas()->Pen()->SetColor(clBlack);
  b->Canvas()->Brush()->SetStyle(bsClear);
  return b;
}

bool AnyBlack(TBitmap& b, const TRect& r) {
  for (int y = r.Top; y < r.Bottom; ++y)
    for (int x = r.Left; x < r.Right; ++x)
      if (b.Canvas()->Pixels(x, y) == clBlack) return true;
  return false;
}

}  // namespace

TEST(LayerForSeries, ArcsRunCounterClockwiseFromTheStartDirection) {
  // From the right (3 o'clock) to the top (12 o'clock): the upper right
  // quarter only.
  auto b = WhiteBitmap(100, 100);
  b->Canvas()->Arc(10, 10, 90, 90, 100, 50, 50, 0);
  EXPECT_TRUE(AnyBlack(*b, Rect(55, 5, 95, 45)));
  EXPECT_FALSE(AnyBlack(*b, Rect(5, 5, 45, 45)));
  EXPECT_FALSE(AnyBlack(*b, Rect(5, 55, 95, 95)));
}

TEST(LayerForSeries, PolyBezierToStartsAtThePenAndEndsOnTheLastPoint) {
  auto b = WhiteBitmap(100, 100);
  b->Canvas()->MoveTo(10, 90);
  const TPoint curve[3] = {{10, 10}, {90, 10}, {90, 90}};
  b->Canvas()->PolyBezierTo(curve, 3);
  EXPECT_EQ(b->Canvas()->PenPos(), Point(90, 90));
  // Half way the cubic is at (50, 30).
  EXPECT_TRUE(AnyBlack(*b, Rect(48, 28, 53, 33)));
  EXPECT_FALSE(AnyBlack(*b, Rect(40, 60, 60, 80)));
}

TEST(LayerForSeries, TheChartCanvasClipsToEllipsesAndPolygons) {
  TChart chart(nullptr);
  chart.SetBounds(0, 0, 100, 100);
  auto b = WhiteBitmap(100, 100);
  TCanvas3D* canvas = chart.PanelCanvas();
  canvas->AttachCanvas(b->Canvas());
  canvas->ClipToEllipse(Rect(0, 0, 100, 100), false);
  canvas->CanvasBrush()->SetStyle(bsSolid);
  canvas->CanvasBrush()->SetColor(clBlack);
  canvas->FillRect(Rect(0, 0, 100, 100));
  canvas->RemoveClipRegion();
  EXPECT_EQ(b->Canvas()->Pixels(50, 50), clBlack);
  EXPECT_EQ(b->Canvas()->Pixels(3, 3), clWhite) << "outside the ellipse";
  auto c = WhiteBitmap(100, 100);
  canvas->AttachCanvas(c->Canvas());
  const TPoint triangle[3] = {{0, 0}, {100, 0}, {0, 100}};
  canvas->ClipToPolygon(triangle);
  canvas->CanvasBrush()->SetColor(clBlack);
  canvas->FillRect(Rect(0, 0, 100, 100));
  canvas->RemoveClipRegion();
  EXPECT_EQ(c->Canvas()->Pixels(20, 20), clBlack);
  EXPECT_EQ(c->Canvas()->Pixels(80, 80), clWhite);
  canvas->AttachCanvas(nullptr);
}

TEST(LayerForSeries, TheBackBufferReadsAs24BitPixels) {
  TChart chart(nullptr);
  chart.SetBounds(0, 0, 200, 150);
  chart.SetColor(clWhite);
  chart.SetBufferedDisplay(true);
  auto* polar = new TPolarSeries(&chart);
  polar->SetParentChart(&chart);
  polar->AddXYPoint(0, 1);
  polar->AddXYPoint(90, 2);
  TBitmap target(200, 150);
  chart.DrawOnCanvas(target.Canvas(), Rect(0, 0, 200, 150));
  auto* buffered = dynamic_cast<TGrafCanvas3D*>(chart.PanelCanvas());
  ASSERT_TRUE(buffered && buffered->BufferBitmap());
  TBitmap copy(200, 150, pf24bit);
  copy.Canvas()->Draw(0, 0, buffered->BufferBitmap());
  ASSERT_EQ(copy.PixelFormat(), pf24bit);
  int checked = 0;
  for (int y = 0; y < 150; y += 7) {
    const uint8_t* row = copy.ScanLine(y);
    for (int x = 0; x < 200; x += 5) {
      const TColorRef c = ColorToRGB(target.Canvas()->Pixels(x, y));
      EXPECT_EQ(row[3 * x], GetBValue(c));
      EXPECT_EQ(row[3 * x + 1], GetGValue(c));
      EXPECT_EQ(row[3 * x + 2], GetRValue(c));
      ++checked;
    }
  }
  EXPECT_GT(checked, 500);
}

TEST(LayerForSeries, SystemColoursAndCursorsTheEditorsName) {
  EXPECT_EQ(static_cast<uint32_t>(clScrollBar), 0xFF000000u);
  EXPECT_EQ(static_cast<uint32_t>(clWindowFrame), 0xFF000006u);
  EXPECT_EQ(crHandPoint, -21);
  EXPECT_EQ(crSizeWE, -9);
}
