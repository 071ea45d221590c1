#pragma once
#include <stddef.h>

// Above this the kit does not read a picture file at all.
constexpr size_t PICTURE_FILE_LIMIT = 64u << 20;
// A theme.ini holds a handful of lines.
constexpr size_t THEME_INI_FILE_LIMIT = 1u << 20;

// Where a listener's plug-ins typically live; the theme folders go below it.
constexpr wchar_t TYPICAL_PLUGIN_FOLDER[] = L"C:\\Program Files (x86)\\Quaver\\Plugins";

// One presentation slower than this is a pause a listener notices: about a
// tenth of a second is where a response stops feeling immediate.
constexpr double NOTICEABLE_PRESENTATION_MS = 100.0;
