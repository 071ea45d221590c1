#include "cover/picture_block.h"
#include "cover/picture_choice.h"
#include "state/picture_buffer.h"
#include "state/picture_limits.h"

namespace {

constexpr int NOT_BASE64 = -1;
constexpr int PADDING = -2;

int Sextet(char c)
{
    if (c >= 'A' && c <= 'Z')
        return c - 'A';
    if (c >= 'a' && c <= 'z')
        return c - 'a' + 26;
    if (c >= '0' && c <= '9')
        return c - '0' + 52;
    if (c == '+')
        return 62;
    if (c == '/')
        return 63;
    return c == '=' ? PADDING : NOT_BASE64;
}

// Decoded length of padded base64 text, or false when any character is out
// of place: every later read may then decode without checks.
bool DecodedLength(const char* text, size_t length, size_t* decoded)
{
    if (length % 4 != 0)
        return false;
    size_t padding = 0;
    for (size_t i = 0; i < length; ++i) {
        int value = Sextet(text[i]);
        if (value == NOT_BASE64)
            return false;
        if (value == PADDING) {
            // Only the last one or two characters may pad.
            if (i < length - 2)
                return false;
            ++padding;
        } else if (padding) {
            return false;
        }
    }
    *decoded = length / 4 * 3 - padding;
    return true;
}

// Reads decoded bytes [offset, offset + count) of checked text.
void DecodeRange(const char* text, size_t offset, size_t count, uint8_t* out)
{
    size_t group = offset / 3;
    size_t inGroup = offset % 3;
    while (count > 0) {
        const char* quad = text + group * 4;
        uint32_t bits = 0;
        for (int i = 0; i < 4; ++i) {
            int value = Sextet(quad[i]);
            bits = bits << 6 | static_cast<uint32_t>(value < 0 ? 0 : value);
        }
        for (; inGroup < 3 && count > 0; ++inGroup, --count)
            *out++ = static_cast<uint8_t>(bits >> (16 - 8 * inGroup));
        inGroup = 0;
        ++group;
    }
}

// A cursor over the decoded block: every read is checked against what remains.
struct BlockReader {
    const char* text;
    size_t decoded;
    size_t position;

    bool Word(uint32_t* value)
    {
        if (decoded - position < 4)
            return false;
        uint8_t bytes[4];
        DecodeRange(text, position, 4, bytes);
        position += 4;
        *value = static_cast<uint32_t>(bytes[0]) << 24 | static_cast<uint32_t>(bytes[1]) << 16 |
                 static_cast<uint32_t>(bytes[2]) << 8 | bytes[3];
        return true;
    }
    bool Skip(size_t count)
    {
        if (decoded - position < count)
            return false;
        position += count;
        return true;
    }
};

}  // namespace

bool ParsePictureBlock(const char* base64, size_t textLength, PictureBlockInfo* info)
{
    BlockReader reader = {base64, 0, 0};
    if (!DecodedLength(base64, textLength, &reader.decoded))
        return false;
    uint32_t type, mimeLength, descriptionLength, dataLength, ignored;
    if (!reader.Word(&type) || !reader.Word(&mimeLength))
        return false;
    size_t mimeStart = reader.position;
    if (!reader.Skip(mimeLength) || !reader.Word(&descriptionLength) || !reader.Skip(descriptionLength))
        return false;
    // Width, height, colour depth and number of colours are not needed.
    for (int i = 0; i < 4; ++i) {
        if (!reader.Word(&ignored))
            return false;
    }
    if (!reader.Word(&dataLength) || dataLength > LARGEST_PICTURE_BYTES || reader.decoded - reader.position < dataLength)
        return false;
    char mime[3] = {0, 0, 0};
    if (mimeLength == sizeof mime)
        DecodeRange(base64, mimeStart, sizeof mime, reinterpret_cast<uint8_t*>(mime));
    info->pictureType = type;
    info->isLink = IsPictureLink(mime, mimeLength);
    info->dataOffset = reader.position;
    info->dataLength = dataLength;
    return true;
}

bool DecodeBlockPicture(const char* base64, const PictureBlockInfo& info, PictureBuffer* picture)
{
    PictureBuffer decoded = PictureBuffer::Zeroed(info.dataLength);
    if (!decoded.data())
        return false;
    DecodeRange(base64, info.dataOffset, info.dataLength, decoded.data());
    *picture = std::move(decoded);
    return true;
}
