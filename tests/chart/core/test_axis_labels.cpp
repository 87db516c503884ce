// Axis labels: increments, styles, texts and what the drawn labels say.
#include <gtest/gtest.h>

#include <cmath>

#include "chart/core/testseries.h"

namespace {

// A canvas whose texts are all the same width.
class TFixedWidthCanvas : public TRecordingCanvas {
public:
  TFixedWidthCanvas(int w, int h, int textWidth) : TRecordingCanvas(w, h), FTextWidth(textWidth) {}
  int TextWidth(const std::string&) override { return FTextWidth; }

private:
  int FTextWidth;
};

void Place(TChartAxis* axis, double lo, double hi, int start, int end) {
  axis->SetRange(lo, hi);
  axis->UpdateMinMax();
  axis->StartPixel = start;
  axis->EndPixel = end;
  axis->RecalcSizeAndCenter();
}

// The texts the axis drew, in drawing order.
std::vector<std::string> DrawnTexts(TTestChart& chart, TChartAxis* axis) {
  chart.Rec->StartPass(chart.View3DOptions(), false, chart.ChartArea, 0);
  chart.Rec->Clear();
  axis->DrawAxis(false);
  std::vector<std::string> texts;
  for (const TCanvasCall& c : chart.Rec->CallsAt(0))
    if (c.Op == "TextOut3D" || c.Op == "TextOut" || c.Op == "RotateLabel3D") texts.push_back(c.Text);
  return texts;
}

TEST(AxisLabelSteps, NextNiceStep) {
  const std::pair<double, double> cases[] = {{0.03, 0.05}, {7, 10}, {10, 20}, {1, 2}, {2, 5}, {450, 500}, {1e-7, 2e-7}};
  for (auto [x, next] : cases) EXPECT_NEAR(TChartAxis::NextNiceStep(x), next, next * 1e-12) << x;
  EXPECT_EQ(TChartAxis::NextNiceStep(INFINITY), 1);
}

TEST(AxisLabelSteps, TwentyFivePixelLabelsOnFourHundredPixels) {
  TTestChart chart(nullptr, 500, 300, false);
  auto canvas = std::make_unique<TFixedWidthCanvas>(500, 300, 25);
  auto* rec = canvas.get();
  chart.ReplaceCanvas(std::move(canvas));
  chart.Rec = rec;
  chart.ChartArea = Rect(0, 0, 400, 200);
  chart.NormalizeChartRect();
  TChartAxis* a = chart.BottomAxis();
  a->SetLabelStyle(talValue);
  Place(a, 0, 100, 0, 400);
  EXPECT_DOUBLE_EQ(a->ComputeLabelStep(), 10);
  a->AxisLinePos = 200;
  a->LabelsPos = 205;
  const std::vector<std::string> texts = DrawnTexts(chart, a);
  const std::vector<std::string> expected = {"100", "90", "80", "70", "60", "50", "40", "30", "20", "10", "0"};
  EXPECT_EQ(texts, expected);
  EXPECT_EQ(a->TickPositions.size(), 11u);
  // Alternating rows fit twice as many labels.
  a->SetLabelsAlternate(true);
  EXPECT_DOUBLE_EQ(a->ComputeLabelStep(), 5);
}

TEST(AxisLabelSteps, ValueStepsForCounts) {
  TTestChart chart;
  TChartAxis* a = chart.BottomAxis();
  Place(a, 0, 100, 0, 400);
  EXPECT_DOUBLE_EQ(a->LabelStepForCount(15), 10);
  EXPECT_DOUBLE_EQ(a->LabelStepForCount(0), 1e-12);
  a->SetLabelsSeparation(0);  // the first estimate is kept
  EXPECT_DOUBLE_EQ(a->LabelStepForCount(15), 100.0 / 16);
  a->SetIncrement(30);
  EXPECT_DOUBLE_EQ(a->LabelStepForCount(15), 30);
  a->SetIncrement(0);
  a->SetLabelsSeparation(10);
  a->WorkMinimum = a->WorkMaximum = 5;
  a->RecalcRange();
  EXPECT_DOUBLE_EQ(a->LabelStepForCount(10), 1.0);
}

TEST(AxisLabelSteps, ThreeDaysWithRoomForTenLabelsStepByTwelveHours) {
  TTestChart chart;
  TChartAxis* a = chart.BottomAxis();
  Place(a, 40000, 40003, 0, 400);
  a->IsDateTimeAxis = true;
  EXPECT_NEAR(a->LabelStepForCount(10), 0.5, 1e-12);
  EXPECT_NEAR(a->LabelStepForCount(0), DateTimeStep[dtOneMicroSecond], 1e-18);
  a->WorkMinimum = a->WorkMaximum = 40000;
  a->RecalcRange();
  EXPECT_GE(a->LabelStepForCount(10), DateTimeStep[dtOneMicroSecond]);
}

TEST(AxisLabelTexts, LogarithmicLabels) {
  TTestChart chart;
  chart.ChartArea = Rect(0, 0, 300, 200);
  chart.NormalizeChartRect();
  TChartAxis* a = chart.BottomAxis();
  a->SetLabelStyle(talValue);
  a->SetLogarithmic(true);
  Place(a, 1, 1000, 0, 300);
  a->AxisLinePos = 200;
  a->LabelsPos = 205;
  EXPECT_EQ(DrawnTexts(chart, a), (std::vector<std::string>{"1", "10", "100", "1,000"}));
  // Within one decade the labels step by a tenth of the lower power.
  Place(a, 2, 8, 0, 300);
  const std::vector<std::string> texts = DrawnTexts(chart, a);
  ASSERT_EQ(texts.size(), 61u);
  EXPECT_EQ(texts.front(), "2");
  EXPECT_EQ(texts[10], "3");
  EXPECT_EQ(texts.back(), "8");
}

TEST(AxisLabelTexts, FirstLabelIsAMultipleOfTheIncrement) {
  TTestChart chart;
  chart.ChartArea = Rect(0, 0, 300, 200);
  chart.NormalizeChartRect();
  TChartAxis* a = chart.BottomAxis();
  a->SetLabelStyle(talValue);
  a->SetIncrement(0.1);
  Place(a, 0.03, 0.97, 0, 300);
  a->AxisLinePos = 200;
  a->LabelsPos = 205;
  std::vector<std::string> texts = DrawnTexts(chart, a);
  ASSERT_FALSE(texts.empty());
  EXPECT_EQ(texts.front(), "0.9");
  EXPECT_EQ(texts.back(), "0.1");
  a->SetRoundFirstLabel(false);
  texts = DrawnTexts(chart, a);
  EXPECT_EQ(texts.front(), "0.97");
}

TEST(AxisLabelTexts, NextLabelEventSuppliesValuesOrFallsBack) {
  TTestChart chart;
  chart.ChartArea = Rect(0, 0, 300, 200);
  chart.NormalizeChartRect();
  TChartAxis* a = chart.BottomAxis();
  a->SetLabelStyle(talValue);
  Place(a, 0, 10, 0, 300);
  a->AxisLinePos = 200;
  a->LabelsPos = 205;
  int calls = 0;
  chart.OnGetNextAxisLabel = [&](TChartAxis*, int index, double& value, bool& stop) {
    ++calls;
    stop = index >= 3;
    value = index * 3.0;
  };
  EXPECT_EQ(DrawnTexts(chart, a), (std::vector<std::string>{"0", "3", "6"}));
  EXPECT_EQ(calls, 4);
  calls = 0;
  chart.OnGetNextAxisLabel = [&](TChartAxis*, int, double&, bool&) { ++calls; };  // never clears Stop
  const std::vector<std::string> texts = DrawnTexts(chart, a);
  EXPECT_EQ(calls, 1);
  ASSERT_FALSE(texts.empty());
  EXPECT_EQ(texts.front(), "10");
  // A handler that never stops is asked at most 2001 times.
  calls = 0;
  chart.OnGetNextAxisLabel = [&](TChartAxis*, int, double& value, bool& stop) {
    ++calls;
    stop = false;
    value = 5;
  };
  DrawnTexts(chart, a);
  EXPECT_EQ(calls, 2001);
}

TEST(AxisLabelTexts, GetAxisLabelAndMultiLine) {
  TTestChart chart;
  TChartAxis* a = chart.BottomAxis();
  chart.OnGetAxisLabel = [](TChartAxis*, TChartSeries* s, int index, std::string& text) {
    if (!s && index == -1) text = "<" + text + " u>";
  };
  EXPECT_EQ(a->FormatLabelValue(1234.5), "<1,234.5 u>");
  a->SetLabelsMultiLine(true);
  EXPECT_EQ(a->FormatLabelValue(2), "<2\ru>");
  EXPECT_EQ(TChartAxis::TextLineCount(""), 0);
  EXPECT_EQ(TChartAxis::TextLineCount("a"), 1);
  EXPECT_EQ(TChartAxis::TextLineCount("a\rb"), 2);
  EXPECT_EQ(TChartAxis::TextLineCount("a\r"), 1);
  a->IsDateTimeAxis = true;
  EXPECT_EQ(a->FormatLabelValue(-1), "<\ru>");
}

TEST(AxisLabelTexts, ExponentLabelsRaiseTheExponent) {
  TTestChart chart;
  chart.ChartArea = Rect(0, 0, 300, 200);
  chart.NormalizeChartRect();
  TChartAxis* a = chart.BottomAxis();
  a->SetLabelStyle(talValue);
  a->SetLabelsExponent(true);
  a->SetAxisValuesFormat("0.0E+00");
  a->SetIncrement(1500);
  Place(a, 1500, 1500 + 1e-10, 0, 300);
  a->AxisLinePos = 200;
  a->LabelsPos = 205;
  chart.Rec->StartPass(chart.View3DOptions(), false, chart.ChartArea, 0);
  chart.Rec->Clear();
  a->DrawAxis(false);
  std::vector<TCanvasCall> texts;
  for (const TCanvasCall& c : chart.Rec->CallsOf("TextOut3D", 0)) texts.push_back(c);
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0].Text, "+03");
  EXPECT_EQ(texts[1].Text, "1.5");
  EXPECT_LT(texts[0].FontSize, texts[1].FontSize);
  EXPECT_LT(texts[0].Arg(1), texts[1].Arg(1));  // raised
}

