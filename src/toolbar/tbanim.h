// Popup menus fade in (alpha from 40 to opaque over 175 ms) or slide in from
// the sides their placement chose (150 ms). One popup animates at a time.
// The clock and the cursor position are injectable so that the steps can be
// driven without waiting.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "platform/gfx/bitmap.h"
#include "platform/gfx/geometry.h"
#include "platform/ui/messages.h"

// Slide directions.
using TTBPopupAnimDirection = uint8_t;
constexpr TTBPopupAnimDirection tbadLeft = 1, tbadRight = 2, tbadDown = 4, tbadUp = 8;

// Sent to a popup window when its animation has finished.
constexpr unsigned WM_TB_ANIMATIONDONE = 0x0956;

struct TMenuAnimationState {
  bool Animating = false;
  HWND Window = 0;
  int Duration = 0;
  bool Fade = false;
  int StartStep = 0, LastStep = 0;
  uint32_t StartTick = 0, LastTick = 0;
  std::shared_ptr<TBitmap> Image;  // the window's picture taken before it showed
  TRect ClientRect;  // screen coordinates
  int Width = 0, Height = 0;
  TPoint CursorPos;
  TTBPopupAnimDirection Directions = 0;
  TPoint SlideOffset;  // the last offset of a slide
};

// A fade is asked for with Fade; it slides instead where translucent windows
// do not show (no compositing).
void StartMenuAnimation(HWND Window, bool Fade, TTBPopupAnimDirection Directions);
void StepMenuAnimation();
bool IsMenuAnimating();
void EndMenuAnimation();
// Ends the animation of this window (of any window for 0).
void EndMenuAnimationFor(HWND Window);
const TMenuAnimationState& MenuAnimationState();

// Millisecond ticks and the cursor position; empty functions restore the
// real ones.
void SetMenuAnimationClock(std::function<uint32_t()> Clock);
void SetMenuAnimationCursor(std::function<TPoint()> Cursor);
