// Key and focus events of edit boxes as windows use them (Enter handled and
// swallowed in OnKeyPress), and the hit-test and set-cursor messages that
// let a control choose the mouse cursor over parts of itself.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/ui/forms.h"
#include "platform/ui/lists.h"
#include "platform/ui/stdctrls.h"
#include "support/gui/guitest.h"

using namespace guitest;

namespace {

struct EditEventsFixture : ::testing::Test {
  TForm* Form = nullptr;
  std::vector<std::string> Log;
  void SetUp() override {
    EnsureGui();
    Form = new TForm(nullptr);
    Form->SetBounds(50, 50, 300, 200);
  }
  void TearDown() override {
    delete Form;
    ProcessEvents();
  }
  TEdit* MakeEdit(const std::string& name, int top) {
    auto* e = new TEdit(Form);
    e->SetParent(Form);
    e->SetBounds(10, top, 120, 22);
    e->OnEnter = [this, name](TObject*) { Log.push_back(name + " enter"); };
    e->OnExit = [this, name](TObject*) { Log.push_back(name + " exit"); };
    e->OnKeyDown = [this, name](TObject*, uint16_t& k, TShiftState) {
      Log.push_back(name + " down " + std::to_string(k));
    };
    e->OnKeyUp = [this, name](TObject*, uint16_t& k, TShiftState) { Log.push_back(name + " up " + std::to_string(k)); };
    return e;
  }
};

// A list that shows the hand cursor over its first 26 pixels, as the series
// list does over its icons, and remembers where the hit test saw the mouse.
class THandList : public TListBox {
public:
  using TListBox::TListBox;
  TPoint Seen{-1, -1};
  int Asked = 0;

protected:
  void WMNCHitTest(TMessage& M) override {
    TListBox::WMNCHitTest(M);
    Seen = ScreenToClient(Point(static_cast<int16_t>(M.LParamLo()), static_cast<int16_t>(M.LParamHi())));
  }
  void WMSetCursor(TMessage& M) override {
    ++Asked;
    if (LOWORD(static_cast<uintptr_t>(M.LParam)) == HTCLIENT && Seen.X >= 0 && Seen.X < 26) {
      ::SetCursor(Screen->Cursors(crHandPoint));
      M.Result = 1;
      return;
    }
    TListBox::WMSetCursor(M);
  }
};

}  // namespace

TEST_F(EditEventsFixture, EnterIsAKeyPressAHandlerMaySwallowAndFocusMovesFireExitAndEnter) {
  TEdit* a = MakeEdit("a", 10);
  TEdit* b = MakeEdit("b", 40);
  a->OnKeyPress = [&](TObject*, char& k) {
    Log.push_back("a press " + std::to_string(static_cast<int>(k)));
    if (k == '\r' || k == 'x') k = 0;  // handled here
  };
  Form->Show();
  a->SetFocus();
  ProcessEvents();
  EXPECT_EQ(Log, (std::vector<std::string>{"a enter"}));
  Log.clear();
  TypeText(a, "1x2");
  EXPECT_EQ(a->Text(), "12") << "the swallowed character is not typed";
  Log.clear();
  Key(a, VK_RETURN, "\r");
  EXPECT_EQ(Log, (std::vector<std::string>{"a down 13", "a press 13", "a up 13"}));
  EXPECT_EQ(a->Text(), "12");

  Log.clear();
  b->SetFocus();
  ProcessEvents();
  EXPECT_EQ(Log, (std::vector<std::string>{"a exit", "b enter"}));
  Log.clear();
  WindowClick(a, 5, 5);
  ProcessEvents();
  EXPECT_EQ(Log, (std::vector<std::string>{"b exit", "a enter"}));
}

TEST_F(EditEventsFixture, AControlChoosesTheCursorOverPartsOfItself) {
  auto* list = new THandList(Form);
  list->SetParent(Form);
  list->SetBounds(10, 10, 150, 100);
  list->SetCursor(crCross);
  list->Items()->Add("Series1");
  Form->Show();
  MouseMove(list, 10, 5);
  EXPECT_EQ(list->Seen, Point(10, 5)) << "the hit test gets the screen point";
  EXPECT_EQ(ShownCursor(list, 10, 5), crHandPoint);
  MouseMove(list, 80, 5);
  EXPECT_EQ(list->Seen, Point(80, 5));
  EXPECT_EQ(ShownCursor(list, 80, 5), crCross) << "elsewhere the control's own cursor";
  EXPECT_EQ(list->Asked, 2);
  // A window that does not answer keeps its cursor.
  auto* edit = new TEdit(Form);
  edit->SetParent(Form);
  edit->SetBounds(10, 120, 100, 22);
  const TCursor before = ShownCursor(edit, 5, 5);
  MouseMove(edit, 5, 5);
  EXPECT_EQ(ShownCursor(edit, 5, 5), before);
}

TEST(SystemMetrics, CaptionButtonHeightIsTheFixedEighteen) {
  // The chart editor sizes itself with it: 347 pixels plus SM_CYSIZE - 18.
  EXPECT_EQ(GetSystemMetrics(SM_CYSIZE), 18);
  EXPECT_EQ(GetSystemMetrics(SM_CXSIZE), 18);
}
