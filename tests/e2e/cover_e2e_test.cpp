#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "support/container_builder.h"
#include "support/host_session.h"
#include "support/tag_builder.h"
#include "support/test_pictures.h"
#include "support/test_support.h"

namespace {

constexpr DWORD RED = 0xFFFF0000;
constexpr DWORD BLUE = 0xFF0000FF;
constexpr DWORD EMPTY_SLOT = 0xE0E0E0;  // the built-in theme's grey square

// The colour in the middle of the built-in theme's cover slot.
DWORD SlotColour(const std::wstring& png)
{
    Pixels picture;
    if (!LoadPicture(png, &picture) || picture.width < 60 || picture.height < 60)
        return 0;
    return picture.At(52, 52) & 0xFFFFFF;
}

bool IsMostly(DWORD rgb, DWORD argb)
{
    for (int shift = 0; shift <= 16; shift += 8) {
        int got = (rgb >> shift) & 0xFF;
        int want = (argb >> shift) & 0xFF;
        if (got < want - 0x40 || got > want + 0x40)
            return false;
    }
    return true;
}

// One host session, as a listener would have it: an MP3 with its own picture,
// then one with only folder.jpg beside it, then a stream, then the last file
// again and a pause that lasts.
TEST(CoverEndToEnd, EachTrackShowsItsCoverAndStreamsAndPausesShowNone)
{
    TempFolder folder;
    std::wstring plugin = CopyPluginInto(folder);
    MakeFolder(folder / L"tagged");
    MakeFolder(folder / L"plain");
    std::wstring tagged = folder / L"tagged\\01.mp3";
    std::wstring plain = folder / L"plain\\02.mp3";
    ASSERT_TRUE(WriteBytes(tagged, SmallMp3(PictureFrame(EncodeSolidPicture(16, 16, RED)))));
    ASSERT_TRUE(WriteBytes(plain, SmallMp3()));
    // The file beside the tagged track must lose against its embedded picture.
    ASSERT_TRUE(WriteBytes(folder / L"tagged\\folder.jpg", EncodeSolidPicture(16, 16, BLUE)));
    ASSERT_TRUE(WriteBytes(folder / L"plain\\folder.jpg", EncodeSolidPicture(16, 16, BLUE)));

    std::vector<std::wstring> shots;
    for (int i = 0; i < 4; ++i)
        shots.push_back(folder / (L"shot" + std::to_wstring(i) + L".png"));
    HostLaunch launch;
    launch.plugin = plugin;
    HostRun run = RunHost(launch, {
        "play " + Utf8Of(tagged), "await path-query", "capture " + Utf8Of(shots[0]),
        "play " + Utf8Of(plain), "await path-query", "capture " + Utf8Of(shots[1]),
        "play http://radio.example/live/stream.mp3", "await path-query", "capture " + Utf8Of(shots[2]),
        "play " + Utf8Of(plain), "await path-query", "status 2", "await status-query", "capture " + Utf8Of(shots[3]),
        "quit",
    });
    ASSERT_FALSE(run.timedOut) << run.Transcript();
    ASSERT_EQ(0u, run.exitCode) << run.Transcript();

    EXPECT_TRUE(IsMostly(SlotColour(shots[0]), RED)) << std::hex << SlotColour(shots[0]);
    EXPECT_TRUE(IsMostly(SlotColour(shots[1]), BLUE)) << std::hex << SlotColour(shots[1]);
    EXPECT_EQ(EMPTY_SLOT, SlotColour(shots[2]));
    EXPECT_EQ(EMPTY_SLOT, SlotColour(shots[3]));
}

struct Track {
    const wchar_t* path;  // "album\\file" under the session's folder
    Bytes bytes;
    DWORD want;
};

// Plays each track in one host session, as a listener would, and checks the
// colour in its cover slot. `besides` are picture files put in the albums.
void ExpectSlotColours(const std::vector<Track>& tracks, const std::vector<std::pair<const wchar_t*, DWORD>>& besides)
{
    TempFolder folder;
    std::wstring plugin = CopyPluginInto(folder);
    std::vector<std::string> script;
    std::vector<std::wstring> shots;
    for (const Track& track : tracks) {
        std::wstring path = folder / track.path;
        MakeFolder(path.substr(0, path.rfind(L'\\')));
        ASSERT_TRUE(WriteBytes(path, track.bytes));
        shots.push_back(folder / (L"shot" + std::to_wstring(shots.size()) + L".png"));
        for (const std::string& step :
             {"play " + Utf8Of(path), std::string("await path-query"), "capture " + Utf8Of(shots.back())})
            script.push_back(step);
    }
    for (const auto& [name, colour] : besides)
        ASSERT_TRUE(WriteBytes(folder / name, EncodeSolidPicture(16, 16, colour)));
    script.push_back("quit");
    HostLaunch launch;
    launch.plugin = plugin;
    HostRun run = RunHost(launch, script);
    ASSERT_FALSE(run.timedOut) << run.Transcript();
    ASSERT_EQ(0u, run.exitCode) << run.Transcript();
    for (size_t i = 0; i < shots.size(); ++i)
        EXPECT_TRUE(IsMostly(SlotColour(shots[i]), tracks[i].want)) << i << " " << std::hex << SlotColour(shots[i]);
}

constexpr DWORD GREEN = 0xFF00FF00, YELLOW = 0xFFFFFF00, MAGENTA = 0xFFFF00FF, CYAN = 0xFF00FFFF;

Bytes Utf16PictureMp3(DWORD colour)
{
    Bytes apic = Bytes{1} + Text("image/png") + Bytes{0, 3, 0xFF, 0xFE, 'c', 0, 0, 0} + EncodeSolidPicture(16, 16, colour);
    return SmallMp3(Frame3("APIC", apic));
}

// The sources read after the first search: a FLAC front cover behind a back
// cover, an Opus picture, an MP3 whose only picture is UTF-16 (losing against
// folder.jpg where there is one), and a folder holding only cover.png.
TEST(CoverEndToEnd, FlacOpusUtf16AndPngCoversShowInTheSlot)
{
    ExpectSlotColours(
        {
            {L"flac\\01.flac",
             FlacFile({PictureBlock(4, "image/png", EncodeSolidPicture(16, 16, RED)),
                       PictureBlock(3, "image/png", EncodeSolidPicture(16, 16, GREEN))}),
             GREEN},
            {L"opus\\02.opus", OggFile("opus", {PictureComment(3, "image/png", EncodeSolidPicture(16, 16, YELLOW))}), YELLOW},
            {L"utf16\\03.mp3", Utf16PictureMp3(MAGENTA), MAGENTA},
            {L"png\\04.mp3", SmallMp3(), CYAN},
            {L"utf16-folder\\05.mp3", Utf16PictureMp3(MAGENTA), BLUE},
        },
        {{L"png\\cover.png", CYAN}, {L"utf16-folder\\folder.jpg", BLUE}});
}

// Containers the audio library serves no picture for, read from the file:
// told by their bytes (an M4A named .mp3), after a served UTF-16 picture and
// after folder.jpg.
TEST(CoverEndToEnd, Mp4WmaApeWavAndAiffCoversShowInTheSlot)
{
    auto png = [](DWORD colour) { return EncodeSolidPicture(16, 16, colour); };
    auto id3 = [&](DWORD colour) { return Tag(3, 0, Frame3("APIC", Apic(png(colour)))); };
    ExpectSlotColours(
        {
            {L"m4a\\01.m4a", Mp4File(Mp4Moov(Box("covr", CoverData(png(RED), 14)))), RED},
            {L"wma\\02.wma", AsfFile(AsfContent({{"WM/Picture", WmPicture(3, png(GREEN))}})), GREEN},
            {L"wv\\03.wv", Text("wvpk") + Bytes(64, 0) + ApeTag({ApeItem("Cover Art (Front)", ApeCoverValue(png(YELLOW)))}),
             YELLOW},
            {L"wav\\04.wav", WavFile(RiffChunk("fmt ", Bytes(16, 0)) + RiffChunk("id3 ", id3(MAGENTA))), MAGENTA},
            {L"aiff\\05.aif", AiffFile(IffChunk("ID3 ", id3(CYAN))), CYAN},
            {L"named\\06.mp3", Mp4File(Mp4Moov(Box("covr", CoverData(png(GREEN))))), GREEN},
            {L"both\\07.mp3", Utf16PictureMp3(MAGENTA) + ApeTag({ApeItem("Cover Art (Front)", ApeCoverValue(png(RED)))}),
             MAGENTA},
            {L"folder\\08.m4a", Mp4File(Mp4Moov(Box("covr", CoverData(png(RED))))), BLUE},
        },
        {{L"folder\\folder.jpg", BLUE}});
}

}  // namespace
