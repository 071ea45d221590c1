#pragma once
#include <stddef.h>
#include <stdint.h>

// Premultiplied 32-bit BGRA pixels as a frame is composed in them: rows
// `stride` pixels apart, negative for a bottom-up bitmap.
struct FramePixels {
    uint32_t* top;  // the top row's first pixel
    int width, height;
    ptrdiff_t stride;

    uint32_t* Row(int y) const { return top + y * stride; }
};

// Premultiplied `source` (width x height, rows packed) over `target`, its
// top-left corner at (x, y); what falls outside the target is cut off.
void BlendOver(const FramePixels& target, const uint32_t* source, int width, int height, int x, int y);

// Each channel of `target` becomes from + (to - from) * weight / 256; `from`
// and `to` are packed rows of the target's size.
void MixFrames(const FramePixels& target, const uint32_t* from, const uint32_t* to, unsigned weight);

// Every pixel of `target` zero: fully transparent.
void ClearPixels(const FramePixels& target);
