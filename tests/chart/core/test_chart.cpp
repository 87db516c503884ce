// The chart and its axis panel: the series list and its events, paging,
// colours, walls, titles, clicked parts and page printing.
#include <gtest/gtest.h>

#include <filesystem>

#include "chart/core/test_panel_support.h"
#include "chart/core/testseries.h"
#include "platform/gfx/printer.h"
#include "support/tempdir.h"

namespace {

TTestSeries* AddSeries(TCustomChart& chart, const std::string& name, int points) {
  auto* s = new TTestSeries(&chart);
  s->SetName(name);
  s->SetParentChart(&chart);
  for (int i = 0; i < points; ++i) s->AddXYPoint(i, i);
  return s;
}

TEST(AxisPanel, SeriesListEventsAndDetaching) {
  TTestChart chart;
  std::vector<int> events;
  TTestListener listener;
  listener.OnEvent = [&](TGrafEvent* e) {
    if (auto* se = dynamic_cast<TGrafSeriesEvent*>(e)) events.push_back(se->Event);
  };
  chart.Listeners()->AddListener(&listener);
  auto* a = AddSeries(chart, "A", 0);
  auto* b = AddSeries(chart, "B", 0);
  chart.RegisterSeries(a);  // already listed: ignored
  EXPECT_EQ(chart.NumberOfSeries(), 2);
  a->SetTitle("Alpha");
  a->SetSeriesColor(clNavy);
  a->SetActive(false);
  a->AddXYPoint(1, 1);
  chart.ExchangeSeries(a, b);
  EXPECT_EQ(chart.SeriesAt(0), b);
  chart.DetachSeries(a);
  EXPECT_EQ(a->ParentChart(), nullptr);
  EXPECT_EQ(chart.NumberOfSeries(), 1);
  // A new series takes its automatic colour before it is listed.
  EXPECT_EQ(events, (std::vector<int>{seChangeColor, seAdd, seChangeColor, seAdd, seChangeTitle, seChangeColor,
                                      seChangeActive, seSwap, seRemove}));
  chart.NoBroadcast = true;
  events.clear();
  b->SetTitle("quiet");
  EXPECT_TRUE(events.empty());
  chart.Listeners()->RemoveListener(&listener);
  delete a;
}

TEST(AxisPanel, DestroySeriesOfAClass) {
  class TOther : public TTestSeries {
  public:
    using TTestSeries::TTestSeries;
  };
  TTestChart chart;
  AddSeries(chart, "A", 1);
  auto* other = new TOther(&chart);
  other->SetParentChart(&chart);
  AddSeries(chart, "C", 1);
  chart.DestroySeriesOfClass(nullptr);
  EXPECT_EQ(chart.NumberOfSeries(), 0);
}

TEST(AxisPanel, PagesAreClampedAndShortLastPagesKeepTheirScale) {
  TTestChart chart;
  EXPECT_EQ(chart.Page(), 1);
  EXPECT_EQ(chart.PageCount(), 1);
  auto* s = AddSeries(chart, "S", 25);
  EXPECT_THROW(chart.SetMaxPointsPerPage(-1), ChartException);
  chart.SetMaxPointsPerPage(10);
  EXPECT_EQ(chart.PageCount(), 3);
  int changes = 0;
  chart.OnPageChange = [&](TObject*) { ++changes; };
  chart.SetPage(0);
  EXPECT_EQ(chart.Page(), 1);
  chart.SetPage(-5);
  EXPECT_EQ(chart.Page(), 1);
  EXPECT_EQ(changes, 0);
  chart.SetPage(99);
  EXPECT_EQ(chart.Page(), 3);
  EXPECT_EQ(changes, 1);
  int first, last;
  s->PageIndexRange(first, last);
  EXPECT_EQ(first, 20);
  EXPECT_EQ(last, 24);
  EXPECT_EQ(chart.BottomAxis()->AutomaticMaximum(), true);
  EXPECT_EQ(chart.AxisValueExtreme(chart.BottomAxis(), false, true), 24);
  chart.SetScaleLastPage(false);
  EXPECT_EQ(chart.AxisValueExtreme(chart.BottomAxis(), true, true), 20);
  EXPECT_EQ(chart.AxisValueExtreme(chart.BottomAxis(), false, true), 28);
  chart.SetMaxPointsPerPage(20);  // fewer pages: the page follows
  EXPECT_EQ(chart.Page(), 2);
}

TEST(AxisPanel, PageIndexRangeBeyondTheLastPageGivesTheLastPage) {
  TTestChart chart;
  auto* s = AddSeries(chart, "S", 10);
  chart.SetMaxPointsPerPage(3);
  int first, last;
  chart.SetPage(1);
  s->PageIndexRange(first, last);
  EXPECT_EQ(first, 0);
  EXPECT_EQ(last, 2);
  chart.SetPage(4);
  s->PageIndexRange(first, last);
  EXPECT_EQ(first, 9);
  EXPECT_EQ(last, 9);
  // The page stays 4 while the series shrinks to three pages: the last page shows.
  s->RemovePointRange(7, 3);
  EXPECT_EQ(chart.Page(), 4);
  s->PageIndexRange(first, last);
  EXPECT_EQ(first, 6);
  EXPECT_EQ(last, 6);
  chart.SetMaxPointsPerPage(0);
  s->PageIndexRange(first, last);
  EXPECT_EQ(first, 0);
  EXPECT_EQ(last, 6);
}

TEST(AxisPanel, ColoursFromThePaletteSkipTakenOnes) {
  TTestChart chart;
  auto* a = AddSeries(chart, "A", 0);
  auto* b = AddSeries(chart, "B", 0);
  EXPECT_EQ(a->SeriesColor(), DefaultPaletteColor(0));
  EXPECT_EQ(b->SeriesColor(), DefaultPaletteColor(1));
  chart.ColorPalette() = {clRed, clGreen};
  a->SetSeriesColor(clNavy);
  b->SetSeriesColor(clBlue);
  EXPECT_EQ(chart.NextFreeColor(false, nullptr), clRed);  // no series holds red now
  a->SetSeriesColor(clRed);
  b->SetSeriesColor(clGreen);
  EXPECT_EQ(chart.NextFreeColor(false, nullptr), clGreen);  // all taken: the last one
  EXPECT_EQ(chart.PaletteColor(5), clGreen);
  EXPECT_FALSE(chart.ColorIsFree(chart.Color(), true, nullptr));
}

TEST(AxisPanel, WidestLineWidthCountsLines) {
  TTestChart chart;
  int lines = 0;
  EXPECT_EQ(chart.WidestLineWidth("", lines), 0);
  EXPECT_EQ(lines, 0);
  const int w = chart.WidestLineWidth("ab\rlonger line\r", lines);
  EXPECT_EQ(lines, 2);
  EXPECT_EQ(w, chart.PanelCanvas()->TextWidth("longer line"));
  chart.WidestLineWidth("a\r\rb", lines);
  EXPECT_EQ(lines, 3);
}

TEST(AxisPanel, AxisInUseDefaultsWithoutActiveSeries) {
  TTestChart chart;
  EXPECT_TRUE(chart.AxisInUse(chart.TopAxis(), true));
  EXPECT_FALSE(chart.AxisInUse(chart.TopAxis(), false));
  AddSeries(chart, "S", 1);
  EXPECT_FALSE(chart.AxisInUse(chart.TopAxis(), true));
  EXPECT_TRUE(chart.AxisInUse(chart.BottomAxis(), false));
}

TEST(AxisPanel, PrintsEachPageAndRestoresTheCurrentOne) {
  TTempDir dir;
  TTestChart chart(nullptr, 300, 200, false);
  chart.SetName("PagedChart");
  AddSeries(chart, "S", 25);
  chart.SetMaxPointsPerPage(10);
  chart.SetPage(2);
  std::vector<int> pages;
  chart.OnPageChange = [&](TObject*) { pages.push_back(chart.Page()); };
  const std::string pdf = dir.File("pages.pdf");
  Printer()->SetOutputFileName(pdf);
  chart.PrintPages();
  Printer()->SetOutputFileName("");
  EXPECT_EQ(chart.Page(), 2);
  EXPECT_EQ(pages, (std::vector<int>{1, 2, 3, 2}));
  EXPECT_TRUE(std::filesystem::exists(pdf));
  EXPECT_EQ(Printer()->Title(), "PagedChart");
}

// ---- Walls ------------------------------------------------------------------------------

TEST(Walls, In2DOnlyTheBackWallIsPainted) {
  TTestChart chart;
  chart.SetView3D(false);
  AddSeries(chart, "S", 3);
  chart.Walls()->Back()->SetTransparent(false);
  chart.Pass();
  const TRect r = chart.ChartArea;
  bool back = false;
  for (const TCanvasCall& c : chart.Rec->CallsOf("Rectangle", 0))
    if (c.Arg(0) == r.Left && c.Arg(1) == r.Top && c.Arg(2) == r.Right + 1 && c.Arg(3) == r.Bottom + 1) back = true;
  EXPECT_TRUE(back);
  EXPECT_EQ(chart.Rec->Count("RectangleY", 0) + chart.Rec->Count("RectangleZ", 0) + chart.Rec->Count("Cube", 0), 0);
  chart.Walls()->SetVisible(false);
  EXPECT_FALSE(chart.View3DWalls());
  chart.Rec->Clear();
  chart.Pass();
  for (const TCanvasCall& c : chart.Rec->CallsOf("Rectangle", 0))
    EXPECT_FALSE(c.Arg(0) == r.Left && c.Arg(2) == r.Right + 1) << c.ToString();
}

TEST(Walls, In3DWallsArePlanesOrBoxesAndAutoHideSkipsThem) {
  TTestChart chart;
  AddSeries(chart, "S", 3)->Pointer()->SetDraw3D(false);
  chart.Pass();
  EXPECT_EQ(chart.Rec->Count("RectangleY", 0), 1);  // bottom wall plane
  EXPECT_GE(chart.Rec->Count("RectangleZ", 0), 1);  // left wall plane
  chart.Walls()->SetSize(10);
  EXPECT_EQ(chart.Walls()->Left()->Size(), 10);
  EXPECT_EQ(chart.Walls()->Right()->Size(), 10);
  EXPECT_EQ(chart.WallThickness(chart.LeftAxis()), 10);
  EXPECT_EQ(chart.WallThickness(chart.RightAxis()), 0);  // hidden wall
  chart.Rec->Clear();
  chart.Pass();
  EXPECT_GE(chart.Rec->Count("Cube", 0), 2);
  chart.Walls()->Bottom()->SetAutoHide(true);
  chart.Walls()->Left()->SetAutoHide(true);
  chart.Walls()->Back()->SetAutoHide(true);
  chart.Rec->Clear();
  chart.Pass();
  EXPECT_EQ(chart.Rec->Count("Cube", 0), 0);
  EXPECT_EQ(chart.WallThickness(chart.LeftAxis()), 10);  // still counts for its room
  chart.SetView3D(false);
  EXPECT_EQ(chart.WallThickness(chart.LeftAxis()), 0);
}

TEST(Walls, ThreeDOrthogonalViewTakesTheDepthOffTheRectangle) {
  TTestChart chart;
  AddSeries(chart, "S", 3);
  chart.ChartArea = Rect(10, 10, 410, 210);
  chart.NormalizeChartRect();
  chart.MaxZOrder = 0;
  chart.ComputeWallsRect();
  EXPECT_EQ(chart.DepthWidth(), 6);
  EXPECT_EQ(chart.ChartArea.Right, 410 - 6);
  EXPECT_EQ(chart.ChartArea.Top, 10 + 6);
}

// ---- Titles --------------------------------------------------------------------------------

TEST(Titles, EmptyTitleTakesNoRoomAndFootTitlesLiftTheBottom) {
  TTestChart chart;
  chart.ChartArea = Rect(0, 0, 400, 250);
  chart.NormalizeChartRect();
  chart.Title()->PaintTitle();
  EXPECT_EQ(chart.ChartArea, Rect(0, 0, 400, 250));
  chart.Foot()->Text()->Add("one");
  chart.Foot()->Text()->Add("two");
  chart.Foot()->Pen()->SetVisible(false);  // no frame
  chart.Foot()->PaintTitle();
  chart.PanelCanvas()->ApplyFont(chart.Foot()->Font());
  const int h = chart.PanelCanvas()->TextHeight("W");
  EXPECT_EQ(chart.ChartArea.Bottom, chart.Foot()->ShapeBox.Bottom - (5 + 2 * h))
;
  const int bottom = chart.ChartArea.Bottom;
  chart.Title()->Text()->Add("Top");
  chart.Title()->PaintTitle();
  EXPECT_GT(chart.ChartArea.Top, 0);
  EXPECT_EQ(chart.ChartArea.Bottom, bottom);
}

TEST(Titles, CustomPositionedTitlesLeaveTheRectangleAlone) {
  TTestChart chart;
  chart.ChartArea = Rect(0, 0, 400, 250);
  chart.NormalizeChartRect();
  chart.Title()->Text()->Add("Placed");
  chart.Title()->SetLeft(20);
  EXPECT_TRUE(chart.Title()->CustomPosition());
  chart.Title()->SetTop(30);
  chart.Title()->PaintTitle();
  EXPECT_EQ(chart.ChartArea, Rect(0, 0, 400, 250));
  EXPECT_EQ(chart.Title()->ShapeBox.Top, 30);
  EXPECT_TRUE(chart.Title()->ContainsPoint(chart.Title()->ShapeBox.Left, 30));
  EXPECT_FALSE(chart.Title()->ContainsPoint(5, 5));
}

TEST(Titles, TitlesAreClickableParts) {
  TTestChart chart;
  AddSeries(chart, "S", 3);
  chart.Title()->Text()->Add("Title");
  chart.SubFoot()->Text()->Add("Sub foot");
  chart.Pass();
  const std::pair<TChartTitle*, int> cases[] = {{chart.Title(), cpTitle}, {chart.SubFoot(), cpSubFoot}};
  for (auto [title, kind] : cases) {
    TChartClickedPart part;
    const TRect b = title->ShapeBox;
    chart.PartAtPoint(Point((b.Left + b.Right) / 2, (b.Top + b.Bottom) / 2), part);
    EXPECT_EQ(part.Part, kind);
  }
  TChartClickedPart part;
  chart.PartAtPoint(Point(chart.LeftAxis()->LabelsPos + 2, chart.LeftAxis()->CenterPixel), part);
  EXPECT_EQ(part.Part, cpAxis);
  EXPECT_EQ(part.AAxis, chart.LeftAxis());
}

TEST(ChartControl, NamesPanelColourAndCopies) {
  TTestChart chart;
  EXPECT_EQ(chart.AxisDisplayName(chart.BottomAxis()), "Bottom Axis");
  EXPECT_EQ(chart.AxisDisplayName(chart.RightAxis()), "Right Axis");
  EXPECT_EQ(chart.AxisDisplayName(chart.DepthAxis()), "Depth Right");
  chart.LeftAxis()->Title()->SetCaption("Counts");
  EXPECT_EQ(chart.AxisDisplayName(chart.LeftAxis()), "Counts");
  chart.SetColor(clWhite);
  EXPECT_EQ(chart.GetPanelColor(), clWhite);  // transparent back wall
  chart.Walls()->Back()->SetTransparent(false);
  EXPECT_EQ(chart.GetPanelColor(), chart.Walls()->Back()->Color());
  TTestChart copy;
  chart.Title()->Text()->Add("T");
  chart.Legend()->SetAlignment(laTop);
  chart.SetMaxPointsPerPage(7);
  copy.Assign(&chart);
  EXPECT_EQ(copy.Title()->Text()->Count(), 1);
  EXPECT_EQ(copy.Legend()->Alignment(), laTop);
  EXPECT_EQ(copy.MaxPointsPerPage(), 7);
  EXPECT_EQ(copy.LeftAxis()->Title()->Caption(), "Counts");
}

}  // namespace
