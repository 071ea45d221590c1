#pragma once
#include <stdint.h>
#include <string>
#include <vector>

// Tiny builders for ID3v2 tags and MP3 files, so each test shows its bytes.
// Header-only: the native tag tests use it as well as the Windows ones.
using Bytes = std::vector<uint8_t>;

inline Bytes operator+(Bytes a, const Bytes& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

inline Bytes Text(const std::string& s) { return Bytes(s.begin(), s.end()); }

inline Bytes Syncsafe(uint32_t v)
{
    return {uint8_t(v >> 21 & 0x7F), uint8_t(v >> 14 & 0x7F), uint8_t(v >> 7 & 0x7F), uint8_t(v & 0x7F)};
}

inline Bytes BigEndian(uint32_t v) { return {uint8_t(v >> 24), uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v)}; }

// A frame with an explicit size field, for sizes that lie.
inline Bytes FrameWithSize(const char* id, const Bytes& sizeField, const Bytes& payload, uint8_t formatFlags = 0)
{
    return Text(id) + sizeField + Bytes{0, formatFlags} + payload;
}

// Frames with true sizes: big-endian in ID3v2.3, syncsafe in ID3v2.4.
inline Bytes Frame3(const char* id, const Bytes& payload, uint8_t formatFlags = 0)
{
    return FrameWithSize(id, BigEndian(uint32_t(payload.size())), payload, formatFlags);
}

inline Bytes Frame4(const char* id, const Bytes& payload, uint8_t formatFlags = 0)
{
    return FrameWithSize(id, Syncsafe(uint32_t(payload.size())), payload, formatFlags);
}

// An APIC payload: text encoding, MIME type, front cover (3), description, picture.
inline Bytes Apic(const Bytes& picture, uint8_t encoding = 0, const std::string& description = "",
                  const std::string& mime = "image/jpeg")
{
    return Bytes{encoding} + Text(mime) + Bytes{0, 3} + Text(description) + Bytes{0} + picture;
}

// A tag header declaring `declaredSize` body bytes, followed by `body`.
inline Bytes TagWithSize(uint8_t major, uint8_t flags, uint32_t declaredSize, const Bytes& body,
                         uint8_t revision = 0)
{
    return Text("ID3") + Bytes{major, revision, flags} + Syncsafe(declaredSize) + body;
}

inline Bytes Tag(uint8_t major, uint8_t flags, const Bytes& body, uint8_t revision = 0)
{
    return TagWithSize(major, flags, uint32_t(body.size()), body, revision);
}

// Inserts a zero after every 0xFF, as a writer does for a whole unsynchronised tag.
inline Bytes Unsynchronise(const Bytes& plain)
{
    Bytes out;
    for (uint8_t b : plain) {
        out.push_back(b);
        if (b == 0xFF)
            out.push_back(0);
    }
    return out;
}

// MPEG audio frame headers and their frame lengths.
// MPEG-1 layer III, 128 kbit/s, 44100 Hz: 417-byte frames.
inline const Bytes MPEG1_LAYER3_HEADER = {0xFF, 0xFB, 0x90, 0x00};
constexpr size_t MPEG1_LAYER3_FRAME_LENGTH = 417;
// MPEG-2 layer III, 64 kbit/s, 22050 Hz, mono: 208-byte frames.
inline const Bytes MPEG2_LAYER3_HEADER = {0xFF, 0xF3, 0x80, 0xC0};
constexpr size_t MPEG2_LAYER3_FRAME_LENGTH = 208;
// MPEG-1 layer II, 128 kbit/s, 44100 Hz: the same length, another layer.
inline const Bytes MPEG1_LAYER2_HEADER = {0xFF, 0xFD, 0x90, 0x00};

// `count` silent frames behind `header`.
inline Bytes AudioFrames(int count, const Bytes& header = MPEG1_LAYER3_HEADER,
                         size_t length = MPEG1_LAYER3_FRAME_LENGTH)
{
    Bytes bytes;
    for (int i = 0; i < count; ++i) {
        bytes = bytes + header;
        bytes.resize(bytes.size() + length - header.size(), 0);
    }
    return bytes;
}

// An ID3v2.3 APIC frame carrying `png` as the front cover.
inline Bytes PictureFrame(const Bytes& png)
{
    return Frame3("APIC", Apic(png, 0, "", "image/png"));
}

// Two MPEG-1 layer III frames behind an ID3v2.3 tag holding `frames` and some
// padding: enough for the stand-in library to open an MP3 stream.
inline Bytes SmallMp3(const Bytes& frames = Bytes())
{
    return Tag(3, 0, frames + Bytes(16, 0)) + AudioFrames(2);
}
