// Input queued for the event loop instead of sent at once: a modal loop that
// starts later (a menu, a dialog) finds it waiting and handles it in order.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/ui/controls.h"

namespace guitest {

// A key press and release for the control's window (virtual key; text is
// what the key types).
void PostKey(TWinControl* c, uint16_t vk, const std::string& text = "", TShiftState shift = {});
// A mouse press or release (down false) at client coordinates of the control.
// Shift gives the modifier keys held with it (Ctrl during a drag).
void PostMouseButton(TControl* c, bool down, TMouseButton button, int x, int y, TShiftState shift = {});
void PostMouseMove(TControl* c, int x, int y, TShiftState shift = {});
void PostClick(TControl* c, int x, int y, TMouseButton button = mbLeft);

// Queues the steps for the event loop, in order: posted after a press that
// starts a modal loop, they run inside that loop. Steps that send input
// synchronously (MouseMove, MouseUp of guitest.h) make each pointer event
// only when it is due; pointer events posted all at once may share their
// position state in the window system.
void PostInSequence(std::vector<std::function<void()>> steps);

}  // namespace guitest
