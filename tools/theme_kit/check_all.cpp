#include <algorithm>
#include "state/owners.h"
#include "tools/theme_kit/commands.h"
#include "tools/theme_kit/kit_files.h"
#include "window/context_menu.h"
#include "render/theme_files.h"

namespace {

// The theme items of the plug-in's own menu, built as the right click builds it.
std::vector<std::wstring> MenuThemes(const std::wstring& root)
{
    std::vector<std::wstring> names;
    lstrcpynW(displayState.themesRoot, root.c_str(), MAX_PATH);
    displayState.theme[0] = L'\0';
    const UniqueMenu holder(BuildContextMenu());
    HMENU themeMenu = holder ? GetSubMenu(GetSubMenu(holder.get(), 0), 0) : NULL;
    const int count = themeMenu ? GetMenuItemCount(themeMenu) : 0;
    for (int i = 0; i < count; ++i) {
        const UINT id = GetMenuItemID(themeMenu, i);
        if (!IsThemeItemId(static_cast<int>(id)))
            continue;
        wchar_t text[MAX_PATH] = L"";
        GetMenuStringW(themeMenu, i, text, MAX_PATH, MF_BYPOSITION);
        names.push_back(text);
    }
    return names;
}

}  // namespace

int CheckAllThemes(const LayeredPopup& window, const std::wstring& root)
{
    if (root.size() >= MAX_PATH)
        return Trouble(Quote(root) + L": longer than 259 characters; the plug-in lists no theme from there");
    const std::vector<std::wstring> listed = MenuThemes(root);
    PrintLine(L"menu: " + Counted(listed.size(), L"theme") + L" after \"デフォルト\" (Default), in this order:");
    for (size_t i = 0; i < listed.size(); ++i)
        PrintLine(L"  " + std::to_wstring(i + 1) + L". " + listed[i]);

    int worst = EXIT_NO_ERROR;
    Report report;
    // The menu lists a theme.ini in the themes folder as ".", one in the plug-in folder as "..".
    for (const wchar_t* folder : {L".", L".."})
        if (std::find(listed.begin(), listed.end(), folder) != listed.end())
            report.Warning(folder[1] ? L"plug-in folder" : L"themes folder", L"holds a theme.ini",
                           L"The menu lists " + Quote(folder) + L" as a theme",
                           L"Move that theme.ini into a theme folder");
    for (const std::wstring& name : FolderEntries(root)) {
        const std::wstring folder = root + L"\\" + name;
        if (!IsFolder(folder))
            continue;
        const bool inMenu = std::find(listed.begin(), listed.end(), name) != listed.end();
        if (!inMenu && listed.size() >= MAX_THEME_ITEMS && IsFile(folder + L"\\" + THEME_INI_FILE))
            report.Warning(Quote(name), L"comes after the first " + std::to_wstring(MAX_THEME_ITEMS) + L" themes",
                           L"The menu does not list it", L"Keep at most " + std::to_wstring(MAX_THEME_ITEMS) +
                           L" theme folders");
        PrintLine(L"");
        PrintLine(L"theme " + Quote(name) + (inMenu ? L"" : L" (not in the menu)") + L":");
        worst = std::max(worst, CheckTheme(window, folder));
    }
    if (report.errors() > 0)
        worst = std::max(worst, EXIT_FOUND_ERROR);
    return worst;
}
