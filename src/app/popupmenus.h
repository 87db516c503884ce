// Pop-up menus of toolbar items as the windows build them: items added with
// their click handlers, opened only when the window asks.
#pragma once

#include <string>

#include "platform/ui/classes.h"

class TTBPopupMenu;
class TTBItem;

// A pop-up menu that opens only when asked; OnPopup fires before it shows.
TTBPopupMenu* NewItemPopupMenu(TComponent* Owner, TNotifyEvent OnPopup);
// The menu of a dock: it opens by itself on a right click in the dock.
TTBPopupMenu* NewDockPopupMenu(TComponent* Owner, TNotifyEvent OnPopup);
TTBItem* AddPopupItem(TTBPopupMenu* Menu, const std::string& Caption, TNotifyEvent OnClick);
void AddPopupSeparator(TTBPopupMenu* Menu);
int PopupItemCount(TTBPopupMenu* Menu);
void PopupMenuAt(TTBPopupMenu* Menu, int X, int Y);
// Fires the menu's OnPopup as opening it would.
void FirePopupEvent(TTBPopupMenu* Menu);
