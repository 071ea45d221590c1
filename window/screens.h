#pragma once
#include <windows.h>

// How much of the window, each way, must lie in one monitor's work area for
// the window to count as visible: enough to see it and take hold of it. A
// window smaller than this must show whole.
constexpr int USEFUL_VISIBLE_PART = 24;

// The work area of the monitor that `rect` mostly lies on, or of the nearest
// monitor when it lies on none.
RECT WorkAreaUnder(const RECT& rect);

// Brings a window that is not visible on any monitor wholly into the work
// area of the nearest one; a visible window stays where it is.
void KeepOnAMonitor(HWND window);

// WM_DISPLAYCHANGE and WM_SETTINGCHANGE: monitors, or their work areas, may
// have changed under the window.
void OnScreensChanged(HWND window, UINT message, WPARAM wParam);
