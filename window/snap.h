#pragma once
#include <windows.h>

constexpr int SNAP_DISTANCE = 9;

// Moves the proposed position onto a work-area edge within reach; the right
// and bottom edges are tested last and so win over left and top.
void SnapToWorkArea(WINDOWPOS* pos, const RECT& work);
