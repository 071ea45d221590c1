#include "tools/theme_kit/picture_header.h"
#include <string.h>

namespace {

unsigned long BigEndian16(const unsigned char* p)
{
    return (static_cast<unsigned long>(p[0]) << 8) | p[1];
}

unsigned long BigEndian32(const unsigned char* p)
{
    return (BigEndian16(p) << 16) | BigEndian16(p + 2);
}

unsigned long LittleEndian16(const unsigned char* p)
{
    return p[0] | (static_cast<unsigned long>(p[1]) << 8);
}

unsigned long LittleEndian32(const unsigned char* p)
{
    return LittleEndian16(p) | (LittleEndian16(p + 2) << 16);
}

bool ReadPng(const unsigned char* bytes, size_t length, PictureHeader* header)
{
    static const unsigned char signature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (length < 24 || memcmp(bytes, signature, sizeof signature) != 0 || memcmp(bytes + 12, "IHDR", 4) != 0)
        return false;
    header->format = L"PNG";
    header->width = BigEndian32(bytes + 16);
    header->height = BigEndian32(bytes + 20);
    return true;
}

// A frame header (SOF0 to SOF15, less the three markers that share the range)
// holds the size; every other segment is skipped by its length.
bool IsFrameMarker(unsigned char marker)
{
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

bool IsStandaloneMarker(unsigned char marker)
{
    return marker == 0x01 || (marker >= 0xD0 && marker <= 0xD8);
}

bool ReadJpeg(const unsigned char* bytes, size_t length, PictureHeader* header)
{
    if (length < 4 || bytes[0] != 0xFF || bytes[1] != 0xD8)
        return false;
    size_t at = 2;
    while (at + 4 <= length) {
        if (bytes[at] != 0xFF)
            return false;
        const unsigned char marker = bytes[at + 1];
        if (marker == 0xFF) {  // fill byte
            ++at;
            continue;
        }
        if (IsStandaloneMarker(marker)) {
            at += 2;
            continue;
        }
        const size_t segment = BigEndian16(bytes + at + 2);
        if (segment < 2)
            return false;
        if (IsFrameMarker(marker)) {
            if (segment < 7 || at + 9 > length)
                return false;
            header->format = L"JPEG";
            header->height = BigEndian16(bytes + at + 5);
            header->width = BigEndian16(bytes + at + 7);
            return true;
        }
        if (segment > length - at - 2)
            return false;
        at += 2 + segment;
    }
    return false;
}

bool ReadGif(const unsigned char* bytes, size_t length, PictureHeader* header)
{
    if (length < 10 || (memcmp(bytes, "GIF87a", 6) != 0 && memcmp(bytes, "GIF89a", 6) != 0))
        return false;
    header->format = L"GIF";
    header->width = LittleEndian16(bytes + 6);
    header->height = LittleEndian16(bytes + 8);
    return true;
}

bool ReadBmp(const unsigned char* bytes, size_t length, PictureHeader* header)
{
    if (length < 26 || bytes[0] != 'B' || bytes[1] != 'M')
        return false;
    const unsigned long infoSize = LittleEndian32(bytes + 14);
    header->format = L"BMP";
    if (infoSize == 12) {  // the old core header: 16-bit sizes
        header->width = LittleEndian16(bytes + 18);
        header->height = LittleEndian16(bytes + 20);
        return true;
    }
    // Sizes are signed; a negative height means rows stored top-down.
    const long width = static_cast<long>(LittleEndian32(bytes + 18));
    const long height = static_cast<long>(LittleEndian32(bytes + 22));
    header->width = static_cast<unsigned long>(width < 0 ? -static_cast<long long>(width) : width);
    header->height = static_cast<unsigned long>(height < 0 ? -static_cast<long long>(height) : height);
    return true;
}

}  // namespace

bool ReadPictureHeader(const unsigned char* bytes, size_t length, PictureHeader* header)
{
    *header = PictureHeader();
    if (!bytes)
        return false;
    return ReadPng(bytes, length, header) || ReadJpeg(bytes, length, header) || ReadGif(bytes, length, header) ||
           ReadBmp(bytes, length, header);
}
