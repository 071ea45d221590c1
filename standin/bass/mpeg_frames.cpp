#include "mpeg_frames.h"

namespace {

enum MpegVersion { MPEG25 = 0, MPEG_RESERVED = 1, MPEG2 = 2, MPEG1 = 3 };
constexpr unsigned LAYER_III_BITS = 1;

// kbit/s by bitrate index; index 0 (free format) and 15 (bad) are unusable.
const uint32_t kBitrateMpeg1[16] = {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0};
const uint32_t kBitrateMpeg2[16] = {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0};
const uint32_t kSampleRateMpeg1[4] = {44100, 48000, 32000, 0};

unsigned VersionOf(const uint8_t* header) { return (header[1] >> 3) & 3; }

uint32_t SampleRate(const uint8_t* header)
{
    uint32_t rate = kSampleRateMpeg1[(header[2] >> 2) & 3];
    switch (VersionOf(header)) {
    case MPEG1: return rate;
    case MPEG2: return rate / 2;
    case MPEG25: return rate / 4;
    default: return 0;
    }
}

bool SameStream(const uint8_t* a, const uint8_t* b)
{
    // Version, layer and sample rate stay put from frame to frame.
    return (a[1] & 0xFE) == (b[1] & 0xFE) && (a[2] & 0x0C) == (b[2] & 0x0C);
}

// Length in bytes of the layer III frame whose 4-byte header is at `header`, or
// 0 when those bytes are not a usable layer III header (no sync, other layer,
// free-format or bad bitrate, reserved version or sample rate).
size_t Layer3FrameLength(const uint8_t* header)
{
    if (header[0] != 0xFF || (header[1] & 0xE0) != 0xE0)
        return 0;
    if (((header[1] >> 1) & 3) != LAYER_III_BITS)
        return 0;
    unsigned version = VersionOf(header);
    uint32_t sampleRate = SampleRate(header);
    if (version == MPEG_RESERVED || sampleRate == 0)
        return 0;
    unsigned bitrateIndex = header[2] >> 4;
    uint32_t kbps = version == MPEG1 ? kBitrateMpeg1[bitrateIndex] : kBitrateMpeg2[bitrateIndex];
    if (kbps == 0)
        return 0;
    uint32_t padding = (header[2] >> 1) & 1;
    uint32_t samplesPerFrameOver8 = version == MPEG1 ? 144 : 72;
    return samplesPerFrameOver8 * kbps * 1000 / sampleRate + padding;
}

}  // namespace

bool FindLayer3Stream(const uint8_t* bytes, size_t available, uint64_t regionLength, Layer3Stream* found)
{
    for (size_t offset = 0; offset < LAYER3_SCAN_LIMIT && available >= 4 && offset <= available - 4; ++offset) {
        const uint8_t* header = bytes + offset;
        size_t length = Layer3FrameLength(header);
        if (length == 0)
            continue;
        uint64_t next = static_cast<uint64_t>(offset) + length;
        bool endsRegion = next == regionLength;
        bool followed = next + 4 <= available && Layer3FrameLength(bytes + next) != 0 &&
                        SameStream(header, bytes + next);
        if (!endsRegion && !followed)
            continue;
        found->offset = offset;
        found->frequency = SampleRate(header);
        found->channels = (header[3] >> 6) == 3 ? 1 : 2;
        return true;
    }
    return false;
}
