#pragma once
#include <stddef.h>
#include <stdint.h>
#include "state/picture_buffer.h"

// The value of a METADATA_BLOCK_PICTURE comment (Vorbis, Opus, FLAC in Ogg):
// a FLAC picture block in base64. Pure functions over the text, which is
// decoded where needed and never as a whole, so the picture's bytes are
// written once, into their own block.

// What a well-formed block says; `dataOffset` counts decoded bytes.
struct PictureBlockInfo {
    uint32_t pictureType;
    bool isLink;  // MIME type "-->"
    size_t dataOffset;
    uint32_t dataLength;
};

// Checks the base64 text and every length of the block inside it against
// what remains; false for a malformed block, which is then skipped. A
// picture larger than LARGEST_PICTURE_BYTES counts as malformed.
bool ParsePictureBlock(const char* base64, size_t textLength, PictureBlockInfo* info);

// Decodes the picture of a block that ParsePictureBlock accepted into a new
// block in the empty `picture`; false when memory is short.
bool DecodeBlockPicture(const char* base64, const PictureBlockInfo& info, PictureBuffer* picture);
