#pragma once
#include <windows.h>
#include <string>
#include <vector>

// Pixels of a picture file as 0xAARRGGBB, row by row.
struct Picture {
    int width = 0, height = 0;
    std::vector<DWORD> pixels;
    DWORD At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

// Both start GDI+ for the call.
bool LoadPicture(const std::wstring& path, Picture* picture);
// The bytes of a PNG file of one colour (0xAARRGGBB); empty on failure.
std::vector<unsigned char> SolidColourPng(DWORD argb, int width, int height);
