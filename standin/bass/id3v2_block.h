#pragma once
#include <stddef.h>
#include <stdint.h>

constexpr size_t ID3V2_HEADER_LENGTH = 10;

// Length of the ID3v2 tag block that starts with the 10-byte `header`: header,
// tag body (syncsafe size), and footer when flagged. 0 when the bytes are not a
// tag header. The caller clips the result to what the file holds.
uint64_t Id3v2BlockLength(const uint8_t* header, size_t headerLength);
