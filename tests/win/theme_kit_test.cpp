// coverdeck-theme run as a theme author runs it, on crafted themes in real folders.
#include <gtest/gtest.h>
#include <functional>
#include <string>
#include <vector>
#include "state/gdiplus_session.h"
#include "support/host_session.h"
#include "support/test_pictures.h"
#include "support/test_support.h"

namespace {

typedef std::vector<unsigned char> Bytes;

constexpr char GOOD_INI[] = "[image]\r\nx=4\r\ny=4\r\nwidth=40\r\nheight=40\r\n";
constexpr int SIDE = 48;
// The plain theme with one line of text below its slot, to add a key to.
#define TEXT_LINE "[image]\r\nx=4\r\ny=4\r\nwidth=40\r\nheight=36\r\n[text]\r\nx=4\r\ny=40\r\nwidth=40\r\nheight=8\r\n"

// A frame with a translucent red edge around an opaque grey square.
Bytes FramedPng(int width, int height)
{
    return EncodePngFrom(width, height, [](int x, int y) -> Gdiplus::ARGB {
        return (x < 2 || y < 2) ? 0x80C80000 : 0xFF808080;
    });
}

Bytes Utf16(const std::string& text, bool bigEndian, bool byteOrderMark)
{
    Bytes bytes;
    if (byteOrderMark)
        bytes = bigEndian ? Bytes{0xFE, 0xFF} : Bytes{0xFF, 0xFE};
    for (char c : text) {
        bytes.push_back(bigEndian ? 0 : static_cast<unsigned char>(c));
        bytes.push_back(bigEndian ? static_cast<unsigned char>(c) : 0);
    }
    return bytes;
}

Bytes NoiseBytes(size_t count)
{
    Bytes bytes(count);
    unsigned seed = 2024;
    for (unsigned char& b : bytes) {
        seed = seed * 1664525u + 1013904223u;
        b = static_cast<unsigned char>(seed >> 24);
    }
    return bytes;
}

// Only a header: the kit must refuse it by its stated size, before decoding.
Bytes HugePngHeader()
{
    Bytes png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13, 'I', 'H', 'D', 'R',
                 0, 0, 0x4E, 0x20, 0, 0, 0x4E, 0x20, 8, 6, 0, 0, 0, 0, 0, 0, 0};
    Bytes rest = NoiseBytes(4096);
    png.insert(png.end(), rest.begin(), rest.end());
    return png;
}

struct Theme {
    std::string name = "Plain";
    Bytes ini{GOOD_INI, GOOD_INI + sizeof GOOD_INI - 1};
    Bytes background = FramedPng(SIDE, SIDE);
    Bytes overlay;
    bool hasIni = true, hasBackground = true;
    std::string backgroundName = "background.png";
};

// Long paths are written in their \\?\ form: one theme's name alone is 200 characters.
void Write(const std::wstring& root, const Theme& theme)
{
    const std::wstring folder = L"\\\\?\\" + root + L"\\" + std::wstring(theme.name.begin(), theme.name.end());
    MakeFolder(folder);
    if (theme.hasIni)
        WriteBytes(folder + L"\\theme.ini", theme.ini);
    if (theme.hasBackground)
        WriteBytes(folder + L"\\" + std::wstring(theme.backgroundName.begin(), theme.backgroundName.end()),
                   theme.background);
    if (!theme.overlay.empty())
        WriteBytes(folder + L"\\overlay.png", theme.overlay);
}

Bytes Text(const std::string& text)
{
    return Bytes(text.begin(), text.end());
}

struct Rule {
    std::string finding;  // the start of the line check prints
    std::function<void(Theme&)> spoil;
};

