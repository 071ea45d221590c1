// coverdeck_stress CASE: one adversarial run of the plug-in, in process beside
// a fake player, that prints its figures and exits 0 when the plug-in held up,
// 1 when it did not. The test suite runs each case in a process of its own
// with a time limit, so that a crash or a hang shows as that case failing.
//   burst       2,000 track events at once give exactly one reload
//   cycles      200 INIT/QUIT cycles leave threads, windows, GDI objects and
//               kernel handles where they were
//   drag-quit   200 QUITs while the left button drags the window, and
//   activate-quit 200 QUITs from the host's handler of the activate command,
//               each ending the UI thread, with the same figures as cycles
//   menu-quit   QUIT while the context menu is open returns, settings saved
//   bad-covers  unreadable covers leave the window answering, and the next
//               good track shows its cover
//   bad-themes  the same with broken and outsized theme backgrounds
#include <windows.h>
#include <stdio.h>
#include <string>
#include <vector>
#include "helpers/processes.h"
#include "host/plugin_entry.h"
#include "render/cover_fade.h"
#include "render/gdiplus_flat.h"
#include "state/display_state.h"
#include "state/gdiplus_session.h"
#include "state/host_protocol.h"
#include "state/owners.h"
#include "support/fake_host.h"
#include "support/leak_counters.h"
#include "support/test_pictures.h"
#include "support/test_support.h"
#include "window/display_window.h"

namespace {

constexpr COLORREF GOOD_COVER = RGB(0, 160, 0);
constexpr Gdiplus::ARGB GOOD_COVER_ARGB = 0xFF00A000;

bool failed = false;

void Check(bool ok, const char* what)
{
    printf("%s %s\n", ok ? "ok" : "FAILED", what);
    failed = failed || !ok;
}

int CountThreads()
{
    return static_cast<int>(CountProcessThreads());
}

int CountDisplayWindows()
{
    int count = 0;
    for (HWND window = FindWindowExW(NULL, NULL, DISPLAY_WINDOW_CLASS, NULL); window;
         window = FindWindowExW(NULL, window, DISPLAY_WINDOW_CLASS, NULL))
        ++count;
    return count;
}

// The window takes a message within 30 s, so it is not hung. A sent message is
// handled only after the one in progress, so this also waits for a reload's
// presentation to finish: an outsized picture decodes for seconds when 32-bit
// Wine runs under emulation.
bool Answers(HWND window)
{
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 30000, &result) != 0;
}

// Plays `track` and waits for the reload it causes; milliseconds taken, or -1.
long PlayAndWait(FakeHost& host, const std::wstring& track)
{
    size_t queries = host.pathQueryTimes.size();
    host.trackPath = track;
    DWORD start = GetTickCount();
    OnHostEvent(host.window(), EVENT_TRACK);
    if (!PumpUntil([&] { return host.pathQueryTimes.size() > queries; }, 30000))
        return -1;
    PumpFor(100);
    return static_cast<long>(GetTickCount() - start);
}

// The colour in the middle of the built-in theme's cover slot, read off the screen.
bool ShowsGoodCover(HWND window)
{
    // The new cover fades in: what shows is read once the fade is over.
    PumpFor(2 * FADE_MS);
    RECT rect;
    GetWindowRect(window, &rect);
    ScopedGetDC screen(NULL);
    COLORREF seen = GetPixel(screen.get(), rect.left + 52, rect.top + 52);
    auto within = [](int a, int b) { return a - b < 0x30 && b - a < 0x30; };
    return within(GetRValue(seen), GetRValue(GOOD_COVER)) && within(GetGValue(seen), GetGValue(GOOD_COVER)) &&
           within(GetBValue(seen), GetBValue(GOOD_COVER));
}

std::vector<unsigned char> Noise(size_t size, unsigned seed)
{
    std::vector<unsigned char> bytes(size);
    for (unsigned char& b : bytes) {
        seed = seed * 1103515245u + 12345u;
        b = static_cast<unsigned char>(seed >> 16);
    }
    return bytes;
}

// A small JPEG whose frame header claims `width` x `height`.
std::vector<unsigned char> JpegClaiming(int width, int height)
{
    std::vector<unsigned char> jpeg = EncodeSolidPicture(16, 16, 0xFF808080, L"image/jpeg");
    for (size_t i = 0; i + 9 < jpeg.size(); ++i) {
        if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xC0) {
            jpeg[i + 5] = static_cast<unsigned char>(height >> 8);
            jpeg[i + 6] = static_cast<unsigned char>(height);
            jpeg[i + 7] = static_cast<unsigned char>(width >> 8);
            jpeg[i + 8] = static_cast<unsigned char>(width);
            break;
        }
    }
    return jpeg;
}

