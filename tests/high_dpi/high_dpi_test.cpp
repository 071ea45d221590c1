#include <gtest/gtest.h>
#include <stdlib.h>
#include <string>
#include <vector>
#include "support/host_session.h"
#include "support/tag_builder.h"
#include "support/test_pictures.h"
#include "support/test_support.h"

// Runs on the 150 % rig that tests/harness/high-dpi-up sets up: its prefix
// reports 144 DPI. The plug-in runs in the sample host as in a player.
namespace {

constexpr uint32_t THEME_COLOUR = 0xFF203040;
constexpr int STRIPES_SIDE = 240;

// One-pixel columns, black and white: only a cover drawn at the screen's own
// pixels keeps every neighbour's full contrast.
std::vector<unsigned char> Stripes()
{
    return EncodePngFrom(STRIPES_SIDE, STRIPES_SIDE, [](int x, int) -> uint32_t { return x % 2 ? 0xFFFFFFFF : 0xFF000000; });
}

int Brightness(uint32_t argb)
{
    return static_cast<int>((argb >> 16 & 0xFF) + (argb >> 8 & 0xFF) + (argb & 0xFF)) / 3;
}

TEST(HighDpi, TheFrameIsDrawnAtTheScreensOwnPixels)
{
    ASSERT_EQ(144, GetDeviceCaps(ScopedGetDC(NULL).get(), LOGPIXELSX))
        << "the rig's prefix does not report 144 DPI; see tests/harness/high-dpi-up";
    TempFolder folder;
    const std::wstring plugin = CopyPluginInto(folder);
    const std::wstring theme = folder / L"coverdeckTheme\\Square";
    ASSERT_TRUE(MakeFolder(folder / L"coverdeckTheme") && MakeFolder(theme));
    // A line of text below the slot: (20, 178, 160, 20), text 12 pixels high.
    ASSERT_TRUE(WriteText(theme + L"\\theme.ini", "[image]\r\nx=20\r\ny=16\r\nwidth=160\r\nheight=160\r\n"
                                                 "[text]\r\nx=20\r\ny=178\r\nwidth=160\r\nheight=20\r\n"));
    ASSERT_TRUE(WriteBytes(theme + L"\\background.png", EncodeSolidPicture(200, 200, THEME_COLOUR)));
    const std::wstring track = folder / L"stripes.mp3";
    ASSERT_TRUE(WriteBytes(track, SmallMp3(Frame3("TIT2", Bytes{0} + Text("Tall Title")) + PictureFrame(Stripes()))));
    const std::wstring shot = folder / L"shot.png";

    const struct {
        const char* name;
        std::string settings;
        RECT window;  // left, top, right, bottom as the host reports it
    } cases[] = {
        {"built-in theme, saved position as it is", "[window]\r\nleft=333\r\ntop=222\r\n", {333, 222, 333 + 168, 222 + 168}},
        {"200 x 200 theme", "[window]\r\nleft=100\r\ntop=100\r\n[setting]\r\ntheme=Square\r\n", {100, 100, 400, 400}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(WriteText(folder / L"coverdeck.ini", c.settings));
        HostLaunch launch;
        launch.plugin = plugin;
        HostRun run = RunHost(launch, {"play " + Utf8Of(track), "await path-query", "rect", "capture " + Utf8Of(shot), "quit"});
        ASSERT_EQ(0u, run.exitCode) << run.Transcript();
        RECT rect;
        ASSERT_TRUE(LastWindowRect(run, &rect)) << run.Transcript();
        EXPECT_EQ(c.window.left, rect.left);
        EXPECT_EQ(c.window.top, rect.top);
        EXPECT_EQ(c.window.right - c.window.left, rect.right - rect.left);
        EXPECT_EQ(c.window.bottom - c.window.top, rect.bottom - rect.top);
    }

    // The last capture: the slot (20, 16, 160, 160) is (30, 24, 240, 240) on
    // screen, and the 240-pixel cover fills it column for column.
    Pixels picture;
    ASSERT_TRUE(LoadPicture(shot, &picture));
    ASSERT_EQ(300, picture.width);
    const int row = 24 + 120;
    EXPECT_EQ(THEME_COLOUR & 0xFFFFFF, picture.At(29, row) & 0xFFFFFF);
    EXPECT_EQ(THEME_COLOUR & 0xFFFFFF, picture.At(30 + 240, row) & 0xFFFFFF);
    int weakest = 255;
    for (int x = 30; x + 1 < 30 + 240; ++x)
        weakest = std::min(weakest, abs(Brightness(picture.At(x, row)) - Brightness(picture.At(x + 1, row))));
    EXPECT_GT(weakest, 200) << "neighbouring columns lost their contrast";

    // The text is drawn at the screen's scale too: its box is (30, 267, 240,
    // 30), and its capitals are taller than the 12 pixels asked at 96 DPI.
    // (The scaled background's outermost pixels blend with the transparency
    // beyond them; they are left out.)
    int top = picture.height, bottom = -1;
    for (int y = 24 + 240; y + 1 < picture.height; ++y)
        for (int x = 1; x + 1 < picture.width; ++x)
            if ((picture.At(x, y) & 0xFFFFFF) != (THEME_COLOUR & 0xFFFFFF)) {
                EXPECT_TRUE(x >= 30 && x < 270 && y >= 267 && y < 297) << x << ", " << y;
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    EXPECT_GE(bottom - top + 1, 13) << "text rows " << top << " to " << bottom;
}

}  // namespace
