#include "support/host_session.h"
#include <gtest/gtest.h>
#include <stdio.h>

namespace {

std::wstring CommandLineFor(const HostLaunch& launch, const std::wstring& script)
{
    std::wstring command = Quoted(BinDir() + L"\\quaver_host.exe");
    command += L" --plugin " + Quoted(launch.plugin.empty() ? BinDir() + L"\\coverdeck.qpl" : launch.plugin);
    if (!launch.bass.empty())
        command += L" --bass " + Quoted(launch.bass);
    for (const std::wstring& argument : launch.extraArguments)
        command += L" " + Quoted(argument);
    command += L" --script " + Quoted(script);
    return command;
}

// Reads "window LEFT TOP WIDTH HEIGHT" into a rectangle; false for any other line.
bool ParseWindowLine(const std::string& line, RECT* rect)
{
    long left, top, width, height;
    char rest;
    if (sscanf(line.c_str(), "window %ld %ld %ld %ld%c", &left, &top, &width, &height, &rest) != 4)
        return false;
    *rect = RECT{left, top, left + width, top + height};
    return true;
}

}  // namespace

HostRun RunThemeKit(const std::vector<std::wstring>& arguments)
{
    std::wstring command = Quoted(BinDir() + L"\\coverdeck-theme.exe");
    for (const std::wstring& argument : arguments)
        command += L" " + Quoted(argument);
    return RunProgram(command, 300000);
}

HostRun RunHost(const HostLaunch& launch, const std::vector<std::string>& steps)
{
    TempFolder scratch;
    std::string script;
    for (const std::string& step : steps)
        script += step + "\n";
    std::wstring scriptPath = scratch / L"steps.txt";
    if (!WriteText(scriptPath, script)) {
        HostRun run;
        run.exitCode = MAXDWORD;
        run.errors = "cannot prepare the host run";
        return run;
    }
    return RunProgram(CommandLineFor(launch, scriptPath), launch.timeoutMs);
}

namespace {

struct HostJob {
    const HostLaunch* launch;
    const std::vector<std::string>* steps;
    HostRun run;
};

DWORD WINAPI RunHostJob(void* job)
{
    HostJob* it = static_cast<HostJob*>(job);
    it->run = RunHost(*it->launch, *it->steps);
    return 0;
}

}  // namespace

std::vector<HostRun> RunHostsSideBySide(const std::vector<HostLaunch>& launches,
                                        const std::vector<std::vector<std::string>>& steps)
{
    std::vector<HostJob> jobs(launches.size());
    std::vector<UniqueHandle> threads;
    for (size_t i = 0; i < launches.size(); ++i) {
        jobs[i].launch = &launches[i];
        jobs[i].steps = &steps[i];
        threads.emplace_back(CreateThread(NULL, 0, RunHostJob, &jobs[i], 0, NULL));
    }
    std::vector<HostRun> runs;
    for (size_t i = 0; i < threads.size(); ++i) {
        WaitForSingleObject(threads[i].get(), INFINITE);
        runs.push_back(jobs[i].run);
    }
    return runs;
}

std::wstring CopyPluginInto(const TempFolder& folder)
{
    std::wstring copy = folder / L"coverdeck.qpl";
    CopyFileW((BinDir() + L"\\coverdeck.qpl").c_str(), copy.c_str(), FALSE);
    return copy;
}

bool LastWindowRect(const HostRun& run, RECT* rect)
{
    for (auto line = run.lines.rbegin(); line != run.lines.rend(); ++line) {
        if (ParseWindowLine(*line, rect))
            return true;
    }
    return false;
}

HostRun RunHostExpectingSuccess(const std::wstring& plugin, const std::vector<std::string>& steps)
{
    HostLaunch launch;
    launch.plugin = plugin;
    HostRun run = RunHost(launch, steps);
    EXPECT_FALSE(run.timedOut) << run.Transcript();
    EXPECT_EQ(0u, run.exitCode) << run.Transcript();
    return run;
}
