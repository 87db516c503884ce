// A form's Left and Top are its frame's top-left, however far its window was
// made and whenever they are set, so a place read back and set again stays.
// Offscreen windows know their frame from the start; the X case, a native
// window not yet framed by the window manager, is only seen on a display.
#include <gtest/gtest.h>

#include <memory>

#include "platform/ui/forms.h"
#include "platform/ui/toolwindows.h"
#include "support/gui/guitest.h"

using namespace guitest;

namespace {

enum class TMade { OnShow, HandleOnly, NativeWindow, AsToolWindowHost };

struct TPlaceCase {
  const char* Name;
  TMade Made;           // how far the form's window is made before its place is set
  bool PlaceAfterShow;  // Left/Top set on the shown form
  bool SizeAfterPlace;  // the size changes after the place was set
};

struct FramePlaceTest : ::testing::TestWithParam<TPlaceCase> {};

TEST_P(FramePlaceTest, TheFrameLandsOnLeftAndTopAndReadsBackTheSame) {
  const TPlaceCase& c = GetParam();
  auto form = std::make_unique<TForm>(nullptr);
  form->SetBounds(10, 10, 300, 200);
  auto tool = std::make_unique<TForm>(nullptr);
  switch (c.Made) {
    case TMade::OnShow: break;
    case TMade::HandleOnly: form->HandleNeeded(); break;
    case TMade::NativeWindow: MakeNativeWindow(form.get()); break;
    // Hosting a floating tool window makes the host's native window.
    case TMade::AsToolWindowHost: MakeFloatingToolWindow(tool.get(), form.get()); break;
  }
  if (c.PlaceAfterShow) {
    form->Show();
    ProcessEvents();
  }
  form->SetLeft(212);
  form->SetTop(148);
  if (c.SizeAfterPlace) form->SetWidth(340);
  if (!c.PlaceAfterShow) form->Show();
  ProcessEvents();

  const TRect frame = WindowFrameRect(form.get()), client = WindowClientRect(form.get());
  // Offscreen windows have a frame too, so the two places differ.
  ASSERT_NE(frame.TopLeft(), client.TopLeft());
  EXPECT_EQ(frame.TopLeft(), Point(212, 148));
  EXPECT_EQ(Point(form->Left(), form->Top()), Point(212, 148));
  EXPECT_EQ(client.Width(), c.SizeAfterPlace ? 340 : 300);
}

INSTANTIATE_TEST_SUITE_P(
    Layer, FramePlaceTest,
    ::testing::Values(TPlaceCase{"BeforeTheWindowIsMade", TMade::OnShow, false, false},
                      TPlaceCase{"AfterTheHandleBeforeShow", TMade::HandleOnly, false, false},
                      TPlaceCase{"AfterTheNativeWindowBeforeShow", TMade::NativeWindow, false, false},
                      TPlaceCase{"AfterTheNativeWindowSizedAfter", TMade::NativeWindow, false, true},
                      TPlaceCase{"OnAToolWindowsHostBeforeShow", TMade::AsToolWindowHost, false, true},
                      TPlaceCase{"OnTheShownForm", TMade::OnShow, true, true}),
    [](const ::testing::TestParamInfo<TPlaceCase>& i) { return std::string(i.param.Name); });

// A place saved at close and set at the next start puts the window where it
// was: a move by the window system reads back as the frame's place.
TEST(FormPlace, APlaceReadBackAndSetAgainIsAFixedPoint) {
  auto first = std::make_unique<TForm>(nullptr);
  first->SetBounds(40, 30, 300, 200);
  first->Show();
  ProcessEvents();
  MoveWindowClient(first.get(), 321, 207);  // the user drags the window
  const TPoint frame = WindowFrameRect(first.get()).TopLeft();
  ASSERT_NE(frame, Point(321, 207));
  EXPECT_EQ(Point(first->Left(), first->Top()), frame);

  // The next start: the form's native window is made early, as a tool
  // window's host, before the saved place is set.
  auto second = std::make_unique<TForm>(nullptr);
  auto tool = std::make_unique<TForm>(nullptr);
  MakeFloatingToolWindow(tool.get(), second.get());
  second->SetBounds(first->Left(), first->Top(), 300, 200);
  second->Show();
  ProcessEvents();
  EXPECT_EQ(WindowClientRect(second.get()).TopLeft(), Point(321, 207));
  EXPECT_EQ(Point(second->Left(), second->Top()), frame);
}

}  // namespace
