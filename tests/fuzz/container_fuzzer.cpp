#include <stdint.h>
#include <stdlib.h>
#include <string.h>
#include "cover/ape_cover.h"
#include "cover/asf_cover.h"
#include "cover/mp4_cover.h"
#include "cover/riff_id3.h"
#include "state/picture_limits.h"
#include "tests/fuzz/walk_checks.h"
#include "tests/support/container_builder.h"

// Any bytes, as a whole file read through one container reader (chosen by
// CONTAINER at build time, one target a reader), in a block of exactly their
// length. Whatever the sizes say: no read past the block, no picture that is
// not a slice of the input, no picture past the limit, and text that is
// valid UTF-8 within its length.
namespace {

#if defined(CONTAINER_MP4)
const ContainerReader* const READERS[] = {&MP4_READER};
#elif defined(CONTAINER_ASF)
const ContainerReader* const READERS[] = {&ASF_READER};
#elif defined(CONTAINER_APE)
const ContainerReader* const READERS[] = {&APE_READER};
#else
const ContainerReader* const READERS[] = {&WAV_READER, &AIFF_READER};
#endif

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Bytes file(data, data + size);
    MemoryReader reader(file);
    for (const ContainerReader* container : READERS) {
        PictureBuffer picture;
        int found = container->ReadCover(reader, &picture);
        if (found != (picture.data() != nullptr) || picture.length() < 0 ||
            static_cast<uint32_t>(picture.length()) > LARGEST_PICTURE_BYTES)
            abort();
        // The WAV and AIFF readers' ID3 walk may undo unsynchronisation; the others hand out slices.
        bool walked = container == &WAV_READER || container == &AIFF_READER;
        if (found && !walked && !memmem(data, size, picture.data(), static_cast<size_t>(picture.length())))
            abort();
        TagText text;
        container->ReadText(reader, &text);
        CheckText(text);
    }
    return 0;
}
