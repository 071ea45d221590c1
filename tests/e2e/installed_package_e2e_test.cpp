// The release zip as a user installs it: unpacked (by the release_install
// fixture) into a folder with spaces and Japanese characters in its path, and
// loaded from there by the sample host.
#include <gtest/gtest.h>
#include <algorithm>
#include <map>
#include <stdlib.h>
#include <stdio.h>
#include <string>
#include <vector>
#include "support/host_session.h"
#include "support/tag_builder.h"
#include "support/test_pictures.h"
#include "support/test_support.h"

namespace {

constexpr DWORD COVER = 0xFFE010C0;  // a colour no bundled theme draws

struct Theme {
    RECT slot;                    // the cover rectangle of its theme.ini
    Pixels background, overlay;  // overlay: 0 x 0 when the theme has none
};

Theme ReadTheme(const std::wstring& folder)
{
    Theme theme;
    std::wstring ini = folder + L"\\theme.ini";
    auto value = [&](const wchar_t* key) { return static_cast<LONG>(GetPrivateProfileIntW(L"image", key, 0, ini.c_str())); };
    theme.slot = RECT{value(L"x"), value(L"y"), value(L"x") + value(L"width"), value(L"y") + value(L"height")};
    LoadPicture(folder + L"\\background.png", &theme.background);
    LoadPicture(folder + L"\\overlay.png", &theme.overlay);
    return theme;
}

// The cover's colour with the theme's overlay drawn over it at (x, y).
DWORD CoverUnderOverlay(const Theme& theme, int x, int y)
{
    if (x >= theme.overlay.width || y >= theme.overlay.height)
        return COVER & 0xFFFFFF;
    DWORD over = theme.overlay.At(x, y), alpha = over >> 24, rgb = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        DWORD top = (over >> shift) & 0xFF, below = (COVER >> shift) & 0xFF;
        rgb |= ((top * alpha + below * (255 - alpha) + 127) / 255) << shift;
    }
    return rgb;
}

bool Near(DWORD a, DWORD b)
{
    for (int shift = 0; shift <= 16; shift += 8) {
        int difference = static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF);
        if (difference < -12 || difference > 12)
            return false;
    }
    return true;
}

// One "menu-item DEPTH ID MARK TEXT" line; separators give false.
struct MenuItem {
    int id = 0;  // 0 for a submenu
    bool checked = false;
    std::string text;
    bool IsTheme() const { return id >= 50000 && id <= 50099; }
};

bool ParseMenuItem(const std::string& line, MenuItem* item)
{
    char id[16], mark[16];
    int consumed = 0;
    if (sscanf(line.c_str(), "menu-item %*d %15s %15s %n", id, mark, &consumed) != 2 || consumed == 0)
        return false;
    item->id = atoi(id);
    item->checked = std::string(mark) == "checked";
    item->text = line.substr(consumed);
    return true;
}

std::vector<MenuItem> MenuItems(const HostRun& run)
{
    std::vector<MenuItem> items;
    MenuItem item;
    for (const std::string& line : run.StartingWith("menu-item "))
        if (ParseMenuItem(line, &item))
            items.push_back(item);
    return items;
}

class InstalledPackage : public ::testing::Test {
protected:
    void SetUp() override
    {
        DeleteFileW(settings.c_str());
        std::wstring bundled = SourceDir() + L"\\themes";
        for (const std::wstring& name : FolderEntries(bundled)) {
            if (IsFile(bundled + L"\\" + name + L"\\theme.ini"))
                themes[Utf8Of(name)] = ReadTheme(dir + L"\\coverdeckTheme\\" + name);
        }
        ASSERT_FALSE(themes.empty());
        ASSERT_TRUE(WriteBytes(track, SmallMp3(PictureFrame(EncodeSolidPicture(64, 64, COVER, L"image/png")))));
    }

    HostRun Run(const std::vector<std::string>& steps)
    {
        return RunHostExpectingSuccess(dir + L"\\coverdeck.qpl", steps);
    }

    std::wstring dir = WindowsPathOf(INSTALLED_DIR);
    std::wstring settings = dir + L"\\coverdeck.ini";
    TempFolder scratch;
    std::wstring track = scratch / L"tagged.mp3";
    std::map<std::string, Theme> themes;  // the bundled ones, as installed
};

