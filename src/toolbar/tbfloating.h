// The floating window: a small frameless tool window that paints its own
// frame, caption and close button, hosts one dockable window, never takes
// the focus and stays above its host form. Also the rules that decide
// whether a floating window shows and whether its caption looks active.
#pragma once

#include "platform/ui/forms.h"
#include "toolbar/tbdock.h"
#include "toolbar/tbhook.h"

// Metrics of the frame (painted by the window itself).
constexpr int kTBFloatingCaptionHeight = 16;
constexpr int kTBFloatingSizingBorder = 4;
constexpr int kTBFloatingFixedBorder = 3;

// Parts of the frame to paint.
constexpr int kTBFloatFrame = 1, kTBFloatCaption = 2, kTBFloatCloseButton = 4;

class TTBFloatingWindowParent : public TCustomForm {
  ZV_CLASS(TTBFloatingWindowParent)
public:
  explicit TTBFloatingWindowParent(TComponent* AOwner);
  ~TTBFloatingWindowParent() override;

  TTBCustomDockableWindow* DockableWindow() const { return FDockableWindow; }
  TCustomForm* ParentForm() const { return FParentForm; }
  void SetParentForm(TCustomForm* Form);
  void SetDockableWindow(TTBCustomDockableWindow* W) { FDockableWindow = W; }
  bool ShouldShow() const { return FShouldShow; }
  // Shown only when visible and it should show; never activated.
  void SetShouldShow(bool V);
  bool ShownOnScreen() const;

  TRect ClientRect() const override;
  // Caption band in client coordinates (window coordinates with the flag).
  TRect CaptionRect(bool WindowCoords, bool WithoutButton) const;
  TRect CloseButtonRect(bool WindowCoords) const;
  // HTCLIENT, HTNOWHERE, a sizing code, kTBHitCloseButton or
  // kTBHitFloatingCaption for a point in window coordinates.
  int HitTest(TPoint P) const;
  virtual void DrawNCArea(TCanvas* Canvas, int Parts);
  void SetClosePressed(bool V);
  void RedrawNCArea(int Parts);

protected:
  void CreateWnd() override;
  void CMVisibleChanged(TMessage& M) override;
  void PaintWindow() override;
  void AlignControls(TControl* AControl, TRect R) override;
  void BoundsChanged(bool SizeChanged) override;
  void WMLButtonDown(TMessage& M) override;
  void WMLButtonDblClk(TMessage& M) override;
  void WMRButtonUp(TMessage& M) override;
  void WMMouseMove(TMessage& M) override;
  void Dispatch(TMessage& Message) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

private:
  bool FClosePressed = false;
  TTBCustomDockableWindow* FDockableWindow = nullptr;
  TCustomForm* FParentForm = nullptr;
  bool FShouldShow = false;
  TPoint FLastPos{0, 0};
};

// What decides whether a dockable window should show now.
struct TTBVisibilityState {
  bool Showing = true;       // the window's own Visible
  bool Reparenting = false;  // inside a change of parent
  bool DesignTime = false;
  bool Floating = false;
  TTBFloatingMode Mode = fmOnTopOfParentForm;
  bool HostExists = true;
  bool HostHasHandle = true;
  bool HostVisibleNotMinimized = true;
  bool HideWhenInactive = true;
  bool ApplicationActive = true;
};
bool DockableShouldBeVisible(const TTBVisibilityState& S);

// What decides whether a floating window's caption looks inactive.
struct TTBCaptionState {
  bool ActivePopupIsMenu = false;  // a menu of the library is open: keep as it is
  bool PresentInactive = false;
  bool ApplicationActive = true;
  TTBFloatingMode Mode = fmOnTopOfParentForm;
  bool OwnerIsApplication = false;
  // The active window (a floating window counting as its host form) is the
  // floating window's owner or lies inside it.
  bool ActiveWindowIsOwner = true;
};
bool FloatingCaptionInactive(const TTBCaptionState& S);

// The dockable windows of the GUI thread that float now.
const std::vector<TTBCustomDockableWindow*>& FloatingWindows();
// Every dockable window registers it for activation, application activation,
// position changes and destruction of windows.
void DockableHookHandler(THookCode Code, HWND Wnd, WPARAM WParam, LPARAM LParam);
