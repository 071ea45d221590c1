#include <gtest/gtest.h>
#include <functional>
#include <string>
#include <vector>
#include "render/window_canvas.h"
#include "resources/resource_ids.h"
#include "state/display_state.h"
#include "state/gdiplus_session.h"
#include "state/owners.h"
#include "support/layered_window.h"
#include "support/test_support.h"
#include "window/commands.h"
#include "window/display_window.h"
#include "window/settings.h"
#include "window/settings_path.h"

namespace {

// The strings of a profile function's answer: zero-terminated, one after the other.
std::vector<std::wstring> Strings(const std::vector<wchar_t>& buffer, DWORD length)
{
    std::vector<std::wstring> strings;
    for (DWORD at = 0; at < length && buffer[at];) {
        strings.emplace_back(&buffer[at]);
        at += static_cast<DWORD>(strings.back().size()) + 1;
    }
    return strings;
}

// All "key=value" entries of a section, in file order.
std::vector<std::wstring> SectionEntries(const std::wstring& path, const wchar_t* section)
{
    std::vector<wchar_t> buffer(8192);
    return Strings(buffer, GetPrivateProfileSectionW(section, buffer.data(), 8192, path.c_str()));
}

std::vector<std::wstring> SectionNames(const std::wstring& path)
{
    std::vector<wchar_t> buffer(8192);
    return Strings(buffer, GetPrivateProfileSectionNamesW(buffer.data(), 8192, path.c_str()));
}

// The display window runs the settings load in its creation and the save in
// its destruction; this program is its module.
class SettingsFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetDisplayState();
        wchar_t path[MAX_PATH];
        ASSERT_TRUE(SettingsPath(path));
        iniPath = path;
        RemoveTestSettingsFile();
    }
    void TearDown() override { RemoveTestSettingsFile(); }

    std::wstring Read(const wchar_t* section, const wchar_t* key)
    {
        wchar_t text[MAX_PATH];
        GetPrivateProfileStringW(section, key, L"<missing>", text, MAX_PATH, iniPath.c_str());
        return text;
    }

    GdiplusSession gdiplus;
    std::wstring iniPath;
};

TEST_F(SettingsFile, NoFileGivesDefaultsAndCloseWritesTenKeysWithoutDebug)
{
    LayeredWindow display(DisplayWindowProc);
    ASSERT_TRUE(display.handle());
    RECT rect = display.Rect();
    EXPECT_EQ(0, rect.left);
    EXPECT_EQ(0, rect.top);
    EXPECT_EQ(0, displayState.position);
    EXPECT_EQ(1, displayState.aspectratio);
    EXPECT_EQ(1, displayState.snap);
    EXPECT_EQ(1, displayState.attachedpicture);
    EXPECT_EQ(1, displayState.fade);
    EXPECT_EQ(0, displayState.autohide);
    EXPECT_EQ(100, displayState.opacity);
    EXPECT_STREQ(L"", displayState.theme);
    EXPECT_EQ(0, displayState.debug);
    display.Destroy();

    EXPECT_EQ((std::vector<std::wstring>{L"window", L"setting"}), SectionNames(iniPath));
    EXPECT_EQ((std::vector<std::wstring>{L"left=0", L"top=0"}), SectionEntries(iniPath, L"window"));
    EXPECT_EQ((std::vector<std::wstring>{L"position=0", L"aspectratio=1", L"snap=1", L"attachedpicture=1", L"fade=1",
                                         L"autohide=0", L"opacity=100", L"theme="}),
              SectionEntries(iniPath, L"setting"));
    std::vector<unsigned char> bytes = ReadBytes(iniPath);
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ(0xFF, bytes[0]);
    EXPECT_EQ(0xFE, bytes[1]);
}

