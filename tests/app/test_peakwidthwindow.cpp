#include "app/peakwidthwindow.h"

#include <gtest/gtest.h>

#include <cmath>

#include "app/peakshapes.h"
#include "app/samplewindow.h"
#include "chart/core/golden.h"
#include "modelpagetest.h"
#include "platform/gfx/bitmap.h"
#include "platform/rtl/format.h"

namespace {

struct WidthCase {
  int profile;
  float a, b, c, t;
  float expected;
};

TEST(PeakShapes, GaussianWidthByProfileWithTheSignOfANegativeSquare) {
  const WidthCase cases[] = {
      {1, 1, 2, 3, 0.5f, std::sqrt(4.25f)},  // U t^2 + V t + W
      {6, 1, 2, 3, 0.5f, std::sqrt(4.25f)},
      {7, 1, 2, 3, 0.5f, std::sqrt(1.6875f)},  // U + V t^2 + W t^4
      {8, 1, 2, 3, 0.5f, 0},
      {3, 0, -4, 1, 1, -std::sqrt(3.0f)},  // G^2 = -3
  };
  for (const auto& c : cases)
    EXPECT_NEAR(GaussianWidth(c.profile, c.a, c.b, c.c, c.t), c.expected, 1e-5) << "profile " << c.profile;
}

TEST(PeakShapes, LorentzianTermByProfile) {
  const float t15 = std::tan(15 * static_cast<float>(M_PI) / 180);  // 2-theta 30 degrees
  const WidthCase cases[] = {
      {1, 0.5f, 0.01f, 0.0001f, t15, 0.89f},  // eta = Gam0 + Gam1 2th + Gam2 2th^2
      {4, 0.5f, 0.01f, 0.0001f, t15, 0.89f},
      {2, 0.2f, 0, 0, t15, 0.6f},  // Pearson IV exponent floor
      {2, 0.9f, 0, 0, t15, 0.9f},
      {3, 0.1f, 0.2f, 9, 0.75f, 0.275f},  // size sqrt(t^2 + 1) + strain t
      {5, 0.1f, 0.2f, 9, 0.75f, 0.275f},
      {7, 0.5f, 1, 1, 0.5f, 0},
  };
  for (const auto& c : cases)
    EXPECT_NEAR(LorentzianTerm(c.profile, c.a, c.b, c.c, c.t), c.expected, 1e-5) << "profile " << c.profile;
}

TEST(PeakShapes, ThompsonCoxHastingsWidthAndMixing) {
  EXPECT_NEAR(TCHWidth(1, 0), 1, 1e-6);
  EXPECT_NEAR(TCHWidth(0, 2), 2, 1e-6);
  EXPECT_NEAR(TCHWidth(1, 1), 1.6346428f, 1e-5);
  EXPECT_NEAR(TCHMixing(0), 0, 1e-7);
  EXPECT_NEAR(TCHMixing(1), 1, 1e-5);
  EXPECT_NEAR(TCHMixing(0.5f), 0.5776125f, 1e-6);
}

TEST(PeakShapes, PseudoVoigtHalvesAtHalfTheWidth) {
  // Pure Gaussian and pure Lorentzian of width 2: the value at the centre
  // and its half at H/2.
  EXPECT_NEAR(PseudoVoigt(0, 2, 0), 0.46971865f, 1e-6);
  EXPECT_NEAR(PseudoVoigt(0, 2, 1), 0.46971865f / 2, 1e-6);
  EXPECT_NEAR(PseudoVoigt(1, 2, 0), 0.31831f, 1e-6);
  EXPECT_NEAR(PseudoVoigt(1, 2, 1), 0.159155f, 1e-6);
  EXPECT_NEAR(PseudoVoigt(0.5f, 2, 0), (0.46971865f + 0.31831f) / 2, 1e-6);
  // A peak without width is 0 everywhere, its centre too.
  EXPECT_EQ(PseudoVoigt(0, 0, 0), 0);
  EXPECT_EQ(PseudoVoigt(0.5f, 0, 1), 0);
}

class PeakWindowTest : public modelpagetest::ModelPageTest {
protected:
  void SetUp() override {
    ModelPageTest::SetUp();
    FormPeak = new TFormPeak(nullptr);
  }
  void TearDown() override {
    delete FormPeak;
    FormPeak = nullptr;
    ModelPageTest::TearDown();
  }
  // The chart drawn at the size it has, as a paint does.
  void Draw(TBitmap& image) {
    FormPeak->Chart1->SetBounds(0, 0, image.Width(), image.Height());
    FormPeak->Chart1->DrawOnCanvas(image.Canvas(), Rect(0, 0, image.Width(), image.Height()));
  }
};

TEST_F(PeakWindowTest, UpdatePlotDrawsOnePeakSpreadByTheLargestWidthAndReportsIt) {
  TFormPeak& f = *FormPeak;
  for (int i = 0; i <= 10; ++i) f.Series1->AddXYPoint(10 * i, 0.1 + 0.01 * i);  // largest width 0.2
  f.SetValues(3, 0, 0, 0.04f, 0.1f, 0, 0);  // Voigt: G = 0.2, L from size
  f.UpdatePlot(40);
  ASSERT_EQ(f.Series2->Count(), 100);
  // Points step 10 % of the largest width either side of 40, the centre at point 50.
  EXPECT_NEAR(f.Series2->XValues()->GetValue(49), 40, 1e-5);
  EXPECT_NEAR(f.Series2->XValues()->GetValue(50) - f.Series2->XValues()->GetValue(49), 0.02, 1e-5);
  const float t = std::tan(40 * 0.0087266462599f);
  const float h = TCHWidth(0.2f, LorentzianTerm(3, 0.1f, 0, 0, t));
  const float eta = TCHMixing(LorentzianTerm(3, 0.1f, 0, 0, t) / h);
  EXPECT_NEAR(f.Series2->YValues()->GetValue(49), PseudoVoigt(eta, h, 0), 1e-5);
  EXPECT_EQ(f.StatusBar1->Panel(0).Text, "Angle: 40");
  EXPECT_EQ(f.StatusBar1->Panel(1).Text, "FWHM: " + FloatToStrF(h, ffGeneral, 5, 3));

  // Time of flight: no peak is drawn.
  f.SetValues(7, 1, 1, 1, 1, 0, 0);
  f.UpdatePlot(20);
  EXPECT_NEAR(f.Series2->XValues()->GetValue(49), 40, 1e-5);

  // An empty width curve puts every point at x.
  f.Series1->RemoveAllPoints();
  f.SetValues(1, 0, 0, 0.01f, 0.5f, 0, 0);
  f.UpdatePlot(30);
  EXPECT_EQ(f.Series2->Count(), 100);
  EXPECT_EQ(f.Series2->XValues()->MinValue(), 30);
  EXPECT_EQ(f.Series2->XValues()->MaxValue(), 30);
}

TEST_F(PeakWindowTest, CursorFollowsTheMouseInsideThePlotAndOutsideLeavesThePeak) {
  TFormPeak& f = *FormPeak;
  for (int i = 0; i <= 10; ++i) f.Series1->AddXYPoint(10 + 10 * i, 0.1 + 0.01 * i);
  f.SetValues(1, 0, 0, 0.01f, 0.5f, 0, 0);
  TBitmap image(500, 300);
  Draw(image);
  const TRect& r = f.Chart1->ChartArea;
  const int x = (r.Left + r.Right) / 2;
  f.Chart1MouseMove(&f, {}, x, (r.Top + r.Bottom) / 2);
  EXPECT_EQ(f.CursorX, x);
  ASSERT_EQ(f.Series2->Count(), 100);
  const double centre = f.Series2->XValues()->GetValue(49);
  EXPECT_NEAR(centre, f.Series1->GetHorizAxis()->PixelToValue(x), 1e-4);
  f.Chart1MouseMove(&f, {}, r.Left - 5, r.Top - 5);
  EXPECT_EQ(f.CursorX, -1);
  EXPECT_EQ(f.Series2->XValues()->GetValue(49), centre);
  // Clicking the plot makes it the target of the main window's Copy and draws the peak at 20.
  f.Chart1Click(&f);
  EXPECT_EQ(LastActiveControl, f.Chart1);
  EXPECT_NEAR(f.Series2->XValues()->GetValue(49), 20, 1e-5);
}

TEST_F(PeakWindowTest, PlotFwhmOfTheSampleWindowMatchesTheReviewedPicture) {
  Load("xray-cw.inp");
  TFormSample sample(nullptr);
  sample.ShowFor(*Model->Histogram(1));
  sample.ProfileComboBox->SetItemIndex(2);  // Voigt: the TCH width and its mixing
  sample.UEdit->SetText("0.02");
  sample.VEdit->SetText("0");
  sample.WEdit->SetText("0.01");
  sample.L1Edit->SetText("0.02");
  sample.L2Edit->SetText("0.03");
  sample.Button4Click(&sample);
  TFormPeak& f = *FormPeak;
  ASSERT_EQ(f.Series1->Count(), 101);
  ASSERT_EQ(f.Series3->Count(), 101);
  EXPECT_EQ(f.Profile, 3);
  EXPECT_FLOAT_EQ(f.Gam1, 0.03f);
  // The first point lies at the histogram's start.
  EXPECT_FLOAT_EQ(f.Series1->XValues()->GetValue(0), Model->Histogram(1)->Start);
  TBitmap image(500, 320);
  Draw(image);
  ExpectMatchesGoldenIn("tests/app/golden", image, "peak_width.png");
  sample.Hide();
}

}  // namespace
