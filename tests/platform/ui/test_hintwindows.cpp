// The hint window and the balloon tip: placed inside the monitor, sized to
// their content, a title line taking room of its own.
#include <gtest/gtest.h>

#include "platform/ui/extctrls.h"
#include "platform/ui/forms.h"
#include "platform/ui/hintwindows.h"
#include "support/gui/guitest.h"

namespace {

TEST(HintWindows, HintKeepsInsideTheMonitor) {
  guitest::EnsureGui();
  THintWindow w(nullptr);
  const TRect need = w.CalcHintRect(300, "one line");
  EXPECT_GT(need.Width(), 0);
  EXPECT_GT(need.Height(), 0);
  const TRect narrow = w.CalcHintRect(40, "several words that wrap at forty pixels");
  EXPECT_GT(narrow.Height(), need.Height()) << "a narrow maximum wraps the text";
  const TRect mon = THintWindow::MonitorRectAt(TPoint{0, 0});
  w.ActivateHint(TRect(mon.Right - 5, mon.Bottom - 5, mon.Right + 95, mon.Bottom + 15), "x");
  EXPECT_TRUE(w.Visible());
  EXPECT_EQ(w.Left() + w.Width(), mon.Right - 2);
  EXPECT_EQ(w.Top() + w.Height(), mon.Bottom - 2);
  w.ReleaseHandle();
  EXPECT_FALSE(w.Visible());
}

TEST(HintWindows, BalloonSizesToTitleAndText) {
  guitest::EnsureGui();
  const int before = TBalloonHint::InstanceCount();
  {
    TBalloonHint b(nullptr);
    EXPECT_EQ(TBalloonHint::InstanceCount(), before + 1);
    b.SetContent("", "text", biNone);
    b.ShowAt(TPoint{10, 10});
    const int plain = b.Height();
    b.SetContent("Title", "text", biInfo);
    b.ShowAt(TPoint{10, 10});
    EXPECT_GT(b.Height(), plain) << "the title line takes room";
    EXPECT_TRUE(b.Visible());
    b.SetAlpha(300);
    EXPECT_EQ(b.Alpha(), 255);
    b.Pop();
    EXPECT_FALSE(b.Visible());
  }
  EXPECT_EQ(TBalloonHint::InstanceCount(), before);
}

// A panel that says its hint by where the mouse is, as a grid does per cell.
struct THintingPanel : TPanel {
  using TPanel::TPanel;
  TPoint Asked{-1, -1};
  bool Refuse = false;
  void WndProc(TMessage& M) override {
    if (M.Msg == CM_HINTSHOW) {
      auto* info = reinterpret_cast<THintInfo*>(M.LParam);
      Asked = info->CursorPos;
      info->HintStr = "cell at " + std::to_string(info->CursorPos.X);
      M.Result = Refuse ? 1 : 0;
      return;
    }
    TPanel::WndProc(M);
  }
};

TEST(HintWindows, ControlFillsItsHintWhenAsked) {
  guitest::EnsureGui();
  TForm form(nullptr);
  form.SetBounds(0, 0, 300, 200);
  auto* p = new THintingPanel(&form);
  p->SetParent(&form);
  p->SetBounds(10, 10, 200, 100);
  p->SetHint("static");
  p->SetShowHint(true);
  form.Show();
  guitest::ProcessEvents();
  const TPoint at = p->ClientToScreen(TPoint{25, 30});
  Application->ActivateHint(at);
  EXPECT_EQ(p->Asked, (TPoint{25, 30})) << "the cursor in the control's client coordinates";
  EXPECT_EQ(Application->CurrentHintText(), "cell at 25");
  p->Refuse = true;
  Application->ActivateHint(at);
  EXPECT_EQ(Application->CurrentHintText(), "") << "an answer other than 0 keeps the hint back";
  p->Refuse = false;
  p->SetHint("");
  Application->ActivateHint(at);
  EXPECT_EQ(Application->CurrentHintText(), "cell at 25") << "asked without a hint of its own";
  p->SetShowHint(false);
  Application->ActivateHint(at);
  EXPECT_EQ(Application->CurrentHintText(), "");
  form.Hide();
}

TEST(HintWindows, AHintShowsWhenTheMouseRestsOnAControlForThePause) {
  guitest::EnsureGui();
  TForm form(nullptr);
  form.SetBounds(0, 0, 300, 200);
  auto* first = new TPanel(&form);
  first->SetParent(&form);
  first->SetBounds(10, 10, 100, 60);
  first->SetHint("Refine|Runs the refinement");
  first->SetShowHint(true);
  auto* second = new TPanel(&form);
  second->SetParent(&form);
  second->SetBounds(150, 10, 100, 60);
  second->SetHint("Zoom");
  second->SetShowHint(true);
  auto* quiet = new TPanel(&form);
  quiet->SetParent(&form);
  quiet->SetBounds(10, 100, 100, 60);
  form.Show();
  guitest::ProcessEvents();
  auto timerRuns = [] { return Application->HintTimer() && Application->HintTimer()->Active(); };

  guitest::MouseMove(first, 20, 20);
  EXPECT_EQ(Application->CurrentHintText(), "") << "not before the pause";
  ASSERT_TRUE(timerRuns());
  EXPECT_EQ(Application->HintTimer()->Interval(), static_cast<unsigned>(Application->HintPause()));
  guitest::MouseMove(first, 30, 25);
  guitest::FireTimers();
  EXPECT_EQ(Application->CurrentHintText(), "Refine");
  EXPECT_FALSE(timerRuns()) << "one hint per rest";

  // On to the next control: that hint is over, the next one comes after the pause.
  guitest::MouseMove(second, 20, 20);
  EXPECT_EQ(Application->CurrentHintText(), "");
  guitest::FireTimers();
  EXPECT_EQ(Application->CurrentHintText(), "Zoom");

  // A press ends the hint; a control without hints starts no pause.
  guitest::MouseDown(second, mbLeft, 20, 20);
  guitest::MouseUp(second, mbLeft, 20, 20);
  EXPECT_EQ(Application->CurrentHintText(), "");
  guitest::MouseMove(quiet, 20, 20);
  EXPECT_FALSE(timerRuns());
  guitest::FireTimers();
  EXPECT_EQ(Application->CurrentHintText(), "");

  // The mouse passes over a control and leaves it before the pause ends.
  guitest::MouseMove(first, 20, 20);
  guitest::MouseMove(quiet, 20, 20);
  guitest::FireTimers();
  EXPECT_EQ(Application->CurrentHintText(), "");
  form.Hide();
}

}  // namespace
