#pragma once
#include <windows.h>
#include <stdint.h>

// Header-only: the helpers library and the sample host, which do not link
// the plug-in's core, make and read their canvases the same way.

// 32-bit pixels, row 0 first in memory.
inline BITMAPINFO TopDownInfo(int width, int height)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

// A zero-filled, top-down 32-bit DIB section, the canvas every frame is
// composed on. `bits` gets its pixels, or null.
inline HBITMAP CreateTopDownSection(HDC dc, int width, int height, uint32_t** bits)
{
    BITMAPINFO info = TopDownInfo(width, height);
    void* pixels = nullptr;
    HBITMAP section = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &pixels, NULL, 0);
    *bits = section ? static_cast<uint32_t*>(pixels) : nullptr;
    return section;
}
