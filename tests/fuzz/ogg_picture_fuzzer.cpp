#include <stdint.h>
#include <stdlib.h>
#include <string.h>
#include "cover/ogg_comments.h"
#include "cover/picture_block.h"
#include "state/picture_buffer.h"
#include "walk_checks.h"

// Any bytes, twice: as one METADATA_BLOCK_PICTURE value (base64 and block),
// and as a comment series served in a block of exactly their length, read
// within that bound. Nothing past the block may be read.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size)
{
    ExactBlock exact(bytes, size);
    const char* text = reinterpret_cast<const char*>(exact.bytes);
    if (!text)
        return 0;

    PictureBlockInfo info;
    if (ParsePictureBlock(text, size, &info)) {
        // The picture lies inside what the text decodes to.
        if (info.dataOffset + info.dataLength > size / 4 * 3)
            abort();
        PictureBuffer picture;
        if (DecodeBlockPicture(text, info, &picture) && picture.length() != static_cast<int32_t>(info.dataLength))
            abort();
    }

    PictureBuffer picture;
    int found = ExtractPictureFromComments(text, size, &picture);
    CheckWalkResult(found, picture, reinterpret_cast<const uint8_t*>(text), size, false);
    TagText comments;
    ReadTextFromComments(text, size, &comments);
    CheckText(comments);
    return 0;
}
