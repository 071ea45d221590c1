#pragma once
#include "cover/byte_reader.h"
#include "stream_tags.h"

// An Ogg stream at `start` whose first packet identifies Vorbis or Opus: its
// type, rate and channels, and the comment packet (which may span pages) as
// the library serves comments. False when it is neither.
bool ReadOggHeaders(const ByteReader& source, uint64_t start, StreamTags* tags);

// Vorbis comment fields (vendor string, count, then length-prefixed
// comments), as the library serves them: zero-terminated strings with an
// empty one at the end, in a block of malloc's; null when malformed.
char* ServeComments(const uint8_t* bytes, size_t length);
