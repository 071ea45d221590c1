#include "helpers/layered_popup.h"

namespace {

WNDCLASSW PopupClass(const wchar_t* className, WNDPROC procedure, UINT classStyle)
{
    WNDCLASSW windowClass = {};
    windowClass.style = classStyle;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = className;
    return windowClass;
}

}  // namespace

LayeredPopup::LayeredPopup(const wchar_t* className, WNDPROC procedure, RECT place, UINT classStyle)
    : windowClass(PopupClass(className, procedure, classStyle)),
      window(CreateWindowExW(WS_EX_LAYERED | WS_EX_TOOLWINDOW, className, className, WS_POPUP, place.left, place.top,
                             place.right - place.left, place.bottom - place.top, nullptr, nullptr,
                             GetModuleHandleW(nullptr), nullptr))
{
}

RECT LayeredPopup::Rect() const
{
    RECT rect = {};
    GetWindowRect(window.get(), &rect);
    return rect;
}

SIZE LayeredPopup::Size() const
{
    const RECT rect = Rect();
    return SIZE{rect.right - rect.left, rect.bottom - rect.top};
}

void LayeredPopup::MoveTo(int x, int y) const
{
    SetWindowPos(window.get(), nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
