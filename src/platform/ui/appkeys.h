// Keys of the whole application, seen before any window gets them: every
// key press is offered as a possible shortcut (CM_APPKEYDOWN), and the keys
// that open a form's menu bar (Alt pressed and released alone, Alt with a
// character) as a menu request (CM_APPSYSCOMMAND). No window-system
// shortcuts are registered for either.
#pragma once

#include <cstdint>
#include <functional>

#include "platform/ui/messages.h"

class TWinControl;

constexpr unsigned SC_KEYMENU = 0xF100;

// CM_APPKEYDOWN: WParam the virtual key, LParam the key data (the shift
// state as the layer's key messages carry it). CM_APPSYSCOMMAND: WParam
// SC_KEYMENU, LParam the character typed with Alt (0 for Alt alone). The
// procedure answers true when it took the key; the window never sees it.
using TAppKeyProc = std::function<bool(TMessage& Message)>;

// The filter is installed with the first procedure and removed with the
// last; ids are never 0. Procedures are asked newest first.
uintptr_t AddAppKeyProc(TAppKeyProc Proc);
void RemoveAppKeyProc(uintptr_t Id);
int AppKeyProcCount();
// The window the key being offered is for (nil outside an offer).
TWinControl* AppKeyTarget();
