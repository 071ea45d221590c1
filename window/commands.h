#pragma once
#include <windows.h>

// Carries out a WM_COMMAND from any sender (the context menu, or anyone who
// sends the display window a menu id); ids it does not know are ignored.
void OnCommand(HWND window, int id);
