// Times PresentFrame against one bare window update of a ready frame (the
// floor), a fade step, the first presentation of a new cover (decode and scale) against
// the ones after it (draw only), measures what a 3000x3000 cover costs in
// peak and kept memory, and counts GDI objects, kernel handles, heap blocks
// and private memory around 1,000 presentations. Run by hand under Wine
// (scripts/bench); prints figures.
#include <stdio.h>
#include <memory>
#include <vector>
#include "render/frame.h"
#include "render/held_picture.h"
#include "render/prepared_cover.h"
#include "render/prepared_theme.h"
#include "render/window_canvas.h"
#include "render/theme.h"
#include "state/gdiplus_session.h"
#include "support/layered_window.h"
#include "support/leak_counters.h"
#include "support/test_pictures.h"
#include "helpers/stopwatch.h"
#include "support/test_support.h"
#include "state/com_session.h"

namespace {

template <typename Work>
double MeanMilliseconds(int runs, Work work)
{
    work();  // warm-up
    const Stopwatch stopwatch;
    for (int i = 0; i < runs; ++i)
        work();
    return stopwatch.Milliseconds() / runs;
}

// A textured picture, so the JPEG is as costly to decode as a photograph.
std::vector<unsigned char> EncodeTexturedJpeg(int width, int height)
{
    UINT32 seed = 12345;
    const Pixels pixels = PixelsFrom(width, height, [&](int x, int y) -> uint32_t {
        seed = seed * 1664525u + 1013904223u;
        return 0xFF000000u | (((x * 255 / width) & 0xFF) << 16) | (((y * 255 / height) & 0xFF) << 8) |
               ((seed >> 24) & 0x3F);
    });
    return EncodePixels(pixels, L"image/jpeg");
}

// The floor: decode the three held pictures and draw them into a ready DC,
// without the canvas, the GDI bitmap or the window update.
void DecodeAndDrawOnly(HDC target)
{
    UniqueGdipGraphics graphics;
    GdipCreateFromHDC(target, graphics.put());
    for (const ImageStreamHolder* holder : {&displayState.background, &displayState.cover, &displayState.overlay}) {
        UniqueGdipBitmap picture;
        if (DecodeHeldPicture(*holder, &picture) != Gdiplus::Ok)
            continue;
        const ImageRect& r = displayState.imageRect;
        if (holder == &displayState.cover) {
            GdipDrawImageRectI(graphics.get(), picture.get(), r.x, r.y, r.width, r.height);
        } else {
            UINT width = 0, height = 0;
            GdipGetImageWidth(picture.get(), &width);
            GdipGetImageHeight(picture.get(), &height);
            GdipDrawImageRectI(graphics.get(), picture.get(), 0, 0, width, height);
        }
    }
}

void HoldCover(const std::vector<unsigned char>& bytes)
{
    displayState.cover.Release();
    displayState.cover.LoadFromMemory(bytes.data(), static_cast<uint32_t>(bytes.size()));
}

// One UpdateLayeredWindow of a ready premultiplied DIB section of the
// window's size: no presentation can cost less.
double WindowUpdateFloor(HWND window, int runs)
{
    RECT bounds;
    GetWindowRect(window, &bounds);
    SIZE size = {bounds.right - bounds.left, bounds.bottom - bounds.top};
    PixelCanvas ready(size.cx, size.cy);
    ready.Fill(0x80404040);
    ScopedGetDC screen(NULL);
    POINT at = {bounds.left, bounds.top}, source = {0, 0};
    BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    return MeanMilliseconds(runs, [&] {
        UpdateLayeredWindow(window, screen.get(), &at, &size, ready.dc(), &source, 0, &blend, ULW_ALPHA);
    });
}

void TimeCase(const char* name, HWND window, int runs)
{
    RECT bounds;
    GetWindowRect(window, &bounds);
    const double present = MeanMilliseconds(runs, [&] { PresentFrame(window); });
    const double floor = WindowUpdateFloor(window, runs);
    printf("%-44s %4ldx%-4ld PresentFrame %8.3f ms   window update floor %8.3f ms   (%d runs)\n", name,
           bounds.right - bounds.left, bounds.bottom - bounds.top, present, floor, runs);
}

// The figures a cross-fade rests on, for a 600 x 600 theme with a 300 x 300
// cover: repeated presentations of the unchanged cover against the floor, one
// fade step (a blend of two frames and the window update), and what is kept.
void PrintThemeFigures(HWND window, const std::vector<unsigned char>& cover, int runs)
{
    HoldCover(cover);
    PresentFrame(window);
    const double present = MeanMilliseconds(runs, [&] { PresentFrame(window); });
    const double floor = WindowUpdateFloor(window, runs);
    printf("600x600 theme, repeated presentation: PresentFrame %.3f ms, window update floor %.3f ms\n", present,
           floor);
    const FrameCanvas* canvas = WindowCanvas(window);
    const FramePixels& pixels = canvas->pixels();
    std::vector<uint32_t> from(static_cast<size_t>(pixels.width) * pixels.height, 0x80402010);
    std::vector<uint32_t> to(from.size(), 0xFF808080);
    unsigned weight = 0;
    const double step = MeanMilliseconds(runs, [&] {
        MixFrames(pixels, from.data(), to.data(), weight++ % 256);
        ShowWindowCanvas(window);
    });
    const PreparedCover* prepared = CurrentPreparedCover();
    const size_t coverBytes = prepared ? static_cast<size_t>(prepared->at.width) * prepared->at.height * 4 : 0;
    const size_t canvasBytes = static_cast<size_t>(pixels.width) * pixels.height * 4;
    printf("600x600 theme, one fade step (blend of two frames + window update): %.3f ms; a fade keeps two more "
           "frames (%zu KiB) while it runs\n",
           step, 2 * canvasBytes / 1024);
    printf("600x600 theme, memory kept: prepared background and overlay %zu KiB, window canvas %zu KiB, "
           "prepared cover %zu KiB\n",
           PreparedThemeBytes() / 1024, canvasBytes / 1024, coverBytes / 1024);
}

// Each run holds the cover afresh (untimed), so every timed presentation
// decodes and scales it; then the presentations after the first draw only.
void TimeNewCover(const char* theme, int side, HWND window, int runs)
{
    const std::vector<unsigned char> bytes = EncodeTexturedJpeg(side, side);
    double first = 0.0;
    for (int i = 0; i < runs; ++i) {
        HoldCover(bytes);
        const Stopwatch stopwatch;
        PresentFrame(window);
        first += stopwatch.Milliseconds();
    }
    const double repeated = MeanMilliseconds(runs * 10, [&] { PresentFrame(window); });
    const PreparedCover* cover = CurrentPreparedCover();
    printf("%-22s %4dx%-4d JPEG cover: first presentation (decode+scale) %8.3f ms, repeated (draw only) %8.3f ms"
           "   scaled by %s (%d runs)\n",
           theme, side, side, first / runs, repeated,
           !cover ? "nothing" : cover->scaler == CoverScaler::WIC ? "WIC" : "GDI+", runs);
}

// The most committed private memory seen, sampled every millisecond, while `work` runs.
template <typename Work>
size_t PeakPrivateBytesDuring(Work work)
{
    struct Sampler {
        volatile LONG stop = 0;
        size_t peak = 0;
        static DWORD WINAPI Run(void* self)
        {
            Sampler* sampler = static_cast<Sampler*>(self);
            while (!sampler->stop) {
                const size_t now = CommittedPrivateBytes();
                if (now > sampler->peak)
                    sampler->peak = now;
                Sleep(1);
            }
            return 0;
        }
    } sampler;
    sampler.peak = CommittedPrivateBytes();
    UniqueHandle thread(CreateThread(NULL, 0, Sampler::Run, &sampler, 0, NULL));
    work();
    InterlockedExchange(&sampler.stop, 1);
    WaitForSingleObject(thread.get(), INFINITE);
    const size_t after = CommittedPrivateBytes();
    return after > sampler.peak ? after : sampler.peak;
}

// The encoded bytes are held before the base is taken: what is printed is the
// decoded side alone.
void PrintCoverMemory(HWND window, int side)
{
    const std::vector<unsigned char> bytes = EncodeTexturedJpeg(side, side);
    HoldCover(bytes);
    RECT bounds;
    GetWindowRect(window, &bounds);
    PixelCanvas canvas(bounds.right - bounds.left, bounds.bottom - bounds.top);
    const size_t base = CommittedPrivateBytes();
    const size_t perFrame = PeakPrivateBytesDuring([&] { DecodeAndDrawOnly(canvas.dc()); });
    const size_t afterPerFrame = CommittedPrivateBytes();
    const size_t prepared = PeakPrivateBytesDuring([&] { PresentFrame(window); });
    const size_t kept = CommittedPrivateBytes();
    printf("%dx%d JPEG cover (%zu KiB encoded): GDI+ decode per frame peak +%zu KiB; first presentation peak "
           "+%zu KiB, kept +%zu KiB after it (prepared %dx%d = %d KiB)\n",
           side, side, bytes.size() / 1024, (perFrame - base) / 1024, (prepared - afterPerFrame) / 1024,
           kept > afterPerFrame ? (kept - afterPerFrame) / 1024 : 0, displayState.imageRect.width,
           displayState.imageRect.height, displayState.imageRect.width * displayState.imageRect.height * 4 / 1024);
}

void PrintCounts(const char* label, const LeakCounts& before, const LeakCounts& after)
{
    printf("%-44s GDI objects %zu -> %zu, kernel handles %zu -> %zu, heap blocks %zu -> %zu, "
           "private KiB %zu -> %zu\n",
           label, before.gdiObjects, after.gdiObjects, before.kernelHandles, after.kernelHandles,
           before.heapBlocks, after.heapBlocks, before.privateBytes / 1024, after.privateBytes / 1024);
}

}  // namespace

