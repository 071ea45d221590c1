#include "render/theme.h"
#include "render/frame_scale.h"
#include "render/prepared_theme.h"
#include "render/text_layer.h"
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

// The theme's cover slot in its own pixels.
ImageRect ThemeRect()
{
    if (displayState.theme[0] == L'\0')
        return BUILTIN_IMAGE_RECT;
    wchar_t path[MAX_PATH];
    if (!ThemeFilePath(path, THEME_INI_FILE))
        return {0, 0, 0, 0};
    return {static_cast<int>(GetPrivateProfileIntW(L"image", L"x", 0, path)),
            static_cast<int>(GetPrivateProfileIntW(L"image", L"y", 0, path)),
            static_cast<int>(GetPrivateProfileIntW(L"image", L"width", 0, path)),
            static_cast<int>(GetPrivateProfileIntW(L"image", L"height", 0, path))};
}

// The slot in window pixels: each value scaled and rounded on its own, as the
// background is, so the slot keeps its place on the scaled picture.
void ReadThemeRect()
{
    const ImageRect own = ThemeRect();
    displayState.imageRect = {ScaleToFrame(own.x), ScaleToFrame(own.y), ScaleToFrame(own.width),
                              ScaleToFrame(own.height)};
}

}  // namespace

void ReleaseThemePictures()
{
    displayState.background.Release();
    displayState.overlay.Release();
    ReleasePreparedTheme();
}

void LoadTheme(HWND window)
{
    // At most two passes: the chosen theme, then the built-in one. If even the
    // built-in background fails (no memory), there is nothing better to retry.
    // A background that loads but does not decode counts as missing: a 0 x 0
    // window would leave nothing to right-click, at this start and every next.
    const PreparedPicture* background = NULL;
    for (;;) {
        ReleaseThemePictures();
        ReadThemeRect();
        LoadThemePictures();
        background = PreparedBackground();
        if (background || displayState.theme[0] == L'\0')
            break;
        displayState.theme[0] = L'\0';
    }
    // Decoded now, once, rather than at the first presentation.
    PreparedOverlay();
    wchar_t ini[MAX_PATH];
    LoadTextLayer(displayState.theme[0] != L'\0' && ThemeFilePath(ini, THEME_INI_FILE) ? ini : nullptr);
    if (background)
        SetWindowPos(window, NULL, 0, 0, background->width, background->height,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}
