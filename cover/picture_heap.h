#pragma once
#include <stddef.h>
#include <stdint.h>

// Zero-filled blocks for tag copies and picture bytes. Under Windows a block
// is fixed global memory, whose pointer is also its HGLOBAL, so an image
// holder can adopt a picture block without copying it; elsewhere calloc.
// Null when the memory is not there. Caller frees the block with FreePictureBlock.
uint8_t* AllocatePictureBlock(size_t size);
// Gives back the bytes past `size`; the block stays where it is or moves,
// and the old one stays valid when the system declines.
uint8_t* ShrinkPictureBlock(uint8_t* block, size_t size);
void FreePictureBlock(void* block);