TEST_F(InstalledPackage, EveryBundledThemeIsListedPickedByKeyboardShownAndKept)
{
    HostRun listing = Run({"rightclick", "menu", "key escape", "quit"});
    std::vector<std::string> listed, bundled;
    for (const MenuItem& item : MenuItems(listing))
        if (item.IsTheme())
            listed.push_back(item.text);
    for (const auto& theme : themes)
        bundled.push_back(theme.first);
    std::vector<std::string> sortedListed = listed;
    std::sort(sortedListed.begin(), sortedListed.end());
    ASSERT_EQ(bundled, sortedListed) << listing.Transcript();

    // The users' README gives every label the menu shows with its meaning, in
    // a form every Notepad reads: UTF-8 with a byte-order mark, CRLF lines.
    std::vector<unsigned char> bytes = ReadBytes(dir + L"\\README.txt");
    std::string readme(bytes.begin(), bytes.end());
    EXPECT_EQ(0, readme.compare(0, 3, "\xEF\xBB\xBF"));
    for (size_t at = readme.find('\n'); at != std::string::npos; at = readme.find('\n', at + 1))
        ASSERT_TRUE(at > 0 && readme[at - 1] == '\r') << "a line without CR at byte " << at;
    for (const MenuItem& item : MenuItems(listing)) {
        if (!item.IsTheme()) {
            EXPECT_NE(std::string::npos, readme.find(item.text + " - ")) << item.text;
        }
    }

    // Down: the Theme submenu; right: into it, on "Default"; then past the
    // separator to the theme's place in the listing.
    std::vector<std::string> steps = {"play " + Utf8Of(track), "await path-query"};
    std::vector<std::wstring> shots;
    for (size_t i = 0; i < listed.size(); ++i) {
        shots.push_back(scratch / (L"theme" + std::to_wstring(i) + L".png"));
        std::string keys = "key down right";
        for (size_t down = 0; down <= i; ++down)
            keys += " down";
        steps.insert(steps.end(), {"rightclick", keys + " return", "rect", "capture " + Utf8Of(shots[i])});
    }
    steps.push_back("quit");
    HostRun picking = Run(steps);

    for (size_t i = 0; i < listed.size(); ++i) {
        const Theme& theme = themes[listed[i]];
        SCOPED_TRACE(listed[i]);
        Pixels shot;
        ASSERT_TRUE(LoadPicture(shots[i], &shot)) << picking.Transcript();
        EXPECT_EQ(theme.background.width, shot.width);
        EXPECT_EQ(theme.background.height, shot.height);
        int x = (theme.slot.left + theme.slot.right) / 2, y = (theme.slot.top + theme.slot.bottom) / 2;
        ASSERT_TRUE(x < shot.width && y < shot.height);
        EXPECT_TRUE(Near(CoverUnderOverlay(theme, x, y), shot.At(x, y) & 0xFFFFFF)) << std::hex << shot.At(x, y);
        // Beside the slot the theme's own frame shows, not the cover.
        EXPECT_FALSE(Near(COVER & 0xFFFFFF, shot.At(theme.slot.left - 3, y) & 0xFFFFFF)) << std::hex
                                                                                           << shot.At(theme.slot.left - 3, y);
    }

    // The settings went beside the installed plug-in; the next start opens
    // in the last theme picked.
    wchar_t kept[MAX_PATH];
    GetPrivateProfileStringW(L"setting", L"theme", L"<missing>", kept, MAX_PATH, settings.c_str());
    EXPECT_EQ(listed.back(), Utf8Of(kept));
    HostRun again = Run({"rightclick", "menu", "key escape", "rect", "quit"});
    std::vector<std::string> checked;
    for (const MenuItem& item : MenuItems(again))
        if (item.IsTheme() && item.checked)
            checked.push_back(item.text);
    EXPECT_EQ(std::vector<std::string>{listed.back()}, checked) << again.Transcript();
    RECT rect;
    ASSERT_TRUE(LastWindowRect(again, &rect)) << again.Transcript();
    EXPECT_EQ(themes[listed.back()].background.width, rect.right - rect.left);
    EXPECT_EQ(themes[listed.back()].background.height, rect.bottom - rect.top);
}

}  // namespace
