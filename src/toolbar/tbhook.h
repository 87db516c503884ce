// Window events of the GUI thread shared by the library's objects: every
// handler registers for the events it wants and the watches behind them are
// set up once, counted, and removed with the last user.
#pragma once

#include <cstdint>

#include "platform/ui/classes.h"
#include "platform/ui/messages.h"

enum THookCode { hcActivate, hcActivateApp, hcWindowPosChanged, hcDestroyWindow, hcGetMessage };
using THookCodes = TEnumSet<THookCode>;
using THookHandler = void (*)(THookCode Code, HWND Wnd, WPARAM WParam, LPARAM LParam);

// Hook types: 0 serves activation, application activation and position
// changes; 1 window destruction; 2 messages taken from the queue.
constexpr int kHookTypeCount = 3;
using THookTypes = unsigned;  // bit per hook type

void RegisterHookHandler(TObject* User, THookHandler Handler, THookCodes Codes);
void UnregisterHookHandler(TObject* User, THookHandler Handler);
THookTypes HookTypesForCodes(THookCodes Codes);

// What sets up and removes the watch of one hook type; the default uses the
// layer's window-event filter. Returns the previous installer.
struct THookInstaller {
  uintptr_t (*Install)(int HookType) = nullptr;  // non-zero handle
  void (*Remove)(int HookType, uintptr_t Handle) = nullptr;
};
THookInstaller SetHookInstaller(THookInstaller Installer);

// The hook procedures: called by the watches with the event they saw.
void CallWndProcHook(unsigned Msg, HWND Wnd, WPARAM WParam, LPARAM LParam);
void CBTDestroyWindowHook(HWND Wnd);
void GetMessageHook(WPARAM WParam, LPARAM LParam);

// For tests: installed handle of a hook type (0 when none), its count, and
// whether the thread still keeps any registry.
uintptr_t InstalledHook(int HookType);
int HookRefCount(int HookType);
bool HookRegistryExists();
