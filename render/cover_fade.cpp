#include "render/cover_fade.h"
#include <string.h>
#include "render/window_canvas.h"
#include "state/display_state.h"
#include "state/owners.h"

namespace {

struct Fade {
    bool running;
    bool hideAtEnd;
    DWORD start;
    int width, height;
    UniqueHeapBlock from, to;  // packed rows of the window's size
};

Fade fade;

uint32_t* Pixels(const UniqueHeapBlock& block)
{
    return static_cast<uint32_t*>(block.get());
}

// A block for a frame of the canvas's size, its pixels copied from the canvas
// or left transparent.
UniqueHeapBlock FrameBlock(const FramePixels& canvas, bool copyCanvas)
{
    const size_t rowBytes = static_cast<size_t>(canvas.width) * sizeof(uint32_t);
    UniqueHeapBlock block(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, rowBytes * canvas.height));
    if (block && copyCanvas) {
        GdiFlush();
        for (int y = 0; y < canvas.height; ++y)
            memcpy(Pixels(block) + static_cast<size_t>(y) * canvas.width, canvas.Row(y), rowBytes);
    }
    return block;
}

void CopyToCanvas(const FramePixels& canvas, const uint32_t* frame)
{
    const size_t rowBytes = static_cast<size_t>(canvas.width) * sizeof(uint32_t);
    for (int y = 0; y < canvas.height; ++y)
        memcpy(canvas.Row(y), frame + static_cast<size_t>(y) * canvas.width, rowBytes);
}

void EndFade(HWND window)
{
    KillTimer(window, FADE_TIMER_ID);
    fade.running = false;
    fade.from.reset();
    fade.to.reset();
}

// Blends from what the window shows to the frame for the cover now held, or
// to nothing, showing the window first when it is hidden.
void StartFade(HWND window, bool hideAtEnd)
{
    const bool hidden = !IsWindowVisible(window);
    const FrameCanvas* canvas = WindowCanvas(window);
    if (!canvas)
        return;
    // The canvas holds what the window shows, a fade's step included.
    const FramePixels& pixels = canvas->pixels();
    UniqueHeapBlock from = FrameBlock(pixels, !hidden);
    EndFade(window);
    ClearPixels(pixels);
    if (!hideAtEnd)
        ComposeLayers(pixels, canvas->dc());
    UniqueHeapBlock to = FrameBlock(pixels, true);
    if (!from || !to) {
        // No memory for a fade: the new frame shows at once.
        ShowWindowCanvas(window);
        ShowWindow(window, hideAtEnd ? SW_HIDE : SW_SHOWNOACTIVATE);
        return;
    }
    CopyToCanvas(pixels, Pixels(from));
    ShowWindowCanvas(window);
    if (hidden)
        ShowWindow(window, SW_SHOWNOACTIVATE);
    fade = {true, hideAtEnd, GetTickCount(), pixels.width, pixels.height, std::move(from), std::move(to)};
    SetTimer(window, FADE_TIMER_ID, FADE_STEP_MS, NULL);
}

}  // namespace

void PresentCoverChange(HWND window)
{
    if (!displayState.fade) {
        PresentFrame(window);
        if (!IsWindowVisible(window))
            ShowWindow(window, SW_SHOWNOACTIVATE);
        return;
    }
    StartFade(window, false);
}

void HideWindowWhenIdle(HWND window)
{
    if (!IsWindowVisible(window))
        return;
    if (!displayState.fade) {
        StopFade(window);
        ShowWindow(window, SW_HIDE);
        return;
    }
    StartFade(window, true);
}

void AdvanceFade(HWND window)
{
    const FrameCanvas* canvas = fade.running ? WindowCanvas(window) : NULL;
    if (!canvas || canvas->pixels().width != fade.width || canvas->pixels().height != fade.height) {
        EndFade(window);
        return;
    }
    const DWORD elapsed = GetTickCount() - fade.start;
    if (elapsed >= FADE_MS) {
        CopyToCanvas(canvas->pixels(), Pixels(fade.to));
        // Under a compositor a frame updated to nothing can linger on screen: the window is hidden instead.
        if (fade.hideAtEnd)
            ShowWindow(window, SW_HIDE);
        else
            ShowWindowCanvas(window);
        EndFade(window);
        return;
    }
    MixFrames(canvas->pixels(), Pixels(fade.from), Pixels(fade.to), elapsed * 256 / FADE_MS);
    ShowWindowCanvas(window);
}

void StopFade(HWND window)
{
    if (fade.running)
        EndFade(window);
}
