#include "support/fake_host.h"
#include "state/host_protocol.h"
#include "support/test_support.h"
#include "window/display_window.h"

namespace {

FakeHost* current;

}  // namespace

FakeHost::FakeHost(bool unicode)
{
    current = this;
    HINSTANCE instance = GetModuleHandleW(NULL);
    if (unicode) {
        WNDCLASSW windowClass = {};
        windowClass.lpfnWndProc = Procedure;
        windowClass.hInstance = instance;
        windowClass.lpszClassName = HOST_WINDOW_CLASS;
        this->windowClass.emplace(windowClass);
        hwnd.reset(CreateWindowExW(0, HOST_WINDOW_CLASS, L"fake player", WS_OVERLAPPEDWINDOW, 600, 300, 300, 200,
                                   NULL, NULL, instance, NULL));
    } else {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = reinterpret_cast<WNDPROC>(DefWindowProcA);
        windowClass.hInstance = instance;
        windowClass.lpszClassName = "Quaver";
        this->windowClass.emplace(windowClass);
        hwnd.reset(CreateWindowExA(0, "Quaver", "fake ANSI player", WS_OVERLAPPEDWINDOW, 600, 300, 300, 200, NULL,
                                   NULL, instance, NULL));
    }
}

FakeHost::~FakeHost()
{
    current = NULL;
}

LRESULT CALLBACK FakeHost::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (current && message == WM_HOST_STATUS && wParam == HOST_STATUS_QUERY) {
        ++current->statusQueries;
        return current->status;
    }
    if (current && message == WM_HOST_INFO && wParam == HOST_INFO_PATH) {
        current->pathQueryTimes.push_back(GetTickCount());
        SetWindowTextW(reinterpret_cast<HWND>(lParam), current->trackPath.c_str());
        return 0;
    }
    if (current && message == WM_COMMAND) {
        current->commands.push_back(wParam);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

HWND WaitForDisplayWindow(DWORD timeoutMs)
{
    HWND found = NULL;
    // The class is findable from CreateWindowEx on, while the creation sequence
    // still runs; the window is shown only after it has finished.
    PumpUntil([&] {
        found = FindWindowW(DISPLAY_WINDOW_CLASS, NULL);
        return found && IsWindowVisible(found);
    }, timeoutMs);
    return found && IsWindowVisible(found) ? found : NULL;
}
