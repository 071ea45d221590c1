#pragma once
#include <stdint.h>

// The most bytes one cover picture may have, embedded or in a file. The player
// is a 32-bit process: a picture is held once in encoded form, and covers of
// 3000 x 3000 pixels (a few MB as JPEG, up to about 20 MB as PNG) must still
// show. Anything larger is treated as no picture and never read whole.
constexpr uint32_t LARGEST_PICTURE_BYTES = 32u << 20;

// The most pixels one picture (a cover, a theme's background or overlay) may
// decode to: 4096 x 4096, 64 MB at four bytes a pixel, wider than any screen
// a theme is shown on. Covers of 3000 x 3000 (36 MB decoded) stay well
// inside, and a second decoded copy made while scaling still fits a 32-bit
// player's space.
constexpr uint32_t LARGEST_PICTURE_SIDE = 4096;
constexpr uint64_t LARGEST_PICTURE_PIXELS = uint64_t{LARGEST_PICTURE_SIDE} * LARGEST_PICTURE_SIDE;
