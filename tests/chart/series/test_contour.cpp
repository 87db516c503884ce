// Contour series: the triangle cases of a cell, joining segments into
// lines, automatic levels, drawing (asserted on the recording canvas's log)
// and the level and point lookups.
#include <gtest/gtest.h>

#include <cmath>

#include "chart/series/grafcontour.h"
#include "platform/rtl/streams.h"
#include "platform/ui/streaming.h"
#include "seriestest.h"

namespace {

// A contour on a 2D test chart; Y(x, z) on columns 1..nx and rows 1..nz.
struct TContourScene {
  TContourScene(int nx, int nz, const std::function<double(int, int)>& y) {
    series = new TContourSeries(&chart);
    series->SetParentChart(&chart);
    series->Pen()->SetColor(clBlack);
    for (int z = 1; z <= nz; ++z)
      for (int x = 1; x <= nx; ++x) series->AddPoint3D(x, y(x, z), z);
  }
  const std::vector<TContourLine>& Lines(int level) const { return series->Levels()->GetLevel(level)->Lines; }
  TSeriesTestChart chart;
  TContourSeries* series;
};

double Row(int, int z) { return z == 1 ? 0 : 1; }

TEST(Contour, OneLevelAcrossOneCellIsOneJoinedLine) {
  TContourScene s(2, 2, Row);
  s.series->Levels()->AddLevel(clRed, 0.5);
  EXPECT_FALSE(s.series->AutomaticLevels());  // adding a level switched them off
  s.chart.Pass();
  ASSERT_EQ(s.Lines(0).size(), 1u);
  const TContourLine& line = s.Lines(0)[0];
  ASSERT_EQ(line.size(), 3u);  // two segments joined at the centre
  EXPECT_EQ(line[0].X, 1);
  EXPECT_EQ(line[1].X, 1.5);
  EXPECT_EQ(line[2].X, 2);
  for (const TContourPoint& p : line) EXPECT_EQ(p.Z, 1.5);
  // One polyline in the level's colour with the series pen, across the plot.
  const std::vector<TCanvasCall> calls = s.chart.CallsWithPen("Polyline", clRed);
  ASSERT_EQ(calls.size(), 1u);
  ASSERT_EQ(calls[0].Points.size(), 3u);
  EXPECT_EQ(calls[0].Points[0].Y, calls[0].Points[2].Y);
  EXPECT_LT(calls[0].Points[0].X, calls[0].Points[2].X);
}

TEST(Contour, LevelThroughCornersLeavesNoGap) {
  // The level equals the values of the middle column: segments run through
  // the vertices (both cells beside it give them) and join into one line
  // covering the whole column.
  TContourScene s(3, 3, [](int x, int) { return x - 1.0; });
  s.series->Levels()->AddLevel(clRed, 1);
  s.chart.Pass();
  ASSERT_EQ(s.Lines(0).size(), 1u);
  const TContourLine& line = s.Lines(0)[0];
  double lo = 99, hi = -99;
  for (const TContourPoint& p : line) {
    EXPECT_EQ(p.X, 2);
    lo = std::min(lo, p.Z);
    hi = std::max(hi, p.Z);
  }
  EXPECT_EQ(lo, 1);
  EXPECT_EQ(hi, 3);
}

TEST(Contour, AutomaticLevelsSpanTheValuesBelowTheLargest) {
  TContourScene s(11, 2, [](int x, int) { return x - 1.0; });
  s.series->SetColorEachPoint(true);
  s.series->CreateAutoLevels();
  ASSERT_EQ(s.series->Levels()->Count(), 10);
  for (int i = 0; i < 10; ++i) {
    EXPECT_EQ(s.series->Levels()->GetLevel(i)->UpToValue(), i);
    EXPECT_EQ(s.series->Levels()->GetLevel(i)->Color(), clDefault);  // drawn in the chart palette
  }
  EXPECT_TRUE(s.series->AutomaticLevels());
  // The legend lists the top level first.
  s.series->SetValueFormat("0");
  EXPECT_EQ(s.series->LegendEntryCount(), 10);
  EXPECT_EQ(s.series->ComposeLegendText(0, ltsPlain), "9");
  EXPECT_EQ(s.series->ComposeLegendText(9, ltsPlain), "0");
  // A pass draws each level in the chart's palette colour of its index.
  s.chart.Pass();
  EXPECT_EQ(s.chart.CallsWithPen("Polyline", s.chart.PaletteColor(3)).size(), 1u);
  // Editing a level from the program switches to manual levels.
  s.series->Levels()->GetLevel(2)->SetColor(clRed);
  EXPECT_FALSE(s.series->AutomaticLevels());
  EXPECT_EQ(s.series->NumLevels(), 10);
}

TEST(Contour, ClosedContourAroundAPeakIsOneLine) {
  TContourScene s(64, 64, [](int x, int z) {
    const double dx = x - 32.3, dz = z - 31.7;
    return std::exp(-(dx * dx + dz * dz) / (2 * 8.0 * 8.0));
  });
  for (double v : {0.2, 0.5, 0.9}) s.series->Levels()->AddLevel(clBlue, v);
  s.chart.Pass();
  for (int k = 0; k < 3; ++k) {
    ASSERT_EQ(s.Lines(k).size(), 1u) << k;
    const TContourLine& line = s.Lines(k)[0];
    EXPECT_GT(line.size(), 8u);
    EXPECT_NEAR(line.front().X, line.back().X, 0.001) << k;
    EXPECT_NEAR(line.front().Z, line.back().Z, 0.001) << k;
  }
  EXPECT_EQ(s.chart.CallsWithPen("Polyline", clBlue).size(), 3u);
}

TEST(Contour, QuickRejectionUsesTheExtremeLevelsInAnyOrder) {
  // Levels not ascending: 0.8 first, 0.2 last. The cell (values 0..0.3)
  // lies below the first level but still holds the last one.
  TContourScene s(2, 2, [](int, int z) { return z == 1 ? 0 : 0.3; });
  s.series->Levels()->AddLevel(clRed, 0.8);
  s.series->Levels()->AddLevel(clBlue, 0.2);
  s.chart.Pass();
  EXPECT_TRUE(s.Lines(0).empty());
  EXPECT_EQ(s.Lines(1).size(), 1u);
}

TEST(Contour, SmoothingDrawsFourPointsPerLinePoint) {
  TContourScene s(3, 2, Row);
  s.series->Levels()->AddLevel(clRed, 0.5);
  s.chart.Pass();
  ASSERT_EQ(s.Lines(0).size(), 1u);
  ASSERT_EQ(s.Lines(0)[0].size(), 5u);
  s.series->Smoothing()->SetActive(true);
  s.chart.Pass();
  const std::vector<TCanvasCall> calls = s.chart.CallsWithPen("Polyline", clRed);
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].Points.size(), 21u);
}

