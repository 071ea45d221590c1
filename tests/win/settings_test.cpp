#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "state/display_state.h"
#include "support/test_support.h"
#include "window/context_menu.h"
#include "window/commands.h"
#include "window/display_window.h"
#include "window/gdiplus_session.h"
#include "window/settings.h"
#include "window/settings_path.h"

namespace {

const wchar_t kPlainClass[] = L"settings_test_plain";

// All "key=value" entries of a section, in file order.
std::vector<std::wstring> SectionEntries(const std::wstring& path, const wchar_t* section)
{
    std::vector<wchar_t> buffer(8192);
    DWORD length = GetPrivateProfileSectionW(section, buffer.data(), static_cast<DWORD>(buffer.size()), path.c_str());
    std::vector<std::wstring> entries;
    for (DWORD at = 0; at < length && buffer[at];) {
        std::wstring entry(&buffer[at]);
        entries.push_back(entry);
        at += static_cast<DWORD>(entry.size()) + 1;
    }
    return entries;
}

std::vector<std::wstring> SectionNames(const std::wstring& path)
{
    std::vector<wchar_t> buffer(8192);
    DWORD length = GetPrivateProfileSectionNamesW(buffer.data(), static_cast<DWORD>(buffer.size()), path.c_str());
    std::vector<std::wstring> names;
    for (DWORD at = 0; at < length && buffer[at];) {
        std::wstring name(&buffer[at]);
        names.push_back(name);
        at += static_cast<DWORD>(name.size()) + 1;
    }
    return names;
}

RECT WindowRect(HWND window)
{
    RECT rect = {};
    GetWindowRect(window, &rect);
    return rect;
}

class SettingsFile : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        gdiplus = new GdiplusSession;
        WNDCLASSW display = {};
        display.style = CS_DBLCLKS;
        display.lpfnWndProc = DisplayWindowProc;
        display.hInstance = GetModuleHandleW(NULL);
        display.lpszClassName = DISPLAY_WINDOW_CLASS;
        RegisterClassW(&display);
        WNDCLASSW plain = {};
        plain.lpfnWndProc = DefWindowProcW;
        plain.hInstance = GetModuleHandleW(NULL);
        plain.lpszClassName = kPlainClass;
        RegisterClassW(&plain);
    }
    static void TearDownTestSuite()
    {
        UnregisterClassW(DISPLAY_WINDOW_CLASS, GetModuleHandleW(NULL));
        UnregisterClassW(kPlainClass, GetModuleHandleW(NULL));
        delete gdiplus;
    }

    void SetUp() override
    {
        // The options as they stand right after the module is loaded.
        displayState.module = GetModuleHandleW(NULL);
        displayState.position = 0;
        displayState.aspectratio = 0;
        displayState.snap = 0;
        displayState.attachedpicture = 0;
        displayState.debug = 0;
        displayState.theme[0] = L'\0';
        wchar_t path[MAX_PATH];
        ASSERT_TRUE(SettingsPath(path));
        iniPath = path;
        RemoveSettingsFile();
    }
    void TearDown() override
    {
        RemoveSettingsFile();
    }
    void RemoveSettingsFile()
    {
        SetFileAttributesW(iniPath.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(iniPath.c_str());
    }

    // The display window runs the settings load in its creation and the save
    // in its destruction.
    HWND OpenDisplayWindow()
    {
        return CreateWindowExW(WS_EX_LAYERED | WS_EX_TOOLWINDOW, DISPLAY_WINDOW_CLASS, DISPLAY_WINDOW_CLASS, WS_POPUP,
                               0, 0, 200, 200, NULL, NULL, GetModuleHandleW(NULL), NULL);
    }
    static HWND OpenPlainWindow(int x, int y)
    {
        return CreateWindowExW(0, kPlainClass, L"", WS_POPUP, x, y, 50, 40, NULL, NULL, GetModuleHandleW(NULL), NULL);
    }
    std::wstring Read(const wchar_t* section, const wchar_t* key)
    {
        wchar_t text[MAX_PATH];
        GetPrivateProfileStringW(section, key, L"<missing>", text, MAX_PATH, iniPath.c_str());
        return text;
    }

    static GdiplusSession* gdiplus;
    std::wstring iniPath;
};

