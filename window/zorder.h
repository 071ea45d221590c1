#pragma once
#include <windows.h>

// The window's z-order band, as the settings file stores it under "position".
constexpr int ZORDER_NORMAL = 0;
constexpr int ZORDER_TOPMOST = 1;
constexpr int ZORDER_BOTTOM = 2;

// True for the three modes above; anything else a settings file holds applies
// as normal and marks no menu item.
bool IsKnownZOrder(int position);
// A bottom-pinned window is put back under all others at every z-order change.
bool PinnedToBottom(int position);
// Puts the window in the band of `position`.
void ApplyZOrder(HWND window, int position);
