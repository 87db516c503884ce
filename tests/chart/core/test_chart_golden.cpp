// A reviewed picture of a whole 3D chart: walls, titles, legend and two
// series with marks. ZELVORA_UPDATE_GOLDEN=1 writes the picture instead of
// comparing (look at it before keeping it).
#include <gtest/gtest.h>

#include <functional>

#include "chart/core/golden.h"
#include "chart/core/testseries.h"
#include "platform/gfx/bitmap.h"

namespace {

void BuildChart(TChart& chart) {
  chart.SetBounds(0, 0, 480, 320);
  chart.SetColor(clWhite);
  chart.Title()->Text()->Add("Observed and calculated");
  chart.Foot()->Text()->Add("2-theta (degrees)");
  chart.Walls()->Left()->SetColor(0x00C0FFFF);
  chart.Walls()->Bottom()->SetColor(0x00E0E0E0);
  chart.Walls()->Back()->SetTransparent(false);
  chart.Walls()->Back()->SetColor(0x00F8F0E8);
  chart.LeftAxis()->Title()->SetCaption("Intensity");
  auto* observed = new TTestSeries(&chart);
  observed->SetName("Observed");
  observed->SetTitle("Observed");
  observed->SetSeriesColor(clRed);
  auto* calculated = new TTestSeries(&chart);
  calculated->SetName("Calculated");
  calculated->SetTitle("Calculated");
  calculated->SetSeriesColor(clBlue);
  calculated->Pointer()->SetStyle(psCircle);
  const double ys[] = {12, 30, 55, 41, 22, 64, 38, 18};
  for (int i = 0; i < 8; ++i) {
    observed->AddXYPoint(10 + 5 * i, ys[i]);
    calculated->AddXYPoint(10 + 5 * i, ys[i] * 0.9 + 3);
  }
  observed->Marks()->SetVisible(true);
  observed->Marks()->SetStyle(smsValue);
  observed->Marks()->SetDrawEvery(2);
  calculated->Marks()->SetVisible(true);
  calculated->Marks()->SetStyle(smsValue);
  calculated->Marks()->SetDrawEvery(3);
  observed->SetParentChart(&chart);
  calculated->SetParentChart(&chart);
}

TEST(ChartGolden, ThreeDChartWithWallsTitlesLegendAndMarks) {
  TChart chart(nullptr);
  BuildChart(chart);
  TBitmap image(chart.Width(), chart.Height());
  chart.DrawOnCanvas(image.Canvas(), Rect(0, 0, chart.Width(), chart.Height()));

  ExpectMatchesGolden(image, "chart_3d_walls_legend.png");
}

// Small faults of the drawing fail the comparison: a series' marks missing, one
// mark's label missing, one point of a series drawn 4 pixels off (a few dozen
// pixels, which a tolerance of some hundred pixels would let pass).
TEST(ChartGolden, SmallFaultsFailTheComparison) {
  struct TFault {
    const char* What;
    std::function<void(TChart&)> Make;
  } faults[] = {
      {"the marks of Calculated missing", [](TChart& c) { c.SeriesList()->ItemAt(1)->Marks()->SetVisible(false); }},
      {"the label of mark 2 of Observed missing",
       [](TChart& c) {
         c.SeriesList()->ItemAt(0)->OnGetMarkText = [](TChartSeries*, int index, std::string& text) {
           if (index == 2) text.clear();
         };
       }},
      {"point 3 of Observed 4 pixels higher",
       [](TChart& c) {
         // Where the point stands, from a first drawing; its value is not an
         // extreme, so the axes keep their range.
         TBitmap first(c.Width(), c.Height());
         c.DrawOnCanvas(first.Canvas(), Rect(0, 0, c.Width(), c.Height()));
         TChartSeries* observed = c.SeriesList()->ItemAt(0);
         TChartAxis* left = c.LeftAxis();
         const int pixel = left->ValueToPixel(observed->YValues()->GetValue(3));
         const double moved = left->PixelToValue(pixel - 4);
         observed->YValues()->SetValue(3, moved);
         ASSERT_EQ(left->ValueToPixel(moved), pixel - 4);
       }},
  };
  for (const TFault& f : faults) {
    TChart chart(nullptr);
    BuildChart(chart);
    f.Make(chart);
    TBitmap image(chart.Width(), chart.Height());
    chart.DrawOnCanvas(image.Canvas(), Rect(0, 0, chart.Width(), chart.Height()));
    const int differing = GoldenDifferences(image, "chart_3d_walls_legend.png", kExactly.Channel);
    EXPECT_GT(differing, kExactly.MaxDiffering) << f.What;
  }
}

}  // namespace
