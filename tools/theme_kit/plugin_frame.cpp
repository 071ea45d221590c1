#include "tools/theme_kit/plugin_frame.h"
#include <algorithm>
#include "render/frame.h"
#include "render/held_picture.h"
#include "render/prepared_cover.h"
#include "render/theme.h"
#include "state/format_path.h"
#include "tools/theme_kit/kit_files.h"
#include "render/theme_files.h"

namespace {

constexpr wchar_t KIT_WINDOW_CLASS[] = L"coverdeck_theme_kit";

}  // namespace

PluginWindow::PluginWindow()
{
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(NULL);
    windowClass.lpszClassName = KIT_WINDOW_CLASS;
    RegisterClassW(&windowClass);
    window.reset(CreateWindowExW(WS_EX_LAYERED | WS_EX_TOOLWINDOW, KIT_WINDOW_CLASS, KIT_WINDOW_CLASS, WS_POPUP, 0, 0,
                                 1, 1, NULL, NULL, GetModuleHandleW(NULL), NULL));
}

PluginWindow::~PluginWindow()
{
    window.reset();  // the class goes after its last window
    UnregisterClassW(KIT_WINDOW_CLASS, GetModuleHandleW(NULL));
}

SIZE PluginWindow::Size() const
{
    RECT bounds = {};
    GetWindowRect(window.get(), &bounds);
    return SIZE{bounds.right - bounds.left, bounds.bottom - bounds.top};
}

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

namespace {

bool ReadBitmapPixels(GpBitmap* bitmap, Pixels* pixels)
{
    UINT width = 0, height = 0;
    GdipGetImageWidth(bitmap, &width);
    GdipGetImageHeight(bitmap, &height);
    Gdiplus::BitmapData data = {};
    Gdiplus::GpRect all(0, 0, static_cast<INT>(width), static_cast<INT>(height));
    if (width == 0 || height == 0 ||
        GdipBitmapLockBits(bitmap, &all, Gdiplus::ImageLockModeRead, PixelFormat32bppARGB, &data) != Gdiplus::Ok)
        return false;
    pixels->width = static_cast<int>(width);
    pixels->height = static_cast<int>(height);
    pixels->argb.resize(static_cast<size_t>(width) * height);
    for (UINT y = 0; y < height; ++y) {
        const BYTE* row = static_cast<const BYTE*>(data.Scan0) + static_cast<ptrdiff_t>(y) * data.Stride;
        std::copy_n(reinterpret_cast<const uint32_t*>(row), width, pixels->argb.begin() + static_cast<size_t>(y) * width);
    }
    GdipBitmapUnlockBits(bitmap, &data);
    return true;
}

}  // namespace

bool DecodeHeld(const ImageStreamHolder& holder, Pixels* pixels)
{
    UniqueGdipBitmap picture;
    return DecodeHeldPicture(holder, picture.put()) == Gdiplus::Ok && ReadBitmapPixels(picture.get(), pixels);
}

namespace {

// Copies the canvas into a top-down 32-bit section of the kit's own, alpha
// included: the canvas's bitmap cannot be read while it is selected.
bool CopyCanvas(HDC canvasDc, int width, int height, Pixels* frame)
{
    BITMAPINFO format = {};
    format.bmiHeader.biSize = sizeof format.bmiHeader;
    format.bmiHeader.biWidth = width;
    format.bmiHeader.biHeight = -height;
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    void* bits = NULL;
    const UniqueBitmap copy(CreateDIBSection(canvasDc, &format, DIB_RGB_COLORS, &bits, NULL, 0));
    const UniqueMemoryDC copyDc(CreateCompatibleDC(canvasDc));
    if (!copy || !copyDc || !bits)
        return false;
    bool copied;
    {
        const ScopedSelect selected(copyDc.get(), copy.get());
        copied = BitBlt(copyDc.get(), 0, 0, width, height, canvasDc, 0, 0, SRCCOPY) != FALSE;
        GdiFlush();
    }
    const uint32_t* first = static_cast<const uint32_t*>(bits);
    frame->width = width;
    frame->height = height;
    frame->argb.assign(first, first + static_cast<size_t>(width) * height);
    return copied;
}

}  // namespace

bool ComposeWindowFrame(HWND window, Pixels* frame)
{
    RECT bounds = {};
    GetWindowRect(window, &bounds);
    const int width = bounds.right - bounds.left, height = bounds.bottom - bounds.top;
    ScopedGetDC screen(NULL);
    FrameCanvas canvas(screen.get(), width, height);
    if (!canvas.ready())
        return false;
    ComposeFrame(canvas.dc());
    return CopyCanvas(canvas.dc(), width, height, frame);
}

namespace {

// A cover change as the plug-in sees it: the cover is prepared afresh.
double TimedPresentation(HWND window)
{
    ReleasePreparedCover();
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    PresentFrame(window);
    QueryPerformanceCounter(&end);
    return 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
}

}  // namespace

double PresentationMilliseconds(HWND window)
{
    // The first run also loads the decoders; a slow theme is measured by it alone.
    const double first = TimedPresentation(window);
    if (first > 500.0)
        return first;
    std::vector<double> times;
    double spent = 0;
    while (times.size() < 9 && (times.size() < 3 || spent < 1000.0)) {
        times.push_back(TimedPresentation(window));
        spent += times.back();
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}
