#include "cover/picture_heap.h"

#ifdef _WIN32
#include <windows.h>

uint8_t* AllocatePictureBlock(size_t size)
{
    return static_cast<uint8_t*>(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, size));
}

void FreePictureBlock(void* block)
{
    if (block)
        HeapFree(GetProcessHeap(), 0, block);
}

#else
#include <stdlib.h>

uint8_t* AllocatePictureBlock(size_t size)
{
    // calloc may answer a request for nothing with null, which would read as
    // "no picture"; an empty picture still needs a block of its own.
    return static_cast<uint8_t*>(calloc(size ? size : 1, 1));
}

void FreePictureBlock(void* block)
{
    free(block);
}

#endif