// One crafted theme per rule; each differs from the plain theme in one thing.
std::vector<Rule> Rules()
{
    const auto ini = [](const char* text) { return [text](Theme& t) { t.ini = Text(text); }; };
    const auto background = [](std::function<Bytes()> make) { return [make](Theme& t) { t.background = make(); }; };
    const auto overlay = [](std::function<Bytes()> make) { return [make](Theme& t) { t.overlay = make(); }; };
    return {
        {"error: theme.ini: missing.", [](Theme& t) { t.hasIni = false; }},
        {"error: theme.ini: cannot be read", [](Theme& t) { t.hasIni = false; t.name = "IniFolder"; }},
        {"error: theme.ini: no [image] section", ini("[picture]\r\nx=4\r\ny=4\r\nwidth=40\r\nheight=40\r\n")},
        {"error: theme.ini: no \"width\" in [image]", ini("[image]\r\nx=4\r\ny=4\r\nheight=40\r\n")},
        {"warning: theme.ini: no \"x\" in [image]", ini("[image]\r\ny=4\r\nwidth=40\r\nheight=40\r\n")},
        {"error: theme.ini: x = \"ten\" is not a number", ini("[image]\r\nx=ten\r\ny=4\r\nwidth=40\r\nheight=40\r\n")},
        {"warning: theme.ini: y = \"4px\" has text after", ini("[image]\r\nx=4\r\ny=4px\r\nwidth=40\r\nheight=40\r\n")},
        {"warning: theme.ini: width = \"0x28\" is hexadecimal", ini("[image]\r\nx=4\r\ny=4\r\nwidth=0x28\r\nheight=40\r\n")},
        {"error: theme.ini: height = \"9999999999\" is beyond", ini("[image]\r\nx=4\r\ny=4\r\nwidth=40\r\nheight=9999999999\r\n")},
        {"error: theme.ini: width is 0.", ini("[image]\r\nx=4\r\ny=4\r\nwidth=0\r\nheight=40\r\n")},
        {"error: theme.ini: height is negative (-40)", ini("[image]\r\nx=4\r\ny=4\r\nwidth=40\r\nheight=-40\r\n")},
        {"error: theme.ini: the cover slot (60, 4, 40, 40) lies wholly outside the 48 x 48 background",
         ini("[image]\r\nx=60\r\ny=4\r\nwidth=40\r\nheight=40\r\n")},
        {"warning: theme.ini: the cover slot (20, 4, 40, 40) reaches outside the 48 x 48 background",
         ini("[image]\r\nx=20\r\ny=4\r\nwidth=40\r\nheight=40\r\n")},
        {"error: theme.ini: saved as UTF-16 little-endian without a byte-order mark",
         [](Theme& t) { t.ini = Utf16(GOOD_INI, false, false); }},
        {"warning: theme.ini: saved as UTF-16 big-endian", [](Theme& t) { t.ini = Utf16(GOOD_INI, true, true); }},
        {"warning: theme.ini: starts with a UTF-8 byte-order mark", ini("\xEF\xBB\xBF[image]\r\nx=4\r\ny=4\r\nwidth=40\r\nheight=40\r\n")},
        {"error: theme.ini: not text", [](Theme& t) { t.ini = NoiseBytes(600); }},
        {"error: background.png: missing.", [](Theme& t) { t.hasBackground = false; }},
        {"error: background.png: does not decode", [](Theme& t) { t.background.clear(); }},
        {"error: background.png: does not decode", background([] { return NoiseBytes(5000); })},
        {"error: background.png: does not decode as a picture: it holds a TIFF picture",
         background([] {
             Bytes tiff = NoiseBytes(500);
             tiff[0] = tiff[1] = 'I', tiff[2] = 42, tiff[3] = 0;
             return tiff;
         })},
        {"error: background.png: 20000 x 20000 pixels, above the 4096 x 4096", background(HugePngHeader)},
        {"warning: background.png: holds a JPEG picture",
         background([] { return EncodeSolidPicture(SIDE, SIDE, 0xFF406080, L"image/jpeg"); })},
        {"warning: background.png: has no transparency", background([] { return EncodeSolidPicture(SIDE, SIDE, 0xFF406080); })},
        {"warning: background.png: is fully transparent", background([] { return EncodeSolidPicture(SIDE, SIDE, 0x00406080); })},
        {"warning: background.png: 1200 x 1200 pixels take",
         [](Theme& t) {
             t.background = EncodeSolidPicture(1200, 1200, 0x80406080);
             t.ini = Text("[image]\r\nx=0\r\ny=0\r\nwidth=1200\r\nheight=1200\r\n");
         }},
        {"error: overlay.png: does not decode", overlay([] { return NoiseBytes(300); })},
        {"warning: overlay.png: 60 x 48, while the background is 48 x 48",
         overlay([] { return EncodeSolidPicture(60, SIDE, 0x00FFFFFF); })},
        {"error: overlay.png: nearly opaque over 100% of the cover slot",
         overlay([] { return EncodeSolidPicture(SIDE, SIDE, 0xF0FFFFFF); })},
        {"warning: overlay.png: nearly opaque over 50% of the cover slot", overlay([] {
             return EncodePngFrom(SIDE, SIDE, [](int, int y) -> Gdiplus::ARGB { return y < 24 ? 0xFF000000 : 0; });
         })},
        {"warning: theme.ini [text]: \"colour\" is no key", ini(TEXT_LINE "colour=FF0000\r\n")},
        {"warning: theme.ini [text2]: the box (0, 0, 0, 0) has no width", ini("[image]\r\nwidth=40\r\nheight=40\r\n[text2]\r\nsize=9\r\n")},
        {"warning: theme.ini [text]: the box (30, 40, 40, 8) reaches outside",
         ini("[image]\r\nx=4\r\ny=4\r\nwidth=40\r\nheight=36\r\n[text]\r\nx=30\r\ny=40\r\nwidth=40\r\nheight=8\r\n")},
        {"error: theme.ini [text]: size -3 is below 1", ini(TEXT_LINE "size=-3\r\n")},
        {"warning: theme.ini [text]: shadow = \"black\" is no colour", ini(TEXT_LINE "shadow=black\r\n")},
        {"warning: theme.ini [text]: the font \"No Such Face\" is not installed", ini(TEXT_LINE "font=No Such Face\r\n")},
        {"warning: folder name: \"A&B\" holds \"&\"", [](Theme& t) { t.name = "A&B"; }},
        {"error: folder name: \"" + std::string(200, 'L'), [](Theme& t) { t.name = std::string(200, 'L'); }},
        {"warning: \"Background.PNG\": differs from \"background.png\" only in case",
         [](Theme& t) { t.backgroundName = "Background.PNG"; }},
    };
}

