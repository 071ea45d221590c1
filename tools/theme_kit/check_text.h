#pragma once
#include <windows.h>
#include <string>
#include "tools/theme_kit/report.h"

// Reports the now-playing text sections of the theme.ini at `path`: keys the
// plug-in does not read, a box that draws nothing or reaches outside the
// `background` (the theme's own pixels), a colour that does not read, a font
// that is not installed here, a size below 1.
void CheckThemeText(const std::wstring& path, SIZE background, Report& report);
