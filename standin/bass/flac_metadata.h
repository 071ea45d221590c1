#pragma once
#include "cover/byte_reader.h"
#include "stream_tags.h"

// A native FLAC stream at `start` ("fLaC" and its metadata blocks): its rate
// and channels from STREAMINFO, and a record for each well-formed PICTURE block.
bool IsFlacStream(const ByteReader& source, uint64_t start);
bool ReadFlacMetadata(const ByteReader& source, uint64_t start, StreamTags* tags);
