#pragma once
#include <windows.h>
#include <objidl.h>

// A read-only seekable stream over `size` bytes of a movable global block,
// which it owns: the last release (of the stream or of a clone) frees the
// block. A seek may pass the end, as with any stream, but no read ever goes
// beyond the block. Null when memory is short; the block is freed then too.
IStream* CreateBlockStream(HGLOBAL block, ULONG size);
