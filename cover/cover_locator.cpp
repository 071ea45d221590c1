#include "cover/cover_locator.h"
#include <shlwapi.h>
#include "cover/embedded_picture.h"
#include "host/host_protocol.h"
#include "state/display_state.h"
#include "state/format_path.h"

namespace {

// The host's answer to the path query may be longer than any path we build.
constexpr int TRACK_PATH_CHARS = 520;

// Asks the host for the current track's path or URL; empty when it does not answer.
void QueryTrackPath(wchar_t (&path)[TRACK_PATH_CHARS])
{
    path[0] = L'\0';
    // The host answers by setting a window's text; a hidden STATIC of ours takes it.
    HWND probe = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, NULL, NULL, displayState.module, NULL);
    if (!probe)
        return;
    SendMessageW(displayState.hostWindow, WM_HOST_INFO, HOST_INFO_PATH, reinterpret_cast<LPARAM>(probe));
    GetWindowTextW(probe, path, TRACK_PATH_CHARS);
    DestroyWindow(probe);
}

int LoadEmbeddedCover()
{
    if (displayState.channel == 0 || displayState.attachedpicture == 0)
        return 0;
    PictureBuffer picture = {NULL, 0};
    ExtractEmbeddedPicture(displayState.channel, &picture);
    if (!picture.data)
        return 0;
    displayState.cover.LoadFromMemory(picture.data, static_cast<uint32_t>(picture.length));
    HeapFree(GetProcessHeap(), 0, picture.data);
    return 1;
}

int LoadCandidate(const wchar_t* folder, const wchar_t* name)
{
    wchar_t candidate[MAX_PATH];
    if (!FormatPath(candidate, L"%s\\%s", folder, name))
        return 0;  // a name that does not fit is skipped, never cut
    return displayState.cover.LoadFromFile(candidate);
}

int LoadFolderCover(const wchar_t* path)
{
    // The path may be longer than any candidate can be; only the folder must fit.
    wchar_t folder[TRACK_PATH_CHARS];
    lstrcpynW(folder, path, TRACK_PATH_CHARS);
    PathRemoveFileSpecW(folder);
    if (lstrlenW(folder) >= MAX_PATH)
        return 0;

    if (LoadCandidate(folder, L"folder.jpg") || LoadCandidate(folder, L"cover.jpg"))
        return 1;

    wchar_t pattern[MAX_PATH];
    if (!FormatPath(pattern, L"%s\\*.jpg", folder))
        return 0;
    WIN32_FIND_DATAW match;
    HANDLE search = FindFirstFileW(pattern, &match);
    if (search == INVALID_HANDLE_VALUE)
        return 0;
    FindClose(search);
    return LoadCandidate(folder, match.cFileName);
}

int ChooseCover(const wchar_t* path)
{
    displayState.coverFromTag = 0;
    int taken = LoadEmbeddedCover();
    displayState.coverFromTag = taken;
    if (taken)
        return 1;
    return LoadFolderCover(path);
}

}  // namespace

void ReleaseCover()
{
    displayState.cover.Release();
}

void RefreshCover()
{
    ReleaseCover();
    wchar_t path[TRACK_PATH_CHARS];
    QueryTrackPath(path);
    // Archive members and URLs come as "container/inner"; the container's folder is wanted.
    wchar_t* lastSlash = StrRChrW(path, NULL, L'/');
    if (lastSlash)
        *lastSlash = L'\0';
    if (PathIsURLW(path))
        return;
    ChooseCover(path);
}
