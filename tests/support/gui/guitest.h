// Helpers for GUI tests: mouse and key input sent to a control through the
// same path as real input (window-system events to its widget), timers fired
// without waiting, answers for modal forms and common dialogs, and pictures
// of a control saved as PNG.
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/gfx/bitmap.h"
#include "platform/ui/commondialogs.h"
#include "platform/ui/controls.h"
#include "platform/ui/dragdrop.h"
#include "platform/ui/extctrls.h"
#include "platform/ui/forms.h"

namespace guitest {

// Starts the window system (offscreen in tests) once.
void EnsureGui();

// Mouse input at client coordinates of the control (a control without a
// window receives it through its parent, as real input does).
void MouseDown(TControl* c, TMouseButton button, int x, int y, TShiftState shift = {});
void MouseMove(TControl* c, int x, int y, TShiftState shift = {});
void MouseUp(TControl* c, TMouseButton button, int x, int y, TShiftState shift = {});
// Down and up at one point.
void Click(TControl* c, int x, int y, TMouseButton button = mbLeft);
// A click as the window system delivers it: to the window under the point
// (a part such as a scroll bar included) and moving the focus as a click
// does before the press arrives.
void WindowClick(TControl* c, int x, int y, TMouseButton button = mbLeft);
// Down, up, double click, up: the sequence a double click makes.
void DblClick(TControl* c, int x, int y);
// Mouse input handed to the top-level window that holds the control, which
// picks the widget itself: the pressed widget keeps the moves and the
// release, as under the window system's implicit grab, and a press-held
// move that no widget claims is lost as it would be there.
void WindowMouseDown(TControl* c, TMouseButton button, int x, int y, TShiftState shift = {});
void WindowMouseMove(TControl* c, int x, int y, TShiftState shift = {});
void WindowMouseUp(TControl* c, TMouseButton button, int x, int y, TShiftState shift = {});
// A drag with the left button through the given points.
void Drag(TControl* c, int x0, int y0, int x1, int y1, int steps = 4);
// Wheel notches (positive: away from the user) with the mouse at (x, y).
void Wheel(TControl* c, int notches, int x, int y, TShiftState shift = {});
void MouseEnter(TControl* c);
void MouseLeave(TControl* c);
// A key press and release (virtual-key code); text is what the key types.
void Key(TWinControl* c, uint16_t vk, const std::string& text = "", TShiftState shift = {});
// Types the characters one key at a time.
void TypeText(TWinControl* c, const std::string& text);
// An input method's result string (composed text) delivered to the control.
void InputMethodCommit(TWinControl* c, const std::string& text);

// A drag of Data brought over the control and dropped at its client point,
// as the window system delivers it (enter, move, drop events to its
// window): the effect the window accepted, DROPEFFECT_NONE when refused.
// A drag loop handler can answer with it.
int DragAndDrop(TWinControl* c, const TDragPayload& Data, int x, int y, int AllowedEffects, TShiftState keys = {});

// Fires every running timer once (or just this one).
void FireTimers();
void FireTimer(TTimer* t);
// Lets queued events and posted messages run.
void ProcessEvents();

// Answers modal forms while it lives: each ShowModal runs the next scripted
// action (which may click buttons of the form) and returns its result; with
// the script empty the form gets mrCancel.
class TModalResponder {
public:
  TModalResponder();
  ~TModalResponder();
  TModalResponder& Answer(int modalResult);
  TModalResponder& Do(std::function<int(TCustomForm*)> action);
  int Count() const { return FCount; }

private:
  std::deque<std::function<int(TCustomForm*)>> FScript;
  TModalFormHandler FPrevious;
  int FCount = 0;
};

// Answers common dialogs while it lives; the action fills in the dialog.
class TCommonDialogResponder {
public:
  TCommonDialogResponder();
  ~TCommonDialogResponder();
  TCommonDialogResponder& Do(std::function<bool(TCommonDialog*)> action);
  int Count() const { return FCount; }

private:
  std::deque<std::function<bool(TCommonDialog*)>> FScript;
  TCommonDialogHandler FPrevious;
  int FCount = 0;
};

// The pixel of a window's retained surface after painting what is pending
// (RGB, $00BBGGRR); for a control without a window, its parent's.
TColor SurfacePixel(TControl* c, int x, int y);
// Renders the control (with its children) and writes a PNG; false on failure.
bool SaveControlPng(TControl* c, const std::string& fileName);
// The window as it paints itself (a native control's widget included), as a
// picture of its size; false without a window.
bool ControlPicture(TWinControl* c, TBitmap& out);
// The items of a combo box's dropped-down list as they paint themselves (the
// list's client area); false while the list is not shown.
bool DroppedListPicture(TWinControl* c, TBitmap& out);
// The pixel at the control's client point as the window system shows it:
// its whole top-level window rendered (native controls, what the layer
// paints over them, parents showing through); CLR_INVALID outside.
TColor ShownPixel(TControl* c, int x, int y);
// The pixel at the control's client point as the display holds it now: the
// window's picture as the window system was last given it, with nothing
// painted for the asking (what a person sees; CLR_INVALID without a window).
TColor DisplayedPixel(TControl* c, int x, int y);
// The points of the control's rectangle (its client coordinates, from the
// top-left corner) that no window paints when its top-level window is
// composed: a real display shows leftovers there, black on a fresh window.
std::vector<TPoint> UnpaintedPixels(TControl* c);
// The mouse cursor the window under the control's client point shows there
// (the standard cursor numbers; crDefault for the arrow).
TCursor ShownCursor(TControl* c, int x, int y);
// The shape a window was given with SetWindowRgn: true and its pixels (window
// coordinates) in shape; false while the window is rectangular.
bool WindowShape(TWinControl* c, TRegion& shape);

// A top-level window's place on the screen as the window system has it: the
// frame (the window manager's decoration included) and the client area.
TRect WindowFrameRect(TWinControl* c);
TRect WindowClientRect(TWinControl* c);
// Makes the native window of a control's window now, as asking for its
// window-system id does.
void MakeNativeWindow(TWinControl* c);
// The window system moves a top-level window's client area (a user's drag).
void MoveWindowClient(TWinControl* c, int x, int y);

// Windows of the window system's own (the find and replace dialogs), found
// by their title among the visible top-level windows. A control is named by
// its text without the '&' ("Find Next", "Match case") or, for the text
// fields, by the label before it ("Find what:"). False when not found.
bool WindowShowing(const std::string& title);
bool SetWindowText(const std::string& title, const std::string& label, const std::string& text);
// The text of such a text field; empty when not found.
std::string WindowText(const std::string& title, const std::string& label);
bool SetWindowCheck(const std::string& title, const std::string& control, bool checked);
bool PressWindowButton(const std::string& title, const std::string& button);

}  // namespace guitest
