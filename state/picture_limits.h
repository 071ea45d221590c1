#pragma once
#include <stdint.h>

// The most bytes one cover picture may have, embedded or in a file. The player
// is a 32-bit process: a picture is held once in encoded form, and covers of
// 3000 x 3000 pixels (a few MB as JPEG, up to about 20 MB as PNG) must still
// show. Anything larger is treated as no picture and never read whole.
constexpr uint32_t LARGEST_PICTURE_BYTES = 32u << 20;
