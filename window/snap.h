#pragma once
#include <windows.h>

constexpr int SNAP_DISTANCE = 9;

// Moves the proposed position onto a work-area edge within `reach` pixels
// (SNAP_DISTANCE at 96 DPI, scaled with the frame); the right and bottom
// edges are tested last and so win over left and top.
void SnapToWorkArea(WINDOWPOS* pos, const RECT& work, int reach = SNAP_DISTANCE);

// The top-left corner that puts `window` wholly inside `work`, moving it as
// little as possible; a window larger than the work area keeps its top-left
// corner on the work area's.
POINT TopLeftInside(const RECT& window, const RECT& work);
