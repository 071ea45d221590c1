#include "render/held_picture.h"

GpStatus DecodeHeldPicture(const ImageStreamHolder& holder, GpBitmap** picture)
{
    *picture = NULL;
    IStream* stream = holder.GetStream();
    if (!stream)
        return Gdiplus::InvalidParameter;
    LARGE_INTEGER start = {};
    stream->Seek(start, STREAM_SEEK_SET, NULL);
    GpStatus status = GdipCreateBitmapFromStream(stream, picture);
    if (status != Gdiplus::Ok && *picture) {
        GdipDisposeImage(*picture);
        *picture = NULL;
    }
    return status;
}
