#pragma once

constexpr int TRACK_PATH_CHARS = 520;

void ReleaseCover();
// Replaces the cover with the current track's: embedded picture first, then
// the track folder's picture files. URLs get none.
void RefreshCover();
// Asks the host for the current track's path or URL; empty when it does not answer.
void QueryTrackPath(wchar_t (&path)[TRACK_PATH_CHARS]);
int ChooseCover(const wchar_t* path);
int LoadEmbeddedCover();
int LoadFolderCover(const wchar_t* path);
