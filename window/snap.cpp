#include "window/snap.h"
#include <stdlib.h>

namespace {

bool WithinReach(int a, int b)
{
    return abs(a - b) <= SNAP_DISTANCE;
}

}  // namespace

void SnapToWorkArea(WINDOWPOS* pos, const RECT& work)
{
    if (WithinReach(pos->x, work.left))
        pos->x = work.left;
    if (WithinReach(pos->y, work.top))
        pos->y = work.top;
    if (WithinReach(pos->x, work.right - pos->cx))
        pos->x = work.right - pos->cx;
    if (WithinReach(pos->y, work.bottom - pos->cy))
        pos->y = work.bottom - pos->cy;
}
