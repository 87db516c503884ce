// 3D point and bubble series: pointers at their depth, link and base lines,
// null points, the pointer hit test, bubble sizes and extents.
#include <gtest/gtest.h>

#include <random>

#include "chart/series/grafpoin3.h"
#include "seriestest.h"

namespace {

struct TPointScene {
  explicit TPointScene(bool bubbles = false) {
    chart.SetView3D(true);
    series = bubbles ? new TBubble3DSeries(&chart) : new TPoint3DSeries(&chart);
    series->SetParentChart(&chart);
    series->LinePen()->SetColor(clRed);
    series->Pointer()->Pen()->SetColor(clBlue);
  }
  TSeriesTestChart chart;
  TPoint3DSeries* series;
};

TEST(Point3D, DepthSizeZeroStillGivesHalfDepthOne) {
  TPointScene s;
  s.series->AddPoint3D(1, 1, 1);
  s.series->AddPoint3D(2, 2, 2);
  s.chart.Pass();
  const std::vector<TCanvasCall> cubes = s.chart.CallsWithPen("Cube", clBlue, 0);
  ASSERT_EQ(cubes.size(), 2u);
  for (int i = 0; i < 2; ++i) {
    const TCanvasCall& c = cubes[static_cast<size_t>(i)];
    EXPECT_EQ(c.Arg(5) - c.Arg(4), 2);  // front and back depth
    EXPECT_EQ(c.Arg(4) + 1, s.series->ZPixel(i));
  }
  // A wider depth in Z units.
  s.series->SetDepthSize(1);
  s.chart.Pass();
  const int half = s.chart.DepthAxis()->SizeToPixels(1) / 2;
  ASSERT_GT(half, 1);
  EXPECT_EQ(s.chart.CallsWithPen("Cube", clBlue, 0)[0].Arg(5) - s.chart.CallsWithPen("Cube", clBlue, 0)[0].Arg(4),
            2 * half);
}

TEST(Point3D, NullPointIsSkippedAndTheLinkStartsFromTheLastDrawnPoint) {
  TPointScene s;
  s.series->AddPoint3D(1, 1, 1);
  s.series->AddLabeledPoint3D(2, 5, 1, "", clNone);
  s.series->AddPoint3D(3, 2, 1);
  s.chart.Pass();
  EXPECT_EQ(s.chart.CallsWithPen("Cube", clBlue, 0).size(), 2u);
  const std::vector<TCanvasCall> moves = s.chart.CallsWithPen("MoveTo3D", clRed, 0);
  const std::vector<TCanvasCall> lines = s.chart.CallsWithPen("LineTo3D", clRed, 0);
  ASSERT_EQ(moves.size(), 1u);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(moves[0].Arg(0), s.series->PointXPixel(0));
  EXPECT_EQ(moves[0].Arg(1), s.series->PointYPixel(0));
  EXPECT_EQ(lines[0].Arg(0), s.series->PointXPixel(2));
  EXPECT_EQ(lines[0].Arg(1), s.series->PointYPixel(2));
  // A null first point: no line from a point never drawn.
  TPointScene t;
  t.series->AddLabeledPoint3D(1, 5, 1, "", clNone);
  t.series->AddPoint3D(2, 1, 1);
  t.chart.Pass();
  EXPECT_EQ(t.chart.CallsWithPen("LineTo3D", clRed, 0).size(), 0u);
}

TEST(Point3D, BaseLineOnlyAboveTheAxisBottom) {
  TPointScene s;
  s.series->BaseLine()->SetVisible(true);
  s.series->BaseLine()->SetColor(clGreen);
  s.series->LinePen()->SetVisible(false);
  s.series->AddPoint3D(1, 10, 1);
  s.series->AddPoint3D(2, 0, 1);  // at the axis minimum: its pointer reaches the bottom
  s.series->GetVertAxis()->SetRange(0, 20);
  s.chart.Pass();
  const std::vector<TCanvasCall> drops = s.chart.CallsWithPen("LineTo3D", clGreen, 0);
  ASSERT_EQ(drops.size(), 1u);
  EXPECT_EQ(drops[0].Arg(1), s.series->GetVertAxis()->EndPixel);
  EXPECT_EQ(drops[0].Arg(0), s.series->PointXPixel(0));
}

TEST(Point3D, ClickOnPointers) {
  TPointScene s;
  s.chart.SetView3D(false);
  s.series->AddPoint3D(1, 1, 1);
  s.series->AddPoint3D(1.001, 1, 1);  // overlapping the first
  s.series->AddPoint3D(3, 3, 1);
  s.chart.Pass();
  std::vector<int> clicked;
  s.series->OnClickPointer = [&](TPoint3DSeries*, int i, int, int) { clicked.push_back(i); };
  EXPECT_EQ(s.series->IndexAtPoint(s.series->PointXPixel(1), s.series->PointYPixel(1)), 0);
  EXPECT_EQ(s.series->IndexAtPoint(s.series->PointXPixel(2) + 2, s.series->PointYPixel(2) - 3), 2);
  EXPECT_EQ(s.series->IndexAtPoint(0, 0), -1);
  EXPECT_EQ(clicked, (std::vector<int>{0, 2}));
}

TEST(Point3D, BubbleSizesAndExtents) {
  TPointScene s(true);
  auto* b = static_cast<TBubble3DSeries*>(s.series);
  b->AddBubble(1, 10, 1, 5);
  b->AddBubble(2, 12, 3, 1);
  EXPECT_EQ(b->LargestY(), 15);
  EXPECT_EQ(b->SmallestY(), 5);
  EXPECT_EQ(b->LargestZ(), 6);
  EXPECT_EQ(b->SmallestZ(), -4);
  EXPECT_FALSE(b->Pen()->Visible());
  EXPECT_EQ(b->Pointer()->Style(), psCircle);
  // Radius 0 on the depth axis still has half depth 1.
  TPointScene t(true);
  auto* z = static_cast<TBubble3DSeries*>(t.series);
  z->AddBubble(1, 1, 1, 0);
  z->AddBubble(2, 2, 2, 0);
  t.chart.Pass();
  z->CalcZPositions(0);
  EXPECT_EQ(z->MiddleZ - z->StartZ, 1);
  EXPECT_EQ(z->EndZ - z->MiddleZ, 1);
}

TEST(Point3D, SamplePointsFromAnInjectedGenerator) {
  auto make = [](unsigned seed) {
    auto s = std::make_unique<TPoint3DSeries>(nullptr);
    auto gen = std::make_shared<std::mt19937>(seed);
    s->SampleRandom = [gen](int range) { return static_cast<int>((*gen)() % static_cast<unsigned>(range)); };
    s->GenerateRandomPoints(20, false);
    return s;
  };
  auto a = make(7), b = make(7);
  ASSERT_EQ(a->PointCount(), 20);
  for (int i = 0; i < 20; ++i) {
    EXPECT_EQ(a->XValueAt(i), b->XValueAt(i));
    EXPECT_EQ(a->ZValueAt(i), b->ZValueAt(i));
    EXPECT_GE(a->YValueAt(i), 0);
    EXPECT_LT(a->YValueAt(i), 100);
  }
}

}  // namespace

namespace {

TEST(Point3D, RegisteredOnTheThreeDPage) {
  RegisterPoint3DSeriesTypes();
  const std::pair<TClass, const char*> types[] = {{&TPoint3DSeries::StaticClass(), "Point 3D"},
                                                  {&TBubble3DSeries::StaticClass(), "Bubble 3D"}};
  for (auto [cls, text] : types) {
    TGrafSeriesType* t = SeriesTypeRegistry()->EntryForClass(cls);
    ASSERT_NE(t, nullptr) << text;
    EXPECT_EQ(*t->Description, text);
    EXPECT_EQ(*t->GalleryPage, "3D");
  }
}

}  // namespace