std::vector<unsigned char> BlankPng(int width, int height)
{
    UniqueGdipBitmap bitmap;
    if (GdipCreateBitmapFromScan0(width, height, 0, PixelFormat1bppIndexed, NULL, bitmap.put()) != Gdiplus::Ok)
        return {};
    return EncodeBitmap(bitmap.get(), L"image/png");
}

// A folder holding only `folder.jpg` with `bytes`; returns a track path in it.
std::wstring TrackBeside(const TempFolder& root, const std::wstring& name, const std::vector<unsigned char>& bytes)
{
    MakeFolder(root / name);
    WriteBytes(root / (name + L"\\folder.jpg"), bytes);
    return root / (name + L"\\track.mp3");
}

void Burst(FakeHost& host)
{
    const int threads = CountThreads();
    OnHostEvent(host.window(), EVENT_INIT);
    WaitForDisplayWindow();
    PumpFor(700);
    host.pathQueryTimes.clear();
    const int events = 2000;
    DWORD start = GetTickCount();
    for (int i = 0; i < events; ++i)
        OnHostEvent(host.window(), EVENT_TRACK);
    DWORD elapsed = GetTickCount() - start;
    PumpFor(1500);
    printf("burst: %d track events in %lu ms (%.0f events/s), %zu reloads\n", events,
           static_cast<unsigned long>(elapsed), elapsed ? events * 1000.0 / elapsed : 0.0, host.pathQueryTimes.size());
    Check(host.pathQueryTimes.size() == 1, "a burst gives exactly one reload");

    // Again while the reload's cover fades in, and a quit inside the fade that
    // reload starts: nothing may be left running.
    for (int round = 2; round <= 3; ++round) {
        for (int i = 0; i < events; ++i)
            OnHostEvent(host.window(), EVENT_TRACK);
        PumpUntil([&] { return host.pathQueryTimes.size() == static_cast<size_t>(round); }, 5000);
    }
    Check(host.pathQueryTimes.size() == 3, "a burst during a fade gives exactly one reload");
    OnHostEvent(host.window(), EVENT_QUIT);
    PumpFor(300);
    printf("burst: quit during a fade leaves threads %d -> %d, display windows %d\n", threads, CountThreads(),
           CountDisplayWindows());
    Check(!displayState.uiThread && CountThreads() == threads && CountDisplayWindows() == 0,
          "a quit during a fade leaves no thread or window");
}

// Runs `cycle` 200 times after one warm-up run (the system's own first-use
// allocations are not ours) and prints what the process holds before and after.
void MeasureCycles(const char* name, FakeHost& host, bool (*cycle)(FakeHost&))
{
    Check(cycle(host), "the warm-up cycle ended its UI thread");
    int threads = CountThreads(), windows = CountDisplayWindows();
    LeakCounts before = TakeLeakCounts();
    const int cycles = 200;
    int ended = 0;
    DWORD start = GetTickCount();
    for (int i = 0; i < cycles; ++i)
        ended += cycle(host) ? 1 : 0;
    DWORD elapsed = GetTickCount() - start;
    LeakCounts after = TakeLeakCounts();
    printf("%s: %d cycles in %lu ms (%.1f ms each), %d ended their UI thread\n", name, cycles,
           static_cast<unsigned long>(elapsed), elapsed / static_cast<double>(cycles), ended);
    printf("%s: threads %d -> %d, windows %d -> %d, GDI objects %zu -> %zu, kernel handles %zu -> %zu\n", name,
           threads, CountThreads(), windows, CountDisplayWindows(), before.gdiObjects, after.gdiObjects,
           before.kernelHandles, after.kernelHandles);
    Check(ended == cycles, "every quit ended the UI thread");
    Check(CountThreads() == threads && CountDisplayWindows() == windows, "no thread or window left behind");
    Check(after.gdiObjects == before.gdiObjects, "no GDI object left behind");
    Check(after.kernelHandles == before.kernelHandles, "no kernel handle left behind");
}

bool InitQuit(FakeHost& host)
{
    OnHostEvent(host.window(), EVENT_INIT);
    OnHostEvent(host.window(), EVENT_QUIT);
    return !displayState.uiThread;
}

