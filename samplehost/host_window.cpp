#include "host_window.h"
#include "host_state.h"
#include "output.h"
#include "plugin_session.h"

namespace {

constexpr int HOST_LEFT = 600, HOST_TOP = 300, HOST_WIDTH = 480, HOST_HEIGHT = 240;

void PassThroughHook(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!hostState.plugin.hook)
        return;
    MSG msg = {};
    msg.hwnd = window;
    msg.message = message;
    msg.wParam = wParam;
    msg.lParam = lParam;
    msg.time = GetMessageTime();
    DWORD pos = GetMessagePos();
    msg.pt.x = static_cast<short>(LOWORD(pos));
    msg.pt.y = static_cast<short>(HIWORD(pos));
    hostState.plugin.hook(&msg);
}

// A player that quits from inside its answer to the plug-in, as some do from
// a modal loop that the request started.
void QuitIfAskedOn(const wchar_t* request)
{
    if (hostState.quitOn != request)
        return;
    hostState.quitOn.clear();
    StopPlugin();
}

LRESULT OnHostInfo(WPARAM what, LPARAM lParam)
{
    if (what == HOST_INFO_PATH) {
        SetWindowTextW(reinterpret_cast<HWND>(lParam), hostState.currentPath.c_str());
        Report("path-query %s", Utf8Of(hostState.currentPath).c_str());
        ++hostState.pathQueries;
        QuitIfAskedOn(L"path-query");
    } else if (what == HOST_INFO_CHANNEL) {
        Report("channel-announced %lu", static_cast<unsigned long>(lParam));
    }
    return 0;
}

LRESULT CALLBACK HostWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    // Every message of the host window passes the plug-in's hook once, here.
    PassThroughHook(window, message, wParam, lParam);
    switch (message) {
    case WM_HOST_STATUS:
        if (wParam != HOST_STATUS_QUERY)
            return 0;
        Report("status-query");
        ++hostState.statusQueries;
        QuitIfAskedOn(L"status-query");
        return hostState.playStatus;
    case WM_HOST_INFO:
        return OnHostInfo(wParam, lParam);
    case WM_COMMAND:
        Report("command %u", static_cast<unsigned>(LOWORD(wParam)));
        if (LOWORD(wParam) == HOST_CMD_ACTIVATE)
            QuitIfAskedOn(L"activate");
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace

HWND CreateHostWindow(HINSTANCE instance)
{
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = HostWindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(NULL, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = HOST_WINDOW_CLASS;
    if (!RegisterClassW(&windowClass))
        return NULL;
    HWND window = CreateWindowExW(0, HOST_WINDOW_CLASS, L"Quaver sample host", WS_OVERLAPPEDWINDOW, HOST_LEFT,
                                  HOST_TOP, HOST_WIDTH, HOST_HEIGHT, NULL, NULL, instance, NULL);
    if (window)
        ShowWindow(window, SW_SHOWNOACTIVATE);
    return window;
}
