#pragma once
#include <stddef.h>
#include <stdint.h>

// Random access to a file's bytes: the container readers and the stand-in's
// format readers use only this, so they run over a file, a block in memory or
// a fuzzer's input alike, on Linux too.
class ByteReader {
public:
    virtual ~ByteReader() = default;
    virtual uint64_t Length() const = 0;
    // Copies up to `count` bytes from `position`; returns how many it copied.
    virtual size_t Read(uint64_t position, void* out, size_t count) const = 0;
};

// Reads exactly `count` bytes or reports that it could not.
inline bool ReadExactly(const ByteReader& reader, uint64_t position, void* out, size_t count)
{
    return reader.Read(position, out, count) == count;
}
