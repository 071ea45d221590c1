#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "cover/bass_interface.h"
#include "cover/cover_locator.h"
#include "state/display_state.h"
#include "state/owners.h"
#include "state/picture_limits.h"
#include "support/container_builder.h"
#include "support/fake_host.h"
#include "support/tag_builder.h"
#include "support/test_support.h"

namespace {

const Bytes EMBEDDED_PICTURE = {0xFF, 0xD8, 'e', 'm', 'b', 0xFF, 0xD9};
const Bytes UTF16_PICTURE = {0xFF, 0xD8, 'u', 't', 'f', 0xFF, 0xD9};
const Bytes LATIN1_TAG = Tag(3, 0, Frame3("APIC", Apic(EMBEDDED_PICTURE)));
const Bytes FILE_PICTURE = {0xFF, 0xD8, 'f', 'i', 'l', 0xFF, 0xD9};
const Bytes M4A_WITH_PICTURE = Mp4File(Mp4Moov(Box("covr", CoverData(FILE_PICTURE))));
const Bytes UTF16_TAG = Tag(3, 0, Frame3("APIC", Bytes{1} + Text("image/jpeg") + Bytes{0, 3, 0xFF, 0xFE, 0, 0} + UTF16_PICTURE));

int tagRequests;
const Bytes* servedTag;

BOOL WINAPI FakeGetInfo(DWORD, BassChannelInfo* info)
{
    info->ctype = BASS_CTYPE_STREAM_MP3;
    return TRUE;
}

const char* WINAPI FakeGetTags(DWORD, DWORD type)
{
    ++tagRequests;
    return type == BASS_TAG_ID3V2 && servedTag ? reinterpret_cast<const char*>(servedTag->data()) : nullptr;
}

Bytes CoverBytes()
{
    Bytes bytes;
    IStream* stream = displayState.cover.GetStream();
    if (!stream)
        return bytes;
    STATSTG stat = {};
    stream->Stat(&stat, STATFLAG_NONAME);
    bytes.resize(static_cast<size_t>(stat.cbSize.QuadPart));
    LARGE_INTEGER start = {};
    stream->Seek(start, STREAM_SEEK_SET, NULL);
    ULONG read = 0;
    if (!bytes.empty())
        stream->Read(bytes.data(), static_cast<ULONG>(bytes.size()), &read);
    return bytes;
}

class CoverLocator : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetDisplayState();
        displayState.hostWindow = host.window();
        displayState.attachedpicture = 1;
        displayState.AudioLibrary = {NULL, FakeGetInfo, FakeGetTags};
        tagRequests = 0;
        servedTag = &LATIN1_TAG;
        host.trackPath = folder / L"01.mp3";
    }
    void TearDown() override { ReleaseCover(); }

    TempFolder folder;
    FakeHost host;
};

TEST_F(CoverLocator, OtherwiseTheFirstJpegTheFolderLists)
{
    WriteText(folder / L"b.jpg", "b");
    WriteText(folder / L"a.jpg", "a");
    WriteText(folder / L"notes.txt", "text");
    WIN32_FIND_DATAW first;
    ASSERT_TRUE(UniqueFind(FindFirstFileW((folder / L"*.jpg").c_str(), &first)));

    RefreshCover();
    std::string expected(first.cFileName, first.cFileName + 1);
    EXPECT_EQ(Text(expected), CoverBytes());
}

TEST_F(CoverLocator, ZeroByteFolderJpgCountsAsLoaded)
{
    WriteText(folder / L"folder.jpg", "");
    WriteText(folder / L"cover.jpg", "cover");
    RefreshCover();
    EXPECT_NE(nullptr, displayState.cover.GetStream());
    EXPECT_TRUE(CoverBytes().empty());
}

TEST_F(CoverLocator, NoCandidateLeavesTheCoverEmpty)
{
    WriteText(folder / L"folder.jpg", "old");
    RefreshCover();
    ASSERT_FALSE(CoverBytes().empty());
    DeleteFileW((folder / L"folder.jpg").c_str());
    RefreshCover();
    EXPECT_EQ(nullptr, displayState.cover.GetStream());
}

