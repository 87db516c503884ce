#include "app/histogramwindow.h"

#include <gtest/gtest.h>

#include "app/gridcells.h"
#include "model/brkapart.h"
#include "modelpagetest.h"
#include "toolbar/tbitem.h"

namespace {

using modelpagetest::ExpectGoldenText;

class HistogramWindowTest : public modelpagetest::ModelPageTest {
protected:
  void SetUp() override {
    ModelPageTest::SetUp();
    Instruments[2].Title = "Neutron bank";
    Instruments[2].Radiation = 2;
    Instruments[2].Start = 1000;
    Instruments[2].Step = 5;
    Instruments[2].Stop = 20000;
    Instruments[2].Wave1 = 7476.2;
    Instruments[2].Wave2 = -1.5;
  }
  void TearDown() override {
    Form.reset();
    Instruments[2] = {};
    ModelPageTest::TearDown();
  }
  THistogramForm& Open(const std::string& example) {
    Before = Load(example);
    Form = std::make_unique<THistogramForm>(nullptr);
    Form->Show();
    return *Form;
  }
  void ClickTab(int index) {
    const TRect r = Form->TabControl1->TabRect(index);
    guitest::Click(Form->TabControl1, (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
  }
  std::string Cell(TPlusStringGrid* g, int c, int r) { return GridCell(g, c, r); }

  std::unique_ptr<THistogramForm> Form;
  std::string Before;
};

TEST_F(HistogramWindowTest, PolynomialTermsPutBMinus1FirstAndSaveItAsTheLastCoefficient) {
  THistogramForm& f = Open("xray-cw.inp");
  EXPECT_EQ(f.BackgroundComboBox->ItemIndex(), 0);
  f.cbBackTerms->SetItemIndex(1);
  f.cbBackTermsChange(&f);
  ASSERT_EQ(GridRowCount(f.BackGrid), 13);
  EXPECT_EQ(Cell(f.BackGrid, 0, 1), "B-1");
  for (int r = 2; r <= 12; ++r) EXPECT_EQ(Cell(f.BackGrid, 0, r), "B" + std::to_string(r - 2));
  // The rows added show the model's coefficients.
  EXPECT_EQ(Cell(f.BackGrid, 1, 12), "0");
  TypeIntoGridCell(f.BackGrid, 1, 1, "7.5");
  SetGridCheck(f.BackGrid, 2, 1, true);
  TypeIntoGridCell(f.BackGrid, 1, 2, "120");
  EXPECT_TRUE(f.Dirty());
  f.ButtonOKClick(&f);
  EXPECT_FALSE(f.Visible());
  THistogram* h = Model->Histogram(1);
  EXPECT_EQ(Model->BackTerms, 1);
  EXPECT_FLOAT_EQ(h->Background.Coefficients[11], 7.5f);  // coefficient 12
  EXPECT_FLOAT_EQ(h->Background.Coefficients[0], 120);   // row 2 is B0, coefficient 1
  EXPECT_TRUE(Model->IsRefined(1, 0, 0, 13));
  EXPECT_TRUE(ModelChanged);
  ExpectGoldenText(Written(), "histogram_terms.inp");
}

TEST_F(HistogramWindowTest, BackgroundsWithoutCoefficientsSwitchOffTheirRefinement) {
  for (int item : {7, 8, 9}) {
    THistogramForm& f = Open("xray-cw.inp");
    ASSERT_TRUE(Model->IsRefined(1, 0, 0, 2));
    f.BackgroundComboBox->UserSelected(item);
    ASSERT_TRUE(f.SaveHistogram());
    EXPECT_EQ(Model->Histogram(1)->Background.Kind, THistogramForm::BackgroundCode(item));
    for (int t = 2; t <= 25; ++t) EXPECT_FALSE(Model->IsRefined(1, 0, 0, t)) << "item " << item << " type " << t;
  }
}

TEST_F(HistogramWindowTest, UserPointsShowTheEndPointsWhichReachTheModelOnlyBySaving) {
  THistogramForm& f = Open("xray-cw.inp");
  THistogram* h = Model->Histogram(1);
  f.BackgroundComboBox->UserSelected(8);
  EXPECT_TRUE(GridControl(f.IntBackGrid)->Visible());
  EXPECT_FALSE(GridControl(f.BackGrid)->Visible());
  EXPECT_EQ(Cell(f.IntBackGrid, 1, 0), "x value");
  EXPECT_EQ(TrimText(Cell(f.IntBackGrid, 1, 1)), "10.00000");
  EXPECT_EQ(TrimText(Cell(f.IntBackGrid, 1, 2)), "90.00000");
  EXPECT_EQ(h->Background.PointCount(), 0);
  EXPECT_EQ(h->Background.Kind, bkPolynomial);
  // Cancel leaves the model as it was.
  f.ButtonCancelClick(&f);
  EXPECT_EQ(Written(), Before);
  // Saved, with a third point typed.
  f.Show();
  f.BackgroundComboBox->UserSelected(8);
  TypeIntoGridCell(f.IntBackGrid, 1, 3, "50");
  TypeIntoGridCell(f.IntBackGrid, 2, 3, "12.5");
  f.ButtonOKClick(&f);
  ASSERT_EQ(h->Background.PointCount(), 3);
  EXPECT_FLOAT_EQ(h->Background.Points.GetY(2), 12.5f);
  ExpectGoldenText(Written(), "histogram_points.inp");
}

TEST_F(HistogramWindowTest, KindsRelabelTheInstrumentRowsAndHistogramOneHasAFixedScale) {
  THistogramForm& f = Open("xray-cw.inp");
  EXPECT_EQ(f.HistogramSCaleEdit->Text(), "1.0");
  EXPECT_FALSE(f.HistogramSCaleEdit->Enabled());
  EXPECT_FALSE(f.HistogramScaleCheckBox->Enabled());
  EXPECT_EQ(f.LabelWave1->Caption(), "Wavelength 1:");
  EXPECT_FALSE(f.ButtonSpec->Enabled());
  EXPECT_TRUE(f.PolEdit->Visible());
  f.cbType->UserSelected(2);  // Neutron TOF
  EXPECT_EQ(f.LabelWave1->Caption(), "Difc:");
  EXPECT_EQ(f.LabelWave2->Caption(), "Difa:");
  EXPECT_TRUE(f.CheckBoxWave2->Visible());
  EXPECT_FALSE(f.RatioEdit->Visible());
  EXPECT_TRUE(f.ButtonSpec->Enabled());
  EXPECT_FALSE(f.PolEdit->Visible());
  EXPECT_TRUE(f.Dirty());
  f.cbType->UserSelected(3);  // energy dispersive
  EXPECT_EQ(f.LabelWave1->Caption(), "Det. Angle:");
  EXPECT_FALSE(f.Wave2Edit->Visible());
  EXPECT_FALSE(f.ButtonSpec->Enabled());
}

TEST_F(HistogramWindowTest, AConfirmedPageChangeSavesAndNoOrCancelLeaveTheModelAsItWas) {
  THistogramForm& f = Open("xray-cw.inp");
  Model->NewHistogram();
  f.UpdateForm();
  Before = Written();
  struct Case {
    int answer;
    bool moves, saved;
  };
  for (const Case c : {Case{mrNo, true, false}, Case{mrCancel, false, false}, Case{mrYes, true, true}}) {
    f.UpdateForm();
    f.ZeroEdit->SetText("0.125");
    f.CheckBoxZero->SetChecked(true);
    TDialogResponder answers;
    answers.Answer(c.answer);
    ClickTab(1);
    EXPECT_EQ(answers.Last().Text, "Keep Changes?");
    EXPECT_EQ(f.Shown(), c.moves ? 2 : 1) << c.answer;
    if (!c.saved) EXPECT_EQ(Written(), Before) << c.answer;
  }
  EXPECT_FLOAT_EQ(Model->Histogram(1)->Zero, 0.125f);
  EXPECT_TRUE(Model->IsRefined(1, 0, 0, 1));
  ExpectGoldenText(Written(), "histogram_zero.inp");
}

TEST_F(HistogramWindowTest, AValueThatDoesNotConvertIsRefusedNamingItsFieldAndNothingIsSaved) {
  THistogramForm& f = Open("xray-cw.inp");
  f.ThetaMaxEdit->SetText("85");
  f.ZeroEdit->SetText("8.48a");
  TDialogResponder answers;
  f.ButtonOKClick(&f);
  EXPECT_TRUE(f.Visible());
  ASSERT_EQ(answers.Count(), 1u);
  EXPECT_NE(answers.Last().Text.find("Zero:"), std::string::npos);
  EXPECT_NE(answers.Last().Text.find("8.48a"), std::string::npos);
  EXPECT_EQ(Written(), Before);
  // A cell likewise, and an empty edit.
  f.ZeroEdit->SetText("0");
  TypeIntoGridCell(f.ExcludedGrid, 1, 1, "12..5");
  TypeIntoGridCell(f.ExcludedGrid, 2, 1, "20");
  EXPECT_FALSE(f.SaveHistogram());
  EXPECT_NE(answers.Last().Text.find("Excluded region 1 Start:"), std::string::npos);
  TypeIntoGridCell(f.ExcludedGrid, 1, 1, "12.5");
  f.BWEdit->SetText("");
  EXPECT_FALSE(f.SaveHistogram());
  EXPECT_NE(answers.Last().Text.find("Peak Width:"), std::string::npos);
  EXPECT_EQ(Written(), Before);
}

TEST_F(HistogramWindowTest, ExcludedRowsAreStoredOrderedAndEqualLimitsSkipped) {
  THistogramForm& f = Open("xray-cw.inp");
  TypeIntoGridCell(f.ExcludedGrid, 1, 1, "30");
  TypeIntoGridCell(f.ExcludedGrid, 2, 1, "25");
  TypeIntoGridCell(f.ExcludedGrid, 1, 2, "40");
  TypeIntoGridCell(f.ExcludedGrid, 2, 2, "40");
  TypeIntoGridCell(f.ExcludedGrid, 1, 4, "60");
  TypeIntoGridCell(f.ExcludedGrid, 2, 4, "62");
  ASSERT_TRUE(f.SaveHistogram());
  const TExcluded& e = Model->Histogram(1)->Excluded;
  ASSERT_EQ(e.Count(), 2);
  EXPECT_FLOAT_EQ(e.Regions.GetX(0), 25);
  EXPECT_FLOAT_EQ(e.Regions.GetY(0), 30);
  EXPECT_FLOAT_EQ(e.Regions.GetX(1), 60);
}

TEST_F(HistogramWindowTest, PresetsCopyPasteNewAndDeleteFromThePopupMenu) {
  THistogramForm& f = Open("xray-cw.inp");
  ASSERT_EQ(f.UseInstrument1->Count(), InstrumentCount);
  EXPECT_EQ(f.UseInstrument1->Items(1)->Caption(), "Neutron bank");
  f.UseInstrument1->Items(1)->Click();
  EXPECT_EQ(f.cbType->ItemIndex(), 2);
  EXPECT_EQ(f.ThetaMaxEdit->Text(), "20000");
  EXPECT_EQ(f.Wave1Edit->Text(), "7476.2");
  // Copy carries no step and no vary state to another histogram.
  f.ThetaStepEdit->SetText("0.5");
  f.CheckBoxZero->SetChecked(true);
  f.Copy1->Click();
  f.NewHistogram1->Click();
  EXPECT_EQ(Model->HistogramCount(), 2);
  ASSERT_EQ(f.TabControl1->Tabs()->Count(), 2);
  EXPECT_EQ(f.TabControl1->Tabs()->Get(1), "Histogram2");
  {
    TDialogResponder answers;
    answers.Answer(mrNo);
    ClickTab(1);
  }
  ASSERT_EQ(f.Shown(), 2);
  const std::string step = f.ThetaStepEdit->Text();
  f.Paste1->Click();
  EXPECT_EQ(f.ThetaMaxEdit->Text(), "20000");
  EXPECT_EQ(f.LabelWave1->Caption(), "Wavelength 1:");  // labels follow at the next refresh
  EXPECT_EQ(f.ThetaStepEdit->Text(), step);
  EXPECT_FALSE(f.CheckBoxZero->Checked());
  ASSERT_TRUE(f.SaveHistogram());
  EXPECT_EQ(Model->Histogram(2)->Job, jobTOFData);
  f.PopupMenu1Popup(&f);
  EXPECT_TRUE(f.DeleteHistogram1->Enabled());
  f.DeleteHistogram1->Click();
  EXPECT_EQ(Model->HistogramCount(), 1);
  EXPECT_EQ(f.TabControl1->Tabs()->Count(), 1);
  f.PopupMenu1Popup(&f);
  EXPECT_FALSE(f.DeleteHistogram1->Enabled());
}

}  // namespace
