#include <gtest/gtest.h>
#include <string.h>
#include <vector>
#include "cover/picture_signature.h"
#include "tests/support/tag_builder.h"

namespace {

// A copy of exactly their length: under ASan a read past the end is a fault.
PictureHeader HeaderOf(const Bytes& bytes)
{
    const Bytes exact(bytes.begin(), bytes.end());
    return ReadPictureHeader(exact.data(), exact.size());
}

Bytes Cut(Bytes bytes, size_t length)
{
    bytes.resize(length);
    return bytes;
}
Bytes Be16(uint32_t v) { return {uint8_t(v >> 8), uint8_t(v)}; }
Bytes Le16(uint32_t v) { return {uint8_t(v), uint8_t(v >> 8)}; }
Bytes Le32(uint32_t v) { return Le16(v & 0xFFFF) + Le16(v >> 16); }

Bytes Png(uint32_t w, uint32_t h, const char* firstChunk = "IHDR")
{
    return Bytes{0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A} + BigEndian(13) +
           Text(firstChunk) + BigEndian(w) + BigEndian(h) + Bytes{8, 6, 0, 0, 0};
}
// A segment: marker, then a length that counts itself and the payload.
Bytes Segment(uint8_t marker, const Bytes& payload)
{
    return Bytes{0xFF, marker} + Be16(static_cast<uint32_t>(payload.size() + 2)) + payload;
}
Bytes Frame(uint8_t marker, uint32_t w, uint32_t h)
{
    return Segment(marker, Bytes{8} + Be16(h) + Be16(w) + Bytes{3, 1, 0x22, 0, 2, 0x11, 1, 3, 0x11, 1});
}
const Bytes SOI = {0xFF, 0xD8};
const Bytes SCAN = Segment(0xDA, Bytes(10, 0));
const Bytes APP0 = Segment(0xE0, Bytes{'J', 'F', 'I', 'F', 0, 1, 1, 0, 0, 1, 0, 1, 0, 0});
// An Exif block as large as a segment can be, so the walk must skip it by its length.
const Bytes APP1 = Segment(0xE1, Bytes(65533, 0xC0));
const Bytes HUFFMAN = Segment(0xC4, Bytes(20, 0));
Bytes Gif(const char* version, uint32_t w, uint32_t h)
{
    return Bytes(version, version + 6) + Le16(w) + Le16(h) + Bytes{0xF7, 0, 0};
}
Bytes Bmp(int32_t w, int32_t h)
{
    return Bytes{'B', 'M'} + Le32(0) + Le32(0) + Le32(54) + Le32(40) + Le32(uint32_t(w)) + Le32(uint32_t(h)) +
           Le16(1) + Le16(32);
}
Bytes CoreBmp(uint32_t w, uint32_t h)
{
    return Bytes{'B', 'M'} + Le32(0) + Le32(0) + Le32(26) + Le32(12) + Le16(w) + Le16(h) + Le16(1) + Le16(24);
}

TEST(PictureSignature, FormatAndSizeComeFromTheHeaderAndOthersAreRefused)
{
    const PictureFormat NONE = PictureFormat::NONE, JPEG = PictureFormat::JPEG, PNG = PictureFormat::PNG;
    const struct {
        const char* name;
        Bytes bytes;
        PictureFormat format;
        uint32_t width, height;
    } cases[] = {
        {"png", Png(3000, 2000), PNG, 3000, 2000},
        {"png cut inside IHDR", Cut(Png(30, 20), 20), NONE, 0, 0},
        {"png without IHDR first", Png(30, 20, "tEXt"), NONE, 0, 0},
        {"baseline jpeg after JFIF, Exif and fill bytes", SOI + APP0 + APP1 + Bytes{0xFF, 0xFF} + HUFFMAN +
                                                              Frame(0xC0, 1500, 1000) + SCAN,
         JPEG, 1500, 1000},
        {"progressive jpeg", SOI + Frame(0xC2, 640, 480) + SCAN, JPEG, 640, 480},
        {"restart marker before the frame", SOI + Bytes{0xFF, 0xD0} + Frame(0xC1, 7, 9), JPEG, 7, 9},
        {"jpeg scan before any frame", SOI + APP0 + SCAN + Frame(0xC0, 10, 10), NONE, 0, 0},
        {"jpeg cut inside a segment", SOI + Cut(APP1, 100), NONE, 0, 0},
        {"jpeg frame header cut short", SOI + Bytes{0xFF, 0xC0, 0, 8, 8, 0, 10}, NONE, 0, 0},
        {"jpeg segment length below two", SOI + Bytes{0xFF, 0xE0, 0, 1} + Frame(0xC0, 10, 10), NONE, 0, 0},
        {"jpeg garbage where a marker belongs", SOI + APP0 + Bytes{0x12, 0x34}, NONE, 0, 0},
        {"gif87a", Gif("GIF87a", 320, 240), PictureFormat::GIF, 320, 240},
        {"gif89a", Gif("GIF89a", 65535, 1), PictureFormat::GIF, 65535, 1},
        {"gif unknown version", Gif("GIF90a", 32, 32), NONE, 0, 0},
        {"bmp bottom-up", Bmp(640, 480), PictureFormat::BMP, 640, 480},
        {"bmp top-down", Bmp(640, -480), PictureFormat::BMP, 640, 480},
        {"bmp of negative width", Bmp(-640, 480), NONE, 0, 0},
        {"bmp of the lowest height", Bmp(640, INT32_MIN), NONE, 0, 0},
        {"os/2 bmp", CoreBmp(100, 50), PictureFormat::BMP, 100, 50},
        {"bmp cut inside its header", Bytes{'B', 'M', 0, 0}, NONE, 0, 0},
        {"tiff", Bytes{'I', 'I', 42, 0, 8, 0, 0, 0}, NONE, 0, 0},
        {"icon", Bytes{0, 0, 1, 0, 1, 0, 32, 32}, NONE, 0, 0},
        {"placeable metafile", Bytes{0xD7, 0xCD, 0xC6, 0x9A, 0, 0}, NONE, 0, 0},
        {"enhanced metafile", Bytes{1, 0, 0, 0, 108, 0, 0, 0}, NONE, 0, 0},
        {"text", Bytes{'n', 'o', 't', ' ', 'a', ' ', 'p', 'n', 'g'}, NONE, 0, 0},
        {"empty", Bytes{}, NONE, 0, 0},
        {"two bytes of a jpeg", Bytes{0xFF, 0xD8}, NONE, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const PictureHeader header = HeaderOf(c.bytes);
        EXPECT_EQ(c.format, header.format);
        if (c.format != NONE) {
            EXPECT_EQ(c.width, header.width);
            EXPECT_EQ(c.height, header.height);
        }
    }
}

TEST(PictureSignature, PixelLimitAdmitsLargeCoversAndRefusesMore)
{
    const struct {
        PictureFormat format;
        uint32_t width, height;
        bool decodable;
    } cases[] = {
        {PictureFormat::JPEG, 3000, 3000, true},
        {PictureFormat::PNG, 4096, 4096, true},
        {PictureFormat::PNG, 4097, 4096, false},
        {PictureFormat::JPEG, 65535, 65535, false},
        {PictureFormat::PNG, 0x80000000u, 0x80000000u, false},  // the product wraps 32 bits
        {PictureFormat::GIF, 65535, 1, true},
        {PictureFormat::JPEG, 1000, 0, false},  // rows declared later, in a DNL segment
        {PictureFormat::BMP, 0, 10, false},
        {PictureFormat::NONE, 10, 10, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.decodable, IsDecodablePicture({c.format, c.width, c.height})) << c.width << "x" << c.height;
}

}  // namespace

// What a theme author is told a refused picture holds; unknown bytes and
// damaged headers of accepted formats name nothing.
TEST(PictureSignature, RefusedFormatsAreNamed)
{
    const struct {
        Bytes bytes;
        const char* format;
    } cases[] = {
        {Bytes{'I', 'I', 42, 0, 8, 0, 0, 0}, "TIFF"},
        {Text("RIFF") + Le32(100) + Text("WEBPVP8 "), "WebP"},
        {Bytes{0, 0, 1, 0, 1, 0, 32, 32}, "ICO"},
        {Bytes{0, 0, 0, 0x1C} + Text("ftypavif"), "AVIF"},
        {Text("8BPS") + Bytes(8, 0), "Photoshop"},
        {Text("not a png"), nullptr},
        {Cut(Png(30, 20), 20), nullptr},
    };
    for (const auto& c : cases) {
        const PictureHeader header = HeaderOf(c.bytes);
        EXPECT_EQ(PictureFormat::NONE, header.format);
        EXPECT_STREQ(c.format, header.refusedFormat);
        EXPECT_STREQ(c.format, PictureFormatName(header));
    }
}
