// What menus need from the layer: window timers, the nested event loop and
// its input filter, focus-less popup windows, actions and their links, image
// lists, and edits with a character case.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/ui/actions.h"
#include "platform/ui/forms.h"
#include "platform/ui/imglist.h"
#include "platform/ui/menuloop.h"
#include "platform/ui/queuedcall.h"
#include "platform/ui/stdctrls.h"
#include "support/gui/guitest.h"
#include "support/gui/queuedinput.h"

namespace {

class TTimerTarget : public TCustomControl {
public:
  using TCustomControl::TCustomControl;
  std::vector<unsigned> Ticks;
  void WndProc(TMessage& m) override {
    if (m.Msg == WM_TIMER) Ticks.push_back(static_cast<unsigned>(m.WParam));
    TCustomControl::WndProc(m);
  }
};

TEST(MenuSupport, WindowTimersDeliverWmTimerUntilKilled) {
  TForm form(nullptr);
  auto* t = new TTimerTarget(&form);
  t->SetParent(&form);
  HWND h = t->Handle();
  EXPECT_TRUE(SetTimer(h, 9001, 400));
  EXPECT_TRUE(SetTimer(h, 9002, 100));
  ASSERT_EQ(RunningWindowTimers().size(), 2u);
  FireWindowTimers();
  EXPECT_EQ(t->Ticks, (std::vector<unsigned>{9001, 9002}));
  EXPECT_TRUE(KillTimer(h, 9001));
  EXPECT_FALSE(KillTimer(h, 9001));
  FireWindowTimers();
  EXPECT_EQ(t->Ticks.back(), 9002u);
  EXPECT_EQ(t->Ticks.size(), 3u);
  KillTimer(h, 9002);
  EXPECT_FALSE(SetTimer(0, 1, 10));  // no window
}

TEST(MenuSupport, NestedLoopFiltersInputAndRepostsSetAsideClicks) {
  TForm form(nullptr);
  form.SetBounds(100, 100, 200, 100);
  auto* edit = new TEdit(&form);
  edit->SetParent(&form);
  std::vector<std::string> log;
  edit->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { log.push_back("down"); };
  form.Show();
  guitest::ProcessEvents();

  TNestedEventLoop loop;
  bool quit = false;
  loop.ShouldQuit = [&] { return quit; };
  QueueCall([&] {
    guitest::PostKey(edit, 'A', "a");
    guitest::PostClick(edit, 3, 3);
  });
  loop.Run([&](const TInputEvent& e) -> TInputRoute {
    if (e.Kind == ikKeyDown) {
      EXPECT_EQ(e.Target, edit);
      EXPECT_EQ(e.Key, 'A');
      EXPECT_EQ(e.Text, "a");
      log.push_back("key");
      return irSwallow;
    }
    if (e.Kind == ikMouseDown) {
      log.push_back("filtered");
      quit = true;
      return irRepostAfter;
    }
    return irSwallow;
  });
  log.push_back("returned");
  guitest::ProcessEvents();
  EXPECT_EQ(log, (std::vector<std::string>{"key", "filtered", "returned", "down"}));
  EXPECT_EQ(edit->Text(), "");  // the key was swallowed
  EXPECT_FALSE(loop.Running());
}

TEST(MenuSupport, PopupControlIsATopLevelWindowFoundUnderItsPoints) {
  TPopupControl popup(nullptr);
  popup.SetBounds(300, 200, 50, 40);
  popup.Show();
  guitest::ProcessEvents();
  EXPECT_EQ(FindControlAtScreenPoint(TPoint(310, 210)), &popup);
  EXPECT_EQ(popup.ClientToScreen(TPoint(0, 0)), TPoint(300, 200));
}

TEST(MenuSupport, ActionLinksFollowTheAction) {
  TAction action(nullptr);
  struct TLink : TActionLink {
    using TActionLink::TActionLink;
    std::string Caption;
    bool Enabled = true;
    void SetCaption(const std::string& v) override { Caption = v; }
    void SetEnabled(bool v) override { Enabled = v; }
  };
  auto link = std::make_unique<TLink>(nullptr);
  link->SetAction(&action);
  EXPECT_EQ(action.LinkCount(), 1);
  action.SetCaption("Run");
  action.SetEnabled(false);
  EXPECT_EQ(link->Caption, "Run");
  EXPECT_FALSE(link->Enabled);
  int runs = 0;
  action.SetOnExecute([&](TObject*) { ++runs; });
  EXPECT_FALSE(link->Execute());  // disabled
  action.SetEnabled(true);
  action.SetAutoCheck(true);
  EXPECT_TRUE(link->Execute());
  EXPECT_EQ(runs, 1);
  EXPECT_TRUE(action.Checked());
  link.reset();  // a freed link unregisters itself
  EXPECT_EQ(action.LinkCount(), 0);
}

TEST(MenuSupport, ImageListsTellTheirChangeLinks) {
  auto list = std::make_unique<TImageList>(nullptr);
  TChangeLink a, b;
  int changesA = 0, changesB = 0;
  a.OnChange = [&](TObject* s) {
    EXPECT_EQ(s, list.get());
    ++changesA;
  };
  b.OnChange = [&](TObject*) { ++changesB; };
  list->RegisterChanges(&a);
  list->RegisterChanges(&b);
  list->RegisterChanges(&a);  // once only
  TBitmap strip(32, 16, pf32bit);
  EXPECT_EQ(list->AddMasked(&strip, clFuchsia), 0);
  EXPECT_EQ(changesA, 1);
  EXPECT_EQ(changesB, 1);
  list->UnRegisterChanges(&b);
  EXPECT_EQ(b.Sender(), nullptr);
  list->SetWidth(24);  // a new size empties the list and is a change
  EXPECT_EQ(list->Count(), 0);
  EXPECT_EQ(changesA, 2);
  EXPECT_EQ(changesB, 1);
  list.reset();  // the list lets go of its links
  EXPECT_EQ(a.Sender(), nullptr);
}

TEST(MenuSupport, EditCharCaseConvertsAssignedAndTypedText) {
  TForm form(nullptr);
  auto* edit = new TEdit(&form);
  edit->SetParent(&form);
  edit->SetCharCase(ecUpperCase);
  edit->SetText("abc");
  EXPECT_EQ(edit->Text(), "ABC");
  edit->SetText("");
  guitest::TypeText(edit, "xy");
  EXPECT_EQ(edit->Text(), "XY");
  edit->SetCharCase(ecLowerCase);
  EXPECT_EQ(edit->Text(), "xy");
  edit->SetBorderStyle(bsNone);
  EXPECT_EQ(edit->BorderStyle(), bsNone);
}

}  // namespace
