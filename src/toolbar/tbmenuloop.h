// The modal menu loop: a nested event loop whose input filter routes every
// key and mouse event to the chain of open menus (the root view and its
// child popups) until a command is chosen or the menus are cancelled. The
// routing itself works on abstract input events.
#pragma once

#include <memory>

#include "platform/ui/extctrls.h"
#include "platform/ui/menuloop.h"
#include "toolbar/tbpopup.h"
#include "toolbar/tbview.h"

class TTBModalHandler {
public:
  explicit TTBModalHandler(TWinControl* AWindow);
  ~TTBModalHandler();
  TTBModalHandler(const TTBModalHandler&) = delete;
  TTBModalHandler& operator=(const TTBModalHandler&) = delete;

  void Loop(TTBView* RootView, bool StartedByMouseDown, bool ExecuteSelectedAtStart, bool NoGivePriority,
            bool TrackRightButton);
  // Makes the handler ready to route input for the chain of RootView (Loop
  // does this first; tests feed HandleInput directly).
  void Begin(TTBView* RootView, bool TrackRightButton);
  // One input event of the running loop: handled, passed on, or set aside
  // until the menus are closed.
  TInputRoute HandleInput(const TInputEvent& E);
  // The loop should end (a done action, or the menus lost the input).
  bool Finished() const;
  // Once per pass of the loop: advances a running menu animation and keeps
  // the animation timer running exactly while one runs (it wakes the loop
  // every 10 ms when no input comes).
  void AnimationPass();
  TTimer* AnimationTimer() const { return FAnimationTimer.get(); }

  TTBPopupWindow* PopupWindow = nullptr;
  TTBView* RootView() const { return FRootView; }
  // The innermost running loop, nil when none runs.
  static TTBModalHandler* Active();

private:
  TInputRoute Route(const TInputEvent& E);
  // The application's hint: the long hint of the selected item of the
  // deepest menu that has a selection (a status bar shows it).
  void UpdateStatusHint();
  TTBView* DeepestView();
  void UpdateAllSelections(TPoint P, bool AllowNewSelection, TWinControl* Under);
  bool GetTarget(TTBView*& View, TTBItemViewer*& Viewer);
  TPoint ViewerPos(TTBView* View, TTBItemViewer* Viewer, TPoint Screen);
  void MouseMoved(TWinControl* Under);
  void HandleKey(const TInputEvent& E);

  TWinControl* FWindow;
  TTBView* FRootView = nullptr;
  bool FTrackRightButton = false;
  bool FMouseDownOnMenu = false;
  bool FLeave = false;
  TPoint FLastPos;
  bool FLastPosValid = false;
  bool FLeftDown = false, FRightDown = false;
  TTBModalHandler* FPrevious = nullptr;
  std::unique_ptr<TTimer> FAnimationTimer;
};
