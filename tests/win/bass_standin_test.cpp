#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "cover/bass_interface.h"
#include "support/tag_builder.h"
#include "support/test_support.h"

namespace {

// A title frame and padding: a tag with nothing for the plug-in in it.
Bytes TextFrameBody()
{
    Bytes body = Frame3("TIT2", Bytes{0} + Text("song!"));
    body.resize(64, 0);
    return body;
}

class BassStandIn : public ::testing::Test {
protected:
    void SetUp() override { Load(BinDir() + L"\\bass.dll"); }

    void Load(const std::wstring& path)
    {
        library.reset(LoadLibraryW(path.c_str()));
        ASSERT_TRUE(library);
        create = Entry<BassStreamCreateFileFn>("BASS_StreamCreateFile");
        free = Entry<BassStreamFreeFn>("BASS_StreamFree");
        getInfo = Entry<BassChannelGetInfoFn>("BASS_ChannelGetInfo");
        getTags = Entry<BassChannelGetTagsFn>("BASS_ChannelGetTags");
        ASSERT_TRUE(create && free && getInfo);
    }

    template <typename Fn>
    Fn Entry(const char* name)
    {
        return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(library.get(), name)));
    }

    DWORD OpenFile(const std::wstring& name, const Bytes& bytes)
    {
        std::wstring path = folder / name;
        EXPECT_TRUE(WriteBytes(path, bytes));
        return create(FALSE, path.c_str(), 0, 0, BASS_UNICODE);
    }

    DWORD TypeOf(DWORD handle)
    {
        BassChannelInfo info = {};
        EXPECT_TRUE(getInfo(handle, &info));
        return info.ctype;
    }

    TempFolder folder;
    UniqueModule library;
    BassStreamCreateFileFn create = nullptr;
    BassStreamFreeFn free = nullptr;
    BassChannelGetInfoFn getInfo = nullptr;
    BassChannelGetTagsFn getTags = nullptr;
};

TEST_F(BassStandIn, Layer3FramesAfterTagMakeMp3Stream)
{
    DWORD handle = OpenFile(L"song.mp3", Tag(3, 0, TextFrameBody()) + AudioFrames(3));
    ASSERT_NE(0u, handle);
    BassChannelInfo info = {};
    ASSERT_TRUE(getInfo(handle, &info));
    EXPECT_EQ(BASS_CTYPE_STREAM_MP3, info.ctype);
    EXPECT_EQ(44100u, info.freq);
    EXPECT_EQ(2u, info.chans);
}

TEST_F(BassStandIn, TypeComesFromBytesNotFromName)
{
    Bytes mp3 = Tag(3, 0, TextFrameBody()) + AudioFrames(3);
    EXPECT_EQ(BASS_CTYPE_STREAM_MP3, TypeOf(OpenFile(L"song.ogg", mp3)));
    EXPECT_EQ(BASS_CTYPE_STREAM_MP3, TypeOf(OpenFile(L"noextension", mp3)));

    Bytes ogg = {'O', 'g', 'g', 'S', 0, 2, 0, 0, 0, 0, 0, 0, 0, 0};
    ogg.resize(3000, 0x5A);
    EXPECT_NE(BASS_CTYPE_STREAM_MP3, TypeOf(OpenFile(L"not-really.mp3", ogg)));
}

TEST_F(BassStandIn, Mpeg2Layer3IsMp3WithItsOwnRateAndChannels)
{
    BassChannelInfo info = {};
    ASSERT_TRUE(getInfo(OpenFile(L"low.mp3", AudioFrames(3, MPEG2_LAYER3_HEADER, MPEG2_LAYER3_FRAME_LENGTH)), &info));
    EXPECT_EQ(BASS_CTYPE_STREAM_MP3, info.ctype);
    EXPECT_EQ(22050u, info.freq);
    EXPECT_EQ(1u, info.chans);
}

