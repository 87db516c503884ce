// The window system's pop-up menus built item by item: a menu is made,
// items with their identifiers appended, and the menu tracked at a screen
// point; the chosen item reaches the owner window as WM_COMMAND with its
// identifier (notification code 0). Tests answer menus through the handler
// instead of a person.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/ui/messages.h"

using HMENU = uintptr_t;

constexpr unsigned MF_STRING = 0x0, MF_GRAYED = 0x1, MF_DISABLED = 0x2, MF_CHECKED = 0x8, MF_SEPARATOR = 0x800;
constexpr unsigned TPM_LEFTALIGN = 0x0, TPM_LEFTBUTTON = 0x0, TPM_RIGHTBUTTON = 0x2, TPM_RETURNCMD = 0x100;

struct TMenuItemInfo {
  unsigned Flags = 0;
  unsigned ID = 0;
  std::string Text;
};

HMENU CreatePopupMenu();
bool AppendMenu(HMENU Menu, unsigned Flags, unsigned ID, const std::string& Text);
bool DestroyMenu(HMENU Menu);
// The items of a menu (empty for an unknown one).
std::vector<TMenuItemInfo> GetMenuItems(HMENU Menu);
// Shows the menu at the screen point until an item is chosen or the menu is
// closed. With TPM_RETURNCMD the chosen identifier is returned (0: none);
// otherwise the owner window is sent WM_COMMAND with it and the result is
// whether an item was chosen.
int TrackPopupMenu(HMENU Menu, unsigned Flags, int X, int Y, HWND Owner);

// Answers tracked menus instead of the user: given the items and the
// point, the identifier chosen (0: closed without a choice). Returns the
// previous handler; an empty one shows the menu.
using TTrackPopupHandler = std::function<unsigned(const std::vector<TMenuItemInfo>& Items, int X, int Y)>;
TTrackPopupHandler SetTrackPopupHandler(TTrackPopupHandler Handler);
