#pragma once
#include <windows.h>

// Makes the theme named by displayState.theme current (the built-in one when
// empty, or when the folder's background cannot be loaded), fills imageRect and
// the background and overlay holders, and sizes the window to the background,
// all at the frame's scale (see frame_scale.h).
void LoadTheme(HWND window);
// Test seam: empties the background and overlay holders.
void ReleaseThemePictures();
