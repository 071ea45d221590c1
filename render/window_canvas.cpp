#include "render/window_canvas.h"
#include <optional>

namespace {

constexpr int LOWEST_OPACITY = 10;
constexpr int FULL_OPACITY = 100;

std::optional<FrameCanvas> kept;

SIZE WindowSize(HWND window, POINT* at)
{
    RECT bounds = {};
    GetWindowRect(window, &bounds);
    if (at)
        *at = {bounds.left, bounds.top};
    return {bounds.right - bounds.left, bounds.bottom - bounds.top};
}

}  // namespace

const FrameCanvas* WindowCanvas(HWND window)
{
    const SIZE size = WindowSize(window, NULL);
    if (!kept || kept->pixels().width != size.cx || kept->pixels().height != size.cy) {
        kept.reset();
        ScopedGetDC screen(NULL);
        kept.emplace(screen.get(), static_cast<int>(size.cx), static_cast<int>(size.cy));
    }
    return kept->ready() ? &*kept : NULL;
}

void ShowWindowCanvas(HWND window)
{
    if (!kept || !kept->ready())
        return;
    POINT destination;
    SIZE size = WindowSize(window, &destination);
    if (size.cx != kept->pixels().width || size.cy != kept->pixels().height)
        return;
    GdiFlush();
    ScopedGetDC screen(NULL);
    POINT source = {0, 0};
    BLENDFUNCTION blend = {AC_SRC_OVER, 0, OpacityAlpha(), AC_SRC_ALPHA};
    UpdateLayeredWindow(window, screen.get(), &destination, &size, kept->dc(), &source, 0, &blend, ULW_ALPHA);
}

void ReleaseWindowCanvas()
{
    kept.reset();
}

BYTE OpacityAlpha()
{
    const int percent = displayState.opacity;
    if (percent < LOWEST_OPACITY || percent > FULL_OPACITY)
        return 255;
    return static_cast<BYTE>(percent * 255 / FULL_OPACITY);
}