TEST(AxisLabelStyles, ResolvedFromTheSeries) {
  TTestChart chart;
  EXPECT_EQ(chart.BottomAxis()->ResolveLabelStyle(), talNone);
  auto* s = new TTestSeries(&chart);
  s->SetParentChart(&chart);
  s->AddXYPoint(1, 1);
  EXPECT_EQ(chart.BottomAxis()->ResolveLabelStyle(), talValue);
  EXPECT_EQ(chart.LeftAxis()->ResolveLabelStyle(), talValue);
  s->AddXYPoint(2, 2, "two");
  EXPECT_EQ(chart.BottomAxis()->ResolveLabelStyle(), talText);
  EXPECT_EQ(chart.LeftAxis()->ResolveLabelStyle(), talValue);
  EXPECT_EQ(chart.DepthAxis()->ResolveLabelStyle(), talText);
  s->OwnDepth = true;
  EXPECT_EQ(chart.DepthAxis()->ResolveLabelStyle(), talValue);
}

TEST(AxisLabelTexts, PointLabelsSkipOverlaps) {
  TTestChart chart;
  chart.ChartArea = Rect(0, 0, 300, 200);
  chart.NormalizeChartRect();
  auto* s = new TTestSeries(&chart);
  s->SetParentChart(&chart);
  s->AddXYPoint(0, 1, "Alpha");
  s->AddXYPoint(0.1, 1, "Beta");  // far too close to Alpha
  s->AddXYPoint(5, 1, "Gamma");
  TChartAxis* a = chart.BottomAxis();
  Place(a, 0, 10, 0, 300);
  a->AxisLinePos = 200;
  a->LabelsPos = 205;
  EXPECT_EQ(DrawnTexts(chart, a), (std::vector<std::string>{"Alpha", "Gamma"}));
  a->SetTickOnLabelsOnly(false);
  DrawnTexts(chart, a);
  EXPECT_EQ(a->TickPositions.size(), 3u);  // the skipped label keeps its tick
}

}  // namespace

