#include <gtest/gtest.h>
#include <map>
#include <string>
#include "cover/bass_interface.h"
#include "cover/embedded_selection.h"
#include "cover/flac_pictures.h"
#include "state/picture_buffer.h"
#include "state/picture_limits.h"
#include "tests/support/tag_builder.h"

namespace {

const Bytes FRONT = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 1};
const Bytes BACK = {0xFF, 0xD8, 0xFF, 0xE0, 2, 0xFF, 0xD9};

// What a library serves, tag type by tag type.
struct Served {
    std::map<uint32_t, const void*> tags;
    static const char* Serve(const void* self, uint32_t type)
    {
        const auto& tags = static_cast<const Served*>(self)->tags;
        auto found = tags.find(type);
        return found == tags.end() ? nullptr : static_cast<const char*>(found->second);
    }
};

Bytes Select(uint32_t channelType, const Served& served, EmbeddedStep step = EmbeddedStep::FURTHER_PICTURES,
             size_t readBound = SIZE_MAX)
{
    TagServer server = {channelType, Served::Serve, &served, readBound};
    PictureBuffer picture;
    int result = SelectEmbeddedPicture(server, step, &picture);
    Bytes out = picture.data() ? Bytes(picture.data(), picture.data() + picture.length()) : Bytes();
    EXPECT_EQ(result, out.empty() ? 0 : 1);
    return out;
}

// The comment series as the library serves it: each string with its zero, then an empty one.
std::string Series(const std::vector<std::string>& comments)
{
    std::string out;
    for (const std::string& c : comments)
        out += c + '\0';
    return out + '\0';
}

TEST(EmbeddedSelection, OggCommentsGiveTheFrontCoverElseTheFirstPicture)
{
    std::string back = PictureComment(4, "image/jpeg", BACK), front = PictureComment(3, "image/png", FRONT);
    std::string valid = Base64(PictureBlock(0, "image/png", FRONT));
    Bytes cut = PictureBlock(0, "image/png", FRONT);
    cut.pop_back();
    struct Case {
        const char* behaviour;
        std::vector<std::string> comments;
        Bytes want;
    } cases[] = {
        {"back before front", {"TITLE=x", back, front}, FRONT},
        {"only a back cover", {back}, BACK},
        {"name in lower case", {"metadata_block_picture=" + valid}, FRONT},
        {"a link is skipped", {PictureComment(3, "-->", Text("http://x/c.png")), back}, BACK},
        {"no picture", {"TITLE=x", "METADATA_BLOCK_PICTUR=" + valid}, {}},
        // Malformed blocks are skipped and a later picture still counts.
        {"bad character", {"METADATA_BLOCK_PICTURE=" + valid.substr(0, 8) + "*" + valid.substr(9), back}, BACK},
        {"length not a multiple of 4", {"METADATA_BLOCK_PICTURE=" + valid.substr(1), back}, BACK},
        {"padding inside", {"METADATA_BLOCK_PICTURE=A=AA" + valid, back}, BACK},
        {"data longer than the block", {"METADATA_BLOCK_PICTURE=" + Base64(cut), back}, BACK},
        {"MIME longer than the block", {"METADATA_BLOCK_PICTURE=" + Base64(BigEndian(3) + BigEndian(0xFFFFFFF0)), back}, BACK},
        {"empty value", {"METADATA_BLOCK_PICTURE=", back}, BACK},
    };
    for (const Case& c : cases) {
        std::string series = Series(c.comments);
        Served served{{{BASS_TAG_OGG, series.data()}}};
        for (uint32_t type : {BASS_CTYPE_STREAM_VORBIS, BASS_CTYPE_STREAM_OPUS, BASS_CTYPE_STREAM_FLAC_OGG})
            EXPECT_EQ(c.want, Select(type, served)) << c.behaviour << " " << type;
        // Only after the folder's JPEG files, and never for an MP3 channel.
        EXPECT_EQ(Bytes(), Select(BASS_CTYPE_STREAM_VORBIS, served, EmbeddedStep::LATIN1_APIC)) << c.behaviour;
        EXPECT_EQ(Bytes(), Select(BASS_CTYPE_STREAM_MP3, served)) << c.behaviour;
    }
}

