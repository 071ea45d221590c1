#include "cover/riff_id3.h"
#include <string.h>
#include "cover/byte_order.h"
#include "cover/id3v2.h"
#include "state/picture_limits.h"

namespace {

constexpr uint64_t FORM_HEADER_BYTES = 12;  // id, size, form type
constexpr size_t CHUNK_HEADER_BYTES = 8;
constexpr int MOST_CHUNKS = 4096;
// An ID3 chunk is read whole, up to the largest picture and room for the
// tag's other frames; a longer tag is read that far, which no usable
// picture lies beyond.
constexpr uint64_t LARGEST_TAG_READ = uint64_t{LARGEST_PICTURE_BYTES} + (1u << 20);
// For text only the tag's start is read: taggers write the text frames
// before the pictures.
constexpr uint64_t LARGEST_TEXT_READ = 1u << 20;

struct ChunkLayout {
    const char* formId;
    const char* formTypes[2];
    const char* tagIds[2];
    uint32_t (*ReadSize)(const uint8_t*);
};
constexpr ChunkLayout WAV_LAYOUT = {"RIFF", {"WAVE", "WAVE"}, {"id3 ", "ID3 "}, LittleEndian32};
constexpr ChunkLayout AIFF_LAYOUT = {"FORM", {"AIFF", "AIFC"}, {"ID3 ", "ID3 "}, BigEndian32};

bool Recognises(const ChunkLayout& layout, const uint8_t* head, size_t length)
{
    return length >= FORM_HEADER_BYTES && memcmp(head, layout.formId, 4) == 0 &&
           (memcmp(head + 8, layout.formTypes[0], 4) == 0 || memcmp(head + 8, layout.formTypes[1], 4) == 0);
}

// The ID3 chunk's payload; false when the form has none.
bool FindTagChunk(const ByteReader& file, const ChunkLayout& layout, uint64_t* payload, uint64_t* length)
{
    uint8_t header[FORM_HEADER_BYTES];
    if (!ReadExactly(file, 0, header, sizeof header))
        return false;
    // A form whose stated size runs past the file is read as far as the file goes.
    uint64_t formEnd = CHUNK_HEADER_BYTES + uint64_t{layout.ReadSize(header + 4)};
    if (formEnd > file.Length())
        formEnd = file.Length();
    uint64_t position = FORM_HEADER_BYTES;
    for (int n = 0; n < MOST_CHUNKS && position < formEnd && formEnd - position >= CHUNK_HEADER_BYTES; ++n) {
        uint8_t chunk[CHUNK_HEADER_BYTES];
        if (!ReadExactly(file, position, chunk, sizeof chunk))
            return false;
        uint64_t size = layout.ReadSize(chunk + 4);
        uint64_t start = position + CHUNK_HEADER_BYTES;
        if (size > formEnd - start)
            return false;
        if (memcmp(chunk, layout.tagIds[0], 4) == 0 || memcmp(chunk, layout.tagIds[1], 4) == 0) {
            *payload = start;
            *length = size;
            return true;
        }
        position = start + size + (size & 1);
    }
    return false;
}

// The ID3 chunk's first `most` bytes, in a block of its own; empty when
// there is none.
PictureBuffer ReadTagChunk(const ByteReader& file, const ChunkLayout& layout, uint64_t most)
{
    uint64_t payload, length;
    if (!FindTagChunk(file, layout, &payload, &length))
        return PictureBuffer();
    if (length > most)
        length = most;
    PictureBuffer tag = PictureBuffer::Zeroed(static_cast<size_t>(length));
    if (!tag.data() || !ReadExactly(file, payload, tag.data(), static_cast<size_t>(length)))
        return PictureBuffer();
    return tag;
}

int ReadChunkTagCover(const ByteReader& file, const ChunkLayout& layout, PictureBuffer* picture)
{
    // The walker copies the picture from the tag's own block.
    PictureBuffer tag = ReadTagChunk(file, layout, LARGEST_TAG_READ);
    if (!tag.data())
        return 0;
    size_t available = tag.length();
    int found = ExtractApicFromTagBlock(tag.data(), available, picture, ApicEncodings::LATIN1);
    // As in an MP3, a Latin-1 picture decides even when it has no bytes.
    if (!picture->data())
        found = ExtractApicFromTagBlock(tag.data(), available, picture, ApicEncodings::UTF16_OR_UTF8);
    if (!found)
        *picture = PictureBuffer();
    return found;
}

void ReadChunkTagText(const ByteReader& file, const ChunkLayout& layout, TagText* text)
{
    PictureBuffer tag = ReadTagChunk(file, layout, LARGEST_TEXT_READ);
    if (tag.data())
        ReadTextFromTagBlock(tag.data(), tag.length(), text);
}

bool RecognisesWav(const uint8_t* head, size_t length) { return Recognises(WAV_LAYOUT, head, length); }
bool RecognisesAiff(const uint8_t* head, size_t length) { return Recognises(AIFF_LAYOUT, head, length); }
int ReadWavCover(const ByteReader& file, PictureBuffer* picture) { return ReadChunkTagCover(file, WAV_LAYOUT, picture); }
int ReadAiffCover(const ByteReader& file, PictureBuffer* picture)
{
    return ReadChunkTagCover(file, AIFF_LAYOUT, picture);
}

void ReadWavText(const ByteReader& file, TagText* text) { ReadChunkTagText(file, WAV_LAYOUT, text); }
void ReadAiffText(const ByteReader& file, TagText* text) { ReadChunkTagText(file, AIFF_LAYOUT, text); }

}  // namespace

const ContainerReader WAV_READER = {"WAV", RecognisesWav, ReadWavCover, ReadWavText};
const ContainerReader AIFF_READER = {"AIFF", RecognisesAiff, ReadAiffCover, ReadAiffText};
