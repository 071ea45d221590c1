#include "tools/theme_kit/png_files.h"
#include "render/gdiplus_flat.h"

namespace {

// GDI+'s built-in PNG encoder.
const CLSID PNG_ENCODER = {0x557CF406, 0x1A04, 0x11D3, {0x9A, 0x73, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
constexpr int SAMPLE_COVER_SIZE = 300;

GpBitmap* BitmapOf(const Pixels& pixels)
{
    GpBitmap* bitmap = NULL;
    GdipCreateBitmapFromScan0(pixels.width, pixels.height, pixels.width * 4, PixelFormat32bppARGB,
                              reinterpret_cast<BYTE*>(const_cast<uint32_t*>(pixels.argb.data())), &bitmap);
    return bitmap;
}

}  // namespace

bool WritePng(const std::wstring& path, const Pixels& pixels)
{
    GpBitmap* bitmap = BitmapOf(pixels);
    if (!bitmap)
        return false;
    const bool saved = GdipSaveImageToFile(bitmap, path.c_str(), &PNG_ENCODER, NULL) == Gdiplus::Ok;
    GdipDisposeImage(bitmap);
    return saved;
}

namespace {

std::vector<unsigned char> EncodePng(GpBitmap* bitmap)
{
    std::vector<unsigned char> bytes;
    IStream* stream = NULL;
    if (CreateStreamOnHGlobal(NULL, TRUE, &stream) != S_OK)
        return bytes;
    HGLOBAL block = NULL;
    if (GdipSaveImageToStream(bitmap, stream, &PNG_ENCODER, NULL) == Gdiplus::Ok &&
        GetHGlobalFromStream(stream, &block) == S_OK) {
        STATSTG stat = {};
        stream->Stat(&stat, STATFLAG_NONAME);
        const void* data = GlobalLock(block);
        if (data) {
            const unsigned char* first = static_cast<const unsigned char*>(data);
            bytes.assign(first, first + stat.cbSize.LowPart);
            GlobalUnlock(block);
        }
    }
    stream->Release();
    return bytes;
}

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
    Pixels cover;
    cover.width = cover.height = SAMPLE_COVER_SIZE;
    cover.argb.resize(static_cast<size_t>(SAMPLE_COVER_SIZE) * SAMPLE_COVER_SIZE);
    for (int y = 0; y < SAMPLE_COVER_SIZE; ++y)
        for (int x = 0; x < SAMPLE_COVER_SIZE; ++x)
            cover.argb[static_cast<size_t>(y) * SAMPLE_COVER_SIZE + x] = SampleCoverPixel(x, y);
    GpBitmap* bitmap = BitmapOf(cover);
    std::vector<unsigned char> bytes;
    if (bitmap) {
        bytes = EncodePng(bitmap);
        GdipDisposeImage(bitmap);
    }
    return bytes;
}
