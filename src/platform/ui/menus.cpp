#include "platform/ui/menus.h"

ZV_CLASS_IMPL(TPopupMenu, TComponent)

void TPopupMenu::DeclareProperties(TClassInfo& c) {
  c.Boolean<TPopupMenu>("AutoPopup", &TPopupMenu::AutoPopup, &TPopupMenu::SetAutoPopup, true);
}

void TPopupMenu::Popup(int X, int Y) {
  FPopupPoint = Point(X, Y);
  if (OnPopup) OnPopup(this);
}
