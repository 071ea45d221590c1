#pragma once
#include <stddef.h>
#include <stdint.h>
#include <utility>

// A picture's encoded bytes in a zero-filled block of the process heap (calloc
// off Windows), and the one owner of that block: move-only, it frees the block
// on destruction. A buffer with data but zero length is a picture of no bytes,
// which still counts as found; a buffer without data holds no picture.
class PictureBuffer {
public:
    PictureBuffer() = default;
    // Empty when the memory is not there.
    static PictureBuffer Zeroed(size_t length);
    PictureBuffer(PictureBuffer&& other) noexcept;
    PictureBuffer& operator=(PictureBuffer&& other) noexcept;
    PictureBuffer(const PictureBuffer&) = delete;
    PictureBuffer& operator=(const PictureBuffer&) = delete;
    ~PictureBuffer();

    uint8_t* data() const { return data_; }
    int32_t length() const { return length_; }
    // Gives back the bytes past `length`; the block may move, and stays as it
    // was when the system declines.
    void Shrink(size_t length);

private:
    uint8_t* data_ = nullptr;
    int32_t length_ = 0;
};
