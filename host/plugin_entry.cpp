#include "host/plugin_entry.h"
#include "state/display_state.h"
#include "window/display_window.h"

namespace {

const PluginInfo pluginInfo = {0, OnHostMessage, OnHostEvent};

DWORD WINAPI UiThreadMain(void*)
{
    return static_cast<DWORD>(RunDisplayWindow(displayState.module));
}

void SendToDisplayWindow(UINT message, WPARAM wParam, LPARAM lParam)
{
    HWND window = FindWindowW(DISPLAY_WINDOW_CLASS, NULL);
    if (window)
        SendMessageW(window, message, wParam, lParam);
}

BOOL StartUiThread(HWND hostWindow)
{
    // The plug-in talks UTF-16 to the host; an ANSI host window cannot take that.
    if (!IsWindowUnicode(hostWindow))
        return FALSE;
    displayState.uiThread = CreateThread(NULL, 0, UiThreadMain, NULL, 0, NULL);
    return TRUE;
}

BOOL StopUiThread()
{
    SendMessageW(FindWindowW(DISPLAY_WINDOW_CLASS, NULL), WM_CLOSE, 0, 0);
    // Nothing was started (refused or failed INIT): nothing to wait for or close.
    if (displayState.uiThread) {
        WaitForSingleObject(displayState.uiThread, INFINITE);
        CloseHandle(displayState.uiThread);
        displayState.uiThread = NULL;
    }
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
