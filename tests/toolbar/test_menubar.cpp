// A toolbar view used as a menu bar: its menu loop, and Left and Right
// moving between the bar's menus.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/ui/forms.h"
#include "platform/ui/queuedcall.h"
#include "platform/ui/syssettings.h"
#include "support/gui/guitest.h"
#include "support/gui/queuedinput.h"
#include "toolbar/tbmenuloop.h"

namespace {

struct TMenuBar : ::testing::Test {
  std::unique_ptr<TForm> Form;
  TCustomControl* Bar = nullptr;
  std::unique_ptr<TTBRootItem> Root = std::make_unique<TTBRootItem>(nullptr);
  std::unique_ptr<TTBView> View;
  std::vector<std::string> Log;

  void SetUp() override {
    SetTestMonitors({{TRect(0, 0, 800, 600), TRect(0, 0, 800, 600), true}});
    Form = std::make_unique<TForm>(nullptr);
    Form->SetBounds(100, 100, 400, 200);
    Bar = new TCustomControl(Form.get());
    Bar->SetParent(Form.get());
    Bar->SetBounds(0, 0, 400, 22);
    for (const char* menu : {"&File", "&Edit", "&View"}) {
      auto* sub = new TTBSubmenuItem(nullptr);
      sub->SetCaption(menu);
      for (int i = 1; i <= 2; ++i) {
        auto* it = new TTBItem(nullptr);
        std::string name = std::string(menu + 1) + " " + std::to_string(i);
        it->SetCaption(name);
        it->SetOnClick([this, name](TObject*) { Log.push_back("click " + name); });
        sub->Add(it);
      }
      Root->Add(sub);
    }
    Form->Show();
    View = std::make_unique<TTBView>(nullptr, nullptr, Root.get(), Bar, true, false, false);
    View->SetStyle(vsMenuBar);
    View->UpdatePositions();
  }
  void TearDown() override {
    View.reset();
    SetTestMonitors({});
  }
  // Posts each key to the deepest open menu once the previous one was handled.
  static void KeysInTurn(std::vector<uint16_t> keys) {
    if (keys.empty()) return;
    QueueCall([keys] {
      TTBView* v = TTBModalHandler::Active()->RootView();
      while (v->OpenViewerView()) v = v->OpenViewerView();
      guitest::PostKey(v->Window(), keys.front());
      KeysInTurn(std::vector<uint16_t>(keys.begin() + 1, keys.end()));
    });
  }
};

TEST_F(TMenuBar, RightInAMenuMovesTheBarToItsNextMenu) {
  View->SetSelected(View->Viewers(0));
  KeysInTurn({VK_RIGHT, VK_RETURN});
  View->EnterToolbarLoop(2);  // opens File at once
  guitest::ProcessEvents();
  EXPECT_EQ(Log, std::vector<std::string>{"click Edit 1"});
  EXPECT_EQ(View->Selected(), nullptr);
  EXPECT_EQ(View->OpenViewer(), nullptr);
}

TEST_F(TMenuBar, LeftInAFirstLevelMenuMovesTheBarToThePreviousMenu) {
  View->SetSelected(View->Viewers(1));
  KeysInTurn({VK_LEFT, VK_DOWN, VK_RETURN});
  View->EnterToolbarLoop(2);  // opens Edit at once
  guitest::ProcessEvents();
  EXPECT_EQ(Log, std::vector<std::string>{"click File 2"});
}

TEST_F(TMenuBar, EscClosesTheMenuThenTheBar) {
  View->SetSelected(View->Viewers(0));
  KeysInTurn({VK_ESCAPE, VK_ESCAPE});
  View->EnterToolbarLoop(2);
  guitest::ProcessEvents();
  EXPECT_TRUE(Log.empty());
  EXPECT_FALSE(View->State() & vsModal);
}

}  // namespace
