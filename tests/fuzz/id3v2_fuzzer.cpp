#include <stdint.h>
#include <stdlib.h>
#include <string.h>
#include "cover/id3v2.h"
#include "cover/picture_heap.h"
#include "walk_checks.h"

// Any tag block: the walker must stay inside it and report what it copied.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size)
{
    // libFuzzer's own buffer may have slack after it; ours ends where the input does.
    uint8_t* block = static_cast<uint8_t*>(malloc(size ? size : 1));
    if (!block)
        return 0;
    if (size)
        memcpy(block, bytes, size);
    PictureBuffer picture = {NULL, 0};
    int found = ExtractApicFromTagBlock(block, size, &picture);
    CheckWalkResult(found, picture, block, size, true);
    FreePictureBlock(picture.data);
    free(block);
    return 0;
}
