// The Unicode combo box: wide items read back unchanged and found without
// regard to case, clearing the items keeps the typed text, a chosen item
// becomes the text before OnClick and OnChange, typed characters beyond 8
// bits pass OnKeyPress as 255, Enter closes the dropped list, and the flat
// look's button width and border.
#include "grid/support/psgunicombo.h"

#include <gtest/gtest.h>

#include "platform/gfx/colors.h"
#include "platform/ui/forms.h"
#include "platform/ui/streaming.h"
#include "support/gui/guitest.h"

using namespace guitest;

namespace {

const std::u16string kGreece = u"\x0395\x03BB\x03BB\x03AC\x03B4\x03B1";       // Ελλάδα
const std::u16string kGreeceLower = u"\x03B5\x03BB\x03BB\x03AC\x03B4\x03B1";  // ελλάδα

struct UniCombo : ::testing::Test {
  TForm* Form = nullptr;
  TASGUniComboBox* Combo = nullptr;
  void SetUp() override {
    EnsureGui();
    Form = new TForm(nullptr);
    Form->SetBounds(0, 0, 300, 200);
    Combo = new TASGUniComboBox(Form);
    Combo->SetParent(Form);
    Combo->SetBounds(10, 10, 160, 22);
    Form->Show();
    Combo->SetFocus();
  }
  void TearDown() override {
    delete Form;
    ProcessEvents();
  }
};

TEST_F(UniCombo, WideItemsReadBackAndAreFoundWithoutRegardToCase) {
  TWideStrings* items = Combo->Items();
  items->Add(u"Deutschland");
  EXPECT_EQ(items->Add(kGreece), 1);
  items->Insert(0, u"\x4E2D\x56FD");
  EXPECT_EQ(items->Count(), 3);
  EXPECT_EQ(items->Strings(2), kGreece);
  EXPECT_EQ(items->IndexOf(kGreeceLower), 2);
  EXPECT_EQ(items->IndexOf(u"DEUTSCHLAND"), 1);
  EXPECT_EQ(items->IndexOf(u"Deutsch"), -1);
  TObject o;
  items->SetObjects(2, &o);
  EXPECT_EQ(items->Objects(2), &o);
  items->Delete(0);
  EXPECT_EQ(items->Strings(0), u"Deutschland");
  EXPECT_EQ(Combo->TComboBox::Items()->Count(), 2);
}

TEST_F(UniCombo, ClearingTheItemsKeepsTheText) {
  Combo->Items()->Add(kGreece);
  Combo->SetText(kGreeceLower + u"!");
  Combo->Items()->Clear();
  EXPECT_EQ(Combo->Items()->Count(), 0);
  EXPECT_EQ(Combo->Text(), kGreeceLower + u"!");
}

TEST_F(UniCombo, ChosenItemBecomesTheTextBeforeClickAndChange) {
  Combo->Items()->Add(u"one");
  Combo->Items()->Add(kGreece);
  std::vector<std::pair<std::string, std::u16string>> events;
  Combo->OnClick = [&](TObject*) { events.emplace_back("click", Combo->Text()); };
  Combo->OnChange = [&](TObject*) { events.emplace_back("change", Combo->Text()); };
  Combo->UserSelected(1);
  ASSERT_EQ(events.size(), 2u);
  EXPECT_EQ(events[0], std::make_pair(std::string("click"), kGreece));
  EXPECT_EQ(events[1].first, "change");
  EXPECT_EQ(Combo->ItemIndex(), 1);
}

TEST_F(UniCombo, TypedCharactersPassTheKeyEvents) {
  Combo->SetText(u"");
  std::vector<int> seen;
  Combo->OnKeyPress = [&](TObject*, char& k) {
    seen.push_back(static_cast<unsigned char>(k));
    if (k == 'x') k = 0;
  };
  Key(Combo, 0, "\xCE\xB5");  // ε
  Key(Combo, 'A', "a");
  Key(Combo, 'X', "x");
  Key(Combo, VK_BACK, "\b");
  EXPECT_EQ(seen, (std::vector<int>{255, 'a', 'x', 8}));
  EXPECT_EQ(Combo->Text(), u"\x03B5");
}

TEST_F(UniCombo, EnterClosesTheDroppedListWithoutTyping) {
  Combo->Items()->Add(u"one");
  Combo->SetText(u"o");
  Combo->SetDroppedDown(true);
  ProcessEvents();
  if (!Combo->DroppedDown()) GTEST_SKIP() << "the platform shows no pop-up list";
  Key(Combo, VK_RETURN, "\r");
  EXPECT_FALSE(Combo->DroppedDown());
  EXPECT_EQ(Combo->Text(), u"o");
}

TEST_F(UniCombo, ButtonWidthOutsideItsRangeIsIgnored) {
  EXPECT_EQ(Combo->ButtonWidth(), GetSystemMetrics(SM_CXVSCROLL) + 4);
  Combo->SetButtonWidth(40);
  Combo->SetButtonWidth(10);
  EXPECT_EQ(Combo->ButtonWidth(), GetSystemMetrics(SM_CXVSCROLL) + 4);
  Combo->SetButtonWidth(20);
  EXPECT_EQ(Combo->ButtonWidth(), 20);
  EXPECT_TRUE(Combo->Flat());
}

TEST_F(UniCombo, FocusBorderTurnsSunkenOnlyWhenAskedFor) {
  Form->SetColor(0x00336699);
  Combo->SetColor(clWhite);
  MouseEnter(Combo);
  EXPECT_TRUE(Combo->MouseInControl());
  // Without FocusBorder: the parent's colour all round.
  EXPECT_EQ(ShownPixel(Combo, 0, 0), 0x00336699);
  EXPECT_EQ(ShownPixel(Combo, 1, 5), 0x00336699);
  Combo->SetFocusBorder(true);
  EXPECT_EQ(ShownPixel(Combo, 0, 0), ColorToRGB(clBtnShadow));
  EXPECT_EQ(ShownPixel(Combo, 1, 5), ColorToRGB(clBtnFace));
  MouseLeave(Combo);
  Form->SetActiveControl(nullptr);
  EXPECT_EQ(ShownPixel(Combo, 0, 0), 0x00336699);
}

TEST_F(UniCombo, StoredItemsComeBackAsWideStrings) {
  Combo->SetName("Countries");
  Combo->Items()->Add(kGreece);
  Combo->Items()->Add(u"\x4E2D\x56FD");
  const std::string text = ComponentToText(Combo);
  EXPECT_NE(text.find("Items.WideStrings"), std::string::npos) << text;
  EXPECT_EQ(text.find("Items.Strings"), std::string::npos) << text;
  auto* copy = new TASGUniComboBox(Form);
  copy->SetParent(Form);
  TextToComponent(text, copy);
  EXPECT_TRUE(copy->Items()->Equals(*Combo->Items()));
}

// Sees every typed character before the key events.
class THookedCombo : public TASGUniComboBox {
public:
  using TASGUniComboBox::TASGUniComboBox;
  void ComboCharHook(TMessage& M) override { Hooked.push_back(M.WParam & 0xFFFF); }
  std::vector<WPARAM> Hooked;
};

TEST_F(UniCombo, CharHookSeesCharactersFirst) {
  auto* c = new THookedCombo(Form);
  c->SetParent(Form);
  c->SetBounds(10, 50, 160, 22);
  c->SetFocus();
  std::vector<WPARAM> order;
  c->OnKeyPress = [&](TObject*, char&) { order.push_back(c->Hooked.size()); };
  Key(c, 'Q', "q");
  Key(c, 0, "\xD0\xB6");  // ж
  EXPECT_EQ(c->Hooked, (std::vector<WPARAM>{'q', 255}));
  EXPECT_EQ(order, (std::vector<WPARAM>{1, 2}));
  EXPECT_EQ(c->Text(), u"q\x0436");
}

}  // namespace
