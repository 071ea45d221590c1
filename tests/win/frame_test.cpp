#include <gtest/gtest.h>
#include <math.h>
#include <stdlib.h>
#include <algorithm>
#include "render/frame.h"
#include "render/held_picture.h"
#include "render/prepared_cover.h"
#include "resources/resource_ids.h"
#include "state/gdiplus_session.h"
#include "support/layered_window.h"
#include "support/leak_counters.h"
#include "support/test_pictures.h"
#include "support/test_support.h"
#include "state/com_session.h"

namespace {

constexpr Gdiplus::ARGB RED = 0xFFFF0000;
constexpr Gdiplus::ARGB BLUE = 0xFF0000FF;

bool Near(const Pixel& p, int r, int g, int b, int a = 255, int tolerance = 6)
{
    return abs(p.r - r) <= tolerance && abs(p.g - g) <= tolerance && abs(p.b - b) <= tolerance &&
           abs(p.a - a) <= tolerance;
}
bool IsGrey(const Pixel& p) { return Near(p, 224, 224, 224); }
bool IsRed(const Pixel& p) { return Near(p, 255, 0, 0, 255, 30); }

TEST(FitCoverRect, TouchesTwoSidesAndCentresOnTheOther)
{
    const ImageRect slot = {2, 2, 100, 100};
    const struct { int w, h; ImageRect expected; } cases[] = {
        {300, 200, {2, 19, 100, 66}},
        {200, 300, {19, 2, 66, 100}},
        {500, 500, {2, 2, 100, 100}},   // equal proportions: the width fills
        {100, 67, {2, 18, 100, 67}},    // odd free space: the extra row at the bottom
        {67, 100, {18, 2, 67, 100}},
    };
    for (const auto& c : cases) {
        ImageRect fitted = FitCoverRect(slot, c.w, c.h);
        EXPECT_EQ(c.expected.x, fitted.x) << c.w << "x" << c.h;
        EXPECT_EQ(c.expected.y, fitted.y) << c.w << "x" << c.h;
        EXPECT_EQ(c.expected.width, fitted.width) << c.w << "x" << c.h;
        EXPECT_EQ(c.expected.height, fitted.height) << c.w << "x" << c.h;
    }
}

TEST(FitCoverRect, DegenerateAndHugeSlotsStayInRange)
{
    ImageRect empty = FitCoverRect({0, 0, 0, 0}, 300, 200);
    EXPECT_EQ(0, empty.width);
    EXPECT_EQ(0, empty.height);
    ImageRect flat = FitCoverRect({10, 10, 50, 0}, 300, 200);
    EXPECT_EQ(0, flat.width);
    EXPECT_EQ(0, flat.height);
    // 30000 x 100000 would wrap a 32-bit product.
    ImageRect huge = FitCoverRect({0, 0, 100000, 100000}, 30000, 50000);
    EXPECT_EQ(60000, huge.width);
    EXPECT_EQ(20000, huge.x);
    EXPECT_EQ(100000, huge.height);
}

class Frame : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetDisplayState();
        displayState.background.LoadFromResource(displayState.module, MAKEINTRESOURCEW(IDB_BACKGROUND), L"PNG");
        displayState.imageRect = {2, 2, 100, 100};
        displayState.aspectratio = 1;
    }
    void TearDown() override { ResetDisplayState(); }
    static void Hold(ImageStreamHolder& holder, const std::vector<unsigned char>& bytes)
    {
        holder.Release();
        ASSERT_FALSE(bytes.empty());
        holder.LoadFromMemory(bytes.data(), static_cast<uint32_t>(bytes.size()));
    }
    static void HoldCover(int w, int h, Gdiplus::ARGB colour = RED, const wchar_t* type = L"image/png")
    {
        Hold(displayState.cover, EncodeSolidPicture(w, h, colour, type));
    }

    GdiplusSession gdiplus;
};

