#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "render/theme.h"
#include "state/display_state.h"
#include "support/picture_files.h"
#include "support/test_support.h"
#include "window/commands.h"
#include "window/context_menu.h"
#include "window/display_window.h"
#include "window/gdiplus_session.h"
#include "window/settings_path.h"

namespace {

struct MenuItem {
    UINT id;
    std::wstring text;
    bool operator==(const MenuItem& other) const { return id == other.id && text == other.text; }
};

std::wstring ItemText(HMENU menu, UINT position)
{
    wchar_t text[MAX_PATH] = L"";
    GetMenuStringW(menu, position, text, MAX_PATH, MF_BYPOSITION);
    return text;
}

std::vector<MenuItem> Items(HMENU menu)
{
    std::vector<MenuItem> items;
    int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i)
        items.push_back({GetMenuItemID(menu, i), ItemText(menu, i)});
    return items;
}

bool IsSeparator(HMENU menu, UINT position)
{
    MENUITEMINFOW info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE;
    return GetMenuItemInfoW(menu, position, TRUE, &info) && (info.fType & MFT_SEPARATOR);
}

bool IsChecked(HMENU menu, UINT id)
{
    MENUITEMINFOW info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_STATE;
    return GetMenuItemInfoW(menu, id, FALSE, &info) && (info.fState & MFS_CHECKED);
}

bool IsRadioChecked(HMENU menu, UINT id)
{
    MENUITEMINFOW info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_STATE | MIIM_FTYPE;
    return GetMenuItemInfoW(menu, id, FALSE, &info) && (info.fState & MFS_CHECKED) &&
           (info.fType & MFT_RADIOCHECK);
}

// Folder names in the order the file system lists them.
std::vector<std::wstring> EnumerationOrder(const std::wstring& folder)
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW entry;
    HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE)
        return names;
    do {
        names.push_back(entry.cFileName);
    } while (FindNextFileW(find, &entry));
    FindClose(find);
    return names;
}

class ContextMenu : public ::testing::Test {
protected:
    void SetUp() override
    {
        displayState.module = GetModuleHandleW(NULL);
        themes = root / L"themes";
        ASSERT_TRUE(MakeFolder(themes));
        lstrcpyW(displayState.themesRoot, themes.c_str());
        displayState.theme[0] = L'\0';
        displayState.position = 0;
        displayState.aspectratio = 0;
        displayState.snap = 0;
        displayState.attachedpicture = 0;
    }
    void TearDown() override
    {
        if (holder)
            DestroyMenu(holder);
    }

    void AddTheme(const std::wstring& name)
    {
        ASSERT_TRUE(MakeFolder(themes + L"\\" + name));
        ASSERT_TRUE(WriteText(themes + L"\\" + name + L"\\theme.ini", "[image]\r\n"));
    }
    HMENU Popup() { return GetSubMenu(holder, 0); }
    HMENU ThemeMenu() { return GetSubMenu(Popup(), 0); }
    // The theme items: everything after "Default" and its separator.
    std::vector<MenuItem> ThemeItems()
    {
        std::vector<MenuItem> items = Items(ThemeMenu());
        return std::vector<MenuItem>(items.begin() + (items.size() < 2 ? items.size() : 2), items.end());
    }
    void Build()
    {
        holder = BuildContextMenu();
        ASSERT_TRUE(holder);
    }

    TempFolder root;
    std::wstring themes;
    HMENU holder = NULL;
};

