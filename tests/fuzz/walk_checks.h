#pragma once
#include <stdint.h>
#include <stdlib.h>
#include <string.h>
#include "cover/id3v2.h"
#include "cover/tag_text.h"

// The input copied into a block of exactly `length` bytes (its own length
// unless given), the rest zero: libFuzzer's own buffer may have slack after
// it, so only a block of our own ends where it should.
struct ExactBlock {
    ExactBlock(const uint8_t* input, size_t size) : ExactBlock(input, size, size) {}
    ExactBlock(const uint8_t* input, size_t size, size_t length)
        : bytes(static_cast<uint8_t*>(calloc(length ? length : 1, 1)))
    {
        if (bytes && size)
            memcpy(bytes, input, size < length ? size : length);
    }
    ~ExactBlock() { free(bytes); }
    ExactBlock(const ExactBlock&) = delete;
    ExactBlock& operator=(const ExactBlock&) = delete;
    uint8_t* bytes;
};

// What every walk over `size` input bytes must report: a result that matches
// the buffer, no more bytes than went in, and, without de-unsynchronisation,
// a picture that is a slice of the input.
inline void CheckWalkResult(int found, const PictureBuffer& picture, const uint8_t* block, size_t size,
                            bool sliceExpected)
{
    if (found != (picture.data() != NULL && picture.length() > 0))
        abort();
    if (picture.length() < 0 || static_cast<size_t>(picture.length()) > size)
        abort();
    if (sliceExpected && picture.length() > 0 && !(size >= 6 && (block[5] & TAG_FLAG_UNSYNCHRONISATION)) &&
        !memmem(block, size, picture.data(), static_cast<size_t>(picture.length())))
        abort();
}

// Every text a reader gives is valid UTF-8 of at most LONGEST_TEXT_CHARACTERS
// characters, whatever the input.
inline void CheckText(const TagText& text)
{
    for (const std::string& value : text.field) {
        size_t characters = 0;
        for (size_t i = 0; i < value.size(); ++characters) {
            const uint8_t lead = static_cast<uint8_t>(value[i]);
            const size_t count = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 0;
            if (count == 0 || lead > 0xF4 || count > value.size() - i)
                abort();
            for (size_t k = 1; k < count; ++k)
                if ((static_cast<uint8_t>(value[i + k]) & 0xC0) != 0x80)
                    abort();
            i += count;
        }
        if (characters > LONGEST_TEXT_CHARACTERS)
            abort();
    }
}
