#pragma once
#include <stddef.h>
#include <stdint.h>

// The theme's background and overlay decoded once after each load (through
// the picture gate, as every decode) into premultiplied 32-bit BGRA rows at
// their own pixel size times the frame's scale (see frame_scale.h), kept
// until the next load or change of scale: a presentation only blends. Both
// are drawn 1:1 from the window's top-left corner.
struct PreparedPicture {
    int width, height;
    const uint32_t* pixels;
};

// Null for an empty holder or a picture that does not decode. Made again
// only when the holder was loaded anew or the scale changed.
const PreparedPicture* PreparedBackground();
const PreparedPicture* PreparedOverlay();
// Frees both (at quit, and between tests).
void ReleasePreparedTheme();
// The bytes both hold now.
size_t PreparedThemeBytes();
