#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "state/display_state.h"
#include "support/test_support.h"
#include "window/settings.h"
#include "window/settings_path.h"
#include "state/owners.h"

namespace {

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
    void TearDown() override
    {
        ResetDisplayState();
    }

    TempFolder folder;
    std::wstring subfolder, modulePath;
};

TEST_F(LongModulePath, SkipsLoadAndSaveWhenIniDoesNotFit)
{
    UniqueModule module(LoadPluginCopy(MAX_PATH - 2));  // ".ini" would need MAX_PATH + 1 with its zero
    ASSERT_TRUE(module);
    std::vector<unsigned char> original = ReadBytes(modulePath);
    displayState.module = module.get();
    displayState.snap = 5;
    displayState.theme[0] = L'x';
    displayState.theme[1] = L'\0';
    UniqueWindow owned(CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 300, 200, 50, 40, NULL, NULL, NULL, NULL));
    HWND window = owned.get();

    LoadSettings(window);
    EXPECT_EQ(1, displayState.snap);
    EXPECT_STREQ(L"", displayState.theme);
    RECT rect = {};
    GetWindowRect(window, &rect);
    EXPECT_EQ(0, rect.left);
    SaveSettings(window);

    EXPECT_EQ((std::vector<std::wstring>{L"coverdeck.q"}), FolderEntries(subfolder));
    EXPECT_EQ(original, ReadBytes(modulePath));
}

}  // namespace
