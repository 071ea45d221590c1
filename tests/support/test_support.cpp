#include "support/test_support.h"
#include <stdio.h>
#include "render/prepared_cover.h"
#include "render/prepared_theme.h"
#include "render/window_canvas.h"
#include "state/display_state.h"
#include "window/settings_path.h"

Watchdog::Watchdog(const char* what, DWORD timeoutMs)
    : what(what), timeoutMs(timeoutMs), done(CreateEventW(NULL, TRUE, FALSE, NULL)),
      thread(CreateThread(NULL, 0, Watch, this, 0, NULL))
{
}

Watchdog::~Watchdog()
{
    SetEvent(done.get());
    WaitForSingleObject(thread.get(), INFINITE);
}

DWORD WINAPI Watchdog::Watch(void* self)
{
    Watchdog* dog = static_cast<Watchdog*>(self);
    if (WaitForSingleObject(dog->done.get(), dog->timeoutMs) == WAIT_TIMEOUT) {
        fprintf(stderr, "hung for %lu ms: %s\n", static_cast<unsigned long>(dog->timeoutMs), dog->what);
        fflush(stderr);
        TerminateProcess(GetCurrentProcess(), 3);
    }
    return 0;
}

std::wstring WindowsPathOf(const char* unixPath)
{
    std::wstring path = WideOf(unixPath);
    for (wchar_t& c : path)
        c = (c == L'/') ? L'\\' : c;
    return L"Z:" + path;
}

std::wstring BinDir()
{
    return WindowsPathOf(COVERDECK_BIN_DIR);
}

std::wstring SourceDir()
{
    return WindowsPathOf(COVERDECK_SOURCE_DIR);
}

std::wstring TestSettingsPath()
{
    wchar_t program[MAX_PATH];
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(NULL, program, MAX_PATH);
    SettingsPathOf(program, path);
    return path;
}

void RemoveTestSettingsFile()
{
    const std::wstring path = TestSettingsPath();
    // A case may leave it read-only.
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(path.c_str());
}

void ResetDisplayState()
{
    displayState.background.Release();
    displayState.overlay.Release();
    displayState.cover.Release();
    ReleasePreparedCover();
    ReleasePreparedTheme();
    ReleaseWindowCanvas();
    displayState.module = GetModuleHandleW(NULL);
    displayState.uiThread.reset();
    displayState.hostWindow = NULL;
    displayState.channel = 0;
    displayState.pluginDir[0] = L'\0';
    displayState.themesRoot[0] = L'\0';
    displayState.position = 0;
    displayState.aspectratio = 0;
    displayState.snap = 0;
    displayState.attachedpicture = 0;
    // Covers change at once unless a case asks for the fade.
    displayState.fade = 0;
    displayState.autohide = 0;
    displayState.opacity = 100;
    displayState.theme[0] = L'\0';
    displayState.debug = 0;
    displayState.coverFromTag = 0;
    displayState.imageRect = ImageRect{};
    displayState.AudioLibrary = AudioEntryPoints{};
}
