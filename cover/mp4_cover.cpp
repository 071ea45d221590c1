#include "cover/mp4_cover.h"
#include <string.h>
#include "cover/byte_order.h"

namespace {

constexpr size_t BOX_HEADER_BYTES = 8;
constexpr size_t LARGE_BOX_HEADER_BYTES = 16;
// No real file has more children in one box; a hostile one of tiny boxes
// would otherwise cost a read per eight bytes.
constexpr int MOST_CHILDREN = 4096;
// A "data" box's payload starts with its type word and its locale.
constexpr uint64_t DATA_PREFIX_BYTES = 8;
// "meta" is a full box (version and flags before its children), but some
// writers leave those four bytes out.
constexpr uint64_t FULL_BOX_PREFIX_BYTES = 4;

struct Box {
    char type[4];
    uint64_t payload;  // first byte after the header
    uint64_t end;
};

// The box at `position`, which must end by `parentEnd`. A 32-bit size of 1
// means a 64-bit size follows; 0 means "to the end of the parent".
bool ReadBox(const ByteReader& file, uint64_t position, uint64_t parentEnd, Box* box)
{
    uint8_t header[LARGE_BOX_HEADER_BYTES];
    uint64_t room = parentEnd - position;
    if (room < BOX_HEADER_BYTES || !ReadExactly(file, position, header, BOX_HEADER_BYTES))
        return false;
    uint64_t size = BigEndian32(header);
    uint64_t headerBytes = BOX_HEADER_BYTES;
    if (size == 1) {
        headerBytes = LARGE_BOX_HEADER_BYTES;
        if (room < headerBytes || !ReadExactly(file, position + BOX_HEADER_BYTES, header + BOX_HEADER_BYTES, 8))
            return false;
        size = BigEndian64(header + BOX_HEADER_BYTES);
    } else if (size == 0) {
        size = room;
    }
    if (size < headerBytes || size > room)
        return false;
    memcpy(box->type, header + 4, 4);
    box->payload = position + headerBytes;
    box->end = position + size;
    return true;
}

// The first child of type `type` among the boxes filling [begin, end).
bool FindChild(const ByteReader& file, uint64_t begin, uint64_t end, const char* type, Box* found)
{
    uint64_t position = begin;
    for (int n = 0; n < MOST_CHILDREN && position < end; ++n) {
        if (!ReadBox(file, position, end, found))
            return false;
        if (memcmp(found->type, type, 4) == 0)
            return true;
        position = found->end;
    }
    return false;
}

// Where the children of "meta" begin: right after its header when the next
// four bytes already name a child box, else after the version and flags.
uint64_t MetaChildren(const ByteReader& file, const Box& meta)
{
    uint8_t first[8];
    if (meta.end - meta.payload >= sizeof first && ReadExactly(file, meta.payload, first, sizeof first) &&
        (memcmp(first + 4, "hdlr", 4) == 0 || memcmp(first + 4, "ilst", 4) == 0))
        return meta.payload;
    return meta.payload + FULL_BOX_PREFIX_BYTES;
}

bool RecognisesMp4(const uint8_t* head, size_t length)
{
    return length >= BOX_HEADER_BYTES && memcmp(head + 4, "ftyp", 4) == 0;
}

// moov/udta/meta/ilst: the item list that holds the tags.
bool FindItemList(const ByteReader& file, Box* ilst)
{
    Box moov, udta, meta;
    if (!FindChild(file, 0, file.Length(), "moov", &moov) ||
        !FindChild(file, moov.payload, moov.end, "udta", &udta) ||
        !FindChild(file, udta.payload, udta.end, "meta", &meta))
        return false;
    uint64_t children = MetaChildren(file, meta);
    return children <= meta.end && FindChild(file, children, meta.end, "ilst", ilst);
}

// An item's first "data" box: where its value starts, after type and locale.
bool ItemValue(const ByteReader& file, const Box& item, uint64_t* start, uint64_t* end)
{
    Box data;
    if (!ReadBox(file, item.payload, item.end, &data) || memcmp(data.type, "data", 4) != 0 ||
        data.end - data.payload < DATA_PREFIX_BYTES)
        return false;
    *start = data.payload + DATA_PREFIX_BYTES;
    *end = data.end;
    return true;
}

int ReadMp4Cover(const ByteReader& file, PictureBuffer* picture)
{
    Box ilst, covr;
    uint64_t start, end;
    if (!FindItemList(file, &ilst) || !FindChild(file, ilst.payload, ilst.end, "covr", &covr) ||
        !ItemValue(file, covr, &start, &end))
        return 0;
    return ReadPictureBytes(file, start, end - start, picture);
}

void ReadMp4Text(const ByteReader& file, TagText* text)
{
    static const char* const ITEMS[TEXT_FIELD_COUNT] = {"\xA9nam", "\xA9" "ART", "\xA9" "alb"};
    Box ilst, item;
    if (!FindItemList(file, &ilst))
        return;
    uint64_t position = ilst.payload, start, end;
    for (int n = 0; n < MOST_CHILDREN && position < ilst.end && ReadBox(file, position, ilst.end, &item); ++n) {
        for (int field = 0; field < TEXT_FIELD_COUNT; ++field) {
            if (memcmp(item.type, ITEMS[field], 4) == 0 && ItemValue(file, item, &start, &end))
                text->Offer(static_cast<TextField>(field), ReadTextBytes(file, start, end - start, StoredText::UTF8));
        }
        position = item.end;
    }
}

}  // namespace

const ContainerReader MP4_READER = {"MP4", RecognisesMp4, ReadMp4Cover, ReadMp4Text};
