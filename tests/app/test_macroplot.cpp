#include "app/macroplot.h"

#include <gtest/gtest.h>

#include <vector>

#include "chart/series/series.h"

namespace {

std::vector<double> Range(int n, double scale) {
  std::vector<double> v;
  for (int i = 0; i < n; ++i) v.push_back(scale * i);
  return v;
}

TEST(MacroPlot, PlotsElementsUpToNAndASecondPlotReplacesThemInBlue) {
  TFormGraph form(nullptr);
  const auto x = Range(10, 1), y = Range(10, 2);
  form.PlotPoints(x, y, 2);
  EXPECT_TRUE(form.Visible());
  ASSERT_EQ(form.Chart1->NumberOfSeries(), 1);
  TChartSeries* series = form.Chart1->SeriesAt(0);
  EXPECT_NE(dynamic_cast<TPointSeries*>(series), nullptr);
  ASSERT_EQ(series->Count(), 3);
  EXPECT_EQ(series->YValues()->GetValue(2), 4);
  EXPECT_EQ(series->PointColor(0), clRed);

  form.PlotPoints(Range(4, 3), y, 9);
  EXPECT_EQ(form.Chart1->NumberOfSeries(), 1);
  // Only as many points as the shorter array holds.
  ASSERT_EQ(series->Count(), 4);
  EXPECT_EQ(series->XValues()->GetValue(3), 9);
  EXPECT_EQ(series->PointColor(0), static_cast<TColor>(16711680));

  form.PlotPoints(x, y, -1);
  EXPECT_EQ(series->Count(), 0);
}

TEST(MacroPlot, AfterClosingThePlotGoesRedIntoTheFirstSeriesAndLeavesAnEmptySeries) {
  TFormGraph form(nullptr);
  form.PlotPoints(Range(5, 1), Range(5, 1), 4);
  form.Close();
  EXPECT_FALSE(form.Visible());
  EXPECT_EQ(form.Tag(), 0);
  form.PlotPoints(Range(3, 1), Range(3, 1), 10);
  ASSERT_EQ(form.Chart1->NumberOfSeries(), 2);
  EXPECT_EQ(form.Chart1->SeriesAt(0)->Count(), 3);
  EXPECT_EQ(form.Chart1->SeriesAt(0)->PointColor(0), clRed);
  EXPECT_EQ(form.Chart1->SeriesAt(1)->Count(), 0);
  EXPECT_EQ(form.Tag(), 1);
}

}  // namespace

namespace {

TEST(MacroPlot, MenuBarOffersPrintPreviewExitCopyAndEdit) {
  TFormGraph form(nullptr);
  TTBCustomItem* bar = form.TBToolbar1->Items();
  ASSERT_EQ(bar->Count(), 3);
  EXPECT_EQ(bar->Items(0)->Caption(), "&File");
  ASSERT_EQ(bar->Items(0)->Count(), 4);
  EXPECT_EQ(bar->Items(0)->Items(3)->Caption(), "E&xit");
  EXPECT_EQ(bar->Items(1)->Items(0)->Caption(), "&Copy as BMP");
  EXPECT_EQ(bar->Items(2)->Items(0)->Caption(), "&Edit");
  form.Show();
  form.Exit1->Execute();
  EXPECT_FALSE(form.Visible());
}

}  // namespace
