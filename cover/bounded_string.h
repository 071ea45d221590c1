#pragma once
#include <stddef.h>
#include <stdint.h>
#include <string.h>

// Length of the zero-terminated string at `offset`, whose terminator must lie
// before `end`: tag strings are never trusted to end.
inline bool BoundedStringLength(const uint8_t* bytes, size_t offset, size_t end, size_t* length)
{
    if (offset >= end)
        return false;
    const void* terminator = memchr(bytes + offset, 0, end - offset);
    if (!terminator)
        return false;
    *length = static_cast<size_t>(static_cast<const uint8_t*>(terminator) - (bytes + offset));
    return true;
}
