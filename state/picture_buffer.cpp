#include "state/picture_buffer.h"
#include <utility>

#ifdef _WIN32
#include <windows.h>

namespace {

void* AllocateZeroed(size_t size)
{
    return HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, size);
}

void* Resize(void* block, size_t size)
{
    return HeapReAlloc(GetProcessHeap(), 0, block, size);
}

void FreeBlock(void* block)
{
    HeapFree(GetProcessHeap(), 0, block);
}

}  // namespace

#else
#include <stdlib.h>

namespace {

void* AllocateZeroed(size_t size)
{
    return calloc(size, 1);
}

void* Resize(void* block, size_t size)
{
    return realloc(block, size);
}

void FreeBlock(void* block)
{
    free(block);
}

}  // namespace

#endif

// A picture of zero bytes still needs a block of its own: null means "none".
PictureBuffer PictureBuffer::Zeroed(size_t length)
{
    PictureBuffer picture;
    if (length > static_cast<size_t>(INT32_MAX))
        return picture;  // its length would not fit the record
    picture.data_ = static_cast<uint8_t*>(AllocateZeroed(length ? length : 1));
    if (picture.data_)
        picture.length_ = static_cast<int32_t>(length);
    return picture;
}

PictureBuffer::PictureBuffer(PictureBuffer&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)), length_(std::exchange(other.length_, 0))
{
}

PictureBuffer& PictureBuffer::operator=(PictureBuffer&& other) noexcept
{
    if (this != &other) {
        if (data_)
            FreeBlock(data_);
        data_ = std::exchange(other.data_, nullptr);
        length_ = std::exchange(other.length_, 0);
    }
    return *this;
}

PictureBuffer::~PictureBuffer()
{
    if (data_)
        FreeBlock(data_);
}

void PictureBuffer::Shrink(size_t length)
{
    if (!data_ || length >= static_cast<size_t>(length_))
        return;
    void* smaller = Resize(data_, length ? length : 1);
    if (smaller)
        data_ = static_cast<uint8_t*>(smaller);
    length_ = static_cast<int32_t>(length);
}
