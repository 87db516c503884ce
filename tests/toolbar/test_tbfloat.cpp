// Dockable windows floating and docking again, their docked frame, the
// floating frame's hit regions, the rules that show floating windows, and
// menu keys relayed from a dock to its floating windows.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "support/gui/guitest.h"
#include "platform/rtl/exceptions.h"
#include "platform/ui/appkeys.h"
#include "platform/ui/forms.h"
#include "platform/ui/toolwindows.h"
#include "support/gui/queuedinput.h"
#include "toolbar/tbdock.h"
#include "toolbar/tbfloating.h"
#include "toolbar/tblayoutstore.h"

#include <map>

namespace {

class TBar : public TTBCustomDockableWindow {
 public:
  TBar(TComponent* Owner, int W, int H) : TTBCustomDockableWindow(Owner), Size{W, H} {}
  TPoint Size;
  LRESULT KeyAnswer = 0;
  std::vector<unsigned> Keys;
  TPoint BaseSize() override { return Size; }
  void WndProc(TMessage& M) override {
    if (M.Msg == CM_DIALOGKEY || M.Msg == WM_SYSCOMMAND) {
      Keys.push_back(M.Msg);
      M.Result = KeyAnswer;
      return;
    }
    TTBCustomDockableWindow::WndProc(M);
  }
};

struct TFloatForm : ::testing::Test {
  std::unique_ptr<TForm> Form;
  TTBDock* Dock = nullptr;
  void SetUp() override {
    guitest::EnsureGui();
    Form = std::make_unique<TForm>(nullptr);
    Form->SetBounds(0, 0, 400, 300);
    Dock = new TTBDock(Form.get());
    Dock->SetName("TBDock1");
    Dock->SetParent(Form.get());
  }
  TBar* Bar(const std::string& Name, int Row, TTBDock* Into, int W = 50, int H = 20) {
    auto* B = new TBar(Form.get(), W, H);
    B->SetName(Name);
    B->DockRow = Row;
    B->DockPos = 0;
    B->SetCurrentDock(Into);
    return B;
  }
};

TEST_F(TFloatForm, FloatingAndDockingAgainKeepTheObjectAndTheReservedRow) {
  auto* A = Bar("A", 0, Dock);
  auto* B = Bar("B", 1, Dock);
  A->SetCaption("Main");
  std::vector<std::string> Events;
  A->OnDockChanging = [&](TObject*, bool Floating, TTBDock* To) {
    Events.push_back(std::string("changing ") + (Floating ? "float" : To ? To->Name() : "none"));
  };
  A->OnRecreating = [&](TObject*) { Events.push_back("recreating"); };
  A->OnRecreated = [&](TObject*) { Events.push_back("recreated"); };
  A->OnDockChanged = [&](TObject*) { Events.push_back("changed"); };
  const HWND Handle = A->Handle();

  A->MakeFloating(true);
  ASSERT_TRUE(A->Floating());
  ASSERT_NE(A->FloatingParent(), nullptr);
  EXPECT_EQ(A->Parent(), A->FloatingParent());
  EXPECT_EQ(A->Handle(), Handle);
  EXPECT_EQ(A->FloatingParent()->Caption(), "Main");
  EXPECT_EQ(DockKindOf(A->CurrentDock(), A->Floating()), dkFloating);
  // The floating frame holds the window's client size exactly.
  TPoint TL, BR;
  A->FloatingNCOffsets(TL, BR);
  EXPECT_EQ(A->FloatingParent()->Width(), 50 + TL.X + BR.X);
  EXPECT_EQ(A->FloatingParent()->Height(), 20 + TL.Y + BR.Y);
  EXPECT_EQ(A->BoundsRect(), Bounds(TL.X, TL.Y, 50, 20));
  EXPECT_EQ(FloatingWindows().size(), 1u);
  // Row 0 stays reserved for it (0 thick), so B keeps row 1.
  EXPECT_EQ(A->LastDock(), Dock);
  EXPECT_EQ(Dock->DockList().size(), 2u);
  EXPECT_EQ(Dock->VisibleList().size(), 1u);
  EXPECT_EQ(B->ComputedRow, 1);
  EXPECT_EQ(B->Top(), 0);

  A->ToggleDocked();  // back to its last dock
  EXPECT_EQ(A->Parent(), Dock);
  EXPECT_EQ(A->Handle(), Handle);
  EXPECT_FALSE(A->Floating());
  EXPECT_EQ(A->FloatingParent(), nullptr);
  EXPECT_TRUE(FloatingWindows().empty());
  EXPECT_EQ(A->ComputedRow, 0);
  EXPECT_EQ(B->Top(), 24);
  const std::vector<std::string> Expected = {"changing float", "recreating", "recreated", "changed",
                                             "changing TBDock1", "recreating", "recreated", "changed"};
  EXPECT_EQ(Events, Expected);

  // Without UseLastDock nothing is reserved: B moves up into row 0.
  A->SetUseLastDock(false);
  A->MakeFloating(true);
  EXPECT_EQ(Dock->DockList().size(), 1u);
  EXPECT_EQ(B->ComputedRow, 0);
  A->ToggleDocked();  // no last dock, no default dock: stays floating
  EXPECT_TRUE(A->Floating());
  A->SetDefaultDock(Dock);
  A->ToggleDocked();
  EXPECT_EQ(A->Parent(), Dock);
  EXPECT_EQ(A->DockPos, -8);
}

TEST_F(TFloatForm, DoubleClickOnACannotFloatWindowLeavesItDocked) {
  auto* A = Bar("A", 0, Dock);
  A->SetDockMode(dmCannotFloat);
  A->ToggleDocked();
  EXPECT_EQ(A->Parent(), Dock);
  EXPECT_FALSE(A->Floating());
}

TEST_F(TFloatForm, AWindowWithoutFormCannotLeaveItsDock) {
  TBar Loose(nullptr, 10, 10);
  Loose.SetName("Loose");
  try {
    Loose.SetCurrentDock(nullptr);
    FAIL();
  } catch (const EInvalidOperation& E) {
    EXPECT_EQ(E.Message(), "Control 'Loose' has no parent window");
  }
  EXPECT_THROW(Loose.MakeFloating(true), EInvalidOperation);
  EXPECT_FALSE(Loose.Floating());
}

TEST_F(TFloatForm, DockedFrameHandleAndCloseButtonRegions) {
  struct TCase {
    bool CloseButton;
    TTBDragHandleStyle Style;
    int Handle;
  };
  for (const TCase& C : {TCase{false, dhDouble, 9}, TCase{false, dhNone, 0}, TCase{false, dhSingle, 6},
                         TCase{true, dhDouble, 14}, TCase{true, dhNone, 14}, TCase{true, dhSingle, 14}})
    EXPECT_EQ(DragHandleSizeFor(C.CloseButton, C.Style), C.Handle) << C.CloseButton << " " << C.Style;

  auto* A = Bar("A", 0, Dock);
  EXPECT_EQ(A->ClientRect(), Rect(8, 2, 58, 22));
  EXPECT_EQ(A->NCHitTest({3, 10}), kTBHitDragArea);
  EXPECT_EQ(A->NCHitTest({30, 23}), kTBHitDragArea);  // the frame below the client
  EXPECT_EQ(A->NCHitTest({30, 10}), HTCLIENT);
  A->SetDragHandleStyle(dhNone);
  EXPECT_EQ(A->Width(), 54);
  EXPECT_EQ(A->NCHitTest({1, 10}), kTBHitDragArea);  // no handle, yet the frame drags
  A->SetCloseButtonWhenDocked(true);
  EXPECT_EQ(A->Width(), 68);
  EXPECT_EQ(A->DockedCloseButtonRect(false), Bounds(3, 2, 11, 11));
  EXPECT_EQ(A->NCHitTest({5, 5}), kTBHitCloseButton);
  EXPECT_EQ(A->NCHitTest({5, 16}), kTBHitDragArea);
  Dock->SetAllowDrag(false);  // no handle, no close button
  EXPECT_EQ(A->ClientRect(), Rect(2, 2, 52, 22));
  EXPECT_EQ(A->NCHitTest({5, 5}), HTCLIENT);
  EXPECT_EQ(A->NCHitTest({1, 5}), kTBHitDragArea);
}

TEST_F(TFloatForm, DockedCloseButtonClosesOnlyOnAReleaseInside) {
  auto* A = Bar("A", 0, Dock);
  A->SetCloseButtonWhenDocked(true);
  Form->Show();
  int Asked = 0, Closed = 0;
  bool Allow = false;
  A->OnCloseQuery = [&](TObject*, bool& CanClose) {
    ++Asked;
    CanClose = Allow;
  };
  A->OnClose = [&](TObject*) { ++Closed; };
  // Pressed, then released outside: nothing.
  guitest::PostMouseButton(A, true, mbLeft, 5, 5);
  guitest::PostInSequence({[A] { guitest::MouseMove(A, 40, 10); }, [A] { guitest::MouseUp(A, mbLeft, 40, 10); }});
  guitest::ProcessEvents();
  EXPECT_EQ(Asked, 0);
  EXPECT_TRUE(A->Visible());
  // Released inside, but the query refuses.
  guitest::PostMouseButton(A, true, mbLeft, 5, 5);
  guitest::PostInSequence({[A] { guitest::MouseUp(A, mbLeft, 5, 5); }});
  guitest::ProcessEvents();
  EXPECT_EQ(Asked, 1);
  EXPECT_TRUE(A->Visible());
  Allow = true;
  guitest::PostMouseButton(A, true, mbLeft, 6, 6);
  guitest::PostInSequence({[A] { guitest::MouseUp(A, mbLeft, 6, 6); }});
  guitest::ProcessEvents();
  EXPECT_EQ(Closed, 1);
  EXPECT_FALSE(A->Visible());
  EXPECT_TRUE(Dock->VisibleList().empty());
}

TEST_F(TFloatForm, FloatingFrameHitRegions) {
  auto* A = Bar("A", 0, Dock);
  A->MakeFloating(true);
  TTBFloatingWindowParent* F = A->FloatingParent();
  ASSERT_EQ(F->Width(), 58);
  ASSERT_EQ(F->Height(), 44);
  struct TCase {
    TPoint P;
    int Corners, Edges, Fixed;  // with corner zones, without, not resizable
  };
  const TCase Cases[] = {
      {{20, 30}, HTCLIENT, HTCLIENT, HTCLIENT},
      {{10, 8}, kTBHitFloatingCaption, kTBHitFloatingCaption, kTBHitFloatingCaption},
      {{50, 8}, kTBHitCloseButton, kTBHitCloseButton, kTBHitCloseButton},
      {{1, 22}, HTLEFT, HTLEFT, HTNOWHERE},
      {{1, 5}, HTTOPLEFT, HTLEFT, HTNOWHERE},
      {{1, 40}, HTBOTTOMLEFT, HTBOTTOM, HTNOWHERE},
      {{56, 22}, HTRIGHT, HTRIGHT, HTNOWHERE},
      {{56, 2}, HTTOPRIGHT, HTTOP, HTNOWHERE},
      {{30, 1}, HTTOP, HTTOP, HTNOWHERE},
      {{30, 42}, HTBOTTOM, HTBOTTOM, HTNOWHERE},
      {{50, 42}, HTBOTTOMRIGHT, HTBOTTOM, HTNOWHERE},
  };
  for (const TCase& C : Cases) EXPECT_EQ(F->HitTest(C.P), C.Corners) << C.P.X << "," << C.P.Y;
  A->CornerZones = false;
  for (const TCase& C : Cases) EXPECT_EQ(F->HitTest(C.P), C.Edges) << C.P.X << "," << C.P.Y;
  A->CornerZones = true;
  A->SetResizable(false);
  // The fixed frame is a pixel thinner; the client moves with it.
  EXPECT_EQ(A->FloatingParent()->Width(), 56);
  for (const TCase& C : Cases)
    if (C.Fixed == HTNOWHERE) EXPECT_EQ(F->HitTest(C.P), HTNOWHERE) << C.P.X << "," << C.P.Y;
  A->SetCloseButton(false);
  EXPECT_EQ(F->HitTest({48, 8}), kTBHitFloatingCaption);
}

TEST(TFloatingRules, WhenAFloatingWindowShows) {
  using S = TTBVisibilityState;
  auto With = [](auto Change) {
    S State;
    State.Floating = true;
    Change(State);
    return DockableShouldBeVisible(State);
  };
  EXPECT_TRUE(With([](S&) {}));
  EXPECT_FALSE(With([](S& s) { s.Showing = false; }));
  EXPECT_FALSE(With([](S& s) { s.Reparenting = true; }));
  EXPECT_FALSE(With([](S& s) { s.HostVisibleNotMinimized = false; }));  // host hidden or minimised
  EXPECT_FALSE(With([](S& s) { s.HostExists = false; }));
  EXPECT_TRUE(With([](S& s) {
    s.HostVisibleNotMinimized = false;
    s.Mode = fmOnTopOfAllForms;
  }));
  EXPECT_FALSE(With([](S& s) { s.ApplicationActive = false; }));  // another application is active
  EXPECT_TRUE(With([](S& s) {
    s.ApplicationActive = false;
    s.HideWhenInactive = false;
  }));
  // Docked windows and design time only follow their own Visible.
  EXPECT_TRUE(With([](S& s) {
    s.Floating = false;
    s.HostVisibleNotMinimized = false;
    s.ApplicationActive = false;
  }));
  EXPECT_TRUE(With([](S& s) {
    s.DesignTime = true;
    s.HostExists = false;
  }));
}

TEST(TFloatingRules, WhenTheCaptionLooksInactive) {
  using S = TTBCaptionState;
  auto With = [](auto Change) {
    S State;
    Change(State);
    return FloatingCaptionInactive(State);
  };
  EXPECT_FALSE(With([](S&) {}));
  EXPECT_TRUE(With([](S& s) { s.ApplicationActive = false; }));
  EXPECT_TRUE(With([](S& s) { s.ActiveWindowIsOwner = false; }));  // another form of ours is active
  EXPECT_FALSE(With([](S& s) {
    s.ActiveWindowIsOwner = false;
    s.Mode = fmOnTopOfAllForms;
  }));
  EXPECT_FALSE(With([](S& s) {
    s.ActiveWindowIsOwner = false;
    s.OwnerIsApplication = true;
  }));
  // While a menu of the library is open the caption keeps its look.
  for (bool Present : {false, true})
    EXPECT_EQ(With([&](S& s) {
                s.ActivePopupIsMenu = true;
                s.ApplicationActive = false;
                s.PresentInactive = Present;
              }),
              Present);
}

TEST_F(TFloatForm, FloatingWindowIsAToolWindowThatFollowsItsHost) {
  auto* A = Bar("A", 0, Dock);
  A->SetHideWhenInactive(false);  // the test's application need not be active
  Form->Show();
  A->MakeFloating(true);
  TTBFloatingWindowParent* F = A->FloatingParent();
  EXPECT_TRUE(F->ShownOnScreen());
  EXPECT_EQ(Screen->ActiveForm(), Form.get());  // floating never activates
  Form->Hide();
  guitest::ProcessEvents();
  EXPECT_FALSE(F->ShownOnScreen());
  Form->Show();
  guitest::ProcessEvents();
  EXPECT_TRUE(F->ShownOnScreen());
  A->Hide();
  EXPECT_FALSE(F->ShownOnScreen());
  A->Show();
  EXPECT_TRUE(F->ShownOnScreen());
  A->SetFloatingMode(fmOnTopOfAllForms);
  Form->Hide();
  guitest::ProcessEvents();
  EXPECT_TRUE(F->ShownOnScreen());
}

TEST_F(TFloatForm, FloatingWindowOffEveryMonitorComesBack) {
  auto* A = Bar("A", 0, Dock);
  A->SetFloatingPosition({100000, 100000});
  A->MakeFloating(true);
  const TRect Work = Screen->WorkAreaRect();
  A->MoveOnScreen(true);
  TRect R = A->FloatingParent()->BoundsRect();
  EXPECT_EQ(R.Right, Work.Right);
  EXPECT_EQ(R.Bottom, Work.Bottom);
  EXPECT_EQ(A->FloatingPosition(), R.TopLeft());
  // Partly on screen: stays.
  A->SetFloatingPosition({Work.Right - 10, 20});
  A->MoveOnScreen(true);
  EXPECT_EQ(A->FloatingParent()->Left(), Work.Right - 10);
  A->MoveOnScreen(false);
  EXPECT_EQ(A->FloatingParent()->BoundsRect().Right, Work.Right);
}

TEST_F(TFloatForm, CloseOnTheFloatingWindowClosesTheHostForm) {
  auto* A = Bar("A", 0, Dock);
  Form->Show();
  A->MakeFloating(true);
  int Closing = 0;
  Form->OnCloseQuery = [&](TObject*, bool& CanClose) {
    ++Closing;
    CanClose = false;
  };
  A->FloatingParent()->Perform(WM_CLOSE, 0, 0);
  EXPECT_EQ(Closing, 1);
  EXPECT_TRUE(A->FloatingParent()->Visible());
}

TEST_F(TFloatForm, DockRelaysMenuKeysToItsFloatingWindows) {
  auto* Docked = Bar("Docked", 0, Dock);
  auto* A = Bar("A", 1, Dock);
  auto* B = Bar("B", 2, Dock);
  Docked->KeyAnswer = 7;  // docked windows get keys the usual way, not relayed
  A->MakeFloating(true);
  B->MakeFloating(true);
  B->KeyAnswer = 5;
  EXPECT_EQ(Dock->Perform(CM_DIALOGKEY, 'F', 0), 5);  // A answered 0: B is asked
  EXPECT_EQ(A->Keys.size(), 1u);
  EXPECT_TRUE(Docked->Keys.empty());
  A->KeyAnswer = 3;
  EXPECT_EQ(Dock->Perform(CM_DIALOGKEY, 'F', 0), 3);  // the first answer ends it
  EXPECT_EQ(B->Keys.size(), 1u);
  A->Hide();
  B->SetEnabled(false);
  EXPECT_EQ(Dock->Perform(CM_DIALOGKEY, 'F', 0), 0);
  A->Show();
  // The menu key only reaches windows that take menu events.
  EXPECT_EQ(Dock->Perform(WM_SYSCOMMAND, SC_KEYMENU, 0), 0);
  EXPECT_EQ(A->Keys.size(), 2u);
  A->SetControlStyle(A->ControlStyle() + TControlStyle{csMenuEvents});
  EXPECT_EQ(Dock->Perform(WM_SYSCOMMAND, SC_KEYMENU, 'f'), 3);
}

// The saved layout of real windows: docked, floating with its reserved row,
// and hidden, restored into a fresh form.
TEST(TFloatLayout, SavedLayoutRestoresDockedAndFloatingWindows) {
  guitest::EnsureGui();
  std::map<std::string, std::string> Store;
  auto MakeForm = [](TBar*& A, TBar*& B, TBar*& C, TTBDock*& Top, TTBDock*& Bottom) {
    auto F = std::make_unique<TForm>(nullptr);
    F->SetBounds(0, 0, 400, 300);
    Top = new TTBDock(F.get());
    Top->SetName("TBDockTop");
    Top->SetParent(F.get());
    Bottom = new TTBDock(F.get());
    Bottom->SetName("TBDockBottom");
    Bottom->SetPosition(dpBottom);
    Bottom->SetParent(F.get());
    int Row = 0;
    for (auto* W : {&A, &B, &C}) {
      *W = new TBar(F.get(), 50, 20);
      (*W)->SetName(std::string("TBToolbar") + char('A' + Row));
      (*W)->DockRow = Row++;
      (*W)->SetCurrentDock(Top);
    }
    return F;
  };
  TBar *A, *B, *C;
  TTBDock *Top, *Bottom;
  {
    auto F = MakeForm(A, B, C, Top, Bottom);
    A->SetCurrentDock(Bottom);
    A->SetDockPos(120);
    B->SetFloatingPosition({200, 150});
    B->MakeFloating(true);
    C->Hide();
    SaveDockablePositions(
        F.get(), [&](const std::string& S, const std::string& V, int D, void*) { Store[S + "." + V] = std::to_string(D); },
        [&](const std::string& S, const std::string& V, const std::string& D, void*) { Store[S + "." + V] = D; },
        nullptr);
  }
  EXPECT_EQ(Store["TBToolbarA.DockedTo"], "TBDockBottom");
  EXPECT_EQ(Store["TBToolbarB.DockedTo"], "+");
  EXPECT_EQ(Store["TBToolbarB.LastDock"], "TBDockTop");
  EXPECT_EQ(Store["TBToolbarB.FloatLeft"], "200");
  EXPECT_EQ(Store["TBToolbarC.Visible"], "0");

  auto F = MakeForm(A, B, C, Top, Bottom);
  LoadDockablePositions(
      F.get(),
      [&](const std::string& S, const std::string& V, int D, void*) {
        auto It = Store.find(S + "." + V);
        return It == Store.end() ? D : std::stoi(It->second);
      },
      [&](const std::string& S, const std::string& V, const std::string& D, void*) {
        auto It = Store.find(S + "." + V);
        return It == Store.end() ? D : It->second;
      },
      nullptr);
  EXPECT_EQ(A->Parent(), Bottom);
  EXPECT_EQ(A->Left(), 120);
  ASSERT_TRUE(B->Floating());
  EXPECT_EQ(B->FloatingParent()->BoundsRect().TopLeft(), (TPoint{200, 150}));
  EXPECT_EQ(B->LastDock(), Top);
  EXPECT_EQ(B->DockRow, 1);  // its row in the top dock stays reserved
  EXPECT_FALSE(C->Visible());
  EXPECT_EQ(C->Parent(), Top);
}

}  // namespace
