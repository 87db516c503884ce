// Popup windows of submenus, chevron menus and popup menus: a frameless
// top-most window with a 3-pixel frame around a client that one popup view
// draws in; and the placement of a popup beside the item it drops from, kept
// on the monitor of the first popup of the chain.
#pragma once

#include <functional>

#include "platform/ui/menuloop.h"
#include "toolbar/tbanim.h"
#include "toolbar/tbview.h"

// Placement as a pure function of the rectangles involved.
struct TTBPopupPlacementInput {
  bool HasParentView = false;
  bool ParentVertical = false;
  bool ParentLeftward = false;  // the parent popup opened leftward
  bool OpenedSideways = false;  // a submenu of a menu
  bool Chevron = false;
  bool ChevronVertical = false;
  TRect R;                      // the parent viewer in screen coordinates (empty at the point)
  TRect M;                      // the monitor
  TPoint PopupPoint;
  int Alignment = 0;            // without a parent: 0 left, 1 right, 2 centre
  bool DropAlignmentRight = false;
  int W = 0, H = 0;
  // How many of the parent view's viewers a popup rectangle covers.
  std::function<int(const TRect&)> Covers;
};
struct TTBPopupPlacement {
  TPoint Pos;
  bool Leftward = false;
  TTBPopupAnimDirection Directions = 0;
};
TTBPopupPlacement PlacePopup(const TTBPopupPlacementInput& In);

class TTBPopupWindow;

class TTBPopupView : public TTBView {
  ZV_CLASS(TTBPopupView)
public:
  TTBPopupView(TComponent* AOwner, TTBView* AParentView, TTBCustomItem* AParentItem, TWinControl* AWindow,
               TTBPopupWindow* APopup, bool ACustomizing);
  void SizeWindow(int AWidth, int AHeight) override;
  TFont* GetFont() override;
  TTBPopupWindow* PopupWindow() const { return FPopup; }
  // The view timers (open, close, scroll up and down).
  void HandleTimer(unsigned Id);

protected:
  bool HasTimerWindow() const override;
  void SetWindowTimer(int Id, int Interval) override;
  void KillWindowTimer(int Id) override;

private:
  TTBPopupWindow* FPopup;
};

// The client area the popup view draws in.
class TTBPopupClient : public TCustomControl {
  ZV_CLASS(TTBPopupClient)
public:
  TTBPopupClient(TComponent* AOwner, TTBPopupWindow* APopup);
  TTBPopupWindow* Popup() const { return FPopup; }
  void WndProc(TMessage& Message) override;

protected:
  void Paint() override;

private:
  TTBPopupWindow* FPopup;
};

class TTBPopupWindow : public TPopupControl {
  ZV_CLASS(TTBPopupWindow)
public:
  TTBPopupWindow(TComponent* AOwner, TTBView* AParentView, TTBCustomItem* AParentItem, bool ACustomizing);
  ~TTBPopupWindow() override;
  TTBPopupView* View() const { return FView; }
  TTBPopupClient* Client() const { return FClient; }
  TTBPopupAnimDirection AnimationDirections() const { return FAnimationDirection; }
  void SetAnimationDirections(TTBPopupAnimDirection d) { FAnimationDirection = d; }
  // Shows the window, animated when the settings ask for it.
  void ShowPopup();
  virtual void PaintScrollArrows(TCanvas* Canvas);
  // Paints frame and content on a canvas of the window's size, as the
  // window shows them (pictures of menus).
  void PaintTo(TCanvas* Canvas);
  // WM_PRINT: WParam is the canvas to paint on.
  void WndProc(TMessage& Message) override;
  // A paint of the window or its client: the paints that first show it
  // leave an animation running (it covers them); a later one must show the
  // window as it is now and ends it.
  void PaintStarted(bool Client);

protected:
  void Paint() override;
  void PaintFrame(TCanvas* Canvas);

private:
  bool FFramePainted = false, FClientPainted = false;
  TTBPopupAnimDirection FAnimationDirection = 0;
  TTBPopupClient* FClient;
  TTBPopupView* FView;
};

// The popup window that shows a control's view, nil for other controls.
TTBPopupWindow* PopupWindowOf(TControl* Control);
