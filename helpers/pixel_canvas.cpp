#include "helpers/pixel_canvas.h"
#include <algorithm>
#include "state/top_down_section.h"

PixelCanvas::PixelCanvas(int width, int height)
    : w(width), h(height), memoryDc(CreateCompatibleDC(NULL)),
      bitmap(memoryDc ? CreateTopDownSection(memoryDc.get(), width, height, &bits) : NULL),
      selected(memoryDc.get(), bitmap.get())
{
    Fill(0);
}

Pixel PixelCanvas::at(int x, int y) const
{
    GdiFlush();
    if (!bits || x < 0 || y < 0 || x >= w || y >= h)
        return Pixel{0, 0, 0, 0};
    const uint32_t value = bits[static_cast<size_t>(y) * w + x];
    return Pixel{static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8), static_cast<uint8_t>(value >> 16),
                 static_cast<uint8_t>(value >> 24)};
}

Pixels PixelCanvas::Read() const
{
    GdiFlush();
    Pixels pixels;
    if (!bits)
        return pixels;
    pixels.width = w;
    pixels.height = h;
    pixels.argb.assign(bits, bits + static_cast<size_t>(w) * h);
    return pixels;
}

void PixelCanvas::Fill(uint32_t argb)
{
    GdiFlush();
    if (bits)
        std::fill(bits, bits + static_cast<size_t>(w) * h, argb);
}
