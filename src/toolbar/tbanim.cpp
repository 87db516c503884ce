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

// The slide moves the picture in from the side it opens towards; only the
// part inside the window shows.
void ApplySlide(int step) {
  int x = 0, y = 0;
  int h = State.Height, wd = State.Width;
  if (State.Directions & tbadDown) y = MulDiv(h, step, 255) - h;
  else if (State.Directions & tbadUp) y = h - MulDiv(h, step, 255);
  if (State.Directions & tbadRight) x = MulDiv(wd, step, 255) - wd;
  else if (State.Directions & tbadLeft) x = wd - MulDiv(wd, step, 255);
  State.SlideOffset = TPoint(x, y);
  if (!FindControl(State.Window)) return;
  SetWindowRgn(State.Window, CreateRectRgn(x, y, x + wd, y + h), true);
  SetWindowCoverImage(State.Window, State.Image.get(), TPoint(x, y));
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
  State.Fade = Fade && GetUserProcAddress("UpdateLayeredWindow") != nullptr;
  State.Directions = Directions;
  State.CursorPos = Cursor();
  try {
    if (w) {
      TPoint tl = w->ClientToScreen(TPoint(0, 0));
      State.ClientRect = TRect(tl.X, tl.Y, tl.X + w->ClientWidth(), tl.Y + w->ClientHeight());
      State.Width = w->Width();
      State.Height = w->Height();
      // The window paints itself into the picture before it shows.
      if (!State.Fade && State.Width > 0 && State.Height > 0) {
        State.Image = std::make_shared<TBitmap>(State.Width, State.Height, pf32bit);
        w->Perform(WM_PRINT, reinterpret_cast<WPARAM>(State.Image->Canvas()), 30);
      }
    }
    if (State.Fade) {
      State.Duration = 175;
      State.LastStep = 40;
      SetLayeredWindowAttributes(Window, clNone, 40, LWA_ALPHA);
    } else {
      State.Duration = 150;
      State.LastStep = 0;
      if (w) {
        SetWindowRgn(Window, CreateRectRgn(0, 0, 0, 0), false);
        SetWindowCoverImage(Window, State.Image.get(), TPoint(0, 0));
      }
    }
    State.StartStep = State.LastStep;
    State.StartTick = State.LastTick = Now();
    State.Animating = true;
    if (w) w->Show();
  } catch (...) {
    EndMenuAnimation();
    throw;
  }
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
  if (State.Fade) SetLayeredWindowAttributes(State.Window, clNone, static_cast<uint8_t>(step), LWA_ALPHA);
  else ApplySlide(step);
}

void EndMenuAnimation() {
  bool was = State.Animating;
  State.Animating = false;
  HWND window = State.Window;
  State.Window = 0;
  if (was && window && FindControl(window)) {
    // The window shows its own painting again, whole.
    if (State.Fade) {
      SetLayeredWindowAttributes(window, clNone, 255, LWA_ALPHA);
    } else {
      SetWindowRgn(window, nullptr, true);
      SetWindowCoverImage(window, nullptr, TPoint(0, 0));
    }
    SendMessage(window, WM_TB_ANIMATIONDONE, 0, 0);
  }
  State.Image.reset();
}

void EndMenuAnimationFor(HWND Window) {
  if (State.Animating && (Window == 0 || Window == State.Window)) EndMenuAnimation();
}
