#include <gtest/gtest.h>
#include <algorithm>
#include <string>
#include "host/plugin_entry.h"
#include "state/display_state.h"
#include "support/fake_host.h"
#include "support/test_support.h"
#include "window/display_window.h"

namespace {

// A running plug-in beside a fake host on this thread. The display window
// lives on the plug-in's own UI thread, as in the player.
class DisplayWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        // The holders outlive the window, as they do in the player: start each case empty.
        ResetDisplayState();
        RemoveTestSettingsFile();
        host.trackPath = (folder / L"01.mp3");
        WriteText(folder / L"folder.jpg", "not really a jpeg");
        ASSERT_EQ(TRUE, OnHostEvent(host.window(), EVENT_INIT));
        window = WaitForDisplayWindow();
        ASSERT_NE(nullptr, window);
    }
    void TearDown() override
    {
        OnHostEvent(host.window(), EVENT_QUIT);
        RemoveTestSettingsFile();
    }
    RECT Rect() const
    {
        RECT rect;
        GetWindowRect(window, &rect);
        return rect;
    }

    TempFolder folder;
    FakeHost host;
    HWND window = NULL;
};

TEST_F(DisplayWindow, BurstOfTrackEventsGivesOneRefreshAfterTheLast)
{
    for (int i = 0; i < 3; ++i) {
        OnHostEvent(host.window(), EVENT_TRACK);
        if (i < 2)
            PumpFor(100);
    }
    DWORD lastEvent = GetTickCount();
    PumpFor(350);
    EXPECT_TRUE(host.pathQueryTimes.empty()) << "refreshed before the debounce ran out";
    PumpUntil([&] { return !host.pathQueryTimes.empty(); }, 5000);
    PumpFor(700);
    ASSERT_EQ(1u, host.pathQueryTimes.size());
    // Early is the fault; late only means a busy machine.
    DWORD delay = host.pathQueryTimes[0] - lastEvent;
    EXPECT_GE(delay, 450u);
    EXPECT_LE(delay, 4000u);
    EXPECT_NE(nullptr, displayState.cover.GetStream()) << "folder.jpg was not taken";
}

TEST_F(DisplayWindow, StatusThatRecoversWithinTheDebounceKeepsTheCover)
{
    OnHostEvent(host.window(), EVENT_TRACK);
    ASSERT_TRUE(PumpUntil([&] { return displayState.cover.GetStream() != nullptr; }, 5000));

    host.status = 2;
    OnHostEvent(host.window(), EVENT_STATUS);
    EXPECT_EQ(1, host.statusQueries);
    host.status = 1;
    EXPECT_TRUE(PumpUntil([&] { return host.statusQueries == 2; }, 3000)) << "the status timer should ask once more";
    SendMessageW(window, WM_NULL, 0, 0);  // the timer's handler has finished
    EXPECT_NE(nullptr, displayState.cover.GetStream());
}

TEST_F(DisplayWindow, StatusThatStaysPausedClearsTheCoverButKeepsItsOrigin)
{
    OnHostEvent(host.window(), EVENT_TRACK);
    ASSERT_TRUE(PumpUntil([&] { return displayState.cover.GetStream() != nullptr; }, 5000));
    displayState.coverFromTag = 1;  // as if it had come from the tag

    host.status = 2;
    OnHostEvent(host.window(), EVENT_STATUS);
    PumpFor(300);
    EXPECT_NE(nullptr, displayState.cover.GetStream()) << "cleared before the debounce ran out";
    ASSERT_TRUE(PumpUntil([&] { return displayState.cover.GetStream() == nullptr; }, 5000));
    EXPECT_EQ(1, displayState.coverFromTag);
}

TEST_F(DisplayWindow, PlayingStatusStartsNoTimer)
{
    host.status = 1;
    OnHostEvent(host.window(), EVENT_STATUS);
    PumpFor(800);
    EXPECT_EQ(1, host.statusQueries);
}

