// The pass of a series that draws only its pointers draws just the last
// pointer at each place; the picture must stay the one of drawing every
// pointer in order.
#include <gtest/gtest.h>

#include <functional>
#include <random>

#include "chart/series/series.h"
#include "platform/gfx/bitmap.h"
#include "seriestest.h"

namespace {

struct TPointerCase {
  const char* Name;
  TSeriesPointerStyle Style;
  TColor PenColor;  // clDefault: the pen in the point colour (one colour per shape)
  int Size;
};

// Draws the series' pass and then every pointer in order on the same chart
// without them; the pictures must be equal. Fill adds the points.
void ExpectPassEqualsEveryPointer(const TPointerCase& c, const std::function<void(TPointSeries*)>& fill,
                                  bool invertX = false) {
  TSeriesTestChart chart(300, 200);
  auto* s = new TPointSeries(&chart);
  s->SetParentChart(&chart);
  s->SetSeriesColor(clRed);
  s->Pointer()->SetStyle(c.Style);
  s->Pointer()->SetHorizSize(c.Size);
  s->Pointer()->SetVertSize(c.Size);
  s->Pointer()->Pen()->SetColor(c.PenColor == clDefault ? clRed : c.PenColor);
  fill(s);
  chart.BottomAxis()->SetRange(20, 80);
  chart.BottomAxis()->SetInverted(invertX);
  chart.Pass();
  TBitmap drawn;
  drawn.Assign(chart.Rec->Surface());
  const int first = s->FirstVisible, last = s->LastVisible;
  ASSERT_GT(last - first, 1000);

  // The same chart with the pointers drawn as nothing (margins and scales stay).
  s->Pointer()->SetStyle(psNothing);
  chart.Pass();
  TRecordingCanvas* canvas = chart.Rec;
  canvas->BindSurface();
  const TRect& area = chart.ChartArea;
  canvas->ClipToRect(Rect(area.Left + 1, area.Top + 1, area.Right, area.Bottom));
  const bool ascending = s->DrawsAscending();  // the order the series draws in
  for (int k = first; k <= last; ++k) {
    const int i = ascending ? k : first + last - k;
    s->Pointer()->SetupCanvas(canvas, clRed);
    s->Pointer()->DrawShapeAt(canvas, false, s->PointXPixel(i), s->PointYPixel(i), c.Size, c.Size, clRed, c.Style);
  }
  canvas->RemoveClipRegion();
  int differing = 0;
  for (int y = 0; y < drawn.Height(); ++y)
    for (int x = 0; x < drawn.Width(); ++x)
      differing += drawn.Canvas()->Pixels(x, y) != canvas->Surface()->Canvas()->Pixels(x, y);
  EXPECT_EQ(differing, 0);
}

const TPointerCase PointerCases[] = {{"outlined squares", psRectangle, clBlack, 3},
                                     {"plain squares", psRectangle, clDefault, 2},
                                     {"crosses", psCross, clDefault, 2},
                                     {"outlined circles", psCircle, clBlack, 4},
                                     {"dots", psSmallDot, clDefault, 1}};

// Many points on few pixels: repeats in a row and returns to earlier places.
void ManyPointsOnFewPixels(TPointSeries* s) {
  std::mt19937 random(11);
  std::uniform_int_distribution<int> level(0, 12);
  for (int i = 0; i < 4000; ++i) s->AddXYPoint(i / 40, level(random) * (i % 7 == 0 ? 3 : 1));
}

TEST(PointSeriesPass, PictureEqualsDrawingEveryPointer) {
  for (const TPointerCase& c : PointerCases) {
    SCOPED_TRACE(c.Name);
    ExpectPassEqualsEveryPointer(c, ManyPointsOnFewPixels);
  }
}

// The pass finds the last pointer at a place one way when the points run
// along x (either way across the screen) and another way when they do not.
TEST(PointSeriesPass, PictureEqualsDrawingEveryPointerWhateverTheOrderOnScreen) {
  for (const TPointerCase& c : PointerCases) {
    SCOPED_TRACE(c.Name);
    SCOPED_TRACE("x inverted");
    ExpectPassEqualsEveryPointer(c, ManyPointsOnFewPixels, true);
  }
  for (const TPointerCase& c : PointerCases) {
    SCOPED_TRACE(c.Name);
    SCOPED_TRACE("x out of order");
    ExpectPassEqualsEveryPointer(c, [](TPointSeries* s) {
      s->XValues()->SetOrder(loNone);
      std::mt19937 random(5);
      std::uniform_int_distribution<int> x(0, 99), level(0, 12);
      for (int i = 0; i < 4000; ++i) s->AddXYPoint(x(random), level(random));
    });
  }
}

}  // namespace
