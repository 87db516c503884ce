// Toolbars and menus as the desktop's accessibility service sees them:
// roles, names and shortcuts through the service's interface, navigation,
// hit tests, default actions run after the call, the focus and menu events,
// and objects of closed menus failing cleanly.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/ui/accbridge.h"
#include "platform/ui/forms.h"
#include "platform/ui/queuedcall.h"
#include "platform/ui/syssettings.h"
#include "support/gui/guitest.h"
#include "support/gui/queuedinput.h"
#include "toolbar/tbacc.h"
#include "toolbar/tbextitems.h"
#include "toolbar/tbtoolbar.h"

namespace {

struct TAccForm : ::testing::Test {
  std::unique_ptr<TForm> Form;
  TTBDock* Dock = nullptr;
  TTBToolbar* Menu = nullptr;
  TTBToolbar* Tools = nullptr;
  TTBSubmenuItem* File = nullptr;
  TTBItem* Run = nullptr;
  TCustomControl* Box = nullptr;
  std::vector<std::string> Log;

  TTBItem* NewItem(const std::string& Caption) {
    auto* I = new TTBItem(Form.get());
    I->SetCaption(Caption);
    I->SetOnClick([this, Caption](TObject*) { Log.push_back(Caption); });
    return I;
  }

  void SetUp() override {
    SetTestMonitors({{TRect(0, 0, 1000, 800), TRect(0, 0, 1000, 800), true}});
    Form = std::make_unique<TForm>(nullptr);
    Form->SetBounds(100, 100, 500, 300);
    Dock = new TTBDock(Form.get());
    Dock->SetParent(Form.get());
    Menu = new TTBToolbar(Form.get());
    Menu->SetMenuBar(true);
    File = new TTBSubmenuItem(Form.get());
    File->SetCaption("&File");
    File->Add(NewItem("&Open"));
    File->Add(NewItem("&Save"));
    Menu->Items()->Add(File);
    Run = NewItem("&Run");
    Run->SetEnabled(false);
    Menu->Items()->Add(Run);
    Menu->SetCurrentDock(Dock);
    Tools = new TTBToolbar(Form.get());
    Tools->SetDockRow(1);
    Tools->Items()->Add(NewItem("New"));
    Tools->Items()->Add(NewItem("Print"));
    Tools->SetCurrentDock(Dock);
    Form->Show();
    Box = new TCustomControl(Form.get());
    Box->SetBounds(0, 0, 40, 18);
    Box->SetParent(Tools);
  }
  void TearDown() override {
    Form.reset();
    SetTestMonitors({});
  }
  TPoint CentreOf(TTBToolbar* T, int Viewer) {
    const TRect B = T->View()->Viewers(Viewer)->BoundsRect;
    return T->ClientToScreen(TPoint((B.Left + B.Right) / 2, (B.Top + B.Bottom) / 2));
  }
};

TEST_F(TAccForm, TheServiceReadsRolesNamesAndShortcuts) {
  TAccessibleInfo I;
  ASSERT_TRUE(QueryAccessibleInfo(Menu, 0, I));
  EXPECT_TRUE(I.Valid);
  EXPECT_EQ(I.Role, kRoleMenuBar);
  EXPECT_EQ(I.Shortcut, "Alt");
  EXPECT_EQ(I.ChildCount, 2);  // the hidden chevron is not offered
  ASSERT_TRUE(QueryAccessibleInfo(Tools, 0, I));
  EXPECT_EQ(I.Role, kRoleToolbar);
  EXPECT_EQ(I.Shortcut, "");
  EXPECT_EQ(I.ChildCount, 3);  // two items and the hosted control

  struct TCase {
    TTBToolbar* Bar;
    int Child;
    const char* Name;
    const char* Shortcut;
    const char* Action;
    bool Unavailable, HasPopup;
  };
  const TCase Cases[] = {
      {Menu, 1, "File", "Alt+f", "Open", false, true},
      {Menu, 2, "Run", "Alt+r", "", true, false},  // disabled: no action
      {Tools, 1, "New", "", "Press", false, false},
  };
  for (const TCase& C : Cases) {
    ASSERT_TRUE(QueryAccessibleInfo(C.Bar, C.Child, I)) << C.Name;
    EXPECT_EQ(I.Name, C.Name);
    EXPECT_EQ(I.Shortcut, C.Shortcut) << C.Name;
    EXPECT_EQ(I.Action, C.Action) << C.Name;
    EXPECT_EQ(I.Unavailable, C.Unavailable) << C.Name;
    EXPECT_EQ(I.HasPopup, C.HasPopup) << C.Name;
    const TRect B = C.Bar->View()->Viewers(C.Child - 1)->BoundsRect;
    EXPECT_EQ(I.Location.Left, C.Bar->ClientToScreen(TPoint(B.Left, B.Top)).X) << C.Name;
    EXPECT_EQ(I.Location.Width(), B.Width()) << C.Name;
  }
  // The disabled item refuses its action, here and in the facade.
  EXPECT_FALSE(DoAccessibleAction(Menu, 2));
  EXPECT_EQ(AccObjectOfViewer(Menu->View()->Viewers(1))->DoDefaultAction(kChildIdSelf), kAccFail);
}

TEST_F(TAccForm, AnEditBoxReportsItsTextAsItsValue) {
  auto* Find = new TTBEditItem(Form.get());
  Find->SetText("Si O2");
  Tools->Items()->Add(Find);
  TAccessibleInfo I;
  ASSERT_TRUE(QueryAccessibleInfo(Tools, 4, I));  // after two items and the hosted control
  EXPECT_EQ(I.Value, "Si O2");
  std::string V = "x";
  EXPECT_EQ(AccObjectOfViewer(Tools->View()->Viewers(0))->GetValue(kChildIdSelf, V), kAccFalse);
  EXPECT_EQ(V, "");
}

TEST_F(TAccForm, HitTestsAndNavigation) {
  EXPECT_EQ(AccessibleChildAt(Menu, CentreOf(Menu, 1)), 2);
  EXPECT_EQ(AccessibleChildAt(Menu, Menu->ClientToScreen(TPoint(Menu->Width() - 3, 3))), 0);  // the bar itself
  EXPECT_EQ(AccessibleChildAt(Menu, TPoint(5, 5)), -1);  // outside
  // The hosted control answers as its own window.
  TAccChild Hit;
  ASSERT_EQ(AccObjectOfView(Tools->View())->HitTest(Box->ClientToScreen(TPoint(3, 3)), Hit), kAccOk);
  EXPECT_EQ(Hit.Window, Box);
  TAccChild Third;
  ASSERT_EQ(AccObjectOfView(Tools->View())->GetChild(3, Third), kAccOk);
  EXPECT_EQ(Third.Window, Box);

  auto FileAcc = AccObjectOfViewer(Menu->View()->Viewers(0));
  auto RunAcc = AccObjectOfViewer(Menu->View()->Viewers(1));
  struct TCase {
    std::shared_ptr<TTBItemViewerAccObject> From;
    int Direction;
    TAccResult Result;
    std::shared_ptr<TTBItemViewerAccObject> To;
  };
  const TCase Cases[] = {
      {FileAcc, kNavNext, kAccOk, RunAcc},     {FileAcc, kNavRight, kAccOk, RunAcc},
      {RunAcc, kNavPrevious, kAccOk, FileAcc}, {RunAcc, kNavUp, kAccOk, FileAcc},
      {FileAcc, kNavLeft, kAccFalse, nullptr}, {RunAcc, kNavDown, kAccFalse, nullptr},
      {FileAcc, kNavFirstChild, kAccFalse, nullptr},  // no submenu open
  };
  for (const TCase& C : Cases) {
    TAccChild Found;
    EXPECT_EQ(C.From->Navigate(C.Direction, kChildIdSelf, Found), C.Result) << C.Direction;
    EXPECT_EQ(Found.Object, C.To) << C.Direction;
  }
  TAccChild First, Last;
  auto ViewAcc = AccObjectOfView(Menu->View());
  EXPECT_EQ(ViewAcc->Navigate(kNavFirstChild, kChildIdSelf, First), kAccOk);
  EXPECT_EQ(ViewAcc->Navigate(kNavLastChild, kChildIdSelf, Last), kAccOk);
  EXPECT_EQ(First.Object, FileAcc);
  EXPECT_EQ(Last.Object, RunAcc);
  EXPECT_EQ(ViewAcc->Navigate(kNavNext, kChildIdSelf, First), kAccFalse);
  EXPECT_EQ(ViewAcc->Navigate(kNavFirstChild, 1, First), kAccInvalidArg);
}

TEST_F(TAccForm, AnOpenSubmenuIsTheItemsChildAndClosedMenusFailCleanly) {
  auto FileAcc = AccObjectOfViewer(Menu->View()->Viewers(0));
  TAccChild Child;
  EXPECT_EQ(FileAcc->GetChild(1, Child), kAccInvalidArg);
  int Count = -1;
  std::shared_ptr<TTBItemViewerAccObject> SaveAcc;
  TAccessibleInfo SubInfo, SaveInfo;
  std::string Action;
  QueueCall([&] {
    FileAcc->GetChildCount(Count);
    FileAcc->GetChild(1, Child);
    FileAcc->GetDefaultAction(kChildIdSelf, Action);
    TTBView* Sub = Menu->View()->OpenViewerView();
    QueryAccessibleInfo(Sub->Window(), 0, SubInfo);
    QueryAccessibleInfo(Sub->Window(), 2, SaveInfo);
    SaveAcc = AccObjectOfViewer(Sub->Viewers(1));
    guitest::PostKey(Sub->Window(), VK_ESCAPE);
    guitest::PostKey(Menu, VK_ESCAPE);
  });
  Menu->OpenByKeyboard('f', false);
  guitest::ProcessEvents();
  EXPECT_EQ(Count, 1);
  ASSERT_TRUE(Child.Object);
  EXPECT_NE(std::dynamic_pointer_cast<TTBViewAccObject>(Child.Object), nullptr);
  EXPECT_EQ(Action, "Close");
  EXPECT_EQ(SubInfo.Role, kRoleMenuPopup);
  EXPECT_EQ(SubInfo.Name, "File");
  EXPECT_EQ(SaveInfo.Name, "Save");
  EXPECT_EQ(SaveInfo.Shortcut, "s");  // in a popup the letter alone
  ASSERT_TRUE(SaveAcc);
  // The menu is closed and its views are gone.
  std::string S = "x";
  TAccChild C;
  TRect R;
  int Focus = 0;
  EXPECT_EQ(SaveAcc->GetName(kChildIdSelf, S), kAccFail);
  EXPECT_EQ(S, "");
  EXPECT_EQ(SaveAcc->DoDefaultAction(kChildIdSelf), kAccFail);
  EXPECT_EQ(SaveAcc->Navigate(kNavNext, kChildIdSelf, C), kAccFail);
  EXPECT_EQ(SaveAcc->HitTest(TPoint(0, 0), C), kAccFail);
  EXPECT_EQ(SaveAcc->GetLocation(kChildIdSelf, R), kAccFail);
  EXPECT_EQ(SaveAcc->GetParent(C), kAccFail);
  EXPECT_EQ(SaveAcc->GetFocus(Focus), kAccFail);
  EXPECT_EQ(SaveAcc->Select(kSelTakeFocus, kChildIdSelf), kAccFail);
  EXPECT_TRUE(Log.empty());
}

TEST_F(TAccForm, SelectTakesTheFocusFlagOnlyAndStartsTheLoopAfterTheCall) {
  auto PrintAcc = AccObjectOfViewer(Tools->View()->Viewers(1));
  EXPECT_EQ(PrintAcc->Select(2, kChildIdSelf), kAccInvalidArg);
  EXPECT_EQ(PrintAcc->Select(kSelTakeFocus, 1), kAccInvalidArg);
  EXPECT_EQ(AccObjectOfView(Tools->View())->Select(kSelTakeFocus, kChildIdSelf), kAccMemberNotFound);
  int Focus = -1;
  EXPECT_EQ(PrintAcc->GetFocus(Focus), kAccFalse);
  bool Modal = false;
  TAccResult FocusResult = kAccFail;
  EXPECT_EQ(PrintAcc->Select(kSelTakeFocus, kChildIdSelf), kAccOk);
  EXPECT_EQ(Tools->View()->Selected(), Tools->View()->Viewers(1));
  EXPECT_FALSE(Tools->View()->State() & vsModal);  // not during the call
  QueueCall([&] {
    Modal = (Tools->View()->State() & vsModal) != 0;
    FocusResult = PrintAcc->GetFocus(Focus);
    guitest::PostKey(Tools, VK_ESCAPE);
  });
  guitest::ProcessEvents();
  EXPECT_TRUE(Modal);
  EXPECT_EQ(FocusResult, kAccOk);
  EXPECT_EQ(Focus, kChildIdSelf);
  EXPECT_TRUE(Log.empty());  // selected, not executed
}

TEST_F(TAccForm, MenuLoopsTellStartFocusAndEnd) {
  std::vector<std::string> Events;
  TAccessibleEventHook Old = SetAccessibleEventHook([&](TAccessibleEvent E, TWinControl* W, int Child) {
    const char* Names[] = {"focus", "menu start", "menu end", "popup start", "popup end"};
    Events.push_back(std::string(Names[E]) + (W == Menu ? " bar " : " other ") + std::to_string(Child));
  });
  QueueCall([&] { guitest::PostKey(Menu, VK_ESCAPE); });
  Menu->OpenByKeyboard(0, false);  // Alt alone
  guitest::ProcessEvents();
  SetAccessibleEventHook(Old);
  EXPECT_EQ(Events, (std::vector<std::string>{"menu start bar 0", "focus bar 1", "menu end bar 0"}));
}

TEST_F(TAccForm, ADefaultActionRunsAfterTheCallReturns) {
  // The service's action on a toolbar button: nothing happens during the
  // call; the click follows from the event loop.
  auto NewAcc = AccObjectOfViewer(Tools->View()->Viewers(0));
  ASSERT_TRUE(NewAcc->IsAvailable());
  EXPECT_TRUE(DoAccessibleAction(Tools, 1));
  EXPECT_TRUE(Log.empty());
  guitest::ProcessEvents();
  guitest::ProcessEvents();
  EXPECT_EQ(Log, std::vector<std::string>{"New"});
}

}  // namespace
