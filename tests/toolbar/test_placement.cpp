// Popup placement as a pure function of the rectangles, and popup windows.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/ui/syssettings.h"
#include "toolbar/tbpopup.h"

namespace {

const TRect kMonitor(0, 0, 1024, 768);

TTBPopupPlacementInput AtPoint(TPoint p, int align, int w = 120, int h = 80) {
  TTBPopupPlacementInput in;
  in.PopupPoint = p;
  in.R = TRect(p.X, p.Y, p.X, p.Y);
  in.M = kMonitor;
  in.Alignment = align;
  in.W = w;
  in.H = h;
  return in;
}

TTBPopupPlacementInput Submenu(TRect r, bool parentLeftward, TRect m = kMonitor) {
  TTBPopupPlacementInput in;
  in.HasParentView = true;
  in.OpenedSideways = true;
  in.ParentLeftward = parentLeftward;
  in.R = r;
  in.M = m;
  in.W = 150;
  in.H = 100;
  return in;
}

TEST(TBPlacement, PopupAtAPoint) {
  struct TCase {
    TPoint P;
    int Align;
    TPoint Expected;
  };
  const TCase cases[] = {
      {TPoint(100, 100), 0, TPoint(100, 100)},
      {TPoint(1000, 100), 0, TPoint(880, 100)},  // left of the point near the right edge
      {TPoint(300, 100), 1, TPoint(180, 100)},
      {TPoint(50, 100), 1, TPoint(50, 100)},     // right of the point near the left edge
      {TPoint(300, 100), 2, TPoint(240, 100)},
      {TPoint(100, 740), 0, TPoint(100, 660)},   // above the point near the bottom edge
      {TPoint(100, 50), 0, TPoint(100, 50)},
  };
  for (const auto& c : cases) EXPECT_EQ(PlacePopup(AtPoint(c.P, c.Align)).Pos, c.Expected) << c.P.X << "," << c.P.Y;
}

TEST(TBPlacement, SubmenusOpenLeftWhenRightDoesNotFitAndKeepGoingLeft) {
  // Fits on the right.
  auto p = PlacePopup(Submenu(TRect(100, 50, 250, 70), false));
  EXPECT_EQ(p.Pos, TPoint(247, 47));
  EXPECT_FALSE(p.Leftward);
  // Near the right edge: opens left.
  p = PlacePopup(Submenu(TRect(800, 50, 950, 70), false));
  EXPECT_TRUE(p.Leftward);
  EXPECT_EQ(p.Pos.X, 803 - 150);
  // Its child keeps opening left, though there would be room on the right.
  p = PlacePopup(Submenu(TRect(500, 50, 650, 70), true));
  EXPECT_TRUE(p.Leftward);
  EXPECT_EQ(p.Pos.X, 503 - 150);
  // Until left does not fit either: right again.
  p = PlacePopup(Submenu(TRect(60, 50, 210, 70), true));
  EXPECT_FALSE(p.Leftward);
  EXPECT_EQ(p.Pos.X, 207);
}

TEST(TBPlacement, SubmenusStayOnTheGivenMonitor) {
  // The chain's monitor is the second one; the parent item is at its left edge.
  TRect second(1024, 0, 2048, 768);
  auto p = PlacePopup(Submenu(TRect(1900, 50, 2040, 70), false, second));
  EXPECT_GE(p.Pos.X, 1024);
  EXPECT_LE(p.Pos.X + 150, 2048);
}

TEST(TBPlacement, MenuBarMenuOpensAboveWhenBelowDoesNotFit) {
  TTBPopupPlacementInput in;
  in.HasParentView = true;
  in.R = TRect(10, 700, 60, 720);
  in.M = kMonitor;
  in.W = 100;
  in.H = 200;
  auto p = PlacePopup(in);
  EXPECT_EQ(p.Pos, TPoint(10, 500));
  EXPECT_EQ(p.Directions, tbadUp);
  in.R = TRect(10, 100, 60, 120);
  p = PlacePopup(in);
  EXPECT_EQ(p.Pos, TPoint(10, 120));
  EXPECT_EQ(p.Directions, tbadDown);
}

struct TPopupWindows : ::testing::Test {
  std::unique_ptr<TTBRootItem> Root = std::make_unique<TTBRootItem>(nullptr);
  std::vector<std::string> Sounds;
  TSoundHook Old;
  void SetUp() override {
    SetTestMonitors({{TRect(0, 0, 800, 600), TRect(0, 0, 800, 570), true}});
    Old = SetSoundHook([this](const std::string& s) { Sounds.push_back(s); });
  }
  void TearDown() override {
    SetTestMonitors({});
    SetSoundHook(Old);
  }
};

TEST_F(TPopupWindows, PopupAtAPointIsSizedPlacedAndSounded) {
  for (int i = 0; i < 3; ++i) {
    auto* it = new TTBItem(nullptr);
    it->SetCaption("Item " + std::to_string(i));
    Root->Add(it);
  }
  int popups = 0;
  Root->OnPopup = [&](TTBCustomItem*, bool) { ++popups; };
  std::unique_ptr<TTBPopupWindow> w(Root->CreatePopup(nullptr, nullptr, false, true, false, TPoint(790, 100), 0));
  ASSERT_TRUE(w);
  EXPECT_EQ(popups, 1);
  EXPECT_TRUE(w->Visible());
  TTBView* v = w->View();
  EXPECT_EQ(v->Selected(), v->Viewers(0));
  EXPECT_EQ(w->Width(), v->Viewers(0)->BoundsRect.Width() + 6);
  EXPECT_EQ(w->Left(), 790 - w->Width());  // left of the point
  EXPECT_EQ(v->MaxHeight(), 600 - 6);
  EXPECT_EQ(Sounds, std::vector<std::string>{"MenuPopup"});
}

TEST_F(TPopupWindows, TallPopupGetsScrollArrows) {
  for (int i = 0; i < 60; ++i) {
    auto* it = new TTBItem(nullptr);
    it->SetCaption("Row " + std::to_string(i));
    Root->Add(it);
  }
  std::unique_ptr<TTBPopupWindow> w(Root->CreatePopup(nullptr, nullptr, false, false, false, TPoint(10, 10), 0));
  EXPECT_EQ(w->Height(), 600 - 6 + 6);
  EXPECT_TRUE(w->View()->ShowDownArrow());
  EXPECT_EQ(w->Top(), 0);
}

TEST_F(TPopupWindows, OnlyPopupsOpenedByTheMouseAnimate) {
  auto* it = new TTBItem(nullptr);
  it->SetCaption("Item");
  Root->Add(it);
  SystemSettings().MenuAnimation = true;
  SystemSettings().MenuFade = true;
  {
    std::unique_ptr<TTBPopupWindow> w(Root->CreatePopup(nullptr, nullptr, false, false, false, TPoint(10, 10), 0));
    EXPECT_TRUE(IsMenuAnimating());
    EXPECT_TRUE(MenuAnimationState().Fade);
  }
  EXPECT_FALSE(IsMenuAnimating());  // ended with its window
  {
    // Opened with the keyboard: its first item is selected, it shows at once.
    std::unique_ptr<TTBPopupWindow> w(Root->CreatePopup(nullptr, nullptr, false, true, false, TPoint(10, 10), 0));
    EXPECT_FALSE(IsMenuAnimating());
    EXPECT_TRUE(w->Visible());
  }
  ResetSystemSettings();
}

}  // namespace
