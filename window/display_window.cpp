#include "window/display_window.h"
#include <shlwapi.h>
#include "cover/audio_binding.h"
#include "cover/cover_locator.h"
#include "render/cover_fade.h"
#include "render/frame.h"
#include "render/frame_scale.h"
#include "render/prepared_cover.h"
#include "render/prepared_theme.h"
#include "render/theme.h"
#include "render/theme_files.h"
#include "render/window_canvas.h"
#include "state/com_session.h"
#include "state/display_state.h"
#include "state/format_path.h"
#include "state/gdiplus_session.h"
#include "state/host_protocol.h"
#include "state/owners.h"
#include "window/commands.h"
#include "window/context_menu.h"
#include "window/dpi.h"
#include "window/screens.h"
#include "window/settings.h"
#include "window/snap.h"
#include "window/zorder.h"

namespace {

// Set when a stop or pause took the cover away, so that playing again brings
// the current track's cover back.
bool coverClearedByStatus;

void LocatePluginFolders()
{
    GetModuleFileNameW(displayState.module, displayState.pluginDir, MAX_PATH);
    PathRemoveFileSpecW(displayState.pluginDir);
    FormatPath(displayState.themesRoot, L"%s\\%s", displayState.pluginDir, THEMES_FOLDER_NAME);
}

// The player that loaded us: with two players running, the first "Quaver"
// window on the desktop may well be the other one's.
HWND FindHostWindow()
{
    for (HWND candidate = FindWindowExW(NULL, NULL, HOST_WINDOW_CLASS, NULL); candidate;
         candidate = FindWindowExW(NULL, candidate, HOST_WINDOW_CLASS, NULL)) {
        DWORD process = 0;
        GetWindowThreadProcessId(candidate, &process);
        if (process == GetCurrentProcessId())
            return candidate;
    }
    return FindWindowW(HOST_WINDOW_CLASS, NULL);
}

LRESULT OnCreate(HWND window)
{
    coverClearedByStatus = false;
    BindAudioLibrary();
    displayState.hostWindow = FindHostWindow();
    LocatePluginFolders();
    LoadSettings(window);
    ApplyZOrder(window, displayState.position);
    SetFrameDpi(WindowDpi(window));
    LoadTheme(window);
    // After the theme: the window's own size decides whether it shows.
    KeepOnAMonitor(window);
    PresentFrame(window);
    return 0;
}

void OnDestroy(HWND window)
{
    KillTimer(window, STATUS_TIMER_ID);
    KillTimer(window, TRACK_TIMER_ID);
    StopFade(window);
    SaveSettings(window);
    ReleasePreparedCover();
    ReleasePreparedTheme();
    ReleaseWindowCanvas();
    PostQuitMessage(0);
}

enum class PlayState { UNKNOWN, IDLE, PLAYING };

// A status the host does not give in time (or with no host window) is
// unknown, and leaves the cover as it is.
PlayState QueryPlayState()
{
    DWORD_PTR answer = 0;
    if (!SendMessageTimeoutW(displayState.hostWindow, WM_HOST_STATUS, HOST_STATUS_QUERY, 0, SMTO_NORMAL,
                             HOST_QUERY_TIMEOUT_MS, &answer))
        return PlayState::UNKNOWN;
    LRESULT status = static_cast<LRESULT>(answer);
    return status == HOST_STATUS_STOPPED || status == HOST_STATUS_PAUSED ? PlayState::IDLE : PlayState::PLAYING;
}

void RestartTimer(HWND window, UINT_PTR id)
{
    KillTimer(window, id);
    SetTimer(window, id, DEBOUNCE_MS, NULL);
}

void OnTimer(HWND window, UINT_PTR id)
{
    if (id == STATUS_TIMER_ID) {
        KillTimer(window, STATUS_TIMER_ID);
        if (QueryPlayState() != PlayState::IDLE)
            return;
        ReleaseCover();
        coverClearedByStatus = true;
        if (displayState.autohide)
            HideWindowWhenIdle(window);
        else
            PresentCoverChange(window);
    } else if (id == TRACK_TIMER_ID) {
        KillTimer(window, TRACK_TIMER_ID);
        RefreshCover();
        coverClearedByStatus = false;
        PresentCoverChange(window);
    } else if (id == FADE_TIMER_ID) {
        AdvanceFade(window);
    }
}

void OnHostNotification(HWND window, WPARAM what)
{
    if (what == APP_TRACK_CHANGED) {
        RestartTimer(window, TRACK_TIMER_ID);
        return;
    }
    if (what != APP_STATUS_CHANGED)
        return;
    const PlayState state = QueryPlayState();
    if (state == PlayState::IDLE)
        RestartTimer(window, STATUS_TIMER_ID);
    else if (state == PlayState::PLAYING && coverClearedByStatus)
        RestartTimer(window, TRACK_TIMER_ID);  // playing again: the cover comes back as after a track change
}

void SnapProposedPosition(HWND window, WINDOWPOS* pos)
{
    WINDOWPOS proposed = *pos;
    // A move without a size change carries no usable size in the record; the
    // right and bottom edge tests need the size the window keeps.
    if (pos->flags & SWP_NOSIZE) {
        RECT current;
        GetWindowRect(window, &current);
        proposed.cx = current.right - current.left;
        proposed.cy = current.bottom - current.top;
    }
    // The monitor the window mostly lies on decides: its own edges and
    // taskbar, never the primary monitor's.
    RECT rect = {proposed.x, proposed.y, proposed.x + proposed.cx, proposed.y + proposed.cy};
    SnapToWorkArea(&proposed, WorkAreaUnder(rect), ScaleToFrame(SNAP_DISTANCE));
    pos->x = proposed.x;
    pos->y = proposed.y;
}

LRESULT OnWindowPosChanging(HWND window, WINDOWPOS* pos, WPARAM wParam, LPARAM lParam)
{
    if (displayState.snap && !(pos->flags & SWP_NOMOVE))
        SnapProposedPosition(window, pos);
    if (PinnedToBottom(displayState.position)) {
        pos->hwndInsertAfter = HWND_BOTTOM;
        return 0;
    }
    return DefWindowProcW(window, WM_WINDOWPOSCHANGING, wParam, lParam);
}

// Moved onto a monitor of another DPI: the frame is made again at the new
// scale where the system suggests, and shows at once.
void OnDpiChanged(HWND window, int dpi, const RECT* suggested)
{
    SetFrameDpi(dpi);
    SetWindowPos(window, NULL, suggested->left, suggested->top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    LoadTheme(window);
    PresentFrame(window);
}

void StartDrag(HWND window)
{
    SendMessageW(window, WM_NCLBUTTONDOWN, HTCAPTION, 0);
}

void OnDoubleClick(HWND window, WPARAM keys)
{
    // Posted: a host that quits from the command's handler would otherwise wait
    // for this thread while this thread waits for it. A null window would post
    // to this thread's own queue.
    if (keys != MK_LBUTTON)
        StartDrag(window);
    else if (displayState.hostWindow)
        PostMessageW(displayState.hostWindow, WM_COMMAND, HOST_CMD_ACTIVATE, 0);
}

void Announce(DisplayWindowStart* start, HWND window)
{
    if (!start)
        return;
    start->window = window;
    SetEvent(start->created);
}

// Under Wine the modal loops of the context menu and of a drag swallow the
// WM_QUIT that WM_DESTROY posts when the window goes while they run, so the
// loop also ends once the window is gone.
int RunMessageLoop(HWND window)
{
    MSG msg = {};
    while (IsWindow(window)) {
        BOOL got = GetMessageW(&msg, NULL, 0, 0);
        if (got == 0 || got == -1)
            return static_cast<int>(msg.wParam);
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;  // the code WM_DESTROY posted
}

int RunWindow(HINSTANCE module, DisplayWindowStart* start)
{
    WNDCLASSW windowClass = {};
    windowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
    windowClass.lpfnWndProc = DisplayWindowProc;
    windowClass.hInstance = module;
    windowClass.hIcon = LoadIconW(NULL, IDI_APPLICATION);
    windowClass.hCursor = LoadCursorW(NULL, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = DISPLAY_WINDOW_CLASS;
    ScopedWindowClass registered(windowClass);
    if (!registered) {
        Announce(start, NULL);
        return -1;
    }

    // Normally gone through WM_APP_QUIT before the loop ends; a stray WM_QUIT
    // leaves it to the owner, so it is still saved and the class can go.
    UniqueWindow window(CreateWindowExW(WS_EX_LAYERED | WS_EX_TOOLWINDOW | WS_EX_TOPMOST, DISPLAY_WINDOW_CLASS,
                                        DISPLAY_WINDOW_CLASS, WS_POPUP, 0, 0, 200, 200, NULL, NULL, module, NULL));
    // Before ShowWindow: showing activates against the host's window, whose
    // thread may be the one waiting for this.
    Announce(start, window.get());
    if (!window)
        return -1;
    ShowWindow(window.get(), SW_SHOW);
    int code = RunMessageLoop(window.get());
    if (!IsWindow(window.get()))
        window.release();  // already destroyed by the quit
    return code;
}

}  // namespace

LRESULT CALLBACK DisplayWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        return OnCreate(window);
    case WM_DESTROY:
        OnDestroy(window);
        return 0;
    case WM_WINDOWPOSCHANGING:
        return OnWindowPosChanging(window, reinterpret_cast<WINDOWPOS*>(lParam), wParam, lParam);
    case WM_COMMAND:
        OnCommand(window, LOWORD(wParam));
        return 0;
    case WM_TIMER:
        OnTimer(window, wParam);
        return 0;
    case WM_LBUTTONDOWN:
        StartDrag(window);
        return 0;
    case WM_LBUTTONDBLCLK:
        OnDoubleClick(window, wParam);
        return 0;
    case WM_APP_QUIT:
        if (wParam != GetCurrentThreadId())
            return 0;
        // A quit can arrive while the context menu tracks; the menu goes first.
        EndMenu();
        DestroyWindow(window);
        return 0;
    case WM_CLOSE:
        // Alt+F4, SC_CLOSE or another program's WM_CLOSE: closing would take
        // the cover away for the rest of the player's session. Only the
        // plug-in's own quit ends the window.
        return 0;
    case WM_RBUTTONUP:
        ShowContextMenu(window);
        return 0;
    case WM_MBUTTONUP:
        return 0;
    case WM_APP:
        OnHostNotification(window, wParam);
        return 0;
    case WM_DISPLAYCHANGE:
    case WM_SETTINGCHANGE:
        OnScreensChanged(window, message, wParam);
        return DefWindowProcW(window, message, wParam, lParam);
    case WM_DPICHANGED:
        OnDpiChanged(window, LOWORD(wParam), reinterpret_cast<const RECT*>(lParam));
        return 0;
    case WM_APP_CHANNEL:
        if (wParam == HOST_INFO_CHANNEL)
            displayState.channel = static_cast<DWORD>(lParam);
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

int RunDisplayWindow(HINSTANCE module, DisplayWindowStart* start)
{
    // Before the window exists: its DPI is then the monitor's own.
    RequestPerMonitorAwarenessForThisThread();
    ComSession com;
    GdiplusSession gdiplus;
    return RunWindow(module, start);
}
