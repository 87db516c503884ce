// The series as a container of points: adding, vetoes, colours, labels,
// deletion, update suspension, dependents, copying and sample data.
#include <gtest/gtest.h>

#include "chart/core/test_panel_support.h"
#include "chart/core/testseries.h"
#include "platform/ui/streaming.h"

namespace {

std::vector<double> XsOf(TChartSeries& s) {
  std::vector<double> v;
  for (int i = 0; i < s.PointCount(); ++i) v.push_back(s.XValues()->GetValue(i));
  return v;
}
std::vector<double> YsOf(TChartSeries& s) {
  std::vector<double> v;
  for (int i = 0; i < s.PointCount(); ++i) v.push_back(s.YValues()->GetValue(i));
  return v;
}

TEST(SeriesPoints, AddKeepsXOrderAndReturnsTheIndex) {
  TTestSeries s;
  EXPECT_EQ(s.AddXYPoint(5, 1), 0);
  EXPECT_EQ(s.AddXYPoint(2, 2), 0);
  EXPECT_EQ(s.AddXYPoint(9, 3), 2);
  EXPECT_EQ(XsOf(s), (std::vector<double>{2, 5, 9}));
  EXPECT_EQ(YsOf(s), (std::vector<double>{2, 1, 3}));
}

TEST(SeriesPoints, SingleValuesTakeTheCountAsTheOtherCoordinate) {
  TTestSeries s;
  s.AddSingleValue(7);
  s.AddSingleValue(8);
  EXPECT_EQ(XsOf(s), (std::vector<double>{0, 1}));
  EXPECT_EQ(YsOf(s), (std::vector<double>{7, 8}));
  s.AddBlankValue("gap");
  EXPECT_TRUE(s.PointIsNull(2));
  EXPECT_FALSE(s.PointIsNull(0));
  EXPECT_EQ(s.PointLabel(2), "gap");
}

TEST(SeriesPoints, VetoedAddChangesNothing) {
  TTestSeries s;
  s.AddXYPoint(1, 1);
  int afterAdds = 0;
  s.OnAfterAdd = [&](TChartSeries*, int) { ++afterAdds; };
  s.OnBeforeAdd = [](TChartSeries* sender) { return sender->XValues()->TempValue < 10; };
  EXPECT_EQ(s.AddXYPoint(20, 5, "no", clRed), -1);
  EXPECT_EQ(s.PointCount(), 1);
  EXPECT_FALSE(s.HasColorList());
  EXPECT_EQ(s.Labels()->Count(), 0);
  EXPECT_EQ(afterAdds, 0);
  EXPECT_EQ(s.AddXYPoint(2, 5), 1);
  EXPECT_EQ(afterAdds, 1);
}

TEST(SeriesPoints, ColourListIsCreatedByTheFirstOwnColour) {
  TTestSeries s;
  s.SetSeriesColor(clGreen);
  for (int i = 0; i < 3; ++i) s.AddXYPoint(i, i);
  EXPECT_FALSE(s.HasColorList());
  s.AddXYPoint(3, 3, "", clRed);
  ASSERT_TRUE(s.HasColorList());
  for (int i = 0; i < 3; ++i) EXPECT_EQ(s.RawPointColor(i), clDefault);
  EXPECT_EQ(s.RawPointColor(3), clRed);
  EXPECT_EQ(s.PointColor(0), clGreen);
  EXPECT_EQ(s.PointColor(3), clRed);
  // Setting clDefault without a list creates none.
  TTestSeries t;
  t.AddXYPoint(0, 0);
  t.SetPointColor(0, clDefault);
  EXPECT_FALSE(t.HasColorList());
}

TEST(SeriesPoints, ColorEachPointTakesPaletteColoursByIndex) {
  TTestChart chart;
  auto* s = new TTestSeries(&chart);
  s->SetParentChart(&chart);
  for (int i = 0; i < 3; ++i) s->AddXYPoint(i, i);
  s->SetColorEachPoint(true);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(s->PointColor(i), chart.PaletteColor(i));
  TTestSeries loose;
  loose.AddXYPoint(0, 0);
  loose.SetColorEachPoint(true);
  EXPECT_EQ(loose.PointColor(0), DefaultPaletteColor(0));
}

TEST(SeriesPoints, RemovePointOutOfBoundsNamesTheRange) {
  TTestSeries s;
  for (int i = 0; i < 5; ++i) s.AddXYPoint(i, i, "p" + std::to_string(i), i == 2 ? clRed : clDefault);
  try {
    s.RemovePoint(5);
    FAIL();
  } catch (const ChartException& e) {
    EXPECT_STREQ(e.what(), "Series Delete: ValueIndex 5 out of bounds (0 to 4).");
  }
  EXPECT_THROW(s.RemovePoint(-1), ChartException);
  EXPECT_EQ(s.PointCount(), 5);
  s.RemovePoint(1);
  EXPECT_EQ(XsOf(s), (std::vector<double>{0, 2, 3, 4}));
  EXPECT_EQ(s.PointLabel(1), "p2");
  EXPECT_EQ(s.RawPointColor(1), clRed);
}

TEST(SeriesPoints, RemovePointRangeChecksAndRenumbers) {
  TTestSeries s;
  for (int i = 0; i < 6; ++i) s.AddXYPoint(i * 10, i, "", i == 4 ? clRed : clDefault);
  EXPECT_THROW(s.RemovePointRange(1, 0), EAssertionFailed);
  EXPECT_THROW(s.RemovePointRange(4, 3), EAssertionFailed);
  s.RemovePointRange(3, 2, true);
  EXPECT_EQ(XsOf(s), (std::vector<double>{0, 1, 2, 3}));
  EXPECT_EQ(s.RawPointColor(3), clDefault);
  ASSERT_TRUE(s.HasColorList());
  s.RemovePointRange(0, 4);
  EXPECT_FALSE(s.HasColorList());  // the emptied colour list is freed
}

TEST(SeriesPoints, SuspendedUpdatesGiveOneRefresh) {
  TTestChart chart;
  auto* source = new TTestSeries(&chart);
  auto* dependent = new TTestSeries(&chart);
  source->SetParentChart(&chart);
  dependent->SetParentChart(&chart);
  dependent->SetDataSource(source);
  int afterAdds = 0, dataChanged = 0, cleared = 0;
  source->OnAfterAdd = [&](TChartSeries*, int) { ++afterAdds; };
  dependent->OnClearValues = [&](TChartSeries*) { ++cleared; };
  TTestListener listener;
  listener.OnEvent = [&](TGrafEvent* e) {
    if (auto* se = dynamic_cast<TGrafSeriesEvent*>(e); se && se->Event == seDataChanged && se->Series == source)
      ++dataChanged;
  };
  chart.Listeners()->AddListener(&listener);
  source->SuspendUpdates();
  source->SuspendUpdates();
  for (int i = 0; i < 4; ++i) source->AddXYPoint(i, i * i);
  source->ResumeUpdates();
  EXPECT_EQ(dependent->PointCount(), 0);
  source->ResumeUpdates();
  source->ResumeUpdates();  // never below zero
  EXPECT_EQ(afterAdds, 0);
  EXPECT_EQ(dataChanged, 1);
  EXPECT_EQ(cleared, 1);  // one refresh: cleared once and copied
  EXPECT_EQ(YsOf(*dependent), (std::vector<double>{0, 1, 4, 9}));
  chart.Listeners()->RemoveListener(&listener);
}

TEST(SeriesPoints, DependentsFollowTheirRecalculationOptions) {
  TTestChart chart;
  auto* source = new TTestSeries(&chart);
  auto* follows = new TTestSeries(&chart);
  auto* noInsert = new TTestSeries(&chart);
  for (TChartSeries* s : {static_cast<TChartSeries*>(source), static_cast<TChartSeries*>(follows),
                          static_cast<TChartSeries*>(noInsert)})
    s->SetParentChart(&chart);
  follows->SetDataSource(source);
  noInsert->SetRecalcOptions({rOnDelete, rOnModify, rOnClear});
  noInsert->SetDataSource(source);
  source->AddXYPoint(1, 10);
  source->AddXYPoint(2, 20);
  EXPECT_EQ(follows->PointCount(), 2);
  EXPECT_EQ(noInsert->PointCount(), 0);
  source->RemovePoint(0);
  EXPECT_EQ(YsOf(*follows), (std::vector<double>{20}));
  source->YValues()->SetValue(0, 25);  // modified: both copy anew
  EXPECT_EQ(YsOf(*follows), (std::vector<double>{25}));
  EXPECT_EQ(YsOf(*noInsert), (std::vector<double>{25}));
  source->RemoveAllPoints();
  EXPECT_EQ(follows->PointCount(), 0);
}

TEST(SeriesPoints, SampleDataAndItsCheck) {
  TTestSeries s;
  EXPECT_THROW(s.LoadDemoData(-1), ChartException);
  s.LoadDemoData(0);
  EXPECT_EQ(s.PointCount(), 25);
  EXPECT_FALSE(s.ManualData);
  for (int i = 1; i < s.PointCount(); ++i) EXPECT_LT(s.XValues()->GetValue(i - 1), s.XValues()->GetValue(i));
  s.SampleCount = 7;
  s.LoadDemoData();
  EXPECT_EQ(s.PointCount(), 7);
}

TEST(SeriesPoints, AssignCopiesFormatAndPoints) {
  TTestSeries a, b;
  a.SetTitle("A");
  a.SetSeriesColor(clNavy);
  a.SetValueFormat("0.0");
  a.ManualData = true;
  a.AddXYPoint(1, 2, "one", clRed);
  a.AddXYPoint(3, 4);
  b.Assign(&a);
  EXPECT_EQ(b.Title(), "A");
  EXPECT_EQ(b.SeriesColor(), clNavy);
  EXPECT_EQ(b.ValueFormat(), "0.0");
  EXPECT_EQ(XsOf(b), (std::vector<double>{1, 3}));
  EXPECT_EQ(b.PointLabel(0), "one");
  EXPECT_EQ(b.RawPointColor(0), clRed);
}

TEST(SeriesPoints, StyleAndIdentifierStreamOnlyWhenSet) {
  RegisterTestChartClasses();
  TTestSeries s;
  std::string text = ComponentToText(&s);
  EXPECT_EQ(text.find("Identifier"), std::string::npos);
  EXPECT_EQ(text.find("Style"), std::string::npos);
  s.SetIdentifier("id7");
  s.SetStyle({csfTemplate, csfHideSource});
  text = ComponentToText(&s);
  EXPECT_NE(text.find("Identifier = 'id7'"), std::string::npos);
  EXPECT_NE(text.find("Style = 33"), std::string::npos);
  // Higher bits are ignored when read.
  const std::string stored = "object S: TTestSeries\n  Style = 65\nend\n";
  std::unique_ptr<TComponent> c(TextToComponent(stored, nullptr));
  auto* read = dynamic_cast<TTestSeries*>(c.get());
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(read->Style(), TChartSeriesStyle{csfTemplate});
}

TEST(ChartElement, SettersRepaintOnlyOnChangeAndWorkWithoutChart) {
  TTestChart chart;
  auto* s = new TTestSeries(&chart);
  s->SetParentChart(&chart);
  chart.Rec->Clear();
  s->SetShowInLegend(true);  // unchanged
  s->SetDepth(-1);
  s->SetTitle("");
  EXPECT_EQ(chart.Rec->Count("MarkDirty"), 0);
  s->SetShowInLegend(false);
  EXPECT_EQ(chart.Rec->Count("MarkDirty"), 1);
  TTestSeries loose;
  loose.SetTitle("x");
  loose.SetActive(false);
  EXPECT_FALSE(loose.Active());
  EXPECT_THROW(loose.Assign(&chart), Exception);
}

}  // namespace