// Each fitted case: the cover fills its rectangle and leaves the grey slot
// showing on the free sides (edge pixels may be blended by the scaler).
TEST_F(Frame, AspectRatioFitsTheCoverInsideTheSlot)
{
    const struct { int w, h; ImageRect at; const wchar_t* type; } cases[] = {
        {300, 200, {2, 19, 100, 66}, L"image/png"},
        {200, 300, {19, 2, 66, 100}, L"image/png"},
        {500, 500, {2, 2, 100, 100}, L"image/jpeg"},
        {100, 67, {2, 18, 100, 67}, L"image/png"},
        {300, 200, {2, 19, 100, 66}, L"image/gif"},
        {200, 300, {19, 2, 66, 100}, L"image/bmp"},
    };
    for (const auto& c : cases) {
        HoldCover(c.w, c.h, RED, c.type);
        PixelCanvas canvas(112, 112);
        ComposeFrame(canvas.dc());
        const int left = c.at.x, top = c.at.y;
        const int right = c.at.x + c.at.width - 1, bottom = c.at.y + c.at.height - 1;
        const int midX = left + c.at.width / 2, midY = top + c.at.height / 2;
        SCOPED_TRACE(testing::Message() << c.w << "x" << c.h << " " << Utf8Of(c.type));
        EXPECT_TRUE(IsRed(canvas.at(left + 1, midY)));
        EXPECT_TRUE(IsRed(canvas.at(right - 1, midY)));
        EXPECT_TRUE(IsRed(canvas.at(midX, top + 1)));
        EXPECT_TRUE(IsRed(canvas.at(midX, bottom - 1)));
        EXPECT_TRUE(left == 2 || IsGrey(canvas.at(left - 1, midY)));
        EXPECT_TRUE(right == 101 || IsGrey(canvas.at(right + 1, midY)));
        EXPECT_TRUE(top == 2 || IsGrey(canvas.at(midX, top - 1)));
        EXPECT_TRUE(bottom == 101 || IsGrey(canvas.at(midX, bottom + 1)));
    }
}

TEST_F(Frame, WithoutAspectRatioTheCoverIsStretchedToTheSlotUnderTheOverlay)
{
    displayState.aspectratio = 0;
    displayState.overlay.LoadFromResource(displayState.module, MAKEINTRESOURCEW(IDB_OVERLAY), L"PNG");
    HoldCover(300, 200);
    PixelCanvas canvas(112, 112);
    ComposeFrame(canvas.dc());
    const Pixel gloss = canvas.at(16, 2);
    EXPECT_TRUE(gloss.r > 250 && gloss.g > 50 && gloss.g < 80) << "gloss over the cover " << int(gloss.g);
    for (int i : {50, 100}) {
        EXPECT_TRUE(IsRed(canvas.at(i, 3))) << i;
        EXPECT_TRUE(IsRed(canvas.at(i, 100))) << i;
        EXPECT_TRUE(IsRed(canvas.at(3, i))) << i;
    }
    EXPECT_TRUE(Near(canvas.at(1, 50), 255, 255, 255)) << "the border stays";
}

TEST_F(Frame, MarkerOnlyForADrawnCoverFromTheTagWithDebugOn)
{
    const struct { int debug, fromTag; bool decodes, marker; } cases[] = {
        {1, 1, true, true}, {1, 0, true, false}, {0, 1, true, false}, {1, 1, false, false},
    };
    for (const auto& c : cases) {
        displayState.debug = c.debug;
        displayState.coverFromTag = c.fromTag;
        if (c.decodes) {
            HoldCover(100, 100, BLUE);
        } else {
            const std::vector<unsigned char> notAPicture = {'n', 'o', 't', ' ', 'a', ' ', 'p', 'n', 'g'};
            Hold(displayState.cover, notAPicture);
        }
        PixelCanvas canvas(112, 112);
        ComposeFrame(canvas.dc());
        SCOPED_TRACE(testing::Message() << c.debug << c.fromTag << c.decodes);
        const Pixel corner = canvas.at(3, 2);
        if (c.marker)
            EXPECT_TRUE(Near(corner, 0, 255, 0)) << int(corner.r) << "," << int(corner.g) << "," << int(corner.b);
        else if (c.decodes)
            EXPECT_TRUE(Near(corner, 0, 0, 255));
        else
            EXPECT_TRUE(IsGrey(corner));
        EXPECT_EQ(c.decodes, Near(canvas.at(50, 50), 0, 0, 255)) << "cover drawn only when it decodes";
    }
}

