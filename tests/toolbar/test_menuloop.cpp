// The modal menu loop of a popup menu, driven by queued key and mouse input
// under the offscreen window system.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/ui/forms.h"
#include "platform/ui/queuedcall.h"
#include "platform/ui/stdctrls.h"
#include "platform/ui/syssettings.h"
#include "support/gui/guitest.h"
#include "support/gui/queuedinput.h"
#include "toolbar/tbmenuloop.h"
#include "toolbar/tbpopupmenu.h"

namespace {

struct TMenuLoop : ::testing::Test {
  std::unique_ptr<TTBPopupMenu> Menu = std::make_unique<TTBPopupMenu>(nullptr);
  std::vector<std::string> Log;

  void SetUp() override { SetTestMonitors({{TRect(0, 0, 800, 600), TRect(0, 0, 800, 600), true}}); }
  void TearDown() override { SetTestMonitors({}); }

  TTBCustomItem* Add(const std::string& caption) {
    auto* i = new TTBItem(nullptr);
    i->SetCaption(caption);
    i->SetOnClick([this, i](TObject*) { Log.push_back("click " + RemoveAmp(i->Caption())); });
    Menu->Items()->Add(i);
    return i;
  }
  static std::string RemoveAmp(std::string s) {
    s.erase(std::remove(s.begin(), s.end(), '&'), s.end());
    return s;
  }
  // Runs once the menu is open: Script gets the popup's client window.
  void WhenOpen(std::function<void(TWinControl*)> Script) {
    QueueCall([Script] {
      TTBModalHandler* h = TTBModalHandler::Active();
      ASSERT_NE(h, nullptr);
      Script(h->RootView()->Window());
    });
  }
  static void Keys(TWinControl* w, std::initializer_list<uint16_t> keys) {
    for (uint16_t k : keys) guitest::PostKey(w, k);
  }
};

TEST_F(TMenuLoop, DownDownEnterChoosesTheSecondItemAndClicksItAfterwards) {
  Add("First");
  Menu->Items()->Add(new TTBSeparatorItem(nullptr));
  auto* second = Add("Second");
  Add("Third");
  WhenOpen([](TWinControl* w) { Keys(w, {VK_DOWN, VK_DOWN, VK_RETURN}); });
  TTBCustomItem* chosen = Menu->TrackPopup(100, 100, false);
  Log.push_back("returned");
  EXPECT_EQ(chosen, second);
  guitest::ProcessEvents();
  EXPECT_EQ(Log, (std::vector<std::string>{"returned", "click Second"}));
}

TEST_F(TMenuLoop, EscReturnsNone) {
  Add("First");
  WhenOpen([](TWinControl* w) { Keys(w, {VK_DOWN, VK_ESCAPE}); });
  EXPECT_EQ(Menu->TrackPopup(100, 100, false), nullptr);
  guitest::ProcessEvents();
  EXPECT_TRUE(Log.empty());
}

TEST_F(TMenuLoop, UniqueAcceleratorExecutesASharedOneOnlySelects) {
  Add("&Open");
  auto* options = Add("&Options");
  Add("&Save");
  WhenOpen([](TWinControl* w) {
    guitest::PostKey(w, 'O', "o");
    guitest::PostKey(w, 'O', "o");
    guitest::PostKey(w, VK_RETURN);
  });
  EXPECT_EQ(Menu->TrackPopup(100, 100, true), options);
  guitest::ProcessEvents();
  EXPECT_TRUE(Log.empty());  // returned only

  WhenOpen([](TWinControl* w) { guitest::PostKey(w, 'S', "s"); });
  EXPECT_EQ(Menu->TrackPopup(100, 100, false), Menu->Items()->Items(2));
  guitest::ProcessEvents();
  EXPECT_EQ(Log, std::vector<std::string>{"click Save"});
}

TEST_F(TMenuLoop, OnPopupFiresEachTimeBeforeTheWindowIsBuilt) {
  auto* item = Add("Check me");
  int popups = 0;
  Menu->OnPopup = [&](TObject* s) {
    EXPECT_EQ(s, Menu.get());
    ++popups;
    item->SetChecked(true);
  };
  WhenOpen([](TWinControl* w) { Keys(w, {VK_ESCAPE}); });
  Menu->TrackPopup(100, 100, false);
  WhenOpen([](TWinControl* w) { Keys(w, {VK_ESCAPE}); });
  Menu->Popup(100, 100);
  EXPECT_EQ(popups, 2);
}

TEST_F(TMenuLoop, KeysGoToTheDeepestOpenSubmenu) {
  Add("First");
  auto* sub = new TTBSubmenuItem(nullptr);
  sub->SetCaption("&More");
  sub->OnPopup = [this](TTBCustomItem*, bool) { Log.push_back("popup More"); };
  Menu->Items()->Add(sub);
  auto* a = new TTBItem(nullptr);
  a->SetCaption("Alpha");
  auto* b = new TTBItem(nullptr);
  b->SetCaption("Beta");
  sub->Add(a);
  sub->Add(b);
  // Down twice to More, Right opens it with Alpha selected, Down, Enter.
  WhenOpen([](TWinControl* w) { Keys(w, {VK_DOWN, VK_DOWN, VK_RIGHT, VK_DOWN, VK_RETURN}); });
  EXPECT_EQ(Menu->TrackPopup(100, 100, true), b);
  EXPECT_EQ(Log, std::vector<std::string>{"popup More"});

  // Left closes the submenu again; Esc then closes the menu.
  Log.clear();
  WhenOpen([](TWinControl* w) {
    Keys(w, {VK_DOWN, VK_DOWN, VK_RIGHT, VK_LEFT});
    QueueCall([] {
      TTBView* root = TTBModalHandler::Active()->RootView();
      EXPECT_EQ(root->OpenViewer(), nullptr);
      guitest::PostKey(root->Window(), VK_ESCAPE);
    });
  });
  EXPECT_EQ(Menu->TrackPopup(100, 100, true), nullptr);
}

TEST_F(TMenuLoop, AnExceptionInAHandlerGoesToTheApplicationAndTheLoopGoesOn) {
  Add("First");
  auto* sub = new TTBSubmenuItem(nullptr);
  sub->SetCaption("&More");
  sub->OnPopup = [](TTBCustomItem*, bool) { throw Exception("broken handler"); };
  sub->Add(new TTBItem(nullptr));
  Menu->Items()->Add(sub);
  std::vector<std::string> reported;
  TExceptionEvent old = Application->OnException;
  Application->OnException = [&](TObject*, const std::exception& e) { reported.push_back(e.what()); };
  WhenOpen([](TWinControl* w) { Keys(w, {VK_DOWN, VK_DOWN, VK_RIGHT, VK_ESCAPE}); });
  EXPECT_EQ(Menu->TrackPopup(100, 100, false), nullptr);
  Application->OnException = old;
  EXPECT_EQ(reported, std::vector<std::string>{"broken handler"});
}

TEST_F(TMenuLoop, F1AsksTheHelpHookForTheSelectedItemsContext) {
  Add("First")->SetHelpContext(42);
  std::vector<int> asked;
  THelpHook old = SetHelpHook([&](int ctx, bool) { asked.push_back(ctx); });
  WhenOpen([](TWinControl* w) { Keys(w, {VK_DOWN, VK_F1}); });
  EXPECT_EQ(Menu->TrackPopup(100, 100, false), nullptr);
  SetHelpHook(old);
  EXPECT_EQ(asked, std::vector<int>{42});
}

struct TMenuLoopOnForm : TMenuLoop {
  std::unique_ptr<TForm> Form;
  TEdit* Edit = nullptr;
  void SetUp() override {
    TMenuLoop::SetUp();
    Form = std::make_unique<TForm>(nullptr);
    Form->SetBounds(400, 300, 300, 200);
    Edit = new TEdit(Form.get());
    Edit->SetParent(Form.get());
    Edit->SetBounds(10, 10, 200, 24);
    Edit->OnMouseDown = [this](TObject*, TMouseButton, TShiftState, int, int) { Log.push_back("edit pressed"); };
    Form->Show();
    guitest::ProcessEvents();
  }
};

TEST_F(TMenuLoopOnForm, AClickOutsideClosesTheMenusThenReachesTheWindowBeneath) {
  Add("First");
  WhenOpen([this](TWinControl*) { guitest::PostClick(Edit, 5, 5); });
  EXPECT_EQ(Menu->TrackPopup(50, 50, false), nullptr);
  Log.push_back("returned");
  guitest::ProcessEvents();
  ASSERT_GE(Log.size(), 2u);
  EXPECT_EQ(Log[0], "returned");
  EXPECT_EQ(Log[1], "edit pressed");
}

TEST_F(TMenuLoop, HoverAndClickChooseAnItem) {
  Add("First");
  auto* second = Add("Second");
  WhenOpen([](TWinControl* w) {
    TTBView* v = TTBModalHandler::Active()->RootView();
    v->ValidatePositions();
    TRect b = v->Viewers(1)->BoundsRect;
    int x = (b.Left + b.Right) / 2, y = (b.Top + b.Bottom) / 2;
    guitest::PostMouseMove(w, x, y);
    QueueCall([v] { EXPECT_EQ(v->Selected(), v->Viewers(1)); });
    guitest::PostMouseButton(w, true, mbLeft, x, y);
    guitest::PostMouseButton(w, false, mbLeft, x, y);
  });
  EXPECT_EQ(Menu->TrackPopup(100, 100, false), second);
  guitest::ProcessEvents();
  EXPECT_EQ(Log, std::vector<std::string>{"click Second"});
}

TEST_F(TMenuLoopOnForm, TheFirstRightReleaseOutsideKeepsAMenuOpenAPressOutsideClosesIt) {
  Add("First");
  Menu->SetTrackButton(tbRightButton);
  WhenOpen([this](TWinControl*) {
    guitest::PostMouseButton(Edit, false, mbRight, 5, 5);
    QueueCall([this] {
      EXPECT_NE(TTBModalHandler::Active(), nullptr);  // still open
      guitest::MouseDown(Edit, mbRight, 5, 5);
    });
  });
  EXPECT_EQ(Menu->TrackPopup(50, 50, false), nullptr);
}

TEST_F(TMenuLoopOnForm, KeysTypedDuringTheLoopAreNotDeliveredAfterwards) {
  Add("First");
  WhenOpen([this](TWinControl* w) {
    guitest::PostKey(w, VK_ESCAPE);
    guitest::PostKey(Edit, 'X', "x");
    guitest::PostKey(Edit, 'Y', "y");
  });
  Edit->SetFocus();
  EXPECT_EQ(Menu->TrackPopup(50, 50, false), nullptr);
  guitest::ProcessEvents();
  EXPECT_EQ(Edit->Text(), "");
  // Typing after the menu has closed reaches the edit as usual.
  guitest::PostKey(Edit, 'Z', "z");
  guitest::ProcessEvents();
  EXPECT_EQ(Edit->Text(), "z");
}

}  // namespace
