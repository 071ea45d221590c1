#include "support/picture_files.h"
#include "render/gdiplus_flat.h"
#include "support/test_support.h"

namespace {

const CLSID kPngEncoder = {0x557CF406, 0x1A04, 0x11D3, {0x9A, 0x73, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};

class GdiplusForCall {
public:
    GdiplusForCall()
    {
        Gdiplus::GdiplusStartupInput input;
        started = Gdiplus::GdiplusStartup(&token, &input, NULL) == Gdiplus::Ok;
    }
    ~GdiplusForCall()
    {
        if (started)
            Gdiplus::GdiplusShutdown(token);
    }
    bool started = false;

private:
    ULONG_PTR token = 0;
};

bool ReadPixels(GpBitmap* bitmap, Picture* picture)
{
    UINT width = 0, height = 0;
    GdipGetImageWidth(bitmap, &width);
    GdipGetImageHeight(bitmap, &height);
    picture->width = static_cast<int>(width);
    picture->height = static_cast<int>(height);
    picture->pixels.assign(static_cast<size_t>(width) * height, 0);
    for (UINT y = 0; y < height; ++y) {
        for (UINT x = 0; x < width; ++x) {
            Gdiplus::ARGB pixel = 0;
            if (GdipBitmapGetPixel(bitmap, static_cast<INT>(x), static_cast<INT>(y), &pixel) != Gdiplus::Ok)
                return false;
            picture->pixels[static_cast<size_t>(y) * width + x] = pixel;
        }
    }
    return true;
}

}  // namespace

bool LoadPicture(const std::wstring& path, Picture* picture)
{
    GdiplusForCall gdiplus;
    GpBitmap* bitmap = nullptr;
    if (!gdiplus.started || GdipCreateBitmapFromFile(path.c_str(), &bitmap) != Gdiplus::Ok)
        return false;
    bool read = ReadPixels(bitmap, picture);
    GdipDisposeImage(bitmap);
    return read;
}

std::vector<unsigned char> SolidColourPng(DWORD argb, int width, int height)
{
    std::vector<unsigned char> bytes;
    GdiplusForCall gdiplus;
    GpBitmap* bitmap = nullptr;
    if (!gdiplus.started ||
        GdipCreateBitmapFromScan0(width, height, 0, PixelFormat32bppARGB, NULL, &bitmap) != Gdiplus::Ok)
        return bytes;
    GpGraphics* graphics = nullptr;
    if (GdipGetImageGraphicsContext(bitmap, &graphics) == Gdiplus::Ok) {
        GdipGraphicsClear(graphics, argb);
        GdipDeleteGraphics(graphics);
        TempFolder scratch;
        std::wstring path = scratch / L"solid.png";
        if (GdipSaveImageToFile(bitmap, path.c_str(), &kPngEncoder, NULL) == Gdiplus::Ok)
            bytes = ReadBytes(path);
    }
    GdipDisposeImage(bitmap);
    return bytes;
}
