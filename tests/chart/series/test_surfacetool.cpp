// Surface nearest-cell tool: the cell under the mouse colours its reference
// point, row and column; unchanged cells and repeated exits do nothing;
// only surface series are taken.
#include <gtest/gtest.h>

#include "chart/core/chart.h"
#include "chart/core/grafeditctrls.h"
#include "chart/series/grafcontour.h"
#include "chart/series/grafsurfacetool.h"
#include "platform/ui/stdctrls.h"
#include "seriestest.h"

namespace {

struct TToolScene {
  TToolScene() {
    chart.SetView3D(true);
    series = new TSurfaceSeries(&chart);
    series->SetParentChart(&chart);
    for (int z = 1; z <= 4; ++z)
      for (int x = 1; x <= 4; ++x) series->AddPoint3D(x, x + 2.0 * z, z);
    tool = new TSurfaceNearestTool(&chart);
    chart.Tools()->AddTool(tool);
    tool->SetSeries(series);
    tool->OnSelectCell = [this](TObject* sender) {
      EXPECT_EQ(sender, tool);
      ++events;
    };
    chart.Pass();
  }
  // The first screen point over a cell whose hit differs from Other.
  TPoint PointOverACell(int Other = -1) {
    for (int y = 0; y < chart.Height(); y += 2)
      for (int x = 0; x < chart.Width(); x += 2) {
        const int i = series->IndexAtPoint(x, y);
        if (i >= 0 && i != Other) return {x, y};
      }
    return {-1, -1};
  }
  TSeriesTestChart chart;
  TSurfaceSeries* series;
  TSurfaceNearestTool* tool;
  int events = 0;
};

TEST(SurfaceNearestTool, HighlightsCellRowAndColumnOnce) {
  TToolScene s;
  const TPoint p = s.PointOverACell();
  ASSERT_GE(p.X, 0);
  s.tool->HandleMouseEvent(cmeMove, mbLeft, {}, p.X, p.Y);
  EXPECT_EQ(s.events, 1);
  ASSERT_GE(s.tool->Cell(), 0);
  double xc, zc;
  s.tool->CellReference(xc, zc);
  int cells = 0, rows = 0, columns = 0;
  for (int i = 0; i < s.series->PointCount(); ++i) {
    const double x = s.series->XValues()->GetValue(i), z = s.series->ZValues()->GetValue(i);
    const TColor c = s.series->RawPointColor(i);
    const TColor want = x == xc && z == zc ? s.tool->CellColor()
                        : x == xc          ? s.tool->RowColor()
                        : z == zc          ? s.tool->ColumnColor()
                                           : clDefault;
    EXPECT_EQ(c, want) << i;
    cells += c == s.tool->CellColor();
    rows += c == s.tool->RowColor();
    columns += c == s.tool->ColumnColor();
  }
  EXPECT_EQ(cells, 1);
  EXPECT_EQ(rows, 3);
  EXPECT_EQ(columns, 3);
  // The reference corner is one of the cell's own points.
  const int i = s.tool->Cell();
  EXPECT_LE(std::abs(s.series->XValues()->GetValue(i) - xc), 1);
  EXPECT_LE(std::abs(s.series->ZValues()->GetValue(i) - zc), 1);
  // Same cell: nothing; other kinds of mouse event: nothing.
  s.tool->HandleMouseEvent(cmeMove, mbLeft, {}, p.X, p.Y);
  s.tool->HandleMouseEvent(cmeDown, mbLeft, {}, 0, 0);
  EXPECT_EQ(s.events, 1);
  // Leaving the surface restores every colour, once.
  s.tool->HandleMouseEvent(cmeMove, mbLeft, {}, 0, 0);
  s.tool->HandleMouseEvent(cmeMove, mbLeft, {}, 1, 0);
  EXPECT_EQ(s.events, 2);
  EXPECT_EQ(s.tool->Cell(), -1);
  s.tool->CellReference(xc, zc);
  EXPECT_EQ(xc, -1.0);
  for (int k = 0; k < s.series->PointCount(); ++k) EXPECT_EQ(s.series->RawPointColor(k), clDefault);
}

TEST(SurfaceNearestTool, TakesOnlySurfacesAndRegisters) {
  TToolScene s;
  auto* contour = new TContourSeries(&s.chart);
  s.tool->SetSeries(contour);
  EXPECT_EQ(s.tool->Series(), nullptr);
  s.tool->HandleMouseEvent(cmeMove, mbLeft, {}, 10, 10);
  EXPECT_EQ(s.events, 0);
  auto* fall = new TWaterFallSeries(&s.chart);
  s.tool->SetSeries(fall);
  EXPECT_EQ(s.tool->Series(), fall);
  EXPECT_EQ(s.tool->ToolTypeName(), "Surface Nearest");
  EXPECT_EQ(s.tool->EditorFormClassName(), "TSurfaceNearest");
  RegisterSurfaceToolType();
  EXPECT_GE(ToolTypeRegistry()->IndexOf(&TSurfaceNearestTool::StaticClass()), 0);
}

}  // namespace

namespace {

TEST(SurfaceNearestForm, ListsSurfacesAndEditsTheColours) {
  TToolScene s;
  auto* second = new TWaterFallSeries(&s.chart);
  second->SetParentChart(&s.chart);
  auto* contour = new TContourSeries(&s.chart);
  contour->SetParentChart(&s.chart);
  s.tool->SetRowColor(clNone);
  TSurfaceNearest form(nullptr);
  form.SetTag(reinterpret_cast<intptr_t>(static_cast<TObject*>(s.tool)));
  form.FormShow(&form);
  EXPECT_EQ(form.Label1->Text(), "Surface");
  ASSERT_EQ(form.CBSeries->Items()->Count(), 2);  // the contour is left out
  EXPECT_TRUE(form.CBSeries->Enabled());
  EXPECT_EQ(form.CBSeries->ItemIndex(), 0);
  EXPECT_FALSE(form.CheckBox1->Checked());
  EXPECT_TRUE(form.CheckBox5->Checked());
  EXPECT_EQ(form.ButtonColor1->LinkedObject(), s.tool);
  // Picking the water fall re-binds the tool.
  form.CBSeries->UserSelected(1);
  EXPECT_EQ(s.tool->Series(), second);
  // Default and None boxes set the colours; a colour button unticks Default
  // and keeps the colour it chose.
  form.CheckBox1->SetChecked(true);
  EXPECT_EQ(s.tool->CellColor(), clDefault);
  form.CheckBox6->SetChecked(true);
  EXPECT_EQ(s.tool->ColumnColor(), clNone);
  s.tool->SetCellColor(clYellow);
  form.ButtonColor1Click(form.ButtonColor1);
  EXPECT_FALSE(form.CheckBox1->Checked());
  EXPECT_EQ(s.tool->CellColor(), clYellow);
}

TEST(SurfaceNearestForm, EmptyListWithoutSurfaces) {
  TSeriesTestChart chart;
  auto* tool = new TSurfaceNearestTool(&chart);
  chart.Tools()->AddTool(tool);
  TSurfaceNearest form(nullptr);
  form.SetTag(reinterpret_cast<intptr_t>(static_cast<TObject*>(tool)));
  form.FormShow(&form);
  EXPECT_EQ(form.CBSeries->Items()->Count(), 0);
  EXPECT_FALSE(form.CBSeries->Enabled());
  // Without a tool only the label changes.
  TSurfaceNearest bare(nullptr);
  bare.FormShow(&bare);
  EXPECT_EQ(bare.Label1->Text(), "Surface");
}

}  // namespace
