#include <gtest/gtest.h>
#include <stdlib.h>
#include <algorithm>
#include "render/cover_fade.h"
#include "render/frame.h"
#include "render/window_canvas.h"
#include "resources/resource_ids.h"
#include "state/com_session.h"
#include "state/gdiplus_session.h"
#include "support/layered_window.h"
#include "support/leak_counters.h"
#include "support/test_pictures.h"
#include "support/test_support.h"

namespace {

constexpr uint32_t RED = 0xFFFF0000, BLUE = 0xFF0000FF;
constexpr uint32_t SLOT_GREY = 0xFFE0E0E0;  // the built-in theme's empty slot
constexpr int CENTRE = 56;

// Fades on a bare popup of the built-in theme's size, the steps driven by
// hand as the fade timer drives them.
class CoverFade : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetDisplayState();
        displayState.background.LoadFromResource(displayState.module, MAKEINTRESOURCEW(IDB_BACKGROUND), L"PNG");
        displayState.imageRect = {2, 2, 100, 100};
        displayState.fade = 1;
        ASSERT_TRUE(window);
        PresentFrame(window);
    }
    void TearDown() override
    {
        StopFade(window);
        ResetDisplayState();
    }
    void HoldCover(uint32_t colour)
    {
        const std::vector<unsigned char> bytes = EncodeSolidPicture(16, 16, colour);
        displayState.cover.Release();
        displayState.cover.LoadFromMemory(bytes.data(), static_cast<uint32_t>(bytes.size()));
    }
    uint32_t Shown(int x = CENTRE, int y = CENTRE) { return WindowCanvas(window)->pixels().Row(y)[x]; }
    // Steps the fade as its timer would once `ms` have passed.
    void StepAfter(DWORD ms)
    {
        Sleep(ms);
        AdvanceFade(window);
    }

    GdiplusSession gdiplus;
    ComSession com;
    LayeredWindow popup{DefWindowProcW, {300, 200, 412, 312}, true};
    HWND window = popup.handle();
};

// Between the colours, channel by channel.
bool Between(uint32_t value, uint32_t a, uint32_t b)
{
    for (int shift = 0; shift < 32; shift += 8) {
        const int v = (value >> shift) & 0xFF, lo = std::min((a >> shift) & 0xFF, (b >> shift) & 0xFF),
                  hi = std::max((a >> shift) & 0xFF, (b >> shift) & 0xFF);
        if (v < lo || v > hi)
            return false;
    }
    return value != a && value != b;
}

TEST_F(CoverFade, BlendsFromTheFrameShownAndEndsOnTheNewFrameExactly)
{
    ASSERT_EQ(SLOT_GREY, Shown());
    HoldCover(RED);
    PresentCoverChange(window);
    EXPECT_EQ(SLOT_GREY, Shown()) << "a fade starts from what shows";
    StepAfter(FADE_MS / 2);
    EXPECT_TRUE(Between(Shown(), SLOT_GREY, RED)) << std::hex << Shown();
    StepAfter(FADE_MS);
    PixelCanvas exact(112, 112);
    ComposeFrame(exact.dc());
    const Pixels expected = exact.Read();
    for (int y = 0; y < 112; ++y)
        for (int x = 0; x < 112; ++x)
            ASSERT_EQ(expected.argb[static_cast<size_t>(y) * 112 + x], Shown(x, y)) << x << "," << y;
}

TEST_F(CoverFade, AChangeDuringAFadeStartsFromWhatShowsAndAnImmediateFrameEndsIt)
{
    HoldCover(RED);
    PresentCoverChange(window);
    StepAfter(FADE_MS / 2);
    const uint32_t midway = Shown();
    HoldCover(BLUE);
    PresentCoverChange(window);
    EXPECT_EQ(midway, Shown());
    StepAfter(FADE_MS / 2);
    EXPECT_TRUE(Between(Shown(), midway, BLUE)) << std::hex << Shown();

    // A menu choice presents at once: the fade does not carry on over it.
    displayState.aspectratio = 1;
    PresentFrame(window);
    const uint32_t now = Shown();
    EXPECT_EQ(BLUE, now);
    StepAfter(FADE_MS / 4);
    EXPECT_EQ(now, Shown());
}

TEST_F(CoverFade, IdleWindowFadesOutAndHidesThenShowsAgainAtTheNextCover)
{
    HideWindowWhenIdle(window);
    EXPECT_TRUE(IsWindowVisible(window)) << "still fading out";
    StepAfter(FADE_MS / 2);
    EXPECT_TRUE(Between(Shown(), 0, SLOT_GREY)) << std::hex << Shown();
    StepAfter(FADE_MS);
    EXPECT_FALSE(IsWindowVisible(window));

    HoldCover(RED);
    PresentCoverChange(window);
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_EQ(0u, Shown()) << "fades in from nothing";
    StepAfter(FADE_MS + 20);
    EXPECT_EQ(RED, Shown());

    displayState.fade = 0;
    HideWindowWhenIdle(window);
    EXPECT_FALSE(IsWindowVisible(window));
    PresentCoverChange(window);
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_EQ(RED, Shown());
}

TEST_F(CoverFade, TwoHundredFadesKeepGdiObjectsHandlesAndMemory)
{
    HoldCover(RED);
    PresentCoverChange(window);
    StepAfter(FADE_MS);
    const LeakCounts before = TakeLeakCounts();
    for (int i = 0; i < 200; ++i) {
        HoldCover(i % 2 ? RED : BLUE);
        PresentCoverChange(window);
        AdvanceFade(window);
    }
    StepAfter(FADE_MS);
    const LeakCounts after = TakeLeakCounts();
    EXPECT_EQ(before.Held(), after.Held());
    EXPECT_LT(after.privateBytes, before.privateBytes + (1u << 20));
}

}  // namespace
