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
constexpr uint8_t V24_COMPRESSION = 0x08;
constexpr uint8_t V24_ENCRYPTION = 0x04;        // method byte
constexpr uint8_t V24_UNSYNCHRONISATION = 0x02;
constexpr uint8_t V24_DATA_LENGTH = 0x01;       // 4-byte syncsafe length

constexpr size_t FRAME_ID_SIZE = 4;
constexpr size_t FRAME_SIZE_OFFSET = 4;
constexpr size_t FORMAT_FLAGS_OFFSET = 9;
constexpr size_t DATA_LENGTH_SIZE = 4;
// Text encodings of APIC and text frames.
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

// Calls visit(id, formatFlags, payload, frameSize) for each frame in order
// until it returns true; `payload` is an offset into `data`.
template <typename Visit>
void ForEachFrame(uint32_t version, uint8_t tagFlags, const uint8_t* data, size_t limit, Visit visit)
{
    size_t pos;
    if (!FirstFramePosition(version, tagFlags, data, limit, &pos))
        return;
    while (pos < limit) {
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
        if (visit(data + pos, data[pos + FORMAT_FLAGS_OFFSET], pos + FRAME_HEADER_SIZE,
                  static_cast<uint32_t>(frameSize)))
            return;
        pos += FRAME_HEADER_SIZE + frameSize;
    }
}

PictureSpan WalkFrames(uint32_t version, uint8_t tagFlags, const uint8_t* data, size_t limit, ApicEncodings accepted)
{
    PictureSpan span = {false, 0, 0};
    ForEachFrame(version, tagFlags, data, limit,
                 [&](const uint8_t* id, uint8_t formatFlags, size_t payload, uint32_t frameSize) {
                     if (IsApicId(id))
                         ReadApicPayload(version, tagFlags, formatFlags, data, payload, frameSize, accepted, &span);
                     return span.found;
                 });
    return span;
}

// A text frame's first value. A compressed or encrypted frame holds no text
// that can be read as it is.
std::string ReadTextPayload(uint32_t version, uint8_t formatFlags, const uint8_t* start, uint32_t frameSize)
{
    const uint8_t unreadable = UsesV23FlagLayout(version) ? V23_COMPRESSION | V23_ENCRYPTION
                                                          : V24_COMPRESSION | V24_ENCRYPTION;
    size_t skip = FormatFlagSkip(version, formatFlags);
    if ((formatFlags & unreadable) || skip >= frameSize)
        return std::string();
    const uint8_t* text = start + skip + 1;
    const size_t length = frameSize - skip - 1;
    switch (start[skip]) {
    case TEXT_ENCODING_LATIN1: return TextFromLatin1(text, length);
    case TEXT_ENCODING_UTF16: return TextFromUtf16(text, length, false);
    case TEXT_ENCODING_UTF16BE: return TextFromUtf16(text, length, true);
    case TEXT_ENCODING_UTF8: return TextFromUtf8(text, length);
    default: return std::string();
    }
}

// The frames the now-playing text comes from.
bool TextFrameField(const uint8_t* id, TextField* which)
{
    static const char* const IDS[TEXT_FIELD_COUNT] = {"TIT2", "TPE1", "TALB"};
    for (int field = 0; field < TEXT_FIELD_COUNT; ++field) {
        if (memcmp(id, IDS[field], FRAME_ID_SIZE) == 0) {
            *which = static_cast<TextField>(field);
            return true;
        }
    }
    return false;
}

// A tag block ready to walk: its version and flags, and its frames,
// de-unsynchronised into `copy` where the whole tag must be.
struct WalkableTag {
    uint32_t version;
    uint8_t flags;
    const uint8_t* data;
    size_t limit;
    PictureBuffer copy;
};

enum class TagOpening { WALKABLE, NONE, NO_MEMORY };

