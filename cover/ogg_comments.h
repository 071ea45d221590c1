#pragma once
#include <stddef.h>
#include "cover/tag_text.h"
#include "state/picture_buffer.h"

// The comments of an Ogg Vorbis, Opus or FLAC-in-Ogg stream as the audio
// library serves them: zero-terminated UTF-8 strings, the last one empty.
// Reads no more than `readBound` bytes of them (the track file's size when it
// is a local file, which no comment can outgrow) and copies the chosen
// METADATA_BLOCK_PICTURE picture (see picture_choice.h) into the empty
// `picture`. Returns 1 for a picture of at least one byte, else 0.
int ExtractPictureFromComments(const char* comments, size_t readBound, PictureBuffer* picture);
// TITLE, ARTIST and ALBUM of the same comments, offered to `text`.
void ReadTextFromComments(const char* comments, size_t readBound, TagText* text);
