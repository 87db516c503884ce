#include "platform/ui/popupmenus.h"

#include <QAction>
#include <QMenu>

#include <map>
#include <utility>

#include "platform/ui/controls.h"
#include "platform/ui/qt_ui.h"

namespace {
std::map<HMENU, std::vector<TMenuItemInfo>>& Menus() {
  static std::map<HMENU, std::vector<TMenuItemInfo>> menus;
  return menus;
}
HMENU NextMenu = 0;
TTrackPopupHandler& Handler() {
  static TTrackPopupHandler handler;
  return handler;
}

unsigned ShowMenu(const std::vector<TMenuItemInfo>& items, int X, int Y) {
  QMenu menu;
  for (const auto& it : items) {
    if (it.Flags & MF_SEPARATOR) {
      menu.addSeparator();
      continue;
    }
    QAction* a = menu.addAction(ToQString(it.Text));
    a->setData(it.ID);
    a->setEnabled(!(it.Flags & (MF_GRAYED | MF_DISABLED)));
    if (it.Flags & MF_CHECKED) {
      a->setCheckable(true);
      a->setChecked(true);
    }
  }
  QAction* chosen = menu.exec(QPoint(X, Y));
  return chosen ? chosen->data().toUInt() : 0;
}
}  // namespace

HMENU CreatePopupMenu() {
  const HMENU h = ++NextMenu;
  Menus()[h];
  return h;
}

bool AppendMenu(HMENU Menu, unsigned Flags, unsigned ID, const std::string& Text) {
  auto it = Menus().find(Menu);
  if (it == Menus().end()) return false;
  it->second.push_back({Flags, ID, Text});
  return true;
}

bool DestroyMenu(HMENU Menu) { return Menus().erase(Menu) > 0; }

std::vector<TMenuItemInfo> GetMenuItems(HMENU Menu) {
  auto it = Menus().find(Menu);
  return it == Menus().end() ? std::vector<TMenuItemInfo>{} : it->second;
}

int TrackPopupMenu(HMENU Menu, unsigned Flags, int X, int Y, HWND Owner) {
  auto it = Menus().find(Menu);
  if (it == Menus().end()) return 0;
  const std::vector<TMenuItemInfo> items = it->second;
  const unsigned id = Handler() ? Handler()(items, X, Y) : ShowMenu(items, X, Y);
  if (Flags & TPM_RETURNCMD) return static_cast<int>(id);
  if (id == 0) return 0;
  if (Owner) SendMessage(Owner, WM_COMMAND, id, 0);
  return 1;
}

TTrackPopupHandler SetTrackPopupHandler(TTrackPopupHandler H) { return std::exchange(Handler(), std::move(H)); }
