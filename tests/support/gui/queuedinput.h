// Input queued for the event loop instead of sent at once: a modal loop that
// starts later (a menu, a dialog) finds it waiting and handles it in order.
#pragma once

#include <cstdint>
#include <string>

#include "platform/ui/controls.h"

namespace guitest {

// A key press and release for the control's window (virtual key; text is
// what the key types).
void PostKey(TWinControl* c, uint16_t vk, const std::string& text = "", TShiftState shift = {});
// A mouse press or release (down false) at client coordinates of the control.
void PostMouseButton(TControl* c, bool down, TMouseButton button, int x, int y);
void PostMouseMove(TControl* c, int x, int y);
void PostClick(TControl* c, int x, int y, TMouseButton button = mbLeft);

}  // namespace guitest
