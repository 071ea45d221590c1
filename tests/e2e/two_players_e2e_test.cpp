#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "support/host_session.h"
#include "support/tag_builder.h"
#include "support/test_pictures.h"
#include "support/test_support.h"

namespace {

// The colour in the middle of the built-in theme's cover slot, as 0xRRGGBB.
DWORD SlotColour(const std::wstring& png)
{
    Pixels picture;
    if (!LoadPicture(png, &picture) || picture.width < 60 || picture.height < 60)
        return 0;
    return picture.At(52, 52) & 0xFFFFFF;
}

// Two players, each with its own copy of the plug-in and its own window place:
// each player's tracks show in its own window only, and one player quitting
// leaves the other's window working.
TEST(TwoPlayersEndToEnd, EachPlayerSteersOnlyItsOwnWindowAndQuitsAlone)
{
    TempFolder folders[2];
    std::vector<HostLaunch> launches(2);
    std::wstring tracks[3] = {folders[0] / L"red.mp3", folders[1] / L"blue.mp3", folders[1] / L"green.mp3"};
    DWORD colours[3] = {0xFF0000, 0x0000FF, 0x00FF00};
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(WriteBytes(tracks[i], SmallMp3(PictureFrame(EncodeSolidPicture(16, 16, 0xFF000000 | colours[i])))));
    for (int i = 0; i < 2; ++i) {
        launches[i].plugin = CopyPluginInto(folders[i]);
        launches[i].timeoutMs = 60000;
        ASSERT_TRUE(WriteText(folders[i] / L"coverdeck.ini", "[window]\r\nleft=" + std::to_string(300 * i) + "\r\ntop=200\r\n"));
    }
    auto shot = [&](int player, int n) { return folders[player] / (L"shot" + std::to_wstring(n) + L".png"); };
    std::vector<HostRun> runs = RunHostsSideBySide(launches, {
        {"play " + Utf8Of(tracks[0]), "wait 1500", "capture " + Utf8Of(shot(0, 1)), "wait 2000",
         "capture " + Utf8Of(shot(0, 2)), "quit"},
        {"wait 800", "play " + Utf8Of(tracks[1]), "wait 1500", "capture " + Utf8Of(shot(1, 1)), "wait 3000",
         "play " + Utf8Of(tracks[2]), "wait 1500", "capture " + Utf8Of(shot(1, 2)), "quit"},
    });
    for (const HostRun& run : runs) {
        ASSERT_FALSE(run.timedOut) << run.Transcript();
        EXPECT_EQ(0u, run.exitCode) << run.Transcript();
        EXPECT_TRUE(run.Has("quit 1")) << run.Transcript();
        EXPECT_TRUE(run.Has("windows-after-quit 0")) << run.Transcript();
    }
    EXPECT_EQ(colours[0], SlotColour(shot(0, 1)));
    EXPECT_EQ(colours[0], SlotColour(shot(0, 2))) << "the other player's track stays out";
    EXPECT_EQ(colours[1], SlotColour(shot(1, 1)));
    EXPECT_EQ(colours[2], SlotColour(shot(1, 2))) << "still steered after the other player quit";
}

}  // namespace
