#pragma once
#include <windows.h>
#include <stdint.h>
#include "stream_tags.h"

// One open stream: what its bytes turned out to be, and its tags.
struct Channel {
    DWORD handle;     // 0: slot free
    StreamTags tags;  // lives until the channel is freed
};

constexpr int MAX_CHANNELS = 64;

// The host opens and frees channels on its thread while the plug-in reads them
// on its own, so every access goes through these, under one lock.
// Takes ownership of `channel.tags`; returns the new handle, or 0 (and frees
// the tags) when every slot is taken. A found channel's tag pointers stay
// valid until the channel is removed.
DWORD AddChannel(const Channel& channel);
// Copies the channel out; false for an unknown handle.
bool FindChannel(DWORD handle, Channel* out);
bool RemoveChannel(DWORD handle);
void RemoveAllChannels();
