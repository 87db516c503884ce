// Menus. Only the popup menu's component part is here so far (controls name
// their popup menu and right clicks open it); items and menu bars come with
// the windows that need them.
#pragma once

#include "platform/ui/classes.h"
#include "platform/ui/messages.h"
#include "platform/ui/uitypes.h"

// Scoped: the chart library has a paCenter of its own (function period alignment).
enum class TPopupAlignment { paLeft, paRight, paCenter };
enum TTrackButton { tbRightButton, tbLeftButton };

class TPopupMenu : public TComponent {
  ZV_CLASS(TPopupMenu)
public:
  explicit TPopupMenu(TComponent* AOwner) : TComponent(AOwner) {}
  // Shows the menu at a screen point; OnPopup fires first.
  virtual void Popup(int X, int Y);
  bool AutoPopup() const { return FAutoPopup; }
  void SetAutoPopup(bool v) { FAutoPopup = v; }
  TComponent* PopupComponent() const { return FPopupComponent; }
  void SetPopupComponent(TComponent* v) { FPopupComponent = v; }
  TPoint PopupPoint() const { return FPopupPoint; }
  void SetPopupPoint(TPoint p) { FPopupPoint = p; }
  TPopupAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TPopupAlignment v) { FAlignment = v; }
  TTrackButton TrackButton() const { return FTrackButton; }
  void SetTrackButton(TTrackButton v) { FTrackButton = v; }
  // Whether a key message (WParam the virtual key, LParam the key data) is
  // the shortcut of one of the menu's items; the item then ran.
  virtual bool IsShortCut(const TMessage&) { return false; }
  TNotifyEvent OnPopup;

private:
  bool FAutoPopup = true;
  TComponent* FPopupComponent = nullptr;
  TPoint FPopupPoint;
  TPopupAlignment FAlignment = TPopupAlignment::paLeft;
  TTrackButton FTrackButton = tbRightButton;
};
