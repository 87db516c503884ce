// Services the series library relies on: the pixel rounding of the axes'
// linear scale and the legend pointer symbol.
#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>
#include <limits>
#include <vector>

#include "chart/core/testseries.h"

namespace {

TEST(SeriesServices, AxisPixelRoundingIsHalfToEvenAndClamped) {
  const double limit = AxisPixelLimit;
  struct TCase {
    double In;
    int Out;
  };
  for (const TCase c : {TCase{0.5, 0}, TCase{1.5, 2}, TCase{2.5, 2}, TCase{-0.5, 0}, TCase{-1.5, -2},
                        TCase{-2.5, -2}, TCase{2.4999999, 2}, TCase{1e300, AxisPixelLimit},
                        TCase{-1e300, -AxisPixelLimit}, TCase{std::numeric_limits<double>::quiet_NaN(), 0},
                        TCase{std::numeric_limits<double>::infinity(), AxisPixelLimit}, TCase{limit - 0.5, AxisPixelLimit - 1}})
    EXPECT_EQ(ClampAxisPixel(c.In), c.Out) << c.In;
  // Everywhere the same answer as the library's rounding.
  for (double v = -3000; v < 3000; v += 0.125) ASSERT_EQ(ClampAxisPixel(v), static_cast<int>(std::nearbyint(v))) << v;
}

TEST(SeriesServices, LinearAxisConvertsInLineAsBefore) {
  TTestChart chart(nullptr, 400, 250);
  chart.SetView3D(false);
  auto* s = new TTestSeries(&chart);
  s->SetParentChart(&chart);
  s->AddXYPoint(0, 0);
  s->AddXYPoint(7, 3);
  for (bool inverted : {false, true}) {
    chart.BottomAxis()->SetInverted(inverted);
    chart.LeftAxis()->SetInverted(inverted);
    chart.Pass();
    for (TChartAxis* axis : {chart.BottomAxis(), chart.LeftAxis()})
      for (double v = -2; v < 9; v += 0.37) {
        const double d = (v - axis->WorkMinimum) * axis->PixelsPerUnit;
        const bool fromEnd = axis->Horizontal() ? inverted : !inverted;
        const double p = fromEnd ? axis->EndPixel - d : axis->StartPixel + d;
        ASSERT_EQ(axis->ValueToPixel(v), static_cast<int>(std::nearbyint(p))) << v;
      }
  }
  // Many values at once give the same pixels, NaN and far values included.
  std::vector<double> values;
  for (double v = -50; v < 60; v += 0.0137) values.push_back(v);
  values.insert(values.end(), {std::numeric_limits<double>::quiet_NaN(), 1e300, -1e300,
                               std::numeric_limits<double>::infinity()});
  for (TChartAxis* axis : {chart.BottomAxis(), chart.LeftAxis()}) {
    std::vector<int> pixels(values.size());
    axis->ValuesToPixels(values.data(), static_cast<int>(values.size()), pixels.data());
    for (size_t i = 0; i < values.size(); ++i) ASSERT_EQ(pixels[i], axis->ValueToPixel(values[i])) << values[i];
  }
  // The logarithmic scale keeps its own conversion.
  chart.LeftAxis()->SetInverted(false);
  chart.LeftAxis()->SetLogarithmic(true);
  s->AddXYPoint(8, 100);
  chart.Pass();
  EXPECT_LT(chart.LeftAxis()->ValueToPixelY(100), chart.LeftAxis()->ValueToPixelY(10));
  EXPECT_EQ(chart.LeftAxis()->ValueToPixelY(-1), chart.LeftAxis()->EndPixel);
}

TEST(SeriesServices, LegendPointerIsLimitedToTheSymbolBox) {
  TTestChart chart(nullptr, 400, 250);
  auto* s = new TTestSeries(&chart);
  s->SetParentChart(&chart);
  TSeriesPointer* p = s->Pointer();
  p->SetStyle(psRectangle);
  p->SetHorizSize(30);
  p->SetVertSize(30);
  const TRect r = Rect(0, 0, 30, 12);
  struct TCase {
    bool Line;
    bool OwnHiddenPen;
    int H, V;
  };
  for (const TCase c : {TCase{true, false, 10, 4}, TCase{false, false, 16, 7}, TCase{true, true, 16, 7}}) {
    chart.Legend()->Symbol()->SetDefaultPen(!c.OwnHiddenPen);
    chart.Legend()->Symbol()->Pen()->SetVisible(!c.OwnHiddenPen);
    chart.Rec->Clear();
    DrawLegendPointer(p, clRed, r, c.Line);
    const auto rects = chart.Rec->CallsOf("Rectangle", 0);
    ASSERT_EQ(rects.size(), 1u);
    EXPECT_EQ(rects[0].Arg(0), 15 - c.H);
    EXPECT_EQ(rects[0].Arg(1), 6 - c.V);
  }
  // Without a chart nothing is drawn.
  TTestSeries loose;
  DrawLegendPointer(loose.Pointer(), clRed, r, true);
}

}  // namespace

namespace {

TEST(SeriesServices, CylinderSideCountIsSetAroundOneCall) {
  TView3DOptions options(nullptr);
  TRecordingCanvas canvas;
  canvas.StartPass(&options, true, Rect(0, 0, 200, 100), 40);
  auto capSize = [&] {
    canvas.Clear();
    canvas.Cone(true, 10, 10, 50, 60, 0, 20, false, 0);
    const auto polys = canvas.CallsOf("Polygon");
    return polys.empty() ? size_t{0} : polys.back().Points.size();
  };
  EXPECT_EQ(capSize(), static_cast<size_t>(CylinderSides));
  const int saved = CylinderSideCount;
  CylinderSideCount = 4;
  EXPECT_EQ(capSize(), 4u);
  CylinderSideCount = saved;
  EXPECT_EQ(capSize(), 16u);
}

TEST(SeriesServices, TurnedTextFollowsTheFontOutputQuality) {
  // Turned black text on white: smoothed edges leave grey pixels, plain ones none.
  auto greys = [](TFontQuality quality) {
    const TFontQuality saved = FontOutputQuality;
    FontOutputQuality = quality;
    TRecordingCanvas canvas(120, 120);
    canvas.CanvasFont()->SetSize(14);
    canvas.CanvasFont()->SetColor(clBlack);
    canvas.RotateLabel(30, 90, "Wavy", 45);
    FontOutputQuality = saved;
    int n = 0;
    for (int y = 0; y < 120; ++y)
      for (int x = 0; x < 120; ++x) {
        const TColor c = canvas.SurfacePixel(x, y);
        n += c != clBlack && c != clWhite;
      }
    return n;
  };
  EXPECT_GT(greys(fqAntialiased), 0);
  EXPECT_EQ(greys(fqNonAntialiased), 0);
}

}  // namespace
