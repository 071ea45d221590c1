#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "cover/bass_interface.h"
#include "support/test_support.h"

namespace {

typedef std::vector<unsigned char> Bytes;

// MPEG-1 layer III, 128 kbit/s, 44100 Hz: 417-byte frames.
const unsigned char kMpeg1Header[4] = {0xFF, 0xFB, 0x90, 0x00};
constexpr size_t kMpeg1FrameLength = 417;
// MPEG-2 layer III, 64 kbit/s, 22050 Hz, mono: 208-byte frames.
const unsigned char kMpeg2Header[4] = {0xFF, 0xF3, 0x80, 0xC0};
constexpr size_t kMpeg2FrameLength = 208;
// MPEG-1 layer II, 128 kbit/s, 44100 Hz: same length, other layer.
const unsigned char kLayer2Header[4] = {0xFF, 0xFD, 0x90, 0x00};

Bytes Frames(const unsigned char (&header)[4], size_t length, int count)
{
    Bytes bytes;
    for (int i = 0; i < count; ++i) {
        bytes.insert(bytes.end(), header, header + 4);
        bytes.resize(bytes.size() + length - 4, 0);
    }
    return bytes;
}

// An ID3v2 tag whose header declares `declaredSize` body bytes and carries `body`.
Bytes Tag(const Bytes& body, uint32_t declaredSize, unsigned char version = 3, unsigned char flags = 0)
{
    Bytes bytes = {'I', 'D', '3', version, 0, flags,
                   static_cast<unsigned char>((declaredSize >> 21) & 0x7F),
                   static_cast<unsigned char>((declaredSize >> 14) & 0x7F),
                   static_cast<unsigned char>((declaredSize >> 7) & 0x7F),
                   static_cast<unsigned char>(declaredSize & 0x7F)};
    bytes.insert(bytes.end(), body.begin(), body.end());
    return bytes;
}

Bytes Tag(const Bytes& body)
{
    return Tag(body, static_cast<uint32_t>(body.size()));
}

Bytes Join(Bytes a, const Bytes& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

Bytes TextFrameBody()
{
    Bytes body = {'T', 'I', 'T', '2', 0, 0, 0, 6, 0, 0, 0, 's', 'o', 'n', 'g', '!'};
    body.resize(64, 0);  // padding
    return body;
}

class BassStandIn : public ::testing::Test {
protected:
    void SetUp() override { Load(BinDir() + L"\\bass.dll"); }
    void TearDown() override
    {
        if (library)
            FreeLibrary(library);
    }

    void Load(const std::wstring& path)
    {
        library = LoadLibraryW(path.c_str());
        ASSERT_TRUE(library != NULL);
        create = Entry<BassStreamCreateFileFn>("BASS_StreamCreateFile");
        free = Entry<BassStreamFreeFn>("BASS_StreamFree");
        getInfo = Entry<BassChannelGetInfoFn>("BASS_ChannelGetInfo");
        getTags = Entry<BassChannelGetTagsFn>("BASS_ChannelGetTags");
        ASSERT_TRUE(create && free && getInfo);
    }

    template <typename Fn>
    Fn Entry(const char* name)
    {
        return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(library, name)));
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
    HMODULE library = NULL;
    BassStreamCreateFileFn create = nullptr;
    BassStreamFreeFn free = nullptr;
    BassChannelGetInfoFn getInfo = nullptr;
    BassChannelGetTagsFn getTags = nullptr;
};

TEST_F(BassStandIn, Layer3FramesAfterTagMakeMp3Stream)
{
    DWORD handle = OpenFile(L"song.mp3", Join(Tag(TextFrameBody()), Frames(kMpeg1Header, kMpeg1FrameLength, 3)));
    ASSERT_NE(0u, handle);
    BassChannelInfo info = {};
    ASSERT_TRUE(getInfo(handle, &info));
    EXPECT_EQ(BASS_CTYPE_STREAM_MP3, info.ctype);
    EXPECT_EQ(44100u, info.freq);
    EXPECT_EQ(2u, info.chans);
}

TEST_F(BassStandIn, TypeComesFromBytesNotFromName)
{
    Bytes mp3 = Join(Tag(TextFrameBody()), Frames(kMpeg1Header, kMpeg1FrameLength, 3));
    EXPECT_EQ(BASS_CTYPE_STREAM_MP3, TypeOf(OpenFile(L"song.ogg", mp3)));
    EXPECT_EQ(BASS_CTYPE_STREAM_MP3, TypeOf(OpenFile(L"noextension", mp3)));

    Bytes ogg = {'O', 'g', 'g', 'S', 0, 2, 0, 0, 0, 0, 0, 0, 0, 0};
    ogg.resize(3000, 0x5A);
    EXPECT_NE(BASS_CTYPE_STREAM_MP3, TypeOf(OpenFile(L"not-really.mp3", ogg)));
}

TEST_F(BassStandIn, Mpeg2Layer3IsMp3WithItsOwnRateAndChannels)
{
    BassChannelInfo info = {};
    ASSERT_TRUE(getInfo(OpenFile(L"low.mp3", Frames(kMpeg2Header, kMpeg2FrameLength, 3)), &info));
    EXPECT_EQ(BASS_CTYPE_STREAM_MP3, info.ctype);
    EXPECT_EQ(22050u, info.freq);
    EXPECT_EQ(1u, info.chans);
}

TEST_F(BassStandIn, HeaderWithoutFollowingFrameIsNotMp3)
{
    // A plausible first header, but the bytes where the next frame should start are not one.
    Bytes bytes(kMpeg1Header, kMpeg1Header + 4);
    bytes.resize(2000, 0x11);
    EXPECT_NE(BASS_CTYPE_STREAM_MP3, TypeOf(OpenFile(L"lonely.mp3", bytes)));
    // A single frame that fills the file is enough.
    EXPECT_EQ(BASS_CTYPE_STREAM_MP3, TypeOf(OpenFile(L"single.mp3", Frames(kMpeg1Header, kMpeg1FrameLength, 1))));
}

TEST_F(BassStandIn, OtherLayersAreNotMp3)
{
    EXPECT_NE(BASS_CTYPE_STREAM_MP3, TypeOf(OpenFile(L"layer2.mp2", Frames(kLayer2Header, kMpeg1FrameLength, 3))));
}

TEST_F(BassStandIn, FramesInsideTheTagDoNotCount)
{
    // Frame headers in a tag's picture data, and nothing after the tag.
    Bytes body = Frames(kMpeg1Header, kMpeg1FrameLength, 3);
    EXPECT_NE(BASS_CTYPE_STREAM_MP3, TypeOf(OpenFile(L"tag-only.mp3", Tag(body))));
}

TEST_F(BassStandIn, JunkBeforeFirstFrameIsSkipped)
{
    Bytes bytes = Join(Tag(TextFrameBody()), Bytes(100, 0));
    bytes = Join(bytes, Frames(kMpeg1Header, kMpeg1FrameLength, 2));
    EXPECT_EQ(BASS_CTYPE_STREAM_MP3, TypeOf(OpenFile(L"padded.mp3", bytes)));
}

TEST_F(BassStandIn, TagBlockIsServedWholeAndStaysUntilFreed)
{
    Bytes tag = Tag(TextFrameBody());
    DWORD handle = OpenFile(L"song.mp3", Join(tag, Frames(kMpeg1Header, kMpeg1FrameLength, 3)));
    const char* block = getTags(handle, BASS_TAG_ID3V2);
    ASSERT_TRUE(block != nullptr);
    EXPECT_EQ(0, memcmp(block, tag.data(), tag.size()));

    // Another stream and the file's disappearance leave the block as it was.
    DWORD other = OpenFile(L"other.mp3", Join(Tag(Bytes(32, 0)), Frames(kMpeg1Header, kMpeg1FrameLength, 2)));
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
    Bytes tag = Join(Tag(Bytes(16, 0x20), 16, 4, 0x10), footer);
    DWORD withFooter = OpenFile(L"v4.mp3", Join(tag, Frames(kMpeg1Header, kMpeg1FrameLength, 2)));
    EXPECT_EQ(BASS_CTYPE_STREAM_MP3, TypeOf(withFooter));
    ASSERT_TRUE(getTags(withFooter, BASS_TAG_ID3V2) != nullptr);
    EXPECT_EQ(0, memcmp(getTags(withFooter, BASS_TAG_ID3V2), tag.data(), tag.size()));

    // Declares 100000 body bytes but the file ends after 50: the block is what there is.
    Bytes truncated = Tag(Bytes(50, 0x41), 100000);
    const char* block = getTags(OpenFile(L"cut.mp3", truncated), BASS_TAG_ID3V2);
    ASSERT_TRUE(block != nullptr);
    EXPECT_EQ(0, memcmp(block, truncated.data(), truncated.size()));
}

TEST_F(BassStandIn, NoTagNoOtherTagTypesNoUnknownHandles)
{
    DWORD plain = OpenFile(L"plain.mp3", Frames(kMpeg1Header, kMpeg1FrameLength, 3));
    ASSERT_NE(0u, plain);
    EXPECT_TRUE(getTags(plain, BASS_TAG_ID3V2) == nullptr);

    DWORD tagged = OpenFile(L"tagged.mp3", Join(Tag(TextFrameBody()), Frames(kMpeg1Header, kMpeg1FrameLength, 2)));
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
    Bytes bytes = Frames(kMpeg1Header, kMpeg1FrameLength, 2);
    DWORD first = OpenFile(L"a.mp3", bytes);
    ASSERT_TRUE(free(first));
    DWORD second = OpenFile(L"b.mp3", bytes);
    EXPECT_NE(0u, second);
    EXPECT_NE(first, second);
    EXPECT_LT(second, 0x10000u);
}

TEST_F(BassStandIn, UnicodeAnsiAndMemorySourcesAllOpen)
{
    Bytes mp3 = Join(Tag(TextFrameBody()), Frames(kMpeg1Header, kMpeg1FrameLength, 3));
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
    HMODULE library = LoadLibraryW((BinDir() + L"\\notags\\bass.dll").c_str());
    ASSERT_TRUE(library != NULL);
    EXPECT_TRUE(GetProcAddress(library, "BASS_ChannelGetTags") == nullptr);
    EXPECT_TRUE(GetProcAddress(library, "BASS_GetVersion") != nullptr);
    EXPECT_TRUE(GetProcAddress(library, "BASS_ChannelGetInfo") != nullptr);
    auto create = reinterpret_cast<BassStreamCreateFileFn>(
        reinterpret_cast<void*>(GetProcAddress(library, "BASS_StreamCreateFile")));
    ASSERT_TRUE(create != nullptr);
    Bytes mp3 = Frames(kMpeg1Header, kMpeg1FrameLength, 2);
    EXPECT_NE(0u, create(TRUE, mp3.data(), 0, mp3.size(), 0));
    FreeLibrary(library);
}

}  // namespace