TEST_F(ContextMenu, LabelsAndLayoutAreThoseOfTheTemplate)
{
    Build();
    EXPECT_EQ(1, GetMenuItemCount(holder));
    EXPECT_EQ(L"dummy", ItemText(holder, 0));
    HMENU popup = Popup();
    ASSERT_EQ(6, GetMenuItemCount(popup));
    EXPECT_EQ(L"\u30c6\u30fc\u30de", ItemText(popup, 0));  // テーマ
    EXPECT_TRUE(IsSeparator(popup, 1));
    std::vector<MenuItem> popupItems = Items(popup);
    EXPECT_EQ(L"Z\u30aa\u30fc\u30c0\u30fc", ItemText(popup, 2));  // Zオーダー
    EXPECT_EQ((std::vector<MenuItem>{
                  {IDM_ASPECTRATIO, L"\u7e26\u6a2a\u6bd4\u3092\u7dad\u6301\u3059\u308b"},  // 縦横比を維持する
                  {IDM_SNAP, L"\u753b\u9762\u7aef\u306b\u30b9\u30ca\u30c3\u30d7\u3059\u308b"},  // 画面端にスナップする
                  // mp3ファイルのとき埋め込み画像を表示する
                  {IDM_ATTACHEDPICTURE, L"mp3\u30d5\u30a1\u30a4\u30eb\u306e\u3068\u304d\u57cb\u3081\u8fbc\u307f"
                                        L"\u753b\u50cf\u3092\u8868\u793a\u3059\u308b"},
              }),
              std::vector<MenuItem>(popupItems.begin() + 3, popupItems.end()));
    EXPECT_EQ((std::vector<MenuItem>{
                  {IDM_ZORDER_NORMAL, L"\u30ce\u30fc\u30de\u30eb"},  // ノーマル
                  {IDM_ZORDER_TOPMOST, L"\u6700\u524d\u9762"},       // 最前面
                  {IDM_ZORDER_BOTTOM, L"\u6700\u80cc\u9762"},        // 最背面
              }),
              Items(GetSubMenu(popup, 2)));
    HMENU themeMenu = ThemeMenu();
    ASSERT_EQ(2, GetMenuItemCount(themeMenu));  // the placeholder is gone
    EXPECT_EQ((MenuItem{IDM_THEME_DEFAULT, L"\u30c7\u30d5\u30a9\u30eb\u30c8"}), Items(themeMenu)[0]);  // デフォルト
    EXPECT_TRUE(IsSeparator(themeMenu, 1));
}

TEST_F(ContextMenu, ListsFoldersHoldingThemeIniInEnumerationOrder)
{
    AddTheme(L"Ocean");
    ASSERT_TRUE(MakeFolder(themes + L"\\Bare"));
    AddTheme(L"amber");
    ASSERT_TRUE(WriteText(themes + L"\\notes.txt", "not a theme"));
    Build();

    std::vector<std::wstring> listed;
    for (const std::wstring& name : EnumerationOrder(themes))
        if (name == L"Ocean" || name == L"amber")
            listed.push_back(name);
    ASSERT_EQ(2u, listed.size());
    EXPECT_EQ((std::vector<MenuItem>{{IDM_THEME_FIRST, listed[0]}, {IDM_THEME_FIRST + 1, listed[1]}}), ThemeItems());
}

TEST_F(ContextMenu, ListsAtMostOneHundredThemes)
{
    for (int i = 0; i < 105; ++i)
        AddTheme(L"t" + std::to_wstring(i));
    Build();
    std::vector<MenuItem> items = ThemeItems();
    ASSERT_EQ(100u, items.size());
    for (UINT i = 0; i < items.size(); ++i)
        EXPECT_EQ(IDM_THEME_FIRST + i, items[i].id);
}

TEST_F(ContextMenu, ThemeIniInTheThemesFolderOrBesideItListsDotEntries)
{
    ASSERT_TRUE(WriteText(themes + L"\\theme.ini", "[image]\r\n"));
    Build();
    EXPECT_EQ((std::vector<MenuItem>{{IDM_THEME_FIRST, L"."}}), ThemeItems());
    DestroyMenu(holder);

    ASSERT_TRUE(WriteText(root / L"theme.ini", "[image]\r\n"));
    Build();
    std::vector<MenuItem> items = ThemeItems();
    ASSERT_EQ(2u, items.size());
    EXPECT_TRUE((items[0].text == L"." && items[1].text == L"..") || (items[0].text == L".." && items[1].text == L"."));
}

