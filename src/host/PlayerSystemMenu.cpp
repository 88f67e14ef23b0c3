// The plug-in's menu as an entry "Mirabo's Lyrics" at the end of the first submenu
// of the player's system menu, and its removal again.
#include <cstring>

#include "host/WinampLink.h"

namespace {

constexpr char kSystemMenuText[] = "Mirabo's Lyrics";

bool IsSeparatorItem(HMENU menu, int position) {
  MENUITEMINFOA info = {};
  info.cbSize = sizeof info;
  info.fMask = MIIM_FTYPE;
  return GetMenuItemInfoA(menu, position, TRUE, &info) && (info.fType & MFT_SEPARATOR);
}

}  // namespace

bool WinampLink::AddSystemMenu(HMENU menu) {
  HWND main = MainWindow();
  if (!main || !menu) return false;
  RemoveSystemMenu();
  HMENU system = GetSystemMenu(main, FALSE);
  HMENU submenu = system ? GetSubMenu(system, 0) : nullptr;
  if (!submenu) return false;
  MENUITEMINFOA separator = {};
  separator.cbSize = sizeof separator;
  separator.fMask = MIIM_FTYPE;
  separator.fType = MFT_SEPARATOR;
  if (!InsertMenuItemA(submenu, GetMenuItemCount(submenu), TRUE, &separator)) return false;
  char text[sizeof kSystemMenuText];
  memcpy(text, kSystemMenuText, sizeof text);
  MENUITEMINFOA item = {};
  item.cbSize = sizeof item;
  item.fMask = MIIM_STATE | MIIM_SUBMENU | MIIM_TYPE;
  item.fType = MFT_STRING;
  item.hSubMenu = menu;
  item.dwTypeData = text;
  if (!InsertMenuItemA(submenu, GetMenuItemCount(submenu), TRUE, &item)) {
    RemoveMenu(submenu, GetMenuItemCount(submenu) - 1, MF_BYPOSITION);
    return false;
  }
  MutexLock lock(pluginThreadLock_);
  systemMenuEntry_ = menu;
  systemSubmenu_ = submenu;
  return true;
}

void WinampLink::RemoveSystemMenu() {
  HMENU entry, submenu;
  {
    MutexLock lock(pluginThreadLock_);
    entry = systemMenuEntry_;
    submenu = systemSubmenu_;
    systemMenuEntry_ = systemSubmenu_ = nullptr;
  }
  if (!entry || !submenu || !IsMenu(submenu)) return;
  // Found by its submenu, not by position: the player may have added items since.
  for (int i = GetMenuItemCount(submenu) - 1; i >= 0; --i) {
    if (GetSubMenu(submenu, i) != entry) continue;
    RemoveMenu(submenu, i, MF_BYPOSITION);  // detaches; the menu's owner destroys it
    if (i > 0 && IsSeparatorItem(submenu, i - 1)) RemoveMenu(submenu, i - 1, MF_BYPOSITION);
    return;
  }
}
