#pragma once
#include <string>
#include <vector>
#include "script.h"

struct HostOptions {
    std::wstring bassPath;    // empty: bass.dll beside the executable; "none": no library
    std::wstring pluginPath;  // empty: coverdeck.qpl beside the executable
    std::wstring wallpaper;   // a picture behind every window; empty: none
    std::vector<Step> steps;
};

// Reads the command line: --bass PATH|none, --plugin PATH, --wallpaper FILE,
// --script FILE, and
// steps after "--", one argument a step. On failure reports "error ..." on
// stderr and returns false.
bool ParseHostOptions(int argc, wchar_t** argv, HostOptions* options);
