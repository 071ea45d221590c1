#include "step_runner.h"
#include <shlwapi.h>
#include "host_state.h"
#include "helpers/files.h"
#include "helpers/message_pump.h"
#include "helpers/processes.h"
#include "open_menu.h"
#include "output.h"
#include "plugin_session.h"
#include "real_input.h"
#include "screen_capture.h"

namespace {

constexpr DWORD SETTLE_MS = 300;
// Generous: an emulated 32-bit Wine on a loaded machine is several times slower.
constexpr DWORD AWAIT_MS = 20000;
constexpr DWORD SAMPLE_INTERVAL_MS = 5;
// What a scene shows around the plug-in's window and its menus.
constexpr int SCENE_MARGIN = 24;
constexpr LRESULT STATUS_PLAYING = 1;

StepResult Fail(const Step& step, const char* message)
{
    ReportError("error line %d: %s: %s", step.line, Utf8Of(step.text).c_str(), message);
    return StepResult::Failed;
}

// Returns once the plug-in's window has handled everything before this call.
bool PluginCaughtUp()
{
    HWND window = FindPluginWindow();
    return !window || SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, AWAIT_MS, NULL);
}

// The plug-in's thread runs the system's move loop (a drag in progress).
bool PluginInMoveLoop()
{
    HWND window = FindPluginWindow();
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    return window && GetGUIThreadInfo(GetWindowThreadProcessId(window, NULL), &info) &&
           (info.flags & GUI_INMOVESIZE);
}

POINT CentreOf(HWND window)
{
    RECT rect;
    GetWindowRect(window, &rect);
    return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

DWORD OpenChannel(const std::wstring& path)
{
    if (!hostState.audio.streamCreateFile || PathIsURLW(path.c_str()))
        return 0;
    return hostState.audio.streamCreateFile(FALSE, path.c_str(), 0, 0, BASS_UNICODE);
}

// What the player hands the plug-in: a full path, or the URL as it is.
std::wstring TrackPathOf(const std::wstring& path)
{
    const std::wstring full = PathIsURLW(path.c_str()) ? path : FullPathOf(path);
    return full.empty() ? path : full;
}

StepResult Play(const Step& step)
{
    DWORD previous = hostState.channel;
    hostState.currentPath = TrackPathOf(step.argument);
    hostState.channel = OpenChannel(hostState.currentPath);
    hostState.playStatus = STATUS_PLAYING;
    Report("channel %lu", static_cast<unsigned long>(hostState.channel));
    // Announced to the host's own window, so the plug-in learns it through its hook.
    SendMessageW(hostState.window, WM_HOST_INFO, HOST_INFO_CHANNEL, static_cast<LPARAM>(hostState.channel));
    if (previous && hostState.audio.streamFree)
        hostState.audio.streamFree(previous);
    hostState.plugin.callback(hostState.window, EVENT_TRACK);
    return StepResult::Done;
}

StepResult Cycle(int times)
{
    for (int i = 1; i <= times; ++i) {
        StopPlugin();
        unsigned leftAfterQuit = CountPluginWindows();
        if (!StartPlugin())
            return StepResult::Failed;
        Report("cycle %d threads %u windows-after-quit %u", i, CountProcessThreads(), leftAfterQuit);
    }
    return StepResult::Done;
}

StepResult WithPluginWindow(const Step& step)
{
    HWND window = FindPluginWindow();
    if (!window)
        return Fail(step, "no plug-in window");
    POINT centre = CentreOf(window);
    switch (step.kind) {
    case StepKind::Drag:
        LeftDrag(centre, POINT{centre.x + step.numbers[0], centre.y + step.numbers[1]});
        PumpFor(SETTLE_MS);
        ReportPluginWindow();
        break;
    case StepKind::DoubleClick:
        DoubleClick(centre, step.shift);
        PumpFor(SETTLE_MS);
        break;
    case StepKind::Press:
        PressLeft(centre, step.shift);
        if (!PumpUntil(PluginInMoveLoop, AWAIT_MS))
            return Fail(step, "no drag started");
        break;
    case StepKind::RightClick:
        // Keys sent before the menu is up would go to the window instead.
        RightClick(centre);
        if (!PumpUntil(MenuOpen, AWAIT_MS))
            return Fail(step, "no menu opened");
        break;
    default:
        break;
    }
    return StepResult::Done;
}

// Waits for the plug-in's next question to the host, then until its window
// has handled everything up to it, so that what the answer started is done.
StepResult Await(const Step& step)
{
    const unsigned& count = step.argument == L"path-query" ? hostState.pathQueries : hostState.statusQueries;
    unsigned before = count;
    if (!PumpUntil([&] { return count != before; }, AWAIT_MS))
        return Fail(step, "timed out");
    if (!PluginCaughtUp())
        return Fail(step, "the plug-in's window does not answer");
    return StepResult::Done;
}

// Return or Escape closes an open menu; the plug-in carries out the picked
// command before its window takes another message.
StepResult Keys(const Step& step)
{
    bool closesMenu = MenuOpen() && (step.keys.back() == VK_RETURN || step.keys.back() == VK_ESCAPE);
    PressKeys(step.keys);
    if (!closesMenu) {
        PumpFor(SETTLE_MS);
        return StepResult::Done;
    }
    if (!PumpUntil([] { return !MenuOpen(); }, AWAIT_MS))
        return Fail(step, "the menu stayed open");
    if (!PluginCaughtUp())
        return Fail(step, "the plug-in's window does not answer");
    return StepResult::Done;
}

// The host frees the library without EVENT_QUIT, as a crash-recovering or
// badly ordered player does; whatever reaches the window then runs the
// plug-in's code, which must still be there.
StepResult Unload(const Step& step)
{
    HWND window = FindPluginWindow();
    if (!window)
        return Fail(step, "no plug-in window");
    UnloadPlugin(&hostState.plugin);
    Report("unloaded");
    PostMessageW(window, WM_MOUSEMOVE, 0, 0);
    Report("window-answers %d", SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, AWAIT_MS, NULL) ? 1 : 0);
    return StepResult::Done;
}

