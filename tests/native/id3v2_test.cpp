#include <gtest/gtest.h>
#include <algorithm>
#include <memory>
#include "cover/id3v2.h"
#include "state/picture_buffer.h"
#include "tests/support/tag_builder.h"

namespace {

const Bytes JPEG = {0xFF, 0xD8, 0xFF, 0xE0, 0x10, 0x20, 0xFF, 0xD9};
const Bytes OTHER_PICTURE = {0x89, 'P', 'N', 'G', 1, 2};

struct Extracted {
    int result;
    bool dataSet;
    Bytes picture;
};

// Walks a copy that ends exactly where the bytes do, so ASan sees any read past them.
Extracted ExtractPrefix(const Bytes& tag, size_t available)
{
    std::unique_ptr<uint8_t[]> block(new uint8_t[available ? available : 1]);
    memcpy(block.get(), tag.data(), available);
    PictureBuffer picture;
    Extracted out;
    out.result = ExtractApicFromTagBlock(block.get(), available, &picture);
    out.dataSet = picture.data() != NULL;
    if (picture.data())
        out.picture.assign(picture.data(), picture.data() + picture.length());
    return out;
}

// Serves the tag the way the audio library does: a block of exactly the
// header's masked length (bytes the tag lacks read as zero), and no length
// beside the pointer.
Extracted Extract(const Bytes& tag, ApicEncodings accepted = ApicEncodings::LATIN1)
{
    size_t held = HeldTagBlockLength(tag.data());
    std::unique_ptr<uint8_t[]> block(new uint8_t[held]());
    memcpy(block.get(), tag.data(), std::min(held, tag.size()));
    PictureBuffer picture;
    Extracted out;
    out.result = ExtractApicFromServedTag(block.get(), &picture, accepted);
    out.dataSet = picture.data() != NULL;
    if (picture.data())
        out.picture.assign(picture.data(), picture.data() + picture.length());
    return out;
}

Bytes WithSizeBytes(Bytes tag, const Bytes& size)
{
    std::copy(size.begin(), size.end(), tag.begin() + 6);
    return tag;
}

struct Case {
    const char* behaviour;
    Bytes tag;
    Bytes picture;  // empty: no picture at all
};

void ExpectCases(const std::vector<Case>& cases, ApicEncodings accepted = ApicEncodings::LATIN1)
{
    for (const Case& c : cases) {
        Extracted got = Extract(c.tag, accepted);
        EXPECT_EQ(c.picture, got.picture) << c.behaviour;
        EXPECT_EQ(c.picture.empty() ? 0 : 1, got.result) << c.behaviour;
        EXPECT_EQ(!c.picture.empty(), got.dataSet) << c.behaviour;
    }
}

TEST(Id3v2Readers, SyncsafeCombinesOverlappingBitsWithOr)
{
    EXPECT_EQ(257u, ReadSyncsafe32(Bytes{0, 0, 2, 1}.data()));
    EXPECT_EQ(255u, ReadSyncsafe32(Bytes{0, 0, 1, 0xFF}.data()));
    EXPECT_EQ(0x1FFFFFFFu, ReadSyncsafe32(Bytes{0xFF, 0xFF, 0xFF, 0xFF}.data()));
    EXPECT_EQ(0x12345678u, ReadBigEndian32(Bytes{0x12, 0x34, 0x56, 0x78}.data()));
}

TEST(Id3v2Walk, FindsTheFirstUsablePicture)
{
    Bytes title = Bytes{0} + Text("title");
    Bytes v24Unsynced = {1, 0xFF, 0, 2};
    Bytes large = v24Unsynced + Bytes(200, 9);  // a big-endian reading of its syncsafe size overshoots
    ExpectCases({
        {"one APIC", Tag(3, 0, Frame3("APIC", Apic(JPEG)) + Bytes(32, 0)), JPEG},
        {"TIT2 first", Tag(3, 0, Frame3("TIT2", Bytes{0} + Text("nineteen characters")) + Frame3("APIC", Apic(JPEG))), JPEG},
        {"UTF-16 APIC passed over", Tag(3, 0, Frame3("APIC", Apic(OTHER_PICTURE, 1)) + Frame3("APIC", Apic(JPEG))), JPEG},
        {"first of two wins", Tag(3, 0, Frame3("APIC", Apic(JPEG, 0, "front")) + Frame3("APIC", Apic(OTHER_PICTURE))), JPEG},
        {"2.3 unsync drops the zero after FF",
         Tag(3, TAG_FLAG_UNSYNCHRONISATION, Unsynchronise(Frame3("APIC", Apic(Bytes{1, 0xFF, 2, 0xFF, 0xFF, 3, 0xFF}))) ),
         Bytes{1, 0xFF, 2, 0xFF, 0xFF, 3, 0xFF}},
        {"2.3 unsync: FF 00 00 gives FF 00, a final FF stays",
         Tag(3, TAG_FLAG_UNSYNCHRONISATION, FrameWithSize("APIC", BigEndian(19), Apic(Bytes{7, 0xFF, 0, 0, 8, 0xFF}))),
         Bytes{7, 0xFF, 0, 8, 0xFF}},
        {"2.4 unsync flag keeps the zeros", Tag(4, TAG_FLAG_UNSYNCHRONISATION, Frame4("APIC", Apic(v24Unsynced))), v24Unsynced},
        {"3.1: syncsafe sizes, 2.3 flags, no unsync",
         Tag(3, TAG_FLAG_UNSYNCHRONISATION, Frame4("APIC", Bytes{0x7E} + Apic(large), 0x20), 1), large},
        {"2.3 flag 0x20 skips one byte", Tag(3, 0, Frame3("APIC", Bytes{0x7E} + Apic(JPEG), 0x20)), JPEG},
        {"2.3 flags 0xA0 skip five", Tag(3, 0, Frame3("APIC", Bytes{0, 0, 1, 0, 0x7E} + Apic(JPEG), 0xA0)), JPEG},
        {"2.4 flags 0x44 skip two", Tag(4, 0, Frame4("APIC", Bytes{1, 2} + Apic(JPEG), 0x44)), JPEG},
        {"2.4 0x03: the indicator gives the length",
         Tag(4, 0, Frame4("APIC", Syncsafe(20) + Apic(JPEG) + Bytes{0xAA, 0xBB}, 0x03)), Bytes(JPEG.begin(), JPEG.end() - 2)},
        {"2.4 0x01 alone: the frame size counts",
         Tag(4, 0, Frame4("APIC", Syncsafe(20) + Apic(JPEG) + Bytes{0xAA, 0xBB}, 0x01)), JPEG + Bytes{0xAA, 0xBB}},
        {"2.4 0x01 in an unsynchronised tag: the indicator counts",
         Tag(4, TAG_FLAG_UNSYNCHRONISATION, Frame4("APIC", Syncsafe(20) + Apic(JPEG) + Bytes{0xAA, 0xBB}, 0x01)),
         Bytes(JPEG.begin(), JPEG.end() - 2)},
        {"2.3 extended header of stated size 6",
         Tag(3, TAG_FLAG_EXTENDED_HEADER, BigEndian(6) + Bytes(6, 0) + Frame3("APIC", Apic(JPEG))), JPEG},
        {"2.4 extended header counts itself",
         Tag(4, TAG_FLAG_EXTENDED_HEADER, Syncsafe(6) + Bytes{1, 0} + Frame4("APIC", Apic(JPEG))), JPEG},
        // A frame that claims 1 to 3 bytes too many lands the walk on "PIC", "IC"
        // or "C" followed by the zero that starts the APIC frame's size.
        {"back up one", Tag(3, 0, FrameWithSize("TIT2", BigEndian(7), title) + Frame3("APIC", Apic(JPEG))), JPEG},
        {"back up two", Tag(3, 0, FrameWithSize("TIT2", BigEndian(8), title) + Frame3("APIC", Apic(JPEG))), JPEG},
        {"back up three", Tag(3, 0, FrameWithSize("TIT2", BigEndian(9), title) + Frame3("APIC", Apic(JPEG))), JPEG},
    });
}

TEST(Id3v2Walk, MalformedOrForeignTagsGiveNothing)
{
    Bytes tooShort = Tag(3, 0, Frame3("APIC", Apic(JPEG)));
    tooShort[9] -= 1;  // the tag's size ends one byte before the frame does
    ExpectCases({
        {"ID3v2.2", Tag(2, 0, Frame3("APIC", Apic(JPEG))), {}},
        {"frame past the tag size", tooShort, {}},
        {"indicator beyond the frame", Tag(4, 0, Frame4("APIC", Syncsafe(23) + Apic(JPEG), 0x03) + Bytes(20, 0)), {}},
        {"unterminated MIME type", Tag(3, 0, Frame3("APIC", Bytes{0} + Text("image/jpeg")) + Bytes(16, 0)), {}},
        {"unterminated description",
         Tag(3, 0, Frame3("APIC", Bytes{0} + Text("image/jpeg") + Bytes{0, 3} + Text("cover")) + Bytes(16, 0)), {}},
        // Flags that skip five bytes, all or more than the frame has, at the tag's very end.
        {"skip equals frame", Tag(3, 0, Frame3("APIC", Bytes(5, 0), 0xA0)), {}},
        {"skip exceeds frame", Tag(3, 0, Frame3("APIC", Bytes(4, 0), 0xA0)), {}},
        // Sizes near 2^32 end the walk, even with a usable APIC after them.
        {"size FFFFFFFF", Tag(3, 0, FrameWithSize("APIC", BigEndian(0xFFFFFFFF), Apic(JPEG)) + Frame3("APIC", Apic(OTHER_PICTURE))), {}},
        {"size FFFFFFF6", Tag(3, 0, FrameWithSize("APIC", BigEndian(0xFFFFFFF6), Apic(JPEG)) + Frame3("APIC", Apic(OTHER_PICTURE))), {}},
        // A top bit in the tag size: the library holds only the masked length,
        // so a frame that fits only the unmasked size lies beyond the block.
        {"size 00 00 00 FF holds 127 bytes", WithSizeBytes(Tag(3, 0, Frame3("APIC", Apic(Bytes(186, 7)))), {0, 0, 0, 0xFF}), {}},
        {"size 80 00 00 7F holds 127 bytes", WithSizeBytes(Tag(3, 0, Frame3("APIC", Apic(Bytes(300, 7)))), {0x80, 0, 0, 0x7F}), {}},
    });
}

TEST(Id3v2Walk, TagSizeTopBitsAreMaskedForTheHeldLengthOnly)
{
    EXPECT_EQ(10u + 127u, HeldTagBlockLength(Bytes{'I', 'D', '3', 3, 0, 0, 0x80, 0, 0, 0x7F}.data()));
    EXPECT_EQ(10u + 0xFFFFFFFu, HeldTagBlockLength(Bytes{'I', 'D', '3', 3, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF}.data()));
    // A well-formed picture inside the masked length is still found.
    Bytes fits = Frame3("APIC", Apic(JPEG));
    EXPECT_EQ(JPEG, Extract(WithSizeBytes(Tag(3, 0, fits + Bytes(0x7F - fits.size(), 0)), {0, 0, 0x80, 0x7F})).picture);
}

TEST(Id3v2Walk, ZeroBytePictureBlocksLaterApicFrames)
{
    Bytes empty = Bytes{0} + Text("image/jpeg") + Bytes{0, 3} + Text("runs to the end") + Bytes{0};
    Extracted got = Extract(Tag(3, 0, Frame3("APIC", empty) + Frame3("APIC", Apic(JPEG))));
    EXPECT_EQ(0, got.result);
    EXPECT_TRUE(got.dataSet);
    EXPECT_TRUE(got.picture.empty());
}

TEST(Id3v2Walk, TruncatedBlocksNeverReadPastTheirEnd)
{
    Bytes body = Frame3("TIT2", Bytes{0, 'a'}) + Frame3("APIC", Apic(JPEG));
    Bytes layouts[] = {Tag(3, 0, body), Tag(3, TAG_FLAG_UNSYNCHRONISATION, Unsynchronise(body)),
                       Tag(4, TAG_FLAG_EXTENDED_HEADER,
                           Syncsafe(6) + Bytes{1, 0} + Frame4("APIC", Bytes{5} + Syncsafe(22) + Apic(JPEG), 0x41))};
    for (const Bytes& tag : layouts) {
        for (size_t available = 0; available < tag.size(); ++available)
            EXPECT_FALSE(ExtractPrefix(tag, available).dataSet) << available;
        EXPECT_TRUE(Extract(tag).dataSet);
    }
}

// The walk that runs after the folder's JPEG files: APIC frames in UTF-16 or
// UTF-8, whose descriptions end differently, and never a Latin-1 one.
TEST(Id3v2Walk, UnicodeWalkTakesOnlyUtfFrames)
{
    auto apic = [](uint8_t encoding, const Bytes& description, const Bytes& picture) {
        return Bytes{encoding} + Text("image/png") + Bytes{0, 3} + description + picture;
    };
    Bytes bomA = {0xFF, 0xFE, 'a', 0, 0, 0};
    ExpectCases({
        {"UTF-16 with BOM", Tag(3, 0, Frame3("APIC", apic(1, bomA, JPEG))), JPEG},
        // 61 00 | 00 62 | 00 00: the zero pair at an odd offset is not the end.
        {"UTF-16 single zero bytes", Tag(4, 0, Frame4("APIC", apic(2, Bytes{'a', 0, 0, 'b', 0, 0}, JPEG))), JPEG},
        {"UTF-8 ends at its first zero", Tag(4, 0, Frame4("APIC", apic(3, Text("\xE8\xA1\xA8") + Bytes{0}, JPEG))), JPEG},
        {"Latin-1 frame passed over",
         Tag(3, 0, Frame3("APIC", Apic(OTHER_PICTURE)) + Frame3("APIC", apic(1, bomA, JPEG))), JPEG},
        {"unknown encoding 4", Tag(4, 0, Frame4("APIC", apic(4, Bytes{0}, JPEG))), {}},
        {"UTF-16 without an even zero pair", Tag(3, 0, Frame3("APIC", apic(1, Bytes{'a', 0, 0}, {}))), {}},
        {"unsynchronised 2.3 UTF-16", Tag(3, TAG_FLAG_UNSYNCHRONISATION, Unsynchronise(Frame3("APIC", apic(1, bomA, JPEG)))),
         JPEG},
    },
                ApicEncodings::UTF16_OR_UTF8);
    EXPECT_FALSE(Extract(Tag(3, 0, Frame3("APIC", apic(1, bomA, JPEG)))).dataSet);
}

// A truncated file: the library's block ends where the file does, before the
// size its header states. The file's size bounds the walk.
TEST(Id3v2Walk, ServedBlockShorterThanItsHeaderIsReadWithinTheFileBound)
{
    Bytes tag = TagWithSize(3, 0, 4096, Frame3("APIC", Apic(JPEG)) + Frame3("APIC", Apic(Bytes(64, 7))));
    size_t fileLength = tag.size() - 30;  // the second frame is cut
    for (size_t bound : {fileLength, size_t(9)}) {
        std::unique_ptr<uint8_t[]> block(new uint8_t[bound]);
        memcpy(block.get(), tag.data(), bound);
        PictureBuffer picture;
        EXPECT_EQ(bound > 9 ? 1 : 0, ExtractApicFromServedTag(block.get(), &picture, ApicEncodings::LATIN1, bound));
        picture = PictureBuffer();
        EXPECT_EQ(0, ExtractApicFromServedTag(block.get(), &picture, ApicEncodings::UTF16_OR_UTF8, bound));
    }
}

}  // namespace
