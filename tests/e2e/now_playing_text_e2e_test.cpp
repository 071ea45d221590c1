// Now-playing text as a listener sees it through the player: the title read
// from each kind of tag draws exactly as the same title from a file name, in
// its box, aligned as the theme says, and goes with the cover.
#include <gtest/gtest.h>
#include <algorithm>
#include <string>
#include <vector>
#include "support/container_builder.h"
#include "support/host_session.h"
#include "support/tag_builder.h"
#include "support/test_pictures.h"
#include "support/test_support.h"

namespace {

constexpr int WIDTH = 240, HEIGHT = 84;
constexpr DWORD BACKGROUND = 0xFF203040;
constexpr int LINE_TOP[] = {4, 30, 56};  // each line 24 high, x 8..232
// Three lines of the title: left, centred, right; no cover slot.
constexpr char THEME_INI[] =
    "[image]\r\nwidth=0\r\nheight=0\r\n"
    "[text]\r\nx=8\r\ny=4\r\nwidth=224\r\nheight=24\r\nsize=14\r\n"
    "[text2]\r\nx=8\r\ny=30\r\nwidth=224\r\nheight=24\r\nsize=14\r\nalign=center\r\n"
    "[text3]\r\nx=8\r\ny=56\r\nwidth=224\r\nheight=24\r\nsize=14\r\nalign=right\r\ncolor=FFE080\r\nshadow=000000\r\n";
const std::string TITLE = "Same Title";

Bytes Latin1Frame(const char* id, const std::string& text) { return Frame3(id, Bytes{0} + Text(text)); }
Bytes Mp4Title(const std::string& title)
{
    return Mp4File(Mp4Moov(Box("\xA9nam", Box("data", BigEndian(1) + Bytes(4, 0) + Text(title)))));
}
Bytes AsfTitle(const std::string& title)
{
    const Bytes guid = {0x33, 0x26, 0xB2, 0x75, 0x8E, 0x66, 0xCF, 0x11, 0xA6, 0xD9, 0x00, 0xAA, 0x00, 0x62, 0xCE, 0x6C};
    const Bytes name = Utf16z(title);
    return AsfFile(AsfObject(guid, LittleEndian16(uint16_t(name.size())) + Bytes(8, 0) + name));
}

// The pixels of line `line`'s box, as a string to compare whole.
std::string Band(const Pixels& capture, int line)
{
    std::string band;
    for (int y = LINE_TOP[line]; y < LINE_TOP[line] + 24; ++y)
        for (int x = 8; x < 232; ++x)
            band += std::to_string(capture.At(x, y)) + ",";
    return band;
}

// The first and last column of line `line` that differ from the background.
std::pair<int, int> Ink(const Pixels& capture, int line)
{
    int first = WIDTH, last = -1;
    for (int y = LINE_TOP[line]; y < LINE_TOP[line] + 24; ++y)
        for (int x = 0; x < WIDTH; ++x)
            if ((capture.At(x, y) & 0xFFFFFF) != (BACKGROUND & 0xFFFFFF)) {
                first = std::min(first, x);
                last = std::max(last, x);
            }
    return {first, last};
}

// Everything outside the three boxes.
bool SameOutsideBoxes(const Pixels& a, const Pixels& b)
{
    for (int y = 0; y < HEIGHT; ++y)
        for (int x = 0; x < WIDTH; ++x) {
            const bool inBox = x >= 8 && x < 232 && ((y >= 4 && y < 28) || (y >= 30 && y < 54) || (y >= 56 && y < 80));
            if (!inBox && a.At(x, y) != b.At(x, y))
                return false;
        }
    return true;
}

TEST(NowPlayingText, TheTitleFromEveryTagDrawsAsItsFileNameDoesInItsBoxesAndGoesWithTheCover)
{
    TempFolder folder;
    const std::wstring plugin = CopyPluginInto(folder);
    const std::wstring theme = folder / L"coverdeckTheme\\Lines";
    ASSERT_TRUE(MakeFolder(folder / L"coverdeckTheme") && MakeFolder(theme));
    ASSERT_TRUE(WriteText(theme + L"\\theme.ini", THEME_INI));
    ASSERT_TRUE(WriteBytes(theme + L"\\background.png", EncodeSolidPicture(WIDTH, HEIGHT, BACKGROUND)));
    // Text is read whatever the embedded-picture option says.
    ASSERT_TRUE(WriteText(folder / L"coverdeck.ini",
                          "[setting]\r\ntheme=Lines\r\nsnap=0\r\nfade=0\r\nattachedpicture=0\r\n"
                          "[window]\r\nleft=200\r\ntop=120\r\n"));
    const struct {
        const wchar_t* file;
        Bytes bytes;
    } tracks[] = {
        {L"Same Title.mp3", SmallMp3()},  // no tag text: the file name
        {L"id3.mp3", SmallMp3(Latin1Frame("TIT2", TITLE) + Latin1Frame("TPE1", "Artist"))},
        {L"vorbis.ogg", OggFile("vorbis", {"ARTIST=Someone", "title=" + TITLE})},
        {L"opus.opus", OggFile("opus", {"TITLE=" + TITLE})},
        {L"mp4.m4a", Mp4Title(TITLE)},
        {L"asf.wma", AsfTitle(TITLE)},
        {L"ape.mp3", SmallMp3() + ApeTag({ApeItem("Title", Text(TITLE), 0)})},
        {L"wave.wav", WavFile(RiffChunk("id3 ", Tag(3, 0, Latin1Frame("TIT2", TITLE))))},
        {L"other.mp3", SmallMp3(Latin1Frame("TIT2", "Other"))},
        {L"long.mp3", SmallMp3(Latin1Frame("TIT2", std::string(200, 'W')))},
        {L"japanese.ogg", OggFile("vorbis", {"TITLE=\xE5\xA4\x9C\xE3\x81\xAB\xE9\xA7\x86\xE3\x81\x91\xE3\x82\x8B"})},
    };
    std::vector<std::string> steps;
    for (const auto& track : tracks) {
        ASSERT_TRUE(WriteBytes(folder / track.file, track.bytes));
        steps.insert(steps.end(), {"play " + Utf8Of(folder / track.file), "await path-query",
                                   "capture " + Utf8Of(folder / (std::wstring(track.file) + L".png"))});
    }
    steps.insert(steps.end(), {"play http://example.invalid/live", "await path-query",
                               "capture " + Utf8Of(folder / L"url.png"), "play " + Utf8Of(folder / L"id3.mp3"),
                               "await path-query", "status 2", "await status-query", "wait 400",
                               "capture " + Utf8Of(folder / L"stopped.png"), "quit"});
    HostLaunch launch;
    launch.plugin = plugin;
    const HostRun run = RunHost(launch, steps);
    ASSERT_EQ(0u, run.exitCode) << run.Transcript();

    const auto load = [&](const std::wstring& name) {
        Pixels picture;
        EXPECT_TRUE(LoadPicture(folder / (name + L".png"), &picture)) << Utf8Of(name);
        EXPECT_EQ(WIDTH, picture.width);
        return picture;
    };
    const Pixels byName = load(L"Same Title.mp3"), url = load(L"url"), stopped = load(L"stopped");
    for (int line = 0; line < 3; ++line) {
        EXPECT_NE(Band(url, line), Band(byName, line)) << "a title shows in line " << line;
        EXPECT_EQ(Band(url, line), Band(stopped, line)) << "a stop clears line " << line;
    }
    for (size_t i = 1; i < sizeof tracks / sizeof tracks[0]; ++i) {
        const Pixels shown = load(tracks[i].file);
        const bool same = i <= 7;
        for (int line = 0; line < 3; ++line) {
            EXPECT_EQ(same, Band(byName, line) == Band(shown, line)) << Utf8Of(tracks[i].file) << " line " << line;
            EXPECT_NE(Band(url, line), Band(shown, line)) << Utf8Of(tracks[i].file) << " shows no text";
        }
        EXPECT_TRUE(SameOutsideBoxes(url, shown)) << Utf8Of(tracks[i].file) << " drew outside its boxes";
    }
    // Left, centred, right: where the ink of the short title starts and ends.
    const auto left = Ink(byName, 0), centred = Ink(byName, 1), right = Ink(byName, 2);
    EXPECT_LE(left.first, 10);
    EXPECT_NEAR((centred.first + centred.second) / 2, WIDTH / 2, 3);
    EXPECT_GE(right.second, 229);
    // The long title reaches across its box and ends in an ellipsis, not past it.
    const auto cut = Ink(load(L"long.mp3"), 0);
    EXPECT_LE(cut.first, 10);
    EXPECT_GE(cut.second, 200);
}

}  // namespace
