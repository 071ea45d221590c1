#include "tools/theme_kit/plugin_frame.h"
#include <algorithm>
#include "helpers/stopwatch.h"
#include "render/frame.h"
#include "render/held_picture.h"
#include "render/prepared_cover.h"
#include "render/theme.h"
#include "state/format_path.h"
#include "tools/theme_kit/kit_files.h"
#include "render/theme_files.h"

bool LoadThemeFolder(HWND window, const std::wstring& folder)
{
    const std::wstring root = ParentOf(folder), name = LastComponent(folder);
    wchar_t longest[MAX_PATH];
    if (root.size() >= MAX_PATH || name.size() >= MAX_PATH ||
        !FormatPath(longest, L"%s\\%s\\%s", root.c_str(), name.c_str(), THEME_LONGEST_FILE))
        return false;
    displayState.module = GetModuleHandleW(NULL);
    lstrcpynW(displayState.themesRoot, root.c_str(), MAX_PATH);
    lstrcpynW(displayState.theme, name.c_str(), MAX_PATH);
    LoadTheme(window);
    return true;
}

bool FellBackToBuiltIn()
{
    return displayState.theme[0] == L'\0';
}

bool DecodeHeld(const ImageStreamHolder& holder, Pixels* pixels)
{
    UniqueGdipBitmap picture;
    return DecodeHeldPicture(holder, &picture) == Gdiplus::Ok && ReadBitmapPixels(picture.get(), pixels);
}

bool ComposeWindowFrame(const LayeredPopup& window, Pixels* frame)
{
    const int width = window.Size().cx, height = window.Size().cy;
    ScopedGetDC screen(NULL);
    FrameCanvas canvas(screen.get(), width, height);
    if (!canvas.ready())
        return false;
    ComposeFrame(canvas.dc());
    GdiFlush();
    const FramePixels& pixels = canvas.pixels();
    *frame = PixelsFrom(width, height, [&pixels](int x, int y) { return pixels.Row(y)[x]; });
    return true;
}

double PresentationMilliseconds(HWND window)
{
    // A cover change as the plug-in sees it: the cover is prepared afresh.
    const auto timedPresentation = [window] {
        ReleasePreparedCover();
        const Stopwatch stopwatch;
        PresentFrame(window);
        return stopwatch.Milliseconds();
    };
    // The first run also loads the decoders; a slow theme is measured by it alone.
    const double first = timedPresentation();
    if (first > 500.0)
        return first;
    double times[5];
    for (double& time : times)
        time = timedPresentation();
    std::sort(std::begin(times), std::end(times));
    return times[2];
}
