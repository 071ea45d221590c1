#pragma once
// The kit's commands. Each returns EXIT_NO_ERROR, EXIT_FOUND_ERROR or EXIT_TROUBLE.
#include <string>
#include "tools/theme_kit/kit_options.h"
#include "tools/theme_kit/plugin_frame.h"
#include "tools/theme_kit/report.h"

// Prints how the kit is used; returns EXIT_TROUBLE.
int Usage();
// Checks the theme folder `folder` (a full path) and prints its findings and a
// summary line. The plug-in's cover holder must hold the cover to time
// presentations with.
int CheckTheme(const LayeredPopup& window, const std::wstring& folder);
// Lists what the plug-in's menu would show for the themes folder `root` (a
// full path), then checks every folder in it. Returns the worst exit code.
int CheckAllThemes(const LayeredPopup& window, const std::wstring& root);
// Writes the frame the plug-in would present for a theme (the options are in the usage).
int PreviewTheme(const LayeredPopup& window, const KitArguments& arguments);
