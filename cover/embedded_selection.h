#pragma once
#include "cover/tag_server.h"
#include "cover/tag_text.h"
#include "state/picture_buffer.h"

// The two places embedded pictures take in the cover search: the Latin-1 APIC
// picture of an MP3 comes before the folder's JPEG files; every other embedded
// picture (APIC frames in UTF-16 or UTF-8, FLAC pictures, the Ogg comments'
// METADATA_BLOCK_PICTURE) only after them, so that no file that showed one
// cover before shows another now.
enum class EmbeddedStep {
    LATIN1_APIC,
    FURTHER_PICTURES,
};

// Copies the step's picture of the served channel into the empty `picture`.
// Returns 1 for a picture of at least one byte, else 0; a zero-byte picture
// leaves data non-null.
int SelectEmbeddedPicture(const TagServer& server, EmbeddedStep step, PictureBuffer* picture);
// The title, artist and album the library serves for the channel (ID3v2
// text frames of an MP3; the comments of FLAC, Vorbis and Opus), offered to
// `text`.
void SelectEmbeddedText(const TagServer& server, TagText* text);
