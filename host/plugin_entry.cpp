#include "host/plugin_entry.h"
#include "state/display_state.h"
#include "window/display_window.h"

namespace {

const PluginInfo pluginInfo = {0, OnHostMessage, OnHostEvent};

// The window this copy's UI thread made. Looking the class up by name would
// find another player's copy just as well, and miss ours while it is made.
// Host thread only, like uiThread.
HWND displayWindow;
DWORD uiThreadId;

DWORD WINAPI UiThreadMain(void* start)
{
    return static_cast<DWORD>(RunDisplayWindow(displayState.module, static_cast<DisplayWindowStart*>(start)));
}

// Waits for any of `objects` while still delivering the messages that other
// threads send to this one: the UI thread's window activates, shows and goes
// away against the host's window, which lives on this thread.
void WaitDeliveringSentMessages(DWORD count, const HANDLE* objects)
{
    while (MsgWaitForMultipleObjects(count, objects, FALSE, INFINITE, QS_SENDMESSAGE) == WAIT_OBJECT_0 + count) {
        MSG msg;
        PeekMessageW(&msg, NULL, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}

bool UiThreadRuns()
{
    return displayState.uiThread && WaitForSingleObject(displayState.uiThread, 0) == WAIT_TIMEOUT;
}

// Our window while our UI thread still owns it; null once it is gone.
HWND OwnDisplayWindow()
{
    if (!displayWindow || GetWindowThreadProcessId(displayWindow, NULL) != uiThreadId)
        return NULL;
    return displayWindow;
}

void SendToDisplayWindow(UINT message, WPARAM wParam, LPARAM lParam)
{
    HWND window = OwnDisplayWindow();
    if (window)
        SendMessageW(window, message, wParam, lParam);
}

void ForgetUiThread()
{
    if (displayState.uiThread)
        CloseHandle(displayState.uiThread);
    displayState.uiThread = NULL;
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
    DisplayWindowStart start = {CreateEventW(NULL, TRUE, FALSE, NULL), NULL};
    if (!start.created)
        return TRUE;
    displayState.uiThread = CreateThread(NULL, 0, UiThreadMain, &start, 0, &uiThreadId);
    if (displayState.uiThread) {
        HANDLE waitFor[] = {start.created, displayState.uiThread};
        WaitDeliveringSentMessages(2, waitFor);
        displayWindow = start.window;
    }
    CloseHandle(start.created);
    return TRUE;
}

BOOL StopUiThread()
{
    // Nothing was started (refused or failed INIT): nothing to close or wait for.
    if (!displayState.uiThread)
        return TRUE;
    HWND window = OwnDisplayWindow();
    if (window)
        SendMessageW(window, WM_CLOSE, 0, 0);
    WaitDeliveringSentMessages(1, &displayState.uiThread);
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
