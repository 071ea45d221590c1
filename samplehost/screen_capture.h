#pragma once
#include <windows.h>

// Saves what the screen shows inside `area` as a PNG file. GDI+ must be started.
bool CaptureScreenArea(const RECT& area, const wchar_t* pngPath);
// Waits, pumping this thread's messages, until what the screen shows inside
// `area` stays the same for a moment (a fade between covers has ended);
// false when it still changes after a second and a half.
bool AwaitSettledScreenArea(const RECT& area);
