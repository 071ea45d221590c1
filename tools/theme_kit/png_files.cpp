#include "tools/theme_kit/png_files.h"
#include "render/gdiplus_flat.h"
#include "state/owners.h"

namespace {

constexpr int SAMPLE_COVER_SIZE = 300;

// GDI+'s PNG encoder, found by its type as GDI+ asks.
bool FindPngEncoder(CLSID* encoder)
{
    UINT count = 0, size = 0;
    if (GdipGetImageEncodersSize(&count, &size) != Gdiplus::Ok || size == 0)
        return false;
    std::vector<unsigned char> buffer(size);
    auto* codecs = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
    if (GdipGetImageEncoders(count, size, codecs) != Gdiplus::Ok)
        return false;
    for (UINT i = 0; i < count; ++i)
        if (lstrcmpiW(codecs[i].MimeType, L"image/png") == 0) {
            *encoder = codecs[i].Clsid;
            return true;
        }
    return false;
}

UniqueGdipBitmap BitmapOf(const Pixels& pixels)
{
    UniqueGdipBitmap bitmap;
    GdipCreateBitmapFromScan0(pixels.width, pixels.height, pixels.width * 4, PixelFormat32bppARGB,
                              reinterpret_cast<BYTE*>(const_cast<uint32_t*>(pixels.argb.data())), bitmap.put());
    return bitmap;
}

}  // namespace

bool WritePng(const std::wstring& path, const Pixels& pixels)
{
    const UniqueGdipBitmap bitmap = BitmapOf(pixels);
    CLSID png;
    return bitmap && FindPngEncoder(&png) && GdipSaveImageToFile(bitmap.get(), path.c_str(), &png, NULL) == Gdiplus::Ok;
}

namespace {

std::vector<unsigned char> EncodePng(GpBitmap* bitmap)
{
    std::vector<unsigned char> bytes;
    UniqueCom<IStream> stream;
    CLSID png;
    STATSTG stat = {};
    if (!FindPngEncoder(&png) || CreateStreamOnHGlobal(NULL, TRUE, stream.put()) != S_OK ||
        GdipSaveImageToStream(bitmap, stream.get(), &png, NULL) != Gdiplus::Ok ||
        stream.get()->Stat(&stat, STATFLAG_NONAME) != S_OK)
        return bytes;
    bytes.resize(stat.cbSize.LowPart);
    const LARGE_INTEGER start = {};
    ULONG read = 0;
    if (stream.get()->Seek(start, STREAM_SEEK_SET, NULL) != S_OK ||
        stream.get()->Read(bytes.data(), static_cast<ULONG>(bytes.size()), &read) != S_OK || read != bytes.size())
        bytes.clear();
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
    const UniqueGdipBitmap bitmap = BitmapOf(cover);
    return bitmap ? EncodePng(bitmap.get()) : std::vector<unsigned char>();
}
