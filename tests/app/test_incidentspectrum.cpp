#include "app/incidentspectrum.h"

#include <gtest/gtest.h>

#include <cmath>

#include "modelpagetest.h"

namespace {

using modelpagetest::ExpectGoldenText;

class SpectrumTest : public modelpagetest::ModelPageTest {
protected:
  TFormSpectrum& Open() {
    Before = Load("tof.inp");
    Form = std::make_unique<TFormSpectrum>(nullptr);
    Form->SetTag(1);
    Form->FormShow(Form.get());
    return *Form;
  }
  void Type(const std::array<const char*, 9>& values) {
    for (int i = 0; i < 9; ++i) Form->Edits[i]->SetText(values[i]);
    Form->PlotSpectrum();
  }
  void TearDown() override {
    Form.reset();
    ModelPageTest::TearDown();
  }
  std::unique_ptr<TFormSpectrum> Form;
  std::string Before;
};

TEST_F(SpectrumTest, ShowsTheCoefficientsAndPlotsAHundredPointsAboveTheStart) {
  TFormSpectrum& f = Open();
  THistogram& h = *Model->Histogram(1);
  EXPECT_EQ(f.Edits[0]->Text(), "1.25");
  EXPECT_EQ(f.Edits[2]->Text(), "2500");
  ASSERT_EQ(f.Series1->Count(), 100);
  EXPECT_NEAR(f.Series1->XValues()->GetValue(99), h.Stop, 1e-2);
  // All coefficients 0: a flat line at 0; a range from 0 has no point at 0.
  h.Start = 0;
  h.Stop = 2000;
  Type({"0", "0", "0", "0", "0", "0", "0", "0", "0"});
  ASSERT_EQ(f.Series1->Count(), 100);
  EXPECT_EQ(f.Series1->XValues()->GetValue(0), 20);
  EXPECT_EQ(f.Series1->YValues()->MinValue(), 0);
  EXPECT_EQ(f.Series1->YValues()->MaxValue(), 0);
  // a1 = 1 alone: 1 / lambda^5, lambda = t / 1000.
  Type({"0", "1", "0", "0", "0", "0", "0", "0", "0"});
  EXPECT_NEAR(f.Series1->YValues()->GetValue(0), 1 / std::pow(0.02, 5), 1e-3);
  EXPECT_NEAR(f.Series1->YValues()->GetValue(49), 1.0, 1e-9);
}

TEST_F(SpectrumTest, PointsThatOverflowAreLeftOut) {
  TFormSpectrum& f = Open();
  THistogram& h = *Model->Histogram(1);
  h.Start = 0;
  h.Stop = 2000;
  // exp(1000 lambda^2) overflows beyond t = 842.
  Type({"0", "0", "0", "1", "-1000", "0", "0", "0", "0"});
  ASSERT_EQ(f.Series1->Count(), 42);
  for (int i = 0; i < f.Series1->Count(); ++i) EXPECT_TRUE(std::isfinite(f.Series1->YValues()->GetValue(i)));
}

TEST_F(SpectrumTest, OkStoresTheCoefficientsAndRefusesOneThatDoesNotConvert) {
  TFormSpectrum& f = Open();
  f.Edits[4]->SetText("1.5e");
  {
    TDialogResponder answers;
    f.ButtonOKClick(&f);
    EXPECT_NE(answers.Last().Text.find("a4:"), std::string::npos);
  }
  EXPECT_EQ(f.ModalResult(), mrNone);
  EXPECT_EQ(Written(), Before);
  f.Edits[4]->SetText("2.25");
  f.ButtonOKClick(&f);
  EXPECT_EQ(f.ModalResult(), mrOk);
  EXPECT_FLOAT_EQ(Model->Histogram(1)->IncidentSpectrum.Spectrum[5], 2.25f);
  EXPECT_TRUE(ModelChanged);
  ExpectGoldenText(Written(), "spectrum.inp");
}

}  // namespace
