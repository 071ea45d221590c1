#include <gtest/gtest.h>
#include <windows.h>
#include "helpers/processes.h"
#include "host/plugin_entry.h"
#include "state/display_state.h"
#include "support/fake_host.h"
#include "support/test_support.h"
#include "window/display_window.h"

extern "C" const PluginInfo* GetGPluginInfo(void);

namespace {

class PluginEntry : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetDisplayState();
        RemoveTestSettingsFile();
    }
    void TearDown() override { RemoveTestSettingsFile(); }
};

TEST_F(PluginEntry, RecordHoldsZeroHookAndEventCallback)
{
    const PluginInfo* info = GetGPluginInfo();
    EXPECT_EQ(info, GetGPluginInfo());
    EXPECT_EQ(0, info->reserved);
    EXPECT_EQ(reinterpret_cast<void*>(&OnHostMessage), reinterpret_cast<void*>(info->messageHook));
    EXPECT_EQ(reinterpret_cast<void*>(&OnHostEvent), reinterpret_cast<void*>(info->eventCallback));
#ifndef _WIN64
    EXPECT_EQ(12u, sizeof(PluginInfo));
#endif
}

TEST_F(PluginEntry, AnsiHostWindowIsRefusedAndQuitReturnsAtOnce)
{
    FakeHost host(/*unicode=*/false);
    ASSERT_FALSE(IsWindowUnicode(host.window()));
    const unsigned threadsBefore = CountProcessThreads();

    EXPECT_EQ(FALSE, OnHostEvent(host.window(), EVENT_INIT));
    PumpFor(300);
    EXPECT_EQ(NULL, FindWindowW(DISPLAY_WINDOW_CLASS, NULL));
    EXPECT_EQ(threadsBefore, CountProcessThreads());

    DWORD start = GetTickCount();
    EXPECT_EQ(TRUE, OnHostEvent(host.window(), EVENT_QUIT));
    EXPECT_LT(GetTickCount() - start, 1000u);
}

TEST_F(PluginEntry, EventsBeforeTheWindowExistsAreDroppedAsSuccess)
{
    FakeHost host;
    ASSERT_EQ(NULL, FindWindowW(DISPLAY_WINDOW_CLASS, NULL));
    EXPECT_EQ(TRUE, OnHostEvent(host.window(), EVENT_TRACK));
    EXPECT_EQ(TRUE, OnHostEvent(host.window(), EVENT_STATUS));
    EXPECT_EQ(TRUE, OnHostEvent(host.window(), 7));
    EXPECT_EQ(TRUE, OnHostEvent(host.window(), -1));
    MSG channel = {host.window(), 1112, 503, 42, 0, {0, 0}};
    EXPECT_EQ(FALSE, OnHostMessage(&channel));
    PumpFor(700);
    EXPECT_TRUE(host.pathQueryTimes.empty());
    EXPECT_EQ(0, host.statusQueries);
}

TEST_F(PluginEntry, InitShowsTheLayeredToolPopupAndQuitRemovesIt)
{
    FakeHost host;
    ASSERT_EQ(TRUE, OnHostEvent(host.window(), EVENT_INIT));
    HWND window = WaitForDisplayWindow();
    ASSERT_NE(nullptr, window);

    wchar_t title[64];
    GetWindowTextW(window, title, 64);
    EXPECT_STREQ(DISPLAY_WINDOW_CLASS, title);
    EXPECT_EQ(WS_POPUP, GetWindowLongW(window, GWL_STYLE) & (WS_POPUP | WS_CAPTION | WS_THICKFRAME));
    LONG exStyle = GetWindowLongW(window, GWL_EXSTYLE);
    EXPECT_TRUE(exStyle & WS_EX_LAYERED);
    EXPECT_TRUE(exStyle & WS_EX_TOOLWINDOW);
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_EQ(host.window(), displayState.hostWindow);

    EXPECT_EQ(TRUE, OnHostEvent(host.window(), EVENT_QUIT));
    EXPECT_EQ(NULL, FindWindowW(DISPLAY_WINDOW_CLASS, NULL));
    EXPECT_EQ(NULL, displayState.uiThread.get());
}

