#pragma once
#include <string.h>
#include "cover/byte_reader.h"
#include "tag_builder.h"

// Tiny builders for the containers the plug-in reads from the file itself
// (MP4 boxes, ASF objects, APEv2 items, RIFF and IFF chunks), and a reader
// over bytes in memory. Header-only, for the native and the Windows tests.

class MemoryReader : public ByteReader {
public:
    explicit MemoryReader(const Bytes& bytes, uint64_t claimedLength = 0)
        : bytes(bytes), claimed(claimedLength ? claimedLength : bytes.size()) {}
    uint64_t Length() const override { return claimed; }
    size_t Read(uint64_t position, void* out, size_t count) const override
    {
        ++reads;
        if (position >= bytes.size())
            return 0;
        size_t got = static_cast<size_t>(std::min<uint64_t>(count, bytes.size() - position));
        bytesRead += got;
        memcpy(out, bytes.data() + position, got);
        return got;
    }
    mutable int reads = 0;
    mutable uint64_t bytesRead = 0;

private:
    const Bytes& bytes;
    uint64_t claimed;  // a length beyond the bytes stands for a file that was cut short
};

inline Bytes LittleEndian16(uint16_t v) { return {uint8_t(v), uint8_t(v >> 8)}; }
inline Bytes LittleEndian64(uint64_t v) { return LittleEndian(uint32_t(v)) + LittleEndian(uint32_t(v >> 32)); }

// MP4: a box with a true 32-bit size; meta as a full box unless told.
inline Bytes Box(const char* type, const Bytes& payload)
{
    return BigEndian(uint32_t(payload.size() + 8)) + Text(type) + payload;
}
inline Bytes CoverData(const Bytes& picture, uint32_t type = 13) { return Box("data", BigEndian(type) + Bytes(4, 0) + picture); }
inline Bytes Mp4Moov(const Bytes& ilstItems, bool metaFullBox = true)
{
    Bytes hdlr = Box("hdlr", Bytes(8, 0) + Text("mdirappl") + Bytes(9, 0));
    Bytes meta = Box("meta", (metaFullBox ? Bytes(4, 0) : Bytes()) + hdlr + Box("ilst", ilstItems));
    return Box("moov", Box("mvhd", Bytes(100, 0)) + Box("udta", meta));
}
inline Bytes Mp4File(const Bytes& moov, const Bytes& mdat = Bytes(64, 0x55))
{
    return Box("ftyp", Text("M4A ") + Bytes(4, 0) + Text("M4A mp42isom")) + Box("mdat", mdat) + moov;
}

// ASF: GUIDs as stored (first three fields little-endian).
inline const Bytes ASF_HEADER_GUID = {0x30, 0x26, 0xB2, 0x75, 0x8E, 0x66, 0xCF, 0x11,
                                      0xA6, 0xD9, 0x00, 0xAA, 0x00, 0x62, 0xCE, 0x6C};
inline const Bytes ASF_CONTENT_GUID = {0x40, 0xA4, 0xD0, 0xD2, 0x07, 0xE3, 0xD2, 0x11,
                                       0x97, 0xF0, 0x00, 0xA0, 0xC9, 0x5E, 0xA8, 0x50};
inline const Bytes ASF_EXTENSION_GUID = {0xB5, 0x03, 0xBF, 0x5F, 0x2E, 0xA9, 0xCF, 0x11,
                                         0x8E, 0xE3, 0x00, 0xC0, 0x0C, 0x20, 0x53, 0x65};
inline const Bytes ASF_LIBRARY_GUID = {0x94, 0x1C, 0x23, 0x44, 0x98, 0x94, 0xD1, 0x49,
                                       0xA1, 0x41, 0x1D, 0x13, 0x4E, 0x45, 0x70, 0x54};
inline Bytes AsfObject(const Bytes& guid, const Bytes& payload) { return guid + LittleEndian64(payload.size() + 24) + payload; }
inline Bytes Utf16z(const std::string& ascii)
{
    Bytes out;
    for (char c : ascii)
        out = out + Bytes{uint8_t(c), 0};
    return out + Bytes{0, 0};
}
inline Bytes WmPicture(uint8_t type, const Bytes& picture)
{
    return Bytes{type} + LittleEndian(uint32_t(picture.size())) + Utf16z("image/png") + Utf16z("") + picture;
}
// Extended Content Description with byte-array attributes.
inline Bytes AsfContent(const std::vector<std::pair<std::string, Bytes>>& attributes)
{
    Bytes payload = LittleEndian16(uint16_t(attributes.size()));
    for (const auto& [name, value] : attributes)
        payload = payload + LittleEndian16(uint16_t(Utf16z(name).size())) + Utf16z(name) + LittleEndian16(1) +
                  LittleEndian16(uint16_t(value.size())) + value;
    return AsfObject(ASF_CONTENT_GUID, payload);
}
// A Header Extension holding a Metadata Library with the given byte-array records.
inline Bytes AsfLibrary(const std::vector<std::pair<std::string, Bytes>>& records)
{
    Bytes payload = LittleEndian16(uint16_t(records.size()));
    for (const auto& [name, value] : records)
        payload = payload + Bytes(4, 0) + LittleEndian16(uint16_t(Utf16z(name).size())) + LittleEndian16(1) +
                  LittleEndian(uint32_t(value.size())) + Utf16z(name) + value;
    Bytes library = AsfObject(ASF_LIBRARY_GUID, payload);
    return AsfObject(ASF_EXTENSION_GUID, Bytes(18, 0) + LittleEndian(uint32_t(library.size())) + library);
}
inline Bytes AsfFile(const Bytes& objects, uint32_t count = 1)
{
    return AsfObject(ASF_HEADER_GUID, LittleEndian(count) + Bytes{1, 2} + objects) + Bytes(50, 0);
}

// APEv2: items, then a 32-byte footer (the size counts items and footer).
inline Bytes ApeItem(const std::string& key, const Bytes& value, uint32_t flags = 2)
{
    return LittleEndian(uint32_t(value.size())) + LittleEndian(flags) + Text(key) + Bytes{0} + value;
}
inline Bytes ApeCoverValue(const Bytes& picture) { return Text("cover.png") + Bytes{0} + picture; }
inline Bytes ApeTag(const std::vector<Bytes>& items)
{
    Bytes body;
    for (const Bytes& item : items)
        body = body + item;
    return body + Text("APETAGEX") + LittleEndian(2000) + LittleEndian(uint32_t(body.size() + 32)) +
           LittleEndian(uint32_t(items.size())) + Bytes(12, 0);
}
inline Bytes Id3v1Tag() { return Text("TAG") + Bytes(125, 0x20); }

// RIFF (little-endian sizes) and IFF (big-endian): chunks padded to an even size.
inline Bytes RiffChunk(const char* id, const Bytes& payload)
{
    return Text(id) + LittleEndian(uint32_t(payload.size())) + payload + Bytes(payload.size() & 1, 0);
}
inline Bytes IffChunk(const char* id, const Bytes& payload)
{
    return Text(id) + BigEndian(uint32_t(payload.size())) + payload + Bytes(payload.size() & 1, 0);
}
inline Bytes WavFile(const Bytes& chunks) { return Text("RIFF") + LittleEndian(uint32_t(chunks.size() + 4)) + Text("WAVE") + chunks; }
inline Bytes AiffFile(const Bytes& chunks, const char* form = "AIFF")
{
    return Text("FORM") + BigEndian(uint32_t(chunks.size() + 4)) + Text(form) + chunks;
}
