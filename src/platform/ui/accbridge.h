// The desktop's accessibility service for windows the layer paints itself:
// a component answers for the objects it draws (menu bars, toolbars and
// their items) through TAccessibleObject, and the bridge hands the answers
// to the service. Roles and states use the accessibility numbering the
// components answer in (role 2 a menu bar, state 0x1 unavailable, ...).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/gfx/geometry.h"

class TWinControl;
class TAccessibleObject;

// One object a call answers: one of the component's objects, or a window
// whose own object stands for it (a hosted control, another menu's window).
struct TAccessibleRef {
  std::shared_ptr<TAccessibleObject> Object;
  TWinControl* Window = nullptr;
  bool Empty() const { return !Object && !Window; }
};

class TAccessibleObject {
public:
  virtual ~TAccessibleObject() = default;
  // The same object answers the same identity for as long as it lives.
  virtual const void* Identity() const = 0;
  // False once what it stands for is gone.
  virtual bool Valid() = 0;
  virtual int ChildCount() = 0;
  virtual TAccessibleRef Child(int Index) = 0;  // 1-based
  virtual TAccessibleRef Parent() = 0;
  virtual std::string Name() = 0;
  virtual int Role() = 0;
  virtual uint32_t State() = 0;
  virtual std::string KeyboardShortcut() = 0;
  virtual std::string Value() = 0;
  virtual std::string DefaultAction() = 0;
  virtual bool DoDefaultAction() = 0;
  // Screen rectangle.
  virtual TRect Location() = 0;
  // The object at a screen point; empty outside, the object itself when no
  // child is there.
  virtual TAccessibleRef HitTest(TPoint Screen) = 0;
  virtual TAccessibleRef Focus() = 0;
};

// The component's object of one of its windows (nil: not one of its).
using TAccessibleProvider = std::function<std::shared_ptr<TAccessibleObject>(TWinControl* Window)>;
void AddAccessibleProvider(TAccessibleProvider Provider);

// Events told to the service; Child is the 1-based child of the window's
// object, 0 for the object itself.
enum TAccessibleEvent { aeFocus, aeMenuStart, aeMenuEnd, aePopupStart, aePopupEnd };
void NotifyAccessibleEvent(TAccessibleEvent Event, TWinControl* Window, int Child);
using TAccessibleEventHook = std::function<void(TAccessibleEvent Event, TWinControl* Window, int Child)>;
// Sees every event before the service (tests); returns the previous hook.
TAccessibleEventHook SetAccessibleEventHook(TAccessibleEventHook Hook);

// What the service reads from a window's object or one of its children
// (Child 0: the object), as the service's own interface answers it.
struct TAccessibleInfo {
  bool Valid = false;
  int Role = 0;
  std::string Name;
  std::string Shortcut;
  std::string Action;
  std::string Value;
  int ChildCount = 0;
  bool Unavailable = false, Focused = false, HasPopup = false, Checked = false, Invisible = false;
  TRect Location{};
};
bool QueryAccessibleInfo(TWinControl* Window, int Child, TAccessibleInfo& Info);
// Runs the default action the service offers; false when there is none.
bool DoAccessibleAction(TWinControl* Window, int Child);
// The 1-based child of the window's object at a screen point as the
// service finds it: 0 the object itself, -1 none.
int AccessibleChildAt(TWinControl* Window, TPoint Screen);
