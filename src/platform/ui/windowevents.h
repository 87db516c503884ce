// Events of the application's own top-level windows, reported by one
// application-wide event filter shared by every registered procedure:
// activation changes, the application becoming active or inactive, and
// moves, resizes, shows, hides and window-state changes (minimising).
#pragma once

#include <cstdint>
#include <functional>

#include "platform/ui/messages.h"

enum TWindowEventKind { wekActivate, wekActivateApp, wekWindowPosChanged };

// Activate: WParam 1 when the window became active, 0 when it lost that.
// ActivateApp: Window 0, WParam 1 when the application became active.
using TWindowEventProc = std::function<void(TWindowEventKind Kind, HWND Window, WPARAM WParam, LPARAM LParam)>;

// The filter is installed with the first procedure and removed with the
// last; ids are never 0.
uintptr_t AddWindowEventProc(TWindowEventProc Proc);
void RemoveWindowEventProc(uintptr_t Id);
int WindowEventProcCount();
