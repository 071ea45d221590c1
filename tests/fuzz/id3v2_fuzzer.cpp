#include <stdint.h>
#include <stdlib.h>
#include <string.h>
#include "cover/id3v2.h"
#include "cover/picture_heap.h"

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
    if (found != (picture.data != NULL && picture.length > 0))
        abort();
    if (picture.length < 0 || static_cast<size_t>(picture.length) > size)
        abort();
    if (picture.length > 0 && !memmem(block, size, picture.data, static_cast<size_t>(picture.length)) &&
        !(size >= 6 && (block[5] & TAG_FLAG_UNSYNCHRONISATION)))
        abort();  // without de-unsynchronisation the picture is a slice of the input
    FreePictureBlock(picture.data);
    free(block);
    return 0;
}
