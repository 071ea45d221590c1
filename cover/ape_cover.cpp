#include "cover/ape_cover.h"
#include <string.h>
#include "cover/byte_order.h"

namespace {

constexpr size_t APE_FOOTER_BYTES = 32;
constexpr size_t ID3V1_BYTES = 128;
constexpr size_t ITEM_FIELDS_BYTES = 8;  // value size, flags
constexpr size_t LONGEST_KEY = 255;
// The file name ahead of a cover's bytes is looked for within this many bytes.
constexpr size_t FILE_NAME_WINDOW = 1024;
constexpr char FRONT_COVER_KEY[] = "cover art (front)";
constexpr char COVER_KEY_PREFIX[] = "cover art";

struct Span {
    uint64_t offset = 0, length = 0;
};

bool SameIgnoringCase(const char* text, const char* lowerCase, size_t length)
{
    for (size_t i = 0; i < length; ++i) {
        char c = text[i] >= 'A' && text[i] <= 'Z' ? static_cast<char>(text[i] - 'A' + 'a') : text[i];
        if (c != lowerCase[i])
            return false;
    }
    return true;
}

// Where the footer starts: at the end of the file, or before an ID3v1 tag.
bool FindFooter(const ByteReader& file, uint8_t (&footer)[APE_FOOTER_BYTES], uint64_t* footerStart)
{
    uint64_t size = file.Length();
    for (uint64_t trailer : {uint64_t{0}, uint64_t{ID3V1_BYTES}}) {
        if (size < trailer + APE_FOOTER_BYTES)
            return false;
        uint64_t start = size - trailer - APE_FOOTER_BYTES;
        uint8_t id3v1[3];
        if (trailer && !(ReadExactly(file, size - ID3V1_BYTES, id3v1, 3) && memcmp(id3v1, "TAG", 3) == 0))
            return false;
        if (ReadExactly(file, start, footer, APE_FOOTER_BYTES) && memcmp(footer, "APETAGEX", 8) == 0) {
            *footerStart = start;
            return true;
        }
    }
    return false;
}

// Calls visit(key, keyLength, value) for each item in order until it
// returns true; false when there is no tag.
template <typename Visit>
bool ForEachItem(const ByteReader& file, Visit visit)
{
    uint8_t footer[APE_FOOTER_BYTES];
    uint64_t footerStart;
    if (!FindFooter(file, footer, &footerStart))
        return false;
    // The stated size counts the items and the footer, not a header.
    uint64_t tagSize = LittleEndian32(footer + 12);
    if (tagSize < APE_FOOTER_BYTES || tagSize - APE_FOOTER_BYTES > footerStart)
        return false;
    uint64_t position = footerStart - (tagSize - APE_FOOTER_BYTES);
    for (uint32_t n = LittleEndian32(footer + 16); n > 0 && position < footerStart; --n) {
        uint8_t item[ITEM_FIELDS_BYTES + LONGEST_KEY + 1];
        uint64_t room = footerStart - position;
        size_t got = static_cast<size_t>(room < sizeof item ? room : sizeof item);
        if (got <= ITEM_FIELDS_BYTES || !ReadExactly(file, position, item, got))
            return true;
        const char* key = reinterpret_cast<const char*>(item + ITEM_FIELDS_BYTES);
        const void* terminator = memchr(key, 0, got - ITEM_FIELDS_BYTES);
        if (!terminator)
            return true;
        size_t keyLength = static_cast<size_t>(static_cast<const char*>(terminator) - key);
        uint64_t valueStart = position + ITEM_FIELDS_BYTES + keyLength + 1;
        uint64_t valueLength = LittleEndian32(item);
        if (valueLength > footerStart - valueStart || visit(key, keyLength, Span{valueStart, valueLength}))
            return true;
        position = valueStart + valueLength;
    }
    return true;
}

// The cover item's value: the front cover's, else the first "Cover Art" one.
bool FindCoverValue(const ByteReader& file, Span* value)
{
    bool found = false;
    ForEachItem(file, [&](const char* key, size_t keyLength, Span item) {
        bool front = keyLength == sizeof FRONT_COVER_KEY - 1 && SameIgnoringCase(key, FRONT_COVER_KEY, keyLength);
        bool cover = keyLength >= sizeof COVER_KEY_PREFIX - 1 &&
                     SameIgnoringCase(key, COVER_KEY_PREFIX, sizeof COVER_KEY_PREFIX - 1);
        if (front || (cover && !found)) {
            *value = item;
            found = true;
        }
        return front;
    });
    return found;
}

void ReadApeText(const ByteReader& file, TagText* text)
{
    ForEachItem(file, [&](const char* key, size_t keyLength, Span item) {
        TextField which;
        if (TextFieldNamed(key, keyLength, &which))
            text->Offer(which, ReadTextBytes(file, item.offset, item.length, StoredText::UTF8));
        return text->Complete();
    });
}

bool RecognisesAnyFile(const uint8_t*, size_t)
{
    return true;
}

// mpcenc's --tagfile writes the picture with no file name before it. A JPEG
// or PNG signature cannot begin a file name (its first byte is no character
// that UTF-8 or Latin-1 text begins with), so such a value is taken whole.
bool StartsWithPicture(const uint8_t* value, size_t length)
{
    static const uint8_t JPEG[] = {0xFF, 0xD8, 0xFF};
    static const uint8_t PNG[] = {0x89, 'P', 'N', 'G'};
    return (length >= sizeof JPEG && memcmp(value, JPEG, sizeof JPEG) == 0) ||
           (length >= sizeof PNG && memcmp(value, PNG, sizeof PNG) == 0);
}

int ReadApeCover(const ByteReader& file, PictureBuffer* picture)
{
    Span value;
    if (!FindCoverValue(file, &value))
        return 0;
    uint8_t name[FILE_NAME_WINDOW];
    size_t got = static_cast<size_t>(value.length < sizeof name ? value.length : sizeof name);
    if (!ReadExactly(file, value.offset, name, got))
        return 0;
    if (StartsWithPicture(name, got))
        return ReadPictureBytes(file, value.offset, value.length, picture);
    const void* terminator = memchr(name, 0, got);
    if (!terminator)
        return 0;
    uint64_t skipped = static_cast<uint64_t>(static_cast<const uint8_t*>(terminator) - name) + 1;
    return ReadPictureBytes(file, value.offset + skipped, value.length - skipped, picture);
}

}  // namespace

const ContainerReader APE_READER = {"APEv2", RecognisesAnyFile, ReadApeCover, ReadApeText};