GdiplusSession* SettingsFile::gdiplus;

TEST_F(SettingsFile, NoFileGivesDefaultsAndCloseWritesSevenKeysWithoutDebug)
{
    HWND window = OpenDisplayWindow();
    ASSERT_TRUE(window);
    RECT rect = WindowRect(window);
    EXPECT_EQ(0, rect.left);
    EXPECT_EQ(0, rect.top);
    EXPECT_EQ(0, displayState.position);
    EXPECT_EQ(1, displayState.aspectratio);
    EXPECT_EQ(1, displayState.snap);
    EXPECT_EQ(1, displayState.attachedpicture);
    EXPECT_STREQ(L"", displayState.theme);
    EXPECT_EQ(0, displayState.debug);
    DestroyWindow(window);

    EXPECT_EQ((std::vector<std::wstring>{L"window", L"setting"}), SectionNames(iniPath));
    EXPECT_EQ((std::vector<std::wstring>{L"left=0", L"top=0"}), SectionEntries(iniPath, L"window"));
    EXPECT_EQ((std::vector<std::wstring>{L"position=0", L"aspectratio=1", L"snap=1", L"attachedpicture=1", L"theme="}),
              SectionEntries(iniPath, L"setting"));
    std::vector<unsigned char> bytes = ReadBytes(iniPath);
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ(0xFF, bytes[0]);
    EXPECT_EQ(0xFE, bytes[1]);
}

TEST_F(SettingsFile, DebugAloneSwitchesOnAndSurvivesTheSave)
{
    ASSERT_TRUE(WriteText(iniPath, "[setting]\r\ndebug=1\r\n"));
    HWND window = OpenDisplayWindow();
    EXPECT_EQ(1, displayState.debug);
    EXPECT_EQ(0, displayState.position);
    EXPECT_EQ(1, displayState.aspectratio);
    EXPECT_EQ(1, displayState.snap);
    EXPECT_EQ(1, displayState.attachedpicture);
    DestroyWindow(window);

    EXPECT_EQ(L"1", Read(L"setting", L"debug"));
    EXPECT_EQ(6u, SectionEntries(iniPath, L"setting").size());
    EXPECT_EQ(L"1", Read(L"setting", L"snap"));
}

TEST_F(SettingsFile, OutOfRangeValuesAreKeptAndWrittenBackUntilToggled)
{
    ASSERT_TRUE(WriteText(iniPath, "[setting]\r\nposition=5\r\nsnap=7\r\naspectratio=-2\r\n"));
    HWND window = OpenDisplayWindow();
    EXPECT_EQ(5, displayState.position);
    EXPECT_EQ(7, displayState.snap);
    EXPECT_EQ(-2, displayState.aspectratio);
    DestroyWindow(window);
    EXPECT_EQ(L"5", Read(L"setting", L"position"));
    EXPECT_EQ(L"7", Read(L"setting", L"snap"));
    EXPECT_EQ(L"-2", Read(L"setting", L"aspectratio"));

    window = OpenDisplayWindow();
    OnCommand(window, IDM_SNAP);
    DestroyWindow(window);
    EXPECT_EQ(L"0", Read(L"setting", L"snap"));
    EXPECT_EQ(L"5", Read(L"setting", L"position"));
}

TEST_F(SettingsFile, PartlyVisibleWindowKeepsItsNegativeLeft)
{
    ASSERT_TRUE(WriteText(iniPath, "[window]\r\nleft=-40\r\ntop=40\r\n"));
    HWND window = OpenDisplayWindow();
    RECT rect = WindowRect(window);
    EXPECT_EQ(-40, rect.left);
    EXPECT_EQ(40, rect.top);
    SetWindowPos(window, NULL, -1234, 60, 0, 0, SWP_NOZORDER | SWP_NOSIZE | SWP_NOACTIVATE);
    DestroyWindow(window);
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
        HWND window = OpenDisplayWindow();
        RECT rect = WindowRect(window);
        EXPECT_EQ(c.left, rect.left) << c.saved;
        EXPECT_EQ(c.top, rect.top) << c.saved;
        DestroyWindow(window);
        EXPECT_EQ(std::to_wstring(c.left), Read(L"window", L"left")) << c.saved;
    }
}

