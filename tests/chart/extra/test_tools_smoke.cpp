// Every registered tool type of the chart library, this library's and the
// landed ones: on a chart with sample series it draws offscreen without an
// exception, and a chart file written with it reads back with the tool of
// the same class, bound to the same series or axis, and draws again.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "chart/core/chart.h"
#include "chart/editor/grafeditreg.h"
#include "chart/editor/grafstore.h"
#include "chart/extra/extraregister.h"
#include "chart/extra/grafpietool.h"
#include "chart/extra/graftransposetool.h"
#include "chart/series/grafsurfa.h"
#include "chart/series/series.h"
#include "chart/series/series_pie.h"
#include "platform/gfx/bitmap.h"
#include "platform/rtl/mathutils.h"
#include "platform/rtl/streams.h"

namespace {

struct TSampleChart {
  explicit TSampleChart(TClass ToolClass) : chart(nullptr) {
    chart.SetName("Chart1");
    chart.SetBounds(0, 0, 320, 240);
    RandSeed = 1234;
    line = new TLineSeries(&chart);
    line->SetName("Series1");
    line->SetParentChart(&chart);
    line->LoadDemoData(0);
    line->Marks()->SetVisible(true);
    auto* second = new TLineSeries(&chart);
    second->SetName("Series2");
    second->SetParentChart(&chart);
    second->LoadDemoData(0);
    tool = dynamic_cast<TGrafCustomTool*>(ToolClass->CreateComponent(&chart));
    if (!tool) return;
    tool->SetName("ChartTool1");
    chart.Tools()->AddTool(tool);
    if (auto* s = dynamic_cast<TGrafCustomToolSeries*>(tool)) s->SetSeries(line);
    if (auto* a = dynamic_cast<TGrafCustomToolAxis*>(tool)) a->SetAxis(chart.LeftAxis());
    // The tools of other kinds of series get theirs.
    if (dynamic_cast<TPieTool*>(tool)) {
      line->SetActive(false);
      second->SetActive(false);
      auto* pie = new TPieSeries(&chart);
      pie->SetName("Series3");
      pie->SetParentChart(&chart);
      pie->LoadDemoData(0);
      static_cast<TPieTool*>(tool)->SetSeries(pie);
    }
    if (auto* t = dynamic_cast<TGridTransposeTool*>(tool)) {
      auto* grid = new TSurfaceSeries(&chart);
      grid->SetName("Series3");
      grid->SetParentChart(&chart);
      grid->LoadDemoData(0);
      t->SetSeries(grid);
    }
  }
  TChart chart;
  TLineSeries* line = nullptr;
  TGrafCustomTool* tool = nullptr;
};

std::string SeriesName(TGrafCustomTool* Tool) {
  if (auto* s = dynamic_cast<TGrafCustomToolSeries*>(Tool)) return s->Series() ? s->Series()->Name() : "";
  if (auto* t = dynamic_cast<TGridTransposeTool*>(Tool))
    return t->Series() ? static_cast<TComponent*>(t->Series())->Name() : "";
  return "";
}

}  // namespace

TEST(ToolsSmoke, EveryToolTypeDrawsOffscreenAndComesBackFromAChartFile) {
  RegisterChartEditorUnits();
  RegisterExtraSeriesTypes();
  RegisterExtraToolTypes();
  TGrafToolTypes* registry = ToolTypeRegistry();
  ASSERT_GE(registry->Count(), 27);
  for (int i = 0; i < registry->Count(); ++i) {
    TClass c = registry->ToolClassAt(i);
    SCOPED_TRACE(c->Name());
    TSampleChart s(c);
    ASSERT_NE(s.tool, nullptr);
    for (bool view3D : {false, true}) {
      s.chart.SetView3D(view3D);
      ASSERT_NO_THROW(s.chart.RenderBitmap(clWhite, Rect(0, 0, 320, 240), pf24bit)) << view3D;
    }

    TMemoryStream m;
    ASSERT_NO_THROW(WriteChartStream(&s.chart, m));
    m.SetPosition(0);
    TChart back(nullptr);
    back.SetBounds(0, 0, 320, 240);
    ASSERT_NO_THROW(ReadChartStream(&back, m));
    ASSERT_EQ(back.Tools()->Count(), 1);
    TGrafCustomTool* read = back.Tools()->ToolAt(0);
    EXPECT_EQ(read->ClassType(), c);
    EXPECT_EQ(SeriesName(read), SeriesName(s.tool));
    if (auto* a = dynamic_cast<TGrafCustomToolAxis*>(read)) EXPECT_EQ(a->Axis(), back.LeftAxis());
    EXPECT_NO_THROW(back.RenderBitmap(clWhite, Rect(0, 0, 320, 240), pf24bit));
  }
}
