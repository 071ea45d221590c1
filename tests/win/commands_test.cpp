#include <gtest/gtest.h>
#include <string>
#include "render/theme.h"
#include "resources/resource_ids.h"
#include "state/display_state.h"
#include "state/gdiplus_session.h"
#include "support/layered_window.h"
#include "support/test_pictures.h"
#include "support/test_support.h"
#include "window/commands.h"
#include "window/display_window.h"
#include "state/owners.h"

namespace {

// A colour no theme uses, as the screen reads it and as an opaque DIB pixel.
constexpr COLORREF MARKER_COLOUR = RGB(255, 0, 255);
constexpr DWORD MARKER_PIXEL = 0xFFFF00FF;
constexpr COLORREF BUILTIN_SLOT_COLOUR = RGB(224, 224, 224);

// Commands on a live display window. Whether a command redraws is read off
// the screen: the window is first painted a colour no theme uses, and a
// redraw replaces it with the built-in theme's grey.
class MenuCommands : public ::testing::Test {
protected:
    // One window for the suite: Wine under a bare X server takes two seconds
    // to hide a window.
    static void SetUpTestSuite()
    {
        gdiplus = new GdiplusSession;
        ResetDisplayState();
        RemoveTestSettingsFile();
        display = new LayeredWindow(DisplayWindowProc, {0, 0, 200, 200}, true);
        window = display->handle();
        display->MoveTo(400, 300);
    }
    static void TearDownTestSuite()
    {
        delete display;
        RemoveTestSettingsFile();
        delete gdiplus;
    }
    void SetUp() override
    {
        ASSERT_TRUE(window);
        ResetDisplayState();
        themes = root / L"themes";
        ASSERT_TRUE(MakeFolder(themes));
        lstrcpyW(displayState.themesRoot, themes.c_str());
        // Each test starts from the built-in theme at the window's own size.
        LoadTheme(window);
    }
    void AddTheme(const std::wstring& name)
    {
        ASSERT_TRUE(MakeFolder(themes + L"\\" + name));
        ASSERT_TRUE(WriteText(themes + L"\\" + name + L"\\theme.ini", "[image]\r\n"));
    }

    void PaintMarkerColour()
    {
        RECT bounds;
        GetWindowRect(window, &bounds);
        SIZE size = {bounds.right - bounds.left, bounds.bottom - bounds.top};
        PixelCanvas marker(size.cx, size.cy);
        ASSERT_TRUE(marker.ready());
        marker.Fill(MARKER_PIXEL);
        ScopedGetDC screen(NULL);
        POINT origin = {bounds.left, bounds.top}, source = {0, 0};
        BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        UpdateLayeredWindow(window, screen.get(), &origin, &size, marker.dc(), &source, 0, &blend, ULW_ALPHA);
        ASSERT_EQ(MARKER_COLOUR, ScreenColour()) << "the screen cannot be read back";
    }
    // The colour the screen shows in the middle of the built-in cover slot.
    COLORREF ScreenColour()
    {
        GdiFlush();
        PumpFor(50);
        RECT bounds;
        GetWindowRect(window, &bounds);
        ScopedGetDC screen(NULL);
        return GetPixel(screen.get(), bounds.left + 50, bounds.top + 50);
    }
    bool Redrawn() { return ScreenColour() == BUILTIN_SLOT_COLOUR; }

