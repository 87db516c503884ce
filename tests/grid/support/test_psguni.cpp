// The Unicode editors: wide text in and out, characters beyond 8 bits
// through OnKeyPress as 255 (left alone, cancelled or replaced), an input
// method's result as one character message each, the change event once for
// the same text, and the memo's returns and tabs.
#include "grid/support/psguni.h"

#include <gtest/gtest.h>

#include "platform/ui/forms.h"
#include "support/gui/guitest.h"

using namespace guitest;

namespace {

const std::string kGreek = "\xCE\xB5";     // ε
const std::string kCyrillic = "\xD0\xB6";  // ж
const std::u16string kChinese = u"\x4E2D\x6587";

TEST(PsgUni, WideCharactersAreStashedAndRestored) {
  const struct {
    WPARAM typed;
    int replaceWith;  // -1: leave the key alone
    WPARAM arrives;
  } cases[] = {
      {'a', -1, 'a'},
      {0xE9, -1, 0xE9},      // 8 bits: as it is
      {0x3B5, -1, 0x3B5},    // beyond: 255 on the way, restored
      {0x3B5, 'x', 'x'},     // replaced by the key event
      {0x3B5, 0, 0},         // cancelled
      {0xFF, -1, 0xFF},      // a real 255 stays
  };
  for (const auto& c : cases) {
    TMessage m{WM_CHAR, c.typed, 0, 0};
    StashWideChar(m);
    EXPECT_EQ(m.WParam & 0xFFFF, c.typed >= 256 ? 255u : c.typed);
    if (c.replaceWith >= 0) m.WParam = (m.WParam & ~WPARAM(0xFFFF)) | static_cast<WPARAM>(c.replaceWith);
    RestoreWideChar(m);
    EXPECT_EQ(m.WParam, c.arrives) << c.typed;
  }
  TMessage wrong{WM_KEYDOWN, 'a', 0, 0};
  EXPECT_THROW(StashWideChar(wrong), EAssertionFailed);
  EXPECT_THROW(RestoreWideChar(wrong), EAssertionFailed);
  TMessage stashedTwice{WM_CHAR, (0x3B5u << 16) | 255, 0, 0};
  EXPECT_THROW(StashWideChar(stashedTwice), EAssertionFailed);

  EXPECT_TRUE(IsTextMessage(WM_SETTEXT));
  EXPECT_TRUE(IsTextMessage(WM_GETTEXTLENGTH));
  EXPECT_FALSE(IsTextMessage(WM_CHAR));
  EXPECT_TRUE(IsIntResourceName(65535));
  EXPECT_FALSE(IsIntResourceName(65536));
}

struct UniEdits : ::testing::Test {
  TForm* Form = nullptr;
  void SetUp() override {
    EnsureGui();
    Form = new TForm(nullptr);
    Form->SetBounds(0, 0, 300, 250);
  }
  void TearDown() override {
    delete Form;
    ProcessEvents();
  }
  template <class T>
  T* Make(int height = 24) {
    auto* e = new T(Form);
    e->SetParent(Form);
    e->SetBounds(10, 10, 200, height);
    Form->Show();
    e->SetFocus();
    return e;
  }
};

TEST_F(UniEdits, CharactersBeyondEightBitsPassOnKeyPressAs255) {
  auto* e = Make<TPsgUniEdit>();
  std::vector<int> seen;
  e->OnKeyPress = [&](TObject*, char& k) { seen.push_back(static_cast<unsigned char>(k)); };
  Key(e, 0, kGreek);
  Key(e, 'A', "a");
  Key(e, 0, kCyrillic);
  EXPECT_EQ(e->Text(), u"\x03B5" u"a\x0436");
  EXPECT_EQ(seen, (std::vector<int>{255, 'a', 255}));

  // Cancelling 255 blocks every character beyond the 8-bit range.
  e->SetText(u"");
  e->OnKeyPress = [](TObject*, char& k) {
    if (static_cast<unsigned char>(k) == 255) k = 0;
  };
  Key(e, 0, kGreek);
  Key(e, 'B', "b");
  Key(e, 0, kCyrillic);
  EXPECT_EQ(e->Text(), u"b");

  // A replaced one is inserted as replaced.
  e->OnKeyPress = [](TObject*, char& k) {
    if (static_cast<unsigned char>(k) == 255) k = '?';
  };
  Key(e, 0, kGreek);
  EXPECT_EQ(e->Text(), u"b?");
}

TEST_F(UniEdits, InputMethodResultArrivesOneCharacterAtATime) {
  auto* e = Make<TPsgUniEdit>();
  int presses = 0;
  e->OnKeyPress = [&](TObject*, char&) { ++presses; };
  InputMethodCommit(e, "\xE4\xB8\xAD\xE6\x96\x87\xE5\xAD\x97");  // 中文字
  EXPECT_EQ(presses, 3);
  EXPECT_EQ(e->Text(), u"\x4E2D\x6587\x5B57");
}

TEST_F(UniEdits, SameWideTextTwiceChangesOnce) {
  auto* e = Make<TPsgUniEdit>();
  int changes = 0;
  e->OnChange = [&](TObject*) { ++changes; };
  e->SetText(kChinese);
  e->SetText(kChinese);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(GetWideText(e), kChinese);
  EXPECT_EQ(static_cast<TControl*>(e)->Text(), "\xE4\xB8\xAD\xE6\x96\x87");
}

TEST_F(UniEdits, EditWithButtonStartsEmptyAndKeepsTextOverRightAlign) {
  auto* e = Make<TPsgUniEditBtn>();
  EXPECT_EQ(e->Text(), u"");
  e->SetText(kChinese);
  e->SetRightAlign(true);
  EXPECT_EQ(e->Text(), kChinese);
  EXPECT_EQ(e->GetRect().Right, e->ClientWidth() - e->EditButton()->Width() - 3);
  int clicks = 0;
  e->OnClickBtn = [&](TObject*) { ++clicks; };
  Key(e, VK_F4);
  EXPECT_EQ(clicks, 1);
}

TEST_F(UniEdits, MemoTakesReturnsAndTabsOnlyWhenAskedTo) {
  auto* m = Make<TPsgUniMemo>(80);
  EXPECT_EQ(m->Width(), 200);
  EXPECT_FALSE(m->WantReturns());
  EXPECT_EQ(m->Perform(WM_GETDLGCODE, 0, 0) & (DLGC_WANTTAB | DLGC_WANTALLKEYS), 0);
  TypeText(m, "a\r");
  Key(m, 0, kGreek);
  EXPECT_EQ(m->Text(), u"a\x03B5");
  m->SetWantReturns(true);
  m->SetWantTabs(true);
  EXPECT_EQ(m->Perform(WM_GETDLGCODE, 0, 0) & (DLGC_WANTTAB | DLGC_WANTALLKEYS), DLGC_WANTTAB | DLGC_WANTALLKEYS);
  TypeText(m, "\rb");
  Key(m, VK_TAB, "\t");
  EXPECT_EQ(m->Text(), u"a\x03B5\r\nb\t");
  m->SetText(u"x\r\ny");
  m->SetWordWrap(true);
  m->SetScrollBars(ssBoth);
  EXPECT_EQ(m->Text(), u"x\r\ny");
}

}  // namespace
