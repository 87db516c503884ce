// Series marks (texts, places, custom positions, overlap, hit test, items)
// and point symbols and callouts.
#include <gtest/gtest.h>

#include "chart/core/testseries.h"
#include "platform/ui/streaming.h"

namespace {

TTestSeries* AddSeries(TCustomChart& chart, std::vector<std::pair<double, double>> points) {
  auto* s = new TTestSeries(&chart);
  s->SetName("S");
  s->SetParentChart(&chart);
  for (auto [x, y] : points) s->AddXYPoint(x, y);
  return s;
}

TEST(MarkTexts, ByStyle) {
  TTestSeries s;
  s.AddXYPoint(1, 25, "");
  s.AddXYPoint(2, 75, "Feb");
  struct Case {
    TSeriesMarksStyle style;
    bool multiLine;
    int index;
    std::string text;
  };
  const Case cases[] = {
      {smsValue, false, 1, "75"},
      {smsLabel, false, 0, "25"},  // empty label: the value
      {smsLabel, false, 1, "Feb"},
      {smsLabelValue, true, 1, "Feb\r75"},
      {smsLabelPercent, false, 1, "Feb 75 %"},
      {smsPercentTotal, false, 0, "25 % of 100"},
      {smsPercentTotal, true, 0, "25 %\rof 100"},
      {smsXValue, false, 1, "2"},
      {smsXY, false, 1, "2 75"},
  };
  for (const Case& c : cases) {
    s.Marks()->SetStyle(c.style);
    s.Marks()->SetMultiLine(c.multiLine);
    EXPECT_EQ(s.BuildMarkText(c.index), c.text) << c.style;
  }
  s.OnGetMarkText = [](TChartSeries*, int index, std::string& text) { text += "!" + std::to_string(index); };
  s.Marks()->SetStyle(smsValue);
  EXPECT_EQ(s.BuildMarkText(0), "25!0");
  s.OnGetMarkText = nullptr;
  s.Marks()->Items()->ItemAt(1)->Text()->Add("line one");
  s.Marks()->Items()->ItemAt(1)->Text()->Add("line two");
  EXPECT_EQ(s.BuildMarkText(1), "line one\r\nline two");
}

TEST(Marks, DrawEveryNthVisiblePoint) {
  TTestChart chart;
  chart.SetView3D(false);
  auto* s = AddSeries(chart, {});
  for (int i = 0; i < 8; ++i) s->AddXYPoint(i, i);
  s->Marks()->SetVisible(true);
  s->Marks()->SetDrawEvery(3);
  std::vector<int> marked;
  s->OnGetMarkText = [&](TChartSeries*, int index, std::string&) { marked.push_back(index); };
  chart.Pass();
  EXPECT_EQ(marked, (std::vector<int>{0, 3, 6}));
  EXPECT_EQ(s->Marks()->Positions()->Count(), 7);
  // Null points and hidden items get no mark.
  marked.clear();
  s->SetPointColor(3, clNone);
  s->Marks()->Items()->ItemAt(6)->SetVisible(false);
  chart.Pass();
  EXPECT_EQ(marked, (std::vector<int>{0}));
}

TEST(Marks, CustomPositionsSurvivePointMoves) {
  TTestChart chart;
  chart.SetView3D(false);
  auto* s = AddSeries(chart, {{0, 0}, {1, 5}, {2, 10}});
  s->Marks()->SetVisible(true);
  chart.Pass();
  TSeriesMarkPosition placed = *s->Marks()->Positions()->PositionAt(1);
  placed.LeftTop = Point(30, 40);
  s->Marks()->Positions()->StoreCustom(1, placed);
  EXPECT_TRUE(s->Marks()->Positions()->HasCustom());
  s->YValues()->SetValue(1, 8);
  chart.Pass();
  EXPECT_EQ(s->Marks()->Positions()->PositionAt(1)->LeftTop, Point(30, 40));
  // A computed position with a fixed arrow keeps its own arrow start.
  TSeriesMarkPosition computed;
  computed.ArrowFix = true;
  computed.ArrowFrom = Point(1, 2);
  s->Marks()->ApplyCustomPosition(1, computed);
  EXPECT_EQ(computed.ArrowFrom, Point(1, 2));
  EXPECT_EQ(computed.LeftTop, Point(30, 40));
  s->Marks()->ClearCustomPositions();
  EXPECT_FALSE(s->Marks()->Positions()->HasCustom());
  s->RemoveAllPoints();
  EXPECT_EQ(s->Marks()->Positions()->Count(), 0);
}

TEST(Marks, LaterMarksMoveAwayFromOverlaps) {
  TTestChart chart;
  chart.SetView3D(false);
  auto* s = AddSeries(chart, {});
  TSeriesMarks* marks = s->Marks();
  marks->Pen()->SetVisible(false);
  marks->SetShadow(nullptr);
  TSeriesMarkPosition first;
  first.LeftTop = Point(100, 100);
  first.Width = 40;
  first.Height = 20;
  *marks->Positions()->EnsureAt(0) = first;
  struct Case {
    int top;
    int moved;
  };
  const Case cases[] = {{115, 120}, {85, 80}};  // below: down by 5; above: up by 5
  for (const Case& c : cases) {
    TSeriesMarkPosition p = first;
    p.LeftTop.Y = c.top;
    p.ArrowTo = Point(120, c.top + 20);
    marks->AvoidOverlap(0, 1, p);
    EXPECT_EQ(p.LeftTop.Y, c.moved) << c.top;
    EXPECT_EQ(p.ArrowTo.Y, c.top + 20 + c.moved - c.top) << c.top;
  }
}

TEST(Marks, RotatedMarksAreHitInsideTheirRotatedBox) {
  TTestChart chart;
  chart.SetView3D(false);
  auto* s = AddSeries(chart, {{0, 0}});
  TSeriesMarkPosition* p = s->Marks()->Positions()->EnsureAt(0);
  p->LeftTop = Point(100, 100);
  p->Width = 60;
  p->Height = 10;
  EXPECT_EQ(s->Marks()->MarkAtPoint(158, 101), 0);  // a corner of the upright box
  EXPECT_EQ(s->Marks()->MarkAtPoint(160, 110), 0);  // edges included
  s->Marks()->SetAngle(45);
  EXPECT_EQ(s->Marks()->MarkAtPoint(158, 101), -1);
  EXPECT_EQ(s->Marks()->MarkAtPoint(130, 105), 0);  // the centre stays inside
}

TEST(Marks, ItemsTravelWithTheSeries) {
  RegisterTestChartClasses();
  TTestSeries a;
  a.SetName("A");
  a.AddXYPoint(0, 1);
  a.AddXYPoint(1, 2);
  a.Marks()->Items()->ItemAt(1)->SetColor(clRed);
  a.Marks()->Items()->ItemAt(1)->Text()->Add("special");
  TMemoryStream m;
  WriteComponentToStream(m, &a);
  m.SetPosition(0);
  std::unique_ptr<TComponent> c(ReadComponentFromStream(m, nullptr));
  auto* b = dynamic_cast<TTestSeries*>(c.get());
  ASSERT_NE(b, nullptr);
  ASSERT_EQ(b->Marks()->Items()->Count(), 2);
  EXPECT_TRUE(b->Marks()->Items()->ItemsLoaded);
  TMarksItem* item = b->Marks()->Items()->Peek(1);
  ASSERT_NE(item, nullptr);
  EXPECT_EQ(item->Color(), clRed);
  EXPECT_EQ(b->BuildMarkText(1), "special");
  b->RemoveAllPoints();  // loaded items survive
  EXPECT_EQ(b->Marks()->Items()->Count(), 2);
}

// ---- Pointers and callouts ------------------------------------------------------------------

struct TPointerScene {
  TPointerScene() {
    chart = std::make_unique<TTestChart>();
    chart->SetView3D(false);
    series = AddSeries(*chart, {});
    pointer = std::make_unique<TSeriesPointer>(series);
    rec = chart->Rec;
    rec->StartPass(chart->View3DOptions(), false, Rect(0, 0, 400, 250), 0);
    rec->Clear();
  }
  std::unique_ptr<TTestChart> chart;
  TTestSeries* series;
  std::unique_ptr<TSeriesPointer> pointer;
  TRecordingCanvas* rec;
};

TEST(Pointer, ShapesByStyle) {
  TPointerScene s;
  s.pointer->DrawShapeAt(s.rec, false, 50, 50, 4, 4, clRed, psRectangle);
  s.pointer->DrawShapeAt(s.rec, false, 50, 50, 4, 3, clRed, psDownTriangle);
  s.pointer->DrawShapeAt(s.rec, false, 50, 50, 4, 4, clRed, psNothing);
  const std::vector<std::string> log = s.rec->Log(0);
  ASSERT_EQ(log.size(), 2u);
  EXPECT_EQ(log[0], "Rectangle(46,46,55,55)");
  EXPECT_EQ(log[1], "Polygon[(46,47),(54,47),(50,53)]");  // apex at y + v
}

TEST(Pointer, CanvasSetUpFromThePointColour) {
  TPointerScene s;
  s.pointer->Pen()->SetVisible(false);
  s.pointer->SetBrushColor(clDefault);
  s.pointer->SetupCanvas(s.rec, clGreen);
  s.pointer->DrawShapeAt(s.rec, false, 20, 20, 2, 2, clGreen, psRectangle);
  const TCanvasCall c = s.rec->CallsOf("Rectangle", 0).back();
  EXPECT_EQ(c.BrushColor, clGreen);
  EXPECT_EQ(c.BrushStyle, bsSolid);
  EXPECT_EQ(c.PenStyle, psClear);
}

TEST(Pointer, MarginsAndSizeChecks) {
  TSeriesPointer p;
  p.SetHorizSize(6);
  int l = 3, r = 3;
  p.WidenHorizMargins(l, r);
  EXPECT_EQ(l, 7);
  EXPECT_EQ(r, 7);
  p.SetInflateMargins(false);
  l = r = 3;
  p.WidenHorizMargins(l, r);
  EXPECT_EQ(l, 3);
  try {
    p.SetVertSize(0);
    FAIL();
  } catch (const ChartException& e) {
    EXPECT_STREQ(e.what(), "Pointer size must be greater than zero");
  }
  EXPECT_EQ(p.VertSize(), 4);
}

TEST(Pointer, TransparencyBlendsTheShape) {
  TPointerScene s;
  s.pointer->SetTransparency(50);
  s.pointer->DrawShapeAt(s.rec, false, 50, 50, 4, 4, clRed, psRectangle);
  EXPECT_EQ(s.rec->Count("BeginBlending", 0), 1);
  EXPECT_EQ(s.rec->Count("EndBlending", 0), 1);
}

TEST(Callout, PointerOnlyWithoutArrowHead) {
  TPointerScene s;
  TCallout callout(s.series);
  callout.SetArrowHead(ahSolid);
  callout.PaintArrow(clRed, Point(10, 10), 0, Point(60, 40));
  EXPECT_EQ(s.rec->Count("Arrow", 0), 1);
  EXPECT_EQ(s.rec->Count("Rectangle", 0), 0);
  s.rec->Clear();
  callout.SetArrowHead(ahNone);
  callout.PaintArrow(clRed, Point(10, 10), 0, Point(60, 40));
  EXPECT_EQ(s.rec->Count("LineFromTo", 0), 1);
  ASSERT_EQ(s.rec->Count("Rectangle", 0), 1);
  EXPECT_EQ(s.rec->Log(0).back(), "Rectangle(6,6,15,15)");
}

TEST(Callout, MarksCalloutLengthLiftsTheBox) {
  TMarksCallout callout;
  callout.SetDistance(3);
  TSeriesMarkPosition p;
  p.LeftTop = Point(0, 100);
  p.ArrowTo = Point(0, 100);
  p.ArrowFrom = Point(0, 100);
  callout.ExtendToCalloutLength(p);
  EXPECT_EQ(p.LeftTop.Y, 100 - 8 - 3);
  EXPECT_EQ(p.ArrowTo.Y, 100 - 8 - 3);
  EXPECT_EQ(p.ArrowFrom.Y, 97);
}

}  // namespace
