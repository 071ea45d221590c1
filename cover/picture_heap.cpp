#include "cover/picture_heap.h"

#ifdef _WIN32
#include <windows.h>

// A picture of zero bytes still needs a block of its own: null means "none".
uint8_t* AllocatePictureBlock(size_t size)
{
    return static_cast<uint8_t*>(GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, size ? size : 1));
}

uint8_t* ShrinkPictureBlock(uint8_t* block, size_t size)
{
    // Without GMEM_MOVEABLE a fixed block is resized where it lies.
    HGLOBAL smaller = GlobalReAlloc(static_cast<HGLOBAL>(block), size ? size : 1, 0);
    return smaller ? static_cast<uint8_t*>(smaller) : block;
}

void FreePictureBlock(void* block)
{
    if (block)
        GlobalFree(static_cast<HGLOBAL>(block));
}

#else
#include <stdlib.h>

uint8_t* AllocatePictureBlock(size_t size)
{
    return static_cast<uint8_t*>(calloc(size ? size : 1, 1));
}

uint8_t* ShrinkPictureBlock(uint8_t* block, size_t size)
{
    void* smaller = realloc(block, size ? size : 1);
    return smaller ? static_cast<uint8_t*>(smaller) : block;
}

void FreePictureBlock(void* block)
{
    free(block);
}

#endif
