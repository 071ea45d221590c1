#include "screen_capture.h"
#include <vector>
#include "helpers/message_pump.h"
#include "helpers/pictures.h"
#include "state/owners.h"
#include "state/top_down_section.h"

namespace {

// How long a settled frame must stay the same, and the longest wait for one:
// a fade between covers runs for about 200 ms.
constexpr DWORD SETTLE_INTERVAL_MS = 40;
constexpr DWORD SETTLE_LIMIT_MS = 1500;

// What the screen shows inside `area`, copied into a bitmap of its own.
UniqueBitmap CopyScreenArea(HDC screen, const RECT& area)
{
    const int width = area.right - area.left, height = area.bottom - area.top;
    const UniqueMemoryDC memory(CreateCompatibleDC(screen));
    UniqueBitmap bitmap(CreateCompatibleBitmap(screen, width, height));
    if (!memory || !bitmap)
        return UniqueBitmap();
    ScopedSelect selected(memory.get(), bitmap.get());
    // CAPTUREBLT: layered windows are part of what the screen shows.
    if (!BitBlt(memory.get(), 0, 0, width, height, screen, area.left, area.top, SRCCOPY | CAPTUREBLT))
        return UniqueBitmap();
    return bitmap;
}

std::vector<uint32_t> ScreenPixels(const RECT& area)
{
    ScopedGetDC screen(NULL);
    const int width = area.right - area.left, height = area.bottom - area.top;
    std::vector<uint32_t> pixels(static_cast<size_t>(width) * height);
    UniqueBitmap copy = CopyScreenArea(screen.get(), area);
    BITMAPINFO info = TopDownInfo(width, height);
    if (!copy || !GetDIBits(screen.get(), copy.get(), 0, static_cast<UINT>(height), pixels.data(), &info, DIB_RGB_COLORS))
        pixels.clear();
    return pixels;
}

}  // namespace

bool CaptureScreenArea(const RECT& area, const wchar_t* pngPath)
{
    if (area.right <= area.left || area.bottom <= area.top)
        return false;
    ScopedGetDC screen(NULL);
    UniqueBitmap copy = CopyScreenArea(screen.get(), area);
    UniqueGdipBitmap picture;
    return copy && GdipCreateBitmapFromHBITMAP(copy.get(), NULL, picture.put()) == Gdiplus::Ok &&
           WritePng(pngPath, picture.get());
}

bool AwaitSettledScreenArea(const RECT& area)
{
    if (area.right <= area.left || area.bottom <= area.top)
        return false;
    std::vector<uint32_t> before = ScreenPixels(area);
    for (DWORD waited = 0; waited < SETTLE_LIMIT_MS; waited += SETTLE_INTERVAL_MS) {
        PumpFor(SETTLE_INTERVAL_MS);
        std::vector<uint32_t> now = ScreenPixels(area);
        if (now == before)
            return true;
        before.swap(now);
    }
    return false;
}