TEST(Contour, LevelAndPointUnderTheMouse) {
  TContourScene s(2, 2, Row);
  s.series->Levels()->AddLevel(clRed, 0.5);
  s.series->Levels()->AddLevel(clBlue, 0.75);
  s.chart.Pass();
  const std::vector<TCanvasCall> red = s.chart.CallsWithPen("Polyline", clRed);
  ASSERT_EQ(red.size(), 1u);
  const TPoint on = red[0].Points[1];
  EXPECT_EQ(s.series->LevelAtPoint(on.X, on.Y), 0);
  const int index = s.series->IndexAtPoint(on.X, on.Y);
  EXPECT_GE(index, 0);
  EXPECT_LT(index, s.series->PointCount());
  EXPECT_EQ(s.series->LevelAtPoint(on.X, on.Y + 40), -1);
  EXPECT_EQ(s.series->IndexAtPoint(on.X, on.Y + 40), -1);
}

TEST(Contour, ThreeDLinesLieAtTheirHeight) {
  TContourScene s(2, 2, Row);
  s.chart.SetView3D(true);
  s.series->Levels()->AddLevel(clRed, 0.5);
  s.series->SetYPosition(0.25);
  s.chart.Pass();
  const std::vector<TCanvasCall> moves = s.chart.CallsWithPen("MoveTo3D", clRed, 0);
  const std::vector<TCanvasCall> lines = s.chart.CallsWithPen("LineTo3D", clRed, 0);
  ASSERT_EQ(moves.size(), 1u);
  ASSERT_EQ(lines.size(), 2u);
  const int height = s.series->GetVertAxis()->ValueToPixelY(0.25);
  EXPECT_EQ(moves[0].Arg(1), height);
  for (const TCanvasCall& c : lines) EXPECT_EQ(c.Arg(1), height);
  EXPECT_EQ(moves[0].Arg(2), lines[1].Arg(2));        // the line runs along X at one depth
}

