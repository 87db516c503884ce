#include "app/scatteringwindow.h"

#include <gtest/gtest.h>

#include "app/gridcells.h"
#include "modelpagetest.h"

namespace {

using modelpagetest::ExpectGoldenText;

class ScatterTest : public modelpagetest::ModelPageTest {
protected:
  TFormScatter& Open(const std::string& example) {
    Before = Load(example);
    return Reopen();
  }
  TFormScatter& Reopen() {
    Form = std::make_unique<TFormScatter>(nullptr);
    Form->SetTag(1);
    Form->FormShow(Form.get());
    return *Form;
  }
  // Entry "FE" with coefficients 1..9 and f' 0.5, and an interpolated "SR" of three points.
  void AddEntries() {
    THistogram& h = *Model->Histogram(1);
    TScatterFactor* fe = h.ScatterFactors.AddNew();
    fe->Symbol = "FE";
    fe->FPrime = 0.5f;
    for (int i = 0; i < 9; ++i) fe->Coefficients[i] = static_cast<float>(i + 1);
    TScatterFactor* sr = h.ScatterFactors.AddNew();
    sr->Symbol = "SR";
    sr->TableKind = 1;
    for (int i = 0; i < 3; ++i) sr->AddPoint(0.1f * i, 38 - 5.0f * i);
    Before = Written();
  }
  void TearDown() override {
    Form.reset();
    ModelPageTest::TearDown();
  }
  std::unique_ptr<TFormScatter> Form;
  std::string Before;
};

TEST_F(ScatterTest, AnEmptyListShowsNothingAndAddMakesAFourCharacterUpperCaseName) {
  TFormScatter& f = Open("xray-cw.inp");
  EXPECT_EQ(f.ComboBoxSName->Items()->Count(), 0);
  EXPECT_EQ(f.Series1->Count(), 0);
  TDialogResponder answers;
  answers.AnswerText("  fexyz ");
  f.ButtonAddClick(&f);
  EXPECT_EQ(answers.Last().Caption, "New Scatter");
  EXPECT_EQ(answers.Last().Text, "Enter new scatter name:");
  THistogram& h = *Model->Histogram(1);
  ASSERT_EQ(h.ScatterFactors.Count(), 1);
  EXPECT_EQ(h.ScatterFactors.Entry(1)->Symbol, "FEXY");
  EXPECT_EQ(f.ComboBoxSName->Items()->Get(0), "FEXY");
  EXPECT_EQ(f.Labelfp->Caption(), "f':");
  // An empty answer adds nothing.
  answers.AnswerText("   ");
  f.ButtonAddClick(&f);
  EXPECT_EQ(h.ScatterFactors.Count(), 1);
}

TEST_F(ScatterTest, CalculatedEntryShowsItsCoefficientsAndPlotsTheFormFactor) {
  TFormScatter& f = Open("xray-cw.inp");
  AddEntries();
  f.UpdateForm(1);
  EXPECT_TRUE(f.RadioButtonCalc->Checked());
  EXPECT_EQ(GridCell(f.StringGridScatter, 0, 3), "A3");
  EXPECT_EQ(GridCell(f.StringGridScatter, 1, 3), "3");
  EXPECT_EQ(f.Editfp->Text(), "0.5");
  ASSERT_EQ(f.Series1->Count(), 91);
  // At s = 0: f' + c + a1 + a2 + a3 + a4.
  EXPECT_NEAR(f.Series1->YValues()->GetValue(0), 0.5 + 9 + 1 + 3 + 5 + 7, 1e-5);
  // All coefficients 0 and f' = 2: the constant 2.
  TScatterFactor* fe = Model->Histogram(1)->ScatterFactors.Entry(1);
  fe->Coefficients = {};
  fe->FPrime = 2;
  f.UpdateForm(1);
  EXPECT_EQ(f.Series1->YValues()->MinValue(), 2);
  EXPECT_EQ(f.Series1->YValues()->MaxValue(), 2);
}

TEST_F(ScatterTest, ANeutronHistogramShowsTheScatteringLengthAlone) {
  TFormScatter& f = Open("tof.inp");
  THistogram& h = *Model->Histogram(1);
  if (h.ScatterFactors.Count() == 0) h.ScatterFactors.AddNew()->Symbol = "SR";
  Before = Written();
  f.UpdateForm(1);
  EXPECT_EQ(f.Labelfp->Caption(), "b:");
  EXPECT_FALSE(f.Editfpp->Enabled());
  EXPECT_FALSE(GridControl(f.StringGridScatter)->Visible());
  f.Editfp->SetText("7.02");
  f.CheckBoxfp->SetChecked(true);
  f.ButtonOKClick(&f);
  EXPECT_EQ(f.ModalResult(), mrOk);
  EXPECT_FLOAT_EQ(h.ScatterFactors.Entry(1)->FPrime, 7.02f);
  EXPECT_TRUE(Model->IsRefined(1, ScatterPhase, 1, 1));
}

TEST_F(ScatterTest, TheInterpolatedChoiceStaysInThePageUntilSavedAndABlankRowEndsTheTable) {
  TFormScatter& f = Open("xray-cw.inp");
  AddEntries();
  f.UpdateForm(1);
  f.RadioButtonInt->SetChecked(true);
  EXPECT_EQ(f.PageKind(), 1);
  EXPECT_EQ(Model->Histogram(1)->ScatterFactors.Entry(1)->TableKind, 0);
  EXPECT_EQ(GridCell(f.StringGridScatter, 0, 0), "sin(th)/lam");
  EXPECT_TRUE(f.Dirty());
  // Add asks first; No drops the change.
  {
    TDialogResponder answers;
    answers.Answer(mrNo).AnswerText("");
    f.ButtonAddClick(&f);
    EXPECT_EQ(answers.Texts().front(), "Keep Changes?");
  }
  EXPECT_EQ(Written(), Before);
  // Saved: rows 1 to 4, the blank row 5 ends the table.
  f.UpdateForm(1);
  f.RadioButtonInt->SetChecked(true);
  const char* rows[6][2] = {{"0", "26"}, {"0.1", "24"}, {"0.2", "20"}, {"0.3", "17"}, {"", ""}, {"0.5", "11"}};
  for (int r = 0; r < 6; ++r)
    for (int c = 0; c < 2; ++c) TypeIntoGridCell(f.StringGridScatter, c, r + 1, rows[r][c]);
  f.ButtonOKClick(&f);
  TScatterFactor* fe = Model->Histogram(1)->ScatterFactors.Entry(1);
  EXPECT_EQ(fe->TableKind, 1);
  ASSERT_EQ(fe->PointCount(), 4);
  EXPECT_FLOAT_EQ(fe->Table.GetY(3), 17);
  ExpectGoldenText(Written(), "scattering_table.inp");
}

TEST_F(ScatterTest, RefusedValuesKeepTheEntryAndDeleteShowsThePreviousEntry) {
  TFormScatter& f = Open("xray-cw.inp");
  AddEntries();
  Model->Parameters.SetRefined(1, ScatterPhase, 1, 2, true);
  f.UpdateForm(1);
  TypeIntoGridCell(f.StringGridScatter, 1, 9, "9,5x");
  TDialogResponder answers;
  f.ButtonOKClick(&f);
  EXPECT_EQ(f.ModalResult(), mrNone);
  EXPECT_NE(answers.Last().Text.find("A9:"), std::string::npos);
  Model->Parameters.SetRefined(1, ScatterPhase, 1, 2, false);
  EXPECT_EQ(Written(), Before);
  Model->Parameters.SetRefined(1, ScatterPhase, 1, 2, true);
  // Deleting entry 1 moves the refinement of entry 2 to its new number.
  answers.Answer(mrYes);
  f.ButtonDeleteClick(&f);
  // The symbols are held as four columns.
  EXPECT_EQ(answers.Last().Text, "Are you sure you want to delete FE  ?");
  THistogram& h = *Model->Histogram(1);
  ASSERT_EQ(h.ScatterFactors.Count(), 1);
  EXPECT_EQ(f.Shown(), 1);
  EXPECT_EQ(f.ComboBoxSName->Items()->Get(0), "SR  ");
  EXPECT_TRUE(Model->IsRefined(1, ScatterPhase, 1, 1));
  EXPECT_FALSE(Model->IsRefined(1, ScatterPhase, 1, 2));
}

}  // namespace
