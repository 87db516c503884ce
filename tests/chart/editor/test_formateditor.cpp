// The format editor reading formats back and rebuilding them, the axis
// increment dialog and its texts, the select list and the source page base.
#include <gtest/gtest.h>

#include <memory>

#include "chart/editor/grafaxisincr.h"
#include "chart/editor/grafformatting.h"
#include "chart/editor/grafselectlist.h"
#include "chart/editor/grafsourceedit.h"
#include "dialogtest.h"
#include "support/dialogresponder.h"
#include "support/gui/guitest.h"

using dialogtest::Find;

namespace {

using FormatEditorTest = dialogtest::EditorDialogTest;

TEST_F(FormatEditorTest, FormatsOpenOnTheirKindAndRebuild) {
  const struct {
    const char* Format;
    const char* Kind;  // the radio button checked
    bool Percent, Thousands, ThousandsEnabled, Fixed;
    int Decimals, FixedDigits;
    const char* Rebuilt;  // OK without changes
  } cases[] = {
      {"#,##0.00", "RBInteger", false, true, true, true, 2, 1, "#,##0.00"},
      {"0.0%", "RBInteger", true, false, false, true, 1, 1, "0.0%"},
      {"0000", "RBInteger", false, false, true, false, 0, 4, "0000"},
      {"#.##", "RBInteger", false, false, true, false, 2, 0, "#.##"},
      {"00,000", "RBInteger", false, true, true, false, 0, 5, "00,000"},
      {"dd-mm-yyyy", "RBDate", false, false, true, false, 0, 0, "dd-mm-yyyy"},
      {"ddd", "RBDate", false, false, true, false, 0, 0, "ddd"},
      {"ddd mm ss", "RBGeo", false, false, true, false, 0, 0, "ddd mm ss"},
      {"0.00E+00", "RBCustom", false, false, true, true, 2, 0, "0.00E+00"},
      {"#,#,##0", "RBCustom", false, true, true, false, 0, 0, "#,#,##0"},
  };
  for (const auto& c : cases) {
    guitest::TModalResponder modal;
    modal.Do([&](TCustomForm* f) {
      EXPECT_TRUE(Find<TRadioButton>(f, c.Kind)->Checked()) << c.Format;
      if (std::string(c.Kind) == "RBInteger") {
        EXPECT_EQ(Find<TCheckBox>(f, "CBPercent")->Checked(), c.Percent) << c.Format;
        EXPECT_EQ(Find<TCheckBox>(f, "CBThousands")->Checked(), c.Thousands) << c.Format;
        EXPECT_EQ(Find<TCheckBox>(f, "CBThousands")->Enabled(), c.ThousandsEnabled) << c.Format;
        EXPECT_EQ(Find<TCheckBox>(f, "CBCurrency")->Enabled(), c.ThousandsEnabled) << c.Format;
        EXPECT_EQ(Find<TCheckBox>(f, "CBFixedDecimals")->Checked(), c.Fixed) << c.Format;
        EXPECT_EQ(Find<TUpDown>(f, "UpDown1")->Position(), c.Decimals) << c.Format;
        EXPECT_EQ(Find<TUpDown>(f, "UpDown2")->Position(), c.FixedDigits) << c.Format;
      }
      if (std::string(c.Kind) == "RBCustom") {
        EXPECT_TRUE(Find<TComboBox>(f, "CBCustom")->Enabled()) << c.Format;
        EXPECT_EQ(Find<TComboBox>(f, "CBCustom")->Text(), c.Format);
      }
      return mrOk;
    });
    EXPECT_EQ(TFormatEditor::EditFormat(nullptr, c.Format, true), c.Rebuilt) << c.Format;
    EXPECT_EQ(modal.Count(), 1);
  }
}

TEST_F(FormatEditorTest, BuildingFollowsTheBoxes) {
  guitest::TModalResponder modal;
  modal.Do([](TCustomForm* f) {
    Find<TUpDown>(f, "UpDown2")->SetPosition(2);
    Find<TCheckBox>(f, "CBThousands")->SetChecked(true);
    Find<TCheckBox>(f, "CBCurrency")->SetChecked(true);
    Find<TUpDown>(f, "UpDown1")->SetPosition(3);
    return mrOk;
  });
  EXPECT_EQ(TFormatEditor::EditFormat(nullptr, "0", false), "$#,#00.###");
  modal.Do([](TCustomForm* f) {
    Find<TCheckBox>(f, "CBPercent")->SetChecked(true);
    EXPECT_FALSE(Find<TCheckBox>(f, "CBThousands")->Checked());
    EXPECT_FALSE(Find<TCheckBox>(f, "CBCurrency")->Enabled());
    return mrOk;
  });
  EXPECT_EQ(TFormatEditor::EditFormat(nullptr, "$#,##0", false), "0%");
  // Date time is not offered when not allowed; Cancel gives the format back.
  modal.Do([](TCustomForm* f) {
    EXPECT_FALSE(Find<TControl>(f, "RBDate")->Visible());
    Find<TRadioButton>(f, "RBGeo")->SetChecked(true);
    EXPECT_FALSE(Find<TRadioButton>(f, "RBInteger")->Checked());
    EXPECT_TRUE(Find<TComboBox>(f, "CBGeo")->Enabled());
    return mrCancel;
  });
  EXPECT_EQ(TFormatEditor::EditFormat(nullptr, "#.0", false), "#.0");
  modal.Do([](TCustomForm* f) {
    Find<TRadioButton>(f, "RBDate")->SetChecked(true);
    EXPECT_EQ(Find<TComboBox>(f, "CBDate")->Text(), "dd/mm/yyyy");  // the short date format
    return mrOk;
  });
  EXPECT_EQ(TFormatEditor::EditFormat(nullptr, "0", true), "dd/mm/yyyy");
}

TEST_F(FormatEditorTest, IncrementTexts) {
  const struct {
    bool DateTime, Exact;
    double Increment;
    const char* Format;
    const char* Text;
  } cases[] = {
      {true, false, 1.5, "", "1 12:00:00"},
      {true, false, 1, "", "1"},
      {true, false, 0.25, "", "06:00:00"},
      {true, false, 0, "", "00:00:01"},
      {true, true, 1.0 / 24, "", "One Hour"},
      {true, true, 30, "", "One Month"},
      {true, true, 1.25, "", "1 06:00:00"},  // no standard step
      {false, false, 2.5, "0.0", "2.5"},
      {false, false, 1000, "#,##0", "1000"},   // "1,000" does not read back
      {false, false, 0.125, "0.0", "0.125"},  // "0.1" is another value
  };
  for (const auto& c : cases)
    EXPECT_EQ(AxisIncrementText(nullptr, c.DateTime, c.Exact, c.Increment, c.Format), c.Text) << c.Increment;
  EXPECT_EQ(StepName(dtOneWeek), "One Week");
}

TEST_F(FormatEditorTest, IncrementDialogReadsDaysAndTimes) {
  const struct {
    const char* Typed;
    double Increment;
  } cases[] = {{"2 06:00:00", 2.25}, {"3", 3}, {"12:00:00", 0.5}, {"1.5", 1.5}};
  for (const auto& c : cases) {
    TAxisIncrement dialog(nullptr);
    dialog.IsDateTime = true;
    dialog.Increment = 1;
    guitest::TModalResponder modal;
    modal.Do([&](TCustomForm* f) {
      EXPECT_EQ(Find<TRadioGroup>(f, "RadioGroup1")->ItemIndex(), 1);
      EXPECT_EQ(Find<TEdit>(f, "ECustom")->Hint(), "Enter [Number of Days] [hh:nn:ss]");
      Find<TEdit>(f, "ECustom")->SetText(c.Typed);
      Find<TButton>(f, "BOk")->Click();
      return f->ModalResult();
    });
    EXPECT_EQ(dialog.ShowModal(), mrOk) << c.Typed;
    EXPECT_NEAR(dialog.Increment, c.Increment, 1e-9) << c.Typed;
  }
  // Neither a number nor a time: the reason shows and the dialog stays.
  TAxisIncrement dialog(nullptr);
  dialog.IsDateTime = true;
  TDialogResponder messages;
  guitest::TModalResponder modal;
  modal.Do([&](TCustomForm* f) {
    Find<TEdit>(f, "ECustom")->SetText("soon");
    Find<TButton>(f, "BOk")->Click();
    EXPECT_EQ(f->ModalResult(), mrNone);
    return mrCancel;
  });
  EXPECT_EQ(dialog.ShowModal(), mrCancel);
  ASSERT_EQ(messages.Count(), 1u);
  EXPECT_EQ(messages.Last().Text.rfind("Incorrect value. Reason: ", 0), 0u) << messages.Last().Text;
}

TEST_F(FormatEditorTest, IncrementDialogStandardStepsAndNumbers) {
  TAxisIncrement dialog(nullptr);
  dialog.IsDateTime = true;
  dialog.ExactDateTime = true;
  dialog.Increment = 7;
  dialog.StepIndex = NearestDateTimeStepIndex(7);
  guitest::TModalResponder modal;
  modal.Do([&](TCustomForm* f) {
    EXPECT_EQ(Find<TRadioGroup>(f, "RadioGroup1")->ItemIndex(), 0);
    EXPECT_EQ(Find<TComboBox>(f, "CBSteps")->ItemIndex(), dtOneWeek);
    EXPECT_FALSE(Find<TEdit>(f, "ECustom")->Enabled());
    EXPECT_TRUE(Find<TCheckBox>(f, "CBExact")->Checked());
    Find<TComboBox>(f, "CBSteps")->UserSelected(dtTwoHours);
    Find<TButton>(f, "BOk")->Click();
    return f->ModalResult();
  });
  EXPECT_EQ(dialog.ShowModal(), mrOk);
  EXPECT_DOUBLE_EQ(dialog.Increment, 2.0 / 24);
  EXPECT_EQ(dialog.StepIndex, dtTwoHours);

  TAxisIncrement numbers(nullptr);
  numbers.Increment = 0.5;
  modal.Do([&](TCustomForm* f) {
    EXPECT_FALSE(Find<TControl>(f, "RadioGroup1")->Visible());
    EXPECT_FALSE(Find<TControl>(f, "CBExact")->Visible());
    EXPECT_EQ(Find<TEdit>(f, "ECustom")->Text(), "0.5");
    EXPECT_EQ(Find<TEdit>(f, "ECustom")->Top(), Find<TButton>(f, "BOk")->Top());
    Find<TEdit>(f, "ECustom")->SetText("25");
    Find<TButton>(f, "BOk")->Click();
    return f->ModalResult();
  });
  EXPECT_EQ(numbers.ShowModal(), mrOk);
  EXPECT_EQ(numbers.Increment, 25);
}

TEST_F(FormatEditorTest, SelectListMovesAndOrdersItems) {
  TForm host(nullptr);
  auto* list = new TSelectListForm(&host);
  list->SetParent(&host);
  int changes = 0;
  list->OnChange = [&](TObject*) { ++changes; };
  TObject* tags[4] = {reinterpret_cast<TObject*>(1), reinterpret_cast<TObject*>(2), reinterpret_cast<TObject*>(3),
                      reinterpret_cast<TObject*>(4)};
  const char* names[4] = {"A", "B", "C", "D"};
  for (int i = 0; i < 4; ++i) list->Available()->Items()->AddObject(names[i], tags[i]);
  list->EnableButtons();
  EXPECT_TRUE(Find<TButton>(list, "BRightOne")->Enabled());
  EXPECT_FALSE(Find<TButton>(list, "BLeftAll")->Enabled());
  list->Available()->SetSelected(1, true);
  list->Available()->SetSelected(3, true);
  Find<TButton>(list, "BRightOne")->Click();
  TStrings* chosen = list->Selection()->Items();
  ASSERT_EQ(chosen->Count(), 2);
  EXPECT_EQ(chosen->Strings(0), "B");
  EXPECT_EQ(chosen->Objects(1), tags[3]);
  EXPECT_EQ(list->Available()->Items()->Count(), 2);
  EXPECT_EQ(changes, 1);
  // The last selected item cannot go further down.
  list->Selection()->SetItemIndex(1);
  list->EnableButtons();
  EXPECT_FALSE(Find<TSpeedButton>(list, "BMoveDown")->Enabled());
  EXPECT_TRUE(Find<TSpeedButton>(list, "BMoveUP")->Enabled());
  Find<TSpeedButton>(list, "BMoveUP")->Click();
  EXPECT_EQ(chosen->Strings(0), "D");
  EXPECT_EQ(list->Selection()->ItemIndex(), 0);
  EXPECT_FALSE(Find<TSpeedButton>(list, "BMoveUP")->Enabled());
  Find<TButton>(list, "BLeftAll")->Click();
  EXPECT_EQ(chosen->Count(), 0);
  EXPECT_EQ(list->Available()->Items()->Count(), 4);
  EXPECT_EQ(list->Available()->Items()->Strings(3), "B");
  EXPECT_EQ(changes, 3);
}

TEST_F(FormatEditorTest, SourcePageAsksBeforeClosingWithChanges) {
  TForm host(nullptr);
  auto* page = new TBaseSourceEditor(&host);
  TButton* apply = page->ApplyButton();
  bool canClose = true;
  page->OnCloseQuery(page, canClose);
  EXPECT_TRUE(canClose);  // nothing pending: no question
  TDialogResponder answers;
  int applied = 0;
  apply->OnClick = [&](TObject*) {
    ++applied;
    apply->SetEnabled(false);
  };
  const struct {
    int Answer;
    bool CanClose;
    int Applied;
  } cases[] = {{mrCancel, false, 0}, {mrNo, true, 0}, {mrYes, true, 1}};
  for (const auto& c : cases) {
    apply->SetEnabled(true);
    applied = 0;
    answers.Answer(c.Answer);
    canClose = true;
    page->OnCloseQuery(page, canClose);
    EXPECT_EQ(canClose, c.CanClose) << c.Answer;
    EXPECT_EQ(applied, c.Applied) << c.Answer;
    EXPECT_EQ(answers.Last().Text, "Apply Changes ?");
  }
  // Yes, but the apply failed to finish: the page stays.
  apply->OnClick = [](TObject*) {};
  apply->SetEnabled(true);
  answers.Answer(mrYes);
  canClose = true;
  page->OnCloseQuery(page, canClose);
  EXPECT_FALSE(canClose);
}

}  // namespace
