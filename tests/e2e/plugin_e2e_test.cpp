#include <gtest/gtest.h>
#include <algorithm>
#include <string>
#include <vector>
#include "support/host_session.h"
#include "support/tag_builder.h"
#include "support/test_pictures.h"
#include "support/test_support.h"
#include "window/display_window.h"

namespace {

constexpr DWORD EMPTY_SLOT = 0xE0E0E0;  // the built-in theme's grey square

int IndexOf(const HostRun& run, const std::string& line)
{
    auto found = std::find(run.lines.begin(), run.lines.end(), line);
    return found == run.lines.end() ? -1 : static_cast<int>(found - run.lines.begin());
}

class PluginInHost : public ::testing::Test {
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
        return Utf8Of(path);
    }

    TempFolder folder;
    std::wstring plugin = CopyPluginInto(folder);
};

TEST_F(PluginInHost, WindowAppearsAtItsDefaultPlaceAndIsGoneAfterQuit)
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
    EXPECT_TRUE(FindWindowW(DISPLAY_WINDOW_CLASS, NULL) == NULL);
}

TEST_F(PluginInHost, HostSeesRecordOfZeroAndTwoCallbacksInTheModule)
{
    HostRun run = Run({"quit"});
    EXPECT_TRUE(run.Has("record 0 in-module in-module")) << run.Transcript();
    EXPECT_TRUE(run.Has("info-stable 1")) << run.Transcript();
}

TEST_F(PluginInHost, DoubleClickActivatesHostButNotWithShiftHeld)
{
    HostRun run = Run({"dblclick", "wait 200", "dblclick shift", "wait 200", "quit"});
    EXPECT_EQ(0u, run.exitCode) << run.Transcript();
    ASSERT_EQ(1, run.Count("command 40149")) << run.Transcript();
    int command = IndexOf(run, "command 40149");
    EXPECT_LT(command, IndexOf(run, "step 1 ok dblclick")) << run.Transcript();
}

TEST_F(PluginInHost, DragMovesWindowAndNextStartFindsItThere)
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

// The in-process test runs twenty quick cycles; here the sample host's own
// thread count and its window search confirm a few in a real player process.
TEST_F(PluginInHost, InitQuitCyclesLeaveNoThreadOrWindowInTheHost)
{
    HostRun run = Run({"cycle 3", "quit"});
    EXPECT_EQ(0u, run.exitCode) << run.Transcript();
    std::vector<std::string> cycles = run.StartingWith("cycle ");
    ASSERT_EQ(3u, cycles.size()) << run.Transcript();
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

TEST_F(PluginInHost, PlayAnnouncesChannelAndPluginAsksForThePath)
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

TEST_F(PluginInHost, StoppedStatusIsCheckedAgainAfterTheDelay)
{
    HostRun stopped = Run({"status 2", "await status-query", "quit"});
    EXPECT_EQ(2, stopped.Count("status-query")) << stopped.Transcript();
    HostRun playing = Run({"status 1", "wait 900", "quit"});
    EXPECT_EQ(1, playing.Count("status-query")) << playing.Transcript();
}

TEST_F(PluginInHost, UnknownEventIsAcceptedAndUrlGetsNoChannel)
{
    HostRun run = Run({"event 7", "play http://radio.example/stream", "await path-query", "quit"});
    EXPECT_EQ(0u, run.exitCode) << run.Transcript();
    EXPECT_TRUE(run.Has("event 7 1")) << run.Transcript();
    EXPECT_TRUE(run.Has("channel 0")) << run.Transcript();
    EXPECT_TRUE(run.Has("path-query http://radio.example/stream")) << run.Transcript();
}

// Without the library, or without its tag entry, the plug-in runs and shows
// no embedded cover; the cover end-to-end test shows it with the library.
TEST_F(PluginInHost, RunsWithoutAudioLibraryAndWithOneLackingTagsShowingNoEmbeddedCover)
{
    std::string mp3 = Mp3Path(PictureFrame(EncodeSolidPicture(16, 16, 0xFFFF0000)));
    std::wstring png = folder / L"frame.png";
    for (const std::wstring& bass : {std::wstring(L"none"), BinDir() + L"\\notags\\bass.dll"}) {
        SCOPED_TRACE(Utf8Of(bass));
        HostRun run = Run({"play " + mp3, "await path-query", "capture " + Utf8Of(png), "quit"}, bass);
        EXPECT_EQ(0u, run.exitCode) << run.Transcript();
        EXPECT_EQ(bass == L"none", run.Has("audio-library none")) << run.Transcript();
        EXPECT_EQ(bass == L"none", run.Has("channel 0")) << run.Transcript();
        EXPECT_TRUE(run.Has("windows-after-quit 0")) << run.Transcript();
        Pixels picture;
        ASSERT_TRUE(LoadPicture(png, &picture)) << run.Transcript();
        EXPECT_EQ(EMPTY_SLOT, picture.At(52, 52) & 0xFFFFFF);
    }
}

TEST_F(PluginInHost, CaptureShowsTheBuiltInPanel)
{
    std::wstring png = folder / L"frame.png";
    HostRun run = Run({"wait 200", "capture " + Utf8Of(png), "quit"});
    ASSERT_EQ(0u, run.exitCode) << run.Transcript();
    Pixels picture;
    ASSERT_TRUE(LoadPicture(png, &picture));
    ASSERT_EQ(112, picture.width);
    ASSERT_EQ(112, picture.height);
    EXPECT_EQ(EMPTY_SLOT, picture.At(56, 56) & 0xFFFFFF);
    EXPECT_EQ(0xFFFFFFu, picture.At(1, 1) & 0xFFFFFF);
}

}  // namespace
