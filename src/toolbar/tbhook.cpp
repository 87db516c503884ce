#include "toolbar/tbhook.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "platform/ui/windowevents.h"

namespace {

struct THookUserData {
  THookUserData* Prev = nullptr;  // older record
  TObject* User = nullptr;
  THookTypes Types = 0;
};

struct THookProcData {
  THookHandler Handler = nullptr;
  THookCodes Codes;
  THookUserData* Last = nullptr;  // newest record of the chain
};

struct THookInfo {
  uintptr_t Handles[kHookTypeCount] = {};
  int RefCount[kHookTypeCount] = {};
  ~THookInfo();
};

thread_local std::unique_ptr<THookInfo> tHookInfo;
thread_local std::unique_ptr<std::vector<THookProcData*>> tHandlers;

constexpr WPARAM kWmActivate = 0x0006, kWmActivateApp = 0x001C, kWmWindowPosChanged = 0x0047;

void ForwardWindowEvent(TWindowEventKind Kind, HWND Wnd, WPARAM WParam, LPARAM LParam) {
  switch (Kind) {
    case wekActivate: CallWndProcHook(kWmActivate, Wnd, WParam, LParam); break;
    case wekActivateApp: CallWndProcHook(kWmActivateApp, Wnd, WParam, LParam); break;
    case wekWindowPosChanged: CallWndProcHook(kWmWindowPosChanged, Wnd, WParam, LParam); break;
  }
}

// Only activation and position changes are reported by the layer; the
// other two hook types are kept as counted registrations without a watch.
uintptr_t DefaultInstall(int HookType) {
  if (HookType == 0) return AddWindowEventProc(ForwardWindowEvent);
  static uintptr_t NextDummy = 1;
  return (uintptr_t(1) << 48) + NextDummy++;
}

void DefaultRemove(int HookType, uintptr_t Handle) {
  if (HookType == 0) RemoveWindowEventProc(Handle);
}

THookInstaller gInstaller{DefaultInstall, DefaultRemove};

// Watches still set up when the thread (or the program) ends go with it.
THookInfo::~THookInfo() {
  for (int T = 0; T < kHookTypeCount; ++T)
    if (Handles[T] != 0) gInstaller.Remove(T, Handles[T]);
}

void AddHookTypes(THookTypes Types, THookTypes& Counted) {
  if (!tHookInfo) tHookInfo = std::make_unique<THookInfo>();
  for (int T = 0; T < kHookTypeCount; ++T)
    if ((Types & (1u << T)) && !(Counted & (1u << T))) {
      ++tHookInfo->RefCount[T];
      Counted |= 1u << T;
    }
  for (int T = 0; T < kHookTypeCount; ++T)
    if ((Counted & (1u << T)) && tHookInfo->Handles[T] == 0) tHookInfo->Handles[T] = gInstaller.Install(T);
}

void ReleaseHookTypes(THookTypes Types, bool Forced) {
  if (!tHookInfo) return;
  for (int T = 0; T < kHookTypeCount; ++T) {
    if (!(Types & (1u << T))) continue;
    if (!Forced && tHookInfo->RefCount[T] > 0) --tHookInfo->RefCount[T];
    if ((Forced || tHookInfo->RefCount[T] == 0) && tHookInfo->Handles[T] != 0) {
      const uintptr_t H = tHookInfo->Handles[T];
      tHookInfo->Handles[T] = 0;
      gInstaller.Remove(T, H);
    }
  }
  for (int T = 0; T < kHookTypeCount; ++T)
    if (tHookInfo->RefCount[T] != 0 || tHookInfo->Handles[T] != 0) return;
  tHookInfo.reset();
}

THookProcData* FindProcData(THookHandler Handler) {
  if (!tHandlers) return nullptr;
  for (auto* D : *tHandlers)
    if (D->Handler == Handler) return D;
  return nullptr;
}

template <class F>
void CallHandlers(THookCode Code, F&& Call) {
  if (!tHandlers) return;
  const size_t Count = tHandlers->size();
  for (size_t I = 0; I < Count; ++I) {
    try {
      // The list may shrink while handlers run.
      if (!tHandlers || I >= tHandlers->size()) break;
      THookProcData* D = (*tHandlers)[I];
      if (D->Codes.Contains(Code)) Call(D->Handler);
    } catch (...) {
      // One failing handler must not stop the others.
    }
  }
}

}  // namespace

