#include <stdint.h>
#include "cover/id3v2.h"
#include "state/picture_buffer.h"
#include "walk_checks.h"

// Any tag, served as the audio library serves it: a block of exactly the
// header's masked length and a bare pointer. Nothing past the block may be read.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size)
{
    if (size < ID3_HEADER_SIZE)
        return 0;
    size_t held = HeldTagBlockLength(bytes);
    if (held > (1u << 20))
        return 0;  // a real library would hold it, but a fuzzing run need not
    // Bytes the input lacks read as zero, as in a block the library filled in full.
    const ExactBlock block(bytes, size, held);
    if (!block.bytes)
        return 0;
    PictureBuffer picture;
    int found = ExtractApicFromServedTag(block.bytes, &picture);
    CheckWalkResult(found, picture, block.bytes, held, false);
    return 0;
}
