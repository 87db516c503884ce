// The axis scale: ranges, setters and their errors, value-to-pixel and back,
// logarithmic and inverted axes, insets, shifts and custom axes.
#include <gtest/gtest.h>

#include "chart/core/testseries.h"

namespace {

// Places an axis over fixed pixels with a fixed range.
void Place(TChartAxis* axis, double lo, double hi, int start, int end) {
  axis->SetRange(lo, hi);
  axis->UpdateMinMax();
  axis->StartPixel = start;
  axis->EndPixel = end;
  axis->RecalcSizeAndCenter();
}

TEST(AxisScale, LinearValueToPixelAndBack) {
  TTestChart chart;
  struct Case {
    bool horizontal;
    bool inverted;
    double value;
    int pixel;
  };
  const Case cases[] = {
      {true, false, 5, 200}, {true, true, 5, 200},  {true, false, 2.5, 150}, {true, true, 2.5, 250},
      {false, false, 10, 50}, {false, true, 10, 250}, {false, false, 0, 250}, {true, false, 0, 100},
  };
  for (const Case& c : cases) {
    TChartAxis* axis = c.horizontal ? chart.BottomAxis() : chart.LeftAxis();
    axis->SetInverted(c.inverted);
    if (c.horizontal) Place(axis, 0, 10, 100, 300);
    else Place(axis, 0, 10, 50, 250);
    EXPECT_EQ(axis->ValueToPixel(c.value), c.pixel) << c.horizontal << c.inverted << c.value;
    EXPECT_DOUBLE_EQ(axis->PixelToValue(c.pixel), c.value) << c.horizontal << c.inverted << c.value;
    axis->SetInverted(false);
  }
}

TEST(AxisScale, FarValuesAreClampedToThePixelLimit) {
  TTestChart chart;
  Place(chart.BottomAxis(), 0, 10, 100, 300);
  Place(chart.LeftAxis(), 0, 10, 50, 250);
  EXPECT_EQ(chart.BottomAxis()->ValueToPixel(1e30), AxisPixelLimit);
  EXPECT_EQ(chart.BottomAxis()->ValueToPixel(-1e30), -AxisPixelLimit);
  EXPECT_EQ(chart.LeftAxis()->ValueToPixel(1e30), -AxisPixelLimit);
  EXPECT_TRUE(AxisPixelLimit == 32767 || AxisPixelLimit == 67108863);
}

TEST(AxisScale, LogarithmicValueToPixel) {
  TTestChart chart;
  TChartAxis* h = chart.BottomAxis();
  TChartAxis* v = chart.LeftAxis();
  h->SetLogarithmic(true);
  v->SetLogarithmic(true);
  Place(h, 1, 1000, 0, 300);
  Place(v, 1, 1000, 0, 300);
  EXPECT_EQ(h->ValueToPixel(10), 100);
  EXPECT_EQ(h->ValueToPixel(100), 200);
  EXPECT_EQ(h->ValueToPixel(0), 0);
  EXPECT_EQ(h->ValueToPixel(-5), 0);
  EXPECT_EQ(v->ValueToPixel(0), 300);
  EXPECT_EQ(v->ValueToPixel(10), 200);
  EXPECT_DOUBLE_EQ(h->PixelToValue(0), 1);
  EXPECT_DOUBLE_EQ(h->PixelToValue(300), 1000);
  EXPECT_NEAR(h->PixelToValue(200), 100, 1e-9);
  EXPECT_DOUBLE_EQ(v->PixelToValue(0), 1000);
}

TEST(AxisScale, ZeroRangeFallsBackToTheCentre) {
  TTestChart chart;
  TChartAxis* a = chart.BottomAxis();
  a->SetAutomatic(false);
  a->StartPixel = 10;
  a->EndPixel = 110;
  a->RecalcSizeAndCenter();
  a->WorkMinimum = a->WorkMaximum = 3;
  a->RecalcRange();
  EXPECT_TRUE(a->RangeIsZero);
  EXPECT_EQ(a->ValueToPixel(7), 60);
  EXPECT_EQ(a->SizeToPixels(5), 0);
}

TEST(AxisScale, SetRangeOrdersAndWidensEqualEnds) {
  TTestChart chart;
  TChartAxis* a = chart.LeftAxis();
  a->SetRange(5, 5);
  EXPECT_EQ(a->Minimum(), 5);
  EXPECT_EQ(a->Maximum(), 5 + 1e-10);
  EXPECT_FALSE(a->Automatic());
  EXPECT_FALSE(a->AutomaticMinimum());
  EXPECT_FALSE(a->AutomaticMaximum());
  a->SetRange(9, 1);
  EXPECT_EQ(a->Minimum(), 1);
  EXPECT_EQ(a->Maximum(), 9);
}

TEST(AxisScale, SettersStoreOrRaiseWithoutChanging) {
  TTestChart chart;
  TChartAxis* a = chart.BottomAxis();
  a->SetRange(0, 10);
  struct Case {
    const char* text;
    std::function<void()> set;
  };
  const Case cases[] = {
      {"Axis Minimum Value must be <= Maximum", [&] { a->SetMinimum(11); }},
      {"Axis Maximum Value must be >= Minimum", [&] { a->SetMaximum(-1); }},
      {"Axis increment must be >= 0", [&] { a->SetIncrement(-1); }},
      {"Axis Logarithmic Base should be <> 1 and > 0", [&] { a->SetLogarithmicBase(1); }},
      {"Axis Logarithmic Base should be <> 1 and > 0", [&] { a->SetLogarithmicBase(0); }},
      {"Labels Separation % must be greater than 0", [&] { a->SetLabelsSeparation(-1); }},
  };
  for (const Case& c : cases) {
    try {
      c.set();
      ADD_FAILURE() << c.text;
    } catch (const AxisException& e) {
      EXPECT_STREQ(e.what(), c.text);
    }
  }
  EXPECT_EQ(a->Minimum(), 0);
  EXPECT_EQ(a->Maximum(), 10);
  EXPECT_EQ(a->LogarithmicBase(), 10);
  a->SetLabelsSeparation(0);
  EXPECT_EQ(a->LabelsSeparation(), 0);
  a->SetZPosition(0);
  EXPECT_DOUBLE_EQ(a->ZPosition(), 0.01);
  a->SetLabelsAngle(450);
  EXPECT_EQ(a->LabelsAngle(), 90);
  a->Title()->SetAngle(-90);
  EXPECT_EQ(a->Title()->Angle(), 270);
}

TEST(AxisScale, AutomaticFlagsFollowEachOther) {
  TTestChart chart;
  TChartAxis* a = chart.LeftAxis();
  a->SetAutomaticMinimum(false);
  EXPECT_FALSE(a->Automatic());
  EXPECT_TRUE(a->AutomaticMaximum());
  a->SetAutomaticMinimum(true);
  EXPECT_TRUE(a->Automatic());
  a->SetAutomatic(false);
  EXPECT_FALSE(a->AutomaticMinimum());
  EXPECT_FALSE(a->AutomaticMaximum());
}

TEST(AxisScale, LogarithmicRefusedOnNegativeOrDateTimeRanges) {
  TTestChart chart;
  auto* s = new TTestSeries(&chart);
  s->SetParentChart(&chart);
  s->AddXYPoint(1, -5);
  s->AddXYPoint(2, 50);
  try {
    chart.LeftAxis()->SetLogarithmic(true);
    FAIL();
  } catch (const AxisException& e) {
    EXPECT_STREQ(e.what(), "Logarithmic Axis Min and Max values should be >= 0");
  }
  EXPECT_FALSE(chart.LeftAxis()->Logarithmic());
  EXPECT_EQ(chart.LeftAxis()->ValueToPixel(50), chart.LeftAxis()->ValueToPixelY(50));
  s->XValues()->SetDateTime(true);
  try {
    chart.BottomAxis()->SetLogarithmic(true);
    FAIL();
  } catch (const AxisException& e) {
    EXPECT_STREQ(e.what(), "DateTime Axis cannot be Logarithmic");
  }
}

TEST(AxisScale, AutomaticRangeComesFromTheSeriesOnTheAxis) {
  TTestChart chart;
  auto* a = new TTestSeries(&chart);
  auto* b = new TTestSeries(&chart);
  a->SetParentChart(&chart);
  b->SetParentChart(&chart);
  a->AddXYPoint(1, 3);
  a->AddXYPoint(4, 9);
  b->SetVertAxis(aRightAxis);
  b->AddXYPoint(-2, 100);
  chart.LeftAxis()->UpdateMinMax();
  chart.RightAxis()->UpdateMinMax();
  chart.BottomAxis()->UpdateMinMax();
  EXPECT_EQ(chart.LeftAxis()->Minimum(), 3);
  EXPECT_EQ(chart.LeftAxis()->Maximum(), 9);
  EXPECT_EQ(chart.RightAxis()->Minimum(), 100);
  EXPECT_EQ(chart.BottomAxis()->Minimum(), -2);
  EXPECT_EQ(chart.BottomAxis()->Maximum(), 4);
  b->SetActive(false);
  chart.BottomAxis()->UpdateMinMax();
  EXPECT_EQ(chart.BottomAxis()->Minimum(), 1);
}

TEST(AxisScale, EndInsetsKeepPixelsFree) {
  TTestChart chart;
  TChartAxis* h = chart.BottomAxis();
  Place(h, 0, 100, 0, 200);
  chart.ChartArea = Rect(0, 0, 200, 100);
  chart.NormalizeChartRect();
  h->ReserveEndInsets(Rect(20, 0, 20, 0));
  EXPECT_EQ(h->ValueToPixel(0), 20);
  EXPECT_EQ(h->ValueToPixel(100), 180);
  TChartAxis* v = chart.LeftAxis();
  Place(v, 0, 100, 0, 100);
  v->ReserveEndInsets(Rect(0, 10, 0, 10));
  EXPECT_EQ(v->ValueToPixel(100), 10);
  EXPECT_EQ(v->ValueToPixel(0), 90);
}

TEST(AxisScale, ShiftRangeWithAndWithoutCheck) {
  TTestChart chart;
  auto* s = new TTestSeries(&chart);
  s->SetParentChart(&chart);
  s->AddXYPoint(0, 2);
  s->AddXYPoint(1, 8);
  TChartAxis* a = chart.LeftAxis();
  a->SetRange(0, 10);
  a->ShiftRange(true, 1);  // all data inside: nothing
  a->ShiftRange(true, -1);
  EXPECT_EQ(a->Minimum(), 0);
  EXPECT_EQ(a->Maximum(), 10);
  a->ShiftRange(false, 3);
  EXPECT_EQ(a->Minimum(), 3);
  EXPECT_EQ(a->Maximum(), 13);
  a->ShiftRange(true, -1);  // data below the minimum now
  EXPECT_EQ(a->Minimum(), 2);
}

TEST(AxisScale, PositionPercentMovesAxesIntoTheChart) {
  TTestChart chart;
  const TRect r = Rect(0, 0, 200, 100);
  chart.BottomAxis()->SetPositionPercent(10);
  EXPECT_EQ(chart.BottomAxis()->ShiftByPosition(100, r), 90);
  chart.TopAxis()->SetPositionPercent(10);
  EXPECT_EQ(chart.TopAxis()->ShiftByPosition(0, r), 10);
  chart.LeftAxis()->SetPositionUnits(muPixels);
  chart.LeftAxis()->SetPositionPercent(7);
  EXPECT_EQ(chart.LeftAxis()->ShiftByPosition(0, r), 7);
}

TEST(CustomAxes, JoinTheListFollowTheirMasterAndReleaseSeriesWhenFreed) {
  TTestChart chart;
  ASSERT_EQ(chart.AxesList()->Count(), 6);
  EXPECT_EQ(chart.AxesList()->AxisAt(0), chart.BottomAxis());
  EXPECT_EQ(chart.AxesList()->AxisAt(3), chart.RightAxis());
  EXPECT_EQ(chart.AxesList()->AxisAt(5), chart.DepthTopAxis());
  EXPECT_FALSE(chart.DepthAxis()->Visible());
  EXPECT_EQ(chart.CustomAxes()->Count(), 0);
  auto* custom = static_cast<TChartAxis*>(chart.CustomAxes()->Add());
  EXPECT_EQ(chart.AxesList()->Count(), 7);
  EXPECT_TRUE(custom->IsCustomAxis());
  EXPECT_FALSE(chart.LeftAxis()->IsCustomAxis());
  custom->SetMasterAxis(chart.LeftAxis());
  chart.LeftAxis()->SetRange(3, 4);
  EXPECT_EQ(custom->Minimum(), 3);
  EXPECT_EQ(custom->Maximum(), 4);
  auto* s = new TTestSeries(&chart);
  s->SetParentChart(&chart);
  s->SetCustomVertAxis(custom);
  EXPECT_EQ(s->VertAxis(), aCustomVertAxis);
  EXPECT_EQ(s->GetVertAxis(), custom);
  delete custom;
  EXPECT_EQ(chart.AxesList()->Count(), 6);
  EXPECT_EQ(s->VertAxis(), aLeftAxis);
  EXPECT_EQ(s->GetVertAxis(), chart.LeftAxis());
}

TEST(AxisScale, DepthAxesShareInversion) {
  TTestChart chart;
  chart.DepthAxis()->SetInverted(true);
  EXPECT_TRUE(chart.DepthTopAxis()->Inverted());
  chart.DepthTopAxis()->SetInverted(false);
  EXPECT_FALSE(chart.DepthAxis()->Inverted());
}

}  // namespace