TEST(Contour, NothingWithoutPointsOrLevels) {
  TContourScene s(0, 0, Row);
  s.chart.Pass();
  EXPECT_EQ(s.chart.Rec->Count("Polyline", 0), 0);
  TContourScene t(2, 2, Row);
  t.series->SetNumLevels(0);
  t.chart.Pass();
  EXPECT_EQ(t.chart.CallsWithPen("Polyline", clBlack).size(), 0u);
}

}  // namespace

namespace {

TEST(Contour, ManualLevelsAreStoredWithTheSeries) {
  RegisterGridSeriesTypes();
  RegisterClasses({&TContourSeries::StaticClass()});
  TContourSeries a(nullptr);
  a.SetName("Map");
  EXPECT_EQ(ComponentToText(&a).find("Levels"), std::string::npos);  // automatic: not stored
  a.Levels()->AddLevel(clRed, 0.25);
  a.Levels()->AddLevel(clBlue, 0.75)->Pen()->SetWidth(3);
  a.SetYPosition(2.5);
  ASSERT_FALSE(a.AutomaticLevels());
  TMemoryStream m;
  WriteComponentToStream(m, &a);
  m.SetPosition(0);
  std::unique_ptr<TComponent> c(ReadComponentFromStream(m, nullptr));
  auto* b = dynamic_cast<TContourSeries*>(c.get());
  ASSERT_NE(b, nullptr);
  EXPECT_FALSE(b->AutomaticLevels());
  ASSERT_EQ(b->Levels()->Count(), 2);
  EXPECT_EQ(b->Levels()->GetLevel(0)->UpToValue(), 0.25);
  EXPECT_EQ(b->Levels()->GetLevel(1)->Color(), clBlue);
  EXPECT_FALSE(b->Levels()->GetLevel(0)->HasOwnPen());
  ASSERT_TRUE(b->Levels()->GetLevel(1)->HasOwnPen());
  EXPECT_EQ(b->Levels()->GetLevel(1)->Pen()->Width(), 3);
  EXPECT_EQ(b->YPosition(), 2.5);
}

TEST(Contour, LevelEventsAndHeights) {
  TContourScene s(2, 2, Row);
  s.chart.SetView3D(true);
  s.series->SetNumLevels(2);
  s.series->SetColorEachPoint(false);
  s.series->OnGetLevel = [](TContourSeries*, int i, double& v, TColor& c) {
    v = i == 0 ? 0.25 : 0.5;
    c = i == 0 ? clRed : clBlue;
  };
  std::vector<int> before;
  s.series->OnBeforeDrawLevel = [&](TContourSeries*, int i) { before.push_back(i); };
  s.series->SetYPositionLevel(true);
  s.chart.Pass();
  EXPECT_EQ(before, (std::vector<int>{0, 1}));
  EXPECT_TRUE(s.series->AutomaticLevels());
  const std::vector<TCanvasCall> red = s.chart.CallsWithPen("MoveTo3D", clRed, 0);
  const std::vector<TCanvasCall> blue = s.chart.CallsWithPen("MoveTo3D", clBlue, 0);
  ASSERT_EQ(red.size(), 1u);
  ASSERT_EQ(blue.size(), 1u);
  // Each level at the height of its own value.
  EXPECT_EQ(red[0].Arg(1), s.series->GetVertAxis()->ValueToPixelY(0.25));
  EXPECT_EQ(blue[0].Arg(1), s.series->GetVertAxis()->ValueToPixelY(0.5));
}

}  // namespace
