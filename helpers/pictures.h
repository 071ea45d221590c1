#pragma once
// Pictures made, encoded and read back through GDI+. The functions that take
// no GDI+ object start GDI+ for their call, so any thread may use them.
#include <stdint.h>
#include <string>
#include <vector>
#include "render/gdiplus_flat.h"
#include "state/owners.h"

// Pixels of one picture or frame, 0xAARRGGBB, row by row from the top.
struct Pixels {
    int width = 0, height = 0;
    std::vector<uint32_t> argb;
    uint32_t At(int x, int y) const { return argb[static_cast<size_t>(y) * width + x]; }
};

// `colourAt(x, y)` for every pixel of a width x height picture.
template <typename ColourAt>
Pixels PixelsFrom(int width, int height, ColourAt colourAt)
{
    Pixels pixels;
    pixels.width = width;
    pixels.height = height;
    pixels.argb.reserve(static_cast<size_t>(width) * height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            pixels.argb.push_back(colourAt(x, y));
    return pixels;
}

// A GDI+ bitmap over `pixels`' own memory, which must outlive it.
UniqueGdipBitmap BitmapOf(const Pixels& pixels);
// Straight ARGB pixels of a decoded bitmap; false when it has none.
bool ReadBitmapPixels(GpBitmap* bitmap, Pixels* pixels);
// Decodes a picture file; false when it does not decode.
bool LoadPicture(const std::wstring& path, Pixels* pixels);

// The bitmap encoded in the format of `mimeType` ("image/png", "image/jpeg"...);
// empty when GDI+ has no such encoder or encoding fails.
std::vector<unsigned char> EncodeBitmap(GpBitmap* bitmap, const wchar_t* mimeType);
// Straight ARGB pixels encoded, with the given resolution in dots per inch.
std::vector<unsigned char> EncodePixels(const Pixels& pixels, const wchar_t* mimeType = L"image/png",
                                        float dpi = 96.0f);
// Writes the pixels as a 32-bit PNG file.
bool WritePng(const std::wstring& path, const Pixels& pixels);
// Writes the bitmap as a PNG file.
bool WritePng(const std::wstring& path, GpBitmap* bitmap);

// One solid colour (0xAARRGGBB), encoded.
std::vector<unsigned char> EncodeSolidPicture(int width, int height, Gdiplus::ARGB colour,
                                              const wchar_t* mimeType = L"image/png");
// A PNG whose pixels come from `colourAt(x, y)`.
template <typename ColourAt>
std::vector<unsigned char> EncodePngFrom(int width, int height, ColourAt colourAt, float dpi = 96.0f)
{
    return EncodePixels(PixelsFrom(width, height, colourAt), L"image/png", dpi);
}
