#include "cover/cover_locator.h"
#include <shlwapi.h>
#include <utility>
#include "cover/embedded_picture.h"
#include "state/display_state.h"
#include "state/format_path.h"
#include "state/host_protocol.h"
#include "state/owners.h"

namespace {

// The host's answer to the path query may be longer than any path we build.
constexpr int TRACK_PATH_CHARS = 520;

// Asks the host for the current track's path or URL; false when it does not
// answer in time (or there is no host window).
bool QueryTrackPath(wchar_t (&path)[TRACK_PATH_CHARS])
{
    path[0] = L'\0';
    // The host answers by setting a window's text; a hidden STATIC of ours takes it.
    UniqueWindow probe(CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, NULL, NULL, displayState.module, NULL));
    if (!probe)
        return false;
    if (!SendMessageTimeoutW(displayState.hostWindow, WM_HOST_INFO, HOST_INFO_PATH,
                             reinterpret_cast<LPARAM>(probe.get()), SMTO_NORMAL, HOST_QUERY_TIMEOUT_MS, NULL))
        return false;
    GetWindowTextW(probe.get(), path, TRACK_PATH_CHARS);
    return true;
}

// Picture files of one kind in the track's folder: the two names in order,
// then the first match of the pattern.
struct FolderPictureKind {
    const wchar_t* names[2];
    const wchar_t* pattern;
};
constexpr FolderPictureKind FOLDER_JPEG = {{L"folder.jpg", L"cover.jpg"}, L"%s\\*.jpg"};
constexpr FolderPictureKind FOLDER_PNG = {{L"folder.png", L"cover.png"}, L"%s\\*.png"};

// For a local file, its size: no tag the library read from it can be longer.
// SIZE_MAX when the path names no file (a URL, an archive member, a stream).
size_t TrackFileBound(const wchar_t* path)
{
    WIN32_FILE_ATTRIBUTE_DATA attributes;
    if (StrChrW(path, L'/') || PathIsURLW(path) || !GetFileAttributesExW(path, GetFileExInfoStandard, &attributes) ||
        (attributes.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return SIZE_MAX;
    ULONGLONG size = static_cast<ULONGLONG>(attributes.nFileSizeHigh) << 32 | attributes.nFileSizeLow;
    return size < SIZE_MAX ? static_cast<size_t>(size) : SIZE_MAX;
}

int LoadEmbeddedCover(EmbeddedStep step, size_t readBound)
{
    if (displayState.channel == 0 || displayState.attachedpicture == 0)
        return 0;
    PictureBuffer picture;
    ExtractEmbeddedPicture(displayState.channel, &picture, step, readBound);
    if (!picture.data())
        return 0;
    // The holder takes the block over: the picture's bytes are held once.
    displayState.cover.AdoptPicture(std::move(picture));
    return 1;
}

int LoadCandidate(const wchar_t* folder, const wchar_t* name)
{
    wchar_t candidate[MAX_PATH];
    if (!FormatPath(candidate, L"%s\\%s", folder, name))
        return 0;  // a name that does not fit is skipped, never cut
    return displayState.cover.LoadFromFile(candidate);
}

int LoadFolderCover(const wchar_t* path, const FolderPictureKind& kind)
{
    // The path may be longer than any candidate can be; only the folder must fit.
    wchar_t folder[TRACK_PATH_CHARS];
    lstrcpynW(folder, path, TRACK_PATH_CHARS);
    PathRemoveFileSpecW(folder);
    if (lstrlenW(folder) >= MAX_PATH)
        return 0;

    for (const wchar_t* name : kind.names) {
        if (LoadCandidate(folder, name))
            return 1;
    }
    wchar_t pattern[MAX_PATH];
    if (!FormatPath(pattern, kind.pattern, folder))
        return 0;
    WIN32_FIND_DATAW match;
    UniqueFind search(FindFirstFileW(pattern, &match));
    if (!search)
        return 0;
    search.reset();
    return LoadCandidate(folder, match.cFileName);
}

// The search as it always was (Latin-1 APIC picture, then the JPEG files) runs
// first; the sources added later only fill a slot that it leaves empty.
int ChooseCover(const wchar_t* path, size_t readBound)
{
    displayState.coverFromTag = 0;
    if (LoadEmbeddedCover(EmbeddedStep::LATIN1_APIC, readBound)) {
        displayState.coverFromTag = 1;
        return 1;
    }
    if (LoadFolderCover(path, FOLDER_JPEG))
        return 1;
    if (LoadEmbeddedCover(EmbeddedStep::FURTHER_PICTURES, readBound)) {
        displayState.coverFromTag = 1;
        return 1;
    }
    return LoadFolderCover(path, FOLDER_PNG);
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
    // Without an answer nothing is known of the track, so it gets no cover.
    if (!QueryTrackPath(path))
        return;
    size_t readBound = TrackFileBound(path);
    // Archive members and URLs come as "container/inner"; the container's folder is wanted.
    wchar_t* lastSlash = StrRChrW(path, NULL, L'/');
    if (lastSlash)
        *lastSlash = L'\0';
    if (PathIsURLW(path))
        return;
    ChooseCover(path, readBound);
}
