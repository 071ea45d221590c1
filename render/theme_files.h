#pragma once
#include <stddef.h>
// The names a theme is made of, for the plug-in, the theme kit and the
// packaging script (which reads them from this file).
constexpr wchar_t THEMES_FOLDER_NAME[] = L"coverdeckTheme";
constexpr wchar_t THEME_INI_FILE[] = L"theme.ini";
constexpr wchar_t THEME_BACKGROUND_FILE[] = L"background.png";
constexpr wchar_t THEME_OVERLAY_FILE[] = L"overlay.png";
// The three, for whatever goes through all of them.
constexpr const wchar_t* THEME_FILES[] = {THEME_INI_FILE, THEME_BACKGROUND_FILE, THEME_OVERLAY_FILE};
// The longest of the three, for checks that every theme file's path fits.
constexpr wchar_t THEME_LONGEST_FILE[] = L"background.png";
// Characters in a name, without its terminating zero.
template <size_t N>
constexpr int NameLength(const wchar_t (&)[N]) { return static_cast<int>(N - 1); }