TEST_F(CoverLocator, EmbeddedPictureComesFirstUnlessSwitchedOff)
{
    WriteText(folder / L"folder.jpg", "folder");
    displayState.channel = 7;
    RefreshCover();
    EXPECT_EQ(EMBEDDED_PICTURE, CoverBytes());
    EXPECT_EQ(1, displayState.coverFromTag);

    displayState.attachedpicture = 0;
    RefreshCover();
    EXPECT_EQ(Text("folder"), CoverBytes());
    EXPECT_EQ(0, displayState.coverFromTag);
}

TEST_F(CoverLocator, NoChannelMeansNoEmbeddedTry)
{
    WriteText(folder / L"folder.jpg", "folder");
    RefreshCover();
    EXPECT_EQ(0, tagRequests);
    EXPECT_EQ(Text("folder"), CoverBytes());
}

// The file is read whatever the player announced, told by its bytes (an
// MP4 named .mp3 here), but only while embedded pictures are wanted.
TEST_F(CoverLocator, FilePictureNeedsNoChannelButTheOption)
{
    ASSERT_TRUE(WriteBytes(host.trackPath, M4A_WITH_PICTURE));
    RefreshCover();
    EXPECT_EQ(FILE_PICTURE, CoverBytes());
    EXPECT_EQ(1, displayState.coverFromTag);

    displayState.attachedpicture = 0;
    RefreshCover();
    EXPECT_EQ(nullptr, displayState.cover.GetStream());
}

TEST_F(CoverLocator, ArchiveMemberLooksBesideTheArchive)
{
    WriteText(folder / L"folder.jpg", "beside the archive");
    host.trackPath = folder / L"Box.zip/cd1/01.mp3";
    RefreshCover();
    EXPECT_EQ(Text("beside the archive"), CoverBytes());
}

TEST_F(CoverLocator, UrlGetsNoCoverAndNoEmbeddedTry)
{
    WriteText(folder / L"folder.jpg", "folder");
    RefreshCover();
    ASSERT_NE(nullptr, displayState.cover.GetStream());
    displayState.channel = 7;
    displayState.coverFromTag = 1;

    host.trackPath = L"http://radio.example/live/stream.mp3";
    RefreshCover();
    EXPECT_EQ(nullptr, displayState.cover.GetStream());
    EXPECT_EQ(0, tagRequests);
    EXPECT_EQ(1, displayState.coverFromTag);
}

TEST_F(CoverLocator, PathsThatDoNotFitAreSkippedNotCut)
{
    // A folder of 249 characters: "\folder.jpg" makes 260 and does not fit,
    // while a path cut to 259 would name the "folder.jp" placed here.
    std::wstring deep = folder.path();
    while (deep.size() + 11 < 249) {
        deep += L"\\dddddddddd";
        MakeFolder(deep);
    }
    deep += L"\\" + std::wstring(249 - deep.size() - 1, L'e');
    ASSERT_EQ(249u, deep.size());
    ASSERT_TRUE(MakeFolder(deep));
    WriteText(deep + L"\\folder.jp", "cut");
    host.trackPath = deep + L"\\01.mp3";
    RefreshCover();
    EXPECT_EQ(nullptr, displayState.cover.GetStream());

    host.trackPath = std::wstring(519, L'x');
    RefreshCover();
    EXPECT_EQ(nullptr, displayState.cover.GetStream());
}

TEST_F(CoverLocator, StatusReleaseKeepsTheCoverOrigin)
{
    displayState.channel = 7;
    RefreshCover();
    ASSERT_EQ(1, displayState.coverFromTag);
    ReleaseCover();
    EXPECT_EQ(nullptr, displayState.cover.GetStream());
    EXPECT_EQ(1, displayState.coverFromTag);
}

