#pragma once
#include <stddef.h>
#include <stdint.h>
#include "cover/byte_reader.h"
#include "cover/bass_interface.h"

// What one opened stream turned out to be, and the tags it serves. Everything
// lives in blocks of its own until FreeStreamTags, as the real library keeps a
// channel's tags until the channel is freed.
struct StreamTags {
    uint32_t type;
    uint32_t frequency;
    uint32_t channels;
    uint8_t* id3v2;             // the ID3v2 block, cut short where the file ends; or null
    char* comments;             // Ogg comments: zero-terminated strings, then an empty one; or null
    BassTagPicture* pictures;   // FLAC picture records, each over a block of its own
    uint32_t pictureCount;
};

// Every stream that is neither MP3, FLAC, Vorbis nor Opus.
constexpr uint32_t CTYPE_STREAM_UNKNOWN = 0x10000;

// Tells the stream's type by its bytes and reads its tags; false when memory is short.
bool ReadStreamTags(const ByteReader& source, StreamTags* tags);
// What BASS_ChannelGetTags answers for `tagType`: a pointer into `tags`, or null.
const char* ServeStreamTag(const StreamTags& tags, uint32_t tagType);
void FreeStreamTags(StreamTags* tags);