TEST_F(BassStandIn, HeaderWithoutFollowingFrameIsNotMp3)
{
    // A plausible first header, but the bytes where the next frame should start are not one.
    Bytes bytes = MPEG1_LAYER3_HEADER;
    bytes.resize(2000, 0x11);
    EXPECT_NE(BASS_CTYPE_STREAM_MP3, TypeOf(OpenFile(L"lonely.mp3", bytes)));
    // A single frame that fills the file is enough.
    EXPECT_EQ(BASS_CTYPE_STREAM_MP3, TypeOf(OpenFile(L"single.mp3", AudioFrames(1))));
}

TEST_F(BassStandIn, OtherLayersAreNotMp3)
{
    EXPECT_NE(BASS_CTYPE_STREAM_MP3, TypeOf(OpenFile(L"layer2.mp2", AudioFrames(3, MPEG1_LAYER2_HEADER))));
}

TEST_F(BassStandIn, FramesInsideTheTagDoNotCount)
{
    // Frame headers in a tag's picture data, and nothing after the tag.
    Bytes body = AudioFrames(3);
    EXPECT_NE(BASS_CTYPE_STREAM_MP3, TypeOf(OpenFile(L"tag-only.mp3", Tag(3, 0, body))));
}

TEST_F(BassStandIn, JunkBeforeFirstFrameIsSkipped)
{
    Bytes bytes = Tag(3, 0, TextFrameBody()) + Bytes(100, 0) + AudioFrames(2);
    EXPECT_EQ(BASS_CTYPE_STREAM_MP3, TypeOf(OpenFile(L"padded.mp3", bytes)));
}

TEST_F(BassStandIn, TagBlockIsServedWholeAndStaysUntilFreed)
{
    Bytes tag = Tag(3, 0, TextFrameBody());
    DWORD handle = OpenFile(L"song.mp3", tag + AudioFrames(3));
    const char* block = getTags(handle, BASS_TAG_ID3V2);
    ASSERT_TRUE(block != nullptr);
    EXPECT_EQ(0, memcmp(block, tag.data(), tag.size()));

    // Another stream and the file's disappearance leave the block as it was.
    DWORD other = OpenFile(L"other.mp3", Tag(3, 0, Bytes(32, 0)) + AudioFrames(2));
    DeleteFileW((folder / L"song.mp3").c_str());
    EXPECT_EQ(block, getTags(handle, BASS_TAG_ID3V2));
    EXPECT_EQ(0, memcmp(block, tag.data(), tag.size()));
    EXPECT_NE(block, getTags(other, BASS_TAG_ID3V2));

    EXPECT_TRUE(free(handle));
    EXPECT_TRUE(getTags(handle, BASS_TAG_ID3V2) == nullptr);
    BassChannelInfo info = {};
    EXPECT_FALSE(getInfo(handle, &info));
    EXPECT_FALSE(free(handle));
    EXPECT_TRUE(getTags(other, BASS_TAG_ID3V2) != nullptr);
}

TEST_F(BassStandIn, FooterIsPartOfTheBlockAndOversizedTagIsClipped)
{
    // Version 4 with the footer flag: 10 + body + 10 bytes, then audio.
    Bytes footer = {'3', 'D', 'I', 4, 0, 0x10, 0, 0, 0, 16};
    Bytes tag = TagWithSize(4, 0x10, 16, Bytes(16, 0x20)) + footer;
    DWORD withFooter = OpenFile(L"v4.mp3", tag + AudioFrames(2));
    EXPECT_EQ(BASS_CTYPE_STREAM_MP3, TypeOf(withFooter));
    ASSERT_TRUE(getTags(withFooter, BASS_TAG_ID3V2) != nullptr);
    EXPECT_EQ(0, memcmp(getTags(withFooter, BASS_TAG_ID3V2), tag.data(), tag.size()));

    // Declares 100000 body bytes but the file ends after 50: the block is what there is.
    Bytes truncated = TagWithSize(3, 0, 100000, Bytes(50, 0x41));
    const char* block = getTags(OpenFile(L"cut.mp3", truncated), BASS_TAG_ID3V2);
    ASSERT_TRUE(block != nullptr);
    EXPECT_EQ(0, memcmp(block, truncated.data(), truncated.size()));
}