int main()
{
    ComSession com;
    GdiplusSession gdiplus;
    ResetDisplayState();
    LayeredWindow popup(DefWindowProcW, {100, 100, 212, 212}, true);
    HWND window = popup.handle();
    displayState.aspectratio = 1;

    TempFolder themes;
    lstrcpynW(displayState.themesRoot, themes.path().c_str(), MAX_PATH);
    MakeFolder(themes / L"Large");
    WriteText(themes / L"Large\\theme.ini", "[image]\r\nx=20\r\ny=20\r\nwidth=560\r\nheight=560\r\n");
    WriteBytes(themes / L"Large\\background.png", EncodeSolidPicture(600, 600, 0xFF303030));
    WriteBytes(themes / L"Large\\overlay.png", EncodeSolidPicture(600, 600, 0x20FFFFFF));
    const std::vector<unsigned char> smallCover = EncodeTexturedJpeg(300, 300);
    const std::vector<unsigned char> hugeCover = EncodeTexturedJpeg(3000, 3000);
    printf("cover JPEGs: 300x300 %zu bytes, 3000x3000 %zu bytes\n", smallCover.size(), hugeCover.size());

    displayState.theme[0] = L'\0';
    LoadTheme(window);
    PrintCoverMemory(window, 3000);
    displayState.cover.Release();
    TimeCase("built-in theme, no cover", window, 200);
    HoldCover(smallCover);
    TimeCase("built-in theme, 300x300 JPEG cover", window, 200);
    HoldCover(hugeCover);
    TimeCase("built-in theme, 3000x3000 JPEG cover", window, 10);

    for (int side : {300, 1500, 3000})
        TimeNewCover("built-in theme,", side, window, 10);

    lstrcpynW(displayState.theme, L"Large", MAX_PATH);
    LoadTheme(window);
    PrintThemeFigures(window, smallCover, 100);
    TimeCase("600x600 theme, 3000x3000 JPEG cover", window, 10);
    for (int side : {300, 1500, 3000})
        TimeNewCover("600x600 theme,", side, window, 10);

    displayState.theme[0] = L'\0';
    LoadTheme(window);
    HoldCover(smallCover);
    displayState.debug = displayState.coverFromTag = 1;
    PresentFrame(window);
    LeakCounts before = TakeLeakCounts();
    for (int i = 0; i < 1000; ++i)
        PresentFrame(window);
    LeakCounts after = TakeLeakCounts();
    PrintCounts("1,000 presentations", before, after);

    // The same run with 100 leaks of each kind put in on purpose: the counters
    // must move by about that much, or they would prove nothing above.
    {
        std::vector<UniqueMemoryDC> leakedDcs;
        std::vector<UniqueHandle> leakedEvents;
        std::vector<std::unique_ptr<ImageStreamHolder>> leakedHolders;
        before = TakeLeakCounts();
        for (int i = 0; i < 1000; ++i) {
            PresentFrame(window);
            if (i % 10 == 0) {
                leakedDcs.emplace_back(CreateCompatibleDC(NULL));
                leakedEvents.emplace_back(CreateEventW(NULL, TRUE, FALSE, NULL));
                leakedHolders.push_back(std::make_unique<ImageStreamHolder>());
                leakedHolders.back()->LoadFromMemory(smallCover.data(), static_cast<uint32_t>(smallCover.size()));
            }
        }
        after = TakeLeakCounts();
        PrintCounts("1,000 presentations + 100 injected leaks", before, after);
    }

    ReleaseThemePictures();
    displayState.cover.Release();
    popup.Destroy();
    return 0;
}
