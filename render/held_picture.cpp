#include "render/held_picture.h"

namespace {

// The header reader's view of the held stream. Reads move the stream's
// position, which every decode sets again before it starts.
class StreamPictureReader : public PictureReader {
public:
    explicit StreamPictureReader(IStream* stream) : stream_(stream) {}
    size_t ReadAt(uint64_t offset, uint8_t* out, size_t count) const override
    {
        LARGE_INTEGER position;
        position.QuadPart = static_cast<LONGLONG>(offset);
        if (FAILED(stream_->Seek(position, STREAM_SEEK_SET, NULL)))
            return 0;
        size_t total = 0;
        while (total < count) {
            ULONG read = 0;
            HRESULT result = stream_->Read(out + total, static_cast<ULONG>(count - total), &read);
            total += read;
            if (FAILED(result) || read == 0)
                break;
        }
        return total;
    }

private:
    IStream* stream_;
};

}  // namespace

PictureHeader ReadHeldPictureHeader(const ImageStreamHolder& holder)
{
    IStream* stream = holder.GetStream();
    if (!stream)
        return {PictureFormat::NONE, 0, 0};
    return ReadPictureHeader(StreamPictureReader(stream));
}

bool RewindHeldPicture(const ImageStreamHolder& holder)
{
    IStream* stream = holder.GetStream();
    LARGE_INTEGER start = {};
    return stream && SUCCEEDED(stream->Seek(start, STREAM_SEEK_SET, NULL));
}

GpStatus DecodeHeldPicture(const ImageStreamHolder& holder, UniqueGdipBitmap* picture)
{
    picture->reset();
    if (!IsDecodablePicture(ReadHeldPictureHeader(holder)))
        return Gdiplus::UnknownImageFormat;
    if (!RewindHeldPicture(holder))
        return Gdiplus::InvalidParameter;
    GpStatus status = GdipCreateBitmapFromStream(holder.GetStream(), picture->put());
    if (status != Gdiplus::Ok)
        picture->reset();
    return status;
}

bool CopyPremultipliedPixels(GpBitmap* picture, int width, int height, uint32_t* pixels)
{
    Gdiplus::BitmapData data = {};
    data.Width = static_cast<UINT>(width);
    data.Height = static_cast<UINT>(height);
    data.Stride = width * static_cast<INT>(sizeof(uint32_t));
    data.PixelFormat = PixelFormat32bppPARGB;
    data.Scan0 = pixels;
    Gdiplus::GpRect whole = {0, 0, width, height};
    if (GdipBitmapLockBits(picture, &whole, Gdiplus::ImageLockModeRead | Gdiplus::ImageLockModeUserInputBuf,
                           PixelFormat32bppPARGB, &data) != Gdiplus::Ok)
        return false;
    GdipBitmapUnlockBits(picture, &data);
    return true;
}

bool CopyScaledPremultipliedPixels(GpBitmap* picture, int width, int height, uint32_t* pixels)
{
    UniqueGdipBitmap scaled;
    if (GdipCreateBitmapFromScan0(width, height, 0, PixelFormat32bppPARGB, NULL, scaled.put()) != Gdiplus::Ok)
        return false;
    {
        UniqueGdipGraphics graphics;
        if (GdipGetImageGraphicsContext(scaled.get(), graphics.put()) != Gdiplus::Ok)
            return false;
        GdipSetInterpolationMode(graphics.get(), Gdiplus::InterpolationModeHighQualityBicubic);
        if (GdipDrawImageRectI(graphics.get(), picture, 0, 0, width, height) != Gdiplus::Ok)
            return false;
    }
    return CopyPremultipliedPixels(scaled.get(), width, height, pixels);
}
