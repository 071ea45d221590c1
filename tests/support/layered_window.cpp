#include "support/layered_window.h"
#include "window/display_window.h"

namespace {

constexpr wchar_t BARE_POPUP_CLASS[] = L"coverdeck_test_popup";

}  // namespace

LayeredWindow::LayeredWindow(WNDPROC procedure, RECT place, bool shown)
    : className(procedure == DisplayWindowProc ? DISPLAY_WINDOW_CLASS : BARE_POPUP_CLASS)
{
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSW windowClass = {};
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = className;
    RegisterClassW(&windowClass);
    window.reset(CreateWindowExW(WS_EX_LAYERED | WS_EX_TOOLWINDOW, className, className, WS_POPUP, place.left,
                                 place.top, place.right - place.left, place.bottom - place.top, nullptr, nullptr,
                                 instance, nullptr));
    if (window && shown)
        ShowWindow(window.get(), SW_SHOWNOACTIVATE);
}

LayeredWindow::~LayeredWindow()
{
    window.reset();  // the class goes after its last window
    UnregisterClassW(className, GetModuleHandleW(nullptr));
}

RECT LayeredWindow::Rect() const
{
    RECT rect = {};
    GetWindowRect(window.get(), &rect);
    return rect;
}

void LayeredWindow::MoveTo(int x, int y) const
{
    SetWindowPos(window.get(), nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void LayeredWindow::Destroy()
{
    window.reset();
}