// INIT returns with the window made, so a QUIT straight after it finds
// something to close, and the first track event is not dropped. The host's
// window is active, so the popup's showing works against it meanwhile.
TEST_F(PluginEntry, TwentyQuickInitQuitCyclesLeaveNoThreadOrWindowBehind)
{
    FakeHost host;
    ShowWindow(host.window(), SW_SHOW);
    SetForegroundWindow(host.window());
    PumpFor(200);
    ASSERT_EQ(host.window(), GetActiveWindow());
    Watchdog dog("init and quit at once", 120000);
    const unsigned threadsBefore = CountProcessThreads();
    for (int cycle = 0; cycle < 20; ++cycle) {
        ASSERT_EQ(TRUE, OnHostEvent(host.window(), EVENT_INIT)) << "cycle " << cycle;
        EXPECT_NE(nullptr, FindWindowW(DISPLAY_WINDOW_CLASS, NULL)) << "cycle " << cycle;
        ASSERT_EQ(TRUE, OnHostEvent(host.window(), EVENT_QUIT)) << "cycle " << cycle;
        ASSERT_EQ(NULL, FindWindowW(DISPLAY_WINDOW_CLASS, NULL)) << "cycle " << cycle;
    }
    EXPECT_EQ(threadsBefore, CountProcessThreads());

    ASSERT_EQ(TRUE, OnHostEvent(host.window(), EVENT_INIT));
    EXPECT_EQ(TRUE, OnHostEvent(host.window(), EVENT_TRACK));
    EXPECT_NE(nullptr, WaitForDisplayWindow()) << "the popup shows";
    PumpUntil([&] { return !host.pathQueryTimes.empty(); }, 3000);
    EXPECT_EQ(1u, host.pathQueryTimes.size()) << "the first track event reaches the window";
    EXPECT_EQ(TRUE, OnHostEvent(host.window(), EVENT_QUIT));
}

TEST_F(PluginEntry, SecondInitStartsNothingAndOneQuitEndsAll)
{
    FakeHost host;
    Watchdog dog("init twice", 30000);
    const unsigned threadsBefore = CountProcessThreads();
    ASSERT_EQ(TRUE, OnHostEvent(host.window(), EVENT_INIT));
    HANDLE first = displayState.uiThread.get();
    EXPECT_EQ(TRUE, OnHostEvent(host.window(), EVENT_INIT));
    EXPECT_EQ(first, displayState.uiThread.get());
    EXPECT_EQ(threadsBefore + 1u, CountProcessThreads());
    EXPECT_EQ(TRUE, OnHostEvent(host.window(), EVENT_QUIT));
    EXPECT_EQ(NULL, FindWindowW(DISPLAY_WINDOW_CLASS, NULL));
    EXPECT_EQ(threadsBefore, CountProcessThreads());
}

TEST_F(PluginEntry, QuitWhileTheContextMenuIsOpenEndsAndSaves)
{
    FakeHost host;
    Watchdog dog("quit with the menu open", 30000);
    ASSERT_EQ(TRUE, OnHostEvent(host.window(), EVENT_INIT));
    HWND window = WaitForDisplayWindow();
    ASSERT_NE(nullptr, window);
    PostMessageW(window, WM_RBUTTONUP, 0, 0);
    // "#32768" is the system's class of popup menus.
    ASSERT_TRUE(PumpUntil([] { return IsWindowVisible(FindWindowW(L"#32768", NULL)) != FALSE; }, 5000));
    EXPECT_EQ(TRUE, OnHostEvent(host.window(), EVENT_QUIT));
    EXPECT_EQ(NULL, FindWindowW(DISPLAY_WINDOW_CLASS, NULL));
    EXPECT_EQ(NULL, displayState.uiThread.get());
    EXPECT_TRUE(GetFileAttributesW(TestSettingsPath().c_str()) != INVALID_FILE_ATTRIBUTES) << "settings saved";
}

}  // namespace
