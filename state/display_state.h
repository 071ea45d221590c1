#pragma once
#include <windows.h>
#include "state/audio_entry_points.h"
#include "state/image_stream_holder.h"
#include "state/now_playing.h"
#include "state/owners.h"

struct ImageRect {
    int x, y, width, height;
};

// The one process-wide record. Its field names are the system's own (the
// settings file's keys, the host's vocabulary) and stay as they are.
struct DisplayState {
    HMODULE module;
    UniqueHandle uiThread;
    HWND hostWindow;
    DWORD channel;
    wchar_t pluginDir[MAX_PATH];
    wchar_t themesRoot[MAX_PATH];
    int position;
    int aspectratio;
    int snap;
    int attachedpicture;
    int fade;      // cross-fade cover changes: 0 off, non-zero on
    int autohide;  // hide the window while stopped or paused: 0 off, non-zero on
    int opacity;   // percent; outside 10..100 the window is drawn opaque
    wchar_t theme[MAX_PATH];
    int debug;
    int coverFromTag;
    ImageRect imageRect;
    // Declaration order is construction order at load (background, overlay,
    // cover) and the reverse at unload.
    ImageStreamHolder background;
    ImageStreamHolder overlay;
    ImageStreamHolder cover;
    NowPlaying nowPlaying;
    AudioEntryPoints AudioLibrary;
};

extern DisplayState displayState;
