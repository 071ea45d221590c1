#pragma once
#include <windows.h>
#include <stdint.h>

// What every stream that is not MPEG layer III reports as its type.
constexpr DWORD CTYPE_STREAM_OTHER = 0x10002;

// One open stream: what its bytes turned out to be, and its ID3v2 tag block.
struct Channel {
    DWORD handle;  // 0: slot free
    DWORD type;
    DWORD frequency;
    DWORD channels;
    char* tags;    // from the process heap; lives until the channel is freed
};

constexpr int MAX_CHANNELS = 64;

// The host opens and frees channels on its thread while the plug-in reads them
// on its own, so every access goes through these, under one lock.
// Takes ownership of `channel.tags`; returns the new handle, or 0 (and frees
// the tags) when every slot is taken.
DWORD AddChannel(const Channel& channel);
// Copies the channel out; false for an unknown handle.
bool FindChannel(DWORD handle, Channel* out);
bool RemoveChannel(DWORD handle);
void RemoveAllChannels();