// Blocks the plug-in's thread for the rest of the run, the way a thread stuck
// in a wait is: a hook of ours on that thread never returns.
LRESULT CALLBACK BlockForever(int, WPARAM, LPARAM)
{
    Sleep(INFINITE);
    return 0;
}

StepResult Freeze(const Step& step)
{
    HWND window = FindPluginWindow();
    DWORD thread = window ? GetWindowThreadProcessId(window, NULL) : 0;
    if (!thread || !SetWindowsHookExW(WH_GETMESSAGE, BlockForever, NULL, thread))
        return Fail(step, "cannot hook the plug-in's thread");
    PostMessageW(window, WM_NULL, 0, 0);
    return StepResult::Done;
}

// A host that starts its plug-ins holding the loader lock (from a DllMain,
// say): the plug-in's new thread cannot begin until the lock is free, so
// INIT has to stop waiting for the window. The plug-in is quit, started twice
// under the lock, then the lock is freed and its window, made late, awaited.
StepResult LockedInit(const Step& step)
{
    typedef LONG(NTAPI * LockLoaderFn)(ULONG, ULONG*, ULONG_PTR*);
    typedef LONG(NTAPI * UnlockLoaderFn)(ULONG, ULONG_PTR);
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    LockLoaderFn lock = reinterpret_cast<LockLoaderFn>(reinterpret_cast<void*>(GetProcAddress(ntdll, "LdrLockLoaderLock")));
    UnlockLoaderFn unlock =
        reinterpret_cast<UnlockLoaderFn>(reinterpret_cast<void*>(GetProcAddress(ntdll, "LdrUnlockLoaderLock")));
    if (!lock || !unlock)
        return Fail(step, "no loader lock to take");
    StopPlugin();
    ULONG_PTR cookie = 0;
    if (lock(0, NULL, &cookie) != 0)
        return Fail(step, "cannot take the loader lock");
    for (int attempt = 1; attempt <= 2; ++attempt) {
        DWORD start = GetTickCount();
        BOOL started = hostState.plugin.callback(hostState.window, EVENT_INIT);
        Report("locked-init %d %d after %lu ms", attempt, started, GetTickCount() - start);
    }
    unlock(0, cookie);
    PumpUntil([] { return IsWindowVisible(FindPluginWindow()) != FALSE; }, AWAIT_MS);
    Report("windows %u", CountPluginWindows());
    return StepResult::Done;
}

// Close requests the plug-in did not start: another program's WM_CLOSE, a
// stray message of the plug-in's private range, and the system menu's close
// (what Alt+F4 sends).
StepResult Close(const Step& step)
{
    HWND window = FindPluginWindow();
    if (!window)
        return Fail(step, "no plug-in window");
    PostMessageW(window, WM_CLOSE, 0, 0);
    PostMessageW(window, WM_APP + 2, 0, 0);
    SendMessageTimeoutW(window, WM_SYSCOMMAND, SC_CLOSE, 0, SMTO_NORMAL, AWAIT_MS, NULL);
    if (!PluginCaughtUp())
        return Fail(step, "the plug-in's window does not answer");
    ReportPluginWindow();
    return StepResult::Done;
}

