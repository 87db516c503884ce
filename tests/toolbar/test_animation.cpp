// Menu animation with an injected clock and cursor.
#include <gtest/gtest.h>

#include "platform/ui/menuloop.h"
#include "platform/ui/windowfx.h"
#include "toolbar/tbanim.h"

namespace {

struct TAnim : ::testing::Test {
  uint32_t Tick = 1000;
  TPoint Cursor{-50, -50};
  void SetUp() override {
    SetMenuAnimationClock([this] { return Tick; });
    SetMenuAnimationCursor([this] { return Cursor; });
  }
  void TearDown() override {
    EndMenuAnimation();
    SetMenuAnimationClock({});
    SetMenuAnimationCursor({});
  }
};

TEST_F(TAnim, FadeRunsFromAlpha40ToOpaqueInAbout148Ms) {
  StartMenuAnimation(0, true, 0);
  EXPECT_TRUE(IsMenuAnimating());
  EXPECT_EQ(MenuAnimationState().LastStep, 40);
  EXPECT_EQ(MenuAnimationState().Duration, 175);
  Tick += 5;  // under 10 ms: nothing
  StepMenuAnimation();
  EXPECT_EQ(MenuAnimationState().LastStep, 40);
  int last = 40;
  int endedAt = -1;
  for (int t = 10; t <= 200; t += 10) {
    Tick = 1000 + t;
    StepMenuAnimation();
    if (!IsMenuAnimating()) {
      endedAt = t;
      break;
    }
    EXPECT_GT(MenuAnimationState().LastStep, last) << t;
    last = MenuAnimationState().LastStep;
  }
  // 40 + t * 255 / 175 reaches 255 at t = 148.
  EXPECT_EQ(endedAt, 150);
  EXPECT_EQ(last, 40 + 140 * 255 / 175);
}

TEST_F(TAnim, CursorEnteringTheClientAreaEndsItLeavingDoesNot) {
  StartMenuAnimation(0, true, 0);
  // No window: the client area is empty, so moves outside keep it running.
  Cursor = TPoint(10, 10);
  Tick += 20;
  StepMenuAnimation();
  EXPECT_TRUE(IsMenuAnimating());
  EXPECT_EQ(MenuAnimationState().CursorPos, TPoint(10, 10));
  EndMenuAnimation();

  // A popup window: the cursor entering its client area shows it complete.
  TPopupControl popup(nullptr);
  popup.SetBounds(100, 100, 100, 100);
  StartMenuAnimation(popup.Handle(), true, 0);
  EXPECT_TRUE(popup.Visible());
  EXPECT_EQ(WindowOpacity(popup.Handle()), 40);
  EXPECT_EQ(MenuAnimationState().ClientRect, TRect(100, 100, 200, 200));
  Cursor = TPoint(90, 150);  // beside it
  Tick += 20;
  StepMenuAnimation();
  EXPECT_TRUE(IsMenuAnimating());
  EXPECT_GT(WindowOpacity(popup.Handle()), 40);
  Cursor = TPoint(150, 150);
  Tick += 20;
  StepMenuAnimation();
  EXPECT_FALSE(IsMenuAnimating());
  EXPECT_EQ(WindowOpacity(popup.Handle()), 255);  // shown complete
}

TEST_F(TAnim, SlideOffsetsFollowTheDirections) {
  StartMenuAnimation(0, false, tbadDown | tbadRight);
  auto& s = const_cast<TMenuAnimationState&>(MenuAnimationState());
  s.Width = 100;
  s.Height = 50;
  Tick += 75;  // half way: 127
  StepMenuAnimation();
  EXPECT_EQ(s.LastStep, 75 * 255 / 150);
  EXPECT_EQ(s.SlideOffset, TPoint(-50, -25));  // MulDiv rounds
  EndMenuAnimation();
  StartMenuAnimation(0, false, 0);
  Tick += 20;
  StepMenuAnimation();
  EXPECT_EQ(MenuAnimationState().SlideOffset, TPoint(0, 0));
}

TEST_F(TAnim, ATickCountThatRunsBackwardsEndsIt) {
  StartMenuAnimation(0, true, 0);
  Tick -= 100;  // negative elapsed time, as after a wrap of the counter
  StepMenuAnimation();
  EXPECT_FALSE(IsMenuAnimating());
}

}  // namespace
