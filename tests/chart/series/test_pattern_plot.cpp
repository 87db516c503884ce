// The pattern plot road: observed points and the calculated and difference
// curves, added point by point, drawn on an offscreen chart and written as
// a picture.
#include <gtest/gtest.h>

#include "chart/core/chart.h"
#include "chart/core/golden.h"
#include "chart/series/series.h"
#include "patterndata.h"
#include "platform/gfx/bitmap.h"
#include "support/tempdir.h"

namespace {

TEST(PatternPlot, RendersObservedCalculatedAndDifferenceToAPicture) {
  TChart chart(nullptr);
  chart.SetBounds(0, 0, 600, 400);
  chart.SetView3D(false);
  chart.Title()->Text()->Add("Observed and calculated pattern");
  auto* observed = new TPointSeries(&chart);
  auto* calculated = new TFastLineSeries(&chart);
  auto* difference = new TFastLineSeries(&chart);
  observed->SetTitle("Observed");
  calculated->SetTitle("Calculated");
  difference->SetTitle("Difference");
  observed->SetSeriesColor(clRed);
  calculated->SetSeriesColor(clBlue);
  difference->SetSeriesColor(clGreen);
  observed->Pointer()->SetStyle(psCross);
  observed->Pointer()->SetHorizSize(2);
  observed->Pointer()->SetVertSize(2);
  observed->Pointer()->Pen()->SetColor(clRed);
  for (TChartSeries* s : std::initializer_list<TChartSeries*>{observed, calculated, difference}) s->SetParentChart(&chart);
  for (const TPatternPoint& p : MakePattern(1400)) {
    observed->AddXYPoint(p.X, p.Observed);
    calculated->AddXYPoint(p.X, p.Calculated);
    difference->AddXYPoint(p.X, p.Difference);
  }
  ASSERT_EQ(observed->PointCount(), 1400);

  TBitmap image(600, 400);
  chart.DrawOnCanvas(image.Canvas(), Rect(0, 0, 600, 400));
  // The curves are on the plot: some pixels in each series colour.
  int red = 0, blue = 0, green = 0;
  for (int y = 0; y < 400; ++y)
    for (int x = 0; x < 600; ++x) {
      const TColor c = image.Canvas()->Pixels(x, y);
      red += c == clRed;
      blue += c == clBlue;
      green += c == clGreen;
    }
  EXPECT_GT(red, 1000);
  EXPECT_GT(blue, 500);
  EXPECT_GT(green, 500);

  TTempDir dir;
  TPngImage png;
  png.Assign(&image);
  png.SaveToFile(dir.File("pattern.png"));
  TPicture back;
  back.LoadFromFile(dir.File("pattern.png"));
  EXPECT_EQ(back.Width(), 600);
  EXPECT_EQ(back.Height(), 400);

  ExpectMatchesGolden(image, "series/pattern_plot.png", {0, 0});
}

}  // namespace