TEST_F(ContextMenu, MissingThemesFolderLeavesDefaultAndSeparator)
{
    lstrcpyW(displayState.themesRoot, (root / L"absent").c_str());
    Build();
    EXPECT_EQ(2, GetMenuItemCount(ThemeMenu()));
    EXPECT_TRUE(ThemeItems().empty());
}

TEST_F(ContextMenu, ThemeWhoseIniPathDoesNotFitIsSkipped)
{
    // themesRoot + "\<name>\theme.ini" is one character too long; the folder
    // is made through the long-path prefix.
    size_t nameLength = MAX_PATH - themes.size() - lstrlenW(L"\\\\theme.ini");
    std::wstring longName(nameLength, L'n');
    std::wstring longFolder = L"\\\\?\\" + themes + L"\\" + longName;
    ASSERT_TRUE(CreateDirectoryW(longFolder.c_str(), NULL));
    ASSERT_TRUE(WriteText(longFolder + L"\\theme.ini", "[image]\r\n"));
    std::wstring fitting(nameLength - 1, L'f');
    AddTheme(fitting);
    Build();
    EXPECT_EQ((std::vector<MenuItem>{{IDM_THEME_FIRST, fitting}}), ThemeItems());
    RemoveTree(L"\\\\?\\" + themes);
}

TEST_F(ContextMenu, RadioMarkOnlyForPositionsZeroToTwo)
{
    displayState.position = 1;
    Build();
    EXPECT_TRUE(IsRadioChecked(Popup(), IDM_ZORDER_TOPMOST));
    EXPECT_FALSE(IsChecked(Popup(), IDM_ZORDER_NORMAL));
    EXPECT_FALSE(IsChecked(Popup(), IDM_ZORDER_BOTTOM));
    DestroyMenu(holder);

    displayState.position = 7;
    Build();
    for (UINT id : {IDM_ZORDER_NORMAL, IDM_ZORDER_TOPMOST, IDM_ZORDER_BOTTOM})
        EXPECT_FALSE(IsChecked(Popup(), id)) << id;
}

TEST_F(ContextMenu, OptionsAreCheckedWhenNonZero)
{
    displayState.aspectratio = 1;
    displayState.snap = 0;
    displayState.attachedpicture = -3;
    Build();
    EXPECT_TRUE(IsChecked(Popup(), IDM_ASPECTRATIO));
    EXPECT_FALSE(IsChecked(Popup(), IDM_SNAP));
    EXPECT_TRUE(IsChecked(Popup(), IDM_ATTACHEDPICTURE));
}

TEST_F(ContextMenu, ThemeMarkFollowsTheExactName)
{
    AddTheme(L"Ocean");
    AddTheme(L"blue");
    Build();
    EXPECT_TRUE(IsChecked(ThemeMenu(), IDM_THEME_DEFAULT));
    EXPECT_FALSE(IsChecked(ThemeMenu(), IDM_THEME_FIRST));
    EXPECT_FALSE(IsChecked(ThemeMenu(), IDM_THEME_FIRST + 1));
    DestroyMenu(holder);

    for (const wchar_t* theme : {L"Ocean", L"Blue"}) {
        lstrcpyW(displayState.theme, theme);
        Build();
        EXPECT_FALSE(IsChecked(ThemeMenu(), IDM_THEME_DEFAULT)) << theme;
        for (const MenuItem& item : ThemeItems())
            EXPECT_EQ(item.text == theme, IsChecked(ThemeMenu(), item.id)) << theme << " " << item.text;
        DestroyMenu(holder);
    }
    holder = NULL;
}

