#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "support/host_session.h"
#include "support/test_pictures.h"
#include "support/test_support.h"

namespace {

// A theme name outside the ANSI code page: it travels from the folder name
// through the menu item into the settings file.
constexpr wchar_t THEME_NAME[] = L"\u9752\u3044\u7a7a";  // 青い空

class MenuEndToEnd : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::wstring theme = folder / L"coverdeckTheme";
        ASSERT_TRUE(MakeFolder(theme));
        theme += std::wstring(L"\\") + THEME_NAME;
        ASSERT_TRUE(MakeFolder(theme));
        ASSERT_TRUE(WriteText(theme + L"\\theme.ini", "[image]\r\nx=10\r\ny=10\r\nwidth=100\r\nheight=60\r\n"));
        ASSERT_TRUE(WriteBytes(theme + L"\\background.png", EncodeSolidPicture(150, 90, 0xFF203040)));
    }

    HostRun Run(const std::vector<std::string>& steps)
    {
        return RunHostExpectingSuccess(plugin, steps);
    }
    std::wstring Setting(const wchar_t* key)
    {
        wchar_t text[MAX_PATH];
        GetPrivateProfileStringW(L"setting", key, L"<missing>", text, MAX_PATH, settings.c_str());
        return text;
    }

    TempFolder folder;
    std::wstring plugin = CopyPluginInto(folder);
    std::wstring settings = folder / L"coverdeck.ini";
};

TEST_F(MenuEndToEnd, KeyboardPicksAThemeThatTheWindowTakesAndTheSettingsKeep)
{
    // Down: the Theme submenu; right: into it, on "Default"; down: past the
    // separator onto the one theme folder.
    std::wstring png = folder / L"frame.png";
    HostRun run = Run({"rightclick", "key down right down return", "wait 200", "rect", "capture " + Utf8Of(png), "quit"});
    RECT rect;
    ASSERT_TRUE(LastWindowRect(run, &rect)) << run.Transcript();
    EXPECT_EQ(150, rect.right - rect.left) << run.Transcript();
    EXPECT_EQ(90, rect.bottom - rect.top) << run.Transcript();
    EXPECT_EQ(THEME_NAME, Setting(L"theme"));
    // The new frame is on screen: the theme's background, no built-in grey.
    Pixels picture;
    ASSERT_TRUE(LoadPicture(png, &picture)) << run.Transcript();
    ASSERT_EQ(150, picture.width);
    EXPECT_EQ(0x203040u, picture.At(5, 5) & 0xFFFFFF);
    EXPECT_EQ(0x203040u, picture.At(140, 80) & 0xFFFFFF);

    // The next start comes up in that theme.
    HostRun again = Run({"rect", "quit"});
    ASSERT_TRUE(LastWindowRect(again, &rect)) << again.Transcript();
    EXPECT_EQ(150, rect.right - rect.left) << again.Transcript();
    EXPECT_EQ(THEME_NAME, Setting(L"theme"));
}

TEST_F(MenuEndToEnd, EscapeDismissesTheMenuWithoutChangeWhereTheSameKeysWouldToggle)
{
    HostRun first = Run({"quit"});
    std::vector<unsigned char> before = ReadBytes(settings);
    ASSERT_FALSE(before.empty());

    // Had Escape left the menu open, the keys after it would toggle "keep
    // the aspect ratio".
    HostRun run = Run({"rightclick", "key escape", "wait 200", "key down down down return", "wait 200", "rect", "quit"});
    RECT rect;
    ASSERT_TRUE(LastWindowRect(run, &rect)) << run.Transcript();
    EXPECT_EQ(112, rect.right - rect.left) << run.Transcript();
    EXPECT_EQ(before, ReadBytes(settings));
    EXPECT_EQ(L"1", Setting(L"aspectratio"));
    EXPECT_EQ(L"", Setting(L"theme"));

    // With the menu open, the same keys pick its third item.
    Run({"rightclick", "key down down down return", "quit"});
    EXPECT_EQ(L"0", Setting(L"aspectratio"));
}

}  // namespace
