#pragma once
// The pictures the tests make, encode and read back, and the canvas they draw
// into, come from the helper library.
#include "helpers/pictures.h"
#include "helpers/pixel_canvas.h"
#include "state/gdiplus_session.h"
