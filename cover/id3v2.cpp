#include "cover/id3v2.h"
#include <string.h>
#include "cover/bounded_string.h"
#include "state/picture_buffer.h"
#include "state/picture_limits.h"

namespace {

// Frame format flags, ID3v2.3 layout.
constexpr uint8_t V23_COMPRESSION = 0x80;  // 4-byte decompressed size
constexpr uint8_t V23_ENCRYPTION = 0x40;   // method byte
constexpr uint8_t V23_GROUPING = 0x20;     // group byte

// Frame format flags, ID3v2.4 layout.
constexpr uint8_t V24_GROUPING = 0x40;          // group byte
constexpr uint8_t V24_ENCRYPTION = 0x04;        // method byte
constexpr uint8_t V24_UNSYNCHRONISATION = 0x02;
constexpr uint8_t V24_DATA_LENGTH = 0x01;       // 4-byte syncsafe length

constexpr size_t FRAME_ID_SIZE = 4;
constexpr size_t FRAME_SIZE_OFFSET = 4;
constexpr size_t FORMAT_FLAGS_OFFSET = 9;
constexpr size_t DATA_LENGTH_SIZE = 4;
// APIC text encodings.
constexpr uint8_t TEXT_ENCODING_LATIN1 = 0;
constexpr uint8_t TEXT_ENCODING_UTF16 = 1;
constexpr uint8_t TEXT_ENCODING_UTF16BE = 2;
constexpr uint8_t TEXT_ENCODING_UTF8 = 3;

// The four questions asked of the version word (major << 8 | revision). They
// do not all draw the line in the same place: a 3.x tag with a non-zero
// revision has the 2.3 flag layout but syncsafe sizes and no whole-tag
// de-unsynchronisation.

// Older tags (2.2 and before) have other frame headers; they are not walked.
bool WalksFrames(uint32_t version)
{
    return version >= ID3_VERSION_2_3;
}

// Only 2.3 itself is de-unsynchronised as a whole before the walk.
bool DeunsynchronisesWholeTag(uint32_t version)
{
    return version <= ID3_VERSION_2_3;
}

// Only 2.3 itself states frame and extended header sizes as plain big-endian words.
bool UsesPlainSizes(uint32_t version)
{
    return version == ID3_VERSION_2_3;
}

// Every 3.x tag reads its frame format flags as 2.3 lays them out.
bool UsesV23FlagLayout(uint32_t version)
{
    return version <= ID3_LAST_2_3_LAYOUT;
}

size_t FormatFlagSkip(uint32_t version, uint8_t formatFlags)
{
    size_t skip = 0;
    if (UsesV23FlagLayout(version)) {
        if (formatFlags & V23_COMPRESSION)
            skip += 4;
        if (formatFlags & V23_ENCRYPTION)
            skip += 1;
        if (formatFlags & V23_GROUPING)
            skip += 1;
    } else {
        if (formatFlags & V24_GROUPING)
            skip += 1;
        if (formatFlags & V24_ENCRYPTION)
            skip += 1;
        if (formatFlags & V24_DATA_LENGTH)
            skip += DATA_LENGTH_SIZE;
    }
    return skip;
}

bool AcceptsEncoding(ApicEncodings accepted, uint8_t encoding)
{
    if (accepted == ApicEncodings::LATIN1)
        return encoding == TEXT_ENCODING_LATIN1;
    return encoding >= TEXT_ENCODING_UTF16 && encoding <= TEXT_ENCODING_UTF8;
}

bool IsWideEncoding(uint8_t encoding)
{
    return encoding == TEXT_ENCODING_UTF16 || encoding == TEXT_ENCODING_UTF16BE;
}

// The same for UTF-16, which ends at the first zero pair on an even offset
// from its start: a single zero byte is half of a character.
bool BoundedWideStringLength(const uint8_t* bytes, size_t offset, size_t end, size_t* length)
{
    for (size_t at = offset; at < end && end - at >= 2; at += 2) {
        if (bytes[at] == 0 && bytes[at + 1] == 0) {
            *length = at - offset;
            return true;
        }
    }
    return false;
}

size_t FrameIdLength(const uint8_t* id)
{
    size_t length = 0;
    while (length < FRAME_ID_SIZE && id[length] != 0)
        ++length;
    return length;
}

bool IsApicId(const uint8_t* id)
{
    return memcmp(id, "APIC", FRAME_ID_SIZE) == 0;
}

uint32_t ReadFrameSize(uint32_t version, const uint8_t* bytes)
{
    return UsesPlainSizes(version) ? ReadBigEndian32(bytes) : ReadSyncsafe32(bytes);
}

// Drops the 0x00 that follows each stored 0xFF; returns the bytes written.
size_t Deunsynchronise(const uint8_t* stored, size_t count, uint8_t* out)
{
    size_t read = 0;
    size_t written = 0;
    while (read < count) {
        const void* marker = memchr(stored + read, 0xFF, count - read);
        size_t run = marker ? static_cast<size_t>(static_cast<const uint8_t*>(marker) - stored) - read + 1
                            : count - read;
        memcpy(out + written, stored + read, run);
        written += run;
        read += run;
        if (marker && read < count && stored[read] == 0x00)
            ++read;
    }
    return written;
}

// Where the first frame starts, or false when the extended header leaves no
// room for one.
bool FirstFramePosition(uint32_t version, uint8_t tagFlags, const uint8_t* data, size_t limit, size_t* pos)
{
    *pos = 0;
    if (!(tagFlags & TAG_FLAG_EXTENDED_HEADER))
        return true;
    if (limit < 4)
        return false;
    if (UsesPlainSizes(version)) {
        // The stated size leaves out the four size bytes themselves.
        size_t stated = ReadBigEndian32(data);
        if (stated > limit - 4)
            return false;
        *pos = stated + 4;
    } else {
        *pos = ReadSyncsafe32(data);
    }
    return true;
}

// Where a usable APIC frame's picture lies within the walked bytes.
struct PictureSpan {
    bool found;
    size_t offset;
    size_t length;
};

// Finds the picture in one APIC frame payload of `frameSize` readable bytes at
// `payload` (an offset into `data`); leaves `span` untouched when the frame is
// not usable.
void ReadApicPayload(uint32_t version, uint8_t tagFlags, uint8_t formatFlags, const uint8_t* data, size_t payload,
                     uint32_t frameSize, ApicEncodings accepted, PictureSpan* span)
{
    size_t skip = FormatFlagSkip(version, formatFlags);
    if (skip >= frameSize)
        return;  // not even the text encoding byte lies inside the frame
    const uint8_t* start = data + payload + skip;
    size_t inFrame = frameSize - skip;
    int64_t length = static_cast<int64_t>(inFrame);
    if (!UsesV23FlagLayout(version) && (formatFlags & V24_DATA_LENGTH) &&
        ((tagFlags & TAG_FLAG_UNSYNCHRONISATION) || (formatFlags & V24_UNSYNCHRONISATION))) {
        length = ReadSyncsafe32(start - DATA_LENGTH_SIZE);
    }
    uint8_t encoding = start[0];
    if (!AcceptsEncoding(accepted, encoding))
        return;

    // Strings that end past `length` but inside the frame leave a negative
    // picture length below, so the frame is the only bound they need. The
    // MIME type is 8-bit in every encoding; after its terminator comes the
    // picture type byte, then the description.
    size_t mimeLength;
    size_t descriptionLength;
    if (!BoundedStringLength(start, 1, inFrame, &mimeLength))
        return;
    size_t descriptionStart = mimeLength + 3;
    size_t terminator = IsWideEncoding(encoding) ? 2 : 1;
    if (!(IsWideEncoding(encoding) ? BoundedWideStringLength(start, descriptionStart, inFrame, &descriptionLength)
                                   : BoundedStringLength(start, descriptionStart, inFrame, &descriptionLength)))
        return;
    size_t pictureOffset = descriptionStart + descriptionLength + terminator;
    int64_t pictureLength = length - static_cast<int64_t>(pictureOffset);
    if (pictureLength < 0 || pictureLength > LARGEST_PICTURE_BYTES)
        return;
    if (static_cast<uint64_t>(pictureLength) > inFrame - pictureOffset)
        return;  // a data length indicator that claims more than the frame holds
    span->found = true;
    span->offset = payload + skip + pictureOffset;
    span->length = static_cast<size_t>(pictureLength);
}

PictureSpan WalkFrames(uint32_t version, uint8_t tagFlags, const uint8_t* data, size_t limit, ApicEncodings accepted)
{
    PictureSpan span = {false, 0, 0};
    size_t pos;
    if (!FirstFramePosition(version, tagFlags, data, limit, &pos))
        return span;
    while (pos < limit && !span.found) {
        if (limit - pos < FRAME_HEADER_SIZE)
            break;
        size_t idLength = FrameIdLength(data + pos);
        if (idLength >= 1 && idLength < FRAME_ID_SIZE && pos > FRAME_ID_SIZE) {
            // Some taggers miscount a frame by up to three bytes; a frame whose
            // size starts with a zero byte then shows only the tail of its id.
            size_t back = pos - (FRAME_ID_SIZE - idLength);
            if (FrameIdLength(data + back) != FRAME_ID_SIZE)
                break;
            pos = back;
            continue;
        }
        if (idLength != FRAME_ID_SIZE)
            break;  // padding, or a malformed id
        size_t frameSize = ReadFrameSize(version, data + pos + FRAME_SIZE_OFFSET);
        if (frameSize > limit - pos - FRAME_HEADER_SIZE)
            break;  // the payload would run past the tag
        if (IsApicId(data + pos)) {
            ReadApicPayload(version, tagFlags, data[pos + FORMAT_FLAGS_OFFSET], data, pos + FRAME_HEADER_SIZE,
                            static_cast<uint32_t>(frameSize), accepted, &span);
        }
        pos += FRAME_HEADER_SIZE + frameSize;
    }
    return span;
}

int HasPicture(const PictureBuffer* picture)
{
    return picture->data() != NULL && picture->length() != 0;
}

}  // namespace

