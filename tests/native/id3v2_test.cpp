#include <gtest/gtest.h>
#include <memory>
#include "cover/id3v2.h"
#include "cover/picture_heap.h"
#include "tag_builder.h"

namespace {

const Bytes kJpeg = {0xFF, 0xD8, 0xFF, 0xE0, 0x10, 0x20, 0xFF, 0xD9};
const Bytes kOther = {0x89, 'P', 'N', 'G', 1, 2};

struct Extracted {
    int result;
    bool dataSet;
    Bytes picture;
};

// Walks a copy that ends exactly where the bytes do, so ASan sees any read past them.
Extracted ExtractPrefix(const Bytes& tag, size_t available)
{
    std::unique_ptr<uint8_t[]> block(new uint8_t[available ? available : 1]);
    if (available)
        memcpy(block.get(), tag.data(), available);
    PictureBuffer picture = {NULL, 0};
    Extracted out;
    out.result = ExtractApicFromTagBlock(block.get(), available, &picture);
    out.dataSet = picture.data != NULL;
    if (picture.data)
        out.picture.assign(picture.data, picture.data + picture.length);
    FreePictureBlock(picture.data);
    return out;
}

Extracted Extract(const Bytes& tag)
{
    return ExtractPrefix(tag, tag.size());
}

TEST(Id3v2Readers, SyncsafeCombinesOverlappingBitsWithOr)
{
    EXPECT_EQ(257u, ReadSyncsafe32(Bytes{0, 0, 2, 1}.data()));
    EXPECT_EQ(255u, ReadSyncsafe32(Bytes{0, 0, 1, 0xFF}.data()));
    EXPECT_EQ(0x1FFFFFFFu, ReadSyncsafe32(Bytes{0xFF, 0xFF, 0xFF, 0xFF}.data()));
    EXPECT_EQ(0x12345678u, ReadBigEndian32(Bytes{0x12, 0x34, 0x56, 0x78}.data()));
}

TEST(Id3v2Walk, Id3v23SingleApicYieldsExactPicture)
{
    Extracted got = Extract(Tag(3, 0, Frame3("APIC", Apic(kJpeg)) + Bytes(32, 0)));
    EXPECT_EQ(1, got.result);
    EXPECT_EQ(kJpeg, got.picture);
}

TEST(Id3v2Walk, TextFrameBeforeApicIsSkippedBySize)
{
    Bytes title = Bytes{0} + Text("nineteen characters");
    EXPECT_EQ(kJpeg, Extract(Tag(3, 0, Frame3("TIT2", title) + Frame3("APIC", Apic(kJpeg)))).picture);
}

TEST(Id3v2Walk, NonLatin1ApicIsPassedOverForALaterOne)
{
    Bytes tag = Tag(3, 0, Frame3("APIC", Apic(kOther, 1)) + Frame3("APIC", Apic(kJpeg, 0)));
    EXPECT_EQ(kJpeg, Extract(tag).picture);
}

TEST(Id3v2Walk, FirstUsableApicWins)
{
    Bytes tag = Tag(3, 0, Frame3("APIC", Apic(kJpeg, 0, "front")) + Frame3("APIC", Apic(kOther)));
    EXPECT_EQ(kJpeg, Extract(tag).picture);
}

TEST(Id3v2Walk, Id3v23UnsyncDropsZeroAfterFF)
{
    // The whole body is stored unsynchronised, frame headers included.
    Bytes picture = {1, 0xFF, 2, 0xFF, 0xFF, 3, 0xFF};
    Extracted got = Extract(Tag(3, TAG_FLAG_UNSYNCHRONISATION, Unsynchronise(Frame3("APIC", Apic(picture)))));
    EXPECT_EQ(picture, got.picture);
}

TEST(Id3v2Walk, Id3v23UnsyncDropsOnlyOneZeroAndKeepsAFinalFF)
{
    // Stored 07 FF 00 00 08 FF, the FF being the tag's last byte: 07 FF 00 08 FF.
    Bytes head = Bytes{0} + Text("image/jpeg") + Bytes{0, 3, 0};
    Bytes stored = FrameWithSize("APIC", BigEndian(uint32_t(head.size() + 5)), head + Bytes{7, 0xFF, 0, 0, 8, 0xFF});
    EXPECT_EQ((Bytes{7, 0xFF, 0, 8, 0xFF}), Extract(Tag(3, TAG_FLAG_UNSYNCHRONISATION, stored)).picture);
}

TEST(Id3v2Walk, Id3v24UnsyncFlagKeepsTheZeros)
{
    Bytes picture = {1, 0xFF, 0, 2, 0xFF, 0, 3};
    EXPECT_EQ(picture, Extract(Tag(4, TAG_FLAG_UNSYNCHRONISATION, Frame4("APIC", Apic(picture)))).picture);
}

TEST(Id3v2Walk, Id3v23RevisionOneHasSyncsafeSizesV23FlagsAndNoUnsync)
{
    // Over 127 bytes, so a big-endian reading of the syncsafe size overshoots the tag.
    Bytes picture = Bytes{1, 0xFF, 0, 2} + Bytes(200, 9);
    Bytes tag = Tag(3, TAG_FLAG_UNSYNCHRONISATION, Frame4("APIC", Bytes{0x7E} + Apic(picture), 0x20), 1);
    EXPECT_EQ(picture, Extract(tag).picture);
}

TEST(Id3v2Walk, Id3v23FormatFlagsSkipBytesBeforePayload)
{
    EXPECT_EQ(kJpeg, Extract(Tag(3, 0, Frame3("APIC", Bytes{0x7E} + Apic(kJpeg), 0x20))).picture);
    Bytes fiveBytes = Bytes{0, 0, 1, 0, 0x7E};
    EXPECT_EQ(kJpeg, Extract(Tag(3, 0, Frame3("APIC", fiveBytes + Apic(kJpeg), 0x80 | 0x20))).picture);
}

TEST(Id3v2Walk, Id3v24FormatFlagsSkipGroupAndMethodBytes)
{
    EXPECT_EQ(kJpeg, Extract(Tag(4, 0, Frame4("APIC", Bytes{1, 2} + Apic(kJpeg), 0x40 | 0x04))).picture);
}

TEST(Id3v2Walk, Id3v24DataLengthIndicatorGivesTheLength)
{
    // 0x01 | 0x02: the indicator, not the frame size, says how much is data.
    Bytes payload = Apic(kJpeg);
    Bytes frame = Frame4("APIC", Syncsafe(uint32_t(payload.size() - 2)) + payload + Bytes{0xAA, 0xBB}, 0x03);
    EXPECT_EQ(Bytes(kJpeg.begin(), kJpeg.end() - 2), Extract(Tag(4, 0, frame)).picture);
    // 0x01 alone: the indicator is skipped and the frame size still counts...
    frame[9] = 0x01;
    EXPECT_EQ((kJpeg + Bytes{0xAA, 0xBB}), Extract(Tag(4, 0, frame)).picture);
    // ...unless the whole tag is flagged unsynchronised.
    EXPECT_EQ(Bytes(kJpeg.begin(), kJpeg.end() - 2), Extract(Tag(4, TAG_FLAG_UNSYNCHRONISATION, frame)).picture);
}

TEST(Id3v2Walk, DataLengthIndicatorBeyondTheFrameGivesNothing)
{
    Bytes payload = Apic(kJpeg);
    Bytes frame = Frame4("APIC", Syncsafe(uint32_t(payload.size() + 1)) + payload, 0x03);
    Extracted got = Extract(Tag(4, 0, frame + Bytes(20, 0)));
    EXPECT_EQ(0, got.result);
    EXPECT_FALSE(got.dataSet);
}

TEST(Id3v2Walk, ExtendedHeaderIsSkipped)
{
    // ID3v2.3: stated size 6 excludes its own four bytes, so frames start at 10.
    Bytes extended3 = BigEndian(6) + Bytes(6, 0);
    EXPECT_EQ(kJpeg, Extract(Tag(3, TAG_FLAG_EXTENDED_HEADER, extended3 + Frame3("APIC", Apic(kJpeg)))).picture);
    // ID3v2.4: the syncsafe size counts itself.
    Bytes extended4 = Syncsafe(6) + Bytes{1, 0};
    EXPECT_EQ(kJpeg, Extract(Tag(4, TAG_FLAG_EXTENDED_HEADER, extended4 + Frame4("APIC", Apic(kJpeg)))).picture);
}

TEST(Id3v2Walk, WalkOneToThreeBytesPastAFrameBacksUpOntoIt)
{
    // TIT2 claims k bytes too many, so the walk lands on "PIC", "IC" or "C"
    // followed by the zero that starts the APIC frame's size.
    Bytes title = Bytes{0} + Text("title");
    for (uint32_t k = 1; k <= 3; ++k) {
        Bytes body = FrameWithSize("TIT2", BigEndian(uint32_t(title.size()) + k), title) + Frame3("APIC", Apic(kJpeg));
        EXPECT_EQ(kJpeg, Extract(Tag(3, 0, body)).picture) << k;
    }
}

TEST(Id3v2Walk, Id3v22GivesNothing)
{
    Extracted got = Extract(Tag(2, 0, Frame3("APIC", Apic(kJpeg))));
    EXPECT_EQ(0, got.result);
    EXPECT_FALSE(got.dataSet);
}

TEST(Id3v2Walk, ZeroBytePictureBlocksLaterApicFrames)
{
    Bytes empty = Bytes{0} + Text("image/jpeg") + Bytes{0, 3} + Text("runs to the end") + Bytes{0};
    Extracted got = Extract(Tag(3, 0, Frame3("APIC", empty) + Frame3("APIC", Apic(kJpeg))));
    EXPECT_EQ(0, got.result);
    EXPECT_TRUE(got.dataSet);
    EXPECT_TRUE(got.picture.empty());
}

TEST(Id3v2Walk, MalformedApicPayloadsGiveNothing)
{
    Bytes noMimeEnd = Bytes{0} + Text("image/jpeg");
    Bytes noDescriptionEnd = Bytes{0} + Text("image/jpeg") + Bytes{0, 3} + Text("cover");
    Bytes tag = Tag(3, 0, Frame3("APIC", noMimeEnd) + Frame3("APIC", noDescriptionEnd) + Bytes(16, 0));
    EXPECT_FALSE(Extract(tag).dataSet);
    // Flags that skip five bytes, all or more than the frame has, at the tag's very end.
    for (size_t size : {4, 5})
        EXPECT_FALSE(Extract(Tag(3, 0, Frame3("APIC", Bytes(size, 0), 0x80 | 0x20))).dataSet) << size;
}

TEST(Id3v2Walk, FrameSizeNearTopOfRangeEndsTheWalk)
{
    for (uint32_t size : {0xFFFFFFFFu, 0xFFFFFFF6u, 0xFFFFFFF5u}) {
        Bytes tag = Tag(3, 0, FrameWithSize("APIC", BigEndian(size), Apic(kJpeg)) + Frame3("APIC", Apic(kOther)));
        EXPECT_FALSE(Extract(tag).dataSet) << size;
    }
}

TEST(Id3v2Walk, FrameReachingPastTheTagSizeGivesNothing)
{
    // The bytes are there, but the header's size ends the tag one byte early.
    Bytes tag = Tag(3, 0, Frame3("APIC", Apic(kJpeg)));
    tag[9] -= 1;
    EXPECT_FALSE(Extract(tag).dataSet);
}

TEST(Id3v2Walk, TruncatedBlocksNeverReadPastTheirEnd)
{
    Bytes body = Frame3("TIT2", Bytes{0, 'a'}) + Frame3("APIC", Apic(kJpeg));
    Bytes layouts[] = {Tag(3, 0, body), Tag(3, TAG_FLAG_UNSYNCHRONISATION, Unsynchronise(body)),
                       Tag(4, TAG_FLAG_EXTENDED_HEADER,
                           Syncsafe(6) + Bytes{1, 0} + Frame4("APIC", Bytes{5} + Syncsafe(22) + Apic(kJpeg), 0x01 | 0x40))};
    for (const Bytes& tag : layouts) {
        for (size_t available = 0; available < tag.size(); ++available) {
            Extracted got = ExtractPrefix(tag, available);
            EXPECT_FALSE(got.dataSet) << available;
        }
        EXPECT_TRUE(Extract(tag).dataSet);
    }
}

}  // namespace
