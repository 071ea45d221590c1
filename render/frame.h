#pragma once
#include <windows.h>
#include "state/display_state.h"

// Composes background, cover and overlay on a fresh window-sized canvas and
// hands it to UpdateLayeredWindow. Keeps nothing between calls.
void PresentFrame(HWND window);

// The layers PresentFrame draws, on a device context of the caller's: the
// tests' and the theme kit's, which previews a theme with them.
void ComposeFrame(HDC target);
void DrawBackground(HDC target);
void DrawOverlay(HDC target);

// The cover's destination inside `slot` keeping the picture's proportions:
// it touches two opposite sides and is centred on the other axis.
ImageRect FitCoverRect(const ImageRect& slot, int pictureWidth, int pictureHeight);
