#pragma once
#include <windows.h>

// The audio library's (bass.dll) interface as the host, the plug-in and our
// stand-in all see it: stdcall entry points, 32-bit records and fixed numbers.

// The channel information record: eight 32-bit words.
struct BassChannelInfo {
    DWORD freq, chans, flags, ctype, origres, plugin, sample;
    const char* filename;
};
#ifndef _WIN64
static_assert(sizeof(BassChannelInfo) == 32, "the library's record is eight 32-bit words");
#endif

constexpr DWORD BASS_CTYPE_STREAM_MP3 = 0x10005;  // BassChannelInfo::ctype of MPEG layer III
constexpr DWORD BASS_TAG_ID3V2 = 1;               // BASS_ChannelGetTags: the whole ID3v2 block
constexpr DWORD BASS_UNICODE = 0x80000000;        // BASS_StreamCreateFile: the file name is UTF-16

// The three the plug-in binds.
typedef DWORD(WINAPI* BassGetVersionFn)(void);
typedef BOOL(WINAPI* BassChannelGetInfoFn)(DWORD handle, BassChannelInfo* info);
typedef const char*(WINAPI* BassChannelGetTagsFn)(DWORD handle, DWORD tags);

// The two a player opens and closes streams with.
typedef DWORD(WINAPI* BassStreamCreateFileFn)(BOOL mem, const void* file, ULONGLONG offset, ULONGLONG length,
                                              DWORD flags);
typedef BOOL(WINAPI* BassStreamFreeFn)(DWORD handle);

struct AudioEntryPoints {
    BassGetVersionFn BASS_GetVersion;
    BassChannelGetInfoFn BASS_ChannelGetInfo;
    BassChannelGetTagsFn BASS_ChannelGetTags;
};
