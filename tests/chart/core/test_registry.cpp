// Registries of series, function and tool types, series utilities and
// colour palettes.
#include <gtest/gtest.h>

#include "chart/core/grafconst.h"
#include "chart/core/testseries.h"

namespace {

class TOtherSeries : public TTestSeries {
  ZV_CLASS(TOtherSeries)
public:
  explicit TOtherSeries(TComponent* AOwner = nullptr) : TTestSeries(AOwner) {}
};
ZV_CLASS_IMPL_NOPROPS(TOtherSeries, TTestSeries)

const std::string kTestDescription = "Test points";
const std::string kTestPage = "Tests";

TEST(TypeRegistry, EntriesAreKeptOncePerClassPair) {
  const int before = SeriesTypeRegistry()->Count();
  RegisterSeriesType(&TTestSeries::StaticClass(), &kTestDescription, &kTestPage, 1);
  RegisterSeriesType(&TTestSeries::StaticClass(), &kTestDescription, &kTestPage, 1);
  EXPECT_EQ(SeriesTypeRegistry()->Count(), before + 1);
  AddSeriesTypeEntry(&TTestSeries::StaticClass(), &TTestSumFunction::StaticClass(), &kTestDescription, 1, &kTestPage);
  RegisterStandardFunctionType(&TTestSumFunction::StaticClass(), &kTestDescription);
  EXPECT_EQ(SeriesTypeRegistry()->Count(), before + 3);
  TGrafSeriesType* entry = SeriesTypeRegistry()->EntryForClass(&TTestSeries::StaticClass());
  ASSERT_NE(entry, nullptr);
  EXPECT_EQ(entry->FunctionClass, nullptr);
  EXPECT_EQ(*entry->GalleryPage, "Tests");
  EXPECT_NE(GetClass("TTestSeries"), nullptr);  // registered for streaming
  TTestSeries s;
  EXPECT_EQ(SeriesTypeDescription(&s), "Test points");
  TOtherSeries o;
  EXPECT_EQ(SeriesTypeDescription(&o), "TOtherSeries");
  UnregisterFunctionTypes({&TTestSumFunction::StaticClass()});
  EXPECT_EQ(SeriesTypeRegistry()->Count(), before + 1);
  UnregisterSeriesTypes({&TTestSeries::StaticClass()});
  EXPECT_EQ(SeriesTypeRegistry()->Count(), before);
  RegisterStandardSeriesType(&TOtherSeries::StaticClass(), &kTestDescription);
  EXPECT_EQ(*SeriesTypeRegistry()->EntryForClass(&TOtherSeries::StaticClass())->GalleryPage, GrafMsgStandard);
  EXPECT_EQ(SeriesTypeRegistry()->EntryForClass(&TOtherSeries::StaticClass())->GallerySeriesCount, 2);
  UnregisterSeriesTypes({&TOtherSeries::StaticClass()});
}

TEST(TypeRegistry, ToolTypes) {
  const int before = ToolTypeRegistry()->Count();
  RegisterToolTypes({&TRecordingTool::StaticClass(), &TRecordingTool::StaticClass()});
  EXPECT_EQ(ToolTypeRegistry()->Count(), before + 1);
  EXPECT_EQ(ToolTypeRegistry()->ToolClassAt(before), &TRecordingTool::StaticClass());
  UnregisterToolTypes({&TRecordingTool::StaticClass()});
  EXPECT_EQ(ToolTypeRegistry()->Count(), before);
}

TEST(SeriesUtilities, OwnersAndNames) {
  RegisterTestChartClasses();
  TComponent form(nullptr);
  auto* chart = new TTestChart(&form, 300, 200, false);
  TChartSeries* a = CreateChartSeries(&form, chart, &TTestSeries::StaticClass());
  TChartSeries* b = CreateChartSeries(&form, chart, &TTestSeries::StaticClass());
  EXPECT_EQ(a->Owner(), &form);
  EXPECT_EQ(a->Name(), "Series1");
  EXPECT_EQ(b->Name(), "Series2");
  EXPECT_EQ(UniqueSeriesName(&form), "Series3");
  TChartSeries* c = CreateChartSeries(nullptr, chart, &TTestSeries::StaticClass());
  EXPECT_EQ(c->Owner(), chart);
  TChartSeries* d = CreateChartSeries(&form, chart, &TTestSeries::StaticClass());
  EXPECT_EQ(d->Owner(), chart);  // once one is owned by the chart
  TChartSeries* e = CreateChartSeries(&form, chart, &TTestSeries::StaticClass(), &TTestSumFunction::StaticClass());
  ASSERT_NE(e->FunctionType(), nullptr);
  EXPECT_EQ(e->FunctionType()->Name(), "GrafFunction1");
  EXPECT_EQ(SeriesDisplayName(a), "Series1");
  a->SetTitle(std::string("left") + LegendColumnSeparator + "right");
  EXPECT_EQ(SeriesDisplayName(a), "left right");
  TTestSeries unnamed(nullptr);
  unnamed.SetParentChart(chart);
  EXPECT_EQ(SeriesDisplayName(&unnamed), "Series6");
  unnamed.SetParentChart(nullptr);
}

TEST(SeriesUtilities, CloneCopiesSettingsAndData) {
  TTestChart chart(nullptr, 300, 200, false);
  TChartSeries* a = CreateChartSeries(nullptr, &chart, &TTestSeries::StaticClass());
  a->SetTitle("Orig");
  a->AddXYPoint(1, 2, "x");
  TChartSeries* copy = CloneSeries(a);
  EXPECT_EQ(copy->ParentChart(), &chart);
  EXPECT_EQ(copy->ClassType(), a->ClassType());
  EXPECT_EQ(copy->Title(), "Orig");
  ASSERT_EQ(copy->PointCount(), 1);
  EXPECT_EQ(copy->PointLabel(0), "x");
  EXPECT_NE(copy->Name(), a->Name());
}

TEST(SeriesUtilities, ChangeSeriesClassKeepsNamePlaceLinksAndTools) {
  TComponent form(nullptr);
  auto* chart = new TTestChart(&form, 300, 200, false);
  TChartSeries* first = CreateChartSeries(&form, chart, &TTestSeries::StaticClass());
  TChartSeries* changed = CreateChartSeries(&form, chart, &TTestSeries::StaticClass());
  TChartSeries* dependent = CreateChartSeries(&form, chart, &TTestSeries::StaticClass());
  changed->SetName("Obs");
  changed->AddXYPoint(1, 5);
  changed->AddXYPoint(2, 6);
  dependent->SetDataSource(changed);
  auto* tool = new TTestSeriesTool(&form);
  chart->Tools()->AddTool(tool);
  tool->SetSeries(changed);
  TChartSeries* s = changed;
  TChartSeries* result = ChangeSeriesClass(s, &TOtherSeries::StaticClass());
  EXPECT_EQ(s, result);
  EXPECT_NE(dynamic_cast<TOtherSeries*>(s), nullptr);
  EXPECT_EQ(s->Name(), "Obs");
  EXPECT_EQ(chart->SeriesAt(0), first);
  EXPECT_EQ(chart->SeriesAt(1), s);
  EXPECT_EQ(chart->NumberOfSeries(), 3);
  EXPECT_EQ(dependent->DataSource(), s);
  EXPECT_EQ(s->Dependents()->Count(), 1);
  EXPECT_EQ(tool->Series(), s);
  EXPECT_EQ(s->PointCount(), 2);
  s->AddXYPoint(3, 7);
  EXPECT_EQ(dependent->PointCount(), 3);  // the link works
  TChartSeries* same = ChangeSeriesClass(s, &TOtherSeries::StaticClass());
  EXPECT_EQ(same, s);
}

TEST(Palettes, NamedPalettesAndApplyingThem) {
  ASSERT_EQ(ColorPalettes()->Count(), 10);
  EXPECT_EQ(ColorPalettes()->Strings(0), "GrafChart");
  EXPECT_EQ(ColorPalettes()->Strings(9), "Win. XP");
  EXPECT_EQ(PaletteColors(1).size(), 22u);
  EXPECT_EQ(PaletteColors(8).size(), 25u);
  TTestChart chart(nullptr, 300, 200, false);
  TChartSeries* a = CreateChartSeries(nullptr, &chart, &TTestSeries::StaticClass());
  TChartSeries* b = CreateChartSeries(nullptr, &chart, &TTestSeries::StaticClass());
  b->SetSeriesColor(clPurple);
  ApplyPaletteByIndex(&chart, 4);
  EXPECT_EQ(chart.ColorPalette(), PaletteColors(4));
  EXPECT_EQ(chart.ColorPaletteIndex(), 4);
  EXPECT_EQ(a->SeriesColor(), static_cast<TColor>(0xFF0000));  // recoloured
  EXPECT_EQ(b->SeriesColor(), clPurple);                        // its own colour stays
  for (int index : {0, 12}) {
    ApplyPaletteByIndex(&chart, 4);
    ApplyPaletteByIndex(&chart, index);
    EXPECT_TRUE(chart.ColorPalette().empty()) << index;
  }
  CopyPaletteColors(&chart, {clRed, clGreen, clBlue}, 1);
  EXPECT_EQ(chart.ColorPalette(), (std::vector<TColor>{clRed, clGreen}));
  CopyPaletteColors(&chart, {clRed}, -1);
  EXPECT_TRUE(chart.ColorPalette().empty());
}

TEST(SeriesUtilities, SymbolOnAnyCanvas) {
  TTestSeries loose;
  loose.SetSeriesColor(clRed);
  TBitmap bitmap(40, 20);
  bitmap.Canvas()->Brush()->SetColor(clWhite);
  bitmap.Canvas()->FillRect(Rect(0, 0, 40, 20));
  DrawSeriesSymbolOn(&loose, bitmap.Canvas(), Rect(5, 5, 30, 15));
  EXPECT_EQ(loose.ParentChart(), nullptr);  // the temporary chart is gone
  EXPECT_EQ(ColorToRGB(bitmap.Canvas()->Pixels(15, 10)), ColorToRGB(clRed));
}

}  // namespace
