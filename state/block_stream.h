#pragma once
#include <windows.h>
#include <objidl.h>
#include "state/owners.h"
#include "state/picture_buffer.h"

// A read-only seekable stream over a picture's bytes, which it owns: the last
// release (of the stream or of a clone) frees them. A seek may pass the end,
// as with any stream, but no read ever goes beyond the bytes. Empty when
// memory is short; the bytes are freed then too.
UniqueCom<IStream> CreateBlockStream(PictureBuffer bytes);
