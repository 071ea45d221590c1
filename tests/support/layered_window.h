#pragma once
#include <windows.h>
#include "helpers/layered_popup.h"

// A layered tool popup, as the display window is, on the calling thread.
// With DisplayWindowProc it is the display window itself (class
// "coverdeck_class_U"): creation loads settings and theme, destruction (or
// Destroy()) saves the settings. With DefWindowProcW it is a bare popup for
// drawing into.
class LayeredWindow : public LayeredPopup {
public:
    explicit LayeredWindow(WNDPROC procedure = DefWindowProcW, RECT place = {0, 0, 200, 200}, bool shown = false);
};