TEST_F(SettingsFile, DebugAloneSwitchesOnAndSurvivesTheSave)
{
    ASSERT_TRUE(WriteText(iniPath, "[setting]\r\ndebug=1\r\n"));
    LayeredWindow display(DisplayWindowProc);
    EXPECT_EQ(1, displayState.debug);
    EXPECT_EQ(0, displayState.position);
    EXPECT_EQ(1, displayState.aspectratio);
    EXPECT_EQ(1, displayState.snap);
    EXPECT_EQ(1, displayState.attachedpicture);
    display.Destroy();

    EXPECT_EQ(L"1", Read(L"setting", L"debug"));
    EXPECT_EQ(9u, SectionEntries(iniPath, L"setting").size());
    EXPECT_EQ(L"1", Read(L"setting", L"snap"));
}

TEST_F(SettingsFile, OutOfRangeValuesAreKeptAndWrittenBackUntilToggled)
{
    ASSERT_TRUE(WriteText(iniPath, "[setting]\r\nposition=5\r\nsnap=7\r\naspectratio=-2\r\nopacity=5\r\n"));
    LayeredWindow display(DisplayWindowProc);
    EXPECT_EQ(5, displayState.position);
    EXPECT_EQ(7, displayState.snap);
    EXPECT_EQ(-2, displayState.aspectratio);
    EXPECT_EQ(255, OpacityAlpha());  // 5 % is below the lowest: drawn opaque
    display.Destroy();
    EXPECT_EQ(L"5", Read(L"setting", L"position"));
    EXPECT_EQ(L"7", Read(L"setting", L"snap"));
    EXPECT_EQ(L"-2", Read(L"setting", L"aspectratio"));
    EXPECT_EQ(L"5", Read(L"setting", L"opacity"));

    LayeredWindow again(DisplayWindowProc);
    OnCommand(again.handle(), IDM_SNAP);
    again.Destroy();
    EXPECT_EQ(L"0", Read(L"setting", L"snap"));
    EXPECT_EQ(L"5", Read(L"setting", L"position"));
}

TEST_F(SettingsFile, PartlyVisibleWindowKeepsItsNegativeLeft)
{
    ASSERT_TRUE(WriteText(iniPath, "[window]\r\nleft=-40\r\ntop=40\r\n"));
    LayeredWindow display(DisplayWindowProc);
    RECT rect = display.Rect();
    EXPECT_EQ(-40, rect.left);
    EXPECT_EQ(40, rect.top);
    display.MoveTo(-1234, 60);
    display.Destroy();
    EXPECT_EQ(L"-1234", Read(L"window", L"left"));
    EXPECT_EQ(L"60", Read(L"window", L"top"));
}

// The test display is one 1920 x 1040 monitor, all of it work area.
TEST_F(SettingsFile, WindowOnNoMonitorComesBackIntoTheNearestWorkArea)
{
    struct {
        const char* saved;
        LONG left, top;
    } cases[] = {{"left=99999\r\ntop=300", 1920 - 112, 300}, {"left=-300\r\ntop=-500", 0, 0},
                 {"left=500\r\ntop=1040", 500, 1040 - 112}};
    for (const auto& c : cases) {
        ASSERT_TRUE(WriteText(iniPath, std::string("[window]\r\n") + c.saved + "\r\n[setting]\r\nsnap=0\r\n"));
        LayeredWindow display(DisplayWindowProc);
        RECT rect = display.Rect();
        EXPECT_EQ(c.left, rect.left) << c.saved;
        EXPECT_EQ(c.top, rect.top) << c.saved;
        display.Destroy();
        EXPECT_EQ(std::to_wstring(c.left), Read(L"window", L"left")) << c.saved;
    }
}

TEST_F(SettingsFile, WindowMovesBeforeTheOptionsAreRead)
{
    // Snapping is off until the load has read "snap": the saved position,
    // five pixels from the corner, must not be pulled onto the edges.
    ASSERT_TRUE(WriteText(iniPath, "[window]\r\nleft=5\r\ntop=6\r\n[setting]\r\nsnap=1\r\n"));
    LayeredWindow display(DisplayWindowProc);
    RECT rect = display.Rect();
    EXPECT_EQ(5, rect.left);
    EXPECT_EQ(6, rect.top);
    EXPECT_EQ(1, displayState.snap);
    display.Destroy();
}

