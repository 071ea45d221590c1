#pragma once
#include <stddef.h>
#include <stdint.h>

// What the audio library serves for the playing channel: its type and, by tag
// type, a bare pointer into memory the library owns (or null). The plug-in
// fills it from bass.dll; apic-extract from a file read as our stand-in reads it.
struct TagServer {
    uint32_t channelType;
    const char* (*tags)(const void* context, uint32_t tagType);
    const void* context;
    // Bytes a served ID3v2 block or comment series can hold at most: the
    // track file's size when it is a local file, else SIZE_MAX.
    size_t readBound;

    const char* Tags(uint32_t tagType) const { return tags(context, tagType); }
};
