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
