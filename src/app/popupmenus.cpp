#include "app/popupmenus.h"

#include "toolbar/tbpopupmenu.h"

TTBPopupMenu* NewItemPopupMenu(TComponent* Owner, TNotifyEvent OnPopup) {
  auto* menu = new TTBPopupMenu(Owner);
  menu->SetAutoPopup(false);
  menu->OnPopup = std::move(OnPopup);
  return menu;
}

TTBPopupMenu* NewDockPopupMenu(TComponent* Owner, TNotifyEvent OnPopup) {
  TTBPopupMenu* menu = NewItemPopupMenu(Owner, std::move(OnPopup));
  menu->SetAutoPopup(true);
  return menu;
}

TTBItem* AddPopupItem(TTBPopupMenu* Menu, const std::string& Caption, TNotifyEvent OnClick) {
  auto* item = new TTBItem(Menu);
  item->SetCaption(Caption);
  if (OnClick) item->SetOnClick(std::move(OnClick));
  Menu->Items()->Add(item);
  return item;
}

void AddPopupSeparator(TTBPopupMenu* Menu) { Menu->Items()->Add(new TTBSeparatorItem(Menu)); }

int PopupItemCount(TTBPopupMenu* Menu) { return Menu->Items()->Count(); }

void PopupMenuAt(TTBPopupMenu* Menu, int X, int Y) { Menu->Popup(X, Y); }

void FirePopupEvent(TTBPopupMenu* Menu) {
  if (Menu->OnPopup) Menu->OnPopup(Menu);
}
