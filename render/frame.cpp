#include "render/frame.h"
#include "render/held_picture.h"
#include "render/prepared_cover.h"

namespace {

constexpr Gdiplus::ARGB MARKER_COLOUR = 0xFF00FF00;
constexpr float MARKER_WIDTH = 3.0f;
constexpr int MARKER_LENGTH = 3;

// Background and overlay are drawn at their own pixel size from the top-left
// corner, whatever their stored resolution; one that does not decode draws nothing.
void DrawWholePicture(HDC target, const ImageStreamHolder& holder)
{
    UniqueGdipGraphics graphics;
    GdipCreateFromHDC(target, graphics.put());
    UniqueGdipBitmap picture;
    if (!graphics || DecodeHeldPicture(holder, &picture) != Gdiplus::Ok)
        return;
    UINT width = 0, height = 0;
    GdipGetImageWidth(picture.get(), &width);
    GdipGetImageHeight(picture.get(), &height);
    GdipDrawImageRectI(graphics.get(), picture.get(), 0, 0, static_cast<INT>(width), static_cast<INT>(height));
}

void DrawMarker(GpGraphics* graphics, const ImageRect& slot)
{
    UniqueGdipPen pen;
    if (GdipCreatePen1(MARKER_COLOUR, MARKER_WIDTH, Gdiplus::UnitWorld, pen.put()) != Gdiplus::Ok)
        return;
    GdipDrawLineI(graphics, pen.get(), slot.x, slot.y, slot.x + MARKER_LENGTH, slot.y);
}

// The prepared cover goes on 1:1, through GDI+ as before, so that it is
// composed over the background exactly as a scaled draw was.
void DrawCover(HDC target)
{
    const PreparedCover* cover = CurrentPreparedCover();
    if (!cover)
        return;
    UniqueGdipGraphics graphics;
    GdipCreateFromHDC(target, graphics.put());
    UniqueGdipBitmap picture;
    const ImageRect& at = cover->at;
    if (!graphics || GdipCreateBitmapFromScan0(at.width, at.height, at.width * 4, PixelFormat32bppPARGB,
                                               reinterpret_cast<BYTE*>(const_cast<uint32_t*>(cover->pixels)),
                                               picture.put()) != Gdiplus::Ok)
        return;
    GdipSetInterpolationMode(graphics.get(), Gdiplus::InterpolationModeNearestNeighbor);
    GdipDrawImageRectI(graphics.get(), picture.get(), at.x, at.y, at.width, at.height);
    if (displayState.debug && displayState.coverFromTag)
        DrawMarker(graphics.get(), displayState.imageRect);
}

}  // namespace

ImageRect FitCoverRect(const ImageRect& slot, int pictureWidth, int pictureHeight)
{
    ImageRect fitted = slot;
    const double slotShape = static_cast<double>(slot.width) / slot.height;
    const double pictureShape = static_cast<double>(pictureWidth) / pictureHeight;
    // A 0 x 0 slot gives NaN, which compares false and takes the width-filling
    // branch. The products are taken in 64 bits so huge pictures cannot wrap;
    // each quotient is at most the slot's own side, so it fits back in 32.
    if (slotShape > pictureShape) {
        fitted.width = static_cast<int>(static_cast<int64_t>(pictureWidth) * slot.height / pictureHeight);
        fitted.x = slot.x + (slot.width - fitted.width) / 2;
    } else {
        fitted.height = static_cast<int>(static_cast<int64_t>(pictureHeight) * slot.width / pictureWidth);
        fitted.y = slot.y + (slot.height - fitted.height) / 2;
    }
    return fitted;
}

void DrawBackground(HDC target)
{
    DrawWholePicture(target, displayState.background);
}

void DrawOverlay(HDC target)
{
    DrawWholePicture(target, displayState.overlay);
}

void ComposeFrame(HDC target)
{
    DrawBackground(target);
    DrawCover(target);
    DrawOverlay(target);
}

FrameCanvas::FrameCanvas(HDC screen, int width, int height) : dc_(CreateCompatibleDC(screen))
{
    // A zero-sized window has no canvas.
    if (width > 0 && height > 0)
        GdipCreateBitmapFromScan0(width, height, 0, PixelFormat32bppARGB, NULL, pixels_.put());
    if (pixels_)
        GdipCreateHBITMAPFromBitmap(pixels_.get(), bitmap_.put(), 0);
    if (dc_ && bitmap_)
        selection_.emplace(dc_.get(), bitmap_.get());
}

void PresentFrame(HWND window)
{
    ScopedGetDC screen(NULL);
    RECT bounds = {};
    GetWindowRect(window, &bounds);
    const int width = bounds.right - bounds.left;
    const int height = bounds.bottom - bounds.top;

    // Without a canvas the window keeps whatever it showed.
    FrameCanvas canvas(screen.get(), width, height);
    if (!canvas.ready())
        return;
    ComposeFrame(canvas.dc());
    POINT destination = {bounds.left, bounds.top};
    SIZE size = {width, height};
    POINT source = {0, 0};
    BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    UpdateLayeredWindow(window, screen.get(), &destination, &size, canvas.dc(), &source, 0, &blend, ULW_ALPHA);
}
