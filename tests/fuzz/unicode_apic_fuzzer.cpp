#include <stdint.h>
#include <stdlib.h>
#include <string.h>
#include "cover/id3v2.h"
#include "state/picture_buffer.h"
#include "walk_checks.h"

// The walk that accepts APIC frames in UTF-16 and UTF-8, over any tag block of
// exactly the input's length, once as a block and once served with the
// input's length as the file's size. Nothing past the block may be read.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size)
{
    ExactBlock exact(bytes, size);
    uint8_t* block = exact.bytes;
    if (!block)
        return 0;
    for (int served = 0; served < 2; ++served) {
        PictureBuffer picture;
        int found = served ? ExtractApicFromServedTag(block, &picture, ApicEncodings::UTF16_OR_UTF8, size)
                           : ExtractApicFromTagBlock(block, size, &picture, ApicEncodings::UTF16_OR_UTF8);
        CheckWalkResult(found, picture, block, size, true);
    }
    return 0;
}
