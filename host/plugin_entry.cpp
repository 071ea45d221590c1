#include "host/plugin_entry.h"
#include "state/display_state.h"
#include "state/owners.h"
#include "window/display_window.h"

namespace {

// How long EVENT_QUIT waits for the UI thread, first for the window to take
// the quit, then for the thread to end. Longer than a host query's limit, so
// that a host quitting from inside its answer still sees the thread end.
constexpr DWORD UI_THREAD_QUIT_WAIT_MS = 2 * HOST_QUERY_TIMEOUT_MS;

const PluginInfo pluginInfo = {0, OnHostMessage, OnHostEvent};

// The window this copy's UI thread made. Looking the class up by name would
// find another player's copy just as well, and miss ours while it is made.
// Host thread only, like uiThread.
HWND displayWindow;
DWORD uiThreadId;

struct UiThreadStart {
    HMODULE self;  // a reference to this module, given back as the thread leaves
    DisplayWindowStart window;
};

DWORD WINAPI UiThreadMain(void* argument)
{
    UiThreadStart* start = static_cast<UiThreadStart*>(argument);
    HMODULE self = start->self;  // the record is gone once the window is announced
    DWORD code = static_cast<DWORD>(RunDisplayWindow(displayState.module, &start->window));
    // Gives the reference back without returning into this module: a host
    // that frees the library without EVENT_QUIT cannot unmap running code.
    FreeLibraryAndExitThread(self, code);
}

DWORD Remaining(DWORD start, DWORD limit)
{
    DWORD spent = GetTickCount() - start;
    return spent < limit ? limit - spent : 0;
}

// Waits for any of `objects` while still delivering the messages that other
// threads send to this one: the UI thread's window activates, shows and goes
// away against the host's window, which lives on this thread. Returns whether
// one was signalled within `timeoutMs`.
bool WaitDeliveringSentMessages(DWORD count, const HANDLE* objects, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    for (;;) {
        DWORD left = timeoutMs == INFINITE ? INFINITE : Remaining(start, timeoutMs);
        DWORD result = MsgWaitForMultipleObjects(count, objects, FALSE, left, QS_SENDMESSAGE);
        if (result != WAIT_OBJECT_0 + count)
            return result < WAIT_OBJECT_0 + count;
        MSG msg;
        PeekMessageW(&msg, NULL, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}

bool UiThreadRuns()
{
    return displayState.uiThread && WaitForSingleObject(displayState.uiThread.get(), 0) == WAIT_TIMEOUT;
}

// Our window while our UI thread still owns it; null once it is gone.
HWND OwnDisplayWindow()
{
    if (!displayWindow || GetWindowThreadProcessId(displayWindow, NULL) != uiThreadId)
        return NULL;
    return displayWindow;
}

// Bounded, and at once for a thread already seen hung: a stuck UI thread must
// not stall the player at every track change. A message that times out is
// still handled once the thread gets to it.
void SendToDisplayWindow(UINT message, WPARAM wParam, LPARAM lParam)
{
    HWND window = OwnDisplayWindow();
    if (window)
        SendMessageTimeoutW(window, message, wParam, lParam, SMTO_NORMAL | SMTO_ABORTIFHUNG, HOST_QUERY_TIMEOUT_MS,
                            NULL);
}

void ForgetUiThread()
{
    displayState.uiThread.reset();
    uiThreadId = 0;
    displayWindow = NULL;
}

// Returns once the window exists or could not be made, so that the events
// that follow find it and a quick quit has something to close.
BOOL StartUiThread(HWND hostWindow)
{
    // A second start would orphan the running thread and its window.
    if (UiThreadRuns())
        return TRUE;
    // The plug-in talks UTF-16 to the host; an ANSI host window cannot take that.
    if (!IsWindowUnicode(hostWindow))
        return FALSE;
    ForgetUiThread();  // one that ended by itself
    UniqueHandle created(CreateEventW(NULL, TRUE, FALSE, NULL));
    UniqueModule self;
    if (!created || !GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                                        reinterpret_cast<LPCWSTR>(&UiThreadMain), self.put()))
        return TRUE;
    UiThreadStart start = {self.get(), {created.get(), NULL}};
    displayState.uiThread.reset(CreateThread(NULL, 0, UiThreadMain, &start, 0, &uiThreadId));
    if (!displayState.uiThread)
        return TRUE;
    self.release();  // the thread's now
    HANDLE waitFor[] = {created.get(), displayState.uiThread.get()};
    WaitDeliveringSentMessages(2, waitFor, INFINITE);
    displayWindow = start.window.window;
    return TRUE;
}

// Bounded: a stuck UI thread must not hang the player. It holds its own
// reference to the module, so the host may unload it all the same.
BOOL StopUiThread()
{
    // Nothing was started (refused or failed INIT): nothing to close or wait for.
    if (!displayState.uiThread)
        return TRUE;
    DWORD start = GetTickCount();
    HWND window = OwnDisplayWindow();
    if (window)
        SendMessageTimeoutW(window, WM_APP_QUIT, 0, 0, SMTO_NORMAL, UI_THREAD_QUIT_WAIT_MS, NULL);
    HANDLE thread = displayState.uiThread.get();
    // A thread still running past the limit is kept, so that a later INIT
    // starts no second one beside it and a later QUIT waits for it again.
    if (WaitDeliveringSentMessages(1, &thread, Remaining(start, UI_THREAD_QUIT_WAIT_MS)))
        ForgetUiThread();
    return TRUE;
}

}  // namespace

extern "C" const PluginInfo* GetGPluginInfo(void)
{
    return &pluginInfo;
}

BOOL WINAPI OnHostEvent(HWND hostWindow, int event)
{
    switch (event) {
    case EVENT_INIT:
        return StartUiThread(hostWindow);
    case EVENT_QUIT:
        return StopUiThread();
    case EVENT_TRACK:
        SendToDisplayWindow(WM_APP, APP_TRACK_CHANGED, 0);
        return TRUE;
    case EVENT_STATUS:
        SendToDisplayWindow(WM_APP, APP_STATUS_CHANGED, 0);
        return TRUE;
    default:
        return TRUE;
    }
}

BOOL WINAPI OnHostMessage(const MSG* msg)
{
    // Only channel announcements matter here; the host's net-radio title
    // changes ("QuaverNetRadioTitleChange") get no reaction, so they are not
    // even registered.
    if (msg->message == WM_HOST_INFO && msg->wParam == HOST_INFO_CHANNEL)
        SendToDisplayWindow(WM_APP_CHANNEL, HOST_INFO_CHANNEL, msg->lParam);
    return FALSE;
}
