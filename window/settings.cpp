#include "window/settings.h"
#include "state/display_state.h"

void LoadSettings(HWND)
{
    displayState.aspectratio = 1;
    displayState.snap = 1;
    displayState.attachedpicture = 1;
}

void SaveSettings(HWND) {}
