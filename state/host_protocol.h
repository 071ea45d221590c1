#pragma once
#include <windows.h>
#include <stdint.h>

// The host player's window-message protocol, shared by the plug-in and the sample host.
constexpr wchar_t HOST_WINDOW_CLASS[] = L"Quaver";

constexpr UINT WM_HOST_STATUS = WM_USER + 2;   // 1026: returns the play status
constexpr WPARAM HOST_STATUS_QUERY = 104;
constexpr UINT WM_HOST_INFO = WM_USER + 88;    // 1112
constexpr WPARAM HOST_INFO_PATH = 204;         // lParam: window whose text the host sets to the track path
constexpr WPARAM HOST_INFO_CHANNEL = 503;      // lParam: BASS channel handle that is playing
constexpr WPARAM HOST_CMD_ACTIVATE = 40149;    // WM_COMMAND id posted on double-click

// How long the plug-in waits for the host to answer a query. A host may quit
// from inside its answer and so wait for the plug-in in turn; past this limit
// the query counts as unanswered and the plug-in goes on.
constexpr UINT HOST_QUERY_TIMEOUT_MS = 5000;

// Play statuses after which the cover is cleared.
constexpr LRESULT HOST_STATUS_STOPPED = 0;
constexpr LRESULT HOST_STATUS_PAUSED = 2;

enum HostEvent {
    EVENT_INIT = 0,
    EVENT_QUIT = 1,
    EVENT_TRACK = 2,
    EVENT_STATUS = 3,
};

typedef BOOL(WINAPI* HostMessageHook)(const MSG* msg);
typedef BOOL(WINAPI* HostEventCallback)(HWND hostWindow, int event);

// The record GetGPluginInfo returns; the host reads it only.
struct PluginInfo {
    int32_t reserved;
    HostMessageHook messageHook;
    HostEventCallback eventCallback;
};

typedef PluginInfo*(WINAPI* GetGPluginInfoFn)(void);
