#include <gtest/gtest.h>
#include <string>
#include "state/display_state.h"
#include "state/gdiplus_session.h"
#include "support/layered_window.h"
#include "support/test_support.h"
#include "window/display_window.h"

// Runs on the two-monitor rig that tests/harness/two-screens-up sets up.
namespace {

constexpr int SIDE = 112;  // the built-in theme's window

// What Wine must report on the rig, monitor by monitor: the primary with a
// 40-pixel taskbar along its bottom, the smaller second one to its right.
constexpr char RIG_LAYOUT[] =
    "2 monitors: (0,0)-(1024,768) work (0,0)-(1024,728) primary; (1024,0)-(1824,600) work (1024,0)-(1824,600); ";

BOOL CALLBACK DescribeMonitor(HMONITOR monitor, HDC, RECT*, LPARAM text)
{
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    GetMonitorInfoW(monitor, &info);
    char line[128];
    wsprintfA(line, "(%ld,%ld)-(%ld,%ld) work (%ld,%ld)-(%ld,%ld)%s; ", info.rcMonitor.left, info.rcMonitor.top,
              info.rcMonitor.right, info.rcMonitor.bottom, info.rcWork.left, info.rcWork.top, info.rcWork.right,
              info.rcWork.bottom, (info.dwFlags & MONITORINFOF_PRIMARY) ? " primary" : "");
    *reinterpret_cast<std::string*>(text) += line;
    return TRUE;
}

std::string MonitorLayout()
{
    std::string text = std::to_string(GetSystemMetrics(SM_CMONITORS)) + " monitors: ";
    EnumDisplayMonitors(nullptr, nullptr, DescribeMonitor, reinterpret_cast<LPARAM>(&text));
    return text;
}

class TwoScreens : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(RIG_LAYOUT, MonitorLayout())
            << "Wine does not see the two-monitor rig; tests/harness/two-screens-up says what it needs";
        ResetDisplayState();
        RemoveTestSettingsFile();
    }
    void TearDown() override { RemoveTestSettingsFile(); }

    GdiplusSession gdiplus;
};

struct Place {
    int x, y;
};

// `moved` is what the user asks for, `landed` where the window goes.
struct Move {
    Place moved, landed;
    const char* what;
};

void ExpectAt(const LayeredWindow& display, Place place, const char* what)
{
    RECT rect = display.Rect();
    EXPECT_EQ(place.x, rect.left) << what;
    EXPECT_EQ(place.y, rect.top) << what;
}

TEST_F(TwoScreens, SnapsToTheFourWorkAreaEdgesOfTheMonitorItIsOn)
{
    const Move moves[] = {
        {{5, 300}, {0, 300}, "primary, left"},
        {{300, -6}, {300, 0}, "primary, top"},
        {{1024 - SIDE - 7, 300}, {1024 - SIDE, 300}, "primary, right"},
        {{300, 728 - SIDE + 8}, {300, 728 - SIDE}, "primary, bottom: the taskbar's edge"},
        {{1024 + 6, 300}, {1024, 300}, "second, left"},
        {{1300, 7}, {1300, 0}, "second, top"},
        {{1824 - SIDE - 4, 300}, {1824 - SIDE, 300}, "second, right"},
        {{1300, 600 - SIDE + 5}, {1300, 600 - SIDE}, "second, bottom"},
    };
    LayeredWindow display(DisplayWindowProc);
    ASSERT_EQ(1, displayState.snap);
    for (const Move& move : moves) {
        display.MoveTo(move.moved.x, move.moved.y);
        ExpectAt(display, move.landed, move.what);
    }
}

// Dragged pixel by pixel from the primary onto the second monitor: flush with
// the shared edge from either side within the snap distance, free elsewhere.
TEST_F(TwoScreens, SharedEdgeHoldsFromEitherSideAndLetsADragCross)
{
    constexpr int FLUSH_LEFT = 1024 - SIDE, FLUSH_RIGHT = 1024;
    LayeredWindow display(DisplayWindowProc);
    for (int x = FLUSH_LEFT - 20; x <= FLUSH_RIGHT + 20; ++x) {
        display.MoveTo(x, 300);
        int expected = abs(x - FLUSH_LEFT) <= 9 ? FLUSH_LEFT : abs(x - FLUSH_RIGHT) <= 9 ? FLUSH_RIGHT : x;
        ASSERT_EQ(expected, display.Rect().left) << "dragged to " << x;
    }
}

TEST_F(TwoScreens, SavedPositionStaysWhileUsefullyVisibleAndComesBackOtherwise)
{
    const Move saved[] = {
        {{1300, 200}, {1300, 200}, "on the second monitor"},
        {{1824 - 24, 200}, {1824 - 24, 200}, "24 pixels showing on the second monitor"},
        {{1824 - 23, 200}, {1824 - SIDE, 200}, "23 pixels showing"},
        {{3000, 200}, {1824 - SIDE, 200}, "right of the second monitor"},
        {{1300, 700}, {1300, 600 - SIDE}, "below the second monitor, nearer to it"},
        {{300, 740}, {300, 728 - SIDE}, "behind the primary's taskbar only"},
        {{-500, 900}, {0, 728 - SIDE}, "left of and below everything"},
    };
    for (const Move& place : saved) {
        ASSERT_TRUE(WriteText(TestSettingsPath(), "[window]\r\nleft=" + std::to_string(place.moved.x) + "\r\ntop=" +
                                                      std::to_string(place.moved.y) + "\r\n[setting]\r\nsnap=1\r\n"));
        LayeredWindow display(DisplayWindowProc);
        ExpectAt(display, place.landed, place.what);
    }
}

// Wine 8 does not tell running programs when an output goes, so the messages
// are sent here as the system would send them.
TEST_F(TwoScreens, DisplayChangeBringsBackOnlyAWindowThatIsNotVisible)
{
    const struct {
        UINT message;
        WPARAM wParam;
        Move move;
    } changes[] = {
        {WM_DISPLAYCHANGE, 32, {{3000, 200}, {1824 - SIDE, 200}, "display change, off every monitor"}},
        {WM_SETTINGCHANGE, SPI_SETWORKAREA, {{1300, 700}, {1300, 600 - SIDE}, "work area change, off every monitor"}},
        {WM_DISPLAYCHANGE, 32, {{1824 - 24, 200}, {1824 - 24, 200}, "display change, 24 pixels showing"}},
        {WM_SETTINGCHANGE, SPI_SETDESKWALLPAPER, {{3000, 200}, {3000, 200}, "another setting changed"}},
    };
    LayeredWindow display(DisplayWindowProc);
    for (const auto& change : changes) {
        display.MoveTo(change.move.moved.x, change.move.moved.y);
        ExpectAt(display, change.move.moved, "before the message");
        SendMessageW(display.handle(), change.message, change.wParam, 0);
        ExpectAt(display, change.move.landed, change.move.what);
    }
}

}  // namespace