// The plug-in's window on the screen; false when there is none.
bool PluginWindowArea(RECT* area)
{
    HWND window = FindPluginWindow();
    return window && GetWindowRect(window, area);
}

// Writes `area` of the screen to the step's file once it has settled: a
// cover change may still be fading in.
StepResult CaptureSettled(const Step& step, const RECT& area)
{
    if (!AwaitSettledScreenArea(area))
        return Fail(step, "the frame does not settle");
    if (!CaptureScreenArea(area, step.argument.c_str()))
        return Fail(step, "capture failed");
    Report("capture %s %ld %ld", Utf8Of(step.argument).c_str(), area.right - area.left, area.bottom - area.top);
    return StepResult::Done;
}

StepResult Capture(const Step& step)
{
    RECT area;
    if (!PluginWindowArea(&area))
        return Fail(step, "no plug-in window");
    return CaptureSettled(step, area);
}

// Reads the screen at the centre of the plug-in's window every few
// milliseconds for the step's time: how many colours it went through (a
// fade shows several, a change at once one or two) and the last one.
StepResult SampleCentre(const Step& step)
{
    RECT area;
    if (!PluginWindowArea(&area))
        return Fail(step, "no plug-in window");
    ScopedGetDC screen(NULL);
    COLORREF last = CLR_INVALID;
    int colours = 0;
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < static_cast<DWORD>(step.numbers[0])) {
        COLORREF now = GetPixel(screen.get(), (area.left + area.right) / 2, (area.top + area.bottom) / 2);
        if (now != last) {
            ++colours;
            last = now;
        }
        PumpFor(SAMPLE_INTERVAL_MS);
    }
    Report("centre-colours %d last %02x%02x%02x", colours, GetRValue(last), GetGValue(last), GetBValue(last));
    return StepResult::Done;
}

// The plug-in's window and any open menu, with some of what lies behind them.
StepResult CaptureScene(const Step& step)
{
    RECT area, menus;
    if (!PluginWindowArea(&area))
        return Fail(step, "no plug-in window");
    if (OpenMenusArea(&menus))
        UnionRect(&area, &area, &menus);
    InflateRect(&area, SCENE_MARGIN, SCENE_MARGIN);
    RECT screen = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    IntersectRect(&area, &area, &screen);
    return CaptureSettled(step, area);
}

}  // namespace

StepResult RunStep(const Step& step)
{
    switch (step.kind) {
    case StepKind::Play:
        return Play(step);
    case StepKind::Status:
        hostState.playStatus = step.numbers[0];
        hostState.plugin.callback(hostState.window, EVENT_STATUS);
        return StepResult::Done;
    case StepKind::Event:
        Report("event %d %d", step.numbers[0], hostState.plugin.callback(hostState.window, step.numbers[0]));
        return StepResult::Done;
    case StepKind::Wait:
        PumpFor(static_cast<DWORD>(step.numbers[0]));
        return StepResult::Done;
    case StepKind::Await:
        return Await(step);
    case StepKind::Drag:
    case StepKind::DoubleClick:
    case StepKind::RightClick:
    case StepKind::Press:
        return WithPluginWindow(step);
    case StepKind::Release:
        ReleaseLeft();
        PumpFor(SETTLE_MS);
        return StepResult::Done;
    case StepKind::QuitOn:
        hostState.quitOn = step.argument;
        return StepResult::Done;
    case StepKind::Unload:
        return Unload(step);
    case StepKind::Freeze:
        return Freeze(step);
    case StepKind::Close:
        return Close(step);
    case StepKind::LockedInit:
        return LockedInit(step);
    case StepKind::SampleCentre:
        return SampleCentre(step);
    case StepKind::Visible:
        Report("visible %d", IsWindowVisible(FindPluginWindow()) ? 1 : 0);
        return StepResult::Done;
    case StepKind::Key:
        return Keys(step);
    case StepKind::Rect:
        ReportPluginWindow();
        return StepResult::Done;
    case StepKind::Capture:
        return Capture(step);
    case StepKind::Scene:
        return CaptureScene(step);
    case StepKind::Menu:
        return ReportOpenMenu() ? StepResult::Done : Fail(step, "no menu open");
    case StepKind::Cycle:
        return Cycle(step.numbers[0]);
    case StepKind::Quit:
        return StepResult::Quit;
    }
    return StepResult::Done;
}
