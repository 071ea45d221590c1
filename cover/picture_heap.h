#pragma once
#include <stddef.h>
#include <stdint.h>

// Zero-filled blocks for tag copies and picture bytes: the process heap under
// Windows, calloc elsewhere. Null when the memory is not there.
// Caller frees the block with FreePictureBlock.
uint8_t* AllocatePictureBlock(size_t size);
void FreePictureBlock(void* block);