TEST_F(SettingsFile, WindowMovesBeforeTheOptionsAreRead)
{
    // Snapping is off until the load has read "snap": the saved position,
    // five pixels from the corner, must not be pulled onto the edges.
    ASSERT_TRUE(WriteText(iniPath, "[window]\r\nleft=5\r\ntop=6\r\n[setting]\r\nsnap=1\r\n"));
    HWND window = OpenDisplayWindow();
    RECT rect = WindowRect(window);
    EXPECT_EQ(5, rect.left);
    EXPECT_EQ(6, rect.top);
    EXPECT_EQ(1, displayState.snap);
    DestroyWindow(window);
}

TEST_F(SettingsFile, VanishedThemeFolderStartsBuiltInThemeAndSavesEmptyTheme)
{
    ASSERT_TRUE(WriteText(iniPath, "[setting]\r\ntheme=NoSuchThemeFolder\r\n"));
    HWND window = OpenDisplayWindow();
    EXPECT_STREQ(L"", displayState.theme);
    RECT rect = WindowRect(window);
    EXPECT_EQ(112, rect.right - rect.left);
    EXPECT_EQ(112, rect.bottom - rect.top);
    DestroyWindow(window);
    EXPECT_EQ(L"", Read(L"setting", L"theme"));
}

TEST_F(SettingsFile, ForeignKeysAndSectionsSurviveTheSave)
{
    ASSERT_TRUE(WriteText(iniPath,
                          "[other]\r\nkeep=me\r\n[window]\r\nleft=10\r\nextra=abc\r\ntop=20\r\n"
                          "[setting]\r\nfoo=bar\r\n"));
    HWND window = OpenDisplayWindow();
    DestroyWindow(window);
    EXPECT_EQ(L"me", Read(L"other", L"keep"));
    EXPECT_EQ(L"abc", Read(L"window", L"extra"));
    EXPECT_EQ(L"bar", Read(L"setting", L"foo"));
    EXPECT_EQ(L"10", Read(L"window", L"left"));
    EXPECT_EQ(L"20", Read(L"window", L"top"));
}

TEST_F(SettingsFile, ThemeNameOutsideTheAnsiCodePageRoundTripsThroughAFreshFile)
{
    const wchar_t kName[] = L"\u9752\u3044\u7a7a";  // 青い空
    HWND window = OpenPlainWindow(30, 50);
    lstrcpyW(displayState.theme, kName);
    SaveSettings(window);
    displayState.theme[0] = L'\0';
    LoadSettings(window);
    EXPECT_STREQ(kName, displayState.theme);
    DestroyWindow(window);
}

TEST_F(SettingsFile, UnwritableFileKeepsItsContents)
{
    const std::string content = "[window]\r\nleft=10\r\ntop=20\r\n[setting]\r\nsnap=0\r\n";
    ASSERT_TRUE(WriteText(iniPath, content));
    HWND window = OpenDisplayWindow();
    SetWindowPos(window, NULL, 300, 400, 0, 0, SWP_NOZORDER | SWP_NOSIZE | SWP_NOACTIVATE);
    displayState.snap = 1;
    // Wine running as root writes through the read-only attribute; a reader
    // that refuses to share writing makes the file unwritable everywhere.
    HANDLE reader = CreateFileW(iniPath.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, reader);
    DestroyWindow(window);
    CloseHandle(reader);
    std::vector<unsigned char> bytes = ReadBytes(iniPath);
    EXPECT_EQ(content, std::string(bytes.begin(), bytes.end()));
}

TEST(SettingsPathOf, ReplacesOrAddsTheExtension)
{
    wchar_t path[MAX_PATH];
    ASSERT_TRUE(SettingsPathOf(L"C:\\Quaver\\Plugins\\coverdeck.qpl", path));
    EXPECT_STREQ(L"C:\\Quaver\\Plugins\\coverdeck.ini", path);
    ASSERT_TRUE(SettingsPathOf(L"C:\\Quaver\\Plugins\\deck.v2\\cover", path));
    EXPECT_STREQ(L"C:\\Quaver\\Plugins\\deck.v2\\cover.ini", path);
}

