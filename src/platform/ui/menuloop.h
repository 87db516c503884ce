// What menus need from the window system: finding the window under a screen
// point, window timers (WM_TIMER), top-level popup windows that never take
// the focus, and a nested event loop during which one application-wide
// filter sees every input event first.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/ui/controls.h"
#include "platform/ui/messages.h"

// The window (with its children) that shows at a screen point: the deepest
// window control there, disabled ones included; nil over no window.
TWinControl* FindControlAtScreenPoint(TPoint P);

// Window timers: the window gets WM_TIMER with the identifier in WParam
// every Interval milliseconds until KillTimer. Setting a running timer
// again restarts it.
bool SetTimer(HWND Wnd, unsigned Id, unsigned Interval);
bool KillTimer(HWND Wnd, unsigned Id);
struct TWindowTimer {
  HWND Wnd;
  unsigned Id;
  unsigned Interval;
};
std::vector<TWindowTimer> RunningWindowTimers();
// Delivers one WM_TIMER of every running window timer now (tests).
void FireWindowTimers();

// A top-level window without frame that stays on top and is shown without
// taking the focus or activating anything: menus and their submenus.
class TPopupControl : public TCustomControl {
  ZV_CLASS(TPopupControl)
public:
  explicit TPopupControl(TComponent* AOwner);
  bool Showing() const override { return Visible(); }
  void WndProc(TMessage& Message) override;

protected:
  void CreateWnd() override;
};

// Input as the menu loop sees it.
enum TInputKind { ikKeyDown, ikKeyUp, ikMouseDown, ikMouseUp, ikMouseDblClick, ikMouseMove, ikMouseWheel };
struct TInputEvent {
  TInputKind Kind = ikMouseMove;
  TWinControl* Target = nullptr;  // the window the event is for (nil: none of ours)
  uint16_t Key = 0;               // virtual key
  std::string Text;               // what a key types
  TShiftState Shift;
  TMouseButton Button = mbLeft;
  TPoint ScreenPos;
  int WheelDelta = 0;
};
enum TInputRoute {
  irPass,          // the event goes on to its window
  irSwallow,       // the filter has handled it
  irRepostAfter,   // handled for now; delivered again after the loop returns
};
using TInputFilter = std::function<TInputRoute(const TInputEvent&)>;

// Runs the event loop until Quit; while it runs Filter sees each input event
// first. Events set aside with irRepostAfter are delivered after it returns,
// and keys that type text and are still queued when it returns are dropped.
class TNestedEventLoop {
public:
  TNestedEventLoop();
  ~TNestedEventLoop();
  void Run(TInputFilter Filter);
  void Quit();
  bool Running() const { return FRunning; }
  // While the loop runs the window system gives all pointer input to this
  // control's window, wherever the pointer is: a loop run with a button held
  // keeps getting the moves even when the pressed window goes to another
  // window (a toolbar dragged off its dock). Set before Run.
  void HoldPointer(TWinControl* Control) { FHolder = Control; }
  // Ends the loop when it should stop (polled after each event and every few ms).
  std::function<bool()> ShouldQuit;

private:
  struct TImpl;
  std::unique_ptr<TImpl> FImpl;
  bool FRunning = false;
  TWinControl* FHolder = nullptr;
};
