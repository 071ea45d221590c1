#include "render/frame.h"
#include "render/cover_fade.h"
#include "render/gdiplus_flat.h"
#include "render/prepared_cover.h"
#include "render/prepared_theme.h"
#include "render/text_layer.h"
#include "render/window_canvas.h"
#include "state/top_down_section.h"

namespace {

constexpr Gdiplus::ARGB MARKER_COLOUR = 0xFF00FF00;
constexpr float MARKER_WIDTH = 3.0f;
constexpr int MARKER_LENGTH = 3;

// The pixels of the top-down 32-bit DIB section selected in `dc`; false for
// a bitmap that is no 32-bit DIB section. Every canvas here is made top-down:
// under Wine the section's header reads the same for both row orders, so
// the order cannot be told from it.
bool PixelsOf(HDC dc, FramePixels* pixels)
{
    DIBSECTION section = {};
    HGDIOBJ bitmap = GetCurrentObject(dc, OBJ_BITMAP);
    if (!bitmap || GetObjectW(bitmap, sizeof section, &section) != sizeof section || !section.dsBm.bmBits ||
        section.dsBm.bmBitsPixel != 32)
        return false;
    *pixels = {static_cast<uint32_t*>(section.dsBm.bmBits), section.dsBm.bmWidth, section.dsBm.bmHeight,
               section.dsBm.bmWidth};
    GdiFlush();
    return true;
}

void BlendPrepared(const FramePixels& target, const PreparedPicture* picture)
{
    if (picture)
        BlendOver(target, picture->pixels, picture->width, picture->height, 0, 0);
}

void DrawMarker(HDC dc, const ImageRect& slot)
{
    UniqueGdipGraphics graphics;
    UniqueGdipPen pen;
    if (GdipCreateFromHDC(dc, graphics.put()) != Gdiplus::Ok ||
        GdipCreatePen1(MARKER_COLOUR, MARKER_WIDTH, Gdiplus::UnitWorld, pen.put()) != Gdiplus::Ok)
        return;
    GdipDrawLineI(graphics.get(), pen.get(), slot.x, slot.y, slot.x + MARKER_LENGTH, slot.y);
    GdipFlush(graphics.get(), Gdiplus::FlushIntentionSync);
}

// The prepared cover goes on 1:1 over the background.
void DrawCover(const FramePixels& target, HDC dc)
{
    const PreparedCover* cover = CurrentPreparedCover();
    if (!cover)
        return;
    BlendOver(target, cover->pixels, cover->at.width, cover->at.height, cover->at.x, cover->at.y);
    if (displayState.debug && displayState.coverFromTag) {
        DrawMarker(dc, displayState.imageRect);
        GdiFlush();
    }
}

template <typename Draw>
void DrawInto(HDC dc, Draw draw)
{
    FramePixels pixels;
    if (PixelsOf(dc, &pixels))
        draw(pixels);
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

void ComposeLayers(const FramePixels& target, HDC dc)
{
    BlendPrepared(target, PreparedBackground());
    DrawCover(target, dc);
    BlendPrepared(target, PreparedOverlay());
    BlendTextLayer(target);
}

void DrawBackground(HDC target)
{
    DrawInto(target, [](const FramePixels& pixels) { BlendPrepared(pixels, PreparedBackground()); });
}

void DrawOverlay(HDC target)
{
    DrawInto(target, [](const FramePixels& pixels) { BlendPrepared(pixels, PreparedOverlay()); });
}

void ComposeFrame(HDC target)
{
    DrawInto(target, [target](const FramePixels& pixels) { ComposeLayers(pixels, target); });
}

FrameCanvas::FrameCanvas(HDC screen, int width, int height) : dc_(CreateCompatibleDC(screen))
{
    // A zero-sized window has no canvas.
    if (!dc_ || width <= 0 || height <= 0)
        return;
    uint32_t* bits = nullptr;
    bitmap_.reset(CreateTopDownSection(dc_.get(), width, height, &bits));
    if (!bitmap_ || !bits)
        return;
    pixels_ = {bits, width, height, width};
    selection_.emplace(dc_.get(), bitmap_.get());
}

void PresentFrame(HWND window)
{
    StopFade(window);
    // Without a canvas the window keeps whatever it showed.
    const FrameCanvas* canvas = WindowCanvas(window);
    if (!canvas)
        return;
    ClearPixels(canvas->pixels());
    ComposeLayers(canvas->pixels(), canvas->dc());
    ShowWindowCanvas(window);
}