THookTypes HookTypesForCodes(THookCodes Codes) {
  THookTypes R = 0;
  if (Codes.Contains(hcActivate) || Codes.Contains(hcActivateApp) || Codes.Contains(hcWindowPosChanged)) R |= 1u << 0;
  if (Codes.Contains(hcDestroyWindow)) R |= 1u << 1;
  if (Codes.Contains(hcGetMessage)) R |= 1u << 2;
  return R;
}

void RegisterHookHandler(TObject* User, THookHandler Handler, THookCodes Codes) {
  if (!tHandlers) tHandlers = std::make_unique<std::vector<THookProcData*>>();
  THookUserData* Rec = nullptr;
  if (THookProcData* D = FindProcData(Handler)) {
    for (THookUserData* U = D->Last; U; U = U->Prev)
      if (U->User == User) {
        AddHookTypes(HookTypesForCodes(Codes), U->Types);
        return;
      }
    Rec = new THookUserData{D->Last, User, 0};
    D->Last = Rec;
    AddHookTypes(HookTypesForCodes(Codes), Rec->Types);
    return;
  }
  auto RecOwned = std::make_unique<THookUserData>();
  RecOwned->User = User;
  auto Data = std::make_unique<THookProcData>();
  Data->Handler = Handler;
  Data->Codes = Codes;
  Data->Last = RecOwned.get();
  tHandlers->push_back(Data.get());
  Rec = RecOwned.release();
  Data.release();
  AddHookTypes(HookTypesForCodes(Codes), Rec->Types);
}

void UnregisterHookHandler(TObject* User, THookHandler Handler) {
  if (!tHandlers) return;
  THookProcData* D = FindProcData(Handler);
  if (!D) return;
  THookUserData* Newer = nullptr;
  THookUserData* U = D->Last;
  while (U && U->User != User) {
    Newer = U;
    U = U->Prev;
  }
  if (!U) return;
  if (Newer)
    Newer->Prev = U->Prev;
  else if (U->Prev)
    D->Last = U->Prev;
  else {
    tHandlers->erase(std::find(tHandlers->begin(), tHandlers->end(), D));
    delete D;
  }
  const THookTypes Types = U->Types;
  delete U;
  ReleaseHookTypes(Types, false);
  if (tHandlers && tHandlers->empty()) tHandlers.reset();
}

THookInstaller SetHookInstaller(THookInstaller Installer) {
  THookInstaller Old = gInstaller;
  gInstaller = Installer;
  return Old;
}

void CallWndProcHook(unsigned Msg, HWND Wnd, WPARAM WParam, LPARAM LParam) {
  THookCode Code;
  if (Msg == kWmActivate)
    Code = hcActivate;
  else if (Msg == kWmActivateApp)
    Code = hcActivateApp;
  else if (Msg == kWmWindowPosChanged)
    Code = hcWindowPosChanged;
  else
    return;
  CallHandlers(Code, [&](THookHandler H) { H(Code, Wnd, WParam, LParam); });
}

void CBTDestroyWindowHook(HWND Wnd) {
  CallHandlers(hcDestroyWindow, [&](THookHandler H) { H(hcDestroyWindow, Wnd, 0, 0); });
}

void GetMessageHook(WPARAM WParam, LPARAM LParam) {
  CallHandlers(hcGetMessage, [&](THookHandler H) { H(hcGetMessage, 0, WParam, LParam); });
}

uintptr_t InstalledHook(int HookType) { return tHookInfo ? tHookInfo->Handles[HookType] : 0; }
int HookRefCount(int HookType) { return tHookInfo ? tHookInfo->RefCount[HookType] : 0; }
bool HookRegistryExists() { return tHookInfo != nullptr || tHandlers != nullptr; }
