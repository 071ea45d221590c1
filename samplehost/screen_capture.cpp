#include "screen_capture.h"
#include "render/gdiplus_flat.h"

namespace {

// GDI+'s built-in PNG encoder.
const CLSID kPngEncoder = {0x557CF406, 0x1A04, 0x11D3, {0x9A, 0x73, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};

bool SaveBitmapAsPng(HBITMAP bitmap, const wchar_t* pngPath)
{
    GpBitmap* image = nullptr;
    if (GdipCreateBitmapFromHBITMAP(bitmap, NULL, &image) != Gdiplus::Ok)
        return false;
    bool saved = GdipSaveImageToFile(image, pngPath, &kPngEncoder, NULL) == Gdiplus::Ok;
    GdipDisposeImage(image);
    return saved;
}

}  // namespace

bool CaptureScreenArea(const RECT& area, const wchar_t* pngPath)
{
    int width = area.right - area.left, height = area.bottom - area.top;
    if (width <= 0 || height <= 0)
        return false;
    HDC screen = GetDC(NULL);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    bool saved = false;
    if (memory && bitmap) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        // CAPTUREBLT: layered windows are part of what the screen shows.
        BOOL copied = BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY | CAPTUREBLT);
        SelectObject(memory, old);
        saved = copied && SaveBitmapAsPng(bitmap, pngPath);
    }
    if (bitmap)
        DeleteObject(bitmap);
    if (memory)
        DeleteDC(memory);
    ReleaseDC(NULL, screen);
    return saved;
}
