#pragma once
#include <windows.h>
#include <vector>

// Real input through SendInput, paced so that the receiving thread (the
// plug-in's, which may be in a modal move loop) keeps up.
void LeftDrag(POINT from, POINT to);
void DoubleClick(POINT at, bool shiftOnSecondClick);
// Holds the left button down at `at`, after a first click with Shift then
// held when asked (a Shift double-click); ReleaseLeft lets both go.
void PressLeft(POINT at, bool shiftClickFirst);
void ReleaseLeft();
void RightClick(POINT at);
void PressKeys(const std::vector<WORD>& keys);
