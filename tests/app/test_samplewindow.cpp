#include "app/samplewindow.h"

#include <gtest/gtest.h>

#include <cmath>

#include "app/gridcells.h"
#include "app/peakshapes.h"
#include "app/peakwidthwindow.h"
#include "model/brkapart.h"
#include "modelpagetest.h"
#include "toolbar/tbitem.h"

namespace {

using modelpagetest::ExpectGoldenText;

class SampleWindowTest : public modelpagetest::ModelPageTest {
protected:
  void TearDown() override {
    Form.reset();
    delete FormPeak;
    FormPeak = nullptr;
    ModelPageTest::TearDown();
  }
  TFormSample& Open(const std::string& example) {
    Before = Load(example);
    Form = std::make_unique<TFormSample>(nullptr);
    Form->ShowFor(*Model->Histogram(1));
    return *Form;
  }
  void ChooseProfile(int item) { Form->ProfileComboBox->UserSelected(item); }

  std::unique_ptr<TFormSample> Form;
  std::string Before;
};

TEST_F(SampleWindowTest, JorgensenRelabelsTheWidthsAndAnotherProfileSwitchesOffTheTofTerms) {
  TFormSample& f = Open("xray-cw.inp");
  EXPECT_EQ(f.ProfileComboBox->ItemIndex(), Model->Histogram(1)->Profile - 1);
  EXPECT_FALSE(f.Dirty());
  ChooseProfile(6);
  EXPECT_EQ(f.ProfileComboBox->Items()->Get(6), "Jorgensen       (TOF)");
  EXPECT_EQ(f.LabelU->Caption(), "Sig0:");
  EXPECT_EQ(f.LabelV->Caption(), "Sig1:");
  EXPECT_EQ(f.LabelW->Caption(), "Sig2:");
  EXPECT_EQ(f.LabelAsym1->Caption(), "A.Size:");
  EXPECT_TRUE(f.a0Edit->Visible());
  EXPECT_FALSE(f.Asym2Edit->Visible());
  EXPECT_TRUE(f.Dirty());
  ChooseProfile(2);
  EXPECT_EQ(f.LabelU->Caption(), "U:");
  EXPECT_EQ(f.LabelL1->Caption(), "size:");
  EXPECT_FALSE(f.a0Edit->Visible());
  ChooseProfile(5);
  EXPECT_EQ(f.LabelAsym1->Caption(), "S/L:");
  EXPECT_TRUE(f.Asym2Edit->Visible());

  // Saved with each profile: the TOF terms stay refined only for profile 7,
  // asymmetry 2 only for the FCJ profile.
  struct Case {
    int item;
    bool asym2, tof;
  };
  for (const Case c : {Case{0, false, false}, Case{5, true, false}, Case{6, false, true}}) {
    for (int t = 20; t <= 24; ++t) Model->Parameters.SetRefined(1, 1, 0, t, true);
    f.UpdateSample();
    ChooseProfile(c.item);
    ASSERT_TRUE(f.SaveSample());
    EXPECT_EQ(Model->Histogram(1)->Profile, c.item + 1);
    EXPECT_EQ(Model->IsRefined(1, 1, 0, 20), c.asym2) << c.item;
    for (int t = 21; t <= 24; ++t) EXPECT_EQ(Model->IsRefined(1, 1, 0, t), c.tof) << c.item << " " << t;
  }
}

TEST_F(SampleWindowTest, AConfirmedEditGivesTheGoldenFileAndCancelOrNoLeaveItAsBefore) {
  TFormSample& f = Open("two-phase.inp");
  ASSERT_EQ(f.TabControlSamplePhase->Tabs()->Count(), 2);
  auto edit = [&] {
    f.UpdateSample();
    ChooseProfile(2);
    f.UEdit->SetText("0.0125");
    f.UCheckBox->SetChecked(!f.UCheckBox->Checked());
    f.cbBroadening->UserSelected(4);  // stays in the page until saved
  };
  for (int answer : {mrCancel, mrNo}) {
    edit();
    EXPECT_TRUE(f.GroupDislocation->Visible());
    EXPECT_NE(Model->FindSample(1, 1)->BroadeningModel, bmDislocation);
    TDialogResponder answers;
    answers.Answer(answer);
    f.Close();
    EXPECT_EQ(answers.Last().Text, "Keep Changes?");
    EXPECT_EQ(f.Visible(), answer == mrCancel);
    EXPECT_EQ(Written(), Before) << answer;
    f.ShowFor(*Model->Histogram(1));
  }
  edit();
  f.Button1Click(&f);
  EXPECT_FALSE(f.Visible());
  EXPECT_EQ(Model->FindSample(1, 1)->BroadeningModel, bmDislocation);
  EXPECT_EQ(Model->Histogram(1)->Profile, 3);
  ExpectGoldenText(Written(), "sample_edit.inp");
}

TEST_F(SampleWindowTest, LeavingAPhaseTabAsksAndNoResetsTheProfile) {
  TFormSample& f = Open("two-phase.inp");
  const int profile = Model->Histogram(1)->Profile;
  ChooseProfile(profile == 1 ? 2 : 0);
  f.L1Edit->SetText("0.5");
  TDialogResponder answers;
  answers.Answer(mrNo);
  bool allow = true;
  f.TabChanging(false, allow);
  EXPECT_TRUE(allow);
  EXPECT_EQ(f.ProfileComboBox->ItemIndex(), profile - 1);
  EXPECT_FALSE(f.Dirty());
  f.TabControlSamplePhase->SetTabIndex(1);
  f.TabChange(false);
  EXPECT_EQ(f.L1Edit->Text(), RealToStrFixed(Model->FindSample(1, 2)->Gam0, 8, 5));
  EXPECT_EQ(Written(), Before);
  // AcceptChanges saves without asking.
  AcceptChanges = true;
  f.L1Edit->SetText("0.25");
  f.TabChanging(false, allow);
  EXPECT_TRUE(allow);
  EXPECT_EQ(answers.Count(), 1u);
  EXPECT_FLOAT_EQ(Model->FindSample(1, 2)->Gam0, 0.25f);
}

TEST_F(SampleWindowTest, FlatPlateShowsPoreAndRoughAndUsePhaseCopiesValuesOnly) {
  TFormSample& f = Open("two-phase.inp");
  EXPECT_EQ(f.LabelR->Caption(), "Absor. R:");
  EXPECT_FALSE(f.PoreEdit->Visible());
  f.ComboBoxAbsorption->UserSelected(1);
  EXPECT_EQ(f.LabelR->Caption(), "Absor. P:");
  EXPECT_TRUE(f.PoreEdit->Visible());
  EXPECT_TRUE(f.RoughCheckBox->Visible());
  EXPECT_TRUE(f.Dirty());

  TSample* other = Model->FindSample(1, 2);
  other->U = 0.75f;
  other->UH = 2;
  const bool uVary = f.UCheckBox->Checked();
  f.PopupMenu1Popup(&f);
  ASSERT_EQ(f.UsePhase1->Count(), 2);
  EXPECT_EQ(f.UsePhase1->Items(1)->Caption(), "Phase 2");
  f.UsePhase1->Items(1)->Click();
  EXPECT_EQ(f.UEdit->Text(), RealToStrFixed(0.75, 8, 5));
  EXPECT_EQ(f.UHEdit->Text(), RealToStrFixed(2, 4, 1));
  EXPECT_EQ(f.UCheckBox->Checked(), uVary);
}

TEST_F(SampleWindowTest, AValueThatDoesNotConvertIsRefusedNamingItsField) {
  TFormSample& f = Open("xray-cw.inp");
  f.WEdit->SetText("0.0x2");
  f.cbBroadening->UserSelected(0);
  TDialogResponder answers;
  f.Button1Click(&f);
  EXPECT_TRUE(f.Visible());
  ASSERT_EQ(answers.Count(), 1u);
  EXPECT_NE(answers.Last().Text.find("W:"), std::string::npos);
  EXPECT_EQ(Written(), Before);
  f.WEdit->SetText("0.02");
  f.POEdit->SetText("");
  EXPECT_FALSE(f.SaveSample());
  EXPECT_NE(answers.Last().Text.find("PO Value:"), std::string::npos);
  EXPECT_EQ(Written(), Before);
}

TEST_F(SampleWindowTest, PlotFwhmOfTimeOfFlightUsesDifcAndGam0AsTheLorentzianTerm) {
  FormPeak = new TFormPeak(nullptr);
  TFormSample& f = Open("tof.inp");
  const THistogram& h = *Model->Histogram(1);
  ChooseProfile(6);
  f.UEdit->SetText("10");
  f.VEdit->SetText("20");
  f.WEdit->SetText("0");
  f.L1Edit->SetText("5");
  f.L2Edit->SetText("99");
  f.Button4Click(&f);
  ASSERT_EQ(FormPeak->Series1->Count(), 101);
  const float x = h.Start + 50 * ((h.Stop - h.Start) / 100);
  const float t = x / h.Wavelength1;
  const float hw = TCHWidth(GaussianWidth(7, 10, 20, 0, t), 5);
  EXPECT_NEAR(FormPeak->Series1->XValues()->GetValue(50), x, std::fabs(x) * 1e-6);
  EXPECT_NEAR(FormPeak->Series1->YValues()->GetValue(50), hw, 1e-4);
  EXPECT_NEAR(FormPeak->Series3->YValues()->GetValue(50), TCHMixing(5 / hw), 1e-5);
  EXPECT_EQ(FormPeak->Profile, 7);
  EXPECT_TRUE(FormPeak->Visible());
}

TEST_F(SampleWindowTest, UseInstrumentTakesTheProfileAndWidthsOfThePreset) {
  Instruments[3].Title = "Cu tube";
  Instruments[3].Profile = 5;
  Instruments[3].U = 0.02;
  Instruments[3].gamma = 0.2;
  TFormSample& f = Open("xray-cw.inp");
  EXPECT_EQ(f.UseInstrument1->Items(2)->Caption(), "Cu tube");
  f.L2Edit->SetText("1");
  f.UseInstrument1->Items(2)->Click();
  EXPECT_EQ(f.ProfileComboBox->ItemIndex(), 5);
  EXPECT_EQ(f.LabelAsym1->Caption(), "S/L:");
  EXPECT_EQ(f.UEdit->Text(), RealToStrFixed(0.02, 8, 5));
  EXPECT_EQ(f.L1Edit->Text(), RealToStrFixed(0.2, 8, 5));
  EXPECT_EQ(f.L2Edit->Text(), RealToStrFixed(0, 8, 5));
  Instruments[3] = {};
}

}  // namespace
