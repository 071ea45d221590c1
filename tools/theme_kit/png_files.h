#pragma once
#include <string>
#include <vector>
#include "tools/theme_kit/plugin_frame.h"

// Writes straight (not premultiplied) ARGB pixels as a 32-bit PNG file.
bool WritePng(const std::wstring& path, const Pixels& pixels);
// The kit's own sample cover, 300 x 300, encoded as PNG.
std::vector<unsigned char> SampleCoverPng();
