#include <gtest/gtest.h>
#include <vector>
#include "cover/embedded_picture.h"
#include "state/display_state.h"

namespace {

using Bytes = std::vector<unsigned char>;

const Bytes kPicture = {0xFF, 0xD8, 0xFF, 0xE0, 0x01, 0x02, 0xFF, 0xD9};

// ID3v2.3 tag with one APIC frame (encoding 0, "image/jpeg", type 3, no description).
Bytes TagWithApic(const Bytes& picture)
{
    Bytes payload = {0, 'i', 'm', 'a', 'g', 'e', '/', 'j', 'p', 'e', 'g', 0, 3, 0};
    payload.insert(payload.end(), picture.begin(), picture.end());
    Bytes frame = {'A', 'P', 'I', 'C', 0, 0, 0, static_cast<unsigned char>(payload.size()), 0, 0};
    frame.insert(frame.end(), payload.begin(), payload.end());
    Bytes tag = {'I', 'D', '3', 3, 0, 0, 0, 0, 0, static_cast<unsigned char>(frame.size())};
    tag.insert(tag.end(), frame.begin(), frame.end());
    return tag;
}

struct FakeLibrary {
    DWORD channelType;
    BOOL infoResult;
    const Bytes* tag;
    bool recordWasZero;
    DWORD infoChannel;
    DWORD tagsChannel;
    DWORD tagsType;
    int tagsCalls;
};
FakeLibrary fake;

BOOL WINAPI FakeChannelGetInfo(DWORD handle, BassChannelInfo* info)
{
    const unsigned char* raw = reinterpret_cast<const unsigned char*>(info);
    fake.recordWasZero = true;
    for (size_t i = 0; i < sizeof(BassChannelInfo); ++i)
        fake.recordWasZero = fake.recordWasZero && raw[i] == 0;
    fake.infoChannel = handle;
    if (fake.infoResult)
        info->ctype = fake.channelType;
    return fake.infoResult;
}

const char* WINAPI FakeChannelGetTags(DWORD handle, DWORD tags)
{
    fake.tagsChannel = handle;
    fake.tagsType = tags;
    ++fake.tagsCalls;
    return fake.tag ? reinterpret_cast<const char*>(fake.tag->data()) : NULL;
}

class EmbeddedPicture : public ::testing::Test {
protected:
    void SetUp() override
    {
        fake = FakeLibrary{0x10005, TRUE, &mp3Tag, false, 0, 0, 0, 0};
        displayState.AudioLibrary.BASS_GetVersion = NULL;
        displayState.AudioLibrary.BASS_ChannelGetInfo = FakeChannelGetInfo;
        displayState.AudioLibrary.BASS_ChannelGetTags = FakeChannelGetTags;
    }
    void TearDown() override { displayState.AudioLibrary = AudioEntryPoints{}; }

    Bytes mp3Tag = TagWithApic(kPicture);
    PictureBuffer picture = {NULL, 0};
};

TEST_F(EmbeddedPicture, Mp3ChannelGivesPictureInProcessHeapBlock)
{
    ASSERT_EQ(1, ExtractEmbeddedPicture(7, &picture));
    EXPECT_TRUE(fake.recordWasZero);
    EXPECT_EQ(7u, fake.infoChannel);
    EXPECT_EQ(7u, fake.tagsChannel);
    EXPECT_EQ(1u, fake.tagsType);
    ASSERT_NE(nullptr, picture.data);
    EXPECT_EQ(kPicture, Bytes(picture.data, picture.data + picture.length));
    // The caller frees the block on the process heap, which must own it.
    EXPECT_EQ(static_cast<SIZE_T>(picture.length), HeapSize(GetProcessHeap(), 0, picture.data));
    EXPECT_TRUE(HeapFree(GetProcessHeap(), 0, picture.data));
}

TEST_F(EmbeddedPicture, OtherChannelTypesGiveNothingEvenWithApic)
{
    for (DWORD type : {0x10002u, 0x10004u, 0x10006u, 0u}) {
        fake.channelType = type;
        EXPECT_EQ(0, ExtractEmbeddedPicture(7, &picture)) << type;
    }
    // A failed call leaves the zero-filled record, which is no MP3 stream either.
    fake.channelType = 0x10005;
    fake.infoResult = FALSE;
    EXPECT_EQ(0, ExtractEmbeddedPicture(7, &picture));
    EXPECT_EQ(nullptr, picture.data);
    EXPECT_EQ(0, fake.tagsCalls);
}

TEST_F(EmbeddedPicture, UnboundEntryPointsGiveNothing)
{
    displayState.AudioLibrary.BASS_ChannelGetTags = NULL;
    EXPECT_EQ(0, ExtractEmbeddedPicture(7, &picture));
    EXPECT_EQ(0, ExtractApicFromTag(7, &picture));
    displayState.AudioLibrary.BASS_ChannelGetTags = FakeChannelGetTags;
    displayState.AudioLibrary.BASS_ChannelGetInfo = NULL;
    EXPECT_EQ(0, ExtractEmbeddedPicture(7, &picture));
    EXPECT_EQ(nullptr, picture.data);
    EXPECT_EQ(0, fake.tagsCalls);
}

TEST_F(EmbeddedPicture, MissingOrForeignTagBlockGivesNothing)
{
    fake.tag = NULL;
    EXPECT_EQ(0, ExtractEmbeddedPicture(7, &picture));
    Bytes notId3 = mp3Tag;
    notId3[0] = 'T';
    fake.tag = &notId3;
    EXPECT_EQ(0, ExtractEmbeddedPicture(7, &picture));
    EXPECT_EQ(nullptr, picture.data);
}

TEST_F(EmbeddedPicture, ZeroBytePictureLeavesABlockToFree)
{
    mp3Tag = TagWithApic(Bytes());
    EXPECT_EQ(0, ExtractEmbeddedPicture(7, &picture));
    ASSERT_NE(nullptr, picture.data);
    EXPECT_EQ(0, picture.length);
    EXPECT_TRUE(HeapFree(GetProcessHeap(), 0, picture.data));
}

}  // namespace
