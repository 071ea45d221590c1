#pragma once
#include <string>
#include "state/display_state.h"
#include "tools/theme_kit/report.h"

// The cover slot as the plug-in's INI reader gives it, and whether the file
// could be read at all (only then is the slot compared with the background).
struct SlotReading {
    bool read = false;
    ImageRect slot = {0, 0, 0, 0};
};

SlotReading CheckThemeIni(const std::wstring& folder, Report& report);