uint32_t ReadSyncsafe32(const uint8_t* bytes)
{
    return static_cast<uint32_t>(bytes[0]) << 21 | static_cast<uint32_t>(bytes[1]) << 14 |
           static_cast<uint32_t>(bytes[2]) << 7 | static_cast<uint32_t>(bytes[3]);
}

uint32_t ReadBigEndian32(const uint8_t* bytes)
{
    return static_cast<uint32_t>(bytes[0]) << 24 | static_cast<uint32_t>(bytes[1]) << 16 |
           static_cast<uint32_t>(bytes[2]) << 8 | static_cast<uint32_t>(bytes[3]);
}

int ExtractApicFromTagBlock(const uint8_t* block, size_t available, PictureBuffer* picture, ApicEncodings accepted)
{
    if (available < ID3_HEADER_SIZE || memcmp(block, "ID3", 3) != 0)
        return HasPicture(picture);
    uint32_t version = static_cast<uint32_t>(block[3]) << 8 | block[4];
    uint8_t tagFlags = block[5];
    size_t limit = ReadSyncsafe32(block + 6);
    if (limit > available - ID3_HEADER_SIZE)
        limit = available - ID3_HEADER_SIZE;  // a block cut short by the end of its file
    if (!WalksFrames(version))
        return HasPicture(picture);

    const uint8_t* data = block + ID3_HEADER_SIZE;
    PictureBuffer copy;
    if ((tagFlags & TAG_FLAG_UNSYNCHRONISATION) && DeunsynchronisesWholeTag(version)) {
        copy = PictureBuffer::Zeroed(limit);
        if (!copy.data())
            return 0;
        limit = Deunsynchronise(data, limit, copy.data());
        data = copy.data();
    }
    PictureSpan span = WalkFrames(version, tagFlags, data, limit, accepted);
    if (span.found && copy.data()) {
        // The copy becomes the picture's block, so its bytes exist once.
        memmove(copy.data(), copy.data() + span.offset, span.length);
        copy.Shrink(span.length);
        *picture = std::move(copy);
    } else if (span.found) {
        PictureBuffer found = PictureBuffer::Zeroed(span.length);
        if (found.data()) {
            memcpy(found.data(), data + span.offset, span.length);
            *picture = std::move(found);
        }
    }
    return HasPicture(picture);
}

size_t HeldTagBlockLength(const uint8_t* header)
{
    const uint8_t* size = header + 6;
    return ID3_HEADER_SIZE + ((static_cast<size_t>(size[0] & 0x7F) << 21) | (static_cast<size_t>(size[1] & 0x7F) << 14) |
                              (static_cast<size_t>(size[2] & 0x7F) << 7) | (size[3] & 0x7F));
}

int ExtractApicFromServedTag(const uint8_t* tag, PictureBuffer* picture, ApicEncodings accepted, size_t readBound)
{
    // Only behind an "ID3" is there a header to take the length from; the
    // bytes are compared one at a time so that a mismatch reads no further.
    if (!tag || readBound < ID3_HEADER_SIZE || tag[0] != 'I' || tag[1] != 'D' || tag[2] != '3')
        return HasPicture(picture);
    size_t held = HeldTagBlockLength(tag);
    return ExtractApicFromTagBlock(tag, held < readBound ? held : readBound, picture, accepted);
}
