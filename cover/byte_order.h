#pragma once
#include <stdint.h>

// Fixed-width integers as the containers store them. The caller has checked
// that the bytes are there.
inline uint16_t LittleEndian16(const uint8_t* b) { return static_cast<uint16_t>(b[0] | b[1] << 8); }
inline uint32_t LittleEndian32(const uint8_t* b)
{
    return uint32_t{b[0]} | uint32_t{b[1]} << 8 | uint32_t{b[2]} << 16 | uint32_t{b[3]} << 24;
}
inline uint64_t LittleEndian64(const uint8_t* b) { return LittleEndian32(b) | uint64_t{LittleEndian32(b + 4)} << 32; }
inline uint32_t BigEndian32(const uint8_t* b)
{
    return uint32_t{b[0]} << 24 | uint32_t{b[1]} << 16 | uint32_t{b[2]} << 8 | uint32_t{b[3]};
}
inline uint64_t BigEndian64(const uint8_t* b) { return uint64_t{BigEndian32(b)} << 32 | BigEndian32(b + 4); }
