// What a stored chart carries: the panel's bevels, the axis line and grid
// pens and the marks and legend gradients with their own defaults.
#include <gtest/gtest.h>

#include "chart/core/testseries.h"
#include "platform/rtl/streams.h"
#include "platform/ui/streaming.h"
#include "support/testlocale.h"

namespace {

// A chart with one series whose marks and legend gradients exist (made on
// first use) but are left as they were made.
struct TStoredChart {
  TStoredChart() {
    RegisterTestChartClasses();
    chart = std::make_unique<TChart>(nullptr);
    chart->SetName("Chart1");
    series = new TTestSeries(chart.get());
    series->SetName("Series1");
    series->SetParentChart(chart.get());
    series->AddXYPoint(1, 2);
    series->Marks()->Gradient();
    chart->Legend()->Gradient();
  }
  std::unique_ptr<TChart> chart;
  TTestSeries* series;
};

TEST(ChartStreaming, AnUntouchedChartWritesNoneOfItsDefaults) {
  TStoredChart s;
  const std::string text = ComponentToText(s.chart.get());
  for (const char* part : {".Axis.", ".Grid.", "Gradient", "Bevel", "BorderWidth", "ShapeStyle"})
    EXPECT_EQ(text.find(part), std::string::npos) << part << " in\n" << text;
}

TEST(ChartStreaming, ChangedPensAndGradientsComeBack) {
  TStoredChart s;
  TChartAxis* left = s.chart->LeftAxis();
  left->Axis()->SetLineMode(lmCylinder);
  left->Axis()->SetWidth(3);
  left->Grid()->SetVisible(false);
  left->Grid()->SetZPosition(40);
  left->SetGridCentered(true);
  s.chart->TopAxis()->Axis()->SetVisible(false);
  TGrafGradient* marks = s.series->Marks()->Gradient();
  marks->SetVisible(true);
  marks->SetStartColor(clRed);
  TGrafGradient* legend = s.chart->Legend()->Gradient();
  legend->SetVisible(true);
  legend->SetDirection(gdTopBottom);
  s.chart->Legend()->SetShapeStyle(fosRoundRectangle);

  TChart loaded(nullptr);
  TextToComponent(ComponentToText(s.chart.get()), &loaded);
  TChartAxis* l = loaded.LeftAxis();
  EXPECT_EQ(l->Axis()->LineMode(), lmCylinder);
  EXPECT_EQ(l->Axis()->Width(), 3);
  EXPECT_FALSE(l->Grid()->Visible());
  EXPECT_EQ(l->Grid()->ZPosition(), 40);
  EXPECT_TRUE(l->GridCentered());
  EXPECT_FALSE(loaded.TopAxis()->Axis()->Visible());
  EXPECT_EQ(loaded.TopAxis()->Axis()->Width(), 2);
  EXPECT_EQ(loaded.TopAxis()->Grid()->ZPosition(), 100);  // its own default, not written
  ASSERT_EQ(loaded.NumberOfSeries(), 1);
  TSeriesMarks* m = loaded.SeriesAt(0)->Marks();
  ASSERT_TRUE(m->HasGradient());
  EXPECT_TRUE(m->Gradient()->Visible());
  EXPECT_EQ(m->Gradient()->StartColor(), clRed);
  EXPECT_EQ(m->Gradient()->Direction(), gdRightLeft);
  EXPECT_EQ(m->Gradient()->EndColor(), clWhite);
  ASSERT_TRUE(loaded.Legend()->HasGradient());
  EXPECT_TRUE(loaded.Legend()->Gradient()->Visible());
  EXPECT_EQ(loaded.Legend()->Gradient()->Direction(), gdTopBottom);
  EXPECT_EQ(loaded.Legend()->Gradient()->StartColor(), clSilver);
  EXPECT_EQ(loaded.Legend()->ShapeStyle(), fosRoundRectangle);
}

TEST(ChartStreaming, PanelBevelsAreTheChartsOwn) {
  TStoredChart s;
  s.chart->SetBevelOuter(bvNone);
  s.chart->SetBevelInner(bvLowered);
  s.chart->SetBevelWidth(3);
  s.chart->SetBorderWidth(2);
  const std::string text = ComponentToText(s.chart.get());
  // The border style is read from old streams only (it turns on the border pen).
  EXPECT_EQ(text.find("BorderStyle"), std::string::npos);
  TChart loaded(nullptr);
  TextToComponent(text, &loaded);
  EXPECT_EQ(loaded.BevelOuter(), bvNone);
  EXPECT_EQ(loaded.BevelInner(), bvLowered);
  EXPECT_EQ(loaded.BevelWidth(), 3);
  EXPECT_EQ(loaded.BorderWidth(), 2);
}

}  // namespace

// A chart with fractional settings, stored on a desktop with a decimal comma:
// the stored bytes are those of the "C" locale, and they read back equal there.
TEST(ChartStreaming, FractionalValuesIgnoreTheDesktopsLocale) {
  struct TStored {
    std::string Text, Binary;
  };
  auto store = [] {
    TStoredChart s;
    TChartAxis* left = s.chart->LeftAxis();
    left->SetAutomatic(false);
    left->SetMinimum(-1.5);
    left->SetMaximum(2.75);
    left->SetIncrement(0.25);
    s.chart->BottomAxis()->SetIncrement(1e-7);
    s.chart->Legend()->Gradient()->SetVisible(true);
    TStringStream binary;
    WriteComponentToStream(binary, s.chart.get());
    return TStored{ComponentToText(s.chart.get()), binary.DataString()};
  };
  const TStored c = store();
  ASSERT_NE(c.Text.find("Increment = 0.25"), std::string::npos) << c.Text;

  TScopedLocale comma;
  ASSERT_TRUE(comma.Active());
  const TStored de = store();
  EXPECT_EQ(de.Text, c.Text);
  EXPECT_EQ(de.Binary, c.Binary);

  TChart fromText(nullptr), fromBinary(nullptr);
  TextToComponent(de.Text, &fromText);
  TStringStream binary(de.Binary);
  ReadComponentFromStream(binary, &fromBinary);
  for (TChart* loaded : {&fromText, &fromBinary}) {
    EXPECT_FALSE(loaded->LeftAxis()->Automatic());
    EXPECT_EQ(loaded->LeftAxis()->Minimum(), -1.5);
    EXPECT_EQ(loaded->LeftAxis()->Maximum(), 2.75);
    EXPECT_EQ(loaded->LeftAxis()->Increment(), 0.25);
    EXPECT_EQ(loaded->BottomAxis()->Increment(), 1e-7);
  }
}
