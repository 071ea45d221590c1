#pragma once
#include <windows.h>
#include "state/owners.h"

// A layered tool popup, the kind of window the plug-in shows, on the calling
// thread, of a window class registered for the object's life.
class LayeredPopup {
public:
    LayeredPopup(const wchar_t* className, WNDPROC procedure, RECT place, UINT classStyle = 0);
    LayeredPopup(const LayeredPopup&) = delete;
    LayeredPopup& operator=(const LayeredPopup&) = delete;

    HWND handle() const { return window.get(); }
    RECT Rect() const;
    SIZE Size() const;
    void MoveTo(int x, int y) const;
    // Destroys the window now; the class stays registered until the object goes.
    void Destroy() { window.reset(); }

private:
    ScopedWindowClass windowClass;  // outlives the window
    UniqueWindow window;
};
