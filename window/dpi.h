#pragma once
#include <windows.h>

// The UI thread asks to be told each monitor's real DPI, so that Windows does
// not stretch its window (the player itself is DPI-unaware): per-monitor v2
// where the system knows it, else v1 (Wine 8 takes v1 only). The functions
// are looked up in user32 at run time, so the import table stays as it is and
// older Windows simply stays unaware; the host's threads are not touched.
typedef DPI_AWARENESS_CONTEXT(WINAPI* SetThreadDpiAwarenessContextFn)(DPI_AWARENESS_CONTEXT);

// Asks through `set` (null where the system has no such function); returns
// the context it was granted, or null when none was.
DPI_AWARENESS_CONTEXT RequestPerMonitorAwareness(SetThreadDpiAwarenessContextFn set);
// The same through user32's own function, for the calling thread.
void RequestPerMonitorAwarenessForThisThread();

// The window's DPI: GetDpiForWindow where user32 has it, else the screen's.
int WindowDpi(HWND window);
