#include "plugin_session.h"
#include "host_state.h"
#include "helpers/message_pump.h"
#include "output.h"

namespace {

constexpr DWORD WINDOW_APPEAR_TIMEOUT_MS = 10000;

BOOL CALLBACK CountIfPluginWindow(HWND window, LPARAM count)
{
    wchar_t className[64];
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == GetCurrentProcessId() && GetClassNameW(window, className, 64) &&
        lstrcmpW(className, PLUGIN_WINDOW_CLASS) == 0)
        ++*reinterpret_cast<unsigned*>(count);
    return TRUE;
}

}  // namespace

HWND FindPluginWindow()
{
    // Another player's plug-in window may be on the desktop too.
    for (HWND window = FindWindowExW(NULL, NULL, PLUGIN_WINDOW_CLASS, NULL); window;
         window = FindWindowExW(NULL, window, PLUGIN_WINDOW_CLASS, NULL)) {
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        if (process == GetCurrentProcessId())
            return window;
    }
    return NULL;
}

bool StartPlugin()
{
    BOOL started = hostState.plugin.callback(hostState.window, EVENT_INIT);
    Report("init %d", started);
    if (!started)
        return false;
    PumpUntil([] { return IsWindowVisible(FindPluginWindow()) != FALSE; }, WINDOW_APPEAR_TIMEOUT_MS);
    ReportPluginWindow();
    return true;
}

void StopPlugin()
{
    Report("quit %d", hostState.plugin.callback(hostState.window, EVENT_QUIT));
}

void ReportPluginWindow()
{
    RECT rect;
    HWND window = FindPluginWindow();
    if (!window || !GetWindowRect(window, &rect)) {
        Report("window none");
        return;
    }
    Report("window %ld %ld %ld %ld", rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
}

unsigned CountPluginWindows()
{
    unsigned count = 0;
    EnumWindows(CountIfPluginWindow, reinterpret_cast<LPARAM>(&count));
    return count;
}
