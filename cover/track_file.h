#pragma once
#include <windows.h>
#include "cover/byte_reader.h"
#include "state/owners.h"

// The playing track's file, read in place for the pictures the audio library
// does not serve. Shared for reading, writing and deleting, because the
// player has it open and a tagger may be saving it; sizes are 64-bit, so
// files over 4 GB read as any other.
class TrackFile : public ByteReader {
public:
    bool Open(const wchar_t* path);
    uint64_t Length() const override { return length; }
    size_t Read(uint64_t position, void* out, size_t count) const override;

private:
    UniqueHandle file;
    uint64_t length = 0;
};
