#pragma once
#include <windows.h>
#include "resources/resource_ids.h"
#include "state/owners.h"
#include "state/owners.h"

constexpr int MAX_THEME_ITEMS = 100;
// The i-th theme folder listed gets IDM_THEME_FIRST + i.
constexpr bool IsThemeItemId(int id)
{
    return id >= IDM_THEME_FIRST && id < IDM_THEME_FIRST + MAX_THEME_ITEMS;
}

// Opens the context menu at the cursor and carries out the choice.
void ShowContextMenu(HWND window);
// Builds the menu from the template with the theme folders found
// now and the marks of the current settings. Its first item's submenu is the
// context menu. The tests and the theme
// kit's menu listing use it too.
UniqueMenu BuildContextMenu();
