#include <gtest/gtest.h>
#include <string>
#include "support/host_session.h"
#include "support/test_support.h"

namespace {

// The sample host's own contract: how it answers bad scripts and bad modules.
class SampleHost : public ::testing::Test {
protected:
    HostRun Run(const std::vector<std::string>& steps)
    {
        HostLaunch launch;
        launch.plugin = CopyPluginInto(folder);
        HostRun run = RunHost(launch, steps);
        EXPECT_FALSE(run.timedOut) << run.Transcript();
        return run;
    }

    TempFolder folder;
};

TEST_F(SampleHost, BadScriptLineEndsAtOnceWithItsNumber)
{
    HostRun unknown = Run({"wait 10", "jump 3"});
    EXPECT_EQ(2u, unknown.exitCode) << unknown.Transcript();
    EXPECT_NE(std::string::npos, unknown.errors.find("error line 2:")) << unknown.Transcript();
    EXPECT_FALSE(unknown.Has("init 1")) << unknown.Transcript();

    // Comments and blank lines count in the numbering but are not steps.
    HostRun commented = Run({"# warm-up", "", "wait 10", "dblclick twice"});
    EXPECT_EQ(2u, commented.exitCode) << commented.Transcript();
    EXPECT_NE(std::string::npos, commented.errors.find("error line 4:")) << commented.Transcript();

    HostRun badNumber = Run({"wait soon"});
    EXPECT_EQ(2u, badNumber.exitCode) << badNumber.Transcript();
    EXPECT_NE(std::string::npos, badNumber.errors.find("error line 1:")) << badNumber.Transcript();
}

TEST_F(SampleHost, MissingPluginOrExportIsAnError)
{
    HostLaunch missing;
    missing.plugin = folder / L"absent.qpl";
    HostRun run = RunHost(missing, {"quit"});
    EXPECT_EQ(3u, run.exitCode) << run.Transcript();
    EXPECT_NE(std::string::npos, run.errors.find("cannot load plug-in")) << run.Transcript();

    HostLaunch noExport;
    noExport.plugin = BinDir() + L"\\bass.dll";
    noExport.bass = L"none";
    run = RunHost(noExport, {"quit"});
    EXPECT_EQ(3u, run.exitCode) << run.Transcript();
    EXPECT_NE(std::string::npos, run.errors.find("GetGPluginInfo")) << run.Transcript();
}

}  // namespace
