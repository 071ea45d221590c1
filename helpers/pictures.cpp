#include "helpers/pictures.h"
#include <algorithm>
#include "helpers/files.h"
#include "state/gdiplus_session.h"

namespace {

// GDI+'s encoder for a format, found by its MIME type as GDI+ asks.
bool FindEncoder(const wchar_t* mimeType, CLSID* encoder)
{
    UINT count = 0, size = 0;
    if (GdipGetImageEncodersSize(&count, &size) != Gdiplus::Ok || size == 0)
        return false;
    std::vector<unsigned char> storage(size);
    auto* codecs = reinterpret_cast<Gdiplus::ImageCodecInfo*>(storage.data());
    if (GdipGetImageEncoders(count, size, codecs) != Gdiplus::Ok)
        return false;
    for (UINT i = 0; i < count; ++i) {
        if (lstrcmpiW(codecs[i].MimeType, mimeType) == 0) {
            *encoder = codecs[i].Clsid;
            return true;
        }
    }
    return false;
}

}  // namespace

UniqueGdipBitmap BitmapOf(const Pixels& pixels)
{
    UniqueGdipBitmap bitmap;
    GdipCreateBitmapFromScan0(pixels.width, pixels.height, pixels.width * 4, PixelFormat32bppARGB,
                              reinterpret_cast<BYTE*>(const_cast<uint32_t*>(pixels.argb.data())), bitmap.put());
    return bitmap;
}

bool ReadBitmapPixels(GpBitmap* bitmap, Pixels* pixels)
{
    UINT width = 0, height = 0;
    GdipGetImageWidth(bitmap, &width);
    GdipGetImageHeight(bitmap, &height);
    Gdiplus::BitmapData data = {};
    Gdiplus::GpRect all(0, 0, static_cast<INT>(width), static_cast<INT>(height));
    if (width == 0 || height == 0 ||
        GdipBitmapLockBits(bitmap, &all, Gdiplus::ImageLockModeRead, PixelFormat32bppARGB, &data) != Gdiplus::Ok)
        return false;
    pixels->width = static_cast<int>(width);
    pixels->height = static_cast<int>(height);
    pixels->argb.resize(static_cast<size_t>(width) * height);
    for (UINT y = 0; y < height; ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(static_cast<const BYTE*>(data.Scan0) +
                                                            static_cast<ptrdiff_t>(y) * data.Stride);
        std::copy(row, row + width, pixels->argb.begin() + static_cast<size_t>(y) * width);
    }
    GdipBitmapUnlockBits(bitmap, &data);
    return true;
}

bool LoadPicture(const std::wstring& path, Pixels* pixels)
{
    GdiplusSession gdiplus;
    UniqueGdipBitmap bitmap;
    return GdipCreateBitmapFromFile(path.c_str(), bitmap.put()) == Gdiplus::Ok &&
           ReadBitmapPixels(bitmap.get(), pixels);
}

std::vector<unsigned char> EncodeBitmap(GpBitmap* bitmap, const wchar_t* mimeType)
{
    std::vector<unsigned char> bytes;
    UniqueCom<IStream> stream;
    CLSID encoder;
    STATSTG stat = {};
    if (!FindEncoder(mimeType, &encoder) || CreateStreamOnHGlobal(NULL, TRUE, stream.put()) != S_OK ||
        GdipSaveImageToStream(bitmap, stream.get(), &encoder, NULL) != Gdiplus::Ok ||
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

std::vector<unsigned char> EncodePixels(const Pixels& pixels, const wchar_t* mimeType, float dpi)
{
    GdiplusSession gdiplus;
    const UniqueGdipBitmap bitmap = BitmapOf(pixels);
    if (!bitmap)
        return {};
    GdipBitmapSetResolution(bitmap.get(), dpi, dpi);
    return EncodeBitmap(bitmap.get(), mimeType);
}

bool WritePng(const std::wstring& path, const Pixels& pixels)
{
    const std::vector<unsigned char> png = EncodePixels(pixels);
    return !png.empty() && WriteBytes(path, png);
}

bool WritePng(const std::wstring& path, GpBitmap* bitmap)
{
    const std::vector<unsigned char> png = EncodeBitmap(bitmap, L"image/png");
    return !png.empty() && WriteBytes(path, png);
}

// One colour as a GIF: LZW codes of three bits, a clear code before every
// two pixels so the code table never widens. Wine's GIF encoder writes a
// header alone, so GIFs are written here.
std::vector<unsigned char> SolidGif(int width, int height, Gdiplus::ARGB colour)
{
    constexpr unsigned CLEAR = 4, END = 5, CODE_BITS = 3;
    auto byte = [](unsigned value) { return static_cast<unsigned char>(value); };
    const unsigned char w0 = byte(width), w1 = byte(width >> 8), h0 = byte(height), h1 = byte(height >> 8);
    // Header, screen of four colours (the first one ours), one image of the whole screen.
    std::vector<unsigned char> gif = {'G', 'I', 'F', '8', '9', 'a', w0, w1, h0, h1, 0x81, 0, 0,
                                      byte(colour >> 16), byte(colour >> 8), byte(colour), 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                      0x2C, 0, 0, 0, 0, w0, w1, h0, h1, 0, 2};
    std::vector<unsigned char> data;
    unsigned bits = 0, held = 0;
    auto put = [&](unsigned code) {
        bits |= code << held;
        for (held += CODE_BITS; held >= 8; held -= 8, bits >>= 8)
            data.push_back(static_cast<unsigned char>(bits));
    };
    const long pixels = static_cast<long>(width) * height;
    for (long i = 0; i < pixels; ++i) {
        if (i % 2 == 0)
            put(CLEAR);
        put(0);
    }
    put(END);
    if (held)
        data.push_back(static_cast<unsigned char>(bits));
    for (size_t at = 0; at < data.size(); at += 255) {
        const size_t n = std::min<size_t>(255, data.size() - at);
        gif.push_back(static_cast<unsigned char>(n));
        gif.insert(gif.end(), data.begin() + at, data.begin() + at + n);
    }
    gif.push_back(0);
    gif.push_back(0x3B);
    return gif;
}

std::vector<unsigned char> EncodeSolidPicture(int width, int height, Gdiplus::ARGB colour, const wchar_t* mimeType)
{
    if (lstrcmpiW(mimeType, L"image/gif") == 0)
        return SolidGif(width, height, colour);
    return EncodePixels(PixelsFrom(width, height, [colour](int, int) { return colour; }), mimeType);
}
