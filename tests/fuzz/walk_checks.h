#pragma once
#include <stdint.h>
#include <stdlib.h>
#include <string.h>
#include "cover/id3v2.h"

// What every walk over `size` input bytes must report: a result that matches
// the buffer, no more bytes than went in, and, without de-unsynchronisation,
// a picture that is a slice of the input.
inline void CheckWalkResult(int found, const PictureBuffer& picture, const uint8_t* block, size_t size,
                            bool sliceExpected)
{
    if (found != (picture.data != NULL && picture.length > 0))
        abort();
    if (picture.length < 0 || static_cast<size_t>(picture.length) > size)
        abort();
    if (sliceExpected && picture.length > 0 && !(size >= 6 && (block[5] & TAG_FLAG_UNSYNCHRONISATION)) &&
        !memmem(block, size, picture.data, static_cast<size_t>(picture.length)))
        abort();
}
