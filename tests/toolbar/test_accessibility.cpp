// Accessibility answers of a menu bar, a toolbar and their items.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/ui/forms.h"
#include "platform/ui/shortcuts.h"
#include "platform/ui/syssettings.h"
#include "toolbar/tbacc.h"
#include "toolbar/tbitem.h"
#include "toolbar/tbview.h"

namespace {

struct TAccess : ::testing::Test {
  std::unique_ptr<TForm> Form;
  TCustomControl* Bar = nullptr;
  std::unique_ptr<TTBRootItem> Root = std::make_unique<TTBRootItem>(nullptr);
  std::unique_ptr<TTBView> View;
  TTBItem* Disabled = nullptr;

  void SetUp() override {
    SetTestMonitors({{TRect(0, 0, 800, 600), TRect(0, 0, 800, 600), true}});
    Form = std::make_unique<TForm>(nullptr);
    Form->SetBounds(100, 100, 400, 200);
    Bar = new TCustomControl(Form.get());
    Bar->SetParent(Form.get());
    Bar->SetBounds(0, 0, 400, 22);
    auto* File = new TTBSubmenuItem(nullptr);
    File->SetCaption("&File");
    Root->Add(File);
    auto* Open = new TTBItem(nullptr);
    Open->SetCaption("&Open...");
    Root->Add(Open);
    Disabled = new TTBItem(nullptr);
    Disabled->SetCaption("&Run");
    Disabled->SetEnabled(false);
    Root->Add(Disabled);
    Form->Show();
    View = std::make_unique<TTBView>(nullptr, nullptr, Root.get(), Bar, true, false, false);
    View->UpdatePositions();
  }
  void TearDown() override {
    View.reset();
    SetTestMonitors({});
  }
};

TEST_F(TAccess, ViewRoleAndShortcutFollowTheStyle) {
  auto Acc = AccObjectOfView(View.get());
  EXPECT_EQ(Acc, AccObjectOfView(View.get()));  // made once
  int Role = 0;
  std::string Shortcut;
  EXPECT_EQ(Acc->GetRole(0, Role), kAccOk);
  EXPECT_EQ(Role, kRoleToolbar);
  EXPECT_EQ(Acc->GetKeyboardShortcut(0, Shortcut), kAccFalse);
  View->SetStyle(vsMenuBar);
  EXPECT_EQ(Acc->GetRole(0, Role), kAccOk);
  EXPECT_EQ(Role, kRoleMenuBar);
  EXPECT_EQ(Acc->GetKeyboardShortcut(0, Shortcut), kAccOk);
  EXPECT_EQ(Shortcut, "Alt");
  EXPECT_EQ(Acc->GetRole(1, Role), kAccInvalidArg);  // no simple children
  int Count = 0;
  EXPECT_EQ(Acc->GetChildCount(Count), kAccOk);
  EXPECT_EQ(Count, 3);
}

TEST_F(TAccess, ItemAnswersAsATable) {
  View->SetStyle(vsMenuBar);
  struct TCase {
    int Index;
    const char* Shortcut;
    TAccResult ShortcutResult;
    const char* Action;
    TAccResult ActionResult;
    bool Unavailable;
  };
  const TCase Cases[] = {
      {0, "Alt+f", kAccOk, "Open", kAccOk, false},
      {1, "Alt+o", kAccOk, "Execute", kAccOk, false},
      {2, "Alt+r", kAccOk, "", kAccFalse, true},
  };
  View->SetState(View->State() | vsModal);  // in its menu loop: the window counts as available
  for (const auto& C : Cases) {
    auto Acc = AccObjectOfViewer(View->Viewers(C.Index));
    std::string S;
    EXPECT_EQ(Acc->GetKeyboardShortcut(0, S), C.ShortcutResult) << C.Index;
    EXPECT_EQ(S, C.Shortcut);
    EXPECT_EQ(Acc->GetDefaultAction(0, S), C.ActionResult) << C.Index;
    EXPECT_EQ(S, C.Action);
    uint32_t State = 0;
    EXPECT_EQ(Acc->GetState(0, State), kAccOk);
    EXPECT_EQ((State & kStateUnavailable) != 0, C.Unavailable) << C.Index;
    EXPECT_EQ((State & kStateHasPopup) != 0, C.Index == 0);
  }
  auto Run = AccObjectOfViewer(View->Viewers(2));
  View->SetState(View->State() & ~vsModal);
  EXPECT_EQ(Run->DoDefaultAction(0), kAccFail);
  std::string Name;
  EXPECT_EQ(AccObjectOfViewer(View->Viewers(1))->GetName(0, Name), kAccOk);
  EXPECT_EQ(Name, "Open...");
}

TEST_F(TAccess, PopupShortcutIsTheLetterAlone) {
  auto* Sub = new TTBSubmenuItem(nullptr);
  auto* It = new TTBItem(nullptr);
  It->SetCaption("&File");
  Sub->Add(It);
  Root->Add(Sub);
  TTBView Popup(nullptr, View.get(), Sub, Bar, false, false, false);
  Popup.UpdatePositions();
  ASSERT_GT(Popup.ViewerCount(), 0);
  std::string S;
  EXPECT_EQ(AccObjectOfViewer(Popup.Viewers(0))->GetKeyboardShortcut(0, S), kAccOk);
  EXPECT_EQ(S, "f");
  int Role = 0;
  AccObjectOfView(&Popup)->GetRole(0, Role);
  EXPECT_EQ(Role, kRoleMenuPopup);
}

TEST_F(TAccess, CallsAfterTheViewIsGoneFailCleanly) {
  auto ViewAcc = AccObjectOfView(View.get());
  auto ItemAcc = AccObjectOfViewer(View->Viewers(0));
  View.reset();
  int N = -1;
  std::string S = "x";
  uint32_t State = 1;
  EXPECT_EQ(ViewAcc->GetChildCount(N), kAccFail);
  EXPECT_EQ(ViewAcc->GetName(0, S), kAccFail);
  EXPECT_EQ(ItemAcc->GetName(0, S), kAccFail);
  EXPECT_EQ(S, "");
  EXPECT_EQ(ItemAcc->GetState(0, State), kAccFail);
  EXPECT_EQ(ItemAcc->DoDefaultAction(0), kAccFail);
  EXPECT_EQ(ItemAcc->GetKeyboardShortcut(0, S), kAccFail);
}

}  // namespace