TEST(EmbeddedSelection, CommentSeriesIsReadWithinTheFileBound)
{
    // Served in an allocation of exactly its length, without the final empty string.
    std::string series = "TITLE=x" + std::string(1, '\0') + PictureComment(3, "image/png", FRONT);
    std::unique_ptr<char[]> exact(new char[series.size()]);
    memcpy(exact.get(), series.data(), series.size());
    Served served{{{BASS_TAG_OGG, exact.get()}}};
    EXPECT_EQ(Bytes(), Select(BASS_CTYPE_STREAM_OPUS, served, EmbeddedStep::FURTHER_PICTURES, series.size()));
}

TEST(EmbeddedSelection, FlacRecordsGiveTheFrontCoverElseTheFirstUsable)
{
    Bytes big(LARGEST_PICTURE_BYTES + 1, 7);
    auto record = [](uint32_t type, const char* mime, const Bytes& data) {
        return BassTagPicture{type, mime, "d", 1, 1, 24, 0, uint32_t(data.size()), data.data()};
    };
    struct Case {
        const char* behaviour;
        std::vector<BassTagPicture> records;
        Bytes want;
        size_t readBound;
    } cases[] = {
        {"back before front", {record(4, "image/jpeg", BACK), record(3, "image/png", FRONT)}, FRONT, SIZE_MAX},
        {"first when no front", {record(5, "image/jpeg", BACK), record(0, "image/png", FRONT)}, BACK, SIZE_MAX},
        {"a link is skipped", {record(3, "-->", FRONT), record(4, "image/jpeg", BACK)}, BACK, SIZE_MAX},
        {"oversized is no picture", {record(3, "image/png", big), record(4, "image/jpeg", BACK)}, BACK, SIZE_MAX},
        {"larger than the file", {record(3, "image/png", FRONT)}, {}, FRONT.size() - 1},
        {"no records", {}, {}, SIZE_MAX},
    };
    for (const Case& c : cases) {
        Served served;
        for (size_t n = 0; n < c.records.size(); ++n)
            served.tags[BASS_TAG_FLAC_PICTURE + uint32_t(n)] = &c.records[n];
        EXPECT_EQ(c.want, Select(BASS_CTYPE_STREAM_FLAC, served, EmbeddedStep::FURTHER_PICTURES, c.readBound))
            << c.behaviour;
    }
    // FLAC in Ogg reads the comments only when no record is served.
    std::string series = Series({PictureComment(3, "image/png", FRONT)});
    BassTagPicture back = record(4, "image/jpeg", BACK);
    Served both{{{BASS_TAG_OGG, series.data()}, {BASS_TAG_FLAC_PICTURE, &back}}};
    EXPECT_EQ(BACK, Select(BASS_CTYPE_STREAM_FLAC_OGG, both));
    EXPECT_EQ(Bytes(), Select(BASS_CTYPE_STREAM_FLAC, Served{{{BASS_TAG_OGG, series.data()}}}));
}

TEST(EmbeddedSelection, Mp3StepsSplitTheApicEncodings)
{
    Bytes utf16 = Bytes{1} + Text("image/png") + Bytes{0, 3, 0xFF, 0xFE, 0, 0} + FRONT;
    Bytes tag = Tag(3, 0, Frame3("APIC", utf16) + Frame3("APIC", Apic(BACK)));
    Served served{{{BASS_TAG_ID3V2, tag.data()}}};
    EXPECT_EQ(BACK, Select(BASS_CTYPE_STREAM_MP3, served, EmbeddedStep::LATIN1_APIC));
    EXPECT_EQ(FRONT, Select(BASS_CTYPE_STREAM_MP3, served, EmbeddedStep::FURTHER_PICTURES));
    EXPECT_EQ(Bytes(), Select(BASS_CTYPE_STREAM_FLAC, served, EmbeddedStep::LATIN1_APIC));
}

}  // namespace