// Commands on a live display window. Whether a command redraws is read off
// the screen: the window is first painted a colour no theme uses, and a
// redraw replaces it with the built-in theme's grey.
class MenuCommands : public ContextMenu {
protected:
    // One window for the suite: Wine under a bare X server takes two seconds
    // to hide a window.
    static void SetUpTestSuite()
    {
        gdiplus = new GdiplusSession;
        displayState.module = GetModuleHandleW(NULL);
        WNDCLASSW display = {};
        display.lpfnWndProc = DisplayWindowProc;
        display.hInstance = GetModuleHandleW(NULL);
        display.lpszClassName = DISPLAY_WINDOW_CLASS;
        RegisterClassW(&display);
        window = CreateWindowExW(WS_EX_LAYERED | WS_EX_TOOLWINDOW, DISPLAY_WINDOW_CLASS, DISPLAY_WINDOW_CLASS,
                                 WS_POPUP, 0, 0, 200, 200, NULL, NULL, GetModuleHandleW(NULL), NULL);
        SetWindowPos(window, NULL, 400, 300, 0, 0, SWP_NOZORDER | SWP_NOSIZE | SWP_NOACTIVATE);
        ShowWindow(window, SW_SHOWNOACTIVATE);
    }
    static void TearDownTestSuite()
    {
        DestroyWindow(window);
        // The display window saves its settings beside the test program.
        wchar_t path[MAX_PATH];
        if (SettingsPath(path))
            DeleteFileW(path);
        UnregisterClassW(DISPLAY_WINDOW_CLASS, GetModuleHandleW(NULL));
        delete gdiplus;
    }
    void SetUp() override
    {
        ContextMenu::SetUp();
        ASSERT_TRUE(window);
        // Each test starts from the built-in theme at the window's own size.
        LoadTheme(window);
    }

    void PaintMarkerColour()
    {
        RECT bounds;
        GetWindowRect(window, &bounds);
        SIZE size = {bounds.right - bounds.left, bounds.bottom - bounds.top};
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = size.cx;
        info.bmiHeader.biHeight = -size.cy;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* bits = NULL;
        HDC screen = GetDC(NULL);
        HDC memory = CreateCompatibleDC(screen);
        HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, NULL, 0);
        ASSERT_TRUE(bitmap);
        DWORD* pixel = static_cast<DWORD*>(bits);
        for (LONG i = 0; i < size.cx * size.cy; ++i)
            pixel[i] = 0xFFFF00FF;
        HGDIOBJ previous = SelectObject(memory, bitmap);
        POINT origin = {bounds.left, bounds.top}, source = {0, 0};
        BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        UpdateLayeredWindow(window, screen, &origin, &size, memory, &source, 0, &blend, ULW_ALPHA);
        SelectObject(memory, previous);
        DeleteObject(bitmap);
        DeleteDC(memory);
        ReleaseDC(NULL, screen);
        ASSERT_EQ(RGB(255, 0, 255), ScreenColour()) << "the screen cannot be read back";
    }
    // The colour the screen shows in the middle of the built-in cover slot.
    COLORREF ScreenColour()
    {
        GdiFlush();
        PumpMessagesFor(50);
        RECT bounds;
        GetWindowRect(window, &bounds);
        HDC screen = GetDC(NULL);
        COLORREF colour = GetPixel(screen, bounds.left + 50, bounds.top + 50);
        ReleaseDC(NULL, screen);
        return colour;
    }
    bool Redrawn() { return ScreenColour() == RGB(224, 224, 224); }

    static GdiplusSession* gdiplus;
    static HWND window;
};

GdiplusSession* MenuCommands::gdiplus;
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

TEST_F(MenuCommands, SnapAndEmbeddedPictureToggleWithoutRedraw)
{
    displayState.snap = 7;
    displayState.attachedpicture = 0;
    PaintMarkerColour();
    OnCommand(window, IDM_SNAP);
    OnCommand(window, IDM_ATTACHEDPICTURE);
    EXPECT_EQ(0, displayState.snap);
    EXPECT_EQ(1, displayState.attachedpicture);
    OnCommand(window, IDM_SNAP);
    EXPECT_EQ(1, displayState.snap);
    EXPECT_FALSE(Redrawn());
}

TEST_F(MenuCommands, DefaultThemeCommandLoadsBuiltInThemeAndRedraws)
{
    AddTheme(L"Wide");
    ASSERT_TRUE(WriteBytes(themes + L"\\Wide\\background.png", SolidColourPng(0xFF102030, 150, 100)));
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
    for (int id : {IDM_THEME_FIRST, IDM_THEME_FIRST + 1, 0, 40406, 40499})
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