class ThemeKit : public ::testing::Test {
protected:
    static void SetUpTestSuite() { gdiplus = new GdiplusSession; }
    static void TearDownTestSuite() { delete gdiplus; }
    static GdiplusSession* gdiplus;
    TempFolder folder;
};
GdiplusSession* ThemeKit::gdiplus = nullptr;

// The lines check-all printed for one theme: from its heading to the next.
std::vector<std::string> SectionOf(const HostRun& run, const std::string& name)
{
    std::vector<std::string> section;
    bool inside = false;
    for (const std::string& line : run.lines) {
        if (line.rfind("theme \"", 0) == 0)
            inside = line.rfind("theme \"" + name + "\"", 0) == 0;
        else if (inside && !line.empty())
            section.push_back(line);
    }
    return section;
}

bool HasLineStartingWith(const std::vector<std::string>& lines, const std::string& start)
{
    for (const std::string& line : lines)
        if (line.rfind(start, 0) == 0)
            return true;
    return false;
}

TEST_F(ThemeKit, EachRuleFindsItsFaultAndThePlainThemeHasNone)
{
    const std::vector<Rule> rules = Rules();
    std::vector<std::string> names;
    for (size_t i = 0; i < rules.size(); ++i) {
        Theme theme;
        theme.name = "Rule" + std::to_string(i);
        rules[i].spoil(theme);
        names.push_back(theme.name);
        Write(folder.path(), theme);
        if (theme.name == "IniFolder")
            MakeFolder(folder / L"IniFolder\\theme.ini");
    }
    Write(folder.path(), Theme());

    HostRun run = RunThemeKit({L"check-all", folder.path()});
    ASSERT_FALSE(run.timedOut) << run.Transcript();
    EXPECT_EQ(1u, run.exitCode) << run.Transcript();
    for (size_t i = 0; i < rules.size(); ++i) {
        const std::vector<std::string> section = SectionOf(run, names[i]);
        EXPECT_TRUE(HasLineStartingWith(section, rules[i].finding)) << rules[i].finding << "\n" << run.Transcript();
        const bool isError = rules[i].finding.rfind("error:", 0) == 0;
        EXPECT_EQ(isError, HasLineStartingWith(section, "error:")) << rules[i].finding << "\n" << run.Transcript();
    }
    const std::vector<std::string> plain = SectionOf(run, "Plain");
    ASSERT_EQ(1u, plain.size()) << run.Transcript();
    EXPECT_EQ(0u, plain[0].find("\"Plain\": 0 errors, 0 warnings; window 48 x 48; cover slot (4, 4, 40, 40)"))
        << plain[0];
}

