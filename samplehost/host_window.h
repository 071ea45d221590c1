#pragma once
#include <windows.h>

// The player's main window: class "Quaver", Unicode, placed clear of the
// plug-in's default spot at the top left.
HWND CreateHostWindow(HINSTANCE instance);