TEST_F(DisplayWindow, ChannelIsRecordedOnlyFromItsAnnouncement)
{
    MSG announce = {host.window(), 1112, 503, 0x1234, 0, {0, 0}};
    OnHostMessage(&announce);
    EXPECT_EQ(0x1234u, displayState.channel);

    SendMessageW(window, WM_APP_CHANNEL, 502, 0x9999);
    MSG otherInfo = {host.window(), 1112, 502, 0x5555, 0, {0, 0}};
    OnHostMessage(&otherInfo);
    MSG unrelated = {host.window(), WM_MOUSEMOVE, 503, 0x7777, 0, {0, 0}};
    OnHostMessage(&unrelated);
    EXPECT_EQ(0x1234u, displayState.channel);

    MSG none = {host.window(), 1112, 503, 0, 0, {0, 0}};
    OnHostMessage(&none);
    EXPECT_EQ(0u, displayState.channel);
}

TEST_F(DisplayWindow, SnapsToTheRightEdgeOnlyWithinNinePixels)
{
    displayState.snap = 1;
    RECT work;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    int width = Rect().right - Rect().left;

    SetWindowPos(window, NULL, work.right - width - 8, 300, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(work.right - width, Rect().left);
    EXPECT_EQ(300, Rect().top);

    SetWindowPos(window, NULL, work.right - width - 11, 300, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(work.right - width - 11, Rect().left);

    displayState.snap = 0;
    SetWindowPos(window, NULL, work.right - width - 8, 300, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(work.right - width - 8, Rect().left);
}

TEST_F(DisplayWindow, BottomModePinsEveryPositionChangeToTheBottom)
{
    WINDOWPOS pos = {window, HWND_TOPMOST, 10, 10, 112, 112, SWP_NOSIZE};
    displayState.snap = 0;
    displayState.position = 2;
    EXPECT_EQ(0, SendMessageW(window, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&pos)));
    EXPECT_EQ(HWND_BOTTOM, pos.hwndInsertAfter);

    displayState.position = 1;
    pos.hwndInsertAfter = HWND_TOPMOST;
    SendMessageW(window, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&pos));
    EXPECT_EQ(HWND_TOPMOST, pos.hwndInsertAfter);
}

// With Shift held the double-click starts a drag, whose modal loop waits for
// a real button release; the sample host's end-to-end test covers that case.
TEST_F(DisplayWindow, DoubleClickActivatesTheHost)
{
    PostMessageW(window, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
    PumpUntil([&] { return !host.commands.empty(); }, 3000);
    SendMessageW(window, WM_NULL, 0, 0);  // the click's handler has finished
    ASSERT_EQ(1u, host.commands.size());
    EXPECT_EQ(40149u, host.commands[0]);
}

// A middle click may not act like any other button: no command to the host,
// no option or theme change, no move.
TEST_F(DisplayWindow, MiddleClicksAndUnknownAppMessagesChangeNothing)
{
    RECT before = Rect();
    const int options[] = {displayState.position, displayState.aspectratio, displayState.snap,
                           displayState.attachedpicture};
    const std::wstring theme = displayState.theme;
    for (UINT message : {WM_MBUTTONDOWN, WM_MBUTTONUP, WM_MBUTTONDBLCLK, WM_MBUTTONUP})
        SendMessageW(window, message, message == WM_MBUTTONUP ? 0 : MK_MBUTTON, MAKELPARAM(5, 5));
    SendMessageW(window, WM_APP, 9, 0);
    PumpFor(700);
    EXPECT_TRUE(host.commands.empty());
    const int after[] = {displayState.position, displayState.aspectratio, displayState.snap,
                         displayState.attachedpicture};
    EXPECT_TRUE(std::equal(options, options + 4, after));
    EXPECT_EQ(theme, displayState.theme);
    EXPECT_EQ(0, host.statusQueries);
    EXPECT_TRUE(host.pathQueryTimes.empty());
    RECT now = Rect();
    EXPECT_TRUE(EqualRect(&before, &now));
}

}  // namespace
