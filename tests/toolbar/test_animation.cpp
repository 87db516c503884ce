// Menu animation with an injected clock and cursor.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "support/gui/guitest.h"
#include "platform/rtl/mathutils.h"
#include "platform/ui/menuloop.h"
#include "platform/ui/syssettings.h"
#include "platform/ui/windowfx.h"
#include "toolbar/tbanim.h"
#include "toolbar/tbmenuloop.h"
#include "toolbar/tbpopup.h"

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

// A popup opened by the mouse inside a running menu loop, its animation
// stepped by the loop's timer fired by hand.
struct TAnimatedPopup : TAnim {
  std::unique_ptr<TTBRootItem> Root = std::make_unique<TTBRootItem>(nullptr);
  std::unique_ptr<TTBPopupWindow> Window;
  void SetUp() override {
    TAnim::SetUp();
    guitest::EnsureGui();
    SetTestMonitors({{TRect(0, 0, 800, 600), TRect(0, 0, 800, 570), true}});
    for (const char* c : {"Open", "Save", "Close"}) {
      auto* it = new TTBItem(nullptr);
      it->SetCaption(c);
      Root->Add(it);
    }
    SystemSettings().MenuAnimation = true;
  }
  void TearDown() override {
    Window.reset();
    ResetSystemSettings();
    SetTestMonitors({});
    SetLayeredWindowFunctionsAvailable(true);
    TAnim::TearDown();
  }
  void Open(bool fade) {
    SystemSettings().MenuFade = fade;
    Window.reset(Root->CreatePopup(nullptr, nullptr, false, false, false, TPoint(100, 100), 0));
  }
  // The rows of the window (its first column) as shown now.
  std::vector<TColor> Column() {
    std::vector<TColor> c;
    for (int y = 0; y < Window->Height(); ++y) c.push_back(guitest::ShownPixel(Window.get(), Window->Width() / 2, y));
    return c;
  }
};

TEST_F(TAnimatedPopup, TheLoopTimerSlidesTheMenuPictureDownFrameByFrame) {
  Open(false);
  ASSERT_TRUE(IsMenuAnimating());
  EXPECT_FALSE(MenuAnimationState().Fade);
  EXPECT_EQ(Window->AnimationDirections(), tbadDown | tbadRight);
  EXPECT_TRUE(Window->Visible());
  // The whole menu as it shows when complete.
  TBitmap whole(Window->Width(), Window->Height(), pf32bit);
  Window->PaintTo(whole.Canvas());
  const int h = Window->Height(), w = Window->Width();

  TTBModalHandler handler(nullptr);
  handler.AnimationPass();  // the loop's first pass starts the timer
  ASSERT_TRUE(handler.AnimationTimer()->Active());
  std::vector<int> steps;
  for (int frame = 1; frame <= 3; ++frame) {
    Tick += 30;
    guitest::FireTimer(handler.AnimationTimer());
    ASSERT_TRUE(IsMenuAnimating()) << frame;
    steps.push_back(MenuAnimationState().LastStep);
    int step = steps.back();
    TPoint off(MulDiv(w, step, 255) - w, MulDiv(h, step, 255) - h);
    EXPECT_EQ(MenuAnimationState().SlideOffset, off);
    // Only the revealed part shows, and it holds the bottom of the picture.
    TRegion shape;
    ASSERT_TRUE(guitest::WindowShape(Window.get(), shape));
    EXPECT_TRUE(shape.Contains(0, 0));
    EXPECT_FALSE(shape.Contains(0, h + off.Y));
    int wrong = 0;
    for (int y = 0; y < h + off.Y; y += 2)
      for (int x = 0; x < w + off.X; x += 2)
        if (guitest::ShownPixel(Window.get(), x, y) != whole.Canvas()->Pixels(x - off.X, y - off.Y)) ++wrong;
    EXPECT_EQ(wrong, 0) << "frame " << frame;
  }
  EXPECT_LT(steps[0], steps[1]);
  EXPECT_LT(steps[1], steps[2]);
  // Past 150 ms the window shows itself, whole, and the timer stops.
  Tick += 100;
  guitest::FireTimer(handler.AnimationTimer());
  EXPECT_FALSE(IsMenuAnimating());
  EXPECT_FALSE(handler.AnimationTimer()->Active());
  TRegion shape;
  EXPECT_FALSE(guitest::WindowShape(Window.get(), shape));
  for (int y = 0; y < h; y += 3)
    EXPECT_EQ(guitest::ShownPixel(Window.get(), w / 2, y), whole.Canvas()->Pixels(w / 2, y)) << y;
}

TEST_F(TAnimatedPopup, FadeWhereTranslucentWindowsWorkElseSlide) {
  Open(true);
  ASSERT_TRUE(IsMenuAnimating());
  EXPECT_TRUE(MenuAnimationState().Fade);
  EXPECT_EQ(WindowOpacity(Window->Handle()), 40);
  TTBModalHandler handler(nullptr);
  handler.AnimationPass();
  Tick += 50;
  guitest::FireTimer(handler.AnimationTimer());
  EXPECT_EQ(WindowOpacity(Window->Handle()), 40 + 50 * 255 / 175);
  Window.reset();
  EXPECT_FALSE(IsMenuAnimating());

  // No compositing: the fade asked for becomes a slide.
  SetLayeredWindowFunctionsAvailable(false);
  EXPECT_FALSE(TranslucentWindowsWork());
  Open(true);
  ASSERT_TRUE(IsMenuAnimating());
  EXPECT_FALSE(MenuAnimationState().Fade);
  EXPECT_EQ(WindowOpacity(Window->Handle()), 255);
  TRegion shape;
  EXPECT_TRUE(guitest::WindowShape(Window.get(), shape));
  EXPECT_FALSE(shape.Contains(0, 0));
  EXPECT_FALSE(shape.Contains(Window->Width() / 2, Window->Height() / 2));
}

TEST_F(TAnimatedPopup, OnlyARepaintAfterTheFirstEndsTheAnimation) {
  Open(false);
  Window->Repaint();  // the paints that show it
  EXPECT_TRUE(IsMenuAnimating());
  Window->Client()->Repaint();
  EXPECT_FALSE(IsMenuAnimating());
}

}  // namespace
