#include <gtest/gtest.h>
#include <vector>
#include "support/layered_window.h"
#include "window/dpi.h"

namespace {

// What a system answers to each context asked for; what was asked, in order.
std::vector<DPI_AWARENESS_CONTEXT> asked;
std::vector<DPI_AWARENESS_CONTEXT> granted;

DPI_AWARENESS_CONTEXT WINAPI FakeSetContext(DPI_AWARENESS_CONTEXT context)
{
    asked.push_back(context);
    for (DPI_AWARENESS_CONTEXT g : granted)
        if (g == context)
            return DPI_AWARENESS_CONTEXT_UNAWARE;  // the context replaced
    return NULL;
}

// Windows 10 1703 and later take v2; Wine 8 and Windows 10 1607 only v1;
// a system that knows neither refuses both, and an older one has no
// function at all: none of this is a failure.
TEST(DpiAwareness, AsksForPerMonitorV2ThenV1AndTakesARefusalOrNoFunctionQuietly)
{
    const DPI_AWARENESS_CONTEXT V2 = DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2;
    const DPI_AWARENESS_CONTEXT V1 = DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE;
    const struct {
        std::vector<DPI_AWARENESS_CONTEXT> granted, asked;
        DPI_AWARENESS_CONTEXT result;
    } cases[] = {
        {{V2, V1}, {V2}, V2},
        {{V1}, {V2, V1}, V1},
        {{}, {V2, V1}, NULL},
    };
    for (const auto& c : cases) {
        granted = c.granted;
        asked.clear();
        EXPECT_EQ(c.result, RequestPerMonitorAwareness(FakeSetContext));
        EXPECT_EQ(c.asked, asked);
    }
    EXPECT_EQ(NULL, RequestPerMonitorAwareness(nullptr));
}

// Under Wine the real request is granted v1, and the window's DPI is the
// screen's (96 in this suite's prefix).
TEST(DpiAwareness, RealRequestAndWindowDpi)
{
    RequestPerMonitorAwarenessForThisThread();
    LayeredWindow popup;
    EXPECT_EQ(96, WindowDpi(popup.handle()));
}

}  // namespace
