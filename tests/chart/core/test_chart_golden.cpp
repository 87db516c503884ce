// A reviewed picture of a whole 3D chart: walls, titles, legend and two
// series with marks. ZELVORA_UPDATE_GOLDEN=1 writes the picture instead of
// comparing (look at it before keeping it).
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "chart/core/testseries.h"
#include "platform/gfx/bitmap.h"

namespace {

std::filesystem::path GoldenDir() {
  if (const char* src = std::getenv("ZELVORA_SOURCE_DIR")) return std::filesystem::path(src) / "tests/chart/core/golden";
  return std::filesystem::path(__FILE__).parent_path() / "golden";
}

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

  const std::filesystem::path file = GoldenDir() / "chart_3d_walls_legend.png";
  if (std::getenv("ZELVORA_UPDATE_GOLDEN")) {
    std::filesystem::create_directories(file.parent_path());
    TPngImage png;
    png.Assign(&image);
    png.SaveToFile(file.string());
    GTEST_SKIP() << "wrote " << file;
  }
  TPicture picture;
  picture.LoadFromFile(file.string());
  TBitmap golden;
  golden.Assign(picture.Graphic());
  ASSERT_EQ(golden.Width(), image.Width());
  ASSERT_EQ(golden.Height(), image.Height());
  int differing = 0;
  for (int y = 0; y < image.Height(); ++y)
    for (int x = 0; x < image.Width(); ++x) {
      const TColorRef a = ColorToRGB(image.Canvas()->Pixels(x, y)), b = ColorToRGB(golden.Canvas()->Pixels(x, y));
      const int d = std::max({std::abs(GetRValue(a) - GetRValue(b)), std::abs(GetGValue(a) - GetGValue(b)),
                              std::abs(GetBValue(a) - GetBValue(b))});
      if (d > 48) ++differing;
    }
  // Text edges may differ a little between font builds; shapes may not.
  EXPECT_LE(differing, image.Width() * image.Height() / 200) << differing << " pixels differ";
}

}  // namespace
