#pragma once
#include <windows.h>
#include "resources/resource_ids.h"

constexpr int MAX_THEME_ITEMS = 100;

// Opens the context menu at the cursor and carries out the choice.
void ShowContextMenu(HWND window);
// Replaces the placeholder of the Theme submenu by the theme folders found now.
void AppendThemeItems(HMENU themeMenu);
// Carries out a menu command; ids it does not know are ignored.
void OnCommand(HWND window, int id);
