#include <gtest/gtest.h>
#include <stdlib.h>
#include <string.h>
#include <string>
#include <vector>
#include "support/host_session.h"
#include "support/tag_builder.h"
#include "support/test_pictures.h"
#include "support/test_support.h"

// Cover changes as a listener sees them through the player: faded or at once,
// the window out of the way while nothing plays, and the cover back when
// playing goes on.
namespace {

constexpr DWORD RED = 0xFFFF0000;

class CoverChanges : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(WriteBytes(track, SmallMp3(PictureFrame(EncodeSolidPicture(16, 16, RED))))); }

    HostRun Run(const std::string& settings, const std::vector<std::string>& steps)
    {
        if (!settings.empty()) {
            EXPECT_TRUE(WriteText(folder / L"coverdeck.ini", "[setting]\r\n" + settings + "\r\n"));
        }
        return RunHostExpectingSuccess(plugin, steps);
    }
    std::string Play() const { return "play " + Utf8Of(track); }
    // The centre of the built-in slot in a capture.
    static DWORD Centre(const std::wstring& png)
    {
        Pixels picture;
        return LoadPicture(png, &picture) && picture.width > 56 ? picture.At(56, 56) & 0xFFFFFF : 0;
    }

    TempFolder folder;
    std::wstring plugin = CopyPluginInto(folder);
    std::wstring track = folder / L"01.mp3";
};

// Stop or pause: the status event's own query is answered within the step;
// the one at the end of the debounce is awaited, then the fade out.
const std::vector<std::string> STOP = {"status 2", "await status-query", "wait 400"};

TEST_F(CoverChanges, ANewCoverFadesInByDefaultAndAppearsAtOnceWithFadeOff)
{
    HostRun faded = Run("", {Play(), "await path-query", "sample-centre 600", "quit"});
    HostRun direct = Run("fade=0", {Play(), "await path-query", "sample-centre 300", "quit"});
    for (const HostRun* run : {&faded, &direct}) {
        const std::vector<std::string> sampled = run->StartingWith("centre-colours ");
        ASSERT_EQ(1u, sampled.size()) << run->Transcript();
        EXPECT_NE(std::string::npos, sampled[0].find(" last ff0000")) << run->Transcript();
        const int colours = atoi(sampled[0].c_str() + strlen("centre-colours "));
        if (run == &faded)
            EXPECT_GE(colours, 3) << "grey, steps between, red: " << run->Transcript();
        else
            EXPECT_EQ(1, colours) << run->Transcript();
    }
}

// Resume brings the cover back without a track change, and with auto-hide
// the window leaves while stopped and comes back for the next cover.
TEST_F(CoverChanges, ResumeBringsTheCoverBackAndAutoHideHidesWhileStopped)
{
    const std::wstring stopped = folder / L"stopped.png", resumed = folder / L"resumed.png";
    std::vector<std::string> steps = {Play(), "await path-query"};
    steps.insert(steps.end(), STOP.begin(), STOP.end());
    steps.insert(steps.end(), {"capture " + Utf8Of(stopped), "status 1", "await path-query",
                               "capture " + Utf8Of(resumed), "quit"});
    HostRun shown = Run("", steps);
    EXPECT_EQ(0xE0E0E0u, Centre(stopped)) << shown.Transcript();
    EXPECT_EQ(0xFF0000u, Centre(resumed)) << shown.Transcript();

    steps = {Play(), "await path-query", "visible"};
    steps.insert(steps.end(), STOP.begin(), STOP.end());
    steps.insert(steps.end(), {"visible", Play(), "await path-query", "visible"});
    steps.insert(steps.end(), STOP.begin(), STOP.end());
    steps.insert(steps.end(), {"visible", "status 1", "await path-query", "visible",
                               "capture " + Utf8Of(resumed), "quit"});
    HostRun hidden = Run("autohide=1", steps);
    EXPECT_EQ((std::vector<std::string>{"visible 1", "visible 0", "visible 1", "visible 0", "visible 1"}),
              hidden.StartingWith("visible ")) << hidden.Transcript();
    EXPECT_EQ(0xFF0000u, Centre(resumed)) << hidden.Transcript();
}

}  // namespace
