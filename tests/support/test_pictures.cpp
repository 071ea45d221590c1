#include "support/test_pictures.h"
#include <string.h>
#include <algorithm>

namespace {

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

bool ReadPixels(GpBitmap* bitmap, Picture* picture)
{
    UINT width = 0, height = 0;
    GdipGetImageWidth(bitmap, &width);
    GdipGetImageHeight(bitmap, &height);
    picture->width = static_cast<int>(width);
    picture->height = static_cast<int>(height);
    picture->pixels.assign(static_cast<size_t>(width) * height, 0);
    for (UINT y = 0; y < height; ++y) {
        for (UINT x = 0; x < width; ++x) {
            Gdiplus::ARGB pixel = 0;
            if (GdipBitmapGetPixel(bitmap, static_cast<INT>(x), static_cast<INT>(y), &pixel) != Gdiplus::Ok)
                return false;
            picture->pixels[static_cast<size_t>(y) * width + x] = pixel;
        }
    }
    return true;
}

}  // namespace

bool LoadPicture(const std::wstring& path, Picture* picture)
{
    GdiplusSession gdiplus;
    GpBitmap* bitmap = nullptr;
    if (GdipCreateBitmapFromFile(path.c_str(), &bitmap) != Gdiplus::Ok)
        return false;
    bool read = ReadPixels(bitmap, picture);
    GdipDisposeImage(bitmap);
    return read;
}

std::vector<unsigned char> EncodeArgbPixels(int width, int height, const std::vector<UINT32>& pixels,
                                            const wchar_t* mimeType)
{
    GdiplusSession gdiplus;
    GpBitmap* bitmap = NULL;
    if (GdipCreateBitmapFromScan0(width, height, width * 4, PixelFormat32bppARGB,
                                  reinterpret_cast<BYTE*>(const_cast<UINT32*>(pixels.data())), &bitmap) != Gdiplus::Ok)
        return {};
    std::vector<unsigned char> bytes = EncodeBitmap(bitmap, mimeType);
    GdipDisposeImage(bitmap);
    return bytes;
}

std::vector<unsigned char> EncodeBitmap(GpBitmap* bitmap, const wchar_t* mimeType)
{
    std::vector<unsigned char> bytes;
    CLSID encoder;
    if (!FindEncoder(mimeType, &encoder))
        return bytes;
    IStream* stream = NULL;
    if (CreateStreamOnHGlobal(NULL, TRUE, &stream) != S_OK)
        return bytes;
    if (GdipSaveImageToStream(bitmap, stream, &encoder, NULL) == Gdiplus::Ok) {
        HGLOBAL block = NULL;
        GetHGlobalFromStream(stream, &block);
        STATSTG stat = {};
        stream->Stat(&stat, STATFLAG_NONAME);
        const void* data = GlobalLock(block);
        if (data) {
            const auto* first = static_cast<const unsigned char*>(data);
            bytes.assign(first, first + stat.cbSize.QuadPart);
            GlobalUnlock(block);
        }
    }
    stream->Release();
    return bytes;
}

// One colour as a GIF: LZW codes of three bits, a clear code before every
// two pixels so the code table never widens.
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
    GdiplusSession gdiplus;
    std::vector<unsigned char> bytes;
    GpBitmap* bitmap = NULL;
    if (GdipCreateBitmapFromScan0(width, height, 0, PixelFormat32bppARGB, NULL, &bitmap) != Gdiplus::Ok)
        return bytes;
    GpGraphics* graphics = NULL;
    if (GdipGetImageGraphicsContext(bitmap, &graphics) == Gdiplus::Ok) {
        GdipGraphicsClear(graphics, colour);
        GdipDeleteGraphics(graphics);
        bytes = EncodeBitmap(bitmap, mimeType);
    }
    GdipDisposeImage(bitmap);
    return bytes;
}

PixelCanvas::PixelCanvas(int width, int height)
    : w(width), h(height), memoryDc(CreateCompatibleDC(NULL)), bitmap(NULL), previous(NULL), bits(NULL)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down: row 0 first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* pixels = NULL;
    bitmap = CreateDIBSection(memoryDc, &info, DIB_RGB_COLORS, &pixels, NULL, 0);
    if (bitmap) {
        memset(pixels, 0, static_cast<size_t>(width) * height * 4);
        bits = static_cast<const Pixel*>(pixels);
        previous = SelectObject(memoryDc, bitmap);
    }
}

PixelCanvas::~PixelCanvas()
{
    if (bitmap) {
        SelectObject(memoryDc, previous);
        DeleteObject(bitmap);
    }
    DeleteDC(memoryDc);
}

Pixel PixelCanvas::at(int x, int y) const
{
    GdiFlush();
    if (!bits || x < 0 || y < 0 || x >= w || y >= h)
        return Pixel{0, 0, 0, 0};
    return bits[static_cast<size_t>(y) * w + x];
}
