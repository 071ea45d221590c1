#pragma once
#include <windows.h>
#include <string>
#include "cover/bass_interface.h"
#include "plugin_module.h"
#include "state/owners.h"

// The audio library the host plays through; none when started with "--bass none".
struct AudioLibrary {
    UniqueModule module;
    BassStreamCreateFileFn streamCreateFile = nullptr;
    BassStreamFreeFn streamFree = nullptr;
};

// Everything the sample host knows; its window procedure and its steps share it.
struct HostState {
    HWND window = NULL;  // owned by RunHost
    PluginModule plugin;
    AudioLibrary audio;
    LRESULT playStatus = HOST_STATUS_STOPPED;
    std::wstring currentPath;
    DWORD channel = 0;
    // How often the plug-in has asked, for the "await" step.
    unsigned pathQueries = 0;
    unsigned statusQueries = 0;
    // "quit-on": the request (activate, status-query, path-query) from whose
    // handler the host sends EVENT_QUIT, once; empty for none.
    std::wstring quitOn;
};

extern HostState hostState;
