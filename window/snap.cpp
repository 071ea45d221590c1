#include "window/snap.h"
#include <stdlib.h>

namespace {

bool WithinReach(int a, int b, int reach)
{
    return abs(a - b) <= reach;
}

int ClampStart(int start, int length, int low, int high)
{
    if (start > high - length)
        start = high - length;
    return start < low ? low : start;
}

}  // namespace

void SnapToWorkArea(WINDOWPOS* pos, const RECT& work, int reach)
{
    if (WithinReach(pos->x, work.left, reach))
        pos->x = work.left;
    if (WithinReach(pos->y, work.top, reach))
        pos->y = work.top;
    if (WithinReach(pos->x, work.right - pos->cx, reach))
        pos->x = work.right - pos->cx;
    if (WithinReach(pos->y, work.bottom - pos->cy, reach))
        pos->y = work.bottom - pos->cy;
}

POINT TopLeftInside(const RECT& window, const RECT& work)
{
    POINT topLeft = {ClampStart(window.left, window.right - window.left, work.left, work.right),
                     ClampStart(window.top, window.bottom - window.top, work.top, work.bottom)};
    return topLeft;
}
