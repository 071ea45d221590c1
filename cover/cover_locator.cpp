#include "cover/cover_locator.h"
#include <shlwapi.h>
#include <utility>
#include "cover/embedded_picture.h"
#include "cover/file_picture.h"
#include "cover/now_playing_text.h"
#include "cover/track_file.h"
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

// The track's path, and what is known of it before anything is read.
struct Track {
    const wchar_t* path;
    const wchar_t* folderPath;  // the path, or for an archive member or a URL its container
    bool localFile;             // the path names a file of this machine
    size_t readBound;           // the local file's size (no tag in it is longer), else SIZE_MAX
};

// Whether the path names a local file, and its size.
void DescribeTrackFile(Track* track)
{
    const wchar_t* path = track->path;
    WIN32_FILE_ATTRIBUTE_DATA attributes;
    if (StrChrW(path, L'/') || PathIsURLW(path) || !GetFileAttributesExW(path, GetFileExInfoStandard, &attributes) ||
        (attributes.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return;
    track->localFile = true;
    ULONGLONG size = static_cast<ULONGLONG>(attributes.nFileSizeHigh) << 32 | attributes.nFileSizeLow;
    track->readBound = size < SIZE_MAX ? static_cast<size_t>(size) : SIZE_MAX;
}

int ShowEmbeddedPicture(PictureBuffer picture)
{
    if (!picture.data())
        return 0;
    // The holder takes the block over: the picture's bytes are held once.
    displayState.cover.AdoptPicture(std::move(picture));
    displayState.coverFromTag = 1;
    return 1;
}

int LoadEmbeddedCover(EmbeddedStep step, const Track& track)
{
    if (displayState.channel == 0 || displayState.attachedpicture == 0)
        return 0;
    PictureBuffer picture;
    ExtractEmbeddedPicture(displayState.channel, &picture, step, track.readBound);
    return ShowEmbeddedPicture(std::move(picture));
}

// The containers the audio library serves no picture for, read from the
// track's file itself; no channel is needed.
int LoadFileCover(const Track& track)
{
    TrackFile file;
    if (!track.localFile || displayState.attachedpicture == 0 || !file.Open(track.path))
        return 0;
    PictureBuffer picture;
    ReadPictureFromFile(file, &picture);
    return ShowEmbeddedPicture(std::move(picture));
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
int ChooseCover(const Track& track)
{
    displayState.coverFromTag = 0;
    return LoadEmbeddedCover(EmbeddedStep::LATIN1_APIC, track) || LoadFolderCover(track.folderPath, FOLDER_JPEG) ||
           LoadEmbeddedCover(EmbeddedStep::FURTHER_PICTURES, track) || LoadFileCover(track) ||
           LoadFolderCover(track.folderPath, FOLDER_PNG);
}

}  // namespace

void ReleaseCover()
{
    displayState.cover.Release();
    displayState.nowPlaying = NowPlaying();
}

void RefreshCover()
{
    ReleaseCover();
    wchar_t path[TRACK_PATH_CHARS];
    // Without an answer nothing is known of the track, so it gets no cover.
    if (!QueryTrackPath(path))
        return;
    // Archive members and URLs come as "container/inner"; the container's folder is wanted.
    wchar_t folderPath[TRACK_PATH_CHARS];
    lstrcpynW(folderPath, path, TRACK_PATH_CHARS);
    wchar_t* lastSlash = StrRChrW(folderPath, NULL, L'/');
    if (lastSlash)
        *lastSlash = L'\0';
    if (PathIsURLW(folderPath))
        return;
    Track track = {path, folderPath, false, SIZE_MAX};
    DescribeTrackFile(&track);
    ReadNowPlayingText(path, track.localFile, track.readBound);
    ChooseCover(track);
}
