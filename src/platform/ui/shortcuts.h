// Keyboard shortcuts as one 16-bit value: the virtual key in the low byte,
// Shift, Ctrl and Alt as the three high bits; and their text forms
// ("Ctrl+S", "Shift+Ctrl+F5", "Del").
#pragma once

#include <cstdint>
#include <string>

#include "platform/ui/uitypes.h"

using TShortCut = uint16_t;

constexpr TShortCut scShift = 0x2000, scCtrl = 0x4000, scAlt = 0x8000, scNone = 0;

TShortCut ShortCut(uint16_t Key, TShiftState Shift);
void ShortCutToKey(TShortCut ShortCut, uint16_t& Key, TShiftState& Shift);
// Empty for 0 and for a key without a name.
std::string ShortCutToText(TShortCut ShortCut);
// Case-insensitive; 0 when the text names no shortcut.
TShortCut TextToShortCut(const std::string& Text);
