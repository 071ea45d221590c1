#pragma once
#include "cover/picture_signature.h"
#include "render/gdiplus_flat.h"
#include "state/display_state.h"
#include "state/owners.h"

// The format and size the held picture's header declares, read from its
// first bytes without decoding; format NONE for an empty holder.
PictureHeader ReadHeldPictureHeader(const ImageStreamHolder& holder);

// Decodes the holder's picture, always from its first byte: whoever decoded it
// last left the shared stream wherever the decoder stopped. A picture whose
// header is not a decodable one (see IsDecodablePicture) never reaches GDI+.
// `picture` holds nothing unless the status is Ok.
GpStatus DecodeHeldPicture(const ImageStreamHolder& holder, UniqueGdipBitmap* picture);

// Puts the held stream back at its first byte for a decoder; false when empty.
bool RewindHeldPicture(const ImageStreamHolder& holder);

// Copies a decoded picture's pixels, premultiplied 32-bit BGRA rows packed
// top-down, into `pixels` (width x height of them); false when GDI+ cannot.
bool CopyPremultipliedPixels(GpBitmap* picture, int width, int height, uint32_t* pixels);
// The same for the picture drawn at width x height with GDI+'s best
// interpolation, whatever its own size.
bool CopyScaledPremultipliedPixels(GpBitmap* picture, int width, int height, uint32_t* pixels);