TEST_F(BassStandIn, NoTagNoOtherTagTypesNoUnknownHandles)
{
    DWORD plain = OpenFile(L"plain.mp3", AudioFrames(3));
    ASSERT_NE(0u, plain);
    EXPECT_TRUE(getTags(plain, BASS_TAG_ID3V2) == nullptr);

    DWORD tagged = OpenFile(L"tagged.mp3", Tag(3, 0, TextFrameBody()) + AudioFrames(2));
    EXPECT_TRUE(getTags(tagged, 0) == nullptr);  // ID3v1 is not served

    BassChannelInfo info = {};
    EXPECT_FALSE(getInfo(0, &info));
    EXPECT_FALSE(getInfo(tagged + 1000, &info));
    EXPECT_FALSE(getInfo(tagged, nullptr));
    EXPECT_TRUE(getTags(0, BASS_TAG_ID3V2) == nullptr);
    EXPECT_FALSE(free(0));
    EXPECT_EQ(0u, create(FALSE, (folder / L"missing.mp3").c_str(), 0, 0, BASS_UNICODE));
}

TEST_F(BassStandIn, HandlesAreSmallDistinctAndNeverReused)
{
    Bytes bytes = AudioFrames(2);
    DWORD first = OpenFile(L"a.mp3", bytes);
    ASSERT_TRUE(free(first));
    DWORD second = OpenFile(L"b.mp3", bytes);
    EXPECT_NE(0u, second);
    EXPECT_NE(first, second);
    EXPECT_LT(second, 0x10000u);
}

TEST_F(BassStandIn, UnicodeAnsiAndMemorySourcesAllOpen)
{
    Bytes mp3 = Tag(3, 0, TextFrameBody()) + AudioFrames(3);
    EXPECT_EQ(BASS_CTYPE_STREAM_MP3, TypeOf(OpenFile(L"\u66F2\u540D.mp3", mp3)));

    std::wstring ansiPath = folder / L"ansi.mp3";
    ASSERT_TRUE(WriteBytes(ansiPath, mp3));
    std::string narrow(ansiPath.begin(), ansiPath.end());
    EXPECT_EQ(BASS_CTYPE_STREAM_MP3, TypeOf(create(FALSE, narrow.c_str(), 0, 0, 0)));

    DWORD fromMemory = create(TRUE, mp3.data(), 0, mp3.size(), 0);
    EXPECT_EQ(BASS_CTYPE_STREAM_MP3, TypeOf(fromMemory));
    ASSERT_TRUE(getTags(fromMemory, BASS_TAG_ID3V2) != nullptr);
    // The block is a copy: the caller's memory may go away.
    EXPECT_NE(reinterpret_cast<const char*>(mp3.data()), getTags(fromMemory, BASS_TAG_ID3V2));
}

TEST(BassStandInWithoutTags, LacksTheTagEntryButOpensStreams)
{
    const UniqueModule library(LoadLibraryW((BinDir() + L"\\notags\\bass.dll").c_str()));
    ASSERT_TRUE(library);
    EXPECT_TRUE(GetProcAddress(library.get(), "BASS_ChannelGetTags") == nullptr);
    EXPECT_TRUE(GetProcAddress(library.get(), "BASS_GetVersion") != nullptr);
    EXPECT_TRUE(GetProcAddress(library.get(), "BASS_ChannelGetInfo") != nullptr);
    auto create = reinterpret_cast<BassStreamCreateFileFn>(
        reinterpret_cast<void*>(GetProcAddress(library.get(), "BASS_StreamCreateFile")));
    ASSERT_TRUE(create != nullptr);
    Bytes mp3 = AudioFrames(2);
    EXPECT_NE(0u, create(TRUE, mp3.data(), 0, mp3.size(), 0));
}

