// Shared, counted window-event hooks of the GUI thread.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/ui/forms.h"
#include "platform/ui/windowevents.h"
#include "toolbar/tbhook.h"

namespace {

std::vector<std::string> gCalls;
int gInstalls = 0, gRemoves = 0;

uintptr_t CountingInstall(int Type) {
  ++gInstalls;
  return 100 + Type;
}
void CountingRemove(int, uintptr_t) { ++gRemoves; }

void HandlerA(THookCode Code, HWND Wnd, WPARAM, LPARAM) {
  gCalls.push_back("A" + std::to_string(Code) + ":" + std::to_string(Wnd));
}
void HandlerB(THookCode Code, HWND, WPARAM, LPARAM) { gCalls.push_back("B" + std::to_string(Code)); }
void Throwing(THookCode, HWND, WPARAM, LPARAM) { throw std::runtime_error("handler failed"); }

struct THooks : ::testing::Test {
  THookInstaller Old;
  void SetUp() override {
    Old = SetHookInstaller({CountingInstall, CountingRemove});
    gCalls.clear();
    gInstalls = gRemoves = 0;
  }
  void TearDown() override {
    EXPECT_FALSE(HookRegistryExists());
    SetHookInstaller(Old);
  }
};

TEST_F(THooks, TwoUsersOfOneHandlerShareCountedHooks) {
  TObject U1, U2;
  RegisterHookHandler(&U1, HandlerA, {hcActivate, hcWindowPosChanged, hcDestroyWindow});
  RegisterHookHandler(&U2, HandlerA, {hcActivate, hcWindowPosChanged, hcDestroyWindow});
  RegisterHookHandler(&U2, HandlerA, {hcActivate, hcWindowPosChanged, hcDestroyWindow});  // counted once
  EXPECT_EQ(gInstalls, 2);
  EXPECT_EQ(HookRefCount(0), 2);
  EXPECT_EQ(HookRefCount(1), 2);
  EXPECT_EQ(InstalledHook(0), 100u);
  EXPECT_EQ(InstalledHook(2), 0u);

  CallWndProcHook(0x0047, 7, 0, 0);
  CBTDestroyWindowHook(9);
  GetMessageHook(0, 0);           // nobody asked
  CallWndProcHook(0x0010, 7, 0, 0);  // not one of the three messages
  const std::vector<std::string> Expected = {"A2:7", "A3:9"};
  EXPECT_EQ(gCalls, Expected);

  UnregisterHookHandler(&U1, HandlerA);
  EXPECT_EQ(gRemoves, 0);
  EXPECT_EQ(InstalledHook(0), 100u);
  UnregisterHookHandler(&U1, HandlerA);  // gone already: nothing happens
  UnregisterHookHandler(&U2, HandlerB);  // never registered
  EXPECT_EQ(HookRefCount(0), 1);
  UnregisterHookHandler(&U2, HandlerA);
  EXPECT_EQ(gRemoves, 2);
}

TEST_F(THooks, AFailingHandlerDoesNotStopTheOthers) {
  TObject U;
  RegisterHookHandler(&U, Throwing, {hcActivateApp});
  RegisterHookHandler(&U, HandlerB, {hcActivateApp, hcGetMessage});
  EXPECT_EQ(gInstalls, 2);  // types 0 and 2
  CallWndProcHook(0x001C, 0, 1, 0);
  GetMessageHook(0, 0);
  const std::vector<std::string> Expected = {"B1", "B4"};
  EXPECT_EQ(gCalls, Expected);
  UnregisterHookHandler(&U, Throwing);
  EXPECT_EQ(gRemoves, 0);  // B still counts type 0
  UnregisterHookHandler(&U, HandlerB);
  EXPECT_EQ(gRemoves, 2);
}

std::vector<HWND> gPosChanged;
void PosHandler(THookCode Code, HWND Wnd, WPARAM, LPARAM) {
  if (Code == hcWindowPosChanged) gPosChanged.push_back(Wnd);
}

TEST(TWindowEvents, ShowingAFormReachesTheHookThroughTheLayerFilter) {
  gPosChanged.clear();
  TObject U;
  const int Before = WindowEventProcCount();
  RegisterHookHandler(&U, PosHandler, {hcWindowPosChanged});
  EXPECT_EQ(WindowEventProcCount(), Before + 1);
  {
    TForm F(nullptr);
    F.SetBounds(10, 10, 200, 100);
    F.Show();
    F.SetBounds(30, 10, 200, 100);
    EXPECT_FALSE(gPosChanged.empty());
    if (!gPosChanged.empty()) EXPECT_EQ(gPosChanged.back(), F.Handle());
    F.Hide();
  }
  UnregisterHookHandler(&U, PosHandler);
  EXPECT_EQ(WindowEventProcCount(), Before);
  EXPECT_FALSE(HookRegistryExists());
}

}  // namespace
