#pragma once
#include <stdint.h>

// A picture's encoded bytes. Whoever receives a non-null `data` frees it with
// FreePictureBlock, or hands it to an image holder that adopts it.
struct PictureBuffer {
    uint8_t* data;
    int32_t length;
};
