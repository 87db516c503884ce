// The up-down buttons, the track bar and the scroll bar, driven by the
// mouse, the keys and from code.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/rtl/exceptions.h"
#include "platform/ui/extctrls.h"
#include "platform/ui/forms.h"
#include "platform/ui/ranges.h"
#include "platform/ui/stdctrls.h"
#include "support/gui/guitest.h"

using namespace guitest;

namespace {

// An edit with an up-down on a shown form; the log records the edit's
// changes and the up-down's events in their order.
struct UpDownForm : ::testing::Test {
  TForm form{nullptr};
  TEdit* edit = new TEdit(&form);
  TUpDown* ud = new TUpDown(&form);
  std::vector<std::string> log;

  UpDownForm() {
    form.SetClientWidth(200);
    form.SetClientHeight(100);
    edit->SetParent(&form);
    edit->SetBounds(10, 10, 80, 21);
    ud->SetMin(-1000);
    ud->SetMax(1000);
    edit->OnChange = [this](TObject*) { log.push_back("edit " + edit->Text()); };
    ud->OnClick = [this](TObject*, TUDBtnType b) { log.push_back(b == btNext ? "next" : "prev"); };
    ud->OnChanging = [this](TObject*, bool&) { log.push_back("changing"); };
  }
  void Associate() {
    ud->SetAssociate(edit);
    form.Show();
    log.clear();
  }
};

TEST_F(UpDownForm, AssociatingTakesItsRoomFromTheEditAndShowsThePosition) {
  ud->SetPosition(1);
  ud->SetAssociate(edit);
  EXPECT_EQ(ud->Parent(), &form);
  EXPECT_EQ(edit->BoundsRect(), Rect(10, 10, 90 - ud->Width(), 31));
  EXPECT_EQ(ud->BoundsRect(), Rect(90 - ud->Width(), 10, 90, 31));
  EXPECT_EQ(edit->Text(), "1");

  TEdit* left = new TEdit(&form);
  left->SetParent(&form);
  left->SetBounds(10, 50, 80, 21);
  TUpDown* ud2 = new TUpDown(&form);
  ud2->SetAlignButton(udLeft);
  ud2->SetAssociate(left);
  EXPECT_EQ(ud2->BoundsRect(), Rect(10, 50, 10 + ud2->Width(), 71));
  EXPECT_EQ(left->BoundsRect(), Rect(10 + ud2->Width(), 50, 90, 71));
}

TEST_F(UpDownForm, ButtonPressesStepTheEditThenTellWhichButton) {
  ud->SetIncrement(5);
  Associate();
  Click(ud, ud->Width() / 2, 2);
  EXPECT_EQ((std::vector<std::string>{"changing", "edit 5", "next"}), log);
  EXPECT_EQ(ud->Position(), 5);
  log.clear();
  Click(ud, ud->Width() / 2, ud->Height() - 2);
  Click(ud, ud->Width() / 2, ud->Height() - 2);
  EXPECT_EQ((std::vector<std::string>{"changing", "edit 0", "prev", "changing", "edit -5", "prev"}), log);

  // OnChanging may refuse the step: nothing moves, no click.
  ud->OnChanging = [](TObject*, bool& allow) { allow = false; };
  log.clear();
  Click(ud, ud->Width() / 2, 2);
  EXPECT_TRUE(log.empty());
  EXPECT_EQ(ud->Position(), -5);
}

TEST_F(UpDownForm, AHeldButtonRepeatsUntilReleased) {
  Associate();
  MouseDown(ud, mbLeft, ud->Width() / 2, 2);
  ASSERT_NE(ud->RepeatTimer(), nullptr);
  EXPECT_TRUE(ud->RepeatTimer()->Active());
  FireTimer(ud->RepeatTimer());
  FireTimer(ud->RepeatTimer());
  EXPECT_EQ(ud->Position(), 3);
  MouseUp(ud, mbLeft, ud->Width() / 2, 2);
  EXPECT_FALSE(ud->RepeatTimer()->Active());
  EXPECT_EQ(ud->Position(), 3);
}

TEST_F(UpDownForm, ThePositionIsWhatTheEditHoldsKeptInsideTheRange) {
  Associate();
  ud->SetPosition(1500);
  EXPECT_EQ(edit->Text(), "1,000");
  ud->SetPosition(-1234);
  EXPECT_EQ(edit->Text(), "-1,000");
  struct Case {
    std::string typed;
    int position;
  };
  for (const Case& c : std::vector<Case>{{"42", 42}, {"5000", 1000}, {"-7", -7}, {"abc", -7}, {"", -7}, {"1,250", 1000}}) {
    edit->SetText(c.typed);
    EXPECT_EQ(ud->Position(), c.position) << "typed '" << c.typed << "'";
  }
  ud->SetThousands(false);
  ud->SetPosition(1000);
  EXPECT_EQ(edit->Text(), "1000");
}

TEST_F(UpDownForm, StepsStopAtTheEndsOrWrapRound) {
  ud->SetMin(0);
  ud->SetMax(360);
  ud->SetIncrement(5);
  Associate();
  struct Case {
    bool wrap;
    int from;
    TUDBtnType button;
    int to;
  };
  for (const Case& c : std::vector<Case>{{false, 358, btNext, 360},
                                          {false, 360, btNext, 360},
                                          {false, 2, btPrev, 0},
                                          {true, 358, btNext, 0},
                                          {true, 360, btNext, 0},
                                          {true, 0, btPrev, 360},
                                          {true, 10, btPrev, 5}}) {
    ud->SetWrap(c.wrap);
    ud->SetPosition(c.from);
    ud->Press(c.button);
    EXPECT_EQ(ud->Position(), c.to) << c.from << (c.button == btNext ? " up" : " down") << (c.wrap ? " wrapping" : "");
    EXPECT_EQ(edit->Text(), std::to_string(c.to));
  }
}

TEST_F(UpDownForm, TheEditsArrowKeysPressTheButtonsUnlessSwitchedOff) {
  Associate();
  edit->SetFocus();
  ProcessEvents();
  Key(edit, VK_UP);
  Key(edit, VK_UP);
  Key(edit, VK_DOWN);
  EXPECT_EQ(ud->Position(), 1);
  EXPECT_EQ(log.back(), "prev");
  EXPECT_TRUE(edit->Focused()) << "the arrows stay with the edit";
  ud->SetArrowKeys(false);
  Key(edit, VK_UP);
  EXPECT_EQ(ud->Position(), 1);
  // Typing still goes into the edit.
  edit->SelectAll();
  TypeText(edit, "12");
  EXPECT_EQ(ud->Position(), 12);
}

TEST_F(UpDownForm, TheUpDownAndItsEditMayBeFreedInEitherOrder) {
  Associate();
  auto keyCount = [this] {
    int n = 0;
    edit->OnKeyDown = [&n](TObject*, uint16_t&, TShiftState) { ++n; };
    edit->SetFocus();
    Key(edit, VK_UP);
    edit->OnKeyDown = nullptr;
    return n;
  };
  EXPECT_EQ(keyCount(), 0) << "the up-down takes the key";
  delete ud;
  EXPECT_EQ(keyCount(), 1) << "the edit has its own keys back";
  EXPECT_EQ(edit->Text(), "1");

  TUpDown* other = new TUpDown(&form);
  other->SetAssociate(edit);
  delete edit;
  EXPECT_EQ(other->Associate(), nullptr);
  other->SetPosition(7);
  EXPECT_EQ(other->Position(), 7);
  other->Press(btNext);
  EXPECT_EQ(other->Position(), 8);
}

TEST(TrackBar, EveryChangeOfPositionFiresOnChangeAndStaysInRange) {
  TForm form(nullptr);
  auto* bar = new TTrackBar(&form);
  bar->SetParent(&form);
  std::vector<int> changes;
  bar->OnChange = [&](TObject*) { changes.push_back(bar->Position()); };
  bar->SetMin(-300);
  bar->SetMax(300);
  bar->SetPosition(50);
  bar->SetPosition(50);
  bar->SetPosition(1000);
  bar->SetMin(-10);
  bar->SetMax(20);
  EXPECT_EQ((std::vector<int>{50, 300, 20}), changes);
  EXPECT_EQ(bar->Position(), 20);
  bar->SetMin(30);
  EXPECT_EQ(bar->Max(), 30);
  EXPECT_EQ(bar->Position(), 30);
}

TEST(TrackBar, KeysStepByLineAndPageAsTheWindowSystemsBarDoes) {
  TForm form(nullptr);
  auto* bar = new TTrackBar(&form);
  bar->SetParent(&form);
  bar->SetMax(100);
  bar->SetLineSize(2);
  bar->SetPageSize(10);
  bar->SetPosition(50);
  form.Show();
  bar->SetFocus();
  ProcessEvents();
  struct Case {
    uint16_t key;
    int position;
  };
  for (const Case& c : std::vector<Case>{{VK_RIGHT, 52},
                                          {VK_DOWN, 54},
                                          {VK_LEFT, 52},
                                          {VK_UP, 50},
                                          {VK_NEXT, 60},
                                          {VK_PRIOR, 50},
                                          {VK_END, 100},
                                          {VK_RIGHT, 100},
                                          {VK_HOME, 0}}) {
    Key(bar, c.key);
    EXPECT_EQ(bar->Position(), c.position) << "key " << c.key;
  }
  EXPECT_TRUE(bar->Focused()) << "the bar keeps the arrows";
}

TEST(TrackBar, APressOnTheBarMovesItTowardsThePressAndFiresOnChange) {
  TForm form(nullptr);
  form.SetClientWidth(300);
  auto* bar = new TTrackBar(&form);
  bar->SetParent(&form);
  bar->SetBounds(0, 0, 200, 45);
  bar->SetMax(100);
  bar->SetPageSize(10);
  int changes = 0;
  bar->OnChange = [&](TObject*) { ++changes; };
  form.Show();
  WindowClick(bar, 190, bar->Height() / 2);
  EXPECT_GT(bar->Position(), 0);
  EXPECT_GE(changes, 1);
  // Turned upright, the minimum is at the top: a press low down moves it up
  // the range.
  bar->SetOrientation(trVertical);
  EXPECT_EQ(bar->Width(), 45);
  EXPECT_EQ(bar->Height(), 200);
  bar->SetPosition(0);
  WindowClick(bar, bar->Width() / 2, 190);
  EXPECT_GT(bar->Position(), 0);
}

TEST(ScrollBar, SetParamsKeepsThePositionInRangeAndRefusesABadRange) {
  TForm form(nullptr);
  auto* bar = new TScrollBar(&form);
  bar->SetParent(&form);
  int changes = 0;
  bar->OnChange = [&](TObject*) { ++changes; };
  bar->SetParams(30, 0, 50);
  EXPECT_EQ(changes, 1);
  bar->SetParams(80, 10, 60);
  EXPECT_EQ(bar->Position(), 60);
  EXPECT_EQ(changes, 2);
  bar->SetMax(70);
  EXPECT_EQ(changes, 2) << "the position did not move";
  EXPECT_THROW(bar->SetParams(0, 10, 5), EInvalidOperation);
  EXPECT_THROW(bar->SetPageSize(100), EInvalidOperation);
  EXPECT_EQ(bar->Min(), 10);
  EXPECT_EQ(bar->Max(), 70);
  EXPECT_EQ(bar->Position(), 60);
  bar->SetPageSize(20);
  EXPECT_THROW(bar->SetMax(15), EInvalidOperation);
}

TEST(ScrollBar, TheUsersScrollingAsksOnScrollWhichMayChangeWhereItGoes) {
  TForm form(nullptr);
  form.SetClientWidth(300);
  auto* bar = new TScrollBar(&form);
  bar->SetParent(&form);
  bar->SetBounds(0, 0, 200, bar->Height());
  bar->SetSmallChange(3);
  bar->SetLargeChange(25);
  bar->SetPageSize(10);
  std::vector<std::pair<TScrollCode, int>> scrolls;
  std::vector<int> changes;
  bar->OnScroll = [&](TObject*, TScrollCode code, int& pos) { scrolls.push_back({code, pos}); };
  bar->OnChange = [&](TObject*) { changes.push_back(bar->Position()); };
  form.Show();
  // The arrow at the right end steps by SmallChange.
  Click(bar, bar->Width() - 3, bar->Height() / 2);
  ASSERT_FALSE(scrolls.empty());
  EXPECT_EQ(scrolls.front(), std::make_pair(scLineDown, 3));
  EXPECT_EQ(bar->Position(), 3);
  // End goes as far as the thumb reaches: Max - PageSize + 1.
  scrolls.clear();
  bar->SetFocus();
  Key(bar, VK_END);
  EXPECT_EQ(scrolls.front(), std::make_pair(scBottom, 91));
  EXPECT_EQ(bar->Position(), 91);
  // OnScroll holding the bar back.
  bar->OnScroll = [&](TObject*, TScrollCode code, int& pos) {
    scrolls.push_back({code, pos});
    pos = std::min(pos, 40);
  };
  bar->SetPosition(20);
  scrolls.clear();
  bar->UserScroll(scPageDown, 45);
  EXPECT_EQ(scrolls.front(), std::make_pair(scPageDown, 45));
  EXPECT_EQ(bar->Position(), 40);
  EXPECT_EQ((std::vector<int>{3, 91, 20, 40}), changes);
}

}  // namespace
