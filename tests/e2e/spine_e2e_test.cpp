#include <gtest/gtest.h>
#include <algorithm>
#include <string>
#include <vector>
#include "support/host_session.h"
#include "support/mp3_files.h"
#include "support/picture_files.h"
#include "support/test_support.h"

namespace {

const wchar_t kPluginWindowClass[] = L"coverdeck_class_U";

int IndexOf(const HostRun& run, const std::string& line)
{
    auto found = std::find(run.lines.begin(), run.lines.end(), line);
    return found == run.lines.end() ? -1 : static_cast<int>(found - run.lines.begin());
}

class Spine : public ::testing::Test {
protected:
    HostRun Run(const std::vector<std::string>& steps, const std::wstring& bass = L"")
    {
        HostLaunch launch;
        launch.plugin = plugin;
        launch.bass = bass;
        HostRun run = RunHost(launch, steps);
        EXPECT_FALSE(run.timedOut) << run.Transcript();
        return run;
    }

    std::string Mp3Path(const Bytes& frames = Bytes())
    {
        std::wstring path = folder / L"song.mp3";
        EXPECT_TRUE(WriteBytes(path, SmallMp3(frames)));
        return Utf8(path);
    }

    // The colour in the middle of the cover slot after playing `mp3`.
    DWORD CoverSlotColour(const std::string& mp3, const std::wstring& bass)
    {
        std::wstring png = folder / L"frame.png";
        HostRun run = Run({"play " + mp3, "await path-query", "capture " + Utf8(png), "quit"}, bass);
        EXPECT_EQ(0u, run.exitCode) << run.Transcript();
        Picture picture;
        if (!LoadPicture(png, &picture) || picture.width < 60 || picture.height < 60)
            return 0;
        return picture.At(52, 52) & 0xFFFFFF;
    }

