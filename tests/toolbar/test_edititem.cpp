// The edit box item: editing inside a menu with queued keys, case rules and
// the viewer chosen by the toolbar's orientation.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/ui/queuedcall.h"
#include "platform/ui/syssettings.h"
#include "support/gui/guitest.h"
#include "support/gui/queuedinput.h"
#include "toolbar/tbextitems.h"
#include "toolbar/tbmenuloop.h"
#include "toolbar/tbpopupmenu.h"

namespace {

struct TEditItemTest : ::testing::Test {
  std::unique_ptr<TTBPopupMenu> Menu = std::make_unique<TTBPopupMenu>(nullptr);
  TTBEditItem* Edit = nullptr;
  std::vector<std::string> Log;

  void SetUp() override {
    SetTestMonitors({{TRect(0, 0, 800, 600), TRect(0, 0, 800, 600), true}});
    Edit = new TTBEditItem(nullptr);
    Edit->SetEditCaption("Input:");
    Edit->SetEditWidth(120);
    Edit->SetText("old");
    Edit->SetOnClick([this](TObject*) { Log.push_back("click edit"); });
    Menu->Items()->Add(Edit);
    auto* next = new TTBItem(nullptr);
    next->SetCaption("Next");
    next->OnSelect = [this](TTBCustomItem*, TTBItemViewer*, bool selecting) {
      if (selecting) Log.push_back("next selected");
    };
    Menu->Items()->Add(next);
  }
  void TearDown() override { SetTestMonitors({}); }

  // Opens the menu, starts editing the box with Down and Enter, then runs
  // Script on the edit control once it exists.
  TTBCustomItem* EditWith(std::function<void(TEdit*)> Script) {
    QueueCall([Script] {
      TWinControl* w = TTBModalHandler::Active()->RootView()->Window();
      guitest::PostKey(w, VK_DOWN);
      guitest::PostKey(w, VK_RETURN);
      QueueCall([Script] {
        TTBEditItemViewer* v = TTBEditItemViewer::Editing();
        ASSERT_NE(v, nullptr);
        Script(v->EditControl());
      });
    });
    return Menu->TrackPopup(100, 100, false);
  }
  static void Type(TEdit* e, const std::string& s) {
    for (char c : s) guitest::PostKey(e, static_cast<uint16_t>(std::toupper(static_cast<unsigned char>(c))), std::string(1, c));
  }
};

TEST_F(TEditItemTest, EnterAcceptsTheTextAndClicksTheItem) {
  TTBCustomItem* chosen = EditWith([](TEdit* e) {
    Type(e, "abc");
    guitest::PostKey(e, VK_RETURN);
  });
  EXPECT_EQ(chosen, Edit);
  EXPECT_EQ(Edit->Text(), "abc");
  guitest::ProcessEvents();
  EXPECT_EQ(Log, std::vector<std::string>{"click edit"});
}

TEST_F(TEditItemTest, TabAcceptsAndMovesOn) {
  TTBCustomItem* chosen = EditWith([](TEdit* e) {
    Type(e, "x");
    guitest::PostKey(e, VK_TAB);
    guitest::PostKey(e, VK_ESCAPE);  // then closes the menu
  });
  EXPECT_EQ(chosen, nullptr);
  EXPECT_EQ(Edit->Text(), "x");
  guitest::ProcessEvents();
  EXPECT_EQ(Log, std::vector<std::string>{"next selected"});
}

TEST_F(TEditItemTest, EscKeepsTheOldText) {
  TTBCustomItem* chosen = EditWith([](TEdit* e) {
    Type(e, "zz");
    guitest::PostKey(e, VK_ESCAPE);
    guitest::PostKey(e, VK_ESCAPE);  // the second closes the menu
  });
  EXPECT_EQ(chosen, nullptr);
  EXPECT_EQ(Edit->Text(), "old");
}

TEST_F(TEditItemTest, AcceptTextHandlerCanRefuse) {
  Edit->OnAcceptText = [](TObject*, std::string& t, bool& accept) { accept = t != "bad"; };
  EditWith([](TEdit* e) {
    Type(e, "bad");
    guitest::PostKey(e, VK_RETURN);
  });
  EXPECT_EQ(Edit->Text(), "old");
}

TEST_F(TEditItemTest, UpperCaseStoresUpperCase) {
  Edit->SetCharCase(ecUpperCase);
  EXPECT_EQ(Edit->Text(), "OLD");  // converted at once
  Edit->SetText("data/run1.inp");
  EXPECT_EQ(Edit->Text(), "DATA/RUN1.INP");
  EditWith([](TEdit* e) {
    Type(e, "abc");
    guitest::PostKey(e, VK_RETURN);
  });
  EXPECT_EQ(Edit->Text(), "ABC");
}

TEST_F(TEditItemTest, VerticalToolbarShowsTheItemAsAButton) {
  TTBView v(nullptr, nullptr, Menu->Items(), nullptr, true, false, false);
  v.UpdatePositions();
  EXPECT_NE(dynamic_cast<TTBEditItemViewer*>(v.Viewers(0)), nullptr);
  EXPECT_EQ(v.Viewers(0)->BoundsRect.Width(), 120);  // no caption on a toolbar
  v.SetOrientation(tbvoVertical);
  v.UpdatePositions();
  EXPECT_EQ(dynamic_cast<TTBEditItemViewer*>(v.Viewers(0)), nullptr);
  Edit->SetEditOptions({tboUseEditWhenVertical});
  v.InvalidatePositions();
  v.UpdatePositions();
  EXPECT_NE(dynamic_cast<TTBEditItemViewer*>(v.Viewers(0)), nullptr);
}

}  // namespace
