#include "render/frame_pixels.h"
#include <string.h>

namespace {

// (value * 255 + ...) / 255 rounded, exact for the products of two bytes.
inline uint32_t DivideBy255(uint32_t value)
{
    value += 128;
    return (value + (value >> 8)) >> 8;
}

inline uint32_t Over(uint32_t source, uint32_t target)
{
    const uint32_t alpha = source >> 24;
    if (alpha == 255)
        return source;
    if (alpha == 0)
        return target;
    const uint32_t keep = 255 - alpha;
    uint32_t result = 0;
    for (int shift = 0; shift < 32; shift += 8)
        result |= (((source >> shift) & 0xFF) + DivideBy255(((target >> shift) & 0xFF) * keep)) << shift;
    return result;
}

inline uint32_t Mix(uint32_t from, uint32_t to, uint32_t weight)
{
    uint32_t result = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        const int a = static_cast<int>((from >> shift) & 0xFF), b = static_cast<int>((to >> shift) & 0xFF);
        result |= static_cast<uint32_t>(a + (b - a) * static_cast<int>(weight) / 256) << shift;
    }
    return result;
}

}  // namespace

void BlendOver(const FramePixels& target, const uint32_t* source, int width, int height, int x, int y)
{
    const int left = x < 0 ? 0 : x, top = y < 0 ? 0 : y;
    const int right = x + width < target.width ? x + width : target.width;
    const int bottom = y + height < target.height ? y + height : target.height;
    for (int row = top; row < bottom; ++row) {
        uint32_t* out = target.Row(row);
        const uint32_t* in = source + static_cast<ptrdiff_t>(row - y) * width + (left - x);
        for (int column = left; column < right; ++column)
            out[column] = Over(*in++, out[column]);
    }
}

void MixFrames(const FramePixels& target, const uint32_t* from, const uint32_t* to, unsigned weight)
{
    for (int row = 0; row < target.height; ++row) {
        uint32_t* out = target.Row(row);
        const ptrdiff_t start = static_cast<ptrdiff_t>(row) * target.width;
        for (int column = 0; column < target.width; ++column)
            out[column] = Mix(from[start + column], to[start + column], weight);
    }
}

void ClearPixels(const FramePixels& target)
{
    for (int row = 0; row < target.height; ++row)
        memset(target.Row(row), 0, static_cast<size_t>(target.width) * sizeof(uint32_t));
}
