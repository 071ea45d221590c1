#pragma once
#include <windows.h>
#include <stdint.h>
#include "cover/byte_reader.h"
#include "state/owners.h"

// The bytes a stream is made from: a byte range of a file, or of a block in
// memory that the caller keeps alive while the source is open.
class ByteSource : public ByteReader {
public:
    ByteSource() = default;
    ByteSource(const ByteSource&) = delete;
    ByteSource& operator=(const ByteSource&) = delete;

    // `file` is a UTF-16 path when `unicodePath`, else an 8-bit one. A length
    // of 0 means "to the end of the file".
    bool OpenFile(const void* file, bool unicodePath, uint64_t offset, uint64_t length);
    bool OpenMemory(const void* memory, uint64_t offset, uint64_t length);

    uint64_t Length() const override { return length; }
    // Copies up to `count` bytes from `position` (relative to the range start);
    // returns how many it copied.
    size_t Read(uint64_t position, void* out, size_t count) const override;

private:
    UniqueHandle file;
    const uint8_t* memory = nullptr;
    uint64_t start = 0;
    uint64_t length = 0;
};
