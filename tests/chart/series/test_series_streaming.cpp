// A stored chart keeps its line, point, area and fast line series: their
// own settings and their points (in the "Data" stream), whatever the
// desktop's locale.
#include <gtest/gtest.h>

#include "chart/core/chart.h"
#include "chart/series/series.h"
#include "platform/ui/streaming.h"
#include "support/testlocale.h"

namespace {

std::string StoredChart() {
  RegisterClasses({&TChart::StaticClass()});
  RegisterStandardSeriesClasses();
  TChart chart(nullptr);
  chart.SetName("Chart1");
  auto* line = new TLineSeries(&chart);
  auto* area = new TAreaSeries(&chart);
  auto* fast = new TFastLineSeries(&chart);
  auto* points = new TPointSeries(&chart);
  line->SetName("Line1");
  area->SetName("Area1");
  fast->SetName("Fast1");
  points->SetName("Points1");
  for (TChartSeries* s : std::initializer_list<TChartSeries*>{line, area, fast, points}) {
    s->SetParentChart(&chart);
    s->AddXYPoint(0.5, 1.25);
    s->AddXYPoint(1.5, -2.75);
  }
  line->SetStairs(true);
  line->SetLineHeight(3);
  line->SetStacked(cssStack);
  line->Pointer()->SetVisible(true);
  line->Pointer()->SetStyle(psCircle);
  area->SetUseYOrigin(true);
  area->SetYOrigin(2.5);
  area->SetMultiArea(maStacked100);
  fast->SetDrawAllPoints(false);
  fast->SetIgnoreNulls(false);
  points->SetTransparency(40);
  return ComponentToText(&chart);
}

TEST(SeriesStreaming, SettingsAndPointsComeBack) {
  const std::string text = StoredChart();
  {
    TScopedLocale comma;
    ASSERT_TRUE(comma.Active());
    EXPECT_EQ(StoredChart(), text);
  }
  TChart loaded(nullptr);
  TextToComponent(text, &loaded);
  ASSERT_EQ(loaded.NumberOfSeries(), 4);
  auto* line = dynamic_cast<TLineSeries*>(loaded.SeriesAt(0));
  auto* area = dynamic_cast<TAreaSeries*>(loaded.SeriesAt(1));
  auto* fast = dynamic_cast<TFastLineSeries*>(loaded.SeriesAt(2));
  auto* points = dynamic_cast<TPointSeries*>(loaded.SeriesAt(3));
  ASSERT_TRUE(line && area && fast && points) << text;
  EXPECT_TRUE(line->Stairs());
  EXPECT_EQ(line->LineHeight(), 3);
  EXPECT_EQ(line->Stacked(), cssStack);
  EXPECT_TRUE(line->Pointer()->Visible());
  EXPECT_EQ(line->Pointer()->Style(), psCircle);
  EXPECT_TRUE(area->UseYOrigin());
  EXPECT_DOUBLE_EQ(area->YOrigin(), 2.5);
  EXPECT_EQ(area->MultiArea(), maStacked100);
  EXPECT_FALSE(fast->DrawAllPoints());
  EXPECT_FALSE(fast->IgnoreNulls());
  EXPECT_EQ(points->Transparency(), 40);
  // Defaults of the classes are not written: a point series' callout length 0,
  // an area series' hidden pointer.
  EXPECT_EQ(text.find("Callout.Length"), std::string::npos) << text;
  EXPECT_EQ(text.find("Pointer.Visible = False"), std::string::npos) << text;
  for (TChartSeries* s : std::initializer_list<TChartSeries*>{line, area, fast, points}) {
    ASSERT_EQ(s->PointCount(), 2) << s->ClassName();
    EXPECT_DOUBLE_EQ(s->XValues()->GetValue(1), 1.5);
    EXPECT_DOUBLE_EQ(s->YValues()->GetValue(1), -2.75);
  }
}

}  // namespace
