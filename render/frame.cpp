#include "render/frame.h"

void PresentFrame(HWND) {}
void ComposeFrame(HDC) {}
void DrawBackground(HDC) {}
void DrawCover(HDC) {}
void DrawOverlay(HDC) {}
ImageRect FitCoverRect(const ImageRect& slot, int, int)
{
    return slot;
}
