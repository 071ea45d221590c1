#include "flac_metadata.h"
#include "ogg_headers.h"
#include <stdlib.h>
#include <string.h>
#include <vector>

namespace {

constexpr uint8_t BLOCK_STREAMINFO = 0;
constexpr uint8_t BLOCK_VORBIS_COMMENT = 4;
constexpr uint8_t BLOCK_PICTURE = 6;
constexpr uint8_t LAST_BLOCK = 0x80;
constexpr size_t BLOCK_HEADER_LENGTH = 4;
constexpr size_t STREAMINFO_LENGTH = 34;
// More than any file carries; a stream of junk blocks ends here.
constexpr int MAX_BLOCKS = 1024;
constexpr uint32_t MAX_PICTURES = 256;

uint32_t BigEndian(const uint8_t* b)
{
    return static_cast<uint32_t>(b[0]) << 24 | static_cast<uint32_t>(b[1]) << 16 | static_cast<uint32_t>(b[2]) << 8 | b[3];
}

// A checked cursor over one PICTURE block's bytes.
struct Cursor {
    const uint8_t* bytes;
    size_t length;
    size_t at;
    bool Word(uint32_t* value)
    {
        if (length - at < 4)
            return false;
        *value = BigEndian(bytes + at);
        at += 4;
        return true;
    }
    bool Span(uint32_t count, const uint8_t** start)
    {
        if (length - at < count)
            return false;
        *start = bytes + at;
        at += count;
        return true;
    }
};

// One block holding the MIME type and the description, each with a
// terminator, then the picture bytes; the record points into it.
bool MakeRecord(const uint8_t* block, size_t length, BassTagPicture* record)
{
    Cursor cursor = {block, length, 0};
    uint32_t type, mimeLength, descriptionLength, size[4], dataLength;
    const uint8_t *mime, *description, *data;
    if (!cursor.Word(&type) || !cursor.Word(&mimeLength) || !cursor.Span(mimeLength, &mime) ||
        !cursor.Word(&descriptionLength) || !cursor.Span(descriptionLength, &description))
        return false;
    for (uint32_t& field : size) {
        if (!cursor.Word(&field))
            return false;
    }
    if (!cursor.Word(&dataLength) || !cursor.Span(dataLength, &data))
        return false;
    char* storage = static_cast<char*>(malloc(size_t(mimeLength) + descriptionLength + dataLength + 2));
    if (!storage)
        return false;
    memcpy(storage, mime, mimeLength);
    storage[mimeLength] = 0;
    char* desc = storage + mimeLength + 1;
    memcpy(desc, description, descriptionLength);
    desc[descriptionLength] = 0;
    char* bytes = desc + descriptionLength + 1;
    memcpy(bytes, data, dataLength);
    *record = BassTagPicture{type, storage, desc, size[0], size[1], size[2], size[3], dataLength, bytes};
    return true;
}

void ReadStreamInfo(const uint8_t* info, StreamTags* tags)
{
    // 20 bits of sample rate, then 3 bits of channels less one.
    tags->frequency = static_cast<uint32_t>(info[10]) << 12 | static_cast<uint32_t>(info[11]) << 4 | info[12] >> 4;
    tags->channels = ((info[12] >> 1) & 7) + 1;
}

}  // namespace

bool IsFlacStream(const ByteReader& source, uint64_t start)
{
    uint8_t magic[4];
    return source.Read(start, magic, sizeof magic) == sizeof magic && memcmp(magic, "fLaC", 4) == 0;
}

bool ReadFlacMetadata(const ByteReader& source, uint64_t start, StreamTags* tags)
{
    tags->type = BASS_CTYPE_STREAM_FLAC;
    std::vector<BassTagPicture> records;
    uint64_t at = start + 4;
    for (int n = 0; n < MAX_BLOCKS; ++n) {
        uint8_t header[BLOCK_HEADER_LENGTH];
        if (source.Read(at, header, sizeof header) != sizeof header)
            break;
        uint8_t kind = header[0] & 0x7F;
        size_t length = static_cast<size_t>(header[1]) << 16 | static_cast<size_t>(header[2]) << 8 | header[3];
        at += BLOCK_HEADER_LENGTH;
        if (kind == BLOCK_STREAMINFO && length >= STREAMINFO_LENGTH) {
            uint8_t info[STREAMINFO_LENGTH];
            if (source.Read(at, info, sizeof info) == sizeof info)
                ReadStreamInfo(info, tags);
        } else if (kind == BLOCK_VORBIS_COMMENT && !tags->comments) {
            // The library serves a FLAC file's comments as it serves Ogg ones.
            std::vector<uint8_t> block(length);
            if (source.Read(at, block.data(), length) == length)
                tags->comments = ServeComments(block.data(), length);
        } else if (kind == BLOCK_PICTURE && records.size() < MAX_PICTURES) {
            std::vector<uint8_t> block(length);
            BassTagPicture record;
            if (source.Read(at, block.data(), length) == length && MakeRecord(block.data(), length, &record))
                records.push_back(record);
        }
        at += length;
        if (header[0] & LAST_BLOCK)
            break;
    }
    if (records.empty())
        return true;
    tags->pictures = static_cast<BassTagPicture*>(malloc(records.size() * sizeof(BassTagPicture)));
    if (!tags->pictures) {
        for (BassTagPicture& record : records)
            free(const_cast<char*>(record.mime));
        return false;
    }
    memcpy(tags->pictures, records.data(), records.size() * sizeof(BassTagPicture));
    tags->pictureCount = static_cast<uint32_t>(records.size());
    return true;
}
