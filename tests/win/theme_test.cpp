#include <gtest/gtest.h>
#include <string>
#include "render/frame.h"
#include "render/text_layer.h"
#include "render/theme_text.h"
#include "render/theme.h"
#include "resources/resource_ids.h"
#include "state/gdiplus_session.h"
#include "support/layered_window.h"
#include "support/leak_counters.h"
#include "support/test_pictures.h"
#include "support/test_support.h"

namespace {

ULONGLONG StreamSize(const ImageStreamHolder& holder)
{
    STATSTG stat = {};
    if (!holder.GetStream() || holder.GetStream()->Stat(&stat, STATFLAG_NONAME) != S_OK)
        return ~0ull;
    return stat.cbSize.QuadPart;
}

DWORD ResourceSize(int id)
{
    HMODULE module = GetModuleHandleW(NULL);
    return SizeofResource(module, FindResourceW(module, MAKEINTRESOURCEW(id), L"PNG"));
}

// Theme folders in a temporary themes root, loaded into a layered popup that
// starts at (200, 150) with a size no theme has.
class Theme : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetDisplayState();
        lstrcpynW(displayState.themesRoot, themes.path().c_str(), MAX_PATH);
        ASSERT_TRUE(window != NULL);
    }
    void TearDown() override { ReleaseThemePictures(); }

    // A theme folder; a 0 x 0 picture size means the file is left out.
    std::wstring MakeTheme(const std::wstring& name, const char* ini, SIZE background, SIZE overlay = {0, 0})
    {
        std::wstring folder = themes / name;
        EXPECT_TRUE(MakeFolder(folder));
        if (ini) {
            EXPECT_TRUE(WriteText(folder + L"\\theme.ini", ini));
        }
        if (background.cx) {
            EXPECT_TRUE(WriteBytes(folder + L"\\background.png",
                                   EncodeSolidPicture(background.cx, background.cy, 0xFF808080)));
        }
        if (overlay.cx) {
            EXPECT_TRUE(WriteBytes(folder + L"\\overlay.png",
                                   EncodeSolidPicture(overlay.cx, overlay.cy, 0x40FFFFFF)));
        }
        return folder;
    }
    void Choose(const std::wstring& name) { lstrcpynW(displayState.theme, name.c_str(), MAX_PATH); }
    void ExpectRect(int x, int y, int width, int height)
    {
        const ImageRect& r = displayState.imageRect;
        EXPECT_EQ(x, r.x);
        EXPECT_EQ(y, r.y);
        EXPECT_EQ(width, r.width);
        EXPECT_EQ(height, r.height);
    }
    void ExpectWindow(int width, int height)
    {
        RECT r = popup.Rect();
        EXPECT_EQ(200, r.left) << "position kept";
        EXPECT_EQ(150, r.top) << "position kept";
        EXPECT_EQ(width, r.right - r.left);
        EXPECT_EQ(height, r.bottom - r.top);
    }
    void ExpectBuiltIn()
    {
        EXPECT_EQ(L'\0', displayState.theme[0]);
        ExpectRect(2, 2, 100, 100);
        ExpectWindow(112, 112);
        EXPECT_EQ(ResourceSize(IDB_BACKGROUND), StreamSize(displayState.background));
        EXPECT_EQ(ResourceSize(IDB_OVERLAY), StreamSize(displayState.overlay));
    }

    GdiplusSession gdiplus;
    TempFolder themes;
    LayeredWindow popup{DefWindowProcW, {200, 150, 250, 200}};
    HWND window = popup.handle();
};

constexpr char RECT_INI[] = "[image]\r\nx=10\r\ny=12\r\nwidth=80\r\nheight=60\r\n";

TEST_F(Theme, EmptyNameLoadsTheBuiltInPicturesAndSlot)
{
    LoadTheme(window);
    ExpectBuiltIn();
}

