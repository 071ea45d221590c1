#pragma once
#include <string>
#include "tools/theme_kit/report.h"

// The longest plug-in folder below which the theme's files still have paths
// of at most 259 characters.
int LongestPluginFolder(const std::wstring& themeName);
void CheckFolderName(const std::wstring& themeName, Report& report);
// theme.ini, background.png and overlay.png are looked up by their fixed
// lower-case names.
void CheckFileNameCase(const std::wstring& folder, Report& report);
