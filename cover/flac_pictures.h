#pragma once
#include "cover/tag_server.h"
#include "state/picture_buffer.h"

// Asks for the library's FLAC picture records 0, 1, ... until one is null (at
// most MAX_FLAC_PICTURES), chooses one (see picture_choice.h) and copies its
// bytes into the empty `picture`. A record whose
// picture is larger than LARGEST_PICTURE_BYTES or than the file is skipped.
// Returns 1 for a picture of at least one byte, else 0; `served` tells whether
// any record was there.
constexpr uint32_t MAX_FLAC_PICTURES = 64;
int ExtractFlacPicture(const TagServer& server, PictureBuffer* picture, bool* served);
