#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "cover/file_picture.h"
#include "state/picture_limits.h"
#include "tests/support/container_builder.h"

namespace {

const Bytes FRONT = Text("front-cover-bytes");
const Bytes BACK = Text("back-cover-bytes");
const Bytes NONE;

struct Case {
    const char* name;
    Bytes file;
    Bytes expected;  // empty: no picture
};

Bytes ReadCover(const ByteReader& reader)
{
    PictureBuffer picture;
    int found = ReadPictureFromFile(reader, &picture);
    EXPECT_EQ(found, picture.data() != nullptr);
    return found ? Bytes(picture.data(), picture.data() + picture.length()) : Bytes();
}

void ExpectCases(const std::vector<Case>& cases)
{
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MemoryReader reader(c.file);
        EXPECT_EQ(c.expected, ReadCover(reader));
    }
}

Bytes Covr(const Bytes& dataBoxes) { return Box("covr", dataBoxes); }

Bytes Id3WithApic(const Bytes& apic) { return Tag(3, 0, Frame3("APIC", apic)); }

TEST(FilePicture, Mp4CoverFromTheFirstDataBoxOfTheFirstCovr)
{
    Bytes largeMdat = Bytes{0, 0, 0, 1} + Text("mdat") + BigEndian(0) + BigEndian(16 + 8) + Bytes(8, 0x55);
    Bytes lastMoovToEnd = Bytes{0, 0, 0, 0} + Text("moov") + Box("udta", Box("meta", Bytes(4, 0) + Box("ilst", Covr(CoverData(FRONT)))));
    ExpectCases({
        {"moov after mdat", Mp4File(Mp4Moov(Covr(CoverData(FRONT)))), FRONT},
        {"moov first", Box("ftyp", Text("M4A ")) + Mp4Moov(Covr(CoverData(FRONT))) + Box("mdat", Bytes(9, 0)), FRONT},
        {"meta without version and flags", Mp4File(Mp4Moov(Covr(CoverData(FRONT)), false)), FRONT},
        {"implicit type, two data boxes, two covr items",
         Mp4File(Mp4Moov(Covr(CoverData(FRONT, 0) + CoverData(BACK)) + Covr(CoverData(BACK)))), FRONT},
        {"64-bit mdat size, moov sized to the end", Box("ftyp", Text("M4A ")) + largeMdat + lastMoovToEnd, FRONT},
        {"no covr", Mp4File(Mp4Moov(Box("\xA9nam", Box("data", Bytes(8, 0) + Text("Song"))))), NONE},
        {"data box overruns covr", Mp4File(Mp4Moov(Box("covr", BigEndian(500) + Text("data") + Bytes(8, 0) + FRONT))), NONE},
        {"moov overruns the file", Mp4File(BigEndian(900) + Text("moov")), NONE},
        {"box smaller than its header", Mp4File(BigEndian(4) + Text("moov") + Mp4Moov(Covr(CoverData(FRONT)))), NONE},
    });
}

TEST(FilePicture, AsfFrontCoverWinsAcrossContentAndMetadataLibrary)
{
    Bytes badLength = Bytes{3} + LittleEndian(9999) + Utf16z("image/png") + Utf16z("") + FRONT;
    ExpectCases({
        {"back then front", AsfFile(AsfContent({{"WM/Picture", WmPicture(4, BACK)}, {"WM/Picture", WmPicture(3, FRONT)}}), 1), FRONT},
        {"only a back cover", AsfFile(AsfContent({{"Title", Text("x")}, {"WM/Picture", WmPicture(4, BACK)}})), BACK},
        {"front cover in the metadata library",
         AsfFile(AsfContent({{"WM/Picture", WmPicture(4, BACK)}}) + AsfLibrary({{"WM/Picture", WmPicture(3, FRONT)}}), 2), FRONT},
        {"data length past the value", AsfFile(AsfContent({{"WM/Picture", badLength}, {"WM/Picture", WmPicture(0, BACK)}})), BACK},
        {"object past the header", AsfFile(ASF_CONTENT_GUID + LittleEndian64(5000) + Bytes(20, 0)), NONE},
    });
}

