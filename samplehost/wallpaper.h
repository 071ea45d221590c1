#pragma once
#include <windows.h>

// Covers the whole screen with a picture (PNG or JPEG), below every other
// window, so that the plug-in's translucent edges and shadow have something
// to show over. It stays until the host ends. GDI+ must be started. Shown
// before any other window: Wine raises each window it maps above the others.
bool ShowWallpaper(const wchar_t* picturePath);
