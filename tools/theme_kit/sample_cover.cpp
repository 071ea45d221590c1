#include "tools/theme_kit/sample_cover.h"
#include <stdint.h>
#include "helpers/pictures.h"

namespace {

constexpr int SAMPLE_COVER_SIZE = 300;

// An album-like square: a dusk sky, a low sun cut by stripes, dark hills.
uint32_t SampleCoverPixel(int x, int y)
{
    const int n = SAMPLE_COVER_SIZE;
    const int r = 250 - 130 * y / n, g = 120 + 50 * y / n, b = 90 + 120 * y / n;
    uint32_t colour = 0xFF000000u | (r << 16) | (g << 8) | b;
    const int dx = x - n / 2, dy = y - 3 * n / 5, sun = n / 4;
    const bool stripe = y > n / 2 && ((y - n / 2) / 9) % 2 == 1;
    if (dx * dx + dy * dy <= sun * sun && !stripe)
        colour = 0xFFFFD678u;
    // A ridge line: up to a peak, down into a valley, up again to the right.
    const int peakX = n * 35 / 100, valleyX = n * 60 / 100;
    int ground;
    if (x < peakX)
        ground = n - (n * 45 / 100) * x / peakX;
    else if (x < valleyX)
        ground = n * 55 / 100 + (n * 25 / 100) * (x - peakX) / (valleyX - peakX);
    else
        ground = n * 80 / 100 - (n * 20 / 100) * (x - valleyX) / (n - valleyX);
    if (y > ground)
        colour = 0xFF281E46u;
    return colour;
}

}  // namespace

std::vector<unsigned char> SampleCoverPng()
{
    return EncodePixels(PixelsFrom(SAMPLE_COVER_SIZE, SAMPLE_COVER_SIZE, SampleCoverPixel));
}
