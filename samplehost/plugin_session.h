#pragma once
#include <windows.h>

constexpr wchar_t PLUGIN_WINDOW_CLASS[] = L"coverdeck_class_U";

HWND FindPluginWindow();
// Sends EVENT_INIT, reports "init R", and waits for the plug-in's window to be
// shown (it is made on the plug-in's own thread), reporting "window ...".
bool StartPlugin();
// Sends EVENT_QUIT and reports "quit R"; nothing once the plug-in is unloaded.
void StopPlugin();
// Reports "window LEFT TOP WIDTH HEIGHT", or "window none".
void ReportPluginWindow();
// Windows of the plug-in's class that this process still owns.
unsigned CountPluginWindows();