    TempFolder folder;
    std::wstring plugin = CopyPluginInto(folder);
};

TEST_F(Spine, WindowAppearsAtItsDefaultPlaceAndIsGoneAfterQuit)
{
    HostRun run = Run({"rect", "quit"});
    EXPECT_EQ(0u, run.exitCode) << run.Transcript();
    EXPECT_TRUE(run.Has("init 1")) << run.Transcript();
    RECT rect;
    ASSERT_TRUE(LastWindowRect(run, &rect)) << run.Transcript();
    EXPECT_EQ(0, rect.left);
    EXPECT_EQ(0, rect.top);
    EXPECT_EQ(112, rect.right - rect.left);
    EXPECT_EQ(112, rect.bottom - rect.top);
    EXPECT_TRUE(run.Has("quit 1")) << run.Transcript();
    EXPECT_TRUE(run.Has("windows-after-quit 0")) << run.Transcript();
    EXPECT_TRUE(FindWindowW(kPluginWindowClass, NULL) == NULL);
}

TEST_F(Spine, HostSeesRecordOfZeroAndTwoCallbacksInTheModule)
{
    HostRun run = Run({"quit"});
    EXPECT_TRUE(run.Has("record 0 in-module in-module")) << run.Transcript();
    EXPECT_TRUE(run.Has("info-stable 1")) << run.Transcript();
}

TEST_F(Spine, DoubleClickActivatesHostButNotWithShiftHeld)
{
    HostRun run = Run({"dblclick", "wait 200", "dblclick shift", "wait 200", "quit"});
    EXPECT_EQ(0u, run.exitCode) << run.Transcript();
    ASSERT_EQ(1, run.Count("command 40149")) << run.Transcript();
    int command = IndexOf(run, "command 40149");
    EXPECT_LT(command, IndexOf(run, "step 1 ok dblclick")) << run.Transcript();
}

TEST_F(Spine, DragMovesWindowAndNextStartFindsItThere)
{
    HostRun run = Run({"drag 300 200", "rect", "quit"});
    RECT rect;
    ASSERT_TRUE(LastWindowRect(run, &rect)) << run.Transcript();
    EXPECT_EQ(300, rect.left) << run.Transcript();
    EXPECT_EQ(200, rect.top) << run.Transcript();

    HostRun again = Run({"quit"});
    ASSERT_TRUE(LastWindowRect(again, &rect)) << again.Transcript();
    EXPECT_EQ(300, rect.left) << again.Transcript();
    EXPECT_EQ(200, rect.top) << again.Transcript();
}

TEST_F(Spine, TwentyInitQuitCyclesLeaveNoThreadOrWindow)
{
    HostRun run = Run({"cycle 20", "quit"});
    EXPECT_EQ(0u, run.exitCode) << run.Transcript();
    std::vector<std::string> cycles = run.StartingWith("cycle ");
    ASSERT_EQ(20u, cycles.size()) << run.Transcript();
    int firstThreads = -1;
    for (const std::string& line : cycles) {
        int index = 0, threads = 0, windows = 0;
        ASSERT_EQ(3, sscanf(line.c_str(), "cycle %d threads %d windows-after-quit %d", &index, &threads, &windows));
        if (firstThreads < 0)
            firstThreads = threads;
        EXPECT_EQ(firstThreads, threads) << line;
        EXPECT_EQ(0, windows) << line;
    }
    std::vector<std::string> before = run.StartingWith("threads before-init ");
    std::vector<std::string> after = run.StartingWith("threads after-quit ");
    ASSERT_EQ(1u, before.size());
    ASSERT_EQ(1u, after.size());
    EXPECT_EQ(before[0].substr(before[0].rfind(' ')), after[0].substr(after[0].rfind(' '))) << run.Transcript();
    EXPECT_TRUE(run.Has("windows-after-quit 0")) << run.Transcript();
}

TEST_F(Spine, PlayAnnouncesChannelAndPluginAsksForThePath)
{
    std::string path = Mp3Path();
    HostRun run = Run({"play " + path, "await path-query", "quit"});
    EXPECT_EQ(0u, run.exitCode) << run.Transcript();
    std::vector<std::string> channel = run.StartingWith("channel ");
    ASSERT_EQ(1u, channel.size()) << run.Transcript();
    EXPECT_NE("channel 0", channel[0]);
    EXPECT_TRUE(run.Has("channel-announced " + channel[0].substr(8))) << run.Transcript();
    // One reload after the debounce, for the file just played.
    EXPECT_EQ(1, run.Count("path-query " + path)) << run.Transcript();
}

TEST_F(Spine, StoppedStatusIsCheckedAgainAfterTheDelay)
{
    HostRun stopped = Run({"status 2", "await status-query", "quit"});
    EXPECT_EQ(2, stopped.Count("status-query")) << stopped.Transcript();
    HostRun playing = Run({"status 1", "wait 900", "quit"});
    EXPECT_EQ(1, playing.Count("status-query")) << playing.Transcript();
}

TEST_F(Spine, UnknownEventIsAcceptedAndUrlGetsNoChannel)
{
    HostRun run = Run({"event 7", "play http://radio.example/stream", "await path-query", "quit"});
    EXPECT_EQ(0u, run.exitCode) << run.Transcript();
    EXPECT_TRUE(run.Has("event 7 1")) << run.Transcript();
    EXPECT_TRUE(run.Has("channel 0")) << run.Transcript();
    EXPECT_TRUE(run.Has("path-query http://radio.example/stream")) << run.Transcript();
}

TEST_F(Spine, RunsWithoutAudioLibraryAndWithOneLackingTags)
{
    std::string path = Mp3Path();
    HostRun none = Run({"play " + path, "await path-query", "rect", "quit"}, L"none");
    EXPECT_EQ(0u, none.exitCode) << none.Transcript();
    EXPECT_TRUE(none.Has("audio-library none")) << none.Transcript();
    EXPECT_TRUE(none.Has("channel 0")) << none.Transcript();
    RECT rect;
    EXPECT_TRUE(LastWindowRect(none, &rect)) << none.Transcript();
    EXPECT_TRUE(none.Has("windows-after-quit 0")) << none.Transcript();

    HostRun notags = Run({"play " + path, "await path-query", "rect", "quit"}, BinDir() + L"\\notags\\bass.dll");
    EXPECT_EQ(0u, notags.exitCode) << notags.Transcript();
    EXPECT_FALSE(notags.Has("channel 0")) << notags.Transcript();
    EXPECT_TRUE(LastWindowRect(notags, &rect)) << notags.Transcript();
    EXPECT_TRUE(notags.Has("windows-after-quit 0")) << notags.Transcript();
}

TEST_F(Spine, KeysReachThePopupMenuAndEscapeDismissesIt)
{
    // The third item of the menu toggles "keep aspect ratio", on by default.
    HostRun picked = Run({"rightclick", "key down down down return", "quit"});
    EXPECT_EQ(0u, picked.exitCode) << picked.Transcript();
    std::wstring settings = folder / L"coverdeck.ini";
    EXPECT_EQ(0, static_cast<int>(GetPrivateProfileIntW(L"setting", L"aspectratio", -1, settings.c_str())));

    HostRun dismissed = Run({"rightclick", "key escape", "dblclick", "quit"});
    EXPECT_TRUE(dismissed.Has("command 40149")) << dismissed.Transcript();
    EXPECT_EQ(0, static_cast<int>(GetPrivateProfileIntW(L"setting", L"aspectratio", -1, settings.c_str())));
}

TEST_F(Spine, CaptureShowsTheBuiltInPanel)
{
    std::wstring png = folder / L"frame.png";
    HostRun run = Run({"wait 200", "capture " + Utf8(png), "quit"});
    ASSERT_EQ(0u, run.exitCode) << run.Transcript();
    Picture picture;
    ASSERT_TRUE(LoadPicture(png, &picture));
    ASSERT_EQ(112, picture.width);
    ASSERT_EQ(112, picture.height);
    EXPECT_EQ(0xE0E0E0u, picture.At(56, 56) & 0xFFFFFF);
    EXPECT_EQ(0xFFFFFFu, picture.At(1, 1) & 0xFFFFFF);
}

TEST_F(Spine, EmbeddedCoverArrivesThroughTheAnnouncedChannel)
{
    Bytes red = SolidColourPng(0xFFFF0000, 16, 16);
    ASSERT_FALSE(red.empty());
    std::string mp3 = Mp3Path(PictureFrame(red));
    DWORD shown = CoverSlotColour(mp3, L"");
    EXPECT_GT((shown >> 16) & 0xFF, 0xB0u) << std::hex << shown;
    EXPECT_LT((shown >> 8) & 0xFF, 0x60u) << std::hex << shown;

    // Without the library, or without its tag entry, there is no embedded cover.
    EXPECT_EQ(0xE0E0E0u, CoverSlotColour(mp3, L"none"));
    EXPECT_EQ(0xE0E0E0u, CoverSlotColour(mp3, BinDir() + L"\\notags\\bass.dll"));
}

TEST_F(Spine, BadScriptLineEndsAtOnceWithItsNumber)
{
    HostRun unknown = Run({"wait 10", "jump 3"});
    EXPECT_EQ(2u, unknown.exitCode) << unknown.Transcript();
    EXPECT_NE(std::string::npos, unknown.errors.find("error line 2:")) << unknown.Transcript();
    EXPECT_FALSE(unknown.Has("init 1")) << unknown.Transcript();

    // Comments and blank lines count in the numbering but are not steps.
    HostRun commented = Run({"# warm-up", "", "wait 10", "dblclick twice"});
    EXPECT_EQ(2u, commented.exitCode) << commented.Transcript();
    EXPECT_NE(std::string::npos, commented.errors.find("error line 4:")) << commented.Transcript();

    HostRun badNumber = Run({"wait soon"});
    EXPECT_EQ(2u, badNumber.exitCode) << badNumber.Transcript();
    EXPECT_NE(std::string::npos, badNumber.errors.find("error line 1:")) << badNumber.Transcript();
}

TEST_F(Spine, MissingPluginOrExportIsAnError)
{
    HostLaunch missing;
    missing.plugin = folder / L"absent.qpl";
    HostRun run = RunHost(missing, {"quit"});
    EXPECT_EQ(3u, run.exitCode) << run.Transcript();
    EXPECT_NE(std::string::npos, run.errors.find("cannot load plug-in")) << run.Transcript();

    HostLaunch noExport;
    noExport.plugin = BinDir() + L"\\bass.dll";
    noExport.bass = L"none";
    run = RunHost(noExport, {"quit"});
    EXPECT_EQ(3u, run.exitCode) << run.Transcript();
    EXPECT_NE(std::string::npos, run.errors.find("GetGPluginInfo")) << run.Transcript();
}

}  // namespace
