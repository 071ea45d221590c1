#pragma once
#include "cover/byte_reader.h"
#include "stream_tags.h"

// An Ogg stream at `start` whose first packet identifies Vorbis or Opus: its
// type, rate and channels, and the comment packet (which may span pages) as
// the library serves comments. False when it is neither.
bool ReadOggHeaders(const ByteReader& source, uint64_t start, StreamTags* tags);