// The Latin-1 picture and the JPEG files come first; embedded pictures in
// other forms and PNG files only fill a slot that they leave empty.
TEST_F(CoverLocator, SourcesAreTriedInTheirOrder)
{
    struct Case {
        const char* behaviour;
        const Bytes* tag;
        std::vector<const wchar_t*> files;
        Bytes want;
        int fromTag;
        Bytes track = SmallMp3();
    } cases[] = {
        {"folder.jpg before cover.jpg", nullptr, {L"cover.jpg", L"folder.jpg"}, Text("folder.jpg"), 0},
        {"cover.jpg before other JPEGs", nullptr, {L"b.jpg", L"cover.jpg"}, Text("cover.jpg"), 0},
        {"Latin-1 picture before folder.jpg", &LATIN1_TAG, {L"folder.jpg"}, EMBEDDED_PICTURE, 1},
        {"folder.jpg before a UTF-16 picture", &UTF16_TAG, {L"folder.jpg"}, Text("folder.jpg"), 0},
        {"UTF-16 picture before cover.png", &UTF16_TAG, {L"cover.png"}, UTF16_PICTURE, 1},
        {"folder.png first of the PNG files", nullptr, {L"a.png", L"cover.png", L"folder.png"}, Text("folder.png"), 0},
        {"then cover.png", nullptr, {L"a.png", L"cover.png"}, Text("cover.png"), 0},
        {"then any PNG", nullptr, {L"z.png"}, Text("z.png"), 0},
        {"any JPEG before every PNG", nullptr, {L"folder.png", L"b.jpg"}, Text("b.jpg"), 0},
        {"folder.jpg before the file's own picture", nullptr, {L"folder.jpg"}, Text("folder.jpg"), 0, M4A_WITH_PICTURE},
        {"the file's own picture before cover.png", nullptr, {L"cover.png"}, FILE_PICTURE, 1, M4A_WITH_PICTURE},
        {"a served UTF-16 picture before an APEv2 one", &UTF16_TAG, {}, UTF16_PICTURE, 1,
         SmallMp3() + ApeTag({ApeItem("Cover Art (Front)", ApeCoverValue(FILE_PICTURE))})},
    };
    displayState.channel = 7;
    int n = 0;
    for (const Case& c : cases) {
        std::wstring album = folder / (L"album" + std::to_wstring(n++));
        ASSERT_TRUE(MakeFolder(album));
        for (const wchar_t* name : c.files)
            WriteText(album + L"\\" + name, std::string(name, name + lstrlenW(name)));
        host.trackPath = album + L"\\01.mp3";
        ASSERT_TRUE(WriteBytes(host.trackPath, c.track));
        servedTag = c.tag;
        RefreshCover();
        EXPECT_EQ(c.want, CoverBytes()) << c.behaviour;
        EXPECT_EQ(c.fromTag, displayState.coverFromTag) << c.behaviour;
    }
}

// A truncated track file: the library may hold less than the tag's header
// says, so nothing past the file's end is walked.
TEST_F(CoverLocator, EmbeddedPictureBeyondTheTrackFileIsNotTaken)
{
    WriteText(folder / L"folder.jpg", "folder");
    displayState.channel = 7;
    ASSERT_TRUE(WriteBytes(folder / L"01.mp3", Bytes(LATIN1_TAG.begin(), LATIN1_TAG.end() - 3)));
    RefreshCover();
    EXPECT_EQ(Text("folder"), CoverBytes());
    ASSERT_TRUE(WriteBytes(folder / L"01.mp3", LATIN1_TAG));
    RefreshCover();
    EXPECT_EQ(EMBEDDED_PICTURE, CoverBytes());
}

TEST_F(CoverLocator, OversizedFolderPictureIsSkipped)
{
    {
        // Sparse: the size is there without writing 32 MB.
        UniqueHandle file(CreateFileW((folder / L"folder.jpg").c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, NULL));
        LARGE_INTEGER size;
        size.QuadPart = LARGEST_PICTURE_BYTES + 1;
        ASSERT_TRUE(SetFilePointerEx(file.get(), size, NULL, FILE_BEGIN) && SetEndOfFile(file.get()));
    }
    WriteText(folder / L"cover.jpg", "cover");
    RefreshCover();
    EXPECT_EQ(Text("cover"), CoverBytes());
}

}  // namespace
