#pragma once
#include <string>
#include "tools/theme_kit/plugin_frame.h"

// Checks the theme folder `folder` (a full path) and prints its findings and a
// summary line. Returns EXIT_NO_ERROR, EXIT_FOUND_ERROR or EXIT_TROUBLE.
// The plug-in's cover holder must hold the cover to time presentations with.
int CheckTheme(const PluginWindow& window, const std::wstring& folder);
