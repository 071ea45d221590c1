#pragma once
#include <stddef.h>

// What a picture file's header says, read without decoding it, so that a
// picture too large to decode can be refused before any memory is spent.
struct PictureHeader {
    const wchar_t* format = nullptr;  // L"PNG", L"JPEG", L"GIF", L"BMP"; null when not recognised
    unsigned long width = 0;
    unsigned long height = 0;
};

// False when the bytes are none of the four formats or end before the size.
bool ReadPictureHeader(const unsigned char* bytes, size_t length, PictureHeader* header);
