#include "toolbar/tbanim.h"

#include <chrono>

#include "platform/rtl/mathutils.h"
#include "platform/ui/controls.h"
#include "platform/ui/menuloop.h"
#include "platform/ui/windowfx.h"

namespace {

thread_local TMenuAnimationState State;
std::function<uint32_t()> ClockFn;
std::function<TPoint()> CursorFn;

uint32_t Now() {
  if (ClockFn) return ClockFn();
  using namespace std::chrono;
  return static_cast<uint32_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

TPoint Cursor() {
  if (CursorFn) return CursorFn();
  TPoint p;
  GetCursorPos(p);
  return p;
}

void ApplySlide(TWinControl* w, int step) {
  int x = 0, y = 0;
  int h = State.Height, wd = State.Width;
  if (State.Directions & tbadDown) y = MulDiv(h, step, 255) - h;
  else if (State.Directions & tbadUp) y = h - MulDiv(h, step, 255);
  if (State.Directions & tbadRight) x = MulDiv(wd, step, 255) - wd;
  else if (State.Directions & tbadLeft) x = wd - MulDiv(wd, step, 255);
  State.SlideOffset = TPoint(x, y);
  // The visible part is what the slide has revealed so far; the window keeps
  // its own picture (it is not moved), which looks the same for a menu.
  if (w) {
    TRect r(std::max(0, x), std::max(0, y), std::min(wd, x + wd), std::min(h, y + h));
    SetWindowRgn(State.Window, CreateRectRgn(r.Left, r.Top, r.Right, r.Bottom), true);
  }
}

}  // namespace

void SetMenuAnimationClock(std::function<uint32_t()> Clock) { ClockFn = std::move(Clock); }
void SetMenuAnimationCursor(std::function<TPoint()> Cursor) { CursorFn = std::move(Cursor); }
const TMenuAnimationState& MenuAnimationState() { return State; }
bool IsMenuAnimating() { return State.Animating; }

void StartMenuAnimation(HWND Window, bool Fade, TTBPopupAnimDirection Directions) {
  EndMenuAnimation();
  TWinControl* w = FindControl(Window);
  State = TMenuAnimationState();
  State.Window = Window;
  State.Fade = Fade;
  State.Directions = Directions;
  State.CursorPos = Cursor();
  if (w) {
    TPoint tl = w->ClientToScreen(TPoint(0, 0));
    State.ClientRect = TRect(tl.X, tl.Y, tl.X + w->ClientWidth(), tl.Y + w->ClientHeight());
    State.Width = w->Width();
    State.Height = w->Height();
  }
  if (Fade) {
    State.Duration = 175;
    State.LastStep = 40;
    SetLayeredWindowAttributes(Window, clNone, 40, LWA_ALPHA);
  } else {
    State.Duration = 150;
    State.LastStep = 0;
    if (w) SetWindowRgn(Window, CreateRectRgn(0, 0, 0, 0), false);
  }
  State.StartStep = State.LastStep;
  State.StartTick = State.LastTick = Now();
  if (w) w->Show();
  State.Animating = true;
}

void StepMenuAnimation() {
  if (!State.Animating) return;
  uint32_t now = Now();
  if (now - State.LastTick < 10) return;
  State.LastTick = now;
  int32_t elapsed = static_cast<int32_t>(now - State.StartTick);
  if (elapsed < 0 || elapsed >= State.Duration) {
    EndMenuAnimation();
    return;
  }
  int step = static_cast<int>(int64_t(elapsed) * 255 / State.Duration) + State.StartStep;
  if (step < 0 || step >= 255) {
    EndMenuAnimation();
    return;
  }
  TPoint c = Cursor();
  if (c != State.CursorPos) {
    if (State.ClientRect.Contains(c)) {
      EndMenuAnimation();
      return;
    }
    State.CursorPos = c;
  }
  if (step <= State.LastStep) return;
  State.LastStep = step;
  TWinControl* w = FindControl(State.Window);
  if (State.Fade) SetLayeredWindowAttributes(State.Window, clNone, static_cast<uint8_t>(step), LWA_ALPHA);
  else ApplySlide(w, step);
}

void EndMenuAnimation() {
  bool was = State.Animating;
  State.Animating = false;
  if (was && State.Window) {
    if (State.Fade) SetLayeredWindowAttributes(State.Window, clNone, 255, LWA_ALPHA);
    else SetWindowRgn(State.Window, nullptr, true);
  }
  State.Window = 0;
}

void EndMenuAnimationFor(HWND Window) {
  if (State.Animating && (Window == 0 || Window == State.Window)) EndMenuAnimation();
}
