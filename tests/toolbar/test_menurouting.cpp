// The menu loop's routing as a state machine fed with abstract input events.
#include <gtest/gtest.h>

#include <memory>

#include "platform/ui/forms.h"
#include "platform/ui/sound.h"
#include "platform/ui/syssettings.h"
#include "support/gui/guitest.h"
#include "toolbar/tbmenuloop.h"

namespace {

struct TRouting : ::testing::Test {
  std::unique_ptr<TTBRootItem> Root = std::make_unique<TTBRootItem>(nullptr);
  std::unique_ptr<TTBPopupWindow> Popup;
  std::unique_ptr<TForm> Form;
  TTBModalHandler Handler{nullptr};

  void SetUp() override {
    SetTestMonitors({{TRect(0, 0, 800, 600), TRect(0, 0, 800, 600), true}});
    for (const char* c : {"One", "Two"}) {
      auto* i = new TTBItem(nullptr);
      i->SetCaption(c);
      Root->Add(i);
    }
    Form = std::make_unique<TForm>(nullptr);
    Form->SetBounds(400, 300, 200, 100);
    Form->Show();
    Popup.reset(Root->CreatePopup(nullptr, nullptr, false, false, false, TPoint(20, 20), 0));
    Popup->View()->SetState(Popup->View()->State() | vsIgnoreFirstMouseUp);
    Handler.Begin(Popup->View(), true);
  }
  void TearDown() override {
    Popup.reset();
    SetTestMonitors({});
  }
  TInputEvent Mouse(TInputKind kind, TMouseButton b, TWinControl* target, TPoint screen) {
    TInputEvent e;
    e.Kind = kind;
    e.Button = b;
    e.Target = target;
    e.ScreenPos = screen;
    return e;
  }
  TPoint CentreOf(int i) {
    TTBView* v = Popup->View();
    v->ValidatePositions();
    TRect b = v->Viewers(i)->BoundsRect;
    return Popup->Client()->ClientToScreen(TPoint((b.Left + b.Right) / 2, (b.Top + b.Bottom) / 2));
  }
};

TEST_F(TRouting, TheFirstReleaseOutsideIsIgnoredTheSecondEndsTheLoop) {
  TInputEvent up = Mouse(ikMouseUp, mbRight, Form.get(), TPoint(450, 350));
  EXPECT_EQ(Handler.HandleInput(up), irSwallow);
  EXPECT_FALSE(Handler.Finished());
  EXPECT_EQ(Handler.HandleInput(up), irSwallow);
  EXPECT_TRUE(Handler.Finished());
  EXPECT_EQ(Popup->View()->DoneActionData().DoneAction, tbdaNone);  // nothing chosen
}

TEST_F(TRouting, APressOutsideEndsTheLoopAndIsDeliveredLater) {
  EXPECT_EQ(Handler.HandleInput(Mouse(ikMouseDown, mbLeft, Form.get(), TPoint(450, 350))), irRepostAfter);
  EXPECT_TRUE(Handler.Finished());
  // Keys after the end are swallowed, further presses wait too.
  TInputEvent key;
  key.Kind = ikKeyDown;
  key.Key = 'A';
  key.Text = "a";
  EXPECT_EQ(Handler.HandleInput(key), irSwallow);
  EXPECT_EQ(Handler.HandleInput(Mouse(ikMouseDown, mbLeft, Form.get(), TPoint(450, 350))), irRepostAfter);
}

TEST_F(TRouting, MovingSelectsAndAReleaseOnAnItemChoosesIt) {
  TPoint p = CentreOf(1);
  EXPECT_EQ(Handler.HandleInput(Mouse(ikMouseMove, mbLeft, Popup->Client(), p)), irSwallow);
  EXPECT_EQ(Popup->View()->Selected(), Popup->View()->Viewers(1));
  EXPECT_EQ(Handler.HandleInput(Mouse(ikMouseDown, mbLeft, Popup->Client(), p)), irSwallow);
  EXPECT_FALSE(Handler.Finished());
  EXPECT_EQ(Handler.HandleInput(Mouse(ikMouseUp, mbLeft, Popup->Client(), p)), irSwallow);
  EXPECT_TRUE(Handler.Finished());
  EXPECT_EQ(Popup->View()->DoneActionData().ClickItem, Root->Items(1));
}

TEST_F(TRouting, KeysHeldWithAButtonDownDoNothingButF1) {
  Root->Items(0)->SetHelpContext(12);
  TPoint p = CentreOf(0);
  Handler.HandleInput(Mouse(ikMouseMove, mbLeft, Popup->Client(), p));
  Handler.HandleInput(Mouse(ikMouseDown, mbLeft, Popup->Client(), p));
  TInputEvent key;
  key.Kind = ikKeyDown;
  key.Key = VK_ESCAPE;
  EXPECT_EQ(Handler.HandleInput(key), irSwallow);
  EXPECT_FALSE(Handler.Finished());
  key.Key = VK_F1;
  Handler.HandleInput(key);
  EXPECT_EQ(Popup->View()->DoneActionData().DoneAction, tbdaHelpContext);
  EXPECT_EQ(Popup->View()->DoneActionData().ContextID, 12);
}

TEST_F(TRouting, SubmenusOpenAndCloseOnTheMenuShowDelayTimers) {
  Popup.reset();
  auto* sub = new TTBSubmenuItem(nullptr);
  sub->SetCaption("More");
  sub->Add(new TTBItem(nullptr));
  Root->Add(sub);
  Popup.reset(Root->CreatePopup(nullptr, nullptr, false, false, false, TPoint(20, 20), 0));
  Handler.Begin(Popup->View(), false);
  TTBView* v = Popup->View();
  // Hovering the submenu item starts the open timer; it opens when the timer fires.
  Handler.HandleInput(Mouse(ikMouseMove, mbLeft, Popup->Client(), CentreOf(2)));
  EXPECT_TRUE(v->TimerActive(tiOpen));
  EXPECT_EQ(v->OpenViewer(), nullptr);
  FireWindowTimers();
  ASSERT_NE(v->OpenViewer(), nullptr);
  EXPECT_EQ(v->OpenViewer(), v->Viewers(2));
  // Moving to a sibling closes it only when the close timer fires.
  Handler.HandleInput(Mouse(ikMouseMove, mbLeft, Popup->Client(), CentreOf(0)));
  EXPECT_TRUE(v->TimerActive(tiClose));
  EXPECT_NE(v->OpenViewer(), nullptr);
  FireWindowTimers();
  EXPECT_EQ(v->OpenViewer(), nullptr);
  // Open again, move to the sibling, then a key in the submenu: it stays
  // open, its item is selected again and the close timer stops.
  Handler.HandleInput(Mouse(ikMouseMove, mbLeft, Popup->Client(), CentreOf(2)));
  FireWindowTimers();
  ASSERT_NE(v->OpenViewer(), nullptr);
  Handler.HandleInput(Mouse(ikMouseMove, mbLeft, Popup->Client(), CentreOf(0)));
  ASSERT_TRUE(v->TimerActive(tiClose));
  TInputEvent key;
  key.Kind = ikKeyDown;
  key.Key = VK_DOWN;
  Handler.HandleInput(key);
  EXPECT_NE(v->OpenViewer(), nullptr);
  EXPECT_EQ(v->Selected(), v->Viewers(2));
  EXPECT_FALSE(v->TimerActive(tiClose));
  // Esc in the submenu closes just the submenu.
  key.Key = VK_ESCAPE;
  Handler.HandleInput(key);
  EXPECT_EQ(v->OpenViewer(), nullptr);
  EXPECT_FALSE(Handler.Finished());
}

TEST_F(TRouting, TheSelectedItemsLongHintBecomesTheApplicationsHint) {
  Root->Items(0)->SetHint("Open|Opens an input file");
  Root->Items(1)->SetHint("Save");
  Handler.HandleInput(Mouse(ikMouseMove, mbLeft, Popup->Client(), CentreOf(0)));
  EXPECT_EQ(Application->Hint(), "Opens an input file");
  Handler.HandleInput(Mouse(ikMouseMove, mbLeft, Popup->Client(), CentreOf(1)));
  EXPECT_EQ(Application->Hint(), "Save");
  Application->SetHint("");
}

TEST_F(TRouting, ACharacterNoItemAnswersBeepsInAPopup) {
  int beeps = 0;
  TMessageBeepHook old = SetMessageBeepHook([&](unsigned) { ++beeps; });
  TInputEvent key;
  key.Kind = ikKeyDown;
  key.Key = 'Q';
  key.Text = "q";
  Handler.HandleInput(key);
  key.Key = VK_SPACE;
  key.Text = " ";
  Handler.HandleInput(key);  // no system menu from a popup
  SetMessageBeepHook(old);
  EXPECT_EQ(beeps, 2);
  EXPECT_FALSE(Handler.Finished());
  key.Key = 'T';
  key.Text = "t";
  Handler.HandleInput(key);  // "Two": found by its first letter, the only one
  EXPECT_EQ(Popup->View()->DoneActionData().ClickItem, Root->Items(1));
}

}  // namespace
