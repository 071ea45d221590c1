#include <gtest/gtest.h>
#include "window/snap.h"

namespace {

constexpr RECT WORK_AREA = {0, 0, 1920, 1040};

WINDOWPOS Proposed(int x, int y, int cx = 112, int cy = 112)
{
    WINDOWPOS pos = {};
    pos.x = x;
    pos.y = y;
    pos.cx = cx;
    pos.cy = cy;
    return pos;
}

TEST(Snap, RightEdgeWithinNinePixelsSnaps)
{
    WINDOWPOS pos = Proposed(1800, 500);
    SnapToWorkArea(&pos, WORK_AREA);
    EXPECT_EQ(1808, pos.x);
    EXPECT_EQ(500, pos.y);
}

TEST(Snap, DistanceOfElevenDoesNotSnap)
{
    WINDOWPOS pos = Proposed(1797, 500);
    SnapToWorkArea(&pos, WORK_AREA);
    EXPECT_EQ(1797, pos.x);
}

TEST(Snap, DistanceNineSnapsTenDoesNot)
{
    WINDOWPOS inReach = Proposed(9, -9);
    SnapToWorkArea(&inReach, WORK_AREA);
    EXPECT_EQ(0, inReach.x);
    EXPECT_EQ(0, inReach.y);
    WINDOWPOS outOfReach = Proposed(10, -10);
    SnapToWorkArea(&outOfReach, WORK_AREA);
    EXPECT_EQ(10, outOfReach.x);
    EXPECT_EQ(-10, outOfReach.y);
}

TEST(Snap, RightAndBottomWinWhenBothEdgesInReach)
{
    // A work area barely wider than the window: both edges are in reach.
    const RECT narrow = {0, 0, 116, 118};
    WINDOWPOS pos = Proposed(3, 2);
    SnapToWorkArea(&pos, narrow);
    EXPECT_EQ(4, pos.x);
    EXPECT_EQ(6, pos.y);
}

}  // namespace
