#pragma once
#include <windows.h>

// Reads the settings file beside the module (its path with ".ini"), moving the
// window to the saved position first, then the options into displayState.
void LoadSettings(HWND window);
// Writes the window position and the options back; "debug" is never written.
void SaveSettings(HWND window);
