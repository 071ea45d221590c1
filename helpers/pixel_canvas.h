#pragma once
#include <windows.h>
#include <stdint.h>
#include "helpers/pictures.h"
#include "state/owners.h"

struct Pixel {
    uint8_t b, g, r, a;
};

// A top-down 32-bit DIB section selected into a memory DC, zero-filled, to
// draw or compose into and read back.
class PixelCanvas {
public:
    PixelCanvas(int width, int height);
    PixelCanvas(const PixelCanvas&) = delete;
    PixelCanvas& operator=(const PixelCanvas&) = delete;
    bool ready() const { return bits != nullptr; }
    HDC dc() const { return memoryDc.get(); }
    int width() const { return w; }
    int height() const { return h; }
    // One pixel as drawn so far; zero outside the canvas.
    Pixel at(int x, int y) const;
    // Every pixel as 0xAARRGGBB, as drawn so far.
    Pixels Read() const;
    void Fill(uint32_t argb);

private:
    int w, h;
    uint32_t* bits = nullptr;
    UniqueMemoryDC memoryDc;
    UniqueBitmap bitmap;
    ScopedSelect selected;
};
