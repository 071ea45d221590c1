#pragma once
#include <stdint.h>
#include <string>
#include <vector>

// Tiny builders for ID3v2 tags, so each test shows its bytes.
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

inline Bytes Apic(const Bytes& picture, uint8_t encoding = 0, const std::string& description = "")
{
    return Bytes{encoding} + Text("image/jpeg") + Bytes{0, 3} + Text(description) + Bytes{0} + picture;
}

inline Bytes Tag(uint8_t major, uint8_t flags, const Bytes& body, uint8_t revision = 0)
{
    return Text("ID3") + Bytes{major, revision, flags} + Syncsafe(uint32_t(body.size())) + body;
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
