#include "render/prepared_cover.h"
#include <wincodec.h>
#include "render/frame.h"
#include "render/held_picture.h"
#include "state/owners.h"
#include "state/picture_limits.h"

namespace {

constexpr UINT BYTES_PER_PIXEL = 4;

// What the prepared cover was made from: when any of it changes, it is made again.
struct PreparedFrom {
    bool held;
    uint32_t loadSerial;
    ImageRect slot;
    int aspectratio;
};

struct Prepared {
    PreparedFrom from;
    UniqueHeapBlock block;
    PreparedCover cover;
    bool drawable;
};

Prepared prepared = {};

bool SameRect(const ImageRect& a, const ImageRect& b)
{
    return a.x == b.x && a.y == b.y && a.width == b.width && a.height == b.height;
}

bool Matches(const PreparedFrom& a, const PreparedFrom& b)
{
    return a.held == b.held && a.loadSerial == b.loadSerial && SameRect(a.slot, b.slot) &&
           a.aspectratio == b.aspectratio;
}

ImageRect Destination(const PictureHeader& header)
{
    const ImageRect& slot = displayState.imageRect;
    if (!displayState.aspectratio)
        return slot;
    return FitCoverRect(slot, static_cast<int>(header.width), static_cast<int>(header.height));
}

HRESULT ConvertToPremultiplied(IWICFormatConverter* converter, IWICBitmapSource* source)
{
    return converter->Initialize(source, GUID_WICPixelFormat32bppPBGRA, WICBitmapDitherTypeNone, NULL, 0.0,
                                 WICBitmapPaletteTypeCustom);
}

// The JPEG frame is scaled as it comes, so that a decoder able to shrink in
// its transform (Windows's is) can do so; anything else is converted first,
// so palettes and alpha are scaled as premultiplied colour.
bool ScaleWithWic(const ImageStreamHolder& holder, const PictureHeader& header, const ImageRect& to, BYTE* pixels)
{
    UniqueCom<IWICImagingFactory> factory;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, NULL, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                reinterpret_cast<void**>(factory.put()))) ||
        !RewindHeldPicture(holder))
        return false;
    UniqueCom<IWICBitmapDecoder> decoder;
    UniqueCom<IWICBitmapFrameDecode> frame;
    if (FAILED(factory.get()->CreateDecoderFromStream(holder.GetStream(), NULL, WICDecodeMetadataCacheOnDemand,
                                                decoder.put())) ||
        FAILED(decoder.get()->GetFrame(0, frame.put())))
        return false;
    // The decoder must agree with the header the limits were checked against.
    UINT width = 0, height = 0;
    if (FAILED(frame.get()->GetSize(&width, &height)) || width != header.width || height != header.height)
        return false;
    UniqueCom<IWICBitmapScaler> scaler;
    UniqueCom<IWICFormatConverter> converter;
    if (FAILED(factory.get()->CreateBitmapScaler(scaler.put())) ||
        FAILED(factory.get()->CreateFormatConverter(converter.put())))
        return false;
    const UINT toWidth = static_cast<UINT>(to.width), toHeight = static_cast<UINT>(to.height);
    HRESULT chained;
    if (header.format == PictureFormat::JPEG) {
        chained = scaler.get()->Initialize(frame.get(), toWidth, toHeight, WICBitmapInterpolationModeFant);
        if (SUCCEEDED(chained))
            chained = ConvertToPremultiplied(converter.get(), scaler.get());
    } else {
        chained = ConvertToPremultiplied(converter.get(), frame.get());
        if (SUCCEEDED(chained))
            chained = scaler.get()->Initialize(converter.get(), toWidth, toHeight, WICBitmapInterpolationModeFant);
    }
    IWICBitmapSource* last = header.format == PictureFormat::JPEG ? static_cast<IWICBitmapSource*>(converter.get())
                                                                  : static_cast<IWICBitmapSource*>(scaler.get());
    const UINT stride = toWidth * BYTES_PER_PIXEL;
    return SUCCEEDED(chained) && SUCCEEDED(last->CopyPixels(NULL, stride, stride * toHeight, pixels));
}

// GDI+ draws the decoded picture into a bitmap of the destination's size with
// its best interpolation, and the pixels are copied out premultiplied.
bool ScaleWithGdiplus(const ImageStreamHolder& holder, const ImageRect& to, BYTE* pixels)
{
    UniqueGdipBitmap picture;
    return DecodeHeldPicture(holder, &picture) == Gdiplus::Ok &&
           CopyScaledPremultipliedPixels(picture.get(), to.width, to.height, reinterpret_cast<uint32_t*>(pixels));
}

void Prepare()
{
    prepared.drawable = false;
    prepared.block.reset();
    const ImageStreamHolder& holder = displayState.cover;
    const PictureHeader header = ReadHeldPictureHeader(holder);
    if (!IsDecodablePicture(header))
        return;
    const ImageRect to = Destination(header);
    // A slot beyond the picture limit would make the prepared copy itself oversized.
    const uint64_t area = static_cast<uint64_t>(to.width > 0 ? to.width : 0) * (to.height > 0 ? to.height : 0);
    if (area == 0 || area > LARGEST_PICTURE_PIXELS)
        return;
    prepared.block.reset(HeapAlloc(GetProcessHeap(), 0, static_cast<SIZE_T>(area) * BYTES_PER_PIXEL));
    BYTE* pixels = static_cast<BYTE*>(prepared.block.get());
    if (!pixels)
        return;
    // Wine's WIC scaler samples the nearest pixel whatever mode is asked for,
    // which shows on an enlargement; GDI+ interpolates there.
    const bool shrinks =
        header.width >= static_cast<uint32_t>(to.width) && header.height >= static_cast<uint32_t>(to.height);
    // GIF goes to GDI+, which composes its first frame on the logical screen.
    CoverScaler scaler = CoverScaler::GDIPLUS;
    if (shrinks && header.format != PictureFormat::GIF && ScaleWithWic(holder, header, to, pixels))
        scaler = CoverScaler::WIC;
    else if (!ScaleWithGdiplus(holder, to, pixels)) {
        prepared.block.reset();
        return;
    }
    prepared.cover = {to, static_cast<const uint32_t*>(prepared.block.get()), scaler};
    prepared.drawable = true;
}

}  // namespace

const PreparedCover* CurrentPreparedCover()
{
    const ImageStreamHolder& holder = displayState.cover;
    const PreparedFrom now = {holder.GetStream() != NULL, holder.LoadSerial(), displayState.imageRect,
                              displayState.aspectratio != 0};
    if (!Matches(prepared.from, now)) {
        prepared.from = now;
        Prepare();
    }
    return prepared.drawable ? &prepared.cover : NULL;
}

void ReleasePreparedCover()
{
    prepared.block.reset();
    prepared.drawable = false;
    prepared.from = {};
}
