#pragma once

// The frame's scale: the display window's DPI over 96. The window's size, the
// cover slot and the theme pictures are all taken at it, so the frame is
// drawn at the screen's own pixels; at 96 DPI everything is the theme's own
// size, pixel for pixel.
constexpr int BASE_DPI = 96;

void SetFrameDpi(int dpi);  // anything below 1 counts as 96
int FrameDpi();
// A length in theme pixels as window pixels at the frame's scale, rounded.
int ScaleToFrame(int length);
