// The theme kit's preview against the real popup: for each bundled theme, one
// cover and one track's text, the kit's frame over black is what the sample
// host's screen shows.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <string>
#include <vector>
#include "render/theme_files.h"
#include "state/gdiplus_session.h"
#include "support/host_session.h"
#include "support/tag_builder.h"
#include "support/test_pictures.h"
#include "support/test_support.h"

namespace {

constexpr const wchar_t* BUNDLED_THEMES[] = {L"Caption", L"Gallery", L"Gloss", L"Instant", L"Mini", L"Sleeve"};
// The track's text as its tag holds it and as the kit is told it: a Latin
// title, a Japanese artist.
constexpr wchar_t TITLE[] = L"Night Drive", ARTIST[] = L"\u661F\u91CE\u3072\u304B\u308A";
// Rounding in the premultiplied frame and in the capture's conversion.
constexpr int TOLERANCE = 3;

// A cover with detail everywhere, in a JPEG as covers usually are, and not
// square, so that fitting shows.
std::vector<unsigned char> DetailedCoverJpeg()
{
    const Pixels cover = PixelsFrom(240, 200, [](int x, int y) -> uint32_t {
        return 0xFF000000u | (x << 16) | (y << 8) | ((x ^ y) & 0xFF);
    });
    return EncodePixels(cover, L"image/jpeg");
}

// An ID3v2.3 text frame in UTF-16 with its byte-order mark.
Bytes Utf16Frame(const char* id, const std::wstring& text)
{
    Bytes payload = {1, 0xFF, 0xFE};
    for (wchar_t c : text)
        payload = payload + Bytes{uint8_t(c), uint8_t(c >> 8)};
    return Frame3(id, payload);
}

int ChannelDifference(DWORD a, DWORD b)
{
    int worst = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        const int difference = abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF));
        worst = difference > worst ? difference : worst;
    }
    return worst;
}

TEST(ThemePreviewEndToEnd, PreviewOverBlackMatchesTheScreenForEveryBundledTheme)
{
    GdiplusSession gdiplus;
    TempFolder folder;
    const std::wstring plugin = CopyPluginInto(folder);
    ASSERT_TRUE(MakeFolder(folder / L"coverdeckTheme"));
    ASSERT_TRUE(MakeFolder(folder / L"album"));
    const std::wstring track = folder / L"album\\01.mp3", cover = folder / L"album\\folder.jpg";
    ASSERT_TRUE(WriteBytes(track, SmallMp3(Utf16Frame("TIT2", TITLE) + Utf16Frame("TPE1", ARTIST))));
    ASSERT_TRUE(WriteBytes(cover, DetailedCoverJpeg()));

    for (const wchar_t* theme : BUNDLED_THEMES) {
        const std::wstring installed = folder / (std::wstring(L"coverdeckTheme\\") + theme);
        ASSERT_TRUE(MakeFolder(installed));
        for (const wchar_t* file : THEME_FILES)
            CopyFileW((SourceDir() + L"\\themes\\" + theme + L"\\" + file).c_str(), (installed + L"\\" + file).c_str(),
                      TRUE);
        // Away from the host's window and the screen's edges: only the desktop's black lies beneath.
        const std::wstring settings = folder / L"coverdeck.ini";
        DeleteFileW(settings.c_str());
        WritePrivateProfileStringW(L"window", L"left", L"200", settings.c_str());
        WritePrivateProfileStringW(L"window", L"top", L"120", settings.c_str());
        WritePrivateProfileStringW(L"setting", L"snap", L"0", settings.c_str());
        WritePrivateProfileStringW(L"setting", L"theme", theme, settings.c_str());

        const std::wstring screen = folder / L"screen.png", preview = folder / L"preview.png";
        HostLaunch launch;
        launch.plugin = plugin;
        HostRun host = RunHost(launch, {"play " + Utf8Of(track), "await path-query", "capture " + Utf8Of(screen), "quit"});
        ASSERT_EQ(0u, host.exitCode) << host.Transcript();
        HostRun kit = RunThemeKit({L"preview", installed, preview, L"--cover", cover, L"--backdrop", L"#000000",
                                   L"--title", TITLE, L"--artist", ARTIST, L"--album", L""});
        ASSERT_EQ(0u, kit.exitCode) << kit.Transcript();

        Pixels shown, previewed;
        ASSERT_TRUE(LoadPicture(screen, &shown));
        ASSERT_TRUE(LoadPicture(preview, &previewed));
        ASSERT_EQ(shown.width, previewed.width) << Utf8Of(theme);
        ASSERT_EQ(shown.height, previewed.height) << Utf8Of(theme);
        int worst = 0, worstX = 0, worstY = 0;
        for (int y = 0; y < shown.height; ++y) {
            for (int x = 0; x < shown.width; ++x) {
                const int difference = ChannelDifference(shown.At(x, y), previewed.At(x, y));
                if (difference > worst) {
                    worst = difference;
                    worstX = x;
                    worstY = y;
                }
            }
        }
        EXPECT_LE(worst, TOLERANCE) << Utf8Of(theme) << " at (" << worstX << ", " << worstY << "): screen " << std::hex
                                    << shown.At(worstX, worstY) << ", preview " << previewed.At(worstX, worstY);
    }
}

}  // namespace
