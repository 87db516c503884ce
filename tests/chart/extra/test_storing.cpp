// Stored charts of the further series: their own settings come back, and a
// stored series that claims more points or a larger picture than its stream
// holds is refused with EReadError, the series keeping what it had.
#include <gtest/gtest.h>

#include <string>

#include "chart/core/chart.h"
#include "chart/extra/extraregister.h"
#include "chart/extra/ganttch.h"
#include "chart/extra/grafboxplot.h"
#include "chart/extra/grafgauges.h"
#include "chart/extra/grafpolar.h"
#include "chart/extra/grafrose.h"
#include "chart/extra/grafshape.h"
#include "chart/extra/imagebar.h"
#include "platform/rtl/streams.h"
#include "platform/ui/streaming.h"
#include "support/testlocale.h"

namespace {

std::string Saved(TChartSeries& Series) {
  TMemoryStream m;
  Series.SavePointData(&m);
  return std::string(reinterpret_cast<const char*>(m.Memory()), static_cast<size_t>(m.Size()));
}

void Load(TChartSeries& Series, const std::string& Bytes) {
  TMemoryStream m;
  m.WriteBuffer(Bytes.data(), static_cast<int64_t>(Bytes.size()));
  m.SetPosition(0);
  Series.LoadPointData(&m);
}

}  // namespace

TEST(ExtraStoring, SettingsComeBackWhateverTheLocale) {
  RegisterClasses({&TChart::StaticClass()});
  RegisterExtraSeriesTypes();
  auto build = [] {
    auto chart = std::make_unique<TChart>(nullptr);
    chart->SetName("Chart1");
    auto* polar = new TPolarSeries(chart.get());
    polar->SetName("Polar1");
    polar->SetParentChart(chart.get());
    polar->SetClockWiseLabels(true);
    polar->SetLabelsMargin(7);
    polar->SetTransparency(35);
    auto* gauge = new TGaugeSeries(chart.get());
    gauge->SetName("Gauge1");
    gauge->SetParentChart(chart.get());
    gauge->SetMaximum(250.5);
    gauge->SetValue(120.25);
    gauge->SetHandStyle(hsTriangle);
    auto* box = new THorizBoxSeries(chart.get());
    box->SetName("Box1");
    box->SetParentChart(chart.get());
    box->SetPosition(2.5);
    box->SetWhiskerLength(3);
    auto* shape = new TChartShape(chart.get());
    shape->SetName("Shape1");
    shape->SetParentChart(chart.get());
    shape->SetStyle(chasStar);
    shape->Text()->Add("two words");
    shape->SetX1(12.75);
    // The series' own style flags share the stored name "Style".
    shape->TCustomChartSeries::SetStyle(TChartSeriesStyle{csfTemplate, csfNoClone});
    auto* clock = new TClockSeries(chart.get());
    clock->SetName("Clock1");
    clock->SetParentChart(chart.get());
    clock->SetStyle(cssDecimal);
    return chart;
  };
  const std::string text = ComponentToText(build().get());
  {
    TScopedLocale comma;
    ASSERT_TRUE(comma.Active());
    EXPECT_EQ(ComponentToText(build().get()), text);
  }
  TChart back(nullptr);
  TextToComponent(text, &back);
  ASSERT_EQ(back.NumberOfSeries(), 5);
  auto* polar = dynamic_cast<TPolarSeries*>(back.SeriesAt(0));
  auto* gauge = dynamic_cast<TGaugeSeries*>(back.SeriesAt(1));
  auto* box = dynamic_cast<THorizBoxSeries*>(back.SeriesAt(2));
  auto* shape = dynamic_cast<TChartShape*>(back.SeriesAt(3));
  ASSERT_TRUE(polar && gauge && box && shape) << text;
  EXPECT_TRUE(polar->ClockWiseLabels());
  EXPECT_EQ(polar->LabelsMargin(), 7);
  EXPECT_EQ(polar->Transparency(), 35);
  EXPECT_DOUBLE_EQ(gauge->Maximum(), 250.5);
  EXPECT_DOUBLE_EQ(gauge->Value(), 120.25);
  EXPECT_EQ(gauge->HandStyle(), hsTriangle);
  EXPECT_DOUBLE_EQ(box->Position(), 2.5);
  EXPECT_DOUBLE_EQ(box->WhiskerLength(), 3);
  EXPECT_EQ(shape->Style(), chasStar);
  EXPECT_EQ(shape->Text()->Get(0), "two words");
  EXPECT_DOUBLE_EQ(shape->X1(), 12.75);
  EXPECT_TRUE(shape->TCustomChartSeries::Style().Contains(csfNoClone));
  auto* clock = dynamic_cast<TClockSeries*>(back.SeriesAt(4));
  ASSERT_TRUE(clock);
  EXPECT_EQ(clock->Style(), cssDecimal);
}

TEST(ExtraStoring, ClaimsBeyondTheStreamAreRefused) {
  TGanttSeries g(nullptr);
  g.AddGanttTask(1, 2, 0);
  g.AddGanttTask(3, 4, 1);
  std::string bytes = Saved(g);
  // Flags byte, then the point count: claim one point more.
  bytes[1] = 3;
  TGanttSeries target(nullptr);
  target.AddGanttTask(7, 8, 0);
  EXPECT_THROW(Load(target, bytes), EReadError);
  ASSERT_EQ(target.PointCount(), 1);
  EXPECT_DOUBLE_EQ(target.EndValues()->GetValue(0), 8);

  // A picture whose byte count runs past the stream.
  RegisterClasses({&TChart::StaticClass()});
  RegisterExtraSeriesTypes();
  TChart chart(nullptr);
  chart.SetName("Chart1");
  auto* bars = new TImageBarSeries(&chart);
  bars->SetName("Bars1");
  bars->SetParentChart(&chart);
  TMemoryStream stored;
  WriteComponentToStream(stored, &chart);
  std::string raw(reinterpret_cast<const char*>(stored.Memory()), static_cast<size_t>(stored.Size()));
  // The image's data: the class name, then the bitmap's 32-bit byte count.
  const size_t at = raw.find("TBitmap");
  ASSERT_NE(at, std::string::npos);
  const size_t count = at + 7;
  raw[count + 3] = 0x7F;
  TMemoryStream damaged;
  damaged.WriteBuffer(raw.data(), static_cast<int64_t>(raw.size()));
  damaged.SetPosition(0);
  TChart back(nullptr);
  EXPECT_THROW(ReadComponentFromStream(damaged, &back), EReadError);
}
