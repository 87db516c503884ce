// The further series types with the series-type registry: gallery page,
// description, number of gallery series and editor form of each, in the
// units' order; the finalisations remove what their units name.
#include <gtest/gtest.h>

#include <cctype>
#include <memory>
#include <string>
#include <vector>

#include "chart/core/chart.h"
#include "chart/core/grafconst.h"
#include "chart/extra/extraregister.h"
#include "chart/extra/grafpolar.h"
#include "chart/extra/grafrose.h"
#include "chart/editor/grafeditreg.h"
#include "chart/editor/grafpendlg.h"
#include "platform/ui/forms.h"
#include "support/gui/guitest.h"

namespace {

struct TTypeRow {
  const char* className;
  const char* description;
  const char* page;
  int gallerySeries;
  const char* editor;
};

// In the order of the units.
const TTypeRow kTypes[] = {
    {"TPolarSeries", "Polar", "Extended", 2, "TPolarSeriesEditor"},
    {"TRadarSeries", "Radar", "Extended", 2, "TPolarSeriesEditor"},
    {"TPolarBarSeries", "Polar Bar", "Extended", 2, "TPolarSeriesEditor"},
    {"TWindRoseSeries", "Wind Rose", "Other", 1, "TWindRoseEditor"},
    {"TClockSeries", "Clock", "Other", 1, "TClockEditor"},
    {"TSmithSeries", "Smith", "Extended", 2, "TSmithSeriesEdit"},
    {"TGaugeSeries", "Gauge", "Extended", 1, "TGaugeSeriesEditor"},
    {"TBubbleSeries", "Bubble", "Standard", 1, "TBubbleSeriesEditor"},
    {"TArrowSeries", "Arrow", "Extended", 2, "TArrowSeriesEditor"},
    {"TGanttSeries", "Gantt", "Standard", 1, "TGanttSeriesEditor"},
    {"TChartShape", "Shape", "Standard", 2, "TChartShapeEditor"},
    {"TFunnelSeries", "Funnel", "Stats", 1, "TFunnelSeriesEditor"},
    {"TPyramidSeries", "Pyramid", "Extended", 2, "TPyramidSeriesEditor"},
    {"TDonutSeries", "Donut", "Extended", 1, "TDonutSeriesEditor"},
    {"TVolumePipeSeries", "VolumePipe", "Stats", 1, "TVolumePipeSeriesEditor"},
    {"TBezierSeries", "Bezier", "Extended", 1, "TCustomSeriesEditor"},
    {"TErrorBarSeries", "Error Bar", "Stats", 1, "TErrorSeriesEditor"},
    {"TErrorSeries", "Error", "Stats", 1, "TErrorSeriesEditor"},
    {"THighLowSeries", "High-Low", "Stats", 1, "THighLowEditor"},
    {"TBoxSeries", "BoxPlot", "Stats", 2, "TBoxSeriesEditor"},
    {"THorizBoxSeries", "Horizontal\rBoxPlot", "Stats", 2, "TBoxSeriesEditor"},
    {"TCalendarSeries", "Calendar", "Other", 1, "TCalendarSeriesEditor"},
    {"TMyPointSeries", "Line Point", "Other", 1, "TLinePointEditor"},
    {"TBarJoinSeries", "Bar Join", "Other", 1, "TBarJoinEditor"},
    {"TImageBarSeries", "ImageBar", "Other", 1, "TImageBarSeriesEditor"},
    {"TImagePointSeries", "ImagePoint", "Other", 1, "TSeriesPointerEditor"},
    {"TDeltaPointSeries", "DeltaPoint", "Other", 1, "TSeriesPointerEditor"},
    {"TBar3DSeries", "Bar 3D", "Other", 1, "TBarSeriesEditor"},
};

// The registry's entries of this library's classes, in registry order.
std::vector<const TGrafSeriesType*> ExtraEntries() {
  std::vector<const TGrafSeriesType*> out;
  TGrafSeriesTypes* registry = SeriesTypeRegistry();
  for (int i = 0; i < registry->Count(); ++i) {
    const TGrafSeriesType* e = registry->TypeAt(i);
    if (!e->SeriesClass) continue;
    for (const TTypeRow& row : kTypes)
      if (e->SeriesClass->Name() == row.className) out.push_back(e);
  }
  return out;
}

}  // namespace

