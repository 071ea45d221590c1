#pragma once
#include <windows.h>
#include <stdint.h>
#include <optional>
#include "render/frame_pixels.h"
#include "state/display_state.h"
#include "state/owners.h"

// Composes background, cover and overlay, all prepared beforehand (see
// prepared_theme.h and prepared_cover.h), into the window's kept canvas and
// hands it to UpdateLayeredWindow at the chosen opacity. A fade under way
// ends: what is presented now takes effect at once.
void PresentFrame(HWND window);

// The canvas a frame is composed on: a zero-filled, top-down 32-bit DIB
// section selected into a memory context compatible with the screen. The
// theme kit previews on it too. Not ready when a zero-sized window or
// exhausted memory leaves no bitmap selected; whatever was made is released
// with the canvas all the same, the context's own bitmap put back first.
class FrameCanvas {
public:
    FrameCanvas(HDC screen, int width, int height);
    bool ready() const { return selection_.has_value(); }
    HDC dc() const { return dc_.get(); }
    const FramePixels& pixels() const { return pixels_; }

private:
    UniqueMemoryDC dc_;
    UniqueBitmap bitmap_;
    FramePixels pixels_ = {};
    std::optional<ScopedSelect> selection_;  // last: unselects before the others go
};

// The layers PresentFrame draws, into the top-down 32-bit DIB section
// selected in a device context of the caller's: the tests' and the theme kit's, which
// previews a theme with them. Nothing is drawn into any other bitmap.
void ComposeFrame(HDC target);
void DrawBackground(HDC target);
void DrawOverlay(HDC target);

// The frame as PresentFrame composes it, into pixels of the window's size;
// `dc` has them selected, for the debug marker.
void ComposeLayers(const FramePixels& target, HDC dc);

// The cover's destination inside `slot` keeping the picture's proportions:
// it touches two opposite sides and is centred on the other axis.
ImageRect FitCoverRect(const ImageRect& slot, int pictureWidth, int pictureHeight);
