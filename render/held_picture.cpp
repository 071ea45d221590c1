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
