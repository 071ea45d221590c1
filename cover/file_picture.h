#pragma once
#include "cover/byte_reader.h"
#include "cover/tag_text.h"
#include "state/picture_buffer.h"

// The cover of a file whose container the audio library serves no picture
// for (MP4, ASF, WAV, AIFF, and APEv2 tags at the end of any file), told by
// the file's content, never by its name. Copies it into the empty `picture`;
// 1 for a picture of at least one byte, else 0.
int ReadPictureFromFile(const ByteReader& file, PictureBuffer* picture);
// The title, artist and album those containers hold, offered to `text`.
void ReadTextFromFile(const ByteReader& file, TagText* text);