TEST(SettingsPathOf, NeverNamesTheModuleFileItself)
{
    wchar_t path[MAX_PATH] = L"stale";
    EXPECT_FALSE(SettingsPathOf(L"C:\\Quaver\\Plugins\\coverdeck.INI", path));
    EXPECT_STREQ(L"", path);
}

TEST(SettingsPathOf, RefusesAPathThatDoesNotFit)
{
    // "<folder>\\c.q" becomes "<folder>\\c.ini", two characters longer.
    std::wstring longest = L"C:\\" + std::wstring(MAX_PATH - 3 - 3 - 4, L'd') + L"\\c.q";
    ASSERT_EQ(MAX_PATH - 3u, longest.size());
    wchar_t path[MAX_PATH];
    EXPECT_TRUE(SettingsPathOf(longest.c_str(), path));
    EXPECT_EQ(MAX_PATH - 1u, std::wstring(path).size());

    std::wstring tooLong = L"C:\\d" + longest.substr(3);
    path[0] = L'x';
    EXPECT_FALSE(SettingsPathOf(tooLong.c_str(), path));
    EXPECT_STREQ(L"", path);
}

// A real module whose path leaves no room for ".ini": nothing is read and
// nothing is written, in particular not the module file.
class LongModulePath : public ::testing::Test {
protected:
    // Copies the plug-in to "<folder>\coverdeck.q" with a path of `length`
    // characters and loads it.
    HMODULE LoadPluginCopy(size_t length)
    {
        size_t overhead = folder.path().size() + lstrlenW(L"\\") + lstrlenW(L"\\coverdeck.q");
        if (overhead >= length)
            return NULL;
        subfolder = folder / std::wstring(length - overhead, L's');
        modulePath = subfolder + L"\\coverdeck.q";
        if (!MakeFolder(subfolder) || !CopyFileW((BinDir() + L"\\coverdeck.qpl").c_str(), modulePath.c_str(), FALSE))
            return NULL;
        return LoadLibraryW(modulePath.c_str());
    }
    std::vector<std::wstring> FolderEntries()
    {
        std::vector<std::wstring> names;
        WIN32_FIND_DATAW entry;
        HANDLE find = FindFirstFileW((subfolder + L"\\*").c_str(), &entry);
        if (find == INVALID_HANDLE_VALUE)
            return names;
        do {
            if (lstrcmpW(entry.cFileName, L".") && lstrcmpW(entry.cFileName, L".."))
                names.push_back(entry.cFileName);
        } while (FindNextFileW(find, &entry));
        FindClose(find);
        return names;
    }
    void TearDown() override
    {
        displayState.module = GetModuleHandleW(NULL);
    }

    TempFolder folder;
    std::wstring subfolder, modulePath;
};

TEST_F(LongModulePath, SkipsLoadAndSaveWhenIniDoesNotFit)
{
    HMODULE module = LoadPluginCopy(MAX_PATH - 2);  // ".ini" would need MAX_PATH + 1 with its zero
    ASSERT_TRUE(module);
    std::vector<unsigned char> original = ReadBytes(modulePath);
    displayState.module = module;
    displayState.snap = 5;
    displayState.theme[0] = L'x';
    displayState.theme[1] = L'\0';
    HWND window = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 300, 200, 50, 40, NULL, NULL, NULL, NULL);

    LoadSettings(window);
    EXPECT_EQ(1, displayState.snap);
    EXPECT_STREQ(L"", displayState.theme);
    EXPECT_EQ(0, WindowRect(window).left);
    SaveSettings(window);

    EXPECT_EQ((std::vector<std::wstring>{L"coverdeck.q"}), FolderEntries());
    EXPECT_EQ(original, ReadBytes(modulePath));
    DestroyWindow(window);
    FreeLibrary(module);
}

}  // namespace
