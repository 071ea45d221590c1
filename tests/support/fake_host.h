#pragma once
#include <windows.h>
#include <optional>
#include <string>
#include <vector>
#include "state/owners.h"

// An in-process stand-in for the player's main window (class "Quaver") on the
// calling thread: answers the status and path queries and records what it is
// sent. The thread must pump messages while the plug-in talks to it.
class FakeHost {
public:
    explicit FakeHost(bool unicode = true);
    ~FakeHost();
    FakeHost(const FakeHost&) = delete;
    FakeHost& operator=(const FakeHost&) = delete;

    HWND window() const { return hwnd.get(); }

    LRESULT status = 1;
    std::wstring trackPath;
    int statusQueries = 0;
    std::vector<DWORD> pathQueryTimes;  // GetTickCount at each path query
    std::vector<WPARAM> commands;

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    std::optional<ScopedWindowClass> windowClass;  // outlives the window
    UniqueWindow hwnd;
};

// Waits, pumping this thread's messages, until the plug-in's display window exists.
HWND WaitForDisplayWindow(DWORD timeoutMs = 5000);
