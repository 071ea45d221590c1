#include <gtest/gtest.h>
#include <string>
#include <vector>
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

// The sources read after the first search: a FLAC front cover behind a back
// cover, an Opus picture, an MP3 whose only picture is UTF-16 (losing against
// folder.jpg where there is one), and a folder holding only cover.png.
TEST(CoverEndToEnd, FlacOpusUtf16AndPngCoversShowInTheSlot)
{
    constexpr DWORD GREEN = 0xFF00FF00, YELLOW = 0xFFFFFF00, MAGENTA = 0xFFFF00FF, CYAN = 0xFF00FFFF;
    auto utf16Picture = [](DWORD colour) {
        Bytes apic = Bytes{1} + Text("image/png") + Bytes{0, 3, 0xFF, 0xFE, 'c', 0, 0, 0} + EncodeSolidPicture(16, 16, colour);
        return SmallMp3(Frame3("APIC", apic));
    };
    TempFolder folder;
    std::wstring plugin = CopyPluginInto(folder);
    struct Track {
        const wchar_t* path;
        Bytes bytes;
        DWORD want;
    } tracks[] = {
        {L"flac\\01.flac",
         FlacFile({PictureBlock(4, "image/png", EncodeSolidPicture(16, 16, RED)),
                   PictureBlock(3, "image/png", EncodeSolidPicture(16, 16, GREEN))}),
         GREEN},
        {L"opus\\02.opus", OggFile("opus", {PictureComment(3, "image/png", EncodeSolidPicture(16, 16, YELLOW))}), YELLOW},
        {L"utf16\\03.mp3", utf16Picture(MAGENTA), MAGENTA},
        {L"png\\04.mp3", SmallMp3(), CYAN},
        {L"utf16-folder\\05.mp3", utf16Picture(MAGENTA), BLUE},
    };
    for (const wchar_t* album : {L"flac", L"opus", L"utf16", L"png", L"utf16-folder"})
        MakeFolder(folder / album);
    ASSERT_TRUE(WriteBytes(folder / L"png\\cover.png", EncodeSolidPicture(16, 16, CYAN)));
    ASSERT_TRUE(WriteBytes(folder / L"utf16-folder\\folder.jpg", EncodeSolidPicture(16, 16, BLUE)));

    std::vector<std::string> script;
    std::vector<std::wstring> shots;
    for (const Track& track : tracks) {
        ASSERT_TRUE(WriteBytes(folder / track.path, track.bytes));
        shots.push_back(folder / (L"new" + std::to_wstring(shots.size()) + L".png"));
        for (const std::string& step : {"play " + Utf8Of(folder / track.path), std::string("await path-query"),
                                        "capture " + Utf8Of(shots.back())})
            script.push_back(step);
    }
    script.push_back("quit");
    HostLaunch launch;
    launch.plugin = plugin;
    HostRun run = RunHost(launch, script);
    ASSERT_FALSE(run.timedOut) << run.Transcript();
    ASSERT_EQ(0u, run.exitCode) << run.Transcript();
    for (size_t i = 0; i < shots.size(); ++i)
        EXPECT_TRUE(IsMostly(SlotColour(shots[i]), tracks[i].want)) << i << " " << std::hex << SlotColour(shots[i]);
}

}  // namespace
