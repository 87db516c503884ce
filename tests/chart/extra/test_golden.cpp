// Reviewed pictures of the polar grid, the Smith grid and a calendar month.
// ZELVORA_UPDATE_GOLDEN=1 writes the pictures instead of comparing (look at
// them before keeping them). Compared exactly: a missing label fails.
#include <gtest/gtest.h>

#include "chart/core/chart.h"
#include "chart/core/golden.h"
#include "chart/extra/grafcalendar.h"
#include "chart/extra/grafpolar.h"
#include "chart/extra/grafsmith.h"
#include "platform/gfx/bitmap.h"
#include "platform/ui/buttons.h"

#include <memory>

namespace {

const char* const kFolder = "tests/chart/extra/golden";

std::unique_ptr<TBitmap> Draw(TChart& chart) {
  auto image = std::make_unique<TBitmap>(chart.Width(), chart.Height());
  chart.DrawOnCanvas(image->Canvas(), Rect(0, 0, chart.Width(), chart.Height()));
  return image;
}

void Prepare(TChart& chart, int Width, int Height) {
  chart.SetBounds(0, 0, Width, Height);
  chart.SetColor(clWhite);
  chart.SetView3D(false);
  chart.Legend()->SetVisible(false);
}

}  // namespace

TEST(ExtraGolden, PolarGridWithAngleLabelsAndRadiusScales) {
  TChart chart(nullptr);
  Prepare(chart, 360, 320);
  auto* polar = new TPolarSeries(&chart);
  polar->SetParentChart(&chart);
  polar->SetCircled(true);
  polar->SetCircleLabels(true);
  polar->SetSeriesColor(clRed);
  polar->SetAngleIncrement(30);
  chart.LeftAxis()->SetRange(0, 100);
  chart.LeftAxis()->SetIncrement(25);
  const double points[][2] = {{0, 80}, {60, 40}, {135, 95}, {200, 60}, {300, 30}};
  for (const auto& p : points) polar->AddXYPoint(p[0], p[1]);
  auto image = Draw(chart);
  ExpectMatchesGoldenIn(kFolder, *image, "polar_grid.png");
}

TEST(ExtraGolden, SmithGridWithLabelsAndImpedances) {
  TChart chart(nullptr);
  Prepare(chart, 360, 320);
  auto* smith = new TSmithSeries(&chart);
  smith->SetParentChart(&chart);
  smith->SetCircled(true);
  smith->SetSeriesColor(clBlue);
  const double points[][2] = {{0.2, 0.5}, {0.5, 1}, {1, 0}, {2, -1}, {5, 0.5}};
  for (const auto& p : points) smith->AddXYPoint(p[0], p[1]);
  auto image = Draw(chart);
  ExpectMatchesGoldenIn(kFolder, *image, "smith_grid.png");
}

TEST(ExtraGolden, CalendarMonthStartingOnSundayWithMondayFirst) {
  TChart chart(nullptr);
  Prepare(chart, 360, 300);
  chart.SetAxisVisible(false);
  auto* calendar = new TCalendarSeries(&chart);
  calendar->SetParentChart(&chart);
  calendar->FirstDayOfWeek = 0;
  calendar->SetDate(EncodeDate(2024, 9, 10));
  calendar->PreviousButton()->SetVisible(false);
  calendar->NextButton()->SetVisible(false);
  auto image = Draw(chart);
  ExpectMatchesGoldenIn(kFolder, *image, "calendar_month.png");
}
