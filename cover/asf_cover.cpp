#include "cover/asf_cover.h"
#include <string.h>
#include "cover/byte_order.h"
#include "cover/picture_choice.h"

namespace {

typedef uint8_t Guid[16];
// GUIDs as stored: the first three fields little-endian.
constexpr Guid HEADER_OBJECT = {0x30, 0x26, 0xB2, 0x75, 0x8E, 0x66, 0xCF, 0x11,
                                0xA6, 0xD9, 0x00, 0xAA, 0x00, 0x62, 0xCE, 0x6C};  // 75B22630-668E-11CF-A6D9-00AA0062CE6C
constexpr Guid CONTENT_DESCRIPTION = {0x33, 0x26, 0xB2, 0x75, 0x8E, 0x66, 0xCF, 0x11,
                                      0xA6, 0xD9, 0x00, 0xAA, 0x00, 0x62, 0xCE, 0x6C};  // 75B22633-668E-11CF-...
constexpr Guid EXTENDED_CONTENT_DESCRIPTION = {0x40, 0xA4, 0xD0, 0xD2, 0x07, 0xE3, 0xD2, 0x11,
                                               0x97, 0xF0, 0x00, 0xA0, 0xC9, 0x5E, 0xA8, 0x50};  // D2D0A440-E307-11D2-...
constexpr Guid HEADER_EXTENSION = {0xB5, 0x03, 0xBF, 0x5F, 0x2E, 0xA9, 0xCF, 0x11,
                                   0x8E, 0xE3, 0x00, 0xC0, 0x0C, 0x20, 0x53, 0x65};  // 5FBF03B5-A92E-11CF-...
constexpr Guid METADATA_LIBRARY = {0x94, 0x1C, 0x23, 0x44, 0x98, 0x94, 0xD1, 0x49,
                                   0xA1, 0x41, 0x1D, 0x13, 0x4E, 0x45, 0x70, 0x54};  // 44231C94-9498-49D1-...

constexpr uint64_t OBJECT_HEADER_BYTES = 24;           // GUID, 64-bit size
constexpr uint64_t HEADER_OBJECT_FIELDS = 6;           // child count, two reserved bytes
constexpr uint64_t HEADER_EXTENSION_FIELDS = 22;       // reserved GUID and word, data size
constexpr size_t DESCRIPTOR_COUNT_BYTES = 2;
constexpr size_t METADATA_RECORD_FIELDS = 12;          // language, stream, name length, type, data length
constexpr int MOST_OBJECTS = 4096;

// Content Description: five 16-bit lengths (title, author, copyright,
// description, rating), then the five UTF-16LE strings.
constexpr size_t CONTENT_DESCRIPTION_LENGTHS = 10;
// "WM/AlbumTitle" in UTF-16LE, with its terminator.
constexpr uint8_t ALBUM_NAME[] = {'W', 0, 'M', 0, '/', 0, 'A', 0, 'l', 0, 'b', 0, 'u', 0, 'm', 0, 'T', 0,
                                  'i', 0, 't', 0, 'l', 0, 'e', 0, 0, 0};
// "WM/Picture" in UTF-16LE, with its terminator.
constexpr uint8_t PICTURE_NAME[] = {'W', 0, 'M', 0, '/', 0, 'P', 0, 'i', 0, 'c', 0, 't', 0, 'u', 0, 'r', 0, 'e', 0, 0, 0};
// A WM/Picture value: type (byte), data length (32-bit), then the MIME type
// and the description as zero-terminated UTF-16LE, then the data. The two
// strings are looked for within this many bytes.
constexpr size_t PICTURE_VALUE_HEAD_BYTES = 4096;
constexpr size_t PICTURE_VALUE_FIXED_BYTES = 5;

struct Object {
    uint8_t guid[16];
    uint64_t payload;
    uint64_t end;
};

struct Span {
    uint64_t offset = 0, length = 0;
};

struct PictureSearch {
    PictureChoice choice;
    size_t offered = 0;
    Span chosen;
};

bool ReadObject(const ByteReader& file, uint64_t position, uint64_t parentEnd, Object* object)
{
    uint8_t header[OBJECT_HEADER_BYTES];
    if (parentEnd - position < OBJECT_HEADER_BYTES || !ReadExactly(file, position, header, sizeof header))
        return false;
    uint64_t size = LittleEndian64(header + 16);
    if (size < OBJECT_HEADER_BYTES || size > parentEnd - position)
        return false;
    memcpy(object->guid, header, 16);
    object->payload = position + OBJECT_HEADER_BYTES;
    object->end = position + size;
    return true;
}

template <size_t N>
bool IsName(const ByteReader& file, uint64_t offset, uint64_t length, const uint8_t (&wanted)[N])
{
    // The terminator may be missing from the stored name.
    uint8_t name[N];
    if (length != N && length != N - 2)
        return false;
    return ReadExactly(file, offset, name, static_cast<size_t>(length)) &&
           memcmp(name, wanted, static_cast<size_t>(length)) == 0;
}

// The end of the zero-terminated UTF-16 string at `offset`, past its terminator.
bool SkipUtf16String(const uint8_t* bytes, size_t offset, size_t end, size_t* after)
{
    for (size_t at = offset; at + 1 < end; at += 2) {
        if (bytes[at] == 0 && bytes[at + 1] == 0) {
            *after = at + 2;
            return true;
        }
    }
    return false;
}

// Offers the WM/Picture value at `value` of `length` bytes to the search.
void OfferPictureValue(const ByteReader& file, uint64_t value, uint64_t length, PictureSearch* search)
{
    uint8_t head[PICTURE_VALUE_HEAD_BYTES];
    size_t headBytes = static_cast<size_t>(length < sizeof head ? length : sizeof head);
    size_t afterMime = 0, afterDescription = 0;
    bool wellFormed = headBytes >= PICTURE_VALUE_FIXED_BYTES && ReadExactly(file, value, head, headBytes) &&
                      SkipUtf16String(head, PICTURE_VALUE_FIXED_BYTES, headBytes, &afterMime) &&
                      SkipUtf16String(head, afterMime, headBytes, &afterDescription);
    uint64_t dataLength = wellFormed ? LittleEndian32(head + 1) : 0;
    wellFormed = wellFormed && dataLength <= length - afterDescription;
    size_t before = search->choice.chosen;
    OfferPicture(&search->choice, search->offered++, wellFormed ? head[0] : 0, !wellFormed);
    if (search->choice.chosen != before)
        search->chosen = {value + afterDescription, dataLength};
}

// Both attribute objects start with a 16-bit count of their records.
bool ReadRecordCount(const ByteReader& file, const Object& object, uint16_t* count)
{
    uint8_t bytes[DESCRIPTOR_COUNT_BYTES];
    if (object.end - object.payload < sizeof bytes || !ReadExactly(file, object.payload, bytes, sizeof bytes))
        return false;
    *count = LittleEndian16(bytes);
    return true;
}

// Extended Content Description: a count, then name length (16-bit), name,
// value type (16-bit), value length (16-bit), value. Calls visit(name,
// nameLength, value, valueLength) for each until it returns true.
template <typename Visit>
void ForEachDescriptor(const ByteReader& file, const Object& object, Visit visit)
{
    uint16_t count;
    if (!ReadRecordCount(file, object, &count))
        return;
    uint64_t position = object.payload + DESCRIPTOR_COUNT_BYTES;
    for (uint16_t n = count; n > 0; --n) {
        uint8_t field[4];
        if (object.end - position < 2 || !ReadExactly(file, position, field, 2))
            return;
        uint64_t name = position + 2, nameLength = LittleEndian16(field);
        if (object.end - name < nameLength + 4 || !ReadExactly(file, name + nameLength, field, 4))
            return;
        uint64_t value = name + nameLength + 4, valueLength = LittleEndian16(field + 2);
        if (object.end - value < valueLength || visit(name, nameLength, value, valueLength))
            return;
        position = value + valueLength;
    }
}

void SearchContentDescription(const ByteReader& file, const Object& object, PictureSearch* search)
{
    ForEachDescriptor(file, object, [&](uint64_t name, uint64_t nameLength, uint64_t value, uint64_t valueLength) {
        if (IsName(file, name, nameLength, PICTURE_NAME))
            OfferPictureValue(file, value, valueLength, search);
        return search->choice.final;
    });
}

// Metadata Library: a count, then records whose 32-bit data length lets a
// picture exceed 64 KB.
void SearchMetadataLibrary(const ByteReader& file, const Object& object, PictureSearch* search)
{
    uint16_t count;
    if (!ReadRecordCount(file, object, &count))
        return;
    uint64_t position = object.payload + DESCRIPTOR_COUNT_BYTES;
    for (uint16_t n = count; n > 0 && !search->choice.final; --n) {
        uint8_t fields[METADATA_RECORD_FIELDS];
        if (object.end - position < sizeof fields || !ReadExactly(file, position, fields, sizeof fields))
            return;
        uint64_t name = position + sizeof fields, nameLength = LittleEndian16(fields + 4);
        uint64_t dataLength = LittleEndian32(fields + 8);
        if (object.end - name < nameLength || object.end - name - nameLength < dataLength)
            return;
        if (IsName(file, name, nameLength, PICTURE_NAME))
            OfferPictureValue(file, name + nameLength, dataLength, search);
        position = name + nameLength + dataLength;
    }
}

void SearchHeaderExtension(const ByteReader& file, const Object& extension, PictureSearch* search)
{
    uint64_t position = extension.payload + HEADER_EXTENSION_FIELDS;
    if (position > extension.end)
        return;
    Object child;
    for (int n = 0; n < MOST_OBJECTS && position < extension.end && !search->choice.final; ++n) {
        if (!ReadObject(file, position, extension.end, &child))
            return;
        if (memcmp(child.guid, METADATA_LIBRARY, 16) == 0)
            SearchMetadataLibrary(file, child, search);
        position = child.end;
    }
}

bool RecognisesAsf(const uint8_t* head, size_t length)
{
    return length >= sizeof HEADER_OBJECT && memcmp(head, HEADER_OBJECT, sizeof HEADER_OBJECT) == 0;
}

// Calls visit(child) for each object of the header object until it returns
// true; what came before a damaged object still counts.
template <typename Visit>
void ForEachHeaderChild(const ByteReader& file, Visit visit)
{
    Object header, child;
    if (!ReadObject(file, 0, file.Length(), &header) || header.end - header.payload < HEADER_OBJECT_FIELDS)
        return;
    uint64_t position = header.payload + HEADER_OBJECT_FIELDS;
    for (int n = 0; n < MOST_OBJECTS && position < header.end; ++n) {
        if (!ReadObject(file, position, header.end, &child) || visit(child))
            return;
        position = child.end;
    }
}

int ReadAsfCover(const ByteReader& file, PictureBuffer* picture)
{
    PictureSearch search;
    ForEachHeaderChild(file, [&](const Object& child) {
        if (memcmp(child.guid, EXTENDED_CONTENT_DESCRIPTION, 16) == 0)
            SearchContentDescription(file, child, &search);
        else if (memcmp(child.guid, HEADER_EXTENSION, 16) == 0)
            SearchHeaderExtension(file, child, &search);
        return search.choice.final;
    });
    if (search.choice.chosen == NO_CHOICE)
        return 0;
    return ReadPictureBytes(file, search.chosen.offset, search.chosen.length, picture);
}

// Title and author from the Content Description; WM/AlbumTitle from the
// extended one.
void ReadAsfText(const ByteReader& file, TagText* text)
{
    ForEachHeaderChild(file, [&](const Object& child) {
        uint8_t lengths[CONTENT_DESCRIPTION_LENGTHS];
        if (memcmp(child.guid, CONTENT_DESCRIPTION, 16) == 0 && child.end - child.payload >= sizeof lengths &&
            ReadExactly(file, child.payload, lengths, sizeof lengths)) {
            const uint64_t title = child.payload + sizeof lengths, end = child.end;
            const uint64_t titleLength = LittleEndian16(lengths), authorLength = LittleEndian16(lengths + 2);
            if (titleLength <= end - title)
                text->Offer(TITLE, ReadTextBytes(file, title, titleLength, StoredText::UTF16LE));
            if (titleLength <= end - title && authorLength <= end - title - titleLength)
                text->Offer(ARTIST, ReadTextBytes(file, title + titleLength, authorLength, StoredText::UTF16LE));
        } else if (memcmp(child.guid, EXTENDED_CONTENT_DESCRIPTION, 16) == 0) {
            ForEachDescriptor(file, child, [&](uint64_t name, uint64_t nameLength, uint64_t value, uint64_t length) {
                if (IsName(file, name, nameLength, ALBUM_NAME))
                    text->Offer(ALBUM, ReadTextBytes(file, value, length, StoredText::UTF16LE));
                return false;
            });
        }
        return text->Complete();
    });
}

}  // namespace

const ContainerReader ASF_READER = {"ASF", RecognisesAsf, ReadAsfCover, ReadAsfText};
