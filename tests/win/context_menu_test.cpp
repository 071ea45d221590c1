#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "state/display_state.h"
#include "support/test_support.h"
#include "window/context_menu.h"

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

// An item's type and state; all zero when there is no such item.
MENUITEMINFOW ItemInfo(HMENU menu, UINT item, BOOL byPosition)
{
    MENUITEMINFOW info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_STATE | MIIM_FTYPE;
    if (!GetMenuItemInfoW(menu, item, byPosition, &info))
        info.fType = info.fState = 0;
    return info;
}

bool IsSeparator(HMENU menu, UINT position)
{
    return ItemInfo(menu, position, TRUE).fType & MFT_SEPARATOR;
}

bool IsChecked(HMENU menu, UINT id)
{
    return ItemInfo(menu, id, FALSE).fState & MFS_CHECKED;
}

bool IsRadioChecked(HMENU menu, UINT id)
{
    const MENUITEMINFOW info = ItemInfo(menu, id, FALSE);
    return (info.fState & MFS_CHECKED) && (info.fType & MFT_RADIOCHECK);
}

class ContextMenu : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetDisplayState();
        themes = root / L"themes";
        ASSERT_TRUE(MakeFolder(themes));
        lstrcpyW(displayState.themesRoot, themes.c_str());
    }
    void AddTheme(const std::wstring& name)
    {
        ASSERT_TRUE(MakeFolder(themes + L"\\" + name));
        ASSERT_TRUE(WriteText(themes + L"\\" + name + L"\\theme.ini", "[image]\r\n"));
    }
    HMENU Popup() { return GetSubMenu(holder.get(), 0); }
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
    UniqueMenu holder;
};

TEST_F(ContextMenu, LabelsAndLayoutAreThoseOfTheTemplate)
{
    Build();
    EXPECT_EQ(1, GetMenuItemCount(holder.get()));
    EXPECT_EQ(L"dummy", ItemText(holder.get(), 0));
    HMENU popup = Popup();
    ASSERT_EQ(9, GetMenuItemCount(popup));
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
                  // カバーの切り替えをフェードする
                  {IDM_FADE, L"\u30ab\u30d0\u30fc\u306e\u5207\u308a\u66ff\u3048\u3092\u30d5\u30a7\u30fc\u30c9\u3059\u308b"},
                  {IDM_AUTOHIDE, L"\u505c\u6b62\u4e2d\u306f\u96a0\u3059"},  // 停止中は隠す
              }),
              std::vector<MenuItem>(popupItems.begin() + 3, popupItems.end() - 1));
    EXPECT_EQ(L"\u4e0d\u900f\u660e\u5ea6", ItemText(popup, 8));  // 不透明度
    EXPECT_EQ((std::vector<MenuItem>{{IDM_OPACITY_100, L"100%"}, {IDM_OPACITY_90, L"90%"}, {IDM_OPACITY_75, L"75%"},
                                     {IDM_OPACITY_50, L"50%"}}),
              Items(GetSubMenu(popup, 8)));
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
    for (const std::wstring& name : FolderEntries(themes))
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

    ASSERT_TRUE(WriteText(root / L"theme.ini", "[image]\r\n"));
    Build();
    std::vector<MenuItem> items = ThemeItems();
    ASSERT_EQ(2u, items.size());
    EXPECT_TRUE((items[0].text == L"." && items[1].text == L"..") || (items[0].text == L".." && items[1].text == L"."));
}

TEST_F(ContextMenu, MissingOrUnusableThemesFolderLeavesDefaultAndSeparator)
{
    lstrcpyW(displayState.themesRoot, (root / L"absent").c_str());
    Build();
    EXPECT_EQ(2, GetMenuItemCount(ThemeMenu()));
    EXPECT_TRUE(ThemeItems().empty());

    // An empty root (the module's path did not fit) must not stand for the
    // current drive's root folder, where a theme is waiting here.
    TempFolder drive;
    wchar_t driveRoot[] = L"?:\\";
    driveRoot[0] = drive.path()[0];
    std::wstring decoy = std::wstring(driveRoot) + L"coverdeck_decoy_theme";
    ASSERT_TRUE(MakeFolder(decoy));
    ASSERT_TRUE(WriteText(decoy + L"\\theme.ini", "[image]\r\n"));
    wchar_t previous[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, previous);
    SetCurrentDirectoryW(drive.path().c_str());
    displayState.themesRoot[0] = L'\0';
    Build();
    EXPECT_EQ(2, GetMenuItemCount(ThemeMenu()));
    SetCurrentDirectoryW(previous);
    RemoveTree(decoy);
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

    displayState.position = 7;
    Build();
    for (UINT id : {IDM_ZORDER_NORMAL, IDM_ZORDER_TOPMOST, IDM_ZORDER_BOTTOM})
        EXPECT_FALSE(IsChecked(Popup(), id)) << id;
}

TEST_F(ContextMenu, OptionsAreCheckedWhenNonZeroAndTheOpacityItemOfItsValue)
{
    displayState.aspectratio = 1;
    displayState.snap = 0;
    displayState.attachedpicture = -3;
    displayState.fade = 0;
    displayState.autohide = 2;
    displayState.opacity = 75;
    Build();
    EXPECT_TRUE(IsChecked(Popup(), IDM_ASPECTRATIO));
    EXPECT_FALSE(IsChecked(Popup(), IDM_SNAP));
    EXPECT_TRUE(IsChecked(Popup(), IDM_ATTACHEDPICTURE));
    EXPECT_FALSE(IsChecked(Popup(), IDM_FADE));
    EXPECT_TRUE(IsChecked(Popup(), IDM_AUTOHIDE));
    for (UINT id : {IDM_OPACITY_100, IDM_OPACITY_90, IDM_OPACITY_75, IDM_OPACITY_50})
        EXPECT_EQ(id == IDM_OPACITY_75, IsChecked(Popup(), id)) << id;

    displayState.opacity = 60;  // no item of its own: none checked
    Build();
    for (UINT id : {IDM_OPACITY_100, IDM_OPACITY_90, IDM_OPACITY_75, IDM_OPACITY_50})
        EXPECT_FALSE(IsChecked(Popup(), id)) << id;
}

TEST_F(ContextMenu, ThemeMarkFollowsTheExactName)
{
    AddTheme(L"Ocean");
    AddTheme(L"blue");
    Build();
    EXPECT_TRUE(IsChecked(ThemeMenu(), IDM_THEME_DEFAULT));
    EXPECT_FALSE(IsChecked(ThemeMenu(), IDM_THEME_FIRST));
    EXPECT_FALSE(IsChecked(ThemeMenu(), IDM_THEME_FIRST + 1));

    for (const wchar_t* theme : {L"Ocean", L"Blue"}) {
        lstrcpyW(displayState.theme, theme);
        Build();
        EXPECT_FALSE(IsChecked(ThemeMenu(), IDM_THEME_DEFAULT)) << theme;
        for (const MenuItem& item : ThemeItems())
            EXPECT_EQ(item.text == theme, IsChecked(ThemeMenu(), item.id)) << theme << " " << item.text;
    }
}

}  // namespace
