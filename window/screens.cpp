#include "window/screens.h"
#include <algorithm>
#include "window/snap.h"

namespace {

bool VisibleIn(const RECT& window, const RECT& work)
{
    RECT shown;
    return IntersectRect(&shown, &window, &work) &&
           shown.right - shown.left >= std::min<LONG>(USEFUL_VISIBLE_PART, window.right - window.left) &&
           shown.bottom - shown.top >= std::min<LONG>(USEFUL_VISIBLE_PART, window.bottom - window.top);
}

struct VisibilitySearch {
    RECT window;
    bool visible;
};

BOOL CALLBACK CheckMonitor(HMONITOR monitor, HDC, RECT*, LPARAM data)
{
    auto* search = reinterpret_cast<VisibilitySearch*>(data);
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    if (GetMonitorInfoW(monitor, &info) && VisibleIn(search->window, info.rcWork)) {
        search->visible = true;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

RECT WorkAreaUnder(const RECT& rect)
{
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    if (GetMonitorInfoW(MonitorFromRect(&rect, MONITOR_DEFAULTTONEAREST), &info))
        return info.rcWork;
    RECT work;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    return work;
}

// A position saved on a monitor that has since gone (or edited by hand), or a
// monitor unplugged under the window, would leave it where nobody can reach
// it; one that still shows a useful part stays where the user put it.
void KeepOnAMonitor(HWND window)
{
    VisibilitySearch search = {};
    GetWindowRect(window, &search.window);
    EnumDisplayMonitors(nullptr, nullptr, CheckMonitor, reinterpret_cast<LPARAM>(&search));
    if (search.visible)
        return;
    POINT topLeft = TopLeftInside(search.window, WorkAreaUnder(search.window));
    SetWindowPos(window, nullptr, topLeft.x, topLeft.y, 0, 0, SWP_NOZORDER | SWP_NOSIZE | SWP_NOACTIVATE);
}

void OnScreensChanged(HWND window, UINT message, WPARAM wParam)
{
    if (message == WM_DISPLAYCHANGE || (message == WM_SETTINGCHANGE && wParam == SPI_SETWORKAREA))
        KeepOnAMonitor(window);
}
