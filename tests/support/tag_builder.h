#pragma once
#include <stdint.h>
#include <algorithm>
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

// FLAC, Vorbis and Opus files with pictures, built just far enough for the
// stand-in library (no audio, no page checksums).

// A FLAC picture block: big-endian type, MIME type, description, four size words, data.
inline Bytes PictureBlock(uint32_t type, const std::string& mime, const Bytes& data)
{
    return BigEndian(type) + BigEndian(uint32_t(mime.size())) + Text(mime) + BigEndian(1) + Text("d") +
           BigEndian(1) + BigEndian(1) + BigEndian(24) + BigEndian(0) + BigEndian(uint32_t(data.size())) + data;
}

inline std::string Base64(const Bytes& bytes)
{
    static const char ALPHABET[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    for (size_t i = 0; i < bytes.size(); i += 3) {
        size_t left = bytes.size() - i;
        uint32_t bits = uint32_t(bytes[i]) << 16 | (left > 1 ? bytes[i + 1] << 8 : 0) | (left > 2 ? bytes[i + 2] : 0);
        for (size_t k = 0; k < 4; ++k)
            out += k <= left ? ALPHABET[bits >> (18 - 6 * k) & 63] : '=';
    }
    return out;
}

inline std::string PictureComment(uint32_t type, const std::string& mime, const Bytes& data)
{
    return "METADATA_BLOCK_PICTURE=" + Base64(PictureBlock(type, mime, data));
}

// "fLaC", STREAMINFO of 44100 Hz stereo, then a PICTURE block for each body.
inline Bytes FlacFile(const std::vector<Bytes>& pictureBlocks)
{
    auto block = [](uint8_t type, const Bytes& body, bool last) {
        return Bytes{uint8_t(type | (last ? 0x80 : 0)), uint8_t(body.size() >> 16), uint8_t(body.size() >> 8),
                     uint8_t(body.size())} + body;
    };
    Bytes info(34, 0);
    info[10] = 0x0A, info[11] = 0xC4, info[12] = 0x42, info[13] = 0xF0;  // 44100 Hz, 2 channels, 16 bits
    Bytes file = Text("fLaC") + block(0, info, pictureBlocks.empty());
    for (size_t i = 0; i < pictureBlocks.size(); ++i)
        file = file + block(6, pictureBlocks[i], i + 1 == pictureBlocks.size());
    return file;
}

inline Bytes LittleEndian(uint32_t v) { return {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)}; }

// Ogg pages of at most `segmentsPerPage` lacing values, so a packet may span pages.
inline Bytes OggPages(const std::vector<Bytes>& packets, size_t segmentsPerPage = 255)
{
    Bytes lacing, body;
    for (const Bytes& packet : packets) {
        for (size_t left = packet.size();; left -= 255) {
            lacing.push_back(uint8_t(left < 255 ? left : 255));
            if (left < 255)
                break;
        }
        body = body + packet;
    }
    Bytes file;
    size_t at = 0;
    for (size_t first = 0, page = 0; first < lacing.size(); first += segmentsPerPage, ++page) {
        size_t count = std::min(segmentsPerPage, lacing.size() - first);
        size_t length = 0;
        for (size_t i = first; i < first + count; ++i)
            length += lacing[i];
        file = file + Text("OggS") + Bytes{0, uint8_t(first ? 0 : 2)} + Bytes(8, 0) + LittleEndian(0x5EED) +
               LittleEndian(uint32_t(page)) + Bytes(4, 0) + Bytes{uint8_t(count)} +
               Bytes(lacing.begin() + first, lacing.begin() + first + count) +
               Bytes(body.begin() + at, body.begin() + at + length);
        at += length;
    }
    return file;
}

// An Ogg Vorbis ("vorbis") or Opus ("opus") file's header pages with these comments.
inline Bytes OggFile(const std::string& codec, const std::vector<std::string>& comments, size_t segmentsPerPage = 255)
{
    bool opus = codec == "opus";
    Bytes identification = opus ? Text("OpusHead") + Bytes{1, 2, 0x38, 1} + LittleEndian(44100) + Bytes{0, 0, 0}
                                : Text("\x01vorbis") + LittleEndian(0) + Bytes{2} + LittleEndian(44100) + Bytes(13, 0) +
                                      Bytes{1};
    Bytes tags = Text(opus ? "OpusTags" : "\x03vorbis") + LittleEndian(4) + Text("test") +
                 LittleEndian(uint32_t(comments.size()));
    for (const std::string& comment : comments)
        tags = tags + LittleEndian(uint32_t(comment.size())) + Text(comment);
    if (!opus)
        tags.push_back(1);  // framing bit
    return OggPages({identification, tags}, segmentsPerPage);
}
