// The window system's message beep. Tests count beeps through the hook.
#pragma once

#include <functional>

#include "platform/dialogs.h"  // the MB_ sound types

using TMessageBeepHook = std::function<void(unsigned Type)>;
// Installs the hook that takes every message beep instead of the sound;
// returns the previous one (empty: the plain beep).
TMessageBeepHook SetMessageBeepHook(TMessageBeepHook Hook);
bool MessageBeep(unsigned Type);