// Refused unread: a format other than JPEG, PNG, GIF and BMP (GDI+ would
// read a TIFF named .jpg), and a picture above the pixel limit.
TEST_F(Frame, EmptyUndecodableOrRefusedCoverLeavesTheGreySlot)
{
    const std::vector<unsigned char> covers[] = {
        {},
        EncodeSolidPicture(100, 100, RED, L"image/tiff"),
        EncodeSolidPicture(4097, 4096, RED),
    };
    ASSERT_FALSE(covers[1].empty() || covers[2].empty()) << "an encoder is missing";
    for (const auto& bytes : covers) {
        displayState.cover.Release();
        displayState.cover.LoadFromMemory(bytes.data(), static_cast<uint32_t>(bytes.size()));
        PixelCanvas canvas(112, 112);
        ComposeFrame(canvas.dc());
        EXPECT_TRUE(IsGrey(canvas.at(50, 50))) << bytes.size() << " bytes";
    }
}

// Background and overlay keep their own pixel size, whatever their stored
// resolution and whatever the canvas: the overlay's colour changes at its own
// column 100, which a stretch to the canvas would move.
TEST_F(Frame, OverlayLargerThanTheBackgroundIsCutNotScaled)
{
    auto background = [](int, int) { return 0xFF00FF00u; };
    auto overlay = [](int x, int) { return x < 100 ? 0xFF0000FFu : 0xFFFF0000u; };
    std::vector<unsigned char> small = EncodePngFrom(40, 30, background, 48.0f);
    std::vector<unsigned char> large = EncodePngFrom(200, 200, overlay, 300.0f);
    Hold(displayState.background, small);
    Hold(displayState.overlay, large);
    displayState.imageRect = {0, 0, 0, 0};
    PixelCanvas canvas(120, 60);
    DrawBackground(canvas.dc());
    EXPECT_TRUE(Near(canvas.at(38, 28), 0, 255, 0));
    EXPECT_EQ(0, canvas.at(42, 28).a) << "background not scaled to the canvas";
    EXPECT_EQ(0, canvas.at(38, 32).a);
    DrawOverlay(canvas.dc());
    EXPECT_TRUE(Near(canvas.at(98, 58), 0, 0, 255));
    EXPECT_TRUE(Near(canvas.at(102, 58), 255, 0, 0));
    EXPECT_TRUE(Near(canvas.at(119, 59), 255, 0, 0));
}

TEST_F(Frame, BuiltInFrameWithoutCoverIsPanelShadowAndGlossElseTransparent)
{
    displayState.overlay.LoadFromResource(displayState.module, MAKEINTRESOURCEW(IDB_OVERLAY), L"PNG");
    PixelCanvas canvas(112, 112);
    ComposeFrame(canvas.dc());
    EXPECT_TRUE(Near(canvas.at(0, 0), 255, 255, 255));
    EXPECT_TRUE(IsGrey(canvas.at(60, 60)));
    const Pixel gloss = canvas.at(16, 2);
    EXPECT_TRUE(gloss.a == 255 && gloss.r > 226 && gloss.r < 240) << int(gloss.r);
    EXPECT_TRUE(Near(canvas.at(104, 50), 0, 0, 0, 182, 2));
    EXPECT_TRUE(Near(canvas.at(50, 108), 0, 0, 0, 36, 2));
    for (int i = 0; i < 112; ++i) {
        for (int edge = 109; edge < 112; ++edge) {
            ASSERT_EQ(0, canvas.at(i, edge).a) << i << "," << edge;
            ASSERT_EQ(0, canvas.at(edge, i).a) << edge << "," << i;
        }
    }
    EXPECT_EQ(0, canvas.at(108, 108).a);
}

// The cover as presentations drew it before it was prepared: decoded and
// scaled into its rectangle by GDI+ at every frame.
void DrawCoverScaledAtEachFrame(HDC target)
{
    GdiplusSession gdiplus;
    UniqueGdipGraphics graphics;
    GdipCreateFromHDC(target, graphics.put());
    UniqueGdipBitmap picture;
    ASSERT_EQ(Gdiplus::Ok, DecodeHeldPicture(displayState.cover, &picture));
    UINT width = 0, height = 0;
    GdipGetImageWidth(picture.get(), &width);
    GdipGetImageHeight(picture.get(), &height);
    const ImageRect& slot = displayState.imageRect;
    const ImageRect to = displayState.aspectratio ? FitCoverRect(slot, int(width), int(height)) : slot;
    GdipDrawImageRectI(graphics.get(), picture.get(), to.x, to.y, to.width, to.height);
}

