#pragma once
#include <windows.h>

// The three audio library (bass.dll) entry points the plug-in binds, with the
// channel record one of them fills: stdcall, 32-bit records.

// The channel information record: eight 32-bit words.
struct BassChannelInfo {
    DWORD freq, chans, flags, ctype, origres, plugin, sample;
    const char* filename;
};
#ifndef _WIN64
static_assert(sizeof(BassChannelInfo) == 32, "the library's record is eight 32-bit words");
#endif

typedef DWORD(WINAPI* BassGetVersionFn)(void);
typedef BOOL(WINAPI* BassChannelGetInfoFn)(DWORD handle, BassChannelInfo* info);
typedef const char*(WINAPI* BassChannelGetTagsFn)(DWORD handle, DWORD tags);

struct AudioEntryPoints {
    BassGetVersionFn BASS_GetVersion;
    BassChannelGetInfoFn BASS_ChannelGetInfo;
    BassChannelGetTagsFn BASS_ChannelGetTags;
};
