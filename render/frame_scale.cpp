#include "render/frame_scale.h"
#include <windows.h>

namespace {

int frameDpi = BASE_DPI;

}  // namespace

void SetFrameDpi(int dpi)
{
    frameDpi = dpi > 0 ? dpi : BASE_DPI;
}

int FrameDpi()
{
    return frameDpi;
}

int ScaleToFrame(int length)
{
    return frameDpi == BASE_DPI ? length : MulDiv(length, frameDpi, BASE_DPI);
}