// A theme picture as presentations drew it before it was prepared: decoded
// by GDI+ and drawn at its own pixel size at every frame.
void DrawThemePictureAtEachFrame(HDC target, const ImageStreamHolder& holder)
{
    UniqueGdipGraphics graphics;
    GdipCreateFromHDC(target, graphics.put());
    UniqueGdipBitmap picture;
    if (DecodeHeldPicture(holder, &picture) != Gdiplus::Ok)
        return;
    UINT width = 0, height = 0;
    GdipGetImageWidth(picture.get(), &width);
    GdipGetImageHeight(picture.get(), &height);
    GdipDrawImageRectI(graphics.get(), picture.get(), 0, 0, int(width), int(height));
}

// The largest difference of any channel between two canvases of one size,
// leaving out the pixels `skip` names.
template <typename Skip>
int WorstDifference(const PixelCanvas& a, const PixelCanvas& b, Skip skip, int* worstX, int* worstY)
{
    const Pixels pa = a.Read(), pb = b.Read();
    int worst = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            if (skip(x, y))
                continue;
            const uint32_t p = pa.At(x, y), q = pb.At(x, y);
            for (int shift = 0; shift < 32; shift += 8) {
                const int d = abs(int((p >> shift) & 0xFF) - int((q >> shift) & 0xFF));
                if (d > worst) {
                    worst = d;
                    *worstX = x;
                    *worstY = y;
                }
            }
        }
    }
    return worst;
}

// Smooth gradients and soft waves at the picture's own scale, as a photograph
// is at the size of a slot, and lossily compressed as one.
std::vector<unsigned char> EncodePhotoLike(int width, int height)
{
    const double pi = 3.14159265358979;
    const Pixels pixels = PixelsFrom(width, height, [&](int x, int y) -> uint32_t {
        const double u = double(x) / width, v = double(y) / height;
        const uint32_t r = uint32_t(128 + 100 * sin(3 * pi * u) * cos(2 * pi * v));
        const uint32_t g = uint32_t(255 * v);
        const uint32_t b = uint32_t(128 + 90 * sin(2 * pi * (u + v)));
        return 0xFF000000u | r << 16 | g << 8 | b;
    });
    return EncodePixels(pixels, L"image/jpeg");
}

// The prepared cover, drawn 1:1, gives the frame the per-frame GDI+ scale
// gave, shrunk by WIC and enlarged by GDI+; it is remade for each change of
// slot or aspect option, and it is no larger than its rectangle.
TEST_F(Frame, PreparedCoverMatchesTheCoverScaledAtEachFrame)
{
    ComSession com;
    constexpr int TOLERANCE = 12;
    const ImageRect slots[] = {{2, 2, 100, 100}, {20, 20, 400, 300}};
    for (int side : {300, 1000, 3000}) {
        for (bool photo : {true, false}) {
            const int width = side, height = side * 2 / 3;
            Hold(displayState.cover, photo ? EncodePhotoLike(width, height)
                                           : EncodeSolidPicture(width, height, 0xFF3366CC));
            for (const ImageRect& slot : slots) {
                for (int aspect : {1, 0}) {
                    SCOPED_TRACE(testing::Message() << side << (photo ? " photo" : " flat") << " slot "
                                                    << slot.width << " aspect " << aspect);
                    displayState.imageRect = slot;
                    displayState.aspectratio = aspect;
                    PixelCanvas before(440, 340), now(440, 340);
                    DrawBackground(before.dc());
                    DrawCoverScaledAtEachFrame(before.dc());
                    ComposeFrame(now.dc());
                    const PreparedCover* cover = CurrentPreparedCover();
                    ASSERT_TRUE(cover != NULL);
                    const ImageRect to = aspect ? FitCoverRect(slot, width, height) : slot;
                    EXPECT_EQ(to.width, cover->at.width);
                    EXPECT_EQ(to.height, cover->at.height);
                    const bool shrinks = width >= to.width && height >= to.height;
                    EXPECT_EQ(shrinks ? CoverScaler::WIC : CoverScaler::GDIPLUS, cover->scaler);
                    // GDI+ blends the rectangle's outermost pixels with what lies
                    // outside, or at some scales leaves a row out; the prepared
                    // cover fills them, so that ring is not compared.
                    auto onRing = [&](int x, int y) {
                        const bool inside = x >= to.x && x < to.x + to.width && y >= to.y && y < to.y + to.height;
                        return inside && (x == to.x || y == to.y || x == to.x + to.width - 1 ||
                                          y == to.y + to.height - 1);
                    };
                    int worstX = 0, worstY = 0;
                    EXPECT_LE(WorstDifference(before, now, onRing, &worstX, &worstY), TOLERANCE)
                        << "at " << worstX << "," << worstY;
                }
            }
        }
    }
}

