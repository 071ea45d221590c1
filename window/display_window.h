#pragma once
#include <windows.h>

constexpr wchar_t DISPLAY_WINDOW_CLASS[] = L"coverdeck_class_U";

constexpr UINT_PTR STATUS_TIMER_ID = 100;
constexpr UINT_PTR TRACK_TIMER_ID = 101;
constexpr UINT DEBOUNCE_MS = 500;

// Host events forwarded to the display window (WM_APP, wParam).
constexpr WPARAM APP_TRACK_CHANGED = 2;
constexpr WPARAM APP_STATUS_CHANGED = 3;
// Host channel announcements forwarded by the message hook (wParam 503).
constexpr UINT WM_APP_CHANNEL = WM_APP + 1;
// The plug-in's own quit, sent by EVENT_QUIT with the window's thread id as
// wParam: the one request that destroys the window. WM_CLOSE from anyone
// else is refused, and so is a WM_APP + 2 that programs broadcasting in the
// WM_APP range send with wParam of their own (a thread id is not guessed).
constexpr UINT WM_APP_QUIT = WM_APP + 2;

// How the UI thread tells its starter that the window exists: `window` is
// filled in (null when it could not be made), then `created` is set, and the
// thread touches the record no more.
struct DisplayWindowStart {
    HANDLE created;
    HWND window;
};

// Runs the display window's whole life on the calling thread: GDI+ start-up,
// class, window, message loop, tear-down. Returns the WM_QUIT code, or -1 when
// the window cannot be made. `start` may be null.
int RunDisplayWindow(HINSTANCE module, DisplayWindowStart* start);

// Test seam: the window procedure, for tests that drive a window of their own.
LRESULT CALLBACK DisplayWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
