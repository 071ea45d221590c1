#include "screen_capture.h"
#include "helpers/pictures.h"
#include "state/owners.h"

bool CaptureScreenArea(const RECT& area, const wchar_t* pngPath)
{
    int width = area.right - area.left, height = area.bottom - area.top;
    if (width <= 0 || height <= 0)
        return false;
    ScopedGetDC screen(NULL);
    const UniqueMemoryDC memory(CreateCompatibleDC(screen.get()));
    const UniqueBitmap bitmap(CreateCompatibleBitmap(screen.get(), width, height));
    if (!memory || !bitmap)
        return false;
    BOOL copied;
    {
        ScopedSelect selected(memory.get(), bitmap.get());
        // CAPTUREBLT: layered windows are part of what the screen shows.
        copied = BitBlt(memory.get(), 0, 0, width, height, screen.get(), area.left, area.top, SRCCOPY | CAPTUREBLT);
    }
    UniqueGdipBitmap picture;
    return copied && GdipCreateBitmapFromHBITMAP(bitmap.get(), NULL, picture.put()) == Gdiplus::Ok &&
           WritePng(pngPath, picture.get());
}