TEST_F(Theme, FolderGivesItsSlotAndBackgroundSize)
{
    std::wstring folder = MakeTheme(L"Blue", RECT_INI, {150, 100}, {150, 100});
    Choose(L"Blue");
    LoadTheme(window);
    EXPECT_STREQ(L"Blue", displayState.theme);
    ExpectRect(10, 12, 80, 60);
    ExpectWindow(150, 100);
    EXPECT_EQ(ReadBytes(folder + L"\\background.png").size(), StreamSize(displayState.background));
    EXPECT_EQ(ReadBytes(folder + L"\\overlay.png").size(), StreamSize(displayState.overlay));
}

TEST_F(Theme, MissingBackgroundFallsBackEvenWithIniAndOverlay)
{
    MakeTheme(L"Gone", RECT_INI, {0, 0}, {150, 100});
    Choose(L"Gone");
    LoadTheme(window);
    ExpectBuiltIn();
}

TEST_F(Theme, MissingOverlayOrIniKeepsTheTheme)
{
    MakeTheme(L"Bare", nullptr, {300, 40});
    MakeTheme(L"Sized", "[image]\r\nwidth=500\r\nheight=90\r\n", {300, 40});
    Choose(L"Bare");
    LoadTheme(window);
    EXPECT_STREQ(L"Bare", displayState.theme);
    ExpectRect(0, 0, 0, 0);
    ExpectWindow(300, 40);
    EXPECT_TRUE(displayState.overlay.GetStream() == NULL);
    Choose(L"Sized");
    LoadTheme(window);
    ExpectRect(0, 0, 500, 90);  // reaches past the window, used as it is
    ExpectWindow(300, 40);
}

// A TIFF and a picture above the pixel limit are refused before GDI+ sees them.
TEST_F(Theme, UndecodableOrRefusedBackgroundFallsBackLikeAMissingOne)
{
    const std::vector<unsigned char> backgrounds[] = {
        {},
        {0x89, 'P', 'N', 'G', 0x13, 0x37, 0x00, 0xFF, 0x42},
        EncodeSolidPicture(150, 100, 0xFF808080, L"image/tiff"),
        EncodeSolidPicture(4097, 4096, 0xFF808080),
    };
    ASSERT_FALSE(backgrounds[2].empty() || backgrounds[3].empty()) << "an encoder is missing";
    for (const auto& bytes : backgrounds) {
        std::wstring folder = MakeTheme(L"Broken", RECT_INI, {0, 0}, {150, 100});
        ASSERT_TRUE(WriteBytes(folder + L"\\background.png", bytes));
        Choose(L"Broken");
        LoadTheme(window);
        ExpectBuiltIn();
        PresentFrame(window);
        const size_t gdiObjects = CountGdiObjects();
        PresentFrame(window);
        EXPECT_EQ(gdiObjects, CountGdiObjects());
    }
}

// The background's path is the longest of the three; a name one character
// longer than what fits must fall back, not write past the path buffer.
TEST_F(Theme, NameWhosePathDoesNotFitFallsBack)
{
    const size_t suffix = lstrlenW(L"\\\\background.png");
    const size_t fits = MAX_PATH - 1 - themes.path().size() - suffix;
    ASSERT_LT(fits + 1, size_t(MAX_PATH));
    const std::wstring longest(fits, L'a');
    MakeTheme(longest, RECT_INI, {150, 100});
    Choose(longest);
    LoadTheme(window);
    EXPECT_EQ(longest, displayState.theme) << "a path of 259 characters fits";
    ExpectWindow(150, 100);

    Choose(longest + L"a");
    LoadTheme(window);
    ExpectBuiltIn();
    Choose(std::wstring(MAX_PATH - 1, L'b'));
    LoadTheme(window);
    ExpectBuiltIn();

    // Nor does an empty themes root stand for the current drive's root folder.
    MakeTheme(L"Rooted", RECT_INI, {150, 100});
    wchar_t previous[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, previous);
    SetCurrentDirectoryW(themes.path().c_str());
    displayState.themesRoot[0] = L'\0';
    Choose(themes.path().substr(3) + L"\\Rooted");  // "\\<themes>\\Rooted" from the drive's root
    LoadTheme(window);
    SetCurrentDirectoryW(previous);
    ExpectBuiltIn();
}