// The theme pictures, decoded once when the theme loads and blended at each
// frame, give the frame that decoding and drawing them at each frame gave:
// the built-in theme, and a 600 x 600 theme of soft translucent gradients
// with an overlay of varying alpha.
TEST_F(Frame, PreparedThemeMatchesThePicturesDrawnAtEachFrame)
{
    auto gradient = [](int x, int y) -> uint32_t {
        return uint32_t(80 + y * 175 / 600) << 24 | uint32_t(x * 255 / 600) << 16 | uint32_t(y * 255 / 600) << 8 | 0x60;
    };
    auto gloss = [](int x, int y) -> uint32_t { return uint32_t((x + y) * 160 / 1200) << 24 | 0xFFFFFF; };
    struct Case {
        const char* name;
        std::vector<unsigned char> background, overlay;
        int side;
    } cases[] = {
        {"built-in", {}, {}, 112},
        {"600 x 600", EncodePngFrom(600, 600, gradient), EncodePngFrom(600, 600, gloss), 600},
    };
    for (Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.background.empty())
            displayState.overlay.LoadFromResource(displayState.module, MAKEINTRESOURCEW(IDB_OVERLAY), L"PNG");
        else {
            Hold(displayState.background, c.background);
            Hold(displayState.overlay, c.overlay);
        }
        PixelCanvas before(c.side, c.side), now(c.side, c.side);
        DrawThemePictureAtEachFrame(before.dc(), displayState.background);
        DrawThemePictureAtEachFrame(before.dc(), displayState.overlay);
        ComposeFrame(now.dc());
        int worstX = 0, worstY = 0;
        EXPECT_LE(WorstDifference(before, now, [](int, int) { return false; }, &worstX, &worstY), 2)
            << "at " << worstX << "," << worstY;
    }
}

// A real layered popup, as the display window is.
class PresentedWindow : public Frame {
protected:
    void SetUp() override
    {
        Frame::SetUp();
        ASSERT_TRUE(popup.handle() != NULL);
    }
    LayeredWindow popup{DefWindowProcW, {300, 200, 412, 312}, true};
    HWND window = popup.handle();
};

TEST_F(PresentedWindow, PresentingKeepsTheWindowWhereItWasMoved)
{
    PresentFrame(window);
    popup.MoveTo(420, 333);
    PresentFrame(window);
    RECT r = popup.Rect();
    EXPECT_EQ(420, r.left);
    EXPECT_EQ(333, r.top);
    EXPECT_EQ(112, r.right - r.left);
}

TEST_F(PresentedWindow, HundredsOfPresentationsKeepGdiObjectsAndHandles)
{
    displayState.overlay.LoadFromResource(displayState.module, MAKEINTRESOURCEW(IDB_OVERLAY), L"PNG");
    HoldCover(300, 200);
    displayState.debug = 1;
    displayState.coverFromTag = 1;
    PresentFrame(window);
    const LeakCounts before = TakeLeakCounts();
    for (int i = 0; i < 300; ++i)
        PresentFrame(window);
    const LeakCounts after = TakeLeakCounts();
    EXPECT_GT(before.gdiObjects, 0u) << "the counter sees the test's own objects";
    EXPECT_EQ(before.Held(), after.Held());
}

}  // namespace
