#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "support/host_session.h"
#include "support/test_support.h"

// Hostile and careless hosts: a quit that arrives inside a drag or inside the
// host's own answer, a library freed without a quit, a stuck UI thread, and
// close requests from others. Each case is a host process of its own, killed
// (and failed) if it hangs.
namespace {

constexpr DWORD HANG_LIMIT_MS = 90000;

// A host killed mid-drag leaves the button held in the desktop's input state.
void ReleaseHeldInput()
{
    INPUT up[2] = {};
    up[0].type = INPUT_MOUSE;
    up[0].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    up[1].type = INPUT_KEYBOARD;
    up[1].ki.wVk = VK_SHIFT;
    up[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, up, sizeof up[0]);
}

class Lifecycle : public ::testing::Test {
protected:
    HostRun Run(const std::vector<std::string>& steps)
    {
        HostLaunch launch;
        launch.plugin = plugin;
        launch.bass = L"none";
        launch.timeoutMs = HANG_LIMIT_MS;
        HostRun run = RunHost(launch, steps);
        ReleaseHeldInput();
        EXPECT_FALSE(run.timedOut) << run.Transcript();
        EXPECT_EQ(0u, run.exitCode) << run.Transcript();
        return run;
    }

    bool SettingsSaved() const { return GetFileAttributesW((folder / L"coverdeck.ini").c_str()) != INVALID_FILE_ATTRIBUTES; }

    // The quit ended the UI thread and took its window, and the window saved.
    void ExpectCleanEnd(const HostRun& run)
    {
        std::vector<std::string> before = run.StartingWith("threads before-init ");
        std::vector<std::string> after = run.StartingWith("threads after-quit ");
        ASSERT_EQ(1u, before.size()) << run.Transcript();
        ASSERT_EQ(1u, after.size()) << run.Transcript();
        EXPECT_EQ(before[0].substr(before[0].rfind(' ')), after[0].substr(after[0].rfind(' '))) << run.Transcript();
        EXPECT_TRUE(run.Has("windows-after-quit 0")) << run.Transcript();
        EXPECT_TRUE(SettingsSaved()) << run.Transcript();
    }

    TempFolder folder;
    std::wstring plugin = CopyPluginInto(folder);
};

// Under Wine the move loop swallows the quit message that the window's end posts.
TEST_F(Lifecycle, QuitDuringADragEndsTheUiThread)
{
    for (const char* press : {"press", "press shift"}) {
        SCOPED_TRACE(press);
        DeleteFileW((folder / L"coverdeck.ini").c_str());
        HostRun run = Run({press, "event 1", "release", "quit"});
        EXPECT_TRUE(run.Has("event 1 1")) << run.Transcript();
        ExpectCleanEnd(run);
    }
}

// The host quits from its handler of the plug-in's own request: the activate
// command, the status query, the path query.
TEST_F(Lifecycle, QuitFromInsideTheHostsAnswerEndsTheUiThread)
{
    const std::vector<std::vector<std::string>> cases = {
        {"quit-on activate", "dblclick"},
        {"quit-on status-query", "status 2"},
        {"quit-on path-query", "play http://radio.example/stream", "await path-query"},
    };
    for (std::vector<std::string> steps : cases) {
        SCOPED_TRACE(steps[0]);
        DeleteFileW((folder / L"coverdeck.ini").c_str());
        steps.push_back("quit");
        HostRun run = Run(steps);
        // Once from inside the handler; the host's closing quit finds nothing left.
        EXPECT_EQ(2, run.Count("quit 1")) << run.Transcript();
        ExpectCleanEnd(run);
    }
}

TEST_F(Lifecycle, UnloadWithoutQuitLeavesTheWindowAnsweringAndAStuckThreadDoesNotHangQuit)
{
    HostRun unloaded = Run({"unload", "quit"});
    EXPECT_TRUE(unloaded.Has("unloaded")) << unloaded.Transcript();
    EXPECT_TRUE(unloaded.Has("window-answers 1")) << unloaded.Transcript();

    // A track change, a status change and a quit, each while the thread is stuck.
    HostRun stuck = Run({"freeze", "event 2", "event 3", "event 1", "quit"});
    EXPECT_TRUE(stuck.Has("event 2 1")) << stuck.Transcript();
    EXPECT_TRUE(stuck.Has("event 1 1")) << stuck.Transcript();
    EXPECT_TRUE(stuck.Has("quit 1")) << stuck.Transcript();
}

// INIT from a host holding the loader lock: the new thread waits for the
// lock, INIT gives up waiting for it, a second INIT starts no second thread,
// and once the lock is free the late window appears and the quit ends it.
TEST_F(Lifecycle, StartHeldUpByTheHostNeitherHangsNorStartsTwice)
{
    HostRun run = Run({"locked-init", "quit"});
    EXPECT_EQ(1u, run.StartingWith("locked-init 2 1 ").size()) << run.Transcript();
    EXPECT_TRUE(run.Has("windows 1")) << run.Transcript();
    ExpectCleanEnd(run);
}

TEST_F(Lifecycle, CloseRequestsFromOthersLeaveTheWindowAndOnlyQuitEndsIt)
{
    HostRun run = Run({"close", "quit"});
    std::vector<std::string> windows = run.StartingWith("window ");
    ASSERT_EQ(2u, windows.size()) << run.Transcript();  // after init, after close
    EXPECT_EQ(windows[0], windows[1]) << run.Transcript();
    ExpectCleanEnd(run);
}

}  // namespace
