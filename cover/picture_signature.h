#pragma once
#include <stddef.h>
#include <stdint.h>

// What a picture's first bytes say it is, read before any decoder sees it:
// only the formats a cover or a theme is made of get through, and only up to
// LARGEST_PICTURE_PIXELS, so no other decoder is reached through a file named
// .jpg and no picture is decoded into more memory than the player can spare.
enum class PictureFormat { NONE, JPEG, PNG, GIF, BMP };

struct PictureHeader {
    PictureFormat format;
    uint32_t width, height;
    // With format NONE: the format the signature names when it is one the
    // gate knows and refuses ("TIFF", "WebP", ...), so that a theme author
    // learns why; null for anything else.
    const char* refusedFormat = nullptr;
};

// Random access to a picture's encoded bytes: fills `out` with up to `count`
// bytes from `offset` and returns how many there were.
class PictureReader {
public:
    virtual size_t ReadAt(uint64_t offset, uint8_t* out, size_t count) const = 0;

protected:
    ~PictureReader() = default;
};

// The format and size the header declares; format NONE when the signature is
// none of the four or the size cannot be read (a truncated header, a JPEG
// whose frame header is missing or declares no rows).
PictureHeader ReadPictureHeader(const PictureReader& reader);
// The same for a picture's bytes in memory.
PictureHeader ReadPictureHeader(const uint8_t* bytes, size_t size);
// "JPEG", "PNG", "GIF", "BMP", the refused format named, or null: what the
// gate found, for a person to read.
const char* PictureFormatName(const PictureHeader& header);

// True for a known format of at least one pixel and at most LARGEST_PICTURE_PIXELS.
bool IsDecodablePicture(const PictureHeader& header);
