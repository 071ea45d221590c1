#pragma once
#include <windows.h>
#include <objidl.h>
#include <stdint.h>
#include "state/picture_buffer.h"

// One encoded picture (PNG or JPEG) held as a seekable stream over a global
// block; the stream owns the block and frees it on its last release. Files
// larger than LARGEST_PICTURE_BYTES are not loaded (nor read).
class ImageStreamHolder {
public:
    ImageStreamHolder();
    ~ImageStreamHolder();
    ImageStreamHolder(const ImageStreamHolder&) = delete;
    ImageStreamHolder& operator=(const ImageStreamHolder&) = delete;

    // Each load expects an empty holder and returns 1 on success, 0 on failure.
    int LoadFromFile(const wchar_t* path);
    int LoadFromResource(HMODULE module, const wchar_t* name, const wchar_t* type);
    int LoadFromMemory(const void* bytes, uint32_t length);
    // Takes over a picture block (see picture_heap.h) without copying it and
    // leaves picture->data null; the block is freed on failure too.
    int AdoptPicture(PictureBuffer* picture);
    void Release();
    // Borrowed: no reference is added; valid until the next Release or load.
    IStream* GetStream() const { return stream; }
    // Changes with every successful load, so a copy made from one picture is
    // known stale once another is held, even at the same address.
    uint32_t LoadSerial() const { return loadSerial; }

private:
    int WrapBlock(HGLOBAL block, DWORD size);

    IStream* stream;
    uint32_t loadSerial = 0;
};
