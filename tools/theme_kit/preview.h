#pragma once
#include <string>
#include "tools/theme_kit/kit_options.h"
#include "tools/theme_kit/plugin_frame.h"

// preview DIR OUT.png [--cover FILE] [--aspect on|off] [--backdrop checker|#RRGGBB|FILE]
//         [--title T] [--artist A] [--album A]
// Writes the frame the plug-in would present for the theme; returns an exit code.
int PreviewTheme(const PluginWindow& window, const KitArguments& arguments);