TEST_F(Theme, ReloadingKeepsOneCopyOfEachPicture)
{
    MakeTheme(L"Blue", RECT_INI, {150, 100}, {150, 100});
    Choose(L"Blue");
    LoadTheme(window);
    const LeakCounts first = TakeLeakCounts();
    for (int i = 0; i < 50; ++i)
        LoadTheme(window);
    const LeakCounts later = TakeLeakCounts();
    EXPECT_EQ(first.Held(), later.Held());
}

}  // namespace

namespace {

// What a theme author writes in a text section and what the plug-in makes of
// it; the face a line is drawn in when the named one is missing or lacks glyphs.
TEST(ThemeText, SectionsColoursFormatsAndFaces)
{
    TempFolder folder;
    const std::wstring ini = folder / L"theme.ini";
    ASSERT_TRUE(WriteText(ini, "[text]\r\nwidth=10\r\nheight=10\r\ncolor=#80FF0000\r\nshadow=nope\r\nalign=Right\r\n"
                               "[text2]\r\nwidth=10\r\nheight=0\r\n"
                               "[text3]\r\nwidth=10\r\nheight=10\r\nsize=0\r\n"));
    const std::vector<TextLineStyle> lines = ReadThemeTextLines(ini.c_str());
    ASSERT_EQ(1u, lines.size()) << "a line without height or size draws nothing";
    EXPECT_EQ(L"%title%", lines[0].format);
    EXPECT_EQ(DEFAULT_TEXT_SIZE, lines[0].size);
    EXPECT_EQ(0x80FF0000u, lines[0].color);
    EXPECT_FALSE(lines[0].shadow);
    EXPECT_EQ(TextAlign::RIGHT, lines[0].align);
    uint32_t colour = 0;
    EXPECT_TRUE(ParseThemeColor(L"0a0B0c", &colour));
    EXPECT_EQ(0xFF0A0B0Cu, colour);
    EXPECT_FALSE(ParseThemeColor(L"12345", &colour));

    const NowPlaying track = {L"Song", L"Band", L""};
    EXPECT_EQ(L"Band \u2013 Song (%year%) ", ExpandTextFormat(L"%artist% \u2013 %title% (%year%) %album%", track));

    // Under Wine the project installs the IPA fonts for the Japanese glyphs
    // that DejaVu Sans lacks.
    const std::wstring japanese = L"\u591C\u306B\u99C6\u3051\u308B";
    EXPECT_EQ(0u, TextFaceFor(L"", japanese).find(L"IPA"));
    EXPECT_EQ(0u, TextFaceFor(L"DejaVu Sans", japanese).find(L"IPA"));
    EXPECT_EQ(L"DejaVu Sans", TextFaceFor(L"DejaVu Sans", L"Latin"));
    EXPECT_EQ(TextFaceFor(L"", L"Latin"), TextFaceFor(L"No Such Face", L"Latin"));
    EXPECT_FALSE(IsTextFaceInstalled(L"No Such Face"));
}

// Drawing the lines anew for track after track leaves no GDI object, handle
// or heap block behind.
TEST(ThemeText, NewTextForEveryTrackLeavesNothingBehind)
{
    TempFolder folder;
    const std::wstring ini = folder / L"theme.ini";
    ASSERT_TRUE(WriteText(ini, "[text]\r\nwidth=200\r\nheight=20\r\nbold=1\r\nshadow=000000\r\n"
                               "[text2]\r\ny=20\r\nwidth=60\r\nheight=20\r\nformat=%artist%\r\nalign=center\r\n"));
    LoadTextLayer(ini.c_str());
    std::vector<uint32_t> pixels(200 * 40);
    const FramePixels frame = {pixels.data(), 200, 40, 200};
    const auto draw = [&](int track) {
        displayState.nowPlaying = {L"Title " + std::to_wstring(track) + L" of a long album side", L"\u661F\u91CE", L""};
        BlendTextLayer(frame);
    };
    draw(100);
    const LeakCounts first = TakeLeakCounts();
    for (int track = 101; track < 200; ++track)
        draw(track);
    const LeakCounts later = TakeLeakCounts();
    EXPECT_EQ(first.Held(), later.Held());
    LoadTextLayer(nullptr);
    displayState.nowPlaying = NowPlaying();
}

}  // namespace
