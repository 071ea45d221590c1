#pragma once
#include <string>
#include "tools/theme_kit/plugin_frame.h"

// Lists what the plug-in's menu would show for the themes folder `root` (a
// full path), then checks every folder in it. Returns the worst exit code.
int CheckAllThemes(const PluginWindow& window, const std::wstring& root);