TagOpening OpenTag(const uint8_t* block, size_t available, WalkableTag* tag)
{
    if (available < ID3_HEADER_SIZE || memcmp(block, "ID3", 3) != 0)
        return TagOpening::NONE;
    tag->version = static_cast<uint32_t>(block[3]) << 8 | block[4];
    tag->flags = block[5];
    tag->limit = ReadSyncsafe32(block + 6);
    if (tag->limit > available - ID3_HEADER_SIZE)
        tag->limit = available - ID3_HEADER_SIZE;  // a block cut short by the end of its file
    if (!WalksFrames(tag->version))
        return TagOpening::NONE;
    tag->data = block + ID3_HEADER_SIZE;
    if ((tag->flags & TAG_FLAG_UNSYNCHRONISATION) && DeunsynchronisesWholeTag(tag->version)) {
        tag->copy = PictureBuffer::Zeroed(tag->limit);
        if (!tag->copy.data())
            return TagOpening::NO_MEMORY;
        tag->limit = Deunsynchronise(tag->data, tag->limit, tag->copy.data());
        tag->data = tag->copy.data();
    }
    return TagOpening::WALKABLE;
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
    WalkableTag tag;
    const TagOpening opening = OpenTag(block, available, &tag);
    if (opening != TagOpening::WALKABLE)
        return opening == TagOpening::NONE ? HasPicture(picture) : 0;
    PictureSpan span = WalkFrames(tag.version, tag.flags, tag.data, tag.limit, accepted);
    if (span.found && tag.copy.data()) {
        // The copy becomes the picture's block, so its bytes exist once.
        memmove(tag.copy.data(), tag.copy.data() + span.offset, span.length);
        tag.copy.Shrink(span.length);
        *picture = std::move(tag.copy);
    } else if (span.found) {
        PictureBuffer found = PictureBuffer::Zeroed(span.length);
        if (found.data()) {
            memcpy(found.data(), tag.data + span.offset, span.length);
            *picture = std::move(found);
        }
    }
    return HasPicture(picture);
}

void ReadTextFromTagBlock(const uint8_t* block, size_t available, TagText* text)
{
    WalkableTag tag;
    if (OpenTag(block, available, &tag) != TagOpening::WALKABLE)
        return;
    ForEachFrame(tag.version, tag.flags, tag.data, tag.limit,
                 [&](const uint8_t* id, uint8_t formatFlags, size_t payload, uint32_t frameSize) {
                     TextField which;
                     if (TextFrameField(id, &which))
                         text->Offer(which, ReadTextPayload(tag.version, formatFlags, tag.data + payload, frameSize));
                     return text->Complete();
                 });
}

size_t HeldTagBlockLength(const uint8_t* header)
{
    const uint8_t* size = header + 6;
    return ID3_HEADER_SIZE + ((static_cast<size_t>(size[0] & 0x7F) << 21) | (static_cast<size_t>(size[1] & 0x7F) << 14) |
                              (static_cast<size_t>(size[2] & 0x7F) << 7) | (size[3] & 0x7F));
}

namespace {

// How much of a served block may be read: only behind an "ID3" is there a
// header to take the length from; the bytes are compared one at a time so
// that a mismatch reads no further. 0 when there is no tag.
size_t ServedTagLength(const uint8_t* tag, size_t readBound)
{
    if (!tag || readBound < ID3_HEADER_SIZE || tag[0] != 'I' || tag[1] != 'D' || tag[2] != '3')
        return 0;
    size_t held = HeldTagBlockLength(tag);
    return held < readBound ? held : readBound;
}

}  // namespace

int ExtractApicFromServedTag(const uint8_t* tag, PictureBuffer* picture, ApicEncodings accepted, size_t readBound)
{
    const size_t length = ServedTagLength(tag, readBound);
    return length ? ExtractApicFromTagBlock(tag, length, picture, accepted) : HasPicture(picture);
}

void ReadTextFromServedTag(const uint8_t* tag, size_t readBound, TagText* text)
{
    const size_t length = ServedTagLength(tag, readBound);
    if (length)
        ReadTextFromTagBlock(tag, length, text);
}
