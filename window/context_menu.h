#pragma once
#include <windows.h>
#include "resources/resource_ids.h"

constexpr int MAX_THEME_ITEMS = 100;

// Opens the context menu at the cursor and carries out the choice.
void ShowContextMenu(HWND window);
// Builds the menu from the template with the theme folders found
// now and the marks of the current settings. Its first item's submenu is the
// context menu. Caller frees it with DestroyMenu. The tests and the theme
// kit's menu listing use it too.
HMENU BuildContextMenu();
