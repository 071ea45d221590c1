#include "render/theme.h"
#include "render/held_picture.h"
#include "render/theme_files.h"
#include "resources/resource_ids.h"
#include "state/display_state.h"
#include "state/format_path.h"

namespace {

constexpr wchar_t PICTURE_RESOURCE_TYPE[] = L"PNG";
constexpr ImageRect BUILTIN_IMAGE_RECT = {2, 2, 100, 100};

// A path that does not fit comes back empty, which no load or INI read accepts.
// Without a themes root there is no theme file: "\\name\\..." would name the
// current drive's root folder.
bool ThemeFilePath(wchar_t (&path)[MAX_PATH], const wchar_t* fileName)
{
    path[0] = L'\0';
    if (displayState.themesRoot[0] == L'\0')
        return false;
    return FormatPath(path, L"%s\\%s\\%s", displayState.themesRoot, displayState.theme, fileName);
}

void LoadThemePictures()
{
    if (displayState.theme[0] == L'\0') {
        displayState.background.LoadFromResource(displayState.module, MAKEINTRESOURCEW(IDB_BACKGROUND),
                                                 PICTURE_RESOURCE_TYPE);
        displayState.overlay.LoadFromResource(displayState.module, MAKEINTRESOURCEW(IDB_OVERLAY),
                                              PICTURE_RESOURCE_TYPE);
        return;
    }
    wchar_t path[MAX_PATH];
    if (ThemeFilePath(path, THEME_BACKGROUND_FILE))
        displayState.background.LoadFromFile(path);
    if (ThemeFilePath(path, THEME_OVERLAY_FILE))
        displayState.overlay.LoadFromFile(path);
}

// The held background's size in pixels; false when it does not decode into
// a picture of at least one pixel.
bool DecodedBackgroundSize(UINT* width, UINT* height)
{
    *width = 0;
    *height = 0;
    UniqueGdipBitmap picture;
    if (DecodeHeldPicture(displayState.background, &picture) != Gdiplus::Ok)
        return false;
    GdipGetImageHeight(picture.get(), height);
    GdipGetImageWidth(picture.get(), width);
    return *width > 0 && *height > 0;
}

void ReadThemeRect()
{
    ImageRect& rect = displayState.imageRect;
    if (displayState.theme[0] == L'\0') {
        rect = BUILTIN_IMAGE_RECT;
        return;
    }
    wchar_t path[MAX_PATH];
    if (!ThemeFilePath(path, THEME_INI_FILE)) {
        rect = {0, 0, 0, 0};
        return;
    }
    rect.x = static_cast<int>(GetPrivateProfileIntW(L"image", L"x", 0, path));
    rect.y = static_cast<int>(GetPrivateProfileIntW(L"image", L"y", 0, path));
    rect.width = static_cast<int>(GetPrivateProfileIntW(L"image", L"width", 0, path));
    rect.height = static_cast<int>(GetPrivateProfileIntW(L"image", L"height", 0, path));
}

}  // namespace

void ReleaseThemePictures()
{
    displayState.background.Release();
    displayState.overlay.Release();
}

void LoadTheme(HWND window)
{
    // At most two passes: the chosen theme, then the built-in one. If even the
    // built-in background fails (no memory), there is nothing better to retry.
    // A background that loads but does not decode counts as missing: a 0 x 0
    // window would leave nothing to right-click, at this start and every next.
    UINT width = 0, height = 0;
    for (;;) {
        ReleaseThemePictures();
        ReadThemeRect();
        LoadThemePictures();
        bool usable = displayState.background.GetStream() && DecodedBackgroundSize(&width, &height);
        if (usable || displayState.theme[0] == L'\0')
            break;
        displayState.theme[0] = L'\0';
    }
    if (displayState.background.GetStream())
        SetWindowPos(window, NULL, 0, 0, static_cast<int>(width), static_cast<int>(height),
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}
