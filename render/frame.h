#pragma once
#include <windows.h>
#include "render/gdiplus_flat.h"
#include <optional>
#include "state/display_state.h"
#include "state/owners.h"

// Composes background, cover and overlay on a fresh window-sized canvas and
// hands it to UpdateLayeredWindow. Keeps nothing between calls but the
// prepared cover (see prepared_cover.h), drawn 1:1.
void PresentFrame(HWND window);

// The canvas a frame is composed on: a zero-filled 32-bit ARGB GDI+ bitmap,
// turned into a GDI bitmap with background colour 0 and selected into a
// memory context compatible with the screen. The theme kit previews on it too.
// Not ready when a zero-sized window or exhausted memory leaves no bitmap
// selected; whatever was made is released with the canvas all the same, the
// context's own bitmap put back first.
class FrameCanvas {
public:
    FrameCanvas(HDC screen, int width, int height);
    bool ready() const { return selection_.has_value(); }
    HDC dc() const { return dc_.get(); }

private:
    UniqueMemoryDC dc_;
    UniqueGdipBitmap pixels_;
    UniqueBitmap bitmap_;
    std::optional<ScopedSelect> selection_;  // last: unselects before the others go
};

// The layers PresentFrame draws, on a device context of the caller's: the
// tests' and the theme kit's, which previews a theme with them.
void ComposeFrame(HDC target);
void DrawBackground(HDC target);
void DrawOverlay(HDC target);

// The cover's destination inside `slot` keeping the picture's proportions:
// it touches two opposite sides and is centred on the other axis.
ImageRect FitCoverRect(const ImageRect& slot, int pictureWidth, int pictureHeight);