namespace {

TEST(AxisDrawing, TicksGridAndMinorTicksIn2D) {
  TTestChart chart;
  chart.SetView3D(false);
  chart.ChartArea = Rect(0, 0, 300, 200);
  chart.NormalizeChartRect();
  TChartAxis* a = chart.BottomAxis();
  a->SetLabelStyle(talValue);
  a->SetIncrement(2);
  a->Grid()->SetVisible(true);
  Place(a, 0, 10, 0, 300);
  a->AxisLinePos = 200;
  a->LabelsPos = 205;
  DrawnTexts(chart, a);
  ASSERT_EQ(a->TickPositions.size(), 6u);
  std::vector<int> gridX;
  for (const TCanvasCall& c : chart.Rec->CallsOf("VerticalLine", 0))
    if (c.Arg(1) == 1 && c.Arg(2) == 200) gridX.push_back(c.Arg(0));
  // Grid lines inside the axis only: 10 and 0 sit on its ends.
  EXPECT_EQ(gridX, (std::vector<int>{240, 180, 120, 60}));
  a->SetGridCentered(true);
  DrawnTexts(chart, a);
  gridX.clear();
  for (const TCanvasCall& c : chart.Rec->CallsOf("VerticalLine", 0))
    if (c.Arg(1) == 1 && c.Arg(2) == 200) gridX.push_back(c.Arg(0));
  EXPECT_EQ(gridX, (std::vector<int>{270, 210, 150, 90, 30}));
  // Minor ticks: three between each pair of ticks.
  a->SetGridCentered(false);
  a->Grid()->SetVisible(false);
  DrawnTexts(chart, a);
  int minor = 0;
  for (const TCanvasCall& c : chart.Rec->CallsOf("LineAtDepth", 0))
    if (c.Arg(1) == 201 && c.Arg(3) == 203) ++minor;
  EXPECT_EQ(minor, 15);
}

TEST(AxisDrawing, TitleKeepsItsFontInsideAFramedLabelFormat) {
  TTestChart chart;
  chart.SetView3D(false);
  chart.ChartArea = Rect(0, 0, 300, 200);
  chart.NormalizeChartRect();
  TChartAxis* a = chart.BottomAxis();
  a->SetLabelStyle(talValue);
  a->Title()->SetCaption("Title");
  a->Title()->Font()->SetSize(14);
  a->LabelsFont()->SetSize(7);
  Place(a, 0, 10, 0, 300);
  a->TitlePos = 230;
  a->AxisLinePos = 200;
  a->LabelsPos = 205;
  for (bool framed : {false, true}) {
    a->LabelItems()->Format()->SetTransparent(!framed);
    const std::vector<std::string> texts = DrawnTexts(chart, a);
    ASSERT_FALSE(texts.empty());
    int titles = 0;
    for (const TCanvasCall& c : chart.Rec->CallsOf("TextOut3D", 0)) {
      if (c.Text == "Title") {
        ++titles;
        EXPECT_EQ(c.FontSize, 14) << "framed " << framed;
      } else {
        EXPECT_EQ(c.FontSize, 7) << c.Text << " framed " << framed;
      }
    }
    EXPECT_EQ(titles, 1);
  }
}

TEST(AxisDrawing, CustomRangeDrawsOnceAndRestores) {
  TTestChart chart;
  chart.ChartArea = Rect(0, 0, 300, 200);
  chart.NormalizeChartRect();
  TChartAxis* a = chart.LeftAxis();
  a->SetLabelStyle(talValue);
  Place(a, 0, 10, 0, 200);
  chart.Rec->StartPass(chart.View3DOptions(), false, chart.ChartArea, 0);
  chart.Rec->Clear();
  a->DrawCustomRange(100, 200, 50, 10, 110, 50, 45, 20, false);
  std::vector<std::string> texts;
  for (const TCanvasCall& c : chart.Rec->CallsOf("TextOut3D", 0)) texts.push_back(c.Text);
  EXPECT_EQ(texts, (std::vector<std::string>{"200", "150", "100"}));
  EXPECT_EQ(a->Minimum(), 0);
  EXPECT_EQ(a->Maximum(), 10);
  EXPECT_EQ(a->WorkMaximum, 10);
  EXPECT_FALSE(a->Automatic());
}

}  // namespace
