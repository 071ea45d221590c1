#pragma once
#include <stdint.h>

// A picture's encoded bytes. Whoever receives a non-null `data` frees it with
// FreePictureBlock (HeapFree on the process heap under Windows).
struct PictureBuffer {
    uint8_t* data;
    int32_t length;
};