TEST(FilePicture, ApeFrontCoverOrFirstCoverArtItem)
{
    Bytes truncatedTag = ApeTag({ApeItem("Cover Art (Front)", ApeCoverValue(FRONT))});
    truncatedTag[truncatedTag.size() - 20] = 0xFF;  // tag size larger than the file
    ExpectCases({
        {"back then front", SmallMp3() + ApeTag({ApeItem("Cover Art (Back)", ApeCoverValue(BACK)),
                                                  ApeItem("cover art (FRONT)", ApeCoverValue(FRONT))}), FRONT},
        {"only a back cover, before ID3v1", Text("wvpk") + ApeTag({ApeItem("Title", Text("x"), 0),
                                                                     ApeItem("Cover Art (Back)", ApeCoverValue(BACK))}) + Id3v1Tag(), BACK},
        {"value without a file name", ApeTag({ApeItem("Cover Art (Front)", FRONT)}), NONE},
        {"JPEG without a file name", ApeTag({ApeItem("Cover Art (Front)", Bytes{0xFF, 0xD8, 0xFF, 0, 1})}),
         Bytes{0xFF, 0xD8, 0xFF, 0, 1}},
        {"value past the tag", ApeTag({LittleEndian(5000) + LittleEndian(2) + Text("Cover Art (Front)") + Bytes{0} + FRONT}), NONE},
        {"tag larger than the file", truncatedTag, NONE},
    });
}

TEST(FilePicture, WavAndAiffId3ChunksUseTheMp3Rule)
{
    Bytes latin1 = Tag(3, 0, Frame3("APIC", Apic(BACK, 3, "a")) + Frame3("APIC", Apic(FRONT, 0)));
    ExpectCases({
        {"WAV id3 after an odd chunk", WavFile(RiffChunk("fmt ", Bytes(16, 1)) + RiffChunk("LIST", Bytes(3, 7)) +
                                               RiffChunk("id3 ", Id3WithApic(Apic(FRONT)))), FRONT},
        {"WAV ID3 with a UTF-16 picture only", WavFile(RiffChunk("ID3 ", Id3WithApic(Apic(BACK, 3, "a")))), BACK},
        {"WAV Latin-1 picture wins", WavFile(RiffChunk("id3 ", latin1)), FRONT},
        {"AIFF", AiffFile(IffChunk("COMM", Bytes(17, 0)) + IffChunk("ID3 ", Id3WithApic(Apic(FRONT)))), FRONT},
        {"AIFC", AiffFile(IffChunk("ID3 ", Id3WithApic(Apic(FRONT))), "AIFC"), FRONT},
        {"chunk past the form", WavFile(Text("id3 ") + LittleEndian(70000) + Id3WithApic(Apic(FRONT))), NONE},
    });
}

// Seeking, never reading: what lies before the moov box, and a picture that
// declares more than the limit, cost no reads.
TEST(FilePicture, ReadsNeitherSkippedBoxesNorOversizedPictures)
{
    Bytes file = Mp4File(Mp4Moov(Covr(CoverData(FRONT))), Bytes(1 << 20, 0x55));
    MemoryReader reader(file);
    EXPECT_EQ(FRONT, ReadCover(reader));
    EXPECT_LT(reader.bytesRead, 4096u);
    EXPECT_LT(reader.reads, 20);

    Bytes oversized = Mp4File(Mp4Moov(Box("covr", BigEndian(LARGEST_PICTURE_BYTES + 24) + Text("data") + Bytes(8, 0))));
    // The file claims to go on past the bytes given, as a large file would.
    MemoryReader claimsMore(oversized, uint64_t{LARGEST_PICTURE_BYTES} * 2);
    EXPECT_EQ(NONE, ReadCover(claimsMore));
    EXPECT_LT(claimsMore.bytesRead, 4096u);
}

}  // namespace
