#include "render/prepared_theme.h"
#include "render/frame_scale.h"
#include "render/held_picture.h"
#include "state/display_state.h"
#include "state/owners.h"

namespace {

struct Prepared {
    explicit Prepared(const ImageStreamHolder* holder) : holder(holder) {}
    const ImageStreamHolder* holder;
    bool held = false;
    uint32_t loadSerial = 0;
    int dpi = 0;
    UniqueHeapBlock block;
    PreparedPicture picture = {};
};

Prepared background(&displayState.background);
Prepared overlay(&displayState.overlay);

void Prepare(Prepared* prepared)
{
    prepared->block.reset();
    prepared->picture = {};
    UniqueGdipBitmap decoded;
    if (DecodeHeldPicture(*prepared->holder, &decoded) != Gdiplus::Ok)
        return;
    UINT ownWidth = 0, ownHeight = 0;
    GdipGetImageWidth(decoded.get(), &ownWidth);
    GdipGetImageHeight(decoded.get(), &ownHeight);
    const int width = ScaleToFrame(static_cast<int>(ownWidth)), height = ScaleToFrame(static_cast<int>(ownHeight));
    // The gate let no more than LARGEST_PICTURE_PIXELS through; scaled, the
    // copy is no larger than the screen's pixels for it.
    const uint64_t bytes = static_cast<uint64_t>(width > 0 ? width : 0) * (height > 0 ? height : 0) * sizeof(uint32_t);
    if (bytes == 0 || bytes > SIZE_MAX)
        return;
    prepared->block.reset(HeapAlloc(GetProcessHeap(), 0, static_cast<SIZE_T>(bytes)));
    uint32_t* pixels = static_cast<uint32_t*>(prepared->block.get());
    const bool ownSize = width == static_cast<int>(ownWidth) && height == static_cast<int>(ownHeight);
    if (!pixels || !(ownSize ? CopyPremultipliedPixels(decoded.get(), width, height, pixels)
                             : CopyScaledPremultipliedPixels(decoded.get(), width, height, pixels))) {
        prepared->block.reset();
        return;
    }
    prepared->picture = {width, height, pixels};
}

const PreparedPicture* Current(Prepared* prepared)
{
    const bool held = prepared->holder->GetStream() != NULL;
    const uint32_t serial = prepared->holder->LoadSerial();
    if (held != prepared->held || serial != prepared->loadSerial || FrameDpi() != prepared->dpi) {
        prepared->held = held;
        prepared->loadSerial = serial;
        prepared->dpi = FrameDpi();
        Prepare(prepared);
    }
    return prepared->block ? &prepared->picture : NULL;
}

void Release(Prepared* prepared)
{
    prepared->block.reset();
    prepared->picture = {};
    prepared->held = false;
    prepared->loadSerial = 0;
    prepared->dpi = 0;
}

size_t Bytes(const Prepared& prepared)
{
    return prepared.block ? static_cast<size_t>(prepared.picture.width) * prepared.picture.height * sizeof(uint32_t) : 0;
}

}  // namespace

const PreparedPicture* PreparedBackground()
{
    return Current(&background);
}

const PreparedPicture* PreparedOverlay()
{
    return Current(&overlay);
}

void ReleasePreparedTheme()
{
    Release(&background);
    Release(&overlay);
}

size_t PreparedThemeBytes()
{
    return Bytes(background) + Bytes(overlay);
}
