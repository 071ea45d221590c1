#pragma once
#include <windows.h>
#include <stdint.h>
#include <vector>
#include <string>
#include "render/gdiplus_flat.h"
#include "window/gdiplus_session.h"

// Pictures made and read with GDI+; each helper starts GDI+ for its call.

// An encoded picture of one solid colour (0xAARRGGBB) in the format of
// `mimeType` ("image/png", "image/jpeg"...). Empty when the encoder is missing.
// GIFs are written here: Wine's GIF encoder writes a header alone.
std::vector<unsigned char> EncodeSolidPicture(int width, int height, Gdiplus::ARGB colour,
                                              const wchar_t* mimeType = L"image/png");

// A picture whose pixels come from `colourAt(x, y)`, encoded as PNG with the
// given resolution in dots per inch.
template <typename ColourAt>
std::vector<unsigned char> EncodePngFrom(int width, int height, ColourAt colourAt, float dpi = 96.0f);
std::vector<unsigned char> EncodeBitmap(GpBitmap* bitmap, const wchar_t* mimeType);
// Rows of 0xAARRGGBB pixels, top-down, encoded as `mimeType`; fast for large pictures.
std::vector<unsigned char> EncodeArgbPixels(int width, int height, const std::vector<UINT32>& pixels,
                                            const wchar_t* mimeType);

// Pixels of a picture file as 0xAARRGGBB, row by row.
struct Picture {
    int width = 0, height = 0;
    std::vector<DWORD> pixels;
    DWORD At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};
bool LoadPicture(const std::wstring& path, Picture* picture);

struct Pixel {
    uint8_t b, g, r, a;
};

// A top-down 32-bit DIB section selected into a memory DC, zero-filled, to
// compose into and read back.
class PixelCanvas {
public:
    PixelCanvas(int width, int height);
    ~PixelCanvas();
    PixelCanvas(const PixelCanvas&) = delete;
    PixelCanvas& operator=(const PixelCanvas&) = delete;
    HDC dc() const { return memoryDc; }
    Pixel at(int x, int y) const;
    int width() const { return w; }
    int height() const { return h; }

private:
    int w, h;
    HDC memoryDc;
    HBITMAP bitmap;
    HGDIOBJ previous;
    const Pixel* bits;
};

template <typename ColourAt>
std::vector<unsigned char> EncodePngFrom(int width, int height, ColourAt colourAt, float dpi)
{
    GdiplusSession gdiplus;
    GpBitmap* bitmap = NULL;
    if (GdipCreateBitmapFromScan0(width, height, 0, PixelFormat32bppARGB, NULL, &bitmap) != Gdiplus::Ok)
        return {};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            GdipBitmapSetPixel(bitmap, x, y, colourAt(x, y));
    GdipBitmapSetResolution(bitmap, dpi, dpi);
    std::vector<unsigned char> bytes = EncodeBitmap(bitmap, L"image/png");
    GdipDisposeImage(bitmap);
    return bytes;
}
