#include "id3v2_block.h"

namespace {
constexpr uint8_t FOOTER_PRESENT = 0x10;
constexpr size_t FOOTER_LENGTH = 10;
}  // namespace

uint64_t Id3v2BlockLength(const uint8_t* header, size_t headerLength)
{
    if (headerLength < ID3V2_HEADER_LENGTH || header[0] != 'I' || header[1] != 'D' || header[2] != '3')
        return 0;
    // The tag's own parser judges the rest; serving the bytes needs only the size.
    uint64_t size = (static_cast<uint64_t>(header[6] & 0x7F) << 21) | ((header[7] & 0x7F) << 14) |
                    ((header[8] & 0x7F) << 7) | (header[9] & 0x7F);
    uint64_t footer = (header[5] & FOOTER_PRESENT) ? FOOTER_LENGTH : 0;
    return ID3V2_HEADER_LENGTH + size + footer;
}
