#include "app/searchreplace.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/rtl/codepages.h"
#include "platform/ui/forms.h"
#include "support/dialogresponder.h"
#include "support/gui/guitest.h"

namespace {

class SearchAndReplaceTest : public ::testing::Test {
protected:
  void SetUp() override {
    guitest::EnsureGui();
    memo->SetParent(&form);
    sar->SetMemo(memo);
  }
  void Show(const std::string& text, int selStart = 0, int selLength = 0) {
    memo->SetText(text);
    memo->SetSel(selStart, selLength);
  }
  std::string Selected() const { return memo->SelText(); }

  TDialogResponder dialogs;
  TForm form{nullptr};
  TRichEdit* memo = new TRichEdit(&form);
  TSearchAndReplace* sar = new TSearchAndReplace(&form);
};

struct SearchCase {
  const char* text;
  int selStart, selLength;
  const char* what;
  bool down, wholeWord;
  int found;
};

TEST(SearchTextTest, PositionsOfMatches) {
  const SearchCase cases[] = {
      {"B11 B1 x", 0, 0, "B1", true, true, 4},     // not inside B11
      {"B11 B1 x", 0, 0, "B1", true, false, 0},
      {"B1 x", 0, 0, "B1", true, true, 0},         // a word at the very start counts
      {"x B1", 0, 0, "B1", true, true, 2},         // and one at the very end
      {"B1B1", 0, 2, "B1", true, false, 2},        // downwards from the selection's end
      {"B1B1", 0, 2, "B1", true, true, -1},
      {"ab ab ab", 6, 2, "ab", false, false, 3},   // upwards from before the selection
      {"ab ab ab", 3, 0, "ab", false, false, 0},
      {"B11", 3, 0, "B1", false, true, -1},        // upwards, whole word: B1 ends inside B11
      {"ab", 1, 0, "ab", false, false, -1},        // no room before the caret
      {"ab", 0, 0, "abc", true, false, -1},        // longer than the text
      {"", 0, 0, "a", true, false, -1},
      {"a_b a", 0, 0, "a", true, true, 0},         // '_' separates words
  };
  for (const SearchCase& c : cases) {
    EXPECT_EQ(TSearchAndReplace::SearchText(Utf8ToUtf16(c.text), c.selStart, c.selLength, Utf8ToUtf16(c.what),
                                            c.down, c.wholeWord),
              c.found)
        << c.text << " / " << c.what << (c.down ? " down" : " up") << (c.wholeWord ? " word" : "");
  }
}

TEST(ReplaceAllTest, MatchesLikeSuccessiveSearches) {
  struct Case {
    const char* text;
    const char* what;
    const char* with;
    bool matchCase, wholeWord;
    const char* result;
    int count;
  } cases[] = {
      {"ab AB cab", "ab", "xaby", false, false, "xaby xaby cxaby", 3},
      {"ab AB cab", "ab", "x", true, false, "x AB cx", 2},
      {"aaa", "aa", "b", true, false, "ba", 1},             // no overlapping matches
      {"B1 B11 B1", "B1", "C", true, true, "C B11 C", 2},
      {"a a", "a", "b", true, true, "b b", 2},
      {"aa", "a", "b_", true, true, "aa", 0},
      {"a-a", "a", "x", true, true, "x-x", 2},
      {"a a", "a", "", true, true, " ", 2},
      {"nothing", "zz", "y", false, false, "nothing", 0},
  };
  for (const Case& c : cases) {
    int count = -1;
    EXPECT_EQ(Utf16ToUtf8(TSearchAndReplace::ReplaceAllIn(Utf8ToUtf16(c.text), Utf8ToUtf16(c.what),
                                                          Utf8ToUtf16(c.with), c.matchCase, c.wholeWord, count)),
              c.result)
        << c.text << " / " << c.what;
    EXPECT_EQ(count, c.count) << c.text << " / " << c.what;
  }
}

TEST_F(SearchAndReplaceTest, FindProposesTheSelectedWordAndFindsItFirst) {
  Show("cell a\r\ncell b", 7, 4);  // the second "cell" (the line break counts one position)
  guitest::TCommonDialogResponder shown;
  shown.Do([](TCommonDialog*) { return true; });
  sar->Find();
  TFindDialog* d = sar->FindDialog();
  EXPECT_TRUE(d->Showing());
  EXPECT_EQ(d->FindText, "cell");
  EXPECT_EQ(d->Options, TFindOptions({frDown}));
  EXPECT_EQ(memo->SelLength(), 0);
  d->FindNextPressed();
  EXPECT_EQ(memo->SelStart(), 7);
  EXPECT_EQ(Selected(), "cell");
  EXPECT_EQ(dialogs.Count(), 0u);
}

// In the window system's find window, Find Next pressed again goes on to
// the next match: the window stays up between presses.
TEST_F(SearchAndReplaceTest, FindNextInThePlatformWindowWalksThroughTheMatches) {
  TCommonDialogHandler saved = SetCommonDialogHandler(nullptr);
  InstallPlatformDialogs();
  form.Show();
  Show("0.5 1.0 0.5 2.0 0.5", 0, 3);
  sar->Find();
  ASSERT_TRUE(guitest::WindowShowing("Find"));
  for (int at : {0, 8, 16}) {
    EXPECT_TRUE(guitest::PressWindowButton("Find", "Find Next"));
    EXPECT_EQ(memo->SelStart(), at);
    EXPECT_EQ(Selected(), "0.5");
  }
  EXPECT_EQ(dialogs.Count(), 0u);
  EXPECT_TRUE(guitest::PressWindowButton("Find", "Find Next"));
  ASSERT_EQ(dialogs.Count(), 1u);
  EXPECT_EQ(dialogs.Last().Text, "\"0.5\" was not found in text");
  EXPECT_TRUE(guitest::PressWindowButton("Find", "Cancel"));
  SetCommonDialogHandler(saved);
}

TEST_F(SearchAndReplaceTest, CaseAndWholeWordOptions) {
  Show("Cell B11 B1");
  TFindDialog* d = sar->FindDialog();
  d->FindText = "cell";
  d->Options = {frDown};
  d->FindNextPressed();
  EXPECT_EQ(Selected(), "Cell");

  memo->SetSel(0, 0);
  d->Options = {frDown, frMatchCase};
  d->FindNextPressed();
  EXPECT_EQ(dialogs.Count(), 1u);
  EXPECT_EQ(dialogs.Last().Text, "\"cell\" was not found in text");
  EXPECT_EQ(dialogs.Last().Flags, MB_ICONINFORMATION);

  memo->SetSel(0, 0);
  d->FindText = "B1";
  d->Options = {frDown, frWholeWord};
  d->FindNextPressed();
  EXPECT_EQ(memo->SelStart(), 9);
}

TEST_F(SearchAndReplaceTest, EmptySearchTextReportsNotFound) {
  Show("anything");
  sar->SetNotFound("Missing: %s");
  sar->FindDialog()->FindText = "";
  sar->FindDialog()->FindNextPressed();
  ASSERT_EQ(dialogs.Count(), 1u);
  EXPECT_EQ(dialogs.Last().Text, "Missing: ");
}

TEST_F(SearchAndReplaceTest, ReplaceAll) {
  TReplaceDialog* d = sar->ReplaceDialog();
  d->Options = {frDown};
  d->FindText = "ab";
  d->ReplaceText = "xaby";  // holds the search text: each match is replaced once
  Show("ab AB cab", 4, 0);
  d->ReplacePressed(true);
  EXPECT_EQ(memo->Text(), "xaby xaby cxaby");
  EXPECT_EQ(memo->SelStart(), 0);
  EXPECT_TRUE(memo->Modified());
  memo->Undo();  // one step takes it all back
  EXPECT_EQ(memo->Text(), "ab AB cab");

  Show("nothing to see");
  memo->SetModified(false);
  d->ReplacePressed(true);
  EXPECT_EQ(memo->Text(), "nothing to see");
  EXPECT_FALSE(memo->Modified());
  EXPECT_EQ(dialogs.Count(), 0u);
}

TEST_F(SearchAndReplaceTest, ReplaceOneReplacesTheMatchThenSelectsTheNext) {
  TReplaceDialog* d = sar->ReplaceDialog();
  d->Options = {frDown};
  d->FindText = "a";
  d->ReplaceText = "Z";
  Show("xa a a", 1, 1);
  d->ReplacePressed(false);
  EXPECT_EQ(memo->Text(), "xZ a a");
  EXPECT_EQ(memo->SelStart(), 3);
  EXPECT_EQ(memo->SelLength(), 1);
  d->ReplacePressed(false);
  d->ReplacePressed(false);
  EXPECT_EQ(memo->Text(), "xZ Z Z");
  ASSERT_EQ(dialogs.Count(), 1u);  // nothing left after the last one
  EXPECT_EQ(dialogs.Last().Text, "\"a\" was not found in text");
}

TEST_F(SearchAndReplaceTest, ReplaceOneLeavesASelectionThatIsNotTheSearchText) {
  TReplaceDialog* d = sar->ReplaceDialog();
  d->Options = {frDown};
  d->FindText = "a";
  d->ReplaceText = "Z";
  Show("keep this a", 0, 4);
  d->ReplacePressed(false);
  EXPECT_EQ(memo->Text(), "keep this a");
  EXPECT_EQ(memo->SelStart(), 10);
}

TEST_F(SearchAndReplaceTest, FreedMemoIsForgotten) {
  delete memo;
  memo = nullptr;
  EXPECT_EQ(sar->Memo(), nullptr);
  sar->FindDialog()->FindText = "x";
  sar->FindDialog()->FindNextPressed();  // nothing to search, nothing to crash
  EXPECT_EQ(dialogs.Count(), 0u);
}

}  // namespace