// FLAC, Vorbis and Opus are told by their bytes, whatever their names say.
TEST_F(BassStandIn, FlacServesItsPictureRecordsUntilFreed)
{
    const Bytes front = {0x89, 'P', 'N', 'G', 1}, back = {0xFF, 0xD8, 2, 0xFF, 0xD9};
    DWORD handle = OpenFile(L"song.mp3", FlacFile({PictureBlock(4, "image/jpeg", back), PictureBlock(3, "image/png", front),
                                                  Bytes{0, 0, 0, 3, 0, 0, 0, 99}}));  // the last one is cut
    BassChannelInfo info = {};
    ASSERT_TRUE(getInfo(handle, &info));
    EXPECT_EQ(BASS_CTYPE_STREAM_FLAC, info.ctype);
    EXPECT_EQ(44100u, info.freq);
    EXPECT_EQ(2u, info.chans);
    auto record = [&](DWORD n) { return reinterpret_cast<const BassTagPicture*>(getTags(handle, BASS_TAG_FLAC_PICTURE + n)); };
    const BassTagPicture* first = record(0);
    ASSERT_TRUE(first && record(1));
    EXPECT_EQ(nullptr, record(2));
    EXPECT_EQ(4u, first->apic);
    EXPECT_STREQ("image/jpeg", first->mime);
    EXPECT_STREQ("d", first->desc);
    EXPECT_EQ(24u, first->depth);
    EXPECT_EQ(3u, record(1)->apic);
    // Another channel opened and freed leaves this one's records where they were.
    EXPECT_TRUE(free(OpenFile(L"other.flac", FlacFile({}))));
    EXPECT_EQ(back, Bytes(static_cast<const uint8_t*>(first->data), static_cast<const uint8_t*>(first->data) + first->length));
    EXPECT_EQ(front, Bytes(static_cast<const uint8_t*>(record(1)->data), static_cast<const uint8_t*>(record(1)->data) + 5));
    EXPECT_EQ(nullptr, getTags(handle, BASS_TAG_OGG));
}

TEST_F(BassStandIn, OggServesItsCommentsAcrossPages)
{
    std::string picture = PictureComment(3, "image/png", Bytes(1500, 7));
    for (const char* codec : {"vorbis", "opus"}) {
        // Three lacing values a page: the comment packet spans many pages.
        DWORD handle = OpenFile(L"song.ogg", OggFile(codec, {"TITLE=Song", picture, "ARTIST=Them"}, 3));
        BassChannelInfo info = {};
        ASSERT_TRUE(getInfo(handle, &info)) << codec;
        bool opus = std::string(codec) == "opus";
        EXPECT_EQ(opus ? BASS_CTYPE_STREAM_OPUS : BASS_CTYPE_STREAM_VORBIS, info.ctype);
        EXPECT_EQ(opus ? 48000u : 44100u, info.freq);
        EXPECT_EQ(2u, info.chans);
        const char* comments = getTags(handle, BASS_TAG_OGG);
        ASSERT_TRUE(comments != nullptr);
        std::string served(comments, comments + 10 + 1 + picture.size() + 1 + 11 + 2);
        EXPECT_EQ("TITLE=Song" + std::string(1, '\0') + picture + '\0' + "ARTIST=Them" + std::string(2, '\0'), served);
        EXPECT_EQ(nullptr, getTags(handle, BASS_TAG_ID3V2));
    }
    Bytes notVorbis = OggPages({Text("\x01vorbix") + Bytes(30, 0)});
    EXPECT_EQ(0x10000u, TypeOf(OpenFile(L"odd.ogg", notVorbis)));
}

}  // namespace
