#pragma once
#include <stddef.h>
#include <stdint.h>

// FLAC, Vorbis and Opus files may carry several pictures. The cover is the
// first front cover (picture type 3), else the first picture; a picture whose
// MIME type is "-->" is a link to a file, not data, and is never taken.
constexpr uint32_t PICTURE_TYPE_FRONT_COVER = 3;
constexpr size_t NO_CHOICE = SIZE_MAX;

struct PictureChoice {
    size_t chosen = NO_CHOICE;
    bool final = false;  // a front cover was found: no later picture can win
};

bool IsPictureLink(const char* mime, size_t mimeLength);
// Offers picture `index`; returns true once the choice is final.
bool OfferPicture(PictureChoice* choice, size_t index, uint32_t pictureType, bool isLink);
