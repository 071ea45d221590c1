#include <stdint.h>
#include <stdlib.h>
#include <string.h>
#include "cover/id3v2.h"
#include "state/picture_buffer.h"
#include "walk_checks.h"

// Any tag block: the walker must stay inside it and report what it copied.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size)
{
    ExactBlock exact(bytes, size);
    uint8_t* block = exact.bytes;
    if (!block)
        return 0;
    PictureBuffer picture;
    int found = ExtractApicFromTagBlock(block, size, &picture);
    CheckWalkResult(found, picture, block, size, true);
    TagText text;
    ReadTextFromTagBlock(block, size, &text);
    CheckText(text);
    return 0;
}
