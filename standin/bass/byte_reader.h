#pragma once
#include <stddef.h>
#include <stdint.h>

// Random access to the bytes a stream is made from; the format readers use
// only this, so apic-extract serves a file on Linux exactly as bass.dll does.
class ByteReader {
public:
    virtual ~ByteReader() = default;
    virtual uint64_t Length() const = 0;
    // Copies up to `count` bytes from `position`; returns how many it copied.
    virtual size_t Read(uint64_t position, void* out, size_t count) const = 0;
};
