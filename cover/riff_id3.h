#pragma once
#include "cover/container_reader.h"

// WAV ("RIFF"/"WAVE", little-endian chunk sizes, chunk "id3 " or "ID3 ") and
// AIFF or AIFC ("FORM", big-endian sizes, chunk "ID3 "): the chunk holds an
// ID3v2 tag, read by the ID3v2 walker with the MP3 rule, a Latin-1 picture
// first, else one of any encoding. Chunks are padded to an even size.
extern const ContainerReader WAV_READER;
extern const ContainerReader AIFF_READER;
