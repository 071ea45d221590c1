#pragma once
#include <stddef.h>
#include <stdint.h>
#include "cover/tag_text.h"
#include "state/picture_buffer.h"

// The ID3v2 walker: pure functions over bytes, no globals and no I/O, so the
// same code runs in the plug-in, the tool, the fuzzer and the benchmark.

constexpr size_t ID3_HEADER_SIZE = 10;
constexpr size_t FRAME_HEADER_SIZE = 10;

// Version word: major << 8 | revision.
constexpr uint32_t ID3_VERSION_2_3 = 0x0300;
constexpr uint32_t ID3_LAST_2_3_LAYOUT = 0x03FF;

constexpr uint8_t TAG_FLAG_UNSYNCHRONISATION = 0x80;
constexpr uint8_t TAG_FLAG_EXTENDED_HEADER = 0x40;

// b0 << 21 | b1 << 14 | b2 << 7 | b3; top bits are not masked, so overlapping
// bits combine by OR (00 00 01 FF gives 255).
uint32_t ReadSyncsafe32(const uint8_t* bytes);
uint32_t ReadBigEndian32(const uint8_t* bytes);

// Which APIC text encodings a walk accepts. The Latin-1 walk comes first and
// alone decides when it finds a picture; the other encodings are read only
// after the folder's JPEG files were not found either.
enum class ApicEncodings {
    LATIN1,   // encoding 0
    UTF16_OR_UTF8,  // encodings 1 and 2 (UTF-16, with and without BOM) and 3 (UTF-8)
};

// Walks a tag block from its 10-byte header on, reading no more than
// `available` bytes (the header's tag size is clipped to them), and copies the
// first usable APIC picture of an accepted encoding into the empty `picture`.
// Pictures larger than LARGEST_PICTURE_BYTES are not usable. Returns 1 for a
// picture of at least one byte, else 0; a zero-byte picture leaves data non-null.
int ExtractApicFromTagBlock(const uint8_t* block, size_t available, PictureBuffer* picture,
                            ApicEncodings accepted = ApicEncodings::LATIN1);

// How many bytes an audio library holds for the tag whose 10-byte header is at
// `header`: the header plus the stated size with the top bit of each size byte
// masked off, as every ID3v2 reader takes it. Nothing past that may be read.
size_t HeldTagBlockLength(const uint8_t* header);

// The tag block as the audio library serves it: a bare pointer (or null) with
// no length. Walks it within HeldTagBlockLength and within `readBound` bytes,
// which for a local file is the file's size: a truncated file's library block
// is shorter than its header says. Results as above.
int ExtractApicFromServedTag(const uint8_t* tag, PictureBuffer* picture,
                             ApicEncodings accepted = ApicEncodings::LATIN1, size_t readBound = SIZE_MAX);

// The title, artist and album of the tag block (TIT2, TPE1, TALB; any of the
// four text encodings), offered to `text`; the block is bounded as above.
void ReadTextFromTagBlock(const uint8_t* block, size_t available, TagText* text);
void ReadTextFromServedTag(const uint8_t* tag, size_t readBound, TagText* text);