void SendMouse(DWORD flags)
{
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    SendInput(1, &input, sizeof input);
}

// The system's move loop runs on the window's thread.
bool InMoveLoop(HWND window)
{
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(GetWindowThreadProcessId(window, NULL), &info) && (info.flags & GUI_INMOVESIZE);
}

// QUIT while the left button holds the window in the system's move loop.
bool DragQuit(FakeHost& host)
{
    OnHostEvent(host.window(), EVENT_INIT);
    HWND window = WaitForDisplayWindow();
    RECT rect = {};
    GetWindowRect(window, &rect);
    SetCursorPos((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    SendMouse(MOUSEEVENTF_LEFTDOWN);
    bool dragging = PumpUntil([&] { return InMoveLoop(window); }, 5000);
    OnHostEvent(host.window(), EVENT_QUIT);
    SendMouse(MOUSEEVENTF_LEFTUP);
    PumpFor(10);
    return dragging && !displayState.uiThread;
}

WNDPROC fakeHostProcedure;

// The host quits from its handler of the activate command.
LRESULT CALLBACK QuitOnActivate(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND && LOWORD(wParam) == HOST_CMD_ACTIVATE)
        OnHostEvent(window, EVENT_QUIT);
    return CallWindowProcW(fakeHostProcedure, window, message, wParam, lParam);
}

bool ActivateQuit(FakeHost& host)
{
    OnHostEvent(host.window(), EVENT_INIT);
    HWND window = WaitForDisplayWindow();
    PostMessageW(window, WM_LBUTTONDBLCLK, MK_LBUTTON, 0);
    return PumpUntil([] { return !displayState.uiThread; }, 30000);
}

void Cycles(FakeHost& host)
{
    MeasureCycles("cycles", host, InitQuit);
}

void DragQuits(FakeHost& host)
{
    MeasureCycles("drag-quit", host, DragQuit);
}

void ActivateQuits(FakeHost& host)
{
    fakeHostProcedure = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(host.window(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(QuitOnActivate)));
    MeasureCycles("activate-quit", host, ActivateQuit);
}

void MenuQuit(FakeHost& host)
{
    RemoveTestSettingsFile();
    OnHostEvent(host.window(), EVENT_INIT);
    HWND window = WaitForDisplayWindow();
    PostMessageW(window, WM_RBUTTONUP, 0, 0);
    bool open = PumpUntil([] { return IsWindowVisible(FindWindowW(L"#32768", NULL)) != FALSE; }, 5000);
    DWORD start = GetTickCount();
    OnHostEvent(host.window(), EVENT_QUIT);
    DWORD elapsed = GetTickCount() - start;
    printf("menu-quit: menu open %d, QUIT returned after %lu ms\n", open ? 1 : 0, static_cast<unsigned long>(elapsed));
    Check(open, "the context menu opened");
    Check(GetFileAttributesW(TestSettingsPath().c_str()) != INVALID_FILE_ATTRIBUTES, "the settings were saved");
    RemoveTestSettingsFile();
}

void BadCovers(FakeHost& host)
{
    TempFolder root;
    std::vector<unsigned char> jpeg = EncodeSolidPicture(64, 64, GOOD_COVER_ARGB, L"image/jpeg");
    std::wstring good = TrackBeside(root, L"good", jpeg);
    struct {
        const wchar_t* name;
        std::vector<unsigned char> bytes;
    } covers[] = {
        {L"noise", Noise(5000, 7)},
        {L"truncated", std::vector<unsigned char>(jpeg.begin(), jpeg.begin() + jpeg.size() / 2)},
        {L"huge", JpegClaiming(12000, 12000)},
        {L"empty", {}},
    };
    OnHostEvent(host.window(), EVENT_INIT);
    HWND window = WaitForDisplayWindow();
    // A JPEG start marker followed by noise makes Wine's decoder seek past the
    // picture's end; some of these forty did crash a player under Wine.
    unsigned seed = 1;
    DWORD start = GetTickCount();
    for (int round = 0; round < 40; ++round) {
        std::vector<unsigned char> bytes = {0xFF, 0xD8, 0xFF};
        for (int i = 0; i < 600 + round * 50; ++i) {
            seed = seed * 1103515245u + 12345u;
            bytes.push_back(static_cast<unsigned char>(seed >> 16));
        }
        PlayAndWait(host, TrackBeside(root, L"marker" + std::to_wstring(round), bytes));
    }
    printf("bad-covers: 40 JPEG start markers followed by noise in %lu ms\n",
           static_cast<unsigned long>(GetTickCount() - start));
    for (const auto& cover : covers) {
        long badMs = PlayAndWait(host, TrackBeside(root, cover.name, cover.bytes));
        bool answers = Answers(window);
        long goodMs = PlayAndWait(host, good);
        printf("bad-covers: %ls reloaded in %ld ms, window answers %d, next good track in %ld ms\n", cover.name,
               badMs, answers ? 1 : 0, goodMs);
        Check(badMs >= 0 && answers && goodMs >= 0 && Answers(window) && ShowsGoodCover(window),
              "the next good track shows its cover");
    }
    OnHostEvent(host.window(), EVENT_QUIT);
}

void BadThemes(FakeHost& host)
{
    TempFolder root;
    std::wstring good = TrackBeside(root, L"good", EncodeSolidPicture(64, 64, GOOD_COVER_ARGB, L"image/jpeg"));
    std::wstring themes = BinDir() + L"\\coverdeckTheme";
    MakeFolder(themes);
    const char* rectIni = "[image]\r\nx=2\r\ny=2\r\nwidth=100\r\nheight=100\r\n";
    struct {
        const wchar_t* name;
        std::vector<unsigned char> background;
        const char* ini;
        bool refused;  // above the picture limits: never decoded, the built-in theme shows
    } cases[] = {
        {L"stress-noise", Noise(4000, 5), rectIni, true},
        {L"stress-8000", BlankPng(8000, 8000), rectIni, true},
        {L"stress-1x1", EncodeSolidPicture(1, 1, 0xFF808080, L"image/png"), rectIni, false},
        {L"stress-absurd", EncodeSolidPicture(150, 100, 0xFF808080, L"image/png"),
         "[image]\r\nx=-2147483648\r\ny=2147483647\r\nwidth=2147483647\r\nheight=-5\r\n", false},
    };
    for (const auto& theme : cases) {
        std::wstring folder = themes + L"\\" + theme.name;
        MakeFolder(folder);
        WriteBytes(folder + L"\\background.png", theme.background);
        WriteText(folder + L"\\theme.ini", theme.ini);
        WriteText(TestSettingsPath(), "[setting]\r\ntheme=" + Utf8Of(theme.name) + "\r\n");
        DWORD start = GetTickCount();
        OnHostEvent(host.window(), EVENT_INIT);
        HWND window = WaitForDisplayWindow();
        DWORD shown = GetTickCount() - start;
        bool answers = window && Answers(window);
        long goodMs = PlayAndWait(host, good);
        bool held = displayState.cover.GetStream() != NULL;
        RECT rect = {};
        GetWindowRect(window, &rect);
        printf("bad-themes: %ls shown after %lu ms as %ld x %ld (theme kept: %d), window answers %d, good track in %ld ms\n",
               theme.name, static_cast<unsigned long>(shown), rect.right - rect.left, rect.bottom - rect.top,
               displayState.theme[0] != L'\0', answers ? 1 : 0, goodMs);
        bool fellBack = displayState.theme[0] == L'\0';
        Check(answers && goodMs >= 0 && held && (!fellBack || (Answers(window) && ShowsGoodCover(window))),
              "the window answers and the next good track's cover is taken");
        Check(!theme.refused || fellBack, "a refused background gives the built-in theme");
        OnHostEvent(host.window(), EVENT_QUIT);
        RemoveTree(folder);
    }
    RemoveTree(themes);
    RemoveTestSettingsFile();
}

}  // namespace

int main(int argc, char** argv)
{
    const std::string which = argc > 1 ? argv[1] : "";
    void (*run)(FakeHost&) = which == "burst" ? Burst
                           : which == "cycles" ? Cycles
                           : which == "drag-quit" ? DragQuits
                           : which == "activate-quit" ? ActivateQuits
                           : which == "menu-quit" ? MenuQuit
                           : which == "bad-covers" ? BadCovers
                           : which == "bad-themes" ? BadThemes
                                                   : nullptr;
    if (!run) {
        fprintf(stderr, "usage: coverdeck_stress burst|cycles|drag-quit|activate-quit|menu-quit|bad-covers|bad-themes\n");
        return 2;
    }
    setvbuf(stdout, NULL, _IONBF, 0);
    GdiplusSession gdiplus;
    ResetDisplayState();
    RemoveTestSettingsFile();
    {
        FakeHost host;
        run(host);
    }
    RemoveTestSettingsFile();
    return failed ? 1 : 0;
}
