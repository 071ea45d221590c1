#include "cover/cover_locator.h"
#include "state/display_state.h"

void ReleaseCover()
{
    displayState.cover.Release();
}

void RefreshCover()
{
    ReleaseCover();
}

void QueryTrackPath(wchar_t (&path)[TRACK_PATH_CHARS])
{
    path[0] = L'\0';
}

int ChooseCover(const wchar_t*)
{
    return 0;
}

int LoadEmbeddedCover()
{
    return 0;
}

int LoadFolderCover(const wchar_t*)
{
    return 0;
}
