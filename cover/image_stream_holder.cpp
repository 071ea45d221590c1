#include "cover/image_stream_holder.h"
#include "cover/block_stream.h"
#include "cover/picture_heap.h"
#include "cover/picture_limits.h"

ImageStreamHolder::ImageStreamHolder() : stream(NULL) {}

ImageStreamHolder::~ImageStreamHolder()
{
    Release();
}

// The stream takes ownership of the block; on failure the block is freed too.
int ImageStreamHolder::WrapBlock(HGLOBAL block, DWORD size)
{
    stream = CreateBlockStream(block, size);
    if (!stream)
        return 0;
    ++loadSerial;
    return 1;
}

namespace {

// A zero-byte block is allowed: it stands for an empty picture and has nothing to lock.
HGLOBAL CopyToMovableBlock(const void* bytes, DWORD size)
{
    if (size > 0 && !bytes)
        return NULL;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
    if (!block)
        return NULL;
    if (size > 0) {
        void* target = GlobalLock(block);
        if (!target) {
            GlobalFree(block);
            return NULL;
        }
        CopyMemory(target, bytes, size);
        GlobalUnlock(block);
    }
    return block;
}

}  // namespace

int ImageStreamHolder::LoadFromFile(const wchar_t* path)
{
    // A second picture would orphan the first one's stream.
    if (stream)
        return 0;
    // Share mode 0: a picture someone else holds open is not read half-written.
    HANDLE file = CreateFileW(path, GENERIC_READ, 0, NULL, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return 0;
    DWORD sizeHigh = 0;
    DWORD size = GetFileSize(file, &sizeHigh);
    // An oversized picture is no picture: it is neither read nor decoded, and
    // the size's high word covers files of 4 GiB and more.
    HGLOBAL block = (sizeHigh == 0 && size <= LARGEST_PICTURE_BYTES) ? GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size)
                                                                     : NULL;
    void* target = (block && size > 0) ? GlobalLock(block) : NULL;
    if (!block || (size > 0 && !target)) {
        if (block)
            GlobalFree(block);
        CloseHandle(file);
        return 0;
    }
    if (target) {
        // A short read leaves the zero-filled tail; the decoder rejects it later.
        DWORD read = 0;
        ReadFile(file, target, size, &read, NULL);
    }
    CloseHandle(file);
    if (target)
        GlobalUnlock(block);
    return WrapBlock(block, size);
}

int ImageStreamHolder::LoadFromResource(HMODULE module, const wchar_t* name, const wchar_t* type)
{
    if (stream)
        return 0;
    HRSRC resource = FindResourceW(module, name, type);
    if (!resource)
        return 0;
    HGLOBAL loaded = LoadResource(module, resource);
    if (!loaded)
        return 0;
    const void* bytes = LockResource(loaded);
    if (!bytes)
        return 0;
    DWORD size = SizeofResource(module, resource);
    HGLOBAL block = CopyToMovableBlock(bytes, size);
    if (!block)
        return 0;
    return WrapBlock(block, size);
}

int ImageStreamHolder::LoadFromMemory(const void* bytes, uint32_t length)
{
    if (stream)
        return 0;
    HGLOBAL block = CopyToMovableBlock(bytes, length);
    if (!block)
        return 0;
    return WrapBlock(block, length);
}

int ImageStreamHolder::AdoptPicture(PictureBuffer* picture)
{
    uint8_t* bytes = picture->data;
    picture->data = NULL;
    if (!bytes)
        return 0;
    if (stream || picture->length < 0) {
        FreePictureBlock(bytes);
        return 0;
    }
    // A picture block is fixed global memory: its pointer is its handle.
    return WrapBlock(static_cast<HGLOBAL>(bytes), static_cast<DWORD>(picture->length));
}

void ImageStreamHolder::Release()
{
    if (stream) {
        stream->Release();  // the last reference frees the block too
        stream = NULL;
    }
}
