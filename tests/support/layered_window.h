#pragma once
#include <windows.h>
#include "state/owners.h"

// A layered tool popup, as the display window is, on the calling thread.
// With DisplayWindowProc it is the display window itself (class
// "coverdeck_class_U"): creation loads settings and theme, destruction saves
// the settings. With DefWindowProcW it is a bare popup for drawing into.
// The class is registered for the object's life.
class LayeredWindow {
public:
    explicit LayeredWindow(WNDPROC procedure = DefWindowProcW, RECT place = {0, 0, 200, 200}, bool shown = false);
    ~LayeredWindow();
    LayeredWindow(const LayeredWindow&) = delete;
    LayeredWindow& operator=(const LayeredWindow&) = delete;

    HWND handle() const { return window.get(); }
    RECT Rect() const;
    void MoveTo(int x, int y) const;
    // Destroys the window now (the display window saves its settings).
    void Destroy();

private:
    const wchar_t* className;
    UniqueWindow window;
};
