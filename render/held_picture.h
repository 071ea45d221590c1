#pragma once
#include "render/gdiplus_flat.h"
#include "state/display_state.h"

// Decodes the holder's picture, always from its first byte: whoever decoded it
// last left the shared stream wherever the decoder stopped. `picture` is null
// unless the status is Ok; the caller disposes it with GdipDisposeImage.
GpStatus DecodeHeldPicture(const ImageStreamHolder& holder, GpBitmap** picture);
