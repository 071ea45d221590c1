#pragma once
#include <windows.h>
#include <stdint.h>

// A zero-filled, top-down 32-bit DIB section (row 0 first in memory), the
// canvas every frame is composed on. `bits` gets its pixels, or null.
// Header-only: the helpers library, which does not link the plug-in's core,
// makes its canvases the same way.
inline HBITMAP CreateTopDownSection(HDC dc, int width, int height, uint32_t** bits)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* pixels = nullptr;
    HBITMAP section = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &pixels, NULL, 0);
    *bits = section ? static_cast<uint32_t*>(pixels) : nullptr;
    return section;
}