    static GdiplusSession* gdiplus;
    static LayeredWindow* display;
    static HWND window;
    TempFolder root;
    std::wstring themes;
};

GdiplusSession* MenuCommands::gdiplus;
LayeredWindow* MenuCommands::display;
HWND MenuCommands::window;

TEST_F(MenuCommands, ZOrderCommandsSetPositionAndBandWithoutRedraw)
{
    PaintMarkerColour();
    OnCommand(window, IDM_ZORDER_TOPMOST);
    EXPECT_EQ(1, displayState.position);
    EXPECT_TRUE(GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
    OnCommand(window, IDM_ZORDER_NORMAL);
    EXPECT_EQ(0, displayState.position);
    EXPECT_FALSE(GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
    OnCommand(window, IDM_ZORDER_BOTTOM);
    EXPECT_EQ(2, displayState.position);
    EXPECT_FALSE(Redrawn());
}

TEST_F(MenuCommands, AspectRatioTogglesToZeroOrOneAndRedraws)
{
    displayState.aspectratio = 5;
    PaintMarkerColour();
    OnCommand(window, IDM_ASPECTRATIO);
    EXPECT_EQ(0, displayState.aspectratio);
    EXPECT_TRUE(Redrawn());
    PaintMarkerColour();
    OnCommand(window, IDM_ASPECTRATIO);
    EXPECT_EQ(1, displayState.aspectratio);
    EXPECT_TRUE(Redrawn());
}

TEST_F(MenuCommands, SnapEmbeddedPictureFadeAndAutoHideToggleWithoutRedraw)
{
    displayState.snap = 7;
    displayState.attachedpicture = 0;
    displayState.fade = 1;
    displayState.autohide = 0;
    PaintMarkerColour();
    for (int id : {IDM_SNAP, IDM_ATTACHEDPICTURE, IDM_FADE, IDM_AUTOHIDE})
        OnCommand(window, id);
    EXPECT_EQ(0, displayState.snap);
    EXPECT_EQ(1, displayState.attachedpicture);
    EXPECT_EQ(0, displayState.fade);
    EXPECT_EQ(1, displayState.autohide);
    OnCommand(window, IDM_SNAP);
    EXPECT_EQ(1, displayState.snap);
    EXPECT_FALSE(Redrawn());
}

// Without a compositor the screen shows the frame over black, so half the
// opacity reads as half the slot's grey.
TEST_F(MenuCommands, OpacityItemsSetTheirPercentageAndRedrawAtThatOpacity)
{
    PaintMarkerColour();
    OnCommand(window, IDM_OPACITY_50);
    EXPECT_EQ(50, displayState.opacity);
    const COLORREF half = ScreenColour();
    EXPECT_NEAR(112, GetRValue(half), 4);
    EXPECT_NEAR(112, GetBValue(half), 4);
    OnCommand(window, IDM_OPACITY_90);
    EXPECT_EQ(90, displayState.opacity);
    OnCommand(window, IDM_OPACITY_100);
    EXPECT_EQ(100, displayState.opacity);
    EXPECT_TRUE(Redrawn());
}

TEST_F(MenuCommands, DefaultThemeCommandLoadsBuiltInThemeAndRedraws)
{
    AddTheme(L"Wide");
    ASSERT_TRUE(WriteBytes(themes + L"\\Wide\\background.png", EncodeSolidPicture(150, 100, 0xFF102030)));
    lstrcpyW(displayState.theme, L"Wide");
    LoadTheme(window);
    RECT bounds;
    GetWindowRect(window, &bounds);
    ASSERT_EQ(150, bounds.right - bounds.left);

    PaintMarkerColour();
    OnCommand(window, IDM_THEME_DEFAULT);
    EXPECT_STREQ(L"", displayState.theme);
    GetWindowRect(window, &bounds);
    EXPECT_EQ(112, bounds.right - bounds.left);
    EXPECT_EQ(112, bounds.bottom - bounds.top);
    EXPECT_TRUE(Redrawn());
}

TEST_F(MenuCommands, ThemeIdsAndUnknownIdsSentToTheWindowDoNothing)
{
    AddTheme(L"Ocean");
    displayState.snap = 1;
    PaintMarkerColour();
    for (int id : {IDM_THEME_FIRST, IDM_THEME_FIRST + 1, 0, 40408, 40499})
        SendMessageW(window, WM_COMMAND, id, 0);
    EXPECT_STREQ(L"", displayState.theme);
    EXPECT_EQ(0, displayState.position);
    EXPECT_EQ(1, displayState.snap);
    EXPECT_FALSE(Redrawn());

    // Only the low word names the command.
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(IDM_SNAP, 1), 12345);
    EXPECT_EQ(0, displayState.snap);
}

}  // namespace
