#pragma once
#include <stddef.h>
#include <stdint.h>

// What the first confirmed MPEG audio layer III frame header says.
struct Layer3Stream {
    size_t offset;       // of the first frame, from the start of the scanned bytes
    uint32_t frequency;  // samples per second
    uint32_t channels;
};

// Looks for layer III audio in `bytes` (the first `available` bytes of an audio
// region that is `regionLength` bytes long). A header counts only when a second
// header of the same stream follows where the first frame ends, or when that
// frame ends exactly at the end of the region.
bool FindLayer3Stream(const uint8_t* bytes, size_t available, uint64_t regionLength, Layer3Stream* found);

// How far into the audio region a stream's first frame is looked for.
constexpr size_t LAYER3_SCAN_LIMIT = 4096;
// Longest possible layer III frame plus the next header: what a scan reads past its limit.
constexpr size_t LAYER3_LOOKAHEAD = 1441 + 4;
