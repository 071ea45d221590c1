#pragma once
// The checks of one theme's files, each reporting what it finds.
#include <windows.h>
#include <string>
#include <vector>
#include "state/display_state.h"
#include "tools/theme_kit/report.h"

// Whether all of `rect` lies inside a window of `size`.
bool WhollyInside(const ImageRect& rect, SIZE size);

// The longest plug-in folder below which the theme's files still have paths
// of at most 259 characters.
int LongestPluginFolder(const std::wstring& themeName);
void CheckFolderName(const std::wstring& themeName, Report& report);
// theme.ini, background.png and overlay.png are looked up by their fixed
// lower-case names.
void CheckFileNameCase(const std::wstring& folder, Report& report);

// What the INI reader gives: a value, spaces and quotes trimmed (`absent` when
// the key is not there); the file's section names, or a section's key names.
std::wstring IniValue(const std::wstring& path, const wchar_t* section, const wchar_t* key,
                      const wchar_t* absent = L"");
std::vector<std::wstring> IniNames(const std::wstring& path, const wchar_t* section = nullptr);

// The cover slot as the plug-in's INI reader gives it, and whether the file
// could be read at all (only then is the slot compared with the background).
struct SlotReading {
    bool read = false;
    ImageRect slot = {0, 0, 0, 0};
};
SlotReading CheckThemeIni(const std::wstring& folder, Report& report);

// Reports the now-playing text sections of the theme.ini at `path`: keys the
// plug-in does not read, a box that draws nothing or reaches outside the
// `background` (the theme's own pixels), a colour that does not read, a font
// that is not installed here, a size below 1.
void CheckThemeText(const std::wstring& path, SIZE background, Report& report);
