// A stand-in for the Quaver player, enough to load the plug-in, feed it host
// events from a script and report what it does, one fact a line.
#include <windows.h>
#include <shlwapi.h>
#include "helpers/processes.h"
#include "host_options.h"
#include "host_state.h"
#include "host_window.h"
#include "output.h"
#include "plugin_session.h"
#include "state/gdiplus_session.h"
#include "step_runner.h"
#include "wallpaper.h"

HostState hostState;

namespace {

constexpr int EXIT_OK = 0;
constexpr int EXIT_STEP_FAILED = 1;
constexpr int EXIT_BAD_SCRIPT = 2;
constexpr int EXIT_CANNOT_START = 3;

std::wstring BesideExecutable(const wchar_t* name)
{
    wchar_t path[MAX_PATH];
    DWORD length = GetModuleFileNameW(NULL, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return name;
    PathRemoveFileSpecW(path);
    return std::wstring(path) + L"\\" + name;
}

bool LoadAudioLibrary(std::wstring path)
{
    if (path == L"none") {
        Report("audio-library none");
        return true;
    }
    if (path.empty())
        path = BesideExecutable(L"bass.dll");
    AudioLibrary& audio = hostState.audio;
    audio.module.reset(LoadLibraryW(path.c_str()));
    if (!audio.module) {
        ReportError("error: cannot load audio library %s (error %lu)", Utf8Of(path).c_str(), GetLastError());
        return false;
    }
    HMODULE module = audio.module.get();
    audio.streamCreateFile = reinterpret_cast<BassStreamCreateFileFn>(
        reinterpret_cast<void*>(GetProcAddress(module, "BASS_StreamCreateFile")));
    audio.streamFree =
        reinterpret_cast<BassStreamFreeFn>(reinterpret_cast<void*>(GetProcAddress(module, "BASS_StreamFree")));
    Report("audio-library %s", Utf8Of(path).c_str());
    return true;
}

void UnloadAudioLibrary()
{
    AudioLibrary& audio = hostState.audio;
    if (hostState.channel && audio.streamFree)
        audio.streamFree(hostState.channel);
    hostState.channel = 0;
    audio = AudioLibrary();
}

int RunSteps(const std::vector<Step>& steps)
{
    for (size_t i = 0; i < steps.size(); ++i) {
        StepResult result = RunStep(steps[i]);
        if (result == StepResult::Failed)
            return EXIT_STEP_FAILED;
        Report("step %d ok %s", steps[i].line, Utf8Of(steps[i].text).c_str());
        if (result == StepResult::Quit)
            break;
    }
    return EXIT_OK;
}

int RunHost(const HostOptions& options)
{
    // Wine stacks a new window above the others whatever its z-order says, so
    // the wallpaper comes first.
    if (!options.wallpaper.empty() && !ShowWallpaper(options.wallpaper.c_str())) {
        ReportError("error: cannot show the wallpaper %s", Utf8Of(options.wallpaper).c_str());
        return EXIT_CANNOT_START;
    }
    const UniqueWindow hostWindow(CreateHostWindow(GetModuleHandleW(NULL)));
    hostState.window = hostWindow.get();
    if (!hostWindow) {
        ReportError("error: cannot create the host window");
        return EXIT_CANNOT_START;
    }
    if (!LoadAudioLibrary(options.bassPath))
        return EXIT_CANNOT_START;
    std::wstring pluginPath = options.pluginPath.empty() ? BesideExecutable(L"coverdeck.qpl") : options.pluginPath;
    if (!LoadPlugin(pluginPath.c_str(), &hostState.plugin)) {
        UnloadAudioLibrary();
        return EXIT_CANNOT_START;
    }

    Report("threads before-init %u", CountProcessThreads());
    int exitCode = StartPlugin() ? RunSteps(options.steps) : EXIT_OK;
    // The host always ends the plug-in's life with EVENT_QUIT, even after a refused INIT.
    StopPlugin();
    UnloadPlugin(&hostState.plugin);
    Report("windows-after-quit %u", CountPluginWindows());
    Report("threads after-quit %u", CountProcessThreads());
    UnloadAudioLibrary();
    return exitCode;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    HostOptions options;
    if (!ParseHostOptions(argc, argv, &options))
        return EXIT_BAD_SCRIPT;

    GdiplusSession gdiplus;  // for the capture step
    return RunHost(options);
}
