#pragma once
#include <string>
#include <vector>
#include "cover/picture_signature.h"
#include "tools/theme_kit/report.h"

// A theme picture as found on disk, before the plug-in loads it.
struct PictureFile {
    PictureHeader header = {PictureFormat::NONE, 0, 0};  // as the plug-in reads it
    bool passesGate = false;  // the plug-in's gate hands it to the decoder
    bool tooLarge = false;    // refused by the plug-in and so by the kit: not decoded
};

// Reads the picture's header and reports a missing (background only),
// unreadable, oversized or mis-named picture.
PictureFile InspectThemePicture(const std::wstring& folder, const wchar_t* name, Report& report);
// The same limits for a cover or backdrop given to preview; false with a
// message on standard error when the file is refused.
bool ReadPictureArgument(const std::wstring& path, const wchar_t* role, std::vector<unsigned char>* bytes);