TEST_F(SettingsFile, VanishedThemeFolderStartsBuiltInThemeAndSavesEmptyTheme)
{
    ASSERT_TRUE(WriteText(iniPath, "[setting]\r\ntheme=NoSuchThemeFolder\r\n"));
    LayeredWindow display(DisplayWindowProc);
    EXPECT_STREQ(L"", displayState.theme);
    RECT rect = display.Rect();
    EXPECT_EQ(112, rect.right - rect.left);
    EXPECT_EQ(112, rect.bottom - rect.top);
    display.Destroy();
    EXPECT_EQ(L"", Read(L"setting", L"theme"));
}

TEST_F(SettingsFile, ForeignKeysAndSectionsSurviveTheSave)
{
    ASSERT_TRUE(WriteText(iniPath,
                          "[other]\r\nkeep=me\r\n[window]\r\nleft=10\r\nextra=abc\r\ntop=20\r\n"
                          "[setting]\r\nfoo=bar\r\n"));
    LayeredWindow display(DisplayWindowProc);
    display.Destroy();
    EXPECT_EQ(L"me", Read(L"other", L"keep"));
    EXPECT_EQ(L"abc", Read(L"window", L"extra"));
    EXPECT_EQ(L"bar", Read(L"setting", L"foo"));
    EXPECT_EQ(L"10", Read(L"window", L"left"));
    EXPECT_EQ(L"20", Read(L"window", L"top"));
}

// Through a fresh file, and through an 8-bit one written by hand, which then
// becomes UTF-16 with every line it held.
TEST_F(SettingsFile, ThemeNameOutsideTheAnsiCodePageRoundTrips)
{
    const wchar_t name[] = L"\u9752\u3044\u7a7a";  // 青い空
    LayeredWindow popup(DefWindowProcW, {30, 50, 80, 90});
    for (bool byHand : {false, true}) {
        if (byHand) {
            ASSERT_TRUE(WriteText(iniPath, "; kept as written\r\n[other]\r\nkeep=caf\xE9\r\n[setting]\r\ndebug=1\r\n"));
        }
        LoadSettings(popup.handle());
        lstrcpyW(displayState.theme, name);
        SaveSettings(popup.handle());
        displayState.theme[0] = L'\0';
        LoadSettings(popup.handle());
        EXPECT_STREQ(name, displayState.theme) << byHand;
    }
    wchar_t cafe[16];
    MultiByteToWideChar(CP_ACP, 0, "caf\xE9", -1, cafe, 16);
    EXPECT_EQ(std::wstring(cafe), Read(L"other", L"keep"));
    EXPECT_EQ(1, displayState.debug);
    std::vector<unsigned char> bytes = ReadBytes(iniPath);
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ(0xFF, bytes[0]);
    EXPECT_EQ(0xFE, bytes[1]);
    const std::wstring text(reinterpret_cast<const wchar_t*>(bytes.data() + 2), (bytes.size() - 2) / 2);
    EXPECT_EQ(0u, text.find(L"; kept as written\r\n[other]")) << Utf8Of(text);
}

TEST_F(SettingsFile, UnwritableFileKeepsItsContents)
{
    const std::string content = "[window]\r\nleft=10\r\ntop=20\r\n[setting]\r\nsnap=0\r\n";
    ASSERT_TRUE(WriteText(iniPath, content));
    LayeredWindow display(DisplayWindowProc);
    display.MoveTo(300, 400);
    displayState.snap = 1;
    // Wine running as root writes through the read-only attribute; a reader
    // that refuses to share writing makes the file unwritable everywhere.
    UniqueHandle reader(CreateFileW(iniPath.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL));
    ASSERT_TRUE(reader);
    SaveSettings(display.handle());
    reader.reset();
    std::vector<unsigned char> bytes = ReadBytes(iniPath);
    EXPECT_EQ(content, std::string(bytes.begin(), bytes.end()));

    // The same save, once the file can be written, does change it.
    display.Destroy();
    EXPECT_EQ(L"300", Read(L"window", L"left"));
    EXPECT_EQ(L"1", Read(L"setting", L"snap"));
}

