#pragma once
#include <windows.h>

// Test seam: the settings file of a module: its file path with the extension replaced by
// ".ini" (added when the name has none). False, with `out` empty, when that
// path does not fit MAX_PATH or would name the module file itself.
bool SettingsPathOf(const wchar_t* modulePath, wchar_t (&out)[MAX_PATH]);
// The settings file of displayState.module.
bool SettingsPath(wchar_t (&out)[MAX_PATH]);
