#pragma once
#include <windows.h>
#include <objidl.h>
#include <stdint.h>
#include "state/owners.h"
#include "state/picture_buffer.h"

// One encoded picture (PNG or JPEG) held as a seekable stream over its bytes;
// the stream owns them and frees them on its last release. Files larger than
// LARGEST_PICTURE_BYTES are not loaded (nor read).
class ImageStreamHolder {
public:
    ImageStreamHolder() = default;
    ImageStreamHolder(const ImageStreamHolder&) = delete;
    ImageStreamHolder& operator=(const ImageStreamHolder&) = delete;

    // Each load expects an empty holder and returns 1 on success, 0 on failure.
    int LoadFromFile(const wchar_t* path);
    int LoadFromResource(HMODULE module, const wchar_t* name, const wchar_t* type);
    int LoadFromMemory(const void* bytes, uint32_t length);
    // Takes the picture's bytes over without copying them; they are freed on
    // failure too.
    int AdoptPicture(PictureBuffer picture);
    void Release() { stream.reset(); }
    // Borrowed: no reference is added; valid until the next Release or load.
    IStream* GetStream() const { return stream.get(); }
    // Changes with every successful load, so a copy made from one picture is
    // known stale once another is held, even at the same address.
    uint32_t LoadSerial() const { return loadSerial; }

private:
    UniqueCom<IStream> stream;
    uint32_t loadSerial = 0;
};
