// The flat combo box (button width limits, the colour kept while disabled,
// the focus border only when asked for, the version, the dropped width) and
// the base cell checker.
#include "grid/support/psgcombo.h"

#include <gtest/gtest.h>

#include "grid/support/psgcheck.h"
#include "platform/gfx/colors.h"
#include "platform/ui/forms.h"
#include "platform/ui/streaming.h"
#include "support/gui/guitest.h"

using namespace guitest;

namespace {

struct FlatCombo : ::testing::Test {
  TForm* Form = nullptr;
  TASGComboBox* Combo = nullptr;
  void SetUp() override {
    EnsureGui();
    Form = new TForm(nullptr);
    Form->SetBounds(0, 0, 300, 200);
    Form->SetColor(0x00336699);
    Combo = new TASGComboBox(Form);
    Combo->SetParent(Form);
    Combo->SetBounds(10, 10, 160, 22);
    Form->Show();
  }
  void TearDown() override {
    delete Form;
    ProcessEvents();
  }
};

TEST_F(FlatCombo, ButtonWidthTakesOnly14To32) {
  const int initial = GetSystemMetrics(SM_CXVSCROLL) + 4;
  EXPECT_EQ(Combo->ButtonWidth(), initial);
  const struct {
    int set, expected;
  } cases[] = {{13, initial}, {33, initial}, {14, 14}, {-1, 14}, {32, 32}, {0, 32}};
  for (const auto& c : cases) {
    Combo->SetButtonWidth(c.set);
    EXPECT_EQ(Combo->ButtonWidth(), c.expected) << c.set;
  }
}

TEST_F(FlatCombo, DisablingShowsTheParentsColourAndEnablingBringsItsOwnBack) {
  Combo->SetColor(0x00CCFFEE);
  EXPECT_FALSE(Combo->ParentColor());
  Combo->SetEnabled(false);
  EXPECT_TRUE(Combo->ParentColor());
  EXPECT_EQ(Combo->Color(), 0x00336699);
  Combo->SetEnabled(true);
  EXPECT_FALSE(Combo->ParentColor());
  EXPECT_EQ(Combo->Color(), 0x00CCFFEE);
}

TEST_F(FlatCombo, BorderTurnsSunkenOnlyWithFocusBorder) {
  Combo->SetColor(clWhite);
  Combo->SetFocus();
  MouseEnter(Combo);
  EXPECT_TRUE(Combo->MouseInControl());
  // Focused and under the mouse, but FocusBorder off: two frames in the parent's colour.
  EXPECT_EQ(ShownPixel(Combo, 0, 0), 0x00336699);
  EXPECT_EQ(ShownPixel(Combo, 1, 6), 0x00336699);
  Combo->SetFocusBorder(true);
  EXPECT_EQ(ShownPixel(Combo, 0, 0), ColorToRGB(clBtnShadow));
  EXPECT_EQ(ShownPixel(Combo, Combo->Width() - 1, Combo->Height() - 1), ColorToRGB(clBtnHighlight));
  EXPECT_EQ(ShownPixel(Combo, 1, 6), ColorToRGB(clBtnFace));
  EXPECT_EQ(ShownPixel(Combo, 2, 6), 0x00FFFFFF);
  // Not flat: the widget's own look, none of these frames.
  Combo->SetFlat(false);
  EXPECT_NE(ShownPixel(Combo, 1, 6), ColorToRGB(clBtnFace));
}

TEST_F(FlatCombo, VersionAndDroppedWidth) {
  EXPECT_EQ(Combo->Version(), "1.2.0.1");
  Combo->SetVersion("9.9.9.9");
  EXPECT_EQ(Combo->Version(), "1.2.0.1");
  EXPECT_EQ(Combo->GetVersionNr(), 16908289);
  Combo->SetDropWidth(300);
  EXPECT_EQ(Combo->Perform(CB_GETDROPPEDWIDTH, 0, 0), 300);
  Combo->SetDropWidth(-5);  // stored, not sent
  EXPECT_EQ(Combo->DropWidth(), -5);
  EXPECT_EQ(Combo->Perform(CB_GETDROPPEDWIDTH, 0, 0), 300);
}

TEST(CellChecker, BaseLeavesValuesAndStartsSwitchedOff) {
  TPlusStringGridCheck check(nullptr);
  EXPECT_FALSE(check.AutoCorrect());
  EXPECT_FALSE(check.AutoMarkError());
  EXPECT_FALSE(check.GotoCell());
  EXPECT_FALSE(check.UseCorrect());
  EXPECT_FALSE(check.UseMarkError());
  EXPECT_EQ(check.Correct(1, 2, "teh value"), "teh value");
  EXPECT_EQ(check.MarkError(1, 2, ""), "");
  // Stored whatever their value.
  const std::string text = ComponentToText(&check);
  EXPECT_NE(text.find("AutoCorrect = False"), std::string::npos) << text;
}

}  // namespace
