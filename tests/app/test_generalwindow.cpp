// The general window: a confirmed edit written as the golden input file and
// the same edit cancelled leaving the file as it was, the boxes and lists
// shown from the model, change marking, and numbers that do not convert
// refused with their field named and nothing stored.
#include "app/generalwindow.h"

#include <memory>

#include "modeleditortest.h"

using namespace modeleditortest;
using namespace guitest;

namespace {

class GeneralWindowTest : public ModelEditorTest {
protected:
  void Open() {
    Form = std::make_unique<TGeneralForm>(nullptr);
    Form->Show();
  }
  void Press(TButton* b) { Click(b, 5, 5); }
  // The edit the user makes in both tests of the road.
  void Edit() {
    Form->TitleEdit->SetText("Edited in the general window");
    Click(Form->IOTCheckBox, 5, 5);
    Click(Form->MATCheckBox, 5, 5);
    Form->NCyclesSpinEdit->SetValue(10);
    Form->EPSEdit->SetText("0.05");
    Form->Rel1Edit->SetText("0.5");
    Form->RmaxEdit->SetText("3.2");
    Form->cbFourierfile->UserSelected(3);
    Form->cbStrategy->UserSelected(2);
    Form->edMarquardt->SetText("0.001");
  }
  std::unique_ptr<TGeneralForm> Form;
};

TEST_F(GeneralWindowTest, OkWritesTheEditAndCancelLeavesTheFileAsItWas) {
  Load("xray-cw.inp");
  const std::string before = Written();
  Open();
  Edit();
  Press(Form->Button2);
  EXPECT_FALSE(Form->Visible());
  EXPECT_EQ(Written(), before) << "Cancel stores nothing";
  EXPECT_TRUE(ModelChanged) << "the edits marked the model";

  Open();
  EXPECT_EQ(Form->TitleEdit->Text(), Model->Title) << "showing again refills from the model";
  Edit();
  Press(Form->Button1);
  EXPECT_FALSE(Form->Visible());
  EXPECT_EQ(Model->Cycles, 10);
  EXPECT_EQ(Model->Strategy, 2);
  ExpectMatchesInputGolden(Written(), "general_window.inp");
  EXPECT_EQ(Dialogs.Count(), 0u);
}

TEST_F(GeneralWindowTest, ShowsTheModelAndKeepsKindsInRange) {
  Load("xray-cw.inp");
  Model->IOT = 2;  // only 1 shows ticked
  Model->IPC = 1;
  Model->FourierFile = 9;
  Model->EPS = 0.1f;
  Model->AsymLimit = 20.0f;
  Model->Marquardt = 0.5f;
  Open();
  EXPECT_FALSE(Form->IOTCheckBox->Checked());
  EXPECT_TRUE(Form->IPCCheckBox->Checked());
  EXPECT_EQ(Form->cbFourierfile->ItemIndex(), -1);
  EXPECT_EQ(Form->EPSEdit->Text(), "0.10");
  EXPECT_EQ(Form->AsymLimitEdit->Text(), "20.00");
  EXPECT_EQ(Form->edMarquardt->Text(), "0.50000");
  EXPECT_FALSE(ModelChanged) << "filling the controls changes nothing";
  Press(Form->Button1);
  EXPECT_EQ(Model->FourierFile, 0) << "a Fourier-file kind outside 0..6 becomes 0";
  EXPECT_EQ(Model->IOT, 0);
}

TEST_F(GeneralWindowTest, ChangesMarkOnlyALoadedModel) {
  Model = new TRietveld();
  Open();
  Click(Form->IPLCheckBox, 5, 5);
  Form->RminEdit->SetText("1.0");
  EXPECT_FALSE(ModelChanged) << "no model loaded yet";
  Model->Loaded = true;
  Form->TitleEdit->SetText("Title only");
  EXPECT_FALSE(ModelChanged) << "the title is not watched";
  Form->cbReadFormat->UserSelected(4);
  EXPECT_TRUE(ModelChanged);
}

TEST_F(GeneralWindowTest, ANumberThatDoesNotConvertIsRefusedWithItsField) {
  Load("xray-cw.inp");
  const std::string before = Written();
  struct TCase {
    TEdit* TGeneralForm::*Edit;
    const char* Text;
    const char* Message;
  };
  const TCase cases[] = {
      {&TGeneralForm::RminEdit, "1.2a", "\"1.2a\" in Min \xC3\x85 is not a number."},
      {&TGeneralForm::EPSEdit, "", "\"\" in Terminatation is not a number."},
      {&TGeneralForm::Rel3Edit, "0,9,1", "\"0,9,1\" in abc,S,Z,P,Biso is not a number."},
      {&TGeneralForm::FFLimitEdit, "1e999", "\"1e999\" in F^2 Limit is not a number."},
      {&TGeneralForm::edMarquardt, "x", "\"x\" in Marquart is not a number."},
  };
  for (const TCase& c : cases) {
    Open();
    Form->TitleEdit->SetText("Not stored");
    Form->NCyclesSpinEdit->SetValue(3);
    (Form.get()->*c.Edit)->SetText(c.Text);
    Dialogs.Clear();
    Press(Form->Button1);
    ASSERT_EQ(Dialogs.Count(), 1u) << c.Text;
    EXPECT_EQ(Dialogs.Last().Text, c.Message);
    EXPECT_TRUE(Form->Visible()) << "the window stays for a correction";
    EXPECT_EQ(Written(), before) << c.Text;
    Press(Form->Button2);
  }
}

TEST_F(GeneralWindowTest, ColumnValuesAreReadFromTheirFirstTenCharacters) {
  Load("xray-cw.inp");
  Open();
  Form->EPSEdit->SetText("0.05000000xyz");
  Form->Rel2Edit->SetText(" 0.12345678901");
  Press(Form->Button1);
  EXPECT_EQ(Dialogs.Count(), 0u);
  EXPECT_FLOAT_EQ(Model->EPS, 0.05f);
  EXPECT_FLOAT_EQ(Model->Rel2, 0.1234567f);
}

}  // namespace
