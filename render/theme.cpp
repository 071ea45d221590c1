#include "render/theme.h"
#include "state/display_state.h"

void ReleaseThemePictures()
{
    displayState.background.Release();
    displayState.overlay.Release();
}

void ReadThemeRect()
{
    displayState.imageRect = {2, 2, 100, 100};
}

void LoadTheme(HWND window)
{
    ReleaseThemePictures();
    ReadThemeRect();
    SetWindowPos(window, NULL, 0, 0, 112, 112, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}
