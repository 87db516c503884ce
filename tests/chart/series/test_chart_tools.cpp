// Chart tools driven by synthesised mouse events on offscreen charts: the
// frame (registration, dispatch), each tool's grab tolerances and effects,
// figures drawn on the retained surface without a render, the data table,
// streaming of every tool, and the animation and clip tools' guards.
#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "chart/core/golden.h"
#include "chart/series/grafdatatable.h"
#include "chart/series/grafpoin3.h"
#include "chart/series/graftools.h"
#include "chart/series/series.h"
#include "chart/series/seriestest.h"
#include "platform/rtl/datetime.h"
#include "platform/rtl/formatsettings.h"
#include "platform/ui/forms.h"
#include "platform/ui/streaming.h"
#include "support/gui/guitest.h"

using namespace guitest;

namespace {

// A flat chart (recording canvas) with a line series 0..10 -> 0..100 drawn once.
struct TToolChart {
  TToolChart() {
    RegisterChartToolClasses();
    series = new TLineSeries(&chart);
    series->SetParentChart(&chart);
    for (int i = 0; i <= 10; ++i) series->AddXYPoint(i, i * 10);
    chart.Zoom()->SetAllow(false);
    chart.SetAllowPanning(pmNone);
    chart.Pass();
  }
  template <class T>
  T* Add() {
    auto* t = new T(&chart);
    chart.Tools()->AddTool(t);
    return t;
  }
  TSeriesTestChart chart;
  TLineSeries* series;
};

TEST(ChartToolsFrame, EveryToolClassIsRegisteredWithItsNames) {
  RegisterChartToolClasses();
  struct Row {
    TClass Class;
    const char* TypeName;
    const char* Editor;
  };
  const Row rows[] = {
      {&TCursorTool::StaticClass(), "Cursor", "TCursorToolEditor"},
      {&TDragMarksTool::StaticClass(), "Drag Marks", "TDragMarksToolEditor"},
      {&TAxisArrowTool::StaticClass(), "Axis Arrows", "TAxisArrowToolEditor"},
      {&TDrawLineTool::StaticClass(), "Draw Line", "TDrawLineEdit"},
      {&TNearestTool::StaticClass(), "Nearest Point", "TNearestToolEdit"},
      {&TColorBandTool::StaticClass(), "Color Band", "TColorBandToolEditor"},
      {&TColorLineTool::StaticClass(), "Color Line", "TColorLineToolEditor"},
      {&TRotateTool::StaticClass(), "Rotate", "TRotateToolEditor"},
      {&TChartImageTool::StaticClass(), "Image", "TChartImageToolEditor"},
      {&TMarksTipTool::StaticClass(), "Mark Tips", "TMarksTipToolEdit"},
      {&TAnnotationTool::StaticClass(), "Annotation", "TAnnotationToolEdit"},
      {&TSeriesAnimationTool::StaticClass(), "Series Animation", "TSeriesAnimToolEditor"},
      {&TGridBandTool::StaticClass(), "Grid Band", "TGridBandToolEdit"},
      {&TAxisScrollTool::StaticClass(), "Axis Scroll", "TAxisToolEditor"},
      {&TRectangleTool::StaticClass(), "Rectangle", "TAnnotationToolEdit"},
      {&TClipSeriesTool::StaticClass(), "Clip Series", "TSeriesToolEditor"},
      {&TDragPointTool::StaticClass(), "Drag Point", "TDragPointToolEdit"},
      {&TDataTableTool::StaticClass(), "Data Table", "TDataTableEditor"},
  };
  int previous = -1;
  for (const Row& r : rows) {
    const int index = ToolTypeRegistry()->IndexOf(r.Class);
    EXPECT_GT(index, previous) << r.TypeName;  // in registration order
    previous = index;
    std::unique_ptr<TComponent> c(r.Class->CreateComponent(nullptr));
    auto* tool = dynamic_cast<TGrafCustomTool*>(c.get());
    ASSERT_NE(tool, nullptr) << r.TypeName;
    EXPECT_EQ(tool->ToolTypeName(), r.TypeName);
    EXPECT_EQ(tool->EditorFormClassName(), r.Editor);
  }
  RegisterChartToolClasses();  // a second start-up adds nothing
  EXPECT_EQ(ToolTypeRegistry()->IndexOf(&TDataTableTool::StaticClass()), previous);
}

TEST(ChartToolsFrame, InactiveToolsGetNothingAndTheFirstConsumerStopsAPress) {
  TToolChart t;
  const int y = t.chart.ChartAreaCenterY;
  auto* first = t.Add<TColorLineTool>();
  first->SetAxis(t.chart.LeftAxis());
  first->SetValue(t.chart.LeftAxis()->PixelToValue(y));
  auto* second = t.Add<TColorLineTool>();
  second->SetAxis(t.chart.LeftAxis());
  second->SetValue(first->Value());
  t.chart.Pass();
  MouseDown(&t.chart, mbLeft, t.chart.ChartAreaCenterX, y);
  EXPECT_TRUE(first->Dragging);
  EXPECT_FALSE(second->Dragging);  // the first consumed the press
  MouseUp(&t.chart, mbLeft, t.chart.ChartAreaCenterX, y);

  t.chart.Pass();
  const size_t both = t.chart.Rec->CallsOf("HorizontalLine3D", 0).size();
  first->SetActive(false);
  t.chart.Pass();
  // The inactive line drew neither its back nor its front part.
  EXPECT_EQ(t.chart.Rec->CallsOf("HorizontalLine3D", 0).size(), both - 2);
  MouseDown(&t.chart, mbLeft, t.chart.ChartAreaCenterX, y);
  EXPECT_FALSE(first->Dragging);
  EXPECT_TRUE(second->Dragging);
  MouseUp(&t.chart, mbLeft, t.chart.ChartAreaCenterX, y);
}

TEST(ChartToolsFrame, SettingAStoredValueAgainDoesNotRepaint) {
  TToolChart t;
  auto* line = t.Add<TColorLineTool>();
  line->SetAxis(t.chart.BottomAxis());
  line->SetValue(5);
  auto* table = t.Add<TDataTableTool>();
  t.chart.Pass();
  t.chart.Rec->Clear();
  line->SetValue(5);
  line->SetDrawBehind(false);
  table->SetTop(table->Top());  // the table writes Top at every paint
  table->SetLeft(table->Left());
  EXPECT_EQ(t.chart.Rec->Count("MarkDirty"), 0);
  line->SetValue(6);
  EXPECT_EQ(t.chart.Rec->Count("MarkDirty"), 1);
}

// ---- Cursor ---------------------------------------------------------------------------------------

TEST(CursorTool, PlacedAtTheCentreAtTheFirstPaintReportingIndexMinusOne) {
  TSeriesTestChart chart;
  RegisterChartToolClasses();
  auto* cursor = new TCursorTool(&chart);
  chart.Tools()->AddTool(cursor);
  std::vector<int> indices;
  cursor->OnChange = [&](TCursorTool*, int, int, double, double, TChartSeries*, int i) { indices.push_back(i); };
  chart.Pass();
  TChartAxis* h = chart.BottomAxis();
  TChartAxis* v = chart.LeftAxis();
  EXPECT_EQ(cursor->CursorX(), (h->StartPixel + h->EndPixel) / 2);
  EXPECT_EQ(cursor->CursorY(), (v->StartPixel + v->EndPixel) / 2);
  ASSERT_EQ(indices, std::vector<int>{-1});
  chart.Pass();
  EXPECT_EQ(indices.size(), 1u);
  // Both lines in XOR over the finished chart.
  const auto h3 = chart.Rec->CallsOf("HorizontalLine");
  ASSERT_FALSE(h3.empty());
  EXPECT_EQ(h3.back().PenMode, pmXor);
}

TEST(CursorTool, APressThreePixelsOffALineGrabsItFourDoNot) {
  struct Case {
    int Offset;
    bool Grabs;
  };
  for (const Case c : {Case{3, true}, Case{-3, true}, Case{4, false}, Case{-4, false}}) {
    TToolChart t;
    auto* cursor = t.Add<TCursorTool>();
    cursor->SetStyle(cssHorizontal);
    t.chart.Pass();
    const int x = t.chart.ChartAreaCenterX, y = cursor->CursorY();
    const double before = cursor->YValue;
    MouseDown(&t.chart, mbLeft, x, y + c.Offset);
    MouseMove(&t.chart, x, y + 20);
    MouseUp(&t.chart, mbLeft, x, y + 20);
    if (c.Grabs) {
      EXPECT_EQ(cursor->CursorY(), y + 20) << c.Offset;
      EXPECT_NEAR(cursor->YValue, t.chart.LeftAxis()->PixelToValue(y + 20), 1e-9);
    } else {
      EXPECT_EQ(cursor->YValue, before) << c.Offset;
    }
  }
}

TEST(CursorTool, SnapFollowsTheNearestPointAndReportsEachNewPointOnce) {
  TToolChart t;
  auto* cursor = t.Add<TCursorTool>();
  cursor->SetSeries(t.series);
  cursor->SetSnap(true);
  cursor->SetFollowMouse(true);
  std::vector<int> snaps;
  cursor->OnSnapChange = [&](TCursorTool*, int, int, double, double, TChartSeries*, int i) { snaps.push_back(i); };
  t.chart.Pass();
  const int px = t.series->PointXPixel(3), py = t.series->PointYPixel(3);
  MouseMove(&t.chart, px + 2, py - 1);
  MouseMove(&t.chart, px + 1, py + 1);
  EXPECT_EQ(snaps, std::vector<int>{3});
  EXPECT_EQ(cursor->XValue, 3);
  EXPECT_EQ(cursor->YValue, 30);
}

// ---- Colour line ------------------------------------------------------------------------------------

TEST(ColorLineTool, GrabsTwoPixelsOffNotThree) {
  for (int offset : {0, 2, -2, 3, -3}) {
    TToolChart t;
    auto* line = t.Add<TColorLineTool>();
    line->SetAxis(t.chart.BottomAxis());
    line->SetValue(5);
    t.chart.Pass();
    const int p = t.chart.BottomAxis()->ValueToPixel(5);
    MouseDown(&t.chart, mbLeft, p + offset, t.chart.ChartAreaCenterY);
    EXPECT_EQ(line->Dragging, std::abs(offset) <= 2) << offset;
    MouseUp(&t.chart, mbLeft, p + offset, t.chart.ChartAreaCenterY);
  }
  TToolChart t;  // the line's extension outside the chart rectangle is not the line
  auto* line = t.Add<TColorLineTool>();
  line->SetAxis(t.chart.BottomAxis());
  line->SetValue(5);
  t.chart.Pass();
  EXPECT_FALSE(line->Clicked(t.chart.BottomAxis()->ValueToPixel(5), t.chart.ChartArea.Bottom + 3));
}

TEST(ColorLineTool, DraggingMovesTheValueAndRepaintsOnceAtTheRelease) {
  TToolChart t;
  auto* line = t.Add<TColorLineTool>();
  line->SetAxis(t.chart.BottomAxis());
  line->SetValue(5);
  int drags = 0, ends = 0;
  line->OnDragLine = [&](TObject*) { ++drags; };
  line->OnEndDragLine = [&](TObject*) { ++ends; };
  t.chart.Pass();
  TChartAxis* axis = t.chart.BottomAxis();
  const int p = axis->ValueToPixel(5), y = t.chart.ChartAreaCenterY;
  t.chart.Rec->Clear();
  MouseDown(&t.chart, mbLeft, p, y);
  MouseMove(&t.chart, p + 10, y);
  MouseMove(&t.chart, p + 20, y);
  EXPECT_EQ(drags, 2);
  EXPECT_NEAR(line->Value(), axis->PixelToValue(p + 20), 1e-9);
  // Erased and drawn in not-XOR, no repaint yet (a flat chart draws only the
  // back part during the drag: the front one lies on it).
  const auto lines = t.chart.Rec->CallsOf("VerticalLine3D", 0);
  ASSERT_EQ(lines.size(), 4u);
  for (const TCanvasCall& c : lines) EXPECT_EQ(c.PenMode, pmNotXor);
  EXPECT_EQ(t.chart.Rec->Count("Rectangle"), 0);
  MouseUp(&t.chart, mbLeft, p + 20, y);
  EXPECT_EQ(ends, 1);
  EXPECT_FALSE(line->Dragging);
}

TEST(ColorLineTool, KeepsItsValueAcrossZoomingDrawingAtTheAxisEnd) {
  TToolChart t;
  auto* line = t.Add<TColorLineTool>();
  line->SetAxis(t.chart.BottomAxis());
  line->SetValue(8);
  t.chart.BottomAxis()->SetRange(0, 4);  // zoomed in: 8 lies beyond the axis
  t.chart.Pass();
  EXPECT_EQ(line->Value(), 8);
  const auto drawn = t.chart.Rec->CallsOf("VerticalLine3D", 0);
  ASSERT_FALSE(drawn.empty());
  EXPECT_EQ(drawn.back().Arg(0), t.chart.BottomAxis()->ValueToPixel(4));
  t.chart.BottomAxis()->SetRange(0, 10);  // zoomed out again
  t.chart.Pass();
  EXPECT_EQ(t.chart.Rec->CallsOf("VerticalLine3D", 0).back().Arg(0), t.chart.BottomAxis()->ValueToPixel(8));
}

// ---- Colour band and grid band -------------------------------------------------------------------

TEST(ColorBandTool, ExchangedValuesGiveTheSameBandAndABandOutsideIsNotDrawn) {
  TToolChart t;
  auto* band = t.Add<TColorBandTool>();
  band->SetAxis(t.chart.BottomAxis());
  band->SetStartValue(2);
  band->SetEndValue(4);
  t.chart.Pass();
  const TRect a = band->BoundsRect();
  band->SetStartValue(4);
  band->SetEndValue(2);
  EXPECT_EQ(band->BoundsRect(), a);
  EXPECT_EQ(a.Left, t.chart.BottomAxis()->ValueToPixel(2));
  EXPECT_TRUE(band->Clicked((a.Left + a.Right) / 2, t.chart.ChartAreaCenterY));
  band->SetStartValue(20);
  band->SetEndValue(30);
  EXPECT_EQ(band->BoundsRect(), TRect(0, 0, 0, 0));
  EXPECT_FALSE(band->Clicked(t.chart.ChartAreaCenterX, t.chart.ChartAreaCenterY));
}

TEST(ColorBandTool, DraggingTheStartEdgeMovesStartValue) {
  TToolChart t;
  auto* band = t.Add<TColorBandTool>();
  band->SetAxis(t.chart.BottomAxis());
  band->SetStartValue(2);
  band->SetEndValue(6);
  band->SetResizeStart(true);
  t.chart.Pass();
  TChartAxis* axis = t.chart.BottomAxis();
  const int x = axis->ValueToPixel(2), y = t.chart.ChartAreaCenterY;
  MouseDown(&t.chart, mbLeft, x + 1, y);
  MouseMove(&t.chart, x + 20, y);
  EXPECT_NEAR(band->StartValue(), axis->PixelToValue(x + 20), 1e-9);
  MouseMove(&t.chart, x + 40, y);
  EXPECT_NEAR(band->StartValue(), axis->PixelToValue(x + 40), 1e-9);
  MouseUp(&t.chart, mbLeft, x + 40, y);
  EXPECT_EQ(band->EndValue(), 6);
  EXPECT_EQ(t.chart.Tools()->Count(), 1);  // the edge lines stay out of the chart's tools
}

TEST(GridBandTool, PaintsAlternatingStripesBeforeTheGrid) {
  TToolChart t;
  auto* grid = t.Add<TGridBandTool>();
  grid->SetAxis(t.chart.LeftAxis());
  grid->Band1()->SetColor(clYellow);
  grid->Band2()->SetStyle(bsClear);
  t.chart.Pass();
  const auto log = t.chart.Rec->CallsAt(0);
  int firstBand = -1, firstGrid = -1;
  for (size_t i = 0; i < log.size(); ++i) {
    if (firstBand < 0 && log[i].Op == "Rectangle" && log[i].BrushColor == clYellow) firstBand = static_cast<int>(i);
    if (firstGrid < 0 && log[i].Op == "HorizontalLine" && log[i].PenStyle == psDot) firstGrid = static_cast<int>(i);
  }
  ASSERT_GE(firstBand, 0);
  EXPECT_LT(firstBand, firstGrid < 0 ? INT_MAX : firstGrid);
  const size_t ticks = t.chart.LeftAxis()->TickPositions.size();
  int yellow = 0;
  for (const TCanvasCall& c : log) yellow += c.Op == "Rectangle" && c.BrushColor == clYellow;
  // Every other stripe: about half of the ticks' stripes.
  EXPECT_GE(yellow, static_cast<int>(ticks - 1) / 2);
  EXPECT_LE(yellow, static_cast<int>(ticks + 2) / 2);
}

// ---- Axis arrows, scroll, rectangle, rotate ------------------------------------------------------

TEST(AxisArrowTool, ArrowsScrollTheAxisByTenPercent) {
  struct Case {
    bool AtStart;
    bool Inverted;
    double Min, Max;
  };
  for (const Case c : {Case{true, false, 10, 110}, Case{false, false, -10, 90}, Case{true, true, -10, 90}}) {
    TToolChart t;
    TChartAxis* axis = t.chart.BottomAxis();
    axis->SetRange(0, 100);
    auto* arrows = t.Add<TAxisArrowTool>();
    arrows->SetAxis(axis);
    arrows->SetScrollInverted(c.Inverted);
    int scrolls = 0;
    t.chart.OnScroll = [&](TObject*) { ++scrolls; };
    t.chart.Pass();
    const int x = c.AtStart ? axis->StartPixel + 5 : axis->EndPixel - 5;
    Click(&t.chart, x, axis->AxisLinePos + 2);
    EXPECT_DOUBLE_EQ(axis->Minimum(), c.Min);
    EXPECT_DOUBLE_EQ(axis->Maximum(), c.Max);
    EXPECT_EQ(scrolls, 1);
    Click(&t.chart, x, axis->AxisLinePos + 3);  // 3 pixels beside the line: no arrow
    EXPECT_DOUBLE_EQ(axis->Minimum(), c.Min);
  }
}

TEST(AxisScrollTool, DraggingAVerticalAxisDownMovesItsRangeUp) {
  TToolChart t;
  TChartAxis* axis = t.chart.LeftAxis();
  axis->SetRange(0, 100);
  t.Add<TAxisScrollTool>();
  t.chart.Pass();
  const int x = axis->AxisLinePos - 3, y = axis->StartPixel + 10;
  ASSERT_TRUE(axis->ContainsPoint(x, y));
  MouseDown(&t.chart, mbLeft, x, y);
  MouseMove(&t.chart, x, y + axis->AxisLength);
  MouseUp(&t.chart, mbLeft, x, y + axis->AxisLength);
  EXPECT_NEAR(axis->Minimum(), 100, 1e-9);
  EXPECT_NEAR(axis->Maximum(), 200, 1e-9);
}

TEST(RectangleTool, EdgesGrabWithinThreePixelsAndNeverCloserThanThree) {
  TToolChart t;
  auto* r = t.Add<TRectangleTool>();
  t.chart.Pass();
  const TRect b = r->Shape()->ShapeBox;  // 10,10 .. 59,59
  EXPECT_EQ(r->EdgeAt(b.Left + 3, b.Top + 20), 0);
  EXPECT_EQ(r->EdgeAt(b.Left + 4, b.Top + 20), -1);
  // Dragging the right edge far to the left stops 3 pixels right of the left edge.
  MouseDown(&t.chart, mbLeft, b.Right - 1, b.Top + 20);
  MouseMove(&t.chart, b.Left - 30, b.Top + 20);
  MouseUp(&t.chart, mbLeft, b.Left - 30, b.Top + 20);
  EXPECT_EQ(r->Shape()->ShapeBox.Right, b.Left + 3);
  EXPECT_EQ(r->Shape()->ShapeBox.Left, b.Left);
  // A press inside, away from the edges, moves the box.
  MouseDown(&t.chart, mbLeft, b.Left + 1, b.Top + 20);
  EXPECT_EQ(r->EdgeAt(b.Left + 1, b.Top + 20), 0);
  MouseUp(&t.chart, mbLeft, b.Left + 1, b.Top + 20);
}

TEST(RotateTool, HalfTheChartWidthTurnsBy45Degrees) {
  for (bool inverted : {false, true}) {
    TToolChart t;
    auto* rotate = t.Add<TRotateTool>();
    rotate->SetInverted(inverted);
    TView3DOptions* o = t.chart.View3DOptions();
    o->SetRotationFloat(345);
    const double before = o->RotationFloat();
    const int x = 50, y = 100, half = t.chart.Width() / 2;
    MouseDown(&t.chart, mbLeft, x, y);
    MouseMove(&t.chart, x + half, y);
    MouseUp(&t.chart, mbLeft, x + half, y);
    EXPECT_TRUE(t.chart.View3D());
    EXPECT_FALSE(o->Orthogonal());
    if (!inverted) EXPECT_DOUBLE_EQ(o->RotationFloat(), before + 45 - 360);  // wraps past 360
    else EXPECT_DOUBLE_EQ(o->RotationFloat(), before - 45);
  }
  EXPECT_EQ(NextElevationAngle(false, 30, 350), 360);
  EXPECT_EQ(NextElevationAngle(false, -30, 280), 270);
}

// ---- Draw line and drag point -------------------------------------------------------------------

TEST(DrawLineTool, DrawsSelectsAndMovesLinesInAxisValues) {
  TToolChart t;
  auto* draw = t.Add<TDrawLineTool>();
  int newLines = 0;
  draw->OnNewLine = [&](TObject*) { ++newLines; };
  const int x0 = t.chart.ChartAreaCenterX - 40, y0 = t.chart.ChartAreaCenterY;
  Click(&t.chart, x0, y0);  // a click at one point draws nothing
  EXPECT_EQ(draw->Lines()->Count(), 0);
  MouseDown(&t.chart, mbLeft, x0, y0);
  MouseMove(&t.chart, x0 + 40, y0 - 20);
  MouseUp(&t.chart, mbLeft, x0 + 40, y0 - 20);
  ASSERT_EQ(draw->Lines()->Count(), 1);
  EXPECT_EQ(newLines, 1);
  TDrawLine* line = draw->Lines()->GetLine(0);
  EXPECT_EQ(draw->Selected, line);
  EXPECT_NEAR(line->X0(), t.chart.BottomAxis()->PixelToValue(x0), 1e-9);
  t.chart.Pass();
  // Dragging the body moves both ends by the mouse delta.
  const TPoint mid{x0 + 20, y0 - 10};
  MouseDown(&t.chart, mbLeft, mid.X, mid.Y);
  MouseMove(&t.chart, mid.X + 10, mid.Y);
  MouseUp(&t.chart, mbLeft, mid.X + 10, mid.Y);
  EXPECT_NEAR(line->X0(), t.chart.BottomAxis()->PixelToValue(x0 + 10), 1e-9);
  EXPECT_NEAR(line->X1(), t.chart.BottomAxis()->PixelToValue(x0 + 50), 1e-9);
  // A press on the selected line's start handle drags only the start.
  t.chart.Pass();
  const double endX = line->X1();
  const TPoint start = draw->ValueToScreen(line->StartPos());
  MouseDown(&t.chart, mbLeft, start.X + 2, start.Y - 2);
  MouseMove(&t.chart, start.X - 8, start.Y - 2);
  MouseUp(&t.chart, mbLeft, start.X - 8, start.Y - 2);
  EXPECT_NEAR(line->X0(), t.chart.BottomAxis()->PixelToValue(start.X - 8), 1e-9);  // the end goes to the mouse
  EXPECT_EQ(line->X1(), endX);
  // A selection refused by OnSelecting starts no drag of that line.
  t.chart.Pass();
  MouseDown(&t.chart, mbLeft, x0, y0 + 50);
  MouseMove(&t.chart, x0 + 40, y0 + 50);
  MouseUp(&t.chart, mbLeft, x0 + 40, y0 + 50);
  ASSERT_EQ(draw->Lines()->Count(), 2);
  TDrawLine* second = draw->Lines()->GetLine(1);
  draw->Selected = line;
  draw->OnSelecting = [](TDrawLineTool*, TDrawLine*, bool& allow) { allow = false; };
  t.chart.Pass();
  const double x1Before = second->X0();
  MouseDown(&t.chart, mbLeft, x0 + 20, y0 + 50);
  MouseMove(&t.chart, x0 + 30, y0 + 60);
  MouseUp(&t.chart, mbLeft, x0 + 30, y0 + 60);
  EXPECT_EQ(draw->Selected, line);
  EXPECT_EQ(second->X0(), x1Before);
}

TEST(DragPointTool, DsYChangesOnlyTheYValue) {
  TToolChart t;
  t.series->Pointer()->SetVisible(true);
  auto* drag = t.Add<TDragPointTool>();
  drag->SetSeries(t.series);
  drag->SetDragStyle(dsY);
  t.chart.Pass();
  const int px = t.series->PointXPixel(5), py = t.series->PointYPixel(5);
  MouseDown(&t.chart, mbLeft, px, py);
  ASSERT_EQ(drag->DraggedIndex(), 5);
  MouseMove(&t.chart, px + 30, py - 20);
  MouseUp(&t.chart, mbLeft, px + 30, py - 20);
  EXPECT_EQ(t.series->XValueAt(5), 5);
  EXPECT_NEAR(t.series->YValueAt(5), t.chart.LeftAxis()->PixelToValue(py - 20), 1e-9);
}

TEST(NearestTool, FindsTheClosestShownNonNullPointLowerIndexFirst) {
  TToolChart t;
  auto* nearest = t.Add<TNearestTool>();
  nearest->SetSeries(t.series);
  int changes = 0;
  nearest->OnChange = [&](TObject*) { ++changes; };
  const int x3 = t.series->PointXPixel(3), x4 = t.series->PointXPixel(4);
  const int y3 = t.series->PointYPixel(3), y4 = t.series->PointYPixel(4);
  MouseMove(&t.chart, x3 + 1, y3);
  EXPECT_EQ(nearest->Point, 3);
  EXPECT_EQ(TNearestTool::GetNearestPoint(t.series, (x3 + x4) / 2 + ((x3 + x4) % 2), (y3 + y4) / 2), 3);
  t.series->SetPointColor(3, clNone);
  t.chart.Pass();
  // A null point is never found; its neighbours lie at the same distance: the lower index.
  EXPECT_EQ(TNearestTool::GetNearestPoint(t.series, x3, y3), 2);
  EXPECT_EQ(TNearestTool::NearestPointIndex(t.series, x3, y3, true), 3);
  t.chart.BottomAxis()->SetRange(20, 30);  // every point scrolled away
  t.chart.Pass();
  EXPECT_EQ(TNearestTool::GetNearestPoint(t.series, x3, y3), -1);
  EXPECT_EQ(changes, 1);
}

TEST(AxisArrowTool, NoScrollWithoutPercentOrWhenRefused) {
  TToolChart t;
  TChartAxis* axis = t.chart.BottomAxis();
  axis->SetRange(0, 100);
  auto* arrows = t.Add<TAxisArrowTool>();
  arrows->SetAxis(axis);
  int clicks = 0, scrolls = 0;
  arrows->OnClick = [&](TAxisArrowTool*, bool) { ++clicks; };
  t.chart.OnScroll = [&](TObject*) { ++scrolls; };
  t.chart.Pass();
  const int x = axis->StartPixel + 5, y = axis->AxisLinePos;
  arrows->SetScrollPercent(0);
  Click(&t.chart, x, y);
  EXPECT_EQ(clicks, 0);
  EXPECT_EQ(axis->Minimum(), 0);
  t.chart.SetCursor(crDefault);
  MouseMove(&t.chart, x, y);
  EXPECT_EQ(t.chart.Cursor(), crHandPoint);  // the hover cursor still shows
  arrows->SetScrollPercent(10);
  t.chart.OnAllowScroll = [](TChartAxis*, double&, double&, bool& allow) { allow = false; };
  Click(&t.chart, x, y);
  EXPECT_EQ(axis->Minimum(), 0);
  EXPECT_EQ(scrolls, 0);
  EXPECT_EQ(clicks, 1);
}

TEST(ColorLineTool, StylesFollowTheAxisUntilADragAndAllowDragOffIgnoresTheMouse) {
  TToolChart t;
  TChartAxis* axis = t.chart.LeftAxis();
  auto* line = t.Add<TColorLineTool>();
  line->SetAxis(axis);
  line->SetStyle(clMaximum);
  axis->SetRange(0, 50);
  t.chart.Pass();
  EXPECT_EQ(line->LineValue(), 50);
  axis->SetRange(0, 80);
  EXPECT_EQ(line->LineValue(), 80);
  t.chart.Pass();
  const int p = axis->ValueToPixel(80), x = t.chart.ChartAreaCenterX;
  MouseDown(&t.chart, mbLeft, x, p + 1);
  MouseMove(&t.chart, x, p + 30);
  MouseUp(&t.chart, mbLeft, x, p + 30);
  EXPECT_EQ(line->Style(), clCustom);
  EXPECT_NEAR(line->Value(), axis->PixelToValue(p + 30), 1e-9);
  line->SetAllowDrag(false);
  t.chart.SetCursor(crDefault);
  MouseMove(&t.chart, x, p + 30);
  EXPECT_EQ(t.chart.Cursor(), crDefault);
  MouseDown(&t.chart, mbLeft, x, p + 30);
  EXPECT_FALSE(line->Dragging);
  MouseUp(&t.chart, mbLeft, x, p + 30);
}

// ---- Mark tips, drag marks, annotation, image -------------------------------------------------

TEST(MarksTipTool, ShowsTheMarkTextOfThePointUnderTheMouse) {
  TToolChart t;
  t.series->Pointer()->SetVisible(true);
  auto* tips = t.Add<TMarksTipTool>();
  tips->SetStyle(smsValue);
  t.chart.Pass();
  const int px = t.series->PointXPixel(3), py = t.series->PointYPixel(3);
  MouseMove(&t.chart, px, py);
  EXPECT_EQ(t.chart.Hint(), "30");
  EXPECT_EQ(t.series->Marks()->Style(), smsLabel);  // the series' own style is back
  int cancels = 0;
  tips->OnCancelHint = [&](TObject*) { ++cancels; };
  MouseMove(&t.chart, px + 40, py + 60);  // empty space
  EXPECT_EQ(t.chart.Hint(), "");
  EXPECT_EQ(cancels, 1);
  // With a second tip tool, empty space cancels nothing (the other may be showing a tip).
  t.Add<TMarksTipTool>()->SetActive(false);
  MouseMove(&t.chart, px, py);
  MouseMove(&t.chart, px + 40, py + 60);
  EXPECT_EQ(t.chart.Hint(), "30");
  // On click only: a move shows nothing, a press does.
  tips->SetMouseAction(mtmClick);
  MouseMove(&t.chart, t.series->PointXPixel(5), t.series->PointYPixel(5));
  EXPECT_EQ(t.chart.Hint(), "");
  MouseDown(&t.chart, mbLeft, t.series->PointXPixel(5), t.series->PointYPixel(5));
  MouseUp(&t.chart, mbLeft, t.series->PointXPixel(5), t.series->PointYPixel(5));
  EXPECT_EQ(t.chart.Hint(), "50");
  // The delay is the application's hint pause.
  tips->SetMouseDelay(123);
  EXPECT_EQ(Application->HintPause(), 123);
  tips->SetMouseDelay(500);
}

TEST(DragMarksTool, APressOnAMarkDragsItsBoxButNotItsPoint) {
  TToolChart t;
  t.series->Marks()->SetVisible(true);
  t.series->Marks()->SetStyle(smsValue);
  t.Add<TDragMarksTool>();
  t.chart.Pass();
  TSeriesMarkPosition* p = t.series->Marks()->Positions()->PositionAt(4);
  ASSERT_NE(p, nullptr);
  const TPoint box = p->LeftTop, from = p->ArrowFrom;
  const int x = box.X + p->Width / 2, y = box.Y + p->Height / 2;
  ASSERT_EQ(t.series->Marks()->MarkAtPoint(x, y), 4);
  MouseDown(&t.chart, mbLeft, x, y);
  MouseMove(&t.chart, x + 7, y - 5);
  MouseUp(&t.chart, mbLeft, x + 7, y - 5);
  EXPECT_TRUE(p->Custom);
  EXPECT_EQ(p->LeftTop.X, box.X + 7);
  EXPECT_EQ(p->LeftTop.Y, box.Y - 5);
  EXPECT_EQ(p->ArrowFrom, from);
}

TEST(AnnotationTool, BoxLayoutFollowsTextUnitsAndCallout) {
  TToolChart t;
  auto* a = t.Add<TAnnotationTool>();
  t.chart.PanelCanvas()->ApplyFont(a->Shape()->Font());
  const int lineH = t.chart.PanelCanvas()->TextHeight("W");
  const int blankW = t.chart.PanelCanvas()->TextWidth(" ");
  int lines, x, y;
  TRect box;
  a->CalcLayout(lines, x, y, box);  // empty text: a box for one blank
  EXPECT_EQ(lines, 1);
  EXPECT_EQ(box, TRect(6, 8, 6 + blankW + 6, 8 + lineH + 4));
  a->SetText(std::string("one") + LineSeparator + "two" + LineSeparator + "three");
  a->CalcLayout(lines, x, y, box);
  EXPECT_EQ(lines, 3);
  EXPECT_EQ(box.Bottom - box.Top, 3 * lineH + 4);
  a->SetPositionUnits(muPercent);
  a->SetLeft(50);
  a->SetTop(50);
  a->CalcLayout(lines, x, y, box);
  EXPECT_EQ(x, t.chart.Width() / 2);
  EXPECT_EQ(y, t.chart.Height() / 2);
  a->SetWidth(80);
  EXPECT_FALSE(a->AutoSize());
  // A callout target straight below the box starts at the middle of its bottom edge.
  EXPECT_EQ(AnnotationCalloutAnchor({10, 10, 50, 30}, {30, 90}), TPoint(30, 30));
  EXPECT_EQ(AnnotationCalloutAnchor({10, 10, 50, 30}, {0, 20}), TPoint(10, 20));
}

TEST(ChartImageTool, ThePictureCoversTheSeriesRangeOnly) {
  TToolChart t;
  auto* s = new TLineSeries(&t.chart);
  s->SetParentChart(&t.chart);
  s->AddXYPoint(1, 20);
  s->AddXYPoint(2, 60);
  auto* image = t.Add<TChartImageTool>();
  t.chart.Pass();
  EXPECT_EQ(t.chart.Rec->Count("StretchDraw"), 0);  // an empty picture draws nothing
  image->Picture()->Bitmap()->SetSize(4, 4);
  image->SetSeries(s);
  t.chart.Pass();
  const auto draws = t.chart.Rec->CallsOf("StretchDraw", 0);
  ASSERT_EQ(draws.size(), 1u);
  TChartAxis* h = t.chart.BottomAxis();
  EXPECT_EQ(draws[0].Arg(0), h->ValueToPixel(1));
  EXPECT_EQ(draws[0].Arg(2), h->ValueToPixel(2));  // a tenth of the axis 0..10
  EXPECT_EQ(draws[0].Arg(1), t.chart.LeftAxis()->ValueToPixel(60));
}

// ---- Figures on the retained surface -------------------------------------------------------------

struct TShownChart {
  TShownChart() {
    RegisterChartToolClasses();
    form = std::make_unique<TForm>(nullptr);
    form->SetBounds(0, 0, 460, 320);
    chart = new TChart(form.get());
    chart->SetParent(form.get());
    chart->SetBounds(0, 0, 400, 280);
    chart->SetView3D(false);
    chart->Legend()->SetVisible(false);
    chart->Zoom()->SetAllow(false);
    chart->SetAllowPanning(pmNone);
    series = new TLineSeries(chart);
    series->SetParentChart(chart);
    for (int i = 0; i <= 10; ++i) series->AddXYPoint(i, (i % 3) * 10);
    chart->OnAfterDraw = [this](TObject*) { ++renders; };
    form->Show();
    ProcessEvents();
    SurfacePixel(chart, 0, 0);
  }
  ~TShownChart() {
    form.reset();
    ProcessEvents();
  }
  std::vector<TColor> Picture() {
    std::vector<TColor> p;
    for (int y = 0; y < chart->Height(); ++y)
      for (int x = 0; x < chart->Width(); ++x) p.push_back(SurfacePixel(chart, x, y));
    return p;
  }
  std::unique_ptr<TForm> form;
  TChart* chart;
  TLineSeries* series;
  int renders = 0;
};

TEST(TransientFigures, ComeAndGoOnTheSurfaceWithoutARender) {
  {  // cursor lines following the mouse
    TShownChart s;
    auto* cursor = new TCursorTool(s.chart);
    s.chart->Tools()->AddTool(cursor);
    cursor->SetFollowMouse(true);
    s.chart->Invalidate();
    ProcessEvents();
    const int r = s.renders;
    ASSERT_GE(r, 1);
    const int cx = s.chart->ChartAreaCenterX + 30, cy = s.chart->ChartAreaCenterY + 20;
    const TColor at = SurfacePixel(s.chart, cx, cy + 7);
    MouseMove(s.chart, cx, cy);
    EXPECT_NE(SurfacePixel(s.chart, cx, cy + 7), at);  // the vertical line passes there
    MouseMove(s.chart, cx - 20, cy);
    EXPECT_EQ(SurfacePixel(s.chart, cx, cy + 7), at);  // erased where it was
    EXPECT_EQ(s.renders, r);
  }
  {  // the nearest marker, drawn and erased in not-XOR
    TShownChart s;
    auto* nearest = new TNearestTool(s.chart);
    s.chart->Tools()->AddTool(nearest);
    nearest->SetSeries(s.series);
    nearest->SetFullRepaint(false);
    nearest->SetDrawLine(false);
    nearest->SetStyle(hsRectangle);
    nearest->Pen()->SetStyle(psSolid);
    nearest->Pen()->SetColor(clRed);
    s.chart->Invalidate();
    ProcessEvents();
    const int r = s.renders;
    const auto before = s.Picture();
    const int px = s.series->PointXPixel(4), py = s.series->PointYPixel(4);
    MouseMove(s.chart, px + 1, py + 1);
    EXPECT_EQ(nearest->Point, 4);
    EXPECT_NE(s.Picture(), before);
    MouseLeave(s.chart);
    EXPECT_EQ(nearest->Point, -1);
    EXPECT_EQ(s.Picture(), before);
    EXPECT_EQ(s.renders, r);
  }
  {  // the rubber line of a new line
    TShownChart s;
    s.chart->Tools()->AddTool(new TDrawLineTool(s.chart));
    s.chart->Invalidate();
    ProcessEvents();
    const int r = s.renders;
    const auto before = s.Picture();
    const int x = s.chart->ChartAreaCenterX, y = s.chart->ChartAreaCenterY;
    MouseDown(s.chart, mbLeft, x, y);
    MouseMove(s.chart, x + 60, y + 30);
    EXPECT_NE(s.Picture(), before);
    MouseMove(s.chart, x, y);  // back to a single point
    MouseMove(s.chart, x, y);
    auto after = s.Picture();
    int differing = 0;
    for (size_t i = 0; i < before.size(); ++i) differing += after[i] != before[i];
    EXPECT_LE(differing, 1);  // at most the start pixel itself
    EXPECT_EQ(s.renders, r);
    MouseUp(s.chart, mbLeft, x, y);
  }
  {  // the rotation box of a 3D chart
    TShownChart s;
    s.chart->SetView3D(true);
    auto* rotate = new TRotateTool(s.chart);
    s.chart->Tools()->AddTool(rotate);
    rotate->Pen()->SetVisible(true);
    s.chart->Invalidate();
    ProcessEvents();
    const int r = s.renders;
    const auto before = s.Picture();
    MouseDown(s.chart, mbLeft, 100, 100);
    MouseMove(s.chart, 140, 90);
    ProcessEvents();
    EXPECT_NE(s.Picture(), before);
    rotate->DrawOutline();  // drawing it again takes it away
    EXPECT_EQ(s.Picture(), before);
    EXPECT_EQ(s.renders, r);
    rotate->DrawOutline();
    MouseUp(s.chart, mbLeft, 140, 90);
    ProcessEvents();
    SurfacePixel(s.chart, 0, 0);
    EXPECT_EQ(s.renders, r + 1);  // one render at the release
  }
}

// ---- Data table ---------------------------------------------------------------------------------

struct TTableChart {
  explicit TTableChart(int Series = 3) {
    RegisterChartToolClasses();
    for (int k = 0; k < Series; ++k) {
      auto* s = new TLineSeries(&chart);
      s->SetParentChart(&chart);
      for (int i = 0; i < 5; ++i) s->AddXYPoint(i, (k + 1) * 10 + i);
    }
    chart.BottomAxis()->SetIncrement(1);
    table = new TDataTableTool(&chart);
    chart.Tools()->AddTool(table);
    chart.Pass();
  }
  TSeriesTestChart chart;
  TDataTableTool* table;
};

TEST(DataTableTool, ThreeSeriesGiveThreeRowsBelowTheAxisLabels) {
  TTableChart t;
  TChartAxis* axis = t.chart.BottomAxis();
  t.chart.PanelCanvas()->ApplyFont(t.table->Font());
  const int c = t.chart.PanelCanvas()->TextHeight("W");
  EXPECT_EQ(t.table->Top(), axis->AxisLinePos);
  EXPECT_EQ(t.table->RowPosition(-1), axis->AxisLinePos + c + 10);
  // The values of each series in its row, centred under the labels.
  for (int k = 0; k < 3; ++k)
    for (int i = 0; i < 5; ++i) {
      const std::string text = std::to_string((k + 1) * 10 + i);
      bool found = false;
      for (const TCanvasCall& call : t.chart.Rec->CallsOf("TextOut"))
        if (call.Text == text && call.Arg(1) == axis->AxisLinePos + c * (k + 1) + 10) {
          found = true;
          EXPECT_EQ(call.Arg(0), axis->ValueToPixel(i)) << text;
        }
      EXPECT_TRUE(found) << text;
    }
}

TEST(DataTableTool, InvertedRowsAndEmptyCellsOfMissingOrNullPoints) {
  TTableChart t;
  TChartSeries* short_ = t.chart.SeriesAt(2);
  short_->RemovePoint(4);
  t.chart.SeriesAt(1)->SetPointColor(2, clNone);
  t.table->SetInverted(true);
  t.chart.Pass();
  t.chart.PanelCanvas()->ApplyFont(t.table->Font());
  const int c = t.chart.PanelCanvas()->TextHeight("W");
  const int line = t.chart.BottomAxis()->AxisLinePos;
  std::set<std::string> texts;
  for (const TCanvasCall& call : t.chart.Rec->CallsOf("TextOut")) {
    if (call.Arg(1) <= line + c) continue;  // the axes' own labels
    texts.insert(call.Text);
    if (call.Text == "30") EXPECT_EQ(call.Arg(1), line + c + 10);  // the last series first
    if (call.Text == "10") EXPECT_EQ(call.Arg(1), line + 3 * c + 10);
  }
  EXPECT_FALSE(texts.count("34"));  // a point the series does not have
  EXPECT_FALSE(texts.count("22"));  // a null point
  EXPECT_TRUE(texts.count("33"));
}

TEST(DataTableTool, AVerticalTableLeftAlignsItsCellsBesideTheRowLine) {
  RegisterChartToolClasses();
  TSeriesTestChart chart;
  auto* s = new THorizLineSeries(&chart);
  s->SetParentChart(&chart);
  for (int i = 0; i < 4; ++i) s->AddXYPoint(100 + i, i);  // X values along the bottom, Y along the left axis
  chart.LeftAxis()->SetRange(-0.5, 3.5);
  chart.LeftAxis()->SetIncrement(1);
  auto* table = new TDataTableTool(&chart);
  chart.Tools()->AddTool(table);
  chart.Pass();
  ASSERT_EQ(table->TableAxis(), chart.LeftAxis());
  EXPECT_EQ(table->Left(), chart.LeftAxis()->AxisLinePos);
  chart.PanelCanvas()->ApplyFont(table->Font());
  const int c = chart.PanelCanvas()->TextWidth("#.###");
  const int h = chart.PanelCanvas()->TextHeight("W");
  // The only row lies left of the axis, between c + 10 and 2c + 10 from its line;
  // its cells start 4 pixels right of the row's left line.
  const int x = chart.LeftAxis()->AxisLinePos - (2 * c + 10) + 4;
  int cells = 0;
  for (const TCanvasCall& call : chart.Rec->CallsOf("TextOut", 0)) {
    if (call.Text != "101" && call.Text != "102") continue;
    ++cells;
    EXPECT_EQ(call.Arg(0), x) << call.Text;
    EXPECT_EQ(call.TextAlign & (TA_CENTER | TA_RIGHT), 0u) << call.Text;
    EXPECT_EQ(call.Arg(1), chart.LeftAxis()->ValueToPixel(call.Text == "101" ? 1 : 2) - h / 2) << call.Text;
  }
  EXPECT_EQ(cells, 2);
}

TEST(DataTableTool, ReservesRoomOnlyForSeriesWithoutZValues) {
  TSeriesTestChart plain;
  auto* s = new TPoint3DSeries(&plain);
  s->SetParentChart(&plain);
  s->AddPoint3D(1, 1, 1);
  s->AddPoint3D(2, 2, 2);
  plain.Pass();
  const TRect without = plain.ChartArea;
  RegisterChartToolClasses();
  auto* table = new TDataTableTool(&plain);
  plain.Tools()->AddTool(table);
  plain.Pass();
  EXPECT_EQ(plain.ChartArea, without);
  EXPECT_EQ(table->TableSeriesCount(), 0);

  TTableChart t(1);
  const TRect with = t.chart.ChartArea;
  t.table->SetAutoPosition(false);
  t.chart.Pass();
  EXPECT_LT(with.Bottom, t.chart.ChartArea.Bottom);
}

TEST(DataTableTool, DateValuesUseTheShortDateAboveOneAndTheTimeBelow) {
  TTableChart t(1);
  TChartSeries* s = t.chart.SeriesAt(0);
  s->RemoveAllPoints();
  s->YValues()->SetDateTime(true);
  s->AddXYPoint(0, 45000.0);
  s->AddXYPoint(1, 0.5);
  t.chart.Pass();
  std::set<std::string> texts;
  for (const TCanvasCall& c : t.chart.Rec->CallsOf("TextOut")) texts.insert(c.Text);
  EXPECT_TRUE(texts.count(FormatDateTime(FormatSettings.ShortDateFormat, 45000.0)));
  EXPECT_TRUE(texts.count(FormatDateTime(FormatSettings.ShortTimeFormat, 0.5)));
}

TEST(ChartToolsGolden, DataTableAndColourBand) {
  TTableChart t;
  t.chart.SetBounds(0, 0, 400, 300);
  auto* band = new TColorBandTool(&t.chart);
  t.chart.Tools()->AddTool(band);
  band->SetAxis(t.chart.BottomAxis());
  band->SetStartValue(1);
  band->SetEndValue(2.5);
  band->SetColor(clYellow);
  band->SetTransparency(40);
  // Half a step of room at both ends: the first and last columns lie inside the axis.
  t.chart.BottomAxis()->SetRange(-0.5, 4.5);
  t.chart.Pass();
  ExpectMatchesGolden(*t.chart.Rec->Surface(), "series/tools_table_band.png");
}

// ---- Streaming ----------------------------------------------------------------------------------

TEST(ChartToolsStreaming, EveryRegisteredToolComesBackOnItsAxis) {
  RegisterChartToolClasses();
  RegisterStandardSeriesClasses();
  TComponent form(nullptr);
  auto* chart = new TChart(&form);
  chart->SetName("Chart1");
  auto* s = new TLineSeries(&form);
  s->SetName("Series1");
  s->SetParentChart(chart);
  s->AddXYPoint(1, 2);
  std::vector<std::string> names;
  for (int i = 0; i < ToolTypeRegistry()->Count(); ++i) {
    TClass c = ToolTypeRegistry()->ToolClassAt(i);
    auto* tool = dynamic_cast<TGrafCustomTool*>(c->CreateComponent(&form));
    if (!tool) continue;
    tool->SetName("Tool" + std::to_string(i));
    chart->Tools()->AddTool(tool);
    if (auto* a = dynamic_cast<TGrafCustomToolAxis*>(tool)) a->SetAxis(chart->RightAxis());
    names.push_back(c->Name());
  }
  auto* lineTool = dynamic_cast<TDrawLineTool*>(chart->Tools()->ToolAt(3));
  ASSERT_NE(lineTool, nullptr);
  auto* l = static_cast<TDrawLine*>(lineTool->Lines()->Add());
  l->SetX1(7.5);
  auto* image = dynamic_cast<TChartImageTool*>(chart->Tools()->ToolAt(8));
  ASSERT_NE(image, nullptr);
  image->Picture()->Bitmap()->SetSize(3, 2);
  auto* grid = dynamic_cast<TGridBandTool*>(chart->Tools()->ToolAt(12));
  ASSERT_NE(grid, nullptr);
  grid->Band2()->SetBackColor(clRed);
  grid->Band2()->SetTransparency(30);
  TMemoryStream m;
  WriteComponentToStream(m, chart);
  m.SetPosition(0);
  TComponent other(nullptr);
  auto* loaded = new TChart(&other);
  ReadComponentFromStream(m, loaded);
  ASSERT_EQ(loaded->Tools()->Count(), static_cast<int>(names.size()));
  for (int i = 0; i < loaded->Tools()->Count(); ++i) {
    TGrafCustomTool* t = loaded->Tools()->ToolAt(i);
    EXPECT_EQ(t->ClassName(), names[static_cast<size_t>(i)]);
    if (auto* a = dynamic_cast<TGrafCustomToolAxis*>(t)) EXPECT_EQ(a->Axis(), loaded->RightAxis()) << t->ClassName();
  }
  auto* lines = dynamic_cast<TDrawLineTool*>(loaded->Tools()->ToolAt(3));
  ASSERT_EQ(lines->Lines()->Count(), 1);
  EXPECT_EQ(lines->Lines()->GetLine(0)->X1(), 7.5);
  auto* picture = dynamic_cast<TChartImageTool*>(loaded->Tools()->ToolAt(8))->Picture();
  EXPECT_EQ(picture->Width(), 3);
  EXPECT_EQ(picture->Height(), 2);
  auto* band2 = dynamic_cast<TGridBandTool*>(loaded->Tools()->ToolAt(12))->Band2();
  EXPECT_EQ(band2->BackColor(), clRed);
  EXPECT_EQ(band2->Transparency(), 30);
}

TEST(ChartToolsStreaming, AnAxisIdNamingNoAxisIsRefused) {
  RegisterChartToolClasses();
  TComponent form(nullptr);
  auto* chart = new TChart(&form);
  chart->SetName("Chart1");
  auto* line = new TColorLineTool(&form);
  line->SetName("Line1");
  chart->Tools()->AddTool(line);
  line->SetAxis(chart->LeftAxis());
  TMemoryStream m;
  WriteComponentToStream(m, chart);
  // The stored index of the left axis becomes one the chart does not have.
  std::string bytes(reinterpret_cast<const char*>(m.Memory()), static_cast<size_t>(m.Size()));
  const size_t at = bytes.find("AxisID");
  ASSERT_NE(at, std::string::npos);
  const int index = chart->AxesList()->IndexOf(chart->LeftAxis());
  // "AxisID" then a type byte and the small integer.
  ASSERT_EQ(static_cast<unsigned char>(bytes[at + 7]), static_cast<unsigned>(index));
  bytes[at + 7] = 99;
  TMemoryStream bad;
  bad.Write(bytes.data(), static_cast<int64_t>(bytes.size()));
  bad.SetPosition(0);
  TComponent other(nullptr);
  auto* loaded = new TChart(&other);
  try {
    ReadComponentFromStream(bad, loaded);
    ADD_FAILURE() << "no error";
  } catch (const Exception& e) {
    EXPECT_NE(std::string(e.Message()).find("AxisID 99"), std::string::npos) << e.Message();
  }
}

// ---- Clip and animation guards --------------------------------------------------------------------

TEST(ClipSeriesTool, ChainsTheSeriesOwnHandlersAndGivesThemBack) {
  TToolChart t;
  int before = 0, after = 0;
  t.series->BeforeDrawValues = [&](TObject*) { ++before; };
  t.series->AfterDrawValues = [&](TObject*) { ++after; };
  auto* clip = t.Add<TClipSeriesTool>();
  clip->SetSeries(t.series);
  t.chart.Pass();
  EXPECT_EQ(before, 1);
  EXPECT_EQ(after, 1);
  EXPECT_EQ(t.chart.Rec->Count("ClipToRect", 0), 1);
  EXPECT_EQ(t.chart.PanelCanvas()->ClipDepth(), 0);
  clip->SetSeries(nullptr);
  t.chart.Pass();
  EXPECT_EQ(before, 2);  // the series' own handlers are back
  EXPECT_EQ(t.chart.Rec->Count("ClipToRect", 0), 0);
}

struct TAnimated {
  TAnimated() {
    tool = t.Add<TSeriesAnimationTool>();
    tool->SetSeries(t.series);
    TSeriesAnimationTool::ProcessMessagesHook = [] {};
  }
  ~TAnimated() { TSeriesAnimationTool::ProcessMessagesHook = nullptr; }
  std::vector<double> Values() {
    std::vector<double> v;
    for (int i = 0; i < t.series->PointCount(); ++i) v.push_back(t.series->YValueAt(i));
    return v;
  }
  TToolChart t;
  TSeriesAnimationTool* tool;
};

TEST(SeriesAnimationTool, FramesGroupsAndStops) {
  {
    TAnimated a;
    std::vector<int> steps;
    a.tool->SetSteps(100);
    a.tool->OnStep = [&](TSeriesAnimationTool*, int f) { steps.push_back(f); };
    const auto real = a.Values();
    a.tool->Execute();
    ASSERT_EQ(steps.size(), 101u);
    EXPECT_EQ(steps.front(), 0);
    EXPECT_EQ(steps.back(), 100);
    EXPECT_EQ(a.Values(), real);
    EXPECT_FALSE(a.tool->IsAnimating());
  }
  for (int stepsSetting : {0, -5}) {  // no steps: one frame showing the real values
    TAnimated a;
    a.tool->SetSteps(stepsSetting);
    const auto real = a.Values();
    std::vector<std::vector<double>> frames;
    a.tool->OnStep = [&](TSeriesAnimationTool*, int) { frames.push_back(a.Values()); };
    a.tool->Execute();
    ASSERT_EQ(frames.size(), 1u) << stepsSetting;
    EXPECT_EQ(frames[0], real);
  }
  {  // stopped from OnStep while looping: real values at once
    TAnimated a;
    a.tool->SetLoop(salCircular);
    const auto real = a.Values();
    a.tool->OnStep = [&](TSeriesAnimationTool* s, int f) {
      if (f == 10) s->StopAnimation();
    };
    a.tool->Execute();
    EXPECT_EQ(a.Values(), real);
  }
}

TEST(SeriesAnimationTool, EndsCleanlyWhenPointsChangeOrTheToolGoes) {
  {
    TAnimated a;
    int frames = 0;
    a.tool->OnStep = [&](TSeriesAnimationTool*, int f) {
      ++frames;
      if (f == 5) a.t.series->AddXYPoint(11, 110);
    };
    a.tool->Execute();
    EXPECT_EQ(frames, 6);  // the changed point count ends the run
    EXPECT_EQ(a.t.series->PointCount(), 12);
    EXPECT_FALSE(a.tool->IsAnimating());
  }
  {
    TAnimated a;
    TSeriesAnimationTool* tool = a.tool;
    tool->SetLoop(salOneWay);
    tool->OnStep = [&](TSeriesAnimationTool* s, int f) {
      if (f == 3) delete s;
    };
    const auto real = a.Values();
    tool->Execute();  // returns although its tool is gone
    EXPECT_EQ(a.t.chart.Tools()->Count(), 0);
    EXPECT_EQ(a.Values(), real);
    EXPECT_EQ(a.t.series->UpdateCount(), 0);
  }
  {
    TAnimated a;
    a.tool->SetLoop(salOneWay);
    a.tool->OnStep = [&](TSeriesAnimationTool*, int f) {
      if (f == 2) delete a.t.series;
    };
    a.tool->Execute();  // its series freed by a handler
    EXPECT_EQ(a.tool->Series(), nullptr);
    EXPECT_FALSE(a.tool->IsAnimating());
  }
}

}  // namespace
