#include "host/plugin_entry.h"
#include <new>
#include <utility>
#include "state/display_state.h"
#include "state/owners.h"
#include "window/display_window.h"

namespace {

// How long EVENT_QUIT waits for the UI thread, first for the window to take
// the quit, then for the thread to end. Longer than a host query's limit, so
// that a host quitting from inside its answer still sees the thread end.
constexpr DWORD UI_THREAD_QUIT_WAIT_MS = 2 * HOST_QUERY_TIMEOUT_MS;
// How long EVENT_INIT waits for the window. A thread held up in its start (a
// host that calls INIT holding the loader lock, which the new thread needs)
// must not hang the player; a window announced later is taken up then.
constexpr DWORD UI_THREAD_START_WAIT_MS = UI_THREAD_QUIT_WAIT_MS;

const PluginInfo pluginInfo = {0, OnHostMessage, OnHostEvent};

// What the UI thread starts from, shared by the host thread that waits for its
// window and the UI thread that announces it: counted, so that an
// announcement made after the host stopped waiting still writes into a record
// that exists.
struct UiThreadStart {
    LONG references;
    HMODULE self;  // a reference to this module, given back as the thread leaves
    UniqueHandle created;
    DisplayWindowStart window;
};

void ReleaseStart(UiThreadStart* start)
{
    if (InterlockedDecrement(&start->references) == 0)
        delete start;
}
using StartReference = Unique<UiThreadStart*, ReleaseStart>;

// The window this copy's UI thread made. Looking the class up by name would
// find another player's copy just as well, and miss ours while it is made.
// Host thread only, like uiThread and pendingStart.
HWND displayWindow;
DWORD uiThreadId;
// The record of the running UI thread's start, until its window is known.
StartReference pendingStart;

DWORD WINAPI UiThreadMain(void* argument)
{
    UiThreadStart* start = static_cast<UiThreadStart*>(argument);
    HMODULE self = start->self;
    DWORD code = static_cast<DWORD>(RunDisplayWindow(displayState.module, &start->window));
    ReleaseStart(start);
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

// Our window while our UI thread still owns it; null before it is announced
// and once it is gone.
HWND OwnDisplayWindow()
{
    if (pendingStart && WaitForSingleObject(pendingStart.get()->created.get(), 0) == WAIT_OBJECT_0) {
        displayWindow = pendingStart.get()->window.window;
        pendingStart.reset();
    }
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
    pendingStart.reset();
    displayState.uiThread.reset();
    uiThreadId = 0;
    displayWindow = NULL;
}

// Returns once the window exists or could not be made, so that the events
// that follow find it and a quick quit has something to close; or, bounded,
// with the thread still starting, which is then treated as one still running.
BOOL StartUiThread(HWND hostWindow)
{
    // A second start would orphan the running thread and its window.
    if (UiThreadRuns())
        return TRUE;
    // The plug-in talks UTF-16 to the host; an ANSI host window cannot take that.
    if (!IsWindowUnicode(hostWindow))
        return FALSE;
    ForgetUiThread();  // one that ended by itself
    StartReference start(new (std::nothrow) UiThreadStart{2, NULL, UniqueHandle(), {}});
    StartReference threadsReference(start.get());
    if (!start)
        return TRUE;
    start.get()->created.reset(CreateEventW(NULL, TRUE, FALSE, NULL));
    start.get()->window.created = start.get()->created.get();
    UniqueModule self;
    if (!start.get()->created || !GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                                                     reinterpret_cast<LPCWSTR>(&UiThreadMain), self.put()))
        return TRUE;
    start.get()->self = self.get();
    displayState.uiThread.reset(CreateThread(NULL, 0, UiThreadMain, start.get(), 0, &uiThreadId));
    if (!displayState.uiThread)
        return TRUE;
    self.release();  // the thread's now, with its reference to the record
    threadsReference.release();
    pendingStart = std::move(start);
    HANDLE waitFor[] = {pendingStart.get()->created.get(), displayState.uiThread.get()};
    WaitDeliveringSentMessages(2, waitFor, UI_THREAD_START_WAIT_MS);
    OwnDisplayWindow();
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
        SendMessageTimeoutW(window, WM_APP_QUIT, uiThreadId, 0, SMTO_NORMAL, UI_THREAD_QUIT_WAIT_MS, NULL);
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