TEST(ExtraRegistration, EveryTypeOnItsGalleryPageInTheUnitsOrder) {
  RegisterExtraSeriesTypes();
  RegisterExtraSeriesTypes();  // a second call adds nothing
  const auto entries = ExtraEntries();
  ASSERT_EQ(entries.size(), std::size(kTypes));
  for (size_t i = 0; i < entries.size(); ++i) {
    const TTypeRow& row = kTypes[i];
    const TGrafSeriesType* e = entries[i];
    SCOPED_TRACE(row.className);
    EXPECT_EQ(e->SeriesClass->Name(), row.className);
    ASSERT_TRUE(e->Description && e->GalleryPage);
    EXPECT_EQ(*e->Description, row.description);
    EXPECT_EQ(*e->GalleryPage, row.page);
    EXPECT_EQ(e->GallerySeriesCount, row.gallerySeries);
    EXPECT_EQ(e->FunctionClass, nullptr);
    // Found by name for streaming, and made with the editor form it names.
    TClass found = FindClass(row.className);
    ASSERT_EQ(found, e->SeriesClass);
    std::unique_ptr<TComponent> series(found->CreateComponent(nullptr));
    auto* s = dynamic_cast<TChartSeries*>(series.get());
    ASSERT_TRUE(s);
    EXPECT_EQ(s->EditorFormClassName(), row.editor);
    EXPECT_EQ(SeriesTypeDescription(s), row.description);
  }
}

TEST(ExtraRegistration, FinalisationsRemoveWhatTheirUnitsName) {
  RegisterExtraSeriesTypes();
  UnregisterExtraSeriesTypes();
  std::vector<std::string> left;
  for (const TGrafSeriesType* e : ExtraEntries()) left.push_back(e->SeriesClass->Name());
  // The bubble, arrow, gantt and shape units unregister nothing.
  EXPECT_EQ(left, (std::vector<std::string>{"TBubbleSeries", "TArrowSeries", "TGanttSeries", "TChartShape"}));
  EXPECT_TRUE(PolarDegreeSymbol.empty());
  EXPECT_TRUE(ClockRomanNumerals().empty());
  RegisterExtraSeriesTypes();
  EXPECT_EQ(ExtraEntries().size(), std::size(kTypes));
  EXPECT_EQ(PolarDegreeSymbol, "\xC2\xB0");
}

// Each type's editor form is registered under the name the series answers
// (found ignoring case, as the series page finds it) and opens embedded on
// its series, as the series page opens it.
TEST(ExtraRegistration, EveryTypesEditorFormResolvesAndOpensOnItsSeries) {
  guitest::EnsureGui();
  RegisterChartEditorUnits();
  RegisterExtraSeriesTypes();
  auto host = std::make_unique<TForm>(nullptr);
  host->SetBounds(20, 20, 800, 500);
  auto* chart = new TChart(host.get());
  chart->SetParent(host.get());
  chart->SetBounds(0, 0, 280, 200);
  auto* sheet = new TPanel(host.get());
  sheet->SetParent(host.get());
  sheet->SetBounds(300, 0, 480, 320);
  host->Show();
  for (const TTypeRow& row : kTypes) {
    SCOPED_TRACE(row.className);
    TClass cls = GetClass(row.editor);
    ASSERT_NE(cls, nullptr);
    std::string lower(row.editor);
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    EXPECT_EQ(GetClass(lower), cls);
    auto* series = dynamic_cast<TChartSeries*>(FindClass(row.className)->CreateComponent(host.get()));
    ASSERT_NE(series, nullptr);
    series->SetParentChart(chart);
    series->LoadDemoData(0);
    TCustomForm* form = nullptr;
    EXPECT_NO_THROW({
      form = dynamic_cast<TCustomForm*>(CreateComponentOfClass(cls, host.get()));
      ASSERT_NE(form, nullptr);
      form->SetAlign(alClient);
      EmbedEditorForm(form, sheet, series);
    });
    if (form) {
      EXPECT_TRUE(form->Visible());
      delete form;
    }
    delete series;
  }
}
