#include "plugin_session.h"
#include "host_state.h"
#include "helpers/message_pump.h"
#include "helpers/processes.h"
#include "output.h"

namespace {

constexpr DWORD WINDOW_APPEAR_TIMEOUT_MS = 10000;

}  // namespace

HWND FindPluginWindow()
{
    const std::vector<HWND> windows = WindowsOfThisProcess(PLUGIN_WINDOW_CLASS);
    return windows.empty() ? NULL : windows.front();
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
    // After "unload" there is nothing left to call.
    if (hostState.plugin.callback)
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
    return static_cast<unsigned>(WindowsOfThisProcess(PLUGIN_WINDOW_CLASS).size());
}
