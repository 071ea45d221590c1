#include "cover/picture_signature.h"
#include <string.h>
#include "state/picture_limits.h"

namespace {

constexpr uint8_t PNG_SIGNATURE[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr size_t PNG_IHDR_END = 24;  // signature, chunk length and type, width, height
constexpr size_t GIF_SCREEN_END = 10;  // "GIF87a"/"GIF89a", then the logical screen's width and height
constexpr size_t BMP_FILE_HEADER = 14;
constexpr uint32_t BMP_CORE_HEADER = 12;  // the OS/2 header, whose sides are 16-bit
constexpr uint8_t JPEG_MARKER = 0xFF;
constexpr uint8_t JPEG_START_OF_SCAN = 0xDA;
// A frame header's precision byte, then its rows and columns.
constexpr size_t JPEG_FRAME_SIZE_END = 5;

uint32_t BigEndian16(const uint8_t* p) { return static_cast<uint32_t>(p[0]) << 8 | p[1]; }
uint32_t BigEndian32(const uint8_t* p) { return BigEndian16(p) << 16 | BigEndian16(p + 2); }
uint32_t LittleEndian16(const uint8_t* p) { return static_cast<uint32_t>(p[1]) << 8 | p[0]; }
uint32_t LittleEndian32(const uint8_t* p) { return LittleEndian16(p + 2) << 16 | LittleEndian16(p); }

bool ReadExactly(const PictureReader& reader, uint64_t offset, uint8_t* out, size_t count)
{
    return reader.ReadAt(offset, out, count) == count;
}

constexpr PictureHeader NO_PICTURE = {PictureFormat::NONE, 0, 0};

// Formats that other decoders (GDI+, WIC codecs) would take, or that a
// picture editor saves by default, none of which a cover or theme is made of.
struct RefusedSignature {
    size_t offset;
    const char* bytes;
    size_t length;
    const char* format;
};
constexpr RefusedSignature REFUSED_SIGNATURES[] = {
    {0, "II*\0", 4, "TIFF"},       {0, "MM\0*", 4, "TIFF"},          {8, "WEBP", 4, "WebP"},
    {0, "\0\0\1\0", 4, "ICO"},     {0, "\xD7\xCD\xC6\x9A", 4, "WMF"}, {40, " EMF", 4, "EMF"},
    {8, "avif", 4, "AVIF"},         {8, "heic", 4, "HEIF"},          {8, "mif1", 4, "HEIF"},
    {0, "\xFF\x0A", 2, "JPEG XL"},  {4, "JXL ", 4, "JPEG XL"},       {4, "jP  ", 4, "JPEG 2000"},
    {0, "8BPS", 4, "Photoshop"},    {0, "%PDF", 4, "PDF"},
};
constexpr size_t REFUSED_SIGNATURE_END = 44;

PictureHeader NameRefusedFormat(const PictureReader& reader)
{
    uint8_t start[REFUSED_SIGNATURE_END] = {};
    const size_t got = reader.ReadAt(0, start, sizeof start);
    PictureHeader refused = NO_PICTURE;
    for (const RefusedSignature& signature : REFUSED_SIGNATURES) {
        if (got >= signature.offset + signature.length &&
            memcmp(start + signature.offset, signature.bytes, signature.length) == 0) {
            refused.refusedFormat = signature.format;
            break;
        }
    }
    return refused;
}

PictureHeader ReadPng(const PictureReader& reader)
{
    uint8_t header[PNG_IHDR_END];
    if (!ReadExactly(reader, 0, header, sizeof header) || memcmp(header + 12, "IHDR", 4) != 0)
        return NO_PICTURE;
    return {PictureFormat::PNG, BigEndian32(header + 16), BigEndian32(header + 20)};
}

PictureHeader ReadGif(const PictureReader& reader)
{
    uint8_t header[GIF_SCREEN_END];
    if (!ReadExactly(reader, 0, header, sizeof header))
        return NO_PICTURE;
    return {PictureFormat::GIF, LittleEndian16(header + 6), LittleEndian16(header + 8)};
}

PictureHeader ReadBmp(const PictureReader& reader)
{
    uint8_t header[BMP_FILE_HEADER + 12];
    if (!ReadExactly(reader, 0, header, sizeof header))
        return NO_PICTURE;
    const uint8_t* info = header + BMP_FILE_HEADER;
    if (LittleEndian32(info) == BMP_CORE_HEADER)
        return {PictureFormat::BMP, LittleEndian16(info + 4), LittleEndian16(info + 6)};
    // A negative height stands for rows stored top-down; the width has no such meaning.
    const int32_t width = static_cast<int32_t>(LittleEndian32(info + 4));
    const int32_t height = static_cast<int32_t>(LittleEndian32(info + 8));
    if (width <= 0 || height == INT32_MIN)
        return NO_PICTURE;
    return {PictureFormat::BMP, static_cast<uint32_t>(width), static_cast<uint32_t>(height < 0 ? -height : height)};
}

// Start-of-frame markers: C0-CF except C4 (Huffman tables), C8 (reserved) and CC (arithmetic conditioning).
bool IsJpegFrameMarker(uint8_t marker)
{
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

// Markers without a length field: TEM and the restart markers.
bool IsStandaloneJpegMarker(uint8_t marker)
{
    return marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7);
}

// Walks the segments after SOI to the frame header. Every step moves forward
// by at least two bytes, and a read past the end stops the walk.
PictureHeader ReadJpeg(const PictureReader& reader)
{
    uint64_t offset = 2;
    for (;;) {
        uint8_t marker[2];
        if (!ReadExactly(reader, offset, marker, 2) || marker[0] != JPEG_MARKER)
            return NO_PICTURE;
        if (marker[1] == JPEG_MARKER) {  // fill byte before a marker
            offset += 1;
            continue;
        }
        offset += 2;
        if (IsStandaloneJpegMarker(marker[1]))
            continue;
        if (marker[1] == JPEG_START_OF_SCAN)
            return NO_PICTURE;
        uint8_t segment[2 + JPEG_FRAME_SIZE_END];
        if (!ReadExactly(reader, offset, segment, 2))
            return NO_PICTURE;
        const uint32_t length = BigEndian16(segment);
        if (length < 2)
            return NO_PICTURE;
        if (IsJpegFrameMarker(marker[1])) {
            if (length < sizeof segment || !ReadExactly(reader, offset, segment, sizeof segment))
                return NO_PICTURE;
            return {PictureFormat::JPEG, BigEndian16(segment + 5), BigEndian16(segment + 3)};
        }
        offset += length;
    }
}

}  // namespace

PictureHeader ReadPictureHeader(const PictureReader& reader)
{
    uint8_t start[sizeof PNG_SIGNATURE] = {};
    const size_t got = reader.ReadAt(0, start, sizeof start);
    if (got >= 3 && start[0] == 0xFF && start[1] == 0xD8 && start[2] == 0xFF)
        return ReadJpeg(reader);
    if (got == sizeof start && memcmp(start, PNG_SIGNATURE, sizeof start) == 0)
        return ReadPng(reader);
    if (got >= 6 && (memcmp(start, "GIF87a", 6) == 0 || memcmp(start, "GIF89a", 6) == 0))
        return ReadGif(reader);
    if (got >= 2 && start[0] == 'B' && start[1] == 'M')
        return ReadBmp(reader);
    return NameRefusedFormat(reader);
}

namespace {

class MemoryPictureReader : public PictureReader {
public:
    MemoryPictureReader(const uint8_t* bytes, size_t size) : bytes_(bytes), size_(size) {}
    size_t ReadAt(uint64_t offset, uint8_t* out, size_t count) const override
    {
        if (offset >= size_)
            return 0;
        const size_t n = count < size_ - offset ? count : static_cast<size_t>(size_ - offset);
        memcpy(out, bytes_ + offset, n);
        return n;
    }

private:
    const uint8_t* bytes_;
    size_t size_;
};

}  // namespace

PictureHeader ReadPictureHeader(const uint8_t* bytes, size_t size)
{
    return ReadPictureHeader(MemoryPictureReader(bytes, size));
}

const char* PictureFormatName(const PictureHeader& header)
{
    constexpr const char* NAMES[] = {nullptr, "JPEG", "PNG", "GIF", "BMP"};
    return header.format == PictureFormat::NONE ? header.refusedFormat : NAMES[static_cast<int>(header.format)];
}

bool IsDecodablePicture(const PictureHeader& header)
{
    return header.format != PictureFormat::NONE && header.width > 0 && header.height > 0 &&
           static_cast<uint64_t>(header.width) * header.height <= LARGEST_PICTURE_PIXELS;
}
