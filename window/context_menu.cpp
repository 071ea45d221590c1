#include "window/context_menu.h"
#include <shlwapi.h>
#include "render/frame.h"
#include "render/theme.h"
#include "state/display_state.h"
#include "state/format_path.h"
#include "state/owners.h"
#include "render/theme_files.h"
#include "window/options.h"
#include "window/zorder.h"

namespace {

bool IsThemeFolder(const WIN32_FIND_DATAW& entry)
{
    if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return false;
    // "." and ".." are not special: with a theme.ini in the themes folder or
    // beside the module they are themes like any other.
    wchar_t themeIni[MAX_PATH];
    if (!FormatPath(themeIni, L"%s\\%s\\%s", displayState.themesRoot, entry.cFileName, THEME_INI_FILE))
        return false;
    return PathFileExistsW(themeIni) != FALSE;
}

// Replaces the placeholder of the Theme submenu by the theme folders found now.
void AppendThemeItems(HMENU themeMenu)
{
    DeleteMenu(themeMenu, IDM_THEME_FIRST, MF_BYCOMMAND);

    // An empty root (the module's path left no room for it) would make the
    // pattern "\\*", the current drive's root folder.
    wchar_t pattern[MAX_PATH];
    if (displayState.themesRoot[0] == L'\0' || !FormatPath(pattern, L"%s\\*", displayState.themesRoot))
        return;
    WIN32_FIND_DATAW entry;
    UniqueFind find(FindFirstFileW(pattern, &entry));
    if (!find)
        return;
    int count = 0;
    do {
        if (!IsThemeFolder(entry) || count >= MAX_THEME_ITEMS)
            continue;
        UINT id = IDM_THEME_FIRST + count;
        AppendMenuW(themeMenu, MF_STRING, id, entry.cFileName);
        if (lstrcmpW(entry.cFileName, displayState.theme) == 0)
            CheckMenuItem(themeMenu, id, MF_BYCOMMAND | MF_CHECKED);
        ++count;
    } while (FindNextFileW(find.get(), &entry));
}

void MarkCurrentSettings(HMENU popup)
{
    int position = displayState.position;
    // The menu's z-order ids run in the modes' order.
    if (IsKnownZOrder(position))
        CheckMenuRadioItem(popup, IDM_ZORDER_NORMAL, IDM_ZORDER_BOTTOM, IDM_ZORDER_NORMAL + position, MF_BYCOMMAND);
    for (const Option& option : OPTIONS) {
        if (option.menuId && MenuItemChecked(option, option.menuId))
            CheckMenuItem(popup, option.menuId, MF_BYCOMMAND | MF_CHECKED);
        for (int i = 0; i < option.choiceCount; ++i)
            if (MenuItemChecked(option, option.choices[i].menuId))
                CheckMenuItem(popup, option.choices[i].menuId, MF_BYCOMMAND | MF_CHECKED);
    }
    if (displayState.theme[0] == L'\0')
        CheckMenuItem(popup, IDM_THEME_DEFAULT, MF_BYCOMMAND | MF_CHECKED);
}

}  // namespace

UniqueMenu BuildContextMenu()
{
    UniqueMenu holder(LoadMenuW(displayState.module, MAKEINTRESOURCEW(IDR_CONTEXTMENU)));
    if (!holder)
        return holder;
    HMENU popup = GetSubMenu(holder.get(), 0);
    AppendThemeItems(GetSubMenu(popup, 0));
    MarkCurrentSettings(popup);
    return holder;
}

void ShowContextMenu(HWND window)
{
    UniqueMenu holder = BuildContextMenu();
    if (!holder)
        return;
    HMENU popup = GetSubMenu(holder.get(), 0);
    POINT cursor = {};
    GetCursorPos(&cursor);
    // TPM_RETURNCMD: the choice comes back here instead of as a posted
    // WM_COMMAND; TPM_NONOTIFY: no menu notifications reach the window.
    int id = static_cast<int>(
        TrackPopupMenu(popup, TPM_RETURNCMD | TPM_NONOTIFY, cursor.x, cursor.y, 0, window, NULL));
    if (IsThemeItemId(id)) {
        GetMenuStringW(popup, id, displayState.theme, MAX_PATH, MF_BYCOMMAND);
        LoadTheme(window);
        PresentFrame(window);
    } else {
        SendMessageW(window, WM_COMMAND, id & 0xFFFF, 0);
    }
}
