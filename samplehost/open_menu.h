#pragma once
#include <windows.h>

// Reports every item of the open context menu, submenus included, one line
// each: "menu-item DEPTH ID MARK TEXT" (DEPTH 1 for the menu's own items, 2
// inside a submenu; ID "popup" for a submenu; MARK "checked" or "-"), or
// "menu-item DEPTH separator". False when no menu is open.
bool ReportOpenMenu();
// Whether a popup menu of this process is shown.
bool MenuOpen();
// The rectangle around every open popup menu; false when none is open.
bool OpenMenusArea(RECT* area);
