// Tools, series groups, axis label items and streaming a whole chart.
#include <gtest/gtest.h>

#include "chart/core/testseries.h"
#include "platform/rtl/stringlist.h"
#include "platform/ui/streaming.h"

namespace {

TEST(ChartTools, SeriesToolsForgetFreedSeriesAndFallBackToChartAxes) {
  TTestChart chart;
  auto* tool = new TTestSeriesTool(&chart);
  chart.Tools()->AddTool(tool);
  EXPECT_EQ(tool->ParentChart(), &chart);
  EXPECT_EQ(chart.Tools()->Count(), 1);
  auto* s = new TTestSeries(&chart);
  s->SetParentChart(&chart);
  s->SetHorizAxis(aTopAxis);
  s->SetVertAxis(aRightAxis);
  tool->SetSeries(s);
  EXPECT_EQ(tool->ResolveHorizAxis(), chart.TopAxis());
  delete s;
  EXPECT_EQ(tool->Series(), nullptr);
  EXPECT_EQ(tool->ResolveHorizAxis(), chart.BottomAxis());
  EXPECT_EQ(tool->ResolveVertAxis(), chart.LeftAxis());
  auto* onRight = new TTestSeries(&chart);
  onRight->SetParentChart(&chart);
  onRight->SetVertAxis(aRightAxis);
  EXPECT_EQ(tool->ResolveVertAxis(), chart.RightAxis());
}

TEST(ChartTools, LeavingAChartRepaintsIt) {
  TTestChart chart;
  auto* tool = new TRecordingTool(nullptr);
  chart.Tools()->AddTool(tool);
  chart.Rec->Clear();
  tool->SetParentChart(nullptr);
  EXPECT_EQ(chart.Tools()->Count(), 0);
  EXPECT_EQ(chart.Rec->Count("MarkDirty"), 1);
  delete tool;
}

TEST(ChartTools, AxisToolsStreamTheirAxisByIndex) {
  RegisterTestChartClasses();
  TComponent form(nullptr);
  auto* chart = new TTestChart(&form, 300, 200, false);
  chart->SetName("Chart1");
  auto* tool = new TTestAxisTool(chart);
  tool->SetName("AxisTool1");
  tool->SetAxis(chart->RightAxis());
  EXPECT_EQ(tool->ParentChart(), chart);
  auto* s = new TTestSeries(chart);
  s->SetName("Series1");
  s->SetParentChart(chart);
  s->AddXYPoint(1, 2);
  TMemoryStream m;
  WriteComponentToStream(m, chart);
  m.SetPosition(0);
  TChart loaded(nullptr);
  ReadComponentFromStream(m, &loaded);
  ASSERT_EQ(loaded.Tools()->Count(), 1);
  auto* copy = dynamic_cast<TTestAxisTool*>(loaded.Tools()->ToolAt(0));
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(copy->Axis(), loaded.RightAxis());
  ASSERT_EQ(loaded.NumberOfSeries(), 1);
  EXPECT_EQ(loaded.SeriesAt(0)->PointCount(), 1);
  EXPECT_EQ(loaded.SeriesAt(0)->YValueAt(0), 2);
}

TEST(ChartTools, ChartSettingsSurviveAStream) {
  RegisterTestChartClasses();
  TChart chart(nullptr);
  chart.SetName("Chart1");
  chart.Title()->Text()->Add("Title");
  chart.Legend()->SetAlignment(laBottom);
  chart.LeftAxis()->SetRange(-3, 7);
  chart.BottomAxis()->Title()->SetCaption("X");
  chart.Walls()->Left()->SetSize(6);
  chart.SetChart3DPercent(30);
  ApplyPaletteByIndex(&chart, 5);
  const std::string text = ComponentToText(&chart);
  TChart loaded(nullptr);
  TextToComponent(text, &loaded);
  EXPECT_EQ(loaded.Title()->Text()->Count(), 1);
  EXPECT_EQ(loaded.Legend()->Alignment(), laBottom);
  EXPECT_FALSE(loaded.LeftAxis()->Automatic());
  EXPECT_EQ(loaded.LeftAxis()->Minimum(), -3);
  EXPECT_EQ(loaded.LeftAxis()->Maximum(), 7);
  EXPECT_EQ(loaded.BottomAxis()->Title()->Caption(), "X");
  EXPECT_EQ(loaded.Walls()->Left()->Size(), 6);
  EXPECT_EQ(loaded.Chart3DPercent(), 30);
  EXPECT_EQ(loaded.ColorPaletteIndex(), 5);
  EXPECT_EQ(loaded.ColorPalette(), PaletteColors(5));
}

TEST(SeriesGroups, ActiveStateOfTheMembers) {
  TTestChart chart;
  auto* a = new TTestSeries(&chart);
  auto* b = new TTestSeries(&chart);
  a->SetParentChart(&chart);
  b->SetParentChart(&chart);
  TSeriesGroup* empty = chart.SeriesList()->AddGroup("Empty");
  EXPECT_EQ(empty->GetActive(), gaYes);
  empty->SetActive(gaNo);
  EXPECT_TRUE(a->Active());
  TSeriesGroup* g = chart.SeriesList()->AddGroup("Both");
  g->Series()->Add(a);
  g->Series()->Add(b);
  b->SetActive(false);
  EXPECT_EQ(g->GetActive(), gaSome);
  g->SetActive(gaSome);
  EXPECT_TRUE(a->Active());
  EXPECT_FALSE(b->Active());
  g->SetActive(gaYes);
  EXPECT_TRUE(b->Active());
  g->SetActive(gaNo);
  EXPECT_EQ(g->GetActive(), gaNo);
  EXPECT_EQ(chart.SeriesList()->Groups()->GroupIndexOf(b), 1);
  chart.ExchangeSeries(a, b);
  EXPECT_EQ(g->Series()->ItemAt(0), b);
}

TEST(SeriesGroups, NameListsForEditors) {
  TTestChart chart;
  auto* a = new TTestSeries(&chart);
  a->SetName("First");
  a->SetTitle("Shown");
  auto* hidden = new TTestSeries(&chart);
  hidden->SetName("Hidden");
  hidden->SetShowInEditor(false);
  a->SetParentChart(&chart);
  hidden->SetParentChart(&chart);
  TStringList names;
  FillSeriesNameList(&names, chart.SeriesList(), true);
  ASSERT_EQ(names.Count(), 1);
  EXPECT_EQ(names.Strings(0), "Shown");
  EXPECT_EQ(names.Objects(0), a);
  names.Clear();
  FillSeriesNameList(&names, chart.SeriesList(), false);
  EXPECT_EQ(names.Strings(0), "First");
}

TEST(AxisItems, CustomLabelsReplaceTheValues) {
  TTestChart chart;
  chart.SetView3D(false);
  auto* s = new TTestSeries(&chart);
  s->SetParentChart(&chart);
  s->AddXYPoint(0, 0);
  s->AddXYPoint(10, 10);
  TAxisItems* items = chart.BottomAxis()->LabelItems();
  items->Add(2, "two");
  items->Add(5);
  items->Add(50, "outside");
  items->ItemAt(1)->SetColor(clRed);
  chart.BottomAxis()->SetRange(0, 10);
  chart.Pass();
  std::vector<std::string> texts;
  for (const TCanvasCall& c : chart.Rec->CallsOf("TextOut3D", 0))
    if (c.Arg(1) > chart.ChartArea.Bottom) texts.push_back(c.Text);
  EXPECT_EQ(texts, (std::vector<std::string>{"two", "5"}));
  TAxisItems copy(chart.TopAxis());
  copy.CopyItemsFrom(items);
  ASSERT_EQ(copy.Count(), 3);
  EXPECT_EQ(copy.ItemAt(0)->Text(), "two");
  EXPECT_EQ(copy.ItemAt(1)->Value(), 5);
  EXPECT_EQ(copy.ItemAt(1)->Color(), clWhite);  // the default look
  // The editors reach an item's look by its published names.
  for (const char* name : {"Bevel", "BevelWidth", "Color", "Font", "Gradient", "Shadow", "ShapeStyle", "Text",
                           "Transparency", "Transparent", "Value"})
    EXPECT_NE(GetPropInfo(items->ItemAt(0), name), nullptr) << name;
}

}  // namespace
