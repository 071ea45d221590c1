#pragma once
#include <windows.h>
#include "render/frame.h"

// The window's frame as it shows: a canvas of the window's size, kept and
// reused between presentations, so a presentation allocates nothing and a
// fade can start from what is on screen.

// The canvas, made again when the window's size changed; null when none can
// be made for that size. Its pixels are what was last shown.
const FrameCanvas* WindowCanvas(HWND window);
// Hands the canvas to UpdateLayeredWindow at the window's place, with the
// chosen opacity as constant alpha over the per-pixel alpha.
void ShowWindowCanvas(HWND window);
void ReleaseWindowCanvas();

// The opacity setting as constant alpha: 10 to 100 percent, anything else
// full.
BYTE OpacityAlpha();
