#include "support/layered_window.h"
#include "window/display_window.h"

namespace {

constexpr wchar_t BARE_POPUP_CLASS[] = L"coverdeck_test_popup";

}  // namespace

LayeredWindow::LayeredWindow(WNDPROC procedure, RECT place, bool shown)
    : LayeredPopup(procedure == DisplayWindowProc ? DISPLAY_WINDOW_CLASS : BARE_POPUP_CLASS, procedure, place,
                   CS_DBLCLKS)
{
    if (handle() && shown)
        ShowWindow(handle(), SW_SHOWNOACTIVATE);
}