// At 150 % the kit draws and checks the theme as the plug-in does on such a
// screen: the window at the scaled size, the slot still in theme pixels.
TEST_F(ThemeKit, CheckAndPreviewAtAGivenDpi)
{
    Write(folder.path(), Theme());
    HostRun check = RunThemeKit({L"check", folder / L"Plain", L"--dpi", L"144"});
    EXPECT_EQ(0u, check.exitCode) << check.Transcript();
    EXPECT_TRUE(HasLineStartingWith(check.lines, "\"Plain\": 0 errors, 0 warnings; window 72 x 72 at 144 DPI; "
                                                 "cover slot (4, 4, 40, 40)"))
        << check.Transcript();
    HostRun preview = RunThemeKit({L"preview", folder / L"Plain", folder / L"big.png", L"--dpi", L"144"});
    EXPECT_EQ(0u, preview.exitCode) << preview.Transcript();
    Pixels picture;
    ASSERT_TRUE(LoadPicture(folder / L"big.png", &picture));
    EXPECT_EQ(72, picture.width);
}

TEST_F(ThemeKit, ExitCodesSayWhetherThereIsAnErrorOrTrouble)
{
    Theme good, bad;
    bad.name = "Bad";
    bad.hasIni = false;
    Write(folder.path(), good);
    Write(folder.path(), bad);
    const struct { std::vector<std::wstring> arguments; DWORD exitCode; } cases[] = {
        {{L"check", folder / L"Plain"}, 0},
        {{L"check", folder / L"Bad"}, 1},
        {{L"check", folder / L"Missing"}, 2},
        {{L"check", folder / L"Plain\\theme.ini"}, 2},
        {{L"check-all", folder / L"Missing"}, 2},
        {{L"check"}, 2},
        {{L"repaint", folder / L"Plain"}, 2},
        {{L"preview", folder / L"Plain", folder / L"out.png", L"--aspect", L"sideways"}, 2},
        {{L"preview", folder / L"Plain", folder / L"out.png", L"--cover", folder / L"none.jpg"}, 2},
        {{L"check", folder / L"Plain", L"--dpi", L"12"}, 2},
        {{L"check", folder / L"Plain", L"--dpi"}, 2},
    };
    for (const auto& c : cases) {
        HostRun run = RunThemeKit(c.arguments);
        EXPECT_FALSE(run.timedOut);
        EXPECT_EQ(c.exitCode, run.exitCode) << Utf8Of(c.arguments[0]) << " " << run.Transcript();
        // Trouble is explained on standard error.
        EXPECT_EQ(c.exitCode == 2, !run.errors.empty()) << run.Transcript();
    }
}

TEST_F(ThemeKit, MenuListsTheFirstHundredThemesAndAThemesFolderOfItsOwn)
{
    WriteText(folder / L"theme.ini", GOOD_INI);
    for (int i = 0; i < 100; ++i) {
        Theme theme;
        theme.name = "T" + std::to_string(i);
        theme.hasBackground = false;  // nothing to decode or time: only the menu matters here
        Write(folder.path(), theme);
    }
    HostRun run = RunThemeKit({L"check-all", folder.path()});
    ASSERT_FALSE(run.timedOut) << run.Transcript();
    EXPECT_TRUE(run.Has("menu: 100 themes after \"デフォルト\" (Default), in this order:")) << run.Transcript();
    EXPECT_TRUE(HasLineStartingWith(run.lines, "warning: themes folder: holds a theme.ini")) << run.Transcript();
    int beyond = 0;
    for (const std::string& line : run.lines)
        beyond += line.find("comes after the first 100 themes") != std::string::npos;
    EXPECT_EQ(1, beyond) << run.Transcript();
}

