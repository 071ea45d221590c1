#pragma once
// Drives the sample host (bin\quaver_host.exe) from a test program: it runs the
// host with a plug-in, an audio library and a script of steps, and returns what
// the host reported.
//
// Steps, one string each: "play PATH-OR-URL", "status N", "event N", "wait MS",
// "await path-query" or "await status-query" (the plug-in's next question, and
// its window done with what the answer started; fails after 20 s),
// "drag DX DY", "dblclick", "dblclick shift", "rightclick", "key NAME...",
// "rect", "capture FILE.png", "scene FILE.png", "menu", "cycle N", "quit",
// and for the plug-in's life in a careless host: "press" / "press shift" (the
// left button held on the window, after a first click with Shift for the
// second: fails unless a drag starts), "release" (button and Shift up),
// "quit-on activate|status-query|path-query" (the host sends EVENT_QUIT from
// its handler of that request, once), "unload" (FreeLibrary without
// EVENT_QUIT, then messages to the window; no quit follows), "freeze" (the
// plug-in's thread blocks for good), "close" (WM_CLOSE and SC_CLOSE to the
// window, then "window ...").
// "scene" captures the plug-in's window and any open menu with a margin of
// what lies behind; "menu" reports the open context menu's items. Key names:
// down, up, left, right, return (or enter), escape, tab, space, and single
// letters or digits.
//
// Lines the host reports on stdout (each a whole line):
//   audio-library PATH | audio-library none
//   record RESERVED HOOK CALLBACK      HOOK/CALLBACK: in-module, outside or null
//   info-stable 1                      GetGPluginInfo gave the same record twice
//   threads before-init N | threads after-quit N
//   init R                             EVENT_INIT's result
//   window LEFT TOP WIDTH HEIGHT | window none
//                                      after init, after drag, after close, and for "rect"
//   channel N                          "play" opened channel N (0: URL, no library or no file)
//   channel-announced N                the host's own window saw the announcement
//   status-query                       the plug-in asked for the play status
//   path-query PATH                    the plug-in asked for the current path
//   command ID                         WM_COMMAND reached the host window (40149: activate)
//   event CODE R                       "event" step and its result
//   capture FILE WIDTH HEIGHT          "capture" and "scene"
//   menu-item DEPTH ID MARK TEXT | menu-item DEPTH separator
//                                      "menu": ID a command id or "popup", MARK "checked" or "-"
//   cycle I threads N windows-after-quit W
//   unloaded | window-answers 0|1      "unload": the window took a message after the unload
//   step N ok TEXT                     step N (its line in the script) is done
//   quit R                             EVENT_QUIT's result
//   windows-after-quit N               plug-in windows left once the module is freed
// "play" sets the play status to 1 (playing); "status N" sets it to N.
// Exit codes: 0 done, 1 a step failed, 2 bad script or option ("error line N:
// ..." on stderr), 3 the plug-in, its export or the audio library is missing.
//
// Menus: the right click activates the plug-in's window, so the keys of a
// following "key" step reach the popup menu that the plug-in tracks on its own
// thread (checked under Wine: "rightclick", "key down down down return" picks
// the third item, separators skipped). "key escape" dismisses it. "rightclick"
// fails unless a menu opens; a "key" step ending in return or escape on an
// open menu returns once the menu has closed and the plug-in has carried out
// the command.
#include <windows.h>
#include <string>
#include <vector>
#include "helpers/processes.h"
#include "support/test_support.h"

// What the host (or another program of the build) reported.
using HostRun = ProgramRun;

struct HostLaunch {
    std::wstring plugin;  // path of coverdeck.qpl; empty: the one in BinDir()
    std::wstring bass;    // empty: the host's default (bin\bass.dll); L"none"; or a path
    std::vector<std::wstring> extraArguments;
    // The host is killed (and the run marked timed out) after this long.
    DWORD timeoutMs = 180000;
};

// Runs the host with `steps` (written to a script file) and waits for it.
HostRun RunHost(const HostLaunch& launch, const std::vector<std::string>& steps);
// Runs the host with the plug-in at `plugin` and expects it to finish in time
// with exit code 0 (a test failure, with the transcript, otherwise).
HostRun RunHostExpectingSuccess(const std::wstring& plugin, const std::vector<std::string>& steps);
// Runs bin\coverdeck-theme.exe with `arguments`.
HostRun RunThemeKit(const std::vector<std::wstring>& arguments);

// Runs one host per launch at the same time, each with its own steps, and
// waits for all of them.
std::vector<HostRun> RunHostsSideBySide(const std::vector<HostLaunch>& launches,
                                        const std::vector<std::vector<std::string>>& steps);

// Copies bin\coverdeck.qpl into `folder`, so that the settings file and theme
// folders can live beside it; returns the copy's path.
std::wstring CopyPluginInto(const TempFolder& folder);

// The rectangle of the last "window ..." line; false when there is none.
bool LastWindowRect(const HostRun& run, RECT* rect);
