#pragma once
#include <windows.h>

// Saves what the screen shows inside `area` as a PNG file. GDI+ must be started.
bool CaptureScreenArea(const RECT& area, const wchar_t* pngPath);
