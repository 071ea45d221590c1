#pragma once
#include <windows.h>
#include <objidl.h>
#include <stdint.h>
#include "state/picture_buffer.h"

// One encoded picture (PNG or JPEG) held as a seekable stream over a movable
// global block; the stream owns the block (delete-on-release).
class ImageStreamHolder {
public:
    ImageStreamHolder();
    ~ImageStreamHolder();
    ImageStreamHolder(const ImageStreamHolder&) = delete;
    ImageStreamHolder& operator=(const ImageStreamHolder&) = delete;

    // Each load expects an empty holder and returns 1 on success, 0 on failure.
    int LoadFromFile(const wchar_t* path);
    int LoadFromResource(HMODULE module, const wchar_t* name, const wchar_t* type);
    int LoadFromMemory(const void* bytes, uint32_t length);
    void Release();
    // Borrowed: no reference is added; valid until the next Release or load.
    IStream* GetStream() const { return stream; }

private:
    int WrapBlock(HGLOBAL block);

    IStream* stream;
    HGLOBAL memory;
};

// BASS's channel information record: eight 32-bit words.
struct BassChannelInfo {
    DWORD freq, chans, flags, ctype, origres, plugin, sample;
    const char* filename;
};

typedef DWORD(WINAPI* BassGetVersionFn)(void);
typedef BOOL(WINAPI* BassChannelGetInfoFn)(DWORD handle, BassChannelInfo* info);
typedef const char*(WINAPI* BassChannelGetTagsFn)(DWORD handle, DWORD tags);

struct AudioEntryPoints {
    BassGetVersionFn BASS_GetVersion;
    BassChannelGetInfoFn BASS_ChannelGetInfo;
    BassChannelGetTagsFn BASS_ChannelGetTags;
};

struct ImageRect {
    int x, y, width, height;
};

struct DisplayState {
    HMODULE module;
    HANDLE uiThread;
    HWND hostWindow;
    DWORD channel;
    wchar_t pluginDir[MAX_PATH];
    wchar_t themesRoot[MAX_PATH];
    int position;
    int aspectratio;
    int snap;
    int attachedpicture;
    wchar_t theme[MAX_PATH];
    int debug;
    int coverFromTag;
    ImageRect imageRect;
    // Declaration order is construction order at load (background, overlay,
    // cover) and the reverse at unload.
    ImageStreamHolder background;
    ImageStreamHolder overlay;
    ImageStreamHolder cover;
    AudioEntryPoints AudioLibrary;
};

extern DisplayState displayState;