// The rewrite into UTF-16 that cannot be completed leaves the 8-bit file in
// place, and its theme name with it rather than a "?" for each character the
// file cannot hold. With the obstacle gone, the same save converts the file.
TEST_F(SettingsFile, FailedRewriteKeepsTheFileAndTheOldThemeName)
{
    const std::string content = "[setting]\r\ntheme=Old\r\n";
    const std::wstring staged = iniPath + L".new";
    const wchar_t name[] = L"\u9752";
    UniqueHandle reader;
    struct {
        const char* label;
        std::function<void()> put, remove;
        DWORD keptAttributes;
    } obstacles[] = {
        // Under Wine nothing is renamed over an open file, yet the profile
        // functions write into one whose reader shares writing.
        {"reader",
         [&] {
             reader.reset(CreateFileW(iniPath.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                                      OPEN_EXISTING, 0, NULL));
         },
         [&] { reader.reset(); }, 0},
        {"read-only file", [&] { SetFileAttributesW(iniPath.c_str(), FILE_ATTRIBUTE_READONLY); },
         [&] { SetFileAttributesW(iniPath.c_str(), FILE_ATTRIBUTE_NORMAL); }, FILE_ATTRIBUTE_READONLY},
        {"folder on the staged name", [&] { CreateDirectoryW(staged.c_str(), NULL); },
         [&] { RemoveDirectoryW(staged.c_str()); }, 0},
    };
    LayeredWindow popup(DefWindowProcW, {30, 50, 80, 90});
    for (const auto& obstacle : obstacles) {
        ASSERT_TRUE(WriteText(iniPath, content));
        lstrcpyW(displayState.theme, name);
        obstacle.put();
        SaveSettings(popup.handle());
        DWORD attributes = GetFileAttributesW(iniPath.c_str());
        obstacle.remove();
        std::vector<unsigned char> bytes = ReadBytes(iniPath);
        EXPECT_EQ(0u, std::string(bytes.begin(), bytes.end()).find(content)) << obstacle.label;
        EXPECT_EQ(L"Old", Read(L"setting", L"theme")) << obstacle.label;
        EXPECT_EQ(obstacle.keptAttributes, attributes & obstacle.keptAttributes) << obstacle.label;
        EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(staged.c_str())) << obstacle.label;

        SaveSettings(popup.handle());
        EXPECT_EQ(name, Read(L"setting", L"theme")) << obstacle.label;
    }
}

// The profile functions trim white space around a value and drop one pair of
// matching outer quotes; the names they would alter go into the file inside
// double quotes, every other name as it is.
TEST_F(SettingsFile, ThemeNamesWithOuterSpacesOrQuotesReadBackVerbatim)
{
    struct {
        const wchar_t* name;
        const wchar_t* stored;
    } cases[] = {
        {L" Night", L"\" Night\""}, {L"Trail ", L"\"Trail \""}, {L"'80s'", L"\"'80s'\""},
        {L"\"Quoted\"", L"\"\"Quoted\"\""}, {L"''", L"\"''\""}, {L"\tTab", L"\"\tTab\""},
        // The 8-bit file becomes UTF-16 here: the rows after it go there.
        {L" \u9752", L"\" \u9752\""}, {L"'", L"'"}, {L"'Mixed\"", L"'Mixed\""}, {L"Plain", L"Plain"},
        {L"\u3000Wide", L"\u3000Wide"},
    };
    ASSERT_TRUE(WriteText(iniPath, "[setting]\r\ntheme=Old\r\n"));
    LayeredWindow popup(DefWindowProcW, {30, 50, 80, 90});
    for (const auto& c : cases) {
        lstrcpyW(displayState.theme, c.name);
        SaveSettings(popup.handle());
        displayState.theme[0] = L'\0';
        LoadSettings(popup.handle());
        EXPECT_STREQ(c.name, displayState.theme) << Utf8Of(c.name);
        EXPECT_EQ(L"theme=" + std::wstring(c.stored), SectionEntries(iniPath, L"setting").front()) << Utf8Of(c.name);
    }
}

}  // namespace
