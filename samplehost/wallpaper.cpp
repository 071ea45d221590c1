#include "wallpaper.h"
#include "render/gdiplus_flat.h"
#include "state/owners.h"

namespace {

constexpr wchar_t WALLPAPER_CLASS[] = L"quaver_host_wallpaper";

// Owned by the wallpaper window; freed with it.
UniqueGdipImage wallpaperPicture;

void Paint(HWND window)
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    RECT client;
    GetClientRect(window, &client);
    UniqueGdipGraphics graphics;
    if (wallpaperPicture && GdipCreateFromHDC(dc, graphics.put()) == Gdiplus::Ok)
        GdipDrawImageRectI(graphics.get(), wallpaperPicture.get(), 0, 0, client.right, client.bottom);
    EndPaint(window, &paint);
}

LRESULT CALLBACK WallpaperProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT:
        Paint(window);
        return 0;
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    case WM_WINDOWPOSCHANGING:
        // Whatever is shown or clicked, the wallpaper stays at the bottom.
        reinterpret_cast<WINDOWPOS*>(lParam)->hwndInsertAfter = HWND_BOTTOM;
        return 0;
    case WM_DESTROY:
        wallpaperPicture.reset();
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace

bool ShowWallpaper(const wchar_t* picturePath)
{
    if (wallpaperPicture)
        return false;
    if (GdipLoadImageFromFile(picturePath, wallpaperPicture.put()) != Gdiplus::Ok) {
        wallpaperPicture.release();
        return false;
    }
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = WallpaperProc;
    windowClass.hInstance = GetModuleHandleW(NULL);
    windowClass.lpszClassName = WALLPAPER_CLASS;
    RegisterClassW(&windowClass);
    HWND window = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE | WS_EX_LAYERED | WS_EX_TRANSPARENT, WALLPAPER_CLASS, L"", WS_POPUP, 0, 0,
                                  GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), NULL, NULL,
                                  windowClass.hInstance, NULL);
    if (!window) {
        wallpaperPicture.reset();
        return false;
    }
    // Layered and transparent: clicks pass through to the windows above. Seen
    // under Wine with a compositing manager: without this, a right click on
    // the plug-in's window sometimes went to the wallpaper instead.
    SetLayeredWindowAttributes(window, 0, 255, LWA_ALPHA);
    SetWindowPos(window, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    UpdateWindow(window);
    return true;
}
