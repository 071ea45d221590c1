#include "open_menu.h"
#include <string>
#include <vector>
#include "helpers/processes.h"
#include "output.h"

namespace {

// The system's class name for popup menu windows.
constexpr wchar_t MENU_WINDOW_CLASS[] = L"#32768";

// Visible menu windows of this process, topmost first: a submenu opened from
// the keyboard lies above the menu it belongs to.
std::vector<HWND> OpenMenuWindows()
{
    std::vector<HWND> open;
    for (HWND window : WindowsOfThisProcess(MENU_WINDOW_CLASS))
        if (IsWindowVisible(window))
            open.push_back(window);
    return open;
}

void ReportItems(HMENU menu, int depth)
{
    int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        wchar_t text[MAX_PATH] = L"";
        MENUITEMINFOW item = {};
        item.cbSize = sizeof item;
        item.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STATE | MIIM_SUBMENU | MIIM_STRING;
        item.dwTypeData = text;
        item.cch = MAX_PATH;
        if (!GetMenuItemInfoW(menu, i, TRUE, &item))
            continue;
        if (item.fType & MFT_SEPARATOR) {
            Report("menu-item %d separator", depth);
            continue;
        }
        std::string id = item.hSubMenu ? "popup" : std::to_string(item.wID);
        Report("menu-item %d %s %s %s", depth, id.c_str(), (item.fState & MFS_CHECKED) ? "checked" : "-",
               Utf8Of(text).c_str());
        if (item.hSubMenu)
            ReportItems(item.hSubMenu, depth + 1);
    }
}

}  // namespace

bool ReportOpenMenu()
{
    std::vector<HWND> windows = OpenMenuWindows();
    if (windows.empty())
        return false;
    // The context menu itself is the lowest of the open menu windows.
    HMENU menu = reinterpret_cast<HMENU>(SendMessageW(windows.back(), MN_GETHMENU, 0, 0));
    if (!menu)
        return false;
    ReportItems(menu, 1);
    return true;
}

bool MenuOpen()
{
    return !OpenMenuWindows().empty();
}

bool OpenMenusArea(RECT* area)
{
    std::vector<HWND> windows = OpenMenuWindows();
    *area = RECT{};
    for (HWND window : windows) {
        RECT rect;
        GetWindowRect(window, &rect);
        UnionRect(area, area, &rect);
    }
    return !windows.empty();
}