TEST_F(ThemeKit, EveryBundledThemeAndTheGuidesExamplePassWithoutError)
{
    HostRun run = RunThemeKit({L"check-all", SourceDir() + L"\\themes"});
    EXPECT_EQ(0u, run.exitCode) << run.Transcript();
    EXPECT_TRUE(run.Has("menu: 6 themes after \"デフォルト\" (Default), in this order:")) << run.Transcript();
    HostRun example = RunThemeKit({L"check", SourceDir() + L"\\docs\\example\\Slate"});
    EXPECT_EQ(0u, example.exitCode) << example.Transcript();
}

// Japanese characters and spaces in the folder, the cover and the output.
TEST_F(ThemeKit, PreviewWritesTheFrameWithItsAlphaOrOverABackdrop)
{
    Theme theme;
    theme.name = "\xE9\x9D\x92\xE3\x81\x84 \xE7\xA9\xBA";  // 青い 空
    const std::wstring name = L"\u9752\u3044 \u7a7a";
    MakeFolder(folder / name);
    WriteBytes(folder / (name + L"\\theme.ini"), theme.ini);
    WriteBytes(folder / (name + L"\\background.png"), FramedPng(SIDE, SIDE));
    const std::wstring cover = folder / L"\u8868\u7d19 wide.png";
    WriteBytes(cover, EncodeSolidPicture(80, 40, 0xFF0000FF));

    const struct { std::vector<std::wstring> options; const char* placement; DWORD corner; DWORD slot; } cases[] = {
        {{}, "cover 80 x 40 drawn at (4, 14, 40, 20), fitted", 0x80C80000, 0xFF808080},
        {{L"--aspect", L"off"}, "cover 80 x 40 drawn at (4, 4, 40, 40), stretched", 0x80C80000, 0xFF0000FF},
        {{L"--backdrop", L"#000000"}, "cover 80 x 40 drawn at (4, 14, 40, 20), fitted", 0xFF640000, 0xFF808080},
        {{L"--backdrop", L"checker"}, "cover 80 x 40 drawn at (4, 14, 40, 20), fitted", 0xFFE37F7F, 0xFF808080},
    };
    for (const auto& c : cases) {
        const std::wstring out = folder / L"\u30d7\u30ec\u30d3\u30e5\u30fc out.png";
        std::vector<std::wstring> arguments = {L"preview", folder / name, out, L"--cover", cover};
        arguments.insert(arguments.end(), c.options.begin(), c.options.end());
        HostRun run = RunThemeKit(arguments);
        ASSERT_EQ(0u, run.exitCode) << run.Transcript();
        EXPECT_TRUE(run.Has("window 48 x 48")) << run.Transcript();
        EXPECT_TRUE(run.Has("cover slot (4, 4, 40, 40)")) << run.Transcript();
        EXPECT_TRUE(run.Has(c.placement)) << run.Transcript();
        Pixels picture;
        ASSERT_TRUE(LoadPicture(out, &picture));
        ASSERT_EQ(SIDE, picture.width);
        for (int shift = 0; shift < 32; shift += 8) {
            EXPECT_NEAR(static_cast<int>((c.corner >> shift) & 0xFF), static_cast<int>((picture.At(0, 0) >> shift) & 0xFF), 2)
                << std::hex << picture.At(0, 0);
            EXPECT_NEAR(static_cast<int>((c.slot >> shift) & 0xFF), static_cast<int>((picture.At(24, 8) >> shift) & 0xFF), 2)
                << std::hex << picture.At(24, 8);
        }
        DeleteFileW(out.c_str());
    }
}

}  // namespace
