// Accessibility answers of views and item viewers: a small facade returning
// the outcomes accessibility clients expect (S_OK, S_FALSE, E_INVALIDARG,
// E_FAIL) so that a bridge to the desktop's accessibility service can hand
// them on. An object outlives its view or viewer safely: once the client is
// destroyed every call fails cleanly.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/gfx/geometry.h"

class TTBView;
class TTBItemViewer;
class TWinControl;

using TAccResult = uint32_t;
constexpr TAccResult kAccOk = 0, kAccFalse = 1, kAccInvalidArg = 0x80070057u, kAccFail = 0x80004005u,
                     kAccMemberNotFound = 0x80020003u;

constexpr int kRoleMenuBar = 2, kRoleMenuPopup = 11, kRoleToolbar = 22;
constexpr uint32_t kStateUnavailable = 0x1, kStateFocused = 0x4, kStatePressed = 0x8, kStateChecked = 0x10,
                   kStateHotTracked = 0x80, kStateInvisible = 0x8000, kStateFocusable = 0x100000,
                   kStateHasPopup = 0x40000000;
constexpr int kChildIdSelf = 0;
// Navigation directions.
constexpr int kNavUp = 1, kNavDown = 2, kNavLeft = 3, kNavRight = 4, kNavNext = 5, kNavPrevious = 6,
              kNavFirstChild = 7, kNavLastChild = 8;
constexpr uint32_t kSelTakeFocus = 1;

class TTBBaseAccObject : public std::enable_shared_from_this<TTBBaseAccObject> {
public:
  virtual ~TTBBaseAccObject() = default;
  // The view or viewer is going away.
  virtual void ClientIsDestroying() = 0;
};

// An object a call hands out: one of ours, or a window whose standard
// object stands for it (a control hosted on a toolbar, the view's window).
struct TAccChild {
  std::shared_ptr<TTBBaseAccObject> Object;
  TWinControl* Window = nullptr;
};

class TTBViewAccObject : public TTBBaseAccObject {
public:
  explicit TTBViewAccObject(TTBView* AView) : FView(AView) {}
  void ClientIsDestroying() override { FView = nullptr; }
  TTBView* View() const { return FView; }

  TAccResult GetChildCount(int& Count);
  TAccResult GetName(int Child, std::string& Name);
  TAccResult GetRole(int Child, int& Role);
  TAccResult GetState(int Child, uint32_t& State);
  TAccResult GetKeyboardShortcut(int Child, std::string& Shortcut);
  TAccResult DoDefaultAction(int Child);
  TAccResult GetParent(TAccChild& Parent);
  // Id 0: the object itself; n: the n-th accessible viewer.
  TAccResult GetChild(int Id, TAccChild& Child);
  TAccResult GetLocation(int Child, TRect& Screen);
  TAccResult Navigate(int Direction, int Start, TAccChild& Found);
  TAccResult HitTest(TPoint Screen, TAccChild& Found);
  TAccResult GetFocus(int& ChildId);
  TAccResult Select(uint32_t Flags, int Child);

private:
  TAccResult Check(int Child) const;
  TTBView* FView;
};

class TTBItemViewerAccObject : public TTBBaseAccObject {
public:
  explicit TTBItemViewerAccObject(TTBItemViewer* AViewer) : FViewer(AViewer) {}
  void ClientIsDestroying() override { FViewer = nullptr; }
  TTBItemViewer* Viewer() const { return FViewer; }

  TAccResult GetChildCount(int& Count);
  TAccResult GetName(int Child, std::string& Name);
  TAccResult GetRole(int Child, int& Role);
  TAccResult GetState(int Child, uint32_t& State);
  TAccResult GetKeyboardShortcut(int Child, std::string& Shortcut);
  TAccResult GetDefaultAction(int Child, std::string& Action);
  TAccResult GetValue(int Child, std::string& Value);
  // The action runs later from the event loop, after the client's call
  // has returned.
  TAccResult DoDefaultAction(int Child);
  TAccResult GetParent(TAccChild& Parent);
  // Id 0: the object itself; 1: the open submenu's view.
  TAccResult GetChild(int Id, TAccChild& Child);
  TAccResult GetLocation(int Child, TRect& Screen);
  TAccResult Navigate(int Direction, int Start, TAccChild& Found);
  TAccResult HitTest(TPoint Screen, TAccChild& Found);
  TAccResult GetFocus(int& ChildId);
  TAccResult Select(uint32_t Flags, int Child);
  // The deferred selection or action of a client's request.
  void HandleAccSelect(bool Execute);

  bool IsEnabledSelectable() const;
  bool WindowAvailable() const;
  bool IsAvailable() const;

private:
  TAccResult Check(int Child) const;
  TTBItemViewer* FViewer;
};

// The objects of a view and a viewer, made on first request.
std::shared_ptr<TTBViewAccObject> AccObjectOfView(TTBView* View);
std::shared_ptr<TTBItemViewerAccObject> AccObjectOfViewer(TTBItemViewer* Viewer);
// Whether a viewer is offered to accessibility clients.
bool ViewerIsAccessible(const TTBItemViewer* Viewer);
std::string AltKeyName();

// Hands the objects of the toolbars' and menus' windows to the desktop's
// accessibility service (once).
void InitAccessibility();
// Tells the service that the view's selected viewer has the focus, and that
// a menu loop or popup menu starts or ends.
void NotifyFocusEvent(TTBView* View);
void NotifyMenuEvent(TTBView* View, bool Start);
