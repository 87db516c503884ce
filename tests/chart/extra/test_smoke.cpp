// Every registered series type of the chart library, this library's and the
// landed ones: on a chart with its sample values it renders in 2D and 3D
// into a picture that shows it (and a PNG written of it), and a stored chart
// gives its points back.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "chart/core/chart.h"
#include "chart/extra/extraregister.h"
#include "chart/series/grafcandle.h"
#include "chart/series/graffunci.h"
#include "chart/series/grafhisto.h"
#include "chart/series/grafmapseries.h"
#include "chart/series/grafpoin3.h"
#include "chart/series/grafsurfa.h"
#include "chart/series/graftrisurface.h"
#include "chart/series/series.h"
#include "platform/gfx/bitmap.h"
#include "platform/rtl/mathutils.h"
#include "platform/ui/streaming.h"
#include "support/tempdir.h"

namespace {

void RegisterEverySeriesType() {
  RegisterClasses({&TChart::StaticClass()});
  RegisterStandardSeries();
  RegisterGridSeriesTypes();
  RegisterFinancialTypes();
  RegisterHistogramSeriesTypes();
  RegisterMapSeriesType();
  RegisterPoint3DSeriesTypes();
  RegisterTriSurfaceSeriesTypes();
  RegisterBasicFunctionTypes();
  RegisterExtraSeriesTypes();
}

std::vector<TClass> SeriesClasses() {
  std::vector<TClass> out;
  TGrafSeriesTypes* registry = SeriesTypeRegistry();
  for (int i = 0; i < registry->Count(); ++i) {
    const TGrafSeriesType* e = registry->TypeAt(i);
    if (e->SeriesClass && !e->FunctionClass) out.push_back(e->SeriesClass);
  }
  return out;
}

struct TSampleChart {
  TSampleChart(TClass SeriesClass, bool View3D) : chart(nullptr) {
    chart.SetName("Chart1");
    chart.SetBounds(0, 0, 320, 240);
    chart.SetView3D(View3D);
    chart.Legend()->SetVisible(false);
    series = dynamic_cast<TChartSeries*>(SeriesClass->CreateComponent(&chart));
    if (!series) return;
    series->SetName("Series1");
    series->SetParentChart(&chart);
    RandSeed = 1234;
    series->LoadDemoData(0);
    series->ForceSaveData = true;
    // Views the series may have changed in joining the chart.
    chart.SetView3D(View3D);
  }
  std::unique_ptr<TBitmap> Render() { return chart.RenderBitmap(clWhite, Rect(0, 0, 320, 240), pf24bit); }
  TChart chart;
  TChartSeries* series = nullptr;
};

int DifferingPixels(TBitmap& a, TBitmap& b) {
  int n = 0;
  for (int y = 0; y < a.Height(); ++y)
    for (int x = 0; x < a.Width(); ++x) n += a.Canvas()->Pixels(x, y) != b.Canvas()->Pixels(x, y);
  return n;
}

}  // namespace

TEST(SeriesSmoke, EveryTypeRendersIn2DAnd3DAndComesBackFromAStoredChart) {
  RegisterEverySeriesType();
  TTempDir dir;
  const std::vector<TClass> classes = SeriesClasses();
  ASSERT_GE(classes.size(), 40u);
  for (TClass c : classes) {
    SCOPED_TRACE(c->Name());
    for (bool view3D : {false, true}) {
      TSampleChart s(c, view3D);
      ASSERT_TRUE(s.series);
      ASSERT_GT(s.series->PointCount(), 0);
      std::unique_ptr<TBitmap> shown;
      ASSERT_NO_THROW(shown = s.Render());
      // ZELVORA_SMOKE_DIR keeps the pictures for a look.
      const char* keep = std::getenv("ZELVORA_SMOKE_DIR");
      const std::string folder = keep ? std::string(keep) + "/" : dir.Path();
      shown->SaveToFile(folder + c->Name() + (view3D ? "-3d.png" : "-2d.png"));
      s.series->SetActive(false);
      auto hidden = s.Render();
      EXPECT_GT(DifferingPixels(*shown, *hidden), 20) << (view3D ? "3D" : "2D");
      s.series->SetActive(true);
      if (view3D) continue;

      const std::string text = ComponentToText(&s.chart);
      TChart back(nullptr);
      ASSERT_NO_THROW(TextToComponent(text, &back));
      ASSERT_EQ(back.NumberOfSeries(), 1);
      TChartSeries* r = back.SeriesAt(0);
      ASSERT_EQ(r->ClassType(), c);
      ASSERT_EQ(r->PointCount(), s.series->PointCount());
      ASSERT_EQ(r->ValuesList()->Count(), s.series->ValuesList()->Count());
      for (int l = 0; l < r->ValuesList()->Count(); ++l)
        for (int i = 0; i < r->PointCount(); ++i)
          ASSERT_EQ(r->ValuesList()->ListAt(l)->GetValue(i), s.series->ValuesList()->ListAt(l)->GetValue(i))
              << "list " << s.series->ValuesList()->ListAt(l)->Name() << " point " << i;
      ASSERT_NO_THROW(back.RenderBitmap(clWhite, Rect(0, 0, 320, 240), pf24bit));
    }
  }
}
