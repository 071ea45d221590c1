#pragma once
#include <stdint.h>

// The audio library's (bass.dll) interface as the host, the plug-in and our
// stand-in all see it: stdcall entry points, 32-bit records and fixed numbers.
// The numbers and the picture record come first and need no Win32, so the
// picture selection and apic-extract share them on Linux too.

// BassChannelInfo::ctype of the streams that carry pictures.
constexpr uint32_t BASS_CTYPE_STREAM_MP3 = 0x10005;   // MPEG layer III
constexpr uint32_t BASS_CTYPE_STREAM_VORBIS = 0x10002;
constexpr uint32_t BASS_CTYPE_STREAM_FLAC = 0x10900;
constexpr uint32_t BASS_CTYPE_STREAM_FLAC_OGG = 0x10901;
constexpr uint32_t BASS_CTYPE_STREAM_OPUS = 0x11200;

// BASS_ChannelGetTags types.
constexpr uint32_t BASS_TAG_ID3V2 = 1;               // the whole ID3v2 block
constexpr uint32_t BASS_TAG_OGG = 2;                 // comments: zero-terminated UTF-8 strings, then an empty one
constexpr uint32_t BASS_TAG_FLAC_PICTURE = 0x12000;  // + n: the file's picture n as a BassTagPicture

// One FLAC picture as the library serves it; its strings and bytes live in the
// library's memory until the channel is freed.
struct BassTagPicture {
    uint32_t apic;         // picture type, as in ID3v2 APIC frames (3: front cover)
    const char* mime;      // zero-terminated
    const char* desc;      // zero-terminated UTF-8
    uint32_t width, height, depth, colors;
    uint32_t length;       // bytes at `data`
    const void* data;
};
#if UINTPTR_MAX == 0xFFFFFFFF
static_assert(sizeof(BassTagPicture) == 36, "nine 32-bit fields on the 32-bit ABI");
#endif

#ifdef _WIN32
#include <windows.h>
#include "state/audio_entry_points.h"

constexpr DWORD BASS_UNICODE = 0x80000000;        // BASS_StreamCreateFile: the file name is UTF-16

// The two a player opens and closes streams with.
typedef DWORD(WINAPI* BassStreamCreateFileFn)(BOOL mem, const void* file, ULONGLONG offset, ULONGLONG length,
                                              DWORD flags);
typedef BOOL(WINAPI* BassStreamFreeFn)(DWORD handle);
#endif
