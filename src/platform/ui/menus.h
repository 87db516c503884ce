// Menus. Only the popup menu's component part is here so far (controls name
// their popup menu and right clicks open it); items and menu bars come with
// the windows that need them.
#pragma once

#include "platform/ui/classes.h"
#include "platform/ui/uitypes.h"

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
  TNotifyEvent OnPopup;

private:
  bool FAutoPopup = true;
  TComponent* FPopupComponent = nullptr;
  TPoint FPopupPoint;
};
