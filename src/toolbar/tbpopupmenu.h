// The popup menu component: a context menu whose items are toolbar items,
// shown in the library's own popup windows and menu loop.
#pragma once

#include "platform/ui/menus.h"
#include "toolbar/tbitem.h"

class TTBPopupMenu : public TPopupMenu, public ITBItemContainer {
  ZV_CLASS(TTBPopupMenu)
public:
  explicit TTBPopupMenu(TComponent* AOwner);
  ~TTBPopupMenu() override;

  TTBRootItem* Items() const { return FItem; }
  TTBCustomItem* GetItems() override { return FItem; }
  TCustomImageList* Images() const { return FItem->SubMenuImages(); }
  void SetImages(TCustomImageList* v) { FItem->SetSubMenuImages(v); }
  TTBCustomItem* LinkSubitems() const { return FItem->LinkSubitems(); }
  void SetLinkSubitems(TTBCustomItem* v) { FItem->SetLinkSubitems(v); }
  TTBItemOptions Options() const { return FItem->Options(); }
  void SetOptions(TTBItemOptions v) { FItem->SetOptions(v); }

  void Popup(int X, int Y) override;
  // Shows the menu at the screen point; returns the chosen item (nil when
  // cancelled), clicked later from the event loop unless ReturnClickedItemOnly.
  TTBCustomItem* TrackPopup(int X, int Y, bool ReturnClickedItemOnly);
  bool IsShortCut(const TMessage& Message) override;

  void GetChildren(const TGetChildProc& Proc, TComponent* Root) override;
  void SetChildOrder(TComponent* Child, int Order) override;

private:
  TTBRootItem* FItem;
};
