#include "stream_tags.h"
#include <stdlib.h>
#include "flac_metadata.h"
#include "id3v2_block.h"
#include "mpeg_frames.h"
#include "ogg_headers.h"

namespace {

// Reads the tag block, clipped to the source, into a block of exactly that
// length; null when there is none.
uint8_t* ReadTagBlock(const ByteReader& source, uint64_t declared)
{
    uint64_t clipped = declared < source.Length() ? declared : source.Length();
    if (clipped == 0 || clipped > UINT32_MAX)
        return nullptr;
    uint8_t* block = static_cast<uint8_t*>(malloc(static_cast<size_t>(clipped)));
    if (block)
        source.Read(0, block, static_cast<size_t>(clipped));
    return block;
}

bool IsOggPage(const ByteReader& source, uint64_t start)
{
    uint8_t magic[4];
    return source.Read(start, magic, sizeof magic) == sizeof magic && magic[0] == 'O' && magic[1] == 'g' &&
           magic[2] == 'g' && magic[3] == 'S';
}

void IdentifyLayer3(const ByteReader& source, uint64_t audioStart, StreamTags* tags)
{
    if (audioStart >= source.Length())
        return;
    static_assert(LAYER3_SCAN_LIMIT + LAYER3_LOOKAHEAD < 8192, "scan window fits the buffer");
    uint8_t window[8192];
    size_t got = source.Read(audioStart, window, sizeof window);
    Layer3Stream stream;
    if (FindLayer3Stream(window, got, source.Length() - audioStart, &stream)) {
        tags->type = BASS_CTYPE_STREAM_MP3;
        tags->frequency = stream.frequency;
        tags->channels = stream.channels;
    }
}

}  // namespace

bool ReadStreamTags(const ByteReader& source, StreamTags* tags)
{
    *tags = StreamTags{CTYPE_STREAM_UNKNOWN, 44100, 2, nullptr, nullptr, nullptr, 0};
    uint8_t header[ID3V2_HEADER_LENGTH];
    uint64_t tagLength = Id3v2BlockLength(header, source.Read(0, header, sizeof header));
    tags->id3v2 = ReadTagBlock(source, tagLength);
    // The audio follows the ID3v2 tag, if there is one.
    if (IsFlacStream(source, tagLength))
        return ReadFlacMetadata(source, tagLength, tags);
    if (IsOggPage(source, tagLength) && ReadOggHeaders(source, tagLength, tags))
        return true;
    IdentifyLayer3(source, tagLength, tags);
    return true;
}

const char* ServeStreamTag(const StreamTags& tags, uint32_t tagType)
{
    if (tagType == BASS_TAG_ID3V2)
        return reinterpret_cast<const char*>(tags.id3v2);
    if (tagType == BASS_TAG_OGG)
        return tags.comments;
    if (tagType >= BASS_TAG_FLAC_PICTURE && tagType - BASS_TAG_FLAC_PICTURE < tags.pictureCount)
        return reinterpret_cast<const char*>(&tags.pictures[tagType - BASS_TAG_FLAC_PICTURE]);
    return nullptr;
}

void FreeStreamTags(StreamTags* tags)
{
    free(tags->id3v2);
    free(tags->comments);
    for (uint32_t i = 0; i < tags->pictureCount; ++i)
        free(const_cast<char*>(tags->pictures[i].mime));
    free(tags->pictures);
    *tags = StreamTags{};
}
