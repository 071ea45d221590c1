#include "state/display_state.h"

ImageStreamHolder::ImageStreamHolder() : stream(NULL), memory(NULL) {}

ImageStreamHolder::~ImageStreamHolder()
{
    Release();
}

// The stream takes ownership of the block; on failure the block is freed here.
int ImageStreamHolder::WrapBlock(HGLOBAL block)
{
    if (CreateStreamOnHGlobal(block, TRUE, &stream) != S_OK) {
        stream = NULL;
        GlobalFree(block);
        return 0;
    }
    memory = block;
    return 1;
}

static HGLOBAL CopyToMovableBlock(const void* bytes, DWORD size)
{
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

int ImageStreamHolder::LoadFromFile(const wchar_t* path)
{
    // Share mode 0: a picture someone else holds open is not read half-written.
    HANDLE file = CreateFileW(path, GENERIC_READ, 0, NULL, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return 0;
    DWORD size = GetFileSize(file, NULL);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
    if (!block) {
        CloseHandle(file);
        return 0;
    }
    void* target = GlobalLock(block);
    if (target) {
        DWORD read = 0;
        ReadFile(file, target, size, &read, NULL);
    }
    CloseHandle(file);
    if (target)
        GlobalUnlock(block);
    return WrapBlock(block);
}

int ImageStreamHolder::LoadFromResource(HMODULE module, const wchar_t* name, const wchar_t* type)
{
    HRSRC resource = FindResourceW(module, name, type);
    if (!resource)
        return 0;
    HGLOBAL loaded = LoadResource(module, resource);
    if (!loaded)
        return 0;
    const void* bytes = LockResource(loaded);
    if (!bytes)
        return 0;
    HGLOBAL block = CopyToMovableBlock(bytes, SizeofResource(module, resource));
    if (!block)
        return 0;
    return WrapBlock(block);
}

int ImageStreamHolder::LoadFromMemory(const void* bytes, uint32_t length)
{
    HGLOBAL block = CopyToMovableBlock(bytes, length);
    if (!block)
        return 0;
    return WrapBlock(block);
}

void ImageStreamHolder::Release()
{
    if (stream) {
        stream->Release();  // the last reference frees the block too
        stream = NULL;
    }
    memory = NULL;
}
